// The threshold snapshot refresh and lookups of the main data module over a
// real shop database: what a refresh takes from the live tables, what it
// keeps, and what each lookup leaves open.
#include "StoreTest.h"

#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <functional>

namespace {

class ThresholdsReading : public StoreTest {
protected:
    AnsiString Row(const AnsiString& Sql)
    {
        AnsiString Text;
        for (const auto& R : Db.Rows(Sql))
            for (const Variant& V : R)
                Text += (V.IsNull() ? AnsiString("NULL") : V.AsString()) + " ";
        return Text;
    }
};

TEST_F(ThresholdsReading, JobsGetTheirSnapshotAndBilledTotalInTheFirstRefresh)
{
    Db.Exec("insert into JOBS (JobNbr, CompanyNbr, JobStatusNbr, PercentBudget, PercentComp, EstMatCost,"
            " ActMatCost, ActPoCost, ActFinInvMatCost, ActLaborHrs, ActSetupHrs, EstLaborHrs, EstSetupHrs,"
            " ActLaborCost, ActSetupCost, ActFinInvLabCost, EstLaborCost, EstSetupCost)"
            " values (1, 3, 1, 40, 50, 100, 1, 2, 4, 8, 16, 32, 64, 128, 256, 512, 1024, 2048),"
            " (2, 0, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1),"
            " (3, NULL, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1);"
            "insert into BILLING (BillingNbr, JobNbr, InvoiceNbr, TotalPrice, PostedInd) values"
            " (1, 1, 9, 100, 1), (2, 1, 9, 50, 0), (3, 1, NULL, 20, 1), (4, 2, 9, 7, 1);"
            "insert into PROGRESS_BILLING (ProgressBillingNbr, JobNbr, ApplicationNbr) values"
            " (1, 1, 1), (2, 1, 2);"
            "insert into PROG_BILL_ITEM (ProgressBillingNbr, TotComplStoredAmt) values"
            " (1, 30), (2, 40), (2, 5)");
    Dmod->RefreshAlertThresholds();
    const AnsiString Snapshot = "select JobNbr, PercentBudget, PercentComp, EstMatCost, MaterialCost,"
                                " LaborHours, EstLaborHours, LaborCost, EstLaborCost, TotalCosts, TotalBilled"
                                " from ALERT_THRESHOLD_JOBS order by JobNbr";
    const double Total = 128 + 256 + 1 + 2 + 4 + 512; // the overheads and other costs are 0
    EXPECT_EQ(Row(Snapshot), Format("1 40 50 100 7 24 96 896 3072 %g 145 ", Total));

    // A closed job keeps its figures; reopened, it takes the live ones.
    Db.Exec("update JOBS set PercentBudget = 90, JobStatusNbr = 0 where JobNbr = 1");
    Dmod->RefreshAlertThresholds();
    EXPECT_EQ(Db.Scalar("select PercentBudget from ALERT_THRESHOLD_JOBS where JobNbr = 1").AsInteger(), 40);
    Db.Exec("update JOBS set JobStatusNbr = 2 where JobNbr = 1");
    Dmod->RefreshAlertThresholds();
    EXPECT_EQ(Db.Scalar("select PercentBudget from ALERT_THRESHOLD_JOBS where JobNbr = 1").AsInteger(), 90);
}

TEST_F(ThresholdsReading, WorkOrdersItemsDepartmentsAndProductsFollowOpenWorkOnly)
{
    Db.Exec("insert into JOBS (JobNbr, CompanyNbr, JobStatusNbr) values (1, 3, 1);"
            "insert into JOB_ITEM (JobItemNbr, JobNbr, PercentBudget, ActMatCost) values (5, 1, 10, 3), (6, 0, 1, 1);"
            "insert into WO (WoNbr, JobNbr, PercentBudget, PercentComp, EstLaborHrs, EstSetupHrs)"
            " values (10, 1, 20, 50, NULL, 2), (11, 1, 30, 100, 4, 0), (12, 0, 1, 1, 1, 1);"
            "insert into DEPT_EST (WoNbr, DeptRef, PercentBudget) values (10, 2, 40), (1, 12, 41), (11, 2, 42);"
            "insert into WO_PRODUCTS (WoProductNbr, WoNbr, ScanQty, MakeQty) values (70, 10, 1, 9), (71, 11, 2, 9)");
    Dmod->RefreshAlertThresholds();
    EXPECT_EQ(Db.Scalar("select EstLaborHrs from WO where WoNbr = 10").AsInteger(), 0);
    EXPECT_EQ(Row("select WoNbr, PercentBudget, EstLaborHours from ALERT_THRESHOLD_WO order by WoNbr"),
              "10 20 2 11 30 4 ");
    EXPECT_EQ(Row("select JobItemNbr, PercentBudget, MaterialCost from ALERT_THRESHOLD_JOB_ITEM"), "5 10 3 ");
    EXPECT_EQ(Row("select WoNbr, DeptRef, PercentBudget from ALERT_THRESHOLD_WO_DEPT order by WoNbr, DeptRef"),
              "1 12 41 10 2 40 11 2 42 ");
    EXPECT_EQ(Row("select WoProductNbr, ScanQty, MakeQty from ALERT_THRESHOLD_PRODUCT order by 1"),
              "70 1 9 71 2 9 ");

    // Live figures move; the finished work order 11 keeps its snapshot.
    Db.Exec("update JOB_ITEM set PercentBudget = 11;"
            "update WO set PercentBudget = PercentBudget + 1;"
            "update DEPT_EST set PercentBudget = PercentBudget + 1;"
            "update WO_PRODUCTS set ScanQty = ScanQty + 5");
    Dmod->RefreshAlertThresholds();
    EXPECT_EQ(Row("select WoNbr, PercentBudget from ALERT_THRESHOLD_WO order by WoNbr"), "10 21 11 30 ");
    EXPECT_EQ(Row("select JobItemNbr, PercentBudget from ALERT_THRESHOLD_JOB_ITEM"), "5 11 ");
    // The pair (1, 12) belongs to no work order of an open job and keeps its figure.
    EXPECT_EQ(Row("select WoNbr, DeptRef, PercentBudget from ALERT_THRESHOLD_WO_DEPT order by WoNbr, DeptRef"),
              "1 12 41 10 2 41 11 2 42 ");
    EXPECT_EQ(Row("select WoProductNbr, ScanQty from ALERT_THRESHOLD_PRODUCT order by 1"), "70 6 71 2 ");
}

TEST_F(ThresholdsReading, ARejectedStatementEndsTheRefreshWithItsError)
{
    Db.Exec("insert into JOBS (JobNbr, CompanyNbr, JobStatusNbr) values (1, 3, 1);"
            "insert into WO (WoNbr, JobNbr, PercentComp, EstLaborHrs) values (10, 1, 0, NULL);"
            "insert into WO_PRODUCTS (WoProductNbr, WoNbr, ScanQty, MakeQty) values (70, 10, 1, 9);"
            "drop table ALERT_THRESHOLD_WO");
    EXPECT_THROW(Dmod->RefreshAlertThresholds(), Exception);
    // What ran before the failing statement stays done; nothing after it ran.
    EXPECT_EQ(Db.Scalar("select count(*) from ALERT_THRESHOLD_JOBS").AsInteger(), 1);
    EXPECT_EQ(Db.Scalar("select EstLaborHrs from WO where WoNbr = 10").AsInteger(), 0);
    EXPECT_EQ(Db.Scalar("select count(*) from ALERT_THRESHOLD_PRODUCT").AsInteger(), 0);
}

TEST_F(ThresholdsReading, LookupsLeaveTheSharedQueryOpenOnTheRowOrOnNothing)
{
    Db.Exec("insert into ALERT_THRESHOLD_JOBS (JobNbr, PercentBudget) values (1, 11);"
            "insert into ALERT_THRESHOLD_JOB_ITEM (JobItemNbr, PercentBudget) values (2, 12);"
            "insert into ALERT_THRESHOLD_WO (WoNbr, PercentBudget) values (3, 13);"
            "insert into ALERT_THRESHOLD_WO_DEPT (WoNbr, DeptRef, PercentBudget) values (3, 4, 14);"
            "insert into ALERT_THRESHOLD_PRODUCT (WoProductNbr, ScanQty) values (5, 15)");
    struct Case {
        std::function<void()> Hit, Miss;
        const char* Field;
        int Expected;
    };
    const Case Cases[] = {
        {[&] { Dmod->SelectJobThreshold(1); }, [&] { Dmod->SelectJobThreshold(2); }, "PercentBudget", 11},
        {[&] { Dmod->SelectJobItemThreshold(2); }, [&] { Dmod->SelectJobItemThreshold(1); }, "PercentBudget", 12},
        {[&] { Dmod->SelectWoThreshold(3); }, [&] { Dmod->SelectWoThreshold(4); }, "PercentBudget", 13},
        {[&] { Dmod->SelectWoDeptThreshold(3, 4); }, [&] { Dmod->SelectWoDeptThreshold(4, 3); }, "PercentBudget", 14},
        {[&] { Dmod->SelectProductThreshold(5); }, [&] { Dmod->SelectProductThreshold(3); }, "ScanQty", 15},
    };
    for (const Case& C : Cases) {
        C.Hit();
        ASSERT_TRUE(Dmod->CommonSql->Active()) << C.Expected;
        ASSERT_EQ(Dmod->CommonSql->RecordCount(), 1) << C.Expected;
        EXPECT_EQ(Dmod->CommonSql->FieldByName(C.Field)->AsInteger(), C.Expected);
        C.Miss();
        EXPECT_TRUE(Dmod->CommonSql->Active()) << C.Expected;
        EXPECT_TRUE(Dmod->CommonSql->IsEmpty()) << C.Expected;
    }
}

} // namespace
