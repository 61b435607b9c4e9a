// Editing cells in place: typing, moving on with Tab and Enter, masks,
// check boxes, undo and the insertion row.
#include "GridEditFixture.h"
#include "grid/foundation/MaskDefs.h"
#include "grid/model/Combo.h"
#include "grid/model/ControlWrappers.h"
#include "platform/gui/Clipboard.h"

#include <algorithm>
#include <cmath>

using namespace grid;

namespace {

class GridEdit : public GridEditFixture {};

} // namespace

TEST_F(GridEdit, TypedTextReachesTheCellWhenTabAndEnterMoveOn) {
    GoTo(1, 1);
    Type("ab");
    EXPECT_EQ(EditorText(), "ab");
    EXPECT_TRUE(Grid->CellEditing());
    EXPECT_EQ(Stored(1, 1), "");
    Press(Qt::Key_Tab);
    EXPECT_EQ(At(), std::make_pair(2, 1));
    EXPECT_EQ(Stored(1, 1), "ab");
    Type("c");
    Press(Qt::Key_Return);
    EXPECT_EQ(At(), std::make_pair(3, 1));
    EXPECT_EQ(Stored(2, 1), "c");
}

TEST_F(GridEdit, MovingWithinARowEndsTheCellAndToAnotherRowTheRowAsWell) {
    LogEvents();
    GoTo(1, 2);
    Type("x");
    EXPECT_EQ(Log, (std::vector<std::string>{"start cell 1,2", "start row 2"}));
    Log.clear();
    Press(Qt::Key_Tab);
    EXPECT_EQ(Log, (std::vector<std::string>{"end cell 1,2"}));
    Type("y");
    Log.clear();
    Press(Qt::Key_Down);
    EXPECT_EQ(Log, (std::vector<std::string>{"end cell 2,2", "end row 2"}));
    EXPECT_EQ(At(), std::make_pair(2, 3));
    // The edited row carries the changed mark.
    EXPECT_TRUE(Grid->ChangedRows().GetBit(2));
}

TEST_F(GridEdit, ARefusedEndKeepsTheTypedTextInTheEditorAndTheOldValueInTheCell) {
    Grid->SetCellValue(1, 2, Variant("old"));
    LogEvents();
    GoTo(1, 2);
    RefuseCell = true;
    Grid->CurrentCell()->SelectAll();
    Type("new");
    Press(Qt::Key_Down);
    EXPECT_EQ(At(), std::make_pair(1, 2));
    EXPECT_EQ(EditorText(), "new");
    EXPECT_EQ(Stored(1, 2), "old");
    // The end of the row is not asked while the cell refuses.
    EXPECT_EQ(std::count(Log.begin(), Log.end(), "end row 2"), 0);
    // A handler that fails counts as a refusal too.
    Grid->OnEndCellEdit = [](TObject*, int, int, bool&) { throw Exception("no"); };
    Press(Qt::Key_Tab);
    EXPECT_EQ(At(), std::make_pair(1, 2));
    RefuseCell = false;
    LogEvents();
    Press(Qt::Key_Down);
    EXPECT_EQ(At(), std::make_pair(1, 3));
    EXPECT_EQ(Stored(1, 2), "new");
}

TEST_F(GridEdit, AMaskCheckedOnLeavingRefusesAnIncompleteValueOrFillsItsLiterals) {
    TgxMaskDefs Defs(nullptr);
    TgxMask* Mask = Defs.Masks()->Add();
    Mask->SetName("Code");
    Mask->SetPicture("###-");
    Mask->SetEvaluate({mcOnExit});
    Grid->SetMaskDefs(&Defs);
    Grid->GetCol(1)->SetMaskName("Code");
    struct Case {
        const char* Typed;
        bool FillOnExit;
        bool Leaves;
        const char* Kept; // in the cell when it left, in the editor when it did not
    };
    const Case Cases[] = {
        {"123", false, false, "123"},
        {"123", true, true, "123-"},
        {"12", true, false, "12"},
        {"12", false, false, "12"},
    };
    for (const Case& C : Cases) {
        Mask->SetAutoFill(C.FillOnExit ? TgxMaskChecks{mcOnExit} : TgxMaskChecks{});
        Grid->SetCellValue(1, 1, Variant("old"));
        Grid->EndEdit(true);
        GoTo(2, 1);
        GoTo(1, 1);
        int Invalid = 0;
        Grid->OnInvalidMaskValue = [&Invalid](TObject*, int, int, bool&) { ++Invalid; };
        Grid->CurrentCell()->SelectAll();
        Type(C.Typed);
        Press(Qt::Key_Tab);
        const std::string Name = std::string(C.Typed) + (C.FillOnExit ? " filled" : " plain");
        if (C.Leaves) {
            EXPECT_EQ(At(), std::make_pair(2, 1)) << Name;
            EXPECT_EQ(Stored(1, 1), C.Kept) << Name;
            EXPECT_EQ(Invalid, 0) << Name;
        } else {
            EXPECT_EQ(At(), std::make_pair(1, 1)) << Name;
            EXPECT_EQ(EditorText(), C.Kept) << Name;
            EXPECT_EQ(Stored(1, 1), "old") << Name;
            EXPECT_EQ(Invalid, 1) << Name;
        }
    }
    // A handler that accepts the value lets the move go on.
    Grid->OnInvalidMaskValue = [](TObject*, int, int, bool& Accept) { Accept = true; };
    Press(Qt::Key_Tab);
    EXPECT_EQ(At(), std::make_pair(2, 1));
    Grid->SetMaskDefs(nullptr);
}

TEST_F(GridEdit, SpaceTogglesACheckCell) {
    Grid->GetCol(2)->SetControlType(ctCheck);
    Grid->SetCellValue(2, 1, Variant(0));
    GoTo(2, 1);
    ASSERT_EQ(Grid->GridControl(), Grid->GridCellControl(ctCheck));
    EXPECT_TRUE(Grid->GridControl()->GetVisible());
    Press(Qt::Key_Space, Qt::NoModifier, " ");
    EXPECT_EQ(Grid->CurrentCell()->GetValue().AsInteger(), 1);
    EXPECT_TRUE(Grid->CellEditing());
    Press(Qt::Key_Down);
    EXPECT_EQ(Grid->GetDataValue(2, 1, ctCheck).AsInteger(), 1);
}

TEST_F(GridEdit, EscapeUndoesTheCellFirstAndThenTheRow) {
    Grid->SetCellValue(1, 1, Variant("a"));
    Grid->SetCellValue(2, 1, Variant("b"));
    LogEvents();
    GoTo(1, 1);
    Type("1");
    Press(Qt::Key_Tab);
    Type("2");
    Log.clear();
    Press(Qt::Key_Escape);
    EXPECT_EQ(Log, (std::vector<std::string>{"undo cell 2,1"}));
    EXPECT_EQ(EditorText(), "b");
    EXPECT_TRUE(Grid->RowEditing());
    Press(Qt::Key_Escape);
    EXPECT_EQ(Log, (std::vector<std::string>{"undo cell 2,1", "undo row 1"}));
    EXPECT_FALSE(Grid->RowEditing());
    EXPECT_EQ(Stored(1, 1), "a");
    // Ending by program with cancel undoes both levels of a first cell at once.
    GoTo(1, 2);
    Type("z");
    Log.clear();
    Grid->EndEdit(true);
    EXPECT_EQ(Log, (std::vector<std::string>{"undo cell 1,2", "undo row 2"}));
    EXPECT_FALSE(Grid->CellEditing());
}

TEST_F(GridEdit, TypingIntoTheInsertionRowAddsARow) {
    LogEvents();
    Grid->SetGridMode(gmEditInsert);
    EXPECT_TRUE(Grid->InsertionRowShown());
    EXPECT_EQ(Grid->RowCount(), 5 + 2);
    // Entering the insertion row makes it a row; leaving it untouched takes it back.
    GoTo(1, 5);
    Press(Qt::Key_Down);
    EXPECT_EQ(Grid->GetGridRowCount(), 6);
    EXPECT_EQ(Log, (std::vector<std::string>{"insert row 6"}));
    Press(Qt::Key_Up);
    EXPECT_EQ(Grid->GetGridRowCount(), 5);
    EXPECT_TRUE(Grid->InsertionRowShown());
    EXPECT_EQ(Log, (std::vector<std::string>{"insert row 6", "delete row 6"}));
    // Typing keeps it and shows a fresh insertion row below.
    Press(Qt::Key_Down);
    Type("new");
    EXPECT_EQ(Grid->GetGridRowCount(), 6);
    EXPECT_EQ(Grid->RowCount(), 6 + 2);
    Press(Qt::Key_Up);
    EXPECT_EQ(Grid->GetGridRowCount(), 6);
    EXPECT_EQ(Stored(1, 6), "new");
    // Back to gmEdit: the insertion row goes.
    Grid->SetGridMode(gmEdit);
    EXPECT_FALSE(Grid->InsertionRowShown());
    EXPECT_EQ(Grid->RowCount(), 6 + 1);
}

// A row resized below the current one leaves the editor alone; one above
// moves it down, and its own row gives it its height.
TEST_F(GridEdit, TheEditorFollowsRowsResizedAboveItAndItsOwn) {
    GoTo(1, 2);
    TgxCustomGridControl* Editor = Grid->GridControl();
    ASSERT_TRUE(Editor->GetVisible());
    const int Top = Editor->GetTop();
    const int Height = Editor->GetHeight();
    Grid->SetRowHeight(4, 40);
    EXPECT_EQ(Editor->GetTop(), Top);
    EXPECT_TRUE(Editor->GetVisible());
    Grid->SetRowHeight(1, Grid->GetRowHeight(1) + 10);
    EXPECT_EQ(Editor->GetTop(), Top + 10);
    EXPECT_TRUE(Editor->GetVisible());
    Grid->SetRowHeight(2, Grid->GetRowHeight(2) + 8);
    EXPECT_EQ(Editor->GetTop(), Top + 10);
    EXPECT_EQ(Editor->GetHeight(), Height + 8);
}

TEST_F(GridEdit, BrowseModeHidesTheEditorAndDropsTheBuffer) {
    GoTo(1, 1);
    ASSERT_TRUE(Grid->GridControl()->GetVisible());
    Grid->SetGridMode(gmBrowse);
    EXPECT_FALSE(Grid->GridControl()->GetVisible());
    EXPECT_TRUE(Grid->CurrentCell()->IsClear());
    EXPECT_FALSE(Grid->StartEdit());
    Type("q");
    EXPECT_EQ(Stored(1, 1), "");
    Grid->SetGridMode(gmEdit);
    EXPECT_TRUE(Grid->GridControl()->GetVisible());
}

TEST_F(GridEdit, ASpinStepChangesTheNumberAtTheCaretUnlessTheApplicationRefuses) {
    Grid->GetCol(1)->SetButtonType(btVertSpin);
    Grid->GetCol(1)->SetSpinIncrement(5);
    Grid->SetCellValue(1, 1, Variant("10"));
    GoTo(1, 1);
    Grid->CheckSpinIncrement(1, 1, true);
    EXPECT_EQ(EditorText(), "15");
    EXPECT_TRUE(Grid->CellEditing());
    Grid->CheckSpinIncrement(1, 1, false);
    Grid->CheckSpinIncrement(1, 1, false);
    EXPECT_EQ(EditorText(), "5");
    Grid->OnSpinIncrement = [](TObject*, int, int, bool, Variant&, int&, int&, bool& Accept) {
        Accept = false;
    };
    Grid->CheckSpinIncrement(1, 1, true);
    EXPECT_EQ(EditorText(), "5");
    // The caret stands behind the changed number; the application may
    // change the value, place the caret and select text instead.
    Grid->OnSpinIncrement = nullptr;
    Grid->CheckSpinIncrement(1, 1, true);
    EXPECT_EQ(EditorText(), "10");
    EXPECT_EQ(Grid->GridControl()->GetSelStart(), 2);
    EXPECT_EQ(Grid->GridControl()->GetSelLength(), 0);
    Grid->OnSpinIncrement = [](TObject*, int, int, bool Up, Variant& Value, int& Pos, int& Len,
                               bool&) {
        EXPECT_TRUE(Up);
        EXPECT_EQ(Value.AsString(), "15");
        EXPECT_EQ(Pos, 2);
        EXPECT_EQ(Len, 0);
        Value = Variant(AnsiString("150"));
        Pos = 1;
        Len = 2;
    };
    Grid->CheckSpinIncrement(1, 1, true);
    EXPECT_EQ(EditorText(), "150");
    EXPECT_EQ(Grid->GridControl()->GetSelStart(), 1);
    EXPECT_EQ(Grid->GridControl()->GetSelLength(), 2);
    // Without automatic increment nothing changes.
    Grid->OnSpinIncrement = nullptr;
    Grid->GetCol(1)->SetSpinOptions({spoAutoRepeat});
    Grid->CheckSpinIncrement(1, 1, true);
    EXPECT_EQ(EditorText(), "150");
}

TEST_F(GridEdit, AClickOnTheSpinButtonFitsTheNewNumberToAMaskThatFillsWhileTyping) {
    TgxMaskDefs Defs(nullptr);
    TgxMask* Mask = Defs.Masks()->Add();
    Mask->SetName("Count");
    Mask->SetPicture("###");
    Mask->SetAutoFill({mcOnEdit});
    Grid->SetMaskDefs(&Defs);
    Grid->GetCol(1)->SetMaskName("Count");
    Grid->GetCol(1)->SetButtonType(btVertSpin);
    Grid->GetCol(1)->SetSpinOptions({spoAutoIncrement});
    const auto ClickSpin = [this](bool Up) {
        const TRect Cell = Grid->CellRect(Grid->GetDisplayCol(1), Grid->GetDisplayRow(1));
        const QPoint At(Cell.Right - 2, Cell.Top + (Up ? 2 : Grid->SpinButtonHeight() + 3));
        ClickAt(Grid->Widget(), At);
        QApplication::processEvents();
    };
    struct TCase {
        const char* Was;
        bool Up;
        const char* Now;
    };
    // A number shorter than the mask's places is taken as it stands (the
    // mask fills it only as the typing goes on); one as long is padded.
    for (const TCase& C : {TCase{"5", true, "6"}, TCase{"5", false, "4"},
                           TCase{"009", true, "010"}, TCase{"42", true, "43"}}) {
        SCOPED_TRACE(std::string(C.Was) + (C.Up ? " up" : " down"));
        Grid->SetCellValue(1, 1, Variant(C.Was));
        GoTo(1, 2);
        GoTo(1, 1);
        ClickSpin(C.Up);
        EXPECT_EQ(EditorText(), C.Now);
        Press(Qt::Key_Escape);
        Press(Qt::Key_Escape);
    }
    Grid->SetMaskDefs(nullptr);
}

TEST_F(GridEdit, CutAndPasteGoThroughTheEditorOfATextCell) {
    Grid->SetCellValue(1, 1, Variant("abc"));
    GoTo(1, 1);
    Grid->CurrentCell()->SelectAll();
    Press(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Clipboard()->AsText(), "abc");
    EXPECT_EQ(EditorText(), "");
    Press(Qt::Key_Down);
    EXPECT_EQ(Stored(1, 1), "");
    Press(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(EditorText(), "abc");
    // A check cell has nothing to cut.
    Grid->GetCol(2)->SetControlType(ctCheck);
    GoTo(2, 2);
    EXPECT_FALSE(Grid->CutCellToClipboard());
}

TEST_F(GridEdit, ColumnSettingsChangedDuringAnEditReachTheEditor) {
    GoTo(1, 1);
    Press(Qt::Key_F2);
    Grid->GetCol(1)->SetMaxLength(3);
    EXPECT_EQ(Grid->GridControl()->GetMaxLength(), 3);
    Type("abcd");
    EXPECT_EQ(EditorText(), "abc");
    Grid->GetCol(1)->SetMaskName("Code");
    EXPECT_EQ(Grid->GridControl()->GetMaskName(), "Code");
    // The check control takes the column's values while its cell is current.
    Press(Qt::Key_Escape);
    Press(Qt::Key_Escape);
    Grid->GetCol(2)->SetControlType(ctCheck);
    GoTo(2, 1);
    Grid->GetCol(2)->SetCheckBoxValues("Y|N");
    auto* Check = static_cast<TgxCheckGridControl*>(Grid->GridCellControl(ctCheck));
    EXPECT_EQ(Check->GetCheckBoxValues(), "Y|N");
}

// The cell holds "abc" with "bc" selected: the pasted text may take the
// place of the selection up to the column's MaxLength of 5, no further.
TEST_F(GridEdit, APasteBeyondMaxLengthIsRefusedAndReportedSo) {
    struct Case {
        const char* Clip;
        bool Taken;
        const char* After;
    };
    for (const Case& C : {Case{"VWXYZ", false, "abc"}, Case{"WXYZ", true, "aWXYZ"}}) {
        SCOPED_TRACE(C.Clip);
        Grid->SetCellValue(1, 1, Variant("abc"));
        Grid->GetCol(1)->SetMaxLength(5);
        GoTo(1, 1);
        Press(Qt::Key_F2);
        Grid->CurrentCell()->SetSelStart(1);
        Grid->CurrentCell()->SetSelLength(2);
        Clipboard()->SetAsText(C.Clip);
        EXPECT_EQ(Grid->PasteCellFromClipboard(), C.Taken);
        EXPECT_EQ(EditorText(), C.After);
        Press(Qt::Key_Escape);
        Press(Qt::Key_Escape);
        GoTo(2, 2);
    }
    // Ctrl+V from the keyboard takes the same path.
    GoTo(1, 1);
    Press(Qt::Key_F2);
    Press(Qt::Key_End);
    Clipboard()->SetAsText("XYZ");
    Press(Qt::Key_V, Qt::ControlModifier, QString(QChar(22)));
    EXPECT_EQ(EditorText(), "abc");
    // Nothing to paste into outside a text cell.
    Grid->GetCol(3)->SetControlType(ctCheck);
    GoTo(3, 1);
    EXPECT_FALSE(Grid->CurrentCell()->PasteFromClipboard());
}

TEST_F(GridEdit, TheCurrentCellTakesValuesAndAnswersForItsCell) {
    TgxCurrentCell* Cell = Grid->CurrentCell();
    Grid->SetCellValue(1, 2, Variant("some text"));
    GoTo(1, 2);
    EXPECT_EQ(Cell->GetControlType(), ctText);
    EXPECT_EQ(Cell->GetTextWidth(), Grid->GetCellTextWidth(1, 2));
    EXPECT_TRUE(Cell->SetValue(Variant("new")));
    EXPECT_EQ(EditorText(), "new");
    EXPECT_TRUE(Grid->CellEditing());
    // A value of the wrong type is refused (and reported while checks raise).
    Grid->SetReportInvalidOps(false);
    EXPECT_FALSE(Cell->SetValue(Variant(5)));
    EXPECT_EQ(EditorText(), "new");
    Grid->SetReportInvalidOps(true);
    Cell->SelectAll();
    Cell->SetSelText("other");
    EXPECT_EQ(EditorText(), "other");
    Press(Qt::Key_Return);
    EXPECT_EQ(Stored(1, 2), "other");
    TObject Payload;
    Cell->SetData(&Payload);
    EXPECT_EQ(Grid->GetCellData(Grid->GetCurrentDataCol(), Grid->GetCurrentDataRow()), &Payload);
    EXPECT_EQ(Cell->GetData(), &Payload);
    Cell->SetData(nullptr);
    // A browsing grid takes no value.
    Grid->SetGridMode(gmBrowse);
    EXPECT_FALSE(Cell->SetValue(Variant("x")));
    Grid->SetGridMode(gmEdit);
    Grid->GetCol(2)->SetControlType(ctCheck);
    GoTo(2, 2);
    EXPECT_EQ(Cell->GetControlType(), ctCheck);
    EXPECT_EQ(Cell->GetTransparentColor(), clNone);
}

TEST_F(GridEdit, PutInViewScrollsTheCurrentCellBackIntoView) {
    Grid->SetGridRowCount(60);
    GoTo(1, 50);
    Grid->SetTopLeft(1, 1);
    ASSERT_EQ(Grid->TopRow(), 1);
    Grid->CurrentCell()->PutInView();
    EXPECT_GT(Grid->TopRow(), 1);
    EXPECT_LE(Grid->TopRow(), 50);
}

TEST_F(GridEdit, OwnListsAndTheDropDownRowHeightScaleWithTheGrid) {
    TgxCol* Column = Grid->GetCol(2);
    Column->SetParentCombo(false);
    TgxComboGrid* List = Column->GetCombo()->GetGrid();
    const int ListRow = List->DefaultRowHeight();
    const int ListCol = List->DefaultColWidth();
    ASSERT_EQ(Grid->DropDownRowHeight(), 14);
    // The grid scales rows and columns with one set of flags; a column's
    // list is scaled once, with the columns.
    const TScalingFlags Both{sfWidth, sfHeight};
    Grid->ScaleRows(3, 2, Both);
    Grid->ScaleCols(3, 2, Both);
    EXPECT_EQ(Grid->DropDownRowHeight(), 21);
    EXPECT_EQ(List->DefaultRowHeight(), static_cast<int>(std::lround(ListRow * 1.5)));
    EXPECT_EQ(List->DefaultColWidth(), static_cast<int>(std::lround(ListCol * 1.5)));
    // Without the height flag the row heights stay.
    Grid->ScaleRows(2, 1, TScalingFlags{sfWidth});
    EXPECT_EQ(Grid->DropDownRowHeight(), 21);
}

TEST_F(GridEdit, AColumnsButtonAndListSettingsReachTheGrid) {
    TgxCol* Column = Grid->GetCol(3);
    EXPECT_FALSE(Grid->ComboCreated());
    Column->SetButtonType(btCombo);
    EXPECT_TRUE(Grid->ComboCreated());
    // With a list of its own the column reads the list's style.
    Column->SetParentCombo(false);
    Column->GetCombo()->SetDropDownStyle(ddDropDownList);
    EXPECT_EQ(Column->DropDownStyle(), ddDropDownList);
    Column->SetParentCombo(true);
    EXPECT_EQ(Column->DropDownStyle(), ddDropDown);
}

TEST_F(GridEdit, MovingToTheInsertionRowScrollsItIntoView) {
    Grid->SetGridMode(gmEditInsert);
    Grid->SetGridRowCount(60);
    GoTo(1, 1);
    Grid->CurrentCell()->MoveToInsertRow(2);
    EXPECT_EQ(Grid->Row(), Grid->RowCount() - 1);
    EXPECT_EQ(Grid->Col(), Grid->GetDisplayCol(2));
    EXPECT_GT(Grid->TopRow(), 1);
    EXPECT_LT(Grid->Row(), Grid->TopRow() + Grid->GetVisibleRowCount());
}

// Once entered, the insertion row is still the insertion row: hiding it and
// moving to it again change nothing, and typing adds it as a row.
TEST_F(GridEdit, AnEnteredInsertionRowStaysTheInsertionRow) {
    Grid->SetGridMode(gmEditInsert);
    GoTo(1, 1);
    Grid->CurrentCell()->MoveToInsertRow(2);
    ASSERT_EQ(Grid->GetGridRowCount(), 6);
    ASSERT_EQ(At(), (std::pair<int, int>{2, 6}));
    Grid->CurrentCell()->MoveToInsertRow(4);
    EXPECT_EQ(At(), (std::pair<int, int>{2, 6}));

    Grid->SetRowVisible(6, false);
    EXPECT_TRUE(Grid->GetRowVisible(6));
    EXPECT_GT(Grid->RowHeights(Grid->GetDisplayRow(6)), 0);
    Type("new");
    EXPECT_EQ(EditorText(), "new");
    Press(Qt::Key_Up);
    EXPECT_EQ(Stored(2, 6), "new");
    EXPECT_EQ(Grid->GetGridRowCount(), 6);
    // The next insertion row shows and takes typing as well.
    Grid->CurrentCell()->MoveToInsertRow(1);
    EXPECT_GT(Grid->RowHeights(Grid->Row()), 0);
    Type("more");
    Press(Qt::Key_Up);
    EXPECT_EQ(Stored(1, 7), "more");
    EXPECT_TRUE(Grid->GetRowVisible(7));
}

// The whole text is selected when the selection covers every character,
// whatever number of bytes each takes.
TEST_F(GridEdit, AllSelectedCountsCharactersNotBytes) {
    const char* const Texts[] = {"hello", "h\xC3\xA9llo", "\xE2\x82\xAC\xE2\x82\xAC"};
    for (const char* Text : Texts) {
        SCOPED_TRACE(Text);
        Grid->SetCellValue(1, 2, Variant(AnsiString(Text)));
        GoTo(1, 1);
        GoTo(1, 2);
        TgxCurrentCell* Cell = Grid->CurrentCell();
        Cell->SelectAll();
        EXPECT_TRUE(Cell->AllSelected());
        // All but the last character is not all.
        Cell->SetSelLength(Cell->SelLength() - 1);
        EXPECT_FALSE(Cell->AllSelected());
    }
}

TEST_F(GridEdit, APressOnTheEditorOfAListOnlyComboCellOpensItsList) {
    TgxCol* Column = Grid->GetCol(2);
    Column->SetButtonType(btCombo);
    Column->SetDropDownStyle(ddDropDownList);
    Column->SetParentCombo(false);
    TgxComboGrid* List = Column->GetCombo()->GetGrid();
    List->SetStoreData(true);
    List->SetGridRowCount(2);
    List->SetCellValue(1, 1, Variant("Oslo"));
    List->SetCellValue(1, 2, Variant("Bergen"));
    GoTo(2, 2);
    TgxGridControl* Edit = Grid->GridControl()->Control();
    ASSERT_TRUE(Edit->Visible());
    EXPECT_FALSE(Grid->GridControl()->GetKeyEdit());
    SendMouse(Edit->Widget(), QEvent::MouseButtonPress, QPoint(3, 3));
    EXPECT_TRUE(Grid->ComboVisible());
    SendMouse(Edit->Widget(), QEvent::MouseButtonRelease, QPoint(3, 3));
    Grid->CheckDropDownOff(false);
    // A cell that may be typed into keeps the press for its caret.
    Column->SetDropDownStyle(ddDropDown);
    Grid->RedisplayControl(true);
    SendMouse(Edit->Widget(), QEvent::MouseButtonPress, QPoint(3, 3));
    SendMouse(Edit->Widget(), QEvent::MouseButtonRelease, QPoint(3, 3));
    EXPECT_FALSE(Grid->ComboVisible());
}

TEST_F(GridEdit, TheApplicationsValuesReachTheEditorAndAnEditedValueWinsOverThem) {
    Grid->SetStoreData(false);
    Grid->OnCellLoaded = [](TObject*, int C, int R, Variant& Value) {
        Value = Variant(AnsiString("v") + std::to_string(C * 10 + R));
    };
    GoTo(2, 3);
    EXPECT_EQ(EditorText(), "v23");
    EXPECT_EQ(Grid->GetCellValue(1, 1).AsString(), "v11");
    Grid->CurrentCell()->SelectAll();
    Type("typed");
    EXPECT_EQ(Grid->GetCellValue(2, 3).AsString(), "typed");
    // Reading a cell from inside the handler is refused.
    Grid->OnCellLoaded = [this](TObject*, int, int, Variant&) { Grid->GetCellValue(1, 1); };
    try {
        Grid->GetCellValue(1, 2);
        ADD_FAILURE() << "no error";
    } catch (const EInvalidGridOperation& E) {
        EXPECT_EQ(E.Message, "Grid1: Cannot get Cell property value while in OnCellLoaded event");
    }
}

TEST_F(GridEdit, AValueItsCellCannotHoldStaysInTheEdit) {
    Grid->GetCol(2)->SetControlType(ctCheck);
    Grid->SetCellValue(2, 1, Variant(1));
    GoTo(2, 1);
    ASSERT_TRUE(Grid->StartEdit());
    Grid->CurrentCell()->SetBuffer(Variant(2.5), false);
    Grid->SetReportInvalidOps(false);
    Press(Qt::Key_Down);
    EXPECT_EQ(At(), std::make_pair(2, 1));
    EXPECT_TRUE(Grid->CellEditing());
    EXPECT_EQ(Grid->GetDataValue(2, 1, ctCheck).AsInteger(), 1);
    // With the check switch on the refusal names the problem.
    Grid->SetReportInvalidOps(true);
    EXPECT_THROW(Grid->EndEdit(false), EInvalidGridOperation);
    EXPECT_TRUE(Grid->CellEditing());
}
