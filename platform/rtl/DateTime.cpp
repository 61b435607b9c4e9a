#include "platform/rtl/DateTime.h"

#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"

#include <cmath>
#include <string>

namespace {

constexpr int MSecsPerDayInt = 86400000;
// 9999-12-31 as days since 0001-01-01 (that day being 1): the last date the
// calendar encodes.
constexpr int MaxDateStamp = 3652059;

// Days before the first of January of the given year, counted from
// 0001-01-01.
std::int64_t DaysBeforeYear(std::int64_t year) {
    const std::int64_t y = year - 1;
    return y * 365 + y / 4 - y / 100 + y / 400;
}

const char* const DateEncodeError = "Invalid argument to date encode";
const char* const TimeEncodeError = "Invalid argument to time encode";

} // namespace

const std::array<std::array<Word, 12>, 2> MonthDays{{
    {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
    {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31},
}};

TTimeStamp DateTimeToTimeStamp(TDateTime DateTime) {
    const double value = DateTime;
    // Beyond any calendar date (or not a number): no date at all, which
    // decodes as zeros rather than overflowing the conversion below.
    if (!std::isfinite(value) || std::fabs(value) > 4.0e6) return TTimeStamp{0, 0};
    const double whole = std::trunc(value);
    int ms = static_cast<int>(std::round(std::fabs(value - whole) * MSecsPerDay));
    int date = static_cast<int>(whole) + DateDelta;
    // The fraction counts forward from midnight on both sides of day zero,
    // so rounding up to a full day is always the next calendar day.
    if (ms >= MSecsPerDayInt) {
        ms = 0;
        ++date;
    }
    return TTimeStamp{ms, date};
}

TDateTime TimeStampToDateTime(const TTimeStamp& TimeStamp) {
    if (TimeStamp.Date <= 0 || TimeStamp.Time < 0 || TimeStamp.Time >= MSecsPerDayInt)
        throw EConvertError("'" + std::to_string(TimeStamp.Date) + "." +
                            std::to_string(TimeStamp.Time) + "' is not a valid timestamp");
    const double days = TimeStamp.Date - DateDelta;
    const double fraction = TimeStamp.Time / MSecsPerDay;
    return days >= 0 ? days + fraction : days - fraction;
}

bool IsLeapYear(int Year) {
    return Year % 4 == 0 && (Year % 100 != 0 || Year % 400 == 0);
}

Word DaysInAMonth(Word Year, Word Month) {
    if (Month < 1 || Month > 12)
        throw EConvertError("Month " + std::to_string(Month) + " is not between 1 and 12");
    return MonthDays[IsLeapYear(Year)][Month - 1];
}

Word DaysInMonth(TDateTime Value) {
    Word year, month, day;
    DecodeDate(Value, year, month, day);
    return DaysInAMonth(year, month);
}

bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date) {
    if (Year < 1 || Year > 9999 || Month < 1 || Month > 12 || Day < 1) return false;
    const auto& table = MonthDays[IsLeapYear(Year)];
    if (Day > table[Month - 1]) return false;
    std::int64_t days = DaysBeforeYear(Year) + Day;
    for (int m = 1; m < Month; ++m)
        days += table[m - 1];
    Date = static_cast<double>(days - DateDelta);
    return true;
}

TDateTime EncodeDate(int Year, int Month, int Day) {
    TDateTime result;
    if (!TryEncodeDate(Year, Month, Day, result)) throw EConvertError(DateEncodeError);
    return result;
}

bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time) {
    if (Hour < 0 || Hour >= 24 || Min < 0 || Min >= 60 || Sec < 0 || Sec >= 60 || MSec < 0 ||
        MSec >= 1000)
        return false;
    Time = (Hour * 3600000 + Min * 60000 + Sec * 1000 + MSec) / MSecsPerDay;
    return true;
}

TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec) {
    TDateTime result;
    if (!TryEncodeTime(Hour, Min, Sec, MSec, result)) throw EConvertError(TimeEncodeError);
    return result;
}

void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day) {
    const int stamp = DateTimeToTimeStamp(Date).Date;
    if (stamp <= 0 || stamp > MaxDateStamp) {
        Year = Month = Day = 0;
        return;
    }
    // Estimate the year from the mean year length, then correct it.
    std::int64_t year = stamp * 400LL / 146097 + 1;
    while (DaysBeforeYear(year) >= stamp)
        --year;
    while (DaysBeforeYear(year + 1) < stamp)
        ++year;
    int dayOfYear = static_cast<int>(stamp - DaysBeforeYear(year));
    const auto& table = MonthDays[IsLeapYear(static_cast<int>(year))];
    int month = 1;
    while (dayOfYear > table[month - 1]) {
        dayOfYear -= table[month - 1];
        ++month;
    }
    Year = static_cast<Word>(year);
    Month = static_cast<Word>(month);
    Day = static_cast<Word>(dayOfYear);
}

void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec) {
    int ms = DateTimeToTimeStamp(Time).Time;
    Hour = static_cast<Word>(ms / 3600000);
    ms %= 3600000;
    Min = static_cast<Word>(ms / 60000);
    ms %= 60000;
    Sec = static_cast<Word>(ms / 1000);
    MSec = static_cast<Word>(ms % 1000);
}

void DecodeDateTime(TDateTime Value, Word& Year, Word& Month, Word& Day, Word& Hour, Word& Minute,
                    Word& Second, Word& MilliSecond) {
    DecodeDate(Value, Year, Month, Day);
    DecodeTime(Value, Hour, Minute, Second, MilliSecond);
}

int DayOfWeek(TDateTime Date) {
    // 0001-01-01 (stamp 1) was a Monday.
    const int stamp = DateTimeToTimeStamp(Date).Date;
    return (stamp % 7 + 7) % 7 + 1;
}

TDateTime IncMonth(TDateTime Date, int NumberOfMonths) {
    Word year, month, day;
    DecodeDate(Date, year, month, day);
    if (month == 0) throw EConvertError(DateEncodeError);
    // Months since the start of year 0; anything before year 1 or after
    // 9999 has no date.
    const std::int64_t total = year * 12LL + (month - 1) + NumberOfMonths;
    if (total < 12 || total >= 10000 * 12) throw EConvertError(DateEncodeError);
    const std::int64_t newYear = total / 12;
    const std::int64_t newMonth = total % 12;
    const Word last = MonthDays[IsLeapYear(static_cast<int>(newYear))][newMonth];
    TDateTime result = EncodeDate(static_cast<int>(newYear), static_cast<int>(newMonth) + 1,
                                  day > last ? last : day);
    ReplaceTime(result, Date);
    return result;
}

void ReplaceTime(TDateTime& DateTime, TDateTime NewTime) {
    const double day = std::trunc(static_cast<double>(DateTime));
    const double time = std::fabs(NewTime - std::trunc(static_cast<double>(NewTime)));
    DateTime = day >= 0 ? day + time : day - time;
}

void ReplaceDate(TDateTime& DateTime, TDateTime NewDate) {
    TDateTime result = NewDate;
    ReplaceTime(result, DateTime);
    DateTime = result;
}

TDateTime Now() {
    return Clock().Now();
}

TDateTime Date() {
    // Through the stamp, so that a reading that rounds up to midnight gives
    // the same day as Time() does.
    TTimeStamp stamp = DateTimeToTimeStamp(Now());
    stamp.Time = 0;
    return TimeStampToDateTime(stamp);
}

TDateTime Time() {
    // Rebuilt from its parts so that it equals EncodeTime of the same clock
    // reading exactly; a scheduler compares the two.
    Word hour, min, sec, msec;
    DecodeTime(Now(), hour, min, sec, msec);
    return EncodeTime(hour, min, sec, msec);
}

Word CurrentYear() {
    Word year, month, day;
    DecodeDate(Now(), year, month, day);
    return year;
}

std::uint32_t GetTickCount() {
    return Clock().TickCount();
}
