// Row moves in a string grid of many rows that holds cells in only a few
// of them, beside the same moves on a plain vector with one entry per row.
// Arguments: the rows holding a cell, then the grid's row count. The
// sparse grid's cost should follow the first; the vector's follows the
// second.
#include "grid/foundation/StringGrid.h"
#include "platform/gui/QtApp.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

void StartQt() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    EnsureQtApplication();
}

// A grid of RowCount rows with a cell in Stored of them, evenly spread.
std::unique_ptr<grid::TStringGrid_ts> MakeGrid(int Stored, int RowCount) {
    auto Grid = std::make_unique<grid::TStringGrid_ts>(nullptr);
    Grid->SetColCount(3);
    Grid->SetRowCount(RowCount);
    const int Step = RowCount / Stored;
    for (int I = 0; I < Stored; ++I)
        Grid->SetCells(1, 1 + I * Step, "row " + std::to_string(I));
    return Grid;
}

// The reference: every row a slot, a row with no cells an empty one.
struct TRow {
    std::string Text;
};
std::vector<TRow*> MakeRows(std::vector<std::unique_ptr<TRow>>& Keep, int Stored, int RowCount) {
    std::vector<TRow*> Rows(static_cast<std::size_t>(RowCount), nullptr);
    const int Step = RowCount / Stored;
    for (int I = 0; I < Stored; ++I) {
        Keep.push_back(std::make_unique<TRow>(TRow{"row " + std::to_string(I)}));
        Rows[static_cast<std::size_t>(1 + I * Step)] = Keep.back().get();
    }
    return Rows;
}

void MoveRow(std::vector<TRow*>& Rows, int From, int To) {
    TRow* Row = Rows[static_cast<std::size_t>(From)];
    Rows.erase(Rows.begin() + From);
    Rows.insert(Rows.begin() + To, Row);
}

// The first row to the end and back, as a user dragging a row down a long
// grid and back up.
void BM_StringGrid_MoveRowAcross(benchmark::State& State) {
    StartQt();
    const int RowCount = static_cast<int>(State.range(1));
    auto Grid = MakeGrid(static_cast<int>(State.range(0)), RowCount);
    for (auto _ : State) {
        Grid->MoveRow(1, RowCount - 1);
        Grid->MoveRow(RowCount - 1, 1);
    }
    benchmark::DoNotOptimize(Grid->Cells(1, 1));
}

void BM_VectorOfRows_MoveRowAcross(benchmark::State& State) {
    std::vector<std::unique_ptr<TRow>> Keep;
    const int RowCount = static_cast<int>(State.range(1));
    auto Rows = MakeRows(Keep, static_cast<int>(State.range(0)), RowCount);
    for (auto _ : State) {
        MoveRow(Rows, 1, RowCount - 1);
        MoveRow(Rows, RowCount - 1, 1);
        benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(Rows[1]);
}

// Two neighbouring rows in the middle swapped and swapped back.
void BM_StringGrid_SwapNeighbours(benchmark::State& State) {
    StartQt();
    const int Middle = static_cast<int>(State.range(1)) / 2;
    auto Grid = MakeGrid(static_cast<int>(State.range(0)), static_cast<int>(State.range(1)));
    for (auto _ : State) {
        Grid->MoveRow(Middle, Middle + 1);
        Grid->MoveRow(Middle + 1, Middle);
    }
    benchmark::DoNotOptimize(Grid->Cells(1, Middle));
}

void BM_VectorOfRows_SwapNeighbours(benchmark::State& State) {
    std::vector<std::unique_ptr<TRow>> Keep;
    const int Middle = static_cast<int>(State.range(1)) / 2;
    auto Rows = MakeRows(Keep, static_cast<int>(State.range(0)), static_cast<int>(State.range(1)));
    for (auto _ : State) {
        MoveRow(Rows, Middle, Middle + 1);
        MoveRow(Rows, Middle + 1, Middle);
        benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(Rows[static_cast<std::size_t>(Middle)]);
}

void Sizes(benchmark::internal::Benchmark* B) {
    B->ArgNames({"stored", "rows"});
    for (int Stored : {500, 2'000, 20'000})
        B->Args({Stored, 1'000'000});
    // The same stored rows in ten times the rows.
    B->Args({2'000, 10'000'000});
    B->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_StringGrid_MoveRowAcross)->Apply(Sizes);
BENCHMARK(BM_VectorOfRows_MoveRowAcross)->Apply(Sizes);
BENCHMARK(BM_StringGrid_SwapNeighbours)->Apply(Sizes);
BENCHMARK(BM_VectorOfRows_SwapNeighbours)->Apply(Sizes);

} // namespace
