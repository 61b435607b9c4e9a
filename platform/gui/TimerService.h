#pragma once
// The service every timer of the program runs on (TTimer and the
// per-window timers). Normally it is Qt's timers on the event loop; a test
// installs a FakeTimerService and moves its time on explicitly, so that
// timer-driven code runs at once instead of waiting for real time.
#include <cstdint>
#include <functional>
#include <map>

class ManualClock;

class ITimerService {
public:
    using TTickProc = std::function<void()>;

    virtual ~ITimerService() = default;
    // Starts a repeating timer that calls Tick every Interval milliseconds
    // from now on; returns its id, never 0.
    virtual int StartTimer(unsigned Interval, TTickProc Tick) = 0;
    // Stops the timer; an unknown id is ignored.
    virtual void StopTimer(int Id) = 0;
};

// The service installed now.
ITimerService& TimerService();

// Installs a service for the guard's lifetime and puts the previous one
// back when it ends. Timers started on a service must be stopped before the
// service goes.
class ScopedTimerService {
public:
    explicit ScopedTimerService(ITimerService& Service);
    ~ScopedTimerService();
    ScopedTimerService(const ScopedTimerService&) = delete;
    ScopedTimerService& operator=(const ScopedTimerService&) = delete;

private:
    ITimerService* FPrevious;
};

// Timers on a time of their own that moves only when Advance is called.
// With a ManualClock it moves that clock along, so a tick's handler reads
// the moment the tick falls due.
class FakeTimerService : public ITimerService {
public:
    explicit FakeTimerService(ManualClock* Clock = nullptr);

    int StartTimer(unsigned Interval, TTickProc Tick) override;
    void StopTimer(int Id) override;

    // Moves time on by Milliseconds and fires, in order of time (timers
    // due at the same moment in the order they were started), every tick
    // that falls due on the way. A handler may start, stop and restart
    // timers, and may itself advance time.
    void Advance(std::int64_t Milliseconds);
    // Fake milliseconds since the service was made.
    std::int64_t Elapsed() const { return FNow; }
    // Running timers.
    int Count() const { return static_cast<int>(FTimers.size()); }
    // Milliseconds from now until the next tick, or -1 with no timer.
    std::int64_t NextTickIn() const;

private:
    struct TFakeTimer {
        unsigned Interval = 0;
        std::int64_t Due = 0;
        TTickProc Tick;
    };

    void MoveTo(std::int64_t Moment);

    ManualClock* FClock;
    std::map<int, TFakeTimer> FTimers;
    std::int64_t FNow = 0;
    int FNextId = 1;
};
