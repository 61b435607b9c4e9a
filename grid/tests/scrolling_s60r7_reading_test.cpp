// The grid's scroll bars and scrolling, driven through scroll messages, the
// window's bar state and the area left to repaint.
#include "ShownGridPixels.h"
#include "grid/model/Columns.h"
#include "grid/model/InplaceControl.h"
#include "platform/gui/Messages.h"
#include "platform/gui/TimerService.h"
#include "platform/gui/WindowScroll.h"
#include "platform/rtl/Clock.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QMouseEvent>

#include <cmath>

namespace {

class ScrollingReading : public ShownGridFixture {
protected:
    void Scroll(int Code, int Thumb = 0) {
        Grid->Perform(WM_VSCROLL, MakeWParam(static_cast<Word>(Code), static_cast<Word>(Thumb)), 0);
    }
    void Settle() {
        QCoreApplication::processEvents();
        UpdateWindow(Grid->Handle());
    }
};

// A clock whose tick count moves on by a step each time it is read, so a
// waiting loop sees time pass without sleeping.
class ScrollingClock : public IClock {
public:
    explicit ScrollingClock(std::uint32_t Step) : FStep(Step) {}
    TDateTime Now() override { return 0.0; }
    std::uint32_t TickCount() override {
        FTicks += FStep;
        return FTicks;
    }
    std::uint32_t Ticks() const { return FTicks; }

private:
    std::uint32_t FStep;
    std::uint32_t FTicks = 1000;
};

TEST_F(ScrollingReading, BarsFollowTheNeedAndTheAlwaysShownSetting) {
    struct Case {
        TScrollStyle Bars, Always;
        bool Shown, Enabled;
    };
    const Case Cases[] = {
        {ssBoth, ssNone, false, false},       {ssBoth, ssVertical, true, false},
        {ssBoth, ssBoth, true, false},        {ssBoth, ssHorizontal, false, false},
        {ssHorizontal, ssBoth, false, false},
    };
    for (const Case& C : Cases) {
        ShowGrid(2, 3); // every row fits the window
        Grid->SetGridScrollBars(C.Bars);
        Grid->SetAlwaysShowScrollBar(C.Always);
        Settle();
        const int Line = static_cast<int>(&C - Cases);
        EXPECT_EQ(ScrollBarVisible(Grid->Handle(), SB_VERT), C.Shown) << Line;
        if (C.Shown) {
            EXPECT_EQ(ScrollBarEnabled(Grid->Handle(), SB_VERT), C.Enabled) << Line;
        }
        // The columns fit as well: the horizontal bar answers to its own half.
        const bool Horz = (C.Always == ssHorizontal || C.Always == ssBoth) &&
                          (C.Bars == ssHorizontal || C.Bars == ssBoth);
        EXPECT_EQ(ScrollBarVisible(Grid->Handle(), SB_HORZ), Horz) << Line;
        if (Horz) {
            EXPECT_FALSE(ScrollBarEnabled(Grid->Handle(), SB_HORZ)) << Line;
        }
        delete Form;
        Form = nullptr;
    }
}

TEST_F(ScrollingReading, ScrollBarsOffHidesBarsTheRowsWouldNeed) {
    ShowGrid(30, 200);
    Settle();
    EXPECT_TRUE(ScrollBarVisible(Grid->Handle(), SB_VERT));
    EXPECT_TRUE(ScrollBarVisible(Grid->Handle(), SB_HORZ));
    Grid->SetGridScrollBars(ssNone);
    Settle();
    EXPECT_FALSE(ScrollBarVisible(Grid->Handle(), SB_VERT));
    EXPECT_FALSE(ScrollBarVisible(Grid->Handle(), SB_HORZ));
    Grid->SetGridScrollBars(ssVertical);
    Settle();
    EXPECT_TRUE(ScrollBarVisible(Grid->Handle(), SB_VERT));
    EXPECT_FALSE(ScrollBarVisible(Grid->Handle(), SB_HORZ));
}

TEST_F(ScrollingReading, ScrollCodesMoveTheTopRowThroughTheVisibleRows) {
    ShowGrid(3, 100);
    Grid->SetRowVisible(2, false);
    Grid->SetRowVisible(3, false);
    Grid->SetRowVisible(8, false);
    Settle();
    ASSERT_EQ(Grid->TopRow(), 1);
    const int MaxTop = Grid->GetMaxTopRow();
    struct Step {
        int Code, Thumb, Top;
    };
    const Step Steps[] = {
        {SB_LINEUP, 0, 1},         // at the top already: ignored
        {SB_PAGEUP, 0, 1},         // likewise
        {SB_LINEDOWN, 0, 4},       // rows 2 and 3 are hidden
        {SB_LINEDOWN, 0, 5},       {SB_ENDSCROLL, 0, 5},
        {SB_THUMBTRACK, 6, 5},     // tracking is off
        {SB_THUMBPOSITION, 6, 9},  // the sixth visible row past the fixed one
        {SB_LINEUP, 0, 7},         // row 8 is hidden
        {SB_BOTTOM, 0, MaxTop},    {SB_LINEDOWN, 0, MaxTop},
        {SB_TOP, 0, 1},            {SB_THUMBPOSITION, 30000, MaxTop},
    };
    for (const Step& S : Steps) {
        Scroll(S.Code, S.Thumb);
        EXPECT_EQ(Grid->TopRow(), S.Top) << "code " << S.Code << " thumb " << S.Thumb;
    }
    // A page moves by the rows that fit, counted through the visible list.
    Scroll(SB_TOP);
    const int Page = Grid->VisibleScrollRows();
    ASSERT_GE(Page, 6);
    Scroll(SB_PAGEDOWN);
    EXPECT_EQ(Grid->TopRow(), 1 + Page + 3); // rows 2, 3 and 8 are passed over
    Scroll(SB_PAGEUP);
    EXPECT_EQ(Grid->TopRow(), 1);
    Grid->SetThumbTracking(true);
    Scroll(SB_TOP);
    Scroll(SB_THUMBTRACK, 6);
    EXPECT_EQ(Grid->TopRow(), 9);
}

TEST_F(ScrollingReading, TheBarPositionFollowsTheTopRow) {
    ShowGrid(3, 100);
    Grid->SetRowVisible(3, false);
    Settle();
    Grid->SetTopRow(5);
    Settle();
    // Rows 1, 2, 4 come before row 5 in the visible list.
    EXPECT_EQ(GetScrollPos(Grid->Handle(), SB_VERT), 4);
    TScrollInfo Info;
    Info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(Grid->Handle(), SB_VERT, Info));
    EXPECT_EQ(Info.nMin, 1);
    int Count = 0, Max = 0, Last = 0, First = 0;
    bool Scaled = true;
    Grid->GetVertScrollRange(Count, Max, Scaled, Last, First);
    EXPECT_FALSE(Scaled);
    EXPECT_EQ(Info.nMax, Max);
    EXPECT_EQ(Max, 99); // data rows 1..100, one of them hidden
    const int Page = static_cast<int>(std::nearbyint(
        static_cast<double>(Last - Grid->GetMaxScrollRow() + 1) / Count * Max));
    EXPECT_EQ(static_cast<int>(Info.nPage), std::max(1, Page));
}

TEST_F(ScrollingReading, MoreRowsThanTheBarHoldsScaleTheBar) {
    ShowGrid(2, 40000);
    Settle();
    TScrollInfo Info;
    Info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(Grid->Handle(), SB_VERT, Info));
    EXPECT_EQ(Info.nMin, 0);
    EXPECT_EQ(Info.nMax, 32767);
    EXPECT_EQ(Info.nPage, 1u);
    int Count = 0, Max = 0, Last = 0, First = 0;
    bool Scaled = false;
    Grid->GetVertScrollRange(Count, Max, Scaled, Last, First);
    ASSERT_TRUE(Scaled);
    EXPECT_EQ(Count, Grid->GetMaxScrollRow() - First);
    for (int Thumb : {1, 3, 16384, 32767}) {
        Scroll(SB_THUMBPOSITION, Thumb);
        const double Want = static_cast<double>(Count) / Max * Thumb;
        // Halves go to even.
        const int P = static_cast<int>(std::nearbyint(Want)) + First;
        EXPECT_EQ(Grid->TopRow(), std::min(P, Grid->GetMaxTopRow())) << Thumb;
        Settle();
        const int Pos = static_cast<int>(
            std::nearbyint(static_cast<double>(Max) / Count * (Grid->TopRow() - First)));
        EXPECT_EQ(GetScrollPos(Grid->Handle(), SB_VERT), Pos) << Thumb;
    }
}

TEST_F(ScrollingReading, ASmallScrollRepaintsTheStripALargeOneTheWholeDataArea) {
    ShowGrid(3, 100);
    Settle();
    const int FixedBottom = Grid->CellRect(0, 0).Bottom; // the heading row
    const int Area = Grid->ClientHeight() - FixedBottom;
    const int Row = Grid->RowHeights(1);
    struct Case {
        bool Up;
        int Distance;
        bool Whole;
    };
    const Case Cases[] = {{true, Row, false}, {false, Row, false},
                          {true, Area * 9 / 10, true}, {false, Area * 9 / 10, true}};
    for (const Case& C : Cases) {
        Settle();
        if (C.Up)
            Grid->ScrollUp(-C.Distance);
        else
            Grid->ScrollDown(C.Distance);
        TRect Update;
        ASSERT_TRUE(GetUpdateRect(Grid->Handle(), &Update)) << C.Up << C.Distance;
        if (C.Whole) {
            EXPECT_LE(Update.Top, FixedBottom + 1) << C.Up;
            EXPECT_EQ(Update.Bottom, Grid->ClientHeight()) << C.Up;
        } else if (C.Up) {
            EXPECT_GT(Update.Top, Grid->ClientHeight() / 2); // the strip uncovered below
        } else {
            EXPECT_LT(Update.Bottom, Grid->ClientHeight() / 2); // the strip uncovered above
        }
    }
}

TEST_F(ScrollingReading, TheInPlaceControlHidesWhileTheBarScrolls) {
    ShowGrid(3, 100);
    Grid->SetFocus();
    Settle();
    Grid->SetCurrentCell(1, 6);
    Grid->ShowEditor();
    Settle();
    auto* Control = Grid->GridControl();
    ASSERT_NE(Control, nullptr);
    ASSERT_TRUE(Control->GetVisible());
    Scroll(SB_LINEDOWN);
    EXPECT_FALSE(Control->GetVisible());
    Scroll(SB_LINEDOWN);
    EXPECT_FALSE(Control->GetVisible());
    Scroll(SB_ENDSCROLL);
    EXPECT_TRUE(Control->GetVisible());
    EXPECT_EQ(Grid->TopRow(), 3);
}

TEST_F(ScrollingReading, AutoScrollWaitsLongerNearTheDataArea) {
    ShowGrid(3, 100);
    Settle();
    const int Bottom = Grid->GetMaxScrollHeight();
    const int Right = Grid->ClientWidth();
    struct Case {
        int X, Y, Direction, Wait;
    };
    const Case Cases[] = {
        {100, Bottom + 10, 1, 200}, {100, Bottom + 20, 1, 0},  {100, Bottom + 14, 2, 200},
        {100, Bottom + 15, 2, 0},   {100, Bottom + 40, 0, 200}, // across looks at x only
        {Right + 20, 100, 0, 0},    {Right + 5, 100, 0, 200},   {Right + 20, 100, 1, 200},
    };
    for (const Case& C : Cases) {
        const TPoint P = Grid->ClientToScreen(TPoint{C.X, C.Y});
        EXPECT_EQ(Grid->WaitingTime(P.X, P.Y, C.Direction), C.Wait)
            << C.X << "," << C.Y << " dir " << C.Direction;
    }
}

TEST_F(ScrollingReading, TheLowSpeedWaitsOutItsDelayOnTheClock) {
    ShowGrid(3, 100);
    Settle();
    ScrollingClock Ticks(10);
    ScopedClock Guard(Ticks);
    const TPoint P = Grid->ClientToScreen(TPoint{100, Grid->ClientHeight() + 5});
    Grid->SetScrollSpeed(grid::spHigh);
    const std::uint32_t Before = Ticks.Ticks();
    EXPECT_TRUE(Grid->ScrollDelay(P.X, P.Y, 1));
    EXPECT_EQ(Ticks.Ticks(), Before); // no wait at all
    Grid->SetScrollSpeed(grid::spLow);
    EXPECT_TRUE(Grid->ScrollDelay(P.X, P.Y, 1));
    EXPECT_GE(Ticks.Ticks() - Before, 200u);
}

TEST_F(ScrollingReading, TheBarTakesTheFocusForTheGrid) {
    ShowGrid(3, 100);
    auto* Other = new grid::TgxGrid(Form);
    Other->SetParent(Form);
    Other->SetBounds(410, 0, 150, 150);
    Form->Widget()->activateWindow();
    Other->SetFocus();
    Settle();
    const auto InGrid = [this](grid::TgxGrid* G) {
        QWidget* F = QApplication::focusWidget();
        return F && (F == G->Widget() || G->Widget()->isAncestorOf(F));
    };
    ASSERT_TRUE(InGrid(Other));
    Scroll(SB_LINEDOWN);
    EXPECT_TRUE(InGrid(Grid));
    EXPECT_EQ(Grid->TopRow(), 2);
}

TEST_F(ScrollingReading, TheHorizontalBarMovesThroughTheVisibleColumns) {
    ShowGrid(30, 5);
    Grid->GetCol(2)->SetVisible(false);
    Settle();
    ASSERT_EQ(Grid->LeftCol(), 1);
    Grid->Perform(WM_HSCROLL, MakeWParam(SB_LINERIGHT, 0), 0);
    EXPECT_EQ(Grid->LeftCol(), 3);
    Grid->Perform(WM_HSCROLL, MakeWParam(SB_THUMBPOSITION, 4), 0);
    EXPECT_EQ(Grid->LeftCol(), 5); // 1, 3, 4, 5
    Settle();
    EXPECT_EQ(GetScrollPos(Grid->Handle(), SB_HORZ), 4);
    Grid->Perform(WM_HSCROLL, MakeWParam(SB_RIGHT, 0), 0);
    EXPECT_EQ(Grid->LeftCol(), Grid->GetMaxLeftCol());
}

TEST_F(ScrollingReading, AControlScrolledOutOfViewStaysHiddenAfterTheScroll) {
    ShowGrid(3, 100);
    Grid->SetFocus();
    Settle();
    Grid->SetCurrentCell(1, 2);
    Grid->ShowEditor();
    Settle();
    auto* Control = Grid->GridControl();
    ASSERT_NE(Control, nullptr);
    ASSERT_TRUE(Control->GetVisible());
    for (int I = 0; I < 5; ++I) Scroll(SB_LINEDOWN);
    Scroll(SB_ENDSCROLL);
    Settle();
    ASSERT_EQ(Grid->TopRow(), 6);
    // Shown at its old place it would stand over another row's cell.
    if (Control->GetVisible()) {
        const TRect Box = Control->Control()->BoundsRect();
        EXPECT_TRUE(Box.Bottom <= Grid->CellRect(0, 0).Bottom || Box.Top >= Grid->ClientHeight())
            << Box.Top << ".." << Box.Bottom;
    }
    Scroll(SB_TOP);
    Scroll(SB_ENDSCROLL);
    Settle();
    EXPECT_TRUE(Control->GetVisible());
    EXPECT_EQ(Control->Control()->BoundsRect().Top, Grid->CellRect(1, 2).Top);
}

TEST_F(ScrollingReading, ARangeAskedForWhilePaintingIsOffFollowsTheNextPaint) {
    ShowGrid(3, 3);
    Settle();
    ASSERT_FALSE(ScrollBarVisible(Grid->Handle(), SB_VERT));
    Grid->SetEnablePaint(false);
    Grid->SetGridRowCount(200);
    Grid->UpdateScrollRange();
    EXPECT_FALSE(ScrollBarVisible(Grid->Handle(), SB_VERT));
    Grid->SetEnablePaint(true);
    Grid->Invalidate();
    Settle();
    EXPECT_TRUE(ScrollBarVisible(Grid->Handle(), SB_VERT));
}

TEST_F(ScrollingReading, TheWaitEndsEarlyForMouseInputOrEscape) {
    ShowGrid(3, 100);
    Settle();
    ScrollingClock Ticks(10);
    ScopedClock Guard(Ticks);
    const TPoint P = Grid->ClientToScreen(TPoint{100, Grid->ClientHeight() + 5});
    Grid->SetScrollSpeed(grid::spLow);
    QWidget* W = Grid->Widget();
    QCoreApplication::postEvent(W, new QMouseEvent(QEvent::MouseMove, QPointF(5, 5),
                                                    QPointF(W->mapToGlobal(QPoint(5, 5))),
                                                    Qt::NoButton, Qt::NoButton, Qt::NoModifier));
    const std::uint32_t Before = Ticks.Ticks();
    EXPECT_FALSE(Grid->ScrollDelay(P.X, P.Y, 1));
    EXPECT_LT(Ticks.Ticks() - Before, 200u);
    QCoreApplication::processEvents();
    // The wait goes on from where it began: less than the whole delay is left.
    const std::uint32_t Again = Ticks.Ticks();
    EXPECT_TRUE(Grid->ScrollDelay(P.X, P.Y, 1));
    EXPECT_LT(Ticks.Ticks() - Again, 200u);

    EXPECT_FALSE(Grid->CheckEscape());
    QCoreApplication::postEvent(W, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    EXPECT_TRUE(Grid->CheckEscape());
    EXPECT_TRUE(Grid->CheckEscape()); // still waiting: not taken out
    EXPECT_FALSE(Grid->ScrollDelay(P.X, P.Y, 1));
    QCoreApplication::processEvents();
}

// What the window shows after a scroll that moved pixels must be what a
// full repaint at the same place shows.
class ScrollingPixels : public ShownGridPixels {
protected:
    // The caret's blink would change the editor's pixels between two looks
    // at the window on a busy machine: no timer runs unless a test says so.
    FakeTimerService Timers;
    ScopedTimerService TimerScope{Timers};

    void Fill(grid::TgxGridMode Mode) {
        ShowGrid(12, 60);
        Grid->SetStoreData(true);
        for (int R = 1; R <= 60; ++R)
            for (int C = 1; C <= 12; ++C)
                Grid->SetCellValue(C, R, Variant(AnsiString(std::to_string(R * 100 + C).c_str())));
        Grid->SetGridMode(Mode);
        ShowActive(*Form);
        QApplication::processEvents();
        Grid->SetFocus();
        QApplication::processEvents();
    }
    void ExpectSameAsRepaint(const char* What) {
        const QImage Scrolled = Shot();
        Grid->Invalidate();
        UpdateWindow(Grid->Handle());
        const QImage Repainted = Shot();
        ASSERT_EQ(Scrolled.size(), Repainted.size());
        int Diff = 0, FirstY = -1;
        for (int Y = 0; Y < Scrolled.height(); ++Y)
            for (int X = 0; X < Scrolled.width(); ++X)
                if (Scrolled.pixel(X, Y) != Repainted.pixel(X, Y)) {
                    if (FirstY < 0) FirstY = Y;
                    ++Diff;
                }
        EXPECT_EQ(Diff, 0) << What << ": first differing row " << FirstY;
    }
    void Key(int QtKey, int Times) {
        for (int I = 0; I < Times; ++I) {
            QWidget* Target = QApplication::focusWidget();
            TypeKey(Target ? Target : Grid->Widget(), QtKey);
            QApplication::processEvents();
        }
    }
};

TEST_F(ScrollingPixels, BarScrollsShowWhatARepaintShows) {
    Fill(grid::gmBrowse);
    struct Step {
        unsigned Message;
        int Code, Thumb;
    };
    const Step Steps[] = {{WM_VSCROLL, SB_LINEDOWN, 0},  {WM_VSCROLL, SB_LINEDOWN, 0},
                          {WM_VSCROLL, SB_LINEUP, 0},    {WM_VSCROLL, SB_PAGEDOWN, 0},
                          {WM_VSCROLL, SB_THUMBPOSITION, 20},
                          {WM_HSCROLL, SB_LINERIGHT, 0}, {WM_HSCROLL, SB_LINELEFT, 0},
                          {WM_HSCROLL, SB_PAGERIGHT, 0}};
    for (const Step& S : Steps) {
        Grid->Perform(S.Message, MakeWParam(static_cast<Word>(S.Code), static_cast<Word>(S.Thumb)), 0);
        Grid->Perform(S.Message, MakeWParam(SB_ENDSCROLL, 0), 0);
        ExpectSameAsRepaint((std::to_string(S.Message) + "/" + std::to_string(S.Code)).c_str());
    }
}

TEST_F(ScrollingPixels, KeyScrollsShowWhatARepaintShows) {
    struct Case {
        grid::TgxGridMode Mode;
        const char* Name;
    };
    const Case Cases[] = {{grid::gmBrowse, "browse"}, {grid::gmEdit, "edit"},
                          {grid::gmListBox, "row select"}};
    for (const Case& C : Cases) {
        Fill(C.Mode);
        Key(Qt::Key_Down, 25); // past the bottom: the rows scroll
        ASSERT_GT(Grid->TopRow(), 1) << C.Name;
        ExpectSameAsRepaint((std::string(C.Name) + " down").c_str());
        Key(Qt::Key_Up, 25);
        ExpectSameAsRepaint((std::string(C.Name) + " up").c_str());
        if (C.Mode != grid::gmListBox) {
            Key(Qt::Key_Right, 11);
            ASSERT_GT(Grid->LeftCol(), 1) << C.Name;
            ExpectSameAsRepaint((std::string(C.Name) + " right").c_str());
            Key(Qt::Key_Left, 11);
            ExpectSameAsRepaint((std::string(C.Name) + " left").c_str());
        }
        delete Form;
        Form = nullptr;
    }
}

TEST_F(ScrollingPixels, TextTypedBeforeABarScrollIsKept) {
    Fill(grid::gmEdit);
    Key(Qt::Key_Down, 5);
    ASSERT_EQ(Grid->Row(), 6);
    ASSERT_NE(Grid->GridControl(), nullptr);
    QWidget* Editor = QApplication::focusWidget();
    ASSERT_NE(Editor, nullptr);
    TypeKey(Editor, Qt::Key_End);
    TypeText(Editor, "XY");
    QApplication::processEvents();
    for (int Code : {SB_LINEDOWN, SB_LINEDOWN, SB_ENDSCROLL}) {
        Grid->Perform(WM_VSCROLL, MakeWParam(static_cast<Word>(Code), 0), 0);
        QApplication::processEvents();
    }
    ASSERT_EQ(Grid->TopRow(), 3);
    Editor = QApplication::focusWidget();
    ASSERT_NE(Editor, nullptr);
    TypeKey(Editor, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(Grid->GetCellValue(1, 6).AsString(), AnsiString("601XY"));
}

} // namespace
