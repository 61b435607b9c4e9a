#pragma once
// A look at the input waiting to be handled, for code that loops inside
// an event handler (auto-scroll while the mouse is held outside a grid) and
// must stop as soon as the user does something. The input stays queued in
// its order unless the caller takes it out.
#include "platform/gui/Messages.h"
#include "platform/gui/Types.h"

inline constexpr unsigned PM_NOREMOVE = 0x0000;
inline constexpr unsigned PM_REMOVE = 0x0001;

// A waiting message: mouse messages carry the key state and the point in
// the window's client coordinates as their handler gets them; key messages
// the virtual key.
struct TMsg {
    HWND hwnd = nullptr;
    unsigned message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    // The mouse position in screen coordinates (mouse messages).
    TPoint pt;
};

// Lets the platform deliver what it has queued (no timers) while holding
// back mouse and key input, then tells whether input for Wnd (nullptr: any
// window) with a message in FilterMin..FilterMax (0, 0: any) is waiting.
// The first such message goes into Msg (which may be nullptr); with
// PM_REMOVE it is taken out of the queue and never delivered. Everything
// else held back is delivered later, in order, when the event loop runs.
bool PeekMessage(TMsg* Msg, HWND Wnd, unsigned FilterMin, unsigned FilterMax, unsigned RemoveMsg);
