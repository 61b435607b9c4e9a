#pragma once
// Quantities and costs of the cost library converted into the shop's units of
// measure, by a conversion row: an operator ("*", "/", "+", "-", compared
// exactly) with a factor, then a rounding rule ("Round Up", "Round Down", or
// none), then a final trip through text that rounds the figure.
#include "platform/rtl/AnsiString.h"

#include <cstdint>
#include <functional>

class TDataSet;
class TMainDmod;

// One UNIT_CONV row. A NULL precision loads as NullPrecision.
struct UnitConversion {
    std::int32_t UnitConvNbr = 0;
    std::int16_t VelmUomRef = 0; // source unit
    std::int16_t DornUomRef = 0; // target unit
    AnsiString QtyOperator;
    float QtyFactor = 0.0f;
    AnsiString QtyRounding;
    std::int32_t QtyPrecision = 0;
    AnsiString CostOperator;
    float CostFactor = 0.0f;
    AnsiString CostRounding;
    std::int32_t CostPrecision = 0;
};

// Marks a precision column that was NULL.
inline constexpr std::int32_t NullPrecision = -99;

// The operator step: Value combined with Factor; a division by 0 and an
// unknown operator give 0.
double ApplyUnitOperator(const AnsiString& Operator, double Value, double Factor);
// The same step undone: "*" divides (0 for a factor of 0), "/" multiplies,
// "+" subtracts and "-" adds.
double ApplyInverseUnitOperator(const AnsiString& Operator, double Value, double Factor);
// The rounding step: a result above 0 with a fraction goes up to the next
// whole number ("Round Up") or down to its whole part ("Round Down"); other
// results and other rules are left as they are.
double ApplyUnitRounding(const AnsiString& Rounding, double Value);

// Conversions by the INV_CONV row a query is positioned on; the row's
// operator, factor, rounding and precision columns are read each time.
// Quantities end with 10 significant digits, costs with 3 decimals, and a
// cost converted back with 5 decimals.
double ConvertQtyByRow(TDataSet& Query, double Quantity);
double ConvertCostByRow(TDataSet& Query, double Cost);
double ConvertCostBackByRow(TDataSet& Query, double Cost);

// Conversions by a loaded row: the operator and rounding steps with the
// row's single-precision factor, then a fixed form with the row's precision
// as its count of decimals. A NULL precision means the row gives no count:
// the figure keeps 11 significant digits instead of being rounded away.
double ConvertQtyByRecord(const UnitConversion& Conversion, double Quantity);
double ConvertCostByRecord(const UnitConversion& Conversion, double Cost);

// Converts a quantity and a cost from a cost-library unit into the shop's
// unit by the UNIT_CONV row of that unit, which the main data module loads.
// The unit's name comes from whoever knows the units (the project-product
// data module), handed in as UomName.
class TUnitConverter {
public:
    using TUomNameLookup = std::function<AnsiString(std::int16_t UomRef)>;

    TUnitConverter(TMainDmod& MainDmod, TUomNameLookup UomName);

    // 1 with the outputs set when the source unit has a conversion row;
    // 0 with the outputs untouched when it has none.
    int ConvertUnits(std::int16_t SourceUom, double Quantity, double Cost, std::int16_t& TargetUom,
                     AnsiString& TargetUomName, double& ConvertedQuantity, double& ConvertedCost);

private:
    TMainDmod& FMainDmod;
    TUomNameLookup FUomName;
};
