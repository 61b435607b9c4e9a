#include "platform/gui/WindowPos.h"

#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"

#include <QApplication>
#include <QWidget>

namespace {

// Shows the window; without activation the platform is asked not to
// activate it for this showing.
void ShowControl(TWinControl* Wnd, bool Activate) {
    if (Wnd->Visible()) return;
    QWidget* W = Wnd->Widget();
    const bool Before = W->testAttribute(Qt::WA_ShowWithoutActivating);
    if (!Activate) W->setAttribute(Qt::WA_ShowWithoutActivating, true);
    try {
        Wnd->Show();
    } catch (...) {
        W->setAttribute(Qt::WA_ShowWithoutActivating, Before);
        throw;
    }
    if (TControl::FromWidget(W) == Wnd) W->setAttribute(Qt::WA_ShowWithoutActivating, Before);
}

} // namespace

bool SetWindowPos(HWND Wnd, HWND InsertAfter, int X, int Y, int CX, int CY, unsigned Flags) {
    if (!Wnd) return false;
    const int Left = Flags & SWP_NOMOVE ? Wnd->Left() : X;
    const int Top = Flags & SWP_NOMOVE ? Wnd->Top() : Y;
    const int Width = Flags & SWP_NOSIZE ? Wnd->Width() : CX;
    const int Height = Flags & SWP_NOSIZE ? Wnd->Height() : CY;
    Wnd->SetBounds(Left, Top, Width, Height);
    if (!(Flags & SWP_NOZORDER)) {
        if (InsertAfter == HWND_TOP)
            Wnd->BringToFront();
        else if (InsertAfter == HWND_BOTTOM)
            Wnd->SendToBack();
    }
    if (Flags & SWP_SHOWWINDOW)
        ShowControl(Wnd, !(Flags & SWP_NOACTIVATE));
    else if (Flags & SWP_HIDEWINDOW)
        Wnd->Hide();
    return true;
}

bool ShowWindow(HWND Wnd, int CmdShow) {
    if (!Wnd) return false;
    const bool Was = Wnd->Visible();
    auto* Form = dynamic_cast<TCustomForm*>(Wnd);
    switch (CmdShow) {
    case SW_HIDE:
        Wnd->Hide();
        break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
        ShowControl(Wnd, false);
        break;
    case SW_SHOWMINIMIZED:
    case SW_SHOWMAXIMIZED:
        if (Form) Form->SetWindowState(CmdShow == SW_SHOWMINIMIZED ? wsMinimized : wsMaximized);
        ShowControl(Wnd, true);
        break;
    default:
        ShowControl(Wnd, true);
        break;
    }
    return Was;
}

bool SetForegroundWindow(HWND Wnd) {
    TCustomForm* Form = Wnd ? GetParentForm(Wnd) : nullptr;
    if (!Form || !Form->Showing()) return false;
    QWidget* W = Form->Widget();
    if (!IsHeadlessPlatform()) W->raise();
    if (QApplication::activeWindow() != W) {
        QT_WARNING_PUSH
        QT_WARNING_DISABLE_DEPRECATED
        QApplication::setActiveWindow(W);
        QT_WARNING_POP
    }
    return true;
}
