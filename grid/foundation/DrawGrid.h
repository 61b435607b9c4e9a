#pragma once
// The draw grid: the base grid with events for drawing cells, supplying
// and taking the editor's text, choosing cells and hearing of moves.
#include "grid/foundation/CustomGrid.h"

namespace grid {

class TDrawGrid_ts : public TCustomGrid_ts {
public:
    explicit TDrawGrid_ts(TComponent* AOwner) : TCustomGrid_ts(AOwner) {}
    AnsiString ClassName() const override { return "TDrawGrid_ts"; }

    // The cell under a client point; -1, -1 outside every cell.
    void MouseToCell(int X, int Y, int& ACol, int& ARow) const;

    TMovedEvent OnColumnMoved;
    TMovedEvent OnRowMoved;
    TDrawCellEvent OnDrawCell;
    TGetEditEvent OnGetEditMask;
    TGetEditEvent OnGetEditText;
    TSelectCellEvent OnSelectCell;
    TSetEditEvent OnSetEditText;

    AnsiString GetEditMask(int ACol, int ARow) override;
    AnsiString GetEditText(int ACol, int ARow) override;
    void SetEditText(int ACol, int ARow, const AnsiString& Value) override;

protected:
    // Calls OnDrawCell; right to left it gets the cell's screen rectangle
    // on a canvas that draws unmirrored, so text reads as written.
    void DrawCell(int ACol, int ARow, const TRect& ARect, TGridDrawState AState) override;
    bool SelectCell(int ACol, int ARow) override;
    void ColumnMoved(int FromIndex, int ToIndex) override;
    void RowMoved(int FromIndex, int ToIndex) override;
};

} // namespace grid
