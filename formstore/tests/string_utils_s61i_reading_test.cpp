// The string routines on the texts a caller hands them, as tables of
// input and expected output.
#include "formstore/StrUtil.h"

#include "platform/gui/Forms.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace formstore;

namespace {

struct RunCase {
    const char* Name;
    std::function<AnsiString()> Run;
    const char* Expected;
};

TEST(StringUtilsFreshReading, TextResults) {
    const TCharSet Space{' '};
    const TCharSet Comma{','};
    const std::vector<RunCase> Cases = {
        {"DelSpace1 runs", [] { return DelSpace1("a   b  "); }, "a b "},
        {"DelSpace1 leading run", [] { return DelSpace1("   a"); }, " a"},
        {"DelRSpace", [] { return DelRSpace("  a b  "); }, "a b"},
        {"DelBSpace keeps tab", [] { return DelBSpace("  \ta "); }, "\ta "},
        {"DelESpace", [] { return DelESpace(" a  "); }, " a"},
        {"DelSpace", [] { return DelSpace(" a b "); }, "ab"},
        {"DelChars", [] { return DelChars("banana", 'a'); }, "bnn"},
        {"Tab2Space 3", [] { return Tab2Space("a\tb", 3); }, "a   b"},
        {"Tab2Space 0", [] { return Tab2Space("a\tb", 0); }, "ab"},
        {"Tab2Space two tabs", [] { return Tab2Space("\t\t", 2); }, "    "},
        {"MakeStr", [] { return MakeStr('x', 3); }, "xxx"},
        {"MakeStr negative", [] { return MakeStr('x', -2); }, ""},
        {"MS", [] { return MS('-', 2); }, "--"},
        {"AddChar pads", [] { return AddChar('0', "42", 5); }, "00042"},
        {"AddChar never cuts", [] { return AddChar('0', "42", 1); }, "42"},
        {"AddCharR", [] { return AddCharR('.', "42", 4); }, "42.."},
        {"LeftStr", [] { return LeftStr("ab", 4); }, "ab  "},
        {"LeftStr never cuts", [] { return LeftStr("abcdef", 2); }, "abcdef"},
        {"RightStr", [] { return RightStr("ab", 4); }, "  ab"},
        {"CenterStr odd rest", [] { return CenterStr("ab", 7); }, "  ab   "},
        {"CenterStr one in four", [] { return CenterStr("a", 4); }, "  a "},
        {"CenterStr not shorter", [] { return CenterStr("abc", 3); }, "abc"},
        {"Copy2Symb", [] { return Copy2Symb("a,b", ','); }, "a"},
        {"Copy2Symb none", [] { return Copy2Symb("ab", ','); }, "ab"},
        {"Copy2Space", [] { return Copy2Space("ab cd"); }, "ab"},
        {"ProperCase", [=] { return AnsiProperCase("hELLO wORLD", Space); }, "Hello World"},
        {"ProperCase delimiters", [=] { return AnsiProperCase(",aB,,cD", Comma); }, ",Ab,,Cd"},
        {"ExtractDelimited empty field", [=] { return ExtractDelimited(2, "a,,b", Comma); }, ""},
        {"ExtractDelimited third", [=] { return ExtractDelimited(3, "a,,b", Comma); }, "b"},
        {"ExtractDelimited first", [=] { return ExtractDelimited(1, "a,,b", Comma); }, "a"},
        {"ExtractDelimited past end", [=] { return ExtractDelimited(5, "a,,b", Comma); }, ""},
        {"ExtractDelimited zero", [=] { return ExtractDelimited(0, "a,,b", Comma); }, ""},
        {"QuotedString", [] { return QuotedString("it's", '\''); }, "'it''s'"},
        {"ExtractQuoted", [] { return ExtractQuotedString("'it''s' tail", '\''); }, "it's"},
        {"ExtractQuoted unquoted", [] { return ExtractQuotedString("it's", '\''); }, "it's"},
        {"Numb2USA", [] { return Numb2USA("1234567"); }, "1,234,567"},
        {"Numb2USA sign", [] { return Numb2USA("-123"); }, "-,123"},
        {"Numb2USA short", [] { return Numb2USA("123"); }, "123"},
        {"Numb2USA four", [] { return Numb2USA("1234"); }, "1,234"},
        {"Dec2Hex", [] { return Dec2Hex(255, 4); }, "00FF"},
        {"D2H wider", [] { return D2H(0x12345, 2); }, "12345"},
        {"Dec2Numb", [] { return Dec2Numb(255, 4, 16); }, "00FF"},
        {"Dec2Numb zero", [] { return Dec2Numb(0, 0, 10); }, "0"},
        {"Dec2Numb top", [] { return Dec2Numb(4294967295u, 0, 16); }, "FFFFFFFF"},
        {"Dec2Numb base 36", [] { return Dec2Numb(35, 2, 36); }, "0Z"},
        {"IntToRoman 1994", [] { return IntToRoman(1994); }, "MCMXCIV"},
        {"IntToRoman 4", [] { return IntToRoman(4); }, "IV"},
        {"IntToRoman 3888", [] { return IntToRoman(3888); }, "MMMDCCCLXXXVIII"},
        {"IntToRoman 0", [] { return IntToRoman(0); }, ""},
        {"IntToRoman negative", [] { return IntToRoman(-5); }, ""},
        {"IntToBin groups", [] { return IntToBin(5, 8, 4); }, " 0000 0101"},
        {"IntToBin uneven", [] { return IntToBin(5, 6, 4); }, "00 0101"},
        {"IntToBin capped", [] { return IntToBin(-1, 40, 32); }, " 11111111111111111111111111111111"},
    };
    for (const RunCase& C : Cases)
        EXPECT_EQ(C.Run(), C.Expected) << C.Name;
}

TEST(StringUtilsFreshReading, NumberAndTruthResults) {
    const TCharSet Space{' '};
    struct Case {
        const char* Name;
        std::function<int()> Run;
        int Expected;
    };
    const std::vector<Case> Cases = {
        {"NPos third", [] { return NPos("a", "banana", 3); }, 6},
        {"NPos fourth", [] { return NPos("a", "banana", 4); }, 0},
        {"NPos overlapping", [] { return NPos("aa", "aaa", 2); }, 2},
        {"NPos zero", [] { return NPos("a", "banana", 0); }, 0},
        {"Hex2Dec", [] { return Hex2Dec("ff"); }, 255},
        {"Hex2Dec dollar", [] { return Hex2Dec("$1A"); }, 26},
        {"H2D bad", [] { return H2D("xyz"); }, 0},
        {"Hex2Dec empty", [] { return Hex2Dec(""); }, 0},
        {"Numb2Dec", [] { return Numb2Dec("ff", 16); }, 255},
        {"Numb2Dec binary", [] { return Numb2Dec("1010", 2); }, 10},
        {"RomanToInt 1994", [] { return RomanToInt("MCMXCIV"); }, 1994},
        {"RomanToInt negative", [] { return RomanToInt("-xiv"); }, -14},
        {"RomanToInt bad", [] { return RomanToInt("XIIZ"); }, 0},
        {"RomanToInt IM", [] { return RomanToInt("IM"); }, 999},
        {"RomanToInt empty", [] { return RomanToInt(""); }, 0},
        {"IsEmptyStr spaces", [=] { return int(IsEmptyStr("   ", Space)); }, 1},
        {"IsEmptyStr empty", [=] { return int(IsEmptyStr("", Space)); }, 1},
        {"IsEmptyStr text", [=] { return int(IsEmptyStr(" a ", Space)); }, 0},
        {"IsWordPresent", [=] { return int(IsWordPresent("bb", "a bb c", Space)); }, 1},
        {"IsWordPresent part", [=] { return int(IsWordPresent("b", "a bb c", Space)); }, 0},
        {"IsWordPresent case", [=] { return int(IsWordPresent("BB", "a bb c", Space)); }, 0},
        {"CompStr equal", [] { return CompStr("abc", "abc"); }, 0},
        {"CompStr less", [] { return CompStr("abc", "abd"); }, -1},
        {"CompStr case", [] { return CompStr("abc", "ABC") != 0 ? 1 : 0; }, 1},
        {"CompText case", [] { return CompText("abc", "ABC"); }, 0},
        {"CompText greater", [] { return CompText("b", "A"); }, 1},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(C.Run(), C.Expected) << C.Name;
}

TEST(StringUtilsFreshReading, InOutArgumentsMoveAlong) {
    AnsiString S = "first   second";
    EXPECT_EQ(Copy2SpaceDel(S), "first");
    EXPECT_EQ(S, "second");
    AnsiString T = "a,b";
    EXPECT_EQ(Copy2SymbDel(T, ','), "a");
    EXPECT_EQ(T, ",b");
    AnsiString U = "whole";
    EXPECT_EQ(Copy2SymbDel(U, ','), "whole");
    EXPECT_EQ(U, "");

    const TCharSet Comma{','};
    int Pos = 1;
    EXPECT_EQ(ExtractSubstr("a,b", Pos, Comma), "a");
    EXPECT_EQ(Pos, 3);
    EXPECT_EQ(ExtractSubstr("a,b", Pos, Comma), "b");
    EXPECT_EQ(Pos, 4);
    EXPECT_EQ(ExtractSubstr("a,b", Pos, Comma), "");

    int WordPos = -1;
    EXPECT_EQ(ExtractWordPos(2, "  ab  cd", TCharSet{' '}, WordPos), "cd");
    EXPECT_EQ(WordPos, 7);
    EXPECT_EQ(ExtractWordPos(3, "  ab  cd", TCharSet{' '}, WordPos), "");
    EXPECT_EQ(WordPos, 0);
}

TEST(StringUtilsFreshReading, SwitchesOnTheProgramsCommandLine) {
    const TCharSet Switches{'/', '-'};
    struct Case {
        std::vector<AnsiString> Args;
        const char* Switch;
        TCharSet Chars;
        const char* Expected;
    };
    const std::vector<Case> Cases = {
        {{"prog", "/LOG", "x.txt"}, "log", Switches, "x.txt"},
        {{"prog", "x.txt", "/log"}, "log", Switches, ""},
        {{"prog", "-log", "a", "/log", "b"}, "log", Switches, "a"},
        {{"prog", "/", "log", "y"}, "", Switches, ""},
        {{"prog", "log", "y"}, "log", Switches, ""},
        {{"prog", "xlog", "y"}, "log", TCharSet{}, "y"},
        {{"prog"}, "log", Switches, ""},
    };
    for (const Case& C : Cases) {
        SetCommandLine(C.Args);
        EXPECT_EQ(GetCmdLineArg(C.Switch, C.Chars), C.Expected) << C.Args.size() << " " << C.Switch;
    }
    SetCommandLine({"prog"});
}

TEST(StringUtilsFreshReading, LocaleCasingReachesLettersBeyondAscii) {
    const TCharSet Space{' '};
    EXPECT_EQ(AnsiProperCase("\xc3\xa9" "COLE \xc3\x89T\xc3\x89", Space), "\xc3\x89" "cole \xc3\x89t\xc3\xa9");
    EXPECT_EQ(CompText("\xc3\x89t\xc3\xa9", "\xc3\xa9T\xc3\x89"), 0);
    EXPECT_NE(CompStr("\xc3\x89t\xc3\xa9", "\xc3\xa9T\xc3\x89"), 0);
    const std::vector<AnsiString> Args = {"prog", "/\xc3\x89T\xc3\xa9", "summer"};
    SetCommandLine(Args);
    EXPECT_EQ(GetCmdLineArg("\xc3\xa9t\xc3\xa9", TCharSet{'/'}), "summer");
    SetCommandLine({"prog"});
}

TEST(StringUtilsFreshReading, OemRoundTripKeepsEveryByte) {
    for (int B = 0; B < 256; ++B) {
        const AnsiString Oem(1, static_cast<char>(B));
        const AnsiString Ansi = OemToAnsiStr(Oem);
        EXPECT_EQ(StrToOem(Ansi), Oem) << B;
    }
    EXPECT_EQ(StrToOem("plain"), "plain");
}

} // namespace
