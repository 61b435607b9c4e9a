#pragma once
// The purchase-order data module: purchase orders, their items and job
// links, receivers, vendor invoices, price history, inventory reorders and
// quote requests. The alert processor selects an order (resetting its
// status-change flag) or an order item here and lists the jobs and work
// orders an order or item is linked to; the inventory module asks for the
// order of an item. The calculated fields turn numbers, companies, employees,
// units and dates of the lists into display texts and total prices and costs.
//
// CommonSql, CommonSql2 and CommonSql3 are shared by several operations and
// by the calculated fields: a caller reads a result before the next
// operation on the same query.
#include "datamodules/DmodCommon.h"
#include "platform/classes/Component.h"

#include <cstdint>

class TDataSet;
class TDataSource;
class TQuery;

class TPoDmod : public TComponent, public TDecimalCounts {
public:
    explicit TPoDmod(TComponent* AOwner);
    AnsiString ClassName() const override { return "TPoDmod"; }

    // --- Lookups of the alert processor and the inventory module -----------
    // Resets the order's StatusChgInd, then leaves its row on CommonSql.
    void SelectPurchaseOrder(int PoNbr);
    // Leaves the PO_ITEM row on CommonSql.
    void SelectPoItem(int PoItemNbr);
    // Leave CommonSql on the distinct jobs (JobNbr) or work orders (WoNbr)
    // that the order's or the item's job links point at.
    void OpenPoJobs(int PoNbr);
    void OpenPoItemJobs(int PoItemNbr);
    void OpenPoWorkOrders(int PoNbr);
    void OpenPoItemWorkOrders(int PoItemNbr);
    // The order of the item; -99 when there is no such item.
    int GetPoItemPoNbr(int PoItemNbr);

    // --- Helpers of the calculated fields ----------------------------------
    // Job links of the item whose label is to be printed.
    int CountPrintLabelJobs(int PoItemNbr);
    // Leave CommonSql2 on the costed job links of the order for a job item
    // (or a work order), reserved or direct.
    void OpenJobItemPoCosts(int JobItemNbr, int PoNbr, bool Reserve);
    void OpenWorkOrderPoCosts(int WoNbr, int PoNbr, bool Reserve);
    // Last and first name of the employee; both empty unless exactly one row.
    void GetEmployeeNames(int EmpNbr, AnsiString& LastName, AnsiString& FirstName);
    // Sums of the receiver's received amounts and of its order's ordered
    // amounts, each rounded to CostDecimals; a NULL sum gives 0.
    void GetReceiverSums(int ReceiverNbr, double& ReceiverSum, double& OrderSum);

    void PoItemsQCalcFields(TDataSet* DataSet);
    void PoListQCalcFields(TDataSet* DataSet);
    void JobItemPoListQCalcFields(TDataSet* DataSet);
    void PriceHistQCalcFields(TDataSet* DataSet);
    void ReceiverQCalcFields(TDataSet* DataSet);
    void ReceiverItemQCalcFields(TDataSet* DataSet);
    void InvReorderQCalcFields(TDataSet* DataSet);
    void VendorInvoiceQCalcFields(TDataSet* DataSet);
    void QuoteRequestListQCalcFields(TDataSet* DataSet);

    // Date preference of the short dates: 1 month-first, else day-first.
    std::int32_t DatePreference = 0;
    // The work order whose purchase costs JobItemPoListQ totals; -99 totals
    // by the row's job item instead.
    std::int32_t SelectedWoNbr = 0;

    // Components, owned by the module, in form order.
    TDataSource* DsTerms = nullptr;
    TQuery* ListTermsQuery = nullptr;
    TQuery* CommonSql = nullptr;
    TDataSource* DsFob = nullptr;
    TQuery* ListFobQuery = nullptr;
    TQuery* PoItemsQ = nullptr;
    TQuery* JobAssignQ = nullptr;
    TDataSource* ConMatList = nullptr;
    TQuery* ConMatListQ = nullptr;
    TQuery* PoListQ = nullptr;
    TDataSource* DsPoList = nullptr;
    TQuery* CommonSql2 = nullptr;
    TDataSource* DsJobItemPoList = nullptr;
    TQuery* JobItemPoListQ = nullptr;
    TQuery* PriceHistQ = nullptr;
    TDataSource* DsPriceHistQ = nullptr;
    TQuery* CommonSql3 = nullptr;
    TQuery* ReceiverQ = nullptr;
    TQuery* ReceiverItemQ = nullptr;
    TQuery* ReceiverItemJobQ = nullptr;
    TQuery* CommonSql4 = nullptr;
    TQuery* InvReorderQ = nullptr;
    TDataSource* DsVendorInvoice = nullptr;
    TQuery* VendorInvoiceQ = nullptr;
    TDataSource* dsQuoteRequestList = nullptr;
    TQuery* QuoteRequestListQ = nullptr;

private:
    void CreateComponents();
    void CreateReceiverQueries();
    // The date text of the named date field; empty for a NULL date.
    AnsiString DateText(const TDataSet& Row, const char* Field) const;
    // "Pending" ... "Cancel" into Status for 0..5; another number leaves it unset.
    static void SetPoStatus(TDataSet& Row, const char* StatusField);
    // NAME of the company (number, public code); empty for a NULL number.
    AnsiString CompanyName(const TDataSet& Row, const char* NbrField, const char* PubField);
    // The inventory item's Code; empty for a NULL InvNbr.
    AnsiString InventoryCode(const TDataSet& Row);
    // The sum of QtyOrdered x UnitPrice + ShippingAmt over CommonSql2's rows.
    double SumPoCosts();
};
