#include "alert/DataModuleLookups.h"

#include "datamodules/DmodEmp.h"
#include "datamodules/DmodInventory.h"
#include "datamodules/DmodJobForm.h"
#include "datamodules/DmodJobStatus.h"
#include "datamodules/DmodPo.h"
#include "platform/data/Query.h"

DataModuleLookups::DataModuleLookups(TJobFormDmod& JobForm, TPoDmod& Po, TEmpDmod& Emp,
                                     TInventoryDmod& Inventory, TJobStatusDmod& JobStatus)
    : FJobForm(JobForm), FPo(Po), FEmp(Emp), FInventory(Inventory), FJobStatus(JobStatus) {}

namespace {

enum HeldKind { NoRow, JobRow, JobItemRow, WorkOrderRow, EmployeeRow, EmployeeNameRow };

} // namespace

template <class Lookup>
TDataSet& DataModuleLookups::Reuse(HeldRow& Held, int Kind, int Key, TDataSet& Query,
                                   Lookup&& Run) {
    // The mark of the opening is no longer valid once anything opened or
    // closed the query since: then the record is read again.
    if (FKeepRows && Held.Kind == Kind && Held.Key == Key && Query.BookmarkValid(Held.Mark)) {
        Query.First();
        return Query;
    }
    Held = HeldRow();
    Run();
    Held = {Kind, Key, Query.GetBookmark()};
    return Query;
}

void DataModuleLookups::KeepRows(bool Keep) {
    FKeepRows = Keep;
    FJobFormRow = HeldRow();
    FEmployeeRow = HeldRow();
    FEmployeeNameRow = HeldRow();
}

TDataSet& DataModuleLookups::SelectJob(int JobNbr) {
    return Reuse(FJobFormRow, JobRow, JobNbr, *FJobForm.CommonSql,
                 [&] { FJobForm.SelectJob(JobNbr); });
}
TDataSet& DataModuleLookups::SelectJobItem(int JobItemNbr) {
    return Reuse(FJobFormRow, JobItemRow, JobItemNbr, *FJobForm.CommonSql,
                 [&] { FJobForm.SelectJobItem(JobItemNbr); });
}
TDataSet& DataModuleLookups::SelectWorkOrder(int WoNbr) {
    return Reuse(FJobFormRow, WorkOrderRow, WoNbr, *FJobForm.CommonSql,
                 [&] { FJobForm.SelectWorkOrder(WoNbr); });
}
TDataSet& DataModuleLookups::SelectWoProduct(int WoProductNbr) {
    FJobForm.SelectWoProduct(WoProductNbr);
    return *FJobForm.CommonSql;
}
TDataSet* DataModuleLookups::SelectDeptEstimate(int WoNbr, int DeptRef) {
    return FJobForm.SelectDeptEstimate(WoNbr, DeptRef) ? FJobForm.CommonSql : nullptr;
}
int DataModuleLookups::GetLastProgressBillingNbr(int JobNbr) {
    return FJobForm.GetLastProgressBillingNbr(JobNbr);
}
double DataModuleLookups::GetProgressBillingStoredTotal(int ProgressBillingNbr, int JobNbr) {
    double total = 0.0;
    FJobForm.GetProgressBillingStoredTotal(ProgressBillingNbr, JobNbr, total);
    return total;
}
double DataModuleLookups::GetJobInvoicedTotal(int JobNbr) {
    double total = 0.0;
    FJobForm.GetJobInvoicedTotal(JobNbr, total);
    return total;
}
TDataSet& DataModuleLookups::OpenJobStatusList() {
    FJobStatus.OpenJobStatusList();
    return *FJobStatus.SelectAllQ2;
}
TDataSet& DataModuleLookups::SelectPurchaseOrder(int PoNbr) {
    FPo.SelectPurchaseOrder(PoNbr);
    return *FPo.CommonSql;
}
TDataSet& DataModuleLookups::SelectPoItem(int PoItemNbr) {
    FPo.SelectPoItem(PoItemNbr);
    return *FPo.CommonSql;
}
TDataSet& DataModuleLookups::OpenPoJobs(int PoNbr) {
    FPo.OpenPoJobs(PoNbr);
    return *FPo.CommonSql;
}
TDataSet& DataModuleLookups::OpenPoItemJobs(int PoItemNbr) {
    FPo.OpenPoItemJobs(PoItemNbr);
    return *FPo.CommonSql;
}
TDataSet& DataModuleLookups::OpenPoWorkOrders(int PoNbr) {
    FPo.OpenPoWorkOrders(PoNbr);
    return *FPo.CommonSql;
}
TDataSet& DataModuleLookups::OpenPoItemWorkOrders(int PoItemNbr) {
    FPo.OpenPoItemWorkOrders(PoItemNbr);
    return *FPo.CommonSql;
}
TDataSet& DataModuleLookups::SelectEmployee(int EmpNbr) {
    return Reuse(FEmployeeRow, EmployeeRow, EmpNbr, *FEmp.SelectEmpQuery,
                 [&] { FEmp.SelectEmployee(EmpNbr); });
}
TDataSet& DataModuleLookups::SelectEmployeeName(int EmpNbr) {
    return Reuse(FEmployeeNameRow, EmployeeNameRow, EmpNbr, *FEmp.SelectEmpNameQ,
                 [&] { FEmp.SelectEmployeeName(EmpNbr); });
}
TDataSet& DataModuleLookups::SelectInventoryItem(int InvNbr) {
    FInventory.SelectInventoryItem(InvNbr);
    return *FInventory.CommonSql;
}
