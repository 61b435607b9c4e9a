#include "platform/gui/Graphics.h"
#include "platform/gui/GraphicsQt.h"
#include "platform/gui/QtApp.h"

#include <QFontMetrics>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

class CanvasTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Bitmap.SetSize(40, 30);
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->FillRect(Rect(0, 0, 40, 30));
    }

    TCanvas* Canvas() { return Bitmap.Canvas(); }
    TColor At(int X, int Y) { return Canvas()->Pixels(X, Y); }

    std::vector<TColor> Snapshot() {
        std::vector<TColor> Result;
        for (int Y = 0; Y < Bitmap.Height(); ++Y)
            for (int X = 0; X < Bitmap.Width(); ++X)
                Result.push_back(At(X, Y));
        return Result;
    }

    // How many pixels differ from white inside and outside R.
    std::pair<int, int> Marked(const TRect& R) {
        int Inside = 0, Outside = 0;
        for (int Y = 0; Y < Bitmap.Height(); ++Y)
            for (int X = 0; X < Bitmap.Width(); ++X)
                if (At(X, Y) != clWhite)
                    (X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom ? Inside : Outside)++;
        return {Inside, Outside};
    }

    TBitmap Bitmap;
};

TEST_F(CanvasTest, FillRectCoversLeftAndTopButNotRightAndBottom) {
    Canvas()->Brush()->SetColor(clRed);
    Canvas()->FillRect(Rect(5, 6, 10, 12));
    struct Probe {
        int X, Y;
        TColor Expected;
    };
    for (const Probe& P : {Probe{5, 6, clRed}, Probe{9, 11, clRed}, Probe{10, 11, clWhite},
                           Probe{9, 12, clWhite}, Probe{4, 6, clWhite}, Probe{5, 5, clWhite}})
        EXPECT_EQ(At(P.X, P.Y), P.Expected) << P.X << "," << P.Y;
    // An inverted rectangle fills nothing.
    Canvas()->FillRect(Rect(20, 20, 15, 25));
    EXPECT_EQ(At(17, 22), clWhite);
}

TEST_F(CanvasTest, RectangleOutlinesWithThePenAndFillsWithTheBrush) {
    Canvas()->Pen()->SetColor(clBlue);
    Canvas()->Brush()->SetColor(clYellow);
    Canvas()->Rectangle(2, 3, 8, 9);
    struct Probe {
        int X, Y;
        TColor Expected;
    };
    for (const Probe& P :
         {Probe{2, 3, clBlue}, Probe{7, 3, clBlue}, Probe{7, 8, clBlue}, Probe{2, 8, clBlue},
          Probe{5, 3, clBlue}, Probe{3, 4, clYellow}, Probe{6, 7, clYellow}, Probe{8, 5, clWhite},
          Probe{5, 9, clWhite}, Probe{1, 5, clWhite}})
        EXPECT_EQ(At(P.X, P.Y), P.Expected) << P.X << "," << P.Y;

    // Without a pen the filled area ends one pixel earlier on the right and bottom.
    Canvas()->Pen()->SetStyle(psClear);
    Canvas()->Brush()->SetColor(clLime);
    Canvas()->Rectangle(20, 20, 25, 26);
    EXPECT_EQ(At(20, 20), clLime);
    EXPECT_EQ(At(23, 24), clLime);
    EXPECT_EQ(At(24, 24), clWhite);
    EXPECT_EQ(At(23, 25), clWhite);
}

TEST_F(CanvasTest, LineToLeavesTheEndPointAndMovesThePen) {
    Canvas()->Pen()->SetColor(clBlack);
    Canvas()->MoveTo(3, 4);
    Canvas()->LineTo(10, 4);
    EXPECT_EQ(Canvas()->PenPos(), Point(10, 4));
    EXPECT_EQ(At(3, 4), clBlack);
    EXPECT_EQ(At(9, 4), clBlack);
    EXPECT_EQ(At(10, 4), clWhite);
    // A diagonal line passes through the pixels between, not past its end.
    Canvas()->LineTo(14, 8);
    EXPECT_EQ(At(12, 6), clBlack);
    EXPECT_EQ(At(14, 8), clWhite);
    EXPECT_EQ(Marked(Rect(0, 0, 40, 30)).first, 7 + 4);
}

TEST_F(CanvasTest, InvertingPenDrawnTwiceLeavesTheImageAsItWas) {
    struct Case {
        TPenMode Mode;
        TPenStyle Style;
        int Width;
    };
    const Case Cases[] = {
        {pmXor, psSolid, 1}, {pmNotXor, psSolid, 1}, {pmNot, psSolid, 1},
        {pmXor, psDot, 1},   {pmXor, psDash, 1},     {pmNot, psSolid, 3},
    };
    for (const Case& C : Cases) {
        SetUp();
        // A pattern under the line, so that the inversion has colours to work on.
        Canvas()->Brush()->SetColor(clTeal);
        Canvas()->FillRect(Rect(0, 10, 40, 20));
        Canvas()->Brush()->SetColor(clWhite);
        const std::vector<TColor> Before = Snapshot();

        Canvas()->Pen()->SetMode(C.Mode);
        Canvas()->Pen()->SetStyle(C.Style);
        Canvas()->Pen()->SetWidth(C.Width);
        Canvas()->Pen()->SetColor(clRed);
        Canvas()->MoveTo(1, 2);
        Canvas()->LineTo(37, 27);
        EXPECT_NE(Snapshot(), Before) << static_cast<int>(C.Mode);
        Canvas()->MoveTo(1, 2);
        Canvas()->LineTo(37, 27);
        EXPECT_EQ(Snapshot(), Before) << static_cast<int>(C.Mode);
    }
}

TEST_F(CanvasTest, DottedXorLineOnASolidBrushInvertsTheGapsThroughTheBrushColour) {
    // A black XOR pen changes nothing; the gaps of a dotted line take the
    // brush colour, so on white they show. This is how a sizing line shows.
    Canvas()->Pen()->SetColor(clBlack);
    Canvas()->Pen()->SetMode(pmXor);
    Canvas()->Pen()->SetStyle(psDot);
    Canvas()->Brush()->SetColor(clWhite);
    Canvas()->MoveTo(0, 5);
    Canvas()->LineTo(30, 5);
    int Black = 0;
    for (int X = 0; X < 30; ++X)
        Black += At(X, 5) == clBlack;
    EXPECT_GT(Black, 0);
    EXPECT_LT(Black, 30);
}

TEST_F(CanvasTest, FocusRectangleInvertsADottedFrameAndTwiceRemovesIt) {
    const std::vector<TColor> Before = Snapshot();
    Canvas()->DrawFocusRect(Rect(4, 4, 20, 14));
    const auto [Inside, Outside] = Marked(Rect(4, 4, 20, 14));
    EXPECT_EQ(Outside, 0);
    // Every other pixel of the frame, nothing within it.
    EXPECT_EQ(Inside, (2 * 16 + 2 * 8) / 2);
    EXPECT_EQ(Marked(Rect(5, 5, 19, 13)).first, 0);
    Canvas()->DrawFocusRect(Rect(4, 4, 20, 14));
    EXPECT_EQ(Snapshot(), Before);
}

TEST_F(CanvasTest, CopyModesCombineSourceDestinationAndBrush) {
    struct Case {
        TCopyMode Mode;
        TColor Expected;
    };
    // Source 0x0F0F33, destination 0x00FF55, brush 0x3C3CF0.
    const TColor S = 0x0F0F33, D = 0x00FF55, P = 0x3C3CF0;
    const Case Cases[] = {
        {cmSrcCopy, S},       {cmMergeCopy, S & P},         {cmMergePaint, (~S | D) & 0xFFFFFF},
        {cmSrcInvert, S ^ D}, {cmDstInvert, ~D & 0xFFFFFF}, {cmPatCopy, P},
        {cmSrcAnd, S & D},    {cmSrcPaint, S | D},          {cmPatInvert, P ^ D},
        {cmBlackness, 0},     {cmWhiteness, 0xFFFFFF},
    };
    TBitmap Source;
    Source.SetSize(2, 2);
    Source.Canvas()->Brush()->SetColor(S);
    Source.Canvas()->FillRect(Rect(0, 0, 2, 2));
    for (const Case& C : Cases) {
        Canvas()->Brush()->SetColor(D);
        Canvas()->FillRect(Rect(0, 0, 2, 2));
        Canvas()->Brush()->SetColor(P);
        Canvas()->SetCopyMode(C.Mode);
        Canvas()->CopyRect(Rect(0, 0, 2, 2), Source.Canvas(), Rect(0, 0, 2, 2));
        EXPECT_EQ(At(1, 1), C.Expected) << std::hex << C.Mode;
        // Draw uses the copy mode as well.
        Canvas()->Brush()->SetColor(D);
        Canvas()->FillRect(Rect(0, 0, 2, 2));
        Canvas()->Brush()->SetColor(P);
        Canvas()->Draw(0, 0, &Source);
        EXPECT_EQ(At(0, 0), C.Expected) << "Draw " << std::hex << C.Mode;
    }
}

TEST_F(CanvasTest, CopyRectStretchesAndCopiesWithinOneCanvas) {
    TBitmap Source;
    Source.SetSize(2, 2);
    const TColor Colours[2][2] = {{clRed, clLime}, {clBlue, clYellow}};
    for (int Y = 0; Y < 2; ++Y)
        for (int X = 0; X < 2; ++X)
            Source.Canvas()->SetPixels(X, Y, Colours[Y][X]);
    Canvas()->CopyRect(Rect(10, 10, 14, 14), Source.Canvas(), Rect(0, 0, 2, 2));
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 4; ++X)
            EXPECT_EQ(At(10 + X, 10 + Y), Colours[Y / 2][X / 2]) << X << "," << Y;

    // Overlapping source and destination read the pixels as they were.
    Canvas()->CopyRect(Rect(11, 10, 15, 14), Canvas(), Rect(10, 10, 14, 14));
    EXPECT_EQ(At(11, 10), clRed);
    EXPECT_EQ(At(13, 10), clLime);
    EXPECT_EQ(At(14, 13), clYellow);
}

TEST_F(CanvasTest, TransparentBitmapLeavesItsTransparentColourOut) {
    TBitmap Picture;
    Picture.SetSize(3, 3);
    Picture.Canvas()->Brush()->SetColor(clFuchsia);
    Picture.Canvas()->FillRect(Rect(0, 0, 3, 3));
    Picture.Canvas()->SetPixels(1, 1, clNavy);
    EXPECT_EQ(Picture.TransparentColor(), clFuchsia); // the bottom-left pixel
    Picture.SetTransparent(true);
    Canvas()->StretchDraw(Rect(0, 0, 6, 6), &Picture);
    EXPECT_EQ(At(0, 0), clWhite);
    EXPECT_EQ(At(2, 2), clNavy);
    EXPECT_EQ(At(3, 3), clNavy);
    EXPECT_EQ(At(5, 5), clWhite);
}

TEST_F(CanvasTest, HatchBrushLeavesThePixelsBetweenItsLines) {
    Canvas()->Brush()->SetColor(clGreen);
    Canvas()->Brush()->SetStyle(bsHorizontal);
    Canvas()->FillRect(Rect(0, 0, 8, 8));
    int Green = 0, White = 0;
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X)
            (At(X, Y) == clGreen ? Green : White)++;
    EXPECT_EQ(Green, 8);
    EXPECT_EQ(White, 56);
}

TEST_F(CanvasTest, MonochromePatternBrushPaintsInFontAndBrushColours) {
    TBitmap Pattern;
    Pattern.SetSize(2, 2);
    Pattern.Canvas()->SetPixels(0, 0, clBlack);
    Pattern.Canvas()->SetPixels(1, 1, clBlack);
    Pattern.SetMonochrome(true);
    Canvas()->Brush()->SetBitmap(&Pattern);
    Canvas()->Brush()->SetColor(clYellow);
    Canvas()->Font()->SetColor(clMaroon);
    Canvas()->FillRect(Rect(0, 0, 4, 4));
    EXPECT_EQ(At(0, 0), clMaroon);
    EXPECT_EQ(At(1, 0), clYellow);
    EXPECT_EQ(At(3, 3), clMaroon);
    EXPECT_EQ(At(2, 3), clYellow);
}

TEST_F(CanvasTest, ShapesFillInsideTheirBoundsAndNotBeyond) {
    struct Case {
        const char* Name;
        std::function<void(TCanvas&)> Draw;
    };
    const Case Cases[] = {
        {"ellipse", [](TCanvas& C) { C.Ellipse(10, 5, 30, 25); }},
        {"round rect", [](TCanvas& C) { C.RoundRect(10, 5, 30, 25, 8, 8); }},
        {"polygon",
         [](TCanvas& C) {
             C.Polygon({Point(20, 5), Point(29, 15), Point(20, 24), Point(10, 15)});
         }},
        {"wide ellipse",
         [](TCanvas& C) {
             C.Pen()->SetWidth(3);
             C.Pen()->SetStyle(psInsideFrame);
             C.Ellipse(10, 5, 30, 25);
         }},
    };
    for (const Case& C : Cases) {
        SetUp();
        Canvas()->Pen()->SetWidth(1);
        Canvas()->Pen()->SetStyle(psSolid);
        Canvas()->Pen()->SetColor(clBlack);
        Canvas()->Brush()->SetColor(clRed);
        C.Draw(*Canvas());
        EXPECT_EQ(At(20, 15), clRed) << C.Name;
        EXPECT_EQ(At(20, 5), clBlack) << C.Name << " top edge";
        EXPECT_EQ(At(10, 5), clWhite) << C.Name << " corner";
        EXPECT_EQ(Marked(Rect(10, 5, 30, 25)).second, 0) << C.Name;
    }
}

TEST_F(CanvasTest, TextIsDrawnInItsMeasuredCellAndMovesThePen) {
    Canvas()->Font()->SetColor(clBlack);
    Canvas()->Font()->SetHeight(-14);
    Canvas()->Brush()->SetStyle(bsClear);
    const TSize Size = Canvas()->TextExtent("Hg");
    ASSERT_GT(Size.cx, 0);
    ASSERT_GT(Size.cy, 0);
    Canvas()->TextOut(3, 2, "Hg");
    EXPECT_EQ(Canvas()->PenPos(), Point(3 + Size.cx, 2));
    const auto [Inside, Outside] = Marked(Rect(3, 2, 3 + Size.cx + 1, 2 + Size.cy));
    EXPECT_GT(Inside, 0);
    EXPECT_EQ(Outside, 0);

    // Measured from the font: longer text, larger font, wider extent.
    EXPECT_GT(Canvas()->TextWidth("HgHg"), Size.cx);
    Canvas()->Font()->SetHeight(-28);
    EXPECT_GT(Canvas()->TextWidth("Hg"), Size.cx);
    EXPECT_GT(Canvas()->TextHeight("Hg"), Size.cy);
    EXPECT_EQ(Canvas()->TextWidth(""), 0);
}

TEST_F(CanvasTest, TextRectFillsTheRectangleAndClipsTheText) {
    Canvas()->Font()->SetColor(clBlack);
    Canvas()->Font()->SetHeight(-20);
    Canvas()->Brush()->SetColor(clAqua);
    const TRect Box = Rect(5, 5, 15, 12);
    Canvas()->TextRect(Box, 5, 5, "WWWWWW");
    int Text = 0, Fill = 0;
    for (int Y = 5; Y < 12; ++Y)
        for (int X = 5; X < 15; ++X)
            (At(X, Y) == clAqua ? Fill : Text)++;
    EXPECT_GT(Text, 0);
    EXPECT_GT(Fill, 0);
    // Nothing of the text or the fill beyond the rectangle.
    EXPECT_EQ(Marked(Box).second, 0);
}

TEST_F(CanvasTest, PixelsOutsideTheSurfaceReadAsInvalidAndIgnoreWrites) {
    EXPECT_EQ(At(-1, 0), -1);
    EXPECT_EQ(At(40, 0), -1);
    Canvas()->SetPixels(40, 29, clRed);
    Canvas()->SetPixels(39, 29, clRed);
    EXPECT_EQ(At(39, 29), clRed);
    EXPECT_EQ(Canvas()->ClipRect(), Rect(0, 0, 40, 30));
}

TEST_F(CanvasTest, DrawingTellsTheCanvasAndTheBitmap) {
    std::vector<AnsiString> Events;
    Canvas()->OnChanging = [&](TObject*) { Events.push_back("changing"); };
    Canvas()->OnChange = [&](TObject*) { Events.push_back("canvas"); };
    Bitmap.OnChange = [&](TObject*) { Events.push_back("bitmap"); };
    Canvas()->FillRect(Rect(0, 0, 1, 1));
    EXPECT_EQ(Events, (std::vector<AnsiString>{"changing", "canvas", "bitmap"}));
    EXPECT_TRUE(Bitmap.Modified());
}

TEST(CanvasWithoutSurfaceTest, DrawingRaises) {
    TCanvas Canvas;
    try {
        Canvas.FillRect(Rect(0, 0, 1, 1));
        FAIL() << "no exception";
    } catch (const EInvalidOperation& E) {
        EXPECT_EQ(E.Message, "Canvas does not allow drawing");
    }
}

// Widths of plain texts are summed from glyph advances and kerned pairs
// rather than laid out each time; they must come out as Qt lays the text
// out in the canvas's own font, to the pixel, or lines break elsewhere.
TEST_F(CanvasTest, TextWidthsAreWhatQtLaysOutInTheCanvasFont) {
    struct Face {
        int Height;
        TFontStyles Style;
    };
    const Face Faces[] = {{-9, {}}, {-14, {}}, {-14, TFontStyles{fsBold}},
                          {-17, TFontStyles{fsItalic}}, {-23, TFontStyles{fsBold, fsItalic}}};
    const AnsiString Texts[] = {"AV To Wa Ty LT", "Job 4711 status changed to In Production",
                                "x", "  spaced  ", "\"quoted\" {braces} ~tilde",
                                "tab\there", "Gr\xC3\xB6\xC3\x9F" "e", "line\r\nend"};
    // Twice round, so that a font met again is measured as the first time.
    for (int Round = 0; Round < 2; ++Round)
        for (const Face& F : Faces) {
            Canvas()->Font()->SetHeight(F.Height);
            Canvas()->Font()->SetStyle(F.Style);
            QFont Qt = CanvasFont(*Canvas()->Font());
            Qt.setStyleStrategy(QFont::PreferNoShaping);
            const QFontMetrics Metrics(Qt);
            for (const AnsiString& Text : Texts) {
                SCOPED_TRACE(Text + " at " + std::to_string(F.Height));
                const QString S =
                    QString::fromUtf8(Text.data(), static_cast<qsizetype>(Text.size()));
                EXPECT_EQ(Canvas()->TextWidth(Text), Metrics.horizontalAdvance(S));
            }
        }
}

// A span's width is read off one measurement of the whole run; a span that
// starts inside it must leave out the kerning with the byte before it and
// round once, or a wrapped line's width would be a pixel out.
TEST_F(CanvasTest, RunGivesEverySpanTheWidthQtLaysOutUpToTheFirstByteThatNeedsLayout) {
    const AnsiString Text = "WAVE yTo,\"LT\" Ta AV fi~\xC3\xA9t\xC3\xA9";
    const std::size_t Plain = Text.find('\xC3');
    const TFontStyles Styles[] = {{}, TFontStyles{fsBold}, TFontStyles{fsItalic}};
    for (const int Height : {-11, -15, -19})
        for (const TFontStyles& Style : Styles) {
            Canvas()->Font()->SetHeight(Height);
            Canvas()->Font()->SetStyle(Style);
            QFont Qt = CanvasFont(*Canvas()->Font());
            Qt.setStyleStrategy(QFont::PreferNoShaping);
            const QFontMetrics Metrics(Qt);
            TTextRun Run;
            ASSERT_EQ(Canvas()->TextRun(Text, Run), Plain);
            ASSERT_EQ(Run.Size(), Plain);
            for (std::size_t From = 0; From <= Plain; ++From)
                for (std::size_t To = From; To <= Plain; ++To) {
                    const QString Span = QString::fromLatin1(Text.data() + From,
                                                             static_cast<qsizetype>(To - From));
                    ASSERT_EQ(Run.Width(From, To), Metrics.horizontalAdvance(Span))
                        << Text.substr(From, To - From) << " at " << Height;
                }
        }
    TTextRun Run;
    EXPECT_EQ(Canvas()->TextRun("\tx", Run), 0u);
    EXPECT_EQ(Run.Size(), 0u);
    EXPECT_EQ(Run.Width(0, 0), 0);
}

} // namespace
