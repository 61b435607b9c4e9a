#pragma once
// Turning a stored list of numbers such as "3,1,2" into integers.
#include "platform/rtl/AnsiString.h"

#include <vector>

namespace components {

// The numbers of a list separated by commas and blanks in any mix ("3,1,2",
// "3 1 2", "3, 1 ,2"). The list ends at the first word that is not an
// integer: "3,x,2" gives only 3. Never raises.
std::vector<int> ParseIntegerList(const AnsiString& S);

// The words of such a list in order, read in one pass. Bytes from 128 up
// belong to words, as in GetWord.
std::vector<AnsiString> ListWords(const AnsiString& S);

} // namespace components
