// The string routines as a calling program sees them: removal and padding,
// words and fields, quoting, switches, number bases and Roman numerals.
#include "formstore/StrUtil.h"

#include "platform/gui/Forms.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

using namespace formstore;

namespace {

struct GotCase {
    const char* Name;
    AnsiString Got;
    AnsiString Want;
};

TEST(StringRoutinesReading, RemovalPaddingAndCentring) {
    const std::vector<GotCase> Cases = {
        {"DelChars", DelChars("a-b--c-", '-'), "abc"},
        {"DelSpace", DelSpace(" a b  c "), "abc"},
        {"DelBSpace keeps a tab", DelBSpace("  \ta "), "\ta "},
        {"DelESpace", DelESpace(" a  "), " a"},
        {"DelRSpace", DelRSpace("  a b  "), "a b"},
        {"DelRSpace all spaces", DelRSpace("   "), ""},
        {"DelSpace1", DelSpace1("a   b  "), "a b "},
        {"DelSpace1 leading run", DelSpace1("   a"), " a"},
        {"Tab2Space 3", Tab2Space("a\tb", 3), "a   b"},
        {"Tab2Space 0", Tab2Space("a\tb\t", 0), "ab"},
        {"Tab2Space adjacent tabs", Tab2Space("\t\t", 2), "    "},
        {"Tab2Space wide", Tab2Space("\t", 255), AnsiString(255, ' ')},
        {"MakeStr", MakeStr('x', 3), "xxx"},
        {"MakeStr 0", MakeStr('x', 0), ""},
        {"MakeStr negative", MakeStr('x', -2), ""},
        {"MS", MS('-', 2), "--"},
        {"AddChar", AddChar('0', "42", 5), "00042"},
        {"AddChar short width", AddChar('0', "42", 1), "42"},
        {"AddChar negative width", AddChar('0', "42", -3), "42"},
        {"AddCharR", AddCharR('.', "42", 4), "42.."},
        {"LeftStr", LeftStr("ab", 4), "ab  "},
        {"LeftStr never truncates", LeftStr("abcdef", 2), "abcdef"},
        {"RightStr", RightStr("ab", 4), "  ab"},
        {"CenterStr 2 in 7", CenterStr("ab", 7), "  ab   "},
        {"CenterStr 1 in 4", CenterStr("a", 4), "  a "},
        {"CenterStr 3 in 4", CenterStr("abc", 4), " abc"},
        {"CenterStr not shorter", CenterStr("abcd", 4), "abcd"},
        {"CenterStr empty", CenterStr("", 3), "   "},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(C.Got, C.Want) << C.Name;

    EXPECT_TRUE(IsEmptyStr("", TCharSet{' '}));
    EXPECT_TRUE(IsEmptyStr(" \t ", TCharSet{' ', '\t'}));
    EXPECT_FALSE(IsEmptyStr(" a ", TCharSet{' '}));
}

TEST(StringRoutinesReading, ComparisonGivesOnlyMinusOneZeroOrOne) {
    EXPECT_EQ(CompStr("a", "zzz"), -1);
    EXPECT_EQ(CompStr("zzz", "a"), 1);
    EXPECT_EQ(CompStr("abc", "abc"), 0);
    EXPECT_NE(CompStr("a", "A"), 0);
    EXPECT_EQ(CompText("a", "A"), 0);
    EXPECT_EQ(CompText("ABC", "abd"), -1);
    EXPECT_EQ(CompText("b", "A"), 1);
    // String sort: a hyphen or apostrophe is a symbol ranked before letters,
    // not a character the comparison skips.
    EXPECT_EQ(CompStr("co-op", "coat"), -1);
    EXPECT_EQ(CompText("CO-OP", "coat"), -1);
    EXPECT_EQ(CompStr("it's", "ita"), -1);
}

TEST(StringRoutinesReading, SearchAndCopyToSymbol) {
    struct { AnsiString Sub, Text; int N, Want; } NCases[] = {
        {"a", "banana", 3, 6}, {"a", "banana", 4, 0}, {"a", "banana", 0, 0},
        {"aa", "aaa", 2, 2}, {"an", "banana", 2, 4}, {"x", "banana", 1, 0},
        {"a", "banana", -1, 0}, {"", "banana", 1, 0}, {"banana!", "banana", 1, 0},
    };
    for (const auto& C : NCases)
        EXPECT_EQ(NPos(C.Sub, C.Text, C.N), C.Want) << C.Sub << " in " << C.Text << " #" << C.N;

    EXPECT_EQ(Copy2Symb("a,b", ','), "a");
    EXPECT_EQ(Copy2Symb("abc", ','), "abc");
    EXPECT_EQ(Copy2Space("first second"), "first");

    struct { AnsiString Text; char Symb; AnsiString Want, Rest; } DelCases[] = {
        {"first   second", ' ', "first", "second"},
        {"a,b", ',', "a", ",b"},
        {"abc", ',', "abc", ""},
        {",  b", ',', "", ",  b"},
        {"", ',', "", ""},
    };
    for (auto C : DelCases) {
        const AnsiString Orig = C.Text;
        EXPECT_EQ(Copy2SymbDel(C.Text, C.Symb), C.Want) << Orig;
        EXPECT_EQ(C.Text, C.Rest) << Orig;
    }
    AnsiString S = "one  two";
    EXPECT_EQ(Copy2SpaceDel(S), "one");
    EXPECT_EQ(S, "two");
}

TEST(StringRoutinesReading, WordsAndFields) {
    EXPECT_EQ(AnsiProperCase("hELLO wORLD", TCharSet{' '}), "Hello World");
    EXPECT_EQ(AnsiProperCase("o'neil-SMITH", TCharSet{'\'', '-'}), "O'Neil-Smith");

    struct { int N; AnsiString Text, Want; int Pos; } WCases[] = {
        {1, "  ab  cd", "ab", 3}, {2, "  ab  cd", "cd", 7},
        {3, "  ab  cd", "", 0}, {0, "ab", "", 0}, {1, "   ", "", 0},
    };
    for (const auto& C : WCases) {
        int Pos = -7;
        EXPECT_EQ(ExtractWordPos(C.N, C.Text, TCharSet{' '}, Pos), C.Want) << C.N << C.Text;
        EXPECT_EQ(Pos, C.Pos) << C.N << C.Text;
    }

    const std::vector<std::pair<int, AnsiString>> Fields = {
        {0, ""}, {-1, ""}, {1, "a"}, {2, ""}, {3, "b"}, {4, ""}};
    for (const auto& [N, Want] : Fields)
        EXPECT_EQ(ExtractDelimited(N, "a,,b", TCharSet{','}), Want) << N;
    EXPECT_EQ(ExtractDelimited(1, ",a", TCharSet{','}), "");
    EXPECT_EQ(ExtractDelimited(2, "a;b,c", TCharSet{',', ';'}), "b");

    struct { AnsiString Want; int PosAfter; } Steps[] = {{"a", 3}, {"", 4}, {"b", 5}, {"", 5}};
    int Pos = 1;
    for (const auto& St : Steps) {
        EXPECT_EQ(ExtractSubstr("a,,b", Pos, TCharSet{','}), St.Want);
        EXPECT_EQ(Pos, St.PosAfter);
    }
    Pos = 1;
    EXPECT_EQ(ExtractSubstr("a,b", Pos, TCharSet{','}), "a");
    EXPECT_EQ(Pos, 3);
    EXPECT_EQ(ExtractSubstr("a,b", Pos, TCharSet{','}), "b");
    EXPECT_EQ(Pos, 4);

    Pos = 10;
    EXPECT_EQ(ExtractSubstr("a,b", Pos, TCharSet{','}), "");
    Pos = 0;
    EXPECT_EQ(ExtractSubstr("a,b", Pos, TCharSet{','}), "a");
    EXPECT_EQ(Pos, 3);

    EXPECT_TRUE(IsWordPresent("a b", "a b", TCharSet{}));
    EXPECT_TRUE(IsWordPresent("two", "one two three", TCharSet{' '}));
    EXPECT_FALSE(IsWordPresent("Two", "one two three", TCharSet{' '}));
    EXPECT_FALSE(IsWordPresent("tw", "one two three", TCharSet{' '}));
    EXPECT_FALSE(IsWordPresent("", "one two", TCharSet{' '}));
}

TEST(StringRoutinesReading, QuotingRoundTrips) {
    EXPECT_EQ(QuotedString("it's", '\''), "'it''s'");
    EXPECT_EQ(QuotedString("", '"'), "\"\"");
    EXPECT_EQ(ExtractQuotedString("'it''s' rest", '\''), "it's");
    EXPECT_EQ(ExtractQuotedString("plain 'x'", '\''), "plain 'x'");
    EXPECT_EQ(ExtractQuotedString("", '\''), "");
    for (const AnsiString S : {"", "a", "''", "x'y'z", "'"})
        EXPECT_EQ(ExtractQuotedString(QuotedString(S, '\''), '\''), S) << S;
}

TEST(StringRoutinesReading, CommandLineSwitches) {
    const TCharSet Sw{'/', '-'};
    struct { const char* Name; AnsiString Switch; TCharSet Set; std::vector<AnsiString> Params; AnsiString Want; } Cases[] = {
        {"case-insensitive", "log", Sw, {"/LOG", "x.txt"}, "x.txt"},
        {"dash", "log", Sw, {"a", "-log", "b"}, "b"},
        {"last parameter", "log", Sw, {"a", "/log"}, ""},
        {"no switch char", "log", Sw, {"log", "x"}, ""},
        {"other switch", "log", Sw, {"/out", "x"}, ""},
        {"empty set takes any first char", "log", TCharSet{}, {"xlog", "v"}, "v"},
        {"lone switch char not a candidate", "", Sw, {"/", "v"}, ""},
        {"first match wins", "a", Sw, {"/a", "1", "/a", "2"}, "1"},
        {"no params", "log", Sw, {}, ""},
        {"case beyond ASCII", "l\xC3\xB6g", Sw, {"/L\xC3\x96G", "x"}, "x"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(GetCmdLineArg(C.Switch, C.Set, C.Params), C.Want) << C.Name;

    // The plain form reads the program's own command line.
    std::vector<AnsiString> Saved;
    for (int I = 0; I <= ParamCount(); ++I)
        Saved.push_back(ParamStr(I));
    SetCommandLine({"prog", "-v", "/LOG", "x.txt"});
    EXPECT_EQ(GetCmdLineArg("log", Sw), "x.txt");
    EXPECT_EQ(GetCmdLineArg("out", Sw), "");
    SetCommandLine({"prog", "/log"});
    EXPECT_EQ(GetCmdLineArg("log", Sw), "");
    SetCommandLine(Saved);
}

TEST(StringRoutinesReading, NumberBases) {
    const std::vector<GotCase> Texts = {
        {"Numb2USA 7", Numb2USA("1234567"), "1,234,567"},
        {"Numb2USA sign", Numb2USA("-123"), "-,123"},
        {"Numb2USA 3", Numb2USA("123"), "123"},
        {"Numb2USA 4", Numb2USA("1234"), "1,234"},
        {"Numb2USA point", Numb2USA("1234.5"), "123,4.5"},
        {"Numb2USA empty", Numb2USA(""), ""},
        {"Dec2Hex", Dec2Hex(255, 4), "00FF"},
        {"Dec2Hex wider", Dec2Hex(0x12345, 2), "12345"},
        {"Dec2Hex negative", Dec2Hex(-1, 2), "FFFFFFFF"},
        {"D2H", D2H(10, 1), "A"},
        {"Dec2Hex zero", Dec2Hex(0, 0), "0"},
        {"Dec2Numb", Dec2Numb(255, 4, 16), "00FF"},
        {"Dec2Numb zero", Dec2Numb(0, 3, 10), "000"},
        {"Dec2Numb zero no width", Dec2Numb(0, 0, 10), "0"},
        {"Dec2Numb binary", Dec2Numb(5, 0, 2), "101"},
        {"Dec2Numb unsigned", Dec2Numb(0xFFFFFFFFu, 0, 16), "FFFFFFFF"},
        {"Dec2Numb base 36", Dec2Numb(35, 2, 36), "0Z"},
    };
    for (const auto& C : Texts)
        EXPECT_EQ(C.Got, C.Want) << C.Name;

    struct { AnsiString Text; int Want; } Hex[] = {
        {"ff", 255}, {"FF", 255}, {"$1A", 26}, {"zz", 0}, {"", 0}, {"$", 0}, {"12G", 0},
    };
    for (const auto& C : Hex) {
        EXPECT_EQ(Hex2Dec(C.Text), C.Want) << C.Text;
        EXPECT_EQ(H2D(C.Text), C.Want) << C.Text;
    }

    struct { AnsiString Text; int Base; int Want; } Numb[] = {
        {"ff", 16, 255}, {"101", 2, 5}, {"z", 36, 35}, {"00FF", 16, 255},
        {"1G", 16, 32}, {"", 10, 0},
    };
    for (const auto& C : Numb)
        EXPECT_EQ(Numb2Dec(C.Text, static_cast<std::uint8_t>(C.Base)), C.Want) << C.Text;
}

TEST(StringRoutinesReading, LongDigitTextsWrapInsteadOfFaulting) {
    // Too many digits for 32 bits: computed without checking, never undefined.
    (void)Numb2Dec("FFFFFFFFFFFFFFFFFFFF", 16);
    (void)Numb2Dec("zzzzzzzzzzzzzzzzzzzz", 36);
    EXPECT_EQ(Numb2Dec("100000000", 16), 0);
    EXPECT_EQ(Hex2Dec("FFFFFFFFFFFF"), 0);
}

TEST(StringRoutinesReading, RomanNumerals) {
    struct { AnsiString Text; int Want; } ToInt[] = {
        {"MCMXCIV", 1994}, {"-xiv", -14}, {"XIIZ", 0}, {"IM", 999}, {"iv", 4},
        {"", 0}, {"-", 0}, {"-XZ", 0}, {"MMMM", 4000}, {"VX", 5}, {"IIV", 5},
    };
    for (const auto& C : ToInt)
        EXPECT_EQ(RomanToInt(C.Text), C.Want) << C.Text;

    struct { int Value; AnsiString Want; } ToRoman[] = {
        {1994, "MCMXCIV"}, {4, "IV"}, {0, ""}, {-5, ""}, {3999, "MMMCMXCIX"},
        {4000, "MMMM"}, {49, "XLIX"}, {8, "VIII"}, {1, "I"}, {444, "CDXLIV"}, {600, "DC"},
    };
    for (const auto& C : ToRoman)
        EXPECT_EQ(IntToRoman(C.Value), C.Want) << C.Value;
    for (int V = 1; V < 4000; ++V)
        ASSERT_EQ(RomanToInt(IntToRoman(V)), V) << V;
}

TEST(StringRoutinesReading, BinaryDigitsInGroups) {
    const std::vector<GotCase> Cases = {
        {"8 in 4s", IntToBin(5, 8, 4), " 0000 0101"},
        {"3 in 4s", IntToBin(5, 3, 4), "101"},
        {"6 in 4s", IntToBin(5, 6, 4), "00 0101"},
        {"all ones", IntToBin(-1, 32, 8), " 11111111 11111111 11111111 11111111"},
        {"over 32", IntToBin(1, 40, 16), " 0000000000000000 0000000000000001"},
        {"no digits", IntToBin(5, 0, 4), ""},
        {"negative digits", IntToBin(5, -3, 4), ""},
        {"lowest value", IntToBin(INT_MIN, 32, 16), " 1000000000000000 0000000000000000"},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(C.Got, C.Want) << C.Name;
}

TEST(StringRoutinesReading, OemCodePageRoundTrip) {
    EXPECT_EQ(StrToOem("abc"), "abc");
    EXPECT_EQ(StrToOem("\xC3\xA9"), "\x82");          // e acute
    EXPECT_EQ(StrToOem("\xC3\x84"), "\x8E");          // A umlaut
    EXPECT_EQ(StrToOem("\xE2\x82\xAC"), "?");         // euro sign, not in the page
    EXPECT_EQ(OemToAnsiStr("\x82\x8E"), "\xC3\xA9\xC3\x84");
    const AnsiString Text = "Gr\xC3\xBC\xC3\x9F" "e";
    EXPECT_EQ(OemToAnsiStr(StrToOem(Text)), Text);
}

} // namespace
