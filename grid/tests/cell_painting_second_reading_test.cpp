// What the shown grid paints inside its data cells: selection and focus
// colours, the application's paint and draw-info events, loaded values and
// cells too narrow for text.
#include "ShownGridPixels.h"

#include "grid/model/DrawData.h"

using namespace grid;

namespace {

class CellPaintingShown : public ShownGridPixels {
protected:
    void SetUp() override {
        ShowFocused(5, 6);
        Grid->SetColor(clWhite);
        Grid->Font()->SetColor(clBlack);
    }
    // The inside of the cell, clear of its edges and its text inset.
    TRect Inside(int ACol, int ARow) {
        const TRect R = Grid->CellRect(ACol, ARow);
        return Rect(R.Left + 4, R.Top + 3, R.Right - 4, R.Bottom - 3);
    }
    int Area(const TRect& R) { return (R.Right - R.Left) * (R.Bottom - R.Top); }
};

TEST_F(CellPaintingShown, SelectedCellsTakeTheSelectionColourOrAreInverted) {
    struct Case {
        TgxSelectionType Type;
        TColor Colour;
        TColor Shown;
    };
    const Case Cases[] = {{sltColor, clRed, clRed},
                          {sltColor, clNone, clBlack}, // no colour set: inverted
                          {sltInvert, clRed, clBlack}};
    for (const Case& C : Cases) {
        SCOPED_TRACE(static_cast<int>(C.Type));
        Grid->ResetSelection();
        Grid->SetSelectionType(C.Type);
        Grid->SetSelectionColor(C.Colour);
        Grid->SelectCells(3, 3, 4, 4);
        Shot();
        EXPECT_EQ(CountOf(Inside(3, 3), C.Shown), Area(Inside(3, 3)));
        EXPECT_EQ(CountOf(Inside(1, 1), clWhite), Area(Inside(1, 1)));
    }
}

TEST_F(CellPaintingShown, TheCurrentCellTakesTheFocusColours) {
    Grid->SetCellValue(Grid->GetDataCol(2), Grid->GetDataRow(2), "WWW");
    Grid->SetFocusBorder(fbNone);
    Grid->SetFocusColor(clYellow);
    Grid->SetFocusFontColor(clBlue);
    Shot();
    const TRect Cell = Inside(2, 2);
    EXPECT_GT(CountOf(Cell, clYellow), Area(Cell) / 2);
    EXPECT_GT(CountOf(Cell, clBlue), 0) << "the text in the focus font colour";
    EXPECT_EQ(CountOf(Cell, clBlack), 0);
    EXPECT_EQ(CountOf(Inside(3, 2), clYellow), 0);
}

TEST_F(CellPaintingShown, ADrawInfoHandlerReturningNoAlignmentGetsLeftAlignedText) {
    const int DC = Grid->GetDataCol(3), DR = Grid->GetDataRow(3);
    Grid->SetCellValue(DC, DR, "W");
    Grid->SetColWidths(3, 120);
    const TRect R = Grid->CellRect(3, 3);
    const TRect LeftHalf = Rect(R.Left, R.Top, (R.Left + R.Right) / 2, R.Bottom);
    struct Case {
        TgxHorzAlignment Given;
        bool OnTheLeft;
    };
    for (const Case C : {Case{htaRight, false}, Case{htaDefault, true}, Case{htaLeft, true}}) {
        SCOPED_TRACE(static_cast<int>(C.Given));
        Grid->OnGetDrawInfo = [&, C](TObject*, int ACol, int ARow, TgxDrawInfo& Info) {
            if (ACol == DC && ARow == DR) Info.HorzAlignment = C.Given;
        };
        Grid->Invalidate();
        Shot();
        EXPECT_EQ(CountOf(LeftHalf, clBlack) > 0, C.OnTheLeft);
    }
}

TEST_F(CellPaintingShown, ACancelledCellStillGetsItsFrameAndItsInversion) {
    Grid->SetFocusBorder(fbSingle);
    Grid->SetFocusBorderColor(clRed);
    Grid->SetCellValue(Grid->GetDataCol(2), Grid->GetDataRow(2), "WWW");
    // The application paints the text area itself and cancels the grid's drawing.
    Grid->OnPaintCell = [this](TObject*, int, int, TRect ARect, TgxPaintCellState, bool& Cancel) {
        Grid->Canvas()->Brush()->SetColor(clWhite);
        Grid->Canvas()->FillRect(ARect);
        Cancel = true;
    };
    Grid->Invalidate();
    Shot();
    const TRect R = Grid->CellRect(2, 2);
    EXPECT_EQ(At(R.Left + 1, (R.Top + R.Bottom) / 2), clRed) << "the frame";
    Grid->SetSelectionType(sltInvert);
    Grid->SelectCells(3, 3, 4, 4);
    Grid->Invalidate();
    Shot();
    EXPECT_EQ(CountOf(Inside(3, 3), clBlack), Area(Inside(3, 3))) << "the inversion";
}

TEST_F(CellPaintingShown, LoadedValuesAndNarrowCellsPaint) {
    const int DC = Grid->GetDataCol(3);
    Grid->OnCellLoaded = [&](TObject*, int ACol, int ARow, Variant& Value) {
        if (ACol == DC && ARow == Grid->GetDataRow(3)) Value = "WWW";
        if (ACol == DC && ARow == Grid->GetDataRow(4)) Value = Variant();
    };
    Grid->SetCellValue(DC, Grid->GetDataRow(4), "WWW");
    Grid->Invalidate();
    Shot();
    EXPECT_GT(CountOf(Inside(3, 3), clBlack), 0) << "the value the handler gave";
    EXPECT_EQ(CountOf(Inside(3, 4), clBlack), 0) << "left unassigned: painted empty";
    // A column too narrow for text gets its background only.
    Grid->OnCellLoaded = nullptr;
    Grid->SetCellValue(DC, Grid->GetDataRow(3), "WWW");
    Grid->SetColWidths(3, 4); // three pixels inside its line
    Shot();
    const TRect R = Grid->CellRect(3, 3);
    EXPECT_EQ(CountOf(R, clBlack), 0);
    EXPECT_EQ(CountOf(R, clWhite), Area(R));
}

} // namespace
