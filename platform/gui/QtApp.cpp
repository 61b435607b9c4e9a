#include "platform/gui/QtApp.h"

#include "platform/gui/Forms.h"
#include "platform/gui/Scaling.h"
#include "platform/sys/Thread.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <utility>

namespace {

// Qt keeps references to argc and argv for the application's lifetime.
int GArgc = 1;
char GArgv0[] = "beaconmill";
char* GArgv[] = {GArgv0, nullptr};

} // namespace

void EnsureQtApplication() {
    if (QCoreApplication::instance()) return;
    // No display to show windows on: run where nobody sees them rather than
    // fail to start.
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY") &&
        !std::getenv("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(GArgc, GArgv);
    QApplication::setQuitOnLastWindowClosed(false);
    // A call another thread hands over with Synchronize runs in whatever
    // event loop is turning on this thread (the program's, a modal form's,
    // ProcessMessages). Posting is safe from any thread.
    SetWakeMainThread([] {
        if (QCoreApplication* App = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                App, [] { CheckSynchronize(); }, Qt::QueuedConnection);
    });
    // Numbers are formatted by our own settings; the C library must keep
    // reading and writing them with a dot.
    std::setlocale(LC_NUMERIC, "C");
    // The forms follow the screen when its pixels per inch change.
    if (QScreen* S = QGuiApplication::primaryScreen()) {
        auto Last = std::make_shared<int>(static_cast<int>(std::lround(S->logicalDotsPerInchY())));
        QObject::connect(S, &QScreen::logicalDotsPerInchChanged, S, [Last](qreal Dpi) {
            const int Old = std::exchange(*Last, static_cast<int>(std::lround(Dpi)));
            if (Old != *Last) ScreenPixelsPerInchChanged(Old, *Last);
        });
    }
}

bool IsHeadlessPlatform() {
    EnsureQtApplication();
    const QString Name = QGuiApplication::platformName();
    return Name == QLatin1String("offscreen") || Name == QLatin1String("minimal");
}

int QtPosToBytes(const QString& Text, int Pos) {
    if (Pos <= 0) return 0;
    return static_cast<int>(Text.left(Pos).toUtf8().size());
}

int BytesToQtPos(const QString& Text, int Bytes) {
    // A position inside a character's bytes counts as after the character.
    int Count = 0;
    int I = 0;
    while (I < Text.size() && Count < Bytes) {
        const int N = Text.at(I).isHighSurrogate() && I + 1 < Text.size() ? 2 : 1;
        Count += static_cast<int>(Text.mid(I, N).toUtf8().size());
        I += N;
    }
    return I;
}

QColor ToQColor(TColor Color) {
    const auto RGBValue = static_cast<std::uint32_t>(ColorToRGB(Color));
    return QColor(static_cast<int>(RGBValue & 0xFF), static_cast<int>((RGBValue >> 8) & 0xFF),
                  static_cast<int>((RGBValue >> 16) & 0xFF));
}

QFont ToQFont(const TFont& Font) {
    QFont F(ToQString(Font.Name()));
    // The height in pixels is what the font was designed by; a negative
    // height is the character height without internal leading.
    const int H = Font.Height();
    if (H < 0)
        F.setPixelSize(-H);
    else if (H > 0)
        F.setPixelSize(H);
    const TFontStyles S = Font.Style();
    F.setBold(S.Contains(fsBold));
    F.setItalic(S.Contains(fsItalic));
    F.setUnderline(S.Contains(fsUnderline));
    F.setStrikeOut(S.Contains(fsStrikeOut));
    if (Font.Pitch() == fpFixed) F.setFixedPitch(true);
    return F;
}

Qt::CursorShape ToQtCursor(TCursor Cursor) {
    switch (Cursor) {
    case crNone:
        return Qt::BlankCursor;
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeNESW:
        return Qt::SizeBDiagCursor;
    case crSizeNS:
    case crVSplit:
        return Qt::SizeVerCursor;
    case crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case crSizeWE:
    case crHSplit:
        return Qt::SizeHorCursor;
    case crUpArrow:
        return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait:
        return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag:
        return Qt::DragMoveCursor;
    case crNoDrop:
    case crNo:
        return Qt::ForbiddenCursor;
    case crAppStart:
        return Qt::BusyCursor;
    case crHelp:
        return Qt::WhatsThisCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

void HandleCallbackException(TObject* Sender) {
    if (Application) Application->HandleException(Sender, std::current_exception());
}
