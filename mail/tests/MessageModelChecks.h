#pragma once
// Checks on the message model that several test files make alike.
#include "mail/MxExceptions.h"
#include "mail/MxHeaderList.h"
#include "mail/MxMessage.h"

#include <gtest/gtest.h>

namespace mailtest {

// How many lines of AHeaders carry the name AName (as NameAt gives it).
inline int CountNamed(const mail::TMxHeaderList& AHeaders, const AnsiString& AName) {
    int count = 0;
    for (int i = 0; i < AHeaders.Count(); ++i)
        if (AHeaders.NameAt(i) == AName) ++count;
    return count;
}

// A new message is MIME with normal priority, stamps its date when it is
// built and codes both ways; switching the encoding switches the attachment
// coder with it.
inline void ExpectNewMessageDefaults(mail::TMxMessage& AMsg) {
    EXPECT_EQ(AMsg.Encoding(), mail::TMxMessageEncoding::meMIME);
    EXPECT_EQ(AMsg.AttachmentEncoding(), "MIME");
    EXPECT_EQ(AMsg.Priority, mail::TMxMessagePriority::mpNormal);
    EXPECT_TRUE(AMsg.UseNowForDate());
    EXPECT_FALSE(AMsg.NoDecode);
    EXPECT_FALSE(AMsg.NoEncode);
    AMsg.SetEncoding(mail::TMxMessageEncoding::meUU);
    EXPECT_EQ(AMsg.AttachmentEncoding(), "UUE");
    AMsg.SetEncoding(mail::TMxMessageEncoding::meMIME);
    EXPECT_EQ(AMsg.AttachmentEncoding(), "MIME");
}

// The part list of a message without parts refuses to make a bare part,
// which has no kind, and stays empty.
inline void ExpectBarePartRefused(mail::TMxMessage& AMsg) {
    try {
        AMsg.Parts()->Add();
        FAIL() << "no error";
    } catch (const mail::EMxCanNotCreateMessagePart& e) {
        EXPECT_STREQ(e.what(), "TMxMessagePart can not be created.  Use descendant classes. ");
    }
    EXPECT_EQ(AMsg.Parts()->Count(), 0);
}

} // namespace mailtest
