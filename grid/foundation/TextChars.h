#pragma once
// Character steps over the system's 8-bit text. The code page is UTF-8, so a
// multibyte sequence is one character: positions stay byte positions, but a
// step moves over the whole sequence. A byte that does not begin a complete,
// well-formed sequence counts as a character of its own, so a damaged text
// never makes a step run past its end.
#include "platform/rtl/AnsiString.h"

namespace grid {

// Bytes in the character at the 1-based position Pos; 0 beyond the text.
int CharCountAt(const AnsiString& S, int Pos);

// 1-based position of the character before Pos; 0 when Pos is at the start.
int PrevCharPos(const AnsiString& S, int Pos);

// A text character is anything but a space, tab, line end or terminating zero.
bool IsTextCharAt(const AnsiString& S, int Pos);

// A letter: an ASCII letter, or a multibyte character that has an upper and a
// lower case form.
bool IsLetterChar(const AnsiString& Ch);

} // namespace grid
