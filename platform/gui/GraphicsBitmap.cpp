// Pictures: the graphic base, bitmaps and their canvas.
#include "platform/gui/Graphics.h"
#include "platform/gui/GraphicsQt.h"
#include "platform/rtl/Streams.h"

#include <QPainter>

struct TBitmap::TImage {
    TImage() { Dc.Image = &Image; }
    TImage(const TImage&) = delete;
    TImage& operator=(const TImage&) = delete;

    QImage Image;
    // The side set while the other is still 0 and there is no image yet:
    // a bitmap sized one side at a time keeps the first.
    int EmptyWidth = 0;
    int EmptyHeight = 0;
    TDeviceContext Dc;
};

// Drawing on a bitmap's canvas changes the bitmap.
class TBitmap::TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap& Owner) : FOwner(Owner) {}
    AnsiString ClassName() const override { return "TBitmapCanvas"; }

protected:
    void CreateHandle() override { SetHandle(&FOwner.FImage->Dc); }
    void Changed() override {
        TCanvas::Changed();
        FOwner.Changed(&FOwner);
    }

private:
    TBitmap& FOwner;
};

QImage& TBitmapAccess::Image(TBitmap& Bitmap) {
    return Bitmap.FImage->Image;
}
HDC TBitmapAccess::Dc(TBitmap& Bitmap) {
    return &Bitmap.FImage->Dc;
}

// ---- the graphic base -----------------------------------------------------------

void TGraphic::SetTransparent(bool Value) {
    if (Value == FTransparent) return;
    FTransparent = Value;
    Changed(this);
}

void TGraphic::SetModified(bool Value) {
    if (Value)
        Changed(this);
    else
        FModified = false;
}

void TGraphic::Changed(TObject*) {
    FModified = true;
    if (OnChange) OnChange(this);
}

void TGraphic::LoadFromFile(const AnsiString& FileName) {
    TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&Stream);
}

void TGraphic::SaveToFile(const AnsiString& FileName) {
    TMemoryStream Stream;
    SaveToStream(&Stream);
    Stream.SaveToFile(FileName);
}

// ---- bitmaps ---------------------------------------------------------------------

TBitmap::TBitmap() : FImage(std::make_unique<TImage>()) {}

TBitmap::~TBitmap() = default;

void TBitmap::Assign(TPersistent* Source) {
    if (!Source) {
        FImage->Image = QImage();
        FImage->EmptyWidth = FImage->EmptyHeight = 0;
        FPixelFormat = pfDevice;
        Changed(this);
        return;
    }
    if (auto* Bitmap = dynamic_cast<TBitmap*>(Source)) {
        if (Bitmap == this) return;
        FImage->Image = Bitmap->FImage->Image.copy();
        FImage->EmptyWidth = Bitmap->FImage->EmptyWidth;
        FImage->EmptyHeight = Bitmap->FImage->EmptyHeight;
        FPixelFormat = Bitmap->FPixelFormat;
        FTransparentMode = Bitmap->FTransparentMode;
        FTransparentColor = Bitmap->FTransparentColor;
        if (Transparent() != Bitmap->Transparent()) TGraphic::SetTransparent(Bitmap->Transparent());
        Changed(this);
        return;
    }
    TGraphic::Assign(Source);
}

bool TBitmap::Empty() const {
    return FImage->Image.isNull();
}
int TBitmap::Width() const {
    return FImage->Image.isNull() ? FImage->EmptyWidth : FImage->Image.width();
}
int TBitmap::Height() const {
    return FImage->Image.isNull() ? FImage->EmptyHeight : FImage->Image.height();
}
void TBitmap::SetWidth(int Value) {
    SetSize(Value, Height());
}
void TBitmap::SetHeight(int Value) {
    SetSize(Width(), Value);
}

void TBitmap::SetSize(int AWidth, int AHeight) {
    AWidth = std::max(0, AWidth);
    AHeight = std::max(0, AHeight);
    if (AWidth == Width() && AHeight == Height()) return;
    QImage Resized;
    if (AWidth > 0 && AHeight > 0) {
        Resized = QImage(AWidth, AHeight, QImage::Format_RGB32);
        if (Resized.isNull()) throw EOutOfResources("Out of system resources");
        Resized.fill(0xFFFFFFFFu);
        if (!FImage->Image.isNull()) {
            QPainter Painter(&Resized);
            Painter.setCompositionMode(QPainter::CompositionMode_Source);
            Painter.drawImage(0, 0, FImage->Image);
        }
    }
    FImage->Image = Resized;
    FImage->EmptyWidth = Resized.isNull() ? AWidth : 0;
    FImage->EmptyHeight = Resized.isNull() ? AHeight : 0;
    Changed(this);
}

void TBitmap::SetPixelFormat(TPixelFormat Value) {
    if (Value == FPixelFormat) return;
    FPixelFormat = Value;
    FImage->Image = ReducedToPixelFormat(FImage->Image, Value);
    Changed(this);
}

void TBitmap::SetMonochrome(bool Value) {
    if (Value)
        SetPixelFormat(pf1bit);
    else if (Monochrome())
        SetPixelFormat(pfDevice);
}

TColor TBitmap::TransparentColor() const {
    if (FTransparentMode == tmFixed) return FTransparentColor;
    if (Empty()) return clDefault;
    if (Monochrome()) return clWhite;
    return PixelToColor(FImage->Image.pixel(0, Height() - 1));
}

void TBitmap::SetTransparentColor(TColor Value) {
    FTransparentColor = Value;
    FTransparentMode = Value == clDefault ? tmAuto : tmFixed;
    Changed(this);
}

void TBitmap::SetTransparentMode(TTransparentMode Value) {
    if (Value == FTransparentMode) return;
    SetTransparentColor(Value == tmAuto ? clDefault : TransparentColor());
}

TCanvas* TBitmap::Canvas() {
    if (!FCanvas) FCanvas = std::make_unique<TBitmapCanvas>(*this);
    return FCanvas.get();
}

std::uint32_t* TBitmap::ScanLine(int Row) {
    if (Empty() || Row < 0 || Row >= Height()) throw EInvalidGraphicOperation("Scan line index out of range");
    return reinterpret_cast<std::uint32_t*>(FImage->Image.scanLine(Row));
}

void TBitmap::LoadFromStream(TStream* Stream) {
    TPixelFormat Format;
    QImage Image = ReadBmp(*Stream, Format);
    FImage->Image = std::move(Image);
    FImage->EmptyWidth = FImage->EmptyHeight = 0;
    FPixelFormat = Format;
    Changed(this);
}

void TBitmap::SaveToStream(TStream* Stream) {
    WriteBmp(*Stream, FImage->Image, FPixelFormat);
}

void TBitmap::Draw(TCanvas* ACanvas, const TRect& Rect) {
    const QImage& Source = FImage->Image;
    const TRect Whole{0, 0, Width(), Height()};
    if (Transparent()) {
        const QRgb Skip = ColorToPixel(TransparentColor());
        ACanvas->Paint([&](TCanvasSurface& Surface) {
            return FromQRect(
                StretchPixels(Surface, Rect, Source, Whole, [&](int, int, QRgb S, QRgb& D) {
                    if (S != Skip) D = S;
                }));
        });
        return;
    }
    const auto Code = static_cast<std::uint8_t>((ACanvas->CopyMode() >> 16) & 0xFF);
    const TBrushPixels Brush(*ACanvas->Brush(), ACanvas->Font()->Color(), true);
    ACanvas->Paint([&](TCanvasSurface& Surface) {
        return FromQRect(
            StretchPixels(Surface, Rect, Source, Whole, [&](int X, int Y, QRgb S, QRgb& D) {
                QRgb P = 0;
                Brush.At(X, Y, P);
                D = RasterOp3(Code, P, S, D);
            }));
    });
}
