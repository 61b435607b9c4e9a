#pragma once
// Dates and times to text and back, under the process-wide format settings.
//
// The pattern language of FormatDateTime (letters in either case):
//   c       ShortDateFormat, then a blank and LongTimeFormat unless the time is
//           midnight (an empty pattern means "c")
//   d dd    day without / with a leading zero;  ddd dddd  short / long day name
//   ddddd   ShortDateFormat;  dddddd  LongDateFormat
//   m mm    month;  mmm mmmm  short / long month name; right after h or hh,
//           m and mm are the minutes
//   yy yyyy two- / four-digit year
//   h hh    hour (12-hour when an am/pm marker follows before the next h)
//   n nn    minutes;  s ss  seconds;  z zzz  milliseconds
//   t tt    ShortTimeFormat / LongTimeFormat
//   am/pm a/p  the marker, written in the case the pattern uses
//   ampm    TimeAMString or TimePMString
//   aaa aaaa   short / long day name
//   / :     DateSeparator / TimeSeparator
//   '...' "..."  copied as it stands
// Any other character is copied.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/TDateTime.h"

AnsiString FormatDateTime(const AnsiString& Format, TDateTime DateTime);

// ShortDateFormat, LongTimeFormat, and "c".
AnsiString DateToStr(TDateTime Date);
AnsiString TimeToStr(TDateTime Time);
AnsiString DateTimeToStr(TDateTime DateTime);

// The parsers read numbers separated by DateSeparator in the order the first
// of y, m, d in ShortDateFormat gives (year first, day first, or month first
// otherwise). A year of one or two digits falls into the hundred years that
// start TwoDigitYearCenturyWindow years before the current year (window 0:
// the current century); a text without a year means the current year. Times
// are h[:n[:s[.z]]] with TimeSeparator, and an optional AM/PM (the
// settings' markers or the English ones) before or after. Blanks between the
// parts are allowed; anything else left over makes the text invalid.
//
// The raising forms throw EConvertError "'<text>' is not a valid date",
// "... time", "... date and time".
TDateTime StrToDate(const AnsiString& S);
TDateTime StrToTime(const AnsiString& S);
TDateTime StrToDateTime(const AnsiString& S);
bool TryStrToDate(const AnsiString& S, TDateTime& Value);
bool TryStrToTime(const AnsiString& S, TDateTime& Value);
bool TryStrToDateTime(const AnsiString& S, TDateTime& Value);
TDateTime StrToDateDef(const AnsiString& S, TDateTime Default);
