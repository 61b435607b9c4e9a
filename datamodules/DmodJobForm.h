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
// Ten report data connections publish the report queries, and four one-row
// column sets the module builds itself, to a report engine in another
// process; each listens from the module's creation. Their handlers and the
// report queries' calculated fields run on the GUI thread.
#include "datamodules/DmodCommon.h"
#include "platform/classes/Component.h"
#include "platform/rtl/TDateTime.h"

#include <array>
#include <cstdint>

class TDataSet;
class TDataSource;
class TField;
class TQuery;

namespace reportconn {
class TDcCustomConnection;
class TDcQueryConnection;
} // namespace reportconn

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
    // Reset ChangedByScheduler (and a work order's StatusChgInd) on
    // ChangeFlagsSql, then leave the row on CommonSql; an unknown number
    // leaves it open and empty.
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
    // --- Report side (DmodJobFormReports.cpp, DmodJobFormReportFields.cpp) ----
    // The company, project, shop job and contact of a report row; the
    // company and project on CommonSql2, the contact on CommonSql3.
    void SelectReportCompany(int CompanyNbr, const AnsiString& Pub);
    void SelectReportProject(int ProjectNbr, const AnsiString& Pub);
    void SelectReportJob(int JobNbr);
    void SelectReportContact(int ContactNbr, const AnsiString& Pub);
    // PH_PREF of the defaults row (on CommonSql); 0 without a row or value.
    int GetPhonePreference();
    // The contact's names (on CommonSql4); both empty unless exactly one
    // contact has the number and public code.
    void GetContactName(int ContactNbr, const AnsiString& Pub, AnsiString& LastName,
                        AnsiString& FirstName);
    // The shop job's id and description (on CommonSql2); empty when none.
    void GetJobIdAndDescr(int JobNbr, AnsiString& JobId, AnsiString& JobDescr);
    // The type (reason) flags of RpTransListQ's row as "RFI; LEED" appended to Text.
    void BuildTransmittalTypeText(AnsiString& Text);
    void BuildTransmittalReasonText(AnsiString& Text);

    void CustTransmittalCXNOpen(reportconn::TDcCustomConnection* Connection);
    void CustomRFIsCXNOpen(reportconn::TDcCustomConnection* Connection);
    void CustTransContInfoOpen(reportconn::TDcCustomConnection* Connection);
    void CustRFIContInfoOpen(reportconn::TDcCustomConnection* Connection);
    void CustTransmittalCXNGetCols(reportconn::TDcCustomConnection* Connection);
    void CustomRFIsCXNGetCols(reportconn::TDcCustomConnection* Connection);
    void CustTransContInfoGetCols(reportconn::TDcCustomConnection* Connection);
    void CustRFIContInfoGetCols(reportconn::TDcCustomConnection* Connection);
    void CustTransmittalCXNGetRow(reportconn::TDcCustomConnection* Connection);
    void CustomRFIsCXNGetRow(reportconn::TDcCustomConnection* Connection);
    void CustTransContInfoGetRow(reportconn::TDcCustomConnection* Connection);
    void CustRFIContInfoGetRow(reportconn::TDcCustomConnection* Connection);

    void RpTransmittalsQCalcFields(TDataSet* DataSet);
    void RpRFIsQCalcFields(TDataSet* DataSet);
    void RpTransItemsQCalcFields(TDataSet* DataSet);
    void TransmittalItemsQStatusGetText(TField* Sender, AnsiString& Text, bool DisplayText);
    void RpTransListQCalcFields(TDataSet* DataSet);
    void RpRFIListQCalcFields(TDataSet* DataSet);
    void RpTransItemListQCalcFields(TDataSet* DataSet);
    void ListContactsQCalcFields(TDataSet* DataSet);
    void ListContacts2QCalcFields(TDataSet* DataSet);

    // The shop job whose id and description the documents print; nothing in
    // the program sets it.
    std::int32_t ReportJobNbr = 0;
    // A list report's selection, whose captions the lists print: the kind
    // of each filter (0 none), the archive switch and the two sort kinds.
    std::int32_t FilterOneKind = 0;
    std::int32_t FilterTwoKind = 0;
    std::int32_t IncludeArchived = 0;
    std::int32_t SortOneKind = 0;
    std::int32_t SortTwoKind = 0;
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
    // The change-flag resets of the lookups above: a query of their own, so
    // that CommonSql keeps its compiled lookup from one row to the next.
    TQuery* ChangeFlagsSql = nullptr;
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
    TQuery* TransmittalsQ = nullptr;
    TQuery* TransmittalItemsQ = nullptr;
    TDataSource* TransmittalItems = nullptr;
    TQuery* RFIsQ = nullptr;
    TQuery* UomQ = nullptr;
    reportconn::TDcQueryConnection* RvTransmittalQ = nullptr;
    reportconn::TDcCustomConnection* CustTransmittalCXN = nullptr;
    reportconn::TDcQueryConnection* RvRFIsQ = nullptr;
    reportconn::TDcCustomConnection* CustomRFIsCXN = nullptr;
    reportconn::TDcQueryConnection* RvTransItemsQ = nullptr;
    TQuery* RpTransmittalsQ = nullptr;
    TQuery* RpTransItemsQ = nullptr;
    TQuery* RpRFIsQ = nullptr;
    reportconn::TDcCustomConnection* CustTransContInfo = nullptr;
    reportconn::TDcCustomConnection* CustRFIContInfo = nullptr;
    TQuery* ListStatusQ = nullptr;
    TQuery* ListStatus2Q = nullptr;
    TQuery* ListCompanyQ = nullptr;
    TQuery* ListCompany2Q = nullptr;
    TQuery* ListContactsQ = nullptr;
    TQuery* ListContacts2Q = nullptr;
    TQuery* RpTransListQ = nullptr;
    reportconn::TDcQueryConnection* RvTransListQSP = nullptr;
    TQuery* RpRFIListQ = nullptr;
    reportconn::TDcQueryConnection* RvRFIListQSP = nullptr;
    TQuery* RpTransItemListQ = nullptr;
    reportconn::TDcQueryConnection* RvTransItemListQSP = nullptr;

private:
    void CreateComponents();
    void CreateWorkOrderQueries();
    void CreateJobQueries();
    void CreateDocumentComponents();
    void CreateListReportComponents();
    // Both document queries' fields (TransmittalOnly picks the steps that differ).
    void DocumentCalcFields(TDataSet& Query, bool Transmittal);
    // The date text of the module's preference; "  /  /  " for NULL when Blank.
    AnsiString ReportDateText(const TField& Field, const char* Blank) const;
    // The two filter and the sort captions of a list's row.
    void SelectionCaptions(TDataSet& Query, bool Transmittal) const;
    // The row of an address or contact connection on the document query.
    void AddressRow(reportconn::TDcCustomConnection* Connection, const TDataSet& Query);
    void ContactRow(reportconn::TDcCustomConnection* Connection, const TDataSet& Query);
    // The status and type names of the row's JobStatusNbr and JobTypeNbr,
    // each only when the number is not NULL.
    void SetJobStatusAndType(TDataSet& Row);
    // The unit name of the named reference field; empty for NULL.
    AnsiString UomText(const TDataSet& Row, const char* Field);
};
