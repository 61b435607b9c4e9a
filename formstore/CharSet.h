#pragma once
// A set of 8-bit characters: the delimiter and "empty character" sets the
// string routines take. Bytes 128..255 are members like any other, so a
// UTF-8 multibyte character is split only where the caller asks for it.
#include <bitset>
#include <initializer_list>
#include <string_view>

namespace formstore {

class TCharSet {
public:
    TCharSet() = default;
    TCharSet(std::initializer_list<char> Chars) {
        for (char C : Chars)
            Include(C);
    }
    // Every character of the text is a member.
    explicit TCharSet(std::string_view Chars) {
        for (char C : Chars)
            Include(C);
    }

    bool Contains(char C) const { return FBits.test(static_cast<unsigned char>(C)); }
    bool Empty() const { return FBits.none(); }
    TCharSet& Include(char C) {
        FBits.set(static_cast<unsigned char>(C));
        return *this;
    }
    TCharSet& operator<<(char C) { return Include(C); }

private:
    std::bitset<256> FBits;
};

} // namespace formstore
