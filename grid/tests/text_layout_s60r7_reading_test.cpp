// Line breaking, text heights and the character steps under them, measured
// and drawn on a real bitmap canvas.
#include "grid/foundation/TextChars.h"
#include "grid/foundation/TextLayout.h"
#include "grid/foundation/TextLayoutPaint.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace grid;

namespace {

class TextLayoutReading : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Bitmap = std::make_unique<TBitmap>();
        Bitmap->SetSize(300, 200);
        Canvas = Bitmap->Canvas();
        Metrics = GetTextMetrics(Canvas);
        ASSERT_GT(Metrics.tmHeight, 0);
        ASSERT_GT(Metrics.tmAveCharWidth, 0);
    }
    std::vector<int> Lines(std::string_view Text, int Width, TAlignment Alignment = taLeftJustify,
                           int MaxLines = 0) {
        TgxIntegerList L;
        GetTextLines(Canvas, Text, 10 * Metrics.tmHeight, Width, Alignment, true, L, MaxLines);
        std::vector<int> Out;
        for (int I = 0; I < L.Count(); ++I) Out.push_back(L.GetItem(I));
        return Out;
    }
    int Count(std::string_view Text, int Width) {
        int N = 0, H = 0;
        GetTextHeight(Canvas, Text, Width, taLeftJustify, true, N, H);
        EXPECT_EQ(H, N * (Metrics.tmHeight + TextLineSpacing(Metrics))) << Text;
        return N;
    }
    int Wide(std::string_view Text) { return FullTextWidth(Canvas, Metrics, Text); }

    std::unique_ptr<TBitmap> Bitmap;
    TCanvas* Canvas = nullptr;
    TTextMetric Metrics;
};

TEST_F(TextLayoutReading, LineBreaksEndLinesAndAFinalBreakAddsAnEmptyLine) {
    struct Case {
        std::string Text;
        std::vector<int> Starts;
    };
    const Case Cases[] = {
        {"ab\r\ncd", {0, 4}},     {"ab\n\rcd", {0, 4}}, {"ab\rcd", {0, 3}},
        {"ab\ncd", {0, 3}},       {"ab\r\rcd", {0, 3, 4}}, {"ab\n\ncd", {0, 3, 4}},
        {"ab\r\n", {0, 4}},       {"ab", {0}},           {"", {0}},
        {"\r\n", {0, 2}},
    };
    for (const Case& C : Cases) {
        EXPECT_EQ(Lines(C.Text, 280), C.Starts) << C.Text;
        EXPECT_EQ(Count(C.Text, 280), static_cast<int>(C.Starts.size())) << C.Text;
    }
    EXPECT_EQ(Lines("a b c d", Wide("a") + 2, taLeftJustify, 2), (std::vector<int>{0, 2}));
}

TEST_F(TextLayoutReading, WordsWrapAtSpacesAndLongWordsBreakInside) {
    const std::string Words = "alpha beta gamma";
    const int Width = Wide("alpha beta") + 2;
    int Length = 0;
    ASSERT_TRUE(GetNextLine(Canvas, Metrics, Words, Width, taLeftJustify, Length));
    EXPECT_EQ(Length, 11); // "alpha beta " with the space that ends it
    EXPECT_EQ(Lines(Words, Width + 1), (std::vector<int>{0, 11}));

    const std::string Long = "abcdefghijklmnopqrstuvwxyz";
    const int Narrow = Wide("abcdefgh") + 1;
    ASSERT_TRUE(GetNextLine(Canvas, Metrics, Long, Narrow, taLeftJustify, Length));
    EXPECT_GT(Length, 0);
    EXPECT_LT(Length, 26);
    EXPECT_LE(Wide(Long.substr(0, Length)), Narrow);
    EXPECT_GT(Wide(Long.substr(0, Length + 1)), Narrow);
    // No room at all: still one character a line.
    ASSERT_TRUE(GetNextLine(Canvas, Metrics, Long, 1, taLeftJustify, Length));
    EXPECT_EQ(Length, 1);
    EXPECT_FALSE(GetNextLine(Canvas, Metrics, "", 100, taLeftJustify, Length));
    EXPECT_EQ(Length, 0);
    EXPECT_EQ(Count(Long, 1), 26);
}

TEST_F(TextLayoutReading, RightJustifiedLinesLeaveTheirSpacesToTheNextLine) {
    const std::string Text = "alpha   beta";
    const int Width = Wide("alpha  ") + 1;
    int Length = 0;
    ASSERT_TRUE(GetNextLine(Canvas, Metrics, Text, Width, taRightJustify, Length));
    EXPECT_EQ(Length, 5);
    ASSERT_TRUE(GetNextLine(Canvas, Metrics, Text, Width, taLeftJustify, Length));
    EXPECT_EQ(Length, 8);
    // Spaces that start a right-justified line belong to it.
    ASSERT_TRUE(GetNextLine(Canvas, Metrics, std::string_view(Text).substr(5), Width,
                            taRightJustify, Length));
    EXPECT_EQ(Length, 7);
}

TEST_F(TextLayoutReading, RightJustifiedLinesDrawFlushWithoutTrailingSpaces) {
    const TRect Rect{10, 10, 210, 10 + 3 * Metrics.tmHeight};
    Canvas->Brush()->SetColor(clWhite);
    Canvas->Font()->SetColor(clBlack);
    // A wrapped text whose first line is "mm" plus spaces, by a width that
    // takes the first word and some of the spaces only.
    const std::string Wrapped = "mmmm      mm";
    const int Narrow = Wide("mmmm   ") + 1;
    const TRect Cell{Rect.Left, Rect.Top, Rect.Left + Narrow + 1, Rect.Bottom};
    DisplayText(Canvas, Wrapped, Cell.Bottom - Cell.Top, Cell, Cell.Left, Cell.Top, taRightJustify,
                vtaTop, true);
    // The first line's ink reaches the cell's right edge (less the one pixel
    // kept free), not stopping short by the width of the spaces.
    int Rightmost = -1;
    for (int X = Cell.Left; X < Cell.Right; ++X)
        for (int Y = Cell.Top; Y < Cell.Top + Metrics.tmHeight; ++Y)
            if (Canvas->Pixels(X, Y) != clWhite) Rightmost = X;
    ASSERT_GE(Rightmost, 0);
    EXPECT_GE(Rightmost, Cell.Right - 1 - Wide("m") / 2);
}

TEST_F(TextLayoutReading, ARectangleNeedsAThirdOfALineMoreToWrap) {
    struct Case {
        int Height, LineHeight;
        bool Multi;
    };
    const Case Cases[] = {{20, 15, true}, {19, 15, false}, {16, 12, true},
                          {15, 12, false}, {15, 15, false}, {30, 15, true}};
    for (const Case& C : Cases)
        EXPECT_EQ(IsMultiLineText(C.Height, C.LineHeight), C.Multi) << C.Height << "/" << C.LineHeight;
    const std::string Text = "alpha beta gamma";
    const int Width = Wide("gamma") + 2;
    TgxIntegerList L;
    const int S = TextLineSpacing(Metrics);
    const int H = Metrics.tmHeight + S;
    GetTextLines(Canvas, Text, S + H + H / 3 - 1, Width, taLeftJustify, true, L);
    EXPECT_EQ(L.Count(), 1);
    GetTextLines(Canvas, Text, S + H + H / 3, Width, taLeftJustify, true, L);
    EXPECT_EQ(L.Count(), 3);
    GetTextLines(Canvas, Text, 2 * H + S, Width, taLeftJustify, false, L);
    EXPECT_EQ(L.Count(), 1);
}

TEST_F(TextLayoutReading, MultibyteCharactersStayWhole) {
    // Four two-byte letters with no space: the break must fall between them.
    const std::string Text = "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9";
    for (int Width : {1, Wide("\xC3\xA9") + 1, Wide("\xC3\xA9\xC3\xA9\xC3\xA9") + 1}) {
        for (int Start : Lines(Text, Width)) EXPECT_EQ(Start % 2, 0) << Width;
    }
    struct Step {
        int Pos, Next, Prev;
    };
    const std::string Mixed = "a\xC3\xA9\r\nb";
    const Step Steps[] = {{0, 1, 0}, {1, 2, 1}, {3, 2, 2}, {5, 1, 2}, {6, 0, 1}};
    for (const Step& S : Steps) {
        EXPECT_EQ(NextCharCount(Mixed, S.Pos), S.Next) << S.Pos;
        EXPECT_EQ(PrevCharCount(Mixed, S.Pos), S.Prev) << S.Pos;
    }
    EXPECT_EQ(PCharToByteLen(Mixed, 2, 6, false), 3);
    EXPECT_EQ(PCharToByteLen(Mixed, 1, 6, true), 1);
    EXPECT_EQ(PCharToByteLen(Mixed, 0, 6, false), 0);
    EXPECT_EQ(PByteToCharLen(Mixed, 3, 6), 2);
    EXPECT_EQ(PByteToCharLen(Mixed, 6, 3), 2);
}

TEST_F(TextLayoutReading, CharacterAndWordStepsOverPlainText) {
    struct Break {
        std::string Text;
        int Pos, After;
        bool At;
    };
    const Break Breaks[] = {{"a\r\nb", 1, 3, true}, {"a\n\rb", 1, 3, true}, {"a\r\rb", 1, 2, true},
                            {"a\nb", 1, 2, true},   {"ab", 1, 1, false},    {"a\r", 1, 2, true}};
    for (const Break& B : Breaks) {
        int Pos = B.Pos;
        EXPECT_EQ(GetEofLine(B.Text, Pos), B.At) << B.Text;
        EXPECT_EQ(Pos, B.After) << B.Text;
    }
    const std::string Text = "one  two\tthree\r\nfour";
    EXPECT_EQ(StrNScanEol(Text, 100), 14);
    EXPECT_EQ(StrNScanEol(Text, 14), -1);
    EXPECT_EQ(StrRNSpaceScan(Text, 100), 8);
    EXPECT_EQ(StrRNSpaceScan(Text, 5), 4);
    EXPECT_EQ(StrRNSpaceScan(Text, 3), -1);
    EXPECT_EQ(StrNSkipSpace(" \t x", 4), 3);
    EXPECT_EQ(StrNSkipSpace("   ", 2), 2);
    EXPECT_EQ(StrRNTextScan("ab  ", 4), 1);
    EXPECT_EQ(StrRNTextScan("  ", 2), -1);
    EXPECT_EQ(NextWordCount(Text, 0), 5);  // "one  "
    EXPECT_EQ(NextWordCount(Text, 5), 4);  // "two\t"
    EXPECT_EQ(NextWordCount(Text, 9), 7);  // "three\r\n"
    EXPECT_EQ(NextWordCount(Text, 16), 4); // "four" to the end
    EXPECT_EQ(PrevWordCount(Text, 20), 4);
    EXPECT_EQ(PrevWordCount(Text, 16), 7);
    EXPECT_EQ(PrevWordCount(Text, 5), 5);
    EXPECT_EQ(PrevWordCount(Text, 0), 0);
    EXPECT_TRUE(LastCharIsEofLine(Text, 16));
    EXPECT_FALSE(LastCharIsEofLine(Text, 14));
    EXPECT_FALSE(LastCharIsEofLine(Text, 0));
    EXPECT_TRUE(IsSpaceChar(Text, 3));
    EXPECT_FALSE(IsTextChar(Text, 14));
    EXPECT_FALSE(IsTextChar(Text, 20));
    EXPECT_TRUE(EndOfText(Text, 20));
    EXPECT_TRUE(EndOfText(std::string_view("ab\0cd", 5), 2));
    EXPECT_LT(CompareChar("a", "b"), 0);
    EXPECT_EQ(CompareChar("a", "a"), 0);
    EXPECT_TRUE(LargerChar("b", "a"));
    EXPECT_TRUE(SmallerChar("", "a"));
}

TEST_F(TextLayoutReading, LineSpacingAndPrintedWidths) {
    struct Case {
        bool FarEast;
        int Leading, Spacing;
    };
    const Case Cases[] = {{true, 2, 1}, {true, 0, 0}, {false, 2, 0}};
    const bool Saved = gxIsFarEast;
    for (const Case& C : Cases) {
        gxIsFarEast = C.FarEast;
        TTextMetric M = Metrics;
        M.tmExternalLeading = C.Leading;
        EXPECT_EQ(TextLineSpacing(M), C.Spacing) << C.FarEast << C.Leading;
    }
    gxIsFarEast = Saved;
    const std::string Text = "ab\r\ncd";
    const int Plain = GetPrintCharWidth(Canvas, Metrics, "abcd", 4, false, false);
    const int Space = GetPrintCharWidth(Canvas, Metrics, " ", 1, false, false);
    EXPECT_EQ(GetPrintCharWidth(Canvas, Metrics, Text, 6, true, false), Plain);
    EXPECT_EQ(GetPrintCharWidth(Canvas, Metrics, Text, 6, false, false),
              GetPrintCharWidth(Canvas, Metrics, "ab cd", 5, false, false)); // one break, one space
    EXPECT_GT(Space, 0);
    EXPECT_EQ(GetPrintCharWidth(Canvas, Metrics, Text, 2, false, false),
              GetPrintCharWidth(Canvas, Metrics, "ab", 2, false, false));
    TTextMetric Slanted = Metrics;
    Slanted.tmOverhang = 3;
    EXPECT_EQ(GetPrintCharWidth(Canvas, Slanted, "ab", 2, false, true),
              GetPrintCharWidth(Canvas, Slanted, "ab", 2, false, false) + 3);
    EXPECT_EQ(GetPrintCharWidth(Canvas, Slanted, "", 0, false, true), 0);
}

TEST_F(TextLayoutReading, VerticalPlacementOfLines) {
    const int H = Metrics.tmHeight;
    TgxIntegerList Three;
    for (int I = 0; I < 3; ++I) Three.AddItem(I);
    struct Case {
        TgxVertAlignment Align;
        int Bottom, Top;
    };
    const Case Cases[] = {
        {vtaTop, 100, 10},
        {vtaDefault, 100, 10},
        {vtaBottom, 10 + 10 * H, 10 + 10 * H - 3 * H},
        {vtaBottom, 10 + 2 * H, 10 + 0 * H}, // the first line no higher than the top
        {vtaCenter, 10 + 9 * H, 10 + (9 * H - 3 * H) / 2},
        {vtaCenter, 10 + 3 * H, 10}, // no room to spare
    };
    for (const Case& C : Cases) {
        const TRect R{0, 0, 100, C.Bottom};
        EXPECT_EQ(GetVertTopOffset(10, R, &Three, 0, C.Align, Metrics), C.Top)
            << static_cast<int>(C.Align) << " " << C.Bottom;
    }
    EXPECT_EQ(GetVertTopOffset(10, TRect{0, 0, 100, 500}, nullptr, 0, vtaBottom, Metrics), 10);
}

// Where ink (anything but the white fill) lies inside R: its bounding box,
// empty when there is none.
TRect InkBox(TCanvas* Canvas, const TRect& R) {
    TRect Box{R.Right, R.Bottom, R.Left, R.Top};
    for (int Y = R.Top; Y < R.Bottom; ++Y)
        for (int X = R.Left; X < R.Right; ++X)
            if (Canvas->Pixels(X, Y) != clWhite) {
                Box.Left = std::min(Box.Left, X);
                Box.Top = std::min(Box.Top, Y);
                Box.Right = std::max(Box.Right, X + 1);
                Box.Bottom = std::max(Box.Bottom, Y + 1);
            }
    return Box;
}

TEST_F(TextLayoutReading, OneLineTextsArePlacedByTheirAlignment) {
    const int H = Metrics.tmHeight;
    const TRect Cell{20, 20, 220, 20 + 4 * H};
    const std::string Text = "mmmm";
    const int W = Wide(Text);
    struct Case {
        TAlignment Align;
        TgxVertAlignment Vert;
        int Left, Right; // where the ink may start and end across
        bool Low;        // the ink lies in the bottom line
    };
    const Case Cases[] = {
        {taLeftJustify, vtaTop, Cell.Left, Cell.Left + W + 2, false},
        {taRightJustify, vtaTop, Cell.Right - W - 3, Cell.Right, false},
        {taCenter, vtaTop, Cell.Left + (200 - W) / 2 - 2, Cell.Left + (200 + W) / 2 + 2, false},
        {taLeftJustify, vtaBottom, Cell.Left, Cell.Left + W + 2, true},
    };
    for (const Case& C : Cases) {
        Canvas->Brush()->SetColor(clRed);
        Canvas->FillRect(TRect{0, 0, 300, 200});
        Canvas->Brush()->SetColor(clWhite);
        Canvas->Font()->SetColor(clBlack);
        DisplayText(Canvas, Text, Cell.Bottom - Cell.Top, Cell, Cell.Left, Cell.Top, C.Align, C.Vert,
                    false);
        EXPECT_EQ(Canvas->Pixels(Cell.Left, Cell.Bottom - 1), clWhite); // filled
        EXPECT_EQ(Canvas->Pixels(Cell.Right, Cell.Top), clRed);         // and no further
        const TRect Ink = InkBox(Canvas, Cell);
        const int Line = static_cast<int>(&C - Cases);
        ASSERT_LT(Ink.Left, Ink.Right) << Line;
        EXPECT_GE(Ink.Left, C.Left) << Line;
        EXPECT_LE(Ink.Right, C.Right) << Line;
        if (C.Low) {
            EXPECT_GE(Ink.Top, Cell.Bottom - H) << Line;
        } else {
            EXPECT_LT(Ink.Bottom, Cell.Top + H + 1) << Line;
        }
    }
    // An empty rectangle gets nothing, not even the fill.
    Canvas->Brush()->SetColor(clRed);
    Canvas->FillRect(TRect{0, 0, 300, 200});
    Canvas->Brush()->SetColor(clWhite);
    DisplayText(Canvas, Text, H, TRect{50, 50, 50, 50 + H}, 50, 50, taLeftJustify, vtaTop, false);
    EXPECT_EQ(Canvas->Pixels(50, 50), clRed);
}

TEST_F(TextLayoutReading, WrappedTextsArePlacedUpAndDown) {
    const int S = TextLineSpacing(Metrics);
    const int L = Metrics.tmHeight + S;
    const TRect Cell{20, 10, 20 + Wide("gamma") + 4, 10 + 6 * L};
    const std::string Text = "alpha beta gamma"; // three lines in this width
    struct Case {
        TgxVertAlignment Vert;
        int InkTopMin, InkBottomMax;
    };
    const Case Cases[] = {
        {vtaTop, Cell.Top, Cell.Top + 3 * L + S + 1},
        {vtaBottom, Cell.Bottom - 3 * L - 1, Cell.Bottom},
        {vtaCenter, Cell.Top + (6 * L - 3 * L) / 2 - 1, Cell.Top + (6 * L + 3 * L) / 2 + S + 1},
    };
    for (const Case& C : Cases) {
        Canvas->Brush()->SetColor(clWhite);
        Canvas->Font()->SetColor(clBlack);
        DisplayText(Canvas, Text, Cell.Bottom - Cell.Top, Cell, Cell.Left, Cell.Top, taLeftJustify,
                    C.Vert, true);
        const TRect Ink = InkBox(Canvas, Cell);
        const int Line = static_cast<int>(&C - Cases);
        ASSERT_LT(Ink.Top, Ink.Bottom) << Line;
        EXPECT_GE(Ink.Top, C.InkTopMin) << Line;
        EXPECT_LE(Ink.Bottom, C.InkBottomMax) << Line;
        EXPECT_GT(Ink.Bottom - Ink.Top, 2 * L) << Line; // three lines drawn
    }
}

TEST_F(TextLayoutReading, ATooLongRightJustifiedLineShowsItsEnd) {
    const TRect Cell{20, 20, 20 + Wide("mmm") + 4, 20 + Metrics.tmHeight};
    Canvas->Brush()->SetColor(clWhite);
    Canvas->Font()->SetColor(clBlack);
    // The text ends in "iii" that is narrower than the cell: its end shows.
    DisplayText(Canvas, "mmmmmmmmmmiii", Metrics.tmHeight, Cell, Cell.Left, Cell.Top,
                taRightJustify, vtaTop, false);
    const TRect Ink = InkBox(Canvas, Cell);
    ASSERT_LT(Ink.Left, Ink.Right);
    EXPECT_GE(Ink.Right, Cell.Right - 3);
}

TEST_F(TextLayoutReading, TheUnderlinedCharacterGetsALineBelowItOnly) {
    const int H = Metrics.tmHeight;
    const TRect Cell{10, 10, 200, 10 + H};
    const auto Draw = [&](int Underline) {
        Canvas->Brush()->SetColor(clWhite);
        Canvas->Font()->SetColor(clBlack);
        DisplayText(Canvas, "abcd", H, Cell, Cell.Left, Cell.Top, taLeftJustify, vtaTop, false,
                    Underline);
        std::vector<TColor> Pixels;
        for (int Y = Cell.Top; Y < Cell.Bottom; ++Y)
            for (int X = Cell.Left; X < Cell.Right; ++X) Pixels.push_back(Canvas->Pixels(X, Y));
        return Pixels;
    };
    const auto Plain = Draw(0);
    const auto Second = Draw(2);
    // Below the letters (none of "abcd" descends) only the underline inks.
    int MinX = 1 << 30, MaxX = -1;
    const int Width = Cell.Right - Cell.Left;
    for (int Row = 0; Row < H; ++Row) {
        bool Blank = true;
        for (int X = 0; X < Width; ++X) Blank = Blank && Plain[Row * Width + X] == clWhite;
        if (!Blank) continue;
        for (int X = 0; X < Width; ++X)
            if (Second[Row * Width + X] != clWhite) {
                MinX = std::min(MinX, X);
                MaxX = std::max(MaxX, X);
            }
    }
    ASSERT_GE(MaxX, 0) << "no underline drawn";
    // Only the "b" is underlined.
    EXPECT_GE(MinX, Wide("a") - 1);
    EXPECT_LE(MaxX, Wide("ab") + 1);
    EXPECT_EQ(Draw(9), Plain); // beyond the text: nothing underlined
}

TEST_F(TextLayoutReading, AnEditBoxSelectionIsPaintedInItsColours) {
    const int H = Metrics.tmHeight;
    const TRect Box{10, 10, 250, 10 + H + 2};
    Canvas->Brush()->SetColor(clWhite);
    Canvas->Font()->SetColor(clBlack);
    const std::string Text = "abcdefgh";
    TgxIntegerList Lines;
    GetTextLines(Canvas, Text, H + 2, 240, taLeftJustify, false, Lines);
    DisplayTextLines(Canvas, Text, H + 2, Box, Box.Left, Box.Top, 2, 3, &Lines, 0, 0, clWhite,
                     clBlue, taLeftJustify, vtaTop, false);
    const int Y = Box.Top + H / 2;
    const int SelLeft = Box.Left + Wide("ab");
    const int SelRight = Box.Left + Wide("abcde");
    int Blue = 0;
    for (int X = SelLeft + 1; X < SelRight - 1; ++X) Blue += Canvas->Pixels(X, Y) == clBlue;
    EXPECT_GT(Blue, (SelRight - SelLeft) / 3);
    for (int X = Box.Left; X < SelLeft - 1; ++X) EXPECT_NE(Canvas->Pixels(X, Y), clBlue) << X;
    for (int X = SelRight + 2; X < Box.Right; ++X) EXPECT_NE(Canvas->Pixels(X, Y), clBlue) << X;
}

} // namespace
