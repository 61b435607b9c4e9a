#pragma once
// A mutex shared between processes by name. It belongs to the thread that
// took it (which may take it again) until that thread releases it as often.
// When the owner dies holding it, the next taker gets it with wrAbandoned;
// an object closed while its thread still holds the mutex lets go of it.
#include "platform/sys/NamedEvent.h"

class TNamedMutex {
public:
    // Opens the mutex of that name or creates it, not owned. Raises EOSError
    // when it can do neither.
    explicit TNamedMutex(const AnsiString& Name);
    ~TNamedMutex();
    TNamedMutex(const TNamedMutex&) = delete;
    TNamedMutex& operator=(const TNamedMutex&) = delete;

    const AnsiString& Name() const { return FName; }
    // wrSignaled or wrAbandoned: taken; wrTimeout: not within TimeoutMs.
    TWaitResult WaitFor(int TimeoutMs);
    void Release();

private:
    AnsiString FName;
    int FHeld = 0; // times this object took the mutex and did not release it
    std::unique_ptr<sys_detail::SharedSegment> FSegment;
};
