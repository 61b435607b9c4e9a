#include "grid/model/VisibleItems.h"

namespace grid {

void TgxVisibleItems::Assign(const TgxSortIntList& Source) {
    TgxSortIntList::Assign(Source);
    if (const auto* Other = dynamic_cast<const TgxVisibleItems*>(&Source)) {
        FSize = Other->FSize;
        FActive = Other->FActive;
    }
}

int TgxVisibleItems::Locate(std::int32_t P, bool& Found) const {
    if (P <= FSize && GetItem(P) == P) {
        Found = true;
        return P;
    }
    if (FActive) return TgxSortIntList::Locate(P, Found);
    Found = false;
    return P > 0 ? FSize + 1 : 1;
}

void TgxVisibleItems::Add(std::int32_t P) {
    if (!FActive) return;
    TgxSortIntList::Add(P);
    FSize = Count();
}

void TgxVisibleItems::Remove(std::int32_t P) {
    if (!FActive) CheckSize(FSize, 1);
    TgxSortIntList::Remove(P);
    FSize = Count();
}

void TgxVisibleItems::CheckSize(int N, int First) {
    CheckCapacity(N);
    for (int Next = First; FCount < N; ++Next)
        FItems[++FCount] = Next;
    FCount = N;
    FActive = true;
}

void TgxVisibleItems::SetSize(int N, int First) {
    if (N == FSize) return;
    FSize = N;
    if (FActive) CheckSize(N, First);
}

void TgxVisibleItems::SetItems(const std::vector<int>& Items) {
    CheckCapacity(static_cast<int>(Items.size()));
    FCount = 0;
    for (int Item : Items)
        FItems[++FCount] = Item;
    FSize = FCount;
    FActive = true;
}

void TgxVisibleItems::MoveItem(int From, int To) {
    if (!FActive || From == To) return;
    bool FromVisible = false;
    const int F = Locate(From, FromVisible);
    if (From < To) {
        int I = FromVisible ? F + 1 : F;
        for (; I <= FCount && FItems[I] <= To; ++I)
            if (FItems[I] >= From) --FItems[I];
        if (FromVisible) {
            // Items F+1 .. I-1 slide down one place; To takes the last one.
            for (int K = F; K < I - 1; ++K)
                FItems[K] = FItems[K + 1];
            FItems[I - 1] = To;
        }
    } else {
        int I = FromVisible ? F - 1 : F - 1;
        for (; I >= 1 && FItems[I] >= To; --I)
            if (FItems[I] <= From) ++FItems[I];
        if (FromVisible) {
            for (int K = F; K > I + 1; --K)
                FItems[K] = FItems[K - 1];
            FItems[I + 1] = To;
        }
    }
}

} // namespace grid
