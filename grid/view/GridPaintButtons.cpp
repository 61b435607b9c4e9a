// The buttons inside data cells: a flat box in the button's colour while
// the mouse leaves it alone, raised under the mouse, pressed while held,
// with its picture; spin buttons as two small raised halves.
#include "grid/model/BaseGrid.h"
#include "grid/model/CellButtons.h"
#include "grid/model/DrawData.h"
#include "grid/view/GridResources.h"
#include "platform/gui/GdiLines.h"

#include <algorithm>

namespace grid {

namespace {

bool RectEmpty(const TRect& R) {
    return R.Right <= R.Left || R.Bottom <= R.Top;
}

void Fill(TCanvas* C, const TRect& R) {
    C->Brush()->SetStyle(bsSolid);
    C->FillRect(R);
}

// The separator lines left of and above a raised or pressed box.
void BoxLines(TCanvas* C, const TRect& R, TColor LineColor, bool LeftLine, bool TopLine) {
    const TColor Old = C->Pen()->Color();
    C->Pen()->SetColor(LineColor);
    if (LeftLine) {
        C->MoveTo(R.Left - 1, R.Top);
        C->LineTo(R.Left - 1, R.Bottom);
    }
    if (TopLine) {
        C->MoveTo(R.Left - 1, R.Top - 1);
        C->LineTo(R.Right, R.Top - 1);
    }
    C->Pen()->SetColor(Old);
}

// A box cut by the cell's edge shows no edge on the cut side.
unsigned UncutSides(const TRect& R, int Bottom, int FullHeight, int FullWidth) {
    unsigned Sides = 0;
    if (R.Right >= R.Left + FullWidth - 1) Sides |= BF_RIGHT;
    if (Bottom >= R.Top + FullHeight) Sides |= BF_BOTTOM;
    return Sides;
}

void DrawUpButton(TCanvas* C, const TRect& R, TColor LineColor, bool LeftLine, bool TopLine,
                  int FullHeight, int FullWidth) {
    Fill(C, R);
    BoxLines(C, R, LineColor, LeftLine, TopLine);
    TRect Edge = R;
    DrawEdge(C, Edge, BDR_RAISEDINNER, BF_TOPLEFT);
    if (const unsigned Sides = UncutSides(R, R.Bottom, FullHeight, FullWidth)) {
        Edge = R;
        DrawEdge(C, Edge, BDR_RAISEDINNER, Sides);
    }
}

void DrawDownButton(TCanvas* C, const TRect& R, TColor LineColor, bool LeftLine, bool TopLine,
                    int FullHeight, int FullWidth) {
    Fill(C, R);
    BoxLines(C, R, LineColor, LeftLine, TopLine);
    TRect Edge = R;
    if (const unsigned Sides = UncutSides(R, R.Bottom + 1, FullHeight, FullWidth)) {
        DrawEdge(C, Edge, BDR_SUNKENINNER, Sides);
        Edge = R;
    }
    DrawEdge(C, Edge, BDR_SUNKENOUTER, BF_TOPLEFT);
}

// Black of a black-and-white picture over the brush colour: the white
// around the mark takes the button's colour.
void MergeCopy(TCanvas* C, TBitmap* Picture, const TRect& Dest, int SourceLeft, int SourceTop) {
    if (RectEmpty(Dest)) return;
    const TCopyMode Old = C->CopyMode();
    C->SetCopyMode(cmMergeCopy);
    C->CopyRect(Dest, Picture->Canvas(),
                Rect(SourceLeft, SourceTop, SourceLeft + (Dest.Right - Dest.Left),
                     SourceTop + (Dest.Bottom - Dest.Top)));
    C->SetCopyMode(Old);
}

} // namespace

// ---- colours and modes ---------------------------------------------------------------------

TColor TgxBaseGrid::ButtonColor(int DisplayCol, int DisplayRow) {
    if (FInactiveButtonState == ibsBackGround) return clBtnFace;
    if (!DrawCurrentButton(DisplayCol, DisplayRow)) return clNone;
    if (CellIsReadOnly(GetDataCol(DisplayCol), GetDataRow(DisplayRow))) return clNone;
    return clBtnFace;
}

TColor TgxBaseGrid::ButtonBrushColor(TColor Color, const TgxDrawData& Data, bool Selected) const {
    if (Color != clNone) return Color;
    if (Selected && SelectionColorEnabled()) return FSelectionColor;
    if (FFocusColor != clNone && DisplayFocusRect(Data.DisplayCol, Data.DisplayRow))
        return FFocusColor;
    return Data.Color;
}

bool TgxBaseGrid::DrawCurrentButton(int DisplayCol, int DisplayRow) const {
    return DisplayCol == Col() && DisplayRow == Row() && InEditMode() && FocusEnabled();
}

bool TgxBaseGrid::CanDrawButton(int DisplayCol, int DisplayRow, bool Check) const {
    if (!Check) return true;
    if (!DrawCurrentButton(DisplayCol, DisplayRow)) return false;
    auto* Self = const_cast<TgxBaseGrid*>(this);
    return !Self->CellIsReadOnly(GetDataCol(DisplayCol), GetDataRow(DisplayRow));
}

bool TgxBaseGrid::DrawFlatButtonUp(int DisplayCol, int DisplayRow) const {
    if (FFlatButtons) return false;
    return !(FInactiveButtonState != ibsBackGround && !CanDrawButton(DisplayCol, DisplayRow, true));
}

// ---- one cell's button ----------------------------------------------------------------------

void TgxBaseGrid::DrawButtonInCell(TgxDrawData& Data, bool Selected) {
    if (!Data.HasButton || RectEmpty(Data.ButtonRect)) return;
    const TgxButtonMode Mode = CellButtonMode(Data.DisplayCol, Data.DisplayRow);
    const TColor Color =
        Mode == bmFlat ? ButtonColor(Data.DisplayCol, Data.DisplayRow) : clBtnFace;
    if (TgxBaseGrid::IsSpinButton(Data.ButtonType)) {
        if (Color != clNone)
            DrawSpinButtons(Selected, Data, Color, Mode, Mode == bmDown ? PressedSpinPart() : spbNone);
        return;
    }
    if (Color != clNone) DrawButtonBox(Color, Mode, Selected, Data);
    DrawButtonPicture(Data, Color, Mode);
}

void TgxBaseGrid::DrawButtonBox(TColor Color, TgxButtonMode Mode, bool Selected,
                                TgxDrawData& Data) {
    if (RectEmpty(Data.ButtonRect)) return;
    TgxCustomButton* Button = GridCellButton(Data.DisplayCol, Data.ButtonType);
    if (!Button) return;
    TRect R = Data.ButtonRect;
    int Height = 0;
    if (Mode != bmFlat || !FFlatButtons) {
        R.Left = std::min(R.Left + 1, R.Right);
        R.Top += 1 - FHorzLineWidth;
        Height = Button->FullHeight();
    } else {
        R.Left = std::max(R.Left + FButtonEdgeWidth, R.Right - Button->GetWidth() - FButtonEdgeWidth);
        R.Right = std::max(R.Left, R.Right - FButtonEdgeWidth);
        R.Top += FButtonEdgeWidth;
        Height = Button->GetHeight();
    }
    R.Bottom = std::min(R.Bottom, R.Top + Height);
    TCanvas* C = Canvas();
    C->Brush()->SetColor(ButtonBrushColor(Color, Data, Selected));
    const bool TopLine = FHorzLineWidth == 0;
    if (Mode == bmUp || (Mode == bmFlat && DrawFlatButtonUp(Data.DisplayCol, Data.DisplayRow))) {
        DrawUpButton(C, R, clSilver, true, TopLine, Button->FullHeight(), Button->FullWidth());
        return;
    }
    if (Mode == bmDown) {
        DrawDownButton(C, R, clSilver, true, TopLine, Button->FullHeight(), Button->FullWidth());
        return;
    }
    if (!RectEmpty(R)) Fill(C, R);
    if (!Data.Is3D) return;
    // The focus frame or the editor of the current cell covers the edge.
    const bool Current = Data.DisplayCol == Col() && Data.DisplayRow == Row();
    const bool FrameThere = DisplayFocusRect(Data.DisplayCol, Data.DisplayRow) &&
                            (FFocusBorder == fbDot || FFocusBorder == fbDash ||
                             FFocusBorder == fbDouble);
    const bool EditorThere =
        Data.EditControl && Data.ControlType == ctText && FGridStatus != grNormal;
    if (Current && (FrameThere || EditorThere)) return;
    TRect Edge = Data.ButtonRect;
    DrawEdge(C, Edge, BDR_RAISEDINNER, BF_TOP);
}

void TgxBaseGrid::DrawButtonPicture(TgxDrawData& Data, TColor Color, TgxButtonMode Mode) {
    if (Data.ButtonType == btNone || RectEmpty(Data.ButtonRect)) return;
    if (FInactiveButtonState == ibsNone && !CanDrawButton(Data.DisplayCol, Data.DisplayRow, true))
        return;
    TgxCustomButton* Button = GridCellButton(Data.DisplayCol, Data.ButtonType);
    if (!Button) return;
    TBitmap* Picture = Button->GetBitmap();
    if (!Picture || Picture->Empty())
        Picture = GridBitmap(Data.ButtonType == btNormal || Data.ButtonType == btDateTimePopup
                                 ? TgxGridBitmap::ButDetail
                                 : TgxGridBitmap::ArrowCombo);
    TCanvas* C = Canvas();
    C->Brush()->SetStyle(bsSolid);
    C->Brush()->SetColor(Color == clNone ? Data.Color : Color);
    const TRect& Inner = Data.InnerRect;
    const int Edge = FButtonEdgeWidth;
    const int W = Button->GetWidth();
    const int H = Button->GetHeight();
    const int PictureWidth = Picture->Width();
    const int PictureHeight = Picture->Height();
    const int Down = Mode == bmDown ? 1 : 0;
    const int Left = std::max(Inner.Left + Edge + 3, Inner.Right + Edge - Button->FullWidth()) +
                     std::max(0, (W - PictureWidth) / 2) + Down;
    const int Right = std::min(Left + PictureWidth, Inner.Right - Edge);
    const int Top =
        Inner.Top + 1 - FHorzLineWidth + Edge + std::max(0, (H - PictureHeight) / 2) + Down;
    const int Bottom = std::min(Top + std::min(Down ? H - 1 : H, PictureHeight), Inner.Bottom);
    const TRect Dest = Rect(Left, Top, Right, Bottom);
    if (RectEmpty(Dest)) return;
    const TColor Transparent = Button->GetTransparentColor();
    if (Transparent == clNone)
        MergeCopy(C, Picture, Dest, 0, 0);
    else
        C->BrushCopy(Dest, Picture, Rect(0, 0, Right - Left, Bottom - Top), Transparent);
}

// ---- spin buttons -----------------------------------------------------------------------------

bool TgxBaseGrid::GetSpinRects(const TgxDrawData& Data, TRect& Increment, TRect& Decrement) {
    if (!IsSpinButton(Data.ButtonType) || RectEmpty(Data.ButtonRect)) return false;
    TgxCustomButton* Button = GridCellButton(Data.DisplayCol, Data.ButtonType);
    if (!Button) return false;
    const TRect B = Data.ButtonRect;
    if (Data.ButtonType == btVertSpin) {
        const int Top = B.Top - FHorzLineWidth + 1;
        const int Half = std::min(std::max(3, (B.Bottom - Top) / 2), Button->FullHeight() / 2);
        const int Left = std::min(B.Left + 1, B.Right);
        Increment = Rect(Left, Top, B.Right, std::min(B.Bottom, Top + Half));
        Decrement = Rect(Left, Top + Half, B.Right, std::min(B.Bottom, Top + 2 * Half));
    } else {
        const int Half =
            std::min(std::max(3, (B.Right - (B.Left + 1)) / 2), Button->FullWidth() / 2);
        const int Bottom = std::min(B.Bottom, B.Top + Button->FullHeight());
        // The pair ends at the right edge; the left half steps down.
        Increment = Rect(B.Right - Half, B.Top, B.Right, Bottom);
        Decrement = Rect(B.Right - 2 * Half, B.Top, B.Right - Half, Bottom);
    }
    return true;
}

void TgxBaseGrid::DrawSpinButtons(bool Selected, TgxDrawData& Data, TColor Color,
                                  TgxButtonMode Mode, TgxSpinButton Pressed) {
    // Index 0 counts up, 1 down.
    TRect Parts[2];
    if (!GetSpinRects(Data, Parts[0], Parts[1])) return;
    const bool Vertical = Data.ButtonType == btVertSpin;
    TCanvas* C = Canvas();
    const TColor Brush = ButtonBrushColor(Color, Data, Selected);
    const bool NoLines = FHorzLineWidth == 0;
    for (int I = 0; I < 2; ++I) {
        const TRect& P = Parts[I];
        const TgxSpinButton Part = I == 0 ? spbIncrement : spbDecrement;
        const bool PartDown = Mode == bmDown && Pressed == Part;
        const bool LeftLine = Vertical || I == 1;
        const bool TopLine = NoLines && (!Vertical || I == 0);
        const int FullHeight = P.Bottom - P.Top;
        const int FullWidth = P.Right - P.Left;
        C->Brush()->SetColor(Brush);
        if (PartDown)
            DrawDownButton(C, P, clSilver, LeftLine, TopLine, FullHeight, FullWidth);
        else
            DrawUpButton(C, P, clSilver, LeftLine, TopLine, FullHeight, FullWidth);
        // The arrow, limited to the part less its edges and centred.
        TBitmap* Picture = GridBitmap(Vertical ? (I == 0 ? TgxGridBitmap::SpinUp
                                                         : TgxGridBitmap::SpinDown)
                                               : (I == 0 ? TgxGridBitmap::SpinRight
                                                         : TgxGridBitmap::SpinLeft));
        const int RoomW = Vertical ? FullWidth - 3 - 1 : FullWidth - 4;
        const int RoomH = Vertical ? FullHeight - 4 : FullHeight - 2;
        const int W = std::min(std::max(2, std::min(Picture->Width(), RoomW)), FullWidth - 2);
        const int H = std::min(std::max(2, std::min(Picture->Height(), RoomH)), FullHeight - 2);
        if (W <= 0 || H <= 0) continue;
        int Left = P.Left + (FullWidth - W) / 2;
        int Top = P.Top + (FullHeight - H) / 2;
        if ((FullHeight - H) % 2 != 0 && (!Vertical || I == 1)) ++Top;
        if ((FullWidth - W) % 2 != 0 && !Vertical && I == 0) ++Left;
        if (PartDown) {
            ++Left;
            ++Top;
        }
        const int SourceLeft = Vertical ? std::max(0, (Picture->Width() - W) / 2)
                                        : (I == 0 ? std::max(0, Picture->Width() - W) : 0);
        const int SourceTop = Vertical && I == 1 ? std::max(0, Picture->Height() - H) : 0;
        MergeCopy(C, Picture, Rect(Left, Top, std::min(Left + W, P.Right), std::min(Top + H, P.Bottom)),
                  SourceLeft, SourceTop);
    }
}

} // namespace grid
