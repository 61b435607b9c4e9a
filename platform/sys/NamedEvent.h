#pragma once
// Named events shared between processes. An auto-reset event lets one waiter
// through per SetEvent and clears itself; a manual-reset event stays
// signalled, letting every waiter through, until ResetEvent. A process that
// dies while it waits or signals leaves the event usable by the others.
#include "platform/rtl/AnsiString.h"

#include <memory>

namespace sys_detail {
class SharedSegment;
class SignalBoard;
} // namespace sys_detail

enum class TWaitResult { wrSignaled, wrTimeout, wrAbandoned, wrError };

// A time-out that never ends.
inline constexpr int INFINITE = -1;

class TNamedEvent {
public:
    // Opens the event of that name, or creates it in the given state when
    // there is none (an existing event keeps its kind and state). Raises
    // EOSError when it can do neither.
    TNamedEvent(const AnsiString& Name, bool ManualReset, bool InitialState);
    ~TNamedEvent();
    TNamedEvent(const TNamedEvent&) = delete;
    TNamedEvent& operator=(const TNamedEvent&) = delete;

    const AnsiString& Name() const { return FName; }
    bool ManualReset() const;

    void SetEvent();
    void ResetEvent();
    // Waits up to TimeoutMs (INFINITE: for ever) for the event.
    TWaitResult WaitFor(int TimeoutMs);

private:
    friend int WaitForEvents(TNamedEvent* A, TNamedEvent* B, int TimeoutMs);
    struct Body;
    Body* State() const;
    // Takes the signal when there is one (an auto-reset event clears).
    bool TryTake();

    AnsiString FName;
    std::unique_ptr<sys_detail::SharedSegment> FSegment;
    // Where this event's namespace announces every SetEvent.
    std::shared_ptr<sys_detail::SignalBoard> FBoard;
};

inline constexpr int WaitTimedOut = -1;
inline constexpr int WaitFailed = -2;

// Waits for whichever of two events is signalled first and takes its signal:
// 0 for A, 1 for B, WaitTimedOut, or WaitFailed when neither event exists
// (a null pointer stands for an event that could not be opened).
int WaitForEvents(TNamedEvent* A, TNamedEvent* B, int TimeoutMs);
