// Deleting and moving columns and rows through the public calls on a shown
// grid: what moves with them, which events run, and where the current cell
// and the selection end up.
#include "GridEditFixture.h"
#include "ShownGridFixture.h"

#include "grid/model/CellFacade.h"
#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"

#include <QApplication>

#include <functional>
#include <vector>

using namespace grid;

namespace {

class DeleteMoveProbe : public ShownGridFixture {
protected:
    void Fill(int Cols, int Rows) {
        ShowGrid(Cols, Rows);
        Grid->SetStoreData(true);
        for (int C = 1; C <= Cols; ++C)
            for (int R = 1; R <= Rows; ++R) Grid->SetCellValue(C, R, Variant(C * 100 + R));
    }
    int Value(int DataCol, int DataRow) { return Grid->GetCellValue(DataCol, DataRow).AsInteger(); }
    // The data column shown at each display position, 1-based.
    std::vector<int> Order() {
        std::vector<int> O;
        for (int D = 1; D <= Grid->GetGridColCount(); ++D) O.push_back(Grid->GetDataCol(D));
        return O;
    }
    std::vector<int> RowOrder() {
        std::vector<int> O;
        for (int D = 1; D <= Grid->GetGridRowCount(); ++D) O.push_back(Grid->GetDataRow(D));
        return O;
    }
};

TEST_F(DeleteMoveProbe, DeletingColumnsKeepsTheCurrentColumnAndRaisesEventsDownward) {
    Fill(6, 4);
    std::vector<int> Deleted;
    Grid->OnDeleteCol = [&](TObject*, int DataCol, bool ByUser) {
        EXPECT_FALSE(ByUser);
        Deleted.push_back(DataCol);
    };
    Grid->SetCurrentCell(5, 2);
    Grid->DeleteCols(2, 3);
    EXPECT_EQ(Deleted, (std::vector<int>{3, 2}));
    EXPECT_EQ(Grid->GetGridColCount(), 4);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 3);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 2);
    EXPECT_EQ(Value(1, 1), 101);
    EXPECT_EQ(Value(2, 1), 401);
    EXPECT_EQ(Value(3, 2), 502);
    EXPECT_EQ(Value(4, 4), 604);
}

TEST_F(DeleteMoveProbe, ColumnSpanIsClampedOrIgnored) {
    struct Case { int From, To, Left; } Cases[] = {
        {7, 9, 5}, {-3, 0, 5}, {4, 2, 5}, {-1, 1, 4}, {5, 99, 4}};
    for (const Case& C : Cases) {
        Fill(5, 3);
        Grid->DeleteCols(C.From, C.To);
        EXPECT_EQ(Grid->GetGridColCount(), C.Left) << C.From << ".." << C.To;
        TearDown();
    }
    Form = nullptr;
}

using DeleteEditProbe = GridEditFixture;

TEST_F(DeleteEditProbe, VetoedEditOfTheCurrentCellDeletesNothing) {
    using namespace grid;
    LogEvents();
    RefuseCell = true;
    GoTo(2, 2);
    Type("7");
    bool Raised = false;
    Grid->OnDeleteCol = [&](TObject*, int, bool) { Raised = true; };
    Grid->DeleteCols(2, 2);
    EXPECT_EQ(Grid->GetGridColCount(), 4);
    Grid->OnDeleteRow = [&](TObject*, int, bool) { Raised = true; };
    Grid->DeleteRows(2, 2);
    EXPECT_EQ(Grid->GetGridRowCount(), 5);
    EXPECT_FALSE(Raised);
    EXPECT_EQ(EditorText(), "7");
}

TEST_F(DeleteMoveProbe, DeletingRowsRenumbersValuesAndEvents) {
    Fill(3, 6);
    std::vector<int> Deleted;
    Grid->OnDeleteRow = [&](TObject*, int DataRow, bool ByUser) {
        EXPECT_FALSE(ByUser);
        Deleted.push_back(DataRow);
    };
    Grid->SetCurrentCell(2, 5);
    Grid->DeleteRows(2, 3);
    EXPECT_EQ(Deleted, (std::vector<int>{3, 2}));
    EXPECT_EQ(Grid->GetGridRowCount(), 4);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 3);
    EXPECT_EQ(Value(1, 2), 104);
    EXPECT_EQ(Value(3, 4), 306);
}

TEST_F(DeleteMoveProbe, DeletingTheLastRowOfAnInsertGridShowsTheInsertionRow) {
    Fill(3, 4);
    Grid->SetGridMode(gmEditInsert);
    Grid->DeleteRows(4, 4);
    EXPECT_EQ(Grid->GetGridRowCount(), 3);
    EXPECT_TRUE(Grid->InsertionRowShown());
    Grid->DeleteRows(1, 3);
    EXPECT_EQ(Grid->GetGridRowCount(), 0);
    EXPECT_TRUE(Grid->InsertionRowShown());
}

TEST_F(DeleteMoveProbe, DeletingSelectedColumnsAndRows) {
    Fill(6, 6);
    Grid->SetColSelectMode(csMulti);
    Grid->SetRowSelectMode(rsMulti);
    std::vector<int> Deleted;
    Grid->OnDeleteCol = [&](TObject*, int DataCol, bool) { Deleted.push_back(DataCol); };
    Grid->SetCurrentCell(4, 1);
    Grid->SelectCols(2, 2, true);
    Grid->SelectCols(4, 4, true);
    Grid->DeleteSelectedCols();
    EXPECT_EQ(Deleted, (std::vector<int>{4, 2}));
    EXPECT_EQ(Grid->GetGridColCount(), 4);
    EXPECT_EQ(Value(2, 1), 301);
    EXPECT_EQ(Value(3, 1), 501);
    EXPECT_TRUE(Grid->ColRangeUnselected(1, 4));
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_GE(Grid->GetCurrentDataCol(), 1);
    EXPECT_LE(Grid->GetCurrentDataCol(), 4);

    Grid->SetCurrentCell(1, 3);
    Grid->SelectRows(3, 4, true);
    Grid->DeleteSelectedRows();
    EXPECT_EQ(Grid->GetGridRowCount(), 4);
    EXPECT_EQ(Value(1, 3), 105);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 3);
    EXPECT_TRUE(Grid->RowRangeUnselected(1, 4));
    EXPECT_EQ(Grid->GridStatus(), grNormal);
}

TEST_F(DeleteMoveProbe, NothingSelectedDeletesNothing) {
    Fill(4, 4);
    Grid->DeleteSelectedCols();
    Grid->DeleteSelectedRows();
    EXPECT_EQ(Grid->GetGridColCount(), 4);
    EXPECT_EQ(Grid->GetGridRowCount(), 4);
}

TEST_F(DeleteMoveProbe, MovingSelectedColumnsGathersThemIntoABlock) {
    Fill(8, 3);
    Grid->SetColSelectMode(csMulti);
    int MovedTo = 0, MovedCount = 0;
    bool MovedByUser = false;
    Grid->OnColMoved = [&](TObject*, int To, int Count, bool ByUser) {
        MovedTo = To;
        MovedCount = Count;
        MovedByUser = ByUser;
    };
    Grid->SelectCols(2, 2, true);
    Grid->SelectCols(7, 7, true);
    Grid->MoveColRange(2, 5);
    EXPECT_EQ(Order(), (std::vector<int>{1, 3, 4, 5, 2, 7, 6, 8}));
    EXPECT_EQ(MovedTo, 5);
    EXPECT_EQ(MovedCount, 2);
    EXPECT_TRUE(MovedByUser);
    EXPECT_TRUE(Grid->ColRangeSelected(5, 6));
    EXPECT_TRUE(Grid->ColRangeUnselected(1, 4));
    EXPECT_TRUE(Grid->ColRangeUnselected(7, 8));
    EXPECT_EQ(Grid->GridCols()->GetCol(2)->DisplayCol(), 5);
}

TEST_F(DeleteMoveProbe, MovingOneColumnTakesItsWidth) {
    Fill(5, 3);
    Grid->GridCols()->GetCol(2)->SetWidth(40);
    Grid->GridCols()->GetCol(4)->SetWidth(90);
    int MovedTo = 0, MovedCount = 0;
    Grid->OnColMoved = [&](TObject*, int To, int Count, bool) { MovedTo = To, MovedCount = Count; };
    Grid->MoveColRange(2, 4);
    EXPECT_EQ(Order(), (std::vector<int>{1, 3, 4, 2, 5}));
    EXPECT_EQ(MovedTo, 4);
    EXPECT_EQ(MovedCount, 1);
    EXPECT_EQ(Grid->CellRect(3, 1).Width() - Grid->CellRect(4, 1).Width(), 90 - 40);
    Grid->MoveColRange(3, 3);
    EXPECT_EQ(Order(), (std::vector<int>{1, 3, 4, 2, 5}));
    Grid->RefreshData(roCols, rpLeft);
    EXPECT_EQ(Order(), (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST_F(DeleteMoveProbe, ManySelectedColumnsMoveLikeOneByOne) {
    Fill(320, 2);
    Grid->SetColSelectMode(csMulti);
    std::vector<int> Rest;
    std::vector<int> Sel;
    for (int C = 1; C <= 320; ++C) {
        if (C % 2 == 0 && C <= 300) {
            Grid->SelectCols(C, C, true);
            Sel.push_back(C);
        } else {
            Rest.push_back(C);
        }
    }
    ASSERT_EQ(Sel.size(), 150u);
    // Dragging column 100 (selected) left onto 41: the first selected column
    // at or right of 41 lands on 41, those left of it packed before it.
    Grid->MoveColRange(100, 41);
    // Selected columns before 41: 2..40 step 2 = 20 of them, packed at 21..40.
    int BlockStart = 41 - 20;
    std::vector<int> Result;
    int RestIdx = 0;
    for (int D = 1; D <= 320; ++D) {
        if (D >= BlockStart && D < BlockStart + 150)
            Result.push_back(Sel[D - BlockStart]);
        else
            Result.push_back(Rest[RestIdx++]);
    }
    EXPECT_EQ(Order(), Result);
    EXPECT_TRUE(Grid->ColRangeSelected(BlockStart, BlockStart + 149));
    EXPECT_EQ(Grid->DiffSelectedCols(BlockStart + 150, BlockStart), 149);
}

TEST_F(DeleteMoveProbe, MovingRowsRaisesRowMovedAndKeepsTheCurrentRecord) {
    Fill(3, 8);
    Grid->SetRowSelectMode(rsMulti);
    int MovedTo = 0, MovedCount = 0;
    Grid->OnRowMoved = [&](TObject*, int To, int Count, bool) { MovedTo = To, MovedCount = Count; };
    Grid->SetCurrentCell(1, 6);
    Grid->MoveRowRange(6, 2);
    EXPECT_EQ(RowOrder(), (std::vector<int>{1, 6, 2, 3, 4, 5, 7, 8}));
    EXPECT_EQ(MovedTo, 2);
    EXPECT_EQ(MovedCount, 1);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 6);
    Grid->SelectRows(3, 3, true);
    Grid->SelectRows(8, 8, true);
    Grid->MoveRowRange(8, 5);
    // Upward: the first selected row at or below 5 lands on 5, the one
    // above is packed right before it.
    EXPECT_EQ(RowOrder(), (std::vector<int>{1, 6, 3, 2, 8, 4, 5, 7}));
    EXPECT_EQ(MovedTo, 4);
    EXPECT_EQ(MovedCount, 2);
    EXPECT_TRUE(Grid->RowRangeSelected(4, 5));
}

}  // namespace

namespace {

TEST_F(DeleteMoveProbe, ScreenAfterDeletingAndMovingMatchesAFullRepaint) {
    Fill(6, 8);
    Grid->SetColSelectMode(csMulti);
    Grid->SetRowSelectMode(rsMulti);
    auto Shot = [&] {
        QApplication::processEvents();
        return Grid->Widget()->grab().toImage();
    };
    struct Step { const char* What; std::function<void(grid::TgxGrid*)> Do; } Steps[] = {
        {"delete col 2", [](grid::TgxGrid* G) { G->DeleteCols(2, 2); }},
        {"delete rows 3..4", [](grid::TgxGrid* G) { G->DeleteRows(3, 4); }},
        {"move col 1 to 3", [](grid::TgxGrid* G) { G->MoveColRange(1, 3); }},
        {"move row 5 to 1", [](grid::TgxGrid* G) { G->MoveRowRange(5, 1); }},
        {"delete selected cols", [](grid::TgxGrid* G) { G->SelectCols(2, 2, true); G->DeleteSelectedCols(); }},
        {"delete selected rows", [](grid::TgxGrid* G) { G->SelectRows(2, 2, true); G->DeleteSelectedRows(); }},
    };
    for (const Step& S : Steps) {
        S.Do(Grid);
        QImage Now = Shot();
        Grid->Invalidate();
        Grid->Update();
        EXPECT_TRUE(Now == Shot()) << S.What;
    }
}

TEST_F(DeleteMoveProbe, DeletedColumnTakesItsWidthAlong) {
    Fill(5, 3);
    Grid->GridCols()->GetCol(3)->SetWidth(90);
    Grid->GridCols()->GetCol(4)->SetWidth(40);
    Grid->GridCols()->GetCol(5)->SetVisible(false);
    Grid->DeleteCols(2, 2);
    EXPECT_EQ(Grid->CellRect(2, 1).Width() - Grid->CellRect(3, 1).Width(), 90 - 40);
    EXPECT_FALSE(Grid->GridCols()->GetCol(4)->Visible());
    EXPECT_EQ(Grid->CellRect(4, 1).Width(), 0);
}

TEST_F(DeleteMoveProbe, SelectedInsertionRowIsNotDeleted) {
    Fill(3, 4);
    Grid->SetGridMode(gmEditInsert);
    Grid->SetRowSelectMode(rsMulti);
    ASSERT_TRUE(Grid->InsertionRowShown());
    Grid->SetCurrentCell(1, 4);
    Grid->SelectRows(4, 5, true);
    Grid->DeleteSelectedRows();
    EXPECT_EQ(Grid->GetGridRowCount(), 3);
    EXPECT_TRUE(Grid->InsertionRowShown());
    EXPECT_EQ(Grid->GetCurrentDataRow(), 3) << "one higher than the insertion row";
    Grid->SelectRows(4, 4, true);
    Grid->DeleteSelectedRows();
    EXPECT_EQ(Grid->GetGridRowCount(), 3);
}

}  // namespace

namespace {

TEST_F(DeleteMoveProbe, CellPropertiesAndChangedRowsFollowTheDeletion) {
    Fill(5, 6);
    grid::TgxCell(Grid, 4, 2).SetColor(clRed);
    grid::TgxCell(Grid, 2, 5).SetColor(clBlue);
    Grid->SetRowChanged(5, true);
    Grid->DeleteCols(2, 2);
    EXPECT_EQ(grid::TgxCell(Grid, 3, 2).Color(), clRed);
    EXPECT_NE(grid::TgxCell(Grid, 4, 2).Color(), clRed);
    EXPECT_NE(grid::TgxCell(Grid, 2, 5).Color(), clBlue) << "the deleted column's cells went";
    Grid->DeleteRows(1, 1);
    EXPECT_EQ(grid::TgxCell(Grid, 3, 1).Color(), clRed);
    EXPECT_TRUE(Grid->GetRowChanged(4));
    EXPECT_FALSE(Grid->GetRowChanged(5));
    QApplication::processEvents();
    QImage Img = Grid->Widget()->grab().toImage();
    TRect R = Grid->CellRect(3, 1);
    EXPECT_EQ(QColor(Img.pixel(R.Left + 2, R.Bottom - 2)), QColor(Qt::red));
}

TEST_F(DeleteMoveProbe, MovingKeepsTheCurrentColumnAndRefreshDataPutsItBack) {
    Fill(6, 40);
    Grid->SetCurrentCell(3, 2);
    Grid->MoveColRange(3, 5);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 3);
    EXPECT_EQ(Grid->GetDisplayCol(3), 5);
    Grid->MoveColRange(6, 2);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 3);
    EXPECT_EQ(Grid->GetDisplayCol(3), 6);
    Grid->MoveRowRange(2, 7);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 2);
    Grid->SetTopRow(20);
    Grid->RefreshData(roBoth, rpTop);
    EXPECT_EQ(Order(), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(RowOrder()[6], 7);
    EXPECT_EQ(Grid->TopRow(), 1);
}

}  // namespace

namespace {

TEST_F(DeleteMoveProbe, CurrentInsertionRowStaysTheInsertionRow) {
    Fill(3, 4);
    Grid->SetGridMode(gmEditInsert);
    ASSERT_TRUE(Grid->InsertionRowShown());
    Grid->SetCurrentCell(2, 5);
    ASSERT_TRUE(Grid->HoldsInsertRow(5));
    // The entered insertion row counts among the rows until it is left.
    const int Rows = Grid->GetGridRowCount();
    Grid->DeleteRows(1, 1);
    EXPECT_EQ(Grid->GetGridRowCount(), Rows - 1);
    int Row = Grid->GetDisplayRow(Grid->GetCurrentDataRow());
    EXPECT_EQ(Row, 4);
    EXPECT_TRUE(Grid->HoldsInsertRow(Row));
    EXPECT_EQ(Value(1, 1), 102);

    Grid->SetRowSelectMode(rsMulti);
    Grid->SelectRows(1, 4, true);
    Grid->MoveRowRange(1, 3);
    EXPECT_TRUE(Grid->HoldsInsertRow(4));
    EXPECT_EQ(Grid->GetGridRowCount(), Rows - 1);
}

}  // namespace
