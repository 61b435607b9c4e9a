// The job-form module's report side: the document and list report queries
// with their fields, the transmittal and RFI editing components, and the
// ten report data connections that publish them.
#include "datamodules/DmodJobForm.h"

#include "platform/data/DataSource.h"
#include "platform/data/Query.h"
#include "reportconn/DcDataSetConnection.h"

using reportconn::TDcCustomConnection;
using reportconn::TDcQueryConnection;

namespace {

// The leading columns of a transmittal, up to ContactListInd; the list's
// company name is wider than the document's.
void AddTransmittalHead(TComponent* Owner, TQuery* Query, int CompanyNameSize, bool ListIndHere) {
    AddDataFields(Owner, Query,
                  {{"TransmittalNbr", ftInteger},
                   {"TransmittalDate", ftDate},
                   {"DornJobNbr", ftInteger},
                   {"VelmProjectNbr", ftInteger},
                   {"VelmProjectPub", ftString, 10},
                   {"Descr", ftString, 60}});
    if (ListIndHere) AddDataFields(Owner, Query, {{"CompanyListInd", ftInteger}});
    AddDataFields(Owner, Query,
                  {{"CompanyNbr", ftInteger},
                   {"CompanyPub", ftString, 10},
                   {"CompanyName", ftString, CompanyNameSize},
                   {"ContactNbr", ftInteger},
                   {"ContactPub", ftString, 10},
                   {"ContactName", ftString, 30},
                   {"ContactListInd", ftInteger}});
}

// From CreatedByNbr to Remarks: the author, the type and reason flags.
void AddTransmittalBody(TComponent* Owner, TQuery* Query) {
    AddDataFields(Owner, Query,
                  {{"CreatedByNbr", ftInteger},
                   {"CreatedByPub", ftString, 10},
                   {"Signature", ftString, 40},
                   {"CopyTo", ftString, 60},
                   {"SendInfo", ftInteger},
                   {"ShipVia", ftInteger},
                   {"TypeRFI", ftInteger},
                   {"TypeBid", ftInteger},
                   {"TypeChangeOrder", ftInteger},
                   {"TypeOther", ftInteger},
                   {"TypeDrawings", ftInteger},
                   {"TypeSpecs", ftInteger},
                   {"TypeSamples", ftInteger},
                   {"TypePlans", ftInteger},
                   {"TypePrints", ftInteger},
                   {"TypeLEED", ftInteger},
                   {"TypeCopyLetter", ftInteger},
                   {"TypeContract", ftInteger},
                   {"TypeOtherText", ftString, 30},
                   {"ReasForApproval", ftInteger},
                   {"ReasForYourUse", ftInteger},
                   {"ReasAsRequested", ftInteger},
                   {"ReasForReviewComment", ftInteger},
                   {"ReasApprovedAsSubmitted", ftInteger},
                   {"ReasApprovedAsNoted", ftInteger},
                   {"ReasReturnedCorrection", ftInteger},
                   {"ReasOnLoanReturn", ftInteger},
                   {"ReasResubmitApproval", ftInteger},
                   {"ResubmitApprovalCopies", ftInteger},
                   {"ReasSubmitDistribution", ftInteger},
                   {"SubmitDistCopies", ftInteger},
                   {"ReasReturnCorrectPrints", ftInteger},
                   {"ReturnCorrectPrintSets", ftInteger},
                   {"ReasForBidsDue", ftInteger},
                   {"ReasForOther", ftInteger},
                   {"ReasOtherText", ftString, 30},
                   {"ReasBidDueDate", ftDate},
                   {"Remarks", ftMemo}});
}

// The document's stored transmittal columns up to RevisionNbr.
void AddTransmittalDocument(TComponent* Owner, TQuery* Query) {
    AddTransmittalHead(Owner, Query, 40, false);
    AddTransmittalBody(Owner, Query);
    AddDataFields(Owner, Query, {{"CompanyListInd", ftInteger}, {"RevisionNbr", ftInteger}});
}

// An RFI's columns from RFINbr to Response; the list's company name is wider.
void AddRfiColumns(TComponent* Owner, TQuery* Query, const char* NbrName, int CompanyNameSize) {
    AddDataFields(Owner, Query,
                  {{NbrName, ftInteger},
                   {"RFIDate", ftDate},
                   {"DornJobNbr", ftInteger},
                   {"VelmProjectNbr", ftInteger},
                   {"VelmProjectPub", ftString, 10},
                   {"Descr", ftString, 60},
                   {"CompanyListInd", ftInteger},
                   {"CompanyNbr", ftInteger},
                   {"CompanyPub", ftString, 10},
                   {"CompanyName", ftString, CompanyNameSize},
                   {"ContactNbr", ftInteger},
                   {"ContactPub", ftString, 10},
                   {"ContactName", ftString, 30},
                   {"ContactListInd", ftInteger},
                   {"CreatedByNbr", ftInteger},
                   {"CreatedByPub", ftString, 10},
                   {"Status", ftInteger},
                   {"Reason", ftInteger},
                   {"ReasonOtherText", ftString, 30},
                   {"ApprovalInd", ftInteger},
                   {"CostImpact", ftInteger},
                   {"SchedImpact", ftInteger},
                   {"Specification", ftString, 30},
                   {"Drawing", ftString, 30},
                   {"RequiredByDt", ftDate},
                   {"ReceivedDt", ftDate},
                   {"InfoRequested", ftMemo},
                   {"Proposed", ftMemo},
                   {"Response", ftMemo}});
}

void AddItemColumns(TComponent* Owner, TQuery* Query) {
    AddDataFields(Owner, Query,
                  {{"TransmittalItemNbr", ftInteger},
                   {"TransmittalNbr", ftInteger},
                   {"ItemDate", ftDate},
                   {"ItemDescr", ftString, 50},
                   {"ItemNumberId", ftString, 30},
                   {"Copies", ftInteger}});
}

// A query connection of the module, listening from now on.
TDcQueryConnection* NewQueryConnection(TComponent* Owner, const char* Name, TQuery* Query) {
    auto* connection = new TDcQueryConnection(Owner);
    connection->SetName(Name);
    connection->SetQuery(Query);
    connection->SetRuntimeVisibility(reportconn::rtDeveloper);
    return connection;
}

TFilterOptions NoPartialCompare() {
    TFilterOptions options;
    options.Include(foNoPartialCompare);
    return options;
}

} // namespace

void TJobFormDmod::CreateDocumentComponents() {
    TransmittalsQ = NewQuery(this, "TransmittalsQ", {});
    AddTransmittalDocument(this, TransmittalsQ);
    AddDataFields(this, TransmittalsQ, {{"PrintTransmittalNbr", ftInteger}});

    TransmittalItemsQ = NewQuery(this, "TransmittalItemsQ",
                                 {"select * from TRANSMITTAL_ITEM where TransmittalNbr = 99",
                                  "order by TransmittalItemNbr"});
    TransmittalItemsQ->SetFilterOptions(NoPartialCompare());
    AddDataFields(this, TransmittalItemsQ,
                  {{"TransmittalItemNbr", ftInteger},
                   {"ItemDate", ftDate},
                   {"ItemDescr", ftString, 50},
                   {"ItemNumberId", ftString, 30},
                   {"Copies", ftInteger},
                   {"Status", ftInteger}});
    TransmittalItemsQ->FieldByName("Status")->OnGetText = [this](TField* Sender, AnsiString& Text,
                                                                 bool DisplayText) {
        TransmittalItemsQStatusGetText(Sender, Text, DisplayText);
    };
    TransmittalItems = NewDataSource(this, "TransmittalItems", TransmittalItemsQ);

    RFIsQ = NewQuery(this, "RFIsQ", {"select * from RFI", "where RFINbr = 1"});
    AddRfiColumns(this, RFIsQ, "RFINbr", 40);
    AddDataFields(this, RFIsQ, {{"PrintRFINbr", ftInteger}});
    UomQ = NewQuery(this, "UomQ", {});

    RpTransmittalsQ =
        NewQuery(this, "RpTransmittalsQ", {"select * from TRANSMITTAL where TransmittalNbr = 4"});
    AddTransmittalDocument(this, RpTransmittalsQ);
    AddCalcFields(this, RpTransmittalsQ,
                  {{"Street1", ftString, 40},
                   {"Street2", ftString, 40},
                   {"CityStZip", ftString, 60},
                   {"ProjectName", ftString, 40},
                   {"Author", ftString, 35},
                   {"GCJob Nbr", ftString, 30},
                   {"ProjectID", ftString, 20},
                   {"ShipViaLiteral", ftString, 20},
                   {"BidDueDtString", ftString, 10},
                   {"DornJobId", ftString, 20},
                   {"ContactLiteral", ftString, 30},
                   {"AuthorPhone", ftString, 30},
                   {"AuthorFax", ftString, 30},
                   {"AuthorMobile", ftString, 30},
                   {"AuthorPager", ftString, 30},
                   {"AuthorEmail", ftString, 50},
                   {"DornName", ftString, 85}});
    AddDataFields(this, RpTransmittalsQ, {{"PrintTransmittalNbr", ftInteger}});
    RpTransmittalsQ->OnCalcFields = [this](TDataSet* DataSet) {
        RpTransmittalsQCalcFields(DataSet);
    };

    RpTransItemsQ = NewQuery(this, "RpTransItemsQ", {"select * from TRANSMITTAL_ITEM"});
    RpTransItemsQ->SetFilterOptions(NoPartialCompare());
    AddItemColumns(this, RpTransItemsQ);
    AddCalcFields(this, RpTransItemsQ, {{"ItemDateDtString", ftString, 10}});
    RpTransItemsQ->OnCalcFields = [this](TDataSet* DataSet) { RpTransItemsQCalcFields(DataSet); };

    RpRFIsQ = NewQuery(this, "RpRFIsQ", {"select * from RFI where RFINbr = 1"});
    AddRfiColumns(this, RpRFIsQ, "RFINbr", 40);
    AddCalcFields(this, RpRFIsQ,
                  {{"Author", ftString, 35},
                   {"ProjectName", ftString, 40},
                   {"Street1", ftString, 40},
                   {"Street2", ftString, 40},
                   {"ProjectID", ftString, 20},
                   {"GCJobNbr", ftString, 30},
                   {"ReqByDtString", ftString, 10},
                   {"ReasonLiteral", ftString, 30},
                   {"CostImpactLiteral", ftString, 15},
                   {"SchedImpactLiteral", ftString, 15},
                   {"CityStZip", ftString, 60},
                   {"DornJobId", ftString, 20},
                   {"ContactLiteral", ftString, 30},
                   {"AuthorPhone", ftString, 30},
                   {"AuthorFax", ftString, 30},
                   {"AuthorMobile", ftString, 30},
                   {"AuthorPager", ftString, 30},
                   {"AuthorEmail", ftString, 30},
                   {"DornName", ftString, 85}});
    AddDataFields(this, RpRFIsQ, {{"PrintRFINbr", ftInteger}});
    RpRFIsQ->OnCalcFields = [this](TDataSet* DataSet) { RpRFIsQCalcFields(DataSet); };

    // The connections in form order: each custom one builds its single row
    // from the current row of its document query.
    auto custom = [this](const char* Name, void (TJobFormDmod::*Open)(TDcCustomConnection*),
                         void (TJobFormDmod::*GetCols)(TDcCustomConnection*),
                         void (TJobFormDmod::*GetRow)(TDcCustomConnection*)) {
        auto* connection = new TDcCustomConnection(this);
        connection->SetName(Name);
        connection->OnOpen = [this, Open](TDcCustomConnection* C) { (this->*Open)(C); };
        connection->OnGetCols = [this, GetCols](TDcCustomConnection* C) { (this->*GetCols)(C); };
        connection->OnGetRow = [this, GetRow](TDcCustomConnection* C) { (this->*GetRow)(C); };
        connection->SetRuntimeVisibility(reportconn::rtDeveloper);
        return connection;
    };
    RvTransmittalQ = NewQueryConnection(this, "RvTransmittalQ", RpTransmittalsQ);
    CustTransmittalCXN =
        custom("CustTransmittalCXN", &TJobFormDmod::CustTransmittalCXNOpen,
               &TJobFormDmod::CustTransmittalCXNGetCols, &TJobFormDmod::CustTransmittalCXNGetRow);
    RvRFIsQ = NewQueryConnection(this, "RvRFIsQ", RpRFIsQ);
    CustomRFIsCXN = custom("CustomRFIsCXN", &TJobFormDmod::CustomRFIsCXNOpen,
                           &TJobFormDmod::CustomRFIsCXNGetCols, &TJobFormDmod::CustomRFIsCXNGetRow);
    RvTransItemsQ = NewQueryConnection(this, "RvTransItemsQ", RpTransItemsQ);
    CustTransContInfo =
        custom("CustTransContInfo", &TJobFormDmod::CustTransContInfoOpen,
               &TJobFormDmod::CustTransContInfoGetCols, &TJobFormDmod::CustTransContInfoGetRow);
    CustRFIContInfo =
        custom("CustRFIContInfo", &TJobFormDmod::CustRFIContInfoOpen,
               &TJobFormDmod::CustRFIContInfoGetCols, &TJobFormDmod::CustRFIContInfoGetRow);
}

void TJobFormDmod::CreateListReportComponents() {
    const auto contactList = [this](const char* Name) {
        TQuery* query = NewQuery(this, Name, {"Select * from CONTACT"});
        AddDataFields(this, query,
                      {{"CONTACT_NBR", ftInteger},
                       {"PUB", ftString, 10},
                       {"SALUTATION", ftSmallint},
                       {"LAST_NAME", ftString, 18},
                       {"FIRST_NAME", ftString, 12},
                       {"TITLE", ftString, 30},
                       {"COMPANY_NBR", ftInteger},
                       {"COMPANY_PUB", ftString, 10},
                       {"EXTENSION", ftString, 5},
                       {"LOC_NBR", ftInteger},
                       {"LOC_PUB", ftString, 10},
                       {"PHONE_NBR", ftString, 20},
                       {"FAX_NBR", ftString, 20},
                       {"PAGER_NBR", ftString, 20},
                       {"MOBILE_NBR", ftString, 20},
                       {"HOME_NBR", ftString, 20},
                       {"GREETING", ftString, 12},
                       {"ROW_TS", ftDateTime},
                       {"EMAIL", ftString, 50}});
        AddCalcFields(this, query, {{"FirstLast", ftString, 38}});
        return query;
    };
    ListContactsQ = contactList("ListContactsQ");
    ListContactsQ->OnCalcFields = [this](TDataSet* DataSet) { ListContactsQCalcFields(DataSet); };
    ListContacts2Q = contactList("ListContacts2Q");
    ListContacts2Q->OnCalcFields = [this](TDataSet* DataSet) { ListContacts2QCalcFields(DataSet); };

    RpTransListQ = NewQuery(
        this, "RpTransListQ",
        {"SELECT T.TransmittalNbr, T.TransmittalDate, T.DornJobNbr, T.VelmProjectNbr, "
         "T.VelmProjectPub, T.Descr, T.CompanyListInd, T.CompanyNbr, T.CompanyPub, "
         "T.CompanyName, T.ContactNbr, T.ContactPub, T.ContactName, T.ContactListInd, "
         "T.CreatedByNbr, T.CreatedByPub, T.Signature, T.CopyTo, T.SendInfo, T.ShipVia, "
         "T.TypeRFI, T.TypeBid, T.TypeChangeOrder, T.TypeOther, T.TypeDrawings, T.TypeSpecs, "
         "T.TypeSamples, T.TypePlans, T.TypePrints, T.TypeLEED, T.TypeCopyLetter, "
         "T.TypeContract, T.TypeOtherText, T.ReasForApproval, T.ReasForYourUse, "
         "T.ReasAsRequested, T.ReasForReviewComment, T.ReasApprovedAsSubmitted, "
         "T.ReasApprovedAsNoted, T.ReasReturnedCorrection, T.ReasOnLoanReturn, "
         "T.ReasResubmitApproval, T.ResubmitApprovalCopies, T.ReasSubmitDistribution, "
         "T.SubmitDistCopies, T.ReasReturnCorrectPrints, T.ReturnCorrectPrintSets, "
         "T.ReasForBidsDue, T.ReasForOther, T.ReasOtherText, T.ReasBidDueDate, T.Remarks, "
         "T.RevisionNbr, T.PrintTransmittalNbr, J.JOB_TAG, J.DESCRIPTION, JB.JobNbr, "
         "JB.JobDescr, JB.JobId, JB.JobStatusNbr, C.NAME, CT.LAST_NAME, CT.FIRST_NAME, "
         "JS.JobStatus",
         "FROM TRANSMITTAL T ", "JOIN JOB J ON (T.VelmProjectNbr = J.JOB_NBR",
         "    and T.VelmProjectPub = J.PUB)", "JOIN JOBS JB ON (T.VelmProjectNbr = JB.VelmJobNbr",
         "    and T.VelmProjectPub = JB.VelmJobPub)",
         "LEFT OUTER JOIN COMPANY C ON (T.CompanyNbr = C.COMPANY_NBR",
         "    and T.CompanyPub = C.PUB)",
         "LEFT OUTER JOIN CONTACT CT ON (T.ContactNbr = CT.CONTACT_NBR",
         "    and T.ContactPub = CT.PUB)",
         "LEFT OUTER JOIN JOB_STATUS JS ON JB.JobStatusNbr = JS.JobStatusNbr"});
    AddTransmittalHead(this, RpTransListQ, 60, true);
    AddTransmittalBody(this, RpTransListQ);
    AddDataFields(this, RpTransListQ,
                  {{"RevisionNbr", ftInteger},
                   {"PrintTransmittalNbr", ftInteger},
                   {"NAME", ftString, 60},
                   {"LAST_NAME", ftString, 18},
                   {"FIRST_NAME", ftString, 12}});
    AddCalcFields(this, RpTransListQ,
                  {{"TransDateLiteral", ftString, 12},
                   {"Author", ftString, 30},
                   {"ContactLiteral", ftString, 30},
                   {"ProjectName", ftString, 100},
                   {"SelectedInclude", ftString, 150},
                   {"SelectedFilterOne", ftString, 150},
                   {"SelectedFilterTwo", ftString, 150},
                   {"SelectedSort", ftString, 150},
                   {"TypeLiteral", ftString, 250},
                   {"ReasonLiteral", ftString, 250}});
    AddDataFields(this, RpTransListQ,
                  {{"JobDescr", ftString, 60},
                   {"JobId", ftString, 20},
                   {"JobStatusNbr", ftInteger},
                   {"JobStatus", ftString, 25},
                   {"JOB_TAG", ftString, 20},
                   {"DESCRIPTION", ftString, 40},
                   {"JobNbr", ftInteger}});
    RpTransListQ->OnCalcFields = [this](TDataSet* DataSet) { RpTransListQCalcFields(DataSet); };
    RvTransListQSP = NewQueryConnection(this, "RvTransListQSP", RpTransListQ);

    RpRFIListQ = NewQuery(
        this, "RpRFIListQ",
        {"SELECT R.RFInbr, R.RFIDate, R.DornJobNbr, R.VelmProjectNbr, R.VelmProjectPub, "
         "R.Descr, R.CompanyListInd, R.CompanyNbr, R.CompanyPub, R.CompanyName, R.ContactNbr, "
         "R.ContactPub, R.ContactName, R.ContactListInd, R.CreatedByNbr, R.CreatedByPub, "
         "R.Status, R.Reason, R.ReasonOtherText, R.ApprovalInd, R.CostImpact, R.SchedImpact, "
         "R.Specification, R.Drawing, R.RequiredByDt, R.ReceivedDt, R.InfoRequested, "
         "R.Proposed, R.Response, R.PrintRFINbr, J.DESCRIPTION, J.JOB_TAG, JB.JobId, "
         "JB.JobDescr, JB.JobNbr, JB.JobStatusNbr, C.NAME, CT.LAST_NAME, CT.FIRST_NAME, "
         "JS.JobStatus",
         "FROM RFI R ", "JOIN JOB J ON (R.VelmProjectNbr = J.JOB_NBR",
         "    and R.VelmProjectPub = J.PUB)", "JOIN JOBS JB ON (R.VelmProjectNbr = JB.VelmJobNbr",
         "    and R.VelmProjectPub = JB.VelmJobPub)",
         "LEFT OUTER JOIN COMPANY C ON (R.CompanyNbr = C.COMPANY_NBR",
         "    and R.CompanyPub = C.PUB)",
         "LEFT OUTER JOIN CONTACT CT ON (R.ContactNbr = CT.CONTACT_NBR",
         "    and R.ContactPub = CT.PUB)",
         "LEFT OUTER JOIN JOB_STATUS JS ON JB.JobStatusNbr = JS.JobStatusNbr"});
    AddRfiColumns(this, RpRFIListQ, "RFInbr", 60);
    AddDataFields(this, RpRFIListQ,
                  {{"PrintRFINbr", ftInteger},
                   {"DESCRIPTION", ftString, 40},
                   {"JOB_TAG", ftString, 20},
                   {"NAME", ftString, 60},
                   {"LAST_NAME", ftString, 18},
                   {"FIRST_NAME", ftString, 12}});
    AddCalcFields(this, RpRFIListQ,
                  {{"Author", ftString, 30},
                   {"ContactLiteral", ftString, 30},
                   {"SelectedInclude", ftString, 150},
                   {"SelectedFilterOne", ftString, 150},
                   {"SelectedFilterTwo", ftString, 150},
                   {"SelectedSort", ftString, 150},
                   {"ProjectName", ftString, 100},
                   {"StatusLiteral", ftString, 25},
                   {"RFIDateLiteral", ftString, 12},
                   {"ReqByDateLiteral", ftString, 12},
                   {"ReceivedDateLiteral", ftString, 12},
                   {"ReasonLiteral", ftString, 30},
                   {"CostImpactLiteral", ftString, 30},
                   {"SchedImpactLiteral", ftString, 30}});
    AddDataFields(this, RpRFIListQ,
                  {{"JobId", ftString, 20},
                   {"JobDescr", ftString, 60},
                   {"JobNbr", ftInteger},
                   {"JobStatusNbr", ftInteger},
                   {"JobStatus", ftString, 25}});
    RpRFIListQ->OnCalcFields = [this](TDataSet* DataSet) { RpRFIListQCalcFields(DataSet); };
    RvRFIListQSP = NewQueryConnection(this, "RvRFIListQSP", RpRFIListQ);

    RpTransItemListQ = NewQuery(this, "RpTransItemListQ",
                                {"Select * from TRANSMITTAL_ITEM order by TransmittalItemNbr"});
    AddItemColumns(this, RpTransItemListQ);
    AddDataFields(this, RpTransItemListQ, {{"Status", ftInteger}});
    AddCalcFields(this, RpTransItemListQ,
                  {{"StatusLiteral", ftString, 20}, {"ItemDateString", ftString, 20}});
    RpTransItemListQ->OnCalcFields = [this](TDataSet* DataSet) {
        RpTransItemListQCalcFields(DataSet);
    };
    RvTransItemListQSP = NewQueryConnection(this, "RvTransItemListQSP", RpTransItemListQ);
}
