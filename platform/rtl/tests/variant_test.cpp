#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/Variant.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <functional>

// Failure output shows the type code and the text rather than raw bytes.
void PrintTo(const Variant& v, std::ostream* os) {
    *os << "Variant(type " << v.Type() << ", ";
    try {
        *os << '"' << VarToStr(v) << '"';
    } catch (const Exception&) {
        *os << "array";
    }
    *os << ')';
}

namespace {

struct Raised {
    AnsiString ClassName;
    AnsiString Message;
};

Raised RaisedBy(const std::function<void()>& action) {
    try {
        action();
    } catch (const Exception& e) {
        return {e.ClassName(), e.Message};
    }
    return {"", "(nothing raised)"};
}

class VariantTest : public ::testing::Test {
protected:
    void SetUp() override { ResetFormatSettings(); }
    void TearDown() override { ResetFormatSettings(); }
};

} // namespace

TEST_F(VariantTest, NullRefusesEveryConversionButVarToStr) {
    const Variant n = Null();
    struct Case {
        const char* target;
        std::function<void()> convert;
    };
    const Case cases[] = {
        {"Integer", [&] { n.AsInteger(); }},
        {"Int64", [&] { n.AsInt64(); }},
        {"Double", [&] { n.AsDouble(); }},
        {"Currency", [&] { n.AsCurrency(); }},
        {"Date", [&] { n.AsDateTime(); }},
        {"Boolean", [&] { n.AsBoolean(); }},
        {"String", [&] { n.AsString(); }},
        {"Smallint", [&] { [[maybe_unused]] short s = n; }},
        {"Byte", [&] { [[maybe_unused]] unsigned char b = n; }},
        {"Single", [&] { [[maybe_unused]] float f = n; }},
        {"String", [&] { VarAsType(n, varString); }},
        {"OleStr", [&] { VarAsType(n, varOleStr); }},
    };
    for (const Case& c : cases) {
        Raised r = RaisedBy(c.convert);
        EXPECT_EQ(r.Message, "Could not convert variant of type (Null) into type (" +
                                 AnsiString(c.target) + ")");
        EXPECT_EQ(r.ClassName, "EVariantTypeCastError") << c.target;
    }
    EXPECT_THROW(n.AsInteger(), EVariantError);
    EXPECT_EQ(VarToStr(n), "");
    EXPECT_TRUE(VarAsType(n, varNull).IsNull());
}

TEST_F(VariantTest, EmptyReadsAsZero) {
    const Variant e = Unassigned();
    EXPECT_EQ(e.AsInteger(), 0);
    EXPECT_EQ(e.AsDouble(), 0.0);
    EXPECT_EQ(e.AsCurrency().Val, 0);
    EXPECT_EQ(e.AsDateTime().Val, 0.0);
    EXPECT_FALSE(e.AsBoolean());
    EXPECT_EQ(e.AsString(), "");
    EXPECT_EQ(VarType(VarAsType(e, varInteger)), varInteger);
    EXPECT_EQ(VarAsType(e, varString).AsString(), "");
    EXPECT_TRUE(VarIsEmpty(e) && VarIsClear(e) && !VarIsNull(e));
    EXPECT_FALSE(VarIsClear(Null()));
}

TEST_F(VariantTest, TypeCodes) {
    struct Case {
        Variant value;
        TVarType type;
    };
    const Case cases[] = {
        {Unassigned(), varEmpty},
        {Null(), varNull},
        {Variant(short(1)), varSmallint},
        {Variant(1), varInteger},
        {Variant(1.0f), varSingle},
        {Variant(1.0), varDouble},
        {Variant(Currency(1)), varCurrency},
        {Variant(TDateTime(1.0)), varDate},
        {Variant(true), varBoolean},
        {Variant(static_cast<signed char>(1)), varShortInt},
        {Variant(static_cast<unsigned char>(1)), varByte},
        {Variant(static_cast<unsigned short>(1)), varWord},
        {Variant(1u), varLongWord},
        {Variant(1LL), varInt64},
        {Variant("x"), varString},
        {Variant(AnsiString("x")), varString},
        {VarAsType(Variant("x"), varOleStr), varOleStr},
        {VarArrayOf({1, "a"}), varArray | varVariant},
        {VarArrayCreate({0, 1}, varInteger), varArray | varInteger},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VarType(c.value), c.type) << VarTypeAsText(c.type);
}

TEST_F(VariantTest, ToText) {
    struct Case {
        Variant value;
        const char* text;
    };
    const Case cases[] = {
        {Variant(-42), "-42"},
        {Variant(9000000000LL), "9000000000"},
        {Variant(true), "True"},
        {Variant(false), "False"},
        {Variant(1.5), "1.5"},
        {Variant(1.0 / 3.0), "0.333333333333333"},
        {Variant(0.1f), "0.1"},
        {Variant(Currency(2.5)), "2.5"},
        {Variant(EncodeDate(2020, 1, 2)), "1/2/2020"},
        {Variant(TDateTime(EncodeDate(2020, 1, 2) + EncodeTime(13, 30, 0, 0))),
         "1/2/2020 1:30:00 PM"},
        {Variant("as is"), "as is"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(VarToStr(c.value), c.text);

    FormatSettings().DecimalSeparator = ',';
    EXPECT_EQ(VarToStr(Variant(1.5)), "1,5");
    EXPECT_EQ(Variant("2,25").AsDouble(), 2.25);
}

TEST_F(VariantTest, ToNumbersRoundHalvesToEvenAndCheckRange) {
    struct Case {
        Variant value;
        int expected;
    };
    const Case cases[] = {
        {Variant(2.5), 2},           {Variant(3.5), 4},
        {Variant(-2.5), -2},         {Variant("12"), 12},
        {Variant(" 2.5"), 2},        {Variant("$1F"), 31},
        {Variant(true), -1},         {Variant(Currency(2.5)), 2},
        {Variant(Currency(3.5)), 4}, {Variant(Currency(-0.5)), 0},
        {Variant(INT32_MIN), INT32_MIN}, {Variant(INT32_MAX), INT32_MAX},
        {Variant(-7), -7},           {Variant(-40LL), -40},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.value.AsInteger(), c.expected) << VarToStr(c.value);

    EXPECT_EQ(Variant(3e9).AsInt64(), 3000000000LL);
    EXPECT_EQ(Variant("1e3").AsDouble(), 1000.0);
    EXPECT_EQ(VarAsType(Variant(1.23456), varCurrency).AsCurrency().Val, 12346);
    EXPECT_EQ(VarAsType(Variant(9000000000LL), varDouble).AsDouble(), 9e9);

    struct Overflow {
        std::function<void()> convert;
        const char* message;
    };
    const Overflow overflows[] = {
        {[] { Variant(3e9).AsInteger(); },
         "Overflow while converting variant of type (Double) into type (Integer)"},
        {[] { Variant(1LL << 40).AsInteger(); },
         "Overflow while converting variant of type (Int64) into type (Integer)"},
        {[] { [[maybe_unused]] short s = Variant(70000); },
         "Overflow while converting variant of type (Integer) into type (Smallint)"},
        {[] { VarAsType(Variant(-1), varByte); },
         "Overflow while converting variant of type (Integer) into type (Byte)"},
        {[] { Variant(1e300).AsCurrency(); },
         "Overflow while converting variant of type (Double) into type (Currency)"},
        {[] { Variant(std::nan("")).AsInt64(); },
         "Overflow while converting variant of type (Double) into type (Int64)"},
    };
    for (const Overflow& o : overflows)
        EXPECT_EQ(RaisedBy(o.convert).Message, o.message);
}

TEST_F(VariantTest, BadTextNamesBothTypes) {
    struct Case {
        std::function<void()> convert;
        const char* message;
    };
    const Case cases[] = {
        {[] { Variant("abc").AsInteger(); },
         "Could not convert variant of type (String) into type (Integer)"},
        {[] { Variant("1.5x").AsDouble(); },
         "Could not convert variant of type (String) into type (Double)"},
        {[] { Variant("").AsDouble(); },
         "Could not convert variant of type (String) into type (Double)"},
        {[] { Variant("maybe").AsBoolean(); },
         "Could not convert variant of type (String) into type (Boolean)"},
        {[] { Variant("31/31/2020").AsDateTime(); },
         "Could not convert variant of type (String) into type (Date)"},
        {[] { VarAsType(Variant("x"), varCurrency); },
         "Could not convert variant of type (String) into type (Currency)"},
        {[] { VarArrayOf({1}).AsString(); },
         "Could not convert variant of type (Array Variant) into type (String)"},
        {[] { VarAsType(Variant(1), varArray | varVariant); }, "Invalid variant type conversion"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RaisedBy(c.convert).Message, c.message);
}

TEST_F(VariantTest, TextToBooleanAndDate) {
    EXPECT_TRUE(Variant("TRUE").AsBoolean());
    EXPECT_FALSE(Variant("false").AsBoolean());
    EXPECT_TRUE(Variant("2").AsBoolean());
    EXPECT_FALSE(Variant("0").AsBoolean());
    EXPECT_EQ(Variant("1/2/2020").AsDateTime().Val, EncodeDate(2020, 1, 2).Val);
    EXPECT_EQ(VarType(VarAsType(Variant("1/2/2020"), varDate)), varDate);
}

TEST_F(VariantTest, ImplicitConversionsPickTheTargetType) {
    Variant v(7);
    int i = v;
    double d = v;
    Currency c = v;
    TDateTime t = v;
    AnsiString s = v;
    s = v; // would be ambiguous if Variant also converted to char
    bool b = v;
    EXPECT_EQ(i, 7);
    EXPECT_EQ(d, 7.0);
    EXPECT_EQ(c.Val, 70000);
    EXPECT_EQ(t.Val, 7.0);
    EXPECT_EQ(s, "7");
    EXPECT_TRUE(b);
}

TEST_F(VariantTest, Comparisons) {
    enum Expect { Less, Equal, Greater };
    struct Case {
        Variant a, b;
        Expect expect;
    };
    const Case cases[] = {
        {Null(), Null(), Equal},
        {Null(), 0, Less},
        {Null(), Unassigned(), Less},
        {Null(), "", Less},
        {Unassigned(), Unassigned(), Equal},
        {Unassigned(), 0, Equal},
        {Unassigned(), "", Equal},
        {Unassigned(), "a", Less},
        {Unassigned(), -1, Greater},
        {"abc", "abd", Less},
        {"b", "abc", Greater},
        {"a", "A", Less},   // case counts, lower case first
        {"a", "B", Less},   // letters in alphabetical, not code, order
        {"10", 9, Greater}, // a string against a number compares as a number
        {"10", "9", Less},  // two strings compare as text
        {1, 1.0, Equal},
        {1, 1.5, Less},
        {9007199254740993LL, 9007199254740992LL, Greater}, // beyond double precision
        {Currency(1.5), 1.5, Equal},
        {Currency(2), 2, Equal},
        {Currency(2.0001), 2, Greater},
        {TDateTime(43831.5), 43831.5, Equal},
        {TDateTime(43832.0), "1/2/2020", Equal},
        {true, -1, Equal},
        {static_cast<unsigned char>(200), short(200), Equal},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.a) + " vs " + ::testing::PrintToString(c.b));
        EXPECT_EQ(c.a == c.b, c.expect == Equal);
        EXPECT_EQ(c.a != c.b, c.expect != Equal);
        EXPECT_EQ(c.a < c.b, c.expect == Less);
        EXPECT_EQ(c.a > c.b, c.expect == Greater);
        EXPECT_EQ(c.b < c.a, c.expect == Greater); // the same answer from the other side
    }

    // Plain values on either side.
    Variant five(5);
    EXPECT_TRUE(five == 5 && 5 == five && five < 6 && 6 > five && five >= 5.0 && five != "6");

    EXPECT_EQ(RaisedBy([] { (void)(Variant("abc") == 1); }).Message,
              "Could not convert variant of type (String) into type (Double)");
    EXPECT_EQ(RaisedBy([] { (void)(VarArrayOf({1}) == VarArrayOf({1})); }).ClassName,
              "EVariantInvalidOpError");
}

TEST_F(VariantTest, Arithmetic) {
    struct Case {
        Variant result;
        TVarType type;
        Variant expected;
    };
    const TDateTime day = EncodeDate(2020, 1, 2);
    const Case cases[] = {
        {Variant(1) + 2, varInteger, 3},
        {Variant(INT_MAX) + 1, varInt64, 2147483648LL},
        {Variant(short(1)) - 3, varInteger, -2},
        {Variant("ab") + "cd", varString, "abcd"},
        {Variant("1.5") + 2, varDouble, 3.5},
        {1 + Variant(1.5), varDouble, 2.5},
        {Variant(Currency(1.5)) + 1, varCurrency, Currency(2.5)},
        {Variant(Currency(1.5)) - 0.25, varDouble, 1.25},
        {Variant(day) + 1, varDate, TDateTime(day + 1)},
        {Variant(day) - Variant(TDateTime(day - 3)), varDouble, 3.0},
        {Unassigned() + 5, varInteger, 5},
        {Unassigned() + "x", varString, "x"},
        {Null() + 1, varNull, Null()},
        {Variant("x") + Null(), varNull, Null()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VarType(c.result), c.type) << ::testing::PrintToString(c.result);
        EXPECT_EQ(c.result, c.expected);
    }
    EXPECT_THROW(Variant(LLONG_MAX) + 1, EVariantOverflowError);
    EXPECT_THROW(Variant("abc") + 1, EVariantTypeCastError);
}

TEST_F(VariantTest, Arrays) {
    Variant a = VarArrayCreate({1, 3}, varInteger);
    EXPECT_EQ(VarArrayDimCount(a), 1);
    EXPECT_EQ(VarArrayLowBound(a, 1), 1);
    EXPECT_EQ(VarArrayHighBound(a, 1), 3);
    EXPECT_EQ(VarType(VarArrayGet(a, {2})), varInteger); // typed elements start at 0
    VarArrayPut(a, "7", {3});                            // and take the element type
    EXPECT_EQ(VarType(VarArrayGet(a, {3})), varInteger);
    EXPECT_EQ(VarArrayGet(a, {3}), 7);

    // Copies do not share elements.
    Variant b = a;
    VarArrayPut(b, 9, {3});
    EXPECT_EQ(VarArrayGet(a, {3}), 7);

    Variant grid = VarArrayCreate({0, 1, 5, 7}, varVariant);
    VarArrayPut(grid, "x", {1, 5});
    VarArrayPut(grid, 2.5, {0, 7});
    EXPECT_EQ(VarArrayGet(grid, {1, 5}), "x");
    EXPECT_EQ(VarArrayGet(grid, {0, 7}), 2.5);
    EXPECT_TRUE(VarIsEmpty(VarArrayGet(grid, {1, 7})));
    EXPECT_EQ(VarArrayHighBound(grid, 2), 7);

    Variant of = VarArrayOf({1, "two", Null()});
    EXPECT_EQ(VarArrayHighBound(of, 1), 2);
    EXPECT_TRUE(VarIsNull(VarArrayGet(of, {2})));
    EXPECT_EQ(VarArrayDimCount(VarArrayOf({})), 1);
    EXPECT_EQ(VarArrayDimCount(Variant(1)), 0);

    const char* const outOfBounds = "Variant or safe array index out of bounds";
    struct Case {
        std::function<void()> action;
        const char* message;
    };
    const Case cases[] = {
        {[&] { VarArrayGet(a, {0}); }, outOfBounds},
        {[&] { VarArrayGet(a, {4}); }, outOfBounds},
        {[&] {
             VarArrayPut(grid, 1, {2, 5});
         },
         outOfBounds},
        {[&] { VarArrayGet(grid, {1}); }, outOfBounds},
        {[&] { VarArrayLowBound(grid, 3); }, outOfBounds},
        {[&] { VarArrayPut(a, "x", {1}); },
         "Could not convert variant of type (String) into type (Integer)"},
        {[] { VarArrayGet(Variant(1), {0}); }, "Variant is not an array"},
        {[] { VarArrayCreate({0}, varVariant); }, "Error creating variant or safe array"},
        {[] {
             VarArrayCreate({3, 1}, varVariant);
         },
         "Error creating variant or safe array"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RaisedBy(c.action).Message, c.message);
}

TEST_F(VariantTest, ObjectReferences) {
    TObject first, second;
    Variant ref = VarFromObject(&first);
    EXPECT_EQ(VarType(ref), varInteger);
    Variant copy = ref;
    EXPECT_EQ(VarToObject(copy), &first);
    EXPECT_TRUE(copy == VarFromObject(&first));
    EXPECT_FALSE(copy == VarFromObject(&second));

    EXPECT_EQ(VarToObject(VarFromObject(nullptr)), nullptr);
    EXPECT_EQ(VarToObject(Variant(0)), nullptr);
    EXPECT_EQ(VarToObject(Null()), nullptr);
    // A number that never was a reference does not become one.
    EXPECT_THROW(VarToObject(Variant(12345)), EVariantTypeCastError);
    EXPECT_THROW(VarToObject(Variant("x")), EVariantTypeCastError);
}
