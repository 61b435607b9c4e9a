// Scroll bars and scrolling read through the grid's window: the bars'
// range, page and position, scroll messages through the visible rows,
// the scaled bar of a very long grid, what a scroll repaints, and the
// auto-scroll wait.
#include "grid/model/Columns.h"
#include "ShownGridFixture.h"
#include "grid/model/GxGrid.h"
#include "grid/model/InplaceControl.h"

#include "platform/gui/Forms.h"
#include "platform/gui/Messages.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/WindowScroll.h"
#include "platform/rtl/Clock.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <set>

using namespace grid;

namespace {

class ScrollBarsS60 : public ShownGridFixture {
protected:
    void SetUp() override {
        ShowGrid(3, 50, 300, 200);
        Grid->SetDefaultColWidth(60);
        Grid->SetDefaultRowHeight(20);
        Settle();
    }
    TScrollInfo Vert() {
        TScrollInfo I;
        I.fMask = SIF_ALL;
        GetScrollInfo(Grid->Handle(), SB_VERT, I);
        return I;
    }
    void VScroll(int Code, int Pos = 0) {
        Grid->Perform(WM_VSCROLL, MakeWParam(static_cast<Word>(Code), static_cast<Word>(Pos)), 0);
    }
};

// A clock that moves on by Step milliseconds each time it is read.
class ScrollbarClock : public IClock {
public:
    explicit ScrollbarClock(std::uint32_t Step) : FStep(Step) {}
    TDateTime Now() override { return 0.0; }
    std::uint32_t TickCount() override { return FTicks += FStep; }
    std::uint32_t FTicks = 1000;

private:
    std::uint32_t FStep;
};

} // namespace

TEST_F(ScrollBarsS60, BarRangePageAndPositionFollowTheVisibleRows) {
    const int Fit = Grid->GetMaxScrollRow();
    TScrollInfo I = Vert();
    ASSERT_TRUE(ScrollBarVisible(Grid->Handle(), SB_VERT));
    EXPECT_EQ(I.nMin, 1);
    EXPECT_EQ(I.nMax, 50);
    EXPECT_EQ(static_cast<int>(I.nPage), 50 - Fit + 1);
    EXPECT_EQ(I.nPos, 1);

    // Hidden rows leave the bar: line down skips them, and the thumb maps
    // through the visible rows.
    Grid->SetRowVisible(2, false);
    Grid->SetRowVisible(3, false);
    Settle();
    EXPECT_EQ(Vert().nMax, 48);
    VScroll(SB_LINEDOWN);
    EXPECT_EQ(Grid->TopRow(), 4);
    EXPECT_EQ(Vert().nPos, 2);
    VScroll(SB_THUMBPOSITION, 5);
    EXPECT_EQ(Grid->TopRow(), 7); // visible rows 1, 4, 5, 6, 7
    EXPECT_EQ(Vert().nPos, 5);
    VScroll(SB_LINEUP);
    EXPECT_EQ(Grid->TopRow(), 6);
    VScroll(SB_TOP);
    EXPECT_EQ(Grid->TopRow(), 1);
    VScroll(SB_LINEUP);
    EXPECT_EQ(Grid->TopRow(), 1);
    VScroll(SB_BOTTOM);
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow());
    EXPECT_EQ(Vert().nPos, Grid->GetMaxScrollRow() - 1 + 1);
    // A thumb beyond the list takes the last row the grid can show at the top.
    VScroll(SB_TOP);
    VScroll(SB_THUMBPOSITION, 500);
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow());
}

TEST_F(ScrollBarsS60, PageAndThumbMessages) {
    const int Page = std::max(1, Grid->VisibleScrollRows());
    VScroll(SB_PAGEDOWN);
    EXPECT_EQ(Grid->TopRow(), 1 + Page);
    VScroll(SB_PAGEUP);
    EXPECT_EQ(Grid->TopRow(), 1);

    struct Case {
        bool Tracking;
        int Code;
        int WantTop;
    };
    const std::vector<Case> Cases = {
        {false, SB_THUMBTRACK, 1},
        {false, SB_THUMBPOSITION, 9},
        {true, SB_THUMBTRACK, 9},
        {true, SB_ENDSCROLL, 1},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Code * 10 + C.Tracking);
        Grid->SetThumbTracking(C.Tracking);
        VScroll(SB_TOP);
        VScroll(C.Code, 9);
        EXPECT_EQ(Grid->TopRow(), C.WantTop);
    }
    Grid->SetThumbTracking(false);
}

TEST_F(ScrollBarsS60, ScalingStartsPastTheBarsSixteenBits) {
    // Scaled, the bar runs over the top rows the grid can take.
    struct Case {
        int Rows;
        bool Scaled;
    };
    for (const Case& C : {Case{32767, false}, Case{32768, true}}) {
        SCOPED_TRACE(C.Rows);
        Grid->SetGridRowCount(C.Rows);
        Settle();
        EXPECT_EQ(Vert().nMin, C.Scaled ? 0 : 1);
        EXPECT_EQ(Vert().nMax, C.Scaled ? Grid->GetMaxScrollRow() - 1 : 32767);
    }
}

TEST_F(ScrollBarsS60, FortyThousandRowsScaleTheBar) {
    Grid->SetGridRowCount(40000);
    Settle();
    TScrollInfo I = Vert();
    EXPECT_EQ(I.nMin, 0);
    EXPECT_EQ(I.nMax, 32767);
    EXPECT_EQ(I.nPage, 1u);
    int Count = 0, Max = 0, Last = 0, First = 0;
    bool Scaled = false;
    Grid->GetVertScrollRange(Count, Max, Scaled, Last, First);
    ASSERT_TRUE(Scaled);
    EXPECT_EQ(Count, Grid->GetMaxScrollRow() - First);
    // The thumb is scaled to the rows and the rows back to the thumb, each
    // taken to the nearest whole number.
    for (int Thumb : {1, 1000, 20001, 32767}) {
        SCOPED_TRACE(Thumb);
        VScroll(SB_THUMBPOSITION, Thumb);
        const int P = static_cast<int>(std::nearbyint(double(Count) / Max * Thumb)) + First;
        EXPECT_EQ(Grid->TopRow(), std::min(P, Grid->GetMaxTopRow()));
        const int Back = static_cast<int>(std::nearbyint(double(Max) / Count * (Grid->TopRow() - First)));
        EXPECT_EQ(Vert().nPos, Back);
    }
}

TEST_F(ScrollBarsS60, BarsThatAreNotNeededOrAlwaysShown) {
    Grid->SetGridRowCount(3);
    Settle();
    EXPECT_FALSE(ScrollBarVisible(Grid->Handle(), SB_VERT));
    Grid->SetAlwaysShowScrollBar(ssVertical);
    Settle();
    EXPECT_TRUE(ScrollBarVisible(Grid->Handle(), SB_VERT));
    EXPECT_FALSE(ScrollBarEnabled(Grid->Handle(), SB_VERT));
    // Asked for, but the grid has no vertical bar at all.
    Grid->SetGridScrollBars(ssHorizontal);
    Settle();
    EXPECT_FALSE(Grid->AlwaysShowVertScrollBar());
    EXPECT_FALSE(ScrollBarVisible(Grid->Handle(), SB_VERT));
    Grid->SetGridScrollBars(ssBoth);
    Grid->SetGridRowCount(50);
    Settle();
    EXPECT_TRUE(ScrollBarVisible(Grid->Handle(), SB_VERT));
    EXPECT_TRUE(ScrollBarEnabled(Grid->Handle(), SB_VERT));
}

TEST_F(ScrollBarsS60, PositionAskedForWhilePaintingIsOffFollowsThePaint) {
    Grid->SetEnablePaint(false);
    Grid->SetTopRow(10);
    EXPECT_EQ(Vert().nPos, 1);
    Grid->SetEnablePaint(true);
    Grid->Invalidate();
    Settle();
    EXPECT_EQ(Vert().nPos, 10);
}

TEST_F(ScrollBarsS60, SmallScrollsMoveThePixelsLargeOnesRepaint) {
    std::set<int> Painted;
    Grid->OnGetDrawInfo = [&](TObject*, int, int DataRow, TgxDrawInfo&) { Painted.insert(DataRow); };
    const int Shown = Grid->GetVisibleRowCount();
    ASSERT_GE(Shown, 6);
    struct Case {
        const char* Name;
        int Top;
        bool Whole; // every row on screen painted, or only a strip
    };
    const std::vector<Case> Cases = {
        {"one row down", 2, false},
        {"one row up", 1, false},
        {"two rows down", 3, false},
        {"more than four fifths down", 3 + Shown, true},
        {"more than four fifths up", 3, true},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Settle();
        Painted.clear();
        Grid->SetTopRow(C.Top);
        Settle();
        ASSERT_EQ(Grid->TopRow(), C.Top);
        if (C.Whole) {
            for (int R = C.Top; R < C.Top + Shown; ++R) EXPECT_TRUE(Painted.count(R)) << R;
        } else {
            // The rows that only moved are not painted again.
            for (int R = C.Top + 2; R < C.Top + Shown - 3; ++R) EXPECT_FALSE(Painted.count(R)) << R;
            EXPECT_LE(Painted.size(), 5u);
        }
    }
}

TEST_F(ScrollBarsS60, AutoScrollWaitsLongNearTheDataAreaAndNotFarOut) {
    const TPoint Origin = Grid->ClientToScreen(TPoint{0, 0});
    const int Bottom = Grid->GetMaxScrollHeight();
    struct Case {
        int Below;
        int Direction;
        int Want;
    };
    const std::vector<Case> Cases = {
        {10, 1, TgxBaseGrid::ScrollLowSpeedDelay},
        {20, 1, TgxBaseGrid::ScrollHighSpeedDelay},
        {10, 2, TgxBaseGrid::ScrollLowSpeedDelay},
        {40, 2, TgxBaseGrid::ScrollHighSpeedDelay},
        {40, 0, TgxBaseGrid::ScrollLowSpeedDelay}, // across only: not past any side
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Below * 10 + C.Direction);
        EXPECT_EQ(Grid->WaitingTime(Origin.X + 100, Origin.Y + Bottom + C.Below, C.Direction), C.Want);
    }
    // Near the screen's edge the reference distance shrinks to what is left.
    const TPoint Right = Grid->ClientToScreen(TPoint{Grid->ClientWidth() + 6, 100});
    EXPECT_EQ(Grid->WaitingTime(Right.X, Right.Y, 0), TgxBaseGrid::ScrollLowSpeedDelay);
    Screen->OverrideSize(Right.X + 10, 600);
    EXPECT_EQ(Grid->WaitingTime(Right.X, Right.Y, 0), TgxBaseGrid::ScrollHighSpeedDelay);
    Screen->OverrideSize(0, 0);
    // Left of the fixed column and above the heading count too.
    EXPECT_EQ(Grid->WaitingTime(Origin.X + Grid->FixedWidth() - 25, Origin.Y + 100, 0),
              TgxBaseGrid::ScrollHighSpeedDelay);
    EXPECT_EQ(Grid->WaitingTime(Origin.X + 150, Origin.Y + Grid->FixedHeight() - 5, 1),
              TgxBaseGrid::ScrollLowSpeedDelay);
}

TEST_F(ScrollBarsS60, AutoScrollWaitEndsByTimeOrByEscape) {
    ScrollbarClock Steps(50);
    ScopedClock Use(Steps);
    const TPoint Far = Grid->ClientToScreen(TPoint{100, Grid->ClientHeight() + 5});
    Grid->SetScrollSpeed(spHigh);
    EXPECT_TRUE(Grid->ScrollDelay(Far.X, Far.Y, 1));
    Grid->SetScrollSpeed(spLow);
    const std::uint32_t Start = Steps.FTicks;
    EXPECT_TRUE(Grid->ScrollDelay(Far.X, Far.Y, 1));
    EXPECT_GE(Steps.FTicks - Start, static_cast<std::uint32_t>(TgxBaseGrid::ScrollLowSpeedDelay));

    // Escape waiting for the grid ends the wait without a step, and stays
    // queued for the grid.
    QCoreApplication::postEvent(Grid->Widget(),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    EXPECT_TRUE(Grid->CheckEscape());
    EXPECT_FALSE(Grid->ScrollDelay(Far.X, Far.Y, 1));
    Settle();
    EXPECT_FALSE(Grid->CheckEscape());
    // So does the mouse moving again; another key does not.
    const QPointF At(50, 50);
    QCoreApplication::postEvent(Grid->Widget(),
                                new QMouseEvent(QEvent::MouseMove, At, Grid->Widget()->mapToGlobal(At),
                                                Qt::NoButton, Qt::LeftButton, Qt::NoModifier));
    EXPECT_FALSE(Grid->ScrollDelay(Far.X, Far.Y, 1));
    Settle();
    QCoreApplication::postEvent(Grid->Widget(),
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier));
    EXPECT_FALSE(Grid->CheckEscape());
    EXPECT_TRUE(Grid->ScrollDelay(Far.X, Far.Y, 1));
    Settle();
}

TEST_F(ScrollBarsS60, ColumnsScrollThroughTheVisibleColumnsToAFullLastPage) {
    Grid->SetGridColCount(20);
    Grid->GetCol(Variant(2))->SetVisible(false);
    Grid->GetCol(Variant(19))->SetWidth(130);
    Settle();
    TScrollInfo I;
    I.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(Grid->Handle(), SB_HORZ, I));
    EXPECT_EQ(I.nMax, 19);
    auto HScroll = [&](int Code, int Pos = 0) {
        Grid->Perform(WM_HSCROLL, MakeWParam(static_cast<Word>(Code), static_cast<Word>(Pos)), 0);
    };
    HScroll(SB_LINEDOWN);
    EXPECT_EQ(Grid->LeftCol(), 3);
    HScroll(SB_BOTTOM);
    // The last page: every column from LeftCol on fits, one more would not.
    int Right = Grid->FixedWidth();
    for (int C = Grid->LeftCol(); C < Grid->ColCount(); ++C) Right += Grid->ColWidths(C);
    EXPECT_LE(Right, Grid->ClientWidth());
    EXPECT_GT(Right + Grid->ColWidths(Grid->LeftCol() - 1), Grid->ClientWidth());
    GetScrollInfo(Grid->Handle(), SB_HORZ, I);
    EXPECT_EQ(I.nPos, Grid->LeftCol() - 1); // one column before it is hidden
}

TEST_F(ScrollBarsS60, ScrollingByTheBarTakesTheFocus) {
    auto* Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(310, 10, 80, 20);
    Other->SetFocus();
    Settle();
    ASSERT_TRUE(Other->Focused());
    VScroll(SB_LINEDOWN);
    EXPECT_TRUE(Grid->Focused());
    EXPECT_EQ(Grid->TopRow(), 2);
}

TEST_F(ScrollBarsS60, RangeAskedForWhilePaintingIsOffFollowsThePaint) {
    Grid->SetEnablePaint(false);
    Grid->SetGridRowCount(80);
    EXPECT_EQ(Vert().nMax, 50);
    Grid->SetEnablePaint(true);
    Grid->Invalidate();
    Settle();
    EXPECT_EQ(Vert().nMax, 80);
}

TEST_F(ScrollBarsS60, KeyboardScrollWithTheEditorShownMovesOnlyAStrip) {
    Grid->SetGridMode(gmEdit);
    Grid->SetAlwaysShowEditor(true);
    const int Last = Grid->TopRow() + Grid->GetVisibleRowCount() - 1;
    Grid->SetCurrentCell(1, Last);
    Settle();
    ASSERT_EQ(Grid->TopRow(), 1);
    std::set<int> Painted;
    Grid->OnGetDrawInfo = [&](TObject*, int, int DataRow, TgxDrawInfo&) { Painted.insert(DataRow); };
    QKeyEvent Down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QCoreApplication::sendEvent(Grid->Widget(), &Down);
    Settle();
    EXPECT_EQ(Grid->Row(), Last + 1);
    EXPECT_EQ(Grid->TopRow(), 2);
    EXPECT_EQ(Grid->ScrollMode(), TgxBaseGrid::smWindow);
    for (int R = 3; R < Last - 2; ++R) EXPECT_FALSE(Painted.count(R)) << R;
}

TEST_F(ScrollBarsS60, TheEditorStepsAsideWhileTheBarScrolls) {
    Grid->SetGridMode(gmEdit);
    Grid->SetAlwaysShowEditor(true);
    Grid->SetCurrentCell(1, 4);
    Grid->SetFocus();
    Settle();
    TgxCustomGridControl* Editor = Grid->GridControl();
    ASSERT_NE(Editor, nullptr);
    ASSERT_TRUE(Editor->GetVisible());
    const int OldTop = Editor->Control()->Top();
    VScroll(SB_LINEDOWN);
    EXPECT_EQ(Grid->TopRow(), 2);
    EXPECT_FALSE(Editor->GetVisible());
    VScroll(SB_ENDSCROLL);
    Settle();
    ASSERT_TRUE(Editor->GetVisible());
    EXPECT_EQ(Editor->Control()->Top(), OldTop - Grid->RowHeights(1));

    // Dragging the thumb: hidden at every step, back over its cell when
    // the thumb is let go.
    Grid->SetThumbTracking(true);
    VScroll(SB_THUMBTRACK, 3);
    EXPECT_EQ(Grid->TopRow(), 3);
    EXPECT_FALSE(Editor->GetVisible());
    VScroll(SB_THUMBTRACK, 1);
    EXPECT_EQ(Grid->TopRow(), 1);
    EXPECT_FALSE(Editor->GetVisible());
    VScroll(SB_THUMBPOSITION, 1);
    VScroll(SB_ENDSCROLL, 1);
    Settle();
    EXPECT_TRUE(Editor->GetVisible());
    EXPECT_EQ(Editor->Control()->Top(), OldTop);
    // Scrolled out of view, it stays hidden after the end too.
    VScroll(SB_PAGEDOWN);
    VScroll(SB_ENDSCROLL);
    Settle();
    EXPECT_FALSE(Editor->GetVisible());
}

TEST_F(ScrollBarsS60, FixedRowsStayOffTheBarAndNoBarsMeansNone) {
    Grid->SetFixedRowCount(2);
    Settle();
    EXPECT_EQ(Vert().nMin, 1);
    EXPECT_EQ(Vert().nMax, 48);
    VScroll(SB_THUMBPOSITION, 1);
    EXPECT_EQ(Grid->TopRow(), 3);
    VScroll(SB_THUMBPOSITION, 4);
    EXPECT_EQ(Grid->TopRow(), 6);
    EXPECT_EQ(Vert().nPos, 4);
    VScroll(SB_TOP);
    EXPECT_EQ(Grid->TopRow(), 3);

    Grid->SetGridScrollBars(ssNone);
    Settle();
    EXPECT_FALSE(ScrollBarVisible(Grid->Handle(), SB_VERT));
    EXPECT_FALSE(ScrollBarVisible(Grid->Handle(), SB_HORZ));
    Grid->SetTopRow(10);
    Settle();
    EXPECT_FALSE(ScrollBarVisible(Grid->Handle(), SB_VERT));
}
