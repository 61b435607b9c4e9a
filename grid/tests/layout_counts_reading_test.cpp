// Counts, fixed columns and rows, the row bar and heading, and how far the
// top-left cell may go, on a shown grid.
#include "ShownGridFixture.h"

#include "grid/model/Columns.h"
#include "grid/model/Rows.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <string>
#include <utility>
#include <vector>

using namespace grid;

namespace {

class LayoutCountsReadingTest : public ShownGridFixture {
protected:
    void TypeInCurrentCell() {
        QKeyEvent Press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
        QApplication::sendEvent(Grid->Widget(), &Press);
        QKeyEvent Release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, "x");
        QApplication::sendEvent(Grid->Widget(), &Release);
    }
    // The first top row from which the rows to the end fit below the
    // fixed rows.
    int FittingTopRow() const {
        const int Last = Grid->RowCount() - 1;
        int Sum = Grid->FixedHeight() + Grid->RowHeights(Last);
        int Top = Last;
        while (Top > Grid->FixedRows() && Sum + Grid->RowHeights(Top - 1) <= Grid->ClientHeight()) {
            --Top;
            Sum += Grid->RowHeights(Top);
        }
        return Top;
    }
};

TEST_F(LayoutCountsReadingTest, CountsAndTheirBaseGridSizes) {
    ShowGrid(5, 7);
    EXPECT_EQ(Grid->ColCount(), 6);
    EXPECT_EQ(Grid->RowCount(), 8);
    std::vector<std::pair<int, int>> ColCounts, RowCounts;
    Grid->OnColCountChanged = [&](TObject*, int Old, int New) { ColCounts.emplace_back(Old, New); };
    Grid->OnRowCountChanged = [&](TObject*, int Old, int New) { RowCounts.emplace_back(Old, New); };
    Grid->SetGridColCount(5); // unchanged: nothing
    Grid->SetGridRowCount(-4); // below 0: none
    Grid->SetGridColCount(-1);
    EXPECT_EQ(Grid->GetGridColCount(), 0);
    EXPECT_EQ(Grid->GetGridRowCount(), 0);
    EXPECT_EQ(Grid->ColCount(), 1);
    EXPECT_EQ(Grid->RowCount(), 1);
    EXPECT_EQ(ColCounts, (std::vector<std::pair<int, int>>{{5, 0}}));
    EXPECT_EQ(RowCounts, (std::vector<std::pair<int, int>>{{7, 0}}));
    Grid->SetGridMode(TgxGridMode::gmEditInsert);
    Grid->SetGridRowCount(3);
    EXPECT_TRUE(Grid->InsertionRowShown());
    EXPECT_EQ(Grid->RowCount(), 5);
    EXPECT_EQ(Grid->GetGridRowCount(), 3);
}

TEST_F(LayoutCountsReadingTest, FixedCountsIncludeTheRowBarAndHeadingAndStayInsideTheGrid) {
    ShowGrid(6, 5);
    EXPECT_EQ(Grid->FixedColCount(), 0);
    EXPECT_EQ(Grid->FixedCols(), 1);
    EXPECT_EQ(Grid->FixedRows(), 1);
    struct Case {
        int Set, Kept, Internal;
    };
    const Case Cases[] = {{2, 2, 3}, {-1, 2, 3}, {9, 9, 5}, {0, 0, 1}};
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Set);
        Grid->SetFixedRowCount(C.Set);
        EXPECT_EQ(Grid->FixedRowCount(), C.Kept);
        EXPECT_EQ(Grid->FixedRows(), C.Internal);
        int Height = 0;
        for (int r = 0; r < Grid->FixedRows(); ++r) Height += Grid->RowHeights(r);
        EXPECT_EQ(Grid->FixedHeight(), Height);
        EXPECT_GE(Grid->TopRow(), Grid->FixedRows());
    }
    Grid->SetFixedColCount(2);
    EXPECT_EQ(Grid->FixedCols(), 3);
    EXPECT_EQ(Grid->FixedWidth(), Grid->ColWidths(0) + Grid->ColWidths(1) + Grid->ColWidths(2));
    EXPECT_GE(Grid->LeftCol(), 3);
    // Fewer columns than fixed ones: every column but the last one stays fixed.
    Grid->SetGridColCount(2);
    EXPECT_EQ(Grid->FixedCols(), 2);
    EXPECT_EQ(Grid->FixedWidth(), Grid->ColWidths(0) + Grid->ColWidths(1));
    Grid->SetGridColCount(6);
    EXPECT_EQ(Grid->FixedCols(), 3);
    EXPECT_EQ(Grid->FixedWidth(), Grid->ColWidths(0) + Grid->ColWidths(1) + Grid->ColWidths(2));
}

TEST_F(LayoutCountsReadingTest, GridLinesGiveTheLineWidths) {
    ShowGrid(2, 2);
    struct Case {
        TgxGridLines Lines;
        int Horz, Vert;
    };
    const Case Cases[] = {{TgxGridLines::glNone, 0, 0},
                          {TgxGridLines::glHorzLines, 1, 0},
                          {TgxGridLines::glVertLines, 0, 1},
                          {TgxGridLines::glBoth, 1, 1}};
    for (const Case& C : Cases) {
        Grid->SetGridLines(C.Lines);
        EXPECT_EQ(Grid->HorzLineWidth(), C.Horz);
        EXPECT_EQ(Grid->VertLineWidth(), C.Vert);
    }
}

TEST_F(LayoutCountsReadingTest, TheMaximumTopRowShowsTheLastRowWhole) {
    ShowGrid(3, 40);
    // Rows that fit the window: the first scrollable row.
    Grid->SetGridRowCount(3);
    EXPECT_EQ(Grid->GetMaxTopRow(), Grid->FixedRows());
    Grid->SetFixedRowCount(1);
    EXPECT_EQ(Grid->GetMaxTopRow(), 2);
    Grid->SetFixedRowCount(0);
    Grid->SetGridRowCount(40);
    for (int r = 1; r <= 40; ++r) Grid->SetRowHeight(r, r % 3 == 0 ? 37 : 11);
    const int Top = FittingTopRow();
    EXPECT_EQ(Grid->GetMaxTopRow(), Top);
    // The row above grown to end exactly on the client's bottom edge still
    // fits; a pixel more and it does not.
    int Sum = Grid->FixedHeight();
    for (int r = Top; r < Grid->RowCount(); ++r) Sum += Grid->RowHeights(r);
    const int Exact = Grid->ClientHeight() - Sum;
    ASSERT_GT(Exact, 0);
    Grid->SetRowHeight(Grid->GetDataRow(Top - 1), Exact);
    ASSERT_EQ(Grid->RowHeights(Top - 1), Exact);
    EXPECT_EQ(Grid->GetMaxTopRow(), Top - 1);
    Grid->SetRowHeight(Grid->GetDataRow(Top - 1), Exact + 1);
    EXPECT_EQ(Grid->GetMaxTopRow(), Top);
    // A hidden row costs nothing.
    Grid->SetRowVisible(Grid->GetDataRow(Top + 1), false);
    EXPECT_EQ(Grid->GetMaxTopRow(), FittingTopRow());
    // The top row is held to it.
    Grid->SetTopRow(40);
    Grid->CheckTopLeftNow();
    EXPECT_LE(Grid->TopRow(), Grid->GetMaxTopRow());
}

TEST_F(LayoutCountsReadingTest, TheMaximumLeftColumnShowsTheLastColumnWhole) {
    ShowGrid(30, 3);
    int Sum = Grid->FixedWidth() + Grid->ColWidths(30);
    int Left = 30;
    while (Left > Grid->FixedCols() && Sum + Grid->ColWidths(Left - 1) <= Grid->ClientWidth()) {
        --Left;
        Sum += Grid->ColWidths(Left);
    }
    EXPECT_EQ(Grid->GetMaxLeftCol(), Left);
    Grid->SetGridColCount(2);
    EXPECT_EQ(Grid->GetMaxLeftCol(), Grid->FixedCols());
}

TEST_F(LayoutCountsReadingTest, NoWindowNoMaximum) {
    EnsureQtApplication();
    TgxGrid Loose(nullptr);
    Loose.SetGridRowCount(50);
    EXPECT_EQ(Loose.GetMaxTopRow(), 0);
    EXPECT_EQ(Loose.GetMaxLeftCol(), 0);
}

TEST_F(LayoutCountsReadingTest, RowBarAndHeadingAreColumnAndRowZero) {
    ShowGrid(4, 4);
    EXPECT_TRUE(Grid->GetRowBarOn());
    EXPECT_EQ(Grid->GetRowBarWidth(), 14);
    EXPECT_TRUE(Grid->GetHeadingOn());
    EXPECT_EQ(Grid->GetHeadingHeight(), 15);
    const int Col1 = Grid->CellRect(1, 1).Left;
    Grid->SetRowBarOn(false);
    EXPECT_FALSE(Grid->GetRowBarOn());
    EXPECT_FALSE(Grid->GridCols()->GetCol(0)->Visible());
    EXPECT_EQ(Grid->ColCount(), 5);
    EXPECT_EQ(Grid->ColWidths(0), 0);
    EXPECT_LT(Grid->CellRect(1, 1).Left, Col1);
    EXPECT_EQ(Grid->GetDataCol(1), 1);
    Grid->SetHeadingHeight(30);
    EXPECT_EQ(Grid->GetHeadingHeight(), 30);
    EXPECT_EQ(Grid->GetRow(0)->Height(), 30);
    EXPECT_EQ(Grid->RowHeights(0), 30);
    Grid->SetHeadingOn(false);
    EXPECT_EQ(Grid->RowHeights(0), 0);
    Grid->SetRowBarWidth(20);
    Grid->SetRowBarOn(true);
    EXPECT_EQ(Grid->ColWidths(0), 20);
    EXPECT_EQ(Grid->FixedWidth(), 20);
}

TEST_F(LayoutCountsReadingTest, ACountBelowAnEditThatWillNotEndStays) {
    ShowGrid(5, 5);
    Grid->SetFocus();
    Grid->SetCurrentCell(4, 4);
    TypeInCurrentCell();
    ASSERT_TRUE(Grid->CellEditing());
    Grid->OnEndCellEdit = [](TObject*, int, int, bool& Cancel) { Cancel = true; };
    Grid->SetGridColCount(2);
    Grid->SetGridRowCount(2);
    EXPECT_EQ(Grid->GetGridColCount(), 5);
    EXPECT_EQ(Grid->GetGridRowCount(), 5);
    EXPECT_EQ(Grid->Col(), 4);
    EXPECT_EQ(Grid->Row(), 4);
}

TEST_F(LayoutCountsReadingTest, ShrinkingForgetsWhatTheGoneColumnsAndRowsHeld) {
    ShowGrid(5, 5);
    Grid->SetStoreData(true);
    Grid->SetCellValue(5, 5, Variant(AnsiString("corner")));
    Grid->SetCellColor(5, 2, clRed);
    Grid->SetCellColor(2, 5, clBlue);
    Grid->SetCurrentCell(5, 5);
    Grid->SetGridColCount(3);
    Grid->SetGridRowCount(3);
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->Row(), 3);
    Grid->SetGridColCount(5);
    Grid->SetGridRowCount(5);
    EXPECT_EQ(VarToStr(Grid->GetCellValue(5, 5)), "");
    EXPECT_EQ(Grid->GetCellColor(5, 2), clNone);
    EXPECT_EQ(Grid->GetCellColor(2, 5), clNone);
    EXPECT_EQ(Grid->Col(), 3);
}

TEST_F(LayoutCountsReadingTest, InsertingTakesPositionsUpToOnePastTheEnd) {
    ShowGrid(3, 5);
    std::vector<int> InsertedCols, InsertedRows;
    Grid->OnInsertCol = [&](TObject*, int DataCol, bool ByUser) {
        EXPECT_FALSE(ByUser);
        InsertedCols.push_back(DataCol);
    };
    Grid->OnInsertRow = [&](TObject*, int DataRow, bool ByUser) {
        EXPECT_FALSE(ByUser);
        InsertedRows.push_back(DataRow);
    };
    Grid->InsertRow(6);
    EXPECT_EQ(Grid->GetGridRowCount(), 6);
    EXPECT_EQ(Grid->GetDataRow(6), 6);
    Grid->InsertRow(2);
    EXPECT_EQ(Grid->GetGridRowCount(), 7);
    EXPECT_EQ(Grid->GetDataRow(2), 7);
    Grid->InsertCol(1);
    EXPECT_EQ(Grid->GetGridColCount(), 4);
    EXPECT_EQ(Grid->GetDataCol(1), 4);
    EXPECT_EQ(Grid->GetCol(Variant(4))->DisplayCol(), 1);
    EXPECT_EQ(InsertedCols, (std::vector<int>{4}));
    EXPECT_EQ(InsertedRows, (std::vector<int>{6, 7}));
    // One past one past the end: refused and named.
    for (int Kind = 0; Kind < 2; ++Kind) {
        try {
            if (Kind == 0)
                Grid->InsertRow(9);
            else
                Grid->InsertCol(6);
            ADD_FAILURE() << "no error";
        } catch (const EInvalidGridOperation& E) {
            EXPECT_NE(E.Message.find(Kind == 0 ? "Row index 9 out of range"
                                               : "Column index 6 out of range"),
                      AnsiString::npos)
                << E.Message;
        }
    }
    Grid->SetReportInvalidOps(false);
    Grid->InsertRow(0);
    Grid->InsertCol(0);
    EXPECT_EQ(Grid->GetGridRowCount(), 7);
    EXPECT_EQ(Grid->GetGridColCount(), 4);
    EXPECT_EQ(InsertedRows.size(), 2U);
}

TEST_F(LayoutCountsReadingTest, InViewFollowsTheTopLeftCellAndTheWindow) {
    ShowGrid(40, 40);
    Grid->SetFixedColCount(1);
    Grid->SetLeftCol(6);
    Grid->SetTopRow(8);
    const int MaxCol = Grid->MaxVisibleCol();
    const int MaxRow = Grid->MaxVisibleRow();
    struct Case {
        int N;
        bool Col, Row;
    };
    const Case Cases[] = {{0, false, false}, {1, true, false},   {2, false, false},
                          {5, false, false}, {6, true, false},   {8, true, true},
                          {MaxCol, true, MaxCol >= 8 && MaxCol <= MaxRow},
                          {MaxCol + 1, false, MaxCol + 1 >= 8 && MaxCol + 1 <= MaxRow}};
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.N);
        EXPECT_EQ(Grid->ColInView(C.N), C.Col);
        EXPECT_EQ(Grid->RowInView(C.N), C.Row);
    }
    EXPECT_FALSE(Grid->RowInView(MaxRow + 1));
    EXPECT_TRUE(Grid->CellVisible(6, 8));
    EXPECT_TRUE(Grid->CellVisible(1, 8));
    EXPECT_FALSE(Grid->CellVisible(3, 8)); // scrolled out to the left
}

TEST_F(LayoutCountsReadingTest, TopLeftChecksWaitForTheEndOfAFastAssign) {
    ShowGrid(3, 60);
    Grid->SetTopRow(40);
    std::vector<std::pair<int, int>> Moves;
    Grid->OnTopLeftChanged = [&](TObject*, int, int OldRow, int, int NewRow, bool) {
        Moves.emplace_back(OldRow, NewRow);
    };
    Grid->SetFastAssign(true);
    Grid->SetGridRowCount(45);
    Grid->SetTopRow(44);
    EXPECT_TRUE(Moves.empty());
    Grid->SetFastAssign(false);
    EXPECT_LE(Grid->TopRow(), Grid->GetMaxTopRow());
    EXPECT_GE(Grid->TopRow(), Grid->FixedRows());
    ASSERT_EQ(Moves.size(), 1U);
    EXPECT_EQ(Moves[0], std::make_pair(40, Grid->TopRow()));
}

TEST_F(LayoutCountsReadingTest, AGridGrowingFromNoColumnsGetsItsRowBarAndFixedColumnsBack) {
    ShowGrid(4, 4);
    Grid->SetFixedColCount(2);
    Grid->SetFixedRowCount(1);
    Grid->SetGridColCount(0);
    Grid->SetGridRowCount(0);
    EXPECT_EQ(Grid->FixedCols(), 0);
    EXPECT_EQ(Grid->FixedRows(), 0);
    EXPECT_EQ(Grid->ColWidths(0), 14);
    Grid->SetGridColCount(5);
    Grid->SetGridRowCount(5);
    EXPECT_EQ(Grid->FixedCols(), 3);
    EXPECT_EQ(Grid->FixedRows(), 2);
    EXPECT_EQ(Grid->ColWidths(0), 14);
    EXPECT_EQ(Grid->RowHeights(0), 15);
    EXPECT_EQ(Grid->FixedWidth(), 14 + Grid->ColWidths(1) + Grid->ColWidths(2));
    EXPECT_EQ(Grid->FixedHeight(), 15 + Grid->RowHeights(1));
    EXPECT_GE(Grid->LeftCol(), 3);
    EXPECT_GE(Grid->TopRow(), 2);
}

TEST_F(LayoutCountsReadingTest, ACountChangeRepaintsWhatAppearsOrGoes) {
    ShowGrid(5, 5);
    struct Case {
        const char* Name;
        int Cols, Rows;
    };
    // The whole of every column (row) shown or taken away must be painted
    // again: columns 3..5 and rows 3..5 each time.
    const Case Cases[] = {{"fewer columns", 2, 5}, {"more columns", 5, 5},
                          {"fewer rows", 5, 2},    {"more rows", 5, 5}};
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->Update();
        TRect Pending;
        ASSERT_FALSE(Grid->UpdateAreaBounds(Pending));
        const bool ColsChange = C.Cols != Grid->GetGridColCount();
        const TRect Area = ColsChange ? TRect{Grid->CellRect(2, 0).Right + 1, 0,
                                              Grid->CellRect(2, 0).Right + 3 * 64, 60}
                                      : TRect{0, Grid->CellRect(0, 2).Bottom + 1, 60,
                                              Grid->CellRect(0, 2).Bottom + 3 * 16};
        Grid->SetGridColCount(C.Cols);
        Grid->SetGridRowCount(C.Rows);
        ASSERT_TRUE(Grid->UpdateAreaBounds(Pending));
        EXPECT_LE(Pending.Left, Area.Left);
        EXPECT_LE(Pending.Top, Area.Top);
        EXPECT_GE(Pending.Right, std::min(Area.Right, Grid->ClientWidth()));
        EXPECT_GE(Pending.Bottom, std::min(Area.Bottom, Grid->ClientHeight()));
    }
}

TEST_F(LayoutCountsReadingTest, AnEmptyGridThatGetsRowsAndColumnsHasACurrentCellAgain) {
    ShowGrid(0, 0);
    Grid->SetGridColCount(3);
    Grid->SetGridRowCount(4);
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 1);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 1);
    // Rows first, then columns.
    Grid->SetGridRowCount(0);
    Grid->SetGridColCount(0);
    Grid->SetGridRowCount(2);
    Grid->SetGridColCount(2);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 1);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 1);
}

} // namespace
