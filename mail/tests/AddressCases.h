#pragma once
// Tables of single addresses checked against their text forms.
#include "mail/MxEmailAddress.h"
#include "mail/MxExceptions.h"

#include <gtest/gtest.h>

#include <span>

namespace mailtest {

struct FormatCase {
    const char* Name;
    const char* Address;
    const char* Text;
};

// A fresh item given each case's name and address shows the case's text.
inline void ExpectFormats(std::span<const FormatCase> ACases) {
    for (const FormatCase& c : ACases) {
        mail::TMxEMailAddressItem item;
        item.SetName(c.Name);
        item.SetAddress(c.Address);
        EXPECT_EQ(item.GetText(), c.Text) << c.Name << " / " << c.Address;
    }
}

struct ParseCase {
    const char* Text;
    const char* Name;
    const char* Address;
};

// An item that held another address takes each case's text apart into the
// case's name and address, nothing of the old one left.
inline void ExpectParses(std::span<const ParseCase> ACases) {
    for (const ParseCase& c : ACases) {
        mail::TMxEMailAddressItem item;
        item.SetName("old");
        item.SetAddress("old@old");
        item.SetText(c.Text);
        EXPECT_EQ(item.Name(), c.Name) << c.Text;
        EXPECT_EQ(item.Address(), c.Address) << c.Text;
    }
}

// An item refuses AText with a parse error that says AMessage.
inline void ExpectRefused(const char* AText, const char* AMessage) {
    mail::TMxEMailAddressItem item;
    try {
        item.SetText(AText);
        FAIL() << "no error for " << AText;
    } catch (const mail::EMxEmailParseError& e) {
        EXPECT_STREQ(e.what(), AMessage);
    }
}

} // namespace mailtest
