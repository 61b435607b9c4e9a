#include "platform/rtl/Currency.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

TEST(Currency, FromDoubleRoundsHalvesToEven) {
    struct Case {
        double Value;
        std::int64_t Scaled;
    };
    const Case cases[] = {
        {0.03125, 312}, // exactly 312.5 ten-thousandths: to even
        {0.09375, 938}, // 937.5: to even
        {-0.09375, -938}, {0.15625, 1562},
        {1.03125, 10312}, {1.23456, 12346},
        {1.23454, 12345}, {-1.23456, -12346},
        {1.00005, 10001}, // the double lies above the half
        {0.00015, 1},     // and this one below it
        {0.0, 0},         {922337203685477.0, 9223372036854770000},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Currency(c.Value).Val, c.Scaled) << c.Value;
}

TEST(Currency, OutOfRangeAndNanRaise) {
    EXPECT_THROW(Currency(1e15), EOverflow);
    EXPECT_THROW(Currency(-1e300), EOverflow);
    EXPECT_THROW(static_cast<void>(Currency(std::numeric_limits<double>::infinity())), EOverflow);
    EXPECT_THROW(static_cast<void>(Currency(std::numeric_limits<double>::quiet_NaN())), EInvalidOp);
    EXPECT_THROW(Currency(std::int64_t{1000000000000000}), EOverflow);
    EXPECT_THROW(static_cast<void>(Currency(std::numeric_limits<std::uint64_t>::max())), EOverflow);
    EXPECT_EQ(Currency(std::int64_t{922337203685477}).Val, 9223372036854770000);
    EXPECT_EQ(Currency(-5).Val, -50000);
    EXPECT_EQ(Currency(7u).Val, 70000);
}

TEST(Currency, ArithmeticIsExactAndRoundsToEven) {
    EXPECT_EQ(Currency(1.5) + Currency(2.25), Currency(3.75));
    EXPECT_EQ(Currency(1.5) - Currency(2.25), Currency(-0.75));
    EXPECT_EQ(-Currency(1.5), Currency(-1.5));
    // 0.1 added ten times is exactly 1, unlike a double.
    Currency sum;
    for (int i = 0; i < 10; ++i)
        sum += Currency(0.1);
    EXPECT_EQ(sum, Currency(1));

    struct Case {
        std::int64_t A, B, Product, Quotient;
    };
    // Scaled values: 1 is 0.0001.
    const Case cases[] = {
        {1, 5000, 0, 2},             // 0.0001 * 0.5 = 0.00005 -> 0 (even)
        {3, 5000, 2, 6},             // 0.00015 -> 0.0002 (even)
        {10000, 30000, 30000, 3333}, // 1 * 3, 1 / 3
        {20000, 30000, 60000, 6667},
        {-3, 5000, -2, -6},
        {1, 20000, 2, 0}, // 0.0001 / 2 = 0.00005 -> 0 (even)
        {3, 20000, 6, 2}, // 0.00015 -> 0.0002
    };
    for (const Case& c : cases) {
        const Currency a = Currency::FromScaled(c.A), b = Currency::FromScaled(c.B);
        EXPECT_EQ((a * b).Val, c.Product) << c.A << " * " << c.B;
        EXPECT_EQ((a / b).Val, c.Quotient) << c.A << " / " << c.B;
    }
}

TEST(Currency, ArithmeticWithDoublesRoundsOnce) {
    EXPECT_EQ(Currency(10) * 0.33333, Currency(3.3333));
    EXPECT_EQ(Currency(1) / 3.0, Currency(0.3333));
    EXPECT_EQ((Currency::FromScaled(1) * 0.5).Val, 0);
    EXPECT_EQ((Currency::FromScaled(3) * 0.5).Val, 2);
    EXPECT_EQ(1.5 + Currency(1), Currency(2.5));
    EXPECT_EQ(Currency(1) + 0.00005, Currency(1)); // 10000.5 -> even
    EXPECT_EQ(5.0 - Currency(1.25), Currency(3.75));
    EXPECT_EQ(3.0 / Currency(2), Currency(1.5));
    EXPECT_EQ(2.0 * Currency(1.25), Currency(2.5));
}

TEST(Currency, FailuresRaise) {
    const Currency max = Currency::FromScaled(std::numeric_limits<std::int64_t>::max());
    const Currency min = Currency::FromScaled(std::numeric_limits<std::int64_t>::min());
    const Currency tiny = Currency::FromScaled(1);
    EXPECT_THROW(max + tiny, EOverflow);
    EXPECT_THROW(min - tiny, EOverflow);
    EXPECT_THROW(-min, EOverflow);
    EXPECT_THROW(Currency(1e14) * Currency(1e5), EOverflow);
    EXPECT_THROW(max * 2.0, EOverflow);
    EXPECT_THROW(Currency(1) / Currency(), EZeroDivide);
    EXPECT_THROW(Currency(1) / 0.0, EZeroDivide);
    EXPECT_THROW(1.0 / Currency(), EZeroDivide);
    Currency unchanged = max;
    EXPECT_THROW(unchanged += tiny, EOverflow);
    EXPECT_EQ(unchanged, max);
}

TEST(Currency, ComparesAndConverts) {
    EXPECT_LT(Currency(1.5), Currency(2));
    EXPECT_GT(Currency(-1), Currency(-2));
    EXPECT_EQ(Currency(1.5), 1.5);
    EXPECT_NE(Currency(1.5), Currency(1.5001));
    EXPECT_DOUBLE_EQ(Currency(1.5).ToDouble(), 1.5);
    EXPECT_EQ(static_cast<double>(Currency(-0.0001)), -0.0001);
    EXPECT_EQ(Currency::FromScaled(15000), Currency(1.5));
}

} // namespace
