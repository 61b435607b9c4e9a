#include "grid/model/Selection.h"

#include <algorithm>
#include <utility>

namespace grid {

bool TgxSelection::GetSelected(int Index) const {
    return Index > 0 && Index < FBits.Size() && FBits.GetBit(Index);
}

void TgxSelection::SetSelected(int Index, bool Selected) {
    if (Index < 1 || Index >= FBits.Size()) return;
    if (FBits.GetBit(Index) == Selected) return;
    FBits.SetBit(Index, Selected);
    FCount += Selected ? 1 : -1;
    if (!Selected && Index == FFirst)
        FFirst = Next(Index);
    else if (Selected && (FFirst == -1 || Index < FFirst))
        FFirst = Index;
    if (!Selected && Index == FLast)
        FLast = Previous(Index);
    else if (Selected && Index > FLast)
        FLast = Index;
}

int TgxSelection::Next(int Index) const {
    if (FCount == 0 || Index >= FLast) return -1;
    // Positions below the first selected one need no scan.
    for (int I = std::max(Index + 1, FFirst); I <= FLast; ++I)
        if (FBits.GetBit(I)) return I;
    return -1;
}

int TgxSelection::Previous(int Index) const {
    if (FCount == 0 || Index <= FFirst) return -1;
    for (int I = std::min(Index - 1, FLast); I >= FFirst && I > 0; --I)
        if (FBits.GetBit(I)) return I;
    return -1;
}

int TgxSelection::RangeCount(int A, int B) const {
    if (A > B) std::swap(A, B);
    A = std::max(A, 1);
    B = std::min(B, FBits.Size() - 1);
    if (FCount == 0 || B < FFirst || A > FLast) return 0;
    if (A <= FFirst && B >= FLast) return FCount;
    int Result = FBits.GetBit(A) ? 1 : 0;
    for (int I = Next(A); I != -1 && I <= B; I = Next(I))
        ++Result;
    return Result;
}

void TgxSelection::SetSize(int Size) {
    Size = std::max(Size, 0);
    const int Old = FBits.Size();
    if (Size < Old) {
        FCount -= RangeCount(Size, Old - 1);
        if (FLast >= Size) FLast = FCount > 0 ? Previous(Size) : -1;
        if (FFirst >= Size) FFirst = -1;
        if (FCount == 0) FFirst = FLast = -1;
    }
    FBits.SetSize(Size);
}

void TgxSelection::Reset() {
    const int Size = FBits.Size();
    FBits.SetSize(0);
    FBits.SetSize(Size);
    FCount = 0;
    FFirst = FLast = -1;
}

bool TgxSelection::Assign(const TgxSelection& Source) {
    if (FCount == 0 && Source.FCount == 0) {
        FBits.SetSize(Source.FBits.Size());
        return false;
    }
    bool Changed = false;
    const int Size = Source.FBits.Size();
    const int Common = std::min(Size, FBits.Size());
    for (int I = 0; I < Common && !Changed; ++I)
        Changed = FBits.GetBit(I) != Source.FBits.GetBit(I);
    for (int I = Common; I < FBits.Size() && !Changed; ++I)
        Changed = FBits.GetBit(I);
    for (int I = Common; I < Size && !Changed; ++I)
        Changed = Source.FBits.GetBit(I);
    FBits.SetSize(0);
    FBits.SetSize(Size);
    for (int I = Source.FFirst; I != -1 && I <= Source.FLast; I = Source.Next(I))
        FBits.SetBit(I, true);
    FFirst = Source.FFirst;
    FLast = Source.FLast;
    FCount = Source.FCount;
    return Changed;
}

} // namespace grid
