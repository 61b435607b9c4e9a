#pragma once
// One running instance per resource: an advisory lock on a lock file, held
// for as long as the object lives (and so for the process's life when the
// program keeps it to the end). The lock goes with the process however it
// ends, so a crashed instance never blocks the next one. The lock file
// holds the holder's process id as text, for people who look.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Exceptions.h"

#include <sys/types.h>

// Another process holds the lock.
class EInstanceLocked : public Exception {
public:
    EInstanceLocked(const AnsiString& Message, pid_t AHolder)
        : Exception(Message), Holder(AHolder) {}
    const char* ClassName() const noexcept override { return "EInstanceLocked"; }
    pid_t Holder; // -1 when it cannot be told
};

class TInstanceLock {
public:
    // Takes the lock of LockFile on behalf of Resource, which the messages
    // name. A missing lock file is created with Mode whatever the umask, so
    // that everyone who may write the resource can take its lock. Raises
    // EInstanceLocked naming the process that holds it, or EInOutError when
    // the lock file cannot be opened or locked.
    TInstanceLock(const AnsiString& LockFile, const AnsiString& Resource, mode_t Mode = 0644);
    ~TInstanceLock();
    TInstanceLock(const TInstanceLock&) = delete;
    TInstanceLock& operator=(const TInstanceLock&) = delete;

    const AnsiString& LockFile() const { return FLockFile; }

private:
    AnsiString FLockFile;
    int FFd = -1;
};
