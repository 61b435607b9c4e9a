// The grid's XML export beside its CSV export of the same cells: 10,000 rows
// of 20, 100 and 200 columns of short texts, each written to a file. The
// CSV export is the reference: the XML document carries each cell once more
// (its attribute name), so it may take a few times as long, but its time
// must grow with the number of cells, not with the square of the columns.
#include "grid/model/Columns.h"
#include "grid/model/GxGrid.h"
#include "platform/gui/QtApp.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

constexpr int Rows = 10000;

grid::TgxGrid& GridOf(int Cols) {
    static std::map<int, std::unique_ptr<grid::TgxGrid>> Grids;
    auto& Slot = Grids[Cols];
    if (!Slot) {
        EnsureQtApplication();
        Slot = std::make_unique<grid::TgxGrid>(nullptr);
        grid::TgxGrid& G = *Slot;
        G.SetStoreData(true);
        G.SetGridColCount(Cols);
        G.SetGridRowCount(Rows);
        for (int C = 1; C <= Cols; ++C)
            G.GridCols()->Item(C)->SetHeading("Column " + std::to_string(C));
        for (int R = 1; R <= Rows; ++R)
            for (int C = 1; C <= Cols; ++C)
                G.SetCellValue(C, R, Variant(AnsiString("r" + std::to_string(R) + "c" +
                                                        std::to_string(C))));
    }
    return *Slot;
}

std::string Target(const char* Ext) {
    return "/tmp/grid-export-bench-" + std::to_string(::getpid()) + "." + Ext;
}

// Each run writes the same cells, as CSV or as XML.
void Export(benchmark::State& State, bool Xml) {
    grid::TgxGrid& G = GridOf(static_cast<int>(State.range(0)));
    const std::string File = Target(Xml ? "xml" : "csv");
    // The memory an export touches afresh shows as minor page faults.
    const auto Faults = [] {
        rusage Usage{};
        getrusage(RUSAGE_SELF, &Usage);
        return static_cast<double>(Usage.ru_minflt);
    };
    const double FaultsBefore = Faults();
    for (auto _ : State) {
        if (Xml)
            G.ExportXML(File);
        else
            G.ExportCSV(File);
    }
    State.counters["faults"] = benchmark::Counter(Faults() - FaultsBefore,
                                                  benchmark::Counter::kAvgIterations);
    std::remove(File.c_str());
    State.counters["cells"] = static_cast<double>(Rows) * static_cast<double>(State.range(0));
}

void BM_ExportCSV(benchmark::State& State) {
    Export(State, false);
}

void BM_ExportXML(benchmark::State& State) {
    Export(State, true);
}

BENCHMARK(BM_ExportCSV)->Arg(20)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportXML)->Arg(20)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

} // namespace
