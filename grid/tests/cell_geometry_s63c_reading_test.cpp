// Where cells lie on a shown grid, which cell a point hits, and when the
// horizontal scroll bar is needed.
#include "ShownGridFixture.h"
#include "grid/model/Columns.h"

using namespace grid;

namespace {

class CellGeometryS63c : public ShownGridFixture {
protected:
    // Columns 64 wide on a 400-wide grid: the sixth one is cut by the edge.
    void ShowWide() {
        ShowGrid(10, 5);
        Grid->SetGridLines(glBoth);
        Settle();
    }
};

TEST_F(CellGeometryS63c, CellRectsAndPointLookups) {
    ShowWide();
    const int W = Grid->ClientWidth();
    // An ordinary cell loses its grid line on the right and at the bottom.
    const TRect Cell = Grid->CellRect(1, 1);
    EXPECT_EQ(Cell.Right - Cell.Left, Grid->ColWidths(1) - 1);
    EXPECT_EQ(Cell.Bottom - Cell.Top, Grid->RowHeights(1) - 1);
    // The column the right edge cuts keeps its cut edge.
    int Cut = -1;
    for (int C = 1; C < Grid->ColCount(); ++C) {
        const int Left = Grid->CalcColOffset(C);
        if (Left >= 0 && Left + Grid->ColWidths(C) > W) {
            Cut = C;
            break;
        }
    }
    ASSERT_GT(Cut, 0);
    EXPECT_EQ(Grid->CellRect(Cut, 1).Right, W);
    // Scrolled out to the left: no rectangle.
    Grid->SetLeftCol(3);
    Settle();
    EXPECT_EQ(Grid->CalcColOffset(1), -1);
    const TRect Gone = Grid->CellRect(1, 1);
    EXPECT_TRUE(Gone.Right <= Gone.Left || Gone.Bottom <= Gone.Top);

    struct Case {
        int X, Y;
        int Col, Row;         // CellFromXY
        int EdgeCol, EdgeRow; // ColRowFromXY
    };
    const int LastCol = Grid->ColCount() - 1;
    const int LastRow = Grid->RowCount() - 1;
    const int Below = Grid->ClientHeight() + 5;
    const Case Cases[] = {
        {W + 5, 1, -1, 0, LastCol, 0},
        {-5, 1, -1, 0, 0, 0},
        {1, Below, 0, -1, 0, LastRow},
        {1, -5, 0, -1, 0, 0},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(::testing::Message() << C.X << "," << C.Y);
        int Col = 99, Row = 99;
        Grid->CellFromXY(C.X, C.Y, Col, Row);
        EXPECT_EQ(Col, C.Col);
        EXPECT_EQ(Row, C.Row);
        Grid->ColRowFromXY(C.X, C.Y, Col, Row);
        EXPECT_EQ(Col, C.EdgeCol);
        EXPECT_EQ(Row, C.EdgeRow);
    }
}

TEST_F(CellGeometryS63c, HorizontalBarNeed) {
    struct Case {
        const char* Name;
        TScrollStyle Bars;
        bool NextHidden;
        bool Needed;
    };
    const Case Cases[] = {
        {"wide column, visible one after it", ssBoth, false, true},
        {"wide column, hidden one after it", ssBoth, true, false},
        {"vertical bar only", ssVertical, false, false},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        ShowGrid(2, 3);
        Grid->SetGridScrollBars(C.Bars);
        Grid->GridCols()->Item(1)->SetWidth(2000);
        Grid->GridCols()->Item(2)->SetVisible(!C.NextHidden);
        Settle();
        EXPECT_EQ(Grid->ShowHorzScrollBar(Grid->ClientWidth()), C.Needed);
        delete Form;
        Form = nullptr;
    }
}

TEST_F(CellGeometryS63c, HeadingPushButtonIsHitInItsTopFourteenPixels) {
    ShowGrid(3, 3);
    Grid->SetHeadingHeight(30);
    Grid->SetHeadingButton(hbButton);
    Settle();
    ASSERT_TRUE(Grid->ButtonInColHeading(1));
    const TRect Head = Grid->CellRect(1, 0);
    ASSERT_GE(Head.Bottom - Head.Top, 28);
    const int X = Head.Right - 4;
    int Hits = 0, LastHit = -1;
    for (int Y = Head.Top; Y < Head.Bottom; ++Y)
        if (Grid->MouseOverHeadingButton(X, Y, 1)) {
            ++Hits;
            LastHit = Y;
        }
    // The button stands at the right of the heading, and only its top 14
    // pixels take the click.
    EXPECT_TRUE(Grid->MouseOverHeadingButton(X, Head.Top, 1));
    EXPECT_EQ(Hits, LastHit - Head.Top + 1);
    EXPECT_LT(LastHit, Head.Top + 16);
    EXPECT_FALSE(Grid->MouseOverHeadingButton(Head.Left + 1, LastHit, 1));
}

} // namespace
