#pragma once
// The engine's shop lookups as the program makes them: through the shop data
// modules, reading each row where the module leaves it. A job, job item, work
// order or employee (or its name) looked up again while its module's query still holds it
// is served from there while rows are kept (see IShopLookups::KeepRows).
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

    void KeepRows(bool Keep) override;
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
    TDataSet& SelectEmployeeName(int EmpNbr) override;
    TDataSet& SelectInventoryItem(int InvNbr) override;

private:
    // The record a query was last opened on by a lookup, and the mark that
    // tells whether the query still holds that opening.
    struct HeldRow {
        int Kind = 0;
        int Key = 0;
        TBookmark Mark;
    };
    template <class Lookup>
    TDataSet& Reuse(HeldRow& Held, int Kind, int Key, TDataSet& Query, Lookup&& Run);

    TJobFormDmod& FJobForm;
    TPoDmod& FPo;
    TEmpDmod& FEmp;
    TInventoryDmod& FInventory;
    TJobStatusDmod& FJobStatus;
    bool FKeepRows = false;
    HeldRow FJobFormRow;
    HeldRow FEmployeeRow;
    HeldRow FEmployeeNameRow;
};
