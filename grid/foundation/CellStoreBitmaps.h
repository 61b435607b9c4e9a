#pragma once
// Pictures in stored cells are bitmaps shared by reference. A bitmap set
// keys its elements by bitmap identity: the process-wide set owns and counts
// the bitmaps read from grid data streams, and a save numbers the distinct
// bitmaps it writes with a set of its own.
#include "grid/foundation/OrderedSets.h"

#include <cstdint>

class TBitmap;

namespace grid {

class TgxBitmapElement : public TgxSetElement {
public:
    explicit TgxBitmapElement(TBitmap* ABitmap) : Bitmap(ABitmap) {}
    ~TgxBitmapElement() override;

    // The key is one pointer entry holding a bitmap; bitmaps order by address.
    std::uint8_t Compare(const TgxCustomSet* Set, const TgxSetElement* Element) const override;
    std::uint8_t CompareKey(const TgxCustomSet* Set, std::span<const TVarRec> Key) const override;

    TBitmap* Bitmap;
    std::int32_t RefCount = 0;    // cells holding the bitmap (shared set)
    std::int32_t StreamIndex = 0; // its number in the stream being written; 0 = none yet
    bool OwnsBitmap = false;      // destroying the element frees the bitmap
};

class TgxBitmapSet : public TgxObjectSet {
public:
    AnsiString ClassName() const override { return "TgxBitmapSet"; }

    void AddElement(TgxBitmapElement* Element) { Add(Element); }
    // The element holding Bitmap, or nullptr.
    TgxBitmapElement* GetBitmap(const TBitmap* Bitmap) const;
    // The element holding Bitmap, made (not owning it, counts 0) when absent.
    TgxBitmapElement* AddBitmap(TBitmap* Bitmap);
    // Counts one holder less; at 0 the element goes, and with it an owned
    // bitmap. A bitmap the set doesn't hold is ignored.
    void RemoveBitmap(const TBitmap* Bitmap);
};

// The process-wide set of bitmaps read from streams; nullptr until the first
// picture is read.
TgxBitmapSet* SharedBitmaps();
// A new empty bitmap, owned by the shared set (made when needed); its element.
TgxBitmapElement* CreateSharedBitmap();
// The bitmap's element in the shared set, or nullptr.
TgxBitmapElement* SharedBitmapElement(const TBitmap* Bitmap);
// Counts a cell taking (Release false) or dropping (Release true) Bitmap.
// Only bitmaps of the shared set are counted; the program's own are left alone.
void UpdateSharedBitmapRef(const TBitmap* Bitmap, bool Release);

} // namespace grid
