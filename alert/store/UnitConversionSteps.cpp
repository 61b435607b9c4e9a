// The steps every unit conversion shares, and the conversions by a loaded
// row, which need nothing but the row.
#include "alert/store/MathHelpers.h"
#include "alert/store/UnitConversion.h"

#include "platform/rtl/FloatFormat.h"

#include <cmath>

namespace {

// The figure written as text and read back: the text form is what rounds it.
double ThroughText(const AnsiString& Text) {
    return StrToFloat(Text);
}

double FinishByRecord(double Value, std::int32_t Precision) {
    if (Precision == NullPrecision) return ThroughText(FloatToStrF(Value, ffGeneral, 11, 0));
    if (Precision < 0)
        return ThroughText(FloatToStrF(RoundToDecimals(Value, Precision), ffGeneral, 11, 0));
    return ThroughText(FloatToStrF(Value, ffFixed, 11, Precision));
}

} // namespace

double ApplyUnitOperator(const AnsiString& Operator, double Value, double Factor) {
    if (Operator == "*") return Value * Factor;
    if (Operator == "/") return Factor != 0 ? Value / Factor : 0.0;
    if (Operator == "+") return Value + Factor;
    if (Operator == "-") return Value - Factor;
    return 0.0;
}

double ApplyInverseUnitOperator(const AnsiString& Operator, double Value, double Factor) {
    if (Operator == "*") return Factor != 0 ? Value / Factor : 0.0;
    if (Operator == "/") return Value * Factor;
    if (Operator == "+") return Value - Factor;
    if (Operator == "-") return Value + Factor;
    return 0.0;
}

double ApplyUnitRounding(const AnsiString& Rounding, double Value) {
    if (Value <= 0) return Value;
    // floor rather than a cast to a 32-bit integer: a figure beyond its range
    // would otherwise come out as garbage.
    const double whole = std::floor(Value);
    if (Value - whole <= 0) return Value;
    if (Rounding == "Round Up") return whole + 1;
    if (Rounding == "Round Down") return whole;
    return Value;
}

double ConvertQtyByRecord(const UnitConversion& Conversion, double Quantity) {
    const double converted = ApplyUnitRounding(
        Conversion.QtyRounding,
        ApplyUnitOperator(Conversion.QtyOperator, Quantity, Conversion.QtyFactor));
    return FinishByRecord(converted, Conversion.QtyPrecision);
}

double ConvertCostByRecord(const UnitConversion& Conversion, double Cost) {
    const double converted =
        ApplyUnitRounding(Conversion.CostRounding,
                          ApplyUnitOperator(Conversion.CostOperator, Cost, Conversion.CostFactor));
    return FinishByRecord(converted, Conversion.CostPrecision);
}
