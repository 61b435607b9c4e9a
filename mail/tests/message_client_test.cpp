#include "MessageCheck.h"
#include "MessagePeer.h"
#include "TextLines.h"
#include "Reference.h"
#include "mail/MxMessage.h"
#include "mail/MxMessageClient.h"
#include "mail/MxMessageCoderMIME.h"
#include "mail/MxTempFiles.h"
#include "platform/rtl/DateTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>

using namespace mail;
using mailtest::CrLfPieces;
using mailtest::CheckMessage;
using mailtest::LoopbackPeer;
using mailtest::Row;
using mailtest::ToHex;

namespace {

std::string Data(std::size_t ACount) {
    std::string data;
    for (std::size_t i = 0; i < ACount; ++i)
        data += static_cast<char>((i * 37 + 11) & 0xFF);
    return data;
}

// An attachment's data in a temporary file, removed with the fixture.
struct DataFile {
    explicit DataFile(const std::string& AData) : Path(MakeTempFileName()) {
        std::ofstream(Path, std::ios::binary) << AData;
    }
    ~DataFile() { std::filesystem::remove(Path); }
    AnsiString Path;
};

std::string ReadFile(const std::string& APath) {
    std::ifstream file(APath, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void Connect(TMxMessageClient& AClient, const LoopbackPeer& APeer) {
    AClient.SetHost("127.0.0.1");
    AClient.SetPort(APeer.Port());
    AClient.Connect(5000);
}

// What the client puts on the wire for the message.
AnsiString Wire(TMxMessage& AMsg, bool AHeadersOnly = false, TMxMessageClient* AClient = nullptr) {
    LoopbackPeer peer;
    TMxMessageClient own;
    TMxMessageClient& client = AClient ? *AClient : own;
    Connect(client, peer);
    try {
        client.WriteMessage(&AMsg, AHeadersOnly);
    } catch (...) {
        client.Disconnect();
        throw;
    }
    client.Disconnect();
    return peer.Received();
}

// The message the client reads back from the wire text.
void ReadBack(const AnsiString& AWire, TMxMessage& AMsg) {
    AMsg.DeleteTempFiles = true;
    mailtest::ReadFromPeer(AMsg, AWire + ".\r\n", MxDefaultReadTimeout, 5000);
}

// The random parts of the wire text replaced by names.
AnsiString Normalised(AnsiString AText) {
    const TMxBoundaries& b = MIMEBoundaries();
    for (const auto& [value, name] :
         {std::pair{b.Related, "{RELATED}"}, std::pair{b.Alternative, "{ALTERNATIVE}"},
          std::pair{b.Base, "{BASE}"}}) {
        for (std::size_t at; (at = AText.find(value)) != AnsiString::npos;)
            AText.replace(at, value.size(), name);
    }
    const std::size_t date = AText.find("\r\nDate: ");
    if (date != AnsiString::npos) {
        const std::size_t end = AText.find("\r\n", date + 2);
        AText.replace(date + 8, end - date - 8, "{DATE}");
    }
    return AText;
}

void ExpectGolden(const AnsiString& AWire, const std::string& AName) {
    const std::string path =
        (std::filesystem::path(__FILE__).parent_path() / "golden" / AName).string();
    const AnsiString text = Normalised(AWire);
    if (std::getenv("BEACONMILL_UPDATE_GOLDEN") != nullptr)
        std::ofstream(path, std::ios::binary) << text;
    EXPECT_EQ(text, ReadFile(path)) << AName;
}

void Address(TMxMessage& AMsg, const AnsiString& ASubject) {
    AMsg.From()->SetText("Dornwick <alerts@shop.example>");
    AMsg.Recipients()->SetAddressText("ops@shop.example, \"Zoë\" <zoe@shop.example>");
    AMsg.Subject = ASubject;
    AMsg.Date = EncodeDate(2024, 3, 5) + EncodeTime(9, 15, 0, 0);
}

// Text lines whose coding and dot-stuffing are easy to get wrong.
const std::vector<AnsiString> TrickyLines = {
    "Line one",
    ".",
    ".leading dot",
    "two\nlines",
    "",
    "trailing space ",
    "equals = sign",
    AnsiString(100, 'x'),
    "Grüße",
};

TMxText* AddText(TMxMessage& AMsg, const AnsiString& AType, const std::vector<AnsiString>& ALines) {
    auto* text = new TMxText(AMsg.Parts());
    text->SetContentType(AType);
    for (const AnsiString& line : ALines)
        text->Body()->Add(line);
    return text;
}

// The lines a reader sees: line ends inside a line split it.
std::vector<AnsiString> ReadLines(const std::vector<AnsiString>& ALines) {
    std::vector<AnsiString> lines;
    for (const AnsiString& line : ALines) {
        std::size_t start = 0;
        for (std::size_t lf; (lf = line.find('\n', start)) != AnsiString::npos; start = lf + 1)
            lines.push_back(line.substr(start, lf - start));
        lines.push_back(line.substr(start));
    }
    return lines;
}

std::vector<AnsiString> TrimmedLines(const TStrings* AStrings) {
    std::vector<AnsiString> lines;
    for (int i = 0; i < AStrings->Count(); ++i)
        lines.push_back(AStrings->Strings(i));
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
    return lines;
}

AnsiString Joined(const std::vector<AnsiString>& ALines) {
    AnsiString text;
    for (const AnsiString& line : ALines)
        text += (text.empty() ? "" : "\n") + line;
    return text;
}

// A message shape with what a reader must find in it.
struct Shape {
    const char* Name;
    std::function<void(TMxMessage&, const DataFile&)> Build;
    std::vector<std::vector<AnsiString>> Parts; // content type, file name, payload
};

const std::string AttachmentData = Data(100);

std::vector<Shape> Shapes() {
    return {
        {"plain body",
         [](TMxMessage& m, const DataFile&) {
             for (const AnsiString& line : TrickyLines)
                 m.Body()->Add(line);
         },
         {{"text/plain", "", Joined(ReadLines(TrickyLines))}}},
        {"two text parts",
         [](TMxMessage& m, const DataFile&) {
             AddText(m, "", TrickyLines);
             AddText(m, "text/html", {"<p>Hi</p>"});
         },
         {{"text/plain", "", Joined(ReadLines(TrickyLines))}, {"text/html", "", "<p>Hi</p>"}}},
        {"body and attachment",
         [](TMxMessage& m, const DataFile& f) {
             m.Body()->Add("See the file.");
             (new TMxAttachment(m.Parts(), f.Path))->AttachmentName = "data.bin";
         },
         {{"text/plain", "", "See the file."},
          {"application/octet-stream", "data.bin", AttachmentData}}},
        {"related attachment",
         [](TMxMessage& m, const DataFile& f) {
             AddText(m, "text/html", {"<img src=\"cid:img1\">"});
             auto* image = new TMxAttachment(m.Parts(), f.Path);
             image->AttachmentName = "img1.png";
             image->SetContentType("image/png");
             image->SetContentID("<img1>");
         },
         {{"text/html", "", "<img src=\"cid:img1\">"}, {"image/png", "img1.png", AttachmentData}}},
        {"alternatives and attachment",
         [](TMxMessage& m, const DataFile& f) {
             AddText(m, "", {"plain"});
             AddText(m, "text/html", {"<b>html</b>"});
             auto* attachment = new TMxAttachment(m.Parts(), f.Path);
             attachment->AttachmentName = "report.pdf";
             attachment->SetContentType("application/pdf");
         },
         {{"text/plain", "", "plain"},
          {"text/html", "", "<b>html</b>"},
          {"application/pdf", "report.pdf", AttachmentData}}},
    };
}

} // namespace

TEST(MxMessageClient, WritesTheGoldenLayouts) {
    TMxMessage plain;
    Address(plain, "Dornwick Alerts");
    for (const AnsiString& line : TrickyLines)
        plain.Body()->Add(line);
    ExpectGolden(Wire(plain), "plain.eml");

    DataFile file(AttachmentData);
    TMxMessage mixed;
    Address(mixed, "Report");
    mixed.Priority = TMxMessagePriority::mpHigh;
    AddText(mixed, "", TrickyLines);
    AddText(mixed, "text/html", {"<p>Hi</p>"});
    auto* attachment = new TMxAttachment(mixed.Parts(), file.Path);
    attachment->AttachmentName = "/var/tmp/data.bin";
    TMxMessageClient client;
    std::vector<AnsiString> statuses;
    client.OnStatus = [&](TObject*, TMxStatus, const AnsiString& AText) {
        if (AText.rfind("Encoding", 0) == 0) statuses.push_back(AText);
    };
    const AnsiString wire = Wire(mixed, false, &client);
    ExpectGolden(wire, "mixed.eml");
    EXPECT_EQ(statuses,
              (std::vector<AnsiString>{"Encoding text", "Encoding text", "Encoding attachment"}));

    // Headers only: the same text up to the empty line after the headers.
    const AnsiString headers = Wire(mixed, true);
    EXPECT_EQ(headers, wire.substr(0, wire.find("\r\n\r\n") + 4));
}

TEST(MxMessageClient, PythonReadsWhatTheClientWrites) {
    DataFile file(AttachmentData);
    for (const Shape& shape : Shapes()) {
        TMxMessage msg;
        Address(msg, "Überfällige Aufträge");
        shape.Build(msg, file);
        const std::vector<Row> rows = CheckMessage(Wire(msg));
        std::vector<std::vector<AnsiString>> parts;
        std::map<AnsiString, AnsiString> headers;
        for (const Row& row : rows) {
            if (row[0] == "HEADER") headers[row[1]] = row[2];
            if (row[0] == "PART") parts.push_back({row[1], row[2], row[3]});
            if (row[0] == "DEFECTS") {
                EXPECT_EQ(row[1], "0") << shape.Name;
            }
        }
        EXPECT_EQ(headers["Subject"], msg.Subject) << shape.Name;
        EXPECT_EQ(headers["From"], "Dornwick <alerts@shop.example>") << shape.Name;
        EXPECT_EQ(headers["To"], "ops@shop.example, Zoë <zoe@shop.example>") << shape.Name;
        std::vector<std::vector<AnsiString>> expected = shape.Parts;
        for (auto& part : expected)
            part[2] = ToHex(part[2]);
        EXPECT_EQ(parts, expected) << shape.Name;
    }
}

TEST(MxMessageClient, ReadsBackWhatItWrites) {
    DataFile file(AttachmentData);
    std::vector<Shape> shapes = Shapes();
    shapes.push_back({"UU attachment",
                      [](TMxMessage& m, const DataFile& f) {
                          m.SetEncoding(TMxMessageEncoding::meUU);
                          m.Body()->Add(".dotted");
                          (new TMxAttachment(m.Parts(), f.Path))->AttachmentName = "u.bin";
                      },
                      {{"", "", ".dotted"}, {"", "u.bin", AttachmentData}}});
    for (const Shape& shape : shapes) {
        TMxMessage sent;
        Address(sent, "Überfällige Aufträge");
        shape.Build(sent, file);
        TMxMessage read;
        ReadBack(Wire(sent), read);
        EXPECT_EQ(read.Subject, sent.Subject) << shape.Name;
        EXPECT_EQ(read.Recipients()->GetAddressText(), sent.Recipients()->GetAddressText());

        // What was read, in the shape's terms: the plain body (when the
        // layout keeps one), then each part.
        std::vector<AnsiString> found;
        if (read.Parts()->Count() == 0 || sent.Encoding() == TMxMessageEncoding::meUU)
            found.push_back(Joined(TrimmedLines(read.Body())));
        for (int i = 0; i < read.Parts()->Count(); ++i) {
            TMxMessagePart* part = read.Parts()->Items(i);
            if (auto* text = dynamic_cast<TMxText*>(part)) {
                if (text->ContentType().rfind("multipart/", 0) == 0) continue;
                found.push_back(Joined(TrimmedLines(text->Body())));
            } else if (auto* attachment = dynamic_cast<TMxAttachment*>(part)) {
                found.push_back(attachment->AttachmentName + ":" + ReadFile(attachment->DataFile));
            }
        }
        std::vector<AnsiString> expected;
        for (const auto& part : shape.Parts)
            expected.push_back(part[1].empty() ? part[2] : part[1] + ":" + part[2]);
        EXPECT_EQ(found, expected) << shape.Name;
    }
}

TEST(MxMessageClient, EveryBodyDeclaresItselfAndKeepsItsLinesWithinTheLimit) {
    struct Case {
        const char* Name;
        std::vector<AnsiString> Body;
        bool EightBit; // the peer takes 8bit bodies
        const char* Transfer;
        const char* CharSet;
    };
    const std::vector<Case> cases = {
        {"plain ASCII", {"Job 12 is late.", "Second line"}, false, "7bit", "us-ascii"},
        {"UTF-8, no 8BITMIME",
         {"Gr\xc3\xbc\xc3\x9f"
          "e aus K\xc3\xb6ln"},
         false,
         "quoted-printable",
         "UTF-8"},
        {"UTF-8 with 8BITMIME",
         {"Gr\xc3\xbc\xc3\x9f"
          "e aus K\xc3\xb6ln"},
         true,
         "8bit",
         "UTF-8"},
        {"NUL byte", {AnsiString("before\0after", 12)}, true, "quoted-printable", "us-ascii"},
        {"bell", {"ring \x07 ring"}, true, "quoted-printable", "us-ascii"},
        {"200,000 octets", {AnsiString(200000, 'x'), ".dot"}, true, "quoted-printable", "us-ascii"},
        {"998 octets", {AnsiString(998, 'y')}, false, "7bit", "us-ascii"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TMxMessage msg;
        Address(msg, "Alerts");
        for (const AnsiString& line : c.Body)
            msg.Body()->Add(line);
        TMxMessageClient client;
        client.SetEightBitAllowed(c.EightBit);
        const AnsiString wire = Wire(msg, false, &client);

        const std::size_t bodyStart = wire.find("\r\n\r\n") + 4;
        std::size_t start = 0;
        while (start < wire.size()) {
            const std::size_t end = wire.find("\r\n", start);
            ASSERT_NE(end, AnsiString::npos) << "the text ends without a line end";
            const AnsiString line = wire.substr(start, end - start);
            EXPECT_LE(line.size(), 998u);
            for (const char ch : line) {
                const unsigned char b = static_cast<unsigned char>(ch);
                EXPECT_TRUE(b == '\t' || (b >= 32 && b != 127)) << "byte " << int(b);
                if (start >= bodyStart && !c.EightBit) {
                    EXPECT_LT(b, 128) << "8-bit byte without 8BITMIME";
                }
            }
            start = end + 2;
        }

        std::map<AnsiString, AnsiString> headers;
        AnsiString payload;
        for (const Row& row : CheckMessage(wire)) {
            if (row[0] == "HEADER") headers[row[1]] = row[2];
            if (row[0] == "PART") payload = row[3];
            if (row[0] == "DEFECTS") {
                EXPECT_EQ(row[1], "0");
            }
        }
        EXPECT_EQ(headers["MIME-Version"], "1.0");
        EXPECT_EQ(headers["Content-Type"], AnsiString("text/plain; charset=\"") + c.CharSet + "\"");
        EXPECT_EQ(headers["Content-Transfer-Encoding"], c.Transfer);
        AnsiString text;
        for (const AnsiString& line : c.Body)
            text += (text.empty() ? "" : "\n") + line;
        EXPECT_EQ(payload, ToHex(text));
        EXPECT_EQ(msg.BodyTransferEncoding(c.EightBit), c.Transfer);

        TMxMessage read;
        ReadBack(wire, read);
        EXPECT_EQ(Joined(TrimmedLines(read.Body())), Joined(c.Body));
    }
}

TEST(MxMessageClient, AFailedWriteSendsNothingAndEndsItsWork) {
    int begun = 0;
    int ended = 0;
    auto count = [&](TMxMessageClient& AClient) {
        AClient.OnWorkBegin = [&](TObject*, TWorkMode, std::int32_t) { ++begun; };
        AClient.OnWorkEnd = [&](TObject*, TWorkMode) { ++ended; };
    };

    TMxMessage uu;
    uu.SetEncoding(TMxMessageEncoding::meUU);
    new TMxText(uu.Parts());
    {
        LoopbackPeer peer;
        TMxMessageClient client;
        Connect(client, peer);
        EXPECT_THROW(client.WriteMessage(&uu), EMxMessageException);
        client.Disconnect();
        EXPECT_EQ(peer.Received(), "");
    }

    TMxMessage missing;
    missing.Body()->Add("text");
    new TMxAttachment(missing.Parts(), "/nonexistent/beaconmill/file.bin");
    {
        LoopbackPeer peer;
        TMxMessageClient client;
        count(client);
        Connect(client, peer);
        EXPECT_THROW(client.WriteMessage(&missing), Exception);
        client.Disconnect();
        EXPECT_EQ(peer.Received(), "");
    }
    EXPECT_EQ(begun, ended);
    EXPECT_GT(begun, 0);
}

TEST(MxMessageClient, ReadingRefusesWhatItCannotPlaceOrHold) {
    const AnsiString multipart = "Content-Type: multipart/mixed; boundary=\"B=_1\"\r\n\r\n";
    AnsiString longHeader;
    for (int i = 0; i <= MxMaxHeaderLines; ++i)
        longHeader += "X-Line: " + std::to_string(i) + "\r\n";
    const std::vector<std::pair<AnsiString, AnsiString>> cases = {
        {multipart + "--B=_1\r\n", "Unknown Message Part Type."},
        {longHeader + "\r\n", ""},
    };
    for (const auto& [wire, message] : cases) {
        LoopbackPeer peer(wire + ".\r\n");
        TMxMessageClient client;
        Connect(client, peer);
        TMxMessage msg;
        try {
            client.ReadHeader(&msg);
            client.ReadBody(&msg);
            ADD_FAILURE() << "read " << wire.substr(0, 60);
        } catch (const EMxException& e) {
            if (!message.empty()) {
                EXPECT_STREQ(e.what(), message.c_str());
            }
        }
        client.Disconnect();
    }
}

TEST(MxMessageClient, AnAddressListJoinedByBareCommasFoldsAndPythonReadsItBack) {
    TMxMessage msg;
    Address(msg, "Folding");
    std::vector<AnsiString> addresses;
    AnsiString joined;
    for (int i = 0; i < 12; ++i) {
        addresses.push_back("buyer" + std::to_string(10 + i) + "@shop.example");
        joined += (i ? "," : "") + addresses.back();
    }
    ASSERT_GT(joined.size(), 200u);
    msg.ExtraHeaders()->SetValueOf("Cc", joined);
    msg.Body()->Add("text");
    const AnsiString wire = Wire(msg);
    const AnsiString head = wire.substr(0, wire.find("\r\n\r\n"));
    int ccLines = 0;
    bool inCc = false;
    for (const AnsiString& line : CrLfPieces(head)) {
        EXPECT_LE(line.size(), 78u) << line;
        if (line.rfind("Cc: ", 0) == 0) {
            inCc = true;
        } else if (line.empty() || (line[0] != ' ' && line[0] != '\t')) {
            inCc = false;
        }
        if (inCc) ++ccLines;
    }
    EXPECT_GE(ccLines, 3);

    AnsiString expected;
    for (const AnsiString& a : addresses)
        expected += (expected.empty() ? "" : ", ") + a;
    bool seen = false;
    for (const Row& row : CheckMessage(wire)) {
        if (row[0] == "HEADER" && row[1] == "Cc") {
            EXPECT_EQ(row[2], expected);
            seen = true;
        }
        if (row[0] == "DEFECTS") {
            EXPECT_EQ(row[1], "0");
        }
    }
    EXPECT_TRUE(seen);
}
