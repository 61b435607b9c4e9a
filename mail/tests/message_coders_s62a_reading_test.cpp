// The message-level coders read through their public calls: the encoder
// registry, attachment bodies in MIME, UUE and XXE, the multipart type and
// its boundaries, and the readers of MIME parts and UUE blocks.
#include "MessageCoding.h"
#include "mail/MxCoder3to4.h"
#include "mail/MxExceptions.h"
#include "mail/MxMessage.h"
#include "mail/MxMessageCoder.h"
#include "mail/MxMessageCoderMIME.h"
#include "mail/MxMessageCoderUUE.h"

#include <gtest/gtest.h>

#include <cctype>
#include <memory>
#include <unistd.h>

using namespace mail;
using mailtest::EncodeAttachment;

namespace {

AnsiString SampleBytes(int n) {
    AnsiString s;
    for (int i = 0; i < n; ++i)
        s += static_cast<char>((i * 37 + 11) & 0xFF);
    return s;
}

// Reads a part the way the message client does: find its decoder by the
// starting line, read its header, decode its body.
struct PartRead {
    std::unique_ptr<TMxMessageDecoder> Decoder;
    std::unique_ptr<TMxMessageDecoder> Next;
    AnsiString Data;
    bool MsgEnd = false;
};

PartRead ReadPart(TMxMessage& msg, const AnsiString& startLine, TStringStream& source) {
    PartRead r;
    r.Decoder = TMxMessageDecoderList::CheckForStart(&msg, startLine);
    if (!r.Decoder) return r;
    r.Decoder->SetSource(&source, false);
    r.Decoder->ReadPartHeader();
    TStringStream dest;
    r.Next = r.Decoder->DecodeBody(&dest, r.MsgEnd);
    r.Data = dest.DataString();
    return r;
}

TEST(MessageCodersReading, Registry) {
    for (const char* name : {"MIME", "uue", "XXE"})
        EXPECT_NE(TMxMessageEncoderList::FindEncoder(name), nullptr) << name;
    try {
        TMxMessageEncoderList::FindEncoder("NOPE");
        FAIL() << "no error";
    } catch (const EMxException& e) {
        EXPECT_STREQ(e.what(), "Message encoder not found: NOPE");
    }
}

TEST(MessageCodersReading, AttachmentBodies) {
    const AnsiString data = SampleBytes(100);
    const AnsiString mime = EncodeAttachment("MIME", data);
    const AnsiString line1 = mime.substr(0, mime.find("\r\n"));
    const AnsiString line2 = mime.substr(78, mime.size() - 78 - 2);
    EXPECT_EQ(line1.size(), 76u);
    EXPECT_EQ(line2.size(), 60u);
    EXPECT_EQ(line2.substr(58), "==");
    EXPECT_EQ(mime.substr(mime.size() - 2), "\r\n");
    EXPECT_EQ(MxDecodeString<TMxDecoderMIME>(line1 + line2), data);
    EXPECT_EQ(EncodeAttachment("MIME", ""), "");

    EXPECT_EQ(EncodeAttachment("UUE", "", "empty.txt"), "begin 660 empty.txt\r\n`\r\nend\r\n");
    EXPECT_EQ(EncodeAttachment("XXE", "", "empty.txt"), "begin 660 empty.txt\r\n+\r\nend\r\n");
    const AnsiString uue = EncodeAttachment("UUE", data, "d.bin");
    EXPECT_EQ(uue.rfind("begin 660 d.bin\r\nM", 0), 0u);
    EXPECT_EQ(uue.substr(17, 61),
              "M" + MxEncodeString<TMxEncoderUUE>(data.substr(0, 45)).substr(1));
    EXPECT_EQ(uue.substr(uue.size() - 10), "\r\n`\r\nend\r\n");
    EXPECT_EQ(EncodeAttachment("XXE", data).find("\r\nh"), 15u);
}

TEST(MessageCodersReading, AttachmentWritesItsFileWithTheMessagesEncoder) {
    char path[] = "/tmp/s62a_dataXXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    const AnsiString data = SampleBytes(50);
    ASSERT_EQ(write(fd, data.data(), data.size()), static_cast<ssize_t>(data.size()));
    close(fd);
    const struct {
        const char* Encoding;
        AnsiString Start;
    } cases[] = {{"MIME", MxEncodeString<TMxEncoderMIME>(data) + "\r\n"},
                 {"UUE", "begin 660 report.bin\r\n"},
                 {"XXE", "begin 660 report.bin\r\n"}};
    for (const auto& c : cases) {
        TMxMessage msg;
        msg.SetAttachmentEncoding(c.Encoding);
        auto* part = new TMxAttachment(msg.Parts(), path);
        part->AttachmentName = "report.bin";
        TStringStream out;
        part->Encode(&out);
        EXPECT_EQ(out.DataString().rfind(c.Start, 0), 0u) << c.Encoding << out.DataString();
        EXPECT_EQ(out.DataString(), EncodeAttachment(c.Encoding, data, "report.bin")) << c.Encoding;
    }
    // A data file that cannot be opened is an error, not an empty part.
    TMxMessage msg;
    auto* missing = new TMxAttachment(msg.Parts(), "/nonexistent/file.bin");
    TStringStream out;
    EXPECT_ANY_THROW(missing->Encode(&out));
    unlink(path);
}

TEST(MessageCodersReading, MultipartTypeAndBoundaries) {
    for (std::uint32_t seed : {0u, 1u, 7u, 12345u, 0xFFFFFFFFu}) {
        const TMxBoundaries b = MakeMIMEBoundaries(seed);
        ASSERT_EQ(b.Base.size(), 34u);
        const std::size_t at = b.Base.find("=_");
        EXPECT_NE(at, AnsiString::npos);
        for (std::size_t i = 0; i < b.Base.size(); ++i)
            if (i != at && i != at + 1)
                EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(b.Base[i]))) << b.Base;
        EXPECT_EQ(b.Alternative.size(), 35u);
        EXPECT_TRUE(std::islower(static_cast<unsigned char>(b.Alternative[0])));
        EXPECT_EQ(b.Alternative.substr(1), b.Base);
        EXPECT_EQ(b.Related.size(), 36u);
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(b.Related[0])));
        EXPECT_EQ(b.Related.substr(1), b.Alternative);
    }
    EXPECT_NE(MakeMIMEBoundaries(1).Base, MakeMIMEBoundaries(2).Base);

    const TMxBoundaries& run = MIMEBoundaries();
    const struct {
        bool Text;
        int Attachments;
        bool Related;
        AnsiString Type;
    } cases[] = {
        {false, 0, false, "text/plain"},
        {true, 0, false, "multipart/alternative; boundary=\"" + run.Base + "\""},
        {true, 1, false, "multipart/mixed; boundary=\"" + run.Base + "\""},
        {false, 2, true,
         "multipart/related; type=\"multipart/alternative\"; boundary=\"" + run.Related + "\""},
    };
    for (const auto& c : cases) {
        TMxMessage msg;
        msg.ContentType = "text/plain";
        if (c.Text) new TMxText(msg.Parts());
        for (int i = 0; i < c.Attachments; ++i)
            new TMxAttachment(msg.Parts(), "/tmp/none.bin");
        if (c.Related) msg.Parts()->Items(0)->SetContentID("<id>");
        auto h = msg.BuildHeaders();
        EXPECT_EQ(msg.ContentType, c.Type);
        if (c.Text || c.Attachments > 0) EXPECT_EQ(h->ValueOf("Content-Type"), c.Type);
    }
}

TEST(MessageCodersReading, PartStarts) {
    const struct {
        const char* Boundary;
        const char* Transfer;
        const char* Line;
        const char* Decoder; // class name, "" for none
        const char* FileName;
    } cases[] = {
        {"", "", "--b", "", ""},
        {"b", "", "--B", "TMxMessageDecoderMIME", ""},
        {"b", "", "plain text", "", ""},
        {"b", "base64", "YWJj", "TMxMessageDecoderMIME", ""},
        {"b", "Quoted-Printable", "x", "TMxMessageDecoderMIME", ""},
        {"", "", "begin 644 f.txt", "TMxMessageDecoderUUE", "f.txt"},
        {"", "", "BEGIN 600 My File.txt", "TMxMessageDecoderUUE", "My File.txt"},
        {"", "", "begin 000 f.txt", "", ""},
        {"", "", "begin 64 f.txt", "", ""},
        {"", "", "begin abc f.txt", "", ""},
        {"", "", "begin 644", "", ""},
    };
    for (const auto& c : cases) {
        TMxMessage msg;
        if (*c.Boundary) msg.BoundaryStack()->Push(c.Boundary);
        msg.ContentTransferEncoding = c.Transfer;
        auto d = TMxMessageDecoderList::CheckForStart(&msg, c.Line);
        EXPECT_EQ(d ? d->ClassName() : AnsiString(), c.Decoder) << c.Line;
        if (!d) continue;
        EXPECT_EQ(d->PartFileName, c.FileName) << c.Line;
        if (*c.FileName) EXPECT_EQ(d->PartKind, TMxPartKind::pkAttachment);
    }
}

TEST(MessageCodersReading, MimePartsAreRead) {
    const struct {
        const char* Source;
        TMxPartKind Kind;
        const char* FileName;
        const char* Data;
        bool Next;
        bool MsgEnd;
    } cases[] = {
        {"Content-Type: text/plain;\r\n charset=x\r\n\r\nline one\r\n..dot\r\n--b--\r\n",
         TMxPartKind::pkText, "", "line one\r\n.dot\r\n", false, false},
        {"Content-Type: application/pdf\r\nContent-Disposition: attachment;\r\n\tfilename=\"a "
         "b.pdf\"\r\n"
         "Content-Transfer-Encoding: base64\r\n\r\nYWJj\r\n\r\nZGVm\r\n--b\r\n",
         TMxPartKind::pkAttachment, "a b.pdf", "abcdef", true, false},
        {"Content-Type: image/png; name=logo.png\r\nContent-Transfer-Encoding: "
         "BASE64\r\n\r\nYQ==\r\n.\r\n",
         TMxPartKind::pkAttachment, "logo.png", "a", false, true},
        {"Content-Type: text/html\r\nContent-Transfer-Encoding: "
         "quoted-printable\r\n\r\ncaf=E9=\r\nx=3D\r\n--b--\r\n",
         TMxPartKind::pkText, "", "caf\xE9x=\r\n", false, false},
        {"Content-Type: text/plain\r\nContent-Disposition: attachment; "
         "filename==?ISO-8859-1?Q?caf=E9.txt?=\r\n\r\nz\r\n--b--\r\n",
         TMxPartKind::pkAttachment, "caf\xE9.txt", "z\r\n", false, false},
        {"Content-Type: application/octet-stream\r\n\r\nq\r\n--b--\r\n", TMxPartKind::pkAttachment,
         "", "q\r\n", false, false},
        // Blanks a relay left at the end of a base64 line are not data.
        {"Content-Type: application/octet-stream\r\nContent-Transfer-Encoding: base64\r\n\r\nYWJj "
         "\t\r\n--b--\r\n",
         TMxPartKind::pkAttachment, "", "abc", false, false},
    };
    for (const auto& c : cases) {
        TMxMessage msg;
        msg.BoundaryStack()->Push("b");
        TStringStream source(c.Source);
        PartRead r = ReadPart(msg, "--b", source);
        ASSERT_TRUE(r.Decoder) << c.Source;
        EXPECT_EQ(r.Decoder->PartKind, c.Kind) << c.Source;
        EXPECT_EQ(r.Decoder->PartFileName, c.FileName) << c.Source;
        EXPECT_EQ(r.Data, c.Data) << c.Source;
        EXPECT_EQ(r.Next != nullptr, c.Next) << c.Source;
        EXPECT_EQ(r.MsgEnd, c.MsgEnd) << c.Source;
        // The closing boundary leaves the multipart.
        const bool closed = AnsiString(c.Source).find("--b--") != AnsiString::npos;
        EXPECT_EQ(msg.BoundaryStack()->Count(), closed ? 0 : 1) << c.Source;
    }
}

TEST(MessageCodersReading, NestedMultipartAndWholeBody) {
    TMxMessage msg;
    msg.BoundaryStack()->Push("outer");
    TStringStream source(
        "Content-Type: multipart/alternative; boundary=\"Inner=_1\"\r\n\r\npreamble\r\n"
        "--Inner=_1\r\n");
    PartRead r = ReadPart(msg, "--outer", source);
    auto* mime = dynamic_cast<TMxMessageDecoderMIME*>(r.Decoder.get());
    ASSERT_NE(mime, nullptr);
    EXPECT_EQ(mime->Boundary, "Inner=_1");
    EXPECT_EQ(msg.BoundaryStack()->Boundary(), "Inner=_1");
    EXPECT_EQ(r.Decoder->PartKind, TMxPartKind::pkText);
    ASSERT_NE(r.Next, nullptr);

    // A message whose whole body is one coded part.
    TMxMessage whole;
    whole.BoundaryStack()->Push("x");
    whole.ContentTransferEncoding = "base64";
    whole.ContentType = "application/pdf; name=\"r.pdf\"";
    TStringStream body("ZGVm\r\n.\r\n");
    PartRead w = ReadPart(whole, "YWJj", body);
    ASSERT_TRUE(w.Decoder);
    EXPECT_EQ(w.Decoder->PartKind, TMxPartKind::pkAttachment);
    EXPECT_EQ(w.Decoder->PartFileName, "r.pdf");
    EXPECT_EQ(w.Data, "abcdef");
    EXPECT_TRUE(w.MsgEnd);
}

TEST(MessageCodersReading, UueBlocksAreRead) {
    const struct {
        int Size;
        const char* Encoder;
    } cases[] = {{100, "UUE"},
                 {45, "UUE"},
                 {100, "XXE"},
                 {90, "XXE"},
                 // Under 45 bytes no full line leads the block.
                 {10, "UUE"},
                 {0, "UUE"},
                 {24, "XXE"},
                 {1, "XXE"},
                 {0, "XXE"}};
    for (const auto& c : cases) {
        const AnsiString data = SampleBytes(c.Size);
        const AnsiString coded = EncodeAttachment(c.Encoder, data, "d.bin");
        const std::size_t first = coded.find("\r\n") + 2;
        TMxMessage msg;
        TStringStream source(coded.substr(first) + "after\r\n");
        PartRead r = ReadPart(msg, coded.substr(0, first - 2), source);
        ASSERT_TRUE(r.Decoder) << c.Encoder << c.Size;
        EXPECT_EQ(r.Decoder->PartFileName, "d.bin");
        EXPECT_EQ(r.Data, data) << c.Encoder << c.Size;
        EXPECT_FALSE(r.Next);
        EXPECT_FALSE(r.MsgEnd);
    }

    TMxMessage msg;
    TStringStream bad("this is not uue\r\nend\r\n");
    try {
        ReadPart(msg, "begin 644 x", bad);
        FAIL() << "no error";
    } catch (const EMxException& e) {
        EXPECT_STREQ(e.what(), "Unrecognized UUE encoding scheme.");
    }
}

} // namespace
