// An open drop-down closes when the mouse is pressed outside the grid's
// drop-down machinery or when a window changes its activation; the watch
// that does it is there only while some grid has a drop-down open.
#include "DropDownFixture.h"

#include "grid/view/DateTimeDropDownCalendar.h"
#include "grid/view/DropDownForm.h"

#include <memory>

using namespace grid;

namespace {

class DropDownHooksTest : public DropDownFixture {
protected:
    void SetUp() override {
        DropDownFixture::SetUp();
        GiveColumnList(1, {"alpha", "beta", "gamma"});
        GoTo(1, 1);
    }
    // A second grid with a list in its first column, beside the first.
    TgxGrid* MakeSecondGrid() {
        auto* Second = new TgxGrid(Form);
        Second->SetName("Grid2");
        Second->SetParent(Form);
        Second->SetBounds(440, 150, 180, 120);
        Second->SetGridColCount(2);
        Second->SetGridRowCount(3);
        TgxCol* Column = Second->GetCol(1);
        Column->SetButtonType(btCombo);
        Column->SetParentCombo(false);
        TgxComboGrid* List = Column->GetCombo()->GetGrid();
        List->SetStoreData(true);
        List->SetGridRowCount(2);
        List->SetCellValue(1, 1, Variant(AnsiString("one")));
        List->SetCellValue(1, 2, Variant(AnsiString("two")));
        Second->SetCurrentCell(1, 1);
        QApplication::processEvents();
        return Second;
    }
    static void Press(QWidget* W, QPoint At, Qt::MouseButton Button = Qt::LeftButton) {
        SendMouse(W, QEvent::MouseButtonPress, At, Button);
        SendMouse(W, QEvent::MouseButtonRelease, At, Button);
        QApplication::processEvents();
    }
};

TEST_F(DropDownHooksTest, PressesInsideTheDropDownMachineryKeepItOpenOthersCloseIt) {
    enum Target { ListWindow, EditorWindow, OtherControl, FormFrame };
    struct Case {
        const char* What;
        Target Where;
        Qt::MouseButton Button;
        bool StaysOpen;
    } const Cases[] = {
        {"left press on the list", ListWindow, Qt::LeftButton, true},
        {"right press on the list", ListWindow, Qt::RightButton, true},
        {"left press on the in-place editor", EditorWindow, Qt::LeftButton, true},
        {"left press on another control", OtherControl, Qt::LeftButton, false},
        {"right press on another control", OtherControl, Qt::RightButton, false},
        {"middle press on another control", OtherControl, Qt::MiddleButton, true},
        {"left press on the form's caption", FormFrame, Qt::LeftButton, false},
        {"right press on the form's caption", FormFrame, Qt::RightButton, false},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        Grid->DisplayCombo(1, 1);
        QApplication::processEvents();
        ASSERT_TRUE(Grid->ComboVisible());
        ASSERT_TRUE(GridHooksRegistered(Grid));
        QWidget* W = nullptr;
        switch (C.Where) {
        case ListWindow: W = DroppedList()->Widget(); break;
        case EditorWindow: W = Editor()->Widget(); break;
        case OtherControl: W = Elsewhere->Widget(); break;
        case FormFrame: W = Form->Widget(); break;
        }
        ASSERT_NE(W, nullptr);
        // A press alone: a release on a list row would take that row.
        SendMouse(W,
                  C.Where == FormFrame ? QEvent::NonClientAreaMouseButtonPress
                                       : QEvent::MouseButtonPress,
                  QPoint(3, 3), C.Button);
        QApplication::processEvents();
        EXPECT_EQ(Grid->ComboVisible(), C.StaysOpen);
        EXPECT_EQ(GridHooksRegistered(Grid), C.StaysOpen);
        EXPECT_EQ(GridHooksInstalled(), C.StaysOpen);
        SendMouse(W,
                  C.Where == FormFrame ? QEvent::NonClientAreaMouseButtonRelease
                                       : QEvent::MouseButtonRelease,
                  QPoint(3, 3), C.Button);
        QApplication::processEvents();
        Grid->HideCombo();
        QApplication::processEvents();
        EXPECT_FALSE(GridHooksInstalled());
    }
}

TEST_F(DropDownHooksTest, PressOnTheGridItselfKeepsItsListOpen) {
    Grid->DisplayCombo(1, 1);
    QApplication::processEvents();
    ASSERT_TRUE(Grid->ComboVisible());
    // The dropped cell itself: a press elsewhere in the grid is the grid's
    // own business, and it closes the list there.
    const TRect R = Grid->CellRect(Grid->GetDisplayCol(1), Grid->GetDisplayRow(1));
    Press(Grid->Widget(), QPoint(R.Left + 3, R.Top + 3), Qt::RightButton);
    EXPECT_TRUE(Grid->ComboVisible());
    EXPECT_TRUE(GridHooksRegistered(Grid));
}

TEST_F(DropDownHooksTest, WithTwoOpenListsAPressVisitsTheLaterGridFirst) {
    struct Case {
        const char* What;
        bool OnFirst;  // the press goes to the first-opened grid, else the second
        bool FirstOpen, SecondOpen;
    } const Cases[] = {
        // The later grid is not the target: it closes, then the first grid
        // is the target and the visit ends.
        {"press on the first grid", true, true, false},
        // The later grid is the target: the visit ends at once.
        {"press on the second grid", false, true, true},
    };
    TgxGrid* Second = MakeSecondGrid();
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        Grid->DisplayCombo(1, 1);
        Second->DisplayCombo(1, 1);
        QApplication::processEvents();
        ASSERT_TRUE(Grid->ComboVisible());
        ASSERT_TRUE(Second->ComboVisible());
        TgxGrid* Target = C.OnFirst ? Grid : Second;
        const TRect R = Target->CellRect(Target->GetDisplayCol(1), Target->GetDisplayRow(1));
        Press(Target->Widget(), QPoint(R.Left + 3, R.Top + 3), Qt::RightButton);
        EXPECT_EQ(Grid->ComboVisible(), C.FirstOpen);
        EXPECT_EQ(Second->ComboVisible(), C.SecondOpen);
        EXPECT_EQ(GridHooksRegistered(Grid), C.FirstOpen);
        EXPECT_EQ(GridHooksRegistered(Second), C.SecondOpen);
        Grid->HideCombo();
        Second->HideCombo();
        QApplication::processEvents();
        EXPECT_FALSE(GridHooksInstalled());
    }
}

TEST_F(DropDownHooksTest, AnotherWindowTakingTheActivationClosesEveryOpenList) {
    TgxGrid* Second = MakeSecondGrid();
    Grid->DisplayCombo(1, 1);
    Second->DisplayCombo(1, 1);
    QApplication::processEvents();
    ASSERT_TRUE(Grid->ComboVisible());
    ASSERT_TRUE(Second->ComboVisible());
    TForm Other(nullptr);
    Other.SetBounds(300, 300, 200, 100);
    ShowActive(Other);
    QApplication::processEvents();
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_FALSE(Second->ComboVisible());
    EXPECT_FALSE(GridHooksInstalled());
    ShowActive(*Form);
    QApplication::processEvents();
}

TEST_F(DropDownHooksTest, TheApplicationLosingTheActivationClosesTheList) {
    Grid->DisplayCombo(1, 1);
    QApplication::processEvents();
    ASSERT_TRUE(Grid->ComboVisible());
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(nullptr);
    QT_WARNING_POP
    QApplication::processEvents();
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_FALSE(GridHooksInstalled());
    ShowActive(*Form);
    QApplication::processEvents();
}

TEST_F(DropDownHooksTest, AGridInDesignModeKeepsItsListOnOutsidePresses) {
    Grid->SetInDesignMode(true);
    Grid->DisplayCombo(1, 1);
    QApplication::processEvents();
    ASSERT_TRUE(Grid->ComboVisible());
    Press(Elsewhere->Widget(), QPoint(3, 3));
    EXPECT_TRUE(Grid->ComboVisible());
    TForm Other(nullptr);
    Other.SetBounds(300, 300, 200, 100);
    ShowActive(Other);
    QApplication::processEvents();
    EXPECT_TRUE(Grid->ComboVisible());
    Grid->HideCombo();
    EXPECT_FALSE(GridHooksInstalled());
    ShowActive(*Form);
    QApplication::processEvents();
}

TEST_F(DropDownHooksTest, EachRegisteringHoldsTheWatchUntilItsOwnUnregistering) {
    RegisterGridHooks(Grid);
    RegisterGridHooks(Grid);
    EXPECT_TRUE(GridHooksInstalled());
    UnregisterGridHooks(Grid);
    EXPECT_TRUE(GridHooksRegistered(Grid));
    EXPECT_TRUE(GridHooksInstalled());
    UnregisterGridHooks(Grid);
    EXPECT_FALSE(GridHooksRegistered(Grid));
    EXPECT_FALSE(GridHooksInstalled());
    // Unregistering a grid that is not there changes nothing.
    UnregisterGridHooks(Grid);
    EXPECT_FALSE(GridHooksInstalled());
}

TEST_F(DropDownHooksTest, AGridDestroyedWithItsListOpenLeavesTheWatch) {
    TgxGrid* Second = MakeSecondGrid();
    Second->DisplayCombo(1, 1);
    QApplication::processEvents();
    ASSERT_TRUE(GridHooksRegistered(Second));
    delete Second;
    EXPECT_FALSE(GridHooksInstalled());
    // A press afterwards visits no freed grid.
    Grid->DisplayCombo(1, 1);
    QApplication::processEvents();
    Press(Elsewhere->Widget(), QPoint(3, 3));
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_FALSE(GridHooksInstalled());
}

TEST_F(DropDownHooksTest, AGridDestroyedWithItsCalendarOpenLeavesTheWatch) {
    TgxGrid* Second = MakeSecondGrid();
    auto* Def = new TgxCalendarDateTimeDef(Form);
    Second->GetCol(2)->SetButtonType(btDateTimeDropDown);
    Second->GetCol(2)->SetDateTimeDef(Def);
    Second->SetCurrentCell(Second->GetDisplayCol(2), Second->GetDisplayRow(1));
    Second->DisplayDateTime(2, 1);
    QApplication::processEvents();
    ASSERT_TRUE(Second->DateTimeVisible());
    ASSERT_TRUE(GridHooksRegistered(Second));
    delete Second;
    EXPECT_FALSE(GridHooksInstalled());
    Press(Elsewhere->Widget(), QPoint(3, 3));
    EXPECT_FALSE(GridHooksInstalled());
}

TEST_F(DropDownHooksTest, TheComboFormIsADropDownOwnedByTheGrid) {
    TgxDropDownForm* F = Grid->GetComboForm();
    ASSERT_NE(F, nullptr);
    EXPECT_EQ(F, Grid->GetComboForm());
    EXPECT_TRUE(F->DropDown());
    EXPECT_EQ(F->Owner(), Grid);
    EXPECT_FALSE(F->Visible());
    EXPECT_EQ(F->Font()->Name(), Grid->Font()->Name());
}

TEST_F(DropDownHooksTest, ACalendarStaysOnPressesInsideItAndClosesOnOthersAlsoInDesignMode) {
    struct Case {
        const char* What;
        bool Design;
        bool OnCalendar;
        bool StaysOpen;
    } const Cases[] = {
        {"press on the calendar", false, true, true},
        {"press elsewhere", false, false, false},
        {"press on the calendar in design mode", true, true, true},
        // A visible calendar closes also while the grid is designed.
        {"press elsewhere in design mode", true, false, false},
    };
    auto* Def = new TgxCalendarDateTimeDef(Form);
    Grid->GetCol(2)->SetButtonType(btDateTimeDropDown);
    Grid->GetCol(2)->SetDateTimeDef(Def);
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        Grid->SetInDesignMode(C.Design);
        GoTo(2, 1);
        Grid->DisplayDateTime(2, 1);
        QApplication::processEvents();
        ASSERT_TRUE(Grid->DateTimeVisible());
        ASSERT_TRUE(GridHooksRegistered(Grid));
        // The grid shows its own copy of the definition.
        ASSERT_NE(Grid->DateTimeInstance(), nullptr);
        QWidget* W = C.OnCalendar ? Grid->DateTimeInstance()->GetControl()->Widget()
                                  : Elsewhere->Widget();
        SendMouse(W, QEvent::MouseButtonPress, QPoint(2, 2), Qt::RightButton);
        QApplication::processEvents();
        EXPECT_EQ(Grid->DateTimeVisible(), C.StaysOpen);
        EXPECT_EQ(GridHooksInstalled(), C.StaysOpen);
        SendMouse(W, QEvent::MouseButtonRelease, QPoint(2, 2), Qt::RightButton);
        Grid->HideDateTime();
        QApplication::processEvents();
        EXPECT_FALSE(GridHooksInstalled());
    }
    Grid->SetInDesignMode(false);
}

} // namespace
