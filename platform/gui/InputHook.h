#pragma once
// Application-wide watching of mouse presses and window activation, where
// the platform would hook the thread's mouse and window messages. A client
// installs a hook with the procedures it wants told; the hook holds for the
// life of its handle. Hooks are told in the reverse order of installing
// (the newest first), and a procedure may remove its own or another hook
// as it runs. Watching takes nothing away from the controls: every press
// still goes where it was going.
#include "platform/gui/Messages.h"
#include "platform/gui/Types.h"

#include <functional>
#include <memory>

// A mouse button pressed somewhere in the application.
struct TMouseHookInfo {
    // WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN, their double-click
    // forms, or WM_NCLBUTTONDOWN / WM_NCRBUTTONDOWN for a window's frame.
    unsigned Msg = 0;
    // The windowed control the press goes to (the one holding the mouse
    // capture, else the one under the mouse); nullptr for a window that is
    // no control's (a platform dialog or menu).
    HWND Window = nullptr;
    // Where, in screen coordinates.
    TPoint ScreenPos;
};

// A top-level window becoming active or losing activation.
struct TActivationHookInfo {
    // The form (or other top-level control); nullptr for a window that is
    // no control's.
    HWND Window = nullptr;
    bool Active = false;
};

using TMouseHookProc = std::function<void(const TMouseHookInfo& Info)>;
using TActivationHookProc = std::function<void(const TActivationHookInfo& Info)>;

class TInputHook {
public:
    TInputHook() = default;
    // Installs the hook; either procedure may be empty.
    TInputHook(TMouseHookProc OnMouse, TActivationHookProc OnActivation);
    ~TInputHook() { Remove(); }
    TInputHook(TInputHook&& Other) noexcept;
    TInputHook& operator=(TInputHook&& Other) noexcept;
    TInputHook(const TInputHook&) = delete;
    TInputHook& operator=(const TInputHook&) = delete;

    // Removes the hook now; nothing when it isn't installed.
    void Remove();
    bool Installed() const { return FEntry != nullptr; }

    struct TEntry;

private:
    std::shared_ptr<TEntry> FEntry;
};

// How many hooks are installed.
int InputHookCount();
