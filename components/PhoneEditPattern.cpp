#include "components/PhoneEditPattern.h"

#include <algorithm>

namespace components::pattern {

namespace {
constexpr char KeyBackspace = 8;
} // namespace

void AddChars(TCharSet& Set, const AnsiString& Chars) {
    for (char C : Chars)
        Set.set(static_cast<unsigned char>(C));
}

AnsiString RemoveLiterals(const AnsiString& Text, const TCharSet& Literals) {
    AnsiString Result;
    for (char C : Text)
        if (!Contains(Literals, C)) Result += C;
    return Result;
}

AnsiString LayIntoFormat(const AnsiString& Format, const TCharSet& Placeholders,
                         const AnsiString& Digits, bool Full) {
    AnsiString Result;
    std::size_t I = 0;
    std::size_t J = 0;
    const auto CopyLiterals = [&] {
        while (J < Format.size() && !Contains(Placeholders, Format[J]))
            Result += Format[J++];
    };
    while (J < Format.size() && I < Digits.size()) {
        CopyLiterals();
        while (J < Format.size() && Contains(Placeholders, Format[J]) && I < Digits.size()) {
            Result += Digits[I++];
            ++J;
        }
        if (Full) CopyLiterals();
    }
    return Result;
}

int LiteralsBefore(const AnsiString& Text, int N, const TCharSet& Literals) {
    const int End = std::clamp(N, 0, static_cast<int>(Text.size()));
    return static_cast<int>(std::count_if(Text.begin(), Text.begin() + End,
                                          [&](char C) { return Contains(Literals, C); }));
}

std::optional<TEditState> EditByKey(TEditState State, char Key, const TKeyEditRules& Rules) {
    const int Length = static_cast<int>(State.Text.size());
    State.SelStart = std::clamp(State.SelStart, 0, Length);
    State.SelLength = std::clamp(State.SelLength, 0, Length - State.SelStart);
    int S = State.SelStart;
    int Relative = RelativeCaretPos(State.Text, S, Rules.Literals);
    AnsiString Text = State.Text;
    int Change = 0;
    if (Key == KeyBackspace) {
        if (State.SelLength > 0) {
            Text.erase(S, State.SelLength);
        } else {
            // Backspace goes through the literals to the digit before them.
            while (S > 0 && Contains(Rules.Literals, Text[S - 1]))
                --S;
            if (S > 0) Text.erase(S - 1, 1);
            Change = -1;
        }
        Text = Rules.AfterBackspace(Text);
    } else {
        if (!Rules.MayInsert(State, Key)) return std::nullopt;
        Text.erase(S, State.SelLength);
        Text.insert(Text.begin() + S, Key);
        Change = 1;
        Text = Rules.AfterInsert(Text);
    }
    // A typed literal is taken out again by the reformatting: it moves nothing.
    if (!Contains(Rules.Literals, Key)) Relative = std::max(Relative + Change, 0);

    const int NewLength = static_cast<int>(Text.size());
    int Caret = 0;
    while (Caret < NewLength && RelativeCaretPos(Text, Caret, Rules.Literals) < Relative)
        ++Caret;
    while (Caret < NewLength && Contains(Rules.Literals, Text[Caret]))
        ++Caret;
    return TEditState{Text, Caret, 0};
}

} // namespace components::pattern
