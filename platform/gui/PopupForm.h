#pragma once
// A borderless form that drops down over a control: made without a form
// file, owned by the control's window (kept above it, never in the task
// bar), placed in screen coordinates and shown without taking the
// activation from the form the user works in, so that control keeps the
// keyboard. Optionally it closes itself as the mouse goes elsewhere: on a
// press outside it and outside its owner window, or when the owner's form
// loses the activation.
#include "platform/gui/Forms.h"
#include "platform/gui/InputHook.h"

class TPopupForm : public TCustomForm {
public:
    // The owner window is AOwner when that is a windowed control.
    explicit TPopupForm(TComponent* AOwner);
    ~TPopupForm() override;
    AnsiString ClassName() const override { return "TPopupForm"; }

    TWinControl* OwnerWindow() const { return FOwnerWindow; }
    void SetOwnerWindow(TWinControl* Value);

    // Close (OnCloseQuery, OnClose, hide) on a press outside the form and
    // its owner window, or when the owner's form is deactivated. Off by
    // default: the owner then decides when it closes.
    bool CloseOnOutsidePress() const { return FCloseOnOutsidePress; }
    void SetCloseOnOutsidePress(bool Value);

protected:
    QWidget* CreateWidget() override;
    void WidgetCreated() override;
    void UpdateWidgetVisible() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;

private:
    void ApplyPopupWindow();
    void UpdateHook();
    void HookPress(const TMouseHookInfo& Info);

    TWinControl* FOwnerWindow = nullptr;
    bool FCloseOnOutsidePress = false;
    TInputHook FHook;
};
