#include "platform/gui/Colors.h"

#include <gtest/gtest.h>

namespace {

TEST(ColorsTest, ColorToRGBResolvesOnlySystemColours) {
    struct Case {
        TColor Color;
        TColor Expected;
    };
    const Case Cases[] = {
        {clRed, 0x0000FF},
        {clWhite, 0xFFFFFF},
        {clBtnFace, 0xC0C0C0},
        {clWindow, 0xFFFFFF},
        {clWindowText, 0x000000},
        {clHighlight, 0x800000},
        {clInfoBk, 0xE1FFFF},
        // Values without the high bit are taken as they are, not-set included.
        {clNone, clNone},
        {clDefault, clDefault},
        // An index past the table resolves to black rather than reading beyond it.
        {static_cast<TColor>(0x800000FF), 0},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(ColorToRGB(C.Color), C.Expected) << std::hex << C.Color;
}

TEST(ColorsTest, SystemColoursCarryTheHighBitAndTheirIndex) {
    EXPECT_EQ(static_cast<std::uint32_t>(clBtnFace), 0x8000000Fu);
    EXPECT_EQ(static_cast<std::uint32_t>(clWindow), 0x80000005u);
    EXPECT_EQ(static_cast<std::uint32_t>(clHighlightText), 0x8000000Eu);
    EXPECT_LT(clScrollBar, 0);
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), 0x563412);
}

} // namespace
