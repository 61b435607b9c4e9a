// The grid's state questions, repaint requests and the current cell's moves
// as far as the model needs them.
#include "grid/foundation/DateTimeDefs.h"
#include "grid/foundation/GridCommonVariant.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/CellButtons.h"
#include "grid/model/CellProps.h"
#include "grid/model/Columns.h"
#include "grid/model/CurrentCell.h"
#include "grid/model/Rows.h"

#include <algorithm>

namespace grid {

bool TgxBaseGrid::InGridState() const {
    if (ComponentState().Contains(csDesigning)) return false;
    return (FGridMode == gmEdit || FGridMode == gmEditInsert || FGridMode == gmBrowse) &&
           FGridStatus == grNormal && GetGridRowCount() >= 1 && GetGridColCount() >= 1 &&
           Col() >= 1 && Row() >= 1;
}

bool TgxBaseGrid::IsInsertRow(int DisplayRow) const {
    return FGridMode == gmEditInsert && FInsertionRowShown && DisplayRow == RowCount() - 1;
}

bool TgxBaseGrid::HoldsInsertRow(int DisplayRow) const {
    return FGridMode == gmEditInsert && DisplayRow > 0 && DisplayRow == RowCount() - 1;
}

// ---- repainting --------------------------------------------------------------------------
// While redrawing is off nothing is invalidated: switching it on again
// repaints the whole grid anyway.

bool TgxBaseGrid::CheckInvalidateCol(int DisplayCol) {
    if (FPainting || !HandleAllocated() || GetFastAssign() || !GetEnableRedraw()) return false;
    if (DisplayCol < 0 || DisplayCol >= ColCount()) return false;
    InvalidateCol(DisplayCol);
    return true;
}

bool TgxBaseGrid::CheckInvalidateRow(int DisplayRow) {
    if (FPainting || !HandleAllocated() || GetFastAssign() || !GetEnableRedraw()) return false;
    if (DisplayRow < 0 || DisplayRow >= RowCount()) return false;
    InvalidateRow(DisplayRow);
    return true;
}

bool TgxBaseGrid::CheckInvalidateCell(int DisplayCol, int DisplayRow) {
    if (FPainting || !HandleAllocated() || GetFastAssign() || !GetEnableRedraw()) return false;
    if (DisplayCol < 0 || DisplayCol >= ColCount() || DisplayRow < 0 || DisplayRow >= RowCount())
        return false;
    // A row added below the screen writes each of its cells through here:
    // nothing of them shows to be repainted.
    if (!RowBelowClient(DisplayRow)) InvalidateCell(DisplayCol, DisplayRow);
    return true;
}

void TgxBaseGrid::InvalidateGridCell(int DisplayCol, int DisplayRow) {
    CheckInvalidateCell(DisplayCol, DisplayRow);
}

void TgxBaseGrid::InvalidateGridNow() {
    if (!HandleAllocated() || GetFastAssign() || Destroying()) return;
    InvalidateGrid();
}

void TgxBaseGrid::DrawCell(int, int, const TRect&, TGridDrawState) {
    // Cells are painted by the grid view's paint driver.
}

void TgxBaseGrid::DateTimeDefDeleted(TgxDateTimeDefComponent* Component) {
    // A definition made later in its memory is another one and must be
    // copied into the calendar afresh.
    if (FLastAssignedDateTime == Component) FLastAssignedDateTime = nullptr;
    for (int C = 0; C < FCols->Count(); ++C)
        if (FCols->Item(C)->DateTimeDef() == Component) FCols->Item(C)->SetDateTimeDef(nullptr);
    for (int R = 0; R < FRows->Count(); ++R)
        if (TgxRow* Row = FRows->Item(R); Row && Row->DateTimeDef() == Component) {
            Row->SetDateTimeDef(nullptr);
            FRows->CheckRemoveDataRow(R);
        }
    for (TgxCellElement* Element : FCellProps->Elements())
        if (VariantToObject(Element->GetPropValue(prDateTime, 0)) ==
            static_cast<TObject*>(Component)) {
            TgxCustomElement* E = Element;
            FCellProps->SetProperty(Element->DataCol(), Element->DataRow(), false, 0, prDateTime,
                                    ObjectToVariant(nullptr), E);
        }
}

void TgxBaseGrid::SetColPixelWidth(int DisplayCol, int Width) {
    if (DisplayCol < 0 || DisplayCol >= ColCount() || ColWidths(DisplayCol) == Width) return;
    {
        TModelSizing Sizing(*this);
        SetColWidths(DisplayCol, Width);
    }
    SingleColWidthChanged(DisplayCol);
}

void TgxBaseGrid::SetRowPixelHeight(int DisplayRow, int Height) {
    if (DisplayRow < 0 || DisplayRow >= RowCount() || RowHeights(DisplayRow) == Height) return;
    {
        TModelSizing Sizing(*this);
        SetRowHeights(DisplayRow, Height);
    }
    SingleRowHeightChanged(DisplayRow);
}

void TgxBaseGrid::ResizeRowPixels(int DisplayRow, int Height) {
    // A handler told of the resize finds the bars already fitting the new
    // height, as it always has.
    if (OnRowResized) {
        SetRowPixelHeight(DisplayRow, Height);
        RowResized(DisplayRow);
        return;
    }
    const bool Held = FHoldScrollRange;
    FHoldScrollRange = true;
    try {
        SetRowPixelHeight(DisplayRow, Height);
    } catch (...) {
        FHoldScrollRange = Held;
        throw;
    }
    FHoldScrollRange = Held;
    RowResized(DisplayRow);
}

// The buttons' sizes change the room the in-place control has beside them.
void TgxBaseGrid::SetButtonEdgeWidth(int Value) {
    if (Value == FButtonEdgeWidth) return;
    FButtonEdgeWidth = Value;
    InvalidateGridNow();
    RedisplayControl();
}

void TgxBaseGrid::SetDefaultButtonWidth(int Value) {
    if (Value == FDefaultButtonWidth) return;
    FDefaultButtonWidth = Value;
    // Buttons the program gave a picture of its own keep their size.
    for (int I : {0, 1, 4, 5})
        if (FButtons[I] && FButtons[I]->IsDefault()) FButtons[I]->SetWidth(Value);
    InvalidateGridNow();
    RedisplayControl();
}

void TgxBaseGrid::SetDefaultButtonHeight(int Value) {
    if (Value == FDefaultButtonHeight) return;
    FDefaultButtonHeight = Value;
    // Buttons the program gave a picture of its own keep their size.
    for (int I : {0, 1, 4, 5})
        if (FButtons[I] && FButtons[I]->IsDefault()) FButtons[I]->SetHeight(Value);
    InvalidateGridNow();
    RedisplayControl();
}

void TgxBaseGrid::SetSpinButtonWidth(int Value) {
    if (Value == FSpinButtonWidth) return;
    FSpinButtonWidth = Value;
    if (FButtons[2]) FButtons[2]->SetWidth(Value);
    if (FButtons[3]) FButtons[3]->SetHeight(Value);
    InvalidateGridNow();
    RedisplayControl();
}

void TgxBaseGrid::SetSpinButtonHeight(int Value) {
    if (Value == FSpinButtonHeight) return;
    FSpinButtonHeight = Value;
    if (FButtons[2]) FButtons[2]->SetHeight(Value);
    if (FButtons[3]) FButtons[3]->SetWidth(Value);
    InvalidateGridNow();
    RedisplayControl();
}

} // namespace grid
