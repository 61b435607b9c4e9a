// Taking over another grid's state, whole or by groups, and setting groups
// back to their defaults, through the public calls a program makes.
#include "ShownGridFixture.h"

#include "grid/foundation/CellStore.h"
#include "grid/model/CellProps.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/InplaceControl.h"
#include "grid/model/Rows.h"
#include "platform/gui/Graphics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

using namespace grid;

namespace {

class TransferReading : public ShownGridFixture {
protected:
    // A second grid on the same form, not shown in front.
    TgxGrid* MakeSource(int Cols, int Rows) {
        auto* Source = new TgxGrid(Form);
        Source->SetParent(Form);
        Source->SetBounds(0, 0, 300, 200);
        Source->SetGridColCount(Cols);
        Source->SetGridRowCount(Rows);
        return Source;
    }
};

TEST_F(TransferReading, AssignFromSomethingElseRaisesAndChangesNothing) {
    ShowGrid(4, 4);
    Grid->GetCol(2)->SetColor(clRed);
    TFont Font;
    EXPECT_THROW(Grid->Assign(&Font), EConvertError);
    EXPECT_EQ(Grid->GetCol(2)->Color(), clRed);
}

TEST_F(TransferReading, AssignTakesEveryGroupWithTheValues) {
    ShowGrid(3, 3);
    Grid->SetName("Target");
    TgxGrid* Source = MakeSource(5, 6);
    Source->SetName("Source");
    Source->SetHeadingColor(clYellow);
    Source->SetDefaultColWidth(40);
    Source->SetStoreData(true);
    Source->SetCellValue(5, 6, "last");
    Source->SetCellValue(1, 1, "current");
    Source->GetCol(4)->SetColor(clBlue);
    Source->SetRowColor(3, clGreen);
    Source->SetCellColor(2, 2, clRed);
    Grid->Assign(Source);
    EXPECT_EQ(Grid->GetGridColCount(), 5);
    EXPECT_EQ(Grid->GetGridRowCount(), 6);
    EXPECT_EQ(Grid->HeadingColor(), clYellow);
    EXPECT_EQ(Grid->DefaultColWidth(), 40);
    EXPECT_TRUE(Grid->StoreData());
    EXPECT_EQ(Grid->GetCellValue(5, 6).AsString(), "last");
    EXPECT_EQ(Grid->GetCellValue(1, 1).AsString(), "current");
    EXPECT_EQ(Grid->GridControl()->GetValue().AsString(), "current");
    EXPECT_EQ(Grid->GetCol(4)->Color(), clBlue);
    EXPECT_EQ(Grid->GetRowColor(3), clGreen);
    EXPECT_EQ(Grid->GetCellColor(2, 2), clRed);
    // What places the grid on its form is its own.
    EXPECT_NE(Grid->Width(), Source->Width());
    EXPECT_NE(Grid->Name(), Source->Name());
}

TEST_F(TransferReading, OnlyRowsLeavesTheColumnsAlone) {
    ShowGrid(3, 3);
    TgxGrid* Source = MakeSource(6, 8);
    Source->SetDefaultRowHeight(22);
    Source->SetDefaultColWidth(30);
    Source->SetHeadingColor(clYellow);
    Grid->AssignPropKinds(Source, TgxPropKinds{pkRows}, false);
    EXPECT_EQ(Grid->GetGridRowCount(), 8);
    EXPECT_EQ(Grid->DefaultRowHeight(), 22);
    EXPECT_EQ(Grid->GetGridColCount(), 3);
    EXPECT_EQ(Grid->DefaultColWidth(), 64);
    EXPECT_NE(Grid->HeadingColor(), clYellow);
}

TEST_F(TransferReading, OnlyTheGridLevelLeavesCountsAndDefaultSizes) {
    ShowGrid(3, 3);
    TgxGrid* Source = MakeSource(6, 8);
    Source->SetDefaultRowHeight(22);
    Source->SetDefaultColWidth(30);
    Source->SetHeadingColor(clYellow);
    Grid->AssignPropKinds(Source, TgxPropKinds{pkGrid}, false);
    EXPECT_EQ(Grid->HeadingColor(), clYellow);
    EXPECT_EQ(Grid->GetGridRowCount(), 3);
    EXPECT_EQ(Grid->GetGridColCount(), 3);
    EXPECT_EQ(Grid->DefaultRowHeight(), 14);
    EXPECT_EQ(Grid->DefaultColWidth(), 64);
}

TEST_F(TransferReading, ExcludedNamesAreNotCopied) {
    ShowGrid(3, 3);
    TgxGrid* Source = MakeSource(3, 3);
    Source->SetHeadingColor(clYellow);
    Source->SetLineColor(clRed);
    Source->SetDefaultColWidth(30);
    Grid->AssignProperties(Source, "headingcolor;DefaultColWidth;");
    EXPECT_NE(Grid->HeadingColor(), clYellow);
    EXPECT_EQ(Grid->LineColor(), clRed);
    EXPECT_EQ(Grid->DefaultColWidth(), 64);
    Grid->AssignProperties(Source, "");
    EXPECT_EQ(Grid->HeadingColor(), clYellow);
    EXPECT_EQ(Grid->DefaultColWidth(), 30);
}

TEST_F(TransferReading, CellsGrowTheCountsButNeverShrinkThem) {
    ShowGrid(3, 9);
    TgxGrid* Source = MakeSource(6, 4);
    Source->SetCellColor(6, 4, clRed);
    Grid->AssignPropKinds(Source, TgxPropKinds{pkCells}, false);
    EXPECT_EQ(Grid->GetGridColCount(), 6);
    EXPECT_EQ(Grid->GetGridRowCount(), 9);
    EXPECT_EQ(Grid->GetCellColor(6, 4), clRed);
}

TEST_F(TransferReading, MovedColumnsAreReportedOnceEach) {
    ShowGrid(5, 3);
    TgxGrid* Source = MakeSource(5, 3);
    Source->GetCol(2)->SetDisplayCol(4);
    std::vector<int> Moved;
    Grid->OnColMoved = [&](TObject*, int To, int, bool) { Moved.push_back(To); };
    Grid->Assign(Source);
    for (int C = 1; C <= 5; ++C)
        EXPECT_EQ(Grid->GetDisplayCol(C), Source->GetDisplayCol(C));
    std::sort(Moved.begin(), Moved.end());
    EXPECT_EQ(Moved, (std::vector<int>{2, 3, 4}));
}

TEST_F(TransferReading, RowsWithoutObjectInTheSourceAreReset) {
    ShowGrid(3, 5);
    TgxGrid* Source = MakeSource(3, 5);
    Grid->SetRowColor(2, clRed);
    Source->SetRowColor(4, clBlue);
    Grid->AssignPropKinds(Source, TgxPropKinds{pkRows}, false);
    EXPECT_EQ(Grid->GetRow(2), nullptr);
    EXPECT_EQ(Grid->GetRowColor(4), clBlue);
}

TEST_F(TransferReading, SelectionsFollowTheSourceAndAreAnnounced) {
    ShowGrid(4, 6);
    TgxGrid* Source = MakeSource(4, 6);
    Source->SelectRows(2, 3, true);
    std::vector<TgxSelectType> Changed;
    Grid->OnSelectChanged = [&](TObject*, TgxSelectType T, bool) { Changed.push_back(T); };
    Grid->AssignPropKinds(Source, TgxPropKinds{pkRows}, false);
    EXPECT_TRUE(Grid->GetRowSelected(2));
    EXPECT_TRUE(Grid->GetRowSelected(3));
    EXPECT_EQ(Grid->GridStatus(), grRowSelect);
    EXPECT_EQ(Changed, std::vector<TgxSelectType>{stRowSelect});
}

TEST_F(TransferReading, CopyDataDropsWhatLiesBeyondThisGrid) {
    ShowGrid(2, 2);
    Grid->SetStoreData(true);
    TgxGrid* Source = MakeSource(4, 5);
    Source->SetStoreData(true);
    Source->SetCellValue(1, 1, "a");
    Source->SetCellValue(4, 1, "far right");
    Source->SetCellValue(1, 5, "far down");
    // The current cell's editor shows the value it had before the copy.
    ASSERT_NE(Grid->GridControl(), nullptr);
    Grid->CopyData(Source);
    EXPECT_EQ(Grid->GetCellValue(1, 1).AsString(), "a");
    EXPECT_EQ(Grid->GridControl()->GetValue().AsString(), "a");
    EXPECT_EQ(Grid->GetGridColCount(), 2);
    Tgx2DStorage* Store = Grid->DataStore();
    ASSERT_NE(Store, nullptr);
    EXPECT_LE(Store->MaxRowSet(), 2);
    for (int R = 1; R <= Store->MaxRowSet(); ++R)
        EXPECT_LE(Store->MaxColValueSet(R), 2);
    // From itself: nothing changes.
    Grid->CopyData(Grid);
    EXPECT_EQ(Grid->GetCellValue(1, 1).AsString(), "a");
}

TEST_F(TransferReading, ResetColumnsByProperty) {
    ShowGrid(4, 3);
    Grid->GetCol(2)->SetColor(clRed);
    Grid->GetCol(2)->SetHeadingColor(clBlue);
    Grid->GetCol(3)->SetReadOnly(true);
    Grid->SelectCols(3, 3, true);
    // An empty set changes nothing.
    Grid->ResetColProperties(TgxProperties{});
    EXPECT_EQ(Grid->GetCol(2)->Color(), clRed);
    EXPECT_TRUE(Grid->PaintEnabled());
    Grid->ResetColProperties(TgxProperties{prColor, prSelected});
    EXPECT_EQ(Grid->GetCol(2)->Color(), clNone);
    EXPECT_EQ(Grid->GetCol(2)->HeadingColor(), clNone);
    EXPECT_TRUE(Grid->GetCol(3)->ReadOnly());
    EXPECT_FALSE(Grid->GetCol(3)->GetSelected());
    EXPECT_EQ(Grid->GridStatus(), grNormal);
    EXPECT_TRUE(Grid->PaintEnabled());
}

TEST_F(TransferReading, ResetRowsDropsRowObjectsThatBecameDefault) {
    ShowGrid(3, 5);
    Grid->SetRowColor(2, clRed);
    Grid->SetRowChanged(3, true);
    Grid->ResetRowProperties(TgxProperties{prColor, prChanged});
    EXPECT_EQ(Grid->GetRow(2), nullptr);
    EXPECT_FALSE(Grid->GetRowChanged(3));
}

TEST_F(TransferReading, ResetCellsOfASelectionEndsTheCellSelection) {
    ShowGrid(4, 4);
    Grid->SetCellColor(2, 2, clRed);
    Grid->SelectCells(1, 1, 2, 2);
    ASSERT_EQ(Grid->GridStatus(), grCellSelect);
    Grid->ResetCellProperties(TgxProperties{prColor, prSelected});
    EXPECT_EQ(Grid->GetCellColor(2, 2), clNone);
    EXPECT_EQ(Grid->GridStatus(), grNormal);
}

TEST_F(TransferReading, ResetKindsGivesBackANewGridsState) {
    ShowGrid(4, 4);
    Grid->GetCol(2)->SetColor(clRed);
    Grid->SetHeadingColor(clYellow);
    Grid->ResetPropKinds(TgxPropKinds{pkCols});
    EXPECT_EQ(Grid->GetCol(2)->Color(), clNone);
    EXPECT_EQ(Grid->HeadingColor(), clYellow);
    Grid->ResetPropKinds(TgxPropKinds{pkGrid});
    EXPECT_NE(Grid->HeadingColor(), clYellow);
    EXPECT_EQ(Grid->GetGridColCount(), 4);
}

TEST_F(TransferReading, DesignModeCopiesByDisplayPosition) {
    ShowGrid(4, 4);
    TgxGrid* Source = MakeSource(4, 4);
    Source->SetStoreData(true);
    Source->GetCol(1)->SetDisplayCol(3); // data column 1 now shows third
    Source->SetCellColor(1, 2, clRed);
    Source->SetCellValue(1, 2, "moved");
    Grid->SetInDesignMode(true);
    Grid->AssignPropKinds(Source, TgxPropKinds{pkCells}, true);
    EXPECT_EQ(Grid->GetCellColor(3, 2), clRed);
    EXPECT_EQ(Grid->GetCellValue(3, 2).AsString(), "moved");
    EXPECT_NE(Grid->GetCellColor(1, 2), clRed);
}

TEST_F(TransferReading, ColumnsOfAnotherCountDoNotOverrun) {
    ShowGrid(3, 3);
    TgxGrid* Source = MakeSource(6, 3);
    Source->GetCol(5)->SetColor(clRed);
    Grid->AssignPropKinds(Source, TgxPropKinds{pkCols}, false);
    EXPECT_EQ(Grid->GetCol(5)->Color(), clRed);
    TgxGrid* Small = MakeSource(2, 3);
    Grid->AssignPropKinds(Small, TgxPropKinds{pkCols}, false);
    EXPECT_EQ(Grid->GetGridColCount(), 2);
}

} // namespace

namespace {

// With every column (row) sized together, a reset of the width (height)
// gives each one the common size, not the size it was last given alone.
TEST_F(TransferReading, ResetSizesWhenAllAreSizedTogether) {
    ShowGrid(4, 5);
    Grid->SetResizeCols(rcAll);
    Grid->GetCol(2)->SetWidth(90);
    Grid->ResetColProperties(TgxProperties{prWidth});
    for (int C = 1; C <= 4; ++C)
        EXPECT_EQ(Grid->GetCol(C)->Width(), Grid->DefaultColWidth()) << C;
    Grid->SetResizeRows(rrAll);
    Grid->SetRowHeight(2, 30);
    Grid->ResetRowProperties(TgxProperties{prHeight});
    for (int R = 1; R <= 5; ++R)
        EXPECT_EQ(Grid->GetRowHeight(R), Grid->DefaultRowHeight()) << R;
}

} // namespace

namespace {

// A list grid keeps what makes it a list: its modes, no selections of
// another grid, and its place as its parent's list after a reset.
TEST_F(TransferReading, AListGridKeepsItsListSettings) {
    ShowGrid(3, 3);
    TgxCol* C = Grid->GetCol(2);
    C->SetWidth(70);
    C->SetButtonType(btCombo);
    C->AssignCombo();
    TgxComboGrid* List = C->GetCombo()->GetGrid();
    ASSERT_NE(List, nullptr);
    const TgxGridMode Mode = List->GridMode();
    const TgxRowSelectMode Select = List->RowSelectMode();
    TgxGrid* Source = MakeSource(3, 3);
    Source->SetGridMode(Mode == gmEdit ? gmBrowse : gmEdit);
    Source->SetRowSelectMode(Select == rsSingle ? rsMulti : rsSingle);
    Source->SetHeadingColor(clYellow);
    Source->SelectRows(2, 2, true);
    List->AssignPropKinds(Source, AllPropKinds, false);
    EXPECT_EQ(List->GridMode(), Mode);
    EXPECT_EQ(List->RowSelectMode(), Select);
    EXPECT_FALSE(List->GetRowSelected(2));
    List->SetHeadingOn(true);
    List->SetDefaultColWidth(30);
    List->ResetPropKinds(AllPropKinds);
    EXPECT_TRUE(List->IsComboGrid());
    EXPECT_EQ(List->GetParentGrid(), Grid);
    // Back to a new list of this column: no heading, the column's width.
    EXPECT_FALSE(List->GetHeadingOn());
    EXPECT_EQ(List->DefaultColWidth(), 80);
    EXPECT_EQ(List->GridMode(), Mode);
}

} // namespace

namespace {

// A list grid takes another grid's settings by name like any grid.
TEST_F(TransferReading, AListGridTakesAnotherGridsSettings) {
    ShowGrid(3, 3);
    TgxCol* From = Grid->GetCol(1);
    From->SetParentCombo(false);
    TgxComboGrid* List = From->GetCombo()->GetGrid();
    TgxGrid* Source = MakeSource(3, 3);
    Source->SetHeadingColor(clBlue);
    Source->SetLineColor(clRed);
    List->AssignProperties(Source, "");
    EXPECT_EQ(List->HeadingColor(), clBlue);
    EXPECT_EQ(List->LineColor(), clRed);
}

} // namespace
