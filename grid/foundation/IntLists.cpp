#include "grid/foundation/IntLists.h"

#include <algorithm>
#include <cstdint>

namespace grid {

void TgxSortIntList::Assign(const TgxSortIntList& Source) {
    if (Source.FItems.empty() || Source.FCount == 0) {
        FItems.clear();
        FItems.shrink_to_fit();
        FCount = 0;
        FCapacity = 0;
        return;
    }
    CheckCapacity(Source.FCount);
    std::copy_n(Source.FItems.begin(), Source.FCount + 1, FItems.begin());
    FCount = Source.FCount;
}

void TgxSortIntList::CheckCapacity(int Needed) {
    if (Needed > FCapacity)
        SetCapacity(Needed + 100);
    else if (FCapacity - Needed > 100)
        SetCapacity(Needed);
}

void TgxSortIntList::SetCapacity(int NewCapacity) {
    if (NewCapacity == FCapacity) return;
    NewCapacity = std::max(NewCapacity, 0);
    FItems.resize(static_cast<std::size_t>(NewCapacity) + 1);
    FItems.shrink_to_fit();
    FCapacity = NewCapacity;
    FCount = std::min(FCount, FCapacity);
}

std::int32_t TgxSortIntList::GetItem(int Index) const {
    return Index >= 1 && Index <= FCount ? FItems[Index] : 0;
}

void TgxSortIntList::SetItem(int Index, std::int32_t Value) {
    if (Index >= 1 && Index <= FCount) FItems[Index] = Value;
}

void TgxSortIntList::Insert(int Index, std::int32_t Value) {
    Index = std::clamp(Index, 1, FCount + 1);
    CheckCapacity(FCount + 1);
    std::copy_backward(FItems.begin() + Index, FItems.begin() + FCount + 1,
                       FItems.begin() + FCount + 2);
    FItems[Index] = Value;
    ++FCount;
}

void TgxSortIntList::Delete(int Index) {
    if (Index < 1 || Index > FCount) return;
    std::copy(FItems.begin() + Index + 1, FItems.begin() + FCount + 1, FItems.begin() + Index);
    --FCount;
    CheckCapacity(FCount);
}

int TgxSortIntList::Locate(std::int32_t Value, bool& Found) const {
    int Low = 1;
    int High = FCount;
    while (Low <= High) {
        const int Mid = (Low + High) / 2;
        const std::int32_t Item = GetItem(Mid);
        if (Item > Value)
            High = Mid - 1;
        else if (Item < Value)
            Low = Mid + 1;
        else {
            Found = true;
            return Mid;
        }
    }
    Found = false;
    return Low;
}

void TgxSortIntList::Add(std::int32_t Value) {
    bool Found = false;
    const int Index = Locate(Value, Found);
    if (!Found) Insert(Index, Value);
}

void TgxSortIntList::Remove(std::int32_t Value) {
    bool Found = false;
    const int Index = Locate(Value, Found);
    if (Found) Delete(Index);
}

namespace {

void* AsPointer(std::int32_t Value) {
    return reinterpret_cast<void*>(static_cast<std::intptr_t>(Value));
}
std::int32_t AsInteger(void* Item) {
    return static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(Item));
}

} // namespace

int TgxIntegerList::AddItem(std::int32_t Value) {
    return Add(AsPointer(Value));
}

std::int32_t TgxIntegerList::GetItem(int Index) const {
    return AsInteger(Get(Index));
}

void TgxIntegerList::SetItem(int Index, std::int32_t Value) {
    Put(Index, AsPointer(Value));
}

int TgxIntegerList::Remove(std::int32_t Value) {
    return TList::Remove(AsPointer(Value));
}

int IntCompare(void* A, void* B) {
    // Compared, not subtracted: the difference of two far-apart integers overflows.
    const std::int32_t X = AsInteger(A);
    const std::int32_t Y = AsInteger(B);
    return (X > Y) - (X < Y);
}

TgxIntegerSetList::~TgxIntegerSetList() {
    // The empty slots go first, in one pass, so only the sets are visited.
    Pack();
    FreeItems();
}

int TgxIntegerSetList::AddItem(TgxIntegerSet* Set) {
    return Add(Set);
}

TgxIntegerSet* TgxIntegerSetList::GetItem(int Index) const {
    return static_cast<TgxIntegerSet*>(Get(Index));
}

void TgxIntegerSetList::SetItem(int Index, TgxIntegerSet* Set) {
    TgxIntegerSet* Old = GetItem(Index); // checks the index before anything changes
    Put(Index, Set);
    if (Old != Set) delete Old;
}

int TgxIntegerSetList::Remove(TgxIntegerSet* Set) {
    return TList::Remove(Set);
}

void TgxIntegerSetList::FreeItems() {
    // Most entries of a large grid's lists are empty.
    for (int I = 0; I < Count(); ++I) {
        if (TgxIntegerSet* Item = GetItem(I)) {
            delete Item;
            Put(I, nullptr);
        }
    }
}

void TgxIntegerSetList::Assign(const TgxIntegerSetList& Source) {
    FreeItems();
    const int N = std::min(Count(), Source.Count());
    for (int I = 0; I < N; ++I) {
        const TgxIntegerSet* From = Source.GetItem(I);
        if (!From) continue;
        auto Copy = std::make_unique<TgxIntegerSet>();
        Copy->Assign(*From);
        Put(I, Copy.release());
    }
}

} // namespace grid
