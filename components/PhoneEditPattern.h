#pragma once
// The fixed-pattern typing the phone number and postal code edits share.
// A pattern such as "(###) ###-####" has placeholders, where the user's
// characters go, and literals, which the edit lays in, skips and removes
// itself. The "digits" of a text are what is left once the literals are
// taken out.
#include "platform/rtl/AnsiString.h"

#include <bitset>
#include <functional>
#include <optional>

namespace components::pattern {

using TCharSet = std::bitset<256>;

inline bool Contains(const TCharSet& Set, char C) {
    return Set.test(static_cast<unsigned char>(C));
}
void AddChars(TCharSet& Set, const AnsiString& Chars);

// Text without any character of Literals.
AnsiString RemoveLiterals(const AnsiString& Text, const TCharSet& Literals);

// Lays Digits into the placeholders of Format in order. The literals ahead
// of each digit are written; with Full also those after the last digit, up
// to the next placeholder. Digits beyond the placeholders are dropped; no
// digits give an empty text.
AnsiString LayIntoFormat(const AnsiString& Format, const TCharSet& Placeholders,
                         const AnsiString& Digits, bool Full);

// Literals among the first N characters of Text.
int LiteralsBefore(const AnsiString& Text, int N, const TCharSet& Literals);
// Caret position N counted in digits.
inline int RelativeCaretPos(const AnsiString& Text, int N, const TCharSet& Literals) {
    return N - LiteralsBefore(Text, N, Literals);
}

// The text with its selection (0-based start).
struct TEditState {
    AnsiString Text;
    int SelStart = 0;
    int SelLength = 0;
    AnsiString SelText() const { return Text.substr(SelStart, SelLength); }
};

struct TKeyEditRules {
    TCharSet Literals;
    // Whether a key other than backspace may go in (the pattern has room
    // and the key fits where it lands); the state is already clamped.
    std::function<bool(const TEditState& State, char Key)> MayInsert;
    // Reformatting after a backspace, and after an insertion.
    std::function<AnsiString(const AnsiString& Text)> AfterBackspace;
    std::function<AnsiString(const AnsiString& Text)> AfterInsert;
};

// The text and caret after one typed key (backspace or a character), or
// nothing when the key is refused. The caret keeps its place among the
// digits and ends behind any literals that directly follow it.
std::optional<TEditState> EditByKey(TEditState State, char Key, const TKeyEditRules& Rules);

} // namespace components::pattern
