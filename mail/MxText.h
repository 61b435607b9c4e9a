#pragma once
// Text routines shared by the coders, the header list, the address parser
// and the protocol clients: cutting a text at a delimiter, searching text
// and memory, and splitting comma lists.
#include "platform/rtl/AnsiString.h"

#include <cstddef>
#include <span>

class TStrings;

namespace mail {

// Returns the part of AInput before the first ADelim (the whole text when
// there is none). With ADelete, AInput keeps only what follows the delimiter
// (it is emptied when there is none).
AnsiString FetchText(AnsiString& AInput, const AnsiString& ADelim = " ", bool ADelete = true,
                     bool ACaseSensitive = true);

// 0-based index of the first entry equal to AText, -1 when none.
int IndexInTextArray(const AnsiString& AText, std::span<const AnsiString> AArray,
                     bool ACaseSensitive = true);

// Clears AStrings, then adds the trimmed, non-empty pieces of AText cut at
// the commas that do not stand inside double quotes.
void SplitCommaList(TStrings* AStrings, const AnsiString& AText);

// 1-based position of ASubText in the first ASize bytes of ABlock, 0 when
// ASubText is empty, longer than the block or absent.
int MemoryPos(const AnsiString& ASubText, const void* ABlock, std::size_t ASize);

// 1-based position of ASubText in AText at or after the 1-based AStart
// (below 2: from the beginning); 0 when absent, empty or AStart is past the end.
int PosFrom(const AnsiString& ASubText, const AnsiString& AText, int AStart);

int MinInt(int A, int B);

// The character-set family of the system locale: 0 Simplified Chinese,
// 1 other Chinese, 2 Japanese, 3 Korean, 4 anything else.
int LocaleCharsetCode();
// The same for a POSIX locale name such as "ja_JP.UTF-8".
int LocaleCharsetCodeOf(const AnsiString& ALocaleName);

} // namespace mail
