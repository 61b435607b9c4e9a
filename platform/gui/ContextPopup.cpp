// The context-menu request of a control.
#include "platform/gui/Controls.h"
#include "platform/gui/Menus.h"

void TControl::DoContextPopup(const TPoint& MousePos, bool& Handled) {
    if (OnContextPopup) OnContextPopup(this, MousePos, Handled);
}

void TControl::WMContextMenu(TMessage& Message) {
    const int X = SignedLo(static_cast<std::uintptr_t>(Message.LParam));
    const int Y = SignedHi(static_cast<std::uintptr_t>(Message.LParam));
    const bool FromKeyboard = X == -1 && Y == -1;
    const TPoint MousePos = FromKeyboard ? Point(-1, -1) : ScreenToClient(Point(X, Y));
    bool Handled = false;
    DoContextPopup(MousePos, Handled);
    if (Handled) {
        Message.Result = 1;
        return;
    }
    if (TPopupMenu* Menu = PopupMenu(); Menu && Menu->AutoPopup()) {
        // From the keyboard the menu opens over the middle of the control.
        const TPoint At =
            FromKeyboard ? ClientToScreen(Point(Width() / 2, Height() / 2)) : Point(X, Y);
        Menu->SetPopupComponent(this);
        Menu->Popup(At.X, At.Y);
        Message.Result = 1;
        return;
    }
    DefaultHandler(Message);
}
