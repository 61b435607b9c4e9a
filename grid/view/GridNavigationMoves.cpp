// The current cell's moves: recording a new position, the reading-order
// searches, and moving to a column or row that may have gone out of use.
#include "grid/model/BaseGrid.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/InplaceControl.h"
#include "grid/view/GridResources.h"

#include <algorithm>

namespace grid {

void TgxBaseGrid::PositionCell(int DisplayCol, int DisplayRow) {
    FPrevDisplayCol = Col();
    FPrevDisplayRow = Row();
    const int DataCol = GetDataCol(DisplayCol);
    if (DisplayCol != Col() || DataCol != FPositionedDataCol) {
        FCurrent.X = DisplayCol;
        FPositionedDataCol = DataCol;
    }
    const int DataRow = GetDataRow(DisplayRow);
    if (DisplayRow != Row() || DataRow != FPositionedDataRow) {
        FCurrent.Y = DisplayRow;
        FPositionedDataRow = DataRow;
    }
    FAnchor = FCurrent;
}

void TgxBaseGrid::SetCurrentPosition(int DisplayCol, int DisplayRow, bool Repaint, bool Flag) {
    (void)Flag;
    const int OldDataCol = FPositionedDataCol;
    const int OldDataRow = FPositionedDataRow;
    const TGridCoord Old = FCurrent;
    PositionCell(DisplayCol, DisplayRow);
    if (FPositionedDataCol != OldDataCol || FPositionedDataRow != OldDataRow)
        FCurrentCell->ClearBuffer();
    // The looks of both cells, and the row bar's mark, depend on which one
    // is current.
    if (Old.X != Col() || Old.Y != Row()) {
        CheckInvalidateCell(Old.X, Old.Y);
        CheckInvalidateCell(Col(), Row());
    }
    if (Old.Y != Row()) {
        CheckInvalidateCell(0, Old.Y);
        CheckInvalidateCell(0, Row());
    }
    CheckInsertionRow(Repaint);
}

void TgxBaseGrid::SetCurrentPositionAndDraw(int DisplayCol, int DisplayRow, bool Repaint,
                                            bool Flag) {
    struct TMarkRepaint {
        TgxBaseGrid& Grid;
        ~TMarkRepaint() { Grid.CheckInvalidateCell(0, Grid.Row()); }
    } Mark{*this};
    CheckInvalidateCell(0, Row());
    SetCurrentPosition(DisplayCol, DisplayRow, Repaint, Flag);
}

// ---- reading-order searches ----------------------------------------------------------------

namespace {

// Walks from (Col, Row) through the cells in reading order, forward or
// back, to the next one that shows (and, when asked, is editable).
bool WalkCells(TgxBaseGrid& Grid, int Col, int Row, bool EditableOnly, bool Forward, int& NewCol,
               int& NewRow) {
    for (;;) {
        int Found = 0;
        if (Forward ? Grid.GetNextCol(Col, false, false, Found)
                    : Grid.GetPrevCol(Col, false, false, Found)) {
            if (!EditableOnly || Grid.CanEditCell(Grid.GetDataCol(Found), Grid.GetDataRow(Row))) {
                NewCol = Found;
                NewRow = Row;
                return true;
            }
            Col = Found;
            continue;
        }
        if (!(Forward ? Grid.GetNextRow(Row, false, false, Row)
                      : Grid.GetPrevRow(Row, false, false, Row)))
            return false;
        Col = Forward ? 0 : Grid.GetGridColCount() + 1;
    }
}

// Repeats the reading-order walk until it comes back to the same column.
bool WalkColumn(TgxBaseGrid& Grid, int Col, int Row, bool EditableOnly, bool Forward, int& NewCol,
                int& NewRow) {
    int C = Forward ? Grid.GetGridColCount() : 1;
    int R = Row;
    do {
        if (!(Forward ? Grid.GetNextCell(C, R, EditableOnly, C, R)
                      : Grid.GetPrevCell(C, R, EditableOnly, C, R)))
            return false;
    } while (C != Col);
    NewCol = C;
    NewRow = R;
    return true;
}

} // namespace

bool TgxBaseGrid::GetNextCell(int DisplayCol, int DisplayRow, bool EditableOnly, int& NewCol,
                              int& NewRow) {
    if (DisplayRow < 0 || DisplayRow > RowCount() - 1) return false;
    int C = DisplayCol;
    int R = DisplayRow;
    if (R == 0) {
        if (!GetNextRow(0, false, false, R)) return false;
        C = 0;
    }
    return WalkCells(*this, C, R, EditableOnly, true, NewCol, NewRow);
}

bool TgxBaseGrid::GetPrevCell(int DisplayCol, int DisplayRow, bool EditableOnly, int& NewCol,
                              int& NewRow) {
    if (DisplayCol > GetGridColCount() + 1 || DisplayRow < 0) return false;
    const int R = std::min(DisplayRow, RowCount() - 1);
    if (R == 0) return false;
    return WalkCells(*this, DisplayCol, R, EditableOnly, false, NewCol, NewRow);
}

bool TgxBaseGrid::GetNextDownCell(int DisplayCol, int DisplayRow, bool EditableOnly,
                                  int& NewCol, int& NewRow) {
    return WalkColumn(*this, DisplayCol, DisplayRow, EditableOnly, true, NewCol, NewRow);
}

bool TgxBaseGrid::GetNextUpCell(int DisplayCol, int DisplayRow, bool EditableOnly, int& NewCol,
                                int& NewRow) {
    return WalkColumn(*this, DisplayCol, DisplayRow, EditableOnly, false, NewCol, NewRow);
}

int TgxBaseGrid::LeftMostScrollCol() const {
    int Col = 0;
    return GetNextCol(FLastFixedCol, false, false, Col) ? Col : 0;
}

int TgxBaseGrid::TopMostScrollRow() const {
    int Row = 0;
    return GetNextRow(FLastFixedRow, false, false, Row) ? Row : FixedRows();
}

// ---- moves ------------------------------------------------------------------------------

namespace {

// After a move (or none): no buffered value, the in-place control and the
// focus frame back, and the change reported.
void ShowCurrentCellAgain(TgxBaseGrid& Grid) {
    Grid.CurrentCell()->ClearBuffer();
    Grid.ShowGridControl();
    Grid.DrawCurrentFocusRect(false);
    Grid.CheckRowColChanged();
}

} // namespace

void TgxBaseGrid::MoveToNewCol(int DisplayCol, bool ClearFocus, bool SkipReadOnlyCols,
                               bool RowSelect) {
    int Target = 0;
    if (!GetNextCol(DisplayCol - 1, SkipReadOnlyCols, RowSelect, Target) &&
        !GetPrevCol(DisplayCol, SkipReadOnlyCols, RowSelect, Target))
        Target = LeftMostCol(false, false);
    if (Target > GetGridColCount()) Target = 0;
    if (Target == Col() && GetDataCol(Target) == FPositionedDataCol) {
        ShowCurrentCellAgain(*this);
        return;
    }
    HideGridControl(true);
    if (ClearFocus) ClearCurrentFocusRect(false);
    SetCurrentPosition(Target, Row(), true, true);
    ShowCurrentCellAgain(*this);
}

void TgxBaseGrid::MoveToNewRow(int DisplayRow, bool ClearFocus, bool SkipReadOnlyRows,
                               bool RowSelect) {
    int Target = 0;
    bool Found = GetNextRow(DisplayRow - 1, SkipReadOnlyRows, RowSelect, Target);
    // A row that went out of use never hands the focus to the insertion row.
    if (Found && IsInsertRow(Target))
        Found = GetPrevRow(GetGridRowCount() + 1, SkipReadOnlyRows, RowSelect, Target);
    if (!Found && !GetPrevRow(DisplayRow, SkipReadOnlyRows, RowSelect, Target)) Target = 0;
    Target = std::min(Target, GetGridRowCount());
    if (Target == Row() && GetDataRow(Target) == FPositionedDataRow) {
        ShowCurrentCellAgain(*this);
        return;
    }
    HideGridControl(true);
    if (ClearFocus) ClearCurrentFocusRect(false);
    CheckInvalidateCell(0, Row());
    SetCurrentPosition(Col(), Target, true, true);
    CheckInvalidateCell(0, Row());
    ShowCurrentCellAgain(*this);
}

void TgxBaseGrid::CheckRowColPos() {
    MoveToNewCol(Col(), false, CanSkipReadOnly(), InRowSelectMode());
    MoveToNewRow(Row(), false, CanSkipReadOnly(), InRowSelectMode());
}

void TgxBaseGrid::SetNewCurrentCell(int DataCol, int DataRow) {
    const int DisplayCol = GetDisplayCol(DataCol);
    const int DisplayRow = GetDisplayRow(DataRow);
    if (DisplayCol == Col() && DisplayRow == Row()) {
        // Columns or rows were rearranged under the current position. A
        // grid not positioned yet has its first cell as it was made.
        const int KnownCol = FPositionedDataCol >= 0 ? FPositionedDataCol : DataCol;
        const int KnownRow = FPositionedDataRow >= 0 ? FPositionedDataRow : DataRow;
        if (GetDataCol(DisplayCol) != KnownCol || GetDataRow(DisplayRow) != KnownRow) {
            PositionCell(DisplayCol, DisplayRow);
            CheckRowColChanged();
        }
        return;
    }
    const int OldRow = Row();
    ClearCurrentFocusRect(false);
    SetCurrentPosition(DisplayCol, DisplayRow, true, true);
    DrawCurrentFocusRect(false);
    CheckRowColChanged();
    if (Row() != OldRow) {
        CheckInvalidateCell(0, OldRow);
        CheckInvalidateCell(0, Row());
    }
}

void TgxBaseGrid::SetTopLeft(int ALeft, int ATop) {
    MoveTopLeft(ALeft, ATop);
}

bool TgxBaseGrid::IsFocused() const {
    if (Focused()) return true;
    for (const TgxCustomGridControl* Wrapper :
         {FEditControl.get(), FCheckControl.get(), FDefaultControls[0].get(),
          FDefaultControls[1].get()})
        if (Wrapper && Wrapper->Control() && Wrapper->Control()->Focused()) return true;
    return false;
}

void TgxBaseGrid::DrawInsert() {
    if (!HandleAllocated() || !GetRowBarOn() || RowCount() < 2) return;
    const int DisplayRow = RowCount() - 1;
    const TRect Cell = CellRect(0, DisplayRow);
    if (Cell.Right <= Cell.Left || Cell.Bottom <= Cell.Top) return;
    TBitmap* Mark = GridBitmap(TgxGridBitmap::InsertRow);
    const int W = std::min(Mark->Width(), Cell.Right - Cell.Left);
    const int H = std::min(Mark->Height(), Cell.Bottom - Cell.Top);
    const int Left = Cell.Left + std::max(0, (Cell.Right - Cell.Left - W) / 2);
    const int Top = Cell.Top + std::max(0, (Cell.Bottom - Cell.Top - H) / 2);
    const int DataRow = GetDataRow(DisplayRow);
    const bool Selected = DataRow >= 0 && IsRowSelected(DataRow);
    TCanvas* C = Canvas();
    const TCopyMode Saved = C->CopyMode();
    C->SetCopyMode(Selected ? cmMergePaint : cmMergeCopy);
    C->CopyRect(Rect(Left, Top, Left + W, Top + H), Mark->Canvas(), Rect(0, 0, W, H));
    C->SetCopyMode(Saved);
}

} // namespace grid
