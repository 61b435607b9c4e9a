// Cell places, points to cells and the scroll bars' need, with hidden
// columns and rows in the way.
#include "ShownMouseFixture.h"
#include "grid/model/Columns.h"
#include "grid/model/GxGrid.h"
#include "grid/model/Rows.h"

#include <QApplication>

#include <vector>

using namespace grid;

namespace {

class HiddenGeometry : public ShownMouseFixture {
protected:
    void SetUp() override {
        ShowFocused(5, 8);
        for (int C = 1; C <= 5; ++C) Grid->GetCol(C)->SetWidth(50);
        QApplication::processEvents();
    }
    static bool Empty(const TRect& R) { return R.Width() <= 0 || R.Height() <= 0; }
};

TEST_F(HiddenGeometry, HiddenColumnsAndRowsHaveNoPlaceAndAreSkipped) {
    Grid->GetCol(2)->SetVisible(false);
    Grid->SetRowVisible(3, false);
    QApplication::processEvents();
    const int X1 = Grid->CalcColOffset(1);
    const int Y2 = Grid->CalcRowOffset(2);
    EXPECT_EQ(Grid->CalcColOffset(3), X1 + Grid->ColWidths(1));
    EXPECT_EQ(Grid->CalcRowOffset(4), Y2 + Grid->RowHeights(2));
    EXPECT_TRUE(Empty(Grid->CellRect(1, 3)) || Grid->RowHeights(3) == 0);
    int C = -2, R = -2;
    ASSERT_TRUE(Grid->CellFromXY(X1 + Grid->ColWidths(1) + 3, Y2 + Grid->RowHeights(2) + 3, C, R));
    EXPECT_EQ(C, 3);
    EXPECT_EQ(R, 4);
}

TEST_F(HiddenGeometry, DragOutsideMapsToTheEdge) {
    struct Case {
        int X, Y, Col, Row;
    };
    const int W = Grid->ClientWidth(), H = Grid->ClientHeight();
    Grid->SetGridRowCount(30);
    QApplication::processEvents();
    const Case Cases[] = {{-5, -5, 0, 0},
                          {W + 5, -5, 5, 0},
                          {-5, H + 5, 0, 30},
                          {W + 5, H + 5, 5, 30}};
    for (const Case& K : Cases) {
        SCOPED_TRACE(testing::Message() << K.X << "," << K.Y);
        int C = -2, R = -2;
        Grid->ColRowFromXY(K.X, K.Y, C, R);
        EXPECT_EQ(C, K.Col);
        EXPECT_EQ(R, K.Row);
        EXPECT_FALSE(Grid->CellFromXY(K.X, K.Y, C, R) && C >= 0 && R >= 0);
    }
}

TEST_F(HiddenGeometry, WideColumnNeedsBarOnlyWhenAnotherVisibleFollows) {
    Grid->GetCol(1)->SetWidth(2000);
    for (int C = 2; C <= 5; ++C) Grid->GetCol(C)->SetVisible(false);
    QApplication::processEvents();
    EXPECT_FALSE(Grid->ShowHorzScrollBar(Grid->ClientWidth()));
    EXPECT_FALSE(Grid->GetHorzScrollBarVisible());
    Grid->GetCol(4)->SetVisible(true);
    QApplication::processEvents();
    EXPECT_TRUE(Grid->ShowHorzScrollBar(Grid->ClientWidth()));
    EXPECT_TRUE(Grid->GetHorzScrollBarVisible());
    // Only vertical bars allowed: never a horizontal one.
    Grid->SetGridScrollBars(ssVertical);
    QApplication::processEvents();
    EXPECT_FALSE(Grid->ShowHorzScrollBar(Grid->ClientWidth()));
    EXPECT_FALSE(Grid->CanShowHorzScrollBar());
}

TEST_F(HiddenGeometry, TallRowNeedsBarOnlyWhenAnotherVisibleFollows) {
    Grid->SetRowHeight(1, 2000);
    for (int R = 2; R <= 8; ++R) Grid->SetRowVisible(R, false);
    QApplication::processEvents();
    EXPECT_FALSE(Grid->ShowVertScrollBar(Grid->ClientHeight()));
    Grid->SetRowVisible(6, true);
    QApplication::processEvents();
    EXPECT_TRUE(Grid->ShowVertScrollBar(Grid->ClientHeight()));
    Grid->SetGridScrollBars(ssHorizontal);
    QApplication::processEvents();
    EXPECT_FALSE(Grid->ShowVertScrollBar(Grid->ClientHeight()));
}

TEST_F(HiddenGeometry, FirstScrollingPlaceSkipsHiddenOnes) {
    // Without fixed columns or rows of its own the grid starts at 0.
    EXPECT_EQ(Grid->MinLeftCol(), 0);
    EXPECT_EQ(Grid->MinTopRow(), 0);
    Grid->SetFixedColCount(1);
    Grid->SetFixedRowCount(1);
    QApplication::processEvents();
    ASSERT_EQ(Grid->FixedCols(), 2);
    ASSERT_EQ(Grid->FixedRows(), 2);
    EXPECT_EQ(Grid->MinLeftCol(), 2);
    EXPECT_EQ(Grid->MinTopRow(), 2);
    Grid->GetCol(2)->SetVisible(false);
    Grid->SetRowVisible(2, false);
    QApplication::processEvents();
    EXPECT_EQ(Grid->MinLeftCol(), 3);
    EXPECT_EQ(Grid->MinTopRow(), 3);
    // A hidden column asked for as the left column gives a visible one;
    // one left of the fixed area gives the first scrolling one.
    Grid->GetCol(4)->SetVisible(false);
    QApplication::processEvents();
    int N = -1;
    EXPECT_TRUE(Grid->GetVisibleLeftCol(4, N));
    EXPECT_EQ(N, 5);
    EXPECT_TRUE(Grid->GetVisibleLeftCol(0, N));
    EXPECT_EQ(N, 3);
    EXPECT_TRUE(Grid->GetVisibleLeftCol(3, N));
    EXPECT_EQ(N, 3);
}

TEST_F(HiddenGeometry, HeadingButtonTakesClicksOnlyInItsTopPart) {
    Grid->SetHeadingHeight(40);
    Grid->SetHeadingButton(hbButton);
    QApplication::processEvents();
    ASSERT_TRUE(Grid->ButtonInColHeading(2));
    ASSERT_FALSE(Grid->IsColHeadingButton(2));
    const TRect H = Grid->CellRect(2, 0);
    int Top = -1, Bottom = -1, Left = -1;
    for (int Y = H.Top; Y < H.Bottom; ++Y)
        for (int X = H.Left; X < H.Right; ++X)
            if (Grid->MouseOverHeadingButton(X, Y, 2)) {
                if (Top < 0) Top = Y, Left = X;
                Bottom = Y;
            }
    ASSERT_GE(Top, 0) << "no point of the heading is over its button";
    // The button sits a pixel or two inside the heading cell; of a tall
    // heading only its top 14 pixels take a click.
    EXPECT_LT(Bottom - H.Top, 16);
    EXPECT_GE(Bottom - H.Top, 13);
    EXPECT_TRUE(Grid->CanClickHeading(Left, Top, 2));
    EXPECT_FALSE(Grid->CanClickHeading(Left, Bottom + 1, 2));
    // Whole-heading buttons take a click anywhere in the heading.
    struct Case {
        TgxHeadingButton GridButton;
        TgxColHeadingButton ColButton;
        bool Whole;
    };
    const Case Cases[] = {{hbCell, cbGrid, true},
                          {hbButton, cbCell, true},
                          {hbCell, cbNone, false},
                          {hbNone, cbGrid, false},
                          {hbCell, cbButton, false}};
    const int MidX = (H.Left + H.Right) / 2;
    for (const Case& K : Cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(K.GridButton) << "/"
                                        << static_cast<int>(K.ColButton));
        Grid->SetHeadingButton(K.GridButton);
        Grid->GetCol(2)->SetHeadingButton(K.ColButton);
        QApplication::processEvents();
        EXPECT_EQ(Grid->IsColHeadingButton(2), K.Whole);
        EXPECT_EQ(Grid->CanClickHeading(MidX, H.Bottom - 2, 2), K.Whole);
    }
    Grid->SetHeadingButton(hbCell);
    Grid->GetCol(2)->SetHeadingButton(cbGrid);
    // Outside the columns, or with the column selected, nothing is pressed.
    EXPECT_FALSE(Grid->CanClickHeading(2, 2, 0));
    EXPECT_FALSE(Grid->CanClickHeading(MidX, 2, 6));
    Grid->SelectCols(2, 2, true);
    QApplication::processEvents();
    EXPECT_FALSE(Grid->CanClickHeading(MidX, 2, 2));
}

TEST_F(HiddenGeometry, ResizingGesturesAreTheFourBoundaryDrags) {
    struct Case {
        TgxMouseStatus Status;
        bool Resizing;
    };
    const Case Cases[] = {{msRowResize, true},     {msColResize, true},
                          {msHeadingResize, true}, {msRowBarResize, true},
                          {msNormal, false},       {msHeadingDown, false},
                          {msColMove, false}};
    for (const Case& K : Cases) {
        SCOPED_TRACE(static_cast<int>(K.Status));
        Grid->SetMouseStatus(K.Status);
        EXPECT_EQ(Grid->InResizing(), K.Resizing);
        Grid->SetMouseStatus(msNormal);
    }
}

TEST_F(HiddenGeometry, InvalidationHeldOffWhileRedrawIsOff) {
    Grid->SetEnableRedraw(false);
    EXPECT_FALSE(Grid->CheckInvalidateCell(1, 1));
    EXPECT_FALSE(Grid->CheckInvalidateRow(1));
    EXPECT_FALSE(Grid->CheckInvalidateCol(1));
    Grid->SetEnableRedraw(true);
    QApplication::processEvents();
    EXPECT_TRUE(Grid->CheckInvalidateCell(1, 1));
    EXPECT_TRUE(Grid->CheckInvalidateRow(1));
    EXPECT_TRUE(Grid->CheckInvalidateCol(1));
}

TEST_F(HiddenGeometry, HorizontalBarRoomLeavesOutAnAlwaysShownVerticalBar) {
    // Columns that just fit the client width need no bar, until an always
    // shown vertical bar takes its width off.
    const int Room = Grid->ClientWidth() - Grid->FixedWidth();
    for (int C = 1; C <= 5; ++C) Grid->GetCol(C)->SetWidth(Room / 5);
    Grid->GetCol(5)->SetWidth(Room - 4 * (Room / 5));
    QApplication::processEvents();
    ASSERT_FALSE(Grid->GetVertScrollBarVisible());
    EXPECT_FALSE(Grid->CanShowHorzScrollBar());
    Grid->SetAlwaysShowScrollBar(ssVertical);
    QApplication::processEvents();
    EXPECT_TRUE(Grid->GetVertScrollBarVisible());
    EXPECT_TRUE(Grid->CanShowHorzScrollBar());
}

TEST_F(HiddenGeometry, BoxesSpanTheirCornerCellsAndEndAtTheLastVisibleColumn) {
    Grid->SetRowBarOn(false);
    QApplication::processEvents();
    const TRect A = Grid->CellRect(1, 0), B = Grid->CellRect(3, 2);
    const TRect Box = Grid->BoxRect(1, 0, 3, 2);
    EXPECT_EQ(Box.Left, A.Left);
    EXPECT_EQ(Box.Top, A.Top);
    EXPECT_EQ(Box.Right, B.Right);
    EXPECT_EQ(Box.Bottom, B.Bottom);
    const TRect One = Grid->BoxRect(2, 0, 2, 0);
    EXPECT_EQ(One.Left, Grid->CellRect(2, 0).Left);
    EXPECT_EQ(One.Right, Grid->CellRect(2, 0).Right);
    // A box left of nothing visible, or ending before the grid, is empty.
    Grid->GetCol(5)->SetVisible(false);
    QApplication::processEvents();
    EXPECT_TRUE(Empty(Grid->BoxRect(5, 0, 5, 0)));
    EXPECT_TRUE(Empty(Grid->BoxRect(1, 0, -1, 2)));
    EXPECT_TRUE(Empty(Grid->BoxRect(1, 9, 3, 9)));
}

TEST_F(HiddenGeometry, ScrollingLeftOntoAHiddenColumnTakesThePreviousVisibleOne) {
    Grid->SetGridColCount(20);
    QApplication::processEvents();
    Grid->SetLeftCol(10);
    QApplication::processEvents();
    ASSERT_EQ(Grid->LeftCol(), 10);
    Grid->GetCol(7)->SetVisible(false);
    QApplication::processEvents();
    int N = -1;
    EXPECT_TRUE(Grid->GetVisibleLeftCol(7, N));
    EXPECT_EQ(N, 6);
    // With nothing visible before it, the next one is taken.
    for (int C = 1; C <= 6; ++C) Grid->GetCol(C)->SetVisible(false);
    QApplication::processEvents();
    EXPECT_TRUE(Grid->GetVisibleLeftCol(7, N));
    EXPECT_EQ(N, 8);
}

TEST_F(HiddenGeometry, FixedColumnsPastTheRightEdgeLeaveNoPlaceForScrollingOnes) {
    Grid->SetFixedColCount(2);
    Grid->GetCol(1)->SetWidth(Grid->ClientWidth());
    QApplication::processEvents();
    EXPECT_EQ(Grid->CalcColOffset(3), -1);
    EXPECT_TRUE(Empty(Grid->CellRect(3, 1)));
    int C = -2;
    EXPECT_FALSE(Grid->ColFromX(Grid->ClientWidth() + 1, C));
    EXPECT_EQ(C, -1);
}

TEST(UnshownGeometry, AGridWithoutAWindowHasNoPlacesAndNeedsNoBars) {
    EnsureQtApplication();
    TForm Form(nullptr);
    auto* G = new TgxGrid(&Form);
    G->SetGridColCount(3);
    G->SetGridRowCount(3);
    G->GetCol(1)->SetWidth(5000);
    int C = -2, R = -2;
    EXPECT_FALSE(G->CellFromXY(5, 5, C, R));
    EXPECT_EQ(C, -1);
    EXPECT_EQ(R, -1);
    const TRect Cell = G->CellRect(1, 1);
    EXPECT_TRUE(Cell.Width() <= 0 || Cell.Height() <= 0);
    EXPECT_FALSE(G->ShowHorzScrollBar(100));
    EXPECT_FALSE(G->ShowVertScrollBar(100));
}

TEST_F(HiddenGeometry, ColumnEndingExactlyAtTheEdgeLosesItsLine) {
    const int Room = Grid->ClientWidth() - Grid->CalcColOffset(1);
    Grid->GetCol(1)->SetWidth(Room);
    QApplication::processEvents();
    const TRect R = Grid->CellRect(1, 1);
    EXPECT_EQ(R.Right, Grid->ClientWidth() - 1);
    // One pixel wider, the column is cut and keeps its cut edge.
    Grid->GetCol(1)->SetWidth(Room + 1);
    QApplication::processEvents();
    EXPECT_EQ(Grid->CellRect(1, 1).Right, Grid->ClientWidth());
}

TEST_F(HiddenGeometry, RowCountEventOnlyOnChange) {
    std::vector<std::pair<int, int>> Seen;
    Grid->OnRowCountChanged = [&](TObject*, int O, int N) { Seen.emplace_back(O, N); };
    Grid->SetGridRowCount(8);
    Grid->SetGridRowCount(10);
    ASSERT_EQ(Seen.size(), 1u);
    EXPECT_EQ(Seen[0], std::make_pair(8, 10));
}

}  // namespace
