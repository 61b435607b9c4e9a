// The base grid's in-place editor driven as the operator drives it: real
// key and mouse events on the shown editor of a draw grid, which lends it
// its text, mask and limit and decides whether the text may change.
#include "BaseGridFixture.h"

#include "platform/gui/Clipboard.h"
#include "platform/gui/Messages.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <string>
#include <vector>

namespace gridtest {
namespace {

// A draw grid whose editing answers the test sets, and that logs what the
// editor hands back to it.
class TEditProbeGrid : public TDrawGrid_ts {
public:
    using TDrawGrid_ts::TDrawGrid_ts;
    bool Modify = true;
    char Refused = 0;
    int Limit = 0;
    int Wheels = 0;
    int DblClicks = 0;
    bool CanEditModify() override { return Modify; }
    bool CanEditAcceptKey(char Key) override { return Key != Refused; }
    int GetEditLimit() override { return Limit; }
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override {
        ++Wheels;
        return TDrawGrid_ts::DoMouseWheel(Shift, WheelDelta, MousePos);
    }
    void DblClick() override {
        ++DblClicks;
        TDrawGrid_ts::DblClick();
    }
};

class InplaceEditReading : public GridOnForm<TEditProbeGrid> {
protected:
    void SetUp() override {
        GridOnForm::SetUp();
        ShowActive(*Form);
        Grid->OnGetEditText = [this](TObject*, int C, int R, AnsiString& Value) {
            Value = C == 2 && R == 2 ? AnsiString("hello") : AnsiString(std::to_string(C) + std::to_string(R));
        };
        Grid->OnGetEditMask = [this](TObject*, int, int, AnsiString& Value) { Value = Mask; };
        Grid->OnKeyDown = [this](TObject*, Word& K, TShiftState) { GridKeys.push_back(K); };
        Grid->OnKeyUp = [this](TObject*, Word& K, TShiftState) { GridKeyUps.push_back(K); };
        Grid->SetColCount(6);
        Grid->SetRowCount(6);
    }
    // Opens the editor over cell (2,2), its text "hello".
    void Open(TGridOptions Extra = {}) {
        Grid->SetCol(2);
        Grid->SetRow(2);
        Grid->SetOptions(Grid->Options() + TGridOptions{goEditing} + Extra);
        Grid->SetEditorMode(true);
        QApplication::processEvents();
        ASSERT_NE(Edit(), nullptr);
        ASSERT_TRUE(Edit()->Visible());
        GridKeys.clear();
    }
    TInplaceEdit* Edit() { return Grid->InplaceEditor(); }
    QWidget* EditWidget() { return Edit()->Widget(); }
    void Press(int QtKey, Qt::KeyboardModifiers Mods = Qt::NoModifier, const QString& Text = {}) {
        TypeKey(EditWidget(), QtKey, Text, Mods);
        QApplication::processEvents();
    }
    void Caret(int Start, int Length = 0) {
        Edit()->SetSelStart(Start);
        Edit()->SetSelLength(Length);
    }
    TGridCoord At() const { return {Grid->Col(), Grid->Row()}; }

    AnsiString Mask;
    std::vector<Word> GridKeys;
    std::vector<Word> GridKeyUps;
};

TEST_F(InplaceEditReading, IsABorderlessEditThatIsNoTabStopAndLoadsTheCurrentCell) {
    Mask = "";
    Grid->Limit = 7;
    Open();
    EXPECT_EQ(Edit()->BorderStyle(), bsNone);
    EXPECT_FALSE(Edit()->TabStop());
    EXPECT_EQ(Edit()->Grid(), Grid);
    EXPECT_EQ(Edit()->Text(), "hello");
    EXPECT_EQ(Edit()->MaxLength(), 7);
    EXPECT_EQ(Edit()->EditMask(), "");

    // Moving on reloads text and mask for the new cell.
    Mask = "999;1;_";
    Grid->SetEditorMode(false);
    Grid->SetCol(3);
    Grid->SetEditorMode(true);
    QApplication::processEvents();
    EXPECT_EQ(Edit()->EditMask(), "999;1;_");
    EXPECT_EQ(Edit()->EditText(), "32_");
}

// Keys the editor hands to the grid, and the cell the grid moves to.
TEST_F(InplaceEditReading, NavigationKeysGoToTheGrid) {
    struct Case {
        const char* Name;
        int QtKey;
        Qt::KeyboardModifiers Mods;
        TGridOptions Options;
        int CaretAt;
        TGridCoord Expected;
        int Selected = 0;
    };
    const Case Cases[] = {
        {"up", Qt::Key_Up, Qt::NoModifier, {}, 2, {2, 1}},
        {"down", Qt::Key_Down, Qt::NoModifier, {}, 2, {2, 3}},
        {"page down", Qt::Key_PageDown, Qt::NoModifier, {}, 2, {2, 5}},
        {"tab with goTabs", Qt::Key_Tab, Qt::NoModifier, {goTabs}, 2, {3, 2}},
        {"left at caret 0, always-show", Qt::Key_Left, Qt::NoModifier, {goAlwaysShowEditor}, 0, {1, 2}},
        {"left inside, always-show", Qt::Key_Left, Qt::NoModifier, {goAlwaysShowEditor}, 2, {2, 2}},
        {"ctrl+left inside, always-show", Qt::Key_Left, Qt::ControlModifier, {goAlwaysShowEditor}, 2, {1, 2}},
        {"home at 0, always-show", Qt::Key_Home, Qt::NoModifier, {goAlwaysShowEditor}, 0, {1, 2}},
        {"right at end, always-show", Qt::Key_Right, Qt::NoModifier, {goAlwaysShowEditor}, 5, {3, 2}},
        {"right inside, always-show", Qt::Key_Right, Qt::NoModifier, {goAlwaysShowEditor}, 2, {2, 2}},
        {"end at end, always-show", Qt::Key_End, Qt::NoModifier, {goAlwaysShowEditor}, 5, {5, 2}},
        {"left, all selected, always-show", Qt::Key_Left, Qt::NoModifier, {goAlwaysShowEditor}, 0, {1, 2}, 5},
        {"right, all selected, always-show", Qt::Key_Right, Qt::NoModifier, {goAlwaysShowEditor}, 0, {3, 2}, 5},
        {"left, part selected, always-show", Qt::Key_Left, Qt::NoModifier, {goAlwaysShowEditor}, 0, {2, 2}, 2},
        {"left at 0, no always-show", Qt::Key_Left, Qt::NoModifier, {}, 0, {2, 2}},
        {"home, no always-show", Qt::Key_Home, Qt::NoModifier, {}, 3, {2, 2}},
        {"end, no always-show", Qt::Key_End, Qt::NoModifier, {}, 3, {2, 2}},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->SetOptions(DefaultGridOptions);
        Open(C.Options);
        Caret(C.CaretAt, C.Selected);
        Press(C.QtKey, C.Mods);
        EXPECT_EQ(At(), C.Expected);
    }
}

TEST_F(InplaceEditReading, HomeAndEndInsideTheEditorMoveTheCaretAndRaiseTheGridEventOnce) {
    Open();
    Caret(3);
    Press(Qt::Key_Home);
    EXPECT_EQ(Edit()->SelStart(), 0);
    Press(Qt::Key_End);
    EXPECT_EQ(Edit()->SelStart(), 5);
    EXPECT_EQ(GridKeys, (std::vector<Word>{36, 35}));
}

TEST_F(InplaceEditReading, KeyUpAndTheWheelAreTheGrids) {
    Open();
    Press(Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_FALSE(GridKeyUps.empty());
    QWheelEvent Wheel(QPointF(5, 5), EditWidget()->mapToGlobal(QPointF(5, 5)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(EditWidget(), &Wheel);
    EXPECT_EQ(Grid->Wheels, 1);
}

TEST_F(InplaceEditReading, F2RaisesTheGridEventThenLeavesTheCaretAfterTheText) {
    Open();
    Edit()->SelectAll();
    Press(Qt::Key_F2);
    EXPECT_EQ(GridKeys, std::vector<Word>{113});
    EXPECT_EQ(Edit()->SelStart(), 5);
    EXPECT_EQ(Edit()->SelLength(), 0);
}

TEST_F(InplaceEditReading, EnterTogglesBetweenAllSelectedAndTheCaretAfterTheText) {
    Open({goAlwaysShowEditor});
    Caret(2);
    Press(Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(Edit()->SelStart(), 0);
    EXPECT_EQ(Edit()->SelLength(), 5);
    Press(Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(Edit()->SelStart(), 5);
    EXPECT_EQ(Edit()->SelLength(), 0);
    EXPECT_EQ(Edit()->Text(), "hello");
}

// With the grid refusing changes, nothing the operator does alters the text.
TEST_F(InplaceEditReading, AGridThatForbidsChangesKeepsTheText) {
    struct Case {
        const char* Name;
        int QtKey;
        Qt::KeyboardModifiers Mods;
        QString Text;
    };
    const Case Cases[] = {
        {"typing", Qt::Key_X, Qt::NoModifier, "x"},
        {"delete", Qt::Key_Delete, Qt::NoModifier, {}},
        {"backspace", Qt::Key_Backspace, Qt::NoModifier, "\b"},
        {"ctrl+v", Qt::Key_V, Qt::ControlModifier, QString(QChar(22))},
        {"ctrl+x", Qt::Key_X, Qt::ControlModifier, QString(QChar(24))},
        {"shift+insert", Qt::Key_Insert, Qt::ShiftModifier, {}},
        {"shift+delete", Qt::Key_Delete, Qt::ShiftModifier, {}},
    };
    Open();
    Grid->Modify = false;
    Clipboard()->SetAsText("PASTED");
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Caret(1, 2);
        Press(C.QtKey, C.Mods, C.Text);
        EXPECT_EQ(Edit()->Text(), "hello");
    }
    for (unsigned Msg : {WM_PASTE, WM_CUT, WM_CLEAR}) {
        Caret(1, 2);
        Edit()->Perform(Msg);
        EXPECT_EQ(Edit()->Text(), "hello") << Msg;
    }
    // Navigation still works.
    Press(Qt::Key_Down);
    EXPECT_EQ(At(), (TGridCoord{2, 3}));
}

TEST_F(InplaceEditReading, PasteCutAndClearWorkWhenTheGridAllows) {
    Open();
    Clipboard()->SetAsText("P");
    Caret(0, 1);
    Edit()->Perform(WM_PASTE);
    EXPECT_EQ(Edit()->Text(), "Pello");
    Caret(0, 1);
    Edit()->Perform(WM_CUT);
    EXPECT_EQ(Edit()->Text(), "ello");
    Caret(0, 1);
    Edit()->Perform(WM_CLEAR);
    EXPECT_EQ(Edit()->Text(), "llo");
}

TEST_F(InplaceEditReading, TheGridSeesEachCharacterFirstAndMayRefuseIt) {
    Open();
    Grid->Refused = 'q';
    Grid->OnKeyPress = [](TObject*, char& Key) {
        if (Key == 'a') Key = 'b';
    };
    Caret(5);
    Press(Qt::Key_Q, Qt::NoModifier, "q");
    Press(Qt::Key_Z, Qt::NoModifier, "z");
    Press(Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_EQ(Edit()->Text(), "hellozb");
}

TEST_F(InplaceEditReading, TabAndEscapeCharactersLeaveTheText) {
    Open();
    Caret(5);
    Press(Qt::Key_Escape, Qt::NoModifier, "\x1b");
    Grid->SetEditorMode(true);
    QApplication::processEvents();
    Caret(5);
    Press(Qt::Key_Tab, Qt::AltModifier, "\t");
    EXPECT_EQ(Edit()->Text(), "hello");
}

TEST_F(InplaceEditReading, WantsTabOnlyWithGoTabs) {
    Open();
    EXPECT_FALSE(Edit()->Perform(WM_GETDLGCODE) & DLGC_WANTTAB);
    Grid->SetOptions(Grid->Options() + TGridOptions{goTabs});
    EXPECT_TRUE(Edit()->Perform(WM_GETDLGCODE) & DLGC_WANTTAB);
}

TEST_F(InplaceEditReading, PlacingShowsMovesAndHides) {
    Open();
    EXPECT_TRUE(Edit()->Focused());
    // The form keeps the grid as its focused control while the editor types.
    EXPECT_EQ(Form->ActiveControl(), Grid);
    const TRect Cell = Grid->CellRect(2, 2);
    EXPECT_TRUE(Edit()->PosEqual(Cell));
    const TRect Other = Grid->CellRect(4, 3);
    Edit()->Move(Other);
    EXPECT_TRUE(Edit()->PosEqual(Other));
    EXPECT_TRUE(Edit()->Visible());
    EXPECT_TRUE(Edit()->Focused());
    // CM_SHOWINGCHANGED does not change what the grid decided.
    Edit()->Perform(CM_SHOWINGCHANGED);
    EXPECT_TRUE(Edit()->Visible());
    Edit()->Move(TRect{0, 0, 0, 0});
    EXPECT_FALSE(Edit()->Visible());
    EXPECT_TRUE(Grid->Focused());
    // Focusing a hidden editor does nothing.
    Edit()->SetFocus();
    EXPECT_TRUE(Grid->Focused());
    Edit()->UpdateLoc(Cell);
    EXPECT_TRUE(Edit()->Visible());
    EXPECT_TRUE(Edit()->PosEqual(Cell));
    Edit()->Hide();
    EXPECT_FALSE(Edit()->Visible());
}

TEST_F(InplaceEditReading, AQuickClickAfterTheGridClickCountsAsADoubleClick) {
    Grid->SetOptions(Grid->Options() + TGridOptions{goEditing});
    Grid->SetCol(2);
    Grid->SetRow(2);
    const TRect Cell = Grid->CellRect(2, 2);
    ClickAt(Grid->Widget(), QPoint(Cell.Left + 5, Cell.Top + 5));
    QApplication::processEvents();
    ASSERT_NE(Edit(), nullptr);
    ASSERT_TRUE(Edit()->Visible());
    EXPECT_NE(Edit()->ClickTime(), 0u);
    ClickAt(EditWidget(), QPoint(5, 5));
    QApplication::processEvents();
    EXPECT_EQ(Grid->DblClicks, 1);
    EXPECT_EQ(Edit()->ClickTime(), 0u);
    // A second click is a plain click.
    ClickAt(EditWidget(), QPoint(5, 5));
    EXPECT_EQ(Grid->DblClicks, 1);
}

} // namespace
} // namespace gridtest
