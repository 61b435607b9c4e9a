// A combo cell's list: how it opens, how big it is and where it sits, the
// events around it, and the value a click in it carries into the cell.
#include "DropDownFixture.h"
#include "grid/view/DropDownForm.h"

#include <QApplication>

#include <string>
#include <vector>

using namespace grid;

namespace {

class ComboShow : public DropDownFixture {
protected:
    void SetUp() override {
        DropDownFixture::SetUp();
        Grid->SetGridColCount(3);
        Grid->SetGridRowCount(5);
        Grid->SetStoreData(true);
        Grid->OnComboInit = [&](TObject*, TgxComboGrid*, int C, int R) { Log("init", C, R); };
        Grid->OnComboDropDown = [&](TObject*, TgxComboGrid*, int C, int R) { Log("down", C, R); };
        Grid->OnComboRollUp = [&](TObject*, TgxComboGrid*, int C, int R) { Log("up", C, R); };
        QApplication::processEvents();
    }
    void Log(const char* What, int C, int R) {
        Events.push_back(std::string(What) + " " + std::to_string(C) + "," + std::to_string(R));
    }
    // A list of N rows of "Item1".."ItemN" in column 2.
    TgxComboGrid* ListOf(int N, int DataCol = 2) {
        std::vector<std::string> Items;
        for (int I = 1; I <= N; ++I) Items.push_back("Item" + std::to_string(I));
        TgxComboGrid* L = GiveColumnList(DataCol, {});
        L->SetGridRowCount(N);
        for (int I = 1; I <= N; ++I) L->SetCellValue(1, I, Variant(AnsiString(Items[I - 1].c_str())));
        return L;
    }
    void Open(int DataCol, int DataRow) {
        GoTo(DataCol, DataRow);
        Grid->ShowCombo();
        QApplication::processEvents();
    }
    TWinControl* ListForm() { return Grid->GetComboFormWindow(); }
    // Clicks the list's data row with the real mouse.
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
    std::vector<std::string> Events;
};

TEST_F(ComboShow, ListHeightFollowsItsRows) {
    struct Case {
        int Rows;
        int ShownRows;
    };
    const Case Cases[] = {{10, 4}, {2, 2}, {0, 1}};
    int Heights[3] = {};
    int RowHeight = 0;
    for (int I = 0; I < 3; ++I) {
        SCOPED_TRACE(Cases[I].Rows);
        ListOf(Cases[I].Rows);
        Open(2, I + 1);
        ASSERT_TRUE(Grid->ComboVisible());
        TgxComboGrid* L = DroppedList();
        RowHeight = L->DefaultRowHeight();
        Heights[I] = ListForm()->Height();
        int Want = L->GetHeadingOn() ? L->GetHeadingHeight() : 0;
        Want += Cases[I].ShownRows * RowHeight;
        EXPECT_GE(Heights[I], Want);
        EXPECT_LE(Heights[I], Want + 8 + (L->GetHorzScrollBarVisible() ? L->GetHorzScrollBarHeight() : 0));
        Grid->HideCombo();
        QApplication::processEvents();
    }
    EXPECT_EQ(Heights[0] - Heights[1], 2 * RowHeight);
    EXPECT_EQ(Heights[1] - Heights[2], RowHeight);
}

TEST_F(ComboShow, NarrowListOpensBelowTheCellRightAligned) {
    Grid->GetCol(2)->SetWidth(200);
    TgxComboGrid* L = ListOf(3);
    L->GetCol(1)->SetWidth(60);
    Open(2, 2);
    ASSERT_TRUE(Grid->ComboVisible());
    const TRect Cell = Grid->CalcCellRect(Grid->GetDisplayCol(2), Grid->GetDisplayRow(2));
    const TPoint BottomRight = Grid->ClientToScreen(Point(Cell.Right, Cell.Bottom));
    TWinControl* F = ListForm();
    EXPECT_LT(F->Width(), 200);
    EXPECT_NEAR(F->Left() + F->Width(), BottomRight.X, 1);
    EXPECT_NEAR(F->Top(), BottomRight.Y, 1);
}

TEST_F(ComboShow, OpeningTwiceAndSwitchingCells) {
    ListOf(3, 2);
    ListOf(3, 3);
    Open(2, 2);
    ASSERT_TRUE(Grid->ComboVisible());
    const std::vector<std::string> First = {"init 2,2", "down 2,2"};
    EXPECT_EQ(Events, First);
    Grid->ShowCombo();
    QApplication::processEvents();
    EXPECT_EQ(Events, First);
    EXPECT_TRUE(Grid->ComboVisible());
    Events.clear();
    Open(3, 4);
    ASSERT_TRUE(Grid->ComboVisible());
    EXPECT_EQ(Grid->ComboDataCol(), 3);
    EXPECT_EQ(Grid->ComboDataRow(), 4);
    ASSERT_GE(Events.size(), 3u);
    EXPECT_EQ(Events.front(), "up 2,2");
    EXPECT_EQ(Events.back(), "down 3,4");
    // Closing reports the roll-up once; closing again reports nothing.
    Events.clear();
    Grid->HideCombo();
    Grid->HideCombo();
    QApplication::processEvents();
    EXPECT_EQ(Events, std::vector<std::string>{"up 3,4"});
    EXPECT_EQ(Grid->ComboDataCol(), -1);
    EXPECT_EQ(Grid->ComboDataRow(), -1);
}

TEST_F(ComboShow, CellWithoutDefinitionAfterAnotherListShowsNoneOfIt) {
    ListOf(3, 2);
    Grid->GetCol(1)->SetButtonType(btCombo);
    Grid->GetCol(1)->SetDropDownStyle(ddDropDownList);
    Open(2, 1);
    ASSERT_TRUE(Grid->ComboVisible());
    ASSERT_EQ(DroppedList()->GetGridRowCount(), 3);
    Grid->HideCombo();
    QApplication::processEvents();
    Open(1, 2);
    ASSERT_TRUE(Grid->ComboVisible());
    EXPECT_EQ(DroppedList()->GetGridRowCount(), 0);
    EXPECT_EQ(DroppedList()->DropDownStyle(), ddDropDownList);
    EXPECT_EQ(DroppedList()->DefaultColWidth(), Grid->GetCol(1)->Width() + 10);
}

TEST_F(ComboShow, ClickedRowValueGoesIntoTheCell) {
    struct Case {
        const char* Name;
        int ValueCol;
        const char* Want;
    };
    const Case Cases[] = {
        {"first column", 1, "Item3"},
        {"second column", 2, "Second3"},
    };
    int Row = 1;
    for (const Case& K : Cases) {
        SCOPED_TRACE(K.Name);
        TgxComboGrid* L = ListOf(4);
        L->SetGridColCount(2);
        for (int R = 1; R <= 4; ++R)
            L->SetCellValue(2, R, Variant(AnsiString(("Second" + std::to_string(R)).c_str())));
        Grid->GetCol(2)->GetCombo()->SetValueCol(K.ValueCol);
        Events.clear();
        Open(2, Row);
        ASSERT_TRUE(Grid->ComboVisible());
        ClickListRow(3);
        EXPECT_FALSE(Grid->ComboVisible());
        EXPECT_EQ(CurrentText(), K.Want);
        ASSERT_FALSE(Events.empty());
        EXPECT_EQ(Events.back(), "up 2," + std::to_string(Row));
        // The grid or the editor it shows on the cell has the focus again.
        EXPECT_TRUE(Grid->Focused() || Editor()->Focused());
        EXPECT_TRUE(Grid->CellEditing());
        // The taken text stands selected, so typing replaces it.
        EXPECT_TRUE(Grid->CurrentCell()->AllSelected());
        Grid->EndEdit(false);
        ++Row;
    }
}

TEST_F(ComboShow, ChoosingTheValueTheCellHoldsStartsNoEdit) {
    ListOf(4);
    Grid->SetCellValue(2, 2, Variant(AnsiString("Item2")));
    int Starts = 0;
    Grid->OnStartCellEdit = [&](TObject*, int, int, bool&) { ++Starts; };
    Open(2, 2);
    ClickListRow(2);
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(CurrentText(), "Item2");
    EXPECT_EQ(Starts, 0);
    EXPECT_FALSE(Grid->CellEditing());
}

TEST_F(ComboShow, ListOpensAtItsTopOrOnTheCellValue) {
    ListOf(10, 3);
    ListOf(10, 2)->SetAutoSearch(asTop);
    Grid->SetCellValue(3, 3, Variant(AnsiString("Item7")));
    Grid->SetCellValue(2, 3, Variant(AnsiString("Item7")));
    // Without a search the list opens at its first row.
    Open(3, 3);
    ASSERT_TRUE(Grid->ComboVisible());
    EXPECT_EQ(ListRow(), 1);
    EXPECT_EQ(DroppedList()->TopRow(), DroppedList()->GetDisplayRow(1));
    Grid->HideCombo();
    QApplication::processEvents();
    // With a search it opens on the row that holds the cell's value.
    Open(2, 3);
    ASSERT_TRUE(Grid->ComboVisible());
    EXPECT_EQ(ListRow(), 7);
    Grid->HideCombo();
    QApplication::processEvents();
    // Opened again for an empty cell, the list is back at its top.
    Open(2, 4);
    EXPECT_EQ(ListRow(), 1);
    EXPECT_EQ(DroppedList()->TopRow(), DroppedList()->GetDisplayRow(1));
}

TEST_F(ComboShow, ValueColumnOutsideTheListTakesNothing) {
    for (int ValueCol : {5, -1}) {
        SCOPED_TRACE(ValueCol);
        ListOf(3);
        Grid->GetCol(2)->GetCombo()->SetValueCol(ValueCol);
        Grid->SetCellValue(2, 2, Variant(AnsiString("keep")));
        GoTo(2, 1);
        Open(2, 2);
        ASSERT_TRUE(Grid->ComboVisible());
        ClickListRow(2);
        EXPECT_FALSE(Grid->ComboVisible());
        EXPECT_EQ(CurrentText(), "keep");
    }
}

TEST_F(ComboShow, WideListOpensAtTheColumnLeft) {
    Grid->GetCol(2)->SetWidth(80);
    TgxComboGrid* L = ListOf(3);
    L->GetCol(1)->SetWidth(200);
    Open(2, 2);
    ASSERT_TRUE(Grid->ComboVisible());
    const TRect Cell = Grid->CalcCellRect(Grid->GetDisplayCol(2), Grid->GetDisplayRow(2));
    const TPoint BottomLeft = Grid->ClientToScreen(Point(Cell.Left, Cell.Bottom));
    EXPECT_GT(ListForm()->Width(), 200);
    EXPECT_EQ(ListForm()->Left(), BottomLeft.X);
}

TEST_F(ComboShow, ListWidthCountsOnlyDropDownCols) {
    int Widths[2] = {};
    for (int I = 0; I < 2; ++I) {
        TgxComboGrid* L = ListOf(2);
        L->SetGridColCount(3);
        for (int C = 1; C <= 3; ++C) L->GetCol(C)->SetWidth(50);
        Grid->GetCol(2)->GetCombo()->SetDropDownCols(I + 2);
        Open(2, I + 1);
        ASSERT_TRUE(Grid->ComboVisible());
        Widths[I] = ListForm()->Width();
        Grid->HideCombo();
        QApplication::processEvents();
    }
    EXPECT_EQ(Widths[1] - Widths[0], 50);
}

TEST_F(ComboShow, ListExtentsCountVisibleColumnsAndRows) {
    struct Case {
        const char* Name;
        bool HideFirstCol, HideRows, RowBar;
        int WantExtraWidth, WantRows;
    };
    // Three 50-pixel columns (the first 30 wide), two of them dropped down;
    // ten rows, four of them dropped down.
    const Case Cases[] = {
        {"plain", false, false, false, 0, 4},
        {"first column hidden", true, false, false, 20, 4},
        {"all but two rows hidden", false, true, false, 0, 2},
        {"row bar", false, false, true, -1, 4},
    };
    Grid->SetGridColCount(4);
    int BaseWidth = 0, BaseHeight = 0, RowHeight = 0, Col = 1;
    for (const Case& K : Cases) {
        SCOPED_TRACE(K.Name);
        // Each case on a column of its own.
        TgxComboGrid* L = ListOf(10, Col);
        L->SetGridColCount(3);
        L->GetCol(1)->SetWidth(30);
        L->GetCol(2)->SetWidth(50);
        L->GetCol(3)->SetWidth(50);
        L->SetRowBarOn(K.RowBar);
        if (K.HideFirstCol) L->GetCol(1)->SetVisible(false);
        if (K.HideRows)
            for (int R = 3; R <= 10; ++R) L->SetRowVisible(R, false);
        Grid->GetCol(Col)->GetCombo()->SetDropDownCols(2);
        Open(Col++, 1);
        ASSERT_TRUE(Grid->ComboVisible());
        TgxComboGrid* Shown = DroppedList();
        EXPECT_EQ(Shown->IsRowVisible(5), !K.HideRows);
        EXPECT_EQ(Shown->GetCol(1)->Visible(), !K.HideFirstCol);
        EXPECT_EQ(Shown->GetRowBarOn(), K.RowBar);
        RowHeight = Shown->DefaultRowHeight();
        const int VBar = Shown->GetVertScrollBarVisible() ? Shown->GetVertScrollBarWidth() : 0;
        const int W = ListForm()->Width() - VBar;
        const int H = ListForm()->Height();
        if (!BaseWidth) {
            BaseWidth = W;
            BaseHeight = H;
        }
        const int Extra = K.WantExtraWidth >= 0 ? K.WantExtraWidth : Shown->ColWidths(0);
        EXPECT_EQ(W - BaseWidth, Extra);
        EXPECT_EQ(H - BaseHeight, (K.WantRows - 4) * RowHeight);
        Grid->HideCombo();
        QApplication::processEvents();
    }
}

TEST_F(ComboShow, ComboButtonTogglesTheList) {
    ListOf(3);
    GoTo(2, 2);
    QApplication::processEvents();
    const TRect R = Grid->CellRect(Grid->GetDisplayCol(2), Grid->GetDisplayRow(2));
    const int F = Grid->WindowFrameWidth();
    const QPoint Button(R.Right - 4 + F, (R.Top + R.Bottom) / 2 + F);
    auto ClickButton = [&] {
        SendMouse(Grid->Widget(), QEvent::MouseButtonPress, Button, Qt::LeftButton);
        SendMouse(Grid->Widget(), QEvent::MouseButtonRelease, Button, Qt::LeftButton);
        QApplication::processEvents();
    };
    ClickButton();
    EXPECT_TRUE(Grid->ComboVisible());
    EXPECT_EQ(Grid->ComboDataRow(), 2);
    ClickButton();
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(Events, (std::vector<std::string>{"init 2,2", "down 2,2", "up 2,2"}));
}

TEST_F(ComboShow, DefinitionChangedAfterUseReachesTheNextOpening) {
    TgxComboGrid* L = ListOf(3);
    L->SetGridColCount(2);
    for (int R = 1; R <= 3; ++R)
        L->SetCellValue(2, R, Variant(AnsiString(("Second" + std::to_string(R)).c_str())));
    Open(2, 1);
    ClickListRow(2);
    EXPECT_EQ(CurrentText(), "Item2");
    Grid->EndEdit(false);
    Grid->GetCol(2)->GetCombo()->SetValueCol(2);
    Open(2, 3);
    ASSERT_TRUE(Grid->ComboVisible());
    ClickListRow(2);
    EXPECT_EQ(CurrentText(), "Second2");
}

TEST_F(ComboShow, BackOnACellItsListIsSetUpAfresh) {
    TgxComboGrid* L = ListOf(3);
    L->SetGridColCount(2);
    for (int R = 1; R <= 3; ++R)
        L->SetCellValue(2, R, Variant(AnsiString(("Second" + std::to_string(R)).c_str())));
    Open(2, 1);
    ClickListRow(2);
    EXPECT_EQ(CurrentText(), "Item2");
    Grid->EndEdit(false);
    Grid->GetCol(2)->GetCombo()->SetValueCol(2);
    GoTo(2, 3);
    Open(2, 1);
    ASSERT_TRUE(Grid->ComboVisible());
    ClickListRow(2);
    EXPECT_EQ(CurrentText(), "Second2");
}

TEST_F(ComboShow, ClickInAnEmptyListJustCloses) {
    Grid->GetCol(1)->SetButtonType(btCombo);
    Grid->SetCellValue(1, 2, Variant(AnsiString("keep")));
    Open(1, 2);
    ASSERT_TRUE(Grid->ComboVisible());
    Events.clear();
    Grid->ComboClickCell(DroppedList(), 1, 1);
    QApplication::processEvents();
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(Events, std::vector<std::string>{"up 1,2"});
    EXPECT_EQ(CurrentText(), "keep");
    EXPECT_FALSE(Grid->CellEditing());
}

TEST_F(ComboShow, ListCellsKeepTheirOwnLooks) {
    TgxComboGrid* L = ListOf(3);
    L->SetCellColor(1, 2, clRed);
    L->SetRowColor(3, clBlue);
    Open(2, 1);
    ASSERT_TRUE(Grid->ComboVisible());
    EXPECT_EQ(DroppedList()->GiveCellColor(1, 2, false), clRed);
    EXPECT_EQ(DroppedList()->GiveCellColor(1, 3, false), clBlue);
}

TEST_F(ComboShow, ListHeadingFollowsTheDefinition) {
    int Heights[2] = {};
    for (int I = 0; I < 2; ++I) {
        TgxComboGrid* L = ListOf(3, I + 1);
        L->SetHeadingHeight(20);
        L->SetHeadingOn(I == 0);
        Open(I + 1, 1);
        ASSERT_TRUE(Grid->ComboVisible());
        EXPECT_EQ(DroppedList()->GetHeadingOn(), I == 0);
        Heights[I] = ListForm()->Height();
        Grid->HideCombo();
        QApplication::processEvents();
    }
    EXPECT_EQ(Heights[0] - Heights[1], Grid->GetCol(1)->GetCombo()->GetGrid()->GetHeadingHeight());
}

TEST_F(ComboShow, RefusedValueStillClosesTheList) {
    ListOf(3);
    Grid->GetCol(2)->SetControlType(ctCheck);
    Grid->OnComboGetValue = [&](TObject*, TgxComboGrid*, int, int, int, Variant& V) {
        V = Variant(2.5);
    };
    Open(2, 2);
    ASSERT_TRUE(Grid->ComboVisible());
    TgxComboGrid* L = DroppedList();
    L->SetCurrentCell(1, L->GetDisplayRow(2));
    Events.clear();
    EXPECT_THROW(Grid->ComboClickCell(L, 1, 2), EInvalidGridOperation);
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(Events, std::vector<std::string>{"up 2,2"});
    EXPECT_EQ(Grid->ComboDataCol(), -1);
}

TEST_F(ComboShow, GetValueHandlerDecidesAndTextCellsTakeText) {
    ListOf(4);
    int SeenListRow = -1, SeenCol = -1, SeenRow = -1;
    Grid->OnComboGetValue = [&](TObject*, TgxComboGrid*, int C, int R, int ListRow, Variant& V) {
        SeenCol = C;
        SeenRow = R;
        SeenListRow = ListRow;
        V = Variant(42);
    };
    Open(2, 3);
    ClickListRow(2);
    EXPECT_EQ(SeenCol, 2);
    EXPECT_EQ(SeenRow, 3);
    EXPECT_EQ(SeenListRow, 2);
    const Variant V = Grid->CurrentCell()->GetValue();
    EXPECT_EQ(V.Type(), varString);
    EXPECT_EQ(CurrentText(), "42");
}

TEST_F(ComboShow, ListWithoutDefinitionGetsTheDefaults) {
    Grid->GetCol(1)->SetButtonType(btCombo);
    Grid->GetCol(1)->SetWidth(77);
    Open(1, 1);
    TgxComboGrid* L = DroppedList();
    EXPECT_EQ(L->GetGridRowCount(), 0);
    EXPECT_EQ(L->GetGridColCount(), 1);
    EXPECT_EQ(L->DropDownRows(), 4);
    EXPECT_EQ(L->DropDownCols(), 1);
    EXPECT_EQ(L->ValueCol(), 1);
    EXPECT_EQ(L->ComboDisplayCol(), 1);
    EXPECT_EQ(L->CompareType(), ctCaseInsensitive);
    EXPECT_FALSE(L->StoreData());
    EXPECT_EQ(L->DefaultColWidth(), 87);
    EXPECT_GE(L->DefaultRowHeight(), Grid->DropDownRowHeight());
    // Initialised once for the cell at run time: opening it again raises no init.
    Grid->HideCombo();
    QApplication::processEvents();
    Events.clear();
    Grid->ShowCombo();
    QApplication::processEvents();
    EXPECT_EQ(Events, std::vector<std::string>{"down 1,1"});
}

} // namespace
