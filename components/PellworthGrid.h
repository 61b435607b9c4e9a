#pragma once
// TPellworthGrid: the company's grid. It keeps the grid library's behaviour
// and adds a number format per data column applied when cells are painted,
// suppression of written zeros, typed cell access by data column and row,
// row emphasis and one font size for the whole grid, sorting by display
// order, a list of the selected rows, column auto-size, navigation over
// hidden rows, check-box toggling, and its column layout kept in the
// registry. Columns and rows are data numbers unless a name says display.
#include "components/SaveColumnWidths.h"
#include "grid/model/GxGrid.h"

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace components {

// An external store of cell values; while a grid has one, every value read
// and write of the company grid goes to it instead of the grid's own store.
class TGridCellProvider {
public:
    virtual ~TGridCellProvider() = default;
    virtual void GetValue(int DataCol, int DataRow, Variant& Value) = 0;
    virtual void SetValue(int DataCol, int DataRow, const Variant& Value) = 0;
};

using TDrawCellTextEvent = std::function<void(TObject* Sender, AnsiString& CellText,
                                              grid::TgxDrawData& DrawData, bool DrawSelected)>;
using TGetCellMinimumWidthEvent = std::function<void(TObject* Sender, int DataCol, int DataRow,
                                                     int& MinimumWidth, bool& Handled)>;

// A number from a cell text as people type it: every "$", "," and "%" is
// dropped, the rest is read in the locale's format, else its longest
// decimal prefix is taken (0 when there is none, and for a number beyond a
// double). Words ("Info", "nan") and hexadecimal are no numbers: the result
// is always finite. Never raises.
long double ParseGridNumber(const AnsiString& Text);

// 0 ascending, anything else descending.
using tagSortOrder = int;
// 1 compares text without case, anything else as it is.
using tagCaseMode = int;

class TPellworthGrid : public grid::TgxGrid {
public:
    explicit TPellworthGrid(TComponent* AOwner);
    ~TPellworthGrid() override;
    AnsiString ClassName() const override { return "TPellworthGrid"; }

    // Not owned; nothing in the program sets one.
    TGridCellProvider* CellProvider = nullptr;

    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool Value) { FRowSelect = Value; }
    TSaveColumnWidths* SaveColumnWidths() const { return FSaveColumnWidths.get(); }
    // Copies the settings; the grid keeps its own object.
    void SetSaveColumnWidths(TSaveColumnWidths* Value) { FSaveColumnWidths->Assign(Value); }
    TSaveColumnPositions* SaveColumnPositions() const { return FSaveColumnPositions.get(); }
    void SetSaveColumnPositions(TSaveColumnPositions* Value) {
        FSaveColumnPositions->Assign(Value);
    }

    TDrawCellTextEvent OnDrawCellText;
    TGetCellMinimumWidthEvent OnGetCellMinimumWidth;

    // ---- column formats ---------------------------------------------------------------
    AnsiString GetColFormat(int DataCol);
    // An empty format switches formatting off.
    void SetColFormat(int DataCol, const AnsiString& Value);
    bool GetColDisplayZero(int DataCol);
    void SetColDisplayZero(int DataCol, bool Value);
    void ResetColsDisplayZero() { FColDisplayZero.clear(); }
    // Text rewritten by the column's number format; unchanged without one,
    // for "" and "-", and whenever formatting fails.
    void FormatCellValue(AnsiString& Text, int DataCol);
    AnsiString FormattedCellValue(int DataCol, int DataRow);

    // ---- typed cell access --------------------------------------------------------------
    // The text form copies with its terminating zero; Dest must hold it.
    void GetGridDataCell(char* Dest, int DataCol, int DataRow);
    void SetGridDataCell(const char* Source, int DataCol, int DataRow);
    // Any conversion error reads as 0.
    void GetGridDataCell(int& Value, int DataCol, int DataRow);
    void SetGridDataCell(const int& Value, int DataCol, int DataRow);
    // Read through ParseGridNumber; a blank cell reads as 0.
    void GetGridDataCell(double& Value, int DataCol, int DataRow);
    // A zero is stored as a blank cell unless the column displays zeros or
    // a cell provider takes the value.
    void SetGridDataCell(const double& Value, int DataCol, int DataRow);
    void GetGridDataCell(float& Value, int DataCol, int DataRow);
    void SetGridDataCell(const float& Value, int DataCol, int DataRow);
    void GetGridDisplayCell(char* Dest, int DisplayCol, int DisplayRow);
    void SetGridDisplayCell(const char* Source, int DisplayCol, int DisplayRow);

    // ---- value overrides ----------------------------------------------------------------
    Variant GetCellValue(int DataCol, int DataRow) override;
    void SetCellValue(int DataCol, int DataRow, const Variant& Value) override;
    void DoCellLoaded(int DataCol, int DataRow, Variant& Value) override;
    // The edit flow's relays: with a cell provider they hand it the current
    // cell's value (while a combo cell is edited, and before an end-edit
    // handler may cancel), then raise the grid's event as the base does.
    void DoCellEdit(int DataCol, const Variant& DataRow, bool ByUser);
    void DoEndCellEdit(int DataCol, const Variant& DataRow, bool& Cancel);
    void CellEdit(int DataCol, int DataRow, bool ByUser) override;
    bool EndCellEdit() override;

    void Loaded() override;

    // ---- row fonts, cell colours, font size -------------------------------------------------
    // LastCol 0 means every column.
    void SetRowFontStyles(int DataRow, TFontStyles Styles, int LastCol);
    void SetRowFontStyle(int DataRow, TFontStyles Styles);
    void SetRowFontColors(int DataRow, TColor Color, int LastCol);
    void SetRowFontColor(int DataRow, TColor Color);
    void ResetRowFontStyles(int DataRow, int LastCol);
    int RowFontStyleLastCol() const { return FRowFontStyleLastCol; }
    void SetRowFontStyleLastCol(int LastCol) { FRowFontStyleLastCol = LastCol; }
    void SetCellFontColor(int DataCol, int DataRow, TColor Color);
    void SetFontSize(int Size);

    // ---- sorting and the selected rows ------------------------------------------------------
    // A row's key is the plain text of its listed cells joined (CaseMode 1:
    // upper-cased), compared byte by byte: 10 and 100 come before 9, and
    // "AB" + "C" equals "A" + "BC". Rows with equal keys keep their data
    // order. Every move that changes a row's position is reported by the
    // row-moved event, as a single move of that row reports it.
    void Sort(const int* Cols, int ColCount, tagSortOrder Order, tagCaseMode CaseMode);
    void Unsort();
    void BuildSelectedRowsList();
    const std::deque<int>& SelectedRowsList() const { return FSelectedRowsList; }

    // ---- auto-size and navigation (display rows unless a name says data) ------------------
    void AutoSizeCol(int DataCol);
    void AutoSizeColumns();
    void Scroll(int Lines);
    int GetBottomRow();
    void SetBottomRow(int Row);
    int NextVisibleRow(int Row, bool Inclusive);
    int PrevVisibleRow(int Row, bool Inclusive);
    int FirstVisibleRow() { return NextVisibleRow(1, true); }
    void MakeDataRowVisible(int DataRow);
    // The column's own drop-down list from tab-separated entries: a run of
    // tabs separates two entries, a leading tab adds an empty first one.
    void SetColList(int DataCol, const char* List);

    // ---- input ------------------------------------------------------------------------------
    void KeyPress(char& Key) override;

protected:
    void DrawCellText(const AnsiString& Text, grid::TgxDrawData& Data, bool Selected) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

    // Toggles the current check-box cell inside a cell edit, when the grid
    // lets one start: 0 becomes 1, anything else 0.
    void ToggleCurrentCheckCell();

private:
    // The cell's value text for painting and measuring.
    AnsiString CellText(int DataCol, int DataRow);
    // The font a data cell is painted with.
    TFont* CellPaintFont(int DataCol, int DataRow);
    // Shows DataRows[p - 1] at display row p, for every row at once.
    void ShowRowsInOrder(const std::vector<int>& DataRows);
    // Rows counted by the window: VisibleRows truncated.
    int WindowRows() const;
    // Display row P shows a visible data row.
    bool DisplayRowVisible(int P) const;

    bool FRowSelect = false;
    std::map<int, AnsiString> FColFormat;
    std::map<int, bool> FColDisplayZero;
    std::unique_ptr<TSaveColumnWidths> FSaveColumnWidths;
    std::unique_ptr<TSaveColumnPositions> FSaveColumnPositions;
    std::deque<int> FSelectedRowsList;
    int FRowFontStyleLastCol = 0;
};

namespace tpellworthgrid {
// Puts TPellworthGrid on the palette page "Pellworth".
void Register();
} // namespace tpellworthgrid

} // namespace components
