// The base grid's layout: cell rectangles, hit testing, the largest
// top-left and the resize zones of the mouse.
#include "BaseGridFixture.h"

#include <algorithm>
#include <functional>
#include <iterator>
#include <random>

namespace gridtest {
namespace {

using BaseGridLayout = GridOnForm<>;

TEST_F(BaseGridLayout, CellRectsFollowWidthsAndLines) {
    // 64 wide, 24 high, 1-pixel lines after each cell.
    EXPECT_EQ(Grid->CellRect(0, 0), Rect(0, 0, 64, 24));
    EXPECT_EQ(Grid->CellRect(2, 1), Rect(130, 25, 194, 49));
    Grid->SetColWidths(1, 10);
    EXPECT_EQ(Grid->CellRect(2, 1), Rect(76, 25, 140, 49));
    // Off the grid on the right (beyond the last visible + 1) is all zero.
    Grid->SetColCount(50);
    EXPECT_EQ(Grid->CellRect(20, 1), TRect{});
}

TEST_F(BaseGridLayout, ACellScrolledOutOfViewHasNoRectangle) {
    Grid->SetRowCount(100);
    Grid->SetTopRow(10);
    EXPECT_EQ(Grid->CellRect(1, 5), TRect{});
    EXPECT_EQ(Grid->CellRect(1, 10).Top, 25);
    // Fixed rows stay where they are.
    EXPECT_EQ(Grid->CellRect(1, 0).Top, 0);
}

TEST_F(BaseGridLayout, AZeroWidthColumnIsHitOnItsLine) {
    Grid->SetColWidths(2, 0);
    // Column 1 ends at 129 (its line at 129); column 2 has width 0 and its
    // line at 130.
    EXPECT_EQ(Grid->MouseCoord(128, 30), (TGridCoord{1, 1}));
    EXPECT_EQ(Grid->MouseCoord(130, 30), (TGridCoord{2, 1}));
    EXPECT_EQ(Grid->MouseCoord(131, 30), (TGridCoord{3, 1}));
    // Beyond the last cell there is none.
    EXPECT_EQ(Grid->MouseCoord(399, 30), (TGridCoord{-1, -1}));
}

TEST_F(BaseGridLayout, LargestTopLeftFillsTheClientFromTheLastCell) {
    Grid->SetRowCount(1000000);
    TGridDrawInfo Info;
    Grid->CalcDrawInfo(Info);
    const int Rows = (Grid->ClientHeight() - 24) / 25; // whole rows below the heading
    const TGridCoord Max = Grid->CalcMaxTopLeft(TGridCoord{4, 999999}, Info);
    EXPECT_EQ(Max.Y, 999999 - Rows + 1);
    EXPECT_EQ(Max.X, 1); // all columns fit
}

TEST_F(BaseGridLayout, ResizeZonesRunFromThreePixelsBeforeAnEdgeToFourAfter) {
    Grid->SetOptions(DefaultGridOptions + TGridOptions{goColSizing, goRowSizing});
    TGridDrawInfo Info;
    Grid->CalcDrawInfo(Info);
    // Column 1 ends at x 129, row 1 at y 49.
    struct TCase {
        int X, Y;
        TGridState State;
        int Index;
    } Cases[] = {
        {126, 10, gsColSizing, 1}, {133, 10, gsColSizing, 1}, {125, 10, gsNormal, -1},
        {134, 10, gsNormal, -1},   {127, 30, gsNormal, -1}, // below the headings: no column sizing
        {30, 46, gsRowSizing, 1},  {30, 53, gsRowSizing, 1}, {30, 45, gsNormal, -1},
        {100, 46, gsNormal, -1}, // right of the fixed column: no row sizing
    };
    for (const TCase& C : Cases) {
        TGridState State;
        int Index = 0, Pos = 0, Ofs = 0;
        Grid->CalcSizingState(C.X, C.Y, State, Index, Pos, Ofs, Info);
        EXPECT_EQ(State, C.State) << C.X << "," << C.Y;
        EXPECT_EQ(Index, C.Index) << C.X << "," << C.Y;
    }
}

TEST_F(BaseGridLayout, RightToLeftMirrorsRectanglesAndHits) {
    Grid->SetBiDiMode(bdRightToLeft);
    const int W = Grid->ClientWidth();
    EXPECT_EQ(Grid->CellRect(0, 0), Rect(W - 64, 0, W, 24));
    EXPECT_EQ(Grid->MouseCoord(W - 10, 30), (TGridCoord{0, 1}));
    EXPECT_EQ(Grid->MouseCoord(W - 70, 30), (TGridCoord{1, 1}));
}

// Which rows lie below the client area is kept between calls: rows added
// below the screen ask for each of their cells. Whatever changes the rows'
// places must be seen, so every cell's rectangle is compared with one
// worked out from a fresh layout after each of a run of random changes.
TEST_F(BaseGridLayout, CellRectsFollowEveryChangeOfTheRowsPlaces) {
    std::mt19937 Random(7);
    const auto Pick = [&](int Low, int High) {
        return Low + static_cast<int>(Random() % static_cast<unsigned>(High - Low + 1));
    };
    const std::function<void()> Changes[] = {
        [&] { Grid->SetRowHeights(Pick(0, Grid->RowCount() - 1), Pick(0, 70)); },
        [&] { Grid->SetTopRow(Pick(Grid->FixedRows(), Grid->RowCount() - 1)); },
        [&] { Grid->SetRowCount(Pick(Grid->FixedRows() + 1, 60)); },
        [&] { Grid->SetBounds(0, 0, 400, Pick(40, 380)); },
        [&] { Grid->SetDefaultRowHeight(Pick(5, 40)); },
        [&] { Grid->SetGridLineWidth(Pick(0, 3)); },
        [&] {
            const TGridOptions Lines{goHorzLine};
            const TGridOptions O = Grid->Options();
            Grid->SetOptions(O.Contains(goHorzLine) ? O - Lines : O + Lines);
        },
        [&] { Grid->SetFixedRows(Pick(0, std::min(3, Grid->RowCount() - 1))); },
        [&] { Grid->MoveRow(Pick(0, Grid->RowCount() - 1), Pick(0, Grid->RowCount() - 1)); },
    };
    Grid->SetRowCount(40);
    for (int Step = 0; Step < 400; ++Step) {
        Changes[Random() % std::size(Changes)]();
        TGridDrawInfo Info;
        Grid->CalcDrawInfo(Info);
        for (int R = 0; R < Grid->RowCount(); ++R) {
            const TGridRect Cell{1, R, 1, R};
            ASSERT_EQ(Grid->CellRect(1, R), Grid->GridRectToScreenRect(Cell, false, Info))
                << "row " << R << " after step " << Step;
        }
    }
}

TEST_F(BaseGridLayout, RowsResizedOrAddedBelowTheClientRepaintNothingAndOnScreenRepaint) {
    Grid->SetRowCount(3);
    PaintAll();
    Grid->SetRowCount(4);
    Flush();
    EXPECT_TRUE(Painted.Rows().count(3));
    Grid->SetRowCount(100);
    PaintAll();
    Grid->SetRowCount(101);
    Grid->SetRowHeights(100, 40);
    Grid->SetRowHeights(80, 40);
    Flush();
    EXPECT_EQ(Painted.Count(), 0);
    Grid->SetRowHeights(3, 40);
    Flush();
    EXPECT_TRUE(Painted.Rows().count(3));
    EXPECT_TRUE(Painted.Rows().count(4));
}

} // namespace
} // namespace gridtest
