#pragma once
// The texts of a three-state check box. A check-box values text reads
// checked text, "|", unchecked text and optionally "|" and grayed text; a
// cell with such values stores the text of its state instead of the state.
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Variant.h"

namespace grid {

// True for an empty text, else when a "|" is followed by a non-empty
// unchecked text and no more than one further "|" follows.
bool CheckBoxValuesOk(const AnsiString& Values);

// The part of Values for the state (empty when Values has no such part).
AnsiString CheckBoxToString(TCheckBoxState State, const AnsiString& Values);

// Checked when Text equals the first part, unchecked when it equals the
// second (either without regard to case); grayed otherwise and for empty
// values.
TCheckBoxState StringToCheckBox(const AnsiString& Text, const AnsiString& Values);

// Empty values: the state as an integer. Otherwise the state's text, or
// Null when that text is "Null" in any case.
Variant CheckBoxToVariant(TCheckBoxState State, const AnsiString& Values);

// A string goes through StringToCheckBox; an integer 0, 1 or 2 is that
// state; Null is checked when the first part is exactly "Null", unchecked
// when the second is; anything else (other integers included) is grayed.
TCheckBoxState VariantToCheckBox(const Variant& Value, const AnsiString& Values);

} // namespace grid
