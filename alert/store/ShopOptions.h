#pragma once
// The options row of the shop database (DORNWICK_OPTIONS, TokenKey 1) and the
// user defaults (WU_DFLTS) as one record, one member per column, named after
// it. The alert program uses the alert switch, the daily run time, the e-mail
// settings, the decimal counts and the date preference; the other members
// mirror the row and are carried.
//
// Meanings of the members the program uses:
//   AlertsGenInd        0 generation off, anything else on
//   AlertsProcessHour   the daily run time on a 12-hour clock: hour 1..12,
//   AlertsProcessMin      minute 0..59, AlertsProcessAmPm 1 PM, else AM
//   AlertsProcessAmPm     (12 AM is midnight, 12 PM noon)
//   AlertsEmailType     0 no e-mail, 1 SMTP
//   SMTPencryption      0 none, 1 TLS from the start, 2 STARTTLS
//   DT_PREF             1 month-first dates, anything else day-first
#include "platform/rtl/AnsiString.h"

#include <cstdint>

struct ShopOptions {
    AnsiString DBMS_Level;
    std::int32_t ConvWorkGrp = 0;
    double ShipItemUomConvInd = 0.0;
    double ConvProductQtyOverride = 0.0;
    AnsiString CustomCode;
    std::int32_t QtyDecimals = 0;
    std::int32_t CostDecimals = 0;
    std::int32_t DT_PREF = 0;
    std::int32_t PH_PREF = 0;
    std::int32_t JobStatusNbr = 0;
    std::int32_t JobTypeNbr = 0;
    std::int32_t ItemTypeNbr = 0;
    std::int32_t WorkOrdTypeNbr = 0;
    std::int32_t SelfIncrJobId = 0;
    std::int32_t WoSignoffNeeded = 0;
    AnsiString WoCustLabel1;
    AnsiString WoCustLabel2;
    AnsiString WoCustLabel3;
    AnsiString WoCustLabel4;
    AnsiString WoCustLabel5;
    AnsiString WoCustLabel6;
    AnsiString WoCustLabel7;
    AnsiString WoCustLabel8;
    AnsiString WoCustLabel9;
    AnsiString WoCustLabel10;
    std::int32_t ItemLabelQty = 0;
    std::int32_t WoLabelQty = 0;
    std::int32_t MatPoBuilderFlag = 0;
    std::int32_t WoProductOnWo = 0;
    std::int32_t WoProductOnShipTicket = 0;
    std::int32_t ActFinChgLevel = 0;
    std::int32_t PriceMaintenance = 0;
    std::int32_t ContactListInd = 0;
    std::int32_t NewJobStuffTaxable = 0;
    std::int32_t BarCodeProdLabels = 0;
    std::int32_t IncludeVelmCustCols = 0;
    std::int32_t TaxType = 0;
    std::int32_t GLaccntRequiredField = 0;
    std::int32_t WoBillableDefault = 0;
    std::int32_t WoMatMaintLevel = 0;
    std::int32_t WoLaborMaintLevel = 0;
    std::int32_t PostShipDeptNbr = 0;
    std::int32_t WoStatusMassChgCtrlInd = 0;
    std::int32_t WoMatInvUomConvInd = 0;
    std::int32_t ConvJobItem = 0;
    std::int32_t ConvWorkOrder = 0;
    std::int32_t ConvSubConPo = 0;
    std::int32_t ConvWoItems = 0;
    double AvgLaborCost = 0.0;
    float LaborPercent = 0.0f;
    std::int32_t ConvDeptEst = 0;
    std::int32_t ConvNotes = 0;
    std::int32_t ConvBuyPo = 0;
    std::int32_t ConvSalesTax = 0;
    std::int32_t ConvPoBuilderFlag = 0;
    std::int32_t ConvSetMatQtyToVelmQtyFlag = 0;
    std::int32_t ConvBuildProductRows = 0;
    std::int32_t ConvOnlyJobStuff = 0;
    std::int32_t ConvEndGrpNotes = 0;
    std::int32_t ConvAddUseTax = 0;
    std::int32_t ConvLaborWo = 0;
    std::int32_t ConvMatWo = 0;
    std::int32_t ConvUseCustColsForItems = 0;
    std::int32_t ConvProdLabelWoShipFlagSetting = 0;
    std::int32_t ConvFillProductLocInd = 0;
    std::int32_t ConvFillMatLocInd = 0;
    std::int32_t ConvQualifyNames = 0;
    std::int32_t ConvScope = 0;
    std::int32_t ConvProductCodeForWo = 0;
    std::int32_t ConvProductCodeForJobItem = 0;
    std::int32_t ConvProductNotes = 0;
    std::int32_t ConvCommentsForInstructions = 0;
    std::int32_t ConvJobSpecCatForInstruc = 0;
    std::int32_t ConvJobSpecSubCatForInstruc = 0;
    std::int32_t ConvEngOnlyWorkOrder = 0;
    std::int32_t ConvDelOnlyWorkOrder = 0;
    std::int32_t ConvInstallOnlyWorkOrder = 0;
    std::int32_t ConvPmOnlyWorkOrder = 0;
    std::int32_t POShipToAddrRef = 0;
    AnsiString POShipToPub;
    AnsiString POLineDest;
    AnsiString POType;
    AnsiString PoTaxInd;
    float PoTaxRate = 0.0f;
    std::int32_t PoAutoCloseInd = 0;
    std::int32_t PoAutoChangeStatusNbr = 0;
    AnsiString PoPrefix;
    AnsiString PoSuffix;
    std::int32_t PoUpdtVelm = 0;
    std::int32_t PoLabelJob = 0;
    std::int32_t PoLabelReserve = 0;
    std::int32_t PoLabelStock = 0;
    std::int32_t PoDirMatJobCosting = 0;
    std::int32_t PoFreightTax = 0;
    std::int32_t QuoteReqAutoDelete = 0;
    std::int32_t ConvUserLine1 = 0;
    std::int32_t ConvUserLine2 = 0;
    std::int32_t ConvUserLine3 = 0;
    std::int32_t ConvUserLine4 = 0;
    std::int32_t ConvUserLine5 = 0;
    std::int32_t ConvAddOn = 0;
    std::int32_t ConvItem = 0;
    std::int32_t ConvEquip = 0;
    double OverheadHrlyRate = 0.0;
    float OverheadMatRate = 0.0f;
    float OtRate1 = 0.0f;
    float OtRate2 = 0.0f;
    std::int32_t DirectJobPurchases = 0;
    std::int32_t AutoShopFloorTransPosting = 0;
    std::int32_t AutoTimeCardTransPosting = 0;
    std::int32_t BatchApproveHour = 0;
    std::int32_t BatchApproveMin = 0;
    std::int32_t BatchApproveAMPM = 0;
    std::int16_t LaborUomRef = 0;
    std::int32_t PoFreightJobCosting = 0;
    std::int32_t InvoiceFreightJobCosting = 0;
    std::int32_t PCDCmultWoHrs = 0;
    std::int32_t AutoPickInd = 0;
    std::int32_t AutoPickFabInd = 0;
    std::int32_t AutoPickShipInd = 0;
    std::int32_t AutoPickTransPosting = 0;
    std::int32_t ActualsDisplayPrefRef = 0;
    std::int32_t WoPercentDoneCalc = 0;
    std::int32_t JobItemPerDoneCalc = 0;
    std::int32_t JobPercentDoneCalc = 0;
    std::int32_t DeptHrPerDoneCalc = 0;
    std::int32_t AutoTimeApprvInd = 0;
    std::int32_t TimeCardManualChgColor = 0;
    std::int32_t MatCardManualChgColor = 0;
    std::int32_t PoPutInInv = 0;
    std::int32_t InvValuation = 0;
    std::int32_t VelmLibSeq = 0;
    AnsiString InvPickTag1;
    AnsiString InvPickTag2;
    std::int32_t ReservationRoundUpInd = 0;
    std::int32_t ShipViaNbr = 0;
    std::int32_t CustContactListInd = 0;
    std::int32_t ShipToContactListInd = 0;
    std::int32_t AutoShipBOCalcInd = 0;
    std::int32_t ShipAutoDecrementInv = 0;
    std::int32_t UseBuiltFlagInd = 0;
    std::int32_t PcCntProduct = 0;
    std::int32_t PcCntHardware = 0;
    std::int32_t PcCntOther = 0;
    std::int32_t PcCntService = 0;
    std::int32_t PcCntMaterial = 0;
    std::int32_t BillingApproach = 0;
    std::int32_t BillingLevel = 0;
    double JobRetainagePercent = 0.0;
    double MatRetainagePercent = 0.0;
    std::int32_t MarkNewItemsAsProgBill = 0;
    std::int32_t CustomerIsOwner = 0;
    std::int32_t CustomerIsContractor = 0;
    std::int32_t CustomerIsArchitect = 0;
    std::int32_t Option6 = 0;
    std::int32_t AcctPackage = 0;
    std::int32_t MfgPackage = 0;
    std::int16_t ReceivableGLacct = 0;
    std::int16_t PayableGLacct = 0;
    std::int16_t TaxGLacct = 0;
    std::int16_t FreightGLacct = 0;
    AnsiString TaxAuthName;
    std::int32_t InvoiceTaxName1 = 0;
    std::int32_t InvoiceTaxName2 = 0;
    std::int32_t InvoiceTaxName3 = 0;
    std::int16_t CashGLacct = 0;
    std::int32_t FirstDayOfWeek = 0;
    std::int32_t LastDayOfWeek = 0;
    AnsiString QBImportCode;
    AnsiString TaxableCode;
    AnsiString ExemptCode;
    std::int32_t SendJobRefForInvoice = 0;
    std::int32_t IncludeFreightUseTax = 0;
    std::int32_t PayrollExportType = 0;
    std::int32_t AlertsGenInd = 0;
    std::int32_t AlertsProcessHour = 0;
    std::int32_t AlertsProcessMin = 0;
    std::int32_t AlertsProcessAmPm = 0;
    std::int32_t AlertsEmailType = 0;
    AnsiString SMTPserver;
    std::int32_t SMTPencryption = 0;
    std::int32_t SMTPport = 0;
    AnsiString SMTPaccount;
    AnsiString SMTPpassword;
    std::int32_t TurnOnPoBuilderFlag = 0;
};
