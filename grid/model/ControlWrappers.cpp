#include "grid/model/ControlWrappers.h"

namespace grid {

namespace {

// A wrapped control starts hidden, 1 by 1 pixels and without the old 3D look.
template <class T> std::unique_ptr<TgxGridControl> MakeControl(TComponent* AOwner) {
    auto Control = std::make_unique<T>(AOwner);
    Control->SetParentCtl3D(false);
    Control->SetCtl3D(false);
    Control->SetVisible(false);
    Control->SetBounds(Control->Left(), Control->Top(), 1, 1);
    return Control;
}

} // namespace

TgxEditGridControl::TgxEditGridControl(TComponent* AOwner)
    : TgxStyledGridControl(MakeControl<TgxGridEditBox>(AOwner)) {}

void TgxEditGridControl::SetValue(const Variant& Value) {
    EditBox()->SetText(VarToStr(Value));
}

void TgxEditGridControl::SetEditValue(const Variant& Value, bool Flag) {
    EditBox()->SetEditText(VarToStr(Value), Flag);
}

void TgxEditGridControl::DrawControl(TCanvas* Canvas, int Height, const TRect& Rect, int Top,
                                     int Left, bool) {
    EditBox()->DrawControl(Canvas, Height, Rect, Top, Left);
}

void TgxEditGridControl::SetSelStart(int Value) {
    EditBox()->SetSelStart(Value);
    EditBox()->TextPosToSelStart();
}

void TgxEditGridControl::SaveCurrentState() {
    TgxGridEditBox* Box = EditBox();
    const int Start = Box->GetSelStart();
    const int Length = Box->GetSelLength();
    Box->SetSelStart(Start);
    Box->SetSelLength(Length);
}

TgxCheckGridControl::TgxCheckGridControl(TComponent* AOwner)
    : TgxStyledGridControl(MakeControl<TgxGridCheckBox>(AOwner)) {
    FControl->SetCaption("");
    FControl->SetTabStop(false);
}

void TgxCheckGridControl::DrawControl(TCanvas* Canvas, int, const TRect& Rect, int Top, int Left,
                                      bool Focused) {
    TRect R = Rect;
    R.Top = Top;
    R.Left = Left;
    CheckBox()->DrawCheck(Canvas, R, Focused);
}

void TgxCheckGridControl::SetMouseCapture(bool Value) {
    TgxCustomGridControl::SetMouseCapture(Value);
    if (!Value) CheckBox()->ResetSelectState();
}

} // namespace grid
