#pragma once
// The end of a session for a program without a desktop: SIGTERM, SIGINT and
// SIGHUP (a service manager stopping it, Ctrl+C, a closed terminal) close
// the application's main form through its normal close path, as a desktop's
// logout does, so that what it saves on closing is saved and the message
// loop ends. The handler does no work of its own: it only passes the signal
// to the event loop, which acts once the handler in progress (a batch step)
// has returned. A second signal while the program is closing ends it at
// once, with the signal's default action.
#include "platform/rtl/AnsiString.h"

#include <functional>

// Called on the GUI thread before the main form is closed, with the
// signal's name ("SIGTERM").
using TSessionEndEvent = std::function<void(const AnsiString& SignalName)>;

// Installs the handlers (once per process; a later call only replaces
// OnEnding). Needs the application started (Application->Initialize).
void HandleSessionEndSignals(TSessionEndEvent OnEnding);
