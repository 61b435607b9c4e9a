#include "datamodules/format/DateText.h"

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

class DateTextTest : public ::testing::Test {
protected:
    void TearDown() override { ResetFormatSettings(); }
};

TDateTime At(int y, int mo, int d, int h, int mi, int s) {
    return EncodeDate(y, mo, d) + EncodeTime(h, mi, s, 0);
}

TEST_F(DateTextTest, EveryCodeHasItsPattern) {
    const TDateTime afternoon = At(2024, 3, 5, 14, 7, 9);
    const TDateTime pastMidnight = At(2026, 12, 8, 0, 5, 3);
    struct Case {
        int Code;
        TDateTime Value;
        const char* Expected;
    };
    const Case cases[] = {
        {1, afternoon, "2024/03/05"},
        {2, afternoon, "03/05/24 2:07pm"},
        {2, pastMidnight, "12/08/26 12:05am"},
        {3, afternoon, "03/05/24"},
        {4, afternoon, "240305"},
        {5, afternoon, "2:07 PM"},
        {5, pastMidnight, "12:05 AM"},
        {6, afternoon, "Tue Mar 5"},
        {7, afternoon, "03/05/2024"},
        {8, At(2026, 12, 8, 14, 5, 9), "2026/12/08 14:05:09.000"},
        {8, pastMidnight, "2026/12/08 00:05:03.000"},
        {9, afternoon, "Tue Mar 5 2:07pm"},
        {10, afternoon, "05/03/24"},
        {11, afternoon, "Mar 5 2:07pm"},
        {12, afternoon, "Mar 5 2024"},
        {13, afternoon, "05/03/2024"},
        {14, afternoon, "050324"},
        {15, afternoon, "030524"},
        {16, afternoon, "05/03/24 2:07pm"},
        {17, afternoon, "20240305"},
    };
    for (const Case& c : cases) {
        AnsiString text = "unchanged";
        FormatDateByCode(c.Value, text, c.Code);
        EXPECT_EQ(text, c.Expected) << "code " << c.Code;
    }
}

TEST_F(DateTextTest, UnknownCodeLeavesOutputButStillForcesSettings) {
    FormatSettings().ShortDateFormat = "d.m.yyyy";
    FormatSettings().TimeSeparator = '.';
    for (int code : {0, 18, -1}) {
        AnsiString text = "before";
        FormatDateByCode(At(2024, 3, 5, 14, 7, 9), text, code);
        EXPECT_EQ(text, "before") << "code " << code;
    }
    EXPECT_EQ(FormatSettings().ShortDateFormat, "yyyy/mm/dd");
    EXPECT_EQ(FormatSettings().LongTimeFormat, "hh:mm:ss");
    EXPECT_EQ(FormatSettings().TimeSeparator, ':');
}

TEST_F(DateTextTest, DisplayDatesUseTheDateSeparatorAndStoredDatesStillRead) {
    FormatSettings().DateSeparator = '-';
    const struct {
        int Code;
        const char* Expected;
    } cases[] = {
        {10, "08-12-26"},
        {8, "2026-12-08 14:05:09.000"},
        {16, "08-12-26 2:05pm"},
        {17, "20261208"},
    };
    for (const auto& c : cases) {
        AnsiString text;
        FormatDateByCode(At(2026, 12, 8, 14, 5, 9), text, c.Code);
        EXPECT_EQ(text, c.Expected) << "code " << c.Code;
    }
    // Stored texts keep their slashes, and are shown with the separator.
    AnsiString shown;
    DateTimeTextToDateText("2026/12/08 14:05:09", shown, 1);
    EXPECT_EQ(shown, "12-08-26");
    TDateTime parsed;
    ParseDateText("2026/12/08", parsed);
    EXPECT_EQ(parsed, EncodeDate(2026, 12, 8));
    EXPECT_EQ(FormatSettings().DateSeparator, '-');
}

TEST_F(DateTextTest, TimeTextOfStoredDateTimes) {
    struct Case {
        const char* Stored;
        const char* Expected;
    };
    const Case cases[] = {
        {"2026/12/08", "12:00 AM"},
        {"2026/12/08 14:05:09", "2:05 PM"},
        {"2026/12/08 12:30:00", "12:30 PM"},
    };
    for (const Case& c : cases) {
        AnsiString text;
        DateTimeTextToTimeText(c.Stored, text);
        EXPECT_EQ(text, c.Expected) << c.Stored;
    }
    AnsiString text = "kept";
    EXPECT_THROW(DateTimeTextToTimeText("2026/12/08 xx:05:09", text), EConvertError);
    EXPECT_EQ(text, "kept");
}

TEST_F(DateTextTest, DateTextAndParsingOfStoredDates) {
    AnsiString text;
    DateTimeTextToDateText("2026/12/08 14:05:09", text, 1);
    EXPECT_EQ(text, "12/08/26");
    DateTimeTextToDateText("2026/12/08", text, 0);
    EXPECT_EQ(text, "2026/12/08");

    TDateTime parsed;
    ParseDateText("2026/12/08 14:05:09", parsed);
    EXPECT_EQ(parsed, EncodeDate(2026, 12, 8));

    try {
        ParseDateText("2026/13/45", parsed);
        FAIL() << "an impossible date was accepted";
    } catch (const EConvertError& error) {
        EXPECT_STREQ(error.what(), "'2026/13/45' is not a valid date");
    }
    EXPECT_THROW(DateTimeTextToDateText("not a date", text, 1), EConvertError);
}

TEST_F(DateTextTest, DateTextByPreferenceRearrangesStoredDates) {
    struct Case {
        int Preference;
        const char* Stored;
        const char* Expected;
    };
    const Case cases[] = {
        {1, "2026/12/08", "12/08/26"},
        {2, "2026/12/08", "08/12/26"},
        {0, "2026/12/08 14:05:09", "08/12/26"},
        {1, "", ""},
        {1, "2026/1", "1//26"}, // a cut-off text reads no further than it goes
    };
    for (const Case& c : cases) {
        AnsiString text = "before";
        DateTextByPreference(c.Preference, c.Stored, text);
        EXPECT_EQ(text, c.Expected) << c.Preference << " " << c.Stored;
    }
    AnsiString text = "before";
    ConvertDateText("2026/12/08", text, 5);
    EXPECT_EQ(text, "before");
}

TEST_F(DateTextTest, MinutesInEachMode) {
    struct Case {
        int Mode;
        float Minutes;
        const char* Expected;
    };
    const Case cases[] = {
        {0, 75, "75"},
        {0, 7.5f, "7.5"},
        {0, 7.3f, "7.3"},
        {1, 75, "01:15"},
        {1, 5, "00:05"},
        {1, 6000, "100:00"},
        {1, 59.9f, "00:59"},
        {1, 60, "01:00"},
        {2, 75, "1.25"},
        {2, 0, "0.00"},
        {3, 75, "before"},
        {-1, 75, "before"},
        // Minute counts far beyond an int are truncated in a type wide
        // enough for any float, never wrapped.
        {1, 3e9f, "50000000:00"},
        {1, 1e10f, "166666666:40"},
        {1, 3.4e38f, "5666666586907273748462206896656071611:44"},
        // Below an hour the minutes keep their sign.
        {1, -5.9f, "00:-5"},
        {1, -1e12f, "00:-999999995904"},
        {1, -0.5f, "00:00"},
        {1, std::numeric_limits<float>::quiet_NaN(), "NAN"},
        {1, std::numeric_limits<float>::infinity(), "INF"},
        {1, -std::numeric_limits<float>::infinity(), "-INF"},
    };
    for (const Case& c : cases) {
        AnsiString text = "before";
        FormatMinutes(c.Mode, c.Minutes, text);
        EXPECT_EQ(text, c.Expected) << "mode " << c.Mode << " minutes " << c.Minutes;
    }
}

TEST_F(DateTextTest, TwelveHourClockToTwentyFour) {
    struct Case {
        int AmPm, Hour12, Expected;
    };
    const Case cases[] = {{0, 12, 0}, {1, 12, 12}, {1, 1, 13}, {0, 11, 11}, {2, 7, 7}, {1, 11, 23}};
    for (const Case& c : cases) {
        int hour = -1;
        Hour12To24(c.AmPm, c.Hour12, hour);
        EXPECT_EQ(hour, c.Expected) << c.AmPm << " " << c.Hour12;
    }
}

} // namespace
