// Scrolling, the next visible column, the current value, the unassigned
// combo hooks and where the combo's drop-down form is placed.
#include "ShownMouseFixture.h"

#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/view/DropDownForm.h"
#include "platform/gui/Messages.h"

#include <QApplication>
#include <gtest/gtest.h>

using namespace grid;

namespace {

class GridScrollServices : public ShownMouseFixture {
protected:
    void Key(int K) {
        QWidget* F = QApplication::focusWidget();
        TypeKey(F ? F : W, K);
        QApplication::processEvents();
    }
};

TEST_F(GridScrollServices, TopLeftIsClampedAndScrollCodesMoveIt) {
    ShowFocused(3, 40);
    const int MaxTop = Grid->GetMaxTopRow();
    ASSERT_GT(MaxTop, 2);
    Grid->MoveTopLeft(1, 1000);
    EXPECT_EQ(Grid->TopRow(), MaxTop);
    Grid->MoveTopLeft(1, 1);
    EXPECT_EQ(Grid->TopRow(), 1);

    const struct {
        int Code, Pos, Top;
    } Cases[] = {{SB_LINEDOWN, 0, 2}, {SB_BOTTOM, 0, MaxTop}, {SB_THUMBPOSITION, 5, 5}};
    for (const auto& C : Cases) {
        Grid->ModifyVertScrollBar(C.Code, C.Pos);
        EXPECT_EQ(Grid->TopRow(), C.Top) << C.Code;
    }
    // A hidden top row is passed over.
    Grid->SetRowVisible(3, false);
    Grid->MoveTopLeft(1, 3);
    EXPECT_NE(Grid->TopRow(), 3);
}

TEST_F(GridScrollServices, NextColumnPassesHiddenOnes) {
    ShowFocused(4, 3);
    Grid->GridCols()->Item(2)->SetVisible(false);
    int Next = -1;
    ASSERT_TRUE(Grid->GetNextCol(1, false, false, Next));
    EXPECT_EQ(Next, 3);
    EXPECT_FALSE(Grid->GetNextCol(4, false, false, Next)) << "nothing after the last column";
    // The keyboard follows the same path.
    Key(Qt::Key_Right);
    EXPECT_EQ(Grid->Col(), 3);
}

TEST_F(GridScrollServices, EmptyCurrentValueChangesNothing) {
    ShowFocused(3, 3);
    Grid->SetStoreData(true);
    Grid->SetCellValue(1, 1, Variant("keep"));
    Grid->SetCurrentValue(Variant(), false, false);
    EXPECT_EQ(Grid->GetCellValue(1, 1).AsString(), "keep");
}

TEST_F(GridScrollServices, UnassignedComboHooksLeaveTheirResults) {
    ShowFocused(3, 3);
    int Result = 42;
    Grid->DoComboCompareValue("a", "b", Result);
    EXPECT_EQ(Result, 42);
    Variant Value("mine");
    Grid->DoComboGetValue(1, 1, Value, 1);
    EXPECT_EQ(Value.AsString(), "mine");
}

TEST_F(GridScrollServices, ComboFormOpensUnderTheCell) {
    ShowFocused(3, 3);
    Grid->SetCellButtonType(1, 1, btCombo);
    Grid->SetColWidths(1, 200);
    int ListColWidth = 0;  // 0: the list's own width (the column's and more)
    Grid->OnComboInit = [&](TObject*, TgxComboGrid* List, int, int) {
        if (ListColWidth > 0) List->SetDefaultColWidth(ListColWidth);
    };
    const TRect Cell = Grid->CellRect(1, 1);
    const TPoint BottomLeft = Grid->ClientToScreen(TPoint{Cell.Left, Cell.Bottom});
    const TPoint BottomRight = Grid->ClientToScreen(TPoint{Cell.Right, Cell.Bottom});
    for (int Width : {0, 60}) {
        ListColWidth = Width;
        Grid->ResetComboInit(true);
        Key(Qt::Key_F4);
        ASSERT_TRUE(Grid->ComboVisible()) << Width;
        TgxDropDownForm* Form = Grid->GetComboForm();
        EXPECT_NEAR(Form->Top(), BottomLeft.Y, 1) << Width;
        if (Form->Width() < Cell.Width())
            EXPECT_NEAR(Form->Left() + Form->Width(), BottomRight.X, 1) << "ends at the cell's right edge";
        else
            EXPECT_NEAR(Form->Left(), BottomLeft.X, 1) << Width;
        EXPECT_EQ(Width > 0, Form->Width() < Cell.Width());
        Key(Qt::Key_Escape);
        ASSERT_FALSE(Grid->ComboVisible());
    }
}

}  // namespace
