// The threshold snapshots: the figures of jobs, job items, work orders, their
// departments and products as they stood at the end of the previous batch.
//
// The shop server's joined updates and "insert ... with auto name" are said
// here the SQLite way with the same effect: an update touches only snapshot
// rows whose live row qualifies, and an insert names its columns.
//
// A threshold transaction whose processing failed stays pending for the next
// batch. The record it is about keeps its snapshot until then: refreshed now,
// the retry would find the crossing already in the snapshot and the alert
// would be lost.
#include "alert/store/MainDmod.h"

#include "platform/data/Query.h"
#include "platform/rtl/Format.h"

#include <string>

namespace {

// The snapshot table a statement fills, which says which pending
// transactions hold its records back.
enum class Held { None, Job, JobItem, Wo, Dept, Product };

struct Statement {
    Held Table;
    // The snapshot key the statement writes (for a department, the pair of
    // work order and department), compared with the pending transactions'.
    const char* Key;
    const char* Text;
};

// In the order they run. Jobs are inserted before they are updated, so a new
// job's TotalBilled is filled in the same refresh; the others are updated
// first, so a new row keeps its inserted figures until the next refresh.
// Snapshot rows are never deleted: a closed work order or a job with status
// 0 keeps its last figures.
constexpr Statement RefreshStatements[] = {
    {Held::Job, "JOBS.JobNbr",
     "Insert into ALERT_THRESHOLD_JOBS (JobNbr, PercentBudget, PercentComp, EstMatCost, "
     "MaterialCost, LaborHours, EstLaborHours, LaborCost, EstLaborCost, TotalCosts) Select JobNbr, "
     "PercentBudget, PercentComp, EstMatCost, ActMatCost + ActPoCost + ActFinInvMatCost, "
     "ActLaborHrs + ActSetupHrs, EstLaborHrs + EstSetupHrs, ActLaborCost + ActSetupCost + "
     "ActFinInvLabCost, EstLaborCost + EstSetupCost, ActLaborCost + ActSetupCost + ActSubCost + "
     "ActMatCost + ActPoCost + ActFinInvMatCost + OverheadAmt + MatOverheadAmt + ActFreightCost + "
     "ActMiscCost + ActTravelCost + ActFinInvLabCost + FinInvOverheadAmt + PoMatOverheadAmt From "
     "JOBS Where CompanyNbr > 0 and JobNbr not in (Select JobNbr from ALERT_THRESHOLD_JOBS)"},

    {Held::Job, "TJ.JobNbr",
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
     "JOBS.JobNbr)) From JOBS Where TJ.JobNbr = JOBS.JobNbr and JOBS.JobStatusNbr != 0"},

    {Held::JobItem, "TJI.JobItemNbr",
     "Update ALERT_THRESHOLD_JOB_ITEM AS TJI Set PercentBudget = JI.PercentBudget, PercentComp = "
     "JI.PercentComp, EstMatCost = JI.EstMatCost, MaterialCost = JI.ActMatCost + JI.ActPoCost + "
     "JI.ActFinInvMatCost, LaborHours = JI.ActLaborHrs + JI.ActSetupHrs, EstLaborHours = "
     "JI.EstLaborHrs + JI.EstSetupHrs, LaborCost = JI.ActLaborCost + JI.ActSetupCost + "
     "JI.ActFinInvLabCost, EstLaborCost = JI.EstLaborCost + JI.EstSetupCost From JOB_ITEM JI join "
     "JOBS on JI.JobNbr = JOBS.JobNbr Where TJI.JobItemNbr = JI.JobItemNbr and JOBS.JobStatusNbr "
     "!= 0"},

    {Held::JobItem, "JI.JobItemNbr",
     "Insert into ALERT_THRESHOLD_JOB_ITEM (JobItemNbr, PercentBudget, PercentComp, EstMatCost, "
     "MaterialCost, LaborHours, EstLaborHours, LaborCost, EstLaborCost) Select JobItemNbr, "
     "PercentBudget, PercentComp, EstMatCost, ActMatCost + ActPoCost + ActFinInvMatCost, "
     "ActLaborHrs + ActSetupHrs, EstLaborHrs + EstSetupHrs, ActLaborCost + ActSetupCost + "
     "ActFinInvLabCost, EstLaborCost + EstSetupCost From JOB_ITEM JI Where JobNbr > 0 and "
     "JobItemNbr not in (Select JobItemNbr from ALERT_THRESHOLD_JOB_ITEM)"},

    // This one repairs the shop table itself.
    {Held::None, "", "Update WO set EstLaborHrs = 0 where EstLaborHrs IS NULL "},

    {Held::Wo, "TWO.WoNbr",
     "Update ALERT_THRESHOLD_WO AS TWO Set PercentBudget = WO.PercentBudget, PercentComp = "
     "WO.PercentComp, EstMatCost = WO.EstMatCost, MaterialCost = WO.ActMatCost + WO.ActPoCost, "
     "LaborHours = WO.ActLaborHrs + WO.ActSetupHrs, EstLaborHours = WO.EstLaborHrs + "
     "WO.EstSetupHrs, LaborCost = WO.ActLaborCost + WO.ActSetupCost, EstLaborCost = "
     "WO.EstLaborCost + WO.EstSetupCost From WO join JOBS on WO.JobNbr = JOBS.JobNbr Where "
     "TWO.WoNbr = WO.WoNbr AND WO.ActualFinDt IS NULL AND WO.PercentComp != 100 AND "
     "JOBS.JobStatusNbr != 0"},

    {Held::Wo, "WO.WoNbr",
     "Insert into ALERT_THRESHOLD_WO (WoNbr, PercentBudget, PercentComp, EstMatCost, MaterialCost, "
     "LaborHours, EstLaborHours, LaborCost, EstLaborCost) Select WoNbr, PercentBudget, "
     "PercentComp, EstMatCost, ActMatCost + ActPoCost, ActLaborHrs + ActSetupHrs, EstLaborHrs + "
     "EstSetupHrs, ActLaborCost + ActSetupCost, EstLaborCost + EstSetupCost From WO Where JobNbr > "
     "0 and WoNbr not in (Select WoNbr from ALERT_THRESHOLD_WO)"},

    {Held::Dept, "(TWD.WoNbr, TWD.DeptRef)",
     "Update ALERT_THRESHOLD_WO_DEPT AS TWD Set PercentBudget = (Select DE.PercentBudget from "
     "DEPT_EST DE where DE.WoNbr = TWD.WoNbr and DE.DeptRef = TWD.DeptRef) From WO join JOBS on "
     "WO.JobNbr = JOBS.JobNbr Where TWD.WoNbr = WO.WoNbr AND WO.ActualFinDt IS NULL AND "
     "WO.PercentComp != 100 AND JOBS.JobStatusNbr != 0"},

    {Held::Dept, "(DEPT_EST.WoNbr, DEPT_EST.DeptRef)",
     "Insert into ALERT_THRESHOLD_WO_DEPT (WoNbr, DeptRef, PercentBudget) Select WoNbr, DeptRef, "
     "PercentBudget From DEPT_EST Where (WoNbr || '-' || DeptRef) not in (Select (WoNbr || '-' || "
     "DeptRef) from ALERT_THRESHOLD_WO_DEPT)"},

    {Held::Product, "TP.WoProductNbr",
     "Update ALERT_THRESHOLD_PRODUCT AS TP Set ScanQty = WOP.ScanQty, MakeQty = WOP.MakeQty From "
     "WO_PRODUCTS WOP join WO on WOP.WoNbr = WO.WoNbr join JOBS on WO.JobNbr = JOBS.JobNbr Where "
     "TP.WoProductNbr = WOP.WoProductNbr AND WO.ActualFinDt IS NULL AND WO.PercentComp != 100 AND "
     "JOBS.JobStatusNbr != 0"},

    {Held::Product, "WO_PRODUCTS.WoProductNbr",
     "Insert into ALERT_THRESHOLD_PRODUCT (WoProductNbr, ScanQty, MakeQty) Select WoProductNbr, "
     "ScanQty, MakeQty From WO_PRODUCTS Where WoProductNbr not in (Select WoProductNbr from "
     "ALERT_THRESHOLD_PRODUCT)"},
};

// The condition, added to a statement, that leaves out the records of the
// pending transactions whose alert ids compare against the statement's
// table. A transaction that left out a parent key has it completed the way
// the intake completes it. The keys are gathered once per statement, not
// once per snapshot row.
std::string NotPending(Held Table, const char* Key) {
    const char* alertIds = "";
    const char* pendingKey = "";
    switch (Table) {
    case Held::None:
        return "";
    case Held::Job:
        alertIds = "1, 4, 7, 10, 64";
        pendingKey = "IFNULL(NULLIF(AT.JobNbr, 0), IFNULL(NULLIF((Select HJI.JobNbr from JOB_ITEM "
                     "HJI where HJI.JobItemNbr = AT.JobItemNbr), 0), (Select HWO.JobNbr from WO "
                     "HWO where HWO.WoNbr = AT.WoNbr)))";
        break;
    case Held::JobItem:
        alertIds = "2, 5, 8, 11";
        pendingKey = "IFNULL(NULLIF(AT.JobItemNbr, 0), (Select HWO.JobItemNbr from WO HWO where "
                     "HWO.WoNbr = AT.WoNbr))";
        break;
    case Held::Wo:
        alertIds = "3, 6, 9, 12";
        pendingKey = "AT.WoNbr";
        break;
    case Held::Dept:
        // A pair: NOT IN over pairs holding a NULL would leave out every row.
        return std::string(" and ") + Key +
               " not in (Select AT.WoNbr, AT.DeptNbr from ALERT_TRANSACTION AT where "
               "AT.AlertNbr = 23 and AT.WoNbr is not null and AT.DeptNbr is not null)";
    case Held::Product:
        alertIds = "25";
        pendingKey = "AT.WoProductNbr";
        break;
    }
    // NULL keys are dropped: one in a NOT IN list would leave out every row.
    return std::string(" and ") + Key + " not in (Select HeldKey from (Select " + pendingKey +
           " as HeldKey from ALERT_TRANSACTION AT where AT.AlertNbr in (" + alertIds +
           ")) where HeldKey is not null)";
}

} // namespace

void TMainDmod::RefreshAlertThresholds() {
    for (const Statement& statement : RefreshStatements)
        ExecStatement(*CommonSql, statement.Text + NotPending(statement.Table, statement.Key));
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
