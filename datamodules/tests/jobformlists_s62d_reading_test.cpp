// The job-form module's list reports: the transmittal, RFI and transmittal
// item lists with their calculated texts and selection captions, and the
// contact lists' name field.
#include "ProgramModulesTest.h"

#include "EngineRun.h"
#include "platform/rtl/DateTime.h"

#include <functional>

namespace {

using Lines = std::vector<std::string>;

class JobFormListsTest : public ProgramModulesTest {
protected:
    void SetUp() override {
        ProgramModulesTest::SetUp();
        Exec(
            "INSERT INTO JOB (JOB_NBR, PUB, JOB_TAG, DESCRIPTION) VALUES (30, 'P', 'T1', 'Tower')");
        Exec("INSERT INTO JOB_STATUS (JobStatusNbr, JobStatus) VALUES (1, 'Open')");
        Exec("INSERT INTO JOBS (JobNbr, JobId, JobDescr, JobStatusNbr, VelmJobNbr, VelmJobPub) "
             "VALUES (5, 'J-5', 'Tower works', 1, 30, 'P')");
        Exec("INSERT INTO CONTACT (CONTACT_NBR, PUB, LAST_NAME, FIRST_NAME) VALUES "
             "(20, 'P', 'Smith', 'Ann'), (21, 'P', 'Ode', 'Cy')");
        Exec("INSERT INTO TRANSMITTAL (TransmittalNbr, TransmittalDate, VelmProjectNbr, "
             "VelmProjectPub, ContactNbr, ContactPub, ContactName, CreatedByNbr, CreatedByPub, "
             "TypeRFI, TypeLEED, ReasForApproval, ReasForOther, ReasOtherText, ReasForBidsDue) "
             "VALUES (1, '2024-03-07', 30, 'P', 21, 'P', 'Bob', 20, 'P', 1, 1, 1, 1, 'Spec', 1)");
        Exec("INSERT INTO RFI (RFINbr, RFIDate, VelmProjectNbr, VelmProjectPub, ContactNbr, "
             "ContactPub, ContactName, CreatedByNbr, CreatedByPub, Status, Reason, "
             "ReasonOtherText, CostImpact, SchedImpact, RequiredByDt, ReceivedDt) VALUES "
             "(1, '2024-03-07', 30, 'P', NULL, 'P', 'Bob', NULL, 'P', 1, 7, 'Clash', -1, 2, "
             "'2024-04-01', NULL)");
    }

    // The named fields' texts on the first row of Query, opened afresh.
    static Lines Fields(TQuery* Query, const Lines& Names) {
        Query->Close();
        Query->Open();
        Lines shown;
        for (const auto& name : Names)
            shown.push_back(name + "=" + Query->FieldByName(name.c_str())->AsString().c_str());
        return shown;
    }
};

TEST_F(JobFormListsTest, TransmittalRowTexts) {
    EXPECT_EQ(
        Fields(JobForm->RpTransListQ,
               {"TransDateLiteral", "Author", "ContactLiteral", "ProjectName", "TypeLiteral",
                "ReasonLiteral", "SelectedInclude", "SelectedFilterOne", "SelectedFilterTwo",
                "SelectedSort", "JobStatus"}),
        (Lines{"TransDateLiteral=07/03/24", "Author=Ann Smith", "ContactLiteral=Cy Ode",
               "ProjectName=J-5 - Tower works", "TypeLiteral=RFI; LEED",
               "ReasonLiteral=Approval; Spec; Bids due",
               "SelectedInclude=Archived Projects Excluded", "SelectedFilterOne=",
               "SelectedFilterTwo=", "SelectedSort=Job ID, Transmittal Number", "JobStatus=Open"}));
    Exec("UPDATE TRANSMITTAL SET TransmittalDate = NULL, ContactNbr = NULL, CreatedByNbr = NULL, "
         "TypeRFI = 1, TypeLEED = 0, TypeOther = 1, TypeOtherText = '', ReasForApproval = 0, "
         "ReasForOther = 0, ReasForBidsDue = 0");
    Exec("UPDATE JOBS SET JobId = NULL");
    // The other-text entry adds only its separator; then the last two
    // characters of the whole text go.
    EXPECT_EQ(Fields(JobForm->RpTransListQ, {"TransDateLiteral", "Author", "ContactLiteral",
                                             "ProjectName", "TypeLiteral", "ReasonLiteral"}),
              (Lines{"TransDateLiteral=  /  /  ", "Author=", "ContactLiteral=Bob",
                     "ProjectName=Tower works", "TypeLiteral=RFI; ", "ReasonLiteral="}));
    // People who are not found read as a lone space.
    Exec("UPDATE TRANSMITTAL SET ContactNbr = 98, CreatedByNbr = 99");
    EXPECT_EQ(Fields(JobForm->RpTransListQ, {"Author", "ContactLiteral"}),
              (Lines{"Author= ", "ContactLiteral= "}));
}

TEST_F(JobFormListsTest, RfiRowTexts) {
    EXPECT_EQ(Fields(JobForm->RpRFIListQ,
                     {"RFIDateLiteral", "ReqByDateLiteral", "ReceivedDateLiteral", "Author",
                      "ContactLiteral", "ProjectName", "StatusLiteral", "ReasonLiteral",
                      "CostImpactLiteral", "SchedImpactLiteral", "SelectedSort"}),
              (Lines{"RFIDateLiteral=07/03/24", "ReqByDateLiteral=01/04/24",
                     "ReceivedDateLiteral=  /  /  ", "Author=", "ContactLiteral=Bob",
                     "ProjectName=J-5 - Tower works", "StatusLiteral=Open", "ReasonLiteral=Clash",
                     "CostImpactLiteral=", "SchedImpactLiteral=Time Decrease",
                     "SelectedSort=Job ID, RFI Number"}));
    // Codes outside the label tables still give a row.
    Exec("UPDATE RFI SET Status = 3, Reason = 9, CostImpact = 4, SchedImpact = -2");
    const auto texts = Fields(JobForm->RpRFIListQ, {"StatusLiteral", "ReasonLiteral"});
    EXPECT_EQ(texts.size(), 2u);
    Exec("UPDATE RFI SET Status = 2, Reason = 4, CostImpact = 3");
    EXPECT_EQ(Fields(JobForm->RpRFIListQ, {"StatusLiteral", "ReasonLiteral", "CostImpactLiteral"}),
              (Lines{"StatusLiteral=Closed", "ReasonLiteral=Insufficient Information",
                     "CostImpactLiteral=Unknown"}));
}

// Each case sets the selection members, then reads both lists' captions.
TEST_F(JobFormListsTest, SelectionCaptions) {
    struct Case {
        const char* What;
        std::function<void(TJobFormDmod&)> Set;
        Lines Transmittal; // include, filter one, filter two, sort
        Lines Rfi;
    };
    const auto march = [](TJobFormDmod& M) {
        M.FilterOneFromDate = EncodeDate(2024, 3, 1);
        M.FilterOneToDate = EncodeDate(2024, 3, 31);
        M.FilterTwoFromDate = EncodeDate(2024, 4, 1);
        M.FilterTwoToDate = EncodeDate(2024, 4, 30);
        M.FilterOneText = "Ab";
        M.FilterTwoText = "Cd";
    };
    const std::vector<Case> cases = {
        {"archived",
         [](TJobFormDmod& M) { M.IncludeArchived = 1; },
         {"Archived Projects Included", "", "", "Job ID, Transmittal Number"},
         {"Archived Projects Included", "", "", "Job ID, RFI Number"}},
        {"archived other than 1",
         [](TJobFormDmod& M) { M.IncludeArchived = 2; },
         {"Archived Projects Excluded", "", "", "Job ID, Transmittal Number"},
         {"Archived Projects Excluded", "", "", "Job ID, RFI Number"}},
        {"date ranges",
         [&](TJobFormDmod& M) {
             march(M);
             M.FilterOneKind = 7;
             M.FilterTwoKind = 7;
         },
         {"Archived Projects Excluded", "Transmittal Date range  01/03/24 to 31/03/24",
          "Transmittal Date range  01/04/24 to 30/04/24", "Job ID, Transmittal Number"},
         {"Archived Projects Excluded", "RFI Date range  01/03/24 to 31/03/24",
          "RFI Date range  01/04/24 to 30/04/24", "Job ID, RFI Number"}},
        {"texts",
         [&](TJobFormDmod& M) {
             march(M);
             M.FilterOneKind = 1;
             M.FilterTwoKind = 9;
             M.SortOneKind = 5;
             M.SortTwoKind = 4;
         },
         {"Archived Projects Excluded", "Job ID like: Ab", "Transmittal Reason: Cd",
          "Transmittal Company, Transmittal Contact"},
         {"Archived Projects Excluded", "Job ID like: Ab", "RFI Reason: Cd",
          "RFI Status, RFI Company"}},
        {"kinds only the RFI list knows",
         [&](TJobFormDmod& M) {
             march(M);
             M.FilterOneKind = 11;
             M.FilterTwoKind = 10;
             M.DatePreference = 1;
             M.SortOneKind = 7;
             M.SortTwoKind = 8;
         },
         {"Archived Projects Excluded", "", "", ""},
         {"Archived Projects Excluded", "Late RFIs", "Required By Date range  04/01/24 to 04/30/24",
          "RFI Contact, RFI Received Date"}},
        {"kinds and sorts outside the tables",
         [&](TJobFormDmod& M) {
             march(M);
             M.FilterOneKind = 15;
             M.FilterTwoKind = -1;
             M.SortOneKind = 8;
             M.SortTwoKind = 9;
         },
         {"Archived Projects Excluded", "", "", ""},
         {"Archived Projects Excluded", "", "", ""}},
        {"the last kinds",
         [&](TJobFormDmod& M) {
             march(M);
             M.FilterOneKind = 12;
             M.FilterTwoKind = 14;
             M.SortOneKind = 6;
             M.SortTwoKind = 0;
         },
         {"Archived Projects Excluded", "", "", ", Transmittal Number"},
         {"Archived Projects Excluded", "Received Date range  01/03/24 to 31/03/24",
          "Schedule Impact: Cd", "RFI Company, RFI Number"}},
    };
    const Lines names{"SelectedInclude", "SelectedFilterOne", "SelectedFilterTwo", "SelectedSort"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        JobForm->IncludeArchived = 0;
        JobForm->FilterOneKind = JobForm->FilterTwoKind = 0;
        JobForm->SortOneKind = JobForm->SortTwoKind = 0;
        JobForm->DatePreference = 0;
        c.Set(*JobForm);
        auto strip = [&](Lines L) {
            for (std::size_t i = 0; i < L.size(); ++i)
                L[i] = L[i].substr(names[i].size() + 1);
            return L;
        };
        EXPECT_EQ(strip(Fields(JobForm->RpTransListQ, names)), c.Transmittal);
        EXPECT_EQ(strip(Fields(JobForm->RpRFIListQ, names)), c.Rfi);
    }
}

TEST_F(JobFormListsTest, ItemAndContactLists) {
    Exec("INSERT INTO TRANSMITTAL_ITEM (TransmittalItemNbr, TransmittalNbr, ItemDate, Status) "
         "VALUES (1, 1, '2024-03-07', 0), (2, 1, NULL, 3), (3, 1, NULL, 7)");
    auto* items = JobForm->RpTransItemListQ;
    items->Open();
    Lines shown;
    for (items->First(); !items->Eof(); items->Next())
        shown.push_back(std::string(items->FieldByName("StatusLiteral")->AsString().c_str()) + "|" +
                        items->FieldByName("ItemDateString")->AsString().c_str());
    EXPECT_EQ(shown,
              (Lines{"Pending|07/03/24", "Revise & Resubmit|  /  /  ", "Unknown value|  /  /  "}));
    for (TQuery* contacts : {JobForm->ListContactsQ, JobForm->ListContacts2Q}) {
        contacts->Open();
        EXPECT_EQ(contacts->FieldByName("FirstLast")->AsString(), "Smith, Ann");
    }
}

// The engine reads the lists' calculated columns like any other.
TEST_F(JobFormListsTest, ListsThroughTheEngine) {
    Lines argv{ENGINE_EMULATOR, Namespace, "RvTransListQSP", "open", "cols", "first", "next"};
    const auto out = RunAndPump(argv);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[1].substr(0, 8), "cols 74 ");
    EXPECT_NE(out[2].find("\"RFI; LEED\""), std::string::npos) << out[2];
    EXPECT_NE(out[2].find("\"Job ID, Transmittal Number\""), std::string::npos) << out[2];
    EXPECT_EQ(out[3], "end");
}

} // namespace
