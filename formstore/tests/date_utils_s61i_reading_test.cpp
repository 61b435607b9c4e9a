// The date routines against a clock standing on 15 June 2026 and the
// default English format settings.
#include "formstore/DateUtil.h"

#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace formstore;

namespace {

TDateTime Day(int Y, int M, int D) {
    return EncodeDate(Y, M, D);
}

class DateUtilsFreshReading : public ::testing::Test {
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

TEST_F(DateUtilsFreshReading, CalendarShifts) {
    struct Case {
        const char* Name;
        TDateTime From;
        int Days, Months, Years;
        TDateTime Expected;
    };
    const double Noon = 0.5;
    const std::vector<Case> Cases = {
        {"end of January plus a month", Day(2001, 1, 31), 0, 1, 0, Day(2001, 2, 28)},
        {"leap day plus a year", Day(2000, 2, 29), 0, 0, 1, Day(2001, 2, 28)},
        {"back over the year", Day(2001, 1, 15), 0, -1, 0, Day(2000, 12, 15)},
        {"minus thirteen months", Day(2001, 3, 31), 0, -13, 0, Day(2000, 2, 29)},
        {"plus fourteen months", Day(2001, 11, 30), 0, 14, 0, Day(2003, 1, 30)},
        {"days after months", Day(2001, 1, 31), 1, 1, 0, Day(2001, 3, 1)},
        {"time of day kept", Day(2001, 1, 31) + Noon, 0, 1, 0, Day(2001, 2, 28) + Noon},
    };
    for (const Case& C : Cases)
        EXPECT_DOUBLE_EQ(IncDate(C.From, C.Days, C.Months, C.Years), C.Expected) << C.Name;
    EXPECT_DOUBLE_EQ(formstore::IncMonth(Day(2004, 1, 31), 1), Day(2004, 2, 29));
    EXPECT_DOUBLE_EQ(formstore::IncYear(Day(2004, 2, 29), -4), Day(2000, 2, 29));
    EXPECT_DOUBLE_EQ(formstore::IncDay(Day(2004, 2, 28), 2), Day(2004, 3, 1));
    EXPECT_THROW(formstore::IncYear(Day(9999, 12, 1), 1), EConvertError);
}

TEST_F(DateUtilsFreshReading, CalendarDistances) {
    struct Case {
        TDateTime A, B;
        Word Days, Months, Years;
        double Between;
    };
    const std::vector<Case> Cases = {
        {Day(2001, 1, 31), Day(2001, 3, 1), 1, 1, 0, 1.0},
        {Day(2001, 1, 1), Day(2001, 3, 8), 7, 2, 0, 2.5},
        {Day(2001, 1, 1), Day(2001, 2, 2), 1, 1, 0, 1.0},
        {Day(2001, 1, 1), Day(2001, 1, 3), 2, 0, 0, 0.25},
        {Day(2001, 1, 1), Day(2001, 1, 16), 15, 0, 0, 0.75},
        {Day(2001, 1, 1), Day(2001, 1, 22), 21, 0, 0, 1.0},
        {Day(2000, 12, 31), Day(2001, 1, 1), 1, 0, 0, 0.0},
        {Day(2000, 5, 20), Day(2002, 3, 10), 21, 9, 1, 22.0},
    };
    for (const Case& C : Cases) {
        for (bool Swap : {false, true}) {
            Word D = 99, M = 99, Y = 99;
            DateDiff(Swap ? C.B : C.A, Swap ? C.A : C.B, D, M, Y);
            EXPECT_EQ(D, C.Days) << C.A << " " << C.B << " " << Swap;
            EXPECT_EQ(M, C.Months) << C.A << " " << C.B << " " << Swap;
            EXPECT_EQ(Y, C.Years) << C.A << " " << C.B << " " << Swap;
            EXPECT_DOUBLE_EQ(MonthsBetween(Swap ? C.B : C.A, Swap ? C.A : C.B), C.Between)
                << C.A << " " << C.B;
        }
    }
    const TDateTime D1 = Day(2001, 1, 1) + 0.75, D2 = Day(2001, 1, 2) + 0.25;
    EXPECT_EQ(DaysBetween(D1, D1), 1);
    EXPECT_EQ(DaysBetween(D1, D2), 2);
    EXPECT_EQ(DaysBetween(D2, D1), 0);
    EXPECT_EQ(DaysBetween(Day(2001, 1, 5), Day(2001, 1, 1)), 0);
    EXPECT_EQ(DaysInPeriod(D2, D1), 2);
    EXPECT_EQ(DaysInPeriod(D1, D2), 2);
    EXPECT_EQ(DaysInPeriod(D1, 1e9), 0);
    EXPECT_TRUE(ValidDate(D1));
    EXPECT_FALSE(ValidDate(1e9));
    EXPECT_FALSE(ValidDate(-1e9));
}

TEST_F(DateUtilsFreshReading, TimeShifts) {
    const TDateTime HalfPast = EncodeTime(0, 30, 0, 0);
    EXPECT_NEAR(IncHour(Day(2001, 1, 15) + HalfPast, -1), Day(2001, 1, 14) + EncodeTime(23, 30, 0, 0),
                1e-9);
    EXPECT_NEAR(IncHour(HalfPast, -1), 1 + HalfPast - 1.0 / 24, 1e-9);
    EXPECT_NEAR(IncHour(Day(2001, 1, 15), 25), Day(2001, 1, 16) + 1.0 / 24, 1e-9);
    EXPECT_NEAR(IncMinute(Day(2001, 1, 15), 90), Day(2001, 1, 15) + 1.5 / 24, 1e-9);
    EXPECT_NEAR(IncSecond(Day(2001, 1, 15), -1), Day(2001, 1, 14) + EncodeTime(23, 59, 59, 0), 1e-9);
    EXPECT_NEAR(IncMSec(Day(2001, 1, 15), 500), Day(2001, 1, 15) + 500.0 / 86400000, 1e-12);
    EXPECT_DOUBLE_EQ(CutTime(Day(2001, 1, 15) + 0.9), Day(2001, 1, 15));
}

TEST_F(DateUtilsFreshReading, TodayComesFromTheClock) {
    EXPECT_EQ(formstore::CurrentYear(), 2026);
    EXPECT_DOUBLE_EQ(FirstDayOfNextMonth(), Day(2026, 7, 1));
    EXPECT_DOUBLE_EQ(FirstDayOfPrevMonth(), Day(2026, 5, 1));
    EXPECT_DOUBLE_EQ(LastDayOfPrevMonth(), Day(2026, 5, 31));
    Clock.SetNow(Day(2026, 1, 10));
    EXPECT_DOUBLE_EQ(FirstDayOfPrevMonth(), Day(2025, 12, 1));
    EXPECT_DOUBLE_EQ(LastDayOfPrevMonth(), Day(2025, 12, 31));
    Clock.SetNow(Day(2026, 12, 31));
    EXPECT_DOUBLE_EQ(FirstDayOfNextMonth(), Day(2027, 1, 1));
    EXPECT_EQ(ExtractDay(Day(2001, 12, 31) + 0.5), 31);
    EXPECT_EQ(ExtractMonth(Day(2001, 12, 31)), 12);
    EXPECT_EQ(ExtractYear(Day(2001, 12, 31)), 2001);
    EXPECT_TRUE(formstore::IsLeapYear(2000));
    EXPECT_FALSE(formstore::IsLeapYear(1900));
    EXPECT_EQ(formstore::DaysPerMonth(2024, 2), 29);
    EXPECT_EQ(formstore::DaysPerMonth(2023, 2), 28);
}

TEST_F(DateUtilsFreshReading, ParsingAgainstAFormat) {
    struct Case {
        const char* Format;
        const char* Text;
        std::optional<TDateTime> Expected;
    };
    const std::vector<Case> Cases = {
        {"MM/dd/yyyy", "12/31/2001", Day(2001, 12, 31)},
        {"M/d/yyyy", "12/31/2001", Day(2001, 12, 31)},
        {"dd/MM/yyyy", "31/12/01", Day(2001, 12, 31)},
        {"dd/MM/yy", "31/12/66", Day(1966, 12, 31)},
        {"dd/MM/yy", "31/12/65", Day(2065, 12, 31)},
        {"M/d", "12/31", Day(2026, 12, 31)},
        {"d/M", "31/12", Day(2026, 12, 31)},
        {"yyyy-MM-dd", "2001-12-31", Day(2001, 12, 31)},
        {"yyyy/M/d", "2001/12/31", Day(2001, 12, 31)},
        {"dd-MMM-yyyy", "31-Dec-2001", Day(2001, 12, 31)},
        {"M/d/yyyy", " 12 / 31 / 2001 ", Day(2001, 12, 31)},
        {"M/d/yyyy", "12/31/2001/", Day(2001, 12, 31)},
        {"M/d/yyyy", "2/30/2001", std::nullopt},
        {"M/d/yyyy", "12/31/2001 x", std::nullopt},
        {"M/d/yyyy", "12/", std::nullopt},
        {"M/d/yyyy", "12/31/", std::nullopt},
        {"M/d/yyyy", "abc", std::nullopt},
        {"M/d/yyyy", "", NullDate},
    };
    const TDateTime Fallback = Day(1999, 9, 9) + 0.7;
    for (const Case& C : Cases) {
        if (C.Expected) {
            EXPECT_DOUBLE_EQ(StrToDateFmt(C.Format, C.Text), *C.Expected) << C.Format << " " << C.Text;
            EXPECT_DOUBLE_EQ(StrToDateFmtDef(C.Format, C.Text, Fallback), *C.Expected) << C.Text;
        } else {
            EXPECT_THROW(StrToDateFmt(C.Format, C.Text), EConvertError) << C.Format << " " << C.Text;
            EXPECT_DOUBLE_EQ(StrToDateFmtDef(C.Format, C.Text, Fallback), Day(1999, 9, 9)) << C.Text;
        }
    }
    try {
        StrToDateFmt("M/d/yyyy", "12/31/2001 x");
        ADD_FAILURE();
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message, "'12/31/2001 x' is not a valid date");
    }
    // The locale's short date format for the Def form.
    EXPECT_DOUBLE_EQ(StrToDateDef("12/31/2001", Fallback), Day(2001, 12, 31));
    EXPECT_DOUBLE_EQ(StrToDateDef("31/12/2001", Fallback), Day(1999, 9, 9));
    FormatSettings().ShortDateFormat = "dd.MM.yyyy";
    FormatSettings().DateSeparator = '.';
    EXPECT_DOUBLE_EQ(StrToDateDef("31.12.2001", Fallback), Day(2001, 12, 31));
    EXPECT_DOUBLE_EQ(StrToDateDef("31.12", Fallback), Day(2026, 12, 31));
}

TEST_F(DateUtilsFreshReading, CenturyWindowFollowsTheOffset) {
    struct Case {
        int Offset;
        const char* Text;
        TDateTime Expected;
    };
    for (const Case& C : {Case{0, "31/12/01", Day(2001, 12, 31)}, Case{0, "31/12/99", Day(2099, 12, 31)},
                          Case{60, "31/12/99", Day(1999, 12, 31)}, Case{10, "31/12/16", Day(2016, 12, 31)},
                          Case{10, "31/12/15", Day(2115, 12, 31)}}) {
        CenturyOffset = static_cast<std::uint8_t>(C.Offset);
        EXPECT_DOUBLE_EQ(StrToDateFmt("dd/MM/yyyy", C.Text), C.Expected) << C.Offset << " " << C.Text;
    }
}

TEST_F(DateUtilsFreshReading, EraFormatSkipsToTheFirstDigit) {
    FormatSettings().ShortDateFormat = "gg yyyy/MM/dd";
    EXPECT_DOUBLE_EQ(StrToDateFmt("yyyy/M/d", "AD 2001/12/31"), Day(2001, 12, 31));
    FormatSettings().ShortDateFormat = "yyyy/MM/dd";
    EXPECT_THROW(StrToDateFmt("yyyy/M/d", "AD 2001/12/31"), EConvertError);
}

TEST_F(DateUtilsFreshReading, OrdersFormatsAndMasks) {
    struct OrderCase {
        const char* Format;
        TDateOrder Order;
    };
    for (const OrderCase& C :
         {OrderCase{"yyyy-mm-dd", doYMD}, OrderCase{"dd.MM.yy", doDMY}, OrderCase{"", doDMY},
          OrderCase{"M/d/yyyy", doMDY}, OrderCase{"ee/MM/dd", doYMD}, OrderCase{"--", doDMY}})
        EXPECT_EQ(GetDateOrder(C.Format), C.Order) << C.Format;

    struct MaskCase {
        const char* ShortFormat;
        bool Four;
        const char* Format;
        const char* Mask;
    };
    for (const MaskCase& C : {MaskCase{"M/d/yyyy", true, "MM/DD/YYYY", "!99/99/9999;1;_"},
                              MaskCase{"d.M.yyyy", true, "DD/MM/YYYY", "!99/99/9999;1;_"},
                              MaskCase{"yyyy-M-d", true, "YYYY/MM/DD", "!9999/99/99;1;_"},
                              MaskCase{"M/d/yyyy", false, "MM/DD/YY", "!99/99/99;1;_"},
                              MaskCase{"d.M.yyyy", false, "DD/MM/YY", "!99/99/99;1;_"},
                              MaskCase{"yyyy-M-d", false, "YY/MM/DD", "!99/99/99;1;_"}}) {
        FormatSettings().ShortDateFormat = C.ShortFormat;
        EXPECT_EQ(DefDateFormat(C.Four), C.Format) << C.ShortFormat << " " << C.Four;
        EXPECT_EQ(DefDateMask('_', C.Four), C.Mask) << C.ShortFormat << " " << C.Four;
    }
    EXPECT_TRUE(FourDigitYear);

    struct MonthCase {
        const char* Text;
        int Len;
        int Month;
    };
    for (const MonthCase& C : {MonthCase{"dec", 3, 12}, MonthCase{"Ju", 2, 6}, MonthCase{"JULY", 3, 7},
                               MonthCase{"", 3, 0}, MonthCase{"xyz", 3, 0}})
        EXPECT_EQ(MonthFromName(C.Text, static_cast<std::uint8_t>(C.Len)), C.Month) << C.Text;
}

TEST_F(DateUtilsFreshReading, LongDateTexts) {
    EXPECT_EQ(FormatLongDate(Day(2001, 12, 31)), "Monday, December 31, 2001");
    EXPECT_EQ(FormatLongDateTime(Day(2001, 12, 31) + EncodeTime(14, 5, 9, 0)),
              "Monday, December 31, 2001 2:05:09 PM");
    EXPECT_EQ(FormatLongDateTime(NullDate), "");
}

} // namespace
