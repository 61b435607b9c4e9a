#include "platform/rtl/FloatFormat.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

constexpr double Nan = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

class FloatFormatTest : public ::testing::Test {
protected:
    void TearDown() override { ResetFormatSettings(); }
};

TEST_F(FloatFormatTest, IntToStr) {
    EXPECT_EQ(IntToStr(0), "0");
    EXPECT_EQ(IntToStr(INT32_MIN), "-2147483648");
    EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
    EXPECT_EQ(IntToStr(UINT64_MAX), "18446744073709551615");
}

TEST_F(FloatFormatTest, StrToIntAcceptsDecimalAndHexWithinRange) {
    struct Case {
        const char* Text;
        int Expected;
    };
    const Case valid[] = {
        {"42", 42},
        {"  42", 42},
        {"-42", -42},
        {"+7", 7},
        {"$FF", 255},
        {"0x1f", 31},
        {"$FFFFFFFF", -1},
        {"-$10", -16},
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"007", 7},
    };
    for (const Case& c : valid)
        EXPECT_EQ(StrToInt(c.Text), c.Expected) << c.Text;

    for (const char* text : {"", " ", "42 ", "4 2", "2147483648", "-2147483649", "$", "0x", "1.0",
                             "abc", "$100000000", "--1", "\t1", "1e3"}) {
        int value = 0;
        EXPECT_FALSE(TryStrToInt(text, value)) << '"' << text << '"';
        EXPECT_EQ(StrToIntDef(text, -7), -7) << text;
    }
    try {
        StrToInt("12a");
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, "'12a' is not a valid integer value");
    }
}

TEST_F(FloatFormatTest, StrToInt64) {
    EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt64("4294967296"), 4294967296LL);
    EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
    EXPECT_EQ(StrToInt64Def("x", 3), 3);
}

TEST_F(FloatFormatTest, StrToFloat) {
    struct Case {
        const char* Text;
        double Expected;
    };
    const Case valid[] = {{"1.5", 1.5},  {" 1.5 ", 1.5}, {"-2", -2.0}, {"+.5", 0.5},
                          {"1e3", 1000}, {"1E-2", 0.01}, {"5.", 5.0},  {"0.1", 0.1},
                          {"1e-400", 0}, {"-0", 0}};
    for (const Case& c : valid)
        EXPECT_EQ(StrToFloat(c.Text), c.Expected) << c.Text;

    for (const char* text : {"", " ", "abc", "1,5", "1e", "1.2.3", "--1", "1e400", ".", "1 000",
                             "INF", "NAN", "0x10", "1e+"}) {
        double value = 0;
        EXPECT_FALSE(TryStrToFloat(text, value)) << '"' << text << '"';
        EXPECT_EQ(StrToFloatDef(text, -1.25), -1.25);
    }
    try {
        StrToFloat("1,5");
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, "'1,5' is not a valid floating point value");
    }
    FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(StrToFloat("1,5"), 1.5);
    EXPECT_THROW(StrToFloat("1.5"), EConvertError);
}

TEST_F(FloatFormatTest, FloatToStrGivesFifteenSignificantDigits) {
    struct Case {
        double Value;
        const char* Expected;
    };
    const Case cases[] = {
        {75, "75"},
        {7.5, "7.5"},
        {0, "0"},
        {-0.0, "0"},
        {-12.25, "-12.25"},
        {1e14, "100000000000000"},
        {1e15, "1E15"},
        {123456789012345678.0, "1.23456789012346E17"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3, "0.333333333333333"},
        {2.0 / 3, "0.666666666666667"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {-1.5e-10, "-1.5E-10"},
        {999999999999999.9, "1E15"},
        {1e308, "1E308"},
        {Nan, "NAN"},
        {Inf, "INF"},
        {-Inf, "-INF"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FloatToStr(c.Value), c.Expected) << c.Value;
}

TEST_F(FloatFormatTest, FloatToStrF) {
    struct Case {
        double Value;
        TFloatFormat Format;
        int Precision, Digits;
        const char* Expected;
    };
    const Case cases[] = {
        {75 * 0.016666666666666667, ffFixed, 4, 2, "1.25"},
        {90 / 60.0, ffFixed, 9, 2, "1.50"},
        {50, ffFixed, 11, 2, "50.00"},
        {12.345, ffFixed, 3, 2, "12.30"}, // precision limits the digits, then zeros pad
        {2.5, ffFixed, 15, 0, "3"},
        {-0.004, ffFixed, 15, 2, "0.00"},
        {0.005, ffFixed, 15, 2, "0.01"},
        {0.0001, ffFixed, 15, 3, "0.000"},
        {1e20, ffFixed, 15, 2, "1E20"},
        {1234567.891, ffNumber, 15, 2, "1,234,567.89"},
        {-1234.5, ffNumber, 15, 0, "-1,235"},
        {999.5, ffNumber, 15, 0, "1,000"},
        {1234.5, ffExponent, 4, 2, "1.235E+03"},
        {0.00012, ffExponent, 3, 0, "1.20E-4"},
        {0, ffExponent, 3, 1, "0.00E+0"},
        {0.00012, ffGeneral, 15, 0, "0.00012"},
        {1e-5, ffGeneral, 15, 2, "1E-05"},
        {1234.5, ffCurrency, 15, 2, "$1,234.50"},
        {-1234.5, ffCurrency, 15, 2, "($1,234.50)"},
        {-0.001, ffCurrency, 15, 2, "$0.00"},
        {Nan, ffFixed, 15, 2, "NAN"},
        {-Inf, ffCurrency, 15, 2, "-INF"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FloatToStrF(c.Value, c.Format, c.Precision, c.Digits), c.Expected)
            << c.Value << " " << static_cast<int>(c.Format) << " " << c.Precision << " "
            << c.Digits;
}

TEST_F(FloatFormatTest, CurrencyLayouts) {
    const char* negative[] = {"($1.50)", "-$1.50",  "$-1.50",   "$1.50-",  "(1.50$)", "-1.50$",
                              "1.50-$",  "1.50$-",  "-1.50 $",  "-$ 1.50", "1.50 $-", "$ 1.50-",
                              "$ -1.50", "1.50- $", "($ 1.50)", "(1.50 $)"};
    for (int layout = 0; layout < 16; ++layout) {
        FormatSettings().NegCurrFormat = static_cast<char>(layout);
        EXPECT_EQ(FloatToStrF(-1.5, ffCurrency, 15, 2), negative[layout]) << layout;
    }
    const char* positive[] = {"$1.50", "1.50$", "$ 1.50", "1.50 $"};
    for (int layout = 0; layout < 4; ++layout) {
        FormatSettings().CurrencyFormat = static_cast<char>(layout);
        EXPECT_EQ(FloatToStrF(1.5, ffCurrency, 15, 2), positive[layout]) << layout;
    }
}

TEST_F(FloatFormatTest, FormatFloat) {
    struct Case {
        const char* Format;
        double Value;
        const char* Expected;
    };
    const Case cases[] = {
        {"0.00", 1234.5, "1234.50"},
        {"#,##0.00", 1234567.891, "1,234,567.89"},
        {"#,##0.00", -1234.5, "-1,234.50"},
        {"#,##0.00", 0.5, "0.50"},
        {"#,##0", 999999, "999,999"},
        {"#,##0", 1000, "1,000"},
        {"0,000", 5, "0,005"},
        {"0.00", 0.125, "0.13"},
        {"0.00", -0.125, "-0.13"},
        {"0", 2.5, "3"},
        {"0", -2.5, "-3"},
        {"0.00", 1.005, "1.00"}, // the double lies below the half
        {"0.00", 0.1 + 0.2, "0.30"},
        {"0.0000000000", 0.1, "0.1000000000"},
        {"#", 0, ""},
        {"#.##", 0.5, ".5"},
        {"0.##", 1.5, "1.5"},
        {"0.##", 2, "2"},
        {"0.0#", 2, "2.0"},
        {"000", 7, "007"},
        {"00", 1234, "1234"},
        {"000-0000", 1234567, "123-4567"},
        {"0.00", 1e-10, "0.00"},
        {"0.00;(0.00)", -5, "(5.00)"},
        {"0.00;(0.00);'zero'", 0, "zero"},
        {"0.00;;'zero'", -5, "-5.00"},
        {"0.00;(0.00)", 0, "0.00"},
        {"0.00", -0.001, "0.00"},
        {"0.00;(0.00)", -0.001, "0.00"},
        {"0.00;(0.00);Nil", -0.001, "Nil"},
        {"'$'#,##0.00", -1234.5, "-$1,234.50"},
        {"\"x;y\"0", 3, "x;y3"},
        {"0 'kg'", 12, "12 kg"},
        {"0.00E+00", 1234.5, "1.23E+03"},
        {"0.0E+0", 1500, "1.5E+3"},
        {"0.0E-0", 1500, "1.5E3"},
        {"0.0E-00", 0.0015, "1.5E-03"},
        {"00.0E+00", 1234.5, "12.3E+02"},
        {"0.0e+00", 0.5, "5.0e-01"},
        {"0.00E+00", 0, "0.00E+00"},
        {"0.00E+00", -1234.5, "-1.23E+03"},
        {"Result: 0", 4, "Result: 4"},
        {"", 7.5, "7.5"},
        {"#,##0.00", 1e300, "1E300"},
        {"0.00", Nan, "NAN"},
        {"0.00", -Inf, "-INF"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFloat(c.Format, c.Value), c.Expected) << c.Format << " " << c.Value;
}

TEST_F(FloatFormatTest, FormatFloatFollowsTheSeparators) {
    FormatSettings().DecimalSeparator = ',';
    FormatSettings().ThousandSeparator = '.';
    // The format always uses '.' and ','; the settings choose what is shown.
    EXPECT_EQ(FormatFloat("#,##0.00", 1234.5), "1.234,50");
    EXPECT_EQ(FloatToStr(2.5), "2,5");
}

TEST_F(FloatFormatTest, CurrencyText) {
    EXPECT_EQ(CurrToStr(Currency(1.5)), "1.5");
    EXPECT_EQ(CurrToStr(Currency::FromScaled(1)), "0.0001");
    EXPECT_EQ(CurrToStr(Currency(-20)), "-20");
    EXPECT_EQ(CurrToStr(Currency::FromScaled(INT64_MAX)), "922337203685477.5807");
    EXPECT_EQ(CurrToStr(Currency::FromScaled(INT64_MIN)), "-922337203685477.5808");
    EXPECT_EQ(CurrToStrF(Currency(1234.5), ffCurrency, 2), "$1,234.50");
    EXPECT_EQ(CurrToStrF(Currency::FromScaled(5), ffFixed, 3), "0.001"); // 0.0005 rounds away
    EXPECT_EQ(FormatCurr("#,##0.00", Currency(-1234.5)), "-1,234.50");
    EXPECT_EQ(FormatCurr("0.0000", Currency::FromScaled(INT64_MAX)), "922337203685477.5807");
    EXPECT_EQ(FormatCurr("", Currency(2)), "2");
}

TEST_F(FloatFormatTest, FloatToCurr) {
    EXPECT_EQ(FloatToCurr(1.23456).Val, 12346);
    EXPECT_EQ(FloatToCurr(-922337203685477.0).Val, -9223372036854770000);
    for (double bad : {1e15, -1e300, Nan, Inf}) {
        Currency result;
        EXPECT_FALSE(TryFloatToCurr(bad, result)) << bad;
        EXPECT_THROW(FloatToCurr(bad), EConvertError) << bad;
    }
    try {
        FloatToCurr(1e15);
        ADD_FAILURE();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, "'1E15' is not a valid currency value");
    }
}

} // namespace
