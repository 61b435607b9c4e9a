#include "platform/gui/Blit.h"

namespace {

// Runs the copy with Rop as the canvas's copy mode, putting the canvas's
// own mode back afterwards.
void CopyWithMode(TCanvas* Dest, const TRect& To, TCanvas* Source, const TRect& From,
                  unsigned Rop) {
    const TCopyMode Saved = Dest->CopyMode();
    Dest->SetCopyMode(static_cast<TCopyMode>(Rop));
    try {
        Dest->CopyRect(To, Source, From);
    } catch (...) {
        Dest->SetCopyMode(Saved);
        throw;
    }
    Dest->SetCopyMode(Saved);
}

} // namespace

bool PatBlt(TCanvas* Canvas, int X, int Y, int Width, int Height, unsigned Rop) {
    if (!Canvas || Width <= 0 || Height <= 0) return false;
    const TRect R = Rect(X, Y, X + Width, Y + Height);
    // The canvas is its own source; the operations meant here ignore it.
    CopyWithMode(Canvas, R, Canvas, R, Rop);
    return true;
}

bool BitBlt(TCanvas* Dest, int X, int Y, int Width, int Height, TCanvas* Source, int SX, int SY,
            unsigned Rop) {
    if (!Dest || !Source || Width <= 0 || Height <= 0) return false;
    CopyWithMode(Dest, Rect(X, Y, X + Width, Y + Height), Source,
                 Rect(SX, SY, SX + Width, SY + Height), Rop);
    return true;
}
