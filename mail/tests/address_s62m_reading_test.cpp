// Addresses and header lists read against their text forms: formatting,
// parsing one address and a list, and the header list's folding.
#include <gtest/gtest.h>

#include "AddressCases.h"
#include "mail/MxEmailAddress.h"
#include "mail/MxExceptions.h"
#include "mail/MxHeaderList.h"

#include <vector>

using namespace mail;
using mailtest::ExpectFormats;
using mailtest::ExpectParses;
using mailtest::ExpectRefused;
using mailtest::FormatCase;
using mailtest::ParseCase;

namespace {

TEST(AddressForms, FormatsTextFromNameAndAddress)
{
    const FormatCase cases[] = {
        {"", "", ""},
        {"Joe", "", "Joe <>"},
        {"", "joe@x.com", "joe@x.com"},
        {"Joe Smith", "joe@x.com", "Joe Smith <joe@x.com>"},
        {"JOE@X.COM", "joe@x.com", "<joe@x.com>"},
        {"Smith, Joe", "joe@x.com", "\"Smith, Joe\" <joe@x.com>"},
        {"Joe \"J\" S", "j@x", "\"Joe \\\"J\\\" S\" <j@x>"},
        {"J.", "j@x", "\"J.\" <j@x>"},
        {"", "first.last@x.com", "first.last@x.com"},
        {"", "a b@x.com", "<\"a b\"@x.com>"},
        {"", "a\"b@x", "<\"a\\\"b\"@x>"},
        {"", "a@b@c", "<\"a@b\"@c>"},
        {"", "local", "local"},
        {"Ann", "first.last@x.com", "Ann <first.last@x.com>"},
    };
    ExpectFormats(cases);
}

TEST(AddressForms, ParsesOneAddress)
{
    const ParseCase cases[] = {
        {"joe@x.com", "", "joe@x.com"},
        {"  joe@x.com  ", "", "joe@x.com"},
        {"Joe Smith <joe@x.com>", "Joe Smith", "joe@x.com"},
        {"\"Smith, Joe\" <joe@x.com>", "Smith, Joe", "joe@x.com"},
        {"Joe \"Q\" <j@x>", "Joe Q", "j@x"},
        {"<j@x.org>", "", "j@x.org"},
        {"j@x (a comment)", "", "j@x"},
        {"(a comment) j@x", "", "j@x"},
        {"Joe <j (home) @x>", "Joe", "j@x"},
        {"\"a\\\"b\" <x@y>", "a\"b", "x@y"},
        {"Joe", "", "Joe"},
        {"Joe\t<j@x>", "Joe", "j@x"},
        {"< j@x.org >", "", "j@x.org"},
    };
    ExpectParses(cases);
}

TEST(AddressForms, AtAfterClosedAngleAddressIsRefused)
{
    ExpectRefused("Joe <j@x> k@y", "@ Outside address");
}

TEST(AddressForms, ParsedTextFormatsBack)
{
    const char* texts[] = {"joe@x.com", "Joe Smith <joe@x.com>", "\"Smith, Joe\" <joe@x.com>"};
    for (const char* t : texts) {
        TMxEMailAddressItem item;
        item.SetText(t);
        EXPECT_EQ(item.GetText(), t);
    }
}

struct NamedListCase {
    const char* text;
    std::vector<std::pair<const char*, const char*>> items; // name, address
};

TEST(AddressForms, ParsesListText)
{
    const NamedListCase cases[] = {
        {"", {}},
        {"   ", {}},
        {"<>", {}},
        {"a@x", {{"", "a@x"}}},
        {"a@x, , b@y", {{"", "a@x"}, {"", "b@y"}}},
        {"a@x,b@y,", {{"", "a@x"}, {"", "b@y"}}},
        {"\"Smith, Joe\" <j@x>, k@y", {{"Smith, Joe", "j@x"}, {"", "k@y"}}},
        {"a@x (Smith, J), b@y", {{"", "a@x"}, {"", "b@y"}}},
        {"Team: a@x; b@y;", {{"", "a@x"}, {"", "b@y"}}},
        {"Joe <j@x>, <>, Ann <a@y>", {{"Joe", "j@x"}, {"Ann", "a@y"}}},
        {"undisclosed-recipients:;", {}},
        {"a@x;b@y", {{"", "a@x"}, {"", "b@y"}}},
        {"\"a:b;c\" <x@y>", {{"a:b;c", "x@y"}}},
    };
    for (const auto& c : cases) {
        TMxEMailAddressList list;
        list.Add()->SetAddress("stale@x");
        list.SetAddressText(c.text);
        ASSERT_EQ(list.Count(), static_cast<int>(c.items.size())) << c.text;
        for (size_t i = 0; i < c.items.size(); ++i) {
            EXPECT_EQ(list.Items(static_cast<int>(i))->Name(), c.items[i].first) << c.text;
            EXPECT_EQ(list.Items(static_cast<int>(i))->Address(), c.items[i].second) << c.text;
        }
    }
}

TEST(AddressForms, ListTextJoinsItems)
{
    TMxEMailAddressList list;
    EXPECT_EQ(list.GetAddressText(), "");
    list.SetAddressText("Joe <j@x>,k@y");
    EXPECT_EQ(list.GetAddressText(), "Joe <j@x>, k@y");
}

TEST(AddressForms, AssignCopiesBothFields)
{
    TMxEMailAddressItem a, b;
    a.SetText("Joe <j@x>");
    b.Assign(&a);
    EXPECT_EQ(b.Name(), "Joe");
    EXPECT_EQ(b.Address(), "j@x");
}

TEST(HeaderLines, DefaultsAndNames)
{
    TMxHeaderList h;
    EXPECT_EQ(h.Separator, ": ");
    EXPECT_FALSE(h.CaseSensitiveNames);
    EXPECT_TRUE(h.JoinContinuations);
    EXPECT_TRUE(h.SplitLongLines);
    EXPECT_EQ(h.LineLimit, 78);

    TStringList eq;
    eq.Add("Content-Type=text/plain; a=b");
    h.AddEqualsLines(&eq);
    h.Add("no colon here");
    EXPECT_EQ(h[0], "Content-Type: text/plain; a=b");
    EXPECT_EQ(h.NameAt(0), "CONTENT-TYPE");
    EXPECT_EQ(h.NameAt(1), "");
    h.CaseSensitiveNames = true;
    EXPECT_EQ(h.NameAt(0), "Content-Type");
    EXPECT_EQ(h.FindName("content-type"), 0);
    EXPECT_EQ(h.FindName("Subject"), -1);
}

TEST(HeaderLines, UnfoldsValues)
{
    TMxHeaderList h;
    h.Add("Subject:   one  ");
    h.Add("    two");
    h.Add("\tthree");
    h.Add("To: a@x");
    EXPECT_EQ(h.ValueOf("subject"), "one two three");
    EXPECT_EQ(h.ValueAt(3), "a@x");
    EXPECT_EQ(h.ValueAt(4), "");
    EXPECT_EQ(h.ValueAt(-1), "");
    EXPECT_EQ(h.ValueOf("Cc"), "");
    h.JoinContinuations = false;
    EXPECT_EQ(h.ValueOf("Subject"), "one");
}

TEST(HeaderLines, SetValueOfReplacesAppendsAndRemoves)
{
    TMxHeaderList h;
    h.Add("Subject: old");
    h.Add(" folded");
    h.Add("To: a@x");
    h.SetValueOf("SUBJECT", "new");
    ASSERT_EQ(h.Count(), 2);
    EXPECT_EQ(h[0], "SUBJECT: new");
    h.SetValueOf("Cc", "b@y");
    EXPECT_EQ(h[2], "Cc: b@y");
    h.Insert(1, " more");
    h.SetValueOf("subject", "");
    ASSERT_EQ(h.Count(), 2);
    EXPECT_EQ(h[0], "To: a@x");
    h.SetValueOf("Absent", "");
    EXPECT_EQ(h.Count(), 2);
}

TEST(HeaderLines, LongValueFoldsAfterBreaksOutsideQuotes)
{
    TMxHeaderList h;
    std::string value = "\"Quoted, name with spaces\" <q@x>";
    for (int i = 0; i < 8; ++i) value += ", person" + std::to_string(i) + "@example.com";
    h.Add("X: y");
    h.SetValueOf("To", value);
    ASSERT_GT(h.Count(), 2);
    EXPECT_EQ(h[1].rfind("To: \"Quoted, name with spaces\" <q@x>,", 0), 0u) << h[1];
    for (int i = 1; i < h.Count(); ++i) {
        EXPECT_LE(static_cast<int>(h[i].size()), 78) << h[i];
        if (i > 1) EXPECT_EQ(h[i][0], ' ') << h[i];
        EXPECT_NE(h[i].back(), ' ');
    }
    EXPECT_EQ(h.ValueOf("To"), value);
}

TEST(HeaderLines, WrapAndInsertKeepsPiecesInOrder)
{
    TMxHeaderList h;
    h.Add("A: 1");
    h.Add("B: 2");
    std::string line = "C:";
    for (int i = 0; i < 30; ++i) line += " word" + std::to_string(i);
    const auto pieces = h.WrapLine(line);
    ASSERT_GT(pieces.size(), 1u);
    h.WrapAndInsert(line, 1);
    ASSERT_EQ(h.Count(), static_cast<int>(pieces.size()) + 1);
    for (size_t i = 0; i < pieces.size(); ++i) EXPECT_EQ(h[1 + static_cast<int>(i)], pieces[i]);
    EXPECT_EQ(h[0], "A: 1");
    std::string joined;
    for (const auto& p : pieces) joined += p;
    EXPECT_EQ(joined, line);
}

} // namespace

namespace {

TEST(AddressForms, UnbalancedTextEndsTheScanWithoutError)
{
    const char* texts[] = {"\"Joe <j@x>", "Joe <j@x", "(unclosed j@x", "\\", "\"a\\", "Joe <j@x.",
                           "<", ">", "\"", "(", ")", "@", "a@", "@b", "Joe <\"a\\", "<(>"};
    for (const char* t : texts) {
        TMxEMailAddressItem item;
        EXPECT_NO_THROW(item.SetText(t)) << t;
        TMxEMailAddressList list;
        EXPECT_NO_THROW(list.SetAddressText(std::string(t) + ", k@y")) << t;
    }
}

TEST(HeaderLines, LinesThatCannotBeFoldedStayWhole)
{
    TMxHeaderList h;
    const std::string longWord = "X-Long: " + std::string(120, 'a');
    EXPECT_EQ(h.WrapLine(longWord), std::vector<AnsiString>{longWord});
    const std::string quoted = "X-Q: \"" + std::string(50, 'b') + " " + std::string(40, 'c') + "\"";
    EXPECT_EQ(h.WrapLine(quoted), std::vector<AnsiString>{quoted});
    h.SplitLongLines = false;
    std::string value;
    for (int i = 0; i < 20; ++i) value += "word ";
    h.SetValueOf("Subject", value + "end");
    ASSERT_EQ(h.Count(), 1);
    EXPECT_EQ(h[0], "Subject: " + value + "end");
}

} // namespace

namespace {

TEST(HeaderLines, ValueWithoutBlankAfterColonIsWhole)
{
    TMxHeaderList h;
    h.Add("Subject:Hello");
    h.Add("To:\ta@x");
    h.Add("X-Empty:");
    EXPECT_EQ(h.ValueOf("Subject"), "Hello");
    EXPECT_EQ(h.ValueOf("To"), "a@x");
    EXPECT_EQ(h.ValueOf("X-Empty"), "");
}

TEST(HeaderLines, FoldedTextInsideALineCountsAsABreak)
{
    TMxHeaderList h;
    const std::string line = "X: first\r\n second";
    EXPECT_EQ(h.WrapLine(line), (std::vector<AnsiString>{"X: first", " second"}));
}

} // namespace

namespace {

TEST(AddressForms, ListTextRoundTripsNamesAndAddresses)
{
    const std::pair<const char*, const char*> items[] = {
        {"Smith, Joe", "j@x.com"}, {"a\"b", "q@x"},        {"a\\b", "s@x"},   {"Joe (Work)", "w@x"},
        {"O'Brien", "o@x"},        {"x;y", "c@x"},         {"x:y", "d@x"},    {"x@y", "e@x"},
        {"<x>", "f@x"},            {"", "first.last@x.org"}, {"Ann", "a b@x"}, {"", "a\"q@x"},
    };
    TMxEMailAddressList list;
    for (const auto& [name, address] : items) {
        auto* item = list.Add();
        item->SetName(name);
        item->SetAddress(address);
    }
    TMxEMailAddressList back;
    back.SetAddressText(list.GetAddressText());
    ASSERT_EQ(back.Count(), list.Count()) << list.GetAddressText();
    for (int i = 0; i < back.Count(); ++i) {
        EXPECT_EQ(back.Items(i)->Name(), list.Items(i)->Name()) << list.Items(i)->GetText();
        EXPECT_EQ(back.Items(i)->Address(), list.Items(i)->Address()) << list.Items(i)->GetText();
    }
}

} // namespace

namespace {

TEST(HeaderLines, LongValueReplacesAFoldedLineInPlace)
{
    TMxHeaderList h;
    h.Add("A: 1");
    h.Add("Subject: old");
    h.Add(" continued");
    h.Add("B: 2");
    std::string value;
    for (int i = 0; i < 25; ++i) value += "word" + std::to_string(i) + " ";
    value += "end";
    h.SetValueOf("Subject", value);
    ASSERT_GT(h.Count(), 4);
    EXPECT_EQ(h[0], "A: 1");
    EXPECT_EQ(h[1].rfind("Subject: word0", 0), 0u);
    for (int i = 2; i < h.Count() - 1; ++i) EXPECT_EQ(h[i][0], ' ') << h[i];
    EXPECT_EQ(h[h.Count() - 1], "B: 2");
    EXPECT_EQ(h.ValueOf("Subject"), value);
}

} // namespace

namespace {

TEST(HeaderLines, FoldingKeepsEveryCharacterButBlanksAtTheFold)
{
    const std::string lines[] = {
        "Subject: " + std::string(66, 'a') + ",,,,, end of it",
        "Subject: " + std::string(60, 'a') + " one,two,three,four,five,six,seven,eight",
        "Keywords: " + std::string(67, 'k') + ", , , last",
    };
    for (const auto& line : lines) {
        TMxHeaderList h;
        const auto pieces = h.WrapLine(line);
        std::string joined, original;
        for (const auto& p : pieces) joined += p;
        for (char c : joined)
            if (c != ' ') original += c;
        std::string expected;
        for (char c : line)
            if (c != ' ') expected += c;
        EXPECT_EQ(original, expected) << line;
    }
}

} // namespace

namespace {

TEST(HeaderLines, UnfoldedSettingLeavesNoStaleContinuation)
{
    for (const char* value : {"", "new"}) {
        TMxHeaderList h;
        h.SplitLongLines = false;
        h.Add("To: a@x");
        h.Add("Subject: old");
        h.Add(" continued");
        h.Add("B: 2");
        h.SetValueOf("Subject", value);
        EXPECT_EQ(h.ValueOf("To"), "a@x") << value;
        EXPECT_EQ(h.ValueOf("Subject"), value);
        EXPECT_EQ(h.ValueOf("B"), "2");
        for (int i = 0; i < h.Count(); ++i) EXPECT_NE(h[i], " continued") << value;
    }
}

} // namespace
