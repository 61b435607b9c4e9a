// The grid's counts: data columns and rows, the insertion row, fixed
// columns and rows, the row bar and the heading, and what a count change
// does to the model.
#include "grid/foundation/CellStore.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/CellProps.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GridGuards.h"
#include "grid/model/Rows.h"

#include <algorithm>

namespace grid {

void TgxBaseGrid::SetInsertionRow(bool Shown) {
    FPrevInsertionRowShown = FInsertionRowShown;
    FInsertionRowShown = Shown;
}

void TgxBaseGrid::SetGridColCount(int Value) {
    if (FColDeleting > 0) return;
    Value = std::max(Value, 0);
    if (Value == FDataColCount) return;
    const int CurrentData = GetDataColnr(Col());
    const int CurrentDisplay = Col();
    const int CurrentRow = Row();
    if (Value < CurrentData && !CheckEndEdit(0, GetDataRownr(Row()), false)) return;
    const int Old = FDataColCount;
    CheckHideControl(false);
    if (Value < Old) {
        // Selected columns that go leave the selection through the grid's
        // own bookkeeping, so that the change and the status are reported.
        DeleteColSelection(Value + 1, ColCount() - 1);
        if (!FSettingDefaults) {
            const int Last = ColCount() - 1;
            for (int C = Old; C > Value; --C)
                DeleteAllAtCol(C, Last);
        }
    }
    {
        TgxPaintOff Lock(*this);
        SetNewColCount(Value);
        if (Value < Old) DeleteColData(Value + 1, Old);
        KeepCurrentRow(CurrentRow);
        CheckTopLeft(true);
        if (Value < Old && CurrentData >= 1 && CurrentData <= Value)
            FCurrent.X = GetDisplayCol(CurrentData);
        AdjustCurrentAfterCount();
        // A current column that went: the nearest allowed one from the
        // place it was shown at, as a user would see it.
        if (Value < CurrentData)
            MoveToNewCol(std::min(CurrentDisplay, ColCount()), false, CanSkipReadOnly(),
                         InRowSelectMode());
        AdjustOwnComboExtents();
    }
    CountChangeSettled();
}

void TgxBaseGrid::SetGridRowCount(int Value) {
    if (FRowDeleting > 0) return;
    Value = std::max(Value, 0);
    if (Value == FDataRowCount) return;
    const int CurrentData = GetDataRownr(Row());
    const int CurrentDisplay = Row();
    const int CurrentCol = Col();
    if (Value < CurrentData && !CheckEndEdit(GetDataColnr(Col()), 0, false)) return;
    const int Old = FDataRowCount;
    CheckHideControl(false);
    if (Value < Old) {
        DeleteRowSelection(Value + 1, RowCount() - 1);
        if (!FSettingDefaults) DeleteTrailingRows(Value);
    }
    if (FGridMode == gmEditInsert) SetInsertionRow(true);
    {
        TgxPaintOff Lock(*this);
        SetNewRowCount(Value);
        if (Value < Old) DeleteRowData(Value + 1, Old);
        KeepCurrentCol(CurrentCol);
        CheckTopLeft(true);
        if (Value < Old && CurrentData >= 1 && CurrentData <= Value)
            FCurrent.Y = GetDisplayRow(CurrentData);
        AdjustCurrentAfterCount();
        if (Value < CurrentData)
            MoveToNewRow(std::min(CurrentDisplay, RowCount()), false, CanSkipReadOnly(),
                         InRowSelectMode());
        AdjustOwnComboExtents();
    }
    CountChangeSettled();
}

// Emptied of rows, the base grid puts its current cell on its first
// column (it does so whenever its fixed count changes); a row count change
// leaves the current column where it was, and a column count change the
// current row.
void TgxBaseGrid::KeepCurrentCol(int DisplayCol) {
    if (DisplayCol >= 1 && DisplayCol < ColCount()) FCurrent.X = DisplayCol;
}

void TgxBaseGrid::KeepCurrentRow(int DisplayRow) {
    if (DisplayRow >= 1 && DisplayRow < RowCount()) FCurrent.Y = DisplayRow;
}

// After a count change the control comes back and the selections say
// what they now are: a range keeps what is left of it (deleted columns and
// rows took their share), a status whose range went is left, and the
// change is reported.
void TgxBaseGrid::CountChangeSettled() {
    if (FRange.Left >= 1) {
        // Columns and rows that went without their own deletion (while
        // defaults are filled in) leave the range here.
        const TRect Old = FRange;
        FRange.Right = std::min(FRange.Right, ColCount() - 1);
        FRange.Bottom = std::min(FRange.Bottom, RowCount() - 1 - InsertionRows());
        if (FRange != Old) SetSelectChanged(stCellSelect);
        ForgetEmptiedRange();
    }
    if (FGridStatus == grCellSelect && FRange.Left < 1) {
        SetSelectChanged(stCellSelect);
        FGridStatus = grNormal;
    }
    ShowGridControl();
    CheckRowSelection(true);
    SelectionsChanged(false);
    GridStatusChanged();
}

void TgxBaseGrid::AdjustOwnComboExtents() {
    // Every count change asks: the flag spares the others the cast.
    if (!FIsComboGrid) return;
    if (auto* List = dynamic_cast<TgxComboGrid*>(this))
        AdjustComboGridExtents(List->DropDownCols(), List->DropDownRows());
}

void TgxBaseGrid::AdjustCurrentAfterCount() {
    // A current cell whose column or row went moves to the nearest one left.
    if (FCurrent.X >= ColCount())
        MoveToNewCol(ColCount(), false, CanSkipReadOnly(), InRowSelectMode());
    if (FCurrent.X < 1 && ColCount() > 1) FCurrent.X = 1;
    if (FCurrent.Y >= RowCount())
        MoveToNewRow(RowCount(), false, CanSkipReadOnly(), InRowSelectMode());
    if (FCurrent.Y < 1 && RowCount() > 1) FCurrent.Y = 1;
    // A grid without columns (rows) keeps no current row (column) of its
    // own: the one it comes back to may be hidden, and moves on to the
    // nearest one shown.
    if (FCurrent.X >= 1 && FCurrent.X <= GetGridColCount() &&
        !FCols->Item(GetDataCol(FCurrent.X))->Visible())
        MoveToNewCol(FCurrent.X, false, CanSkipReadOnly(), InRowSelectMode());
    if (FCurrent.Y >= 1 && FCurrent.Y <= GetGridRowCount() && !IsRowVisible(GetDataRow(FCurrent.Y)))
        MoveToNewRow(FCurrent.Y, false, CanSkipReadOnly(), InRowSelectMode());
    FAnchor = FCurrent;
}

void TgxBaseGrid::SetNewColCount(int Value) {
    const int OldLast = ColCount() - 1;
    FDeletedCols = 0;
    FDataColCount = Value;
    ChangeCountsInStep([&] {
        SetColCount(Value + 1);
        ResizeVisibleCols(OldLast);
        CheckFixedCols();
    });
    UpdateScrollRange();
}

void TgxBaseGrid::SetNewRowCount(int Value) {
    const int OldLast = RowCount() - 1;
    FDeletedRows = 0;
    FDataRowCount = Value;
    ChangeCountsInStep([&] {
        SetRowCount(Value + InsertionRows() + 1);
        // The base count may stay when the insertion row comes or goes with it.
        RowCountSettled();
        ResizeVisibleRows(OldLast);
        CheckFixedRows();
    });
    UpdateScrollRange();
}

// The base grid may move its current cell and scroll to it while it
// changes its counts, before the column and row lists have followed: the
// top-left checks, which walk those lists, run once they have. A fixed
// count the change brings along puts the base grid's current cell on the
// first scrollable cell, on both axes; the count change says itself where
// the current cell goes, so it comes back first to where it was, as far as
// the new counts hold it.
void TgxBaseGrid::ChangeCountsInStep(const std::function<void()>& Change) {
    const TGridCoord Before = FCurrent;
    ++FCountChanging;
    try {
        Change();
    } catch (...) {
        --FCountChanging;
        throw;
    }
    const TGridCoord Moved = FCurrent;
    if (Before.X < ColCount()) FCurrent.X = Before.X;
    if (Before.Y < RowCount()) FCurrent.Y = Before.Y;
    if (FCurrent.X != Moved.X || FCurrent.Y != Moved.Y) FAnchor = FCurrent;
    if (--FCountChanging > 0 || !FTopLeftChangeDeferred) return;
    FTopLeftChangeDeferred = false;
    TopLeftChanged();
}

void TgxBaseGrid::ResizeVisibleCols(int OldLast) {
    const int NewLast = ColCount() - 1;
    if (NewLast > OldLast) {
        FVisibleCols.SetSize(FVisibleCols.Size() + (NewLast - OldLast), OldLast + 1);
        for (int D = std::max(OldLast + 1, 1); D <= NewLast; ++D) {
            const TgxCol* Col = FCols->Item(GetDataCol(D));
            SetColPixelWidth(D, Col->Visible() ? Col->Width() : 0);
        }
    } else if (NewLast < OldLast) {
        bool Found = false;
        const int Below = FVisibleCols.Locate(NewLast + 1, Found) - 1;
        FVisibleCols.SetSize(std::max(Below, 0), NewLast + 1);
    }
}

void TgxBaseGrid::ResizeVisibleRows(int OldLast) {
    const int NewLast = RowCount() - 1;
    if (NewLast > OldLast) {
        FVisibleRows.SetSize(FVisibleRows.Size() + (NewLast - OldLast), OldLast + 1);
        for (int D = std::max(OldLast + 1, 1); D <= NewLast; ++D) {
            const int Data = GetDataRow(D);
            if (Data < 0) continue;
            SetRowPixelHeight(D, RowObjectShown(Data) ? FRows->GetRowHeight(Data) : 0);
        }
    } else if (NewLast < OldLast) {
        bool Found = false;
        const int Below = FVisibleRows.Locate(NewLast + 1, Found) - 1;
        FVisibleRows.SetSize(std::max(Below, 0), NewLast + 1);
    }
}

void TgxBaseGrid::SizeChanged(int OldColCount, int OldRowCount) {
    TCustomGrid_ts::SizeChanged(OldColCount, OldRowCount);
    if (!FCols || !FRows) return;
    SetDataAllocSize(GetGridColCount(), GetGridRowCount());
    const bool ColsChanged = OldColCount != ColCount();
    const bool RowsChanged = OldRowCount != RowCount();
    if (!ColsChanged && !RowsChanged) return;
    ResetCellButtons();
    ResizeCellPropArrays(OldColCount, OldRowCount);
    ResizeDisplayArrays();
    if (ColsChanged) {
        FCols->Resize(OldColCount);
        FColSelection.SetSize(ColCount());
        DoColCountChanged(OldColCount - 1, ColCount() - 1);
    }
    if (RowsChanged) {
        FRows->Resize(OldRowCount);
        FChangedRows.SetSize(RowCount());
        FRowSelection.SetSize(RowCount());
        RowCountSettled();
    }
    UpdateScrollRange();
}

void TgxBaseGrid::RowCountSettled() {
    const int Count = GetGridRowCount();
    if (FReportedRowCount == Count) return;
    // Positions past the surviving data rows (new rows, the insertion row)
    // map to themselves; the insertion row has the default height.
    const int Kept = std::min(FReportedRowCount, Count);
    for (int D = Kept + 1; D < RowCount(); ++D) {
        FDisplayRows[static_cast<std::size_t>(D)] = D;
        FRows->SetDisplayRowNumber(D, D);
    }
    if (InsertionRows() > 0) SetRowPixelHeight(RowCount() - 1, DefaultRowHeight());
    const int OldCount = FReportedRowCount;
    FReportedRowCount = GetGridRowCount();
    CheckRowCountChanged(OldCount, FReportedRowCount);
}

void TgxBaseGrid::InsertRow(int P) {
    if (!CheckIndex(itRow, P, GetGridRowCount() + 1, 1)) return;
    TgxPaintOff Lock(*this);
    const int Old = GetGridRowCount();
    SetGridRowCount(Old + 1);
    if (GetGridRowCount() > Old) {
        SetDisplayRownr(GetGridRowCount(), P);
        UpdateScrollRange();
        RowInserted(GetGridRowCount(), false);
    }
}

void TgxBaseGrid::InsertCol(int P) {
    if (!CheckIndex(itCol, P, GetGridColCount() + 1, 1)) return;
    TgxPaintOff Lock(*this);
    if (AddColumn(P)) DoInsertCol(GetGridColCount(), false);
}

bool TgxBaseGrid::AddColumn(int P) {
    const int Old = GetGridColCount();
    if (P < 1 || P > Old + 1) return false;
    SetGridColCount(Old + 1);
    if (GetGridColCount() <= Old) return false;
    FCols->Item(GetGridColCount())->SetDisplayCol(P);
    UpdateScrollRange();
    return true;
}

// ---- fixed columns and rows --------------------------------------------------------------

void TgxBaseGrid::SetFixedColCount(int Value) {
    if (Value < 0) return;
    const int Old = FFixedColCount;
    FFixedColCount = Value;
    if (!SetInternalFixedCols(Value)) FFixedColCount = Old;
}

void TgxBaseGrid::SetFixedRowCount(int Value) {
    if (Value < 0) return;
    const int Old = FFixedRowCount;
    FFixedRowCount = Value;
    if (!SetInternalFixedRows(Value)) FFixedRowCount = Old;
}

// The base grid puts its current cell on the first scrollable cell when a
// fixed count changes: an edit under way ends first, as leaving the cell
// for that one would; false when it may not end.
bool TgxBaseGrid::EndEditBeforeFixedChange(int NewFixedCols, int NewFixedRows) {
    if (NewFixedCols == Col() && NewFixedRows == Row()) return true;
    return CheckEndEdit(GetDataColnr(NewFixedCols), GetDataRownr(NewFixedRows), false);
}

// The grid's own current cell follows the one the base grid moved to. A
// count change says itself where the current cell goes: there it stays.
void TgxBaseGrid::FollowCurrentAfterFixedChange(const TGridCoord& Before) {
    if (Col() == Before.X && Row() == Before.Y) return;
    if (FCountChanging > 0) return;
    if (Col() < 1 || Row() < 1) return;
    // That cell may be hidden: the nearest one shown then, and with none
    // shown no current column (row), as a count change leaves it.
    int C = Col();
    int R = Row();
    if (C <= GetGridColCount() && !FCols->Item(GetDataCol(C))->Visible() &&
        !GetNextCol(C - 1, false, false, C) && !GetPrevCol(C, false, false, C))
        C = 0;
    if (R <= GetGridRowCount() && !IsRowVisible(GetDataRow(R)) &&
        !GetNextRow(R - 1, false, false, R) && !GetPrevRow(R, false, false, R))
        R = 0;
    SetNewCurrentCell(GetDataColnr(C), GetDataRownr(R));
}

bool TgxBaseGrid::SetInternalFixedCols(int Value) {
    const int C = ColCount() <= 0 ? 0 : std::min(ColCount() - 1, Value + 1);
    if (std::max(0, C - 1) == FLastFixedCol && C == FixedCols()) return true;
    if (C != FixedCols() && FCountChanging == 0 && !EndEditBeforeFixedChange(C, FixedRows()))
        return false;
    const TGridCoord Before{Col(), Row()};
    const bool Hidden = CheckHideControl(false);
    try {
        SetFixedCols(C);
    } catch (...) {
        FLastFixedCol = std::max(0, FixedCols() - 1);
        throw;
    }
    FLastFixedCol = std::max(0, FixedCols() - 1);
    // The top-left cell as it is, clamped into the new range.
    MoveTopLeft(LeftCol(), TopRow());
    CalcHorzFixedWidth();
    FollowCurrentAfterFixedChange(Before);
    // An editor held back while the fixed columns covered its cell comes
    // back with the cell.
    if (Hidden || FEditorShown) ShowGridControl();
    UpdateScrollRange();
    CheckTopLeftChanged(false);
    return true;
}

bool TgxBaseGrid::SetInternalFixedRows(int Value) {
    const int R = RowCount() <= 0 ? 0 : std::min(RowCount() - 1, Value + 1);
    if (std::max(0, R - 1) == FLastFixedRow && R == FixedRows()) return true;
    if (R != FixedRows() && FCountChanging == 0 && !EndEditBeforeFixedChange(FixedCols(), R))
        return false;
    const TGridCoord Before{Col(), Row()};
    CheckHideControl(false);
    try {
        SetFixedRows(R);
    } catch (...) {
        FLastFixedRow = std::max(0, FixedRows() - 1);
        throw;
    }
    FLastFixedRow = std::max(0, FixedRows() - 1);
    MoveTopLeft(LeftCol(), TopRow());
    CalcVertFixedHeight();
    FollowCurrentAfterFixedChange(Before);
    ShowGridControl();
    UpdateScrollRange();
    CheckTopLeftChanged(false);
    return true;
}

void TgxBaseGrid::CheckFixedCols() {
    if (FixedCols() == 0 && ColCount() > 1) {
        SetFixedCols(1);
        if (GetRowBarOn()) SetColPixelWidth(0, GetRowBarWidth());
        CalcHorzFixedWidth();
    }
    if (FixedCols() != FFixedColCount + 1) SetInternalFixedCols(FFixedColCount);
}

void TgxBaseGrid::CheckFixedRows() {
    if (FixedRows() == 0 && RowCount() > 1) {
        SetFixedRows(1);
        if (GetHeadingOn()) SetRowPixelHeight(0, GetHeadingHeight());
        CalcVertFixedHeight();
    }
    if (FixedRows() != FFixedRowCount + 1) SetInternalFixedRows(FFixedRowCount);
}

void TgxBaseGrid::CalcHorzFixedWidth() {
    int Width = 0;
    for (int C = 0; C < FixedCols(); ++C)
        Width += ColWidths(C);
    FFixedWidth = Width;
}

void TgxBaseGrid::CalcVertFixedHeight() {
    int Height = 0;
    for (int R = 0; R < FixedRows(); ++R)
        Height += RowHeights(R);
    FFixedHeight = Height;
}

void TgxBaseGrid::CheckTopLeft(bool PaintingOff) {
    if (GetFastAssign()) {
        FPendingCheckTopLeft = true;
        return;
    }
    if (!HandleAllocated()) return;
    if (!PaintingOff) SetEnablePaint(false);
    try {
        // Already within the last top-left: MoveTopLeft would walk back
        // from the last row and column again for the same answer. A grid
        // not scrolled on an axis stays where it is whatever the last is,
        // so that walk is skipped too: each row added comes here.
        const int Left = LeftCol() <= FixedCols()
                             ? LeftCol()
                             : std::min(LeftCol(), std::max(GetMaxLeftCol(), FixedCols()));
        const int Top = TopRow() <= FixedRows()
                            ? TopRow()
                            : std::min(TopRow(), std::max(GetMaxTopRow(), FixedRows()));
        MoveTopLeftWithin(Left, Top);
    } catch (...) {
        if (!PaintingOff) SetEnablePaint(true);
        throw;
    }
    if (!PaintingOff) SetEnablePaint(true);
}

// ---- row bar and heading ------------------------------------------------------------------

bool TgxBaseGrid::GetRowBarOn() const {
    return FCols->Item(0)->Visible();
}

void TgxBaseGrid::SetRowBarOn(bool Value) {
    if (Value == GetRowBarOn()) return;
    FCols->Item(0)->SetVisible(Value);
    CalcHorzFixedWidth();
    AdjustOwnComboExtents();
}

int TgxBaseGrid::GetRowBarWidth() const {
    return FCols->Item(0)->Width();
}

void TgxBaseGrid::SetRowBarWidth(int Value) {
    if (Value == GetRowBarWidth()) return;
    FCols->Item(0)->SetWidth(Value);
    CalcHorzFixedWidth();
    AdjustOwnComboExtents();
}

bool TgxBaseGrid::GetHeadingOn() const {
    return FRows->Item(0)->Visible();
}

void TgxBaseGrid::SetHeadingOn(bool Value) {
    if (Value == GetHeadingOn()) return;
    FRows->Item(0)->SetVisible(Value);
    CalcVertFixedHeight();
    AdjustOwnComboExtents();
}

int TgxBaseGrid::GetHeadingHeight() const {
    return FRows->Item(0)->Height();
}

void TgxBaseGrid::SetHeadingHeight(int Value) {
    if (Value == GetHeadingHeight()) return;
    FRows->Item(0)->SetHeight(Value);
    CalcVertFixedHeight();
    AdjustOwnComboExtents();
}

// ---- in view --------------------------------------------------------------------------------

int TgxBaseGrid::GetMaxTopRow() const {
    if (!HandleAllocated()) return 0;
    int R = RowCount() - 1;
    if (R < 0) return 0;
    int H = RowHeights(R) + FFixedHeight;
    const int Room = ClientHeight();
    while (FixedRows() < R) {
        if (H + RowHeights(R - 1) > Room) break;
        --R;
        H += RowHeights(R);
    }
    // A hidden row is never the top row: the next one shown is.
    if (R > 0 && !IsRowVisible(GetDataRow(R))) {
        int Next = R;
        if (GetNextRow(R, false, false, Next)) R = Next;
    }
    const int Top = TopMostRow(false, false);
    const int Bottom = FGridMode == gmEditInsert && InsertionRows() > 0
                           ? RowCount() - 1
                           : BottomMostRow(false, false);
    if (Bottom < Top) return FixedRows();
    return std::max(std::max(std::min(R, Bottom), Top), FixedRows());
}

int TgxBaseGrid::GetMaxLeftCol() const {
    if (!HandleAllocated()) return 0;
    int C = ColCount() - 1;
    if (C < 0) return 0;
    int W = ColWidths(C) + FFixedWidth;
    const int Room = ClientWidth();
    while (FixedCols() < C) {
        if (W + ColWidths(C - 1) > Room) break;
        --C;
        W += ColWidths(C);
    }
    if (C > 0 && !FCols->Item(GetDataCol(C))->Visible()) {
        int Next = C;
        if (GetNextCol(C, false, false, Next)) C = Next;
    }
    const int Left = LeftMostCol(false, false);
    const int Right = RightMostCol(false, false);
    if (Right < Left) return FixedCols();
    return std::max(std::max(std::min(C, Right), Left), FixedCols());
}

bool TgxBaseGrid::ColInView(int DisplayCol) const {
    if (DisplayCol <= 0) return false;
    if (DisplayCol >= FixedCols() && DisplayCol < LeftCol()) return false;
    return DisplayCol <= MaxVisibleCol();
}

bool TgxBaseGrid::RowInView(int DisplayRow) const {
    if (DisplayRow <= 0) return false;
    if (DisplayRow >= FixedRows() && DisplayRow < TopRow()) return false;
    return DisplayRow <= MaxVisibleRow();
}

bool TgxBaseGrid::CellVisible(int DisplayCol, int DisplayRow) const {
    return HandleAllocated() && CellRect(DisplayCol, DisplayRow).Right > 0;
}

} // namespace grid
