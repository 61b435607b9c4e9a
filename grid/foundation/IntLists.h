#pragma once
// Integer containers: a sorted list with binary search (1-based), a plain
// list of integers and a list of owned integer sets (both over TList).
#include "grid/foundation/OrderedSets.h"
#include "platform/rtl/Lists.h"

#include <cstdint>
#include <vector>

namespace grid {

// Ascending, without duplicates, items 1..Count. The list grows with 100
// spare places and gives memory back once more than 100 places are unused.
class TgxSortIntList {
public:
    TgxSortIntList() = default;
    TgxSortIntList(const TgxSortIntList&) = delete;
    TgxSortIntList& operator=(const TgxSortIntList&) = delete;
    virtual ~TgxSortIntList() = default;

    virtual void Assign(const TgxSortIntList& Source);
    virtual void CheckCapacity(int Needed);
    // 0 outside 1..Count.
    virtual std::int32_t GetItem(int Index) const;
    // Index 0 (or below) means 1, beyond Count + 1 means Count + 1. The order
    // is the caller's business: insert where Locate says.
    virtual void Insert(int Index, std::int32_t Value);
    // Ignored outside 1..Count.
    virtual void Delete(int Index);
    virtual void SetCapacity(int NewCapacity);
    // Inserts Value in order unless present.
    virtual void Add(std::int32_t Value);
    // The 1-based position of Value (Found true), or where it would be
    // inserted (1..Count + 1, Found false). Reads items through GetItem.
    virtual int Locate(std::int32_t Value, bool& Found) const;
    virtual void Remove(std::int32_t Value);

    // Ignored outside 1..Count.
    void SetItem(int Index, std::int32_t Value);
    int Count() const { return FCount; }
    int Capacity() const { return FCapacity; }

protected:
    // Slot 0 holds nothing; items live in 1..Count.
    std::vector<std::int32_t> FItems;
    int FCount = 0;
    int FCapacity = 0;
};

// Integers kept in the pointer slots of a TList (0-based, TList's index checks).
class TgxIntegerList : public TList {
public:
    AnsiString ClassName() const override { return "TgxIntegerList"; }
    int AddItem(std::int32_t Value);
    std::int32_t GetItem(int Index) const;
    void SetItem(int Index, std::int32_t Value);
    int Remove(std::int32_t Value);
};

// The order TList sorting wants for two integers: negative, 0 or positive.
int IntCompare(void* A, void* B);

// A TList of owned integer sets; a slot may be empty (nullptr).
class TgxIntegerSetList : public TList {
public:
    ~TgxIntegerSetList() override;
    AnsiString ClassName() const override { return "TgxIntegerSetList"; }

    int AddItem(TgxIntegerSet* Set);
    TgxIntegerSet* GetItem(int Index) const;
    // The set held before is freed (the list owns its sets).
    void SetItem(int Index, TgxIntegerSet* Set);
    // Takes Set out of the list without freeing it; its former index or -1.
    int Remove(TgxIntegerSet* Set);
    // Frees every set and leaves its slot empty; the count stays.
    void FreeItems();
    // Frees its own sets, then copies each set of Source into the same slot,
    // for the indexes both lists have; the count is the caller's to set.
    void Assign(const TgxIntegerSetList& Source);
};

} // namespace grid
