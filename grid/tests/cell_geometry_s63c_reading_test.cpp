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


// A hidden column (row) of the fixed area moved out of it lets the next one
// in: the fixed area then spans the visible fixed ones, and the scrolling
// part starts right after it.
TEST_F(CellGeometryS63c, HiddenFixedItemMovedOutLeavesAFixedAreaOfTheVisibleOnes) {
    for (const bool Cols : {true, false}) {
        SCOPED_TRACE(Cols ? "columns" : "rows");
        ShowGrid(10, 30);
        if (Cols) {
            Grid->SetFixedColCount(2);
            Grid->GridCols()->Item(2)->SetVisible(false);
            Grid->SetDisplayColnr(2, 6);
        } else {
            Grid->SetFixedRowCount(2);
            Grid->SetRowVisible(2, false);
            Grid->SetDisplayRownr(2, 6);
        }
        Settle();
        auto Offset = [&](int P) { return Cols ? Grid->CalcColOffset(P) : Grid->CalcRowOffset(P); };
        auto Size = [&](int P) { return Cols ? Grid->ColWidths(P) : Grid->RowHeights(P); };
        const int First = Cols ? Grid->LeftCol() : Grid->TopRow();
        EXPECT_EQ(First, 3);
        EXPECT_EQ(Offset(2), Offset(1) + Size(1));
        EXPECT_EQ(Offset(First), Offset(2) + Size(2));
        // The far edge can still be brought fully into view.
        const int Last = Cols ? Grid->ColCount() - 1 : Grid->RowCount() - 1;
        if (Cols)
            Grid->SetCol(Last);
        else
            Grid->SetRow(Last);
        Settle();
        const TRect Edge = Cols ? Grid->CellRect(Last, 1) : Grid->CellRect(1, Last);
        EXPECT_LT(Cols ? Edge.Left : Edge.Top, Cols ? Edge.Right : Edge.Bottom);
        if (Cols)
            EXPECT_EQ(Edge.Right - Edge.Left, Size(Last) - 1);
        else
            EXPECT_EQ(Edge.Bottom - Edge.Top, Size(Last) - 1);
        delete Form;
        Form = nullptr;
    }
}


// Which points of the heading row may press a heading.
TEST_F(CellGeometryS63c, HeadingClicks) {
    ShowGrid(3, 3);
    Grid->SetHeadingHeight(20);
    Settle();
    const int H = Grid->GetHeadingHeight();
    const int X = Grid->CalcColOffset(1) + 5;
    struct Case {
        const char* Name;
        TgxHeadingButton GridKind;
        TgxColHeadingButton ColKind;
        int Col, Y;
        bool Clickable;
    };
    const Case Cases[] = {
        {"whole heading, inside", hbCell, cbGrid, 1, H - 2, true},
        {"whole heading, on its bottom line", hbCell, cbGrid, 1, H, true},
        {"whole heading, below", hbCell, cbGrid, 1, H + 1, false},
        {"column's own kind wins", hbNone, cbCell, 1, 2, true},
        {"no heading buttons", hbNone, cbGrid, 1, 2, false},
        {"column turns them off", hbCell, cbNone, 1, 2, false},
        {"row bar", hbCell, cbGrid, 0, 2, false},
        {"beyond the columns", hbCell, cbGrid, 4, 2, false},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->SetHeadingButton(C.GridKind);
        Grid->GridCols()->Item(1)->SetHeadingButton(C.ColKind);
        EXPECT_EQ(Grid->CanClickHeading(X, C.Y, C.Col), C.Clickable);
    }
}

// The vertical bar mirrors the horizontal one; an always-shown bar leaves
// the other less room.
TEST_F(CellGeometryS63c, BarNeedOverRowsAndWithAnAlwaysShownBar) {
    ShowGrid(2, 30);
    Settle();
    Grid->SetGridScrollBars(ssHorizontal);
    EXPECT_FALSE(Grid->ShowVertScrollBar(Grid->ClientHeight()));
    Grid->SetGridScrollBars(ssBoth);
    EXPECT_TRUE(Grid->ShowVertScrollBar(Grid->ClientHeight()));
    Grid->SetGridRowCount(3);
    // Columns that fill the width but for less than a vertical bar.
    Grid->SetGridScrollBars(ssNone);
    Grid->SetAlwaysShowScrollBar(ssNone);
    Settle();
    const int Room = Grid->ClientWidth() - Grid->CalcColOffset(1);
    Grid->GridCols()->Item(1)->SetWidth(Room / 2);
    Grid->GridCols()->Item(2)->SetWidth(Room - Room / 2 - 2);
    Grid->SetGridScrollBars(ssBoth);
    Settle();
    ASSERT_FALSE(Grid->GetVertScrollBarVisible());
    EXPECT_FALSE(Grid->CanShowHorzScrollBar());
    Grid->SetAlwaysShowScrollBar(ssVertical);
    Settle();
    EXPECT_TRUE(Grid->GetVertScrollBarVisible());
    EXPECT_TRUE(Grid->GetHorzScrollBarVisible());
}


// The first scrolling position skips hidden columns and rows, in the
// direction of the scroll.
TEST_F(CellGeometryS63c, FirstScrollingPositionsSkipHiddenOnes) {
    ShowGrid(10, 30);
    Grid->SetFixedColCount(2);
    Grid->SetFixedRowCount(2);
    Settle();
    const int FirstCol = Grid->FixedCols();
    const int FirstRow = Grid->FixedRows();
    EXPECT_EQ(Grid->MinLeftCol(), FirstCol);
    EXPECT_EQ(Grid->MinTopRow(), FirstRow);
    Grid->GridCols()->Item(Grid->GetDataCol(FirstCol))->SetVisible(false);
    Grid->SetRowVisible(Grid->GetDataRow(FirstRow), false);
    Settle();
    EXPECT_EQ(Grid->MinLeftCol(), FirstCol + 1);
    EXPECT_EQ(Grid->MinTopRow(), FirstRow + 1);
    int NewCol = -1;
    EXPECT_TRUE(Grid->GetVisibleLeftCol(0, NewCol));
    EXPECT_EQ(NewCol, FirstCol + 1);
    // Scrolling left onto a hidden column takes the one before it.
    Grid->GridCols()->Item(Grid->GetDataCol(6))->SetVisible(false);
    Grid->SetLeftCol(8);
    Settle();
    ASSERT_EQ(Grid->LeftCol(), 8);
    EXPECT_TRUE(Grid->GetVisibleLeftCol(6, NewCol));
    EXPECT_EQ(NewCol, 5);
    int NewRow = -1;
    EXPECT_TRUE(Grid->GetVisibleTopRow(FirstRow, NewRow));
    EXPECT_EQ(NewRow, FirstRow + 1);
}


// A box of cells covers its corner cells; one wholly outside is empty, and
// a row beyond the bottom edge has no rectangle.
TEST_F(CellGeometryS63c, BoxesAndCellsOffTheEdge) {
    for (const bool BarsOn : {true, false}) {
        SCOPED_TRACE(BarsOn ? "row bar and heading" : "neither");
        ShowGrid(10, 40);
        Grid->SetRowBarOn(BarsOn);
        Grid->SetHeadingOn(BarsOn);
        Settle();
        auto Empty = [](const TRect& R) { return R.Right <= R.Left || R.Bottom <= R.Top; };
        const TRect A = Grid->CellRect(0, 1), B = Grid->CellRect(2, 2);
        const TRect Box = Grid->BoxRect(0, 1, 2, 2);
        EXPECT_LE(Box.Left, A.Left);
        EXPECT_LE(Box.Top, A.Top);
        EXPECT_GE(Box.Right, B.Right);
        EXPECT_GE(Box.Bottom, B.Bottom);
        EXPECT_LE(Box.Right, Grid->CalcColOffset(3));
        EXPECT_LE(Box.Bottom, Grid->CalcRowOffset(3));
        EXPECT_TRUE(Empty(Grid->BoxRect(Grid->ColCount() + 1, 1, Grid->ColCount() + 2, 2)));
        EXPECT_TRUE(Empty(Grid->BoxRect(0, 1, -1, 2)));
        EXPECT_TRUE(Empty(Grid->BoxRect(1, Grid->RowCount() + 1, 2, Grid->RowCount() + 2)));
        EXPECT_TRUE(Empty(Grid->BoxRect(1, 0, 2, -1)));
        EXPECT_GT(Grid->CalcRowOffset(39), Grid->ClientHeight());
        EXPECT_TRUE(Empty(Grid->CellRect(1, 39)));
        delete Form;
        Form = nullptr;
    }
}


// Fixed columns wider than the window leave no room: neither the fixed one
// starting past the edge nor any scrolling one is on screen.
TEST_F(CellGeometryS63c, FixedAreaWiderThanTheWindow) {
    ShowGrid(6, 5);
    Grid->SetFixedColCount(3);
    for (int C = 1; C <= 3; ++C) Grid->GridCols()->Item(C)->SetWidth(250);
    Settle();
    EXPECT_GE(Grid->CalcColOffset(2), 0);
    EXPECT_EQ(Grid->CalcColOffset(3), -1);
    EXPECT_EQ(Grid->CalcColOffset(Grid->LeftCol()), -1);
    const TRect Cut = Grid->CellRect(2, 1);
    EXPECT_EQ(Cut.Right, Grid->ClientWidth());
    int Col = 0, Row = 0;
    Grid->CellFromXY(Grid->ClientWidth() - 1, 1, Col, Row);
    EXPECT_EQ(Col, 2);
}

} // namespace
