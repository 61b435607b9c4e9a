#pragma once
// The text and frame drawing the glyph renderer and the colour bit button
// use: caption text laid out in a rectangle with '&' accelerators, and the
// raised frame of a push button.
#include "platform/gui/Graphics.h"
#include "platform/rtl/AnsiString.h"

namespace components {

inline constexpr unsigned DT_LEFT = 0x0000;
inline constexpr unsigned DT_CENTER = 0x0001;
inline constexpr unsigned DT_RIGHT = 0x0002;
inline constexpr unsigned DT_VCENTER = 0x0004;
inline constexpr unsigned DT_BOTTOM = 0x0008;
inline constexpr unsigned DT_SINGLELINE = 0x0020;
inline constexpr unsigned DT_CALCRECT = 0x0400;
inline constexpr unsigned DT_NOPREFIX = 0x0800;
inline constexpr unsigned DT_RTLREADING = 0x20000;

// Draws Text into R in the canvas's font (on its brush unless clear), or
// with DT_CALCRECT only measures it: R keeps its top-left corner and takes
// the text's width and height. Lines break at line feeds; without
// DT_NOPREFIX "&x" underlines x and "&&" is one '&'. Returns the text's
// height.
int DrawText(TCanvas* Canvas, const AnsiString& Text, TRect& R, unsigned Flags);

inline constexpr unsigned DFC_BUTTON = 4;
inline constexpr unsigned DFCS_BUTTONPUSH = 0x0010;
inline constexpr unsigned DFCS_INACTIVE = 0x0100;
inline constexpr unsigned DFCS_PUSHED = 0x0200;
inline constexpr unsigned DFCS_ADJUSTRECT = 0x2000;

// Draws the two-pixel frame of a push button around R and fills its inside
// with the canvas's brush; sunk with DFCS_PUSHED. DFCS_ADJUSTRECT shrinks R
// to the inside of the frame.
void DrawFrameControl(TCanvas* Canvas, TRect& R, unsigned Type, unsigned State);

// The text flags for reading order: none for left-to-right text.
inline unsigned DrawTextBiDiModeFlags(unsigned Flags) {
    return Flags;
}

} // namespace components
