// Lists of their own on columns, rows and cells, which one a cell drops
// down, and how a list is set up from it.
#include "DropDownFixture.h"

#include "grid/foundation/GridCommonVariant.h"
#include "grid/model/CellFacade.h"
#include "grid/model/Rows.h"

#include <vector>

using namespace grid;

namespace {

using ComboCells = DropDownFixture;

} // namespace

TEST_F(ComboCells, AColumnTakesAListOfItsOwnAndDropsIt) {
    TgxCol* Column = Grid->GetCol(2);
    Column->SetDropDownStyle(ddDropDownList);
    Column->SetParentCombo(false);
    TgxCombo* Own = Column->GetCombo();
    ASSERT_NE(Own, nullptr);
    EXPECT_FALSE(Column->ParentCombo());
    EXPECT_EQ(Own->GetDropDownStyle(), ddDropDownList);
    EXPECT_EQ(Own->GetGrid()->DefaultColWidth(), Column->Width() + 10);
    EXPECT_TRUE(Own->GetGrid()->IsComboGrid());
    EXPECT_EQ(Own->GetGrid()->GetParentGrid(), Grid);
    Column->SetDropDownStyle(ddDropDown);
    EXPECT_EQ(Own->GetDropDownStyle(), ddDropDown);
    // A list's errors name the grid it serves.
    try {
        Own->GetGrid()->GetCol(9);
        ADD_FAILURE();
    } catch (const EInvalidGridOperation& E) {
        EXPECT_EQ(E.Message.rfind("Grid1.Combo: ", 0), 0u) << E.Message;
    }
    Column->SetParentCombo(true);
    EXPECT_EQ(Column->GetCombo(), nullptr);
}

TEST_F(ComboCells, ACopiedComboBringsItsRowsAndSettings) {
    TgxComboGrid* Source = GiveColumnList(1, {"one", "two", "three"});
    Source->SetDropDownRows(7);
    Source->SetAutoSearch(asCenter);
    TgxCol* Target = Grid->GetCol(3);
    Target->SetCombo(Grid->GetCol(1)->GetCombo());
    ASSERT_NE(Target->GetCombo(), nullptr);
    TgxComboGrid* Copy = Target->GetCombo()->GetGrid();
    EXPECT_NE(Copy, Source);
    EXPECT_EQ(Copy->DropDownRows(), 7);
    EXPECT_EQ(Copy->AutoSearch(), asCenter);
    ASSERT_EQ(Copy->GetGridRowCount(), 3);
    EXPECT_EQ(Copy->GetCellValue(1, 3).AsString(), "three");
    Target->SetCombo(nullptr);
    EXPECT_TRUE(Target->ParentCombo());
}

TEST_F(ComboCells, ACellDropsItsOwnListElseItsColumnsOrRowsByOverlap) {
    Grid->GetCol(1)->SetButtonType(btCombo);
    Grid->GetCol(1)->SetParentCombo(false);
    TgxCombo* ColCombo = Grid->GetCol(1)->GetCombo();
    Grid->SetRowButtonType(2, btCombo);
    Grid->SetRowParentCombo(2, false);
    TgxCombo* RowCombo = Grid->GetRow(2)->GetCombo();
    ASSERT_NE(RowCombo, nullptr);
    Grid->SetCellButtonType(3, 3, btCombo);
    Grid->SetCellParentCombo(3, 3, false);
    auto* CellCombo =
        dynamic_cast<TgxCombo*>(VariantToObject(Grid->GetCellProperty(3, 3, prCombo)));
    ASSERT_NE(CellCombo, nullptr);
    // A column's list starts as wide as the cell's column.
    EXPECT_EQ(CellCombo->GetGrid()->DefaultColWidth(), Grid->GetCol(3)->Width() + 10);

    struct Case {
        TgxDrawOverlap Overlap;
        int Col;
        int Row;
        TgxCombo* Expected;
    };
    const Case Cases[] = {
        {doDrawColOnTop, 1, 2, ColCombo},  {doDrawRowOnTop, 1, 2, RowCombo},
        {doDrawColOnTop, 2, 2, RowCombo},  {doDrawColOnTop, 1, 1, ColCombo},
        {doDrawColOnTop, 3, 3, CellCombo}, {doDrawRowOnTop, 3, 3, CellCombo},
        {doDrawColOnTop, 4, 4, nullptr},   {doDrawColOnTop, 0, 1, nullptr},
        {doDrawColOnTop, 1, 9, nullptr},
    };
    for (const Case& C : Cases) {
        Grid->SetDrawOverlap(C.Overlap);
        EXPECT_EQ(Grid->GiveCellCombo(C.Col, C.Row), C.Expected) << C.Col << "," << C.Row;
    }
    // The checked form raises for a cell outside the grid.
    EXPECT_EQ(Grid->ActiveCombo(3, Variant(3)), CellCombo);
    EXPECT_THROW(Grid->ActiveCombo(5, Variant(1)), EInvalidGridOperation);

    // Dropping the cell's list leaves no element behind.
    Grid->SetCellParentCombo(3, 3, true);
    Grid->SetCellButtonType(3, 3, btDefault);
    EXPECT_EQ(Grid->GetCellElement(3, 3, false), nullptr);
}

TEST_F(ComboCells, ACellFacadeTakesAListOfItsOwnAndCopiesAnothersList) {
    TgxCell Cell(Grid, 3, 3);
    EXPECT_EQ(Cell.GetCombo(), nullptr);
    Cell.SetButtonType(btCombo);
    Cell.AssignCombo();
    ASSERT_NE(Cell.GetCombo(), nullptr);
    EXPECT_FALSE(Cell.ParentCombo());
    TgxComboGrid* List = Cell.GetCombo()->GetGrid();
    List->SetStoreData(true);
    List->SetGridRowCount(2);
    List->SetCellValue(1, 1, Variant("x"));
    List->SetCellValue(1, 2, Variant("y"));

    TgxCell Other(Grid, 4, 2);
    Other.Assign(&Cell);
    ASSERT_NE(Other.GetCombo(), nullptr);
    EXPECT_NE(Other.GetCombo(), Cell.GetCombo());
    EXPECT_EQ(Grid->GiveCellCombo(4, 2), Other.GetCombo());
    TgxComboGrid* Copy = Other.GetCombo()->GetGrid();
    ASSERT_EQ(Copy->GetGridRowCount(), 2);
    EXPECT_EQ(VarToStr(Copy->GetCellValue(1, 2)), "y");
    // A cell without a list of its own drops the other's.
    TgxCell Plain(Grid, 1, 1);
    Other.Assign(&Plain);
    EXPECT_EQ(Other.GetCombo(), nullptr);
    EXPECT_TRUE(Other.ParentCombo());
}

TEST_F(ComboCells, ARowsComboButtonMakesTheGridsList) {
    TgxGrid Fresh(nullptr);
    EXPECT_FALSE(Fresh.ComboCreated());
    Fresh.SetRowButtonType(1, btCombo);
    EXPECT_TRUE(Fresh.ComboCreated());
}

// A column that goes may have been the one the list was set up for: the
// next drop-down sets it up afresh.
TEST_F(ComboCells, ADeletedColumnSetsTheListUpAfresh) {
    Grid->GetCol(3)->SetButtonType(btCombo);
    Grid->GetCol(4)->SetButtonType(btCombo);
    std::vector<int> Inits;
    Grid->OnComboInit = [&](TObject*, TgxComboGrid*, int Col, int) { Inits.push_back(Col); };
    Grid->ComboInit(3, 1);
    Grid->ComboInit(3, 1);
    EXPECT_EQ(Inits, (std::vector<int>{3}));
    Grid->DeleteCols(2, 2);
    Grid->ComboInit(3, 1);
    EXPECT_EQ(Inits, (std::vector<int>{3, 3}));
}

TEST_F(ComboCells, ACellWithoutAListOfItsOwnGetsTheDefaultList) {
    Grid->GetCol(4)->SetButtonType(btCombo);
    int Inits = 0;
    Grid->OnComboInit = [&](TObject*, TgxComboGrid* Combo, int Col, int Row) {
        ++Inits;
        EXPECT_EQ(Col, 4);
        EXPECT_EQ(Row, 1);
        TgxComboGrid* List = Grid->GetCombo()->GetGrid();
        // The handler is handed the list it fills.
        EXPECT_EQ(Combo, List);
        List->SetStoreData(true);
        List->SetGridRowCount(2);
        List->SetCellValue(1, 1, Variant(AnsiString("filled")));
    };
    Grid->ComboInit(4, 1);
    TgxComboGrid* List = Grid->GetCombo()->GetGrid();
    EXPECT_EQ(Inits, 1);
    EXPECT_EQ(List->DropDownRows(), 4);
    EXPECT_EQ(List->DefaultColWidth(), Grid->GetCol(4)->Width() + 10);
    EXPECT_EQ(List->GetCellValue(1, 1).AsString(), "filled");
    // Once per cell: the second asks nothing.
    Grid->ComboInit(4, 1);
    EXPECT_EQ(Inits, 1);
    Grid->ResetComboInit(false);
    Grid->ComboInit(4, 1);
    EXPECT_EQ(Inits, 2);

    // After a column's own list, a cell without one gets a new list again.
    Grid->OnComboInit = nullptr;
    GiveColumnList(1, {"a", "b", "c", "d", "e", "f"});
    Grid->ComboInit(1, 1);
    EXPECT_EQ(List->GetGridRowCount(), 6);
    Grid->ComboInit(4, 2);
    EXPECT_EQ(List->GetGridRowCount(), 0);
    EXPECT_FALSE(List->StoreData());
    EXPECT_EQ(List->DefaultColWidth(), Grid->GetCol(4)->Width() + 10);
}
