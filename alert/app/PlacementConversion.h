#pragma once
// Rewrites a window placement stored in the older form before the form
// storage reads it: the older form kept Flags, PixelsPerInch and ShowCmd as
// registry integers and NormPos as left, top, width, height; the form storage
// keeps every value as a string and NormPos as left, top, right, bottom.
#include "platform/registry/Registry.h"
#include "platform/rtl/AnsiString.h"

#include <cstdint>

namespace formstore {
class TFormPlacement;
}

// The registry root of a placement's stored root byte (the order of
// TPlacementRegRoot); an unknown value means the current user's.
HKEY PlacementRootKey(std::uint8_t Root);

// "(WxH)": the screen size in pixels, which a placement value's name may
// carry as a suffix.
AnsiString PlacementSuffix();

// The value under its suffixed name, or, when that is empty, its plain name.
AnsiString ReadPlacementValue(TRegistry& Reg, const AnsiString& Name);
// The text under the suffixed and the plain name.
void WritePlacementValue(TRegistry& Reg, const AnsiString& Name, const AnsiString& Text);

// Converts the values in KeyPath\Section under the root; nothing happens
// when the key is missing or Flags is not stored as an integer. Raises when
// an integer value cannot be deleted to be written again as a string.
void ConvertPlacementValues(std::uint8_t Root, const AnsiString& KeyPath,
                            const AnsiString& Section);

// The same for the key and section the placement component stores under.
void ConvertFormPlacement(formstore::TFormPlacement* Placement);
