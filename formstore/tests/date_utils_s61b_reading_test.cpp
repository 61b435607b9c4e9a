// Calendar arithmetic, parsing of date texts against a format with the
// century window, default formats and masks, and long date texts, run with
// the clock standing in 2026 and the English format settings.
#include "formstore/DateUtil.h"

#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace formstore;

namespace {

class DateUtilsReading : public ::testing::Test {
protected:
    void SetUp() override {
        ResetFormatSettings();
        CenturyOffset = 60;
    }
    void TearDown() override {
        ResetFormatSettings();
        CenturyOffset = 60;
    }
    ManualClock Clock{EncodeDate(2026, 6, 15) + EncodeTime(10, 0, 0, 0)};
    ScopedClock Guard{Clock};
};

struct ParseCase {
    const char* Format;
    const char* Text;
    int Year, Month, Day; // Year 0: the parse fails
};

} // namespace

TEST_F(DateUtilsReading, ParsingByPositionThenFreely) {
    const ParseCase Cases[] = {
        {"MM/dd/yyyy", "12/31/2001", 2001, 12, 31},
        {"M/d/yyyy", "12/31/2001", 2001, 12, 31},   // longer than the format: free parse
        {"dd/MM/yyyy", "31/12/01", 2001, 12, 31},   // 01 widened
        {"M/d", "12/31", 2026, 12, 31},             // no year: this year
        {"d/M", "31/12", 2026, 12, 31},             // day first without a year
        {"dd/MM/yyyy", "5/6/2001", 2001, 6, 5},     // order from the format
        {"yyyy/MM/dd", "2001/12/31", 2001, 12, 31},
        {"yyyy-MM-dd", "2001-12-31", 2001, 12, 31}, // by position, any separator
        {"MMM dd yyyy", "Dec 31 2001", 2001, 12, 31},
        {"MM/dd/yyyy", " 1/ 2/2001", 2001, 1, 2},   // spaces are not taken
        {"dd/MM/yy", "01/01/66", 1966, 1, 1},
        {"dd/MM/yy", "01/01/65", 2065, 1, 1},
        {"M/d/yyyy", "2/29/2000", 2000, 2, 29},
        {"M/d/yyyy", "12/31/2001 ", 2001, 12, 31},  // trailing spaces
        {"M/d/yyyy", "12/31/2001/", 2001, 12, 31},  // one trailing separator
        {"M/d/yyyy", "2/30/2001", 0, 0, 0},
        {"M/d/yyyy", "12/31/2001 x", 0, 0, 0},
        {"M/d/yyyy", "2/29/2001", 0, 0, 0},
        {"M/d/yyyy", "12", 0, 0, 0},
        {"M/d/yyyy", "12/", 0, 0, 0},
        {"M/d/yyyy", "12/31/", 0, 0, 0},
        {"M/d/yyyy", "abc", 0, 0, 0},
        {"M/d/yyyy", "13/1/2001", 0, 0, 0},
        {"M/d/yyyy", "1/1/10000", 0, 0, 0},
        {"M/d/yyyy", "1/1/020011", 0, 0, 0},       // at most four digits are read
        {"yyyyyyyyyyyyyyyyyyyyyyyyy", "9999999999999999999999999", 0, 0, 0},
        {"M/d/yyyy", "99999999999/1/2001", 0, 0, 0},
        {"MMM/d/yyyy", "\xff\xfe\xfd/1/2001", 0, 0, 0},
        {"M/d/yyyy", "01/01/0002001", 2001, 1, 1}, // leading zeros do not count
    };
    const TDateTime Default = EncodeDate(1999, 9, 9) + 0.75;
    for (const ParseCase& C : Cases) {
        SCOPED_TRACE(std::string(C.Format) + " '" + C.Text + "'");
        if (C.Year == 0) {
            try {
                StrToDateFmt(C.Format, C.Text);
                ADD_FAILURE() << "no error";
            } catch (const EConvertError& E) {
                EXPECT_EQ(E.Message, AnsiString("'") + C.Text + "' is not a valid date");
            }
            EXPECT_EQ(StrToDateFmtDef(C.Format, C.Text, Default), EncodeDate(1999, 9, 9));
        } else {
            const TDateTime Expected = EncodeDate(C.Year, C.Month, C.Day);
            EXPECT_EQ(StrToDateFmt(C.Format, C.Text), Expected);
            EXPECT_EQ(StrToDateFmtDef(C.Format, C.Text, Default), Expected);
        }
    }
    EXPECT_EQ(StrToDateFmt("M/d/yyyy", ""), NullDate);
}

TEST_F(DateUtilsReading, CenturyWindowFollowsCenturyOffset) {
    CenturyOffset = 0;
    EXPECT_EQ(StrToDateFmt("dd/MM/yy", "01/01/99"), EncodeDate(2099, 1, 1));
    EXPECT_EQ(StrToDateFmt("dd/MM/yy", "01/01/05"), EncodeDate(2005, 1, 1));
    CenturyOffset = 10;
    EXPECT_EQ(StrToDateFmt("dd/MM/yy", "01/01/16"), EncodeDate(2016, 1, 1));
    EXPECT_EQ(StrToDateFmt("dd/MM/yy", "01/01/15"), EncodeDate(2115, 1, 1));
    // A year of 100 or more stays as it is.
    EXPECT_EQ(StrToDateFmt("dd/MM/yyyy", "01/01/0150"), EncodeDate(150, 1, 1));
}

TEST_F(DateUtilsReading, StrToDateDefReadsTheLocaleFormat) {
    EXPECT_EQ(StrToDateDef("12/31/2001", 0), EncodeDate(2001, 12, 31));
    EXPECT_EQ(StrToDateDef("31/12/2001", 5.5), 5.0);
    EXPECT_EQ(StrToDateDef("", 5.5), NullDate);
    FormatSettings().ShortDateFormat = "dd/MM/yyyy";
    EXPECT_EQ(StrToDateDef("31/12/2001", 0), EncodeDate(2001, 12, 31));
    FormatSettings().DateSeparator = '.';
    FormatSettings().ShortDateFormat = "d.M.yyyy";
    EXPECT_EQ(StrToDateDef("31.12.2001", 0), EncodeDate(2001, 12, 31));
    EXPECT_EQ(StrToDateFmtDef("d.M", "31.12", 0), EncodeDate(2026, 12, 31));
    // A locale format that starts with an era skips to the first digit.
    FormatSettings().DateSeparator = '/';
    FormatSettings().ShortDateFormat = "gg yyyy/MM/dd";
    EXPECT_EQ(StrToDateFmt("yyyy/MM/dd", "H 2001/12/31"), EncodeDate(2001, 12, 31));
}

TEST_F(DateUtilsReading, CalendarShiftsKeepTheTimeOfDay) {
    struct {
        int Y, M, D, Days, Months, Years;
        int EY, EM, ED;
    } Cases[] = {
        {2001, 1, 31, 0, 1, 0, 2001, 2, 28},   {2000, 1, 31, 0, 1, 0, 2000, 2, 29},
        {2000, 2, 29, 0, 0, 1, 2001, 2, 28},   {2001, 1, 15, 0, -1, 0, 2000, 12, 15},
        {2001, 1, 15, 0, -13, 0, 1999, 12, 15}, {2001, 1, 15, 0, 12, 0, 2002, 1, 15},
        {2001, 12, 15, 0, 1, 0, 2002, 1, 15},  {2001, 3, 31, 1, -1, 0, 2001, 3, 1},
        {2001, 1, 15, 0, 25, 0, 2003, 2, 15},  {2001, 1, 1, -1, 0, 0, 2000, 12, 31},
    };
    const TDateTime Time = EncodeTime(13, 45, 0, 0);
    for (const auto& C : Cases) {
        const TDateTime Got = IncDate(EncodeDate(C.Y, C.M, C.D) + Time, C.Days, C.Months, C.Years);
        EXPECT_NEAR(Got, EncodeDate(C.EY, C.EM, C.ED) + Time, 1e-9)
            << C.Y << "-" << C.M << "-" << C.D << " by " << C.Days << "d " << C.Months << "m "
            << C.Years << "y";
    }
    EXPECT_EQ(formstore::IncMonth(EncodeDate(2001, 1, 31), 1), EncodeDate(2001, 2, 28));
    EXPECT_EQ(IncYear(EncodeDate(2000, 2, 29), 4), EncodeDate(2004, 2, 29));
    EXPECT_EQ(IncDay(EncodeDate(2001, 2, 28), 1), EncodeDate(2001, 3, 1));
    EXPECT_THROW(IncYear(EncodeDate(9999, 6, 1), 1), EConvertError);
    EXPECT_THROW(formstore::IncMonth(EncodeDate(1, 1, 1), -1), EConvertError);
}

TEST_F(DateUtilsReading, DifferencesInEitherOrder) {
    struct {
        int Y1, M1, D1, Y2, M2, D2;
        Word Years, Months, Days;
        double Between;
    } Cases[] = {
        {2001, 1, 31, 2001, 3, 1, 0, 1, 1, 1.0},
        {2001, 1, 1, 2001, 3, 8, 0, 2, 7, 2.5},
        {2001, 1, 1, 2001, 2, 2, 0, 1, 1, 1.0},
        {2001, 1, 1, 2001, 1, 1, 0, 0, 0, 0.0},
        {2000, 12, 31, 2001, 1, 1, 0, 0, 1, 0.0},
        {2000, 6, 15, 2001, 6, 10, 0, 11, 25, 12.0},
        {2000, 6, 10, 2002, 3, 10, 1, 9, 0, 21.0},
        {2001, 1, 1, 2001, 1, 3, 0, 0, 2, 0.25},
        {2001, 1, 1, 2001, 1, 16, 0, 0, 15, 0.75},
        {2001, 1, 1, 2001, 1, 22, 0, 0, 21, 1.0},
    };
    for (const auto& C : Cases) {
        const TDateTime A = EncodeDate(C.Y1, C.M1, C.D1), B = EncodeDate(C.Y2, C.M2, C.D2);
        for (bool Swap : {false, true}) {
            Word Days = 99, Months = 99, Years = 99;
            DateDiff(Swap ? B : A, Swap ? A : B, Days, Months, Years);
            EXPECT_EQ(Years, C.Years) << C.Y1 << "-" << C.M1 << "-" << C.D1 << " swap " << Swap;
            EXPECT_EQ(Months, C.Months) << C.Y1 << "-" << C.M1 << "-" << C.D1 << " swap " << Swap;
            EXPECT_EQ(Days, C.Days) << C.Y1 << "-" << C.M1 << "-" << C.D1 << " swap " << Swap;
            EXPECT_DOUBLE_EQ(MonthsBetween(Swap ? B : A, Swap ? A : B), C.Between);
        }
    }
}

TEST_F(DateUtilsReading, DayCountsAndValidity) {
    const TDateTime D1 = EncodeDate(2001, 5, 1), D2 = EncodeDate(2001, 5, 2);
    EXPECT_EQ(DaysBetween(D1, D1), 1);
    EXPECT_EQ(DaysBetween(D1, D2), 2);
    EXPECT_EQ(DaysBetween(D2, D1), 0);
    EXPECT_EQ(DaysBetween(EncodeDate(2001, 5, 3), D1), 0);
    EXPECT_EQ(DaysBetween(D1 + 0.9, D2 + 0.1), 2);
    EXPECT_EQ(DaysInPeriod(D1, D2), 2);
    EXPECT_EQ(DaysInPeriod(D2, D1), 2);
    EXPECT_EQ(DaysInPeriod(D1, D1), 1);
    EXPECT_EQ(DaysInPeriod(D1, 1e9), 0);
    EXPECT_TRUE(ValidDate(D1));
    EXPECT_TRUE(ValidDate(NullDate));
    EXPECT_FALSE(ValidDate(1e9));
    EXPECT_FALSE(ValidDate(-1e9));
    EXPECT_FALSE(ValidDate(std::nan("")));
    EXPECT_EQ(CutTime(D1 + 0.75), D1);
    EXPECT_EQ(ExtractDay(D1), 1);
    EXPECT_EQ(ExtractMonth(D1), 5);
    EXPECT_EQ(ExtractYear(D1), 2001);
    struct {
        int Year, Month, Days;
    } Months[] = {{2000, 2, 29}, {1900, 2, 28}, {2001, 2, 28}, {2004, 2, 29},
                  {2001, 4, 30}, {2001, 12, 31}, {1600, 2, 29}};
    for (const auto& M : Months)
        EXPECT_EQ(DaysPerMonth(M.Year, M.Month), M.Days) << M.Year << "-" << M.Month;
    EXPECT_TRUE(formstore::IsLeapYear(2000));
    EXPECT_FALSE(formstore::IsLeapYear(1900));
}

TEST_F(DateUtilsReading, TimeShiftsAddOneDayOnlyBelowZero) {
    const TDateTime Day = EncodeDate(2001, 5, 2);
    EXPECT_NEAR(IncHour(Day + EncodeTime(0, 30, 0, 0), -1), Day - 1 + EncodeTime(23, 30, 0, 0), 1e-9);
    EXPECT_NEAR(IncHour(EncodeTime(0, 30, 0, 0), -1), EncodeTime(23, 30, 0, 0), 1e-9);
    EXPECT_NEAR(IncHour(Day, 30), Day + 1 + EncodeTime(6, 0, 0, 0), 1e-9);
    EXPECT_NEAR(IncMinute(Day, 90), Day + EncodeTime(1, 30, 0, 0), 1e-9);
    EXPECT_NEAR(IncSecond(Day, 61), Day + EncodeTime(0, 1, 1, 0), 1e-9);
    EXPECT_NEAR(IncMSec(Day, 1500), Day + EncodeTime(0, 0, 1, 500), 1e-9);
    EXPECT_NEAR(IncTime(Day, -25, 0, 0, 0), Day - 1 - 1.0 / 24, 1e-9);
}

TEST_F(DateUtilsReading, MonthsAroundTodayFromTheClock) {
    Clock.SetNow(EncodeDate(2026, 12, 15) + 0.5);
    EXPECT_EQ(FirstDayOfNextMonth(), EncodeDate(2027, 1, 1));
    EXPECT_EQ(FirstDayOfPrevMonth(), EncodeDate(2026, 11, 1));
    EXPECT_EQ(LastDayOfPrevMonth(), EncodeDate(2026, 11, 30));
    Clock.SetNow(EncodeDate(2024, 1, 31));
    EXPECT_EQ(FirstDayOfPrevMonth(), EncodeDate(2023, 12, 1));
    EXPECT_EQ(LastDayOfPrevMonth(), EncodeDate(2023, 12, 31));
    Clock.SetNow(EncodeDate(2024, 3, 31));
    EXPECT_EQ(LastDayOfPrevMonth(), EncodeDate(2024, 2, 29));
    EXPECT_EQ(formstore::CurrentYear(), 2024);
}

TEST_F(DateUtilsReading, DateOrderAndMonthNames) {
    struct {
        const char* Format;
        TDateOrder Order;
    } Orders[] = {{"yyyy-mm-dd", doYMD}, {"dd.MM.yy", doDMY}, {"", doDMY},  {"M/d/yyyy", doMDY},
                  {"ggg e/M/d", doYMD},  {"/-.", doDMY},     {"m", doMDY}, {"Y", doYMD}};
    for (const auto& O : Orders)
        EXPECT_EQ(GetDateOrder(O.Format), O.Order) << O.Format;
    struct {
        const char* Text;
        int Len;
        int Month;
    } Names[] = {{"", 3, 0},      {"MAR", 3, 3},  {"Ju", 2, 6},  {"Jul", 3, 7},
                 {"Juxx", 4, 0},  {"march", 10, 3}, {"Dec", 3, 12}, {"xyz", 3, 0}};
    for (const auto& N : Names)
        EXPECT_EQ(MonthFromName(N.Text, N.Len), N.Month) << N.Text;
}

TEST_F(DateUtilsReading, DefaultFormatsAndMasksFollowTheLocaleOrder) {
    struct {
        const char* Locale;
        const char* Four;
        const char* Two;
        const char* FourMask;
    } Cases[] = {{"M/d/yyyy", "MM/DD/YYYY", "MM/DD/YY", "!99/99/9999;1;"},
                 {"dd.MM.yy", "DD/MM/YYYY", "DD/MM/YY", "!99/99/9999;1;"},
                 {"yyyy-MM-dd", "YYYY/MM/DD", "YY/MM/DD", "!9999/99/99;1;"}};
    for (const auto& C : Cases) {
        FormatSettings().ShortDateFormat = C.Locale;
        EXPECT_EQ(DefDateFormat(true), C.Four) << C.Locale;
        EXPECT_EQ(DefDateFormat(false), C.Two) << C.Locale;
        EXPECT_EQ(DefDateMask('_', true), AnsiString(C.FourMask) + "_") << C.Locale;
        EXPECT_EQ(DefDateMask(' ', false), "!99/99/99;1; ") << C.Locale;
    }
    EXPECT_TRUE(FourDigitYear);
}

TEST_F(DateUtilsReading, LongDateTexts) {
    EXPECT_EQ(FormatLongDateTime(NullDate), "");
    EXPECT_EQ(FormatLongDate(EncodeDate(2001, 12, 31)), "Monday, December 31, 2001");
    EXPECT_EQ(FormatLongDateTime(EncodeDate(2001, 12, 31) + EncodeTime(14, 5, 6, 0)),
              "Monday, December 31, 2001 2:05:06 PM");
    FormatSettings().LongDateFormat = "d MMMM yyyy   ";
    EXPECT_EQ(FormatLongDate(EncodeDate(2001, 12, 31)), "31 December 2001");
}

TEST_F(DateUtilsReading, MonthNamesComeFromTheLocale) {
    FormatSettings().LongMonthNames[11] = "Dezember";
    FormatSettings().LongMonthNames[0] = "";
    EXPECT_EQ(MonthFromName("dez", 3), 12);
    EXPECT_EQ(MonthFromName("Dec", 3), 0);
    // A month without a name is skipped, even for a zero-length compare.
    EXPECT_EQ(MonthFromName("x", 0), 2);
    EXPECT_EQ(StrToDateFmt("MMM dd yyyy", "Dez 31 2001"), EncodeDate(2001, 12, 31));
}

TEST_F(DateUtilsReading, NoLongDateTextForAValueOutsideTheCalendar) {
    for (double Value : {1e9, -1e9, double(EncodeDate(9999, 12, 31)) + 1.0})
        EXPECT_EQ(FormatLongDate(Value), "") << Value;
    EXPECT_EQ(FormatLongDate(EncodeDate(1, 1, 1)), "Monday, January 01, 0001");
}

TEST_F(DateUtilsReading, ValuesOutsideTheCalendarDoNotBreakTheArithmetic) {
    for (double Bad : {1e9, -1e9, 1e300, -1e300}) {
        SCOPED_TRACE(Bad);
        EXPECT_FALSE(ValidDate(Bad));
        EXPECT_EQ(DaysInPeriod(Bad, 0), 0);
        EXPECT_GE(DaysBetween(Bad, 0), 0);
        (void)CutTime(Bad);
        try {
            Word D = 0, M = 0, Y = 0;
            (void)ExtractDay(Bad);
            DateDiff(Bad, 0, D, M, Y);
            (void)MonthsBetween(0, Bad);
            (void)IncDate(Bad, 1, 1, 1);
        } catch (const Exception&) {
        }
    }
    EXPECT_EQ(DaysBetween(-1e300, 0), std::numeric_limits<int>::max());
    EXPECT_EQ(DaysBetween(1e300, 0), 0);
    EXPECT_EQ(DaysBetween(std::nan(""), 0), 0);
}

TEST_F(DateUtilsReading, ExtremeShiftsRaiseTheEncodingErrorWithoutOverflow) {
    const TDateTime Day = EncodeDate(2001, 5, 2);
    const int Big = std::numeric_limits<int>::max(), Small = std::numeric_limits<int>::min();
    for (int Years : {Big, Small})
        EXPECT_THROW(IncYear(Day, Years), EConvertError) << Years;
    for (int Months : {Big, Small})
        EXPECT_THROW(formstore::IncMonth(Day, Months), EConvertError) << Months;
    EXPECT_THROW(IncDate(Day, 0, Big, Big), EConvertError);
    EXPECT_THROW(IncDate(Day, 0, Small, Small), EConvertError);
    for (int Delta : {Big, Small}) {
        EXPECT_TRUE(std::isfinite(IncHour(Day, Delta)));
        EXPECT_TRUE(std::isfinite(IncMinute(Day, Delta)));
        EXPECT_TRUE(std::isfinite(IncSecond(Day, Delta)));
        EXPECT_TRUE(std::isfinite(IncMSec(Day, Delta)));
        EXPECT_TRUE(std::isfinite(IncTime(Day, Delta, Delta, Delta, Delta)));
    }
    EXPECT_NEAR(IncHour(Day, Big), Day + Big / 24 + (Big % 24) / 24.0, 1e-6);
}
