// The in-place editor of a shown grid: a refused start shows nothing,
// scrolling brings a cell whole into view from any side, and the control
// takes the keyboard only while the grid itself has it.
#include "ShownGridPixels.h"
#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/EditorHostTypes.h"
#include "grid/model/InplaceControl.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/tests/GuiTestSupport.h"
#include "platform/rtl/FloatFormat.h"

#include <QApplication>

#include <vector>

using namespace grid;

namespace {

class EditorHostingMore : public ShownGridPixels {
protected:
    void ShowEditing(int Cols, int Rows) {
        ShowGrid(Cols, Rows);
        Grid->SetStoreData(true);
        ShowActive(*Form);
        QApplication::processEvents();
        Grid->SetFocus();
        QApplication::processEvents();
    }
    void GoTo(int DataCol, int DataRow) {
        Grid->SetCurrentCell(Grid->GetDisplayCol(DataCol), Grid->GetDisplayRow(DataRow));
        QApplication::processEvents();
    }
    TRect CellOf(int DataCol, int DataRow) {
        return Grid->CellRect(Grid->GetDisplayCol(DataCol), Grid->GetDisplayRow(DataRow));
    }
};

TEST_F(EditorHostingMore, ARefusedStartShowsNoEditor) {
    ShowEditing(3, 3);
    Grid->SetAlwaysShowEditor(false);
    GoTo(2, 2);
    std::vector<AnsiString> Calls;
    bool RefuseStart = true;
    Grid->OnStartCellEdit = [&](TObject*, int, int, bool& Cancel) { Cancel = RefuseStart; };
    Grid->OnShowEditor = [&](TObject*, int C, int R, bool&) {
        Calls.push_back("show " + IntToStr(C) + "," + IntToStr(R));
    };
    Grid->OnHideEditor = [&](TObject*, int C, int R) {
        Calls.push_back("hide " + IntToStr(C) + "," + IntToStr(R));
    };
    // A refused start shows nothing and asks nobody about the editor.
    EXPECT_FALSE(Grid->StartShowEditor(true));
    EXPECT_FALSE(Grid->EditorShown());
    EXPECT_TRUE(Calls.empty());
    RefuseStart = false;
    EXPECT_TRUE(Grid->StartShowEditor(true));
    EXPECT_TRUE(Grid->EditorShown());
    EXPECT_TRUE(Grid->GridControl()->GetVisible());
    // Shown already: the start still holds.
    EXPECT_TRUE(Grid->StartShowEditor(true));
    // Hidden over its own cell, the edit goes on; the application hears
    // of the hiding once.
    EXPECT_TRUE(Grid->HideEditor());
    EXPECT_FALSE(Grid->EditorShown());
    EXPECT_EQ(Calls, (std::vector<AnsiString>{"show 2,2", "hide 2,2"}));
}

// PutCellInView from each side of the view: the cell ends whole on screen at
// the side it came from, and the current cell stays where it was.
TEST_F(EditorHostingMore, PutCellInViewFromEverySide) {
    ShowEditing(30, 80);
    GoTo(12, 40);
    struct Case {
        const char* Name;
        int Col, Row;
    } Cases[] = {{"right", 25, 40}, {"above", 12, 5}, {"left", 3, 40}, {"below", 12, 75}};
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        Grid->SetLeftCol(Grid->GetDisplayCol(12));
        Grid->SetTopRow(Grid->GetDisplayRow(40));
        QApplication::processEvents();
        Grid->PutCellInView(C.Col, C.Row);
        QApplication::processEvents();
        const TRect R = CellOf(C.Col, C.Row);
        EXPECT_GE(R.Left, Grid->ColWidths(0));
        EXPECT_LE(R.Right, Grid->ClientWidth());
        EXPECT_GE(R.Top, Grid->RowHeights(0));
        EXPECT_LE(R.Bottom, Grid->ClientHeight());
        if (C.Col == 3) EXPECT_EQ(Grid->LeftCol(), Grid->GetDisplayCol(3));
        if (C.Row == 5) EXPECT_EQ(Grid->TopRow(), Grid->GetDisplayRow(5));
        if (C.Col == 25) {
            // Rightmost: one more column at the left would push it out.
            EXPECT_GT(R.Right + Grid->ColWidths(Grid->LeftCol() - 1), Grid->ClientWidth());
        }
        EXPECT_EQ(Grid->GetCurrentDataCol(), 12);
        EXPECT_EQ(Grid->GetCurrentDataRow(), 40);
    }
}

// A hidden column never becomes the first column shown.
TEST_F(EditorHostingMore, ScrollingRightSkipsAHiddenFirstColumn) {
    ShowEditing(30, 10);
    GoTo(1, 1);
    Grid->PutCellInView(25, 1);
    QApplication::processEvents();
    const int FirstData = Grid->GetDataCol(Grid->LeftCol());
    // Back home, hide the column that came first, and go again.
    Grid->PutCellInView(1, 1);
    Grid->GetCol(FirstData)->SetVisible(false);
    QApplication::processEvents();
    Grid->PutCellInView(25, 1);
    QApplication::processEvents();
    EXPECT_NE(Grid->GetDataCol(Grid->LeftCol()), FirstData);
    EXPECT_TRUE(Grid->GetCol(Grid->GetDataCol(Grid->LeftCol()))->Visible());
    const TRect R = CellOf(25, 1);
    EXPECT_LE(R.Right, Grid->ClientWidth());
}

// The editor takes the keyboard only from a grid that has it.
TEST_F(EditorHostingMore, TheEditorTakesTheFocusOnlyFromAFocusedGrid) {
    ShowEditing(3, 3);
    auto* Other = new TPanel(Form);
    Other->SetParent(Form);
    Other->SetBounds(450, 10, 80, 80);
    GoTo(1, 1);
    ASSERT_TRUE(Grid->EditorShown());
    Other->SetFocus();
    QApplication::processEvents();
    ASSERT_FALSE(Grid->Focused());
    GoTo(2, 2);
    EXPECT_TRUE(Grid->GridControl()->GetVisible());
    EXPECT_FALSE(Grid->FocusToGridControl());
    EXPECT_NE(QApplication::focusWidget(), Grid->GridControl()->GetHandle()->Widget());
    // Back in the grid, the next move hands the keys to the editor.
    Grid->SetFocus();
    QApplication::processEvents();
    GoTo(3, 3);
    EXPECT_EQ(QApplication::focusWidget(), Grid->GridControl()->GetHandle()->Widget());
}

// Stepping down with the keys scrolls just enough: the row reached shows
// whole at the bottom, and a row taller than the window shows from its top.
TEST_F(EditorHostingMore, KeyDownScrollsTheRowReachedWholeIntoView) {
    ShowEditing(3, 40);
    Grid->SetRowHeight(12, 40);
    Grid->SetRowHeight(20, 500);
    GoTo(1, 1);
    for (int DataRow = 2; DataRow <= 24; ++DataRow) {
        SCOPED_TRACE(DataRow);
        TypeKey(QApplication::focusWidget(), Qt::Key_Down);
        QApplication::processEvents();
        ASSERT_EQ(Grid->GetCurrentDataRow(), DataRow);
        const TRect R = CellOf(1, DataRow);
        EXPECT_GE(R.Top, Grid->RowHeights(0));
        if (Grid->RowHeights(Grid->Row()) + Grid->RowHeights(0) > Grid->ClientHeight()) {
            EXPECT_EQ(Grid->TopRow(), Grid->Row());
        } else {
            EXPECT_LE(R.Bottom, Grid->ClientHeight());
            // No further than needed: the row above the top would not fit.
            if (Grid->TopRow() > Grid->FixedRows())
                EXPECT_GT(R.Bottom + Grid->RowHeights(Grid->TopRow() - 1), Grid->ClientHeight());
        }
    }
}

// Brought to the bottom in an inserting grid, the last row takes the
// insertion row below it into view as well.
TEST_F(EditorHostingMore, TheLastRowComesIntoViewWithTheInsertionRow) {
    ShowEditing(3, 40);
    Grid->SetGridMode(gmEditInsert);
    QApplication::processEvents();
    ASSERT_TRUE(Grid->InsertionRowShown());
    GoTo(1, 1);
    Grid->PutCellInView(1, 40);
    QApplication::processEvents();
    const TRect Last = CellOf(1, 40);
    const TRect Insertion = Grid->CellRect(Grid->Col(), Grid->RowCount() - 1);
    EXPECT_GE(Last.Top, Grid->RowHeights(0));
    EXPECT_LE(Insertion.Bottom, Grid->ClientHeight());
    EXPECT_GT(Insertion.Bottom, Insertion.Top);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 1);
}

// PutInView's view position decides on which side a cell from before the
// view lands; its scroll choice may keep the view where it is while the
// cell still becomes current.
TEST_F(EditorHostingMore, PutInViewLandsTheCellWhereAsked) {
    ShowEditing(30, 80);
    struct Case {
        const char* Name;
        TgxViewPosition Position;
        TgxChangeTopLeft Change;
        bool AtRight, AtBottom, Scrolls;
    } Cases[] = {
        {"plain", vpNone, ctlBoth, false, false, true},
        {"to the right", vpRight, ctlBoth, true, false, true},
        {"to the bottom", vpBottom, ctlBoth, false, true, true},
        {"both", vpBoth, ctlBoth, true, true, true},
        {"columns only", vpBoth, ctlLeft, true, false, true},
        {"no scrolling", vpBoth, ctlNone, false, false, false},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        GoTo(20, 60);
        Grid->SetLeftCol(Grid->GetDisplayCol(20));
        Grid->SetTopRow(Grid->GetDisplayRow(60));
        QApplication::processEvents();
        const int Left = Grid->LeftCol();
        const int Top = Grid->TopRow();
        Grid->PutInView(Grid->GetDisplayCol(10), Grid->GetDisplayRow(30), C.Position, true, true,
                        C.Change);
        QApplication::processEvents();
        EXPECT_EQ(Grid->GetCurrentDataCol(), 10);
        EXPECT_EQ(Grid->GetCurrentDataRow(), 30);
        if (!C.Scrolls) {
            EXPECT_EQ(Grid->LeftCol(), Left);
            EXPECT_EQ(Grid->TopRow(), Top);
            continue;
        }
        // The column as shown on the top row (the row may still be out of view).
        const TRect Column = Grid->CellRect(Grid->GetDisplayCol(10), Grid->TopRow());
        EXPECT_GE(Column.Left, Grid->ColWidths(0));
        EXPECT_LE(Column.Right, Grid->ClientWidth());
        if (C.AtRight)
            EXPECT_GT(Column.Right + Grid->ColWidths(Grid->LeftCol() - 1), Grid->ClientWidth());
        else
            EXPECT_EQ(Grid->GetDataCol(Grid->LeftCol()), 10);
        if (C.Change == ctlLeft) {
            EXPECT_EQ(Grid->TopRow(), Top);
            continue;
        }
        const TRect R = CellOf(10, 30);
        EXPECT_GE(R.Top, Grid->RowHeights(0));
        EXPECT_LE(R.Bottom, Grid->ClientHeight());
        if (C.AtBottom)
            EXPECT_GT(R.Bottom + Grid->RowHeights(Grid->TopRow() - 1), Grid->ClientHeight());
        else
            EXPECT_EQ(Grid->GetDataRow(Grid->TopRow()), 30);
        // The editor sits on the cell it was brought to.
        EXPECT_TRUE(Grid->GridControl()->GetVisible());
        EXPECT_EQ(Grid->GridControl()->GetTop(), R.Top);
    }
}

// Hidden again, the editor leaves the cell as the grid draws it, focus
// frame and all, as before it was shown.
TEST_F(EditorHostingMore, AHiddenEditorLeavesTheCellAsTheGridDrawsIt) {
    ShowGrid(3, 4);
    Grid->SetStoreData(true);
    Grid->SetAlwaysShowEditor(false);
    Grid->SetCellValue(2, 2, Variant(AnsiString("text")));
    ShowActive(*Form);
    QApplication::processEvents();
    Grid->SetFocus();
    Grid->SetCurrentCell(Grid->GetDisplayCol(2), Grid->GetDisplayRow(2));
    QApplication::processEvents();
    ASSERT_FALSE(Grid->EditorShown());
    const TRect Cell = Grid->CellRect(Grid->Col(), Grid->Row());
    Shot();
    const auto Before = Pixels(Cell);
    ASSERT_TRUE(Grid->ShowEditor());
    Shot();
    EXPECT_NE(Pixels(Cell), Before) << "the editor covers the cell";
    ASSERT_TRUE(Grid->HideEditor());
    EXPECT_FALSE(Grid->GridControl()->GetVisible());
    Shot();
    EXPECT_EQ(Pixels(Cell), Before);
}

// Hidden rows and columns never become the first row or column shown,
// and a column wider than the window shows from its left edge.
TEST_F(EditorHostingMore, TheViewNeverStartsOnAHiddenRowOrColumn) {
    ShowEditing(30, 60);
    for (int DataRow = 10; DataRow <= 20; DataRow += 2) Grid->SetRowVisible(DataRow, false);
    for (int DataCol = 5; DataCol <= 9; ++DataCol) Grid->GetCol(DataCol)->SetVisible(false);
    Grid->SetColWidths(Grid->GetDisplayCol(20), Grid->ClientWidth() + 50);
    GoTo(1, 1);
    for (int Step = 0; Step < 30; ++Step) {
        TypeKey(QApplication::focusWidget(), Qt::Key_Down);
        QApplication::processEvents();
        ASSERT_TRUE(Grid->IsRowVisible(Grid->GetDataRow(Grid->TopRow()))) << Step;
        const TRect R = Grid->CellRect(Grid->Col(), Grid->Row());
        EXPECT_LE(R.Bottom, Grid->ClientHeight()) << Step;
        EXPECT_GT(R.Bottom, R.Top) << Step;
    }
    for (const int DataCol : {12, 20, 30, 1}) {
        SCOPED_TRACE(DataCol);
        Grid->PutCellInView(DataCol, Grid->GetCurrentDataRow());
        QApplication::processEvents();
        EXPECT_TRUE(Grid->GetCol(Grid->GetDataCol(Grid->LeftCol()))->Visible());
        const TRect R = CellOf(DataCol, Grid->GetCurrentDataRow());
        EXPECT_GT(R.Right, R.Left);
        if (DataCol == 20) EXPECT_EQ(Grid->LeftCol(), Grid->GetDisplayCol(20));
    }
}

} // namespace
