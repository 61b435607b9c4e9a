#pragma once
// The grid classes above the core: the custom grid, which raises the
// published events of the hooks the core leaves open, and the published
// grid component.
#include "grid/model/BaseGrid.h"
#include "grid/view/DrawData.h"

namespace grid {

class TgxCustomGrid : public TgxBaseGrid {
public:
    using TgxBaseGrid::TgxBaseGrid;
    AnsiString ClassName() const override { return "TgxCustomGrid"; }

    // ---- painting relays (view/GridCustomRelays) ----------------------------------------------
    TgxRowLoadedEvent OnRowLoaded;
    TgxCellLoadedEvent OnCellLoaded;
    TgxGetDrawInfoEvent OnGetDrawInfo;
    TgxPaintCellEvent OnPaintCell;
    virtual void DoRowLoaded(int DataRow);
    virtual void DoCellLoaded(int DataCol, int DataRow, Variant& Value);
    virtual void DoGetDrawInfo(int DataCol, int DataRow, TgxDrawInfo& DrawInfo);
    virtual void DoPaintCell(int DataCol, int DataRow, const TRect& ARect,
                             TgxPaintCellState State, bool& Cancel);
    // Once per row per paint, then for every cell value painted or read.
    void CellLoadedEvent(int DataCol, int DataRow, TgxControlType ControlType,
                         Variant& Value) override;
    bool ActivateDoGetDrawInfo() override;
    void GetDrawInfo(int DataCol, int DataRow, TgxDrawInfo& DrawInfo) override;
    bool PaintCell(TgxDrawData& Data, const TRect& Rect, bool Selected) override;

protected:
    void Paint() override;

private:
    int FLastLoadedRow = -1;
};

// The grid a form holds; it publishes the grid's properties.
class TgxGrid : public TgxCustomGrid {
public:
    explicit TgxGrid(TComponent* AOwner);
    AnsiString ClassName() const override { return "TgxGrid"; }
};

} // namespace grid
