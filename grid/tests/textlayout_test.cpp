#include "grid/foundation/TextChars.h"
#include "grid/foundation/TextLayout.h"
#include "grid/foundation/TextLayoutPaint.h"
#include "platform/gui/Forms.h"

#include <gtest/gtest.h>

#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using namespace grid;

namespace {

// Widths come from the font actually installed, so every expectation is
// stated in measured widths rather than pixels.
class TextLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->Initialize();
        Bitmap.SetSize(200, 120);
        Canvas()->Font()->SetName("DejaVu Sans");
        Canvas()->Font()->SetHeight(-12);
        Canvas()->Font()->SetColor(clBlack);
        Canvas()->Brush()->SetColor(clWhite);
        Canvas()->FillRect(Rect(0, 0, 200, 120));
        Metrics = GetTextMetrics(Canvas());
    }

    TCanvas* Canvas() { return Bitmap.Canvas(); }
    int W(std::string_view Text) { return FullTextWidth(Canvas(), Metrics, Text); }
    int Tall() const { return Metrics.tmHeight * 10; }

    std::vector<int> LineStarts(std::string_view Text, int Width,
                                TAlignment Alignment = taLeftJustify, int MaxLines = 0) {
        TgxIntegerList Lines;
        GetTextLines(Canvas(), Text, Tall(), Width, Alignment, true, Lines, MaxLines);
        std::vector<int> Result;
        for (int I = 0; I < Lines.Count(); ++I)
            Result.push_back(Lines.GetItem(I));
        return Result;
    }

    int LineCount(std::string_view Text, int Width, TAlignment Alignment = taLeftJustify) {
        int Count = 0;
        int Height = 0;
        GetTextHeight(Canvas(), Text, Width, Alignment, true, Count, Height);
        EXPECT_EQ(Height, Count * (Metrics.tmHeight + TextLineSpacing(Metrics)));
        return Count;
    }

    std::vector<TColor> Snapshot() {
        std::vector<TColor> Result;
        for (int Y = 0; Y < Bitmap.Height(); ++Y)
            for (int X = 0; X < Bitmap.Width(); ++X)
                Result.push_back(Canvas()->Pixels(X, Y));
        return Result;
    }

    // The columns (or rows) where a pixel has Color.
    std::vector<int> Where(TColor Color, bool Rows) {
        std::vector<int> Result;
        const int Outer = Rows ? Bitmap.Height() : Bitmap.Width();
        const int Inner = Rows ? Bitmap.Width() : Bitmap.Height();
        for (int A = 0; A < Outer; ++A)
            for (int B = 0; B < Inner; ++B)
                if (Canvas()->Pixels(Rows ? B : A, Rows ? A : B) == Color) {
                    Result.push_back(A);
                    break;
                }
        return Result;
    }

    TBitmap Bitmap;
    TTextMetric Metrics;
};

TEST_F(TextLayoutTest, WrapsAfterTheLastBlankThatFits) {
    const std::string_view Text = "alpha beta gamma";
    // GetTextLines breaks for one pixel less than it is given.
    EXPECT_EQ(LineStarts(Text, W("alpha beta") + 2), (std::vector<int>{0, 11}));
    EXPECT_EQ(LineStarts(Text, W(Text) + 2), (std::vector<int>{0}));
    EXPECT_EQ(LineCount(Text, W("alpha beta") + 2), 2);
}

TEST_F(TextLayoutTest, EveryLineFillsItsWidthAndNeverSplitsACharacter) {
    // Words longer than the width break inside; multibyte characters stay whole.
    const std::string Texts[] = {"abcdefghijklmnopqrstuvwxyz",
                                 "\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9\xC3\xA9",
                                 "\xE2\x82\xAC"
                                 "a\xE2\x82\xAC"
                                 "bb\xE2\x82\xAC\xE2\x82\xAC"};
    for (const std::string& Text : Texts) {
        const int Width = W(Text.substr(0, 6)) + 1;
        const std::vector<int> Starts = LineStarts(Text, Width);
        ASSERT_GT(Starts.size(), 1u) << Text;
        for (std::size_t I = 0; I < Starts.size(); ++I) {
            const int Start = Starts[I];
            const int End = I + 1 < Starts.size() ? Starts[I + 1] : static_cast<int>(Text.size());
            const std::string_view Line = std::string_view(Text).substr(Start, End - Start);
            EXPECT_NE(static_cast<unsigned char>(Text[Start]) & 0xC0, 0x80)
                << Text << " at " << Start;
            EXPECT_LE(W(Line), Width - 1) << Text << " line " << I;
            if (I + 1 < Starts.size()) {
                const int Next = End + NextCharCount(Text, End);
                EXPECT_GT(W(std::string_view(Text).substr(Start, Next - Start)), Width - 1) << Text;
            }
        }
    }
}

TEST_F(TextLayoutTest, AlwaysAtLeastOneCharacterPerLine) {
    EXPECT_EQ(LineStarts("WW", 1), (std::vector<int>{0, 1}));
    EXPECT_EQ(LineStarts("\xC3\xA9\xC3\xA9", 0), (std::vector<int>{0, 2}));
    EXPECT_EQ(LineStarts("", 100), (std::vector<int>{0}));
}

TEST_F(TextLayoutTest, LineBreaks) {
    struct TCase {
        std::string_view Text;
        std::vector<int> Starts;
    };
    const TCase Cases[] = {
        {"a\r\nb", {0, 3}}, {"a\n\rb", {0, 3}},    {"a\rb", {0, 2}},
        {"a\nb", {0, 2}},   {"a\r\rb", {0, 2, 3}}, {"a\n\nb", {0, 2, 3}},
        {"a\r\n", {0, 3}},  {"a b\n", {0, 4}},     {"\n", {0, 1}},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(LineStarts(C.Text, 150), C.Starts) << C.Text;
        EXPECT_EQ(LineCount(C.Text, 150), static_cast<int>(C.Starts.size())) << C.Text;
    }
}

TEST_F(TextLayoutTest, MaxLinesStopsTheBreaking) {
    EXPECT_EQ(LineStarts("aa bb cc dd", W("aa") + 2, taLeftJustify, 2), (std::vector<int>{0, 3}));
}

TEST_F(TextLayoutTest, RightJustifiedLinesLeaveTheirBlanksToTheNextLine) {
    const int Width = W("ab") + 1;
    int Length = 0;
    ASSERT_TRUE(GetNextLine(Canvas(), Metrics, "ab  ab", Width, taRightJustify, Length));
    EXPECT_EQ(Length, 2);
    ASSERT_TRUE(GetNextLine(Canvas(), Metrics, "  ab", Width, taRightJustify, Length));
    EXPECT_EQ(Length, 4); // the skipped blanks count into the line
    ASSERT_TRUE(GetNextLine(Canvas(), Metrics, "ab  ab", Width, taLeftJustify, Length));
    EXPECT_EQ(Length, 4); // left-justified lines keep them
    // Blanks before the end or a line break make no line of their own.
    EXPECT_EQ(LineCount("abc   ", 150, taRightJustify), 1);
    EXPECT_EQ(LineStarts("abc  \r\nx", 150, taRightJustify), (std::vector<int>{0, 7}));
}

TEST_F(TextLayoutTest, OneLineWithoutRoomOrWithoutWrap) {
    const int Line = Metrics.tmHeight + TextLineSpacing(Metrics);
    EXPECT_TRUE(IsMultiLineText(Line + Line / 3, Line));
    EXPECT_FALSE(IsMultiLineText(Line + Line / 3 - 1, Line));
    TgxIntegerList Lines;
    GetTextLines(Canvas(), "a\nb\nc", Line + Line / 3 - 1, 150, taLeftJustify, true, Lines);
    EXPECT_EQ(Lines.Count(), 1);
    GetTextLines(Canvas(), "a\nb\nc", Tall(), 150, taLeftJustify, false, Lines);
    EXPECT_EQ(Lines.Count(), 1);
    int Count = 0;
    int Height = 0;
    GetTextHeight(Canvas(), "a\nb\nc", 150, taLeftJustify, false, Count, Height);
    EXPECT_EQ(Count, 1);
}

// A text is broken measuring its lines off one pass over it where it is
// plain ASCII; each line must come out as when it is broken on its own,
// measured from its own start, across line ends, tabs, UTF-8 and texts
// longer than one pass covers.
TEST_F(TextLayoutTest, BreakingAWholeTextMatchesBreakingItLineByLine) {
    const std::string_view Words[] = {"AV",   "To",   "Wa",    "yTo,", "LT",   "fi",       "x",
                                      "  ",   "\t",   "\r\n",  "\n",   "WWWW", "\xC3\xA9t\xC3\xA9",
                                      "tab\tx", "iiiiiiii", "Job 4711 status"};
    std::mt19937 Random(40);
    std::vector<std::string> Texts;
    for (int N = 0; N < 150; ++N) {
        std::string Text;
        const int Count = 1 + static_cast<int>(Random() % 30);
        for (int K = 0; K < Count; ++K) {
            Text += Words[Random() % std::size(Words)];
            if (Random() % 3 != 0) Text += ' ';
        }
        Texts.push_back(Text);
    }
    std::string Long;
    while (Long.size() < 12000)
        Long += "Wave To alert ";
    Texts.push_back(Long);
    for (const std::string& Text : Texts)
        for (const TAlignment Alignment : {taLeftJustify, taRightJustify}) {
            const int Width = 1 + static_cast<int>(Random() % 160);
            std::vector<int> Expected;
            int Offset = 0;
            int Length = 0;
            while (GetNextLine(Canvas(), Metrics, std::string(Text.substr(Offset)), Width - 1,
                               Alignment, Length)) {
                Expected.push_back(Offset);
                Offset += Length;
            }
            if (!Expected.empty() && LastCharIsEofLine(Text, Offset)) Expected.push_back(Offset);
            if (Expected.empty()) Expected.push_back(0);
            ASSERT_EQ(LineStarts(Text, Width, Alignment), Expected)
                << '"' << Text << "\" at " << Width;
            ASSERT_EQ(LineCount(Text, Width, Alignment), static_cast<int>(Expected.size()))
                << '"' << Text << "\" at " << Width;
        }
}

TEST(TextLayoutMeasures, VerticalTopOffset) {
    TTextMetric M;
    M.tmHeight = 10;
    TgxIntegerList Three;
    for (int Start : {0, 5, 9})
        Three.AddItem(Start);
    const TRect R = Rect(0, 0, 50, 100);
    EXPECT_EQ(GetVertTopOffset(0, R, &Three, 0, vtaBottom, M), 70);
    EXPECT_EQ(GetVertTopOffset(0, R, &Three, 2, vtaBottom, M), 66);
    EXPECT_EQ(GetVertTopOffset(75, R, &Three, 0, vtaBottom, M), 80); // no higher than the top
    EXPECT_EQ(GetVertTopOffset(0, R, &Three, 0, vtaCenter, M), 35);
    EXPECT_EQ(GetVertTopOffset(75, R, &Three, 0, vtaCenter, M), 75); // no room to centre
    EXPECT_EQ(GetVertTopOffset(4, R, &Three, 0, vtaTop, M), 4);
    EXPECT_EQ(GetVertTopOffset(4, R, &Three, 0, vtaDefault, M), 4);
    EXPECT_EQ(GetVertTopOffset(4, R, nullptr, 0, vtaBottom, M), 4);

    M.tmExternalLeading = 2;
    EXPECT_EQ(TextLineSpacing(M), 1);
    M.tmExternalLeading = 0;
    EXPECT_EQ(TextLineSpacing(M), 0);
}

TEST_F(TextLayoutTest, PrintWidthCountsABreakAsOneSpace) {
    EXPECT_EQ(GetPrintCharWidth(Canvas(), Metrics, "ab\r\ncd", 6, false, false), W("ab cd"));
    EXPECT_EQ(GetPrintCharWidth(Canvas(), Metrics, "ab\r\ncd", 6, true, false), W("abcd"));
    EXPECT_EQ(GetPrintCharWidth(Canvas(), Metrics, "ab\r\ncd", 2, false, false), W("ab"));
}

// ---- painting ---------------------------------------------------------------

TEST_F(TextLayoutTest, NothingIsDrawnOutsideTheRectangle) {
    Canvas()->Brush()->SetColor(clYellow);
    const TRect R = Rect(20, 10, 60, 40);
    DisplayText(Canvas(), "a rather long text that runs well past the edge", Tall(), R, 22, 10,
                taLeftJustify, vtaTop, false);
    for (int X = 0; X < 200; ++X)
        for (int Y = 0; Y < 120; ++Y) {
            const bool Inside = X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
            if (!Inside) {
                ASSERT_EQ(Canvas()->Pixels(X, Y), clWhite) << X << ',' << Y;
            }
        }
    EXPECT_EQ(Canvas()->Brush()->Color(), clYellow); // the brush comes back as it was
    EXPECT_EQ(Canvas()->Brush()->Style(), bsSolid);

    const std::vector<TColor> Before = Snapshot();
    DisplayText(Canvas(), "text", Tall(), Rect(60, 10, 60, 40), 60, 10, taLeftJustify, vtaTop,
                true);
    EXPECT_EQ(Snapshot(), Before); // an empty rectangle draws nothing
}

TEST_F(TextLayoutTest, RightJustifiedLinesAreDrawnWithoutTrailingBlanks) {
    const TRect R = Rect(0, 0, 120, 100);
    DisplayText(Canvas(), "ab\ncd", Tall(), R, 0, 0, taRightJustify, vtaTop, true);
    const std::vector<TColor> Plain = Snapshot();
    DisplayText(Canvas(), "ab   \ncd  ", Tall(), R, 0, 0, taRightJustify, vtaTop, true);
    EXPECT_EQ(Snapshot(), Plain);
    // Ink reaches near the right edge.
    const std::vector<int> Inked = Where(clBlack, false);
    ASSERT_FALSE(Inked.empty());
    EXPECT_GE(Inked.back(), 120 - 4);
}

TEST_F(TextLayoutTest, UnderlineMarksOnlyItsCharacter) {
    const TRect R = Rect(0, 0, 120, 30);
    DisplayText(Canvas(), "aaaa", Tall(), R, 2, 2, taLeftJustify, vtaTop, false, 0);
    const std::vector<TColor> Plain = Snapshot();
    DisplayText(Canvas(), "aaaa", Tall(), R, 2, 2, taLeftJustify, vtaTop, false, 2);
    const std::vector<TColor> Marked = Snapshot();
    // The underline is the ink in rows the plain text leaves empty.
    int First = 200;
    int Last = -1;
    for (int Y = 0; Y < 30; ++Y) {
        bool PlainInk = false;
        for (int X = 0; X < 200; ++X)
            PlainInk = PlainInk || Plain[Y * 200 + X] != clWhite;
        if (PlainInk) continue;
        for (int X = 0; X < 200; ++X)
            if (Marked[Y * 200 + X] != clWhite) {
                First = std::min(First, X);
                Last = std::max(Last, X);
            }
    }
    ASSERT_GE(Last, 0) << "nothing underlined";
    EXPECT_GE(First, 2 + W("a") - 1);
    EXPECT_LE(Last, 2 + W("aa") + 1);
}

TEST_F(TextLayoutTest, BottomAlignedSingleLineSitsAtTheBottom) {
    const TRect R = Rect(0, 0, 120, 100);
    DisplayText(Canvas(), "Wg", Metrics.tmHeight, R, 2, 0, taLeftJustify, vtaBottom, false);
    const std::vector<int> Rows = Where(clBlack, true);
    ASSERT_FALSE(Rows.empty());
    EXPECT_GE(Rows.front(), 100 - Metrics.tmHeight);
}

TEST_F(TextLayoutTest, SelectionIsHighlightedOverItsBytesOnly) {
    const TRect R = Rect(0, 0, 150, 100);
    const std::string_view Text = "abcdef ghijkl";
    TgxIntegerList Lines;
    GetTextLines(Canvas(), Text, Tall(), W("abcdef") + 4, taLeftJustify, true, Lines);
    ASSERT_EQ(Lines.Count(), 2);
    // The selection is "hi", on the second line.
    DisplayTextLines(Canvas(), Text, Tall(), R, 0, 0, 8, 2, &Lines, 0, 0, clWhite, clRed,
                     taLeftJustify, vtaTop, true);
    const std::vector<int> Columns = Where(clRed, false);
    const std::vector<int> Rows = Where(clRed, true);
    ASSERT_FALSE(Columns.empty());
    EXPECT_GE(Columns.front(), W("g") - 1);
    EXPECT_LE(Columns.back(), W("ghi") + 1);
    EXPECT_GE(Rows.front(), Metrics.tmHeight);
    EXPECT_LT(Rows.back(), 2 * Metrics.tmHeight + 2);

    // One line scrolled: the selection moves with the first byte shown.
    Canvas()->FillRect(Rect(0, 0, 200, 120));
    DisplayTextLines(Canvas(), Text, Metrics.tmHeight, R, 0, 0, 3, 1, &Lines, 0, 2, clWhite, clRed,
                     taLeftJustify, vtaTop, true);
    const std::vector<int> Scrolled = Where(clRed, false);
    ASSERT_FALSE(Scrolled.empty());
    EXPECT_GE(Scrolled.front(), W("c") - 1);
    EXPECT_LE(Scrolled.back(), W("cd") + 1);

    Canvas()->FillRect(Rect(0, 0, 200, 120));
    DisplayTextLines(Canvas(), Text, Tall(), R, 0, 0, 8, 0, &Lines, 0, 0, clWhite, clRed,
                     taLeftJustify, vtaTop, true);
    EXPECT_TRUE(Where(clRed, false).empty()); // no selection, no highlight
}

} // namespace
