// The watch that closes an open drop-down: clicks inside the grid's own
// drop-down machinery leave it open, clicks anywhere else and a change of
// window activation close it, and the watch goes when the last grid leaves.
#include "DropDownFixture.h"
#include "grid/view/DropDownForm.h"

#include <QApplication>
#include <QMouseEvent>

#include <functional>
#include <string>
#include <vector>

using namespace grid;

namespace {

class DropDownWatchReading : public DropDownFixture {
protected:
    void Open(TgxGrid* G) {
        TgxCol* Column = G->GetCol(1);
        Column->SetButtonType(btCombo);
        Column->SetParentCombo(false);
        TgxComboGrid* List = Column->GetCombo()->GetGrid();
        List->SetStoreData(true);
        List->SetGridRowCount(2);
        List->SetCellValue(1, 1, Variant(AnsiString("one")));
        List->SetCellValue(1, 2, Variant(AnsiString("two")));
        G->SetCurrentCell(G->GetDisplayCol(1), G->GetDisplayRow(1));
        G->ShowCombo();
        QApplication::processEvents();
        ASSERT_TRUE(G->ComboVisible());
        ASSERT_TRUE(GridHooksRegistered(G));
    }
    QPoint CurrentCellPoint() {
        const TRect R = Grid->CellRect(Grid->Col(), Grid->Row());
        return QPoint(R.Left + 3, R.Top + 3);
    }
    static void Press(QWidget* W, QPoint At, QEvent::Type Type = QEvent::MouseButtonPress,
                      Qt::MouseButton Button = Qt::LeftButton) {
        QMouseEvent E(Type, QPointF(At), QPointF(W->mapToGlobal(At)), Button, Button,
                      Qt::NoModifier);
        QApplication::sendEvent(W, &E);
        QMouseEvent Up(Type == QEvent::NonClientAreaMouseButtonPress
                           ? QEvent::NonClientAreaMouseButtonRelease
                           : QEvent::MouseButtonRelease,
                       QPointF(At), QPointF(W->mapToGlobal(At)), Button, Qt::NoButton,
                       Qt::NoModifier);
        QApplication::sendEvent(W, &Up);
        QApplication::processEvents();
    }
};

TEST_F(DropDownWatchReading, ClicksInsideTheGridsMachineryKeepTheListOpenOthersCloseIt) {
    struct Case {
        const char* Name;
        std::function<QWidget*()> Target;
        std::function<QPoint()> At;
        QEvent::Type Type;
        Qt::MouseButton Button;
        bool StaysOpen;
    };
    const Case Cases[] = {
        // The right button: a left press on the grid closes the list on the
        // grid's own account, one on the list chooses a row.
        {"the grid", [this] { return Grid->Widget(); }, [this] { return CurrentCellPoint(); },
         QEvent::MouseButtonPress, Qt::RightButton, true},
        {"its list", [this] { return DroppedList()->Widget(); }, [] { return QPoint(5, 5); },
         QEvent::MouseButtonPress, Qt::RightButton, true},
        {"its in-place control", [this] { return Editor()->Widget(); },
         [] { return QPoint(3, 3); }, QEvent::MouseButtonPress, Qt::LeftButton, true},
        {"another control", [this] { return Elsewhere->Widget(); }, [] { return QPoint(5, 5); },
         QEvent::MouseButtonPress, Qt::LeftButton, false},
        {"another control, right button", [this] { return Elsewhere->Widget(); },
         [] { return QPoint(5, 5); }, QEvent::MouseButtonPress, Qt::RightButton, false},
        {"the form's caption", [this] { return Form->Widget(); }, [] { return QPoint(50, 5); },
         QEvent::NonClientAreaMouseButtonPress, Qt::LeftButton, false},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Open(Grid);
        std::vector<std::string> RolledUp;
        Grid->OnComboRollUp = [&](TObject*, TgxComboGrid*, int DataCol, int DataRow) {
            RolledUp.push_back(std::to_string(DataCol) + "," + std::to_string(DataRow));
        };
        QWidget* W = C.Target();
        Press(W, C.At(), C.Type, C.Button);
        EXPECT_EQ(Grid->ComboVisible(), C.StaysOpen);
        EXPECT_EQ(GridHooksRegistered(Grid), C.StaysOpen);
        EXPECT_EQ(GridHooksInstalled(), C.StaysOpen);
        EXPECT_EQ(RolledUp, C.StaysOpen ? std::vector<std::string>{}
                                        : std::vector<std::string>{"1,1"});
        Grid->OnComboRollUp = nullptr;
        Grid->HideCombo();
        EXPECT_FALSE(GridHooksInstalled());
        TearDown();
        SetUp();
    }
}

TEST_F(DropDownWatchReading, AnotherWindowTakingTheActivationClosesEveryList) {
    auto* Second = new TgxGrid(Form);
    Second->SetParent(Form);
    Second->SetBounds(0, 310, 420, 100);
    Open(Grid);
    Open(Second);
    TForm Other(nullptr);
    Other.SetBounds(300, 300, 100, 100);
    ShowActive(Other);
    QApplication::processEvents();
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_FALSE(Second->ComboVisible());
    EXPECT_FALSE(GridHooksInstalled());
}

TEST_F(DropDownWatchReading, AClickIntoTheFirstGridClosesOnlyTheLaterOnesList) {
    auto* Second = new TgxGrid(Form);
    Second->SetParent(Form);
    Second->SetBounds(0, 310, 420, 100);
    Open(Grid);
    Open(Second);
    Press(Grid->Widget(), CurrentCellPoint(), QEvent::MouseButtonPress, Qt::RightButton);
    EXPECT_TRUE(Grid->ComboVisible());
    EXPECT_FALSE(Second->ComboVisible());
    EXPECT_TRUE(GridHooksRegistered(Grid));
    EXPECT_FALSE(GridHooksRegistered(Second));
    EXPECT_TRUE(GridHooksInstalled());
}

TEST_F(DropDownWatchReading, EachRegisteringNeedsItsOwnUnregistering) {
    RegisterGridHooks(Grid);
    RegisterGridHooks(Grid);
    UnregisterGridHooks(Grid);
    EXPECT_TRUE(GridHooksRegistered(Grid));
    EXPECT_TRUE(GridHooksInstalled());
    UnregisterGridHooks(Grid);
    EXPECT_FALSE(GridHooksRegistered(Grid));
    EXPECT_FALSE(GridHooksInstalled());
    // Taking out a grid that is not there changes nothing.
    UnregisterGridHooks(Grid);
    EXPECT_FALSE(GridHooksInstalled());
}

TEST_F(DropDownWatchReading, AGridDestroyedWithItsListOpenLeavesTheWatch) {
    auto* Second = new TgxGrid(Form);
    Second->SetParent(Form);
    Second->SetBounds(0, 310, 420, 100);
    Open(Second);
    delete Second;
    EXPECT_FALSE(GridHooksInstalled());
    // A later click must not reach the grid that is gone.
    Open(Grid);
    Press(Elsewhere->Widget(), QPoint(5, 5));
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_FALSE(GridHooksInstalled());
}

TEST_F(DropDownWatchReading, TheListLivesOnAHiddenDropDownFormOfTheGridsUntilItOpens) {
    TgxDropDownForm* DropForm = Grid->GetComboForm();
    ASSERT_NE(DropForm, nullptr);
    EXPECT_EQ(Grid->GetComboForm(), DropForm);
    EXPECT_EQ(DropForm->Owner(), Grid);
    EXPECT_TRUE(DropForm->DropDown());
    EXPECT_FALSE(DropForm->Visible());
    Open(Grid);
    EXPECT_TRUE(DropForm->Visible());
    // A window of its own over the grid, not a child the grid would clip.
    EXPECT_TRUE(DropForm->Widget()->isWindow());
    EXPECT_NE(DropForm->Widget()->parentWidget(), Grid->Widget());
}

} // namespace
