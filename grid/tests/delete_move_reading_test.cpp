// Deleting data columns and rows, and moving display columns and rows, on a
// shown grid: what follows the deleted and moved columns, the events, and
// where the current cell ends up.
#include "ShownGridFixture.h"

#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"
#include "platform/gui/QtApp.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <functional>
#include <utility>
#include <vector>

using namespace grid;

namespace {

class DeleteMoveReadingTest : public ShownGridFixture {
protected:
    // A grid of Cols x Rows whose cell (c, r) holds "c.r".
    void ShowFilled(int Cols, int Rows) {
        ShowGrid(Cols, Rows);
        Grid->SetStoreData(true);
        for (int c = 1; c <= Cols; ++c)
            for (int r = 1; r <= Rows; ++r)
                Grid->SetCellValue(c, r, Variant(Text(c, r)));
    }
    static AnsiString Text(int c, int r) {
        return AnsiString(std::to_string(c).c_str()) + "." + std::to_string(r).c_str();
    }
    AnsiString Value(int c, int r) { return VarToStr(Grid->GetCellValue(c, r)); }
    // The data column shown at each display position 1 .. Cols.
    std::vector<int> ColOrder() const {
        std::vector<int> Order;
        for (int p = 1; p <= Grid->GetGridColCount(); ++p) Order.push_back(Grid->GetDataCol(p));
        return Order;
    }
    std::vector<int> RowOrder() const {
        std::vector<int> Order;
        for (int p = 1; p <= Grid->GetGridRowCount(); ++p) Order.push_back(Grid->GetDataRow(p));
        return Order;
    }
    void RecordDeletes() {
        Grid->OnDeleteCol = [this](TObject*, int DataCol, bool ByUser) {
            Deleted.push_back(DataCol);
            ByUserSeen = ByUserSeen || ByUser;
        };
        Grid->OnDeleteRow = [this](TObject*, int DataRow, bool ByUser) {
            Deleted.push_back(DataRow);
            ByUserSeen = ByUserSeen || ByUser;
        };
    }
    std::vector<int> Deleted;
    bool ByUserSeen = false;
};

// Where the block of selected positions lands when the selection is dragged
// from From to To: the order of the other columns stays, the selected ones
// sit together in their former order.
std::vector<int> ExpectedBlockMove(std::vector<int> Order, const std::vector<int>& Selected,
                                   int From, int To) {
    std::vector<int> Block, Rest;
    for (int p = 1; p <= static_cast<int>(Order.size()); ++p) {
        bool Sel = false;
        for (int s : Selected) Sel = Sel || s == p;
        (Sel ? Block : Rest).push_back(Order[static_cast<std::size_t>(p - 1)]);
    }
    int Before = 0; // selected positions that end up left of To
    for (int s : Selected)
        if (To < From ? s < To : s <= To) ++Before;
    const int Start = To < From ? To - Before : To - Before + 1;
    std::vector<int> Result(Rest.begin(), Rest.begin() + (Start - 1));
    Result.insert(Result.end(), Block.begin(), Block.end());
    Result.insert(Result.end(), Rest.begin() + (Start - 1), Rest.end());
    return Result;
}

TEST_F(DeleteMoveReadingTest, DeletingColumnsBeforeTheCurrentOneKeepsItsCellAndReportsBackwards) {
    ShowFilled(6, 3);
    Grid->SetCurrentCell(5, 2);
    RecordDeletes();
    Grid->DeleteCols(2, 3);
    EXPECT_EQ(Grid->GetGridColCount(), 4);
    EXPECT_EQ(Deleted, (std::vector<int>{3, 2}));
    EXPECT_FALSE(ByUserSeen);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 3);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 2);
    // The values renumber with their columns.
    EXPECT_EQ(Value(1, 1), "1.1");
    EXPECT_EQ(Value(2, 1), "4.1");
    EXPECT_EQ(Value(3, 3), "5.3");
    EXPECT_EQ(Value(4, 2), "6.2");
}

TEST_F(DeleteMoveReadingTest, DeleteRangesAreClampedToTheGrid) {
    struct Case {
        int From, To;
        std::vector<int> Reported;
    };
    const Case Cases[] = {
        {0, 2, {2, 1}}, {5, 99, {6, 5}}, {7, 9, {}}, {3, 2, {}}, {-3, 0, {}},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(std::to_string(C.From) + ".." + std::to_string(C.To));
        ShowFilled(6, 6);
        RecordDeletes();
        Grid->DeleteCols(C.From, C.To);
        EXPECT_EQ(Deleted, C.Reported);
        EXPECT_EQ(Grid->GetGridColCount(), 6 - static_cast<int>(C.Reported.size()));
        Deleted.clear();
        Grid->DeleteRows(C.From, C.To);
        EXPECT_EQ(Deleted, C.Reported);
        EXPECT_EQ(Grid->GetGridRowCount(), 6 - static_cast<int>(C.Reported.size()));
        Deleted.clear();
        delete Form;
        Form = nullptr;
    }
}

TEST_F(DeleteMoveReadingTest, AVetoedEndOfEditOnTheCurrentColumnDeletesNothing) {
    ShowFilled(4, 3);
    Grid->SetFocus();
    Grid->SetCurrentCell(2, 2);
    QKeyEvent Press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(Grid->Widget(), &Press);
    QKeyEvent Release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(Grid->Widget(), &Release);
    ASSERT_TRUE(Grid->CellEditing());
    int Asked = 0;
    Grid->OnEndCellEdit = [&](TObject*, int, int, bool& Cancel) {
        ++Asked;
        Cancel = true;
    };
    RecordDeletes();
    Grid->DeleteCols(1, 2);
    EXPECT_GE(Asked, 1);
    EXPECT_EQ(Grid->GetGridColCount(), 4);
    EXPECT_TRUE(Deleted.empty());
    EXPECT_EQ(Value(2, 2), "2.2");
}

TEST_F(DeleteMoveReadingTest, CellPropertiesAndWidthsFollowTheirColumn) {
    ShowFilled(6, 3);
    Grid->SetCellColor(4, 1, clRed);
    Grid->GetCol(Variant(3))->SetWidth(40);
    Grid->GetCol(Variant(5))->SetVisible(false);
    Grid->DeleteCols(2, 2);
    EXPECT_EQ(Grid->GetCellColor(3, 1), clRed);
    EXPECT_EQ(Grid->GetCellColor(4, 1), clNone);
    EXPECT_EQ(Grid->GetCol(Variant(2))->Width(), 40);
    EXPECT_EQ(Grid->ColWidths(2), 40);
    EXPECT_FALSE(Grid->GetCol(Variant(4))->Visible());
    EXPECT_EQ(Grid->ColWidths(4), 0);
    EXPECT_GT(Grid->ColWidths(5), 0);
}

TEST_F(DeleteMoveReadingTest, DeletingRowsCarriesTheChangedMarksAndReportsEachRow) {
    ShowFilled(3, 6);
    Grid->SetRowChanged(4, true);
    Grid->SetCurrentCell(1, 5);
    RecordDeletes();
    Grid->DeleteRows(1, 2);
    EXPECT_EQ(Deleted, (std::vector<int>{2, 1}));
    EXPECT_FALSE(ByUserSeen);
    EXPECT_EQ(Grid->GetGridRowCount(), 4);
    EXPECT_TRUE(Grid->GetRowChanged(2));
    EXPECT_FALSE(Grid->GetRowChanged(4));
    EXPECT_EQ(Grid->GetCurrentDataRow(), 3);
    EXPECT_EQ(Value(2, 1), "2.3");
}

TEST_F(DeleteMoveReadingTest, DeletingTheLastRowOfAnInsertGridLeavesTheInsertionRow) {
    ShowFilled(3, 3);
    Grid->SetGridMode(TgxGridMode::gmEditInsert);
    ASSERT_TRUE(Grid->InsertionRowShown());
    Grid->DeleteRows(3, 3);
    EXPECT_EQ(Grid->GetGridRowCount(), 2);
    EXPECT_TRUE(Grid->InsertionRowShown());
    EXPECT_EQ(Grid->RowCount(), 4);
    EXPECT_EQ(Value(1, 3), "");
}

TEST_F(DeleteMoveReadingTest, DeletingSelectedColumnsMovesTheCurrentCellAndEndsTheSelection) {
    ShowFilled(6, 3);
    Grid->SetCurrentCell(4, 1);
    Grid->SelectCols(2, 2, true);
    Grid->ColSelection().SetSelected(4, true);
    RecordDeletes();
    Grid->DeleteSelectedCols();
    EXPECT_EQ(Deleted, (std::vector<int>{4, 2}));
    EXPECT_EQ(Grid->GetGridColCount(), 4);
    EXPECT_EQ(Grid->ColSelection().Count(), 0);
    EXPECT_EQ(Value(2, 1), "3.1");
    EXPECT_EQ(Value(3, 1), "5.1");
    EXPECT_GE(Grid->GetCurrentDataCol(), 1);
    EXPECT_LE(Grid->GetCurrentDataCol(), 4);
}

TEST_F(DeleteMoveReadingTest, ASelectedInsertionRowIsNeverDeleted) {
    ShowFilled(3, 4);
    Grid->SetGridMode(TgxGridMode::gmEditInsert);
    ASSERT_TRUE(Grid->InsertionRowShown());
    const int InsertRow = Grid->RowCount() - 1;
    Grid->RowSelection().SetSelected(InsertRow, true);
    RecordDeletes();
    Grid->DeleteSelectedRows();
    EXPECT_TRUE(Deleted.empty());
    EXPECT_EQ(Grid->GetGridRowCount(), 4);
    Grid->RowSelection().SetSelected(2, true);
    Grid->DeleteSelectedRows();
    EXPECT_EQ(Deleted, (std::vector<int>{2}));
    EXPECT_EQ(Grid->GetGridRowCount(), 3);
    EXPECT_TRUE(Grid->InsertionRowShown());
}

TEST_F(DeleteMoveReadingTest, ASelectedBlockLandsTogetherWhereItIsDropped) {
    struct Case {
        std::vector<int> Selected;
        int From, To;
    };
    const Case Cases[] = {
        {{2, 7}, 2, 5}, {{2, 7}, 7, 3}, {{}, 2, 5}, {{}, 6, 2}, {{1, 4, 8}, 4, 6}, {{3, 5}, 5, 1},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(std::to_string(C.From) + "->" + std::to_string(C.To));
        ShowGrid(8, 2);
        for (int s : C.Selected) Grid->ColSelection().SetSelected(s, true);
        std::vector<std::pair<int, int>> Moved;
        Grid->OnColMoved = [&](TObject*, int To, int Count, bool ByUser) {
            EXPECT_TRUE(ByUser);
            Moved.emplace_back(To, Count);
        };
        const std::vector<int> Sel =
            C.Selected.empty() ? std::vector<int>{C.From} : C.Selected;
        const auto Expected = ExpectedBlockMove(ColOrder(), Sel, C.From, C.To);
        Grid->MoveColRange(C.From, C.To);
        EXPECT_EQ(ColOrder(), Expected);
        ASSERT_EQ(Moved.size(), 1U);
        const int Count = static_cast<int>(Sel.size());
        int First = 0;
        for (int p = 1; p <= 8; ++p)
            if (Expected[static_cast<std::size_t>(p - 1)] == Sel.front()) First = p;
        EXPECT_EQ(Moved[0], std::make_pair(C.Selected.empty() ? C.To : First, Count));
        if (!C.Selected.empty()) {
            EXPECT_EQ(Grid->ColSelection().First(), First);
            EXPECT_EQ(Grid->ColSelection().Last(), First + Count - 1);
        }
        for (int p = 1; p <= 8; ++p)
            EXPECT_EQ(Grid->GetCol(Variant(Grid->GetDataCol(p)))->DisplayCol(), p);
        delete Form;
        Form = nullptr;
    }
}

TEST_F(DeleteMoveReadingTest, MovingToTheSamePlaceDoesNothing) {
    ShowGrid(5, 2);
    int Moves = 0;
    Grid->OnColMoved = [&](TObject*, int, int, bool) { ++Moves; };
    Grid->OnRowMoved = [&](TObject*, int, int, bool) { ++Moves; };
    Grid->MoveColRange(3, 3);
    Grid->MoveRowRange(1, 1);
    EXPECT_EQ(Moves, 0);
    EXPECT_EQ(ColOrder(), (std::vector<int>{1, 2, 3, 4, 5}));
}

TEST_F(DeleteMoveReadingTest, ALargeSelectionMovesAsASmallOneWouldAndKeepsTheVisibleList) {
    for (int Count : {60, 150}) {
        SCOPED_TRACE(Count);
        ShowGrid(400, 2);
        Grid->GetCol(Variant(11))->SetVisible(false);
        Grid->GetCol(Variant(300))->SetVisible(false);
        std::vector<int> Sel;
        for (int i = 0; i < Count; ++i) Sel.push_back(10 + 2 * i);
        for (int s : Sel) Grid->ColSelection().SetSelected(s, true);
        const auto Expected = ExpectedBlockMove(ColOrder(), Sel, 10, 330);
        Grid->MoveColRange(10, 330);
        EXPECT_EQ(ColOrder(), Expected);
        // The visible list names exactly the display positions of the
        // columns not hidden, in order.
        std::vector<int> Shown;
        for (int p = 1; p <= 400; ++p)
            if (Grid->GetCol(Variant(Grid->GetDataCol(p)))->Visible()) Shown.push_back(p);
        ASSERT_EQ(Grid->VisibleCols().Count(), static_cast<int>(Shown.size()));
        for (int i = 0; i < static_cast<int>(Shown.size()); ++i)
            EXPECT_EQ(Grid->VisibleCols().GetItem(i + 1), Shown[static_cast<std::size_t>(i)]);
        delete Form;
        Form = nullptr;
    }
}

TEST_F(DeleteMoveReadingTest, RowBlocksMoveLikeColumnBlocks) {
    ShowFilled(2, 8);
    Grid->RowSelection().SetSelected(2, true);
    Grid->RowSelection().SetSelected(7, true);
    std::vector<std::pair<int, int>> Moved;
    Grid->OnRowMoved = [&](TObject*, int To, int Count, bool) { Moved.emplace_back(To, Count); };
    Grid->MoveRowRange(2, 5);
    EXPECT_EQ(RowOrder(), (std::vector<int>{1, 3, 4, 5, 2, 7, 6, 8}));
    ASSERT_EQ(Moved.size(), 1U);
    EXPECT_EQ(Moved[0], std::make_pair(5, 2));
    EXPECT_EQ(Grid->RowSelection().First(), 5);
    EXPECT_EQ(Grid->RowSelection().Last(), 6);
}

TEST_F(DeleteMoveReadingTest, RefreshDataPutsTheOrderBackAndScrollsHome) {
    ShowGrid(30, 40);
    Grid->SetFixedColCount(1);
    Grid->MoveColRange(3, 6);
    Grid->MoveRowRange(2, 9);
    Grid->SetLeftCol(10);
    Grid->SetTopRow(12);
    Grid->RefreshData(TgxResetOrder::roCols, TgxResetPosition::rpLeft);
    std::vector<int> Identity;
    for (int c = 1; c <= 30; ++c) Identity.push_back(c);
    EXPECT_EQ(ColOrder(), Identity);
    EXPECT_NE(RowOrder()[1], 2);
    EXPECT_EQ(Grid->LeftCol(), 2);
    EXPECT_EQ(Grid->TopRow(), 12);
    Grid->RefreshData(TgxResetOrder::roBoth, TgxResetPosition::rpTopLeft);
    EXPECT_EQ(RowOrder()[1], 2);
    EXPECT_EQ(Grid->TopRow(), 1);
}

TEST_F(DeleteMoveReadingTest, DiffSelectedCountsTheSelectionBetweenTwoPlaces) {
    ShowGrid(10, 10);
    for (int p : {2, 4, 5, 9}) {
        Grid->ColSelection().SetSelected(p, true);
        Grid->RowSelection().SetSelected(p, true);
    }
    const int Cases[][3] = {{6, 3, 2}, {9, 4, 2}, {1, 6, -3}, {4, 4, 0}, {3, 2, 0}};
    for (const auto& C : Cases) {
        EXPECT_EQ(Grid->DiffSelectedCols(C[0], C[1]), C[2]) << C[0] << "," << C[1];
        EXPECT_EQ(Grid->DiffSelectedRows(C[0], C[1]), C[2]) << C[0] << "," << C[1];
    }
}

TEST_F(DeleteMoveReadingTest, ADeletedCurrentColumnHandsTheCellToTheColumnNowInItsPlace) {
    ShowFilled(6, 3);
    Grid->SetCurrentCell(3, 2);
    Grid->DeleteCols(3, 4);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 3);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 2);
    EXPECT_EQ(VarToStr(Grid->GetCellValue(Grid->GetCurrentDataCol(), 2)), "5.2");
    // The last columns: the cell goes to the one left of them.
    Grid->SetCurrentCell(4, 1);
    Grid->DeleteCols(3, 4);
    EXPECT_EQ(Grid->GetGridColCount(), 2);
    EXPECT_GE(Grid->GetCurrentDataCol(), 1);
    EXPECT_LE(Grid->GetCurrentDataCol(), 2);
}

TEST_F(DeleteMoveReadingTest, DeletingAColumnWithHiddenOnesKeepsTheVisibleListTrue) {
    ShowFilled(8, 2);
    Grid->GetCol(Variant(3))->SetVisible(false);
    Grid->GetCol(Variant(6))->SetVisible(false);
    Grid->DeleteCols(2, 2);
    Grid->DeleteSelectedCols(); // nothing selected: nothing happens
    ASSERT_EQ(Grid->GetGridColCount(), 7);
    std::vector<int> Shown, Listed;
    for (int p = 1; p <= 7; ++p)
        if (Grid->GetCol(Variant(Grid->GetDataCol(p)))->Visible()) Shown.push_back(p);
    for (int i = 1; i <= Grid->VisibleCols().Count(); ++i)
        Listed.push_back(Grid->VisibleCols().GetItem(i));
    EXPECT_EQ(Listed, Shown);
    EXPECT_EQ(Shown, (std::vector<int>{1, 3, 4, 6, 7}));
}

TEST_F(DeleteMoveReadingTest, ADeletedSelectedCurrentRowMovesToTheRowTakingItsPlace) {
    ShowFilled(3, 5);
    Grid->SetGridMode(TgxGridMode::gmEditInsert);
    Grid->SetCurrentCell(1, 3);
    Grid->RowSelection().SetSelected(3, true);
    Grid->DeleteSelectedRows();
    EXPECT_EQ(Grid->GetGridRowCount(), 4);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 3);
    EXPECT_EQ(Value(1, 3), "1.4");
    // The last data row: the row taking its place is the insertion row, so
    // the cell goes one higher.
    Grid->SetCurrentCell(1, 4);
    Grid->RowSelection().SetSelected(4, true);
    Grid->DeleteSelectedRows();
    EXPECT_EQ(Grid->GetGridRowCount(), 3);
    EXPECT_TRUE(Grid->InsertionRowShown());
    EXPECT_EQ(Grid->GetCurrentDataRow(), 3);
}

TEST_F(DeleteMoveReadingTest, AnEnteredInsertionRowStaysTheLastRowWhenOthersGo) {
    for (bool BySelection : {false, true}) {
        SCOPED_TRACE(BySelection ? "selected rows" : "rows by number");
        ShowFilled(3, 4);
        Grid->SetGridMode(TgxGridMode::gmEditInsert);
        Grid->SetFocus();
        Grid->SetCurrentCell(1, 4);
        QKeyEvent Down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(Grid->Widget(), &Down);
        ASSERT_EQ(Grid->Row(), 5);
        ASSERT_TRUE(Grid->HoldsInsertRow(Grid->Row()));
        // Entered, the insertion row became the grid's last data row; no
        // fresh one shows below it while nothing is typed.
        const int Rows = Grid->GetGridRowCount();
        if (BySelection) {
            Grid->RowSelection().SetSelected(1, true);
            Grid->RowSelection().SetSelected(2, true);
            Grid->DeleteSelectedRows();
        } else {
            Grid->DeleteRows(1, 2);
        }
        EXPECT_EQ(Grid->GetGridRowCount(), Rows - 2);
        EXPECT_EQ(Grid->RowCount(), Rows - 2 + 1);
        EXPECT_TRUE(Grid->HoldsInsertRow(Grid->Row()));
        EXPECT_EQ(Grid->Row(), Grid->RowCount() - 1);
        delete Form;
        Form = nullptr;
    }
}

TEST_F(DeleteMoveReadingTest, MovingRowsOfAnInsertGridLeavesTheInsertionRowUnselected) {
    ShowFilled(2, 5);
    Grid->SetGridMode(TgxGridMode::gmEditInsert);
    const int InsertRow = Grid->RowCount() - 1;
    Grid->RowSelection().SetSelected(2, true);
    Grid->RowSelection().SetSelected(InsertRow, true);
    Grid->MoveRowRange(2, 4);
    EXPECT_FALSE(Grid->RowSelection().GetSelected(InsertRow));
    EXPECT_EQ(RowOrder(), (std::vector<int>{1, 3, 4, 2, 5}));
    EXPECT_EQ(Grid->RowSelection().Count(), 1);
}

TEST_F(DeleteMoveReadingTest, RefreshDataClearsTheEditBuffer) {
    ShowFilled(3, 3);
    Grid->SetFocus();
    Grid->SetCurrentCell(2, 2);
    QKeyEvent Press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(Grid->Widget(), &Press);
    ASSERT_TRUE(Grid->CurrentCell()->ValueSet(2, 2));
    Grid->RefreshData(TgxResetOrder::roNone, TgxResetPosition::rpNone);
    EXPECT_FALSE(Grid->CurrentCell()->ValueSet(2, 2));
    EXPECT_EQ(Value(2, 2), "2.2");
}

TEST_F(DeleteMoveReadingTest, DeletingAndMovingRepaintFromTheFirstChangedColumnOn) {
    ShowFilled(5, 5);
    struct Case {
        const char* Name;
        std::function<void()> Change;
        int FirstCol, FirstRow;
    };
    const Case Cases[] = {
        {"delete column 3", [&] { Grid->DeleteCols(3, 3); }, 3, 1},
        {"delete row 2", [&] { Grid->DeleteRows(2, 2); }, 1, 2},
        {"move column 1 to 2", [&] { Grid->MoveColRange(1, 2); }, 1, 1},
        {"move row 3 to 1", [&] { Grid->MoveRowRange(3, 1); }, 1, 1},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->Update();
        TRect Pending;
        ASSERT_FALSE(Grid->UpdateAreaBounds(Pending));
        const TRect From = Grid->CellRect(C.FirstCol, C.FirstRow);
        C.Change();
        ASSERT_TRUE(Grid->UpdateAreaBounds(Pending));
        EXPECT_LE(Pending.Left, From.Left);
        EXPECT_LE(Pending.Top, From.Top);
        EXPECT_GE(Pending.Right, Grid->CellRect(Grid->GetGridColCount(), 1).Right);
        EXPECT_GE(Pending.Bottom, Grid->CellRect(1, Grid->GetGridRowCount()).Bottom);
    }
}

TEST_F(DeleteMoveReadingTest, SelectionsAndFontListsRenumberAndSizesTravelWithMoves) {
    ShowFilled(6, 6);
    // A deletion takes the later selected positions along.
    Grid->ColSelection().SetSelected(5, true);
    Grid->DeleteCols(2, 2);
    EXPECT_TRUE(Grid->ColSelection().GetSelected(4));
    EXPECT_FALSE(Grid->ColSelection().GetSelected(5));
    Grid->ColSelection().Reset();
    Grid->RowSelection().SetSelected(6, true);
    Grid->DeleteRows(1, 2);
    EXPECT_TRUE(Grid->RowSelection().GetSelected(4));
    EXPECT_EQ(Grid->RowSelection().Count(), 1);
    Grid->RowSelection().Reset();
    // The columns whose fonts follow the grid are kept by number.
    Grid->GetCol(Variant(4))->SetAutoCreateFont(true);
    Grid->DeleteCols(1, 1);
    std::vector<int> AutoFonts;
    for (int i = 0; i < Grid->AutoFontCols()->Count(); ++i)
        AutoFonts.push_back(Grid->AutoFontCols()->GetItem(i));
    EXPECT_EQ(AutoFonts, (std::vector<int>{3}));
    EXPECT_TRUE(Grid->GetCol(Variant(3))->AutoCreateFont());
    // A moved column (row) keeps its size at its new place.
    Grid->GetCol(Variant(1))->SetWidth(41);
    Grid->SetRowHeight(1, 29);
    Grid->MoveColRange(1, 3);
    Grid->MoveRowRange(1, 3);
    EXPECT_EQ(Grid->ColWidths(3), 41);
    EXPECT_EQ(Grid->RowHeights(3), 29);
    EXPECT_NE(Grid->ColWidths(1), 41);
    EXPECT_NE(Grid->RowHeights(1), 29);
}

TEST_F(DeleteMoveReadingTest, DeletingTheSelectedColumnsReportsTheSelectionAndStatusOnce) {
    ShowFilled(6, 3);
    Grid->SelectCols(2, 3, true);
    ASSERT_EQ(Grid->GridStatus(), TgxGridStatus::grColSelect);
    std::vector<std::pair<TgxSelectType, bool>> Selects;
    std::vector<TgxGridStatus> Statuses;
    Grid->OnSelectChanged = [&](TObject*, TgxSelectType Type, bool ByUser) {
        Selects.emplace_back(Type, ByUser);
    };
    Grid->OnGridStatusChanged = [&](TObject*, TgxGridStatus, TgxGridStatus New) {
        Statuses.push_back(New);
    };
    Grid->DeleteSelectedCols();
    EXPECT_EQ(Grid->GetGridColCount(), 4);
    EXPECT_EQ(Grid->GridStatus(), TgxGridStatus::grNormal);
    EXPECT_EQ(Selects, (std::vector<std::pair<TgxSelectType, bool>>{{stColSelect, false}}));
    EXPECT_EQ(Statuses, (std::vector<TgxGridStatus>{TgxGridStatus::grNormal}));
}

TEST_F(DeleteMoveReadingTest, TheEditedCellsBufferFollowsItsColumnOrGoesWithIt) {
    ShowFilled(5, 3);
    Grid->SetFocus();
    Grid->SetCurrentCell(4, 2);
    QKeyEvent Press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(Grid->Widget(), &Press);
    ASSERT_TRUE(Grid->CurrentCell()->ValueSet(4, 2));
    Grid->DeleteCols(2, 2);
    EXPECT_TRUE(Grid->CurrentCell()->ValueSet(3, 2));
    EXPECT_EQ(VarToStr(Grid->CurrentCell()->BufferValue()), "4.2");
    EXPECT_FALSE(Grid->CurrentCell()->ValueSet(4, 2));
    EXPECT_EQ(Grid->GetCurrentDataCol(), 3);
    // Deleting the selected columns asks no one: what the editor held goes
    // with its column and lands nowhere else.
    Grid->ColSelection().SetSelected(Grid->Col(), true);
    Grid->DeleteSelectedCols();
    EXPECT_EQ(Grid->GetGridColCount(), 3);
    EXPECT_NE(VarToStr(Grid->CurrentCell()->BufferValue()), "4.2");
    QKeyEvent Down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(Grid->Widget(), &Down);
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_EQ(Value(1, 2), "1.2");
    EXPECT_EQ(Value(2, 2), "3.2");
    EXPECT_EQ(Value(3, 2), "5.2");
}

} // namespace
