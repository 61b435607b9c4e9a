// Cell buttons under a real mouse: pressing makes the cell current and
// presses its button, a held button follows the mouse, a free mouse lights
// buttons up, and the release ends the press with the button events.
#include "ShownMouseFixture.h"

#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/view/DateTimeDropDownCalendar.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/TimerService.h"

#include <QTimer>

#include <string>
#include <vector>

using namespace grid;

namespace {

class CellButtonsMouse : public ShownMouseFixture {
protected:
    CellButtonsMouse() : Guard(Timers) {}
    // The cursor is the screen's: it goes back where it was.
    void TearDown() override {
        ShownMouseFixture::TearDown();
        Mouse->SetCursorPos(KeptCursor);
        QApplication::processEvents();
    }

    // Column 1 a combo, 2 a plain button, 3 a vertical spin, 4 a
    // date-time pop-up; the grid edits.
    void ShowButtons() {
        ShowFocused(5, 6);
        // The cursor waits away from the grid until a test puts it there.
        Mouse->SetCursorPos(TPoint{Form->Left() + Form->Width() + 50, Form->Top()});
        QApplication::processEvents();
        Grid->SetGridMode(gmEdit);
        Grid->GetCol(1)->SetButtonType(btCombo);
        Grid->GetCol(2)->SetButtonType(btNormal);
        Grid->GetCol(3)->SetButtonType(btVertSpin);
        Grid->GetCol(4)->SetButtonType(btDateTimePopup);
        Grid->OnButtonDown = [this](TObject*, int C, const Variant& R) { Log("down", C, R); };
        Grid->OnButtonUp = [this](TObject*, int C, const Variant& R) { Log("up", C, R); };
        Grid->OnButtonClick = [this](TObject*, int C, const Variant& R) { Log("click", C, R); };
        Grid->OnSpinButtonDown = [this](TObject*, int C, const Variant& R, TgxSpinButton S) {
            Log("spindown" + Part(S), C, R);
        };
        Grid->OnSpinButtonUp = [this](TObject*, int C, const Variant& R, TgxSpinButton S) {
            Log("spinup" + Part(S), C, R);
        };
        Grid->OnSpinButtonClick = [this](TObject*, int C, const Variant& R, TgxSpinButton S) {
            Log("spinclick" + Part(S), C, R);
        };
        Grid->OnSpinRepeat = [this](TObject*, int C, const Variant& R, int N, TgxSpinButton S) {
            Log("repeat" + std::to_string(N) + Part(S), C, R);
        };
    }
    static std::string Part(TgxSpinButton S) {
        return S == spbIncrement ? "+" : S == spbDecrement ? "-" : "";
    }
    // The release where the cursor is, as a real release: the grid looks
    // at the cursor afterwards for the button under it.
    void ReleaseHere(QPoint P) {
        Mouse->SetCursorPos(Grid->ClientToScreen(TPoint{P.x(), P.y()}));
        Release(P);
    }
    void Log(const std::string& What, int C, const Variant& R) {
        Events.push_back(What + " " + std::to_string(C) + "," +
                         std::to_string(static_cast<int>(R)));
    }
    // A point on the button of a display cell: its right end, in the
    // middle of its height (or at the given height).
    QPoint OnButton(int Col, int Row, int DY = -1) const {
        const TRect R = Grid->CellRect(Col, Row);
        return QPoint(R.Right - 3, DY < 0 ? R.Top + 4 : R.Top + DY);
    }
    // A point in the cell well away from its button.
    QPoint OffButton(int Col, int Row) const {
        const TRect R = Grid->CellRect(Col, Row);
        return QPoint(R.Left + 4, R.Top + 4);
    }
    // A point on the given part of a spin cell's button.
    QPoint OnSpin(int Col, int Row, TgxSpinButton Want) const {
        const TRect R = Grid->CellRect(Col, Row);
        for (int Y = R.Top; Y <= R.Bottom; ++Y)
            if (Grid->SpinPartAt(R.Right - 3, Y, Col, Row) == Want) return QPoint(R.Right - 3, Y);
        ADD_FAILURE() << "no spin part in the cell";
        return QPoint(R.Right - 3, R.Top + 2);
    }

    FakeTimerService Timers;
    ScopedTimerService Guard;
    TPoint KeptCursor = Mouse->CursorPos();
    std::vector<std::string> Events;
};

TEST_F(CellButtonsMouse, PressingAnotherCellsButtonMakesItCurrentAndPressesIt) {
    ShowButtons();
    std::vector<int> NewCols;
    Grid->OnColChanged = [&](TObject*, int, int New) { NewCols.push_back(New); };
    ASSERT_EQ(Grid->GetCurrentDataCol(), 1);
    Press(OnButton(2, 3));
    EXPECT_EQ(Grid->GetCurrentDataCol(), 2);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 3);
    EXPECT_EQ(Grid->MouseStatus(), msButtonDown);
    EXPECT_EQ(Grid->PressedButtonCol(), 2);
    EXPECT_EQ(Grid->PressedButtonRow(), 3);
    EXPECT_EQ(Grid->CellButtonMode(2, 3), TgxBaseGrid::bmDown);
    EXPECT_EQ(Events, (std::vector<std::string>{"down 2,3"}));
    EXPECT_EQ(NewCols, (std::vector<int>{2}));
    ReleaseHere(OnButton(2, 3));
    EXPECT_EQ(Events, (std::vector<std::string>{"down 2,3", "click 2,3", "up 2,3"}));
    EXPECT_EQ(Grid->PressedButtonCol(), -1);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    // Released over the button of an edited cell: it stays lit.
    EXPECT_EQ(Grid->HotButtonCol(), 2);
    EXPECT_EQ(Grid->HotButtonRow(), 3);
    EXPECT_EQ(Grid->CellButtonMode(2, 3), TgxBaseGrid::bmUp);
}

TEST_F(CellButtonsMouse, AButtonDraggedOffIsRaisedAndPressedAgainWhenTheMouseComesBack) {
    ShowButtons();
    Press(OnButton(2, 2));
    ASSERT_EQ(Grid->PressedButtonCol(), 2);
    Move(OffButton(2, 2));
    EXPECT_EQ(Grid->PressedButtonCol(), -1);
    EXPECT_EQ(Grid->HotButtonCol(), 2);
    EXPECT_EQ(Grid->CellButtonMode(2, 2), TgxBaseGrid::bmUp);
    // Back over the button, the pending press holds it down again.
    Move(OnButton(2, 2));
    EXPECT_EQ(Grid->PressedButtonCol(), 2);
    EXPECT_EQ(Grid->CellButtonMode(2, 2), TgxBaseGrid::bmDown);
    Move(OffButton(3, 4));
    Release(OffButton(3, 4));
    EXPECT_EQ(Events, (std::vector<std::string>{"down 2,2", "up 2,2"}));
    EXPECT_EQ(Grid->CellButtonMode(2, 2), TgxBaseGrid::bmFlat);
}

TEST_F(CellButtonsMouse, ComboArrowOfTheOpenListClosesItAndOpensItAgain) {
    ShowButtons();
    Press(OnButton(1, 1));
    Release(OnButton(1, 1));
    EXPECT_TRUE(Grid->ComboVisible());
    Press(OnButton(1, 1));
    Release(OnButton(1, 1));
    EXPECT_FALSE(Grid->ComboVisible());
    Press(OnButton(1, 1));
    Release(OnButton(1, 1));
    EXPECT_TRUE(Grid->ComboVisible());
}

TEST_F(CellButtonsMouse, AnExceptionFromTheDownEventReleasesTheButtonAndPropagates) {
    ShowButtons();
    AnsiString Shown;
    Application->OnException = [&](TObject*, const Exception& E) { Shown = E.Message; };
    Grid->OnButtonDown = [](TObject*, int, const Variant&) { throw Exception("refused"); };
    Press(OnButton(2, 1));
    Application->OnException = nullptr;
    EXPECT_EQ(Shown, "refused");
    EXPECT_EQ(Grid->PressedButtonCol(), -1);
    EXPECT_EQ(Grid->CellButtonMode(2, 1), TgxBaseGrid::bmFlat);
    Release(OnButton(2, 1));
}

TEST_F(CellButtonsMouse, AHandlerTakingTheCaptureReleasesThePressedButton) {
    ShowButtons();
    TEdit* Other = new TEdit(Form);
    Other->SetParent(Form);
    Grid->OnButtonDown = [&](TObject*, int, const Variant&) { Other->SetMouseCapture(true); };
    Press(OnButton(2, 1));
    EXPECT_EQ(Grid->PressedButtonCol(), -1);
    EXPECT_EQ(Grid->CellButtonMode(2, 1), TgxBaseGrid::bmFlat);
    Other->SetMouseCapture(false);
}

TEST_F(CellButtonsMouse, APressedButtonIsDrawnDownAndRaisedAgainOnRelease) {
    ShowButtons();
    const TRect R = Grid->CellRect(2, 3);
    const QRect Box(At(QPoint(R.Right - 12, R.Top)), At(QPoint(R.Right - 1, R.Bottom - 1)));
    const auto Picture = [&] {
        QApplication::processEvents();
        return W->grab(Box).toImage();
    };
    const QImage Flat = Picture();
    Press(OnButton(2, 3));
    const QImage Down = Picture();
    ReleaseHere(OnButton(2, 3));
    const QImage Up = Picture();
    EXPECT_NE(Down, Flat);
    EXPECT_NE(Down, Up);
    EXPECT_NE(Up, Flat);
}

TEST_F(CellButtonsMouse, PressIsRefusedWhileTheCurrentEditCannotEnd) {
    ShowButtons();
    Grid->GetCol(5)->SetButtonType(btNone);
    Grid->SetCurrentDataCol(5);
    TypeText(QApplication::focusWidget(), "ab");
    ASSERT_TRUE(Grid->CellEditing());
    Grid->OnEndCellEdit = [](TObject*, int, int, bool& Cancel) { Cancel = true; };
    Press(OnButton(2, 3));
    Release(OnButton(2, 3));
    EXPECT_EQ(Grid->GetCurrentDataCol(), 5);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 1);
    EXPECT_TRUE(Events.empty());
    EXPECT_EQ(Grid->PressedButtonCol(), -1);
}

// A read-only cell's button, detected with AlwaysDetectButton: the press
// moves to its row and keeps the current column.
TEST_F(CellButtonsMouse, ReadOnlyCellOfAReadOnlyColumnKeepsTheCurrentColumn) {
    ShowButtons();
    Grid->SetAlwaysDetectButton(true);
    Grid->GetCol(2)->SetReadOnly(true);
    Press(OnButton(2, 3));
    Release(OnButton(2, 3));
    EXPECT_EQ(Grid->GetCurrentDataRow(), 3);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 1);
    EXPECT_TRUE(Events.empty());
}

TEST_F(CellButtonsMouse, DateTimeDropDownOpensAtThePressAndThePopupAtTheRelease) {
    ShowButtons();
    auto* Def = new TgxCalendarDateTimeDef(Form);
    Grid->GetCol(4)->SetDateTimeDef(Def);
    Grid->GetCol(5)->SetDateTimeDef(Def);
    Grid->GetCol(5)->SetButtonType(btDateTimeDropDown);
    Press(OnButton(5, 2));
    EXPECT_TRUE(Grid->DateTimeVisible());
    EXPECT_EQ(Grid->GetCurrentDataCol(), 5);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 2);
    Release(OnButton(5, 2));
    Grid->HideDateTime();
    // The pop-up is modal: it is closed again as soon as it shows.
    Grid->OnDateTimeDropDown = [this](TObject*, TgxDateTimeDefComponent*, int C, const Variant& R) {
        Log("popup", C, R);
        QTimer::singleShot(0, [] {
            if (QWidget* M = QApplication::activeModalWidget()) M->close();
        });
    };
    Press(OnButton(4, 2));
    EXPECT_EQ(Events.back(), "down 4,2");
    Release(OnButton(4, 2));
    EXPECT_EQ(Events, (std::vector<std::string>{"click 5,2", "up 5,2", "down 4,2", "click 4,2",
                                                "popup 4,2", "up 4,2"}));
}

TEST_F(CellButtonsMouse, HeldComboArrowMovedOntoTheListHandsTheMouseToIt) {
    ShowButtons();
    Press(OnButton(1, 1));
    ASSERT_TRUE(Grid->ComboVisible());
    ASSERT_EQ(Grid->PressedButtonCol(), 1);
    TgxComboGrid* List = Grid->CurrentComboGrid();
    ASSERT_NE(List, nullptr);
    const TPoint Mid = List->ClientToScreen(TPoint{List->ClientWidth() / 2, List->ClientHeight() / 2});
    const TPoint InGrid = Grid->ScreenToClient(Mid);
    Move(QPoint(InGrid.X, InGrid.Y));
    EXPECT_EQ(Grid->PressedButtonCol(), -1);
    EXPECT_EQ(Grid->HotButtonCol(), 1);
    EXPECT_EQ(Grid->HotButtonRow(), 1);
    EXPECT_EQ(GetCaptureControl(), List);
    SetCaptureControl(nullptr);
}

TEST_F(CellButtonsMouse, SpinPartPressedAgainOnlyWhenTheMouseComesBackOntoIt) {
    ShowButtons();
    Grid->SetCurrentDataCol(3);
    Press(OnSpin(3, 1, spbIncrement));
    Move(OffButton(3, 1));
    EXPECT_EQ(Grid->PressedSpinPart(), spbNone);
    Timers.Advance(2000);
    EXPECT_EQ(Events.size(), 2U);
    Move(OnSpin(3, 1, spbDecrement));
    EXPECT_EQ(Grid->PressedSpinPart(), spbNone);
    Move(OnSpin(3, 1, spbIncrement));
    EXPECT_EQ(Grid->PressedSpinPart(), spbIncrement);
    EXPECT_EQ(Grid->CellButtonMode(3, 1), TgxBaseGrid::bmDown);
    // Leaving the part ended that press, and its count with it.
    Timers.Advance(Grid->SpinStartDelay());
    ASSERT_EQ(Events.size(), 3U);
    EXPECT_EQ(Events[2], "repeat1+ 3,1");
    Release(OnSpin(3, 1, spbIncrement));
}

// Hover: which cells light up under a free mouse.
struct HoverCase {
    const char* Name;
    bool ReadOnlyCol;
    bool ReadOnlyButton;
    bool Flat;
    int Col; // 2 the plain button, 3 the spin
    bool OnCurrent;
    TgxInactiveButtonState Inactive;
    bool Lit;
};

class CellButtonsHover : public CellButtonsMouse,
                         public ::testing::WithParamInterface<HoverCase> {};

TEST_P(CellButtonsHover, LightsUpOnlyWhereItMay) {
    const HoverCase& C = GetParam();
    ShowButtons();
    Grid->GetCol(C.Col)->SetReadOnly(C.ReadOnlyCol);
    Grid->SetAlwaysDetectButton(C.ReadOnlyCol);
    Grid->SetReadOnlyButton(C.ReadOnlyButton);
    Grid->SetFlatButtons(C.Flat);
    Grid->SetInactiveButtonState(C.Inactive);
    if (C.OnCurrent) Grid->SetCurrentDataCol(C.Col);
    const int Row = C.OnCurrent ? 1 : 3;
    Move(OnButton(C.Col, Row), Qt::NoButton);
    EXPECT_EQ(Grid->HotButtonCol() == C.Col && Grid->HotButtonRow() == Row, C.Lit);
    EXPECT_EQ(Grid->CellButtonMode(C.Col, Row) == TgxBaseGrid::bmUp, C.Lit);
    // Off the button the light goes out.
    Move(OffButton(1, 4), Qt::NoButton);
    EXPECT_EQ(Grid->HotButtonCol(), -1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CellButtonsHover,
    ::testing::Values(
        HoverCase{"Plain", false, true, true, 2, false, ibsBackGround, true},
        HoverCase{"PlainOnCurrent", false, true, true, 2, true, ibsBackGround, true},
        HoverCase{"ReadOnlyWithReadOnlyButton", true, true, true, 2, false, ibsBackGround, true},
        HoverCase{"ReadOnlyWithoutReadOnlyButton", true, false, true, 2, false, ibsBackGround,
                  false},
        HoverCase{"SpinBackground", false, true, true, 3, false, ibsBackGround, false},
        HoverCase{"SpinPicture", false, true, true, 3, false, ibsPicture, true},
        HoverCase{"SpinOnCurrent", false, true, true, 3, true, ibsPicture, false},
        HoverCase{"NotFlatBackground", false, true, false, 2, false, ibsBackGround, false},
        HoverCase{"NotFlatPicture", false, true, false, 2, false, ibsPicture, true}),
    [](const ::testing::TestParamInfo<HoverCase>& I) { return std::string(I.param.Name); });

TEST_F(CellButtonsMouse, HoverWithFlatButtonsRunsTheButtonTimerThatPutsTheLightOut) {
    ShowButtons();
    Move(OnButton(2, 3), Qt::NoButton);
    ASSERT_EQ(Grid->HotButtonCol(), 2);
    EXPECT_NE(Grid->ButtonTimerHandle(), 0U);
    // Another cell's button takes the light over.
    Move(OnButton(2, 4), Qt::NoButton);
    EXPECT_EQ(Grid->HotButtonRow(), 4);
    EXPECT_EQ(Grid->CellButtonMode(2, 3), TgxBaseGrid::bmFlat);
}

TEST_F(CellButtonsMouse, ListBoxModeSelectsTheRowAndPressesNoButton) {
    ShowButtons();
    Grid->SetGridMode(gmListBox);
    Press(OnButton(2, 3));
    EXPECT_EQ(Grid->GetCurrentDataRow(), 3);
    EXPECT_EQ(Grid->PressedButtonCol(), -1);
    EXPECT_NE(Grid->MouseStatus(), msButtonDown);
    Release(OnButton(2, 3));
    EXPECT_TRUE(Events.empty());
}

} // namespace
