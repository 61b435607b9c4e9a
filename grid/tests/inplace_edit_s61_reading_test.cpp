// The base grid's in-place editor driven the way a user drives it: keys,
// characters, clipboard commands, the wheel and clicks on a shown string
// grid, with the grid deciding whether the text may change.
#include "grid/foundation/InplaceEdit.h"
#include "grid/foundation/StringGrid.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/WindowScroll.h"
#include "platform/gui/tests/GuiTestSupport.h"
#include "platform/rtl/Clock.h"

#include <QWheelEvent>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace grid;

namespace {

// A string grid whose cells may be made read-only and that records the
// relays its editor makes.
class TestGrid : public TStringGrid_ts {
public:
    using TStringGrid_ts::TStringGrid_ts;
    bool ReadOnly = false;
    char Refused = 0;
    int Limit = 0;
    int Wheels = 0;
    int LastWheelDelta = 0;

protected:
    int GetEditLimit() override { return Limit; }
    bool CanEditModify() override { return !ReadOnly && TStringGrid_ts::CanEditModify(); }
    bool CanEditAcceptKey(char Key) override {
        return Key != Refused && TStringGrid_ts::CanEditAcceptKey(Key);
    }
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override {
        ++Wheels;
        LastWheelDelta = WheelDelta;
        return TStringGrid_ts::DoMouseWheel(Shift, WheelDelta, MousePos);
    }
};

class InplaceEditReadingTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 500, 300);
        Grid = new TestGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 400, 200);
        Grid->SetColCount(4);
        Grid->SetRowCount(30);
        Grid->SetOptions(DefaultGridOptions + TGridOptions{goEditing});
        for (int C = 1; C < 4; ++C)
            for (int R = 1; R < 30; ++R)
                Grid->SetCells(C, R, "c" + std::to_string(C) + "r" + std::to_string(R));
        ShowActive(*Form);
        Grid->SetFocus();
        QApplication::processEvents();
    }
    void TearDown() override { delete Form; }

    static constexpr int WholeText = -2;
    // Opens the editor on cell (2, 2) with the caret at Caret (or the whole
    // text selected).
    TInplaceEdit* Edit(int Caret = -1) {
        Grid->SetCol(2);
        Grid->SetRow(2);
        Grid->SetEditorMode(true);
        QApplication::processEvents();
        TInplaceEdit* E = Grid->InplaceEditor();
        EXPECT_NE(E, nullptr);
        if (E && Caret == WholeText) E->SelectAll();
        if (E && Caret >= 0) {
            E->SetSelStart(Caret);
            E->SetSelLength(0);
        }
        return E;
    }
    void Key(int QtKey, Qt::KeyboardModifiers Mods = Qt::NoModifier, const QString& Text = {}) {
        TypeKey(Grid->InplaceEditor()->Widget(), QtKey, Text, Mods);
        QApplication::processEvents();
    }

    TForm* Form = nullptr;
    TestGrid* Grid = nullptr;
};

TEST_F(InplaceEditReadingTest, TheEditorIsABorderlessEditLoadedFromTheGrid) {
    Grid->OnGetEditMask = [](TObject*, int, int, AnsiString& Mask) { Mask = ">aaaa;1;_"; };
    TInplaceEdit* E = Edit();
    ASSERT_NE(E, nullptr);
    EXPECT_EQ(E->Grid(), Grid);
    EXPECT_FALSE(E->TabStop());
    EXPECT_FALSE(E->ParentCtl3D());
    EXPECT_EQ(E->BorderStyle(), bsNone);
    EXPECT_EQ(E->EditMask(), ">aaaa;1;_");
    EXPECT_TRUE(E->Visible());
    EXPECT_TRUE(E->PosEqual(Grid->CellRect(2, 2)));
}

TEST_F(InplaceEditReadingTest, NavigationKeysGoToTheGridOrStayInTheEditor) {
    struct Case {
        const char* What;
        bool AlwaysShow;
        int Caret;
        int QtKey;
        Qt::KeyboardModifiers Mods;
        int Col, Row;  // the grid's current cell afterwards
        int SelStart;  // the caret afterwards, -1 = not checked
    } const Cases[] = {
        {"Down", false, 2, Qt::Key_Down, Qt::NoModifier, 2, 3, -1},
        {"Up", false, 2, Qt::Key_Up, Qt::NoModifier, 2, 1, -1},
        {"Page Down", false, 2, Qt::Key_PageDown, Qt::NoModifier, 2, -1, -1},
        {"Left at 0 with always-show", true, 0, Qt::Key_Left, Qt::NoModifier, 1, 2, -1},
        {"Left inside with always-show", true, 2, Qt::Key_Left, Qt::NoModifier, 2, 2, 1},
        {"Ctrl+Left inside with always-show", true, 2, Qt::Key_Left, Qt::ControlModifier, 1, 2,
         -1},
        {"Right at the end with always-show", true, 4, Qt::Key_Right, Qt::NoModifier, 3, 2, -1},
        {"Right inside with always-show", true, 2, Qt::Key_Right, Qt::NoModifier, 2, 2, 3},
        {"Left at 0 without always-show", false, 0, Qt::Key_Left, Qt::NoModifier, 2, 2, 0},
        {"Home without always-show", false, 2, Qt::Key_Home, Qt::NoModifier, 2, 2, 0},
        {"End without always-show", false, 2, Qt::Key_End, Qt::NoModifier, 2, 2, 4},
        {"Home at 0 with always-show", true, 0, Qt::Key_Home, Qt::NoModifier, 1, 2, -1},
        {"Left over the whole text with always-show", true, WholeText, Qt::Key_Left,
         Qt::NoModifier, 1, 2, -1},
        {"Right over the whole text with always-show", true, WholeText, Qt::Key_Right,
         Qt::NoModifier, 3, 2, -1},
        {"End inside with always-show", true, 1, Qt::Key_End, Qt::NoModifier, 2, 2, 4},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        TGridOptions O = DefaultGridOptions + TGridOptions{goEditing};
        if (C.AlwaysShow) O = O + TGridOptions{goAlwaysShowEditor};
        Grid->SetOptions(O);
        Grid->SetTopRow(1);
        Edit(C.Caret);
        Key(C.QtKey, C.Mods);
        EXPECT_EQ(Grid->Col(), C.Col);
        if (C.Row >= 0)
            EXPECT_EQ(Grid->Row(), C.Row);
        else
            EXPECT_GT(Grid->Row(), 3);
        if (C.SelStart >= 0) EXPECT_EQ(Grid->InplaceEditor()->SelStart(), C.SelStart);
        Grid->SetEditorMode(false);
    }
}

TEST_F(InplaceEditReadingTest, TabGoesToTheGridOnlyWithTabsAndWithoutAlt) {
    Grid->SetOptions(DefaultGridOptions + TGridOptions{goEditing, goTabs});
    Edit(1);
    Key(Qt::Key_Tab);
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->Row(), 2);
}

TEST_F(InplaceEditReadingTest, EnterTogglesBetweenAllSelectedAndTheCaretAtTheEnd) {
    // Without always-show the grid's own Enter hides the editor first.
    Grid->SetOptions(DefaultGridOptions + TGridOptions{goEditing, goAlwaysShowEditor});
    TInplaceEdit* E = Edit(1);
    const int Len = static_cast<int>(E->Text().size());
    for (int Round = 0; Round < 2; ++Round) {
        Key(Qt::Key_Return, Qt::NoModifier, "\r");
        EXPECT_EQ(E->SelStart(), 0);
        EXPECT_EQ(E->SelLength(), Len);
        Key(Qt::Key_Return, Qt::NoModifier, "\r");
        EXPECT_EQ(E->SelStart(), Len);
        EXPECT_EQ(E->SelLength(), 0);
    }
    EXPECT_EQ(E->Text(), "c2r2");
}

TEST_F(InplaceEditReadingTest, AReadOnlyCellRefusesEveryChangeButKeepsNavigation) {
    Clipboard()->SetAsText("PASTED");
    struct Case {
        const char* What;
        int QtKey;
        Qt::KeyboardModifiers Mods;
        const char* Text;
    } const Cases[] = {
        {"typing", Qt::Key_X, Qt::NoModifier, "x"},
        {"Delete", Qt::Key_Delete, Qt::NoModifier, ""},
        {"Backspace", Qt::Key_Backspace, Qt::NoModifier, "\b"},
        {"Ctrl+V", Qt::Key_V, Qt::ControlModifier, "\x16"},
        {"Ctrl+X", Qt::Key_X, Qt::ControlModifier, "\x18"},
        {"Shift+Insert", Qt::Key_Insert, Qt::ShiftModifier, ""},
        {"Shift+Delete", Qt::Key_Delete, Qt::ShiftModifier, ""},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        Grid->ReadOnly = true;
        TInplaceEdit* E = Edit(2);
        E->SetSelStart(1);
        E->SetSelLength(2);
        Key(C.QtKey, C.Mods, C.Text);
        EXPECT_EQ(E->Text(), "c2r2");
        EXPECT_EQ(Grid->Cells(2, 2), "c2r2");
        Grid->SetEditorMode(false);
    }
    Edit(2);
    Key(Qt::Key_Down);
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_EQ(Grid->Cells(2, 2), "c2r2");
}

TEST_F(InplaceEditReadingTest, WritableCellTakesTheSameKeys) {
    Clipboard()->SetAsText("P");
    struct Case {
        const char* What;
        int QtKey;
        Qt::KeyboardModifiers Mods;
        const char* Text;
        const char* After;
    } const Cases[] = {
        {"typing", Qt::Key_X, Qt::NoModifier, "x", "cxr2"},
        {"Delete", Qt::Key_Delete, Qt::NoModifier, "", "cr2"},
        {"Backspace", Qt::Key_Backspace, Qt::NoModifier, "\b", "cr2"},
        {"Ctrl+V", Qt::Key_V, Qt::ControlModifier, "\x16", "cPr2"},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        Grid->SetCells(2, 2, "c2r2");
        TInplaceEdit* E = Edit();
        E->SetSelStart(1);
        E->SetSelLength(1);
        Key(C.QtKey, C.Mods, C.Text);
        EXPECT_EQ(E->Text(), C.After);
        Grid->SetEditorMode(false);
    }
}

TEST_F(InplaceEditReadingTest, ACharacterTheGridRefusesIsDropped) {
    Grid->Refused = 'q';
    TInplaceEdit* E = Edit(4);
    Key(Qt::Key_Q, Qt::NoModifier, "q");
    Key(Qt::Key_Z, Qt::NoModifier, "z");
    EXPECT_EQ(E->Text(), "c2r2z");
}

TEST_F(InplaceEditReadingTest, TheGridsEditLimitBoundsTheTypedText) {
    Grid->Limit = 5;
    TInplaceEdit* E = Edit(4);
    EXPECT_EQ(E->MaxLength(), 5);
    Key(Qt::Key_X, Qt::NoModifier, "x");
    Key(Qt::Key_Y, Qt::NoModifier, "y");
    EXPECT_EQ(E->Text(), "c2r2x");
}

TEST_F(InplaceEditReadingTest, KeyEventsOfTheEditorReachTheGridsHandlers) {
    std::vector<std::string> Seen;
    Grid->OnKeyDown = [&](TObject* Sender, Word& Key, TShiftState) {
        if (Sender == Grid) Seen.push_back("down " + std::to_string(Key));
    };
    Grid->OnKeyUp = [&](TObject* Sender, Word& Key, TShiftState) {
        if (Sender == Grid) Seen.push_back("up " + std::to_string(Key));
    };
    Grid->OnKeyPress = [&](TObject* Sender, char& Key) {
        if (Sender == Grid) Seen.push_back(std::string("press ") + Key);
    };
    Edit(4);
    Key(Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_EQ(Seen, (std::vector<std::string>{"down 65", "press a", "up 65"}));
    // A key handed to the grid raises the grid's event once, not again
    // from the editor.
    Seen.clear();
    Key(Qt::Key_Down);
    EXPECT_EQ(Seen, (std::vector<std::string>{"down 40", "up 40"}));
}

TEST_F(InplaceEditReadingTest, F2RaisesTheGridEventThenPutsTheCaretAfterTheText) {
    int F2Seen = 0;
    Grid->OnKeyDown = [&](TObject*, Word& Key, TShiftState) {
        if (Key == 113) ++F2Seen;
    };
    TInplaceEdit* E = Edit();
    E->SelectAll();
    Key(Qt::Key_F2);
    EXPECT_EQ(F2Seen, 1);
    EXPECT_EQ(E->SelStart(), 4);
    EXPECT_EQ(E->SelLength(), 0);
}

TEST_F(InplaceEditReadingTest, TheWheelOverTheEditorIsHandedToTheGrid) {
    TInplaceEdit* E = Edit(1);
    for (int Delta : {-120, 240}) {
        SCOPED_TRACE(Delta);
        const QPoint At(5, 5);
        QWheelEvent Wheel(QPointF(At), QPointF(E->Widget()->mapToGlobal(At)), QPoint(),
                          QPoint(0, Delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                          false);
        const int Before = Grid->Wheels;
        QApplication::sendEvent(E->Widget(), &Wheel);
        QApplication::processEvents();
        EXPECT_EQ(Grid->Wheels, Before + 1);
        EXPECT_EQ(Grid->LastWheelDelta, Delta);
        EXPECT_EQ(E->Text(), "c2r2");
    }
}

TEST_F(InplaceEditReadingTest, SetFocusTakesTheFocusOnlyWhenShown) {
    TInplaceEdit* E = Edit();
    E->SetFocus();
    QApplication::processEvents();
    EXPECT_TRUE(E->Focused());
    // The form counts the grid, not its editor, as the focused control.
    EXPECT_EQ(Form->ActiveControl(), Grid);
    E->SetSelStart(1);
    E->SetSelLength(2);
    E->SetFocus();
    QApplication::processEvents();
    EXPECT_TRUE(E->Focused());
    EXPECT_EQ(E->SelStart(), 1);
    EXPECT_EQ(E->SelLength(), 2);
    E->Hide();
    QApplication::processEvents();
    EXPECT_FALSE(E->Visible());
    EXPECT_TRUE(Grid->Focused());
    E->SetFocus();
    QApplication::processEvents();
    EXPECT_TRUE(Grid->Focused());
    EXPECT_FALSE(E->Focused());
}

TEST_F(InplaceEditReadingTest, MovingToAnEmptyRectangleHidesTheEditor) {
    TInplaceEdit* E = Edit();
    E->SetFocus();
    QApplication::processEvents();
    E->Move(TRect{0, 0, 0, 0});
    QApplication::processEvents();
    EXPECT_FALSE(E->Visible());
    EXPECT_TRUE(Grid->Focused());
    const TRect R = Grid->CellRect(3, 3);
    E->Move(R);
    QApplication::processEvents();
    EXPECT_TRUE(E->Visible());
    EXPECT_TRUE(E->PosEqual(R));
    EXPECT_TRUE(E->Focused());
}

TEST_F(InplaceEditReadingTest, AQuickClickAfterTheGridsClickIsADoubleClick) {
    ManualClock Manual(46000.0, 500000);
    ScopedClock Scoped(Manual);
    struct Case {
        int GapMs;
        int DoubleClicks;
    } const Cases[] = {{10, 1}, {static_cast<int>(GetDoubleClickTime()) + 50, 0}};
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.GapMs);
        Grid->SetEditorMode(false);
        Grid->SetOptions(DefaultGridOptions + TGridOptions{goEditing, goAlwaysShowEditor});
        int DoubleClicks = 0;
        Grid->OnDblClick = [&](TObject*) { ++DoubleClicks; };
        const TRect R = Grid->CellRect(3, 3);
        ClickAt(Grid->Widget(), QPoint(R.Left + 5, R.Top + 5));
        QApplication::processEvents();
        ASSERT_NE(Grid->InplaceEditor(), nullptr);
        ASSERT_TRUE(Grid->InplaceEditor()->Visible());
        Manual.Advance(C.GapMs);
        ClickAt(Grid->InplaceEditor()->Widget(), QPoint(5, 5));
        QApplication::processEvents();
        EXPECT_EQ(DoubleClicks, C.DoubleClicks);
        EXPECT_EQ(Grid->InplaceEditor()->ClickTime(), 0u);
        Grid->SetOptions(DefaultGridOptions + TGridOptions{goEditing});
        Manual.Advance(5000);
    }
}

} // namespace
