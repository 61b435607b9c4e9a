#pragma once
// Widths of printable ASCII texts in one font without asking Qt to lay each
// text out. Line breaking measures every prefix of a line; laying out each
// one costs thousands of instructions, while a sum over glyphs costs a few.
#include "platform/gui/Graphics.h"

#include <QFont>
#include <QFontMetricsF>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

class TTextAdvances {
public:
    // Font must draw Latin text unshaped (QFont::PreferNoShaping): its
    // widths are then each glyph's advance plus a kerning adjustment for
    // each adjacent pair, which is what is summed here.
    explicit TTextAdvances(const QFont& Font);
    ~TTextAdvances();

    // The width QFontMetrics::horizontalAdvance gives Text, or nothing when
    // Text holds a byte outside ' '..'~' (tabs, line ends, UTF-8) and must
    // be laid out.
    std::optional<int> Width(std::string_view Text);
    // Measures into Run the bytes Text starts with that lie in ' '..'~';
    // returns how many those are.
    std::size_t MeasureRun(std::string_view Text, TTextRun& Run);
    // Offsets[K] = where the glyph of Text's byte K stands from the text's
    // start, in 1/64 pixel, as Qt places it when it draws Text; false, with
    // Offsets left as they were, when a byte lies outside ' '..'~'.
    bool GlyphOffsets(std::string_view Text, std::vector<std::int32_t>& Offsets);

private:
    static constexpr int First = 0x20;
    static constexpr int Count = 0x7F - First;
    static constexpr std::int32_t Unknown = INT32_MIN;

    // In 1/64 pixel, as Qt keeps advances; measured on first use.
    std::int32_t Advance(int Index);
    std::int32_t Kerning(int Left, int Right);
    std::int32_t KnownAdvance(int Index) {
        const std::int32_t Known = FAdvances[static_cast<std::size_t>(Index)];
        return Known != Unknown ? Known : Advance(Index);
    }
    std::int32_t KnownKerning(int Left, int Right) {
        const std::int32_t Pair =
            FKerning ? FKerning[static_cast<std::size_t>(Left * Count + Right)] : Unknown;
        return Pair != Unknown ? Pair : Kerning(Left, Right);
    }
    // The next glyph's share of a running total, in 1/64 pixel.
    std::int32_t Step(int Previous, int Index) {
        std::int32_t Sum = KnownAdvance(Index);
        if (Previous >= 0) Sum += KnownKerning(Previous, Index);
        return Sum;
    }
    // Qt rounds a 1/64 total half up.
    static int Rounded(std::int64_t Total) { return static_cast<int>((Total + 32) >> 6); }
    double Measure(std::u16string_view Text) const;

    QFontMetricsF FMetrics; // one for all: each new one looks the font up again
    std::array<std::int32_t, Count> FAdvances;
    std::unique_ptr<std::int32_t[]> FKerning; // Count x Count, made on first pair
};
