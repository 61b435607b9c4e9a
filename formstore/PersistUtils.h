#pragma once
// The helpers the form persistence code leans on: the nestable wait cursor,
// bringing a window to the front, plain substring replacement, words over a
// set of delimiters, wildcard matching of section names, the keyed XOR
// scrambling of stored values and the normalising of a directory name.
// Texts count from 1.
#include "formstore/CharSet.h"
#include "platform/gui/Messages.h"
#include "platform/rtl/AnsiString.h"

namespace formstore {

// The hourglass while at least one wait section is open. Only the outermost
// pair changes the screen cursor; a StopWait without a StartWait is ignored.
// Callers pair them with RAII (TWaitCursor) so an exception still restores it.
void StartWait();
void StopWait();

class TWaitCursor {
public:
    TWaitCursor() { StartWait(); }
    ~TWaitCursor() { StopWait(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

// The text as it is: callers pass a string already taken from the resources.
AnsiString ResStr(const AnsiString& Ident);

// Brings the window to the front. 0 for a disabled window. Without Restore
// the result is nonzero when the window came to the front; with Restore a
// hidden window gives 0, otherwise a window that is not maximised is
// restored and takes the focus, and the result is the control that had the
// focus before (cast to an integer; 0 for none).
LRESULT SwitchToWindow(HWND Wnd, bool Restore);

// Every occurrence of Srch replaced by Replace, left to right, without
// overlapping and without searching replaced text again; case counts. An
// empty Srch leaves S unchanged.
AnsiString ReplaceStr(const AnsiString& S, const AnsiString& Srch, const AnsiString& Replace);

// A word is a maximal run of characters outside WordDelims.
int WordCount(const AnsiString& S, const TCharSet& WordDelims);
// Position of the N-th word's first character; 0 when there is none.
int WordPosition(int N, const AnsiString& S, const TCharSet& WordDelims);
// The N-th word; empty when there is none.
AnsiString ExtractWord(int N, const AnsiString& S, const TCharSet& WordDelims);

// Position of HelpWilds in InputStr, '?' in HelpWilds matching any
// character; 0 when it does not occur.
int FindPart(const AnsiString& HelpWilds, const AnsiString& InputStr);
// Whether InputStr matches Wilds: '*' any run (the empty one too), '?' one
// character.
bool IsWild(AnsiString InputStr, AnsiString Wilds, bool IgnoreCase);

// Byte-wise XOR of Src with the repeated Key; both are short strings, so
// only their first 255 characters count. An empty key leaves Src as it is.
AnsiString XorString(const AnsiString& Key, const AnsiString& Src);
// Src XORed with the repeated Key, as two lower-case hexadecimal digits per
// byte; an empty key gives the plain hexadecimal form.
AnsiString XorEncode(const AnsiString& Key, const AnsiString& Source);
// The inverse of XorEncode. A pair that is not hexadecimal reads as a space
// (32) before the key is applied; a trailing odd character is ignored.
AnsiString XorDecode(const AnsiString& Key, const AnsiString& Source);

// The directory name ending in "\" ("c" becomes "c:\"); empty stays empty.
AnsiString NormalDir(const AnsiString& DirName);

} // namespace formstore
