// Property defaults and the colour and alignment helpers.
#include "grid/model/PropDefaults.h"

#include "grid/foundation/CustomGrid.h"

#include "platform/rtl/Variant.h"

#include <gtest/gtest.h>

using namespace grid;

namespace {

TEST(PropDefaults, DefaultsByKind) {
    struct Case {
        TgxProperty Prop;
        Variant Expected;
    };
    const Case Cases[] = {
        {prColor, Variant(0x1FFFFFFF)},
        {prReadOnly, Variant(false)},
        {prAlignment, Variant(0)},
        {prWordWrap, Variant(2)},
        {prButtonType, Variant(3)},
        {prDropDownStyle, Variant(0)},
        {prCellReadOnly, Variant(2)},
        {prParentFont, Variant(true)},
        {prMask, Variant(AnsiString())},
        {prParentCombo, Variant(true)},
        {prPicture, Variant(2)},
        {prControlType, Variant(4)},
        {prSpinOptions, Variant(7)},
        {prSpinIncrement, Variant(1)},
        {prHorzAlignment, Variant(3)},
        {prVertAlignment, Variant(3)},
        {prTag, Variant(0)},
    };
    for (const Case& C : Cases) {
        const Variant V = PropertyDefaultValue(C.Prop);
        EXPECT_EQ(V.Type(), C.Expected.Type()) << static_cast<int>(C.Prop);
        EXPECT_TRUE(VariantEqual(V, C.Expected)) << static_cast<int>(C.Prop);
    }
    // No default: an unassigned value, which an empty mask text is not.
    for (TgxProperty P : {prDisplayNumber, prWidth, prHeight, prVisible, prChanged, prHeadingButton,
                          prSortPicture, prMaxLength, prAllowGrayed})
        EXPECT_TRUE(PropertyDefaultValue(P).IsEmpty()) << static_cast<int>(P);
    EXPECT_FALSE(PropertyDefaultValue(prMask).IsEmpty());
    // Object references to nothing.
    for (TgxProperty P : {prFont, prCombo, prDateTime, prData}) {
        const Variant V = PropertyDefaultValue(P);
        EXPECT_FALSE(V.IsEmpty());
        EXPECT_EQ(VariantToObject(V), nullptr);
    }
}

TEST(PropDefaults, AllPropertiesIsFiveBytesOfBits) {
    EXPECT_EQ(AllProperties().Bits(), 0x1FFFFFFFFull);
    EXPECT_TRUE(AllProperties().Contains(prData));
}

TEST(PropDefaults, ColorToHexWritesRedFirst) {
    EXPECT_EQ(ColorToHex(0x00336699), "996633");
    EXPECT_EQ(ColorToHex(clRed), "FF0000");
    // A system colour is written as it is, not resolved.
    EXPECT_EQ(ColorToHex(clBtnFace), "0F0000");
}

TEST(PropDefaults, TranslateColorMapsOnlyTheListedSystemColours) {
    struct Case {
        std::uint32_t In;
        std::uint32_t Out;
    };
    const Case Cases[] = {
        {0x80000000, 0x80000000}, // clScrollBar stays
        {0x80000001, 0xFFFF00},   {0x80000005, 0xFFFFFF},   {0x8000000D, 0x800080},
        {0x8000000E, 0x0000FF},   {0x80000012, 0x000000},   {0x80000013, 0x00FFFF},
        {0x80000018, 0x00FFFF},   {0x80000019, 0x80000019}, {0x00123456, 0x00123456},
        {0x1FFFFFFF, 0x1FFFFFFF},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(static_cast<std::uint32_t>(TranslateColor(static_cast<TColor>(C.In))), C.Out)
            << std::hex << C.In;
}

TEST(PropDefaults, MakeGridRectKeepsTheEdgeOrder) {
    EXPECT_EQ(MakeGridRect(1, 2, 3, 4), (TGridRect{1, 2, 3, 4}));
}

TEST(PropDefaults, OldAlignmentIdentifiers) {
    struct FakeReader {
        AnsiString Ident;
        AnsiString ReadIdent() { return Ident; }
    };
    struct Case {
        const char* Ident;
        int Expected;
    };
    for (const Case& C : {Case{"taLeftJustify", 0}, Case{"TARIGHTJUSTIFY", 1}, Case{"taCenter", 2},
                          Case{"tacenter", 2}, Case{"taJustify", 0}, Case{"", 0}}) {
        FakeReader Reader{C.Ident};
        EXPECT_EQ(ReadOldAlignment(Reader), C.Expected) << C.Ident;
    }
}

} // namespace
