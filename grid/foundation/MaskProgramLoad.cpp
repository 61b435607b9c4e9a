// What a picture costs the matcher at each text position, known before any
// text is seen: the characters each alternative of a group can begin with,
// so that at a position only the alternatives that can take its character
// are tried, and the places that can hold a way at once, so that a picture
// that would hold too many at every position is refused when it is set.
#include "grid/foundation/MaskProgram.h"

#include <algorithm>
#include <cmath>

namespace grid {

namespace {

constexpr long long Huge = 1LL << 40;

long long Capped(long long Value) {
    return std::min(Value, Huge);
}

} // namespace

// A character beginning a sequence, as taken from the text as it stands:
// a literal, a range between two one-byte bounds and a digit each take
// only their own bytes; anything else may take any byte.
TgxMaskProgram::TFirst TgxMaskProgram::FirstOfStep(int Index) const {
    const TgxMaskStep& Step = At(Index);
    TFirst F;
    if (Step.Count == 0) { // never taken; skipped when optional
        F.Empty = Step.Optional;
        return F;
    }
    const auto Byte = [&](int Pos) {
        return static_cast<unsigned char>(FPicture[static_cast<std::size_t>(Pos - 1)]);
    };
    switch (Step.Type) {
    case pntCase:
        F.Empty = true;
        break;
    case pntLiteralChars: {
        const int Skip = Byte(Step.Pos) == ';' ? 1 : 0;
        const unsigned char B = Byte(Step.Pos + Skip);
        if (B < 0x80)
            F.Bytes.set(B);
        else
            F.Bytes.set();
        break;
    }
    case pntMaskChars:
        if (Byte(Step.Pos) == '#')
            for (unsigned char B = '0'; B <= '9'; ++B)
                F.Bytes.set(B);
        else
            F.Bytes.set();
        break;
    case pntRange: {
        const unsigned char Low = Byte(Step.Pos);
        const unsigned char High = Byte(Step.RangeHigh);
        if (Step.Negate || Low >= 0x80 || High >= 0x80)
            F.Bytes.set();
        else
            for (unsigned B = Low; B <= High; ++B)
                F.Bytes.set(B);
        break;
    }
    case pntGroup:
        if (Step.Child < 0) F.Bytes.set();
        for (int Alt = Step.Child; Alt >= 0; Alt = At(Alt).NextAlternative) {
            const TFirst A = FirstOf(Alt);
            F.Bytes |= A.Bytes;
            F.Empty = F.Empty || A.Empty;
        }
        break;
    case pntNone:
        F.Bytes.set();
        break;
    }
    F.Empty = F.Empty || Step.Optional;
    return F;
}

TgxMaskProgram::TFirst TgxMaskProgram::FirstOf(int First) const {
    TFirst F;
    for (int Index = First; Index >= 0; Index = At(Index).Next) {
        const TFirst S = FirstOfStep(Index);
        F.Bytes |= S.Bytes;
        if (!S.Empty) return F;
    }
    F.Empty = true;
    return F;
}

// An alternative that can take no character goes on after the group with
// whatever comes, so it is a candidate for every byte. One that begins with
// an item counted none times, not optional, fails before the alternatives
// after it are tried, so they are candidates for none.
void TgxMaskProgram::IndexAlternatives(int Index) {
    const TgxMaskStep& Group = At(Index);
    if (Group.Type != pntGroup || Group.Child < 0 || At(Group.Child).NextAlternative < 0) return;
    std::vector<std::pair<int, std::bitset<256>>> Alts;
    for (int Alt = Group.Child; Alt >= 0; Alt = At(Alt).NextAlternative) {
        if (At(Alt).Count == 0 && !At(Alt).Optional) break;
        TFirst F = FirstOf(Alt);
        if (F.Empty) F.Bytes.set();
        Alts.emplace_back(Alt, F.Bytes);
    }
    std::vector<std::int32_t> Offsets(257, 0);
    std::vector<std::int32_t> Candidates;
    for (int B = 0; B < 256; ++B) {
        Offsets[static_cast<std::size_t>(B)] = static_cast<std::int32_t>(Candidates.size());
        for (const auto& [Alt, Bytes] : Alts)
            if (Bytes.test(static_cast<std::size_t>(B))) Candidates.push_back(Alt);
    }
    Offsets[256] = static_cast<std::int32_t>(Candidates.size());
    FSteps[static_cast<std::size_t>(Index)].FirstChars = static_cast<std::int32_t>(FCandidates.size());
    FFirstOffsets.push_back(std::move(Offsets));
    FCandidates.push_back(std::move(Candidates));
}

std::pair<const std::int32_t*, const std::int32_t*>
TgxMaskProgram::Candidates(const TgxMaskStep& Group, unsigned char B) const {
    const auto Which = static_cast<std::size_t>(Group.FirstChars);
    const std::vector<std::int32_t>& Offsets = FFirstOffsets[Which];
    const std::int32_t* Data = FCandidates[Which].data();
    return {Data + Offsets[B], Data + Offsets[B + 1u]};
}

long long TgxMaskProgram::SequenceLoad(int First) const {
    long long Sum = 0;
    for (int Index = First; Index >= 0; Index = At(Index).Next)
        Sum = Capped(Sum + LoadOf(Index));
    return Sum;
}

// The places of one step: each character of a run of mask characters, or
// the item (never entered when counted none times); a group adds what its alternatives hold, those that can take
// the same byte together; a counted item that is not passed in one step
// holds its places once per count.
long long TgxMaskProgram::LoadOf(int Index) const {
    const TgxMaskStep& Step = At(Index);
    long long Own = Step.Type == pntMaskChars ? Step.Len : 1;
    if (Step.Count == 0) return 1; // never entered
    if (Step.Type == pntGroup) {
        if (Step.FirstChars < 0) {
            Own += SequenceLoad(Step.Child);
        } else {
            std::vector<long long> Loads(FSteps.size(), 0);
            for (int Alt = Step.Child; Alt >= 0; Alt = At(Alt).NextAlternative)
                Loads[static_cast<std::size_t>(Alt)] = SequenceLoad(Alt);
            long long Most = 0;
            for (unsigned B = 0; B < 256; ++B) {
                long long Sum = 0;
                const auto [Begin, End] = Candidates(Step, static_cast<unsigned char>(B));
                for (const std::int32_t* Alt = Begin; Alt != End; ++Alt)
                    Sum = Capped(Sum + Loads[static_cast<std::size_t>(*Alt)]);
                Most = std::max(Most, Sum);
            }
            Own += Most;
        }
    }
    if (Step.Count >= 2 && !Passable(Step)) Own = Capped(Own * Step.Count);
    return Own;
}

// An item at the top of the picture that has a bounded width and follows
// only such items holds its ways between the fewest and the most
// characters that can come before and through it.
const TgxMaskStep* TgxMaskProgram::CostlyLoad(long long& Load) const {
    double Sum = 0;
    long long Before = 0;    // the fewest characters before the item
    long long MostBefore = 0; // the most, -1: no bound
    for (int Index = At(Root()).Child; Index >= 0; Index = At(Index).Next) {
        const TWidth Width = WidthOf(Index);
        long long Span = LoadTextLength;
        if (MostBefore >= 0 && Width.Max >= 0)
            Span = std::min(MostBefore + Width.Max - Before + 1, LoadTextLength);
        long long Places = LoadOf(Index);
        // Counted repetitions of one width from one place follow each
        // other: a position lies in one of them (or at the seam of two).
        const TgxMaskStep& Step = At(Index);
        if (MostBefore == Before && Width.Min == Width.Max && Step.Count >= 2 && !Passable(Step))
            Places = std::min(Places, 2 * (Places / Step.Count) + 1);
        Sum += static_cast<double>(Places) * static_cast<double>(Span) /
               static_cast<double>(LoadTextLength);
        Load = static_cast<long long>(std::ceil(Sum));
        if (Sum > static_cast<double>(MaxLoad)) return &At(Index);
        Before = Capped(Before + Width.Min);
        MostBefore = MostBefore < 0 || Width.Max < 0 ? -1 : Capped(MostBefore + Width.Max);
    }
    return nullptr;
}

} // namespace grid
