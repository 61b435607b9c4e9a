#include "formstore/DrawUtil.h"

#include "platform/gui/CustomControl.h"
#include "platform/gui/Forms.h"

#include "platform/gui/testing/FilledBitmap.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace formstore;

namespace {

constexpr TColor Marker = clRed;

TColor Grey(int Level) {
    return RGB(static_cast<std::uint8_t>(Level), static_cast<std::uint8_t>(Level),
               static_cast<std::uint8_t>(Level));
}

using testing_support::Filled;

// A 2 x 2 bitmap: red, green on top; blue, white below.
std::unique_ptr<TBitmap> FourColours() {
    auto Bitmap = Filled(2, 2, clWhite);
    TCanvas* C = Bitmap->Canvas();
    C->SetPixels(0, 0, clRed);
    C->SetPixels(1, 0, clLime);
    C->SetPixels(0, 1, clBlue);
    return Bitmap;
}

// Whether any pixel of the area differs from Background.
bool HasInk(TCanvas* Canvas, const TRect& Area, TColor Background) {
    for (int Y = Area.Top; Y < Area.Bottom; ++Y)
        for (int X = Area.Left; X < Area.Right; ++X)
            if (Canvas->Pixels(X, Y) != Background) return true;
    return false;
}

class DrawUtil : public ::testing::Test {
protected:
    void SetUp() override { Application->Initialize(); }
};

struct GradientCase {
    TFillDirection Direction;
    int Extent;
    std::uint8_t Colors;
    std::vector<int> Levels; // grey level of each row or column, first to last
};

TEST_F(DrawUtil, GradientBandsFromBlackToWhite) {
    const GradientCase Cases[] = {
        {fdTopToBottom, 10, 4, {0, 0, 85, 85, 170, 170, 255, 255, 255, 255}},
        {fdBottomToTop, 10, 4, {255, 255, 170, 170, 85, 85, 0, 0, 0, 0}},
        {fdLeftToRight, 5, 8, {0, 64, 128, 191, 255}},
        {fdRightToLeft, 7, 2, {255, 255, 255, 0, 0, 0, 0}},
    };
    for (const GradientCase& Case : Cases) {
        SCOPED_TRACE(static_cast<int>(Case.Direction));
        const bool Vertical = Case.Direction == fdTopToBottom || Case.Direction == fdBottomToTop;
        // The rectangle sits one pixel inside a marker-coloured bitmap.
        const int Width = Vertical ? 3 : Case.Extent;
        const int Height = Vertical ? Case.Extent : 3;
        auto Bitmap = Filled(Width + 2, Height + 2, Marker);
        TCanvas* C = Bitmap->Canvas();
        C->Brush()->SetColor(clYellow);
        GradientFillRect(C, Rect(1, 1, Width + 1, Height + 1), clBlack, clWhite, Case.Direction,
                         Case.Colors);
        for (int I = 0; I < Case.Extent; ++I) {
            SCOPED_TRACE(I);
            const int X = Vertical ? 2 : I + 1;
            const int Y = Vertical ? I + 1 : 2;
            EXPECT_EQ(C->Pixels(X, Y), Grey(Case.Levels[static_cast<std::size_t>(I)]));
        }
        // Nothing outside the rectangle, and the brush as it was.
        for (int X = 0; X < Width + 2; ++X) {
            EXPECT_EQ(C->Pixels(X, 0), Marker);
            EXPECT_EQ(C->Pixels(X, Height + 1), Marker);
        }
        for (int Y = 0; Y < Height + 2; ++Y) {
            EXPECT_EQ(C->Pixels(0, Y), Marker);
            EXPECT_EQ(C->Pixels(Width + 1, Y), Marker);
        }
        EXPECT_EQ(C->Brush()->Color(), clYellow);
    }
}

TEST_F(DrawUtil, GradientWithOneColourFillsAndAnEmptyRectanglePaintsNothing) {
    auto Bitmap = Filled(6, 6, Marker);
    TCanvas* C = Bitmap->Canvas();
    GradientFillRect(C, Rect(1, 1, 5, 1), clBlack, clWhite, fdTopToBottom, 4);
    GradientFillRect(C, Rect(3, 1, 1, 5), clBlack, clWhite, fdLeftToRight, 4);
    EXPECT_FALSE(HasInk(C, Rect(0, 0, 6, 6), Marker));
    GradientFillRect(C, Rect(1, 1, 5, 5), clBlue, clWhite, fdTopToBottom, 1);
    EXPECT_EQ(C->Pixels(1, 1), clBlue);
    EXPECT_EQ(C->Pixels(4, 4), clBlue);
    EXPECT_EQ(C->Pixels(5, 5), Marker);
}

TEST_F(DrawUtil, TwoColourPatternIsACheckerboard) {
    auto Pattern = CreateTwoColorsBrushPattern(clWhite, clNavy);
    ASSERT_EQ(Pattern->Width(), 8);
    ASSERT_EQ(Pattern->Height(), 8);
    TCanvas* C = Pattern->Canvas();
    const struct {
        int X, Y;
        TColor Expected;
    } Probes[] = {{0, 0, clNavy},  {1, 1, clNavy}, {1, 0, clWhite},
                  {0, 1, clWhite}, {7, 7, clNavy}, {6, 7, clWhite}};
    for (const auto& P : Probes)
        EXPECT_EQ(C->Pixels(P.X, P.Y), P.Expected) << P.X << "," << P.Y;
}

TEST_F(DrawUtil, ShadeRectBlackensADiagonalHatchAndKeepsTheCanvasSettings) {
    const TColor Paper = RGB(200, 150, 100);
    auto Bitmap = Filled(10, 10, Paper);
    TCanvas* C = Bitmap->Canvas();
    C->Brush()->SetColor(clYellow);
    C->Font()->SetColor(clGreen);
    ShadeRect(C, Rect(0, 0, 8, 9));
    // Rows 0x11, 0x22, 0x44, 0x88: the leftmost pixel is the high bit.
    for (int Y = 0; Y < 9; ++Y) {
        const int Bits = 0x11 << (Y % 4);
        for (int X = 0; X < 8; ++X) {
            const bool Dark = (Bits & (0x80 >> X)) != 0;
            EXPECT_EQ(C->Pixels(X, Y), Dark ? clBlack : Paper) << X << "," << Y;
        }
    }
    EXPECT_EQ(C->Pixels(8, 0), Paper);
    EXPECT_EQ(C->Pixels(0, 9), Paper);
    EXPECT_EQ(C->Brush()->Color(), clYellow);
    EXPECT_EQ(C->Brush()->Bitmap(), nullptr);
    EXPECT_EQ(C->Font()->Color(), clGreen);
    EXPECT_EQ(C->CopyMode(), cmSrcCopy);
}

TEST_F(DrawUtil, TransparentDrawingLeavesOutTheTransparentColour) {
    const struct {
        TColor Transparent;
        std::vector<TColor> Expected; // (0,0), (1,0), (0,1), (1,1) on a grey canvas
    } Cases[] = {
        {clRed, {Grey(128), clLime, clBlue, clWhite}},
        {clDefault, {clRed, clLime, Grey(128), clWhite}}, // the bottom-left pixel
        {clNone, {clRed, clLime, clBlue, clWhite}},
    };
    auto Source = FourColours();
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Transparent);
        auto Target = Filled(4, 4, Grey(128));
        DrawBitmapTransparent(Target->Canvas(), 1, 1, Source.get(), Case.Transparent);
        TCanvas* C = Target->Canvas();
        EXPECT_EQ(C->Pixels(1, 1), Case.Expected[0]);
        EXPECT_EQ(C->Pixels(2, 1), Case.Expected[1]);
        EXPECT_EQ(C->Pixels(1, 2), Case.Expected[2]);
        EXPECT_EQ(C->Pixels(2, 2), Case.Expected[3]);
        EXPECT_EQ(C->Pixels(0, 0), Grey(128));
        EXPECT_EQ(C->Pixels(3, 3), Grey(128));
    }
}

TEST_F(DrawUtil, StretchedTransparentPartCoversTheTargetSize) {
    auto Source = FourColours();
    auto Target = Filled(6, 6, Grey(128));
    // The right column (green over white), stretched to 4 x 4, white left out.
    StretchBitmapRectTransparent(Target->Canvas(), 1, 1, 4, 4, Rect(1, 0, 2, 2), Source.get(),
                                 clWhite);
    TCanvas* C = Target->Canvas();
    EXPECT_EQ(C->Pixels(1, 1), clLime);
    EXPECT_EQ(C->Pixels(4, 2), clLime);
    EXPECT_EQ(C->Pixels(1, 3), Grey(128));
    EXPECT_EQ(C->Pixels(4, 4), Grey(128));
    EXPECT_EQ(C->Pixels(5, 1), Grey(128));
}

TEST_F(DrawUtil, DisabledBitmapEmbossesTheShape) {
    // A white bitmap with one black pixel and one red pixel; white is transparent.
    auto Source = Filled(4, 4, clWhite);
    Source->Canvas()->SetPixels(1, 1, clBlack);
    Source->Canvas()->SetPixels(3, 0, clRed);
    for (const bool Highlight : {true, false}) {
        SCOPED_TRACE(Highlight);
        auto Disabled =
            CreateDisabledBitmapEx(Source.get(), clWhite, clSilver, clYellow, clGray, Highlight);
        TCanvas* C = Disabled->Canvas();
        EXPECT_EQ(C->Pixels(1, 1), clGray);
        EXPECT_EQ(C->Pixels(3, 0), clGray);
        EXPECT_EQ(C->Pixels(2, 2), Highlight ? clYellow : clSilver);
        EXPECT_EQ(C->Pixels(0, 0), clSilver);
        EXPECT_EQ(C->Pixels(3, 1), clSilver); // the red pixel's highlight falls outside
    }
}

TEST_F(DrawUtil, ChangeBitmapColourReplacesOnlyThatColour) {
    auto Source = FourColours();
    auto Changed = ChangeBitmapColor(Source.get(), clLime, clFuchsia);
    TCanvas* C = Changed->Canvas();
    EXPECT_EQ(C->Pixels(0, 0), clRed);
    EXPECT_EQ(C->Pixels(1, 0), clFuchsia);
    EXPECT_EQ(C->Pixels(0, 1), clBlue);
    EXPECT_EQ(Source->Canvas()->Pixels(1, 0), clLime);
}

TEST_F(DrawUtil, AssignBitmapCellCutsTheCellRowByRow) {
    // An 8 x 4 strip of 4 x 2 cells, 2 x 2 pixels each, cell N in grey level N * 10.
    auto Strip = Filled(8, 4, clBlack);
    for (int Cell = 0; Cell < 8; ++Cell) {
        Strip->Canvas()->Brush()->SetColor(Grey(Cell * 10));
        Strip->Canvas()->FillRect(
            Rect(Cell % 4 * 2, Cell / 4 * 2, Cell % 4 * 2 + 2, Cell / 4 * 2 + 2));
    }
    Strip->SetTransparentColor(clFuchsia);
    Strip->SetTransparent(true);
    TBitmap Cell;
    AssignBitmapCell(Strip.get(), &Cell, 4, 2, 5);
    ASSERT_EQ(Cell.Width(), 2);
    ASSERT_EQ(Cell.Height(), 2);
    EXPECT_EQ(Cell.Canvas()->Pixels(0, 0), Grey(50));
    EXPECT_EQ(Cell.Canvas()->Pixels(1, 1), Grey(50));
    EXPECT_EQ(Cell.TransparentColor(), clFuchsia);
    EXPECT_TRUE(Cell.Transparent());

    // Counts below 1 make the whole source one cell; a negative index is 0.
    AssignBitmapCell(Strip.get(), &Cell, 0, -1, -3);
    EXPECT_EQ(Cell.Width(), 8);
    EXPECT_EQ(Cell.Height(), 4);
    EXPECT_EQ(Cell.Canvas()->Pixels(7, 3), Grey(70));
    AssignBitmapCell(nullptr, &Cell, 4, 2, 1);
    EXPECT_EQ(Cell.Width(), 8);
}

// A control to draw cell texts on, white with black text.
class TCellSurface : public TCustomControl {
public:
    explicit TCellSurface(TComponent* AOwner) : TCustomControl(AOwner) {}
};

TEST_F(DrawUtil, CentredCellTextWrapsWordsAndLeftAlignedDoesNot) {
    TCellSurface Control(nullptr);
    Control.SetBounds(0, 0, 200, 100);
    TCanvas* C = Control.Canvas();
    C->Font()->SetColor(clBlack);
    C->Brush()->SetColor(clWhite);
    const AnsiString Text = "Mmmm Mmmm Mmmm";
    const int Line = C->TextHeight("W");
    // Wide enough for one word, not for two; three lines high.
    const TRect Cell = Rect(0, 0, C->TextWidth("Mmmm") + 8, 2 + 3 * Line + 2);
    const TRect SecondLine = Rect(Cell.Left, 2 + Line + 1, Cell.Right, 2 + 2 * Line);
    for (const TAlignment Align : {taCenter, taLeftJustify}) {
        SCOPED_TRACE(static_cast<int>(Align));
        C->FillRect(Rect(0, 0, 200, 100));
        DrawCellText(&Control, 0, 0, Text, Cell, Align, vaTopJustify);
        EXPECT_TRUE(HasInk(C, Rect(Cell.Left, 2, Cell.Right, 2 + Line), clWhite));
        EXPECT_EQ(HasInk(C, SecondLine, clWhite), Align == taCenter);
        EXPECT_FALSE(HasInk(C, Rect(Cell.Right, 0, 200, 100), clWhite));
    }
}

TEST_F(DrawUtil, SingleLineCellTextIsPlacedByItsAlignment) {
    auto Bitmap = Filled(120, 20, clWhite);
    TCanvas* C = Bitmap->Canvas();
    C->Font()->SetColor(clBlack);
    C->Brush()->SetColor(clWhite);
    const AnsiString Text = "Hi";
    const int Width = C->TextWidth(Text);
    const TRect Cell = Rect(10, 0, 110, 20);
    const struct {
        TAlignment Align;
        int From, To; // where the text's ink may lie
    } Cases[] = {
        {taLeftJustify, 10 + 4, 10 + 4 + Width},
        {taRightJustify, 110 - 3 - Width, 110 - 3},
        {taCenter, 60 - Width / 2, 60 - Width / 2 + Width},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(static_cast<int>(Case.Align));
        C->FillRect(Rect(0, 0, 120, 20));
        WriteText(C, Cell, 4, 2, Text, Case.Align, false);
        EXPECT_TRUE(HasInk(C, Rect(Case.From, 0, Case.To, 20), clWhite));
        EXPECT_FALSE(HasInk(C, Rect(0, 0, Case.From, 20), clWhite));
        EXPECT_FALSE(HasInk(C, Rect(Case.To + 1, 0, 120, 20), clWhite));
    }
}

TEST_F(DrawUtil, MinimizeTextShortensUntilItFits) {
    auto Bitmap = Filled(4, 4, clWhite);
    TCanvas* C = Bitmap->Canvas();
    const AnsiString Text = "A rather long caption";
    EXPECT_EQ(MinimizeText(Text, C, C->TextWidth(Text)), Text);

    const int Narrow = C->TextWidth("A rather...");
    const AnsiString Short = MinimizeText(Text, C, Narrow);
    EXPECT_TRUE(Short.ends_with("...")) << Short;
    EXPECT_LE(C->TextWidth(Short), Narrow);
    EXPECT_TRUE(Text.starts_with(Short.substr(0, Short.size() - 3))) << Short;
    // One character more would not have fitted.
    EXPECT_GT(C->TextWidth(Text.substr(0, Short.size() - 2) + "..."), Narrow);

    EXPECT_EQ(MinimizeText(Text, C, 0), "...");

    // Two-byte characters are kept whole.
    const AnsiString Accented = "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9";
    for (int Width = 0; Width < C->TextWidth(Accented); Width += 3) {
        const AnsiString Cut = MinimizeText(Accented, C, Width);
        EXPECT_EQ((Cut.size() - 3) % 2, 0u) << Width;
    }
}

TEST_F(DrawUtil, RotatedFontCopiesTheFontWithTheEscapement) {
    TFont Plain;
    Plain.SetName("Liberation Sans");
    Plain.SetHeight(-13);
    Plain.SetPitch(fpVariable);
    Plain.SetCharset(ANSI_CHARSET);
    TLogFont Expected;
    Expected.lfHeight = -13;
    Expected.lfEscapement = 450;
    Expected.lfWeight = 400;
    Expected.lfCharSet = ANSI_CHARSET;
    Expected.lfPitchAndFamily = 2;
    Expected.lfFaceName = "Liberation Sans";
    EXPECT_EQ(CreateRotatedFont(&Plain, 45), Expected);

    TFont Styled;
    Styled.SetName("Default");
    Styled.SetStyle({fsBold, fsItalic, fsUnderline, fsStrikeOut});
    Styled.SetPitch(fpFixed);
    const TLogFont Rotated = CreateRotatedFont(&Styled, -90);
    EXPECT_EQ(Rotated.lfEscapement, -900);
    EXPECT_EQ(Rotated.lfWeight, 700);
    EXPECT_TRUE(Rotated.lfItalic && Rotated.lfUnderline && Rotated.lfStrikeOut);
    EXPECT_EQ(Rotated.lfPitchAndFamily, 1);
    EXPECT_EQ(Rotated.lfFaceName, TFont().Name());
}

} // namespace
