#pragma once
// Sparse storage for the string grid: a two-level pointer array that makes
// sections only where something is stored, a list over it, and a string
// list over that.
#include "grid/foundation/SectionedTexts.h"
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

// log2 of the section size.
constexpr int SectionShiftOf(TSPAQuantum Quantum) {
    return Quantum == SPALarge ? 8 : 4;
}

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
    // The slot of Index, made on demand; an index below 0 or at MaxIndexes
    // raises EListError.
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
    // The highest index at or below Index, the lowest at or above Index,
    // that holds an item; -1 if none. Only made sections are looked at.
    int HighestFrom(int Index) const;
    int LowestFrom(int Index) const;

private:
    // Sections are numbered through directories of 65536 each, made as
    // they are reached. A directory holds its sections in chunks of 256,
    // each made with its first section and let go with its last, with a
    // bit per section telling which are made: a lone far section costs a
    // chunk, not a slot for every section below it.
    static constexpr int ChunkShift = 8;
    static constexpr int ChunkSize = 1 << ChunkShift;
    static constexpr int WordsPerChunk = ChunkSize / 64;
    struct TChunk {
        std::unique_ptr<void*[]> Sections[ChunkSize];
        std::uint64_t Made[WordsPerChunk];
    };
    struct TDirectory {
        std::vector<std::unique_ptr<TChunk>> Chunks;
        // The made bits of sections 64 * Word to 64 * Word + 63.
        std::uint64_t MadeWord(std::size_t Word) const;
        std::size_t Words() const { return Chunks.size() * WordsPerChunk; }
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
// neither text nor object takes no storage. The texts are packed section by
// section (a grid row of short texts costs little more than its
// characters, a far item one section); objects live in a side list made
// only once an item has one.
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
    // Indexes below 0 raise EListError; CheckStore also the index limit.
    void CheckIndex(int Index) const;
    void CheckStore(int Index) const;
    int HighBound() const { return FTexts.HighBound(); }
    void StoreObject(int Index, TObject* AObject);
    void Changed();
    void InsertStoredItems(const std::vector<TStoredItem>& Items);

    TSectionedTexts FTexts;
    std::unique_ptr<TSparseList> FObjects;
    int FCount = 0;
    TSPAQuantum FQuantum;
};

} // namespace grid
