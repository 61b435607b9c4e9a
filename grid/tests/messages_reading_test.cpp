// The grid as a window: its answers to the messages it handles itself, and
// its button and spin timers, run on the test's timer service.
#include "ShownGridFixture.h"

#include "grid/model/Columns.h"
#include "grid/model/GxGrid.h"
#include "grid/model/InplaceControl.h"
#include "grid/view/DropDownForm.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/TimerService.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

using namespace grid;

namespace {

class MessagesReading : public ShownGridFixture {
protected:
    void SetUp() override {
        Service = std::make_unique<FakeTimerService>();
        Installed = std::make_unique<ScopedTimerService>(*Service);
        ShowGrid(3, 3);
        Grid->SetFocus();
    }
    void TearDown() override {
        // The grid's timers go with it, before their service.
        ShownGridFixture::TearDown();
        Installed.reset();
    }
    std::unique_ptr<FakeTimerService> Service;
    std::unique_ptr<ScopedTimerService> Installed;
};

TEST_F(MessagesReading, TheSpinTimerStartsOnceAndSwitchesToTheRepeatPeriodOnce) {
    Grid->SetGridMode(gmBrowse);
    const int Others = Service->Count();
    ASSERT_EQ(Service->NextTickIn(), -1);
    Grid->StartSpinTimer(true);
    const unsigned First = Grid->SpinTimerHandle();
    ASSERT_NE(First, 0u);
    EXPECT_EQ(Service->NextTickIn(), 500);
    Grid->StartSpinTimer(true);
    Grid->StartSpinTimer(false);
    EXPECT_EQ(Grid->SpinTimerHandle(), First);
    EXPECT_EQ(Service->Count(), Others + 1);
    EXPECT_EQ(Service->NextTickIn(), 500);
    Grid->CheckRestartSpinTimer();
    EXPECT_EQ(Service->Count(), Others + 1);
    EXPECT_EQ(Service->NextTickIn(), 80);
    const unsigned Repeat = Grid->SpinTimerHandle();
    Grid->CheckRestartSpinTimer();
    EXPECT_EQ(Grid->SpinTimerHandle(), Repeat);
    EXPECT_EQ(Service->NextTickIn(), 80);
    unsigned Handle = Grid->SpinTimerHandle();
    EXPECT_TRUE(Grid->StopTimer(Handle));
    EXPECT_EQ(Handle, 0u);
    EXPECT_FALSE(Grid->StopTimer(Handle));
}

TEST_F(MessagesReading, TheButtonTimerRunsAt50msAndEndsWithTheGrid) {
    Grid->StartButtonTimer();
    const unsigned Handle = Grid->ButtonTimerHandle();
    ASSERT_NE(Handle, 0u);
    EXPECT_EQ(Service->NextTickIn(), 50);
    Service->Advance(20);
    Grid->StartButtonTimer();
    EXPECT_EQ(Grid->ButtonTimerHandle(), Handle);
    EXPECT_EQ(Service->NextTickIn(), 30);
    delete Form;
    Form = nullptr;
    EXPECT_EQ(Service->Count(), 0);
}

// Held down, a spin button repeats: first after the start delay, then at
// the repeat delay.
TEST_F(MessagesReading, AHeldSpinButtonRepeatsOnTheSpinTimer) {
    TgxCol* Col = Grid->GridCols()->GetCol(2);
    Col->SetButtonType(btVertSpin);
    std::vector<std::int64_t> Repeats;
    Grid->OnSpinRepeat = [&](TObject*, int, const Variant&, int, TgxSpinButton) {
        Repeats.push_back(Service->Elapsed());
    };
    Grid->Update();
    const TRect R = Grid->CellRect(2, 1);
    const int X = R.Right - 3, Y = R.Top + 2;
    Grid->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(X, Y));
    const std::int64_t Down = Service->Elapsed();
    // The press is the first step.
    ASSERT_EQ(Repeats.size(), 1u);
    Service->Advance(499);
    EXPECT_EQ(Repeats.size(), 1u);
    Service->Advance(1 + 80 * 3);
    ASSERT_EQ(Repeats.size(), 5u);
    EXPECT_EQ(Repeats[1] - Down, 500);
    EXPECT_EQ(Repeats[2] - Repeats[1], 80);
    EXPECT_EQ(Repeats[4] - Repeats[3], 80);
    Grid->Perform(WM_LBUTTONUP, 0, PointToLParam(X, Y));
    const auto Count = Repeats.size();
    Service->Advance(1000);
    EXPECT_EQ(Repeats.size(), Count);
    EXPECT_EQ(Grid->SpinTimerHandle(), 0u);
}

TEST_F(MessagesReading, TheGridAsksForTabOnlyWhileEditingWithWantTabsAndNoCtrl) {
    const auto Code = [&] { return static_cast<int>(Grid->Perform(WM_GETDLGCODE)); };
    EXPECT_TRUE(Code() & DLGC_WANTCHARS);
    EXPECT_TRUE(Code() & DLGC_WANTTAB);
    Grid->SetWantTabs(false);
    EXPECT_TRUE(Code() & DLGC_WANTCHARS);
    EXPECT_FALSE(Code() & DLGC_WANTTAB);
    Grid->SetWantTabs(true);
    // Qt turns round the modifier of a modifier key's own event: the press
    // of Ctrl comes without it and leaves it held.
    QKeyEvent CtrlDown(QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier);
    QApplication::sendEvent(Grid->ClientWidget(), &CtrlDown);
    EXPECT_FALSE(Code() & DLGC_WANTTAB);
    QKeyEvent CtrlUp(QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier);
    QApplication::sendEvent(Grid->ClientWidget(), &CtrlUp);
    EXPECT_TRUE(Code() & DLGC_WANTTAB);
    Grid->SetGridMode(gmBrowse);
    Grid->SetAlwaysShowFocus(false);
    if (!Grid->FocusRectActive()) EXPECT_FALSE(Code() & DLGC_WANTTAB);
}

TEST_F(MessagesReading, ALineLeftAtTheLeftEdgeLeavesTheEditorAlone) {
    Grid->SetGridColCount(12);
    ASSERT_TRUE(Grid->GridControl()->GetVisible());
    int Hidden = 0;
    Grid->OnHideEditor = [&](TObject*, int, int) { ++Hidden; };
    Grid->Perform(WM_HSCROLL, MakeWParam(SB_LINELEFT, 0), 0);
    EXPECT_TRUE(Grid->GridControl()->GetVisible());
    EXPECT_EQ(Hidden, 0);
    EXPECT_EQ(Grid->LeftCol(), 1);
    Grid->Perform(WM_HSCROLL, MakeWParam(SB_LINERIGHT, 0), 0);
    Grid->Perform(WM_HSCROLL, MakeWParam(SB_ENDSCROLL, 0), 0);
    EXPECT_EQ(Grid->LeftCol(), 2);
}

TEST_F(MessagesReading, EraseBackgroundLeavesThePixelsAlone) {
    Grid->Update();
    const TRect R = Grid->CellRect(2, 2);
    Grid->Canvas()->SetPixels(R.Left + 1, R.Top + 1, clFuchsia);
    Grid->Perform(WM_ERASEBKGND, 0, 0);
    EXPECT_EQ(Grid->Canvas()->Pixels(R.Left + 1, R.Top + 1), clFuchsia);
}

TEST_F(MessagesReading, AtDesignTimeAColumnBorderIsTheGridsToResize) {
    Grid->SetInDesignMode(true);
    Grid->Update();
    const TRect R = Grid->CellRect(1, 0);
    const auto Hit = [&](int X, int Y) {
        return Grid->Perform(CM_DESIGNHITTEST, 0, PointToLParam(X, Y));
    };
    EXPECT_NE(Hit(R.Right, R.Top + 3), 0);
    EXPECT_EQ(Hit((R.Left + R.Right) / 2, Grid->CellRect(1, 2).Top + 3), 0);
}

TEST_F(MessagesReading, AnAcceleratorOfAHeadingClicksThatHeading) {
    Grid->GridCols()->GetCol(2)->SetHeading("&Name");
    std::vector<int> Clicked;
    Grid->OnHeadingClick = [&](TObject*, int DataCol) { Clicked.push_back(DataCol); };
    EXPECT_EQ(Grid->Perform(CM_DIALOGCHAR, 'n', 0), 1);
    EXPECT_EQ(Clicked, std::vector<int>{2});
    EXPECT_EQ(Grid->Perform(CM_DIALOGCHAR, 'q', 0), 0);
    EXPECT_EQ(Clicked.size(), 1u);
    Grid->SetEnabled(false);
    EXPECT_EQ(Grid->Perform(CM_DIALOGCHAR, 'n', 0), 0);
    EXPECT_EQ(Clicked.size(), 1u);
}

TEST_F(MessagesReading, TheHeadingFontFollowsTheParentsFontWhileItIsTheParents) {
    Form->Font()->SetSize(15);
    EXPECT_EQ(Grid->HeadingFont()->Size(), 15);
    Grid->SetHeadingParentFont(false);
    Grid->HeadingFont()->SetSize(9);
    Form->Font()->SetSize(17);
    EXPECT_EQ(Grid->HeadingFont()->Size(), 9);
}

TEST_F(MessagesReading, TheEditorsTakeTheGridsCursor) {
    Grid->SetCursor(crHandPoint);
    for (TgxControlType Type : {ctText, ctCheck})
        EXPECT_EQ(Grid->GridCellControl(Type)->Control()->Cursor(), crHandPoint) << int(Type);
}

TEST_F(MessagesReading, ClipboardMessagesGoToTheCurrentCell) {
    Grid->SetStoreData(true);
    Grid->SetCellValue(1, 1, Variant("copied"));
    // Back on the cell, its editor holds the whole value selected.
    Grid->SetCurrentCell(2, 1);
    Grid->SetCurrentCell(1, 1);
    Clipboard()->SetAsText("");
    Grid->Perform(WM_COPY);
    EXPECT_EQ(Clipboard()->AsText(), "copied");
}

TEST_F(MessagesReading, TheResizeEventComesWithANewSize) {
    int Resized = 0;
    Grid->OnResize = [&](TObject*) { ++Resized; };
    Grid->SetBounds(0, 0, 300, 200);
    EXPECT_GE(Resized, 1);
}

} // namespace

namespace {

// The width of the button at the right of a cell: the run of pixels, the
// nearest to the cell's right edge, that differ from the cell's colour.
int ButtonWidth(TgxGrid& G, int DisplayCol, int DisplayRow) {
    const TRect R = G.CellRect(DisplayCol, DisplayRow);
    const int Y = (R.Top + R.Bottom) / 2;
    const TColor Cell = G.Canvas()->Pixels(R.Left + 2, R.Top + 1);
    int Right = R.Right - 1;
    while (Right > R.Left && G.Canvas()->Pixels(Right, Y) == Cell)
        --Right;
    int Left = Right;
    while (Left > R.Left && G.Canvas()->Pixels(Left, Y) != Cell)
        --Left;
    return Right - Left;
}

TEST_F(MessagesReading, ANewButtonSizeRedrawsTheButtonsAtThatSize) {
    Grid->SetGridColCount(2);
    Grid->SetColWidths(1, 80);
    Grid->GridCols()->GetCol(1)->SetColor(clWhite);
    Grid->GridCols()->GetCol(1)->SetButtonType(btNormal);
    Grid->SetAlwaysShowEditor(false);
    Grid->SetCurrentCell(1, 2);
    Grid->Invalidate();
    Grid->Update();
    const int Before = ButtonWidth(*Grid, 1, 2);
    EXPECT_GT(Before, 5);
    Grid->SetDefaultButtonWidth(Grid->DefaultButtonWidth() + 10);
    Grid->Update();
    EXPECT_EQ(ButtonWidth(*Grid, 1, 2), Before + 10);
}

} // namespace

namespace {

TEST_F(MessagesReading, TheDropDownFormsTakeANewGridFont) {
    TgxDropDownForm* Combo = Grid->GetComboForm();
    TgxDropDownForm* Calendar = Grid->GetDateTimeForm();
    Grid->Font()->SetSize(Grid->Font()->Size() + 5);
    EXPECT_EQ(Combo->Font()->Size(), Grid->Font()->Size());
    EXPECT_EQ(Calendar->Font()->Size(), Grid->Font()->Size());
}

TEST_F(MessagesReading, TheFocusBringsTheEditorBack) {
    ASSERT_TRUE(Grid->GridControl()->GetVisible());
    Grid->GridControl()->SetVisible(false);
    Grid->Perform(WM_SETFOCUS);
    EXPECT_TRUE(Grid->GridControl()->GetVisible());
}

} // namespace

namespace {

TEST_F(MessagesReading, LosingTheFocusTakesTheFocusColourAway) {
    Grid->SetGridMode(gmBrowse);
    Grid->SetFocusColor(clRed);
    Grid->SetCurrentCell(2, 2);
    Grid->SetFocus();
    Grid->Invalidate();
    Grid->Update();
    const TRect R = Grid->CellRect(2, 2);
    auto Red = [&] {
        int N = 0;
        for (int X = R.Left; X < R.Right; ++X)
            for (int Y = R.Top; Y < R.Bottom; ++Y)
                if (Grid->Canvas()->Pixels(X, Y) == clRed) ++N;
        return N;
    };
    ASSERT_GT(Red(), 0);
    auto* Other = new TgxGrid(Form);
    Other->SetParent(Form);
    Other->SetBounds(0, 310, 200, 80);
    Other->SetFocus();
    Grid->Update();
    EXPECT_EQ(Red(), 0);
}

} // namespace

namespace {

// Timers live on the window: a grid without one runs none.
TEST(MessagesReadingNoWindow, AGridWithoutAWindowStartsNoTimer) {
    EnsureQtApplication();
    FakeTimerService Service;
    ScopedTimerService Installed(Service);
    {
        TgxGrid G(nullptr);
        G.StartSpinTimer(true);
        G.StartButtonTimer();
        EXPECT_EQ(Service.Count(), 0);
        unsigned Handle = G.SpinTimerHandle();
        G.StopTimer(Handle);
        EXPECT_EQ(Handle, 0u);
    }
    EXPECT_EQ(Service.Count(), 0);
}

} // namespace
