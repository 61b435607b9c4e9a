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

TDataSet& DataModuleLookups::SelectJob(int JobNbr) {
    FJobForm.SelectJob(JobNbr);
    return *FJobForm.CommonSql;
}
TDataSet& DataModuleLookups::SelectJobItem(int JobItemNbr) {
    FJobForm.SelectJobItem(JobItemNbr);
    return *FJobForm.CommonSql;
}
TDataSet& DataModuleLookups::SelectWorkOrder(int WoNbr) {
    FJobForm.SelectWorkOrder(WoNbr);
    return *FJobForm.CommonSql;
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
    FEmp.SelectEmployee(EmpNbr);
    return *FEmp.SelectEmpQuery;
}
TDataSet& DataModuleLookups::SelectInventoryItem(int InvNbr) {
    FInventory.SelectInventoryItem(InvNbr);
    return *FInventory.CommonSql;
}
