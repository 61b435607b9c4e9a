// The grid's keyboard: the key table that turns key presses into moves of
// the current cell, clipboard commands, undo, the editor and drop-downs,
// the guards every move passes, and typing that starts an edit.
#include "grid/foundation/GridCommonText.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GridGuards.h"
#include "grid/model/InplaceControl.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace grid {

namespace {

const TShiftState NoShift{};
const TShiftState CtrlOnly{ssCtrl};
const TShiftState ShiftOnly{ssShift};
const TShiftState AltOnly{ssAlt};

// Runs the notifications that follow every key, also when the key's
// handler raised.
class TAfterKey {
public:
    explicit TAfterKey(TgxBaseGrid& Grid) : FGrid(Grid) {}
    ~TAfterKey() {
        try {
            FGrid.CheckRowSelection(false);
            FGrid.SelectionsChanged(true);
            FGrid.GridStatusChanged();
        } catch (...) {
            // A failing handler of these reports must not hide the key's own error.
        }
    }
    TAfterKey(const TAfterKey&) = delete;
    TAfterKey& operator=(const TAfterKey&) = delete;

private:
    TgxBaseGrid& FGrid;
};

} // namespace

// ---- guards ----------------------------------------------------------------------------------

bool TgxBaseGrid::CanMoveToPos(int DisplayCol, int DisplayRow) const {
    const int MaxRow = MaxVisibleRow();
    if (DisplayRow > MaxRow && MaxRow < FixedRows()) return false;
    const int MaxCol = MaxVisibleCol();
    if (FGridMode != gmListBox && DisplayCol > MaxCol && MaxCol < FixedCols()) return false;
    return true;
}

bool TgxBaseGrid::CurrentPosInView() const {
    const bool RowIn = Row() < FixedRows() || (Row() >= TopRow() && Row() <= MaxVisibleRow());
    if (FGridMode == gmListBox) return FRowSelectMode == rsNone || RowIn;
    const bool ColIn = Col() < FixedCols() || (Col() >= LeftCol() && Col() <= MaxVisibleCol());
    return ColIn && RowIn;
}

bool TgxBaseGrid::CheckMoveCol(TShiftState Shift, Word Key) const {
    if (Shift == CtrlOnly && (Key == VK_END || Key == VK_HOME || Key == VK_LEFT || Key == VK_RIGHT))
        return false;
    return InGridMode();
}

bool TgxBaseGrid::CheckMoveRow(TShiftState Shift, Word Key) const {
    if (Shift == CtrlOnly && (Key == VK_END || Key == VK_HOME || Key == VK_UP || Key == VK_DOWN))
        return false;
    if (InGridMode()) return true;
    return Key == VK_PRIOR || Key == VK_NEXT || Key == VK_END || Key == VK_HOME || Key == VK_UP ||
           Key == VK_DOWN;
}

void TgxBaseGrid::BackToCurrentCell(bool MoveCol, bool MoveRow) {
    if (MoveCol && !CanMoveToPos(Col(), 0)) return;
    if (MoveRow && !CanMoveToPos(0, Row())) return;
    int NewLeft = LeftCol();
    int NewTop = TopRow();
    if (MoveCol && Col() >= FixedCols()) {
        if (Col() < LeftCol())
            NewLeft = std::max(Col(), FixedCols());
        else if (Col() > MaxVisibleCol())
            MoveColToRight(Col(), NewLeft);
    }
    if (MoveRow && Row() >= FixedRows()) {
        if (Row() < TopRow())
            NewTop = std::max(Row(), FixedRows());
        else if (Row() > MaxVisibleRow())
            MoveRowToBottom(Row(), NewTop);
    }
    if (NewLeft == LeftCol() && NewTop == TopRow()) return;
    HideGridControl(false);
    MoveTopLeft(NewLeft, NewTop);
    ShowGridControl();
    TCustomControl::Update();
}

// ---- entry points
// ---------------------------------------------------------------------------------

void TgxBaseGrid::KeyDown(Word& Key, TShiftState Shift) {
    // Also reached from the in-place editor, past the grid's messages.
    const TCountScope Input(FUserInput);
    DoKeyDown(Key, Shift);
    if (Key == 0) return;
    if (DateTimeVisible()) {
        ProcessKeyDownDateTime(Key, Shift);
        return;
    }
    if (GetCanProcessKey()) ProcessKeyDown(Key, Shift);
}

void TgxBaseGrid::KeyUp(Word& Key, TShiftState Shift) {
    if (FRefocusOnKeyUp) {
        FRefocusOnKeyUp = false;
        if (FGridControl && FGridControl->GetVisible() && Focused()) FGridControl->SetFocus();
    }
    DoKeyUp(Key, Shift);
}

void TgxBaseGrid::KeyPress(char& Key) {
    if (GetCanProcessKey() && FGridControl && FGridControl->IsEditKey(Key) &&
        FGridControl->GetKeyEdit() && StartShowEditor(true)) {
        // Typing starts the edit: the character goes to the editor, when
        // it shows; a cell under the fixed area takes no typing unseen.
        if (FGridControl->GetVisible())
            if (HWND Handle = FGridControl->GetHandle())
                PostMessage(Handle, WM_CHAR, static_cast<unsigned char>(Key), 0);
        return;
    }
    DoKeyPress(Key);
    if (Key != 0 && DateTimeVisible()) Key = 0;
}

// ---- the key table
// -----------------------------------------------------------------------------------

void TgxBaseGrid::CtrlKeyDown(Word& Key) {
    switch (Key) {
    case VK_END:
        KeyCtrl_End();
        break;
    case VK_HOME:
        KeyCtrl_Home();
        break;
    case VK_LEFT:
        KeyCtrl_Left();
        break;
    case VK_RIGHT:
        KeyCtrl_Right();
        break;
    case VK_UP:
        KeyCtrl_Up();
        break;
    case VK_DOWN:
        KeyCtrl_Down();
        break;
    default:
        return;
    }
    Key = 0;
}

void TgxBaseGrid::ProcessKeyDown(Word& Key, TShiftState Shift) {
    FKeyNavigation = true;
    if (Key == 0 || Key == VK_SHIFT || Key == VK_CONTROL || Key == VK_MENU) return;
    if (Shift.Contains(ssAlt) && Key != VK_UP && Key != VK_DOWN) return;
    if (ComboVisible() && ProcessKeyDownCombo(Key, Shift)) return;
    if (FMouseStatus != msNormal && FMouseStatus != msButtonDown) {
        if (Key == VK_ESCAPE) {
            CancelMouseAction();
            Key = 0;
        }
        return;
    }
    TAfterKey After(*this);
    if (!CurrentPosInView()) {
        BackToCurrentCell(CheckMoveCol(Shift, Key), CheckMoveRow(Shift, Key));
        if (Key == VK_ESCAPE) {
            ResetComboSearchValue();
            Key = 0;
            return;
        }
    }
    if (Key == VK_ESCAPE && ResetComboSearchValue()) {
        Key = 0;
        return;
    }
    // Escape and Ctrl+Z undo first; the escape handling goes on once no
    // edit is pending any more.
    bool EscapeGoesOn = true;
    bool Undone = false;
    if ((Key == VK_ESCAPE && Shift == NoShift) || (Key == VK_Z && Shift == CtrlOnly)) {
        bool KeepBuffer = false;
        bool Pending = false;
        const bool Done = UndoEdit(false, true, KeepBuffer, Pending);
        Undone = Done && Pending;
        EscapeGoesOn = Done && !FCellEditing && !FRowEditing;
        if (Undone) Key = 0;
        if (!EscapeGoesOn) return;
    }
    const bool Editing = InEditMode() || FocusRectActive();
    if (Shift == CtrlOnly) {
        switch (Key) {
        case VK_INSERT:
        case VK_C:
            if (CopyCellToClipboard()) Key = 0;
            return;
        case VK_V:
            if (PasteCellFromClipboard()) Key = 0;
            return;
        case VK_X:
            if (CutCellToClipboard()) Key = 0;
            return;
        case VK_Z:
            if (KeydownVK_Escape() || Undone) Key = 0;
            return;
        default:
            CtrlKeyDown(Key);
            return;
        }
    }
    if (Shift == ShiftOnly) {
        switch (Key) {
        case VK_TAB:
            if (Editing) {
                ShiftKeyDownVK_Tab();
                Key = 0;
            }
            return;
        case VK_INSERT:
            if (PasteCellFromClipboard()) Key = 0;
            return;
        case VK_DELETE:
            if (CutCellToClipboard()) Key = 0;
            return;
        default:
            return;
        }
    }
    if (Shift == AltOnly) {
        if ((Key == VK_UP || Key == VK_DOWN) && KeyDropDown()) Key = 0;
        return;
    }
    if (Shift != NoShift) return;
    switch (Key) {
    case VK_TAB:
        if (Editing) {
            KeyDownVK_Tab(Key);
            Key = 0;
        }
        break;
    case VK_RETURN:
        if (InEditMode()) {
            KeyDownVK_Tab(Key);
            Key = 0;
        }
        break;
    case VK_ESCAPE:
        if (KeydownVK_Escape() || Undone) Key = 0;
        break;
    case VK_PRIOR:
        KeyDownVK_Prior();
        Key = 0;
        break;
    case VK_NEXT:
        KeyDownVK_Next();
        Key = 0;
        break;
    case VK_LEFT:
        if (Editing) {
            ShiftKeyDownVK_Tab();
        } else if (LeftCol() > FixedCols()) {
            int NewLeft = LeftCol() - 1;
            while (NewLeft > FixedCols() && ColWidths(NewLeft) == 0)
                --NewLeft;
            MoveTopLeft(NewLeft, TopRow());
            SetCurrentPosition(std::max(Col() - 1, FixedCols()), Row(), true, true);
            CheckRowColChanged();
        }
        Key = 0;
        break;
    case VK_RIGHT:
        if (Editing) {
            KeyDownVK_Tab(Key);
        } else if (GetVisibleColCount() + LeftCol() < ColCount() &&
                   CanMoveToPos(LeftCol() + 1, Row())) {
            MoveTopLeft(LeftCol() + 1, TopRow());
            SetCurrentPosition(std::max(Col() + 1, LeftCol()), Row(), true, true);
            CheckRowColChanged();
        }
        Key = 0;
        break;
    case VK_UP:
        KeyDownVK_Up();
        Key = 0;
        break;
    case VK_DOWN:
        KeyDownVK_Down();
        Key = 0;
        break;
    case VK_F2:
        if (!FEditorPermanent && InternalShowEditor(gxNone, false)) {
            if (FGridControl) FGridControl->SetSelLength(0);
            TCustomControl::Update();
            Key = 0;
        }
        break;
    case VK_F4:
        if (KeyDropDown()) Key = 0;
        break;
    default:
        break;
    }
}

// ---- Escape
// ---------------------------------------------------------------------------------------

bool TgxBaseGrid::KeydownVK_Escape() {
    if (!InEditMode()) return false;
    if (FGridMode == gmEditInsert && Row() == RowCount() - 1 && RowCount() - 1 > FixedRows()) {
        // Back to the last row before the one being inserted.
        HideGridControl(false);
        ClearCurrentFocusRect(false);
        CheckInvalidateCell(0, Row());
        SetCurrentPositionAndDraw(
            Col(), std::max(GetGridRowCount() - (FInsertionRowShown ? 0 : 1), FixedRows()), true,
            true);
        ShowGridControl();
        DrawCurrentFocusRect(false);
        CheckRowColChanged();
        return true;
    }
    if (FAlwaysShowEditor) return false;
    HideEditor();
    CurrentCell()->SelectAll();
    return true;
}

// ---- drop-downs from the keyboard
// -----------------------------------------------------------------

bool TgxBaseGrid::CanDropDown(int DataCol, int DataRow,
                              std::initializer_list<TgxButtonType> Allowed) {
    TgxDropDownStyle Style = ddDropDown;
    const TgxButtonType Button = GiveCellButton(DataCol, DataRow, Style);
    if (std::find(Allowed.begin(), Allowed.end(), Button) == Allowed.end()) return false;
    if (CellIsReadOnly(DataCol, DataRow)) return false;
    if (FGridMode != gmEdit && FGridMode != gmEditInsert) return false;
    if (Button == btDateTimeDropDown || Button == btDateTimePopup)
        return GiveCellDateTime(DataCol, DataRow) != nullptr;
    return true;
}

bool TgxBaseGrid::KeyDropDownCombo() {
    const int DataCol = GetCurrentDataCol();
    const int DataRow = GetCurrentDataRow();
    if (!CanDropDown(DataCol, DataRow, {btCombo})) return false;
    ComboButtonDown(DataCol, DataRow);
    return true;
}

bool TgxBaseGrid::KeyDropDownDateTime() {
    const int DataCol = GetCurrentDataCol();
    const int DataRow = GetCurrentDataRow();
    if (!CanDropDown(DataCol, DataRow, {btDateTimeDropDown, btDateTimePopup})) return false;
    return DateTimeButtonDown(DataCol, DataRow);
}

bool TgxBaseGrid::KeyDropDown() {
    return KeyDropDownCombo() || KeyDropDownDateTime();
}

void TgxBaseGrid::ProcessKeyDropDownList(char Key) {
    const int DataCol = GetCurrentDataCol();
    const int DataRow = GetCurrentDataRow();
    TgxDropDownStyle Style = ddDropDown;
    if (GiveCellButton(DataCol, DataRow, Style) != btCombo || CellIsReadOnly(DataCol, DataRow))
        return;
    if (Key == 27) {
        ResetComboSearchValue();
        return;
    }
    ComboInit(DataCol, DataRow);
    if (Style != ddDropDownList && !IsLookupCombo(DataCol)) return;
    Variant Value;
    PositionDropDownList(Key, Value);
    SetComboValue(Value);
    TCustomControl::Update();
}

// ---- heading accelerators
// ---------------------------------------------------------------------------

int TgxBaseGrid::GetAccelHeading(char Ch) {
    for (int D = 1; D <= GetGridColCount(); ++D) {
        const int DataCol = GetDataCol(D);
        AnsiString Heading;
        int AccelPos = 0;
        TextAccelKey(FCols->Item(DataCol)->GetHeading(), Heading, AccelPos);
        if (AccelPos < 1 || AccelPos > static_cast<int>(Heading.size())) continue;
        if (AnsiCompareText(AnsiString(1, Heading[static_cast<std::size_t>(AccelPos - 1)]),
                            AnsiString(1, Ch)) == 0)
            return DataCol;
    }
    return 0;
}

} // namespace grid
