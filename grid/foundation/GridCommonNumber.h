#pragma once
// Numbers inside texts, as the spin buttons of a numeric cell change them:
// find the number around the caret, add the step, and keep the number's
// look (thousand separators, decimals, width).
#include "platform/rtl/AnsiString.h"

namespace grid {

// Moves the 1-based Position by Step (+1 or -1) while it stands inside the
// text on a digit, and returns the first position that does not.
int ScanNum(const AnsiString& Text, int Position, int Step);
// The same over digits, "+", "-" and the thousand and decimal separators.
int ScanNumChars(const AnsiString& Text, int Position, int Step);

// Text plus Step, in the general float format. Thousand separators that
// group the integer digits by three are kept. An empty text gives the step;
// a text that is no number comes back unchanged.
AnsiString IncStrNum(const AnsiString& Text, double Step);

// Increments the number around the caret (0 .. length: the count of bytes
// before it). NewText is the text with the number replaced; Start (1-based)
// and Length tell where the number stands in it. Without a number NewText
// is the text, Start and Length 0.
void IncStrAtPos(const AnsiString& Text, int Caret, double Step, AnsiString& NewText, int& Start,
                 int& Length);

// New, with as many decimals as Old has (zeros appended) when Old has a
// decimal separator.
AnsiString PadDecimals(const AnsiString& Old, const AnsiString& New);
// PadDecimals, then zeros (or thousand separators where Old has them) put
// in front while New, measured from its decimal separator, is shorter than
// Old measured from its own.
AnsiString PadNumber(const AnsiString& Old, const AnsiString& New);

} // namespace grid
