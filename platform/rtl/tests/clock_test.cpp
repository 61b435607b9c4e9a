#include "platform/rtl/Clock.h"

#include "platform/rtl/DateTime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>

namespace {

TEST(Clock, ScopedClocksNestAndRestoreThePreviousClock) {
    IClock* const system = &Clock();
    ManualClock outer(EncodeDate(2024, 1, 1));
    ManualClock inner(EncodeDate(2030, 1, 1));
    {
        ScopedClock outerGuard(outer);
        EXPECT_EQ(&Clock(), &outer);
        {
            ScopedClock innerGuard(inner);
            EXPECT_EQ(Now(), EncodeDate(2030, 1, 1));
        }
        EXPECT_EQ(Now(), EncodeDate(2024, 1, 1));
    }
    EXPECT_EQ(&Clock(), system);
}

TEST(Clock, NowDateTimeAndTickCountFollowTheInstalledClock) {
    const double start = EncodeDate(2024, 2, 28) + EncodeTime(23, 59, 58, 500);
    ManualClock clock(start, 0xFFFFFF00u);
    ScopedClock guard(clock);
    EXPECT_EQ(Now(), start);
    EXPECT_EQ(Date(), EncodeDate(2024, 2, 28));
    EXPECT_EQ(Time(), EncodeTime(23, 59, 58, 500));
    EXPECT_EQ(CurrentYear(), 2024);
    EXPECT_EQ(GetTickCount(), 0xFFFFFF00u);

    // Stepping moves both, across midnight into a leap day, and the tick
    // count wraps as the real one does.
    clock.Advance(2000);
    EXPECT_EQ(Date(), EncodeDate(2024, 2, 29));
    EXPECT_EQ(Time(), EncodeTime(0, 0, 0, 500));
    EXPECT_EQ(GetTickCount(), 1744u);

    // Many small steps add up exactly to the time of day.
    for (int i = 0; i < 3600; ++i)
        clock.Advance(1000);
    EXPECT_EQ(Time(), EncodeTime(1, 0, 0, 500));
    clock.Advance(-3600500 - 86400000LL);
    EXPECT_EQ(Now(), EncodeDate(2024, 2, 28));

    // A clock change moves the date and time alone.
    const std::uint32_t ticks = GetTickCount();
    clock.SetNow(EncodeDate(2025, 12, 31) + EncodeTime(8, 0, 0, 0));
    EXPECT_EQ(CurrentYear(), 2025);
    EXPECT_EQ(GetTickCount(), ticks);
    clock.SetTickCount(5);
    EXPECT_EQ(GetTickCount(), 5u);
}

TEST(Clock, ManualClockStepsAcrossDayZeroWithNegativeDates) {
    ManualClock clock(EncodeDate(1899, 12, 29) - EncodeTime(23, 0, 0, 0));
    ScopedClock guard(clock);
    EXPECT_EQ(Now(), -1.0 - 23.0 / 24.0);
    clock.Advance(2 * 3600000);
    EXPECT_EQ(Now(), 1.0 / 24.0);
}

TEST(Clock, SystemClockGivesTheLocalTimeOfDay) {
    SystemClock clock;
    // Compared against the C library's local time; a second boundary or
    // midnight between the two readings costs at most a retry.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::time_t before = std::time(nullptr);
        const double now = clock.Now();
        const std::time_t after = std::time(nullptr);
        if (before != after) continue;
        std::tm local{};
        localtime_r(&before, &local);
        const double expected =
            EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
            EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), 0);
        EXPECT_GE(now, expected);
        EXPECT_LT(now, expected + 1.0 / 86400.0);
        return;
    }
    FAIL() << "the time of day never held still for one reading";
}

} // namespace
