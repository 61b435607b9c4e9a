// Every column of the options row and the user defaults reaches its own
// member of the record, and a NULL in each is treated as its column's rule
// says: an error, 0 or empty text, or the member left as it was.
#include "StoreTest.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <vector>

namespace {

enum class Kind { Text, Int, Small, Real };
enum class OnNull { Error, Zero, Empty, Unchanged, Twelve };
enum class Table { Options, Defaults };

struct Column {
    const char* Name;
    Kind Type;
    OnNull Null;
    Table Source;
    // The member as text: numbers in %g form.
    AnsiString (*Member)(const ShopOptions&);
};

template <class T> AnsiString AsText(const T& Value)
{
    if constexpr (std::is_same_v<T, AnsiString>)
        return Value;
    else
        return Format("%g", static_cast<double>(Value));
}

#define COLUMN(Name, Type, Null, Source) \
    {#Name, Kind::Type, OnNull::Null, Table::Source, [](const ShopOptions& O) { return AsText(O.Name); }}

const std::vector<Column> Columns = {
    COLUMN(DBMS_Level, Text, Error, Options),
    COLUMN(ConvWorkGrp, Int, Error, Options),
    COLUMN(ShipItemUomConvInd, Real, Error, Options),
    COLUMN(ConvProductQtyOverride, Real, Error, Options),
    COLUMN(CustomCode, Text, Empty, Defaults),
    COLUMN(QtyDecimals, Int, Zero, Defaults),
    COLUMN(CostDecimals, Int, Zero, Defaults),
    COLUMN(DT_PREF, Int, Zero, Defaults),
    COLUMN(PH_PREF, Int, Zero, Defaults),
    COLUMN(JobStatusNbr, Int, Error, Options),
    COLUMN(JobTypeNbr, Int, Error, Options),
    COLUMN(ItemTypeNbr, Int, Error, Options),
    COLUMN(WorkOrdTypeNbr, Int, Error, Options),
    COLUMN(SelfIncrJobId, Int, Error, Options),
    COLUMN(WoSignoffNeeded, Int, Error, Options),
    COLUMN(WoCustLabel1, Text, Error, Options),
    COLUMN(WoCustLabel2, Text, Error, Options),
    COLUMN(WoCustLabel3, Text, Error, Options),
    COLUMN(WoCustLabel4, Text, Error, Options),
    COLUMN(WoCustLabel5, Text, Error, Options),
    COLUMN(WoCustLabel6, Text, Error, Options),
    COLUMN(WoCustLabel7, Text, Error, Options),
    COLUMN(WoCustLabel8, Text, Error, Options),
    COLUMN(WoCustLabel9, Text, Error, Options),
    COLUMN(WoCustLabel10, Text, Error, Options),
    COLUMN(ItemLabelQty, Int, Error, Options),
    COLUMN(WoLabelQty, Int, Error, Options),
    COLUMN(MatPoBuilderFlag, Int, Error, Options),
    COLUMN(WoProductOnWo, Int, Error, Options),
    COLUMN(WoProductOnShipTicket, Int, Error, Options),
    COLUMN(ActFinChgLevel, Int, Zero, Options),
    COLUMN(PriceMaintenance, Int, Error, Options),
    COLUMN(ContactListInd, Int, Error, Options),
    COLUMN(NewJobStuffTaxable, Int, Error, Options),
    COLUMN(BarCodeProdLabels, Int, Error, Options),
    COLUMN(IncludeVelmCustCols, Int, Error, Options),
    COLUMN(TaxType, Int, Error, Options),
    COLUMN(GLaccntRequiredField, Int, Error, Options),
    COLUMN(WoBillableDefault, Int, Error, Options),
    COLUMN(WoMatMaintLevel, Int, Error, Options),
    COLUMN(WoLaborMaintLevel, Int, Error, Options),
    COLUMN(PostShipDeptNbr, Int, Error, Options),
    COLUMN(WoStatusMassChgCtrlInd, Int, Error, Options),
    COLUMN(WoMatInvUomConvInd, Int, Zero, Options),
    COLUMN(ConvJobItem, Int, Error, Options),
    COLUMN(ConvWorkOrder, Int, Error, Options),
    COLUMN(ConvSubConPo, Int, Error, Options),
    COLUMN(ConvWoItems, Int, Error, Options),
    COLUMN(AvgLaborCost, Real, Error, Options),
    COLUMN(LaborPercent, Real, Error, Options),
    COLUMN(ConvDeptEst, Int, Error, Options),
    COLUMN(ConvNotes, Int, Error, Options),
    COLUMN(ConvBuyPo, Int, Error, Options),
    COLUMN(ConvSalesTax, Int, Error, Options),
    COLUMN(ConvPoBuilderFlag, Int, Error, Options),
    COLUMN(ConvSetMatQtyToVelmQtyFlag, Int, Error, Options),
    COLUMN(ConvBuildProductRows, Int, Error, Options),
    COLUMN(ConvOnlyJobStuff, Int, Error, Options),
    COLUMN(ConvEndGrpNotes, Int, Error, Options),
    COLUMN(ConvAddUseTax, Int, Error, Options),
    COLUMN(ConvLaborWo, Int, Error, Options),
    COLUMN(ConvMatWo, Int, Error, Options),
    COLUMN(ConvUseCustColsForItems, Int, Error, Options),
    COLUMN(ConvProdLabelWoShipFlagSetting, Int, Error, Options),
    COLUMN(ConvFillProductLocInd, Int, Error, Options),
    COLUMN(ConvFillMatLocInd, Int, Zero, Options),
    COLUMN(ConvQualifyNames, Int, Zero, Options),
    COLUMN(ConvScope, Int, Zero, Options),
    COLUMN(ConvProductCodeForWo, Int, Zero, Options),
    COLUMN(ConvProductCodeForJobItem, Int, Zero, Options),
    COLUMN(ConvProductNotes, Int, Zero, Options),
    COLUMN(ConvCommentsForInstructions, Int, Zero, Options),
    COLUMN(ConvJobSpecCatForInstruc, Int, Zero, Options),
    COLUMN(ConvJobSpecSubCatForInstruc, Int, Zero, Options),
    COLUMN(ConvEngOnlyWorkOrder, Int, Zero, Options),
    COLUMN(ConvDelOnlyWorkOrder, Int, Zero, Options),
    COLUMN(ConvInstallOnlyWorkOrder, Int, Zero, Options),
    COLUMN(ConvPmOnlyWorkOrder, Int, Zero, Options),
    COLUMN(POShipToAddrRef, Int, Error, Options),
    COLUMN(POShipToPub, Text, Error, Options),
    COLUMN(POLineDest, Text, Error, Options),
    COLUMN(POType, Text, Error, Options),
    COLUMN(PoTaxInd, Text, Error, Options),
    COLUMN(PoTaxRate, Real, Error, Options),
    COLUMN(PoAutoCloseInd, Int, Error, Options),
    COLUMN(PoAutoChangeStatusNbr, Int, Error, Options),
    COLUMN(PoPrefix, Text, Empty, Options),
    COLUMN(PoSuffix, Text, Empty, Options),
    COLUMN(PoUpdtVelm, Int, Error, Options),
    COLUMN(PoLabelJob, Int, Error, Options),
    COLUMN(PoLabelReserve, Int, Error, Options),
    COLUMN(PoLabelStock, Int, Error, Options),
    COLUMN(PoDirMatJobCosting, Int, Error, Options),
    COLUMN(PoFreightTax, Int, Error, Options),
    COLUMN(QuoteReqAutoDelete, Int, Zero, Options),
    COLUMN(ConvUserLine1, Int, Error, Options),
    COLUMN(ConvUserLine2, Int, Error, Options),
    COLUMN(ConvUserLine3, Int, Error, Options),
    COLUMN(ConvUserLine4, Int, Error, Options),
    COLUMN(ConvUserLine5, Int, Error, Options),
    COLUMN(ConvAddOn, Int, Error, Options),
    COLUMN(ConvItem, Int, Error, Options),
    COLUMN(ConvEquip, Int, Error, Options),
    COLUMN(OverheadHrlyRate, Real, Error, Options),
    COLUMN(OverheadMatRate, Real, Error, Options),
    COLUMN(OtRate1, Real, Error, Options),
    COLUMN(OtRate2, Real, Error, Options),
    COLUMN(DirectJobPurchases, Int, Error, Options),
    COLUMN(AutoShopFloorTransPosting, Int, Error, Options),
    COLUMN(AutoTimeCardTransPosting, Int, Error, Options),
    COLUMN(BatchApproveHour, Int, Unchanged, Options),
    COLUMN(BatchApproveMin, Int, Unchanged, Options),
    COLUMN(BatchApproveAMPM, Int, Unchanged, Options),
    COLUMN(LaborUomRef, Small, Error, Options),
    COLUMN(PoFreightJobCosting, Int, Error, Options),
    COLUMN(InvoiceFreightJobCosting, Int, Error, Options),
    COLUMN(PCDCmultWoHrs, Int, Error, Options),
    COLUMN(AutoPickInd, Int, Error, Options),
    COLUMN(AutoPickFabInd, Int, Error, Options),
    COLUMN(AutoPickShipInd, Int, Error, Options),
    COLUMN(AutoPickTransPosting, Int, Error, Options),
    COLUMN(ActualsDisplayPrefRef, Int, Error, Options),
    COLUMN(WoPercentDoneCalc, Int, Error, Options),
    COLUMN(JobItemPerDoneCalc, Int, Error, Options),
    COLUMN(JobPercentDoneCalc, Int, Error, Options),
    COLUMN(DeptHrPerDoneCalc, Int, Error, Options),
    COLUMN(AutoTimeApprvInd, Int, Error, Options),
    COLUMN(TimeCardManualChgColor, Int, Error, Options),
    COLUMN(MatCardManualChgColor, Int, Error, Options),
    COLUMN(PoPutInInv, Int, Error, Options),
    COLUMN(InvValuation, Int, Error, Options),
    COLUMN(VelmLibSeq, Int, Error, Options),
    COLUMN(InvPickTag1, Text, Error, Options),
    COLUMN(InvPickTag2, Text, Error, Options),
    COLUMN(ReservationRoundUpInd, Int, Zero, Options),
    COLUMN(ShipViaNbr, Int, Error, Options),
    COLUMN(CustContactListInd, Int, Error, Options),
    COLUMN(ShipToContactListInd, Int, Error, Options),
    COLUMN(AutoShipBOCalcInd, Int, Error, Options),
    COLUMN(ShipAutoDecrementInv, Int, Error, Options),
    COLUMN(UseBuiltFlagInd, Int, Zero, Options),
    COLUMN(PcCntProduct, Int, Error, Options),
    COLUMN(PcCntHardware, Int, Error, Options),
    COLUMN(PcCntOther, Int, Error, Options),
    COLUMN(PcCntService, Int, Error, Options),
    COLUMN(PcCntMaterial, Int, Error, Options),
    COLUMN(BillingApproach, Int, Error, Options),
    COLUMN(BillingLevel, Int, Error, Options),
    COLUMN(JobRetainagePercent, Real, Zero, Options),
    COLUMN(MatRetainagePercent, Real, Zero, Options),
    COLUMN(MarkNewItemsAsProgBill, Int, Error, Options),
    COLUMN(CustomerIsOwner, Int, Error, Options),
    COLUMN(CustomerIsContractor, Int, Error, Options),
    COLUMN(CustomerIsArchitect, Int, Error, Options),
    COLUMN(Option6, Int, Zero, Options),
    COLUMN(AcctPackage, Int, Error, Options),
    COLUMN(MfgPackage, Int, Error, Options),
    COLUMN(ReceivableGLacct, Small, Error, Options),
    COLUMN(PayableGLacct, Small, Error, Options),
    COLUMN(TaxGLacct, Small, Error, Options),
    COLUMN(FreightGLacct, Small, Error, Options),
    COLUMN(TaxAuthName, Text, Empty, Options),
    COLUMN(InvoiceTaxName1, Int, Error, Options),
    COLUMN(InvoiceTaxName2, Int, Error, Options),
    COLUMN(InvoiceTaxName3, Int, Error, Options),
    COLUMN(CashGLacct, Small, Error, Options),
    COLUMN(FirstDayOfWeek, Int, Error, Options),
    COLUMN(LastDayOfWeek, Int, Error, Options),
    COLUMN(QBImportCode, Text, Empty, Options),
    COLUMN(TaxableCode, Text, Error, Options),
    COLUMN(ExemptCode, Text, Error, Options),
    COLUMN(SendJobRefForInvoice, Int, Error, Options),
    COLUMN(IncludeFreightUseTax, Int, Error, Options),
    COLUMN(PayrollExportType, Int, Error, Options),
    COLUMN(AlertsGenInd, Int, Zero, Options),
    COLUMN(AlertsProcessHour, Int, Twelve, Options),
    COLUMN(AlertsProcessMin, Int, Zero, Options),
    COLUMN(AlertsProcessAmPm, Int, Zero, Options),
    COLUMN(AlertsEmailType, Int, Zero, Options),
    COLUMN(SMTPserver, Text, Unchanged, Options),
    COLUMN(SMTPencryption, Int, Zero, Options),
    COLUMN(SMTPport, Int, Zero, Options),
    COLUMN(SMTPaccount, Text, Unchanged, Options),
    COLUMN(SMTPpassword, Text, Unchanged, Options),
    COLUMN(TurnOnPoBuilderFlag, Int, Zero, Options),
};

#undef COLUMN

// A value of its own for every column, so that two columns read into the
// wrong members cannot pass.
AnsiString Literal(const Column& C, int Index)
{
    switch (C.Type) {
    case Kind::Text: return Format("'T%d'", Index);
    case Kind::Small: return Format("%d", 100 + Index);
    case Kind::Real: return Format("%d.5", Index);
    case Kind::Int: break;
    }
    return Format("%d", 1000 + Index);
}

AnsiString Expected(const Column& C, int Index)
{
    const AnsiString Text = Literal(C, Index);
    return C.Type == Kind::Text ? Text.substr(1, Text.size() - 2) : Text;
}

class OptionColumnsReading : public StoreTest {
protected:
    void SetAll()
    {
        for (std::size_t I = 0; I < Columns.size(); ++I)
            Set(Columns[I], Literal(Columns[I], int(I)));
    }
    void Set(const Column& C, const AnsiString& Value)
    {
        Db.Exec(Format("update %s set %s = %s",
                       C.Source == Table::Options ? "DORNWICK_OPTIONS" : "WU_DFLTS", C.Name, Value));
    }
};

TEST_F(OptionColumnsReading, EveryColumnReachesItsMember)
{
    ASSERT_EQ(Columns.size(), 185u);
    SetAll();
    ShopOptions Options;
    Dmod->LoadOptions(Options);
    for (std::size_t I = 0; I < Columns.size(); ++I)
        EXPECT_EQ(Columns[I].Member(Options), Expected(Columns[I], int(I))) << Columns[I].Name;
}

TEST_F(OptionColumnsReading, ANullInEachColumnFollowsItsRule)
{
    SetAll();
    for (std::size_t I = 0; I < Columns.size(); ++I) {
        const Column& C = Columns[I];
        ShopOptions Options;
        Dmod->LoadOptions(Options);
        Set(C, "NULL");
        if (C.Null == OnNull::Error) {
            try {
                Dmod->LoadOptions(Options);
                ADD_FAILURE() << C.Name << ": NULL loaded without an error";
            } catch (const EVariantError& E) {
                EXPECT_NE(E.Message.find(C.Name), AnsiString::npos) << E.Message;
            }
        } else {
            EXPECT_NO_THROW(Dmod->LoadOptions(Options)) << C.Name;
            const AnsiString Want = C.Null == OnNull::Zero        ? AnsiString("0")
                                    : C.Null == OnNull::Empty     ? AnsiString()
                                    : C.Null == OnNull::Twelve    ? AnsiString("12")
                                                                  : Expected(C, int(I));
            EXPECT_EQ(C.Member(Options), Want) << C.Name;
        }
        Set(C, Literal(C, int(I)));
    }
}

} // namespace
