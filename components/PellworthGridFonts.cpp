// Row emphasis, cell colours and the grid's one font size.
#include "components/PellworthGrid.h"

#include "grid/model/Columns.h"
#include "grid/model/Combo.h"
#include "platform/gui/Graphics.h"

#include <cstdio>
#include <cstdlib>

namespace components {

namespace {

void RowOutOfRange(int Line) {
    std::fprintf(stderr,
                 "Assertion failed: DataRow > 0 && DataRow <= Rows, file TPellworthGrid, line %d\n",
                 Line);
    std::abort();
}

} // namespace

// A caller's row outside the grid is a programming error.
#define PELLWORTH_CHECK_ROW(DataRow)                                                               \
    do {                                                                                           \
        if (!((DataRow) > 0 && (DataRow) <= GetGridRowCount())) RowOutOfRange(__LINE__);           \
    } while (false)

void TPellworthGrid::SetRowFontStyles(int DataRow, TFontStyles Styles, int LastCol) {
    PELLWORTH_CHECK_ROW(DataRow);
    if (LastCol == 0) LastCol = GetGridColCount();
    SetRowParentFont(DataRow, false);
    GetRowFont(DataRow)->SetStyle(Styles);
    for (int Col = 1; Col <= LastCol; ++Col) {
        // A cell given a font here keeps its column's colour, so the row's
        // emphasis wins over the column font without changing its colour.
        if (GetCellParentFont(Col, DataRow)) {
            grid::TgxCol* Column = GetCol(Col);
            const TColor Colour =
                Column->ParentFont() ? Font()->Color() : Column->GetFont()->Color();
            SetCellParentFont(Col, DataRow, false);
            GetCellFont(Col, DataRow)->SetColor(Colour);
        }
        GetCellFont(Col, DataRow)->SetStyle(Styles);
    }
}

void TPellworthGrid::SetRowFontStyle(int DataRow, TFontStyles Styles) {
    SetRowFontStyles(DataRow, Styles, FRowFontStyleLastCol);
}

void TPellworthGrid::SetRowFontColors(int DataRow, TColor Color, int LastCol) {
    PELLWORTH_CHECK_ROW(DataRow);
    if (LastCol == 0) LastCol = GetGridColCount();
    SetRowParentFont(DataRow, false);
    GetRowFont(DataRow)->SetColor(Color);
    for (int Col = 1; Col <= LastCol; ++Col) {
        SetCellParentFont(Col, DataRow, false);
        GetCellFont(Col, DataRow)->SetColor(Color);
    }
}

void TPellworthGrid::SetRowFontColor(int DataRow, TColor Color) {
    SetRowFontColors(DataRow, Color, FRowFontStyleLastCol);
}

void TPellworthGrid::ResetRowFontStyles(int DataRow, int LastCol) {
    PELLWORTH_CHECK_ROW(DataRow);
    if (LastCol == 0) LastCol = GetGridColCount();
    SetRowParentFont(DataRow, true);
    const TColor GridColour = Font()->Color();
    for (int Col = 1; Col <= LastCol; ++Col) {
        if (GetCellParentFont(Col, DataRow)) continue;
        grid::TgxCol* Column = GetCol(Col);
        const TColor Colour = GetCellFont(Col, DataRow)->Color();
        // A colour of the cell's own (SetCellFontColor) survives the reset.
        const bool Inherited = Column->ParentFont()
                                   ? Colour == GridColour
                                   : Colour == Column->GetFont()->Color() || Colour == GridColour;
        if (Inherited) SetCellParentFont(Col, DataRow, true);
    }
}

void TPellworthGrid::SetCellFontColor(int DataCol, int DataRow, TColor Color) {
    if (Color == Font()->Color()) {
        SetCellParentFont(DataCol, DataRow, true);
        return;
    }
    SetCellParentFont(DataCol, DataRow, false);
    GetCellFont(DataCol, DataRow)->SetColor(Color);
}

void TPellworthGrid::SetFontSize(int Size) {
    TCanvas* GridCanvas = Canvas();
    GridCanvas->Font()->SetSize(Size);
    Font()->SetSize(Size);
    HeadingFont()->SetSize(Size);
    SetDefaultRowHeight(GridCanvas->TextHeight("Wy") + 2);
    SetHeadingHeight(DefaultRowHeight());
    const int Cols = GetGridColCount();
    const int Rows = GetGridRowCount();
    for (int Col = 1; Col <= Cols; ++Col) {
        grid::TgxCol* Column = GetCol(Col);
        if (!Column->ParentFont()) Column->GetFont()->SetSize(Size);
        // A column's own drop-down list shows its entries in rows as high as
        // the grid's.
        if (!Column->ParentCombo())
            if (grid::TgxCombo* Combo = Column->GetCombo())
                Combo->GetGrid()->SetDefaultRowHeight(GridCanvas->TextHeight("Wy") + 2);
    }
    for (int Row = 1; Row <= Rows; ++Row) {
        if (!GetRowParentFont(Row)) GetRowFont(Row)->SetSize(Size);
        for (int Col = 1; Col <= Cols; ++Col)
            if (!GetCellParentFont(Col, Row)) GetCellFont(Col, Row)->SetSize(Size);
    }
}

} // namespace components
