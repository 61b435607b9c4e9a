// The message model read through its public calls: defaults, encodings,
// parts and their counters, the header block a message builds and the
// properties it takes from a header block that was read.
#include "MessageModelChecks.h"
#include "mail/MxDates.h"
#include "mail/MxExceptions.h"
#include "mail/MxMessage.h"
#include "mail/MxMessageParts.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <regex>
#include <unistd.h>

using namespace mail;
using mailtest::CountNamed;
using mailtest::ExpectBarePartRefused;
using mailtest::ExpectNewMessageDefaults;

namespace {

TEST(MessageModelReading, DefaultsAndEncodings) {
    TMxMessage msg;
    ExpectNewMessageDefaults(msg);

    try {
        msg.SetAttachmentEncoding("NOSUCH");
        FAIL() << "no error";
    } catch (const EMxException& e) {
        EXPECT_NE(AnsiString(e.what()).find("Message encoder not found"), AnsiString::npos)
            << e.what();
    }
    EXPECT_EQ(msg.AttachmentEncoding(), "MIME");
}

TEST(MessageModelReading, SettersCopyTheGivenObjects) {
    TMxMessage msg;
    TMxEMailAddressList list;
    list.SetAddressText("a@x.example, b@y.example");
    TMxEMailAddressItem item;
    item.SetText("Joe <j@x.example>");
    TStringList lines;
    lines.Add("one");
    TStringList extra;
    extra.Add("X-A: 1");
    msg.SetRecipients(&list);
    msg.SetCCList(&list);
    msg.SetBccList(&list);
    msg.SetReplyTo(&list);
    msg.SetFrom(&item);
    msg.SetSender(&item);
    msg.SetReceiptRecipient(&item);
    msg.SetBody(&lines);
    msg.SetNewsGroups(&lines);
    msg.SetExtraHeaders(&extra);
    list.Clear();
    item.SetText("other@z.example");
    lines.Clear();
    extra.Clear();
    for (TMxEMailAddressList* l : {msg.Recipients(), msg.CCList(), msg.BccList(), msg.ReplyTo()})
        EXPECT_EQ(l->GetAddressText(), "a@x.example, b@y.example");
    for (TMxEMailAddressItem* i : {msg.From(), msg.Sender(), msg.ReceiptRecipient()})
        EXPECT_EQ(i->GetText(), "Joe <j@x.example>");
    EXPECT_EQ(msg.Body()->Count(), 1);
    EXPECT_EQ(msg.NewsGroups()->Count(), 1);
    EXPECT_EQ(msg.ExtraHeaders()->Count(), 1);
}

TEST(MessageModelReading, UseNowForDateStampsOnce) {
    ManualClock clock(45000.5);
    ScopedClock scope(clock);
    TMxMessage msg;
    msg.SetUseNowForDate(false);
    EXPECT_DOUBLE_EQ(msg.Date, 45000.5);
    clock.Advance(60000);
    msg.SetUseNowForDate(false);
    EXPECT_DOUBLE_EQ(msg.Date, 45000.5);
    msg.SetUseNowForDate(true);
    EXPECT_EQ(msg.Date, 0);
    msg.Date = 44000;
    msg.Clear();
    EXPECT_TRUE(msg.UseNowForDate());
}

TEST(MessageModelReading, PartsCountAndBasePartIsRefused) {
    TMxMessage msg;
    ExpectBarePartRefused(msg);

    TStringList lines;
    lines.Add("hello");
    auto* text = new TMxText(msg.Parts(), &lines);
    EXPECT_EQ(text->Body()->Count(), 1);
    new TMxAttachment(msg.Parts(), "/tmp/dir/report.pdf");
    auto* related = new TMxAttachment(msg.Parts(), "/tmp/logo.png");
    related->SetContentID("<logo>");
    EXPECT_EQ(static_cast<TMxAttachment*>(msg.Parts()->Items(1))->AttachmentName, "report.pdf");
    msg.RecountParts();
    EXPECT_EQ(msg.Parts()->TextPartTotal(), 1);
    EXPECT_EQ(msg.Parts()->AttachmentTotal(), 2);
    EXPECT_EQ(msg.Parts()->RelatedAttachmentTotal(), 1);

    TMxText copy(nullptr);
    copy.Assign(text);
    EXPECT_EQ(copy.Body()->Text(), text->Body()->Text());

    // A UU message takes a body and attachments, nothing else.
    msg.SetEncoding(TMxMessageEncoding::meUU);
    try {
        msg.BuildHeaders();
        FAIL() << "no error";
    } catch (const EMxMessageException& e) {
        EXPECT_STREQ(e.what(), "Invalid Encoding. UU only allows Body and Attachments");
    }
    delete text;                                           // leaves the collection
    EXPECT_THROW(msg.BuildHeaders(), EMxMessageException); // the related attachment
    related->SetContentID("");
    EXPECT_NO_THROW(msg.BuildHeaders());
}

TEST(MessageModelReading, AttachmentDeletesItsDataFileOnlyWhenAsked) {
    char path[] = "/tmp/s62a_attachXXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    { TMxAttachment keep(nullptr, path); }
    EXPECT_EQ(access(path, F_OK), 0);
    {
        TMxAttachment drop(nullptr, path);
        drop.DeleteDataFile = true;
    }
    EXPECT_NE(access(path, F_OK), 0);
}

TEST(MessageModelReading, PriorityHeader) {
    const struct {
        TMxMessagePriority Priority;
        const char* Value;
    } cases[] = {
        {TMxMessagePriority::mpHighest, "1"}, {TMxMessagePriority::mpHigh, "2"},
        {TMxMessagePriority::mpNormal, ""},   {TMxMessagePriority::mpLow, "4"},
        {TMxMessagePriority::mpLowest, "5"},
    };
    for (const auto& c : cases) {
        TMxMessage msg;
        msg.Priority = c.Priority;
        auto h = msg.BuildHeaders();
        EXPECT_EQ(h->ValueOf("X-Priority"), c.Value);
        EXPECT_EQ(h->FindName("X-Priority") >= 0, *c.Value != 0);
    }
}

TEST(MessageModelReading, BuildsHeaderBlock) {
    TMxMessage msg;
    msg.RawHeaders()->Add("Subject: old");
    msg.RawHeaders()->Add("X-Keep: kept");
    msg.From()->SetText("Dornwick <alerts@shop.example>");
    msg.Subject = "Dornwick Alerts";
    msg.Recipients()->SetAddressText("a@x.example, Bob <b@y.example>");
    msg.CCList()->SetAddressText("c@z.example");
    msg.BccList()->SetAddressText("hidden@z.example");
    msg.NewsGroups()->Add("comp.a");
    msg.NewsGroups()->Add("comp.b");
    msg.Sender()->SetText("Desk <desk@shop.example>");
    msg.ReplyTo()->SetAddressText("r@shop.example");
    msg.Organization = "Shop";
    msg.ReceiptRecipient()->SetText("n@shop.example");
    msg.References = "<1@x>";
    msg.Date = EncodeDate(2026, 3, 4) + EncodeTime(5, 6, 7, 0);
    msg.ExtraHeaders()->Add("Subject: again");
    auto h = msg.BuildHeaders();

    EXPECT_EQ(h->ValueOf("X-Keep"), "kept");
    EXPECT_EQ(h->ValueOf("From"), "\"Dornwick\" <alerts@shop.example>");
    EXPECT_EQ(h->ValueOf("To"), "a@x.example, \"Bob\" <b@y.example>");
    EXPECT_EQ(h->ValueOf("Cc"), "c@z.example");
    EXPECT_EQ(h->ValueOf("Newsgroups"), "comp.a,comp.b");
    EXPECT_EQ(h->ValueOf("Sender"), "Desk <desk@shop.example>");
    EXPECT_EQ(h->ValueOf("Reply-To"), "r@shop.example");
    EXPECT_EQ(h->ValueOf("Organization"), "Shop");
    EXPECT_EQ(h->ValueOf("Disposition-Notification-To"), "n@shop.example");
    EXPECT_EQ(h->ValueOf("References"), "<1@x>");
    EXPECT_TRUE(
        std::regex_match(h->ValueOf("Date"), std::regex(R"(Wed, 4 Mar 2026 05:06:07 [+-]\d{4})")))
        << h->ValueOf("Date");
    EXPECT_EQ(h->FindName("Bcc"), -1);
    EXPECT_EQ(h->FindName("Message-Id"), -1);
    // The raw Subject is replaced in place, the extra one is written as well.
    EXPECT_EQ(CountNamed(*h, "SUBJECT"), 2);
    EXPECT_EQ(h->ValueAt(h->FindName("Subject")), "Dornwick Alerts");
    EXPECT_EQ(h->ValueAt(h->Count() - 1), "again");
    // Nothing of the building stays in the message's own raw headers.
    EXPECT_EQ(msg.RawHeaders()->Count(), 2);
}

TEST(MessageModelReading, LineBreaksInValuesNeverStartAHeaderLine) {
    const AnsiString evil = "x\r\nBcc: evil@x.example";
    const struct {
        const char* Field;
        std::function<void(TMxMessage&)> Set;
    } cases[] = {
        {"Subject", [&](TMxMessage& m) { m.Subject = evil; }},
        {"Organization", [&](TMxMessage& m) { m.Organization = evil; }},
        {"References", [&](TMxMessage& m) { m.References = evil; }},
        {"ContentType", [&](TMxMessage& m) { m.ContentType = evil; }},
        {"ContentTransferEncoding", [&](TMxMessage& m) { m.ContentTransferEncoding = evil; }},
        {"CharSet", [&](TMxMessage& m) { m.CharSet = evil; }},
        {"NewsGroups", [&](TMxMessage& m) { m.NewsGroups()->Add(evil); }},
        {"From name",
         [&](TMxMessage& m) {
             m.From()->SetName(evil);
             m.From()->SetAddress("a@x.example");
         }},
        {"Sender name",
         [&](TMxMessage& m) {
             m.Sender()->SetName(evil);
             m.Sender()->SetAddress("a@x.example");
         }},
        {"To name",
         [&](TMxMessage& m) {
             auto* item = m.Recipients()->Add();
             item->SetName(evil);
             item->SetAddress("a@x.example");
         }},
        {"Receipt name",
         [&](TMxMessage& m) {
             m.ReceiptRecipient()->SetName(evil);
             m.ReceiptRecipient()->SetAddress("a@x.example");
         }},
    };
    for (const auto& c : cases) {
        TMxMessage msg;
        std::unique_ptr<TMxHeaderList> h;
        try {
            c.Set(msg);
            h = msg.BuildHeaders();
        } catch (const EMxException&) {
            continue; // refused outright: nothing is written
        }
        for (int i = 0; i < h->Count(); ++i) {
            EXPECT_EQ((*h)[i].find_first_of("\r\n"), AnsiString::npos)
                << c.Field << ": " << (*h)[i];
            EXPECT_NE(h->NameAt(i), "BCC") << c.Field;
        }
    }
}

// Each encoded word of a header must stand on its own: no character of a
// multi-byte set may be cut between two words.
TEST(MessageModelReading, LongNonAsciiSubjectKeepsCharactersWhole) {
    AnsiString subject;
    for (int i = 0; i < 30; ++i)
        subject += "\xC3\xA9t\xC3\xA9 ";
    subject += "fin";
    for (char letter : {'Q', 'B'}) {
        SCOPED_TRACE(letter);
        TMxMessage msg;
        msg.OnInitializeISO = [letter](TMxTransfer&, char& VLetter, AnsiString& VCharSet) {
            VLetter = letter;
            VCharSet = "UTF-8";
        };
        msg.Subject = subject;
        auto h = msg.BuildHeaders();
        const int at = h->FindName("Subject");
        ASSERT_GE(at, 0);
        for (int i = at; i < h->Count() && (i == at || (*h)[i][0] == ' ' || (*h)[i][0] == '\t');
             ++i) {
            EXPECT_LE((*h)[i].size(), 78u) << (*h)[i];
            std::size_t pos = 0;
            while ((pos = (*h)[i].find("=?", pos)) != AnsiString::npos) {
                const std::size_t end = (*h)[i].find("?=", pos + 2);
                ASSERT_NE(end, AnsiString::npos);
                // Find the end of the whole word: charset?letter?text?=
                std::size_t q1 = (*h)[i].find('?', pos + 2), q2 = (*h)[i].find('?', q1 + 1);
                std::size_t close = (*h)[i].find("?=", q2 + 1);
                const AnsiString word = (*h)[i].substr(pos, close + 2 - pos);
                const AnsiString decoded = DecodeMessageHeader(word);
                // A whole UTF-8 text: every lead byte has its continuation bytes.
                for (std::size_t k = 0; k < decoded.size();) {
                    const unsigned char b = static_cast<unsigned char>(decoded[k]);
                    const std::size_t len = b < 0x80         ? 1
                                            : (b >> 5) == 6  ? 2
                                            : (b >> 4) == 14 ? 3
                                                             : 4;
                    ASSERT_LE(k + len, decoded.size()) << word;
                    for (std::size_t j = 1; j < len; ++j)
                        ASSERT_EQ(static_cast<unsigned char>(decoded[k + j]) >> 6, 2u) << word;
                    k += len;
                }
                pos = close + 2;
            }
        }
        EXPECT_EQ(DecodeMessageHeader(h->ValueOf("Subject")), subject);
    }
}

TEST(MessageModelReading, DateAndUuLayout) {
    ManualClock clock(EncodeDate(2026, 12, 11) + EncodeTime(6, 7, 8, 0));
    ScopedClock scope(clock);
    TMxMessage msg;
    msg.SetEncoding(TMxMessageEncoding::meUU);
    msg.ContentType = "text/plain";
    msg.ContentTransferEncoding = "7bit";
    msg.Body()->Add("body");
    new TMxAttachment(msg.Parts(), "/tmp/none.bin");
    auto h = msg.BuildHeaders();
    EXPECT_TRUE(
        std::regex_match(h->ValueOf("Date"), std::regex(R"(Fri, 11 Dec 2026 06:07:08 [+-]\d{4})")))
        << h->ValueOf("Date");
    // A UU message is no MIME message.
    for (const char* name : {"MIME-Version", "Content-Type", "Content-Transfer-Encoding"})
        EXPECT_EQ(h->FindName(name), -1) << name;
}

TEST(MessageModelReading, EmptyValuesWriteNoLine) {
    TMxMessage msg;
    auto h = msg.BuildHeaders();
    for (const char* name :
         {"From", "Subject", "To", "Cc", "Newsgroups", "Sender", "Reply-To", "Organization",
          "Disposition-Notification-To", "References", "X-Priority"})
        EXPECT_EQ(h->FindName(name), -1) << name;
    EXPECT_NE(h->FindName("Date"), -1);
}

TEST(MessageModelReading, CharSetJoinsContentType) {
    TMxMessage msg;
    msg.ContentType = "text/plain";
    msg.CharSet = "ISO-8859-1";
    auto h = msg.BuildHeaders();
    EXPECT_EQ(h->ValueOf("Content-Type"), "text/plain; charset=\"ISO-8859-1\"");
    EXPECT_EQ(msg.ContentType, "text/plain;\r\n\tcharset=\"ISO-8859-1\"");
}

// The alert program fills one message object again for every recipient: a
// header built for one message must not leak into the next.
TEST(MessageModelReading, BuildingAgainDoesNotPileUp) {
    TMxMessage msg;
    msg.Body()->Add("plain text");
    auto first = msg.BuildHeaders();
    msg.Body()->Clear();
    msg.Body()->Add("caf\xC3\xA9");
    auto second = msg.BuildHeaders();
    EXPECT_NE(first->ValueOf("Content-Type"), second->ValueOf("Content-Type"));
    EXPECT_NE(second->ValueOf("Content-Type").find("UTF-8"), AnsiString::npos)
        << second->ValueOf("Content-Type");

    // A multipart type left from parts since removed does not describe a plain body.
    TMxMessage parted;
    parted.Body()->Add("text");
    auto* part = new TMxText(parted.Parts());
    parted.BuildHeaders();
    delete part;
    auto plain = parted.BuildHeaders();
    EXPECT_EQ(plain->ValueOf("Content-Type").rfind("text/plain", 0), 0u)
        << plain->ValueOf("Content-Type");

    TMxMessage set;
    set.ContentType = "text/plain";
    set.CharSet = "ISO-8859-1";
    set.BuildHeaders();
    auto again = set.BuildHeaders();
    const AnsiString type = again->ValueOf("Content-Type");
    EXPECT_EQ(type.find("charset"), type.rfind("charset")) << type;
}

TEST(MessageModelReading, HeaderCodingCanBeChanged) {
    TMxMessage msg;
    int calls = 0;
    msg.OnInitializeISO = [&](TMxTransfer&, char& letter, AnsiString& charSet) {
        ++calls;
        letter = 'B';
        charSet = "ISO-8859-2";
    };
    msg.Subject = "Z\xB3oty";
    auto h = msg.BuildHeaders();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(h->ValueOf("Subject"), "=?ISO-8859-2?B?WrNvdHk=?=");
}

TEST(MessageModelReading, AppliesReadHeaders) {
    TMxMessage msg;
    auto* raw = msg.RawHeaders();
    raw->Add("Content-Type: multipart/mixed; boundary=\"AbC=_1\"; charset=\"koi8-r\"");
    raw->Add("Content-Transfer-Encoding: 7bit");
    raw->Add("Content-Disposition: inline");
    raw->Add("Subject: =?ISO-8859-1?Q?Caf=E9?=");
    raw->Add("From: Joe <joe@x.example>");
    raw->Add("Message-Id: <m1@x>");
    raw->Add("Newsgroups: comp.a,comp.b");
    raw->Add("To: a@x.example, b@y.example");
    raw->Add("Cc: c@z.example");
    raw->Add("Bcc: d@z.example");
    raw->Add("Organization: Shop");
    raw->Add("Return-Receipt-To: rr@x.example");
    raw->Add("References: <r@x>");
    raw->Add("Reply-To: rt@x.example");
    raw->Add("Sender: s@x.example");
    raw->Add("X-Priority: 1 (Highest)");
    msg.ApplyHeaders();
    // Character set names are taken from the upper-cased value.
    EXPECT_EQ(msg.CharSet, "KOI8-R");
    EXPECT_EQ(msg.ContentTransferEncoding, "7bit");
    EXPECT_EQ(msg.ContentDisposition, "inline");
    EXPECT_EQ(msg.Subject, "Caf\xE9");
    EXPECT_EQ(msg.From()->Address(), "joe@x.example");
    EXPECT_EQ(msg.MessageId, "<m1@x>");
    EXPECT_EQ(msg.NewsGroups()->Count(), 2);
    EXPECT_EQ(msg.Recipients()->Count(), 2);
    EXPECT_EQ(msg.CCList()->Count(), 1);
    EXPECT_EQ(msg.BccList()->Count(), 1);
    EXPECT_EQ(msg.Organization, "Shop");
    EXPECT_EQ(msg.ReceiptRecipient()->Address(), "rr@x.example");
    EXPECT_EQ(msg.References, "<r@x>");
    EXPECT_EQ(msg.ReplyTo()->GetAddressText(), "rt@x.example");
    EXPECT_EQ(msg.Sender()->Address(), "s@x.example");
    EXPECT_EQ(msg.Priority, TMxMessagePriority::mpHighest);
    EXPECT_EQ(msg.BoundaryStack()->Boundary(), "AbC=_1");
}

// A coded display name may hold a comma or a quote once decoded: it still
// names one address.
TEST(MessageModelReading, CodedNamesWithSpecialsStayOneAddress) {
    TMxMessage sent;
    auto* item = sent.Recipients()->Add();
    item->SetName("Smith, Jos\xE9 \"JJ\"");
    item->SetAddress("j@x.example");
    sent.CCList()->SetAddressText("c@x.example");
    sent.From()->SetName("Caf\xE9, Ltd");
    sent.From()->SetAddress("f@x.example");
    auto h = sent.BuildHeaders();

    TMxMessage read;
    for (int i = 0; i < h->Count(); ++i)
        read.RawHeaders()->Add((*h)[i]);
    read.ApplyHeaders();
    ASSERT_EQ(read.Recipients()->Count(), 1) << h->ValueOf("To");
    EXPECT_EQ(read.Recipients()->Items(0)->Address(), "j@x.example");
    EXPECT_EQ(read.Recipients()->Items(0)->Name(), "Smith, Jos\xE9 \"JJ\"");
    EXPECT_EQ(read.From()->Address(), "f@x.example");
    EXPECT_EQ(read.From()->Name(), "Caf\xE9, Ltd");
}

TEST(MessageModelReading, PriorityFromReadHeaders) {
    const struct {
        const char* Line;
        TMxMessagePriority Priority;
    } cases[] = {
        {"Priority: Urgent", TMxMessagePriority::mpHigh},
        {"Priority: non-priority", TMxMessagePriority::mpLow},
        {"X-Priority: 5", TMxMessagePriority::mpLowest},
        {"X-Priority: 2", TMxMessagePriority::mpHigh},
        {"X-Priority: abc", TMxMessagePriority::mpNormal},
        {"X-Priority: ", TMxMessagePriority::mpNormal},
        // Numbers outside 1 to 5 stay within the scale.
        {"X-Priority: 9", TMxMessagePriority::mpLowest},
        {"X-Priority: 0", TMxMessagePriority::mpHighest},
        {"X-Priority: -4", TMxMessagePriority::mpHighest},
    };
    for (const auto& c : cases) {
        TMxMessage msg;
        msg.RawHeaders()->Add(c.Line);
        msg.ApplyHeaders();
        EXPECT_EQ(static_cast<int>(msg.Priority), static_cast<int>(c.Priority)) << c.Line;
    }
}

TEST(MessageModelReading, ClearEmptiesEverything) {
    TMxMessage msg;
    msg.RawHeaders()->Add("Content-Type: text/plain; charset=utf-8; format=flowed");
    msg.RawHeaders()->Add("Date: Wed, 4 Mar 2026 05:06:07 +0000");
    msg.ApplyHeaders();
    EXPECT_EQ(msg.CharSet, "UTF-8");
    EXPECT_NE(msg.Date, 0);
    msg.Subject = "s";
    msg.Priority = TMxMessagePriority::mpLow;
    msg.Body()->Add("line");
    msg.Recipients()->Add()->SetAddress("a@x");
    msg.ExtraHeaders()->Add("X: y");
    msg.BoundaryStack()->Push("b");
    new TMxText(msg.Parts());
    msg.Clear();
    EXPECT_EQ(msg.Subject, "");
    EXPECT_EQ(msg.CharSet, "");
    EXPECT_EQ(msg.ContentType, "");
    EXPECT_EQ(msg.Date, 0);
    EXPECT_EQ(msg.Priority, TMxMessagePriority::mpNormal);
    EXPECT_EQ(msg.Body()->Count(), 0);
    EXPECT_EQ(msg.Recipients()->Count(), 0);
    EXPECT_EQ(msg.RawHeaders()->Count(), 0);
    EXPECT_EQ(msg.ExtraHeaders()->Count(), 0);
    EXPECT_EQ(msg.BoundaryStack()->Count(), 0);
    EXPECT_EQ(msg.Parts()->Count(), 0);
}

TEST(MessageModelReading, OddReadHeadersAreTolerated) {
    for (const char* line :
         {"Date: not a date", "Date: ", "Content-Type: multipart/mixed; boundary=",
          "Content-Type: text/plain; charset=\"", "X-Priority: 99999999999999999999",
          "Subject: =?ISO-8859-1?Q?=?=", "Newsgroups: ,,,"}) {
        TMxMessage msg;
        msg.RawHeaders()->Add(line);
        EXPECT_NO_THROW(msg.ApplyHeaders()) << line;
    }
}

TEST(MessageModelReading, DispositionNotificationWinsOverReturnReceipt) {
    TMxMessage msg;
    msg.RawHeaders()->Add("Return-Receipt-To: rr@x.example");
    msg.RawHeaders()->Add("Disposition-Notification-To: dn@x.example");
    msg.ApplyHeaders();
    EXPECT_EQ(msg.ReceiptRecipient()->Address(), "dn@x.example");
}

TEST(MessageModelReading, BoundaryStack) {
    TMxMIMEBoundary b;
    EXPECT_EQ(b.Boundary(), "");
    b.Push("one");
    b.Push("ONE");
    EXPECT_TRUE(b.SameBoundaryAgain());
    EXPECT_EQ(b.Count(), 1);
    b.Push("");
    EXPECT_EQ(b.Count(), 1);
    b.Push("two");
    EXPECT_FALSE(b.SameBoundaryAgain());
    EXPECT_EQ(b.Boundary(), "two");
    b.Pop();
    EXPECT_EQ(b.Boundary(), "one");
}

} // namespace
