#pragma once
// Dates in the internet message form ("Tue, 3 Jun 2003 14:05:09 +0200"),
// the local zone offset, and the day and month name tables they use.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/TDateTime.h"

#include <array>

namespace mail {

extern const std::array<AnsiString, 7> MxDayNames;    // "Sun" .. "Sat"
extern const std::array<AnsiString, 12> MxMonthNames; // "Jan" .. "Dec"

// "SUN" .. "SAT" (any case) give 1 .. 7, anything else 0.
int DayNameToNumber(const AnsiString& AText);
// "JAN" .. "DEC" (any case) give 1 .. 12, anything else 0.
int MonthNameToNumber(const AnsiString& AText);

// The local time's offset from UTC as a fraction of a day (east positive).
// EMxFailedToRetreiveTimeZoneInfo when the system cannot tell it.
TDateTime LocalOffsetFromUtc();

// "GMT" for a zero offset when AUseGMT, otherwise "+hhmm" / "-hhmm".
AnsiString ZoneOffsetText(TDateTime AOffset, bool AUseGMT);

// ADate (local time) with the local zone, 24-hour clock.
AnsiString DateTimeToRfc822(TDateTime ADate, bool AUseGMT = false);

// Parses the date and time at the front of AText; the zone part is left in
// AText. Returns 0 when the text is not a date.
TDateTime Rfc822ToDateTime(AnsiString& AText);

// "+hhmm" / "-hhmm" as a day fraction; anything else gives 0.
TDateTime ZoneTextToOffset(const AnsiString& AText);

// The date of AText moved from the sender's zone into local time; 0 when
// the text is not a date.
TDateTime Rfc822ToLocalDateTime(const AnsiString& AText);

} // namespace mail
