// Where the in-place editor shows: only over its own cell, and only while
// that cell is on screen, also after the fixed area grows over it and after
// the form is scaled.
#include "grid/tests/GridEditFixture.h"
#include "platform/gui/Scaling.h"

using namespace grid;

namespace {

class GridEditorPlace : public GridEditFixture {
protected:
    bool EditorShown() { return Grid->GridControl() && Grid->GridControl()->GetVisible(); }
    TRect CurrentCell() { return Grid->CellRect(Grid->Col(), Grid->Row()); }
    TRect EditorBounds() {
        TgxCustomGridControl* E = Grid->GridControl();
        return Rect(E->GetLeft(), E->GetTop(), E->GetLeft() + E->GetWidth(),
                    E->GetTop() + E->GetHeight());
    }
    // The editor lies inside the current cell's rectangle on screen.
    void ExpectOverTheCurrentCell() {
        const TRect Cell = CurrentCell();
        ASSERT_GT(Cell.Right, Cell.Left);
        const TRect E = EditorBounds();
        EXPECT_GE(E.Left, Cell.Left);
        EXPECT_GE(E.Top, Cell.Top);
        EXPECT_LE(E.Right, Cell.Right);
        EXPECT_LE(E.Bottom, Cell.Bottom);
    }
};

// A fixed area wider or taller than the window covers the current cell: the
// editor must not turn up over the headings, and it comes back over its
// cell once the fixed area lets the cell show again.
TEST_F(GridEditorPlace, AnEditorWhoseCellIsCoveredByTheFixedAreaStaysHiddenUntilItShowsAgain) {
    struct TCase {
        const char* Name;
        int Cols, Rows;
        int FixedCols, FixedRows;
    };
    const TCase Cases[] = {
        {"25 fixed columns", 30, 5, 25, 0},
        {"40 fixed columns", 30, 5, 40, 0},
        {"70 fixed rows", 4, 80, 0, 70},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        Grid->SetGridColCount(Case.Cols);
        Grid->SetGridRowCount(Case.Rows);
        for (int C = 1; C <= Case.Cols; ++C)
            for (int R = 1; R <= Case.Rows; ++R)
                Grid->SetCellValue(C, R, Variant(AnsiString("c") + std::to_string(C).c_str() + "r" +
                                                 std::to_string(R).c_str()));
        GoTo(1, 1);
        ASSERT_TRUE(EditorShown());

        Grid->SetFixedColCount(Case.FixedCols);
        Grid->SetFixedRowCount(Case.FixedRows);
        QApplication::processEvents();
        const TRect Cell = CurrentCell();
        ASSERT_FALSE(Cell.Right > Cell.Left && Cell.Bottom > Cell.Top)
            << "the current cell is expected to lie under the fixed area";
        EXPECT_FALSE(EditorShown()) << "editor at " << EditorBounds().Left << ","
                                    << EditorBounds().Top << " showing " << EditorText().c_str();
        // Typing cannot reach the cell nobody sees.
        const int DataCol = Grid->GetCurrentDataCol(), DataRow = Grid->GetCurrentDataRow();
        const AnsiString Before = Stored(DataCol, DataRow);
        Type("x");
        EXPECT_FALSE(EditorShown());
        Press(Qt::Key_Return);
        EXPECT_EQ(Stored(DataCol, DataRow), Before);

        Grid->SetFixedColCount(0);
        Grid->SetFixedRowCount(0);
        QApplication::processEvents();
        ASSERT_TRUE(EditorShown());
        ExpectOverTheCurrentCell();
        EXPECT_EQ(EditorText(), Stored(Grid->GetCurrentDataCol(), Grid->GetCurrentDataRow()));
    }
}

// Scaling the form scales the grid; the editor is the grid's to place, so
// it stays over its cell whether the grid scales its own sizes or not.
TEST_F(GridEditorPlace, AScaledFormLeavesTheEditorOverItsCell) {
    for (const bool Auto : {false, true}) {
        SCOPED_TRACE(Auto ? "AutoScale" : "no AutoScale");
        Grid->SetAutoScale(Auto);
        GoTo(2, 3);
        ASSERT_TRUE(EditorShown());
        const TRect Before = EditorBounds();

        ScaleForm(Form, 144, 96);
        QApplication::processEvents();
        ASSERT_TRUE(EditorShown());
        ExpectOverTheCurrentCell();
        if (!Auto) EXPECT_EQ(EditorBounds(), Before);

        ScaleForm(Form, 96, 144);
        QApplication::processEvents();
        ExpectOverTheCurrentCell();
    }
}

// A hidden line keeps no size; moved out of the fixed area, the fixed area
// shrinks by nothing, and the scrolling part must still begin right after
// it: otherwise the line at the window's edge is taken for shown, the keys
// stop scrolling before it and its editor never turns up.
TEST_F(GridEditorPlace, AHiddenLineMovedOutOfTheFixedAreaLeavesTheEdgeCellScrolledIntoView) {
    for (const bool Cols : {true, false}) {
        SCOPED_TRACE(Cols ? "columns" : "rows");
        Grid->SetFixedColCount(0);
        Grid->SetFixedRowCount(0);
        Grid->GridCols()->Item(1)->SetVisible(true);
        Grid->SetGridColCount(Cols ? 12 : 3);
        Grid->SetGridRowCount(Cols ? 3 : 40);
        if (Cols) {
            Grid->SetFixedColCount(2);
            Grid->GridCols()->Item(1)->SetVisible(false);
            Grid->SetDisplayColnr(1, 6);
        } else {
            Grid->SetFixedRowCount(2);
            Grid->SetRowVisible(1, false);
            Grid->SetDisplayRownr(1, 6);
        }
        QApplication::processEvents();
        GoTo(Cols ? 4 : 1, Cols ? 1 : 4);
        const int Last = Cols ? Grid->GetGridColCount() : Grid->GetGridRowCount();
        for (int Step = 0; Step < Last; ++Step) {
            Press(Cols ? Qt::Key_Right : Qt::Key_Down);
            SCOPED_TRACE("at " + Cell(Grid->Col(), Grid->Row()));
            ASSERT_TRUE(EditorShown());
            ExpectOverTheCurrentCell();
        }
    }
}

} // namespace
