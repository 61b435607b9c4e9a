#include "grid/foundation/GridCommonCanvas.h"
#include "platform/gui/GraphicsClip.h"

#include <algorithm>

namespace grid {

void InitCanvas(TCanvas* Canvas) {
    if (!Canvas) return;
    TBitmap Bitmap;
    Bitmap.SetPixelFormat(pf32bit);
    Bitmap.SetSize(1, 1);
    Canvas->Refresh();
    Canvas->Draw(0, 0, &Bitmap);
}

TgxMemoryCanvas::TgxMemoryCanvas() = default;

TgxMemoryCanvas::~TgxMemoryCanvas() {
    FreeDc();
}

HDC TgxMemoryCanvas::Dc() const {
    return FBitmap ? FBitmap->Canvas()->Handle() : nullptr;
}

void TgxMemoryCanvas::Prepare(HDC ReferenceDc, int AWidth, int AHeight) {
    if (!FBitmap) {
        auto Bitmap = std::make_unique<TBitmap>();
        Bitmap->SetPixelFormat(pf32bit);
        Bitmap->SetSize(AWidth, AHeight);
        FBitmap = std::move(Bitmap);
        FWidth = std::max(0, AWidth);
        FHeight = std::max(0, AHeight);
    } else {
        Resize(ReferenceDc, AWidth, AHeight);
    }
    ++FUseCount;
}

void TgxMemoryCanvas::Resize(HDC, int AWidth, int AHeight) {
    if (!FBitmap || (AWidth <= FWidth && AHeight <= FHeight)) return;
    // The bitmap grows in place, so the context that drawers have been
    // given stays valid.
    FWidth = std::max(FWidth, AWidth);
    FHeight = std::max(FHeight, AHeight);
    FBitmap->SetSize(FWidth, FHeight);
}

void TgxMemoryCanvas::Release() {
    if (FUseCount == 0) return;
    if (--FUseCount == 0) FreeDc();
}

void TgxMemoryCanvas::FreeDc() {
    FBitmap.reset();
    FWidth = 0;
    FHeight = 0;
}

void TgxMemoryCanvas::SetObjects(const TRect& Rect) {
    if (HDC Context = Dc()) SelectClipRect(Context, &Rect);
}

void TgxMemoryCanvas::Lock(TObject* Owner) {
    const std::thread::id Me = std::this_thread::get_id();
    std::unique_lock<std::mutex> Hold(FGuard);
    FFree.wait(Hold, [&] { return FDepth == 0 || FHolder == Me; });
    FHolder = Me;
    ++FDepth;
    FLockThread = Me;
    FLockOwner = Owner;
}

void TgxMemoryCanvas::Unlock() {
    const std::thread::id Me = std::this_thread::get_id();
    std::lock_guard<std::mutex> Hold(FGuard);
    if (FDepth == 0 || FHolder != Me) return;
    FLockThread = std::thread::id();
    FLockOwner = nullptr;
    if (--FDepth == 0) {
        FHolder = std::thread::id();
        FFree.notify_all();
    }
}

bool TgxMemoryCanvas::Locked(TObject* Owner) const {
    return FLockThread.load() == std::this_thread::get_id() && FLockOwner.load() != Owner;
}

} // namespace grid
