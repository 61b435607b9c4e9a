#include "platform/rtl/DateTimeFormat.h"

#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

// Every case runs on the default English settings with the clock standing
// at 2024-06-15 10:00, so a missing year and the two-digit window are fixed.
class DateTimeText : public testing::Test {
protected:
    DateTimeText()
        : FixedClock(EncodeDate(2024, 6, 15) + EncodeTime(10, 0, 0, 0)), Guard(FixedClock) {
        ResetFormatSettings();
    }
    ~DateTimeText() override { ResetFormatSettings(); }

    ManualClock FixedClock;
    ScopedClock Guard;
};

// Tuesday afternoon, and a Monday just after midnight.
const double Afternoon = EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 45);
const double AfterMidnight = EncodeDate(2024, 11, 25) + EncodeTime(0, 7, 9, 5);

struct FormatCase {
    const char* Format;
    double Value;
    const char* Expected;
};

TEST_F(DateTimeText, FormatDateTimeTokens) {
    const FormatCase cases[] = {
        {"d", Afternoon, "5"},
        {"dd", Afternoon, "05"},
        {"ddd", Afternoon, "Tue"},
        {"dddd", Afternoon, "Tuesday"},
        {"ddddd", Afternoon, "3/5/2024"},
        {"dddddd", Afternoon, "Tuesday, March 05, 2024"},
        {"m", Afternoon, "3"},
        {"mm", Afternoon, "03"},
        {"mmm", Afternoon, "Mar"},
        {"mmmm", Afternoon, "March"},
        {"MMMMM", Afternoon, "March"},
        {"y", Afternoon, "24"},
        {"yy", Afternoon, "24"},
        {"yyy", Afternoon, "2024"},
        {"yyyy", Afternoon, "2024"},
        {"YYYYY", Afternoon, "2024"},
        {"yy", EncodeDate(2005, 1, 1), "05"},
        {"yyyy", EncodeDate(33, 1, 1), "0033"},
        {"h", Afternoon, "14"},
        {"hh", Afternoon, "14"},
        {"hhh", Afternoon, "14"},
        {"h", AfterMidnight, "0"},
        {"hh", AfterMidnight, "00"},
        {"n", Afternoon, "7"},
        {"nn", Afternoon, "07"},
        {"nnn", Afternoon, "07"},
        {"s", Afternoon, "9"},
        {"ss", Afternoon, "09"},
        {"z", Afternoon, "45"},
        {"zz", Afternoon, "45"},
        {"zzz", Afternoon, "045"},
        {"zzzz", AfterMidnight, "005"},
        {"t", Afternoon, "2:07 PM"},
        {"tt", Afternoon, "2:07:09 PM"},
        {"c", Afternoon, "3/5/2024 2:07:09 PM"},
        {"", Afternoon, "3/5/2024 2:07:09 PM"},
        {"c", AfterMidnight, "11/25/2024 12:07:09 AM"},
        {"c", EncodeDate(2024, 11, 25), "11/25/2024"},
        {"aaa", Afternoon, "Tue"},
        {"aaaa", Afternoon, "Tuesday"},
        {"AAAA", AfterMidnight, "Monday"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDateTime(c.Format, c.Value), c.Expected) << '"' << c.Format << '"';
}

// Every number a pattern shows, one digit or padded to two or more, over
// each minute of a day and each day of a leap year, against plain printf.
TEST_F(DateTimeText, FormatDateTimeNumbersOverEveryMinuteAndDay) {
    char Expected[64];
    for (int Minute = 0; Minute < 24 * 60; ++Minute) {
        const int H = Minute / 60, N = Minute % 60;
        const double T = EncodeDate(2024, 3, 5) + EncodeTime(H, N, N, N * 16);
        std::snprintf(Expected, sizeof Expected, "%d:%d %02d:%02d %d %02d %03d %d %s", H, N, H, N,
                      N, N, N * 16, H % 12 == 0 ? 12 : H % 12, H < 12 ? "am" : "pm");
        ASSERT_EQ(FormatDateTime("h:n hh:nn s ss zzz", T) + " " + FormatDateTime("h am/pm", T),
                  Expected)
            << Minute;
    }
    for (int Day = 0; Day < 366; ++Day) {
        Word Y = 0, M = 0, D = 0;
        const double T = EncodeDate(1999, 12, 31) + 1 + Day;
        DecodeDate(T, Y, M, D);
        std::snprintf(Expected, sizeof Expected, "%d/%d %02d/%02d %02d %04d", D, M, D, M, Y % 100,
                      Y);
        ASSERT_EQ(FormatDateTime("d/m dd/mm yy yyyy", T), Expected) << Day;
    }
}

TEST_F(DateTimeText, FormatDateTimeMinutesMarkersAndLiterals) {
    const double noon = EncodeDate(2024, 3, 5) + EncodeTime(12, 0, 0, 0);
    const FormatCase cases[] = {
        // m right after an hour is the minute, also across separators and
        // quoted text, but not after another letter.
        {"h:mm", Afternoon, "14:07"},
        {"hh:m", Afternoon, "14:7"},
        {"hh'x'mm", Afternoon, "14x07"},
        {"hhxmm", Afternoon, "14x03"},
        {"mm hh", Afternoon, "03 14"},
        {"hh:mm:ss mm", Afternoon, "14:07:09 03"},
        // The marker keeps the case the pattern writes it in.
        {"h:nn am/pm", Afternoon, "2:07 pm"},
        {"h:nn AM/PM", Afternoon, "2:07 PM"},
        {"h:nn Am/pM", Afternoon, "2:07 pM"},
        {"h:nn am/pm", AfterMidnight, "12:07 am"},
        {"h a/p", Afternoon, "2 p"},
        {"h A/P", AfterMidnight, "12 A"},
        {"h a/p", noon, "12 p"},
        {"hh:nn ampm", Afternoon, "02:07 PM"},
        {"hh:nn AMPM", AfterMidnight, "12:07 AM"},
        // A marker only turns on the 12-hour clock for hours before it, up
        // to the next hour, or after it; not from inside quotes.
        {"h:nn h:nn am/pm", Afternoon, "14:07 2:07 pm"},
        {"am/pm hh", Afternoon, "pm 02"},
        {"hh 'am/pm'", Afternoon, "14 am/pm"},
        {"hh \"ampm\"", Afternoon, "14 ampm"},
        {"aa", Afternoon, "aa"},
        // Literals and separators.
        {"yyyy/mm/dd hh:nn:ss'.000'", Afternoon, "2024/03/05 14:07:09.000"},
        {"mm/dd/yy h:nnam/pm", Afternoon, "03/05/24 2:07pm"},
        {"ddd mmm d h:nnam/pm", Afternoon, "Tue Mar 5 2:07pm"},
        {"yymmdd", Afternoon, "240305"},
        {"'dd' dd \"mm\" mm", Afternoon, "dd 05 mm 03"},
        {"\"it's\" d", Afternoon, "it's 5"},
        {"'unterminated d", Afternoon, "unterminated d"},
        {"[d] #q", Afternoon, "[5] #q"},
        {"d\xC3\xA9", Afternoon, "5\xC3\xA9"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDateTime(c.Format, c.Value), c.Expected) << '"' << c.Format << '"';
}

TEST_F(DateTimeText, FormatDateTimeFollowsTheSettings) {
    TFormatSettings& settings = FormatSettings();
    settings.DateSeparator = '-';
    settings.TimeSeparator = '.';
    settings.TimePMString = "p.m.";
    settings.LongMonthNames[2] = "Maerz";
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn:ss", Afternoon), "2024-03-05 14.07.09");
    EXPECT_EQ(FormatDateTime("'/:' h ampm mmmm", Afternoon), "/: 2 p.m. Maerz");
    settings.DateSeparator = '\0';
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd", Afternoon), "20240305");

    // Settings that name themselves expand one level and stop.
    settings.ShortDateFormat = "c";
    settings.LongTimeFormat = "hh:nn";
    settings.LongDateFormat = "dddddd";
    EXPECT_EQ(FormatDateTime("c", Afternoon), "  14.07");
    EXPECT_EQ(FormatDateTime("dddddd", Afternoon), "");
}

TEST_F(DateTimeText, FormatDateTimeBeforeDayZeroAndOutsideTheCalendar) {
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd hh:nn ddd", -1.25), "1899/12/29 06:00 Fri");
    EXPECT_EQ(FormatDateTime("yyyy/mm/dd|mmm|ddd|aaaa", -700000.0), "0000/00/00|||");
}

TEST_F(DateTimeText, DateToStrTimeToStrAndDateTimeToStr) {
    EXPECT_EQ(DateToStr(Afternoon), "3/5/2024");
    EXPECT_EQ(TimeToStr(Afternoon), "2:07:09 PM");
    EXPECT_EQ(DateTimeToStr(Afternoon), "3/5/2024 2:07:09 PM");
    EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 5)), "3/5/2024");

    // The program's own settings, and text that reads back to the same value.
    TFormatSettings& settings = FormatSettings();
    settings.ShortDateFormat = "yyyy/mm/dd";
    settings.LongTimeFormat = "hh:mm:ss";
    EXPECT_EQ(DateTimeToStr(Afternoon), "2024/03/05 14:07:09");
    const double values[] = {EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0),
                             EncodeDate(2024, 3, 5), EncodeDate(1950, 12, 31) + 0.75, -1.25,
                             EncodeDate(1, 1, 1) - EncodeTime(23, 59, 59, 0)};
    for (const double v : values)
        EXPECT_EQ(StrToDateTime(DateTimeToStr(v)), v) << DateTimeToStr(v);
}

TEST_F(DateTimeText, StrToDateFollowsOrderSeparatorAndCenturyWindow) {
    const struct {
        const char* ShortDateFormat;
        char Separator;
        int Window;
        const char* Text;
        int Year, Month, Day;
    } cases[] = {
        {"M/d/yyyy", '/', 50, "3/5/2024", 2024, 3, 5},
        {"M/d/yyyy", '/', 50, " 3 / 5 / 2024 ", 2024, 3, 5},
        {"M/d/yyyy", '/', 50, "2/29/2024", 2024, 2, 29},
        {"M/d/yyyy", '/', 50, "3/5/2024/", 2024, 3, 5},
        {"M/d/yyyy", '/', 50, "3/5", 2024, 3, 5},
        {"M/d/yyyy", '/', 50, "3/5/0024", 24, 3, 5},
        // Window 50 from 2024: two-digit years run from 1974 to 2073.
        {"M/d/yyyy", '/', 50, "03/05/24", 2024, 3, 5},
        {"M/d/yyyy", '/', 50, "3/5/74", 1974, 3, 5},
        {"M/d/yyyy", '/', 50, "3/5/73", 2073, 3, 5},
        {"M/d/yyyy", '/', 50, "3/5/5", 2005, 3, 5},
        {"M/d/yyyy", '/', 50, "3/5/00", 2000, 3, 5},
        // Window 0: the current century.
        {"M/d/yyyy", '/', 0, "3/5/99", 2099, 3, 5},
        {"M/d/yyyy", '/', 0, "3/5/00", 2000, 3, 5},
        {"M/d/yyyy", '/', 10, "3/5/13", 2113, 3, 5},
        {"M/d/yyyy", '/', 10, "3/5/14", 2014, 3, 5},
        {"M/d/yyyy", '/', 99, "3/5/24", 2024, 3, 5},
        {"M/d/yyyy", '/', 99, "3/5/25", 1925, 3, 5},
        {"dd/mm/yyyy", '/', 50, "05/03/2024", 2024, 3, 5},
        {"dd/mm/yyyy", '/', 50, "05/03", 2024, 3, 5},
        {"yyyy/mm/dd", '/', 50, "2024/03/05", 2024, 3, 5},
        {"yyyy/mm/dd", '/', 50, "24/3/5", 2024, 3, 5},
        {"yyyy/mm/dd", '/', 50, "03/05", 2024, 3, 5},
        {"yyyy/mm/dd", '/', 50, "1899/12/29", 1899, 12, 29},
        {"dd-mm-yyyy", '-', 50, "05-03-2024", 2024, 3, 5},
        {"d.M.yy", '.', 50, "5.3.99", 1999, 3, 5},
        {"'Day' d/M/yy", '/', 50, "5/3/99", 1999, 3, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.ShortDateFormat << " window " << c.Window << " \"" << c.Text << '"');
        ResetFormatSettings();
        FormatSettings().ShortDateFormat = c.ShortDateFormat;
        FormatSettings().DateSeparator = c.Separator;
        FormatSettings().TwoDigitYearCenturyWindow = c.Window;
        EXPECT_EQ(StrToDate(c.Text), EncodeDate(c.Year, c.Month, c.Day));
    }
}

TEST_F(DateTimeText, StrToDateRejectsInvalidTexts) {
    const char* cases[] = {"",          "   ",       "abc",       "2/30/2024",
                           "13/1/2024", "2/29/2023", "0/1/2024",  "1/2/3/4",
                           "1/2/2024x", "1/",        "/1/2024",   "1/2/",
                           "1//2024",   "1-2-2024",  "1/2/12345", "1/2/2024 10:00"};
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        TDateTime untouched = 7.5;
        EXPECT_FALSE(TryStrToDate(text, untouched));
        EXPECT_EQ(untouched, 7.5);
        EXPECT_EQ(StrToDateDef(text, 7.5), 7.5);
        try {
            StrToDate(text);
            ADD_FAILURE() << "no exception";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, "'" + AnsiString(text) + "' is not a valid date");
        }
    }
    EXPECT_EQ(StrToDateDef("3/5/2024", 7.5), EncodeDate(2024, 3, 5));
}

TEST_F(DateTimeText, StrToTimeReadsHoursMinutesSecondsAndMarkers) {
    FormatSettings().TimeAMString = "vorm.";
    const struct {
        const char* Text;
        int Hour, Min, Sec, MSec;
    } cases[] = {
        {"14:07", 14, 7, 0, 0},
        {"14:07:09", 14, 7, 9, 0},
        {" 14 : 07 : 09 ", 14, 7, 9, 0},
        {"14", 14, 0, 0, 0},
        {"0:00", 0, 0, 0, 0},
        {"23:59:59.999", 23, 59, 59, 999},
        {"14:07:09.045", 14, 7, 9, 45},
        {"2:07 PM", 14, 7, 0, 0},
        {"2:07:09 pm", 14, 7, 9, 0},
        {"PM 2:07", 14, 7, 0, 0},
        {"pm2:07", 14, 7, 0, 0},
        {"12:00 AM", 0, 0, 0, 0},
        {"12:30 PM", 12, 30, 0, 0},
        {"9 AM", 9, 0, 0, 0},
        {"9:00 vorm.", 9, 0, 0, 0},
        {"9:00 VORM.", 9, 0, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StrToTime(c.Text), EncodeTime(c.Hour, c.Min, c.Sec, c.MSec)) << c.Text;

    FormatSettings().TimeSeparator = '.';
    EXPECT_EQ(StrToTime("14.07"), EncodeTime(14, 7, 0, 0));
    EXPECT_THROW(StrToTime("14:07"), EConvertError);
}

TEST_F(DateTimeText, StrToTimeRejectsInvalidTexts) {
    const char* cases[] = {"",      "x",      "24:00",      "13:00 PM", "0:30 AM",
                           "14:60", "14:07:", "14:07 junk", ":30",      "14:07:09.",
                           "14.07", "10000",  "12:00 AMX",  "AM",       "14:07:60"};
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        TDateTime value;
        EXPECT_FALSE(TryStrToTime(text, value));
        try {
            StrToTime(text);
            ADD_FAILURE() << "no exception";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, "'" + AnsiString(text) + "' is not a valid time");
        }
    }
}

TEST_F(DateTimeText, StrToDateTimeTakesADateATimeOrBoth) {
    const struct {
        const char* Text;
        double Expected;
    } cases[] = {
        {"3/5/2024 14:07:09", EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0)},
        {"3/5/2024 2:07 PM", EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 0, 0)},
        {"3/5/2024/14:07", EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 0, 0)},
        {"3/5/2024", EncodeDate(2024, 3, 5)},
        {"3/5 14:07", EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 0, 0)},
        {"14:07", EncodeTime(14, 7, 0, 0)},
        {"12/29/1899 06:00", -1.25},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StrToDateTime(c.Text), c.Expected) << c.Text;

    const char* invalid[] = {"",
                             "x",
                             "3/5/2024 25:00",
                             "3/5/2024 14:07 junk",
                             "2/30/2024 10:00",
                             "3/5/2024 14:07:09.1.2"};
    for (const char* text : invalid) {
        SCOPED_TRACE(text);
        TDateTime value;
        EXPECT_FALSE(TryStrToDateTime(text, value));
        try {
            StrToDateTime(text);
            ADD_FAILURE() << "no exception";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, "'" + AnsiString(text) + "' is not a valid date and time");
        }
    }
}

} // namespace
