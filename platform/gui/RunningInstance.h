#pragma once
// Running instances of the program that another one can find and bring to
// the front. Each announces itself in the user's runtime folder
// ($XDG_RUNTIME_DIR/beaconmill-instances, else /tmp/beaconmill-<uid>) with
// a lock file it holds for its life, naming its main window's class and
// title, and a local socket on which it takes the request to come to the
// front. The lock goes with the process however it ends, so a crashed
// instance is never found (and its files are cleared by the next search).
#include "platform/rtl/AnsiString.h"

#include <functional>
#include <memory>
#include <sys/types.h>

class TRunningInstance {
public:
    // Announces this process under the class name and title. OnActivate
    // runs on the event loop when another process asks this one to come to
    // the front. Raises EInOutError naming what could not be made.
    TRunningInstance(const AnsiString& ClassName, const AnsiString& Title,
                     std::function<void()> OnActivate);
    virtual ~TRunningInstance();
    TRunningInstance(const TRunningInstance&) = delete;
    TRunningInstance& operator=(const TRunningInstance&) = delete;

    // Searches find this process under Title from now on. Raises
    // EInOutError when the announcement cannot be written (the one before
    // then stays).
    void SetTitle(const AnsiString& Title);

private:
    struct TImpl;
    std::unique_ptr<TImpl> F;
};

// Another process announced with that class name and title, where an empty
// one matches any; both empty find nothing. Its process id, or 0.
pid_t FindRunningInstance(const AnsiString& ClassName, const AnsiString& Title);
// Asks that process to come to the front: true when it answered within
// TimeoutMs that it did. The whole request (connecting included, which
// waits while an instance that handles no events has its queue full) ends
// by then; an instance that did not answer in time gives false.
bool ActivateRunningInstance(pid_t Instance, int TimeoutMs = 2000);
