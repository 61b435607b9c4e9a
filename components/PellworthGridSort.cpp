// Sorting by display order and the list of selected rows.
#include "components/PellworthGrid.h"

#include "grid/model/Rows.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <vector>

namespace components {

namespace {

// One data row and its key: the plain texts of the sort columns joined.
struct SortData_t {
    int Row;
    AnsiString Key;
};

// Keys compare byte by byte, each byte unsigned, a proper prefix first.
// Numbers therefore sort as text ("10" before "9"), and the parts of a key
// are not kept apart ("AB" + "C" equals "A" + "BC").
bool RowLess(const SortData_t& A, const SortData_t& B) {
    return A.Key.compare(B.Key) < 0;
}

// Repainting is off while display numbers are rewritten; leaving turns it
// on again, which repaints the whole grid once.
class Redraw_Guard {
public:
    explicit Redraw_Guard(grid::TgxBaseGrid& Grid) : FGrid(Grid) { FGrid.SetEnableRedraw(false); }
    ~Redraw_Guard() {
        FGrid.SetEnableRedraw(true);
        FGrid.Invalidate();
    }
    Redraw_Guard(const Redraw_Guard&) = delete;
    Redraw_Guard& operator=(const Redraw_Guard&) = delete;

private:
    grid::TgxBaseGrid& FGrid;
};

// Bulk changes with invalidation put off until the end, balanced also when
// something raises.
class FastAssign_Guard {
public:
    explicit FastAssign_Guard(grid::TgxBaseGrid& Grid) : FGrid(Grid) { FGrid.SetFastAssign(true); }
    ~FastAssign_Guard() { FGrid.SetFastAssign(false); }
    FastAssign_Guard(const FastAssign_Guard&) = delete;
    FastAssign_Guard& operator=(const FastAssign_Guard&) = delete;

private:
    grid::TgxBaseGrid& FGrid;
};

} // namespace

void TPellworthGrid::Sort(const int* Cols, int ColCount, tagSortOrder Order, tagCaseMode CaseMode) {
    const int Rows = GetGridRowCount();
    // Every key is built before any display row moves: a cell that cannot
    // be read as text stops the sort with the grid as it was.
    std::vector<SortData_t> Data;
    Data.reserve(static_cast<std::size_t>(std::max(Rows, 0)));
    for (int Row = 1; Row <= Rows; ++Row) {
        AnsiString Key;
        for (int C = 0; C < ColCount; ++C) {
            const AnsiString Text = GetCellValue(Cols[C], Row).AsString();
            Key += CaseMode == 1 ? AnsiUpperCase(Text) : Text;
        }
        Data.push_back({Row, std::move(Key)});
    }
    // Rows with equal keys keep their data order, ascending and descending.
    if (Order == 0)
        std::stable_sort(Data.begin(), Data.end(), RowLess);
    else
        std::stable_sort(Data.begin(), Data.end(),
                         [](const SortData_t& A, const SortData_t& B) { return RowLess(B, A); });

    std::vector<int> Sorted;
    Sorted.reserve(Data.size());
    for (const SortData_t& Element : Data)
        Sorted.push_back(Element.Row);
    ShowRowsInOrder(Sorted);
}

void TPellworthGrid::Unsort() {
    std::vector<int> Natural(static_cast<std::size_t>(std::max(GetGridRowCount(), 0)));
    std::iota(Natural.begin(), Natural.end(), 1);
    ShowRowsInOrder(Natural);
}

void TPellworthGrid::ShowRowsInOrder(const std::vector<int>& DataRows) {
    const Redraw_Guard Redraw(*this);
    const int Count = static_cast<int>(DataRows.size());
    if (Count != GetGridRowCount()) return;
    // The result is that of giving each data row in turn its display row
    // with SetDisplayRownr, but reached in one pass: moving the rows one by
    // one shifts every row between the old and the new place each time,
    // which makes a sort of many rows cost the square of their number.
    //
    // Placing the rows in turn keeps the rows not yet placed in their old
    // order behind the placed ones, so a row moves exactly when it is not
    // the first of those still waiting; each such move is reported as the
    // single moves report it, once, in the order they would happen.
    std::vector<int> OldOrder(DataRows.size());
    std::vector<int> OldPosition(DataRows.size() + 1);
    std::vector<int> OldHeight(DataRows.size() + 1);
    for (int P = 1; P <= Count; ++P) {
        const int Data = GetDataRow(P);
        OldOrder[static_cast<std::size_t>(P) - 1] = Data;
        OldPosition[static_cast<std::size_t>(Data)] = P;
        OldHeight[static_cast<std::size_t>(P)] = RowHeights(P);
    }
    std::vector<int> Moves;
    std::vector<bool> Placed(DataRows.size() + 1);
    std::size_t FirstWaiting = 0;
    for (int P = 1; P <= Count; ++P) {
        const int Data = DataRows[static_cast<std::size_t>(P) - 1];
        if (Data != OldOrder[FirstWaiting]) Moves.push_back(P);
        Placed[static_cast<std::size_t>(Data)] = true;
        while (FirstWaiting < OldOrder.size() &&
               Placed[static_cast<std::size_t>(OldOrder[FirstWaiting])])
            ++FirstWaiting;
    }
    if (Moves.empty()) return;

    {
        const FastAssign_Guard Fast(*this);
        grid::TgxSelection& Selected = RowSelection();
        std::vector<int> SelectedRows;
        for (int P = Selected.Next(0); P > 0; P = Selected.Next(P))
            SelectedRows.push_back(GetDataRow(P));
        const int CurrentData = Row() >= 1 && Row() <= Count ? GetDataRow(Row()) : 0;

        GridRows()->CreateDisplayRowNumber();
        std::vector<int> Visible;
        for (int P = 1; P <= Count; ++P) {
            const int Data = DataRows[static_cast<std::size_t>(P) - 1];
            SetDataRow(P, Data);
            GridRows()->SetDisplayRowNumber(Data, P);
            if (GetRowVisible(Data)) Visible.push_back(P);
        }
        if (VisibleRows().Active()) VisibleRows().SetItems(Visible);
        // Heights, selection marks and the current row go with their data
        // rows. The heights are carried over as a move carries them, not
        // set anew: nothing was resized.
        if (!FRowHeights.Empty())
            for (int P = 1; P <= Count; ++P)
                FRowHeights[P] =
                    OldHeight[static_cast<std::size_t>(OldPosition[static_cast<std::size_t>(
                        DataRows[static_cast<std::size_t>(P) - 1])])];
        Selected.Reset();
        for (const int Data : SelectedRows)
            Selected.SetSelected(GetDisplayRow(Data), true);
        if (CurrentData > 0) ChangeCurrentRowPosition(Row(), GetDisplayRow(CurrentData));
        UpdateScrollRange();
        CheckTopLeftNow();
    }
    for (const int P : Moves)
        DoRowMoved(P, 1, false);
}

void TPellworthGrid::BuildSelectedRowsList() {
    FSelectedRowsList.clear();
    grid::TgxSelection& Selected = RowSelection();
    for (int Row = Selected.First(); Row > 0; Row = Selected.Next(Row))
        FSelectedRowsList.push_back(Row);
    if (static_cast<std::size_t>(Selected.Count()) != FSelectedRowsList.size()) {
        std::fprintf(stderr,
                     "Assertion failed: SelectedRows->Count == FSelectedRowsList.size(), "
                     "file TPellworthGrid, line %d\n",
                     __LINE__);
        std::abort();
    }
}

} // namespace components
