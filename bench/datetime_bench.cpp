// Formatting and parsing dates under the program's own settings, the shapes
// its statements and displays use most.
#include "platform/rtl/DateTime.h"
#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/FormatSettings.h"

#include <benchmark/benchmark.h>

namespace {

const double Sample = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);

void UseProgramSettings() {
    ResetFormatSettings();
    FormatSettings().ShortDateFormat = "yyyy/mm/dd";
    FormatSettings().LongTimeFormat = "hh:mm:ss";
}

void BM_FormatDateTime(benchmark::State& state, const char* format) {
    UseProgramSettings();
    for (auto _ : state)
        benchmark::DoNotOptimize(FormatDateTime(format, Sample));
}
BENCHMARK_CAPTURE(BM_FormatDateTime, statement_date, "yyyy/mm/dd");
BENCHMARK_CAPTURE(BM_FormatDateTime, time_stamp, "yyyy/mm/dd hh:nn:ss'.000'");
BENCHMARK_CAPTURE(BM_FormatDateTime, display_12_hour, "mm/dd/yy h:nnam/pm");
BENCHMARK_CAPTURE(BM_FormatDateTime, names, "ddd mmm d yyyy");
BENCHMARK_CAPTURE(BM_FormatDateTime, settings_c, "c");

void BM_StrToDateTime(benchmark::State& state, const char* text) {
    UseProgramSettings();
    for (auto _ : state)
        benchmark::DoNotOptimize(StrToDateTime(text));
}
BENCHMARK_CAPTURE(BM_StrToDateTime, date_and_time, "2024/03/05 14:07:09");
BENCHMARK_CAPTURE(BM_StrToDateTime, date_only, "2024/03/05");
BENCHMARK_CAPTURE(BM_StrToDateTime, time_only, "2:07 PM");

} // namespace
