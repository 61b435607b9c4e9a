// The calculated fields of the project-product data module and the vendor
// cost rule behind the supplier lists.
#include "datamodules/DmodVelm.h"

#include "alert/store/MainDmod.h"
#include "alert/store/MathHelpers.h"
#include "alert/store/UnitConversion.h"
#include "datamodules/DmodCommon.h"
#include "datamodules/DmodInventory.h"
#include "datamodules/format/DisplayText.h"
#include "platform/data/Query.h"

namespace {

// The quantity the unit converter is given when only a cost is wanted.
constexpr double VendorCostQuantity = 20;

std::int16_t SmallValue(const TField* Field) {
    return static_cast<std::int16_t>(Field->AsInteger());
}

} // namespace

AnsiString TVelmDmod::PhoneText(const TDataSet& Row) const {
    AnsiString phone;
    const TField* number = Row.FieldByName("PHONE_NBR");
    if (!number->IsNull()) FormatPhoneByPreference(PhonePreference, number->AsString(), phone);
    return phone;
}

void TVelmDmod::CompanyListQCalcFields(TDataSet* /*DataSet*/) {
    CompanyListQ->FieldByName("Company")->SetAsString(CompanyDisplayText(*CompanyListQ));
}

void TVelmDmod::ListLibVendorsQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *ListLibVendorsQ;
    q.FieldByName("Phone")->SetAsString(PhoneText(q));
    AnsiString unitName, seqCode, lineTag;
    double unitCost = 0;
    std::int16_t unitRef = 0;
    GetLibItemInfo(LibDivNbr, LibSectionNbr, LibItemNbr, unitName, seqCode, unitCost, unitRef,
                   lineTag);
    q.FieldByName("LibItemUom")->SetAsString(unitName);
}

void TVelmDmod::GetVendorInfoQCalcFields(TDataSet* /*DataSet*/) {
    GetVendorInfoQ->FieldByName("Phone")->SetAsString(PhoneText(*GetVendorInfoQ));
}

void TVelmDmod::LibItemListQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *LibItemListQ;
    const TField* unit = q.FieldByName("UNIT_REF_ID");
    q.FieldByName("Unit")->SetAsString(unit->IsNull() ? AnsiString()
                                                      : GetUomName(SmallValue(unit)));
    const TField* dept = q.FieldByName("DEPT_REF");
    q.FieldByName("Dept")->SetAsString(dept->IsNull() ? AnsiString()
                                                      : GetDeptName(dept->AsInteger()));

    AnsiString code, descr;
    const TField* opCode = q.FieldByName("OP_CD_REF");
    if (!opCode->IsNull() && GetOpCode(opCode->AsInteger(), code, descr) == -99) {
        code = "";
        descr = "";
    }
    q.FieldByName("OpCode")->SetAsString(code);
    q.FieldByName("OpCdDescr")->SetAsString(descr);

    const TField* notes = q.FieldByName("NOTES");
    if (!notes->IsNull()) {
        AnsiString text = notes->AsString();
        for (char& c : text)
            if (c == '\r' || c == '\n') c = ' ';
        q.FieldByName("DisplayNotes")->SetAsString(text);
    }
}

void TVelmDmod::ListEstimatesQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *ListEstimatesQ;
    // Estimates show the customer first name first.
    const TField* fname = q.FieldByName("FNAME");
    const AnsiString name = q.FieldByName("NAME")->AsString();
    q.FieldByName("Customer")->SetAsString(fname->IsNull() ? name : fname->AsString() + " " + name);
    const TField* status = q.FieldByName("STATUS_REF_ID");
    q.FieldByName("Status")->SetAsString(
        status->IsNull() ? AnsiString() : GetEstimateStatusName(SmallValue(status)));
}

void TVelmDmod::ListLibVendorsQ2CalcFields(TDataSet* DataSet) {
    TDataSet& row = *DataSet;
    row.FieldByName("Phone")->SetAsString(PhoneText(row));

    std::int16_t stockUnit = -99;
    std::int16_t orderUnit = -99;
    AnsiString stockLiteral;
    const TField* stockRef = row.FieldByName("StkUOMRef");
    if (!stockRef->IsNull()) {
        stockUnit = SmallValue(stockRef);
        stockLiteral = GetUomName(stockUnit);
    }
    row.FieldByName("StkUOMLiteral")->SetAsString(stockLiteral);

    const TField* orderRef = row.FieldByName("OrdUOMRef");
    if (orderRef->IsNull() || orderRef->AsInteger() < 1) {
        row.FieldByName("OrdUOMLiteral")->SetAsString(stockLiteral);
    } else {
        orderUnit = SmallValue(orderRef);
        row.FieldByName("OrdUOMLiteral")->SetAsString(GetUomName(orderUnit));
    }

    const double cost = row.FieldByName("COST")->AsFloat();
    row.FieldByName("OrdUOMCost")->SetAsFloat(cost);
    row.FieldByName("StkUOMCost")->SetAsFloat(cost);

    if (stockUnit != orderUnit) ConvertVendorCost(row, stockUnit);
}

void TVelmDmod::ConvertVendorCost(TDataSet& Row, std::int16_t StockUnit) {
    const double cost = Row.FieldByName("COST")->AsFloat();
    TInventoryDmod& inventory = PeerDmod<TInventoryDmod>(*this, DmodNames::Inventory);

    // By the inventory's conversion row: a library cost goes back into the
    // order unit, an inventory supplier's cost into the stock unit.
    auto convertByRow = [&](int InvConvNbr) {
        inventory.SelectInvConv(InvConvNbr);
        TDataSet& conversion = *inventory.CommonSql2;
        if (Row.FieldByName("Source")->AsString() == "Lib")
            Row.FieldByName("OrdUOMCost")
                ->SetAsFloat(RoundToDecimals(ConvertCostBackByRow(conversion, cost), CostDecimals));
        else
            Row.FieldByName("StkUOMCost")
                ->SetAsFloat(RoundToDecimals(ConvertCostByRow(conversion, cost), CostDecimals));
    };

    // By the unit converter of the cost library's unit.
    auto convertByUnit = [&] {
        TUnitConverter converter(PeerDmod<TMainDmod>(*this, DmodNames::Main),
                                 [this](std::int16_t UomRef) { return GetUomName(UomRef); });
        std::int16_t targetUnit = 0;
        AnsiString targetName;
        double quantity = 0, converted = 0;
        if (converter.ConvertUnits(StockUnit, VendorCostQuantity, cost, targetUnit, targetName,
                                   quantity, converted) == 1) {
            Row.FieldByName("OrdUOMCost")->SetAsFloat(RoundToDecimals(converted, CostDecimals));
            Row.FieldByName("OrdUOMLiteral")->SetAsString(targetName);
        }
    };

    if (Row.FieldByName("OrdUOMRef")->AsInteger() != -99) {
        // An inventory supplier.
        const TField* conversion = Row.FieldByName("InvConvNbr");
        if (!conversion->IsNull()) convertByRow(conversion->AsInteger());
        return;
    }

    // A library supplier: the active inventory item made from the library
    // item decides how its cost reads in the order unit.
    const int invNbr = inventory.FindInventoryItemByLibRef(SmallValue(Row.FieldByName("DivRef")),
                                                           SmallValue(Row.FieldByName("SubDivRef")),
                                                           SmallValue(Row.FieldByName("ItemRef")));
    if (invNbr == -99) {
        convertByUnit();
        return;
    }
    inventory.SelectInventoryItem(invNbr);
    const TDataSet& item = *inventory.CommonSql;
    const TField* itemOrder = item.FieldByName("OrdUomRef");
    const TField* itemStock = item.FieldByName("StockUomRef");
    const TField* itemConversion = item.FieldByName("InvConvNbr");
    const bool orderIsStock = !itemOrder->IsNull() && itemOrder->AsInteger() == StockUnit;
    const bool stockIsStock = !itemStock->IsNull() && itemStock->AsInteger() == StockUnit;
    if (orderIsStock) return;
    if (!stockIsStock) {
        convertByUnit();
        return;
    }
    // Read the item before the conversion row moves the inventory's queries.
    const bool hasConversion = !itemConversion->IsNull();
    const int conversionNbr = itemConversion->AsInteger();
    const bool hasOrderUnit = !itemOrder->IsNull();
    const std::int16_t itemOrderUnit = SmallValue(itemOrder);
    if (hasConversion) convertByRow(conversionNbr);
    if (hasOrderUnit) Row.FieldByName("OrdUOMLiteral")->SetAsString(GetUomName(itemOrderUnit));
}
