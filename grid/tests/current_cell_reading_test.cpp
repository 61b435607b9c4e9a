// Where the current cell may go: the searches for the next and previous
// column, row and cell, the extremes, the re-validating moves and the
// current cell given in data numbers, on a shown grid.
#include "GridEditFixture.h"

#include "grid/model/Columns.h"
#include "grid/model/Rows.h"

using namespace grid;

namespace {

class CurrentCellReading : public GridEditFixture {
protected:
    std::pair<int, int> Cell(int C, int R) const { return {C, R}; }
};

TEST_F(CurrentCellReading, ColumnSearchesStopAtTheEdgesAndReadOnlyColumns) {
    int To = 0;
    EXPECT_FALSE(Grid->GetNextCol(4, false, false, To));
    EXPECT_GT(To, 4);
    EXPECT_TRUE(Grid->GetNextCol(0, false, false, To));
    EXPECT_EQ(To, 1);
    EXPECT_FALSE(Grid->GetPrevCol(1, false, false, To));
    Grid->GetCol(2)->SetReadOnly(true);
    // Skipping asked for while the grid's own switch is off: the next-column
    // search still stops on the read-only column, the previous one skips it.
    Grid->SetSkipReadOnly(false);
    EXPECT_TRUE(Grid->GetNextCol(1, true, false, To));
    EXPECT_EQ(To, 2);
    EXPECT_TRUE(Grid->GetPrevCol(3, true, false, To));
    EXPECT_EQ(To, 1);
    Grid->SetSkipReadOnly(true);
    EXPECT_TRUE(Grid->GetNextCol(1, true, false, To));
    EXPECT_EQ(To, 3);
    EXPECT_FALSE(Grid->CanSkipReadOnly() && Grid->GridMode() == gmListBox);
    EXPECT_TRUE(Grid->CanSkipReadOnly());
    Grid->SetGridMode(gmListBox);
    EXPECT_FALSE(Grid->CanSkipReadOnly());
}

TEST_F(CurrentCellReading, RowSearchesSkipHiddenAndReadOnlyRows) {
    Grid->SetRowVisible(2, false);
    Grid->SetRowReadOnly(3, true);
    int To = 0;
    EXPECT_TRUE(Grid->GetNextRow(1, true, false, To));
    EXPECT_EQ(To, 4);
    EXPECT_TRUE(Grid->GetNextRow(1, false, false, To));
    EXPECT_EQ(To, 3);
    EXPECT_TRUE(Grid->GetPrevRow(4, true, false, To));
    EXPECT_EQ(To, 1);
    EXPECT_FALSE(Grid->GetNextRow(5, false, false, To));
    EXPECT_EQ(Grid->TopMostRow(false, false), 1);
    EXPECT_EQ(Grid->BottomMostRow(false, false), 5);
    Grid->SetRowVisible(5, false);
    EXPECT_EQ(Grid->BottomMostRow(false, false), 4);
}

TEST_F(CurrentCellReading, CellSearchesWalkInReadingOrder) {
    int C = 0, R = 0;
    ASSERT_TRUE(Grid->GetNextCell(4, 1, false, C, R));
    EXPECT_EQ(std::make_pair(C, R), Cell(1, 2));
    ASSERT_TRUE(Grid->GetNextCell(0, 0, false, C, R));
    EXPECT_EQ(std::make_pair(C, R), Cell(1, 1));
    EXPECT_FALSE(Grid->GetNextCell(4, 5, false, C, R));
    ASSERT_TRUE(Grid->GetPrevCell(1, 2, false, C, R));
    EXPECT_EQ(std::make_pair(C, R), Cell(4, 1));
    EXPECT_FALSE(Grid->GetPrevCell(1, 1, false, C, R));
    ASSERT_TRUE(Grid->GetNextDownCell(3, 2, false, C, R));
    EXPECT_EQ(std::make_pair(C, R), Cell(3, 3));
    ASSERT_TRUE(Grid->GetNextUpCell(3, 2, false, C, R));
    EXPECT_EQ(std::make_pair(C, R), Cell(3, 1));
    // Editable only: a read-only cell is walked past.
    Grid->SetCellReadOnly(2, 1, roOn);
    ASSERT_TRUE(Grid->GetNextCell(1, 1, true, C, R));
    EXPECT_EQ(std::make_pair(C, R), Cell(3, 1));
}

TEST_F(CurrentCellReading, ExtremesOfTheScrollableArea) {
    EXPECT_EQ(Grid->LeftMostCol(false, false), 1);
    EXPECT_EQ(Grid->RightMostCol(false, false), 4);
    EXPECT_EQ(Grid->LeftMostScrollCol(), 1);
    EXPECT_EQ(Grid->TopMostScrollRow(), 1);
    Grid->SetFixedColCount(1);
    Grid->SetFixedRowCount(1);
    EXPECT_EQ(Grid->LeftMostScrollCol(), 2);
    EXPECT_EQ(Grid->TopMostScrollRow(), 2);
    for (int R = 2; R <= 5; ++R)
        Grid->SetRowVisible(R, false);
    EXPECT_EQ(Grid->TopMostScrollRow(), Grid->FixedRows());
}

TEST_F(CurrentCellReading, HiddenColumnsAndRowsAreNeverCurrent) {
    GoTo(2, 2);
    Grid->GetCol(2)->SetVisible(false);
    EXPECT_EQ(At().first, 3);
    Grid->SetRowVisible(2, false);
    EXPECT_EQ(At().second, 3);
    GoTo(1, 1);
    Press(Qt::Key_Tab);
    EXPECT_EQ(At(), Cell(3, 1));
    Press(Qt::Key_Down);
    EXPECT_EQ(At(), Cell(3, 3));
}

TEST_F(CurrentCellReading, WithEveryColumnHiddenTheCurrentColumnIsZero) {
    for (int C = 1; C <= 4; ++C)
        Grid->GetCol(C)->SetVisible(false);
    EXPECT_EQ(Grid->Col(), 0);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 0);
    // And the first column shown again becomes current.
    Grid->GetCol(3)->SetVisible(true);
    EXPECT_EQ(At().first, 3);
}

TEST_F(CurrentCellReading, TheInsertionRowIsNeverTheTargetOfARevalidation) {
    Grid->SetGridMode(gmEditInsert);
    GoTo(1, 5);
    Grid->SetRowReadOnly(5, true);
    Grid->SetSkipReadOnly(false);
    Grid->SetSkipReadOnly(true);
    // The next good row after 5 is the insertion row: the move lands on the
    // last good data row instead.
    EXPECT_EQ(At().second, 4);
    EXPECT_EQ(Grid->GetGridRowCount(), 5);
    EXPECT_EQ(Grid->BottomMostRow(false, false), 5);
}

TEST_F(CurrentCellReading, BottomMostRowIsTheInsertionRowWhenNoDataRowIsLeft) {
    Grid->SetGridMode(gmEditInsert);
    for (int R = 1; R <= 5; ++R)
        Grid->SetRowVisible(R, false);
    EXPECT_EQ(Grid->BottomMostRow(false, false), 6);
}

TEST_F(CurrentCellReading, SettingTheCurrentDataCellReportsOnlyRealChanges) {
    std::vector<std::string> Events;
    Grid->OnColChanged = [&](TObject*, int Old, int New) {
        Events.push_back("col " + std::to_string(Old) + ">" + std::to_string(New));
    };
    Grid->OnRowChanged = [&](TObject*, int Old, int New) {
        Events.push_back("row " + std::to_string(Old) + ">" + std::to_string(New));
    };
    Grid->OnCellChanged = [&](TObject*, int, int, int, int) { Events.push_back("cell"); };
    GoTo(2, 2);
    Events.clear();
    Grid->SetNewCurrentCell(2, 2);
    EXPECT_TRUE(Events.empty());
    const int Top = Grid->TopRow(), Left = Grid->LeftCol();
    // Another data column comes to the current display position.
    Grid->SetDisplayColnr(3, 2);
    Events.clear();
    Grid->SetNewCurrentCell(Grid->GetDataCol(Grid->Col()), 2);
    EXPECT_EQ(Grid->TopRow(), Top);
    EXPECT_EQ(Grid->LeftCol(), Left);
    EXPECT_EQ(Grid->GetCurrentDataCol(), Grid->GetDataCol(Grid->Col()));
    Grid->SetNewCurrentCell(4, 3);
    EXPECT_EQ(At(), Cell(4, 3));
    EXPECT_EQ(Events.back(), "cell");
}

TEST_F(CurrentCellReading, CurrentPositionInDataNumbers) {
    GoTo(3, 4);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 3);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 4);
    Grid->SetCurrentDataRow(2);
    EXPECT_EQ(At(), Cell(3, 2));
    Grid->SetCurrentDataCol(1);
    EXPECT_EQ(At(), Cell(1, 2));
    // Out of range: ignored.
    Grid->SetCurrentDataRow(99);
    Grid->SetCurrentDataRow(-1);
    Grid->SetCurrentDataCol(99);
    EXPECT_EQ(At(), Cell(1, 2));
    // With the rows in another order the data numbers follow the rows.
    Grid->SetDisplayRownr(5, 1);
    Grid->SetCurrentDataRow(5);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 5);
}

TEST_F(CurrentCellReading, AFixedColumnIsNoTargetWhileFixedCellsCannotBeSelected) {
    Grid->SetFixedColCount(1);
    Grid->SetSelectFixed(false);
    Grid->SetGridMode(gmListBox);
    Grid->SetRowSelectMode(rsSingle);
    int To = 0;
    EXPECT_TRUE(Grid->GetNextCol(0, false, true, To));
    EXPECT_EQ(To, 2);
    EXPECT_EQ(Grid->LeftMostCol(false, true), 2);
    EXPECT_EQ(Grid->LeftMostCol(false, false), 2);
    Press(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_NE(At().first, 1);
}

TEST_F(CurrentCellReading, TheTopLeftCellIsKeptWithinTheGrid) {
    Grid->SetGridRowCount(60);
    Grid->SetGridColCount(12);
    Grid->SetTopLeft(50, 1000);
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow());
    EXPECT_EQ(Grid->LeftCol(), Grid->GetMaxLeftCol());
    Grid->SetRowVisible(1, false);
    Grid->SetTopLeft(1, 1);
    EXPECT_EQ(Grid->TopRow(), 2);
}

} // namespace

#include "platform/gui/tests/GuiTestSupport.h"

namespace {

TEST_F(CurrentCellReading, ScrollingReleasesAPressedCellButton) {
    Grid->SetGridRowCount(60);
    Grid->GetCol(2)->SetButtonType(btNormal);
    GoTo(2, 2);
    const TRect R = Grid->CellRect(Grid->Col(), Grid->Row());
    const QPoint On(R.Right - 4, (R.Top + R.Bottom) / 2);
    int Clicks = 0;
    Grid->OnButtonClick = [&](TObject*, int, const Variant&) { ++Clicks; };
    ClickAt(Grid->Widget(), On);
    ASSERT_EQ(Clicks, 1);
    Clicks = 0;
    SendMouse(Grid->Widget(), QEvent::MouseButtonPress, On);
    ASSERT_EQ(Grid->PressedButtonCol(), 2);
    Grid->SetTopLeft(Grid->LeftCol(), 20);
    EXPECT_EQ(Grid->TopRow(), 20);
    EXPECT_EQ(Grid->PressedButtonCol(), -1);
    SendMouse(Grid->Widget(), QEvent::MouseButtonRelease, On);
    EXPECT_EQ(Clicks, 0);
}

TEST_F(CurrentCellReading, AlwaysShowEditorIsOnlyStoredWhileACellIsEdited) {
    GoTo(2, 2);
    Type("ab");
    Grid->SetAlwaysShowEditor(false);
    EXPECT_FALSE(Grid->AlwaysShowEditor());
    EXPECT_TRUE(Grid->CellEditing());
    EXPECT_EQ(EditorText(), "ab");
    ASSERT_NE(Grid->GridControl(), nullptr);
    EXPECT_TRUE(Grid->GridControl()->GetVisible());
}

} // namespace
