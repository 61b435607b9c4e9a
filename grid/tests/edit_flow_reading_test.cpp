// The two-level edit of a shown grid driven by real keys: starting, ending
// on a move, vetoes, the mask check on leaving a cell, undo, the appended
// row of an edit-insert grid and the changed-row marks.
#include "GridEditFixture.h"

#include "grid/foundation/MaskDefs.h"
#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"

#include <stdexcept>

using namespace grid;

namespace {

using Events = std::vector<std::string>;

class EditFlowReading : public GridEditFixture {
protected:
    static std::pair<int, int> Pos(int C, int R) { return {C, R}; }
    // Column DataCol is checked against Picture when a cell is left.
    void GiveMask(int DataCol, const char* Picture) {
        Masks = new TgxMaskDefs(Form);
        TgxMask* Mask = Masks->Masks()->Add();
        Mask->SetName("M");
        Mask->SetPicture(Picture);
        Grid->SetMaskDefs(Masks);
        Grid->GetCol(DataCol)->SetMaskName("M");
    }
    TgxMaskDefs* Masks = nullptr;
};

TEST_F(EditFlowReading, AMoveInTheRowEndsTheCellOnlyAndAMoveDownAlsoTheRow) {
    LogEvents();
    GoTo(1, 2);
    Log.clear();
    Type("a");
    EXPECT_EQ(Log, (Events{"start cell 1,2", "start row 2"}));
    Log.clear();
    Press(Qt::Key_Tab);
    EXPECT_EQ(Log, (Events{"end cell 1,2"}));
    EXPECT_TRUE(Grid->RowEditing());
    EXPECT_FALSE(Grid->CellEditing());
    Log.clear();
    Type("b");
    EXPECT_EQ(Log, (Events{"start cell 2,2"}));
    Log.clear();
    Press(Qt::Key_Down);
    EXPECT_EQ(Log, (Events{"end cell 2,2", "end row 2"}));
    EXPECT_FALSE(Grid->RowEditing());
}

TEST_F(EditFlowReading, AVetoOfTheCellEndKeepsTheRowEditAndTheTypedText) {
    LogEvents();
    GoTo(1, 2);
    Type("a");
    RefuseCell = true;
    Log.clear();
    Press(Qt::Key_Down);
    EXPECT_EQ(Log, (Events{"end cell 1,2"}));
    EXPECT_EQ(At(), Pos(1, 2));
    EXPECT_EQ(EditorText(), "a");
    RefuseCell = false;
    RefuseRow = true;
    Log.clear();
    Press(Qt::Key_Down);
    EXPECT_EQ(Log, (Events{"end cell 1,2", "end row 2"}));
    EXPECT_EQ(At(), Pos(1, 2));
    EXPECT_TRUE(Grid->RowEditing());
    EXPECT_FALSE(Grid->CellEditing());
    RefuseRow = false;
    Press(Qt::Key_Down);
    EXPECT_EQ(At(), Pos(1, 3));
    EXPECT_EQ(Stored(1, 2), "a");
}

TEST_F(EditFlowReading, AThrowingEndCellHandlerIsAVeto) {
    GoTo(1, 2);
    Type("a");
    Grid->OnEndCellEdit = [](TObject*, int, int, bool&) { throw std::runtime_error("no"); };
    EXPECT_NO_THROW(Press(Qt::Key_Down));
    EXPECT_EQ(At(), Pos(1, 2));
    EXPECT_TRUE(Grid->CellEditing());
}

TEST_F(EditFlowReading, AStartVetoCancelsTheKeystroke) {
    LogEvents();
    Grid->OnStartRowEdit = [this](TObject*, int R, bool& Cancel) {
        Log.push_back("start row " + std::to_string(R));
        Cancel = true;
    };
    GoTo(1, 2);
    Log.clear();
    Type("a");
    EXPECT_EQ(Log, (Events{"start cell 1,2", "start row 2"}));
    EXPECT_EQ(EditorText(), "");
    EXPECT_FALSE(Grid->RowEditing());
    Press(Qt::Key_Down);
    EXPECT_EQ(Stored(1, 2), "");
}

TEST_F(EditFlowReading, StartEditIsRefusedOutsideTheEditModesAndInAnEmptyGrid) {
    GoTo(1, 2);
    EXPECT_TRUE(Grid->StartEdit());
    EXPECT_TRUE(Grid->CellEditing());
    EXPECT_TRUE(Grid->RowEditing());
    Grid->EndEdit(false);
    EXPECT_FALSE(Grid->RowEditing());
    for (auto Mode : {gmBrowse, gmListBox}) {
        Grid->SetGridMode(Mode);
        EXPECT_FALSE(Grid->StartEdit()) << int(Mode);
    }
    Grid->SetGridMode(gmEdit);
    Grid->SelectRows(2, 3, true);
    EXPECT_FALSE(Grid->StartEdit());
    Grid->SelectRows(2, 3, false);
    Grid->SetGridRowCount(0);
    EXPECT_FALSE(Grid->StartEdit());
}

TEST_F(EditFlowReading, EndEditCancelUndoesBothLevelsAtOnce) {
    LogEvents();
    GoTo(1, 2);
    Type("a");
    Log.clear();
    Grid->EndEdit(true);
    EXPECT_EQ(Log, (Events{"undo cell 1,2", "undo row 2"}));
    EXPECT_FALSE(Grid->CellEditing());
    EXPECT_FALSE(Grid->RowEditing());
    EXPECT_EQ(Stored(1, 2), "");
    EXPECT_EQ(EditorText(), "");
}

TEST_F(EditFlowReading, UndoingTheRowRestoresTheBackedUpRow) {
    Grid->SetCellValue(1, 2, Variant(AnsiString("one")));
    Grid->SetCellValue(2, 2, Variant(AnsiString("two")));
    GoTo(1, 1);
    GoTo(1, 2);
    Type("x");
    Press(Qt::Key_Tab);
    Type("y");
    EXPECT_EQ(Stored(1, 2), "x");
    Press(Qt::Key_Escape);
    Press(Qt::Key_Escape);
    EXPECT_EQ(Stored(1, 2), "one");
    EXPECT_EQ(Stored(2, 2), "two");
}

TEST_F(EditFlowReading, AVetoedUndoKeepsTheEdit) {
    GoTo(1, 2);
    Type("a");
    Grid->OnUndoCellEdit = [](TObject*, int, int, bool, bool& Cancel) { Cancel = true; };
    Press(Qt::Key_Escape);
    EXPECT_TRUE(Grid->CellEditing());
    EXPECT_EQ(EditorText(), "a");
}

TEST_F(EditFlowReading, AnInvalidMaskedValueStopsTheMoveUnlessAccepted) {
    LogEvents();
    GiveMask(1, "###");
    bool Accept = false;
    int Invalid = 0;
    Grid->OnInvalidMaskValue = [&](TObject*, int C, int R, bool& A) {
        ++Invalid;
        EXPECT_EQ(std::make_pair(C, R), Pos(1, 2));
        A = Accept;
    };
    GoTo(1, 2);
    Type("12");
    Log.clear();
    Press(Qt::Key_Down);
    EXPECT_EQ(Invalid, 1);
    EXPECT_EQ(At(), Pos(1, 2));
    EXPECT_TRUE(Log.empty());
    EXPECT_TRUE(Grid->CellEditing());
    Accept = true;
    Press(Qt::Key_Down);
    EXPECT_EQ(Invalid, 2);
    EXPECT_EQ(At(), Pos(1, 3));
    EXPECT_EQ(Stored(1, 2), "12");
}

TEST_F(EditFlowReading, AMaskThatFillsOnExitAppendsItsLiterals) {
    GiveMask(1, "##kg");
    GoTo(1, 2);
    Type("12");
    Press(Qt::Key_Tab);
    EXPECT_EQ(At(), Pos(2, 2));
    Press(Qt::Key_Down);
    EXPECT_EQ(Stored(1, 2), "12kg");
}

TEST_F(EditFlowReading, ChangedRowMarksFollowTheIndicator) {
    GoTo(1, 2);
    Type("a");
    EXPECT_FALSE(Grid->IsRowChanged(2));
    Press(Qt::Key_Down);
    EXPECT_TRUE(Grid->IsRowChanged(2));
    Grid->SetRowChangedIndicator(riOff);
    Type("b");
    Press(Qt::Key_Down);
    EXPECT_FALSE(Grid->IsRowChanged(3));
    Grid->SetRowChangedIndicator(riAutoReset);
    Type("c");
    Press(Qt::Key_Down);
    EXPECT_FALSE(Grid->IsRowChanged(4));
    Grid->SetRowChangedIndicator(riOn);
    Press(Qt::Key_Up);
    Type("d");
    Press(Qt::Key_Up);
    EXPECT_TRUE(Grid->IsRowChanged(4));
    Grid->ResetChangedRowStatus();
    EXPECT_FALSE(Grid->IsRowChanged(4));
}

TEST_F(EditFlowReading, TheInsertionRowBecomesARowWhenEnteredAndGoesWhenLeftEmpty) {
    LogEvents();
    std::vector<std::string> Counts;
    Grid->OnRowCountChanged = [&](TObject*, int Old, int New) {
        Counts.push_back(std::to_string(Old) + ">" + std::to_string(New));
    };
    Grid->SetGridMode(gmEditInsert);
    GoTo(1, 5);
    Log.clear();
    Counts.clear();
    Press(Qt::Key_Down);
    EXPECT_EQ(Log, (Events{"insert row 6"}));
    EXPECT_EQ(Counts, (std::vector<std::string>{"5>6"}));
    Log.clear();
    Counts.clear();
    Press(Qt::Key_Up);
    EXPECT_EQ(Log, (Events{"delete row 6"}));
    EXPECT_EQ(Counts, (std::vector<std::string>{"6>5"}));
    EXPECT_EQ(Grid->GetGridRowCount(), 5);
    EXPECT_TRUE(Grid->InsertionRowShown());
}

TEST_F(EditFlowReading, TypingIntoTheEnteredRowKeepsItAndShowsAFreshInsertionRow) {
    Grid->SetGridMode(gmEditInsert);
    GoTo(1, 5);
    Press(Qt::Key_Down);
    Type("n");
    EXPECT_EQ(Grid->GetGridRowCount(), 6);
    EXPECT_TRUE(Grid->InsertionRowShown());
    EXPECT_EQ(Grid->RowCount(), 8);
    Press(Qt::Key_Up);
    EXPECT_EQ(Grid->GetGridRowCount(), 6);
    EXPECT_EQ(Stored(1, 6), "n");
}

TEST_F(EditFlowReading, UndoOnAnAppendedRowTakesTheRowAway) {
    Grid->SetGridMode(gmEditInsert);
    GoTo(1, 5);
    Press(Qt::Key_Down);
    Type("n");
    Press(Qt::Key_Escape);
    EXPECT_FALSE(Grid->RowEditing());
    EXPECT_EQ(Grid->RowCount(), 7);
    EXPECT_FALSE(Grid->IsRowChanged(6));
}

TEST_F(EditFlowReading, EveryEditOfACellIsReportedWithItsValue) {
    std::vector<std::string> Edits;
    Grid->OnCellEdit = [&](TObject*, int C, int R, bool ByUser) {
        const Variant V = Grid->GetCellValue(C, R);
        Edits.push_back(Cell(C, R) + (ByUser ? " user " : " program ") +
                        (V.IsEmpty() || V.IsNull() ? "" : V.AsString().c_str()));
    };
    GoTo(2, 3);
    Type("ab");
    EXPECT_EQ(Edits, (std::vector<std::string>{"2,3 user a", "2,3 user ab"}));
    // The store takes the value once the cell edit has ended (checked).
    Press(Qt::Key_Tab);
    EXPECT_EQ(Stored(2, 3), "ab");
}

TEST_F(EditFlowReading, AHandlerThatMovesTheCurrentCellDoesNotAskAgain) {
    int Ends = 0;
    GoTo(1, 2);
    Type("a");
    Grid->OnEndCellEdit = [&](TObject*, int, int, bool&) {
        ++Ends;
        GoTo(3, 4);
    };
    Press(Qt::Key_Down);
    EXPECT_EQ(Ends, 1);
    EXPECT_FALSE(Grid->CellEditing());
}

TEST_F(EditFlowReading, ShowAndHideEditorEventsPair) {
    std::vector<std::string> Seen;
    Grid->OnShowEditor = [&](TObject*, int C, int R, bool&) { Seen.push_back("show " + Cell(C, R)); };
    Grid->OnHideEditor = [&](TObject*, int C, int R) { Seen.push_back("hide " + Cell(C, R)); };
    Grid->SetAlwaysShowEditor(false);
    GoTo(2, 2);
    Press(Qt::Key_F2);
    ASSERT_FALSE(Seen.empty());
    EXPECT_EQ(Seen.back(), "show 2,2");
    Press(Qt::Key_Down);
    ASSERT_FALSE(Seen.empty());
    EXPECT_EQ(Seen.back(), "hide 2,2");
    int Shows = 0, Hides = 0;
    for (const auto& S : Seen)
        (S.rfind("show", 0) == 0 ? Shows : Hides)++;
    EXPECT_EQ(Shows, Hides);
}

TEST_F(EditFlowReading, TheWheelScrollsThreeRowsAndLeavesShiftedTurnsAlone) {
    Grid->SetGridRowCount(60);
    QWidget* W = Grid->Widget();
    const QPoint At(50, 50);
    auto Wheel = [&](int Delta, Qt::KeyboardModifiers Mods) {
        QWheelEvent E(QPointF(At), QPointF(W->mapToGlobal(At)), QPoint(), QPoint(0, Delta),
                      Qt::NoButton, Mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(W, &E);
        QApplication::processEvents();
    };
    const int Top = Grid->TopRow();
    Wheel(-120, Qt::NoModifier);
    EXPECT_EQ(Grid->TopRow(), Top + 3);
    Wheel(120, Qt::NoModifier);
    EXPECT_EQ(Grid->TopRow(), Top);
}

} // namespace

#include "platform/gui/StdCtrls.h"

namespace {

TEST_F(EditFlowReading, EscapeReachesTheFormOnlyWhenNothingIsBeingEdited) {
    auto* CancelButton = new TButton(Form);
    CancelButton->SetParent(Form);
    CancelButton->SetBounds(440, 10, 80, 24);
    CancelButton->SetCancel(true);
    int Clicks = 0;
    CancelButton->OnClick = [&](TObject*) { ++Clicks; };
    Grid->SetFocus();
    GoTo(1, 2);
    Type("a");
    Press(Qt::Key_Escape);
    EXPECT_EQ(Clicks, 0);
    EXPECT_FALSE(Grid->RowEditing());
    Press(Qt::Key_Escape);
    EXPECT_EQ(Clicks, 1);
}

TEST_F(EditFlowReading, AListBoxGridReportsNoColumnChangeButTheCellChange) {
    Grid->SetGridMode(gmListBox);
    int Cols = 0, Cells = 0;
    Grid->OnColChanged = [&](TObject*, int, int) { ++Cols; };
    Grid->OnCellChanged = [&](TObject*, int, int, int, int) { ++Cells; };
    GoTo(1, 2);
    Cols = Cells = 0;
    GoTo(3, 2);
    EXPECT_EQ(Cols, 0);
    EXPECT_EQ(Cells, 1);
}

TEST_F(EditFlowReading, AShiftedWheelIsLeftAloneAndAWheelMovesAtMostAWindow) {
    Grid->SetGridRowCount(60);
    QWidget* W = Grid->Widget();
    const QPoint At(50, 50);
    auto Wheel = [&](int Delta, Qt::KeyboardModifiers Mods) {
        QWheelEvent E(QPointF(At), QPointF(W->mapToGlobal(At)), QPoint(), QPoint(0, Delta),
                      Qt::NoButton, Mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(W, &E);
        QApplication::processEvents();
    };
    const int Top = Grid->TopRow();
    Wheel(-120, Qt::ShiftModifier);
    EXPECT_EQ(Grid->TopRow(), Top);
    // A window two rows high: one wheel step scrolls at most two rows.
    Grid->SetBounds(0, 0, 420, Grid->FixedHeight() + 2 * Grid->RowHeights(1) + 6);
    QApplication::processEvents();
    const int Rows = Grid->GetVisibleRowCount();
    Wheel(-120, Qt::NoModifier);
    EXPECT_LE(Grid->TopRow(), Top + std::max(Rows, 1));
    EXPECT_GT(Grid->TopRow(), Top);
}

TEST_F(EditFlowReading, SelectingRowsDropsTheEditBufferAndLocksTheEditor) {
    GoTo(1, 2);
    Type("a");
    Press(Qt::Key_Tab);
    Grid->SelectRows(3, 4, true);
    ASSERT_EQ(Grid->GridStatus(), grRowSelect);
    EXPECT_FALSE(Grid->CurrentCell()->ValueSet(2, 2));
    Press(Qt::Key_B, Qt::NoModifier, "b");
    EXPECT_EQ(Stored(2, 2), "");
    EXPECT_FALSE(Grid->CellEditing());
}

} // namespace

namespace {

TEST_F(EditFlowReading, AVetoedRowUndoKeepsTheRowInEdit) {
    LogEvents();
    GoTo(1, 2);
    Type("a");
    Press(Qt::Key_Tab);
    Grid->OnUndoRowEdit = [](TObject*, int, bool, bool& Cancel) { Cancel = true; };
    Press(Qt::Key_Escape);
    EXPECT_TRUE(Grid->RowEditing());
    EXPECT_EQ(Stored(1, 2), "a");
}

TEST_F(EditFlowReading, EachMouseGestureIsReportedOnceWhenItStartsAndEnds) {
    std::vector<std::string> Seen;
    Grid->OnMouseStatusChanged = [&](TObject*, TgxMouseStatus Old, TgxMouseStatus New) {
        Seen.push_back(std::to_string(int(Old)) + ">" + std::to_string(int(New)));
    };
    const TRect Bar = Grid->CellRect(0, 3);
    const QPoint At((Bar.Left + Bar.Right) / 2, (Bar.Top + Bar.Bottom) / 2);
    SendMouse(Grid->Widget(), QEvent::MouseButtonPress, At);
    SendMouse(Grid->Widget(), QEvent::MouseButtonRelease, At);
    const std::string Row = std::to_string(int(msRowSelect));
    EXPECT_EQ(Seen, (std::vector<std::string>{"0>" + Row, Row + ">0"}));
}

} // namespace

namespace {

TEST_F(EditFlowReading, EnterOutsideTheEditModesReachesTheDefaultButton) {
    auto* Ok = new TButton(Form);
    Ok->SetParent(Form);
    Ok->SetBounds(440, 10, 80, 24);
    Ok->SetDefault(true);
    int Clicks = 0;
    Ok->OnClick = [&](TObject*) { ++Clicks; };
    Grid->SetFocus();
    GoTo(1, 2);
    Press(Qt::Key_Return);
    EXPECT_EQ(Clicks, 0);
    EXPECT_EQ(At(), Pos(2, 2));
    Grid->SetGridMode(gmBrowse);
    Grid->SetFocus();
    Press(Qt::Key_Return);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(At(), Pos(2, 2));
}

} // namespace

namespace {

TEST_F(EditFlowReading, AnEmptyEditInsertGridTakesItsFirstRowFromTheInsertionRow) {
    LogEvents();
    Grid->SetGridRowCount(0);
    Grid->SetGridMode(gmEditInsert);
    Grid->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(Grid->RowCount(), 2);
    // With no data row there is no data cell to stand on until the
    // insertion row is entered.
    EXPECT_EQ(Grid->GetCurrentDataRow(), 0);
    Press(Qt::Key_Down);
    EXPECT_EQ(Log, (Events{"insert row 1"}));
    Type("a");
    EXPECT_EQ(Grid->GetGridRowCount(), 1);
    Press(Qt::Key_Down);
    EXPECT_EQ(Stored(1, 1), "a");
    EXPECT_EQ(At(), Pos(1, 2));
    EXPECT_EQ(Grid->GetGridRowCount(), 2);
    // Leaving the new insertion row untouched takes it back.
    Press(Qt::Key_Up);
    EXPECT_EQ(Grid->GetGridRowCount(), 1);
    EXPECT_EQ(Stored(1, 1), "a");
}

} // namespace


namespace {

TEST_F(EditFlowReading, MaskDefinitionsGivenLaterReachTheShownEditor) {
    Grid->GetCol(1)->SetMaskName("M");
    GoTo(1, 2);
    Masks = new TgxMaskDefs(Form);
    TgxMask* Mask = Masks->Masks()->Add();
    Mask->SetName("M");
    Mask->SetPicture("###");
    Grid->SetMaskDefs(Masks);
    Type("x1");
    EXPECT_EQ(EditorText(), "1");
}

} // namespace
