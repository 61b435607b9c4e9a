// Where a cell lies on screen, which cell lies under a point, whether the
// scroll bars are needed, and where the heading buttons take a click.
#include "ShownMouseFixture.h"
#include "grid/model/Columns.h"
#include "grid/model/GxGrid.h"

#include <QApplication>

#include <functional>
#include <vector>

using namespace grid;

namespace {

class Geometry : public ShownMouseFixture {
protected:
    void SetUp() override {
        ShowFocused(4, 6);
        QApplication::processEvents();
    }
    void Widths(std::initializer_list<int> W) {
        int C = 1;
        for (int V : W) Grid->GetCol(C++)->SetWidth(V);
        QApplication::processEvents();
    }
    static bool Empty(const TRect& R) { return R.Width() <= 0 || R.Height() <= 0; }
    int CW() const { return Grid->ClientWidth(); }
    int CH() const { return Grid->ClientHeight(); }
};

TEST_F(Geometry, CellRectangles) {
    Widths({60, 70, 80, 90});
    ASSERT_EQ(Grid->GridLines(), glBoth);
    EXPECT_EQ(Grid->CalcColOffset(0), 0);
    EXPECT_EQ(Grid->CalcRowOffset(0), 0);
    const int X1 = Grid->ColWidths(0);
    const int Y1 = Grid->RowHeights(0);
    EXPECT_EQ(Grid->CalcColOffset(1), X1);
    EXPECT_EQ(Grid->CalcRowOffset(1), Y1);
    // An ordinary cell leaves its grid lines out.
    const TRect R = Grid->CellRect(2, 3);
    EXPECT_EQ(R.Left, X1 + Grid->ColWidths(1));
    EXPECT_EQ(R.Width(), Grid->ColWidths(2) - 1);
    EXPECT_EQ(R.Height(), Grid->RowHeights(3) - 1);
    const TRect Calc = Grid->CalcCellRect(2, 3);
    EXPECT_EQ(Calc.Width(), Grid->ColWidths(2));
    EXPECT_EQ(Calc.Height(), Grid->RowHeights(3));
    // Beyond the last column and row there is nothing.
    EXPECT_TRUE(Empty(Grid->CellRect(5, 1)));
    EXPECT_TRUE(Empty(Grid->CalcCellRect(1, 7)));

    // The last column cut by the right edge ends exactly at the client width.
    Widths({150, 150, 150, 150});
    const TRect Cut = Grid->CellRect(3, 1);
    ASSERT_FALSE(Empty(Cut));
    EXPECT_LT(Grid->CalcColOffset(3), CW());
    EXPECT_EQ(Cut.Right, CW());
    EXPECT_EQ(Grid->CalcColOffset(4), -1);
    EXPECT_TRUE(Empty(Grid->CellRect(4, 1)));
    // A column scrolled out to the left has no place on screen.
    Grid->SetLeftCol(2);
    QApplication::processEvents();
    EXPECT_EQ(Grid->CalcColOffset(1), -1);
    EXPECT_TRUE(Empty(Grid->CellRect(1, 1)));
    EXPECT_EQ(Grid->CalcColOffset(2), X1);
}

TEST_F(Geometry, CellRectLeavesOutOnlyTheLinesDrawn) {
    Widths({60, 70, 80, 90});
    struct Case {
        TgxGridLines Lines;
        int LessWide, LessHigh;
    };
    const Case Cases[] = {
        {glNone, 0, 0}, {glVertLines, 1, 0}, {glHorzLines, 0, 1}, {glBoth, 1, 1}};
    for (const Case& K : Cases) {
        SCOPED_TRACE(static_cast<int>(K.Lines));
        Grid->SetGridLines(K.Lines);
        QApplication::processEvents();
        const TRect R = Grid->CellRect(2, 3);
        EXPECT_EQ(R.Width(), Grid->ColWidths(2) - K.LessWide);
        EXPECT_EQ(R.Height(), Grid->RowHeights(3) - K.LessHigh);
    }
}

TEST_F(Geometry, FixedRowsStayAtTheTop) {
    Grid->SetGridRowCount(40);
    Grid->SetFixedRowCount(1);
    QApplication::processEvents();
    const int Fixed = Grid->FixedRows() - 1;
    const int FixedTop = Grid->CalcRowOffset(Fixed);
    Grid->SetTopRow(10);
    QApplication::processEvents();
    ASSERT_EQ(Grid->TopRow(), 10);
    EXPECT_EQ(Grid->CalcRowOffset(Fixed), FixedTop);
    EXPECT_EQ(Grid->CalcRowOffset(10), FixedTop + Grid->RowHeights(Fixed));
    EXPECT_EQ(Grid->CalcRowOffset(11), Grid->CalcRowOffset(10) + Grid->RowHeights(10));
}

TEST_F(Geometry, RowsBeyondTheBottomAreEmpty) {
    Grid->SetGridRowCount(40);
    QApplication::processEvents();
    int Below = -1;
    for (int R = 1; R <= 40 && Below < 0; ++R)
        if (Grid->CalcRowOffset(R) >= CH()) Below = R;
    ASSERT_GT(Below, 0);
    EXPECT_TRUE(Empty(Grid->CellRect(1, Below)));
    // The row cut by the bottom keeps its cut edge.
    const TRect Last = Grid->CellRect(1, Below - 1);
    if (Grid->CalcRowOffset(Below - 1) + Grid->RowHeights(Below - 1) > CH())
        EXPECT_EQ(Last.Bottom, CH());
}

TEST_F(Geometry, PointToCell) {
    Widths({60, 60, 60, 60});
    const int X2 = Grid->CellRect(2, 0).Left + 3;
    const int Y3 = Grid->CellRect(0, 3).Top + 3;
    int C = 0, R = 0;
    EXPECT_TRUE(Grid->ColFromX(X2, C));
    EXPECT_EQ(C, 2);
    EXPECT_TRUE(Grid->RowFromY(Y3, R));
    EXPECT_EQ(R, 3);
    struct Case {
        const char* Name;
        int X, Y;
        int WantCol, WantRow;      // CellFromXY
        int EdgeCol, EdgeRow;      // ColRowFromXY
    };
    const int LastCol = Grid->ColCount() - 1;
    const int LastRow = Grid->RowCount() - 1;
    const Case Cases[] = {
        {"inside", X2, Y3, 2, 3, 2, 3},
        {"beyond the right edge", CW() + 5, Y3, -1, 3, LastCol, 3},
        {"right of the last column", CW() - 5, Y3, -1, 3, LastCol, 3},
        {"left of the grid", -4, Y3, -1, 3, 0, 3},
        {"below the last row", X2, CH() - 3, 2, -1, 2, LastRow},
        {"above the grid", X2, -6, 2, -1, 2, 0},
    };
    for (const Case& K : Cases) {
        SCOPED_TRACE(K.Name);
        Grid->CellFromXY(K.X, K.Y, C, R);
        EXPECT_EQ(C, K.WantCol);
        EXPECT_EQ(R, K.WantRow);
        Grid->ColRowFromXY(K.X, K.Y, C, R);
        EXPECT_EQ(C, K.EdgeCol);
        EXPECT_EQ(R, K.EdgeRow);
    }
}

TEST_F(Geometry, BoxOfCells) {
    Widths({60, 60, 60, 60});
    const TRect A = Grid->CellRect(1, 1);
    const TRect B = Grid->CellRect(3, 4);
    const TRect Box = Grid->BoxRect(1, 1, 3, 4);
    EXPECT_EQ(Box.Left, A.Left);
    EXPECT_EQ(Box.Top, A.Top);
    // With headings and row bar the base grid's box, its lines included.
    EXPECT_GE(Box.Right, B.Right);
    EXPECT_LE(Box.Right, B.Right + 1);
    EXPECT_GE(Box.Bottom, B.Bottom);
    EXPECT_LE(Box.Bottom, B.Bottom + 1);
    // Without headings or row bar the box of fixed cells is built from them.
    Grid->SetRowBarOn(false);
    QApplication::processEvents();
    const TRect Bar = Grid->BoxRect(0, 2, 0, 2);
    EXPECT_EQ(Bar, Grid->CellRect(0, 2));
    const TRect Two = Grid->BoxRect(0, 1, 2, 3);
    EXPECT_EQ(Two.Right, Grid->CellRect(2, 3).Right);
    EXPECT_EQ(Two.Bottom, Grid->CellRect(2, 3).Bottom);
    EXPECT_TRUE(Empty(Grid->BoxRect(1, 1, -1, 3)));
    EXPECT_TRUE(Empty(Grid->BoxRect(1, 1, 2, -1)));
    EXPECT_TRUE(Empty(Grid->BoxRect(9, 1, 10, 3)));
}

TEST_F(Geometry, InvalidationOnlyWhileRedrawing) {
    struct Case {
        const char* Name;
        std::function<bool(TgxBaseGrid&)> Call;
    };
    const Case Cases[] = {
        {"cell", [](TgxBaseGrid& G) { return G.CheckInvalidateCell(2, 2); }},
        {"row", [](TgxBaseGrid& G) { return G.CheckInvalidateRow(2); }},
        {"column", [](TgxBaseGrid& G) { return G.CheckInvalidateCol(2); }},
    };
    for (const Case& K : Cases) {
        SCOPED_TRACE(K.Name);
        Grid->Update();
        QApplication::processEvents();
        Grid->SetEnableRedraw(false);
        EXPECT_FALSE(K.Call(*Grid));
        Grid->SetEnableRedraw(true);
        Grid->Update();
        QApplication::processEvents();
        EXPECT_TRUE(K.Call(*Grid));
        TRect P;
        ASSERT_TRUE(Grid->UpdateAreaBounds(P));
        const TRect Cell = Grid->CellRect(2, 2);
        EXPECT_LE(P.Left, Cell.Left);
        EXPECT_LE(P.Top, Cell.Top);
        EXPECT_GE(P.Right, Cell.Right);
        EXPECT_GE(P.Bottom, Cell.Bottom);
    }
}

TEST_F(Geometry, FirstScrollablePositionsSkipHiddenOnes) {
    Grid->SetFixedColCount(1);
    Grid->SetFixedRowCount(1);
    QApplication::processEvents();
    EXPECT_EQ(Grid->MinLeftCol(), Grid->FixedCols());
    EXPECT_EQ(Grid->MinTopRow(), Grid->FixedRows());
    Grid->GetCol(Grid->GetDataCol(Grid->FixedCols()))->SetVisible(false);
    Grid->SetRowVisible(Grid->GetDataRow(Grid->FixedRows()), false);
    QApplication::processEvents();
    EXPECT_EQ(Grid->MinLeftCol(), Grid->FixedCols() + 1);
    EXPECT_EQ(Grid->MinTopRow(), Grid->FixedRows() + 1);

    int NewCol = 0;
    EXPECT_TRUE(Grid->GetVisibleLeftCol(0, NewCol));
    EXPECT_EQ(NewCol, Grid->FixedCols() + 1);
    EXPECT_TRUE(Grid->GetVisibleLeftCol(3, NewCol));
    EXPECT_EQ(NewCol, 3);
}

TEST_F(Geometry, HiddenLeftColumnGivesWayInTheScrollDirection) {
    Grid->SetGridColCount(8);
    for (int C = 1; C <= 8; ++C) Grid->GetCol(C)->SetWidth(100);
    QApplication::processEvents();
    Grid->GetCol(4)->SetVisible(false);
    int NewCol = 0;
    // Scrolling right from the first column: the next visible one.
    ASSERT_LT(Grid->LeftCol(), 4);
    EXPECT_TRUE(Grid->GetVisibleLeftCol(4, NewCol));
    EXPECT_EQ(NewCol, 5);
    // Scrolling left from further right: the previous visible one.
    Grid->SetLeftCol(6);
    QApplication::processEvents();
    ASSERT_EQ(Grid->LeftCol(), 6);
    EXPECT_TRUE(Grid->GetVisibleLeftCol(4, NewCol));
    EXPECT_EQ(NewCol, 3);
    int NewRow = 0;
    Grid->SetRowVisible(3, false);
    EXPECT_TRUE(Grid->GetVisibleTopRow(3, NewRow));
    EXPECT_EQ(NewRow, 4);
}

TEST_F(Geometry, ScrollBarNeed) {
    struct Case {
        const char* Name;
        TScrollStyle Bars;
        std::vector<int> ColWidths;
        bool SecondVisible;
        bool Want;
    };
    const Case Cases[] = {
        {"narrow columns", ssBoth, {40, 40, 40, 40}, true, false},
        {"wide columns", ssBoth, {150, 150, 150, 150}, true, true},
        {"wide, vertical bar only", ssVertical, {150, 150, 150, 150}, true, false},
        {"no bars", ssNone, {150, 150, 150, 150}, true, false},
        {"one very wide column, the next visible", ssBoth, {900, 0, 20, 20}, true, true},
        {"one very wide column, the rest hidden", ssBoth, {900, 20, 20, 20}, false, false},
    };
    for (const Case& K : Cases) {
        SCOPED_TRACE(K.Name);
        Grid->SetGridScrollBars(K.Bars);
        for (int C = 1; C <= 4; ++C) {
            Grid->GetCol(C)->SetVisible(true);
            if (K.ColWidths[C - 1] > 0) Grid->GetCol(C)->SetWidth(K.ColWidths[C - 1]);
        }
        if (!K.SecondVisible)
            for (int C = 2; C <= 4; ++C) Grid->GetCol(C)->SetVisible(false);
        QApplication::processEvents();
        EXPECT_EQ(Grid->ShowHorzScrollBar(CW()), K.Want);
        EXPECT_EQ(Grid->GetHorzScrollBarVisible(), K.Want);
    }
    // Rows the same way.
    Grid->SetGridScrollBars(ssHorizontal);
    Grid->SetGridRowCount(60);
    QApplication::processEvents();
    EXPECT_FALSE(Grid->ShowVertScrollBar(CH()));
    Grid->SetGridScrollBars(ssBoth);
    QApplication::processEvents();
    EXPECT_TRUE(Grid->ShowVertScrollBar(CH()));
    EXPECT_TRUE(Grid->GetVertScrollBarVisible());
}

TEST_F(Geometry, AlwaysShownBarIsVisibleWithoutNeed) {
    Widths({40, 40, 40, 40});
    Grid->SetAlwaysShowScrollBar(ssHorizontal);
    QApplication::processEvents();
    EXPECT_FALSE(Grid->ShowHorzScrollBar(CW()));
    EXPECT_TRUE(Grid->GetHorzScrollBarVisible());
    EXPECT_FALSE(Grid->GetVertScrollBarVisible());
    EXPECT_GT(Grid->GetHorzScrollBarHeight(), 0);
    EXPECT_GT(Grid->GetVertScrollBarWidth(), 0);
}

TEST_F(Geometry, RowCountChangeReportedOnlyWhenItChanges) {
    std::vector<std::pair<int, int>> Seen;
    Grid->OnRowCountChanged = [&](TObject*, int Old, int New) { Seen.push_back({Old, New}); };
    Grid->SetGridRowCount(6);
    EXPECT_TRUE(Seen.empty());
    Grid->SetGridRowCount(9);
    ASSERT_EQ(Seen.size(), 1u);
    EXPECT_EQ(Seen[0], std::make_pair(6, 9));
}

TEST_F(Geometry, ResizingGesturesAreResizing) {
    Widths({60, 60, 60, 60});
    EXPECT_FALSE(Grid->InResizing());
    const int Edge = ColEdge(2);
    const int HeadY = Grid->CellRect(2, 0).Top + 3;
    Press(QPoint(Edge, HeadY));
    Move(QPoint(Edge + 10, HeadY));
    EXPECT_EQ(Grid->MouseStatus(), msColResize);
    EXPECT_TRUE(Grid->InResizing());
    Release(QPoint(Edge + 10, HeadY));
    EXPECT_FALSE(Grid->InResizing());
}

TEST_F(Geometry, HeadingButtonsByColumnAndGrid) {
    struct Case {
        TgxColHeadingButton Col;
        TgxHeadingButton Grid;
        bool SmallButton, WholeCell;
    };
    const Case Cases[] = {
        {cbGrid, hbNone, false, false}, {cbGrid, hbButton, true, false},
        {cbGrid, hbCell, false, true},  {cbButton, hbNone, true, false},
        {cbButton, hbCell, true, false}, {cbCell, hbButton, false, true},
        {cbNone, hbButton, false, false}, {cbNone, hbCell, false, false},
    };
    for (const Case& K : Cases) {
        SCOPED_TRACE(static_cast<int>(K.Col) * 10 + static_cast<int>(K.Grid));
        Grid->GetCol(2)->SetHeadingButton(K.Col);
        Grid->SetHeadingButton(K.Grid);
        const int D = Grid->GetDisplayColnr(2);
        EXPECT_EQ(Grid->ButtonInColHeading(D), K.SmallButton);
        EXPECT_EQ(Grid->IsColHeadingButton(D), K.WholeCell);
    }
}

TEST_F(Geometry, HeadingPushButtonTakesItsTopFourteenPixels) {
    Widths({80, 80, 80, 80});
    Grid->SetHeadingHeight(40);
    Grid->SetHeadingButton(hbButton);
    QApplication::processEvents();
    const TRect Head = Grid->CellRect(2, 0);
    std::vector<int> HitXs;
    for (int X = Head.Left; X < Head.Right; ++X)
        for (int Y = Head.Top; Y < Head.Bottom; ++Y)
            if (Grid->MouseOverHeadingButton(X, Y, 2)) {
                HitXs.push_back(X);
                break;
            }
    ASSERT_FALSE(HitXs.empty());
    const int X = HitXs[HitXs.size() / 2];
    int Top = -1, Last = -1;
    for (int Y = Head.Top; Y < Head.Bottom; ++Y)
        if (Grid->MouseOverHeadingButton(X, Y, 2)) {
            if (Top < 0) Top = Y;
            Last = Y;
        }
    // The button of a 40-pixel heading reaches at most 14 pixels down.
    EXPECT_LT(Last - Head.Top, 16);
    EXPECT_FALSE(Grid->MouseOverHeadingButton(X, Head.Top + 20, 2));
    EXPECT_TRUE(Grid->CanClickHeading(X, Top, 2));
    EXPECT_FALSE(Grid->CanClickHeading(X, Head.Top + 20, 2));
    // Columns outside the grid take no click.
    EXPECT_FALSE(Grid->CanClickHeading(X, Top, 0));
    EXPECT_FALSE(Grid->CanClickHeading(X, Top, 5));
}

TEST_F(Geometry, WholeHeadingClickableWithinTheHeadingHeight) {
    Widths({80, 80, 80, 80});
    Grid->SetHeadingButton(hbCell);
    QApplication::processEvents();
    const TRect Head = Grid->CellRect(2, 0);
    const int X = (Head.Left + Head.Right) / 2;
    EXPECT_TRUE(Grid->CanClickHeading(X, Head.Top + 2, 2));
    EXPECT_TRUE(Grid->CanClickHeading(X, Grid->GetHeadingHeight(), 2));
    EXPECT_FALSE(Grid->CanClickHeading(X, Grid->GetHeadingHeight() + 5, 2));
    Grid->SetHeadingOn(false);
    EXPECT_FALSE(Grid->CanClickHeading(X, 2, 2));
}

TEST_F(Geometry, SelectedColumnHeadingTakesNoClick) {
    Widths({80, 80, 80, 80});
    const QPoint Head = CellMid(2, 0);
    Press(Head);
    Release(Head);
    QApplication::processEvents();
    ASSERT_EQ(Grid->GridStatus(), grColSelect);
    Grid->SetHeadingButton(hbCell);
    EXPECT_FALSE(Grid->CanClickHeading(Head.x(), Head.y(), 2));
    EXPECT_TRUE(Grid->CanClickHeading(CellMid(3, 0).x(), Head.y(), 3));
}

} // namespace
