// The job-form module's single-document reports as a report engine reads
// them: the document queries' calculated fields, the four one-row address and
// contact connections built from them, and the transmittal item status text.
#include "ProgramModulesTest.h"

#include "EngineRun.h"
#include "reportconn/DcDataSetConnection.h"

#include <functional>

namespace {

using Lines = std::vector<std::string>;

class JobFormDocumentsTest : public ProgramModulesTest {
protected:
    void SetUp() override {
        ProgramModulesTest::SetUp();
        Exec("INSERT INTO WU_DFLTS (PH_PREF) VALUES (2)");
        Exec("INSERT INTO COMPANY (COMPANY_NBR, PUB, NAME, PHONE_NBR, FAX_NBR, STREET_1, "
             "STREET_2, CITY, STATE, ZIP_5) VALUES (10, 'P', 'Acme', '555-0100', '555-0101', "
             "NULL, 'Suite 5', 'Springfield', 'IL', '62704')");
        Exec("INSERT INTO CONTACT (CONTACT_NBR, PUB, LAST_NAME, FIRST_NAME, COMPANY_NBR, "
             "COMPANY_PUB, EXTENSION, PHONE_NBR, FAX_NBR, MOBILE_NBR, EMAIL) VALUES "
             "(20, 'P', 'Lee', 'Ann', 10, 'P', '12', NULL, '555-0199', NULL, 'ann@x.com')");
        Exec("INSERT INTO CONTACT (CONTACT_NBR, PUB, LAST_NAME, FIRST_NAME) VALUES "
             "(21, 'P', 'Ode', 'Cy')");
        Exec("INSERT INTO JOB (JOB_NBR, PUB, JOB_TAG, DESCRIPTION, GCJobNbr) VALUES "
             "(30, 'P', 'T1', 'Tower', 'GC-9')");
        Exec("INSERT INTO TRANSMITTAL (TransmittalNbr, VelmProjectNbr, VelmProjectPub, CompanyNbr, "
             "CompanyPub, ContactNbr, ContactPub, ContactName, ContactListInd, CreatedByNbr, "
             "CreatedByPub, ShipVia, ReasBidDueDate) VALUES (4, 30, 'P', 10, 'P', 21, 'P', 'Bob', "
             "1, 20, 'P', 7, '2024-03-07')");
        Exec("INSERT INTO RFI (RFINbr, VelmProjectNbr, VelmProjectPub, CompanyNbr, CompanyPub, "
             "ContactNbr, ContactPub, ContactName, ContactListInd, CreatedByNbr, CreatedByPub, "
             "Reason, CostImpact, SchedImpact, RequiredByDt) VALUES (1, NULL, 'P', 10, 'P', 21, "
             "'P', 'Bob', 0, 20, 'P', 4, 5, 1, NULL)");
    }

    Lines Engine(const std::string& Connection, const Lines& Steps) {
        Lines argv{ENGINE_EMULATOR, Namespace, Connection};
        argv.insert(argv.end(), Steps.begin(), Steps.end());
        return RunAndPump(argv);
    }

    // The named fields of the query's current row.
    static Lines Fields(const TDataSet& Query, const Lines& Names) {
        Lines shown;
        for (const auto& name : Names)
            shown.push_back(name + "=" + Shown(Query, name.c_str()).c_str());
        return shown;
    }
};

TEST_F(JobFormDocumentsTest, TenConnectionsListenFromCreation) {
    const std::vector<std::pair<reportconn::TDcCustomConnection*, TQuery*>> connections = {
        {JobForm->RvTransmittalQ, JobForm->RpTransmittalsQ},
        {JobForm->CustTransmittalCXN, nullptr},
        {JobForm->RvRFIsQ, JobForm->RpRFIsQ},
        {JobForm->CustomRFIsCXN, nullptr},
        {JobForm->RvTransItemsQ, JobForm->RpTransItemsQ},
        {JobForm->CustTransContInfo, nullptr},
        {JobForm->CustRFIContInfo, nullptr},
        {JobForm->RvTransListQSP, JobForm->RpTransListQ},
        {JobForm->RvRFIListQSP, JobForm->RpRFIListQ},
        {JobForm->RvTransItemListQSP, JobForm->RpTransItemListQ},
    };
    for (const auto& [connection, query] : connections) {
        ASSERT_NE(connection, nullptr);
        SCOPED_TRACE(connection->Name().c_str());
        EXPECT_EQ(connection->RuntimeVisibility(), reportconn::rtDeveloper);
        EXPECT_TRUE(connection->Listening());
        auto* served = dynamic_cast<reportconn::TDcQueryConnection*>(connection);
        EXPECT_EQ(served ? served->Query() : nullptr, query);
    }
}

TEST_F(JobFormDocumentsTest, DocumentFieldsOfATransmittal) {
    JobForm->RpTransmittalsQ->Open();
    EXPECT_EQ(
        Fields(*JobForm->RpTransmittalsQ,
               {"Street1", "Street2", "CityStZip", "ProjectName", "GCJob Nbr", "DornName", "Author",
                "AuthorPhone", "AuthorFax", "AuthorMobile", "AuthorPager", "AuthorEmail",
                "ContactLiteral", "ShipViaLiteral", "BidDueDtString", "ProjectID", "DornJobId"}),
        (Lines{"Street1=<null>", "Street2=Suite 5", "CityStZip=Springfield, IL  62704",
               "ProjectName=T1 - Tower", "GCJob Nbr=GC-9", "DornName= - ", "Author=Ann Lee",
               "AuthorPhone=Phone 555-0100 ext. 12", "AuthorFax=Fax 555-0199",
               "AuthorMobile=<null>", "AuthorPager=<null>", "AuthorEmail=ann@x.com",
               "ContactLiteral=Bob", "ShipViaLiteral=", "BidDueDtString=07/03/24",
               "ProjectID=<null>", "DornJobId=<null>"}));
}

// A calculated text longer than its field is cut to the field's size.
TEST_F(JobFormDocumentsTest, LongTextsAreCutToTheField) {
    Exec("UPDATE JOB SET DESCRIPTION = 'Forty characters of project description'");
    JobForm->RpTransmittalsQ->Open();
    EXPECT_EQ(Shown(*JobForm->RpTransmittalsQ, "ProjectName"),
              "T1 - Forty characters of project descrip");
}

TEST_F(JobFormDocumentsTest, ProjectAndShopJobNames) {
    Exec("UPDATE JOB SET JOB_TAG = NULL");
    Exec("INSERT INTO JOBS (JobNbr, JobId, JobDescr) VALUES (5, 'J-5', 'Tower works')");
    JobForm->ReportJobNbr = 5;
    JobForm->RpTransmittalsQ->Open();
    EXPECT_EQ(Fields(*JobForm->RpTransmittalsQ, {"ProjectName", "DornName"}),
              (Lines{"ProjectName=Tower", "DornName=J-5 - Tower works"}));
}

TEST_F(JobFormDocumentsTest, DocumentFieldsOfAnRfi) {
    JobForm->RpRFIsQ->Open();
    EXPECT_EQ(Fields(*JobForm->RpRFIsQ,
                     {"ProjectName", "GCJobNbr", "ContactLiteral", "ReasonLiteral",
                      "CostImpactLiteral", "SchedImpactLiteral", "ReqByDtString", "Author"}),
              (Lines{"ProjectName=", "GCJobNbr=<null>", "ContactLiteral=Cy Ode",
                     "ReasonLiteral=Insuffcient Information", "CostImpactLiteral=",
                     "SchedImpactLiteral=Time Increase", "ReqByDtString=", "Author=Ann Lee"}));
}

// The labels by code, one query row per code.
TEST_F(JobFormDocumentsTest, LiteralsByCode) {
    struct Case {
        const char* Column;
        const char* Field;
        std::vector<std::pair<int, const char*>> Codes;
    };
    const std::vector<Case> transmittal = {{"ShipVia",
                                            "ShipViaLiteral",
                                            {{0, "Email"},
                                             {1, "US Mail"},
                                             {2, "UPS"},
                                             {3, "FedEx"},
                                             {4, "Courier"},
                                             {5, "DHL"},
                                             {6, "Hand Deliver"},
                                             {-1, ""}}}};
    const std::vector<Case> rfi = {
        {"Reason",
         "ReasonLiteral",
         {{0, "Request For Information"},
          {3, "Request For Substitution"},
          {5, "Alternate Proposal"},
          {6, "Engineering Conflict"},
          {7, "Other"},
          {8, ""}}},
        {"CostImpact",
         "CostImpactLiteral",
         {{0, "None"}, {1, "Cost Increase"}, {2, "Cost Decrease"}, {3, "Unknown"}, {-1, ""}}},
        {"SchedImpact",
         "SchedImpactLiteral",
         {{0, "None"}, {2, "Time Decrease"}, {3, "Unknown"}, {4, ""}}}};
    auto check = [&](const char* Table, const char* Key, TQuery* Query,
                     const std::vector<Case>& Cases) {
        for (const auto& c : Cases)
            for (const auto& [code, text] : c.Codes) {
                SCOPED_TRACE(std::string(c.Column) + " " + std::to_string(code));
                Exec(std::string("UPDATE ") + Table + " SET " + c.Column + " = " +
                     std::to_string(code) + " WHERE " + Key + " IN (1, 4)");
                Query->Close();
                Query->Open();
                EXPECT_EQ(Shown(*Query, c.Field), text);
            }
    };
    check("TRANSMITTAL", "TransmittalNbr", JobForm->RpTransmittalsQ, transmittal);
    check("RFI", "RFINbr", JobForm->RpRFIsQ, rfi);
}

TEST_F(JobFormDocumentsTest, AuthorLinesFollowThePhonePreference) {
    struct Case {
        const char* What;
        const char* Sql;
        Lines Expected;
    };
    const std::vector<Case> cases = {
        {"unknown preference",
         "UPDATE WU_DFLTS SET PH_PREF = 9",
         {"AuthorPhone=Phone  ext. 12", "AuthorFax=Fax ", "AuthorMobile=<null>"}},
        {"own phone, no extension, a mobile",
         "UPDATE CONTACT SET PHONE_NBR = '555-0142', EXTENSION = NULL, MOBILE_NBR = '555-0143'",
         {"AuthorPhone=Phone 555-0142", "AuthorFax=Fax 555-0199", "AuthorMobile=Cell 555-0143"}},
        {"no defaults row",
         "DELETE FROM WU_DFLTS",
         {"AuthorPhone=Phone  ext. 12", "AuthorFax=Fax ", "AuthorMobile=<null>"}},
        {"author not found",
         "UPDATE TRANSMITTAL SET CreatedByNbr = 99",
         {"Author= ", "AuthorPhone=Phone ", "AuthorFax=Fax ", "AuthorMobile=<null>",
          "AuthorEmail=<null>"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        Exec("DELETE FROM WU_DFLTS");
        Exec("INSERT INTO WU_DFLTS (PH_PREF) VALUES (2)");
        Exec("UPDATE CONTACT SET PHONE_NBR = NULL, EXTENSION = '12', MOBILE_NBR = NULL "
             "WHERE CONTACT_NBR = 20");
        Exec(c.Sql);
        JobForm->RpTransmittalsQ->Close();
        JobForm->RpTransmittalsQ->Open();
        Lines names{"AuthorPhone", "AuthorFax", "AuthorMobile"};
        if (c.Expected.size() > 3)
            names = {"Author", "AuthorPhone", "AuthorFax", "AuthorMobile", "AuthorEmail"};
        EXPECT_EQ(Fields(*JobForm->RpTransmittalsQ, names), c.Expected);
    }
}

// The engine opens the document query through its connection, then reads the
// one-row address and contact sets built from the row it stands on.
TEST_F(JobFormDocumentsTest, AddressAndContactRowsThroughTheEngine) {
    const auto doc = Engine("RvTransmittalQ", {"open", "cols", "first"});
    ASSERT_EQ(doc.size(), 3u);
    EXPECT_EQ(doc[1].substr(0, 8), "cols 71 ");
    EXPECT_NE(doc[1].find(" | N=GCJob Nbr W=31 | "), std::string::npos) << doc[1];
    EXPECT_EQ(
        Engine("CustTransmittalCXN", {"handshake", "open", "cols", "first", "next"}),
        (Lines{"handshake CustTransmittalCXN runtime=1 version=30003 visibility=1 identity=set",
               "empty", "cols 3 | N=Addr1 W=30 | N=Addr2 W=30 | N=Addr3 W=30",
               "row | \"Suite 5\" | \"Springfield, IL  62704\" | \"\"", "end"}));
    EXPECT_EQ(
        Engine("CustTransContInfo", {"open", "cols", "first"}),
        (Lines{"empty",
               "cols 4 | N=AuthInfo1 W=50 | N=AuthInfo2 W=50 | N=AuthInfo3 W=50 | N=AuthInfo4 W=50",
               "row | \"Phone 555-0100 ext. 12\" | \"Fax 555-0199\" | \"ann@x.com\" | \"\""}));
    // A mobile number takes the third line; a pager number is never served.
    Exec("UPDATE CONTACT SET MOBILE_NBR = '555-0143', PAGER_NBR = '555-0144' WHERE CONTACT_NBR = "
         "20");
    Engine("RvTransmittalQ", {"restore", "open", "first"});
    EXPECT_EQ(Shown(*JobForm->RpTransmittalsQ, "AuthorPager"), "Pager 555-0144");
    EXPECT_EQ(Engine("CustTransContInfo", {"open", "cols", "first"}).at(2),
              "row | \"Phone 555-0100 ext. 12\" | \"Fax 555-0199\" | \"Cell 555-0143\" | "
              "\"ann@x.com\"");
    // A company without a city: the city line is an empty value after the streets.
    Exec("UPDATE COMPANY SET STREET_1 = 'Main St', CITY = NULL");
    Engine("RvRFIsQ", {"open", "first"});
    EXPECT_EQ(Engine("CustomRFIsCXN", {"open", "cols", "first"}).at(2),
              "row | \"Main St\" | \"Suite 5\" | \"\"");
    EXPECT_EQ(Engine("CustRFIContInfo", {"open", "cols", "first"}).at(2),
              "row | \"Phone 555-0100 ext. 12\" | \"Fax 555-0199\" | \"Cell 555-0143\" | "
              "\"ann@x.com\"");
    // A recipient company that is not found leaves every address field unset.
    Exec("UPDATE RFI SET CompanyNbr = 77");
    Engine("RvRFIsQ", {"restore", "open", "first"});
    EXPECT_EQ(Engine("CustomRFIsCXN", {"open", "cols", "first"}).at(2), "row | \"\" | \"\" | \"\"");
}

// Errors reach the connection server, which answers and goes on serving.
TEST_F(JobFormDocumentsTest, FailuresStillGetAnAnswer) {
    // The document query is closed: the custom row has nothing to stand on
    // and is served empty.
    EXPECT_EQ(
        Engine("CustTransContInfo", {"open", "cols", "first", "next"}),
        (Lines{"empty",
               "cols 4 | N=AuthInfo1 W=50 | N=AuthInfo2 W=50 | N=AuthInfo3 W=50 | N=AuthInfo4 W=50",
               "row | \"\" | \"\" | \"\" | \"\"", "end"}));
    // A lookup's table is missing: the row's calculation fails.
    Exec("DROP TABLE WU_DFLTS");
    const auto out = Engine("RvTransmittalQ", {"open", "cols", "first", "restore"});
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[1].substr(0, 8), "cols 71 ");
    EXPECT_EQ(out[2], "empty");
    EXPECT_EQ(out[3], "empty");
    // The restore puts the query back as it was before the engine came.
    EXPECT_FALSE(JobForm->RpTransmittalsQ->Active());
    EXPECT_FALSE(JobForm->RpTransmittalsQ->ControlsDisabled());
    Exec("CREATE TABLE WU_DFLTS (PH_PREF INTEGER)");
    EXPECT_EQ(Engine("RvTransmittalQ", {"open", "cols", "first", "restore"}).at(2).substr(0, 7),
              "row | 4");
}

TEST_F(JobFormDocumentsTest, ItemStatusAndDateTexts) {
    Exec("INSERT INTO TRANSMITTAL_ITEM (TransmittalItemNbr, TransmittalNbr, ItemDate, Status) "
         "VALUES (1, 99, '2024-03-07', 0), (2, 99, NULL, 1), (3, 99, NULL, 2), (4, 99, NULL, 3), "
         "(5, 99, NULL, 4)");
    auto* items = JobForm->TransmittalItemsQ;
    items->Open();
    Lines shown;
    for (items->First(); !items->Eof(); items->Next())
        shown.push_back(items->FieldByName("Status")->DisplayText().c_str());
    EXPECT_EQ(shown,
              (Lines{"Pending", "Approved", "Rejected", "Revise & Resubmit", "Unknown value"}));
    JobForm->RpTransItemsQ->Open();
    Lines dates;
    for (JobForm->RpTransItemsQ->First(); !JobForm->RpTransItemsQ->Eof();
         JobForm->RpTransItemsQ->Next())
        dates.push_back(Shown(*JobForm->RpTransItemsQ, "ItemDateDtString").c_str());
    EXPECT_EQ(dates, (Lines{"07/03/24", "", "", "", ""}));
    JobForm->DatePreference = 1;
    JobForm->RpTransItemsQ->Close();
    JobForm->RpTransItemsQ->Open();
    EXPECT_EQ(Shown(*JobForm->RpTransItemsQ, "ItemDateDtString"), "03/07/24");
    Exec("DELETE FROM TRANSMITTAL_ITEM");
    items->Close();
    items->Open();
    AnsiString text = "stale";
    JobForm->TransmittalItemsQStatusGetText(items->FieldByName("Status"), text, true);
    EXPECT_EQ(text, "");
}

} // namespace
