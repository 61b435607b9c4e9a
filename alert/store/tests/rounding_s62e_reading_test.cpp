// Rounding to a number of decimals and the tolerance comparisons, over the
// ordinary cases and the ones at the edges of the double range.
#include "alert/store/MathHelpers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(RoundingReading, RoundsHalvesAwayFromZero)
{
    struct Case {
        double Value;
        int Decimals;
        double Expected;
    };
    const double Inf = std::numeric_limits<double>::infinity();
    const Case Cases[] = {
        {2.5, 0, 3},       {-2.5, 0, -3},      {1.25, 1, 1.3},    {-1.25, 1, -1.3},
        {1234, -2, 1200},  {1250, -2, 1300},   {0.004, 2, 0},     {0.005, 2, 0.01},
        {2.4999, 0, 2},    {7, 3, 7},          {0, 2, 0},         {-1234.5678, 2, -1234.57},
        {123.456, 0, 123}, {0.5, 0, 1},        {1e-300, 2, 0},
        // Where the scaled value leaves the range of a double, the value has
        // no digits left to round at that place and comes back as it is.
        {1e307, 2, 1e307}, {-1e307, 2, -1e307}, {1.5, 400, 1.5}, {Inf, 2, Inf}, {-Inf, 0, -Inf},
        {9007199254740993.0, 0, 9007199254740993.0},
        // Rounded far to the left of the point, every value is zero.
        {1234, -400, 0},   {-1234, -400, 0},
    };
    for (const Case& C : Cases) {
        const double Got = RoundToDecimals(C.Value, C.Decimals);
        EXPECT_DOUBLE_EQ(Got, C.Expected) << C.Value << " to " << C.Decimals;
    }
    EXPECT_TRUE(std::isnan(RoundToDecimals(std::nan(""), 2)));
}

TEST(RoundingReading, ComparesWithinATolerance)
{
    struct Case {
        double A, B, Tolerance;
        int Expected;
    };
    const Case Cases[] = {
        {1, 1.05, 0.1, 0}, {2, 1, 0.5, 1}, {1, 2, 0.5, -1}, {1, 1.5, 0.5, -1},
        {1.5, 1, 0.5, 1},  {-1, -1.01, 0.1, 0},
    };
    for (const Case& C : Cases) {
        EXPECT_EQ(CompareWithTolerance(C.A, C.B, C.Tolerance), C.Expected) << C.A << " " << C.B;
        EXPECT_EQ(EqualWithTolerance(C.A, C.B, C.Tolerance), C.Expected == 0) << C.A << " " << C.B;
    }
    EXPECT_TRUE(IsZeroWithTolerance(0.0001, 0.001));
    EXPECT_FALSE(IsZeroWithTolerance(-0.001, 0.001));
}

} // namespace
