// The fixed cells: the heading row with its texts, the row bar with the
// mark of the current row, and the frame lines between fixed cells.
#include "grid/foundation/GridCommonControls.h"
#include "grid/foundation/GridCommonText.h"
#include "grid/foundation/TextLayoutPaint.h"
#include "grid/model/BaseGrid.h"
#include "grid/model/Columns.h"
#include "grid/model/GridTypes.h"
#include "grid/model/InplaceControl.h"
#include "grid/model/DrawData.h"
#include "grid/view/GridResources.h"
#include "platform/gui/GdiLines.h"
#include "platform/gui/WindowScroll.h"

#include <algorithm>

namespace grid {

// The fixed cell's colour and edge come before the application's paint
// hook, so a hook that paints nothing still leaves the heading colour.
void TgxBaseGrid::DrawFixedCellUnselected(const TgxDrawData& Data) {
    TCanvas* C = Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Data.Color);
    C->FillRect(Data.InnerRect);
    // The heading the mouse holds down (not by its button) shows sunken.
    const bool Held = Data.DisplayRow == 0 && HeadingHeld(Data.DataCol) &&
                      !HeadingButtonHeld(Data.DataCol);
    if (Held || FHeading3D) {
        TRect Edge = Data.InnerRect;
        DrawEdge(C, Edge, Held ? BDR_SUNKENINNER : BDR_RAISEDINNER, BF_TOPLEFT);
    }
}

void TgxBaseGrid::DrawHeadingCell(TgxDrawData& Data) {
    TCanvas* C = Canvas();
    if (Data.DisplayCol == 0) {
        // The insertion row shows its own mark, unless it is current and a
        // descendant draws no insertion mark.
        const bool Current = Data.DisplayRow > 0 && Data.DisplayRow == Row();
        if (Data.DisplayRow > 0 && IsInsertRow(Data.DisplayRow) && !(Current && !CanDrawInsert()))
            DrawInsert();
        else if (Current && !CellPaintSelected(0, Data.DisplayRow))
            // A selected current row gets its mark after the inversion.
            DrawCurrent(Data.DisplayRow);
        return;
    }
    if (Data.DisplayRow != 0 || Data.DataCol >= FCols->Count()) return;
    AnsiString Text;
    int AccelPos = 0;
    TextAccelKey(FCols->Item(Data.DataCol)->GetHeading(), Text, AccelPos);
    if (Data.TextRect.Left + 3 < Data.TextRect.Right && !Text.empty()) {
        UsePaintFont(Data.Font ? Data.Font : FHeadingFont.get());
        DisplayText(C, Text, RowHeights(0) - FHorzLineWidth, Data.TextRect, Data.TextRect.Left + 3,
                    Data.TextRect.Top, HorzAlignmentToAlignment(Data.HorzAlignment),
                    Data.VertAlignment, Data.WordWrap != uiOff, AccelPos);
        // The text's background covered the raised edge; a heading held down
        // moved its text off its sunken one.
        if (Data.Is3D &&
            !(HeadingHeld(Data.DataCol) && !HeadingButtonHeld(Data.DataCol))) {
            TRect Edge = Data.InnerRect;
            DrawEdge(C, Edge, BDR_RAISEDINNER, BF_TOPLEFT);
        }
    }
    DrawHeadingButton(C, Data.DisplayCol, Data);
}

// ---- heading buttons and sort pictures
// -----------------------------------------------------------

void TgxBaseGrid::GetHeadDrawData(int DisplayCol, TgxDrawData& Data) {
    if (FVertLineWidth == 0) {
        --Data.InnerRect.Right;
        if (!Data.Is3D) --Data.TextRect.Right;
    }
    if (FHorzLineWidth == 0) {
        --Data.InnerRect.Bottom;
        if (!Data.Is3D) --Data.TextRect.Bottom;
    }
    --Data.TextRect.Right;
    const int DataCol = GetDataColnr(DisplayCol);
    if (DataCol < 1 || DataCol >= FCols->Count()) return;
    if (HeadingHeld(DataCol) && !HeadingButtonHeld(DataCol)) {
        ++Data.TextRect.Left;
        ++Data.TextRect.Top;
    }
    const TgxCol* Col = FCols->Item(DataCol);
    Data.HasButton = ButtonInColHeading(DisplayCol) ||
                     (IsColHeadingButton(DisplayCol) && Col->SortPicture() != spNone);
    if (!Data.HasButton) return;
    const TRect& Cell = Data.InnerRect;
    if (Data.HorzAlignment == htaRight) {
        Data.TextRect.Left += 12;
        Data.ButtonRect.Left = Cell.Left;
        Data.ButtonRect.Right = Cell.Left + std::min(Cell.Right - Cell.Left, 14);
    } else {
        Data.TextRect.Right -= 13;
        Data.ButtonRect.Left = std::max(Cell.Left + 3, Data.TextRect.Right);
        Data.ButtonRect.Right = Cell.Right;
    }
    Data.ButtonRect.Top = Cell.Top + 1;
    Data.ButtonRect.Bottom = std::min(Cell.Bottom + 1, GetHeadingHeight() + Cell.Top - 1) + 1;
    if (HeadingHeld(DataCol)) {
        ++Data.ButtonRect.Right;
        --Data.ButtonRect.Bottom;
    }
}

TBitmap* TgxBaseGrid::DoGetSortPicture(TgxSortPicture Picture) {
    switch (Picture) {
    case spUp:
        return GridBitmap(TgxGridBitmap::SortUp);
    case spDown:
        return GridBitmap(TgxGridBitmap::SortDown);
    case spBullet:
        return GridBitmap(TgxGridBitmap::SortBullet);
    default:
        return nullptr;
    }
}

void TgxBaseGrid::DrawHeadingButton(TCanvas* C, int DisplayCol, TgxDrawData& Data) {
    if (!Data.HasButton || Data.TextRect.Right >= Data.InnerRect.Right) return;
    const int DataCol = GetDataColnr(DisplayCol);
    const TgxCol* Col = FCols->Item(DataCol);
    const TRect B = Data.ButtonRect;
    const bool RightAligned = Data.HorzAlignment == htaRight;
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(GiveCellColor(DataCol, 0, false));
    const bool Boxed = ButtonInColHeading(DisplayCol);
    if (Boxed)
        C->FillRect(Rect(RightAligned ? B.Left + 1 : B.Left - 1, B.Top,
                         std::min(B.Right, Data.InnerRect.Right + 1), B.Bottom - 1));
    // While a heading is held its picture sits one pixel further in.
    const int Press = HeadingHeld(DataCol) ? 1 : 0;
    if (TBitmap* Picture = DoGetSortPicture(Col->SortPicture())) {
        const int Width = std::min(B.Right - B.Left - Press - 2, 11);
        const int Height = std::min(13 - Press, B.Bottom - B.Top - Press - 1);
        if (Width > 0 && Height > 0) {
            const int Left =
                B.Left + Press + 2 - (RightAligned && Col->SortPicture() != spBullet ? 1 : 0);
            const int Top = B.Top + Press;
            // Black in the picture takes the heading colour.
            C->BrushCopy(Rect(Left, Top, Left + Width, Top + Height), Picture,
                         Rect(0, 0, Width, Height), clBlack);
        }
    }
    if (!Boxed) return;
    const TPenStyle OldStyle = C->Pen()->Style();
    const TPenMode OldMode = C->Pen()->Mode();
    const int OldWidth = C->Pen()->Width();
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetMode(pmCopy);
    C->Pen()->SetWidth(1);
    if (HeadingButtonHeld(DataCol))
        DrawHeadingButtonDown(C, B, RightAligned);
    else
        DrawHeadingButtonUp(C, B, HeadingHeld(DataCol));
    C->Pen()->SetStyle(OldStyle);
    C->Pen()->SetMode(OldMode);
    C->Pen()->SetWidth(OldWidth);
}

bool TgxBaseGrid::MouseOverHeadingButton(int X, int Y, int DisplayCol) {
    if (!ButtonInColHeading(DisplayCol)) return false;
    TgxDrawData Data;
    GetDrawData(DisplayCol, 0, Data, true);
    const TRect& B = Data.ButtonRect;
    // Only the top of a tall heading acts as the button.
    const int Bottom = std::min(B.Bottom, B.Top + 14);
    return X >= B.Left && X < B.Right && Y < Bottom;
}

bool TgxBaseGrid::SelectCell(int ACol, int ARow) {
    if (ARow != Row()) {
        CheckInvalidateCell(0, Row());
        CheckInvalidateCell(0, ARow);
    }
    return TCustomGrid_ts::SelectCell(ACol, ARow);
}

void TgxBaseGrid::DrawFixedCellFrame(const TRect& Rect, TColor Color) {
    TCanvas* C = Canvas();
    C->Pen()->SetStyle(psSolid);
    C->Pen()->SetColor(Color);
    C->MoveTo(Rect.Right - 1, Rect.Top);
    C->LineTo(Rect.Right - 1, Rect.Bottom);
    C->MoveTo(Rect.Left, Rect.Bottom - 1);
    C->LineTo(Rect.Right, Rect.Bottom - 1);
}

bool TgxBaseGrid::DrawRowChangedIndicator(int DataRow) const {
    if (FRowChangedIndicator == riOn && IsRowChanged(DataRow)) return true;
    return FRowChangedIndicator != riOff && FRowEditing;
}

void TgxBaseGrid::DrawCurrent(int DisplayRow) {
    DrawCurrentMark(DisplayRow, cmMergeCopy);
}

void TgxBaseGrid::DrawCurrentSelected(int DisplayRow) {
    DrawCurrentMark(DisplayRow, cmMergePaint);
}

// MERGECOPY puts the mark's black on the heading colour; MERGEPAINT, for a
// selected row, shows it light on the selection instead.
void TgxBaseGrid::DrawCurrentMark(int DisplayRow, TCopyMode Mode) {
    if (!FRowBarIndicator || !GetRowBarOn() || !HandleAllocated() || !RowInView(DisplayRow))
        return;
    // Outside a paint, with painting held, the cell waits for the next paint.
    if (!FPainting && !CanPaint()) {
        CheckInvalidateCell(0, DisplayRow);
        return;
    }
    const bool Changed = DrawRowChangedIndicator(GetDataRow(DisplayRow));
    if (!Changed && CanDrawInsert()) {
        DrawInsert();
        return;
    }
    TBitmap* Mark = GridBitmap(Changed ? TgxGridBitmap::ChangedRow : TgxGridBitmap::DotArrowRight);
    TRect Cell = CellRect(0, DisplayRow);
    if (FVertLineWidth == 0) --Cell.Right;
    if (FHorzLineWidth == 0) --Cell.Bottom;
    if (Cell.Right <= Cell.Left || Cell.Bottom <= Cell.Top) return;
    const int W = Mark->Width();
    const int H = Mark->Height();
    const int CellWidth = Cell.Right - Cell.Left;
    const int RowHeight = Cell.Bottom - Cell.Top;
    const int Left = Cell.Left + std::max(1, (CellWidth - 1) / 2 - W / 2 + 1);
    TgxVertAlignment Align = FRowBarAlignment == vtaDefault ? FVertAlignment : FRowBarAlignment;
    const int T = Canvas()->TextHeight("X");
    int Offset = 0;
    if (Align == vtaCenter)
        Offset = std::max(1, RowHeight / 2 - H / 2);
    else if (Align == vtaBottom)
        Offset = T / 2 - H / 2 + RowHeight - T - 1;
    else
        Offset = std::max(1, T / 2 - H / 2);
    const int Top = std::max(Cell.Top + 1, Cell.Top + Offset);
    const TRect Dest =
        Rect(Left, Top, std::min(Cell.Right, Left + W), std::min(Cell.Bottom, Top + H));
    if (Dest.Right <= Dest.Left || Dest.Bottom <= Dest.Top) return;
    TCanvas* C = Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(FHeadingColor);
    // Cut at the bottom of a bottom-aligned grid, the picture shows its lower part.
    const int SourceTop = FVertAlignment == vtaBottom ? H - (Dest.Bottom - Dest.Top) : 0;
    C->SetCopyMode(Mode);
    C->CopyRect(Dest, Mark->Canvas(),
                Rect(0, SourceTop, Dest.Right - Dest.Left, SourceTop + Dest.Bottom - Dest.Top));
    C->SetCopyMode(cmSrcCopy);
}

void TgxBaseGrid::SetSelectionColor(TColor Value) {
    if (Value == FSelectionColor) return;
    FSelectionColor = Value;
    if (FGridStatus != grNormal) InvalidateGridNow();
}

void TgxBaseGrid::SetSelectionType(TgxSelectionType Value) {
    if (Value == FSelectionType) return;
    FSelectionType = Value;
    if (FGridStatus != grNormal) InvalidateGridNow();
}

void TgxBaseGrid::SetSelectionFontColor(TColor Value) {
    if (Value == FSelectionFontColor) return;
    FSelectionFontColor = Value;
    if (FGridStatus != grNormal) InvalidateGridNow();
}

bool TgxBaseGrid::CanClickHeading(int X, int Y, int DisplayCol) {
    if (DisplayCol < 1 || DisplayCol > GetGridColCount()) return false;
    if (FHeadingDownCol != -1 && FHeadingDownCol != GetDataCol(DisplayCol)) return false;
    if (FGridStatus == grColSelect && FColSelection.GetSelected(DisplayCol)) return false;
    if (MouseOverHeadingButton(X, Y, DisplayCol)) return true;
    return IsColHeadingButton(DisplayCol) && GetHeadingOn() && Y <= GetHeadingHeight();
}

bool TgxBaseGrid::InClipRect(const TRect& Rect) {
    const TRect Clip = Canvas()->ClipRect();
    return !(Clip.Right < Rect.Left || Clip.Left + FVertLineWidth - 1 >= Rect.Right ||
             Clip.Bottom < Rect.Top || Clip.Top + FHorzLineWidth - 1 >= Rect.Bottom);
}

} // namespace grid
