// The custom grid's relays of the painting hooks to its published events.
#include "grid/model/Combo.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/GxGrid.h"

namespace grid {

void TgxCustomGrid::DoRowLoaded(int DataRow) {
    if (OnRowLoaded) OnRowLoaded(this, DataRow);
}

void TgxCustomGrid::DoCellLoaded(int DataCol, int DataRow, Variant& Value) {
    if (OnCellLoaded) OnCellLoaded(this, DataCol, DataRow, Value);
}

void TgxCustomGrid::DoTopLeftChanged(int OldCol, int OldRow, int NewCol, int NewRow, bool ByUser) {
    if (OnTopLeftChanged && CanActivateEvent())
        OnTopLeftChanged(this, OldCol, OldRow, NewCol, NewRow, ByUser);
}

void TgxCustomGrid::TopLeftChangedEvent(int OldLeftCol, int OldTopRow, bool ByUser, int NewTopRow,
                                        int NewLeftCol) {
    if (OldLeftCol != NewLeftCol || OldTopRow != NewTopRow)
        DoTopLeftChanged(OldLeftCol, OldTopRow, NewLeftCol, NewTopRow, ByUser);
}

void TgxCustomGrid::DoCanSelectRow(int AnchorRow, const Variant& DataRow, bool& Cancel) {
    Cancel = false;
    if (!OnCanSelectRow) return;
    // The anchor is kept as a display row; the handler sees data rows.
    const int Anchor = AnchorRow >= 1 && AnchorRow < RowCount() ? GetDataRow(AnchorRow) : -1;
    OnCanSelectRow(this, Anchor, DataRow.AsInteger(), Cancel);
}

void TgxCustomGrid::DoComboCellLoaded(TgxComboGrid* Combo, int DataCol, int DataRow,
                                      Variant& Value) {
    if (OnComboCellLoaded) OnComboCellLoaded(this, Combo, DataCol, DataRow, Value);
}

void TgxCustomGrid::DoGetDrawInfo(int DataCol, int DataRow, TgxDrawInfo& DrawInfo) {
    if (OnGetDrawInfo) OnGetDrawInfo(this, DataCol, DataRow, DrawInfo);
}

void TgxCustomGrid::DoPaintCell(int DataCol, int DataRow, const TRect& ARect,
                                TgxPaintCellState State, bool& Cancel) {
    if (OnPaintCell) OnPaintCell(this, DataCol, DataRow, ARect, State, Cancel);
}

void TgxCustomGrid::CellLoadedEvent(int DataCol, int DataRow, TgxControlType ControlType,
                                    Variant& Value) {
    if (DataRow != FLastLoadedRow) {
        FLastLoadedRow = DataRow;
        DoRowLoaded(DataRow);
    }
    const bool Old = InCellLoaded();
    SetInCellLoaded(true);
    try {
        DoCellLoaded(DataCol, DataRow, Value);
        // A list's cells are its owning grid's to see as well (a list marks
        // itself one, so other grids read their cells without the cast).
        if (auto* List = IsComboGrid() ? dynamic_cast<TgxComboGrid*>(this) : nullptr)
            if (auto* Owner = dynamic_cast<TgxCustomGrid*>(List->GetParentGrid()))
                Owner->DoComboCellLoaded(List, DataCol, DataRow, Value);
    } catch (...) {
        SetInCellLoaded(Old);
        throw;
    }
    SetInCellLoaded(Old);
    if (Value.IsEmpty()) return;
    // A text cell takes a handler's value as text; any other value must
    // suit its cell.
    // A text already is one: no copy of it is made (rows are measured through here).
    if (ControlType == ctText && Value.Type() != varString) Value = CheckStrValue(ctText, Value);
    CheckVarType(ControlType, Value);
}

bool TgxCustomGrid::ActivateDoGetDrawInfo() {
    return static_cast<bool>(OnGetDrawInfo);
}

void TgxCustomGrid::GetDrawInfo(int DataCol, int DataRow, TgxDrawInfo& DrawInfo) {
    DoGetDrawInfo(DataCol, DataRow, DrawInfo);
}

bool TgxCustomGrid::PaintCell(TgxDrawData& Data, const TRect& Rect, bool Selected) {
    if (Data.DisplayCol <= 0 || Data.DisplayRow < 0) return false;
    if (Rect.Right <= Rect.Left || Rect.Bottom <= Rect.Top || !OnPaintCell) return false;
    const bool Heading = Data.DisplayRow == 0;
    Canvas()->Brush()->SetColor(Heading ? HeadingColor() : Color());
    Canvas()->SetFont(Heading ? HeadingFont() : Font());
    TgxPaintCellState State;
    if (Selected) State.Include(psSelected);
    if (Data.DisplayCol == Col() && Data.DisplayRow == Row()) State.Include(psCurrent);
    if (Data.DisplayCol < FixedCols() || Data.DisplayRow < FixedRows()) State.Include(psFixed);
    bool Cancel = false;
    DoPaintCell(Data.DataCol, Data.DataRow, Data.TextRect, State, Cancel);
    return Cancel;
}

void TgxCustomGrid::Paint() {
    FLastLoadedRow = -1;
    TgxBaseGrid::Paint();
}

} // namespace grid
