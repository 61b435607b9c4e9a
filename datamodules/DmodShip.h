#pragma once
// The shipping data module: ship-via methods, ship tickets, invoices and the
// work-order products that can be shipped, with the display fields of the
// ship-ticket and billing lists. Its constructor reads the shipping settings
// from the options table; it is the first data module to run a statement
// when the program starts, so an unreachable database fails here, and the
// failure leaves the constructor.
#include "platform/classes/Component.h"

#include <cstdint>

class TDataSet;
class TDataSource;
class TQuery;

class TShipDmod : public TComponent {
public:
    // Builds the components and reads the seven shipping settings; a failed
    // statement (no database, no options row, a NULL setting) raises.
    explicit TShipDmod(TComponent* AOwner);
    AnsiString ClassName() const override { return "TShipDmod"; }

    // The ship-via method's name; empty when the number has no row.
    void GetShipViaName(int ShipViaNbr, AnsiString& Name);

    void ShipListQCalcFields(TDataSet* DataSet);
    void BillingQCalcFields(TDataSet* DataSet);

    // Date preference of the short dates: 1 month-first, else day-first.
    std::int32_t DatePreference = 0;
    // The shipping settings of the options table, as the constructor read them.
    std::int32_t PcCntProduct = 0;
    std::int32_t PcCntHardware = 0;
    std::int32_t PcCntOther = 0;
    std::int32_t PcCntService = 0;
    std::int32_t PcCntMaterial = 0;
    std::int32_t AutoShipBOCalcInd = 0;
    std::int32_t UseBuiltFlagInd = 0;

    // Components, owned by the module.
    TQuery* CommonSql = nullptr;
    TQuery* ShipViaQ = nullptr;
    TDataSource* DsShipVia = nullptr;
    TQuery* ShipListQ = nullptr;
    TDataSource* dsShipListQ = nullptr;
    TQuery* CommonSql2 = nullptr;
    TQuery* BillingQ = nullptr;
    TDataSource* dsBillingQ = nullptr;
    TQuery* CommonSql3 = nullptr;
    TQuery* CommonSql4 = nullptr;
    TQuery* FilterProductsQ = nullptr;
    TDataSource* dsFilterProductsQ = nullptr;

private:
    void CreateComponents();
    void ReadShippingSettings();
};
