// Combo cells: completing typed text from the list when the edit ends by
// leaving the cell, and the drop-down style taking effect on the cell being
// edited.
#include "DropDownFixture.h"

#include <functional>

namespace {

class ComboLeave : public DropDownFixture {
public:
    using DropDownFixture::GoTo;
    using DropDownFixture::Key;

protected:
    void Fill() {
        Grid->SetStoreData(true);
        Grid->SetGridRowCount(3);
    }
    AnsiString CellText(int DataCol, int DataRow) {
        const Variant V = Grid->GetCellValue(DataCol, DataRow);
        return V.IsEmpty() || V.IsNull() ? AnsiString() : V.AsString();
    }
};

// Typed text keeps its own case while editing; leaving the cell by any way
// takes the list value's case.
TEST_F(ComboLeave, LeavingTheCellTakesTheListCase) {
    struct Case {
        const char* Name;
        std::function<void(ComboLeave&)> Leave;
    };
    const Case Cases[] = {
        {"down key", [](ComboLeave& T) { T.Key(Qt::Key_Down); }},
        {"tab key", [](ComboLeave& T) { T.Key(Qt::Key_Tab); }},
        {"other cell", [](ComboLeave& T) { T.GoTo(2, 2); }},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        TearDown();
        SetUp();
        Fill();
        grid::TgxComboGrid* List = GiveColumnList(1, {"Boston", "New York"});
        List->SetAutoFill(true);
        List->SetAutoFillConvertCase(grid::afcOnExit);
        GoTo(1, 1);
        Grid->SetFocus();
        QApplication::processEvents();
        TypeText(QApplication::focusWidget(), "ne");
        QApplication::processEvents();
        EXPECT_EQ(CurrentText(), AnsiString("new York"));
        C.Leave(*this);
        QApplication::processEvents();
        EXPECT_EQ(CellText(1, 1), AnsiString("New York"));
    }
}

// Switching the list to pick-only while its cell is edited stops typing
// into that cell at once.
TEST_F(ComboLeave, PickOnlyStyleTakesEffectOnTheEditedCell) {
    Fill();
    grid::TgxComboGrid* List = GiveColumnList(1, {"Boston", "New York"});
    GoTo(1, 1);
    Grid->SetFocus();
    QApplication::processEvents();
    TypeText(QApplication::focusWidget(), "x");
    QApplication::processEvents();
    EXPECT_EQ(CurrentText(), AnsiString("x"));
    List->SetDropDownStyle(grid::ddDropDownList);
    QApplication::processEvents();
    TypeText(QApplication::focusWidget(), "y");
    QApplication::processEvents();
    EXPECT_EQ(CurrentText(), AnsiString("x"));
}

// Pressing a combo button drops the list and hands it the mouse, so the
// drag that follows runs in the list.
TEST_F(ComboLeave, ButtonPressHandsTheMouseToTheList) {
    Fill();
    GiveColumnList(1, {"Boston", "New York", "Paris"});
    GoTo(1, 1);
    Grid->SetFocus();
    QApplication::processEvents();
    const TRect R = Grid->CellRect(Grid->GetDisplayCol(1), Grid->GetDisplayRow(1));
    const int F = Grid->WindowFrameWidth();
    const QPoint P(R.Right - 3 + F, (R.Top + R.Bottom) / 2 + F);
    SendMouse(Grid->Widget(), QEvent::MouseButtonPress, P, Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_TRUE(Grid->ComboVisible());
    // Dragged on over the list's second row.
    grid::TgxComboGrid* List = DroppedList();
    const TRect L = List->CellRect(List->Col(), List->GetDisplayRow(2));
    const QPoint OverList = Grid->Widget()->mapFromGlobal(List->Widget()->mapToGlobal(
        QPoint((L.Left + L.Right) / 2 + List->WindowFrameWidth(),
               (L.Top + L.Bottom) / 2 + List->WindowFrameWidth())));
    SendMouse(Grid->Widget(), QEvent::MouseMove, OverList, Qt::NoButton, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(GetCaptureControl(), static_cast<TControl*>(List));
    SendMouse(List->Widget(), QEvent::MouseButtonRelease,
              List->Widget()->mapFromGlobal(Grid->Widget()->mapToGlobal(OverList)),
              Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(CurrentText(), AnsiString("New York"));
}

// Filling on edit takes the list value at once and selects the completed
// tail, so the next key typed replaces it.
TEST_F(ComboLeave, FillOnEditSelectsTheCompletedTail) {
    Fill();
    grid::TgxComboGrid* List = GiveColumnList(1, {"Boston", "New York"});
    List->SetAutoFill(true);
    GoTo(1, 1);
    Grid->SetFocus();
    QApplication::processEvents();
    TypeText(QApplication::focusWidget(), "ne");
    QApplication::processEvents();
    EXPECT_EQ(CurrentText(), AnsiString("New York"));
    grid::TgxCustomGridControl* Edit = Grid->GridCellControl(Grid->CurCellControlType());
    EXPECT_EQ(Edit->GetSelStart(), 2);
    EXPECT_EQ(Edit->GetSelLength(), 6);
    TypeText(QApplication::focusWidget(), "x");
    QApplication::processEvents();
    EXPECT_EQ(CurrentText(), AnsiString("Nex"));
}

} // namespace
