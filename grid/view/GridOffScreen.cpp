// One cell put together on the grids' shared memory surface and copied to
// the window in one piece, so that a cell drawn in steps (filled, written,
// then inverted as selected) is never shown half done.
#include "grid/foundation/GridCommonCanvas.h"
#include "grid/model/BaseGrid.h"
#include "grid/view/GridResources.h"
#include "platform/gui/Blit.h"

#include <algorithm>

namespace grid {

void TgxBaseGrid::SetGridDc(HDC Target) {
    TgxMemoryCanvas* Memory = GridPaintCanvas();
    if (!FMemoryCanvasPrepared) {
        Memory->Prepare(Target, Width(), Height());
        FMemoryCanvasPrepared = true;
    } else {
        Memory->Resize(Target, Width(), Height());
    }
}

void TgxBaseGrid::ResetGridDc() {
    if (!FMemoryCanvasPrepared) return;
    FMemoryCanvasPrepared = false;
    // Resources shut down before the grid went took the surface with them.
    if (!GridUnitStarted()) return;
    TgxMemoryCanvas* Memory = GridPaintCanvas();
    Memory->Lock(this);
    Memory->Release();
    Memory->Unlock();
}

bool TgxBaseGrid::PrepareCanvas(const TRect& Rect) {
    if (FPaintingOffScreen || !HandleAllocated()) return false;
    TgxMemoryCanvas* Memory = GridPaintCanvas();
    // The surface holds another grid's cell: drawing here would spoil it.
    if (Memory->Locked(this)) return false;
    TCanvas* C = Canvas();
    const HDC Window = C->Handle();
    Memory->Lock(this);
    try {
        SetGridDc(Window);
        Memory->SetObjects(Rect);
        C->SetHandle(Memory->Dc());
        if (FCanvasNeedsInit) {
            InitCanvas(C);
            FCanvasNeedsInit = false;
        }
        // The surface starts from what the window shows, so whatever the
        // cell's drawing leaves alone (its lines) goes back unchanged.
        TCanvas Shown;
        Shown.SetHandle(Window);
        const TCopyMode Mode = C->CopyMode();
        BitBlt(C, Rect.Left, Rect.Top, Rect.Right - Rect.Left, Rect.Bottom - Rect.Top, &Shown,
               Rect.Left, Rect.Top, SRCCOPY);
        C->SetCopyMode(Mode);
    } catch (...) {
        C->SetHandle(Window);
        Memory->Unlock();
        throw;
    }
    FWindowDc = Window;
    FPaintingOffScreen = true;
    return true;
}

void TgxBaseGrid::CanvasToScreen(const TRect& Area) {
    if (!FPaintingOffScreen) return;
    TgxMemoryCanvas* Memory = GridPaintCanvas();
    TCanvas* C = Canvas();
    const HDC Surface = Memory->Dc();
    const bool OnSurface = Surface && C->HandleAllocated() && C->Handle() == Surface;
    // Whatever happens below, the canvas is the window's again and the
    // surface free for the next cell.
    C->SetHandle(FWindowDc);
    FWindowDc = nullptr;
    FPaintingOffScreen = false;
    try {
        const TRect Copy = Rect(std::max(Area.Left, 0), std::max(Area.Top, 0),
                                std::min(Area.Right, ClientWidth()),
                                std::min(Area.Bottom, ClientHeight()));
        if (OnSurface && Area.Right > Area.Left && Area.Bottom > Area.Top &&
            Copy.Right > Copy.Left && Copy.Bottom > Copy.Top) {
            TCanvas Source;
            Source.SetHandle(Surface);
            const TCopyMode Mode = C->CopyMode();
            BitBlt(C, Copy.Left, Copy.Top, Copy.Right - Copy.Left, Copy.Bottom - Copy.Top,
                   &Source, Copy.Left, Copy.Top, SRCCOPY);
            C->SetCopyMode(Mode);
        }
    } catch (...) {
        Memory->Unlock();
        throw;
    }
    Memory->Unlock();
    // A paint the window wanted meanwhile was held back: it is done now.
    if (FOffScreenPaintSkipped) {
        FOffScreenPaintSkipped = false;
        Update();
    }
}

void TgxBaseGrid::RestoreHandle() {
    // A whole paint run meanwhile (a print of the grid) has its own target.
    if (!FPaintingOffScreen || FPainting) return;
    const HDC Surface = GridPaintCanvas()->Dc();
    TCanvas* C = Canvas();
    if (Surface && (!C->HandleAllocated() || C->Handle() != Surface)) C->SetHandle(Surface);
}

void TgxBaseGrid::BmpHandleNeeded(TBitmap* Bitmap) {
    if (Bitmap) Bitmap->Canvas()->Handle();
    RestoreHandle();
}

} // namespace grid
