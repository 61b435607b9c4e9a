// The grid's own window messages, its button and spin timers and the
// hiding of the in-place control around them, driven through messages
// sent to a shown grid and timers on the fake timer service.
#include "GridEditFixture.h"
#include "grid/model/CellButtons.h"
#include "grid/model/Columns.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Messages.h"
#include "platform/gui/TimerService.h"

#include <gtest/gtest.h>

using namespace grid;

namespace {

// A grid that can be put into the form designer's hands.
class TDesignableGrid : public TgxGrid {
public:
    using TComponent::SetDesigning;
    using TgxGrid::TgxGrid;
};

class GridWindowMessages : public GridEditFixture {
protected:
    // A second grid beside the first, in design mode.
    TDesignableGrid* DesignGrid() {
        auto* G = new TDesignableGrid(Form);
        G->SetParent(Form);
        G->SetBounds(0, 0, 420, 300);
        G->SetGridRowCount(5);
        G->SetDesigning(true);
        QApplication::processEvents();
        return G;
    }
    bool EditorVisible() {
        return Grid->GridControl() != nullptr && Grid->GridControl()->GetVisible();
    }
};

// The timers run on the fake service: their periods are what is asked,
// a running timer is not restarted, and the spin timer moves from the start
// period to the repeat period once.
TEST_F(GridWindowMessages, TimersKeepTheirPeriodsAndAreNotRestartedWhileRunning) {
    FakeTimerService Service;
    ScopedTimerService Installed(Service);
    const int Before = Service.Count();

    Grid->StartButtonTimer();
    EXPECT_NE(Grid->ButtonTimerHandle(), 0u);
    EXPECT_EQ(Service.Count(), Before + 1);
    EXPECT_EQ(Service.NextTickIn(), 50);
    Service.Advance(20);
    Grid->StartButtonTimer(); // running: left alone
    EXPECT_EQ(Service.Count(), Before + 1);
    EXPECT_EQ(Service.NextTickIn(), 30);

    unsigned Button = Grid->ButtonTimerHandle();
    EXPECT_TRUE(Grid->StopTimer(Button));
    EXPECT_EQ(Button, 0u);
    EXPECT_FALSE(Grid->StopTimer(Button));

    Grid->StartSpinTimer(true);
    EXPECT_EQ(Service.Count(), Before + 1);
    EXPECT_EQ(Service.NextTickIn(), Grid->SpinStartDelay());
    Service.Advance(100);
    Grid->StartSpinTimer(false); // running: nothing happens
    EXPECT_EQ(Service.NextTickIn(), Grid->SpinStartDelay() - 100);
    Grid->CheckRestartSpinTimer();
    EXPECT_EQ(Service.NextTickIn(), Grid->SpinRepeatDelay());
    Service.Advance(10);
    Grid->CheckRestartSpinTimer(); // only once
    EXPECT_EQ(Service.NextTickIn(), Grid->SpinRepeatDelay() - 10);
    unsigned Spin = Grid->SpinTimerHandle();
    EXPECT_TRUE(Grid->StopTimer(Spin));
    EXPECT_EQ(Service.Count(), Before);
}

TEST_F(GridWindowMessages, DestroyingTheGridStopsItsButtonTimer) {
    FakeTimerService Service;
    ScopedTimerService Installed(Service);
    const int Before = Service.Count();
    Grid->StartButtonTimer();
    ASSERT_EQ(Service.Count(), Before + 1);
    delete Grid;
    Grid = nullptr;
    EXPECT_EQ(Service.Count(), Before);
    Service.Advance(200); // no tick reaches the freed grid
}

// A grid without a window keeps no timer behind when it goes.
TEST_F(GridWindowMessages, AWindowlessGridLeavesNoTimerBehind) {
    FakeTimerService Service;
    ScopedTimerService Installed(Service);
    const int Before = Service.Count();
    {
        TgxGrid Loose(nullptr);
        Loose.StartButtonTimer();
        Loose.StartSpinTimer(true);
        unsigned Spin = Loose.SpinTimerHandle();
        Loose.StopTimer(Spin);
        EXPECT_EQ(Spin, 0u);
    }
    EXPECT_EQ(Service.Count(), Before);
    Service.Advance(1000);
}

TEST_F(GridWindowMessages, TimerTicksArriveAsWindowMessagesWithoutHarm) {
    FakeTimerService Service;
    ScopedTimerService Installed(Service);
    Grid->StartButtonTimer();
    Grid->StartSpinTimer(true);
    Service.Advance(600);
    Grid->Perform(WM_TIMER, 1, 0);
    Grid->Perform(WM_TIMER, 2, 0);
    unsigned B = Grid->ButtonTimerHandle(), S = Grid->SpinTimerHandle();
    Grid->StopTimer(B);
    Grid->StopTimer(S);
}

// WM_GETDLGCODE: characters always; Tab only with editing or a focus
// rectangle and WantTabs on.
TEST_F(GridWindowMessages, DialogCodeAsksForTabOnlyWhenEditingAndWantTabs) {
    struct TCase {
        TgxGridMode Mode;
        bool WantTabs;
        bool Tab;
    } Cases[] = {
        {gmEdit, true, true},
        {gmEdit, false, false},
        {gmEditInsert, true, true},
    };
    for (const auto& C : Cases) {
        Grid->SetGridMode(C.Mode);
        Grid->SetWantTabs(C.WantTabs);
        const LRESULT Code = Grid->Perform(WM_GETDLGCODE);
        EXPECT_TRUE(Code & DLGC_WANTCHARS) << int(C.Mode);
        EXPECT_EQ((Code & DLGC_WANTTAB) != 0, C.Tab) << int(C.Mode) << " " << C.WantTabs;
    }
}

// With Ctrl held the grid leaves Tab to the dialog.
TEST_F(GridWindowMessages, DialogCodeLeavesTabAloneWhileCtrlIsHeld) {
    std::vector<LRESULT> Codes;
    Grid->OnKeyDown = [&](TObject*, Word&, TShiftState) {
        Codes.push_back(Grid->Perform(WM_GETDLGCODE));
    };
    Grid->SetCurrentCell(1, 1);
    QApplication::processEvents();
    Press(Qt::Key_F2, Qt::ControlModifier);
    Press(Qt::Key_F2);
    ASSERT_EQ(Codes.size(), 2u);
    EXPECT_FALSE(Codes[0] & DLGC_WANTTAB);
    EXPECT_TRUE(Codes[1] & DLGC_WANTTAB);
}

TEST_F(GridWindowMessages, LineLeftAtTheLeftmostColumnKeepsTheEditor) {
    Grid->SetCurrentCell(1, 1);
    QApplication::processEvents();
    ASSERT_TRUE(EditorVisible());
    for (unsigned Msg : {WM_HSCROLL, WM_VSCROLL}) {
        Grid->Perform(Msg, SB_LINELEFT, 0);
        EXPECT_TRUE(EditorVisible()) << Msg;
        Grid->Perform(Msg, SB_PAGELEFT, 0);
        EXPECT_TRUE(EditorVisible()) << Msg;
    }
}

TEST_F(GridWindowMessages, EraseBackgroundAtRunTimeLeavesThePixels) {
    Grid->Invalidate();
    Grid->Update();
    const TColor Before = Grid->Canvas()->Pixels(200, 150);
    const LRESULT R = Grid->Perform(WM_ERASEBKGND, 0, 0);
    EXPECT_NE(R, 0);
    EXPECT_EQ(Grid->Canvas()->Pixels(200, 150), Before);
}

TEST_F(GridWindowMessages, DesignHitTestOverAColumnBorderIsHandled) {
    TDesignableGrid* G = DesignGrid();
    const int Border = G->CellRect(1, 0).Right - 1;
    const int HeadingY = G->CellRect(1, 0).Top + 2;
    EXPECT_NE(G->Perform(CM_DESIGNHITTEST, 0, PointToLParam(Border, HeadingY)), 0);
    const TRect Mid = G->CellRect(2, 2);
    EXPECT_EQ(G->Perform(CM_DESIGNHITTEST, 0,
                         PointToLParam((Mid.Left + Mid.Right) / 2, (Mid.Top + Mid.Bottom) / 2)),
              0);
}

// At design time the cursor over a column border is the split cursor and
// the mouse status follows, so the designer leaves the sizing to the grid.
TEST_F(GridWindowMessages, DesignCursorOverAColumnBorderSetsTheSizingStatus) {
    TDesignableGrid* G = DesignGrid();
    const TRect Heading = G->CellRect(1, 0);
    const TPoint Border = G->ClientToScreen(Point(Heading.Right - 1, Heading.Top + 2));
    G->Perform(WM_NCHITTEST, 0, PointToLParam(Border.X, Border.Y));
    G->Perform(WM_SETCURSOR, 0, MakeLParam(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(G->MouseStatus(), msColResize);
    const TRect Mid = G->CellRect(2, 2);
    const TPoint Inside = G->ClientToScreen(Point((Mid.Left + Mid.Right) / 2, Mid.Top + 3));
    G->Perform(WM_NCHITTEST, 0, PointToLParam(Inside.X, Inside.Y));
    G->Perform(WM_SETCURSOR, 0, MakeLParam(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(G->MouseStatus(), msNormal);
}

TEST_F(GridWindowMessages, ClipboardMessagesGoToTheCurrentCell) {
    Grid->SetCellValue(2, 3, Variant("plum"));
    Grid->SetCurrentCell(2, 3);
    QApplication::processEvents();
    Clipboard()->SetAsText("");
    Grid->Perform(WM_COPY);
    EXPECT_EQ(Clipboard()->AsText(), "plum");

    Clipboard()->SetAsText("pear");
    Grid->SetCurrentCell(3, 2);
    QApplication::processEvents();
    Grid->Perform(WM_PASTE);
    Grid->SetCurrentCell(1, 1); // leaves the cell, so the paste is stored
    QApplication::processEvents();
    EXPECT_EQ(Grid->GetCellValue(3, 2).AsString(), "pear");
}

TEST_F(GridWindowMessages, DialogCharClicksTheHeadingThatCarriesIt) {
    Grid->GetCol(Variant(2))->SetHeading("&Name");
    std::vector<int> Clicked;
    Grid->OnHeadingClick = [&](TObject*, int DataCol) { Clicked.push_back(DataCol); };
    EXPECT_EQ(Grid->Perform(CM_DIALOGCHAR, 'n', 0), 1);
    EXPECT_EQ(Clicked, std::vector<int>{2});
    EXPECT_EQ(Grid->Perform(CM_DIALOGCHAR, 'q', 0), 0);
    EXPECT_EQ(Clicked.size(), 1u);
    // A grid that cannot take the focus leaves the character alone.
    Grid->SetEnabled(false);
    EXPECT_EQ(Grid->Perform(CM_DIALOGCHAR, 'n', 0), 0);
    EXPECT_EQ(Clicked.size(), 1u);
    Grid->SetEnabled(true);
}

TEST_F(GridWindowMessages, HeadingFollowsTheParentFontWhileHeadingParentFontIsOn) {
    ASSERT_TRUE(Grid->HeadingParentFont());
    Form->Font()->SetSize(17);
    QApplication::processEvents();
    EXPECT_EQ(Grid->HeadingFont()->Size(), 17);
    // The message may carry the font to take.
    TFont Carried;
    Carried.SetSize(21);
    Grid->Perform(CM_PARENTFONTCHANGED, 1, reinterpret_cast<LPARAM>(&Carried));
    EXPECT_EQ(Grid->HeadingFont()->Size(), 21);
    Grid->SetHeadingParentFont(false);
    Form->Font()->SetSize(9);
    QApplication::processEvents();
    EXPECT_EQ(Grid->HeadingFont()->Size(), 21);
}

// Columns and rows that make their fonts from the grid font follow a
// change of it.
TEST_F(GridWindowMessages, AutoFontColumnsAndRowsFollowTheGridFont) {
    TgxCol* Col = Grid->GetCol(Variant(2));
    Col->SetAutoCreateFont(true);
    Grid->SetRowAutoCreateFont(3, true);
    Grid->Font()->SetSize(15);
    QApplication::processEvents();
    ASSERT_NE(Col->GetFont(), nullptr);
    EXPECT_EQ(Col->GetFont()->Size(), 15);
    ASSERT_NE(Grid->GetRowFont(3), nullptr);
    EXPECT_EQ(Grid->GetRowFont(3)->Size(), 15);
}

TEST_F(GridWindowMessages, ResizeRaisesOnResizeOnce) {
    int Resized = 0;
    Grid->OnResize = [&](TObject*) { ++Resized; };
    Grid->SetBounds(0, 0, 380, 280);
    QApplication::processEvents();
    EXPECT_EQ(Resized, 1);
}

// A control hidden on request stays hidden when the grid gets the focus
// back; CheckHideControl answers whether it was shown.
TEST_F(GridWindowMessages, ControlHiddenOnRequestStaysHiddenOnSetFocus) {
    Grid->SetCurrentCell(1, 1);
    QApplication::processEvents();
    ASSERT_TRUE(EditorVisible());
    Grid->HideGridControl(false);
    EXPECT_FALSE(EditorVisible());
    EXPECT_FALSE(Grid->ControlDisplayed());
    Grid->Perform(WM_SETFOCUS);
    EXPECT_FALSE(EditorVisible());
    EXPECT_FALSE(Grid->CheckHideControl(false));
}

TEST_F(GridWindowMessages, ControlIsActiveOnlyForEditableCellsInEditModes) {
    Grid->SetCurrentCell(2, 2);
    QApplication::processEvents();
    EXPECT_TRUE(Grid->GridControlActive());
    EXPECT_TRUE(Grid->CanSetControl());
    Grid->SetCellReadOnly(2, 2, roOn);
    EXPECT_FALSE(Grid->GridControlActive());
    Grid->SetCellReadOnly(2, 2, roDefault);
    Grid->SetGridMode(gmBrowse);
    EXPECT_FALSE(Grid->GridControlActive());
    TDesignableGrid* G = DesignGrid();
    G->SetCurrentCell(1, 1);
    EXPECT_FALSE(G->CanSetControl());
}

TEST_F(GridWindowMessages, CurrentCellInViewFollowsScrolling) {
    Grid->SetGridRowCount(60);
    Grid->SetCurrentCell(1, 1);
    QApplication::processEvents();
    EXPECT_TRUE(Grid->CurrentCellInView());
    Grid->SetTopRow(30);
    EXPECT_FALSE(Grid->CurrentCellInView());
}

// Hiding a control that has the focus hands the focus to the grid.
TEST_F(GridWindowMessages, HidingTheFocusedControlFocusesTheGrid) {
    Grid->SetCurrentCell(2, 2);
    QApplication::processEvents();
    ASSERT_TRUE(EditorVisible());
    Grid->GridControl()->Control()->SetFocus();
    QApplication::processEvents();
    ASSERT_NE(QApplication::focusWidget(), Grid->Widget());
    Grid->HideGridControl(false);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), Grid->Widget());
}

TEST_F(GridWindowMessages, EnterAndExitRunInsideTheirCounters) {
    std::vector<bool> Seen;
    Grid->OnEnter = [&](TObject*) { Seen.push_back(Grid->InSetFocus()); };
    Grid->OnExit = [&](TObject*) { Seen.push_back(Grid->InDoExit()); };
    auto* Box = new TgxGrid(Form);
    Box->SetParent(Form);
    Box->SetBounds(430, 0, 100, 100);
    Box->SetFocus();
    QApplication::processEvents();
    Grid->SetFocus();
    QApplication::processEvents();
    ASSERT_GE(Seen.size(), 2u);
    for (bool B : Seen)
        EXPECT_TRUE(B);
    EXPECT_FALSE(Grid->InSetFocus());
    EXPECT_FALSE(Grid->InDoExit());
}

TEST_F(GridWindowMessages, InPlaceControlsTakeTheGridCursor) {
    Grid->SetCurrentCell(1, 1);
    QApplication::processEvents();
    Grid->SetCursor(crHandPoint);
    ASSERT_NE(Grid->GridControl(), nullptr);
    EXPECT_EQ(Grid->GridControl()->Control()->Cursor(), crHandPoint);
}

// After a scroll ends the control is shown again over the current cell.
TEST_F(GridWindowMessages, EndScrollShowsTheControlOverTheCurrentCell) {
    Grid->SetGridRowCount(60);
    Grid->SetCurrentCell(2, 5);
    QApplication::processEvents();
    ASSERT_TRUE(EditorVisible());
    Grid->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
    Grid->Perform(WM_VSCROLL, SB_ENDSCROLL, 0);
    QApplication::processEvents();
    EXPECT_EQ(Grid->TopRow(), 2);
    ASSERT_TRUE(EditorVisible());
    const TRect Cell = Grid->CellRect(2, 5);
    const TRect Box = Grid->GridControl()->Control()->BoundsRect();
    EXPECT_TRUE(Box.Top >= Cell.Top && Box.Top < Cell.Bottom)
        << Box.Top << " not in " << Cell.Top << ".." << Cell.Bottom;
}

// A program may give the grid default normal and combo buttons of its
// own; those keep their picture and size when the default button size
// changes, while the stock ones follow it.
TEST_F(GridWindowMessages, OwnDefaultButtonsKeepTheirSizeWhenTheDefaultSizeChanges) {
    TBitmap Face;
    Face.SetSize(7, 5);
    Grid->CreateDefaultButton(&Face, clRed, 15, 12);
    TgxCustomButton* Normal = Grid->GridCellButton(1, btNormal);
    ASSERT_NE(Normal, nullptr);
    EXPECT_FALSE(Normal->IsDefault());
    EXPECT_EQ(Normal->GetWidth(), 15);
    EXPECT_EQ(Normal->GetHeight(), 12);
    EXPECT_EQ(Normal->GetTransparentColor(), clRed);
    EXPECT_EQ(Normal->GetBitmap()->Width(), 7);

    Grid->CreateDefaultCombo(&Face, clBlue, 14, 11);
    TgxCustomButton* Combo = Grid->GridCellButton(1, btCombo);
    EXPECT_EQ(Combo->GetWidth(), 14);
    EXPECT_FALSE(Combo->IsDefault());

    Grid->SetDefaultButtonWidth(20);
    EXPECT_EQ(Grid->GridCellButton(1, btNormal)->GetWidth(), 15);
    EXPECT_EQ(Grid->GridCellButton(1, btCombo)->GetWidth(), 14);
    EXPECT_EQ(Grid->GridCellButton(1, btDateTimeDropDown)->GetWidth(), 20);

    // Dropped, the stock buttons come back at the grid's size.
    Grid->DestroyDefaultButton();
    Grid->DestroyDefaultCombo();
    EXPECT_TRUE(Grid->GridCellButton(1, btNormal)->IsDefault());
    EXPECT_EQ(Grid->GridCellButton(1, btNormal)->GetWidth(), 20);
    EXPECT_EQ(Grid->GridCellButton(1, btCombo)->GetWidth(), 20);
}

} // namespace
