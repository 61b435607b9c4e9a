// The in-place editor of the base grid, driven by real key events on a
// shown string grid.
#include "BaseGridFixture.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <QApplication>
#include <QClipboard>

namespace gridtest {
namespace {

// A string grid whose owner can forbid changing the text.
class TMaskLockableGrid : public TStringGrid_ts {
public:
    using TStringGrid_ts::TStringGrid_ts;
    bool Locked = false;
    AnsiString Mask;
    int Limit = 0;

protected:
    bool CanEditModify() override { return !Locked && TStringGrid_ts::CanEditModify(); }
    AnsiString GetEditMask(int, int) override { return Mask; }
    int GetEditLimit() override { return Limit; }
};

class InplaceEditorReading : public GridOnForm<TMaskLockableGrid> {
protected:
    void SetUp() override {
        GridOnForm<TMaskLockableGrid>::SetUp();
        QApplication::setActiveWindow(Form->Widget());
        Grid->SetColCount(5);
        Grid->SetRowCount(5);
        for (int C = 0; C < 5; ++C)
            for (int R = 0; R < 5; ++R)
                Grid->SetCells(C, R, "ab" + std::to_string(C) + std::to_string(R));
    }
    void Open(TGridOptions Extra = {}) {
        Grid->SetOptions(Grid->Options() + TGridOptions{goEditing} + Extra);
        Grid->SetCol(2);
        Grid->SetRow(2);
        Grid->SetEditorMode(true);
        QApplication::processEvents();
        ASSERT_NE(Grid->InplaceEditor(), nullptr);
        ASSERT_TRUE(Grid->InplaceEditor()->Visible());
    }
    TInplaceEdit* Ed() { return Grid->InplaceEditor(); }
    void Press(int QtKey, Qt::KeyboardModifiers Mods = Qt::NoModifier, const QString& Text = {}) {
        TypeKey(Ed()->Widget(), QtKey, Text, Mods);
        QApplication::processEvents();
    }
    std::string Cur() { return std::to_string(Grid->Col()) + "," + std::to_string(Grid->Row()); }
};

TEST_F(InplaceEditorReading, LeftAndRightLeaveTheEditorOnlyAtItsEdgesWhenItAlwaysShows) {
    struct Case {
        const char* Name;
        bool Always;
        int Caret;
        int QtKey;
        Qt::KeyboardModifiers Mods;
        const char* Cell;
        int CaretAfter;
    };
    const Case Cases[] = {
        {"left at start", true, 0, Qt::Key_Left, Qt::NoModifier, "1,2", -1},
        {"left inside", true, 2, Qt::Key_Left, Qt::NoModifier, "2,2", 1},
        {"ctrl left inside", true, 2, Qt::Key_Left, Qt::ControlModifier, "1,2", -1},
        {"right at end", true, 4, Qt::Key_Right, Qt::NoModifier, "3,2", -1},
        {"right inside", true, 2, Qt::Key_Right, Qt::NoModifier, "2,2", 3},
        {"home at start", true, 0, Qt::Key_Home, Qt::NoModifier, "1,2", -1},
        {"end at end", true, 4, Qt::Key_End, Qt::NoModifier, "4,2", -1},
        {"home without always", false, 0, Qt::Key_Home, Qt::NoModifier, "2,2", 0},
        {"end without always", false, 4, Qt::Key_End, Qt::NoModifier, "2,2", 4},
        {"left at start without always", false, 0, Qt::Key_Left, Qt::NoModifier, "2,2", 0},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->SetEditorMode(false);
        Grid->SetOptions(DefaultGridOptions);
        Open(C.Always ? TGridOptions{goAlwaysShowEditor} : TGridOptions{});
        Ed()->SetSelStart(C.Caret);
        Ed()->SetSelLength(0);
        Press(C.QtKey, C.Mods);
        EXPECT_EQ(Cur(), C.Cell);
        if (C.CaretAfter >= 0) {
            EXPECT_EQ(Ed()->SelStart(), C.CaretAfter);
        }
    }
}

TEST_F(InplaceEditorReading, NavigationKeysGoToTheGrid) {
    struct Case {
        const char* Name;
        int QtKey;
        Qt::KeyboardModifiers Mods;
        const char* Cell;
    };
    const Case Cases[] = {
        {"up", Qt::Key_Up, Qt::NoModifier, "2,1"},
        {"down", Qt::Key_Down, Qt::NoModifier, "2,3"},
        {"tab with goTabs", Qt::Key_Tab, Qt::NoModifier, "3,2"},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->SetEditorMode(false);
        Open({goTabs});
        Press(C.QtKey, C.Mods);
        EXPECT_EQ(Cur(), C.Cell);
        EXPECT_EQ(Grid->Cells(2, 2), "ab22");
    }
}

TEST_F(InplaceEditorReading, ALockedTextTakesNoChangeButNavigationStillWorks) {
    Open();
    Grid->Locked = true;
    Ed()->SetSelStart(2);
    Ed()->SetSelLength(0);
    Press(Qt::Key_X, Qt::NoModifier, "x");
    Press(Qt::Key_Backspace, Qt::NoModifier, "\b");
    Press(Qt::Key_Delete);
    QApplication::clipboard()->setText("zz");
    Ed()->SelectAll();
    Press(Qt::Key_V, Qt::ControlModifier, QString(QChar(22)));
    Press(Qt::Key_X, Qt::ControlModifier, QString(QChar(24)));
    Press(Qt::Key_Insert, Qt::ShiftModifier);
    Ed()->Perform(WM_PASTE, 0, 0);
    Ed()->Perform(WM_CUT, 0, 0);
    Ed()->Perform(WM_CLEAR, 0, 0);
    EXPECT_EQ(Ed()->Text(), "ab22");
    Press(Qt::Key_Down);
    EXPECT_EQ(Cur(), "2,3");
    EXPECT_EQ(Grid->Cells(2, 2), "ab22");
}

TEST_F(InplaceEditorReading, TypingWhenFreeChangesTheCell) {
    Open();
    Ed()->SetSelStart(4);
    Ed()->SetSelLength(0);
    Press(Qt::Key_X, Qt::NoModifier, "x");
    EXPECT_EQ(Ed()->Text(), "ab22x");
    Press(Qt::Key_Backspace, Qt::NoModifier, "\b");
    Press(Qt::Key_Backspace, Qt::NoModifier, "\b");
    EXPECT_EQ(Ed()->Text(), "ab2");
    Press(Qt::Key_Down);
    EXPECT_EQ(Grid->Cells(2, 2), "ab2");
}

TEST_F(InplaceEditorReading, EnterTogglesWholeTextSelectedAndCaretAtEnd) {
    Open({goAlwaysShowEditor});
    Ed()->SetSelStart(1);
    Ed()->SetSelLength(1);
    Press(Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(Ed()->SelStart(), 0);
    EXPECT_EQ(Ed()->SelLength(), 4);
    Press(Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(Ed()->SelStart(), 4);
    EXPECT_EQ(Ed()->SelLength(), 0);
    EXPECT_EQ(Ed()->Text(), "ab22");
    EXPECT_EQ(Cur(), "2,2");
}

TEST_F(InplaceEditorReading, F2RunsTheGridKeyEventThenPutsTheCaretAtTheEnd) {
    std::vector<Word> Seen;
    Grid->OnKeyDown = [&](TObject*, Word& K, TShiftState) { Seen.push_back(K); };
    Open();
    Ed()->SelectAll();
    Press(Qt::Key_F2);
    ASSERT_FALSE(Seen.empty());
    EXPECT_EQ(Seen.back(), 113);
    EXPECT_EQ(Ed()->SelStart(), 4);
    EXPECT_EQ(Ed()->SelLength(), 0);
}

TEST_F(InplaceEditorReading, EachKeyReachesTheGridKeyEventOnce) {
    struct Case {
        const char* Name;
        int QtKey;
        QString Text;
        Word Key;
    };
    const Case Cases[] = {
        {"escape", Qt::Key_Escape, {}, 27},
        {"down", Qt::Key_Down, {}, 40},
        {"page down", Qt::Key_PageDown, {}, 34},
        {"letter", Qt::Key_Q, "q", 'Q'},
        {"f2", Qt::Key_F2, {}, 113},
        {"insert", Qt::Key_Insert, {}, 45},
    };
    std::vector<Word> Seen;
    Grid->OnKeyDown = [&](TObject*, Word& K, TShiftState) { Seen.push_back(K); };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->SetEditorMode(false);
        Open();
        Seen.clear();
        Press(C.QtKey, Qt::NoModifier, C.Text);
        EXPECT_EQ(Seen, std::vector<Word>{C.Key});
    }
}

TEST_F(InplaceEditorReading, MoveWithAnEmptyRectangleHidesAndAPlaceShowsAgain) {
    Open();
    Ed()->Move(TRect{0, 0, 0, 0});
    EXPECT_FALSE(Ed()->Visible());
    Ed()->Move(TRect{10, 10, 80, 30});
    EXPECT_TRUE(Ed()->Visible());
    EXPECT_TRUE(Ed()->PosEqual(TRect{10, 10, 80, 30}));
    Ed()->Hide();
    EXPECT_FALSE(Ed()->Visible());
    EXPECT_TRUE(Grid->Focused());
}

TEST_F(InplaceEditorReading, ReloadTakesTextMaskAndLimitOfTheCurrentCell) {
    Open();
    Grid->SetCells(2, 2, "1234");
    Grid->Mask = "0000;1;_";
    Grid->Limit = 6;
    Ed()->UpdateContents();
    EXPECT_EQ(Ed()->EditMask(), "0000;1;_");
    EXPECT_EQ(Ed()->Text(), "1234");
    EXPECT_EQ(Ed()->MaxLength(), 6);
    Grid->Mask = "";
    Grid->SetCells(2, 2, "plain");
    Ed()->UpdateContents();
    EXPECT_EQ(Ed()->Text(), "plain");
    EXPECT_EQ(Ed()->EditMask(), "");
}

TEST_F(InplaceEditorReading, ALimitBelowTheCellsLengthLosesNothing) {
    Grid->Limit = 2;
    Open();
    EXPECT_EQ(Ed()->Text(), "ab22");
    Press(Qt::Key_Down);
    EXPECT_EQ(Grid->Cells(2, 2), "ab22");
    // The limit still holds for what is typed.
    Grid->SetCells(2, 3, "");
    Grid->SetEditorMode(true);
    Press(Qt::Key_A, Qt::NoModifier, "a");
    Press(Qt::Key_B, Qt::NoModifier, "b");
    Press(Qt::Key_C, Qt::NoModifier, "c");
    EXPECT_EQ(Grid->Cells(2, 3), "ab");
}

} // namespace
} // namespace gridtest
