// The base grid's in-place editor driven by real keys, wheel turns and
// clicks on a shown string grid: which keys it hands back to the grid,
// what it refuses when the grid forbids changes, and how it is placed.
#include "grid/foundation/InplaceEdit.h"
#include "grid/foundation/StringGrid.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <QClipboard>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace grid;

namespace {

class ProbeEditGrid : public TStringGrid_ts {
public:
    using TStringGrid_ts::TStringGrid_ts;
    bool Modify = true;
    int Limit = 0;
    std::vector<std::string> Calls;
    bool CanEditModify() override { return Modify && TStringGrid_ts::CanEditModify(); }
    int GetEditLimit() override { return Limit; }
    void DblClick() override {
        Calls.push_back("dblclick");
        TStringGrid_ts::DblClick();
    }
    void KeyUp(Word& Key, TShiftState Shift) override {
        Calls.push_back("keyup " + std::to_string(Key));
        TStringGrid_ts::KeyUp(Key, Shift);
    }
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override {
        Calls.push_back("wheel " + std::to_string(WheelDelta));
        return TStringGrid_ts::DoMouseWheel(Shift, WheelDelta, MousePos);
    }
};

class InplaceEditKeysReading : public ::testing::Test {
protected:
    void Open(TGridOptions Extra = {}) {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(20, 20, 600, 400);
        Grid = new ProbeEditGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetColCount(6);
        Grid->SetRowCount(6);
        Grid->SetOptions(DefaultGridOptions + TGridOptions{goEditing} + Extra);
        for (int C = 1; C < 6; ++C)
            for (int R = 1; R < 6; ++R) Grid->SetCells(C, R, "abc");
        ShowActive(*Form);
        Grid->SetFocus();
        Grid->SetCol(2);
        Grid->SetRow(2);
        Grid->ShowEditor();
        QApplication::processEvents();
        Ed = Grid->InplaceEditor();
        ASSERT_NE(Ed, nullptr);
        ASSERT_TRUE(Ed->Visible());
    }
    void TearDown() override { delete Form; }
    void Press(int QtKey, Qt::KeyboardModifiers Mods = Qt::NoModifier, const QString& Text = {}) {
        TypeKey(Ed->Widget(), QtKey, Text, Mods);
        QApplication::processEvents();
    }
    void Caret(int Start, int Length) {
        Ed->SetSelStart(Start);
        Ed->SetSelLength(Length);
    }

    TForm* Form = nullptr;
    ProbeEditGrid* Grid = nullptr;
    TInplaceEdit* Ed = nullptr;
};

struct KeyCase {
    const char* Name;
    bool AlwaysShow;
    int SelStart, SelLength;
    int QtKey;
    Qt::KeyboardModifiers Mods;
    int Col, Row;   // the grid's current cell afterwards (from 2,2)
    int CaretAfter; // the editor's caret afterwards when the key stayed in it, else -1
};

TEST_F(InplaceEditKeysReading, NavigationKeysGoToTheGridOnlyWhereTheCaretCannotMove) {
    const KeyCase Cases[] = {
        {"left at start", true, 0, 0, Qt::Key_Left, Qt::NoModifier, 1, 2, -1},
        {"left inside", true, 2, 0, Qt::Key_Left, Qt::NoModifier, 2, 2, 1},
        {"left, all selected", true, 0, 3, Qt::Key_Left, Qt::NoModifier, 1, 2, -1},
        {"ctrl+left inside", true, 2, 0, Qt::Key_Left, Qt::ControlModifier, 1, 2, -1},
        {"home at start", true, 0, 0, Qt::Key_Home, Qt::NoModifier, 1, 2, -1},
        {"right at end", true, 3, 0, Qt::Key_Right, Qt::NoModifier, 3, 2, -1},
        {"right inside", true, 1, 0, Qt::Key_Right, Qt::NoModifier, 2, 2, 2},
        {"right, all selected", true, 0, 3, Qt::Key_Right, Qt::NoModifier, 3, 2, -1},
        {"end at end", true, 3, 0, Qt::Key_End, Qt::NoModifier, 5, 2, -1},
        {"home without always-show", false, 2, 0, Qt::Key_Home, Qt::NoModifier, 2, 2, 0},
        {"end without always-show", false, 1, 0, Qt::Key_End, Qt::NoModifier, 2, 2, 3},
        {"left at start without always-show", false, 0, 0, Qt::Key_Left, Qt::NoModifier, 2, 2, 0},
        {"up", false, 1, 0, Qt::Key_Up, Qt::NoModifier, 2, 1, -1},
        {"down", false, 1, 0, Qt::Key_Down, Qt::NoModifier, 2, 3, -1},
        {"page down", true, 1, 0, Qt::Key_PageDown, Qt::NoModifier, 2, 5, -1},
    };
    for (const KeyCase& K : Cases) {
        SCOPED_TRACE(K.Name);
        Open(K.AlwaysShow ? TGridOptions{goAlwaysShowEditor} : TGridOptions{});
        Caret(K.SelStart, K.SelLength);
        Press(K.QtKey, K.Mods);
        EXPECT_EQ(Grid->Col(), K.Col);
        EXPECT_EQ(Grid->Row(), K.Row);
        if (K.CaretAfter >= 0) EXPECT_EQ(Ed->SelStart(), K.CaretAfter);
        delete Form;
        Form = nullptr;
    }
}

TEST_F(InplaceEditKeysReading, TabGoesToTheGridWithTabsUnlessAltIsHeld) {
    Open(TGridOptions{goTabs});
    Press(Qt::Key_Tab, Qt::AltModifier);
    EXPECT_EQ(Grid->Col(), 2);
    Press(Qt::Key_Tab);
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->Row(), 2);
}

TEST_F(InplaceEditKeysReading, AReadOnlyCellRefusesEveryChangeButStillNavigates) {
    Open();
    Grid->Modify = false;
    QApplication::clipboard()->setText("zz");
    // Each key with the text a keyboard gives it.
    const struct {
        int Key;
        Qt::KeyboardModifiers Mods;
        QString Text;
    } Keys[] = {
        {Qt::Key_X, Qt::NoModifier, "x"},
        {Qt::Key_Delete, Qt::NoModifier, "\x7f"},
        {Qt::Key_Backspace, Qt::NoModifier, "\b"},
        {Qt::Key_V, Qt::ControlModifier, "\x16"},
        {Qt::Key_X, Qt::ControlModifier, "\x18"},
        {Qt::Key_Insert, Qt::ShiftModifier, ""},
    };
    for (const auto& K : Keys) {
        SCOPED_TRACE(K.Key);
        Caret(1, 1);
        Press(K.Key, K.Mods, K.Text);
        EXPECT_EQ(Ed->Text(), "abc");
    }
    EXPECT_EQ(Grid->Cells(2, 2), "abc");
    Press(Qt::Key_Down);
    EXPECT_EQ(Grid->Row(), 3);
}

TEST_F(InplaceEditKeysReading, EnterTogglesBetweenAllSelectedAndTheCaretAtTheEnd) {
    Open(TGridOptions{goAlwaysShowEditor});
    Caret(1, 0);
    Press(Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(Ed->SelStart(), 0);
    EXPECT_EQ(Ed->SelLength(), 3);
    Press(Qt::Key_Return, Qt::NoModifier, "\r");
    EXPECT_EQ(Ed->SelStart(), 3);
    EXPECT_EQ(Ed->SelLength(), 0);
    EXPECT_EQ(Ed->Text(), "abc");
    EXPECT_EQ(Grid->Row(), 2);
}

TEST_F(InplaceEditKeysReading, F2RunsTheGridsKeyEventAndPutsTheCaretAfterTheText) {
    Open();
    std::vector<Word> Seen;
    Grid->OnKeyDown = [&](TObject* Sender, Word& Key, TShiftState) {
        EXPECT_EQ(Sender, Grid);
        Seen.push_back(Key);
    };
    Caret(0, 3);
    Press(Qt::Key_F2);
    EXPECT_EQ(Seen, std::vector<Word>{113});
    EXPECT_EQ(Ed->SelStart(), 3);
    EXPECT_EQ(Ed->SelLength(), 0);
}

TEST_F(InplaceEditKeysReading, ReloadingTakesTextMaskAndLimitFromTheGridAndKeepsTheCell) {
    Open();
    std::vector<std::string> Written;
    Grid->OnSetEditText = [&](TObject*, int C, int R, const AnsiString& Value) {
        Written.push_back(std::to_string(C) + "," + std::to_string(R) + " " + Value);
    };
    Grid->Limit = 4;
    Grid->OnGetEditMask = [](TObject*, int C, int R, AnsiString& Value) {
        if (C == 2 && R == 2) Value = "000;1;_";
    };
    Grid->SetCells(2, 2, "123");
    Written.clear();
    Ed->UpdateContents();
    EXPECT_EQ(Ed->EditMask(), "000;1;_");
    EXPECT_EQ(Ed->Text(), "123");
    EXPECT_EQ(Ed->MaxLength(), 4);
    EXPECT_EQ(Grid->Cells(2, 2), "123");
    EXPECT_TRUE(Written.empty());
    // What the user types still reaches the cell.
    Ed->SetSelStart(3);
    Ed->SetSelLength(0);
    Grid->OnGetEditMask = nullptr;
    Grid->SetCells(2, 2, "ab");
    Ed->SetSelStart(2);
    TypeKey(Ed->Widget(), Qt::Key_C, "c");
    EXPECT_EQ(Grid->Cells(2, 2), "abc");
}

TEST_F(InplaceEditKeysReading, KeyUpAndTheWheelOverTheEditorReachTheGrid) {
    Open();
    Press(Qt::Key_A, Qt::NoModifier, "a");
    EXPECT_NE(std::find(Grid->Calls.begin(), Grid->Calls.end(), "keyup 65"), Grid->Calls.end());
    QWidget* W = Ed->Widget();
    QWheelEvent Wheel(QPointF(5, 5), QPointF(W->mapToGlobal(QPoint(5, 5))), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(W, &Wheel);
    EXPECT_NE(std::find(Grid->Calls.begin(), Grid->Calls.end(), "wheel -120"), Grid->Calls.end());
}

TEST_F(InplaceEditKeysReading, AQuickClickOnTheEditorAfterOneOnTheGridIsADoubleClick) {
    Open();
    Grid->HideEditor();
    const TRect R = Grid->CellRect(3, 3);
    ClickAt(Grid->Widget(), QPoint(R.Left + 5, R.Top + 5));
    QApplication::processEvents();
    Grid->ShowEditor();
    QApplication::processEvents();
    ClickAt(Ed->Widget(), QPoint(3, 3));
    QApplication::processEvents();
    EXPECT_EQ(std::count(Grid->Calls.begin(), Grid->Calls.end(), "dblclick"), 1);
    EXPECT_EQ(Ed->ClickTime(), 0u);
}

TEST_F(InplaceEditKeysReading, MovingPlacesShowsAndHidesTheEditor) {
    Open();
    const TRect Place{50, 40, 120, 60};
    Ed->Move(Place);
    EXPECT_TRUE(Ed->Visible());
    EXPECT_TRUE(Ed->PosEqual(Place));
    EXPECT_TRUE(Ed->Focused());
    Ed->UpdateLoc(TRect{10, 10, 60, 30});
    EXPECT_TRUE(Ed->PosEqual(TRect{10, 10, 60, 30}));
    Ed->Move(TRect{0, 0, 0, 0});
    EXPECT_FALSE(Ed->Visible());
    EXPECT_TRUE(Grid->Focused());
    Ed->SetFocus();
    EXPECT_TRUE(Grid->Focused());
}

} // namespace
