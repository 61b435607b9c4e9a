#include "platform/gui/PopupForm.h"

#include "platform/gui/QtApp.h"

#include <QWidget>
#include <QWindow>

namespace {

// A window of its own that takes no focus and is placed where the program
// puts it, not where a window manager would.
constexpr Qt::WindowFlags PopupFlags =
    Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus | Qt::BypassWindowManagerHint;

} // namespace

TPopupForm::TPopupForm(TComponent* AOwner) : TCustomForm(AOwner) {
    SetBorderStyle(bsNone);
    SetOwnerWindow(dynamic_cast<TWinControl*>(AOwner));
}

TPopupForm::~TPopupForm() {
    FHook.Remove();
    SetOwnerWindow(nullptr);
}

void TPopupForm::SetOwnerWindow(TWinControl* Value) {
    if (Value == FOwnerWindow) return;
    if (FOwnerWindow) FOwnerWindow->RemoveFreeNotification(this);
    FOwnerWindow = Value;
    if (FOwnerWindow) FOwnerWindow->FreeNotification(this);
    if (WidgetAllocated() && Widget()->isVisible()) ApplyPopupWindow();
}

void TPopupForm::SetCloseOnOutsidePress(bool Value) {
    FCloseOnOutsidePress = Value;
    UpdateHook();
}

void TPopupForm::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomForm::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FOwnerWindow) {
        FOwnerWindow = nullptr;
        // Its window is going; no window to stay above any more.
        if (WidgetAllocated() && Widget()->windowHandle())
            Widget()->windowHandle()->setTransientParent(nullptr);
    }
}

QWidget* TPopupForm::CreateWidget() {
    auto* W = new QWidget(nullptr, PopupFlags);
    W->setAttribute(Qt::WA_ShowWithoutActivating);
    return W;
}

void TPopupForm::WidgetCreated() {
    TCustomForm::WidgetCreated();
    ApplyPopupWindow();
}

void TPopupForm::ApplyPopupWindow() {
    QWidget* W = Widget();
    // The form's own settings (border style) give way to the popup's.
    if (W->windowFlags() != PopupFlags) W->setWindowFlags(PopupFlags);
    W->setAttribute(Qt::WA_ShowWithoutActivating);
    QWidget* Owner = FOwnerWindow && FOwnerWindow->WidgetAllocated()
                         ? FOwnerWindow->Widget()->window()
                         : nullptr;
    if (Owner && Owner->windowHandle()) {
        W->winId();
        if (QWindow* Handle = W->windowHandle()) Handle->setTransientParent(Owner->windowHandle());
    }
}

void TPopupForm::UpdateWidgetVisible() {
    if (!WidgetAllocated()) {
        if (Visible()) Widget();
        return;
    }
    QWidget* W = Widget();
    if (Visible() == W->isVisible()) {
        UpdateHook();
        return;
    }
    if (Visible()) {
        AfterConstruction();
        ApplyPopupWindow();
        DoShow();
        if (!Visible()) return;
        UpdateWidgetBounds();
        // Shown where it was put and as it is: no activation, no focus.
        W->show();
    } else {
        W->hide();
        DoHide();
    }
    UpdateHook();
}

void TPopupForm::UpdateHook() {
    const bool Want =
        FCloseOnOutsidePress && Visible() && WidgetAllocated() && Widget()->isVisible();
    if (Want == FHook.Installed()) return;
    if (!Want) {
        FHook.Remove();
        return;
    }
    FHook = TInputHook([this](const TMouseHookInfo& Info) { HookPress(Info); },
                       [this](const TActivationHookInfo& Info) {
                           TCustomForm* OwnerForm =
                               FOwnerWindow ? GetParentForm(FOwnerWindow) : nullptr;
                           if (!Info.Active && Info.Window && Info.Window == OwnerForm) Close();
                       });
}

void TPopupForm::HookPress(const TMouseHookInfo& Info) {
    if (Info.Window && (Info.Window == this || ContainsControl(Info.Window))) return;
    if (Info.Window && FOwnerWindow && FOwnerWindow->ContainsControl(Info.Window)) return;
    Close();
}
