#include "grid/foundation/GridCommonControls.h"

namespace grid {

TgxHorzAlignment AlignmentToHorzAlignment(TAlignment Alignment, bool IsSet) {
    if (!IsSet) return htaDefault;
    switch (Alignment) {
    case TAlignment::taRightJustify:
        return htaRight;
    case TAlignment::taCenter:
        return htaCenter;
    default:
        return htaLeft;
    }
}

TAlignment HorzAlignmentToAlignment(TgxHorzAlignment Alignment) {
    switch (Alignment) {
    case htaRight:
        return TAlignment::taRightJustify;
    case htaCenter:
        return TAlignment::taCenter;
    default:
        return TAlignment::taLeftJustify;
    }
}

bool HorzAlignmentToAlign(TgxHorzAlignment Alignment) {
    return Alignment != htaDefault;
}

bool ControlFocused(TControl* Control) {
    auto* Win = dynamic_cast<TWinControl*>(Control);
    if (!Win) return false;
    if (Win->Focused()) return true;
    for (int I = 0; I < Win->ControlCount(); ++I)
        if (ControlFocused(Win->Controls(I))) return true;
    return false;
}

bool ControlVisible(TControl* Control) {
    for (TControl* C = Control; C; C = C->Parent())
        if (!C->Visible()) return false;
    return Control != nullptr;
}

bool IsControlHandle(HWND Handle, TWinControl* Control) {
    if (!Control || !Handle || !Control->HandleAllocated()) return false;
    if (Control->Handle() == Handle) return true;
    for (int I = 0; I < Control->ControlCount(); ++I)
        if (IsControlHandle(Handle, dynamic_cast<TWinControl*>(Control->Controls(I)))) return true;
    return false;
}

} // namespace grid
