// The data grid (TgxGrid, browse mode, keeping its own cell values) beside
// Qt's QTableView over a lean table model holding the same cells:
// 1,000,000 rows x 10 columns, every cell a short text, and a few cell,
// row and column properties on the grid's side. Each side
// paints one screen, pages down 100 times (painting each page), and jumps
// to the end. The heap each side holds once filled and painted is reported
// as its peak memory (bytes in use by the allocator, measured around its
// construction), so the ratios come from one run on one machine.
#include "grid/model/Columns.h"
#include "grid/model/GxGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QTableView>

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int DataRows = 1000000;
constexpr int DataCols = 10;
constexpr int ViewWidth = 800;
constexpr int ViewHeight = 600;

std::size_t HeapInUse() {
    const struct mallinfo2 Info = mallinfo2();
    return Info.uordblks + Info.hblkhd;
}

std::string CellText(int Row, int Col) {
    return "R" + std::to_string(Row) + "C" + std::to_string(Col);
}

// ---- our side ---------------------------------------------------------------------------------

struct TGridSide {
    TForm* Form = nullptr;
    grid::TgxGrid* Grid = nullptr;
    std::size_t Peak = 0;

    TGridSide() {
        const std::size_t Before = HeapInUse();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, ViewWidth + 20, ViewHeight + 20);
        Grid = new grid::TgxGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, ViewWidth, ViewHeight);
        Grid->SetGridMode(grid::gmBrowse);
        Grid->SetStoreData(true);
        Grid->SetFastAssign(true);
        Grid->SetGridColCount(DataCols);
        Grid->SetGridRowCount(DataRows);
        for (int R = 1; R <= DataRows; ++R)
            for (int C = 1; C <= DataCols; ++C)
                Grid->SetCellValue(C, R, Variant(AnsiString(CellText(R, C))));
        // A few properties of every level.
        Grid->GetCol(Variant(2))->SetHorzAlignment(grid::htaRight);
        Grid->SetRowColor(3, clYellow);
        for (int R = 10; R <= DataRows; R += DataRows / 5)
            Grid->SetCellColor(4, R, clAqua);
        Grid->SetFastAssign(false);
        Form->Show();
        PaintScreen();
        Peak = HeapInUse() - Before;
    }

    void PaintScreen() {
        Grid->Invalidate();
        Grid->Update();
    }
    void Key(Word K, TShiftState Shift = {}) {
        Grid->KeyDown(K, Shift);
        Grid->Update();
    }
    void Home() { Key(VK_HOME, {ssCtrl}); }
};

// ---- Qt's side ---------------------------------------------------------------------------------

class TCellModel : public QAbstractTableModel {
public:
    TCellModel() {
        Cells.reserve(static_cast<std::size_t>(DataRows) * DataCols);
        for (int R = 1; R <= DataRows; ++R)
            for (int C = 1; C <= DataCols; ++C)
                Cells.push_back(QString::fromStdString(CellText(R, C)));
    }
    int rowCount(const QModelIndex& Parent) const override {
        return Parent.isValid() ? 0 : DataRows;
    }
    int columnCount(const QModelIndex& Parent) const override {
        return Parent.isValid() ? 0 : DataCols;
    }
    QVariant data(const QModelIndex& Index, int Role) const override {
        if (Role != Qt::DisplayRole || !Index.isValid()) return {};
        return Cells[static_cast<std::size_t>(Index.row()) * DataCols +
                     static_cast<std::size_t>(Index.column())];
    }

private:
    std::vector<QString> Cells;
};

struct TQtSide {
    std::unique_ptr<TCellModel> Model;
    std::unique_ptr<QTableView> View;
    std::size_t Peak = 0;

    TQtSide() {
        const std::size_t Before = HeapInUse();
        Model = std::make_unique<TCellModel>();
        View = std::make_unique<QTableView>();
        View->setModel(Model.get());
        View->resize(ViewWidth, ViewHeight);
        View->show();
        PaintScreen();
        Peak = HeapInUse() - Before;
    }

    // The viewport painted into an image, as ours paints into its backing
    // image: every cell on screen is drawn.
    void PaintScreen() { View->viewport()->render(&Screen); }
    void Key(int K, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
        QKeyEvent Press(QEvent::KeyPress, K, Mods);
        QApplication::sendEvent(View.get(), &Press);
        PaintScreen();
    }

    QImage Screen{ViewWidth, ViewHeight, QImage::Format_RGB32};
    void Home() { Key(Qt::Key_Home, Qt::ControlModifier); }
};

TGridSide& Grid() {
    static TGridSide* Side = [] {
        if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
        EnsureQtApplication();
        return new TGridSide;
    }();
    return *Side;
}

TQtSide& Qt() {
    Grid(); // ours first, so each side's heap is measured on its own
    static TQtSide* Side = new TQtSide;
    return *Side;
}

template <class TSide> void Memory(benchmark::State& State, TSide& Side) {
    for (auto _ : State)
        benchmark::DoNotOptimize(Side.Peak);
    State.counters["peak_MB"] = static_cast<double>(Side.Peak) / (1024.0 * 1024.0);
    State.counters["bytes_per_cell"] =
        static_cast<double>(Side.Peak) / (double(DataRows) * DataCols);
}

void BM_GxGrid_Memory(benchmark::State& State) {
    Memory(State, Grid());
}
void BM_QTableView_Memory(benchmark::State& State) {
    Memory(State, Qt());
}

void BM_GxGrid_PaintScreen(benchmark::State& State) {
    TGridSide& S = Grid();
    for (auto _ : State)
        S.PaintScreen();
}
void BM_QTableView_PaintScreen(benchmark::State& State) {
    TQtSide& S = Qt();
    for (auto _ : State)
        S.PaintScreen();
}

void BM_GxGrid_PageDown100(benchmark::State& State) {
    TGridSide& S = Grid();
    for (auto _ : State) {
        State.PauseTiming();
        S.Home();
        State.ResumeTiming();
        for (int I = 0; I < 100; ++I)
            S.Key(VK_NEXT);
    }
}
void BM_QTableView_PageDown100(benchmark::State& State) {
    TQtSide& S = Qt();
    for (auto _ : State) {
        State.PauseTiming();
        S.Home();
        State.ResumeTiming();
        for (int I = 0; I < 100; ++I)
            S.Key(Qt::Key_PageDown);
    }
}

void BM_GxGrid_ScrollToEnd(benchmark::State& State) {
    TGridSide& S = Grid();
    for (auto _ : State) {
        State.PauseTiming();
        S.Home();
        State.ResumeTiming();
        S.Key(VK_END, {ssCtrl});
    }
}
void BM_QTableView_ScrollToEnd(benchmark::State& State) {
    TQtSide& S = Qt();
    for (auto _ : State) {
        State.PauseTiming();
        S.Home();
        State.ResumeTiming();
        S.Key(Qt::Key_End, Qt::ControlModifier);
    }
}

} // namespace

BENCHMARK(BM_GxGrid_Memory)->Iterations(1);
BENCHMARK(BM_QTableView_Memory)->Iterations(1);
BENCHMARK(BM_GxGrid_PaintScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QTableView_PaintScreen)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GxGrid_PageDown100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QTableView_PageDown100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GxGrid_ScrollToEnd)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_QTableView_ScrollToEnd)->Unit(benchmark::kMicrosecond);
