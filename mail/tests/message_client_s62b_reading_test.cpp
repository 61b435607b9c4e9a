// The message client writing messages onto a loopback connection and
// reading them back from one: the lines on the wire for each layout, the
// progress and status it reports, and the parts a read message gets.
#include "MessagePeer.h"
#include "TextLines.h"

#include "mail/MxComponent.h"
#include "mail/MxEmailAddress.h"
#include "mail/MxExceptions.h"
#include "mail/MxMessage.h"
#include "mail/MxMessageClient.h"
#include "mail/MxMessageCoderMIME.h"
#include "mail/MxMessageParts.h"
#include "platform/rtl/StringList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace mail;
using mailtest::Lines;

namespace {

// The lines after the header block.
std::vector<std::string> BodyLines(const std::vector<std::string>& ALines) {
    std::size_t i = 0;
    while (i < ALines.size() && !ALines[i].empty()) ++i;
    return std::vector<std::string>(ALines.begin() + std::min(i + 1, ALines.size()), ALines.end());
}

struct Recorder {
    std::vector<std::string> events;
    void Attach(TMxComponent& AClient) {
        AClient.OnStatus = [this](TObject*, TMxStatus, const AnsiString& AText) {
            if (AText.rfind("Encoding", 0) == 0) events.push_back("status " + AText);
        };
        AClient.OnWorkBegin = [this](TObject*, TWorkMode AMode, std::int32_t) {
            events.push_back(AMode == TWorkMode::workWrite ? "begin write" : "begin read");
        };
        AClient.OnWorkEnd = [this](TObject*, TWorkMode AMode) {
            events.push_back(AMode == TWorkMode::workWrite ? "end write" : "end read");
        };
    }
    std::vector<std::string> Without(const std::string& APrefix) const {
        std::vector<std::string> kept;
        for (const std::string& e : events)
            if (e.rfind(APrefix, 0) != 0) kept.push_back(e);
        return kept;
    }
};

// Writes AMsg onto a loopback connection and returns what arrived.
std::string Written(TMxMessage& AMsg, bool AHeadersOnly = false, Recorder* ARecorder = nullptr) {
    mailtest::PeerClient connection("", 5000, 2000);
    TMxMessageClient& client = connection.client;
    if (ARecorder) ARecorder->Attach(client);
    client.WriteMessage(&AMsg, AHeadersOnly);
    client.Disconnect();
    return connection.peer.Received();
}

struct TempFile {
    explicit TempFile(const std::string& AData) {
        path = (std::filesystem::temp_directory_path() /
                ("mxclient_probe_" + std::to_string(::getpid()) + "_" + std::to_string(++counter) +
                 "_data.bin"))
                   .string();
        std::ofstream(path, std::ios::binary) << AData;
    }
    ~TempFile() { std::filesystem::remove(path); }
    std::string path;
    static inline int counter = 0;
};

TMxText* AddTextPart(TMxMessage& AMsg, const std::vector<std::string>& ALines) {
    TStringList body;
    for (const std::string& line : ALines) body.Add(line);
    return new TMxText(AMsg.Parts(), &body);
}

} // namespace

TEST(MessageClientReading, PlainBodyGoesOutDotStuffedWithoutPartsAndReportsItsWork) {
    TMxMessage msg;
    msg.Subject = "plain";
    msg.Body()->Add("first");
    msg.Body()->Add(".");
    msg.Body()->Add(".leading");
    Recorder recorder;
    const std::vector<std::string> lines = Lines(Written(msg, false, &recorder));
    EXPECT_EQ(BodyLines(lines), (std::vector<std::string>{"first", "..", "..leading"}));
    for (const std::string& line : lines)
        EXPECT_EQ(line.find("multi-part"), std::string::npos) << line;
    EXPECT_EQ(recorder.events,
              (std::vector<std::string>{"begin write", "status Encoding text", "end write"}));
}

TEST(MessageClientReading, TextPartsWithoutAttachmentsGoBetweenBaseBoundaries) {
    struct Case {
        const char* name;
        int texts;
        bool body;
    };
    const std::vector<Case> cases = {{"two parts", 2, false}, {"one part, empty body", 1, false}};
    const std::string base = MIMEBoundaries().Base;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMxMessage msg;
        // A leading dot is coded as =2E, so no line on the wire starts with one
        // and the decoded text keeps its single dot.
        for (int i = 0; i < c.texts; ++i) AddTextPart(msg, {"text " + std::to_string(i), ".dot"});
        Recorder recorder;
        const std::vector<std::string> lines = BodyLines(Lines(Written(msg, false, &recorder)));
        std::vector<std::string> expected = {"This is a multi-part message in MIME format", ""};
        for (int i = 0; i < c.texts; ++i) {
            const std::vector<std::string> part = {"--" + base, "Content-Type: text/plain",
                                                   "Content-Transfer-Encoding: quoted-printable",
                                                   "", "text " + std::to_string(i), "=2Edot", ""};
            expected.insert(expected.end(), part.begin(), part.end());
        }
        expected.push_back("--" + base + "--");
        EXPECT_EQ(lines, expected);
        EXPECT_EQ(recorder.Without("status").front(), "begin write");
        EXPECT_EQ(recorder.Without("status").back(), "end write");
        EXPECT_EQ(recorder.Without("begin").size(), static_cast<std::size_t>(c.texts) + 1);
        // The defaults are kept in the part.
        auto* part = static_cast<TMxText*>(msg.Parts()->Items(0));
        EXPECT_EQ(part->ContentType(), "text/plain");
        EXPECT_EQ(part->ContentTransfer(), "quoted-printable");
    }
}

TEST(MessageClientReading, TextPartWithOtherTransferGoesAsItStandsDotStuffed) {
    TMxMessage msg;
    TMxText* text = AddTextPart(msg, {".x", "caf=e"});
    text->SetContentType("text/html");
    text->SetContentTransfer("7bit");
    text->SetContentID("<t1>");
    text->ExtraHeaders()->Add("X-Part: one");
    const std::string base = MIMEBoundaries().Base;
    const std::vector<std::string> lines = BodyLines(Lines(Written(msg)));
    const std::vector<std::string> expected = {
        "This is a multi-part message in MIME format", "", "--" + base, "Content-Type: text/html",
        "Content-Transfer-Encoding: 7bit", "Content-Id: <t1>", "X-Part: one", "", "..x", "caf=e",
        "", "--" + base + "--"};
    EXPECT_EQ(lines, expected);
}

TEST(MessageClientReading, AttachmentsGetTheirDefaultsAndTheBoundaryTheirIdsAsk) {
    struct Case {
        const char* name;
        std::string contentId;
        int texts;
    };
    const std::vector<Case> cases = {
        {"plain attachment, no text part", "", 0},
        {"related attachment, one text part", "<img1>", 1},
        {"two text parts", "", 2},
    };
    const TMxBoundaries& b = MIMEBoundaries();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile data("abc");
        TMxMessage msg;
        msg.Body()->Add("body .");
        msg.Body()->Add(".body");
        for (int i = 0; i < c.texts; ++i) AddTextPart(msg, {"t" + std::to_string(i)});
        auto* attachment = new TMxAttachment(msg.Parts(), data.path);
        attachment->AttachmentName = "/some/dir/report.bin";
        if (!c.contentId.empty()) attachment->SetContentID(c.contentId);
        Recorder recorder;
        const std::vector<std::string> lines = BodyLines(Lines(Written(msg, false, &recorder)));
        const std::string boundary = c.contentId.empty() ? b.Base : b.Related;
        std::vector<std::string> expected = {"This is a multi-part message in MIME format", "",
                                             "--" + boundary};
        std::vector<std::string> statuses;
        if (c.texts == 0) {
            // The body part names its character set as well.
            expected.insert(expected.end(), {"Content-Type: text/plain; charset=\"us-ascii\"",
                                             "Content-Transfer-Encoding: 7bit", "", "body .",
                                             "..body"});
        } else if (c.texts == 1) {
            expected.insert(expected.end(), {"Content-Type: text/plain",
                                             "Content-Transfer-Encoding: quoted-printable", "",
                                             "t0", ""});
            statuses.push_back("status Encoding text");
        } else {
            expected.insert(expected.end(),
                            {"Content-Type: multipart/alternative; ",
                             "        boundary=\"" + b.Alternative + "\"", ""});
            for (int i = 0; i < c.texts; ++i) {
                expected.insert(expected.end(),
                                {"--" + b.Alternative, "Content-Type: text/plain",
                                 "Content-Transfer-Encoding: quoted-printable", "",
                                 "t" + std::to_string(i), "", ""});
                statuses.push_back("status Encoding text");
            }
            expected.push_back("--" + b.Alternative + "--");
        }
        expected.insert(expected.end(),
                        {"", "--" + boundary, "Content-Type: application/octet-stream;",
                         "        name=\"report.bin\"", "Content-Transfer-Encoding: base64",
                         "Content-Disposition: attachment;", "        filename=\"report.bin\""});
        if (!c.contentId.empty()) expected.push_back("Content-Id: " + c.contentId);
        expected.insert(expected.end(), {"", "YWJj", "", "--" + boundary + "--"});
        statuses.push_back("status Encoding attachment");
        EXPECT_EQ(lines, expected);
        std::vector<std::string> seen;
        for (const std::string& e : recorder.events)
            if (e.rfind("status", 0) == 0) seen.push_back(e);
        EXPECT_EQ(seen, statuses);
    }
}

TEST(MessageClientReading, UULayoutWritesBodyThenCodedAttachmentsWithoutPartHeaders) {
    TempFile data("abc");
    TMxMessage msg;
    msg.SetEncoding(TMxMessageEncoding::meUU);
    msg.Body()->Add("see attached");
    auto* attachment = new TMxAttachment(msg.Parts(), data.path);
    attachment->AttachmentName = "a.bin";
    Recorder recorder;
    const std::vector<std::string> lines = BodyLines(Lines(Written(msg, false, &recorder)));
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "see attached");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2].rfind("begin ", 0), 0u) << lines[2];
    EXPECT_NE(lines[2].find("a.bin"), std::string::npos) << lines[2];
    for (const std::string& line : lines) {
        EXPECT_EQ(line.rfind("Content-", 0), std::string::npos) << line;
        EXPECT_EQ(line.rfind("--", 0), std::string::npos) << line;
    }
    EXPECT_EQ(recorder.Without("begin"),
              (std::vector<std::string>{"status Encoding attachment", "end write"}));
}

TEST(MessageClientReading, CodedAttachmentLinesThatBeginWithADotAreStuffed) {
    // Fourteen bytes make a UU line whose length character is ".".
    TempFile data("fourteen bytes");
    TMxMessage msg;
    msg.SetEncoding(TMxMessageEncoding::meUU);
    msg.Body()->Add("x");
    auto* attachment = new TMxAttachment(msg.Parts(), data.path);
    attachment->AttachmentName = "d.bin";
    const std::vector<std::string> lines = BodyLines(Lines(Written(msg)));
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[3].substr(0, 2), "..") << lines[3];
}

TEST(MessageClientReading, RefusedOrShortWritesStopEarlyAndCloseTheirWork) {
    {
        SCOPED_TRACE("UU with a text part");
        TMxMessage msg;
        msg.SetEncoding(TMxMessageEncoding::meUU);
        msg.Body()->Add("body");
        AddTextPart(msg, {"text"});
        mailtest::PeerClient connection("", MxDefaultReadTimeout, 2000);
        TMxMessageClient& client = connection.client;
        try {
            client.WriteMessage(&msg);
            ADD_FAILURE() << "no exception";
        } catch (const EMxException& e) {
            EXPECT_STREQ(e.what(), "Invalid Encoding. UU only allows Body and Attachments");
        }
        client.Disconnect();
        EXPECT_EQ(connection.peer.Received(), "");
    }
    {
        SCOPED_TRACE("attachment whose data file is gone");
        TMxMessage msg;
        msg.Body()->Add("body");
        auto* attachment = new TMxAttachment(msg.Parts(), "/nonexistent/dir/gone.bin");
        attachment->AttachmentName = "gone.bin";
        mailtest::PeerClient connection("", MxDefaultReadTimeout, 2000);
        TMxMessageClient& client = connection.client;
        Recorder recorder;
        recorder.Attach(client);
        EXPECT_THROW(client.WriteMessage(&msg), Exception);
        client.Disconnect();
        const std::vector<std::string> work = recorder.Without("status");
        EXPECT_EQ(work, (std::vector<std::string>{"begin write", "end write"}));
    }
}

TEST(MessageClientReading, HeadersOnlyAndUnencodedMessagesStopWhereAsked) {
    struct Case {
        const char* name;
        bool noEncode;
        bool headersOnly;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"raw headers and body", true, false, {"X-Raw: 1", "", "raw .", "last"}},
        {"raw headers only", true, true, {"X-Raw: 1", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMxMessage msg;
        msg.NoEncode = c.noEncode;
        msg.RawHeaders()->Add("X-Raw: 1");
        msg.Body()->Add("raw .");
        msg.Body()->Add("last");
        EXPECT_EQ(Lines(Written(msg, c.headersOnly)), c.expected);
    }
    TMxMessage msg;
    msg.Subject = "only headers";
    msg.Body()->Add("never sent");
    const std::string text = Written(msg, true);
    EXPECT_EQ(text.find("never sent"), std::string::npos);
    ASSERT_GE(text.size(), 4u);
    EXPECT_EQ(text.substr(text.size() - 4), "\r\n\r\n");
    EXPECT_NE(text.find("Subject: only headers\r\n"), std::string::npos);
}

TEST(MessageClientReading, ReadsHeaderAndBodyBackUpToTheTerminator) {
    struct Case {
        const char* name;
        bool noDecode;
        std::string altTerm;
        std::string wire;
    };
    const std::vector<Case> cases = {
        {"empty line ends the header", false, "",
         "Subject: back\r\nX-One: 1\r\n\r\nline one\r\n..dot\r\n.\r\nafter\r\n"},
        {"no decoding", true, "",
         "Subject: back\r\nX-One: 1\r\n\r\nline one\r\n..dot\r\n.\r\nafter\r\n"},
        {"alternative terminator", false, "END",
         "Subject: back\r\n\r\nX-One: 1\r\nEND\r\nline one\r\n..dot\r\n.\r\nafter\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mailtest::PeerClient connection(c.wire, 5000, 2000);
        TMxMessageClient& client = connection.client;
        Recorder recorder;
        recorder.Attach(client);
        TMxMessage msg;
        msg.NoDecode = c.noDecode;
        client.ReadHeader(&msg, c.altTerm);
        client.ReadBody(&msg);
        EXPECT_EQ(msg.Subject, "back");
        EXPECT_EQ(msg.RawHeaders()->Count(), 2);
        EXPECT_EQ(msg.RawHeaders()->ValueOf("X-One"), "1");
        ASSERT_EQ(msg.Body()->Count(), 2);
        EXPECT_EQ(msg.Body()->Strings(0), "line one");
        EXPECT_EQ(msg.Body()->Strings(1), ".dot");
        EXPECT_EQ(client.ReadLine(), "after");
        EXPECT_EQ(recorder.Without("status").front(), "begin read");
        EXPECT_EQ(recorder.Without("status")[1], "end read");
        client.Disconnect();
    }
}

TEST(MessageClientReading, AHeaderAloneEndsAtTheMessageEnd) {
    // A header-only answer (as to a request for the top of a message) ends
    // with "." instead of an empty line.
    mailtest::PeerClient connection("Subject: top\r\nX-One: 1\r\n.\r\nafter\r\n", 2000, 2000);
    TMxMessageClient& client = connection.client;
    TMxMessage msg;
    client.ReadHeader(&msg);
    EXPECT_EQ(msg.Subject, "top");
    EXPECT_EQ(msg.RawHeaders()->Count(), 2);
    EXPECT_EQ(client.ReadLine(), "after");
    client.Disconnect();
}

TEST(MessageClientReading, ReadsMimePartsIntoTextsAndTemporaryAttachments) {
    const std::string boundary = "=_probe_boundary";
    const std::string wire =
        "Subject: parts\r\nMIME-Version: 1.0\r\n"
        "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n"
        "This is a multi-part message in MIME format\r\n\r\n"
        "--" + boundary + "\r\n"
        "Content-Type: text/plain\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\n"
        "hello =3D world\r\n\r\n"
        "--" + boundary + "\r\n"
        "Content-Type: application/octet-stream; name=\"r.bin\"\r\n"
        "Content-Transfer-Encoding: base64\r\n"
        "Content-Disposition: attachment; filename=\"r.bin\"\r\n\r\n"
        "YWJj\r\n\r\n"
        "--" + boundary + "--\r\n.\r\n";
    mailtest::PeerClient connection(wire, 5000, 2000);
    TMxMessageClient& client = connection.client;
    std::string dataFile;
    {
        TMxMessage msg;
        msg.DeleteTempFiles = true;
        client.ReadHeader(&msg);
        client.ReadBody(&msg);
        ASSERT_EQ(msg.Parts()->Count(), 2);
        auto* text = dynamic_cast<TMxText*>(msg.Parts()->Items(0));
        ASSERT_NE(text, nullptr);
        ASSERT_GE(text->Body()->Count(), 1);
        EXPECT_EQ(text->Body()->Strings(0), "hello = world");
        EXPECT_EQ(text->ContentType(), "text/plain");
        auto* attachment = dynamic_cast<TMxAttachment*>(msg.Parts()->Items(1));
        ASSERT_NE(attachment, nullptr);
        EXPECT_EQ(attachment->AttachmentName, "r.bin");
        EXPECT_TRUE(attachment->DeleteDataFile);
        dataFile = attachment->DataFile;
        std::ifstream in(dataFile, std::ios::binary);
        const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(data, "abc");
    }
    EXPECT_FALSE(std::filesystem::exists(dataFile));
    client.Disconnect();
}

TEST(MessageClientReading, PartsReadBackUnstuffedAndEndAtTheTerminator) {
    const std::string boundary = "=_probe_boundary";
    const std::string head = "Subject: parts\r\nMIME-Version: 1.0\r\n"
                             "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n"
                             "preamble\r\n"
                             "--" + boundary + "\r\n"
                             "Content-Type: text/plain\r\nContent-Transfer-Encoding: 7bit\r\n\r\n"
                             "..x\r\nplain\r\n";
    struct Case {
        const char* name;
        std::string rest;
    };
    const std::vector<Case> cases = {
        {"closed", "--" + boundary + "--\r\n.\r\nafter\r\n"},
        {"cut off before the closing boundary", ".\r\nafter\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mailtest::PeerClient connection(head + c.rest, 2000, 2000);
        TMxMessageClient& client = connection.client;
        TMxMessage msg;
        client.ReadHeader(&msg);
        client.ReadBody(&msg);
        ASSERT_GE(msg.Parts()->Count(), 1);
        auto* text = dynamic_cast<TMxText*>(msg.Parts()->Items(0));
        ASSERT_NE(text, nullptr);
        ASSERT_GE(text->Body()->Count(), 2);
        EXPECT_EQ(text->Body()->Strings(0), ".x");
        EXPECT_EQ(text->Body()->Strings(1), "plain");
        EXPECT_EQ(client.ReadLine(), "after");
        client.Disconnect();
    }
}

TEST(MessageClientReading, AReadCutShortRaisesAndStillEndsItsWork) {
    struct Case {
        const char* name;
        std::string wire;
        bool headerFails;
    };
    const std::vector<Case> cases = {
        {"header cut short", "Subject: cut\r\nX-One: 1\r\n", true},
        {"body cut short", "Subject: cut\r\n\r\nline\r\n", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string seen;
        {
            mailtest::PeerClient connection(c.wire, 300, 2000);
            TMxMessageClient& client = connection.client;
            Recorder recorder;
            recorder.Attach(client);
            TMxMessage msg;
            // The peer sends its bytes and then says nothing more, so the
            // read runs into its time-out.
            if (c.headerFails) {
                EXPECT_THROW(client.ReadHeader(&msg), EMxException);
            } else {
                client.ReadHeader(&msg);
                EXPECT_THROW(client.ReadBody(&msg), EMxException);
            }
            const std::vector<std::string> work = recorder.Without("status");
            ASSERT_FALSE(work.empty());
            EXPECT_EQ(work.back(), "end read");
            EXPECT_EQ(std::count(work.begin(), work.end(), "begin read"),
                      std::count(work.begin(), work.end(), "end read"));
            client.Disconnect();
        }
    }
}

TEST(MessageClientReading, PartHeaderValuesCannotStartLinesOfTheirOwn) {
    struct Case {
        const char* name;
        std::string attachmentName;
        std::string contentType;
    };
    const std::vector<Case> cases = {
        {"name with CR LF", "evil\r\nX-Injected: 1.bin", ""},
        {"name with LF", "evil\nX-Injected: 1.bin", ""},
        {"type with CR LF", "a.bin", "application/pdf\r\nX-Injected: 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFile data("abc");
        TMxMessage msg;
        msg.Body()->Add("body");
        auto* attachment = new TMxAttachment(msg.Parts(), data.path);
        attachment->AttachmentName = c.attachmentName;
        std::string written;
        try {
            if (!c.contentType.empty()) attachment->SetContentType(c.contentType);
            written = Written(msg);
        } catch (const EMxException&) {
            // Refusing the value is as good as keeping it off a line of its own.
        }
        for (const std::string& line : Lines(written))
            EXPECT_EQ(line.rfind("X-Injected", 0), std::string::npos) << line;
    }
}

TEST(MessageClientReading, GivenPartSettingsAreWrittenAsTheyStand) {
    TempFile data("abc");
    TMxMessage msg;
    TMxText* text = AddTextPart(msg, {"a=b"});
    text->SetContentTransfer("Quoted-Printable");
    auto* attachment = new TMxAttachment(msg.Parts(), data.path);
    attachment->AttachmentName = "pic.png";
    attachment->SetContentType("image/png");
    attachment->SetContentDisposition("inline");
    attachment->ExtraHeaders()->Add("X-Extra: yes");
    const TMxBoundaries& b = MIMEBoundaries();
    const std::vector<std::string> lines = BodyLines(Lines(Written(msg)));
    const std::vector<std::string> expected = {
        "This is a multi-part message in MIME format", "", "--" + b.Base,
        "Content-Type: text/plain", "Content-Transfer-Encoding: Quoted-Printable", "", "a=3Db", "",
        "", "--" + b.Base, "Content-Type: image/png;", "        name=\"pic.png\"",
        "Content-Transfer-Encoding: base64", "Content-Disposition: inline;",
        "        filename=\"pic.png\"", "X-Extra: yes", "", "YWJj", "", "--" + b.Base + "--"};
    EXPECT_EQ(lines, expected);
}

TEST(MessageClientReading, ATextPartBesideABodyReachesTheReaderInAWholeMultipart) {
    // The header of such a message declares a multipart, so its part must
    // travel between boundaries; a text part always takes the body's place,
    // as it does beside attachments.
    struct Case {
        const char* name;
        std::vector<std::string> body;
        int texts;
    };
    const std::vector<Case> cases = {
        {"one part beside a body", {"the body"}, 1},
        {"one part, no body", {}, 1},
        {"two parts beside a body", {"the body"}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMxMessage msg;
        for (const std::string& line : c.body) msg.Body()->Add(line);
        for (int i = 0; i < c.texts; ++i) AddTextPart(msg, {"part " + std::to_string(i)});
        const std::string written = Written(msg);

        TMxMessage back;
        mailtest::ReadFromPeer(back, written + ".\r\n", 2000, 2000);
        ASSERT_EQ(back.Parts()->Count(), c.texts);
        for (int i = 0; i < c.texts; ++i) {
            auto* text = dynamic_cast<TMxText*>(back.Parts()->Items(i));
            ASSERT_NE(text, nullptr);
            ASSERT_GE(text->Body()->Count(), 1);
            EXPECT_EQ(text->Body()->Strings(0), "part " + std::to_string(i));
        }
    }
}

TEST(MessageClientReading, UUEncodedFilesInAPlainBodyBecomeAttachments) {
    const std::string full = "M" + std::string() + [] {
        std::string groups;
        for (int i = 0; i < 15; ++i) groups += "86%A";
        return groups;
    }();
    struct Case {
        const char* name;
        std::string block; // the lines between "begin" and "end"
        std::string data;
    };
    const std::vector<Case> cases = {
        {"one full line", full + "\r\n`\r\n", std::string(45, 'a')},
        {"one short line", "#86)C\r\n`\r\n", "abc"},
        {"XXE short line", "1MK7X\r\n+\r\n", "abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mailtest::PeerClient connection(
            "Subject: uu\r\n\r\nhello\r\nbegin 644 a.txt\r\n" + c.block + "end\r\n.\r\nafter\r\n", 2000, 2000);
        TMxMessageClient& client = connection.client;
        TMxMessage msg;
        msg.DeleteTempFiles = true;
        client.ReadHeader(&msg);
        client.ReadBody(&msg);
        ASSERT_GE(msg.Body()->Count(), 1);
        EXPECT_EQ(msg.Body()->Strings(0), "hello");
        ASSERT_EQ(msg.Parts()->Count(), 1);
        auto* attachment = dynamic_cast<TMxAttachment*>(msg.Parts()->Items(0));
        ASSERT_NE(attachment, nullptr);
        EXPECT_EQ(attachment->AttachmentName, "a.txt");
        std::ifstream in(attachment->DataFile, std::ios::binary);
        const std::string data((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        EXPECT_EQ(data, c.data);
        EXPECT_EQ(client.ReadLine(), "after");
        client.Disconnect();
    }
}

struct UUCase {
    const char* coder;
    std::string data;
};

void ExpectUUReadsBack(const std::vector<UUCase>& ACases) {
    for (const UUCase& c : ACases) {
        SCOPED_TRACE(c.coder + std::string(" ") + std::to_string(c.data.size()));
        TempFile data(c.data);
        TMxMessage msg;
        msg.SetEncoding(TMxMessageEncoding::meUU);
        msg.SetAttachmentEncoding(c.coder);
        msg.Body()->Add("hello");
        auto* attachment = new TMxAttachment(msg.Parts(), data.path);
        attachment->AttachmentName = "a.txt";
        const std::string written = Written(msg);

        TMxMessage back;
        back.DeleteTempFiles = true;
        mailtest::ReadFromPeer(back, written + ".\r\n", 2000, 2000);
        ASSERT_EQ(back.Parts()->Count(), 1);
        auto* read = dynamic_cast<TMxAttachment*>(back.Parts()->Items(0));
        ASSERT_NE(read, nullptr);
        std::ifstream in(read->DataFile, std::ios::binary);
        EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()),
                  c.data);
    }
}

// What this client writes in the UU layout reads back, whichever coder made
// it: the last line of a block is short, a file under 45 bytes has no other,
// and an empty file only the fill line.
TEST(MessageClientReading, UUAttachmentsWrittenHereReadBack) {
    ExpectUUReadsBack({{"UUE", "abc"},
                       {"UUE", std::string(46, 'q')},
                       {"UUE", std::string(45, 'q')},
                       {"UUE", ""},
                       {"XXE", "abc"},
                       {"XXE", std::string(50, 'x')},
                       {"XXE", ""}});
}
