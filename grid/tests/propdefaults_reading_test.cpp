// The grid's property defaults and value helpers, through the calls the
// model, the persistence and applications make.
#include "FormTextFixture.h"
#include "ShownGridFixture.h"

#include "grid/foundation/GridCommonVariant.h"
#include "grid/model/CellProps.h"
#include "grid/model/Columns.h"
#include "grid/model/PropDefaults.h"
#include "grid/model/Rows.h"

#include <gtest/gtest.h>

#include <string>

using namespace grid;

namespace {

enum class PropKind { None, Int, Bool, Text, NoObject };

TEST(PropDefaultsReading, EveryPropertyHasItsDefault) {
    struct Case {
        TgxProperty Prop;
        PropKind K;
        int Value;
    } Cases[] = {
        {prColor, PropKind::Int, 0x1FFFFFFF}, {prFont, PropKind::NoObject, 0},
        {prDisplayNumber, PropKind::None, 0}, {prWidth, PropKind::None, 0},
        {prHeight, PropKind::None, 0},        {prReadOnly, PropKind::Bool, 0},
        {prAlign, PropKind::Bool, 0},         {prAlignment, PropKind::Int, 0},
        {prIs3D, PropKind::Bool, 0},          {prSelected, PropKind::Bool, 0},
        {prVisible, PropKind::None, 0},       {prChanged, PropKind::None, 0},
        {prHeadingButton, PropKind::None, 0}, {prSortPicture, PropKind::None, 0},
        {prMaxLength, PropKind::None, 0},     {prWordWrap, PropKind::Int, 2},
        {prButtonType, PropKind::Int, 3},     {prDropDownStyle, PropKind::Int, 0},
        {prCellReadOnly, PropKind::Int, 2},   {prAllowGrayed, PropKind::None, 0},
        {prParentFont, PropKind::Bool, 1},    {prMask, PropKind::Text, 0},
        {prCombo, PropKind::NoObject, 0},     {prParentCombo, PropKind::Bool, 1},
        {prPicture, PropKind::Int, 2},        {prControlType, PropKind::Int, 4},
        {prSpinOptions, PropKind::Int, 7},    {prSpinIncrement, PropKind::Int, 1},
        {prHorzAlignment, PropKind::Int, 3},  {prVertAlignment, PropKind::Int, 3},
        {prDateTime, PropKind::NoObject, 0},  {prTag, PropKind::Int, 0},
        {prData, PropKind::NoObject, 0},
    };
    ASSERT_EQ(std::size(Cases), std::size_t(gxPropertyCount));
    for (const Case& C : Cases) {
        const Variant V = PropertyDefaultValue(C.Prop);
        const int N = static_cast<int>(C.Prop);
        switch (C.K) {
        case PropKind::None:
            EXPECT_EQ(V.Type(), varEmpty) << N;
            break;
        case PropKind::Int:
            EXPECT_EQ(V.Type(), varInteger) << N;
            EXPECT_EQ(V.AsInteger(), C.Value) << N;
            break;
        case PropKind::Bool:
            EXPECT_EQ(V.Type(), varBoolean) << N;
            EXPECT_EQ(V.AsBoolean(), C.Value != 0) << N;
            break;
        case PropKind::Text:
            EXPECT_EQ(V.Type(), varString) << N;
            EXPECT_EQ(V.AsString(), "") << N;
            break;
        case PropKind::NoObject:
            EXPECT_NE(V.Type(), varEmpty) << N;
            EXPECT_EQ(VariantToObject(V), nullptr) << N;
            break;
        }
    }
}

TEST(PropDefaultsReading, ColoursForHTML) {
    EXPECT_EQ(ColorToHex(0x00336699), "996633");
    EXPECT_EQ(ColorToHex(static_cast<TColor>(0x8000000F)), "0F0000");
    struct Case {
        std::uint32_t In, Out;
    } Cases[] = {
        {0x80000000, 0x80000000}, {0x80000001, 0xFFFF00},   {0x80000002, 0x000000},
        {0x80000003, 0xFF0000},   {0x80000004, 0x808080},   {0x80000005, 0xFFFFFF},
        {0x80000006, 0x808080},   {0x80000007, 0x008000},   {0x80000008, 0x00FF00},
        {0x80000009, 0xC0C0C0},   {0x8000000A, 0x000080},   {0x8000000B, 0x800000},
        {0x8000000C, 0x008080},   {0x8000000D, 0x800080},   {0x8000000E, 0x0000FF},
        {0x8000000F, 0xC0C0C0},   {0x80000010, 0x808000},   {0x80000011, 0xFFFFFF},
        {0x80000012, 0x000000},   {0x80000013, 0x00FFFF},   {0x80000018, 0x00FFFF},
        {0x80000019, 0x80000019}, {0x00123456, 0x00123456}, {0x1FFFFFFF, 0x1FFFFFFF},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(static_cast<std::uint32_t>(TranslateColor(static_cast<TColor>(C.In))), C.Out)
            << std::hex << C.In;
}

TEST(PropDefaultsReading, BitmapsTravelInVariants) {
    TBitmap Bitmap;
    const Variant V = BitmapToVariant(&Bitmap);
    EXPECT_EQ(VariantToBitmap(V), &Bitmap);
    EXPECT_EQ(VariantToBitmap(BitmapToVariant(nullptr)), nullptr);
    const TGridRect R = MakeGridRect(1, 2, 3, 4);
    EXPECT_EQ(R.Left, 1);
    EXPECT_EQ(R.Top, 2);
    EXPECT_EQ(R.Right, 3);
    EXPECT_EQ(R.Bottom, 4);
}

class PropDefaultsShown : public ShownGridFixture {};

// A cell keeps an element only while one of its properties differs from
// the default; an empty mask is the mask's default.
TEST_F(PropDefaultsShown, CellsHoldElementsOnlyForValuesAwayFromTheDefault) {
    ShowGrid(3, 3);
    const auto Count = [&] { return Grid->CellProps()->Elements().size(); };
    Grid->SetCellColor(1, 1, clNone);
    Grid->SetCellMaskName(1, 1, "");
    Grid->SetCellTag(1, 1, 0);
    Grid->SetCellWordWrap(1, 1, uiDefault);
    EXPECT_EQ(Count(), 0u);
    Grid->SetCellColor(1, 1, clRed);
    Grid->SetCellTag(1, 1, 5);
    EXPECT_EQ(Count(), 1u);
    Grid->SetCellColor(1, 1, clNone);
    EXPECT_EQ(Count(), 1u);
    Grid->SetCellTag(1, 1, 0);
    EXPECT_EQ(Count(), 0u);
    Grid->SetCellMaskName(2, 2, "m");
    Grid->ResetCellProperties(TgxProperties{prMask});
    EXPECT_EQ(Count(), 0u);
}

// Old forms stored alignments as identifiers; an unknown one is left.
TEST_F(PropDefaultsShown, OldAlignmentIdentifiersInStoredForms) {
    ShowGrid(3, 3);
    Form->SetName("Form1");
    Grid->SetName("Grid1");
    Grid->GetCol(2)->SetTag(1);
    Grid->SetRowColor(2, clRed);
    std::string Text = FormText(*Form);
    const auto Swap = [&](const std::string& From, const std::string& To) {
        const auto At = Text.find(From);
        ASSERT_NE(At, std::string::npos) << From << "\n" << Text;
        Text.replace(At, From.size(), To);
    };
    Swap("Col.Tag = 1", "Col.Alignment = taUnknown\n        Col.Align = True\n"
                        "        Col.HeadingAlignment = TaRightJustify\n"
                        "        Col.HeadingAlign = True");
    Swap("Row.Color = 255", "Row.Alignment = tacenter\n        Row.Align = True");
    Swap("CheckBoxStyle = stCheck", "CheckBoxStyle = stCheck\n    HeadingAlignment = taCenter");
    TForm Into(nullptr);
    ReadFormText(Text, Into);
    auto* Read = dynamic_cast<TgxGrid*>(Into.FindComponent("Grid1"));
    ASSERT_NE(Read, nullptr);
    EXPECT_EQ(Read->GetCol(2)->Alignment(), taLeftJustify);
    EXPECT_EQ(Read->GetCol(2)->HorzAlignment(), htaLeft);
    EXPECT_EQ(Read->GetCol(2)->HeadingHorzAlignment(), htaRight);
    EXPECT_EQ(Read->GetRowHorzAlignment(2), htaCenter);
    EXPECT_EQ(Read->HeadingAlignment(), taCenter);
    EXPECT_EQ(Read->HeadingHorzAlignment(), htaCenter);
}

} // namespace
