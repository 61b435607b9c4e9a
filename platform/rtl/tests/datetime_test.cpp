#include "platform/rtl/DateTime.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Ymd {
    int Year, Month, Day;
};

struct Parts {
    Word Year, Month, Day, Hour, Min, Sec, MSec;
    bool operator==(const Parts&) const = default;
};

Parts Decode(TDateTime value) {
    Parts p{};
    DecodeDateTime(value, p.Year, p.Month, p.Day, p.Hour, p.Min, p.Sec, p.MSec);
    return p;
}

void PrintTo(const Parts& p, std::ostream* os) {
    *os << p.Year << '-' << p.Month << '-' << p.Day << ' ' << p.Hour << ':' << p.Min << ':' << p.Sec
        << '.' << p.MSec;
}

TEST(DateTime, EncodeDateCountsDaysFromDayZeroAndDecodesBack) {
    const struct {
        Ymd Date;
        double Serial;
    } cases[] = {
        {{1899, 12, 30}, 0},       {{1899, 12, 29}, -1},      {{1900, 1, 1}, 2},
        {{1900, 3, 1}, 61},        {{1970, 1, 1}, 25569},     {{2000, 1, 1}, 36526},
        {{2000, 2, 29}, 36585},    {{2000, 3, 1}, 36586},     {{1, 1, 1}, -693593},
        {{9999, 12, 31}, 2958465}, {{1600, 12, 31}, -109206}, {{2024, 12, 31}, 45657},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Serial);
        EXPECT_EQ(EncodeDate(c.Date.Year, c.Date.Month, c.Date.Day), c.Serial);
        Word y, m, d;
        DecodeDate(c.Serial, y, m, d);
        EXPECT_EQ(y, c.Date.Year);
        EXPECT_EQ(m, c.Date.Month);
        EXPECT_EQ(d, c.Date.Day);
    }
}

TEST(DateTime, EncodeDateRejectsImpossibleDates) {
    const Ymd cases[] = {{2023, 2, 29}, {1900, 2, 29}, {2100, 2, 29}, {2024, 4, 31}, {2024, 13, 1},
                         {2024, 0, 1},  {2024, 1, 0},  {2024, 1, 32}, {0, 1, 1},     {10000, 1, 1},
                         {-1, 1, 1},    {2024, -1, 1}, {70000, 1, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Year << '-' << c.Month << '-' << c.Day);
        TDateTime untouched = 42.0;
        EXPECT_FALSE(TryEncodeDate(c.Year, c.Month, c.Day, untouched));
        EXPECT_EQ(untouched, 42.0);
        try {
            EncodeDate(c.Year, c.Month, c.Day);
            ADD_FAILURE() << "no exception";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, "Invalid argument to date encode");
        }
    }
}

TEST(DateTime, EncodeTimeIsAFractionOfADayAndRejectsOutOfRangeParts) {
    EXPECT_EQ(EncodeTime(0, 0, 0, 0), 0.0);
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_DOUBLE_EQ(EncodeTime(23, 59, 59, 999), 86399999.0 / 86400000.0);

    const int bad[][4] = {{24, 0, 0, 0},   {0, 60, 0, 0}, {0, 0, 60, 0},
                          {0, 0, 0, 1000}, {-1, 0, 0, 0}, {0, 0, 0, -1}};
    for (const auto& b : bad) {
        SCOPED_TRACE(testing::Message() << b[0] << ':' << b[1] << ':' << b[2] << '.' << b[3]);
        TDateTime value;
        EXPECT_FALSE(TryEncodeTime(b[0], b[1], b[2], b[3], value));
        try {
            EncodeTime(b[0], b[1], b[2], b[3]);
            ADD_FAILURE() << "no exception";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, "Invalid argument to time encode");
        }
    }
}

TEST(DateTime, DecodeRoundsToTheMillisecondAndKeepsNegativeFractionsForward) {
    const double jan1 = EncodeDate(2024, 1, 1);
    const struct {
        double Value;
        Parts Expected;
    } cases[] = {
        {jan1 + EncodeTime(13, 45, 30, 123), {2024, 1, 1, 13, 45, 30, 123}},
        // Just short of midnight rounds into the next day, never to 24:00.
        {jan1 + 86399999.6 / 86400000.0, {2024, 1, 2, 0, 0, 0, 0}},
        {jan1 + 86399999.4 / 86400000.0, {2024, 1, 1, 23, 59, 59, 999}},
        // Before day zero the whole part is the day, the fraction the time.
        {-1.25, {1899, 12, 29, 6, 0, 0, 0}},
        {-0.5, {1899, 12, 30, 12, 0, 0, 0}},
        {-1.9999999999, {1899, 12, 30, 0, 0, 0, 0}},
        {EncodeDate(1800, 7, 4) - 0.75, {1800, 7, 4, 18, 0, 0, 0}},
        // Outside the calendar: a date of zeros, never a crash.
        {-700000.0, {0, 0, 0, 0, 0, 0, 0}},
        {3e6, {0, 0, 0, 0, 0, 0, 0}},
        {std::nan(""), {0, 0, 0, 0, 0, 0, 0}},
        {INFINITY, {0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Value);
        EXPECT_EQ(Decode(c.Value), c.Expected);
    }
}

TEST(DateTime, DecodeDateAgreesWithEncodeDateOnEveryDayOfTheCalendar) {
    double serial = EncodeDate(1, 1, 1);
    int weekday = 2; // a Monday
    for (int year = 1; year <= 9999; ++year)
        for (int month = 1; month <= 12; ++month) {
            ASSERT_EQ(EncodeDate(year, month, 1), serial);
            for (int day = 1; day <= DaysInAMonth(year, month); ++day, ++serial) {
                Word y, m, d;
                DecodeDate(serial, y, m, d);
                ASSERT_EQ(y * 10000 + m * 100 + d, year * 10000 + month * 100 + day) << serial;
                ASSERT_EQ(DayOfWeek(serial), weekday) << serial;
                weekday = weekday % 7 + 1;
            }
        }
}

TEST(DateTime, LeapYearsAndMonthLengths) {
    const struct {
        int Year;
        bool Leap;
    } years[] = {{1900, false}, {2000, true}, {2023, false}, {2024, true},
                 {2100, false}, {2400, true}, {4, true},     {1, false}};
    for (const auto& y : years)
        EXPECT_EQ(IsLeapYear(y.Year), y.Leap) << y.Year;

    EXPECT_EQ(DaysInAMonth(2024, 2), 29);
    EXPECT_EQ(DaysInAMonth(1900, 2), 28);
    EXPECT_EQ(DaysInAMonth(2023, 12), 31);
    EXPECT_EQ(DaysInAMonth(2023, 11), 30);
    EXPECT_EQ(MonthDays[true][1], 29);
    EXPECT_EQ(DaysInMonth(EncodeDate(2000, 2, 10) + 0.9), 29);
    EXPECT_THROW(DaysInAMonth(2024, 13), EConvertError);
    EXPECT_THROW(DaysInAMonth(2024, 0), EConvertError);
}

TEST(DateTime, DayOfWeekStartsOnSunday) {
    const struct {
        double Value;
        int Expected;
    } cases[] = {
        {EncodeDate(1899, 12, 30), 7},      // Saturday
        {EncodeDate(2024, 1, 1), 2},        // Monday
        {EncodeDate(2024, 3, 3) + 0.99, 1}, // Sunday, late evening
        {EncodeDate(1, 1, 1), 2},           // Monday
        {-1.25, 6},                         // Friday 1899-12-29
        {EncodeDate(1776, 7, 4) - 0.5, 5},  // Thursday
    };
    for (const auto& c : cases)
        EXPECT_EQ(DayOfWeek(c.Value), c.Expected) << c.Value;
}

TEST(DateTime, IncMonthClampsTheDayAndKeepsTheTime) {
    const struct {
        Ymd From;
        int Months;
        Ymd To;
    } cases[] = {
        {{2024, 1, 31}, 1, {2024, 2, 29}},    {{2023, 1, 31}, 1, {2023, 2, 28}},
        {{2024, 3, 31}, -1, {2024, 2, 29}},   {{2024, 1, 15}, -1, {2023, 12, 15}},
        {{2024, 12, 15}, 1, {2025, 1, 15}},   {{2024, 5, 31}, 13, {2025, 6, 30}},
        {{2024, 1, 31}, -25, {2021, 12, 31}}, {{2024, 2, 29}, 12, {2025, 2, 28}},
        {{2024, 2, 29}, 48, {2028, 2, 29}},   {{2024, 7, 10}, 0, {2024, 7, 10}},
        {{2024, 1, 1}, -12, {2023, 1, 1}},    {{1899, 11, 30}, 1, {1899, 12, 30}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.From.Year << '-' << c.From.Month << '-' << c.From.Day
                                        << " + " << c.Months);
        TDateTime from = EncodeDate(c.From.Year, c.From.Month, c.From.Day);
        ReplaceTime(from, EncodeTime(18, 30, 0, 0));
        const Parts expected{static_cast<Word>(c.To.Year),
                             static_cast<Word>(c.To.Month),
                             static_cast<Word>(c.To.Day),
                             18,
                             30,
                             0,
                             0};
        EXPECT_EQ(Decode(IncMonth(from, c.Months)), expected);
    }
    EXPECT_EQ(IncMonth(EncodeDate(2024, 1, 31)), EncodeDate(2024, 2, 29));
    EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1), 1), EConvertError);
    EXPECT_THROW(IncMonth(EncodeDate(1, 1, 1), -1), EConvertError);
    EXPECT_THROW(IncMonth(-700000.0, 1), EConvertError);
}

TEST(DateTime, ReplaceTimeAndReplaceDateRespectTheSignOfTheDate) {
    const double time = EncodeTime(6, 0, 0, 0);
    const struct {
        double Date, NewTime, Expected;
    } replaceTime[] = {
        {45000.75, time, 45000.25},
        {-10.5, time, -10.25},       // 1899-12-20 keeps its date, takes 06:00
        {45000.75, -3.25, 45000.25}, // the time of a negative value is its fraction too
        {45000.75, 0.0, 45000.0},
    };
    for (const auto& c : replaceTime) {
        TDateTime value = c.Date;
        ReplaceTime(value, c.NewTime);
        EXPECT_EQ(value, c.Expected) << c.Date << " <- " << c.NewTime;
    }

    TDateTime value = 45000.75;
    ReplaceDate(value, -10.5);
    EXPECT_EQ(value, -10.75);
    ReplaceDate(value, 100.1);
    EXPECT_EQ(value, 100.75);
}

TEST(DateTime, TimeStampsRoundTripAndRejectInvalidStamps) {
    const double values[] = {0.0, -1.25, 45000.5, EncodeDate(1, 1, 1)};
    for (const double v : values)
        EXPECT_EQ(TimeStampToDateTime(DateTimeToTimeStamp(v)), v) << v;
    const TTimeStamp jan1{0, 1};
    EXPECT_EQ(TimeStampToDateTime(jan1), EncodeDate(1, 1, 1));
    EXPECT_EQ(DateTimeToTimeStamp(0.5).Date, DateDelta);
    EXPECT_EQ(DateTimeToTimeStamp(0.5).Time, 43200000);

    const TTimeStamp bad[] = {{0, 0}, {-1, 5}, {86400000, 5}};
    for (const auto& b : bad)
        EXPECT_THROW(TimeStampToDateTime(b), EConvertError);
}

} // namespace
