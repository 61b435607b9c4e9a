#pragma once
// Colour channels, and between a bitmap's scan-line pixels (0xAARRGGBB) and
// colours (0x00BBGGRR).
#include "platform/gui/Graphics.h"

#include <cstdint>

namespace formstore {

inline int Red(TColor C) {
    return C & 0xFF;
}
inline int Green(TColor C) {
    return (C >> 8) & 0xFF;
}
inline int Blue(TColor C) {
    return (C >> 16) & 0xFF;
}

inline TColor ScanToColor(std::uint32_t Pixel) {
    return static_cast<TColor>(((Pixel >> 16) & 0xFF) | (Pixel & 0xFF00) | ((Pixel & 0xFF) << 16));
}

inline std::uint32_t ColorToScan(TColor Color) {
    const TColor C = ColorToRGB(Color);
    return 0xFF000000u | (static_cast<std::uint32_t>(Red(C)) << 16) |
           (static_cast<std::uint32_t>(Green(C)) << 8) | static_cast<std::uint32_t>(Blue(C));
}

} // namespace formstore
