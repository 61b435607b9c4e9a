// The grid's key table in each grid mode, and the keys' edge cases.
#include "GridEditFixture.h"

using namespace grid;

namespace {

class GridKeys : public GridEditFixture {
protected:
    void SetUp() override {
        GridEditFixture::SetUp();
        Grid->SetGridColCount(6);
        Grid->SetGridRowCount(30);
    }
    // Whole rows the window shows below the heading.
    int Page() const { return Grid->GetVisibleRowCount(); }
};

struct TKeyCase {
    const char* Name;
    int Key;
    Qt::KeyboardModifiers Mods;
    std::pair<int, int> From;
    std::pair<int, int> To;
};

} // namespace

TEST_F(GridKeys, TheKeyTableInEveryGridMode) {
    const int P = Page();
    ASSERT_GT(P, 3);
    // Moves every mode shares.
    const std::vector<TKeyCase> Common = {
        {"up", Qt::Key_Up, Qt::NoModifier, {2, 3}, {2, 2}},
        {"up at the first row", Qt::Key_Up, Qt::NoModifier, {2, 1}, {2, 1}},
        {"down", Qt::Key_Down, Qt::NoModifier, {2, 3}, {2, 4}},
        {"page down", Qt::Key_PageDown, Qt::NoModifier, {2, 1}, {2, 1 + P}},
        {"page up from the first row", Qt::Key_PageUp, Qt::NoModifier, {2, 1}, {2, 1}},
        {"page up from the second row", Qt::Key_PageUp, Qt::NoModifier, {2, 2}, {2, 1}},
        {"ctrl+home", Qt::Key_Home, Qt::ControlModifier, {4, 10}, {1, 1}},
        {"ctrl+end", Qt::Key_End, Qt::ControlModifier, {4, 10}, {6, 30}},
        {"ctrl+up", Qt::Key_Up, Qt::ControlModifier, {4, 10}, {4, 1}},
        {"ctrl+down", Qt::Key_Down, Qt::ControlModifier, {4, 10}, {4, 30}},
        {"ctrl+left", Qt::Key_Left, Qt::ControlModifier, {4, 10}, {1, 10}},
        {"ctrl+right", Qt::Key_Right, Qt::ControlModifier, {4, 10}, {6, 10}},
        {"ctrl+shift+c is no command",
         Qt::Key_C,
         Qt::ControlModifier | Qt::ShiftModifier,
         {4, 10},
         {4, 10}},
    };
    // Tab, Enter, Left and Right move between cells while editing (or
    // browsing with the focus frame); a list box scrolls instead.
    const std::vector<TKeyCase> Editing = {
        {"tab", Qt::Key_Tab, Qt::NoModifier, {2, 3}, {3, 3}},
        {"tab wraps", Qt::Key_Tab, Qt::NoModifier, {6, 3}, {1, 4}},
        {"tab in the last cell", Qt::Key_Tab, Qt::NoModifier, {6, 30}, {6, 30}},
        {"shift+tab wraps back", Qt::Key_Backtab, Qt::ShiftModifier, {1, 4}, {6, 3}},
        {"left", Qt::Key_Left, Qt::NoModifier, {3, 3}, {2, 3}},
        {"right", Qt::Key_Right, Qt::NoModifier, {3, 3}, {4, 3}},
    };
    const std::vector<TKeyCase> EnterMoves = {
        {"enter", Qt::Key_Return, Qt::NoModifier, {2, 3}, {3, 3}},
    };
    const std::vector<TKeyCase> EnterStays = {
        {"enter", Qt::Key_Return, Qt::NoModifier, {2, 3}, {2, 3}},
    };
    const std::vector<TKeyCase> ListBox = {
        {"tab", Qt::Key_Tab, Qt::NoModifier, {2, 3}, {2, 3}},
        {"left with every column shown", Qt::Key_Left, Qt::NoModifier, {3, 3}, {3, 3}},
        {"right with every column shown", Qt::Key_Right, Qt::NoModifier, {3, 3}, {3, 3}},
    };
    struct TMode {
        const char* Name;
        TgxGridMode Mode;
        std::vector<const std::vector<TKeyCase>*> Tables;
    };
    const TMode Modes[] = {
        {"edit", gmEdit, {&Common, &Editing, &EnterMoves}},
        {"edit-insert", gmEditInsert, {&Common, &Editing, &EnterMoves}},
        {"browse", gmBrowse, {&Common, &Editing, &EnterStays}},
        {"list box", gmListBox, {&Common, &ListBox, &EnterStays}},
    };
    for (const TMode& M : Modes) {
        Grid->SetGridMode(M.Mode);
        for (const auto* Table : M.Tables)
            for (const TKeyCase& C : *Table) {
                Grid->MoveTopLeft(1, 1);
                GoTo(C.From.first, C.From.second);
                ASSERT_EQ(At(), C.From) << M.Name << ": " << C.Name;
                Press(C.Key, C.Mods);
                EXPECT_EQ(At(), C.To) << M.Name << ": " << C.Name;
                // Wherever it went, the current cell is on screen.
                EXPECT_TRUE(Grid->CurrentCellInView()) << M.Name << ": " << C.Name;
            }
    }
}

TEST_F(GridKeys, PageDownNearTheEndStopsWhereTheLastRowsFillTheWindow) {
    GoTo(1, 25);
    Press(Qt::Key_PageDown);
    EXPECT_EQ(At(), std::make_pair(1, 30));
    const int Top = Grid->TopRow();
    int Height = Grid->FixedHeight();
    for (int R = Top; R < Grid->RowCount(); ++R)
        Height += Grid->RowHeights(R);
    EXPECT_LE(Height, Grid->ClientHeight());
    EXPECT_GT(Height + Grid->RowHeights(Top - 1), Grid->ClientHeight());
    Press(Qt::Key_PageDown);
    EXPECT_EQ(Grid->TopRow(), Top);
}

TEST_F(GridKeys, EnterAtTheEndOfARowWithoutWrapEndsTheEditInPlace) {
    Grid->SetTabRowWrap(false);
    GoTo(6, 3);
    Type("x");
    Press(Qt::Key_Tab);
    EXPECT_EQ(At(), std::make_pair(6, 3));
    EXPECT_TRUE(Grid->CellEditing());
    Press(Qt::Key_Return);
    EXPECT_EQ(At(), std::make_pair(6, 3));
    EXPECT_FALSE(Grid->CellEditing());
    EXPECT_FALSE(Grid->RowEditing());
    EXPECT_EQ(Stored(6, 3), "x");
    EXPECT_TRUE(Grid->CurrentCell()->AllSelected());
}

TEST_F(GridKeys, EscapeOnTheInsertionRowGoesBackToTheLastRow) {
    Grid->SetGridMode(gmEditInsert);
    GoTo(1, 30);
    Press(Qt::Key_Down);
    ASSERT_EQ(Grid->Row(), Grid->RowCount() - 1);
    ASSERT_EQ(Grid->GetGridRowCount(), 31);
    Press(Qt::Key_Escape);
    EXPECT_EQ(At(), std::make_pair(1, 30));
    EXPECT_EQ(Grid->GetGridRowCount(), 30);
    EXPECT_TRUE(Grid->InsertionRowShown());
}

TEST_F(GridKeys, AltAndALetterClicksTheHeadingThatCarriesIt) {
    Grid->GetCol(3)->SetHeading("&Name");
    Grid->GetCol(5)->SetHeading("Ci&ty");
    std::vector<int> Clicked;
    Grid->OnHeadingClick = [&Clicked](TObject*, int DataCol) { Clicked.push_back(DataCol); };
    struct Case {
        char Ch;
        int Col;
    };
    for (const Case C : {Case{'n', 3}, Case{'T', 5}, Case{'x', 0}}) {
        EXPECT_EQ(Grid->GetAccelHeading(C.Ch), C.Col) << C.Ch;
        EXPECT_EQ(Grid->Perform(CM_DIALOGCHAR, static_cast<unsigned char>(C.Ch), 0) != 0,
                  C.Col != 0)
            << C.Ch;
    }
    EXPECT_EQ(Clicked, (std::vector<int>{3, 5}));
}

TEST_F(GridKeys, TheWheelScrollsThreeRowsAndLeavesTheCurrentCell) {
    GoTo(2, 2);
    auto Wheel = [this](int Delta) {
        Grid->Perform(WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<std::uint16_t>(Delta)) << 16,
                      0);
    };
    Wheel(-120);
    EXPECT_EQ(Grid->TopRow(), 4);
    Wheel(-120);
    EXPECT_EQ(Grid->TopRow(), 7);
    Wheel(120);
    EXPECT_EQ(Grid->TopRow(), 4);
    EXPECT_EQ(At(), std::make_pair(2, 2));
}

TEST_F(GridKeys, KeysDuringAColumnResizeAreLeftAloneButEscapeCancelsIt) {
    GoTo(2, 3);
    Grid->SetMouseStatus(msColResize);
    Press(Qt::Key_Down);
    EXPECT_EQ(At(), std::make_pair(2, 3));
    EXPECT_EQ(Grid->MouseStatus(), msColResize);
    Word Key = VK_ESCAPE;
    Grid->KeyDown(Key, {});
    EXPECT_EQ(Key, 0);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
}

TEST_F(GridKeys, TheGridAsksForTabOnlyWhileEditingOrShowingItsFocusFrame) {
    struct Case {
        TgxGridMode Mode;
        bool Ctrl;
        bool WantsTab;
    };
    for (const Case C : {Case{gmEdit, false, true}, Case{gmEdit, true, false},
                         Case{gmBrowse, false, true}, Case{gmListBox, false, false}}) {
        Grid->SetGridMode(C.Mode);
        TMessage Asked{WM_KEYDOWN, VK_TAB, 0, 0};
        if (C.Ctrl) SetCurrentModifiers(Qt::ControlModifier, Qt::NoButton);
        const LRESULT Code = Grid->Perform(WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(&Asked));
        SetCurrentModifiers(Qt::NoModifier, Qt::NoButton);
        EXPECT_EQ((Code & DLGC_WANTTAB) != 0, C.WantsTab)
            << static_cast<int>(C.Mode) << (C.Ctrl ? " with ctrl" : "");
        EXPECT_NE(Code & DLGC_WANTCHARS, 0);
    }
}

TEST_F(GridKeys, MovingPastTheWindowsEdgeScrollsAndTheEditorFollowsTheCell) {
    const int Last = Grid->GetVisibleRowCount();
    GoTo(2, Last);
    Press(Qt::Key_Down);
    EXPECT_EQ(At(), std::make_pair(2, Last + 1));
    EXPECT_EQ(Grid->TopRow(), 2);
    TgxCustomGridControl* Edit = Grid->GridControl();
    ASSERT_TRUE(Edit->GetVisible());
    const TRect Cell = Grid->CellRect(Grid->Col(), Grid->Row());
    EXPECT_EQ(Edit->GetTop(), Cell.Top);
    EXPECT_EQ(Edit->GetLeft(), Cell.Left + 3);
    Press(Qt::Key_Up);
    Press(Qt::Key_Up);
    EXPECT_EQ(Grid->TopRow(), 2);
    EXPECT_EQ(Edit->GetTop(), Grid->CellRect(Grid->Col(), Grid->Row()).Top);
}

TEST_F(GridKeys, InAListBoxTheRowSelectionFollowsTheKeys) {
    Grid->SetGridMode(gmListBox);
    GoTo(1, 3);
    Grid->AddRowSelection(3, 3);
    ASSERT_EQ(Grid->GridStatus(), grRowSelect);
    struct Case {
        int Key;
        Qt::KeyboardModifiers Mods;
        int Row;
    };
    for (const Case C :
         {Case{Qt::Key_Down, Qt::NoModifier, 4}, Case{Qt::Key_Up, Qt::NoModifier, 3},
          Case{Qt::Key_End, Qt::ControlModifier, 30}, Case{Qt::Key_Home, Qt::ControlModifier, 1}}) {
        Press(C.Key, C.Mods);
        EXPECT_EQ(Grid->Row(), C.Row);
        EXPECT_EQ(Grid->RowSelection().Count(), 1) << C.Row;
        EXPECT_TRUE(Grid->RowSelection().GetSelected(C.Row)) << C.Row;
    }
}
