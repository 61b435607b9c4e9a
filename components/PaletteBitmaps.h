#pragma once
// The package's palette bitmaps: 24 by 24 pixels in the 16 standard colours,
// one for each component that does not use the default palette image,
// drawn here in code. A bitmap is a text of 24 lines of 24 hexadecimal
// digits (no line breaks), each digit a colour index.
#include <cstdint>
#include <string>

namespace components {

inline constexpr int PaletteBitmapSize = 24;

// The bitmap of a resource name ("TCOLORBITBTN", "TPWCALENDAR",
// "TPWDATEEDIT", "TPWPHONEEDIT", "TPWZIPEDIT"; any case); empty for another.
std::string PaletteBitmap(const std::string& Name);

// The standard 16-colour palette, index 0 (black) to 15 (white), as
// 0x00RRGGBB; 0 for an index outside it.
std::uint32_t PaletteColor(int Index);

// The package's description, as its package record carries it.
inline constexpr const char* PackageDescription = "Pellworth Components";

} // namespace components
