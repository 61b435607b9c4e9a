#pragma once
// The process-wide format settings that every number and date text follows.
// Nothing reads the C locale: the settings start at the framework's English
// defaults with '/' as the date separator, and the program changes them.
#include "platform/rtl/AnsiString.h"

#include <array>

struct TFormatSettings {
    char CurrencyFormat = 0;    // 0 = "$1", 1 = "1$", 2 = "$ 1", 3 = "1 $"
    char NegCurrFormat = 0;     // 0 = "($1)"
    char ThousandSeparator = ',';
    char DecimalSeparator = '.';
    unsigned char CurrencyDecimals = 2;
    char DateSeparator = '/';
    char TimeSeparator = ':';
    char ListSeparator = ',';
    AnsiString CurrencyString = "$";
    AnsiString ShortDateFormat = "M/d/yyyy";
    AnsiString LongDateFormat = "dddd, MMMM dd, yyyy";
    AnsiString TimeAMString = "AM";
    AnsiString TimePMString = "PM";
    AnsiString ShortTimeFormat = "h:mm AMPM";
    AnsiString LongTimeFormat = "h:mm:ss AMPM";
    std::array<AnsiString, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                               "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<AnsiString, 12> LongMonthNames{"January", "February", "March",     "April",
                                              "May",     "June",     "July",      "August",
                                              "September", "October", "November", "December"};
    std::array<AnsiString, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<AnsiString, 7> LongDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                           "Thursday", "Friday", "Saturday"};
    int TwoDigitYearCenturyWindow = 50;
};

// The one set the process uses.
TFormatSettings& FormatSettings();

// Puts the settings back to their start values (tests use it between cases).
void ResetFormatSettings();
