// The pen, the brush and the font, their pixel and Qt forms, and the raster
// operations that combine a colour with the pixels under it.
#include "platform/gui/Graphics.h"
#include "platform/gui/GraphicsQt.h"
#include "platform/rtl/StrUtils.h"

#include <QFontMetrics>

#include <array>
#include <cmath>

namespace {

// a * b / c rounded half away from zero.
int MulDiv(int A, int B, int C) {
    return static_cast<int>(std::lround(static_cast<double>(A) * B / C));
}

} // namespace

// ---- colours and raster operations -------------------------------------------

QRgb ColorToPixel(TColor Color) {
    const auto C = static_cast<std::uint32_t>(ColorToRGB(Color));
    return 0xFF000000u | ((C & 0xFFu) << 16) | (C & 0xFF00u) | ((C >> 16) & 0xFFu);
}

TColor PixelToColor(QRgb Pixel) {
    return static_cast<TColor>(qRed(Pixel) | (qGreen(Pixel) << 8) | (qBlue(Pixel) << 16));
}

QRgb RasterOp2(TPenMode Mode, QRgb Pen, QRgb Dest) {
    // Each mode's truth table over (pen bit, destination bit): bit
    // (pen << 1 | dest) of the entry is the result for that pair.
    static constexpr std::array<std::uint8_t, 16> Tables = {
        0x0, // pmBlack
        0xF, // pmWhite
        0xA, // pmNop
        0x5, // pmNot
        0xC, // pmCopy
        0x3, // pmNotCopy
        0xD, // pmMergePenNot
        0x4, // pmMaskPenNot
        0xB, // pmMergeNotPen
        0x2, // pmMaskNotPen
        0xE, // pmMerge
        0x1, // pmNotMerge
        0x8, // pmMask
        0x7, // pmNotMask
        0x6, // pmXor
        0x9, // pmNotXor
    };
    const std::uint8_t Table = Tables[static_cast<std::size_t>(Mode)];
    std::uint32_t Result = 0;
    for (int Index = 0; Index < 4; ++Index) {
        if (!((Table >> Index) & 1)) continue;
        const std::uint32_t P = (Index & 2) ? Pen : ~Pen;
        const std::uint32_t D = (Index & 1) ? Dest : ~Dest;
        Result |= P & D;
    }
    return 0xFF000000u | (Result & 0xFFFFFFu);
}

QRgb RasterOp3(std::uint8_t Code, QRgb Pattern, QRgb Source, QRgb Dest) {
    switch (Code) { // the common ones without the general sum
    case 0xCC:
        return Source | 0xFF000000u;
    case 0xF0:
        return Pattern | 0xFF000000u;
    case 0x55:
        return ~Dest | 0xFF000000u;
    default:
        break;
    }
    std::uint32_t Result = 0;
    for (int Index = 0; Index < 8; ++Index) {
        if (!((Code >> Index) & 1)) continue;
        const std::uint32_t P = (Index & 4) ? Pattern : ~Pattern;
        const std::uint32_t S = (Index & 2) ? Source : ~Source;
        const std::uint32_t D = (Index & 1) ? Dest : ~Dest;
        Result |= P & S & D;
    }
    return 0xFF000000u | (Result & 0xFFFFFFu);
}

QFont CanvasFont(const TFont& Font) {
    QFont Result(QString::fromUtf8(Font.Name().data(), static_cast<qsizetype>(Font.Name().size())));
    if (Font.Pitch() == fpFixed) {
        Result.setStyleHint(QFont::Monospace);
        Result.setFixedPitch(true);
    }
    const TFontStyles Style = Font.Style();
    Result.setBold(Style.Contains(fsBold));
    Result.setItalic(Style.Contains(fsItalic));
    Result.setUnderline(Style.Contains(fsUnderline));
    Result.setStrikeOut(Style.Contains(fsStrikeOut));
    const int Height = Font.Height();
    if (Height < 0) {
        // The character height without internal leading: Qt's pixel size.
        Result.setPixelSize(-Height);
    } else if (Height > 0) {
        // The whole cell height: scale the pixel size so that ascent and
        // descent add up to it.
        Result.setPixelSize(Height);
        const int Cell = QFontMetrics(Result).height();
        if (Cell > 0) Result.setPixelSize(std::max(1, MulDiv(Height, Height, Cell)));
    } else {
        Result.setPixelSize(11);
    }
    return Result;
}

// ---- graphics objects ----------------------------------------------------------

void TGraphicsObject::Changed() {
    if (OnChange) OnChange(this);
}

TFont::TFont() = default;

void TFont::Assign(TPersistent* Source) {
    if (auto* Font = dynamic_cast<TFont*>(Source)) {
        if (Font == this) return;
        FName = Font->FName;
        // Keep the size in points when the two fonts measure differently.
        FHeight = Font->FPixelsPerInch == FPixelsPerInch
                      ? Font->FHeight
                      : -MulDiv(Font->Size(), FPixelsPerInch, 72);
        FColor = Font->FColor;
        FStyle = Font->FStyle;
        FPitch = Font->FPitch;
        FCharset = Font->FCharset;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TFont::SetName(const AnsiString& Value) {
    if (Value.empty() || Value == FName) return;
    FName = Value;
    Changed();
}

int TFont::Size() const {
    return -MulDiv(FHeight, 72, FPixelsPerInch);
}

void TFont::SetSize(int Value) {
    SetHeight(-MulDiv(Value, FPixelsPerInch, 72));
}

void TFont::SetHeight(int Value) {
    if (Value == FHeight) return;
    FHeight = Value;
    Changed();
}

void TFont::SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    Changed();
}

void TFont::SetStyle(TFontStyles Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    Changed();
}

void TFont::SetPitch(TFontPitch Value) {
    if (Value == FPitch) return;
    FPitch = Value;
    Changed();
}

void TFont::SetCharset(TFontCharset Value) {
    if (Value == FCharset) return;
    FCharset = Value;
    Changed();
}

bool operator==(const TFont& A, const TFont& B) {
    return SameText(A.FName, B.FName) && A.FHeight == B.FHeight && A.FColor == B.FColor &&
           A.FStyle == B.FStyle && A.FPitch == B.FPitch && A.FCharset == B.FCharset;
}

void TPen::Assign(TPersistent* Source) {
    if (auto* Pen = dynamic_cast<TPen*>(Source)) {
        if (Pen == this) return;
        FColor = Pen->FColor;
        FWidth = Pen->FWidth;
        FStyle = Pen->FStyle;
        FMode = Pen->FMode;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TPen::SetColor(TColor Value) {
    if (Value == FColor) return;
    FColor = Value;
    Changed();
}

void TPen::SetWidth(int Value) {
    if (Value == FWidth) return;
    FWidth = Value;
    Changed();
}

void TPen::SetStyle(TPenStyle Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    Changed();
}

void TPen::SetMode(TPenMode Value) {
    if (Value == FMode) return;
    FMode = Value;
    Changed();
}

TBrush::TBrush() = default;
TBrush::~TBrush() = default;

void TBrush::Assign(TPersistent* Source) {
    if (auto* Brush = dynamic_cast<TBrush*>(Source)) {
        if (Brush == this) return;
        FColor = Brush->FColor;
        FStyle = Brush->FStyle;
        FBitmap = Brush->FBitmap;
        FPattern = Brush->FPattern;
        Changed();
        return;
    }
    TGraphicsObject::Assign(Source);
}

void TBrush::SetColor(TColor Value) {
    if (Value == FColor && FStyle != bsClear) return;
    FColor = Value;
    if (FStyle == bsClear) FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle Value) {
    if (Value == FStyle) return;
    FStyle = Value;
    Changed();
}

void TBrush::SetBitmap(TBitmap* Value) {
    FBitmap = Value;
    if (Value && !Value->Empty()) {
        auto Pattern = std::make_shared<TPattern>();
        Pattern->Image = TBitmapAccess::Image(*Value).copy();
        Pattern->Monochrome = Value->Monochrome();
        FPattern = std::move(Pattern);
    } else {
        FPattern.reset();
    }
    Changed();
}
