#include "formstore/DateUtil.h"

#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <array>

using namespace formstore;

namespace {

// Today is 15 May 2026, 10:00, for every test here.
class DateUtilTest : public ::testing::Test {
protected:
    DateUtilTest() : Today(EncodeDate(2026, 5, 15) + EncodeTime(10, 0, 0, 0)), Guard(Today) {
        ResetFormatSettings();
        CenturyOffset = 60;
    }
    ~DateUtilTest() override {
        ResetFormatSettings();
        CenturyOffset = 60;
    }

    ManualClock Today;
    ScopedClock Guard;
};

TDateTime D(int Y, int M, int Day) {
    return EncodeDate(Y, M, Day);
}

TEST_F(DateUtilTest, CalendarShifts) {
    const struct {
        const char* Name;
        TDateTime Result, Expected;
    } cases[] = {
        {"31 Jan + 1 month", formstore::IncMonth(D(2001, 1, 31), 1), D(2001, 2, 28)},
        {"31 Jan 2000 + 1 month (leap)", formstore::IncMonth(D(2000, 1, 31), 1), D(2000, 2, 29)},
        {"29 Feb 2000 + 1 year", IncYear(D(2000, 2, 29), 1), D(2001, 2, 28)},
        {"15 Jan - 1 month", IncDate(D(2001, 1, 15), 0, -1, 0), D(2000, 12, 15)},
        {"-13 months", IncDate(D(2001, 3, 10), 0, -13, 0), D(2000, 2, 10)},
        {"+14 months", IncDate(D(2001, 11, 30), 0, 14, 0), D(2003, 1, 30)},
        {"days after the months", IncDate(D(2001, 1, 31), 1, 1, 0), D(2001, 3, 1)},
        {"IncDay", IncDay(D(2001, 12, 31), 1), D(2002, 1, 1)},
        {"CutTime", CutTime(D(2001, 1, 1) + 0.75), D(2001, 1, 1)},
        {"IncHour back over midnight", IncHour(D(2001, 1, 2) + 0.5 / 24, -1),
         D(2001, 1, 1) + 23.5 / 24},
        {"IncMinute", IncMinute(D(2001, 1, 1), 90), D(2001, 1, 1) + 1.5 / 24},
        {"IncHour by more than a day", IncHour(D(2001, 1, 1), 49), D(2001, 1, 3) + 1.0 / 24},
        {"IncTime below 0 adds a day once", IncSecond(TDateTime(0.0), -1), 1.0 - 1.0 / SecsPerDay},
        {"IncMSec", IncMSec(D(2001, 1, 1), 500), D(2001, 1, 1) + 500 / MSecsPerDay},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(c.Result, c.Expected, 1e-9) << c.Name;
}

TEST_F(DateUtilTest, IncDateKeepsTheTimeOfDayAndRefusesYearsOutOfRange) {
    const TDateTime Noon = D(2001, 1, 31) + 0.5;
    EXPECT_NEAR(IncDate(Noon, 0, 1, 0), D(2001, 2, 28) + 0.5, 1e-9);
    EXPECT_THROW(IncYear(D(9999, 6, 1), 1), EConvertError);
}

// Calendar shifts on both sides of day zero (30 Dec 1899), where the time of
// day counts away from zero; expected values from Python's datetime
// (timedelta for days, month arithmetic clamped to the month's length).
TEST_F(DateUtilTest, IncDateAgreesWithPythonAcrossDayZero) {
    struct Stamp {
        int Y, M, D, H, Min;
    };
    const struct {
        Stamp From;
        int Days, Months, Years;
        Stamp Expected;
    } cases[] = {
        {{1899, 12, 29, 12, 0}, 0, 1, 0, {1900, 1, 29, 12, 0}},
        {{1899, 12, 29, 18, 0}, 0, 0, 1, {1900, 12, 29, 18, 0}},
        {{1900, 1, 29, 6, 0}, 0, -1, 0, {1899, 12, 29, 6, 0}},
        {{1899, 12, 31, 6, 0}, -2, 0, 0, {1899, 12, 29, 6, 0}},
        {{1899, 12, 30, 0, 0}, -1, 0, 0, {1899, 12, 29, 0, 0}},
        {{1899, 12, 28, 21, 0}, 3, 0, 0, {1899, 12, 31, 21, 0}},
        {{1800, 3, 31, 9, 30}, 0, -1, 0, {1800, 2, 28, 9, 30}},
        {{1899, 11, 30, 12, 0}, 0, 1, 0, {1899, 12, 30, 12, 0}},
        {{2001, 1, 31, 12, 0}, 0, 1, 0, {2001, 2, 28, 12, 0}},
        {{1899, 12, 29, 12, 0}, 0, -13, 0, {1898, 11, 29, 12, 0}},
    };
    for (const auto& c : cases) {
        TDateTime From = D(c.From.Y, c.From.M, c.From.D);
        ReplaceTime(From, EncodeTime(c.From.H, c.From.Min, 0, 0));
        Word Y, M, Day, H, Min, Sec, MSec;
        DecodeDateTime(IncDate(From, c.Days, c.Months, c.Years), Y, M, Day, H, Min, Sec, MSec);
        EXPECT_EQ((std::array<int, 5>{Y, M, Day, H, Min}),
                  (std::array<int, 5>{c.Expected.Y, c.Expected.M, c.Expected.D, c.Expected.H,
                                      c.Expected.Min}))
            << c.From.Y << "-" << c.From.M << "-" << c.From.D << " " << c.Days << "d " << c.Months
            << "m " << c.Years << "y";
    }
}

TEST_F(DateUtilTest, DateDiffBorrowsTheEarlierMonthInEitherOrder) {
    const struct {
        TDateTime A, B;
        Word Days, Months, Years;
    } cases[] = {
        {D(2001, 1, 31), D(2001, 3, 1), 1, 1, 0},   {D(2001, 3, 1), D(2001, 1, 31), 1, 1, 0},
        {D(2000, 12, 20), D(2001, 1, 5), 16, 0, 0}, {D(1999, 5, 10), D(2001, 3, 12), 2, 10, 1},
        {D(2001, 1, 1), D(2001, 1, 1), 0, 0, 0},
    };
    for (const auto& c : cases) {
        Word Days, Months, Years;
        DateDiff(c.A, c.B, Days, Months, Years);
        EXPECT_EQ(Days, c.Days);
        EXPECT_EQ(Months, c.Months);
        EXPECT_EQ(Years, c.Years);
    }
}

TEST_F(DateUtilTest, MonthsBetweenCountsQuarterMonths) {
    const struct {
        TDateTime A, B;
        double Expected;
    } cases[] = {
        {D(2001, 1, 1), D(2001, 3, 8), 2.5},  {D(2001, 1, 1), D(2001, 2, 2), 1.0},
        {D(2001, 1, 1), D(2001, 1, 3), 0.25}, {D(2001, 1, 1), D(2001, 1, 16), 0.75},
        {D(2001, 1, 1), D(2001, 1, 22), 1.0},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(MonthsBetween(c.A, c.B), c.Expected);
}

TEST_F(DateUtilTest, DayCounts) {
    EXPECT_EQ(DaysBetween(D(2001, 1, 1), D(2001, 1, 1) + 0.9), 1);
    EXPECT_EQ(DaysBetween(D(2001, 1, 2), D(2001, 1, 1)), 0);
    EXPECT_EQ(DaysBetween(D(2001, 1, 5), D(2001, 1, 1)), 0);
    EXPECT_EQ(DaysInPeriod(D(2001, 1, 2), D(2001, 1, 1)), 2);
    EXPECT_EQ(DaysInPeriod(D(2001, 1, 1), D(2001, 12, 31)), 365);
    EXPECT_EQ(DaysInPeriod(D(2001, 1, 1), 1e9), 0);
    EXPECT_TRUE(ValidDate(D(2001, 1, 1)));
    EXPECT_FALSE(ValidDate(-1e9));
    EXPECT_EQ(DaysPerMonth(2000, 2), 29);
    EXPECT_EQ(DaysPerMonth(1900, 2), 28);
    EXPECT_THROW(DaysPerMonth(2000, 13), EConvertError);
}

TEST_F(DateUtilTest, MonthsAroundTodayFollowTheClock) {
    EXPECT_EQ(FirstDayOfNextMonth(), D(2026, 6, 1));
    EXPECT_EQ(FirstDayOfPrevMonth(), D(2026, 4, 1));
    EXPECT_EQ(LastDayOfPrevMonth(), D(2026, 4, 30));
    EXPECT_EQ(formstore::CurrentYear(), 2026);

    Today.SetNow(D(2027, 1, 10));
    EXPECT_EQ(FirstDayOfPrevMonth(), D(2026, 12, 1));
    EXPECT_EQ(LastDayOfPrevMonth(), D(2026, 12, 31));
    Today.SetNow(D(2026, 12, 10));
    EXPECT_EQ(FirstDayOfNextMonth(), D(2027, 1, 1));
}

TEST_F(DateUtilTest, ParsingByFormat) {
    const struct {
        const char* Format;
        const char* Text;
        TDateTime Expected;
    } cases[] = {
        {"MM/dd/yyyy", "12/31/2001", D(2001, 12, 31)}, // by position
        {"M/d/yyyy", "12/31/2001", D(2001, 12, 31)},   // text too long: free parse
        {"dd/MM/yyyy", "31/12/01", D(2001, 12, 31)},   // 01 widened to 2001
        {"dd/MM/yyyy", "31/12/66", D(1966, 12, 31)},
        {"dd/MM/yyyy", "31/12/65", D(2065, 12, 31)},
        {"M/d", "12/31", D(2026, 12, 31)},
        {"dd-MMM-yyyy", "05-Feb-2001", D(2001, 2, 5)}, // month by name
        {"yyyy/mm/dd", " 2001 / 2 / 3 ", D(2001, 2, 3)},
        {"MM/dd/yyyy", "12/31", D(2026, 12, 31)},     // a blank year is no year
        {"M/d/yyyy", "12/31/2001/", D(2001, 12, 31)}, // one trailing separator
        {"M/d/yyyy", "", NullDate},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StrToDateFmt(c.Format, c.Text), c.Expected) << c.Format << " " << c.Text;
        EXPECT_EQ(StrToDateFmtDef(c.Format, c.Text, 99.5), c.Expected) << c.Format << " " << c.Text;
    }
}

TEST_F(DateUtilTest, TextThatIsNoDateIsRefused) {
    const struct {
        const char* Format;
        const char* Text;
    } cases[] = {
        {"M/d/yyyy", "2/30/2001"},    {"M/d/yyyy", "12/31/2001 x"}, {"M/d/yyyy", "12"},
        {"M/d/yyyy", "12/31/"},       {"M/d/yyyy", "1/2/3/4"},      {"M/d/yyyy", "12345/1/1"},
        {"dd-MMM-yyyy", "05-Xyz-01"}, {"M/d/yyyy", "13/1/2001"},    {"MM/dd/yyyy", "12/31/"},
        {"MM/dd/yyyy", "12/31/    "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StrToDateFmtDef(c.Format, c.Text, 100.75), 100.0) << c.Text;
        try {
            StrToDateFmt(c.Format, c.Text);
            ADD_FAILURE() << c.Text << " was taken as a date";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, AnsiString("'") + c.Text + "' is not a valid date");
        }
    }
}

TEST_F(DateUtilTest, CenturyWindow) {
    CenturyOffset = 0;
    EXPECT_EQ(StrToDateFmt("dd/MM/yy", "01/01/99"), D(2099, 1, 1));
    CenturyOffset = 20;
    EXPECT_EQ(StrToDateFmt("dd/MM/yy", "01/01/06"), D(2006, 1, 1));
    EXPECT_EQ(StrToDateFmt("dd/MM/yy", "01/01/05"), D(2105, 1, 1));
    Today.SetNow(D(2099, 6, 1));
    CenturyOffset = 60;
    EXPECT_EQ(StrToDateFmt("dd/MM/yy", "01/01/39"), D(2039, 1, 1));
    EXPECT_EQ(StrToDateFmt("dd/MM/yy", "01/01/38"), D(2138, 1, 1));
}

TEST_F(DateUtilTest, StrToDateDefUsesTheShortDateFormat) {
    EXPECT_EQ(formstore::StrToDateDef("2/3/2001", 0), D(2001, 2, 3));
    FormatSettings().ShortDateFormat = "dd.MM.yyyy";
    FormatSettings().DateSeparator = '.';
    EXPECT_EQ(formstore::StrToDateDef("02.03.2001", 0), D(2001, 3, 2));
    EXPECT_EQ(formstore::StrToDateDef("2.3.2001", 0), D(2001, 3, 2));
    EXPECT_EQ(formstore::StrToDateDef("2/3/2001", D(2000, 1, 1) + 0.5), D(2000, 1, 1));
}

TEST_F(DateUtilTest, AnEraFormatSkipsToTheFirstDigit) {
    FormatSettings().ShortDateFormat = "gg yyyy/M/d";
    EXPECT_EQ(StrToDateFmt("yyyy/M/d", "AD 2001/2/3"), D(2001, 2, 3));
}

TEST_F(DateUtilTest, DateOrderAndDefaultFormats) {
    EXPECT_EQ(GetDateOrder("yyyy-mm-dd"), doYMD);
    EXPECT_EQ(GetDateOrder("dd.MM.yy"), doDMY);
    EXPECT_EQ(GetDateOrder("M/d/yyyy"), doMDY);
    EXPECT_EQ(GetDateOrder("ee/MM/dd"), doYMD);
    EXPECT_EQ(GetDateOrder(""), doDMY);

    const struct {
        const char* ShortDate;
        bool Four;
        const char* Format;
        const char* Mask;
    } cases[] = {
        {"M/d/yyyy", true, "MM/DD/YYYY", "!99/99/9999;1;_"},
        {"d/M/yyyy", true, "DD/MM/YYYY", "!99/99/9999;1;_"},
        {"yyyy/M/d", true, "YYYY/MM/DD", "!9999/99/99;1;_"},
        {"M/d/yy", false, "MM/DD/YY", "!99/99/99;1;_"},
        {"d/M/yy", false, "DD/MM/YY", "!99/99/99;1;_"},
        {"yy/M/d", false, "YY/MM/DD", "!99/99/99;1;_"},
    };
    for (const auto& c : cases) {
        FormatSettings().ShortDateFormat = c.ShortDate;
        EXPECT_EQ(DefDateFormat(c.Four), c.Format) << c.ShortDate;
        EXPECT_EQ(DefDateMask('_', c.Four), c.Mask) << c.ShortDate;
    }
}

TEST_F(DateUtilTest, MonthFromNameMatchesPrefixesIgnoringCase) {
    EXPECT_EQ(MonthFromName("mar", 3), 3);
    EXPECT_EQ(MonthFromName("JUNE", 4), 6);
    EXPECT_EQ(MonthFromName("Ju", 2), 6); // the first of June and July
    EXPECT_EQ(MonthFromName("Marx", 4), 0);
    EXPECT_EQ(MonthFromName("", 3), 0);
}

TEST_F(DateUtilTest, LongDateTexts) {
    EXPECT_EQ(FormatLongDate(D(2001, 2, 3)), "Saturday, February 03, 2001");
    EXPECT_EQ(FormatLongDateTime(D(2001, 2, 3) + 0.75), "Saturday, February 03, 2001 6:00:00 PM");
    EXPECT_EQ(FormatLongDateTime(NullDate), "");
}

TEST_F(DateUtilTest, ComponentsAndLeapYears) {
    EXPECT_EQ(ExtractDay(D(2001, 2, 3) + 0.5), 3);
    EXPECT_EQ(ExtractMonth(D(2001, 2, 3)), 2);
    EXPECT_EQ(ExtractYear(D(2001, 2, 3)), 2001);
    EXPECT_TRUE(formstore::IsLeapYear(2000));
    EXPECT_FALSE(formstore::IsLeapYear(1900));
    EXPECT_TRUE(formstore::IsLeapYear(2024));
    EXPECT_FALSE(formstore::IsLeapYear(2023));
}

} // namespace
