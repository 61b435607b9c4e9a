#pragma once
// The picture as the matcher runs it: the node tree laid out flat, with the
// nested repeats of a single character folded into the one repeat they
// amount to, so that their counts never multiply what is tracked per text
// position.
#include "grid/foundation/PictureTree.h"

#include <bitset>
#include <cstdint>
#include <utility>
#include <vector>

namespace grid {

struct TgxMaskStep {
    TgxPictureNodeType Type = pntNone;
    std::int32_t Count = 1; // -1: no upper bound
    bool Optional = false;
    bool Negate = false;
    std::int32_t Pos = 0; // picture position of the item (as in the tree)
    std::int32_t RangeHigh = 0;
    std::int32_t Len = 0;
    std::uint16_t CaseRule = 0; // case directive: the option bits it sets
    std::int32_t Child = -1;
    std::int32_t Next = -1;
    std::int32_t NextAlternative = -1;
    // A group of several alternatives: its index in the program's first
    // characters (see Candidates), or -1.
    std::int32_t FirstChars = -1;
};

// The option bits a case directive (">", ">>", "<", "<<", "<>") sets.
std::uint16_t CaseRuleOf(const AnsiString& Directive);

class TgxMaskProgram {
public:
    TgxMaskProgram(const AnsiString& Picture, const TgxPictureList& List);

    const TgxMaskStep& At(int Index) const { return FSteps[static_cast<std::size_t>(Index)]; }

    // A counted item whose repetitions vary in length, and which can be
    // under way from any number of text positions (after a repeat without
    // an upper bound, or itself without one), keeps one way per count (per
    // product of counts, nested) at every position of the text. The first
    // such item whose counts make more than MaxCountsUnderWay ways, or
    // nullptr; Ways is set to their number.
    static constexpr long long MaxCountsUnderWay = 8;
    const TgxMaskStep* CostlyStep(long long& Ways) const;
    int Root() const { return 0; }

    // The alternatives of a group (with FirstChars set) that can begin
    // with the byte B, in order; the others need a character other than B
    // there, as long as it is taken from the text as it stands (no literal
    // inserted, no case converted).
    std::pair<const std::int32_t*, const std::int32_t*> Candidates(const TgxMaskStep& Group,
                                                                   unsigned char B) const;

    // The places in the picture that can hold a way at one text position,
    // at most, counted for texts of LoadTextLength characters: an item
    // that can only be under way near the start counts by the share of
    // such a text it can be under way in. The first item whose places
    // bring the sum past MaxLoad, or nullptr; Load is set to the sum.
    static constexpr long long MaxLoad = 56;
    static constexpr long long LoadTextLength = 100000;
    const TgxMaskStep* CostlyLoad(long long& Load) const;
    int Size() const { return static_cast<int>(FSteps.size()); }

private:
    int Lay(const TgxPictureNode* First);
    int Add(const TgxMaskStep& Step);
    void Fold(int Index);
    void Merge(int Index);
    struct TWidth {
        long long Min = 0;
        long long Max = 0; // -1: no upper bound
    };
    TWidth WidthOf(int Index) const;
    TWidth SequenceWidth(int First) const;
    bool Passable(const TgxMaskStep& Step) const;
    const TgxMaskStep* CostlyIn(int First, bool AnyStart, long long Ways, long long& Found) const;

    struct TFirst {
        std::bitset<256> Bytes;
        bool Empty = false; // the sequence can take no character
    };
    TFirst FirstOf(int First) const;
    TFirst FirstOfStep(int Index) const;
    void IndexAlternatives(int Index);
    long long LoadOf(int Index) const;
    long long SequenceLoad(int First) const;

    const AnsiString& FPicture;
    std::vector<TgxMaskStep> FSteps;
    // Of each indexed group: for each byte, where its candidates begin in
    // FCandidates (257 offsets).
    std::vector<std::vector<std::int32_t>> FFirstOffsets;
    std::vector<std::vector<std::int32_t>> FCandidates;
};

} // namespace grid
