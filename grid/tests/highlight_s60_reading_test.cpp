// Selection highlight drawing read through the grid's public calls and its
// backing image: inverted pixels, cells repainted in the selection colours,
// fixed cells, scrolled-out ranges, suppressed painting, and the strips a
// dragged range redraws.
#include "ShownGridFixture.h"
#include "grid/model/GxGrid.h"

#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/WindowScroll.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace grid;

namespace {

class HighlightS60 : public ShownGridFixture {
protected:
    void SetUp() override {
        ShowGrid(8, 30, 300, 200);
        Grid->SetDefaultColWidth(40);
        Grid->SetDefaultRowHeight(18);
        Grid->SetSelectionType(sltInvert);
        Settle();
    }
    std::vector<TColor> Image() {
        std::vector<TColor> Out;
        for (int Y = 0; Y < Grid->ClientHeight(); ++Y)
            for (int X = 0; X < Grid->ClientWidth(); ++X) Out.push_back(Grid->Canvas()->Pixels(X, Y));
        return Out;
    }
    TColor At(const std::vector<TColor>& Img, int X, int Y) {
        return Img[static_cast<std::size_t>(Y * Grid->ClientWidth() + X)];
    }
    // The pixels that differ between two images, as their bounding box and
    // a count; every differing pixel must be the inverse of the first.
    struct Diff {
        TRect Box{0, 0, 0, 0};
        int Count = 0;
        int NotInverted = 0;
    };
    Diff Compare(const std::vector<TColor>& A, const std::vector<TColor>& B) {
        Diff D;
        bool First = true;
        for (int Y = 0; Y < Grid->ClientHeight(); ++Y)
            for (int X = 0; X < Grid->ClientWidth(); ++X) {
                const TColor P = At(A, X, Y), Q = At(B, X, Y);
                if (P == Q) continue;
                ++D.Count;
                if ((P ^ 0xFFFFFF) != Q) ++D.NotInverted;
                if (First) {
                    D.Box = TRect{X, Y, X + 1, Y + 1};
                    First = false;
                } else {
                    D.Box.Left = std::min(D.Box.Left, X);
                    D.Box.Top = std::min(D.Box.Top, Y);
                    D.Box.Right = std::max(D.Box.Right, X + 1);
                    D.Box.Bottom = std::max(D.Box.Bottom, Y + 1);
                }
            }
        return D;
    }
    // Pixels inverted exactly inside R (client coordinates, exclusive).
    void ExpectInvertedExactly(const std::vector<TColor>& Before, const std::vector<TColor>& After,
                               const TRect& R) {
        int Wrong = 0;
        for (int Y = 0; Y < Grid->ClientHeight(); ++Y)
            for (int X = 0; X < Grid->ClientWidth(); ++X) {
                const bool Inside = X >= R.Left && X < R.Right && Y >= R.Top && Y < R.Bottom;
                const TColor Want = Inside ? At(Before, X, Y) ^ 0xFFFFFF : At(Before, X, Y);
                if (At(After, X, Y) != Want && ++Wrong <= 3)
                    ADD_FAILURE() << "pixel " << X << "," << Y << (Inside ? " inside" : " outside");
            }
        EXPECT_EQ(Wrong, 0);
    }
};

} // namespace

TEST_F(HighlightS60, InvertingARangeTwiceRestoresThePicture) {
    const auto Before = Image();
    Grid->InvertRange(1, 2, nullptr, true, TRect{0, 0, 0, 0}, 4, 3);
    const auto Once = Image();
    ExpectInvertedExactly(Before, Once, Grid->BoxRect(1, 2, 3, 4));
    Grid->InvertRange(1, 2, nullptr, false, TRect{0, 0, 0, 0}, 4, 3);
    EXPECT_EQ(Compare(Before, Image()).Count, 0);
    // A clip rectangle is what gets drawn.
    const TRect Clip{5, 5, 25, 15};
    Grid->InvertCell(2, 2, nullptr, true, Clip);
    ExpectInvertedExactly(Before, Image(), Clip);
}

TEST_F(HighlightS60, ARangeScrolledOutAboveStopsAtTheLastFixedRow) {
    Grid->SetFixedRowCount(1);
    Grid->SetTopRow(6);
    Settle();
    ASSERT_EQ(Grid->TopRow(), 6);
    const auto Before = Image();
    Grid->InvertRange(1, 1, nullptr, true, TRect{0, 0, 0, 0}, 4, 1);
    ExpectInvertedExactly(Before, Image(), Grid->BoxRect(1, 1, 1, 1));
}

TEST_F(HighlightS60, WhilePaintingIsOffInversionInvalidates) {
    const auto Before = Image();
    Grid->SetEnablePaint(false);
    Grid->InvertRange(1, 1, nullptr, true, TRect{0, 0, 0, 0}, 2, 2);
    EXPECT_EQ(Compare(Before, Image()).Count, 0);
    TRect Pending;
    ASSERT_TRUE(GetUpdateRect(Grid->Handle(), &Pending));
    const TRect Box = Grid->BoxRect(1, 1, 2, 2);
    EXPECT_LE(Pending.Left, Box.Left);
    EXPECT_LE(Pending.Top, Box.Top);
    EXPECT_GE(Pending.Right, Box.Right);
    EXPECT_GE(Pending.Bottom, Box.Bottom);
    Grid->SetEnablePaint(true);
}

TEST_F(HighlightS60, RowsColumnsHeadingAndRowBar) {
    const auto Before = Image();
    struct Case {
        const char* Name;
        std::function<void()> Draw;
        TRect Cells; // grid rectangle whose box is inverted
    };
    const int MaxC = Grid->MaxVisibleCol(), MaxR = Grid->MaxVisibleRow();
    const std::vector<Case> Cases = {
        {"row", [&] { Grid->InvertRow(3, true); }, TRect{0, 3, MaxC, 3}},
        {"column data", [&] { Grid->InvertCol(2, ivData, nullptr, true); }, TRect{2, 1, 2, MaxR}},
        {"column heading", [&] { Grid->InvertCol(2, ivHead, nullptr, true); }, TRect{2, 0, 2, 0}},
        {"column both", [&] { Grid->InvertCol(2, ivBoth, nullptr, true); }, TRect{2, 0, 2, MaxR}},
        {"heading", [&] { Grid->InvertHeading(true); }, TRect{1, 0, MaxC, 0}},
        {"row bar", [&] { Grid->InvertLabel(true); }, TRect{0, 1, 0, MaxR}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        C.Draw();
        ExpectInvertedExactly(Before, Image(),
                              Grid->BoxRect(C.Cells.Left, C.Cells.Top, C.Cells.Right, C.Cells.Bottom));
        C.Draw();
        EXPECT_EQ(Compare(Before, Image()).Count, 0);
    }
    // A row the application refuses to select is not drawn.
    Grid->OnCanSelectRow = [](TObject*, int, int, bool& Cancel) { Cancel = true; };
    Grid->InvertRow(3, true);
    EXPECT_EQ(Compare(Before, Image()).Count, 0);
    Grid->OnCanSelectRow = nullptr;
    // The whole grid: the row bar and the data cells, not the heading.
    Grid->InvertGrid(true);
    const auto D = Compare(Before, Image());
    EXPECT_EQ(D.NotInverted, 0);
    const TRect Data = Grid->BoxRect(1, 1, MaxC, MaxR);
    const TRect Bar = Grid->BoxRect(0, 1, 0, MaxR);
    EXPECT_EQ(D.Box.Top, Bar.Top);
    EXPECT_EQ(D.Box.Left, Bar.Left);
    EXPECT_EQ(D.Box.Right, Data.Right);
    EXPECT_EQ(D.Box.Bottom, Data.Bottom);
}

TEST_F(HighlightS60, DraggedRangeRedrawsOnlyWhatChanged) {
    // In invert mode every strip drawn twice would flip back, so the picture
    // after each step is the start inverted exactly over the new range.
    struct Case {
        const char* Name;
        TRect Old, New; // left, top, right, bottom in display numbers
    };
    const std::vector<Case> Cases = {
        {"grow right", {2, 2, 3, 4}, {2, 2, 4, 4}},
        {"grow down and left", {2, 2, 3, 4}, {1, 2, 3, 6}},
        {"shrink from the left and top", {2, 2, 4, 5}, {3, 3, 4, 5}},
        {"shrink from the right and bottom", {2, 2, 4, 5}, {2, 2, 3, 3}},
        {"grow up", {2, 3, 3, 4}, {2, 1, 3, 4}},
        {"flip across the anchor", {3, 3, 4, 4}, {2, 2, 3, 3}},
        {"moved clear of the old one", {1, 1, 2, 2}, {4, 4, 5, 5}},
        {"clamped at the visible end", {2, 2, 3, 3}, {2, 2, 30, 50}},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->StartCellSelection(C.Old.Left, C.Old.Top);
        Grid->ChangeCellSelection(C.Old.Right, C.Old.Bottom);
        Settle();
        ASSERT_EQ(Grid->GridStatus(), grCellSelect);
        const TRect Old = Grid->SelectedRange();
        const auto Base = Image();
        Grid->InvertRange(Old.Left, Old.Top, nullptr, false, TRect{0, 0, 0, 0}, Old.Bottom, Old.Right);
        const auto Plain = Image();
        Grid->InvertRange(Old.Left, Old.Top, nullptr, true, TRect{0, 0, 0, 0}, Old.Bottom, Old.Right);
        ASSERT_EQ(Compare(Base, Image()).Count, 0);
        Grid->InvertNewRangeSelecting(C.New);
        const TRect N{std::max(1, C.New.Left), std::max(1, C.New.Top),
                      std::min(Grid->MaxVisibleCol(), C.New.Right),
                      std::min(Grid->MaxVisibleRow(), C.New.Bottom)};
        ExpectInvertedExactly(Plain, Image(), Grid->BoxRect(N.Left, N.Top, N.Right, N.Bottom));
        Grid->DeleteRangeSelection();
        Settle();
    }
}

TEST_F(HighlightS60, RangeDraggedOverWholeColumnsOrRowsLeavesOnlyTheRange) {
    struct Case {
        const char* Name;
        bool Cols;
        int From, To;
        TRect New;
    };
    const std::vector<Case> Cases = {
        {"columns", true, 2, 3, {2, 2, 4, 3}},
        {"columns, range left of the selection", true, 3, 4, {1, 2, 2, 5}},
        {"rows", false, 3, 4, {2, 3, 3, 5}},
        {"rows, range above the selection", false, 4, 5, {1, 1, 2, 3}},
    };
    const auto Plain = Image();
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        if (C.Cols)
            Grid->SelectCols(C.From, C.To, true);
        else
            Grid->SelectRows(C.From, C.To, true);
        Settle();
        ASSERT_EQ(Grid->GridStatus(), C.Cols ? grColSelect : grRowSelect);
        if (C.Cols)
            Grid->InvertNewColSelecting(C.New);
        else
            Grid->InvertNewRowSelecting(C.New);
        ExpectInvertedExactly(Plain, Image(),
                              Grid->BoxRect(C.New.Left, C.New.Top, C.New.Right, C.New.Bottom));
        // The strips were drawn without the selection changing: paint the
        // whole grid afresh from the selection before the next case.
        Grid->ResetSelection();
        Grid->Invalidate();
        Settle();
        ASSERT_EQ(Compare(Plain, Image()).Count, 0);
    }
}

TEST_F(HighlightS60, SelectionColoursPaintDataCellsAndInvertFixedCells) {
    Grid->SetSelectionType(sltColor);
    Settle();
    const auto Before = Image();
    auto Mid = [&](const std::vector<TColor>& Img, int C, int R) {
        const TRect Cell = Grid->CalcCellRect(C, R);
        return At(Img, (Cell.Left + Cell.Right) / 2, (Cell.Top + Cell.Bottom) / 2);
    };
    const TColor Sel = ColorToRGB(Grid->SelectionColor());
    const int MaxC = Grid->MaxVisibleCol(), MaxR = Grid->MaxVisibleRow();
    struct Case {
        const char* Name;
        bool Rows;
        std::vector<std::pair<int, int>> Coloured, Inverted, Untouched;
    };
    std::vector<Case> Cases = {
        {"rows 3 and 4", true, {}, {{0, 3}, {0, 4}}, {{1, 2}, {0, 5}, {1, 5}}},
        {"columns 2 and 3", false, {}, {{2, 0}, {3, 0}}, {{1, 0}, {4, 2}, {1, 1}}},
    };
    for (int C = 1; C <= MaxC; ++C) Cases[0].Coloured.insert(Cases[0].Coloured.end(), {{C, 3}, {C, 4}});
    for (int R = 1; R <= MaxR; ++R) Cases[1].Coloured.insert(Cases[1].Coloured.end(), {{2, R}, {3, R}});
    for (const auto& K : Cases) {
        SCOPED_TRACE(K.Name);
        K.Rows ? Grid->SelectRows(3, 4, true) : Grid->SelectCols(2, 3, true);
        Settle();
        const auto After = Image();
        for (auto [C, R] : K.Coloured) EXPECT_EQ(Mid(After, C, R), Sel) << C << "," << R;
        // The row bar and heading cells are inverted, not repainted.
        for (auto [C, R] : K.Inverted) EXPECT_EQ(Mid(After, C, R), Mid(Before, C, R) ^ 0xFFFFFF) << C << "," << R;
        for (auto [C, R] : K.Untouched) EXPECT_EQ(Mid(After, C, R), Mid(Before, C, R)) << C << "," << R;
        K.Rows ? Grid->SelectRows(3, 4, false) : Grid->SelectCols(2, 3, false);
        Settle();
        EXPECT_EQ(Compare(Before, Image()).Count, 0);
    }
}
