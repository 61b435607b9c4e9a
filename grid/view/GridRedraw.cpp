// What keeps the grid from painting while it is changed in bulk: the paint
// and redraw counters, fast assign, and the invalidation that respects
// them; also the settings whose change repaints the whole grid.
#include "grid/model/BaseGrid.h"
#include "grid/model/Combo.h"
#include "platform/gui/Messages.h"

#include <algorithm>

namespace grid {

// ---- painting and redrawing ----------------------------------------------------------------

// What waited for painting to come back is done once it does.
void TgxBaseGrid::PaintResumed() {
    if (FComboExtentsPending) {
        FComboExtentsPending = false;
        if (auto* List = dynamic_cast<TgxComboGrid*>(this))
            if (TgxBaseGrid* Owner = GetParentGrid())
                Owner->UpdateComboExtents(List->DropDownCols(), List->DropDownRows(), true);
    }
    // A paint the window asked for meanwhile was left out: it is due now.
    if (FPaintSkipped && CanPaint()) {
        FPaintSkipped = false;
        InvalidateGridNow();
    }
}

void TgxBaseGrid::SetEnableRedraw(bool Enable) {
    if (!Enable)
        ++FRedrawLock;
    else if (FRedrawLock > 0)
        --FRedrawLock;
    SetRedraw(GetEnableRedraw());
}

void TgxBaseGrid::SetRedraw(bool Enable) {
    if (!HandleAllocated()) return;
    Perform(WM_SETREDRAW, Enable ? 1 : 0, 0);
    if (!Enable) return;
    FPaintSkipped = false;
    InvalidateGridNow();
    Update();
}

void TgxBaseGrid::SetSetComboExtents(bool Enable) {
    if (!Enable)
        ++FComboExtentsLock;
    else if (FComboExtentsLock > 0)
        --FComboExtentsLock;
}

// ---- fast assign ----------------------------------------------------------------------------

void TgxBaseGrid::SetFastAssign(bool On) {
    if (On) {
        if (!GetFastAssign()) InitFastAssign();
        ++FFastAssign;
        return;
    }
    if (FFastAssign == 0) return;
    --FFastAssign;
    if (!GetFastAssign()) EndFastAssign();
}

void TgxBaseGrid::InitFastAssign() {
    SetEnablePaint(false);
    // Hidden on request, so that the grid taking the focus back does not
    // show it again before the end.
    HideGridControl(true);
    FPendingCheckTopLeft = FPendingTopLeftMoved = false;
}

void TgxBaseGrid::EndFastAssign() {
    try {
        PerformFastAssignActions();
        ShowGridControl();
        InvalidateGridNow();
    } catch (...) {
        SetEnablePaint(true);
        throw;
    }
    SetEnablePaint(true);
}

void TgxBaseGrid::Loaded() {
    TCustomGrid_ts::Loaded();
    FReadCellItems.clear();
    // A load defers as a fast assignment does; its end does the rest.
    if (FFastAssign > 0) return;
    PerformFastAssignActions();
    InvalidateGridNow();
}

void TgxBaseGrid::PerformFastAssignActions() {
    const bool Check = FPendingCheckTopLeft;
    const bool Moved = FPendingTopLeftMoved;
    FPendingCheckTopLeft = FPendingTopLeftMoved = false;
    if (Check) CheckTopLeft(true);
    if (Moved && HandleAllocated()) TopLeftChanged();
}

// ---- invalidation ---------------------------------------------------------------------------

void TgxBaseGrid::InvalidateWidgetArea(const TRect* R) {
    if (GetFastAssign()) return;
    TCustomGrid_ts::InvalidateWidgetArea(R);
}

void TgxBaseGrid::Update() {
    if (GetFastAssign()) return;
    TCustomGrid_ts::Update();
}

void TgxBaseGrid::InvalidateCell(int DisplayCol, int DisplayRow) {
    if (GetFastAssign()) return;
    TCustomGrid_ts::InvalidateCell(DisplayCol, DisplayRow);
}

void TgxBaseGrid::InvalidateRow(int DisplayRow) {
    if (!HandleAllocated() || GetFastAssign()) return;
    InvalidateRect(TGridRect{LeftCol(), DisplayRow, MaxVisibleCol(), DisplayRow});
    if (GetRowBarOn() || FixedCols() > 1)
        InvalidateRect(
            TGridRect{0, DisplayRow, std::min(MaxVisibleCol(), FLastFixedCol), DisplayRow});
}

void TgxBaseGrid::InvalidateCol(int DisplayCol) {
    if (!HandleAllocated() || GetFastAssign()) return;
    InvalidateRect(TGridRect{DisplayCol, TopRow(), DisplayCol, MaxVisibleRow()});
    if (GetHeadingOn() || FixedRows() > 1)
        InvalidateRect(
            TGridRect{DisplayCol, 0, DisplayCol, std::min(MaxVisibleRow(), FLastFixedRow)});
}

// ---- settings that repaint everything ----------------------------------------------------------

void TgxBaseGrid::SetDrawOverlap(TgxDrawOverlap Value) {
    if (Value == FDrawOverlap) return;
    FDrawOverlap = Value;
    InvalidateGridNow();
    RedisplayControl(false);
    CheckGridData(-1, -1);
}

} // namespace grid
