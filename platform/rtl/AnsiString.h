#pragma once
// The text type of the whole system: a string of 8-bit characters. The
// process code page is UTF-8, so byte offsets stay byte offsets.
#include <string>

using AnsiString = std::string;
using String = std::string;
