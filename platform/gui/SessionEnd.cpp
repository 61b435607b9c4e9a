#include "platform/gui/SessionEnd.h"

#include "platform/gui/Forms.h"
#include "platform/gui/QtApp.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QWidget>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

constexpr int Signals[] = {SIGTERM, SIGINT, SIGHUP};

// The self-pipe: the handler writes the signal's number, the event loop
// reads it. Both ends live as long as the process.
int PipeRead = -1;
int PipeWrite = -1;
volatile std::sig_atomic_t Received = 0;

TSessionEndEvent& EndingHandler() {
    static TSessionEndEvent Handler;
    return Handler;
}

extern "C" void OnSignal(int Signal) {
    const int SavedErrno = errno;
    if (Received != 0) {
        // The program is closing already and is asked again: it ends now.
        // The signal stays blocked until this handler returns, then its
        // default action ends the process.
        std::signal(Signal, SIG_DFL);
        std::raise(Signal);
    } else {
        Received = Signal;
        const unsigned char Byte = static_cast<unsigned char>(Signal);
        // A full pipe already holds a wake-up; nothing is lost.
        [[maybe_unused]] const ssize_t Written = write(PipeWrite, &Byte, 1);
    }
    errno = SavedErrno;
}

AnsiString SignalName(int Signal) {
    switch (Signal) {
    case SIGTERM:
        return "SIGTERM";
    case SIGINT:
        return "SIGINT";
    case SIGHUP:
        return "SIGHUP";
    default:
        return "signal " + std::to_string(Signal);
    }
}

void EndSession(int Signal) {
    if (const TSessionEndEvent& Handler = EndingHandler())
        SafeCall(Application, [&] { Handler(SignalName(Signal)); });
    // A modal box waiting for an answer would hold the close up: it gets
    // the answer closing it gives.
    for (QWidget* Widget : QApplication::topLevelWidgets())
        if (Widget->isModal() && Widget->isVisible()) Widget->close();
    if (TCustomForm* MainForm = Application->MainForm())
        SafeCall(MainForm, [&] { MainForm->Close(); });
    // The end of a session cannot be refused.
    if (!Application->Terminated()) Application->Terminate();
}

void OnPipeReadable() {
    unsigned char Bytes[16];
    const ssize_t Got = read(PipeRead, Bytes, sizeof Bytes);
    static bool Ending = false;
    if (Got <= 0 || Ending) return;
    Ending = true;
    EndSession(Bytes[0]);
}

} // namespace

void HandleSessionEndSignals(TSessionEndEvent OnEnding) {
    EndingHandler() = std::move(OnEnding);
    if (PipeRead >= 0) return;
    EnsureQtApplication();
    int Fds[2];
    if (pipe2(Fds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw EOSError(AnsiString("Cannot watch for the end of the session: ") +
                       std::strerror(errno));
    PipeRead = Fds[0];
    PipeWrite = Fds[1];
    auto* Notifier = new QSocketNotifier(PipeRead, QSocketNotifier::Read, qApp);
    QObject::connect(Notifier, &QSocketNotifier::activated, [] { OnPipeReadable(); });

    struct sigaction Action {};
    Action.sa_handler = OnSignal;
    sigemptyset(&Action.sa_mask);
    for (const int Signal : Signals)
        sigaddset(&Action.sa_mask, Signal);
    Action.sa_flags = SA_RESTART;
    for (const int Signal : Signals)
        sigaction(Signal, &Action, nullptr);
}
