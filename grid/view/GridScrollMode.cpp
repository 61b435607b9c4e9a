// Moving the pixels already on screen when the top-left cell changes: the
// strip that came into view is repainted, the rest is moved. Keyboard moves
// scroll "around" the in-place control or the selected row so that these
// stay where they are; auto-scroll waits between its steps.
#include "grid/model/BaseGrid.h"
#include "platform/gui/Messages.h"
#include "platform/gui/PendingInput.h"
#include "platform/gui/WindowScroll.h"
#include "platform/rtl/DateTime.h"

#include <algorithm>
#include <cstdlib>

namespace grid {

namespace {

bool Empty(const TRect& R) {
    return R.Right <= R.Left || R.Bottom <= R.Top;
}

} // namespace

void TgxBaseGrid::SetScrollMode(TgxScrollMode Mode) {
    FScrollMode = Mode;
    FControlRect = BoxRect(Col(), Row(), Col(), Row());
    if (!Empty(FControlRect)) {
        FControlRect.Left += 3;
        // A solid frame is drawn inside the cell, over its first pixels.
        if (DisplayFocusRect(Col(), Row()) &&
            (FFocusBorder == fbSingle || FFocusBorder == fbDouble)) {
            --FControlRect.Left;
            --FControlRect.Top;
        }
    }
    FRowSelectRect = CellRect(0, Row());
}

void TgxBaseGrid::ResetScrollMode() {
    FScrollMode = smWindow;
}

void TgxBaseGrid::ScrollGrid(int ALeft, int ATop, TgxScrollMode Mode) {
    SetScrollMode(Mode);
    try {
        if (ALeft != LeftCol() && ATop != TopRow())
            MoveTopLeft(ALeft, ATop);
        else if (ALeft != LeftCol())
            SetLeftCol(ALeft);
        else if (ATop != TopRow())
            SetTopRow(ATop);
    } catch (...) {
        ResetScrollMode();
        throw;
    }
    ResetScrollMode();
}

void TgxBaseGrid::ScrollDataInfo(int DX, int DY, const TGridDrawInfo& DrawInfo) {
    if (DX == 0 && DY == 0) return;
    if (!CanPaint() || GetFastAssign()) {
        InvalidateGridNow();
        return;
    }
    switch (FScrollMode) {
    case smWindow:
        if (DX == 0)
            DY < 0 ? ScrollUp(DY) : ScrollDown(DY);
        else if (DY == 0)
            DX < 0 ? ScrollLeft(DX) : ScrollRight(DX);
        else
            TCustomGrid_ts::ScrollDataInfo(DX, DY, DrawInfo);
        break;
    case smGridControl:
        if (DY == 0)
            ScrollControlHorizontal(DX);
        else if (DX != 0)
            TCustomGrid_ts::ScrollDataInfo(DX, DY, DrawInfo);
        else if (Empty(FControlRect))
            ScrollRowSelect(DY);
        else
            ScrollControlVertical(DY);
        break;
    case smRowSelect:
        if (DY != 0) ScrollRowSelect(DY);
        if (DX != 0) TCustomGrid_ts::ScrollDataInfo(DX, 0, DrawInfo);
        break;
    }
}

void TgxBaseGrid::ScrollRect(int Left, int Top, bool Horizontal, int Distance, int Bottom,
                             int Right) {
    const TRect R = Rect(Left, Top, Right, Bottom);
    if (Empty(R)) return;
    ScrollWindowEx(this, Horizontal ? Distance : 0, Horizontal ? 0 : Distance, &R, &R, nullptr,
                   SW_INVALIDATE);
}

// Validating the strip, painting what else is due and invalidating the
// strip again paints the uncovered strip after everything else.
void TgxBaseGrid::RepaintStrip(const TRect& Strip) {
    if (Empty(Strip)) return;
    ValidateRect(this, &Strip);
    Update();
    ::InvalidateRect(this, &Strip, false);
}

int TgxBaseGrid::GetScrollHeight(int DY) const {
    int H = std::abs(DY) + FFixedHeight;
    for (int R = TopRow(); R < RowCount(); ++R) {
        const int Next = RowHeights(R);
        if (H + Next > ClientHeight()) break;
        H += Next;
    }
    return H;
}

int TgxBaseGrid::GetScrollWidth(int DX) const {
    int W = std::abs(DX) + FFixedWidth;
    for (int C = LeftCol(); C < ColCount(); ++C) {
        const int Next = ColWidths(C);
        if (W + Next > ClientWidth()) break;
        W += Next;
    }
    return W;
}

void TgxBaseGrid::ScrollUp(int DY) {
    const int Area = ClientHeight() - FFixedHeight;
    if (ClientHeight() - FFixedHeight - std::abs(DY) < Area / 5) {
        InvalidateDataArea(false);
        return;
    }
    const int D = std::min(ClientHeight(), GetScrollHeight(DY));
    ScrollRect(0, FFixedHeight, false, DY, D, ClientWidth());
    RepaintStrip(Rect(0, D + DY, ClientWidth(), ClientHeight()));
}

void TgxBaseGrid::ScrollDown(int DY) {
    const int Area = ClientHeight() - FFixedHeight;
    if (ClientHeight() - FFixedHeight - std::abs(DY) < Area / 5) {
        InvalidateDataArea(false);
        return;
    }
    ScrollRect(0, FFixedHeight, false, DY, GetMaxScrollHeight(), ClientWidth());
    RepaintStrip(Rect(0, FFixedHeight - 1, ClientWidth(), FFixedHeight + DY));
}

void TgxBaseGrid::ScrollLeft(int DX) {
    const int Area = ClientWidth() - FFixedWidth;
    if (ClientWidth() - FFixedWidth - std::abs(DX) < Area / 5) {
        InvalidateDataArea(true);
        return;
    }
    const int D = std::min(ClientWidth(), GetScrollWidth(DX));
    ScrollRect(FFixedWidth, 0, true, DX, ClientHeight(), D);
    RepaintStrip(Rect(D + DX, 0, ClientWidth(), ClientHeight()));
}

void TgxBaseGrid::ScrollRight(int DX) {
    const int Area = ClientWidth() - FFixedWidth;
    if (ClientWidth() - FFixedWidth - std::abs(DX) < Area / 5) {
        InvalidateDataArea(true);
        return;
    }
    ScrollRect(FFixedWidth, 0, true, DX, ClientHeight(), ClientWidth());
    RepaintStrip(Rect(FFixedWidth - 1, 0, FFixedWidth + DX, ClientHeight()));
}

void TgxBaseGrid::InvalidateDataArea(bool Across) {
    const TRect R = Across ? Rect(FFixedWidth, 0, ClientWidth(), ClientHeight())
                           : Rect(0, FFixedHeight, ClientWidth(), ClientHeight());
    ::InvalidateRect(this, &R, false);
}

void TgxBaseGrid::ScrollControlVertical(int DY) {
    const TRect& C = FControlRect;
    if (DY < 0) {
        if (FFixedHeight < DY + C.Bottom) {
            ScrollRect(0, FFixedHeight, false, DY, C.Top, ClientWidth());
            RepaintStrip(Rect(0, DY + C.Top, ClientWidth(), ClientHeight()));
        } else {
            ScrollUp(DY);
        }
    } else if (DY + C.Top < ClientHeight()) {
        ScrollRect(0, C.Bottom, false, DY, GetMaxScrollHeight(), ClientWidth());
        RepaintStrip(Rect(0, FFixedHeight, ClientWidth(), DY + C.Bottom));
    } else {
        ScrollDown(DY);
    }
    Update();
}

void TgxBaseGrid::ScrollControlHorizontal(int DX) {
    const TRect& C = FControlRect;
    if (DX < 0) {
        ScrollRect(FFixedWidth, 0, true, DX, ClientHeight(), C.Left - 3);
        RepaintStrip(Rect(C.Left + DX - 3, 0, ClientWidth(), ClientHeight()));
    } else {
        ScrollRect(C.Right, 0, true, DX, ClientHeight(), ClientWidth());
        RepaintStrip(Rect(FFixedWidth, 0, DX + C.Right, ClientHeight()));
    }
    Update();
}

void TgxBaseGrid::ScrollRowSelect(int DY) {
    const TRect& S = FRowSelectRect;
    TRect Strip;
    if (DY < 0) {
        ScrollRect(0, FFixedHeight, false, DY, S.Top, ClientWidth());
        Strip = Rect(0, DY + S.Top, ClientWidth(), ClientHeight());
    } else {
        const int B = std::max(S.Bottom + FHorzLineWidth, FFixedHeight);
        ScrollRect(0, B, false, DY, GetMaxScrollHeight(), ClientWidth());
        Strip = Rect(0, FFixedHeight, ClientWidth(), DY + B);
    }
    RepaintStrip(Strip);
    Update();
}

void TgxBaseGrid::HideControlBeforeScroll(bool Invalidate) {
    HideGridControl(false);
    if (Invalidate && InEditMode()) CheckInvalidateCell(Col(), Row());
}

void TgxBaseGrid::ShowControlAfterScroll() {
    ShowGridControl();
}

// ---- auto-scroll waits -----------------------------------------------------------------------

bool TgxBaseGrid::CheckEscape() const {
    TMsg Msg;
    HWND Self = const_cast<TgxBaseGrid*>(this);
    return PeekMessage(&Msg, Self, WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) && Msg.wParam == VK_ESCAPE;
}

bool TgxBaseGrid::ScrollDelay(int ScreenX, int ScreenY, int Direction) {
    if (FScrollSpeed == spHigh && ScrollHighSpeedDelay == 0) return true;
    const int Delay = FScrollSpeed == spHigh  ? ScrollHighSpeedDelay
                      : FScrollSpeed == spLow ? ScrollLowSpeedDelay
                                              : WaitingTime(ScreenX, ScreenY, Direction);
    if (FScrollWaitStart == 0) FScrollWaitStart = GetTickCount();
    for (;;) {
        if (GetTickCount() - FScrollWaitStart >= static_cast<std::uint32_t>(Delay)) {
            FScrollWaitStart = 0;
            return true;
        }
        // Any mouse input for the grid, or Escape, ends the wait without a step.
        if (PeekMessage(nullptr, this, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE) || CheckEscape())
            return false;
    }
}

} // namespace grid
