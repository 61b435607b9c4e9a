#pragma once
// The one place the program learns the time. Now/Date/Time/GetTickCount read
// the installed clock; normally that is the system's, and a test installs a
// ManualClock through a ScopedClock so that time-driven code runs against a
// time it controls instead of waiting for the real one.
#include "platform/rtl/TDateTime.h"

#include <cstdint>
#include <mutex>

class IClock {
public:
    virtual ~IClock() = default;
    // The local date and time.
    virtual TDateTime Now() = 0;
    // Milliseconds on a monotonic counter, wrapping at 2^32.
    virtual std::uint32_t TickCount() = 0;
};

// The real time of day in the local time zone, and the monotonic clock of the
// system for the tick count.
class SystemClock : public IClock {
public:
    TDateTime Now() override;
    std::uint32_t TickCount() override;
};

// A clock that stands still until it is told to move. Advance moves the date
// and time and the tick count together, as real time would; SetNow jumps the
// date and time alone (a clock change), leaving the tick count where it is.
class ManualClock : public IClock {
public:
    explicit ManualClock(TDateTime now = 0.0, std::uint32_t tickCount = 0);

    TDateTime Now() override;
    std::uint32_t TickCount() override;

    void SetNow(TDateTime now);
    void SetTickCount(std::uint32_t tickCount);
    void Advance(std::int64_t milliseconds);

private:
    std::mutex Lock;
    // Milliseconds since 0001-01-01 00:00, so that stepping across midnight
    // and across 1899-12-30 stays exact.
    std::int64_t Elapsed;
    std::uint32_t Ticks;
};

// The clock currently installed.
IClock& Clock();

// Installs a clock for the guard's lifetime and puts the previous one back
// when it ends. Guards nest; the clock must outlive its guard.
class ScopedClock {
public:
    explicit ScopedClock(IClock& clock);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    IClock* Previous;
};
