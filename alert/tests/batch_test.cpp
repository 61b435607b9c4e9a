#include "EngineTest.h"
#include "alert/AlertIntake.h"
#include "alert/AlertProcessing.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace {

// The shop lookups with a live job lookup that fails, as a locked table
// does, as often as asked.
class FailingJobLookups : public CountingLookups {
public:
    using CountingLookups::CountingLookups;
    TDataSet& SelectJob(int JobNbr) override {
        if (Failures > 0) {
            --Failures;
            throw Exception("database table is locked");
        }
        return CountingLookups::SelectJob(JobNbr);
    }
    int Failures = 0;
};

// Employee 3's alert 1 on job 10 at 60% of its labour budget and 40% done.
const std::string JobOverBudgetAlert =
    "3|1|Job % of labor budget is 60% which is 50.00% higher than percent complete of 40.\nJob: "
    "J-100 - Tower.";

class BatchTest : public EngineTest {
protected:
    // Adds a pending transaction; Columns and Values are the extra columns.
    void AddTransaction(int Token, int AlertId, const std::string& Columns = "",
                        const std::string& Values = "") {
        Exec(Format("insert into ALERT_TRANSACTION (AlertTransToken, AlertNbr, EventTimeStamp, "
                    "EmpNbrGeneratedTrans%s) values (%d, %d, '2024/05/06 09:30:00', 8%s);",
                    Columns.empty() ? "" : ", " + Columns, Token, AlertId,
                    Values.empty() ? "" : ", " + Values));
    }
    void Batch() {
        CheckAlertSettingMarkers(*Context);
        ScanAlertTransactions(*Context);
    }
    std::string Pending() {
        return Text("select group_concat(AlertTransToken) from ALERT_TRANSACTION");
    }

    void SetUp() override {
        EngineTest::SetUp();
        Exec(
            "insert into EMPLOYEE (EmpNbr, Fname, Lname) values (8, 'Bob', 'Ray');"
            "insert into JOBS (JobNbr, JobId, JobDescr, CompanyNbr, JobStatusNbr, PercentBudget, "
            "PercentComp, ProjManagerId) values (10, 'J-100', 'Tower', 1, 1, 60, 40, 3), "
            "(12, 'J-120', 'Annex', 1, 1, 0, 0, 4), (13, 'J-130', 'Depot', 1, 1, 0, 0, 4);"
            "insert into JOB_ITEM (JobItemNbr, JobNbr, ItemNbr, JobItemDescr) values "
            "(20, 10, '2', 'Lobby'), (22, 12, '1', 'Hall'), (23, 13, '1', 'Yard');"
            "insert into WO (WoNbr, JobNbr, JobItemNbr, StatusChgInd, ChangedByScheduler) values "
            "(30, 10, 20, 1, 1), (31, NULL, 20, 0, 0);"
            "insert into PURCHASE_ORDER (POnbr) values (41);"
            "insert into PO_ITEM (PoItemNbr, PoNbr) values (81, 41), (82, 41), (83, 41);"
            "insert into PO_ITEM_JOB (PoItemNbr, JobItemNbr) values (81, 20), (82, 22), (83, 23);");
    }
};

TEST_F(BatchTest, ParentKeysAreCompletedFromTheWorkOrderOrJobItem) {
    AddSetting({.AlertId = 21, .EmpNbr = 3, .Source = 10});
    AddTransaction(1, 21, "WoNbr", "30");
    AddTransaction(2, 21, "WoNbr", "31");                 // work order without a job
    AddTransaction(3, 21, "JobItemNbr, WoNbr", "22, 30"); // job from the job item
    AddTransaction(4, 21, "JobNbr, WoNbr", "13, 30");     // job given: the job item still comes
    Batch();
    EXPECT_EQ(Text("select group_concat(IFNULL(JobNbr, '-') || '/' || IFNULL(JobItemNbr, '-') || "
                   "'/' || WoNbr, ' ') from ALERT_HISTORY"),
              "10/20/30 -/20/31 12/22/30 13/20/30");
    // Reading the work order cleared its change flags.
    EXPECT_EQ(Text("select StatusChgInd || ChangedByScheduler from WO where WoNbr = 30"), "00");
    EXPECT_EQ(Pending(), "");
}

TEST_F(BatchTest, ThresholdFiresOnceAndNotAgainAfterTheSnapshotRefresh) {
    AddSetting({.AlertId = 1, .EmpNbr = 3, .Source = 1, .Groups = {{70}, {30}}});
    AddTransaction(1, 1, "JobNbr", "10");
    Batch();
    Main->RefreshAlertThresholds();
    AddTransaction(2, 1, "JobNbr", "10");
    Batch();
    EXPECT_EQ(History(), std::vector<std::string>{JobOverBudgetAlert});
    ASSERT_EQ(Host.Generated.size(), 1u);
    EXPECT_EQ(Pending(), "");

    // A further rise crosses 70 as well, once.
    Exec("update JOBS set PercentBudget = 80 where JobNbr = 10;");
    AddTransaction(3, 1, "JobNbr", "10");
    Batch();
    Main->RefreshAlertThresholds();
    AddTransaction(4, 1, "JobNbr", "10");
    Batch();
    EXPECT_EQ(History().size(), 2u);
}

TEST_F(BatchTest, AThresholdTransactionThatFailedOnceFiresOnItsRetry) {
    AddSetting({.AlertId = 1, .EmpNbr = 3, .Source = 1, .Groups = {{30}}});
    // At the last snapshot job 10 was 25% over budget (below 30), now it is 50%.
    Exec("update JOBS set PercentBudget = 50 where JobNbr = 10;");
    Main->RefreshAlertThresholds();
    Exec("update JOBS set PercentBudget = 60 where JobNbr = 10;"
         "update JOBS set PercentBudget = 5, PercentComp = 4 where JobNbr = 12;");
    AddTransaction(1, 1, "JobNbr", "10");

    FailingJobLookups failing(*Modules);
    failing.Failures = 1;
    AlertContext failingContext(Host, *Main, failing);
    CheckAlertSettingMarkers(failingContext);
    ScanAlertTransactions(failingContext);
    Main->RefreshAlertThresholds();
    EXPECT_EQ(Pending(), "1");
    EXPECT_TRUE(History().empty());
    // The pending transaction's job keeps its snapshot; the others follow.
    EXPECT_EQ(Text("select group_concat(JobNbr || ':' || PercentBudget, ' ') from "
                   "ALERT_THRESHOLD_JOBS where JobNbr in (10, 12)"),
              "10:50 12:5");

    Batch(); // the retry
    Main->RefreshAlertThresholds();
    AddTransaction(2, 1, "JobNbr", "10");
    Batch();
    EXPECT_EQ(History(), std::vector<std::string>{JobOverBudgetAlert});
    EXPECT_EQ(Pending(), "");
}

TEST_F(BatchTest, OrderAlertFansOutToTheRecipientsJobsAndForwardsFromTheSettingsRecipient) {
    // Employee 4 manages jobs 12 and 13 of order 41 and forwards to 9; 9
    // forwards to 11, which must not chain into the second alert.
    AddSetting({.AlertId = 37, .EmpNbr = 4, .Source = 5});
    Exec("update ALERT_USER_DEFAULTS set ForwardToEmpNbr = 9 where EmpNbr = 4;"
         "insert into ALERT_USER_DEFAULTS (EmpNbr, ForwardToEmpNbr) values (9, 11);");
    AddTransaction(1, 37, "PoNbr", "41");
    Batch();
    EXPECT_EQ(
        History(),
        (std::vector<std::string>{
            "9|37|PO opened that has material for job.\nJob: J-120 - Annex. PO 41. Opened by: "
            "Bob Ray.\nReferenced Job: J-120 - Annex.",
            "9|37|PO opened that has material for job.\nJob: J-130 - Depot. PO 41. Opened by: "
            "Bob Ray.\nReferenced Job: J-130 - Depot."}));
    EXPECT_EQ(Host.Generated.size(), 2u);
}

TEST_F(BatchTest, OneSettingsOwnersNeverReachTheNext) {
    // The first setting finds employee 4's jobs of the order but its condition
    // fails; the second (no filter) must create one alert, not one per job.
    AddSetting({.AlertId = 84, .EmpNbr = 4, .Source = 5, .Groups = {{5}}});
    AddSetting({.AlertId = 84, .EmpNbr = 9, .Source = 10, .Groups = {{2}}});
    AddTransaction(1, 84, "PoNbr, WoNbr, Arg2", "41, 30, '2'");
    Batch();
    const auto history = History();
    ASSERT_EQ(history.size(), 1u);
    EXPECT_EQ(history[0].substr(0, 5), "9|84|");
    EXPECT_EQ(Text("select JobNbr from ALERT_HISTORY"), "10");
}

TEST_F(BatchTest, AFailingTransactionStaysWhileTheOthersAreProcessed) {
    AddSetting({.AlertId = 21, .EmpNbr = 3, .Source = 10});
    // Transaction 2's first setting writes an alert, its second cannot look
    // its job's manager up: nothing of transaction 2 may stay.
    AddSetting({.AlertId = 22, .EmpNbr = 3, .Source = 10});
    AddSetting({.AlertId = 22, .EmpNbr = 4, .Source = 1});
    // Alert id 89 has a setting but no definition.
    AddSetting({.AlertId = 89, .EmpNbr = 3, .Source = 10});
    AddTransaction(1, 21, "WoNbr", "30");
    AddTransaction(2, 22, "EmpNbr", "8");
    AddTransaction(3, 89);
    AddTransaction(4, 21, "WoNbr", "30");
    Batch();

    EXPECT_EQ(Pending(), "2,3");
    EXPECT_EQ(Text("select group_concat(AlertNbr) from ALERT_HISTORY"), "21,21");
    EXPECT_EQ(Host.Generated.size(), 2u);
    EXPECT_EQ(Host.Log, (std::vector<AnsiString>{
                            "Looking up PM without Job info. Transaction (2), Setting (3).  "
                            "(alert transaction 2 left for the next batch)",
                            "An invalid Alert Id ('89') was encountered. (alert transaction 3 left "
                            "for the next batch)"}));
}

TEST_F(BatchTest, ATransactionWhoseTimeStampIsNoDateStaysWhileTheOthersAreProcessed) {
    AddSetting({.AlertId = 21, .EmpNbr = 3, .Source = 10});
    AddTransaction(1, 21, "WoNbr", "30");
    Exec("insert into ALERT_TRANSACTION (AlertTransToken, AlertNbr, EventTimeStamp, WoNbr) "
         "values (2, 21, 'soon', 30)");
    AddTransaction(3, 21, "WoNbr", "30");
    Batch();

    EXPECT_EQ(Pending(), "2");
    EXPECT_EQ(History().size(), 2u);
    EXPECT_EQ(Host.Log, (std::vector<AnsiString>{"'soon' is not a valid date and time (alert "
                                                 "transaction 2 left for the next batch)"}));
}

TEST_F(BatchTest, SettingsAreCachedUntilTheMarkersChange) {
    AddTransaction(1, 21, "WoNbr", "30");
    Batch(); // no setting yet: nothing, the empty list is cached
    EXPECT_TRUE(Host.Cache.Settings.at(21).empty());
    EXPECT_EQ(Pending(), "");

    AddSetting({.AlertId = 21, .EmpNbr = 3, .Source = 10});
    AddTransaction(2, 21, "WoNbr", "30");
    Batch(); // the new setting changed the markers
    EXPECT_EQ(History().size(), 1u);

    // Without a change the cache answers; the database is not asked.
    Exec("update ALERT_SETTING set EmpNbr = 4;");
    AddTransaction(3, 21, "WoNbr", "30");
    Batch();
    EXPECT_EQ(Text("select group_concat(AlertRecipientNbr) from ALERT_HISTORY"), "3,3");
}

TEST_F(BatchTest, EachBatchSeesWhoReceivesAlertsAsItStarts) {
    // Settings stay cached while the settings table is unchanged, but a
    // halted employee gets no alert from the next batch on, whichever alert
    // ids were loaded before.
    AddSetting({.AlertId = 21, .EmpNbr = 3, .Source = 10});
    AddSetting({.AlertId = 22, .EmpNbr = 3, .Source = 10});
    AddTransaction(1, 21, "WoNbr", "30");
    Batch();
    EXPECT_EQ(History().size(), 1u);

    Exec("update ALERT_USER_DEFAULTS set HaltAlertGeneration = 1 where EmpNbr = 3;");
    AddTransaction(2, 22, "WoNbr", "30");
    AddTransaction(3, 21, "WoNbr", "30");
    Batch();
    EXPECT_EQ(History().size(), 1u);
    EXPECT_TRUE(Host.Cache.Settings.at(21).empty());
    EXPECT_EQ(Pending(), "");

    Exec("update ALERT_USER_DEFAULTS set HaltAlertGeneration = 0 where EmpNbr = 3;");
    AddTransaction(4, 22, "WoNbr", "30");
    Batch();
    EXPECT_EQ(History().size(), 2u);
}

} // namespace
