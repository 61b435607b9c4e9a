// The base grid's mouse: resizing, selecting with the auto-scroll timer,
// and dragging columns.
#include "BaseGridFixture.h"

#include "platform/rtl/Clock.h"

namespace gridtest {
namespace {

class BaseGridMouse : public GridOnForm<> {
protected:
    void SetUp() override {
        GridOnForm::SetUp();
        Grid->SetOptions(DefaultGridOptions + TGridOptions{goColSizing, goRowSizing, goColMoving});
    }

    FakeTimerService Timers;
    ScopedTimerService TimerScope{Timers};
};

TEST_F(BaseGridMouse, DraggingAHeadingEdgeWidensTheColumn) {
    // Column 1 ends at x 129: press 2 pixels left of it in the heading row.
    MouseDown(127, 10);
    EXPECT_EQ(Grid->GridState(), gsColSizing);
    MouseMove(160, 10);
    MouseUp(160, 10);
    EXPECT_EQ(Grid->GridState(), gsNormal);
    EXPECT_EQ(Grid->ColWidths(1), 64 + 33);
    // The next column starts further right, and what is drawn follows.
    EXPECT_EQ(Grid->CellRect(2, 0).Left, 65 + 97 + 1);
}

TEST_F(BaseGridMouse, OverAResizeZoneTheCursorIsTheSplitter) {
    auto CursorAt = [&](int X, int Y) {
        const TPoint S = Grid->ClientToScreen(Point(X, Y));
        const LRESULT Hit = Grid->Perform(WM_NCHITTEST, 0, PointToLParam(S.X, S.Y));
        return Grid->Perform(WM_SETCURSOR, reinterpret_cast<WPARAM>(Grid),
                             MakeLParam(static_cast<Word>(Hit), WM_MOUSEMOVE));
    };
    EXPECT_EQ(CursorAt(127, 10), 1);  // the grid set the column splitter
    EXPECT_EQ(CursorAt(100, 10), 0);  // elsewhere the control's own cursor
    EXPECT_EQ(CursorAt(127, 60), 0);  // no column sizing below the headings
}

TEST_F(BaseGridMouse, ASizeOfOnePixelOrLessIsNotApplied) {
    MouseDown(127, 10);
    MouseMove(64, 10); // the line one pixel from the column's start
    MouseUp(64, 10);
    EXPECT_EQ(Grid->ColWidths(1), 64);
}

TEST_F(BaseGridMouse, WithoutColumnSizingAPressOnAHeadingEdgeDoesNothing) {
    Grid->SetOptions(DefaultGridOptions);
    MouseDown(127, 10);
    EXPECT_EQ(Grid->GridState(), gsNormal);
    MouseUp(127, 10);
    EXPECT_EQ(Grid->ColWidths(1), 64);
    EXPECT_EQ(Grid->Selection(), (TGridRect{1, 1, 1, 1}));
}

TEST_F(BaseGridMouse, SelectingPastTheBottomExtendsOneRowPerTickUntilTheLastRow) {
    Grid->SetRowCount(30);
    MouseDown(100, 30); // cell (1, 1)
    EXPECT_EQ(Grid->GridState(), gsSelecting);
    Mouse->SetCursorPos(Grid->ClientToScreen(Point(100, Grid->ClientHeight() + 20)));
    Timers.Advance(60);
    EXPECT_EQ(Grid->Anchor().Y, 2);
    Timers.Advance(60 * 3);
    EXPECT_EQ(Grid->Anchor().Y, 5);
    Timers.Advance(60 * 100);
    EXPECT_EQ(Grid->Anchor().Y, 29);
    EXPECT_EQ(Grid->TopRow() + Grid->VisibleRowCount() - 1, 29); // scrolled along
    MouseUp(100, Grid->ClientHeight() + 20);
    EXPECT_EQ(Timers.Count(), 0);
    EXPECT_EQ(Grid->GridState(), gsNormal);
}

TEST_F(BaseGridMouse, WithEditingAClickNeverSelects) {
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    MouseDown(200, 60); // cell (3, 2)
    EXPECT_EQ(Grid->GridState(), gsNormal);
    EXPECT_EQ(Timers.Count(), 0);
    EXPECT_EQ((TGridCoord{Grid->Col(), Grid->Row()}), (TGridCoord{3, 2}));
    MouseUp(200, 60);
}

TEST_F(BaseGridMouse, DraggingAHeadingAlongTheHeadingRowMovesTheColumn) {
    std::vector<std::pair<int, int>> Moves;
    Grid->OnColumnMoved = [&](TObject*, int From, int To) { Moves.emplace_back(From, To); };
    Grid->SetColWidths(1, 40);
    MouseDown(80, 10); // heading of column 1 (x 65..104)
    EXPECT_EQ(Grid->GridState(), gsColMoving);
    MouseMove(200, 10); // heading of column 3 (x 171..234)
    MouseUp(200, 10);
    EXPECT_EQ(Moves, (std::vector<std::pair<int, int>>{{1, 3}}));
    EXPECT_EQ(Grid->ColWidths(3), 40);
    EXPECT_EQ(Grid->GridState(), gsNormal);
}

TEST_F(BaseGridMouse, CancelModeEndsADragWithoutMoving) {
    int Moves = 0;
    Grid->OnColumnMoved = [&](TObject*, int, int) { ++Moves; };
    MouseDown(80, 10);
    MouseMove(250, 10);
    Grid->Perform(WM_CANCELMODE);
    EXPECT_EQ(Grid->GridState(), gsNormal);
    EXPECT_EQ(Timers.Count(), 0);
    MouseUp(250, 10);
    EXPECT_EQ(Moves, 0);
}

TEST_F(BaseGridMouse, WithoutFixedCellsAPointBeforeTheGridHitsNoCell) {
    Grid->SetColCount(30);
    Grid->SetRowCount(30);
    Grid->SetFixedCols(0);
    Grid->SetFixedRows(0);
    Grid->SetLeftCol(5);
    Grid->SetTopRow(5);
    struct Case {
        int X, Y, Col, Row;
    };
    for (const Case& C : {Case{-5, -5, -1, -1}, Case{-1, 10, -1, -1}, Case{10, -1, -1, -1},
                          Case{0, 0, 5, 5}}) {
        int Col = 0, Row = 0;
        Grid->MouseToCell(C.X, C.Y, Col, Row);
        EXPECT_EQ((TGridCoord{Col, Row}), (TGridCoord{C.Col, C.Row})) << C.X << "," << C.Y;
    }
}

TEST_F(BaseGridMouse, SelectingLeftOfAGridWithoutFixedColumnsScrollsOneColumnPerTick) {
    Grid->SetColCount(30);
    Grid->SetFixedCols(0);
    Grid->SetFixedRows(0);
    Grid->SetLeftCol(10);
    const TRect Start = Grid->CellRect(11, 2);
    const int Y = Start.Top + 5;
    MouseDown(Start.Left + 5, Y);
    ASSERT_EQ((TGridCoord{Grid->Col(), Grid->Row()}), (TGridCoord{11, 2}));
    // Past the left edge the move itself finds no cell: nothing jumps.
    MouseMove(-3, Y);
    EXPECT_EQ(Grid->Anchor(), (TGridCoord{11, 2}));
    EXPECT_EQ(Grid->LeftCol(), 10);
    // Held there, the timer takes the selection on a column per tick.
    Mouse->SetCursorPos(Grid->ClientToScreen(Point(-3, Y)));
    Timers.Advance(60);
    EXPECT_EQ(Grid->Anchor(), (TGridCoord{10, 2}));
    EXPECT_EQ(Grid->LeftCol(), 10);
    Timers.Advance(60);
    EXPECT_EQ(Grid->Anchor(), (TGridCoord{9, 2}));
    EXPECT_EQ(Grid->LeftCol(), 9);
    MouseUp(-3, Y);
    EXPECT_EQ(Grid->Selection(), (TGridRect{9, 2, 11, 2}));
}

} // namespace
} // namespace gridtest
