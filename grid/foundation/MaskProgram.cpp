#include "grid/foundation/MaskProgram.h"

#include <algorithm>
#include <utility>

namespace grid {

namespace {

// What a group of a single repeated character comes to: one or more of
// that character (Plus), or none or more (Star).
enum class TShape : std::uint8_t { Other, Plus, Star };

bool IsOneChar(const TgxMaskStep& S) {
    return (S.Type == pntMaskChars && S.Len == 1) || S.Type == pntRange;
}

} // namespace

std::uint16_t CaseRuleOf(const AnsiString& Directive) {
    const auto Bit = [](TgxMaskOption Option) {
        return static_cast<std::uint16_t>(TgxMaskOptions{Option}.Bits());
    };
    if (Directive == ">") return Bit(moOptUpper);
    if (Directive == ">>") return Bit(moUpper);
    if (Directive == "<") return Bit(moOptLower);
    if (Directive == "<<") return Bit(moLower);
    return 0;
}

TgxMaskProgram::TgxMaskProgram(const AnsiString& Picture, const TgxPictureList& List)
    : FPicture(Picture) {
    const TgxPictureNode* Root = List.Root();
    TgxMaskStep Top;
    Top.Type = Root->NodeType;
    Top.Count = Root->Count;
    Top.Optional = Root->Optional;
    Add(Top);
    const int Child = Lay(Root->Child.get());
    FSteps[0].Child = Child;
    // A group's steps come after it, so folding from the last step back
    // folds the inner groups first; the steps a fold adds are not groups
    // that could fold further.
    const int Laid = Size();
    for (int Index = Laid - 1; Index >= 0; --Index)
        Fold(Index);
    for (int Index = 0; Index < Laid; ++Index)
        Merge(Index);
    for (int Index = 0; Index < Size(); ++Index)
        IndexAlternatives(Index);
}

// The same character repeated in several items in a row (*@*@*@) is that
// character at least as many times: the items' count, then none or more,
// again preferring the fewest characters, each converted alike.
void TgxMaskProgram::Merge(int Index) {
    const TgxMaskStep First = At(Index);
    const auto Plus = [](const TgxMaskStep& S) {
        return IsOneChar(S) && S.Count == -1 && S.NextAlternative < 0;
    };
    if (!Plus(First)) return;
    const auto Same = [&](const TgxMaskStep& S) {
        return Plus(S) && S.Type == First.Type && S.Negate == First.Negate &&
               FPicture.compare(static_cast<std::size_t>(S.Pos - 1), static_cast<std::size_t>(S.Len),
                                FPicture, static_cast<std::size_t>(First.Pos - 1),
                                static_cast<std::size_t>(First.Len)) == 0 &&
               (S.Type != pntRange ||
                FPicture.compare(static_cast<std::size_t>(S.RangeHigh - 1), 4, FPicture,
                                 static_cast<std::size_t>(First.RangeHigh - 1), 4) == 0);
    };
    int Count = 1;
    int After = First.Next;
    while (After >= 0 && Same(At(After))) {
        ++Count;
        After = At(After).Next;
    }
    if (Count < 2) return;
    TgxMaskStep Repeat = First;
    Repeat.Next = Repeat.NextAlternative = -1;
    TgxMaskStep Tail;
    Tail.Type = pntGroup;
    Tail.Optional = true;
    Tail.Pos = First.Pos;
    Tail.Len = First.Len;
    Tail.Child = Add(Repeat);
    Tail.Next = After;
    const int TailIndex = Add(Tail);
    TgxMaskStep& Counted = FSteps[static_cast<std::size_t>(Index)];
    Counted.Count = Count;
    Counted.Next = TailIndex;
}

int TgxMaskProgram::Add(const TgxMaskStep& Step) {
    FSteps.push_back(Step);
    return static_cast<int>(FSteps.size()) - 1;
}

// Lays out one sequence (following Next) and returns its first step; the
// groups in it are laid out, and folded, before the group itself.
int TgxMaskProgram::Lay(const TgxPictureNode* First) {
    int Head = -1;
    int Last = -1;
    for (const TgxPictureNode* Node = First; Node; Node = Node->Next.get()) {
        TgxMaskStep Step;
        Step.Type = Node->NodeType;
        Step.Count = Node->Count;
        Step.Optional = Node->Optional;
        Step.Negate = Node->Negate;
        Step.Pos = Node->Pos;
        Step.RangeHigh = Node->RangeHigh;
        Step.Len = Node->Len;
        if (Node->NodeType == pntCase) Step.CaseRule = CaseRuleOf(FPicture.substr(Node->Pos - 1, Node->Len));
        const int Index = Add(Step);
        if (Node->NodeType == pntGroup) {
            int PrevFirst = -1;
            for (const TgxPictureNode* Alt = Node->Child.get(); Alt; Alt = Alt->NextAlternative.get()) {
                const int AltFirst = Lay(Alt);
                if (PrevFirst < 0)
                    FSteps[Index].Child = AltFirst;
                else
                    FSteps[PrevFirst].NextAlternative = AltFirst;
                PrevFirst = AltFirst;
            }
        }
        if (Last < 0)
            Head = Index;
        else
            FSteps[Last].Next = Index;
        Last = Index;
    }
    return Head;
}

// A group whose only content is one item repeating one character matches
// the same texts as that character repeated, and in the same order of
// preference: the fewest characters first. Every way of splitting the same
// characters among the iterations converts them alike, so the folded form
// finds the same answers, while its repeat counts no longer multiply the
// ways there are to reach a text position. A group that is the first of
// several alternatives is left as it is: a failed repetition of it goes on
// to the next alternative from wherever that repetition began.
void TgxMaskProgram::Fold(int Index) {
    const TgxMaskStep G = At(Index);
    if (G.Type != pntGroup || G.Child < 0 || G.NextAlternative >= 0 || G.Count == 0) return;
    const TgxMaskStep Body = At(G.Child);
    if (Body.Next >= 0 || Body.NextAlternative >= 0) return;

    int Char = -1;
    TShape Shape = TShape::Other;
    int Exactly = 0; // a required count of one or more characters first
    if (IsOneChar(Body) && Body.Count == 1 && !G.Optional && G.Count > 1) {
        // *n{c}: the character counted n times, which the matcher passes at once.
        TgxMaskStep Counted = Body;
        Counted.Count = G.Count;
        const int CountedIndex = Add(Counted);
        FSteps[static_cast<std::size_t>(Index)].Count = 1;
        FSteps[static_cast<std::size_t>(Index)].Child = CountedIndex;
        return;
    }
    if (IsOneChar(Body) && Body.Count == 1) {
        if (G.Count != -1) return; // *n[c]: at most n, left alone
        Char = G.Child;
        Shape = G.Optional ? TShape::Star : TShape::Plus;
    } else {
        TShape Inner = TShape::Other;
        if (IsOneChar(Body) && Body.Count == -1) {
            Char = G.Child;
            Inner = TShape::Plus;
        } else if (Body.Type == pntGroup && Body.Count == 1 && Body.Child >= 0 &&
                   IsOneChar(At(Body.Child)) && At(Body.Child).Count == -1 &&
                   At(Body.Child).Next < 0 && At(Body.Child).NextAlternative < 0) {
            Char = Body.Child; // already folded: {*c} or [*c]
            Inner = Body.Optional ? TShape::Star : TShape::Plus;
        }
        if (Inner == TShape::Other) return;
        if (Inner == TShape::Star || G.Optional) {
            Shape = TShape::Star;
        } else {
            Shape = TShape::Plus;
            if (G.Count > 1) Exactly = G.Count;
        }
    }

    TgxMaskStep Repeat = At(Char);
    Repeat.Count = -1;
    Repeat.Next = Repeat.NextAlternative = -1;
    const int RepeatIndex = Add(Repeat);
    int Child = RepeatIndex;
    if (Exactly > 0) {
        // n characters, then none or more: *n{*c} is *n c [*c].
        TgxMaskStep Tail;
        Tail.Type = pntGroup;
        Tail.Optional = true;
        Tail.Pos = G.Pos;
        Tail.Len = G.Len;
        Tail.Child = RepeatIndex;
        TgxMaskStep Counted = Repeat;
        Counted.Count = Exactly;
        Counted.Next = Add(Tail);
        Child = Add(Counted);
    }
    TgxMaskStep& Group = FSteps[static_cast<std::size_t>(Index)];
    Group.Optional = Shape == TShape::Star;
    Group.Count = 1;
    Group.Child = Child;
}

// A character or literal counted n times is passed in one step by the
// matcher, whatever its count.
bool TgxMaskProgram::Passable(const TgxMaskStep& Step) const {
    return Step.NextAlternative < 0 && (IsOneChar(Step) || Step.Type == pntLiteralChars);
}

TgxMaskProgram::TWidth TgxMaskProgram::SequenceWidth(int First) const {
    TWidth Sum;
    for (int Index = First; Index >= 0; Index = At(Index).Next) {
        const TWidth W = WidthOf(Index);
        Sum.Min += W.Min;
        Sum.Max = Sum.Max < 0 || W.Max < 0 ? -1 : std::min(Sum.Max + W.Max, 1LL << 40);
    }
    return Sum;
}

// How many characters a step takes, at least and at most.
TgxMaskProgram::TWidth TgxMaskProgram::WidthOf(int Index) const {
    const TgxMaskStep& Step = At(Index);
    TWidth One;
    switch (Step.Type) {
    case pntMaskChars:
        One = {Step.Len, Step.Len};
        break;
    case pntRange:
    case pntLiteralChars:
        One = {1, 1};
        break;
    case pntGroup: {
        bool First = true;
        for (int Alt = Step.Child; Alt >= 0; Alt = At(Alt).NextAlternative) {
            const TWidth W = SequenceWidth(Alt);
            One.Min = First ? W.Min : std::min(One.Min, W.Min);
            One.Max = First ? W.Max : (One.Max < 0 || W.Max < 0 ? -1 : std::max(One.Max, W.Max));
            First = false;
        }
        break;
    }
    default:
        break;
    }
    TWidth W;
    const long long Count = Step.Count;
    W.Min = Step.Optional ? 0 : (Count < 0 ? One.Min : std::min(Count * One.Min, 1LL << 40));
    if (One.Max == 0)
        W.Max = 0;
    else if (Count < 0 || One.Max < 0)
        W.Max = -1;
    else
        W.Max = std::min(Count * One.Max, 1LL << 40);
    return W;
}

const TgxMaskStep* TgxMaskProgram::CostlyStep(long long& Ways) const {
    Ways = 0;
    return CostlyIn(At(Root()).Child, false, 1, Ways);
}

// AnyStart: the sequence may begin at any number of text positions.
const TgxMaskStep* TgxMaskProgram::CostlyIn(int First, bool AnyStart, long long Ways,
                                            long long& Found) const {
    for (int Index = First; Index >= 0; Index = At(Index).Next) {
        const TgxMaskStep& Step = At(Index);
        const TWidth Width = WidthOf(Index);
        const bool Counted = Step.Count >= 2 && !Passable(Step);
        const long long Here = Counted ? std::min(Ways * Step.Count, 1LL << 40) : Ways;
        if (Counted && Here > MaxCountsUnderWay && (AnyStart || Width.Max < 0)) {
            Found = Here;
            return &Step;
        }
        if (Step.Type == pntGroup)
            for (int Alt = Step.Child; Alt >= 0; Alt = At(Alt).NextAlternative)
                if (const TgxMaskStep* Costly = CostlyIn(Alt, AnyStart || Step.Count < 0, Here, Found))
                    return Costly;
        if (Width.Max < 0) AnyStart = true;
    }
    return nullptr;
}

} // namespace grid
