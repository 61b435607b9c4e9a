#pragma once
// Sparse storage for the string grid: a two-level pointer array that makes
// sections only where something is stored, a list over it, and a string
// list over that.
#include "grid/foundation/PackedTexts.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace grid {

RTL_DECLARE_EXCEPTION(EStringSparseListError, Exception);

// Section sizes: 16 slots (small) or 256 slots (large).
enum class TSPAQuantum : std::uint8_t { SPASmall, SPALarge };
using enum TSPAQuantum;

// Called for each stored item in index order; a non-zero result stops the walk.
using TSPAApply = std::function<int(int Index, void* Item)>;

class TSparsePointerArray {
public:
    explicit TSparsePointerArray(TSPAQuantum Quantum);

    // The item at Index, or nullptr. An index beyond what the section
    // numbering can address raises EListError rather than reading another slot.
    void* ItemAt(int Index) const;
    // The slot of Index, made on demand.
    void** SlotAt(int Index);
    // Stores Item; storing nullptr over an item lowers the high bound as needed.
    void StoreAt(int Index, void* Item);
    int VisitItems(const TSPAApply& Apply) const;

    // Highest index holding an item, -1 when empty.
    int HighBound() const { return FHighBound; }
    int SectionSize() const { return FSectionSize; }
    // Sections made so far (for checking how storage grows).
    int SectionCount() const;
    // One past the largest index the array can address.
    int IndexLimit() const { return 65536 * FSectionSize; }

private:
    void CheckIndex(int Index) const;

    std::vector<std::unique_ptr<void*[]>> FSections;
    int FSectionShift;
    int FSectionSize;
    int FIndexMask;
    int FHighBound = -1;
    mutable int FCachedIndex = -1;
    mutable void* FCachedItem = nullptr;
};

class TSparseList {
public:
    explicit TSparseList(TSPAQuantum Quantum);

    void* ItemAt(int Index) const;
    void StoreAt(int Index, void* Item);
    void InsertAt(int Index, void* Item);
    void DeleteAt(int Index);
    void SwapAt(int Index1, int Index2);
    void MoveItem(int CurIndex, int NewIndex);
    void ClearItems();
    int VisitItems(const TSPAApply& Apply) const { return FList->VisitItems(Apply); }

    int Count() const { return FCount; }
    TSPAQuantum Quantum() const { return FQuantum; }
    const TSparsePointerArray& Array() const { return *FList; }

private:
    static void CheckIndex(int Index);

    std::unique_ptr<TSparsePointerArray> FList;
    int FCount = 0;
    TSPAQuantum FQuantum;
};

// A string list whose lines and objects are held sparsely: an index with
// neither text nor object takes no storage. The texts are packed into one
// block (a grid row of short texts costs little more than its characters);
// objects live in a side list made only once an item has one.
class TStringSparseList : public TStrings {
public:
    explicit TStringSparseList(TSPAQuantum Quantum);
    ~TStringSparseList() override;
    AnsiString ClassName() const override { return "TStringSparseList"; }

    AnsiString Get(int Index) const override;
    int GetCount() const override { return FCount; }
    TObject* GetObject(int Index) const override;
    void Put(int Index, const AnsiString& S) override;
    void PutObject(int Index, TObject* AObject) override;
    void Insert(int Index, const AnsiString& S) override;
    void Delete(int Index) override;
    void Exchange(int Index1, int Index2) override;
    void Clear() override;

    // The "List" property of a stored form: the present items with their
    // indexes and texts.
    struct TStoredItem {
        std::int32_t Index;
        AnsiString Text;
    };
    std::vector<TStoredItem> StoredItems() const;
    void LoadStoredItems(const std::vector<TStoredItem>& Items);

    TNotifyEvent OnChange;

private:
    // Indexes below 0 or beyond what the quantum addresses raise EListError.
    void CheckIndex(int Index) const;
    int HighBound() const { return FTexts.Length() - 1; }
    void StoreObject(int Index, TObject* AObject);
    void Changed();

    TPackedTexts FTexts;
    std::unique_ptr<TSparseList> FObjects;
    int FCount = 0;
    TSPAQuantum FQuantum;
};

} // namespace grid
