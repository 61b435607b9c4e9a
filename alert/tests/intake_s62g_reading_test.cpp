// Reading the pending transactions: what each row gives its alert, how the
// missing parent keys are completed, and which rows go.
#include "EngineTest.h"

#include "alert/AlertIntake.h"

namespace {

class IntakeReading : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        // A job, a job item of it, a work order of the item; a job item and
        // a work order whose job is not known.
        Exec("insert into JOBS (JobNbr, JobId, JobDescr) values (3, 'J3', 'Third'), (4, 'J4', "
             "'Fourth'), (2, 'J2', 'Second');"
             "insert into JOB_ITEM (JobItemNbr, JobNbr, ItemNbr) values (7, 3, 1), (8, 4, 1), (9, "
             "NULL, 1);"
             "insert into WO (WoNbr, JobNbr, JobItemNbr, StatusChgInd) values (5, 3, 7, 1), (6, "
             "NULL, 8, 1);");
        AddSetting({.AlertId = 29, .EmpNbr = 40});
    }
    // The history row of the one alert: keys as "job/item/wo/po/emp/trig",
    // "-" for a key the alert does not carry.
    std::string Keys() {
        return Text("select ifnull(JobNbr, '-') || '/' || ifnull(JobItemNbr, '-') || '/' || "
                    "ifnull(WoNbr, '-') || '/' || ifnull(PoNbr, '-') || '/' || ifnull(EmpNbr, "
                    "'-') || '/' || ifnull(EmpNbrTriggeredAlert, '-') from ALERT_HISTORY");
    }
};

TEST_F(IntakeReading, ParentKeysAreCompletedFromTheJobItemOrTheWorkOrder) {
    struct Case {
        const char* Columns; // JobNbr, JobItemNbr, WoNbr
        const char* Keys;
        int WorkOrderLookups, JobItemLookups;
    };
    const Case cases[] = {
        // A work order alone: its job item and job, from one lookup.
        {"NULL, NULL, 5", "3/7/5/-/-/-", 1, 0},
        // A work order whose job is NULL: the job stays 0.
        {"NULL, NULL, 6", "-/8/6/-/-/-", 2, 0},
        // Job item and work order: the job comes from the job item.
        {"NULL, 8, 6", "4/8/6/-/-/-", 0, 1},
        // A job item without a job: the work order gives it.
        {"NULL, 9, 5", "3/9/5/-/-/-", 1, 1},
        // A job set: no parent lookup at all.
        {"2, 9, 6", "2/9/6/-/-/-", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Columns);
        Exec("delete from ALERT_HISTORY;");
        Exec(std::string("insert into ALERT_TRANSACTION (AlertNbr, JobNbr, JobItemNbr, WoNbr) "
                         "values (29, ") +
             c.Columns + ");");
        Shop->Calls.clear();
        ScanAlertTransactions(*Context);
        EXPECT_EQ(Keys(), c.Keys);
        EXPECT_EQ(Shop->Calls["SelectWorkOrder"], c.WorkOrderLookups);
        EXPECT_EQ(Shop->Calls["SelectJobItem"], c.JobItemLookups);
        EXPECT_EQ(Count("ALERT_TRANSACTION"), 0);
    }
    // The work-order lookups reset the order's change flag.
    EXPECT_EQ(Text("select group_concat(StatusChgInd) from WO"), "0,0");
}

TEST_F(IntakeReading, ColumnsReachTheAlertAndNullsKeepTheInitialValues) {
    Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (11, 'Ann', 'Lee');"
         "insert into ALERT_TRANSACTION (AlertNbr, TransType, EventTimeStamp, "
         "EmpNbrGeneratedTrans, JobNbr, PoNbr, EmpNbr, Tag1, Arg1, Arg2) values (29, 1, "
         "'2024/12/31 09:05:00', 11, 2, 12, 13, 'T', 'J-77', 'Old shed');"
         "insert into ALERT_TRANSACTION (AlertNbr, JobNbr) values (29, 2);");
    ScanAlertTransactions(*Context);
    EXPECT_EQ(History(), (std::vector<std::string>{
                             "40|29|Job deleted.\nJob: J-77 - Old shed. Deleted by: Ann Lee.",
                             "40|29|Job deleted.\nJob:  - . Deleted by: ."}));
    // Keys the row does not carry are stored as NULL.
    EXPECT_EQ(Text("select group_concat(ifnull(JobNbr, '-') || '/' || ifnull(PoNbr, '-') || '/' "
                   "|| ifnull(EmpNbr, '-') || '/' || ifnull(EmpNbrTriggeredAlert, '-') || '/' || "
                   "DateGenerated, ' ') from ALERT_HISTORY"),
              "2/12/13/11/2024/12/31 09:05:00 2/-/-/-/1899/12/30");
    EXPECT_EQ(Count("ALERT_TRANSACTION"), 0);
}

TEST_F(IntakeReading, RowWithoutAlertIdOrSettingIsDeletedWithoutAlert) {
    Exec("insert into ALERT_TRANSACTION (AlertNbr, JobNbr) values (NULL, 2), (30, 2);");
    ScanAlertTransactions(*Context);
    EXPECT_EQ(Count("ALERT_TRANSACTION"), 0);
    EXPECT_EQ(Count("ALERT_HISTORY"), 0);
    EXPECT_TRUE(Host.Log.empty());
    // An empty table: nothing at all.
    ScanAlertTransactions(*Context);
    EXPECT_EQ(Count("ALERT_HISTORY"), 0);
}

TEST_F(IntakeReading, FailingRowStaysAndTheRowsAroundItAreProcessed) {
    // A job manager setting on a row without a job cannot be filtered.
    AddSetting({.AlertId = 30, .EmpNbr = 41, .Source = 1});
    Exec("insert into ALERT_TRANSACTION (AlertNbr, JobNbr) values (29, 2), (30, NULL), (29, 3);");
    ScanAlertTransactions(*Context);
    EXPECT_EQ(Text("select group_concat(AlertNbr) from ALERT_TRANSACTION"), "30");
    EXPECT_EQ(Count("ALERT_HISTORY"), 2);
    ASSERT_EQ(Host.Log.size(), 1u);
    EXPECT_NE(Host.Log[0].find("Looking up PM without Job info. Transaction (2)"),
              std::string::npos)
        << Host.Log[0];
}

} // namespace
