#pragma once
// The Qt side of the drawing classes, for the platform's own sources only:
// what a device context is, the pixel form of a colour, the Qt font of a
// TFont, the raster operations on pixels, and the image behind a bitmap or
// an icon. Nothing above platform/gui includes this.
#include "platform/gui/Graphics.h"

#include <QFont>
#include <QImage>
#include <QRect>

#include <cstdint>
#include <functional>

// A surface to draw into: an image owned elsewhere (a bitmap's pixels, a
// control's backing image), the clipping rectangle set on it, and whom to
// tell which area a drawing operation changed.
struct TDeviceContext {
    QImage* Image = nullptr;
    // A null rectangle clips nothing.
    QRect Clip;
    std::function<void(const QRect&)> OnDrawn;
};

// What a drawing operation works on: the image, and the clipping rectangle
// already held to the image's bounds (empty for an empty image).
struct TCanvasSurface {
    QImage& Image;
    QRect Clip;
};

// A pattern brush's copy of its bitmap.
struct TBrush::TPattern {
    QImage Image;
    bool Monochrome = false;
};

// Images are kept as 0xFFRRGGBB (QImage::Format_RGB32).
QRgb ColorToPixel(TColor Color);
TColor PixelToColor(QRgb Pixel);

inline QRect ToQRect(const TRect& R) {
    return QRect(R.Left, R.Top, R.Width(), R.Height());
}
inline TRect FromQRect(const QRect& R) {
    return TRect{R.left(), R.top(), R.left() + R.width(), R.top() + R.height()};
}

// The Qt font a canvas measures and draws text with. A positive height is
// the whole cell height, so the pixel size is scaled to make ascent and
// descent add up to it.
QFont CanvasFont(const TFont& Font);

// The pen modes as binary raster operations on the colour bits of a pixel.
QRgb RasterOp2(TPenMode Mode, QRgb Pen, QRgb Dest);
// A ternary raster operation (the third byte of a copy mode) on pattern,
// source and destination.
QRgb RasterOp3(std::uint8_t Code, QRgb Pattern, QRgb Source, QRgb Dest);

// The colour a brush gives each pixel, its pattern tiled from the surface's
// origin. For a shape, a hatch brush leaves the pixels between its lines
// alone; as the pattern of a copy mode (Opaque) it gives them the inverse
// of the brush colour, as the drawing layer always has.
class TBrushPixels {
public:
    TBrushPixels(const TBrush& Brush, TColor FontColor, bool Opaque);
    // False where the brush leaves the pixel alone.
    bool At(int X, int Y, QRgb& Pixel) const;
    bool Clear() const { return FClear; }

private:
    bool FClear = false;
    TBrushStyle FStyle;
    QRgb FColor;
    QRgb FBack;
    QRgb FFore;
    bool FOpaque;
    std::shared_ptr<const TBrush::TPattern> FPattern;
};

// Copies the Src area of Source onto the Dest area of the surface,
// stretched to the nearest pixel (mirrored where one of the widths or
// heights is negative). Op combines each source pixel with the
// destination pixel at (X, Y). Source pixels outside the image are
// skipped. Returns the area touched.
QRect StretchPixels(TCanvasSurface& Surface, const TRect& Dest, const QImage& Source,
                    const TRect& Src, const std::function<void(int X, int Y, QRgb S, QRgb& D)>& Op);

struct TBitmapAccess {
    static QImage& Image(TBitmap& Bitmap);
    static HDC Dc(TBitmap& Bitmap);
};

struct TIconAccess {
    static QImage& Image(TIcon& Icon);
};

// The BMP file format. ReadBmp consumes exactly the file's bytes and tells
// the pixel format the file was stored in.
QImage ReadBmp(TStream& Stream, TPixelFormat& Format);
void WriteBmp(TStream& Stream, const QImage& Image, TPixelFormat Format);
// The image with its colours reduced to what the pixel format holds.
QImage ReducedToPixelFormat(const QImage& Image, TPixelFormat Format);
