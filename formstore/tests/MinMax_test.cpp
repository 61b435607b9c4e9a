#include "formstore/MinMax.h"

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using namespace formstore;

namespace {

TEST(MinMax, ListFormsPickTheExtremeAndRefuseAnEmptyList) {
    const std::array<int, 4> Ints{3, -7, 9, 9};
    EXPECT_EQ(MaxInteger(Ints), 9);
    EXPECT_EQ(MinInteger(Ints), -7);
    EXPECT_EQ(MaxInteger(std::array{42}), 42);
    EXPECT_EQ(MinInt64(std::array<std::int64_t, 2>{-(std::int64_t(1) << 40), 0}),
              -(std::int64_t(1) << 40));
    EXPECT_EQ(MaxFloat(std::array<long double, 3>{1.5L, -2.0L, 1.25L}), 1.5L);

    const std::array<TDateTime, 2> Dates{EncodeDate(2000, 1, 1), EncodeDate(2001, 1, 1)};
    EXPECT_EQ(MaxDateTime(Dates), EncodeDate(2001, 1, 1));
    EXPECT_EQ(MinDateTime(Dates), EncodeDate(2000, 1, 1));

    EXPECT_THROW(MaxInteger(std::span<const int>()), ERangeError);
    EXPECT_THROW(MinOf(std::span<const Variant>()), ERangeError);
}

TEST(MinMax, VariantFormsCompareAsVariantsAndKeepTheFirstOfEquals) {
    const std::vector<Variant> Values{Variant(2), Variant(2.0), Variant("10"), Null()};
    // "10" is converted to a number against 2; null orders below everything.
    EXPECT_EQ(MaxOf(Values).AsString(), "10");
    EXPECT_TRUE(MinOf(Values).IsNull());
    const std::vector<Variant> Equal{Variant(2), Variant(2.0)};
    EXPECT_EQ(MaxOf(Equal).Type(), varInteger);
    EXPECT_EQ(MinOf(Equal).Type(), varInteger);
}

TEST(MinMax, PairsAndSwaps) {
    EXPECT_EQ(Max(-1, 1), 1);
    EXPECT_EQ(Min(-1, 1), -1);
    int A = 1, B = 2;
    SwapInt(A, B);
    EXPECT_EQ(A * 10 + B, 21);
    std::int64_t X = 1, Y = std::int64_t(1) << 40;
    SwapInt64(X, Y);
    EXPECT_EQ(X, std::int64_t(1) << 40);
    EXPECT_EQ(Y, 1);
}

} // namespace
