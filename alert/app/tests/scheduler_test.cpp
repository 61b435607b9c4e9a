// The scheduler's arithmetic: grid alignment, frequency class, the daily
// window with its look-ahead, and the one daily run per scheduled time.
#include "alert/app/AlertScheduler.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/DateTimeFormat.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

const TDateTime Day = EncodeDate(2024, 5, 6);

TDateTime At(int H, int M, int S = 0, int MS = 0) {
    return Day + EncodeTime(H, M, S, MS);
}

struct TickCase {
    const char* Name;
    TDateTime Now;
    unsigned IntervalBefore;
    TDateTime Scheduled;
    unsigned IntervalAfter;
    std::uint8_t RunClass;
    bool Daily;
};

TEST(AlertSchedulerTest, OneTick) {
    const TDateTime Six = EncodeTime(6, 0, 0, 0);
    const TickCase Cases[] = {
        {"on the grid at the full hour", At(10, 0, 0, 300), 300000, Six, 300000, 3, false},
        {"first tick mid-slot aligns", At(10, 2, 30), 60000, Six, 150000, 2, false},
        {"the aligned tick at 10:05", At(10, 5), 150000, Six, 300000, 2, false},
        {"just before a grid point", At(10, 4, 50), 60000, Six, 300000, 2, false},
        {"just after a grid point", At(10, 0, 15), 60000, Six, 300000, 3, false},
        {"offset exactly 20 s aligns", At(10, 0, 20), 60000, Six, 280000, 2, false},
        {"offset exactly 280 s aligns", At(10, 4, 40), 60000, Six, 20000, 2, false},
        {"rounds to the half hour", At(10, 29, 45), 60000, Six, 300000, 4, false},
        {"quarter past", At(10, 15), 300000, Six, 300000, 5, false},
        {"quarter to", At(10, 45), 300000, Six, 300000, 5, false},
        {"off the grid runs plain", At(10, 17, 30), 300000, Six, 300000, 2, false},
        {"look-ahead to 06:03", At(6, 0), 300000, EncodeTime(6, 3, 0, 0), 180100, 3, false},
        {"daily 100 ms after 06:03", At(6, 3, 0, 100), 180100, EncodeTime(6, 3, 0, 0), 119900, 1,
         true},
        {"scheduled on the grid", At(6, 0), 300000, Six, 300000, 1, true},
        {"exactly five minutes late", At(6, 5), 300000, Six, 300000, 1, true},
        {"one millisecond too late", At(6, 5, 0, 1), 300000, Six, 300000, 2, false},
        {"midnight ahead of 23:58", At(23, 58), 300000, EncodeTime(0, 0, 0, 0), 120100, 2, false},
        {"23:58 passed at 00:01", At(0, 1), 300000, EncodeTime(23, 58, 0, 0), 300000, 1, true},
        {"exactly five minutes ahead", At(5, 55), 300000, Six, 300000, 2, false},
    };
    for (const TickCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        AlertScheduler Scheduler;
        const TickDecision D = Scheduler.Tick(C.Now, C.IntervalBefore, C.Scheduled);
        EXPECT_EQ(D.IntervalAfter(C.IntervalBefore), C.IntervalAfter);
        EXPECT_EQ(D.RunClass, C.RunClass);
        EXPECT_EQ(D.DailyRun, C.Daily);
    }
}

// Runs a timer that fires at Start plus its interval, then as each tick sets
// it, until End; gives the moments of the ticks with their decisions.
struct Fired {
    TDateTime At;
    TickDecision Decision;
};

std::vector<Fired> Simulate(TDateTime Start, TDateTime End, unsigned Interval,
                            TDateTime Scheduled) {
    AlertScheduler Scheduler;
    std::vector<Fired> Result;
    TDateTime Now = Start;
    for (;;) {
        Now = Now + Interval / MSecsPerDay;
        if (Now > End) break;
        const TickDecision D = Scheduler.Tick(Now, Interval, Scheduled);
        Interval = D.IntervalAfter(Interval);
        Result.push_back({Now, D});
    }
    return Result;
}

TEST(AlertSchedulerTest, OffGridDailyTimeRunsOnceThenRealigns) {
    const auto Ticks = Simulate(At(5, 50), At(6, 16), 300000, EncodeTime(6, 3, 0, 0));
    std::vector<std::pair<AnsiString, int>> Seen;
    for (const Fired& F : Ticks) {
        Seen.push_back({FormatDateTime("hh:nn:ss.zzz", F.At), F.Decision.RunClass});
    }
    const std::vector<std::pair<AnsiString, int>> Expected = {
        {"05:55:00.000", 2}, {"06:00:00.000", 3}, {"06:03:00.100", 1},
        {"06:05:00.000", 2}, {"06:10:00.000", 2}, {"06:15:00.000", 5}};
    EXPECT_EQ(Seen, Expected);
}

TEST(AlertSchedulerTest, EveryScheduledTimeRunsOnceADay) {
    for (const TDateTime Scheduled :
         {EncodeTime(6, 0, 0, 0), EncodeTime(6, 3, 0, 0), EncodeTime(0, 0, 0, 0),
          EncodeTime(23, 58, 0, 0), EncodeTime(12, 59, 0, 0)}) {
        SCOPED_TRACE(FormatDateTime("hh:nn", Scheduled));
        // Started at an odd moment with the window's first interval.
        const auto Ticks = Simulate(Day + EncodeTime(9, 13, 27, 0), Day + 3.5, 60000, Scheduled);
        std::map<int, int> RunsPerDay;
        for (const Fired& F : Ticks)
            if (F.Decision.DailyRun) {
                ++RunsPerDay[DateTimeToTimeStamp(F.At).Date];
                // The run falls at the scheduled time or up to 100 ms after it.
                const auto Late = -AlertScheduler::MillisecondsToScheduled(F.At, Scheduled);
                EXPECT_GE(Late, 0);
                EXPECT_LE(Late, 100);
            }
        EXPECT_EQ(RunsPerDay.size(), 3u);
        for (const auto& [DayNumber, Runs] : RunsPerDay)
            EXPECT_EQ(Runs, 1) << "day " << DayNumber;
    }
}

} // namespace

namespace {

// The daily run made at 06:00, then the operator moves the run time at
// 06:30 (the window then sets the interval to a minute): the day's run is
// done whatever the new time is, and the next day runs at the new time.
TEST(AlertSchedulerTest, TheDailyRunIsMadeOnceADayWhateverTheTimeIsMovedTo) {
    struct Case {
        const char* Name;
        TDateTime MovedTo;
        const char* NextRun;
    };
    const Case Cases[] = {
        {"later, off the grid", EncodeTime(8, 3, 0, 0), "2024/05/07 08:03:00.100"},
        {"later, on the grid", EncodeTime(8, 0, 0, 0), "2024/05/07 08:00:00.000"},
        {"later, to the next tick", EncodeTime(6, 35, 0, 0), "2024/05/07 06:35:00.000"},
        {"earlier", EncodeTime(5, 0, 0, 0), "2024/05/07 05:00:00.000"},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        AlertScheduler Scheduler;
        ASSERT_TRUE(Scheduler.Tick(At(6, 0), 300000, EncodeTime(6, 0, 0, 0)).DailyRun);
        std::vector<AnsiString> Runs;
        bool LookedAheadOnTheDay = false;
        unsigned Interval = 60000;
        for (TDateTime Now = At(6, 30) + Interval / MSecsPerDay; Now < Day + 1.5;
             Now = Now + Interval / MSecsPerDay) {
            const TickDecision D = Scheduler.Tick(Now, Interval, C.MovedTo);
            if (D.DailyRun) Runs.push_back(FormatDateTime("yyyy/mm/dd hh:nn:ss.zzz", Now));
            if (D.LookAheadInterval && Now < Day + 1) LookedAheadOnTheDay = true;
            Interval = D.IntervalAfter(Interval);
        }
        EXPECT_EQ(Runs, std::vector<AnsiString>{C.NextRun});
        EXPECT_FALSE(LookedAheadOnTheDay);
    }
}

} // namespace
