#pragma once
// The texts of a sparse string list, held in sections of 16 or 256
// indexes. Each section that holds an item packs its texts into one block
// (a TPackedTexts over the section's own indexes); the first section is
// kept inline, since most lists never reach past it, and the others are
// found by section number through a sparse pointer array. Storage then
// follows the stored items: an item at a far index costs one section, and
// a shift touches only the sections at or above the place it starts.
#include "grid/foundation/PackedTexts.h"

#include <functional>
#include <memory>
#include <string_view>
#include <utility>

namespace grid {

class TSparsePointerArray;

class TSectionedTexts {
public:
    // SectionShift: log2 of the indexes a section holds.
    explicit TSectionedTexts(int SectionShift);
    TSectionedTexts(const TSectionedTexts&) = delete;
    TSectionedTexts& operator=(const TSectionedTexts&) = delete;
    ~TSectionedTexts();

    // Highest index holding an item, -1 when empty.
    int HighBound() const;
    // Index >= 0.
    bool Present(int Index) const;
    // Valid until the next change.
    std::string_view Text(int Index) const;

    // Puts an item (Present) or removes one; an absent item's text is ignored.
    void Store(int Index, bool Present, std::string_view Text);
    // The items at Index and after move up one place; Text becomes the item
    // at Index. The caller keeps the highest item below the index limit.
    void Insert(int Index, std::string_view Text);
    // Drops the item at Index, if any, and moves the later ones down a place.
    void Erase(int Index);
    void Clear();

    // Visit(Index, Text) for each item, in index order.
    void VisitItems(const std::function<void(int Index, std::string_view Text)>& Visit) const;

private:
    const TPackedTexts* Find(int S) const;
    TPackedTexts* Find(int S) { return const_cast<TPackedTexts*>(std::as_const(*this).Find(S)); }
    TPackedTexts& Make(int S);
    // Lets section S go once it holds nothing.
    void DropIfEmpty(int S);
    // The highest section at or below S, the lowest at or above S, that
    // holds an item; -1 if none.
    int SectionAtOrBelow(int S) const;
    int SectionAtOrAbove(int S) const;
    // Items at Index and after move up a place, leaving Index empty.
    void OpenGap(int Index);

    int FShift;
    int FLast;
    TPackedTexts FFirst;
    // Sections 1 and up, by section number; made with the first of them.
    std::unique_ptr<TSparsePointerArray> FMore;
};

} // namespace grid
