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

std::size_t TTextAdvances::PrefixWidths(std::string_view Text, std::vector<int>& Widths) {
    Widths.clear();
    std::int64_t Total = 0;
    int Previous = -1;
    for (const char Byte : Text) {
        const int Index = static_cast<unsigned char>(Byte) - First;
        if (Index < 0 || Index >= Count) break;
        Total += Step(Previous, Index);
        Previous = Index;
        Widths.push_back(Rounded(Total));
    }
    return Widths.size();
}
