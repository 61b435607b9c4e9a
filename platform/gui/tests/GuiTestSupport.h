#pragma once
// Input for GUI tests: real Qt events sent to a control's widget, so they
// travel the same way the operator's input does.
#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <utility>

inline void SendMouse(QWidget* W, QEvent::Type Type, QPoint At,
                      Qt::MouseButton Button = Qt::LeftButton,
                      Qt::MouseButtons Held = Qt::NoButton) {
    const QPoint Global = W->mapToGlobal(At);
    QMouseEvent E(Type, QPointF(At), QPointF(Global), Button,
                  Type == QEvent::MouseButtonRelease ? Held : (Held | Button), Qt::NoModifier);
    QApplication::sendEvent(W, &E);
}

inline void ClickAt(QWidget* W, QPoint At) {
    SendMouse(W, QEvent::MouseButtonPress, At);
    SendMouse(W, QEvent::MouseButtonRelease, At);
}

// Clicks a control near its left edge, where a check box or radio button
// has its box.
inline void Click(TControl* C) {
    QWidget* W = C->Widget();
    ClickAt(W, QPoint(6, W->height() / 2));
}

inline void TypeKey(QWidget* W, int Key, const QString& Text = QString(),
                    Qt::KeyboardModifiers Mods = Qt::NoModifier) {
    QKeyEvent Press(QEvent::KeyPress, Key, Mods, Text);
    QApplication::sendEvent(W, &Press);
    QKeyEvent Release(QEvent::KeyRelease, Key, Mods, Text);
    QApplication::sendEvent(W, &Release);
    // Let go of the modifiers too, as a hand would: the platform keeps the
    // last modifiers it saw, and a Ctrl left held would steer the next test.
    Qt::KeyboardModifiers Held = Mods;
    for (const auto& [Mod, ModKey] : {std::pair{Qt::ControlModifier, Qt::Key_Control},
                                      std::pair{Qt::ShiftModifier, Qt::Key_Shift},
                                      std::pair{Qt::AltModifier, Qt::Key_Alt}}) {
        if (!(Held & Mod)) continue;
        Held &= ~Mod;
        // A modifier key's event reports its own modifier flipped, so the
        // release is made with it set to read as let go.
        QKeyEvent Up(QEvent::KeyRelease, ModKey, Held | Mod);
        QApplication::sendEvent(W, &Up);
    }
    // Qt keeps its own keyboard state from the key presses it sees and
    // hands it to the mouse moves it makes later (a cursor placed by a
    // test): an empty press with no modifiers sets that back too.
    if (Mods != Qt::NoModifier) {
        QKeyEvent Reset(QEvent::KeyPress, 0, Qt::NoModifier);
        QApplication::sendEvent(W, &Reset);
    }
}

inline void TypeText(QWidget* W, const QString& Text) {
    for (QChar C : Text)
        TypeKey(W, C.toUpper().unicode(), QString(C));
}

// Shows a form and makes it the active window, as the operator's click on
// it would; offscreen there is no window manager to do it.
inline void ShowActive(TForm& Form) {
    Form.Show();
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(Form.Widget());
    QT_WARNING_POP
}
