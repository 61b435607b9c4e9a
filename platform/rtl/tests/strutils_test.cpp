#include "platform/rtl/StrUtils.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

namespace {

TEST(StrUtils, PosCountsFromOneAndAnswersZeroWhenAbsent) {
    EXPECT_EQ(Pos("lo", "Hello"), 4);
    EXPECT_EQ(Pos("H", "Hello"), 1);
    EXPECT_EQ(Pos("", "Hello"), 0);
    EXPECT_EQ(Pos("x", ""), 0);
    EXPECT_EQ(Pos("Hello!", "Hello"), 0);
    EXPECT_EQ(AnsiPos("\xC3\xA9", "caf\xC3\xA9"), 4);
}

TEST(StrUtils, CopyClampsIndexAndCount) {
    struct Case {
        int Index, Count;
        const char* Expected;
    };
    const Case cases[] = {
        {1, 3, "Hel"}, {0, 2, "He"}, {-5, 2, "He"}, {5, 10, "o"},         {6, 1, ""},
        {7, 1, ""},    {2, 0, ""},   {2, -1, ""},   {2, INT_MAX, "ello"}, {INT_MIN, 1, "H"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Copy("Hello", c.Index, c.Count), c.Expected) << c.Index << "," << c.Count;
    EXPECT_EQ(Copy("", 1, 1), "");
}

TEST(StrUtils, DeleteIgnoresOutOfRangeAndClampsCount) {
    struct Case {
        int Index, Count;
        const char* Expected;
    };
    const Case cases[] = {
        {2, 2, "Hlo"},   {4, 100, "Hel"},  {0, 2, "Hello"},      {6, 1, "Hello"},
        {1, 0, "Hello"}, {1, -3, "Hello"}, {5, INT_MAX, "Hell"}, {INT_MIN, 5, "Hello"},
    };
    for (const Case& c : cases) {
        AnsiString s = "Hello";
        Delete(s, c.Index, c.Count);
        EXPECT_EQ(s, c.Expected) << c.Index << "," << c.Count;
    }
}

TEST(StrUtils, InsertClampsPosition) {
    const std::pair<int, const char*> cases[] = {
        {1, "Xabc"}, {0, "Xabc"}, {-7, "Xabc"}, {2, "aXbc"}, {4, "abcX"}, {99, "abcX"},
    };
    for (const auto& [index, expected] : cases) {
        AnsiString s = "abc";
        Insert("X", s, index);
        EXPECT_EQ(s, expected) << index;
    }
}

TEST(StrUtils, CharAtRaisesOutsideTheText) {
    EXPECT_EQ(CharAt("abc", 1), 'a');
    EXPECT_EQ(CharAt("abc", 3), 'c');
    for (int index : {0, 4, -1, INT_MAX})
        EXPECT_THROW(CharAt("abc", index), ERangeError);
    EXPECT_THROW(CharAt("", 1), ERangeError);
    try {
        CharAt("abc", 4);
    } catch (const ERangeError& e) {
        EXPECT_NE(e.Message.find('4'), AnsiString::npos) << e.Message;
    }
}

TEST(StrUtils, TrimRemovesBlanksAndControlsButNotMultibyteText) {
    EXPECT_EQ(Trim(" \t a b \r\n"), "a b");
    EXPECT_EQ(TrimLeft(" \t a b \r\n"), "a b \r\n");
    EXPECT_EQ(TrimRight(" \t a b \r\n"), " \t a b");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(Trim("\xC3\xA9 "), "\xC3\xA9");
}

TEST(StrUtils, CaseMappings) {
    EXPECT_EQ(UpperCase("abc-xyz \xC3\xA9"), "ABC-XYZ \xC3\xA9");
    EXPECT_EQ(LowerCase("ABC \xC3\x89"), "abc \xC3\x89");
    struct Case {
        const char *Lower, *Upper;
    };
    const Case pairs[] = {
        {"caf\xC3\xA9", "CAF\xC3\x89"}, // é
        {"\xC3\xBF", "\xC5\xB8"},       // ÿ Ÿ
        {"\xC5\x82\xC3\xB3"
         "d\xC5\xBA",
         "\xC5\x81\xC3\x93"
         "D\xC5\xB9"},                                            // łódź
        {"\xD0\xBF\xD1\x80\xD0\xB8", "\xD0\x9F\xD0\xA0\xD0\x98"}, // при
        {"\xCE\xB1\xCF\x89", "\xCE\x91\xCE\xA9"},                 // αω
    };
    for (const Case& c : pairs) {
        EXPECT_EQ(AnsiUpperCase(c.Lower), c.Upper);
        EXPECT_EQ(AnsiLowerCase(c.Upper), c.Lower);
    }
    // Malformed UTF-8 passes through byte for byte.
    EXPECT_EQ(AnsiUpperCase("\xFF"
                            "a\xC3"),
              "\xFF"
              "A\xC3");
    EXPECT_EQ(AnsiUpperCase("\xC3\xB7"), "\xC3\xB7"); // ÷ has no case
}

TEST(StrUtils, OrdinalComparisons) {
    EXPECT_LT(CompareStr("a", "b"), 0);
    EXPECT_GT(CompareStr("abc", "ab"), 0);
    EXPECT_LT(CompareStr("ABC", "abc"), 0);
    EXPECT_EQ(CompareStr("", ""), 0);
    EXPECT_LT(CompareStr("a", "\xC3\xA9"), 0); // bytes compare unsigned
    EXPECT_EQ(CompareText("ABC", "abc"), 0);
    EXPECT_GT(CompareText("_", "a"), 0);
    EXPECT_LT(CompareText("ab", "ABC"), 0);
    EXPECT_TRUE(SameText("Hello", "hELLO"));
    EXPECT_FALSE(SameText("Hello", "Hell"));
}

TEST(StrUtils, AnsiComparisonsSortAsAWordList) {
    std::vector<AnsiString> words{"beta", "Zed", "alpha2", "_under",       "10",   "Eve",
                                  "coop", "2",   "co-op",  "\xC3\xA9mile", "Alpha"};
    std::sort(words.begin(), words.end(),
              [](const AnsiString& a, const AnsiString& b) { return AnsiCompareText(a, b) < 0; });
    const std::vector<AnsiString> expected{"_under",       "10",   "2",     "Alpha",
                                           "alpha2",       "beta", "co-op", "coop",
                                           "\xC3\xA9mile", "Eve",  "Zed"};
    EXPECT_EQ(words, expected);

    EXPECT_EQ(AnsiCompareText("a", "A"), 0);
    EXPECT_TRUE(AnsiSameText("\xC3\xA9T\xC3\xA9", "\xC3\x89t\xC3\x89"));
    EXPECT_EQ(AnsiCompareStr("a", "A"), -1); // lower case first
    EXPECT_EQ(AnsiCompareStr("A", "b"), -1);
    EXPECT_EQ(AnsiCompareStr("b", "A"), 1);
    EXPECT_EQ(AnsiCompareText("e", "\xC3\xA9"), -1); // the plain letter first
    EXPECT_EQ(AnsiCompareText("\xC3\xA9", "f"), -1);
    EXPECT_EQ(AnsiCompareStr("same", "same"), 0);
    EXPECT_NE(AnsiCompareText("coop", "co-op"), 0);
}

TEST(StrUtils, StringReplace) {
    struct Case {
        const char *S, *Old, *New;
        TReplaceFlags Flags;
        const char* Expected;
    };
    const Case cases[] = {
        {"a.b.c", ".", "-", {}, "a-b.c"},
        {"a.b.c", ".", "-", rfReplaceAll, "a-b-c"},
        {"Hello HELLO", "hello", "x", rfReplaceAll, "Hello HELLO"},
        {"Hello HELLO", "hello", "x", rfReplaceAll | rfIgnoreCase, "x x"},
        {"Hello HELLO", "hello", "x", rfIgnoreCase, "x HELLO"},
        {"aa", "a", "aa", rfReplaceAll, "aaaa"},
        {"abc", "", "x", rfReplaceAll, "abc"},
        {"", "a", "x", rfReplaceAll, ""},
        {"aaa", "aa", "b", rfReplaceAll, "ba"},
        {"\xC3\x89mile \xC3\xA9mile", "\xC3\xA9mile", "X", rfReplaceAll | rfIgnoreCase, "X X"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StringReplace(c.S, c.Old, c.New, c.Flags), c.Expected) << c.S << " / " << c.Old;
    EXPECT_EQ(StringReplace("x-x", "x", "y", TReplaceFlags() << rfReplaceAll), "y-y");
}

TEST(StrUtils, Quoting) {
    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
    EXPECT_EQ(QuotedStr(""), "''");
    EXPECT_EQ(AnsiQuotedStr("a\"b", '"'), "\"a\"\"b\"");

    const char* text = "'it''s' rest";
    EXPECT_EQ(AnsiExtractQuotedStr(text, '\''), "it's");
    EXPECT_STREQ(text, " rest");

    const char* unquoted = "plain";
    EXPECT_EQ(AnsiExtractQuotedStr(unquoted, '\''), "");
    EXPECT_STREQ(unquoted, "plain");

    const char* open = "'abc";
    EXPECT_EQ(AnsiExtractQuotedStr(open, '\''), "abc");
    EXPECT_STREQ(open, "");
}

TEST(StrUtils, StringOfCharAndIntToHex) {
    EXPECT_EQ(StringOfChar('x', 3), "xxx");
    EXPECT_EQ(StringOfChar('x', 0), "");
    EXPECT_EQ(StringOfChar('x', -1), "");

    EXPECT_EQ(IntToHex(255, 4), "00FF");
    EXPECT_EQ(IntToHex(0x1234, 2), "1234");
    EXPECT_EQ(IntToHex(0, 0), "0");
    EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFF");
    EXPECT_EQ(IntToHex(std::int64_t{-1}, 2), "FFFFFFFFFFFFFFFF");
    EXPECT_EQ(IntToHex(0xABCDEFu, 8), "00ABCDEF");
}

TEST(StrUtils, DelimitersAndLineBreaks) {
    EXPECT_EQ(LastDelimiter("\\.", "c:\\dir\\file.txt"), 12);
    EXPECT_EQ(LastDelimiter("\\", "c:\\dir\\file.txt"), 7);
    EXPECT_EQ(LastDelimiter(";", "abc"), 0);
    EXPECT_EQ(LastDelimiter(";", ""), 0);

    EXPECT_TRUE(IsDelimiter(",;", "a,b", 2));
    EXPECT_FALSE(IsDelimiter(",;", "a,b", 1));
    for (int index : {0, 4, -1})
        EXPECT_FALSE(IsDelimiter(",", "a,b", index));

    const AnsiString mixed = "a\rb\nc\r\nd\n\re\n\nf";
    EXPECT_EQ(AdjustLineBreaks(mixed), "a\r\nb\r\nc\r\nd\r\ne\r\n\r\nf");
    EXPECT_EQ(AdjustLineBreaks(mixed, tlbsLF), "a\nb\nc\nd\ne\n\nf");
    EXPECT_EQ(AdjustLineBreaks(""), "");
}

} // namespace
