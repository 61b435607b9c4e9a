// The screen's cursor list and the cursors made for it.
#include "platform/gui/Cursors.h"

#include "platform/gui/Forms.h"
#include "platform/gui/GraphicsQt.h"
#include "platform/gui/QtApp.h"
#include "platform/rtl/Exceptions.h"

#include <QCursor>
#include <QPixmap>

#include <map>
#include <memory>

struct TCursorImage {
    QImage Image; // ARGB, transparent where the screen shows through
    int HotX = 0;
    int HotY = 0;
    QCursor Cursor() const {
        EnsureQtApplication();
        return QCursor(QPixmap::fromImage(Image), HotX, HotY);
    }
};

namespace {

// The registered cursors by number, owned; and every cursor made and not
// yet destroyed, so that DestroyCursor can tell a live handle.
std::map<int, std::unique_ptr<TCursorImage>>& Registered() {
    static std::map<int, std::unique_ptr<TCursorImage>> List;
    return List;
}

std::map<const TCursorImage*, std::unique_ptr<TCursorImage>>& Unregistered() {
    static std::map<const TCursorImage*, std::unique_ptr<TCursorImage>> List;
    return List;
}

[[noreturn]] void InvalidCursor() {
    throw EInvalidOperation("Invalid cursor image");
}

HCURSOR Keep(QImage Image, int HotX, int HotY) {
    if (Image.isNull() || HotX < 0 || HotY < 0 || HotX >= Image.width() || HotY >= Image.height())
        InvalidCursor();
    auto Made = std::make_unique<TCursorImage>();
    Made->Image = std::move(Image);
    Made->HotX = HotX;
    Made->HotY = HotY;
    HCURSOR Handle = Made.get();
    Unregistered()[Handle] = std::move(Made);
    return Handle;
}

bool PlaneBit(const std::uint8_t* Plane, int RowBytes, int X, int Y) {
    return (Plane[Y * RowBytes + X / 8] >> (7 - X % 8)) & 1;
}

} // namespace

HCURSOR CreateCursorFromBitmaps(TBitmap* Image, TBitmap* Mask, int HotX, int HotY) {
    if (!Image || !Mask || Image->Empty() || Mask->Width() != Image->Width() ||
        Mask->Height() != Image->Height())
        InvalidCursor();
    const QImage& Colors = TBitmapAccess::Image(*Image);
    const QImage& Holes = TBitmapAccess::Image(*Mask);
    QImage Result(Colors.size(), QImage::Format_ARGB32);
    for (int Y = 0; Y < Result.height(); ++Y)
        for (int X = 0; X < Result.width(); ++X) {
            const bool Through = (Holes.pixel(X, Y) & 0xFFFFFF) == 0xFFFFFF;
            Result.setPixel(X, Y, Through ? 0u : (Colors.pixel(X, Y) | 0xFF000000u));
        }
    return Keep(std::move(Result), HotX, HotY);
}

HCURSOR CreateCursor(int HotX, int HotY, int Width, int Height, const std::uint8_t* AndPlane,
                     const std::uint8_t* XorPlane) {
    if (Width <= 0 || Height <= 0 || !AndPlane || !XorPlane) InvalidCursor();
    const int RowBytes = (Width + 15) / 16 * 2;
    QImage Result(Width, Height, QImage::Format_ARGB32);
    for (int Y = 0; Y < Height; ++Y)
        for (int X = 0; X < Width; ++X) {
            const bool And = PlaneBit(AndPlane, RowBytes, X, Y);
            const bool Xor = PlaneBit(XorPlane, RowBytes, X, Y);
            QRgb Pixel = 0;
            if (!And)
                Pixel = Xor ? 0xFFFFFFFFu : 0xFF000000u;
            else if (Xor)
                Pixel = 0xFF000000u;
            Result.setPixel(X, Y, Pixel);
        }
    return Keep(std::move(Result), HotX, HotY);
}

bool DestroyCursor(HCURSOR Cursor) {
    return Cursor && Unregistered().erase(Cursor) > 0;
}

TPoint CursorSize(HCURSOR Cursor) {
    return Cursor ? Point(Cursor->Image.width(), Cursor->Image.height()) : Point(0, 0);
}

TPoint CursorHotSpot(HCURSOR Cursor) {
    return Cursor ? Point(Cursor->HotX, Cursor->HotY) : Point(0, 0);
}

TColor CursorPixel(HCURSOR Cursor, int X, int Y) {
    if (!Cursor || !Cursor->Image.valid(X, Y)) return clNone;
    const QRgb Pixel = Cursor->Image.pixel(X, Y);
    return qAlpha(Pixel) == 0 ? clNone : PixelToColor(Pixel);
}

HCURSOR TScreen::Cursors(int Index) {
    const auto Found = Registered().find(Index);
    return Found == Registered().end() ? nullptr : Found->second.get();
}

void TScreen::SetCursors(int Index, HCURSOR Value) {
    auto& List = Registered();
    const auto Found = List.find(Index);
    if (Found != List.end() && Found->second.get() == Value) return;
    std::unique_ptr<TCursorImage> Taken;
    if (Value) {
        // Only a cursor made here and not registered elsewhere can be taken.
        const auto Made = Unregistered().find(Value);
        if (Made == Unregistered().end()) InvalidCursor();
        Taken = std::move(Made->second);
        Unregistered().erase(Made);
    }
    if (Taken)
        List[Index] = std::move(Taken);
    else if (Found != List.end())
        List.erase(Found);
}

QCursor ToQCursor(TCursor Cursor) {
    if (const auto Found = Registered().find(Cursor); Found != Registered().end())
        return Found->second->Cursor();
    return QCursor(ToQtCursor(Cursor));
}
