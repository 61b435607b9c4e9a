// Keys typed into a shown, focused grid: the moves of the current cell,
// paging, the clipboard keys, undo, the editor and the heading accelerators.
#include "ShownGridFixture.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/view/DateTimeDropDownCalendar.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/Variant.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <QApplication>

#include <string>
#include <vector>

using namespace grid;

namespace {

class KeyboardMovesReading : public ShownGridFixture {
protected:
    // A grid of Cols x Rows stored texts "cCrR", focused at (Col, Row).
    void Show(int Cols, int Rows, TgxGridMode Mode, int Col = 1, int Row = 1) {
        ShowGrid(Cols, Rows);
        Grid->SetStoreData(true);
        Grid->SetDefaultRowHeight(20);
        for (int C = 1; C <= Cols; ++C)
            for (int R = 1; R <= Rows; ++R)
                Grid->SetCellValue(C, R, Variant(AnsiString(Text(C, R).c_str())));
        Grid->SetGridMode(Mode);
        ShowActive(*Form);
        Grid->SetFocus();
        QApplication::processEvents();
        Grid->SetCurrentCell(Col, Row);
        QApplication::processEvents();
    }
    static std::string Text(int C, int R) {
        return "c" + std::to_string(C) + "r" + std::to_string(R);
    }
    void Press(int Key, Qt::KeyboardModifiers Mods = Qt::NoModifier, const QString& Chars = {}) {
        QWidget* Target = QApplication::focusWidget();
        TypeKey(Target ? Target : Grid->Widget(), Key, Chars, Mods);
        QApplication::processEvents();
    }
    std::string Value(int C, int R) { return VarToStr(Grid->GetCellValue(C, R)).c_str(); }
};

struct MoveCase {
    const char* Name;
    TgxGridMode Mode;
    int Col, Row;
    int Key;
    Qt::KeyboardModifiers Mods;
    int WantCol, WantRow;
};

// Six columns, twenty rows: every key lands where its row says.
TEST_F(KeyboardMovesReading, KeysMoveTheCurrentCell) {
    const Qt::KeyboardModifiers None = Qt::NoModifier, Ctrl = Qt::ControlModifier,
                                Shift = Qt::ShiftModifier, Alt = Qt::AltModifier;
    const std::vector<MoveCase> Cases = {
        // Keys the editor hands on.
        {"Down", gmEdit, 2, 2, Qt::Key_Down, None, 2, 3},
        {"Up", gmEdit, 2, 2, Qt::Key_Up, None, 2, 1},
        {"Tab", gmEdit, 2, 2, Qt::Key_Tab, None, 3, 2},
        {"Tab wraps", gmEdit, 6, 2, Qt::Key_Tab, None, 1, 3},
        {"Shift+Tab wraps back", gmEdit, 1, 3, Qt::Key_Backtab, Shift, 6, 2},
        {"Enter goes on like Tab", gmEdit, 2, 2, Qt::Key_Return, None, 3, 2},
        {"PageUp from the first row", gmEdit, 3, 1, Qt::Key_PageUp, None, 3, 1},
        {"PageUp from the second row", gmEdit, 3, 2, Qt::Key_PageUp, None, 3, 1},
        {"PageDown near the end", gmEdit, 3, 18, Qt::Key_PageDown, None, 3, 20},
        // Browsing with a focus frame: the grid has every key.
        {"Right with a focus frame goes to the next cell", gmBrowse, 2, 2, Qt::Key_Right, None, 3, 2},
        {"Left with a focus frame goes to the previous cell", gmBrowse, 2, 2, Qt::Key_Left, None, 1, 2},
        {"Right wraps", gmBrowse, 6, 2, Qt::Key_Right, None, 1, 3},
        {"Enter only while editing", gmBrowse, 2, 2, Qt::Key_Return, None, 2, 2},
        {"Ctrl+Home", gmBrowse, 3, 5, Qt::Key_Home, Ctrl, 1, 1},
        {"Ctrl+End", gmBrowse, 3, 5, Qt::Key_End, Ctrl, 6, 20},
        {"Ctrl+Up", gmBrowse, 3, 5, Qt::Key_Up, Ctrl, 3, 1},
        {"Ctrl+Down", gmBrowse, 3, 5, Qt::Key_Down, Ctrl, 3, 20},
        {"Ctrl+Left", gmBrowse, 3, 5, Qt::Key_Left, Ctrl, 1, 5},
        {"Ctrl+Right", gmBrowse, 3, 5, Qt::Key_Right, Ctrl, 6, 5},
        {"Ctrl+Shift+End is no Ctrl key", gmBrowse, 3, 5, Qt::Key_End, Ctrl | Shift, 3, 5},
        {"Alt+Right is left alone", gmBrowse, 3, 5, Qt::Key_Right, Alt, 3, 5},
    };
    for (const MoveCase& C : Cases) {
        Show(6, 20, C.Mode, C.Col, C.Row);
        ASSERT_EQ(Grid->Col(), C.Col) << C.Name;
        ASSERT_EQ(Grid->Row(), C.Row) << C.Name;
        Press(C.Key, C.Mods);
        EXPECT_EQ(Grid->Col(), C.WantCol) << C.Name;
        EXPECT_EQ(Grid->Row(), C.WantRow) << C.Name;
        EXPECT_TRUE(Grid->CellVisible(Grid->Col(), Grid->Row())) << C.Name;
        // After the key is let go, an editor shown over the new cell has the keys.
        if (C.Mode == gmEdit)
            EXPECT_NE(QApplication::focusWidget(), Grid->Widget()) << C.Name;
        delete Form;
        Form = nullptr;
    }
}

// At the end of a row without wrap, or of the grid, Tab stays; Enter ends
// the edit in place and selects the cell's text, so typing replaces it.
TEST_F(KeyboardMovesReading, TabAndEnterAtTheEnd) {
    struct Case {
        const char* Name;
        int Col, Row;
        bool Wrap;
    };
    for (const Case& C : {Case{"row end without wrap", 6, 2, false},
                          Case{"grid end", 6, 5, true}}) {
        Show(6, 5, gmEdit, C.Col, C.Row);
        Grid->SetTabRowWrap(C.Wrap);
        Press(Qt::Key_Tab);
        EXPECT_EQ(Grid->Col(), C.Col) << C.Name;
        EXPECT_EQ(Grid->Row(), C.Row) << C.Name;
        TypeText(QApplication::focusWidget(), "x");
        QApplication::processEvents();
        ASSERT_TRUE(Grid->CellEditing()) << C.Name;
        Press(Qt::Key_Return);
        EXPECT_FALSE(Grid->CellEditing()) << C.Name;
        EXPECT_EQ(Grid->Col(), C.Col) << C.Name;
        EXPECT_EQ(Grid->Row(), C.Row) << C.Name;
        TypeText(QApplication::focusWidget(), "y");
        Press(Qt::Key_Up);
        EXPECT_EQ(Value(C.Col, C.Row), "y") << C.Name;
        delete Form;
        Form = nullptr;
    }
}

TEST_F(KeyboardMovesReading, ShiftTabWrapsIntoViewAcrossAWideGrid) {
    Show(14, 10, gmEdit, 1, 5);
    Grid->SetDefaultColWidth(80);
    QApplication::processEvents();
    ASSERT_FALSE(Grid->ColInView(14));
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Grid->Col(), 14);
    EXPECT_EQ(Grid->Row(), 4);
    EXPECT_TRUE(Grid->ColInView(14));
    // And Tab brings the first column back.
    Press(Qt::Key_Tab);
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(Grid->Row(), 5);
    EXPECT_TRUE(Grid->ColInView(1));
}

// Paging never takes the top row past the one from which the last rows
// fill the window.
TEST_F(KeyboardMovesReading, PagingStopsAtBothEnds) {
    Show(3, 40, gmEdit, 2, 1);
    for (int I = 0; I < 5; ++I) {
        const int Before = Grid->Row();
        Press(Qt::Key_PageDown);
        EXPECT_GT(Grid->Row(), I < 3 ? Before : Before - 1);
        EXPECT_LE(Grid->TopRow(), Grid->GetMaxTopRow());
        EXPECT_TRUE(Grid->CellVisible(2, Grid->Row()));
    }
    EXPECT_EQ(Grid->Row(), 40);
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow());
    for (int I = 0; I < 5; ++I) {
        Press(Qt::Key_PageUp);
        EXPECT_TRUE(Grid->CellVisible(2, Grid->Row()));
    }
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Grid->TopRow(), 1);
}

// A page down from the top row starts the next page with the row moved to;
// a page up brings both back.
TEST_F(KeyboardMovesReading, PagesTurnByTheRowsThatFit) {
    Show(3, 40, gmEdit, 2, 1);
    const int V = Grid->GetVisibleRowCount();
    ASSERT_EQ(V, 14);
    Press(Qt::Key_PageDown);
    EXPECT_EQ(Grid->Row(), 1 + V);
    EXPECT_EQ(Grid->TopRow(), 1 + V);
    // Near the end the top stops where the last rows fill the window.
    ASSERT_LT(Grid->GetMaxTopRow(), 1 + 2 * V);
    Press(Qt::Key_PageDown);
    EXPECT_EQ(Grid->Row(), 1 + 2 * V);
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow());
    Press(Qt::Key_PageUp);
    EXPECT_EQ(Grid->Row(), 1 + V);
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow() - V);
    Press(Qt::Key_PageUp);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Grid->TopRow(), 1);
}

// Without editing or a focus frame, Left and Right scroll by a column.
TEST_F(KeyboardMovesReading, ListBoxLeftAndRightScroll) {
    Show(14, 5, gmListBox, 1, 2);
    Grid->SetDefaultColWidth(80);
    QApplication::processEvents();
    Press(Qt::Key_Right);
    EXPECT_EQ(Grid->LeftCol(), 2);
    EXPECT_EQ(Grid->Col(), 2);
    Press(Qt::Key_Left);
    EXPECT_EQ(Grid->LeftCol(), 1);
    EXPECT_EQ(Grid->Col(), 1);
    Press(Qt::Key_Left);
    EXPECT_EQ(Grid->LeftCol(), 1);
}

TEST_F(KeyboardMovesReading, ClipboardKeys) {
    struct Case {
        const char* Name;
        int Key;
        Qt::KeyboardModifiers Mods;
        const char* Clip;    // on the clipboard afterwards
        const char* Cell;    // in cell (2, 2) afterwards
    };
    const Qt::KeyboardModifiers Ctrl = Qt::ControlModifier, Shift = Qt::ShiftModifier;
    const std::vector<Case> Cases = {
        {"Ctrl+C", Qt::Key_C, Ctrl, "c2r2", "c2r2"},
        {"Ctrl+Insert", Qt::Key_Insert, Ctrl, "c2r2", "c2r2"},
        {"Ctrl+V", Qt::Key_V, Ctrl, "pasted", "pasted"},
        {"Shift+Insert", Qt::Key_Insert, Shift, "pasted", "pasted"},
        {"Ctrl+X", Qt::Key_X, Ctrl, "c2r2", ""},
        {"Shift+Delete", Qt::Key_Delete, Shift, "c2r2", ""},
        {"Ctrl+Shift+C", Qt::Key_C, Ctrl | Shift, "pasted", "c2r2"},
    };
    for (const Case& C : Cases) {
        Show(3, 3, gmEdit, 2, 2);
        Clipboard()->SetAsText("pasted");
        Press(C.Key, C.Mods);
        Press(Qt::Key_Down);
        EXPECT_EQ(std::string(Clipboard()->AsText().c_str()), C.Clip) << C.Name;
        EXPECT_EQ(Value(2, 2), C.Cell) << C.Name;
        delete Form;
        Form = nullptr;
    }
}

TEST_F(KeyboardMovesReading, EscapeTakesBackTheTypedText) {
    Show(3, 3, gmEdit, 2, 2);
    TypeText(QApplication::focusWidget(), "zz");
    QApplication::processEvents();
    ASSERT_TRUE(Grid->CellEditing());
    Press(Qt::Key_Escape);
    Press(Qt::Key_Down);
    EXPECT_EQ(Value(2, 2), "c2r2");
    EXPECT_EQ(Grid->Row(), 3);
}

TEST_F(KeyboardMovesReading, EscapeOnTheInsertionRowGoesBackToTheLastRow) {
    Show(3, 3, gmEditInsert, 1, 3);
    Press(Qt::Key_Down);
    ASSERT_TRUE(Grid->HoldsInsertRow(Grid->Row()));
    ASSERT_EQ(Grid->Row(), 4);
    Press(Qt::Key_Escape);
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_EQ(Grid->GetGridRowCount(), 3);
}

TEST_F(KeyboardMovesReading, AHandlerThatTakesTheKeyStopsTheMove) {
    Show(3, 5, gmEdit, 2, 2);
    Grid->OnKeyDown = [](TObject*, Word& Key, TShiftState) {
        if (Key == VK_DOWN) Key = 0;
    };
    Press(Qt::Key_Down);
    EXPECT_EQ(Grid->Row(), 2);
    Press(Qt::Key_Up);
    EXPECT_EQ(Grid->Row(), 1);
}

TEST_F(KeyboardMovesReading, F2AndTypingShowTheEditor) {
    Show(3, 3, gmEdit, 2, 2);
    Grid->SetAlwaysShowEditor(false);
    Press(Qt::Key_Down);
    ASSERT_FALSE(Grid->EditorShown());
    Press(Qt::Key_F2);
    EXPECT_TRUE(Grid->EditorShown());
    // Escape with nothing typed puts the editor away again.
    Press(Qt::Key_Escape);
    EXPECT_FALSE(Grid->EditorShown());
    Press(Qt::Key_Up);
    TypeText(QApplication::focusWidget(), "q");
    QApplication::processEvents();
    EXPECT_TRUE(Grid->EditorShown());
    Press(Qt::Key_Down);
    EXPECT_EQ(Value(2, 2), "q");
}

TEST_F(KeyboardMovesReading, AltAndAHeadingLetterClicksTheHeading) {
    Show(3, 3, gmEdit, 1, 1);
    Grid->GridCols()->Item(2)->SetHeading("&Qty");
    Grid->GridCols()->Item(3)->SetHeading("&Price");
    std::vector<int> Clicked;
    Grid->OnHeadingClick = [&](TObject*, int DataCol) { Clicked.push_back(DataCol); };
    Press(Qt::Key_P, Qt::AltModifier, "p");
    Press(Qt::Key_Q, Qt::AltModifier, "q");
    Press(Qt::Key_Z, Qt::AltModifier, "z");
    EXPECT_EQ(Clicked, std::vector<int>({3, 2}));
}

// During a column resize only Escape counts: it ends the resize.
TEST_F(KeyboardMovesReading, KeysDuringAColumnResize) {
    Show(3, 5, gmEdit, 2, 2);
    const int Edge = Grid->CalcColOffset(2) + Grid->ColWidths(2) - 1;
    const int Width = Grid->ColWidths(2);
    QWidget* W = Grid->Widget();
    SendMouse(W, QEvent::MouseMove, QPoint(Edge, 5), Qt::NoButton);
    SendMouse(W, QEvent::MouseButtonPress, QPoint(Edge, 5));
    SendMouse(W, QEvent::MouseMove, QPoint(Edge + 30, 5), Qt::NoButton, Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_EQ(Grid->MouseStatus(), msColResize);
    TypeKey(W, Qt::Key_Down);
    EXPECT_EQ(Grid->Row(), 2);
    EXPECT_EQ(Grid->MouseStatus(), msColResize);
    TypeKey(W, Qt::Key_Escape);
    EXPECT_EQ(Grid->MouseStatus(), msNormal);
    SendMouse(W, QEvent::MouseButtonRelease, QPoint(Edge + 30, 5));
    QApplication::processEvents();
    EXPECT_EQ(Grid->ColWidths(2), Width);
}

// Read-only columns are passed over; typing after a move edits the cell
// moved to, with its own text.
TEST_F(KeyboardMovesReading, MovesSkipReadOnlyColumnsAndEditTheirTarget) {
    Show(5, 4, gmEdit, 2, 2);
    Grid->GridCols()->Item(3)->SetReadOnly(true);
    Press(Qt::Key_Tab);
    EXPECT_EQ(Grid->Col(), 4);
    Press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(Grid->Col(), 2);
    Press(Qt::Key_Down);
    Press(Qt::Key_End);
    TypeText(QApplication::focusWidget(), "!");
    Press(Qt::Key_Up);
    EXPECT_EQ(Value(2, 3), "c2r3!");
    EXPECT_EQ(Value(2, 2), "c2r2");
}

TEST_F(KeyboardMovesReading, CtrlZTakesBackTheTypedText) {
    Show(3, 3, gmEdit, 2, 2);
    TypeText(QApplication::focusWidget(), "zz");
    QApplication::processEvents();
    Press(Qt::Key_Z, Qt::ControlModifier, "z");
    Press(Qt::Key_Down);
    EXPECT_EQ(Value(2, 2), "c2r2");
}

// A list box with one selected row: the arrows carry the selection along.
TEST_F(KeyboardMovesReading, ListBoxArrowsCarryTheRowSelection) {
    Show(3, 30, gmListBox, 1, 2);
    Grid->SetRowSelectMode(rsSingle);
    Grid->SetRowSelected(2, true);
    ASSERT_EQ(Grid->GridStatus(), grRowSelect);
    Press(Qt::Key_Down);
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_TRUE(Grid->GetRowSelected(3));
    EXPECT_FALSE(Grid->GetRowSelected(2));
    Press(Qt::Key_Up);
    Press(Qt::Key_Up);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_TRUE(Grid->GetRowSelected(1));
    EXPECT_EQ(Grid->NumberOfRowsSelected(1, 30), 1);
    Press(Qt::Key_PageDown);
    EXPECT_GT(Grid->Row(), 2);
    EXPECT_TRUE(Grid->GetRowSelected(Grid->Row()));
    EXPECT_EQ(Grid->NumberOfRowsSelected(1, 30), 1);
    Press(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Grid->Row(), 30);
    EXPECT_TRUE(Grid->GetRowSelected(30));
    EXPECT_EQ(Grid->NumberOfRowsSelected(1, 30), 1);
}

// Alt+Down and F4 open a combo cell's list; Escape closes it.
TEST_F(KeyboardMovesReading, DropDownKeysOpenAndCloseTheList) {
    for (const auto& [Key, Mods] : {std::pair{Qt::Key_Down, Qt::AltModifier},
                                    std::pair{Qt::Key_F4, Qt::NoModifier}}) {
        Show(3, 3, gmEdit, 2, 2);
        Grid->GridCols()->Item(2)->SetButtonType(btCombo);
        QApplication::processEvents();
        Press(Key, Mods);
        EXPECT_TRUE(Grid->ComboVisible());
        Press(Qt::Key_Escape);
        EXPECT_FALSE(Grid->ComboVisible());
        EXPECT_EQ(Grid->Row(), 2);
        // A read-only combo cell does not open.
        Grid->GridCols()->Item(2)->SetReadOnly(true);
        Press(Key, Mods);
        EXPECT_FALSE(Grid->ComboVisible());
        delete Form;
        Form = nullptr;
    }
}

// With the list open: the arrows move in the list, Enter takes its row into
// the cell, Tab closes it and goes on to the next cell.
TEST_F(KeyboardMovesReading, KeysWhileTheListIsOpen) {
    Show(3, 3, gmEdit, 2, 2);
    Grid->GridCols()->Item(2)->SetButtonType(btCombo);
    Grid->OnComboInit = [](TObject*, TgxComboGrid* List, int, int) {
        List->SetStoreData(true);
        List->SetGridColCount(1);
        List->SetGridRowCount(3);
        for (int R = 1; R <= 3; ++R)
            List->SetCellValue(1, R, Variant(AnsiString(("item" + std::to_string(R)).c_str())));
    };
    QApplication::processEvents();
    Press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Grid->ComboVisible());
    Press(Qt::Key_Return);
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(Grid->Row(), 2);
    const std::string First = Value(2, 2) == "c2r2" ? "" : Value(2, 2);
    Press(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Grid->ComboVisible());
    Press(Qt::Key_Down);
    EXPECT_TRUE(Grid->ComboVisible());
    EXPECT_EQ(Grid->Row(), 2);
    Press(Qt::Key_Return);
    Press(Qt::Key_Up);
    const std::string Second = Value(2, 2);
    EXPECT_EQ(Second.rfind("item", 0), 0u) << Second;
    EXPECT_NE(Second, First);

    Grid->SetCurrentCell(2, 2);
    QApplication::processEvents();
    Press(Qt::Key_F4);
    ASSERT_TRUE(Grid->ComboVisible());
    Press(Qt::Key_Tab);
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(Grid->Col(), 3);
}

// A current cell scrolled out of sight is brought back before the key acts.
TEST_F(KeyboardMovesReading, AKeyBringsTheScrolledAwayCellBack) {
    Show(3, 60, gmEdit, 2, 2);
    Grid->SetTopRow(30);
    QApplication::processEvents();
    ASSERT_FALSE(Grid->CellVisible(2, 2));
    Press(Qt::Key_Down);
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_TRUE(Grid->CellVisible(2, 3));
}

// A letter typed into a cell that only takes list values picks the first
// list row starting with it.
TEST_F(KeyboardMovesReading, ALetterPicksFromAListOnlyCell) {
    Show(3, 3, gmEdit, 2, 2);
    TgxCol* Col = Grid->GridCols()->Item(2);
    Col->SetButtonType(btCombo);
    Col->SetDropDownStyle(ddDropDownList);
    Grid->OnComboInit = [](TObject*, TgxComboGrid* List, int, int) {
        List->SetStoreData(true);
        List->SetGridColCount(1);
        List->SetGridRowCount(3);
        List->SetAutoSearch(asTop);
        const char* Items[] = {"alpha", "beta", "gamma"};
        for (int R = 1; R <= 3; ++R) List->SetCellValue(1, R, Variant(AnsiString(Items[R - 1])));
    };
    QApplication::processEvents();
    TypeText(QApplication::focusWidget(), "g");
    QApplication::processEvents();
    Press(Qt::Key_Down);
    EXPECT_EQ(Value(2, 2), "gamma");
    EXPECT_EQ(Grid->Row(), 3);
}

// With the calendar dropped, keys go to it or close it.
TEST_F(KeyboardMovesReading, KeysWhileTheCalendarIsOpen) {
    struct Case {
        const char* Name;
        int Key;
        Qt::KeyboardModifiers Mods;
        const char* Chars;
        bool StaysOpen;
        int Col;
    };
    const Qt::KeyboardModifiers None = Qt::NoModifier;
    const std::vector<Case> Cases = {
        {"Escape closes", Qt::Key_Escape, None, "", false, 2},
        {"F4 closes", Qt::Key_F4, None, "", false, 2},
        {"Alt+Up closes", Qt::Key_Up, Qt::AltModifier, "", false, 2},
        {"Tab closes and is left to the window", Qt::Key_Tab, None, "", false, 2},
        {"Right moves in the calendar", Qt::Key_Right, None, "", true, 2},
        {"Down moves in the calendar", Qt::Key_Down, None, "", true, 2},
        {"Home does nothing", Qt::Key_Home, None, "", true, 2},
        {"a letter is swallowed", Qt::Key_X, None, "x", true, 2},
        {"Ctrl+End does nothing", Qt::Key_End, Qt::ControlModifier, "", true, 2},
    };
    for (const Case& C : Cases) {
        Show(3, 3, gmEdit, 2, 2);
        auto* Def = new TgxCalendarDateTimeDef(Form);
        Grid->SetDateTimeDef(Def);
        Grid->GridCols()->Item(2)->SetButtonType(btDateTimeDropDown);
        QApplication::processEvents();
        Press(Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(Grid->DateTimeVisible()) << C.Name;
        Press(C.Key, C.Mods, C.Chars);
        EXPECT_EQ(Grid->DateTimeVisible(), C.StaysOpen) << C.Name;
        EXPECT_EQ(Grid->Col(), C.Col) << C.Name;
        EXPECT_EQ(Grid->Row(), 2) << C.Name;
        EXPECT_EQ(Value(2, 2), "c2r2") << C.Name;
        delete Form;
        Form = nullptr;
    }
}

} // namespace
