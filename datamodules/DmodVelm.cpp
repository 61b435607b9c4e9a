#include "datamodules/DmodVelm.h"

#include "datamodules/DmodCommon.h"
#include "datamodules/format/DisplayText.h"
#include "platform/data/DataSource.h"
#include "platform/data/Query.h"
#include "platform/rtl/FloatFormat.h"

namespace {

// The library suppliers of ListLibVendorsQ2 and GetVendorInfoQ2: their stock
// unit is the library item's, they have no order unit or conversion of their
// own, and they carry the library item they belong to.
constexpr const char* LibrarySupplierLines[] = {
    "Select C.COMPANY_NBR, C.PUB, NAME, PHONE_NBR, S.STOCK, S.COST, S.PRIMARY_VNDR,",
    "  -99 as OrdUOMRef, LI.UNIT_REF_ID as StkUOMRef, -99 as InvConvNbr, 'Lib' as Source,",
    "  S.DIV_NBR as DivRef, S.SECTION_NBR as SubDivRef, S.ITEM_NBR as ItemRef",
    "from SUPPLIER S, COMPANY C, LIB_ITEM LI",
    "where C.COMPANY_NBR = S.COMPANY_NBR and C.PUB = S.COMPANY_PUB",
    "  and LI.DIV_NBR = S.DIV_NBR and LI.SECTION_NBR = S.SECTION_NBR",
    "  and LI.ITEM_NBR = S.ITEM_NBR",
};

void AddVendorFields(TComponent* Owner, TQuery* Query, const char* StockCostLabel,
                     const char* StockUomLabel, const char* OrderUomLabel) {
    AddDataFields(Owner, Query,
                  {{"COMPANY_NBR", ftInteger},
                   {"PUB", ftString, 10},
                   {"NAME", ftString, 60},
                   {"PHONE_NBR", ftString},
                   {"STOCK", ftString, 30},
                   {"COST", ftFloat},
                   {"PRIMARY_VNDR", ftInteger},
                   {"OrdUOMRef", ftInteger},
                   {"StkUOMRef", ftInteger},
                   {"InvConvNbr", ftInteger},
                   {"Source", ftString, 3},
                   {"DivRef", ftSmallint},
                   {"SubDivRef", ftSmallint},
                   {"ItemRef", ftSmallint}});
    AddCalcFields(Owner, Query,
                  {{"Phone", ftString, 14},
                   {"StkUOMCost", ftFloat, 0, StockCostLabel, "#.000"},
                   {"StkUOMLiteral", ftString, 15, StockUomLabel},
                   {"OrdUOMCost", ftFloat, 0, "Purchase Cost", "#.000"},
                   {"OrdUOMLiteral", ftString, 15, OrderUomLabel}});
}

} // namespace

TVelmDmod::TVelmDmod(TComponent* AOwner) : TComponent(AOwner) {
    SetName(DmodNames::Velm);
    CreateComponents();
}

void TVelmDmod::CreateComponents() {
    WorkGrpNamesQ = NewQuery(this, "WorkGrpNamesQ",
                             {"Select ID, TAG from CUSTOM_TEMPLATE where TYPE = 800 order by ID"});
    UserLineTypeQ = NewQuery(this, "UserLineTypeQ",
                             {"SELECT ID, TAG FROM CUSTOM_TEMPLATE WHERE   (TYPE = 900)      AND  "
                              "(ID >= 8)   ORDER BY ID"});
    CommonSql = NewQuery(this, "CommonSql", {});

    CompanyListQ = NewQuery(this, "CompanyListQ", {});
    AddDataFields(this, CompanyListQ,
                  {{"COMPANY_NBR", ftInteger},
                   {"PUB", ftString, 10},
                   {"NAME", ftString, 60},
                   {"FNAME", ftString, 40}});
    AddCalcFields(this, CompanyListQ, {{"Company", ftString, 60}});
    CompanyListQ->OnCalcFields = [this](TDataSet* DataSet) { CompanyListQCalcFields(DataSet); };
    DsCompanyList = NewDataSource(this, "DsCompanyList", CompanyListQ);

    ListLibVendorsQ = NewQuery(
        this, "ListLibVendorsQ",
        {"Select C.COMPANY_NBR, C.PUB, NAME, PHONE_NBR, STOCK, COST,   PRIMARY_VNDR from "
         "SUPPLIER S, COMPANY C  where DIV_NBR = :a and SECTION_NBR = :b    and ITEM_NBR = :c and "
         "C.COMPANY_NBR = S.COMPANY_NBR  and C.PUB = S.COMPANY_PUB order by NAME"});
    AddDataFields(this, ListLibVendorsQ,
                  {{"COMPANY_NBR", ftInteger},
                   {"PUB", ftString, 10},
                   {"NAME", ftString, 60},
                   {"PHONE_NBR", ftString},
                   {"STOCK", ftString, 30},
                   {"COST", ftFloat},
                   {"PRIMARY_VNDR", ftInteger}});
    AddCalcFields(this, ListLibVendorsQ,
                  {{"Phone", ftString, 14}, {"LibItemUom", ftString, 12, "Lib Item Uom"}});
    ListLibVendorsQ->OnCalcFields = [this](TDataSet* DataSet) {
        ListLibVendorsQCalcFields(DataSet);
    };
    ListLibVendors = NewDataSource(this, "ListLibVendors", ListLibVendorsQ);

    DsDeptList = NewDataSource(this, "DsDeptList", nullptr);
    DeptListQ =
        NewQuery(this, "DeptListQ", {"select * from DEPT where DeptNbr != -99 order by Seq"});
    OpCodeQ1 =
        NewQuery(this, "OpCodeQ1", {"select * from OPCODE  where DeptNbr = :a order by OpCode"});
    UOMlistQ = NewQuery(this, "UOMlistQ",
                        {"SELECT ITEM, ID  FROM MAINT_REF WHERE TYPE = 1  order by ITEM"});

    LibDivQ = NewQuery(this, "LibDivQ", {"Select DIV_NBR, CODE, HEADING from DIVISION"});
    LibSubDivQ = NewQuery(this, "LibSubDivQ",
                          {"Select SECTION_NBR, CODE, HEADING, DIV_NBR from SECT where DIV_NBR = "
                           ":DIV_NBR"});
    DsLibDiv = NewDataSource(this, "DsLibDiv", LibDivQ);
    DsLibSubDiv = NewDataSource(this, "DsLibSubDiv", LibSubDivQ);
    LibSubDivQ->SetDataSource(DsLibDiv);

    LibItemListQ = NewQuery(this, "LibItemListQ",
                            {"Select * from LIB_ITEM where SECTION_NBR = :SECTION_NBR and DIV_NBR "
                             "= :DIV_NBR"});
    AddDataFields(this, LibItemListQ,
                  {{"DIV_NBR", ftSmallint},
                   {"SECTION_NBR", ftSmallint},
                   {"ITEM_NBR", ftSmallint},
                   {"DESCRIPTION", ftString, 60},
                   {"DESCR2", ftString, 25},
                   {"DESCR3", ftString, 25},
                   {"DESCR4", ftString, 25},
                   {"DESCR5", ftString, 25},
                   {"SEQ_CODE", ftString},
                   {"UNIT_REF_ID", ftSmallint},
                   {"UNIT_COST", ftFloat},
                   {"LINETAG", ftString},
                   {"DEPT_REF", ftInteger},
                   {"OP_CD_REF", ftInteger},
                   {"NOTES", ftMemo}});
    AddCalcFields(this, LibItemListQ,
                  {{"Unit", ftString, 8},
                   {"Dept", ftString, 23},
                   {"OpCode", ftString, 3},
                   {"OpCdDescr", ftString, 22},
                   {"DisplayNotes", ftString, 200}});
    LibItemListQ->OnCalcFields = [this](TDataSet* DataSet) { LibItemListQCalcFields(DataSet); };
    LibItemListQ->SetDataSource(DsLibSubDiv);
    DsLibItemList = NewDataSource(this, "DsLibItemList", LibItemListQ);

    CreateVendorQueries();

    CommonSql3 = NewQuery(this, "CommonSql3", {});
    CommonSql4 = NewQuery(this, "CommonSql4", {});
    GLacctQ =
        NewQuery(this, "GLacctQ", {"Select ID, ITEM from MAINT_REF where TYPE = 5 order by ITEM"});
    ListDeptQ = NewQuery(this, "ListDeptQ", {});
}

void TVelmDmod::CreateVendorQueries() {
    ListLibVendors2 = NewDataSource(this, "ListLibVendors2", nullptr);
    ListLibVendorsQ2 = NewQuery(this, "ListLibVendorsQ2", {});
    for (const char* line : LibrarySupplierLines)
        ListLibVendorsQ2->SQL()->Add(line);
    for (const char* line :
         {"  and S.DIV_NBR = :a and S.SECTION_NBR = :b and S.ITEM_NBR = :c", "UNION",
          "Select C.COMPANY_NBR, C.PUB, NAME, PHONE_NBR, I.STOCK, I.COST, I.PRIMARY_VNDR,",
          "  II.OrdUomRef, II.StockUomRef, II.InvConvNbr, 'Inv',",
          "  II.LibDivRef, II.LibSubDivRef, II.LibItemRef",
          "from INV_SUPPLIER I, COMPANY C, INVENTORY_ITEM II",
          "where II.InvNbr = :d and I.InvNbr = II.InvNbr",
          "  and C.COMPANY_NBR = I.COMPANY_NBR and C.PUB = I.COMPANY_PUB", "order by 7 desc, 3"})
        ListLibVendorsQ2->SQL()->Add(line);
    AddVendorFields(this, ListLibVendorsQ2, "Lib/Stock Cost", "Lib/Stock UOM", "Purchase UOM");
    ListLibVendorsQ2->OnCalcFields = [this](TDataSet* DataSet) {
        ListLibVendorsQ2CalcFields(DataSet);
    };
    ListLibVendors2->SetDataSet(ListLibVendorsQ2);

    ListEstimatesQ = NewQuery(
        this, "ListEstimatesQ",
        {"select JOB_NBR, DESCRIPTION, JOB_TAG, STATUS_REF_ID, NAME, FNAME, JOB.PUB",
         "from JOB, WRITEUP, COMPANY", "where JOB_NBR = WRITEUP_NBR and JOB.PUB = WRITEUP.JOB_PUB",
         "  and JOB.COMPANY_NBR = COMPANY.COMPANY_NBR and JOB.COMPANY_PUB = COMPANY.PUB",
         "  and JOB_NBR = 1"});
    AddDataFields(this, ListEstimatesQ,
                  {{"JOB_NBR", ftInteger},
                   {"DESCRIPTION", ftString, 40},
                   {"JOB_TAG", ftString},
                   {"STATUS_REF_ID", ftSmallint},
                   {"NAME", ftString, 60},
                   {"FNAME", ftString, 40},
                   {"PUB", ftString, 10}});
    AddCalcFields(this, ListEstimatesQ, {{"Customer", ftString, 70}, {"Status", ftString, 23}});
    ListEstimatesQ->OnCalcFields = [this](TDataSet* DataSet) { ListEstimatesQCalcFields(DataSet); };
    DsListEstimates = NewDataSource(this, "DsListEstimates", ListEstimatesQ);

    CommonSql2 = NewQuery(this, "CommonSql2", {});
    AllOpCodesQ = NewQuery(this, "AllOpCodesQ",
                           {"select * from OPCODE  where OpCdNbr != -99  order by OpCode"});

    GetVendorInfoQ = NewQuery(this, "GetVendorInfoQ",
                              {"Select COMPANY_NBR, PUB, NAME, PHONE_NBR from COMPANY  where "
                               "COMPANY_NBR = :a and PUB = :b  "});
    AddDataFields(this, GetVendorInfoQ,
                  {{"COMPANY_NBR", ftInteger},
                   {"PUB", ftString, 10},
                   {"NAME", ftString, 60},
                   {"PHONE_NBR", ftString}});
    AddCalcFields(this, GetVendorInfoQ, {{"Phone", ftString, 14}});
    GetVendorInfoQ->OnCalcFields = [this](TDataSet* DataSet) { GetVendorInfoQCalcFields(DataSet); };
    GetVendorInfo = NewDataSource(this, "GetVendorInfo", GetVendorInfoQ);

    GetVendorInfoQ2 = NewQuery(this, "GetVendorInfoQ2", {});
    for (const char* line : LibrarySupplierLines)
        GetVendorInfoQ2->SQL()->Add(line);
    AddVendorFields(this, GetVendorInfoQ2, "Stock Cost", "Stock UOM", "Order UOM");
    GetVendorInfoQ2->OnCalcFields = [this](TDataSet* DataSet) {
        ListLibVendorsQ2CalcFields(DataSet);
    };
}

AnsiString TVelmDmod::GetUomName(std::int16_t UomRef) {
    SetStatement(*CommonSql, {"SELECT ITEM FROM MAINT_REF WHERE ID = :uomref AND TYPE = 1"});
    CommonSql->Prepare();
    CommonSql->Params()[0]->SetAsSmallInt(UomRef);
    CommonSql->Open();
    return CommonSql->IsEmpty() ? AnsiString() : CommonSql->FieldByName("ITEM")->AsString();
}

void TVelmDmod::SelectCompany(int CompanyNbr, const AnsiString& Pub) {
    SetStatement(*CommonSql, {"Select * from COMPANY where COMPANY_NBR = :a and PUB = :b"});
    CommonSql->Prepare();
    CommonSql->Params()[0]->SetAsInteger(CompanyNbr);
    CommonSql->Params()[1]->SetAsString(Pub);
    CommonSql->Open();
}

AnsiString TVelmDmod::GetEstimateStatusName(std::int16_t StatusRef) {
    SetStatement(*CommonSql, {"SELECT ITEM FROM MAINT_REF WHERE ID = :a AND TYPE = 0"});
    CommonSql->Prepare();
    CommonSql->Params()[0]->SetAsSmallInt(StatusRef);
    CommonSql->Open();
    return CommonSql->IsEmpty() ? AnsiString() : CommonSql->FieldByName("ITEM")->AsString();
}

AnsiString TVelmDmod::GetDeptName(int DeptNbr) {
    OpenLookup(*CommonSql, {"select Name from DEPT where DeptNbr = :a"}, {DeptNbr});
    return CommonSql->IsEmpty() ? AnsiString() : CommonSql->FieldByName("Name")->AsString();
}

int TVelmDmod::GetOpCode(int OpCdNbr, AnsiString& Code, AnsiString& Descr) {
    OpenLookup(*CommonSql, {"select OpCode, OpCdDescr from OPCODE where OpCdNbr = :a"}, {OpCdNbr});
    if (CommonSql->RecordCount() != 1) return -99;
    Code = CommonSql->Fields()[0]->AsString();
    Descr = CommonSql->Fields()[1]->AsString();
    return OpCdNbr;
}

void TVelmDmod::GetLibItemInfo(std::int16_t DivNbr, std::int16_t SectionNbr, std::int16_t ItemNbr,
                               AnsiString& UnitName, AnsiString& SeqCode, double& UnitCost,
                               std::int16_t& UnitRef, AnsiString& LineTag) {
    SetStatement(*CommonSql, {"select SEQ_CODE,UNIT_COST,UNIT_REF_ID,LINETAG from LIB_ITEM where "
                              "DIV_NBR = :a and SECTION_NBR = :b and ITEM_NBR = :c "});
    CommonSql->Prepare();
    CommonSql->Params()[0]->SetAsSmallInt(DivNbr);
    CommonSql->Params()[1]->SetAsSmallInt(SectionNbr);
    CommonSql->Params()[2]->SetAsSmallInt(ItemNbr);
    CommonSql->Open();

    UnitName = "";
    SeqCode = "";
    LineTag = "";
    UnitCost = -99;
    UnitRef = -99;
    if (CommonSql->RecordCount() != 1) return;

    SeqCode = CommonSql->FieldByName("SEQ_CODE")->AsString();
    LineTag = CommonSql->FieldByName("LINETAG")->AsString();
    const TField* cost = CommonSql->FieldByName("UNIT_COST");
    if (!cost->IsNull()) {
        AnsiString text = FloatToStrF(cost->AsFloat(), ffFixed, 11, 3);
        TrimDecimalZeros(text);
        UnitCost = StrToFloat(text);
    }
    const TField* unit = CommonSql->FieldByName("UNIT_REF_ID");
    if (!unit->IsNull()) {
        // The unit's name comes from the same query: take the reference first.
        UnitRef = static_cast<std::int16_t>(unit->AsInteger());
        UnitName = GetUomName(UnitRef);
    }
}
