// Sorting the company grid by a number column and by a text column, for
// 12,500 up to 100,000 rows, beside the reference: std::stable_sort of the
// same keys held in a plain vector (a row's key is its cell's text, numbers
// included). The grid reads every key through its cell values, sorts
// stably and then shows all rows in the new order; the
// fitted complexity of both should be n log n, and the ratio of the two
// at 100,000 rows is what the grid adds around the bare sort.
#include "components/PellworthGrid.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/FloatFormat.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

// Row r's number (random, with repeats) and text.
std::vector<std::pair<int, std::string>> Keys(int Rows) {
    std::mt19937 Random(7);
    std::uniform_int_distribution<int> Number(0, Rows / 4);
    std::vector<std::pair<int, std::string>> Result;
    Result.reserve(static_cast<std::size_t>(Rows));
    for (int R = 0; R < Rows; ++R) {
        const int N = Number(Random);
        Result.emplace_back(N, "Customer " + std::to_string(N * 7919 % 100003));
    }
    return Result;
}

std::unique_ptr<components::TPellworthGrid> FilledGrid(int Rows) {
    EnsureQtApplication();
    auto Grid = std::make_unique<components::TPellworthGrid>(nullptr);
    Grid->SetFastAssign(true);
    Grid->SetGridColCount(2);
    Grid->SetGridRowCount(Rows);
    const auto Data = Keys(Rows);
    for (int R = 1; R <= Rows; ++R) {
        const auto& [Number, Text] = Data[static_cast<std::size_t>(R) - 1];
        Grid->SetCellValue(1, R, Variant(IntToStr(Number)));
        Grid->SetCellValue(2, R, Variant(AnsiString(Text)));
    }
    Grid->SetFastAssign(false);
    return Grid;
}

// Arguments: rows, the column (1 numbers, 2 text).
void BM_GridSort(benchmark::State& State) {
    const auto Grid = FilledGrid(static_cast<int>(State.range(0)));
    const int Col = static_cast<int>(State.range(1));
    for (auto _ : State) {
        Grid->Unsort();
        Grid->Sort(&Col, 1, 0, Col == 2 ? 1 : 0);
    }
    State.SetComplexityN(State.range(0));
}

// The reference: the same keys in a vector, sorted stably by the column.
void BM_ReferenceStableSort(benchmark::State& State) {
    std::vector<std::string> Texts;
    for (const auto& [Number, Text] : Keys(static_cast<int>(State.range(0))))
        Texts.push_back(State.range(1) == 2 ? Text : std::to_string(Number));
    for (auto _ : State) {
        auto Copy = Texts;
        std::stable_sort(Copy.begin(), Copy.end());
        benchmark::DoNotOptimize(Copy.data());
    }
    State.SetComplexityN(State.range(0));
}

// Each column is a family of its own, so each gets its own complexity fit.
template <int Col> void SortSizes(benchmark::internal::Benchmark* B) {
    for (const int Rows : {12500, 25000, 50000, 100000})
        B->Args({Rows, Col});
    B->Unit(benchmark::kMillisecond)->Complexity(benchmark::oNLogN);
}

} // namespace

BENCHMARK(BM_GridSort)->Apply(SortSizes<1>);
BENCHMARK(BM_ReferenceStableSort)->Apply(SortSizes<1>);
BENCHMARK(BM_GridSort)->Apply(SortSizes<2>);
BENCHMARK(BM_ReferenceStableSort)->Apply(SortSizes<2>);
