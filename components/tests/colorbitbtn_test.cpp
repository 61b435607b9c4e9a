#include "components/ColorBitBtn.h"

#include "platform/gui/testing/FilledBitmap.h"
#include "components/ColorBitBtnKinds.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using namespace components;
using testing_support::Filled;

namespace {

// An 8 by 8 block of Color whose bottom-left pixel (the transparent colour)
// is olive.
std::unique_ptr<TBitmap> ColourBlock(TColor Color) {
    auto B = Filled(8, 8, Color);
    B->Canvas()->SetPixels(0, 7, clOlive);
    return B;
}

class ColorBitBtnTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Button.SetBounds(0, 0, 60, 30);
    }

    TColor At(int X, int Y) { return Button.Canvas()->Pixels(X, Y); }
    void Paint() { Button.Perform(WM_PAINT); }
    // The first pixel of the colour, row by row.
    std::optional<TPoint> Find(TColor Color) {
        for (int Y = 0; Y < Button.Height(); ++Y)
            for (int X = 0; X < Button.Width(); ++X)
                if (At(X, Y) == Color) return Point(X, Y);
        return std::nullopt;
    }
    void Mouse(unsigned Msg, int X, int Y) {
        Button.Perform(Msg, Msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, PointToLParam(X, Y));
    }

    TColorBitBtn Button{nullptr};
};

} // namespace

TEST_F(ColorBitBtnTest, Defaults) {
    EXPECT_EQ(Button.Color(), clBtnFace);
    EXPECT_EQ(Button.FocusColor(), clNone);
    EXPECT_EQ(Button.Kind(), bkCustom);
    EXPECT_EQ(Button.NumGlyphs(), 1);
    EXPECT_TRUE(Button.Glyph()->Empty());
    EXPECT_TRUE(Button.Glyph2()->Empty());
    EXPECT_EQ(Button.Font()->Color(), clBtnText);
    EXPECT_TRUE(FontsEqual(*Button.Font(), *Button.FocusFont()));
}

TEST_F(ColorBitBtnTest, NumGlyphsIsHeldToOneToFour) {
    const std::pair<int, int> Cases[] = {{7, 4}, {-3, 1}, {3, 3}, {0, 3}, {2, 2}};
    for (const auto& [Set, Read] : Cases) {
        Button.SetNumGlyphs(Set);
        EXPECT_EQ(Button.NumGlyphs(), Read) << Set;
    }
}

TEST_F(ColorBitBtnTest, KindSetsCaptionResultAndGlyphAndDropsToCustom) {
    Button.SetDefault(true);
    Button.SetCancel(true);
    Button.SetKind(bkOK);
    EXPECT_FALSE(Button.Default());
    EXPECT_FALSE(Button.Cancel());
    EXPECT_EQ(Button.ModalResult(), mrOk);
    EXPECT_EQ(Button.Caption(), SOKButton);
    EXPECT_EQ(Button.NumGlyphs(), 2);
    EXPECT_EQ(Button.Glyph()->Width(), 36);
    EXPECT_EQ(Button.Kind(), bkOK);
    EXPECT_FALSE(Button.IsCustom());

    Button.SetDefault(true);
    EXPECT_EQ(Button.Kind(), bkCustom);
    Button.SetDefault(false);
    EXPECT_EQ(Button.Kind(), bkCustom) << "stays custom";

    // Reading custom, setting the kind again applies it again.
    Button.SetKind(bkOK);
    EXPECT_EQ(Button.Kind(), bkOK);
    Button.SetModalResult(mrCancel);
    EXPECT_EQ(Button.Kind(), bkCustom);

    Button.SetKind(bkAll);
    EXPECT_EQ(Button.Caption(), SAllButton);
    EXPECT_EQ(Button.ModalResult(), mrAll);
    EXPECT_EQ(Button.Glyph()->Height(), 19);
    Button.SetGlyph(ColourBlock(clRed).get());
    EXPECT_EQ(Button.Kind(), bkCustom) << "a glyph of its own";
}

TEST_F(ColorBitBtnTest, FocusFontFollowsFontWhileEqual) {
    Button.Font()->SetName("Liberation Sans");
    EXPECT_EQ(Button.FocusFont()->Name(), "Liberation Sans");
    Button.Font()->SetSize(12);
    EXPECT_EQ(Button.FocusFont()->Size(), 12);

    Button.FocusFont()->SetStyle({fsBold});
    Button.Font()->SetColor(clRed);
    EXPECT_EQ(Button.FocusFont()->Color(), clBtnText);
    EXPECT_EQ(Button.FocusFont()->Style(), TFontStyles{fsBold});

    // Equal again: following resumes.
    Button.Font()->SetStyle({fsBold});
    Button.FocusFont()->SetColor(clRed);
    Button.Font()->SetSize(9);
    EXPECT_EQ(Button.FocusFont()->Size(), 9);
}

TEST_F(ColorBitBtnTest, HoverGlyphShowsWhileTheMouseIsOver) {
    Button.SetGlyph(ColourBlock(clRed).get());

    // Without a hover glyph the glyph stays.
    Button.Perform(CM_MOUSEENTER);
    Paint();
    EXPECT_TRUE(Find(clRed));
    Button.Perform(CM_MOUSELEAVE);

    Button.SetGlyph2(ColourBlock(clLime).get());
    Button.Perform(CM_MOUSEENTER);
    Paint();
    EXPECT_TRUE(Find(clLime));
    EXPECT_FALSE(Find(clRed));
    Button.Perform(CM_MOUSELEAVE);
    Paint();
    EXPECT_TRUE(Find(clRed));

    // A press and release over the button puts the saved glyph back.
    Button.Perform(CM_MOUSEENTER);
    Mouse(WM_LBUTTONDOWN, 5, 5);
    Mouse(WM_LBUTTONUP, 5, 5);
    Paint();
    EXPECT_TRUE(Find(clRed));
    EXPECT_FALSE(Find(clLime));
    Button.Perform(CM_MOUSELEAVE);

    // A glyph set while the hover glyph shows is the one leaving returns to.
    Button.Perform(CM_MOUSEENTER);
    Button.SetGlyph(ColourBlock(clBlue).get());
    Button.Perform(CM_MOUSELEAVE);
    Paint();
    EXPECT_TRUE(Find(clBlue));

    // A leave with no enter before it keeps the glyph.
    Button.Perform(CM_MOUSELEAVE);
    EXPECT_FALSE(Button.Glyph()->Empty());
}

TEST_F(ColorBitBtnTest, FaceTakesFocusColourOnlyWhileActive) {
    Button.SetColor(clRed);
    Paint();
    EXPECT_EQ(At(30, 15), clRed);
    EXPECT_EQ(At(0, 0), ColorToRGB(cl3DLight)) << "raised frame";
    EXPECT_EQ(At(1, 1), ColorToRGB(clBtnHighlight));

    Button.SetButtonStyle(true);
    Paint();
    EXPECT_EQ(At(30, 15), clRed) << "no focus colour keeps Color";
    EXPECT_EQ(At(0, 0), ColorToRGB(clWindowFrame)) << "active frame";

    Button.SetFocusColor(clBlue);
    Paint();
    EXPECT_EQ(At(30, 15), clBlue);
    Button.SetButtonStyle(false);
    Paint();
    EXPECT_EQ(At(30, 15), clRed);
}

TEST_F(ColorBitBtnTest, CaptionUsesFocusFontWhileActive) {
    // Text is smoothed: count pixels that lean to red, or to dark grey.
    const auto Reddish = [](TColor C) { return (C & 0xFF) - ((C >> 8) & 0xFF) > 100; };
    const auto Dark = [](TColor C) { return (C & 0xFF) < 100 && ((C >> 8) & 0xFF) < 100; };
    const auto CountInside = [&](auto Pred) {
        int N = 0;
        for (int Y = 4; Y < Button.Height() - 4; ++Y)
            for (int X = 4; X < Button.Width() - 4; ++X)
                N += Pred(At(X, Y));
        return N;
    };
    Button.SetColor(clWhite);
    Button.SetCaption("Save");
    Button.Font()->SetColor(clBlack);
    Button.FocusFont()->SetColor(clRed);
    Paint();
    EXPECT_GT(CountInside(Dark), 0);
    EXPECT_EQ(CountInside(Reddish), 0);
    Button.SetButtonStyle(true);
    Paint();
    EXPECT_GT(CountInside(Reddish), 0);
    EXPECT_EQ(CountInside(Dark), 0);
}

TEST_F(ColorBitBtnTest, PressedFaceHasShadowBorderAndMovesDownRight) {
    Button.SetColor(clWhite);
    Button.SetGlyph(ColourBlock(clRed).get());
    Paint();
    const std::optional<TPoint> Up = Find(clRed);
    ASSERT_TRUE(Up);

    Mouse(WM_LBUTTONDOWN, 5, 5);
    Paint();
    const std::optional<TPoint> Down = Find(clRed);
    ASSERT_TRUE(Down);
    EXPECT_EQ(*Down, Point(Up->X + 1, Up->Y + 1));
    EXPECT_EQ(At(0, 0), ColorToRGB(clBtnShadow));
    EXPECT_EQ(At(1, 1), clWhite) << "a single border, not the raised frame";

    // Dragged off the button it draws raised; released it stays so.
    Button.Perform(WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(100, 5));
    Paint();
    EXPECT_EQ(Find(clRed), Up);
    Mouse(WM_LBUTTONUP, 100, 5);
    Paint();
    EXPECT_EQ(Find(clRed), Up);
}

TEST_F(ColorBitBtnTest, ClickFollowsAPressAndReleaseOverTheButton) {
    // With its painted widget made, the button's own settings still apply.
    Button.Widget();
    Button.SetKind(bkYes);
    Button.SetDefault(true);
    Button.SetCaption("Go");
    int Clicks = 0;
    Button.OnClick = [&](TObject*) { ++Clicks; };
    Mouse(WM_LBUTTONDOWN, 5, 5);
    Mouse(WM_LBUTTONUP, 5, 5);
    EXPECT_EQ(Clicks, 1);
    Mouse(WM_LBUTTONDOWN, 5, 5);
    Mouse(WM_LBUTTONUP, 100, 5);
    EXPECT_EQ(Clicks, 1);
}
