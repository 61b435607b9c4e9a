// The threshold snapshots: the figures of jobs, job items, work orders, their
// departments and products as they stood at the end of the previous batch.
//
// The shop server's joined updates and "insert ... with auto name" are said
// here the SQLite way with the same effect: an update touches only snapshot
// rows whose live row qualifies, and an insert names its columns.
#include "alert/store/MainDmod.h"

#include "platform/data/Query.h"
#include "platform/rtl/Format.h"

namespace {

// In the order they run. Jobs are inserted before they are updated, so a new
// job's TotalBilled is filled in the same refresh; the others are updated
// first, so a new row keeps its inserted figures until the next refresh.
// Snapshot rows are never deleted: a closed work order or a job with status
// 0 keeps its last figures.
constexpr const char* RefreshStatements[] = {
    "Insert into ALERT_THRESHOLD_JOBS (JobNbr, PercentBudget, PercentComp, EstMatCost, "
    "MaterialCost, LaborHours, EstLaborHours, LaborCost, EstLaborCost, TotalCosts) Select JobNbr, "
    "PercentBudget, PercentComp, EstMatCost, ActMatCost + ActPoCost + ActFinInvMatCost, "
    "ActLaborHrs + ActSetupHrs, EstLaborHrs + EstSetupHrs, ActLaborCost + ActSetupCost + "
    "ActFinInvLabCost, EstLaborCost + EstSetupCost, ActLaborCost + ActSetupCost + ActSubCost + "
    "ActMatCost + ActPoCost + ActFinInvMatCost + OverheadAmt + MatOverheadAmt + ActFreightCost + "
    "ActMiscCost + ActTravelCost + ActFinInvLabCost + FinInvOverheadAmt + PoMatOverheadAmt From "
    "JOBS Where CompanyNbr > 0 and JobNbr not in (Select JobNbr from ALERT_THRESHOLD_JOBS)",

    "Update ALERT_THRESHOLD_JOBS AS TJ Set PercentBudget = JOBS.PercentBudget, PercentComp = "
    "JOBS.PercentComp, EstMatCost = JOBS.EstMatCost, MaterialCost = JOBS.ActMatCost + "
    "JOBS.ActPoCost + JOBS.ActFinInvMatCost, LaborHours = JOBS.ActLaborHrs + JOBS.ActSetupHrs, "
    "EstLaborHours = JOBS.EstLaborHrs + JOBS.EstSetupHrs, LaborCost = JOBS.ActLaborCost + "
    "JOBS.ActSetupCost + JOBS.ActFinInvLabCost, EstLaborCost = JOBS.EstLaborCost + "
    "JOBS.EstSetupCost, TotalCosts = JOBS.ActLaborCost + JOBS.ActSetupCost + JOBS.ActSubCost + "
    "JOBS.ActMatCost + JOBS.ActPoCost + JOBS.ActFinInvMatCost + JOBS.OverheadAmt + "
    "JOBS.MatOverheadAmt + JOBS.ActFreightCost + JOBS.ActMiscCost + JOBS.ActTravelCost + "
    "JOBS.ActFinInvLabCost + JOBS.FinInvOverheadAmt + JOBS.PoMatOverheadAmt, TotalBilled = "
    "(Select IFNULL(sum(BILLING.TotalPrice),0) from BILLING where BILLING.JobNbr = JOBS.JobNbr "
    "and BILLING.InvoiceNbr is not NULL and BILLING.PostedInd = 1) + (Select "
    "IFNULL(sum(TotComplStoredAmt),0) from PROG_BILL_ITEM PBI left outer join PROGRESS_BILLING PB "
    "on PBI.ProgressBillingNbr = PB.ProgressBillingNbr where PB.JobNbr = JOBS.JobNbr and "
    "PB.ApplicationNbr in (Select max(ApplicationNbr) from PROGRESS_BILLING where JobNbr = "
    "JOBS.JobNbr)) From JOBS Where TJ.JobNbr = JOBS.JobNbr and JOBS.JobStatusNbr != 0",

    "Update ALERT_THRESHOLD_JOB_ITEM AS TJI Set PercentBudget = JI.PercentBudget, PercentComp = "
    "JI.PercentComp, EstMatCost = JI.EstMatCost, MaterialCost = JI.ActMatCost + JI.ActPoCost + "
    "JI.ActFinInvMatCost, LaborHours = JI.ActLaborHrs + JI.ActSetupHrs, EstLaborHours = "
    "JI.EstLaborHrs + JI.EstSetupHrs, LaborCost = JI.ActLaborCost + JI.ActSetupCost + "
    "JI.ActFinInvLabCost, EstLaborCost = JI.EstLaborCost + JI.EstSetupCost From JOB_ITEM JI join "
    "JOBS on JI.JobNbr = JOBS.JobNbr Where TJI.JobItemNbr = JI.JobItemNbr and JOBS.JobStatusNbr "
    "!= 0",

    "Insert into ALERT_THRESHOLD_JOB_ITEM (JobItemNbr, PercentBudget, PercentComp, EstMatCost, "
    "MaterialCost, LaborHours, EstLaborHours, LaborCost, EstLaborCost) Select JobItemNbr, "
    "PercentBudget, PercentComp, EstMatCost, ActMatCost + ActPoCost + ActFinInvMatCost, "
    "ActLaborHrs + ActSetupHrs, EstLaborHrs + EstSetupHrs, ActLaborCost + ActSetupCost + "
    "ActFinInvLabCost, EstLaborCost + EstSetupCost From JOB_ITEM JI Where JobNbr > 0 and "
    "JobItemNbr not in (Select JobItemNbr from ALERT_THRESHOLD_JOB_ITEM)",

    // This one repairs the shop table itself.
    "Update WO set EstLaborHrs = 0 where EstLaborHrs IS NULL ",

    "Update ALERT_THRESHOLD_WO AS TWO Set PercentBudget = WO.PercentBudget, PercentComp = "
    "WO.PercentComp, EstMatCost = WO.EstMatCost, MaterialCost = WO.ActMatCost + WO.ActPoCost, "
    "LaborHours = WO.ActLaborHrs + WO.ActSetupHrs, EstLaborHours = WO.EstLaborHrs + "
    "WO.EstSetupHrs, LaborCost = WO.ActLaborCost + WO.ActSetupCost, EstLaborCost = "
    "WO.EstLaborCost + WO.EstSetupCost From WO join JOBS on WO.JobNbr = JOBS.JobNbr Where "
    "TWO.WoNbr = WO.WoNbr AND WO.ActualFinDt IS NULL AND WO.PercentComp != 100 AND "
    "JOBS.JobStatusNbr != 0",

    "Insert into ALERT_THRESHOLD_WO (WoNbr, PercentBudget, PercentComp, EstMatCost, MaterialCost, "
    "LaborHours, EstLaborHours, LaborCost, EstLaborCost) Select WoNbr, PercentBudget, "
    "PercentComp, EstMatCost, ActMatCost + ActPoCost, ActLaborHrs + ActSetupHrs, EstLaborHrs + "
    "EstSetupHrs, ActLaborCost + ActSetupCost, EstLaborCost + EstSetupCost From WO Where JobNbr > "
    "0 and WoNbr not in (Select WoNbr from ALERT_THRESHOLD_WO)",

    "Update ALERT_THRESHOLD_WO_DEPT AS TWD Set PercentBudget = (Select DE.PercentBudget from "
    "DEPT_EST DE where DE.WoNbr = TWD.WoNbr and DE.DeptRef = TWD.DeptRef) From WO join JOBS on "
    "WO.JobNbr = JOBS.JobNbr Where TWD.WoNbr = WO.WoNbr AND WO.ActualFinDt IS NULL AND "
    "WO.PercentComp != 100 AND JOBS.JobStatusNbr != 0",

    "Insert into ALERT_THRESHOLD_WO_DEPT (WoNbr, DeptRef, PercentBudget) Select WoNbr, DeptRef, "
    "PercentBudget From DEPT_EST Where (WoNbr || '-' || DeptRef) not in (Select (WoNbr || '-' || "
    "DeptRef) from ALERT_THRESHOLD_WO_DEPT)",

    "Update ALERT_THRESHOLD_PRODUCT AS TP Set ScanQty = WOP.ScanQty, MakeQty = WOP.MakeQty From "
    "WO_PRODUCTS WOP join WO on WOP.WoNbr = WO.WoNbr join JOBS on WO.JobNbr = JOBS.JobNbr Where "
    "TP.WoProductNbr = WOP.WoProductNbr AND WO.ActualFinDt IS NULL AND WO.PercentComp != 100 AND "
    "JOBS.JobStatusNbr != 0",

    "Insert into ALERT_THRESHOLD_PRODUCT (WoProductNbr, ScanQty, MakeQty) Select WoProductNbr, "
    "ScanQty, MakeQty From WO_PRODUCTS Where WoProductNbr not in (Select WoProductNbr from "
    "ALERT_THRESHOLD_PRODUCT)",
};

} // namespace

void TMainDmod::RefreshAlertThresholds() {
    for (const char* statement : RefreshStatements)
        ExecStatement(*CommonSql, statement);
}

void TMainDmod::SelectJobThreshold(int JobNbr) {
    OpenStatement(*CommonSql,
                  Format("Select * from ALERT_THRESHOLD_JOBS where JobNbr = %d ", JobNbr));
}

void TMainDmod::SelectJobItemThreshold(int JobItemNbr) {
    OpenStatement(
        *CommonSql,
        Format("Select * from ALERT_THRESHOLD_JOB_ITEM where JobItemNbr = %d ", JobItemNbr));
}

void TMainDmod::SelectWoThreshold(int WoNbr) {
    OpenStatement(*CommonSql, Format("Select * from ALERT_THRESHOLD_WO where WoNbr = %d ", WoNbr));
}

void TMainDmod::SelectWoDeptThreshold(int WoNbr, int DeptRef) {
    OpenStatement(*CommonSql, Format("Select * from ALERT_THRESHOLD_WO_DEPT where WoNbr = %d and "
                                     "DeptRef = %d",
                                     WoNbr, DeptRef));
}

void TMainDmod::SelectProductThreshold(int WoProductNbr) {
    OpenStatement(
        *CommonSql,
        Format("Select * from ALERT_THRESHOLD_PRODUCT where WoProductNbr = %d ", WoProductNbr));
}
