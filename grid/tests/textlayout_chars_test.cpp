#include "grid/foundation/TextChars.h"

#include <gtest/gtest.h>

#include <string_view>

using namespace grid;
using namespace std::string_view_literals;

namespace {

// "é" is two bytes, "€" three, "😀" four.
constexpr std::string_view Mixed = "a\xC3\xA9\xE2\x82\xAC"
                                   "b"; // a é € b: 7 bytes, 4 characters

struct TStep {
    std::string_view Text;
    int Pos;
    int Expected;
};

class FarEastOff {
public:
    FarEastOff() { gxIsFarEast = false; }
    ~FarEastOff() { gxIsFarEast = true; }
};

TEST(TextCharsTest, NextCharCountStepsOverBreaksAndWholeCharacters) {
    const TStep Cases[] = {
        {"ab", 0, 1},           {"", 0, 0},
        {"ab", 2, 0},           {"a\0b"sv, 1, 0}, // a zero byte ends the text
        {"a\r\nb", 1, 2},       {"\n\r", 0, 2},
        {"\r\r", 0, 1}, // two equal line ends are two breaks
        {"\n\n", 0, 1},         {"\xC3\xA9", 0, 2},
        {"\xE2\x82\xAC", 0, 3}, {"\xF0\x9F\x98\x80", 0, 4},
        {"\xC3", 0, 1},      // a lead without its continuation
        {"\xE2\x82x", 0, 1}, // a broken sequence
        {"\x80", 0, 1},      // a stray continuation byte
    };
    for (const auto& C : Cases)
        EXPECT_EQ(NextCharCount(C.Text, C.Pos), C.Expected) << '"' << C.Text << "\" at " << C.Pos;
}

TEST(TextCharsTest, PrevCharCountStepsBackOverBreaksAndWholeCharacters) {
    const TStep Cases[] = {
        {"ab", 0, 0},
        {"ab", 1, 1},
        {"ab", 2, 1},
        {"a\r\n", 3, 2},
        {"a\n\r", 3, 2},
        {"a\r\r", 3, 1},
        {"a\xC3\xA9", 3, 2},
        {"a\xE2\x82\xAC", 4, 3},
        {"\xC3\xA9", 2, 2},
        {"a\x80", 2, 1}, // a continuation with no lead stands alone
        {"\x80\x80\x80\x80\x80", 5, 1},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(PrevCharCount(C.Text, C.Pos), C.Expected) << '"' << C.Text << "\" at " << C.Pos;
}

TEST(TextCharsTest, WithoutMultibyteEveryByteIsACharacter) {
    const FarEastOff Off;
    EXPECT_EQ(NextCharCount("\xC3\xA9", 0), 1);
    EXPECT_EQ(PrevCharCount("a\xC3\xA9", 3), 1);
    EXPECT_EQ(NextCharCount("\r\n", 0), 2); // a line break is still one step
    EXPECT_EQ(PCharToByteLen(Mixed, 3, 7, false), 3);
    EXPECT_EQ(PByteToCharLen(Mixed, 7, 100), 7);
    EXPECT_EQ(CompareChar("\xC3\xA9", "f"), 1); // byte order
}

TEST(TextCharsTest, GetEofLineMovesPastOneBreak) {
    const TStep Cases[] = {
        {"a\r\nb", 1, 3}, {"a\n\rb", 1, 3}, {"a\r\rb", 1, 2}, {"a\nb", 1, 2}, {"a\r", 1, 2},
    };
    for (const auto& C : Cases) {
        int Pos = C.Pos;
        EXPECT_TRUE(GetEofLine(C.Text, Pos)) << C.Text;
        EXPECT_EQ(Pos, C.Expected) << C.Text;
    }
    int Pos = 0;
    EXPECT_FALSE(GetEofLine("a\n", Pos));
    EXPECT_EQ(Pos, 0);
    Pos = 2;
    EXPECT_FALSE(GetEofLine("a\n", Pos)); // the end of the text
}

TEST(TextCharsTest, CharacterClassesAndScans) {
    EXPECT_TRUE(IsSpaceChar("a\tb", 1));
    EXPECT_FALSE(IsTextChar("a\tb", 1));
    EXPECT_FALSE(IsTextChar("a\rb", 1));
    EXPECT_FALSE(IsTextChar("ab", 2));
    EXPECT_TRUE(IsTextChar(Mixed, 1));
    EXPECT_TRUE(EndOfText("a\0b"sv, 1));
    EXPECT_TRUE(LastCharIsEofLine("ab\n", 3));
    EXPECT_FALSE(LastCharIsEofLine("ab\n", 2));
    EXPECT_FALSE(LastCharIsEofLine("ab\n", 0));
    EXPECT_TRUE(IsLeadByte('\xC3'));
    EXPECT_FALSE(IsLeadByte('\x80'));
    EXPECT_FALSE(IsLeadByte('a'));

    EXPECT_EQ(StrNScanEol("ab\ncd\r", 6), 2);
    EXPECT_EQ(StrNScanEol("ab\ncd\r", 2), -1);
    EXPECT_EQ(StrNScanEol("ab\0\n"sv, 4), -1); // not past the end of the text
    EXPECT_EQ(StrRNSpaceScan("a b\tc", 5), 3);
    EXPECT_EQ(StrRNSpaceScan("a b\tc", 3), 1);
    EXPECT_EQ(StrRNSpaceScan("abc", 3), -1);
    EXPECT_EQ(StrNSkipSpace(" \t x", 4), 3);
    EXPECT_EQ(StrNSkipSpace("   ", 2), 2);
    // Steps back by characters: the é starts at 2, not at its second byte.
    EXPECT_EQ(StrRNTextScan("a \xC3\xA9 ", 5), 2);
    EXPECT_EQ(StrRNTextScan("  \r\n", 4), -1);
}

TEST(TextCharsTest, WordSteps) {
    constexpr std::string_view Text = "one  two\tthree";
    EXPECT_EQ(NextWordCount(Text, 0), 5); // "one  "
    EXPECT_EQ(NextWordCount(Text, 1), 4); // the rest of "one" and the blanks
    EXPECT_EQ(NextWordCount(Text, 9), 5); // the last word runs to the end
    EXPECT_EQ(NextWordCount(Text, 14), 0);
    EXPECT_EQ(PrevWordCount(Text, 5), 5); // back over the blanks and "one"
    EXPECT_EQ(PrevWordCount(Text, 7), 2); // to the start of "two"
    EXPECT_EQ(PrevWordCount(Text, 0), 0);
    // Words of multibyte characters move whole.
    constexpr std::string_view Wide = "ab \xE2\x82\xAC\xC3\xA9 cd";
    EXPECT_EQ(NextWordCount(Wide, 3), 6);
    EXPECT_EQ(PrevWordCount(Wide, 9), 6);
    EXPECT_EQ(NextWordCount("ab\r\ncd", 0), 4);
}

TEST(TextCharsTest, CharacterAndByteCounts) {
    int Chars = 0;
    int Bytes = 0;
    PCountChars(Mixed, 2, 7, Chars, Bytes, false);
    EXPECT_EQ(Chars, 2);
    EXPECT_EQ(Bytes, 3);
    PCountChars(Mixed, 2, 7, Chars, Bytes, true);
    EXPECT_EQ(Chars, 2);
    EXPECT_EQ(Bytes, 4); // "€b"
    PCountChars(Mixed, 10, 7, Chars, Bytes, false);
    EXPECT_EQ(Chars, 4);
    EXPECT_EQ(Bytes, 7);

    EXPECT_EQ(PCharToByteLen(Mixed, 3, 7, false), 6);
    EXPECT_EQ(PCharToByteLen(Mixed, 1, 7, true), 1);
    EXPECT_EQ(PCharToByteLen(Mixed, 3, 4, false), 4); // never more than the bytes given
    EXPECT_EQ(PCharToByteLen(Mixed, 0, 7, false), 0);
    EXPECT_EQ(PCharToByteLen(Mixed, 3, 0, false), 0);
    EXPECT_EQ(PCharToByteLen(Mixed, 3, 100, false), 6); // bytes beyond the text are not read

    EXPECT_EQ(PByteToCharLen(Mixed, 7, 100), 4);
    EXPECT_EQ(PByteToCharLen(Mixed, 3, 100), 2);
    EXPECT_EQ(PByteToCharLen(Mixed, 7, 1), 1);
    EXPECT_EQ(PByteToCharLen(Mixed, -1, 5), 0);
}

TEST(TextCharsTest, CompareCharComparesWholeFirstCharacters) {
    EXPECT_EQ(CompareChar("abc", "b"), -1);
    EXPECT_EQ(CompareChar("b", "b"), 0);
    EXPECT_EQ(CompareChar("\xC3\xA9x", "\xC3\xA9y"), 0); // only the first character
    EXPECT_EQ(CompareChar("\xC3\xA9", "f"), -1);         // é sorts with e, before f
    EXPECT_TRUE(LargerChar("c", "b"));
    EXPECT_TRUE(SmallerChar("", "a"));
}

TEST(TextCharsTest, OneBasedStepsForTheMaskCode) {
    const AnsiString S = "a\xC3\xA9\x80";
    EXPECT_EQ(CharCountAt(S, 2), 2);
    EXPECT_EQ(CharCountAt(S, 5), 0);
    EXPECT_EQ(PrevCharPos(S, 4), 2);
    EXPECT_EQ(PrevCharPos(S, 5), 4); // the stray continuation stands alone
    EXPECT_EQ(PrevCharPos(S, 1), 0);
}

} // namespace
