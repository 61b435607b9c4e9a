// The inventory module's calculated display fields.
#include "datamodules/DmodInventory.h"

#include "alert/store/MathHelpers.h"
#include "alert/store/UnitConversion.h"
#include "datamodules/DmodEmp.h"
#include "datamodules/DmodPo.h"
#include "datamodules/DmodVelm.h"
#include "datamodules/format/DateText.h"
#include "datamodules/format/DisplayText.h"
#include "platform/data/Query.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StrUtils.h"

namespace {

// What a date shows when it has none.
constexpr const char* NoDate = "  /  /  ";

AnsiString DateText(int Preference, const TField* Date) {
    AnsiString text;
    DateTextByPreference(Preference, Date->AsString(), text);
    return text;
}

const char* const TransactionTypes[] = {"PO Received",
                                        "Pick From Inventory",
                                        "Return To Inventory",
                                        "Return To Supplier",
                                        "Finished Product Added",
                                        "Finished Product Shipped",
                                        "Finished Product Returned",
                                        "Transfer In",
                                        "Transfer Out",
                                        "Adjustment",
                                        "Initial Inventory Add",
                                        "PO Cut",
                                        "Cancel PO",
                                        "Manual adjustment OH, New Piece Item",
                                        "Manual Reservation Created",
                                        "Reservation Deleted",
                                        "Reservation Reassign/Reduced/Increased",
                                        "Modify On Order Reserve Qty",
                                        "Post Receive Adjustment",
                                        "PO Status moved to Pending",
                                        "PO Deleted after Post, in Open status",
                                        "Auto Pick generated",
                                        "Auto Pick failure",
                                        "Material Shipped",
                                        "PCDC Pick failure",
                                        "PCDC Return failure",
                                        "Piece Item Qty/Cost adjustment",
                                        "Cost adjustment to Balance record",
                                        "UOM modified",
                                        "PO Reconciliation Cost Ajustment",
                                        "Inventory item changed to inactive",
                                        "Inventory item changed to active"};

AnsiString TransactionTypeText(int Type) {
    if (Type < 0 || Type >= static_cast<int>(std::size(TransactionTypes)))
        return "Unknown Transaction";
    return TransactionTypes[Type];
}

} // namespace

AnsiString TInventoryDmod::UomText(const TField* UomRef) {
    if (UomRef->IsNull()) return "";
    return PeerDmod<TVelmDmod>(*this, DmodNames::Velm)
        .GetUomName(static_cast<std::int16_t>(UomRef->AsInteger()));
}

AnsiString TInventoryDmod::PieceTypeText(const TField* InvPieceTypeNbr) {
    if (InvPieceTypeNbr->IsNull()) return "";
    SelectInvPieceType(InvPieceTypeNbr->AsInteger());
    return CommonSql2->FieldByName("Type")->AsString();
}

AnsiString TInventoryDmod::VendorText(int CompanyNbr, const AnsiString& CompanyPub) {
    TVelmDmod& velm = PeerDmod<TVelmDmod>(*this, DmodNames::Velm);
    velm.SelectCompany(CompanyNbr, CompanyPub);
    const TField* name = velm.CommonSql->FieldByName("NAME");
    const TField* firstName = velm.CommonSql->FieldByName("FNAME");
    if (name->IsNull()) return "";
    if (firstName->IsNull()) return name->AsString();
    return firstName->AsString() + " " + name->AsString();
}

AnsiString TInventoryDmod::EmployeeName(int EmpNbr) {
    TEmpDmod& employees = PeerDmod<TEmpDmod>(*this, DmodNames::Emp);
    employees.SelectEmployee(EmpNbr);
    return employees.SelectEmpQuery->FieldByName("FirstLast")->AsString();
}

AnsiString TInventoryDmod::CostText(double Value) const {
    return FloatToStrF(Value, ffFixed, 15, CostDecimals);
}

void TInventoryDmod::ListBldgQueryCalcFields(TDataSet* DataSet) {
    DataSet->FieldByName("BandD")->SetAsString(DataSet->FieldByName("Building")->AsString() +
                                               " - " + DataSet->FieldByName("Descr")->AsString());
}

void TInventoryDmod::ListZoneQueryCalcFields(TDataSet* DataSet) {
    DataSet->FieldByName("ZandD")->SetAsString(DataSet->FieldByName("Zone")->AsString() + " - " +
                                               DataSet->FieldByName("Descr")->AsString());
}

void TInventoryDmod::ListBinQueryCalcFields(TDataSet* DataSet) {
    DataSet->FieldByName("BandD")->SetAsString(DataSet->FieldByName("Bin")->AsString() + " - " +
                                               DataSet->FieldByName("Descr")->AsString());
}

void TInventoryDmod::InvListQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *InvListQ;
    // The item's own description where it has one, else the library's.
    static const char* const fields[][3] = {{"DispDesc", "Descr", "DESCRIPTION"},
                                            {"DispDesc2", "IDescr2", "DESCR2"},
                                            {"DispDesc3", "IDescr3", "DESCR3"},
                                            {"DispDesc4", "IDescr4", "DESCR4"},
                                            {"DispDesc5", "IDescr5", "DESCR5"}};
    for (const auto& [target, own, library] : fields) {
        const TField* item = q.FieldByName(own);
        q.FieldByName(target)->SetAsString(item->IsNull() ? q.FieldByName(library)->AsString()
                                                          : item->AsString());
    }
}

void TInventoryDmod::InvLocQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *InvLocQ;
    struct Part {
        const char* Target;
        const char* Key;
        AnsiString (TInventoryDmod::*Text)(int);
    };
    static const Part parts[] = {{"Building", "BuildingNbr", &TInventoryDmod::GetBuildingText},
                                 {"Zone", "ZoneNbr", &TInventoryDmod::GetZoneText},
                                 {"Bin", "BinNbr", &TInventoryDmod::GetBinText}};
    for (const Part& part : parts) {
        const TField* key = q.FieldByName(part.Key);
        const bool none = key->IsNull() || key->AsInteger() == -99;
        q.FieldByName(part.Target)
            ->SetAsString(none ? AnsiString() : (this->*part.Text)(key->AsInteger()));
    }
}

void TInventoryDmod::MatCardDailyQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *MatCardDailyQ;
    q.FieldByName("Direction")
        ->SetAsString(q.FieldByName("InvTransTypeNbr")->AsInteger() == 1 ? "Pick" : "Return");
    q.FieldByName("UOM")->SetAsString(UomText(q.FieldByName("StockUOMRef")));
    q.FieldByName("CodeDescr")
        ->SetAsString(q.FieldByName("Code")->AsString() + " - " +
                      q.FieldByName("Descr")->AsString());
    q.FieldByName("GridNotes")->SetAsString(q.FieldByName("Notes")->AsString());
}

void TInventoryDmod::InvCostQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *InvCostQ;
    const TField* stamp = q.FieldByName("Ts");
    // A balance without a time stamp shows no date rather than failing the
    // whole list on a text that is no date.
    AnsiString date;
    if (!stamp->IsNull()) {
        AnsiString stored;
        DateTimeTextToDateText(stamp->AsString(), stored, 2);
        DateTextByPreference(DatePreference, stored, date);
    }
    q.FieldByName("Date")->SetAsString(date);

    static const std::pair<const char*, const char*> costs[] = {{"UnitCostString", "UnitCost"},
                                                                {"TotalCostString", "TotalCost"},
                                                                {"MatCostString", "MatCost"},
                                                                {"LaborCostString", "LaborCost"}};
    for (const auto& [target, source] : costs) {
        AnsiString text = CostText(q.FieldByName(source)->AsFloat());
        TrimDecimalZeros(text);
        q.FieldByName(target)->SetAsString("$" + text);
    }
}

void TInventoryDmod::InvSupplierQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *InvSupplierQ;
    const TField* phone = q.FieldByName("PHONE_NBR");
    AnsiString phoneText;
    if (!phone->IsNull()) FormatPhoneByPreference(PhonePreference, phone->AsString(), phoneText);
    q.FieldByName("Phone")->SetAsString(phoneText);
    q.FieldByName("Qdate")->SetAsString(DateText(DatePreference, q.FieldByName("QUOTE_DATE")));
}

void TInventoryDmod::ListPieceQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *ListPieceQ;
    q.FieldByName("uom")->SetAsString(UomText(q.FieldByName("UomRef")));
    q.FieldByName("Location")
        ->SetAsString(GetLocationText(q.FieldByName("InvLocNbr")->AsInteger()));
    q.FieldByName("PieceType")->SetAsString(PieceTypeText(q.FieldByName("InvPieceTypeNbr")));
    q.FieldByName("PoNumber")
        ->SetAsInteger(PeerDmod<TPoDmod>(*this, DmodNames::Po)
                           .GetPoItemPoNbr(q.FieldByName("PoItemNbr")->AsInteger()));
}

void TInventoryDmod::ListInvPieceQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *ListInvPieceQ;
    q.FieldByName("uom")->SetAsString(UomText(q.FieldByName("UomRef")));
    q.FieldByName("Location")
        ->SetAsString(GetLocationText(q.FieldByName("InvLocNbr")->AsInteger()));
    q.FieldByName("PieceType")->SetAsString(PieceTypeText(q.FieldByName("InvPieceTypeNbr")));

    const TField* piece = q.FieldByName("PieceDescription");
    const AnsiString descr = q.FieldByName("Descr")->AsString();
    q.FieldByName("MainDescr")
        ->SetAsString(piece->IsNull() ? descr
                                      : TrimRight(piece->AsString()) + ",  " + TrimRight(descr));

    const TField* poItem = q.FieldByName("PoItemNbr");
    if (!poItem->IsNull()) {
        const int poNbr =
            PeerDmod<TPoDmod>(*this, DmodNames::Po).GetPoItemPoNbr(poItem->AsInteger());
        if (poNbr > 0) q.FieldByName("PoNumber")->SetAsInteger(poNbr);
    }
}

void TInventoryDmod::ListNoLocQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *ListNoLocQ;
    q.FieldByName("piecetype")->SetAsString(PieceTypeText(q.FieldByName("InvPieceTypeNbr")));
    q.FieldByName("uom")->SetAsString(UomText(q.FieldByName("UomRef")));
}

void TInventoryDmod::ListNoLocQ2CalcFields(TDataSet* /*DataSet*/) {
    ListNoLocQ2->FieldByName("uom")->SetAsString(UomText(ListNoLocQ2->FieldByName("UomRef")));
}

void TInventoryDmod::InvReservQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *InvReservQ;
    auto set = [&q](const char* Name, double Value) { q.FieldByName(Name)->SetAsFloat(Value); };
    auto text = [&q](const char* Name, const AnsiString& Value) {
        q.FieldByName(Name)->SetAsString(Value);
    };

    const bool byPurchaseOrder = q.FieldByName("Type")->AsInteger() == 1;
    text("ShowType", byPurchaseOrder ? "PO" : "Manual");

    double qtyOrdered = RoundToDecimals(q.FieldByName("InitReserveCnt")->AsFloat(), QtyDecimals);
    double qtyUsed = RoundToDecimals(q.FieldByName("Picks")->AsFloat(), QtyDecimals);
    double returns = RoundToDecimals(q.FieldByName("Returns")->AsFloat(), QtyDecimals);
    double qtyReceived = 0.0;
    double unitPrice = 0.0;
    set("ShowQtyOrdered", qtyOrdered);
    set("QtyOrdered", qtyOrdered);
    set("QtyUsed", qtyUsed);
    set("ShowReturns", returns);

    for (const char* name : {"ShowQtyReceived", "QtyReceived", "ShowUnitPrice", "UnitPrice"})
        set(name, 0.0);
    for (const char* name : {"POnbr", "CompanyNbr", "EmpNbr"})
        q.FieldByName(name)->SetAsInteger(0);
    text("date", NoDate);
    text("ShortCreateDt", NoDate);
    for (const char* name : {"CompanyPub", "ReqName", "EmpName", "Vendor"})
        text(name, "");

    if (!q.FieldByName("CreateDt")->IsNull())
        text("ShortCreateDt", DateText(DatePreference, q.FieldByName("CreateDt")));

    if (byPurchaseOrder) {
        SelectPoItemJob(q.FieldByName("PoItemJobNbr")->AsInteger());
        // Everything is read off CommonSql before the company and employee
        // lookups; without a visible row every column reads as 0.
        const TQuery& po = *CommonSql;
        qtyReceived = RoundToDecimals(po.FieldByName("QtyReceived")->AsFloat(), QtyDecimals);
        set("ShowQtyReceived", qtyReceived);
        set("QtyReceived", qtyReceived);
        q.FieldByName("POnbr")->SetAsInteger(po.FieldByName("POnbr")->AsInteger());
        if (!po.FieldByName("POdt")->IsNull())
            text("date", DateText(DatePreference, po.FieldByName("POdt")));

        // The shipping is spread over the quantity ordered; an order line
        // without a quantity has nothing to spread it over.
        const double ordered = po.FieldByName("QtyOrdered")->AsFloat();
        const double shippingShare =
            ordered != 0.0 ? po.FieldByName("ShippingAmt")->AsFloat() / ordered : 0.0;
        unitPrice = RoundToDecimals(shippingShare, CostDecimals) +
                    RoundToDecimals(po.FieldByName("UnitPrice")->AsFloat(), CostDecimals);
        set("ShowUnitPrice", unitPrice);
        set("UnitPrice", unitPrice);

        const int companyNbr = po.FieldByName("CompanyNbr")->AsInteger();
        const AnsiString companyPub = po.FieldByName("CompanyPub")->AsString();
        const TField* empField = po.FieldByName("EmpNbr");
        const TField* reqByField = po.FieldByName("ReqByEmpNbr");
        const bool hasEmp = !empField->IsNull() && empField->AsInteger() != 0;
        const bool hasReqBy = !reqByField->IsNull();
        const int empNbr = empField->AsInteger();
        const int reqByEmpNbr = reqByField->AsInteger();
        q.FieldByName("CompanyNbr")->SetAsInteger(companyNbr);
        text("CompanyPub", companyPub);
        q.FieldByName("EmpNbr")->SetAsInteger(empNbr);
        q.FieldByName("ReqByEmpNbr")->SetAsInteger(reqByEmpNbr);

        text("Vendor", VendorText(companyNbr, companyPub));
        text("EmpName", hasEmp ? EmployeeName(empNbr) : AnsiString());
        text("ReqName", hasReqBy ? EmployeeName(reqByEmpNbr) : AnsiString());
    }

    q.FieldByName("ShowNbr")->SetAsInteger(q.FieldByName("ItemNbr")->AsInteger());
    text("ShowDescr", q.FieldByName("JobItemDescr")->AsString());

    if (!q.FieldByName("WoNbr")->IsNull()) {
        SelectWoDescr(q.FieldByName("WoNbr")->AsInteger());
        if (CommonSql->RecordCount() > 0) text("WoDescr", CommonSql->Fields()[0]->AsString());
    }

    // The shown quantities are whole numbers in the item's stock unit.
    SelectInventoryItem(q.FieldByName("InvNbr")->AsInteger());
    const TField* conversion = CommonSql->FieldByName("InvConvNbr");
    if (conversion->IsNull()) {
        set("ShowQtyOrdered", RoundToDecimals(qtyOrdered, 0));
        set("ShowQtyReceived", RoundToDecimals(qtyReceived, 0));
        set("ShowUnitPrice", RoundToDecimals(unitPrice, CostDecimals));
    } else {
        SelectInvConv(conversion->AsInteger());
        TDataSet& row = *CommonSql2;
        set("ShowQtyOrdered", RoundToDecimals(ConvertQtyByRow(row, qtyOrdered), 0));
        set("ShowQtyReceived", RoundToDecimals(ConvertQtyByRow(row, qtyReceived), 0));
        set("QtyUsed", RoundToDecimals(ConvertQtyByRow(row, qtyUsed), 0));
        set("ShowReturns", RoundToDecimals(ConvertQtyByRow(row, returns), 0));
        set("ShowUnitPrice", RoundToDecimals(ConvertCostByRow(row, unitPrice), CostDecimals));
    }
}

void TInventoryDmod::InvTransQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *InvTransQ;

    const int woNbr = q.FieldByName("WoNbr")->AsInteger();
    if (woNbr > 0) {
        SelectWoJobInfo(woNbr);
        if (CommonSql->RecordCount() > 0)
            for (const char* name : {"JobId", "JobDescr", "JobItemDescr", "WoDescr"})
                q.FieldByName(name)->SetAsString(CommonSql->FieldByName(name)->AsString());
    }

    const TField* poItem = q.FieldByName("PoItemNbr");
    if (!poItem->IsNull()) {
        const int poNbr =
            PeerDmod<TPoDmod>(*this, DmodNames::Po).GetPoItemPoNbr(poItem->AsInteger());
        if (poNbr > 0) q.FieldByName("PoNbr")->SetAsInteger(poNbr);
    }

    const TField* location = q.FieldByName("InvLocNbr");
    if (!location->IsNull())
        q.FieldByName("Location")->SetAsString(GetLocationText(location->AsInteger()));

    const TField* piece = q.FieldByName("InvPieceNbr");
    if (!piece->IsNull() && SelectInvPiece(piece->AsInteger()) > 0) {
        AnsiString pieceText;
        const TField* sequence = CommonSql->FieldByName("MnfrSeqNbr");
        const TField* description = CommonSql->FieldByName("PieceDescription");
        if (!sequence->IsNull()) pieceText = sequence->AsString();
        if (!description->IsNull()) {
            if (!pieceText.empty()) pieceText += "   ";
            pieceText += description->AsString();
        }
        q.FieldByName("InvPieceDescr")->SetAsString(pieceText);
    }

    const TField* company = q.FieldByName("CompanyNbr");
    if (!company->IsNull())
        q.FieldByName("NAME")->SetAsString(
            VendorText(company->AsInteger(), q.FieldByName("CompanyPub")->AsString()));

    const TField* transDt = q.FieldByName("TransDt");
    q.FieldByName("TransDtString")
        ->SetAsString(transDt->IsNull() ? AnsiString(NoDate) : DateText(DatePreference, transDt));

    q.FieldByName("TypeLiteral")
        ->SetAsString(TransactionTypeText(q.FieldByName("InvTransTypeNbr")->AsInteger()));
    q.FieldByName("GridNotes")->SetAsString(q.FieldByName("Notes")->AsString());

    const TField* after = q.FieldByName("ItemValueAft");
    if (after->IsNull()) {
        q.FieldByName("NetEffectToShow")->SetAsString("unavailable");
    } else {
        // The difference passes through single precision, as the shop's own
        // screens compute it, before it is rounded to the cost decimals.
        const float difference =
            static_cast<float>(after->AsFloat() - q.FieldByName("ItemValueBef")->AsFloat());
        q.FieldByName("NetEffectToShow")
            ->SetAsString(CostText(RoundToDecimals(static_cast<double>(difference), CostDecimals)));
    }
}
