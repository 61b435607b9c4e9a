// The condition of each alert id for a setting that passed its filter: the
// threshold crossings against the last snapshot, the parameter checks, and
// the ids without a condition of their own.
#include "EngineTest.h"

#include "alert/AlertConditions.h"
#include "platform/rtl/Exceptions.h"

namespace {

class ConditionReading : public EngineTest {};

TEST_F(ConditionReading, EachAlertIdChecksItsOwnFigure) {
    struct Case {
        const char* What;
        int AlertId;
        const char* Rows; // the shop rows and snapshots of record 1
        std::vector<Values> Groups;
        bool Fires;
        const char* ValueText; // "-" when the check leaves it alone
        const char* Arg1 = "";
        const char* Arg2 = "";
        const char* Arg4 = "";
    };
    const char* job = "insert into JOBS (JobNbr, PercentBudget, PercentComp) values (1, 60, 40);";
    const Case cases[] = {
        {"budget against completion, no snapshot", 1, job, {{70}, {30}}, true, "50.00"},
        {"snapshot not yet crossed",
         1,
         "insert into JOBS (JobNbr, PercentBudget, PercentComp) values (1, 60, 40);"
         "insert into ALERT_THRESHOLD_JOBS (JobNbr, PercentBudget, PercentComp) values (1, 45, "
         "40);",
         {{30}},
         true,
         "50.00"},
        {"snapshot crossed already",
         1,
         "insert into JOBS (JobNbr, PercentBudget, PercentComp) values (1, 60, 40);"
         "insert into ALERT_THRESHOLD_JOBS (JobNbr, PercentBudget, PercentComp) values (1, 60, "
         "40);",
         {{30}},
         false,
         "-"},
        {"snapshot without completion",
         1,
         "insert into JOBS (JobNbr, PercentBudget, PercentComp) values (1, 60, 40);"
         "insert into ALERT_THRESHOLD_JOBS (JobNbr, PercentBudget, PercentComp) values (1, 60, 0);",
         {{30}},
         true,
         "50.00"},
        {"figure equal to the value", 1, job, {{50}}, false, "-"},
        {"fractional figure",
         1,
         "insert into JOBS (JobNbr, PercentBudget, PercentComp) values (1, 61, 40);",
         {{52.2}},
         true,
         "52.50"},
        {"no completion",
         1,
         "insert into JOBS (JobNbr, PercentBudget, PercentComp) values (1, 60, 0);",
         {{1}},
         false,
         "-"},
        {"no job row", 1, "", {{1}}, false, "-"},
        {"job item",
         2,
         "insert into JOB_ITEM (JobItemNbr, PercentBudget, PercentComp) values (1, 30, 20);",
         {{40}},
         true,
         "50.00"},
        {"work order",
         3,
         "insert into WO (WoNbr, PercentBudget, PercentComp) values (1, 30, 20);",
         {{60}, {40}},
         true,
         "50.00"},
        {"job material",
         4,
         "insert into JOBS (JobNbr, ActMatCost, ActPoCost, ActFinInvMatCost, EstMatCost) values "
         "(1, 30, 20, 10, 100);"
         "insert into ALERT_THRESHOLD_JOBS (JobNbr, EstMatCost, MaterialCost) values (1, 100, 45);",
         {{50}},
         true,
         "60.00"},
        {"job material crossed before",
         4,
         "insert into JOBS (JobNbr, ActMatCost, ActPoCost, ActFinInvMatCost, EstMatCost) values "
         "(1, 30, 20, 10, 100);"
         "insert into ALERT_THRESHOLD_JOBS (JobNbr, EstMatCost, MaterialCost) values (1, 100, 55);",
         {{50}},
         false,
         "-"},
        {"job material without estimate",
         4,
         "insert into JOBS (JobNbr, ActMatCost, EstMatCost) values (1, 30, 0);",
         {{1}},
         false,
         "-"},
        {"work-order material",
         6,
         "insert into WO (WoNbr, ActMatCost, ActPoCost, EstMatCost) values (1, 10, 20, 40);",
         {{70}},
         true,
         "75.00"},
        {"job hours, snapshot without estimate",
         7,
         "insert into JOBS (JobNbr, ActLaborHrs, ActSetupHrs, EstLaborHrs, EstSetupHrs) values "
         "(1, 6, 2, 8, 2);"
         "insert into ALERT_THRESHOLD_JOBS (JobNbr, LaborHours, EstLaborHours) values (1, 9, 0);",
         {{75}},
         true,
         "80.00"},
        {"work-order hours, estimate NULL",
         9,
         "insert into WO (WoNbr, ActLaborHrs, ActSetupHrs, EstLaborHrs, EstSetupHrs) values (1, "
         "3, 1, NULL, 4);",
         {{90}},
         true,
         "100.00"},
        {"job labor cost",
         10,
         "insert into JOBS (JobNbr, ActLaborCost, ActSetupCost, ActFinInvLabCost, EstLaborCost, "
         "EstSetupCost) values (1, 50, 10, 15, 50, 50);",
         {{70}},
         true,
         "75.00"},
        {"work-order labor cost",
         12,
         "insert into WO (WoNbr, ActLaborCost, ActSetupCost, EstLaborCost, EstSetupCost) values "
         "(1, 50, 10, 40, 40);",
         {{70}},
         true,
         "75.00"},
        {"department budget",
         23,
         "insert into DEPT_EST (WoNbr, DeptRef, PercentBudget) values (1, 1, 80);"
         "insert into ALERT_THRESHOLD_WO_DEPT (WoNbr, DeptRef, PercentBudget) values (1, 1, 65);",
         {{75}, {70}},
         true,
         "80.00"},
        {"department budget crossed before",
         23,
         "insert into DEPT_EST (WoNbr, DeptRef, PercentBudget) values (1, 1, 80);"
         "insert into ALERT_THRESHOLD_WO_DEPT (WoNbr, DeptRef, PercentBudget) values (1, 1, 75);",
         {{70}},
         false,
         "-"},
        {"two department rows",
         23,
         "insert into DEPT_EST (WoNbr, DeptRef, PercentBudget) values (1, 1, 80), (1, 1, 80);",
         {{70}},
         false,
         "-"},
        {"department budget NULL",
         23,
         "insert into DEPT_EST (WoNbr, DeptRef, PercentBudget) values (1, 1, NULL);",
         {{-5}},
         false,
         "-"},
        {"product built equal to the value",
         25,
         "insert into WO_PRODUCTS (WoProductNbr, ScanQty, MakeQty) values (1, 5, 10);"
         "insert into ALERT_THRESHOLD_PRODUCT (WoProductNbr, ScanQty, MakeQty) values (1, 4, 10);",
         {{50}},
         true,
         "50.00"},
        {"product built, snapshot the same",
         25,
         "insert into WO_PRODUCTS (WoProductNbr, ScanQty, MakeQty) values (1, 5, 10);"
         "insert into ALERT_THRESHOLD_PRODUCT (WoProductNbr, ScanQty, MakeQty) values (1, 5, 10);",
         {{50}},
         false,
         "-"},
        {"product thirds",
         25,
         "insert into WO_PRODUCTS (WoProductNbr, ScanQty, MakeQty) values (1, 1, 3);",
         {{33.3}},
         true,
         "33.33"},
        {"product nothing to make",
         25,
         "insert into WO_PRODUCTS (WoProductNbr, ScanQty, MakeQty) values (1, 0, 0);",
         {{-1}},
         false,
         "-"},
        {"margin, snapshot margin 10",
         64,
         "insert into JOBS (JobNbr, ActLaborCost, OverheadAmt) values (1, 60, 40);"
         "insert into PROGRESS_BILLING (ProgressBillingNbr, JobNbr, ApplicationNbr) values (7, 1, "
         "1); insert into PROG_BILL_ITEM (ProgressBillingNbr, TotComplStoredAmt) values (7, 100);"
         "insert into BILLING (JobNbr, InvoiceNbr, TotalPrice, PostedInd) values (1, 1, 5, 1);"
         "insert into ALERT_THRESHOLD_JOBS (JobNbr, TotalCosts, TotalBilled) values (1, 100, 110);",
         {{10}},
         true,
         "5.00"},
        {"margin, snapshot margin 8",
         64,
         "insert into JOBS (JobNbr, ActLaborCost, OverheadAmt) values (1, 60, 40);"
         "insert into PROGRESS_BILLING (ProgressBillingNbr, JobNbr, ApplicationNbr) values (7, 1, "
         "1); insert into PROG_BILL_ITEM (ProgressBillingNbr, TotComplStoredAmt) values (7, 105);"
         "insert into ALERT_THRESHOLD_JOBS (JobNbr, TotalCosts, TotalBilled) values (1, 100, 108);",
         {{10}},
         false,
         "-"},
        {"margin without progress billing",
         64,
         "insert into JOBS (JobNbr, ActLaborCost) values (1, 60);",
         {{10}},
         false,
         "-"},
        {"status by its exact name",
         27,
         "insert into JOB_STATUS (JobStatusNbr, JobStatus) values (1, 'open'), (2, 'Open');",
         {{1}, {2}},
         true,
         "-",
         "",
         "Open"},
        {"status name in another case",
         27,
         "insert into JOB_STATUS (JobStatusNbr, JobStatus) values (2, 'Open');",
         {{2}},
         false,
         "-",
         "",
         "OPEN"},
        {"hours above the first smaller value", 49, "", {{12}, {8}}, true, "8", "9.5"},
        {"hours under every value", 50, "", {{12}}, false, "-", "9.5"},
        {"no value groups", 49, "", {}, false, "-", "9.5"},
        {"status number", 84, "", {{3}, {4}}, true, "-", "", "4"},
        {"status change from and to", 85, "", {{5, 2}, {2, 5}}, true, "-", "", "5", "2"},
        {"status change the other way", 85, "", {{5, 2}}, false, "-", "", "5", "2"},
        {"date-driven id", 13, "", {{1}}, false, "-"},
        {"order date id", 31, "", {{1}}, false, "-"},
        {"weekly hours id", 88, "", {{1}}, false, "-"},
        {"id without condition 21", 21, "", {}, true, "-"},
        {"id without condition 33", 33, "", {}, true, "-"},
    };
    const char* tables[] = {"JOBS",
                            "JOB_ITEM",
                            "WO",
                            "DEPT_EST",
                            "WO_PRODUCTS",
                            "JOB_STATUS",
                            "PROGRESS_BILLING",
                            "PROG_BILL_ITEM",
                            "BILLING",
                            "ALERT_THRESHOLD_JOBS",
                            "ALERT_THRESHOLD_WO_DEPT",
                            "ALERT_THRESHOLD_PRODUCT"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        for (const char* table : tables)
            Exec(std::string("delete from ") + table + ";");
        Exec(c.Rows);
        AlertTransaction alert;
        alert.AlertNbr = c.AlertId;
        alert.JobNbr = alert.JobItemNbr = alert.WoNbr = alert.WoProductNbr = alert.DeptNbr = 1;
        alert.Arg1 = c.Arg1;
        alert.Arg2 = c.Arg2;
        alert.Arg4 = c.Arg4;
        alert.ValueText = "-";
        AlertSetting setting;
        setting.AlertId = c.AlertId;
        setting.ValueGroups = ValueGroups(c.Groups);
        EXPECT_EQ(CheckAlertCondition(*Context, alert, setting), c.Fires);
        EXPECT_EQ(alert.ValueText, c.ValueText);
    }
}

TEST_F(ConditionReading, ArgumentThatIsNoNumberRaises) {
    for (const int id : {49, 84, 85}) {
        SCOPED_TRACE(id);
        AlertTransaction alert;
        alert.AlertNbr = id;
        alert.Arg1 = alert.Arg2 = alert.Arg4 = "n/a";
        AlertSetting setting;
        setting.ValueGroups = ValueGroups({{1, 1}});
        EXPECT_THROW(CheckAlertCondition(*Context, alert, setting), EConvertError);
    }
}

} // namespace
