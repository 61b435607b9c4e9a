// Cell geometry, hit testing, the visible extent and the scroll bars of a
// grid shown in a window (offscreen).
#include "grid/model/Columns.h"
#include "grid/model/GxGrid.h"
#include "grid/tests/ShownGridFixture.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/WindowScroll.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

using namespace grid;

namespace {

class GridViewWindow : public ShownGridFixture {
protected:
    void SetUp() override { ShowGrid(10, 50); }

    static bool Empty(const TRect& R) { return R.Right <= R.Left || R.Bottom <= R.Top; }
    // Right edge of a display column's full width.
    int FullRight(int C) const { return Grid->CalcColOffset(C) + Grid->ColWidths(C); }
};

} // namespace

TEST_F(GridViewWindow, CellRectLeavesOutTheGridLineAndFollowsTheScrolledView) {
    ASSERT_TRUE(Grid->HandleAllocated());
    const TRect R = Grid->CellRect(2, 2);
    EXPECT_EQ(R.Left, Grid->ColWidths(0) + Grid->ColWidths(1));
    EXPECT_EQ(R.Top, Grid->RowHeights(0) + Grid->RowHeights(1));
    EXPECT_EQ(R.Right - R.Left, Grid->ColWidths(2) - 1);
    EXPECT_EQ(R.Bottom - R.Top, Grid->RowHeights(2) - 1);

    // The last column on screen is cut by the right edge: it keeps the edge.
    int Cut = 1;
    while (FullRight(Cut) <= Grid->ClientWidth())
        ++Cut;
    EXPECT_EQ(Grid->CellRect(Cut, 2).Right, Grid->ClientWidth());
    EXPECT_TRUE(Empty(Grid->CellRect(Cut + 1, 2)));

    // Scrolled out to the left: no rectangle.
    Grid->SetLeftCol(4);
    EXPECT_EQ(Grid->LeftCol(), 4);
    EXPECT_EQ(Grid->CalcColOffset(2), -1);
    EXPECT_TRUE(Empty(Grid->CellRect(2, 2)));
    EXPECT_EQ(Grid->CellRect(4, 2).Left, Grid->ColWidths(0));
}

TEST_F(GridViewWindow, PointsMapToCellsAndOutsidePointsToTheEdges) {
    Grid->SetTopRow(10);
    struct Case {
        int Col;
        int Row;
    };
    for (const Case C : {Case{3, 12}, Case{2, 10}, Case{0, 14}, Case{4, 0}}) {
        const TRect R = Grid->CellRect(C.Col, C.Row);
        ASSERT_FALSE(Empty(R)) << C.Col << "," << C.Row;
        int Col = 0;
        int Row = 0;
        EXPECT_TRUE(Grid->CellFromXY((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2, Col, Row));
        EXPECT_EQ(Col, C.Col);
        EXPECT_EQ(Row, C.Row);
    }
    // A row scrolled out above has no place on screen.
    EXPECT_EQ(Grid->CalcRowOffset(5), -1);
    EXPECT_TRUE(Empty(Grid->CellRect(2, 5)));
    int Col = 0;
    int Row = 0;
    EXPECT_FALSE(Grid->CellFromXY(Grid->ClientWidth() + 5, 20, Col, Row));
    EXPECT_EQ(Col, -1);
    Grid->ColRowFromXY(Grid->ClientWidth() + 5, 20, Col, Row);
    EXPECT_EQ(Col, Grid->ColCount() - 1);
    Grid->ColRowFromXY(-3, -3, Col, Row);
    EXPECT_EQ(Col, 0);
    EXPECT_EQ(Row, 0);
}

TEST_F(GridViewWindow, HorizontalBarNeed) {
    Grid->SetGridColCount(2);
    Grid->SetGridRowCount(3);
    Grid->ResizeCol(1, 1000);
    Grid->GetCol(Variant(2))->SetVisible(false);
    // One very wide column with only a hidden one after it: nothing to scroll to.
    EXPECT_FALSE(Grid->ShowHorzScrollBar(Grid->ClientWidth()));
    Grid->GetCol(Variant(2))->SetVisible(true);
    EXPECT_TRUE(Grid->ShowHorzScrollBar(Grid->ClientWidth()));
    // A grid that only scrolls vertically never needs the horizontal bar.
    Grid->SetGridScrollBars(ssVertical);
    EXPECT_FALSE(Grid->ShowHorzScrollBar(Grid->ClientWidth()));
    EXPECT_FALSE(Grid->CanShowHorzScrollBar());
}

TEST_F(GridViewWindow, VisibleExtentCountsWholeColumnsAndTheFractionOfTheNext) {
    Grid->SetGridRowCount(3);
    Grid->UpdateScrollRange();
    const int Room = Grid->ClientWidth();
    Grid->ResizeCol(1, Room - Grid->ColWidths(0) - 50);
    Grid->ResizeCol(2, 100);
    EXPECT_EQ(Grid->GetVisibleColCount(), 1);
    EXPECT_DOUBLE_EQ(Grid->GetVisibleCols(), 1.5);

    TgxGrid Windowless(nullptr);
    EXPECT_EQ(Windowless.GetVisibleColCount(), 0);
    EXPECT_EQ(Windowless.GetVisibleRowCount(), 0);
    EXPECT_EQ(Windowless.GetVisibleCols(), 0);
    EXPECT_EQ(Windowless.GetVisibleRows(), 0);
}

TEST_F(GridViewWindow, FrozenColumnsCountOnceInTheVisibleColumnCount) {
    Grid->SetGridRowCount(3);
    Grid->SetFixedColCount(2);
    ASSERT_EQ(Grid->FixedCols(), 3);
    for (int C = 1; C <= 10; ++C)
        Grid->ResizeCol(C, 90);
    Grid->UpdateScrollRange();
    // Count by pixels the scrolling columns that show whole.
    int Whole = 0;
    for (int C = Grid->LeftCol(); C < Grid->ColCount() && Grid->CalcColOffset(C) >= 0; ++C)
        if (FullRight(C) - 1 <= Grid->ClientWidth()) ++Whole;
    ASSERT_GT(Whole, 0);
    EXPECT_EQ(Grid->GetVisibleColCount(), Whole);
    // The first scrolling column that is cut off shows whole once it is
    // brought into view by that count.
    const int CutOff = Grid->LeftCol() + Whole;
    Grid->SetLeftCol(CutOff - Grid->GetVisibleColCount() + 1);
    EXPECT_LE(FullRight(CutOff) - 1, Grid->ClientWidth());
}

TEST_F(GridViewWindow, ScrollRangeAndPositionTable) {
    struct Case {
        int Rows;
        bool Scaled;
        int Max;
    };
    for (const Case C :
         {Case{100, false, 100}, Case{32767, false, 32767}, Case{40000, true, 32767}}) {
        Grid->SetGridRowCount(C.Rows);
        Grid->SetTopRow(1);
        int Count = 0, Max = 0, Last = 0, First = 0;
        bool Scaled = false;
        Grid->GetVertScrollRange(Count, Max, Scaled, Last, First);
        EXPECT_EQ(Scaled, C.Scaled) << C.Rows;
        EXPECT_EQ(Max, C.Max) << C.Rows;
        EXPECT_EQ(First, 1);
        EXPECT_EQ(Last, C.Rows);
        EXPECT_EQ(Grid->GetVertScrollPos(), C.Scaled ? 0 : 1) << C.Rows;

        Grid->UpdateScrollRange();
        TScrollInfo Info;
        Info.fMask = SIF_ALL;
        ASSERT_TRUE(GetScrollInfo(Grid, SB_VERT, Info));
        EXPECT_EQ(Info.nMin, C.Scaled ? 0 : 1) << C.Rows;
        EXPECT_EQ(Info.nMax, C.Max) << C.Rows;
        if (C.Scaled) EXPECT_EQ(Info.nPage, 1u);

        // The end of the thumb is the end of the grid, and back.
        Grid->ModifyVertScrollBar(SB_THUMBPOSITION, Max);
        EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow()) << C.Rows;
        EXPECT_EQ(Grid->GetVertScrollPos(), C.Scaled ? Max : Grid->GetMaxScrollRow()) << C.Rows;
        Grid->ModifyVertScrollBar(SB_THUMBPOSITION, C.Scaled ? 0 : 1);
        EXPECT_EQ(Grid->TopRow(), 1) << C.Rows;
    }
}

// A count change keeps the top-left unless the grid is scrolled past what
// the new last page allows: it then stops at the last top row or left
// column, and a grid not scrolled stays at its first row and column.
TEST_F(GridViewWindow, ACountChangeKeepsTheTopLeftWithinTheLastPage) {
    struct Case {
        int Top;
        int Left;
        int Rows;
        int Cols;
    };
    for (const Case C : {Case{1, 1, 3, 2}, Case{1, 1, 80, 12}, Case{30, 1, 35, 10},
                         Case{30, 5, 200, 6}, Case{30, 5, 31, 20}, Case{20, 3, 5, 3},
                         Case{40, 8, 50, 10}, Case{1, 6, 60, 7}}) {
        Grid->SetGridColCount(10);
        Grid->SetGridRowCount(50);
        Grid->SetTopRow(C.Top);
        Grid->SetLeftCol(C.Left);
        const int Top = Grid->TopRow();
        const int Left = Grid->LeftCol();
        Grid->SetGridRowCount(C.Rows);
        Grid->SetGridColCount(C.Cols);
        SCOPED_TRACE(::testing::Message() << C.Top << "," << C.Left << " " << C.Rows << "x"
                                          << C.Cols);
        EXPECT_EQ(Grid->TopRow(), std::min(Top, std::max(Grid->GetMaxTopRow(), Grid->FixedRows())));
        EXPECT_EQ(Grid->LeftCol(),
                  std::min(Left, std::max(Grid->GetMaxLeftCol(), Grid->FixedCols())));
        if (Top == Grid->FixedRows()) EXPECT_EQ(Grid->TopRow(), Top);
    }
}

TEST_F(GridViewWindow, ScrollMessagesMoveTheTopRowThroughVisibleRows) {
    Grid->SetGridRowCount(40000);
    Grid->UpdateScrollRange();
    for (int R = 2; R <= 4; ++R)
        Grid->SetRowVisible(R, false);
    Grid->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(Grid->TopRow(), 5);
    Grid->Perform(WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(Grid->TopRow(), 1);

    // Three pages down move by the visible rows that showed whole each
    // time; the hidden rows take no part.
    for (int Page = 0; Page < 3; ++Page) {
        bool Found = false;
        const int Before = Grid->VisibleRows().Locate(Grid->TopRow(), Found);
        const int Step = Grid->VisibleScrollRows();
        ASSERT_GT(Step, 1);
        Grid->Perform(WM_VSCROLL, SB_PAGEDOWN, 0);
        EXPECT_EQ(Grid->TopRow(), Grid->VisibleRows().GetItem(Before + Step)) << "page " << Page;
    }
    EXPECT_EQ(Grid->TopRow(), 3 * Grid->VisibleScrollRows() + 4);

    // Tracking the thumb moves nothing unless thumb tracking is on.
    const int Top = Grid->TopRow();
    Grid->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 32767), 0);
    EXPECT_EQ(Grid->TopRow(), Top);
    Grid->SetThumbTracking(true);
    Grid->Perform(WM_VSCROLL, MakeWParam(SB_THUMBTRACK, 32767), 0);
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow());
    EXPECT_EQ(GetScrollPos(Grid, SB_VERT), 32767);
}

TEST_F(GridViewWindow, AnAlwaysShownBarStaysWhenNothingScrolls) {
    Grid->SetGridRowCount(3);
    Grid->UpdateScrollRange();
    EXPECT_FALSE(ScrollBarVisible(Grid, SB_VERT));
    Grid->SetAlwaysShowScrollBar(ssVertical);
    EXPECT_TRUE(ScrollBarVisible(Grid, SB_VERT));
    EXPECT_TRUE(Grid->GetVertScrollBarVisible());
}

// A row grown past the client area brings the bar up, with and without a
// handler hearing of the resize (the handler sees the bar already there),
// and shrinking it back takes the bar away.
TEST_F(GridViewWindow, ARowGrownPastTheClientBringsTheBarUpAndShrunkTakesItAway) {
    Grid->SetGridRowCount(3);
    Grid->UpdateScrollRange();
    ASSERT_FALSE(ScrollBarVisible(Grid, SB_VERT));
    const int Tall = Grid->ClientHeight() * 2;
    Grid->SetRowHeight(2, Tall);
    EXPECT_TRUE(ScrollBarVisible(Grid, SB_VERT));
    EXPECT_EQ(Grid->RowHeights(2), Tall);
    Grid->SetRowHeight(2, Grid->DefaultRowHeight());
    EXPECT_FALSE(ScrollBarVisible(Grid, SB_VERT));

    std::vector<std::pair<int, bool>> Heard;
    Grid->OnRowResized = [&](TObject*, int DataRow) {
        Heard.emplace_back(DataRow, ScrollBarVisible(Grid, SB_VERT));
    };
    Grid->SetRowHeight(3, Tall);
    EXPECT_TRUE(ScrollBarVisible(Grid, SB_VERT));
    Grid->SetRowHeight(3, Grid->DefaultRowHeight());
    EXPECT_FALSE(ScrollBarVisible(Grid, SB_VERT));
    EXPECT_EQ(Heard, (std::vector<std::pair<int, bool>>{{3, true}, {3, false}}));
}

TEST_F(GridViewWindow, RightReachesAndFullyShowsACutOffColumnBesideTwoFrozenOnes) {
    Grid->SetGridMode(gmBrowse);
    Grid->SetGridRowCount(3);
    Grid->SetFixedColCount(2);
    for (int C = 1; C <= 10; ++C)
        Grid->ResizeCol(C, 90);
    Grid->UpdateScrollRange();
    ASSERT_EQ(Grid->Col(), 3);
    int CutOff = Grid->LeftCol();
    while (FullRight(CutOff) - 1 <= Grid->ClientWidth())
        ++CutOff;
    ASSERT_GE(Grid->CalcColOffset(CutOff), 0) << "the column is partly on screen";
    for (int Step = Grid->Col(); Step < CutOff; ++Step)
        Grid->Perform(WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(Grid->Col(), CutOff);
    EXPECT_GT(Grid->LeftCol(), 3);
    EXPECT_GE(Grid->CalcColOffset(CutOff), 0);
    EXPECT_LE(FullRight(CutOff) - 1, Grid->ClientWidth());
    // The frozen columns stay where they were.
    EXPECT_EQ(Grid->CalcColOffset(1), Grid->ColWidths(0));
    EXPECT_EQ(Grid->CalcColOffset(2), Grid->ColWidths(0) + 90);
}

TEST_F(GridViewWindow, VisibleRowsCountFrozenRowsOnceAndEndInAFraction) {
    Grid->SetGridColCount(2);
    Grid->SetFixedRowCount(2);
    Grid->UpdateScrollRange();
    int Whole = 0;
    int Y = Grid->FixedHeight();
    for (int R = Grid->TopRow(); Y + Grid->RowHeights(R) - 1 <= Grid->ClientHeight(); ++R) {
        Y += Grid->RowHeights(R);
        ++Whole;
    }
    EXPECT_EQ(Grid->GetVisibleRowCount(), Whole);
    // Whole frozen and scrolling rows, then what shows of the next one.
    const int Next = Grid->TopRow() + Whole;
    const double Fraction = double(Grid->ClientHeight() - Y) / Grid->RowHeights(Next);
    EXPECT_DOUBLE_EQ(Grid->GetVisibleRows(), 2 + Whole + Fraction);
    EXPECT_EQ(Grid->GetGridRowHeights(Grid->RowCount()), 0);
    EXPECT_EQ(Grid->GetGridRowHeights(-1), 0);
}

TEST_F(GridViewWindow, TheLeftColumnIsNeverAHiddenOne) {
    Grid->GetCol(Variant(4))->SetVisible(false);
    // Scrolling right onto the hidden column lands on the next visible one,
    // scrolling left onto it on the previous one.
    Grid->SetLeftCol(4);
    EXPECT_EQ(Grid->LeftCol(), 5);
    Grid->SetLeftCol(6);
    ASSERT_EQ(Grid->LeftCol(), 6);
    Grid->SetLeftCol(4);
    EXPECT_EQ(Grid->LeftCol(), 3);
    int Col = 0;
    EXPECT_TRUE(Grid->GetVisibleLeftCol(0, Col));
    EXPECT_EQ(Col, Grid->FixedCols());
}

TEST_F(GridViewWindow, AutoScrollWaitsLongNearTheDataAreaAndNotFarOut) {
    Grid->SetGridRowCount(5);
    const int Bottom = Grid->GetMaxScrollHeight();
    ASSERT_LT(Bottom, Grid->ClientHeight());
    struct Case {
        int Below;
        int Wait;
    };
    for (const Case C : {Case{10, 200}, Case{14, 200}, Case{15, 0}, Case{20, 0}}) {
        const TPoint P = Grid->ClientToScreen(TPoint{100, Bottom + C.Below});
        EXPECT_EQ(Grid->WaitingTime(P.X, P.Y, 1), C.Wait) << C.Below;
        EXPECT_EQ(Grid->WaitingTime(P.X, P.Y, 2), C.Wait) << C.Below;
    }
    // Across, a point inside the data area is no distance at all.
    const TPoint Inside = Grid->ClientToScreen(TPoint{100, Bottom + 20});
    EXPECT_EQ(Grid->WaitingTime(Inside.X, Inside.Y, 0), 200);
}
