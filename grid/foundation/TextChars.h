#pragma once
// Character steps over the system's 8-bit text. The code page is UTF-8, so a
// multibyte sequence is one character: positions stay byte positions, but a
// step moves over the whole sequence. A byte that does not begin a complete,
// well-formed sequence counts as a character of its own, so a damaged text
// never makes a step run past its end.
//
// Two families live here. The 1-based ones (CharCountAt ... IsLetterChar)
// serve the edit-mask code, which counts positions from 1. The 0-based ones
// serve text layout and the edit box: a text is a view of bytes that ends at
// its size or at its first zero byte, whichever comes first, and a position
// is a byte offset from its start (the offset of the end is the text's
// length). Texts that live further along are passed as a sub-view.
#include "platform/rtl/AnsiString.h"

#include <string_view>

namespace grid {

// ---- 1-based steps for the edit-mask code -----------------------------------

// Bytes in the character at the 1-based position Pos; 0 beyond the text.
int CharCountAt(const AnsiString& S, int Pos);

// 1-based position of the character before Pos; 0 when Pos is at the start.
int PrevCharPos(const AnsiString& S, int Pos);

// A text character is anything but a space, tab, line end or terminating zero.
bool IsTextCharAt(const AnsiString& S, int Pos);

// A letter: an ASCII letter, or a multibyte character that has an upper and a
// lower case form.
bool IsLetterChar(const AnsiString& Ch);

// ---- 0-based multibyte helpers ----------------------------------------------

// True while multibyte characters are stepped over whole. The code page is
// UTF-8, so this is on; switched off, every byte is a character of its own
// and character counts equal byte counts.
extern bool gxIsFarEast;

// C may begin a multibyte sequence.
bool IsLeadByte(char C);

// Compares the first characters of A and B: with gxIsFarEast the locale's
// order of the whole characters, else the byte order; -1, 0 or 1. An empty
// text sorts first.
int CompareChar(std::string_view A, std::string_view B);
bool LargerChar(std::string_view A, std::string_view B);
bool SmallerChar(std::string_view A, std::string_view B);

// The byte at Pos is CR or LF.
bool EofLineChar(std::string_view Text, int Pos);
// At a line break (one line-end character, or CR LF / LF CR) Pos moves past
// it and the result is true; else Pos stays and the result is false. CR CR
// and LF LF are two breaks.
bool GetEofLine(std::string_view Text, int& Pos);
// Pos is at the end of the text.
bool EndOfText(std::string_view Text, int Pos);
// Bytes of the character at Pos: 0 at the end, 1 or 2 for a line break, the
// sequence length of a multibyte character, else 1.
int NextCharCount(std::string_view Text, int Pos);
// Bytes of the character before Pos: 0 at the start, 2 after a CR LF or
// LF CR pair, the sequence length after a multibyte character, else 1.
int PrevCharCount(std::string_view Text, int Pos);

// Offset of the first CR or LF within the first N bytes, or -1.
int StrNScanEol(std::string_view Text, int N);
// Space or tab at Pos.
bool IsSpaceChar(std::string_view Text, int Pos);
// Neither space, tab, line end nor the end of the text at Pos.
bool IsTextChar(std::string_view Text, int Pos);
// Offset of the last space or tab within the first N bytes, or -1.
int StrRNSpaceScan(std::string_view Text, int N);
// Stepping back by characters from N, the offset of the last text character,
// or -1.
int StrRNTextScan(std::string_view Text, int N);
// Offset after the spaces and tabs that start the text, within N bytes.
int StrNSkipSpace(std::string_view Text, int N);
// Bytes from Pos over the rest of the current word and the separators after
// it, up to the next word or the end.
int NextWordCount(std::string_view Text, int Pos);
// Bytes back from Pos over separators and then the word before them, to that
// word's start.
int PrevWordCount(std::string_view Text, int Pos);

// Walks the first Chars characters (FromEnd: the last Chars characters) of
// the first Bytes bytes of Text; OutChars and OutBytes get how many
// characters and bytes were walked.
void PCountChars(std::string_view Text, int Chars, int Bytes, int& OutChars, int& OutBytes,
                 bool FromEnd);
// Bytes in the first (FromEnd: last) Chars characters of the first Bytes
// bytes; 0 when either count is not positive.
int PCharToByteLen(std::string_view Text, int Chars, int Bytes, bool FromEnd);
// Characters in the first min(Bytes, Max) bytes.
int PByteToCharLen(std::string_view Text, int Bytes, int Max);
// The character before Pos is a line-end character.
bool LastCharIsEofLine(std::string_view Text, int Pos);

} // namespace grid
