// Services of the grid view that the model and editing rely on, probed
// through a shown grid and its public calls.
#include "ShownGridFixture.h"
#include "grid/foundation/CellStore.h"
#include "grid/foundation/ImageList.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include "platform/rtl/Exceptions.h"

#include <QApplication>

#include <array>
#include <string>
#include <functional>
#include <vector>

using namespace grid;

namespace {

class ViewServicesTest : public ShownGridFixture {};

TEST_F(ViewServicesTest, CanDropDownFollowsButtonReadOnlyAndGridMode) {
    ShowGrid(3, 3);
    Grid->SetCellButtonType(1, 1, btCombo);
    Grid->SetCellButtonType(2, 1, btCombo);
    Grid->SetCellReadOnly(2, 1, roOn);
    struct Case {
        const char* what;
        int col;
        TgxGridMode mode;
        std::initializer_list<TgxButtonType> allowed;
        bool expected;
    };
    const Case cases[] = {
        {"combo cell, edit mode", 1, gmEdit, {btCombo}, true},
        {"combo cell, insert mode", 1, gmEditInsert, {btCombo}, true},
        {"combo cell, type not asked for", 1, gmEdit, {btNormal}, false},
        {"read-only combo cell", 2, gmEdit, {btCombo}, false},
        {"list-box mode", 1, gmListBox, {btCombo}, false},
        {"browse mode", 1, gmBrowse, {btCombo}, false},
        {"date-time type without a definition", 3, gmEdit, {btDateTimeDropDown}, false},
    };
    for (const Case& c : cases) {
        Grid->SetGridMode(c.mode);
        EXPECT_EQ(Grid->CanDropDown(c.col, 1, c.allowed), c.expected) << c.what;
    }
}

TEST_F(ViewServicesTest, SkipReadOnlyAnswersByOptionAndMode) {
    ShowGrid(3, 3);
    struct Case {
        bool skip;
        TgxGridMode mode;
        bool expected;
    };
    const Case cases[] = {
        {true, gmEdit, true},    {true, gmBrowse, true}, {true, gmListBox, false},
        {false, gmEdit, false},  {false, gmListBox, false},
    };
    for (const Case& c : cases) {
        Grid->SetSkipReadOnly(c.skip);
        Grid->SetGridMode(c.mode);
        EXPECT_EQ(Grid->CanSkipReadOnly(), c.expected)
            << "skip " << c.skip << " mode " << static_cast<int>(c.mode);
    }
}

TEST_F(ViewServicesTest, OldEditModeNamesMapToEditModes) {
    struct Case {
        const char* text;
        TgxEditMode expected;
    };
    const Case cases[] = {
        {"emnone", emNone},   {"emeditinsert", emEditInsert}, {"embrowse", emBrowse},
        {"emedit", emEdit},   {"EMBROWSE", emBrowse},         {"", emEdit},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TgxBaseGrid::EditModeStrValue(c.text), c.expected) << c.text;
}

TEST_F(ViewServicesTest, BaseGridCannotMakeACombo) {
    EnsureQtApplication();
    TgxBaseGrid base(nullptr);
    base.SetName("Base");
    struct Case {
        std::function<void()> call;
        const char* message;
    };
    const Case cases[] = {
        {[&] { base.CreateCombo(); },
         "Cannot create combo box. Method CreateCombo has not been not implemented in derived "
         "class"},
        {[&] { base.CreateComboGrid(); },
         "Cannot create combo box. Method CreateComboGrid has not been not implemented in "
         "derived class"},
    };
    for (const Case& c : cases) {
        try {
            c.call();
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message, AnsiString("Base: ") + c.message);
        }
    }
}

TEST_F(ViewServicesTest, TheGridsComboStartsWithItsListDefaults) {
    ShowGrid(2, 2);
    TgxCombo* combo = Grid->GetCombo();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(Grid->GetCombo(), combo) << "made once";
    TgxComboGrid* list = combo->GetGrid();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->GetGridRowCount(), 0);
    EXPECT_EQ(list->GetGridColCount(), 1);
    EXPECT_EQ(list->DropDownRows(), 4);
    EXPECT_EQ(list->DropDownCols(), 1);
    EXPECT_EQ(list->ValueCol(), 1);
    EXPECT_EQ(list->ComboDisplayCol(), 1);
    EXPECT_EQ(list->CompareType(), ctCaseInsensitive);
    EXPECT_FALSE(list->StoreData());
    EXPECT_EQ(list->GetParentGrid(), Grid);
    EXPECT_EQ(list->GetParentGridCombo(), combo);
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_FALSE(Grid->TurnComboOff(false, false)) << "nothing was open";
}

TEST_F(ViewServicesTest, PaintAndBulkCountersNest) {
    ShowGrid(2, 2);
    // An extra "on" never goes below zero: one "off" still turns painting off.
    Grid->SetEnablePaint(true);
    Grid->SetEnablePaint(false);
    EXPECT_FALSE(Grid->CanPaint());
    Grid->SetEnablePaint(false);
    Grid->SetEnablePaint(true);
    EXPECT_FALSE(Grid->CanPaint()) << "one level still held";
    Grid->SetEnablePaint(true);
    EXPECT_TRUE(Grid->CanPaint());

    Grid->SetFastAssign(true);
    Grid->SetFastAssign(true);
    Grid->SetFastAssign(false);
    EXPECT_TRUE(Grid->GetFastAssign());
    Grid->SetFastAssign(false);
    EXPECT_FALSE(Grid->GetFastAssign());
}

TEST_F(ViewServicesTest, CurrentDataRowFollowsTheDisplayMapAndIgnoresRowsOutside) {
    ShowGrid(3, 5);
    Grid->ChangeDisplayRow(5, 1); // data row 5 now shows first
    Grid->SetCurrentCell(2, 3);
    EXPECT_EQ(Grid->GetCurrentDataRow(), Grid->GetDataRow(3));
    Grid->SetCurrentDataRow(5);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Grid->Col(), 2) << "the column stays";
    EXPECT_EQ(Grid->GetCurrentDataRow(), 5);
    for (int outside : {-1, 6, 100}) {
        Grid->SetCurrentDataRow(outside);
        EXPECT_EQ(Grid->Row(), 1) << outside;
        EXPECT_EQ(Grid->GetCurrentDataRow(), 5) << outside;
    }
}

TEST_F(ViewServicesTest, ModeQuestions) {
    ShowGrid(3, 3);
    struct Case {
        TgxGridMode mode;
        TgxRowSelectMode rowSelect;
        bool editMode, editState, gridState, rowSelectMode, focusRect;
    };
    const Case cases[] = {
        {gmEdit, rsNone, true, true, true, false, true},
        {gmEditInsert, rsNone, true, true, true, false, true},
        {gmBrowse, rsNone, false, false, true, false, true},
        {gmListBox, rsSingle, false, false, false, true, false},
        {gmListBox, rsMulti, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        Grid->SetGridMode(c.mode);
        Grid->SetRowSelectMode(c.rowSelect);
        const int mode = static_cast<int>(c.mode);
        EXPECT_EQ(Grid->InEditMode(), c.editMode) << mode;
        EXPECT_EQ(Grid->InEditState(), c.editState) << mode;
        EXPECT_EQ(Grid->InGridState(), c.gridState) << mode;
        EXPECT_EQ(Grid->InRowSelectMode(), c.rowSelectMode) << mode;
        EXPECT_EQ(Grid->FocusRectActive(), c.focusRect) << mode;
    }
    // Without data rows there is no edit or grid state.
    Grid->SetRowSelectMode(rsNone);
    Grid->SetGridMode(gmEdit);
    Grid->SetGridRowCount(0);
    EXPECT_TRUE(Grid->InEditMode());
    EXPECT_FALSE(Grid->InEditState());
    EXPECT_FALSE(Grid->InGridState());
}

TEST_F(ViewServicesTest, ASelectionEndsEditAndGridStateAndIsReportedOnce) {
    ShowGrid(3, 3);
    Grid->SetColSelectMode(csMulti);
    std::vector<std::pair<TgxGridStatus, TgxGridStatus>> reports;
    Grid->OnGridStatusChanged = [&](TObject*, TgxGridStatus o, TgxGridStatus n) {
        reports.emplace_back(o, n);
    };
    Grid->SelectCols(2, 3, true);
    EXPECT_EQ(Grid->GridStatus(), grColSelect);
    EXPECT_FALSE(Grid->InEditMode());
    EXPECT_FALSE(Grid->InGridState());
    EXPECT_FALSE(Grid->FocusRectActive());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].first, grNormal);
    EXPECT_EQ(reports[0].second, grColSelect);
    // Clamped to the data columns; unselecting everything ends the state.
    Grid->SelectCols(-5, 50, false);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_EQ(Grid->NumberOfColsSelected(1, 3), 0);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_EQ(reports[1].second, grNormal);
    Grid->SelectCols(1, 3, false); // nothing selected: nothing happens
    Grid->DeleteColSelection(1, 3);
    EXPECT_EQ(reports.size(), 2u);
    EXPECT_TRUE(Grid->InEditMode());
}

TEST_F(ViewServicesTest, ColumnsAreSelectedOnlyInColumnSelectMode) {
    ShowGrid(3, 3);
    Grid->SetColSelectMode(csNone);
    Grid->SelectCols(1, 2, true);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_EQ(Grid->NumberOfColsSelected(1, 3), 0);
    Grid->SetColSelectMode(csMulti);
    Grid->SelectCols(0, 9, true); // clamped
    EXPECT_EQ(Grid->NumberOfColsSelected(1, 3), 3);
}

TEST_F(ViewServicesTest, InsertRowIsTheLastBaseRowInInsertMode) {
    ShowGrid(2, 3);
    Grid->SetGridMode(gmEditInsert);
    const int last = Grid->RowCount() - 1;
    EXPECT_TRUE(Grid->IsInsertRow(last));
    EXPECT_FALSE(Grid->IsInsertRow(last - 1));
    Grid->SetGridMode(gmEdit);
    EXPECT_FALSE(Grid->IsInsertRow(Grid->RowCount() - 1));
}

TEST_F(ViewServicesTest, AcceleratorFindsTheHeadingsColumn) {
    ShowGrid(3, 2);
    Grid->GetCol(2)->SetHeading("&Name");
    Grid->GetCol(3)->SetHeading("Ci&ty");
    EXPECT_EQ(Grid->GetAccelHeading('n'), 2);
    EXPECT_EQ(Grid->GetAccelHeading('T'), 3);
    EXPECT_LE(Grid->GetAccelHeading('q'), 0);
}

TEST_F(ViewServicesTest, PictureOptionsAreDefaultOnHeadingsAndFollowOverlap) {
    ShowGrid(3, 3);
    Grid->GetCol(2)->SetStretchPicture(dopOn);
    Grid->SetRowPicture(2, 1, dopOff);
    struct Case {
        TgxDrawOverlap overlap;
        int col, row;
        TgxDrawOption expected;
    };
    const Case cases[] = {
        {doDrawColOnTop, 2, 2, dopOn},    {doDrawRowOnTop, 2, 2, dopOff},
        {doDrawColOnTop, 2, 0, dopDefault}, {doDrawRowOnTop, 0, 2, dopDefault},
        {doDrawColOnTop, 1, 1, dopDefault}, {doDrawColOnTop, 1, 2, dopOff},
    };
    for (const Case& c : cases) {
        Grid->SetDrawOverlap(c.overlap);
        EXPECT_EQ(Grid->GiveCellStretchPicture(c.col, c.row), c.expected)
            << c.col << "," << c.row << " overlap " << static_cast<int>(c.overlap);
    }
    Grid->SetCellPicture(2, 2, 1, dopDefault);
    Grid->SetCellPicture(1, 1, 1, dopOn);
    EXPECT_EQ(Grid->GiveCellStretchPicture(1, 1), dopOn) << "the cell's own first";
}

TEST_F(ViewServicesTest, CellRectAndCellFromXYAgree) {
    ShowGrid(4, 6);
    for (int col = 1; col <= 4; ++col)
        for (int row = 1; row <= 6; ++row) {
            const TRect r = Grid->CellRect(col, row);
            int c = -1, rw = -1;
            ASSERT_TRUE(Grid->CellFromXY((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2, c, rw));
            EXPECT_EQ(c, col);
            EXPECT_EQ(rw, row);
        }
    // A point at a column's right edge is a sizing point.
    const TRect r = Grid->CellRect(2, 0);
    EXPECT_EQ(Grid->GetSizingState(r.Right, (r.Top + r.Bottom) / 2, 0, 2), msColResize);
    EXPECT_EQ(Grid->GetSizingState((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2, 0, 2),
              msNormal);
}

TEST_F(ViewServicesTest, AllColumnsAndRowsTakeOneSize) {
    ShowGrid(4, 4);
    Grid->GetCol(2)->SetWidth(120);
    Grid->ChangeAllColWidths(50, false);
    Grid->ChangeAllRowHeights(30, false);
    EXPECT_TRUE(Grid->CanPaint()) << "painting is back on";
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(Grid->GetCol(i)->Width(), 50) << i;
        EXPECT_EQ(Grid->GetRowHeight(i), 30) << i;
    }
}

TEST_F(ViewServicesTest, NextColumnAndRowSkipHiddenOnesAndEndAtTheEdge) {
    ShowGrid(4, 4);
    Grid->GetCol(3)->SetVisible(false);
    Grid->SetRowVisible(2, false);
    int next = -1;
    EXPECT_TRUE(Grid->GetNextCol(2, false, false, next));
    EXPECT_EQ(next, 4);
    EXPECT_FALSE(Grid->GetNextCol(4, false, false, next));
    EXPECT_TRUE(Grid->GetNextRow(1, false, false, next));
    EXPECT_EQ(next, 3);
    EXPECT_FALSE(Grid->GetNextRow(4, false, false, next));
}

TEST_F(ViewServicesTest, WithoutAWindowNothingIsVisible) {
    EnsureQtApplication();
    TgxGrid grid(nullptr);
    EXPECT_EQ(grid.MaxVisibleCol(), 0);
    EXPECT_EQ(grid.MaxVisibleRow(), 0);
    EXPECT_EQ(grid.GetMaxTopRow(), 0);
}

TEST_F(ViewServicesTest, MaxTopRowStillFillsTheClientHeight) {
    ShowGrid(2, 40);
    const int maxTop = Grid->GetMaxTopRow();
    ASSERT_GT(maxTop, 1);
    Grid->SetTopLeft(1, 40);
    EXPECT_EQ(Grid->TopRow(), maxTop) << "held to the largest top row";
    EXPECT_EQ(Grid->MaxVisibleRow(), 40) << "the last row shows";
    Grid->SetTopLeft(1, maxTop + 1);
    EXPECT_EQ(Grid->TopRow(), maxTop);
}

TEST_F(ViewServicesTest, AnEmptyValueLeavesTheCurrentCellAlone) {
    ShowGrid(2, 2);
    Grid->SetStoreData(true);
    Grid->SetCellValue(1, 1, "kept");
    Grid->SetCurrentCell(1, 1);
    Grid->SetCurrentValue(Variant(), false, false);
    EXPECT_EQ(Grid->GetCellValue(1, 1).AsString(), "kept");
    EXPECT_FALSE(Grid->CellEditing());
}

TEST_F(ViewServicesTest, CompareEventsLeaveTheResultWhenUnassigned) {
    ShowGrid(2, 2);
    int result = 7;
    Grid->DoComboCompareValue("a", "b", result);
    EXPECT_EQ(result, 7);
    Grid->DoComboLCompareValue("a", "b", 1, result);
    EXPECT_EQ(result, 7);
    Grid->OnComboCompareValue = [](TObject*, const AnsiString&, const AnsiString&, int& r) {
        r = -3;
    };
    Grid->DoComboCompareValue("a", "b", result);
    EXPECT_EQ(result, -3);
}

TEST_F(ViewServicesTest, KeyMovesReportTheChangedCellOnce) {
    ShowGrid(3, 3);
    Grid->SetFocus();
    Grid->SetCurrentCell(1, 1);
    Settle();
    std::vector<std::array<int, 4>> changes;
    Grid->OnCellChanged = [&](TObject*, int oc, int nc, int orw, int nr) {
        changes.push_back({oc, nc, orw, nr});
    };
    for (int key : {Qt::Key_Down, Qt::Key_Right}) {
        QWidget* target = QApplication::focusWidget();
        TypeKey(target ? target : Grid->Widget(), key, {}, Qt::NoModifier);
    }
    Settle();
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0][1], 1);
    EXPECT_EQ(changes[0][3], 2);
    EXPECT_EQ(changes[1], (std::array<int, 4>{1, 2, 2, 2}));
}

} // namespace

namespace {

// A cell with properties is listed under its data column and data row; the
// lists give their sets back once the last such cell is gone.
TEST_F(ViewServicesTest, CellsWithPropertiesAreListedPerColumnAndRow) {
    ShowGrid(4, 4);
    auto listed = [&](TgxIntegerSetList* list, int index, int key) {
        if (index >= list->Count()) return false;
        TgxIntegerSet* set = list->GetItem(index);
        return set != nullptr && set->Get(key) != nullptr;
    };
    Grid->SetCellColor(2, 3, clRed);
    Grid->SetCellColor(2, 4, clBlue);
    EXPECT_TRUE(listed(Grid->ColCellProps(), 2, 3));
    EXPECT_TRUE(listed(Grid->ColCellProps(), 2, 4));
    EXPECT_TRUE(listed(Grid->RowCellProps(), 3, 2));
    EXPECT_TRUE(listed(Grid->RowCellProps(), 4, 2));
    Grid->ResetCellProperties(AllProperties());
    EXPECT_FALSE(listed(Grid->ColCellProps(), 2, 3));
    EXPECT_FALSE(listed(Grid->RowCellProps(), 3, 2));
    EXPECT_EQ(Grid->ColCellProps()->GetItem(2), nullptr) << "an emptied set is freed";
    EXPECT_EQ(Grid->RowCellProps()->GetItem(3), nullptr);
}

TEST_F(ViewServicesTest, AMovedRowTakesItsHeightSelectionAndTheCurrentCellAlong) {
    ShowGrid(3, 6);
    Grid->SetRowSelectMode(rsMulti);
    Grid->SetRowHeight(2, 40);
    Grid->SetCurrentCell(2, 2);
    Grid->SelectRows(2, 2, true);
    std::vector<std::array<int, 3>> moves;
    Grid->OnRowMoved = [&](TObject*, int to, int count, bool byUser) {
        moves.push_back({to, count, byUser ? 1 : 0});
    };
    Grid->MoveRowRange(2, 5);
    EXPECT_EQ(Grid->GetDataRow(5), 2);
    EXPECT_EQ(Grid->GetDisplayRow(2), 5);
    EXPECT_EQ(Grid->GetDataRow(2), 3) << "the rows between move up";
    EXPECT_EQ(Grid->RowHeights(5), Grid->GetRowHeight(2)) << "the height went along";
    EXPECT_NE(Grid->RowHeights(2), Grid->RowHeights(5));
    EXPECT_TRUE(Grid->GetRowSelected(2));
    EXPECT_EQ(Grid->NumberOfRowsSelected(1, 6), 1);
    EXPECT_EQ(Grid->Row(), 5) << "the current cell stays on its data row";
    EXPECT_EQ(Grid->GetCurrentDataRow(), 2);
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0][1], 1);
}

TEST_F(ViewServicesTest, AMovedColumnTakesItsWidthSelectionAndTheCurrentCellAlong) {
    ShowGrid(5, 3);
    Grid->SetColSelectMode(csMulti);
    Grid->GetCol(2)->SetWidth(110);
    Grid->SetCurrentCell(2, 1);
    Grid->SelectCols(2, 2, true);
    int moved = 0;
    Grid->OnColMoved = [&](TObject*, int, int, bool) { ++moved; };
    Grid->MoveColRange(2, 4);
    EXPECT_EQ(Grid->GetDataCol(4), 2);
    EXPECT_EQ(Grid->GetDisplayCol(2), 4);
    EXPECT_EQ(Grid->ColWidths(4), Grid->ColWidths(Grid->GetDisplayCol(2)));
    EXPECT_GT(Grid->ColWidths(4), Grid->ColWidths(2));
    EXPECT_EQ(Grid->NumberOfColsSelected(1, 5), 1);
    EXPECT_EQ(Grid->NumberOfColsSelected(4, 4), 1);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 2) << "the current cell stays on its data column";
    EXPECT_EQ(moved, 1);
}

TEST_F(ViewServicesTest, DeletingSelectionsWithoutKindsClearsEveryKind) {
    ShowGrid(4, 4);
    Grid->SetRowSelectMode(rsMulti);
    Grid->SelectRows(1, 2, true);
    ASSERT_EQ(Grid->GridStatus(), grRowSelect);
    Grid->DeleteSelections({}, true);
    EXPECT_EQ(Grid->NumberOfRowsSelected(1, 4), 0);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_TRUE(Grid->CanPaint()) << "painting is back on";
    Grid->SetColSelectMode(csMulti);
    Grid->SelectCols(1, 2, true);
    Grid->DeleteSelections({grRowSelect}, true);
    EXPECT_EQ(Grid->NumberOfColsSelected(1, 4), 2) << "another kind stays";
}

TEST_F(ViewServicesTest, AHiddenColumnOrRowKeepsNoWidth) {
    ShowGrid(3, 3);
    Grid->GetCol(2)->SetVisible(false);
    Grid->SetRowVisible(2, false);
    Grid->GetCol(2)->SetWidth(80);
    Grid->SetRowHeight(2, 35);
    EXPECT_EQ(Grid->ColWidths(Grid->GetDisplayCol(2)), 0);
    EXPECT_EQ(Grid->RowHeights(Grid->GetDisplayRow(2)), 0);
    Grid->GetCol(2)->SetVisible(true);
    Grid->SetRowVisible(2, true);
    EXPECT_GT(Grid->ColWidths(Grid->GetDisplayCol(2)), 0);
    EXPECT_GT(Grid->RowHeights(Grid->GetDisplayRow(2)), 0);
}

TEST_F(ViewServicesTest, OnlyAComboListHasAParentGrid) {
    ShowGrid(2, 2);
    EXPECT_EQ(Grid->GetParentGrid(), nullptr);
    TgxComboGrid* list = Grid->GetCombo()->GetGrid();
    EXPECT_EQ(list->GetParentGrid(), Grid);
    EXPECT_EQ(Grid->ImageListPicture(Variant(AnsiString("star"))), nullptr) << "no image list";

    auto* images = new TgxImageList(Form);
    TgxImage* star = images->Images()->Add();
    star->SetRefName("star");
    Grid->SetImageList(images);
    EXPECT_EQ(list->ImageList(), images) << "a list uses its grid's images";
    EXPECT_EQ(Grid->ImageListPicture(Variant(AnsiString("star"))), star);
    EXPECT_EQ(list->ImageListPicture(Variant(AnsiString("star"))), star);
    EXPECT_EQ(Grid->ImageListPicture(Variant(AnsiString("moon"))), nullptr);
    delete images;
    EXPECT_EQ(Grid->ImageList(), nullptr) << "a freed image list is let go";
    EXPECT_EQ(list->ImageList(), nullptr);
    Settle(); // repaints without the list
}

} // namespace

namespace {

TEST_F(ViewServicesTest, CellColourComesFromTheFirstLevelThatSetsOne) {
    ShowGrid(3, 3);
    Grid->SetRowColor(2, clBlue);
    Grid->GetCol(2)->SetColor(clLime);
    Grid->SetCellColor(3, 3, clRed);
    Grid->GetCol(3)->SetHeadingColor(clYellow);
    Grid->SetHeadingColor(clSilver);
    struct Case {
        const char* what;
        TgxDrawOverlap overlap;
        TColor gridColor;
        int col, row;
        bool is3D;
        TColor expected;
    };
    const Case cases[] = {
        {"cell's own", doDrawColOnTop, clWindow, 3, 3, false, clRed},
        {"column over row", doDrawColOnTop, clWindow, 2, 2, false, clLime},
        {"row over column", doDrawRowOnTop, clWindow, 2, 2, false, clBlue},
        {"grid window colour", doDrawColOnTop, clWindow, 1, 1, false, clWindow},
        {"grid window colour, raised", doDrawColOnTop, clWindow, 1, 1, true, clBtnFace},
        {"grid colour of its own", doDrawColOnTop, clAqua, 1, 1, true, clAqua},
        {"column heading", doDrawColOnTop, clWindow, 3, 0, false, clYellow},
        {"heading without its own", doDrawColOnTop, clWindow, 1, 0, false, clSilver},
        {"row bar", doDrawColOnTop, clWindow, 0, 2, false, clSilver},
    };
    for (const Case& c : cases) {
        Grid->SetDrawOverlap(c.overlap);
        Grid->SetColor(c.gridColor);
        EXPECT_EQ(Grid->GiveCellColor(c.col, c.row, c.is3D), c.expected) << c.what;
    }
}

TEST_F(ViewServicesTest, HidingTheCurrentColumnOrRowMovesTheCurrentCell) {
    ShowGrid(4, 4);
    Grid->SetCurrentCell(2, 2);
    Grid->GetCol(2)->SetVisible(false);
    EXPECT_NE(Grid->GetCurrentDataCol(), 2);
    EXPECT_TRUE(Grid->GetCol(Grid->GetCurrentDataCol())->Visible());
    Grid->SetRowVisible(2, false);
    EXPECT_NE(Grid->GetCurrentDataRow(), 2);
    EXPECT_TRUE(Grid->GetRowVisible(Grid->GetCurrentDataRow()));
    // Fewer rows and columns keep the current cell inside the grid.
    Grid->SetCurrentCell(4, 4);
    Grid->SetGridColCount(2);
    Grid->SetGridRowCount(3);
    EXPECT_GE(Grid->Col(), 1);
    EXPECT_LE(Grid->Col(), 2);
    EXPECT_GE(Grid->Row(), 1);
    EXPECT_LE(Grid->Row(), 3);
}

} // namespace

namespace {

// The store allocates by the grid's counts, with at most 256 columns at a
// time once there are more than 256 rows.
TEST_F(ViewServicesTest, TheStoreAllocatesByTheGridsCounts) {
    ShowGrid(2, 2);
    Grid->SetStoreData(true);
    struct Case {
        int cols, rows;
        int colAlloc, rowAlloc;
    };
    const Case cases[] = {{300, 10, 300, 10}, {300, 400, 256, 400}, {20, 400, 20, 400}};
    for (const Case& c : cases) {
        Grid->SetGridColCount(c.cols);
        Grid->SetGridRowCount(c.rows);
        ASSERT_NE(Grid->DataStore(), nullptr);
        EXPECT_EQ(Grid->DataStore()->ColAllocSize(), c.colAlloc) << c.cols << "x" << c.rows;
        EXPECT_EQ(Grid->DataStore()->RowAllocSize(), c.rowAlloc) << c.cols << "x" << c.rows;
    }
    Grid->SetStoreData(false);
    EXPECT_EQ(Grid->DataStore(), nullptr);
}

} // namespace
