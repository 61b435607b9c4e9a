#pragma once
// The framework's string routines over AnsiString. Positions count from 1 as
// the callers' code does; 0 means "not found". Routines that the framework
// lets run past the end (Copy, Delete, Insert) clamp; a single character read
// out of range raises ERangeError instead of reading past the text.
#include "platform/rtl/AnsiString.h"

#include <cstdint>

// 1-based position of the first SubStr in S, 0 when absent or SubStr empty.
int Pos(const AnsiString& SubStr, const AnsiString& S);
// The same search; the text is UTF-8, so a byte position is what callers use.
int AnsiPos(const AnsiString& SubStr, const AnsiString& S);

// Count characters from Index (1-based). An Index below 1 starts at 1, one past
// the end gives empty text, a Count running past the end stops there.
AnsiString Copy(const AnsiString& S, int Index, int Count);
// Removes Count characters from Index; nothing happens when Index is outside
// 1..Length(S) or Count is not positive.
void Delete(AnsiString& S, int Index, int Count);
// Inserts Source before Index; below 1 inserts at the start, past the end appends.
void Insert(const AnsiString& Source, AnsiString& S, int Index);
// The character at the 1-based Index; raises ERangeError when out of range.
char CharAt(const AnsiString& S, int Index);

// Remove leading/trailing spaces and control characters (bytes up to ' ').
// Appends the UTF-8 bytes of a code point (U+0000 to U+10FFFF).
void AppendUtf8(AnsiString& Out, char32_t CodePoint);

AnsiString Trim(const AnsiString& S);
AnsiString TrimLeft(const AnsiString& S);
AnsiString TrimRight(const AnsiString& S);

// ASCII letters only; every other byte is kept.
AnsiString UpperCase(const AnsiString& S);
AnsiString LowerCase(const AnsiString& S);
// Also the Latin, Greek and Cyrillic letters of UTF-8 text.
AnsiString AnsiUpperCase(const AnsiString& S);
AnsiString AnsiLowerCase(const AnsiString& S);

// Ordinal comparisons: < 0, 0 or > 0. CompareText ignores ASCII case.
int CompareStr(const AnsiString& S1, const AnsiString& S2);
int CompareText(const AnsiString& S1, const AnsiString& S2);
bool SameText(const AnsiString& S1, const AnsiString& S2);
// Word-sort comparisons as a user expects a list to be ordered: punctuation,
// then digits, then letters alphabetically with accents and case as later
// tie-breaks (lower case first); '-' and '\'' only break ties. -1, 0 or 1.
int AnsiCompareStr(const AnsiString& S1, const AnsiString& S2);
int AnsiCompareText(const AnsiString& S1, const AnsiString& S2);
// String-sort forms of the two above: '\'' and '-' rank as punctuation
// (after '&' and after ',') instead of only breaking ties.
int AnsiCompareStrStringSort(const AnsiString& S1, const AnsiString& S2);
int AnsiCompareTextStringSort(const AnsiString& S1, const AnsiString& S2);
bool AnsiSameText(const AnsiString& S1, const AnsiString& S2);
bool AnsiSameStr(const AnsiString& S1, const AnsiString& S2);

enum class TReplaceFlag { rfReplaceAll, rfIgnoreCase };
inline constexpr TReplaceFlag rfReplaceAll = TReplaceFlag::rfReplaceAll;
inline constexpr TReplaceFlag rfIgnoreCase = TReplaceFlag::rfIgnoreCase;

// A set of TReplaceFlag: `rfReplaceAll | rfIgnoreCase` or `TReplaceFlags() << rfReplaceAll`.
class TReplaceFlags {
public:
    constexpr TReplaceFlags() = default;
    constexpr TReplaceFlags(TReplaceFlag flag) : Bits(Bit(flag)) {}

    constexpr bool Contains(TReplaceFlag flag) const { return (Bits & Bit(flag)) != 0; }
    constexpr TReplaceFlags& operator<<(TReplaceFlag flag) {
        Bits |= Bit(flag);
        return *this;
    }
    constexpr TReplaceFlags operator|(TReplaceFlags other) const {
        TReplaceFlags result;
        result.Bits = Bits | other.Bits;
        return result;
    }
    constexpr bool operator==(const TReplaceFlags&) const = default;

private:
    static constexpr unsigned Bit(TReplaceFlag flag) { return 1u << static_cast<unsigned>(flag); }
    unsigned Bits = 0;
};

constexpr TReplaceFlags operator|(TReplaceFlag a, TReplaceFlag b) {
    return TReplaceFlags(a) | TReplaceFlags(b);
}

// Replaces the first (or, with rfReplaceAll, every) OldPattern; an empty
// OldPattern leaves S unchanged.
AnsiString StringReplace(const AnsiString& S, const AnsiString& OldPattern,
                         const AnsiString& NewPattern, TReplaceFlags Flags);

// 'text' with every ' doubled.
AnsiString QuotedStr(const AnsiString& S);
// Quote + text with every Quote doubled + Quote.
AnsiString AnsiQuotedStr(const AnsiString& S, char Quote);
// Reads a quoted text starting at Src: gives it without the quotes and with
// doubled quotes undone, and moves Src past the closing quote (or to the end
// when there is none). Gives empty text and leaves Src when *Src is not Quote.
AnsiString AnsiExtractQuotedStr(const char*& Src, char Quote);

// Count copies of Ch; empty for a Count below 1.
AnsiString StringOfChar(char Ch, int Count);

// Upper-case hexadecimal, at least Digits digits. A negative value shows its
// two's complement in the width of its type.
AnsiString IntToHex(int Value, int Digits);
AnsiString IntToHex(unsigned Value, int Digits);
AnsiString IntToHex(long Value, int Digits);
AnsiString IntToHex(unsigned long Value, int Digits);
AnsiString IntToHex(long long Value, int Digits);
AnsiString IntToHex(unsigned long long Value, int Digits);

// 1-based index of the last byte of S that is one of Delimiters, 0 if none.
int LastDelimiter(const AnsiString& Delimiters, const AnsiString& S);
// Whether S[Index] (1-based) is one of Delimiters; false when out of range.
bool IsDelimiter(const AnsiString& Delimiters, const AnsiString& S, int Index);

enum class TTextLineBreakStyle { tlbsLF, tlbsCRLF };
inline constexpr TTextLineBreakStyle tlbsLF = TTextLineBreakStyle::tlbsLF;
inline constexpr TTextLineBreakStyle tlbsCRLF = TTextLineBreakStyle::tlbsCRLF;

// Every line break (CR, LF, CR LF or LF CR) becomes the given style.
AnsiString AdjustLineBreaks(const AnsiString& S, TTextLineBreakStyle Style = tlbsCRLF);
