#include "EngineRun.h"
#include "ProgramModulesTest.h"

#include "platform/rtl/DateTime.h"

#include <gtest/gtest.h>

using Lines = std::vector<std::string>;

namespace {

// A transmittal and an RFI to Acme (no first street, a city line), written
// by Ann of Acme, who has a fax, an extension and an e-mail address but no
// phone or mobile of her own; a listed project with its shop job.
class JobFormReportsTest : public ProgramModulesTest {
protected:
    void SetUp() override {
        ProgramModulesTest::SetUp();
        Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME, PHONE_NBR, FAX_NBR, STREET_1, STREET_2,"
             " CITY, STATE, ZIP_5) values (1, 'P', 'Acme', '5551110000', '5559990000', NULL,"
             " 'Suite 5', 'Springfield', 'IL', '62704');"
             "insert into CONTACT (CONTACT_NBR, PUB, LAST_NAME, FIRST_NAME, COMPANY_NBR,"
             " COMPANY_PUB, EXTENSION, FAX_NBR, EMAIL) values (10, 'P', 'Smith', 'Ann', 1, 'P',"
             " '12', '5553330000', 'ann@acme.test');"
             "update WU_DFLTS set PH_PREF = 2;"
             "insert into JOB (JOB_NBR, PUB, JOB_TAG, DESCRIPTION) values (5, 'P', 'T5', 'Mill');"
             "insert into JOBS (JobNbr, JobId, JobDescr, VelmJobNbr, VelmJobPub) values"
             " (7, 'J7', 'Shop', 5, 'P');"
             "insert into TRANSMITTAL (TransmittalNbr, CompanyNbr, CompanyPub, CreatedByNbr,"
             " CreatedByPub, ContactListInd, ContactName, ShipVia, ReasBidDueDate, VelmProjectNbr,"
             " VelmProjectPub, TypeRFI, TypeLEED, TransmittalDate) values (4, 1, 'P', 10, 'P', 1,"
             " 'Bob', 7, '2024/03/07', 5, 'P', 1, 1, NULL);"
             "insert into RFI (RFINbr, CompanyNbr, CompanyPub, CreatedByNbr, CreatedByPub,"
             " ContactNbr, ContactPub, ContactListInd, Reason, CostImpact, SchedImpact, Status,"
             " VelmProjectNbr, VelmProjectPub, ReceivedDt) values (1, 1, 'P', 10, 'P', 10, 'P', 0,"
             " 4, 5, -1, 1, 5, 'P', NULL);");
    }

    Lines Engine(const std::string& Connection, const Lines& Steps) {
        Lines argv{ENGINE_EMULATOR, Namespace, Connection};
        argv.insert(argv.end(), Steps.begin(), Steps.end());
        return RunAndPump(argv);
    }

    void ExpectShown(const TDataSet& Query,
                     std::initializer_list<std::pair<const char*, const char*>> Fields) {
        for (const auto& [field, text] : Fields)
            EXPECT_EQ(Shown(Query, field), text) << Query.Name() << "." << field;
    }
};

TEST_F(JobFormReportsTest, ReportQueriesRunOnTheSchema) {
    ExpectQueriesRun(*JobForm, {"TransmittalItemsQ", "RFIsQ", "RpTransmittalsQ", "RpTransItemsQ",
                                "RpRFIsQ", "ListContactsQ", "ListContacts2Q", "RpTransListQ",
                                "RpRFIListQ", "RpTransItemListQ"});
}

TEST_F(JobFormReportsTest, DocumentFieldsOfATransmittalAndAnRfi) {
    JobForm->RpTransmittalsQ->Open();
    ExpectShown(*JobForm->RpTransmittalsQ,
                {{"Street1", "<null>"},
                 {"Street2", "Suite 5"},
                 {"CityStZip", "Springfield, IL  62704"},
                 {"ProjectName", "T5 - Mill"},
                 {"Author", "Ann Smith"},
                 // The author has no phone of her own: her company's, and her extension.
                 {"AuthorPhone", "Phone 5551110000 ext. 12"},
                 {"AuthorFax", "Fax 5553330000"},
                 {"AuthorMobile", "<null>"},
                 {"AuthorEmail", "ann@acme.test"},
                 {"ContactLiteral", "Bob"},
                 {"ShipViaLiteral", ""},
                 {"BidDueDtString", "07/03/24"},
                 {"DornName", " - "}});
    JobForm->RpRFIsQ->Open();
    ExpectShown(*JobForm->RpRFIsQ, {{"ReasonLiteral", "Insuffcient Information"},
                                    {"CostImpactLiteral", ""},
                                    {"ContactLiteral", "Ann Smith"},
                                    {"ReqByDtString", ""}});

    // A preference the formatter does not know leaves the number out.
    Exec("update WU_DFLTS set PH_PREF = 9; update CONTACT set EXTENSION = NULL");
    JobForm->RpTransmittalsQ->Close();
    JobForm->RpTransmittalsQ->Open();
    ExpectShown(*JobForm->RpTransmittalsQ, {{"AuthorPhone", "Phone "}, {"AuthorFax", "Fax "}});
}

TEST_F(JobFormReportsTest, CustomConnectionsServeTheDocumentsRowToTheEngine) {
    JobForm->RpTransmittalsQ->Open();
    EXPECT_EQ(Engine("CustTransmittalCXN", {"open", "cols", "first", "next"}),
              (Lines{"empty", "cols 3 | N=Addr1 W=30 | N=Addr2 W=30 | N=Addr3 W=30",
                     "row | \"Suite 5\" | \"Springfield, IL  62704\" | \"\"", "end"}));
    EXPECT_EQ(Engine("CustTransContInfo", {"open", "cols", "first"}),
              (Lines{"empty",
                     "cols 4 | N=AuthInfo1 W=50 | N=AuthInfo2 W=50 | N=AuthInfo3 W=50 | "
                     "N=AuthInfo4 W=50",
                     "row | \"Phone 5551110000 ext. 12\" | \"Fax 5553330000\" | "
                     "\"ann@acme.test\" | \"\""}));
}

TEST_F(JobFormReportsTest, ListCaptionsFollowTheSelection) {
    TQuery& trans = *JobForm->RpTransListQ;
    TQuery& rfis = *JobForm->RpRFIListQ;
    trans.Open();
    rfis.Open();
    ExpectShown(trans, {{"TransDateLiteral", "  /  /  "},
                        {"Author", "Ann Smith"},
                        {"ContactLiteral", "Bob"},
                        {"ProjectName", "J7 - Shop"},
                        {"TypeLiteral", "RFI; LEED"},
                        {"ReasonLiteral", ""},
                        {"SelectedInclude", "Archived Projects Excluded"},
                        {"SelectedFilterOne", "<null>"},
                        {"SelectedFilterTwo", "<null>"},
                        {"SelectedSort", "Job ID, Transmittal Number"}});
    ExpectShown(rfis, {{"SelectedSort", "Job ID, RFI Number"},
                       {"ReceivedDateLiteral", "  /  /  "},
                       {"StatusLiteral", "Open"},
                       {"CostImpactLiteral", ""},
                       {"SchedImpactLiteral", ""}});

    JobForm->FilterOneKind = 7;
    JobForm->FilterOneFromDate = EncodeDate(2024, 3, 1);
    JobForm->FilterOneToDate = EncodeDate(2024, 3, 31);
    JobForm->FilterTwoKind = 11;
    JobForm->FilterTwoText = "ignored";
    JobForm->IncludeArchived = 1;
    JobForm->SortOneKind = 5;
    JobForm->SortTwoKind = 9;
    trans.Close();
    trans.Open();
    rfis.Close();
    rfis.Open();
    ExpectShown(trans, {{"SelectedFilterOne", "Transmittal Date range  01/03/24 to 31/03/24"},
                        {"SelectedFilterTwo", "<null>"},
                        {"SelectedInclude", "Archived Projects Included"},
                        {"SelectedSort", "Transmittal Company"}});
    ExpectShown(rfis, {{"SelectedFilterOne", "RFI Date range  01/03/24 to 31/03/24"},
                       {"SelectedFilterTwo", "Late RFIs"},
                       {"SelectedSort", "RFI Status"}});

    JobForm->ListContactsQ->Open();
    ExpectShown(*JobForm->ListContactsQ, {{"FirstLast", "Smith, Ann"}});
}

} // namespace
