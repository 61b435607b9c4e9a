// A date-time cell's calendar: which definition applies to a cell, the one
// working instance of its class on the grid's date-time form, showing it
// under the cell (or as a pop-up tool window), the events around it, and
// taking the picked value into the current cell.
#include "grid/foundation/DateTimeDefs.h"
#include "grid/foundation/GridCommonDate.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GridLinks.h"
#include "grid/model/Rows.h"
#include "grid/view/DropDownForm.h"
#include "platform/classes/TypInfo.h"
#include "platform/gui/WindowPos.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StrUtils.h"

#include <cmath>
#include <typeinfo>

namespace grid {

namespace {

bool IsDateTimeButton(TgxButtonType Type) {
    return Type == btDateTimeDropDown || Type == btDateTimePopup;
}

void FocusTheGrid(TgxBaseGrid* Grid) {
    if (Grid->HandleAllocated() && Grid->CanFocus() && !Grid->Focused()) Grid->SetFocus();
}

} // namespace

void TgxBaseGrid::SetDateTimeDef(TgxDateTimeDefComponent* Value) {
    ReplaceDateTimeDef(this, FDateTimeDefLevel, Value);
}

TgxDateTimeDefComponent* TgxBaseGrid::GiveCellDateTime(int DataCol, int DataRow) {
    if (DataCol < 1 || DataCol > GetGridColCount() || DataRow < 1 || DataRow > GetGridRowCount())
        return nullptr;
    TgxDateTimeDefComponent* Def = nullptr;
    if (IsDateTimeButton(GetCellButtonType(DataCol, DataRow))) {
        Def = GetCellDateTimeDef(DataCol, DataRow);
    } else {
        const TgxCol* Column = GetCol(DataCol);
        const TgxRow* Line = GetRow(DataRow);
        TgxDateTimeDefComponent* RowDef = Line ? Line->DateTimeDef() : nullptr;
        if (DrawOverlap() == doDrawRowOnTop)
            Def = Line && IsDateTimeButton(Line->ButtonType()) ? RowDef : Column->DateTimeDef();
        else
            Def = IsDateTimeButton(Column->ButtonType()) ? Column->DateTimeDef() : RowDef;
    }
    return Def ? Def : FDateTimeDefLevel;
}

void TgxBaseGrid::CheckCreateDateTime(int DataCol, int DataRow) {
    TgxDateTimeDefComponent* Def = GiveCellDateTime(DataCol, DataRow);
    if (FDateTimeInstance && (!Def || typeid(*FDateTimeInstance) != typeid(*Def))) {
        delete FDateTimeInstance;
        FDateTimeInstance = nullptr;
        FLastAssignedDateTime = nullptr;
    }
    if (!Def) return;
    if (!FDateTimeInstance) {
        const TClassInfo* Info = GetClassInfo(Def);
        if (!Info || !Info->Create || !Info->Type || *Info->Type != typeid(*Def))
            InvalidOp("Cannot create date-time drop-down. Class " + Def->ClassName() +
                      " is not published");
        FDateTimeInstance = dynamic_cast<TgxDateTimeDefComponent*>(Info->Create(GetDateTimeForm()));
        FLastAssignedDateTime = nullptr;
    }
    if (TWinControl* Control = FDateTimeInstance->GetControl()) Control->SetParent(FDateTimeForm);
    FDateTimeInstance->SetSelect([this](TObject* Sender) { DateTimeSelect(Sender); });
    FDateTimeInstance->SetCancel([this](TObject* Sender) { DateTimeCancel(Sender); });
}

void TgxBaseGrid::DateTimeInit(int DataCol, int DataRow, TgxButtonType ButtonType) {
    if (!FDateTimeInstance) return;
    if (FDateTimeInitialized && DataCol == FDateTimeInitCol && DataRow == FDateTimeInitRow) return;
    TgxDateTimeDefComponent* Def = GiveCellDateTime(DataCol, DataRow);
    if (Def && Def != FLastAssignedDateTime) {
        FLastAssignedDateTime = Def;
        FDateTimeInstance->Assign(Def);
    }
    FLastUsedDateTime = Def;
    FDateTimeInstance->SetPopupForm(ButtonType == btDateTimePopup);
    FDateTimeInstance->InitializeDisplay();
    ActivateDateTimeInit(FDateTimeInstance, DataCol, DataRow);
    FDateTimeInitialized = true;
    FDateTimeInitCol = DataCol;
    FDateTimeInitRow = DataRow;
}

bool TgxBaseGrid::DateTimeControlAssigned() const {
    return FDateTimeInstance && FDateTimeInstance->GetControl();
}

void TgxBaseGrid::UpdateDateTime() {
    if (DateTimeControlAssigned()) FDateTimeInstance->GetControl()->Update();
}

Variant TgxBaseGrid::GetCurrentDateTime() {
    const Variant Value = CurrentCell()->GetValue();
    if (Value.IsEmpty() || Value.IsNull()) return Variant();
    try {
        return Variant(VariantToDateTime(Value));
    } catch (const Exception&) {
        // Text that is no date leaves the calendar on today.
        return Variant();
    }
}

void TgxBaseGrid::InitDateTimeForm(TgxButtonType ButtonType) {
    FDateTimeFormType = ButtonType == btDateTimePopup ? btDateTimePopup : btDateTimeDropDown;
    const bool DropDown = FDateTimeFormType == btDateTimeDropDown;
    if (GetDateTimeForm()->DropDown() != DropDown) {
        // A window of the other kind: a new form takes the calendar over.
        TgxDropDownForm* Old = FDateTimeForm;
        auto* Form = new TgxDropDownForm(this);
        Form->SetDropDown(DropDown);
        InitializeDropDownForm(Form);
        FDateTimeForm = Form;
        if (FDateTimeInstance) {
            Old->RemoveComponent(FDateTimeInstance);
            Form->InsertComponent(FDateTimeInstance);
            if (TWinControl* Control = FDateTimeInstance->GetControl()) Control->SetParent(Form);
        }
        delete Old;
    }
    TgxDropDownForm* Form = FDateTimeForm;
    if (FDateTimeFormType == btDateTimePopup) {
        Form->SetBorderIcons(TBorderIcons{biSystemMenu});
        if (FDateTimeInstance && FDateTimeInstance->GetDateTimeProps())
            Form->SetText(FDateTimeInstance->GetDateTimeProps()->GetCaption());
    } else {
        Form->SetBorderIcons(TBorderIcons());
        Form->SetText("");
    }
    Form->HandleNeeded();
}

void TgxBaseGrid::SetdateTimeFormExtents(int DataCol, int DataRow) {
    TgxDropDownForm* Form = GetDateTimeForm();
    const int DisplayCol = GetDisplayCol(DataCol);
    const int DisplayRow = GetDisplayRow(DataRow);
    TPoint Size{ColWidths(DisplayCol), 15};
    if (DateTimeControlAssigned()) {
        TWinControl* Control = FDateTimeInstance->GetControl();
        Size = TPoint{Control->Width(), Control->Height()};
    }
    Size.X += Form->Width() - Form->ClientWidth();
    Size.Y += Form->Height() - Form->ClientHeight();
    const TRect Cell = CellRect(DisplayCol, DisplayRow);
    TPoint Pos = ClientToScreen(TPoint{Cell.Left, Cell.Bottom});
    if (Size.X < ColWidths(DisplayCol)) Pos.X += ColWidths(DisplayCol) - Size.X;
    if (DateTimeControlAssigned()) {
        TWinControl* Control = FDateTimeInstance->GetControl();
        Control->SetBounds(0, 0, Control->Width(), Control->Height());
    }
    if (FDateTimeFormType == btDateTimeDropDown) {
        PositionDropDownForm(DisplayCol, DisplayRow, Size, Pos);
        SetWindowPos(Form, nullptr, Pos.X, Pos.Y, Size.X, Size.Y, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        PositionPopupForm(DisplayCol, DisplayRow, Size, Pos);
        Form->SetBounds(Pos.X, Pos.Y, Size.X, Size.Y);
    }
}

void TgxBaseGrid::SetDateTimeVisible() {
    TgxDropDownForm* Form = GetDateTimeForm();
    Form->SetEnabled(true);
    if (FDateTimeFormType == btDateTimeDropDown) {
        SetWindowPos(Form, HWND_TOP, Form->Left(), Form->Top(), Form->Width(), Form->Height(),
                     SWP_NOACTIVATE | SWP_SHOWWINDOW);
        if (FDateTimeInstance) FDateTimeInstance->InitializeFocus();
        return;
    }
    FDateTimeSelected = FDateTimeCancelled = false;
    FDateTimeModal = true;
    Form->OnActivate = [this](TObject* Sender) { DateTimeActivate(Sender); };
    Form->OnClose = [this](TObject* Sender, TCloseAction& Action) {
        DateTimeClose(Sender, Action);
    };
    auto Finish = [this, Form] {
        Form->OnActivate = nullptr;
        Form->OnClose = nullptr;
        FDateTimeModal = false;
        if (FDateTimeSelected)
            SetDateTimeSelection();
        else if (FDateTimeCancelled)
            CancelDateTimeSelection();
    };
    try {
        Form->ShowModal();
    } catch (...) {
        Finish();
        throw;
    }
    Finish();
}

void TgxBaseGrid::InternalShowDateTime(int DataCol, int DataRow) {
    GetDateTimeForm()->HandleNeeded();
    CheckCreateDateTime(DataCol, DataRow);
    if (!FDateTimeInstance) return;
    FDateTimeInstance->SetDateTime(Variant());
    const TgxButtonType Type = GiveCellButtonType(DataCol, DataRow);
    DateTimeInit(DataCol, DataRow, Type);
    DateTimeDropDown(DataCol, DataRow);
    InitDateTimeForm(Type);
    if (FDateTimeInstance->GetDateTime().IsEmpty()) {
        FDateTimeInstance->SetDateTime(GetCurrentDateTime());
        FDateTimeInstance->InitializeDisplay();
    }
    SetdateTimeFormExtents(DataCol, DataRow);
    FDateTimeOpen = true;
    if (FDateTimeFormType == btDateTimeDropDown) RegisterGridHooks(this);
    SetDateTimeVisible();
    if (HandleAllocated()) Update();
    UpdateDateTime();
}

void TgxBaseGrid::DisplayDateTime(int DataCol, int DataRow) {
    CheckDropDownOff(false);
    InternalShowDateTime(DataCol, DataRow);
}

void TgxBaseGrid::ShowDateTime() {
    if (!CurrentCellInView()) return;
    const int DataCol = CurrentCell()->GetDataCol();
    const int DataRow = CurrentCell()->GetDataRow();
    if (!CanDropDown(DataCol, DataRow, {btDateTimeDropDown, btDateTimePopup})) return;
    if (DateTimeVisible() && FDateTimeCol == DataCol && FDateTimeRow == DataRow) return;
    CheckDropDownOff(false);
    PutCellInView(DataCol, DataRow);
    DisplayDateTime(DataCol, DataRow);
}

bool TgxBaseGrid::DateTimeButtonDown(int DataCol, int DataRow) {
    if (DataCol == FDateTimeCol && DataRow == FDateTimeRow) {
        CheckDropDownOff(false);
        return true;
    }
    const bool Allowed = CanDropDown(CurrentCell()->GetDataCol(), CurrentCell()->GetDataRow(),
                                     {btDateTimeDropDown, btDateTimePopup});
    if (Allowed) DisplayDateTime(DataCol, DataRow);
    return Allowed;
}

void TgxBaseGrid::DateTimeActivate(TObject*) {
    if (FDateTimeInstance) FDateTimeInstance->InitializeFocus();
}

void TgxBaseGrid::DateTimeClose(TObject* Sender, TCloseAction&) {
    DateTimeCancel(Sender);
}

void TgxBaseGrid::DateTimeDropDown(int DataCol, int DataRow) {
    if (FDateTimeCol != -1) return;
    ActivateDateTimeDropDown(FDateTimeInstance, DataCol, DataRow);
    FDateTimeCol = DataCol;
    FDateTimeRow = DataRow;
}

void TgxBaseGrid::DateTimeRollUp() {
    if (FDateTimeCol == -1) return;
    const int Col = FDateTimeCol;
    const int Row = FDateTimeRow;
    FDateTimeCol = FDateTimeRow = -1;
    ActivateDateTimeRollUp(FDateTimeInstance, Col, Row);
}

void TgxBaseGrid::ActivateDateTimeInit(TgxDateTimeDefComponent* Def, int DataCol, int DataRow) {
    DoDateTimeInit(Def, DataCol, DataRow);
}

void TgxBaseGrid::ActivateDateTimeDropDown(TgxDateTimeDefComponent* Def, int DataCol, int DataRow) {
    DoDateTimeDropDown(Def, DataCol, DataRow);
}

void TgxBaseGrid::ActivateDateTimeRollUp(TgxDateTimeDefComponent* Def, int DataCol, int DataRow) {
    DoDateTimeRollUp(Def, DataCol, DataRow);
}

void TgxBaseGrid::ActivateDateTimeGetValue(TgxDateTimeDefComponent* Def, int DataCol, int DataRow,
                                           Variant& Value) {
    DoDateTimeGetValue(Def, DataCol, DataRow, Value);
}

// ---- the picked value -----------------------------------------------------------------------

AnsiString TgxBaseGrid::EditDateFormat() const {
    return GetEditDateFormat(true);
}

void TgxBaseGrid::GetDateTimeValue(int DataCol, int DataRow, Variant& Value) {
    Value = FDateTimeInstance ? FDateTimeInstance->GetDateTime() : Variant();
    ActivateDateTimeGetValue(FDateTimeInstance, DataCol, DataRow, Value);
    const TVarType Type = VarType(Value) & varTypeMask;
    if (Type != varDate && Type != varDouble) return;
    const double Stamp = Value.AsDouble();
    const TgxDateTimeDisplay Display =
        FDateTimeInstance ? FDateTimeInstance->GetDateTimeDisplay() : dtDate;
    AnsiString Format;
    switch (Display) {
    case dtDate:
        Format = EditDateFormat();
        break;
    case dtTime:
        Format = FormatSettings().LongTimeFormat;
        break;
    case dtDateTime: {
        Format = EditDateFormat();
        Word H = 0, N = 0, S = 0, MS = 0;
        DecodeTime(TDateTime(Stamp), H, N, S, MS);
        // Milliseconds alone are no time of day worth showing.
        if (H != 0 || N != 0 || S != 0)
            Format = Trim(Format) + " " + FormatSettings().LongTimeFormat;
        break;
    }
    }
    Format = LongYearFormat(Format);
    if (!AMPMFormat()) Format = LongHourFormat(Format);
    Value = Variant(FormatDateTime(Format, TDateTime(Stamp)));
}

void TgxBaseGrid::SetDateTimeSelection() {
    struct TClearPending {
        bool& Flag;
        ~TClearPending() { Flag = false; }
    } Clear{FDateTimeSelected};
    const Variant Picked = FDateTimeInstance ? FDateTimeInstance->GetDateTime() : Variant();
    if (Picked.IsEmpty() || (GetInDesignMode() && !StoreData())) {
        ShowGridControl();
        CheckDropDownOff(false);
        FocusTheGrid(this);
        return;
    }
    const bool WasOpen = TurnDateTimeOff(false, true);
    try {
        Variant Value;
        GetDateTimeValue(CurrentCell()->GetDataCol(), CurrentCell()->GetDataRow(), Value);
        CheckVarType(CurCellControlType(), Value);
        SetCurrentValue(Value, true, true);
        ShowGridControl();
    } catch (...) {
        if (WasOpen) DateTimeRollUp();
        FocusTheGrid(this);
        throw;
    }
    if (WasOpen) DateTimeRollUp();
    FocusTheGrid(this);
}

void TgxBaseGrid::CancelDateTimeSelection() {
    ShowGridControl();
    CheckDropDownOff(false);
    FocusTheGrid(this);
    FDateTimeCancelled = false;
}

void TgxBaseGrid::DateTimeSelect(TObject*) {
    FDateTimeSelected = true;
    if (FDateTimeModal) {
        GetDateTimeForm()->SetModalResult(mrOk);
        return;
    }
    if (FDateTimeFormType == btDateTimeDropDown) SetDateTimeSelection();
}

void TgxBaseGrid::DateTimeCancel(TObject*) {
    FDateTimeCancelled = true;
    if (FDateTimeModal) {
        if (GetDateTimeForm()->ModalResult() == mrNone) GetDateTimeForm()->SetModalResult(mrCancel);
        return;
    }
    if (FDateTimeFormType == btDateTimeDropDown) CancelDateTimeSelection();
}

} // namespace grid
