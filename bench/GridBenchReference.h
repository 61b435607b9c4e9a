#pragma once
// What the grid benchmarks share: the data set (1,000,000 rows x 10
// columns of short texts), Qt's QTableView over a lean table model holding
// the same cells as the reference, the heap measure, and the three timed
// runs (paint one screen, 100 page-downs each painted, jump to the end).
// A side offers PaintScreen(), Home(), PageDown(), End() and its Peak heap.
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QFont>
#include <QImage>
#include <QKeyEvent>
#include <QTableView>

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace gridbench {

constexpr int DataRows = 1000000;
constexpr int DataCols = 10;
constexpr int ViewWidth = 800;
constexpr int ViewHeight = 600;

inline std::size_t HeapInUse() {
    const struct mallinfo2 Info = mallinfo2();
    return Info.uordblks + Info.hblkhd;
}

inline std::string CellText(int Row, int Col) {
    return "R" + std::to_string(Row) + "C" + std::to_string(Col);
}

inline void StartQt() {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    EnsureQtApplication();
}

// One of our grids on a form of the view's size. Fill puts the cells (and
// any properties) in; the heap is counted from the form's creation to the
// first painted screen.
template <class TGrid> struct TGridSide {
    TForm* Form = nullptr;
    TGrid* Grid = nullptr;
    std::size_t Peak = 0;

    explicit TGridSide(void (*Fill)(TGrid&)) {
        const std::size_t Before = HeapInUse();
        Form = new TForm(nullptr);
        Form->SetBounds(0, 0, ViewWidth + 20, ViewHeight + 20);
        Grid = new TGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, ViewWidth, ViewHeight);
        Fill(*Grid);
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
    void PageDown() { Key(VK_NEXT); }
    void End() { Key(VK_END, {ssCtrl}); }
};

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

// A QTableView over Model, painted into an image as the grids paint into
// their backing images: every cell on screen is drawn.
template <class TModel> struct TQtViewSide {
    std::unique_ptr<TModel> Model;
    std::unique_ptr<QTableView> View;
    std::size_t Peak = 0;
    QImage Screen{ViewWidth, ViewHeight, QImage::Format_RGB32};

    // Unshaped: the view's font skips text shaping where the text needs
    // none, as the platform canvas's fonts do, so the two draw alike.
    explicit TQtViewSide(std::unique_ptr<TModel> (*Make)(), bool Unshaped = false) {
        const std::size_t Before = HeapInUse();
        Model = Make();
        View = std::make_unique<QTableView>();
        View->setModel(Model.get());
        if (Unshaped) {
            QFont Font = View->font();
            Font.setStyleStrategy(QFont::PreferNoShaping);
            View->setFont(Font);
        }
        View->resize(ViewWidth, ViewHeight);
        View->show();
        PaintScreen();
        Peak = HeapInUse() - Before;
    }

    void PaintScreen() { View->viewport()->render(&Screen); }
    void Key(int K, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
        QKeyEvent Press(QEvent::KeyPress, K, Mods);
        QApplication::sendEvent(View.get(), &Press);
        PaintScreen();
    }
    void Home() { Key(Qt::Key_Home, Qt::ControlModifier); }
    void PageDown() { Key(Qt::Key_PageDown); }
    void End() { Key(Qt::Key_End, Qt::ControlModifier); }
};

using TQtSide = TQtViewSide<TCellModel>;

inline std::unique_ptr<TCellModel> MakeCellModel() {
    return std::make_unique<TCellModel>();
}

template <class TSide> void Memory(benchmark::State& State, TSide& Side) {
    for (auto _ : State)
        benchmark::DoNotOptimize(Side.Peak);
    State.counters["peak_MB"] = static_cast<double>(Side.Peak) / (1024.0 * 1024.0);
    State.counters["bytes_per_cell"] =
        static_cast<double>(Side.Peak) / (double(DataRows) * DataCols);
}

template <class TSide> void PaintScreen(benchmark::State& State, TSide& Side) {
    for (auto _ : State)
        Side.PaintScreen();
}

template <class TSide> void PageDown100(benchmark::State& State, TSide& Side) {
    for (auto _ : State) {
        State.PauseTiming();
        Side.Home();
        State.ResumeTiming();
        for (int I = 0; I < 100; ++I)
            Side.PageDown();
    }
}

template <class TSide> void ScrollToEnd(benchmark::State& State, TSide& Side) {
    for (auto _ : State) {
        State.PauseTiming();
        Side.Home();
        State.ResumeTiming();
        Side.End();
    }
}

} // namespace gridbench
