#pragma once
// The image list the glyph renderer keeps its state images in, and the
// cache that shares one list among all renderers whose glyphs have the
// same size. A freed slot keeps its image and is handed out again before
// the list grows.
#include "platform/gui/Graphics.h"
#include "platform/rtl/Bits.h"

#include <memory>
#include <vector>

namespace components {

class TGlyphList {
public:
    TGlyphList(int AWidth, int AHeight);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Images held, used or not.
    int ImageCount() const { return static_cast<int>(FImages.size()); }
    // Slots in use.
    int Count() const { return FCount; }

    // Puts the image (cut or padded to the list's size) into a free slot;
    // its pixels of MaskColor become transparent. clDefault takes the
    // colour of the image's bottom-left pixel. Returns the slot.
    int AddMasked(TBitmap* Image, TColor MaskColor);
    // Frees a used slot; the image stays for reuse.
    void Delete(int Index);
    // Draws the image of a slot with its top-left corner at (X, Y), leaving
    // its transparent pixels as they are.
    void Draw(TCanvas* Canvas, int X, int Y, int Index) const;

private:
    struct TImage {
        std::vector<TColor> Pixels;
        std::vector<bool> Clear;
    };
    int AllocIndex();

    int FWidth;
    int FHeight;
    std::vector<TImage> FImages;
    TBits FUsed;
    int FCount = 0;
};

class TGlyphCache {
public:
    // The list for glyphs of that size, made when there is none.
    TGlyphList* GetList(int AWidth, int AHeight);
    // Frees the list when none of its slots is in use.
    void ReturnList(TGlyphList* List);
    bool Empty() const { return FGlyphLists.empty(); }

private:
    std::vector<std::unique_ptr<TGlyphList>> FGlyphLists;
};

} // namespace components
