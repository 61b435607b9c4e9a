// The grid's side of its drop-downs: making the shared list and the forms,
// what the list grid takes from its grid, which combo was set up last,
// whether a drop-down is open, closing it and placing it on the screen.
#include "grid/foundation/DateTimeDefs.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/Combo.h"
#include "grid/view/DropDownForm.h"
#include "platform/gui/Forms.h"

#include <algorithm>

namespace grid {

TgxBaseGrid::TDropDownGuard::~TDropDownGuard() {
    // No roll-up events: the grid is going.
    if (Grid->FComboForm) Grid->FComboForm->SetVisible(false);
    if (Grid->FDateTimeForm) Grid->FDateTimeForm->SetVisible(false);
    UnregisterGridHooksAll(Grid);
    if (Grid->FCombo) UnregisterGridHooksAll(Grid->FCombo->GetGrid());
}

// ---- creation -----------------------------------------------------------------------------

TgxCombo* TgxBaseGrid::CreateCombo() {
    InvalidOp("Cannot create combo box. Method CreateCombo has not been not implemented in "
              "derived class");
}

TgxComboGrid* TgxBaseGrid::CreateComboGrid() {
    InvalidOp("Cannot create combo box. Method CreateComboGrid has not been not implemented in "
              "derived class");
}

void TgxBaseGrid::CheckComboCreated() {
    if (FCombo) return;
    FCombo.reset(CreateCombo());
    InitializeComboSettings(FCombo->GetGrid());
    FCombo->GetGrid()->SetVisible(true);
}

TgxCombo* TgxBaseGrid::GetCombo() {
    CheckComboCreated();
    return FCombo.get();
}

TgxDropDownForm* TgxBaseGrid::GetComboForm() {
    if (!FComboForm) {
        FComboForm = new TgxDropDownForm(this);
        InitializeDropDownForm(FComboForm);
    }
    return FComboForm;
}

TWinControl* TgxBaseGrid::GetComboFormWindow() {
    return GetComboForm();
}

TgxDropDownForm* TgxBaseGrid::GetDateTimeForm() {
    if (!FDateTimeForm) {
        FDateTimeForm = new TgxDropDownForm(this);
        InitializeDropDownForm(FDateTimeForm);
    }
    return FDateTimeForm;
}

void TgxBaseGrid::InitializeDropDownForm(TgxDropDownForm* Form) {
    Form->SetVisible(false);
    Form->SetEnabled(false);
    Form->SetLeft(Left());
    Form->SetFont(Font());
}

void TgxBaseGrid::InitializeComboSettings(TgxComboGrid* ListGrid) {
    const bool Design = GetInDesignMode();
    ListGrid->SetEnablePaint(false);
    try {
        ListGrid->SetColor(Color());
        ListGrid->SetCursor(Cursor());
        ListGrid->SetDefaultButtonHeight(DefaultButtonHeight());
        ListGrid->SetDefaultButtonWidth(DefaultButtonWidth());
        ListGrid->SetEditColor(EditColor());
        ListGrid->SetEditFontColor(EditFontColor());
        ListGrid->SetSelectionColor(SelectionColor());
        ListGrid->SetSelectionFontColor(SelectionFontColor());
        ListGrid->SetSelectionType(SelectionType());
        ListGrid->SetFont(Font());
        ListGrid->SetDefaultRowHeight(FDropDownRowHeight);
        ListGrid->SetGridColCount(Design ? 2 : 1);
        ListGrid->SetRowChangedIndicator(riAutoReset);
        ListGrid->SetHeadingOn(false);
        ListGrid->SetRowBarOn(false);
        ListGrid->SetHeadingHeight(15);
        ListGrid->SetRowBarWidth(14);
        ListGrid->SetGridScrollBars(ssVertical);
        ListGrid->SetTabStop(false);
        ListGrid->SetThumbTracking(true);
        ListGrid->SetRowSelectMode(Design ? rsMulti : rsSingle);
        ListGrid->SetColSelectMode(Design ? csMulti : csNone);
        ListGrid->SetGridMode(Design ? gmEdit : gmListBox);
        ListGrid->SetRowMoving(Design);
        ListGrid->SetColMoving(Design);
        ListGrid->SetAlwaysShowEditor(!Design);
        ListGrid->SetAlwaysShowFocus(Design);
        ListGrid->SetFocusBorder(Design ? fbDouble : fbDot);
        ListGrid->SetResizeCols(Design ? rcSingle : rcNone);
        ListGrid->SetResizeRows(Design ? rrAll : rrNone);
    } catch (...) {
        ListGrid->SetEnablePaint(true);
        throw;
    }
    ListGrid->SetEnablePaint(true);
}

void TgxBaseGrid::InitCombo(TgxCombo* Combo) {
    if (!Combo) return;
    const bool Design = GetInDesignMode();
    TgxComboGrid* List = Combo->GetGrid();
    List->SetGridRowCount(Design ? 4 : 0);
    Combo->SetDropDownRows(4);
    List->SetGridColCount(Design ? 2 : 1);
    Combo->SetDropDownCols(Design ? 2 : 1);
    Combo->SetValueCol(1);
    Combo->SetComboDisplayCol(1);
    Combo->SetCompareType(ctCaseInsensitive);
    List->SetStoreData(false);
}

void TgxBaseGrid::InitComboData(bool) {}

bool TgxBaseGrid::CheckInitComboRow() {
    return true;
}

bool TgxBaseGrid::IsLookupCombo(int) {
    return false;
}

// ---- bookkeeping --------------------------------------------------------------------------

void TgxBaseGrid::CheckLastUsedCombo(TgxCombo* Combo) {
    if (FLastUsedCombo == Combo) FLastUsedCombo = nullptr;
}

void TgxBaseGrid::ResetCombo() {
    if (IsComboGrid()) return;
    if (FCombo) FCombo->Reset();
    FComboInitialized = false;
    FLastUsedCombo = nullptr;
}

void TgxBaseGrid::ResetComboInit(bool ResetList) {
    if (IsComboGrid()) return;
    if (FComboInitialized) {
        FComboInitialized = false;
        if (ResetList && FLastUsedCombo && FCombo) FCombo->Reset();
    }
    FLastUsedCombo = nullptr;
}

void TgxBaseGrid::CheckResetComboInit(TgxCombo* Combo, bool ResetList) {
    if (!IsComboGrid() && Combo == FLastUsedCombo) ResetComboInit(ResetList);
}

void TgxBaseGrid::ResetDateTimeInit() {
    FDateTimeInitialized = false;
    FLastUsedDateTime = nullptr;
}

void TgxBaseGrid::CheckResetDateTimeInit(TgxDateTimeDefComponent* Def) {
    if (Def == FLastUsedDateTime) ResetDateTimeInit();
}

void TgxBaseGrid::CheckLastUsedDateTime(TgxDateTimeDefComponent* Def) {
    if (Def == FLastUsedDateTime) FLastUsedDateTime = nullptr;
}

// ---- state --------------------------------------------------------------------------------

bool TgxBaseGrid::ComboVisible() const {
    if (!FCombo) return false;
    TgxComboGrid* List = FCombo->GetGrid();
    return (FComboForm && FComboForm->Visible()) || List->Parent() != FComboForm;
}

bool TgxBaseGrid::DateTimeVisible() const {
    if (FDateTimeForm && FDateTimeForm->Visible()) return true;
    if (!DateTimeControlAssigned()) return false;
    return FDateTimeInstance->GetControl()->Parent() != FDateTimeForm;
}

bool TgxBaseGrid::IsDateTimeHandle(HWND Handle) const {
    if (!Handle || !DateTimeControlAssigned()) return false;
    TWinControl* Control = FDateTimeInstance->GetControl();
    return Handle == Control || Control->ContainsControl(Handle);
}

int TgxBaseGrid::TotalColWidth() const {
    int Total = 0;
    for (int C = 1; C <= GetGridColCount(); ++C)
        Total += ColWidths(GetDisplayCol(C));
    return Total;
}

// ---- closing ------------------------------------------------------------------------------

namespace {

// The grid's form was the active one: it shows (and keeps) the activation.
void ReshowParentForm(TgxBaseGrid* Grid) {
    TCustomForm* Form = GetParentForm(Grid);
    if (Form && Form == Screen->ActiveForm()) Form->Show();
}

} // namespace

bool TgxBaseGrid::TurnComboOff(bool Activate, bool Repaint) {
    if (!ComboVisible()) return false;
    TgxComboGrid* List = FCombo->GetGrid();
    if (FComboForm) FComboForm->SetVisible(false);
    if (List->Parent() != FComboForm) List->SetParent(GetComboForm());
    if (List->MouseCapture()) List->SetMouseCapture(false);
    if (Repaint && HandleAllocated()) Update();
    UnregisterGridHooks(this);
    if (Activate) ReshowParentForm(this);
    return true;
}

bool TgxBaseGrid::TurnDateTimeOff(bool Activate, bool Repaint) {
    if (!DateTimeVisible() && !FDateTimeOpen) return false;
    if (FDateTimeForm) {
        FDateTimeForm->SetVisible(false);
        if (FDateTimeFormType == btDateTimeDropDown)
            UnregisterGridHooks(this);
        else if (FDateTimeModal)
            FDateTimeForm->SetModalResult(mrCancel);
    }
    FDateTimeOpen = false;
    if (Repaint && HandleAllocated()) Update();
    if (Activate) ReshowParentForm(this);
    return true;
}

void TgxBaseGrid::CheckDropDownOff(bool Activate) {
    if (TurnComboOff(Activate, true))
        ComboRollUp();
    else if (TurnDateTimeOff(Activate, true))
        DateTimeRollUp();
}

// ---- placement ----------------------------------------------------------------------------

void TgxBaseGrid::PositionDropDownForm(int DisplayCol, int DisplayRow, const TPoint& Size,
                                       TPoint& Pos) {
    (void)DisplayCol;
    const TRect Area = Screen->WorkAreaRect();
    const int Width = Area.Right - Area.Left;
    const int Height = Area.Bottom - Area.Top;
    if (Pos.X + Size.X > Width) Pos.X = std::max(Area.Left, Width - Size.X);
    if (Pos.Y + Size.Y > Height)
        Pos.Y = std::max(Area.Top, Pos.Y + VertLineWidth() - RowHeights(DisplayRow) - Size.Y);
}

void TgxBaseGrid::PositionPopupForm(int, int, const TPoint& Size, TPoint& Pos) {
    const TRect Area = Screen->WorkAreaRect();
    Pos.X = (Area.Right - Area.Left - Size.X) / 2;
    Pos.Y = (Area.Bottom - Area.Top - Size.Y) / 2;
}

} // namespace grid
