// Cell buttons on a shown grid: where the button of a cell is, when it
// reacts, its idle colour, the hover and pressed states, and the held spin
// button's repeats on the timer seam.
#include "ShownGridFixture.h"

#include "grid/model/CellButtons.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/view/DropDownForm.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/TimerService.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

using namespace grid;

namespace {

class CellButtonReadingTest : public ShownGridFixture {
protected:
    void SetUp() override { Timers = std::make_unique<ScopedTimerService>(Fake); }
    void TearDown() override {
        ShownGridFixture::TearDown();
        Timers.reset();
    }
    // A 4 x 4 grid whose column 2 carries Type; the grid takes the focus.
    void ShowWithButtons(TgxButtonType Type) {
        ShowGrid(4, 4);
        Grid->GetCol(Variant(2))->SetButtonType(Type);
        Grid->SetFocus();
    }
    void Mouse(QEvent::Type Kind, TPoint P, Qt::MouseButton Button, Qt::MouseButtons Held) {
        QWidget* W = Grid->ClientWidget();
        const QPointF At(P.X, P.Y);
        QMouseEvent E(Kind, At, W->mapToGlobal(At), Button, Held, Qt::NoModifier);
        QApplication::sendEvent(W, &E);
    }
    void Press(TPoint P) { Mouse(QEvent::MouseButtonPress, P, Qt::LeftButton, Qt::LeftButton); }
    void Release(TPoint P) { Mouse(QEvent::MouseButtonRelease, P, Qt::LeftButton, Qt::NoButton); }
    // The full cell box of a display cell and its button's width and height.
    TRect CellBox(int Col, int Row) const {
        const TRect R = Grid->CellRect(Col, Row);
        return TRect{R.Left, R.Top, R.Left + Grid->ColWidths(Col) - Grid->VertLineWidth(),
                     R.Top + Grid->RowHeights(Row) - Grid->HorzLineWidth()};
    }
    TgxCustomButton* Button(int Col, TgxButtonType Type) {
        return Grid->GridCellButton(Col, Type);
    }
    // A point in the upper (increment) and lower half of a vertical spin.
    TPoint SpinPoint(int Col, int Row, bool Upper) {
        const TRect Box = CellBox(Col, Row);
        const int Bottom = std::min(Box.Bottom, Box.Top + Button(Col, btVertSpin)->FullHeight());
        return TPoint{Box.Right - 2, Upper ? Box.Top + 1 : Bottom - 1};
    }
    static void SetCursorPos(TgxBaseGrid* Grid, TPoint Client) {
        ::Mouse->SetCursorPos(Grid->ClientToScreen(Client));
    }

    FakeTimerService Fake;
    std::unique_ptr<ScopedTimerService> Timers;
};

TEST_F(CellButtonReadingTest, TheButtonSitsAtTheCellsTopRightAndNeverNearerTheLeftThanThree) {
    ShowWithButtons(btNormal);
    for (int Width : {80, 12, 4}) {
        SCOPED_TRACE(Width);
        Grid->GetCol(Variant(2))->SetWidth(Width);
        const TRect Box = CellBox(2, 2);
        TgxCustomButton* B = Button(2, btNormal);
        const int Left = std::max(Box.Left + 3, Box.Right - B->FullWidth());
        const int Bottom = std::min(Box.Bottom, Box.Top + B->FullHeight());
        struct Probe {
            int X, Y;
            bool Over;
        };
        const Probe Probes[] = {{Left, Box.Top, false},      {Left + 1, Box.Top, true},
                                {Box.Right, Bottom, true},   {Box.Right + 1, Box.Top, false},
                                {Box.Right, Bottom + 1, false}, {Box.Right, Box.Top - 1, false}};
        for (const Probe& P : Probes)
            EXPECT_EQ(Grid->MouseOverButton(P.X, P.Y, 2, 2), P.Over && Left < Box.Right)
                << P.X << "," << P.Y;
    }
}

TEST_F(CellButtonReadingTest, AButtonReactsOnlyWhereItMay) {
    ShowWithButtons(btCombo);
    const TRect Box = CellBox(2, 2);
    const int X = Box.Right - 1, Y = Box.Top + 1;
    EXPECT_TRUE(Grid->ValidButton(X, Y, 2, 2, btCombo));
    EXPECT_FALSE(Grid->ValidButton(X, Y, 2, 2, btNone));
    EXPECT_FALSE(Grid->ValidButton(X, Y, 0, 2, btCombo));
    EXPECT_FALSE(Grid->ValidButton(X, Y, 2, 0, btCombo));
    EXPECT_FALSE(Grid->ValidButton(Grid->ClientWidth() + 1, Y, 2, 2, btCombo));
    EXPECT_FALSE(Grid->ValidButton(X, Grid->ClientHeight() + 1, 2, 2, btCombo));
    Grid->GetCol(Variant(2))->SetReadOnly(true);
    EXPECT_FALSE(Grid->ValidButton(X, Y, 2, 2, btCombo));
    Grid->GetCol(Variant(2))->SetReadOnly(false);
    Grid->SetGridMode(TgxGridMode::gmBrowse);
    EXPECT_FALSE(Grid->ValidButton(X, Y, 2, 2, btCombo));
    EXPECT_FALSE(Grid->MouseOverButton(X, Y, 2, 2));
    Grid->SetAlwaysDetectButton(true);
    EXPECT_TRUE(Grid->ValidButton(X, Y, 2, 2, btCombo));
    EXPECT_TRUE(Grid->MouseOverButton(X, Y, 2, 2));
    Grid->SetGridMode(TgxGridMode::gmEditInsert);
    Grid->SetAlwaysDetectButton(false);
    EXPECT_TRUE(Grid->ValidButton(X, Y, 2, 2, btCombo));
}

TEST_F(CellButtonReadingTest, ADropDownListShowsItsButtonPressedFromAnywhereInTheCell) {
    ShowWithButtons(btCombo);
    const TRect Box = CellBox(2, 2);
    const int X = Box.Left + 2, Y = Box.Top + 2;
    EXPECT_FALSE(Grid->DrawButtonDown(X, Y, 2, 2));
    EXPECT_TRUE(Grid->DrawButtonDown(Box.Right - 1, Box.Top + 1, 2, 2));
    Grid->GetCol(Variant(2))->SetDropDownStyle(ddDropDownList);
    EXPECT_TRUE(Grid->DrawButtonDown(X, Y, 2, 2));
    EXPECT_FALSE(Grid->DrawButtonDown(X, Y, 0, 2));
    Grid->SetGridMode(TgxGridMode::gmBrowse);
    EXPECT_FALSE(Grid->DrawButtonDown(X, Y, 2, 2));
}

TEST_F(CellButtonReadingTest, AnIdleButtonsColourFollowsTheInactiveState) {
    ShowWithButtons(btNormal);
    Grid->SetCurrentCell(2, 2);
    EXPECT_EQ(Grid->InactiveButtonState(), ibsBackGround);
    EXPECT_EQ(Grid->ButtonColor(2, 3), clBtnFace);
    EXPECT_EQ(Grid->ButtonColor(2, 2), clBtnFace);
    Grid->SetInactiveButtonState(ibsPicture);
    EXPECT_EQ(Grid->ButtonColor(2, 3), clNone);
    EXPECT_EQ(Grid->ButtonColor(2, 2), clBtnFace);
    Grid->GetCol(Variant(2))->SetReadOnly(true);
    EXPECT_EQ(Grid->ButtonColor(2, 2), clNone);
}

TEST_F(CellButtonReadingTest, TheHoverTimerLetsGoOfAButtonTheMouseLeft) {
    ShowWithButtons(btNormal);
    const TRect Box = CellBox(2, 2);
    const TPoint Over{Box.Right - 1, Box.Top + 1};
    SetCursorPos(Grid, Over);
    Mouse(QEvent::MouseMove, Over, Qt::NoButton, Qt::NoButton);
    ASSERT_EQ(Grid->HotButtonCol(), 2);
    ASSERT_EQ(Grid->HotButtonRow(), 2);
    EXPECT_NE(Grid->ButtonTimerHandle(), 0U);
    Fake.Advance(50);
    EXPECT_EQ(Grid->HotButtonCol(), 2); // still over it
    const TPoint Away{Box.Left + 2, Box.Top + 2};
    SetCursorPos(Grid, Away);
    Fake.Advance(50);
    EXPECT_EQ(Grid->HotButtonCol(), -1);
    EXPECT_EQ(Grid->HotButtonRow(), -1);
    EXPECT_EQ(Grid->ButtonTimerHandle(), 0U);
}

TEST_F(CellButtonReadingTest, AHeldSpinButtonRepeatsFirstAfterTheStartDelayThenAtTheRepeatDelay) {
    ShowWithButtons(btVertSpin);
    Grid->SetCurrentCell(2, 2);
    std::vector<std::pair<std::int64_t, int>> Repeats;
    std::vector<TgxSpinButton> Parts;
    Grid->OnSpinRepeat = [&](TObject*, int DataCol, const Variant& DataRow, int Count,
                             TgxSpinButton Part) {
        EXPECT_EQ(DataCol, 2);
        EXPECT_EQ(static_cast<int>(DataRow), 2);
        Repeats.emplace_back(Fake.Elapsed(), Count);
        Parts.push_back(Part);
    };
    const TPoint Up = SpinPoint(2, 2, true);
    SetCursorPos(Grid, Up);
    const std::int64_t Start = Fake.Elapsed();
    Press(Up);
    ASSERT_EQ(Grid->PressedButtonCol(), 2);
    EXPECT_EQ(Grid->PressedSpinPart(), spbIncrement);
    EXPECT_EQ(Grid->MouseStatus(), TgxMouseStatus::msButtonDown);
    // The press itself takes the first step; the timer repeats it.
    ASSERT_EQ(Repeats.size(), 1U);
    EXPECT_EQ(Repeats[0], std::make_pair(Start, 1));
    Fake.Advance(499);
    EXPECT_EQ(Repeats.size(), 1U);
    Fake.Advance(1);
    Fake.Advance(80 * 2);
    ASSERT_EQ(Repeats.size(), 4U);
    EXPECT_EQ(Repeats[1], std::make_pair(Start + 500, 2));
    EXPECT_EQ(Repeats[2], std::make_pair(Start + 580, 3));
    EXPECT_EQ(Repeats[3], std::make_pair(Start + 660, 4));
    EXPECT_EQ(Parts, std::vector<TgxSpinButton>(4, spbIncrement));
    Release(Up);
    EXPECT_EQ(Grid->PressedButtonCol(), -1);
    EXPECT_EQ(Grid->SpinRepeatCount(), 0);
    EXPECT_EQ(Grid->SpinTimerHandle(), 0U);
    Fake.Advance(500);
    EXPECT_EQ(Repeats.size(), 4U);
}

TEST_F(CellButtonReadingTest, LosingTheFocusStopsTheRepeatsAtTheNextTick) {
    ShowWithButtons(btVertSpin);
    auto* Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(420, 10, 80, 20);
    Grid->SetCurrentCell(2, 2);
    int Repeats = 0;
    Grid->OnSpinRepeat = [&](TObject*, int, const Variant&, int, TgxSpinButton) { ++Repeats; };
    const TPoint Down = SpinPoint(2, 2, false);
    SetCursorPos(Grid, Down);
    Press(Down);
    ASSERT_EQ(Grid->PressedSpinPart(), spbDecrement);
    Fake.Advance(500);
    EXPECT_EQ(Repeats, 2);
    Other->SetFocus();
    Fake.Advance(80);
    EXPECT_EQ(Repeats, 2);
    EXPECT_EQ(Grid->PressedButtonCol(), -1);
    EXPECT_EQ(Grid->PressedSpinPart(), spbNone);
    EXPECT_EQ(Grid->SpinTimerHandle(), 0U);
    Fake.Advance(500);
    EXPECT_EQ(Repeats, 2);
}

TEST_F(CellButtonReadingTest, ARepeatThatFailsReleasesTheButtonAndPassesTheErrorOn) {
    ShowWithButtons(btVertSpin);
    Grid->SetCurrentCell(2, 2);
    Grid->OnSpinRepeat = [&](TObject*, int, const Variant&, int Count, TgxSpinButton) {
        if (Count > 1) throw Exception("spin refused");
    };
    const TPoint Up = SpinPoint(2, 2, true);
    SetCursorPos(Grid, Up);
    Press(Up);
    ASSERT_EQ(Grid->PressedButtonCol(), 2);
    // The error reaches the application's exception display, as any error
    // out of a timer's work does.
    AnsiString Shown;
    const TExceptionEvent Before = Application->OnException;
    Application->OnException = [&](TObject*, const Exception& E) { Shown = E.Message; };
    Fake.Advance(500);
    Application->OnException = Before;
    EXPECT_EQ(Shown, "spin refused");
    EXPECT_EQ(Grid->PressedButtonCol(), -1);
    EXPECT_EQ(Grid->PressedSpinPart(), spbNone);
    EXPECT_EQ(Grid->SpinRepeatCount(), 0);
    EXPECT_EQ(Grid->SpinTimerHandle(), 0U);
}

TEST_F(CellButtonReadingTest, ShrinkingTheGridForgetsButtonsThatAreGone) {
    ShowGrid(6, 6);
    Grid->GetCol(Variant(5))->SetButtonType(btNormal);
    const TRect Box = CellBox(5, 5);
    const TPoint Over{Box.Right - 1, Box.Top + 1};
    SetCursorPos(Grid, Over);
    Mouse(QEvent::MouseMove, Over, Qt::NoButton, Qt::NoButton);
    ASSERT_EQ(Grid->HotButtonCol(), 5);
    Grid->SetGridRowCount(3);
    EXPECT_EQ(Grid->HotButtonCol(), -1);
    EXPECT_EQ(Grid->HotButtonRow(), -1);
}

TEST_F(CellButtonReadingTest, ButtonSizeSettingsChangeWhereTheButtonIs) {
    ShowWithButtons(btNormal);
    EXPECT_EQ(Grid->ButtonEdgeWidth(), 2);
    EXPECT_EQ(Grid->DefaultButtonWidth(), 11);
    EXPECT_EQ(Grid->DefaultButtonHeight(), 9);
    EXPECT_EQ(Grid->SpinButtonWidth(), 11);
    EXPECT_EQ(Grid->SpinButtonHeight(), 9);
    EXPECT_EQ(Grid->SpinStartDelay(), 500);
    EXPECT_EQ(Grid->SpinRepeatDelay(), 80);
    EXPECT_FALSE(Grid->AlwaysDetectButton());
    EXPECT_TRUE(Grid->ReadOnlyButton());
    const int Full = Button(2, btNormal)->FullWidth();
    Grid->SetDefaultButtonWidth(21);
    EXPECT_EQ(Button(2, btNormal)->FullWidth(), Full + 10);
    const int SpinFull = Button(2, btVertSpin)->FullHeight();
    Grid->SetSpinButtonHeight(14);
    EXPECT_EQ(Button(2, btVertSpin)->FullHeight(), SpinFull + 10);
    const TRect Box = CellBox(2, 2);
    EXPECT_TRUE(Grid->MouseOverButton(Box.Right - Full - 5, Box.Top + 1, 2, 2));
}

TEST_F(CellButtonReadingTest, ButtonsUnderAnOpenListDoNotReact) {
    ShowWithButtons(btCombo);
    Grid->GetCombo()->GetGrid()->SetGridRowCount(8);
    const TRect Box = CellBox(2, 1);
    EXPECT_FALSE(Grid->MouseOverCombo(Box.Right - 1, Box.Top + 1));
    const TPoint On{Box.Right - 1, Box.Top + 1};
    Press(On);
    Release(On);
    ASSERT_TRUE(Grid->DropDownVisible());
    const TRect List = Grid->GetComboForm()->BoundsRect();
    const TPoint Inside = Grid->ScreenToClient(TPoint{List.Left + 2, List.Top + 2});
    EXPECT_TRUE(Grid->MouseOverCombo(Inside.X, Inside.Y));
    const TPoint Edge = Grid->ScreenToClient(TPoint{List.Left, List.Top});
    EXPECT_FALSE(Grid->MouseOverCombo(Edge.X, Edge.Y)); // the top edge is not the list's
    const TPoint Below = Grid->ScreenToClient(TPoint{List.Left + 2, List.Bottom + 1});
    EXPECT_FALSE(Grid->MouseOverCombo(Below.X, Below.Y));
    // A cell button the list covers is no button.
    int C = -1, R = -1;
    if (Inside.X < Grid->ClientWidth() && Inside.Y < Grid->ClientHeight() &&
        Grid->CellFromXY(Inside.X, Inside.Y, C, R) && C > 0 && R > 0)
        EXPECT_FALSE(Grid->ValidButton(Inside.X, Inside.Y, C, R, btCombo));
}

TEST_F(CellButtonReadingTest, AButtonTheMouseLeftIsDrawnFlatAgain) {
    ShowWithButtons(btNormal);
    Grid->SetCurrentCell(1, 1);
    const TRect Box = CellBox(2, 3);
    auto Shot = [&] {
        TBitmap B;
        B.SetSize(Grid->Width(), Grid->Height());
        Grid->PaintTo(B.Canvas());
        std::vector<TColor> Pixels;
        // The client area inside the control's frame.
        const TPoint Corner = Form->ClientToScreen(TPoint{Grid->Left(), Grid->Top()});
        const int DX = Grid->ClientOrigin().X - Corner.X;
        const int DY = Grid->ClientOrigin().Y - Corner.Y;
        for (int y = Box.Top; y < Box.Bottom; ++y)
            for (int x = Box.Left; x < Box.Right; ++x)
                Pixels.push_back(B.Canvas()->Pixels(x + DX, y + DY));
        return Pixels;
    };
    const auto Flat = Shot();
    const TPoint Over{Box.Right - 1, Box.Top + 1};
    SetCursorPos(Grid, Over);
    Mouse(QEvent::MouseMove, Over, Qt::NoButton, Qt::NoButton);
    ASSERT_EQ(Grid->HotButtonCol(), 2);
    EXPECT_NE(Shot(), Flat);
    SetCursorPos(Grid, TPoint{Box.Left + 1, Box.Bottom + 5});
    Fake.Advance(50);
    EXPECT_EQ(Grid->HotButtonCol(), -1);
    EXPECT_EQ(Shot(), Flat);
}

TEST_F(CellButtonReadingTest, ButtonLookSettingsRepaintTheGrid) {
    ShowWithButtons(btNormal);
    struct Case {
        const char* Name;
        std::function<void()> Set;
        bool Repaints;
    };
    const Case Cases[] = {
        {"inactive state", [&] { Grid->SetInactiveButtonState(ibsPicture); }, true},
        {"same inactive state", [&] { Grid->SetInactiveButtonState(ibsPicture); }, false},
        {"edge width", [&] { Grid->SetButtonEdgeWidth(3); }, true},
        {"same edge width", [&] { Grid->SetButtonEdgeWidth(3); }, false},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->Update();
        TRect Pending;
        ASSERT_FALSE(Grid->UpdateAreaBounds(Pending));
        C.Set();
        const bool Any = Grid->UpdateAreaBounds(Pending);
        EXPECT_EQ(Any, C.Repaints);
        if (C.Repaints) {
            EXPECT_LE(Pending.Left, 0);
            EXPECT_LE(Pending.Top, 0);
            EXPECT_GE(Pending.Right, Grid->ClientWidth());
            EXPECT_GE(Pending.Bottom, Grid->ClientHeight());
        }
    }
    EXPECT_EQ(Grid->InactiveButtonState(), ibsPicture);
    EXPECT_EQ(Grid->ButtonEdgeWidth(), 3);
}

TEST_F(CellButtonReadingTest, TheRepeatsGoOnWhileTheCellsEditorHasTheFocus) {
    ShowWithButtons(btVertSpin);
    Grid->SetAlwaysShowEditor(true);
    Grid->SetCurrentCell(2, 2);
    int Repeats = 0;
    Grid->OnSpinRepeat = [&](TObject*, int, const Variant&, int, TgxSpinButton) { ++Repeats; };
    const TPoint Up = SpinPoint(2, 2, true);
    SetCursorPos(Grid, Up);
    Press(Up);
    ASSERT_EQ(Grid->PressedSpinPart(), spbIncrement);
    Fake.Advance(500 + 80);
    EXPECT_EQ(Repeats, 3);
    Release(Up);
}

TEST_F(CellButtonReadingTest, ACellCutByTheWindowEdgeKeepsItsButtonAtItsFullRightEdge) {
    ShowWithButtons(btNormal);
    Grid->GetCol(Variant(2))->SetWidth(Grid->ClientWidth());
    const TRect Shown = Grid->CellRect(2, 2);
    ASSERT_LT(Shown.Right, CellBox(2, 2).Right);
    // The visible right edge of the cut cell is not where its button is.
    EXPECT_FALSE(Grid->MouseOverButton(Shown.Right - 1, Shown.Top + 1, 2, 2));
    EXPECT_FALSE(Grid->MouseOverButton(Grid->ClientWidth() - 1, Shown.Top + 1, 2, 2));
}

} // namespace
