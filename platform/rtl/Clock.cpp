#include "platform/rtl/Clock.h"

#include "platform/rtl/DateTime.h"

#include <algorithm>
#include <atomic>
#include <ctime>

namespace {

constexpr std::int64_t MSecsPerDayInt = 86400000;

SystemClock& TheSystemClock() {
    static SystemClock clock;
    return clock;
}

// Read from any thread (worker threads ask for the time too).
std::atomic<IClock*>& Installed() {
    static std::atomic<IClock*> clock{&TheSystemClock()};
    return clock;
}

std::int64_t ToElapsed(TDateTime value) {
    const TTimeStamp stamp = DateTimeToTimeStamp(value);
    return static_cast<std::int64_t>(stamp.Date) * MSecsPerDayInt + stamp.Time;
}

TDateTime FromElapsed(std::int64_t elapsed) {
    return TimeStampToDateTime(TTimeStamp{static_cast<int>(elapsed % MSecsPerDayInt),
                                          static_cast<int>(elapsed / MSecsPerDayInt)});
}

} // namespace

TDateTime SystemClock::Now() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    // A leap second shows as the last second of its minute.
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59),
                      static_cast<int>(now.tv_nsec / 1000000));
}

std::uint32_t SystemClock::TickCount() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                    static_cast<std::uint64_t>(now.tv_nsec / 1000000);
    return static_cast<std::uint32_t>(ms);
}

ManualClock::ManualClock(TDateTime now, std::uint32_t tickCount)
    : Elapsed(ToElapsed(now)), Ticks(tickCount) {}

TDateTime ManualClock::Now() {
    std::lock_guard<std::mutex> guard(Lock);
    return FromElapsed(Elapsed);
}

std::uint32_t ManualClock::TickCount() {
    std::lock_guard<std::mutex> guard(Lock);
    return Ticks;
}

void ManualClock::SetNow(TDateTime now) {
    const std::int64_t elapsed = ToElapsed(now);
    std::lock_guard<std::mutex> guard(Lock);
    Elapsed = elapsed;
}

void ManualClock::SetTickCount(std::uint32_t tickCount) {
    std::lock_guard<std::mutex> guard(Lock);
    Ticks = tickCount;
}

void ManualClock::Advance(std::int64_t milliseconds) {
    std::lock_guard<std::mutex> guard(Lock);
    Elapsed += milliseconds;
    // The counter wraps as the real one does.
    Ticks = static_cast<std::uint32_t>(Ticks + static_cast<std::uint64_t>(milliseconds));
}

IClock& Clock() {
    return *Installed().load();
}

ScopedClock::ScopedClock(IClock& clock) : Previous(Installed().exchange(&clock)) {}

ScopedClock::~ScopedClock() {
    Installed().store(Previous);
}
