#pragma once
// Calendar arithmetic on TDateTime, date parsing against a date format with a
// century window for two-digit years, default date formats and edit masks,
// and long date texts. "Today" and the current year come from the clock seam
// (platform/rtl/Clock.h); the locale is the process-wide format settings.
#include "platform/classes/SmallSet.h"
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/TDateTime.h"

#include <cstdint>

namespace formstore {

enum class TDateOrder : std::uint8_t { doMDY, doDMY, doYMD };
inline constexpr TDateOrder doMDY = TDateOrder::doMDY;
inline constexpr TDateOrder doDMY = TDateOrder::doDMY;
inline constexpr TDateOrder doYMD = TDateOrder::doYMD;

enum class TDayOfWeekName : std::uint8_t { Sun, Mon, Tue, Wed, Thu, Fri, Sat };
using TDaysOfWeek = SmallSet<TDayOfWeekName>;

// Width of the window that decides the century of a two-digit year: a year
// falls into the hundred years starting CenturyOffset years before today's.
extern std::uint8_t CenturyOffset;
// The value that means "no date".
inline constexpr TDateTime NullDate = 0.0;
// Whether the short date format of the locale had a four-digit year when the
// program started.
extern bool FourDigitYear;

bool IsLeapYear(int AYear);
// Days of the month; EConvertError for a month outside 1..12.
int DaysPerMonth(int AYear, int AMonth);

// Day 1 of the month after / before today's, and the last day of the month
// before today's.
TDateTime FirstDayOfNextMonth();
TDateTime FirstDayOfPrevMonth();
TDateTime LastDayOfPrevMonth();

Word ExtractDay(TDateTime ADate);
Word ExtractMonth(TDateTime ADate);
Word ExtractYear(TDateTime ADate);

// Moves by calendar years and months (a day the target month lacks becomes
// its last day), then by Days; the time of day carries over. A year leaving
// 1..9999 raises the date-encoding error.
TDateTime IncDate(TDateTime ADate, int Days, int Months, int Years);
TDateTime IncDay(TDateTime ADate, int Delta);
TDateTime IncMonth(TDateTime ADate, int Delta);
TDateTime IncYear(TDateTime ADate, int Delta);
// The calendar distance between two dates in either order, borrowing the
// earlier date's month length when the later day number is smaller.
void DateDiff(TDateTime Date1, TDateTime Date2, Word& Days, Word& Months, Word& Years);
// DateDiff in months, the leftover days counted in quarter months.
double MonthsBetween(TDateTime Date1, TDateTime Date2);
bool ValidDate(TDateTime ADate);
// Days of the period from one date to the other, both counted, in either
// order; 0 when either is not a valid date.
int DaysInPeriod(TDateTime Date1, TDateTime Date2);
// Trunc(Date2) - Trunc(Date1) + 1, never below 0.
int DaysBetween(TDateTime Date1, TDateTime Date2);

// Moves by a time span; a result below 0 has one day added.
TDateTime IncTime(TDateTime ATime, int Hours, int Minutes, int Seconds, int MSecs);
TDateTime IncHour(TDateTime ATime, int Delta);
TDateTime IncMinute(TDateTime ATime, int Delta);
TDateTime IncSecond(TDateTime ATime, int Delta);
TDateTime IncMSec(TDateTime ATime, int Delta);
// The date alone.
TDateTime CutTime(TDateTime ADate);

Word CurrentYear();
// The first of D, E/Y or M (either case) in the format decides; doDMY when
// there is none.
TDateOrder GetDateOrder(const AnsiString& DateFormat);
// The first month whose long name starts, ignoring case, like the first
// MaxLen characters of S; 0 when none does.
std::uint8_t MonthFromName(const AnsiString& S, std::uint8_t MaxLen);

// Reads S laid over DateFormat, and when that gives no date, freely as
// numbers in the format's order. Empty text is NullDate. StrToDateFmt raises
// EConvertError for text that is no date; the Def forms give Trunc(Default).
TDateTime StrToDateFmt(const AnsiString& DateFormat, const AnsiString& S);
TDateTime StrToDateDef(const AnsiString& S, TDateTime Default);
TDateTime StrToDateFmtDef(const AnsiString& DateFormat, const AnsiString& S, TDateTime Default);

// Default date format and edit mask for the locale's date order.
AnsiString DefDateFormat(bool AFourDigitYear);
AnsiString DefDateMask(char BlanksChar, bool AFourDigitYear);

// The locale's long date form; FormatLongDateTime adds the long time and
// gives empty text for NullDate.
AnsiString FormatLongDate(TDateTime Value);
AnsiString FormatLongDateTime(TDateTime Value);

} // namespace formstore
