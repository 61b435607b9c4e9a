#pragma once
// The picture as the matcher runs it: the node tree laid out flat, with the
// nested repeats of a single character folded into the one repeat they
// amount to, so that their counts never multiply what is tracked per text
// position.
#include "grid/foundation/PictureTree.h"

#include <cstdint>
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
};

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

    const AnsiString& FPicture;
    std::vector<TgxMaskStep> FSteps;
};

} // namespace grid
