#include "mail/MxMessageOutput.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace mail;

TEST(MxMessageOutput, LineEndsAndDotStuffing) {
    struct Case {
        std::vector<AnsiString> Writes;
        AnsiString Wire;
    };
    const std::vector<Case> cases = {
        {{"a\r\nb\r\n"}, "a\r\nb\r\n"},
        {{"a\nb\n"}, "a\r\nb\r\n"},
        {{"a\rb\r"}, "a\r\nb\r\n"},
        {{"a\r", "\nb"}, "a\r\nb"},
        {{"a\r", "\r\n"}, "a\r\n\r\n"},
        {{".\r\n"}, "..\r\n"},
        {{".x\r\n..y\r\n"}, "..x\r\n...y\r\n"},
        {{"x.", ".y\r\n"}, "x..y\r\n"},
        {{"a\n", ".b"}, "a\r\n..b"},
        {{"a\r", ".b"}, "a\r\n..b"},
        {{"", "\r\n", ".\r\n"}, "\r\n..\r\n"},
    };
    for (const Case& c : cases) {
        AnsiString wire;
        TMxMessageOutput output([&](const AnsiString& AText) { wire += AText; });
        for (const AnsiString& text : c.Writes)
            output.WriteText(text);
        output.Flush();
        EXPECT_EQ(wire, c.Wire) << testing::PrintToString(c.Writes);
    }
}

TEST(MxMessageOutput, SendsInChunksAndKeepsTheRestForFlush) {
    std::vector<AnsiString> sent;
    TMxMessageOutput output([&](const AnsiString& AText) { sent.push_back(AText); }, 8);
    output.WriteText("abc");
    EXPECT_TRUE(sent.empty());
    output.WriteLine("defgh");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0], "abcdefgh\r\n");
    output.WriteText("ij\r");
    output.Flush();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[1], "ij\r\n");
    output.Flush();
    EXPECT_EQ(sent.size(), 2u);
}

// The closing line is written as it stands, on a line of its own, and
// leaves with the text before it.
TEST(MxMessageOutput, EndLineIsNotStuffedAndStartsItsOwnLine) {
    const std::vector<std::pair<std::vector<AnsiString>, AnsiString>> cases = {
        {{"a\r\n"}, "a\r\n.\r\n"},
        {{"a"}, "a\r\n.\r\n"},
        {{"a\r"}, "a\r\n.\r\n"},
        {{}, ".\r\n"},
    };
    for (const auto& [writes, wireText] : cases) {
        std::vector<AnsiString> sent;
        TMxMessageOutput output([&](const AnsiString& AText) { sent.push_back(AText); });
        for (const AnsiString& text : writes)
            output.WriteText(text);
        output.WriteEnd(".");
        output.Flush();
        ASSERT_EQ(sent.size(), 1u) << testing::PrintToString(writes);
        EXPECT_EQ(sent[0], wireText) << testing::PrintToString(writes);
    }
}

TEST(MxMessageOutput, WriteLineEndsALineThatEndsInCR) {
    AnsiString wire;
    TMxMessageOutput output([&](const AnsiString& AText) { wire += AText; });
    output.WriteLine("a\r");
    output.WriteLine(".b");
    output.Flush();
    EXPECT_EQ(wire, "a\r\n\r\n..b\r\n");
}
