// Cell buttons under the mouse: where a cell's button is, whether it may
// react, the one highlighted and the one pressed button, the hover timer
// that lets go of a highlight when the mouse leaves, and the repeat timer
// of a held spin button.
#include "grid/model/BaseGrid.h"
#include "grid/model/CellButtons.h"
#include "grid/model/DrawData.h"
#include "grid/view/DropDownForm.h"
#include "platform/gui/Blit.h"
#include "platform/gui/Forms.h"

#include <algorithm>

namespace grid {

namespace {

bool IsDropDownButton(TgxButtonType Type) {
    return Type == btCombo || Type == btDateTimeDropDown;
}

} // namespace

// ---- where the button is
// -------------------------------------------------------------------------

bool TgxBaseGrid::MouseOverCombo(int X, int Y) {
    if (!ComboVisible() || !HandleAllocated()) return false;
    // The open list's form, in screen coordinates like the point.
    const TRect R = GetComboForm()->BoundsRect();
    const TPoint P = ClientToScreen(Point(X, Y));
    return R.Left <= P.X && P.X <= R.Right && R.Top < P.Y && P.Y <= R.Bottom;
}

bool TgxBaseGrid::ValidButton(int X, int Y, int DisplayCol, int DisplayRow,
                              TgxButtonType ButtonType) {
    if (MouseOverCombo(X, Y)) return false;
    if (DisplayCol < 1 || DisplayRow < 1) return false;
    if (X > ClientWidth() || Y > ClientHeight()) return false;
    if (ButtonType == btNone) return false;
    if (FAlwaysDetectButton) return true;
    if (FGridMode != gmEdit && FGridMode != gmEditInsert) return false;
    return !CellIsReadOnly(GetDataCol(DisplayCol), GetDataRow(DisplayRow));
}

bool TgxBaseGrid::MouseOverButton(int X, int Y, int DisplayCol, int DisplayRow) {
    if (DisplayCol < 1 || DisplayRow < 1 || DisplayCol >= ColCount() || DisplayRow >= RowCount())
        return false;
    TgxDropDownStyle Style = ddDropDown;
    const TgxButtonType Type =
        GiveCellButton(GetDataCol(DisplayCol), GetDataRow(DisplayRow), Style);
    if (!ValidButton(X, Y, DisplayCol, DisplayRow, Type)) return false;
    FHitButton = GridCellButton(DisplayCol, Type);
    if (!FHitButton) return false;
    const int Left = CalcColOffset(DisplayCol);
    const int Top = CalcRowOffset(DisplayRow);
    if (Left < 0 || Top < 0) return false;
    // The full cell, also where the client edge cuts it.
    const int Right = Left + ColWidths(DisplayCol) - FVertLineWidth;
    const int Bottom = Top + RowHeights(DisplayRow) - FHorzLineWidth;
    const int ButtonLeft = std::max(Left + 3, Right - FHitButton->FullWidth());
    return ButtonLeft < X && X <= Right && Top <= Y &&
           Y <= std::min(Bottom, Top + FHitButton->FullHeight());
}

TgxSpinButton TgxBaseGrid::SpinPartAt(int X, int Y, int DisplayCol, int DisplayRow) {
    if (!MouseOverButton(X, Y, DisplayCol, DisplayRow)) return spbNone;
    TgxDropDownStyle Style = ddDropDown;
    const TgxButtonType Type =
        GiveCellButton(GetDataCol(DisplayCol), GetDataRow(DisplayRow), Style);
    if (!IsSpinButton(Type)) return spbNone;
    // The parts as they are drawn: in a low (or narrow) cell they are
    // smaller than the button's own halves, and a press must count the way
    // the arrow under it points.
    TgxDrawData Data;
    GetDrawData(DisplayCol, DisplayRow, Data, true);
    TRect Increment, Decrement;
    if (!GetSpinRects(Data, Increment, Decrement)) return spbNone;
    // The line above the upper part counts up with it, as does the part
    // of a side-by-side pair that reaches the right edge.
    if (Type == btVertSpin) {
        if (Y < Decrement.Top) return spbIncrement;
        return Y <= Decrement.Bottom ? spbDecrement : spbNone;
    }
    if (X >= Increment.Left) return spbIncrement;
    return X >= Decrement.Left ? spbDecrement : spbNone;
}

bool TgxBaseGrid::DrawButtonDown(int X, int Y, int DisplayCol, int DisplayRow) {
    if (DisplayCol < 1 || DisplayRow < 1) return false;
    if (MouseOverButton(X, Y, DisplayCol, DisplayRow)) return true;
    if (DisplayCol >= ColCount() || DisplayRow >= RowCount()) return false;
    // A drop-down list cell shows its button pressed wherever it is pressed.
    TgxDropDownStyle Style = ddDropDown;
    const TgxButtonType Type =
        GiveCellButton(GetDataCol(DisplayCol), GetDataRow(DisplayRow), Style);
    return IsDropDownButton(Type) && Style == ddDropDownList &&
           ValidButton(X, Y, DisplayCol, DisplayRow, Type);
}

void TgxBaseGrid::SetInactiveButtonState(TgxInactiveButtonState Value) {
    if (Value == FInactiveButtonState) return;
    FInactiveButtonState = Value;
    InvalidateGridNow();
    RedisplayControl();
}

// ---- highlighted and pressed button
// ---------------------------------------------------------------

void TgxBaseGrid::ResetButtonUp() {
    if (FHotButtonCol < 0) return;
    InvalidateGridCell(FHotButtonCol, FHotButtonRow);
    FHotButtonCol = FHotButtonRow = -1;
    FHotSpinPart = spbNone;
}

void TgxBaseGrid::ResetButtonDown() {
    if (FDownButtonCol >= 0) InvalidateGridCell(FDownButtonCol, FDownButtonRow);
    FDownButtonCol = FDownButtonRow = -1;
    FDownSpinPart = spbNone;
    FSpinRepeatCount = 0;
    StopTimer(FSpinTimer);
}

void TgxBaseGrid::ResetButton() {
    StopTimer(FButtonTimer);
    ResetButtonUp();
    ResetButtonDown();
}

void TgxBaseGrid::CheckResetButtons() {
    if (FHotButtonCol >= ColCount() || FHotButtonRow >= RowCount()) {
        FHotButtonCol = FHotButtonRow = -1;
        FHotSpinPart = spbNone;
    }
    if (FDownButtonCol >= ColCount() || FDownButtonRow >= RowCount()) {
        FDownButtonCol = FDownButtonRow = -1;
        ResetButtonDown();
    }
}

void TgxBaseGrid::CheckMousePosition() {
    if (!HandleAllocated()) return;
    const TPoint P = ScreenToClient(Mouse->CursorPos());
    int C = -1;
    int R = -1;
    if (CellFromXY(P.X, P.Y, C, R) && C > 0 && R > 0 && MouseOverButton(P.X, P.Y, C, R)) return;
    ResetButton();
}

// ---- the spin timer
// -------------------------------------------------------------------------------

bool TgxBaseGrid::SpinTimerActive() {
    return IsFocused() && FMouseStatus == msButtonDown && MouseCapture() &&
           FDownSpinPart != spbNone && FSpinTimer != 0;
}

void TgxBaseGrid::ResetSpinTimer() {
    if (SpinTimerActive()) return;
    StopTimer(FSpinTimer);
    ResetButton();
}

void TgxBaseGrid::SpinTimerEvent() {
    if (!SpinTimerActive()) {
        ResetSpinTimer();
        return;
    }
    CheckRestartSpinTimer();
    ++FSpinRepeatCount;
    try {
        SpinRepeat(GetDataCol(Col()), GetDataRow(Row()), FDownSpinPart, FSpinRepeatCount);
    } catch (...) {
        ResetButtonDown();
        InvalidateGridCell(Col(), Row());
        throw;
    }
}

// ---- the mouse on buttons
// -------------------------------------------------------------------------

void TgxBaseGrid::MDButtonDown(TShiftState Shift, int X, int Y, int DisplayCol, int DisplayRow) {
    if (!CanMoveToPos(DisplayCol, DisplayRow)) return;
    struct TCloser {
        TgxBaseGrid& G;
        ~TCloser() {
            G.CheckRowColChanged();
            G.SelectionsChanged(true);
        }
    } Closer{*this};
    if (FGridMode == gmListBox) {
        if (FRowSelectMode != rsNone) {
            MDRowSelect(Shift, X, DisplayRow, DisplayCol, Y);
        } else if (CanSelect(-1, DisplayRow) &&
                   CheckEndEdit(GetDataCol(DisplayCol), GetDataRow(DisplayRow), true)) {
            int C = DisplayCol;
            int R = DisplayRow;
            SelectNone(C, R);
            DrawCurrentFocusRect(false);
        }
        return;
    }
    const int DataColAt = GetDataCol(DisplayCol);
    const bool ReadOnly = CellIsReadOnly(DataColAt, GetDataRow(DisplayRow));
    if (ReadOnly && !CanSelect(-1, DisplayRow)) return;
    if (!CheckEndEdit(DataColAt, GetDataRow(DisplayRow), true)) return;
    int TargetRow = DisplayRow;
    bool Missed = false;
    if (!RowFromY(Y, TargetRow) || TargetRow < 1) {
        TargetRow = Row();
        Missed = true;
    }
    // A read-only cell of a read-only column only changes the row.
    int TargetCol = ReadOnly && !CanEditCol(DataColAt) ? Col() : DisplayCol;
    const bool Moves = FGridStatus != grNormal || TargetCol != Col() || TargetRow != Row();
    if (Moves) {
        HideGridControl(true);
        ClearCurrentFocusRect(false);
    }
    if (IsCellSelected(TargetCol, TargetRow)) FlashButtonArea(TargetCol, TargetRow);
    SelectNone(TargetCol, TargetRow);
    if (Moves) Update();
    FControlSelectMode = gxAll;
    ShowGridControl();
    DrawCurrentFocusRect(false);
    InvalidateGridCell(Col(), Row());
    FDownButtonCol = FDownButtonRow = -1;
    FDownSpinPart = spbNone;
    FButtonPressPending = false;
    FPendingSpinPart = spbNone;
    FFirstSpinPeriod = true;
    FSpinRepeatCount = 0;
    if (Missed || Col() != DisplayCol || Row() != TargetRow) return;

    SetMouseStatus(msButtonDown);
    const int DataCol = GetDataCol(Col());
    const int DataRow = GetDataRow(Row());
    TgxDropDownStyle Style = ddDropDown;
    const TgxButtonType Type = GiveCellButton(DataCol, DataRow, Style);
    TgxSpinButton Part = spbNone;
    if (MouseOverButton(X, Y, Col(), Row())) {
        Part = SpinPartAt(X, Y, Col(), Row());
        FDownButtonCol = Col();
        FDownButtonRow = Row();
        FDownSpinPart = Part;
        FButtonPressPending = true;
        FPendingSpinPart = Part;
        InvalidateGridCell(Col(), Row());
    }
    if (Type == btCombo) {
        if (CanDropDown(DataCol, DataRow, {btCombo})) ComboButtonDown(DataCol, DataRow);
        return;
    }
    if (Type == btDateTimeDropDown) {
        DateTimeButtonDown(DataCol, DataRow);
        return;
    }
    try {
        // The pop-up calendar opens on the release.
        if (Type != btDateTimePopup && DropDownVisible()) CheckDropDownOff(true);
        if (Type == btDateTimePopup || Type == btNormal) {
            ButtonDown(DataCol, DataRow);
        } else if (IsSpinButton(Type)) {
            SpinButtonDown(DataCol, DataRow, Part);
            FSpinRepeatCount = 1;
            SpinRepeat(DataCol, DataRow, Part, 1);
            if (GiveCellSpinOptions(DataCol, DataRow).Contains(spoAutoRepeat) && Part != spbNone)
                StartSpinTimer(true);
        }
        // A handler that took the mouse away ends the press.
        if (!MouseCapture()) {
            ResetButtonDown();
            InvalidateGridCell(Col(), Row());
        }
    } catch (...) {
        ResetButtonDown();
        InvalidateGridCell(Col(), Row());
        throw;
    }
}

// A selected cell pressed on its button shows the press at once, inverted,
// before the selection goes.
void TgxBaseGrid::FlashButtonArea(int DisplayCol, int DisplayRow) {
    if (!HandleAllocated() || !PaintEnabled()) return;
    const TRect Cell = CellRect(DisplayCol, DisplayRow);
    if (Cell.Right <= Cell.Left || Cell.Bottom <= Cell.Top) return;
    TgxCustomButton* Button = GridCellButton(DisplayCol, btCombo);
    if (!Button) return;
    const int Left = std::max(Cell.Left + 3, Cell.Right - Button->FullWidth());
    const int Bottom = std::min(Cell.Bottom, Cell.Top + Button->FullHeight());
    if (Left >= Cell.Right || Bottom <= Cell.Top) return;
    PatBlt(Canvas(), Left, Cell.Top, Cell.Right - Left, Bottom - Cell.Top, DSTINVERT);
}

void TgxBaseGrid::MouseMoveButtonDown(int X, int Y, int DisplayCol, int DisplayRow) {
    if (MouseOverCombo(X, Y)) {
        // The open list takes over the drag.
        if (FDownButtonCol >= 0) {
            FHotButtonCol = FDownButtonCol;
            FHotButtonRow = FDownButtonRow;
            ResetButtonDown();
        }
        SetMouseCapture(false);
        MouseCaptureToCombo();
        return;
    }
    const bool OnCurrent = DisplayCol == Col() && DisplayRow == Row();
    if (OnCurrent && MouseOverButton(X, Y, DisplayCol, DisplayRow)) {
        const TgxSpinButton Part = SpinPartAt(X, Y, DisplayCol, DisplayRow);
        if (FDownButtonCol < 0 && FButtonPressPending &&
            (FPendingSpinPart == spbNone || Part == FPendingSpinPart)) {
            // Back over the button that was pressed: pressed again.
            FDownButtonCol = DisplayCol;
            FDownButtonRow = DisplayRow;
            FDownSpinPart = FPendingSpinPart;
            ResetButtonUp();
            InvalidateGridCell(DisplayCol, DisplayRow);
            if (FDownSpinPart != spbNone &&
                GiveCellSpinOptions(GetDataCol(DisplayCol), GetDataRow(DisplayRow))
                    .Contains(spoAutoRepeat))
                StartSpinTimer(true);
        } else if (FDownSpinPart != spbNone && Part != FDownSpinPart) {
            ResetButtonDown();
        }
        return;
    }
    if (FDownButtonCol >= 0) {
        // Off the button: raised, and the release raises no click.
        FHotButtonCol = FDownButtonCol;
        FHotButtonRow = FDownButtonRow;
        ResetButtonDown();
    }
}

void TgxBaseGrid::MouseMoveDrawButton(int X, int Y, int DisplayCol, int DisplayRow) {
    if (!ButtonsActive()) return;
    if (DisplayCol < 1 || DisplayRow < 1 || !MouseOverButton(X, Y, DisplayCol, DisplayRow)) {
        ResetButtonUp();
        return;
    }
    if (FFlatButtons) StartButtonTimer();
    const bool SameCell = FHotButtonCol == DisplayCol && FHotButtonRow == DisplayRow;
    if (!SameCell) ResetButtonUp();
    if (SameCell || FGridMode == gmListBox) return;
    const int DataCol = GetDataCol(DisplayCol);
    const int DataRow = GetDataRow(DisplayRow);
    if (CellIsReadOnly(DataCol, DataRow) && !FReadOnlyButton) return;
    TgxDropDownStyle Style = ddDropDown;
    const TgxButtonType Type = GiveCellButton(DataCol, DataRow, Style);
    const bool Current = DisplayCol == Col() && DisplayRow == Row();
    if ((!FFlatButtons || IsSpinButton(Type)) && (Current || FInactiveButtonState == ibsBackGround))
        return;
    FHotButtonCol = DisplayCol;
    FHotButtonRow = DisplayRow;
    FHotSpinPart = spbNone;
    InvalidateGridCell(DisplayCol, DisplayRow);
}

void TgxBaseGrid::MUButtonUp(int X, int Y) {
    ResetButtonDown();
    int C = -1;
    int R = -1;
    CellFromXY(X, Y, C, R);
    if (FHotButtonCol >= 0 && (FHotButtonCol != C || FHotButtonRow != R)) ResetButtonUp();
    if (C > 0 && R > 0 && MouseOverButton(X, Y, C, R) && FGridMode != gmListBox &&
        FGridMode != gmBrowse && !CellIsReadOnly(GetDataCol(C), GetDataRow(R))) {
        FHotButtonCol = C;
        FHotButtonRow = R;
        InvalidateGridCell(C, R);
    }
}

// ---- the cell's row as a Variant for the button events
// ----------------------------------------------

void TgxBaseGrid::ButtonClick(int DataCol, int DataRow) {
    DoButtonClick(DataCol, Variant(DataRow));
}

void TgxBaseGrid::ButtonDown(int DataCol, int DataRow) {
    DoButtonDown(DataCol, Variant(DataRow));
}

void TgxBaseGrid::ButtonUp(int DataCol, int DataRow) {
    DoButtonUp(DataCol, Variant(DataRow));
}

void TgxBaseGrid::SpinButtonClick(int DataCol, int DataRow, TgxSpinButton SpinButton) {
    DoSpinButtonClick(DataCol, Variant(DataRow), SpinButton);
}

void TgxBaseGrid::SpinButtonDown(int DataCol, int DataRow, TgxSpinButton SpinButton) {
    DoSpinButtonDown(DataCol, Variant(DataRow), SpinButton);
}

void TgxBaseGrid::SpinButtonUp(int DataCol, int DataRow, TgxSpinButton SpinButton) {
    DoSpinButtonUp(DataCol, Variant(DataRow), SpinButton);
}

void TgxBaseGrid::SpinRepeat(int DataCol, int DataRow, TgxSpinButton SpinButton, int Count) {
    DoSpinRepeat(DataCol, Variant(DataRow), Count, SpinButton);
    if (SpinButton != spbNone) CheckSpinIncrement(DataCol, DataRow, SpinButton == spbIncrement);
}

} // namespace grid
