// The focus frame of the current cell: when it shows, how it is drawn in
// each FocusBorder look, and how it is taken away and put back around
// changes of the current cell, the selection and the focus.
#include "grid/model/BaseGrid.h"
#include "grid/model/InplaceControl.h"
#include "grid/view/GridResources.h"
#include "platform/gui/WindowScroll.h"

namespace grid {

bool TgxBaseGrid::FocusEnabled() const {
    return FFocusBorder != fbNone || FFocusColor != clNone || FFocusFontColor != clNone;
}

bool TgxBaseGrid::FocusRectActive() const {
    return FocusEnabled() && FGridMode != gmListBox && FGridStatus == grNormal;
}

bool TgxBaseGrid::FocusRectVisible(int DisplayCol, int DisplayRow) const {
    if (DisplayCol <= 0 || DisplayRow <= 0) return false;
    // Only the current cell carries an in-place control that could stand
    // for the frame.
    if (!InEditMode() || DisplayCol != Col() || DisplayRow != Row()) return true;
    auto* Self = const_cast<TgxBaseGrid*>(this);
    const int DataCol = GetDataCol(DisplayCol);
    const int DataRow = GetDataRow(DisplayRow);
    if (Self->CellIsReadOnly(DataCol, DataRow)) return true;
    // While the in-place control edits the cell it shows the focus itself.
    const TgxControlType Type = Self->GiveCellControlType(DataCol, DataRow);
    if (Type == ctText || Type == ctCheck) return false;
    // Any other cell's control, shown over it, stands for the frame too.
    const TgxCustomGridControl* Control = GridCellControl(Type);
    return !(Control && Control->GetVisible());
}

bool TgxBaseGrid::CheckCellFocusRect(int DisplayCol, int DisplayRow, bool CheckFocus) const {
    if (FFocusRectDisabled > 0 || !FocusRectActive()) return false;
    if (CheckFocus && !FAlwaysShowFocus && !Focused()) return false;
    return FocusRectVisible(DisplayCol, DisplayRow);
}

bool TgxBaseGrid::DisplayFocusRect(int DisplayCol, int DisplayRow, bool CheckFocus) const {
    if (DisplayCol != Col() || DisplayRow != Row()) return false;
    if (DisplayCol >= ColCount() || DisplayRow >= RowCount()) return false;
    return CheckCellFocusRect(DisplayCol, DisplayRow, CheckFocus);
}

void TgxBaseGrid::DrawCellFocusRect(int DisplayCol, int DisplayRow) {
    if (DisplayFocusRect(DisplayCol, DisplayRow)) DrawFocusRect(Canvas(), DisplayCol, DisplayRow);
}

void TgxBaseGrid::DrawFocusRect(TCanvas* C, int DisplayCol, int DisplayRow) {
    if (!C) return;
    const TRect Cell = CellRect(DisplayCol, DisplayRow);
    if (Cell.Right <= Cell.Left || Cell.Bottom <= Cell.Top) return;
    switch (FFocusBorder) {
    case fbDot:
    case fbDash: {
        // The dots take their colours from the canvas: the focus colours
        // when both are set, else the grid's.
        const bool Own = FFocusColor != clNone && FFocusFontColor != clNone;
        const TColor OldFont = C->Font()->Color();
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(Own ? FFocusColor : Color());
        C->Font()->SetColor(Own ? FFocusFontColor : Font()->Color());
        if (FFocusBorder == fbDot) {
            // Dots in the font colour, the gaps between them in the brush
            // colour: the frame looks the same however often the cell is
            // painted, where an inverted one would come and go.
            C->Brush()->SetBitmap(GridCheckerPattern());
            try {
                C->FrameRect(Cell);
            } catch (...) {
                C->Brush()->SetBitmap(nullptr);
                C->Font()->SetColor(OldFont);
                throw;
            }
            C->Brush()->SetBitmap(nullptr);
        } else {
            const TPenStyle OldStyle = C->Pen()->Style();
            const TPenMode OldMode = C->Pen()->Mode();
            const TColor OldPen = C->Pen()->Color();
            C->Pen()->SetColor(FFocusBorderColor);
            C->Pen()->SetStyle(psDash);
            C->Pen()->SetMode(pmCopy);
            const int Right = Cell.Right - 1;
            const int Bottom = Cell.Bottom - 1;
            C->MoveTo(Cell.Left + 1, Cell.Top);
            C->LineTo(Right, Cell.Top);
            C->LineTo(Right, Bottom);
            C->LineTo(Cell.Left, Bottom);
            C->LineTo(Cell.Left, Cell.Top);
            C->LineTo(Cell.Left + 1, Cell.Top);
            C->Pen()->SetStyle(OldStyle);
            C->Pen()->SetMode(OldMode);
            C->Pen()->SetColor(OldPen);
        }
        C->Font()->SetColor(OldFont);
        break;
    }
    case fbSingle:
    case fbDouble: {
        C->Brush()->SetStyle(bsSolid);
        C->Brush()->SetColor(FFocusBorderColor != clNone ? FFocusBorderColor : clBlack);
        // The whole box of the cell, also where the client edge cuts it.
        const TRect Box = Rect(Cell.Left + 1, Cell.Top, Cell.Left + ColWidths(DisplayCol) - 1,
                               Cell.Top + RowHeights(DisplayRow) - 1);
        if (Box.Right <= Box.Left || Box.Bottom <= Box.Top) break;
        C->FrameRect(Box);
        if (FFocusBorder == fbDouble)
            C->FrameRect(Rect(Box.Left + 1, Box.Top + 1, Box.Right - 1, Box.Bottom - 1));
        break;
    }
    default:
        break;
    }
}

void TgxBaseGrid::InvalidateFocusRect(int DisplayCol, int DisplayRow, bool WholeBox) {
    if (GetFastAssign() || !HandleAllocated()) return;
    if (!(WholeBox || FFocusBorder == fbSingle || FFocusBorder == fbDouble)) {
        CheckInvalidateCell(DisplayCol, DisplayRow);
        return;
    }
    TRect Box = CellRect(DisplayCol, DisplayRow);
    if (Box.Right <= Box.Left || Box.Bottom <= Box.Top) return;
    Box = Rect(Box.Left - 1, Box.Top - 1, Box.Left + ColWidths(DisplayCol),
               Box.Top + RowHeights(DisplayRow));
    ::InvalidateRect(this, &Box, false);
}

void TgxBaseGrid::SetFocusRectDisabled(bool Value) {
    if (Value)
        ++FFocusRectDisabled;
    else if (FFocusRectDisabled > 0)
        --FFocusRectDisabled;
}

void TgxBaseGrid::UpdateGrid(bool WithoutFrame) {
    if (!WithoutFrame) {
        Update();
        return;
    }
    SetFocusRectDisabled(true);
    try {
        Update();
    } catch (...) {
        SetFocusRectDisabled(false);
        throw;
    }
    SetFocusRectDisabled(false);
}

// The frame is painted with the cell, so taking it away is a repaint of
// the cell while the frame is off.
void TgxBaseGrid::ClearCurrentFocusRect(bool UpdateNow) {
    if (!CheckInvalidateCell(Col(), Row())) return;
    InvalidateFocusRect(Col(), Row(), false);
    if (UpdateNow) UpdateGrid(true);
}

void TgxBaseGrid::DrawCurrentFocusRect(bool UpdateNow) {
    if (!CheckInvalidateCell(Col(), Row())) return;
    InvalidateFocusRect(Col(), Row(), false);
    if (UpdateNow) UpdateGrid(false);
}

void TgxBaseGrid::FocusChanged(bool WholeBox) {
    // A picture cell shows the focus colour as its overlay.
    CheckPictureMask(false);
    InvalidateFocusRect(Col(), Row(), WholeBox);
}

void TgxBaseGrid::SetFocusBorder(TgxFocusBorder Value) {
    if (Value == FFocusBorder) return;
    // The old frame's area and the new one's.
    InvalidateFocusRect(Col(), Row(), true);
    FFocusBorder = Value;
    CheckInvalidateCell(Col(), Row());
}

void TgxBaseGrid::SetFocusBorderColor(TColor Value) {
    if (Value == FFocusBorderColor) return;
    FFocusBorderColor = Value;
    CheckInvalidateCell(Col(), Row());
}

void TgxBaseGrid::SetFocusColor(TColor Value) {
    if (Value == FFocusColor) return;
    FFocusColor = Value;
    CheckInvalidateCell(Col(), Row());
}

void TgxBaseGrid::SetFocusFontColor(TColor Value) {
    if (Value == FFocusFontColor) return;
    FFocusFontColor = Value;
    CheckInvalidateCell(Col(), Row());
}

} // namespace grid
