#pragma once
// The caret: the one blinking text cursor of the program, owned by the
// custom-drawn window that made it (a window that draws its own text, such
// as the grid's edit box). It is drawn into the owner's backing image by
// inverting its pixels, taken off before the owner paints and put back
// after, and it blinks on the timer service, so a test sees each phase by
// moving the fake timers on.
#include "platform/gui/Graphics.h"
#include "platform/gui/Messages.h"
#include "platform/gui/Types.h"

class TControl;

// Makes the caret for Wnd, replacing any caret another window had. With a
// bitmap, the caret is the bitmap's size and inverts where the bitmap is
// white; without, it is a solid block of Width by Height. The caret starts
// hidden at (0, 0). False without a window.
bool CreateCaret(HWND Wnd, TBitmap* Bitmap, int Width, int Height);
// Takes the caret away; false when there is none.
bool DestroyCaret();
// Moves the caret in its owner's client coordinates.
bool SetCaretPos(int X, int Y);
bool GetCaretPos(TPoint& Point);
// Showing and hiding nest: a caret shows once it has been shown as often
// as it was hidden (it is made hidden once). Wnd must own the caret
// (nullptr means whoever owns it).
bool ShowCaret(HWND Wnd);
bool HideCaret(HWND Wnd);
// Milliseconds of each blink phase.
unsigned GetCaretBlinkTime();

// The window that owns the caret, or nullptr.
HWND CaretOwner();
// The caret is shown and in its visible blink phase: its pixels are
// inverted in the owner's image now.
bool CaretDrawn();

// For the painting of custom controls (platform only): the caret comes
// off the control's image before it paints and goes back after.
void CaretBeforePaint(TControl* Control);
void CaretAfterPaint(TControl* Control);
