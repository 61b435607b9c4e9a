#include "formstore/PersistUtils.h"

#include <gtest/gtest.h>

using namespace formstore;

namespace {

TEST(PersistUtils, ReplaceStrIsLeftToRightWithoutOverlapOrRescan) {
    struct Case {
        const char* Text;
        const char* Search;
        const char* Replacement;
        const char* Expected;
    } cases[] = {
        {"aaa", "aa", "b", "ba"}, {"abc", "", "x", "abc"},   {"abab", "ab", "abab", "abababab"},
        {"aXa", "x", "y", "aXa"}, {"a.b.c", ".", "", "abc"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReplaceStr(c.Text, c.Search, c.Replacement), c.Expected) << c.Text;
}

TEST(PersistUtils, WordsOverDelimiterSets) {
    const TCharSet Comma{','};
    EXPECT_EQ(WordCount(",,a,,b,", Comma), 2);
    EXPECT_EQ(ExtractWord(2, ",,a,,b,", Comma), "b");
    EXPECT_EQ(WordPosition(2, ",,a,,b,", Comma), 6);
    EXPECT_EQ(ExtractWord(3, ",,a,,b,", Comma), "");
    EXPECT_EQ(ExtractWord(0, ",,a,,b,", Comma), "");
    EXPECT_EQ(WordPosition(-1, "a", Comma), 0);
    EXPECT_EQ(WordCount("", Comma), 0);

    // The stored position lists: any mix of spaces and commas.
    const TCharSet Position{' ', ','};
    EXPECT_EQ(WordCount("10, 20 ,30", Position), 3);
    EXPECT_EQ(ExtractWord(3, "10, 20 ,30", Position), "30");
    // Bytes of a UTF-8 character are ordinary word characters here.
    EXPECT_EQ(ExtractWord(1, "\xC3\xA9t\xC3\xA9,x", Comma), "\xC3\xA9t\xC3\xA9");
}

TEST(PersistUtils, IsWildMatchesTheExampleTable) {
    struct Case {
        const char* Input;
        const char* Pattern;
        bool IgnoreCase;
        bool Expected;
    } cases[] = {
        {"Main.Form1", "Main.*", false, true},
        {"Main.", "Main.*", false, true},
        {"Main", "Main.*", false, false},
        {"Mai", "Main.*", false, false},
        {"aXbYc", "a*b*b*c", false, false},
        {"abc", "a?c", false, true},
        {"ABC", "a*", true, true},
        {"ABC", "a*", false, false},
        {"", "*", false, true},
        {"", "?", false, false},
        {"abc", "ab*bc", false, true},
        {"xxaxbyy", "x*a*b*y", false, true},
        {"ab", "a*??b", false, false},
        {"Beacon Mill\\Grid", "Beacon Mill\\**", false, true},
        {"abcd", "a*c", false, false},
        {"abc", "", false, false},
        {"same", "same", false, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsWild(c.Input, c.Pattern, c.IgnoreCase), c.Expected)
            << "'" << c.Input << "' against '" << c.Pattern << "'";
}

TEST(PersistUtils, FindPartTreatsQuestionMarkAsAnyCharacter) {
    EXPECT_EQ(FindPart("b", "abc"), 2);
    EXPECT_EQ(FindPart("", "abc"), 0);
    EXPECT_EQ(FindPart("?c", "abc"), 2);
    EXPECT_EQ(FindPart("??", "a"), 0);
    EXPECT_EQ(FindPart("x?", "abc"), 0);
}

TEST(PersistUtils, XorEncodingExamplesAndRoundTrip) {
    EXPECT_EQ(XorEncode("", "AB"), "4142");
    EXPECT_EQ(XorDecode("", "4142"), "AB");
    EXPECT_EQ(XorDecode("", "zz41"), " A");
    EXPECT_EQ(XorDecode("", "414"), "A");
    EXPECT_EQ(XorEncode("", ""), "");
    EXPECT_EQ(XorEncode("\x01", "\xff"), "fe");

    const AnsiString Keys[] = {"", "k", "longer key than text"};
    const AnsiString Sources[] = {"", "secret", AnsiString("\0\x80\xff text", 9)};
    for (const AnsiString& Key : Keys)
        for (const AnsiString& Source : Sources) {
            const AnsiString Encoded = XorEncode(Key, Source);
            EXPECT_EQ(Encoded.size(), Source.size() * 2);
            EXPECT_EQ(XorDecode(Key, Encoded), Source) << "key '" << Key << "'";
        }
}

TEST(PersistUtils, XorStringIsItsOwnInverseOverShortStrings) {
    EXPECT_EQ(XorString("", "plain"), "plain");
    EXPECT_EQ(XorString("ab", XorString("ab", "message")), "message");
    EXPECT_EQ(XorString(" ", "a"), "A");
    // Short strings hold 255 characters.
    EXPECT_EQ(XorString("k", AnsiString(300, 'x')).size(), 255u);
}

TEST(PersistUtils, NormalDirAddsTheSeparatorOrADriveRoot) {
    struct Case {
        const char* Name;
        const char* Expected;
    } cases[] = {
        {"C", "C:\\"}, {"c", "c:\\"},
        {"C:", "C:"},  {"C:\\Temp", "C:\\Temp\\"},
        {"1", "1\\"},  {"C:\\Temp\\", "C:\\Temp\\"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(NormalDir(c.Name), c.Expected) << c.Name;
}

TEST(PersistUtils, ResStrPassesTheTextThrough) {
    EXPECT_EQ(ResStr("Text"), "Text");
}

} // namespace
