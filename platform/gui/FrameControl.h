#pragma once
// The frames of standard controls drawn onto a canvas, for controls that
// draw themselves (owner-drawn buttons, grid cell buttons).
#include "platform/gui/Graphics.h"
#include "platform/gui/Types.h"

inline constexpr unsigned DFC_BUTTON = 4;
inline constexpr unsigned DFCS_BUTTONPUSH = 0x0010;
inline constexpr unsigned DFCS_INACTIVE = 0x0100;
inline constexpr unsigned DFCS_PUSHED = 0x0200;
inline constexpr unsigned DFCS_ADJUSTRECT = 0x2000;

// Draws the two-pixel frame of a push button around R and fills its inside
// with the canvas's brush; sunk with DFCS_PUSHED. DFCS_ADJUSTRECT shrinks R
// to the inside of the frame.
void DrawFrameControl(TCanvas* Canvas, TRect& R, unsigned Type, unsigned State);
