// Where a cell lies on screen, which cell lies under a point, when the
// scroll bars are needed and where a heading button is hit.
#include "ShownGridFixture.h"
#include "grid/model/Columns.h"
#include "grid/model/GridTypes.h"
#include "platform/gui/Forms.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <QApplication>

#include <vector>

namespace {

using namespace grid;

class CellGeometryReading : public ShownGridFixture {
protected:
    void SetUp() override {
        ShowGrid(10, 30);
        Grid->SetRowBarOn(true);
        Grid->SetHeadingOn(true);
        QApplication::processEvents();
    }
    TgxCol* Col(int DataCol) { return Grid->GetCol(Variant(DataCol)); }
    // The left edge of a display column from the widths, with the columns
    // from Left on scrolled to the first scrolling position.
    int Walk(int DisplayCol, int Left = 1) {
        int X = Grid->ColWidths(0);
        for (int C = Left; C < DisplayCol; ++C) X += Grid->ColWidths(C);
        return X;
    }
    int Client() { return Grid->ClientWidth(); }
};

TEST_F(CellGeometryReading, OffsetsWalkTheVisibleColumnsAndRows) {
    EXPECT_EQ(Grid->CalcColOffset(0), 0);
    EXPECT_EQ(Grid->CalcColOffset(1), Grid->ColWidths(0));
    EXPECT_EQ(Grid->CalcColOffset(3), Walk(3));
    EXPECT_EQ(Grid->CalcRowOffset(0), 0);
    EXPECT_EQ(Grid->CalcRowOffset(1), Grid->RowHeights(0));
    EXPECT_EQ(Grid->CalcRowOffset(3), Grid->RowHeights(0) + Grid->RowHeights(1) +
                                          Grid->RowHeights(2));
    // A hidden column takes no room.
    const int Third = Walk(3);
    const int Second = Grid->ColWidths(2);
    Col(2)->SetVisible(false);
    EXPECT_EQ(Grid->CalcColOffset(3), Third - Second);
    Col(2)->SetVisible(true);
    // A column past the right edge, and one scrolled out to the left.
    int Last = 1;
    while (Walk(Last + 1) < Client()) ++Last;
    EXPECT_EQ(Grid->CalcColOffset(Last + 1), -1);
    Grid->SetLeftCol(3);
    EXPECT_EQ(Grid->CalcColOffset(2), -1);
    EXPECT_EQ(Grid->CalcColOffset(3), Grid->ColWidths(0));
    // A row below the bottom lies beyond the client height.
    EXPECT_GT(Grid->CalcRowOffset(29), Grid->ClientHeight());
}

TEST_F(CellGeometryReading, CellRectLeavesTheGridLinesOutInsideTheClientArea) {
    Grid->SetGridLines(glBoth);
    const TRect R = Grid->CellRect(2, 2);
    EXPECT_EQ(R.Left, Grid->CalcColOffset(2));
    EXPECT_EQ(R.Right - R.Left, Grid->ColWidths(2) - 1);
    EXPECT_EQ(R.Bottom - R.Top, Grid->RowHeights(2) - 1);
    const TRect Calc = Grid->CalcCellRect(2, 2);
    EXPECT_EQ(Calc.Right - Calc.Left, Grid->ColWidths(2));
    // The last column that shows is cut at the client width, line and all.
    int Last = 1;
    while (Walk(Last + 1) < Client()) ++Last;
    ASSERT_GT(Walk(Last) + Grid->ColWidths(Last), Client());
    EXPECT_EQ(Grid->CellRect(Last, 2).Right, Client());
    // Scrolled out to the left, past the right edge, below the bottom: empty.
    Grid->SetLeftCol(3);
    for (const auto& [C, R2] : std::vector<std::pair<int, int>>{{2, 2}, {Last + 3, 2}, {4, 29}}) {
        const TRect E = Grid->CellRect(C, R2);
        EXPECT_TRUE(E.Right <= E.Left || E.Bottom <= E.Top) << C << "," << R2;
    }
}

TEST_F(CellGeometryReading, BoxRectCoversItsCells) {
    const TRect A = Grid->CellRect(1, 1);
    const TRect B = Grid->CellRect(3, 4);
    const TRect Box = Grid->BoxRect(1, 1, 3, 4);
    EXPECT_EQ(Box.Left, A.Left);
    EXPECT_EQ(Box.Top, A.Top);
    EXPECT_GE(Box.Right, B.Right);
    EXPECT_GE(Box.Bottom, B.Bottom);
    // The row bar alone, with the heading off.
    Grid->SetHeadingOn(false);
    const TRect Bar = Grid->BoxRect(0, 2, 0, 2);
    EXPECT_EQ(Bar.Left, 0);
    EXPECT_EQ(Bar.Top, Grid->CellRect(0, 2).Top);
    EXPECT_EQ(Bar.Right, Grid->CellRect(0, 2).Right);
    const TRect Bars = Grid->BoxRect(0, 2, 0, 5);
    EXPECT_EQ(Bars.Bottom, Grid->CellRect(0, 5).Bottom);
    for (const TRect None : {Grid->BoxRect(0, 2, -1, 5), Grid->BoxRect(1, 2, 3, -1),
                             Grid->BoxRect(Grid->ColCount() + 1, 2, Grid->ColCount() + 2, 3),
                             Grid->BoxRect(1, Grid->RowCount() + 1, 2, Grid->RowCount() + 2)})
        EXPECT_TRUE(None.Right <= None.Left || None.Bottom <= None.Top);
}

TEST_F(CellGeometryReading, PointsMapToCellsAndOutsidePointsToTheEdge) {
    int C = 0, R = 0;
    const TRect Cell = Grid->CellRect(2, 3);
    EXPECT_TRUE(Grid->CellFromXY(Cell.Left + 2, Cell.Top + 2, C, R));
    EXPECT_EQ(C, 2);
    EXPECT_EQ(R, 3);
    Grid->CellFromXY(Client() + 5, Cell.Top + 2, C, R);
    EXPECT_EQ(C, -1);
    EXPECT_EQ(R, 3);
    Grid->ColFromX(-3, C);
    EXPECT_EQ(C, -1);
    Grid->RowFromY(Grid->ClientHeight() + 2, R);
    EXPECT_EQ(R, -1);
    Grid->ColRowFromXY(Client() + 5, Grid->ClientHeight() + 5, C, R);
    EXPECT_EQ(C, Grid->ColCount() - 1);
    EXPECT_EQ(R, Grid->RowCount() - 1);
    Grid->ColRowFromXY(-5, -5, C, R);
    EXPECT_EQ(C, 0);
    EXPECT_EQ(R, 0);
}

TEST_F(CellGeometryReading, FirstScrollingPositionsSkipHiddenOnes) {
    Grid->SetFixedColCount(1);
    Grid->SetFixedRowCount(1);
    EXPECT_EQ(Grid->MinLeftCol(), Grid->FixedCols());
    EXPECT_EQ(Grid->MinTopRow(), Grid->FixedRows());
    Col(Grid->GetDataCol(Grid->FixedCols()))->SetVisible(false);
    Grid->SetRowVisible(Grid->GetDataRow(Grid->FixedRows()), false);
    EXPECT_EQ(Grid->MinLeftCol(), Grid->FixedCols() + 1);
    EXPECT_EQ(Grid->MinTopRow(), Grid->FixedRows() + 1);
    int New = 0;
    EXPECT_TRUE(Grid->GetVisibleLeftCol(0, New));
    EXPECT_EQ(New, Grid->FixedCols() + 1);
    EXPECT_TRUE(Grid->GetVisibleTopRow(Grid->FixedRows(), New));
    EXPECT_EQ(New, Grid->FixedRows() + 1);
    EXPECT_TRUE(Grid->GetVisibleLeftCol(5, New));
    EXPECT_EQ(New, 5);
}

TEST_F(CellGeometryReading, HorizontalBarIsNeededOnlyForMoreThanFits) {
    struct Case {
        const char* Name;
        TScrollStyle Bars;
        int WideCol;       // data column made wider than the window, 0 for none
        bool HideTheRest;  // every column after the wide one hidden
        bool Needed;
    };
    for (const Case& K : {Case{"many narrow columns", ssBoth, 0, false, true},
                          Case{"vertical only", ssVertical, 0, false, false},
                          Case{"vertical only, wide", ssVertical, 1, false, false},
                          Case{"one wide column alone", ssBoth, 1, true, false},
                          Case{"one wide column and more", ssBoth, 1, false, true},
                          Case{"horizontal", ssHorizontal, 0, false, true}}) {
        Grid->SetGridScrollBars(K.Bars);
        for (int C = 1; C <= 10; ++C) {
            Col(C)->SetVisible(!(K.HideTheRest && C > K.WideCol));
            Col(C)->SetWidth(C == K.WideCol ? 2000 : 64);
        }
        EXPECT_EQ(Grid->ShowHorzScrollBar(Client()), K.Needed) << K.Name;
    }
    EXPECT_EQ(Grid->GetHorzScrollBarHeight(), GetSystemMetrics(SM_CYHSCROLL));
    EXPECT_EQ(Grid->GetVertScrollBarWidth(), GetSystemMetrics(SM_CXVSCROLL));
}

TEST_F(CellGeometryReading, VerticalBarFollowsTheRows) {
    EXPECT_TRUE(Grid->ShowVertScrollBar(Grid->ClientHeight()));
    Grid->SetGridScrollBars(ssHorizontal);
    EXPECT_FALSE(Grid->ShowVertScrollBar(Grid->ClientHeight()));
    Grid->SetGridScrollBars(ssBoth);
    Grid->SetGridRowCount(2);
    EXPECT_FALSE(Grid->ShowVertScrollBar(Grid->ClientHeight()));
    EXPECT_FALSE(Grid->GetVertScrollBarVisible());
    Grid->SetAlwaysShowScrollBar(ssVertical);
    EXPECT_TRUE(Grid->GetVertScrollBarVisible());
}

TEST_F(CellGeometryReading, RowCountEventOnlyForAChange) {
    std::vector<std::pair<int, int>> Seen;
    Grid->OnRowCountChanged = [&Seen](TObject*, int Old, int New) { Seen.emplace_back(Old, New); };
    Grid->SetGridRowCount(30);
    EXPECT_TRUE(Seen.empty());
    Grid->SetGridRowCount(12);
    EXPECT_EQ(Seen, (std::vector<std::pair<int, int>>{{30, 12}}));
}

TEST_F(CellGeometryReading, HeadingButtonKindsOfColumnAndGrid) {
    struct Case {
        TgxHeadingButton GridKind;
        TgxColHeadingButton ColKind;
        bool Push, WholeCell;
    };
    for (const Case K : {Case{hbNone, cbGrid, false, false}, Case{hbButton, cbGrid, true, false},
                         Case{hbCell, cbGrid, false, true}, Case{hbButton, cbNone, false, false},
                         Case{hbNone, cbButton, true, false}, Case{hbNone, cbCell, false, true},
                         Case{hbCell, cbButton, true, false}}) {
        Grid->SetHeadingButton(K.GridKind);
        Col(2)->SetHeadingButton(K.ColKind);
        const int Display = Grid->GetDisplayCol(2);
        EXPECT_EQ(Grid->ButtonInColHeading(Display), K.Push)
            << int(K.GridKind) << "/" << int(K.ColKind);
        EXPECT_EQ(Grid->IsColHeadingButton(Display), K.WholeCell)
            << int(K.GridKind) << "/" << int(K.ColKind);
    }
}

TEST_F(CellGeometryReading, HeadingPushButtonIsHitInItsTopFourteenPixels) {
    Grid->SetHeadingHeight(40);
    Grid->SetHeadingButton(hbButton);
    QApplication::processEvents();
    const TRect Head = Grid->CellRect(2, 0);
    // Find the button's columns along its top line.
    int Left = -1, Right = -1;
    for (int X = Head.Left; X < Head.Right; ++X) {
        if (Grid->MouseOverHeadingButton(X, Head.Top + 2, 2)) {
            if (Left < 0) Left = X;
            Right = X;
        }
    }
    ASSERT_GE(Left, 0) << "no heading button found";
    int Bottom = -1;
    for (int Y = Head.Top; Y < Head.Bottom; ++Y)
        if (Grid->MouseOverHeadingButton(Left, Y, 2)) Bottom = Y;
    EXPECT_LE(Bottom, 14 + Head.Top);
    EXPECT_TRUE(Grid->CanClickHeading(Left, Head.Top + 2, 2));
    EXPECT_FALSE(Grid->CanClickHeading(Left, Head.Bottom - 2, 2));
    EXPECT_FALSE(Grid->CanClickHeading(Left - 1 < Head.Left ? Right + 1 : Left - 1, Head.Top + 2, 2));
    // The whole heading as a button: any point of the heading row.
    Grid->SetHeadingButton(hbCell);
    EXPECT_TRUE(Grid->CanClickHeading(Head.Left + 1, Head.Bottom - 2, 2));
    EXPECT_FALSE(Grid->CanClickHeading(Head.Left + 1, Head.Bottom + 5, 2));
    EXPECT_FALSE(Grid->CanClickHeading(Head.Left + 1, 2, 0));
    EXPECT_FALSE(Grid->CanClickHeading(Head.Left + 1, 2, 11));
}

TEST_F(CellGeometryReading, GridLinesDecideWhatCellRectTakesOff) {
    struct Case {
        TgxGridLines Lines;
        int Narrower, Lower;
    };
    for (const Case K : {Case{glNone, 0, 0}, Case{glVertLines, 1, 0}, Case{glHorzLines, 0, 1},
                         Case{glBoth, 1, 1}}) {
        Grid->SetGridLines(K.Lines);
        const TRect R = Grid->CellRect(2, 2);
        EXPECT_EQ(R.Right - R.Left, Grid->ColWidths(2) - K.Narrower) << int(K.Lines);
        EXPECT_EQ(R.Bottom - R.Top, Grid->RowHeights(2) - K.Lower) << int(K.Lines);
    }
}

TEST_F(CellGeometryReading, InvalidationChecksAnswerWhetherTheyInvalidated) {
    EXPECT_TRUE(Grid->CheckInvalidateCell(2, 2));
    EXPECT_TRUE(Grid->CheckInvalidateRow(2));
    EXPECT_TRUE(Grid->CheckInvalidateCol(2));
    Grid->SetEnableRedraw(false);
    EXPECT_FALSE(Grid->CheckInvalidateCell(2, 2));
    EXPECT_FALSE(Grid->CheckInvalidateRow(2));
    EXPECT_FALSE(Grid->CheckInvalidateCol(2));
    Grid->SetEnableRedraw(true);
}

TEST_F(CellGeometryReading, SelectedHeadingCannotBeClicked) {
    Grid->SetHeadingButton(hbCell);
    const TRect Head = Grid->CellRect(2, 0);
    EXPECT_TRUE(Grid->CanClickHeading(Head.Left + 1, Head.Top + 1, 2));
    Grid->SetColSelectMode(csMulti);
    Grid->SelectCols(2, 2, true);
    EXPECT_FALSE(Grid->CanClickHeading(Head.Left + 1, Head.Top + 1, 2));
    EXPECT_TRUE(Grid->CanClickHeading(Grid->CellRect(3, 0).Left + 1, Head.Top + 1, 3));
}

TEST_F(CellGeometryReading, NoOtherHeadingIsClickableWhileOneIsHeldDown) {
    Grid->SetHeadingButton(hbCell);
    ShowActive(*Form);
    QWidget* W = Grid->Widget();
    const auto At = [&](int X, int Y) {
        return W->mapFromGlobal(QPoint(Grid->ClientToScreen(Point(X, Y)).X,
                                       Grid->ClientToScreen(Point(X, Y)).Y));
    };
    const TRect Two = Grid->CellRect(2, 0);
    const TRect Three = Grid->CellRect(3, 0);
    ASSERT_TRUE(Grid->CanClickHeading(Three.Left + 3, Three.Top + 3, 3));
    SendMouse(W, QEvent::MouseButtonPress, At(Two.Left + 3, Two.Top + 3));
    EXPECT_FALSE(Grid->CanClickHeading(Three.Left + 3, Three.Top + 3, 3));
    SendMouse(W, QEvent::MouseButtonRelease, At(Two.Left + 3, Two.Top + 3));
    EXPECT_TRUE(Grid->CanClickHeading(Three.Left + 3, Three.Top + 3, 3));
}

TEST_F(CellGeometryReading, FixedColumnsStayWhileTheRestScrolls) {
    Grid->SetFixedColCount(1);
    const int Fixed = Grid->FixedCols() - 1;
    const int FixedLeft = Grid->CalcColOffset(Fixed);
    Grid->SetLeftCol(5);
    EXPECT_EQ(Grid->CalcColOffset(Fixed), FixedLeft);
    EXPECT_EQ(Grid->CalcColOffset(5), FixedLeft + Grid->ColWidths(Fixed));
    EXPECT_EQ(Grid->CalcColOffset(Fixed + 1), -1);
    int C = 0, R = 0;
    Grid->CellFromXY(Grid->CalcColOffset(5) + 1, Grid->CalcRowOffset(2) + 1, C, R);
    EXPECT_EQ(C, 5);
}

TEST_F(CellGeometryReading, AHiddenLeftColumnGivesWayInTheScrollDirection) {
    Col(Grid->GetDataCol(5))->SetVisible(false);
    int New = 0;
    Grid->SetLeftCol(7);
    EXPECT_TRUE(Grid->GetVisibleLeftCol(5, New));
    EXPECT_EQ(New, 4);
    Grid->SetLeftCol(1);
    EXPECT_TRUE(Grid->GetVisibleLeftCol(5, New));
    EXPECT_EQ(New, 6);
}

TEST_F(CellGeometryReading, AGridWithoutAWindowHasNoGeometry) {
    grid::TgxGrid Loose(nullptr);
    Loose.SetGridColCount(3);
    Loose.SetGridRowCount(3);
    int C = 0, R = 0;
    EXPECT_FALSE(Loose.CellFromXY(5, 5, C, R));
    EXPECT_EQ(C, -1);
    EXPECT_EQ(R, -1);
    const TRect Cell = Loose.CellRect(1, 1);
    EXPECT_TRUE(Cell.Right <= Cell.Left || Cell.Bottom <= Cell.Top);
    const TRect Calc = Loose.CalcCellRect(1, 1);
    EXPECT_TRUE(Calc.Right <= Calc.Left || Calc.Bottom <= Calc.Top);
    EXPECT_FALSE(Loose.ShowHorzScrollBar(10));
    EXPECT_FALSE(Loose.ShowVertScrollBar(10));
}

} // namespace
