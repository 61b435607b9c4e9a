#include "platform/gui/Clipboard.h"

#include "platform/gui/QtApp.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

QClipboard* System() {
    EnsureQtApplication();
    return QGuiApplication::clipboard();
}

} // namespace

AnsiString TClipboard::AsText() const {
    return FromQString(System()->text(QClipboard::Clipboard));
}

void TClipboard::SetAsText(const AnsiString& Value) {
    System()->setText(ToQString(Value), QClipboard::Clipboard);
}

bool TClipboard::HasFormat(unsigned Format) const {
    if (Format != CF_TEXT && Format != CF_UNICODETEXT) return false;
    const QMimeData* Data = System()->mimeData(QClipboard::Clipboard);
    return Data && Data->hasText();
}

void TClipboard::Clear() {
    System()->clear(QClipboard::Clipboard);
}

TClipboard* Clipboard() {
    static TClipboard Instance;
    return &Instance;
}
