#include "StoreTest.h"

#include "platform/data/Query.h"

namespace {

using ThresholdsTest = StoreTest;
using Rows = std::vector<std::vector<Variant>>;

TEST_F(ThresholdsTest, JobsAreInsertedThenUpdatedInTheSameRefresh) {
    Db.Exec("insert into JOBS (JobNbr, CompanyNbr, JobStatusNbr, PercentBudget, PercentComp,"
            " EstMatCost, ActMatCost, ActPoCost, ActFinInvMatCost, ActLaborHrs, ActSetupHrs,"
            " OverheadAmt) values"
            " (1, 4, 1, 40, 50, 100, 10, 20, 3, 6, 2, 1000),"
            " (2, 0, 1, 40, 50, 100, 10, 20, 3, 6, 2, 0)," // no customer: no snapshot
            " (3, 4, 0, 40, 50, 100, 10, 20, 3, 6, 2, 0);" // closed: inserted, not updated
            "insert into BILLING (JobNbr, InvoiceNbr, TotalPrice, PostedInd) values"
            " (1, 77, 500, 1), (1, NULL, 900, 1), (1, 78, 800, 0), (3, 79, 100, 1);"
            "insert into PROGRESS_BILLING (ProgressBillingNbr, JobNbr, ApplicationNbr) values"
            " (1, 1, 1), (2, 1, 2);"
            "insert into PROG_BILL_ITEM values (1, 1000), (2, 250), (2, 50);");
    Dmod->RefreshAlertThresholds();
    EXPECT_EQ(
        Db.Rows("select JobNbr, PercentBudget, MaterialCost, LaborHours, TotalCosts,"
                " TotalBilled from ALERT_THRESHOLD_JOBS order by JobNbr"),
        (Rows{
            {Variant(1), Variant(40), Variant(33.0), Variant(8.0), Variant(1033.0), Variant(800.0)},
            {Variant(3), Variant(40), Variant(33.0), Variant(8.0), Variant(33.0), Null()}}));

    // Live figures move; the next refresh follows, except for the closed job.
    Db.Exec("update JOBS set PercentBudget = 95, ActMatCost = 60");
    Dmod->RefreshAlertThresholds();
    EXPECT_EQ(
        Db.Rows("select JobNbr, PercentBudget, MaterialCost from ALERT_THRESHOLD_JOBS"
                " order by JobNbr"),
        (Rows{{Variant(1), Variant(95), Variant(83.0)}, {Variant(3), Variant(40), Variant(33.0)}}));
}

TEST_F(ThresholdsTest, NewRowsKeepTheirInsertedFiguresUntilTheNextRefresh) {
    Db.Exec(
        "insert into JOBS (JobNbr, CompanyNbr, JobStatusNbr) values (1, 4, 1);"
        "insert into JOB_ITEM (JobItemNbr, JobNbr, PercentBudget) values (10, 1, 20), (11, 0, 20);"
        "insert into WO (WoNbr, JobNbr, PercentBudget, PercentComp, EstLaborHrs, EstSetupHrs)"
        " values (100, 1, 20, 10, NULL, 3), (101, 0, 20, 10, 1, 1);"
        "insert into DEPT_EST (WoNbr, DeptRef, PercentBudget) values (100, 2, 20), (100, 3, 30);"
        "insert into WO_PRODUCTS values (1000, 100, 5, 10);");
    Dmod->RefreshAlertThresholds();
    EXPECT_EQ(Db.Rows("select JobItemNbr, PercentBudget from ALERT_THRESHOLD_JOB_ITEM"),
              (Rows{{Variant(10), Variant(20)}}));
    // The NULL estimate of the live work order is repaired first.
    EXPECT_EQ(Db.Scalar("select EstLaborHrs from WO where WoNbr = 100"), 0.0);
    EXPECT_EQ(Db.Rows("select WoNbr, PercentBudget, EstLaborHours from ALERT_THRESHOLD_WO"),
              (Rows{{Variant(100), Variant(20), Variant(3.0)}}));
    EXPECT_EQ(
        Db.Rows("select WoNbr, DeptRef, PercentBudget from ALERT_THRESHOLD_WO_DEPT"
                " order by DeptRef"),
        (Rows{{Variant(100), Variant(2), Variant(20)}, {Variant(100), Variant(3), Variant(30)}}));
    EXPECT_EQ(Db.Rows("select * from ALERT_THRESHOLD_PRODUCT"),
              (Rows{{Variant(1000), Variant(5), Variant(10)}}));

    Db.Exec("update JOB_ITEM set PercentBudget = 70; update WO set PercentBudget = 70;"
            "update DEPT_EST set PercentBudget = 70 where DeptRef = 2;"
            "delete from DEPT_EST where DeptRef = 3;"
            "update WO_PRODUCTS set ScanQty = 9;");
    Dmod->RefreshAlertThresholds();
    EXPECT_EQ(Db.Scalar("select PercentBudget from ALERT_THRESHOLD_JOB_ITEM"), 70);
    EXPECT_EQ(Db.Scalar("select PercentBudget from ALERT_THRESHOLD_WO"), 70);
    // A department gone from the live estimate clears its snapshot figure.
    EXPECT_EQ(
        Db.Rows("select DeptRef, PercentBudget from ALERT_THRESHOLD_WO_DEPT order by DeptRef"),
        (Rows{{Variant(2), Variant(70)}, {Variant(3), Null()}}));
    EXPECT_EQ(Db.Scalar("select ScanQty from ALERT_THRESHOLD_PRODUCT"), 9);
}

TEST_F(ThresholdsTest, ClosedWorkOrdersKeepTheirLastFigures) {
    Db.Exec("insert into JOBS (JobNbr, CompanyNbr, JobStatusNbr) values (1, 4, 1);"
            "insert into WO (WoNbr, JobNbr, PercentBudget, PercentComp, ActualFinDt) values"
            " (100, 1, 20, 10, NULL), (101, 1, 20, 10, NULL), (102, 1, 20, 10, NULL);"
            "insert into DEPT_EST (WoNbr, DeptRef, PercentBudget) values (100, 2, 20);"
            "insert into WO_PRODUCTS values (1000, 100, 5, 10);");
    Dmod->RefreshAlertThresholds();
    Db.Exec("update WO set PercentBudget = 90;"
            "update WO set PercentComp = 100 where WoNbr = 100;"
            "update WO set ActualFinDt = '2024/07/01' where WoNbr = 101;"
            "update DEPT_EST set PercentBudget = 90; update WO_PRODUCTS set ScanQty = 9;");
    Dmod->RefreshAlertThresholds();
    EXPECT_EQ(Db.Rows("select WoNbr, PercentBudget from ALERT_THRESHOLD_WO order by WoNbr"),
              (Rows{{Variant(100), Variant(20)},
                    {Variant(101), Variant(20)},
                    {Variant(102), Variant(90)}}));
    EXPECT_EQ(Db.Scalar("select PercentBudget from ALERT_THRESHOLD_WO_DEPT"), 20);
    EXPECT_EQ(Db.Scalar("select ScanQty from ALERT_THRESHOLD_PRODUCT"), 5);
}

TEST_F(ThresholdsTest, RecordsOfPendingThresholdTransactionsKeepTheirSnapshot) {
    Db.Exec(
        "insert into JOBS (JobNbr, CompanyNbr, JobStatusNbr, PercentBudget) values"
        " (1, 4, 1, 20), (2, 4, 1, 20), (3, 4, 1, 20);"
        "insert into JOB_ITEM (JobItemNbr, JobNbr, PercentBudget) values (10, 1, 20), (11, 2, 20);"
        "insert into WO (WoNbr, JobNbr, JobItemNbr, PercentBudget, PercentComp) values"
        " (100, 1, 10, 20, 10), (101, 2, 11, 20, 10);"
        "insert into DEPT_EST (WoNbr, DeptRef, PercentBudget) values (100, 2, 20), (100, 3, 20);"
        "insert into WO_PRODUCTS values (1000, 100, 5, 10), (1001, 101, 5, 10);");
    Dmod->RefreshAlertThresholds();
    Db.Exec("update JOBS set PercentBudget = 70; update JOB_ITEM set PercentBudget = 70;"
            "update WO set PercentBudget = 70; update DEPT_EST set PercentBudget = 70;"
            "update WO_PRODUCTS set ScanQty = 9;"
            "insert into JOBS (JobNbr, CompanyNbr, JobStatusNbr, PercentBudget) values"
            " (4, 4, 1, 70), (5, 4, 1, 70);");
    // Left pending by the batch: each holds back the record its condition
    // compares; a key the transaction left out comes from its parents.
    Db.Exec("insert into ALERT_TRANSACTION (AlertTransToken, AlertNbr, JobNbr, JobItemNbr, WoNbr,"
            " DeptNbr, WoProductNbr) values"
            " (1, 4, NULL, NULL, 101, NULL, NULL)," // job 2, known by its work order
            " (2, 8, 0, 0, 100, NULL, NULL),"       // job item 10, likewise
            " (3, 12, NULL, NULL, 101, NULL, NULL),"
            " (4, 23, NULL, NULL, 100, 3, NULL),"
            " (5, 25, NULL, NULL, NULL, NULL, 1001),"
            " (6, 64, 4, NULL, NULL, NULL, NULL)," // a new job: no snapshot yet
            " (7, 21, 3, 10, 100, 2, 1000);");     // no threshold: holds nothing back
    Dmod->RefreshAlertThresholds();
    EXPECT_EQ(Db.Rows("select JobNbr, PercentBudget from ALERT_THRESHOLD_JOBS order by JobNbr"),
              (Rows{{Variant(1), Variant(70)},
                    {Variant(2), Variant(20)},
                    {Variant(3), Variant(70)},
                    {Variant(5), Variant(70)}}));
    EXPECT_EQ(Db.Rows("select JobItemNbr, PercentBudget from ALERT_THRESHOLD_JOB_ITEM"
                      " order by JobItemNbr"),
              (Rows{{Variant(10), Variant(20)}, {Variant(11), Variant(70)}}));
    EXPECT_EQ(Db.Rows("select WoNbr, PercentBudget from ALERT_THRESHOLD_WO order by WoNbr"),
              (Rows{{Variant(100), Variant(70)}, {Variant(101), Variant(20)}}));
    EXPECT_EQ(
        Db.Rows("select DeptRef, PercentBudget from ALERT_THRESHOLD_WO_DEPT order by DeptRef"),
        (Rows{{Variant(2), Variant(70)}, {Variant(3), Variant(20)}}));
    EXPECT_EQ(Db.Rows("select WoProductNbr, ScanQty from ALERT_THRESHOLD_PRODUCT"
                      " order by WoProductNbr"),
              (Rows{{Variant(1000), Variant(9)}, {Variant(1001), Variant(5)}}));

    // Once the transactions are through, the next refresh catches up.
    Db.Exec("delete from ALERT_TRANSACTION");
    Dmod->RefreshAlertThresholds();
    EXPECT_EQ(Db.Scalar("select count(*) from ALERT_THRESHOLD_JOBS where PercentBudget = 70"), 5);
    EXPECT_EQ(Db.Scalar("select sum(ScanQty) from ALERT_THRESHOLD_PRODUCT"), 18);
}

TEST_F(ThresholdsTest, LookupsLeaveTheSnapshotRowOpen) {
    Db.Exec("insert into ALERT_THRESHOLD_JOBS (JobNbr, PercentBudget) values (1, 11);"
            "insert into ALERT_THRESHOLD_JOB_ITEM (JobItemNbr, PercentBudget) values (2, 12);"
            "insert into ALERT_THRESHOLD_WO (WoNbr, PercentBudget) values (3, 13);"
            "insert into ALERT_THRESHOLD_WO_DEPT values (3, 4, 14);"
            "insert into ALERT_THRESHOLD_PRODUCT values (5, 15, 0);");
    TQuery& q = *Dmod->CommonSql;
    Dmod->SelectJobThreshold(1);
    EXPECT_EQ(q.FieldByName("PercentBudget")->AsInteger(), 11);
    Dmod->SelectJobItemThreshold(2);
    EXPECT_EQ(q.FieldByName("PercentBudget")->AsInteger(), 12);
    Dmod->SelectWoThreshold(3);
    EXPECT_EQ(q.FieldByName("PercentBudget")->AsInteger(), 13);
    Dmod->SelectWoDeptThreshold(3, 4);
    EXPECT_EQ(q.FieldByName("PercentBudget")->AsInteger(), 14);
    Dmod->SelectProductThreshold(5);
    EXPECT_EQ(q.FieldByName("ScanQty")->AsInteger(), 15);

    Dmod->SelectWoDeptThreshold(3, 5);
    EXPECT_TRUE(q.Active());
    EXPECT_TRUE(q.IsEmpty());
}

} // namespace
