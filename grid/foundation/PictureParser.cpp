#include "grid/foundation/PictureParser.h"

#include "grid/foundation/MaskProgram.h"
#include "grid/foundation/TextChars.h"

#include <algorithm>
#include <climits>

namespace grid {

TgxPictureParser::TgxPictureParser(const AnsiString& Picture, const AnsiString& MaskName,
                                   TRaise Raise)
    : FPicture(Picture), FLen(static_cast<int>(Picture.size())), FMaskName(MaskName),
      FRaise(std::move(Raise)) {}

bool TgxPictureParser::IsSpecialChar(char C) {
    switch (C) {
    case '!':
    case '#':
    case '&':
    case '*':
    case ',':
    case ';':
    case '<':
    case '>':
    case '?':
    case '@':
    case '[':
    case ']':
    case '^':
    case '{':
    case '}':
        return true;
    default:
        return false;
    }
}

bool TgxPictureParser::IsMaskChar(char C) {
    return C == '#' || C == '?' || C == '&' || C == '@' || C == '!';
}

std::unique_ptr<TgxPictureList> TgxPictureParser::Parse() {
    auto List = std::make_unique<TgxPictureList>();
    if (FLen > 0) {
        int P = 1;
        List->Root()->Child = GetNextAlternative(P, '\0');
    }
    long long Ways = 0;
    const TgxMaskProgram Program(FPicture, *List);
    if (const TgxMaskStep* Costly = Program.CostlyStep(Ways))
        Fail("Error in mask " + FMaskName + ", the item at position " + std::to_string(Costly->Pos) +
             " is repeated " + std::to_string(Ways) +
             " ways at once at any place in the text, too many to check");
    long long Load = 0;
    if (const TgxMaskStep* Costly = Program.CostlyLoad(Load))
        Fail("Error in mask " + FMaskName + ", the items up to position " +
             std::to_string(Costly->Pos) + " can be followed " + std::to_string(Load) +
             " ways at once at each place in the text, more than " +
             std::to_string(TgxMaskProgram::MaxLoad) + ", too many to check");
    return List;
}

std::unique_ptr<TgxPictureNode> TgxPictureParser::GetNextAlternative(int& P, char Closing) {
    std::unique_ptr<TgxPictureNode> First;
    TgxPictureNode* Last = nullptr;
    while (P <= FLen) {
        const char C = At(P);
        if (Closing != '\0' && C == Closing) break;
        if (C == ',') {
            ++P;
            break;
        }
        std::unique_ptr<TgxPictureNode> Item = GetNextItem(P);
        TgxPictureNode* Raw = Item.get();
        if (Last)
            Last->Next = std::move(Item);
        else
            First = std::move(Item);
        Last = Raw;
    }
    return First;
}

int TgxPictureParser::GetItemCount(int& P) {
    // P stands after the '*'. No digits: no upper bound. A count too large
    // for 32 bits is held at the largest one.
    if (P > FLen || At(P) < '0' || At(P) > '9') return -1;
    long long Value = 0;
    while (P <= FLen && At(P) >= '0' && At(P) <= '9') {
        Value = Value * 10 + (At(P) - '0');
        if (Value > INT_MAX) Value = INT_MAX;
        ++P;
    }
    return static_cast<int>(Value);
}

std::unique_ptr<TgxPictureNode> TgxPictureParser::GetNextItem(int& P) {
    int Count = 1;
    bool Counted = false;
    const int ItemPos = P;
    if (At(P) == '*') {
        ++P;
        Count = GetItemCount(P);
        Counted = true;
        if (P > FLen) ErrorUnexpectedEnd();
    }
    // A count without digits costs no more than one: its repetitions are
    // alike to the matcher, as are the items outside every counted one.
    // The running figures stop growing past the limit.
    const long long Scale = std::min(FScale * std::max(Count, 1), MaxPictureRepeats + 1);
    if (Scale > 1) FRepeats = std::min(FRepeats + Scale, MaxPictureRepeats + 1);
    if (FRepeats > MaxPictureRepeats) ErrorTooCostly(ItemPos);
    const char C = At(P);
    std::unique_ptr<TgxPictureNode> Node;
    if (!IsSpecialChar(C) || C == ';') {
        Node = std::make_unique<TgxPictureNode>();
        Node->NodeType = pntLiteralChars;
        Node->Pos = P;
        Node->Len = PictureCharCount(P);
        P += Node->Len;
    } else if (IsMaskChar(C)) {
        Node = std::make_unique<TgxPictureNode>();
        Node->NodeType = pntMaskChars;
        Node->Pos = P;
        ++P;
        if (!Counted)
            while (P <= FLen && IsMaskChar(At(P)))
                ++P;
        Node->Len = P - Node->Pos;
    } else if (C == '[' || C == '{') {
        const long long Outer = FScale;
        FScale = Scale;
        Node = GetGroup(P);
        FScale = Outer;
    } else if ((C == '<' || C == '>') && !Counted) {
        Node = std::make_unique<TgxPictureNode>();
        Node->NodeType = pntCase;
        Node->Pos = P;
        Node->Len = PictureCharCount(P);
        P += Node->Len;
    } else {
        ErrorInvalidChar(P);
    }
    Node->Count = Count;
    return Node;
}

bool TgxPictureParser::ReadRangeBound(int& P, int& Bound) const {
    if (P > FLen) return false;
    if (At(P) == ';') {
        if (P + 1 > FLen) return false;
        Bound = P + 1;
        P += 1 + CharCountAt(FPicture, P + 1);
        return true;
    }
    if (IsSpecialChar(At(P))) return false;
    Bound = P;
    P += CharCountAt(FPicture, P);
    return true;
}

bool TgxPictureParser::IsRange(int P, int& Low, int& High, bool& Negate, int& Start,
                               int& End) const {
    Negate = P <= FLen && At(P) == '^';
    if (Negate) ++P;
    Start = P;
    if (!ReadRangeBound(P, Low)) return false;
    if (P > FLen || At(P) != '-') return false;
    ++P;
    if (!ReadRangeBound(P, High)) return false;
    if (P > FLen || (At(P) != ']' && At(P) != '}')) return false;
    End = P;
    return true;
}

std::unique_ptr<TgxPictureNode> TgxPictureParser::GetGroup(int& P) {
    if (FDepth >= MaxPictureGroupDepth) ErrorInvalidChar(P);
    ++FDepth;
    auto Group = std::make_unique<TgxPictureNode>();
    Group->NodeType = pntGroup;
    Group->Pos = P;
    Group->Optional = At(P) == '[';
    const char Closing = Group->Optional ? ']' : '}';
    ++P;

    int Low = 0, High = 0, Start = 0, End = 0;
    bool Negate = false;
    if (IsRange(P, Low, High, Negate, Start, End)) {
        auto Range = std::make_unique<TgxPictureNode>();
        Range->NodeType = pntRange;
        Range->Pos = Low;
        Range->RangeHigh = High;
        Range->Negate = Negate;
        Range->Len = End - Start;
        Group->Child = std::move(Range);
        P = End;
    } else {
        // Alternatives are chained through their first nodes. An empty
        // alternative (",," or a comma next to a bracket) adds nothing.
        TgxPictureNode* PrevFirst = nullptr;
        while (P <= FLen && At(P) != Closing) {
            std::unique_ptr<TgxPictureNode> Alternative = GetNextAlternative(P, Closing);
            if (!Alternative) continue;
            TgxPictureNode* Raw = Alternative.get();
            if (PrevFirst)
                PrevFirst->NextAlternative = std::move(Alternative);
            else
                Group->Child = std::move(Alternative);
            PrevFirst = Raw;
        }
    }
    if (P > FLen || At(P) != Closing) ErrorExpected(Closing, P);
    ++P;
    Group->Len = P - Group->Pos;
    --FDepth;
    return Group;
}

int TgxPictureParser::PictureCharCount(int P) {
    const char C = At(P);
    if (C == ';') {
        if (P >= FLen) ErrorUnexpectedEnd();
        return 1 + CharCountAt(FPicture, P + 1);
    }
    if (C == '<') return P < FLen && (At(P + 1) == '<' || At(P + 1) == '>') ? 2 : 1;
    if (C == '>') return P < FLen && At(P + 1) == '>' ? 2 : 1;
    return CharCountAt(FPicture, P);
}

void TgxPictureParser::ErrorUnexpectedEnd() {
    Fail("Error in mask " + FMaskName + ", unexpected end of picture");
}

void TgxPictureParser::ErrorInvalidChar(int P) {
    Fail("Error in mask " + FMaskName + ", invalid character '" +
         FPicture.substr(P - 1, CharCountAt(FPicture, P)) + "' at position " + std::to_string(P));
}

void TgxPictureParser::ErrorExpected(char Closing, int P) {
    Fail("Error in mask " + FMaskName + ", expected '" + AnsiString(1, Closing) + "' at position " +
         std::to_string(P));
}

void TgxPictureParser::ErrorTooCostly(int P) {
    Fail("Error in mask " + FMaskName + ", the repeat count at position " + std::to_string(P) +
         " makes more than " + std::to_string(MaxPictureRepeats) +
         " repetitions in all, too many to check");
}

void TgxPictureParser::Fail(const AnsiString& Message) {
    FRaise(Message);
    throw EgxMaskError(Message); // Raise must not return; stay safe if it does
}

} // namespace grid
