// Keyboard navigation of a shown grid, driven by real key events: arrows,
// Tab and Enter, the Ctrl moves, paging, Escape, F2, drop-downs from the
// keyboard and heading accelerators.
#include "DropDownFixture.h"
#include "GridEditFixture.h"

#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/InplaceControl.h"
#include "platform/gui/StdCtrls.h"

#include <QApplication>

using namespace grid;

namespace {

class KeyboardNavigationReading : public GridEditFixture {
protected:
    std::pair<int, int> Cell(int C, int R) const { return {C, R}; }
};

TEST_F(KeyboardNavigationReading, TabAndArrowDefaults) {
    EXPECT_TRUE(Grid->TabRowWrap());
    EXPECT_TRUE(Grid->WantTabs());
}

// Each row: the start cell, the key with its modifiers, the wrap switch and
// the cell the key leaves current.
struct NavigationCase {
    const char* Name;
    int FromCol, FromRow;
    int Key;
    Qt::KeyboardModifiers Mods;
    bool Wrap;
    int ToCol, ToRow;
};

class KeyboardMoves : public KeyboardNavigationReading,
                      public ::testing::WithParamInterface<NavigationCase> {};

TEST_P(KeyboardMoves, KeyLeavesTheExpectedCellCurrent) {
    const NavigationCase& C = GetParam();
    Grid->SetTabRowWrap(C.Wrap);
    GoTo(C.FromCol, C.FromRow);
    ASSERT_EQ(At(), std::make_pair(C.FromCol, C.FromRow));
    Press(C.Key, C.Mods);
    EXPECT_EQ(At(), std::make_pair(C.ToCol, C.ToRow)) << C.Name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeyboardMoves,
    ::testing::Values(
        NavigationCase{"TabNext", 1, 1, Qt::Key_Tab, Qt::NoModifier, true, 2, 1},
        NavigationCase{"TabWraps", 4, 1, Qt::Key_Tab, Qt::NoModifier, true, 1, 2},
        NavigationCase{"TabNoWrap", 4, 1, Qt::Key_Tab, Qt::NoModifier, false, 4, 1},
        NavigationCase{"TabLastCell", 4, 5, Qt::Key_Tab, Qt::NoModifier, true, 4, 5},
        NavigationCase{"ShiftTabWrapsBack", 1, 2, Qt::Key_Backtab, Qt::ShiftModifier, true, 4, 1},
        NavigationCase{"ShiftTabNoWrap", 1, 2, Qt::Key_Backtab, Qt::ShiftModifier, false, 1, 2},
        NavigationCase{"RightInEdit", 2, 2, Qt::Key_Right, Qt::NoModifier, true, 3, 2},
        NavigationCase{"LeftInEdit", 2, 2, Qt::Key_Left, Qt::NoModifier, true, 1, 2},
        NavigationCase{"Down", 2, 2, Qt::Key_Down, Qt::NoModifier, true, 2, 3},
        NavigationCase{"Up", 2, 2, Qt::Key_Up, Qt::NoModifier, true, 2, 1},
        NavigationCase{"DownAtLast", 2, 5, Qt::Key_Down, Qt::NoModifier, true, 2, 5},
        NavigationCase{"UpAtFirst", 2, 1, Qt::Key_Up, Qt::NoModifier, true, 2, 1},
        NavigationCase{"CtrlHome", 3, 4, Qt::Key_Home, Qt::ControlModifier, true, 1, 1},
        NavigationCase{"CtrlEnd", 2, 2, Qt::Key_End, Qt::ControlModifier, true, 4, 5},
        NavigationCase{"CtrlLeft", 3, 3, Qt::Key_Left, Qt::ControlModifier, true, 1, 3},
        NavigationCase{"CtrlRight", 2, 3, Qt::Key_Right, Qt::ControlModifier, true, 4, 3},
        NavigationCase{"CtrlUp", 2, 3, Qt::Key_Up, Qt::ControlModifier, true, 2, 1},
        NavigationCase{"CtrlDown", 2, 3, Qt::Key_Down, Qt::ControlModifier, true, 2, 5},
        // The Ctrl table wants exactly Ctrl.
        NavigationCase{"CtrlShiftEnd", 2, 2, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier,
                 true, 2, 2},
        NavigationCase{"PageUpFromFirst", 2, 1, Qt::Key_PageUp, Qt::NoModifier, true, 2, 1},
        NavigationCase{"PageUpFromSecond", 2, 2, Qt::Key_PageUp, Qt::NoModifier, true, 2, 1},
        NavigationCase{"PageDownToLast", 2, 2, Qt::Key_PageDown, Qt::NoModifier, true, 2, 5}),
    [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(KeyboardNavigationReading, ArrowsAndTabSkipReadOnlyColumnsAndRows) {
    Grid->GetCol(2)->SetReadOnly(true);
    Grid->SetRowReadOnly(3, true);
    GoTo(1, 2);
    Press(Qt::Key_Tab);
    EXPECT_EQ(At(), Cell(3, 2));
    Press(Qt::Key_Down);
    EXPECT_EQ(At(), Cell(3, 4));
    Press(Qt::Key_Up);
    EXPECT_EQ(At(), Cell(3, 2));
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(At(), Cell(1, 2));
}

TEST_F(KeyboardNavigationReading, EnterAtTheEndOfARowEndsTheEditAndSelectsTheText) {
    LogEvents();
    Grid->SetTabRowWrap(false);
    GoTo(4, 1);
    Type("ab");
    ASSERT_TRUE(Grid->CellEditing());
    Log.clear();
    Press(Qt::Key_Return);
    EXPECT_EQ(At(), Cell(4, 1));
    EXPECT_FALSE(Grid->CellEditing());
    EXPECT_FALSE(Grid->RowEditing());
    EXPECT_EQ(Log, (std::vector<std::string>{"end cell 4,1", "end row 1"}));
    ASSERT_NE(Grid->GridControl(), nullptr);
    EXPECT_EQ(Grid->GridControl()->GetSelLength(), 2);
    EXPECT_EQ(Stored(4, 1), "ab");
}

TEST_F(KeyboardNavigationReading, EnterInTheLastCellOfTheGridEndsTheEdit) {
    LogEvents();
    GoTo(4, 5);
    Type("z");
    Log.clear();
    Press(Qt::Key_Return);
    EXPECT_EQ(At(), Cell(4, 5));
    EXPECT_FALSE(Grid->CellEditing());
    EXPECT_EQ(Log, (std::vector<std::string>{"end cell 4,5", "end row 5"}));
}

TEST_F(KeyboardNavigationReading, EnterMovesToTheNextCellWhileEditing) {
    GoTo(1, 1);
    Type("q");
    Press(Qt::Key_Return);
    EXPECT_EQ(At(), Cell(2, 1));
    EXPECT_EQ(Stored(1, 1), "q");
}

TEST_F(KeyboardNavigationReading, ARefusedEndOfEditKeepsTheCellForEveryMoveKey) {
    LogEvents();
    for (auto [Key, Mods] : {std::pair{Qt::Key_Down, Qt::KeyboardModifiers(Qt::NoModifier)},
                             std::pair{Qt::Key_Tab, Qt::KeyboardModifiers(Qt::NoModifier)},
                             std::pair{Qt::Key_PageDown, Qt::KeyboardModifiers(Qt::NoModifier)},
                             std::pair{Qt::Key_End, Qt::KeyboardModifiers(Qt::ControlModifier)},
                             std::pair{Qt::Key_Home, Qt::KeyboardModifiers(Qt::ControlModifier)}}) {
        GoTo(2, 3);
        Type("v");
        RefuseCell = true;
        Press(Key, Mods);
        EXPECT_EQ(At(), Cell(2, 3)) << Key;
        EXPECT_TRUE(Grid->CellEditing()) << Key;
        RefuseCell = false;
        Press(Qt::Key_Escape);
        Press(Qt::Key_Escape);
    }
}

TEST_F(KeyboardNavigationReading, MovingToAnotherRowEndsCellThenRowEdit) {
    LogEvents();
    GoTo(2, 2);
    Type("k");
    Log.clear();
    Press(Qt::Key_Down);
    EXPECT_EQ(At(), Cell(2, 3));
    EXPECT_EQ(Log, (std::vector<std::string>{"end cell 2,2", "end row 2"}));
}

TEST_F(KeyboardNavigationReading, PageDownStopsAtTheRowThatFillsTheWindow) {
    Grid->SetGridRowCount(60);
    GoTo(1, 1);
    int Guard = 0;
    while (At().second != 60 && Guard++ < 20) {
        Press(Qt::Key_PageDown);
        EXPECT_LE(Grid->TopRow(), Grid->GetMaxTopRow());
    }
    EXPECT_EQ(At(), Cell(1, 60));
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow());
    Press(Qt::Key_PageDown);
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow());
    // And back up a page: the row moves by a window's worth.
    const int Visible = Grid->GetVisibleRowCount();
    Press(Qt::Key_PageUp);
    EXPECT_LT(At().second, 60);
    EXPECT_GE(At().second, 60 - Visible - 1);
    EXPECT_GE(Grid->TopRow(), Grid->FixedRows());
}

TEST_F(KeyboardNavigationReading, PageDownMovesAPageAndScrollsTheCurrentRowIntoView) {
    Grid->SetGridRowCount(60);
    GoTo(1, 1);
    const int Visible = Grid->GetVisibleRowCount();
    Press(Qt::Key_PageDown);
    EXPECT_GT(At().second, 1);
    EXPECT_LE(At().second, 1 + Visible);
    const int Row = Grid->Row();
    EXPECT_GE(Row, Grid->TopRow());
    EXPECT_LE(Row, Grid->MaxVisibleRow());
}

TEST_F(KeyboardNavigationReading, CtrlEndAndHomeScrollTheCornerCellIntoView) {
    Grid->SetGridRowCount(60);
    Grid->SetGridColCount(12);
    GoTo(1, 1);
    Press(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(At(), Cell(12, 60));
    EXPECT_TRUE(Grid->CellVisible(Grid->Col(), Grid->Row()));
    Press(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(At(), Cell(1, 1));
    EXPECT_EQ(Grid->TopRow(), Grid->FixedRows());
    EXPECT_EQ(Grid->LeftCol(), Grid->FixedCols());
}

TEST_F(KeyboardNavigationReading, TabToAColumnBeyondTheWindowScrollsItIn) {
    Grid->SetGridColCount(12);
    GoTo(1, 1);
    for (int I = 0; I < 8; ++I)
        Press(Qt::Key_Tab);
    EXPECT_EQ(At(), Cell(9, 1));
    const int Right = Grid->CalcColOffset(Grid->Col()) + Grid->ColWidths(Grid->Col());
    EXPECT_GT(Grid->LeftCol(), Grid->FixedCols());
    EXPECT_LE(Right, Grid->ClientWidth() + 1);
    // Wrapping back to the start of the next row brings the first column back.
    for (int I = 0; I < 4; ++I)
        Press(Qt::Key_Tab);
    EXPECT_EQ(At(), Cell(1, 2));
    EXPECT_EQ(Grid->LeftCol(), Grid->FixedCols());
}

TEST_F(KeyboardNavigationReading, EscapeUndoesTheCellThenTheRow) {
    LogEvents();
    GoTo(1, 2);
    Type("a");
    Press(Qt::Key_Tab);
    Type("b");
    Log.clear();
    Press(Qt::Key_Escape);
    EXPECT_EQ(Log, (std::vector<std::string>{"undo cell 2,2"}));
    EXPECT_TRUE(Grid->RowEditing());
    Press(Qt::Key_Escape);
    EXPECT_EQ(Log, (std::vector<std::string>{"undo cell 2,2", "undo row 2"}));
    EXPECT_FALSE(Grid->RowEditing());
    EXPECT_EQ(Stored(1, 2), "");
    EXPECT_EQ(Stored(2, 2), "");
}

TEST_F(KeyboardNavigationReading, CtrlZUndoesLikeEscape) {
    LogEvents();
    GoTo(1, 2);
    Type("a");
    Log.clear();
    Press(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FALSE(Log.empty());
    EXPECT_EQ(Log.front(), "undo cell 1,2");
}

TEST_F(KeyboardNavigationReading, EscapeOnAnEnteredInsertionRowGoesBackToTheLastRow) {
    LogEvents();
    Grid->SetGridMode(gmEditInsert);
    GoTo(1, 5);
    Press(Qt::Key_Down);
    ASSERT_EQ(At(), Cell(1, 6));
    EXPECT_EQ(Grid->GetGridRowCount(), 6);
    Log.clear();
    Press(Qt::Key_Escape);
    EXPECT_EQ(At(), Cell(1, 5));
    EXPECT_EQ(Grid->GetGridRowCount(), 5);
    EXPECT_EQ(Log, (std::vector<std::string>{"delete row 6"}));
}

TEST_F(KeyboardNavigationReading, F2ShowsTheEditorWithACaretWhenItIsNotAlwaysShown) {
    Grid->SetAlwaysShowEditor(false);
    GoTo(2, 2);
    Grid->SetCellValue(2, 2, Variant(AnsiString("hello")));
    ASSERT_FALSE(Grid->GridControl() && Grid->GridControl()->GetVisible());
    Press(Qt::Key_F2);
    ASSERT_NE(Grid->GridControl(), nullptr);
    EXPECT_TRUE(Grid->GridControl()->GetVisible());
    EXPECT_EQ(Grid->GridControl()->GetSelLength(), 0);
}

TEST_F(KeyboardNavigationReading, AKeyDownHandlerThatTakesTheKeyStopsTheMove) {
    Grid->OnKeyDown = [](TObject*, Word& Key, TShiftState) {
        if (Key == 40) Key = 0;
    };
    GoTo(2, 2);
    Press(Qt::Key_Down);
    EXPECT_EQ(At(), Cell(2, 2));
    Press(Qt::Key_Up);
    EXPECT_EQ(At(), Cell(2, 1));
}

TEST_F(KeyboardNavigationReading, KeyEventsAreRaisedOnceForTheGrid) {
    int Downs = 0, Ups = 0;
    Grid->OnKeyDown = [&](TObject*, Word& Key, TShiftState) {
        if (Key == 40) ++Downs;
    };
    Grid->OnKeyUp = [&](TObject*, Word& Key, TShiftState) {
        if (Key == 40) ++Ups;
    };
    GoTo(2, 2);
    Press(Qt::Key_Down);
    EXPECT_EQ(Downs, 1);
    EXPECT_EQ(Ups, 1);
}

TEST_F(KeyboardNavigationReading, ArrowsWithoutAFocusFrameScrollTheColumnsOneByOne) {
    Grid->SetGridColCount(12);
    Grid->SetGridMode(gmListBox);
    GoTo(1, 1);
    ASSERT_FALSE(Grid->FocusRectActive());
    const int Left = Grid->LeftCol();
    Press(Qt::Key_Right);
    EXPECT_EQ(Grid->LeftCol(), Left + 1);
    EXPECT_EQ(Grid->Col(), Left + 1);
    Press(Qt::Key_Right);
    EXPECT_EQ(Grid->LeftCol(), Left + 2);
    Press(Qt::Key_Left);
    EXPECT_EQ(Grid->LeftCol(), Left + 1);
    EXPECT_EQ(Grid->Col(), Left + 1);
    Press(Qt::Key_Left);
    Press(Qt::Key_Left);
    EXPECT_EQ(Grid->LeftCol(), Left);
    EXPECT_EQ(Grid->Col(), Left);
    // No further than the last window of columns.
    for (int I = 0; I < 20; ++I)
        Press(Qt::Key_Right);
    EXPECT_EQ(Grid->LeftCol(), Grid->GetMaxLeftCol());
}

TEST_F(KeyboardNavigationReading, EscapeCancelsAColumnResizeAndOtherKeysWaitForIt) {
    const int Width = Grid->ColWidths(1);
    const TRect R = Grid->CellRect(1, 0);
    QWidget* W = Grid->Widget();
    const QPoint Edge(R.Right, (R.Top + R.Bottom) / 2);
    GoTo(2, 2);
    SendMouse(W, QEvent::MouseButtonPress, Edge);
    ASSERT_EQ(Grid->MouseStatus(), msColResize);
    QMouseEvent Move(QEvent::MouseMove, QPointF(Edge + QPoint(30, 0)),
                     QPointF(W->mapToGlobal(Edge + QPoint(30, 0))), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(W, &Move);
    TypeKey(W, Qt::Key_Down);
    EXPECT_EQ(At(), Cell(2, 2));
    EXPECT_EQ(Grid->MouseStatus(), msColResize);
    TypeKey(W, Qt::Key_Escape);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    SendMouse(W, QEvent::MouseButtonRelease, Edge + QPoint(30, 0));
    EXPECT_EQ(Grid->ColWidths(1), Width);
}

TEST_F(KeyboardNavigationReading, AltAndALetterClicksTheHeadingWithThatAccelerator) {
    Grid->GetCol(3)->SetHeading("&Price");
    int Clicked = 0;
    Grid->OnHeadingClick = [&](TObject*, int DataCol) { Clicked = DataCol; };
    Press(Qt::Key_P, Qt::AltModifier, "p");
    EXPECT_EQ(Clicked, 3);
    EXPECT_EQ(Grid->GetAccelHeading('P'), 3);
    EXPECT_EQ(Grid->GetAccelHeading('x'), 0);
}

TEST_F(KeyboardNavigationReading, AltDownAndF4OpenTheListOfAComboCell) {
    Grid->GetCol(2)->SetButtonType(btCombo);
    GoTo(2, 2);
    Press(Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(Grid->ComboVisible());
    Press(Qt::Key_Escape);
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(At(), Cell(2, 2));
    Press(Qt::Key_F4);
    EXPECT_TRUE(Grid->ComboVisible());
    Press(Qt::Key_Escape);
    // Not in a read-only cell, nor outside the edit modes.
    Grid->SetCellReadOnly(2, 2, roOn);
    Press(Qt::Key_F4);
    EXPECT_FALSE(Grid->ComboVisible());
    Grid->SetCellReadOnly(2, 2, roDefault);
    Grid->SetGridMode(gmBrowse);
    Press(Qt::Key_F4);
    EXPECT_FALSE(Grid->ComboVisible());
}

TEST_F(KeyboardNavigationReading, ListBoxDownAndUpMoveTheSelectedRow) {
    Grid->SetGridMode(gmListBox);
    Grid->SetRowSelectMode(rsSingle);
    GoTo(1, 2);
    Grid->SelectRows(Grid->Row(), Grid->Row(), true);
    Press(Qt::Key_Down);
    EXPECT_EQ(At().second, 3);
    Press(Qt::Key_Up);
    Press(Qt::Key_Up);
    EXPECT_EQ(At().second, 1);
}

} // namespace

namespace {

TEST_F(KeyboardNavigationReading, EveryMoveKeyReportsTheNewCellOnce) {
    std::vector<std::string> Events;
    Grid->OnRowChanged = [&](TObject*, int Old, int New) {
        Events.push_back("row " + std::to_string(Old) + ">" + std::to_string(New));
    };
    Grid->OnColChanged = [&](TObject*, int Old, int New) {
        Events.push_back("col " + std::to_string(Old) + ">" + std::to_string(New));
    };
    Grid->OnCellChanged = [&](TObject*, int, int, int, int) { Events.push_back("cell"); };
    GoTo(2, 2);
    Events.clear();
    Press(Qt::Key_Down);
    EXPECT_EQ(Events, (std::vector<std::string>{"row 2>3", "cell"}));
    Events.clear();
    Press(Qt::Key_Tab);
    EXPECT_EQ(Events, (std::vector<std::string>{"col 2>3", "cell"}));
    Events.clear();
    Press(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Events, (std::vector<std::string>{"col 3>1", "row 3>1", "cell"}));
    Events.clear();
    Press(Qt::Key_Up);
    EXPECT_TRUE(Events.empty());
}

TEST_F(KeyboardNavigationReading, CopyAndPasteKeysMoveTheCellValue) {
    Grid->SetCellValue(1, 1, Variant(AnsiString("copied")));
    // Entering the cell selects its text, which the copy takes.
    GoTo(2, 2);
    GoTo(1, 1);
    Press(Qt::Key_C, Qt::ControlModifier);
    Press(Qt::Key_Tab);
    Press(Qt::Key_V, Qt::ControlModifier);
    Press(Qt::Key_Down);
    EXPECT_EQ(Stored(2, 1), "copied");
    GoTo(3, 1);
    Press(Qt::Key_Insert, Qt::ShiftModifier);
    Press(Qt::Key_Down);
    EXPECT_EQ(Stored(3, 1), "copied");
}

TEST_F(KeyboardNavigationReading, EscapeHidesAnEditorThatIsNotAlwaysShown) {
    Grid->SetAlwaysShowEditor(false);
    GoTo(2, 2);
    Press(Qt::Key_F2);
    ASSERT_TRUE(Grid->GridControl() && Grid->GridControl()->GetVisible());
    Press(Qt::Key_Escape);
    EXPECT_FALSE(Grid->GridControl()->GetVisible());
    EXPECT_EQ(At(), Cell(2, 2));
}

TEST_F(KeyboardNavigationReading, TheEditorHasTheKeyboardAgainAfterAMove) {
    GoTo(2, 2);
    Type("a");
    Press(Qt::Key_Down);
    ASSERT_NE(Grid->GridControl(), nullptr);
    EXPECT_TRUE(Grid->GridControl()->Focused());
    Type("b");
    Press(Qt::Key_Down);
    EXPECT_EQ(Stored(2, 3), "b");
}

} // namespace



namespace {

class KeyboardListReading : public DropDownFixture {
protected:
    void SetUp() override {
        DropDownFixture::SetUp();
        GiveColumnList(2, {"apple", "banana", "cherry"});
        Grid->SetFocus();
        GoTo(1, 1);
        GoTo(2, 2);
        QApplication::processEvents();
    }
    QWidget* KeyTarget() {
        QWidget* W = QApplication::focusWidget();
        return W ? W : Grid->Widget();
    }
    void Press(int QtKey, Qt::KeyboardModifiers Mods = Qt::NoModifier, const QString& Text = {}) {
        TypeKey(KeyTarget(), QtKey, Text, Mods);
        QApplication::processEvents();
    }
    std::pair<int, int> At() const {
        return {Grid->GetCurrentDataCol(), Grid->GetCurrentDataRow()};
    }
};

TEST_F(KeyboardListReading, EnterTakesTheListRowIntoTheCellAndStays) {
    Press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Grid->ComboVisible());
    // The list opens on its first row; each Down moves it one on.
    Press(Qt::Key_Down);
    Press(Qt::Key_Return);
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(CurrentText(), "banana");
    EXPECT_EQ(At(), std::make_pair(2, 2));
}

TEST_F(KeyboardListReading, EscapeClosesTheListAndKeepsTheValue) {
    Press(Qt::Key_F4);
    ASSERT_TRUE(Grid->ComboVisible());
    Press(Qt::Key_Down);
    Press(Qt::Key_Escape);
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(CurrentText(), "");
    EXPECT_EQ(At(), std::make_pair(2, 2));
}

TEST_F(KeyboardListReading, TabClosesTheListAndGoesOnToTheNextCell) {
    Press(Qt::Key_F4);
    ASSERT_TRUE(Grid->ComboVisible());
    Press(Qt::Key_Tab);
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(At(), std::make_pair(3, 2));
}

TEST_F(KeyboardListReading, ACharacterPositionsAPickOnlyListAndEscapeFirstDropsTheSearch) {
    Grid->GetCol(2)->SetDropDownStyle(ddDropDownList);
    Grid->GetCol(2)->GetCombo()->SetAutoSearch(TgxComboAutoSearchType::asTop);
    // A sorted list searches for the text typed so far.
    Grid->GetCol(2)->GetCombo()->SetValueColSorted(true);
    Press(Qt::Key_C, Qt::NoModifier, "c");
    EXPECT_EQ(CurrentText(), "cherry");
    EXPECT_FALSE(Grid->ComboSearchValue().empty());
    Press(Qt::Key_Escape);
    EXPECT_TRUE(Grid->ComboSearchValue().empty());
    EXPECT_EQ(CurrentText(), "cherry");
    EXPECT_TRUE(Grid->CellEditing());
    Press(Qt::Key_Escape);
    EXPECT_FALSE(Grid->CellEditing());
}

TEST_F(KeyboardListReading, WithoutWantTabsTabLeavesTheGrid) {
    auto* Other = new TEdit(Form);
    Other->SetParent(Form);
    Other->SetBounds(440, 150, 100, 24);
    Grid->SetFocus();
    QApplication::processEvents();
    Press(Qt::Key_Tab);
    EXPECT_EQ(At(), std::make_pair(3, 2));
    Grid->SetWantTabs(false);
    Press(Qt::Key_Tab);
    EXPECT_EQ(At(), std::make_pair(3, 2));
    EXPECT_TRUE(Other->Focused());
}

} // namespace

namespace {

TEST_F(KeyboardNavigationReading, AKeyBringsACurrentCellScrolledAwayBackFirst) {
    Grid->SetGridRowCount(60);
    GoTo(1, 2);
    Grid->SetTopRow(40);
    ASSERT_FALSE(Grid->CurrentCellInView());
    Press(Qt::Key_Down);
    EXPECT_EQ(At(), Cell(1, 3));
    EXPECT_TRUE(Grid->CellVisible(Grid->Col(), Grid->Row()));
    Grid->SetTopRow(40);
    Press(Qt::Key_Escape);
    EXPECT_EQ(At(), Cell(1, 3));
    EXPECT_TRUE(Grid->CellVisible(Grid->Col(), Grid->Row()));
}

TEST_F(KeyboardNavigationReading, UpAboveTheTopRowScrollsItToTheTop) {
    Grid->SetGridRowCount(60);
    GoTo(1, 30);
    Grid->SetTopRow(30);
    Press(Qt::Key_Up);
    EXPECT_EQ(At(), Cell(1, 29));
    EXPECT_EQ(Grid->TopRow(), 29);
}

TEST_F(KeyboardNavigationReading, RowSelectKeysCarryTheSelectedRowAlong) {
    Grid->SetGridRowCount(60);
    Grid->SetGridMode(gmListBox);
    Grid->SetRowSelectMode(rsSingle);
    GoTo(1, 2);
    Grid->SelectRows(Grid->Row(), Grid->Row(), true);
    ASSERT_EQ(Grid->GridStatus(), grRowSelect);
    Press(Qt::Key_Down);
    EXPECT_EQ(At().second, 3);
    EXPECT_TRUE(Grid->IsRowSelected(3));
    EXPECT_FALSE(Grid->IsRowSelected(2));
    Press(Qt::Key_PageDown);
    const int Paged = At().second;
    EXPECT_GT(Paged, 3);
    EXPECT_TRUE(Grid->IsRowSelected(Paged));
    EXPECT_FALSE(Grid->IsRowSelected(3));
    Press(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(At().second, 60);
    EXPECT_TRUE(Grid->IsRowSelected(60));
    EXPECT_FALSE(Grid->IsRowSelected(Paged));
    Press(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(At().second, 1);
    EXPECT_TRUE(Grid->IsRowSelected(1));
    EXPECT_FALSE(Grid->IsRowSelected(60));
    EXPECT_EQ(Grid->RowSelection().Count(), 1);
}

TEST_F(KeyboardNavigationReading, TypingOnTheGridStartsTheEditWithThatCharacter) {
    Grid->SetAlwaysShowEditor(false);
    GoTo(2, 2);
    Press(Qt::Key_X, Qt::NoModifier, "x");
    EXPECT_TRUE(Grid->CellEditing());
    EXPECT_EQ(EditorText(), "x");
    Press(Qt::Key_Y, Qt::NoModifier, "y");
    Press(Qt::Key_Down);
    EXPECT_EQ(Stored(2, 2), "xy");
}

TEST_F(KeyboardNavigationReading, AltWithOtherArrowsAndNoListDoesNothing) {
    GoTo(2, 2);
    Press(Qt::Key_Down, Qt::AltModifier);
    EXPECT_FALSE(Grid->DropDownVisible());
    EXPECT_EQ(At(), Cell(2, 2));
    Press(Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(At(), Cell(2, 2));
}

} // namespace

#include "grid/view/DateTimeDropDownCalendar.h"

namespace {

class KeyboardCalendarReading : public KeyboardListReading {
protected:
    void SetUp() override {
        KeyboardListReading::SetUp();
        Grid->GetCol(3)->SetButtonType(btDateTimeDropDown);
        Grid->SetDateTimeDef(new TgxCalendarDateTimeDef(Form));
        GoTo(3, 2);
        QApplication::processEvents();
    }
};

TEST_F(KeyboardCalendarReading, KeysOpenCloseAndPassThroughTheCalendar) {
    Press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Grid->DateTimeVisible());
    Press(Qt::Key_F4);
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_EQ(CurrentText(), "");
    Press(Qt::Key_F4);
    ASSERT_TRUE(Grid->DateTimeVisible());
    Press(Qt::Key_Up, Qt::AltModifier);
    EXPECT_FALSE(Grid->DateTimeVisible());
    // A letter or a shifted key does nothing while it is open.
    Press(Qt::Key_F4);
    Press(Qt::Key_A, Qt::NoModifier, "a");
    Press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_TRUE(Grid->DateTimeVisible());
    EXPECT_EQ(CurrentText(), "");
    EXPECT_EQ(At(), std::make_pair(3, 2));
    // Escape goes to the calendar, which cancels.
    Press(Qt::Key_Escape);
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_EQ(CurrentText(), "");
    // Enter picks the day.
    Press(Qt::Key_F4);
    Press(Qt::Key_Return);
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_NE(CurrentText(), "");
    EXPECT_EQ(At(), std::make_pair(3, 2));
}

TEST_F(KeyboardCalendarReading, TabOnlyClosesTheCalendar) {
    Press(Qt::Key_F4);
    ASSERT_TRUE(Grid->DateTimeVisible());
    Press(Qt::Key_Tab);
    EXPECT_FALSE(Grid->DateTimeVisible());
    EXPECT_EQ(At(), std::make_pair(3, 2));
    Press(Qt::Key_Tab);
    EXPECT_EQ(At(), std::make_pair(4, 2));
}

} // namespace

namespace {

TEST_F(KeyboardNavigationReading, ARowSelectKeyReportsTheSelectionOnceByTheUser) {
    Grid->SetGridMode(gmListBox);
    Grid->SetRowSelectMode(rsSingle);
    GoTo(1, 2);
    Grid->SelectRows(Grid->Row(), Grid->Row(), true);
    int Reports = 0;
    bool User = false;
    Grid->OnSelectChanged = [&](TObject*, TgxSelectType, bool ByUser) {
        ++Reports;
        User = ByUser;
    };
    Press(Qt::Key_Down);
    EXPECT_EQ(Reports, 1);
    EXPECT_TRUE(User);
}

TEST_F(KeyboardNavigationReading, APageKeyReportsTheNewTopLeftOnceByTheUser) {
    Grid->SetGridRowCount(60);
    GoTo(1, 1);
    std::vector<std::string> Seen;
    Grid->OnTopLeftChanged = [&](TObject*, int, int OldRow, int, int NewRow, bool ByUser) {
        Seen.push_back(std::to_string(OldRow) + ">" + std::to_string(NewRow) +
                       (ByUser ? " user" : ""));
    };
    Press(Qt::Key_PageDown);
    ASSERT_EQ(Seen.size(), 1u);
    EXPECT_EQ(Seen[0], "1>" + std::to_string(Grid->TopRow()) + " user");
    Seen.clear();
    Press(Qt::Key_Home, Qt::ControlModifier);
    ASSERT_EQ(Seen.size(), 1u);
    EXPECT_EQ(Grid->TopRow(), 1);
}

} // namespace

namespace {

TEST_F(KeyboardNavigationReading, EachTypedCharacterIsReportedOnce) {
    int Presses = 0;
    Grid->OnKeyPress = [&](TObject*, char&) { ++Presses; };
    GoTo(2, 2);
    Type("ab");
    EXPECT_EQ(Presses, 2);
    Press(Qt::Key_Down);
    Grid->SetAlwaysShowEditor(false);
    GoTo(2, 4);
    Presses = 0;
    Type("x");
    EXPECT_EQ(Presses, 1);
    EXPECT_EQ(EditorText(), "x");
    Press(Qt::Key_Escape);
    Press(Qt::Key_Escape);
    Grid->SetGridMode(gmBrowse);
    Presses = 0;
    Type("y");
    EXPECT_EQ(Presses, 1);
}

} // namespace

namespace {

TEST_F(KeyboardNavigationReading, DownWithOnlyReadOnlyRowsBelowFallsBackToTheCellBelow) {
    for (int R = 3; R <= 5; ++R)
        Grid->SetRowReadOnly(R, true);
    GoTo(2, 2);
    Press(Qt::Key_Down);
    EXPECT_EQ(At(), Cell(2, 3));
}

} // namespace

namespace {

// Paging over fixed, hidden and read-only rows.
struct PagingCase {
    const char* Name;
    int Fixed;
    int HiddenFrom, HiddenTo;
    int ReadOnlyFrom, ReadOnlyTo;
};

class KeyboardPaging : public KeyboardNavigationReading,
                       public ::testing::WithParamInterface<PagingCase> {};

TEST_P(KeyboardPaging, KeepsTheCurrentRowInViewAndReachesBothEnds) {
    const PagingCase& C = GetParam();
    Grid->SetGridRowCount(60);
    Grid->SetFixedRowCount(C.Fixed);
    for (int R = C.HiddenFrom; R > 0 && R <= C.HiddenTo; ++R)
        Grid->SetRowVisible(R, false);
    for (int R = C.ReadOnlyFrom; R > 0 && R <= C.ReadOnlyTo; ++R)
        Grid->SetRowReadOnly(R, true);
    GoTo(1, 1);
    auto InView = [&] {
        return Grid->Row() < Grid->FixedRows() ||
               (Grid->Row() >= Grid->TopRow() && Grid->Row() <= Grid->MaxVisibleRow());
    };
    std::vector<int> Down;
    for (int I = 0; I < 20 && At().second != 60; ++I) {
        Press(Qt::Key_PageDown);
        Down.push_back(At().second);
        EXPECT_TRUE(InView()) << "down to " << At().second;
        EXPECT_TRUE(Grid->GetRowVisible(At().second));
        EXPECT_GE(Grid->TopRow(), Grid->FixedRows());
    }
    EXPECT_EQ(At().second, 60);
    for (std::size_t I = 1; I < Down.size(); ++I)
        EXPECT_GT(Down[I], Down[I - 1]);
    for (int I = 0; I < 20 && At().second != 1; ++I) {
        const int Before = At().second;
        Press(Qt::Key_PageUp);
        EXPECT_LT(At().second, Before);
        EXPECT_TRUE(InView()) << "up to " << At().second;
        EXPECT_TRUE(Grid->GetRowVisible(At().second));
    }
    EXPECT_EQ(At().second, 1);
}

INSTANTIATE_TEST_SUITE_P(Table, KeyboardPaging,
                         ::testing::Values(PagingCase{"Plain", 0, 0, 0, 0, 0},
                                           PagingCase{"FixedRows", 2, 0, 0, 0, 0},
                                           PagingCase{"HiddenRows", 0, 10, 25, 0, 0},
                                           PagingCase{"ReadOnlyRows", 0, 0, 0, 5, 30}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

} // namespace

namespace {

TEST_F(KeyboardNavigationReading, CutKeysTakeTheSelectedTextOut) {
    for (auto [Key, Mods] : {std::pair{Qt::Key_X, Qt::KeyboardModifiers(Qt::ControlModifier)},
                             std::pair{Qt::Key_Delete, Qt::KeyboardModifiers(Qt::ShiftModifier)}}) {
        Grid->SetCellValue(1, 3, Variant(AnsiString("moved")));
        GoTo(2, 2);
        GoTo(1, 3);
        Press(Key, Mods);
        EXPECT_EQ(EditorText(), "") << Key;
        Press(Qt::Key_Tab);
        Press(Qt::Key_V, Qt::ControlModifier);
        Press(Qt::Key_Down);
        EXPECT_EQ(Stored(1, 3), "") << Key;
        EXPECT_EQ(Stored(2, 3), "moved") << Key;
        Grid->SetCellValue(2, 3, Variant(AnsiString()));
    }
}

} // namespace
