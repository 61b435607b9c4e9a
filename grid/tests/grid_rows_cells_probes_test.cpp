// Probes of rows, cell properties, the selections and the current cell,
// through the calls a program makes and the events a user makes, on a
// shown grid where drawing matters.
#include "grid/model/CellFacade.h"
#include "grid/model/CellProps.h"
#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GxGrid.h"
#include "grid/model/InplaceControl.h"
#include "grid/model/Rows.h"
#include "grid/model/Selection.h"
#include "grid/model/VisibleItems.h"
#include "grid/tests/FormTextFixture.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"
#include "platform/gui/tests/GuiTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace grid;

namespace {

std::vector<int> Items(const TgxVisibleItems& V) {
    std::vector<int> R;
    for (int K = 1; K <= V.VisibleCount(); ++K)
        R.push_back(V.GetItem(K));
    return R;
}

class RowsAndCells : public ::testing::Test {
protected:
    void Show(int Cols, int Rows, TgxGridMode Mode = gmEdit) {
        EnsureQtApplication();
        Form = new TForm(nullptr);
        Form->SetBounds(10, 10, 640, 420);
        Grid = new TgxGrid(Form);
        Grid->SetName("Grid1");
        Grid->SetParent(Form);
        Grid->SetBounds(0, 0, 500, 320);
        Grid->SetStoreData(true);
        Grid->SetGridColCount(Cols);
        Grid->SetGridRowCount(Rows);
        Grid->SetGridMode(Mode);
        Grid->SetColor(clWhite);
        ShowActive(*Form);
        Grid->SetFocus();
        QApplication::processEvents();
        PaintAll();
    }
    void TearDown() override { delete Form; }
    void PaintAll() {
        Grid->Invalidate();
        Grid->Update();
        QApplication::processEvents();
    }
    // Lets the queued repaints run, without asking for any.
    void Settle() {
        QApplication::processEvents();
        QApplication::processEvents();
    }
    // A pixel a few points inside the cell's bottom-right corner, away
    // from its text.
    TColor CellPixel(int DataCol, int DataRow) {
        const TRect R = Grid->CellRect(Grid->GetDisplayCol(DataCol), Grid->GetDisplayRow(DataRow));
        return Grid->Canvas()->Pixels(R.Right - 4, R.Bottom - 3);
    }
    void GoTo(int DataCol, int DataRow) {
        Grid->SetCurrentCell(Grid->GetDisplayCol(DataCol), Grid->GetDisplayRow(DataRow));
        QApplication::processEvents();
    }
    QWidget* KeyTarget() {
        QWidget* W = QApplication::focusWidget();
        return W ? W : Grid->Widget();
    }
    void Press(int Key, const QString& Text = {}) {
        TypeKey(KeyTarget(), Key, Text);
        QApplication::processEvents();
    }

    TForm* Form = nullptr;
    TgxGrid* Grid = nullptr;
};

} // namespace

// ---------------------------------------------------------------- rows

TEST_F(RowsAndCells, FreshGridHoldsOnlyTheHeadingRowObject) {
    Show(3, 10);
    EXPECT_EQ(Grid->GridRows()->ObjectCount(), 1);
    EXPECT_NE(Grid->GetRow(0), nullptr);
    EXPECT_EQ(Grid->GetRow(4), nullptr);
}

TEST_F(RowsAndCells, RowColourBackToNoneDropsTheRowObject) {
    Show(3, 10);
    Grid->SetRowColor(4, clRed);
    EXPECT_NE(Grid->GetRow(4), nullptr);
    Grid->SetRowColor(4, clNone);
    EXPECT_EQ(Grid->GetRow(4), nullptr);
    EXPECT_EQ(Grid->GridRows()->ObjectCount(), 1);
}

TEST_F(RowsAndCells, RowColourRepaintsTheRow) {
    Show(3, 6);
    ASSERT_EQ(CellPixel(2, 3), clWhite);
    Grid->SetRowColor(3, clRed);
    Settle();
    EXPECT_EQ(CellPixel(2, 3), clRed);
    EXPECT_EQ(CellPixel(2, 4), clWhite);
}

TEST_F(RowsAndCells, HidingTheCurrentRowMovesTheCurrentCellAndZerosItsHeight) {
    Show(3, 6);
    GoTo(2, 3);
    Grid->SetRowVisible(3, false);
    QApplication::processEvents();
    EXPECT_NE(Grid->GetCurrentDataRow(), 3);
    EXPECT_EQ(Grid->RowHeights(Grid->GetDisplayRow(3)), 0);
    EXPECT_EQ(Items(Grid->VisibleRows()), (std::vector<int>{1, 2, 4, 5, 6}));
    Grid->SetRowVisible(3, true);
    EXPECT_EQ(Grid->RowHeights(Grid->GetDisplayRow(3)), Grid->GetRowHeight(3));
}

TEST_F(RowsAndCells, RowPropertiesSurviveTheFormFile) {
    Show(3, 6);
    Grid->SetRowColor(2, clRed);
    Grid->SetRowHeight(3, 33);
    Grid->SetRowSpinIncrement(4, 2.5);
    Grid->SetRowReadOnly(5, true);
    const std::string Text = FormText(*Grid);
    std::unique_ptr<TForm> F2(new TForm(nullptr));
    auto* G2 = new TgxGrid(F2.get());
    G2->SetParent(F2.get());
    CopyThroughFormFile(*Grid, *G2);
    EXPECT_EQ(G2->GetRowColor(2), clRed) << Text;
    EXPECT_EQ(G2->GetRowHeight(3), 33);
    EXPECT_DOUBLE_EQ(G2->GetRowSpinIncrement(4), 2.5);
    EXPECT_TRUE(G2->GetRowReadOnly(5));
    EXPECT_EQ(G2->GetRow(1), nullptr);
}

// ---------------------------------------------------------------- cells

TEST_F(RowsAndCells, CellColourAndBackDropsTheElement) {
    Show(3, 6);
    TgxCustomElement* E = nullptr;
    EXPECT_TRUE(Grid->CellProps()->SetProperty(2, 2, true, 0, prColor,
                                               Variant(static_cast<int>(clRed)), E));
    ASSERT_NE(E, nullptr);
    EXPECT_TRUE(Grid->CellProps()->SetProperty(2, 2, true, 0, prColor,
                                               Variant(static_cast<int>(clNone)), E));
    EXPECT_EQ(E, nullptr);
    EXPECT_EQ(Grid->CellProps()->Count(), 0);
}

TEST_F(RowsAndCells, AutoCreateFontAloneKeepsTheElementAndItsCoordinates) {
    Show(3, 6);
    TgxCell Cell(Grid, 2, 3);
    Cell.SetAutoCreateFont(true);
    EXPECT_TRUE(Cell.AutoCreateFont());
    EXPECT_NE(Grid->CellProps()->Find(2, 3), nullptr);
    int I = 0, C = 0, R = 0;
    ASSERT_TRUE(Grid->CoordList()->NextCoord(I, C, R));
    EXPECT_EQ(C, 2);
    EXPECT_EQ(R, 3);
    Cell.SetAutoCreateFont(false);
    EXPECT_EQ(Grid->CellProps()->Find(2, 3), nullptr);
    I = 0;
    EXPECT_FALSE(Grid->CoordList()->NextCoord(I, C, R));
    EXPECT_EQ(C, 0);
    EXPECT_EQ(R, 0);
}

TEST_F(RowsAndCells, CellColourRepaintsTheCell) {
    Show(3, 6);
    Grid->SetCellColor(2, 3, clRed);
    Settle();
    EXPECT_EQ(CellPixel(2, 3), clRed);
    EXPECT_EQ(CellPixel(1, 3), clWhite);
    Grid->SetCellColor(2, 3, clNone);
    Settle();
    EXPECT_EQ(CellPixel(2, 3), clWhite);
}

TEST_F(RowsAndCells, CellPropertiesSurviveTheFormFile) {
    Show(3, 6);
    Grid->SetCellColor(2, 3, clRed);
    Grid->SetCellReadOnly(1, 2, roOn);
    Grid->SetCellSpinIncrement(3, 4, 0.5);
    std::unique_ptr<TForm> F2(new TForm(nullptr));
    auto* G2 = new TgxGrid(F2.get());
    G2->SetParent(F2.get());
    CopyThroughFormFile(*Grid, *G2);
    EXPECT_EQ(G2->GetCellColor(2, 3), clRed) << FormText(*Grid);
    EXPECT_EQ(G2->IsCellReadOnly(1, 2), roOn);
    EXPECT_DOUBLE_EQ(G2->GetCellSpinIncrement(3, 4), 0.5);
    EXPECT_EQ(G2->CellProps()->Count(), 3);
}

// ---------------------------------------------------------------- selections

TEST(ReaderSelection, FirstLastNextPrevious) {
    TgxSelection S;
    S.SetSize(10);
    S.SetSelected(3, true);
    S.SetSelected(7, true);
    EXPECT_EQ(S.First(), 3);
    EXPECT_EQ(S.Last(), 7);
    EXPECT_EQ(S.Count(), 2);
    EXPECT_EQ(S.Next(3), 7);
    EXPECT_EQ(S.Next(7), -1);
    EXPECT_EQ(S.Previous(7), 3);
    S.SetSelected(3, false);
    EXPECT_EQ(S.First(), 7);
    S.SetSelected(0, true);
    S.SetSelected(10, true);
    EXPECT_EQ(S.Count(), 1);
    EXPECT_FALSE(S.GetSelected(0));
}

// ---------------------------------------------------------------- current cell

TEST_F(RowsAndCells, SetValueGoesToTheEditorAndPaintsUnderTheFocusOnMovedColumns) {
    Show(4, 6);
    Grid->SetDisplayColnr(1, 3); // data column 1 shown at display 3
    ASSERT_EQ(Grid->GetDisplayCol(1), 3);
    GoTo(1, 2);
    PaintAll();
    const TRect R = Grid->CellRect(3, Grid->GetDisplayRow(2));
    std::vector<TColor> Before;
    for (int X = R.Left + 2; X < R.Right - 2; ++X)
        for (int Y = R.Top + 2; Y < R.Bottom - 2; ++Y)
            Before.push_back(Grid->Canvas()->Pixels(X, Y));
    EXPECT_TRUE(Grid->CurrentCell()->SetValue(Variant(AnsiString("WWWW"))));
    Settle();
    std::vector<TColor> After;
    for (int X = R.Left + 2; X < R.Right - 2; ++X)
        for (int Y = R.Top + 2; Y < R.Bottom - 2; ++Y)
            After.push_back(Grid->Canvas()->Pixels(X, Y));
    EXPECT_NE(Before, After);
}

TEST_F(RowsAndCells, MoveToMakesTheCellCurrentAndChecksItsRange) {
    Show(4, 6);
    Grid->CurrentCell()->MoveTo(3, 5);
    EXPECT_EQ(Grid->GetCurrentDataCol(), 3);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 5);
    Grid->SetReportInvalidOps(true);
    bool Raised = false;
    try {
        Grid->CurrentCell()->MoveTo(9, 2);
    } catch (const EInvalidGridOperation& E) {
        Raised = true;
        EXPECT_NE(E.Message.find("Column index 9 out of range"), std::string::npos) << E.Message;
    }
    EXPECT_TRUE(Raised);
    Grid->SetReportInvalidOps(false);
    Grid->CurrentCell()->MoveTo(2, 99);
    EXPECT_EQ(Grid->GetCurrentDataRow(), 5);
}

TEST_F(RowsAndCells, PasteRespectsMaxLength) {
    Show(3, 6);
    Grid->GetCol(Variant(1))->SetMaxLength(5);
    Grid->SetCellValue(1, 2, Variant(AnsiString("abc")));
    GoTo(1, 2);
    TgxCurrentCell* Cur = Grid->CurrentCell();
    Cur->SelectAll();
    QApplication::processEvents();
    Cur->SetSelStart(1);
    Cur->SetSelLength(2);
    QApplication::processEvents();
    ASSERT_EQ(Cur->SelLength(), 2);
    Clipboard()->SetAsText("vwxyz");
    EXPECT_FALSE(Cur->PasteFromClipboard());
    Clipboard()->SetAsText("wxyz");
    EXPECT_TRUE(Cur->PasteFromClipboard());
}

