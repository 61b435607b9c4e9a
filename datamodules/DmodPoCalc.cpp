// The calculated fields of the purchase-order data module.
#include "datamodules/DmodPo.h"

#include "alert/store/MathHelpers.h"
#include "datamodules/DmodEmp.h"
#include "datamodules/DmodInventory.h"
#include "datamodules/DmodVelm.h"
#include "datamodules/format/DateText.h"
#include "datamodules/format/DisplayText.h"
#include "datamodules/format/RowSearch.h"
#include "platform/data/Query.h"
#include "platform/rtl/FloatFormat.h"

namespace {

// A figure as the price columns show it: written fixed with two decimals and
// read back, then held as money.
Currency TwoDecimalAmount(double Value) {
    return CurrencyFromDouble(StrToFloat(FloatToStrF(Value, ffFixed, 11, 2)));
}

void SetNoteCheck(TDataSet& Row) {
    Row.FieldByName("NoteChk")->SetAsInteger(Row.FieldByName("Notes")->IsNull() ? 0 : 1);
}

} // namespace

AnsiString TPoDmod::DateText(const TDataSet& Row, const char* Field) const {
    AnsiString text;
    DateTextByPreference(DatePreference, Row.FieldByName(Field)->AsString(), text);
    return text;
}

void TPoDmod::SetPoStatus(TDataSet& Row, const char* StatusField) {
    static const char* const names[] = {"Pending",  "Open",   "Back Order",
                                        "Received", "Closed", "Cancel"};
    const TField* status = Row.FieldByName(StatusField);
    if (!status->IsNull() && status->AsInteger() >= 0 && status->AsInteger() <= 5)
        Row.FieldByName("Status")->SetAsString(names[status->AsInteger()]);
}

AnsiString TPoDmod::CompanyName(const TDataSet& Row, const char* NbrField, const char* PubField) {
    const TField* number = Row.FieldByName(NbrField);
    if (number->IsNull()) return "";
    TVelmDmod& velm = PeerDmod<TVelmDmod>(*this, DmodNames::Velm);
    velm.SelectCompany(number->AsInteger(), Row.FieldByName(PubField)->AsString());
    return velm.CommonSql->FieldByName("NAME")->AsString();
}

AnsiString TPoDmod::InventoryCode(const TDataSet& Row) {
    const TField* item = Row.FieldByName("InvNbr");
    if (item->IsNull()) return "";
    TInventoryDmod& inventory = PeerDmod<TInventoryDmod>(*this, DmodNames::Inventory);
    inventory.SelectInventoryItem(item->AsInteger());
    return inventory.CommonSql->FieldByName("Code")->AsString();
}

double TPoDmod::SumPoCosts() {
    double sum = 0;
    for (CommonSql2->First(); !CommonSql2->Eof(); CommonSql2->Next())
        sum += CommonSql2->FieldByName("QtyOrdered")->AsFloat() *
                   CommonSql2->FieldByName("UnitPrice")->AsFloat() +
               CommonSql2->FieldByName("ShippingAmt")->AsFloat();
    return sum;
}

void TPoDmod::PoItemsQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *PoItemsQ;
    const AnsiString destination = q.FieldByName("PoDest")->AsString();
    if (destination == "Job" || destination == "Reserve")
        q.FieldByName("PrintLabelInd")
            ->SetAsInteger(CountPrintLabelJobs(q.FieldByName("PoItemNbr")->AsInteger()) > 0 ? 1
                                                                                            : 0);
    else
        q.FieldByName("PrintLabelInd")->SetValue(q.FieldByName("PrintLabel")->Value());

    SetNoteCheck(q);

    const double price = RoundToDecimals(q.FieldByName("UnitPrice")->AsFloat(), CostDecimals);
    const double quantity = RoundToDecimals(q.FieldByName("QtyOrdered")->AsFloat(), QtyDecimals);
    q.FieldByName("Price")->SetAsCurrency(
        TwoDecimalAmount(RoundToDecimals(price * quantity, CostDecimals)));

    TVelmDmod& velm = PeerDmod<TVelmDmod>(*this, DmodNames::Velm);
    q.FieldByName("UOM")->SetAsString(
        velm.GetUomName(static_cast<std::int16_t>(q.FieldByName("UomRef")->AsInteger())));
    q.FieldByName("Code")->SetAsString(InventoryCode(q));

    AnsiString description = q.FieldByName("Descr")->AsString();
    for (const char* n : {"1", "2"}) {
        const TField* extra = q.FieldByName(AnsiString("ExtDescr") + n);
        if (q.FieldByName(AnsiString("PrintExtDescr") + n)->AsInteger() == 1 && !extra->IsNull())
            description += " / " + extra->AsString();
    }
    q.FieldByName("PIDescr")->SetAsString(description);
}

void TPoDmod::PoListQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *PoListQ;
    SetPoStatus(q, "PoStatusNbr");
    q.FieldByName("Company")->SetAsString(CompanyName(q, "CompanyNbr", "CompanyPub"));
    q.FieldByName("ShortDt")->SetAsString(DateText(q, "POdt"));
}

void TPoDmod::JobItemPoListQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *JobItemPoListQ;
    SetPoStatus(q, "PoStatusNbr");
    q.FieldByName("Company")->SetAsString(CompanyName(q, "CompanyNbr", "CompanyPub"));
    q.FieldByName("ShortDt")->SetAsString(DateText(q, "POdt"));
    q.FieldByName("ReqDt")->SetAsString(DateText(q, "ReqByDt"));
    q.FieldByName("RecDt")->SetAsString(DateText(q, "ReceivedDt"));

    const TField* requester = q.FieldByName("ReqByEmpNbr");
    if (requester->IsNull()) {
        q.FieldByName("Emp")->SetAsString("");
    } else {
        TEmpDmod& emp = PeerDmod<TEmpDmod>(*this, DmodNames::Emp);
        emp.SelectEmployee(requester->AsInteger());
        q.FieldByName("Emp")->SetAsString(emp.SelectEmpQuery->FieldByName("FirstLast")->AsString());
    }

    const int poNbr = q.FieldByName("POnbr")->AsInteger();
    const int jobItemNbr = q.FieldByName("JobItemNbr")->AsInteger();
    for (const bool reserve : {false, true}) {
        if (SelectedWoNbr == -99)
            OpenJobItemPoCosts(jobItemNbr, poNbr, reserve);
        else
            OpenWorkOrderPoCosts(SelectedWoNbr, poNbr, reserve);
        q.FieldByName(reserve ? "JobItemReserveAmt" : "JobItemDirectAmt")
            ->SetAsCurrency(CurrencyFromDouble(SumPoCosts()));
    }
}

void TPoDmod::PriceHistQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *PriceHistQ;
    q.FieldByName("Price")->SetAsCurrency(TwoDecimalAmount(q.FieldByName("UnitPrice")->AsFloat() *
                                                           q.FieldByName("QtyOrdered")->AsFloat()));
    TVelmDmod& velm = PeerDmod<TVelmDmod>(*this, DmodNames::Velm);
    q.FieldByName("UOM")->SetAsString(
        velm.GetUomName(static_cast<std::int16_t>(q.FieldByName("UomRef")->AsInteger())));
    q.FieldByName("POdate")->SetAsString(DateText(q, "POdt"));
}

void TPoDmod::ReceiverQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *ReceiverQ;
    SetNoteCheck(q);
    for (const auto& [number, initials] : {std::pair{"ReceiptEmpNbr", "ReceiptEmployee"},
                                           std::pair{"ReconcileEmpNbr", "ReconcileEmployee"},
                                           std::pair{"ExportEmpNbr", "ExportEmployee"}}) {
        const TField* employee = q.FieldByName(number);
        if (employee->IsNull()) continue;
        AnsiString last, first, text;
        GetEmployeeNames(employee->AsInteger(), last, first);
        MakeInitials(first, last, text);
        q.FieldByName(initials)->SetAsString(text);
    }
    q.FieldByName("RemitToName")->SetAsString(CompanyName(q, "RemitToNbr", "RemitToPub"));

    double receiverSum = 0, orderSum = 0;
    GetReceiverSums(q.FieldByName("ReceiverNbr")->AsInteger(), receiverSum, orderSum);
    q.FieldByName("ReceiverItemUnitSum")->SetAsCurrency(CurrencyFromDouble(receiverSum));
    q.FieldByName("PoItemUnitSum")->SetAsCurrency(CurrencyFromDouble(orderSum));
}

void TPoDmod::ReceiverItemQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *ReceiverItemQ;
    SetNoteCheck(q);
    q.FieldByName("InvCode")->SetAsString(InventoryCode(q));

    AnsiString unit;
    const TField* unitRef = q.FieldByName("UomRef");
    if (!unitRef->IsNull()) {
        TVelmDmod& velm = PeerDmod<TVelmDmod>(*this, DmodNames::Velm);
        if (FindRowIndexByValue(velm.UOMlistQ, "ID", unitRef->AsInteger()) != -99)
            unit = velm.UOMlistQ->FieldByName("Item")->AsString();
    }
    q.FieldByName("UOM")->SetAsString(unit);
}

void TPoDmod::InvReorderQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *InvReorderQ;
    q.FieldByName("Status")->SetAsString("Pending");
    q.FieldByName("Company")->SetAsString(CompanyName(q, "CompanyNbr", "CompanyPub"));
    q.FieldByName("ShortDt")->SetAsString(DateText(q, "POdt"));
}

void TPoDmod::VendorInvoiceQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *VendorInvoiceQ;
    for (const auto& [date, display] :
         {std::pair{"ReceivedDt", "ReceiveDtDisplay"},
          std::pair{"ReconcileDt", "ReconcileDtDisplay"},
          std::pair{"InvoiceDt", "InvoiceDtDisplay"}, std::pair{"ExportDt", "ExportDtDisplay"},
          std::pair{"POdt", "PoDateDisplay"}})
        q.FieldByName(display)->SetAsString(DateText(q, date));
    q.FieldByName("InvoiceAmtDisplay")
        ->SetAsCurrency(CurrencyFromDouble(q.FieldByName("InvoiceTotalAmt")->AsFloat()));
}

void TPoDmod::QuoteRequestListQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *QuoteRequestListQ;
    static const char* const names[] = {"Pending", "Sent", "Received"};
    const TField* status = q.FieldByName("QuoteStatusNbr");
    if (!status->IsNull() && status->AsInteger() >= 0 && status->AsInteger() <= 2)
        q.FieldByName("Status")->SetAsString(names[status->AsInteger()]);
    q.FieldByName("sCreateDt")->SetAsString(DateText(q, "CreateDt"));
    q.FieldByName("sNeedPriceByDt")->SetAsString(DateText(q, "NeedPricesByDt"));
}
