// A dropped combo list: its width over the columns it shows, and the value
// a click on one of its rows carries into the cell.
#include "DropDownFixture.h"

#include <QApplication>

#include <string>

using namespace grid;

namespace {

class ComboDrop : public DropDownFixture {
protected:
    void SetUp() override {
        DropDownFixture::SetUp();
        Grid->SetGridColCount(3);
        Grid->SetGridRowCount(5);
        Grid->SetStoreData(true);
        QApplication::processEvents();
    }
    void Open(int DataCol, int DataRow) {
        GoTo(DataCol, DataRow);
        Grid->ShowCombo();
        QApplication::processEvents();
    }
    void ClickListRow(int ListDataRow) {
        TgxComboGrid* L = DroppedList();
        const TRect R = L->CellRect(1, L->GetDisplayRow(ListDataRow));
        const int F = L->WindowFrameWidth();
        const QPoint P((R.Left + R.Right) / 2 + F, (R.Top + R.Bottom) / 2 + F);
        SendMouse(L->Widget(), QEvent::MouseMove, P, Qt::NoButton);
        SendMouse(L->Widget(), QEvent::MouseButtonPress, P, Qt::LeftButton);
        SendMouse(L->Widget(), QEvent::MouseButtonRelease, P, Qt::LeftButton);
        QApplication::processEvents();
    }
};

// The list is as wide as its first DropDownCols visible columns, plus the
// row bar when it shows one.
TEST_F(ComboDrop, ListWidthCountsVisibleColumnsAndTheRowBar) {
    struct Case {
        int DropDownCols;
        int HiddenCol;  // 0: none
        bool RowBar;
        int Columns;    // width the columns add, from the widths 40, 60, 80
    };
    const Case Cases[] = {
        {1, 0, false, 40}, {2, 0, false, 100}, {3, 0, false, 180},
        {2, 1, false, 140}, {2, 2, false, 120}, {1, 0, true, 40}, {2, 0, true, 100},
    };
    int Base = -1;
    int Row = 1;
    for (const Case& C : Cases) {
        SCOPED_TRACE(testing::Message() << C.DropDownCols << " hidden " << C.HiddenCol << " bar " << C.RowBar);
        TgxComboGrid* L = GiveColumnList(2, {"a", "b"});
        L->SetGridColCount(3);
        const int Widths[] = {40, 60, 80};
        for (int I = 1; I <= 3; ++I) {
            L->GetCol(I)->SetWidth(Widths[I - 1]);
            L->GetCol(I)->SetVisible(I != C.HiddenCol);
        }
        L->SetRowBarOn(C.RowBar);
        L->SetRowBarWidth(20);
        Grid->GetCol(2)->GetCombo()->SetDropDownCols(C.DropDownCols);
        Open(2, Row++ % 5 + 1);
        ASSERT_TRUE(Grid->ComboVisible());
        const int W = Grid->GetComboFormWindow()->Width();
        if (Base < 0) Base = W - 40;
        EXPECT_EQ(W - Base, C.Columns + (C.RowBar ? 20 : 0));
        Grid->HideCombo();
        QApplication::processEvents();
    }
}

// A stored list row whose value cell is blank clears the cell: the choice
// is the blank, not "keep what was there".
TEST_F(ComboDrop, BlankListValueClearsTheCell) {
    TgxComboGrid* L = GiveColumnList(2, {"One", "", "Three"});
    Grid->SetCellValue(2, 1, Variant(AnsiString("One")));
    Open(2, 1);
    ASSERT_TRUE(Grid->ComboVisible());
    ASSERT_EQ(L->GetGridRowCount(), 3);
    ClickListRow(2);
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(CurrentText(), AnsiString(""));
}

// The value column names which list column the clicked row gives.
TEST_F(ComboDrop, ValueColumnPicksTheListColumn) {
    struct Case {
        int ValueCol;
        const char* Want;
    };
    const Case Cases[] = {{1, "code2"}, {2, "name2"}, {3, "info2"}};
    int Row = 1;
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.ValueCol);
        TgxComboGrid* L = GiveColumnList(2, {"code1", "code2"});
        L->SetGridColCount(3);
        for (int R = 1; R <= 2; ++R) {
            L->SetCellValue(2, R, Variant(AnsiString(("name" + std::to_string(R)).c_str())));
            L->SetCellValue(3, R, Variant(AnsiString(("info" + std::to_string(R)).c_str())));
        }
        Grid->GetCol(2)->GetCombo()->SetValueCol(C.ValueCol);
        Open(2, Row++);
        ASSERT_TRUE(Grid->ComboVisible());
        ClickListRow(2);
        EXPECT_FALSE(Grid->ComboVisible());
        EXPECT_EQ(CurrentText(), AnsiString(C.Want));
        Grid->HideEditor();
    }
}

// The chosen text arrives selected as a whole, so typing straight away
// replaces it rather than adding to it.
TEST_F(ComboDrop, ChosenTextArrivesSelected) {
    GiveColumnList(2, {"Apple", "Banana"});
    Grid->SetCellValue(2, 1, Variant(AnsiString("Apple")));
    Open(2, 1);
    ASSERT_TRUE(Grid->ComboVisible());
    ClickListRow(2);
    ASSERT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(CurrentText(), AnsiString("Banana"));
    TgxCustomGridControl* Edit = Grid->GridCellControl(Grid->CurCellControlType());
    EXPECT_EQ(Edit->GetSelText(), AnsiString("Banana"));
    TypeKey(Edit->GetHandle()->Widget(), Qt::Key_X, "x");
    QApplication::processEvents();
    EXPECT_EQ(CurrentText(), AnsiString("x"));
}

// With no columns or rows to size by, the dropped list keeps the size it
// had, whatever its items.
TEST_F(ComboDrop, ZeroDropDownExtentsKeepTheListSize) {
    TgxComboGrid* L = GiveColumnList(2, {"a", "b", "c"});
    Open(2, 1);
    ASSERT_TRUE(Grid->ComboVisible());
    const int W = Grid->GetComboFormWindow()->Width();
    const int H = Grid->GetComboFormWindow()->Height();
    Grid->HideCombo();
    TgxCombo* Combo = Grid->GetCol(2)->GetCombo();
    Combo->SetDropDownCols(0);
    Combo->SetDropDownRows(0);
    L->GetCol(1)->SetWidth(L->GetCol(1)->Width() + 50);
    L->SetGridRowCount(1);
    Open(2, 2);
    ASSERT_TRUE(Grid->ComboVisible());
    EXPECT_EQ(Grid->GetComboFormWindow()->Width(), W);
    EXPECT_EQ(Grid->GetComboFormWindow()->Height(), H);
}

}  // namespace
