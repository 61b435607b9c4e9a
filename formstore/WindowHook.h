#pragma once
// TFsWindowHook: sees every message of one windowed control before and after
// the control's own handling, without deriving from the control. All hooks
// on one control share a single replacement of the control's WindowProc;
// they run from the last attached to the first, before and after.
#include "platform/classes/Component.h"
#include "platform/gui/Messages.h"

#include <functional>

class TWinControl;

namespace formstore {

class TControlHook;

// Handled set by a before-handler keeps the remaining before-handlers, the
// control's own handling and the after-handlers from running.
using THookMessageEvent = std::function<void(TObject* Sender, TMessage& Msg, bool& Handled)>;

// Private messages of the hook list's utility window: subclass a control
// again once its window was rebuilt; free a control hook nobody uses.
inline constexpr unsigned CM_RECREATEWINDOW = 0xB052;
inline constexpr unsigned CM_DESTROYHOOK = 0xB053;

class TFsWindowHook : public TComponent {
public:
    explicit TFsWindowHook(TComponent* AOwner);
    ~TFsWindowHook() override;
    AnsiString ClassName() const override { return "TFsWindowHook"; }

    // Attached while active and a control is set.
    bool Active() const { return FActive; }
    void SetActive(bool Value);
    // The control of the attached control hook, else the control set.
    TWinControl* WinControl() const;
    void SetWinControl(TWinControl* Value);

    void HookControl();
    void UnhookControl();

    // The hooked control is the owner, and the owner is a form.
    bool IsForm() const;
    // A control is hooked and it is not a form.
    bool NotIsForm() const;

    // The utility window of the hook list, or nullptr before any control
    // was hooked.
    static HWND GetHookHandle();

    THookMessageEvent BeforeMessage;
    THookMessageEvent AfterMessage;

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override;
    virtual void DoBeforeMessage(TMessage& Msg, bool& Handled);
    virtual void DoAfterMessage(TMessage& Msg, bool& Handled);

private:
    friend class TControlHook;
    void DoUnhookControl();

    bool FActive = true;
    TControlHook* FControlHook = nullptr;
    TWinControl* FWinControl = nullptr;
};

} // namespace formstore
