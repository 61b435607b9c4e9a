// Count changes on a shown grid: inserting and growing while the current
// cell is scrolled into view, the current cell when its column or row goes,
// and what a count change repaints, through public calls and the pixels of
// the grid's backing image.
#include "grid/model/Columns.h"
#include "grid/tests/ShownGridFixture.h"

#include <vector>

using namespace grid;

namespace {

class GridCountChange : public ShownGridFixture {
protected:
    std::vector<TColor> Shot() {
        std::vector<TColor> Pixels;
        for (int Y = 0; Y < Grid->ClientHeight(); ++Y)
            for (int X = 0; X < Grid->ClientWidth(); ++X)
                Pixels.push_back(Grid->Canvas()->Pixels(X, Y));
        return Pixels;
    }
    std::vector<int> ColOrder() const {
        std::vector<int> Order;
        for (int D = 1; D <= Grid->GetGridColCount(); ++D)
            Order.push_back(Grid->GetDataCol(D));
        return Order;
    }
};

TEST_F(GridCountChange, GrowingColumnsWithTheCurrentRowOutOfViewExtendsTheColumnsFirst) {
    struct TCase {
        const char* Name;
        bool Insert;
    };
    for (const TCase& Case : {TCase{"insert", true}, TCase{"count", false}}) {
        SCOPED_TRACE(Case.Name);
        ShowGrid(2, 40);
        // The current row goes to the bottom, out of view.
        Grid->SetDisplayRownr(1, 40);
        if (Case.Insert)
            Grid->InsertCol(1);
        else
            Grid->SetGridColCount(3);
        Grid->Update();

        EXPECT_EQ(Grid->GetGridColCount(), 3);
        EXPECT_EQ(ColOrder(), (Case.Insert ? std::vector<int>{3, 1, 2} : std::vector<int>{1, 2, 3}));
        EXPECT_GE(Grid->LeftCol(), Grid->FixedCols());
        EXPECT_LE(Grid->LeftCol(), Grid->GetGridColCount());
        delete Form;
        Form = nullptr;
    }
}

TEST_F(GridCountChange, ACurrentCellWhoseColumnOrRowGoesStaysAtItsPlace) {
    struct TCase {
        const char* Name;
        bool Cols;
    };
    for (const TCase& Case : {TCase{"column", true}, TCase{"row", false}}) {
        SCOPED_TRACE(Case.Name);
        ShowGrid(10, 10);
        // Data column (row) 8 is shown second and holds the current cell.
        if (Case.Cols) {
            Grid->SetDisplayColnr(8, 2);
            Grid->SetCurrentCell(2, 3);
        } else {
            Grid->SetDisplayRownr(8, 2);
            Grid->SetCurrentCell(3, 2);
        }
        ASSERT_EQ(Case.Cols ? Grid->GetCurrentDataCol() : Grid->GetCurrentDataRow(), 8);
        if (Case.Cols)
            Grid->SetGridColCount(5);
        else
            Grid->SetGridRowCount(5);

        EXPECT_EQ(Grid->Col(), Case.Cols ? 2 : 3);
        EXPECT_EQ(Grid->Row(), Case.Cols ? 3 : 2);
        EXPECT_EQ(Grid->GetCurrentDataCol(), Grid->GetDataCol(Grid->Col()));
        EXPECT_EQ(Grid->GetCurrentDataRow(), Grid->GetDataRow(Grid->Row()));
        delete Form;
        Form = nullptr;
    }
}

TEST_F(GridCountChange, EmptyingTheRowsKeepsTheCurrentColumn) {
    ShowGrid(5, 8);
    Grid->SetCurrentCell(3, 4);
    Grid->SetGridRowCount(0);
    EXPECT_EQ(Grid->Col(), 3);
    Grid->SetGridRowCount(2);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 3);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 1);
}

TEST_F(GridCountChange, TheCurrentCellNeverLandsOnAHiddenRow) {
    struct TCase {
        const char* Name;
        bool Fixed;
    };
    for (const TCase& Case : {TCase{"fixed rows", true}, TCase{"columns back", false}}) {
        SCOPED_TRACE(Case.Name);
        ShowGrid(4, 8);
        if (Case.Fixed) {
            // The first scrollable row, where the current cell goes, is hidden.
            Grid->SetRowVisible(2, false);
            Grid->SetCurrentCell(3, 5);
            Grid->SetFixedRowCount(1);
        } else {
            // Hidden while the grid had no columns to hold a current cell.
            Grid->SetCurrentCell(1, 4);
            Grid->SetGridColCount(0);
            Grid->SetRowVisible(4, false);
            Grid->SetGridColCount(2);
        }
        EXPECT_TRUE(Grid->IsRowVisible(Grid->GetCurrentDataRow()))
            << "current row " << Grid->GetCurrentDataRow();
        delete Form;
        Form = nullptr;
    }
}

TEST_F(GridCountChange, ARowAppendedBelowAHiddenLastRowIsPaintedWhole) {
    ShowGrid(4, 37);
    Grid->SetHeadingOn(false);
    Grid->SetDefaultRowHeight(13);
    Grid->SetRowVisible(37, false);
    Grid->SetTopRow(16);
    Grid->Update();
    ASSERT_GT(Grid->TopRow(), 1) << "scrolled to the bottom";

    Grid->SetGridRowCount(38);
    Grid->Update();
    const std::vector<TColor> Painted = Shot();
    Grid->Invalidate();
    Grid->Update();
    const std::vector<TColor> Whole = Shot();
    int Differing = 0;
    for (std::size_t I = 0; I < Whole.size(); ++I)
        Differing += Painted[I] != Whole[I] ? 1 : 0;
    EXPECT_EQ(Differing, 0) << "pixels the count change left unlike a full repaint";
}

TEST_F(GridCountChange, DeletingTheSelectedLastRowMovesTheCurrentCellToTheNewLastRow) {
    ShowGrid(3, 2);
    Grid->SetCurrentCell(2, 2);
    Grid->SelectRows(2, 2, true);
    Grid->DeleteSelectedRows();

    ASSERT_EQ(Grid->GetGridRowCount(), 1);
    EXPECT_EQ(Grid->Row(), 1);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 1);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 2);
}

TEST_F(GridCountChange, AFixedCountADeletionBringsDownLeavesTheOtherAxisOfTheCurrentCell) {
    // Two data columns (rows) under one frozen: deleting the first one
    // leaves too few to freeze, and the frozen count drops with it.
    struct TCase {
        const char* Name;
        bool Cols;
        bool Selected;
    };
    for (const TCase& Case :
         {TCase{"columns by number", true, false}, TCase{"selected columns", true, true},
          TCase{"rows by number", false, false}, TCase{"selected rows", false, true}}) {
        SCOPED_TRACE(Case.Name);
        ShowGrid(Case.Cols ? 2 : 6, Case.Cols ? 6 : 2);
        if (Case.Cols) {
            Grid->SetFixedColCount(1);
            Grid->SetCurrentCell(2, 4);
            if (Case.Selected) {
                Grid->SelectCols(1, 1, true);
                Grid->DeleteSelectedCols();
            } else {
                Grid->DeleteCols(1, 1);
            }
        } else {
            Grid->SetFixedRowCount(1);
            Grid->SetCurrentCell(4, 2);
            if (Case.Selected) {
                Grid->SelectRows(1, 1, true);
                Grid->DeleteSelectedRows();
            } else {
                Grid->DeleteRows(1, 1);
            }
        }

        EXPECT_EQ(Grid->GetCurrentDataCol(), Case.Cols ? 1 : 4);
        EXPECT_EQ(Grid->GetCurrentDataRow(), Case.Cols ? 4 : 1);
        delete Form;
        Form = nullptr;
    }
}

TEST_F(GridCountChange, DeletingSelectedLinesShownOutOfOrderRenumbersTheCurrentCellByWhatWent) {
    // Data column (row) 6 is shown first: the selection of the first three
    // holds 6, 1 and 2, and of those only 1 and 2 come before the current 5.
    for (const bool Cols : {true, false}) {
        SCOPED_TRACE(Cols ? "columns" : "rows");
        ShowGrid(6, 6);
        if (Cols) {
            Grid->SetDisplayColnr(6, 1);
            Grid->SetCurrentCell(6, 2);
            Grid->SelectCols(1, 3, true);
            Grid->DeleteSelectedCols();
        } else {
            Grid->SetDisplayRownr(6, 1);
            Grid->SetCurrentCell(2, 6);
            Grid->SelectRows(1, 3, true);
            Grid->DeleteSelectedRows();
        }

        EXPECT_EQ(Cols ? Grid->GetCurrentDataCol() : Grid->GetCurrentDataRow(), 3);
        EXPECT_EQ(Cols ? Grid->Col() : Grid->Row(), 3);
        EXPECT_EQ(Cols ? Grid->GetCurrentDataRow() : Grid->GetCurrentDataCol(), 2);
        delete Form;
        Form = nullptr;
    }
}

TEST_F(GridCountChange, AFixedCountChangeWithEverythingHiddenLeavesNoCurrentLineUntilOneIsShown) {
    for (const bool Cols : {true, false}) {
        SCOPED_TRACE(Cols ? "columns" : "rows");
        ShowGrid(4, 4);
        for (int D = 1; D <= 4; ++D)
            Cols ? Grid->GridCols()->Item(D)->SetVisible(false) : Grid->SetRowVisible(D, false);
        Cols ? Grid->SetFixedColCount(1) : Grid->SetFixedRowCount(1);
        EXPECT_EQ(Cols ? Grid->GetCurrentDataCol() : Grid->GetCurrentDataRow(), 0);

        Cols ? Grid->GridCols()->Item(3)->SetVisible(true) : Grid->SetRowVisible(3, true);
        EXPECT_EQ(Cols ? Grid->GetCurrentDataCol() : Grid->GetCurrentDataRow(), 3);
        delete Form;
        Form = nullptr;
    }
}

} // namespace
