#pragma once
// Calendar arithmetic on TDateTime: building a value from its parts, taking
// it apart again, and the current date and time (read through the clock of
// Clock.h, so tests can fix it).
//
// A value before 1899-12-30 is negative, yet its fraction still counts
// forward from midnight: -1.25 is 1899-12-29 06:00, not 1899-12-28 18:00.
#include "platform/rtl/TDateTime.h"

#include <array>
#include <cstdint>

using Word = std::uint16_t;

// A point in time as whole days since 0001-01-01 (that day being 1) and
// milliseconds since midnight: the linear form the calendar works in.
struct TTimeStamp {
    int Time = 0; // 0 .. MSecsPerDay - 1
    int Date = 0; // 1 = 0001-01-01
};

// Rounds to the millisecond; a time that rounds up to midnight moves to the
// next day instead of showing as 24:00:00.
TTimeStamp DateTimeToTimeStamp(TDateTime DateTime);
// Raises EConvertError for a stamp with no date or a time outside one day.
TDateTime TimeStampToDateTime(const TTimeStamp& TimeStamp);

// Divisible by 4, and not by 100 unless by 400.
bool IsLeapYear(int Year);
// Days of each month, indexed [IsLeapYear(year)][month - 1].
extern const std::array<std::array<Word, 12>, 2> MonthDays;
// Raises EConvertError for a month outside 1..12.
Word DaysInAMonth(Word Year, Word Month);
Word DaysInMonth(TDateTime Value);

// Year 1..9999, month 1..12, day within the month; anything else raises
// EConvertError "Invalid argument to date encode" (the Try form answers false
// and leaves Date alone).
bool TryEncodeDate(int Year, int Month, int Day, TDateTime& Date);
TDateTime EncodeDate(int Year, int Month, int Day);
// Hour 0..23, minute and second 0..59, millisecond 0..999; anything else
// raises EConvertError "Invalid argument to time encode".
bool TryEncodeTime(int Hour, int Min, int Sec, int MSec, TDateTime& Time);
TDateTime EncodeTime(int Hour, int Min, int Sec, int MSec);

// A value outside 0001-01-01 .. 9999-12-31 (or not a number) decodes to a
// date of all zeros.
void DecodeDate(TDateTime Date, Word& Year, Word& Month, Word& Day);
void DecodeTime(TDateTime Time, Word& Hour, Word& Min, Word& Sec, Word& MSec);
void DecodeDateTime(TDateTime Value, Word& Year, Word& Month, Word& Day, Word& Hour, Word& Minute,
                    Word& Second, Word& MilliSecond);

// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime Date);

// Moves by whole months and keeps the time of day; a day the target month
// lacks becomes its last day (Jan 31 + 1 month = Feb 28 or 29).
TDateTime IncMonth(TDateTime Date, int NumberOfMonths = 1);

// Keeps the date of DateTime and takes the time of day of NewTime.
void ReplaceTime(TDateTime& DateTime, TDateTime NewTime);
// Keeps the time of day of DateTime and takes the date of NewDate.
void ReplaceDate(TDateTime& DateTime, TDateTime NewDate);

// The current local date and time, the date alone (midnight), the time of
// day alone (no date part), and the year; all from the installed clock.
TDateTime Now();
TDateTime Date();
TDateTime Time();
Word CurrentYear();

// Milliseconds on a monotonic counter that wraps after about 49.7 days, as
// the window system's tick count does; callers compare by subtraction.
std::uint32_t GetTickCount();
