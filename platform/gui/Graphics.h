#pragma once
// Drawing: the pen, brush and font a canvas draws with, the canvas itself,
// and the pictures it draws (bitmaps, icons). A canvas draws into a device
// context, which is an image in memory: a bitmap's own pixels or a custom
// control's backing image. Raster operations (pen modes, copy modes) work
// on those pixels the way the framework's drawing layer does, so an XOR
// line drawn twice leaves the image as it was.
#include "platform/classes/SmallSet.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Types.h"
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Persistent.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

RTL_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
RTL_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);

class TStream;
class TCanvas;
class TBitmap;

// A device context: the surface a canvas draws into. Opaque outside the
// platform's drawing code.
struct TDeviceContext;
using HDC = TDeviceContext*;
struct TCanvasSurface;

// ---- pens, brushes, fonts --------------------------------------------------

// Base of the pen, brush and font: OnChange after every change.
class TGraphicsObject : public TPersistent {
public:
    AnsiString ClassName() const override { return "TGraphicsObject"; }

    TNotifyEvent OnChange;

protected:
    virtual void Changed();
};

enum class TFontStyle : std::uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using enum TFontStyle;
using TFontStyles = SmallSet<TFontStyle>;

enum class TFontPitch : std::uint8_t { fpDefault, fpVariable, fpFixed };
using enum TFontPitch;

using TFontCharset = std::uint8_t;
inline constexpr TFontCharset ANSI_CHARSET = 0;
inline constexpr TFontCharset DEFAULT_CHARSET = 1;
inline constexpr TFontCharset SYMBOL_CHARSET = 2;
inline constexpr TFontCharset OEM_CHARSET = 255;

class TFont : public TGraphicsObject {
public:
    TFont();
    AnsiString ClassName() const override { return "TFont"; }

    void Assign(TPersistent* Source) override;

    const AnsiString& Name() const { return FName; }
    // An empty name is ignored.
    void SetName(const AnsiString& Value);
    // Size in points; Height in pixels, negative for the character height
    // without internal leading. Each is derived from the other through
    // PixelsPerInch.
    int Size() const;
    void SetSize(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch Value);
    TFontCharset Charset() const { return FCharset; }
    void SetCharset(TFontCharset Value);
    int PixelsPerInch() const { return FPixelsPerInch; }
    void SetPixelsPerInch(int Value) { FPixelsPerInch = Value > 0 ? Value : 96; }

    // Equal when every attribute is; the name is compared without case.
    friend bool operator==(const TFont& A, const TFont& B);

private:
    AnsiString FName = "MS Sans Serif";
    int FHeight = -11;
    TColor FColor = clWindowText;
    TFontStyles FStyle;
    TFontPitch FPitch = fpDefault;
    TFontCharset FCharset = DEFAULT_CHARSET;
    int FPixelsPerInch = 96;
};

enum class TPenStyle : std::uint8_t {
    psSolid,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame
};
using enum TPenStyle;

// How the pen (and a shape's fill) combines with the pixels under it.
enum class TPenMode : std::uint8_t {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};
using enum TPenMode;

class TPen : public TGraphicsObject {
public:
    AnsiString ClassName() const override { return "TPen"; }
    void Assign(TPersistent* Source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    int Width() const { return FWidth; }
    // Widths below 1 draw as 1.
    void SetWidth(int Value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle Value);
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode Value);

private:
    TColor FColor = clBlack;
    int FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
};

enum class TBrushStyle : std::uint8_t {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};
using enum TBrushStyle;

class TBrush : public TGraphicsObject {
public:
    TBrush();
    ~TBrush() override;
    AnsiString ClassName() const override { return "TBrush"; }
    void Assign(TPersistent* Source) override;

    TColor Color() const { return FColor; }
    // Choosing a colour makes a clear brush solid again.
    void SetColor(TColor Value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);
    // A pattern brush: the bitmap is tiled from the surface's origin. The
    // brush copies the pattern when it is set, so the bitmap may be changed
    // or freed afterwards; the brush does not own it. A monochrome pattern
    // paints its black pixels in the font colour and its white ones in the
    // brush colour.
    TBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TBitmap* Value);

private:
    friend class TBrushPixels;
    struct TPattern;

    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    TBitmap* FBitmap = nullptr;
    std::shared_ptr<const TPattern> FPattern;
};

// ---- the canvas ------------------------------------------------------------

// Raster operations of CopyRect and Draw: how the source, the destination
// and the brush (the pattern) combine.
using TCopyMode = std::int32_t;
inline constexpr TCopyMode cmBlackness = 0x00000042;
inline constexpr TCopyMode cmDstInvert = 0x00550009;
inline constexpr TCopyMode cmMergeCopy = 0x00C000CA;
inline constexpr TCopyMode cmMergePaint = 0x00BB0226;
inline constexpr TCopyMode cmNotSrcCopy = 0x00330008;
inline constexpr TCopyMode cmNotSrcErase = 0x001100A6;
inline constexpr TCopyMode cmPatCopy = 0x00F00021;
inline constexpr TCopyMode cmPatInvert = 0x005A0049;
inline constexpr TCopyMode cmPatPaint = 0x00FB0A09;
inline constexpr TCopyMode cmSrcAnd = 0x008800C6;
inline constexpr TCopyMode cmSrcCopy = 0x00CC0020;
inline constexpr TCopyMode cmSrcErase = 0x00440328;
inline constexpr TCopyMode cmSrcInvert = 0x00660046;
inline constexpr TCopyMode cmSrcPaint = 0x00EE0086;
inline constexpr TCopyMode cmWhiteness = 0x00FF0062;

class TGraphic;

// A measured run of plain text, kept in the unrounded 1/64 pixels Qt sums
// glyph advances in: a span's width is rounded once from its own total,
// so it cannot be had by subtracting two rounded prefix widths.
class TTextRun {
public:
    std::size_t Size() const { return FStarts.size(); }
    // TextWidth of the run's bytes From..To-1; 0 for an empty span.
    int Width(std::size_t From, std::size_t To) const {
        if (To <= From) return 0;
        return static_cast<int>((FEnds[To] - FStarts[From] + 32) >> 6);
    }

private:
    friend class TTextAdvances;
    // FEnds[K]: the total of the first K bytes. FStarts[K]: what a span
    // starting at byte K leaves out of FEnds, i.e. FEnds[K] plus the kerning
    // between bytes K - 1 and K, which belongs to neither side alone.
    std::vector<std::int64_t> FEnds;
    std::vector<std::int64_t> FStarts;
};

class TCanvas : public TPersistent {
public:
    TCanvas();
    ~TCanvas() override;
    AnsiString ClassName() const override { return "TCanvas"; }

    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* Value) { FFont->Assign(Value); }
    TPen* Pen() const { return FPen.get(); }
    void SetPen(TPen* Value) { FPen->Assign(Value); }
    TBrush* Brush() const { return FBrush.get(); }
    void SetBrush(TBrush* Value) { FBrush->Assign(Value); }

    TCopyMode CopyMode() const { return FCopyMode; }
    void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
    TPoint PenPos() const { return FPenPos; }
    void SetPenPos(TPoint Value) { FPenPos = Value; }

    // The surface drawn into. Drawing without one raises
    // EInvalidOperation "Canvas does not allow drawing".
    HDC Handle();
    void SetHandle(HDC Value);
    bool HandleAllocated() const { return FHandle != nullptr; }

    // A pixel's colour; -1 outside the surface or the clipping rectangle,
    // where setting one does nothing.
    TColor Pixels(int X, int Y);
    void SetPixels(int X, int Y, TColor Value);

    // Lines run from the pen position to the point, without the point
    // itself, and leave the pen there.
    void MoveTo(int X, int Y);
    void LineTo(int X, int Y);
    void Polyline(const std::vector<TPoint>& Points);

    // Shapes: outlined with the pen, filled with the brush. Right and
    // bottom lie outside the shape.
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
    void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
    void Polygon(const std::vector<TPoint>& Points);

    // Brush-only drawing: the area, a one-pixel frame inside the rectangle.
    void FillRect(const TRect& R);
    void FrameRect(const TRect& R);
    // Inverts a dotted one-pixel frame inside the rectangle; drawing the
    // same frame again removes it.
    void DrawFocusRect(const TRect& R);

    // Text with its top-left corner at (X, Y), in the font's colour, on the
    // brush colour unless the brush is clear. TextOut moves the pen to the
    // end of the text. TextRect fills Rect (brush permitting) and draws the
    // text clipped to it.
    void TextOut(int X, int Y, const AnsiString& Text);
    void TextRect(const TRect& R, int X, int Y, const AnsiString& Text);
    TSize TextExtent(const AnsiString& Text);
    int TextWidth(const AnsiString& Text) { return TextExtent(Text).cx; }
    int TextHeight(const AnsiString& Text) { return TextExtent(Text).cy; }
    // Measures as long a start of Text as glyph advances alone can
    // (printable ASCII) into Run, and returns its length. Line breaking
    // measures many spans of one text; Run gives each span's TextWidth
    // without another pass.
    std::size_t TextRun(std::string_view Text, TTextRun& Run);

    // Pictures: at their own size, or stretched to fill the rectangle.
    void Draw(int X, int Y, TGraphic* Graphic);
    void StretchDraw(const TRect& R, TGraphic* Graphic);
    // Copies Source's Src area onto Dest (stretched when the sizes differ),
    // combined by CopyMode.
    void CopyRect(const TRect& Dest, TCanvas* Canvas, const TRect& Source);
    // Copies Source's area of the bitmap onto Dest, replacing Color by the
    // brush colour.
    void BrushCopy(const TRect& Dest, TBitmap* Bitmap, const TRect& Source, TColor Color);

    // The area drawing reaches: the surface less any clipping.
    TRect ClipRect();

    // Right-to-left drawing: with a mirror width W above 0 every x the
    // canvas is given maps to W - x (rectangles keep their pixels, their
    // edges swapped), so a layout computed left to right lands mirrored.
    // Text keeps its reading direction and ends where it would begin. 0
    // switches the mapping off.
    int MirrorWidth() const { return FMirrorWidth; }
    void SetMirrorWidth(int Value) { FMirrorWidth = Value > 0 ? Value : 0; }

    // Serialises drawing between threads; nestable.
    void Lock();
    void Unlock();
    bool TryLock();
    int LockCount() const { return FLockCount; }

    // Forgets what the surface was last drawn with.
    void Refresh() {}

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    // Gives the canvas a surface when it has none; none here.
    virtual void CreateHandle() {}
    virtual void Changing();
    virtual void Changed();

private:
    friend class TBitmap;
    friend class TIcon;
    // Calls Changing, runs Draw on the surface (raising when there is
    // none), tells the surface which area Draw reports it changed, and calls
    // Changed.
    void Paint(const std::function<TRect(TCanvasSurface&)>& Draw);
    // The mirror mapping of an x and of a rectangle (unchanged while off).
    int MapX(int X) const { return FMirrorWidth > 0 ? FMirrorWidth - X : X; }
    TRect MapRect(const TRect& R) const {
        return FMirrorWidth > 0 ? TRect{FMirrorWidth - R.Right, R.Top, FMirrorWidth - R.Left, R.Bottom}
                                : R;
    }
    std::vector<TPoint> MapPoints(const std::vector<TPoint>& Points) const;

    std::unique_ptr<TFont> FFont;
    std::unique_ptr<TPen> FPen;
    std::unique_ptr<TBrush> FBrush;
    TCopyMode FCopyMode = cmSrcCopy;
    TPoint FPenPos;
    HDC FHandle = nullptr;
    int FMirrorWidth = 0;
    std::recursive_mutex FLock;
    int FLockCount = 0;
};

// ---- pictures --------------------------------------------------------------

class TGraphic : public TPersistent {
public:
    AnsiString ClassName() const override { return "TGraphic"; }

    virtual bool Empty() const = 0;
    virtual int Width() const = 0;
    virtual void SetWidth(int Value) = 0;
    virtual int Height() const = 0;
    virtual void SetHeight(int Value) = 0;
    virtual bool Transparent() const { return FTransparent; }
    virtual void SetTransparent(bool Value);

    bool Modified() const { return FModified; }
    void SetModified(bool Value);

    // Reads the picture's own bytes from the stream's position; whatever
    // follows stays unread. On failure the previous picture stays.
    virtual void LoadFromStream(TStream* Stream) = 0;
    virtual void SaveToStream(TStream* Stream) = 0;
    void LoadFromFile(const AnsiString& FileName);
    // Writes a temporary file and renames it over FileName, so a failed
    // save leaves the previous file.
    void SaveToFile(const AnsiString& FileName);

    TNotifyEvent OnChange;

protected:
    friend class TCanvas;
    // Draws the whole picture stretched into Rect.
    virtual void Draw(TCanvas* ACanvas, const TRect& Rect) = 0;
    virtual void Changed(TObject* Sender);

private:
    bool FTransparent = false;
    bool FModified = false;
};

enum class TPixelFormat : std::uint8_t {
    pfDevice,
    pf1bit,
    pf4bit,
    pf8bit,
    pf15bit,
    pf16bit,
    pf24bit,
    pf32bit,
    pfCustom
};
using enum TPixelFormat;

// Whether the transparent colour is the bottom-left pixel's or a set one.
enum class TTransparentMode : std::uint8_t { tmAuto, tmFixed };
using enum TTransparentMode;

class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;
    AnsiString ClassName() const override { return "TBitmap"; }

    // Copies another bitmap's pixels and settings; nullptr empties this one.
    void Assign(TPersistent* Source) override;

    bool Empty() const override;
    int Width() const override;
    void SetWidth(int Value) override;
    int Height() const override;
    void SetHeight(int Value) override;
    // Keeps the pixels that still fit; new area is white.
    void SetSize(int AWidth, int AHeight);

    // The pixels are converted to the format's range of colours when it is
    // set, so they read back as they will be saved.
    TPixelFormat PixelFormat() const { return FPixelFormat; }
    void SetPixelFormat(TPixelFormat Value);
    // Two colours: white stays white, every other colour becomes black.
    bool Monochrome() const { return FPixelFormat == pf1bit; }
    void SetMonochrome(bool Value);

    // tmAuto takes the bottom-left pixel (white for a monochrome bitmap);
    // setting a colour switches to tmFixed. clDefault for an empty bitmap.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor Value);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode Value);

    TCanvas* Canvas();

    // A row of pixels, four bytes each: blue, green, red, unused.
    std::uint32_t* ScanLine(int Row);

    // The BMP file format. Reading checks the headers against the bytes the
    // stream has and raises EReadError for a short stream, EInvalidGraphic
    // "Bitmap image is not valid" for anything else it can't read.
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;

protected:
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
    friend struct TBitmapAccess;
    struct TImage;
    class TBitmapCanvas;

    std::unique_ptr<TImage> FImage;
    std::unique_ptr<TBitmapCanvas> FCanvas;
    TPixelFormat FPixelFormat = pfDevice;
    TTransparentMode FTransparentMode = tmAuto;
    TColor FTransparentColor = clDefault;
};

class TIcon : public TGraphic {
public:
    TIcon();
    ~TIcon() override;
    AnsiString ClassName() const override { return "TIcon"; }
    void Assign(TPersistent* Source) override;

    bool Empty() const override;
    int Width() const override;
    int Height() const override;
    // An icon takes its size from the image it holds.
    void SetWidth(int Value) override;
    void SetHeight(int Value) override;

    // The ICO file format; the largest image of the file is used.
    void LoadFromStream(TStream* Stream) override;
    void SaveToStream(TStream* Stream) override;

protected:
    // Blends the icon over the canvas by its transparency.
    void Draw(TCanvas* ACanvas, const TRect& Rect) override;

private:
    friend struct TIconAccess;
    struct TImage;
    std::unique_ptr<TImage> FImage;
};

// Holds one picture of whatever kind; Bitmap and Icon replace it by an
// empty one of that kind when it is something else.
class TPicture : public TPersistent {
public:
    TPicture();
    ~TPicture() override;
    AnsiString ClassName() const override { return "TPicture"; }

    // Takes a copy of a picture or a graphic; nullptr clears.
    void Assign(TPersistent* Source) override;

    TGraphic* Graphic() const { return FGraphic.get(); }
    void SetGraphic(TGraphic* Value);
    TBitmap* Bitmap();
    void SetBitmap(TBitmap* Value) { SetGraphic(Value); }
    TIcon* Icon();
    void SetIcon(TIcon* Value) { SetGraphic(Value); }

    int Width() const { return FGraphic ? FGraphic->Width() : 0; }
    int Height() const { return FGraphic ? FGraphic->Height() : 0; }

    // The kind of picture follows the file's extension (.bmp, .ico);
    // another one raises EInvalidGraphic "Unknown picture file extension
    // (.xyz)". On failure the previous picture stays.
    void LoadFromFile(const AnsiString& FileName);
    void SaveToFile(const AnsiString& FileName);

    TNotifyEvent OnChange;

protected:
    virtual void Changed(TObject* Sender);

private:
    void Take(std::unique_ptr<TGraphic> Value);

    std::unique_ptr<TGraphic> FGraphic;
};
