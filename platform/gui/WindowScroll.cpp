// A custom control's update area, pixel scrolling and own scroll bars, over
// the painting machinery of CustomControl.cpp.
#include "platform/gui/WindowScroll.h"

#include "platform/gui/CustomControl.h"
#include "platform/gui/CustomControlPainter.h"
#include "platform/gui/QtApp.h"

#include <QApplication>
#include <QWidget>

#include <algorithm>

namespace {

TPaintedControl<TWinControl>* Painted(HWND Wnd) {
    return Wnd ? Wnd->PaintedWindow() : nullptr;
}

// The range that may be scrolled through: with a page, the last position
// is the one that shows the last page.
int LastPos(const TControlPainterBar& B) {
    const int Page = static_cast<int>(B.Page);
    return std::max(B.Min, B.Max - std::max(Page - 1, 0));
}

bool HasRange(const TControlPainterBar& B) {
    return B.Max > B.Min && (B.Page == 0 || static_cast<int>(B.Page) <= B.Max - B.Min);
}

} // namespace

bool InvalidateRect(HWND Wnd, const TRect* R, bool) {
    auto* C = Painted(Wnd);
    if (!C) return false;
    C->InvalidateClientRect(R);
    return true;
}

bool ValidateRect(HWND Wnd, const TRect* R) {
    auto* C = Painted(Wnd);
    if (!C) return false;
    C->ValidateClientRect(R);
    return true;
}

void UpdateWindow(HWND Wnd) {
    if (auto* C = Painted(Wnd)) ControlPainterFlush(*C);
}

bool GetUpdateRect(HWND Wnd, TRect* R) {
    auto* C = Painted(Wnd);
    TRect Bounds;
    const bool Any = C && C->UpdateAreaBounds(Bounds);
    if (R) *R = Any ? Bounds : TRect{};
    return Any;
}

int ScrollWindowEx(HWND Wnd, int DX, int DY, const TRect* Scroll, const TRect* Clip,
                   TRect* Uncovered, unsigned Flags) {
    auto* C = Painted(Wnd);
    if (!C) return 0;
    C->ScrollImage(DX, DY, Scroll, Clip, (Flags & SW_INVALIDATE) != 0, Uncovered);
    return 1;
}

bool ScrollWindow(HWND Wnd, int DX, int DY, const TRect* Scroll, const TRect* Clip) {
    return ScrollWindowEx(Wnd, DX, DY, Scroll, Clip, nullptr, SW_INVALIDATE) != 0;
}

int SetScrollInfo(HWND Wnd, int Bar, const TScrollInfo& Info, bool) {
    auto* C = Painted(Wnd);
    if (!C || (Bar != SB_HORZ && Bar != SB_VERT)) return 0;
    TControlPainterBar& B = ControlPainterBar(*C, Bar);
    if (Info.fMask & SIF_RANGE) {
        B.Min = Info.nMin;
        B.Max = Info.nMax;
    }
    if (Info.fMask & SIF_PAGE) B.Page = Info.nPage;
    if (Info.fMask & SIF_POS) B.Pos = Info.nPos;
    B.Pos = std::clamp(B.Pos, B.Min, LastPos(B));
    if (Info.fMask & (SIF_RANGE | SIF_PAGE)) {
        const bool Scrolls = HasRange(B);
        B.Enabled = Scrolls;
        ControlPainterShowBar(*C, Bar, Scrolls || (Info.fMask & SIF_DISABLENOSCROLL) != 0);
    }
    ControlPainterApplyBar(*C, Bar);
    return B.Pos;
}

bool GetScrollInfo(HWND Wnd, int Bar, TScrollInfo& Info) {
    auto* C = Painted(Wnd);
    if (!C || (Bar != SB_HORZ && Bar != SB_VERT)) return false;
    const TControlPainterBar& B = ControlPainterBar(*C, Bar);
    if (Info.fMask & SIF_RANGE) {
        Info.nMin = B.Min;
        Info.nMax = B.Max;
    }
    if (Info.fMask & SIF_PAGE) Info.nPage = B.Page;
    if (Info.fMask & SIF_POS) Info.nPos = B.Pos;
    if (Info.fMask & SIF_TRACKPOS) Info.nTrackPos = B.TrackPos;
    return true;
}

int SetScrollPos(HWND Wnd, int Bar, int Pos, bool Redraw) {
    auto* C = Painted(Wnd);
    if (!C || (Bar != SB_HORZ && Bar != SB_VERT)) return 0;
    const int Old = ControlPainterBar(*C, Bar).Pos;
    TScrollInfo Info;
    Info.fMask = SIF_POS;
    Info.nPos = Pos;
    SetScrollInfo(Wnd, Bar, Info, Redraw);
    return Old;
}

int GetScrollPos(HWND Wnd, int Bar) {
    auto* C = Painted(Wnd);
    if (!C || (Bar != SB_HORZ && Bar != SB_VERT)) return 0;
    return ControlPainterBar(*C, Bar).Pos;
}

bool SetScrollRange(HWND Wnd, int Bar, int Min, int Max, bool Redraw) {
    TScrollInfo Info;
    Info.fMask = SIF_RANGE;
    Info.nMin = Min;
    Info.nMax = Max;
    return Painted(Wnd) && (SetScrollInfo(Wnd, Bar, Info, Redraw), true);
}

bool GetScrollRange(HWND Wnd, int Bar, int& Min, int& Max) {
    TScrollInfo Info;
    Info.fMask = SIF_RANGE;
    if (!GetScrollInfo(Wnd, Bar, Info)) return false;
    Min = Info.nMin;
    Max = Info.nMax;
    return true;
}

bool ShowScrollBar(HWND Wnd, int Bar, bool Show) {
    auto* C = Painted(Wnd);
    if (!C) return false;
    if (Bar == SB_HORZ || Bar == SB_BOTH) ControlPainterShowBar(*C, SB_HORZ, Show);
    if (Bar == SB_VERT || Bar == SB_BOTH) ControlPainterShowBar(*C, SB_VERT, Show);
    return true;
}

bool EnableScrollBar(HWND Wnd, unsigned Bar, unsigned Arrows) {
    auto* C = Painted(Wnd);
    if (!C) return false;
    for (int Which : {SB_HORZ, SB_VERT}) {
        if (Bar != static_cast<unsigned>(Which) && Bar != static_cast<unsigned>(SB_BOTH)) continue;
        ControlPainterBar(*C, Which).Enabled = Arrows != ESB_DISABLE_BOTH;
        ControlPainterApplyBar(*C, Which);
    }
    return true;
}

bool ScrollBarVisible(HWND Wnd, int Bar) {
    auto* C = Painted(Wnd);
    return C && (Bar == SB_HORZ || Bar == SB_VERT) && ControlPainterBar(*C, Bar).Shown;
}

bool ScrollBarEnabled(HWND Wnd, int Bar) {
    auto* C = Painted(Wnd);
    return C && (Bar == SB_HORZ || Bar == SB_VERT) && ControlPainterBar(*C, Bar).Enabled;
}

void SetWindowCursor(HWND Wnd, TCursor Cursor) {
    if (!Wnd || !Wnd->WidgetAllocated()) return;
    if (Cursor == crDefault)
        Wnd->Widget()->unsetCursor();
    else
        Wnd->Widget()->setCursor(ToQCursor(Cursor));
}

unsigned GetDoubleClickTime() {
    EnsureQtApplication();
    return static_cast<unsigned>(QApplication::doubleClickInterval());
}
