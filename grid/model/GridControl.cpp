#include "grid/model/GridControl.h"

#include "platform/gui/Blit.h"
#include "platform/gui/Forms.h"
#include "platform/gui/WindowScroll.h"
#include "platform/rtl/Clock.h"

namespace grid {

namespace {

// The last button-down any in-place control ran was sent by the grid (its
// key state lacks the left button): it must not pair with the next real one.
bool GLastClickSynthetic = false;

// The key message a WM_GETDLGCODE asks about, when its sender passed one.
const TMessage* AskedKey(const TMessage& Message) {
    return reinterpret_cast<const TMessage*>(Message.LParam);
}

bool KeyHeld(const TMessage& Message, Word Key) {
    if (const TMessage* Asked = AskedKey(Message))
        return (Asked->Msg == WM_KEYDOWN || Asked->Msg == WM_SYSKEYDOWN) && Asked->WParam == Key;
    return GetKeyState(Key) < 0;
}

} // namespace

TgxMemoryCanvas& ControlMemoryCanvas() {
    static TgxMemoryCanvas Canvas;
    return Canvas;
}

TgxGridControl::TgxGridControl(TComponent* AOwner) : TCustomControl(AOwner) {
    SetShowHint(false);
}

TgxGridControl::~TgxGridControl() {
    if (FControlDcPrepared) {
        TgxMemoryCanvas& Memory = ControlMemoryCanvas();
        Memory.Lock(this);
        Memory.Release();
        Memory.Unlock();
        FControlDcPrepared = false;
    }
}

void TgxGridControl::SetAlignment(TAlignment Value) {
    FAlignment = Value;
}

void TgxGridControl::SetVertAlignment(TgxVertAlignment Value) {
    FVertAlignment = Value;
}

void TgxGridControl::SetWordWrap(TgxWordWrap Value) {
    FWordWrap = Value;
}

void TgxGridControl::SetCtl3D(bool Value) {
    SetParentCtl3D(false);
    if (FCtl3D == Value) return;
    FCtl3D = Value;
    Invalidate();
}

bool TgxGridControl::CheckCanChange(bool Editing) {
    bool Cancel = false;
    if (OnCanChange) OnCanChange(this, Editing, Cancel);
    return !Cancel;
}

bool TgxGridControl::CheckCanEdit(bool ByKey) {
    if (ByKey && !FKeyEdit) return false;
    bool Cancel = false;
    if (OnEdit) OnEdit(this, Cancel);
    return !Cancel && CheckCanChange(true);
}

bool TgxGridControl::IsEditKey(char) {
    return false;
}

bool TgxGridControl::WantKey(Word Key) {
    bool Want = false;
    if (OnWantKey) OnWantKey(this, Key, Want);
    return Want;
}

void TgxGridControl::SetFocus() {
    if (!Focused()) TCustomControl::SetFocus();
}

bool TgxGridControl::ShowsFocus() {
    return Focused() || (FGrid && FGrid->Focused()) || FAlwaysShowFocus;
}

void TgxGridControl::WndProc(TMessage& Message) {
    if (Message.Msg == WM_SETFOCUS) {
        // The form keeps the grid as its focused control; when it will not
        // (an exit handler moved the focus elsewhere) the message is dropped.
        if (TCustomForm* Form = GetParentForm(this); Form && FGrid) {
            Form->SetFocusedControl(FGrid);
            if (Form->ActiveControl() != FGrid) return;
        }
        WMSetFocus(Message);
        return;
    }
    TCustomControl::WndProc(Message);
}

void TgxGridControl::Dispatch(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SETFOCUS:
        WMSetFocus(Message);
        return;
    case WM_KILLFOCUS:
        WMKillFocus(Message);
        return;
    case WM_LBUTTONDOWN:
        WMLButtonDown(Message);
        return;
    case WM_LBUTTONUP:
        WMLButtonUp(Message);
        return;
    case WM_LBUTTONDBLCLK:
        WMLButtonDblClk(Message);
        return;
    case WM_GETDLGCODE:
        WMGetDlgCode(Message);
        return;
    case WM_MOVE:
        // A click after a move never pairs with one before it.
        FLastClickTick = 0;
        TCustomControl::Dispatch(Message);
        return;
    case CM_FONTCHANGED:
        TCustomControl::Dispatch(Message);
        if (HandleAllocated()) Canvas()->SetFont(Font());
        return;
    case CM_SHOWINGCHANGED:
        // Showing and hiding are the grid's to decide; the control's window
        // shows or hides without being activated or brought forward.
        return;
    default:
        TCustomControl::Dispatch(Message);
    }
}

void TgxGridControl::WMSetFocus(TMessage& Message) {
    DefaultHandler(Message);
}

void TgxGridControl::WMKillFocus(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    if (!Destroying() && OnKillFocus) OnKillFocus(this);
}

void TgxGridControl::WMLButtonDown(TMessage& Message) {
    const TWMMouse Mouse(Message);
    const bool Real = (Mouse.Keys() & MK_LBUTTON) != 0;
    FDblClickPending = (FKeyEdit || FMouseSelect) && FDblClickEmulation && Real;
    FMouseDown = true;
    const std::uint32_t Now = Clock().TickCount();
    if (FDblClickPending && !GLastClickSynthetic && FLastClickTick != 0 && Now >= FLastClickTick &&
        Now - FLastClickTick <= GetDoubleClickTime() && Mouse.Pos() == FLastClickPos) {
        Perform(WM_LBUTTONDBLCLK, Message.WParam, Message.LParam);
        FLastClickTick = 0;
        return;
    }
    GLastClickSynthetic = !Real;
    FLastClickTick = Now;
    FLastClickPos = Mouse.Pos();
    TCustomControl::Dispatch(Message);
}

void TgxGridControl::WMLButtonDblClk(TMessage& Message) {
    FLastClickTick = 0;
    if (FDblClickPending) {
        FDblClickPending = false;
        TCustomControl::Dispatch(Message);
    } else {
        // A system double click nobody expected counts as a button-down.
        Perform(WM_LBUTTONDOWN, Message.WParam, Message.LParam);
    }
}

void TgxGridControl::WMLButtonUp(TMessage& Message) {
    if (ControlState.Contains(csClicked)) {
        ControlState >> csClicked;
        FClickPending = FMouseDown || Focused();
    }
    TCustomControl::Dispatch(Message);
}

void TgxGridControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (FClickPending) Click();
    FClickPending = false;
    FMouseDown = false;
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TgxGridControl::WMGetDlgCode(TMessage& Message) {
    TCustomControl::Dispatch(Message);
    Message.Result |= DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (FWantTabs && GetKeyState(VK_CONTROL) >= 0) Message.Result |= DLGC_WANTTAB;
    if (KeyHeld(Message, VK_ESCAPE) && WantKey(VK_ESCAPE)) Message.Result |= DLGC_WANTALLKEYS;
    if (KeyHeld(Message, VK_RETURN)) Message.Result |= DLGC_WANTALLKEYS;
}

void TgxGridControl::Paint() {
    auto* Under = dynamic_cast<TCustomControl*>(Parent());
    if (!Under || ComponentState().Contains(csDesigning)) return;
    Canvas()->CopyRect(ClientRect(), Under->Canvas(),
                       Rect(Left(), Top(), Left() + Width(), Top() + Height()));
}

void TgxGridControl::PaintWindow() {
    TgxMemoryCanvas& Memory = ControlMemoryCanvas();
    Memory.Lock(this);
    TCanvas* Target = Canvas();
    Target->Lock();
    HDC Real = Target->Handle();
    try {
        if (!FControlDcPrepared) {
            Memory.Prepare(Real, Width(), Height());
            FControlDcPrepared = true;
        } else {
            Memory.Resize(Real, Width(), Height());
        }
        const TRect Clip = Target->ClipRect();
        Memory.SetObjects(Clip);
        Target->SetHandle(Memory.Dc());
        Paint();
        Target->SetHandle(Real);
        TCanvas Source;
        Source.SetHandle(Memory.Dc());
        BitBlt(Target, Clip.Left, Clip.Top, Clip.Width(), Clip.Height(), &Source, Clip.Left,
               Clip.Top, SRCCOPY);
    } catch (...) {
        Target->SetHandle(Real);
        Target->Unlock();
        Memory.Unlock();
        throw;
    }
    Target->Unlock();
    Memory.Unlock();
}

} // namespace grid
