#pragma once
// The off-screen surface that all grids (and, with a second instance, all
// in-place controls) paint into before copying the changed area to the
// screen, and the preparation of a canvas that was just pointed at a new
// device context.
#include "platform/gui/Graphics.h"
#include "platform/gui/Types.h"
#include "platform/rtl/Object.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace grid {

// Draws a 1 by 1 bitmap of 32 bits per pixel at (0, 0), so the canvas has
// drawn once into its new device context before the real painting.
void InitCanvas(TCanvas* Canvas);

// One device context with a bitmap that only grows, shared by the drawers of
// one kind. A drawer locks it, prepares (or resizes) it to its window size,
// clips it to the area to repaint, draws into Dc, copies the area out and
// unlocks. The bitmap goes with the last drawer that releases it.
class TgxMemoryCanvas : public TObject {
public:
    TgxMemoryCanvas();
    ~TgxMemoryCanvas() override;
    TgxMemoryCanvas(const TgxMemoryCanvas&) = delete;
    TgxMemoryCanvas& operator=(const TgxMemoryCanvas&) = delete;
    AnsiString ClassName() const override { return "TgxMemoryCanvas"; }

    // The memory device context, or nullptr. It stays the same context from
    // Prepare until FreeDc, also across Resize.
    HDC Dc() const;
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    int UseCount() const { return FUseCount; }

    // Makes the context and a bitmap of the size when there is none, else
    // grows the bitmap when it is smaller; then counts one more user. The
    // reference context is the drawer's: memory contexts here are all alike.
    void Prepare(HDC ReferenceDc, int AWidth, int AHeight);
    // Grows the bitmap to at least the size in each direction; never shrinks.
    void Resize(HDC ReferenceDc, int AWidth, int AHeight);
    // One user less; the context and bitmap are freed with the last one.
    void Release();
    void FreeDc();
    // Clips all drawing into the context to the rectangle.
    void SetObjects(const TRect& Rect);

    // Waits until no other thread holds the surface, then records the
    // calling thread and Owner. The holding thread may lock again.
    void Lock(TObject* Owner);
    // Clears thread and owner and releases one lock; does nothing for a
    // thread that does not hold the surface.
    void Unlock();
    // The calling thread holds the surface for an owner other than Owner: a
    // second drawer on the same thread must not draw into it now.
    bool Locked(TObject* Owner) const;

private:
    std::unique_ptr<TBitmap> FBitmap;
    int FWidth = 0;
    int FHeight = 0;
    int FUseCount = 0;

    // A recursive lock like the system mutex the surface was designed on:
    // the holding thread and how often it has locked.
    std::mutex FGuard;
    std::condition_variable FFree;
    std::thread::id FHolder;
    int FDepth = 0;

    std::atomic<std::thread::id> FLockThread{};
    std::atomic<TObject*> FLockOwner{nullptr};
};

} // namespace grid
