#include "datamodules/DmodPo.h"

#include "alert/store/MathHelpers.h"
#include "platform/data/DataSource.h"
#include "platform/data/Query.h"
#include "platform/rtl/Format.h"

TPoDmod::TPoDmod(TComponent* AOwner) : TComponent(AOwner) {
    SetName(DmodNames::Po);
    CreateComponents();
}

void TPoDmod::CreateComponents() {
    ListTermsQuery =
        NewQuery(this, "ListTermsQuery", {"select TermsNbr, Terms  from TERMS order by Terms"});
    DsTerms = NewDataSource(this, "DsTerms", ListTermsQuery);
    CommonSql = NewQuery(this, "CommonSql", {});
    ListFobQuery = NewQuery(this, "ListFobQuery", {"select FOBnbr, FOB from FOB order by FOB"});
    DsFob = NewDataSource(this, "DsFob", ListFobQuery);

    // The user puts in the order whose items are listed.
    PoItemsQ =
        NewQuery(this, "PoItemsQ",
                 {"select PI.*, PD.PrintExtDescr1, PD.PrintExtDescr2", "from PO_ITEM PI, PO_DOC PD",
                  "where PI.PoNbr = PD.PoNbr", "and PI.PoNbr = 0", "order by Seq"});
    AddDataFields(this, PoItemsQ,
                  {{"PoItemNbr", ftInteger},
                   {"PoNbr", ftInteger},
                   {"Seq", ftInteger},
                   {"Descr", ftString, 200},
                   {"ExtDescr1", ftString, 200},
                   {"ExtDescr2", ftString, 200},
                   {"PoDest", ftString, 10},
                   {"PrintLabel", ftInteger},
                   {"Notes", ftMemo},
                   {"UnitPrice", ftFloat},
                   {"QtyOrdered", ftFloat},
                   {"UomRef", ftSmallint},
                   {"InvNbr", ftInteger},
                   {"TaxInd", ftInteger},
                   {"OverheadMarkup", ftFloat},
                   {"VendStockNbr", ftString, 30},
                   {"DamageInd", ftInteger},
                   {"GLacct", ftInteger},
                   {"ReqByDt", ftDate},
                   {"PrintExtDescr1", ftInteger},
                   {"PrintExtDescr2", ftInteger}});
    AddCalcFields(this, PoItemsQ,
                  {{"Price", ftCurrency},
                   {"NoteChk", ftInteger},
                   {"Code", ftString, 15},
                   {"UOM", ftString, 8},
                   {"PrintLabelInd", ftInteger},
                   {"PIDescr", ftString, 200}});
    PoItemsQ->OnCalcFields = [this](TDataSet* DataSet) { PoItemsQCalcFields(DataSet); };

    JobAssignQ = NewQuery(
        this, "JobAssignQ",
        {"Select PoItemJobNbr, JobId, JobDescr, GrpDescr, P.WoNbr, WoDescr,  QtyOrdered, "
         "QtyReceived  from PO_ITEM_JOB P, WO, JOBS J, JOB_GRP G where P.PoItemNbr = :PoItemNbr "
         "and P.WoNbr = WO.WoNbr and Wo.GrpNbr = G.GrpNbr and Wo.JobNbr = J.JobNbr"});
    ConMatList = NewDataSource(this, "ConMatList", nullptr);
    ConMatListQ = NewQuery(this, "ConMatListQ", {});

    PoListQ = NewQuery(this, "PoListQ",
                       {"select P.POnbr,PoStatusNbr,CompanyNbr,CompanyPub,POdt, "
                        "UserEditingPo,TabWherePoOpen from PURCHASE_ORDER P"});
    AddDataFields(this, PoListQ,
                  {{"POnbr", ftInteger},
                   {"PoStatusNbr", ftInteger},
                   {"CompanyNbr", ftInteger},
                   {"CompanyPub", ftString, 10},
                   {"POdt", ftDate},
                   {"UserEditingPo", ftInteger},
                   {"TabWherePoOpen", ftInteger}});
    AddCalcFields(this, PoListQ,
                  {{"Status", ftString, 10}, {"Company", ftString, 70}, {"ShortDt", ftString, 8}});
    PoListQ->OnCalcFields = [this](TDataSet* DataSet) { PoListQCalcFields(DataSet); };
    DsPoList = NewDataSource(this, "DsPoList", PoListQ);

    CommonSql2 = NewQuery(this, "CommonSql2", {});

    JobItemPoListQ = NewQuery(this, "JobItemPoListQ", {});
    AddDataFields(this, JobItemPoListQ,
                  {{"ReqByDt", ftDate},
                   {"ReqByEmpNbr", ftInteger},
                   {"ReceivedDt", ftDate},
                   {"TotalAmt", ftFloat},
                   {"POnbr", ftInteger},
                   {"PoStatusNbr", ftInteger},
                   {"CompanyNbr", ftInteger},
                   {"CompanyPub", ftString, 10},
                   {"POdt", ftDate},
                   {"JobItemNbr", ftInteger}});
    AddCalcFields(this, JobItemPoListQ,
                  {{"Emp", ftString, 30},
                   {"ReqDt", ftString, 8},
                   {"RecDt", ftString, 8},
                   {"ShortDt", ftString, 8},
                   {"Company", ftString, 60},
                   {"Status", ftString, 10},
                   {"JobItemReserveAmt", ftCurrency},
                   {"JobItemDirectAmt", ftCurrency}});
    JobItemPoListQ->OnCalcFields = [this](TDataSet* DataSet) { JobItemPoListQCalcFields(DataSet); };
    DsJobItemPoList = NewDataSource(this, "DsJobItemPoList", JobItemPoListQ);

    // The user puts in the item description whose prices are listed.
    PriceHistQ = NewQuery(this, "PriceHistQ",
                          {"select P.POnbr, NAME, POdt, QtyOrdered, UnitPrice, UomRef",
                           "from PURCHASE_ORDER P, PO_ITEM PI, COMPANY C",
                           "where PI.PoNbr = P.POnbr and P.CompanyNbr = C.COMPANY_NBR",
                           "and P.CompanyPub = C.PUB", "and PI.Descr = 'x'"});
    AddDataFields(this, PriceHistQ,
                  {{"POnbr", ftInteger},
                   {"NAME", ftString, 60},
                   {"POdt", ftDate},
                   {"QtyOrdered", ftFloat},
                   {"UnitPrice", ftFloat},
                   {"UomRef", ftSmallint}});
    AddCalcFields(this, PriceHistQ,
                  {{"Price", ftCurrency}, {"UOM", ftString, 8}, {"POdate", ftString, 8}});
    PriceHistQ->OnCalcFields = [this](TDataSet* DataSet) { PriceHistQCalcFields(DataSet); };
    DsPriceHistQ = NewDataSource(this, "DsPriceHistQ", PriceHistQ);

    CommonSql3 = NewQuery(this, "CommonSql3", {});
    CreateReceiverQueries();
}

void TPoDmod::CreateReceiverQueries() {
    ReceiverQ = NewQuery(this, "ReceiverQ",
                         {"select ReceiverNbr, PoNbr, ReceivedDt, ReceiptEmpNbr, ReconcileDt, "
                          "ReconcileEmpNbr,",
                          "InvoiceDt, ExportDt, ExportEmpNbr, RemitToNbr, RemitToPub, "
                          "InvoiceTotalAmt, DueDt, Notes",
                          "from RECEIVER R", "where R.PoNbr = 0"});
    AddDataFields(this, ReceiverQ,
                  {{"ReceiverNbr", ftInteger},
                   {"PoNbr", ftInteger},
                   {"ReceivedDt", ftDate},
                   {"ReceiptEmpNbr", ftInteger},
                   {"ReconcileDt", ftDate},
                   {"ReconcileEmpNbr", ftInteger},
                   {"InvoiceDt", ftDate},
                   {"ExportDt", ftDateTime},
                   {"ExportEmpNbr", ftInteger},
                   {"RemitToNbr", ftInteger},
                   {"RemitToPub", ftString, 10},
                   {"InvoiceTotalAmt", ftFloat},
                   {"DueDt", ftDate},
                   {"Notes", ftMemo}});
    AddCalcFields(this, ReceiverQ,
                  {{"NoteChk", ftInteger},
                   {"ReconcileEmployee", ftString, 6},
                   {"ReceiptEmployee", ftString, 6},
                   {"ExportEmployee", ftString, 6},
                   {"ReceiverItemUnitSum", ftCurrency},
                   {"PoItemUnitSum", ftCurrency},
                   {"RemitToName", ftString, 40}});
    ReceiverQ->OnCalcFields = [this](TDataSet* DataSet) { ReceiverQCalcFields(DataSet); };

    ReceiverItemQ = NewQuery(
        this, "ReceiverItemQ",
        {"select RI.ReceiverItemNbr, RI.ReceiverNbr, RI.PoItemNbr, RI.QtyReceived, RI.UnitPrice,",
         "RI.InvNbr, RI.Notes, PI.Descr, PI.UomRef, PI.TaxInd, PI.PoDest, PI.OverheadMarkup,",
         "PI.VendStockNbr, PI.DamageInd, PI.PoNbr, PI.QtyOrdered, PI.GLacct",
         "from RECEIVER_ITEM RI, PO_ITEM PI", "where RI.PoItemNbr = PI.PoItemNbr",
         "and RI.ReceiverNbr = 0", "order by ReceiverItemNbr"});
    AddDataFields(this, ReceiverItemQ,
                  {{"ReceiverItemNbr", ftInteger},
                   {"ReceiverNbr", ftInteger},
                   {"PoItemNbr", ftInteger},
                   {"QtyReceived", ftFloat},
                   {"UnitPrice", ftFloat},
                   {"InvNbr", ftInteger},
                   {"Notes", ftMemo},
                   {"Descr", ftString, 200},
                   {"UomRef", ftSmallint},
                   {"TaxInd", ftInteger},
                   {"PoDest", ftString, 10},
                   {"OverheadMarkup", ftFloat},
                   {"VendStockNbr", ftString, 30},
                   {"DamageInd", ftInteger},
                   {"PoNbr", ftInteger},
                   {"QtyOrdered", ftFloat},
                   {"GLacct", ftInteger}});
    AddCalcFields(this, ReceiverItemQ,
                  {{"NoteChk", ftInteger}, {"InvCode", ftString, 15}, {"UOM", ftString, 10}});
    ReceiverItemQ->OnCalcFields = [this](TDataSet* DataSet) { ReceiverItemQCalcFields(DataSet); };

    ReceiverItemJobQ = NewQuery(
        this, "ReceiverItemJobQ",
        {"select RIJ.ReceiverItemJobNbr, RIJ.ReceiverItemNbr, RIJ.PoItemJobNbr, PIJ.QtyOrdered,",
         "PIJ.QtyReceived, PIJ.UnitPrice, PIJ.JobNbr, PIJ.JobItemNbr, J.JobId, J.JobDescr,",
         "JI.ItemNbr, JI.JobItemDescr, R.ReceiverNbr",
         "from RECEIVER_ITEM_JOB RIJ, PO_ITEM_JOB PIJ, RECEIVER_ITEM RI, RECEIVER R, JOBS J, "
         "JOB_ITEM JI",
         "where RIJ.PoItemJobNbr = PIJ.PoItemJobNbr and RIJ.ReceiverItemNbr = RI.ReceiverItemNbr",
         "and RI.ReceiverNbr = R.ReceiverNbr and PIJ.JobNbr = J.JobNbr",
         "and PIJ.JobItemNbr = JI.JobItemNbr and R.ReceiverNbr = 0",
         "order by RIJ.ReceiverItemJobNbr"});

    CommonSql4 = NewQuery(this, "CommonSql4", {});

    InvReorderQ = NewQuery(this, "InvReorderQ",
                           {"select distinct P.POnbr,PoStatusNbr,CompanyNbr,CompanyPub, POdt from "
                            "PURCHASE_ORDER P where P.POnbr >= 1444"});
    AddDataFields(this, InvReorderQ,
                  {{"POnbr", ftInteger},
                   {"PoStatusNbr", ftInteger},
                   {"CompanyNbr", ftInteger},
                   {"CompanyPub", ftString, 10},
                   {"POdt", ftDate}});
    AddCalcFields(this, InvReorderQ,
                  {{"Status", ftString, 10}, {"ShortDt", ftString, 8}, {"Company", ftString, 70}});
    InvReorderQ->OnCalcFields = [this](TDataSet* DataSet) { InvReorderQCalcFields(DataSet); };

    VendorInvoiceQ = NewQuery(
        this, "VendorInvoiceQ",
        {"select R.ReceiverNbr, R.PoNbr, R.ReceivedDt, R.ReceiptEmpNbr, R.ReconcileDt,",
         "R.ReconcileEmpNbr, R.InvoiceDt, R.ExportDt, R.ExportEmpNbr, R.InvoiceTotalAmt, R.DueDt,",
         "P.CompanyNbr, P.CompanyPub, C.NAME, PS.PoStatus, P.PoStatusNbr, P.POdt,",
         "0 as RIJJobNbr, 0 as RIJJobItemNbr",
         "from RECEIVER R, PURCHASE_ORDER P, COMPANY C, PO_STATUS PS",
         "where R.POnbr = P.POnbr and P.PoStatusNbr = PS.PoStatusNbr",
         "and P.CompanyNbr = C.COMPANY_NBR and P.CompanyPub = C.PUB", "order by R.ReceiverNbr"});
    AddDataFields(this, VendorInvoiceQ,
                  {{"ReceiverNbr", ftInteger},
                   {"PoNbr", ftInteger},
                   {"ReceivedDt", ftDate},
                   {"ReceiptEmpNbr", ftInteger},
                   {"ReconcileDt", ftDate},
                   {"ReconcileEmpNbr", ftInteger},
                   {"InvoiceDt", ftDate},
                   {"ExportDt", ftDateTime},
                   {"ExportEmpNbr", ftInteger},
                   {"InvoiceTotalAmt", ftFloat},
                   {"DueDt", ftDate},
                   {"CompanyNbr", ftInteger},
                   {"CompanyPub", ftString, 10},
                   {"NAME", ftString, 60},
                   {"PoStatus", ftString},
                   {"PoStatusNbr", ftInteger},
                   {"POdt", ftDate},
                   {"RIJJobNbr", ftInteger},
                   {"RIJJobItemNbr", ftInteger}});
    AddCalcFields(this, VendorInvoiceQ,
                  {{"ReceiveDtDisplay", ftString, 8},
                   {"ReconcileDtDisplay", ftString, 8},
                   {"PoDateDisplay", ftString, 8},
                   {"InvoiceDtDisplay", ftString, 8},
                   {"ExportDtDisplay", ftString, 20},
                   {"InvoiceAmtDisplay", ftCurrency}});
    VendorInvoiceQ->OnCalcFields = [this](TDataSet* DataSet) { VendorInvoiceQCalcFields(DataSet); };
    DsVendorInvoice = NewDataSource(this, "DsVendorInvoice", VendorInvoiceQ);

    QuoteRequestListQ =
        NewQuery(this, "QuoteRequestListQ",
                 {"select distinct QR.QuoteNbr,QR.Descr,QuoteStatusNbr,NeedPricesByDt, "
                  "QR.CreateDt,CompanyNbr,CompanyPub, I.Descr as Material, I.MatCode, NAME   from "
                  "QUOTE_REQUEST QR, QUOTE_REQ_ITEM I,   QUOTE_REQ_VENDOR_ITEM V, COMPANY C;"});
    AddDataFields(this, QuoteRequestListQ,
                  {{"QuoteNbr", ftInteger},
                   {"Descr", ftString, 60},
                   {"QuoteStatusNbr", ftInteger},
                   {"NeedPricesByDt", ftDate},
                   {"CreateDt", ftDate},
                   {"CompanyNbr", ftInteger},
                   {"CompanyPub", ftString, 10},
                   {"Material", ftString, 60},
                   {"MatCode", ftString, 30},
                   {"NAME", ftString, 60}});
    AddCalcFields(
        this, QuoteRequestListQ,
        {{"Status", ftString, 10}, {"sCreateDt", ftString, 8}, {"sNeedPriceByDt", ftString, 8}});
    QuoteRequestListQ->OnCalcFields = [this](TDataSet* DataSet) {
        QuoteRequestListQCalcFields(DataSet);
    };
    dsQuoteRequestList = NewDataSource(this, "dsQuoteRequestList", QuoteRequestListQ);
}

// An order whose flag is reset already is left alone (no rewrite of its row).
void TPoDmod::SelectPurchaseOrder(int PoNbr) {
    ExecLookup(*CommonSql,
               {"Update PURCHASE_ORDER set StatusChgInd = 0 where POnbr = :a and "
                "StatusChgInd is not 0"},
               {PoNbr});
    OpenLookup(*CommonSql, {"Select * from PURCHASE_ORDER where POnbr = :a"}, {PoNbr});
}

void TPoDmod::SelectPoItem(int PoItemNbr) {
    OpenLookup(*CommonSql, {"select * from PO_ITEM where PoItemNbr = :a"}, {PoItemNbr});
}

void TPoDmod::OpenPoJobs(int PoNbr) {
    SetStatement(
        *CommonSql,
        {Format("Select DISTINCT JI.JobNbr from PO_ITEM_JOB PIJ left outer join PO_ITEM PI "
                "on PIJ.PoItemNbr = PI.PoItemNbr left outer join JOB_ITEM JI on "
                "PIJ.JobItemNbr = JI.JobItemNbr where PI.PoNbr = %d",
                PoNbr)});
    CommonSql->Open();
}

void TPoDmod::OpenPoItemJobs(int PoItemNbr) {
    SetStatement(*CommonSql,
                 {Format("Select DISTINCT JI.JobNbr from PO_ITEM_JOB PIJ left outer join JOB_ITEM "
                         "JI on PIJ.JobItemNbr = JI.JobItemNbr where PIJ.PoItemNbr = %d",
                         PoItemNbr)});
    CommonSql->Open();
}

void TPoDmod::OpenPoWorkOrders(int PoNbr) {
    SetStatement(*CommonSql,
                 {Format("Select DISTINCT PIJ.WoNbr from PO_ITEM_JOB PIJ left outer join PO_ITEM "
                         "PI on PIJ.PoItemNbr = PI.PoItemNbr where PI.PoNbr = %d",
                         PoNbr)});
    CommonSql->Open();
}

void TPoDmod::OpenPoItemWorkOrders(int PoItemNbr) {
    SetStatement(*CommonSql,
                 {Format("Select DISTINCT PIJ.WoNbr from PO_ITEM_JOB PIJ where PIJ.PoItemNbr = %d",
                         PoItemNbr)});
    CommonSql->Open();
}

int TPoDmod::GetPoItemPoNbr(int PoItemNbr) {
    OpenLookup(*CommonSql, {"select PoNbr from PO_ITEM where PoItemNbr = :a"}, {PoItemNbr});
    return CommonSql->IsEmpty() ? -99 : CommonSql->Fields()[0]->AsInteger();
}

int TPoDmod::CountPrintLabelJobs(int PoItemNbr) {
    OpenLookup(
        *CommonSql2,
        {"select count(PoItemNbr) from PO_ITEM_JOB ", "where PoItemNbr = :a and PrintLabel = 1 "},
        {PoItemNbr});
    return CommonSql2->Fields()[0]->AsInteger();
}

namespace {

AnsiString ReserveLine(bool Reserve) {
    return Reserve ? " and P.ReserveInd = 1" : " and P.ReserveInd = 0";
}

} // namespace

void TPoDmod::OpenJobItemPoCosts(int JobItemNbr, int PoNbr, bool Reserve) {
    OpenLookup(*CommonSql2,
               {"Select P.QtyOrdered,P.UnitPrice,P.ShippingAmt from PO_ITEM_JOB P,JOB_ITEM J, ",
                "PO_ITEM PI, PURCHASE_ORDER PO where P.JobItemNbr = :a  ",
                "and PO.POnbr = :b and P.JobCosting = 1 ", "and P.JobItemNbr = J.JobItemNbr ",
                "and P.PoItemNbr = PI.PoItemNbr and PI.PoNbr = PO.POnbr", ReserveLine(Reserve)},
               {JobItemNbr, PoNbr});
}

void TPoDmod::OpenWorkOrderPoCosts(int WoNbr, int PoNbr, bool Reserve) {
    OpenLookup(*CommonSql2,
               {"Select P.QtyOrdered,P.UnitPrice,P.ShippingAmt from PO_ITEM_JOB P,JOB_ITEM J, ",
                "PO_ITEM PI, PURCHASE_ORDER PO where P.WoNbr = :a  ",
                "and PO.POnbr = :b and P.JobCosting = 1 ", "and P.JobItemNbr = J.JobItemNbr ",
                "and P.PoItemNbr = PI.PoItemNbr and PI.PoNbr = PO.POnbr", ReserveLine(Reserve)},
               {WoNbr, PoNbr});
}

void TPoDmod::GetEmployeeNames(int EmpNbr, AnsiString& LastName, AnsiString& FirstName) {
    SetStatement(*CommonSql3, {"Select Lname, Fname from EMPLOYEE ", "where EmpNbr = :a"});
    CommonSql3->Params()[0]->SetAsInteger(EmpNbr);
    CommonSql3->Open();
    if (CommonSql3->RecordCount() == 1) {
        LastName = CommonSql3->FieldByName("Lname")->AsString();
        FirstName = CommonSql3->FieldByName("Fname")->AsString();
    } else {
        LastName = "";
        FirstName = "";
    }
}

void TPoDmod::GetReceiverSums(int ReceiverNbr, double& ReceiverSum, double& OrderSum) {
    OpenLookup(
        *CommonSql3,
        {"Select sum(QtyReceived * UnitPrice) ", "from RECEIVER_ITEM where ReceiverNbr = :a "},
        {ReceiverNbr});
    ReceiverSum = RoundToDecimals(FirstColumnAsDouble(*CommonSql3), CostDecimals);
    OpenLookup(*CommonSql3,
               {"Select sum(PI.QtyOrdered * PI.UnitPrice) ",
                "from RECEIVER R, PO_ITEM PI where ReceiverNbr = :a ", "and R.PoNbr = PI.PoNbr  "},
               {ReceiverNbr});
    OrderSum = RoundToDecimals(FirstColumnAsDouble(*CommonSql3), CostDecimals);
}
