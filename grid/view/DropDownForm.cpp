#include "grid/view/DropDownForm.h"

#include "grid/model/BaseGrid.h"

namespace grid {

TgxDropDownForm::TgxDropDownForm(TComponent* AOwner) : TPopupForm(AOwner) {
    SetVisible(false);
}

void TgxDropDownForm::SetDropDown(bool Value) {
    if (Value == FDropDown || WidgetAllocated()) return;
    FDropDown = Value;
    SetBorderStyle(Value ? bsNone : bsToolWindow);
}

QWidget* TgxDropDownForm::CreateWidget() {
    return FDropDown ? TPopupForm::CreateWidget() : TCustomForm::CreateWidget();
}

void TgxDropDownForm::WidgetCreated() {
    if (FDropDown)
        TPopupForm::WidgetCreated();
    else
        TCustomForm::WidgetCreated();
}

void TgxDropDownForm::UpdateWidgetVisible() {
    if (FDropDown)
        TPopupForm::UpdateWidgetVisible();
    else
        TCustomForm::UpdateWidgetVisible();
}

void TgxDropDownForm::KeyDown(Word& Key, TShiftState Shift) {
    TPopupForm::KeyDown(Key, Shift);
    if (Key == 0) return;
    for (int I = 0; I < ControlCount(); ++I)
        if (auto* Child = dynamic_cast<TWinControl*>(Controls(I)); Child && Child->Visible()) {
            SendMessage(Child, WM_KEYDOWN, Key, 0);
            Key = 0;
            return;
        }
}

} // namespace grid
