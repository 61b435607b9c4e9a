// Memory of a large grid that keeps its own values but has no cell
// properties, beside a plain vector-of-vectors of Variants holding the same
// cells; and the cost of adding rows one at a time.
#include "grid/foundation/CellStore.h"
#include "grid/model/BaseGrid.h"
#include "platform/gui/QtApp.h"
#include "SteadyHeap.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstddef>
#if defined(__SANITIZE_ADDRESS__)
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int BenchRows = 1'000'000;
constexpr int BenchCols = 10;

// Bytes the program has allocated and not freed (the sanitizer keeps its
// own heap, which malloc's statistics do not see).
std::size_t HeapInUse() {
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 Info = mallinfo2();
    return Info.uordblks + Info.hblkhd;
#endif
}

void StartQt() {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    EnsureQtApplication();
}

// Column 1 text, the other columns integers: the shape of the alert grid.
Variant CellValue(int Col, int Row) {
    if (Col == 1) return Variant(AnsiString("Alert ") + std::to_string(Row));
    return Variant(Row * 10 + Col);
}

void BM_GridMemory_Grid(benchmark::State& State) {
    StartQt();
    for (auto _ : State) {
        const std::size_t Before = HeapInUse();
        auto Grid = std::make_unique<grid::TgxBaseGrid>(nullptr);
        Grid->SetStoreData(true);
        Grid->SetGridColCount(BenchCols);
        Grid->SetGridRowCount(BenchRows);
        for (int R = 1; R <= BenchRows; ++R)
            for (int C = 1; C <= BenchCols; ++C)
                Grid->SetCellValue(C, R, CellValue(C, R));
        const std::size_t After = HeapInUse();
        State.counters["bytes_per_cell"] =
            static_cast<double>(After - Before) / (double(BenchRows) * BenchCols);
        benchmark::DoNotOptimize(Grid.get());
    }
}
BENCHMARK(BM_GridMemory_Grid)->Iterations(1)->Unit(benchmark::kMillisecond);

// The grid's own share: a million rows with no value and no property.
void BM_GridMemory_RowsOnly(benchmark::State& State) {
    StartQt();
    for (auto _ : State) {
        const std::size_t Before = HeapInUse();
        auto Grid = std::make_unique<grid::TgxBaseGrid>(nullptr);
        Grid->SetGridColCount(BenchCols);
        Grid->SetGridRowCount(BenchRows);
        const std::size_t After = HeapInUse();
        State.counters["bytes_per_row"] = static_cast<double>(After - Before) / double(BenchRows);
        benchmark::DoNotOptimize(Grid.get());
    }
}
BENCHMARK(BM_GridMemory_RowsOnly)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_GridMemory_Reference(benchmark::State& State) {
    for (auto _ : State) {
        const std::size_t Before = HeapInUse();
        std::vector<std::vector<Variant>> Cells(BenchRows + 1);
        for (int R = 1; R <= BenchRows; ++R) {
            Cells[static_cast<std::size_t>(R)].resize(BenchCols + 1);
            for (int C = 1; C <= BenchCols; ++C)
                Cells[static_cast<std::size_t>(R)][static_cast<std::size_t>(C)] = CellValue(C, R);
        }
        const std::size_t After = HeapInUse();
        State.counters["bytes_per_cell"] =
            static_cast<double>(After - Before) / (double(BenchRows) * BenchCols);
        benchmark::DoNotOptimize(Cells.data());
    }
}
BENCHMARK(BM_GridMemory_Reference)->Iterations(1)->Unit(benchmark::kMillisecond);

// Both sides of the row-adding comparison run long enough that a fraction
// of a millisecond (the reference at 4,096 rows) is read over thousands of
// runs, not a few hundred that a busy machine can skew.
constexpr double AddRowsMinTime = 2.0;

// Rows added one at a time, as the alert program adds its alerts: the
// total must grow linearly with the number of rows.
void BM_GridAddRowsOneAtATime(benchmark::State& State) {
    StartQt();
    benchheap::SteadyHeap();
    const int Rows = static_cast<int>(State.range(0));
    for (auto _ : State) {
        grid::TgxBaseGrid Grid(nullptr);
        Grid.SetStoreData(true);
        Grid.SetGridColCount(6);
        Grid.SetGridRowCount(0);
        for (int R = 1; R <= Rows; ++R) {
            Grid.SetGridRowCount(R);
            Grid.SetCellValue(1, R, Variant("Alert text"));
            Grid.SetCellValue(2, R, Variant(R));
        }
        benchmark::DoNotOptimize(Grid.GetGridRowCount());
    }
    State.SetComplexityN(Rows);
}
BENCHMARK(BM_GridAddRowsOneAtATime)
    ->RangeMultiplier(4)
    ->Range(4096, 65536)
    ->MinTime(AddRowsMinTime)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The same rows held in a vector of Variant rows, grown one row at a time.
void BM_ReferenceAddRowsOneAtATime(benchmark::State& State) {
    benchheap::SteadyHeap();
    const int Rows = static_cast<int>(State.range(0));
    for (auto _ : State) {
        std::vector<std::vector<Variant>> Cells(1);
        for (int R = 1; R <= Rows; ++R) {
            Cells.emplace_back(7);
            Cells.back()[1] = Variant("Alert text");
            Cells.back()[2] = Variant(R);
        }
        benchmark::DoNotOptimize(Cells.data());
    }
    State.SetComplexityN(Rows);
}
BENCHMARK(BM_ReferenceAddRowsOneAtATime)
    ->RangeMultiplier(4)
    ->Range(4096, 65536)
    ->MinTime(AddRowsMinTime)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
