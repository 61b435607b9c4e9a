#pragma once
// The project-product data module: the tables the shop database shares with
// the project-management product (units of measure and other reference
// lists, companies, suppliers and the cost library, departments and
// operation codes, estimates). The other modules ask it for unit names,
// company rows, department names and operation codes, and search its unit
// and general-ledger account lists.
//
// Every lookup runs on CommonSql, which the calculated fields use as well: a
// caller of SelectCompany reads the company row before anything else asks
// this module for a name.
#include "platform/classes/Component.h"

#include <cstdint>

class TDataSet;
class TDataSource;
class TQuery;

class TVelmDmod : public TComponent {
public:
    explicit TVelmDmod(TComponent* AOwner);
    AnsiString ClassName() const override { return "TVelmDmod"; }

    // ITEM of the MAINT_REF unit row (type 1); empty when there is none.
    AnsiString GetUomName(std::int16_t UomRef);
    // Leaves the COMPANY row of the number and public code on CommonSql
    // (open and empty when there is none).
    void SelectCompany(int CompanyNbr, const AnsiString& Pub);
    // ITEM of the MAINT_REF estimate status row (type 0); empty when there is none.
    AnsiString GetEstimateStatusName(std::int16_t StatusRef);
    // Name of the department; empty when there is none.
    AnsiString GetDeptName(int DeptNbr);
    // The operation code and its description: OpCdNbr when exactly one row
    // has it, else -99 with Code and Descr left as they were.
    int GetOpCode(int OpCdNbr, AnsiString& Code, AnsiString& Descr);
    // The unit (name and reference), sequence code, unit cost and line tag of
    // a cost-library item. Without exactly one row, or for a NULL column, the
    // texts are empty and the cost and reference -99. The cost keeps at most
    // three decimals (12.3456 gives 12.346).
    void GetLibItemInfo(std::int16_t DivNbr, std::int16_t SectionNbr, std::int16_t ItemNbr,
                        AnsiString& UnitName, AnsiString& SeqCode, double& UnitCost,
                        std::int16_t& UnitRef, AnsiString& LineTag);

    void CompanyListQCalcFields(TDataSet* DataSet);
    void ListLibVendorsQCalcFields(TDataSet* DataSet);
    void GetVendorInfoQCalcFields(TDataSet* DataSet);
    void LibItemListQCalcFields(TDataSet* DataSet);
    void ListEstimatesQCalcFields(TDataSet* DataSet);
    // Shared by ListLibVendorsQ2 and GetVendorInfoQ2: works on the data set
    // whose row is being computed.
    void ListLibVendorsQ2CalcFields(TDataSet* DataSet);

    // Decimals of converted vendor costs.
    std::int32_t CostDecimals = 0;
    // Phone preference of the phone texts (1, 2 or 3; another leaves them empty).
    std::int32_t PhonePreference = 0;
    // The cost-library item whose unit ListLibVendorsQ shows.
    std::int16_t LibDivNbr = 0;
    std::int16_t LibSectionNbr = 0;
    std::int16_t LibItemNbr = 0;

    // Components, owned by the module, in form order.
    TQuery* WorkGrpNamesQ = nullptr;
    TQuery* UserLineTypeQ = nullptr;
    TQuery* CommonSql = nullptr;
    TQuery* CompanyListQ = nullptr;
    TDataSource* DsCompanyList = nullptr;
    TDataSource* ListLibVendors = nullptr;
    TQuery* ListLibVendorsQ = nullptr;
    TDataSource* DsDeptList = nullptr;
    TQuery* DeptListQ = nullptr;
    TQuery* OpCodeQ1 = nullptr;
    TQuery* UOMlistQ = nullptr;
    TQuery* LibDivQ = nullptr;
    TQuery* LibSubDivQ = nullptr;
    TDataSource* DsLibDiv = nullptr;
    TDataSource* DsLibSubDiv = nullptr;
    TQuery* LibItemListQ = nullptr;
    TDataSource* DsLibItemList = nullptr;
    TDataSource* ListLibVendors2 = nullptr;
    TQuery* ListLibVendorsQ2 = nullptr;
    TQuery* ListEstimatesQ = nullptr;
    TDataSource* DsListEstimates = nullptr;
    TQuery* CommonSql2 = nullptr;
    TQuery* AllOpCodesQ = nullptr;
    TDataSource* GetVendorInfo = nullptr;
    TQuery* GetVendorInfoQ = nullptr;
    TQuery* GetVendorInfoQ2 = nullptr;
    TQuery* CommonSql3 = nullptr;
    TQuery* CommonSql4 = nullptr;
    TQuery* GLacctQ = nullptr;
    TQuery* ListDeptQ = nullptr;

private:
    void CreateComponents();
    void CreateVendorQueries();
    // The phone text of the row's PHONE_NBR under PhonePreference.
    AnsiString PhoneText(const TDataSet& Row) const;
    // The vendor cost rule's conversions of COST for a row whose stock and
    // order units differ.
    void ConvertVendorCost(TDataSet& Row, std::int16_t StockUnit);
};
