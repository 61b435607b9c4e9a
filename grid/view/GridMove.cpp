// Taking data columns and rows out of the grid, and moving a range of
// them to another display position (the mouse moves the selected block).
#include "grid/model/BaseGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/PropKinds.h"
#include "grid/model/Rows.h"

#include <algorithm>
#include <vector>

namespace grid {

namespace {

// Painting off for the scope, back on however it is left.
class TNoPaint {
public:
    explicit TNoPaint(TgxBaseGrid& Grid) : FGrid(Grid) { FGrid.SetEnablePaint(false); }
    ~TNoPaint() { FGrid.SetEnablePaint(true); }
    TNoPaint(const TNoPaint&) = delete;
    TNoPaint& operator=(const TNoPaint&) = delete;

private:
    TgxBaseGrid& FGrid;
};

// A counter up for the scope.
class TCounting {
public:
    explicit TCounting(int& Counter) : FCounter(Counter) { ++FCounter; }
    ~TCounting() { --FCounter; }
    TCounting(const TCounting&) = delete;
    TCounting& operator=(const TCounting&) = delete;

private:
    int& FCounter;
};

std::vector<int> SelectedPositions(const TgxSelection& Selection) {
    std::vector<int> Positions;
    for (int P = Selection.Next(0); P >= 0; P = Selection.Next(P))
        Positions.push_back(P);
    return Positions;
}

// How many of the data numbers at the selected positions lie below Data,
// counted before any of them goes: each one that goes renumbers the later
// ones.
template <class DataAt>
int DataNumbersBelow(const std::vector<int>& Positions, int Data, DataAt NumberAt) {
    int Below = 0;
    for (int P : Positions) {
        const int Number = NumberAt(P);
        if (Number >= 1 && Number < Data) ++Below;
    }
    return Below;
}

// After columns or rows went: the scroll range, the picture, the in-place
// control, and the selection reports.
void SettleAfterDelete(TgxBaseGrid& Grid) {
    Grid.CheckResetButtons();
    Grid.UpdateScrollRange();
    Grid.InvalidateGridNow();
    Grid.RedisplayControl();
    Grid.CheckRowSelection(false);
    Grid.SelectionsChanged(false);
    Grid.GridStatusChanged();
}

} // namespace

// ---- deleting ----------------------------------------------------------------------------------

void TgxBaseGrid::InvalidateNextCols(int DataCol) {
    // Painting is off while columns go; the repaint covers what moved.
    (void)DataCol;
    InvalidateGridNow();
}

void TgxBaseGrid::InvalidateNextRows(int DataRow) {
    (void)DataRow;
    InvalidateGridNow();
}

void TgxBaseGrid::DeleteCols(int FromDataCol, int ToDataCol) {
    const int Count = GetGridColCount();
    if (FromDataCol > Count || ToDataCol < 1) return;
    FromDataCol = std::max(FromDataCol, 1);
    ToDataCol = std::min(ToDataCol, Count);
    if (ToDataCol < FromDataCol) return;
    const int CurrentData = GetDataColnr(Col());
    const int CurrentRowData = GetDataRownr(Row());
    const bool CurrentDeleted = CurrentData >= FromDataCol && CurrentData <= ToDataCol;
    if (CurrentDeleted && !CheckEndEdit(0, CurrentRowData, false)) return;
    const int CurrentDisplay = Col();
    int DeletedLeft = 0;
    for (int D = FromDataCol; D <= ToDataCol; ++D)
        if (GetDisplayCol(D) < CurrentDisplay) ++DeletedLeft;
    const int Deleted = ToDataCol - FromDataCol + 1;
    {
        TNoPaint NoPaint(*this);
        {
            TCounting Deleting(FColDeleting);
            const int Last = ColCount() - 1;
            for (int D = ToDataCol; D >= FromDataCol; --D) {
                InvalidateNextCols(D);
                DeleteAllAtCol(D, Last);
                DeleteColData(D, D);
                ++FDeletedCols;
                DoDeleteCol(D, false);
            }
        }
        SetNewColCount(Count - Deleted);
        CheckTopLeft(true);
        if (CurrentDeleted) {
            MoveToNewCol(CurrentDisplay - DeletedLeft, false, CanSkipReadOnly(), false);
        } else if (CurrentData >= 1) {
            const int Before = std::max(0, std::min(ToDataCol, CurrentData - 1) - FromDataCol + 1);
            SetNewCurrentCell(CurrentData - Before, CurrentRowData);
        }
    }
    SettleAfterDelete(*this);
}

void TgxBaseGrid::DeleteRows(int FromDataRow, int ToDataRow) {
    const int Count = GetGridRowCount();
    if (FromDataRow > Count || ToDataRow < 1) return;
    FromDataRow = std::max(FromDataRow, 1);
    ToDataRow = std::min(ToDataRow, Count);
    if (ToDataRow < FromDataRow) return;
    const int CurrentData = GetDataRownr(Row());
    const bool CurrentDeleted = CurrentData >= FromDataRow && CurrentData <= ToDataRow;
    const bool OnInsertionRow = InsertionRowShown() && Row() == RowCount() - 1;
    if (CurrentDeleted && !CheckEndEdit(GetDataColnr(Col()), 0, false)) return;
    const int CurrentDisplay = Row();
    int DeletedAbove = 0;
    for (int D = FromDataRow; D <= ToDataRow; ++D)
        if (GetDisplayRow(D) < CurrentDisplay) ++DeletedAbove;
    const int Deleted = ToDataRow - FromDataRow + 1;
    {
        TNoPaint NoPaint(*this);
        {
            TCounting Deleting(FRowDeleting);
            const int Last = Count;
            for (int D = ToDataRow; D >= FromDataRow; --D) {
                InvalidateNextRows(D);
                DeleteAllAtRow(D, Last);
                DeleteRowData(D, D);
                ++FDeletedRows;
                RowDeleted(D, false);
            }
        }
        // A grid that takes new rows keeps its empty insertion row at the
        // end; while the last row stays, so does what ends the grid (an
        // entered insertion row shows no fresh one below it).
        if (FGridMode == gmEditInsert && ToDataRow == Count) ShowInsertionRowAgain();
        SetNewRowCount(Count - Deleted);
        CheckTopLeft(true);
        if (OnInsertionRow) {
            // The insertion row has no data number to follow.
            SetCurrentPosition(Col(), RowCount() - 1, true, true);
        } else if (CurrentDeleted) {
            MoveToNewRow(CurrentDisplay - DeletedAbove, false, CanSkipReadOnly(), false);
        } else if (CurrentData >= 1) {
            const int Before = std::max(0, std::min(ToDataRow, CurrentData - 1) - FromDataRow + 1);
            SetNewCurrentCell(GetDataColnr(Col()), CurrentData - Before);
        }
    }
    SettleAfterDelete(*this);
}

void TgxBaseGrid::ShowInsertionRowAgain() {
    SetInsertionRow(true);
    FRowAppendedByEdit = false;
}

void TgxBaseGrid::DeleteSelectedCols() {
    const std::vector<int> Positions = SelectedPositions(FColSelection);
    if (Positions.empty()) return;
    const int Count = GetGridColCount();
    const int CurrentDisplay = Col();
    const int CurrentData = GetDataColnr(CurrentDisplay);
    const bool CurrentDeleted = FColSelection.GetSelected(CurrentDisplay);
    const int DeletedLeft = FColSelection.RangeCount(1, CurrentDisplay - 1);
    const int DeletedBefore =
        DataNumbersBelow(Positions, CurrentData, [this](int P) { return GetDataCol(P); });
    int Deleted = 0;
    {
        TNoPaint NoPaint(*this);
        {
            TCounting Deleting(FColDeleting);
            const int Last = ColCount() - 1;
            // From the last position to the first: the positions still to
            // come stay where they are.
            for (auto It = Positions.rbegin(); It != Positions.rend(); ++It) {
                const int Data = GetDataCol(*It);
                if (Data < 1) continue;
                InvalidateNextCols(Data);
                DeleteAllAtCol(Data, Last);
                DeleteColData(Data, Data);
                ++FDeletedCols;
                ++Deleted;
                DoDeleteCol(Data, false);
            }
        }
        SetNewColCount(Count - Deleted);
        CheckTopLeft(true);
        if (CurrentDeleted)
            MoveToNewCol(CurrentDisplay - DeletedLeft, false, CanSkipReadOnly(), false);
        else if (CurrentData >= 1)
            SetNewCurrentCell(CurrentData - DeletedBefore, GetDataRownr(Row()));
    }
    SettleAfterDelete(*this);
}

void TgxBaseGrid::DeleteSelectedRows() {
    std::vector<int> Positions = SelectedPositions(FRowSelection);
    // The insertion row is never deleted.
    if (InsertionRowShown()) std::erase(Positions, RowCount() - 1);
    if (Positions.empty()) return;
    const int Count = GetGridRowCount();
    const int CurrentDisplay = Row();
    const int CurrentData = GetDataRownr(CurrentDisplay);
    const bool CurrentDeleted = FRowSelection.GetSelected(CurrentDisplay) &&
                                !(InsertionRowShown() && CurrentDisplay == RowCount() - 1);
    const bool OnInsertionRow = InsertionRowShown() && CurrentDisplay == RowCount() - 1;
    int DeletedAbove = 0;
    for (int P : Positions)
        if (P < CurrentDisplay) ++DeletedAbove;
    const int DeletedBefore =
        DataNumbersBelow(Positions, CurrentData, [this](int P) { return GetDataRow(P); });
    int Deleted = 0;
    bool LastDeleted = false;
    {
        TNoPaint NoPaint(*this);
        {
            TCounting Deleting(FRowDeleting);
            const int Last = Count;
            for (auto It = Positions.rbegin(); It != Positions.rend(); ++It) {
                const int Data = GetDataRow(*It);
                if (Data < 1 || Data > Count) continue;
                LastDeleted = LastDeleted || Data == Count;
                InvalidateNextRows(Data);
                DeleteAllAtRow(Data, Last);
                DeleteRowData(Data, Data);
                ++FDeletedRows;
                ++Deleted;
                RowDeleted(Data, false);
            }
        }
        if (FGridMode == gmEditInsert && LastDeleted) ShowInsertionRowAgain();
        SetNewRowCount(Count - Deleted);
        CheckTopLeft(true);
        const int DataCol = GetDataColnr(Col());
        if (OnInsertionRow) {
            SetCurrentPosition(Col(), RowCount() - 1, true, true);
        } else if (CurrentDeleted) {
            // The place the current row had may now be past the last row, or
            // hold a hidden, fixed or insertion row: the nearest row the
            // current cell may stand on from there takes it, as when rows
            // are deleted by number.
            MoveToNewRow(CurrentDisplay - DeletedAbove, false, CanSkipReadOnly(), false);
        } else if (CurrentData >= 1) {
            SetNewCurrentCell(DataCol, CurrentData - DeletedBefore);
        }
    }
    SettleAfterDelete(*this);
}

// ---- back to data order ------------------------------------------------------------------------

void TgxBaseGrid::RefreshData(TgxResetOrder ResetOrder, TgxResetPosition ResetPosition) {
    ClearCellBuffer();
    SetControlSelectMode(gxDefault);
    if (ResetOrder == roCols || ResetOrder == roBoth) ResetColProperties({prDisplayNumber});
    if (ResetOrder == roRows || ResetOrder == roBoth) ResetRowProperties({prDisplayNumber});
    {
        TNoPaint NoPaint(*this);
        if (ResetPosition == rpLeft || ResetPosition == rpTopLeft) SetLeftCol(LeftMostScrollCol());
        if (ResetPosition == rpTop || ResetPosition == rpTopLeft) SetTopRow(TopMostScrollRow());
    }
    InvalidateGridNow();
}

void TgxBaseGrid::ResizeRowChanged() {
    FChangedRows.SetSize(RowCount());
}

// ---- moving ------------------------------------------------------------------------------------

int TgxBaseGrid::DiffSelectedCols(int Position, int From) const {
    if (Position > From) return FColSelection.RangeCount(From + 1, Position);
    if (Position < From) return -FColSelection.RangeCount(Position, From - 1);
    return 0;
}

int TgxBaseGrid::DiffSelectedRows(int Position, int From) const {
    if (Position > From) return FRowSelection.RangeCount(From + 1, Position);
    if (Position < From) return -FRowSelection.RangeCount(Position, From - 1);
    return 0;
}

namespace {

// One column (row) from display position From to To, with everything that
// follows a display position.
template <class Grid> void StepCol(Grid& G, int From, int To) {
    if (From == To) return;
    G.ChangeDisplayCol(From, To);
    G.ChangeColWidths(From, To);
    G.MoveVisibleCol(From, To);
    G.ChangeSelectedCols(From, To);
    G.ChangeCurrentColPosition(From, To);
}

template <class Grid> void StepRow(Grid& G, int From, int To) {
    if (From == To) return;
    G.ChangeDisplayRow(From, To);
    G.ChangeRowHeights(From, To);
    G.MoveVisibleRow(From, To);
    G.ChangeSelectedRows(From, To);
    G.ChangeCurrentRowPosition(From, To);
}

} // namespace

namespace {

// Gathers the selected positions into one block at To. Toward the start
// (Forward false) the first selected position at or after To lands on To,
// the later ones follow and the earlier ones close up before it; toward the
// end the last one at or before To lands on To, the earlier ones close up
// before it and the later ones follow.
template <class Step>
void GatherAt(const std::vector<int>& Positions, int To, bool Forward, Step MoveOne) {
    const auto Before = [&](int P) { return Forward ? P <= To : P < To; };
    int Target = Forward ? To : To - 1;
    for (auto It = Positions.rbegin(); It != Positions.rend(); ++It)
        if (Before(*It)) MoveOne(*It, Target--);
    Target = Forward ? To + 1 : To;
    for (int P : Positions)
        if (!Before(P)) MoveOne(P, Target++);
}

} // namespace

void TgxBaseGrid::MoveColRangeLeft(int From, int To) {
    (void)From;
    GatherAt(SelectedPositions(FColSelection), To, false,
             [this](int P, int T) { StepCol(*this, P, T); });
}

void TgxBaseGrid::MoveColRangeRight(int From, int To) {
    (void)From;
    GatherAt(SelectedPositions(FColSelection), To, true,
             [this](int P, int T) { StepCol(*this, P, T); });
}

void TgxBaseGrid::MoveRowRangeUp(int From, int To) {
    (void)From;
    GatherAt(SelectedPositions(FRowSelection), To, false,
             [this](int P, int T) { StepRow(*this, P, T); });
}

void TgxBaseGrid::MoveRowRangeDown(int From, int To) {
    (void)From;
    GatherAt(SelectedPositions(FRowSelection), To, true,
             [this](int P, int T) { StepRow(*this, P, T); });
}

void TgxBaseGrid::MoveColRange(int From, int To) {
    if (From == To) return;
    const int Last = GetGridColCount();
    if (From < 1 || To < 1 || From > Last || To > Last) return;
    const int Selected = FColSelection.Count();
    if (Selected == 0) {
        StepCol(*this, From, To);
    } else if (To < From) {
        MoveColRangeLeft(From, To);
    } else {
        MoveColRangeRight(From, To);
    }
    FAnchor = FCurrent;
    DoColMoved(Selected > 0 ? FColSelection.First() : To, std::max(Selected, 1), true);
    UpdateScrollRange();
    InvalidateGridNow();
    RedisplayControl();
}

void TgxBaseGrid::MoveRowRange(int From, int To) {
    if (From == To) return;
    const int Last = GetGridRowCount();
    if (From < 1 || To < 1 || From > Last || To > Last) return;
    if (FGridMode == gmEditInsert && InsertionRowShown()) {
        TNoPaint NoPaint(*this);
        FRowSelection.SetSelected(RowCount() - 1, false);
    }
    FRows->CreateDisplayRowNumber();
    const int Selected = FRowSelection.Count();
    if (Selected == 0) {
        StepRow(*this, From, To);
    } else if (To < From) {
        MoveRowRangeUp(From, To);
    } else {
        MoveRowRangeDown(From, To);
    }
    FAnchor = FCurrent;
    DoRowMoved(Selected > 0 ? FRowSelection.First() : To, std::max(Selected, 1), true);
    UpdateScrollRange();
    InvalidateGridNow();
    RedisplayControl();
}

} // namespace grid

namespace grid {

void TgxBaseGrid::RowDeleted(int DataRow, bool ByUser) {
    DoDeleteRow(DataRow, ByUser);
}

} // namespace grid
