// The selection model: whole rows, whole columns or one block of cells, one
// kind at a time. Every change shows at once: exactly the cells whose state
// changes are drawn anew (see GridHighlight), and the changes are reported
// once per kind when the operation ends.
#include "grid/model/BaseGrid.h"
#include "grid/view/SelectionMarks.h"

#include <algorithm>
#include <utility>

namespace grid {

namespace {

const TRect NoClip{0, 0, 0, 0};

} // namespace

// ---- questions ------------------------------------------------------------------------------

bool TgxBaseGrid::IsCellSelected(int DisplayCol, int DisplayRow) const {
    if (DisplayCol < 0 || DisplayCol >= ColCount() || DisplayRow < 0 || DisplayRow >= RowCount())
        return false;
    if (DisplayCol == 0 && DisplayRow == 0) return false;
    if (DisplayCol == 0) return FRowSelection.GetSelected(DisplayRow);
    if (DisplayRow == 0) return FColSelection.GetSelected(DisplayCol);
    return FColSelection.GetSelected(DisplayCol) || FRowSelection.GetSelected(DisplayRow) ||
           (FGridStatus == grCellSelect && CellInGridSelection(DisplayCol, DisplayRow));
}

bool TgxBaseGrid::CellSelected(int DisplayCol, int DisplayRow) const {
    if (!CheckIndex(itCol, DisplayCol, ColCount() - 1, 0)) return false;
    if (!CheckIndex(itRow, DisplayRow, RowCount() - 1, 0)) return false;
    return IsCellSelected(DisplayCol, DisplayRow);
}

bool TgxBaseGrid::CellInGridSelection(int DisplayCol, int DisplayRow) const {
    return FRange.Left >= 1 && DisplayCol >= FRange.Left && DisplayCol <= FRange.Right &&
           DisplayRow >= FRange.Top && DisplayRow <= FRange.Bottom;
}

bool TgxBaseGrid::RowRangeSelected(int From, int To) const {
    if (To < From) std::swap(From, To);
    for (int R = std::max(From, 1); R <= To && R < RowCount(); ++R) {
        const int DataRow = GetDataRow(R);
        if (DataRow >= 1 && IsRowVisible(DataRow) && !FRowSelection.GetSelected(R)) return false;
    }
    return true;
}

bool TgxBaseGrid::ColRangeSelected(int From, int To) const {
    if (To < From) std::swap(From, To);
    for (int C = std::max(From, 1); C <= To && C < ColCount(); ++C)
        if (ColWidths(C) > 0 && !FColSelection.GetSelected(C)) return false;
    return true;
}

bool TgxBaseGrid::RowRangeUnselected(int From, int To) const {
    return FRowSelection.RangeCount(From, To) == 0;
}

bool TgxBaseGrid::ColRangeUnselected(int From, int To) const {
    return FColSelection.RangeCount(From, To) == 0;
}

bool TgxBaseGrid::FixedRowsSelected() const {
    return FixedRows() > 1 && FRowSelection.First() >= 1 && FRowSelection.First() < FixedRows();
}

bool TgxBaseGrid::FixedColsSelected() const {
    return FixedCols() > 1 && FColSelection.First() >= 1 && FColSelection.First() < FixedCols();
}

void TgxBaseGrid::SetSelectedRow(int DisplayRow, bool Selected) {
    FRowSelection.SetSelected(DisplayRow, Selected);
}

int TgxBaseGrid::CompareRowPos(int DisplayRow) const {
    return DisplayRow > Row() ? 1 : DisplayRow < Row() ? -1 : 0;
}

// ---- rows -----------------------------------------------------------------------------------

void TgxBaseGrid::SelectRows(int StartRow, int EndRow, bool Select) {
    DoRowSelection(StartRow, EndRow, false, Select);
}

void TgxBaseGrid::DoRowSelection(int StartRow, int EndRow, bool ByUser, bool Select) {
    if (FRowSelectMode == rsNone) return;
    if (!Select && InRowSelectMode()) return;
    if (StartRow > RowCount() - 1 || EndRow < 1) return;
    if (!Select && FGridStatus != grRowSelect) return;
    StartRow = std::max(StartRow, 1);
    EndRow = std::min(EndRow, GetGridRowCount());
    if (EndRow < StartRow) return;
    if (Select && FRowSelectMode == rsSingle && EndRow > StartRow) return;
    if (!CheckEndEdit(-1, -1, ByUser)) return;
    HideGridControl(true);
    ClearCurrentFocusRect(false);
    const bool SingleMove = Select && FRowSelectMode == rsSingle && StartRow != Row();
    if (SingleMove && FRowSelection.Count() > 0 && FRowSelection.GetSelected(Row())) {
        InvertRow(Row(), false);
        DeleteRowSelection(Row(), Row());
    }
    DeleteSelections({grColSelect, grCellSelect}, false);
    InvertRowSelection(StartRow, EndRow, Select);
    SelectionsChanged(ByUser);
    if (SingleMove) SetCurrentPositionAndDraw(Col(), StartRow, true, true);
    ShowGridControl();
    DrawCurrentFocusRect(false);
    CheckRowColChanged();
    CheckRowSelection();
    SelectionsChanged(ByUser);
    GridStatusChanged();
    ShowColouredChange(*this);
}

void TgxBaseGrid::InvertRowSelection(int StartRow, int EndRow, bool Select) {
    if (EndRow < StartRow) return;
    const int FirstShown = std::max(TopRow(), FixedRows());
    const int LastShown = HandleAllocated() ? MaxVisibleRow() : -1;
    auto MarkOnly = [&](int From, int To) {
        if (From > To) return;
        if (Select)
            AddRowSelection(From, To);
        else
            DeleteRowSelection(From, To);
    };
    // Rows off screen are only marked; rows on screen are marked and drawn
    // where their state changes.
    auto MarkAndDraw = [&](int From, int To) {
        for (int R = From; R <= To; ++R)
            MarkRow(*this, R, Select);
    };
    if (LastShown < 1) {
        MarkOnly(StartRow, EndRow);
        return;
    }
    MarkAndDraw(StartRow, std::min(EndRow, FixedRows() - 1));
    MarkOnly(std::max(StartRow, FixedRows()), std::min(EndRow, FirstShown - 1));
    MarkAndDraw(std::max(StartRow, FirstShown), std::min(EndRow, LastShown));
    MarkOnly(std::max(StartRow, LastShown + 1), EndRow);
}

// ---- columns --------------------------------------------------------------------------------

void TgxBaseGrid::SelectCols(int StartCol, int EndCol, bool Select) {
    if (FColSelectMode == csNone) return;
    if (StartCol > ColCount() - 1 || EndCol < 1) return;
    if (!Select && FGridStatus != grColSelect) return;
    StartCol = std::max(StartCol, 1);
    EndCol = std::min(EndCol, ColCount() - 1);
    if (!CheckEndEdit(-1, -1, false)) return;
    HideGridControl(true);
    DeleteSelections({grRowSelect, grCellSelect}, false);
    SelectionsChanged(false);
    for (int C = StartCol; C <= EndCol; ++C)
        MarkCol(*this, C, Select);
    ShowGridControl();
    CheckRowSelection();
    SelectionsChanged(false);
    GridStatusChanged();
    ShowColouredChange(*this);
}

// ---- cell ranges ----------------------------------------------------------------------------

void TgxBaseGrid::SelectCells(int StartCol, int StartRow, int EndCol, int EndRow) {
    if (EndCol < StartCol) std::swap(StartCol, EndCol);
    if (EndRow < StartRow) std::swap(StartRow, EndRow);
    if (EndCol < 1 || StartCol >= ColCount() || EndRow < 1 || StartRow >= RowCount()) return;
    if (!CheckEndEdit(-1, -1, false)) return;
    HideGridControl(true);
    DeleteSelections({grColSelect, grRowSelect}, false);
    SelectionsChanged(false);
    const TRect New{StartCol, StartRow, EndCol, EndRow};
    if (FGridStatus != grCellSelect) FRange = TRect{0, 0, 0, 0};
    FGridStatus = grCellSelect;
    // Only the cells that join or leave the block are drawn.
    InvertNewRangeSelecting(New);
    FRange = New;
    FRangeAnchor = TGridCoord{StartCol, StartRow};
    SetSelectChanged(stCellSelect);
    SelectionsChanged(false);
    GridStatusChanged();
    ShowColouredChange(*this);
}

void TgxBaseGrid::StartCellSelection(int DisplayCol, int DisplayRow) {
    const TRect Cell{DisplayCol, DisplayRow, DisplayCol, DisplayRow};
    if (FGridStatus == grCellSelect && FRange.Left >= 1) {
        if (DisplayCol != Col() || DisplayRow != Row())
            SetCurrentPositionAndDraw(DisplayCol, DisplayRow, true, true);
        InvertNewRangeSelecting(Cell);
    } else {
        HideGridControl(true);
        int C = DisplayCol;
        int R = DisplayRow;
        SelectNone(C, R);
        FGridStatus = grCellSelect;
        FRange = TRect{0, 0, 0, 0};
        InvertNewRangeSelecting(Cell);
    }
    FGridStatus = grCellSelect;
    FRange = Cell;
    FRangeAnchor = TGridCoord{DisplayCol, DisplayRow};
    CheckInvalidateCell(DisplayCol, DisplayRow);
    CheckRowColChanged();
    SetSelectChanged(stCellSelect);
    SelectionsChanged(true);
}

void TgxBaseGrid::ChangeCellSelection(int DisplayCol, int DisplayRow) {
    if (FGridStatus != grCellSelect || FRange.Left < 1) return;
    const int FirstCol = FSelectFixed ? 1 : std::max(FixedCols(), 1);
    const int FirstRow = FSelectFixed ? 1 : std::max(FixedRows(), 1);
    DisplayCol = std::clamp(DisplayCol, FirstCol, std::max(ColCount() - 1, FirstCol));
    DisplayRow = std::max(DisplayRow, FirstRow);
    if (IsAppendRow(DisplayRow)) {
        if (DisplayRow - 1 < FirstRow) return;
        --DisplayRow;
    }
    DisplayRow = std::min(DisplayRow, std::max(RowCount() - 1, FirstRow));
    const TRect New{std::min(DisplayCol, FRangeAnchor.X), std::min(DisplayRow, FRangeAnchor.Y),
                    std::max(DisplayCol, FRangeAnchor.X), std::max(DisplayRow, FRangeAnchor.Y)};
    if (New.Left != FRange.Left || New.Top != FRange.Top || New.Right != FRange.Right ||
        New.Bottom != FRange.Bottom) {
        InvertNewRangeSelecting(New);
        FRange = New;
        SetSelectChanged(stCellSelect);
    }
    SelectionsChanged(true);
}

void TgxBaseGrid::DeleteRangeSelection() {
    if (FRange.Left >= 1) SetSelectChanged(stCellSelect);
    FRange = TRect{0, 0, 0, 0};
    FRangeAnchor = TGridCoord{0, 0};
}

// A deleted column (row) takes the range's side with it; a range left
// without columns (rows) is gone.
void TgxBaseGrid::DeleteSelectedCellsCol(int DisplayCol) {
    if (FRange.Left < 1 || DisplayCol > FRange.Right) return;
    if (DisplayCol < FRange.Left) --FRange.Left;
    --FRange.Right;
    if (FRangeAnchor.X > DisplayCol) --FRangeAnchor.X;
    SetSelectChanged(stCellSelect);
    if (FRange.Right < FRange.Left || FRange.Right < 1) {
        DeleteRangeSelection();
        if (FGridStatus == grCellSelect) FGridStatus = grNormal;
    }
}

void TgxBaseGrid::DeleteSelectedCellsRow(int DisplayRow) {
    if (FRange.Top < 1 || DisplayRow > FRange.Bottom) return;
    if (DisplayRow < FRange.Top) --FRange.Top;
    --FRange.Bottom;
    if (FRangeAnchor.Y > DisplayRow) --FRangeAnchor.Y;
    SetSelectChanged(stCellSelect);
    if (FRange.Bottom < FRange.Top || FRange.Bottom < 1) {
        DeleteRangeSelection();
        if (FGridStatus == grCellSelect) FGridStatus = grNormal;
    }
}

// A hidden column (row) at a side of the range moves that side inward past
// the hidden ones.
void TgxBaseGrid::CheckSelectedCellsCol(int DisplayCol) {
    if (FRange.Left < 1) return;
    auto Hidden = [this](int C) {
        const int DataCol = GetDataCol(C);
        return DataCol < 1 || ColWidths(C) <= 0;
    };
    const bool AtSide = DisplayCol == FRange.Left || DisplayCol == FRange.Right;
    if (DisplayCol == FRange.Left)
        while (FRange.Left <= FRange.Right && Hidden(FRange.Left))
            ++FRange.Left;
    if (DisplayCol == FRange.Right)
        while (FRange.Right >= FRange.Left && Hidden(FRange.Right))
            --FRange.Right;
    if (AtSide) SetSelectChanged(stCellSelect);
    ForgetEmptiedRange();
}

void TgxBaseGrid::ForgetEmptiedRange() {
    if (FRange.Left <= FRange.Right && FRange.Top <= FRange.Bottom) return;
    DeleteRangeSelection();
    if (FGridStatus == grCellSelect) FGridStatus = grNormal;
}

void TgxBaseGrid::CheckSelectedCellsRow(int DisplayRow) {
    if (FRange.Top < 1) return;
    auto Hidden = [this](int R) {
        const int DataRow = GetDataRow(R);
        return DataRow < 1 || !IsRowVisible(DataRow);
    };
    const bool AtSide = DisplayRow == FRange.Top || DisplayRow == FRange.Bottom;
    if (DisplayRow == FRange.Top)
        while (FRange.Top <= FRange.Bottom && Hidden(FRange.Top))
            ++FRange.Top;
    if (DisplayRow == FRange.Bottom)
        while (FRange.Bottom >= FRange.Top && Hidden(FRange.Bottom))
            --FRange.Bottom;
    if (AtSide) SetSelectChanged(stCellSelect);
    ForgetEmptiedRange();
}

// ---- removing ------------------------------------------------------------------------------

void TgxBaseGrid::DeleteSelections(SmallSet<TgxGridStatus> Kinds, bool Update) {
    if (!Kinds.Empty() && !Kinds.Contains(FGridStatus)) return;
    if (FRowSelection.Count() > 0 && (Kinds.Empty() || Kinds.Contains(grRowSelect))) {
        if (HandleAllocated()) {
            const int Last = MaxVisibleRow();
            for (int R = FRowSelection.First(); R != -1 && R <= Last; R = FRowSelection.Next(R))
                if (R < FixedRows() || R >= TopRow()) InvertRow(R, false);
        }
        DeleteAllRowSelection();
    }
    if (FColSelection.Count() > 0 && (Kinds.Empty() || Kinds.Contains(grColSelect))) {
        if (HandleAllocated()) {
            const int Last = MaxVisibleCol();
            for (int C = FColSelection.First(); C != -1 && C <= Last; C = FColSelection.Next(C))
                if (C < FixedCols() || C >= LeftCol()) InvertCol(C, ivBoth, nullptr, false);
        }
        DeleteAllColSelection();
    }
    if (FGridStatus == grCellSelect && (Kinds.Empty() || Kinds.Contains(grCellSelect))) {
        if (FRange.Left >= 1)
            InvertRange(FRange.Left, FRange.Top, nullptr, false, NoClip, FRange.Bottom,
                        FRange.Right);
        DeleteRangeSelection();
    }
    if (Update) InvalidateGridNow();
    FGridStatus = grNormal;
}

void TgxBaseGrid::AdjustSelection(TgxSelectType Keep) {
    switch (FGridStatus) {
    case grRowSelect:
        if (Keep != stRowSelect) DeleteSelections({grRowSelect}, false);
        break;
    case grColSelect:
        if (Keep != stColSelect) DeleteSelections({grColSelect}, false);
        break;
    case grCellSelect:
        if (Keep != stCellSelect) DeleteSelections({grCellSelect}, false);
        break;
    default:
        break;
    }
}

void TgxBaseGrid::ResetSelection() {
    if (FGridStatus == grNormal) return;
    if (FGridMode != gmListBox || FRowSelectMode == rsNone) {
        int C = Col();
        int R = Row();
        SelectNone(C, R);
        FGridStatus = grNormal;
    } else {
        if (!InRowSelectMode()) DeleteSelections({}, false);
        CheckRowSelection();
    }
    ShowGridControl();
    DrawCurrentFocusRect(false);
    SelectionsChanged(false);
    GridStatusChanged();
    ShowColouredChange(*this);
}

void TgxBaseGrid::SelectAll() {
    MDSelectAll(false);
}

} // namespace grid
