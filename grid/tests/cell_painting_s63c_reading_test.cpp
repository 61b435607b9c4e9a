// Text cells as a shown grid paints them: the application's paint and
// draw-info hooks, loaded values and the two selection looks.
#include "ShownGridPixels.h"

#include "grid/model/Columns.h"

#include <functional>

using namespace grid;

namespace {

class CellPaintingS63c : public ShownGridPixels {
protected:
    void ShowTextGrid() {
        ShowFocused(3, 3);
        Grid->SetColor(clWhite);
        Grid->GridCols()->Item(1)->SetWidth(200);
    }
    TRect Cell() { return Grid->CellRect(1, 1); }
    // Pixels of the text colour (black) in the left and right halves.
    int DarkIn(bool LeftHalf) {
        const TRect R = Cell();
        const int Mid = (R.Left + R.Right) / 2;
        return CountOf(LeftHalf ? Rect(R.Left, R.Top, Mid, R.Bottom)
                                : Rect(Mid, R.Top, R.Right, R.Bottom),
                       clBlack);
    }
};

// How a selected cell looks: coloured, or inverted over whatever the cell
// shows, also when the application painted it itself.
TEST_F(CellPaintingS63c, SelectedCellIsColouredOrInverted) {
    struct Case {
        const char* Name;
        TgxSelectionType Type;
        TColor SelColour;
        bool AppPaintsYellow; // OnPaintCell fills the cell and cancels
        TColor Seen;
    };
    const Case Cases[] = {
        {"selection colour", sltColor, clLime, false, clLime},
        {"colour type without a colour inverts", sltColor, clNone, false, clBlack},
        {"inverted", sltInvert, clLime, false, clBlack},
        {"cancelled paint is still inverted", sltInvert, clNone, true, clBlue},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        ShowTextGrid();
        Grid->SetSelectionType(C.Type);
        Grid->SetSelectionColor(C.SelColour);
        if (C.AppPaintsYellow)
            Grid->OnPaintCell = [this](TObject*, int DataCol, int DataRow, TRect R,
                                       TgxPaintCellState, bool& Cancel) {
                if (DataCol != 1 || DataRow != 1) return;
                Grid->Canvas()->Brush()->SetColor(clYellow);
                Grid->Canvas()->FillRect(R);
                Cancel = true;
            };
        Grid->NewRowSelection(1, 1);
        Grid->Invalidate();
        Settle();
        Shot();
        const TRect R = Cell();
        EXPECT_EQ(At((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2), C.Seen);
        delete Form;
        Form = nullptr;
    }
}

// What the application's hooks leave decides what a text cell shows.
TEST_F(CellPaintingS63c, HooksDecideTheText) {
    struct Case {
        const char* Name;
        std::function<void(TgxGrid*)> Hook;
        bool LeftText, RightText;
    };
    const Case Cases[] = {
        {"right aligned", [](TgxGrid*) {}, false, true},
        {"draw info hands back no alignment: left",
         [](TgxGrid* G) {
             G->OnGetDrawInfo = [](TObject*, int, int, TgxDrawInfo& Info) {
                 Info.HorzAlignment = htaDefault;
             };
         },
         true, false},
        {"loaded value left unassigned: empty",
         [](TgxGrid* G) {
             G->OnCellLoaded = [](TObject*, int, int, Variant& Value) { Value = Variant(); };
         },
         false, false},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        ShowTextGrid();
        Grid->GridCols()->Item(1)->SetHorzAlignment(htaRight);
        Grid->SetCellValue(1, 1, Variant(AnsiString("WWW")));
        C.Hook(Grid);
        Grid->Invalidate();
        Settle();
        Shot();
        EXPECT_EQ(DarkIn(true) > 0, C.LeftText);
        EXPECT_EQ(DarkIn(false) > 0, C.RightText);
        delete Form;
        Form = nullptr;
    }
}

// A text column too narrow for its 3-pixel inset shows no text at all.
TEST_F(CellPaintingS63c, NarrowCellShowsNoText) {
    ShowTextGrid();
    Grid->GridCols()->Item(1)->SetWidth(4);
    Grid->SetCellValue(1, 1, Variant(AnsiString("WWW")));
    Grid->Invalidate();
    Settle();
    Shot();
    EXPECT_EQ(CountOf(Cell(), clBlack), 0);
    EXPECT_EQ(CountOf(Cell(), clWhite), (Cell().Right - Cell().Left) * (Cell().Bottom - Cell().Top));
}


// The current cell keeps its focus frame when the application paints it
// and cancels.
TEST_F(CellPaintingS63c, CancelledCurrentCellKeepsItsFocusFrame) {
    ShowTextGrid();
    Grid->OnPaintCell = [this](TObject*, int DataCol, int DataRow, TRect R, TgxPaintCellState,
                               bool& Cancel) {
        if (DataCol != 2 || DataRow != 2) return;
        Grid->Canvas()->Brush()->SetColor(clYellow);
        Grid->Canvas()->FillRect(R);
        Cancel = true;
    };
    Grid->Invalidate();
    Settle();
    Shot();
    const TRect R = Grid->CellRect(2, 2);
    const int Area = (R.Right - R.Left) * (R.Bottom - R.Top);
    const int Yellow = CountOf(R, clYellow);
    EXPECT_GT(Yellow, Area / 2);
    EXPECT_LT(Yellow, Area);
}

// An empty check cell shows the grayed box: the same pixels as a cell
// holding the grayed value, other than an unchecked one.
TEST_F(CellPaintingS63c, EmptyCheckCellShowsGrayed) {
    ShowTextGrid();
    Grid->GridCols()->Item(3)->SetControlType(ctCheck);
    Grid->SetCellValue(3, 2, Variant(2));
    Grid->SetCellValue(3, 3, Variant(0));
    Grid->SetCol(1);
    Grid->SetRow(1);
    Grid->Invalidate();
    Settle();
    Shot();
    auto Box = [&](int Row) {
        const TRect R = Grid->CellRect(3, Row);
        return Pixels(Rect(R.Left, R.Top, R.Left + 40, R.Bottom));
    };
    EXPECT_EQ(Box(1), Box(2));
    EXPECT_NE(Box(1), Box(3));
}


// The current cell's own colours: the focus colours while browsing, the
// edit colours while its text is edited.
TEST_F(CellPaintingS63c, CurrentCellColours) {
    struct Case {
        const char* Name;
        bool Edit;
        TColor Ground, Ink;
    };
    const Case Cases[] = {
        {"browsing: focus colours", false, clLime, clRed},
        {"editing: edit colours", true, clAqua, clBlue},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        ShowTextGrid();
        Grid->SetCellValue(2, 2, Variant(AnsiString("WWW")));
        Grid->SetFocusColor(clLime);
        Grid->SetFocusFontColor(clRed);
        Grid->SetEditColor(clAqua);
        Grid->SetEditFontColor(clBlue);
        if (C.Edit) {
            Grid->SetGridMode(gmEdit);
            Grid->SetFocus();
            QApplication::processEvents();
            QWidget* W = QApplication::focusWidget();
            TypeKey(W ? W : Grid->Widget(), Qt::Key_W, "W");
            QApplication::processEvents();
        }
        Grid->Invalidate();
        Settle();
        Shot();
        const TRect R = Grid->CellRect(2, 2);
        const int Area = (R.Right - R.Left) * (R.Bottom - R.Top);
        EXPECT_GT(CountOf(R, C.Ground), Area / 2);
        EXPECT_GT(CountOf(R, C.Ink), 0);
        delete Form;
        Form = nullptr;
    }
}

} // namespace
