#pragma once
// The texts of a sparse string list packed into one heap block: the texts
// lie end to end at the front, a 32-bit entry per index (the end of its
// text and whether an item is there) grows down from the back, and both
// share one free gap. A list of short texts then costs its text bytes and
// four bytes an index, instead of a string object and a record per item.
#include <cstdint>
#include <string_view>

namespace grid {

class TPackedTexts {
public:
    TPackedTexts() = default;
    TPackedTexts(const TPackedTexts&) = delete;
    TPackedTexts& operator=(const TPackedTexts&) = delete;
    ~TPackedTexts();

    // One past the highest index holding an item; 0 when empty.
    int Length() const { return FBlock ? static_cast<int>(FBlock->Length) : 0; }
    // Index >= 0; indexes at or beyond Length hold nothing.
    bool Present(int Index) const;
    // Valid until the next change.
    std::string_view Text(int Index) const;

    // Puts an item (Present) or removes one; an absent item's text is
    // ignored. Text must not point into this store.
    void Store(int Index, bool Present, std::string_view Text);
    // Moves the items at Index and after up one place and puts an item at
    // Index, or leaves Index empty when Present is false.
    void Insert(int Index, std::string_view Text, bool Present = true);
    // Drops the item at Index, if any, and moves the later ones down a place.
    void Erase(int Index);
    void Clear();

    // Bytes the block holds for texts and entries, free gap included.
    std::size_t Capacity() const { return FBlock ? FBlock->Capacity : 0; }

private:
    struct THeader {
        std::uint32_t Length;
        std::uint32_t TextBytes;
        std::uint32_t Capacity;
    };

    char* Data() const { return reinterpret_cast<char*>(FBlock + 1); }
    char* EntryAt(int Index) const;
    std::uint32_t Entry(int Index) const;
    void SetEntry(int Index, std::uint32_t Value);
    std::uint32_t Start(int Index) const;
    // Adds Delta to the ends of entries From..Length-1.
    void ShiftEnds(int From, std::uint32_t Delta);
    // Makes room for Extra more bytes of text or entries.
    void Reserve(std::size_t Extra);
    // Drops absent entries at the end; frees the block once nothing is left.
    void TrimTail();

    THeader* FBlock = nullptr;
};

} // namespace grid
