// The current cell and the searches that navigation asks for a target,
// through the grid's public calls and real keys on a shown grid.
#include "ShownGridFixture.h"

#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GridControl.h"
#include "grid/model/InplaceControl.h"
#include "grid/model/Rows.h"

#include <QtGui/QImage>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QWidget>
#include <QtWidgets/QApplication>

#include <string>
#include <utility>
#include <vector>

using namespace grid;

namespace {

class CurrentCellSecondReading : public ShownGridFixture {
protected:
    void SetUp() override {
        ShowGrid(5, 6);
        Grid->SetFocus();
        QCoreApplication::processEvents();
        Grid->OnColChanged = [this](TObject*, int OldCol, int NewCol) {
            Events.push_back("col " + std::to_string(OldCol) + ">" + std::to_string(NewCol));
        };
        Grid->OnRowChanged = [this](TObject*, int OldRow, int NewRow) {
            Events.push_back("row " + std::to_string(OldRow) + ">" + std::to_string(NewRow));
        };
        Grid->OnCellChanged = [this](TObject*, int OldCol, int NewCol, int OldRow, int NewRow) {
            Events.push_back("cell " + std::to_string(OldCol) + "," + std::to_string(OldRow) + ">" +
                             std::to_string(NewCol) + "," + std::to_string(NewRow));
        };
    }
    void ColReadOnly(int DataCol) { Grid->GridCols()->GetCol(DataCol)->SetReadOnly(true); }
    void ColHidden(int DataCol) { Grid->GridCols()->GetCol(DataCol)->SetVisible(false); }
    void Key(int K) {
        QWidget* Target = QApplication::focusWidget();
        QKeyEvent Down(QEvent::KeyPress, K, Qt::NoModifier);
        QKeyEvent Up(QEvent::KeyRelease, K, Qt::NoModifier);
        QApplication::sendEvent(Target ? Target : Grid->Widget(), &Down);
        QApplication::sendEvent(Target ? Target : Grid->Widget(), &Up);
        QCoreApplication::processEvents();
    }
    // The picture of a cell as the grid's kept image shows it now.
    QImage CellPicture(int DisplayCol, int DisplayRow) {
        QCoreApplication::processEvents();
        const QImage Img = Grid->Widget()->grab().toImage();
        const int Border = (Img.width() - Grid->ClientWidth()) / 2;
        const TRect R = Grid->CellRect(DisplayCol, DisplayRow);
        return Img.copy(Border + R.Left, Border + R.Top, R.Right - R.Left, R.Bottom - R.Top);
    }
    std::vector<std::string> Events;
};

TEST_F(CurrentCellSecondReading, ColumnSearchesStopWhereTheFlagsAllow) {
    ColReadOnly(3);
    int C = -1;
    // From the last column there is nothing further right; the position
    // found lies beyond the column count.
    EXPECT_FALSE(Grid->GetNextCol(5, false, false, C));
    EXPECT_GT(C, 5);
    // The grid skips read-only columns by default: asked to skip, the
    // search walks past column 3 both ways.
    ASSERT_TRUE(Grid->SkipReadOnly());
    EXPECT_TRUE(Grid->GetNextCol(2, true, false, C));
    EXPECT_EQ(C, 4);
    EXPECT_TRUE(Grid->GetPrevCol(4, true, false, C));
    EXPECT_EQ(C, 2);
    // With the grid's own skipping off the forward search stops on the
    // read-only column, the backward one does not.
    Grid->SetSkipReadOnly(false);
    EXPECT_TRUE(Grid->GetNextCol(2, true, false, C));
    EXPECT_EQ(C, 3);
    EXPECT_TRUE(Grid->GetPrevCol(4, true, false, C));
    EXPECT_EQ(C, 2);
    // Hidden columns are never found; the backward start is capped.
    ColHidden(5);
    EXPECT_TRUE(Grid->GetPrevCol(99, false, false, C));
    EXPECT_EQ(C, 4);
    EXPECT_FALSE(Grid->GetPrevCol(1, false, false, C));
}

TEST_F(CurrentCellSecondReading, RowSearchesSkipReadOnlyAndHiddenRows) {
    Grid->SetRowReadOnly(3, true);
    Grid->SetRowVisible(5, false);
    int R = -1;
    EXPECT_TRUE(Grid->GetNextRow(2, true, false, R));
    EXPECT_EQ(R, 4);
    EXPECT_TRUE(Grid->GetNextRow(2, false, false, R));
    EXPECT_EQ(R, 3);
    EXPECT_TRUE(Grid->GetPrevRow(99, false, false, R));
    EXPECT_EQ(R, 6);
    EXPECT_TRUE(Grid->GetPrevRow(6, false, false, R));
    EXPECT_EQ(R, 4);
    EXPECT_TRUE(Grid->GetPrevRow(4, true, false, R));
    EXPECT_EQ(R, 2);
    EXPECT_FALSE(Grid->GetNextRow(6, false, false, R));
    // The grid's SkipReadOnly property plays no part for rows.
    Grid->SetSkipReadOnly(false);
    EXPECT_TRUE(Grid->GetNextRow(2, true, false, R));
    EXPECT_EQ(R, 4);
}

TEST_F(CurrentCellSecondReading, ExtremesOfTheGrid) {
    ColHidden(1);
    ColReadOnly(5);
    EXPECT_EQ(Grid->LeftMostCol(false, false), 2);
    EXPECT_EQ(Grid->RightMostCol(false, false), 5);
    EXPECT_EQ(Grid->RightMostCol(true, false), 4);
    EXPECT_EQ(Grid->TopMostRow(false, false), 1);
    EXPECT_EQ(Grid->BottomMostRow(false, false), 6);
    EXPECT_EQ(Grid->LeftMostScrollCol(), 2);
    EXPECT_EQ(Grid->TopMostScrollRow(), 1);
    Grid->SetFixedRowCount(2);
    EXPECT_EQ(Grid->TopMostScrollRow(), 3);
    for (int R = 1; R <= 6; ++R) Grid->SetRowVisible(R, false);
    EXPECT_EQ(Grid->TopMostRow(false, false), 0);
    EXPECT_EQ(Grid->BottomMostRow(false, false), 0);
    // Nothing to scroll to: the first row past the fixed area.
    EXPECT_EQ(Grid->TopMostScrollRow(), Grid->FixedRows());
    // In the insert mode the insertion row is the bottom when nothing else is.
    Grid->SetGridMode(TgxGridMode::gmEditInsert);
    EXPECT_EQ(Grid->BottomMostRow(false, false), 7);
}

TEST_F(CurrentCellSecondReading, CellSearchesInReadingOrder) {
    ColHidden(2);
    Grid->SetCellReadOnly(4, 1, TgxReadOnly::roOn);
    int C = -1, R = -1;
    struct Case {
        const char* What;
        int Col, Row;
        bool Next, Editable;
        bool Found;
        int WantCol, WantRow;
    };
    const Case Cases[] = {
        {"from the top", 0, 0, true, false, true, 1, 1},
        {"over a hidden column", 1, 1, true, false, true, 3, 1},
        {"to the next row", 5, 1, true, false, true, 1, 2},
        {"editable only skips read-only", 3, 1, true, true, true, 5, 1},
        {"read-only cell found otherwise", 3, 1, true, false, true, 4, 1},
        {"past the end", 5, 6, true, false, false, 0, 0},
        {"row beyond the grid", 1, 8, true, false, false, 0, 0},
        {"back over a hidden column", 3, 2, false, false, true, 1, 2},
        {"back to the previous row", 1, 2, false, false, true, 5, 1},
        {"back, editable only", 5, 1, false, true, true, 3, 1},
        {"back before the start", 1, 1, false, false, false, 0, 0},
        {"column beyond the grid", 7, 2, false, false, false, 0, 0},
    };
    for (const Case& T : Cases) {
        SCOPED_TRACE(T.What);
        const bool Found = T.Next ? Grid->GetNextCell(T.Col, T.Row, T.Editable, C, R)
                                  : Grid->GetPrevCell(T.Col, T.Row, T.Editable, C, R);
        EXPECT_EQ(Found, T.Found);
        if (T.Found) {
            EXPECT_EQ(C, T.WantCol);
            EXPECT_EQ(R, T.WantRow);
        }
    }
    EXPECT_TRUE(Grid->GetNextDownCell(3, 2, false, C, R));
    EXPECT_EQ(C, 3);
    EXPECT_EQ(R, 3);
    EXPECT_TRUE(Grid->GetNextUpCell(4, 3, false, C, R));
    EXPECT_EQ(C, 4);
    EXPECT_EQ(R, 2);
    EXPECT_FALSE(Grid->GetNextDownCell(3, 6, false, C, R));
}

TEST_F(CurrentCellSecondReading, PositioningKeepsThePreviousCellAndRaisesNothing) {
    Grid->SetCurrentCell(2, 3);
    Events.clear();
    Grid->PositionCell(4, 5);
    EXPECT_EQ(Grid->Col(), 4);
    EXPECT_EQ(Grid->Row(), 5);
    EXPECT_EQ(Grid->PrevDisplayCol(), 2);
    EXPECT_EQ(Grid->PrevDisplayRow(), 3);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 4);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 5);
    EXPECT_TRUE(Events.empty());
}

TEST_F(CurrentCellSecondReading, ANewPositionDropsTheEditBuffer) {
    Grid->SetCurrentCell(2, 2);
    Grid->CurrentCell()->SetBuffer(Variant(AnsiString("typed")), false);
    Grid->CurrentCell()->SetBufferCol(2);
    Grid->CurrentCell()->SetBufferRow(2);
    ASSERT_TRUE(Grid->CurrentCell()->ValueSet(2, 2));
    Grid->SetCurrentPosition(3, 2, true, true);
    EXPECT_FALSE(Grid->CurrentCell()->ValueSet(2, 2));
    EXPECT_FALSE(Grid->CurrentCell()->ValueSet(3, 2));
}

TEST_F(CurrentCellSecondReading, MovesLandOnTheNextGoodColumnOrRow) {
    ColReadOnly(3);
    Grid->SetCurrentCell(2, 2);
    Events.clear();
    Grid->MoveToNewCol(3, true, true, false);
    EXPECT_EQ(Grid->Col(), 4);
    EXPECT_EQ(Events, (std::vector<std::string>{"col 2>4", "cell 2,2>4,2"}));
    // Beyond the last good column the move goes left.
    ColReadOnly(5);
    Grid->MoveToNewCol(5, true, true, false);
    EXPECT_EQ(Grid->Col(), 4);
    // The same cell again raises nothing.
    Events.clear();
    Grid->MoveToNewCol(4, true, true, false);
    EXPECT_TRUE(Events.empty());
    // A row beyond the rows is the last row.
    Grid->MoveToNewRow(40, true, false, false);
    EXPECT_EQ(Grid->Row(), 6);
}

TEST_F(CurrentCellSecondReading, TheRightArrowSkipsReadOnlyColumns) {
    ColReadOnly(3);
    Grid->SetCurrentCell(2, 1);
    Key(Qt::Key_Right);
    EXPECT_EQ(Grid->Col(), 4);
    Key(Qt::Key_Left);
    EXPECT_EQ(Grid->Col(), 2);
}

TEST_F(CurrentCellSecondReading, EveryColumnHiddenLeavesNoCurrentColumn) {
    Grid->SetCurrentCell(3, 2);
    for (int C = 1; C <= 5; ++C) ColHidden(C);
    Grid->MoveToNewCol(3, true, false, false);
    EXPECT_EQ(Grid->Col(), 0);
}

TEST_F(CurrentCellSecondReading, HidingTheCurrentColumnMovesTheCellOn) {
    Grid->SetCurrentCell(3, 2);
    ColHidden(3);
    Grid->CheckRowColPos();
    EXPECT_EQ(Grid->Col(), 4);
    EXPECT_EQ(Grid->Row(), 2);
}

TEST_F(CurrentCellSecondReading, InsertModeMovesLandOnTheLastDataRow) {
    Grid->SetGridMode(TgxGridMode::gmEditInsert);
    ASSERT_TRUE(Grid->InsertionRowShown());
    Grid->SetCurrentCell(1, 2);
    Grid->MoveToNewRow(7, true, false, false);
    EXPECT_EQ(Grid->Row(), 6);
    Grid->SetRowReadOnly(6, true);
    Grid->MoveToNewRow(6, true, true, false);
    EXPECT_EQ(Grid->Row(), 5);
}

TEST_F(CurrentCellSecondReading, SetNewCurrentCellReportsOnlyARealChange) {
    Grid->SetCurrentCell(2, 2);
    Events.clear();
    const int Left = Grid->LeftCol(), Top = Grid->TopRow();
    Grid->SetNewCurrentCell(2, 2);
    EXPECT_TRUE(Events.empty());
    // Column 2 moves away: data column 3 now stands at the current place.
    Grid->ChangeDisplayCol(2, 3);
    ASSERT_EQ(Grid->GetDataCol(2), 3);
    Grid->SetNewCurrentCell(3, 2);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 3);
    EXPECT_EQ(Events, (std::vector<std::string>{"col 2>3", "cell 2,2>3,2"}));
    EXPECT_EQ(Grid->LeftCol(), Left);
    EXPECT_EQ(Grid->TopRow(), Top);
    // A real move of the cell.
    Events.clear();
    Grid->SetNewCurrentCell(4, 5);
    EXPECT_EQ(Grid->Col(), 4);
    EXPECT_EQ(Grid->Row(), 5);
    EXPECT_EQ(Events.size(), 3U);
}

TEST_F(CurrentCellSecondReading, FixedColumnsAreNoTargetInRowSelectNavigation) {
    Grid->SetFixedColCount(2);
    Grid->SetSelectFixed(false);
    int C = -1;
    struct Case {
        TgxGridMode Mode;
        TgxRowSelectMode Rows;
        bool FixedFound;
    };
    const Case Cases[] = {
        {TgxGridMode::gmListBox, TgxRowSelectMode::rsSingle, false},
        {TgxGridMode::gmListBox, TgxRowSelectMode::rsMulti, false},
        {TgxGridMode::gmEdit, TgxRowSelectMode::rsMulti, true},
    };
    for (const Case& T : Cases) {
        Grid->SetGridMode(T.Mode);
        Grid->SetRowSelectMode(T.Rows);
        SCOPED_TRACE(static_cast<int>(T.Mode));
        EXPECT_EQ(Grid->InRowSelectMode(), T.Mode == TgxGridMode::gmListBox &&
                                               T.Rows == TgxRowSelectMode::rsSingle);
        ASSERT_TRUE(Grid->GetNextCol(0, false, Grid->InRowSelectMode(), C));
        EXPECT_EQ(C == 1, T.FixedFound);
        EXPECT_EQ(Grid->LeftMostCol(false, Grid->InRowSelectMode()) == 1, T.FixedFound);
    }
}

TEST_F(CurrentCellSecondReading, MoveTopLeftClampsToTheLastFillingCell) {
    Grid->SetGridRowCount(200);
    Grid->SetGridColCount(50);
    Grid->SetTopLeft(1000, 1000);
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow());
    EXPECT_EQ(Grid->LeftCol(), Grid->GetMaxLeftCol());
    // A hidden top row is replaced by the nearest visible one.
    Grid->SetRowVisible(10, false);
    Grid->SetTopLeft(1, 10);
    EXPECT_NE(Grid->TopRow(), 10);
    EXPECT_TRUE(Grid->IsRowVisible(Grid->GetDataRow(Grid->TopRow())));
}

TEST_F(CurrentCellSecondReading, ScrollingKeepsTheEditorAsItWas) {
    Grid->SetGridRowCount(200);
    Grid->SetCurrentCell(2, 5);
    QCoreApplication::processEvents();
    ASSERT_TRUE(Grid->GridControl()->GetVisible());
    Grid->SetTopLeft(1, 3);
    EXPECT_EQ(Grid->TopRow(), 3);
    EXPECT_TRUE(Grid->GridControl()->GetVisible());
    // Placed over the current cell at its new place on screen.
    const TRect Cell = Grid->CellRect(2, 5);
    const QRect Editor = Grid->GridControl()->Control()->Widget()->geometry();
    EXPECT_TRUE(Editor.intersects(QRect(Cell.Left, Cell.Top, Cell.Right - Cell.Left,
                                        Cell.Bottom - Cell.Top)));
    // An editor that was hidden stays hidden.
    Grid->SetAlwaysShowEditor(false);
    Grid->HideEditor();
    QCoreApplication::processEvents();
    ASSERT_FALSE(Grid->GridControl()->GetVisible());
    Grid->SetTopLeft(1, 2);
    EXPECT_EQ(Grid->TopRow(), 2);
    EXPECT_FALSE(Grid->GridControl()->GetVisible());
}

TEST_F(CurrentCellSecondReading, TheRowMarkFollowsTheCurrentRow) {
    auto RowBar = [this](int DisplayRow) { return CellPicture(0, DisplayRow); };
    enum Move { ByKey, ByNewCell, ByNewRow };
    const std::pair<const char*, Move> Cases[] = {
        {"down arrow", ByKey}, {"new current cell", ByNewCell}, {"move to new row", ByNewRow}};
    for (const auto& [What, How] : Cases) {
        SCOPED_TRACE(What);
        Grid->SetCurrentCell(1, 2);
        const QImage Marked = RowBar(2), Plain = RowBar(3);
        ASSERT_NE(Marked, Plain);
        if (How == ByKey) Key(Qt::Key_Down);
        if (How == ByNewCell) Grid->SetNewCurrentCell(1, 3);
        if (How == ByNewRow) Grid->MoveToNewRow(3, true, false, false);
        ASSERT_EQ(Grid->Row(), 3);
        EXPECT_EQ(RowBar(3), Marked);
        EXPECT_EQ(RowBar(2), Plain);
    }
}

TEST_F(CurrentCellSecondReading, TheInsertionMarkGoesIntoTheLastRowBar) {
    Grid->SetGridMode(TgxGridMode::gmEditInsert);
    Grid->SetCurrentCell(1, 1);
    const int Last = Grid->RowCount() - 1;
    auto RowBar = [this, Last] { return CellPicture(0, Last); };
    const QImage Before = RowBar();
    Grid->DrawInsert();
    EXPECT_NE(RowBar(), Before);
}

TEST_F(CurrentCellSecondReading, IsFocusedFollowsTheGrid) {
    EXPECT_TRUE(Grid->IsFocused());
    // Focus in the in-place editor still counts as the grid's.
    QWidget* Focused = QApplication::focusWidget();
    ASSERT_NE(Focused, nullptr);
    EXPECT_TRUE(Focused == Grid->Widget() || Grid->Widget()->isAncestorOf(Focused));
}

} // namespace
