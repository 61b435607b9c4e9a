// Bitmap and drawing helpers read back pixel by pixel.
#include "formstore/DrawUtil.h"
#include "formstore/ImageUtil.h"

#include "platform/gui/CustomControl.h"
#include "platform/gui/Forms.h"

#include "platform/gui/testing/FilledBitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

using namespace formstore;
using testing_support::Filled;

namespace {

struct ApplicationUp : ::testing::Environment {
    void SetUp() override { Application->Initialize(); }
};
[[maybe_unused]] auto* const Up = ::testing::AddGlobalTestEnvironment(new ApplicationUp);

TColor GreyLevel(int Level) { return RGB(Level, Level, Level); }

// The colour of every row (or column) along the gradient's run, read in
// the middle of the other axis.
std::vector<TColor> Along(TBitmap* B, bool Vertical, int From, int To, int At) {
    std::vector<TColor> Result;
    for (int I = From; I < To; ++I)
        Result.push_back(Vertical ? B->Canvas()->Pixels(At, I) : B->Canvas()->Pixels(I, At));
    return Result;
}

} // namespace

TEST(DrawingReading, GradientBandsRemainderAndDirections) {
    struct Case {
        TFillDirection Direction;
        TColor Start, End;
        std::vector<TColor> Expected; // rows/columns 2..11 of a 10-pixel run
    };
    const TColor B = clBlack, W = clWhite;
    const std::vector<Case> Cases = {
        {fdTopToBottom, B, W, {GreyLevel(0), GreyLevel(0), GreyLevel(85), GreyLevel(85), GreyLevel(170), GreyLevel(170), W, W, W, W}},
        {fdLeftToRight, B, W, {GreyLevel(0), GreyLevel(0), GreyLevel(85), GreyLevel(85), GreyLevel(170), GreyLevel(170), W, W, W, W}},
        // Reversed runs start from the end colour and leave the start colour over.
        {fdBottomToTop, B, W, {W, W, GreyLevel(170), GreyLevel(170), GreyLevel(85), GreyLevel(85), B, B, B, B}},
        {fdRightToLeft, B, W, {W, W, GreyLevel(170), GreyLevel(170), GreyLevel(85), GreyLevel(85), B, B, B, B}},
        // Steps are rounded to the nearest level: 0, 33, 67, 100.
        {fdTopToBottom, B, GreyLevel(100), {GreyLevel(0), GreyLevel(0), GreyLevel(33), GreyLevel(33), GreyLevel(67), GreyLevel(67), GreyLevel(100), GreyLevel(100), GreyLevel(100), GreyLevel(100)}},
        {fdBottomToTop, B, GreyLevel(100), {GreyLevel(100), GreyLevel(100), GreyLevel(67), GreyLevel(67), GreyLevel(33), GreyLevel(33), GreyLevel(0), GreyLevel(0), GreyLevel(0), GreyLevel(0)}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(static_cast<int>(C.Direction));
        auto Bmp = Filled(14, 14, clRed);
        const bool Vertical = C.Direction == fdTopToBottom || C.Direction == fdBottomToTop;
        GradientFillRect(Bmp->Canvas(), Rect(2, 2, 12, 12), C.Start, C.End, C.Direction, 4);
        EXPECT_EQ(Along(Bmp.get(), Vertical, 2, 12, 5), C.Expected);
        // Nothing outside the rectangle.
        for (int I = 0; I < 14; ++I) {
            EXPECT_EQ(Bmp->Canvas()->Pixels(I, 1), clRed);
            EXPECT_EQ(Bmp->Canvas()->Pixels(I, 12), clRed);
            EXPECT_EQ(Bmp->Canvas()->Pixels(1, I), clRed);
            EXPECT_EQ(Bmp->Canvas()->Pixels(12, I), clRed);
        }
    }
}

TEST(DrawingReading, GradientOneColourEmptyRectAndSystemColours) {
    auto Bmp = Filled(10, 10, clRed);
    GradientFillRect(Bmp->Canvas(), Rect(0, 0, 10, 10), clBlue, clWhite, fdTopToBottom, 1);
    EXPECT_EQ(Bmp->Canvas()->Pixels(5, 9), clBlue);
    GradientFillRect(Bmp->Canvas(), Rect(3, 3, 3, 8), clLime, clLime, fdTopToBottom, 4);
    GradientFillRect(Bmp->Canvas(), Rect(3, 3, 8, 3), clLime, clLime, fdTopToBottom, 4);
    for (int Y = 0; Y < 10; ++Y)
        for (int X = 0; X < 10; ++X) ASSERT_EQ(Bmp->Canvas()->Pixels(X, Y), clBlue);
    // System colours are resolved first.
    GradientFillRect(Bmp->Canvas(), Rect(0, 0, 10, 10), clBtnFace, clBtnFace, fdTopToBottom, 2);
    EXPECT_EQ(Bmp->Canvas()->Pixels(5, 5), ColorToRGB(clBtnFace));
    // More colours than pixels: one band per pixel.
    GradientFillRect(Bmp->Canvas(), Rect(0, 0, 10, 3), clBlack, clWhite, fdTopToBottom, 200);
    EXPECT_EQ(Along(Bmp.get(), true, 0, 3, 0), (std::vector<TColor>{GreyLevel(0), GreyLevel(128), GreyLevel(255)}));
}

TEST(DrawingReading, AssignBitmapCellCutsRowMajorCells) {
    // A 4 x 2 strip of 3 x 2 cells, each cell its own colour.
    const TColor Colours[8] = {clRed, clLime, clBlue, clYellow, clAqua, clFuchsia, clNavy, clMaroon};
    auto Strip = Filled(12, 4, clWhite);
    for (int I = 0; I < 8; ++I) {
        Strip->Canvas()->Brush()->SetColor(Colours[I]);
        Strip->Canvas()->FillRect(Rect((I % 4) * 3, (I / 4) * 2, (I % 4) * 3 + 3, (I / 4) * 2 + 2));
    }
    Strip->SetTransparentColor(clNavy);
    Strip->SetTransparent(true);
    struct Case { int Cols, Rows, Index; TColor Expected; int W, H; };
    const Case Cases[] = {
        {4, 2, 5, clFuchsia, 3, 2},
        {4, 2, 0, clRed, 3, 2},
        {4, 2, -3, clRed, 3, 2},
        {4, 2, 7, clMaroon, 3, 2},
        {0, 0, 0, clRed, 12, 4},    // counts below 1 are 1: the whole source
        {4, 0, 2, clBlue, 3, 4},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Index);
        TBitmap Dest;
        AssignBitmapCell(Strip.get(), &Dest, C.Cols, C.Rows, C.Index);
        ASSERT_EQ(Dest.Width(), C.W);
        ASSERT_EQ(Dest.Height(), C.H);
        EXPECT_EQ(Dest.Canvas()->Pixels(0, 0), C.Expected);
        EXPECT_EQ(Dest.Canvas()->Pixels(C.W - 1, 1), C.W == 3 ? C.Expected : clYellow);
        EXPECT_EQ(Dest.TransparentColor(), clNavy);
        EXPECT_TRUE(Dest.Transparent());
    }
    TBitmap Dest;
    AssignBitmapCell(nullptr, &Dest, 4, 2, 1);
    EXPECT_TRUE(Dest.Empty());
    AssignBitmapCell(Strip.get(), nullptr, 4, 2, 1); // no crash
}

TEST(DrawingReading, TransparentDrawingLeavesOutTheMaskColour) {
    // Red with a lime centre pixel; bottom-left is red.
    auto Src = Filled(3, 3, clRed);
    Src->Canvas()->SetPixels(1, 1, clLime);
    struct Case { TColor Mask; TColor Corner, Centre; };
    const Case Cases[] = {
        {clRed, clBlue, clLime},      // red left out
        {clLime, clRed, clBlue},      // lime left out
        {clDefault, clBlue, clLime},  // the bottom-left pixel's colour
        {clNone, clRed, clLime},      // plain copy
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Mask);
        auto Dst = Filled(5, 5, clBlue);
        DrawBitmapTransparent(Dst->Canvas(), 1, 1, Src.get(), C.Mask);
        EXPECT_EQ(Dst->Canvas()->Pixels(1, 1), C.Corner);
        EXPECT_EQ(Dst->Canvas()->Pixels(2, 2), C.Centre);
        EXPECT_EQ(Dst->Canvas()->Pixels(0, 0), clBlue);
        EXPECT_EQ(Dst->Canvas()->Pixels(4, 4), clBlue);
    }
    // Stretched: the 1-pixel centre becomes 2 x 2 in a 6 x 6 copy.
    auto Dst = Filled(8, 8, clBlue);
    StretchBitmapRectTransparent(Dst->Canvas(), 1, 1, 6, 6, Rect(0, 0, 0, 0), Src.get(), clRed);
    EXPECT_EQ(Dst->Canvas()->Pixels(3, 3), clLime);
    EXPECT_EQ(Dst->Canvas()->Pixels(4, 4), clLime);
    EXPECT_EQ(Dst->Canvas()->Pixels(1, 1), clBlue);
    EXPECT_EQ(Dst->Canvas()->Pixels(6, 6), clBlue);
    // A source part at its own size.
    auto Dst2 = Filled(4, 4, clBlue);
    DrawBitmapRectTransparent(Dst2->Canvas(), 0, 0, Rect(1, 1, 3, 3), Src.get(), clNone);
    EXPECT_EQ(Dst2->Canvas()->Pixels(0, 0), clLime);
    EXPECT_EQ(Dst2->Canvas()->Pixels(1, 1), clRed);
    EXPECT_EQ(Dst2->Canvas()->Pixels(2, 2), clBlue);
    // Monochrome: white is always left out.
    auto Mono = Filled(2, 1, clWhite);
    Mono->Canvas()->SetPixels(1, 0, clBlack);
    Mono->SetMonochrome(true);
    auto Dst3 = Filled(2, 1, clBlue);
    DrawBitmapTransparent(Dst3->Canvas(), 0, 0, Mono.get(), clBlack);
    EXPECT_EQ(Dst3->Canvas()->Pixels(0, 0), clBlue);
    EXPECT_EQ(Dst3->Canvas()->Pixels(1, 0), clBlack);
}

TEST(DrawingReading, AverageCharSizeRotatedFontAndPaletteColor) {
    TBitmap B;
    B.SetSize(10, 10);
    TCanvas* C = B.Canvas();
    const AnsiString Letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const TPoint P = GetAveCharSize(C);
    EXPECT_EQ(P.X, C->TextWidth(Letters) / 52);
    EXPECT_EQ(P.Y, C->TextHeight(Letters));

    TFont F;
    F.SetName("Courier New");
    F.SetHeight(-13);
    F.SetStyle(TFontStyles{fsBold, fsUnderline});
    F.SetPitch(fpFixed);
    F.SetCharset(ANSI_CHARSET);
    TLogFont L = CreateRotatedFont(&F, 90);
    EXPECT_EQ(L.lfHeight, -13);
    EXPECT_EQ(L.lfWidth, 0);
    EXPECT_EQ(L.lfEscapement, 900);
    EXPECT_EQ(L.lfOrientation, 0);
    EXPECT_EQ(L.lfWeight, 700);
    EXPECT_FALSE(L.lfItalic);
    EXPECT_TRUE(L.lfUnderline);
    EXPECT_FALSE(L.lfStrikeOut);
    EXPECT_EQ(L.lfCharSet, ANSI_CHARSET);
    EXPECT_EQ(L.lfFaceName, "Courier New");
    EXPECT_EQ(L.lfPitchAndFamily, 1);
    F.SetStyle(TFontStyles{fsItalic, fsStrikeOut});
    F.SetPitch(fpVariable);
    L = CreateRotatedFont(&F, -45);
    EXPECT_EQ(L.lfEscapement, -450);
    EXPECT_EQ(L.lfWeight, 400);
    EXPECT_TRUE(L.lfItalic);
    EXPECT_TRUE(L.lfStrikeOut);
    EXPECT_EQ(L.lfPitchAndFamily, 2);
    F.SetPitch(fpDefault);
    F.SetName("Default");
    L = CreateRotatedFont(&F, 0);
    EXPECT_EQ(L.lfPitchAndFamily, 0);
    EXPECT_NE(L.lfFaceName, "Default");
    EXPECT_FALSE(L.lfFaceName.empty());

    EXPECT_EQ(PaletteColor(RGB(1, 2, 3)), RGB(1, 2, 3) | 0x02000000);
    EXPECT_EQ(PaletteColor(clBtnFace), ColorToRGB(clBtnFace) | 0x02000000);
}

namespace {

class TReadingSurface : public TCustomControl {
public:
    explicit TReadingSurface(TComponent* AOwner) : TCustomControl(AOwner) {}
};

struct CellDrawingReading : ::testing::Test {
    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Surface = new TReadingSurface(Form.get());
        Surface->SetParent(Form.get());
        Surface->SetBounds(0, 0, 200, 150);
        Form->Show();
        Surface->Canvas()->Brush()->SetColor(clWhite);
        Surface->Canvas()->FillRect(Rect(0, 0, 200, 150));
        Surface->Canvas()->Font()->SetColor(clBlack);
    }
    // Rows of the cell holding a dark pixel.
    std::vector<int> InkRows(const TRect& R) {
        std::vector<int> Rows;
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X)
                if (Surface->Canvas()->Pixels(X, Y) != clWhite && Surface->Canvas()->Pixels(X, Y) != clYellow) {
                    Rows.push_back(Y);
                    break;
                }
        return Rows;
    }
    TRect InkBox(const TRect& R) {
        TRect Box{R.Right, R.Bottom, R.Left - 1, R.Top - 1};
        for (int Y = R.Top; Y < R.Bottom; ++Y)
            for (int X = R.Left; X < R.Right; ++X) {
                const TColor C = Surface->Canvas()->Pixels(X, Y);
                if (C == clWhite || C == clYellow) continue;
                Box.Left = std::min(Box.Left, X);
                Box.Top = std::min(Box.Top, Y);
                Box.Right = std::max(Box.Right, X);
                Box.Bottom = std::max(Box.Bottom, Y);
            }
        return Box;
    }
    std::unique_ptr<TForm> Form;
    TReadingSurface* Surface = nullptr;
};

} // namespace

TEST_F(CellDrawingReading, CellTextPlacement) {
    const int H = Surface->Canvas()->TextHeight("W");
    const int TW = Surface->Canvas()->TextWidth("Ab");
    struct Case { TAlignment A; TVertAlignment V; int ExpLeftMin, ExpLeftMax; int Top; };
    const TRect R = Rect(20, 20, 120, 80);
    const int Height = 60;
    const Case Cases[] = {
        {taLeftJustify, vaTopJustify, 22, 24, 22},
        {taRightJustify, vaTopJustify, 120 - TW - 3, 120 - TW - 1, 22},
        // Centred text wraps, so it is centred in the area from dx to width - 1.
        {taCenter, vaTopJustify, 22 + (97 - TW) / 2 - 1, 22 + (97 - TW) / 2 + 2, 22},
        {taLeftJustify, vaCenter, 22, 24, 20 + std::max(1, (Height - H) / 2)},
        {taLeftJustify, vaBottomJustify, 22, 24, 20 + std::max(2, Height - H)},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(static_cast<int>(C.V));
        Surface->Canvas()->Brush()->SetColor(clWhite);
        DrawCellText(Surface, 1, 1, "Ab", R, C.A, C.V);
        const TRect Box = InkBox(R);
        EXPECT_GE(Box.Left, C.ExpLeftMin);
        EXPECT_LE(Box.Left, C.ExpLeftMax);
        // Ink starts within the line box drawn at Top.
        EXPECT_GE(Box.Top, C.Top);
        EXPECT_LT(Box.Bottom, C.Top + H);
    }
}

TEST_F(CellDrawingReading, CellBitmapIsCentred) {
    auto Pic = Filled(5, 3, clRed);
    DrawCellBitmap(Surface, 0, 0, Pic.get(), Rect(10, 10, 20, 20));
    // (10 - 5) / 2 = 2, (10 - 3) / 2 = 3.
    EXPECT_EQ(Surface->Canvas()->Pixels(12, 13), clRed);
    EXPECT_EQ(Surface->Canvas()->Pixels(16, 15), clRed);
    EXPECT_EQ(Surface->Canvas()->Pixels(11, 13), clWhite);
    EXPECT_EQ(Surface->Canvas()->Pixels(17, 15), clWhite);
    EXPECT_EQ(Surface->Canvas()->Pixels(12, 12), clWhite);
    EXPECT_EQ(Surface->Canvas()->Pixels(12, 16), clWhite);
    // Larger than the cell: offsets rounded toward zero, (4 - 5) / 2 = 0.
    DrawCellBitmap(Surface, 0, 0, Pic.get(), Rect(50, 50, 54, 54));
    EXPECT_EQ(Surface->Canvas()->Pixels(50, 50), clRed);
}

TEST(DrawingReading, IconsFromBitmapsAndBack) {
    auto Src = Filled(4, 4, clRed);
    Src->Canvas()->SetPixels(1, 1, clLime);
    auto Icon = CreateIconFromBitmap(Src.get(), clRed);
    ASSERT_EQ(Icon->Width(), 4);
    auto Back = CreateBitmapFromIcon(Icon.get(), clBlue);
    ASSERT_EQ(Back->Width(), 4);
    EXPECT_EQ(Back->Canvas()->Pixels(0, 0), clBlue);  // clear pixel shows the background
    EXPECT_EQ(Back->Canvas()->Pixels(1, 1), clLime);
    EXPECT_EQ(Back->TransparentColor(), clBlue);
    EXPECT_TRUE(Back->Transparent());
    TBitmap Empty;
    EXPECT_THROW(CreateIconFromBitmap(&Empty, clNone), EInvalidGraphic);
}

TEST_F(CellDrawingReading, WriteTextBreaksAtCarriageReturnAndAlignsWrappedLinesRight) {
    const int H = Surface->Canvas()->TextHeight("W");
    const TRect R = Rect(10, 10, 110, 90);
    Surface->Canvas()->Brush()->SetColor(clWhite);
    WriteText(Surface->Canvas(), R, 2, 2, "Ab\r\nCd", taLeftJustify, false);
    const auto Rows = InkRows(R);
    ASSERT_FALSE(Rows.empty());
    EXPECT_GE(Rows.back() - Rows.front(), H); // two lines, not one

    const TRect Q = Rect(120, 10, 190, 90);
    WriteText(Surface->Canvas(), Q, 2, 2, "Ab\r\nCd", taRightJustify, true);
    const TRect Box = InkBox(Q);
    // Laid out in (dx, dy, width - 1, height - 1): the right edge one pixel in.
    EXPECT_LT(Box.Right, Q.Right - 1);
    EXPECT_GT(Box.Right, Q.Right - 6);
    EXPECT_GT(Box.Left, Q.Left + 30);
}

TEST(DrawingReading, EdgeInputsOfGradientTransparencyAndCells) {
    // An inverted rectangle is empty; no colours at all fills with the start.
    auto Bmp = Filled(10, 10, clRed);
    GradientFillRect(Bmp->Canvas(), Rect(8, 8, 3, 3), clLime, clLime, fdTopToBottom, 4);
    EXPECT_EQ(Bmp->Canvas()->Pixels(5, 5), clRed);
    GradientFillRect(Bmp->Canvas(), Rect(0, 0, 10, 10), clLime, clBlue, fdRightToLeft, 0);
    EXPECT_EQ(Bmp->Canvas()->Pixels(9, 9), clLime);

    // clDefault is the bottom-left pixel even when the bitmap keeps a set colour.
    auto Src = Filled(3, 3, clRed);
    Src->Canvas()->SetPixels(1, 1, clLime);
    Src->SetTransparentColor(clLime);
    auto Dst = Filled(3, 3, clBlue);
    DrawBitmapTransparent(Dst->Canvas(), 0, 0, Src.get(), clDefault);
    EXPECT_EQ(Dst->Canvas()->Pixels(0, 0), clBlue);
    EXPECT_EQ(Dst->Canvas()->Pixels(1, 1), clLime);

    // Another graphic is drawn at the cell's negative offset on silver.
    auto Strip = Filled(8, 4, clRed);
    Strip->Canvas()->Brush()->SetColor(clLime);
    Strip->Canvas()->FillRect(Rect(4, 0, 8, 4));
    Strip->Canvas()->SetPixels(5, 1, clBlack);
    auto Icon = CreateIconFromBitmap(Strip.get(), clBlack);
    TBitmap Cell;
    AssignBitmapCell(Icon.get(), &Cell, 2, 1, 1);
    ASSERT_EQ(Cell.Width(), 4);
    ASSERT_EQ(Cell.Height(), 4);
    EXPECT_EQ(Cell.Canvas()->Pixels(0, 0), clLime);
    EXPECT_EQ(Cell.Canvas()->Pixels(1, 1), static_cast<TColor>(0xC0C0C0));
    EXPECT_EQ(Cell.Transparent(), Icon->Transparent());
}

TEST_F(CellDrawingReading, MinimizeTextFirstStepAndCellFill) {
    TCanvas* C = Surface->Canvas();
    // Shortening steps from length - 2 characters down, each with "...".
    const AnsiString Text = "abcdefghWWWWW";
    const int Len = static_cast<int>(Text.size());
    for (int W = 0; W <= C->TextWidth(Text) + 1; ++W) {
        AnsiString Expected = Text;
        for (int I = 1; I <= Len && C->TextWidth(Expected) > W; ++I)
            Expected = Text.substr(0, std::max(0, Len - I - 1)) + "...";
        EXPECT_EQ(MinimizeText(Text, C, W), Expected) << W;
    }

    const TRect R = Rect(10, 10, 80, 40);
    C->Brush()->SetColor(clYellow);
    DrawCellText(Surface, 1, 1, "Ab", R, taLeftJustify, vaTopJustify);
    EXPECT_EQ(C->Pixels(10, 10), clYellow);
    EXPECT_EQ(C->Pixels(79, 39), clYellow);
    EXPECT_EQ(C->Pixels(80, 39), clWhite);
    EXPECT_EQ(C->Pixels(79, 40), clWhite);
}

TEST(DrawingReading, MirroredCanvasKeepsTextOnTheSideItIsAlignedToAsSeen) {
    // Which side of a 100-pixel cell the ink lands on, as seen.
    struct Case { int Mirror; TAlignment Align; bool Rtl; bool Wrap; bool SeenLeft; };
    const Case Cases[] = {
        {100, taLeftJustify, false, false, true},
        {100, taRightJustify, false, false, false},
        {100, taLeftJustify, true, false, false},
        {100, taRightJustify, true, false, true},
        {100, taLeftJustify, false, true, true},
        {100, taRightJustify, false, true, false},
        {100, taLeftJustify, true, true, false},
        {100, taRightJustify, true, true, true},
        {0, taLeftJustify, true, false, true},
        {0, taRightJustify, true, true, false},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(::testing::Message() << "mirror " << C.Mirror << " align "
                                          << static_cast<int>(C.Align) << " rtl " << C.Rtl
                                          << " wrap " << C.Wrap);
        auto Bmp = Filled(100, 20, clWhite);
        TCanvas* Cv = Bmp->Canvas();
        Cv->SetMirrorWidth(C.Mirror);
        Cv->Font()->SetColor(clBlack);
        Cv->Brush()->SetColor(clWhite);
        WriteText(Cv, Rect(0, 0, 100, 20), 2, 2, "Ab", C.Align, C.Wrap, C.Rtl);
        Cv->SetMirrorWidth(0);
        int MinX = 100, MaxX = -1;
        for (int Y = 0; Y < 20; ++Y)
            for (int X = 0; X < 100; ++X)
                if (Cv->Pixels(X, Y) != clWhite) {
                    MinX = std::min(MinX, X);
                    MaxX = std::max(MaxX, X);
                }
        ASSERT_GE(MaxX, 0);
        if (C.SeenLeft)
            EXPECT_LT(MaxX, 50) << MinX << ".." << MaxX;
        else
            EXPECT_GT(MinX, 50) << MinX << ".." << MaxX;
    }
}

TEST(DrawingReading, DrawingLeavesTheSourceAndTheBrushAlone) {
    auto Src = Filled(3, 3, clRed);
    int Changes = 0;
    Src->OnChange = [&](TObject*) { ++Changes; };
    Src->Canvas()->OnChange = [&](TObject*) { ++Changes; };
    auto Dst = Filled(6, 6, clBlue);
    Dst->Canvas()->Brush()->SetColor(clYellow);
    Dst->Canvas()->Brush()->SetStyle(bsClear);
    for (TColor Mask : {clRed, clDefault, clNone}) DrawBitmapTransparent(Dst->Canvas(), 0, 0, Src.get(), Mask);
    StretchBitmapRectTransparent(Dst->Canvas(), 0, 0, 6, 6, Rect(0, 0, 2, 2), Src.get(), clLime);
    EXPECT_EQ(Changes, 0);
    EXPECT_EQ(Src->Canvas()->LockCount(), 0);
    GradientFillRect(Dst->Canvas(), Rect(0, 0, 6, 6), clBlack, clWhite, fdLeftToRight, 3);
    EXPECT_EQ(Dst->Canvas()->Brush()->Color(), clYellow);
    EXPECT_EQ(Dst->Canvas()->Brush()->Style(), bsClear);

    // Cells past the end or narrower than a pixel do no harm.
    TBitmap Cell;
    AssignBitmapCell(Src.get(), &Cell, 2, 2, 50);
    AssignBitmapCell(Src.get(), &Cell, 5, 5, 3);
    EXPECT_TRUE(Cell.Empty() || Cell.Width() == 0 || Cell.Height() == 0);
}

TEST(DrawingReading, DisabledAndIconTransparencyFromTheBitmapsOwnColour) {
    // Lime with a red pixel, and the transparent colour set to lime.
    auto Src = Filled(4, 4, clLime);
    Src->Canvas()->SetPixels(1, 1, clRed);
    Src->SetTransparentColor(clLime);
    auto D = CreateDisabledBitmapEx(Src.get(), clDefault, clSilver, clWhite, clGray, false);
    EXPECT_EQ(D->Canvas()->Pixels(1, 1), clGray);
    EXPECT_EQ(D->Canvas()->Pixels(0, 0), clSilver);

    // A monochrome source: its white is the background.
    auto Mono = Filled(3, 3, clWhite);
    Mono->Canvas()->SetPixels(1, 1, clBlack);
    Mono->SetMonochrome(true);
    auto M = CreateDisabledBitmapEx(Mono.get(), clWhite, clSilver, clWhite, clGray, false);
    EXPECT_EQ(M->Canvas()->Pixels(1, 1), clGray);
    EXPECT_EQ(M->Canvas()->Pixels(0, 0), clSilver);

    struct Case { TColor Mask; bool CornerClear; };
    for (const Case C : {Case{clDefault, true}, Case{clNone, false}, Case{clLime, true}}) {
        SCOPED_TRACE(C.Mask);
        auto Icon = CreateIconFromBitmap(Src.get(), C.Mask);
        auto Back = CreateBitmapFromIcon(Icon.get(), clBlue);
        EXPECT_EQ(Back->Canvas()->Pixels(0, 0), C.CornerClear ? clBlue : clLime);
        EXPECT_EQ(Back->Canvas()->Pixels(1, 1), clRed);
    }
}

TEST(DrawingReading, WrappedTextWithAClearBrushKeepsTheCellsBackground) {
    // A first cell leaves its picture in the composing bitmap.
    auto First = Filled(60, 30, clWhite);
    First->Canvas()->Font()->SetColor(clBlack);
    First->Canvas()->Brush()->SetColor(clYellow);
    WriteText(First->Canvas(), Rect(0, 0, 60, 30), 2, 2, "Stale text", taLeftJustify, true);
    // A cell drawn without a brush shows its own background behind the text.
    auto Second = Filled(60, 30, clBlue);
    Second->Canvas()->Font()->SetColor(clWhite);
    Second->Canvas()->Brush()->SetStyle(bsClear);
    WriteText(Second->Canvas(), Rect(0, 0, 60, 30), 2, 2, "", taLeftJustify, true);
    WriteText(Second->Canvas(), Rect(0, 0, 60, 30), 2, 2, "WW", taRightJustify, true);
    int Blue = 0, Ink = 0, Other = 0;
    for (int Y = 0; Y < 30; ++Y)
        for (int X = 0; X < 60; ++X) {
            const TColor C = Second->Canvas()->Pixels(X, Y);
            if (C == clBlue) ++Blue;
            else if (C == clYellow || C == clBlack) ++Other;
            else ++Ink; // white text, smoothed into the blue
        }
    EXPECT_EQ(Other, 0);
    EXPECT_GT(Ink, 0);
    EXPECT_GT(Blue, 60 * 30 / 2);
}
