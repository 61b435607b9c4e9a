// The first scrollable column and row shown stay out of the frozen area
// and inside the grid whatever the current cell stands on: a frozen cell,
// or no cell at all while every column is hidden; through public calls on
// a shown grid.
#include "grid/model/Columns.h"
#include "grid/tests/ShownGridFixture.h"

using namespace grid;

namespace {

class GridFrozenView : public ShownGridFixture {};

TEST_F(GridFrozenView, TheViewNeverScrollsIntoTheFrozenColumnsOrRows) {
    // Four columns (rows) of which only the frozen first one is shown, or
    // none; the current cell stands on the last line of the other axis.
    struct TCase {
        const char* Name;
        bool Cols;
        bool Frozen;
    };
    for (const TCase& Case :
         {TCase{"only a frozen column shown", true, true},
          TCase{"only a frozen row shown", false, true}, TCase{"every column hidden", true, false},
          TCase{"every row hidden", false, false}}) {
        SCOPED_TRACE(Case.Name);
        ShowGrid(Case.Cols ? 4 : 40, Case.Cols ? 40 : 4);
        if (Case.Frozen) Case.Cols ? Grid->SetFixedColCount(1) : Grid->SetFixedRowCount(1);
        for (int D = Case.Frozen ? 2 : 1; D <= 4; ++D)
            Case.Cols ? Grid->GridCols()->Item(D)->SetVisible(false)
                      : Grid->SetRowVisible(D, false);
        if (Case.Frozen) {
            Grid->SetCurrentCell(Case.Cols ? 1 : 40, Case.Cols ? 40 : 1);
            ASSERT_EQ(Case.Cols ? Grid->Col() : Grid->Row(), 1);
        }
        // A line of the other axis comes before the current cell's and one
        // goes: the current cell's line, the last, moves back by one.
        if (Case.Cols) {
            Grid->InsertRow(1);
            Grid->SetCurrentCell(Grid->Col(), 41);
            Grid->SelectRows(3, 3, true);
            Grid->DeleteSelectedRows();
        } else {
            Grid->InsertCol(1);
            Grid->SetCurrentCell(41, Grid->Row());
            Grid->SelectCols(3, 3, true);
            Grid->DeleteSelectedCols();
        }
        Grid->Update();

        EXPECT_GE(Grid->LeftCol(), Grid->FixedCols());
        EXPECT_GE(Grid->TopRow(), Grid->FixedRows());
        delete Form;
        Form = nullptr;
    }
}

TEST_F(GridFrozenView, WithNothingShownTheViewStaysInsideTheGrid) {
    // Scrolled to the last of two wide columns (high rows), all hidden; the
    // last one goes.
    for (const bool Cols : {true, false}) {
        SCOPED_TRACE(Cols ? "columns" : "rows");
        ShowGrid(Cols ? 2 : 4, Cols ? 4 : 2);
        if (Cols) {
            Grid->SetDefaultColWidth(300);
            Grid->SetLeftCol(2);
            ASSERT_EQ(Grid->LeftCol(), 2);
            Grid->GridCols()->Item(1)->SetVisible(false);
            Grid->GridCols()->Item(2)->SetVisible(false);
            Grid->DeleteCols(2, 2);
        } else {
            Grid->SetDefaultRowHeight(250);
            Grid->SetTopRow(2);
            ASSERT_EQ(Grid->TopRow(), 2);
            Grid->SetRowVisible(1, false);
            Grid->SetRowVisible(2, false);
            Grid->DeleteRows(2, 2);
        }
        Grid->Update();

        EXPECT_LT(Grid->LeftCol(), Grid->ColCount());
        EXPECT_LT(Grid->TopRow(), Grid->RowCount());
        EXPECT_GE(Grid->LeftCol(), Grid->FixedCols());
        EXPECT_GE(Grid->TopRow(), Grid->FixedRows());
        delete Form;
        Form = nullptr;
    }
}

} // namespace
