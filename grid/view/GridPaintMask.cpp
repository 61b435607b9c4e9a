// The checkered colour a selected or focused picture cell shows over its
// picture (filling it would hide the picture), and the look of the grid's
// check boxes.
#include "grid/model/BaseGrid.h"
#include "grid/model/CheckBox.h"
#include "grid/model/ControlWrappers.h"
#include "grid/view/GridResources.h"
#include "platform/gui/Blit.h"

namespace grid {

namespace {

constexpr unsigned DestAndPattern = 0x00A000C9;

} // namespace

void TgxBaseGrid::InitPictureMaskColor(TColor Color) {
    if (!FPictureMask) {
        FPictureMask = std::make_unique<TBitmap>();
        FPictureMask->SetPixelFormat(pf24bit);
        FPictureMask->SetSize(8, 8);
    }
    FPictureMaskColor = Color;
    const TColor Rgb = ColorToRGB(Color);
    TCanvas* C = FPictureMask->Canvas();
    for (int Y = 0; Y < 8; ++Y)
        for (int X = 0; X < 8; ++X)
            C->SetPixels(X, Y, (X + Y) % 2 == 0 ? Rgb : clBlack);
}

void TgxBaseGrid::CheckPictureMaskColor(TColor Color) {
    if (!FPictureMask || ColorToRGB(FPictureMaskColor) != ColorToRGB(Color))
        InitPictureMaskColor(Color);
}

void TgxBaseGrid::CheckPictureMask(bool Create) {
    if (FSelectionColor == clNone && FFocusColor == clNone) {
        FPictureMask.reset();
        return;
    }
    if (Create && !FPictureMask)
        InitPictureMaskColor(FSelectionColor != clNone ? FSelectionColor : FFocusColor);
}

// The checker clears the overlay's pixels (x + y even, counted on the
// window, so neighbouring cells line up); the overlay then puts the colour
// into exactly those.
void TgxBaseGrid::DrawPictureMask(const TRect& R, TColor Color) {
    if (R.Right <= R.Left || R.Bottom <= R.Top) return;
    CheckPictureMaskColor(Color);
    TCanvas* C = Canvas();
    TBrush* Brush = C->Brush();
    const TColor OldBrush = Brush->Color();
    const TBrushStyle OldStyle = Brush->Style();
    const TColor OldFont = C->Font()->Color();
    // A two-colour pattern takes the font colour for black and the brush
    // colour for white.
    Brush->SetColor(clWhite);
    C->Font()->SetColor(clBlack);
    try {
        Brush->SetBitmap(GridCheckerPattern());
        PatBlt(C, R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top, DestAndPattern);
        Brush->SetBitmap(FPictureMask.get());
        PatBlt(C, R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top, PATINVERT);
    } catch (...) {
        Brush->SetBitmap(nullptr);
        throw;
    }
    Brush->SetBitmap(nullptr);
    Brush->SetStyle(OldStyle);
    Brush->SetColor(OldBrush);
    C->Font()->SetColor(OldFont);
}

void TgxBaseGrid::SetCheckBoxStyle(TgxCheckBoxStyle Value) {
    if (Value == FCheckBoxStyle) return;
    FCheckBoxStyle = Value;
    // The grid's styles name the check box's looks in the same order.
    if (auto* Check = dynamic_cast<TgxCheckGridControl*>(FCheckControl.get()))
        Check->SetCheckBoxStyle(static_cast<TgxGridCheckBoxStyle>(Value));
    InvalidateGridNow();
    RedisplayControl(true);
}

} // namespace grid
