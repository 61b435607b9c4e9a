#pragma once
// The lookups of the shop data modules that the alert engine makes. Each
// leaves its row (or rows) on the data module's query and returns that query
// for the caller to read by field name; the next lookup on the same module
// may move it, so the caller reads what it needs first. An unknown key gives
// an open, empty result.
//
// SelectJob, SelectJobItem and SelectWorkOrder reset the record's change
// flags before they read it; SelectPurchaseOrder resets the order's.
//
// While rows are kept (one unit of alert work: one database transaction) a
// lookup may hand back the row an earlier lookup of the same record left, as
// long as its query still holds it: nothing else writes the record meanwhile,
// and its flags were reset by the first read.
#include "platform/data/DataSet.h"

class IShopLookups {
public:
    virtual ~IShopLookups() = default;

    // True from the start of a unit of work to its end; false forgets the
    // rows read, and every lookup reads its record again.
    virtual void KeepRows(bool Keep) { (void)Keep; }

    // Job form: JOBS, JOB_ITEM, WO, WO_PRODUCTS by key.
    virtual TDataSet& SelectJob(int JobNbr) = 0;
    virtual TDataSet& SelectJobItem(int JobItemNbr) = 0;
    virtual TDataSet& SelectWorkOrder(int WoNbr) = 0;
    virtual TDataSet& SelectWoProduct(int WoProductNbr) = 0;
    // The DEPT_EST row of the work order and department, or nullptr unless
    // there is exactly one.
    virtual TDataSet* SelectDeptEstimate(int WoNbr, int DeptRef) = 0;
    // -99 when the job has no single latest progress billing.
    virtual int GetLastProgressBillingNbr(int JobNbr) = 0;
    virtual double GetProgressBillingStoredTotal(int ProgressBillingNbr, int JobNbr) = 0;
    virtual double GetJobInvoicedTotal(int JobNbr) = 0;

    // Job status: every status (JobStatusNbr, JobStatus), by name.
    virtual TDataSet& OpenJobStatusList() = 0;

    // Purchase orders.
    virtual TDataSet& SelectPurchaseOrder(int PoNbr) = 0;
    virtual TDataSet& SelectPoItem(int PoItemNbr) = 0;
    // The jobs (JobNbr) or work orders (WoNbr) an order's or an order item's
    // lines are linked to.
    virtual TDataSet& OpenPoJobs(int PoNbr) = 0;
    virtual TDataSet& OpenPoItemJobs(int PoItemNbr) = 0;
    virtual TDataSet& OpenPoWorkOrders(int PoNbr) = 0;
    virtual TDataSet& OpenPoItemWorkOrders(int PoItemNbr) = 0;

    // Employees: DeptNbr, Fname, Lname, FirstLast.
    virtual TDataSet& SelectEmployee(int EmpNbr) = 0;
    // Fname, Lname and FirstLast alone, as SelectEmployee gives them.
    virtual TDataSet& SelectEmployeeName(int EmpNbr) { return SelectEmployee(EmpNbr); }
    // Inventory: InvTypeNbr, Code, Descr.
    virtual TDataSet& SelectInventoryItem(int InvNbr) = 0;
};
