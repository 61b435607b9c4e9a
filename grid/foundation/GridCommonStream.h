#pragma once
// A Variant as one value of a form stream, the way the grid keeps values of
// its own in the properties it defines.
#include "platform/rtl/Variant.h"

class TReader;
class TWriter;

namespace grid {

// Empty and Null as the identifiers "Empty" and "Null"; small integers and
// integers as integers; single, double and date as floats; strings as
// strings; Booleans as Booleans; any other Variant as an empty string.
void WriteVariant(TWriter* Writer, const Variant& Value);
// One such value back: 8, 16 and 32-bit integers, extended floats, short
// and long strings, "Empty", "Null", False and True. A value of any other
// kind is left unread for the caller, and the answer is Empty.
Variant ReadVariant(TReader* Reader);

} // namespace grid
