// Dragging with the left button held on a shown grid: row, column and range
// selection by drag, moving columns, and the auto-scroll while the mouse is
// held still outside the data area (run on a clock that moves on by itself,
// never on real time).
#include "ShownMouseFixture.h"

#include "platform/rtl/Clock.h"

#include <QApplication>
#include <QMouseEvent>

#include <functional>
#include <vector>

using namespace grid;

namespace {

// A tick count that moves on with every reading, as a busy wait would see
// real time pass; once At milliseconds have gone by, Then runs once.
class TriggeringClock : public IClock {
public:
    TDateTime Now() override { return 0.0; }
    std::uint32_t TickCount() override {
        Ticks += 10;
        if (Then && Ticks >= At) {
            auto F = std::move(Then);
            Then = nullptr;
            F();
        }
        return Ticks;
    }
    std::uint32_t Ticks = 1000;
    std::uint32_t At = 0;
    std::function<void()> Then;
};

class DragScroll : public ShownMouseFixture {
protected:
    void SetUp() override { ShowFocused(12, 40); }
    std::vector<int> SelectedRows() const {
        std::vector<int> R;
        for (int Row = 1; Row < Grid->RowCount(); ++Row)
            if (Grid->IsCellSelected(1, Row)) R.push_back(Row);
        return R;
    }
    static std::vector<int> Span(int From, int To) {
        std::vector<int> R;
        for (int I = From; I <= To; ++I) R.push_back(I);
        return R;
    }
    // A mouse move queued for the grid, as the window system would deliver
    // it when the hand moves again.
    void QueueMove(QPoint P) {
        const QPoint A = At(P);
        QCoreApplication::postEvent(W, new QMouseEvent(QEvent::MouseMove, QPointF(A),
                                                       QPointF(W->mapToGlobal(A)), Qt::NoButton,
                                                       Qt::LeftButton, Qt::NoModifier));
    }
    int RowBarX() const { return 4; }
};

TEST_F(DragScroll, RowDragGrowsShrinksAndCrossesTheAnchor) {
    Grid->SetRowSelectMode(rsMulti);
    struct Case {
        std::vector<int> Path;
        std::vector<int> Expected;
    } const Cases[] = {
        {{8}, Span(5, 8)},
        {{8, 6}, Span(5, 6)},
        {{8, 3}, Span(3, 5)},
        {{3, 7}, Span(5, 7)},
        {{5}, Span(5, 5)},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(::testing::PrintToString(C.Path));
        Press(CellMid(1, 1)); // back to no selection
        Release(CellMid(1, 1));
        Press(QPoint(RowBarX(), CellMid(1, 5).y()));
        ASSERT_EQ(Grid->MouseStatus(), msRowSelect);
        for (int R : C.Path) Move(QPoint(RowBarX(), CellMid(1, R).y()));
        EXPECT_EQ(SelectedRows(), C.Expected);
        Release(QPoint(RowBarX(), CellMid(1, C.Path.back()).y()));
        EXPECT_EQ(SelectedRows(), C.Expected);
        EXPECT_EQ(Grid->MouseStatus(), msNormal);
        EXPECT_EQ(Grid->GridStatus(), grRowSelect);
    }
}

TEST_F(DragScroll, SingleRowDragLetsTheSelectedRowFollowTheMouse) {
    Grid->SetRowSelectMode(rsSingle);
    Press(QPoint(RowBarX(), CellMid(1, 4).y()));
    Move(QPoint(RowBarX(), CellMid(1, 7).y()));
    EXPECT_EQ(SelectedRows(), std::vector<int>{7});
    EXPECT_EQ(Grid->Row(), 7);
    Move(QPoint(RowBarX(), CellMid(1, 2).y()));
    Release(QPoint(RowBarX(), CellMid(1, 2).y()));
    EXPECT_EQ(SelectedRows(), std::vector<int>{2});
    EXPECT_EQ(Grid->Row(), 2);
}

TEST_F(DragScroll, EscapeUndoesARowDrag) {
    Grid->SetRowSelectMode(rsMulti);
    Press(QPoint(RowBarX(), CellMid(1, 3).y()));
    Move(QPoint(RowBarX(), CellMid(1, 7).y()));
    TypeKey(W, Qt::Key_Escape);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    Release(QPoint(RowBarX(), CellMid(1, 7).y()));
    for (int R = 4; R <= 7; ++R) EXPECT_FALSE(Grid->IsCellSelected(1, R)) << R;
}

TEST_F(DragScroll, RangeDragSelectsTheBlockFromTheAnchor) {
    Grid->SetCellSelectMode(cmRange);
    const TRect R = Grid->CellRect(2, 3);
    Press(QPoint(R.Left + 1, CellMid(2, 3).y()));
    ASSERT_EQ(Grid->MouseStatus(), msCellSelect);
    Move(CellMid(4, 6));
    Move(CellMid(3, 5));
    Release(CellMid(3, 5));
    EXPECT_EQ(Grid->GridStatus(), grCellSelect);
    for (int C = 1; C <= 5; ++C)
        for (int Row = 2; Row <= 7; ++Row)
            EXPECT_EQ(Grid->IsCellSelected(C, Row), C >= 2 && C <= 3 && Row >= 3 && Row <= 5)
                << C << "," << Row;
}

TEST_F(DragScroll, HeldStillBelowTheGridScrollsOneRowPerSlowStep) {
    Grid->SetRowSelectMode(rsMulti);
    Grid->SetScrollSpeed(spLow);
    TriggeringClock Ticks;
    ScopedClock Guard(Ticks);
    Press(QPoint(RowBarX(), CellMid(1, 2).y()));
    const int Top = Grid->TopRow();
    const QPoint Below(RowBarX(), Grid->ClientHeight() + 4);
    // After a little over a second the hand moves again.
    Ticks.At = Ticks.Ticks + 1090;
    Ticks.Then = [&] { QueueMove(QPoint(RowBarX(), CellMid(1, 3).y())); };
    Move(Below);
    EXPECT_EQ(Grid->TopRow(), Top + 5);
    // The selection runs from the anchor to the last row on screen.
    const int Last = SelectedRows().back();
    EXPECT_EQ(SelectedRows(), Span(2, Last));
    EXPECT_GE(Last, Grid->TopRow() + Grid->VisibleRowCount() - 1);
    EXPECT_FALSE(Grid->IsCellSelected(1, Last + 1));
    QApplication::processEvents();
    Release(QPoint(RowBarX(), CellMid(1, 3).y()));
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
}

TEST_F(DragScroll, FastAutoScrollStopsAtTheLastRow) {
    Grid->SetRowSelectMode(rsMulti);
    Grid->SetScrollSpeed(spHigh);
    TriggeringClock Ticks;
    ScopedClock Guard(Ticks);
    Press(QPoint(RowBarX(), CellMid(1, 2).y()));
    Move(QPoint(RowBarX(), Grid->ClientHeight() + 40));
    EXPECT_EQ(SelectedRows(), Span(2, Grid->RowCount() - 1));
    Release(QPoint(RowBarX(), Grid->ClientHeight() + 40));
    EXPECT_EQ(SelectedRows(), Span(2, Grid->RowCount() - 1));
    // The last row is fully in view.
    const TRect Last = Grid->CellRect(1, Grid->RowCount() - 1);
    EXPECT_GT(Last.Bottom, Last.Top);
    EXPECT_LE(Last.Bottom, Grid->ClientHeight());
}

TEST_F(DragScroll, RangeDragRightOfTheGridScrollsColumnsAndExtendsTheBlock) {
    Grid->SetCellSelectMode(cmRange);
    Grid->SetScrollSpeed(spHigh);
    TriggeringClock Ticks;
    ScopedClock Guard(Ticks);
    const TRect R = Grid->CellRect(1, 2);
    Press(QPoint(R.Left + 1, CellMid(1, 2).y()));
    Move(QPoint(Grid->ClientWidth() + 30, CellMid(1, 4).y()));
    EXPECT_GT(Grid->LeftCol(), 1);
    Release(QPoint(Grid->ClientWidth() + 30, CellMid(1, 4).y()));
    const int LastCol = Grid->ColCount() - 1;
    EXPECT_TRUE(Grid->IsCellSelected(LastCol, 4));
    EXPECT_TRUE(Grid->IsCellSelected(1, 2));
    EXPECT_FALSE(Grid->IsCellSelected(LastCol, 5));
}

TEST_F(DragScroll, ColumnMoveDropsOutsideTheRangeOnly) {
    Grid->SetColSelectMode(csMulti);
    Grid->SetColMoving(true);
    Grid->SetHeadingButton(hbNone);
    auto Order = [&] {
        std::vector<int> O;
        for (int C = 1; C < Grid->ColCount(); ++C) O.push_back(Grid->GetDataCol(C));
        return O;
    };
    const int H = CellMid(1, 0).y();
    Press(QPoint(CellMid(2, 0).x(), H));
    ASSERT_EQ(Grid->MouseStatus(), msColSelect);
    Move(QPoint(CellMid(3, 0).x(), H));
    Release(QPoint(CellMid(3, 0).x(), H));
    ASSERT_TRUE(Grid->ColRangeSelected(2, 3));
    const std::vector<int> Before = Order();

    // Dropped inside itself: nothing moves.
    Press(QPoint(CellMid(2, 0).x(), H));
    ASSERT_EQ(Grid->MouseStatus(), msColMove);
    Move(QPoint(CellMid(3, 0).x(), H));
    Release(QPoint(CellMid(3, 0).x(), H));
    EXPECT_EQ(Order(), Before);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);

    // Dropped on column 5: the two columns go there.
    int Clicks = 0;
    Grid->OnClick = [&](TObject*) { ++Clicks; };
    Press(QPoint(CellMid(2, 0).x(), H));
    Move(QPoint(CellMid(4, 0).x(), H));
    Move(QPoint(CellMid(5, 0).x(), H));
    Release(QPoint(CellMid(5, 0).x(), H));
    // The two columns end at the drop place, which becomes the current column.
    std::vector<int> After = Before;
    After.erase(After.begin() + 1, After.begin() + 3);
    After.insert(After.begin() + 3, {Before[1], Before[2]});
    EXPECT_EQ(Order(), After);
    EXPECT_EQ(Grid->Col(), 5);
    EXPECT_EQ(Clicks, 0);
    EXPECT_EQ(Grid->GridStatus(), grColSelect);
}

TEST_F(DragScroll, RangeDragIntoTheFrozenColumnsScrollsLeftOnlyWhenBegunOutsideThem) {
    Grid->SetCellSelectMode(cmRange);
    Grid->SetScrollSpeed(spHigh);
    Grid->SetFixedColCount(1);
    TriggeringClock Ticks;
    ScopedClock Guard(Ticks);
    struct Case {
        bool InFrozen;
        bool Scrolls;
    } const Cases[] = {{true, false}, {false, true}};
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.InFrozen);
        Grid->SetLeftCol(5);
        ASSERT_EQ(Grid->LeftCol(), 5);
        const int StartCol = C.InFrozen ? 1 : 6;
        const TRect R = Grid->CellRect(StartCol, 2);
        Press(QPoint(R.Left + 1, CellMid(StartCol, 2).y()));
        ASSERT_EQ(Grid->MouseStatus(), msCellSelect);
        const TRect Frozen = Grid->CellRect(1, 2);
        Move(QPoint(Frozen.Left + 2, CellMid(1, 3).y()));
        Release(QPoint(Frozen.Left + 2, CellMid(1, 3).y()));
        if (C.Scrolls)
            EXPECT_LT(Grid->LeftCol(), 5);
        else
            EXPECT_EQ(Grid->LeftCol(), 5);
    }
}

} // namespace
