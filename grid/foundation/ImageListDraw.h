#pragma once
// Drawing a picture into a grid cell by the cell's picture options.
#include "platform/gui/Graphics.h"

namespace grid {

// The part of the picture drawn and where it goes.
struct TgxStretchRects {
    TRect Source;
    TRect Dest;
};

// Where a Width x Height picture goes in Rect: cut to the rectangle unless
// Shrink, kept at its size unless Stretch, centred when Center, and fitted
// to its own width-to-height ratio when KeepAspectRatio.
TgxStretchRects gxStretchRects(const TRect& Rect, int Width, int Height, bool Center, bool Stretch,
                               bool Shrink, bool KeepAspectRatio);

// Fills Rect with the canvas brush, then draws the bitmap by
// gxStretchRects; pixels of TransparentColor are left out unless it is
// clNone. An empty bitmap leaves only the fill.
void gxStretchDraw(TCanvas* Canvas, const TRect& Rect, TBitmap* Bitmap, TColor TransparentColor,
                   bool Center, bool Stretch, bool Shrink, bool KeepAspectRatio);

} // namespace grid
