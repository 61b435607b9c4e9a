// Selecting with the mouse, driven with the window's mouse messages on an
// offscreen grid: clicks with Shift and Ctrl in the row bar and the corner, a
// block dragged past the bottom edge that scrolls the grid by itself without
// any timer, row drags that grow, shrink and cross their anchor, and a
// column selection dragged as one block.
#include "grid/foundation/GridCommonVariant.h"
#include "grid/model/Columns.h"
#include "grid/model/GxGrid.h"
#include "grid/tests/GridSelectFixture.h"
#include "grid/tests/GridShot.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/TimerService.h"
#include "platform/rtl/Clock.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <vector>

using namespace grid;
using gridselect::Marks;

namespace {

// Counts the timers anything starts while it is installed.
class TCountingTimers : public ITimerService {
public:
    int StartTimer(unsigned, TTickProc) override { return ++Started; }
    void StopTimer(int) override {}
    int Started = 0;
};

// A grid that tells the test each time its top-left cell moves.
class TStepGrid : public TgxGrid {
public:
    using TgxGrid::TgxGrid;
    std::function<void()> OnStep;
    void TopLeftChangedEvent(int OldLeftCol, int OldTopRow, bool ByUser, int NewTopRow,
                             int NewLeftCol) override {
        TgxGrid::TopLeftChangedEvent(OldLeftCol, OldTopRow, ByUser, NewTopRow, NewLeftCol);
        if (OnStep) OnStep();
    }
};

// A clock whose tick count moves on by one millisecond each time it is read,
// so that a wait measured on it ends without real time passing.
class TReadTicksClock : public IClock {
public:
    TDateTime Now() override { return 0.0; }
    std::uint32_t TickCount() override { return ++Ticks; }
    std::uint32_t Ticks = 0;
};

class GridSelectMouse : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 640, 420);
        Grid = new TStepGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 520, 320);
        Form->Show();
        Grid->SetGridMode(gmBrowse);
        Grid->SetGridColCount(8);
        Grid->SetGridRowCount(60);
        for (int C = 1; C <= 8; ++C)
            Grid->GetCol(Variant(C))->SetWidth(50);
        Grid->SetColor(clWhite);
        Grid->SetSelectionType(sltColor);
        Grid->SetSelectionColor(clYellow);
        Grid->Invalidate();
        Grid->Update();
    }
    void TearDown() override { delete Form; }

    TPoint Middle(int Col, int Row) {
        const TRect R = Grid->CellRect(Col, Row);
        return TPoint{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
    }
    void Down(TPoint P, unsigned Keys = 0) {
        Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON | Keys, PointToLParam(P.X, P.Y));
    }
    void Move(TPoint P) { Grid->Perform(WM_MOUSEMOVE, MK_LBUTTON, PointToLParam(P.X, P.Y)); }
    void Up(TPoint P) { Grid->Perform(WM_LBUTTONUP, 0, PointToLParam(P.X, P.Y)); }
    TColor Inside(int Col, int Row) {
        const TRect R = Grid->CellRect(Col, Row);
        return Grid->Canvas()->Pixels(R.Right - 3, R.Bottom - 3);
    }
    void SaveShot(const char* Name) { SaveControlShot(*Grid, Name); }

    TForm* Form = nullptr;
    TStepGrid* Grid = nullptr;
};

TEST_F(GridSelectMouse, ABlockDraggedPastTheBottomScrollsByItselfWithoutATimer) {
    TCountingTimers Timers;
    ScopedTimerService UseTimers(Timers);
    // A press in a cell's left strip starts a block there.
    const TRect Start = Grid->CellRect(2, 3);
    Down(TPoint{Start.Left + 1, (Start.Top + Start.Bottom) / 2});
    ASSERT_EQ(Grid->MouseStatus(), msCellSelect);
    Move(Middle(3, 5));
    EXPECT_EQ(Grid->SelectedRange().Bottom, 5);
    EXPECT_EQ(Grid->TopRow(), 1);

    // Held far below the grid: one step after another until the last row shows.
    const TPoint Below{Middle(3, 5).X, Grid->ClientHeight() + 80};
    Move(Below);
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow());
    EXPECT_GT(Grid->TopRow(), 1);
    const TRect Range = Grid->SelectedRange();
    EXPECT_EQ((std::vector<int>{Range.Left, Range.Top, Range.Right, Range.Bottom}),
              (std::vector<int>{2, 3, 3, 60}));
    Up(Below);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    EXPECT_EQ(Grid->GridStatus(), grCellSelect);
    EXPECT_EQ(Timers.Started, 0);

    Grid->Update();
    SaveShot("select_drag_bottom");
    const int Last = Grid->MaxVisibleRow();
    EXPECT_EQ(Inside(2, Grid->TopRow()), clYellow);
    EXPECT_EQ(Inside(3, Last), clYellow);
    EXPECT_NE(Inside(4, Last), clYellow);
    EXPECT_NE(Inside(1, Last), clYellow);
}

TEST_F(GridSelectMouse, AutoScrollStopsAsSoonAsTheGridLosesTheMouse) {
    Down(Middle(0, 4));
    ASSERT_EQ(Grid->MouseStatus(), msRowSelect);
    int Steps = 0;
    Grid->OnStep = [&] {
        if (++Steps == 3) Grid->SetMouseCapture(false);
    };
    Move(TPoint{Middle(0, 4).X, Grid->ClientHeight() + 80});
    Grid->OnStep = nullptr;
    EXPECT_EQ(Steps, 3);
    EXPECT_EQ(Grid->TopRow(), 4);
    EXPECT_LT(Grid->TopRow(), Grid->GetMaxTopRow());
    // The rows scrolled into view on the way were taken along.
    EXPECT_TRUE(Grid->RowRangeSelected(4, Grid->MaxVisibleRow()));
    EXPECT_FALSE(Grid->RowSelection().GetSelected(3));
}

TEST_F(GridSelectMouse, ARowDragGrowsShrinksAndCrossesItsAnchor) {
    struct TStep {
        int Row;
        std::set<int> Selected;
    };
    Down(Middle(0, 6));
    ASSERT_EQ(Grid->MouseStatus(), msRowSelect);
    for (const TStep& Step : std::vector<TStep>{
             {9, {6, 7, 8, 9}}, {7, {6, 7}}, {6, {6}}, {3, {3, 4, 5, 6}}, {8, {6, 7, 8}}}) {
        SCOPED_TRACE(Step.Row);
        Move(Middle(0, Step.Row));
        EXPECT_EQ(Marks(Grid->RowSelection()), Step.Selected);
    }
    Up(Middle(0, 8));
    EXPECT_EQ(Grid->GridStatus(), grRowSelect);
    Grid->Update();
    EXPECT_EQ(Inside(4, 7), clYellow);
    EXPECT_NE(Inside(4, 5), clYellow);
}

TEST_F(GridSelectMouse, DraggingColumnsTwoAndSevenOntoFiveMovesThemAsOneBlock) {
    std::vector<std::vector<int>> Moved;
    Grid->OnColMoved = [&](TObject*, int To, int Count, bool ByUser) {
        Moved.push_back({To, Count, ByUser ? 1 : 0});
    };
    const TPoint Head2 = Middle(2, 0);
    Down(Head2);
    Up(Head2);
    Down(Middle(7, 0), MK_CONTROL);
    Up(Middle(7, 0));
    ASSERT_EQ(Marks(Grid->ColSelection()), (std::set<int>{2, 7}));

    // A plain press on a selected heading picks the columns up.
    Down(Head2);
    ASSERT_EQ(Grid->MouseStatus(), msColMove);
    Move(Middle(4, 0));
    Move(Middle(5, 0));
    EXPECT_EQ(Grid->MovePosition(), 5);
    Up(Middle(5, 0));

    std::vector<int> Order;
    for (int C = 1; C <= 8; ++C)
        Order.push_back(Grid->GetDataCol(C));
    EXPECT_EQ(Order, (std::vector<int>{1, 3, 4, 5, 2, 7, 6, 8}));
    EXPECT_EQ(Marks(Grid->ColSelection()), (std::set<int>{5, 6}));
    EXPECT_EQ(Grid->GridStatus(), grColSelect);
    EXPECT_EQ(Moved, (std::vector<std::vector<int>>{{5, 2, 1}}));
}

TEST_F(GridSelectMouse, DroppingAColumnOnItsOwnSelectionChangesNothing) {
    const TPoint Head3 = Middle(3, 0);
    Down(Head3);
    Up(Head3);
    Down(Middle(4, 0), MK_SHIFT);
    Up(Middle(4, 0));
    ASSERT_EQ(Marks(Grid->ColSelection()), (std::set<int>{3, 4}));
    Down(Head3);
    Move(Middle(4, 0));
    Up(Middle(4, 0));
    std::vector<int> Order;
    for (int C = 1; C <= 8; ++C)
        Order.push_back(Grid->GetDataCol(C));
    EXPECT_EQ(Order, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST_F(GridSelectMouse, RowBarClicksWithShiftAndCtrl) {
    struct TClick {
        int Row;
        unsigned Keys;
    };
    struct TCase {
        const char* Name;
        TgxRowSelectMode Mode;
        std::vector<TClick> Clicks;
        std::set<int> Selected;
        int Current;
    };
    const std::vector<TCase> Cases = {
        {"plain", rsMulti, {{5, 0}}, {5}, 5},
        {"plain moves the selection", rsMulti, {{5, 0}, {8, 0}}, {8}, 8},
        {"ctrl adds", rsMulti, {{5, 0}, {8, MK_CONTROL}}, {5, 8}, 8},
        {"ctrl takes away", rsMulti, {{5, 0}, {8, MK_CONTROL}, {5, MK_CONTROL}}, {8}, 5},
        {"shift spans from the anchor", rsMulti, {{5, 0}, {9, MK_SHIFT}}, {5, 6, 7, 8, 9}, 9},
        {"shift again spans anew", rsMulti, {{5, 0}, {9, MK_SHIFT}, {3, MK_SHIFT}}, {3, 4, 5}, 3},
        {"shift with the anchor unselected only moves",
         rsMulti,
         {{5, 0}, {8, MK_CONTROL}, {8, MK_CONTROL}, {3, MK_SHIFT}},
         {},
         3},
        {"shift and ctrl add a span",
         rsMulti,
         {{2, 0}, {5, MK_CONTROL}, {7, MK_SHIFT | MK_CONTROL}},
         {2, 5, 6, 7},
         7},
        {"ctrl in single mode is a plain click", rsSingle, {{5, 0}, {8, MK_CONTROL}}, {8}, 8},
    };
    Grid->SetRowMoving(false);
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Grid->SetRowSelectMode(Case.Mode);
        Grid->ResetSelection();
        for (const TClick& C : Case.Clicks) {
            Down(Middle(0, C.Row), C.Keys);
            Up(Middle(0, C.Row));
        }
        EXPECT_EQ(Marks(Grid->RowSelection()), Case.Selected);
        EXPECT_EQ(Grid->Row(), Case.Current);
        Grid->Update();
        for (int R = 1; R <= 10; ++R)
            EXPECT_EQ(Inside(3, R) == clYellow, Case.Selected.count(R) == 1) << "row " << R;
    }
}

TEST_F(GridSelectMouse, APlainClickOnASelectedRowPicksItUpToMove) {
    Down(Middle(0, 5));
    Up(Middle(0, 5));
    Down(Middle(0, 5));
    EXPECT_EQ(Grid->MouseStatus(), msRowMove);
    Up(Middle(0, 5)); // dropped on itself: nothing moves
    EXPECT_EQ(Grid->GetDataRow(5), 5);
    EXPECT_EQ(Marks(Grid->RowSelection()), (std::set<int>{5}));
}

TEST_F(GridSelectMouse, TheCornerSelectsAllRowsOrTakesThemAllAway) {
    const TPoint Corner = Middle(0, 0);
    Down(Corner);
    Up(Corner);
    EXPECT_EQ(Grid->RowSelection().Count(), 60);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    Down(Corner);
    Up(Corner);
    EXPECT_EQ(Grid->RowSelection().Count(), 0);
    Grid->SelectAll();
    Grid->SelectAll(); // from the program it always selects
    EXPECT_EQ(Grid->RowSelection().Count(), 60);
}

TEST_F(GridSelectMouse, FrozenCellsSelectNothingWithoutSelectFixed) {
    Grid->SetFixedColCount(1);
    Grid->SetFixedRowCount(1);
    Grid->SetSelectFixed(false);
    Grid->Update();
    Down(Middle(0, 1));
    Up(Middle(0, 1));
    Down(Middle(1, 0));
    Up(Middle(1, 0));
    EXPECT_EQ(Grid->RowSelection().Count(), 0);
    EXPECT_EQ(Grid->ColSelection().Count(), 0);
    Down(Middle(0, 4));
    Up(Middle(0, 4));
    EXPECT_EQ(Marks(Grid->RowSelection()), (std::set<int>{4}));
}

TEST_F(GridSelectMouse, ABlockBegunInAFrozenColumnDoesNotScrollLeft) {
    struct TCase {
        int StartCol;
        bool Scrolls;
    };
    Grid->SetFixedColCount(1);
    for (int C = 1; C <= 8; ++C)
        Grid->GetCol(Variant(C))->SetWidth(120);
    for (const TCase& Case : std::vector<TCase>{{1, false}, {5, true}}) {
        SCOPED_TRACE(Case.StartCol);
        Grid->ResetSelection();
        Grid->SetLeftCol(4);
        Grid->Update();
        ASSERT_GE(Grid->CalcColOffset(Case.StartCol), 0);
        const TRect Start = Grid->CellRect(Case.StartCol, 3);
        Down(TPoint{Start.Left + 1, (Start.Top + Start.Bottom) / 2});
        ASSERT_EQ(Grid->MouseStatus(), msCellSelect);
        // Into the frozen column, left of where the columns scroll.
        Move(TPoint{Grid->CellRect(1, 3).Left + 5, (Start.Top + Start.Bottom) / 2});
        Up(TPoint{Grid->CellRect(1, 3).Left + 5, (Start.Top + Start.Bottom) / 2});
        EXPECT_EQ(Grid->LeftCol() < 4, Case.Scrolls);
    }
}

TEST_F(GridSelectMouse, AtLowSpeedEachStepWaitsItsDelayAndTakesOneRowAlong) {
    Grid->SetScrollSpeed(spLow);
    Down(Middle(0, 4));
    TReadTicksClock Ticks;
    ScopedClock UseTicks(Ticks);
    std::vector<std::uint32_t> StepTimes;
    std::vector<int> Ends;
    Grid->OnStep = [&] {
        StepTimes.push_back(Ticks.Ticks);
        Ends.push_back(Grid->RowSelection().Last());
        if (StepTimes.size() == 3) Grid->SetMouseCapture(false);
    };
    Move(TPoint{Middle(0, 4).X, Grid->ClientHeight() + 3});
    Grid->OnStep = nullptr;
    ASSERT_EQ(StepTimes.size(), 3u);
    for (std::size_t I = 1; I < StepTimes.size(); ++I) {
        EXPECT_GE(StepTimes[I] - StepTimes[I - 1], 200u);
        EXPECT_EQ(Ends[I], Ends[I - 1] + 1); // one row more per step
    }
    EXPECT_EQ(Grid->TopRow(), 4);
}

TEST_F(GridSelectMouse, AClickMovesTheCurrentCellAndASecondOneOpensItsEditor) {
    Grid->SetGridMode(gmEdit);
    Grid->SetAlwaysShowEditor(false);
    Grid->SetStoreData(true);
    Grid->SelectCells(2, 2, 4, 4);
    Down(Middle(3, 6));
    Up(Middle(3, 6));
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->Row(), 6);
    EXPECT_EQ(Grid->GridStatus(), grNormal); // a plain click drops the block
    EXPECT_FALSE(Grid->EditorShown());
    Down(Middle(3, 6));
    Up(Middle(3, 6));
    EXPECT_TRUE(Grid->EditorShown());
}

TEST_F(GridSelectMouse, ACancelledDragPutsTheSelectionBackAsTheClickLeftIt) {
    struct TCase {
        const char* Name;
        TPoint From, To;
        std::set<int> Rows, Cols;
        TgxGridStatus Status;
    };
    const std::vector<TCase> Cases = {
        {"rows", Middle(0, 4), Middle(0, 8), {4}, {}, grRowSelect},
        {"columns", Middle(3, 0), Middle(6, 0), {}, {3}, grColSelect},
        {"block",
         TPoint{Grid->CellRect(2, 3).Left + 1, Middle(2, 3).Y},
         Middle(5, 7),
         {},
         {},
         grNormal},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Grid->ResetSelection();
        Grid->Update();
        Down(Case.From);
        Move(Case.To);
        Grid->CancelMouseAction();
        EXPECT_EQ(Grid->MouseStatus(), msNormal);
        EXPECT_EQ(Marks(Grid->RowSelection()), Case.Rows);
        EXPECT_EQ(Marks(Grid->ColSelection()), Case.Cols);
        EXPECT_EQ(Grid->GridStatus(), Case.Status);
        Grid->Update();
        EXPECT_NE(Inside(5, 7), clYellow);
        Up(Case.To);
    }
}

TEST_F(GridSelectMouse, SingleRowDragsAndColumnDragsFollowTheMouse) {
    struct TCase {
        const char* Name;
        TgxRowSelectMode Mode;
        TPoint From, To;
        std::set<int> Rows, Cols;
        TGridCoord Current;
    };
    const std::vector<TCase> Cases = {
        {"single row", rsSingle, Middle(0, 4), Middle(0, 7), {7}, {}, {1, 7}},
        {"columns leftwards", rsMulti, Middle(6, 0), Middle(3, 0), {}, {3, 4, 5, 6}, {6, 1}},
        {"columns rightwards", rsMulti, Middle(2, 0), Middle(4, 0), {}, {2, 3, 4}, {2, 1}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Grid->SetRowSelectMode(Case.Mode);
        Grid->ResetSelection();
        int C = 1;
        int R = 1;
        Grid->SelectNone(C, R);
        Down(Case.From);
        Move(Case.To);
        Up(Case.To);
        EXPECT_EQ(Marks(Grid->RowSelection()), Case.Rows);
        EXPECT_EQ(Marks(Grid->ColSelection()), Case.Cols);
        EXPECT_EQ(Grid->Col(), Case.Current.X);
        EXPECT_EQ(Grid->Row(), Case.Current.Y);
    }
}

} // namespace

namespace {

// A press and a release with the keyboard modifiers held, as Qt delivers them.
void QtClick(TgxBaseGrid* Grid, TPoint P, Qt::KeyboardModifiers Mods = Qt::NoModifier,
             bool Release = true) {
    QWidget* W = Grid->ClientWidget();
    const QPointF At(P.X, P.Y);
    QMouseEvent Press(QEvent::MouseButtonPress, At, W->mapToGlobal(At), Qt::LeftButton,
                      Qt::LeftButton, Mods);
    QApplication::sendEvent(W, &Press);
    if (!Release) return;
    QMouseEvent Up(QEvent::MouseButtonRelease, At, W->mapToGlobal(At), Qt::LeftButton,
                   Qt::NoButton, Mods);
    QApplication::sendEvent(W, &Up);
}

} // namespace

// Without column moving, a plain click on a column of a selection makes it
// the only one selected and the current column; with moving, it picks the
// selection up.
TEST_F(GridSelectMouse, APlainClickOnASelectedColumnSelectsItAloneUnlessColumnsMove) {
    Grid->SetColSelectMode(csMulti);
    for (const bool Moving : {false, true}) {
        SCOPED_TRACE(Moving ? "moving" : "not moving");
        Grid->SetColMoving(Moving);
        Grid->ResetSelection();
        QtClick(Grid, Middle(2, 0));
        QtClick(Grid, Middle(4, 0), Qt::ShiftModifier);
        EXPECT_EQ(Marks(Grid->ColSelection()), (std::set<int>{2, 3, 4}));
        EXPECT_EQ(Grid->Col(), 2);
        QtClick(Grid, Middle(3, 0), Qt::NoModifier, false);
        EXPECT_EQ(Grid->MouseStatus(), Moving ? msColMove : msColSelect);
        Up(Middle(3, 0));
        if (Moving) {
            EXPECT_EQ(Marks(Grid->ColSelection()), (std::set<int>{2, 3, 4}));
        } else {
            EXPECT_EQ(Marks(Grid->ColSelection()), (std::set<int>{3}));
            EXPECT_EQ(Grid->Col(), 3);
            EXPECT_EQ(Grid->MouseDownCol(), 3);
        }
    }
}

// Plain clicks on cells a user may not go to: a read-only frozen cell takes
// no click; skipping read-only cells, a read-only column keeps the current
// column and only the row follows the click.
TEST_F(GridSelectMouse, PlainClicksOnReadOnlyCellsMoveOnlyWhereTheyMay) {
    Grid->SetGridMode(gmEdit);
    Grid->SetFixedColCount(1);
    Grid->SetSelectFixed(false);
    Grid->GetCol(Variant(1))->SetReadOnly(true);
    Grid->GetCol(Variant(5))->SetReadOnly(true);
    struct Case {
        const char* What;
        bool Skip;
        int Col;
        int Row;
        int ToCol;
        int ToRow;
    };
    const Case Cases[] = {
        {"a read-only frozen cell", false, 1, 6, 3, 3},
        {"a read-only column, not skipping", false, 5, 6, 5, 6},
        {"a read-only column, skipping", true, 5, 6, 3, 6},
        {"an editable cell, skipping", true, 4, 7, 4, 7},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        Grid->SetSkipReadOnly(C.Skip);
        Grid->SetCurrentCell(3, 3);
        QtClick(Grid, Middle(C.Col, C.Row));
        EXPECT_EQ(Grid->Col(), C.ToCol);
        EXPECT_EQ(Grid->Row(), C.ToRow);
    }
}

namespace {

void QtDrag(TgxBaseGrid* Grid, TPoint P) {
    QWidget* W = Grid->ClientWidget();
    const QPointF At(P.X, P.Y);
    QMouseEvent Move(QEvent::MouseMove, At, W->mapToGlobal(At), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(W, &Move);
}

void QtRelease(TgxBaseGrid* Grid, TPoint P) {
    QWidget* W = Grid->ClientWidget();
    const QPointF At(P.X, P.Y);
    QMouseEvent Up(QEvent::MouseButtonRelease, At, W->mapToGlobal(At), Qt::LeftButton,
                   Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(W, &Up);
}

} // namespace

// A block dragged past the right edge scrolls the columns by itself and
// takes them into the block up to the last one.
TEST_F(GridSelectMouse, ABlockDraggedPastTheRightEdgeScrollsTheColumnsAlong) {
    Grid->SetGridColCount(30);
    const TRect Start = Grid->CellRect(2, 3);
    QtClick(Grid, TPoint{Start.Left + 1, (Start.Top + Start.Bottom) / 2}, Qt::NoModifier, false);
    ASSERT_EQ(Grid->MouseStatus(), msCellSelect);
    const TPoint Right{Grid->ClientWidth() + 60, Middle(3, 5).Y};
    QtDrag(Grid, Right);
    EXPECT_EQ(Grid->LeftCol(), Grid->GetMaxLeftCol());
    EXPECT_GT(Grid->LeftCol(), 1);
    QtRelease(Grid, Right);
    const TRect Range = Grid->SelectedRange();
    EXPECT_EQ((std::vector<int>{Range.Left, Range.Top, Range.Right, Range.Bottom}),
              (std::vector<int>{2, 3, 30, 5}));
    EXPECT_EQ(Grid->GridStatus(), grCellSelect);
}

// A selected row picked up in the row bar and dragged past the bottom
// scrolls the rows along and lands where it is let go.
TEST_F(GridSelectMouse, ARowPickedUpAndDraggedPastTheBottomScrollsAndLandsThere) {
    Grid->SetRowSelectMode(rsMulti);
    Grid->SetRowMoving(true);
    std::vector<int> MovedTo;
    Grid->OnRowMoved = [&](TObject*, int To, int, bool ByUser) {
        EXPECT_TRUE(ByUser);
        MovedTo.push_back(To);
    };
    QtClick(Grid, Middle(0, 3));
    ASSERT_TRUE(Grid->RowSelection().GetSelected(3));
    QtClick(Grid, Middle(0, 3), Qt::NoModifier, false);
    ASSERT_EQ(Grid->MouseStatus(), msRowMove);
    const TPoint Below{Middle(0, 3).X, Grid->ClientHeight() + 60};
    QtDrag(Grid, Below);
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow());
    const int Last = Grid->MaxVisibleRow();
    QtRelease(Grid, TPoint{Middle(0, 3).X, Middle(0, Last).Y});
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    ASSERT_EQ(MovedTo.size(), 1u);
    EXPECT_EQ(Grid->GetDataRow(MovedTo[0]), 3);
    EXPECT_GT(MovedTo[0], 40);
}
