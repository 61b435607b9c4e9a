#include "platform/rtl/Format.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace {

class FormatTest : public ::testing::Test {
protected:
    void TearDown() override { ResetFormatSettings(); }
};

TEST_F(FormatTest, Integers) {
    EXPECT_EQ(Format("%d", 42), "42");
    EXPECT_EQ(Format("%5d|", -42), "  -42|");
    EXPECT_EQ(Format("%-5d|", 42), "42   |");
    EXPECT_EQ(Format("%.4d", -42), "-0042"); // zeros go after the sign
    EXPECT_EQ(Format("%6.4d", 42), "  0042");
    EXPECT_EQ(Format("%d", std::int64_t{-1000000000000}), "-1000000000000");
    EXPECT_EQ(Format("%d", INT64_MIN), "-9223372036854775808");
    EXPECT_EQ(Format("%d", 4294967295u), "4294967295");
    EXPECT_EQ(Format("%u", -1), "4294967295");
    EXPECT_EQ(Format("%x", 255), "FF");
    EXPECT_EQ(Format("%.4x", 255), "00FF");
    EXPECT_EQ(Format("%x", -1), "FFFFFFFF");
    EXPECT_EQ(Format("%x", std::int64_t{-1}), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(Format("%D and %X", 7, 10), "7 and A");
}

TEST_F(FormatTest, Strings) {
    const AnsiString owned = "owned";
    const char* none = nullptr;
    EXPECT_EQ(Format("%s", "abc"), "abc");
    EXPECT_EQ(Format("[%s]", owned), "[owned]");
    EXPECT_EQ(Format("%s%s", 'c', AnsiString("!")), "c!");
    EXPECT_EQ(Format("%.2s", "abcdef"), "ab");
    EXPECT_EQ(Format("%-4s|%4s", "ab", "cd"), "ab  |  cd");
    EXPECT_EQ(Format("%3s", "toolong"), "toolong");
    EXPECT_EQ(Format("[%s]", none), "[]");
    EXPECT_EQ(Format("An invalid Alert Id ('%d') was encountered.", 17),
              "An invalid Alert Id ('17') was encountered.");
    EXPECT_EQ(Format("100%% of %s", "it"), "100% of it");
    EXPECT_EQ(Format("no specifiers"), "no specifiers");
}

TEST_F(FormatTest, FloatingPoint) {
    EXPECT_EQ(Format("%f", 3.14159), "3.14");
    EXPECT_EQ(Format("%.2f", 0.125), "0.13"); // halves away from zero
    EXPECT_EQ(Format("%.2f", -0.125), "-0.13");
    EXPECT_EQ(Format("%.0f", 2.5), "3");
    EXPECT_EQ(Format("%.2f", 0.1 + 0.2), "0.30");
    EXPECT_EQ(Format("%.2f", -0.001), "0.00"); // no "-0.00"
    EXPECT_EQ(Format("%8.3f|", -1.5), "  -1.500|");
    EXPECT_EQ(Format("%e", 1234.5), "1.23450000000000E+003");
    EXPECT_EQ(Format("%.4e", 1234.5), "1.235E+003");
    EXPECT_EQ(Format("%.2e", -0.5), "-5.0E-001");
    EXPECT_EQ(Format("%g", 0.5), "0.5");
    EXPECT_EQ(Format("%g", 123456.0), "123456");
    EXPECT_EQ(Format("%.3g", 1.23456), "1.23");
    EXPECT_EQ(Format("%n", 1234567.891), "1,234,567.89");
    EXPECT_EQ(Format("%.0n", 999.5), "1,000");
    EXPECT_EQ(Format("%n", -1234.5), "-1,234.50");
    EXPECT_EQ(Format("%m", 1234.5), "$1,234.50");
    EXPECT_EQ(Format("%m", -5.0), "($5.00)");
    EXPECT_EQ(Format("%m|%f", Currency(2.5), Currency(-0.0001)), "$2.50|0.00");
    EXPECT_EQ(Format("%.4f", Currency::FromScaled(922337203685477LL * 10000 + 5807)),
              "922337203685477.5807");
    EXPECT_EQ(Format("%f", 1.0f), "1.00");
}

TEST_F(FormatTest, FollowsTheFormatSettings) {
    TFormatSettings& settings = FormatSettings();
    settings.DecimalSeparator = ',';
    settings.ThousandSeparator = '.';
    settings.CurrencyString = "EUR";
    settings.CurrencyFormat = 3;
    settings.NegCurrFormat = 8;
    settings.CurrencyDecimals = 1;
    EXPECT_EQ(Format("%.1f", 2.5), "2,5");
    EXPECT_EQ(Format("%n", 1234.5), "1.234,50");
    EXPECT_EQ(Format("%m", 1234.5), "1.234,5 EUR");
    EXPECT_EQ(Format("%m", -1234.5), "-1.234,5 EUR");
}

TEST_F(FormatTest, PointersIndexesAndStars) {
    EXPECT_EQ(Format("%p", reinterpret_cast<const void*>(std::uintptr_t{0x1234})),
              "0000000000001234");
    EXPECT_EQ(Format("%p", nullptr), "0000000000000000");
    EXPECT_EQ(Format("%1:s %0:s", "a", "b"), "b a");
    EXPECT_EQ(Format("%1:s %s %0:s", "a", "b", "c"), "b c a"); // continues after the index
    EXPECT_EQ(Format("%0:s-%0:s", "x"), "x-x");
    EXPECT_EQ(Format("%0:5d|", 7), "    7|");
    EXPECT_EQ(Format("%*d|", 5, 42), "   42|");
    EXPECT_EQ(Format("%-*d|", 5, 42), "42   |");
    EXPECT_EQ(Format("%*d|", -4, 7), "7   |");
    EXPECT_EQ(Format("%.*f", 1, 2.25), "2.3");
    EXPECT_EQ(Format("%*.*f|", 6, 1, 2.25), "   2.3|");
    const std::vector<TVarRec> args{TVarRec(1), TVarRec("two")};
    EXPECT_EQ(Format("%d %s", args), "1 two");
}

TEST_F(FormatTest, MismatchesRaiseConvertErrorNamingTheFormat) {
    const std::vector<std::pair<const char*, std::function<AnsiString()>>> invalid{
        {"%d", [] { return Format("%d", "x"); }},
        {"%d", [] { return Format("%d", 2.5); }},
        {"%s", [] { return Format("%s", 1); }},
        {"%f", [] { return Format("%f", 1); }},
        {"%x", [] { return Format("%x", Currency(1)); }},
        {"%p", [] { return Format("%p", 1); }},
        {"%z", [] { return Format("%z", 1); }},
        {"abc %", [] { return Format("abc %", 1); }},
        {"%5", [] { return Format("%5", 1); }},
        {"%*d", [] { return Format("%*d", "x", 1); }},
        {"%.*f", [] { return Format("%.*f", 1.5, 1.5); }},
    };
    for (const auto& [fmt, run] : invalid) {
        try {
            run();
            ADD_FAILURE() << fmt << " did not raise";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message,
                      "Format '" + AnsiString(fmt) + "' invalid or incompatible with argument");
        }
    }
    const std::vector<std::pair<const char*, std::function<AnsiString()>>> missing{
        {"%d %d", [] { return Format("%d %d", 1); }},
        {"%5:d", [] { return Format("%5:d", 1); }},
        {"%*d", [] { return Format("%*d", 5); }},
        {"%s", [] { return Format("%s"); }},
    };
    for (const auto& [fmt, run] : missing) {
        try {
            run();
            ADD_FAILURE() << fmt << " did not raise";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message, "No argument for format '" + AnsiString(fmt) + "'");
        }
    }
}

} // namespace
