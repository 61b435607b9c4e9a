// Format and FormatFloat over the patterns the program builds statements and
// messages with.
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Format.h"

#include <benchmark/benchmark.h>

namespace {

void BM_FormatInteger(benchmark::State& state) {
    int id = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(Format("An invalid Alert Id ('%d') was encountered.", ++id));
}
BENCHMARK(BM_FormatInteger);

void BM_FormatStatement(benchmark::State& state) {
    const AnsiString table = "AlertHistory";
    for (auto _ : state)
        benchmark::DoNotOptimize(Format(
            "update %s set Sent = 1 where AlertId = %d and EmpNbr = '%s'", table, 12345, "E-0042"));
}
BENCHMARK(BM_FormatStatement);

void BM_FormatPadded(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(Format("%-12s|%8.2f|%5.3d|%x", "widget", 1234.5678, 7, 0xBEEF));
}
BENCHMARK(BM_FormatPadded);

void BM_FormatMoney(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(Format("%m %n", 1234567.891, 9876.5));
}
BENCHMARK(BM_FormatMoney);

void BM_FormatFloatThousands(benchmark::State& state) {
    double value = 1234567.891;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatFloat("#,##0.00", value));
        value += 0.01;
    }
}
BENCHMARK(BM_FormatFloatThousands);

void BM_FormatFloatSections(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatFloat("0.00;(0.00);'zero'", -42.125));
}
BENCHMARK(BM_FormatFloatSections);

void BM_FormatFloatScientific(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatFloat("0.000E+00", 0.000123456));
}
BENCHMARK(BM_FormatFloatScientific);

void BM_FloatToStr(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(FloatToStr(2.0 / 3.0));
}
BENCHMARK(BM_FloatToStr);

} // namespace
