#pragma once
// Sparse storage for the string grid: a two-level pointer array that makes
// sections only where something is stored, a list over it, and a string
// list over that.
#include "grid/foundation/PackedTexts.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"

#include <climits>
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
    ~TSparsePointerArray();

    // One past the largest index: every non-negative 32-bit index can be
    // addressed, whichever the section size.
    static constexpr int MaxIndexes = INT_MAX;

    // The item at Index, or nullptr. A negative index raises EListError.
    void* ItemAt(int Index) const;
    // The slot of Index, made on demand.
    void** SlotAt(int Index);
    // Stores Item; storing nullptr over an item lowers the high bound as needed.
    void StoreAt(int Index, void* Item);
    // Every item at Index or beyond moves up one place and Index is left
    // empty. The work follows the stored sections, not the indexes passed.
    void InsertGap(int Index);
    // The item at Index is dropped and every item beyond moves down one place.
    void RemoveSlot(int Index);
    int VisitItems(const TSPAApply& Apply) const;

    // Highest index holding an item, -1 when empty.
    int HighBound() const { return FHighBound; }
    int SectionSize() const { return FSectionSize; }
    // Sections held (for checking how storage grows): a section is made by
    // the first item stored in it and let go once it is empty again.
    int SectionCount() const;
    int IndexLimit() const { return MaxIndexes; }

private:
    // Sections are numbered through directories of 65536 each, made as
    // they are reached, with a bit per section telling which are made.
    struct TDirectory {
        std::vector<std::unique_ptr<void*[]>> Sections;
        std::vector<std::uint64_t> Made;
    };
    static constexpr int DirectoryShift = 16;
    static constexpr int DirectoryMask = (1 << DirectoryShift) - 1;

    void CheckIndex(int Index) const;
    void** Section(int S) const;
    void** MakeSection(int S);
    void FreeSection(int S);
    bool SectionEmpty(int S) const;
    // The first made section at or after S, the last at or before S; -1 if none.
    int NextSection(int S) const;
    int PrevSection(int S) const;
    // The highest index at or below Index holding an item, or -1.
    int HighestFrom(int Index) const;
    void ClearCache() const {
        FCachedIndex = -1;
        FCachedItem = nullptr;
    }

    std::vector<std::unique_ptr<TDirectory>> FDirectories;
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

    // The items are stored as "List" below, never line by line.
    bool StoresStrings() const override { return false; }

protected:
    // The stored property "List": the count of present items, then each
    // one's index and text. Read back, each text is inserted at its index.
    void DefineProperties(TFiler* Filer) override;

private:
    // Indexes below 0 raise EListError.
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
