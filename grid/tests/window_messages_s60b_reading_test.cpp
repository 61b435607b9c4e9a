// The grid's own window messages and its two timers, driven through
// Perform, real Qt events and the timer seam on a shown grid.
#include "GridEditFixture.h"

#include "grid/model/CellButtons.h"
#include "grid/model/Columns.h"
#include "grid/view/DropDownForm.h"
#include "grid/model/PropDefaults.h"
#include "grid/model/Rows.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Messages.h"
#include "platform/gui/TimerService.h"

#include "platform/gui/QtApp.h"

#include <QCursor>
#include <QImage>

using namespace grid;

namespace {

// A grid that the test can put into the form designer's hands.
class TDesignedGrid : public TgxGrid {
public:
    using TgxGrid::TgxGrid;
    void Design(bool On) { SetDesigning(On); }
};

class WindowMessagesS60b : public GridEditFixture {
protected:
    LPARAM ClientPoint(int X, int Y) { return PointToLParam(X, Y); }
    LPARAM ScreenPoint(int X, int Y) {
        const TPoint P = Grid->ClientToScreen(TPoint{X, Y});
        return PointToLParam(P.X, P.Y);
    }
    // The x of the right border of a column in the heading row.
    int ColBorderX(int DisplayCol) { return Grid->CellRect(DisplayCol, 0).Right; }
    // The fixture's grid replaced by one in design mode.
    void Designed() {
        delete Grid;
        auto* G = new TDesignedGrid(Form);
        G->SetParent(Form);
        G->SetBounds(0, 0, 420, 300);
        G->SetGridRowCount(5);
        G->Design(true);
        Grid = G;
        QApplication::processEvents();
    }
};

TEST_F(WindowMessagesS60b, ButtonTimerStartsOnceAndStopsOnce) {
    FakeTimerService Timers;
    ScopedTimerService Use(Timers);
    Grid->StartButtonTimer();
    const unsigned First = Grid->ButtonTimerHandle();
    ASSERT_NE(First, 0u);
    EXPECT_EQ(Timers.NextTickIn(), 50);
    Timers.Advance(20);
    Grid->StartButtonTimer();  // running: not restarted
    EXPECT_EQ(Grid->ButtonTimerHandle(), First);
    EXPECT_EQ(Timers.NextTickIn(), 30);
    unsigned Handle = Grid->ButtonTimerHandle();
    EXPECT_TRUE(Grid->StopTimer(Handle));
    EXPECT_EQ(Handle, 0u);
    EXPECT_FALSE(Grid->StopTimer(Handle));
}

TEST_F(WindowMessagesS60b, SpinTimerSwitchesFromStartToRepeatPeriodOnce) {
    FakeTimerService Timers;
    ScopedTimerService Use(Timers);
    ASSERT_EQ(Grid->SpinStartDelay(), 500);
    ASSERT_EQ(Grid->SpinRepeatDelay(), 80);
    Grid->StartSpinTimer(true);
    ASSERT_NE(Grid->SpinTimerHandle(), 0u);
    EXPECT_EQ(Timers.NextTickIn(), 500);
    Timers.Advance(100);
    Grid->StartSpinTimer(true);  // running: nothing
    EXPECT_EQ(Timers.NextTickIn(), 400);
    Grid->CheckRestartSpinTimer();
    EXPECT_EQ(Timers.NextTickIn(), 80);
    Timers.Advance(30);
    Grid->CheckRestartSpinTimer();  // already on the repeat period
    EXPECT_EQ(Timers.NextTickIn(), 50);
    Grid->ResetSpinTimer();
    ASSERT_EQ(Grid->SpinTimerHandle(), 0u);
    Grid->StartSpinTimer(false);
    EXPECT_EQ(Timers.NextTickIn(), 80);
    Grid->CheckRestartSpinTimer();  // started on the repeat period: no switch
    EXPECT_EQ(Timers.NextTickIn(), 80);
    Grid->ResetSpinTimer();
    EXPECT_EQ(Timers.Count(), 0);
}

TEST_F(WindowMessagesS60b, DestroyingTheGridStopsItsButtonTimer) {
    FakeTimerService Timers;
    ScopedTimerService Use(Timers);
    Grid->StartButtonTimer();
    ASSERT_EQ(Timers.Count(), 1);
    delete Form;
    Form = nullptr;
    EXPECT_EQ(Timers.Count(), 0);
}

TEST_F(WindowMessagesS60b, DialogCodeAsksForTabOnlyWhenEditingWithoutCtrl) {
    struct Case {
        const char* Name;
        TgxGridMode Mode;
        bool WantTabs;
        bool Ctrl;
        bool Tab;
    };
    const Case Cases[] = {
        {"edit", gmEdit, true, false, true},
        {"edit, tabs off", gmEdit, false, false, false},
        {"edit, ctrl held", gmEdit, true, true, false},
        {"list box", gmListBox, true, false, false},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->SetGridMode(C.Mode);
        Grid->SetWantTabs(C.WantTabs);
        SetCurrentModifiers(C.Ctrl ? Qt::ControlModifier : Qt::NoModifier, Qt::NoButton);
        const LRESULT Code = Grid->Perform(WM_GETDLGCODE);
        SetCurrentModifiers(Qt::NoModifier, Qt::NoButton);
        EXPECT_TRUE(Code & DLGC_WANTCHARS);
        EXPECT_EQ((Code & DLGC_WANTTAB) != 0, C.Tab);
    }
}

TEST_F(WindowMessagesS60b, LineScrollAtTheStartKeepsTheEditor) {
    Grid->SetGridColCount(30);
    Grid->SetGridRowCount(60);
    Grid->SetGridMode(gmEdit);
    Grid->SetCurrentCell(1, 1);
    Grid->ShowEditor();
    ASSERT_TRUE(Grid->ControlDisplayed());
    ASSERT_TRUE(Grid->ControlDisplayed());
    struct Case {
        unsigned Msg;
        int Code;
    };
    for (const Case& C : {Case{WM_HSCROLL, SB_LINELEFT}, Case{WM_HSCROLL, SB_PAGELEFT},
                          Case{WM_VSCROLL, SB_LINEUP}, Case{WM_VSCROLL, SB_PAGEUP}}) {
        SCOPED_TRACE(testing::Message() << C.Msg << "/" << C.Code);
        Grid->Perform(C.Msg, static_cast<WPARAM>(C.Code));
        EXPECT_TRUE(Grid->ControlDisplayed());
        EXPECT_EQ(Grid->LeftCol(), 1);
        EXPECT_EQ(Grid->TopRow(), 1);
    }
}

TEST_F(WindowMessagesS60b, LineScrollMovesAndEndScrollShowsTheEditorAgain) {
    Grid->SetGridRowCount(60);
    Grid->SetGridMode(gmEdit);
    Grid->SetCurrentCell(1, 3);
    Grid->ShowEditor();
    ASSERT_TRUE(Grid->ControlDisplayed());
    Grid->Perform(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(Grid->TopRow(), 2);
    Grid->Perform(WM_VSCROLL, SB_ENDSCROLL);
    EXPECT_TRUE(Grid->ControlDisplayed());
}

TEST_F(WindowMessagesS60b, EraseBackgroundAtRunTimeLeavesThePixels) {
    QApplication::processEvents();
    const QImage Before = Grid->Widget()->grab().toImage();
    Grid->Perform(WM_ERASEBKGND);
    QApplication::processEvents();
    const QImage After = Grid->Widget()->grab().toImage();
    EXPECT_TRUE(Before == After);
}

TEST_F(WindowMessagesS60b, DesignHitTestAnswersOverAColumnBorderOnly) {
    Designed();
    const int MidY = Grid->CellRect(1, 0).Top + 3;
    EXPECT_NE(Grid->Perform(CM_DESIGNHITTEST, 0, ClientPoint(ColBorderX(1), MidY)), 0);
    const TRect Cell = Grid->CellRect(2, 2);
    EXPECT_EQ(Grid->Perform(CM_DESIGNHITTEST, 0,
                            ClientPoint((Cell.Left + Cell.Right) / 2, (Cell.Top + Cell.Bottom) / 2)),
              0);
}

TEST_F(WindowMessagesS60b, DesignCursorOverAColumnBorderIsTheSplit) {
    Designed();
    const int MidY = Grid->CellRect(1, 0).Top + 3;
    Grid->Perform(WM_NCHITTEST, 0, ScreenPoint(ColBorderX(1), MidY));
    Grid->Perform(WM_SETCURSOR, 0, MakeLParam(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(Grid->Widget()->cursor().shape(), Qt::SizeHorCursor);
    const TRect Cell = Grid->CellRect(2, 2);
    Grid->Perform(WM_NCHITTEST, 0,
                  ScreenPoint((Cell.Left + Cell.Right) / 2, (Cell.Top + Cell.Bottom) / 2));
    Grid->Perform(WM_SETCURSOR, 0, MakeLParam(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(Grid->Widget()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(WindowMessagesS60b, DialogCharClicksTheHeadingWithThatAccelerator) {
    Grid->GetCol(2)->SetHeading("&Quantity");
    std::vector<int> Clicked;
    Grid->OnHeadingClick = [&](TObject*, int DataCol) { Clicked.push_back(DataCol); };
    EXPECT_EQ(Grid->Perform(CM_DIALOGCHAR, 'q'), 1);
    EXPECT_EQ(Clicked, std::vector<int>{2});
    EXPECT_EQ(Grid->Perform(CM_DIALOGCHAR, 'z'), 0);
    EXPECT_EQ(Clicked.size(), 1u);
}

TEST_F(WindowMessagesS60b, HeadingFollowsTheParentFont) {
    ASSERT_TRUE(Grid->HeadingParentFont());
    TFont Own;
    Own.Assign(Grid->Font());
    Own.SetSize(9);
    Grid->SetFont(&Own);  // the grid parts from its parent's font
    TFont Big;
    Big.Assign(Form->Font());
    Big.SetSize(17);
    Form->SetFont(&Big);
    EXPECT_EQ(Grid->HeadingFont()->Size(), 17);
    EXPECT_EQ(Grid->Font()->Size(), 9);
}

TEST_F(WindowMessagesS60b, OwnFontColumnsFollowANewGridFont) {
    Grid->GetCol(2)->SetAutoCreateFont(true);
    TFont Big;
    Big.Assign(Grid->Font());
    Big.SetSize(15);
    Grid->SetFont(&Big);
    EXPECT_EQ(Grid->GetCol(2)->GetFont()->Size(), 15);
}

TEST_F(WindowMessagesS60b, DropDownFormsTakeANewGridFont) {
    TgxDropDownForm* List = Grid->GetComboForm();
    TgxDropDownForm* Picker = Grid->GetDateTimeForm();
    ASSERT_NE(List, nullptr);
    ASSERT_NE(Picker, nullptr);
    TFont Big;
    Big.Assign(Grid->Font());
    Big.SetSize(16);
    Grid->SetFont(&Big);
    EXPECT_EQ(List->Font()->Size(), 16);
    EXPECT_EQ(Picker->Font()->Size(), 16);
}

TEST_F(WindowMessagesS60b, HoverTickAwayFromTheButtonStopsTheHoverTimer) {
    FakeTimerService Timers;
    ScopedTimerService Use(Timers);
    Grid->StartButtonTimer();
    ASSERT_NE(Grid->ButtonTimerHandle(), 0u);
    QCursor::setPos(Grid->Widget()->mapToGlobal(QPoint(5, 5)));
    Timers.Advance(50);
    EXPECT_EQ(Grid->ButtonTimerHandle(), 0u);
    EXPECT_EQ(Timers.Count(), 0);
}

TEST_F(WindowMessagesS60b, EditorsTakeTheGridCursor) {
    Grid->SetCursor(crHandPoint);
    for (TgxControlType Type : {ctText, ctCheck}) {
        SCOPED_TRACE(static_cast<int>(Type));
        TgxCustomGridControl* C = Grid->GridCellControl(Type);
        ASSERT_NE(C, nullptr);
        EXPECT_EQ(C->Control()->Cursor(), crHandPoint);
    }
}

TEST_F(WindowMessagesS60b, EnteringRunsInsideTheSetFocusCount) {
    Grid->SetFocus();
    TEdit* Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(0, 320, 80, 20);
    Other->SetFocus();
    QApplication::processEvents();
    std::vector<bool> Seen;
    Grid->OnEnter = [&](TObject*) { Seen.push_back(Grid->InSetFocus()); };
    Grid->SetFocus();
    QApplication::processEvents();
    ASSERT_FALSE(Seen.empty());
    EXPECT_TRUE(Seen.front());
    EXPECT_FALSE(Grid->InSetFocus());
}

TEST_F(WindowMessagesS60b, ResizeRaisesOnResizeOnce) {
    int Count = 0;
    Grid->OnResize = [&](TObject*) { ++Count; };
    Grid->SetBounds(0, 0, 380, 260);
    QApplication::processEvents();
    EXPECT_EQ(Count, 1);
}

TEST_F(WindowMessagesS60b, DefaultButtonsFollowTheButtonSizeUnlessTheProgramMadeThem) {
    TgxCustomButton* Normal = Grid->GridCellButton(1, btNormal);
    ASSERT_NE(Normal, nullptr);
    Grid->SetDefaultButtonWidth(Grid->DefaultButtonWidth() + 7);
    EXPECT_EQ(Grid->GridCellButton(1, btNormal)->GetWidth(), Grid->DefaultButtonWidth());
    EXPECT_EQ(Grid->GridCellButton(1, btCombo)->GetWidth(), Grid->DefaultButtonWidth());
    TBitmap Picture;
    Picture.SetSize(8, 8);
    Grid->CreateDefaultButton(&Picture, clWhite, 31, 19);
    Grid->CreateDefaultCombo(&Picture, clWhite, 29, 18);
    Grid->SetDefaultButtonWidth(Grid->DefaultButtonWidth() + 3);
    EXPECT_EQ(Grid->GridCellButton(1, btNormal)->GetWidth(), 31);
    EXPECT_EQ(Grid->GridCellButton(1, btNormal)->GetHeight(), 19);
    EXPECT_EQ(Grid->GridCellButton(1, btCombo)->GetWidth(), 29);
    Grid->DestroyDefaultButton();
    EXPECT_EQ(Grid->GridCellButton(1, btNormal)->GetWidth(), Grid->DefaultButtonWidth());
    Grid->SetSpinButtonWidth(Grid->SpinButtonWidth() + 4);
    EXPECT_EQ(Grid->GridCellButton(1, btVertSpin)->GetWidth(), Grid->SpinButtonWidth());
}

TEST_F(WindowMessagesS60b, CopyAndPasteMessagesGoToTheCurrentCell) {
    Grid->SetCellValue(2, 2, "alpha");
    Grid->SetCurrentCell(2, 2);
    Grid->Perform(WM_COPY);
    EXPECT_EQ(Clipboard()->AsText(), "alpha");
    Grid->SetCurrentCell(3, 3);
    Grid->Perform(WM_PASTE);
    EXPECT_EQ(Grid->GetCellValue(3, 3).AsString(), "alpha");
}

TEST_F(WindowMessagesS60b, HiddenOnRequestTheEditorStaysHiddenOnFocus) {
    Grid->SetGridMode(gmEdit);
    Grid->SetCurrentCell(1, 1);
    Grid->ShowEditor();
    ASSERT_TRUE(Grid->ControlDisplayed());
    Grid->HideGridControl(true);
    EXPECT_FALSE(Grid->ControlDisplayed());
    Grid->Perform(WM_SETFOCUS);
    EXPECT_FALSE(Grid->ControlDisplayed());
}

TEST_F(WindowMessagesS60b, CurrentCellInViewAndControlActive) {
    Grid->SetGridRowCount(60);
    Grid->SetCurrentCell(1, 1);
    EXPECT_TRUE(Grid->CurrentCellInView());
    Grid->SetGridMode(gmEdit);
    EXPECT_TRUE(Grid->GridControlActive());
    Grid->SetCellReadOnly(1, 1, roOn);
    EXPECT_FALSE(Grid->GridControlActive());
    Grid->SetGridMode(gmBrowse);
    Grid->SetCellReadOnly(1, 1, roDefault);
    EXPECT_FALSE(Grid->GridControlActive());
    Grid->SetTopLeft(1, 20);
    EXPECT_FALSE(Grid->CurrentCellInView());
}

}  // namespace
