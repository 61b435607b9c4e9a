#pragma once
// The engine's shop lookups as the program makes them: through the shop data
// modules, reading each row where the module leaves it.
#include "alert/ShopLookups.h"

class TEmpDmod;
class TInventoryDmod;
class TJobFormDmod;
class TJobStatusDmod;
class TPoDmod;

class DataModuleLookups : public IShopLookups {
public:
    DataModuleLookups(TJobFormDmod& JobForm, TPoDmod& Po, TEmpDmod& Emp, TInventoryDmod& Inventory,
                      TJobStatusDmod& JobStatus);

    TDataSet& SelectJob(int JobNbr) override;
    TDataSet& SelectJobItem(int JobItemNbr) override;
    TDataSet& SelectWorkOrder(int WoNbr) override;
    TDataSet& SelectWoProduct(int WoProductNbr) override;
    TDataSet* SelectDeptEstimate(int WoNbr, int DeptRef) override;
    int GetLastProgressBillingNbr(int JobNbr) override;
    double GetProgressBillingStoredTotal(int ProgressBillingNbr, int JobNbr) override;
    double GetJobInvoicedTotal(int JobNbr) override;
    TDataSet& OpenJobStatusList() override;
    TDataSet& SelectPurchaseOrder(int PoNbr) override;
    TDataSet& SelectPoItem(int PoItemNbr) override;
    TDataSet& OpenPoJobs(int PoNbr) override;
    TDataSet& OpenPoItemJobs(int PoItemNbr) override;
    TDataSet& OpenPoWorkOrders(int PoNbr) override;
    TDataSet& OpenPoItemWorkOrders(int PoItemNbr) override;
    TDataSet& SelectEmployee(int EmpNbr) override;
    TDataSet& SelectInventoryItem(int InvNbr) override;

private:
    TJobFormDmod& FJobForm;
    TPoDmod& FPo;
    TEmpDmod& FEmp;
    TInventoryDmod& FInventory;
    TJobStatusDmod& FJobStatus;
};
