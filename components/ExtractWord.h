#pragma once
// Finding the N-th word of a text, words being separated by any character of
// a delimiter set. Characters 128 to 255 never separate words, even when the
// set holds them, so a UTF-8 sequence always stays inside its word.
#include "platform/rtl/AnsiString.h"

#include <bitset>
#include <initializer_list>

namespace components {

// A set of 8-bit characters.
class TSysCharSet {
public:
    TSysCharSet() = default;
    TSysCharSet(std::initializer_list<char> Chars) {
        for (const char c : Chars)
            *this << c;
    }
    TSysCharSet& operator<<(char C) {
        FBits.set(static_cast<unsigned char>(C));
        return *this;
    }
    bool Contains(char C) const { return FBits.test(static_cast<unsigned char>(C)); }

private:
    std::bitset<256> FBits;
};

// 1-based position of the first character of the N-th word; 0 when the text
// has fewer than N words or N is below 1.
int GetWordPosition(int N, const AnsiString& S, const TSysCharSet& WordDelims);
// The N-th word, or empty text when there is none.
AnsiString GetWord(int N, const AnsiString& S, const TSysCharSet& WordDelims);

} // namespace components
