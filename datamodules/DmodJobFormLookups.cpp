// The job-form data module's lookups by key and its billing totals.
#include "datamodules/DmodJobForm.h"

#include "platform/data/Query.h"

// A row whose flags are reset already is left alone: rewriting it would
// change nothing and cost the work of the rewrite on every lookup.
void TJobFormDmod::SelectJob(int JobNbr) {
    ExecLookup(*ChangeFlagsSql,
               {"Update JOBS set ChangedByScheduler = 0 where JobNbr = :a and ChangedByScheduler "
                "is not 0"},
               {JobNbr});
    OpenLookup(*CommonSql, {"Select * from JOBS where JobNbr = :a"}, {JobNbr});
}

void TJobFormDmod::SelectJobItem(int JobItemNbr) {
    ExecLookup(*ChangeFlagsSql,
               {"Update JOB_ITEM set ChangedByScheduler = 0 where JobItemNbr = :a and "
                "ChangedByScheduler is not 0"},
               {JobItemNbr});
    OpenLookup(*CommonSql, {"Select * from JOB_ITEM where JobItemNbr = :a"}, {JobItemNbr});
}

void TJobFormDmod::SelectWorkOrder(int WoNbr) {
    ExecLookup(*ChangeFlagsSql,
               {"Update WO set StatusChgInd = 0,ChangedByScheduler = 0 where WoNbr = :a and "
                "(StatusChgInd is not 0 or ChangedByScheduler is not 0)"},
               {WoNbr});
    OpenLookup(*CommonSql, {"Select * from WO where WoNbr = :a"}, {WoNbr});
}

void TJobFormDmod::SelectWoProduct(int WoProductNbr) {
    OpenLookup(*CommonSql, {"Select * from WO_PRODUCTS where WoProductNbr = :a"}, {WoProductNbr});
}

bool TJobFormDmod::SelectDeptEstimate(int WoNbr, int DeptRef) {
    OpenLookup(*CommonSql, {"Select * from DEPT_EST where WoNbr = :a and DeptRef = :b"},
               {WoNbr, DeptRef});
    return CommonSql->RecordCount() == 1;
}

void TJobFormDmod::GetJobInvoicedTotal(int JobNbr, double& Total) {
    OpenLookup(*CommonSql4,
               {"select sum(TotalPrice) from BILLING where JobNbr = :a and InvoiceNbr is not NULL "
                "and PostedInd = 1"},
               {JobNbr});
    Total = FirstColumnAsDouble(*CommonSql4);
}

int TJobFormDmod::GetLastProgressBillingNbr(int JobNbr) {
    OpenLookup(*CommonSql4,
               {"Select ProgressBillingNbr,ApplicationNbr from PROGRESS_BILLING where JobNbr = :a ",
                " and ApplicationNbr in (Select max(ApplicationNbr) from Progress_BILLING where "
                "JobNbr = :a)"},
               {JobNbr});
    if (CommonSql4->RecordCount() != 1 ||
        CommonSql4->FieldByName("ApplicationNbr")->AsInteger() == 0)
        return -99;
    return CommonSql4->FieldByName("ProgressBillingNbr")->AsInteger();
}

void TJobFormDmod::GetProgressBillingStoredTotal(int ProgressBillingNbr, int JobNbr,
                                                 double& Total) {
    OpenLookup(*CommonSql4,
               {"select sum(TotComplStoredAmt) from progress_billing PB,prog_bill_item PI ",
                "where JobNbr = :a and PB.ProgressBillingNbr = :b and PB.ProgressBillingNbr = "
                "PI.ProgressBillingNbr"},
               {JobNbr, ProgressBillingNbr});
    Total = FirstColumnAsDouble(*CommonSql4);
}
