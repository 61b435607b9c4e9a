// Spin button halves as drawn and as hit, heading buttons, and the plain
// in-place control over a cell.
#include "ShownGridPixels.h"
#include "grid/model/Columns.h"
#include "grid/model/ControlWrappers.h"
#include "grid/model/DrawData.h"
#include "grid/model/InplaceControl.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

using namespace grid;

namespace {

class SpinSplitTest : public ShownGridPixels {};

// Each row: the button type, the row height. The halves follow the cell's
// button rectangle; a cell too small for 3-pixel halves still gets them,
// clipped by the cell; the pointer finds the same part where it is drawn.
TEST_F(SpinSplitTest, HalvesFollowTheButtonAndThePointerHitsThemWhereDrawn) {
    struct Case {
        TgxButtonType Type;
        int RowHeight;
    };
    const Case Cases[] = {
        {btVertSpin, 24}, {btVertSpin, 7}, {btVertSpin, 5}, {btHorzSpin, 24}, {btHorzSpin, 6}};
    ShowFocused(4, 4);
    // Buttons react in an editing grid.
    Grid->SetGridMode(gmEdit);
    for (const Case& C : Cases) {
        SCOPED_TRACE(testing::Message() << int(C.Type) << " height " << C.RowHeight);
        Grid->SetCellButtonType(1, 1, C.Type);
        Grid->SetRowHeight(1, C.RowHeight);
        Settle();
        TgxDrawData D;
        Grid->GetDrawData(1, 1, D, true);
        ASSERT_TRUE(D.HasButton);
        const TRect B = D.ButtonRect;
        TRect Inc, Dec;
        ASSERT_TRUE(Grid->GetSpinRects(D, Inc, Dec));
        const int Lw = Grid->HorzLineWidth();
        if (C.Type == btVertSpin) {
            const int Half = std::max(3, (B.Bottom - (B.Top - Lw + 1)) / 2);
            EXPECT_EQ(Inc.Top, B.Top - Lw + 1);
            EXPECT_EQ(Dec.Top, Inc.Bottom);
            EXPECT_EQ(Inc.Left, std::min(B.Left + 1, B.Right));
            EXPECT_LE(Inc.Bottom - Inc.Top, Half);
            EXPECT_LE(Dec.Bottom, B.Bottom);
            if (Dec.Bottom < B.Bottom) EXPECT_EQ(Inc.Bottom - Inc.Top, Dec.Bottom - Dec.Top);
        } else {
            EXPECT_EQ(Inc.Right, B.Right);
            EXPECT_EQ(Dec.Right, Inc.Left);
            EXPECT_GE(Inc.Right - Inc.Left, 3);
            EXPECT_EQ(Inc.Right - Inc.Left, Dec.Right - Dec.Left);
        }
        for (const auto& [R, Part] : {std::pair{Inc, spbIncrement}, std::pair{Dec, spbDecrement}}) {
            if (R.Right <= R.Left || R.Bottom <= R.Top) continue;
            const int X = (R.Left + R.Right - 1) / 2, Y = (R.Top + R.Bottom - 1) / 2;
            ASSERT_TRUE(Grid->MouseOverButton(X, Y, 1, 1))
                << X << "," << Y << " button " << B.Left << "," << B.Top << "," << B.Right << ","
                << B.Bottom;
            EXPECT_EQ(Grid->SpinPartAt(X, Y, 1, 1), Part) << X << "," << Y;
        }
        Grid->SetCellButtonType(1, 1, btNone);
    }
}

TEST_F(SpinSplitTest, AnIdentifiedSpinButtonIsOnlyAVerticalOrHorizontalSpin) {
    for (const TgxButtonType T : {btNone, btCombo, btNormal, btDateTimeDropDown, btDateTimePopup})
        EXPECT_FALSE(TgxBaseGrid::IsSpinButton(T)) << int(T);
    EXPECT_TRUE(TgxBaseGrid::IsSpinButton(btVertSpin));
    EXPECT_TRUE(TgxBaseGrid::IsSpinButton(btHorzSpin));
}

class PlainControlTest : public ShownGridPixels {};

// A plain control laid over a cell shows the grid's pixels beneath it and
// keeps no colour of its own.
TEST_F(PlainControlTest, ShowsTheGridBeneathAndKeepsNoColour) {
    ShowFocused(4, 4);
    Grid->SetCellColor(1, 1, clRed);
    Settle();
    const TRect R = Grid->CellRect(1, 1);
    TgxDefaultGridControl Plain(Form);
    EXPECT_EQ(Plain.GetHandle(), HWND{});
    Plain.SetColor(clBlue);
    EXPECT_EQ(Plain.GetColor(), clNone);
    Plain.SetParent(Grid);
    Plain.SetLeft(R.Left + 2);
    Plain.SetTop(R.Top + 2);
    Plain.SetWidth(R.Right - R.Left - 6);
    Plain.SetHeight(R.Bottom - R.Top - 6);
    Plain.Show();
    Plain.Repaint();
    Settle();
    Shot();
    const TRect Inside{R.Left + 4, R.Top + 4, R.Right - 6, R.Bottom - 6};
    const int Total = (Inside.Right - Inside.Left) * (Inside.Bottom - Inside.Top);
    EXPECT_EQ(CountOf(Inside, clRed), Total);
}

class HeadingButtonTest : public ShownGridPixels {};

// A right-aligned heading puts its sort button at the left of the cell,
// any other at the right; the text gives the button its room.
TEST_F(HeadingButtonTest, TheSortButtonSitsOppositeARightAlignedText) {
    ShowFocused(4, 4);
    TgxCol* Col = Grid->GridCols()->Item(Grid->GetDataCol(1));
    Col->SetHeading("Amount");
    Col->SetHeadingButton(cbButton);
    Col->SetSortPicture(spUp);
    for (const TgxHorzAlignment A : {htaLeft, htaCenter, htaRight}) {
        SCOPED_TRACE(int(A));
        Col->SetHeadingHorzAlignment(A);
        Settle();
        TgxDrawData D;
        Grid->GetDrawData(1, 0, D, true);
        ASSERT_TRUE(D.HasButton);
        const TRect Cell = Grid->CellRect(1, 0);
        const TRect B = D.ButtonRect;
        EXPECT_EQ(B.Top, Cell.Top + 1);
        if (A == htaRight) {
            EXPECT_EQ(B.Left, D.InnerRect.Left);
            EXPECT_EQ(B.Right - B.Left, std::min<int>(Cell.Right - Cell.Left, 14));
            EXPECT_GE(D.TextRect.Left, B.Right - 2);
        } else {
            EXPECT_GE(B.Left, D.TextRect.Right);
            EXPECT_GE(B.Right, Cell.Right - 1);
            EXPECT_LE(B.Right, Cell.Right + 1);
        }
    }
}

// A heading with no text, no button and no sort picture shows only its
// background.
TEST_F(HeadingButtonTest, AnEmptyPlainHeadingShowsOnlyItsBackground) {
    ShowFocused(4, 4);
    Grid->SetHeading3D(false);
    Grid->SetHeadingColor(clYellow);
    TgxCol* Col = Grid->GridCols()->Item(Grid->GetDataCol(1));
    Col->SetHeading("");
    Col->SetHeadingButton(cbNone);
    Col->SetSortPicture(spNone);
    Settle();
    Shot();
    const TRect R = Grid->CellRect(1, 0);
    const TRect Inside{R.Left + 1, R.Top + 1, R.Right - 2, R.Bottom - 2};
    const int Total = (Inside.Right - Inside.Left) * (Inside.Bottom - Inside.Top);
    EXPECT_EQ(CountOf(Inside, clYellow), Total);
}

// The shared off-screen surface: a control takes a share of it the first
// time it paints, keeps that one share across paints and gives it back
// when it goes; nobody holds the surface between paints.
TEST_F(PlainControlTest, TakesOneShareOfTheSharedSurfaceUntilItGoes) {
    ShowFocused(4, 4);
    TgxMemoryCanvas& Surface = ControlMemoryCanvas();
    const int Before = Surface.UseCount();
    auto Plain = std::make_unique<TgxDefaultGridControl>(Form);
    Plain->SetParent(Grid);
    Plain->SetLeft(20);
    Plain->SetTop(20);
    Plain->SetWidth(30);
    Plain->SetHeight(12);
    Plain->Show();
    for (const int Width : {30, 90}) {
        Plain->SetWidth(Width);
        Plain->Repaint();
        Settle();
        EXPECT_EQ(Surface.UseCount(), Before + 1);
        EXPECT_GE(Surface.Width(), Width);
        EXPECT_FALSE(Surface.Locked(nullptr));
    }
    Plain.reset();
    EXPECT_EQ(Surface.UseCount(), Before);
}

// Each row: key edit allowed, by key, OnEdit cancels, OnCanChange cancels,
// the answer and whether each handler was asked.
TEST_F(PlainControlTest, EditChecksAskTheOwnerInTurn) {
    struct Case {
        bool KeyEdit, ByKey, EditCancels, ChangeCancels, Allowed, EditAsked, ChangeAsked;
    };
    const Case Cases[] = {
        {true, true, false, false, true, true, true},
        {false, true, false, false, false, false, false},
        {false, false, false, false, true, true, true},
        {true, false, true, false, false, true, false},
        {true, false, false, true, false, true, true},
    };
    ShowFocused(2, 2);
    TgxDefaultGridControl Plain(Form);
    TgxGridControl* C = Plain.Control();
    for (const Case& K : Cases) {
        bool EditAsked = false, ChangeAsked = false, ChangeEditing = false;
        C->SetKeyEdit(K.KeyEdit);
        C->OnEdit = [&](TObject*, bool& Cancel) {
            EditAsked = true;
            Cancel = K.EditCancels;
        };
        C->OnCanChange = [&](TObject*, bool Editing, bool& Cancel) {
            ChangeAsked = true;
            ChangeEditing = Editing;
            Cancel = K.ChangeCancels;
        };
        EXPECT_EQ(C->CheckCanEdit(K.ByKey), K.Allowed);
        EXPECT_EQ(EditAsked, K.EditAsked);
        EXPECT_EQ(ChangeAsked, K.ChangeAsked);
        if (ChangeAsked) EXPECT_TRUE(ChangeEditing);
    }
    C->OnEdit = nullptr;
    C->OnCanChange = nullptr;
    EXPECT_TRUE(C->CheckCanEdit(true));
    EXPECT_TRUE(C->CheckCanChange(false));
    EXPECT_FALSE(C->WantKey(VK_ESCAPE));
    C->OnWantKey = [](TObject*, Word Key, bool& Want) { Want = Key == VK_ESCAPE; };
    EXPECT_TRUE(C->WantKey(VK_ESCAPE));
    EXPECT_FALSE(C->WantKey(VK_RETURN));
}

// Two presses at one point on a shown in-place control: the edit box makes
// the second a double click, the check box (no emulation) counts two
// presses.
TEST_F(PlainControlTest, TwoPressesAtOnePointMakeADoubleClickOnlyWhereEmulated) {
    ShowFocused(3, 3);
    TgxEditGridControl Edit(Form);
    TgxCheckGridControl Check(Form);
    struct Row {
        TgxCustomGridControl* W;
        int Downs, Doubles;
    };
    for (const Row& R : {Row{&Edit, 1, 1}, Row{&Check, 2, 0}}) {
        int Downs = 0, Doubles = 0;
        R.W->SetParent(Grid);
        R.W->SetLeft(10);
        R.W->SetTop(30);
        R.W->SetWidth(60);
        R.W->SetHeight(16);
        // The framework reports a double click as a press marked double.
        R.W->SetMouseDown([&](TObject*, TMouseButton, TShiftState Shift, int, int) {
            Downs += !Shift.Contains(ssDouble);
        });
        R.W->SetDblClick([&](TObject*) { ++Doubles; });
        R.W->Show();
        Settle();
        QWidget* W = R.W->Control()->Widget();
        for (int I = 0; I < 2; ++I)
            ClickAt(W, QPoint(8, 8));
        Settle();
        EXPECT_EQ(Downs, R.Downs) << R.W->Control()->ClassName().c_str();
        EXPECT_EQ(Doubles, R.Doubles) << R.W->Control()->ClassName().c_str();
        R.W->Hide();
    }
}

// Each row a sequence of presses on a fresh shown edit box: a real press,
// a press the grid sends (no button held), a system double click that
// comes unexpected, or a move of the control between presses.
TEST_F(PlainControlTest, OnlyTwoRealPressesInPlaceBecomeADoubleClick) {
    enum Step { Real, Sent, SystemDouble, Moved };
    struct Case {
        const char* Name;
        std::vector<Step> Steps;
        int Downs, Doubles;
    };
    const Case Cases[] = {
        {"two real", {Real, Real}, 1, 1},
        {"moved between", {Real, Moved, Real}, 2, 0},
        {"sent then real", {Sent, Real}, 2, 0},
        {"unexpected system double", {SystemDouble}, 1, 0},
    };
    ShowFocused(3, 3);
    const QPoint P(8, 8);
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        TgxEditGridControl Edit(Form);
        int Downs = 0, Doubles = 0;
        Edit.SetParent(Grid);
        Edit.SetLeft(10);
        Edit.SetTop(30);
        Edit.SetWidth(60);
        Edit.SetHeight(16);
        Edit.SetMouseDown([&](TObject*, TMouseButton, TShiftState Shift, int, int) {
            Downs += !Shift.Contains(ssDouble);
        });
        Edit.SetDblClick([&](TObject*) { ++Doubles; });
        Edit.Show();
        Settle();
        TgxGridControl* Ctl = Edit.Control();
        for (const Step S : C.Steps) {
            switch (S) {
            case Real:
                ClickAt(Ctl->Widget(), P);
                break;
            case Sent:
                Ctl->Perform(WM_LBUTTONDOWN, 0, PointToLParam(P.x(), P.y()));
                break;
            case SystemDouble:
                Ctl->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, PointToLParam(P.x(), P.y()));
                break;
            case Moved:
                Edit.SetLeft(Edit.GetLeft() + 5);
                Settle();
                break;
            }
        }
        Settle();
        EXPECT_EQ(Downs, C.Downs);
        EXPECT_EQ(Doubles, C.Doubles);
        // Release a capture a sent press may have left.
        Ctl->Perform(WM_LBUTTONUP, 0, PointToLParam(P.x(), P.y()));
    }
}

// The edit box asks for arrows and characters always, and for Tab while
// it wants tabs.
TEST_F(PlainControlTest, DialogCodeAsksForArrowsCharactersAndTabWhenWanted) {
    ShowFocused(2, 2);
    TgxEditGridControl Edit(Form);
    Edit.SetParent(Grid);
    for (const bool Tabs : {true, false}) {
        Edit.SetWantTabs(Tabs);
        const LRESULT Code = Edit.Control()->Perform(WM_GETDLGCODE);
        EXPECT_EQ(Code & DLGC_WANTARROWS, DLGC_WANTARROWS);
        EXPECT_EQ(Code & DLGC_WANTCHARS, DLGC_WANTCHARS);
        EXPECT_EQ((Code & DLGC_WANTTAB) != 0, Tabs);
    }
}

class ButtonPictureTest : public ShownGridPixels {
protected:
    int DarkIn(const TRect& R) {
        int N = 0;
        for (const TColor P : Pixels(R)) {
            const unsigned V = static_cast<unsigned>(P);
            N += (V & 0xFF) < 0x40 && (V >> 8 & 0xFF) < 0x40 && (V >> 16 & 0xFF) < 0x40;
        }
        return N;
    }
};

// Each row: the inactive look, whether the cell is the current cell of an
// editing grid, whether it is read-only, and whether its arrow shows.
TEST_F(ButtonPictureTest, WithoutInactiveLookOnlyTheEditableCurrentCellShowsItsArrow) {
    struct Case {
        TgxInactiveButtonState State;
        bool Current, ReadOnly, Shows;
    };
    const Case Cases[] = {
        {ibsBackGround, false, false, true}, {ibsPicture, false, false, true},
        {ibsNone, false, false, false},      {ibsNone, true, false, true},
        {ibsNone, true, true, false},
    };
    ShowFocused(4, 5);
    for (int R = 1; R <= 3; ++R)
        Grid->SetCellButtonType(1, R, btCombo);
    for (const Case& C : Cases) {
        SCOPED_TRACE(testing::Message() << int(C.State) << C.Current << C.ReadOnly);
        Grid->SetGridMode(gmBrowse);
        Grid->SetInactiveButtonState(C.State);
        Grid->SetCellReadOnly(1, 1, C.ReadOnly ? roOn : roOff);
        Grid->SetCol(C.Current ? 1 : 2);
        Grid->SetRow(1);
        Grid->SetGridMode(gmEdit);
        Grid->Invalidate();
        Settle();
        Shot();
        TgxDrawData D;
        Grid->GetDrawData(1, 1, D, true);
        ASSERT_TRUE(D.HasButton);
        // Inside the focus frame's dots.
        const TRect B = D.ButtonRect;
        EXPECT_EQ(DarkIn(TRect{B.Left + 2, B.Top + 2, B.Right - 2, B.Bottom - 2}) > 0, C.Shows);
    }
}

// Pressing one half of a spin button draws that half pressed and leaves
// the other as it was, also in a cell too low for whole halves.
TEST_F(SpinSplitTest, APressDrawsTheHalfUnderThePointerPressed) {
    struct Case {
        TgxButtonType Type;
        int RowHeight;
        bool Upper;
    };
    const Case Cases[] = {{btVertSpin, 24, true},
                          {btVertSpin, 24, false},
                          {btVertSpin, 9, false},
                          {btHorzSpin, 20, true},
                          {btHorzSpin, 20, false}};
    ShowFocused(4, 4);
    Grid->SetGridMode(gmEdit);
    QWidget* W = Grid->Widget();
    const int F = Grid->WindowFrameWidth();
    for (const Case& C : Cases) {
        SCOPED_TRACE(testing::Message() << int(C.Type) << " " << C.RowHeight << C.Upper);
        Grid->SetCellButtonType(1, 1, C.Type);
        Grid->SetRowHeight(1, C.RowHeight);
        Grid->Invalidate();
        Settle();
        TgxDrawData D;
        Grid->GetDrawData(1, 1, D, true);
        TRect Inc, Dec;
        ASSERT_TRUE(Grid->GetSpinRects(D, Inc, Dec));
        const TRect Hit = C.Upper ? Inc : Dec, Other = C.Upper ? Dec : Inc;
        Shot();
        const auto HitBefore = Pixels(Hit), OtherBefore = Pixels(Other);
        const QPoint P((Hit.Left + Hit.Right - 1) / 2 + F, (Hit.Top + Hit.Bottom - 1) / 2 + F);
        SendMouse(W, QEvent::MouseButtonPress, P);
        Settle();
        Shot();
        EXPECT_EQ(Grid->PressedSpinPart(), C.Upper ? spbIncrement : spbDecrement);
        EXPECT_NE(Pixels(Hit), HitBefore);
        EXPECT_EQ(Pixels(Other), OtherBefore);
        SendMouse(W, QEvent::MouseButtonRelease, P);
        Grid->ResetSpinTimer();
        Settle();
        Grid->SetCellButtonType(1, 1, btNone);
    }
}

// The heading's button box is raised (white top line) until the mouse
// holds it down, then pressed (black top line), for either side.
TEST_F(HeadingButtonTest, HoldingTheHeadingButtonDrawsItPressed) {
    ShowFocused(4, 4);
    TgxCol* Col = Grid->GridCols()->Item(Grid->GetDataCol(1));
    Col->SetHeading("Amount");
    Col->SetHeadingButton(cbButton);
    Col->SetSortPicture(spDown);
    QWidget* W = Grid->Widget();
    const int F = Grid->WindowFrameWidth();
    for (const TgxHorzAlignment A : {htaLeft, htaRight}) {
        SCOPED_TRACE(int(A));
        Col->SetHeadingHorzAlignment(A);
        Grid->Invalidate();
        Settle();
        TgxDrawData D;
        Grid->GetDrawData(1, 0, D, true);
        ASSERT_TRUE(D.HasButton);
        const TRect B = D.ButtonRect;
        const TRect TopLine{B.Left + 2, B.Top, B.Left + 10, B.Top + 1};
        Shot();
        EXPECT_GT(CountOf(TopLine, clWhite), 0);
        const QPoint P((B.Left + B.Right) / 2 + F, (B.Top + B.Bottom) / 2 + F);
        SendMouse(W, QEvent::MouseButtonPress, P);
        Settle();
        Shot();
        EXPECT_EQ(CountOf(TopLine, clWhite), 0);
        EXPECT_GT(CountOf(TopLine, clBlack), 0);
        SendMouse(W, QEvent::MouseButtonRelease, P);
        Settle();
    }
}

// Focusing an in-place control leaves the grid the form's active control;
// losing the focus tells the owner once.
TEST_F(PlainControlTest, FocusStaysTheGridsAndItsLossIsReported) {
    ShowFocused(3, 3);
    TgxEditGridControl Edit(Form);
    Edit.SetGrid(Grid);
    Edit.SetParent(Grid);
    Edit.SetLeft(10);
    Edit.SetTop(30);
    Edit.SetWidth(60);
    Edit.SetHeight(16);
    int Lost = 0;
    Edit.SetKillFocus([&](TObject*) { ++Lost; });
    Edit.Show();
    Settle();
    Edit.SetFocus();
    Settle();
    EXPECT_TRUE(Edit.Focused());
    EXPECT_EQ(Form->ActiveControl(), Grid);
    Grid->SetFocus();
    Settle();
    EXPECT_FALSE(Edit.Focused());
    EXPECT_EQ(Lost, 1);
}

// With flat buttons, the button under the mouse is redrawn raised at once;
// the button of the next cell keeps its flat look.
TEST_F(ButtonPictureTest, TheHoveredFlatButtonAloneIsDrawnRaised) {
    ShowFocused(4, 5);
    Grid->SetFlatButtons(true);
    for (int R = 1; R <= 2; ++R)
        Grid->SetCellButtonType(1, R, btCombo);
    Grid->SetGridMode(gmEdit);
    Grid->Invalidate();
    Settle();
    TgxDrawData Hot, Next;
    Grid->GetDrawData(1, 1, Hot, true);
    Grid->GetDrawData(1, 2, Next, true);
    Shot();
    const auto HotBefore = Pixels(Hot.ButtonRect), NextBefore = Pixels(Next.ButtonRect);
    const int F = Grid->WindowFrameWidth();
    const TRect B = Hot.ButtonRect;
    SendMouse(Grid->Widget(), QEvent::MouseMove,
              QPoint((B.Left + B.Right) / 2 + F, (B.Top + B.Bottom) / 2 + F), Qt::NoButton);
    QApplication::processEvents();
    Shot();
    EXPECT_NE(Pixels(Hot.ButtonRect), HotBefore);
    EXPECT_EQ(Pixels(Next.ButtonRect), NextBefore);
}

// A heading held down by the mouse moves its text one pixel right and
// down, as a pressed button does.
TEST_F(HeadingButtonTest, AHeldHeadingMovesItsTextOnePixel) {
    ShowFocused(4, 4);
    Grid->SetHeadingButton(hbCell);
    TgxCol* Col = Grid->GridCols()->Item(Grid->GetDataCol(1));
    Col->SetHeading("Amount");
    Settle();
    TgxDrawData Before;
    Grid->GetDrawData(1, 0, Before, true);
    const int F = Grid->WindowFrameWidth();
    const TRect Cell = Grid->CellRect(1, 0);
    const QPoint P((Cell.Left + Cell.Right) / 2 + F, (Cell.Top + Cell.Bottom) / 2 + F);
    SendMouse(Grid->Widget(), QEvent::MouseButtonPress, P);
    Settle();
    ASSERT_TRUE(Grid->HeadingHeld(Grid->GetDataCol(1)));
    TgxDrawData Held;
    Grid->GetDrawData(1, 0, Held, true);
    EXPECT_EQ(Held.TextRect.Left, Before.TextRect.Left + 1);
    EXPECT_EQ(Held.TextRect.Top, Before.TextRect.Top + 1);
    SendMouse(Grid->Widget(), QEvent::MouseButtonRelease, P);
    Settle();
}

} // namespace
