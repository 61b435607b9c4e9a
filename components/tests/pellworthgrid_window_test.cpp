// The company grid shown in a window (offscreen): auto-size measured on its
// canvas, scrolling and paging over hidden rows, and mouse clicks.
#include "components/PellworthGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/InplaceControl.h"
#include "grid/model/PropDefaults.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/FloatFormat.h"

#include <gtest/gtest.h>

#include <climits>

#include <algorithm>
#include <map>
#include <string>

using namespace components;

namespace {

class ClickableGrid : public TPellworthGrid {
public:
    using TPellworthGrid::MouseDown;
    using TPellworthGrid::TPellworthGrid;
};

class PellworthWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 600, 400);
        Grid = new ClickableGrid(Form);
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 400, 300);
        Form->Show();
        Grid->SetGridColCount(3);
        Grid->SetGridRowCount(20);
    }
    void TearDown() override { delete Form; }
    // The window shows exactly Rows data rows.
    void ShowRows(int Rows) {
        const int Height = Grid->RowHeights(0) + Rows * Grid->RowHeights(1) + 2;
        Grid->SetBounds(0, 0, 400, Height + (Grid->Height() - Grid->ClientHeight()));
        ASSERT_EQ(static_cast<int>(Grid->GetVisibleRows()), Rows);
    }
    int TextWidth(const AnsiString& Text) {
        Grid->Canvas()->Font()->Assign(Grid->Font());
        return Grid->Canvas()->TextWidth(Text);
    }
    void Click(int DisplayCol, int DisplayRow) {
        const TRect R = Grid->CellRect(DisplayCol, DisplayRow);
        Grid->MouseDown(mbLeft, {}, (R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2);
    }

    TForm* Form = nullptr;
    ClickableGrid* Grid = nullptr;
};

TEST_F(PellworthWindowTest, AutoSizeTakesTheWidestLineAndTheHeading) {
    Grid->SetCellValue(1, 1, Variant(AnsiString("ab")));
    Grid->SetCellValue(1, 2, Variant(AnsiString("short\nthe much longer line")));
    Grid->AutoSizeCol(1);
    EXPECT_EQ(Grid->GetCol(1)->Width(), TextWidth("the much longer line") + 7);

    // A hidden row is not measured; a combo button takes 13 more.
    Grid->SetRowVisible(2, false);
    Grid->GetCol(1)->SetButtonType(grid::btCombo);
    Grid->AutoSizeCol(1);
    const int Heading = Grid->Canvas()->TextWidth(Grid->GetCol(1)->Heading());
    EXPECT_EQ(Grid->GetCol(1)->Width(), std::max(TextWidth("ab") + 7 + 13, Heading + 7));

    // A handler's minimum replaces the measurement of its row.
    Grid->OnGetCellMinimumWidth = [](TObject*, int, int Row, int& Minimum, bool& Handled) {
        if (Row == 1) {
            Minimum = 200;
            Handled = true;
        }
    };
    Grid->GetCol(1)->SetButtonType(grid::btNone);
    Grid->AutoSizeCol(1);
    EXPECT_EQ(Grid->GetCol(1)->Width(), 207);

    // Check-box and hidden columns are left alone by AutoSizeColumns.
    Grid->GetCol(2)->SetControlType(grid::ctCheck);
    Grid->GetCol(2)->SetWidth(33);
    Grid->GetCol(3)->SetVisible(false);
    const int Hidden = Grid->GetCol(3)->Width();
    Grid->AutoSizeColumns();
    EXPECT_EQ(Grid->GetCol(2)->Width(), 33);
    EXPECT_EQ(Grid->GetCol(3)->Width(), Hidden);
}

TEST_F(PellworthWindowTest, ScrollingStopsAtTheEnds) {
    ShowRows(3);
    Grid->SetTopRow(3);
    Grid->Scroll(-5);
    EXPECT_EQ(Grid->TopRow(), 1);
    Grid->Scroll(2);
    EXPECT_EQ(Grid->TopRow(), 3);
    Grid->Scroll(0);
    EXPECT_EQ(Grid->TopRow(), 3);
    // The farthest a count can ask for, either way.
    Grid->Scroll(INT_MIN);
    EXPECT_EQ(Grid->TopRow(), 1);
    Grid->Scroll(INT_MAX);
    EXPECT_GE(Grid->TopRow(), 3);
    Grid->Scroll(INT_MIN);
    EXPECT_EQ(Grid->TopRow(), 1);
}

TEST_F(PellworthWindowTest, TheBottomRowCountsHiddenRowsItWalksOver) {
    ShowRows(3);
    Grid->SetRowVisible(4, false);
    Grid->SetRowVisible(5, false);
    Grid->SetTopRow(3);
    ASSERT_EQ(Grid->TopRow(), 3);
    EXPECT_EQ(Grid->GetBottomRow(), 7);
    Grid->SetBottomRow(7);
    EXPECT_EQ(Grid->TopRow(), 3);
}

TEST_F(PellworthWindowTest, MakingADataRowVisibleScrollsOnlyWhenItIsOutOfView) {
    ShowRows(3);
    Grid->SetTopRow(10);
    Grid->MakeDataRowVisible(2);
    EXPECT_EQ(Grid->TopRow(), 1) << "within the first window rows: to the top";
    EXPECT_EQ(Grid->GetDataRow(Grid->Row()), 2);
    Grid->MakeDataRowVisible(3);
    EXPECT_EQ(Grid->TopRow(), 1);
    Grid->MakeDataRowVisible(12);
    EXPECT_EQ(Grid->TopRow(), 12);
    Grid->MakeDataRowVisible(8);
    EXPECT_EQ(Grid->TopRow(), 8);
}

TEST_F(PellworthWindowTest, AClickSelectsTheRowUnlessItHitsACheckBox) {
    Grid->SetRowSelect(true);
    Click(2, 3);
    EXPECT_TRUE(Grid->GetRowSelected(3));
    Click(2, 5);
    EXPECT_FALSE(Grid->GetRowSelected(3));
    EXPECT_TRUE(Grid->GetRowSelected(5));

    // A check-box cell becomes current and no row is selected; in a grid
    // that may not edit the box stays as it is.
    Grid->GetCol(1)->SetControlType(grid::ctCheck);
    Grid->SetCellValue(1, 4, Variant(0));
    Grid->SetGridMode(grid::gmBrowse);
    Click(1, 4);
    EXPECT_FALSE(Grid->GetRowSelected(5));
    EXPECT_FALSE(Grid->GetRowSelected(4));
    EXPECT_EQ(Grid->Row(), 4);
    EXPECT_EQ(Grid->Col(), 1);
    EXPECT_EQ(VarToStr(Grid->GetCellValue(1, 4)), "0");

    // Where cells may be edited, each click toggles it.
    Grid->SetGridMode(grid::gmEdit);
    Grid->SetCellValue(1, 2, Variant(1));
    Click(1, 4);
    EXPECT_EQ(VarToStr(Grid->GetCellValue(1, 4)), "1");
    Click(1, 2);
    Click(1, 4);
    EXPECT_EQ(VarToStr(Grid->GetCellValue(1, 4)), "0");
    EXPECT_EQ(VarToStr(Grid->GetCellValue(1, 2)), "0");
    EXPECT_FALSE(Grid->GetRowSelected(4));
    EXPECT_FALSE(Grid->CellEditing());
}

TEST_F(PellworthWindowTest, ASortedGridIsPaintedInItsNewOrder) {
    Grid->SetGridRowCount(3);
    Grid->SetCellValue(1, 1, Variant(9));
    Grid->SetCellValue(1, 2, Variant(10));
    Grid->SetCellValue(1, 3, Variant(100));
    std::map<int, std::string> Painted; // display row -> text of column 1
    Grid->OnDrawCellText = [&](TObject*, AnsiString& Text, grid::TgxDrawData& Data, bool) {
        if (Data.DataCol == 1) Painted[Data.DisplayRow] = Text;
    };
    Grid->Repaint();
    EXPECT_EQ(Painted[1], "9");

    Painted.clear();
    const int Col = 1;
    Grid->Sort(&Col, 1, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ(Painted, (std::map<int, std::string>{{1, "10"}, {2, "100"}, {3, "9"}}));

    Painted.clear();
    Grid->Unsort();
    Application->ProcessMessages();
    EXPECT_EQ(Painted, (std::map<int, std::string>{{1, "9"}, {2, "10"}, {3, "100"}}));
}

TEST_F(PellworthWindowTest, TheEditorStaysOverItsRowWhenASortMovesIt) {
    Grid->SetGridRowCount(3);
    for (int R = 1; R <= 3; ++R)
        Grid->SetCellValue(1, R, Variant(IntToStr(R)));
    Grid->SetGridMode(grid::gmEdit);
    Grid->SetAlwaysShowEditor(true);
    Grid->SetFocus();
    Grid->SetCurrentCell(1, 1);
    Application->ProcessMessages();
    const auto EditorTop = [&] { return Grid->GridControl()->GetTop(); };
    ASSERT_TRUE(Grid->GridControl() && Grid->GridControl()->GetVisible());
    const int Offset = EditorTop() - Grid->CellRect(1, 1).Top;

    const int Col = 1;
    Grid->Sort(&Col, 1, 1, 0);
    Application->ProcessMessages();
    EXPECT_EQ(Grid->Row(), 3);
    ASSERT_TRUE(Grid->GridControl()->GetVisible());
    EXPECT_EQ(EditorTop() - Grid->CellRect(1, 3).Top, Offset);
}

} // namespace
