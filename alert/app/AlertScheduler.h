#pragma once
// The arithmetic of the scheduler tick, apart from the window: keeping the
// timer on the clock's five-minute grid, the e-mail frequency class a tick
// stands for, and the once-a-day run at the scheduled time with the timer's
// look-ahead to it. The window feeds it the moment of the tick, the timer's
// interval and the scheduled time, and applies what it decides.
#include "platform/rtl/TDateTime.h"

#include <cstdint>
#include <optional>

// Frequency classes of a run; the same codes as the e-mail frequencies of
// alert settings and history rows.
inline constexpr std::uint8_t RunClassDaily = 1;
inline constexpr std::uint8_t RunClassPlain = 2;
inline constexpr std::uint8_t RunClassHourly = 3;
inline constexpr std::uint8_t RunClassHalfHourly = 4;
inline constexpr std::uint8_t RunClassQuarterHourly = 5;

// What one tick does.
struct TickDecision {
    std::uint8_t RunClass = RunClassPlain;
    bool DailyRun = false;
    // The tick moved the timer towards the grid: a plain tick.
    bool Aligning = false;
    // New intervals for the timer, applied in this order: the alignment to
    // the grid, then the look-ahead to the scheduled time.
    std::optional<unsigned> AlignInterval;
    std::optional<unsigned> LookAheadInterval;

    // The interval the timer runs with after the tick.
    unsigned IntervalAfter(unsigned Before) const {
        return LookAheadInterval.value_or(AlignInterval.value_or(Before));
    }
};

class AlertScheduler {
public:
    static constexpr unsigned GridPeriod = 300000;
    static constexpr unsigned AlignTolerance = 20000;
    static constexpr unsigned LookAheadMargin = 100;

    // Decides the tick that falls at Now (date and time) on a timer running
    // with Interval, the daily run being due at ScheduledTime (a time of day).
    // Remembers the day of the daily run it grants; the manual run ("Run
    // Daily Alerts Now") does not pass here and counts for no day.
    TickDecision Tick(TDateTime Now, unsigned Interval, TDateTime ScheduledTime);

    // Milliseconds from Now to the scheduled time, brought within 0.95 day
    // either way: negative once it has passed.
    static std::int64_t MillisecondsToScheduled(TDateTime Now, TDateTime ScheduledTime);

private:
    // The calendar day (days since 0001-01-01) whose daily run was made.
    // The run is made once a day: a tick that lies up to five minutes after
    // a scheduled time can be followed by another within the window, and
    // the operator may move the time later on a day whose run is done. The
    // look-ahead to a day already run is left out too, so the timer stays
    // on the grid.
    std::optional<std::int64_t> FLastDailyRunDay;
};
