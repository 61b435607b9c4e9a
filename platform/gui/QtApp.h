#pragma once
// Platform-internal: the meeting point of the GUI layer and Qt. Only the
// .cpp files of platform/gui include this header; nothing above the
// platform sees Qt.
#include "platform/gui/Colors.h"
#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
#include "platform/rtl/AnsiString.h"

#include <QColor>
#include <QFont>
#include <QString>

class QCursor;
class QWidget;
class TObject;

// Makes the Qt application object when there is none yet, and puts the
// numeric locale back to "C" afterwards (Qt sets it from the environment).
void EnsureQtApplication();
// True on a platform nobody sees (offscreen, minimal).
bool IsHeadlessPlatform();

inline QString ToQString(const AnsiString& S) {
    return QString::fromUtf8(S.data(), static_cast<qsizetype>(S.size()));
}
inline AnsiString FromQString(const QString& S) {
    const QByteArray Bytes = S.toUtf8();
    return AnsiString(Bytes.constData(), static_cast<std::size_t>(Bytes.size()));
}
// Offsets in text: Qt counts UTF-16 units, the framework counts bytes.
int QtPosToBytes(const QString& Text, int Pos);
int BytesToQtPos(const QString& Text, int Bytes);

QColor ToQColor(TColor Color);
QFont ToQFont(const TFont& Font);
Qt::CursorShape ToQtCursor(TCursor Cursor);
// The cursor to show for a number: the screen's registered one, else the
// platform's shape (Cursors.cpp).
QCursor ToQCursor(TCursor Cursor);

// For a Qt callback (signal, event filter) that runs framework code: an
// exception must not cross Qt, so it goes to the application's handler.
// Call inside a catch block.
void HandleCallbackException(TObject* Sender);

template <class F> void SafeCall(TObject* Sender, F&& Call) {
    try {
        Call();
    } catch (...) {
        HandleCallbackException(Sender);
    }
}

// The modifiers of the input being handled, as the bridge saw them.
void SetCurrentModifiers(Qt::KeyboardModifiers Modifiers, Qt::MouseButtons Buttons);
