#include "formstore/WindowHook.h"

#include "platform/classes/Filer.h"
#include "platform/classes/Publish.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace formstore {

// One per hooked control: owns the replacement of the control's WindowProc
// and calls the attached hooks around the procedure it replaced.
class TControlHook : public TObject {
public:
    explicit TControlHook(TWinControl* Control)
        : FControl(Control), FSerial(Control ? Control->Serial() : 0),
          FLink(std::make_shared<TProcLink>(TProcLink{this, nullptr})) {}
    ~TControlHook() override;
    AnsiString ClassName() const override { return "TControlHook"; }

    TWinControl* Control() const { return FControl; }
    bool HasHooks() const { return !FHooks.empty(); }
    // The control still exists and is not on its way out; only then may it
    // be touched (deferred work can arrive after it is gone).
    bool ControlUsable() const;

    void Attach(TFsWindowHook* Hook);
    void Detach(TFsWindowHook* Hook);
    // Puts this hook's procedure in front of the control's.
    void HookControl();
    // Gives the control back the procedure it had, unless someone else has
    // put theirs in front of this one meanwhile.
    void UnhookControl();
    void WindowProc(TMessage& Msg);
    // Frees this control hook now, or once the message it is handling is
    // done with it.
    void FreeWhenIdle();

private:
    // What the installed procedure calls. A procedure put over this one may
    // outlive this object: it then passes messages straight on.
    struct TProcLink {
        TControlHook* Hook;
        TWndMethod Prev;
    };
    // The procedure installed in the control; told apart from others by type.
    struct TProc {
        std::shared_ptr<TProcLink> Link;
        void operator()(TMessage& Msg) const {
            const std::shared_ptr<TProcLink> Keep = Link;
            if (Keep->Hook)
                Keep->Hook->WindowProc(Msg);
            else if (Keep->Prev)
                Keep->Prev(Msg);
        }
    };

    bool Installed() const;
    void NotifyHooks(bool Before, TMessage& Msg, bool& Handled);

    TWinControl* FControl;
    std::uint64_t FSerial;
    TWndMethod FPrevProc;
    bool FSubclassed = false;
    std::vector<TFsWindowHook*> FHooks;
    bool FDestroying = false;
    // Messages this hook is handling now (a handler may wait for others).
    int FBusy = 0;
    bool FFreeWhenIdle = false;
    std::shared_ptr<TProcLink> FLink;
};

namespace {

// The hidden window the control hooks post their deferred work to.
class THookWindow : public TWinControl {
public:
    THookWindow() : TWinControl(nullptr) {}
    AnsiString ClassName() const override { return "THookWindow"; }
    void WndProc(TMessage& Msg) override;
};

class THookList {
public:
    THookList() {
        // Touch the platform's window timer table now, so that it outlives
        // this list at the end of the run (statics go in reverse order).
        KillTimer(&FWindow, 0);
    }
    ~THookList() {
        while (!FHooks.empty())
            delete FHooks.back();
    }

    HWND Window() { return &FWindow; }
    bool Contains(const TControlHook* Hook) const {
        return std::find(FHooks.begin(), FHooks.end(), Hook) != FHooks.end();
    }
    TControlHook* Find(const TWinControl* Control) const {
        if (!Control) return nullptr;
        for (TControlHook* Hook : FHooks)
            if (Hook->Control() == Control && Hook->ControlUsable()) return Hook;
        return nullptr;
    }
    void Add(TControlHook* Hook) { FHooks.push_back(Hook); }
    void Remove(TControlHook* Hook) {
        FHooks.erase(std::remove(FHooks.begin(), FHooks.end(), Hook), FHooks.end());
    }

private:
    THookWindow FWindow;
    std::vector<TControlHook*> FHooks;
};

THookList*& ListPointer() {
    static THookList* List = nullptr;
    return List;
}

// Frees the list at the end of the run. Made on the first need of the
// list, after the platform's own tables, so it goes before them.
struct TListOwner {
    ~TListOwner() {
        delete ListPointer();
        ListPointer() = nullptr;
    }
};

THookList& NeedList() {
    if (!ListPointer()) ListPointer() = new THookList;
    static TListOwner Owner;
    return *ListPointer();
}

TControlHook* TakeHook(LPARAM LParam) {
    auto* Hook = reinterpret_cast<TControlHook*>(LParam);
    THookList* List = ListPointer();
    return List && List->Contains(Hook) ? Hook : nullptr;
}

void THookWindow::WndProc(TMessage& Msg) {
    try {
        switch (Msg.Msg) {
        case CM_RECREATEWINDOW:
            if (TControlHook* Hook = TakeHook(Msg.LParam)) Hook->HookControl();
            return;
        case CM_DESTROYHOOK:
            if (TControlHook* Hook = TakeHook(Msg.LParam); Hook && !Hook->HasHooks())
                Hook->FreeWhenIdle();
            return;
        default:
            TWinControl::WndProc(Msg);
        }
    } catch (...) {
        Application->HandleException(this);
    }
}

} // namespace

// ---- TControlHook -----------------------------------------------------------------

TControlHook::~TControlHook() {
    FDestroying = true;
    if (THookList* List = ListPointer()) List->Remove(this);
    while (!FHooks.empty())
        Detach(FHooks.back());
    // Still called by a procedure put over this one: from now on that call
    // goes straight to the procedure this one replaced.
    FLink->Prev = FSubclassed && ControlUsable() ? std::move(FPrevProc) : nullptr;
    FLink->Hook = nullptr;
    FControl = nullptr;
}

bool TControlHook::ControlUsable() const {
    return FControl && TControl::Exists(FControl, FSerial) &&
           !FControl->ComponentState().Contains(csDestroying);
}

bool TControlHook::Installed() const {
    const TProc* Proc = ControlUsable() ? FControl->WindowProc.target<TProc>() : nullptr;
    return Proc && Proc->Link == FLink;
}

void TControlHook::Attach(TFsWindowHook* Hook) {
    if (std::find(FHooks.begin(), FHooks.end(), Hook) != FHooks.end()) return;
    FHooks.push_back(Hook);
    Hook->FControlHook = this;
    FFreeWhenIdle = false;
}

void TControlHook::FreeWhenIdle() {
    if (FBusy > 0)
        FFreeWhenIdle = true;
    else
        delete this;
}

void TControlHook::Detach(TFsWindowHook* Hook) {
    FHooks.erase(std::remove(FHooks.begin(), FHooks.end(), Hook), FHooks.end());
    if (Hook->FControlHook == this) Hook->FControlHook = nullptr;
    if (FHooks.empty()) UnhookControl();
}

void TControlHook::HookControl() {
    if (!ControlUsable() || FDestroying || FControl->ComponentState().Contains(csDesigning)) return;
    FControl->HandleNeeded();
    // Still in the chain (in front, or under a procedure someone put over it).
    if (FSubclassed) return;
    FPrevProc = FControl->WindowProc;
    FSubclassed = true;
    FControl->WindowProc = TProc{FLink};
}

void TControlHook::UnhookControl() {
    if (!ControlUsable()) {
        // A control being destroyed has no procedure left to give back.
        FPrevProc = nullptr;
        FSubclassed = false;
        return;
    }
    if (FSubclassed && Installed()) {
        FControl->WindowProc = FPrevProc;
        FPrevProc = nullptr;
        FSubclassed = false;
    }
    // Otherwise a procedure put over this one still calls it: keep passing
    // messages on to the control's own procedure so none is lost.
}

void TControlHook::NotifyHooks(bool Before, TMessage& Msg, bool& Handled) {
    if (FHooks.empty() || !ControlUsable() || FDestroying) return;
    // A handler may attach or detach hooks; walk a copy and skip those gone.
    const std::vector<TFsWindowHook*> Hooks = FHooks;
    for (auto It = Hooks.rbegin(); It != Hooks.rend(); ++It) {
        TFsWindowHook* Hook = *It;
        if (std::find(FHooks.begin(), FHooks.end(), Hook) == FHooks.end()) continue;
        try {
            if (Before)
                Hook->DoBeforeMessage(Msg, Handled);
            else
                Hook->DoAfterMessage(Msg, Handled);
        } catch (...) {
            Application->HandleException(Hook);
        }
        if (Handled) break;
    }
}

void TControlHook::WindowProc(TMessage& Msg) {
    if (!FControl) return;
    // Declared first, so that it goes last: nothing of this object is
    // touched after it may free it.
    struct TBusy {
        TControlHook* Self;
        explicit TBusy(TControlHook* Hook) : Self(Hook) { ++Self->FBusy; }
        ~TBusy() {
            if (--Self->FBusy == 0 && Self->FFreeWhenIdle && !Self->HasHooks()) delete Self;
        }
    } Busy(this);
    bool Handled = false;
    if (Msg.Msg != WM_QUIT) NotifyHooks(true, Msg, Handled);
    if (!Handled || Msg.Msg == WM_DESTROY) {
        struct TAfter {
            TControlHook* Self;
            TMessage& Msg;
            ~TAfter() {
                bool AfterHandled = false;
                Self->NotifyHooks(false, Msg, AfterHandled);
            }
        } After{this, Msg};
        // The procedure's own answer, not what a before-handler left.
        Msg.Result = 0;
        if (!TControl::Exists(FControl, FSerial))
            // A before-handler freed the control: it has no procedure left
            // to answer, and the one it had may stand on it.
            ;
        else if (FPrevProc)
            FPrevProc(Msg);
        else if (!FSubclassed && ControlUsable() && FControl->WindowProc)
            // A handler took the last hook off: the control has its own
            // procedure back, and the message still goes through it.
            FControl->WindowProc(Msg);
        else
            FControl->WndProc(Msg);
    }
    if (Msg.Msg == WM_DESTROY) {
        UnhookControl();
        THookList* List = ListPointer();
        if (List && !FDestroying && ControlUsable())
            PostMessage(List->Window(), CM_RECREATEWINDOW, 0, reinterpret_cast<LPARAM>(this));
    }
}

// ---- TFsWindowHook ----------------------------------------------------------------

TFsWindowHook::TFsWindowHook(TComponent* AOwner) : TComponent(AOwner) {}

TFsWindowHook::~TFsWindowHook() {
    Destroying();
    SetActive(false);
    SetWinControl(nullptr);
}

void TFsWindowHook::SetActive(bool Value) {
    if (Value == FActive) return;
    if (Value)
        HookControl();
    else
        UnhookControl();
}

TWinControl* TFsWindowHook::WinControl() const {
    return FControlHook ? FControlHook->Control() : FWinControl;
}

void TFsWindowHook::SetWinControl(TWinControl* Value) {
    if (Value == WinControl()) return;
    const bool WasActive = FActive;
    TWinControl* OldControl = FWinControl;
    DoUnhookControl();
    if (OldControl && OldControl != Owner() && !OldControl->ComponentState().Contains(csDestroying))
        RemoveFreeNotification(OldControl);
    FWinControl = Value;
    if (Value) Value->FreeNotification(this);
    if (WasActive) HookControl();
}

void TFsWindowHook::HookControl() {
    if (FWinControl && !ComponentState().Contains(csDestroying)) {
        THookList& List = NeedList();
        TControlHook* Hook = List.Find(FWinControl);
        if (!Hook) {
            auto Made = std::make_unique<TControlHook>(FWinControl);
            List.Add(Made.get());
            Hook = Made.release();
        }
        Hook->Attach(this);
        Hook->HookControl();
    }
    FActive = true;
}

void TFsWindowHook::UnhookControl() {
    DoUnhookControl();
}

void TFsWindowHook::DoUnhookControl() {
    if (TControlHook* Hook = FControlHook) {
        Hook->Detach(this);
        // Freed later, not now: it may be inside the control's message
        // handling at this moment.
        if (!Hook->HasHooks())
            if (THookList* List = ListPointer())
                PostMessage(List->Window(), CM_DESTROYHOOK, 0, reinterpret_cast<LPARAM>(Hook));
    }
    FActive = false;
}

bool TFsWindowHook::IsForm() const {
    return WinControl() && WinControl() == Owner() && dynamic_cast<TCustomForm*>(Owner());
}

bool TFsWindowHook::NotIsForm() const {
    return WinControl() && !dynamic_cast<TCustomForm*>(WinControl());
}

HWND TFsWindowHook::GetHookHandle() {
    THookList* List = ListPointer();
    return List ? List->Window() : nullptr;
}

void TFsWindowHook::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && (AComponent == WinControl() || AComponent == Owner() || !Owner()))
        SetWinControl(nullptr);
}

void TFsWindowHook::DoBeforeMessage(TMessage& Msg, bool& Handled) {
    if (BeforeMessage) BeforeMessage(this, Msg, Handled);
}

void TFsWindowHook::DoAfterMessage(TMessage& Msg, bool& Handled) {
    if (AfterMessage) AfterMessage(this, Msg, Handled);
}

namespace {

// Whether "IsForm" goes into the stream: when true, or, while an inherited
// form is written, when it differs from the ancestor's hook, so that the
// descendant says what it changed and nothing more.
bool IsFormDiffers(const TFsWindowHook& Self, const TFiler* Filer) {
    const auto* Ancestor = dynamic_cast<const TFsWindowHook*>(Filer->Ancestor());
    if (Ancestor == nullptr) return Self.IsForm();
    return Ancestor->IsForm() != Self.IsForm();
}

// A form stream names the hooked control, except when that is the owner
// form: then "IsForm" says so, and reading it hooks the owner again.
const TPublished<TFsWindowHook, TComponent> WindowHookClass(
    "TFsWindowHook",
    [](auto& C) {
        C.Property("Active", &TFsWindowHook::Active, &TFsWindowHook::SetActive).Default(true);
        C.Property("WinControl", &TFsWindowHook::WinControl, &TFsWindowHook::SetWinControl)
            .Stored(&TFsWindowHook::NotIsForm);
        C.DefineProperties([](TFsWindowHook& Self, TFiler* Filer) {
            Filer->DefineProperty(
                "IsForm",
                [&Self](TReader* Reader) {
                    if (!Reader->ReadBoolean()) return;
                    if (auto* Form = dynamic_cast<TCustomForm*>(Self.Owner()))
                        Self.SetWinControl(Form);
                },
                [&Self](TWriter* Writer) { Writer->WriteBoolean(Self.IsForm()); },
                IsFormDiffers(Self, Filer));
        });
    },
    true);

} // namespace

} // namespace formstore
