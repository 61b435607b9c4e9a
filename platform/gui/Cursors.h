#pragma once
// Mouse cursors of the program's own beside the platform's shapes. A
// cursor is made from a picture and its mask (or from the two bit planes
// of a monochrome cursor), registered in the screen's cursor list under a
// number (TScreen::SetCursors) and then shown by that number like any
// other: a control's Cursor, the screen's Cursor, SetWindowCursor.
#include "platform/gui/Controls.h"

#include <cstdint>

class TBitmap;

// A cursor made here; the screen's cursor list owns the ones given to it.
struct TCursorImage;
using HCURSOR = TCursorImage*;

// A cursor from a picture and a mask of the same size: where the mask is
// white the screen shows through, elsewhere the picture's pixel shows.
// (HotX, HotY) is the pixel that points. Raises EInvalidOperation "Invalid
// cursor image" for an empty picture, a mask of another size or a hot spot
// outside the picture.
HCURSOR CreateCursorFromBitmaps(TBitmap* Image, TBitmap* Mask, int HotX, int HotY);
// A monochrome cursor from its two bit planes, rows padded to 16 bits and
// the top row first, most significant bit leftmost. By the AND and XOR
// bits: 0 0 black, 0 1 white, 1 0 the screen, 1 1 the screen inverted
// (shown black where the platform can't invert). Raises as above for a
// size that isn't positive or a hot spot outside it.
HCURSOR CreateCursor(int HotX, int HotY, int Width, int Height, const std::uint8_t* AndPlane,
                     const std::uint8_t* XorPlane);
// Frees a cursor nobody registered; false for nullptr or one the screen's
// list holds (the list frees those).
bool DestroyCursor(HCURSOR Cursor);

// The cursor's size and hot spot.
TPoint CursorSize(HCURSOR Cursor);
TPoint CursorHotSpot(HCURSOR Cursor);
// The colour of a cursor pixel, or clNone where the screen shows through.
TColor CursorPixel(HCURSOR Cursor, int X, int Y);
