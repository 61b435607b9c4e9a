#pragma once
// The job-form data module: jobs, job items, work orders with their labour,
// material and department estimates, other costs, progress billings,
// requests for information and transmittals.
//
// The alert processor looks up one job, job item, work order, work-order
// product or department estimate here; the row is left on CommonSql for the
// caller to read by field name. Looking up a job, job item or work order
// first resets its change flags, so the row comes back with them at 0. The
// module also totals a job's billings, and carries the list queries with
// their calculated display fields.
//
// The report connections and the report-only queries join this module with
// the report data-connection server; the label tables and the report
// selection members they read are here already.
#include "datamodules/DmodCommon.h"
#include "platform/classes/Component.h"
#include "platform/rtl/TDateTime.h"

#include <array>
#include <cstdint>

class TDataSet;
class TDataSource;
class TQuery;

// Labels of the transmittal and RFI codes, by code (0-based).
inline constexpr std::array<const char*, 12> TransmittalTypeLabels{
    "RFI",      "Bid Proposal", "Drawings", "Specifications", "Plans", "Prints", "Copy Of Letter",
    "Contract", "Change Order", "Samples",  "LEED",           "Other"};
inline constexpr std::array<const char*, 13> TransmittalReasonLabels{
    "For Approval",
    "For Your Use",
    "As Requested",
    "For Review And Comment",
    "Approved As Submitted",
    "Approved As Noted",
    "Returned For Corrections",
    "On Loan - Please Return Prints",
    "Resubmit Copies For Approval",
    "Submit Copies For Distribution",
    "Return Sets Corrected Prints",
    "For Bids Due",
    "Other"};
inline constexpr std::array<const char*, 3> RfiStatusLabels{"Pending", "Open", "Closed"};
inline constexpr std::array<const char*, 8> RfiReasonLabels{
    "Request For Information",  "Document Variation",
    "Document Clarification",   "Request For Substitution",
    "Insufficient Information", "Alternate Proposal",
    "Engineering Conflict",     "Other"};
inline constexpr std::array<const char*, 4> CostImpactLabels{"None", "Cost Increase",
                                                             "Cost Decrease", "Unknown"};
inline constexpr std::array<const char*, 4> ScheduleImpactLabels{"None", "Time Increase",
                                                                 "Time Decrease", "Unknown"};

class TJobFormDmod : public TComponent, public TDecimalCounts {
public:
    explicit TJobFormDmod(TComponent* AOwner);
    AnsiString ClassName() const override { return "TJobFormDmod"; }

    // --- Lookups of the alert processor, all on CommonSql ----------------------
    // Reset ChangedByScheduler (and a work order's StatusChgInd), then leave
    // the row on CommonSql; an unknown number leaves it open and empty.
    void SelectJob(int JobNbr);
    void SelectJobItem(int JobItemNbr);
    void SelectWorkOrder(int WoNbr);
    void SelectWoProduct(int WoProductNbr);
    // True when exactly one DEPT_EST row has the work order and department.
    bool SelectDeptEstimate(int WoNbr, int DeptRef);

    // --- Billing totals, on CommonSql4 -------------------------------------------
    // Posted, invoiced billings of the job; 0 when there are none.
    void GetJobInvoicedTotal(int JobNbr, double& Total);
    // The job's progress billing of the highest application number: -99
    // unless exactly one row has it, and -99 when that number is 0.
    int GetLastProgressBillingNbr(int JobNbr);
    // Stored amounts of the progress billing's items; 0 when there are none.
    void GetProgressBillingStoredTotal(int ProgressBillingNbr, int JobNbr, double& Total);

    void GrpWoListQCalcFields(TDataSet* DataSet);
    void JobListQCalcFields(TDataSet* DataSet);
    void ListDeptTmpItemsQCalcFields(TDataSet* DataSet);
    void EmpAssignQCalcFields(TDataSet* DataSet);
    void WoLaborQCalcFields(TDataSet* DataSet);
    void MatItemsQCalcFields(TDataSet* DataSet);
    void OthCostQCalcFields(TDataSet* DataSet);
    void ProgBillingQCalcFields(TDataSet* DataSet);

    // 1 selects month-first short dates in the calculated date texts; any
    // other value day-first.
    std::int32_t DatePreference = 0;
    // The report selections (dates of the two filters and their texts).
    TDateTime FilterOneFromDate;
    TDateTime FilterOneToDate;
    TDateTime FilterTwoFromDate;
    TDateTime FilterTwoToDate;
    AnsiString FilterOneText;
    AnsiString FilterTwoText;

    // Components, owned by the module, in form order.
    TQuery* WoLaborQ = nullptr;
    TQuery* MatItemsQ = nullptr;
    TDataSource* GrpWoList = nullptr;
    TQuery* GrpWoListQ = nullptr;
    TQuery* CommonSql = nullptr;
    TDataSource* JobList = nullptr;
    TQuery* JobListQ = nullptr;
    TQuery* CommonSql2 = nullptr;
    TQuery* WoDeptEstQ = nullptr;
    TDataSource* EmpAssign = nullptr;
    TQuery* EmpAssignQ = nullptr;
    TQuery* WoListByStatusQ = nullptr;
    TQuery* OthCostQ = nullptr;
    TDataSource* DsOthCost = nullptr;
    TQuery* WoListByStatusQ2 = nullptr;
    TDataSource* JobItemWoList = nullptr;
    TQuery* JobItemWoListQ = nullptr;
    TQuery* ListDeptTemplQ = nullptr;
    TDataSource* DsDeptTemplate = nullptr;
    TQuery* ListDeptTmpItemsQ = nullptr;
    TDataSource* DsDeptTItems = nullptr;
    TQuery* CommonSql3 = nullptr;
    TQuery* ProgBillingQ = nullptr;
    TDataSource* DsProgBilling = nullptr;
    TQuery* CommonSql4 = nullptr;
    TQuery* CommonSql5 = nullptr;
    TQuery* MyCompanyContactListQ = nullptr;
    TQuery* ContactListQ = nullptr;
    TQuery* ListStatusQ = nullptr;
    TQuery* ListStatus2Q = nullptr;
    TQuery* ListCompanyQ = nullptr;
    TQuery* ListCompany2Q = nullptr;

private:
    void CreateComponents();
    void CreateWorkOrderQueries();
    void CreateJobQueries();
    // The status and type names of the row's JobStatusNbr and JobTypeNbr,
    // each only when the number is not NULL.
    void SetJobStatusAndType(TDataSet& Row);
    // The unit name of the named reference field; empty for NULL.
    AnsiString UomText(const TDataSet& Row, const char* Field);
};
