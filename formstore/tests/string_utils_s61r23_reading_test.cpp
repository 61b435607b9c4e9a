// Probes of the text routines through their public calls: each table row is
// one call and the text or number it must give.
#include "formstore/StrUtil.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace formstore {
namespace {

struct TextCase {
    const char* Name;
    std::function<AnsiString()> Call;
    AnsiString Expected;
};

TEST(TextRoutinesRecheck, TextResultsFollowTheRules) {
    const TCharSet Space{' '};
    const TCharSet Comma{','};
    const std::vector<TextCase> Cases = {
        {"DelChars all", [] { return DelChars("banana", 'a'); }, "bnn"},
        {"DelSpace1 runs", [] { return DelSpace1("a   b  "); }, "a b "},
        {"DelSpace1 leading run", [] { return DelSpace1("   a"); }, " a"},
        {"DelRSpace", [] { return DelRSpace("  a b  "); }, "a b"},
        {"DelBSpace keeps tab", [] { return DelBSpace("  \t a "); }, "\t a "},
        {"DelESpace keeps tab", [] { return DelESpace(" a\t  "); }, " a\t"},
        {"DelSpace", [] { return DelSpace(" a b "); }, "ab"},
        {"Tab2Space 3", [] { return Tab2Space("a\tb", 3); }, "a   b"},
        {"Tab2Space 0", [] { return Tab2Space("a\tb", 0); }, "ab"},
        {"Tab2Space two tabs", [] { return Tab2Space("\t\tx", 2); }, "    x"},
        {"MakeStr 3", [] { return MakeStr('x', 3); }, "xxx"},
        {"MakeStr negative", [] { return MakeStr('x', -2); }, ""},
        {"MS", [] { return MS('-', 2); }, "--"},
        {"AddChar 5", [] { return AddChar('0', "42", 5); }, "00042"},
        {"AddChar 1", [] { return AddChar('0', "42", 1); }, "42"},
        {"AddCharR", [] { return AddCharR('.', "ab", 4); }, "ab.."},
        {"LeftStr", [] { return LeftStr("ab", 4); }, "ab  "},
        {"LeftStr no cut", [] { return LeftStr("abcdef", 3); }, "abcdef"},
        {"RightStr", [] { return RightStr("ab", 4); }, "  ab"},
        {"CenterStr 7", [] { return CenterStr("ab", 7); }, "  ab   "},
        {"CenterStr one in 4", [] { return CenterStr("a", 4); }, "  a "},
        {"CenterStr odd in even", [] { return CenterStr("abc", 4); }, " abc"},
        {"CenterStr even in odd", [] { return CenterStr("ab", 3); }, "ab "},
        {"CenterStr too long", [] { return CenterStr("abcd", 2); }, "abcd"},
        {"Copy2Symb none", [] { return Copy2Symb("abc", ','); }, "abc"},
        {"Copy2Symb", [] { return Copy2Symb("ab,c,d", ','); }, "ab"},
        {"Copy2Space", [] { return Copy2Space("one two"); }, "one"},
        {"ProperCase", [&] { return AnsiProperCase("hELLO wORLD", Space); }, "Hello World"},
        {"ProperCase two delims", [] { return AnsiProperCase(" jEAN-lUC x", TCharSet{' ', '-'}); },
         " Jean-Luc X"},
        {"Delimited 2 of a,,b", [&] { return ExtractDelimited(2, "a,,b", Comma); }, ""},
        {"Delimited 3 of a,,b", [&] { return ExtractDelimited(3, "a,,b", Comma); }, "b"},
        {"Delimited 1", [&] { return ExtractDelimited(1, "a,,b", Comma); }, "a"},
        {"Delimited past end", [&] { return ExtractDelimited(4, "a,,b", Comma); }, ""},
        {"Delimited 0", [&] { return ExtractDelimited(0, "a,,b", Comma); }, ""},
        {"Delimited leading", [&] { return ExtractDelimited(2, ",x", Comma); }, "x"},
        {"Quoted", [] { return QuotedString("it's", '\''); }, "'it''s'"},
        {"Quoted empty", [] { return QuotedString("", '"'); }, "\"\""},
        {"Unquote", [] { return ExtractQuotedString("'it''s'", '\''); }, "it's"},
        {"Unquote stops at close", [] { return ExtractQuotedString("'ab'cd", '\''); }, "ab"},
        {"Unquote not quoted", [] { return ExtractQuotedString("ab'c'", '\''); }, "ab'c'"},
        {"Unquote empty", [] { return ExtractQuotedString("", '\''); }, ""},
        {"Numb2USA 7", [] { return Numb2USA("1234567"); }, "1,234,567"},
        {"Numb2USA sign", [] { return Numb2USA("-123"); }, "-,123"},
        {"Numb2USA 6", [] { return Numb2USA("123456"); }, "123,456"},
        {"Numb2USA 4", [] { return Numb2USA("1234"); }, "1,234"},
        {"Numb2USA 3", [] { return Numb2USA("123"); }, "123"},
        {"Numb2USA empty", [] { return Numb2USA(""); }, ""},
        {"Dec2Hex", [] { return Dec2Hex(255, 4); }, "00FF"},
        {"Dec2Hex short", [] { return Dec2Hex(255, 1); }, "FF"},
        {"Dec2Hex negative", [] { return Dec2Hex(-1, 2); }, "FFFFFFFF"},
        {"D2H", [] { return D2H(10, 0); }, "A"},
        {"Dec2Numb 255/16", [] { return Dec2Numb(255, 4, 16); }, "00FF"},
        {"Dec2Numb 0", [] { return Dec2Numb(0, 0, 10); }, "0"},
        {"Dec2Numb 0 padded", [] { return Dec2Numb(0, 3, 2); }, "000"},
        {"Dec2Numb binary", [] { return Dec2Numb(5, 0, 2); }, "101"},
        {"Dec2Numb max", [] { return Dec2Numb(4294967295u, 0, 16); }, "FFFFFFFF"},
        {"Dec2Numb base 36", [] { return Dec2Numb(35, 0, 36); }, "Z"},
        {"Roman 1994", [] { return IntToRoman(1994); }, "MCMXCIV"},
        {"Roman 4", [] { return IntToRoman(4); }, "IV"},
        {"Roman 0", [] { return IntToRoman(0); }, ""},
        {"Roman negative", [] { return IntToRoman(-5); }, ""},
        {"Roman 3999", [] { return IntToRoman(3999); }, "MMMCMXCIX"},
        {"Roman 4000", [] { return IntToRoman(4000); }, "MMMM"},
        {"Roman 49", [] { return IntToRoman(49); }, "XLIX"},
        {"Roman 8", [] { return IntToRoman(8); }, "VIII"},
        {"Roman 444", [] { return IntToRoman(444); }, "CDXLIV"},
        {"Roman 600", [] { return IntToRoman(600); }, "DC"},
        {"Bin groups", [] { return IntToBin(5, 8, 4); }, " 0000 0101"},
        {"Bin short", [] { return IntToBin(5, 3, 4); }, "101"},
        {"Bin all ones", [] { return IntToBin(-1, 4, 2); }, " 11 11"},
        {"Bin none", [] { return IntToBin(1, 0, 4); }, ""},
        {"Bin caps 32", [] { return IntToBin(1, 40, 32); }, " 00000000000000000000000000000001"},
        {"Oem accent", [] { return StrToOem("\xC3\xA9"); }, "\x82"},
        {"Oem plain", [] { return StrToOem("abc"); }, "abc"},
        {"Oem back", [] { return OemToAnsiStr("\x82"); }, "\xC3\xA9"},
    };
    for (const TextCase& C : Cases)
        EXPECT_EQ(C.Call(), C.Expected) << C.Name;
}

struct NumberCase {
    const char* Name;
    std::function<int()> Call;
    int Expected;
};

TEST(TextRoutinesRecheck, NumberResultsFollowTheRules) {
    const std::vector<NumberCase> Cases = {
        {"NPos 3rd", [] { return NPos("a", "banana", 3); }, 6},
        {"NPos 4th", [] { return NPos("a", "banana", 4); }, 0},
        {"NPos 0th", [] { return NPos("a", "banana", 0); }, 0},
        {"NPos overlap", [] { return NPos("aa", "aaa", 2); }, 2},
        {"NPos 1st", [] { return NPos("an", "banana", 1); }, 2},
        {"NPos 2nd", [] { return NPos("an", "banana", 2); }, 4},
        {"NPos empty sub", [] { return NPos("", "abc", 1); }, 0},
        {"Hex2Dec", [] { return Hex2Dec("FF"); }, 255},
        {"Hex2Dec dollar lower", [] { return Hex2Dec("$ff"); }, 255},
        {"Hex2Dec bad", [] { return Hex2Dec("1G"); }, 0},
        {"Hex2Dec empty", [] { return Hex2Dec(""); }, 0},
        {"Hex2Dec dollar only", [] { return Hex2Dec("$"); }, 0},
        {"H2D", [] { return H2D("1a"); }, 26},
        {"Numb2Dec ff", [] { return Numb2Dec("ff", 16); }, 255},
        {"Numb2Dec binary", [] { return Numb2Dec("101", 2); }, 5},
        {"Numb2Dec z", [] { return Numb2Dec("z", 36); }, 35},
        {"Roman 1994", [] { return RomanToInt("MCMXCIV"); }, 1994},
        {"Roman negative", [] { return RomanToInt("-xiv"); }, -14},
        {"Roman bad char", [] { return RomanToInt("XIIZ"); }, 0},
        {"Roman IM", [] { return RomanToInt("IM"); }, 999},
        {"Roman IIII", [] { return RomanToInt("IIII"); }, 4},
        {"Roman XIX", [] { return RomanToInt("XIX"); }, 19},
        {"Roman empty", [] { return RomanToInt(""); }, 0},
        {"Roman space", [] { return RomanToInt("X I"); }, 0},
        {"CompStr less", [] { return CompStr("a", "b"); }, -1},
        {"CompStr greater", [] { return CompStr("b", "a"); }, 1},
        {"CompStr equal", [] { return CompStr("abc", "abc"); }, 0},
        {"CompStr locale not bytes", [] { return CompStr("a", "B"); }, -1},
        {"CompStr upper after", [] { return CompStr("B", "a"); }, 1},
        {"CompStr empty", [] { return CompStr("", "a"); }, -1},
        {"CompStr hyphen counts", [] { return CompStr("co-op", "coop"); }, -1},
        {"CompText case", [] { return CompText("abc", "ABC"); }, 0},
        {"CompText less", [] { return CompText("abc", "ABD"); }, -1},
        {"CompText hyphen counts", [] { return CompText("CO-OP", "coop"); }, -1},
    };
    for (const NumberCase& C : Cases)
        EXPECT_EQ(C.Call(), C.Expected) << C.Name;
    EXPECT_NE(CompStr("abc", "ABC"), 0);
}

TEST(TextRoutinesRecheck, PredicatesAndWordSearch) {
    const TCharSet Space{' '};
    EXPECT_TRUE(IsEmptyStr("", Space));
    EXPECT_TRUE(IsEmptyStr("  ", Space));
    EXPECT_FALSE(IsEmptyStr(" \t", Space));
    EXPECT_TRUE(IsWordPresent("ab", "x ab y", Space));
    EXPECT_FALSE(IsWordPresent("AB", "x ab y", Space));
    EXPECT_FALSE(IsWordPresent("a", "x ab y", Space));
    EXPECT_FALSE(IsWordPresent("ab", "", Space));

    int Pos = -1;
    EXPECT_EQ(ExtractWordPos(2, "  ab  cd", Space, Pos), "cd");
    EXPECT_EQ(Pos, 7);
    EXPECT_EQ(ExtractWordPos(3, "  ab  cd", Space, Pos), "");
    EXPECT_EQ(Pos, 0);
}

TEST(TextRoutinesRecheck, InOutArgumentsMoveAsDescribed) {
    AnsiString S = "first   second";
    EXPECT_EQ(Copy2SpaceDel(S), "first");
    EXPECT_EQ(S, "second");
    S = "a,b";
    EXPECT_EQ(Copy2SymbDel(S, ','), "a");
    EXPECT_EQ(S, ",b");
    S = "abc";
    EXPECT_EQ(Copy2SymbDel(S, ','), "abc");
    EXPECT_EQ(S, "");
    S = "only";
    EXPECT_EQ(Copy2SpaceDel(S), "only");
    EXPECT_EQ(S, "");

    const TCharSet Comma{','};
    int Pos = 1;
    EXPECT_EQ(ExtractSubstr("a,b", Pos, Comma), "a");
    EXPECT_EQ(Pos, 3);
    EXPECT_EQ(ExtractSubstr("a,b", Pos, Comma), "b");
    EXPECT_EQ(Pos, 4);
    Pos = 3;
    EXPECT_EQ(ExtractSubstr("a,,b", Pos, Comma), "");
    EXPECT_EQ(Pos, 4);
}

TEST(TextRoutinesRecheck, CommandLineSwitches) {
    const TCharSet Switches{'/', '-'};
    struct Case {
        const char* Name;
        std::vector<AnsiString> Params;
        TCharSet Set;
        AnsiString Expected;
    };
    const std::vector<Case> Cases = {
        {"upper switch", {"/LOG", "x.txt"}, Switches, "x.txt"},
        {"last parameter", {"x", "/log"}, Switches, ""},
        {"dash", {"-log", "y"}, Switches, "y"},
        {"later match", {"/a", "1", "/log", "f"}, Switches, "f"},
        {"bare switch char", {"/", "log", "z"}, Switches, ""},
        {"no switch char", {"log", "z"}, Switches, ""},
        {"empty set skips first char", {"xlog", "v"}, TCharSet{}, "v"},
        {"no parameters", {}, Switches, ""},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(GetCmdLineArg("log", C.Set, C.Params), C.Expected) << C.Name;
}

TEST(TextRoutinesRecheck, InputsStayUnchanged) {
    const AnsiString In = "  a\tb  ";
    const AnsiString Copy = In;
    (void)DelRSpace(In);
    (void)Tab2Space(In, 2);
    (void)DelSpace1(In);
    (void)CenterStr(In, 20);
    EXPECT_EQ(In, Copy);
}
TEST(TextRoutinesRecheck, EdgeInputsReturnSoundResults) {
    const TCharSet Space{' '};
    const std::vector<TextCase> Texts = {
        {"ProperCase accented", [&] { return AnsiProperCase("\xC3\xA9" "COLE \xC3\x89T\xC3\x89", Space); },
         "\xC3\x89" "cole \xC3\x89t\xC3\xA9"},
        {"DelSpace1 only spaces", [] { return DelSpace1("   "); }, " "},
        {"AddChar negative width", [] { return AddChar('0', "7", -3); }, "7"},
        {"CenterStr zero width", [] { return CenterStr("ab", 0); }, "ab"},
        {"Copy2Symb empty", [] { return Copy2Symb("", ','); }, ""},
        {"Quoted quotes", [] { return QuotedString("''", '\''); }, "''''''"},
        {"Unquote doubled", [] { return ExtractQuotedString("''''", '\''); }, "'"},
        {"Unquote lone quote", [] { return ExtractQuotedString("'", '\''); }, ""},
        {"Unquote unclosed", [] { return ExtractQuotedString("'ab", '\''); }, "ab"},
        {"Delimited empty set", [] { return ExtractDelimited(1, "a,b", TCharSet{}); }, "a,b"},
        {"Numb2USA 2", [] { return Numb2USA("12"); }, "12"},
        {"Bin negative digits", [] { return IntToBin(3, -1, 4); }, ""},
        {"Bin group 1", [] { return IntToBin(2, 2, 1); }, " 1 0"},
    };
    for (const TextCase& C : Texts)
        EXPECT_EQ(C.Call(), C.Expected) << C.Name;

    const std::vector<NumberCase> Numbers = {
        {"CompText accented", [] { return CompText("\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89"); }, 0},
        {"NPos overlap 3", [] { return NPos("aa", "aaaa", 3); }, 3},
        {"NPos longer sub", [] { return NPos("abcd", "abc", 1); }, 0},
        {"Roman lower IM", [] { return RomanToInt("im"); }, 999},
        {"Roman minus only", [] { return RomanToInt("-"); }, 0},
        {"Roman second minus", [] { return RomanToInt("--X"); }, 0},
        {"Roman IIV", [] { return RomanToInt("IIV"); }, 5},
        {"Roman VX", [] { return RomanToInt("VX"); }, 5},
        {"Hex2Dec too big", [] { return Hex2Dec("100000000"); }, 0},
        {"Hex2Dec 0x", [] { return Hex2Dec("0x1A"); }, 0},
    };
    for (const NumberCase& C : Numbers)
        EXPECT_EQ(C.Call(), C.Expected) << C.Name;

    int Pos = 10;
    EXPECT_EQ(ExtractSubstr("a,b", Pos, TCharSet{','}), "");
    Pos = 0;
    EXPECT_EQ(ExtractSubstr("a,b", Pos, TCharSet{','}), "a");
    EXPECT_EQ(Pos, 3);
    AnsiString S = "a   b";
    EXPECT_EQ(Copy2SpaceDel(S), "a");
    EXPECT_EQ(S, "b");
    const std::vector<AnsiString> Params = {"/L\xC3\x96G", "u"};
    EXPECT_EQ(GetCmdLineArg("l\xC3\xB6g", TCharSet{'/'}, Params), "u");
    EXPECT_EQ(GetCmdLineArg("no-such-switch-here", TCharSet{'-'}), "");
}

TEST(TextRoutinesRecheck, OverlongDigitsWrapWithoutFault) {
    // Digits are summed without checking; a text longer than the number
    // range must still give a number, not undefined arithmetic.
    (void)Numb2Dec("FFFFFFFFFFFFFFFFFFFF", 16);
    (void)Numb2Dec("ZZZZZZZZZZZZZZZZ", 36);
    (void)Numb2Dec("zz~~", 16);
    (void)RomanToInt(AnsiString(3000000, 'M'));
    EXPECT_EQ(Numb2Dec("FFFFFFFF", 16), -1);
}
TEST(TextRoutinesRecheck, EveryOemByteSurvivesTheRoundTrip) {
    AnsiString All;
    for (int B = 0; B < 256; ++B)
        All += static_cast<char>(B);
    const AnsiString Text = OemToAnsiStr(All);
    EXPECT_EQ(StrToOem(Text), All);
}

TEST(TextRoutinesRecheck, LimitsCallersMustRespectAreRefusedByName) {
    // A base below 2 or a group size below 1 has no sound result: the call
    // must come back with an error instead of looping or dividing by zero.
    for (std::uint8_t Base : {0, 1}) {
        EXPECT_THROW((void)Dec2Numb(10, 0, Base), EConvertError) << int(Base);
        EXPECT_THROW((void)Numb2Dec("10", Base), EConvertError) << int(Base);
    }
    EXPECT_THROW((void)IntToBin(5, 8, 0), EConvertError);
    EXPECT_THROW((void)IntToBin(5, 8, -4), EConvertError);
    try {
        (void)Dec2Numb(10, 0, 1);
        ADD_FAILURE() << "base 1 accepted";
    } catch (const EConvertError& E) {
        EXPECT_NE(E.Message.find("base 1"), AnsiString::npos) << E.Message;
    }
}

} // namespace
} // namespace formstore
