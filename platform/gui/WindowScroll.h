#pragma once
// A custom control's window services: its update area (what the next paint
// must redraw), scrolling the pixels of its backing image, its own
// horizontal and vertical scroll bars, and the double-click time.
//
// The scroll bars sit at the right and bottom edges inside the control and
// the client area excludes them. The user's input on a bar reaches the
// control as WM_HSCROLL / WM_VSCROLL with the SB_* code in the low word of
// WParam and the thumb position in the high word; the bar's position only
// moves when the control sets it, as with a window's own bars.
//
// These calls act on custom controls (TCustomControl); for any other
// window they do nothing and report failure.
#include "platform/gui/Controls.h"
#include "platform/gui/Types.h"

// ---- update area and pixel scrolling ------------------------------------------------

// Adds R (client coordinates; nullptr: the whole client area) to the area
// the next paint redraws. Erase is accepted for form's sake: a custom
// control paints every pixel it shows.
bool InvalidateRect(HWND Wnd, const TRect* R, bool Erase);
// Takes R (nullptr: all) out of the area to redraw.
bool ValidateRect(HWND Wnd, const TRect* R);
// Paints what is to redraw now, clipped to it, and shows it.
void UpdateWindow(HWND Wnd);
// The bounding box of the area to redraw; false when there is none.
bool GetUpdateRect(HWND Wnd, TRect* R);

inline constexpr unsigned SW_SCROLLCHILDREN = 0x0001;
inline constexpr unsigned SW_INVALIDATE = 0x0002;
inline constexpr unsigned SW_ERASE = 0x0004;

// Moves the pixels of Scroll (nullptr: the client area) by (DX, DY),
// keeping within Clip (nullptr: no limit beyond the client area). With
// SW_INVALIDATE the area the move uncovered is added to the update area;
// Uncovered (when given) receives its bounding box. An area already waiting
// to be redrawn inside Scroll moves along with the pixels. Returns 1 (a
// simple region) or 0 for a window that is not a custom control.
int ScrollWindowEx(HWND Wnd, int DX, int DY, const TRect* Scroll, const TRect* Clip,
                   TRect* Uncovered, unsigned Flags);
// As ScrollWindowEx with SW_INVALIDATE.
bool ScrollWindow(HWND Wnd, int DX, int DY, const TRect* Scroll, const TRect* Clip);

// ---- the window's own scroll bars ---------------------------------------------------------

inline constexpr unsigned SIF_RANGE = 0x0001;
inline constexpr unsigned SIF_PAGE = 0x0002;
inline constexpr unsigned SIF_POS = 0x0004;
inline constexpr unsigned SIF_DISABLENOSCROLL = 0x0008;
inline constexpr unsigned SIF_TRACKPOS = 0x0010;
inline constexpr unsigned SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

struct TScrollInfo {
    unsigned cbSize = sizeof(TScrollInfo);
    unsigned fMask = 0;
    int nMin = 0;
    int nMax = 0;
    unsigned nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};

inline constexpr unsigned ESB_ENABLE_BOTH = 0x0000;
inline constexpr unsigned ESB_DISABLE_LTUP = 0x0001;
inline constexpr unsigned ESB_DISABLE_RTDN = 0x0002;
inline constexpr unsigned ESB_DISABLE_BOTH = 0x0003;

// Bar is SB_HORZ or SB_VERT (SB_BOTH where said). Setting a range shows
// the bar when it has somewhere to scroll (max above min, beyond one page)
// and hides it otherwise, unless SIF_DISABLENOSCROLL keeps it shown and
// disabled. The position is held within the range. Returns the position.
int SetScrollInfo(HWND Wnd, int Bar, const TScrollInfo& Info, bool Redraw);
bool GetScrollInfo(HWND Wnd, int Bar, TScrollInfo& Info);
// Returns the previous position.
int SetScrollPos(HWND Wnd, int Bar, int Pos, bool Redraw);
int GetScrollPos(HWND Wnd, int Bar);
bool SetScrollRange(HWND Wnd, int Bar, int Min, int Max, bool Redraw);
bool GetScrollRange(HWND Wnd, int Bar, int& Min, int& Max);
// Shows or hides SB_HORZ, SB_VERT or SB_BOTH.
bool ShowScrollBar(HWND Wnd, int Bar, bool Show);
bool EnableScrollBar(HWND Wnd, unsigned Bar, unsigned Arrows);
// Whether the bar is shown now.
bool ScrollBarVisible(HWND Wnd, int Bar);
// Whether the bar's arrows and thumb take input (EnableScrollBar).
bool ScrollBarEnabled(HWND Wnd, int Bar);

// ---- cursor ---------------------------------------------------------------------------------

// Shows Cursor over the window until the next WM_SETCURSOR decides
// otherwise (the control's Cursor property is left as it is).
void SetWindowCursor(HWND Wnd, TCursor Cursor);

// ---- input timing --------------------------------------------------------------------------

// Milliseconds within which a second press counts as a double click.
unsigned GetDoubleClickTime();
