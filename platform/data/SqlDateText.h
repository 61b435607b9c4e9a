#pragma once
// Dates as the database keeps them: text in the program's statement form,
// "yyyy/mm/dd" for a date and "yyyy/mm/dd hh:mm:ss" for a date and time.
// Text order is then time order, so the database compares them correctly.
// The separators are fixed: they never follow the format settings.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/TDateTime.h"

// "yyyy/mm/dd".
AnsiString SqlDateText(TDateTime Value);
// "yyyy/mm/dd hh:mm:ss" (milliseconds are dropped).
AnsiString SqlDateTimeText(TDateTime Value);
// The date alone when the time is midnight, else the full form.
AnsiString SqlDateTimeTextShort(TDateTime Value);

// Reads "yyyy/mm/dd" or ISO "yyyy-mm-dd", optionally followed by a blank or
// "T" and "hh:mm", "hh:mm:ss" or "hh:mm:ss.fff"; blanks around are allowed.
// False (Value untouched) for anything else, including impossible dates.
bool TryParseSqlDateTime(const AnsiString& S, TDateTime& Value);
// True when S holds a time of day as well as the date.
bool SqlTextHasTime(const AnsiString& S);
