#include "formstore/StrUtil.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using namespace formstore;

namespace {

struct TextCase {
    const char* Name;
    std::function<AnsiString()> Run;
    AnsiString Expected;
};

const TCharSet Space{' '};
const TCharSet Comma{','};

TEST(StrUtil, TextRoutinesGiveTheDocumentedResults) {
    const TextCase cases[] = {
        {"DelSpace1 collapses runs", [] { return DelSpace1("a   b  "); }, "a b "},
        {"DelRSpace trims both ends", [] { return DelRSpace("  a b  "); }, "a b"},
        {"DelBSpace keeps a leading tab", [] { return DelBSpace("  \t a"); }, "\t a"},
        {"DelESpace trims the end only", [] { return DelESpace(" a  "); }, " a"},
        {"DelBSpace of blanks only", [] { return DelBSpace("   "); }, ""},
        {"DelSpace removes every space", [] { return DelSpace(" a b c "); }, "abc"},
        {"DelChars removes the character", [] { return DelChars("a-b--c", '-'); }, "abc"},
        {"Tab2Space widens a tab", [] { return Tab2Space("a\tb", 3); }, "a   b"},
        {"Tab2Space 0 removes tabs", [] { return Tab2Space("a\tb\t", 0); }, "ab"},
        {"MakeStr repeats", [] { return MakeStr('x', 3); }, "xxx"},
        {"MakeStr of a negative count", [] { return MS('x', -2); }, ""},
        {"AddChar pads left", [] { return AddChar('0', "42", 5); }, "00042"},
        {"AddChar never truncates", [] { return AddChar('0', "42", 1); }, "42"},
        {"AddCharR pads right", [] { return AddCharR('.', "ab", 4); }, "ab.."},
        {"LeftStr justifies left", [] { return LeftStr("ab", 4); }, "ab  "},
        {"RightStr justifies right", [] { return RightStr("ab", 4); }, "  ab"},
        {"CenterStr puts the odd space after", [] { return CenterStr("ab", 7); }, "  ab   "},
        {"CenterStr of one character in 4", [] { return CenterStr("a", 4); }, "  a "},
        {"CenterStr leaves a long text", [] { return CenterStr("abcdef", 3); }, "abcdef"},
        {"Copy2Symb without the symbol", [] { return Copy2Symb("abc", ','); }, "abc"},
        {"Copy2Space stops at the space", [] { return Copy2Space("ab cd"); }, "ab"},
        {"AnsiProperCase", [] { return AnsiProperCase("hELLO wORLD", Space); }, "Hello World"},
        {"AnsiProperCase over delimiter runs",
         [] { return AnsiProperCase("--ab-cD--", TCharSet{'-'}); }, "--Ab-Cd--"},
        {"AnsiProperCase of a UTF-8 word",
         [] { return AnsiProperCase("\xC3\xA9T\xC3\x89 x", Space); }, "\xC3\x89t\xC3\xA9 X"},
        {"ExtractDelimited keeps empty fields", [] { return ExtractDelimited(2, "a,,b", Comma); },
         ""},
        {"ExtractDelimited third field", [] { return ExtractDelimited(3, "a,,b", Comma); }, "b"},
        {"ExtractDelimited past the end", [] { return ExtractDelimited(4, "a,,b", Comma); }, ""},
        {"ExtractDelimited field 0", [] { return ExtractDelimited(0, "a,,b", Comma); }, ""},
        {"QuotedString doubles quotes", [] { return QuotedString("it's", '\''); }, "'it''s'"},
        {"ExtractQuotedString undoes it", [] { return ExtractQuotedString("'it''s' x", '\''); },
         "it's"},
        {"ExtractQuotedString of plain text", [] { return ExtractQuotedString("plain", '"'); },
         "plain"},
        {"Numb2USA groups digits", [] { return Numb2USA("1234567"); }, "1,234,567"},
        {"Numb2USA of three digits", [] { return Numb2USA("123"); }, "123"},
        {"Numb2USA counts the sign as a character", [] { return Numb2USA("-123"); }, "-,123"},
        {"Numb2USA counts the point too", [] { return Numb2USA("1234.56"); }, "1,234,.56"},
        {"Numb2USA of four characters", [] { return Numb2USA("-1234"); }, "-1,234"},
        {"Numb2USA of empty text", [] { return Numb2USA(""); }, ""},
        {"Dec2Hex pads", [] { return Dec2Hex(255, 4); }, "00FF"},
        {"D2H of a negative value", [] { return D2H(-1, 2); }, "FFFFFFFF"},
        {"Dec2Numb base 16 width 4", [] { return Dec2Numb(255, 4, 16); }, "00FF"},
        {"Dec2Numb of 0", [] { return Dec2Numb(0, 0, 2); }, "0"},
        {"Dec2Numb base 36", [] { return Dec2Numb(35, 1, 36); }, "Z"},
        {"Dec2Numb of the largest value", [] { return Dec2Numb(0xFFFFFFFFu, 0, 2); },
         AnsiString(32, '1')},
        {"IntToRoman 1994", [] { return IntToRoman(1994); }, "MCMXCIV"},
        {"IntToRoman 4", [] { return IntToRoman(4); }, "IV"},
        {"IntToRoman 3888", [] { return IntToRoman(3888); }, "MMMDCCCLXXXVIII"},
        {"IntToRoman 0", [] { return IntToRoman(0); }, ""},
        {"IntToRoman negative", [] { return IntToRoman(-5); }, ""},
        {"IntToBin groups of 4", [] { return IntToBin(5, 8, 4); }, " 0000 0101"},
        {"IntToBin groups of 3", [] { return IntToBin(5, 4, 3); }, "0 101"},
        {"IntToBin caps at 32 digits", [] { return IntToBin(-1, 40, 16); },
         " " + AnsiString(16, '1') + " " + AnsiString(16, '1')},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.Run(), c.Expected) << c.Name;
}

TEST(StrUtil, NumberRoutinesReadTheirTexts) {
    const struct {
        const char* Name;
        std::function<int()> Run;
        int Expected;
    } cases[] = {
        {"Hex2Dec without $", [] { return Hex2Dec("ff"); }, 255},
        {"H2D with $", [] { return H2D("$10"); }, 16},
        {"Hex2Dec of no number", [] { return Hex2Dec("xyz"); }, 0},
        {"Hex2Dec of empty text", [] { return Hex2Dec(""); }, 0},
        {"Numb2Dec base 16", [] { return Numb2Dec("ff", 16); }, 255},
        {"Numb2Dec base 2", [] { return Numb2Dec("1010", 2); }, 10},
        {"Numb2Dec does not validate", [] { return Numb2Dec("2", 2); }, 2},
        {"RomanToInt MCMXCIV", [] { return RomanToInt("MCMXCIV"); }, 1994},
        {"RomanToInt negative lower case", [] { return RomanToInt("-xiv"); }, -14},
        {"RomanToInt stray character", [] { return RomanToInt("XIIZ"); }, 0},
        {"RomanToInt any smaller-before-greater", [] { return RomanToInt("IM"); }, 999},
        {"RomanToInt of empty text", [] { return RomanToInt(""); }, 0},
        {"NPos third a of banana", [] { return NPos("a", "banana", 3); }, 6},
        {"NPos fourth a of banana", [] { return NPos("a", "banana", 4); }, 0},
        {"NPos overlapping occurrences", [] { return NPos("aa", "aaa", 2); }, 2},
        {"NPos for n = 0", [] { return NPos("a", "banana", 0); }, 0},
        {"CompStr orders", [] { return CompStr("a", "b"); }, -1},
        {"CompStr is case-sensitive", [] { return CompStr("a", "A") != 0; }, 1},
        {"CompText ignores case", [] { return CompText("abc", "ABC"); }, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.Run(), c.Expected) << c.Name;
}

TEST(StrUtil, RomanNumeralsRoundTrip) {
    for (int Value = 1; Value <= 3999; ++Value)
        ASSERT_EQ(RomanToInt(IntToRoman(Value)), Value) << IntToRoman(Value);
}

TEST(StrUtil, BaseConversionsRefuseImpossibleBasesAndGroups) {
    EXPECT_THROW(Dec2Numb(10, 0, 1), EConvertError);
    EXPECT_THROW(Dec2Numb(10, 0, 0), EConvertError);
    EXPECT_THROW(Numb2Dec("10", 1), EConvertError);
    EXPECT_THROW(IntToBin(5, 8, 0), EConvertError);
    try {
        Dec2Numb(10, 0, 1);
    } catch (const EConvertError& e) {
        EXPECT_NE(e.Message.find('1'), AnsiString::npos) << e.Message;
    }
}

TEST(StrUtil, EmptyAndWordTests) {
    EXPECT_TRUE(IsEmptyStr("", Space));
    EXPECT_TRUE(IsEmptyStr(" \t ", TCharSet{' ', '\t'}));
    EXPECT_FALSE(IsEmptyStr(" x ", Space));

    EXPECT_TRUE(IsWordPresent("b", "a,,b,", Comma));
    EXPECT_FALSE(IsWordPresent("B", "a,,b,", Comma));
    EXPECT_FALSE(IsWordPresent("a", "ab,c", Comma));
}

TEST(StrUtil, ExtractWordPosReportsWhereTheWordStarts) {
    const struct {
        int N;
        AnsiString Word;
        int Pos;
    } cases[] = {{1, "a", 3}, {2, "b", 6}, {3, "", 0}, {0, "", 0}, {-1, "", 0}};
    for (const auto& c : cases) {
        int Pos = -99;
        EXPECT_EQ(ExtractWordPos(c.N, ",,a,,b,", Comma, Pos), c.Word) << c.N;
        EXPECT_EQ(Pos, c.Pos) << c.N;
    }
}

TEST(StrUtil, CopyToSymbolAndDeleteLeavesTheRest) {
    AnsiString Text = "first   second";
    EXPECT_EQ(Copy2SpaceDel(Text), "first");
    EXPECT_EQ(Text, "second");

    Text = "a,b";
    EXPECT_EQ(Copy2SymbDel(Text, ','), "a");
    EXPECT_EQ(Text, ",b");

    Text = "alone";
    EXPECT_EQ(Copy2SymbDel(Text, ','), "alone");
    EXPECT_EQ(Text, "");
}

TEST(StrUtil, ExtractSubstrWalksFieldByField) {
    int Pos = 1;
    EXPECT_EQ(ExtractSubstr("a,b", Pos, Comma), "a");
    EXPECT_EQ(Pos, 3);
    EXPECT_EQ(ExtractSubstr("a,b", Pos, Comma), "b");
    EXPECT_EQ(Pos, 4);
    EXPECT_EQ(ExtractSubstr("a,b", Pos, Comma), "");
    EXPECT_EQ(Pos, 4);

    Pos = -3; // read from the start rather than before the text
    EXPECT_EQ(ExtractSubstr("x,y", Pos, Comma), "x");
    EXPECT_EQ(Pos, 3);
}

TEST(StrUtil, GetCmdLineArgFindsTheParameterAfterTheSwitch) {
    const TCharSet Switches{'/', '-'};
    const struct {
        const char* Name;
        AnsiString Switch;
        TCharSet Chars;
        std::vector<AnsiString> Params;
        AnsiString Expected;
    } cases[] = {
        {"switch ignores case", "log", Switches, {"/LOG", "x.txt"}, "x.txt"},
        {"switch as the last parameter", "log", Switches, {"a", "/log"}, ""},
        {"other switch character", "log", Switches, {"-Log", "y", "z"}, "y"},
        {"a lone switch character is no candidate", "", Switches, {"/", "x"}, ""},
        {"no switch chars: every parameter", "og", TCharSet{}, {"log", "v"}, "v"},
        {"absent switch", "log", Switches, {"/debug", "x"}, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetCmdLineArg(c.Switch, c.Chars, c.Params), c.Expected) << c.Name;
}

} // namespace

namespace {

// Expected bytes from Python's str.encode('cp437', errors='replace') and
// bytes.decode('cp437').
TEST(StrUtilOem, CodePage437AgreesWithPython) {
    const struct {
        const char* Utf8;
        const char* Oem;
    } cases[] = {
        {"Gr\xc3\xbc\xc3\x9f"
         "e",
         "\x47\x72\x81\xE1\x65"},
        {"caf\xc3\xa9 \xc2\xbd \xe2\x82\xac", "\x63\x61\x66\x82\x20\xAB\x20\x3F"},
        {"\xe2\x95\x94\xe2\x95\x90\xe2\x95\x97 \xcf\x80\xe2\x89\x88", "\xC9\xCD\xBB\x20\xE3\xF7"},
        {"\xce\xa9\xc3\xa9\xe4\xb8\xad", "\xEA\x82\x3F"},
        {"plain", "plain"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StrToOem(c.Utf8), AnsiString(c.Oem)) << c.Utf8;
        if (std::strchr(c.Oem, '?') == nullptr)
            EXPECT_EQ(OemToAnsiStr(c.Oem), AnsiString(c.Utf8)) << c.Utf8;
    }
    // Bytes that start no UTF-8 character, and a cut-off sequence.
    EXPECT_EQ(StrToOem("a\xff"
                       "b\x80"
                       "c\xc3"),
              "a?b?c?");

    AnsiString High;
    for (int Byte = 0x80; Byte <= 0x8F; ++Byte)
        High += static_cast<char>(Byte);
    EXPECT_EQ(OemToAnsiStr(High),
              "\xc3\x87\xc3\xbc\xc3\xa9\xc3\xa2\xc3\xa4\xc3\xa0\xc3\xa5\xc3\xa7"
              "\xc3\xaa\xc3\xab\xc3\xa8\xc3\xaf\xc3\xae\xc3\xac\xc3\x84\xc3\x85");
    // Every byte has its character, so each comes back.
    AnsiString All;
    for (int Byte = 1; Byte <= 0xFF; ++Byte)
        All += static_cast<char>(Byte);
    EXPECT_EQ(StrToOem(OemToAnsiStr(All)), All);
}

} // namespace
