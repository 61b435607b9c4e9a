// The message-level coders read through the registries: attachment lines
// for MIME, UUE and XXE, the boundaries, and the part readers driven over a
// stream of received lines.
#include <gtest/gtest.h>

#include "MessageCoding.h"
#include "MessagePeer.h"
#include "TextLines.h"
#include "mail/MxExceptions.h"
#include "mail/MxMessageClient.h"
#include "mail/MxMessage.h"
#include "mail/MxMessageCoderMIME.h"
#include "mail/MxMessageCoderUUE.h"
#include "platform/rtl/Streams.h"

#include <cctype>
#include <cstdio>
#include <unistd.h>
#include <memory>
#include <string>
#include <vector>

using namespace mail;
using mailtest::EncodeAttachment;
using mailtest::PartRun;
using mailtest::RunPart;
using mailtest::TerminatedLines;

namespace {

std::string PatternBytes(size_t n)
{
    std::string s;
    for (size_t i = 0; i < n; ++i) s += static_cast<char>((i * 37 + 11) & 0xFF);
    return s;
}

TEST(MessageCodersText, RegistryFindsTheThreeEncoders)
{
    for (const char* name : {"MIME", "uue", "XXE"})
        EXPECT_NE(TMxMessageEncoderList::FindEncoder(name), nullptr) << name;
    try {
        TMxMessageEncoderList::FindEncoder("BinHex");
        FAIL() << "no error";
    } catch (const EMxException& e) {
        EXPECT_STREQ(e.what(), "Message encoder not found: BinHex");
    }
}

TEST(MessageCodersText, MimeAttachmentLines)
{
    const std::vector<std::pair<size_t, std::vector<size_t>>> cases = {
        {0, {}}, {1, {4}}, {57, {76}}, {58, {76, 4}}, {100, {76, 60}}, {114, {76, 76}},
    };
    for (const auto& [size, lengths] : cases) {
        const std::string data = PatternBytes(size);
        const auto lines = TerminatedLines(EncodeAttachment("MIME", data));
        ASSERT_EQ(lines.size(), lengths.size()) << size;
        for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].size(), lengths[i]) << size;
        if (size == 100) EXPECT_EQ(lines[1].substr(58), "==");
        // Read back through the MIME part reader.
        TMxMessage msg;
        msg.BoundaryStack()->Push("bnd");
        std::string part = "Content-Type: application/octet-stream\r\n"
                           "Content-Transfer-Encoding: base64\r\n\r\n";
        for (const auto& l : lines) part += l + "\r\n";
        part += "--bnd--\r\n";
        PartRun r = RunPart(msg, "--bnd", part);
        ASSERT_TRUE(r.Decoder);
        EXPECT_EQ(r.Data, data) << size;
    }
}

TEST(MessageCodersText, UueAndXxeBlocks)
{
    struct Case {
        const char* name;
        size_t size;
        std::vector<std::string> expected; // "" = any line of that shape
    };
    const Case cases[] = {
        {"UUE", 0, {"begin 660 f.bin", "`", "end"}},
        {"XXE", 0, {"begin 660 f.bin", "+", "end"}},
        {"UUE", 3, {"begin 660 f.bin", "#86)C", "`", "end"}},
        {"XXE", 3, {"begin 660 f.bin", "1MK7X", "+", "end"}},
    };
    for (const auto& c : cases) {
        auto encoder = TMxMessageEncoderList::FindEncoder(c.name)->EncoderClass();
        encoder->PartFileName = "f.bin";
        TStringStream in(c.size ? "abc" : "");
        TStringStream out;
        encoder->EncodeStream(&in, &out);
        EXPECT_EQ(TerminatedLines(out.DataString()), c.expected) << c.name << " " << c.size;
    }
    for (const char* name : {"UUE", "XXE"}) {
        const std::string data = PatternBytes(100);
        const auto lines = TerminatedLines(EncodeAttachment(name, data));
        ASSERT_EQ(lines.size(), 6u) << name;
        EXPECT_EQ(lines[1].size(), 61u);
        EXPECT_EQ(lines[1][0], name[0] == 'U' ? 'M' : 'h');
        EXPECT_EQ(lines[3].size(), 1u + 16u);
        EXPECT_EQ(lines[5], "end");
    }
    auto encoder = TMxMessageEncoderList::FindEncoder("UUE")->EncoderClass();
    encoder->ModeNumber = 644;
    encoder->PartFileName = "r.txt";
    TStringStream in(""), out;
    encoder->EncodeStream(&in, &out);
    EXPECT_EQ(TerminatedLines(out.DataString())[0], "begin 644 r.txt");
}

TEST(MessageCodersText, UueAndXxeBlocksReadBack)
{
    for (const char* name : {"UUE", "XXE"}) {
        for (size_t size : {0u, 1u, 2u, 3u, 5u, 44u, 45u, 46u, 90u, 100u}) {
            const std::string data = PatternBytes(size);
            const std::string block = EncodeAttachment(name, data);
            const auto lines = TerminatedLines(block);
            TMxMessage msg;
            PartRun r = RunPart(msg, lines[0], block.substr(lines[0].size() + 2) + "after\r\n");
            ASSERT_TRUE(r.Decoder) << name;
            EXPECT_EQ(r.Decoder->PartFileName, "f.bin");
            EXPECT_EQ(r.Decoder->PartKind, TMxPartKind::pkAttachment);
            EXPECT_EQ(r.Data, data) << name << " " << size;
            EXPECT_FALSE(r.MsgEnd);
            EXPECT_EQ(r.Next, nullptr);
        }
    }
}

TEST(MessageCodersText, UueStartLine)
{
    const std::pair<const char*, const char*> cases[] = {
        {"begin 644 file.txt", "file.txt"},
        {"BEGIN 600 a b.txt", "a b.txt"},
        {"begin 000 file.txt", nullptr},
        {"begin 644file.txt", nullptr},
        {"begin abc file.txt", nullptr},
        {"begin 644", nullptr},
        {"begin", nullptr},
        {"beginning 644 x", nullptr},
        {"", nullptr},
    };
    for (const auto& [line, file] : cases) {
        TMxMessage msg;
        auto d = TMxMessageDecoderList::CheckForStart(&msg, line);
        if (!file) {
            EXPECT_EQ(d, nullptr) << line;
            continue;
        }
        ASSERT_NE(d, nullptr) << line;
        EXPECT_EQ(d->PartFileName, file);
        EXPECT_EQ(d->PartKind, TMxPartKind::pkAttachment);
    }
}

TEST(MessageCodersText, UueBlockWithUnknownSchemeIsRefused)
{
    for (const char* first : {"", "this is not coded", "~~~~"}) {
        TMxMessage msg;
        auto d = TMxMessageDecoderList::CheckForStart(&msg, "begin 644 x");
        ASSERT_TRUE(d);
        d->SetSource(new TStringStream(std::string(first) + "\r\nend\r\n"));
        TStringStream out;
        bool end = false;
        try {
            d->DecodeBody(&out, end);
            FAIL() << "no error for '" << first << "'";
        } catch (const EMxException& e) {
            EXPECT_STREQ(e.what(), "Unrecognized UUE encoding scheme.");
        }
    }
}

TEST(MessageCodersText, BoundariesHaveTheirShape)
{
    for (std::uint32_t seed : {0u, 1u, 42u, 0xFFFFFFFFu, 123456u}) {
        const TMxBoundaries b = MakeMIMEBoundaries(seed);
        ASSERT_EQ(b.Base.size(), 34u);
        const size_t at = b.Base.find("=_");
        ASSERT_NE(at, std::string::npos);
        EXPECT_LE(at, 32u);
        for (size_t i = 0; i < b.Base.size(); ++i)
            if (i != at && i != at + 1) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(b.Base[i])));
        ASSERT_EQ(b.Alternative.size(), 35u);
        EXPECT_TRUE(std::islower(static_cast<unsigned char>(b.Alternative[0])));
        EXPECT_EQ(b.Alternative.substr(1), b.Base);
        ASSERT_EQ(b.Related.size(), 36u);
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(b.Related[0])));
        EXPECT_EQ(b.Related.substr(1), b.Alternative);
    }
    EXPECT_EQ(&MIMEBoundaries(), &MIMEBoundaries());
}

TEST(MessageCodersText, MimeStartLine)
{
    struct Case {
        const char* boundary;
        const char* transfer;
        const char* line;
        bool starts;
        bool whole;
    };
    const Case cases[] = {
        {nullptr, "base64", "--abc", false, false},
        {"abc", "", "--ABC", true, false},
        {"abc", "", "--abc--", false, false},
        {"abc", "", "plain text", false, false},
        {"abc", "7bit", "plain text", false, false},
        {"abc", "base64", "aGVsbG8=", true, true},
        {"abc", "Quoted-Printable", "a=3Db", true, true},
        {"abc", "8BIT", "--abc", true, false},
        {"abc", "binary", "--abc", true, false},
        {"abc", "x-token", "--abc", true, true},
    };
    for (const auto& c : cases) {
        TMxMessage msg;
        if (c.boundary) msg.BoundaryStack()->Push(c.boundary);
        msg.ContentTransferEncoding = c.transfer;
        auto d = TMxMessageDecoderList::CheckForStart(&msg, c.line);
        EXPECT_EQ(d != nullptr, c.starts) << c.line << " / " << c.transfer;
        if (!d) continue;
        auto* mime = dynamic_cast<TMxMessageDecoderMIME*>(d.get());
        ASSERT_NE(mime, nullptr);
        EXPECT_EQ(mime->Boundary, c.boundary);
        EXPECT_EQ(mime->WholeBodyCoded, c.whole) << c.transfer;
    }
}

TEST(MessageCodersText, PartHeaderClassifiesThePart)
{
    struct Case {
        const char* header;
        TMxPartKind kind;
        const char* file;
    };
    const Case cases[] = {
        {"Content-Type: text/plain\r\n", TMxPartKind::pkText, ""},
        {"Content-Type: multipart/alternative; boundary=\"inner\"\r\n", TMxPartKind::pkText, ""},
        {"Content-Type: application/pdf\r\n", TMxPartKind::pkAttachment, ""},
        // A part without a content type is plain text, as MIME defaults it.
        {"", TMxPartKind::pkText, ""},
        {"Content-Type: text/plain\r\nContent-Disposition: attachment\r\n", TMxPartKind::pkAttachment, ""},
        {"Content-Type: text/plain; name=\"a b.txt\"\r\n", TMxPartKind::pkAttachment, "a b.txt"},
        {"Content-Type: application/pdf\r\nContent-Disposition: attachment; filename=\"r;1.pdf\"; size=3\r\n",
         TMxPartKind::pkAttachment, "r;1.pdf"},
        {"Content-Type: application/pdf; NAME=x.pdf; y=z\r\n", TMxPartKind::pkAttachment, "x.pdf"},
        {"Content-Type: application/pdf\r\nContent-Disposition: inline;\r\n\tFILENAME=\"=?ISO-8859-1?Q?Caf=E9.pdf?=\"\r\n",
         TMxPartKind::pkAttachment, "Caf\xE9.pdf"},
    };
    for (const auto& c : cases) {
        TMxMessage msg;
        msg.BoundaryStack()->Push("outer");
        PartRun r = RunPart(msg, "--outer", std::string(c.header) + "\r\nbody\r\n--outer--\r\n--inner--\r\n");
        ASSERT_TRUE(r.Decoder);
        EXPECT_EQ(r.Decoder->PartKind, c.kind) << "[" << c.header << "]";
        EXPECT_EQ(r.Decoder->PartFileName, c.file) << c.header;
    }
    TMxMessage msg;
    msg.BoundaryStack()->Push("outer");
    auto d = TMxMessageDecoderList::CheckForStart(&msg, "--outer");
    d->SetSource(new TStringStream("Content-Type: text/plain;\r\n  charset=x\r\nX-A: b: c\r\n.\r\n"));
    d->ReadPartHeader();
    EXPECT_EQ(d->PartKind, TMxPartKind::pkUnclassified);
    ASSERT_EQ(d->PartHeaderLines.Count(), 2);
    EXPECT_EQ(d->PartHeaderLines[0], "Content-Type=text/plain;  charset=x");
    EXPECT_EQ(d->PartHeaderLines[1], "X-A=b: c");
}

TEST(MessageCodersText, NestedMultipartPushesItsBoundary)
{
    TMxMessage msg;
    msg.BoundaryStack()->Push("outer");
    auto d = TMxMessageDecoderList::CheckForStart(&msg, "--outer");
    d->SetSource(new TStringStream("Content-Type: multipart/alternative; boundary=\"In=_ner\"\r\n\r\n"
                                   "preamble\r\n--In=_ner\r\n"));
    d->ReadPartHeader();
    EXPECT_EQ(msg.BoundaryStack()->Boundary(), "In=_ner");
    EXPECT_EQ(static_cast<TMxMessageDecoderMIME*>(d.get())->Boundary, "In=_ner");
    TStringStream out;
    bool end = false;
    auto next = d->DecodeBody(&out, end);
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(static_cast<TMxMessageDecoderMIME*>(next.get())->Boundary, "In=_ner");
    EXPECT_FALSE(end);
}

TEST(MessageCodersText, PartBodies)
{
    struct Case {
        const char* transfer;
        const char* body;
        const char* decoded;
        bool next;
        bool end;
        int stackAfter;
    };
    const Case cases[] = {
        {"base64", "aGVs\r\n\r\nbG8=\r\n--bnd\r\n", "hello", true, false, 1},
        {"BASE64", "aGVsbG8= \t\r\n--bnd--\r\n", "hello", false, false, 0},
        {"quoted-printable", "a=3Db\r\nc=\r\nd\r\n--bnd--\r\n", "a=b\r\ncd\r\n", false, false, 0},
        {"quoted-printable", "padded= \r\nsoft break\r\n--bnd--\r\n", "paddedsoft break\r\n", false, false, 0},
        {"7bit", "..x\r\ny\r\n.\r\n", ".x\r\ny\r\n", false, true, 1},
        {"", "line\r\n--bndx\r\nmore\r\n--bnd--\r\n", "line\r\n--bndx\r\nmore\r\n", false, false, 0},
    };
    for (const auto& c : cases) {
        TMxMessage msg;
        msg.BoundaryStack()->Push("bnd");
        const std::string header =
            std::string("Content-Type: text/plain\r\nContent-Transfer-Encoding: ") + c.transfer + "\r\n\r\n";
        PartRun r = RunPart(msg, "--bnd", header + c.body);
        ASSERT_TRUE(r.Decoder);
        EXPECT_EQ(r.Data, c.decoded) << c.transfer;
        EXPECT_EQ(r.Next != nullptr, c.next) << c.transfer;
        EXPECT_EQ(r.MsgEnd, c.end) << c.transfer;
        EXPECT_EQ(msg.BoundaryStack()->Count(), c.stackAfter) << c.transfer;
    }
}

TEST(MessageCodersText, WholeBodyCodedMessage)
{
    TMxMessage msg;
    msg.BoundaryStack()->Push("bnd");
    msg.ContentTransferEncoding = "base64";
    msg.ContentType = "application/pdf; name=\"doc.pdf\"";
    PartRun r = RunPart(msg, "aGVs", "bG8g\r\nd29y\r\nbGQ=\r\n.\r\n");
    ASSERT_TRUE(r.Decoder);
    EXPECT_EQ(r.Decoder->PartKind, TMxPartKind::pkAttachment);
    EXPECT_EQ(r.Decoder->PartFileName, "doc.pdf");
    EXPECT_EQ(r.Data, "hello world");
    EXPECT_TRUE(r.MsgEnd);
}

TEST(MessageCodersText, SourceEndingEarlyEndsTheRead)
{
    // A connection that closes mid-part must not leave a reader spinning.
    struct Case {
        const char* first;
        const char* rest;
        bool header;
    };
    const Case cases[] = {
        {"begin 644 x", "M86)C\r\n", false},
        {"begin 644 x", "", false},
        {"--bnd", "Content-Type: text/plain\r\n", true},
        {"--bnd", "Content-Type: text/plain\r\n\r\nbody\r\n", true},
    };
    for (const auto& c : cases) {
        TMxMessage msg;
        msg.BoundaryStack()->Push("bnd");
        auto d = TMxMessageDecoderList::CheckForStart(&msg, c.first);
        ASSERT_TRUE(d);
        d->SetSource(new TStringStream(c.rest));
        TStringStream out;
        bool end = false;
        EXPECT_THROW(
            {
                if (c.header) d->ReadPartHeader();
                d->DecodeBody(&out, end);
            },
            EMxException)
            << c.first << " / " << c.rest;
    }
}

} // namespace

namespace {

TEST(MessageCodersText, AttachmentIsWrittenWithTheMessagesCoder)
{
    char path[] = "/tmp/attcodeXXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "abc", 3), 3);
    ::close(fd);
    const std::pair<const char*, const char*> cases[] = {
        {"UUE", "begin 660 shown.txt\r\n#86)C\r\n`\r\nend\r\n"},
        {"XXE", "begin 660 shown.txt\r\n1MK7X\r\n+\r\nend\r\n"},
        {"MIME", "YWJj\r\n"},
    };
    for (const auto& [coder, expected] : cases) {
        TMxMessage msg;
        msg.SetAttachmentEncoding(coder);
        auto* att = new TMxAttachment(msg.Parts(), path);
        att->AttachmentName = "shown.txt";
        TStringStream out;
        att->Encode(&out);
        EXPECT_EQ(out.DataString(), expected) << coder;
    }
    std::remove(path);
    TMxMessage msg;
    auto* missing = new TMxAttachment(msg.Parts(), "/nonexistent/dir/none.bin");
    TStringStream out;
    EXPECT_THROW(missing->Encode(&out), Exception);
    EXPECT_EQ(out.DataString(), "");
}

TEST(MessageCodersText, UueLinesWrittenWithSpacesReadBack)
{
    TMxMessage msg;
    PartRun r = RunPart(msg, "begin 644 z", "#    \r\n \r\nend\r\n");
    ASSERT_TRUE(r.Decoder);
    EXPECT_EQ(r.Data, std::string(3, '\0'));
}

} // namespace

namespace {

TEST(MessageCodersText, BoundaryLinesWithTransportPaddingAreBoundaries)
{
    // Blanks a relay leaves after a boundary line do not make it body text.
    for (const char* pad : {" ", "\t", "  \t"}) {
        TMxMessage msg;
        msg.BoundaryStack()->Push("bnd");
        auto first = TMxMessageDecoderList::CheckForStart(&msg, std::string("--bnd") + pad);
        ASSERT_NE(first, nullptr) << "[" << pad << "]";
        first->SetSource(new TStringStream(std::string("Content-Type: text/plain\r\n\r\none\r\n--bnd") + pad +
                                           "\r\nContent-Type: text/plain\r\n\r\ntwo\r\n--bnd--" + pad +
                                           "\r\n.\r\n"));
        first->ReadPartHeader();
        TStringStream out1;
        bool end = false;
        auto second = first->DecodeBody(&out1, end);
        EXPECT_EQ(out1.DataString(), "one\r\n");
        ASSERT_NE(second, nullptr);
        second->SetSource(first->Source(), false);
        second->ReadPartHeader();
        TStringStream out2;
        EXPECT_EQ(second->DecodeBody(&out2, end), nullptr);
        EXPECT_EQ(out2.DataString(), "two\r\n");
        EXPECT_FALSE(end);
        EXPECT_EQ(msg.BoundaryStack()->Count(), 0);
    }
}

TEST(MessageCodersText, ClientReadsPartsBetweenPaddedBoundaries)
{
    const std::string wire = "Content-Type: multipart/mixed; boundary=\"bnd\"\r\n"
                             "MIME-Version: 1.0\r\n\r\n"
                             "preamble\r\n--bnd \r\n"
                             "Content-Type: text/plain\r\n\r\none\r\n--bnd\t\r\n"
                             "Content-Type: text/plain\r\n\r\ntwo\r\n--bnd-- \r\n.\r\n";
    TMxMessage msg;
    mailtest::ReadFromPeer(msg, wire, MxDefaultReadTimeout, 5000);
    ASSERT_EQ(msg.Parts()->Count(), 2);
    EXPECT_EQ(static_cast<TMxText*>(msg.Parts()->Items(0))->Body()->Text(), "one\r\n");
    EXPECT_EQ(static_cast<TMxText*>(msg.Parts()->Items(1))->Body()->Text(), "two\r\n");
}

TEST(MessageCodersText, LinesAcrossReadChunksComeBackWhole)
{
    // Line ends that fall on or next to the reader's chunk edges.
    std::string body;
    for (size_t len : {2045u, 2046u, 2047u, 2048u, 2049u, 4095u, 4096u, 5000u, 0u, 1u})
        body += std::string(len, static_cast<char>('a' + len % 26)) + "\r\n";
    for (const char* ending : {"\r\n", "\n"}) {
        std::string wire = "Content-Type: text/plain\r\n\r\n" + body + "--bnd--\r\n";
        if (std::string(ending) == "\n")
            for (size_t at; (at = wire.find("\r\n")) != std::string::npos;) wire.replace(at, 2, "\n");
        TMxMessage msg;
        msg.BoundaryStack()->Push("bnd");
        PartRun r = RunPart(msg, "--bnd", wire);
        ASSERT_TRUE(r.Decoder);
        EXPECT_EQ(r.Data, body) << (std::string(ending) == "\n" ? "LF" : "CR LF");
    }
}

} // namespace

namespace {

TEST(MessageCodersText, ParametersAreFoundByTheirWholeName)
{
    struct Case {
        const char* type;
        const char* disposition;
        TMxPartKind kind;
        const char* file;
    };
    const Case cases[] = {
        {"text/plain; x-uname=abc", "", TMxPartKind::pkText, ""},
        {"text/plain; charset=x; filename=abc", "", TMxPartKind::pkText, ""},
        {"text/plain", "inline; x-filename=abc", TMxPartKind::pkText, ""},
        {"text/plain; name=\"x-name=a;b\"", "", TMxPartKind::pkAttachment, "x-name=a;b"},
        {"application/pdf", "inline; creation-date=\"filename=a\"; filename=b.pdf",
         TMxPartKind::pkAttachment, "b.pdf"},
    };
    for (const auto& c : cases) {
        TMxMessage msg;
        msg.BoundaryStack()->Push("bnd");
        std::string header = std::string("Content-Type: ") + c.type + "\r\n";
        if (*c.disposition) header += std::string("Content-Disposition: ") + c.disposition + "\r\n";
        PartRun r = RunPart(msg, "--bnd", header + "\r\nbody\r\n--bnd--\r\n");
        ASSERT_TRUE(r.Decoder);
        EXPECT_EQ(r.Decoder->PartKind, c.kind) << c.type << " / " << c.disposition;
        EXPECT_EQ(r.Decoder->PartFileName, c.file) << c.type << " / " << c.disposition;
    }
    EXPECT_EQ(HeaderParameter("multipart/mixed; xboundary=a; boundary=b", "boundary"), "b");
}

} // namespace
