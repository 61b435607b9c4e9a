#include "StoreTest.h"

#include "alert/store/MathHelpers.h"
#include "alert/store/SqlHelpers.h"
#include "platform/data/Query.h"

#include <cmath>

namespace {

struct QuoteCase {
    const char* Value;
    const char* Literal;
};

const QuoteCase QuoteCases[] = {
    {"", "''"},
    {"O'Brien", "'O''Brien'"},
    {"12:30", "'12'||CHAR(58)||'30'"},
    {"ends:", "'ends'||CHAR(58)||''"},
    {":", "''||CHAR(58)||''"},
    {"it's 9:15", "'it''s 9'||CHAR(58)||'15'"},
    {"''", "''''''"},
    {"2024/07/01 08:15:00", "'2024/07/01 08'||CHAR(58)||'15'||CHAR(58)||'00'"},
};

} // namespace

TEST(SqlQuoting, EachValueGivesItsLiteral) {
    for (const QuoteCase& Case : QuoteCases)
        EXPECT_EQ(QuoteSqlString(Case.Value), AnsiString(Case.Literal)) << Case.Value;
}

// Control characters that would split the statement text or cut it short
// never reach it as they are.
TEST(SqlQuoting, LineBreaksAndNulStayOutOfTheStatementText) {
    const AnsiString Literal = QuoteSqlString(AnsiString("a\rb\nc\0d", 7));
    EXPECT_EQ(Literal.find('\0'), AnsiString::npos);
    EXPECT_EQ(Literal.find('\r'), AnsiString::npos);
    EXPECT_EQ(Literal.find('\n'), AnsiString::npos);
    EXPECT_NE(Literal.find("CHAR(0)"), AnsiString::npos);
}

// The literal, run through the query layer that takes ":name" for a
// parameter, comes back as the very value that went in.
class SqlQuotingRoundTrip : public StoreTest {};

TEST_F(SqlQuotingRoundTrip, QueryReadsBackTheValue) {
    const char* Values[] = {"", "O'Brien", "12:30", "ends:", ":a", "x ':b' y", "a'':c", "2024/07/01 08:15:00", "one\r\ntwo: three"};
    for (const char* Value : Values) {
        TQuery* Q = Dmod->CommonSql;
        Q->Close();
        Q->SQL()->Clear();
        Q->SQL()->Add("select " + QuoteSqlString(Value) + " as V");
        EXPECT_EQ(Q->ParamCount(), 0) << Value;
        Q->Open();
        EXPECT_EQ(Q->FieldByName("V")->AsString(), AnsiString(Value)) << Value;
        Q->Close();
    }
}

TEST(SqlReplaceAll, ReplacesEveryOccurrenceCaseCounting) {
    EXPECT_EQ(ReplaceAll("aAaa", "a", "b"), AnsiString("bAbb"));
    EXPECT_EQ(ReplaceAll("aaa", "aa", "x"), AnsiString("xa"));
    EXPECT_EQ(ReplaceAll("abc", "", "x"), AnsiString("abc"));
    EXPECT_EQ(ReplaceAll("a'b", "'", "''"), AnsiString("a''b"));
}

namespace {

struct RoundCase {
    double Value;
    int Decimals;
    double Expected;
};

const RoundCase RoundCases[] = {
    {2.5, 0, 3.0},      {-2.5, 0, -3.0},   {1.25, 1, 1.3},      {1234.0, -2, 1200.0},
    {0.004, 2, 0.0},    {-0.004, 2, 0.0},  {1250.0, -2, 1300.0}, {-1250.0, -2, -1300.0},
    {2.4999, 0, 2.0},   {0.0, 3, 0.0},     {-1.005, 2, -1.0},
};

} // namespace

TEST(Rounding, RoundsHalvesAwayFromZero) {
    for (const RoundCase& Case : RoundCases)
        EXPECT_DOUBLE_EQ(RoundToDecimals(Case.Value, Case.Decimals), Case.Expected)
            << Case.Value << " to " << Case.Decimals;
}

// Figures at the edge of a double's range or resolution keep their value
// rather than turning into infinity, NaN or the next whole number.
TEST(Rounding, ExtremeFiguresStayFinite) {
    const RoundCase Cases[] = {
        {1e300, 10, 1e300},
        {-1e300, 10, -1e300},
        {4503599627370497.0, 0, 4503599627370497.0},
        {0.49999999999999994, 0, 0.0},
        {-0.49999999999999994, 0, 0.0},
        {5.0, -400, 0.0},
        {1e20, 2, 1e20},
    };
    for (const RoundCase& Case : Cases)
        EXPECT_EQ(RoundToDecimals(Case.Value, Case.Decimals), Case.Expected)
            << Case.Value << " to " << Case.Decimals;
}

TEST(Rounding, ToleranceHelpers) {
    struct {
        double A, B, Tol;
        int Compare;
    } Cases[] = {
        {1.0, 1.05, 0.1, 0}, {1.0, 1.2, 0.1, -1}, {1.2, 1.0, 0.1, 1}, {1.0, 1.1, 0.1, -1}, {3.0, 3.0, 0.0, -1},
    };
    for (const auto& C : Cases) {
        EXPECT_EQ(CompareWithTolerance(C.A, C.B, C.Tol), C.Compare) << C.A << " " << C.B << " " << C.Tol;
        EXPECT_EQ(EqualWithTolerance(C.A, C.B, C.Tol), C.Compare == 0);
    }
    EXPECT_TRUE(IsZeroWithTolerance(0.00001, 0.001));
    EXPECT_FALSE(IsZeroWithTolerance(-0.01, 0.001));
}
