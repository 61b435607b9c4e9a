// The edit mask's whole-text check on long fitting texts, beside PCRE (Qt's
// QRegularExpression) answering the same question with the equivalent
// pattern. Both should grow linearly with the text; the complexity line of
// each run shows it. Also times hostile pictures on texts that do not fit
// (the heaviest repeat counts a picture may have), which must stay linear
// too, and the typed check at the end of a long text. Each run reports the
// process's peak resident memory; run one filter at a time to read it per
// picture. Pictures whose counts multiply past what can be checked are
// refused when set, and show as such.
#include "grid/foundation/TextMask.h"

#include <QRegularExpression>
#include <QString>

#include <benchmark/benchmark.h>

#include <string>

#include <sys/resource.h>

namespace {

struct Shape {
    const char* Picture;
    const char* Pattern; // the same language as a regular expression
    char Fill;
    const char* Tail; // put after the fill
};

std::string Repeated(const char* Each, int Count, const char* Before, const char* After,
                     bool Commas) {
    std::string P = Before;
    for (int I = 0; I < Count; ++I)
        P += std::string(Each) + (Commas && I + 1 < Count ? "," : "");
    return P + After;
}

std::string CodesPicture() {
    std::string P = "*{";
    for (int I = 0; I < 300; ++I)
        P += std::string{char('a' + I / 26), char('a' + I % 26), ','};
    P.back() = '}';
    return P;
}

const std::string FiftyFourLiteralsText = Repeated("a", 54, "*@", "x", false);
const std::string FiftyFiveSameText = Repeated("a", 55, "*{", "}", true);
const std::string TwentySevenOptionalsText = Repeated("[a]", 27, "*@", "x", false);
const std::string ThreeHundredCodesText = CodesPicture();
const std::string SixtyLiteralsText = Repeated("a", 60, "*@", "x", false);
const char* const FiftyFourLiterals = FiftyFourLiteralsText.c_str();
const char* const FiftyFiveSameAlternatives = FiftyFiveSameText.c_str();
const char* const TwentySevenOptionals = TwentySevenOptionalsText.c_str();
const char* const ThreeHundredCodes = ThreeHundredCodesText.c_str();
const char* const SixtyLiterals = SixtyLiteralsText.c_str();

const Shape Shapes[] = {
    {"*#", "\\A[0-9]+\\z", '5', ""},
    {"*{0,1,2,3,4,5,6,7,8,9,a,b,c,d,e,f,A,B,C,D,E,F}", "\\A[0-9a-fA-F]+\\z", 'F', ""},
    {"*{aa,ab,ac,ad,ae,af,ag,ah,ai,aj,ak,al,am,an,ao,ap,aq,ar,as,at,au,av,aw,ax,ay,az,"
     "ba,bb,bc,bd,be,bf,bg,bh,bi,bj,bk,bl,bm,bn,bo,bp,bq,br,bs,bt,bu,bv,bw,bx,by,bz,"
     "ca,cb,cc,cd,ce,cf,cg,ch}",
     "\\A(?:a[a-z]|b[a-z]|c[a-h])+\\z", 'c', ""}, // an even length: whole codes
    // As many repetitions as a picture may have (1,000 in all), hostile,
    // and the text does not fit.
    {"*500[*@]x", "\\A.+x\\z", 'a', "y"},
    {"*15{*30[@]}x", "\\A.{0,450}x\\z", 'a', "y"},
    {"*@", "\\A.+\\z", 'q', ""},
    {"{*[#,@]}", "\\A(?:[0-9]|.)+?\\z", '7', ""},
    {"*[#,@]x", "\\A(?:[0-9]|.)*?x\\z", '7', "x"},
    {"*[*[*@]]x", "\\A(?:(?:.)*)*x\\z", 'a', "y"}, // hostile, and does not fit
    // The hostile ones on texts that fit.
    {"*500[*@]x", "\\A.+x\\z", 'a', "x"},
    {"*[*[*@]]x", "\\A(?:(?:.)*)*x\\z", 'a', "x"},
    // At least 500 characters, then x; and more nesting.
    {"*500{*@}x", "\\A.{500,}x\\z", 'a', "y"},
    {"*[*[*[*[*@]]]]x", "\\A(?:(?:(?:(?:.)*)*)*)*x\\z", 'a', "y"},
    // Counts multiplying past what can be checked: refused when set.
    {"*50000[*@]x", "\\A.+x\\z", 'a', "y"},
    {"*9999{*9999[@]}x", "\\A.*x\\z", 'a', "y"},
    // A counted character after a repeat (passed in one step), and a
    // counted group of varying length after one, at the most counts taken.
    {"*@*500#x", "\\A.*[0-9]{500}x\\z", '1', "y"},
    {"*@*8{#,##}x", "\\A.*(?:[0-9]|[0-9]{2}){8}x\\z", '1', "y"},
    // The most ways a picture may follow at once at each place (above
    // that it is refused when set): literals under way after a repeat,
    // alternatives that all take the same character, optional literals.
    {FiftyFourLiterals, "\\A.*a{54}x\\z", 'a', "y"},
    {FiftyFiveSameAlternatives, "\\A(?:a)+\\z", 'a', ""},
    {TwentySevenOptionals, "\\A.*(?:a?){27}x\\z", 'a', "y"},
    // 300 two-letter codes, tried only where their first letter stands.
    {ThreeHundredCodes, "\\A(?:[a-k][a-z]|l[a-n])+\\z", 'l', ""},
    // Past the limit: refused when set.
    {SixtyLiterals, "\\A.*a{60}x\\z", 'a', "y"},
};

std::string TextFor(const Shape& S, long Length) {
    return std::string(static_cast<std::size_t>(Length), S.Fill) + S.Tail;
}

void ReportPeak(benchmark::State& State) {
    rusage Usage{};
    getrusage(RUSAGE_SELF, &Usage);
    State.counters["peak_rss_MB"] = static_cast<double>(Usage.ru_maxrss) / 1024.0;
}

// A picture refused when set is reported as such, not timed.
bool Take(benchmark::State& State, grid::TgxTextMask& Mask, const char* Picture) {
    try {
        Mask.SetPicture(Picture);
        return true;
    } catch (const grid::EgxMaskError& E) {
        State.SkipWithError(E.Message.c_str());
        return false;
    }
}

void BM_MaskValidText(benchmark::State& State, int Index) {
    const Shape& S = Shapes[Index];
    grid::TgxTextMask Mask;
    if (!Take(State, Mask, S.Picture)) return;
    const std::string Text = TextFor(S, State.range(0));
    bool Fits = false;
    for (auto _ : State) {
        Fits = Mask.ValidText(Text, true);
        benchmark::DoNotOptimize(Fits);
    }
    State.counters["fits"] = Fits;
    ReportPeak(State);
    State.SetComplexityN(State.range(0));
}

// The last character typed at the end of the rest, with literals that may
// be inserted: the search looks at every way the text fits.
void BM_MaskValidInput(benchmark::State& State, int Index) {
    const Shape& S = Shapes[Index];
    grid::TgxTextMask Mask;
    if (!Take(State, Mask, S.Picture)) return;
    const std::string Text = TextFor(S, State.range(0));
    const std::string Before = Text.substr(0, Text.size() - 1);
    bool Fits = false;
    for (auto _ : State) {
        std::string Input = Text.substr(Text.size() - 1);
        Fits = Mask.ValidInput(Before, Input, static_cast<int>(Text.size()), true, true);
        benchmark::DoNotOptimize(Fits);
    }
    State.counters["fits"] = Fits;
    ReportPeak(State);
    State.SetComplexityN(State.range(0));
}

// The whole text pasted with the caret at its start, literals that may be
// inserted: each way of checking typed input (as it stands, converted, with
// literals inserted, both) may be asked of the whole text.
void BM_MaskValidPaste(benchmark::State& State, int Index, bool Upper) {
    const Shape& S = Shapes[Index];
    grid::TgxTextMask Mask;
    if (!Take(State, Mask, S.Picture)) return;
    std::string Text = TextFor(S, State.range(0));
    // In capitals, lower-case literals are taken only converted: the
    // converted way has a change to note at every character.
    if (Upper)
        for (char& C : Text)
            if (C >= 'a' && C <= 'z') C = static_cast<char>(C - 'a' + 'A');
    bool Fits = false;
    for (auto _ : State) {
        std::string Input = Text;
        Fits = Mask.ValidInput(std::string(), Input, 1, true, true);
        benchmark::DoNotOptimize(Fits);
    }
    State.counters["fits"] = Fits;
    ReportPeak(State);
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
    BENCHMARK_CAPTURE(BM_MaskValidInput, Name, Index)                                              \
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
MASK_SHAPE(hex_alternatives, 1);
MASK_SHAPE(sixty_codes, 2);
MASK_SHAPE(counted_any_misfit, 3);
MASK_SHAPE(nested_counts_misfit, 4);
MASK_SHAPE(any, 5);
MASK_SHAPE(digit_or_any_group, 6);
MASK_SHAPE(digit_or_any_then_literal, 7);
MASK_SHAPE(nested_repeats_misfit, 8);
MASK_SHAPE(counted_any_fits, 9);
MASK_SHAPE(nested_repeats_fits, 10);
MASK_SHAPE(counted_required_misfit, 11);
MASK_SHAPE(deep_repeats_misfit, 12);
// Refused when set: shown once, with the message, and no figures.
#define MASK_REFUSED(Name, Index)                                                                  \
    BENCHMARK_CAPTURE(BM_MaskValidText, Name, Index)->Arg(100000)->Unit(benchmark::kMicrosecond)

MASK_REFUSED(count_50000_refused, 13);
MASK_REFUSED(counts_multiplied_refused, 14);
MASK_SHAPE(counted_char_after_repeat_misfit, 15);
MASK_SHAPE(counted_group_after_repeat_misfit, 16);
MASK_SHAPE(most_literals_under_way_misfit, 17);
MASK_SHAPE(most_same_alternatives_fits, 18);
MASK_SHAPE(most_optionals_misfit, 19);
MASK_SHAPE(three_hundred_codes_fits, 20);
MASK_REFUSED(sixty_literals_refused, 21);
// Pasted whole, as it stands and in capitals: the pictures that follow the
// most ways at once, on a text that does not fit (optional literals, and
// literals under way) and on one that fits.
#define MASK_PASTE(Name, Index)                                                                    \
    BENCHMARK_CAPTURE(BM_MaskValidPaste, Name, Index, false)                                       \
        ->RangeMultiplier(10)                                                                      \
        ->Range(1000, 100000)                                                                      \
        ->Complexity(benchmark::oN)                                                                \
        ->Unit(benchmark::kMicrosecond);                                                           \
    BENCHMARK_CAPTURE(BM_MaskValidPaste, Name##_upper, Index, true)                                \
        ->RangeMultiplier(10)                                                                      \
        ->Range(1000, 100000)                                                                      \
        ->Complexity(benchmark::oN)                                                                \
        ->Unit(benchmark::kMicrosecond)

MASK_PASTE(most_optionals_misfit, 19);
MASK_PASTE(most_literals_under_way_misfit, 17);
MASK_PASTE(most_same_alternatives_fits, 18);

} // namespace
