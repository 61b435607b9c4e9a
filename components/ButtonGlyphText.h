#pragma once
// The text drawing the glyph renderer and the colour bit button use:
// caption text laid out in a rectangle with '&' accelerators. The push
// button's frame comes from the platform (FrameControl.h).
#include "platform/gui/FrameControl.h"
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

// The text flags for reading order: none for left-to-right text.
inline unsigned DrawTextBiDiModeFlags(unsigned Flags) {
    return Flags;
}

} // namespace components
