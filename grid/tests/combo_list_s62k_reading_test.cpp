// A combo cell's list as the user meets it: the press that opens it hands
// the mouse to the list, switching the list style re-arranges the cell's
// editor, and leaving the cell completes a typed prefix from the list.
#include "DropDownFixture.h"

#include "platform/gui/StdCtrls.h"

#include <QMouseEvent>

using namespace grid;

namespace {

class ComboListUse : public DropDownFixture {
protected:
    void SetUp() override {
        DropDownFixture::SetUp();
        Grid->SetStoreData(true);
        Grid->SetGridMode(gmEdit);
        Grid->SetAlwaysShowEditor(true);
        Grid->SetColWidths(1, 120);
        List = GiveColumnList(1, {"Berlin", "New York", "Paris"});
        Other = new TEdit(Form);
        Other->SetParent(Form);
        Other->SetBounds(440, 150, 100, 24);
        GoTo(1, 1);
        Grid->SetFocus();
        QApplication::processEvents();
    }
    void Mouse(QEvent::Type Type, TPoint P) {
        QWidget* W = Grid->ClientWidget();
        const QPointF At(P.X, P.Y);
        const bool Up = Type == QEvent::MouseButtonRelease;
        QMouseEvent E(Type, At, W->mapToGlobal(At), Qt::LeftButton,
                      Up ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(W, &E);
    }
    // The middle of the combo button at the right end of the cell.
    TPoint OnButton(int DisplayCol, int DisplayRow) {
        const TRect R = Grid->CellRect(DisplayCol, DisplayRow);
        return TPoint{R.Right - 6, (R.Top + R.Bottom) / 2};
    }

    TgxComboGrid* List = nullptr;
    TEdit* Other = nullptr;
};

TEST_F(ComboListUse, DraggingFromTheButtonOntoTheOpenListHandsTheMouseToIt) {
    Grid->SetCellValue(1, 1, Variant(AnsiString("New York")));
    Mouse(QEvent::MouseButtonPress, OnButton(1, 1));
    ASSERT_TRUE(Grid->ComboVisible());
    TgxComboGrid* Dropped = DroppedList();
    EXPECT_FALSE(Dropped->MouseCapture());
    // Down onto the list's first row, the button still held.
    const TWinControl* DropForm = Grid->GetComboFormWindow();
    const TPoint OverList = Grid->ScreenToClient(
        Dropped->ClientToScreen(TPoint{4, Dropped->CellRect(1, 1).Top + 2}));
    ASSERT_GT(DropForm->Height(), 0);
    Mouse(QEvent::MouseMove, OverList);
    EXPECT_FALSE(Grid->MouseCapture());
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    EXPECT_TRUE(Dropped->MouseCapture());
    EXPECT_EQ(Dropped->MouseDownCol(), Dropped->Col());
    EXPECT_EQ(Dropped->MouseDownRow(), Dropped->Row());
    EXPECT_EQ(Dropped->MouseStatus(), msRowSelect);
    // Let go over the third row: its value goes into the cell.
    const TPoint OnParis = Grid->ScreenToClient(
        Dropped->ClientToScreen(TPoint{4, Dropped->CellRect(1, 3).Top + 2}));
    Mouse(QEvent::MouseMove, OnParis);
    Mouse(QEvent::MouseButtonRelease, OnParis);
    QApplication::processEvents();
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(CurrentText(), AnsiString("Paris"));
}

TEST_F(ComboListUse, SwitchingTheListStyleRearrangesTheShownEditor) {
    ASSERT_TRUE(Grid->EditorShown());
    TgxCustomGridControl* Control = Grid->GridControl();
    ASSERT_NE(Control, nullptr);
    ASSERT_TRUE(Control->GetKeyEdit());
    List->GetParentGridCombo()->SetDropDownStyle(ddDropDownList);
    EXPECT_EQ(Grid->GetCol(1)->GetCombo()->GetDropDownStyle(), ddDropDownList);
    EXPECT_EQ(Grid->GetCol(1)->DropDownStyle(), ddDropDownList);
    // Only the list offers the values now: the editor takes no keys.
    EXPECT_FALSE(Grid->GridControl()->GetKeyEdit());
    EXPECT_FALSE(Grid->GridControl()->GetMouseSelect());
    List->GetParentGridCombo()->SetDropDownStyle(ddDropDown);
    EXPECT_TRUE(Grid->GridControl()->GetKeyEdit());
    EXPECT_TRUE(Grid->GridControl()->GetMouseSelect());
}

TEST_F(ComboListUse, LeavingTheCellCompletesTheTypedPrefixFromTheList) {
    struct Case {
        const char* Name;
        TgxConvertCase Convert;
        const char* Typed;
        enum { ByKey, ByMouse, ByFocus } Leave;
        const char* WhileTyping;
        const char* AfterLeaving;
    };
    const Case Cases[] = {
        {"case on edit", afcOnEdit, "ne", Case::ByKey, "New York", "New York"},
        {"case on exit", afcOnExit, "ne", Case::ByKey, "new York", "New York"},
        {"case on exit, left by mouse", afcOnExit, "ne", Case::ByMouse, "new York", "New York"},
        {"case on exit, left the grid", afcOnExit, "ne", Case::ByFocus, "new York", "New York"},
        {"case on exit, whole text", afcOnExit, "new york", Case::ByKey, "new york", "New York"},
        {"case on exit, no match", afcOnExit, "xy", Case::ByKey, "xy", "xy"},
        {"no case", afcNone, "ne", Case::ByKey, "new York", "new York"},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->SetCellValue(1, 1, Variant(AnsiString()));
        GoTo(1, 2);
        TgxCombo* Combo = Grid->GetCol(1)->GetCombo();
        Combo->SetAutoFill(true);
        Combo->SetAutoFillConvertCase(C.Convert);
        ASSERT_EQ(Combo->GetAutoSearch(), asTop);
        GoTo(1, 1);
        for (const char* Ch = C.Typed; *Ch; ++Ch)
            Key(*Ch == ' ' ? Qt::Key_Space : Qt::Key_A + (*Ch - 'a'), Qt::NoModifier,
                QString(QChar(*Ch)));
        EXPECT_EQ(CurrentText(), AnsiString(C.WhileTyping));
        if (C.Leave == Case::ByMouse) {
            const TRect R = Grid->CellRect(2, 3);
            const TPoint P{(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2};
            Mouse(QEvent::MouseButtonPress, P);
            Mouse(QEvent::MouseButtonRelease, P);
            ASSERT_EQ(Grid->GetDataRow(Grid->Row()), 3);
        } else if (C.Leave == Case::ByFocus) {
            Other->SetFocus();
            QApplication::processEvents();
            ASSERT_TRUE(Other->Focused());
        } else {
            Key(Qt::Key_Down);
            ASSERT_EQ(Grid->GetDataRow(Grid->Row()), 2);
        }
        EXPECT_EQ(Grid->GetCellValue(1, 1).AsString(), AnsiString(C.AfterLeaving));
        Grid->SetFocus();
    }
}

} // namespace
