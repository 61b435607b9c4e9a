#include "formstore/UiTexts.h"

#include "platform/gui/Beep.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Exceptions.h"

namespace formstore {

namespace {

TuiIntl* GUiIntl = nullptr;
bool GStarted = false;

// Frees the program-wide instance at program end when Application has not
// already done so.
struct TUnitShutDown {
    TUnitShutDown() = default;
    TUnitShutDown(const TUnitShutDown&) = delete;
    TUnitShutDown& operator=(const TUnitShutDown&) = delete;
    ~TUnitShutDown() { Uitexts::Finalization(); }
} UnitShutDown;

const AnsiString ValidationErrorMessage = "Invalid input value.  Use escape key to abandon changes";

} // namespace

TuiIntl* UiIntl() {
    if (!GStarted) Uitexts::Initialization();
    return GUiIntl;
}

namespace Uitexts {

void Initialization() {
    GStarted = true;
    if (GUiIntl == nullptr) GUiIntl = new TuiIntl(Application);
}

void Finalization() {
    delete GUiIntl; // its destructor empties GUiIntl
}

} // namespace Uitexts

TuiIntl::TuiIntl(TComponent* AOwner)
    : TComponent(AOwner), FADO(std::make_unique<TuiADOIntl>(this)),
      FNavigator(std::make_unique<TuiDBNavigatorIntl>(this)),
      FSearchDialog(std::make_unique<TuiSearchDialogIntl>(this)),
      FLocateDialog(std::make_unique<TuiLocateDialogIntl>(this)),
      FMonthCalendar(std::make_unique<TuiMonthCalendarIntl>(this)),
      FFilterDialog(std::make_unique<TuiFilterDialogIntl>(this)),
      FRichEdit(std::make_unique<TuiDBRichEditIntl>(this)),
      FUserMessages(std::make_unique<TuiUserMessagesIntl>(this)) {}

TuiIntl::~TuiIntl() {
    if (GUiIntl == this) GUiIntl = nullptr;
}

void TuiIntl::Loaded() {
    TComponent::Loaded();
    if (FConnected) CopyToGlobal();
}

void TuiIntl::SetConnected(bool Value) {
    FConnected = Value;
    if (FConnected) CopyToGlobal();
}

void TuiIntl::SetCheckBoxInGridStyle(TuiCheckBoxInGridStyle Value) {
    FCheckBoxInGridStyle = Value;
    if (FConnected && GUiIntl != nullptr && GUiIntl != this) GUiIntl->SetCheckBoxInGridStyle(Value);
}

void TuiIntl::CopyToGlobal() {
    TuiIntl* Global = UiIntl();
    if (Global == nullptr || Global == this) return;

    Global->FFilterDialog->Assign(FFilterDialog.get());
    Global->FRichEdit->Assign(FRichEdit.get());
    Global->FSearchDialog->Assign(FSearchDialog.get());
    Global->FMonthCalendar->Assign(FMonthCalendar.get());
    Global->FLocateDialog->Assign(FLocateDialog.get());
    Global->FNavigator->Assign(FNavigator.get());
    Global->FUserMessages->Assign(FUserMessages.get());

    Global->FADO->Assign(FADO.get());
    Global->FOKCancelBitmapped = FOKCancelBitmapped;
    Global->FBtnOKCaption = FBtnOKCaption;
    Global->FBtnCancelCaption = FBtnCancelCaption;

    // The placed component names the file without its extension.
    if (FIniFileName.empty() || FIniFileName == ".ini")
        Global->FIniFileName.clear();
    else
        Global->FIniFileName = FIniFileName + ".ini";

    Global->SetCheckBoxInGridStyle(FCheckBoxInGridStyle);
    Global->OnValidationErrorUsingMask = OnValidationErrorUsingMask;
    Global->FDialogFontStyle = FDialogFontStyle;
    Global->FUseLocateMethodForSearch = FUseLocateMethodForSearch;
    Global->FUnpublishedFlag = FUnpublishedFlag;
    Global->FDefaultEpochYear = FDefaultEpochYear;
    Global->FFilterMemoSize = FFilterMemoSize;
}

void TuiIntl::DoValidationErrorUsingMask(TObject* Sender, TField* Field) {
    bool DoDefault = true;
    if (OnValidationErrorUsingMask)
        OnValidationErrorUsingMask(Sender, Field, ValidationErrorMessage, DoDefault);
    if (!DoDefault) return;
    MessageBeep(0);
    throw EInvalidOperation(ValidationErrorMessage);
}

} // namespace formstore
