// The parts of the grid's layout that need a window: visible ranges, the
// largest top row and the top-left report.
#include "grid/model/BaseGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/InplaceControl.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"

#include <gtest/gtest.h>

#include <vector>

using namespace grid;

namespace {

class TWatchedGrid : public TgxBaseGrid {
public:
    using TgxBaseGrid::TgxBaseGrid;
    std::vector<std::pair<int, int>> Reported; // (old top row, new top row)
    void TopLeftChangedEvent(int, int OldTopRow, bool, int NewTopRow, int) override {
        Reported.emplace_back(OldTopRow, NewTopRow);
    }
};

class GridWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 600, 400);
        Grid = new TWatchedGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 400, 300);
        Form->Show();
    }
    void TearDown() override { delete Form; }

    TForm* Form = nullptr;
    TWatchedGrid* Grid = nullptr;
};

} // namespace

TEST_F(GridWindowTest, RowsThatAllFitGiveTheFirstScrollableRowAsTheLargestTopRow) {
    ASSERT_TRUE(Grid->HandleAllocated());
    EXPECT_EQ(Grid->GetMaxTopRow(), Grid->FixedRows());
    Grid->SetGridRowCount(100);
    const int MaxTop = Grid->GetMaxTopRow();
    EXPECT_GT(MaxTop, 1);
    // From the largest top row the rows below fill the client height, one
    // row more would not fit.
    int Height = Grid->FixedHeight();
    for (int R = MaxTop; R < Grid->RowCount(); ++R)
        Height += Grid->RowHeights(R);
    EXPECT_LE(Height, Grid->ClientHeight());
    EXPECT_GT(Height + Grid->RowHeights(MaxTop - 1), Grid->ClientHeight());
    EXPECT_GT(Grid->MaxVisibleRow(), 1);
    EXPECT_GT(Grid->CompVisibleRows(1), 0);
}

TEST_F(GridWindowTest, AMovedTopLeftIsReportedOnce) {
    Grid->SetGridRowCount(100);
    Grid->Reported.clear();
    Grid->SetTopRow(10);
    ASSERT_EQ(Grid->Reported.size(), 1u);
    EXPECT_EQ(Grid->Reported[0], std::make_pair(1, 10));
    Grid->CheckTopLeftChanged(false);
    EXPECT_EQ(Grid->Reported.size(), 1u);
    // Beyond the largest top row the grid clamps before it reports.
    Grid->SetTopRow(99);
    EXPECT_EQ(Grid->TopRow(), Grid->GetMaxTopRow());
    EXPECT_EQ(Grid->Reported.back().second, Grid->GetMaxTopRow());
}

TEST_F(GridWindowTest, HiddenRowsAreSkippedWhenCountingScrollRows) {
    Grid->SetGridRowCount(100);
    const int Before = Grid->VisibleScrollRows();
    for (int R = 2; R <= 5; ++R)
        Grid->SetRowVisible(R, false);
    EXPECT_EQ(Grid->VisibleScrollRows(), Before);
    EXPECT_EQ(Grid->RowHeights(3), 0);
}

TEST_F(GridWindowTest, TheCurrentCellsSelectionGoesToTheEditControl) {
    Grid->SetStoreData(true);
    Grid->SetCellValue(1, 1, Variant("abcdef"));
    TgxCurrentCell* Cell = Grid->CurrentCell();
    Cell->MoveTo(1, 1);
    Cell->SetSelStart(1);
    Cell->SetSelLength(3);
    EXPECT_EQ(Cell->GetSelText(), "bcd");
    Cell->SelectAll();
    EXPECT_EQ(Cell->GetSelText(), "abcdef");
    EXPECT_TRUE(Cell->AllSelected());
    Grid->GetCol(2)->SetControlType(ctCheck);
    Cell->MoveTo(2, 1);
    EXPECT_FALSE(Cell->CopyToClipboard()); // not a text cell
}

TEST_F(GridWindowTest, TheInPlaceControlSitsOnTheCurrentCellWithItsLookAndValue) {
    Grid->SetStoreData(true);
    Grid->CurrentCell()->MoveTo(2, 2);
    Grid->GetCol(2)->SetColor(clRed);
    Grid->GetCol(2)->SetWidth(90);
    Grid->SetCellValue(2, 2, Variant("x"));
    TgxCustomGridControl* Edit = Grid->GridCellControl(ctText);
    EXPECT_TRUE(Edit->GetVisible());
    EXPECT_FALSE(Grid->GridCellControl(ctCheck)->GetVisible());
    EXPECT_EQ(Edit->GetColor(), clRed);
    EXPECT_EQ(Edit->GetValue().AsString(), "x");
    // Three pixels in from the cell's left, one line and the margin narrower.
    const TRect Cell = Grid->CellRect(2, 2);
    EXPECT_EQ(Edit->GetLeft(), Cell.Left + 3);
    EXPECT_EQ(Edit->GetTop(), Cell.Top);
    EXPECT_EQ(Edit->GetWidth(), 90 - 1 - 3);
    EXPECT_EQ(Edit->GetHeight(), Grid->RowHeights(2) - 1);
}
