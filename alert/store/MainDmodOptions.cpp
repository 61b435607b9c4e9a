// The options row: its load into ShopOptions and the writers of the alert
// columns.
#include "alert/store/MainDmod.h"
#include "alert/store/SqlHelpers.h"

#include "platform/data/Query.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Format.h"

#include <concepts>

namespace {

// A column whose NULL is an error: read through its variant value, so that a
// NULL raises the conversion error. The column's name is added to the
// message so that the operator knows which column to fill in.
template <class T> T ReadRequired(TDataSet& Query, const char* Column) {
    const Variant value = Query.FieldByName(Column)->Value();
    try {
        if constexpr (std::same_as<T, AnsiString>)
            return value.AsString();
        else if constexpr (std::floating_point<T>)
            return static_cast<T>(value.AsDouble());
        else
            return static_cast<T>(value.AsInteger());
    } catch (const EVariantTypeCastError& error) {
        throw EVariantTypeCastError(error.Message + " (DORNWICK_OPTIONS." + Column + ")");
    }
}

// Columns whose NULL reads as 0 or empty text, through the typed getters.
int ReadInteger(TDataSet& Query, const char* Column) {
    return Query.FieldByName(Column)->AsInteger();
}
double ReadFloat(TDataSet& Query, const char* Column) {
    return Query.FieldByName(Column)->AsFloat();
}
AnsiString ReadTextOrEmpty(TDataSet& Query, const char* Column) {
    TField* field = Query.FieldByName(Column);
    return field->IsNull() ? AnsiString() : field->AsString();
}

// Columns whose NULL leaves the member as it was.
void ReadIfNotNull(TDataSet& Query, const char* Column, AnsiString& Member) {
    TField* field = Query.FieldByName(Column);
    if (!field->IsNull()) Member = field->AsString();
}
void ReadIfNotNull(TDataSet& Query, const char* Column, std::int32_t& Member) {
    TField* field = Query.FieldByName(Column);
    if (!field->IsNull()) Member = field->AsInteger();
}

void ReadOptionsRow(TDataSet& query, ShopOptions& options) {
    options.DBMS_Level = ReadRequired<AnsiString>(query, "DBMS_Level");
    options.ConvWorkGrp = ReadRequired<std::int32_t>(query, "ConvWorkGrp");
    options.ShipItemUomConvInd = ReadRequired<double>(query, "ShipItemUomConvInd");
    options.ConvProductQtyOverride = ReadRequired<double>(query, "ConvProductQtyOverride");
    options.JobStatusNbr = ReadRequired<std::int32_t>(query, "JobStatusNbr");
    options.JobTypeNbr = ReadRequired<std::int32_t>(query, "JobTypeNbr");
    options.ItemTypeNbr = ReadRequired<std::int32_t>(query, "ItemTypeNbr");
    options.WorkOrdTypeNbr = ReadRequired<std::int32_t>(query, "WorkOrdTypeNbr");
    options.SelfIncrJobId = ReadRequired<std::int32_t>(query, "SelfIncrJobId");
    options.WoSignoffNeeded = ReadRequired<std::int32_t>(query, "WoSignoffNeeded");
    options.WoCustLabel1 = ReadRequired<AnsiString>(query, "WoCustLabel1");
    options.WoCustLabel2 = ReadRequired<AnsiString>(query, "WoCustLabel2");
    options.WoCustLabel3 = ReadRequired<AnsiString>(query, "WoCustLabel3");
    options.WoCustLabel4 = ReadRequired<AnsiString>(query, "WoCustLabel4");
    options.WoCustLabel5 = ReadRequired<AnsiString>(query, "WoCustLabel5");
    options.WoCustLabel6 = ReadRequired<AnsiString>(query, "WoCustLabel6");
    options.WoCustLabel7 = ReadRequired<AnsiString>(query, "WoCustLabel7");
    options.WoCustLabel8 = ReadRequired<AnsiString>(query, "WoCustLabel8");
    options.WoCustLabel9 = ReadRequired<AnsiString>(query, "WoCustLabel9");
    options.WoCustLabel10 = ReadRequired<AnsiString>(query, "WoCustLabel10");
    options.ItemLabelQty = ReadRequired<std::int32_t>(query, "ItemLabelQty");
    options.WoLabelQty = ReadRequired<std::int32_t>(query, "WoLabelQty");
    options.MatPoBuilderFlag = ReadRequired<std::int32_t>(query, "MatPoBuilderFlag");
    options.WoProductOnWo = ReadRequired<std::int32_t>(query, "WoProductOnWo");
    options.WoProductOnShipTicket = ReadRequired<std::int32_t>(query, "WoProductOnShipTicket");
    options.ActFinChgLevel = ReadInteger(query, "ActFinChgLevel");
    options.PriceMaintenance = ReadRequired<std::int32_t>(query, "PriceMaintenance");
    options.ContactListInd = ReadRequired<std::int32_t>(query, "ContactListInd");
    options.NewJobStuffTaxable = ReadRequired<std::int32_t>(query, "NewJobStuffTaxable");
    options.BarCodeProdLabels = ReadRequired<std::int32_t>(query, "BarCodeProdLabels");
    options.IncludeVelmCustCols = ReadRequired<std::int32_t>(query, "IncludeVelmCustCols");
    options.TaxType = ReadRequired<std::int32_t>(query, "TaxType");
    options.GLaccntRequiredField = ReadRequired<std::int32_t>(query, "GLaccntRequiredField");
    options.WoBillableDefault = ReadRequired<std::int32_t>(query, "WoBillableDefault");
    options.WoMatMaintLevel = ReadRequired<std::int32_t>(query, "WoMatMaintLevel");
    options.WoLaborMaintLevel = ReadRequired<std::int32_t>(query, "WoLaborMaintLevel");
    options.PostShipDeptNbr = ReadRequired<std::int32_t>(query, "PostShipDeptNbr");
    options.WoStatusMassChgCtrlInd = ReadRequired<std::int32_t>(query, "WoStatusMassChgCtrlInd");
    options.WoMatInvUomConvInd = ReadInteger(query, "WoMatInvUomConvInd");
    options.ConvJobItem = ReadRequired<std::int32_t>(query, "ConvJobItem");
    options.ConvWorkOrder = ReadRequired<std::int32_t>(query, "ConvWorkOrder");
    options.ConvSubConPo = ReadRequired<std::int32_t>(query, "ConvSubConPo");
    options.ConvWoItems = ReadRequired<std::int32_t>(query, "ConvWoItems");
    options.AvgLaborCost = ReadRequired<double>(query, "AvgLaborCost");
    options.LaborPercent = ReadRequired<float>(query, "LaborPercent");
    options.ConvDeptEst = ReadRequired<std::int32_t>(query, "ConvDeptEst");
    options.ConvNotes = ReadRequired<std::int32_t>(query, "ConvNotes");
    options.ConvBuyPo = ReadRequired<std::int32_t>(query, "ConvBuyPo");
    options.ConvSalesTax = ReadRequired<std::int32_t>(query, "ConvSalesTax");
    options.ConvPoBuilderFlag = ReadRequired<std::int32_t>(query, "ConvPoBuilderFlag");
    options.ConvSetMatQtyToVelmQtyFlag =
        ReadRequired<std::int32_t>(query, "ConvSetMatQtyToVelmQtyFlag");
    options.ConvBuildProductRows = ReadRequired<std::int32_t>(query, "ConvBuildProductRows");
    options.ConvOnlyJobStuff = ReadRequired<std::int32_t>(query, "ConvOnlyJobStuff");
    options.ConvEndGrpNotes = ReadRequired<std::int32_t>(query, "ConvEndGrpNotes");
    options.ConvAddUseTax = ReadRequired<std::int32_t>(query, "ConvAddUseTax");
    options.ConvLaborWo = ReadRequired<std::int32_t>(query, "ConvLaborWo");
    options.ConvMatWo = ReadRequired<std::int32_t>(query, "ConvMatWo");
    options.ConvUseCustColsForItems = ReadRequired<std::int32_t>(query, "ConvUseCustColsForItems");
    options.ConvProdLabelWoShipFlagSetting =
        ReadRequired<std::int32_t>(query, "ConvProdLabelWoShipFlagSetting");
    options.ConvFillProductLocInd = ReadRequired<std::int32_t>(query, "ConvFillProductLocInd");
    options.ConvFillMatLocInd = ReadInteger(query, "ConvFillMatLocInd");
    options.ConvQualifyNames = ReadInteger(query, "ConvQualifyNames");
    options.ConvScope = ReadInteger(query, "ConvScope");
    options.ConvProductCodeForWo = ReadInteger(query, "ConvProductCodeForWo");
    options.ConvProductCodeForJobItem = ReadInteger(query, "ConvProductCodeForJobItem");
    options.ConvProductNotes = ReadInteger(query, "ConvProductNotes");
    options.ConvCommentsForInstructions = ReadInteger(query, "ConvCommentsForInstructions");
    options.ConvJobSpecCatForInstruc = ReadInteger(query, "ConvJobSpecCatForInstruc");
    options.ConvJobSpecSubCatForInstruc = ReadInteger(query, "ConvJobSpecSubCatForInstruc");
    options.ConvEngOnlyWorkOrder = ReadInteger(query, "ConvEngOnlyWorkOrder");
    options.ConvDelOnlyWorkOrder = ReadInteger(query, "ConvDelOnlyWorkOrder");
    options.ConvInstallOnlyWorkOrder = ReadInteger(query, "ConvInstallOnlyWorkOrder");
    options.ConvPmOnlyWorkOrder = ReadInteger(query, "ConvPmOnlyWorkOrder");
    options.POShipToAddrRef = ReadRequired<std::int32_t>(query, "POShipToAddrRef");
    options.POShipToPub = ReadRequired<AnsiString>(query, "POShipToPub");
    options.POLineDest = ReadRequired<AnsiString>(query, "POLineDest");
    options.POType = ReadRequired<AnsiString>(query, "POType");
    options.PoTaxInd = ReadRequired<AnsiString>(query, "PoTaxInd");
    options.PoTaxRate = ReadRequired<float>(query, "PoTaxRate");
    options.PoAutoCloseInd = ReadRequired<std::int32_t>(query, "PoAutoCloseInd");
    options.PoAutoChangeStatusNbr = ReadRequired<std::int32_t>(query, "PoAutoChangeStatusNbr");
    options.PoPrefix = ReadTextOrEmpty(query, "PoPrefix");
    options.PoSuffix = ReadTextOrEmpty(query, "PoSuffix");
    options.PoUpdtVelm = ReadRequired<std::int32_t>(query, "PoUpdtVelm");
    options.PoLabelJob = ReadRequired<std::int32_t>(query, "PoLabelJob");
    options.PoLabelReserve = ReadRequired<std::int32_t>(query, "PoLabelReserve");
    options.PoLabelStock = ReadRequired<std::int32_t>(query, "PoLabelStock");
    options.PoDirMatJobCosting = ReadRequired<std::int32_t>(query, "PoDirMatJobCosting");
    options.PoFreightTax = ReadRequired<std::int32_t>(query, "PoFreightTax");
    options.QuoteReqAutoDelete = ReadInteger(query, "QuoteReqAutoDelete");
    options.ConvUserLine1 = ReadRequired<std::int32_t>(query, "ConvUserLine1");
    options.ConvUserLine2 = ReadRequired<std::int32_t>(query, "ConvUserLine2");
    options.ConvUserLine3 = ReadRequired<std::int32_t>(query, "ConvUserLine3");
    options.ConvUserLine4 = ReadRequired<std::int32_t>(query, "ConvUserLine4");
    options.ConvUserLine5 = ReadRequired<std::int32_t>(query, "ConvUserLine5");
    options.ConvAddOn = ReadRequired<std::int32_t>(query, "ConvAddOn");
    options.ConvItem = ReadRequired<std::int32_t>(query, "ConvItem");
    options.ConvEquip = ReadRequired<std::int32_t>(query, "ConvEquip");
    options.OverheadHrlyRate = ReadRequired<double>(query, "OverheadHrlyRate");
    options.OverheadMatRate = ReadRequired<float>(query, "OverheadMatRate");
    options.OtRate1 = ReadRequired<float>(query, "OtRate1");
    options.OtRate2 = ReadRequired<float>(query, "OtRate2");
    options.DirectJobPurchases = ReadRequired<std::int32_t>(query, "DirectJobPurchases");
    options.AutoShopFloorTransPosting =
        ReadRequired<std::int32_t>(query, "AutoShopFloorTransPosting");
    options.AutoTimeCardTransPosting =
        ReadRequired<std::int32_t>(query, "AutoTimeCardTransPosting");
    ReadIfNotNull(query, "BatchApproveHour", options.BatchApproveHour);
    ReadIfNotNull(query, "BatchApproveMin", options.BatchApproveMin);
    ReadIfNotNull(query, "BatchApproveAMPM", options.BatchApproveAMPM);
    options.LaborUomRef = ReadRequired<std::int16_t>(query, "LaborUomRef");
    options.PoFreightJobCosting = ReadRequired<std::int32_t>(query, "PoFreightJobCosting");
    options.InvoiceFreightJobCosting =
        ReadRequired<std::int32_t>(query, "InvoiceFreightJobCosting");
    options.PCDCmultWoHrs = ReadRequired<std::int32_t>(query, "PCDCmultWoHrs");
    options.AutoPickInd = ReadRequired<std::int32_t>(query, "AutoPickInd");
    options.AutoPickFabInd = ReadRequired<std::int32_t>(query, "AutoPickFabInd");
    options.AutoPickShipInd = ReadRequired<std::int32_t>(query, "AutoPickShipInd");
    options.AutoPickTransPosting = ReadRequired<std::int32_t>(query, "AutoPickTransPosting");
    options.ActualsDisplayPrefRef = ReadRequired<std::int32_t>(query, "ActualsDisplayPrefRef");
    options.WoPercentDoneCalc = ReadRequired<std::int32_t>(query, "WoPercentDoneCalc");
    options.JobItemPerDoneCalc = ReadRequired<std::int32_t>(query, "JobItemPerDoneCalc");
    options.JobPercentDoneCalc = ReadRequired<std::int32_t>(query, "JobPercentDoneCalc");
    options.DeptHrPerDoneCalc = ReadRequired<std::int32_t>(query, "DeptHrPerDoneCalc");
    options.AutoTimeApprvInd = ReadRequired<std::int32_t>(query, "AutoTimeApprvInd");
    options.TimeCardManualChgColor = ReadRequired<std::int32_t>(query, "TimeCardManualChgColor");
    options.MatCardManualChgColor = ReadRequired<std::int32_t>(query, "MatCardManualChgColor");
    options.PoPutInInv = ReadRequired<std::int32_t>(query, "PoPutInInv");
    options.InvValuation = ReadRequired<std::int32_t>(query, "InvValuation");
    options.VelmLibSeq = ReadRequired<std::int32_t>(query, "VelmLibSeq");
    options.InvPickTag1 = ReadRequired<AnsiString>(query, "InvPickTag1");
    options.InvPickTag2 = ReadRequired<AnsiString>(query, "InvPickTag2");
    options.ReservationRoundUpInd = ReadInteger(query, "ReservationRoundUpInd");
    options.ShipViaNbr = ReadRequired<std::int32_t>(query, "ShipViaNbr");
    options.CustContactListInd = ReadRequired<std::int32_t>(query, "CustContactListInd");
    options.ShipToContactListInd = ReadRequired<std::int32_t>(query, "ShipToContactListInd");
    options.AutoShipBOCalcInd = ReadRequired<std::int32_t>(query, "AutoShipBOCalcInd");
    options.ShipAutoDecrementInv = ReadRequired<std::int32_t>(query, "ShipAutoDecrementInv");
    options.UseBuiltFlagInd = ReadInteger(query, "UseBuiltFlagInd");
    options.PcCntProduct = ReadRequired<std::int32_t>(query, "PcCntProduct");
    options.PcCntHardware = ReadRequired<std::int32_t>(query, "PcCntHardware");
    options.PcCntOther = ReadRequired<std::int32_t>(query, "PcCntOther");
    options.PcCntService = ReadRequired<std::int32_t>(query, "PcCntService");
    options.PcCntMaterial = ReadRequired<std::int32_t>(query, "PcCntMaterial");
    options.BillingApproach = ReadRequired<std::int32_t>(query, "BillingApproach");
    options.BillingLevel = ReadRequired<std::int32_t>(query, "BillingLevel");
    options.JobRetainagePercent = ReadFloat(query, "JobRetainagePercent");
    options.MatRetainagePercent = ReadFloat(query, "MatRetainagePercent");
    options.MarkNewItemsAsProgBill = ReadRequired<std::int32_t>(query, "MarkNewItemsAsProgBill");
    options.CustomerIsOwner = ReadRequired<std::int32_t>(query, "CustomerIsOwner");
    options.CustomerIsContractor = ReadRequired<std::int32_t>(query, "CustomerIsContractor");
    options.CustomerIsArchitect = ReadRequired<std::int32_t>(query, "CustomerIsArchitect");
    options.Option6 = ReadInteger(query, "Option6");
    options.AcctPackage = ReadRequired<std::int32_t>(query, "AcctPackage");
    options.MfgPackage = ReadRequired<std::int32_t>(query, "MfgPackage");
    options.ReceivableGLacct = ReadRequired<std::int16_t>(query, "ReceivableGLacct");
    options.PayableGLacct = ReadRequired<std::int16_t>(query, "PayableGLacct");
    options.TaxGLacct = ReadRequired<std::int16_t>(query, "TaxGLacct");
    options.FreightGLacct = ReadRequired<std::int16_t>(query, "FreightGLacct");
    options.TaxAuthName = ReadTextOrEmpty(query, "TaxAuthName");
    options.InvoiceTaxName1 = ReadRequired<std::int32_t>(query, "InvoiceTaxName1");
    options.InvoiceTaxName2 = ReadRequired<std::int32_t>(query, "InvoiceTaxName2");
    options.InvoiceTaxName3 = ReadRequired<std::int32_t>(query, "InvoiceTaxName3");
    options.CashGLacct = ReadRequired<std::int16_t>(query, "CashGLacct");
    options.FirstDayOfWeek = ReadRequired<std::int32_t>(query, "FirstDayOfWeek");
    options.LastDayOfWeek = ReadRequired<std::int32_t>(query, "LastDayOfWeek");
    options.QBImportCode = ReadTextOrEmpty(query, "QBImportCode");
    options.TaxableCode = ReadRequired<AnsiString>(query, "TaxableCode");
    options.ExemptCode = ReadRequired<AnsiString>(query, "ExemptCode");
    options.SendJobRefForInvoice = ReadRequired<std::int32_t>(query, "SendJobRefForInvoice");
    options.IncludeFreightUseTax = ReadRequired<std::int32_t>(query, "IncludeFreightUseTax");
    options.PayrollExportType = ReadRequired<std::int32_t>(query, "PayrollExportType");
    options.AlertsGenInd = ReadInteger(query, "AlertsGenInd");
    // The daily run hour is 1..12: nothing stored means noon, as 0 does.
    options.AlertsProcessHour = query.FieldByName("AlertsProcessHour")->IsNull()
                                    ? 12
                                    : query.FieldByName("AlertsProcessHour")->AsInteger();
    if (options.AlertsProcessHour == 0) options.AlertsProcessHour = 12;
    options.AlertsProcessMin = ReadInteger(query, "AlertsProcessMin");
    options.AlertsProcessAmPm = ReadInteger(query, "AlertsProcessAmPm");
    options.AlertsEmailType = ReadInteger(query, "AlertsEmailType");
    ReadIfNotNull(query, "SMTPserver", options.SMTPserver);
    options.SMTPencryption = ReadInteger(query, "SMTPencryption");
    options.SMTPport = ReadInteger(query, "SMTPport");
    ReadIfNotNull(query, "SMTPaccount", options.SMTPaccount);
    ReadIfNotNull(query, "SMTPpassword", options.SMTPpassword);
    options.TurnOnPoBuilderFlag = ReadInteger(query, "TurnOnPoBuilderFlag");
}

} // namespace

void TMainDmod::LoadOptions(ShopOptions& Options) {
    OpenStatement(*CommonSql, "Select * from DORNWICK_OPTIONS where TokenKey = 1");
    if (CommonSql->IsEmpty())
        throw Exception("The options row (TokenKey = 1) is missing from DORNWICK_OPTIONS.");
    ReadOptionsRow(*CommonSql, Options);

    OpenStatement(*CommonSql,
                  "Select CustomCode,QtyDecimals,CostDecimals,DT_PREF,PH_PREF from WU_DFLTS");
    if (CommonSql->IsEmpty()) {
        Options.CustomCode.clear();
        Options.QtyDecimals = Options.CostDecimals = Options.DT_PREF = Options.PH_PREF = 0;
        return;
    }
    Options.CustomCode = ReadTextOrEmpty(*CommonSql, "CustomCode");
    Options.QtyDecimals = ReadInteger(*CommonSql, "QtyDecimals");
    Options.CostDecimals = ReadInteger(*CommonSql, "CostDecimals");
    Options.DT_PREF = ReadInteger(*CommonSql, "DT_PREF");
    Options.PH_PREF = ReadInteger(*CommonSql, "PH_PREF");
}

void TMainDmod::TurnAlertsOn() {
    ExecStatement(*CommonSql, "Update DORNWICK_OPTIONS set AlertsGenInd = 1 ");
}

void TMainDmod::TurnAlertsOff() {
    ExecStatement(*CommonSql, "Update DORNWICK_OPTIONS set AlertsGenInd = 0 ");
}

void TMainDmod::SaveProcessTime(int Hour, int Minute, int AmPm) {
    ExecStatement(*CommonSql, Format("Update DORNWICK_OPTIONS set AlertsProcessHour = %d, "
                                     "AlertsProcessMin = %d, AlertsProcessAmPm = %d ",
                                     Hour, Minute, AmPm));
}

void TMainDmod::SaveSmtpSettings(const AnsiString& Server, int Encryption, int Port,
                                 const AnsiString& Account, const AnsiString& Password,
                                 int EmailType) {
    ExecStatement(
        *CommonSql,
        Format("Update DORNWICK_OPTIONS set SMTPserver = %s, SMTPencryption = %d, "
               "SMTPport = %d, SMTPaccount = %s, SMTPpassword = %s, AlertsEmailType = %d ",
               QuoteSqlString(Server), Encryption, Port, QuoteSqlString(Account),
               QuoteSqlString(Password), EmailType));
}

void TMainDmod::SetEmailTypeSmtp() {
    ExecStatement(*CommonSql, "Update DORNWICK_OPTIONS set AlertsEmailType = 1 ");
}

void TMainDmod::SetEmailTypeOff() {
    ExecStatement(*CommonSql, "Update DORNWICK_OPTIONS set AlertsEmailType = 0 ");
}
