// The string grid beside Qt's QTableView over a model holding the same
// cells: 1,000,000 rows x 10 columns, every cell a short text. The main
// reference is a lean table model over a vector of QString; Qt's standard
// item model is measured as well, for scale. Each side
// paints one screen, pages down 100 times (painting each page), and jumps
// to the end. The heap each side holds once filled and painted is reported
// as its peak memory (bytes in use by the allocator, measured around its
// construction), so the ratios come from one run on one machine.
#include "grid/foundation/StringGrid.h"
#include "platform/gui/Forms.h"

#include <QStandardItemModel>

#include "GridBenchReference.h"

namespace {

using namespace gridbench;

// ---- our side ---------------------------------------------------------------------------------

void FillGrid(grid::TStringGrid_ts& Grid) {
    Grid.SetColCount(DataCols + 1);
    Grid.SetRowCount(DataRows + 1);
    for (int R = 1; R <= DataRows; ++R)
        for (int C = 1; C <= DataCols; ++C)
            Grid.SetCells(C, R, CellText(R, C));
}

using TGridSide = gridbench::TGridSide<grid::TStringGrid_ts>;

// The same view over Qt's own item model, the one a string grid is most
// often replaced with: for scale, memory and one screen only.
std::unique_ptr<QStandardItemModel> MakeItemModel() {
    auto Model = std::make_unique<QStandardItemModel>(DataRows, DataCols);
    for (int R = 0; R < DataRows; ++R)
        for (int C = 0; C < DataCols; ++C)
            Model->setItem(R, C, new QStandardItem(QString::fromStdString(CellText(R + 1, C + 1))));
    return Model;
}
using TQtItemsSide = TQtViewSide<QStandardItemModel>;

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

TQtItemsSide& QtItems() {
    Qt(); // measured after the other two
    static TQtItemsSide* Side = new TQtItemsSide(MakeItemModel);
    return *Side;
}

void BM_Grid_Memory(benchmark::State& State) {
    Memory(State, Grid());
}
void BM_QTableView_Memory(benchmark::State& State) {
    Memory(State, Qt());
}
void BM_QTableViewItems_Memory(benchmark::State& State) {
    Memory(State, QtItems());
}
void BM_Grid_PaintScreen(benchmark::State& State) {
    PaintScreen(State, Grid());
}
void BM_QTableView_PaintScreen(benchmark::State& State) {
    PaintScreen(State, Qt());
}
void BM_QTableViewItems_PaintScreen(benchmark::State& State) {
    PaintScreen(State, QtItems());
}
void BM_Grid_PageDown100(benchmark::State& State) {
    PageDown100(State, Grid());
}
void BM_QTableView_PageDown100(benchmark::State& State) {
    PageDown100(State, Qt());
}
void BM_Grid_ScrollToEnd(benchmark::State& State) {
    ScrollToEnd(State, Grid());
}
void BM_QTableView_ScrollToEnd(benchmark::State& State) {
    ScrollToEnd(State, Qt());
}

} // namespace

BENCHMARK(BM_Grid_Memory)->Iterations(1);
BENCHMARK(BM_QTableView_Memory)->Iterations(1);
BENCHMARK(BM_QTableViewItems_Memory)->Iterations(1);
BENCHMARK(BM_Grid_PaintScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QTableView_PaintScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QTableViewItems_PaintScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Grid_PageDown100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QTableView_PageDown100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Grid_ScrollToEnd)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QTableView_ScrollToEnd)->Unit(benchmark::kMicrosecond);
