// The base grid's in-place editor driven through real key events on its
// shown window: navigation handed back to the grid, read-only grids that
// keep the text, Enter's select toggle, and placing by rectangle.
#include "BaseGridFixture.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/tests/GuiTestSupport.h"
#include "platform/rtl/Clock.h"


namespace gridtest {
namespace {

// A string grid whose permission to change the text the test decides.
class TLockableGrid : public TStringGrid_ts {
public:
    using TStringGrid_ts::TStringGrid_ts;
    bool Locked = false;
    char Refused = 0;
    int Limit = 0;
    int GetEditLimit() override { return Limit; }
    bool CanEditModify() override { return !Locked && TStringGrid_ts::CanEditModify(); }
    bool CanEditAcceptKey(char Key) override {
        return Key != Refused && TStringGrid_ts::CanEditAcceptKey(Key);
    }
};

class InplaceEditReadingQ1 : public GridOnForm<TLockableGrid> {
protected:
    void Open(TGridOptions Extra) {
        auto O = Grid->Options();
        O.Include(goEditing);
        for (auto Opt : {goAlwaysShowEditor, goTabs})
            if (Extra.Contains(Opt))
                O.Include(Opt);
        Grid->SetOptions(O);
        Grid->SetCells(1, 1, "abcd");
        Grid->SetCells(2, 1, "next");
        Grid->SetEditorMode(true);
        ASSERT_NE(Grid->InplaceEditor(), nullptr);
        Ed = Grid->InplaceEditor();
        ASSERT_TRUE(Ed->Visible());
    }
    void Press(Qt::Key K, Qt::KeyboardModifiers M = Qt::NoModifier) {
        QString Text;
        if (K == Qt::Key_X && !(M & Qt::ControlModifier)) Text = "x";
        if (K == Qt::Key_X && (M & Qt::ControlModifier)) Text = QString(QChar(24));
        if (K == Qt::Key_V && (M & Qt::ControlModifier)) Text = QString(QChar(22));
        if (K == Qt::Key_Backspace) Text = "\b";
        if (K == Qt::Key_Return) Text = "\r";
        if (K == Qt::Key_Tab) Text = "\t";
        TypeKey(Ed->Widget(), K, Text, M);
    }
    TInplaceEdit* Ed = nullptr;
};

// Left/Home and Right/End leave the editor only with the editor always
// shown, and then only from the matching side of the text or with Ctrl.
TEST_F(InplaceEditReadingQ1, SideKeysLeaveTheEditorOnlyFromTheMatchingSide) {
    struct Case {
        const char* Name;
        bool Always;
        int Caret;
        Qt::Key Key;
        Qt::KeyboardModifiers Mods;
        int ExpectCol;
    };
    const Case Cases[] = {
        {"left at start, always shown", true, 0, Qt::Key_Left, Qt::NoModifier, 1},
        {"left inside, always shown", true, 2, Qt::Key_Left, Qt::NoModifier, 1},
        {"right at end, always shown", true, 4, Qt::Key_Right, Qt::NoModifier, 2},
        {"right inside, always shown", true, 2, Qt::Key_Right, Qt::NoModifier, 1},
        {"ctrl+right inside, always shown", true, 2, Qt::Key_Right, Qt::ControlModifier, 4},
        {"end at end, not always shown", false, 4, Qt::Key_End, Qt::NoModifier, 1},
        {"home at start, not always shown", false, 0, Qt::Key_Home, Qt::NoModifier, 1},
        {"right at end, not always shown", false, 4, Qt::Key_Right, Qt::NoModifier, 1},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->SetEditorMode(false);
        Grid->SetCol(1);
        Open(C.Always ? TGridOptions{goAlwaysShowEditor} : TGridOptions{});
        Ed->SetSelStart(C.Caret);
        Ed->SetSelLength(0);
        Press(C.Key, C.Mods);
        EXPECT_EQ(Grid->Col(), C.ExpectCol);
        if (C.ExpectCol == 1 && C.Key == Qt::Key_Left)
            EXPECT_EQ(Ed->SelStart(), C.Caret == 0 ? 0 : C.Caret - 1);
        auto O = Grid->Options();
        O.Exclude(goAlwaysShowEditor);
        Grid->SetOptions(O);
    }
}

// A grid that forbids change keeps the text whatever is typed, pasted or
// cut, while Down still moves the current cell.
TEST_F(InplaceEditReadingQ1, ReadOnlyGridKeepsTheTextButStillNavigates) {
    Open({});
    Grid->Locked = true;
    Clipboard()->SetAsText("PASTED");
    Ed->SetSelStart(1);
    Ed->SetSelLength(2);
    Press(Qt::Key_X);
    Press(Qt::Key_Delete);
    Press(Qt::Key_Backspace);
    Press(Qt::Key_V, Qt::ControlModifier);
    Press(Qt::Key_X, Qt::ControlModifier);
    Press(Qt::Key_Insert, Qt::ShiftModifier);
    Ed->Perform(WM_PASTE, 0, 0);
    Ed->Perform(WM_CUT, 0, 0);
    Ed->Perform(WM_CLEAR, 0, 0);
    EXPECT_EQ(Ed->Text(), "abcd");
    EXPECT_EQ(Grid->Cells(1, 1), "abcd");
    Press(Qt::Key_Down);
    EXPECT_EQ(Grid->Row(), 2);
}

// Enter selects the whole text, and a second Enter leaves the caret after it
// (with the editor always shown, so the grid keeps it open).
TEST_F(InplaceEditReadingQ1, EnterTogglesWholeSelectionAndCaretAtEnd) {
    Open({goAlwaysShowEditor});
    Ed->SetSelStart(1);
    Ed->SetSelLength(0);
    Press(Qt::Key_Return);
    EXPECT_EQ(Ed->SelStart(), 0);
    EXPECT_EQ(Ed->SelLength(), 4);
    Press(Qt::Key_Return);
    EXPECT_EQ(Ed->SelStart(), 4);
    EXPECT_EQ(Ed->SelLength(), 0);
    EXPECT_EQ(Ed->Text(), "abcd");
}

// Placing over an empty rectangle hides the editor; a real one shows it there.
TEST_F(InplaceEditReadingQ1, MoveToEmptyRectangleHidesAndRealOneShows) {
    Open({});
    Ed->Move(TRect{0, 0, 0, 0});
    EXPECT_FALSE(Ed->Visible());
    Ed->Move(TRect{10, 20, 80, 40});
    EXPECT_TRUE(Ed->Visible());
    EXPECT_TRUE(Ed->PosEqual(TRect{10, 20, 80, 40}));
    Ed->UpdateLoc(TRect());
    EXPECT_FALSE(Ed->Visible());
}

// Tab goes back to the grid (with its tab option), and the editor asks for it.
TEST_F(InplaceEditReadingQ1, TabHandsToTheGridWithTabsOption) {
    Open({goTabs, goAlwaysShowEditor});
    EXPECT_TRUE(Ed->Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB);
    Press(Qt::Key_Tab);
    EXPECT_EQ(Grid->Col(), 2);
    EXPECT_TRUE(Ed->Visible());
    EXPECT_EQ(Ed->Text(), "next");
}

// F2 with no handler keeping it: caret after the text, nothing selected.
TEST_F(InplaceEditReadingQ1, F2LeavesCaretAfterText) {
    Open({});
    Ed->SelectAll();
    Press(Qt::Key_F2);
    EXPECT_EQ(Ed->SelStart(), 4);
    EXPECT_EQ(Ed->SelLength(), 0);
}

// Reloading takes the mask and the limit of the current cell.
TEST_F(InplaceEditReadingQ1, UpdateContentsTakesMaskTextAndLimit) {
    Grid->OnGetEditMask = [](TObject*, int, int, AnsiString& Value) { Value = "000;1;_"; };
    Open({});
    EXPECT_EQ(Ed->EditMask(), "000;1;_");
    Grid->SetCells(1, 1, "123");
    Ed->UpdateContents();
    EXPECT_EQ(Ed->Text(), "123");
}

// A click on the grid that moves the editor, followed quickly by a click on
// the editor, is the grid's double click; a slow second click is not.
TEST_F(InplaceEditReadingQ1, QuickClickAfterGridClickIsDoubleClick) {
    ManualClock Clock(0.0, 5000);
    ScopedClock Installed(Clock);
    Open({goAlwaysShowEditor});
    int DoubleClicks = 0;
    Grid->OnDblClick = [&](TObject*) { ++DoubleClicks; };
    for (const auto& [Gap, Expect] : {std::pair{100, 1}, std::pair{5000, 0}}) {
        SCOPED_TRACE(Gap);
        DoubleClicks = 0;
        Grid->SetCol(1);
        const TRect Next = Grid->CellRect(2, 1);
        MouseDown(Next.Left + 5, Next.Top + 5);
        MouseUp(Next.Left + 5, Next.Top + 5);
        ASSERT_EQ(Grid->Col(), 2);
        Clock.Advance(Gap);
        Ed->Perform(WM_LBUTTONDOWN, MK_LBUTTON, PointToLParam(3, 3));
        Ed->Perform(WM_LBUTTONUP, 0, PointToLParam(3, 3));
        EXPECT_EQ(DoubleClicks, Expect);
        EXPECT_EQ(Ed->ClickTime(), 0u);
        Clock.Advance(5000);
    }
}

// A masked cell of a grid that forbids change keeps its text too.
TEST_F(InplaceEditReadingQ1, ReadOnlyMaskedCellKeepsTheText) {
    Grid->OnGetEditMask = [](TObject*, int, int, AnsiString& Value) { Value = "00-00;1;_"; };
    Open({});
    Grid->SetCells(1, 1, "12-34");
    Ed->UpdateContents();
    Grid->Locked = true;
    const AnsiString Before = Ed->Text();
    for (int Caret : {0, 2, 5}) {
        Ed->SetSelStart(Caret);
        Ed->SetSelLength(0);
        Press(Qt::Key_Backspace);
        Press(Qt::Key_Delete);
        TypeKey(Ed->Widget(), Qt::Key_7, "7");
    }
    EXPECT_EQ(Ed->Text(), Before);
    EXPECT_EQ(Grid->Cells(1, 1), "12-34");
}

// The limit bounds typing; a cell already longer comes back whole, and
// moving to a plain cell drops the mask of the previous one.
TEST_F(InplaceEditReadingQ1, LimitAndMaskFollowTheCurrentCell) {
    Grid->OnGetEditMask = [](TObject*, int ACol, int, AnsiString& Value) {
        Value = ACol == 3 ? "00;1;_" : "";
    };
    Grid->Limit = 3;
    Grid->SetCells(3, 1, "42");
    Open({goAlwaysShowEditor});
    EXPECT_EQ(Ed->Text(), "abcd");
    Ed->Deselect();
    TypeKey(Ed->Widget(), Qt::Key_Z, "z");
    EXPECT_EQ(Ed->Text(), "abcd");
    Grid->SetCol(2);
    EXPECT_EQ(Ed->Text(), "next");
    Grid->SetCol(3);
    EXPECT_EQ(Ed->EditMask(), "00;1;_");
    EXPECT_EQ(Ed->Text(), "42");
    Grid->SetCol(2);
    EXPECT_EQ(Ed->EditMask(), "");
    Ed->Deselect();
    TypeKey(Ed->Widget(), Qt::Key_Z, "z");
    EXPECT_EQ(Ed->Text(), "next");
    Grid->SetCells(4, 1, "xy");
    Grid->SetCol(4);
    Ed->SelectAll();
    for (const char* C : {"a", "b", "c", "d"})
        TypeKey(Ed->Widget(), Qt::Key_A + (C[0] - 'a'), C);
    EXPECT_EQ(Ed->Text(), "abc");
    EXPECT_EQ(Grid->Cells(1, 1), "abcd");
}

// While the editor has the focus the form still counts the grid as its
// focused control, and Alt+Tab is not the grid's.
TEST_F(InplaceEditReadingQ1, FormKeepsGridFocusedAndAltTabStaysOut) {
    Open({goTabs, goAlwaysShowEditor});
    Ed->SetFocus();
    ASSERT_TRUE(Ed->Focused());
    EXPECT_EQ(Form->ActiveControl(), Grid);
    Press(Qt::Key_Tab, Qt::AltModifier);
    EXPECT_EQ(Grid->Col(), 1);
}

// A character the grid refuses is not typed; one it accepts is.
TEST_F(InplaceEditReadingQ1, RefusedCharacterIsNotTyped) {
    Open({});
    Grid->Refused = 'q';
    Ed->Deselect();
    TypeKey(Ed->Widget(), Qt::Key_Q, "q");
    EXPECT_EQ(Ed->Text(), "abcd");
    TypeKey(Ed->Widget(), Qt::Key_Z, "z");
    EXPECT_EQ(Ed->Text(), "abcdz");
}

// Keys the grid must see: Insert alone, Alt+Tab kept, key-up relayed,
// and hiding the focused editor gives the focus back to the grid.
TEST_F(InplaceEditReadingQ1, GridSeesRelayedKeysAndTakesFocusBack) {
    Open({goTabs, goAlwaysShowEditor});
    std::vector<Word> Downs, Ups;
    Grid->OnKeyDown = [&](TObject*, Word& Key, TShiftState) { Downs.push_back(Key); };
    Grid->OnKeyUp = [&](TObject*, Word& Key, TShiftState) { Ups.push_back(Key); };
    Press(Qt::Key_Insert);
    EXPECT_NE(std::find(Downs.begin(), Downs.end(), Word(VK_INSERT)), Downs.end());
    EXPECT_NE(std::find(Ups.begin(), Ups.end(), Word(VK_INSERT)), Ups.end());
    Ed->SetFocus();
    ASSERT_TRUE(Ed->Focused());
    Ed->Hide();
    EXPECT_FALSE(Ed->Visible());
    EXPECT_TRUE(Grid->Focused());
}

} // namespace
} // namespace gridtest
