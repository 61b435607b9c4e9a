// The small text routines: removing and padding, words and fields, quoting,
// number bases, Roman numerals and command-line switches.
#include "formstore/StrUtil.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace formstore;

namespace {

struct CallCase {
    const char* Name;
    std::function<AnsiString()> Call;
    const char* Expected;
};

} // namespace

TEST(StringUtilsReading, RemovingPaddingAndCentring) {
    const CallCase Cases[] = {
        {"DelSpace1", [] { return DelSpace1("a   b  "); }, "a b "},
        {"DelSpace1 leading", [] { return DelSpace1("   a"); }, " a"},
        {"DelRSpace", [] { return DelRSpace("  a b  "); }, "a b"},
        {"DelBSpace tab", [] { return DelBSpace("\t a"); }, "\t a"},
        {"DelBSpace", [] { return DelBSpace("  a "); }, "a "},
        {"DelESpace", [] { return DelESpace(" a  "); }, " a"},
        {"DelESpace tab", [] { return DelESpace("a\t"); }, "a\t"},
        {"DelSpace", [] { return DelSpace(" a b c "); }, "abc"},
        {"DelChars", [] { return DelChars("banana", 'a'); }, "bnn"},
        {"DelChars all", [] { return DelChars("aaa", 'a'); }, ""},
        {"Tab2Space 3", [] { return Tab2Space("a\tb", 3); }, "a   b"},
        {"Tab2Space 0", [] { return Tab2Space("a\tb", 0); }, "ab"},
        {"Tab2Space two", [] { return Tab2Space("\t\t", 1); }, "  "},
        {"MakeStr", [] { return MakeStr('x', 3); }, "xxx"},
        {"MakeStr 0", [] { return MakeStr('x', 0); }, ""},
        {"MakeStr negative", [] { return MakeStr('x', -2); }, ""},
        {"MS", [] { return MS('-', 2); }, "--"},
        {"AddChar", [] { return AddChar('0', "42", 5); }, "00042"},
        {"AddChar short", [] { return AddChar('0', "42", 1); }, "42"},
        {"AddCharR", [] { return AddCharR('.', "42", 4); }, "42.."},
        {"LeftStr", [] { return LeftStr("ab", 4); }, "ab  "},
        {"LeftStr never cuts", [] { return LeftStr("abcdef", 3); }, "abcdef"},
        {"RightStr", [] { return RightStr("ab", 4); }, "  ab"},
        {"CenterStr", [] { return CenterStr("ab", 7); }, "  ab   "},
        {"CenterStr one in four", [] { return CenterStr("a", 4); }, "  a "},
        {"CenterStr long", [] { return CenterStr("abcd", 3); }, "abcd"},
        {"CenterStr empty", [] { return CenterStr("", 3); }, " " "  "},
    };
    for (const CallCase& C : Cases)
        EXPECT_EQ(C.Call(), C.Expected) << C.Name;
    EXPECT_TRUE(IsEmptyStr("", TCharSet{' '}));
    EXPECT_TRUE(IsEmptyStr(" \t ", TCharSet{' ', '\t'}));
    EXPECT_FALSE(IsEmptyStr(" a ", TCharSet{' '}));
}

TEST(StringUtilsReading, SearchingAndCutting) {
    struct {
        const char* Sub;
        const char* Text;
        int N, Expected;
    } NPosCases[] = {{"a", "banana", 3, 6}, {"a", "banana", 4, 0}, {"aa", "aaa", 2, 2},
                     {"a", "banana", 0, 0}, {"a", "banana", -1, 0}, {"an", "banana", 2, 4},
                     {"x", "banana", 1, 0}};
    for (const auto& C : NPosCases)
        EXPECT_EQ(NPos(C.Sub, C.Text, C.N), C.Expected) << C.Sub << " in " << C.Text << " #" << C.N;

    EXPECT_EQ(Copy2Symb("a,b", ','), "a");
    EXPECT_EQ(Copy2Symb("ab", ','), "ab");
    EXPECT_EQ(Copy2Space("first second"), "first");
    AnsiString S = "first   second";
    EXPECT_EQ(Copy2SpaceDel(S), "first");
    EXPECT_EQ(S, "second");
    S = "a,b";
    EXPECT_EQ(Copy2SymbDel(S, ','), "a");
    EXPECT_EQ(S, ",b");
    S = "ab";
    EXPECT_EQ(Copy2SymbDel(S, ','), "ab");
    EXPECT_EQ(S, "");
    S = "a, b";
    EXPECT_EQ(Copy2SymbDel(S, ','), "a");
    EXPECT_EQ(S, ", b");
    S = "";
    EXPECT_EQ(Copy2SpaceDel(S), "");
    EXPECT_EQ(S, "");
}

TEST(StringUtilsReading, WordsAndFields) {
    const TCharSet Space{' '}, Comma{','};
    EXPECT_EQ(AnsiProperCase("hELLO wORLD", Space), "Hello World");
    EXPECT_EQ(AnsiProperCase("  a-b c", TCharSet{' ', '-'}), "  A-B C");
    EXPECT_EQ(AnsiProperCase("", Space), "");

    int Pos = -1;
    EXPECT_EQ(ExtractWordPos(2, ",,a,,bc,", Comma, Pos), "bc");
    EXPECT_EQ(Pos, 6);
    EXPECT_EQ(ExtractWordPos(3, ",,a,,bc,", Comma, Pos), "");
    EXPECT_EQ(Pos, 0);

    struct {
        int N;
        const char* Text;
        const char* Expected;
    } Fields[] = {{1, "a,,b", "a"}, {2, "a,,b", ""}, {3, "a,,b", "b"}, {4, "a,,b", ""},
                  {0, "a,,b", ""},  {-1, "a", ""},  {1, ",a", ""},    {2, ",a", "a"},
                  {2, "ab,cd,ef", "cd"}};
    for (const auto& F : Fields)
        EXPECT_EQ(ExtractDelimited(F.N, F.Text, Comma), F.Expected) << F.N << " of " << F.Text;

    Pos = 1;
    EXPECT_EQ(ExtractSubstr("a,b", Pos, Comma), "a");
    EXPECT_EQ(Pos, 3);
    EXPECT_EQ(ExtractSubstr("a,b", Pos, Comma), "b");
    EXPECT_EQ(Pos, 4);
    EXPECT_EQ(ExtractSubstr("a,b", Pos, Comma), "");
    EXPECT_EQ(Pos, 4);
    Pos = 1;
    EXPECT_EQ(ExtractSubstr(",x", Pos, Comma), "");
    EXPECT_EQ(Pos, 2);

    EXPECT_TRUE(IsWordPresent("b", "a b c", Space));
    EXPECT_FALSE(IsWordPresent("B", "a b c", Space));
    EXPECT_FALSE(IsWordPresent("a b", "a b c", Space));
    EXPECT_FALSE(IsWordPresent("ab", "abc", Space));
}

TEST(StringUtilsReading, Quoting) {
    EXPECT_EQ(QuotedString("it's", '\''), "'it''s'");
    EXPECT_EQ(QuotedString("", '"'), "\"\"");
    EXPECT_EQ(ExtractQuotedString("'it''s' rest", '\''), "it's");
    EXPECT_EQ(ExtractQuotedString("plain", '\''), "plain");
    EXPECT_EQ(ExtractQuotedString("'open", '\''), "open");
    EXPECT_EQ(ExtractQuotedString("", '\''), "");
    for (const char* Text : {"", "a", "'", "''", "a'b'c"})
        EXPECT_EQ(ExtractQuotedString(QuotedString(Text, '\''), '\''), Text) << Text;
}

TEST(StringUtilsReading, CommandLineSwitches) {
    const TCharSet Switches{'/', '-'};
    struct {
        const char* Switch;
        TCharSet Chars;
        std::vector<AnsiString> Params;
        const char* Expected;
    } Cases[] = {
        {"log", Switches, {"/LOG", "x.txt"}, "x.txt"},
        {"log", Switches, {"a", "/log"}, ""},
        {"log", Switches, {"log", "x"}, ""},          // no switch character
        {"log", TCharSet{}, {"xlog", "y"}, "y"},      // empty set: every parameter
        {"", Switches, {"/", "x"}, ""},               // a lone switch character is none
        {"log", Switches, {"-Log", "a", "/log", "b"}, "a"},
        {"log", Switches, {"/logs", "a"}, ""},
        {"log", Switches, {}, ""},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(GetCmdLineArg(C.Switch, C.Chars, C.Params), C.Expected) << C.Switch;
    // The program's own command line has no such switch.
    EXPECT_EQ(GetCmdLineArg("no-such-switch-here", Switches), "");
}

TEST(StringUtilsReading, NumberBasesAndRomanNumerals) {
    const CallCase Texts[] = {
        {"Numb2USA", [] { return Numb2USA("1234567"); }, "1,234,567"},
        {"Numb2USA sign", [] { return Numb2USA("-123"); }, "-,123"},
        {"Numb2USA short", [] { return Numb2USA("123"); }, "123"},
        {"Numb2USA four", [] { return Numb2USA("1234"); }, "1,234"},
        {"Numb2USA empty", [] { return Numb2USA(""); }, ""},
        {"Dec2Hex", [] { return Dec2Hex(255, 4); }, "00FF"},
        {"Dec2Hex wide", [] { return Dec2Hex(0x12345, 2); }, "12345"},
        {"D2H", [] { return D2H(10, 1); }, "A"},
        {"Dec2Hex negative", [] { return Dec2Hex(-1, 1); }, "FFFFFFFF"},
        {"Dec2Numb", [] { return Dec2Numb(255, 4, 16); }, "00FF"},
        {"Dec2Numb zero", [] { return Dec2Numb(0, 0, 10); }, "0"},
        {"Dec2Numb binary", [] { return Dec2Numb(5, 1, 2); }, "101"},
        {"Dec2Numb max", [] { return Dec2Numb(0xFFFFFFFFu, 0, 16); }, "FFFFFFFF"},
        {"Dec2Numb base 36", [] { return Dec2Numb(35, 0, 36); }, "Z"},
        {"IntToRoman", [] { return IntToRoman(1994); }, "MCMXCIV"},
        {"IntToRoman 4", [] { return IntToRoman(4); }, "IV"},
        {"IntToRoman 0", [] { return IntToRoman(0); }, ""},
        {"IntToRoman -5", [] { return IntToRoman(-5); }, ""},
        {"IntToRoman 3888", [] { return IntToRoman(3888); }, "MMMDCCCLXXXVIII"},
        {"IntToRoman 449", [] { return IntToRoman(449); }, "CDXLIX"},
        {"IntToBin", [] { return IntToBin(5, 8, 4); }, " 0000 0101"},
        {"IntToBin odd", [] { return IntToBin(5, 6, 4); }, "00 0101"},
        {"IntToBin wide", [] { return IntToBin(-1, 40, 8); },
         " 11111111 11111111 11111111 11111111"},
    };
    for (const CallCase& C : Texts)
        EXPECT_EQ(C.Call(), C.Expected) << C.Name;

    struct {
        const char* Text;
        int Expected;
    } Ints[] = {{"MCMXCIV", 1994}, {"-xiv", -14}, {"XIIZ", 0}, {"IM", 999},
                {"", 0},           {"iiii", 4},   {"-", 0},    {"MMXXVI", 2026}};
    for (const auto& C : Ints)
        EXPECT_EQ(RomanToInt(C.Text), C.Expected) << C.Text;

    EXPECT_EQ(Hex2Dec("FF"), 255);
    EXPECT_EQ(Hex2Dec("$ff"), 255);
    EXPECT_EQ(H2D("10"), 16);
    EXPECT_EQ(Hex2Dec("xyz"), 0);
    EXPECT_EQ(Hex2Dec(""), 0);
    EXPECT_EQ(Numb2Dec("ff", 16), 255);
    EXPECT_EQ(Numb2Dec("101", 2), 5);
    EXPECT_EQ(Numb2Dec("", 10), 0);
    // Bad limits end in an error rather than looping or dividing by zero.
    EXPECT_THROW(Dec2Numb(5, 0, 1), EConvertError);
    EXPECT_THROW(IntToBin(5, 8, 0), EConvertError);
}

TEST(StringUtilsReading, ComparisonByTheLocale) {
    EXPECT_EQ(CompStr("a", "a"), 0);
    EXPECT_EQ(CompStr("a", "b"), -1);
    EXPECT_EQ(CompStr("b", "a"), 1);
    EXPECT_NE(CompStr("a", "A"), 0);
    EXPECT_EQ(CompText("abc", "ABC"), 0);
    EXPECT_EQ(CompText("abc", "ABD"), -1);
    EXPECT_EQ(CompText("", "a"), -1);
}

TEST(StringUtilsReading, OemCodePageRoundTrip) {
    EXPECT_EQ(StrToOem("abc"), "abc");
    EXPECT_EQ(OemToAnsiStr("abc"), "abc");
    // é is 0x82 in the OEM page.
    EXPECT_EQ(StrToOem("\xc3\xa9"), "\x82");
    EXPECT_EQ(OemToAnsiStr("\x82"), "\xc3\xa9");
    for (int B = 0; B < 256; ++B) {
        const AnsiString One(1, char(B));
        EXPECT_EQ(StrToOem(OemToAnsiStr(One)), One) << B;
    }
}

TEST(StringUtilsReading, EdgesOfTheLimits) {
    // Digits past the 32-bit range wrap instead of overflowing.
    EXPECT_EQ(Numb2Dec("100000000", 16), 0);
    EXPECT_EQ(Numb2Dec("FFFFFFFF", 16), -1);
    // 3,000,000 x 1000 wraps at 32 bits.
    EXPECT_EQ(RomanToInt(AnsiString(3000000, 'M')), static_cast<int>(3000000000u));
    EXPECT_EQ(RomanToInt("-" + AnsiString(3000000, 'M')), static_cast<int>(0u - 3000000000u));
    EXPECT_EQ(Hex2Dec("FFFFFFFF"), -1);
    EXPECT_EQ(Hex2Dec("$"), 0);
    EXPECT_EQ(Hex2Dec("FFFFFFFFFF"), 0); // past 32 bits: no number
    EXPECT_EQ(Dec2Numb(0xFFFFFFFFu, 40, 2), "00000000" + AnsiString(32, '1'));
    EXPECT_EQ(Numb2Dec("-1", 10), ('-' - 48) * 10 + 1);
    EXPECT_EQ(Dec2Hex(INT32_MIN, 1), "80000000");
    EXPECT_EQ(IntToBin(5, 0, 4), "");
    EXPECT_EQ(IntToBin(5, -3, 4), "");
    EXPECT_EQ(IntToBin(5, 3, 1), " 1 0 1");
    EXPECT_EQ(NPos("", "abc", 1), 0);
    EXPECT_EQ(AddChar('x', "ab", -1), "ab");
    EXPECT_EQ(CenterStr("ab", -4), "ab");
    int Pos = 10;
    EXPECT_EQ(ExtractSubstr("a,b", Pos, TCharSet{','}), "");
    EXPECT_EQ(Tab2Space("\t", 255).size(), 255u);
}

TEST(StringUtilsReading, CaseFollowsTheLocaleBeyondAscii) {
    EXPECT_EQ(AnsiProperCase("\xc3\xa9" "COLE \xc3\x89T\xc3\x89", TCharSet{' '}),
              "\xc3\x89" "cole \xc3\x89t\xc3\xa9");
    EXPECT_EQ(CompText("\xc3\xa9t\xc3\xa9", "\xc3\x89T\xc3\x89"), 0);
    EXPECT_EQ(GetCmdLineArg("l\xc3\xb6g", TCharSet{'/'}, {"/L\xc3\x96G", "x"}), "x");
}
