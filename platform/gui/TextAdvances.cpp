#include "platform/gui/TextAdvances.h"

#include <QString>

#include <algorithm>
#include <cmath>

TTextAdvances::TTextAdvances(const QFont& Font) : FMetrics(Font) {
    FAdvances.fill(Unknown);
}

TTextAdvances::~TTextAdvances() = default;

double TTextAdvances::Measure(std::u16string_view Text) const {
    // Unrounded, through the same layout as the rounded width, so that the
    // parts add up to exactly what a whole text measures before rounding.
    const QString S(reinterpret_cast<const QChar*>(Text.data()), static_cast<qsizetype>(Text.size()));
    return FMetrics.horizontalAdvance(S);
}

std::int32_t TTextAdvances::Advance(int Index) {
    std::int32_t& Value = FAdvances[static_cast<std::size_t>(Index)];
    if (Value == Unknown) {
        const char16_t C = static_cast<char16_t>(First + Index);
        Value = static_cast<std::int32_t>(std::lround(Measure({&C, 1}) * 64));
    }
    return Value;
}

std::int32_t TTextAdvances::Kerning(int Left, int Right) {
    if (!FKerning) {
        FKerning = std::make_unique<std::int32_t[]>(static_cast<std::size_t>(Count) * Count);
        std::fill_n(FKerning.get(), Count * Count, Unknown);
    }
    std::int32_t& Value = FKerning[static_cast<std::size_t>(Left * Count + Right)];
    if (Value == Unknown) {
        const char16_t Pair[] = {static_cast<char16_t>(First + Left),
                                 static_cast<char16_t>(First + Right)};
        const auto Both = static_cast<std::int32_t>(std::lround(Measure({Pair, 2}) * 64));
        Value = Both - Advance(Left) - Advance(Right);
    }
    return Value;
}

std::optional<int> TTextAdvances::Width(std::string_view Text) {
    std::int64_t Total = 0;
    int Previous = -1;
    for (const char Byte : Text) {
        const int Index = static_cast<unsigned char>(Byte) - First;
        if (Index < 0 || Index >= Count) return std::nullopt;
        Total += Step(Previous, Index);
        Previous = Index;
    }
    return Rounded(Total);
}

std::size_t TTextAdvances::MeasureRun(std::string_view Text, TTextRun& Run) {
    const auto Plain = [](char Byte) {
        const int Code = static_cast<unsigned char>(Byte);
        return Code >= First && Code < First + Count;
    };
    std::size_t N = 0;
    while (N < Text.size() && Plain(Text[N]))
        ++N;
    Run.FEnds.resize(N + 1);
    Run.FStarts.resize(N);
    Run.FEnds[0] = 0;
    if (N == 0) return 0;
    std::int64_t* Ends = Run.FEnds.data();
    std::int64_t* Starts = Run.FStarts.data();
    // The tables are read through local pointers; a glyph or pair met for
    // the first time is measured out of line.
    const std::int32_t* Advances = FAdvances.data();
    const auto Own = [&](int Index) {
        const std::int32_t Known = Advances[Index];
        return Known != Unknown ? Known : Advance(Index);
    };
    int Previous = static_cast<unsigned char>(Text[0]) - First;
    std::int64_t Total = Own(Previous);
    Starts[0] = 0;
    Ends[1] = Total;
    if (N > 1 && !FKerning) Kerning(Previous, static_cast<unsigned char>(Text[1]) - First);
    const std::int32_t* Pairs = FKerning.get();
    for (std::size_t K = 1; K < N; ++K) {
        const int Index = static_cast<unsigned char>(Text[K]) - First;
        std::int32_t Pair = Pairs[Previous * Count + Index];
        if (Pair == Unknown) Pair = Kerning(Previous, Index);
        Starts[K] = Total + Pair;
        Total += Own(Index) + Pair;
        Ends[K + 1] = Total;
        Previous = Index;
    }
    return N;
}

bool TTextAdvances::GlyphOffsets(std::string_view Text, std::vector<std::int32_t>& Offsets) {
    for (const char Byte : Text) {
        const int Index = static_cast<unsigned char>(Byte) - First;
        if (Index < 0 || Index >= Count) return false;
    }
    Offsets.resize(Text.size());
    // A kerned pair moves the right glyph: the pair's adjustment belongs to
    // the left glyph's advance, as Qt applies it.
    std::int32_t X = 0;
    int Previous = -1;
    for (std::size_t K = 0; K < Text.size(); ++K) {
        const int Index = static_cast<unsigned char>(Text[K]) - First;
        if (Previous >= 0) X += KnownKerning(Previous, Index);
        Offsets[K] = X;
        X += KnownAdvance(Index);
        Previous = Index;
    }
    return true;
}
