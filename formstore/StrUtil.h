#pragma once
// Small stateless routines on 8-bit text: removing and padding characters,
// words and fields over a set of delimiters, quoting, number bases, Roman
// numerals and command-line switches. Positions count from 1; every routine
// returns new text and leaves its input alone unless the argument is a
// reference.
#include "formstore/CharSet.h"
#include "platform/rtl/AnsiString.h"

#include <cstdint>
#include <vector>

namespace formstore {

// The program's text (UTF-8) in the OEM code page 437 of console and DOS
// files, one byte per character; a character 437 lacks, or a byte that
// starts no valid UTF-8 character, becomes '?'.
AnsiString StrToOem(const AnsiString& AnsiStr);
// Code page 437 text back to UTF-8; every byte has its character.
AnsiString OemToAnsiStr(const AnsiString& OemStr);

// True when every character is in EmptyChars (the empty text included).
bool IsEmptyStr(const AnsiString& S, const TCharSet& EmptyChars);
// Every occurrence of Chr removed.
AnsiString DelChars(const AnsiString& S, char Chr);
// All spaces removed.
AnsiString DelSpace(const AnsiString& S);
// Leading spaces removed; only the space character, tabs stay.
AnsiString DelBSpace(const AnsiString& S);
// Trailing spaces removed.
AnsiString DelESpace(const AnsiString& S);
// Leading and trailing spaces removed.
AnsiString DelRSpace(const AnsiString& S);
// Every run of spaces shortened to one space.
AnsiString DelSpace1(const AnsiString& S);
// Every tab replaced by Numb spaces (0 removes it).
AnsiString Tab2Space(const AnsiString& S, std::uint8_t Numb);

// N copies of C; empty for N below 1.
AnsiString MakeStr(char C, int N);
AnsiString MS(char C, int N);
// S padded with C on the left (AddChar) or right (AddCharR) up to N characters;
// never shortened.
AnsiString AddChar(char C, const AnsiString& S, int N);
AnsiString AddCharR(char C, const AnsiString& S, int N);
// Left-justified (padded right) and right-justified (padded left) in spaces.
AnsiString LeftStr(const AnsiString& S, int N);
AnsiString RightStr(const AnsiString& S, int N);
// Centred in spaces: Len div 2 - Length div 2 before, the rest after.
AnsiString CenterStr(const AnsiString& S, int Len);

// String-sort comparison of the locale ('-' and '\'' rank as punctuation),
// -1, 0 or 1; CompText ignores case.
int CompStr(const AnsiString& S1, const AnsiString& S2);
int CompText(const AnsiString& S1, const AnsiString& S2);
// Position of the N-th occurrence of C in S (occurrences may overlap); 0 when
// there are fewer or N is below 1.
int NPos(const AnsiString& C, const AnsiString& S, int N);
// The part of S before the first Symb, all of S when there is none.
AnsiString Copy2Symb(const AnsiString& S, char Symb);
// Copy2Symb; S keeps what follows the copied part (starting at the symbol)
// with its leading spaces removed.
AnsiString Copy2SymbDel(AnsiString& S, char Symb);
AnsiString Copy2Space(const AnsiString& S);
AnsiString Copy2SpaceDel(AnsiString& S);
// Lower case, then each word's first character upper case.
AnsiString AnsiProperCase(const AnsiString& S, const TCharSet& WordDelims);

// The N-th word (a maximal run of characters outside WordDelims) and its
// position, empty and 0 when there is none.
AnsiString ExtractWordPos(int N, const AnsiString& S, const TCharSet& WordDelims, int& Pos);
// The N-th field, every single delimiter ending a field (so "a,,b" has an
// empty second field); empty for N below 1.
AnsiString ExtractDelimited(int N, const AnsiString& S, const TCharSet& Delims);
// The field starting at Pos; Pos moves past the delimiter that ends it (or to
// Length + 1 at the end). A Pos below 1 reads from the start.
AnsiString ExtractSubstr(const AnsiString& S, int& Pos, const TCharSet& Delims);
// Whether some word of S equals W exactly (case counts).
bool IsWordPresent(const AnsiString& W, const AnsiString& S, const TCharSet& WordDelims);

// Quote + S with every Quote doubled + Quote.
AnsiString QuotedString(const AnsiString& S, char Quote);
// Undoes QuotedString when S starts with Quote; otherwise S unchanged.
AnsiString ExtractQuotedString(const AnsiString& S, char Quote);

// The program parameter that follows the switch Switch; empty when there is
// none. A parameter is a candidate when SwitchChars is empty, or when it is
// longer than one character and starts with one of SwitchChars; its rest is
// compared with Switch ignoring case. The first form reads the program's own
// command line; Params holds the parameters without the program name.
AnsiString GetCmdLineArg(const AnsiString& Switch, const TCharSet& SwitchChars);
AnsiString GetCmdLineArg(const AnsiString& Switch, const TCharSet& SwitchChars,
                         const std::vector<AnsiString>& Params);

// A comma before every group of three characters counted from the right.
// Every character counts, sign and decimal point included: "1234567" gives
// "1,234,567", "-123" gives "-,123".
AnsiString Numb2USA(const AnsiString& S);
// Upper-case hexadecimal with at least A digits.
AnsiString Dec2Hex(int N, std::uint8_t A);
AnsiString D2H(int N, std::uint8_t A);
// Hexadecimal text (with or without "$") to a number; 0 when it is not one.
int Hex2Dec(const AnsiString& S);
int H2D(const AnsiString& S);
// N in base B (digits 0-9 then A onward), left-padded with "0" to A
// characters. A base below 2 raises EConvertError.
AnsiString Dec2Numb(std::uint32_t N, std::uint8_t A, std::uint8_t B);
// Digits in base B to a number without checking them (a digit's value is its
// code less '0', or less 'A' + 10 from 'A' on). A base below 2 raises
// EConvertError.
int Numb2Dec(const AnsiString& S, std::uint8_t B);
// A Roman numeral (either case, optional leading "-") to a number; 0 when any
// other character is present.
int RomanToInt(const AnsiString& S);
// A positive number as a Roman numeral; empty for 0 and below.
AnsiString IntToRoman(int Value);
// The low Digits bits (at most 32) of Value, a space before each group of
// Spaces bits counted from the right. A group size below 1 raises
// EConvertError.
AnsiString IntToBin(int Value, int Digits, int Spaces);

} // namespace formstore
