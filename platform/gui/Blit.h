#pragma once
// Block transfers by raster operation, as the drawing layer names them:
// PatBlt combines an area with the canvas's brush, BitBlt copies an area
// of one canvas onto another. Both are the canvas's CopyRect with the
// operation as its copy mode, so they share its pixel rules.
#include "platform/gui/Graphics.h"

// Raster operations (the copy modes under their drawing-layer names).
inline constexpr unsigned SRCCOPY = 0x00CC0020;
inline constexpr unsigned SRCPAINT = 0x00EE0086;
inline constexpr unsigned SRCAND = 0x008800C6;
inline constexpr unsigned SRCINVERT = 0x00660046;
inline constexpr unsigned MERGECOPY = 0x00C000CA;
inline constexpr unsigned MERGEPAINT = 0x00BB0226;
inline constexpr unsigned PATCOPY = 0x00F00021;
inline constexpr unsigned PATPAINT = 0x00FB0A09;
inline constexpr unsigned PATINVERT = 0x005A0049;
inline constexpr unsigned DSTINVERT = 0x00550009;
inline constexpr unsigned BLACKNESS = 0x00000042;
inline constexpr unsigned WHITENESS = 0x00FF0062;

// Combines the area (X, Y, Width, Height) of the canvas with its brush by
// Rop; the source plays no part. False for an empty area or no canvas.
bool PatBlt(TCanvas* Canvas, int X, int Y, int Width, int Height, unsigned Rop);

// Copies the area of Source at (SX, SY) onto Dest at (X, Y), combined by
// Rop with Dest's pixels and brush. False for an empty area or no canvas.
bool BitBlt(TCanvas* Dest, int X, int Y, int Width, int Height, TCanvas* Source, int SX, int SY,
            unsigned Rop);
