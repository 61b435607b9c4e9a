// The edit mask's whole-text check on long fitting texts, beside PCRE (Qt's
// QRegularExpression) answering the same question with the equivalent
// pattern. Both should grow linearly with the text; the complexity line of
// each run shows it. Also times a hostile picture on a text that does not
// fit, which must stay linear too.
#include "grid/foundation/TextMask.h"

#include <QRegularExpression>
#include <QString>

#include <benchmark/benchmark.h>

#include <string>

namespace {

struct Shape {
    const char* Picture;
    const char* Pattern; // the same language as a regular expression
    char Fill;
    const char* Tail; // put after the fill
};

const Shape Shapes[] = {
    {"*#", "\\A[0-9]+\\z", '5', ""},
    {"*@", "\\A.+\\z", 'q', ""},
    {"{*[#,@]}", "\\A(?:[0-9]|.)+?\\z", '7', ""},
    {"*[#,@]x", "\\A(?:[0-9]|.)*?x\\z", '7', "x"},
    {"*[*[*@]]x", "\\A(?:(?:.)*)*x\\z", 'a', "y"}, // hostile, and does not fit
};

std::string TextFor(const Shape& S, long Length) {
    return std::string(static_cast<std::size_t>(Length), S.Fill) + S.Tail;
}

void BM_MaskValidText(benchmark::State& State, int Index) {
    const Shape& S = Shapes[Index];
    grid::TgxTextMask Mask;
    Mask.SetPicture(S.Picture);
    const std::string Text = TextFor(S, State.range(0));
    bool Fits = false;
    for (auto _ : State) {
        Fits = Mask.ValidText(Text, true);
        benchmark::DoNotOptimize(Fits);
    }
    State.counters["fits"] = Fits;
    State.SetComplexityN(State.range(0));
}

void BM_RegexReference(benchmark::State& State, int Index) {
    const Shape& S = Shapes[Index];
    const QRegularExpression Expression(QString::fromLatin1(S.Pattern),
                                        QRegularExpression::DotMatchesEverythingOption);
    Expression.optimize();
    const QString Text = QString::fromStdString(TextFor(S, State.range(0)));
    bool Fits = false;
    for (auto _ : State) {
        Fits = Expression.match(Text).hasMatch();
        benchmark::DoNotOptimize(Fits);
    }
    State.counters["fits"] = Fits;
    State.SetComplexityN(State.range(0));
}

#define MASK_SHAPE(Name, Index)                                                                    \
    BENCHMARK_CAPTURE(BM_MaskValidText, Name, Index)                                               \
        ->RangeMultiplier(10)                                                                      \
        ->Range(1000, 100000)                                                                      \
        ->Complexity(benchmark::oN)                                                                \
        ->Unit(benchmark::kMicrosecond);                                                           \
    BENCHMARK_CAPTURE(BM_RegexReference, Name, Index)                                              \
        ->RangeMultiplier(10)                                                                      \
        ->Range(1000, 100000)                                                                      \
        ->Complexity(benchmark::oN)                                                                \
        ->Unit(benchmark::kMicrosecond)

MASK_SHAPE(digits, 0);
MASK_SHAPE(any, 1);
MASK_SHAPE(digit_or_any_group, 2);
MASK_SHAPE(digit_or_any_then_literal, 3);
MASK_SHAPE(nested_repeats_misfit, 4);

} // namespace
