#pragma once
// TList: an ordered list of untyped pointers. The list never owns what it
// points at; descendants that own their items free them themselves.
#include "platform/rtl/Object.h"

#include <functional>
#include <vector>

// Returns < 0, 0 or > 0 as Item1 sorts before, with or after Item2.
using TListSortCompare = std::function<int(void* Item1, void* Item2)>;

class TList : public TObject {
public:
    TList() = default;
    ~TList() override;
    AnsiString ClassName() const override { return "TList"; }

    int Add(void* Item);
    void Insert(int Index, void* Item);
    void Delete(int Index);
    // Deletes the first occurrence of Item; returns its former index or -1.
    int Remove(void* Item);
    int IndexOf(void* Item) const;
    // Takes the first occurrence of Item out of the list; nullptr when absent.
    void* Extract(void* Item);
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);
    virtual void Clear();
    // Deletes every nullptr item.
    void Pack();
    void Sort(const TListSortCompare& Compare);
    void* First() const;
    void* Last() const;
    // Grows the capacity when the list is full; returns this list.
    TList* Expand();

    int Capacity() const { return FCapacity; }
    void SetCapacity(int NewCapacity);
    int Count() const { return static_cast<int>(FList.size()); }
    // Growing fills the new slots with nullptr; shrinking drops the last items.
    void SetCount(int NewCount);

    // The Items property: Get reads, Put writes.
    void* Get(int Index) const;
    void Put(int Index, void* Item);
    void* Items(int Index) const { return Get(Index); }
    void* operator[](int Index) const { return Get(Index); }

private:
    void Grow();
    void CheckIndex(int Index) const;

    std::vector<void*> FList;
    int FCapacity = 0;
};

namespace rtl_detail {
// In-place quicksort of the positions L..R through two callbacks: Compare(I, J)
// orders the items now at I and J, Exchange(I, J) swaps them. The scans stay
// inside L..R, so a compare function that contradicts itself leaves an
// unspecified order but never reaches outside the range.
void QuickSortRange(int L, int R, const std::function<int(int, int)>& Compare,
                    const std::function<void(int, int)>& Exchange);
} // namespace rtl_detail
