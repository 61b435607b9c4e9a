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

// Repainting is off while display numbers are rewritten; the grid is
// repainted once when the guard goes.
class TRedrawGuard {
public:
    explicit TRedrawGuard(grid::TgxBaseGrid& Grid) : FGrid(Grid) { FGrid.SetFastAssign(true); }
    ~TRedrawGuard() { FGrid.SetFastAssign(false); }
    TRedrawGuard(const TRedrawGuard&) = delete;
    TRedrawGuard& operator=(const TRedrawGuard&) = delete;

private:
    grid::TgxBaseGrid& FGrid;
};

// The positions the rows move to when each row of the new order is moved
// in turn to its place (a row already there does not move). The rows not
// yet placed keep their old order among themselves, so a row is already in
// its place exactly when it is the first of them in the old order.
std::vector<int> SingleMoves(const std::vector<int>& OldOrder, const std::vector<int>& NewOrder) {
    std::vector<int> Moves;
    std::vector<bool> Placed(OldOrder.size(), false);
    std::size_t First = 1;
    for (std::size_t P = 1; P <= NewOrder.size(); ++P) {
        while (First < OldOrder.size() && Placed[static_cast<std::size_t>(OldOrder[First])])
            ++First;
        const int Data = NewOrder[P - 1];
        if (First >= OldOrder.size() || OldOrder[First] != Data)
            Moves.push_back(static_cast<int>(P));
        Placed[static_cast<std::size_t>(Data)] = true;
    }
    return Moves;
}

} // namespace

void TPellworthGrid::Sort(const int* Cols, int ColCount, tagSortOrder Order, tagCaseMode CaseMode) {
    const int Rows = GetGridRowCount();
    // A row's key is the plain text of its listed cells run together,
    // built for every row before any display row moves: a cell that cannot
    // be read as text stops the sort with the grid as it was.
    struct TSortData {
        int DataRow;
        AnsiString Key;
    };
    std::vector<TSortData> Data;
    Data.reserve(static_cast<std::size_t>(std::max(Rows, 0)));
    for (int Row = 1; Row <= Rows; ++Row) {
        AnsiString Key;
        for (int C = 0; C < ColCount; ++C) {
            const AnsiString Text = GetCellValue(Cols[C], Row).AsString();
            Key += CaseMode == 1 ? AnsiUpperCase(Text) : Text;
        }
        Data.push_back(TSortData{Row, std::move(Key)});
    }
    // Plain byte order (each byte unsigned, a prefix first); rows with
    // equal keys keep their data order.
    if (Order == 0)
        std::stable_sort(Data.begin(), Data.end(),
                         [](const TSortData& A, const TSortData& B) { return A.Key < B.Key; });
    else
        std::stable_sort(Data.begin(), Data.end(),
                         [](const TSortData& A, const TSortData& B) { return B.Key < A.Key; });

    std::vector<int> Sorted;
    Sorted.reserve(Data.size());
    for (const TSortData& D : Data)
        Sorted.push_back(D.DataRow);
    ShowRowsInOrder(Sorted);
}

void TPellworthGrid::Unsort() {
    std::vector<int> Natural(static_cast<std::size_t>(std::max(GetGridRowCount(), 0)));
    std::iota(Natural.begin(), Natural.end(), 1);
    ShowRowsInOrder(Natural);
}

void TPellworthGrid::ShowRowsInOrder(const std::vector<int>& DataRows) {
    // The whole order is applied in one pass. Moving the rows one by one
    // shifts every row between the old and the new place each time, which
    // makes a sort of many rows cost the square of their number.
    const int Count = static_cast<int>(DataRows.size());
    if (Count != GetGridRowCount()) return;
    std::vector<int> OldPosition(DataRows.size() + 1);
    std::vector<int> OldHeight(DataRows.size() + 1);
    std::vector<int> OldOrder(DataRows.size() + 1);
    std::vector<int> SelectedRows;
    bool Moved = false;
    for (int P = 1; P <= Count; ++P) {
        const int Data = GetDataRow(P);
        OldPosition[static_cast<std::size_t>(Data)] = P;
        OldHeight[static_cast<std::size_t>(P)] = RowHeights(P);
        OldOrder[static_cast<std::size_t>(P)] = Data;
        Moved = Moved || DataRows[static_cast<std::size_t>(P) - 1] != Data;
    }
    if (!Moved) return;
    const std::vector<int> Moves = SingleMoves(OldOrder, DataRows);
    grid::TgxSelection& Selected = RowSelection();
    for (int P = Selected.Next(0); P > 0; P = Selected.Next(P))
        SelectedRows.push_back(GetDataRow(P));
    const int CurrentData = Row() >= 1 && Row() <= Count ? GetDataRow(Row()) : 0;

    const TRedrawGuard Guard(*this);
    GridRows()->CreateDisplayRowNumber();
    std::vector<int> Visible;
    for (int P = 1; P <= Count; ++P) {
        const int Data = DataRows[static_cast<std::size_t>(P) - 1];
        SetDataRow(P, Data);
        GridRows()->SetDisplayRowNumber(Data, P);
        if (GetRowVisible(Data)) Visible.push_back(P);
    }
    if (VisibleRows().Active()) VisibleRows().SetItems(Visible);
    // Heights, selection marks and the current row go with their data rows.
    for (int P = 1; P <= Count; ++P) {
        const int Height = OldHeight[static_cast<std::size_t>(
            OldPosition[static_cast<std::size_t>(DataRows[static_cast<std::size_t>(P) - 1])])];
        if (RowHeights(P) != Height) SetRowHeights(P, Height);
    }
    Selected.Reset();
    for (const int Data : SelectedRows)
        Selected.SetSelected(GetDisplayRow(Data), true);
    if (CurrentData > 0) ChangeCurrentRowPosition(Row(), GetDisplayRow(CurrentData));
    for (const int To : Moves)
        DoRowMoved(To, 1, false);
    UpdateScrollRange();
    CheckTopLeftNow();
}

void TPellworthGrid::BuildSelectedRowsList() {
    FSelectedRowsList.clear();
    grid::TgxSelection& Selected = RowSelection();
    for (int Row = Selected.Next(0); Row > 0; Row = Selected.Next(Row))
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
