#include "alert/store/MathHelpers.h"
#include "alert/store/SqlHelpers.h"
#include "alert/store/UnitConversion.h"

#include <gtest/gtest.h>

namespace {

TEST(QuoteSqlString, Examples) {
    struct Case {
        const char* Value;
        const char* Expected;
    };
    const Case cases[] = {
        {"", "''"},
        {"O'Brien", "'O''Brien'"},
        {"12:30", "'12'||CHAR(58)||'30'"},
        {"ends:", "'ends'||CHAR(58)||''"},
        {"it's 5:00", "'it''s 5'||CHAR(58)||'00'"},
        {"2024/07/01 08:15:00", "'2024/07/01 08'||CHAR(58)||'15'||CHAR(58)||'00'"},
        {"line1\r\nline2", "'line1'||CHAR(13)||''||CHAR(10)||'line2'"},
        {"'; drop table X; --", "'''; drop table X; --'"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QuoteSqlString(c.Value), c.Expected) << c.Value;
}

TEST(QuoteSqlString, NulCannotCutTheStatementShort) {
    const AnsiString quoted = QuoteSqlString(AnsiString("a\0b", 3));
    EXPECT_EQ(quoted, "'a'||CHAR(0)||'b'");
    EXPECT_EQ(quoted.find('\0'), AnsiString::npos);
}

TEST(ReplaceAll, EveryOccurrenceCaseCounting) {
    EXPECT_EQ(ReplaceAll("aXbxcX", "X", "--"), "a--bxc--");
    EXPECT_EQ(ReplaceAll("aaaa", "aa", "a"), "aa");
    EXPECT_EQ(ReplaceAll("abc", "", "z"), "abc");
}

TEST(RoundToDecimals, Examples) {
    struct Case {
        double Value;
        int Decimals;
        double Expected;
    };
    const Case cases[] = {
        {2.5, 0, 3},      {-2.5, 0, -3},  {1.25, 1, 1.3},   {1234, -2, 1200}, {0.004, 2, 0},
        {-1.25, 1, -1.3}, {2.4999, 0, 2}, {1250, -2, 1300}, {0.125, 2, 0.13}, {0, 3, 0},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(RoundToDecimals(c.Value, c.Decimals), c.Expected)
            << c.Value << " to " << c.Decimals;
}

TEST(ToleranceHelpers, CompareEqualAndZero) {
    EXPECT_EQ(CompareWithTolerance(1.0, 1.0005, 0.001), 0);
    EXPECT_EQ(CompareWithTolerance(1.01, 1.0, 0.001), 1);
    EXPECT_EQ(CompareWithTolerance(1.0, 1.01, 0.001), -1);
    // A difference of exactly the tolerance is not within it.
    EXPECT_EQ(CompareWithTolerance(1.5, 1.0, 0.5), 1);
    EXPECT_TRUE(EqualWithTolerance(2.0, 2.0000001, 1e-6));
    EXPECT_FALSE(EqualWithTolerance(2.0, 2.1, 1e-6));
    EXPECT_TRUE(IsZeroWithTolerance(-1e-9, 1e-6));
    EXPECT_FALSE(IsZeroWithTolerance(1e-3, 1e-6));
}

TEST(UnitConversionSteps, Operators) {
    struct Case {
        const char* Operator;
        double Value, Factor, Forward, Back;
    };
    const Case cases[] = {
        {"*", 2.5, 12, 30, 2.5 / 12},
        {"/", 30, 12, 2.5, 360},
        {"/", 30, 0, 0, 0},
        {"*", 30, 0, 0, 0},
        {"+", 2, 3, 5, -1},
        {"-", 2, 3, -1, 5},
        {"x", 2, 3, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(ApplyUnitOperator(c.Operator, c.Value, c.Factor), c.Forward)
            << c.Operator << " " << c.Factor;
        EXPECT_DOUBLE_EQ(ApplyInverseUnitOperator(c.Operator, c.Value, c.Factor), c.Back)
            << c.Operator << " " << c.Factor;
    }
}

TEST(UnitConversionSteps, Rounding) {
    struct Case {
        const char* Rule;
        double Value, Expected;
    };
    const Case cases[] = {
        {"Round Up", 2.01, 3}, {"Round Up", -2.5, -2.5},
        {"Round Up", 4.0, 4},  {"Round Down", 2.99, 2},
        {"Round Down", 0, 0},  {"round up", 2.01, 2.01},
        {"", 2.5, 2.5},        {"Round Up", 5e9 + 0.5, 5e9 + 1},
    };
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(ApplyUnitRounding(c.Rule, c.Value), c.Expected)
            << c.Rule << " " << c.Value;
}

TEST(UnitConversionSteps, ByRecordUsesSinglePrecisionFactorAndRowPrecision) {
    UnitConversion row;
    row.QtyOperator = "*";
    row.QtyFactor = 0.1f; // 0.100000001490116 as a single
    row.QtyRounding = "";
    row.QtyPrecision = 2;
    row.CostOperator = "/";
    row.CostFactor = 3.0f;
    row.CostRounding = "Round Up";
    row.CostPrecision = 0;
    EXPECT_DOUBLE_EQ(ConvertQtyByRecord(row, 10), 1.0);
    EXPECT_DOUBLE_EQ(ConvertCostByRecord(row, 10), 4.0);

    row.QtyPrecision = 4;
    EXPECT_DOUBLE_EQ(ConvertQtyByRecord(row, 12.345), 1.2345);

    // A NULL precision keeps the figure instead of rounding it to nothing.
    row.QtyPrecision = NullPrecision;
    row.QtyFactor = 12.0f;
    EXPECT_DOUBLE_EQ(ConvertQtyByRecord(row, 2.5), 30.0);
    // A real negative count rounds to the left of the point.
    row.QtyPrecision = -1;
    EXPECT_DOUBLE_EQ(ConvertQtyByRecord(row, 2.5), 30.0);
    EXPECT_DOUBLE_EQ(ConvertQtyByRecord(row, 3.0), 40.0);
}

} // namespace
