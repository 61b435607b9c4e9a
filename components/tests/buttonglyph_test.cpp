#include "components/ButtonGlyph.h"

#include "platform/gui/testing/FilledBitmap.h"
#include "components/ButtonGlyphText.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

#include <memory>

using namespace components;
using testing_support::Filled;

namespace {

class ButtonGlyphTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Target = Filled(40, 20, clBlue);
    }
    TCanvas* Canvas() { return Target->Canvas(); }

    std::unique_ptr<TBitmap> Target;
};

} // namespace

TEST_F(ButtonGlyphTest, SourceSizeDecidesTheNumberOfGlyphs) {
    struct Case {
        int Width, Height, Before, After;
    };
    const Case Cases[] = {
        {64, 16, 1, 4}, {32, 16, 1, 2}, {16, 16, 3, 1}, {80, 16, 2, 1}, // five would be too many
        {40, 16, 3, 3}, // not a whole multiple: unchanged
    };
    for (const Case& C : Cases) {
        TButtonGlyph Glyph;
        Glyph.SetNumGlyphs(C.Before);
        Glyph.SetGlyph(Filled(C.Width, C.Height, clRed).get());
        EXPECT_EQ(Glyph.NumGlyphs(), C.After) << C.Width << "x" << C.Height;
    }
    TButtonGlyph Glyph;
    Glyph.SetNumGlyphs(0);
    Glyph.SetNumGlyphs(-2);
    EXPECT_EQ(Glyph.NumGlyphs(), 1);
}

TEST_F(ButtonGlyphTest, TwoGlyphsDrawDownAsUpAndDisabledAsTheSecondImageRecoloured) {
    // Image 0: olive with a red pixel; image 1: olive with a white and a
    // grey pixel. Olive (bottom left) is the transparent colour.
    auto Source = Filled(16, 8, clOlive);
    Source->Canvas()->SetPixels(3, 3, clRed);
    Source->Canvas()->SetPixels(8 + 3, 3, clWhite);
    Source->Canvas()->SetPixels(8 + 5, 3, clGray);
    Source->Canvas()->SetPixels(8 + 0, 0, clBlack);
    TButtonGlyph Glyph;
    Glyph.SetGlyph(Source.get());
    Glyph.SetFaceColor(clYellow);
    ASSERT_EQ(Glyph.NumGlyphs(), 2);
    EXPECT_EQ(Glyph.CreateButtonGlyph(bsDown), Glyph.CreateButtonGlyph(bsUp));

    const TRect Client = Rect(0, 0, 8, 8);
    Glyph.Draw(Canvas(), Client, Point(0, 0), "", blGlyphLeft, -1, 4, bsDown, false, 0);
    EXPECT_EQ(Canvas()->Pixels(3, 3), clRed);
    EXPECT_EQ(Canvas()->Pixels(0, 0), clBlue) << "transparent background";

    Glyph.Draw(Canvas(), Rect(20, 0, 28, 8), Point(0, 0), "", blGlyphLeft, -1, 4, bsDisabled, false,
               0);
    EXPECT_EQ(Canvas()->Pixels(20 + 3, 3), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(Canvas()->Pixels(20 + 5, 3), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Canvas()->Pixels(20 + 0, 0), clBlack);
    // The background took the face colour, which the list then masks out.
    EXPECT_EQ(Canvas()->Pixels(20 + 6, 6), clBlue);
}

TEST_F(ButtonGlyphTest, OneGlyphDisabledIsEmbossedOnTheFace) {
    auto Source = Filled(8, 8, clOlive);
    Source->Canvas()->SetPixels(2, 2, clBlack);
    Source->Canvas()->SetPixels(5, 5, clRed);
    TButtonGlyph Glyph;
    Glyph.SetGlyph(Source.get());
    Glyph.SetFaceColor(clYellow);
    Glyph.Draw(Canvas(), Rect(0, 0, 8, 8), Point(0, 0), "", blGlyphLeft, -1, 4, bsDisabled, false,
               0);
    EXPECT_EQ(Canvas()->Pixels(2, 2), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Canvas()->Pixels(3, 3), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(Canvas()->Pixels(5, 5), clBlue) << "only black pixels show";
}

TEST_F(ButtonGlyphTest, LayoutPlacesGlyphAndCaption) {
    TButtonGlyph Glyph;
    Glyph.SetGlyph(Filled(16, 16, clRed).get());
    const AnsiString Caption = "Save";
    const int T = Canvas()->TextWidth(Caption);
    const int TH = Canvas()->TextHeight(Caption);
    const TRect Client = Rect(10, 5, 110, 35); // 100 by 30
    struct Case {
        TButtonLayout Layout;
        int Margin, Spacing;
        unsigned Flags;
        int GlyphX, TextX;
    };
    const int M1 = (100 - (16 + 4 + T) + 1) / 2;
    const int M3 = (100 - 16 - T) / 3;
    const int S2 = (100 - 3 - 16 - T) / 2;
    const Case Cases[] = {
        {blGlyphLeft, -1, 4, 0, M1, M1 + 16 + 4},
        {blGlyphRight, -1, 4, 0, 100 - M1 - 16, 100 - M1 - 16 - 4 - T},
        {blGlyphLeft, -1, 4, DT_RIGHT, 100 - M1 - 16, 100 - M1 - 16 - 4 - T},
        {blGlyphLeft, -1, -1, 0, M3, M3 + 16 + M3},
        {blGlyphLeft, 3, -1, 0, 3, 3 + 16 + S2},
    };
    for (const Case& C : Cases) {
        TPoint GlyphPos;
        TRect TextBounds;
        Glyph.CalcButtonLayout(Canvas(), Client, Point(0, 0), Caption, C.Layout, C.Margin,
                               C.Spacing, GlyphPos, TextBounds, C.Flags);
        SCOPED_TRACE(static_cast<int>(C.Layout) * 100 + C.Margin * 10 + C.Spacing);
        EXPECT_EQ(GlyphPos, Point(10 + C.GlyphX, 5 + (30 - 16 + 1) / 2));
        EXPECT_EQ(TextBounds, Rect(10 + C.TextX, 5 + (30 - TH + 1) / 2, 10 + C.TextX + T,
                                   5 + (30 - TH + 1) / 2 + TH));
    }

    // Top: both centred across, stacked from the margin down.
    TPoint GlyphPos;
    TRect TextBounds;
    Glyph.CalcButtonLayout(Canvas(), Rect(0, 0, 40, 60), Point(0, 0), Caption, blGlyphTop, 2, 5,
                           GlyphPos, TextBounds, 0);
    EXPECT_EQ(GlyphPos, Point((40 - 16 + 1) / 2, 2));
    EXPECT_EQ(TextBounds.Top, 2 + 16 + 5);
}

TEST_F(ButtonGlyphTest, EmptyCaptionCentresTheGlyphIgnoringSpacing) {
    TButtonGlyph Glyph;
    Glyph.SetGlyph(Filled(16, 16, clRed).get());
    TPoint GlyphPos;
    TRect TextBounds;
    Glyph.CalcButtonLayout(Canvas(), Rect(0, 0, 40, 20), Point(0, 0), "", blGlyphLeft, -1, 10,
                           GlyphPos, TextBounds, 0);
    EXPECT_EQ(GlyphPos, Point(12, 2));
}

TEST_F(ButtonGlyphTest, SameSizedGlyphsShareOneListAndFreedSlotsAreReused) {
    auto Source = Filled(16, 16, clRed);
    {
        TButtonGlyph A;
        TButtonGlyph B;
        A.SetGlyph(Source.get());
        B.SetGlyph(Source.get());
        EXPECT_EQ(A.CreateButtonGlyph(bsUp), 0);
        EXPECT_EQ(B.CreateButtonGlyph(bsUp), 1);
        ASSERT_NE(A.GlyphList(), nullptr);
        EXPECT_EQ(A.GlyphList(), B.GlyphList());
        TGlyphList* List = A.GlyphList();

        // A new glyph frees A's slot; building again takes it back.
        A.SetGlyph(Source.get());
        EXPECT_EQ(A.GlyphList(), nullptr);
        EXPECT_EQ(List->Count(), 1);
        EXPECT_EQ(A.CreateButtonGlyph(bsUp), 0);
        EXPECT_EQ(List->ImageCount(), 2);

        TButtonGlyph Other;
        Other.SetGlyph(Filled(8, 8, clRed).get());
        Other.CreateButtonGlyph(bsUp);
        EXPECT_NE(Other.GlyphList(), List);
        ASSERT_NE(GlyphCache(), nullptr);
    }
    EXPECT_EQ(GlyphCache(), nullptr);
}
