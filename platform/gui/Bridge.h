#pragma once
// Platform-internal: the object that watches a control's widget and turns
// Qt's events into the control's messages.
#include "platform/gui/Controls.h"

#include <QKeyEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

class TControlBridge;

// The Qt side of a control.
struct TControl::TQtState {
    QPointer<QWidget> Widget;
    TControlBridge* Bridge = nullptr;
    // The Qt input being delivered: its message, whether DefaultHandler
    // saw it, and the WParam it saw.
    unsigned NativeMsg = 0;
    int NativeDepth = 0;
    bool NativeReached = false;
    WPARAM NativeWParam = 0;
};

class TControlBridge : public QObject {
public:
    TControlBridge(TControl* AControl, QObject* Parent);

    // The control, or nullptr once it is gone (its widget may outlive it
    // for a moment when it is freed inside one of its own events).
    TControl* Control;

    // Sends a message made from Qt input; true when it reached the
    // control's DefaultHandler, so the event goes on to the widget.
    // FinalWParam receives the WParam as DefaultHandler saw it.
    static bool Deliver(TControl* Target, unsigned Msg, WPARAM WParam, LPARAM LParam,
                        WPARAM* FinalWParam = nullptr);
    // True while a Qt event is being turned into messages: a widget freed
    // then is freed later, when Qt is done with the event.
    static int DispatchDepth;

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    bool Translate(QWidget* Watched, QEvent* Event);
    bool MouseEvent(QWidget* Watched, QEvent* Event);
    bool KeyEvent(QEvent* Event);
};

// The virtual key of a Qt key event (0 for a key that only types a
// character), and the MK_ key state of mouse messages for Qt's buttons and
// modifiers.
Word KeyEventVirtualKey(const QKeyEvent& E);
unsigned MouseKeys(Qt::MouseButtons Buttons, Qt::KeyboardModifiers Modifiers);
// The screen point of the last mouse input the controls were given; false
// before there was any.
bool LastMouseScreenPos(TPoint& Pos);

// Watches Widget on Control's behalf (a part of the control's widget that
// gets input of its own, such as a form's client area or an inner edit).
void WatchWidget(TControl* Control, QWidget* Widget);
