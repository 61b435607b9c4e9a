#pragma once
// Date and time texts under the process-wide format settings: the order of
// the date fields, the formats the grid edits dates and times in, and the
// reading of a date typed into a cell.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/TDateTime.h"
#include "platform/rtl/Variant.h"

#include <cstdint>

namespace grid {

enum class TgxDateOrder : std::uint8_t { doYMD, doMDY, doDMY };
using enum TgxDateOrder;

// Decided by the first of D, M, Y or E (either case) in the short date
// format: D day first, M month first, Y or E year first; month first when
// none is there.
TgxDateOrder GetDateOrder();

// A format to edit dates in: "DD" or "D", "MM" or "M" as the short date
// format writes them, "YYYY" when asked or when the format has three or
// more Ys (else "YY"), in the date order with the date separator between.
AnsiString GetEditDateFormat(bool LongYear);

// The format with its first "yy" widened to "yyyy" unless it already has a
// longer year.
AnsiString LongYearFormat(const AnsiString& Format);
// The format without its first "am/pm", "a/p" or "ampm" marker, trimmed.
AnsiString LongHourFormat(const AnsiString& Format);
// Whether the locale writes times with AM and PM.
bool AMPMFormat();

// The first month name (long, else short; months in calendar order) that
// stands alone in the text, replaced by the month's number.
AnsiString DateReplaceMonthName(const AnsiString& Text);
// The text without the first day name that stands alone in it.
AnsiString DateRemoveDayName(const AnsiString& Text);

// Reads a date and time typed by a person: digits alone are a day number, a
// text whose first non-digit is the time separator is a time, anything else
// a date and time in which month and day names may be written out. A year
// written with three or four digits is kept as written. Raises
// EConvertError for a text that is none of these.
TDateTime StringToDateTime(const AnsiString& Text);

// A non-blank string is read by StringToDateTime, a double or date is taken
// as it is; anything else, and a string that cannot be read, gives the
// current date and time.
TDateTime VariantToDateTime(const Variant& Value);

} // namespace grid
