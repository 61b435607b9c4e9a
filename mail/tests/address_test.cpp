#include "Reference.h"
#include "mail/MxEmailAddress.h"
#include "mail/MxExceptions.h"

#include <gtest/gtest.h>

using namespace mail;
using mailtest::Reference;

namespace {

struct Parsed {
    AnsiString Name;
    AnsiString Address;
};

Parsed Parse(const AnsiString& AText) {
    TMxEMailAddressItem item;
    item.SetText(AText);
    return {item.Name(), item.Address()};
}

AnsiString Format(const AnsiString& AName, const AnsiString& AAddress) {
    TMxEMailAddressItem item;
    item.SetName(AName);
    item.SetAddress(AAddress);
    return item.GetText();
}

} // namespace

TEST(EMailAddress, ParsesOneAddress) {
    struct Case {
        AnsiString Text;
        AnsiString Name;
        AnsiString Address;
    };
    const Case cases[] = {
        {"Joe \"Smith\" <js@example.com>", "Joe Smith", "js@example.com"},
        {"js@example.com", "", "js@example.com"},
        {"  Joe Smith <js@example.com>  ", "Joe Smith", "js@example.com"},
        {"\"Smith, Joe\" <js@example.com>", "Smith, Joe", "js@example.com"},
        {"\"Say \\\"hi\\\"\" <a@b.com>", "Say \"hi\"", "a@b.com"},
        {"js@example.com (Joe Smith)", "", "js@example.com"},
        {"<js@ example . com>", "", "js@example.com"},
        {"<\"john doe\"@example.com>", "", "john doe@example.com"},
        {"justaname", "", "justaname"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const Parsed parsed = Parse(c.Text);
        EXPECT_EQ(parsed.Name, c.Name) << c.Text;
        EXPECT_EQ(parsed.Address, c.Address) << c.Text;
    }
    try {
        Parse("Joe <js@example.com> @elsewhere");
        ADD_FAILURE() << "no error for an @ after the address";
    } catch (const EMxEmailParseError& e) {
        EXPECT_STREQ(e.what(), "@ Outside address");
    }
}

TEST(EMailAddress, FormatsTheTextForm) {
    struct Case {
        AnsiString Name;
        AnsiString Address;
        AnsiString Text;
    };
    const Case cases[] = {
        {"", "js@example.com", "js@example.com"},
        {"JS@EXAMPLE.COM", "js@example.com", "<js@example.com>"},
        {"Joe Smith", "js@example.com", "Joe Smith <js@example.com>"},
        {"Smith, Joe", "js@example.com", "\"Smith, Joe\" <js@example.com>"},
        {"Say \"hi\"", "a@b.com", "\"Say \\\"hi\\\"\" <a@b.com>"},
        {"Joe", "", "Joe <>"},
        {"", "", ""},
        {"", "john doe@example.com", "<\"john doe\"@example.com>"},
        {"", "first.last@example.com", "first.last@example.com"},
        // A space after a dot still needs the quoted form.
        {"", "a.b c@example.com", "<\"a.b c\"@example.com>"},
        {"", "back\\slash@example.com", "<\"back\\\\slash\"@example.com>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Format(c.Name, c.Address), c.Text) << c.Name;
}

TEST(EMailAddress, RefusesLineEndsAndNul) {
    TMxEMailAddressItem item;
    item.SetText("kept@example.com");
    for (const AnsiString& bad :
         {AnsiString("a@b.com\r\nBcc: x@y"), AnsiString("a@b.com\n"), AnsiString("a\0@b.com", 8)}) {
        EXPECT_THROW(item.SetText(bad), EMxEmailParseError);
        EXPECT_THROW(item.SetAddress(bad), EMxEmailParseError);
        EXPECT_THROW(item.SetName(bad), EMxEmailParseError);
    }
    EXPECT_EQ(item.Address(), "kept@example.com");
    try {
        item.SetAddress("a@b.com\r\n");
    } catch (const EMxEmailParseError& e) {
        EXPECT_STREQ(e.what(),
                     "Invalid character (CR, LF or NUL) in e-mail address \"a@b.com\\r\\n\"");
    }

    TMxEMailAddressList list;
    list.SetAddressText("one@example.com, two@example.com");
    EXPECT_THROW(list.SetAddressText("three@example.com\r\n"), EMxEmailParseError);
    EXPECT_EQ(list.GetAddressText(), "one@example.com, two@example.com");
}

TEST(EMailAddressList, ParsesListTexts) {
    struct Case {
        AnsiString Text;
        AnsiString Joined;
    };
    const Case cases[] = {
        {"a@b.com,,c@d.com", "a@b.com, c@d.com"},
        {"<>", ""},
        {"   ", ""},
        {"a@b.com", "a@b.com"},
        {"\"Smith, Joe\" <js@x.com>, Ann <ann@y.org>",
         "\"Smith, Joe\" <js@x.com>, Ann <ann@y.org>"},
        {"team: a@b.com, c@d.com;, e@f.com", "a@b.com, c@d.com, e@f.com"},
        {"a@b.com (first, really), c@d.com", "a@b.com, c@d.com"},
        {"a@b.com, <>, c@d.com", "a@b.com, c@d.com"},
        {" <> ", ""},
        {"team: <>;", ""},
    };
    for (const Case& c : cases) {
        TMxEMailAddressList list;
        list.SetAddressText(c.Text);
        EXPECT_EQ(list.GetAddressText(), c.Joined) << c.Text;
        // An item that formats as nothing would still become an envelope
        // recipient of its own.
        for (int i = 0; i < list.Count(); ++i)
            EXPECT_FALSE(list.Items(i)->Address().empty()) << c.Text;
    }
}

TEST(EMailAddress, AgreesWithPythonsEmailUtils) {
    const auto rows = Reference("address");
    ASSERT_GE(rows.size(), 300u);
    AnsiString joined;
    std::vector<Parsed> expected;
    for (const auto& row : rows) {
        const AnsiString& name = row[0];
        const AnsiString& address = row[1];
        EXPECT_EQ(Format(name, address), row[2]);
        const Parsed parsed = Parse(row[2]);
        EXPECT_EQ(parsed.Name, row[3]) << row[2];
        EXPECT_EQ(parsed.Address, row[4]) << row[2];
        if (!joined.empty()) joined += ", ";
        joined += row[2];
        expected.push_back({name, address});
    }
    TMxEMailAddressList list;
    list.SetAddressText(joined);
    ASSERT_EQ(list.Count(), static_cast<int>(expected.size()));
    for (int i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(list.Items(i)->Name(), expected[i].Name);
        EXPECT_EQ(list.Items(i)->Address(), expected[i].Address);
    }
}
