#pragma once
// Numbers as the database writes them in text: '.' decimals whatever the
// format settings say.
#include "platform/rtl/AnsiString.h"

#include <cstdint>

// Reads S (blanks around and a leading '+' allowed) as a number; false for
// empty text or anything that is not wholly a number.
bool TryParseSqlNumber(const AnsiString& S, double& Value);
// Reads S as a whole number, or as a number rounded to the nearest whole
// one (halves to the even neighbour) when it lies well inside the 64-bit
// range; false for anything else.
bool TryParseSqlInteger(const AnsiString& S, std::int64_t& Value);
