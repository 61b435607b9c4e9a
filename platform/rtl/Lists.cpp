#include "platform/rtl/Lists.h"

#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <string>

namespace {

// The largest count or capacity a list accepts.
constexpr int MaxListSize = 0x7FFFFFFF / 16;

[[noreturn]] void ListError(const char* Text, int Data) {
    throw EListError(std::string(Text) + " (" + std::to_string(Data) + ")");
}

} // namespace

TList::~TList() = default;

void TList::CheckIndex(int Index) const {
    if (Index < 0 || Index >= Count()) ListError("List index out of bounds", Index);
}

void TList::Grow() {
    int Delta = FCapacity > 64 ? FCapacity / 4 : (FCapacity > 8 ? 16 : 4);
    SetCapacity(FCapacity + Delta);
}

int TList::Add(void* Item) {
    int Result = Count();
    if (Result == FCapacity) Grow();
    FList.push_back(Item);
    return Result;
}

void TList::Insert(int Index, void* Item) {
    if (Index < 0 || Index > Count()) ListError("List index out of bounds", Index);
    if (Count() == FCapacity) Grow();
    FList.insert(FList.begin() + Index, Item);
}

void TList::Delete(int Index) {
    CheckIndex(Index);
    FList.erase(FList.begin() + Index);
}

int TList::Remove(void* Item) {
    int Result = IndexOf(Item);
    if (Result >= 0) Delete(Result);
    return Result;
}

int TList::IndexOf(void* Item) const {
    for (int I = 0; I < Count(); ++I)
        if (FList[I] == Item) return I;
    return -1;
}

void* TList::Extract(void* Item) {
    int I = IndexOf(Item);
    if (I < 0) return nullptr;
    Delete(I);
    return Item;
}

void TList::Exchange(int Index1, int Index2) {
    CheckIndex(Index1);
    CheckIndex(Index2);
    std::swap(FList[Index1], FList[Index2]);
}

void TList::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex) return;
    CheckIndex(NewIndex);
    void* Item = Get(CurIndex);
    FList.erase(FList.begin() + CurIndex);
    FList.insert(FList.begin() + NewIndex, Item);
}

void TList::Clear() {
    SetCount(0);
    SetCapacity(0);
}

void TList::Pack() {
    // One pass: a list of a large grid's rows is mostly empty slots.
    FList.erase(std::remove(FList.begin(), FList.end(), nullptr), FList.end());
}

void TList::Sort(const TListSortCompare& Compare) {
    rtl_detail::QuickSortRange(
        0, Count() - 1, [&](int I, int J) { return Compare(FList[I], FList[J]); },
        [&](int I, int J) { std::swap(FList[I], FList[J]); });
}

void* TList::First() const {
    return Get(0);
}

void* TList::Last() const {
    return Get(Count() - 1);
}

TList* TList::Expand() {
    if (Count() == FCapacity) Grow();
    return this;
}

void TList::SetCapacity(int NewCapacity) {
    if (NewCapacity < Count() || NewCapacity > MaxListSize)
        ListError("List capacity out of bounds", NewCapacity);
    if (NewCapacity == FCapacity) return;
    if (NewCapacity == 0) {
        std::vector<void*>().swap(FList);
    } else {
        FList.reserve(static_cast<std::size_t>(NewCapacity));
    }
    FCapacity = NewCapacity;
}

void TList::SetCount(int NewCount) {
    if (NewCount < 0 || NewCount > MaxListSize) ListError("List count out of bounds", NewCount);
    if (NewCount > FCapacity) SetCapacity(NewCount);
    // Lists of rows grow one row at a time, for which a push costs far
    // less than a general resize.
    if (static_cast<std::size_t>(NewCount) == FList.size() + 1)
        FList.push_back(nullptr);
    else
        FList.resize(static_cast<std::size_t>(NewCount), nullptr);
}

void* TList::Get(int Index) const {
    CheckIndex(Index);
    return FList[Index];
}

void TList::Put(int Index, void* Item) {
    CheckIndex(Index);
    FList[Index] = Item;
}

namespace rtl_detail {

void QuickSortRange(int L, int R, const std::function<int(int, int)>& Compare,
                    const std::function<void(int, int)>& Exchange) {
    while (L < R) {
        int I = L;
        int J = R;
        int P = L + (R - L) / 2;
        while (I <= J) {
            while (I < R && Compare(I, P) < 0)
                ++I;
            while (J > L && Compare(J, P) > 0)
                --J;
            if (I <= J) {
                if (I != J) {
                    Exchange(I, J);
                    // The pivot travels with its item.
                    if (P == I)
                        P = J;
                    else if (P == J)
                        P = I;
                }
                ++I;
                --J;
            }
        }
        // Recurse into the smaller part and loop on the larger one, so the
        // stack stays logarithmic whatever the input order.
        if (J - L < R - I) {
            if (L < J) QuickSortRange(L, J, Compare, Exchange);
            L = I;
        } else {
            if (I < R) QuickSortRange(I, R, Compare, Exchange);
            R = J;
        }
    }
}

} // namespace rtl_detail
