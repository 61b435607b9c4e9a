#include "mail/MxDates.h"
#include "mail/MxMessage.h"
#include "mail/MxMessageCoder.h"
#include "mail/MxMessageCoderMIME.h"
#include "mail/MxTempFiles.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>

using namespace mail;

namespace {

std::vector<AnsiString> Names(const TMxHeaderList& AHeaders) {
    std::vector<AnsiString> names;
    for (int i = 0; i < AHeaders.Count(); ++i) {
        const AnsiString line = AHeaders[i];
        if (line[0] != ' ' && line[0] != '\t') names.push_back(line.substr(0, line.find(':')));
    }
    return names;
}

// A file that exists for the test's lifetime (unless a test lets it go).
struct ScratchFile {
    explicit ScratchFile(const std::string& AData = "data") : Path(MakeTempFileName()) {
        std::ofstream(Path, std::ios::binary) << AData;
    }
    ~ScratchFile() { std::filesystem::remove(Path); }
    AnsiString Path;
};

} // namespace

TEST(MxMessage, BuildHeadersWritesTheSetValuesInOrder) {
    ManualClock clock(EncodeDate(2024, 3, 5) + EncodeTime(14, 30, 0, 0));
    ScopedClock scoped(clock);

    TMxMessage bare;
    // A body standing alone always says what it is and how it travels.
    EXPECT_EQ(Names(*bare.BuildHeaders()),
              (std::vector<AnsiString>{"Content-Type", "MIME-Version", "Content-Transfer-Encoding",
                                       "Date"}));

    TMxMessage msg;
    msg.From()->SetText("Dornwick <alerts@shop.example>");
    msg.Subject = "Alerts";
    msg.Recipients()->SetAddressText("a@x.example, b@x.example");
    msg.CCList()->SetAddressText("c@x.example");
    msg.BccList()->SetAddressText("hidden@x.example");
    msg.NewsGroups()->Add("alt.test");
    msg.Sender()->SetText("s@x.example");
    msg.ReplyTo()->SetAddressText("r@x.example");
    msg.Organization = "Shop";
    msg.ReceiptRecipient()->SetText("n@x.example");
    msg.References = "<1@x>";
    msg.MessageId = "<2@x>";
    msg.Priority = TMxMessagePriority::mpHigh;
    msg.ExtraHeaders()->Add("X-Mailer: test");
    msg.ExtraHeaders()->Add("Subject: second");
    const auto headers = msg.BuildHeaders();
    EXPECT_EQ(Names(*headers),
              (std::vector<AnsiString>{"From", "Subject", "To", "Cc", "Newsgroups", "Content-Type",
                                       "MIME-Version", "Content-Transfer-Encoding", "Sender",
                                       "Reply-To", "Organization", "Disposition-Notification-To",
                                       "References", "Date", "X-Priority", "X-Mailer", "Subject"}));
    EXPECT_EQ(headers->ValueOf("From"), "\"Dornwick\" <alerts@shop.example>");
    EXPECT_EQ(headers->ValueOf("To"), "a@x.example, b@x.example");
    EXPECT_EQ(headers->ValueOf("Date"), DateTimeToRfc822(clock.Now()));
    EXPECT_EQ(headers->ValueOf("X-Priority"), "2");
}

TEST(MxMessage, XPriorityNamesEveryLevelButNormal) {
    const std::vector<std::pair<TMxMessagePriority, AnsiString>> cases = {
        {TMxMessagePriority::mpHighest, "1"}, {TMxMessagePriority::mpHigh, "2"},
        {TMxMessagePriority::mpNormal, ""},   {TMxMessagePriority::mpLow, "4"},
        {TMxMessagePriority::mpLowest, "5"},
    };
    for (const auto& [priority, text] : cases) {
        TMxMessage msg;
        msg.Priority = priority;
        const auto headers = msg.BuildHeaders();
        EXPECT_EQ(headers->FindName("X-Priority") >= 0, !text.empty()) << text;
        EXPECT_EQ(headers->ValueOf("X-Priority"), text);
    }
}

TEST(MxMessage, ContentTypeFollowsThePartsAndTheCharSet) {
    const TMxBoundaries& b = MIMEBoundaries();
    ScratchFile file;
    struct Case {
        const char* Name;
        AnsiString ContentType;
        AnsiString CharSet;
        int Texts;
        int Attachments;
        AnsiString RelatedId;
        AnsiString Expected;
        bool MimeVersion;
    };
    const std::vector<Case> cases = {
        // A body standing alone is given its type, and the character set of
        // its bytes when none is set.
        {"charset alone", "", "utf-8", 0, 0, "", "text/plain; charset=\"utf-8\"", true},
        {"type and charset", "text/plain", "utf-8", 0, 0, "", "text/plain; charset=\"utf-8\"",
         true},
        {"nothing", "", "", 0, 0, "", "text/plain; charset=\"us-ascii\"", true},
        {"text parts", "", "", 2, 0, "", "multipart/alternative; boundary=\"" + b.Base + "\"",
         true},
        {"attachment", "text/plain", "", 1, 1, "", "multipart/mixed; boundary=\"" + b.Base + "\"",
         true},
        {"related", "", "", 0, 1, "<img1>",
         "multipart/related; type=\"multipart/alternative\"; boundary=\"" + b.Related + "\"", true},
    };
    for (const Case& c : cases) {
        TMxMessage msg;
        msg.ContentType = c.ContentType;
        msg.CharSet = c.CharSet;
        for (int i = 0; i < c.Texts; ++i)
            new TMxText(msg.Parts());
        for (int i = 0; i < c.Attachments; ++i)
            (new TMxAttachment(msg.Parts(), file.Path))->SetContentID(c.RelatedId);
        // Built twice, as for a second recipient: the value must not grow.
        msg.BuildHeaders();
        const auto headers = msg.BuildHeaders();
        EXPECT_EQ(headers->ValueOf("Content-Type"), c.Expected) << c.Name;
        EXPECT_EQ(headers->ValueOf("MIME-Version"), c.MimeVersion ? "1.0" : "") << c.Name;
    }
}

TEST(MxMessage, UULayoutRefusesTextPartsAndWritesNoMIMEHeaders) {
    ScratchFile file;
    TMxMessage msg;
    msg.SetEncoding(TMxMessageEncoding::meUU);
    EXPECT_EQ(msg.AttachmentEncoding(), "UUE");
    msg.ContentType = "text/plain";
    new TMxAttachment(msg.Parts(), file.Path);
    const auto headers = msg.BuildHeaders();
    EXPECT_EQ(headers->FindName("Content-Type"), -1);
    EXPECT_EQ(headers->FindName("MIME-Version"), -1);

    new TMxText(msg.Parts());
    try {
        msg.BuildHeaders();
        ADD_FAILURE() << "a UU message took a text part";
    } catch (const EMxMessageException& e) {
        EXPECT_STREQ(e.what(), "Invalid Encoding. UU only allows Body and Attachments");
    }
}

TEST(MxMessage, UseNowForDateAndTheDateStamp) {
    ManualClock clock(EncodeDate(2024, 3, 5) + EncodeTime(9, 0, 0, 0));
    ScopedClock scoped(clock);
    TMxMessage msg;
    EXPECT_TRUE(msg.UseNowForDate());
    msg.SetUseNowForDate(false);
    EXPECT_EQ(msg.Date, clock.Now());
    clock.Advance(3600 * 1000);
    msg.SetUseNowForDate(false); // unchanged: no new stamp
    EXPECT_EQ(msg.BuildHeaders()->ValueOf("Date"),
              DateTimeToRfc822(EncodeDate(2024, 3, 5) + EncodeTime(9, 0, 0, 0)));
    msg.Clear();
    EXPECT_TRUE(msg.UseNowForDate());
    EXPECT_EQ(msg.BuildHeaders()->ValueOf("Date"), DateTimeToRfc822(clock.Now()));
}

TEST(MxMessage, AttachmentEncodingMustBeRegistered) {
    TMxMessage msg;
    try {
        msg.SetAttachmentEncoding("BinHex");
        ADD_FAILURE() << "took an unknown encoder";
    } catch (const EMxException& e) {
        EXPECT_STREQ(e.what(), "Message encoder not found: BinHex");
    }
    EXPECT_EQ(msg.AttachmentEncoding(), "MIME");
    msg.SetAttachmentEncoding("xxe");
    EXPECT_EQ(msg.Parts()->MessageEncoderInfo(), TMxMessageEncoderList::FindEncoder("XXE"));
}

TEST(MxMessageParts, OnlyTextsAndAttachmentsCanBeMadeAndTheyAreCounted) {
    ScratchFile file;
    TMxMessage msg;
    try {
        msg.Parts()->Add();
        ADD_FAILURE() << "made the abstract part";
    } catch (const EMxCanNotCreateMessagePart& e) {
        EXPECT_STREQ(e.what(), "TMxMessagePart can not be created.  Use descendant classes. ");
    }
    EXPECT_EQ(msg.Parts()->Count(), 0);
    new TMxText(msg.Parts());
    new TMxAttachment(msg.Parts(), file.Path);
    (new TMxAttachment(msg.Parts(), file.Path))->SetContentID("<a>");
    msg.RecountParts();
    EXPECT_EQ(msg.Parts()->TextPartTotal(), 1);
    EXPECT_EQ(msg.Parts()->AttachmentTotal(), 2);
    EXPECT_EQ(msg.Parts()->RelatedAttachmentTotal(), 1);
}

TEST(MxMessageParts, AttachmentDeletesItsFileOnlyWhenAsked) {
    for (const bool remove : {false, true}) {
        ScratchFile file;
        {
            TMxMessage msg;
            auto* attachment = new TMxAttachment(msg.Parts(), file.Path);
            EXPECT_EQ(attachment->AttachmentName, FileNamePart(file.Path));
            attachment->DeleteDataFile = remove;
        }
        EXPECT_EQ(std::filesystem::exists(file.Path), !remove);
    }
}

TEST(MxMessage, ApplyHeadersReadsBackWhatBuildHeadersWrote) {
    TMxMessage sent;
    sent.From()->SetText("Zoë Brandt <zoe@x.example>");
    sent.Subject = "Überfällig: Auftrag 12";
    sent.Recipients()->SetAddressText("a@x.example, \"Bé\" <b@x.example>");
    sent.Organization = "Grüne Werkstatt";
    sent.Priority = TMxMessagePriority::mpLow;
    sent.Date = EncodeDate(2024, 3, 5) + EncodeTime(9, 15, 30, 0);
    const auto headers = sent.BuildHeaders();
    EXPECT_EQ(headers->ValueOf("Subject").rfind("=?UTF-8?", 0), 0u) << headers->Text();

    TMxMessage read;
    read.RawHeaders()->Assign(headers.get());
    read.ApplyHeaders();
    EXPECT_EQ(read.From()->GetText(), sent.From()->GetText());
    EXPECT_EQ(read.Subject, sent.Subject);
    EXPECT_EQ(read.Recipients()->GetAddressText(), sent.Recipients()->GetAddressText());
    EXPECT_EQ(read.Organization, sent.Organization);
    EXPECT_EQ(read.Priority, TMxMessagePriority::mpLow);
    EXPECT_LT(std::abs(static_cast<double>(read.Date - sent.Date)), 1.0 / 86400);
}

TEST(MxMessage, ApplyHeadersPriority) {
    const std::vector<std::pair<std::vector<AnsiString>, TMxMessagePriority>> cases = {
        {{"Priority: urgent"}, TMxMessagePriority::mpHigh},
        {{"Priority: non-urgent"}, TMxMessagePriority::mpLow},
        {{"Priority: non-priority"}, TMxMessagePriority::mpLow},
        {{"X-Priority: 1 (Highest)"}, TMxMessagePriority::mpHighest},
        {{"X-Priority: 9"}, TMxMessagePriority::mpLowest},
        {{"X-Priority: high"}, TMxMessagePriority::mpNormal},
        {{}, TMxMessagePriority::mpNormal},
        {{"Priority: normal", "X-Priority: 1"}, TMxMessagePriority::mpNormal},
    };
    for (const auto& [lines, priority] : cases) {
        TMxMessage msg;
        for (const AnsiString& line : lines)
            msg.RawHeaders()->Add(line);
        msg.ApplyHeaders();
        EXPECT_EQ(msg.Priority, priority) << (lines.empty() ? "none" : lines.back());
    }
}

TEST(MxMessage, ApplyHeadersKeepsTheBoundaryAsWritten) {
    const std::vector<std::tuple<AnsiString, AnsiString, AnsiString>> cases = {
        {"multipart/mixed; boundary=\"AbC=_x\"", "AbC=_x", ""},
        {"multipart/mixed; boundary=AbC; charset=utf-8", "AbC", "UTF-8"},
        {"multipart/mixed;\r\n\tBOUNDARY=Qz", "Qz", ""},
        {"text/plain; name=\"boundary=x\"", "", ""},
        {"text/plain; charset=\"iso-8859-1\"", "", "ISO-8859-1"},
    };
    for (const auto& [contentType, boundary, charSet] : cases) {
        TMxMessage msg;
        msg.RawHeaders()->SetValueOf("Content-Type", contentType);
        msg.ApplyHeaders();
        EXPECT_EQ(msg.BoundaryStack()->Boundary(), boundary) << contentType;
        EXPECT_EQ(msg.CharSet, charSet) << contentType;
    }
}

TEST(MxMIMEBoundary, StackPushesNewBoundariesOnlyAndIsBounded) {
    TMxMIMEBoundary stack;
    stack.Push("Outer");
    stack.Push("OUTER");
    EXPECT_TRUE(stack.SameBoundaryAgain());
    EXPECT_EQ(stack.Count(), 1);
    stack.Push("Inner");
    EXPECT_FALSE(stack.SameBoundaryAgain());
    EXPECT_EQ(stack.Boundary(), "Inner");
    stack.Pop();
    EXPECT_EQ(stack.Boundary(), "Outer");
    for (int i = 1; i < MxMaxBoundaryDepth; ++i)
        stack.Push("b" + std::to_string(i));
    EXPECT_THROW(stack.Push("one too many"), EMxMessageException);
    EXPECT_EQ(stack.Count(), MxMaxBoundaryDepth);
}

TEST(MIMEBoundaries, ShapeOfEveryBoundary) {
    std::set<std::size_t> places;
    auto check = [&](const TMxBoundaries& b) {
        ASSERT_EQ(b.Base.size(), 34u);
        EXPECT_EQ(b.Alternative.substr(1), b.Base);
        EXPECT_TRUE(std::islower(static_cast<unsigned char>(b.Alternative[0])));
        EXPECT_EQ(b.Related.substr(1), b.Alternative);
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(b.Related[0])));
        const std::size_t at = b.Base.find("=_");
        ASSERT_NE(at, AnsiString::npos) << b.Base;
        EXPECT_LE(at, 32u);
        places.insert(at);
        for (std::size_t i = 0; i < b.Base.size(); ++i) {
            if (i == at || i == at + 1) continue;
            EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(b.Base[i]))) << b.Base;
        }
    };
    check(MIMEBoundaries());
    for (std::uint32_t seed = 0; seed < 200; ++seed)
        check(MakeMIMEBoundaries(seed));
    EXPECT_GT(places.size(), 20u);
    EXPECT_NE(MakeMIMEBoundaries(1).Base, MakeMIMEBoundaries(2).Base);
}

TEST(DecodeMessageHeader, UTF8WordsBesideTheOthers) {
    const std::vector<std::pair<AnsiString, AnsiString>> cases = {
        {"=?UTF-8?Q?caf=C3=A9?=", "caf\xc3\xa9"},
        {"a =?UTF-8?B?w6k=?= =?utf-8?q?=C3=A9_x?= b", "a \xc3\xa9\xc3\xa9 x b"},
        {"=?ISO-8859-1?Q?a?= plain", "a plain"},
        {"=?UTF-8?Q?open", "=?UTF-8?Q?open"},
        {"x =?UTF-8?", "x =?UTF-8?"},
        {"=?UTF-8?B?!!!?=", "=?UTF-8?B?!!!?="},
        {"no words", "no words"},
    };
    for (const auto& [text, decoded] : cases)
        EXPECT_EQ(DecodeMessageHeader(text), decoded) << text;
}
