// The property vocabulary's defaults and the small value helpers: HTML
// colours, bitmaps in Variants and the alignment names older forms stored.
#include "grid/foundation/CustomGrid.h"
#include "grid/model/PropDefaults.h"
#include "platform/rtl/Streams.h"
#include "platform/classes/Filer.h"
#include "platform/gui/Graphics.h"

#include <gtest/gtest.h>

#include <memory>

using namespace grid;

namespace {

enum class Kind { Unassigned, Int, Bool, Str, NoObject };

struct DefaultCase {
    TgxProperty Prop;
    Kind K;
    int Value;
};

TEST(PropDefaultsThirdReading, EveryPropertyHasItsDefault) {
    const DefaultCase Cases[] = {
        {prColor, Kind::Int, 0x1FFFFFFF},    {prFont, Kind::NoObject, 0},
        {prDisplayNumber, Kind::Unassigned}, {prWidth, Kind::Unassigned},
        {prHeight, Kind::Unassigned},        {prReadOnly, Kind::Bool, 0},
        {prAlign, Kind::Bool, 0},            {prAlignment, Kind::Int, 0},
        {prIs3D, Kind::Bool, 0},             {prSelected, Kind::Bool, 0},
        {prVisible, Kind::Unassigned},       {prChanged, Kind::Unassigned},
        {prHeadingButton, Kind::Unassigned}, {prSortPicture, Kind::Unassigned},
        {prMaxLength, Kind::Unassigned},     {prWordWrap, Kind::Int, 2},
        {prButtonType, Kind::Int, 3},        {prDropDownStyle, Kind::Int, 0},
        {prCellReadOnly, Kind::Int, 2},      {prAllowGrayed, Kind::Unassigned},
        {prParentFont, Kind::Bool, 1},       {prMask, Kind::Str, 0},
        {prCombo, Kind::NoObject, 0},        {prParentCombo, Kind::Bool, 1},
        {prPicture, Kind::Int, 2},           {prControlType, Kind::Int, 4},
        {prSpinOptions, Kind::Int, 7},       {prSpinIncrement, Kind::Int, 1},
        {prHorzAlignment, Kind::Int, 3},     {prVertAlignment, Kind::Int, 3},
        {prDateTime, Kind::NoObject, 0},     {prTag, Kind::Int, 0},
        {prData, Kind::NoObject, 0},
    };
    ASSERT_EQ(std::size(Cases), static_cast<size_t>(gxPropertyCount));
    for (const DefaultCase& C : Cases) {
        SCOPED_TRACE(static_cast<int>(C.Prop));
        const Variant V = PropertyDefaultValue(C.Prop);
        switch (C.K) {
        case Kind::Unassigned:
            EXPECT_TRUE(V.IsEmpty());
            break;
        case Kind::Int:
            ASSERT_FALSE(V.IsEmpty());
            EXPECT_EQ(V.AsInteger(), C.Value);
            EXPECT_NE(V.Type(), varBoolean);
            break;
        case Kind::Bool:
            ASSERT_EQ(V.Type(), varBoolean);
            EXPECT_EQ(V.AsBoolean(), C.Value != 0);
            break;
        case Kind::Str:
            ASSERT_FALSE(V.IsEmpty());
            EXPECT_EQ(V.AsString(), AnsiString());
            break;
        case Kind::NoObject:
            ASSERT_FALSE(V.IsEmpty());
            EXPECT_TRUE(V == ObjectToVariant(nullptr));
            EXPECT_EQ(VariantToObject(V), nullptr);
            break;
        }
    }
}

TEST(PropDefaultsThirdReading, ColoursForHtml) {
    EXPECT_EQ(ColorToHex(static_cast<TColor>(0x00336699)), AnsiString("996633"));
    EXPECT_EQ(ColorToHex(static_cast<TColor>(0x00ABCDEF)), AnsiString("EFCDAB"));
    // A system colour is taken as it is: only its low three bytes show.
    EXPECT_EQ(ColorToHex(static_cast<TColor>(0x80000005)), AnsiString("050000"));
    const struct {
        unsigned In, Out;
    } Cases[] = {
        {0x80000000, 0x80000000}, {0x80000001, 0xFFFF00}, {0x80000002, 0x000000},
        {0x80000003, 0xFF0000},   {0x80000004, 0x808080}, {0x80000005, 0xFFFFFF},
        {0x80000006, 0x808080},   {0x80000007, 0x008000}, {0x80000008, 0x00FF00},
        {0x80000009, 0xC0C0C0},   {0x8000000A, 0x000080}, {0x8000000B, 0x800000},
        {0x8000000C, 0x008080},   {0x8000000D, 0x800080}, {0x8000000E, 0x0000FF},
        {0x8000000F, 0xC0C0C0},   {0x80000010, 0x808000}, {0x80000011, 0xFFFFFF},
        {0x80000012, 0x000000},   {0x80000013, 0x00FFFF}, {0x80000018, 0x00FFFF},
        {0x80000019, 0x80000019}, {0x00123456, 0x00123456}, {0x1FFFFFFF, 0x1FFFFFFF},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(testing::Message() << std::hex << C.In);
        EXPECT_EQ(static_cast<unsigned>(TranslateColor(static_cast<TColor>(C.In))), C.Out);
    }
}

TEST(PropDefaultsThirdReading, BitmapsTravelInVariantsAndGridRectsKeepTheirEdges) {
    TBitmap Bitmap;
    const Variant V = BitmapToVariant(&Bitmap);
    EXPECT_TRUE(V == ObjectToVariant(&Bitmap));
    EXPECT_EQ(VariantToBitmap(V), &Bitmap);
    EXPECT_EQ(VariantToBitmap(ObjectToVariant(nullptr)), nullptr);
    const TGridRect R = MakeGridRect(1, 2, 3, 4);
    EXPECT_EQ(R.Left, 1);
    EXPECT_EQ(R.Top, 2);
    EXPECT_EQ(R.Right, 3);
    EXPECT_EQ(R.Bottom, 4);
}

TEST(PropDefaultsThirdReading, OldAlignmentNamesReadFromAStream) {
    const struct {
        const char* Ident;
        int Ordinal;
    } Cases[] = {{"taLeftJustify", 0}, {"taRightJustify", 1}, {"taCenter", 2},
                 {"TACENTER", 2},      {"tarightjustify", 1}, {"alClient", 0}};
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Ident);
        TMemoryStream Stream;
        {
            TWriter Writer(&Stream);
            Writer.WriteIdent(C.Ident);
        }
        Stream.SetPosition(0);
        TReader Reader(&Stream);
        EXPECT_EQ(ReadOldAlignment(Reader), C.Ordinal);
    }
}

} // namespace
