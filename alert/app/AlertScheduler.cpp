#include "alert/app/AlertScheduler.h"

#include "platform/rtl/DateTime.h"

namespace {

constexpr std::int64_t MSecsInDay = 86400000;
// The scheduled time is looked for within 0.95 day either way of now.
constexpr std::int64_t WrapThreshold = MSecsInDay * 95 / 100;

// The clock reads to the millisecond: working in whole milliseconds keeps
// the boundaries (a tick exactly five minutes after the scheduled time) exact.
std::int64_t MillisecondsOfDay(TDateTime Value) {
    return DateTimeToTimeStamp(Value).Time;
}

std::int64_t AbsoluteMilliseconds(TDateTime Value) {
    const TTimeStamp Stamp = DateTimeToTimeStamp(Value);
    return static_cast<std::int64_t>(Stamp.Date) * MSecsInDay + Stamp.Time;
}

std::uint8_t ClassOfMinute(std::int64_t TimeOfDay) {
    // The minute of the hour of the nearest whole minute (halves round up).
    const std::int64_t Minute = (TimeOfDay + 30000) / 60000 % 60;
    switch (Minute) {
    case 0:
        return RunClassHourly;
    case 30:
        return RunClassHalfHourly;
    case 15:
    case 45:
        return RunClassQuarterHourly;
    default:
        return RunClassPlain;
    }
}

} // namespace

std::int64_t AlertScheduler::MillisecondsToScheduled(TDateTime Now, TDateTime ScheduledTime) {
    std::int64_t Distance = MillisecondsOfDay(ScheduledTime) - MillisecondsOfDay(Now);
    if (Distance < -WrapThreshold) Distance += MSecsInDay;
    if (Distance > WrapThreshold) Distance -= MSecsInDay;
    return Distance;
}

TickDecision AlertScheduler::Tick(TDateTime Now, unsigned Interval, TDateTime ScheduledTime) {
    TickDecision Decision;
    const std::int64_t TimeOfDay = MillisecondsOfDay(Now);

    if (Interval != GridPeriod) {
        const std::int64_t Offset = TimeOfDay % GridPeriod;
        if (Offset < AlignTolerance || Offset > GridPeriod - AlignTolerance) {
            Decision.AlignInterval = GridPeriod;
        } else {
            Decision.AlignInterval = static_cast<unsigned>(GridPeriod - Offset);
            Decision.Aligning = true;
        }
    }

    if (!Decision.Aligning) Decision.RunClass = ClassOfMinute(TimeOfDay);

    const std::int64_t ToScheduled = MillisecondsToScheduled(Now, ScheduledTime);
    // The calendar day the scheduled time falls on (yesterday's, for a
    // tick just after midnight that is late for a run before it).
    const std::int64_t Day = (AbsoluteMilliseconds(Now) + ToScheduled) / MSecsInDay;
    const bool RanThatDay = FLastDailyRunDay == Day;
    if (ToScheduled <= 0 && -ToScheduled <= GridPeriod) {
        if (!RanThatDay) {
            FLastDailyRunDay = Day;
            Decision.DailyRun = true;
            Decision.RunClass = RunClassDaily;
        }
    } else if (ToScheduled > 0 && ToScheduled < GridPeriod && !RanThatDay) {
        Decision.LookAheadInterval = static_cast<unsigned>(ToScheduled + LookAheadMargin);
    }
    return Decision;
}
