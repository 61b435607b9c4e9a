// Unit conversion rows: their load, the conversions by a positioned query,
// and the converter by source unit.
#include "alert/store/UnitConversion.h"
#include "alert/store/MainDmod.h"

#include "platform/data/Query.h"
#include "platform/rtl/FloatFormat.h"

#include <algorithm>

namespace {

// A column whose NULL makes the row unusable: read through its variant
// value, so that a NULL raises the conversion error.
Variant Required(TDataSet& Query, const char* Column) {
    return Query.FieldByName(Column)->Value();
}

// The operator, rounding and factor of one side ("Qty" or "Cost") of the
// query's current row, read afresh each time.
struct RowSide {
    AnsiString Operator;
    AnsiString Rounding;
    double Factor;
};

RowSide ReadSide(TDataSet& Query, const AnsiString& Side) {
    return {Query.FieldByName(Side + "Operator")->AsString(),
            Query.FieldByName(Side + "Rounding")->AsString(),
            Query.FieldByName(Side + "Factor")->AsFloat()};
}

} // namespace

bool TMainDmod::LoadUnitConversion(UnitConversion& Record) {
    CommonSql->Close();
    CommonSql->SQL()->Clear();
    CommonSql->SQL()->Add("Select * from UNIT_CONV where VelmUomRef  = :a");
    CommonSql->Prepare();
    CommonSql->Params()[0]->SetAsSmallInt(Record.VelmUomRef);
    CommonSql->Open();
    if (CommonSql->IsEmpty()) return false;

    TDataSet& row = *CommonSql;
    Record.UnitConvNbr = Required(row, "UnitConvNbr").AsInteger();
    Record.VelmUomRef = static_cast<std::int16_t>(Required(row, "VelmUomRef").AsInteger());
    Record.DornUomRef = static_cast<std::int16_t>(Required(row, "DornUomRef").AsInteger());
    Record.QtyOperator = Required(row, "QtyOperator").AsString();
    Record.QtyFactor = static_cast<float>(Required(row, "QtyFactor").AsDouble());
    Record.QtyRounding = Required(row, "QtyRounding").AsString();
    TField* qtyPrecision = row.FieldByName("QtyPrecision");
    Record.QtyPrecision = qtyPrecision->IsNull() ? NullPrecision : qtyPrecision->AsInteger();
    Record.CostOperator = Required(row, "CostOperator").AsString();
    Record.CostFactor = static_cast<float>(Required(row, "CostFactor").AsDouble());
    Record.CostRounding = Required(row, "CostRounding").AsString();
    TField* costPrecision = row.FieldByName("CostPrecision");
    Record.CostPrecision = costPrecision->IsNull() ? NullPrecision : costPrecision->AsInteger();
    return true;
}

double ConvertQtyByRow(TDataSet& Query, double Quantity) {
    const RowSide side = ReadSide(Query, "Qty");
    const double converted =
        ApplyUnitRounding(side.Rounding, ApplyUnitOperator(side.Operator, Quantity, side.Factor));
    // The precision only sets the width of an exponent, which the reading
    // back ignores; it is kept to the range the format accepts.
    const int exponentDigits = std::clamp(Query.FieldByName("QtyPrecision")->AsInteger(), 0, 4);
    return StrToFloat(FloatToStrF(converted, ffGeneral, 10, exponentDigits));
}

double ConvertCostByRow(TDataSet& Query, double Cost) {
    const RowSide side = ReadSide(Query, "Cost");
    const double converted =
        ApplyUnitRounding(side.Rounding, ApplyUnitOperator(side.Operator, Cost, side.Factor));
    return StrToFloat(FloatToStrF(converted, ffFixed, 11, 3));
}

double ConvertCostBackByRow(TDataSet& Query, double Cost) {
    const RowSide side = ReadSide(Query, "Cost");
    const double converted = ApplyUnitRounding(
        side.Rounding, ApplyInverseUnitOperator(side.Operator, Cost, side.Factor));
    return StrToFloat(FloatToStrF(converted, ffFixed, 15, 5));
}

TUnitConverter::TUnitConverter(TMainDmod& MainDmod, TUomNameLookup UomName)
    : FMainDmod(MainDmod), FUomName(std::move(UomName)) {}

int TUnitConverter::ConvertUnits(std::int16_t SourceUom, double Quantity, double Cost,
                                 std::int16_t& TargetUom, AnsiString& TargetUomName,
                                 double& ConvertedQuantity, double& ConvertedCost) {
    UnitConversion conversion;
    conversion.VelmUomRef = SourceUom;
    if (!FMainDmod.LoadUnitConversion(conversion)) return 0;
    TargetUom = conversion.DornUomRef;
    TargetUomName = FUomName ? FUomName(conversion.DornUomRef) : AnsiString();
    ConvertedQuantity = ConvertQtyByRecord(conversion, Quantity);
    ConvertedCost = ConvertCostByRecord(conversion, Cost);
    return 1;
}
