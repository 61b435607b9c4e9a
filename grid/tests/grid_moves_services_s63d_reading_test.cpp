// Moving a column or row keeps the current cell, sizes and selection on
// their data; the heading alignment repaints; the store's allocation.
#include "ShownGridPixels.h"
#include "StubDateTimeDef.h"

#include "grid/foundation/CellStore.h"
#include "grid/model/Columns.h"

#include <gtest/gtest.h>

using namespace grid;

namespace {

class GridMoves : public ShownGridPixels {};

TEST_F(GridMoves, MovedColumnKeepsCurrentCellAndWidth) {
    ShowFocused(4, 3);
    Grid->SetCol(1);
    Grid->SetColWidths(1, 90);
    Grid->SetDisplayColnr(1, 3);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 1);
    EXPECT_EQ(Grid->Col(), 3);
    EXPECT_EQ(Grid->ColWidths(3), 90);
    EXPECT_EQ(Grid->GetDisplayColnr(1), 3);
}

TEST_F(GridMoves, MovedRowKeepsCurrentCellHeightAndSelection) {
    ShowFocused(3, 5);
    Grid->SetRow(2);
    Grid->SetRowHeights(2, 33);
    Grid->SetDisplayRownr(2, 4);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 2);
    EXPECT_EQ(Grid->Row(), 4);
    EXPECT_EQ(Grid->RowHeights(4), 33);

    Grid->SetGridMode(gmListBox);
    Grid->SelectRows(4, 4, true);
    ASSERT_TRUE(Grid->RowSelection().GetSelected(4));
    Grid->SetDisplayRownr(2, 1);
    EXPECT_TRUE(Grid->RowSelection().GetSelected(1)) << "the selection moves with the row";
    EXPECT_FALSE(Grid->RowSelection().GetSelected(4));
}

TEST_F(GridMoves, DateTimeButtonsDropDownWithADefinition) {
    ShowFocused(3, 3);
    StubDateTimeDef Def(nullptr);
    Grid->SetGridMode(gmEdit);
    Grid->SetCellButtonType(1, 1, btDateTimeDropDown);
    EXPECT_FALSE(Grid->CanDropDown(1, 1, {btDateTimeDropDown}));
    Grid->SetDateTimeDef(&Def);
    EXPECT_TRUE(Grid->CanDropDown(1, 1, {btDateTimeDropDown}));
    EXPECT_FALSE(Grid->CanDropDown(1, 1, {btCombo})) << "not a type asked for";
    Grid->SetDateTimeDef(nullptr);
}

TEST_F(GridMoves, HeadingAlignmentRepaintsTheHeading) {
    ShowFocused(3, 3);
    Grid->SetColWidths(1, 160);
    Grid->GridCols()->Item(1)->SetHeading("WWWW");
    Grid->SetHeadingAlignment(taLeftJustify);
    Shot();
    const TRect H = Grid->CellRect(1, 0);
    const TRect Left{H.Left + 2, H.Top + 2, (H.Left + H.Right) / 2, H.Bottom - 2};
    const TRect Right{(H.Left + H.Right) / 2, H.Top + 2, H.Right - 3, H.Bottom - 2};
    const TColor Ink = clBlack;
    ASSERT_GT(CountOf(Left, Ink), 0);
    ASSERT_EQ(CountOf(Right, Ink), 0);
    Grid->SetHeadingAlignment(taRightJustify);
    Shot();  // no explicit repaint: the setter asks for it
    EXPECT_EQ(CountOf(Left, Ink), 0);
    EXPECT_GT(CountOf(Right, Ink), 0);
}

TEST_F(GridMoves, StoreAllocatesAtMost256ColumnsForManyRows) {
    ShowFocused(3, 3);
    Grid->SetStoreData(true);
    ASSERT_NE(Grid->DataStore(), nullptr);
    Grid->SetDataAllocSize(300, 100);
    EXPECT_EQ(Grid->DataStore()->ColAllocSize(), 300);
    EXPECT_EQ(Grid->DataStore()->RowAllocSize(), 100);
    Grid->SetDataAllocSize(300, 1000);
    EXPECT_EQ(Grid->DataStore()->ColAllocSize(), 256);
    EXPECT_EQ(Grid->DataStore()->RowAllocSize(), 1000);
}

}  // namespace
