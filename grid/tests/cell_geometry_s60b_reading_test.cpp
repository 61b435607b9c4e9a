// Where cells lie on a shown grid, which cell a point hits, when the scroll
// bars are needed and when a heading click counts.
#include "ShownMouseFixture.h"

#include "grid/model/Columns.h"

using namespace grid;

namespace {

class CellGeometryS60b : public ShownMouseFixture {
protected:
    void SetUp() override { ShowFocused(8, 30); }
    int Right(int C) const { return Grid->CalcColOffset(C) + Grid->ColWidths(C); }
};

TEST_F(CellGeometryS60b, OffsetsAndRectangles) {
    EXPECT_EQ(Grid->CalcColOffset(0), 0);
    EXPECT_EQ(Grid->CalcRowOffset(0), 0);
    EXPECT_EQ(Grid->CalcColOffset(1), Grid->GetRowBarWidth());
    EXPECT_EQ(Grid->CalcRowOffset(1), Grid->GetHeadingHeight());
    EXPECT_EQ(Grid->CalcColOffset(2), Right(1));
    // An ordinary cell leaves out its right and bottom grid line.
    const TRect R = Grid->CellRect(2, 2);
    EXPECT_EQ(R.Left, Grid->CalcColOffset(2));
    EXPECT_EQ(R.Width(), Grid->ColWidths(2) - 1);
    EXPECT_EQ(R.Height(), Grid->RowHeights(2) - 1);
    const TRect Whole = Grid->CalcCellRect(2, 2);
    EXPECT_EQ(Whole.Width(), Grid->ColWidths(2));
    // The last column on screen, cut by the right edge, ends at the edge.
    int Last = 1;
    while (Grid->CalcColOffset(Last + 1) >= 0) ++Last;
    ASSERT_GT(Right(Last), Grid->ClientWidth());
    EXPECT_EQ(Grid->CellRect(Last, 1).Right, Grid->ClientWidth());
    EXPECT_EQ(Grid->CalcCellRect(Last, 1).Right, Grid->ClientWidth());
    // A column starting beyond the right edge is not on screen.
    EXPECT_EQ(Grid->CalcColOffset(Last + 1), -1);
    EXPECT_TRUE(Grid->CellRect(Last + 1, 1) == TRect());
    // A row beyond the bottom has an empty rectangle.
    EXPECT_TRUE(Grid->CellRect(1, 29) == TRect());
    EXPECT_GE(Grid->CalcRowOffset(29), Grid->ClientHeight());
    // Scrolled to the left: the column leaves the screen.
    Grid->SetLeftCol(3);
    EXPECT_EQ(Grid->CalcColOffset(2), -1);
    EXPECT_TRUE(Grid->CellRect(2, 1) == TRect());
    EXPECT_EQ(Grid->CalcColOffset(3), Grid->GetRowBarWidth());
}

TEST_F(CellGeometryS60b, HiddenColumnsAreSkipped) {
    Grid->GetCol(2)->SetVisible(false);
    EXPECT_EQ(Grid->CalcColOffset(3), Right(1));
    EXPECT_EQ(Grid->CalcColOffset(2), -1);
    EXPECT_TRUE(Grid->CellRect(2, 1) == TRect());
}

TEST_F(CellGeometryS60b, BoxRect) {
    EXPECT_TRUE(Grid->BoxRect(9, 1, 9, 1) == TRect());
    EXPECT_TRUE(Grid->BoxRect(1, 1, -1, 1) == TRect());
    EXPECT_TRUE(Grid->BoxRect(1, 40, 1, 40) == TRect());
    EXPECT_TRUE(Grid->BoxRect(1, 1, 1, -1) == TRect());
    const TRect B = Grid->BoxRect(1, 1, 2, 2);
    EXPECT_EQ(B.Left, Grid->CalcColOffset(1));
    EXPECT_EQ(B.Top, Grid->CalcRowOffset(1));
    EXPECT_GE(B.Right, Grid->CellRect(2, 2).Right);
    // Without a row bar the box of fixed cells is made of cell rectangles.
    Grid->SetFixedColCount(1);
    Grid->SetRowBarOn(false);
    const TRect F = Grid->BoxRect(1, 1, 2, 2);
    EXPECT_EQ(F.Left, Grid->CellRect(1, 1).Left);
    EXPECT_EQ(F.Top, Grid->CellRect(1, 1).Top);
    EXPECT_EQ(F.Right, Grid->CellRect(2, 2).Right);
    EXPECT_EQ(F.Bottom, Grid->CellRect(2, 2).Bottom);
    EXPECT_EQ(Grid->BoxRect(1, 1, 1, 1), Grid->CellRect(1, 1));
}

TEST_F(CellGeometryS60b, PointToCell) {
    const int W = Grid->ClientWidth(), H = Grid->ClientHeight();
    const int X2 = Grid->CalcColOffset(2) + 3, Y3 = Grid->CalcRowOffset(3) + 3;
    // Outside the client area a drag maps to the grid's last column or row.
    const int LastCol = Grid->ColCount() - 1, LastRow = Grid->RowCount() - 1;
    struct Case { int X, Y, Col, Row, EdgeCol, EdgeRow; };
    const Case Cases[] = {
        {X2, Y3, 2, 3, 2, 3},
        {-5, Y3, -1, 3, 0, 3},
        {W + 5, Y3, -1, 3, LastCol, 3},
        {X2, -5, 2, -1, 2, 0},
        {X2, H + 5, 2, -1, 2, LastRow},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(testing::Message() << C.X << "," << C.Y);
        int Col = 99, Row = 99;
        Grid->CellFromXY(C.X, C.Y, Col, Row);
        EXPECT_EQ(Col, C.Col);
        EXPECT_EQ(Row, C.Row);
        Grid->ColFromX(C.X, Col);
        EXPECT_EQ(Col, C.Col);
        Grid->RowFromY(C.Y, Row);
        EXPECT_EQ(Row, C.Row);
        Grid->ColRowFromXY(C.X, C.Y, Col, Row);
        EXPECT_EQ(Col, C.EdgeCol);
        EXPECT_EQ(Row, C.EdgeRow);
    }
}

TEST_F(CellGeometryS60b, CheckInvalidateFollowsRedraw) {
    EXPECT_TRUE(Grid->CheckInvalidateCell(1, 1));
    EXPECT_TRUE(Grid->CheckInvalidateRow(1));
    EXPECT_TRUE(Grid->CheckInvalidateCol(1));
    Grid->SetEnableRedraw(false);
    EXPECT_FALSE(Grid->CheckInvalidateCell(1, 1));
    EXPECT_FALSE(Grid->CheckInvalidateRow(1));
    EXPECT_FALSE(Grid->CheckInvalidateCol(1));
    Grid->SetEnableRedraw(true);
}

TEST_F(CellGeometryS60b, MinLeftColAndVisibleLeftCol) {
    Grid->SetGridColCount(20);
    Grid->SetFixedColCount(1);
    Grid->SetFixedRowCount(1);
    const int F = Grid->FixedCols();
    EXPECT_EQ(Grid->MinLeftCol(), F);
    EXPECT_EQ(Grid->MinTopRow(), Grid->FixedRows());
    Grid->GetCol(Grid->GetDataCol(F))->SetVisible(false);
    EXPECT_EQ(Grid->MinLeftCol(), F + 1);
    Grid->SetRowVisible(Grid->GetDataRow(Grid->FixedRows()), false);
    EXPECT_EQ(Grid->MinTopRow(), Grid->FixedRows() + 1);
    int New = -7;
    // Asked for the hidden column while scrolling right: the next one.
    Grid->SetLeftCol(F + 1);
    Grid->GetCol(Grid->GetDataCol(F + 3))->SetVisible(false);
    EXPECT_TRUE(Grid->GetVisibleLeftCol(F + 3, New));
    EXPECT_EQ(New, F + 4);
    // Scrolling left onto a hidden column: the previous visible one.
    Grid->SetLeftCol(F + 5);
    ASSERT_EQ(Grid->LeftCol(), F + 5);
    EXPECT_TRUE(Grid->GetVisibleLeftCol(F + 3, New));
    EXPECT_EQ(New, F + 2);
    // Below the fixed columns: raised to the first scrolling one.
    EXPECT_TRUE(Grid->GetVisibleLeftCol(0, New));
    EXPECT_EQ(New, F + 1);
}

TEST_F(CellGeometryS60b, ScrollBarNeed) {
    // Columns wider than the grid need a horizontal bar.
    for (int C = 1; C <= 8; ++C) Grid->GetCol(C)->SetWidth(100);
    EXPECT_TRUE(Grid->ShowHorzScrollBar(Grid->ClientWidth()));
    EXPECT_TRUE(Grid->GetHorzScrollBarVisible());
    Grid->SetGridScrollBars(ssVertical);
    EXPECT_FALSE(Grid->ShowHorzScrollBar(Grid->ClientWidth()));
    EXPECT_FALSE(Grid->GetHorzScrollBarVisible());
    EXPECT_TRUE(Grid->ShowVertScrollBar(Grid->ClientHeight()));
    Grid->SetGridScrollBars(ssHorizontal);
    EXPECT_FALSE(Grid->ShowVertScrollBar(Grid->ClientHeight()));
    EXPECT_FALSE(Grid->GetVertScrollBarVisible());
    Grid->SetGridScrollBars(ssBoth);
    EXPECT_GT(Grid->GetHorzScrollBarHeight(), 0);
    EXPECT_GT(Grid->GetVertScrollBarWidth(), 0);
}

TEST_F(CellGeometryS60b, OneWideColumnNeedsABarOnlyWhenAnotherFollows) {
    Grid->SetGridColCount(2);
    Grid->SetGridRowCount(2);
    Grid->GetCol(1)->SetWidth(1000);
    Grid->GetCol(2)->SetVisible(false);
    EXPECT_FALSE(Grid->ShowHorzScrollBar(Grid->ClientWidth()));
    EXPECT_FALSE(Grid->GetHorzScrollBarVisible());
    Grid->GetCol(2)->SetVisible(true);
    EXPECT_TRUE(Grid->ShowHorzScrollBar(Grid->ClientWidth()));
    EXPECT_TRUE(Grid->GetHorzScrollBarVisible());
    // Always shown: visible though not needed.
    Grid->GetCol(2)->SetVisible(false);
    Grid->SetAlwaysShowScrollBar(ssHorizontal);
    EXPECT_TRUE(Grid->GetHorzScrollBarVisible());
}

TEST_F(CellGeometryS60b, RowCountChangeReportedOnlyWhenItDiffers) {
    std::vector<std::pair<int, int>> Seen;
    Grid->OnRowCountChanged = [&](TObject*, int O, int N) { Seen.emplace_back(O, N); };
    Grid->CheckRowCountChanged(3, 3);
    EXPECT_TRUE(Seen.empty());
    Grid->CheckRowCountChanged(3, 5);
    ASSERT_EQ(Seen.size(), 1u);
    EXPECT_EQ(Seen[0], std::make_pair(3, 5));
}

TEST_F(CellGeometryS60b, HeadingButtonKinds) {
    struct Case { TgxHeadingButton GridKind; TgxColHeadingButton ColKind; bool Small, Whole; };
    const Case Cases[] = {
        {hbNone, cbGrid, false, false},   {hbButton, cbGrid, true, false},
        {hbCell, cbGrid, false, true},    {hbNone, cbButton, true, false},
        {hbNone, cbCell, false, true},    {hbButton, cbNone, false, false},
        {hbCell, cbButton, true, false},  {hbButton, cbCell, false, true},
    };
    for (const Case& C : Cases) {
        Grid->SetHeadingButton(C.GridKind);
        Grid->GetCol(2)->SetHeadingButton(C.ColKind);
        EXPECT_EQ(Grid->ButtonInColHeading(2), C.Small);
        EXPECT_EQ(Grid->IsColHeadingButton(2), C.Whole);
    }
}

TEST_F(CellGeometryS60b, HeadingClicks) {
    Grid->SetHeadingHeight(30);
    Grid->SetHeadingButton(hbButton);
    Grid->Update();
    const int X = Grid->CalcColOffset(2);
    // Find the button's columns along a line near the top.
    int BL = -1, BR = -1;
    for (int I = X; I < X + Grid->ColWidths(2); ++I)
        if (Grid->MouseOverHeadingButton(I, 2, 2)) {
            if (BL < 0) BL = I;
            BR = I;
        }
    ASSERT_GE(BL, 0);
    EXPECT_TRUE(Grid->MouseOverHeadingButton(BL, 13, 2));
    EXPECT_FALSE(Grid->MouseOverHeadingButton(BL, 20, 2));
    EXPECT_TRUE(Grid->CanClickHeading(BL, 2, 2));
    EXPECT_FALSE(Grid->CanClickHeading(X + 1 == BL ? BR + 1 : X + 1, 2, 2));
    EXPECT_FALSE(Grid->CanClickHeading(BL, 2, 9));
    // A whole-cell heading button is clicked anywhere in the heading.
    Grid->GetCol(3)->SetHeadingButton(cbCell);
    const int X3 = Grid->CalcColOffset(3) + 2;
    EXPECT_TRUE(Grid->CanClickHeading(X3, 25, 3));
    EXPECT_FALSE(Grid->CanClickHeading(X3, 31, 3));
    // While one heading button is held down no other heading is clicked.
    Press(QPoint(BL + 1, 5));
    EXPECT_FALSE(Grid->CanClickHeading(X3, 5, 3));
    Release(QPoint(BL + 1, 5));
    EXPECT_TRUE(Grid->CanClickHeading(X3, 5, 3));
    Grid->SetHeadingOn(false);
    EXPECT_FALSE(Grid->CanClickHeading(X3, 5, 3));
}

} // namespace
