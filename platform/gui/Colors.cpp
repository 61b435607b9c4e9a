#include "platform/gui/Colors.h"

#include <array>

namespace {

// The classic desktop scheme. Fixed rather than taken from the desktop
// theme, so that a painted screen is the same on every machine and the
// grids' 3-D edges keep their contrast.
constexpr std::array<std::uint32_t, 31> SysColors = {
    0xC0C0C0, // scroll bar
    0x808000, // desktop
    0x800000, // active caption
    0x808080, // inactive caption
    0xC0C0C0, // menu
    0xFFFFFF, // window
    0x000000, // window frame
    0x000000, // menu text
    0x000000, // window text
    0xFFFFFF, // caption text
    0xC0C0C0, // active border
    0xC0C0C0, // inactive border
    0x808080, // application work space
    0x800000, // highlight
    0xFFFFFF, // highlight text
    0xC0C0C0, // button face
    0x808080, // button shadow
    0x808080, // grey text
    0x000000, // button text
    0xC0C0C0, // inactive caption text
    0xFFFFFF, // button highlight
    0x000000, // 3-D dark shadow
    0xDFDFDF, // 3-D light
    0x000000, // tooltip text
    0xE1FFFF, // tooltip background
    0xB5B5B5, // (unused index)
    0x800000, // hot-tracked item
    0xF0CAA6, // active caption gradient
    0xC0C0C0, // inactive caption gradient
    0x800000, // menu highlight
    0xC0C0C0, // menu bar
};

} // namespace

std::uint32_t GetSysColor(int Index) {
    if (Index < 0 || Index >= static_cast<int>(SysColors.size())) return 0;
    return SysColors[static_cast<std::size_t>(Index)];
}

TColor ColorToRGB(TColor Color) {
    if (Color < 0) return static_cast<TColor>(GetSysColor(Color & 0xFF));
    return Color;
}
