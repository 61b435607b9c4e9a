// A combo cell's list: dropped down from the keyboard, watched by the
// application-wide filter while open, closed by a press elsewhere, placed
// and sized on the screen, and carrying its chosen row into the cell.
#include "DropDownFixture.h"

#include "grid/view/DropDownForm.h"
#include "platform/rtl/Clock.h"

#include <vector>

using namespace grid;

namespace {

class ComboDropDown : public DropDownFixture {
protected:
    void SetUp() override {
        DropDownFixture::SetUp();
        List = GiveColumnList(1, {"Berlin", "Boston", "Bonn", "Denver", "New York"});
        // Both are handed the list grid that shows.
        Grid->OnComboDropDown = [&](TObject*, TgxComboGrid* Combo, int Col, int Row) {
            EXPECT_EQ(Combo, Grid->GetCombo()->GetGrid());
            Events.push_back("down " + std::to_string(Col) + "," + std::to_string(Row));
        };
        Grid->OnComboRollUp = [&](TObject*, TgxComboGrid* Combo, int Col, int Row) {
            EXPECT_EQ(Combo, Grid->GetCombo()->GetGrid());
            Events.push_back("up " + std::to_string(Col) + "," + std::to_string(Row));
        };
        GoTo(1, 2);
    }

    TgxComboGrid* List = nullptr;
    std::vector<std::string> Events;
};

} // namespace

TEST_F(ComboDropDown, AltDownOpensTheListAndAPressElsewhereClosesItAndLeavesTheFilters) {
    EXPECT_FALSE(Grid->ComboVisible());
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Grid->ComboVisible());
    EXPECT_TRUE(Grid->GetComboForm()->Visible());
    EXPECT_TRUE(GridHooksRegistered(Grid));
    EXPECT_TRUE(GridHooksInstalled());
    EXPECT_EQ(DroppedList()->GetGridRowCount(), 5);
    EXPECT_EQ(Grid->ComboDataCol(), 1);
    EXPECT_EQ(Grid->ComboDataRow(), 2);

    // The form hangs under the cell.
    const TRect Cell = Grid->CellRect(Grid->GetDisplayCol(1), Grid->GetDisplayRow(2));
    EXPECT_EQ(Grid->GetComboForm()->Top(), Grid->ClientToScreen(TPoint{0, Cell.Bottom}).Y);

    // A press on the list keeps it open (its release takes the row).
    SendMouse(DroppedList()->Widget(), QEvent::MouseButtonPress, QPoint(3, 3));
    EXPECT_TRUE(Grid->ComboVisible());
    SendMouse(DroppedList()->Widget(), QEvent::MouseButtonRelease, QPoint(3, 3));
    EXPECT_FALSE(Grid->ComboVisible());
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Grid->ComboVisible());
    Events.clear();

    ClickAt(Elsewhere->Widget(), QPoint(5, 5));
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_FALSE(Grid->GetComboForm()->Visible());
    EXPECT_FALSE(GridHooksRegistered(Grid));
    EXPECT_FALSE(GridHooksInstalled());
    EXPECT_EQ(Events, (std::vector<std::string>{"up 1,2"}));
}

TEST_F(ComboDropDown, ACellsButtonTogglesItsListAndAnotherCellsListClosesTheFirst) {
    GiveColumnList(2, {"x", "y"});
    EXPECT_TRUE(Grid->ComboButtonDown(1, 2));
    EXPECT_TRUE(Grid->ComboVisible());
    EXPECT_TRUE(Grid->ComboButtonDown(1, 2));
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_TRUE(Grid->ComboButtonDown(1, 2));
    GoTo(2, 3);
    EXPECT_TRUE(Grid->ComboButtonDown(2, 3));
    EXPECT_EQ(DroppedList()->GetGridRowCount(), 2);
    EXPECT_EQ(Events,
              (std::vector<std::string>{"down 1,2", "up 1,2", "down 1,2", "up 1,2", "down 2,3"}));
    // Closing with nothing open raises nothing.
    Grid->CheckDropDownOff(false);
    Grid->CheckDropDownOff(false);
    EXPECT_EQ(Events.size(), 6u);
    EXPECT_FALSE(GridHooksInstalled());
}

TEST_F(ComboDropDown, EnterTakesTheListsRowIntoTheCell) {
    Grid->SetStoreData(true);
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Grid->ComboVisible());
    Grid->SetComboRow(4);
    Key(Qt::Key_Return);
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(CurrentText(), "Denver");
    EXPECT_EQ(Events.back(), "up 1,2");
    // Leaving the cell ends the edit: the cell keeps the value.
    GoTo(2, 3);
    EXPECT_EQ(Grid->GetCellValue(1, 2).AsString(), "Denver");
}

TEST_F(ComboDropDown, TypingCompletesFromTheListAndEnterKeepsIt) {
    List->SetAutoFill(true);
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Grid->ComboVisible());
    Key(Qt::Key_N, Qt::NoModifier, "n");
    Key(Qt::Key_E, Qt::NoModifier, "e");
    EXPECT_EQ(CurrentText(), "New York");
    EXPECT_EQ(ListRow(), 5);
    EXPECT_EQ(Grid->CurrentCell()->SelStart(), 2);
    EXPECT_EQ(Grid->CurrentCell()->SelLength(), 6);
    Key(Qt::Key_Return);
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(CurrentText(), "New York");
}

TEST_F(ComboDropDown, ASelectOnlyListCyclesThroughAnInitialTypedAgain) {
    ManualClock Clock(0.0, 50000);
    ScopedClock Use(Clock);
    Grid->GetCol(1)->SetDropDownStyle(ddDropDownList);
    List->SetValueColSorted(true);
    List->SetAutoSearch(asTop);
    // Sorted as the list says: Berlin, Bonn, Boston, Denver, New York.
    List->SetCellValue(1, 2, Variant(AnsiString("Bonn")));
    List->SetCellValue(1, 3, Variant(AnsiString("Boston")));
    Key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(Grid->ComboVisible());
    struct Step {
        int QtKey;
        const char* Text;
        int Wait;
        const char* Cell;
    };
    const Step Steps[] = {
        {Qt::Key_B, "b", 0, "Berlin"},    {Qt::Key_B, "b", 100, "Bonn"},
        {Qt::Key_B, "b", 100, "Boston"},  {Qt::Key_D, "d", 100, "Boston"},
        {Qt::Key_D, "d", 2000, "Denver"}, {Qt::Key_N, "n", 2500, "New York"},
    };
    for (const Step& S : Steps) {
        Clock.Advance(S.Wait);
        // Typed into the cell's editor, which hands the key to the list.
        TypeKey(Editor()->Widget(), S.QtKey, S.Text);
        EXPECT_EQ(CurrentText(), S.Cell) << S.Text << " after " << S.Wait;
    }
    EXPECT_EQ(ListRow(), 5);
}

TEST_F(ComboDropDown, AClickOnARowOfTheListTakesThatRow) {
    Grid->ComboButtonDown(1, 2);
    TgxComboGrid* Shown = DroppedList();
    const TRect Row3 = Shown->CellRect(Shown->GetDisplayCol(1), Shown->GetDisplayRow(3));
    ClickAt(Shown->Widget(), QPoint(Row3.Left + 4, Row3.Top + 3));
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_EQ(CurrentText(), "Bonn");
    EXPECT_FALSE(GridHooksInstalled());
}

TEST_F(ComboDropDown, TheApplicationMayGiveTheValueOfTheChosenRow) {
    Grid->OnComboGetValue = [&](TObject*, TgxComboGrid* Combo, int Col, int Row, int ListRow,
                                Variant& Value) {
        EXPECT_EQ(Combo, DroppedList());
        EXPECT_EQ(Col, 1);
        EXPECT_EQ(Row, 2);
        Value = Variant("#" + std::to_string(ListRow));
    };
    Grid->ComboButtonDown(1, 2);
    Grid->SetComboRow(5);
    Grid->ComboClickCell(DroppedList(), 1, 5);
    EXPECT_EQ(CurrentText(), "#5");
}

TEST_F(ComboDropDown, TheListShowsDropDownRowsAtMostAndOneRowAtLeast) {
    const int RowHeight = [&] {
        Grid->ComboButtonDown(1, 2);
        return DroppedList()->DefaultRowHeight();
    }();
    Grid->CheckDropDownOff(false);
    // The list's own frame: its sunken edge is wider than the system border.
    const int Border = 2 * DroppedList()->WindowFrameWidth();
    struct Case {
        int Rows;
        int Shown;
        bool Bar;
    };
    for (const Case C :
         {Case{10, 4, true}, Case{4, 4, false}, Case{2, 2, false}, Case{0, 1, false}}) {
        List->SetGridRowCount(C.Rows);
        Grid->ResetLastUsedCombo();
        Grid->ResetComboInit(false);
        Grid->ComboButtonDown(1, 2);
        EXPECT_EQ(DroppedList()->Height(), Border + C.Shown * RowHeight) << C.Rows;
        EXPECT_EQ(DroppedList()->Width(),
                  Grid->ComboInitWidth(1) + (C.Bar ? DroppedList()->GetVertScrollBarWidth() : 0))
            << C.Rows;
        Grid->CheckDropDownOff(false);
    }
}

TEST_F(ComboDropDown, AListNarrowerThanItsColumnEndsAtTheColumnsRightEdge) {
    Grid->GetCol(1)->SetWidth(200);
    List->SetDefaultColWidth(60);
    Grid->ComboButtonDown(1, 2);
    const TRect Cell = Grid->CellRect(Grid->GetDisplayCol(1), Grid->GetDisplayRow(2));
    const TgxDropDownForm* Form = Grid->GetComboForm();
    ASSERT_LT(Form->Width(), Cell.Right - Cell.Left);
    EXPECT_EQ(Form->Left() + Form->Width(), Grid->ClientToScreen(TPoint{Cell.Right, 0}).X);
}

TEST_F(ComboDropDown, TheFormStaysInTheWorkArea) {
    // Row 3 is shown first and is taller than the others, so a flip that
    // took the data row's height would land elsewhere.
    Grid->SetRowHeight(3, 40);
    Grid->SetDisplayRownr(3, 1);
    const int Display = Grid->GetDisplayRow(3);
    ASSERT_EQ(Display, 1);
    const int Line = Grid->VertLineWidth();
    struct Case {
        TPoint Pos;
        TPoint Size;
        TPoint Expected;
    };
    const Case Cases[] = {
        {{100, 100}, {120, 80}, {100, 100}},                  // fits
        {{1000, 100}, {120, 80}, {1024 - 120, 100}},          // past the right: moved left
        {{10, 100}, {1100, 80}, {0, 100}},                    // wider than the area: at its left
        {{100, 700}, {120, 80}, {100, 700 + Line - 40 - 80}}, // past the bottom: above the cell
        {{100, 750}, {120, 760}, {100, 0}},                   // no room above: at the top
        {{1000, 700}, {120, 80}, {1024 - 120, 700 + Line - 40 - 80}},
    };
    for (const Case& C : Cases) {
        TPoint Pos = C.Pos;
        Grid->PositionDropDownForm(Grid->GetDisplayCol(1), Display, C.Size, Pos);
        EXPECT_EQ(Pos.X, C.Expected.X) << C.Pos.X << "," << C.Pos.Y;
        EXPECT_EQ(Pos.Y, C.Expected.Y) << C.Pos.X << "," << C.Pos.Y;
    }
    // A pop-up is centred, rounding toward zero.
    TPoint Pos{5, 5};
    Grid->PositionPopupForm(1, 1, TPoint{201, 101}, Pos);
    EXPECT_EQ(Pos.X, (1024 - 201) / 2);
    EXPECT_EQ(Pos.Y, (768 - 101) / 2);
}

TEST_F(ComboDropDown, APressIntoOneGridsListClosesOnlyTheOtherGridsList) {
    auto* Second = new TgxGrid(Form);
    Second->SetParent(Form);
    Second->SetBounds(0, 310, 420, 100);
    Second->GetCol(1)->SetButtonType(btCombo);
    Grid->ComboButtonDown(1, 2);
    Second->SetCurrentCell(Second->GetDisplayCol(1), Second->GetDisplayRow(1));
    Second->ComboButtonDown(1, 1);
    ASSERT_TRUE(Grid->ComboVisible());
    ASSERT_TRUE(Second->ComboVisible());
    SendMouse(DroppedList()->Widget(), QEvent::MouseButtonPress, QPoint(3, 3));
    EXPECT_TRUE(Grid->ComboVisible());
    EXPECT_FALSE(Second->ComboVisible());
    EXPECT_TRUE(GridHooksRegistered(Grid));
    EXPECT_FALSE(GridHooksRegistered(Second));
    EXPECT_TRUE(GridHooksInstalled());
    SendMouse(DroppedList()->Widget(), QEvent::MouseButtonRelease, QPoint(3, 3));
    EXPECT_FALSE(GridHooksInstalled());
    Second->HideEditor();
}

TEST_F(ComboDropDown, AnotherWindowTakingTheActivationClosesTheList) {
    Grid->ComboButtonDown(1, 2);
    ASSERT_TRUE(Grid->ComboVisible());
    TForm Other(nullptr);
    Other.SetBounds(700, 100, 200, 100);
    ShowActive(Other);
    QApplication::processEvents();
    EXPECT_FALSE(Grid->ComboVisible());
    EXPECT_FALSE(GridHooksInstalled());
    EXPECT_EQ(Events.back(), "up 1,2");
}

TEST_F(ComboDropDown, AGridGoingAwayWithItsListOpenLeavesTheFilters) {
    Grid->ComboButtonDown(1, 2);
    ASSERT_TRUE(GridHooksInstalled());
    delete Grid;
    Grid = nullptr;
    EXPECT_FALSE(GridHooksInstalled());
    ClickAt(Elsewhere->Widget(), QPoint(5, 5));
}

// A list with a frozen column is as wide as its first DropDownCols columns,
// the frozen one included.
TEST_F(ComboDropDown, AListWithAFrozenColumnIsAsWideAsItsFirstColumns) {
    List->SetGridColCount(3);
    const int Widths[] = {30, 40, 50};
    for (int C = 1; C <= 3; ++C)
        List->GetCol(C)->SetWidth(Widths[C - 1]);
    List->SetFixedColCount(1);
    List->SetDropDownCols(2);
    List->SetDropDownRows(8);
    Grid->ComboButtonDown(1, 2);
    ASSERT_TRUE(Grid->ComboVisible());
    const int Border = 2 * DroppedList()->WindowFrameWidth();
    const int Bar = DroppedList()->GetRowBarOn() ? DroppedList()->GetRowBarWidth() : 0;
    EXPECT_EQ(Grid->ComboInitWidth(2), 30 + 40 + Border + Bar);
}

// Taking an empty list cell gives the cell the empty value of its kind.
TEST_F(ComboDropDown, AnEmptyListCellGivesTheEmptyValueOfTheCellsKind) {
    List->SetCellValue(1, 3, Variant());
    struct Case {
        TgxControlType Type;
        Variant Expected;
    };
    for (const Case& C : {Case{ctText, Variant(AnsiString())}, Case{ctCheck, Variant(2)},
                          Case{ctPicture, Variant(0)}}) {
        Grid->GetCol(1)->SetControlType(C.Type);
        GoTo(1, 2);
        Grid->ComboButtonDown(1, 2);
        Grid->SetComboRow(3);
        Variant Value;
        Grid->GetComboValue(1, Value);
        EXPECT_TRUE(VariantEqual(Value, C.Expected)) << static_cast<int>(C.Type);
        Grid->CheckDropDownOff(false);
    }
}

TEST_F(ComboDropDown, AScrollMessageClosesAnOpenList) {
    for (const unsigned Message : {WM_VSCROLL, WM_HSCROLL}) {
        for (const int Code : {SB_LINEDOWN, SB_LINEUP}) {
            SCOPED_TRACE(std::to_string(Message) + " code " + std::to_string(Code));
            GoTo(1, 2);
            Key(Qt::Key_Down, Qt::AltModifier);
            ASSERT_TRUE(Grid->ComboVisible());
            Events.clear();
            // Also on a line up at the top, where the grid itself does not
            // move: the list hangs under a cell that may have moved.
            Grid->Perform(Message, static_cast<WPARAM>(Code), 0);
            QApplication::processEvents();
            EXPECT_FALSE(Grid->ComboVisible());
            EXPECT_FALSE(Grid->GetComboForm()->Visible());
            EXPECT_FALSE(GridHooksRegistered(Grid));
            EXPECT_EQ(Events, (std::vector<std::string>{"up 1,2"}));
            Grid->Perform(Message, static_cast<WPARAM>(SB_ENDSCROLL), 0);
            Grid->Perform(WM_VSCROLL, static_cast<WPARAM>(SB_TOP), 0);
            Grid->Perform(WM_HSCROLL, static_cast<WPARAM>(SB_LEFT), 0);
        }
    }
}
