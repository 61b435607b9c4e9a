// Drawing utilities read through their public calls: gradients, patterns,
// hatching, transparent and embossed bitmaps, cell text and bitmaps, text
// shortening, rotated fonts, cursors and library registration.
#include "formstore/DrawUtil.h"
#include "formstore/ImageUtil.h"
#include "formstore/Library.h"
#include "grid/foundation/ImageList.h"

#include "platform/gui/Cursors.h"
#include "platform/gui/CustomControl.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/PaintBox.h"
#include "platform/rtl/Exceptions.h"

#include "platform/gui/testing/FilledBitmap.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace formstore;

namespace {

using testing_support::Filled;

TColor GreyOf(int V) { return RGB(V, V, V); }

// The colour of every row (or column) of a one-pixel-wide strip.
std::vector<TColor> Strip(TBitmap* B, bool Vertical) {
    std::vector<TColor> Out;
    const int N = Vertical ? B->Height() : B->Width();
    for (int I = 0; I < N; ++I)
        Out.push_back(Vertical ? B->Canvas()->Pixels(1, I) : B->Canvas()->Pixels(I, 1));
    return Out;
}

} // namespace

TEST(DrawingS60Reading, GradientBandsRoundingRemainderAndDirections) {
    const TColor W = clWhite, K = clBlack;
    struct Case {
        const char* Name;
        TColor Start, End;
        TFillDirection Dir;
        int Colors, Extent;
        std::vector<TColor> Expected; // pixels 1 .. Extent of a 12-pixel strip
    };
    const std::vector<Case> Cases = {
        {"four bands top down", K, W, fdTopToBottom, 4, 10,
         {K, K, GreyOf(85), GreyOf(85), GreyOf(170), GreyOf(170), W, W, W, W}},
        {"bottom up starts from the end colour", K, W, fdBottomToTop, 4, 10,
         {W, W, GreyOf(170), GreyOf(170), GreyOf(85), GreyOf(85), K, K, K, K}},
        {"left to right", K, W, fdLeftToRight, 4, 10,
         {K, K, GreyOf(85), GreyOf(85), GreyOf(170), GreyOf(170), W, W, W, W}},
        {"right to left", K, W, fdRightToLeft, 4, 10,
         {W, W, GreyOf(170), GreyOf(170), GreyOf(85), GreyOf(85), K, K, K, K}},
        {"channel steps rounded to nearest", K, GreyOf(100), fdTopToBottom, 4, 8,
         {K, K, GreyOf(33), GreyOf(33), GreyOf(67), GreyOf(67), GreyOf(100), GreyOf(100)}},
        {"more colours than pixels: one pixel a band", K, GreyOf(40), fdTopToBottom, 200, 5,
         {K, GreyOf(10), GreyOf(20), GreyOf(30), GreyOf(40)}},
        {"one pixel, two colours: no band, remainder in the end colour", K, W, fdTopToBottom, 2, 1,
         {W}},
        {"one pixel reversed: remainder in the start colour", K, W, fdBottomToTop, 2, 1, {K}},
        {"one colour fills with the start colour", GreyOf(50), W, fdTopToBottom, 1, 3,
         {GreyOf(50), GreyOf(50), GreyOf(50)}},
        {"system colours are resolved", clBtnFace, clBtnFace, fdTopToBottom, 3, 3,
         {ColorToRGB(clBtnFace), ColorToRGB(clBtnFace), ColorToRGB(clBtnFace)}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        const bool Vertical = C.Dir == fdTopToBottom || C.Dir == fdBottomToTop;
        auto B = Vertical ? Filled(3, C.Extent + 2, clRed) : Filled(C.Extent + 2, 3, clRed);
        const TRect R = Vertical ? TRect{1, 1, 2, C.Extent + 1} : TRect{1, 1, C.Extent + 1, 2};
        B->Canvas()->Brush()->SetColor(clLime);
        GradientFillRect(B->Canvas(), R, C.Start, C.End, C.Dir, static_cast<std::uint8_t>(C.Colors));
        auto Got = Strip(B.get(), Vertical);
        std::vector<TColor> Want{clRed};
        Want.insert(Want.end(), C.Expected.begin(), C.Expected.end());
        Want.push_back(clRed);
        EXPECT_EQ(Got, Want);
        // Beside the strip nothing is painted; the brush is left as it was.
        EXPECT_EQ(B->Canvas()->Pixels(0, 1), clRed);
        EXPECT_EQ(B->Canvas()->Brush()->Color(), clLime);
    }
    auto B = Filled(4, 4, clRed);
    GradientFillRect(B->Canvas(), TRect{1, 1, 1, 3}, clBlack, clWhite, fdTopToBottom, 4);
    GradientFillRect(B->Canvas(), TRect{3, 3, 1, 1}, clBlack, clWhite, fdTopToBottom, 1);
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 4; ++X) EXPECT_EQ(B->Canvas()->Pixels(X, Y), clRed) << X << "," << Y;
}

TEST(DrawingS60Reading, CheckerboardAndHatch) {
    auto P = CreateTwoColorsBrushPattern(clRed, clBlue);
    ASSERT_EQ(P->Width(), 8);
    ASSERT_EQ(P->Height(), 8);
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X)
            EXPECT_EQ(P->Canvas()->Pixels(X, Y), (X % 2 == Y % 2) ? clBlue : clRed) << X << "," << Y;

    // The hatch lies on the canvas's own grid, not the rectangle's: the
    // pattern bits of row y set at the columns x with (x + y) mod 4 = 3.
    auto B = Filled(16, 16, clYellow);
    B->Canvas()->Brush()->SetColor(clLime);
    B->Canvas()->Font()->SetColor(clFuchsia);
    B->Canvas()->SetCopyMode(cmSrcInvert);
    ShadeRect(B->Canvas(), TRect{3, 2, 11, 13});
    for (int Y = 0; Y < 16; ++Y)
        for (int X = 0; X < 16; ++X) {
            const bool Inside = X >= 3 && X < 11 && Y >= 2 && Y < 13;
            EXPECT_EQ(B->Canvas()->Pixels(X, Y), Inside && (X + Y) % 4 == 3 ? clBlack : clYellow)
                << X << "," << Y;
        }
    EXPECT_EQ(B->Canvas()->Brush()->Color(), clLime);
    EXPECT_EQ(B->Canvas()->Font()->Color(), clFuchsia);
    EXPECT_EQ(B->Canvas()->CopyMode(), cmSrcInvert);
}

TEST(DrawingS60Reading, TransparentBitmapDrawing) {
    // A 4 x 2 source: left half red, right half green, bottom-left pixel blue.
    auto Src = Filled(4, 2, clRed);
    Src->Canvas()->Brush()->SetColor(clLime);
    Src->Canvas()->FillRect(TRect{2, 0, 4, 2});
    Src->Canvas()->SetPixels(0, 1, clBlue);
    struct Case {
        const char* Name;
        TColor Mask;
        std::vector<TColor> Row0, Row1; // x = 0 .. 3 of the destination
    };
    const std::vector<Case> Cases = {
        {"red left out", clRed, {clWhite, clWhite, clLime, clLime}, {clBlue, clWhite, clLime, clLime}},
        {"clDefault takes the bottom-left pixel", clDefault, {clRed, clRed, clLime, clLime},
         {clWhite, clRed, clLime, clLime}},
        {"clNone copies everything", clNone, {clRed, clRed, clLime, clLime}, {clBlue, clRed, clLime, clLime}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        auto D = Filled(4, 2, clWhite);
        DrawBitmapTransparent(D->Canvas(), 0, 0, Src.get(), C.Mask);
        for (int X = 0; X < 4; ++X) {
            EXPECT_EQ(D->Canvas()->Pixels(X, 0), C.Row0[X]) << X;
            EXPECT_EQ(D->Canvas()->Pixels(X, 1), C.Row1[X]) << X;
        }
    }
    // Part of the source, at its own size and stretched; sizes below 1 mean
    // the bitmap's own.
    auto D = Filled(8, 4, clWhite);
    DrawBitmapRectTransparent(D->Canvas(), 1, 1, TRect{2, 0, 4, 2}, Src.get(), clRed);
    EXPECT_EQ(D->Canvas()->Pixels(1, 1), clLime);
    EXPECT_EQ(D->Canvas()->Pixels(2, 2), clLime);
    EXPECT_EQ(D->Canvas()->Pixels(3, 1), clWhite);
    auto S = Filled(8, 4, clWhite);
    StretchBitmapRectTransparent(S->Canvas(), 0, 0, 8, 4, TRect{2, 0, 4, 2}, Src.get(), clRed);
    for (int X = 0; X < 8; ++X) EXPECT_EQ(S->Canvas()->Pixels(X, 3), clLime) << X;
    auto Whole = Filled(6, 3, clWhite);
    StretchBitmapRectTransparent(Whole->Canvas(), 1, 1, 0, 0, TRect{0, 0, 0, 0}, Src.get(), clRed);
    EXPECT_EQ(Whole->Canvas()->Pixels(1, 2), clBlue);
    EXPECT_EQ(Whole->Canvas()->Pixels(4, 1), clLime);
    EXPECT_EQ(Whole->Canvas()->Pixels(5, 1), clWhite);

    // A monochrome bitmap leaves out its white, whatever colour is asked.
    auto Mono = Filled(2, 1, clWhite);
    Mono->Canvas()->SetPixels(1, 0, clBlack);
    Mono->SetMonochrome(true);
    auto M = Filled(2, 1, clRed);
    DrawBitmapTransparent(M->Canvas(), 0, 0, Mono.get(), clBlack);
    EXPECT_EQ(M->Canvas()->Pixels(0, 0), clRed);
    EXPECT_EQ(M->Canvas()->Pixels(1, 0), clBlack);
}

TEST(DrawingS60Reading, ColourChangeAndDisabledImages) {
    auto Src = Filled(3, 1, clRed);
    Src->Canvas()->SetPixels(1, 0, clWhite);
    Src->Canvas()->SetPixels(2, 0, clLime);
    auto Changed = ChangeBitmapColor(Src.get(), clRed, clBlue);
    EXPECT_EQ(Changed->Canvas()->Pixels(0, 0), clBlue);
    EXPECT_EQ(Changed->Canvas()->Pixels(1, 0), clWhite);
    EXPECT_EQ(Changed->Canvas()->Pixels(2, 0), clLime);
    EXPECT_EQ(Src->Canvas()->Pixels(0, 0), clRed);

    // 4 x 4 on a red ground with one white and one green pixel: every pixel
    // that is not the transparent colour is shadow at its place and, with
    // the highlight, highlight one pixel down and right where no shadow is.
    auto G = Filled(4, 4, clRed);
    G->Canvas()->SetPixels(0, 0, clWhite);
    G->Canvas()->SetPixels(2, 1, clLime);
    auto Dis = CreateDisabledBitmapEx(G.get(), clRed, clYellow, clAqua, clNavy, true);
    ASSERT_EQ(Dis->Width(), 4);
    ASSERT_EQ(Dis->Height(), 4);
    const std::vector<std::vector<TColor>> Want = {
        {clNavy, clYellow, clYellow, clYellow},
        {clYellow, clAqua, clNavy, clYellow},
        {clYellow, clYellow, clYellow, clAqua},
        {clYellow, clYellow, clYellow, clYellow},
    };
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 4; ++X) EXPECT_EQ(Dis->Canvas()->Pixels(X, Y), Want[Y][X]) << X << "," << Y;
    auto Plain = CreateDisabledBitmapEx(G.get(), clRed, clYellow, clAqua, clNavy, false);
    EXPECT_EQ(Plain->Canvas()->Pixels(1, 1), clYellow);
    EXPECT_EQ(Plain->Canvas()->Pixels(2, 1), clNavy);
    auto Std = CreateDisabledBitmap(G.get(), clRed);
    EXPECT_EQ(Std->Canvas()->Pixels(3, 3), ColorToRGB(clBtnFace));
    EXPECT_EQ(Std->Canvas()->Pixels(2, 1), ColorToRGB(clBtnShadow));
    EXPECT_EQ(Std->Canvas()->Pixels(3, 2), ColorToRGB(clBtnHighlight));
}

TEST(DrawingS60Reading, BitmapCellsAndIcons) {
    // A 4 x 2 grid of 2 x 3 cells, each cell filled with its own grey.
    auto Strip = Filled(8, 6, clBlack);
    for (int I = 0; I < 8; ++I) {
        Strip->Canvas()->Brush()->SetColor(GreyOf(10 * (I + 1)));
        Strip->Canvas()->FillRect(TRect{(I % 4) * 2, (I / 4) * 3, (I % 4) * 2 + 2, (I / 4) * 3 + 3});
    }
    Strip->SetTransparentColor(clFuchsia);
    Strip->SetTransparent(true);
    struct Case {
        int Cols, Rows, Index;
        int W, H;
        TColor Colour, Corner;
    };
    const std::vector<Case> Cases = {
        {4, 2, 5, 2, 3, GreyOf(60), GreyOf(60)},  // column 1, row 1
        {4, 2, -3, 2, 3, GreyOf(10), GreyOf(10)}, // below 0 counts as 0
        {0, 0, 0, 8, 6, GreyOf(10), GreyOf(80)},  // counts below 1 count as 1
        {4, 2, 3, 2, 3, GreyOf(40), GreyOf(40)},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Index);
        TBitmap Dest;
        AssignBitmapCell(Strip.get(), &Dest, C.Cols, C.Rows, C.Index);
        EXPECT_EQ(Dest.Width(), C.W);
        EXPECT_EQ(Dest.Height(), C.H);
        EXPECT_EQ(Dest.Canvas()->Pixels(0, 0), C.Colour);
        EXPECT_EQ(Dest.Canvas()->Pixels(C.W - 1, C.H - 1), C.Corner);
        EXPECT_EQ(Dest.TransparentColor(), clFuchsia);
        EXPECT_TRUE(Dest.Transparent());
    }
    TBitmap Untouched;
    AssignBitmapCell(nullptr, &Untouched, 2, 2, 0);
    AssignBitmapCell(Strip.get(), nullptr, 2, 2, 0);
    EXPECT_TRUE(Untouched.Empty());

    // Icon from a bitmap and back: the transparent colour becomes clear,
    // and the background colour fills behind it again.
    auto Src = Filled(4, 4, clRed);
    Src->Canvas()->SetPixels(1, 1, clBlue);
    auto Icon = CreateIconFromBitmap(Src.get(), clRed);
    ASSERT_EQ(Icon->Width(), 4);
    auto Back = CreateBitmapFromIcon(Icon.get(), clLime);
    EXPECT_EQ(Back->Width(), 4);
    EXPECT_EQ(Back->Canvas()->Pixels(0, 0), clLime);
    EXPECT_EQ(Back->Canvas()->Pixels(1, 1), clBlue);
    EXPECT_EQ(Back->TransparentColor(), clLime);
    EXPECT_TRUE(Back->Transparent());

    // Any other graphic is drawn at the cell's offset on silver.
    TBitmap FromIcon;
    AssignBitmapCell(Icon.get(), &FromIcon, 2, 2, 3);
    EXPECT_EQ(FromIcon.Width(), 2);
    EXPECT_EQ(FromIcon.Canvas()->Pixels(0, 0), clSilver);
    TBitmap FromIcon0;
    AssignBitmapCell(Icon.get(), &FromIcon0, 2, 2, 0);
    EXPECT_EQ(FromIcon0.Canvas()->Pixels(1, 1), clBlue);
    EXPECT_FALSE(FromIcon0.Transparent());
}

namespace {

class CellDrawingS60 : public ::testing::Test {
protected:
    void SetUp() override {
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 300, 200);
        Cell = new TCustomControl(Form.get());
        Cell->SetParent(Form.get());
        Cell->SetBounds(0, 0, 200, 100);
        Form->Show();
        Cell->Canvas()->Font()->SetName("DejaVu Sans");
        Cell->Canvas()->Font()->SetSize(10);
        Cell->Canvas()->Font()->SetColor(clBlack);
        Cell->Canvas()->Brush()->SetColor(clWhite);
        Cell->Canvas()->FillRect(TRect{0, 0, 200, 100});
    }
    // A bitmap with the control canvas's font and brush.
    std::unique_ptr<TBitmap> Reference() {
        auto B = Filled(200, 100, clWhite);
        B->Canvas()->SetFont(Cell->Canvas()->Font());
        B->Canvas()->Brush()->SetColor(clWhite);
        return B;
    }
    bool SameAs(TBitmap* B) {
        for (int Y = 0; Y < 100; ++Y)
            for (int X = 0; X < 200; ++X)
                if (Cell->Canvas()->Pixels(X, Y) != B->Canvas()->Pixels(X, Y)) {
                    ADD_FAILURE() << "differs at " << X << "," << Y;
                    return false;
                }
        return true;
    }
    // The rows holding ink inside R.
    int InkRows(TCanvas* C, const TRect& R) {
        int Rows = 0;
        for (int Y = R.Top; Y < R.Bottom; ++Y) {
            bool Ink = false;
            for (int X = R.Left; X < R.Right && !Ink; ++X) Ink = C->Pixels(X, Y) != clWhite;
            Rows += Ink;
        }
        return Rows;
    }
    std::unique_ptr<TForm> Form;
    TCustomControl* Cell = nullptr;
};

} // namespace

TEST_F(CellDrawingS60, SingleLinePlacementMatchesTheRule) {
    const TRect R{10, 20, 150, 60};
    const AnsiString S = "Abc 12";
    const int H = Cell->Canvas()->TextHeight("W");
    const int TW = Cell->Canvas()->TextWidth(S);
    struct Case {
        TAlignment Align;
        TVertAlignment VA;
        int X, Y;
    };
    const std::vector<Case> Cases = {
        {taLeftJustify, vaTopJustify, R.Left + 2, R.Top + 2},
        {taRightJustify, vaCenter, R.Right - TW - 3, R.Top + std::max(1, (R.Height() - H) / 2)},
        {taLeftJustify, vaBottomJustify, R.Left + 2, R.Top + std::max(2, R.Height() - H)},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(static_cast<int>(C.Align) * 10 + static_cast<int>(C.VA));
        Cell->Canvas()->Brush()->SetColor(clWhite);
        Cell->Canvas()->FillRect(TRect{0, 0, 200, 100});
        DrawCellText(Cell, 1, 1, S, R, C.Align, C.VA);
        auto Ref = Reference();
        Ref->Canvas()->TextRect(R, C.X, C.Y, S);
        EXPECT_TRUE(SameAs(Ref.get()));
    }
    // A short cell still keeps the minimum offsets.
    Cell->Canvas()->FillRect(TRect{0, 0, 200, 100});
    const TRect Low{0, 0, 100, H - 4};
    DrawCellText(Cell, 1, 1, "x", Low, taLeftJustify, vaBottomJustify);
    auto Ref = Reference();
    Ref->Canvas()->TextRect(Low, 2, 2, "x");
    EXPECT_TRUE(SameAs(Ref.get()));
}

TEST_F(CellDrawingS60, CentredTextWrapsAndLeftTextDoesNot) {
    const TRect R{0, 0, 60, 90};
    const AnsiString S = "one two three four";
    DrawCellText(Cell, 1, 1, S, R, taLeftJustify, vaTopJustify);
    const int OneLine = InkRows(Cell->Canvas(), R);
    Cell->Canvas()->FillRect(TRect{0, 0, 200, 100});
    DrawCellText(Cell, 1, 1, S, R, taCenter, vaTopJustify);
    EXPECT_GT(InkRows(Cell->Canvas(), R), OneLine * 2);
    // Nothing leaves the cell.
    EXPECT_EQ(InkRows(Cell->Canvas(), TRect{60, 0, 200, 100}), 0);
}

TEST_F(CellDrawingS60, CellBitmapCentredRoundingTowardZero) {
    auto Small = Filled(4, 3, clRed);
    DrawCellBitmap(Cell, 1, 1, Small.get(), TRect{10, 10, 21, 20}); // offsets 3 and 3
    EXPECT_EQ(Cell->Canvas()->Pixels(13, 13), clRed);
    EXPECT_EQ(Cell->Canvas()->Pixels(16, 15), clRed);
    EXPECT_EQ(Cell->Canvas()->Pixels(12, 13), clWhite);
    EXPECT_EQ(Cell->Canvas()->Pixels(17, 13), clWhite);
    auto Big = Filled(7, 7, clBlue);
    DrawCellBitmap(Cell, 1, 1, Big.get(), TRect{50, 50, 54, 54}); // offset -1 both ways
    EXPECT_EQ(Cell->Canvas()->Pixels(49, 49), clBlue);
    EXPECT_EQ(Cell->Canvas()->Pixels(55, 55), clBlue);
    EXPECT_EQ(Cell->Canvas()->Pixels(56, 55), clWhite);
    EXPECT_EQ(Cell->Canvas()->Pixels(48, 49), clWhite);
}

TEST_F(CellDrawingS60, MinimizeTextAndAverageCharSize) {
    TCanvas* C = Cell->Canvas();
    EXPECT_EQ(MinimizeText("fits", C, 500), "fits");
    EXPECT_EQ(MinimizeText("", C, 0), "");
    const AnsiString Long = "WWWWWWWWWW";
    EXPECT_EQ(MinimizeText(Long, C, C->TextWidth(Long)), Long);
    EXPECT_EQ(MinimizeText(Long, C, C->TextWidth("WWWWWWWW...")), "WWWWWWWW...");
    EXPECT_EQ(MinimizeText(Long, C, C->TextWidth("WWWW...")), "WWWW...");
    EXPECT_EQ(MinimizeText(Long, C, 1), "...");

    const AnsiString Letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const TPoint Ave = GetAveCharSize(C);
    EXPECT_EQ(Ave.X, C->TextExtent(Letters).cx / 52);
    EXPECT_EQ(Ave.Y, C->TextExtent(Letters).cy);
}

TEST(DrawingS60Reading, RotatedFontAndPaletteColour) {
    TFont F;
    F.SetName("Courier New");
    F.SetHeight(-17);
    F.SetStyle(TFontStyles{fsBold, fsItalic, fsUnderline, fsStrikeOut});
    F.SetCharset(SYMBOL_CHARSET);
    F.SetPitch(fpFixed);
    TLogFont L = CreateRotatedFont(&F, 90);
    EXPECT_EQ(L.lfHeight, -17);
    EXPECT_EQ(L.lfWidth, 0);
    EXPECT_EQ(L.lfEscapement, 900);
    EXPECT_EQ(L.lfOrientation, 0);
    EXPECT_EQ(L.lfWeight, 700);
    EXPECT_TRUE(L.lfItalic && L.lfUnderline && L.lfStrikeOut);
    EXPECT_EQ(L.lfCharSet, SYMBOL_CHARSET);
    EXPECT_EQ(L.lfPitchAndFamily, 1);
    EXPECT_EQ(L.lfFaceName, "Courier New");
    EXPECT_EQ(L.lfOutPrecision + L.lfClipPrecision + L.lfQuality, 0);

    TFont D;
    D.SetName("Default");
    D.SetPitch(fpVariable);
    L = CreateRotatedFont(&D, -45);
    EXPECT_EQ(L.lfEscapement, -450);
    EXPECT_EQ(L.lfWeight, 400);
    EXPECT_FALSE(L.lfItalic || L.lfUnderline || L.lfStrikeOut);
    EXPECT_EQ(L.lfPitchAndFamily, 2);
    EXPECT_EQ(L.lfFaceName, TFont().Name());
    D.SetPitch(fpDefault);
    EXPECT_EQ(CreateRotatedFont(&D, 0).lfPitchAndFamily, 0);

    EXPECT_EQ(PaletteColor(RGB(1, 2, 3)), static_cast<TColor>(0x02030201));
    EXPECT_EQ(PaletteColor(clBtnFace), static_cast<TColor>(ColorToRGB(clBtnFace) | 0x02000000));
}

TEST(DrawingS60Reading, HandCursorsAndDefinedCursors) {
    // Registered at program start, before anything here asked for them.
    EXPECT_NE(TScreen::Cursors(crHand), nullptr);
    EXPECT_NE(TScreen::Cursors(crDragHand), nullptr);

    int Free = 100;
    while (TScreen::Cursors(Free) != nullptr) ++Free;
    const TCursor A = DefineCursor("FS_HANDCUR");
    EXPECT_EQ(A, Free);
    EXPECT_NE(TScreen::Cursors(A), nullptr);
    const TCursor B = DefineCursor("FS_DRAGCUR");
    EXPECT_GT(B, A);
    try {
        DefineCursor("NO_SUCH_CURSOR");
        ADD_FAILURE() << "no error";
    } catch (const Exception& E) {
        EXPECT_EQ(E.Message, "Resource NO_SUCH_CURSOR not found");
    }
    TScreen::SetCursors(A, nullptr);
    TScreen::SetCursors(B, nullptr);

    // With every number taken the cursor is let go and the error raised.
    const std::uint8_t And[2] = {0, 0}, Xor[2] = {0, 0};
    std::vector<int> Filled;
    for (int Id = 100; Id <= 32767; ++Id)
        if (TScreen::Cursors(Id) == nullptr) {
            TScreen::SetCursors(Id, CreateCursor(0, 0, 1, 1, And, Xor));
            Filled.push_back(Id);
        }
    try {
        DefineCursor("FS_HANDCUR");
        ADD_FAILURE() << "no error";
    } catch (const EOutOfResources& E) {
        EXPECT_EQ(E.Message, "Out of system resources");
    }
    for (int Id : Filled) TScreen::SetCursors(Id, nullptr);
}

TEST(DrawingS60Reading, LibraryRegistration) {
    EXPECT_TRUE(RegisterServer(FORMSTORE_TEST_SERVER));
    EXPECT_FALSE(RegisterServer("libm.so.6"));
    try {
        LoadDLL("no-such-library-s60.so");
        ADD_FAILURE() << "no error";
    } catch (const Exception& E) {
        EXPECT_NE(E.Message.find("no-such-library-s60.so"), AnsiString::npos) << E.Message;
    }
}

TEST(DrawingS60Reading, ParentImageShowsTheParentAndTheWindowlessSiblingsBehind) {
    TForm Form(nullptr);
    Form.SetBounds(0, 0, 200, 150);
    auto* Parent = new TPanel(&Form);
    Parent->SetParent(&Form);
    Parent->SetBevelOuter(bvNone);
    Parent->SetColor(clYellow);
    Parent->SetBounds(0, 0, 150, 100);
    auto Box = [&](TColor Colour, const TRect& R) {
        auto* B = new TPaintBox(&Form);
        B->SetParent(Parent);
        B->SetBoundsRect(R);
        B->OnPaint = [B, Colour](TObject*) {
            B->Canvas()->Brush()->SetColor(Colour);
            B->Canvas()->FillRect(TRect{0, 0, B->Width(), B->Height()});
        };
        return B;
    };
    Box(clBlue, TRect{10, 10, 30, 30}); // behind: before the control
    auto* Control = new TCustomControl(&Form);
    Control->SetParent(Parent);
    Control->SetBounds(5, 5, 60, 40);
    Box(clRed, TRect{40, 10, 60, 30}); // in front: after it
    Form.Show();

    auto B = Filled(60, 40, clWhite);
    CopyParentImage(Control, B->Canvas());
    EXPECT_EQ(B->Canvas()->Pixels(1, 1), clYellow);
    EXPECT_EQ(B->Canvas()->Pixels(10, 10), clBlue);  // (15, 15) of the panel
    EXPECT_EQ(B->Canvas()->Pixels(40, 10), clYellow); // the later sibling is left out

    auto Alone = std::make_unique<TCustomControl>(nullptr);
    Alone->SetBounds(0, 0, 10, 10);
    auto Untouched = Filled(10, 10, clWhite);
    CopyParentImage(Alone.get(), Untouched->Canvas());
    EXPECT_EQ(Untouched->Canvas()->Pixels(5, 5), clWhite);
}

TEST_F(CellDrawingS60, WriteTextFillsTheCellAndPlacesWrappedAndMirroredText) {
    const TRect R{20, 10, 180, 40};
    const AnsiString S = "Ab";
    TCanvas* C = Cell->Canvas();
    const int TW = C->TextWidth(S);
    struct Case {
        const char* Name;
        TAlignment Align;
        bool Wrap;
        int X; // where the reference puts the text
    };
    const std::vector<Case> Cases = {
        {"single line right", taRightJustify, false, R.Right - TW - 3},
        {"single line centre", taCenter, false, R.Left + R.Width() / 2 - TW / 2},
        {"laid out right: to the layout area's edge", taRightJustify, true, R.Right - 1 - TW},
        {"laid out left", taLeftJustify, true, R.Left + 4},
    };
    for (const auto& K : Cases) {
        SCOPED_TRACE(K.Name);
        C->Brush()->SetColor(clWhite);
        C->FillRect(TRect{0, 0, 200, 100});
        C->Brush()->SetColor(clYellow);
        WriteText(C, R, 4, 3, S, K.Align, K.Wrap);
        auto Ref = Reference();
        Ref->Canvas()->Brush()->SetColor(clYellow);
        Ref->Canvas()->TextRect(R, K.X, R.Top + 3, S);
        EXPECT_TRUE(SameAs(Ref.get()));
    }
    // A mirrored canvas keeps a left-aligned line on the left as seen,
    // unless the text is to read right to left.
    C->Brush()->SetColor(clWhite);
    C->FillRect(TRect{0, 0, 200, 100});
    C->SetMirrorWidth(200);
    WriteText(C, TRect{0, 0, 200, 30}, 2, 2, "Mm", taLeftJustify, false);
    C->SetMirrorWidth(0);
    EXPECT_GT(InkRows(C, TRect{0, 0, 100, 30}), 0);
    EXPECT_EQ(InkRows(C, TRect{100, 0, 200, 30}), 0);
    C->FillRect(TRect{0, 0, 200, 100});
    C->SetMirrorWidth(200);
    WriteText(C, TRect{0, 0, 200, 30}, 2, 2, "Mm", taLeftJustify, false, true);
    C->SetMirrorWidth(0);
    EXPECT_EQ(InkRows(C, TRect{0, 0, 100, 30}), 0);
    EXPECT_GT(InkRows(C, TRect{100, 0, 200, 30}), 0);
}

TEST(DrawingS60Reading, ImageListImageDrawnEmbossed) {
    grid::TgxImageList List(nullptr);
    auto Src = Filled(3, 2, clFuchsia);
    Src->Canvas()->SetPixels(0, 0, clRed);
    Src->Canvas()->SetPixels(1, 0, clWhite);
    Src->Canvas()->SetPixels(2, 0, clLime);
    grid::TgxImage* Image = List.Images()->Add();
    Image->SetBitmap(Src.get());
    Image->SetTransparentColor(clFuchsia);
    Image->SetTransparent(true);

    struct Case {
        bool Highlight;
        std::vector<std::pair<TPoint, TColor>> Marks;
    };
    const std::vector<Case> Cases = {
        {true, {{{1, 1}, clNavy}, {{3, 1}, clNavy}, {{2, 2}, clAqua}, {{4, 2}, clAqua}}},
        {false, {{{1, 1}, clNavy}, {{3, 1}, clNavy}}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Highlight);
        auto B = Filled(6, 5, clYellow);
        B->Canvas()->Brush()->SetColor(clGray);
        ImageListDrawDisabled(&List, B->Canvas(), 1, 1, 0, clAqua, clNavy, C.Highlight);
        for (int Y = 0; Y < 5; ++Y)
            for (int X = 0; X < 6; ++X) {
                TColor Want = clYellow;
                for (const auto& [P, Colour] : C.Marks)
                    if (P.X == X && P.Y == Y) Want = Colour;
                EXPECT_EQ(B->Canvas()->Pixels(X, Y), Want) << X << "," << Y;
            }
        EXPECT_EQ(B->Canvas()->Brush()->Color(), clGray);
    }
    auto B = Filled(6, 5, clYellow);
    ImageListDrawDisabled(&List, B->Canvas(), 1, 1, 7, clAqua, clNavy, true);
    EXPECT_EQ(B->Canvas()->Pixels(1, 1), clYellow);
}

TEST(DrawingS60Reading, StretchingTakesWholePixelsNeverBlends) {
    auto Src = Filled(4, 4, clRed);
    for (int Y = 0; Y < 4; ++Y)
        for (int X = 0; X < 4; ++X)
            if ((X + Y) % 2) Src->Canvas()->SetPixels(X, Y, clBlue);
    for (TColor Mask : {clNone, clLime}) {
        SCOPED_TRACE(Mask);
        auto D = Filled(2, 2, clWhite);
        StretchBitmapRectTransparent(D->Canvas(), 0, 0, 2, 2, TRect{0, 0, 4, 4}, Src.get(), Mask);
        auto Big = Filled(7, 7, clWhite);
        StretchBitmapRectTransparent(Big->Canvas(), 0, 0, 7, 7, TRect{0, 0, 4, 4}, Src.get(), Mask);
        for (int Y = 0; Y < 2; ++Y)
            for (int X = 0; X < 2; ++X) {
                const TColor P = D->Canvas()->Pixels(X, Y);
                EXPECT_TRUE(P == clRed || P == clBlue) << X << "," << Y << " " << std::hex << P;
            }
        for (int Y = 0; Y < 7; ++Y)
            for (int X = 0; X < 7; ++X) {
                const TColor P = Big->Canvas()->Pixels(X, Y);
                EXPECT_TRUE(P == clRed || P == clBlue) << X << "," << Y << " " << std::hex << P;
            }
    }
}
