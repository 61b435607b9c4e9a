// The data grid (TgxGrid, browse mode, keeping its own cell values) beside
// Qt's QTableView over a lean table model holding the same cells:
// 1,000,000 rows x 10 columns, every cell a short text, and a few cell,
// row and column properties on the grid's side. Each side
// paints one screen, pages down 100 times (painting each page), and jumps
// to the end; the view runs a second time drawing its texts unshaped, as
// our canvas does, so like is read against like. The heap each side holds once filled and painted is reported
// as its peak memory (bytes in use by the allocator, measured around its
// construction), so the ratios come from one run on one machine.
#include "grid/model/Columns.h"
#include "grid/model/GxGrid.h"
#include "platform/gui/Forms.h"

#include "GridBenchReference.h"

namespace {

using namespace gridbench;

// ---- our side ---------------------------------------------------------------------------------

void FillGrid(grid::TgxGrid& Grid) {
    Grid.SetGridMode(grid::gmBrowse);
    Grid.SetStoreData(true);
    Grid.SetFastAssign(true);
    Grid.SetGridColCount(DataCols);
    Grid.SetGridRowCount(DataRows);
    for (int R = 1; R <= DataRows; ++R)
        for (int C = 1; C <= DataCols; ++C)
            Grid.SetCellValue(C, R, Variant(AnsiString(CellText(R, C))));
    // A few properties of every level.
    Grid.GetCol(Variant(2))->SetHorzAlignment(grid::htaRight);
    Grid.SetRowColor(3, clYellow);
    for (int R = 10; R <= DataRows; R += DataRows / 5)
        Grid.SetCellColor(4, R, clAqua);
    Grid.SetFastAssign(false);
}

using TGridSide = gridbench::TGridSide<grid::TgxGrid>;

TGridSide& Grid() {
    static TGridSide* Side = [] {
        StartQt();
        return new TGridSide(FillGrid);
    }();
    return *Side;
}

TQtSide& Qt() {
    Grid(); // ours first, so each side's heap is measured on its own
    static TQtSide* Side = new TQtSide(MakeCellModel);
    return *Side;
}

// The same view drawing its texts unshaped, as our canvas does.
TQtSide& QtUnshaped() {
    Qt();
    static TQtSide* Side = new TQtSide(MakeCellModel, true);
    return *Side;
}

void BM_GxGrid_Memory(benchmark::State& State) {
    Memory(State, Grid());
}
void BM_QTableView_Memory(benchmark::State& State) {
    Memory(State, Qt());
}
void BM_GxGrid_PaintScreen(benchmark::State& State) {
    PaintScreen(State, Grid());
}
void BM_QTableView_PaintScreen(benchmark::State& State) {
    PaintScreen(State, Qt());
}
void BM_GxGrid_PageDown100(benchmark::State& State) {
    PageDown100(State, Grid());
}
void BM_QTableView_PageDown100(benchmark::State& State) {
    PageDown100(State, Qt());
}
void BM_GxGrid_ScrollToEnd(benchmark::State& State) {
    ScrollToEnd(State, Grid());
}
void BM_QTableView_ScrollToEnd(benchmark::State& State) {
    ScrollToEnd(State, Qt());
}

void BM_QTableViewUnshaped_PaintScreen(benchmark::State& State) {
    PaintScreen(State, QtUnshaped());
}
void BM_QTableViewUnshaped_PageDown100(benchmark::State& State) {
    PageDown100(State, QtUnshaped());
}
void BM_QTableViewUnshaped_ScrollToEnd(benchmark::State& State) {
    ScrollToEnd(State, QtUnshaped());
}

} // namespace

BENCHMARK(BM_GxGrid_Memory)->Iterations(1);
BENCHMARK(BM_QTableView_Memory)->Iterations(1);
BENCHMARK(BM_GxGrid_PaintScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QTableView_PaintScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QTableViewUnshaped_PaintScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GxGrid_PageDown100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QTableView_PageDown100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QTableViewUnshaped_PageDown100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GxGrid_ScrollToEnd)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QTableView_ScrollToEnd)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QTableViewUnshaped_ScrollToEnd)->Unit(benchmark::kMicrosecond);
