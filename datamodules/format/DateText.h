#pragma once
// Dates and times to display and statement text, and back. The routines that
// force the date-time settings (see DateSettings.h) set them on every call.
// A date read from stored text always has '/' between its parts; a date
// written for display has the process-wide date separator there, so a
// statement that takes one holds the separator at '/' around the call.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/TDateTime.h"

// Sets Output to the value in the pattern of Code (1..17), where '/' stands
// for the date separator; any other code leaves Output as it was. Forces the
// settings either way.
//    1 yyyy/mm/dd            7 mm/dd/yyyy                  13 dd/mm/yyyy
//    2 mm/dd/yy h:nnam/pm    8 yyyy/mm/dd hh:nn:ss'.000'   14 ddmmyy
//    3 mm/dd/yy              9 ddd mmm d h:nnam/pm         15 mmddyy
//    4 yymmdd               10 dd/mm/yy                    16 dd/mm/yy h:nnam/pm
//    5 h:nn AM/PM           11 mmm d h:nnam/pm             17 yyyymmdd
//    6 ddd mmm d            12 mmm d yyyy
void FormatDateByCode(TDateTime Value, AnsiString& Output, int Code);

// The time part of a "yyyy/mm/dd hh:mm:ss" text as "h:nn AM/PM"; a text
// without a time (shorter than 19 characters) means midnight. Forces the
// settings; a time it cannot read raises EConvertError.
void DateTimeTextToTimeText(const AnsiString& DateTimeText, AnsiString& Output);

// The date part (first ten characters) of a stored date text as "mm/dd/yy"
// when Mode is 1, else as "yyyy/mm/dd" (with the date separator). Forces the settings; a date it
// cannot read raises EConvertError.
void DateTimeTextToDateText(const AnsiString& DateTimeText, AnsiString& Output, int Mode);

// Reads the first ten characters of a stored "yyyy/mm/dd" text into Output.
// Forces the settings; a date it cannot read raises EConvertError.
void ParseDateText(const AnsiString& DateText, TDateTime& Output);

// Empty for an empty date text; else the stored date rearranged month-first
// ("mm/dd/yy") for preference 1 and day-first ("dd/mm/yy") for any other.
void DateTextByPreference(int DatePreference, const AnsiString& DateText, AnsiString& Output);

// Rearranges the characters of a stored "yyyy/mm/dd" text (only its first
// ten are read): conversion 7 gives "mm/dd/yy", conversion 9 "dd/mm/yy".
// Another conversion leaves Output as it was. Characters the text lacks are
// left out rather than read past its end.
void ConvertDateText(const AnsiString& DateText, AnsiString& Output, int Conversion);

// A number of minutes for display: mode 0 as the general number text, mode 1
// as hours:minutes ("01:15"), mode 2 as decimal hours with two decimals
// ("1.25"). Another mode leaves Output as it was.
void FormatMinutes(int Mode, float Minutes, AnsiString& Output);

// The 24-hour clock hour of a 12-hour clock hour; AmPm 1 means PM.
void Hour12To24(int AmPm, int Hour12, int& Hour24);
