#pragma once
// A plain string grid: a fixed layout of text cells with optional fixed
// (heading) rows and columns, a current cell the arrow keys move, and an
// OnDrawCell event through which an owner may paint the cells itself.
// It neither scrolls nor edits: it suits small grids that show all their
// cells at once.
#include "platform/gui/CustomControl.h"
#include "platform/rtl/AnsiString.h"

#include <cstdint>
#include <functional>
#include <vector>

enum class TGridDrawStateItem : std::uint8_t { gdSelected, gdFocused, gdFixed };
using enum TGridDrawStateItem;
using TGridDrawState = SmallSet<TGridDrawStateItem>;

using TDrawCellEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, TRect Rect, TGridDrawState State)>;

class TStringGrid : public TCustomControl {
public:
    explicit TStringGrid(TComponent* AOwner);
    AnsiString ClassName() const override { return "TStringGrid"; }

    // Changing a count keeps the cells that still fit; new cells are empty
    // and new columns and rows take the default size.
    int ColCount() const { return FColCount; }
    void SetColCount(int Value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int Value);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int Value);

    // Setting a default size resizes every column (row).
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int Value);
    int ColWidths(int Index) const;
    void SetColWidths(int Index, int Value);
    int RowHeights(int Index) const;
    void SetRowHeights(int Index, int Value);
    // The lines between cells, drawn right of and below each cell.
    int GridLineWidth() const { return FGridLineWidth; }
    void SetGridLineWidth(int Value);

    // An index outside the grid raises EInvalidOperation naming it.
    AnsiString Cells(int ACol, int ARow) const;
    void SetCells(int ACol, int ARow, const AnsiString& Value);

    // The current cell.
    int Col() const { return FCol; }
    void SetCol(int Value);
    int Row() const { return FRow; }
    void SetRow(int Value);

    // With DefaultDrawing the grid fills each cell and writes its text
    // before OnDrawCell; without it OnDrawCell alone paints the cells.
    bool DefaultDrawing() const { return FDefaultDrawing; }
    void SetDefaultDrawing(bool Value);

    // A cell's rectangle in client coordinates.
    TRect CellRect(int ACol, int ARow) const;
    // The cell at a client point; -1, -1 outside every cell.
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;

    TDrawCellEvent OnDrawCell;

protected:
    void Paint() override;
    virtual void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState);
    void KeyDown(Word& Key, TShiftState Shift) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void CheckCell(int ACol, int ARow) const;
    void Resized();

    int FColCount = 5;
    int FRowCount = 5;
    int FFixedCols = 1;
    int FFixedRows = 1;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    int FGridLineWidth = 1;
    int FCol = 1;
    int FRow = 1;
    bool FDefaultDrawing = true;
    std::vector<int> FColWidths;
    std::vector<int> FRowHeights;
    // Row-major, FColCount cells a row.
    std::vector<AnsiString> FCells;
};
