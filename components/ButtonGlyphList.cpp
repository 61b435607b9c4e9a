#include "components/ButtonGlyphList.h"

#include <algorithm>

namespace components {

TGlyphList::TGlyphList(int AWidth, int AHeight)
    : FWidth(std::max(0, AWidth)), FHeight(std::max(0, AHeight)) {}

int TGlyphList::AllocIndex() {
    int Result = FUsed.OpenBit();
    if (Result >= ImageCount()) {
        FImages.push_back({std::vector<TColor>(static_cast<std::size_t>(FWidth) * FHeight, clBlack),
                           std::vector<bool>(static_cast<std::size_t>(FWidth) * FHeight, true)});
        Result = ImageCount() - 1;
        if (FUsed.Size() < ImageCount()) FUsed.SetSize(ImageCount());
    }
    FUsed.SetBit(Result, true);
    return Result;
}

int TGlyphList::AddMasked(TBitmap* Image, TColor MaskColor) {
    const int Index = AllocIndex();
    TImage& Slot = FImages[static_cast<std::size_t>(Index)];
    TCanvas* Source = Image->Canvas();
    const int W = std::min(FWidth, Image->Width());
    const int H = std::min(FHeight, Image->Height());
    TColor Mask = MaskColor;
    if (Mask == clDefault)
        Mask = H > 0 && W > 0 ? Source->Pixels(0, Image->Height() - 1) : clNone;
    else
        Mask = ColorToRGB(Mask);
    std::fill(Slot.Pixels.begin(), Slot.Pixels.end(), clBlack);
    std::fill(Slot.Clear.begin(), Slot.Clear.end(), true);
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X) {
            const TColor Pixel = Source->Pixels(X, Y);
            const std::size_t At = static_cast<std::size_t>(Y) * FWidth + X;
            Slot.Clear[At] = Pixel == Mask;
            if (!Slot.Clear[At]) Slot.Pixels[At] = Pixel;
        }
    ++FCount;
    return Index;
}

void TGlyphList::Delete(int Index) {
    if (Index < 0 || Index >= FUsed.Size() || !FUsed.GetBit(Index)) return;
    --FCount;
    FUsed.SetBit(Index, false);
}

void TGlyphList::Draw(TCanvas* Canvas, int X, int Y, int Index) const {
    if (Index < 0 || Index >= ImageCount()) return;
    const TImage& Slot = FImages[static_cast<std::size_t>(Index)];
    for (int Row = 0; Row < FHeight; ++Row)
        for (int Col = 0; Col < FWidth; ++Col) {
            const std::size_t At = static_cast<std::size_t>(Row) * FWidth + Col;
            if (!Slot.Clear[At]) Canvas->SetPixels(X + Col, Y + Row, Slot.Pixels[At]);
        }
}

TGlyphList* TGlyphCache::GetList(int AWidth, int AHeight) {
    for (auto It = FGlyphLists.rbegin(); It != FGlyphLists.rend(); ++It)
        if ((*It)->Width() == AWidth && (*It)->Height() == AHeight) return It->get();
    FGlyphLists.push_back(std::make_unique<TGlyphList>(AWidth, AHeight));
    return FGlyphLists.back().get();
}

void TGlyphCache::ReturnList(TGlyphList* List) {
    if (!List || List->Count() != 0) return;
    std::erase_if(FGlyphLists, [List](const auto& Item) { return Item.get() == List; });
}

} // namespace components
