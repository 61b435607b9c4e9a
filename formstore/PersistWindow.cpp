// The screen and window half of PersistUtils.h: the wait cursor and
// bringing a window to the front.
#include "formstore/PersistUtils.h"

#include "platform/gui/Forms.h"
#include "platform/gui/WindowPos.h"

namespace formstore {

namespace {

int WaitCount = 0;
TCursor SavedCursor = crDefault;

} // namespace

void StartWait() {
    if (WaitCount == 0 && Screen) {
        SavedCursor = Screen->Cursor();
        Screen->SetCursor(crHourGlass);
    }
    ++WaitCount;
}

void StopWait() {
    if (WaitCount <= 0) return;
    if (--WaitCount == 0 && Screen) Screen->SetCursor(SavedCursor);
}

LRESULT SwitchToWindow(HWND Wnd, bool Restore) {
    if (!Wnd || !Wnd->Enabled()) return 0;
    const bool Foreground = SetForegroundWindow(Wnd);
    if (!Restore) return Foreground ? 1 : 0;
    if (!IsWindowVisible(Wnd)) return 0;
    if (!IsZoomed(Wnd)) SendMessage(Wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    TWinControl* Previous = Screen ? Screen->ActiveControl() : nullptr;
    // A form is no focus target of its own: it takes the focus through the
    // control that holds it on the form.
    TWinControl* Target = Wnd;
    if (auto* Form = dynamic_cast<TCustomForm*>(Wnd)) Target = Form->ActiveControl();
    if (Target && Target->CanFocus()) Target->SetFocus();
    return reinterpret_cast<LRESULT>(Previous);
}

} // namespace formstore
