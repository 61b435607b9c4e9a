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

TEST_F(HiddenGeometry, RowCountEventOnlyOnChange) {
    std::vector<std::pair<int, int>> Seen;
    Grid->OnRowCountChanged = [&](TObject*, int O, int N) { Seen.emplace_back(O, N); };
    Grid->SetGridRowCount(8);
    Grid->SetGridRowCount(10);
    ASSERT_EQ(Seen.size(), 1u);
    EXPECT_EQ(Seen[0], std::make_pair(8, 10));
}

}  // namespace
