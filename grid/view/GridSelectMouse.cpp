// What a press of the mouse does to the selection and the current cell: in
// the row bar, on a heading, in the corner, at a cell's range strip or on a
// plain cell, with Shift and Ctrl; and the start of moving rows and columns.
#include "grid/model/BaseGrid.h"
#include "grid/view/SelectionMarks.h"
#include "platform/gui/Blit.h"

#include <algorithm>

namespace grid {

namespace {

bool PlainLeft(TShiftState Shift) {
    return Shift.Contains(ssLeft) && !Shift.Contains(ssShift) && !Shift.Contains(ssCtrl);
}

} // namespace

bool TgxBaseGrid::CanSelect(int DisplayCol, int DisplayRow) const {
    if (FSelectFixed) return true;
    if (DisplayCol != -1 && DisplayCol >= 1 && DisplayCol < FixedCols()) return false;
    if (DisplayRow != -1 && DisplayRow >= 1 && DisplayRow < FixedRows()) return false;
    return true;
}

// ---- rows -----------------------------------------------------------------------------------

void TgxBaseGrid::MDRowSelect(TShiftState Shift, int X, int DisplayRow, int DisplayCol, int Y) {
    (void)X;
    (void)DisplayCol;
    if (!CanSelect(-1, DisplayRow) || !CanMoveToPos(Col(), DisplayRow)) return;
    if (FRowSelectMode == rsSingle || FRowSelectMode == rsMulti) {
        if (!(DisplayRow == Row() && FRowSelection.GetSelected(DisplayRow))) {
            if (!CheckEndEdit(GetDataCol(Col()), GetDataRow(DisplayRow), true)) return;
            // Ending the edit may have moved rows.
            int Again = -1;
            if (RowFromY(Y, Again) && Again >= 1) DisplayRow = Again;
        }
        MouseSelectRows(Shift, DisplayRow);
        if (!Shift.Contains(ssShift)) SetLastAddedRow(DisplayRow);
    } else if (DisplayRow != Row()) {
        if (!CheckEndEdit(GetDataCol(Col()), GetDataRow(DisplayRow), true)) return;
        HideGridControl(true);
        SetCurrentPositionAndDraw(Col(), DisplayRow, true, true);
        if (FRowMoving && !IsAppendRow(DisplayRow)) {
            StartRowMoving(DisplayRow);
        } else {
            ShowGridControl();
            DrawCurrentFocusRect(false);
        }
    } else if (FRowMoving && !IsAppendRow(DisplayRow)) {
        StartRowMoving(DisplayRow);
    }
    CheckRowColChanged();
    SelectionsChanged(true);
    ShowColouredChange(*this);
}

void TgxBaseGrid::MouseSelectRows(TShiftState Shift, int DisplayRow) {
    if (PlainLeft(Shift) && FRowSelection.GetSelected(DisplayRow) && FRowMoving &&
        !IsAppendRow(DisplayRow) && !FixedRowsSelected()) {
        StartRowMoving(DisplayRow);
        return;
    }
    if (FRowSelectMode != rsSingle && FRowSelectMode != rsMulti) return;
    HideGridControl(true);
    if (!IsAppendRow(DisplayRow)) SetMouseStatus(msRowSelect);
    DeleteSelections({grColSelect}, false);
    ClearCurrentFocusRect(false);
    SelectionsChanged(true);
    const bool Shifted = Shift.Contains(ssShift);
    const bool Ctrl = Shift.Contains(ssCtrl);
    if (FRowSelection.Count() == 0 || FRowSelectMode == rsSingle) {
        if (Ctrl && FRowSelectMode == rsMulti && !InRowSelectMode())
            SelectRowCtrlMouseDown(DisplayRow);
        else if (Shift.Contains(ssLeft))
            SelectRowMouseDown(DisplayRow);
    } else if (Shifted && Ctrl) {
        SelectRowShiftCtrlMouseDown(DisplayRow);
    } else if (Shifted) {
        SelectRowShiftMouseDown(DisplayRow);
    } else if (Ctrl) {
        SelectRowCtrlMouseDown(DisplayRow);
    } else if (Shift.Contains(ssLeft)) {
        SelectRowMouseDown(DisplayRow);
    }
    // A drag from here runs from the current row to the row under the mouse.
    FRowSelectEnd = Row();
    FDragStartSelection.Assign(FRowSelection);
    DrawCurrentFocusRect(false);
}

void TgxBaseGrid::SelectRowMouseDown(int DisplayRow) {
    SetSelectionStartRow(DisplayRow);
    if (IsAppendRow(DisplayRow)) {
        int C = Col();
        int R = DisplayRow;
        SelectNone(C, R);
        return;
    }
    const bool Selected = FRowSelection.GetSelected(DisplayRow);
    if (Selected && DisplayRow == Row())
        UnselectRowsBut(*this, DisplayRow);
    else if (Selected)
        SelectSingleRow(DisplayRow, false);
    else
        SetNewSelectedRow(DisplayRow);
}

void TgxBaseGrid::SelectRowCtrlMouseDown(int DisplayRow) {
    if (IsAppendRow(DisplayRow)) return;
    SetSelectionStartRow(DisplayRow);
    const bool Selected = FRowSelection.GetSelected(DisplayRow);
    if (InRowSelectMode() && DisplayRow == Row() && Selected) return;
    if (FRowSelectMode == rsSingle && DisplayRow != Row()) {
        SelectRowMouseDown(DisplayRow);
        return;
    }
    MarkRow(*this, DisplayRow, !Selected);
    if (DisplayRow != Row()) SetCurrentPositionAndDraw(Col(), DisplayRow, true, true);
}

void TgxBaseGrid::SelectRowShiftMouseDown(int DisplayRow) {
    if (IsAppendRow(DisplayRow)) return;
    const int Anchor = SelectionStartRownr();
    if (Anchor >= 1 && FRowSelection.GetSelected(Anchor)) {
        const int Lo = std::min(Anchor, DisplayRow);
        const int Hi = std::max(Anchor, DisplayRow);
        for (int R = FRowSelection.First(); R != -1;) {
            const int Next = FRowSelection.Next(R);
            if (R < Lo || R > Hi) {
                InvertRow(R, false);
                DeleteRowSelection(R, R);
            }
            R = Next;
        }
        InvertRowSelection(Lo, Hi, true);
    } else {
        DeleteSelections({grRowSelect}, false);
    }
    if (DisplayRow != Row()) SetCurrentPositionAndDraw(Col(), DisplayRow, true, true);
    if (FRowSelection.Count() > 0) FGridStatus = grRowSelect;
}

void TgxBaseGrid::SelectRowShiftCtrlMouseDown(int DisplayRow) {
    if (IsAppendRow(DisplayRow)) return;
    const int Anchor = std::max(SelectionStartRownr(), 1);
    const int Lo = std::min(Anchor, DisplayRow);
    const int Hi = std::max(Anchor, DisplayRow);
    InvertRowSelection(Lo, Hi, FRowSelection.GetSelected(Anchor));
    if (DisplayRow != Row()) SetCurrentPositionAndDraw(Col(), DisplayRow, true, true);
    SetSelectionStartRow(DisplayRow);
}

void TgxBaseGrid::SelectSingleRow(int DisplayRow, bool NoDrawing) {
    if (RowCount() < 2) return;
    if (DisplayRow < 1 || DisplayRow >= RowCount()) DisplayRow = 1;
    if (NoDrawing) {
        for (int R = FRowSelection.First(); R != -1; R = FRowSelection.Next(R))
            CheckInvalidateRow(R);
        DeleteAllRowSelection();
        AddRowSelection(DisplayRow, DisplayRow);
        CheckInvalidateRow(DisplayRow);
    } else {
        UnselectRowsBut(*this, DisplayRow);
        MarkRow(*this, DisplayRow, true);
    }
    if (DisplayRow != Row()) SetCurrentPositionAndDraw(Col(), DisplayRow, true, true);
}

void TgxBaseGrid::SetNewSelectedRow(int DisplayRow) {
    DeleteSelections({grCellSelect}, false);
    UnselectRowsBut(*this, DisplayRow);
    AddRowSelection(DisplayRow, DisplayRow);
    if (FRowSelection.GetSelected(DisplayRow)) InvertRow(DisplayRow, true);
    if (DisplayRow != Row()) SetCurrentPositionAndDraw(Col(), DisplayRow, true, true);
}

void TgxBaseGrid::CheckRowSelection(bool NoDrawing) {
    if (!InRowSelectMode()) return;
    if (FRowSelection.Count() == 0 || !FRowSelection.GetSelected(Row())) {
        SelectSingleRow(Row(), NoDrawing);
        if (!NoDrawing) ShowColouredChange(*this);
    }
}

// ---- columns --------------------------------------------------------------------------------

void TgxBaseGrid::MDColSelect(TShiftState Shift, int X, int DisplayRow, int DisplayCol, int Y) {
    (void)DisplayRow;
    if (!CanSelect(DisplayCol, -1)) return;
    FMouseDownCol = DisplayCol;
    if (FColSelectMode == csMulti || FColMoving) {
        if (!CheckEndEdit(GetDataCol(DisplayCol), GetDataRow(Row()), true)) return;
        MouseSelectCols(Shift, DisplayCol);
        ShowColouredChange(*this);
    } else {
        MDSelectNone(Shift, X, Row(), DisplayCol, Y);
    }
}

void TgxBaseGrid::MouseSelectCols(TShiftState Shift, int DisplayCol) {
    // A plain click on a selected column picks it up to move it; without
    // column moving it is a click like any other.
    if (((PlainLeft(Shift) && FColSelection.GetSelected(DisplayCol)) ||
         FColSelectMode == csNone) &&
        FColMoving && !FixedColsSelected()) {
        StartColMoving(DisplayCol);
        return;
    }
    if (FColSelectMode != csMulti) return;
    HideGridControl(true);
    SetMouseStatus(msColSelect);
    DeleteSelections({grRowSelect}, false);
    ClearCurrentFocusRect(false);
    SelectionsChanged(true);
    const bool Shifted = Shift.Contains(ssShift) && FColSelectMode == csMulti;
    const bool Ctrl = Shift.Contains(ssCtrl) && FColSelectMode == csMulti;
    if (FColSelection.Count() == 0)
        SelectColMouseDown(DisplayCol);
    else if (Shifted && Ctrl)
        SelectColShiftCtrlMouseDown(DisplayCol);
    else if (Shifted)
        SelectColShiftMouseDown(DisplayCol);
    else if (Ctrl)
        SelectColCtrlMouseDown(DisplayCol);
    else
        SelectColMouseDown(DisplayCol);
    FColSelectEnd = Col();
    FDragStartSelection.Assign(FColSelection);
    DrawCurrentFocusRect(false);
}

namespace {

// The selected columns outside Lo .. Hi go plain.
void UnselectColsOutside(TgxBaseGrid& G, int Lo, int Hi) {
    TgxSelection& Sel = G.ColSelection();
    for (int C = Sel.First(); C != -1;) {
        const int Next = Sel.Next(C);
        if (C < Lo || C > Hi) MarkCol(G, C, false);
        C = Next;
    }
}

} // namespace

void TgxBaseGrid::SelectColMouseDown(int DisplayCol) {
    if (FColSelection.GetSelected(DisplayCol)) {
        UnselectColsOutside(*this, DisplayCol, DisplayCol);
    } else if (FGridStatus == grCellSelect) {
        DeleteSelections({grCellSelect}, false);
        MarkCol(*this, DisplayCol, true);
    } else {
        UnselectColsOutside(*this, DisplayCol, DisplayCol);
        MarkCol(*this, DisplayCol, true);
    }
    if (DisplayCol != Col()) SetCurrentPositionAndDraw(DisplayCol, Row(), true, true);
}

void TgxBaseGrid::SelectColCtrlMouseDown(int DisplayCol) {
    MarkCol(*this, DisplayCol, !FColSelection.GetSelected(DisplayCol));
    if (DisplayCol != Col()) SetCurrentPositionAndDraw(DisplayCol, Row(), true, true);
}

void TgxBaseGrid::SelectColShiftMouseDown(int DisplayCol) {
    if (FColSelection.GetSelected(Col())) {
        const int Lo = std::min(Col(), DisplayCol);
        const int Hi = std::max(Col(), DisplayCol);
        UnselectColsOutside(*this, Lo, Hi);
        for (int C = Lo; C <= Hi; ++C)
            MarkCol(*this, C, true);
    } else {
        DeleteSelections({grColSelect}, false);
        if (DisplayCol != Col()) SetCurrentPositionAndDraw(DisplayCol, Row(), true, true);
    }
}

void TgxBaseGrid::SelectColShiftCtrlMouseDown(int DisplayCol) {
    const int Lo = std::min(Col(), DisplayCol);
    const int Hi = std::max(Col(), DisplayCol);
    if (FColSelection.GetSelected(Col())) {
        if (ColRangeSelected(Lo, Hi)) {
            if (DisplayCol != Col()) SetCurrentPositionAndDraw(DisplayCol, Row(), true, true);
            return;
        }
        for (int C = Lo; C <= Hi; ++C)
            MarkCol(*this, C, true);
    } else {
        for (int C = Lo; C <= Hi; ++C)
            MarkCol(*this, C, false);
    }
}

// ---- ranges, plain clicks and the corner ------------------------------------------------------

void TgxBaseGrid::MDRangeSelecting(TShiftState Shift, int X, int DisplayRow, int DisplayCol,
                                   int Y) {
    if (!CanSelect(DisplayCol, DisplayRow)) return;
    if (!CheckEndEdit(GetDataCol(DisplayCol), GetDataRow(DisplayRow), true)) return;
    if (IsAppendRow(DisplayRow)) {
        MDSelectNone(Shift, X, DisplayRow, DisplayCol, Y);
        return;
    }
    SetMouseStatus(msCellSelect);
    const TRect Cell{DisplayCol, DisplayRow, DisplayCol, DisplayRow};
    const bool HasRange = FGridStatus == grCellSelect && FRange.Left >= 1;
    if (Shift.Contains(ssShift) && HasRange) {
        ChangeCellSelection(DisplayCol, DisplayRow);
    } else if (!(HasRange && FRange.Left == Cell.Left && FRange.Top == Cell.Top &&
                 FRange.Right == Cell.Right && FRange.Bottom == Cell.Bottom &&
                 FRangeAnchor == TGridCoord{DisplayCol, DisplayRow})) {
        StartCellSelection(DisplayCol, DisplayRow);
    }
    SelectionsChanged(true);
    ShowColouredChange(*this);
}

void TgxBaseGrid::MDSelectNone(TShiftState Shift, int X, int DisplayRow, int DisplayCol, int Y) {
    if (!CanMoveToPos(DisplayCol, DisplayRow)) return;
    struct TClose {
        TgxBaseGrid& Grid;
        ~TClose() {
            Grid.CheckRowColChanged();
            Grid.SelectionsChanged(true);
        }
    } Close{*this};
    if (FGridMode == gmListBox) {
        if ((FRowSelectMode == rsSingle || FRowSelectMode == rsMulti) && Shift.Contains(ssLeft)) {
            MDRowSelect(Shift, X, DisplayRow, DisplayCol, Y);
        } else {
            int C = DisplayCol;
            int R = DisplayRow;
            SelectNone(C, R);
            CheckRowSelection();
        }
        ShowColouredChange(*this);
        return;
    }
    // A read-only frozen cell that may not be selected takes no click.
    if (!CanSelect(DisplayCol, DisplayRow) &&
        CellIsReadOnly(GetDataCol(DisplayCol), GetDataRow(DisplayRow)))
        return;
    if (!CheckEndEdit(GetDataCol(DisplayCol), GetDataRow(DisplayRow), true)) return;
    int R = -1;
    if (!RowFromY(Y, R) || R < 1) R = Row();
    const bool OnCurrent = DisplayCol == Col() && R == Row();
    const bool Moves = !OnCurrent || FGridStatus != grNormal;
    const bool Left = Shift.Contains(ssLeft);
    if (Moves) HideGridControl(true);
    // A left click on the current cell asks for its editor, except on a
    // list-style drop-down, which opens from its button.
    TgxDropDownStyle Style = ddDropDown;
    const TgxButtonType Button = GiveCellButton(GetDataCol(DisplayCol), GetDataRow(R), Style);
    const bool ListStyle =
        Style == ddDropDownList &&
        (Button == btCombo || Button == btDateTimeDropDown || Button == btDateTimePopup);
    const bool WantEditor = Left && OnCurrent && !EditorShown() && !ListStyle;
    // Skipping read-only cells, a click on a read-only cell of a read-only
    // column only changes the row.
    int C = CanSkipReadOnly() ? Col() : DisplayCol;
    SelectNone(C, R, CanSkipReadOnly() ? DisplayCol : -1);
    // The editor's text: the caret where the current cell was clicked, else
    // all of it selected.
    FControlSelectMode = Left && OnCurrent && C == DisplayCol && !ListStyle ? gxNone : gxAll;
    if (WantEditor) {
        // A check box changes with the click that opens it.
        if (CurCellControlType() == ctCheck) StartCellChange(GetDataCol(C), true);
        InternalShowEditor(gxNone, false);
    }
    ShowGridControl();
    DrawCurrentFocusRect(false);
    // A left press on the cell that was already current goes on to its
    // editor: an edit box puts the caret where it landed, a check box
    // toggles on the release. A heading press that picks the current
    // column stays the grid's.
    const TRect Cell = CellRect(Col(), Row());
    const bool InCell = X >= Cell.Left && X < Cell.Right && Y >= Cell.Top && Y < Cell.Bottom;
    if (FControlSelectMode == gxNone && InCell && ControlDisplayed()) {
        FMouseToControl = true;
        FMouseToControlDouble = Shift.Contains(ssDouble);
        FMouseToControlPos = Point(X, Y);
        FForwardToControl = true;
    }
    ShowColouredChange(*this);
}

bool TgxBaseGrid::DblClickSelectNone(TShiftState Shift, int X, int DisplayRow, int DisplayCol,
                                     int Y) {
    if (DisplayCol != Col() || DisplayRow != Row()) return false;
    MDSelectNone(Shift, X, DisplayRow, DisplayCol, Y);
    return true;
}

void TgxBaseGrid::MDSelectAll(bool ByMouse) {
    if (FRowSelectMode != rsMulti) return;
    if (!CheckEndEdit(-1, -1, ByMouse)) return;
    HideGridControl(true);
    const int Last = GetGridRowCount();
    if (!ByMouse) {
        DoRowSelection(1, Last, true, true);
        return;
    }
    SetMouseStatus(msAllRowSelect);
    struct TBack {
        TgxBaseGrid& Grid;
        ~TBack() { Grid.SetMouseStatus(msNormal); }
    } Back{*this};
    const bool All = FRowSelection.Count() > 0 && RowRangeSelected(1, Last);
    DoRowSelection(1, Last, true, !All);
}

void TgxBaseGrid::SelectNone(int& DisplayCol, int& DisplayRow, int NewCol) {
    ClearCurrentFocusRect(false);
    if (DisplayCol != Col() || DisplayRow != Row())
        SetCurrentPositionAndDraw(DisplayCol, DisplayRow, true, true);
    DeleteSelections({}, false);
    if (NewCol != -1 && NewCol != Col()) {
        const int DataCol = GetDataCol(NewCol);
        if (!(CellIsReadOnly(DataCol, GetDataRow(Row())) && !CanEditCol(DataCol)))
            SetCurrentPositionAndDraw(NewCol, Row(), true, true);
    }
    DisplayCol = Col();
    DisplayRow = Row();
    CheckRowColChanged();
}

// ---- moving ---------------------------------------------------------------------------------

void TgxBaseGrid::StartRowMoving(int DisplayRow) {
    Update();
    SetMouseStatus(msRowMove);
    FMoveStart = DisplayRow;
    FMovePos = DisplayRow;
    FPastLastRow = false;
    FRowMoveMarkDrawn = false;
    DrawRowMove();
}

void TgxBaseGrid::StartColMoving(int DisplayCol) {
    Update();
    SetMouseStatus(msColMove);
    FMoveStart = DisplayCol;
    FMovePos = DisplayCol;
    FPastLastCol = false;
    FColMoveMarkDrawn = false;
    DrawColMove();
}

// The drop mark: a 2-pixel line inverted at the edge of the target where
// the moved rows (columns) would land; drawing it twice takes it away.
void TgxBaseGrid::DrawRowMove() {
    if (!HandleAllocated() || !PaintEnabled()) return;
    if (FMovePos < TopRow() || FMovePos > MaxVisibleRow() || FRowSelection.GetSelected(FMovePos))
        return;
    const int Top = CalcRowOffset(FMovePos);
    if (Top < 0 || Top >= ClientHeight()) return;
    const bool Down = FMovePos > FMoveStart || FPastLastRow;
    const int Y = Down ? Top + RowHeights(FMovePos) - 2 : Top;
    PatBlt(Canvas(), 0, Y, ClientWidth(), 2, DSTINVERT);
    FRowMoveMarkDrawn = !FRowMoveMarkDrawn;
}

void TgxBaseGrid::DrawColMove() {
    if (!HandleAllocated() || !PaintEnabled()) return;
    if (FMovePos < LeftCol() || FMovePos > MaxVisibleCol() || FColSelection.GetSelected(FMovePos))
        return;
    const int Left = CalcColOffset(FMovePos);
    if (Left < 0 || Left >= ClientWidth()) return;
    const bool Right = FMovePos > FMoveStart || FPastLastCol;
    const int X = Right ? Left + ColWidths(FMovePos) - 2 : Left;
    PatBlt(Canvas(), X, 0, 2, ClientHeight(), DSTINVERT);
    FColMoveMarkDrawn = !FColMoveMarkDrawn;
}

} // namespace grid
