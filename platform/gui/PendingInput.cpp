// Qt has no look into its queue; the queued events are let through with
// the input caught on the way, and the input is queued again afterwards.
#include "platform/gui/PendingInput.h"

#include "platform/gui/Bridge.h"
#include "platform/gui/QtApp.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWheelEvent>

#include <memory>
#include <vector>

namespace {

struct THeld {
    QPointer<QObject> Receiver;
    std::unique_ptr<QEvent> Event;
    TMsg Msg;
};

HWND WindowOfWidget(QWidget* W) {
    for (; W; W = W->parentWidget())
        if (auto* Win = dynamic_cast<TWinControl*>(TControl::FromWidget(W))) return Win;
    return nullptr;
}

unsigned ButtonMessage(QEvent::Type Type, Qt::MouseButton Button) {
    const int Index = Button == Qt::LeftButton ? 0 : Button == Qt::RightButton ? 1 : 2;
    switch (Type) {
    case QEvent::MouseButtonPress:
        return WM_LBUTTONDOWN + 3 * static_cast<unsigned>(Index);
    case QEvent::MouseButtonRelease:
        return WM_LBUTTONUP + 3 * static_cast<unsigned>(Index);
    default:
        return WM_LBUTTONDBLCLK + 3 * static_cast<unsigned>(Index);
    }
}

// The message an input event will be, or false for an event that isn't input.
bool AsMessage(QWidget* Receiver, QEvent* Event, TMsg& Msg) {
    switch (Event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* E = static_cast<QMouseEvent*>(Event);
        const QPoint Global = Receiver->mapToGlobal(E->position().toPoint());
        Msg.message = Event->type() == QEvent::MouseMove
                          ? WM_MOUSEMOVE
                          : ButtonMessage(Event->type(), E->button());
        TControl* Target = GetCaptureControl();
        if (!Target || !Target->WidgetAllocated()) Target = WindowOfWidget(Receiver);
        Msg.hwnd = dynamic_cast<TWinControl*>(Target);
        if (!Msg.hwnd && Target) Msg.hwnd = Target->Parent();
        Msg.wParam = MouseKeys(E->buttons(), E->modifiers());
        const TPoint Local = Target ? Target->ScreenToClient(TPoint{Global.x(), Global.y()})
                                    : TPoint{Global.x(), Global.y()};
        Msg.lParam = PointToLParam(Local.X, Local.Y);
        Msg.pt = TPoint{Global.x(), Global.y()};
        return true;
    }
    case QEvent::Wheel: {
        auto* E = static_cast<QWheelEvent*>(Event);
        const QPoint Global = Receiver->mapToGlobal(E->position().toPoint());
        Msg.message = WM_MOUSEWHEEL;
        Msg.hwnd = WindowOfWidget(Receiver);
        Msg.wParam = MakeWParam(static_cast<Word>(MouseKeys(E->buttons(), E->modifiers())),
                                static_cast<Word>(static_cast<std::int16_t>(E->angleDelta().y())));
        Msg.lParam = PointToLParam(Global.x(), Global.y());
        Msg.pt = TPoint{Global.x(), Global.y()};
        return true;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* E = static_cast<QKeyEvent*>(Event);
        const bool Alt = E->modifiers() & Qt::AltModifier;
        const bool Up = Event->type() == QEvent::KeyRelease;
        Msg.message = Up ? (Alt ? WM_SYSKEYUP : WM_KEYUP) : (Alt ? WM_SYSKEYDOWN : WM_KEYDOWN);
        Msg.hwnd = WindowOfWidget(Receiver);
        Msg.wParam = KeyEventVirtualKey(*E);
        Msg.lParam = Up ? (KF_UP | KF_REPEAT | 1) : 1;
        return true;
    }
    default:
        return false;
    }
}

// A copy of an input event to deliver later. A Qt mouse event keeps its
// screen point in state the next mouse event made overwrites, so the point
// is taken from the widget position, which stays, and the copy is cut loose
// from that state by making one more event at the same point.
std::unique_ptr<QEvent> Copy(QWidget* Receiver, QEvent* Event) {
    switch (Event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
        auto* E = static_cast<QMouseEvent*>(Event);
        const QPointF Local = E->position();
        const QPointF Global = Receiver->mapToGlobal(Local);
        auto Made =
            std::make_unique<QMouseEvent>(E->type(), Local, Local, Global, E->button(),
                                          E->buttons(), E->modifiers(), E->pointingDevice());
        const QMouseEvent Seal(QEvent::MouseMove, Local, Local, Global, Qt::NoButton, E->buttons(),
                               E->modifiers(), E->pointingDevice());
        return Made;
    }
    case QEvent::Wheel: {
        auto* E = static_cast<QWheelEvent*>(Event);
        const QPointF Local = E->position();
        const QPointF Global = Receiver->mapToGlobal(Local);
        auto Made = std::make_unique<QWheelEvent>(Local, Global, E->pixelDelta(), E->angleDelta(),
                                                  E->buttons(), E->modifiers(), E->phase(),
                                                  E->inverted(), E->source(), E->pointingDevice());
        const QWheelEvent Seal(Local, Global, QPoint(), QPoint(), E->buttons(), E->modifiers(),
                               Qt::NoScrollPhase, false, Qt::MouseEventNotSynthesized,
                               E->pointingDevice());
        return Made;
    }
    default:
        return std::unique_ptr<QEvent>(Event->clone());
    }
}

// Catches the input the platform delivers while it is installed.
class THolder : public QObject {
public:
    std::vector<THeld> Held;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override {
        if (!Watched->isWidgetType()) return false;
        TMsg Msg;
        if (!AsMessage(static_cast<QWidget*>(Watched), Event, Msg)) return false;
        Held.push_back(THeld{Watched, Copy(static_cast<QWidget*>(Watched), Event), Msg});
        return true;
    }
};

bool Matches(const TMsg& Msg, HWND Wnd, unsigned FilterMin, unsigned FilterMax) {
    if (Wnd && Msg.hwnd != Wnd) return false;
    if (FilterMin == 0 && FilterMax == 0) return true;
    return Msg.message >= FilterMin && Msg.message <= FilterMax;
}

bool GPeeking = false;

} // namespace

bool PeekMessage(TMsg* Msg, HWND Wnd, unsigned FilterMin, unsigned FilterMax, unsigned RemoveMsg) {
    // Asked again from something the look itself delivered: what it holds
    // is not ready yet, so nothing is waiting as far as that caller knows.
    if (GPeeking) return false;
    EnsureQtApplication();
    THolder Holder;
    GPeeking = true;
    qApp->installEventFilter(&Holder);
    try {
        QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers |
                                        QEventLoop::X11ExcludeTimers);
    } catch (...) {
        qApp->removeEventFilter(&Holder);
        GPeeking = false;
        throw;
    }
    qApp->removeEventFilter(&Holder);
    GPeeking = false;

    bool Found = false;
    for (auto It = Holder.Held.begin(); It != Holder.Held.end(); ++It) {
        if (!Matches(It->Msg, Wnd, FilterMin, FilterMax)) continue;
        Found = true;
        if (Msg) *Msg = It->Msg;
        if (RemoveMsg & PM_REMOVE) Holder.Held.erase(It);
        break;
    }
    // Queued again in their order; Qt drops them if their widget goes.
    for (THeld& H : Holder.Held)
        if (H.Receiver) QCoreApplication::postEvent(H.Receiver, H.Event.release());
    return Found;
}
