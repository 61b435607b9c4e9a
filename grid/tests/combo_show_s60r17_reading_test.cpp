// Dropping a combo cell's list down: its size and place on the screen, the
// events around it and a click in the list carrying a value into the cell.
#include "DropDownFixture.h"

#include "grid/view/DropDownForm.h"

#include <stdexcept>
#include <string>
#include <vector>

using namespace grid;

namespace {

class ComboShowReading : public DropDownFixture {
protected:
    // Every combo event as "init 1,2", "down 1,2", "up 1,2".
    void Record() {
        Grid->OnComboInit = [this](TObject*, TgxComboGrid*, int C, int R) { Log("init", C, R); };
        Grid->OnComboDropDown = [this](TObject*, TgxComboGrid*, int C, int R) {
            Log("down", C, R);
        };
        Grid->OnComboRollUp = [this](TObject*, TgxComboGrid*, int C, int R) { Log("up", C, R); };
    }
    void Log(const char* What, int C, int R) {
        Events.push_back(std::string(What) + " " + std::to_string(C) + "," + std::to_string(R));
    }
    // The list's row as the mouse finds it on the list's window.
    void ClickListRow(int DataRow) {
        TgxComboGrid* List = DroppedList();
        const TRect R = List->CellRect(1, List->GetDisplayRow(DataRow));
        ClickAt(List->Widget(), QPoint(R.Left + 4, (R.Top + R.Bottom) / 2));
        QApplication::processEvents();
    }
    std::vector<std::string> Events;
};

std::vector<const char*> ComboItems(int Count) {
    static const char* Names[] = {"ash", "beech", "cedar", "elm",  "fir",
                                  "hazel", "larch", "oak", "pine", "yew"};
    return {Names, Names + Count};
}

} // namespace

// The list is DropDownRows rows high at most and one row at least; the
// heading and the border come on top, whatever the count of rows.
TEST_F(ComboShowReading, ListHeightFollowsRowsUpToDropDownRows) {
    struct Case {
        int Items;
        int Rows;
    };
    for (const Case& C : {Case{10, 4}, Case{2, 2}, Case{0, 1}}) {
        SCOPED_TRACE(C.Items);
        TgxComboGrid* Own = GiveColumnList(1, {});
        Own->SetGridRowCount(C.Items);
        const auto Names = ComboItems(C.Items);
        for (int R = 1; R <= C.Items; ++R)
            Own->SetCellValue(1, R, Variant(AnsiString(Names[R - 1])));
        GoTo(1, 1);
        Grid->ShowCombo();
        QApplication::processEvents();
        ASSERT_TRUE(Grid->ComboVisible());
        TgxComboGrid* List = DroppedList();
        const int Heading = List->GetHeadingOn() ? List->GetHeadingHeight() : 0;
        const int Border = List->Height() - List->ClientHeight();
        EXPECT_EQ(List->Height(), Border + Heading + C.Rows * List->DefaultRowHeight());
        // The form wraps the list.
        EXPECT_EQ(Grid->GetComboForm()->Height(), List->Height());
        Grid->HideCombo();
    }
}

// The list's width is its visible columns' up to DropDownCols, plus the
// row bar when it shows one.
TEST_F(ComboShowReading, ListWidthSumsDropDownColsColumns) {
    TgxComboGrid* Own = GiveColumnList(1, {"a", "b"});
    Own->SetGridColCount(3);
    Own->GetCol(1)->SetWidth(40);
    Own->GetCol(2)->SetWidth(55);
    Own->GetCol(3)->SetWidth(70);
    Grid->GetCol(1)->GetCombo()->SetDropDownCols(2);
    GoTo(1, 1);
    Grid->ShowCombo();
    QApplication::processEvents();
    ASSERT_TRUE(Grid->ComboVisible());
    TgxComboGrid* List = DroppedList();
    const int RowBar = List->GetRowBarOn() ? List->GetRowBarWidth() : 0;
    const int Border = List->Width() - List->ClientWidth();
    EXPECT_EQ(List->Width(), Border + RowBar + 40 + 55);
}

// A list narrower than its column ends where the column ends; under the
// cell either way.
TEST_F(ComboShowReading, NarrowListIsRightAlignedWithItsColumn) {
    GiveColumnList(1, {"a", "b", "c"});
    Grid->GetCol(1)->GetCombo()->GetGrid()->GetCol(1)->SetWidth(50);
    Grid->GetCol(1)->SetWidth(200);
    GoTo(1, 1);
    Grid->ShowCombo();
    QApplication::processEvents();
    ASSERT_TRUE(Grid->ComboVisible());
    const TRect Cell = Grid->CellRect(Grid->GetDisplayCol(1), Grid->GetDisplayRow(1));
    const TPoint BottomRight = Grid->ClientToScreen(TPoint{Cell.Right, Cell.Bottom});
    TgxDropDownForm* Form = Grid->GetComboForm();
    EXPECT_LT(Form->Width(), 200);
    EXPECT_EQ(Form->Left() + Form->Width(), BottomRight.X);
    EXPECT_EQ(Form->Top(), BottomRight.Y);
}

// Opening the open list again does nothing; opening another cell's list
// rolls the first up before the second drops down.
TEST_F(ComboShowReading, OpeningAgainOrElsewhere) {
    GiveColumnList(1, {"a", "b"});
    GiveColumnList(2, {"c", "d"});
    Record();
    GoTo(1, 1);
    Grid->ShowCombo();
    Grid->ShowCombo();
    EXPECT_EQ(Events, (std::vector<std::string>{"init 1,1", "down 1,1"}));
    EXPECT_EQ(Grid->ComboDataCol(), 1);
    EXPECT_EQ(Grid->ComboDataRow(), 1);
    Events.clear();
    GoTo(2, 3);
    Grid->ShowCombo();
    ASSERT_FALSE(Events.empty());
    EXPECT_EQ(Events.front(), "up 1,1");
    EXPECT_EQ(Events.back(), "down 2,3");
    EXPECT_EQ(Grid->ComboDataCol(), 2);
    EXPECT_EQ(Grid->ComboDataRow(), 3);
    Events.clear();
    Grid->HideCombo();
    EXPECT_EQ(Events, (std::vector<std::string>{"up 2,3"}));
    EXPECT_EQ(Grid->ComboDataCol(), -1);
    EXPECT_EQ(Grid->ComboDataRow(), -1);
}

// A cell with a combo button but no list of its own drops an empty
// one-column list four rows deep, its column as wide as the cell's plus 10.
TEST_F(ComboShowReading, CellWithoutListGetsTheDefaultList) {
    Grid->GetCol(2)->SetButtonType(btCombo);
    Grid->GetCol(2)->SetWidth(90);
    GoTo(2, 1);
    Grid->ShowCombo();
    QApplication::processEvents();
    ASSERT_TRUE(Grid->ComboVisible());
    TgxCombo* Combo = Grid->GetCombo();
    TgxComboGrid* List = Combo->GetGrid();
    EXPECT_EQ(List->GetGridRowCount(), 0);
    EXPECT_EQ(List->GetGridColCount(), 1);
    EXPECT_EQ(Combo->GetDropDownRows(), 4);
    EXPECT_EQ(Combo->GetDropDownCols(), 1);
    EXPECT_EQ(Combo->GetValueCol(), 1);
    EXPECT_EQ(Combo->GetComboDisplayCol(), 1);
    EXPECT_EQ(Combo->GetCompareType(), ctCaseInsensitive);
    EXPECT_FALSE(List->StoreData());
    EXPECT_EQ(List->DefaultColWidth(), 100);
    EXPECT_GE(List->DefaultRowHeight(), Grid->DropDownRowHeight());
}

// A click on a list row puts the value column's text into the cell, or
// what the application's handler answers, as text in a text cell.
TEST_F(ComboShowReading, ClickOnARowTakesItsValue) {
    struct Case {
        const char* Name;
        int ValueCol;
        bool Handler;
        const char* Expected;
    };
    for (const Case& C : {Case{"first column", 1, false, "beech"},
                          Case{"second column", 2, false, "B"},
                          Case{"handler", 1, true, "42"}}) {
        SCOPED_TRACE(C.Name);
        TearDown();
        SetUp();
        TgxComboGrid* Own = GiveColumnList(1, {"ash", "beech", "cedar"});
        Own->SetGridColCount(2);
        for (int R = 1; R <= 3; ++R)
            Own->SetCellValue(2, R, Variant(AnsiString(std::string(1, char('A' + R - 1)))));
        Grid->GetCol(1)->GetCombo()->SetValueCol(C.ValueCol);
        int AskedRow = -1;
        Grid->OnComboGetValue = nullptr;
        if (C.Handler)
            Grid->OnComboGetValue = [&](TObject*, TgxComboGrid*, int, int, int ListRow,
                                        Variant& Value) {
                AskedRow = ListRow;
                Value = Variant(42);
            };
        Record();
        Events.clear();
        Grid->SetCellValue(1, 2, Variant(AnsiString("old")));
        GoTo(1, 2);
        Grid->ShowCombo();
        QApplication::processEvents();
        ASSERT_TRUE(Grid->ComboVisible());
        ClickListRow(2);
        EXPECT_FALSE(Grid->ComboVisible());
        EXPECT_EQ(Events.back(), "up 1,2");
        EXPECT_EQ(CurrentText(), AnsiString(C.Expected));
        EXPECT_EQ(Grid->CurrentCell()->GetValue().Type(), varString);
        if (C.Handler) EXPECT_EQ(AskedRow, 2);
        Grid->HideEditor();
    }
}

// A handler that raises still leaves the list rolled up.
TEST_F(ComboShowReading, RaisingHandlerStillRollsTheListUp) {
    GiveColumnList(1, {"ash", "beech"});
    Grid->OnComboGetValue = [](TObject*, TgxComboGrid*, int, int, int, Variant&) {
        throw std::runtime_error("no value");
    };
    Record();
    GoTo(1, 1);
    Grid->ShowCombo();
    QApplication::processEvents();
    ASSERT_TRUE(Grid->ComboVisible());
    TgxComboGrid* List = DroppedList();
    List->SetCurrentCell(1, List->GetDisplayRow(2));
    Events.clear();
    EXPECT_THROW(Grid->ComboClickCell(List, 1, 2), std::exception);
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(Events, (std::vector<std::string>{"up 1,1"}));
}
