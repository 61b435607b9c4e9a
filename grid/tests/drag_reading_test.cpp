// Dragging with the left button held, by real mouse events on a shown
// grid: row, column and range selections that follow the mouse, moving
// selected columns and rows, cancelled drags, and the grid scrolling by
// itself while the mouse is held outside it (on a clock the test drives).
#include "ShownMouseFixture.h"
#include "grid/model/Columns.h"

#include "platform/rtl/Clock.h"

#include <QApplication>
#include <QWidget>

#include <vector>

using namespace grid;

namespace {

// A clock that moves on by a step every time it is read, as time passes
// while a loop waits; the test reads where it stands without moving it.
class SteppingClock : public IClock {
public:
    explicit SteppingClock(std::uint32_t Step) : FStep(Step) {}
    TDateTime Now() override { return 0.0; }
    std::uint32_t TickCount() override { return FTicks += FStep; }
    std::uint32_t Ticks() const { return FTicks; }

private:
    std::uint32_t FStep;
    std::uint32_t FTicks = 1000;
};

class DragReading : public ShownMouseFixture {
protected:
    void Show(int Cols, int Rows) { ShowFocused(Cols, Rows); }
    std::vector<int> SelectedRows() const {
        std::vector<int> Rows;
        for (int R = 1; R <= Grid->GetGridRowCount(); ++R)
            if (Grid->GetRowSelected(R)) Rows.push_back(R);
        return Rows;
    }
    std::vector<int> SelectedCols() {
        std::vector<int> Cols;
        for (int C = 1; C <= Grid->GetGridColCount(); ++C)
            if (Grid->ColSelection().GetSelected(C)) Cols.push_back(C);
        return Cols;
    }
    static std::vector<int> Span(int From, int To) {
        std::vector<int> V;
        for (int I = From; I <= To; ++I) V.push_back(I);
        return V;
    }
};

// A row drag selects from the anchor row to the row under the mouse,
// following the mouse both ways and across the anchor.
TEST_F(DragReading, RowDragFollowsTheMouseBothWays) {
    Show(3, 10);
    Press(CellMid(0, 4));
    Move(CellMid(0, 7));
    EXPECT_EQ(SelectedRows(), Span(4, 7));
    Move(CellMid(0, 5));
    EXPECT_EQ(SelectedRows(), Span(4, 5));
    Move(CellMid(0, 2));
    EXPECT_EQ(SelectedRows(), Span(2, 4));
    Release(CellMid(0, 2));
    EXPECT_EQ(SelectedRows(), Span(2, 4));
    EXPECT_EQ(Grid->GridStatus(), grRowSelect);
}

// With one selected row at a time the selection and the current row follow
// the mouse.
TEST_F(DragReading, SingleRowDragMovesTheSelectedRow) {
    Show(3, 10);
    Grid->SetRowSelectMode(rsSingle);
    Press(CellMid(0, 3));
    Move(CellMid(0, 6));
    Release(CellMid(0, 6));
    EXPECT_EQ(SelectedRows(), std::vector<int>{6});
    EXPECT_EQ(Grid->GetCurrentDataRow(), 6);
}

// A column drag selects the columns from the anchor to the mouse.
TEST_F(DragReading, ColumnDragFollowsTheMouse) {
    Show(5, 4);
    Press(CellMid(2, 0));
    Move(CellMid(4, 0));
    EXPECT_EQ(SelectedCols(), Span(2, 4));
    Move(CellMid(1, 0));
    EXPECT_EQ(SelectedCols(), Span(1, 2));
    Release(CellMid(1, 0));
    EXPECT_EQ(Grid->GridStatus(), grColSelect);
}

// A cancelled row drag takes back what the drag added.
TEST_F(DragReading, CancelledRowDragTakesTheDragBack) {
    Show(3, 10);
    Press(CellMid(0, 3));
    Move(CellMid(0, 7));
    Grid->CancelMouseAction();
    Release(CellMid(0, 7));
    for (int Row = 4; Row <= 7; ++Row) EXPECT_FALSE(Grid->GetRowSelected(Row)) << Row;
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
}

// Selected columns dragged by their heading move to where they are let go;
// let go inside themselves, nothing moves.
TEST_F(DragReading, MovingSelectedColumns) {
    Show(5, 4);
    Press(CellMid(1, 0));
    Move(CellMid(2, 0));
    Release(CellMid(2, 0));
    ASSERT_EQ(SelectedCols(), Span(1, 2));
    int Moved = 0;
    Grid->OnColMoved = [&](TObject*, int, int, bool) { ++Moved; };
    // Inside itself: nothing changes.
    Press(CellMid(1, 0));
    EXPECT_EQ(Grid->MouseStatus(), msColMove);
    Move(CellMid(2, 0));
    Release(CellMid(2, 0));
    EXPECT_EQ(Moved, 0);
    EXPECT_EQ(Grid->GetDataCol(1), 1);
    EXPECT_EQ(Grid->GetDataCol(2), 2);
    // To column 4: data columns 1 and 2 now stand after data column 3.
    Press(CellMid(1, 0));
    Move(CellMid(4, 0));
    Release(CellMid(4, 0));
    EXPECT_EQ(Moved, 1);
    EXPECT_EQ(Grid->GetDataCol(1), 3);
    EXPECT_NE(Grid->GetDisplayCol(1), 1);
    EXPECT_EQ(Grid->GetDisplayCol(1) + 1, Grid->GetDisplayCol(2));
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
}

// Selected rows dragged by their row bar move; the current cell stays on
// its data row.
TEST_F(DragReading, MovingSelectedRowsKeepsTheCurrentDataRow) {
    Show(3, 8);
    Press(CellMid(0, 2));
    Move(CellMid(0, 3));
    Release(CellMid(0, 3));
    ASSERT_EQ(SelectedRows(), Span(2, 3));
    const int CurrentData = Grid->GetCurrentDataRow();
    int Moved = 0;
    Grid->OnRowMoved = [&](TObject*, int, int, bool) { ++Moved; };
    Press(CellMid(0, 2));
    EXPECT_EQ(Grid->MouseStatus(), msRowMove);
    Move(CellMid(0, 6));
    Release(CellMid(0, 6));
    EXPECT_EQ(Moved, 1);
    EXPECT_NE(Grid->GetDisplayRow(2), 2);
    EXPECT_EQ(Grid->GetDisplayRow(2) + 1, Grid->GetDisplayRow(3));
    EXPECT_EQ(Grid->GetCurrentDataRow(), CurrentData);
}

// Held below the grid in a row drag at high speed, the grid scrolls to its
// last row and the selection runs to it.
TEST_F(DragReading, RowDragHeldBelowScrollsToTheEnd) {
    Show(3, 60);
    Grid->SetScrollSpeed(spHigh);
    Press(CellMid(0, 3));
    Move(QPoint(5, Grid->ClientHeight() + 20));
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow());
    EXPECT_EQ(SelectedRows(), Span(3, 60));
    Release(QPoint(5, Grid->ClientHeight() + 20));
    EXPECT_EQ(SelectedRows(), Span(3, 60));
}

// At low speed the grid scrolls one row per 200 ms, extending the
// selection by that row each time.
TEST_F(DragReading, RowDragAtLowSpeedScrollsARowPerStep) {
    Show(3, 40);
    Grid->SetScrollSpeed(spLow);
    SteppingClock Steps(10);
    ScopedClock Use(Steps);
    std::vector<std::pair<std::uint32_t, int>> Scrolls; // tick, last selected row
    Grid->OnTopLeftChanged = [&](TObject*, int, int, int, int, bool) {
        Scrolls.emplace_back(Steps.Ticks(), SelectedRows().back());
    };
    Press(CellMid(0, 3));
    Move(QPoint(5, Grid->ClientHeight() + 4));
    Release(QPoint(5, Grid->ClientHeight() + 4));
    ASSERT_GE(Scrolls.size(), 3u);
    for (std::size_t I = 1; I < Scrolls.size(); ++I) {
        const std::uint32_t Gap = Scrolls[I].first - Scrolls[I - 1].first;
        EXPECT_GE(Gap, 200u) << I;
        EXPECT_LT(Gap, 260u) << I;
        EXPECT_EQ(Scrolls[I].second, Scrolls[I - 1].second + 1) << I;
    }
}

// A range that began in a fixed column does not scroll left.
TEST_F(DragReading, RangeFromAFixedColumnDoesNotScrollLeft) {
    Show(12, 6);
    Grid->SetScrollSpeed(spHigh);
    Grid->SetFixedColCount(1);
    Grid->SetLeftCol(Grid->FixedCols() + 3);
    const int Left = Grid->LeftCol();
    const TRect Fixed = Grid->CellRect(1, 2);
    Press(QPoint(Fixed.Left + 1, (Fixed.Top + Fixed.Bottom) / 2));
    ASSERT_EQ(Grid->MouseStatus(), msCellSelect);
    Move(QPoint(Fixed.Left + 1, CellMid(1, 4).y()));
    Move(QPoint(Grid->FixedWidth() - 2, CellMid(1, 4).y()));
    EXPECT_EQ(Grid->LeftCol(), Left);
    Release(QPoint(Grid->FixedWidth() - 2, CellMid(1, 4).y()));
}

} // namespace

#include <QMouseEvent>

#include <functional>

namespace {

// A clock that runs an action once, when it has been read a given number
// of times: the user does something while the grid waits.
class ActingClock : public IClock {
public:
    ActingClock(int Reads, std::function<void()> Action) : FReads(Reads), FAction(std::move(Action)) {}
    TDateTime Now() override { return 0.0; }
    std::uint32_t TickCount() override {
        if (--FReads == 0) FAction();
        return FTicks += 10;
    }

private:
    int FReads;
    std::function<void()> FAction;
    std::uint32_t FTicks = 1000;
};

// Moving the mouse while the grid scrolls by itself ends the scrolling at
// once; the move is then handled as any other.
TEST_F(DragReading, MouseMovedDuringAutoScrollEndsIt) {
    Show(3, 60);
    Grid->SetScrollSpeed(spLow);
    const QPoint Back = CellMid(0, 6);
    ActingClock Acts(100, [&] {
        const QPoint P = At(Back);
        QCoreApplication::postEvent(W, new QMouseEvent(QEvent::MouseMove, QPointF(P),
                                                       QPointF(W->mapToGlobal(P)), Qt::NoButton,
                                                       Qt::LeftButton, Qt::NoModifier));
    });
    ScopedClock Use(Acts);
    Press(CellMid(0, 3));
    Move(QPoint(5, Grid->ClientHeight() + 4));
    const int Top = Grid->TopRow();
    EXPECT_GT(Top, 1);
    EXPECT_LT(Top, Grid->GetMaxTopRow());
    QApplication::processEvents();
    EXPECT_EQ(Grid->TopRow(), Top);
    // The selection now runs to the row under the mouse where it went.
    int C = -1;
    int R = -1;
    Grid->CellFromXY(Back.x(), Back.y(), C, R);
    EXPECT_EQ(SelectedRows().back(), Grid->GetDataRow(R));
    Release(Back);
}

// A column drag held right of the grid scrolls to the last column.
TEST_F(DragReading, ColumnDragHeldRightScrollsToTheLastColumn) {
    Show(20, 4);
    Grid->SetScrollSpeed(spHigh);
    Press(CellMid(2, 0));
    Move(QPoint(Grid->ClientWidth() + 10, CellMid(2, 0).y()));
    EXPECT_EQ(Grid->LeftCol(), Grid->GetMaxLeftCol());
    Release(QPoint(Grid->ClientWidth() + 10, CellMid(2, 0).y()));
    EXPECT_EQ(SelectedCols(), Span(2, 20));
}

// A range held past a corner of the data area scrolls both ways at once
// and runs to that corner.
TEST_F(DragReading, RangeHeldPastACornerRunsToIt) {
    for (const bool BelowRight : {true, false}) {
        Show(20, 60);
        Grid->SetScrollSpeed(spHigh);
        if (!BelowRight) Grid->SetTopLeft(12, 40);
        const int AnchorCol = Grid->LeftCol() + 1;
        const int AnchorRow = Grid->TopRow() + 2;
        const TRect Cell = Grid->CellRect(AnchorCol, AnchorRow);
        Press(QPoint(Cell.Left + 1, (Cell.Top + Cell.Bottom) / 2));
        ASSERT_EQ(Grid->MouseStatus(), msCellSelect);
        const QPoint Out = BelowRight
                               ? QPoint(Grid->ClientWidth() + 10, Grid->ClientHeight() + 10)
                               : QPoint(Grid->FixedWidth() - 3, Grid->FixedHeight() - 3);
        Move(Out);
        Release(Out);
        EXPECT_EQ(Grid->LeftCol(), BelowRight ? Grid->GetMaxLeftCol() : Grid->FixedCols())
            << BelowRight;
        EXPECT_EQ(Grid->TopRow(), BelowRight ? Grid->GetMaxTopRow() : Grid->FixedRows())
            << BelowRight;
        const TRect Range = Grid->SelectedRange();
        EXPECT_EQ(std::make_tuple(Range.Left, Range.Top, Range.Right, Range.Bottom),
                  BelowRight ? std::make_tuple(AnchorCol, AnchorRow, 20, 60)
                             : std::make_tuple(1, 1, AnchorCol, AnchorRow))
            << BelowRight;
        delete Form;
        Form = nullptr;
    }
}

// A row move held below the grid carries the rows to the end.
TEST_F(DragReading, RowMoveHeldBelowCarriesTheRowsToTheEnd) {
    Show(3, 60);
    Grid->SetScrollSpeed(spHigh);
    Press(CellMid(0, 2));
    Release(CellMid(0, 2));
    ASSERT_EQ(SelectedRows(), std::vector<int>{2});
    Press(CellMid(0, 2));
    ASSERT_EQ(Grid->MouseStatus(), msRowMove);
    const QPoint Out(5, Grid->ClientHeight() + 10);
    Move(Out);
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow());
    Release(Out);
    EXPECT_GE(Grid->GetDisplayRow(2), 59);
}

// With the scroll hold set (a list that just dropped down), a move outside
// scrolls nothing; the first move back inside lets it go.
TEST_F(DragReading, ScrollHoldKeepsTheGridStillUntilTheMouseComesBack) {
    Show(3, 60);
    Grid->SetScrollSpeed(spHigh);
    Press(CellMid(0, 3));
    Grid->SetScrollHold(true);
    Move(QPoint(5, Grid->ClientHeight() + 10));
    EXPECT_EQ(Grid->TopRow(), 1);
    Move(CellMid(0, 5));
    Move(QPoint(5, Grid->ClientHeight() + 10));
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow());
    Release(QPoint(5, Grid->ClientHeight() + 10));
}

// Rows resized all together keep the resized row where it was on screen.
TEST_F(DragReading, ResizingAllRowsKeepsTheResizedRowInPlace) {
    Show(3, 60);
    Grid->SetTopRow(10);
    const int Row = 15;
    const int Before = Grid->CalcRowOffset(Row);
    const int Edge = Grid->CellRect(0, Row).Bottom;
    Press(QPoint(5, Edge));
    ASSERT_EQ(Grid->MouseStatus(), msRowResize);
    Move(QPoint(5, Edge + 8));
    Release(QPoint(5, Edge + 8));
    const int After = Grid->CalcRowOffset(Row);
    ASSERT_GE(After, 0);
    EXPECT_LE(std::abs(After - Before), Grid->RowHeights(Row) / 2 + 1);
    EXPECT_GT(Grid->TopRow(), 10);
}

} // namespace

#include <QKeyEvent>

namespace {

// Escape pressed while the grid scrolls by itself ends the scrolling; the
// key itself is still handled afterwards.
TEST_F(DragReading, EscapeEndsAutoScrollAndIsStillHandled) {
    Show(3, 60);
    Grid->SetScrollSpeed(spLow);
    std::vector<Word> Keys;
    Grid->OnKeyDown = [&](TObject*, Word& Key, TShiftState) { Keys.push_back(Key); };
    ActingClock Acts(100, [&] {
        QCoreApplication::postEvent(W, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape,
                                                     Qt::NoModifier));
    });
    ScopedClock Use(Acts);
    Press(CellMid(0, 3));
    Move(QPoint(5, Grid->ClientHeight() + 4));
    const int Top = Grid->TopRow();
    EXPECT_GT(Top, 1);
    EXPECT_LT(Top, Grid->GetMaxTopRow());
    EXPECT_TRUE(Keys.empty());
    QApplication::processEvents();
    EXPECT_EQ(Keys, std::vector<Word>{VK_ESCAPE});
    Release(QPoint(5, Grid->ClientHeight() + 4));
}

// A column dropped right of the last column's left edge goes after it, and
// becomes the current column; the moved columns stay selected.
TEST_F(DragReading, ColumnDroppedPastTheLastGoesAfterIt) {
    Show(5, 4);
    Press(CellMid(1, 0));
    Release(CellMid(1, 0));
    Press(CellMid(1, 0));
    ASSERT_EQ(Grid->MouseStatus(), msColMove);
    const TRect Last = Grid->CellRect(5, 0);
    const QPoint Drop(Last.Right - 5, (Last.Top + Last.Bottom) / 2);
    Move(Drop);
    Release(Drop);
    EXPECT_EQ(Grid->GetDisplayCol(1), 5);
    EXPECT_EQ(Grid->GetDataCol(1), 2);
    EXPECT_EQ(Grid->Col(), 5);
    EXPECT_EQ(Grid->GridStatus(), grColSelect);
}

// A cancelled range drag leaves no range behind.
TEST_F(DragReading, CancelledRangeDragLeavesNoRange) {
    Show(5, 8);
    const TRect Cell = Grid->CellRect(2, 2);
    Press(QPoint(Cell.Left + 1, (Cell.Top + Cell.Bottom) / 2));
    Move(CellMid(4, 5));
    ASSERT_EQ(Grid->GridStatus(), grCellSelect);
    Grid->CancelMouseAction();
    Release(CellMid(4, 5));
    const TRect Range = Grid->SelectedRange();
    EXPECT_EQ(std::make_tuple(Range.Left, Range.Top, Range.Right, Range.Bottom),
              std::make_tuple(0, 0, 0, 0));
    EXPECT_EQ(Grid->GridStatus(), grNormal);
}

// A finished row drag reports the selection change once, as the user's.
TEST_F(DragReading, FinishedRowDragReportsTheSelectionOnce) {
    Show(3, 10);
    Press(CellMid(0, 2));
    std::vector<std::pair<TgxSelectType, bool>> Reports;
    Grid->OnSelectChanged = [&](TObject*, TgxSelectType T, bool ByUser) {
        Reports.emplace_back(T, ByUser);
    };
    Move(CellMid(0, 4));
    Move(CellMid(0, 6));
    Reports.clear();
    Release(CellMid(0, 6));
    EXPECT_EQ(Reports, (std::vector<std::pair<TgxSelectType, bool>>{{stRowSelect, true}}));
}

} // namespace

namespace {

// With one selected row at a time, a drag held below the grid carries the
// current row down with the scrolling, one row per step, to the last row.
TEST_F(DragReading, SingleRowDragHeldBelowCarriesTheCurrentRow) {
    Show(3, 50);
    Grid->SetRowSelectMode(rsSingle);
    Grid->SetScrollSpeed(spHigh);
    Press(CellMid(0, 3));
    const QPoint Out(5, Grid->ClientHeight() + 10);
    Move(Out);
    Release(Out);
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow());
    EXPECT_EQ(Grid->GetCurrentDataRow(), 50);
    EXPECT_EQ(SelectedRows(), std::vector<int>{50});
}

// A column move held right of the grid carries the column to the end.
TEST_F(DragReading, ColumnMoveHeldRightCarriesTheColumnToTheEnd) {
    Show(20, 4);
    Grid->SetScrollSpeed(spHigh);
    Press(CellMid(2, 0));
    Release(CellMid(2, 0));
    Press(CellMid(2, 0));
    ASSERT_EQ(Grid->MouseStatus(), msColMove);
    const QPoint Out(Grid->ClientWidth() + 10, CellMid(2, 0).y());
    Move(Out);
    EXPECT_EQ(Grid->LeftCol(), Grid->GetMaxLeftCol());
    Release(Out);
    EXPECT_GE(Grid->GetDisplayCol(2), 19);
}

// Columns resized all together keep the resized column where it was.
TEST_F(DragReading, ResizingAllColumnsKeepsTheResizedColumnInPlace) {
    Show(30, 4);
    Grid->SetResizeCols(rcAll);
    Grid->SetLeftCol(8);
    const int Col = 10;
    const int Before = Grid->CalcColOffset(Col);
    ASSERT_GE(Before, 0);
    const TRect Head = Grid->CellRect(Col, 0);
    Press(QPoint(Head.Right, (Head.Top + Head.Bottom) / 2));
    ASSERT_EQ(Grid->MouseStatus(), msColResize);
    Move(QPoint(Head.Right + 30, (Head.Top + Head.Bottom) / 2));
    Release(QPoint(Head.Right + 30, (Head.Top + Head.Bottom) / 2));
    EXPECT_EQ(Grid->ColWidths(3), Grid->ColWidths(Col));
    const int After = Grid->CalcColOffset(Col);
    ASSERT_GE(After, 0);
    EXPECT_LE(std::abs(After - Before), Grid->ColWidths(Col) / 2 + 1);
}

} // namespace

namespace {

// Frozen rows that may not be selected stop a row drag at the first row
// that may.
TEST_F(DragReading, RowDragStopsAtTheFirstSelectableRow) {
    Show(3, 10);
    Grid->SetFixedRowCount(2);
    Grid->SetSelectFixed(false);
    Press(CellMid(0, 5));
    Move(CellMid(0, 1));
    Release(CellMid(0, 1));
    const int First = Grid->FixedRows();
    std::vector<int> Expected;
    for (int D = First; D <= 5; ++D) Expected.push_back(Grid->GetDataRow(D));
    EXPECT_EQ(SelectedRows(), Expected);
}

} // namespace

namespace {

// A move of one pixel further out ends one scrolling loop; the move then
// starts the next, which goes on to the end.
TEST_F(DragReading, OnePixelMoveEndsTheLoopAndTheNextMoveGoesOn) {
    Show(3, 60);
    Grid->SetScrollSpeed(spLow);
    const QPoint Out(5, Grid->ClientHeight() + 4);
    const QPoint Further = Out + QPoint(0, 1);
    ActingClock Acts(100, [&] {
        const QPoint P = At(Further);
        QCoreApplication::postEvent(W, new QMouseEvent(QEvent::MouseMove, QPointF(P),
                                                       QPointF(W->mapToGlobal(P)), Qt::NoButton,
                                                       Qt::LeftButton, Qt::NoModifier));
    });
    ScopedClock Use(Acts);
    Press(CellMid(0, 3));
    Move(Out);
    EXPECT_LT(Grid->TopRow(), Grid->GetMaxTopRow());
    QApplication::processEvents();
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow());
    EXPECT_EQ(SelectedRows().back(), 60);
    Release(Further);
}

} // namespace
