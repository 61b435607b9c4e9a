#include "grid/foundation/CellStoreBitmaps.h"

#include "platform/gui/Graphics.h"

#include <functional>
#include <memory>

namespace grid {

namespace {

std::unique_ptr<TgxBitmapSet> TheSharedBitmaps;

const TBitmap* KeyBitmap(std::span<const TVarRec> Key) {
    if (Key.empty() || Key[0].VType != TVarRec::Kind::Pointer) return nullptr;
    return static_cast<const TBitmap*>(Key[0].VPointer);
}

TgxSetElement* Find(const TgxBitmapSet& Set, const TBitmap* Bitmap) {
    return Set.Get({TVarRec(static_cast<const void*>(Bitmap))});
}

} // namespace

TgxBitmapElement::~TgxBitmapElement() {
    if (OwnsBitmap) delete Bitmap;
}

std::uint8_t TgxBitmapElement::Compare(const TgxCustomSet* Set,
                                       const TgxSetElement* Element) const {
    const auto* Other = static_cast<const TgxBitmapElement*>(Element);
    const TVarRec Key(static_cast<const void*>(Other->Bitmap));
    return CompareKey(Set, std::span<const TVarRec>(&Key, 1));
}

std::uint8_t TgxBitmapElement::CompareKey(const TgxCustomSet*, std::span<const TVarRec> Key) const {
    const TBitmap* KeyValue = KeyBitmap(Key);
    if (KeyValue == Bitmap) return gxKeyEqual;
    return std::less<const TBitmap*>()(KeyValue, Bitmap) ? gxKeySmaller : gxKeyLarger;
}

TgxBitmapElement* TgxBitmapSet::GetBitmap(const TBitmap* Bitmap) const {
    return static_cast<TgxBitmapElement*>(Find(*this, Bitmap));
}

TgxBitmapElement* TgxBitmapSet::AddBitmap(TBitmap* Bitmap) {
    if (TgxBitmapElement* Element = GetBitmap(Bitmap)) return Element;
    auto Element = std::make_unique<TgxBitmapElement>(Bitmap);
    AddElement(Element.get());
    return Element.release();
}

void TgxBitmapSet::RemoveBitmap(const TBitmap* Bitmap) {
    TgxBitmapElement* Element = GetBitmap(Bitmap);
    if (!Element) return;
    if (--Element->RefCount <= 0) Remove({TVarRec(static_cast<const void*>(Bitmap))});
}

TgxBitmapSet* SharedBitmaps() {
    return TheSharedBitmaps.get();
}

TgxBitmapElement* CreateSharedBitmap() {
    if (!TheSharedBitmaps) TheSharedBitmaps = std::make_unique<TgxBitmapSet>();
    auto Bitmap = std::make_unique<TBitmap>();
    TgxBitmapElement* Element = TheSharedBitmaps->AddBitmap(Bitmap.get());
    Element->OwnsBitmap = true;
    Bitmap.release();
    return Element;
}

TgxBitmapElement* SharedBitmapElement(const TBitmap* Bitmap) {
    return TheSharedBitmaps ? TheSharedBitmaps->GetBitmap(Bitmap) : nullptr;
}

void UpdateSharedBitmapRef(const TBitmap* Bitmap, bool Release) {
    if (!TheSharedBitmaps) return;
    if (Release) {
        TheSharedBitmaps->RemoveBitmap(Bitmap);
    } else if (TgxBitmapElement* Element = TheSharedBitmaps->GetBitmap(Bitmap)) {
        ++Element->RefCount;
    }
}

} // namespace grid
