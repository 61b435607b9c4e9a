#pragma once
// Drawing helpers: banded gradients, checkerboard and hatch patterns,
// transparent and embossed (disabled) bitmaps, cutting cells out of an
// image strip, and the text of grid cells.
//
// Routines that drew on a device context draw on a TCanvas here; the
// bitmaps they make are owned by the caller through std::unique_ptr.
#include "platform/gui/Colors.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/Types.h"
#include "platform/rtl/AnsiString.h"

#include <cstdint>
#include <memory>

class TCustomControl;

namespace formstore {

enum class TFillDirection : std::uint8_t {
    fdTopToBottom,
    fdBottomToTop,
    fdLeftToRight,
    fdRightToLeft
};
using enum TFillDirection;

enum class TVertAlignment : std::uint8_t { vaTopJustify, vaCenter, vaBottomJustify };
using enum TVertAlignment;

// Fills the rectangle with Colors bands running from StartColor to
// EndColor in the direction given; the pixels left over by the division
// into bands take the colour the gradient ends with at that edge. An empty
// rectangle draws nothing, fewer than two colours fill it with StartColor.
// The canvas's brush is left as it was.
void GradientFillRect(TCanvas* Canvas, const TRect& ARect, TColor StartColor, TColor EndColor,
                      TFillDirection Direction, std::uint8_t Colors);

// An 8 x 8 checkerboard: Color2 where column and row have the same parity,
// Color1 elsewhere.
std::unique_ptr<TBitmap> CreateTwoColorsBrushPattern(TColor Color1, TColor Color2);

// Darkens the rectangle with a diagonal hatch: every fourth pixel of each
// row turns black, the others stay. The canvas's brush, font colour and
// copy mode are left as they were.
void ShadeRect(TCanvas* Canvas, const TRect& Rect);

// ---- transparent bitmaps -----------------------------------------------------

// The SrcRect part of Bitmap stretched to DstW x DstH at (DstX, DstY), the
// pixels of TransparentColor left out. A destination width or height below
// 1 takes the bitmap's own; a source rectangle without area means the whole
// bitmap. clNone draws a plain copy with the canvas's copy mode, clDefault
// takes the colour of the bitmap's bottom-left pixel, and a monochrome
// bitmap always leaves out its white.
void StretchBitmapRectTransparent(TCanvas* Dest, int DstX, int DstY, int DstW, int DstH,
                                  const TRect& SrcRect, TBitmap* Bitmap, TColor TransparentColor);
// The SrcRect part at its own size.
void DrawBitmapRectTransparent(TCanvas* Dest, int DstX, int DstY, const TRect& SrcRect,
                               TBitmap* Bitmap, TColor TransparentColor);
// The whole bitmap at its own size.
void DrawBitmapTransparent(TCanvas* Dest, int DstX, int DstY, TBitmap* Bitmap,
                           TColor TransparentColor);

// A copy of the bitmap with every pixel of Color turned NewColor.
std::unique_ptr<TBitmap> ChangeBitmapColor(TBitmap* Bitmap, TColor Color, TColor NewColor);

// The embossed grey look of a disabled image: on BackColor, every pixel of
// the original that is not OutlineColor (the transparent colour; clDefault
// takes the bitmap's own) is painted in ShadowColor, and with DrawHighlight
// first in HighlightColor one pixel down and to the right.
std::unique_ptr<TBitmap> CreateDisabledBitmapEx(TBitmap* FOriginal, TColor OutlineColor,
                                                TColor BackColor, TColor HighlightColor,
                                                TColor ShadowColor, bool DrawHighlight);
// CreateDisabledBitmapEx on clBtnFace with clBtnHighlight and clBtnShadow.
std::unique_ptr<TBitmap> CreateDisabledBitmap(TBitmap* FOriginal, TColor OutlineColor);

// A bitmap of the icon's size filled with BackColor and the icon drawn on
// it; BackColor is its transparent colour and the bitmap is transparent.
std::unique_ptr<TBitmap> CreateBitmapFromIcon(TIcon* Icon, TColor BackColor);

// Cuts cell number Index (row by row) of a Cols x Rows grid out of Source
// into Dest, which takes the cell's size. Counts below 1 count as 1, an
// index below 0 as 0. A bitmap source gives its pixels and its transparent
// colour; any other graphic is drawn on silver. Dest is transparent when
// Source is. Nothing happens without a source or a destination.
void AssignBitmapCell(TGraphic* Source, TBitmap* Dest, int Cols, int Rows, int Index);

// ---- text --------------------------------------------------------------------

// Text in a cell: DX and DY offset it from the cell's left and top edges
// (a right-aligned single line sits 3 pixels from the right edge instead).
// The cell is filled with the canvas's brush first (a clear brush leaves
// what the cell shows). With WordWrap, or when
// the text holds a carriage return, the text is laid out in lines within
// the cell (line breaks kept, words wrapped, tabs every eight average
// characters). Text is drawn in its logical order. On a mirrored
// (right-to-left) canvas the text stays on the side of the cell its
// alignment names as seen, unless ARightToLeft asks it to read right to
// left, which starts it from the other side.
void WriteText(TCanvas* ACanvas, const TRect& ARect, int DX, int DY, const AnsiString& Text,
               TAlignment Alignment, bool WordWrap, bool ARightToLeft = false);

// WriteText on the control's canvas, 2 pixels from the left edge and
// placed vertically by VertAlign. The column and row are the caller's;
// the drawing does not depend on them.
void DrawCellTextEx(TCustomControl* Control, int ACol, int ARow, const AnsiString& S,
                    const TRect& ARect, TAlignment Align, TVertAlignment VertAlign, bool WordWrap,
                    bool ARightToLeft = false);
// DrawCellTextEx wrapping words exactly when the text is centred.
void DrawCellText(TCustomControl* Control, int ACol, int ARow, const AnsiString& S,
                  const TRect& ARect, TAlignment Align, TVertAlignment VertAlign,
                  bool ARightToLeft = false);
// The graphic centred in the rectangle.
void DrawCellBitmap(TCustomControl* Control, int ACol, int ARow, TGraphic* Graphic,
                    const TRect& Rect);

// The text shortened from its end, with "..." appended, until it fits
// MaxWidth pixels (or nothing of it is left); a text that fits stays as it
// is. A UTF-8 character is never cut in two.
AnsiString MinimizeText(const AnsiString& Text, TCanvas* Canvas, int MaxWidth);

// The average width of the letters A-Z and a-z and their height in the
// canvas's font.
TPoint GetAveCharSize(TCanvas* Canvas);

// A logical font: what a font is made from.
struct TLogFont {
    int lfHeight = 0;
    int lfWidth = 0;
    int lfEscapement = 0;
    int lfOrientation = 0;
    int lfWeight = 0;
    bool lfItalic = false;
    bool lfUnderline = false;
    bool lfStrikeOut = false;
    TFontCharset lfCharSet = DEFAULT_CHARSET;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = 0;
    std::uint8_t lfPitchAndFamily = 0;
    AnsiString lfFaceName;

    friend bool operator==(const TLogFont&, const TLogFont&) = default;
};

// The font like Font, its baseline turned Angle degrees (escapement in
// tenths of a degree). The face "Default" becomes the default font's face.
TLogFont CreateRotatedFont(TFont* Font, int Angle);

// The colour's RGB value marked as palette-relative (bit 0x02000000).
TColor PaletteColor(TColor Color);

} // namespace formstore
