#pragma once
// Placing and showing a window in one call, the way the platform's window
// calls do it: a form in screen coordinates, a child control in its
// parent's client coordinates.
#include "platform/gui/Messages.h"

inline constexpr unsigned SWP_NOSIZE = 0x0001;
inline constexpr unsigned SWP_NOMOVE = 0x0002;
inline constexpr unsigned SWP_NOZORDER = 0x0004;
inline constexpr unsigned SWP_NOREDRAW = 0x0008;
inline constexpr unsigned SWP_NOACTIVATE = 0x0010;
inline constexpr unsigned SWP_FRAMECHANGED = 0x0020;
inline constexpr unsigned SWP_SHOWWINDOW = 0x0040;
inline constexpr unsigned SWP_HIDEWINDOW = 0x0080;
inline constexpr unsigned SWP_NOOWNERZORDER = 0x0200;

// Where in the z-order SetWindowPos puts the window: the top, the bottom,
// or (any other window) left where it is.
inline HWND const HWND_TOP = nullptr;
inline HWND const HWND_BOTTOM = reinterpret_cast<HWND>(1);

// Moves and sizes the window (unless SWP_NOMOVE / SWP_NOSIZE), puts it at
// the top or bottom of its siblings (unless SWP_NOZORDER), then shows or
// hides it (SWP_SHOWWINDOW, SWP_HIDEWINDOW). A window shown with
// SWP_NOACTIVATE doesn't take the activation from the active one; a form
// that focuses a control of its own as it shows still does, a popup form
// (PopupForm.h) never. False for nullptr.
bool SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int CX, int CY, unsigned Flags);
// Shows or hides the window by a show command (SW_HIDE, SW_SHOWNOACTIVATE,
// SW_SHOWNA, SW_SHOW, SW_SHOWNORMAL, and for a form SW_SHOWMINIMIZED,
// SW_SHOWMAXIMIZED); true when it was visible before.
bool ShowWindow(HWND Wnd, int CmdShow);
// Raises the shown form that holds the window above the other windows and
// makes it the active window; false when there is no such form or it is
// not shown.
bool SetForegroundWindow(HWND Wnd);
