// The job-form module's report lookups, the handlers of its custom report
// connections and the calculated fields of its report queries.
#include "datamodules/DmodJobForm.h"

#include "datamodules/format/DateText.h"
#include "datamodules/format/DisplayText.h"
#include "platform/data/Query.h"
#include "reportconn/DcCustomConnection.h"

#include <algorithm>
#include <array>
#include <tuple>
#include <vector>

using reportconn::TDcCustomConnection;

namespace {

// Runs Lines on Query with an integer :a and, when given, a text :b.
void OpenByNumberAndPub(TQuery& Query, std::initializer_list<AnsiString> Lines, int Number,
                        const AnsiString* Pub, bool Prepare = true) {
    SetStatement(Query, Lines);
    if (Prepare) Query.Prepare();
    Query.Params()[0]->SetAsInteger(Number);
    if (Pub) Query.Params()[1]->SetAsString(*Pub);
    Query.Open();
}

TField& F(const TDataSet& Row, const char* Name) {
    return *Row.FieldByName(Name);
}

bool Present(const TDataSet& Row, const char* Name) {
    return !Row.FieldByName(Name)->IsNull();
}

// The entry of Table at Index; Fallback outside it.
template <std::size_t N>
AnsiString Label(const std::array<const char*, N>& Table, int Index, const char* Fallback = "") {
    return Index >= 0 && static_cast<std::size_t>(Index) < N ? AnsiString(Table[Index])
                                                             : AnsiString(Fallback);
}

constexpr std::array<const char*, 7> ShipViaLiterals{"Email",   "US Mail", "UPS",         "FedEx",
                                                     "Courier", "DHL",     "Hand Deliver"};
// The document's own reason texts; the fifth is spelled as the forms print it.
constexpr std::array<const char*, 8> DocumentReasonLiterals{
    "Request For Information", "Document Variation",
    "Document Clarification",  "Request For Substitution",
    "Insuffcient Information", "Alternate Proposal",
    "Engineering Conflict",    "Other"};
constexpr std::array<const char*, 4> CostImpactLiterals{"None", "Cost Increase", "Cost Decrease",
                                                        "Unknown"};
constexpr std::array<const char*, 4> SchedImpactLiterals{"None", "Time Increase", "Time Decrease",
                                                         "Unknown"};
constexpr std::array<const char*, 4> ItemStatusLiterals{"Pending", "Approved", "Rejected",
                                                        "Revise & Resubmit"};

// Writes Values, then empty texts, as the connection's Count columns.
void WriteRow(TDcCustomConnection* Connection, std::vector<AnsiString> Values, std::size_t Count) {
    Values.resize(Count);
    for (const AnsiString& value : Values)
        Connection->WriteStringValue("", value);
}

void DefineColumns(TDcCustomConnection* Connection, std::initializer_list<const char*> Names,
                   int Width) {
    for (const char* name : Names)
        Connection->DefineColumn(name, reportconn::dtString, "", "", Width);
}

} // namespace

// ---- Lookups ------------------------------------------------------------------

void TJobFormDmod::SelectReportCompany(int CompanyNbr, const AnsiString& Pub) {
    OpenByNumberAndPub(*CommonSql2, {"Select * from COMPANY where COMPANY_NBR = :a and PUB = :b"},
                       CompanyNbr, &Pub);
}

void TJobFormDmod::SelectReportProject(int ProjectNbr, const AnsiString& Pub) {
    OpenByNumberAndPub(*CommonSql2,
                       {"Select J.JOB_TAG, J.DESCRIPTION, J.GCJobNbr ", "from JOB J ",
                        "where J.JOB_NBR = :a and J.PUB = :b "},
                       ProjectNbr, &Pub);
}

void TJobFormDmod::SelectReportJob(int JobNbr) {
    OpenByNumberAndPub(*CommonSql2,
                       {"Select JS.JobId, JS.JobDescr ", "from JOBS JS ", "where JS.JobNbr = :a "},
                       JobNbr, nullptr);
}

void TJobFormDmod::SelectReportContact(int ContactNbr, const AnsiString& Pub) {
    OpenByNumberAndPub(*CommonSql3, {"Select * from CONTACT where CONTACT_NBR = :a and PUB = :b"},
                       ContactNbr, &Pub);
}

int TJobFormDmod::GetPhonePreference() {
    SetStatement(*CommonSql, {"Select PH_PREF from WU_DFLTS"});
    CommonSql->Open();
    return CommonSql->IsEmpty() ? 0 : CommonSql->Fields()[0]->AsInteger();
}

void TJobFormDmod::GetContactName(int ContactNbr, const AnsiString& Pub, AnsiString& LastName,
                                  AnsiString& FirstName) {
    OpenByNumberAndPub(
        *CommonSql4,
        {"Select LAST_NAME, FIRST_NAME from CONTACT ", "where CONTACT_NBR = :a and PUB = :b"},
        ContactNbr, &Pub, false);
    if (CommonSql4->RecordCount() == 1) {
        LastName = F(*CommonSql4, "LAST_NAME").AsString();
        FirstName = F(*CommonSql4, "FIRST_NAME").AsString();
    } else {
        LastName = FirstName = "";
    }
}

void TJobFormDmod::GetJobIdAndDescr(int JobNbr, AnsiString& JobId, AnsiString& JobDescr) {
    OpenByNumberAndPub(*CommonSql2, {"SELECT * FROM JOBS WHERE JobNbr = :a "}, JobNbr, nullptr);
    JobId = F(*CommonSql2, "JobId").AsString();
    JobDescr = F(*CommonSql2, "JobDescr").AsString();
}

namespace {

// A flag of a transmittal and its text; a null text stands for the value of
// the row's OtherField (the flag "other", whose text the user types).
struct FlagText {
    const char* Flag;
    const char* Text;
};

// Appends the text of each set flag and drops the last separator.
void BuildFlagText(const TDataSet& Row, const char* OtherField,
                   std::initializer_list<FlagText> Flags, AnsiString& Text) {
    for (const FlagText& entry : Flags) {
        if (F(Row, entry.Flag).AsInteger() == 0) continue;
        Text += entry.Text ? AnsiString(entry.Text) : F(Row, OtherField).AsString() + "; ";
    }
    Text.erase(Text.size() - std::min<std::size_t>(2, Text.size()));
}

} // namespace

void TJobFormDmod::BuildTransmittalTypeText(AnsiString& Text) {
    BuildFlagText(*RpTransListQ, "TypeOtherText",
                  {{"TypeRFI", "RFI; "},
                   {"TypeBid", "Bid; "},
                   {"TypeChangeOrder", "Change Order; "},
                   {"TypeOther", nullptr},
                   {"TypeDrawings", "Drawings; "},
                   {"TypeSpecs", "Specs; "},
                   {"TypeSamples", "Samples; "},
                   {"TypePlans", "Plans; "},
                   {"TypePrints", "Prints; "},
                   {"TypeLEED", "LEED; "},
                   {"TypeCopyLetter", "Letter; "},
                   {"TypeContract", "Contract; "}},
                  Text);
}

void TJobFormDmod::BuildTransmittalReasonText(AnsiString& Text) {
    BuildFlagText(*RpTransListQ, "ReasOtherText",
                  {{"ReasForApproval", "Approval; "},
                   {"ReasForYourUse", "Your use; "},
                   {"ReasAsRequested", "As requested; "},
                   {"ReasForReviewComment", "Review & comment; "},
                   {"ReasForOther", nullptr},
                   {"ReasApprovedAsSubmitted", "Approved as submitted; "},
                   {"ReasApprovedAsNoted", "Approved as noted; "},
                   {"ReasReturnedCorrection", "Returned for corrections; "},
                   {"ReasOnLoanReturn", "On loan; "},
                   {"ReasResubmitApproval", "Resubmit for approval; "},
                   {"ReasSubmitDistribution", "Submit copies; "},
                   {"ReasReturnCorrectPrints", "Return corrected prints; "},
                   {"ReasForBidsDue", "Bids due; "}},
                  Text);
}

// ---- Custom connections ---------------------------------------------------------

void TJobFormDmod::CustTransmittalCXNOpen(TDcCustomConnection* Connection) {
    Connection->SetRowCount(1);
}
void TJobFormDmod::CustomRFIsCXNOpen(TDcCustomConnection* Connection) {
    Connection->SetRowCount(1);
}
void TJobFormDmod::CustTransContInfoOpen(TDcCustomConnection* Connection) {
    Connection->SetRowCount(1);
}
void TJobFormDmod::CustRFIContInfoOpen(TDcCustomConnection* Connection) {
    Connection->SetRowCount(1);
}

void TJobFormDmod::CustTransmittalCXNGetCols(TDcCustomConnection* Connection) {
    DefineColumns(Connection, {"Addr1", "Addr2", "Addr3"}, 30);
}
void TJobFormDmod::CustomRFIsCXNGetCols(TDcCustomConnection* Connection) {
    DefineColumns(Connection, {"Addr1", "Addr2", "Addr3"}, 30);
}
void TJobFormDmod::CustTransContInfoGetCols(TDcCustomConnection* Connection) {
    DefineColumns(Connection, {"AuthInfo1", "AuthInfo2", "AuthInfo3", "AuthInfo4"}, 50);
}
void TJobFormDmod::CustRFIContInfoGetCols(TDcCustomConnection* Connection) {
    DefineColumns(Connection, {"AuthInfo1", "AuthInfo2", "AuthInfo3", "AuthInfo4"}, 50);
}

void TJobFormDmod::AddressRow(TDcCustomConnection* Connection, const TDataSet& Query) {
    std::vector<AnsiString> values;
    for (const char* street : {"Street1", "Street2"})
        if (Present(Query, street)) values.push_back(F(Query, street).AsString());
    values.push_back(F(Query, "CityStZip").AsString());
    WriteRow(Connection, values, 3);
}

void TJobFormDmod::ContactRow(TDcCustomConnection* Connection, const TDataSet& Query) {
    std::vector<AnsiString> values;
    for (const char* line : {"AuthorPhone", "AuthorFax", "AuthorMobile"})
        if (Present(Query, line)) values.push_back(F(Query, line).AsString());
    values.push_back(F(Query, "AuthorEmail").AsString());
    WriteRow(Connection, values, 4);
}

void TJobFormDmod::CustTransmittalCXNGetRow(TDcCustomConnection* Connection) {
    AddressRow(Connection, *RpTransmittalsQ);
}
void TJobFormDmod::CustomRFIsCXNGetRow(TDcCustomConnection* Connection) {
    AddressRow(Connection, *RpRFIsQ);
}
void TJobFormDmod::CustTransContInfoGetRow(TDcCustomConnection* Connection) {
    ContactRow(Connection, *RpTransmittalsQ);
}
void TJobFormDmod::CustRFIContInfoGetRow(TDcCustomConnection* Connection) {
    ContactRow(Connection, *RpRFIsQ);
}

// ---- Document fields --------------------------------------------------------------

AnsiString TJobFormDmod::ReportDateText(const TField& Field, const char* Blank) const {
    if (Field.IsNull()) return Blank;
    AnsiString text;
    FormatDateByCode(Field.AsDateTime(), text, DatePreference == 1 ? 3 : 10);
    return text;
}

void TJobFormDmod::DocumentCalcFields(TDataSet& Q, bool Transmittal) {
    // 1. The recipient's address.
    SelectReportCompany(F(Q, "CompanyNbr").AsInteger(), F(Q, "CompanyPub").AsString());
    const TQuery& company = *CommonSql2;
    if (Present(company, "STREET_1"))
        F(Q, "Street1").SetAsString(F(company, "STREET_1").AsString());
    if (Present(company, "STREET_2"))
        F(Q, "Street2").SetAsString(F(company, "STREET_2").AsString());
    if (Present(company, "CITY"))
        F(Q, "CityStZip")
            .SetAsString(F(company, "CITY").AsString() + ", " + F(company, "STATE").AsString() +
                         "  " + F(company, "ZIP_5").AsString());

    // 2. The project.
    if (!Present(Q, "VelmProjectNbr")) {
        F(Q, "ProjectName").SetAsString("");
    } else {
        SelectReportProject(F(Q, "VelmProjectNbr").AsInteger(), F(Q, "VelmProjectPub").AsString());
        const TQuery& project = *CommonSql2;
        F(Q, Transmittal ? "GCJob Nbr" : "GCJobNbr").SetValue(F(project, "GCJobNbr").Value());
        F(Q, "ProjectName")
            .SetAsString(Present(project, "JOB_TAG") ? F(project, "JOB_TAG").AsString() + " - " +
                                                           F(project, "DESCRIPTION").AsString()
                                                     : F(project, "DESCRIPTION").AsString());
    }

    // 3. The shop job.
    SelectReportJob(ReportJobNbr);
    F(Q, "DornName")
        .SetAsString(F(*CommonSql2, "JobId").AsString() + " - " +
                     F(*CommonSql2, "JobDescr").AsString());

    // 4, 5. The author and the author's company.
    SelectReportContact(F(Q, "CreatedByNbr").AsInteger(), F(Q, "CreatedByPub").AsString());
    const TQuery& author = *CommonSql3;
    F(Q, "Author")
        .SetAsString(F(author, "FIRST_NAME").AsString() + " " + F(author, "LAST_NAME").AsString());
    SelectReportCompany(F(author, "COMPANY_NBR").AsInteger(), F(author, "COMPANY_PUB").AsString());
    const TQuery& authorCompany = *CommonSql2;

    // 6-11. The author's numbers, all formatted into one working text.
    const int preference = GetPhonePreference();
    AnsiString work;
    auto formatted = [&](const TDataSet& Row, const char* Column) {
        FormatPhoneByPreference(preference, F(Row, Column).AsString(), work);
        return work;
    };
    const auto ownOrCompany = [&](const char* Column) -> const TDataSet& {
        return Present(author, Column) ? static_cast<const TDataSet&>(author) : authorCompany;
    };
    F(Q, "AuthorPhone").SetAsString("Phone " + formatted(ownOrCompany("PHONE_NBR"), "PHONE_NBR"));
    if (Present(author, "EXTENSION"))
        F(Q, "AuthorPhone")
            .SetAsString(F(Q, "AuthorPhone").AsString() + " ext. " +
                         F(author, "EXTENSION").AsString());
    F(Q, "AuthorFax").SetAsString("Fax " + formatted(ownOrCompany("FAX_NBR"), "FAX_NBR"));
    if (Present(author, "MOBILE_NBR"))
        F(Q, "AuthorMobile").SetAsString("Cell " + formatted(author, "MOBILE_NBR"));
    if (Present(author, "PAGER_NBR"))
        F(Q, "AuthorPager").SetAsString("Pager " + formatted(author, "PAGER_NBR"));
    if (Present(author, "EMAIL")) F(Q, "AuthorEmail").SetAsString(F(author, "EMAIL").AsString());

    // 12. The addressee.
    if (F(Q, "ContactListInd").AsInteger() != 0) {
        F(Q, "ContactLiteral").SetAsString(F(Q, "ContactName").AsString());
    } else {
        SelectReportContact(F(Q, "ContactNbr").AsInteger(), F(Q, "ContactPub").AsString());
        F(Q, "ContactLiteral")
            .SetAsString(F(*CommonSql3, "FIRST_NAME").AsString() + " " +
                         F(*CommonSql3, "LAST_NAME").AsString());
    }

    if (Transmittal) {
        F(Q, "ShipViaLiteral").SetAsString(Label(ShipViaLiterals, F(Q, "ShipVia").AsInteger()));
        F(Q, "BidDueDtString").SetAsString(ReportDateText(F(Q, "ReasBidDueDate"), ""));
    } else {
        F(Q, "ReasonLiteral")
            .SetAsString(Label(DocumentReasonLiterals, F(Q, "Reason").AsInteger()));
        F(Q, "CostImpactLiteral")
            .SetAsString(Label(CostImpactLiterals, F(Q, "CostImpact").AsInteger()));
        F(Q, "SchedImpactLiteral")
            .SetAsString(Label(SchedImpactLiterals, F(Q, "SchedImpact").AsInteger()));
        F(Q, "ReqByDtString").SetAsString(ReportDateText(F(Q, "RequiredByDt"), ""));
    }
}

void TJobFormDmod::RpTransmittalsQCalcFields(TDataSet*) {
    DocumentCalcFields(*RpTransmittalsQ, true);
}

void TJobFormDmod::RpRFIsQCalcFields(TDataSet*) {
    DocumentCalcFields(*RpRFIsQ, false);
}

void TJobFormDmod::RpTransItemsQCalcFields(TDataSet*) {
    F(*RpTransItemsQ, "ItemDateDtString")
        .SetAsString(ReportDateText(F(*RpTransItemsQ, "ItemDate"), ""));
}

void TJobFormDmod::TransmittalItemsQStatusGetText(TField* Sender, AnsiString& Text, bool) {
    Text = TransmittalItemsQ->IsEmpty()
               ? AnsiString()
               : Label(ItemStatusLiterals, Sender->AsInteger(), "Unknown value");
}

// ---- List fields ---------------------------------------------------------------------

namespace {

struct FilterLabel {
    int Kind;
    const char* Text;
    bool Range;
    bool WithValue;
};

constexpr FilterLabel TransmittalFilters[] = {{1, "Job ID like: ", false, true},
                                              {2, "Job Description like: ", false, true},
                                              {3, "Job Status: ", false, true},
                                              {4, "Company: ", false, true},
                                              {5, "Contact: ", false, true},
                                              {6, "Author: ", false, true},
                                              {7, "Transmittal Date range  ", true, true},
                                              {8, "Transmittal Type: ", false, true},
                                              {9, "Transmittal Reason: ", false, true}};

constexpr FilterLabel RfiFilters[] = {
    {1, "Job ID like: ", false, true},   {2, "Job Description like: ", false, true},
    {3, "Job Status: ", false, true},    {4, "Company: ", false, true},
    {5, "Contact: ", false, true},       {6, "Author: ", false, true},
    {7, "RFI Date range  ", true, true}, {8, "RFI Status: ", false, true},
    {9, "RFI Reason: ", false, true},    {10, "Required By Date range  ", true, true},
    {11, "Late RFIs", false, false},     {12, "Received Date range  ", true, true},
    {13, "Cost Impact: ", false, true},  {14, "Schedule Impact: ", false, true}};

constexpr std::array<const char*, 6> TransmittalSortOne{"Job ID",
                                                        "Job Description",
                                                        "Job Status",
                                                        "Transmittal Author",
                                                        "Transmittal Contact",
                                                        "Transmittal Company"};
constexpr std::array<const char*, 5> TransmittalSortTwo{
    ", Transmittal Number", ", Transmittal Date", ", Transmittal Author", ", Transmittal Company",
    ", Transmittal Contact"};
constexpr std::array<const char*, 8> RfiSortOne{"Job ID",      "Job Description", "Job Status",
                                                "RFI Author",  "RFI Date",        "RFI Status",
                                                "RFI Company", "RFI Contact"};
constexpr std::array<const char*, 9> RfiSortTwo{
    ", RFI Number",  ", RFI Date",   ", RFI Author",       ", RFI Status",       ", RFI Company",
    ", RFI Contact", ", RFI Reason", ", RFI Request Date", ", RFI Received Date"};

} // namespace

void TJobFormDmod::SelectionCaptions(TDataSet& Q, bool Transmittal) const {
    F(Q, "SelectedInclude")
        .SetAsString(IncludeArchived == 1 ? "Archived Projects Included"
                                          : "Archived Projects Excluded");
    auto dateText = [this](TDateTime Value) {
        AnsiString text;
        FormatDateByCode(Value, text, DatePreference == 1 ? 3 : 10);
        return text;
    };
    auto filter = [&](const char* Field, int Kind, const AnsiString& Value, TDateTime From,
                      TDateTime To) {
        const auto caption = [&](const FilterLabel& label) {
            AnsiString text = F(Q, Field).AsString() + label.Text;
            if (label.Range)
                text += dateText(From) + " to " + dateText(To);
            else if (label.WithValue)
                text += Value;
            F(Q, Field).SetAsString(text);
        };
        if (Transmittal) {
            for (const FilterLabel& label : TransmittalFilters)
                if (label.Kind == Kind) caption(label);
        } else {
            for (const FilterLabel& label : RfiFilters)
                if (label.Kind == Kind) caption(label);
        }
    };
    filter("SelectedFilterOne", FilterOneKind, FilterOneText, FilterOneFromDate, FilterOneToDate);
    filter("SelectedFilterTwo", FilterTwoKind, FilterTwoText, FilterTwoFromDate, FilterTwoToDate);
    AnsiString sort = F(Q, "SelectedSort").AsString();
    sort += Transmittal ? Label(TransmittalSortOne, SortOneKind) : Label(RfiSortOne, SortOneKind);
    sort += Transmittal ? Label(TransmittalSortTwo, SortTwoKind) : Label(RfiSortTwo, SortTwoKind);
    F(Q, "SelectedSort").SetAsString(sort);
}

namespace {

// Author, addressee and project of a list row (shared by both lists).
template <class Module> void PeopleAndProject(Module& M, TDataSet& Q) {
    AnsiString last, first;
    if (Present(Q, "CreatedByNbr")) {
        M.GetContactName(F(Q, "CreatedByNbr").AsInteger(), F(Q, "CreatedByPub").AsString(), last,
                         first);
        F(Q, "Author").SetAsString(first + " " + last);
    }
    if (!Present(Q, "ContactNbr")) {
        F(Q, "ContactLiteral").SetAsString(F(Q, "ContactName").AsString());
    } else {
        M.GetContactName(F(Q, "ContactNbr").AsInteger(), F(Q, "ContactPub").AsString(), last,
                         first);
        F(Q, "ContactLiteral").SetAsString(first + " " + last);
    }
    AnsiString jobId, jobDescr;
    M.GetJobIdAndDescr(F(Q, "JobNbr").AsInteger(), jobId, jobDescr);
    F(Q, "ProjectName").SetAsString(jobId.empty() ? jobDescr : jobId + " - " + jobDescr);
}

} // namespace

void TJobFormDmod::RpTransListQCalcFields(TDataSet*) {
    TDataSet& q = *RpTransListQ;
    F(q, "TransDateLiteral").SetAsString(ReportDateText(F(q, "TransmittalDate"), "  /  /  "));
    PeopleAndProject(*this, q);
    AnsiString types, reasons;
    BuildTransmittalTypeText(types);
    F(q, "TypeLiteral").SetAsString(types);
    BuildTransmittalReasonText(reasons);
    F(q, "ReasonLiteral").SetAsString(reasons);
    SelectionCaptions(q, true);
}

void TJobFormDmod::RpRFIListQCalcFields(TDataSet*) {
    TDataSet& q = *RpRFIListQ;
    F(q, "RFIDateLiteral").SetAsString(ReportDateText(F(q, "RFIDate"), "  /  /  "));
    F(q, "ReqByDateLiteral").SetAsString(ReportDateText(F(q, "RequiredByDt"), "  /  /  "));
    F(q, "ReceivedDateLiteral").SetAsString(ReportDateText(F(q, "ReceivedDt"), "  /  /  "));
    PeopleAndProject(*this, q);
    F(q, "StatusLiteral").SetAsString(Label(RfiStatusLabels, F(q, "Status").AsInteger()));
    const int reason = F(q, "Reason").AsInteger();
    F(q, "ReasonLiteral")
        .SetAsString(reason == 7 ? F(q, "ReasonOtherText").AsString()
                                 : Label(RfiReasonLabels, reason));
    for (const auto& [field, source, labels] :
         {std::tuple{"CostImpactLiteral", "CostImpact", &CostImpactLabels},
          std::tuple{"SchedImpactLiteral", "SchedImpact", &ScheduleImpactLabels}}) {
        const int value = F(q, source).AsInteger();
        F(q, field).SetAsString(value == -1 ? AnsiString() : Label(*labels, value));
    }
    SelectionCaptions(q, false);
}

void TJobFormDmod::RpTransItemListQCalcFields(TDataSet*) {
    TDataSet& q = *RpTransItemListQ;
    F(q, "StatusLiteral")
        .SetAsString(Label(ItemStatusLiterals, F(q, "Status").AsInteger(), "Unknown value"));
    F(q, "ItemDateString").SetAsString(ReportDateText(F(q, "ItemDate"), "  /  /  "));
}

void TJobFormDmod::ListContactsQCalcFields(TDataSet*) {
    TDataSet& q = *ListContactsQ;
    F(q, "FirstLast")
        .SetAsString(F(q, "LAST_NAME").AsString() + ", " + F(q, "FIRST_NAME").AsString());
}

void TJobFormDmod::ListContacts2QCalcFields(TDataSet*) {
    TDataSet& q = *ListContacts2Q;
    F(q, "FirstLast")
        .SetAsString(F(q, "LAST_NAME").AsString() + ", " + F(q, "FIRST_NAME").AsString());
}
