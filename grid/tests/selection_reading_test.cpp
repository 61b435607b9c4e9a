// The selection model through its public operations: which rows, columns and
// cells end up selected, what is reported, and what the grid shows.
#include "GridSelectFixture.h"

#include "grid/model/Columns.h"
#include "grid/model/InplaceControl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <set>
#include <utility>
#include <vector>

using namespace gridselect;

namespace {

class SelectionModel : public SelectionGrid {
protected:
    void SetUp() override {
        SelectionGrid::SetUp();
        Grid->OnGridStatusChanged = [this](TObject*, TgxGridStatus Old, TgxGridStatus New) {
            StatusChanges.emplace_back(Old, New);
        };
        Grid->SetSelectionType(sltInvert);
        PaintNow();
    }
    void PaintNow() {
        Grid->Invalidate();
        Grid->Update();
    }
    // A point inside a data cell, away from its text and the focus frame.
    TColor CellPixel(int Col, int Row) {
        const TRect R = Grid->CellRect(Col, Row);
        return ColorToRGB(Grid->Canvas()->Pixels(R.Right - 4, (R.Top + R.Bottom) / 2));
    }
    std::set<int> Rows() { return Marks(Grid->RowSelection()); }
    std::set<int> Cols() { return Marks(Grid->ColSelection()); }
    void PressKey(int Key) {
        QWidget* W =
            QApplication::focusWidget() ? QApplication::focusWidget() : Grid->ClientWidget();
        QKeyEvent Down(QEvent::KeyPress, Key, Qt::NoModifier);
        QApplication::sendEvent(W, &Down);
        QKeyEvent Up(QEvent::KeyRelease, Key, Qt::NoModifier);
        QApplication::sendEvent(W, &Up);
    }
    std::vector<std::pair<TgxGridStatus, TgxGridStatus>> StatusChanges;
};

const TColor PureWhite = static_cast<TColor>(0xFFFFFF);
const TColor PureBlack = static_cast<TColor>(0x000000);

TEST_F(SelectionModel, SelectRowsClampsButNeverSwapsItsSpan) {
    struct Case {
        int Start, End;
        std::set<int> Expected;
    };
    const Case Cases[] = {
        {3, 5, {3, 4, 5}},      {5, 3, {}},   {0, 2, {1, 2}},
        {38, 99, {38, 39, 40}}, {41, 45, {}}, {-3, 0, {}},
    };
    for (const Case& C : Cases) {
        Grid->ResetSelection();
        Grid->SelectRows(C.Start, C.End, true);
        EXPECT_EQ(Rows(), C.Expected) << C.Start << ".." << C.End;
        EXPECT_EQ(Grid->GridStatus(), C.Expected.empty() ? grNormal : grRowSelect)
            << C.Start << ".." << C.End;
    }
}

TEST_F(SelectionModel, SingleRowModeTakesOneRowAndMovesTheCurrentRowToIt) {
    Grid->SetRowSelectMode(rsSingle);
    Grid->SetCurrentCell(2, 1);
    Grid->SelectRows(3, 4, true);
    EXPECT_TRUE(Rows().empty());
    Grid->SelectRows(6, 6, true);
    EXPECT_EQ(Rows(), std::set<int>{6});
    EXPECT_EQ(Grid->Row(), 6);
    EXPECT_EQ(Grid->Col(), 2);
    Grid->SelectRows(8, 8, true);
    EXPECT_EQ(Rows(), std::set<int>{8});
    EXPECT_EQ(Grid->Row(), 8);
    EXPECT_EQ(CellPixel(3, 6), PureWhite);
    EXPECT_EQ(CellPixel(3, 8), PureBlack);
}

TEST_F(SelectionModel, OneKindAtATimeEachChangeReportedOnceRowsFirst) {
    Grid->SelectRows(2, 4, true);
    EXPECT_EQ(Reported, (std::vector<TgxSelectType>{stRowSelect}));
    EXPECT_FALSE(LastByUser);
    Reported.clear();

    Grid->SelectCols(2, 3, true);
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(Cols(), (std::set<int>{2, 3}));
    EXPECT_EQ(Grid->GridStatus(), grColSelect);
    EXPECT_EQ(Reported, (std::vector<TgxSelectType>{stRowSelect, stColSelect}));
    Reported.clear();

    // Taking rows away while columns are selected changes nothing.
    Grid->SelectRows(1, 3, false);
    EXPECT_EQ(Cols(), (std::set<int>{2, 3}));
    EXPECT_TRUE(Reported.empty());

    Grid->SelectCells(1, 1, 2, 2);
    EXPECT_TRUE(Cols().empty());
    EXPECT_EQ(Grid->GridStatus(), grCellSelect);
    EXPECT_EQ(Reported, (std::vector<TgxSelectType>{stColSelect, stCellSelect}));
    Reported.clear();

    Grid->SelectRows(5, 5, true);
    EXPECT_EQ(Grid->GridStatus(), grRowSelect);
    EXPECT_EQ(Grid->SelectedRange(), (TRect{0, 0, 0, 0}));
    EXPECT_EQ(Reported, (std::vector<TgxSelectType>{stRowSelect, stCellSelect}));

    EXPECT_EQ(StatusChanges,
              (std::vector<std::pair<TgxGridStatus, TgxGridStatus>>{{grNormal, grRowSelect},
                                                                    {grRowSelect, grColSelect},
                                                                    {grColSelect, grCellSelect},
                                                                    {grCellSelect, grRowSelect}}));
}

TEST_F(SelectionModel, WhichCellsCountAsSelected) {
    struct Case {
        int Col, Row;
        bool Expected;
    };
    Grid->SelectCols(2, 2, true);
    for (const Case& C : {Case{2, 0, true}, Case{0, 0, false}, Case{2, 7, true}, Case{3, 0, false},
                          Case{0, 7, false}, Case{13, 2, false}})
        EXPECT_EQ(Grid->IsCellSelected(C.Col, C.Row), C.Expected) << C.Col << "," << C.Row;
    Grid->SelectRows(4, 4, true);
    for (const Case& C : {Case{0, 4, true}, Case{3, 4, true}, Case{0, 0, false}, Case{0, 3, false},
                          Case{2, 0, false}, Case{3, 41, false}})
        EXPECT_EQ(Grid->IsCellSelected(C.Col, C.Row), C.Expected) << C.Col << "," << C.Row;
    Grid->SelectCells(2, 2, 3, 4);
    for (const Case& C : {Case{2, 2, true}, Case{3, 4, true}, Case{1, 2, false}, Case{4, 4, false},
                          Case{0, 2, false}, Case{2, 0, false}})
        EXPECT_EQ(Grid->IsCellSelected(C.Col, C.Row), C.Expected) << C.Col << "," << C.Row;
}

TEST_F(SelectionModel, SelectCellsOrdersItsCornersAndIgnoresSpansOutside) {
    Grid->SelectCells(4, 5, 2, 3);
    EXPECT_EQ(Grid->SelectedRange(), (TRect{2, 3, 4, 5}));
    EXPECT_EQ(Grid->RangeAnchor().X, 2);
    EXPECT_EQ(Grid->RangeAnchor().Y, 3);
    for (const TRect& Outside :
         {TRect{0, 1, 0, 3}, TRect{13, 1, 14, 3}, TRect{1, 0, 2, 0}, TRect{1, 41, 2, 44}}) {
        Grid->SelectCells(Outside.Left, Outside.Top, Outside.Right, Outside.Bottom);
        EXPECT_EQ(Grid->SelectedRange(), (TRect{2, 3, 4, 5}));
    }
}

TEST_F(SelectionModel, TheRangeFollowsDeletedAndHiddenColumns) {
    Grid->SelectCells(3, 2, 4, 4);
    Grid->DeleteCols(1, 1);
    EXPECT_EQ(Grid->SelectedRange(), (TRect{2, 2, 3, 4}));
    Grid->DeleteCols(3, 3);
    EXPECT_EQ(Grid->SelectedRange(), (TRect{2, 2, 2, 4}));
    Reported.clear();
    Grid->DeleteCols(2, 2);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_EQ(Grid->SelectedRange(), (TRect{0, 0, 0, 0}));

    Grid->SelectCells(3, 2, 6, 4);
    Grid->GetCol(3)->SetVisible(false);
    Grid->GetCol(4)->SetVisible(false);
    EXPECT_EQ(Grid->SelectedRange().Left, 5);
    Grid->GetCol(6)->SetVisible(false);
    EXPECT_EQ(Grid->SelectedRange().Right, 5);
}

TEST_F(SelectionModel, MovedRowsKeepTheirMarksAndTheCurrentRecord) {
    Grid->SetCurrentCell(1, 4);
    Grid->SelectRows(2, 2, true);
    Grid->SetDisplayRownr(2, 5); // data row 2 goes to display row 5
    EXPECT_EQ(Rows(), std::set<int>{5});
    EXPECT_TRUE(Grid->IsRowSelected(2));
    // The current row (data row 4) moved one up with the rows between.
    EXPECT_EQ(Grid->Row(), 3);
    EXPECT_EQ(Grid->GetDataRow(Grid->Row()), 4);
}

TEST_F(SelectionModel, ResetSelectionDropsEverySelectionButListBoxSingleKeepsTheCurrentRow) {
    Grid->SelectCols(2, 3, true);
    StatusChanges.clear();
    Grid->ResetSelection();
    EXPECT_TRUE(Cols().empty());
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_EQ(StatusChanges.size(), 1u);

    Grid->SetGridMode(gmListBox);
    Grid->SetRowSelectMode(rsSingle);
    Grid->SetCurrentCell(1, 3);
    Grid->SelectRows(3, 3, true);
    Grid->SelectRows(3, 3, false);
    EXPECT_EQ(Rows(), std::set<int>{3});
    Grid->ResetSelection();
    EXPECT_EQ(Rows(), std::set<int>{3});
}

TEST_F(SelectionModel, SelectAllTakesEveryRowAsTheUsersChange) {
    Grid->SelectAll();
    EXPECT_EQ(Grid->RowSelection().Count(), 40);
    EXPECT_TRUE(LastByUser);
    Grid->SelectAll();
    EXPECT_EQ(Grid->RowSelection().Count(), 40);
}

TEST_F(SelectionModel, AnEditThatCannotEndKeepsTheSelection) {
    Grid->SetGridMode(gmEdit);
    Grid->SetCurrentCell(1, 1);
    Grid->SetFocus();
    Grid->OnEndCellEdit = [](TObject*, int, int, bool& Cancel) { Cancel = true; };
    ASSERT_TRUE(Grid->StartEdit());
    Grid->CellEdit(1, 1, true);
    Grid->SelectRows(3, 3, true);
    Grid->SelectCols(2, 2, true);
    Grid->SelectCells(1, 1, 2, 2);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_TRUE(Rows().empty());
    EXPECT_TRUE(Cols().empty());
}

// Inverted pixels: every change inverts exactly the cells whose state
// changed, so a cell shows inverted exactly while it is selected.
TEST_F(SelectionModel, InversionShowsExactlyTheSelectedCells) {
    ASSERT_EQ(CellPixel(2, 5), PureWhite);
    Grid->SelectRows(5, 5, true);
    EXPECT_EQ(CellPixel(2, 5), PureBlack);
    Grid->SelectRows(3, 7, true);
    for (int Row : {3, 5, 7})
        EXPECT_EQ(CellPixel(2, Row), PureBlack) << Row;
    EXPECT_EQ(CellPixel(2, 8), PureWhite);
    // The whole visible span at once, with some rows shown selected already.
    Grid->SelectRows(1, 40, true);
    for (int Row : {1, 5, 8})
        EXPECT_EQ(CellPixel(2, Row), PureBlack) << Row;
    Grid->SelectRows(2, 40, false);
    EXPECT_EQ(CellPixel(2, 1), PureBlack);
    EXPECT_EQ(CellPixel(2, 5), PureWhite);

    Grid->SelectCols(2, 2, true);
    EXPECT_EQ(CellPixel(2, 1), PureBlack);
    EXPECT_EQ(CellPixel(3, 1), PureWhite);
    EXPECT_EQ(CellPixel(2, 6), PureBlack);

    Grid->SelectCells(1, 1, 2, 2);
    EXPECT_EQ(CellPixel(2, 6), PureWhite);
    EXPECT_EQ(CellPixel(1, 1), PureBlack);
    Grid->SelectCells(2, 2, 3, 3);
    EXPECT_EQ(CellPixel(1, 1), PureWhite);
    EXPECT_EQ(CellPixel(2, 2), PureBlack);
    EXPECT_EQ(CellPixel(3, 3), PureBlack);
    Grid->ResetSelection();
    for (int Col : {1, 2, 3})
        EXPECT_EQ(CellPixel(Col, 2), PureWhite) << Col;
    // What was drawn directly is what a full repaint shows.
    PaintNow();
    EXPECT_EQ(CellPixel(2, 2), PureWhite);
}

TEST_F(SelectionModel, SelectionColourPaintsTheSelectedCells) {
    Grid->SetSelectionType(sltColor);
    Grid->SetSelectionColor(clRed);
    PaintNow();
    Grid->SelectRows(4, 4, true);
    EXPECT_EQ(CellPixel(2, 4), ColorToRGB(clRed));
    EXPECT_EQ(CellPixel(2, 5), PureWhite);
    Grid->SelectCells(3, 6, 3, 6);
    EXPECT_EQ(CellPixel(2, 4), PureWhite);
    EXPECT_EQ(CellPixel(3, 6), ColorToRGB(clRed));
    Grid->ResetSelection();
    EXPECT_EQ(CellPixel(3, 6), PureWhite);
}

TEST_F(SelectionModel, ModesThatForbidAKindSelectNothing) {
    Grid->SetRowSelectMode(rsNone);
    Grid->SelectRows(2, 3, true);
    Grid->SetColSelectMode(csNone);
    Grid->SelectCols(2, 3, true);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_TRUE(Reported.empty());
    EXPECT_TRUE(StatusChanges.empty());
}

TEST_F(SelectionModel, DeletingOnlyTheKindsAskedFor) {
    Grid->SelectRows(2, 3, true);
    Grid->DeleteSelections({grColSelect, grCellSelect}, false);
    EXPECT_EQ(Rows(), (std::set<int>{2, 3}));
    EXPECT_EQ(CellPixel(2, 2), PureBlack);
    Grid->DeleteSelections({}, false);
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_EQ(CellPixel(2, 2), PureWhite);
}

TEST_F(SelectionModel, RowsMarkedOutOfViewShowSelectedWhenScrolledIn) {
    Grid->SelectRows(30, 35, true);
    EXPECT_EQ(Grid->RowSelection().Count(), 6);
    Grid->SetTopRow(28);
    Grid->Update();
    EXPECT_EQ(CellPixel(2, 30), PureBlack);
    EXPECT_EQ(CellPixel(2, 29), PureWhite);
    Grid->SetTopRow(1);
    Grid->Update();
    EXPECT_EQ(CellPixel(2, 2), PureWhite);
}

TEST_F(SelectionModel, TheRangeFollowsDeletedRowsAndMovedColumnsKeepTheirMarks) {
    Grid->SelectCells(2, 3, 3, 5);
    Grid->DeleteRows(1, 1);
    EXPECT_EQ(Grid->SelectedRange(), (TRect{2, 2, 3, 4}));
    Grid->DeleteRows(4, 4);
    EXPECT_EQ(Grid->SelectedRange(), (TRect{2, 2, 3, 3}));

    Grid->SelectCols(2, 2, true);
    Grid->SetDisplayColnr(2, 5);
    EXPECT_EQ(Cols(), std::set<int>{5});
}

TEST_F(SelectionModel, CellSelectedNamesAnIndexOutsideTheGrid) {
    EXPECT_THROW(Grid->CellSelected(13, 1), EInvalidGridOperation);
    EXPECT_THROW(Grid->CellSelected(1, 41), EInvalidGridOperation);
    Grid->SelectRows(2, 2, true);
    EXPECT_TRUE(Grid->CellSelected(3, 2));
}

TEST_F(SelectionModel, TheEditorStepsAsideWhileASelectionStands) {
    Grid->SetGridMode(gmEdit);
    Grid->SetAlwaysShowEditor(true);
    Grid->SetCurrentCell(2, 2);
    Grid->SetFocus();
    ASSERT_NE(Grid->GridControl(), nullptr);
    ASSERT_TRUE(Grid->GridControl()->GetVisible());
    Grid->SelectCols(3, 3, true);
    EXPECT_FALSE(Grid->GridControl()->GetVisible());
    Grid->SelectRows(4, 5, true);
    EXPECT_FALSE(Grid->GridControl()->GetVisible());
    Grid->SelectCells(1, 1, 2, 2);
    EXPECT_FALSE(Grid->GridControl()->GetVisible());
    Grid->ResetSelection();
    EXPECT_TRUE(Grid->GridControl()->GetVisible());
    // It stays with the current cell as it moves on.
    Grid->SelectCols(3, 3, true);
    Grid->SelectCols(3, 3, false);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_TRUE(Grid->GridControl()->GetVisible());
    Grid->SetCurrentCell(4, 4);
    EXPECT_TRUE(Grid->GridControl()->GetVisible());
    EXPECT_TRUE(Grid->EditorShown());
}

TEST_F(SelectionModel, ASingleRowSelectionReportsTheMovedCurrentRow) {
    std::vector<std::pair<int, int>> RowChanges;
    Grid->OnRowChanged = [&RowChanges](TObject*, int OldRow, int NewRow) {
        RowChanges.emplace_back(OldRow, NewRow);
    };
    Grid->SetRowSelectMode(rsSingle);
    Grid->SetCurrentCell(1, 2);
    RowChanges.clear();
    Grid->SelectRows(6, 6, true);
    ASSERT_EQ(RowChanges.size(), 1u);
    EXPECT_EQ(RowChanges.back(), std::make_pair(2, 6));
}

TEST_F(SelectionModel, RowsAboveTheTopAreMarkedAndShowWhenScrolledBack) {
    Grid->SetFixedRowCount(2);
    Grid->SetTopRow(10);
    Grid->Update();
    ASSERT_EQ(Grid->TopRow(), 10);
    Grid->SelectRows(1, 12, true);
    EXPECT_EQ(Grid->RowSelection().Count(), 12);
    EXPECT_EQ(CellPixel(2, 1), PureBlack);
    EXPECT_EQ(CellPixel(2, 10), PureBlack);
    EXPECT_EQ(CellPixel(2, 12), PureBlack);
    EXPECT_EQ(CellPixel(2, 13), PureWhite);
    Grid->SetTopRow(3);
    Grid->Update();
    for (int Row : {1, 3, 5, 9, 12})
        EXPECT_EQ(CellPixel(2, Row), PureBlack) << Row;
    EXPECT_EQ(CellPixel(2, 13), PureWhite);
    Grid->SelectRows(4, 40, false);
    EXPECT_EQ(CellPixel(2, 3), PureBlack);
    EXPECT_EQ(CellPixel(2, 5), PureWhite);
    EXPECT_EQ(CellPixel(2, 12), PureWhite);
}

TEST_F(SelectionModel, AListBoxsSingleRowFollowsTheCurrentCellOnScreen) {
    Grid->SetGridMode(gmListBox);
    Grid->SetRowSelectMode(rsSingle);
    Grid->SetCurrentCell(1, 2);
    Grid->SelectRows(2, 2, true);
    EXPECT_EQ(CellPixel(3, 2), PureBlack);
    Grid->SetCurrentCell(1, 6);
    EXPECT_EQ(Rows(), std::set<int>{6});
    EXPECT_EQ(CellPixel(3, 2), PureWhite);
    EXPECT_EQ(CellPixel(3, 6), PureBlack);
    PaintNow();
    EXPECT_EQ(CellPixel(3, 2), PureWhite);
    EXPECT_EQ(CellPixel(3, 6), PureBlack);
}

TEST_F(SelectionModel, AColouredSingleRowFollowsTheCurrentCellAtOnce) {
    Grid->SetSelectionType(sltColor);
    Grid->SetSelectionColor(clRed);
    Grid->SetGridMode(gmListBox);
    Grid->SetRowSelectMode(rsSingle);
    Grid->SetCurrentCell(1, 2);
    Grid->SelectRows(2, 2, true);
    PaintNow();
    const TColor Red = ColorToRGB(clRed);
    ASSERT_EQ(CellPixel(3, 2), Red);
    Grid->SetCurrentCell(1, 6);
    EXPECT_EQ(CellPixel(3, 2), PureWhite);
    EXPECT_EQ(CellPixel(3, 6), Red);
    Grid->SetFocus();
    PressKey(Qt::Key_Down);
    EXPECT_EQ(Grid->Row(), 7);
    EXPECT_EQ(Rows(), std::set<int>{7});
    EXPECT_EQ(CellPixel(3, 6), PureWhite);
    EXPECT_EQ(CellPixel(3, 7), Red);
}

TEST_F(SelectionModel, AListBoxsSingleRowFollowsTheArrowKeysOnScreen) {
    Grid->SetGridMode(gmListBox);
    Grid->SetRowSelectMode(rsSingle);
    Grid->SetCurrentCell(1, 6);
    Grid->SelectRows(6, 6, true);
    Grid->SetFocus();
    Grid->Update();
    ASSERT_EQ(CellPixel(3, 6), PureBlack);
    PressKey(Qt::Key_Down);
    Grid->Update();
    EXPECT_EQ(Rows(), std::set<int>{7});
    EXPECT_EQ(CellPixel(3, 6), PureWhite);
    EXPECT_EQ(CellPixel(3, 7), PureBlack);
    PressKey(Qt::Key_Up);
    PressKey(Qt::Key_Up);
    Grid->Update();
    EXPECT_EQ(Rows(), std::set<int>{5});
    EXPECT_EQ(CellPixel(3, 7), PureWhite);
    EXPECT_EQ(CellPixel(3, 5), PureBlack);
    // Stepping past the last row shown scrolls the selected row in.
    const int Last = Grid->MaxVisibleRow();
    Grid->SetCurrentCell(1, Last);
    Grid->Update();
    ASSERT_EQ(CellPixel(3, Last), PureBlack);
    PressKey(Qt::Key_Down);
    Grid->Update();
    EXPECT_GT(Grid->TopRow(), 1);
    EXPECT_EQ(Rows(), std::set<int>{Last + 1});
    EXPECT_EQ(CellPixel(3, Last), PureWhite);
    EXPECT_EQ(CellPixel(3, Last + 1), PureBlack);
}

TEST_F(SelectionModel, EveryKeyMoveOfARowSelectionRedrawsIt) {
    struct Case {
        const char* Name;
        int Key;
        Qt::KeyboardModifiers Mods;
    };
    const Case Cases[] = {
        {"down", Qt::Key_Down, Qt::NoModifier},
        {"page down", Qt::Key_PageDown, Qt::NoModifier},
        {"page up", Qt::Key_PageUp, Qt::NoModifier},
        {"ctrl+end", Qt::Key_End, Qt::ControlModifier},
        {"ctrl+home", Qt::Key_Home, Qt::ControlModifier},
    };
    Grid->SetGridMode(gmBrowse);
    Grid->SetFocus();
    for (const Case& C : Cases) {
        Grid->SetCurrentCell(1, Grid->TopRow() + 2);
        Grid->SelectRows(Grid->TopRow() + 1, Grid->TopRow() + 2, true);
        Grid->Update();
        QWidget* W =
            QApplication::focusWidget() ? QApplication::focusWidget() : Grid->ClientWidget();
        QKeyEvent Down(QEvent::KeyPress, C.Key, C.Mods);
        QApplication::sendEvent(W, &Down);
        QKeyEvent Up(QEvent::KeyRelease, C.Key, C.Mods);
        QApplication::sendEvent(W, &Up);
        Grid->Update();
        ASSERT_EQ(Rows(), std::set<int>{Grid->Row()}) << C.Name;
        // What shows is what a full repaint shows.
        std::vector<TColor> Shown;
        for (int R = Grid->TopRow(); R <= Grid->MaxVisibleRow(); ++R)
            Shown.push_back(CellPixel(3, R));
        PaintNow();
        for (int R = Grid->TopRow(); R <= Grid->MaxVisibleRow(); ++R)
            EXPECT_EQ(Shown[static_cast<std::size_t>(R - Grid->TopRow())], CellPixel(3, R))
                << C.Name << ", row " << R;
        EXPECT_EQ(CellPixel(3, Grid->Row()), PureBlack) << C.Name;
    }
}

TEST_F(SelectionModel, TurningSelectFixedOffShowsTheFrozenRowsPlain) {
    Grid->SetFixedRowCount(2);
    Grid->SelectRows(1, 4, true);
    Grid->Update();
    ASSERT_EQ(CellPixel(3, 1), PureBlack);
    Grid->SetSelectFixed(false);
    Grid->Update();
    EXPECT_EQ(Rows(), (std::set<int>{3, 4}));
    for (int Row : {1, 2})
        EXPECT_EQ(CellPixel(3, Row), PureWhite) << Row;
    EXPECT_EQ(CellPixel(3, 3), PureBlack);
}

TEST_F(SelectionModel, HidingASelectedRowOrColumnKeepsThePictureTrue) {
    Grid->SelectRows(3, 5, true);
    Grid->Update();
    Grid->SetRowVisible(4, false);
    Grid->Update();
    EXPECT_EQ(Rows(), (std::set<int>{3, 5}));
    std::vector<TColor> Shown;
    for (int R = 1; R <= 8; ++R)
        Shown.push_back(CellPixel(3, R));
    PaintNow();
    for (int R = 1; R <= 8; ++R)
        if (R != 4) EXPECT_EQ(Shown[static_cast<std::size_t>(R - 1)], CellPixel(3, R)) << R;

    Grid->SelectCols(2, 4, true);
    Grid->Update();
    Grid->GetCol(3)->SetVisible(false);
    Grid->Update();
    EXPECT_EQ(Cols(), (std::set<int>{2, 4}));
    Shown.clear();
    for (int C = 1; C <= 6; ++C)
        Shown.push_back(C == 3 ? 0 : CellPixel(C, 2));
    PaintNow();
    for (int C = 1; C <= 6; ++C)
        if (C != 3) EXPECT_EQ(Shown[static_cast<std::size_t>(C - 1)], CellPixel(C, 2)) << C;
}

TEST_F(SelectionModel, AMovedSelectedRowOrColumnShowsWhereItWent) {
    Grid->SelectRows(2, 2, true);
    Grid->Update();
    Grid->SetDisplayRownr(2, 5);
    Grid->Update();
    EXPECT_EQ(CellPixel(3, 2), PureWhite);
    EXPECT_EQ(CellPixel(3, 5), PureBlack);
    Grid->SelectCols(2, 2, true);
    Grid->Update();
    Grid->SetDisplayColnr(2, 4);
    Grid->Update();
    EXPECT_EQ(CellPixel(2, 3), PureWhite);
    EXPECT_EQ(CellPixel(4, 3), PureBlack);
}

TEST_F(SelectionModel, TheCurrentColumnStaysOnItsDataColumnWhenColumnsMove) {
    Grid->SetCurrentCell(2, 3);
    Grid->SetDisplayColnr(2, 5);
    EXPECT_EQ(Grid->Col(), 5);
    EXPECT_EQ(Grid->GetDataCol(Grid->Col()), 2);
    Grid->SetCurrentCell(4, 3);
    const int Data = Grid->GetDataCol(4);
    Grid->SetDisplayColnr(Grid->GetDataCol(2), 6);
    EXPECT_EQ(Grid->GetDataCol(Grid->Col()), Data);
    EXPECT_EQ(Grid->Col(), 3);
}

TEST_F(SelectionModel, ResettingAMultiRowListBoxDropsItsRowsOnScreen) {
    Grid->SetGridMode(gmListBox);
    Grid->SelectRows(3, 5, true);
    Grid->Update();
    ASSERT_EQ(CellPixel(2, 4), PureBlack);
    Grid->ResetSelection();
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_EQ(CellPixel(2, 4), PureWhite);
    Grid->Update();
    EXPECT_EQ(CellPixel(2, 4), PureWhite);
}

} // namespace
