#pragma once
// The program's resource strings, kept by number, and the texts a grid
// setting given as a Variant stands for: a number names a resource string.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Variant.h"

namespace grid {

// Makes Text the resource string of that number (replacing one before).
void AddResourceString(int Ident, const AnsiString& Text);
// The resource string of that number; the empty text when there is none.
AnsiString LoadResString(int Ident);

// An integer Variant names a resource string and yields it; any other
// Variant yields its own text (Empty and Null the empty text).
AnsiString ResourceStr(const Variant& Value);

} // namespace grid
