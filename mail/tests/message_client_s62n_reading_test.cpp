// The message client writing messages onto a loopback peer and reading
// what such a peer sends: layouts, part headers, dot-stuffing, status and
// work reports, and what a failure leaves behind.
#include "MessagePeer.h"
#include "TextLines.h"
#include "mail/MxExceptions.h"
#include "mail/MxMessage.h"
#include "mail/MxMessageClient.h"
#include "mail/MxMessageCoderMIME.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

using namespace mail;
using mailtest::Lines;
using mailtest::PeerClient;
using mailtest::ReadFromPeer;

namespace {

struct Reports {
    std::vector<std::string> Statuses;
    std::vector<std::string> Work; // "begin w", "end w", "begin r", ...
};

void Listen(TMxMessageClient& AClient, Reports& AReports) {
    AClient.OnStatus = [&](TObject*, TMxStatus, const AnsiString& AText) {
        // Only what the writer itself reports; the connect and disconnect
        // have their own.
        if (AText.rfind("Encoding", 0) == 0) AReports.Statuses.push_back(AText);
    };
    AClient.OnWorkBegin = [&](TObject*, TWorkMode AMode, std::int32_t) {
        AReports.Work.push_back(AMode == TWorkMode::workWrite ? "begin w" : "begin r");
    };
    AClient.OnWorkEnd = [&](TObject*, TWorkMode AMode) {
        AReports.Work.push_back(AMode == TWorkMode::workWrite ? "end w" : "end r");
    };
}

// What the client put on the wire for AMsg.
std::string WireOf(TMxMessage& AMsg, bool AHeadersOnly = false, Reports* AReports = nullptr) {
    PeerClient connection;
    TMxMessageClient& client = connection.client;
    if (AReports) Listen(client, *AReports);
    try {
        client.WriteMessage(&AMsg, AHeadersOnly);
    } catch (...) {
        client.Disconnect();
        connection.peer.Received();
        throw;
    }
    client.Disconnect();
    return connection.peer.Received();
}

std::string BodyOf(const std::string& AWire) {
    const auto end = AWire.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : AWire.substr(end + 4);
}

std::string HeaderOf(const std::string& AWire) {
    return AWire.substr(0, AWire.find("\r\n\r\n") + 2);
}

std::string TempFileWith(const std::string& AName, const std::string& AContent) {
    // ctest runs each test in a process of its own, side by side, so the
    // folder carries the process id to keep their files apart.
    const auto folder =
        std::filesystem::temp_directory_path() / ("s62n_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto path = folder / AName;
    std::ofstream(path, std::ios::binary) << AContent;
    return path.string();
}

std::string FileText(const std::string& APath) {
    std::ifstream in(APath, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void AddPlainText(TMxMessage& AMsg, const std::string& AText) {
    auto* part = new TMxText(AMsg.Parts());
    part->Body()->Add(AText);
}

TMxAttachment* AddAttachment(TMxMessage& AMsg, const std::string& AName,
                             const std::string& AContent) {
    auto* part = new TMxAttachment(AMsg.Parts(), TempFileWith(AName, AContent));
    part->AttachmentName = "/some/folder/" + AName;
    part->DeleteDataFile = true; // the message cleans up after the test
    return part;
}

const std::string Preamble = "This is a multi-part message in MIME format\r\n\r\n";

} // namespace

TEST(MessageClientFreshReading, BodyOnlyMessageIsPlainLinesDotStuffed) {
    TMxMessage msg;
    msg.Body()->Add("hello");
    msg.Body()->Add(".");
    msg.Body()->Add(".x");
    msg.Body()->Add("");
    Reports reports;
    const std::string body = BodyOf(WireOf(msg, false, &reports));
    EXPECT_EQ(body, "hello\r\n..\r\n..x\r\n\r\n");
    EXPECT_EQ(reports.Statuses, std::vector<std::string>({"Encoding text"}));
    EXPECT_EQ(reports.Work, std::vector<std::string>({"begin w", "end w"}));
}

TEST(MessageClientFreshReading, TwoTextPartsMakeABoundedMultipart) {
    TMxMessage msg;
    AddPlainText(msg, "one");
    AddPlainText(msg, ".two");
    Reports reports;
    const std::string wire = WireOf(msg, false, &reports);
    const std::string& b = MIMEBoundaries().Base;
    EXPECT_NE(HeaderOf(wire).find(b), std::string::npos) << HeaderOf(wire);
    const std::string section = "Content-Type: text/plain\r\n"
                                "Content-Transfer-Encoding: quoted-printable\r\n\r\n";
    EXPECT_EQ(BodyOf(wire), Preamble + "--" + b + "\r\n" + section + "one\r\n\r\n--" + b +
                                "\r\n" + section + "=2Etwo\r\n\r\n--" + b + "--\r\n");
    EXPECT_EQ(reports.Statuses, std::vector<std::string>({"Encoding text", "Encoding text"}));
    // The defaults are kept in the parts.
    EXPECT_EQ(msg.Parts()->Items(0)->ContentType(), "text/plain");
    EXPECT_EQ(msg.Parts()->Items(1)->ContentTransfer(), "quoted-printable");
}

TEST(MessageClientFreshReading, TextPartWithOtherTransferIsWrittenAsItStands) {
    TMxMessage msg;
    AddPlainText(msg, "a=b");
    AddPlainText(msg, ".");
    msg.Parts()->Items(0)->SetContentTransfer("7bit");
    msg.Parts()->Items(0)->SetContentID("<t1>");
    const std::string body = BodyOf(WireOf(msg));
    EXPECT_NE(body.find("Content-Transfer-Encoding: 7bit\r\nContent-Id: <t1>\r\n\r\na=b\r\n\r\n"),
              std::string::npos)
        << body;
    EXPECT_NE(body.find("\r\n\r\n=2E\r\n\r\n--"), std::string::npos) << body;
}

TEST(MessageClientFreshReading, AttachmentDefaultsAndHeaders) {
    TMxMessage msg;
    msg.Body()->Add("see file");
    AddAttachment(msg, "f.bin", "abc");
    Reports reports;
    const std::string body = BodyOf(WireOf(msg, false, &reports));
    const std::string& b = MIMEBoundaries().Base;
    EXPECT_EQ(body.rfind(Preamble + "--" + b + "\r\nContent-Type: text/plain", 0), 0u) << body;
    const std::string part = "\r\n\r\n--" + b +
                             "\r\nContent-Type: application/octet-stream;\r\n"
                             "        name=\"f.bin\"\r\n"
                             "Content-Transfer-Encoding: base64\r\n"
                             "Content-Disposition: attachment;\r\n"
                             "        filename=\"f.bin\"\r\n\r\n"
                             "YWJj\r\n\r\n--" +
                             b + "--\r\n";
    ASSERT_GE(body.size(), part.size());
    EXPECT_EQ(body.substr(body.size() - part.size()), part) << body;
    EXPECT_NE(body.find("see file\r\n"), std::string::npos);
    EXPECT_EQ(reports.Statuses, std::vector<std::string>({"Encoding attachment"}));
    EXPECT_EQ(reports.Work, std::vector<std::string>({"begin w", "end w"}));
}

TEST(MessageClientFreshReading, ContentIdSwitchesToTheRelatedBoundary) {
    TMxMessage msg;
    AddPlainText(msg, "html");
    AddAttachment(msg, "i.png", "xyz")->SetContentID("<img1>");
    const std::string wire = WireOf(msg);
    const std::string body = BodyOf(wire);
    const std::string& related = MIMEBoundaries().Related;
    EXPECT_NE(HeaderOf(wire).find("boundary=\"" + related + "\""), std::string::npos) << wire;
    EXPECT_EQ(body.rfind(Preamble + "--" + related + "\r\n", 0), 0u) << body;
    EXPECT_NE(body.find("Content-Id: <img1>\r\n"), std::string::npos);
    EXPECT_NE(body.find("--" + related + "--\r\n"), std::string::npos);
}

TEST(MessageClientFreshReading, TwoTextPartsBesideAnAttachmentAreAlternatives) {
    TMxMessage msg;
    AddPlainText(msg, "plain");
    AddPlainText(msg, "rich");
    AddAttachment(msg, "a.txt", "data");
    Reports reports;
    const std::string body = BodyOf(WireOf(msg, false, &reports));
    const std::string& alt = MIMEBoundaries().Alternative;
    EXPECT_NE(body.find("Content-Type: multipart/alternative; \r\n        boundary=\"" + alt +
                        "\"\r\n\r\n--" + alt + "\r\n"),
              std::string::npos)
        << body;
    EXPECT_NE(body.find("--" + alt + "--\r\n"), std::string::npos);
    EXPECT_EQ(reports.Statuses,
              std::vector<std::string>({"Encoding text", "Encoding text", "Encoding attachment"}));
}

TEST(MessageClientFreshReading, HeadersOnlyAndRawMessages) {
    TMxMessage msg;
    msg.Subject = "s";
    msg.Body()->Add("never");
    const std::string headersOnly = WireOf(msg, true);
    ASSERT_GE(headersOnly.size(), 4u);
    EXPECT_EQ(headersOnly.substr(headersOnly.size() - 4), "\r\n\r\n");
    EXPECT_EQ(headersOnly.find("never"), std::string::npos);

    TMxMessage raw;
    raw.NoEncode = true;
    raw.RawHeaders()->Add("X-A: 1");
    raw.Body()->Add("line");
    raw.Body()->Add(".");
    EXPECT_EQ(WireOf(raw), "X-A: 1\r\n\r\nline\r\n..\r\n");
    EXPECT_EQ(WireOf(raw, true), "X-A: 1\r\n\r\n");
}

TEST(MessageClientFreshReading, UULayoutHasNoBoundariesAndRefusesTextParts) {
    TMxMessage msg;
    msg.SetEncoding(TMxMessageEncoding::meUU);
    msg.Body()->Add("hi");
    AddAttachment(msg, "u.bin", "abc");
    const std::string body = BodyOf(WireOf(msg));
    EXPECT_EQ(body.rfind("hi\r\n\r\nbegin ", 0), 0u) << body;
    EXPECT_EQ(body.find("--"), std::string::npos);
    EXPECT_EQ(body.find("Content-"), std::string::npos);
    EXPECT_EQ(body.substr(body.size() - 9), "\r\nend\r\n\r\n") << body;

    TMxMessage plain;
    plain.SetEncoding(TMxMessageEncoding::meUU);
    plain.Body()->Add(".only");
    Reports reports;
    EXPECT_EQ(BodyOf(WireOf(plain, false, &reports)), "..only\r\n");
    EXPECT_EQ(reports.Statuses, std::vector<std::string>({"Encoding text"}));

    TMxMessage bad;
    bad.SetEncoding(TMxMessageEncoding::meUU);
    AddPlainText(bad, "text");
    PeerClient connection;
    TMxMessageClient& client = connection.client;
    EXPECT_THROW(client.WriteMessage(&bad), EMxException);
    client.Disconnect();
    EXPECT_EQ(connection.peer.Received(), "");
}

TEST(MessageClientFreshReading, WorkEndsWhenAnAttachmentCannotBeRead) {
    TMxMessage msg;
    auto* part = new TMxAttachment(msg.Parts(), "/nonexistent/s62n/none.bin");
    part->AttachmentName = "none.bin";
    Reports reports;
    EXPECT_ANY_THROW(WireOf(msg, false, &reports));
    EXPECT_EQ(reports.Work, std::vector<std::string>({"begin w", "end w"}));
}

TEST(MessageClientFreshReading, ReadHeaderAndBodyFromAPeer) {
    struct Case {
        std::string Wire;
        std::string AltTerm;
        std::string Subject;
        std::vector<std::string> Body;
        std::string BodyTerm = ".";
    };
    const std::vector<Case> cases = {
        {"Subject: hi\r\n\r\nline\r\n..dot\r\n.\r\n", "", "hi", {"line", ".dot"}},
        // Header ended by "." reads no body.
        {"Subject: dot\r\n.\r\n", "", "dot", {}},
        // An alternative terminator lets empty lines pass.
        {"Subject: alt\r\n\r\nEND\r\nbody\r\n.\r\n", "END", "alt", {"body"}},
        // A body terminator of the caller's choosing lets "." lines pass.
        {"Subject: t\r\n\r\n.\r\n...\r\nSTOP\r\n", "", "t", {".", ".."}, "STOP"},
    };
    for (const Case& c : cases) {
        PeerClient connection(c.Wire);
        TMxMessageClient& client = connection.client;
        Reports reports;
        Listen(client, reports);
        TMxMessage msg;
        client.ReadHeader(&msg, c.AltTerm);
        if (!c.Body.empty()) client.ReadBody(&msg, c.BodyTerm);
        client.Disconnect();
        EXPECT_EQ(msg.Subject, c.Subject) << c.Wire;
        std::vector<std::string> body;
        for (int i = 0; i < msg.Body()->Count(); ++i) body.push_back(msg.Body()->Strings(i));
        EXPECT_EQ(body, c.Body) << c.Wire;
        EXPECT_EQ(reports.Work.front(), "begin r");
        EXPECT_EQ(reports.Work.back(), "end r");
    }
}

TEST(MessageClientFreshReading, WrittenPartsReadBack) {
    for (const TMxMessageEncoding encoding : {TMxMessageEncoding::meMIME, TMxMessageEncoding::meUU}) {
        TMxMessage msg;
        msg.SetEncoding(encoding);
        msg.Body()->Add("body line");
        if (encoding == TMxMessageEncoding::meMIME) {
            AddPlainText(msg, ".text part");
        }
        const std::string data(300, '\xA7');
        AddAttachment(msg, "r.bin", data)->AttachmentName = "r.bin";
        const std::string wire = WireOf(msg);

        TMxMessage back;
        back.DeleteTempFiles = true;
        ReadFromPeer(back, wire + ".\r\n");
        const int expected = encoding == TMxMessageEncoding::meMIME ? 2 : 1;
        ASSERT_EQ(back.Parts()->Count(), expected) << wire;
        TMxAttachment* file = nullptr;
        for (int i = 0; i < back.Parts()->Count(); ++i) {
            if (auto* text = dynamic_cast<TMxText*>(back.Parts()->Items(i))) {
                EXPECT_EQ(text->Body()->Strings(0), ".text part");
            }
            if (auto* a = dynamic_cast<TMxAttachment*>(back.Parts()->Items(i))) file = a;
        }
        ASSERT_NE(file, nullptr);
        EXPECT_EQ(file->AttachmentName, "r.bin");
        EXPECT_TRUE(file->DeleteDataFile);
        EXPECT_EQ(FileText(file->DataFile), data);
        const std::string temp = file->DataFile;
        back.Clear();
        EXPECT_FALSE(std::filesystem::exists(temp)) << temp;
    }
}

TEST(MessageClientFreshReading, NoDecodeCapturesTheBodyAsItStands) {
    TMxMessage msg;
    msg.NoDecode = true;
    const std::string b = MIMEBoundaries().Base;
    ReadFromPeer(msg, "Subject: raw\r\n\r\n--" + b + "\r\nContent-Type: text/plain\r\n\r\nx\r\n.\r\n");
    EXPECT_EQ(msg.Parts()->Count(), 0);
    EXPECT_EQ(msg.Body()->Count(), 4);
}

TEST(MessageClientFreshReading, PartWhoseHeaderIsCutByTheEndIsRefused) {
    const std::string b = MIMEBoundaries().Base;
    TMxMessage msg;
    try {
        ReadFromPeer(msg, "Content-Type: multipart/mixed; boundary=\"" + b + "\"\r\n\r\n--" + b +
                          "\r\nContent-Type: text/plain\r\n.\r\n");
        FAIL() << "no exception";
    } catch (const EMxException& e) {
        EXPECT_STREQ(e.what(), "Unknown Message Part Type.");
    }
}

TEST(MessageClientFreshReading, TextPartsReadBackAsWritten) {
    const std::vector<std::string> texts = {
        std::string(200, 'q') + " end",
        "caf\xC3\xA9 = ok",
        "trailing blanks  ",
        ".",
        "From the start",
    };
    for (const std::string& text : texts) {
        TMxMessage msg;
        AddPlainText(msg, text);
        AddPlainText(msg, "second");
        const std::string wire = WireOf(msg);
        for (const std::string& line : Lines(wire)) EXPECT_LE(line.size(), 998u);
        TMxMessage back;
        ReadFromPeer(back, wire + ".\r\n");
        ASSERT_EQ(back.Parts()->Count(), 2) << wire;
        auto* part = dynamic_cast<TMxText*>(back.Parts()->Items(0));
        ASSERT_NE(part, nullptr);
        ASSERT_GE(part->Body()->Count(), 1) << wire;
        EXPECT_EQ(part->Body()->Strings(0), text) << wire;
    }
}

TEST(MessageClientFreshReading, PartHeadersCannotBeSplitByANameOrExtraHeader) {
    TMxMessage msg;
    msg.Body()->Add("body");
    TMxAttachment* file = AddAttachment(msg, "n.bin", "abc");
    file->AttachmentName = "n\r\nX-Injected: yes.bin";
    file->ExtraHeaders()->Add("X-Extra: 1");
    std::string wire;
    try {
        wire = WireOf(msg);
    } catch (const EMxException&) {
        return; // refused: nothing of it went out
    }
    EXPECT_EQ(wire.find("\r\nX-Injected: yes"), std::string::npos) << wire;
    EXPECT_NE(wire.find("\r\nX-Extra: 1\r\n"), std::string::npos) << wire;
}

TEST(MessageClientFreshReading, MessageEndingInsideAPartEndsTheRead) {
    const std::string b = MIMEBoundaries().Base;
    const std::string head = "Content-Type: multipart/mixed; boundary=\"" + b + "\"\r\n\r\n";
    struct Case {
        std::string Name;
        std::string Body;
        std::string Data; // what the last part holds
    };
    const std::vector<Case> cases = {
        {"base64 attachment",
         "--" + b +
             "\r\nContent-Type: application/octet-stream\r\nContent-Transfer-Encoding: "
             "base64\r\nContent-Disposition: attachment; filename=\"t.bin\"\r\n\r\nYWJj\r\n",
         "abc"},
        {"text part", "--" + b + "\r\nContent-Type: text/plain\r\n\r\nlast words\r\n",
         "last words"},
        {"uu block", "body\r\nbegin 644 u.bin\r\n#86)C\r\n", "abc"},
    };
    for (const Case& c : cases) {
        TMxMessage msg;
        const std::string header = c.Name == "uu block" ? std::string("Subject: uu\r\n\r\n") : head;
        ReadFromPeer(msg, header + c.Body + ".\r\n");
        ASSERT_EQ(msg.Parts()->Count(), 1) << c.Name;
        if (auto* text = dynamic_cast<TMxText*>(msg.Parts()->Items(0))) {
            EXPECT_EQ(text->Body()->Text(), c.Data + "\r\n") << c.Name;
        } else {
            auto* file = dynamic_cast<TMxAttachment*>(msg.Parts()->Items(0));
            ASSERT_NE(file, nullptr);
            EXPECT_EQ(FileText(file->DataFile), c.Data) << c.Name;
            file->DeleteDataFile = true;
        }
    }
}

TEST(MessageClientFreshReading, HeaderBodyAndLinesCanBeWrittenAlone) {
    TMxMessage msg;
    msg.Subject = "alone";
    msg.Body()->Add("a");
    msg.Body()->Add(".b");
    PeerClient connection;
    TMxMessageClient& client = connection.client;
    client.WriteBodyLines(&msg);
    client.WriteHeader(&msg);
    client.WriteBody(&msg);
    client.Disconnect();
    const std::string wire = connection.peer.Received();
    EXPECT_EQ(wire.rfind("a\r\n..b\r\n", 0), 0u) << wire;
    EXPECT_NE(wire.find("Subject: alone\r\n"), std::string::npos) << wire;
    // WriteHeader writes no empty line of its own; WriteMessage does.
    EXPECT_EQ(wire.substr(wire.size() - 10), "\r\na\r\n..b\r\n") << wire;
}

TEST(MessageClientFreshReading, NoLineEndsTheDataEarly) {
    struct Case {
        std::string Name;
        bool Raw;
        std::string Header;
        std::string BodyLine;
    };
    const std::vector<Case> cases = {
        {"raw header dot", true, ".", "x"},
        {"raw header with a dot line inside", true, "X-A: 1\r\n.\r\nX-B: 2", "x"},
        {"raw body with a dot line inside", true, "X-A: 1", "a\r\n.\r\nb"},
        {"extra header with a dot line inside", false, "X-A: 1\r\n.\r\nX-B: 2", "x"},
        {"body with a dot line inside", false, "", "a\r\n.\r\nb"},
        {"body with a bare LF dot", false, "", "a\n.\nb"},
    };
    for (const Case& c : cases) {
        TMxMessage msg;
        msg.NoEncode = c.Raw;
        if (!c.Header.empty()) (c.Raw ? msg.RawHeaders() : msg.ExtraHeaders())->Add(c.Header);
        msg.Body()->Add(c.BodyLine);
        std::string wire;
        try {
            wire = WireOf(msg);
        } catch (const EMxException&) {
            continue; // refused
        }
        EXPECT_EQ(wire.find("\r\n.\r\n"), std::string::npos) << c.Name << "\n" << wire;
        EXPECT_EQ(wire.rfind(".\r\n", 0), std::string::npos) << c.Name;
        EXPECT_EQ(wire.find("\n.\n"), std::string::npos) << c.Name;
        EXPECT_EQ(wire.find("\n.\r\n"), std::string::npos) << c.Name;
    }
}

TEST(MessageClientFreshReading, AlternativesBesideAnAttachmentReadBack) {
    for (const bool related : {false, true}) {
        TMxMessage msg;
        AddPlainText(msg, "plain words");
        AddPlainText(msg, "<p>rich words</p>");
        TMxAttachment* file = AddAttachment(msg, "pic.png", std::string("\x89PNG\r\n\x1a\n", 8));
        if (related) file->SetContentID("<pic>");
        const std::string wire = WireOf(msg);
        TMxMessage back;
        back.DeleteTempFiles = true;
        ReadFromPeer(back, wire + ".\r\n");
        std::vector<std::string> texts;
        std::string data, name;
        for (int i = 0; i < back.Parts()->Count(); ++i) {
            // The alternatives' container comes back as a text part of its
            // own, with no text.
            auto* text = dynamic_cast<TMxText*>(back.Parts()->Items(i));
            if (text && text->ContentType().rfind("multipart/alternative", 0) == 0) {
                EXPECT_EQ(text->Body()->Text(), "");
            } else if (text) {
                texts.push_back(text->Body()->Count() ? text->Body()->Strings(0) : "");
            }
            if (auto* a = dynamic_cast<TMxAttachment*>(back.Parts()->Items(i))) {
                data = FileText(a->DataFile);
                name = a->AttachmentName;
            }
        }
        EXPECT_EQ(texts, std::vector<std::string>({"plain words", "<p>rich words</p>"})) << wire;
        EXPECT_EQ(data, std::string("\x89PNG\r\n\x1a\n", 8));
        EXPECT_EQ(name, "pic.png");
    }
}
