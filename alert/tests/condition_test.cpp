#include "EngineTest.h"
#include "alert/AlertConditions.h"
#include "platform/rtl/Exceptions.h"

namespace {

AlertSetting WithValues(std::vector<std::vector<double>> Groups) {
    AlertSetting setting;
    setting.ValueGroups = ValueGroups(Groups);
    return setting;
}

class ConditionTest : public EngineTest {
protected:
    // The condition of the alert id for a transaction on job 10, job item 20,
    // work order 30 (department 3), product 50; returns the value text when
    // it holds, "-" when not.
    std::string Check(int AlertId, const AlertSetting& Setting, AlertTransaction Alert = {}) {
        Alert.AlertNbr = AlertId;
        Alert.JobNbr = 10;
        Alert.JobItemNbr = 20;
        Alert.WoNbr = 30;
        Alert.DeptNbr = 3;
        Alert.WoProductNbr = 50;
        return CheckAlertCondition(*Context, Alert, Setting) ? Alert.ValueText : "-";
    }
};

TEST_F(ConditionTest, BudgetAgainstCompletionFiresOncePerCrossing) {
    Exec("insert into JOBS (JobNbr, PercentBudget, PercentComp) values (10, 60, 40);");
    const AlertSetting setting = WithValues({{70}, {30}});
    // No snapshot: the crossed value fires with the figure (60-40)*100/40.
    EXPECT_EQ(Check(1, setting), "50.00");
    // The snapshot had crossed less (12.5): 30 is newly crossed.
    Exec("insert into ALERT_THRESHOLD_JOBS (JobNbr, PercentBudget, PercentComp) values (10, 45, "
         "40);");
    EXPECT_EQ(Check(1, setting), "50.00");
    // The snapshot had crossed it already.
    Exec("update ALERT_THRESHOLD_JOBS set PercentBudget = 60;");
    EXPECT_EQ(Check(1, setting), "-");
    // A snapshot without completion lets it through.
    Exec("update ALERT_THRESHOLD_JOBS set PercentComp = 0;");
    EXPECT_EQ(Check(1, setting), "50.00");
    // The figure must be strictly above the value.
    EXPECT_EQ(Check(1, WithValues({{50}})), "-");
    // No completion on the live job: nothing, whatever the values.
    Exec("update JOBS set PercentComp = 0;");
    EXPECT_EQ(Check(1, WithValues({{-1000}})), "-");
}

TEST_F(ConditionTest, EstimateAgainstActualByRecord) {
    Exec("insert into JOBS (JobNbr, EstMatCost, ActMatCost, ActPoCost, ActFinInvMatCost, "
         "EstLaborHrs, EstSetupHrs, ActLaborHrs, ActSetupHrs, EstLaborCost, EstSetupCost, "
         "ActLaborCost, ActSetupCost, ActFinInvLabCost) values "
         "(10, 200, 100, 50, 50, 8, 2, 9, 3, 100, 100, 100, 20, 30);"
         "insert into JOB_ITEM (JobItemNbr, JobNbr, EstMatCost, ActMatCost) values (20, 10, 0, 50);"
         "insert into WO (WoNbr, JobNbr, EstMatCost, ActMatCost, ActPoCost, EstLaborHrs, "
         "EstSetupHrs, ActLaborHrs, EstLaborCost, EstSetupCost, ActLaborCost, ActSetupCost) values "
         "(30, 10, 100, 60, 30, NULL, 4, 5, 50, 0, 40, 20);"
         "insert into ALERT_THRESHOLD_WO (WoNbr, EstMatCost, MaterialCost, EstLaborHours, "
         "LaborHours, EstLaborCost, LaborCost) values (30, 100, 85, 4, 4, 50, 70);");
    const std::tuple<int, double, std::string> cases[] = {
        {4, 90, "100.00"},  // job material 200 of 200
        {5, 10, "-"},       // job item without a material estimate
        {6, 86, "90.00"},   // work order 90 of 100; snapshot was at 85
        {6, 80, "-"},       // ... which had crossed 80 already
        {7, 110, "120.00"}, // job hours 12 of 10
        {9, 110, "125.00"}, // work order hours 5 of 4 (NULL labour estimate is 0); snapshot 100
        {9, 130, "-"},      // not crossed now
        {10, 70, "75.00"},  // job labour cost 150 of 200
        {12, 119, "-"},     // work order 120 of 50 is 120%, snapshot 140% had crossed 119
    };
    for (const auto& [id, value, expected] : cases)
        EXPECT_EQ(Check(id, WithValues({{value}})), expected)
            << "alert " << id << " value " << value;
}

TEST_F(ConditionTest, DepartmentBudgetAndProductBuilt) {
    Exec("insert into DEPT_EST (WoNbr, DeptRef, PercentBudget) values (30, 3, 80);"
         "insert into WO_PRODUCTS (WoProductNbr, WoNbr, ScanQty, MakeQty) values (50, 30, 5, 10);");
    EXPECT_EQ(Check(23, WithValues({{90}, {75}})), "80.00");
    Exec("insert into ALERT_THRESHOLD_WO_DEPT (WoNbr, DeptRef, PercentBudget) values (30, 3, 78);");
    EXPECT_EQ(Check(23, WithValues({{75}})), "-");
    EXPECT_EQ(Check(23, WithValues({{79}})), "80.00");

    // 50% built: a value equal to the figure fires.
    EXPECT_EQ(Check(25, WithValues({{50}})), "50.00");
    Exec(
        "insert into ALERT_THRESHOLD_PRODUCT (WoProductNbr, ScanQty, MakeQty) values (50, 5, 10);");
    EXPECT_EQ(Check(25, WithValues({{50}})), "-");
    Exec("update WO_PRODUCTS set MakeQty = 0;");
    EXPECT_EQ(Check(25, WithValues({{0}})), "-");
}

TEST_F(ConditionTest, BillingMarginAgainstTheSnapshot) {
    // Billed 105 (100 stored + 5 invoiced) against cost 100: margin 5%.
    Exec("insert into JOBS (JobNbr, ActLaborCost, PoMatOverheadAmt) values (10, 60, 40);"
         "insert into PROGRESS_BILLING (ProgressBillingNbr, JobNbr, ApplicationNbr) values (60, "
         "10, 1);"
         "insert into PROG_BILL_ITEM (ProgressBillingNbr, TotComplStoredAmt) values (60, 100);"
         "insert into BILLING (BillingNbr, JobNbr, InvoiceNbr, TotalPrice, PostedInd) values "
         "(1, 10, 7, 5, 1), (2, 10, NULL, 50, 1);"
         "insert into ALERT_THRESHOLD_JOBS (JobNbr, TotalCosts, TotalBilled) values (10, 100, "
         "110);");
    EXPECT_EQ(Check(64, WithValues({{10}})), "5.00");
    Exec("update ALERT_THRESHOLD_JOBS set TotalBilled = 108;");
    EXPECT_EQ(Check(64, WithValues({{10}})), "-");
    Exec("delete from PROGRESS_BILLING;");
    EXPECT_EQ(Check(64, WithValues({{10}})), "-");
}

TEST_F(ConditionTest, ParameterChecks) {
    Exec("insert into JOB_STATUS (JobStatusNbr, JobStatus) values (4, 'Released');");
    AlertTransaction alert;
    alert.Arg2 = "Released";
    EXPECT_EQ(Check(27, WithValues({{2}, {4}}), alert), "");
    alert.Arg2 = "released"; // the name must match with its case
    EXPECT_EQ(Check(27, WithValues({{4}}), alert), "-");

    alert = {};
    alert.Arg1 = "9.5";
    EXPECT_EQ(Check(49, WithValues({{12}, {8}}), alert), "8");
    EXPECT_EQ(Check(50, WithValues({{12}}), alert), "-");
    alert.Arg1 = "lots";
    EXPECT_THROW(Check(49, WithValues({{8}}), alert), EConvertError);

    alert = {};
    alert.Arg2 = "3";
    alert.Arg4 = "1";
    EXPECT_EQ(Check(84, WithValues({{5}, {3}}), alert), "");
    EXPECT_EQ(Check(84, WithValues({{1}}), alert), "-");
    // From status 1 (Arg4) to 3 (Arg2); the opposite order does not match, nor
    // does a group with one value.
    EXPECT_EQ(Check(85, WithValues({{1, 3}}), alert), "");
    EXPECT_EQ(Check(85, WithValues({{3, 1}, {1}}), alert), "-");
    EXPECT_EQ(Check(85, WithValues({}), alert), "-");
}

TEST_F(ConditionTest, DateDrivenIdsAreFalseAndEventIdsTrue) {
    for (const int id : {13, 14, 15, 16, 17, 18, 19, 20, 31, 32, 73, 77, 78, 81, 82, 86, 87, 88})
        EXPECT_EQ(Check(id, WithValues({{1}})), "-") << id;
    for (const int id : {21, 22, 24, 26, 33, 48, 51, 83})
        EXPECT_EQ(Check(id, WithValues({})), "") << id;
}

} // namespace
