// The grid's own answers to window messages, its button and spin timers,
// the default cell buttons and the in-place control around them.
#include "DropDownFixture.h"
#include "ShownGridFixture.h"
#include "grid/model/CellButtons.h"
#include "grid/model/Columns.h"
#include "grid/model/ControlWrappers.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GridControl.h"
#include "grid/model/InplaceControl.h"
#include "grid/view/DropDownForm.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Messages.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/TimerService.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <QApplication>
#include <QKeyEvent>

#include <tuple>
#include <vector>

using namespace grid;

namespace {

// A grid the form designer can take into design mode.
class TDesignGrid : public TgxGrid {
public:
    using TgxGrid::TgxGrid;
    void Design(bool On) { SetDesigning(On); }
    void BeginLoad() { Loading(); }
};

class WindowMessagesReading : public ShownGridFixture {
protected:
    void Show(int Cols, int Rows) {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 600, 400);
        Grid = Designed = new TDesignGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetGridColCount(Cols);
        Grid->SetGridRowCount(Rows);
        ShowActive(*Form);
        QApplication::processEvents();
    }
    void Focus() {
        Grid->SetFocus();
        QApplication::processEvents();
    }
    TgxCustomGridControl* Control() { return Grid->GridControl(); }
    bool ControlVisible() { return Control() != nullptr && Control()->GetVisible(); }
    TDesignGrid* Designed = nullptr;
};

TEST_F(WindowMessagesReading, SpinTimerStartsSlowAndRepeatsFast) {
    FakeTimerService Timers;
    ScopedTimerService Use(Timers);
    Show(3, 3);
    Grid->StartSpinTimer(true);
    ASSERT_NE(Grid->SpinTimerHandle(), 0u);
    EXPECT_EQ(Timers.NextTickIn(), Grid->SpinStartDelay());
    Timers.Advance(100);
    Grid->StartSpinTimer(false); // running: left as it is
    EXPECT_EQ(Timers.NextTickIn(), Grid->SpinStartDelay() - 100);
    Grid->CheckRestartSpinTimer();
    EXPECT_EQ(Timers.NextTickIn(), Grid->SpinRepeatDelay());
    Timers.Advance(30);
    Grid->CheckRestartSpinTimer(); // once only
    EXPECT_EQ(Timers.NextTickIn(), Grid->SpinRepeatDelay() - 30);
    unsigned Handle = Grid->SpinTimerHandle();
    EXPECT_TRUE(Grid->StopTimer(Handle));
    EXPECT_EQ(Handle, 0u);
    EXPECT_FALSE(Grid->StopTimer(Handle));
}

TEST_F(WindowMessagesReading, NoTimerRunsWithoutAWindow) {
    FakeTimerService Timers;
    ScopedTimerService Use(Timers);
    EnsureQtApplication();
    TgxGrid Lone(nullptr);
    ASSERT_FALSE(Lone.HandleAllocated());
    Lone.StartButtonTimer();
    Lone.StartSpinTimer(true);
    EXPECT_EQ(Lone.ButtonTimerHandle(), 0u);
    EXPECT_EQ(Lone.SpinTimerHandle(), 0u);
    EXPECT_EQ(Timers.Count(), 0);
}

TEST_F(WindowMessagesReading, ButtonTimerIsNotRestartedWhileRunning) {
    FakeTimerService Timers;
    ScopedTimerService Use(Timers);
    Show(3, 3);
    const int Before = Timers.Count();
    Grid->StartButtonTimer();
    ASSERT_NE(Grid->ButtonTimerHandle(), 0u);
    EXPECT_EQ(Timers.Count(), Before + 1);
    EXPECT_EQ(Timers.NextTickIn(), 50);
    Timers.Advance(20);
    Grid->StartButtonTimer();
    EXPECT_EQ(Timers.NextTickIn(), 30);
    delete Form;
    Form = nullptr;
    EXPECT_EQ(Timers.Count(), 0);
}

TEST_F(WindowMessagesReading, DialogCodeAsksForTabOnlyWhenItMayUseIt) {
    Show(3, 3);
    Focus();
    struct TCase {
        TgxGridMode Mode;
        bool WantTabs;
        bool Ctrl;
        bool Tab;
    };
    const std::vector<TCase> Cases = {
        {gmEdit, true, false, true},       {gmEdit, false, false, false},
        {gmEdit, true, true, false},       {gmEditInsert, true, false, true},
        {gmListBox, true, false, false},   {gmBrowse, true, false, true},
    };
    for (const TCase& C : Cases) {
        Grid->SetGridMode(C.Mode);
        Grid->SetWantTabs(C.WantTabs);
        QApplication::processEvents();
        if (C.Ctrl) {
            // A modifier key's own event carries its modifier as it was before.
            QKeyEvent Down(QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier);
            QApplication::sendEvent(QApplication::focusWidget(), &Down);
        }
        const LRESULT Code = Grid->Perform(WM_GETDLGCODE, 0, 0);
        if (C.Ctrl) {
            QKeyEvent Up(QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier);
            QApplication::sendEvent(QApplication::focusWidget(), &Up);
        }
        EXPECT_TRUE(Code & DLGC_WANTCHARS) << static_cast<int>(C.Mode);
        EXPECT_EQ((Code & DLGC_WANTTAB) != 0, C.Tab)
            << static_cast<int>(C.Mode) << " tabs " << C.WantTabs << " ctrl " << C.Ctrl;
    }
}

TEST_F(WindowMessagesReading, EraseBackgroundIsLeftToThePaint) {
    Show(3, 3);
    // Answered as done: the grid paints every pixel itself.
    EXPECT_EQ(Grid->Perform(WM_ERASEBKGND, 0, 0), 1);
}

TEST_F(WindowMessagesReading, LineLeftAtTheLeftEdgeKeepsTheEditor) {
    Show(12, 5);
    Focus();
    TypeKey(Grid->Widget(), Qt::Key_Right);
    QApplication::processEvents();
    ASSERT_TRUE(ControlVisible());
    for (const int Code : {SB_LINELEFT, SB_PAGELEFT}) {
        Grid->Perform(WM_HSCROLL, static_cast<WPARAM>(Code), 0);
        EXPECT_TRUE(ControlVisible()) << Code;
        EXPECT_TRUE(Grid->ControlDisplayed()) << Code;
        EXPECT_EQ(Grid->LeftCol(), 1);
    }
    Grid->Perform(WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_TRUE(ControlVisible());

    // A real scroll moves the control with its cell once the scroll ends.
    const int Left = Control()->Control()->Left();
    Grid->Perform(WM_HSCROLL, SB_LINERIGHT, 0);
    Grid->Perform(WM_HSCROLL, SB_ENDSCROLL, 0);
    QApplication::processEvents();
    EXPECT_EQ(Grid->LeftCol(), 2);
    ASSERT_TRUE(ControlVisible());
    EXPECT_EQ(Control()->Control()->Left(), Left - Grid->ColWidths(1));
}

TEST_F(WindowMessagesReading, ResizeReportsAndRefitsTheBars) {
    Show(3, 30);
    int Resized = 0;
    Grid->OnResize = [&](TObject*) { ++Resized; };
    ASSERT_TRUE(Grid->GetVertScrollBarVisible());
    Grid->SetBounds(0, 0, 420, 290);
    QApplication::processEvents();
    EXPECT_EQ(Resized, 1);
    Grid->SetBounds(0, 0, 400, 600);
    QApplication::processEvents();
    EXPECT_GE(Resized, 2);
    EXPECT_FALSE(Grid->GetVertScrollBarVisible());
}

TEST_F(WindowMessagesReading, ALoadingGridKeepsItsResizeToItself) {
    Show(3, 3);
    int Resized = 0;
    Grid->OnResize = [&](TObject*) { ++Resized; };
    Designed->BeginLoad();
    EXPECT_FALSE(Grid->CanActivateEvent());
    Grid->SetBounds(0, 0, 380, 280);
    QApplication::processEvents();
    EXPECT_EQ(Resized, 0);
    Grid->Loaded();
    EXPECT_TRUE(Grid->CanActivateEvent());
    Grid->SetBounds(0, 0, 390, 290);
    QApplication::processEvents();
    EXPECT_EQ(Resized, 1);
}

TEST_F(WindowMessagesReading, TheControlMovedWhilePaintingWasOffShowsAfterwards) {
    Show(3, 5);
    Focus();
    ASSERT_TRUE(ControlVisible());
    Grid->SetEnablePaint(false);
    TypeKey(Grid->Widget(), Qt::Key_Down);
    TypeKey(Grid->Widget(), Qt::Key_Down);
    QApplication::processEvents();
    Grid->SetEnablePaint(true);
    QApplication::processEvents();
    Grid->Widget()->repaint();
    ASSERT_EQ(Grid->Row(), 3);
    ASSERT_TRUE(ControlVisible());
    EXPECT_EQ(Control()->Control()->Top(), Grid->CellRect(1, 3).Top);
}

TEST_F(WindowMessagesReading, HeadingAcceleratorClicksItsHeading) {
    Show(3, 3);
    Grid->GetCol(Variant(2))->SetHeading("&Name");
    std::vector<int> Clicked;
    Grid->OnHeadingClick = [&](TObject*, int C) { Clicked.push_back(C); };
    EXPECT_EQ(Grid->Perform(CM_DIALOGCHAR, 'N', 0), 1);
    EXPECT_EQ(Clicked, std::vector<int>{2});
    EXPECT_EQ(Grid->Perform(CM_DIALOGCHAR, 'Q', 0), 0);
    EXPECT_EQ(Clicked.size(), 1u);
    Grid->SetEnabled(false);
    EXPECT_EQ(Grid->Perform(CM_DIALOGCHAR, 'N', 0), 0);
    EXPECT_EQ(Clicked.size(), 1u);
}

TEST_F(WindowMessagesReading, HeadingFontFollowsTheParentOnlyWhenAskedTo) {
    Show(3, 3);
    ASSERT_TRUE(Grid->HeadingParentFont());
    Form->Font()->SetSize(17);
    QApplication::processEvents();
    EXPECT_EQ(Grid->HeadingFont()->Size(), 17);
    Grid->SetHeadingParentFont(false);
    Grid->HeadingFont()->SetSize(9);
    Form->Font()->SetSize(21);
    QApplication::processEvents();
    EXPECT_EQ(Grid->HeadingFont()->Size(), 9);
}

TEST_F(WindowMessagesReading, GridFontReachesTheDropDownForms) {
    Show(3, 3);
    TgxDropDownForm* Combo = Grid->GetComboForm();
    TgxDropDownForm* DateTime = Grid->GetDateTimeForm();
    ASSERT_NE(Combo, nullptr);
    ASSERT_NE(DateTime, nullptr);
    Grid->Font()->SetSize(19);
    QApplication::processEvents();
    EXPECT_EQ(Combo->Font()->Size(), 19);
    EXPECT_EQ(DateTime->Font()->Size(), 19);
}

TEST_F(WindowMessagesReading, OwnFontsFollowTheGridFont) {
    Show(3, 3);
    TgxCol* Column = Grid->GetCol(Variant(2));
    Column->SetAutoCreateFont(true);
    ASSERT_NE(Column->GetFont(), nullptr);
    Grid->Font()->SetSize(18);
    QApplication::processEvents();
    EXPECT_EQ(Column->GetFont()->Size(), 18);
}

TEST_F(WindowMessagesReading, ControlsTakeTheGridsCursor) {
    Show(3, 3);
    Grid->SetCursor(crHandPoint);
    for (const TgxControlType Type : {ctText, ctCheck})
        EXPECT_EQ(Grid->GridCellControl(Type)->Control()->Cursor(), crHandPoint)
            << static_cast<int>(Type);
}

TEST_F(WindowMessagesReading, ColumnBorderAnswersTheDesigner) {
    Show(4, 4);
    Designed->Design(true);
    const TRect Cell = Grid->CellRect(1, 0);
    const LRESULT OnBorder = Grid->Perform(CM_DESIGNHITTEST, 0, PointToLParam(Cell.Right, 5));
    EXPECT_NE(OnBorder, 0);
    const LRESULT Inside =
        Grid->Perform(CM_DESIGNHITTEST, 0, PointToLParam((Cell.Left + Cell.Right) / 2, 30));
    EXPECT_EQ(Inside, 0);
    Designed->Design(false);
}

TEST_F(WindowMessagesReading, CopyCutPasteGoToTheCurrentCell) {
    Show(3, 3);
    Grid->SetStoreData(true);
    Grid->SetCellValue(1, 1, Variant(AnsiString("alpha")));
    Focus();
    Grid->CurrentCell()->SelectAll();
    Grid->Perform(WM_COPY, 0, 0);
    EXPECT_EQ(Clipboard()->AsText(), AnsiString("alpha"));
    Clipboard()->SetAsText("beta");
    Grid->Perform(WM_PASTE, 0, 0);
    EXPECT_EQ(Grid->CurrentCell()->GetSelText(), AnsiString());
    Grid->CurrentCell()->SelectAll();
    EXPECT_EQ(Grid->CurrentCell()->GetSelText(), AnsiString("beta"));
    Clipboard()->SetAsText("");
    Grid->Perform(WM_CUT, 0, 0);
    EXPECT_EQ(Clipboard()->AsText(), AnsiString("beta"));
    Grid->CurrentCell()->SelectAll();
    EXPECT_EQ(Grid->CurrentCell()->GetSelText(), AnsiString());
}

TEST_F(WindowMessagesReading, DefaultButtonsCanBeReplacedAndResized) {
    Show(3, 3);
    TBitmap Face;
    Face.SetSize(6, 6);
    Grid->CreateDefaultButton(&Face, clRed, 6, 5);
    TgxCustomButton* Normal = Grid->GridCellButton(1, btNormal);
    EXPECT_EQ(Normal->GetWidth(), 6);
    EXPECT_EQ(Normal->GetHeight(), 5);
    EXPECT_EQ(Normal->GetTransparentColor(), clRed);
    Grid->CreateDefaultCombo(&Face, clBlue, 7, 4);
    EXPECT_EQ(Grid->GridCellButton(1, btCombo)->GetWidth(), 7);
    EXPECT_EQ(Grid->GridCellButton(1, btCombo)->GetHeight(), 4);

    // Own faces keep their size; the stock buttons follow the grid's.
    Grid->SetDefaultButtonWidth(14);
    EXPECT_EQ(Grid->GridCellButton(1, btNormal)->GetWidth(), 6);
    EXPECT_EQ(Grid->GridCellButton(1, btDateTimeDropDown)->GetWidth(), 14);
    Grid->DestroyDefaultButton();
    Grid->DestroyDefaultCombo();
    EXPECT_EQ(Grid->GridCellButton(1, btNormal)->GetWidth(), 14);
    EXPECT_EQ(Grid->GridCellButton(1, btCombo)->GetWidth(), 14);
    Grid->SetDefaultButtonHeight(12);
    EXPECT_EQ(Grid->GridCellButton(1, btCombo)->GetHeight(), 12);
    EXPECT_EQ(Grid->GridCellButton(1, btNormal)->GetHeight(), 12);

    Grid->SetSpinButtonWidth(13);
    EXPECT_EQ(Grid->GridCellButton(1, btVertSpin)->GetWidth(), 13);
    EXPECT_EQ(Grid->GridCellButton(1, btHorzSpin)->GetHeight(), 13);
}

TEST_F(WindowMessagesReading, HiddenControlComesBackWhenRedisplayed) {
    Show(3, 3);
    Focus();
    ASSERT_TRUE(ControlVisible());
    EXPECT_TRUE(Grid->CurrentCellInView());
    EXPECT_TRUE(Grid->GridControlActive());
    EXPECT_TRUE(Grid->CanSetControl());
    Grid->HideGridControl(true);
    EXPECT_FALSE(ControlVisible());
    EXPECT_FALSE(Grid->ControlDisplayed());
    EXPECT_FALSE(Grid->CheckHideControl(false));
    Grid->RedisplayControl(true);
    QApplication::processEvents();
    EXPECT_TRUE(ControlVisible());
    EXPECT_TRUE(Grid->ControlDisplayed());
    EXPECT_TRUE(Grid->CheckHideControl(false));
    EXPECT_FALSE(ControlVisible());
}

TEST_F(WindowMessagesReading, ControlIsActiveOnlyOnAnEditableUnselectedCell) {
    Show(3, 3);
    Focus();
    EXPECT_TRUE(Grid->GridControlActive());
    Grid->SetGridMode(gmBrowse);
    EXPECT_FALSE(Grid->GridControlActive());
    Grid->SetGridMode(gmEditInsert);
    EXPECT_TRUE(Grid->GridControlActive());
    Grid->SetGridMode(gmEdit);
    Grid->SetSkipReadOnly(false);
    Grid->SetRowReadOnly(1, true);
    ASSERT_EQ(Grid->Row(), 1);
    EXPECT_FALSE(Grid->GridControlActive());
    Grid->SetRowReadOnly(1, false);
    Grid->SelectRows(1, 2, true);
    EXPECT_FALSE(Grid->GridControlActive());
    Grid->ResetSelection();
    EXPECT_TRUE(Grid->GridControlActive());
    Designed->Design(true);
    EXPECT_FALSE(Grid->CanSetControl());
    Designed->Design(false);
}

TEST_F(WindowMessagesReading, CurrentCellInViewFollowsTheTopLeft) {
    Show(12, 40);
    Focus();
    EXPECT_TRUE(Grid->CurrentCellInView());
    Grid->SetTopRow(5);
    EXPECT_FALSE(Grid->CurrentCellInView());
    Grid->SetTopRow(1);
    Grid->SetLeftCol(4);
    EXPECT_FALSE(Grid->CurrentCellInView());
    Grid->SetLeftCol(1);
    EXPECT_TRUE(Grid->CurrentCellInView());
}

TEST_F(WindowMessagesReading, TimerMessagesReachTheirTimersWork) {
    FakeTimerService Timers;
    ScopedTimerService Use(Timers);
    Show(3, 3);
    // No button under the mouse and none held: each timer's tick ends it.
    Grid->StartButtonTimer();
    Grid->StartSpinTimer(true);
    Grid->Perform(WM_TIMER, 3, 0);
    EXPECT_NE(Grid->ButtonTimerHandle(), 0u);
    EXPECT_NE(Grid->SpinTimerHandle(), 0u);
    Grid->Perform(WM_TIMER, TgxBaseGrid::SpinTimerId, 0);
    EXPECT_EQ(Grid->SpinTimerHandle(), 0u);
    Grid->StartButtonTimer();
    Grid->Perform(WM_TIMER, TgxBaseGrid::ButtonTimerId, 0);
    EXPECT_EQ(Grid->ButtonTimerHandle(), 0u);
}

TEST_F(WindowMessagesReading, DesignCursorFollowsTheBorders) {
    Show(4, 4);
    Designed->Design(true);
    const TRect Cell = Grid->CellRect(1, 1);
    struct TCase {
        int X, Y;
        TCursor Shape;
        TgxMouseStatus Status;
    };
    const std::vector<TCase> Cases = {
        {Cell.Right, 5, crHSplit, msColResize},
        {5, Cell.Bottom, crVSplit, msRowResize},
        {(Cell.Left + Cell.Right) / 2, (Cell.Top + Cell.Bottom) / 2, crArrow, msNormal},
    };
    for (const TCase& C : Cases) {
        const TPoint At = Grid->ClientToScreen(Point(C.X, C.Y));
        EXPECT_EQ(Grid->Perform(WM_NCHITTEST, 0, PointToLParam(At.X, At.Y)), HTCLIENT);
        Grid->Perform(WM_SETCURSOR, 0, MakeLParam(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(Grid->Widget()->cursor().shape(), ToQtCursor(C.Shape)) << C.X << "," << C.Y;
        EXPECT_EQ(Grid->MouseStatus(), C.Status) << C.X << "," << C.Y;
    }
    Designed->Design(false);
}

// The designer hands a press on a border to the grid, which then drags it
// with the mouse held; every row takes the new height (rows resize all by
// default), a column alone its own width.
TEST_F(WindowMessagesReading, TheDesignerDragsABorder) {
    Show(4, 6);
    Designed->Design(true);
    QWidget* W = Grid->Widget();
    auto Drag = [&](QPoint From, QPoint To) {
        ASSERT_NE(Grid->Perform(CM_DESIGNHITTEST, 0, PointToLParam(From.x(), From.y())), 0);
        SendMouse(W, QEvent::MouseMove, From, Qt::NoButton);
        SendMouse(W, QEvent::MouseButtonPress, From);
        // While the drag runs the designer leaves every point to the grid.
        EXPECT_EQ(Grid->Perform(CM_DESIGNHITTEST, 0, PointToLParam(60, 60)), -1);
        SendMouse(W, QEvent::MouseMove, To, Qt::NoButton, Qt::LeftButton);
        SendMouse(W, QEvent::MouseButtonRelease, To);
        QApplication::processEvents();
    };
    const int RowHeight = Grid->RowHeights(1);
    const int Y = Grid->CellRect(0, 1).Bottom;
    Drag(QPoint(5, Y), QPoint(5, Y + 10));
    for (int R = 1; R <= 6; ++R) EXPECT_EQ(Grid->RowHeights(R), RowHeight + 10) << R;

    const int ColWidth = Grid->ColWidths(2);
    const int X = Grid->CellRect(1, 0).Right;
    Drag(QPoint(X, 5), QPoint(X + 20, 5));
    EXPECT_EQ(Grid->ColWidths(1), ColWidth + 20);
    EXPECT_EQ(Grid->ColWidths(2), ColWidth);
    Designed->Design(false);
}

TEST_F(WindowMessagesReading, AScreenCursorIsLeftAlone) {
    Show(3, 3);
    Focus();
    const TRect Cell = Grid->CellRect(2, 2);
    const QPoint Mid((Cell.Left + Cell.Right) / 2, (Cell.Top + Cell.Bottom) / 2);
    SendMouse(Grid->Widget(), QEvent::MouseMove, Mid, Qt::NoButton);
    const Qt::CursorShape Own = Grid->Widget()->cursor().shape();
    EXPECT_EQ(Own, ToQtCursor(crIBeam));
    Screen->SetCursor(crHourGlass);
    SendMouse(Grid->Widget(), QEvent::MouseMove, Mid + QPoint(1, 0), Qt::NoButton);
    EXPECT_NE(Grid->Widget()->cursor().shape(), Own);
    Screen->SetCursor(crDefault);
}

TEST_F(WindowMessagesReading, FocusShowsTheControlUnlessHiddenOnRequest) {
    TEdit* Other = nullptr;
    Show(3, 3);
    Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(420, 10, 100, 24);
    Focus();
    ASSERT_TRUE(ControlVisible());
    EXPECT_TRUE(Control()->Control()->Focused());
    Other->SetFocus();
    QApplication::processEvents();
    EXPECT_TRUE(Grid->CheckHideControl(false));
    ASSERT_FALSE(ControlVisible());
    Focus();
    EXPECT_TRUE(ControlVisible());

    Other->SetFocus();
    QApplication::processEvents();
    Grid->HideGridControl(true);
    ASSERT_FALSE(ControlVisible());
    Focus();
    EXPECT_FALSE(ControlVisible());
}

TEST_F(WindowMessagesReading, EnteringCountsAsSettingTheFocus) {
    Show(3, 3);
    auto* Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(420, 10, 100, 24);
    Other->SetFocus();
    QApplication::processEvents();
    std::vector<bool> During;
    Grid->OnEnter = [&](TObject*) { During.push_back(Grid->InSetFocus()); };
    Focus();
    ASSERT_FALSE(During.empty());
    EXPECT_TRUE(During.front());
    EXPECT_FALSE(Grid->InSetFocus());
}

TEST_F(WindowMessagesReading, LeavingTakesTheFocusFrameAway) {
    Show(3, 3);
    Grid->SetGridMode(gmBrowse);
    auto* Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(420, 10, 100, 24);
    Focus();
    auto CellPixels = [&] {
        QApplication::processEvents();
        const QImage Image = Grid->Widget()->grab().toImage();
        const TPoint O = Grid->ClientToScreen(Point(0, 0));
        const TPoint W = Grid->Parent()->ClientToScreen(Point(Grid->Left(), Grid->Top()));
        const TRect R = Grid->CellRect(Grid->Col(), Grid->Row());
        return Image.copy(O.X - W.X + R.Left, O.Y - W.Y + R.Top, R.Width(), R.Height());
    };
    const QImage Focused = CellPixels();
    Other->SetFocus();
    const QImage Left = CellPixels();
    EXPECT_NE(Focused, Left);
    Focus();
    EXPECT_EQ(CellPixels(), Focused);
}

TEST_F(WindowMessagesReading, NothingPaintsWhilePaintingIsOff) {
    Show(3, 3);
    int Painted = 0;
    Grid->OnPaint = [&](TObject*) { ++Painted; };
    Grid->SetEnablePaint(false);
    Grid->SetGridRowCount(60);
    Grid->Invalidate();
    QApplication::processEvents();
    Grid->Widget()->repaint();
    EXPECT_EQ(Painted, 0);
    Grid->SetEnablePaint(true);
    QApplication::processEvents();
    Grid->Widget()->repaint();
    EXPECT_GT(Painted, 0);
    EXPECT_TRUE(Grid->GetVertScrollBarVisible());
}

class WindowScrollDropDownReading : public DropDownFixture {};

TEST_F(WindowScrollDropDownReading, ScrollingClosesTheOpenList) {
    Grid->SetGridRowCount(40);
    GiveColumnList(1, {"one", "two"});
    Grid->SetFocus();
    QApplication::processEvents();
    for (const auto& [Msg, Code] : {std::pair{WM_VSCROLL, SB_LINEUP}, std::pair{WM_VSCROLL, SB_LINEDOWN},
                                    std::pair{WM_HSCROLL, SB_LINELEFT}}) {
        GoTo(1, Grid->GetDataRow(Grid->TopRow()));
        Grid->DisplayCombo(1, Grid->GetDataRow(Grid->TopRow()));
        QApplication::processEvents();
        ASSERT_TRUE(Grid->ComboVisible()) << Msg << " " << Code;
        Grid->Perform(Msg, static_cast<WPARAM>(Code), 0);
        QApplication::processEvents();
        EXPECT_FALSE(Grid->ComboVisible()) << Msg << " " << Code;
    }
}

} // namespace
