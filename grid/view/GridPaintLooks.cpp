// How the mouse shows on what it touches: a cell button raised under it
// and pressed while held, a heading (or its button) pressed while held.
#include "grid/model/BaseGrid.h"
#include "grid/model/Columns.h"
#include "platform/gui/GdiLines.h"

#include <algorithm>

namespace grid {

TgxBaseGrid::TgxButtonMode TgxBaseGrid::CellButtonMode(int DisplayCol, int DisplayRow) const {
    if (MouseStatus() == msButtonDown && PressedButtonCol() == DisplayCol &&
        PressedButtonRow() == DisplayRow)
        return bmDown;
    if (HotButtonCol() == DisplayCol && HotButtonRow() == DisplayRow) return bmUp;
    return bmFlat;
}

bool TgxBaseGrid::HeadingHeld(int DataCol) const {
    return DataCol >= 1 && HeadingDownCol() == DataCol && HeadingPressed();
}

bool TgxBaseGrid::HeadingButtonHeld(int DataCol) const {
    return HeadingHeld(DataCol) && HeadingIsButton();
}

void TgxBaseGrid::DrawHeadingButtonUp(TCanvas* C, const TRect& B, bool Held) {
    const int Right = std::min(B.Right, B.Left + 13);
    const int Bottom = std::min(B.Bottom - 1, B.Top + 13);
    C->Pen()->SetColor(clWhite);
    C->MoveTo(B.Left, Bottom);
    C->LineTo(B.Left, B.Top);
    C->LineTo(Right, B.Top);
    C->Pen()->SetColor(clBtnShadow);
    if (B.Bottom - B.Top > 13) {
        C->MoveTo(B.Left, B.Top + 12);
        C->LineTo(Right, B.Top + 12);
    }
    if (B.Right - B.Left >= 14 && !Held) {
        C->MoveTo(B.Left + 13, B.Top);
        C->LineTo(B.Left + 13, Bottom + 1);
    }
}

void TgxBaseGrid::DrawHeadingButtonDown(TCanvas* C, const TRect& B, bool RightAligned) {
    const int Right = std::min(B.Right, B.Left + 14);
    const int Bottom = std::min(B.Bottom - 1, B.Top + 14);
    C->Pen()->SetColor(clBlack);
    C->MoveTo(B.Left, Bottom);
    C->LineTo(B.Left, B.Top);
    C->LineTo(Right, B.Top);
    C->Pen()->SetColor(clBtnShadow);
    if (RightAligned && B.Right - B.Left >= 14) {
        C->MoveTo(B.Left + 13, B.Top);
        C->LineTo(B.Left + 13, Bottom + 1);
    }
    if (B.Bottom - B.Top > 14) {
        C->MoveTo(B.Left, B.Top + 12);
        C->LineTo(Right, B.Top + 12);
    }
}

} // namespace grid
