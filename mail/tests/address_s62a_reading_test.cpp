// Addresses and header lists read through their public calls: formatting
// and parsing of one address, list texts, and folding and unfolding of
// header lines.
#include "AddressCases.h"
#include "mail/MxEmailAddress.h"
#include "mail/MxExceptions.h"
#include "mail/MxHeaderList.h"

#include <gtest/gtest.h>

#include <vector>

using namespace mail;
using mailtest::ExpectFormats;
using mailtest::ExpectParses;
using mailtest::ExpectRefused;
using mailtest::FormatCase;
using mailtest::ParseCase;

namespace {

TEST(AddressReading, FormatsNameAndAddress) {
    const FormatCase cases[] = {
        {"", "", ""},
        {"Bob", "", "Bob <>"},
        {"", "joe@x.com", "joe@x.com"},
        {"Joe Bloggs", "joe@x.com", "Joe Bloggs <joe@x.com>"},
        // A name that is only the address in capitals adds nothing.
        {"JOE@X.COM", "joe@x.com", "<joe@x.com>"},
        {"Smith, Bob", "b@x.com", "\"Smith, Bob\" <b@x.com>"},
        {"Bob \"B\" S", "b@x.com", "\"Bob \\\"B\\\" S\" <b@x.com>"},
        {"A\\B", "b@x.com", "\"A\\\\B\" <b@x.com>"},
        {"", "a b@x.com", "<\"a b\"@x.com>"},
        {"", "a\"b@x.com", "<\"a\\\"b\"@x.com>"},
        {"", "a.b@x.com", "a.b@x.com"},
        {"", "a@b@x.com", "<\"a@b\"@x.com>"},
        {"", "local", "local"},
    };
    ExpectFormats(cases);
}

TEST(AddressReading, ParsesOneAddress) {
    const ParseCase cases[] = {
        {"Joe \"Bloggs\" <joe@x.com>", "Joe Bloggs", "joe@x.com"},
        {"joe@x.com", "", "joe@x.com"},
        {"  joe@x.com  ", "", "joe@x.com"},
        {"joe", "", "joe"},
        {"joe@x.com (Joe Bloggs)", "", "joe@x.com"},
        {"\"Smith, Bob\" <b@x.com>", "Smith, Bob", "b@x.com"},
        {"\"A\\\"B\" <a@b.com>", "A\"B", "a@b.com"},
        {"Joe Bloggs <joe@x.com>", "Joe Bloggs", "joe@x.com"},
        {"<joe@x.com>", "", "joe@x.com"},
        {"Joe < joe@x.com >", "Joe", "joe@x.com"},
        {"Joe <\tjoe.b @ x.com>", "Joe", "joe.b@x.com"},
    };
    ExpectParses(cases);
}

TEST(AddressReading, AtAfterClosedAngleAddressIsRefused) {
    ExpectRefused("Joe <joe@x.com> @y.com", "@ Outside address");
}

TEST(AddressReading, BareAddressRoundTripsWithoutBrackets) {
    TMxEMailAddressItem item;
    item.SetText("joe@x.com");
    EXPECT_EQ(item.GetText(), "joe@x.com");
    TMxEMailAddressItem copy;
    copy.Assign(&item);
    EXPECT_EQ(copy.Address(), "joe@x.com");
    EXPECT_EQ(copy.Name(), "");
}

TEST(AddressReading, EnvelopeFormRefusesWhatWouldBreakTheCommand) {
    const struct {
        const char* Address;
        const char* Envelope; // nullptr: refused
    } cases[] = {
        {"a@x.example", "a@x.example"},
        {"a.b-c+d@x.example", "a.b-c+d@x.example"},
        {"a b@x.example", "\"a b\"@x.example"},
        {"a@[127.0.0.1]", "a@[127.0.0.1]"},
        {"", nullptr},
        {"a@x.example> SIZE=1", nullptr},
        {"a@x y", nullptr},
        {"\xE9@x.example", nullptr},
        {"a@", nullptr},
    };
    for (const auto& c : cases) {
        if (c.Envelope) {
            EXPECT_EQ(EnvelopeAddress(c.Address), c.Envelope) << c.Address;
        } else {
            EXPECT_THROW(EnvelopeAddress(c.Address), EMxEmailParseError) << c.Address;
        }
    }
    TMxEMailAddressItem item;
    EXPECT_THROW(item.SetAddress("a@x\r\nRCPT TO:<b@y>"), EMxEmailParseError);
    EXPECT_THROW(item.SetText("a@x\nb"), EMxEmailParseError);
    EXPECT_EQ(item.Address(), "");
}

struct ListCase {
    const char* Text;
    std::vector<const char*> Texts;
};

TEST(AddressReading, ParsesListTexts) {
    const ListCase cases[] = {
        {"", {}},
        {"   ", {}},
        {"<>", {}},
        {"a@x.com", {"a@x.com"}},
        {"a@x.com, , b@y.com", {"a@x.com", "b@y.com"}},
        {"a@x.com,,b@y.com,", {"a@x.com", "b@y.com"}},
        {"\"Smith, Bob\" <b@x.com>, c@y.com", {"\"Smith, Bob\" <b@x.com>", "c@y.com"}},
        {"a@x.com (one, two), b@y.com", {"a@x.com", "b@y.com"}},
        {"Friends: a@x.com, b@y.com;", {"a@x.com", "b@y.com"}},
        {"Joe <j@x.com>, <>, k@y.com", {"Joe <j@x.com>", "k@y.com"}},
        {"a@x.com; b@y.com", {"a@x.com", "b@y.com"}},
        {"\"Ann (boss)\" <a@x.com>", {"\"Ann (boss)\" <a@x.com>"}},
        {"a@x.com (Ann; \"x\", y)", {"a@x.com"}},
        {"\"a\\\"b, c\" <x@y.com>, d@z.com", {"\"a\\\"b, c\" <x@y.com>", "d@z.com"}},
    };
    for (const auto& c : cases) {
        TMxEMailAddressList list;
        list.Add()->SetAddress("stale@old");
        list.SetAddressText(c.Text);
        ASSERT_EQ(list.Count(), static_cast<int>(c.Texts.size())) << c.Text;
        for (int i = 0; i < list.Count(); ++i)
            EXPECT_EQ(list.Items(i)->GetText(), c.Texts[i]) << c.Text;
    }
}

TEST(AddressReading, RefusedListTextKeepsTheList) {
    TMxEMailAddressList list;
    list.SetAddressText("a@x.com, b@y.com");
    EXPECT_THROW(list.SetAddressText("c@z.com, Joe <j@x.com> @y.com"), EMxEmailParseError);
    EXPECT_EQ(list.GetAddressText(), "a@x.com, b@y.com");
}

TEST(AddressReading, JoinsListText) {
    TMxEMailAddressList list;
    EXPECT_EQ(list.GetAddressText(), "");
    list.SetAddressText("Joe Bloggs <joe@x.com>, \"Smith, Bob\" <b@x.com>");
    EXPECT_EQ(list.GetAddressText(), "Joe Bloggs <joe@x.com>, \"Smith, Bob\" <b@x.com>");
}

TEST(HeaderListReading, DefaultsAndNames) {
    TMxHeaderList h;
    EXPECT_EQ(h.Separator, ": ");
    EXPECT_FALSE(h.CaseSensitiveNames);
    EXPECT_TRUE(h.JoinContinuations);
    EXPECT_TRUE(h.SplitLongLines);
    EXPECT_EQ(h.LineLimit, 78);

    TStringList eq;
    eq.Add("Subject=a=b");
    eq.Add("X-Mailer=m");
    h.AddEqualsLines(&eq);
    h.Add("no colon here");
    ASSERT_EQ(h.Count(), 3);
    EXPECT_EQ(h[0], "Subject: a=b");
    EXPECT_EQ(h.NameAt(0), "SUBJECT");
    EXPECT_EQ(h.NameAt(2), "");
    EXPECT_EQ(h.FindName("x-mailer"), 1);
    EXPECT_EQ(h.FindName("Cc"), -1);
    EXPECT_EQ(h.ValueOf("subject"), "a=b");
    EXPECT_EQ(h.ValueAt(5), "");
    EXPECT_EQ(h.ValueAt(-1), "");
    // A header written without the blank after the colon keeps its value whole.
    h.Add("X-Tight:value");
    EXPECT_EQ(h.ValueOf("X-Tight"), "value");
    h.CaseSensitiveNames = true;
    EXPECT_EQ(h.NameAt(0), "Subject");
    EXPECT_EQ(h.FindName("SUBJECT"), 0);
}

TEST(HeaderListReading, UnfoldsContinuations) {
    TMxHeaderList h;
    h.Add("To: a@x.com,  ");
    h.Add("   b@y.com,");
    h.Add("\tc@z.com");
    h.Add("Subject: s");
    EXPECT_EQ(h.ValueOf("To"), "a@x.com, b@y.com, c@z.com");
    h.JoinContinuations = false;
    EXPECT_EQ(h.ValueOf("To"), "a@x.com,");
    EXPECT_EQ(h.ValueOf("Subject"), "s");
}

TEST(HeaderListReading, SetValueOfReplacesAppendsAndRemoves) {
    TMxHeaderList h;
    h.Add("To: a@x.com,");
    h.Add(" b@y.com");
    h.Add("Subject: s");
    h.SetValueOf("Subject", "t");
    EXPECT_EQ(h.ValueOf("Subject"), "t");
    h.SetValueOf("X-New", "v");
    EXPECT_EQ(h[h.Count() - 1], "X-New: v");
    h.SetValueOf("To", "");
    ASSERT_EQ(h.Count(), 2);
    EXPECT_EQ(h[0], "Subject: t");
    h.SetValueOf("Absent", "");
    EXPECT_EQ(h.Count(), 2);

    // A value that replaces a folded header drops the old continuations.
    h.Add("Cc: a,");
    h.Add(" b");
    h.SetValueOf("cc", "c");
    EXPECT_EQ(h.Count(), 3);
    EXPECT_EQ(h.ValueOf("Cc"), "c");
}

TEST(HeaderListReading, LongValueIsFoldedOutsideQuotes) {
    TMxHeaderList h;
    h.Add("Subject: s");
    AnsiString value = "\"Long, quoted name with a comma inside\" <first@example.com>, "
                       "second@example.com, third@example.com, fourth@example.com";
    h.SetValueOf("To", value);
    ASSERT_GT(h.Count(), 2);
    EXPECT_EQ(h[0], "Subject: s");
    EXPECT_EQ(h[1].rfind("To: ", 0), 0u);
    for (int i = 1; i < h.Count(); ++i) {
        EXPECT_LE(static_cast<int>(h[i].size()), 78) << h[i];
        if (i > 1) EXPECT_EQ(h[i][0], ' ') << h[i];
        const char last = h[i].back();
        if (i + 1 < h.Count()) EXPECT_TRUE(last == ',' || last == '>' || last != ' ') << h[i];
    }
    // The quoted name is never split.
    EXPECT_NE(h[1].find("\"Long, quoted name with a comma inside\""), AnsiString::npos);
    EXPECT_EQ(h.ValueOf("To"), value);

    // A folded header replaced in the middle of the block stays in its place.
    h.Add("X-After: z");
    h.SetValueOf("To", value + ", fifth@example.com");
    EXPECT_EQ(h[0], "Subject: s");
    EXPECT_EQ(h[1].rfind("To: ", 0), 0u);
    EXPECT_EQ(h[h.Count() - 1], "X-After: z");
    EXPECT_EQ(h.ValueOf("To"), value + ", fifth@example.com");
    h.Delete(h.Count() - 1);

    h.SplitLongLines = false;
    h.SetValueOf("To", value);
    EXPECT_EQ(h.Count(), 2);
    EXPECT_EQ(h[1], "To: " + value);
}

TEST(HeaderListReading, WrapLineAndInsert) {
    TMxHeaderList h;
    EXPECT_EQ(h.WrapLine("Subject: short"), std::vector<AnsiString>{"Subject: short"});
    AnsiString line = "X: " + AnsiString(70, 'a') + " " + AnsiString(20, 'b') + " c";
    auto pieces = h.WrapLine(line);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], "X: " + AnsiString(70, 'a'));
    EXPECT_EQ(pieces[1], " " + AnsiString(20, 'b') + " c");
    // A fold already in the line is kept as a break.
    EXPECT_EQ(h.WrapLine("X: a,\r\n b"), (std::vector<AnsiString>{"X: a,", " b"}));
    // A word longer than the limit has no place to break.
    EXPECT_EQ(h.WrapLine("X: " + AnsiString(100, 'z')).size(), 1u);

    h.Add("A: 1");
    h.Add("B: 2");
    h.WrapAndInsert(line, 1);
    ASSERT_EQ(h.Count(), 3);
    EXPECT_EQ(h[0], "A: 1");
    EXPECT_EQ(h[1], pieces[0]);
    EXPECT_EQ(h[2], pieces[1]);
    h.WrapAndInsert("C: 3", h.Count());
    EXPECT_EQ(h[h.Count() - 1], "C: 3");

    h.DeleteContinuations(1);
    EXPECT_EQ(h.Count(), 3);
    EXPECT_EQ(h[2], "C: 3");
}

} // namespace
