// The base in-place editor driven as the operator drives it: real keys,
// wheel turns and clicks sent to the editor's own window on a shown form.
#include "grid/foundation/InplaceEdit.h"
#include "grid/foundation/StringGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <QWheelEvent>

#include <string>
#include <vector>

namespace {

using namespace grid;

// A string grid that counts what its editor hands back to it.
class ProbeGrid : public TStringGrid_ts {
public:
    using TStringGrid_ts::TStringGrid_ts;
    bool Modify = true;
    int Limit = 0;
    char Refused = 0;
    int Wheels = 0;
    int LastWheelDelta = 0;
    int KeyUps = 0;
    int DblClicks = 0;

    bool CanEditModify() override { return Modify && TStringGrid_ts::CanEditModify(); }
    int GetEditLimit() override { return Limit; }
    bool CanEditAcceptKey(char Key) override {
        return Key != Refused && TStringGrid_ts::CanEditAcceptKey(Key);
    }
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override {
        ++Wheels;
        LastWheelDelta = WheelDelta;
        return TStringGrid_ts::DoMouseWheel(Shift, WheelDelta, MousePos);
    }
    void KeyUp(Word& Key, TShiftState Shift) override {
        ++KeyUps;
        TStringGrid_ts::KeyUp(Key, Shift);
    }
    void DblClick() override {
        ++DblClicks;
        TStringGrid_ts::DblClick();
    }
};

class InplaceEditorS60dReading : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(20, 20, 640, 420);
        Grid = new ProbeGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 420, 300);
        Grid->SetColCount(4);
        Grid->SetRowCount(40);
        for (int R = 1; R < 40; ++R)
            for (int C = 1; C < 4; ++C)
                Grid->SetCells(C, R, "ab" + std::to_string(C) + std::to_string(R));
        ShowActive(*Form);
        Grid->SetFocus();
        QApplication::processEvents();
    }
    void TearDown() override { delete Form; }

    void Open(TGridOptions Extra = {}) {
        Grid->SetOptions(Grid->Options() + TGridOptions{goEditing} + Extra);
        Grid->SetEditorMode(true);
        QApplication::processEvents();
        ASSERT_NE(Grid->InplaceEditor(), nullptr);
        ASSERT_TRUE(Grid->InplaceEditor()->Visible());
    }
    TInplaceEdit* Ed() { return Grid->InplaceEditor(); }
    QWidget* EdW() { return Ed()->Widget(); }
    void Press(int QtKey, Qt::KeyboardModifiers Mods = Qt::NoModifier, const QString& Text = {}) {
        TypeKey(EdW(), QtKey, Text, Mods);
        QApplication::processEvents();
    }
    AnsiString Text() { return Ed()->Text(); }

    TForm* Form = nullptr;
    ProbeGrid* Grid = nullptr;
};

TEST_F(InplaceEditorS60dReading, LoadsTextMaskAndLimitOfTheCurrentCell) {
    Grid->Limit = 5;
    Grid->OnGetEditMask = [](TObject*, int C, int, AnsiString& V) {
        if (C == 2) V = "999;1;_";
    };
    Open();
    EXPECT_EQ(Text(), "ab11");
    EXPECT_EQ(Ed()->MaxLength(), 5);
    EXPECT_EQ(Ed()->EditMask(), "");
    Grid->SetCol(2);
    QApplication::processEvents();
    Ed()->UpdateContents();
    EXPECT_EQ(Ed()->EditMask(), "999;1;_");
}

TEST_F(InplaceEditorS60dReading, WheelOverTheEditorTurnsTheGridOnce) {
    Open();
    const int Row = Grid->Row();
    const QPoint At(5, 5);
    QWheelEvent E(QPointF(At), QPointF(EdW()->mapToGlobal(At)), QPoint(), QPoint(0, -120),
                  Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(EdW(), &E);
    QApplication::processEvents();
    EXPECT_EQ(Grid->Wheels, 1);
    EXPECT_EQ(Grid->LastWheelDelta, -120);
    EXPECT_EQ(Grid->Row(), Row);
}

TEST_F(InplaceEditorS60dReading, NavigationKeysGoToTheGrid) {
    struct Case {
        const char* Name;
        bool Always;
        int Caret;
        int Key;
        Qt::KeyboardModifiers Mods;
        int DCol, DRow;
    };
    const Case Cases[] = {
        {"down", false, 2, Qt::Key_Down, Qt::NoModifier, 0, 1},
        {"up", false, 2, Qt::Key_Up, Qt::NoModifier, 0, -1},
        {"left at caret 0, always", true, 0, Qt::Key_Left, Qt::NoModifier, -1, 0},
        {"left inside, always", true, 2, Qt::Key_Left, Qt::NoModifier, 0, 0},
        {"ctrl+left inside, always", true, 2, Qt::Key_Left, Qt::ControlModifier, -1, 0},
        {"right at end, always", true, 4, Qt::Key_Right, Qt::NoModifier, 1, 0},
        {"right inside, always", true, 2, Qt::Key_Right, Qt::NoModifier, 0, 0},
        {"home at caret 0 without always", false, 0, Qt::Key_Home, Qt::NoModifier, 0, 0},
        {"end at end without always", false, 4, Qt::Key_End, Qt::NoModifier, 0, 0},
        {"left at caret 0 without always", false, 0, Qt::Key_Left, Qt::NoModifier, 0, 0},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->SetOptions(DefaultGridOptions);
        Grid->SetCol(2);
        Grid->SetRow(5);
        Open(C.Always ? TGridOptions{goAlwaysShowEditor} : TGridOptions{});
        Ed()->SetSelStart(C.Caret);
        Ed()->SetSelLength(0);
        Press(C.Key, C.Mods);
        EXPECT_EQ(Grid->Col(), 2 + C.DCol);
        EXPECT_EQ(Grid->Row(), 5 + C.DRow);
        Grid->SetEditorMode(false);
    }
}

TEST_F(InplaceEditorS60dReading, ReadOnlyCellRefusesEveryChangeButNavigates) {
    Open();
    Grid->Modify = false;
    Ed()->SetSelStart(2);
    Ed()->SetSelLength(0);
    Press(Qt::Key_X, Qt::NoModifier, "x");
    Press(Qt::Key_Backspace, Qt::NoModifier, "\b");
    Press(Qt::Key_Delete);
    Ed()->SetSelStart(0);
    Ed()->SetSelLength(2);
    Press(Qt::Key_X, Qt::ControlModifier, QString(QChar(24)));
    Press(Qt::Key_V, Qt::ControlModifier, QString(QChar(22)));
    Ed()->Perform(WM_CUT, 0, 0);
    Ed()->Perform(WM_PASTE, 0, 0);
    Ed()->Perform(WM_CLEAR, 0, 0);
    EXPECT_EQ(Text(), "ab11");
    EXPECT_EQ(Grid->Cells(1, 1), "ab11");
    Press(Qt::Key_Down);
    EXPECT_EQ(Grid->Row(), 2);
}

TEST_F(InplaceEditorS60dReading, RefusedCharacterIsDropped) {
    Open();
    Grid->Refused = 'q';
    Ed()->SetSelStart(4);
    Ed()->SetSelLength(0);
    Press(Qt::Key_Q, Qt::NoModifier, "q");
    Press(Qt::Key_Z, Qt::NoModifier, "z");
    EXPECT_EQ(Text(), "ab11z");
}

TEST_F(InplaceEditorS60dReading, EnterTogglesWholeTextAndCaretAtEnd) {
    // Without an always-shown editor the grid takes Enter to close it.
    Open(TGridOptions{goAlwaysShowEditor});
    Ed()->SetSelStart(1);
    Ed()->SetSelLength(1);
    Press(Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(Ed()->SelStart(), 0);
    EXPECT_EQ(Ed()->SelLength(), 4);
    Press(Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(Ed()->SelStart(), 4);
    EXPECT_EQ(Ed()->SelLength(), 0);
    EXPECT_EQ(Text(), "ab11");
}

TEST_F(InplaceEditorS60dReading, F2RunsTheGridEventThenDeselects) {
    std::vector<Word> Seen;
    Grid->OnKeyDown = [&](TObject* Sender, Word& Key, TShiftState) {
        EXPECT_EQ(Sender, Grid);
        Seen.push_back(Key);
    };
    Open();
    Ed()->SelectAll();
    Press(Qt::Key_F2);
    ASSERT_FALSE(Seen.empty());
    EXPECT_EQ(Seen.front(), 113);
    EXPECT_EQ(Ed()->SelStart(), 4);
    EXPECT_EQ(Ed()->SelLength(), 0);
}

TEST_F(InplaceEditorS60dReading, KeyUpAndTabGoToTheGrid) {
    Open(TGridOptions{goTabs});
    Grid->KeyUps = 0;
    Press(Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_GE(Grid->KeyUps, 1);
    const int Col = Grid->Col();
    Press(Qt::Key_Tab, Qt::NoModifier, "\t");
    EXPECT_EQ(Grid->Col(), Col + 1);
}

TEST_F(InplaceEditorS60dReading, EmptyMoveHidesAndTheGridTakesTheFocus) {
    Open();
    ASSERT_TRUE(Ed()->Focused());
    // Focusing the focused editor again keeps it open and focused.
    Ed()->SetFocus();
    QApplication::processEvents();
    ASSERT_TRUE(Ed()->Visible());
    ASSERT_TRUE(Ed()->Focused());
    Ed()->Move(Rect(0, 0, 0, 0));
    QApplication::processEvents();
    EXPECT_FALSE(Ed()->Visible());
    EXPECT_TRUE(Grid->Focused());
    Ed()->Move(Rect(10, 10, 90, 30));
    QApplication::processEvents();
    EXPECT_TRUE(Ed()->Visible());
    EXPECT_TRUE(Ed()->PosEqual(Rect(10, 10, 90, 30)));
    EXPECT_TRUE(Ed()->Focused());
}

TEST_F(InplaceEditorS60dReading, QuickClickAfterTheGridClickIsADoubleClick) {
    Open();
    Grid->DblClicks = 0;
    const TRect R = Grid->CellRect(Grid->Col(), Grid->Row());
    ClickAt(Grid->Widget(), QPoint(R.Left + 3, R.Top + 3));
    QApplication::processEvents();
    ASSERT_TRUE(Ed()->Visible());
    ClickAt(EdW(), QPoint(3, 3));
    QApplication::processEvents();
    EXPECT_EQ(Grid->DblClicks, 1);
    EXPECT_EQ(Ed()->ClickTime(), 0u);
}

} // namespace
