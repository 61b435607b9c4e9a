#include "platform/gui/Caret.h"

#include "platform/gui/Blit.h"
#include "platform/gui/Controls.h"
#include "platform/gui/CustomControl.h"
#include "platform/gui/TimerService.h"

#include <memory>

namespace {

struct TCaret {
    TWinControl* Owner = nullptr;
    std::uint64_t Serial = 0;
    std::unique_ptr<TBitmap> Shape;
    int Width = 0;
    int Height = 0;
    TPoint Pos;
    // Shown at 0; the caret is made hidden once.
    int HideLevel = 1;
    // The visible half of the blink.
    bool Phase = true;
    // Its pixels are inverted in the owner's image at DrawnAt.
    bool Drawn = false;
    TPoint DrawnAt;
    int Timer = 0;
    ITimerService* TimerOwner = nullptr;
};

std::unique_ptr<TCaret> GCaret;

bool OwnerAlive(const TCaret& C) {
    return C.Owner && TControl::Exists(C.Owner, C.Serial);
}

TCanvas* OwnerCanvas(const TCaret& C) {
    if (!OwnerAlive(C)) return nullptr;
    auto* Painted = dynamic_cast<TPaintedControl<TWinControl>*>(C.Owner);
    return Painted ? Painted->Canvas() : nullptr;
}

// Inverts the caret's pixels at P: drawing it and taking it off are the
// same operation.
void Invert(TCaret& C, TPoint P) {
    TCanvas* Canvas = OwnerCanvas(C);
    if (!Canvas) return;
    Canvas->Lock();
    try {
        if (C.Shape)
            BitBlt(Canvas, P.X, P.Y, C.Width, C.Height, C.Shape->Canvas(), 0, 0, SRCINVERT);
        else
            PatBlt(Canvas, P.X, P.Y, C.Width, C.Height, DSTINVERT);
    } catch (...) {
        Canvas->Unlock();
        throw;
    }
    Canvas->Unlock();
}

void TakeOff(TCaret& C) {
    if (!C.Drawn) return;
    C.Drawn = false;
    Invert(C, C.DrawnAt);
}

void PutOn(TCaret& C) {
    if (C.Drawn || C.HideLevel > 0 || !C.Phase) return;
    C.Drawn = true;
    C.DrawnAt = C.Pos;
    Invert(C, C.Pos);
}

void StopBlinking(TCaret& C) {
    if (C.Timer && C.TimerOwner == &TimerService()) C.TimerOwner->StopTimer(C.Timer);
    C.Timer = 0;
    C.TimerOwner = nullptr;
}

void Blink() {
    if (!GCaret) return;
    TCaret& C = *GCaret;
    if (!OwnerAlive(C)) {
        // The owner went without taking its caret along.
        StopBlinking(C);
        GCaret.reset();
        return;
    }
    if (C.HideLevel > 0) return;
    TakeOff(C);
    C.Phase = !C.Phase;
    PutOn(C);
}

bool Owns(HWND Wnd) {
    return GCaret && (Wnd == nullptr || GCaret->Owner == Wnd);
}

} // namespace

bool CreateCaret(HWND Wnd, TBitmap* Bitmap, int Width, int Height) {
    if (!Wnd) return false;
    DestroyCaret();
    auto C = std::make_unique<TCaret>();
    C->Owner = Wnd;
    C->Serial = Wnd->Serial();
    if (Bitmap && !Bitmap->Empty()) {
        C->Shape = std::make_unique<TBitmap>();
        C->Shape->Assign(Bitmap);
        C->Width = Bitmap->Width();
        C->Height = Bitmap->Height();
    } else {
        C->Width = Width > 0 ? Width : 1;
        C->Height = Height > 0 ? Height : 1;
    }
    C->TimerOwner = &TimerService();
    C->Timer = C->TimerOwner->StartTimer(GetCaretBlinkTime(), [] { Blink(); });
    GCaret = std::move(C);
    return true;
}

bool DestroyCaret() {
    if (!GCaret) return false;
    TakeOff(*GCaret);
    StopBlinking(*GCaret);
    GCaret.reset();
    return true;
}

bool SetCaretPos(int X, int Y) {
    if (!GCaret) return false;
    TCaret& C = *GCaret;
    if (C.Pos == Point(X, Y)) return true;
    TakeOff(C);
    C.Pos = Point(X, Y);
    // A caret that moves is seen at once, whatever its blink phase was.
    C.Phase = true;
    PutOn(C);
    return true;
}

bool GetCaretPos(TPoint& P) {
    if (!GCaret) return false;
    P = GCaret->Pos;
    return true;
}

bool ShowCaret(HWND Wnd) {
    if (!Owns(Wnd)) return false;
    TCaret& C = *GCaret;
    if (C.HideLevel == 0) return false;
    if (--C.HideLevel == 0) {
        C.Phase = true;
        PutOn(C);
    }
    return true;
}

bool HideCaret(HWND Wnd) {
    if (!Owns(Wnd)) return false;
    TCaret& C = *GCaret;
    ++C.HideLevel;
    TakeOff(C);
    return true;
}

unsigned GetCaretBlinkTime() {
    return 530;
}

HWND CaretOwner() {
    return GCaret && OwnerAlive(*GCaret) ? GCaret->Owner : nullptr;
}

bool CaretDrawn() {
    return GCaret && GCaret->Drawn;
}

void CaretBeforePaint(TControl* Control) {
    if (GCaret && GCaret->Owner == Control) TakeOff(*GCaret);
}

void CaretAfterPaint(TControl* Control) {
    if (GCaret && GCaret->Owner == Control) PutOn(*GCaret);
}
