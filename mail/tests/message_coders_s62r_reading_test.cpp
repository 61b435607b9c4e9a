// The message coders read afresh: attachment encoders, the registries, the
// MIME boundaries and content type, and the part readers over a line
// source.
#include "ErrorMessage.h"
#include "MessageCoding.h"
#include "mail/MxCoder3to4.h"
#include "mail/MxExceptions.h"
#include "mail/MxMessage.h"
#include "mail/MxMessageCoderMIME.h"
#include "mail/MxMessageCoderUUE.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <set>

using namespace mail;
using mailtest::EncodeAttachment;
using mailtest::ErrorMessageOf;
using mailtest::PartRun;
using mailtest::RunPart;

TEST(MessageCodersReadingR, AttachmentEncodersTable) {
    AnsiString hundred;
    for (int i = 0; i < 100; ++i) hundred += static_cast<char>(i * 7);
    const AnsiString b64 = MxEncodeString<TMxEncoderMIME>(hundred);
    const AnsiString uue45 = MxEncodeString<TMxEncoderUUE>(hundred.substr(0, 45));
    const AnsiString xxe45 = MxEncodeString<TMxEncoderXXE>(hundred.substr(0, 45));
    struct Case {
        const char* what;
        AnsiString got;
        AnsiString want;
    };
    const Case cases[] = {
        {"mime 100 bytes", EncodeAttachment("MIME", hundred),
         b64.substr(0, 76) + "\r\n" + b64.substr(76) + "\r\n"},
        {"mime empty", EncodeAttachment("MIME", ""), ""},
        {"uue empty", EncodeAttachment("UUE", "", "a.txt"), "begin 660 a.txt\r\n`\r\nend\r\n"},
        {"xxe empty", EncodeAttachment("XXE", "", "a.txt"), "begin 660 a.txt\r\n+\r\nend\r\n"},
        {"uue 45 bytes", EncodeAttachment("uue", hundred.substr(0, 45)),
         "begin 660 f.bin\r\n" + uue45 + "\r\n`\r\nend\r\n"},
        {"xxe 45 bytes", EncodeAttachment("XXE", hundred.substr(0, 45)),
         "begin 660 f.bin\r\n" + xxe45 + "\r\n+\r\nend\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;
    EXPECT_EQ(b64.size() - 76, 60u);
}

TEST(MessageCodersReadingR, UnknownEncoderIsNamed) {
    EXPECT_EQ(ErrorMessageOf([] { TMxMessageEncoderList::FindEncoder("BINHEX"); }),
              "Message encoder not found: BINHEX");
}

TEST(MessageCodersReadingR, BoundariesHaveTheirShape) {
    for (std::uint32_t seed : {0u, 1u, 7u, 12345u, 0xffffffffu}) {
        const TMxBoundaries b = MakeMIMEBoundaries(seed);
        ASSERT_EQ(b.Base.size(), 34u) << seed;
        const std::size_t mark = b.Base.find("=_");
        ASSERT_NE(mark, AnsiString::npos) << b.Base;
        EXPECT_LE(mark, 32u);
        for (std::size_t i = 0; i < b.Base.size(); ++i)
            if (i != mark && i != mark + 1)
                EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(b.Base[i]))) << b.Base;
        ASSERT_EQ(b.Alternative.size(), 35u);
        EXPECT_TRUE(std::islower(static_cast<unsigned char>(b.Alternative[0])));
        EXPECT_EQ(b.Alternative.substr(1), b.Base);
        ASSERT_EQ(b.Related.size(), 36u);
        EXPECT_TRUE(std::isupper(static_cast<unsigned char>(b.Related[0])));
        EXPECT_EQ(b.Related.substr(1), b.Alternative);
    }
}

TEST(MessageCodersReadingR, BoundariesDrawEveryCharacterAndPlace) {
    std::set<char> characters;
    std::set<std::size_t> marks;
    for (std::uint32_t seed = 0; seed < 3000; ++seed) {
        const TMxBoundaries b = MakeMIMEBoundaries(seed);
        const std::size_t mark = b.Base.find("=_");
        marks.insert(mark);
        for (std::size_t i = 0; i < b.Base.size(); ++i)
            if (i != mark && i != mark + 1) characters.insert(b.Base[i]);
        characters.insert(b.Alternative[0]);
        characters.insert(b.Related[0]);
    }
    EXPECT_EQ(characters.size(), 62u);
    EXPECT_EQ(marks.size(), 33u);
    EXPECT_EQ(*marks.rbegin(), 32u);
    // The run's own boundaries are drawn once.
    EXPECT_EQ(&MIMEBoundaries(), &MIMEBoundaries());
    EXPECT_EQ(MIMEBoundaries().Related.size(), 36u);
}

TEST(MessageCodersReadingR, PrepareHeadersChoosesTheMultipart) {
    const TMxBoundaries& b = MIMEBoundaries();
    struct Case {
        const char* what;
        int texts;
        int attachments;
        bool related;
        AnsiString want;
    };
    const Case cases[] = {
        {"related", 1, 2, true,
         "multipart/related; type=\"multipart/alternative\"; boundary=\"" + b.Related + "\""},
        {"mixed", 1, 1, false, "multipart/mixed; boundary=\"" + b.Base + "\""},
        {"alternative", 2, 0, false, "multipart/alternative; boundary=\"" + b.Base + "\""},
        {"plain stays", 0, 0, false, "text/html"},
    };
    for (const Case& c : cases) {
        TMxMessage msg;
        msg.ContentType = "text/html";
        for (int i = 0; i < c.texts; ++i) new TMxText(msg.Parts());
        for (int i = 0; i < c.attachments; ++i) {
            auto* a = new TMxAttachment(msg.Parts(), "/nonexistent/a.bin");
            if (c.related && i == 1) a->SetContentID("<id1>");
        }
        msg.RecountParts();
        TMxMessageEncoderList::FindEncoder("MIME")->PrepareHeaders(&msg);
        EXPECT_EQ(msg.ContentType, c.want) << c.what;
    }
}

TEST(MessageCodersReadingR, MimeStartsPartTable) {
    struct Case {
        const char* what;
        const char* boundary;
        const char* transfer;
        const char* line;
        bool starts;
        bool pending;
        bool whole;
    };
    const Case cases[] = {
        {"no boundary known", "", "base64", "--abc", false, false, false},
        {"boundary line", "AbC", "", "--abc", true, false, false},
        {"boundary line, 7bit", "AbC", "7BIT", "--AbC", true, false, false},
        {"boundary line, 8bit", "AbC", "8bit", "--AbC", true, false, false},
        {"boundary line, binary", "AbC", "Binary", "--AbC", true, false, false},
        {"boundary line, other coding", "AbC", "x-uuencode", "--AbC", true, false, true},
        {"other line", "AbC", "", "hello", false, false, false},
        {"other line in a coded body", "AbC", "base64", "QUJD", true, true, true},
        {"other line in a quoted body", "AbC", "Quoted-Printable", "x", true, true, true},
        {"other line in a 7bit body", "AbC", "7bit", "x", false, false, false},
    };
    for (const Case& c : cases) {
        TMxMessage msg;
        msg.ContentTransferEncoding = c.transfer;
        if (*c.boundary) msg.BoundaryStack()->Push(c.boundary);
        TMxMessageDecoderInfoMIME info;
        auto decoder = info.StartsPart(&msg, c.line);
        ASSERT_EQ(decoder != nullptr, c.starts) << c.what;
        if (!decoder) continue;
        auto* mime = static_cast<TMxMessageDecoderMIME*>(decoder.get());
        EXPECT_EQ(mime->Boundary, c.boundary) << c.what;
        EXPECT_EQ(mime->HasPendingLine, c.pending) << c.what;
        EXPECT_EQ(mime->WholeBodyCoded, c.whole) << c.what;
        if (c.pending) EXPECT_EQ(mime->PendingLine, c.line) << c.what;
    }
}

TEST(MessageCodersReadingR, UueStartsPartTable) {
    struct Case {
        const char* line;
        bool starts;
        const char* file;
    };
    const Case cases[] = {
        {"begin 644 report.txt", true, "report.txt"},
        {"BEGIN 600 My File.bin", true, "My File.bin"},
        {"begin 000 x", false, ""},
        {"begin 644x", false, ""},
        {"begin abc x", false, ""},
        {"begin ", false, ""},
        {"beginning of text", false, ""},
    };
    for (const Case& c : cases) {
        TMxMessage msg;
        TMxMessageDecoderInfoUUE info;
        auto decoder = info.StartsPart(&msg, c.line);
        ASSERT_EQ(decoder != nullptr, c.starts) << c.line;
        if (!decoder) continue;
        EXPECT_EQ(decoder->PartFileName, c.file);
        EXPECT_EQ(decoder->PartKind, TMxPartKind::pkAttachment);
    }
}

TEST(MessageCodersReadingR, UueBlocksDecodeTable) {
    AnsiString data;
    for (int i = 0; i < 100; ++i) data += static_cast<char>(255 - i);
    struct Case {
        const char* what;
        AnsiString encoder;
    };
    for (const Case& c : {Case{"uue", "UUE"}, Case{"xxe", "XXE"}}) {
        const AnsiString block = EncodeAttachment(c.encoder, data, "d.bin");
        const std::size_t firstEnd = block.find("\r\n");
        TMxMessage msg;
        PartRun run = RunPart(msg, block.substr(0, firstEnd), block.substr(firstEnd + 2) + "after\r\n",
                               false);
        ASSERT_TRUE(run.Decoder) << c.what;
        EXPECT_EQ(run.Data, data) << c.what;
        EXPECT_FALSE(run.MsgEnd) << c.what;
        EXPECT_FALSE(run.Next) << c.what;
    }

    // Lines of LF only and a lower-case END close the block as well.
    TMxMessage msg;
    const AnsiString line = MxEncodeString<TMxEncoderUUE>(AnsiString(45, 'q'));
    PartRun run = RunPart(msg, "begin 644 q", line + "\n`\nEND\n", false);
    EXPECT_EQ(run.Data, AnsiString(45, 'q'));

    // Data under 45 bytes has no full-length line: the scheme whose count
    // fits the first line is taken.
    for (const AnsiString& encoder : {AnsiString("UUE"), AnsiString("XXE")}) {
        const AnsiString block = EncodeAttachment(encoder, "Cat", "c.txt");
        const std::size_t firstEnd = block.find("\r\n");
        TMxMessage small;
        EXPECT_EQ(RunPart(small, block.substr(0, firstEnd), block.substr(firstEnd + 2), false).Data, "Cat")
            << encoder;
    }

    // A line that went out dot-stuffed (14 bytes are counted by ".") comes
    // back whole.
    const AnsiString fourteen = MxEncodeString<TMxEncoderUUE>("fourteen bytes");
    ASSERT_EQ(fourteen[0], '.');
    TMxMessage stuffed;
    EXPECT_EQ(RunPart(stuffed, "begin 644 q", "." + fourteen + "\r\n`\r\nend\r\n", false).Data,
              "fourteen bytes");

    // The message's end line inside a block ends the message.
    TMxMessage cut;
    PartRun dot = RunPart(cut, "begin 644 q", line + "\r\n.\r\n", false);
    EXPECT_TRUE(dot.MsgEnd);
    EXPECT_EQ(dot.Data, AnsiString(45, 'q'));

    // A block whose first line is of neither scheme is refused.
    for (const AnsiString first : {AnsiString(""), AnsiString("~~~~~"), AnsiString("#0V%")}) {
        TMxMessage bad;
        EXPECT_EQ(ErrorMessageOf([&] { RunPart(bad, "begin 644 q", first + "\r\nend\r\n", false); }),
                  "Unrecognized UUE encoding scheme.")
            << first;
    }
}

TEST(MessageCodersReadingR, MimePartsReadInTurn) {
    TMxMessage msg;
    msg.BoundaryStack()->Push("B0");
    const AnsiString source =
        "Content-Type: text/plain;\r\n"
        "\tcharset=us-ascii\r\n"
        "Content-Transfer-Encoding: quoted-printable\r\n"
        "\r\n"
        "caf=E9 soft=\r\n"
        "end\r\n"
        "--B0\r\n"
        "Content-Type: application/octet-stream; name=\"a b.bin\"\r\n"
        "Content-Transfer-Encoding: base64\r\n"
        "\r\n"
        "QUJD\r\n"
        "\r\n"
        "REVG\r\n"
        "--B0--\r\n"
        "epilogue\r\n"
        ".\r\n";
    auto* stream = new TStringStream(source);
    PartRun first;
    first.Decoder = TMxMessageDecoderList::CheckForStart(&msg, "--b0");
    ASSERT_TRUE(first.Decoder);
    first.Decoder->SetSource(stream);
    first.Decoder->ReadPartHeader();
    EXPECT_EQ(first.Decoder->PartKind, TMxPartKind::pkText);
    EXPECT_EQ(first.Decoder->PartHeaderLines.Values("Content-Type"), "text/plain; charset=us-ascii");
    TStringStream text;
    auto second = first.Decoder->DecodeBody(&text, first.MsgEnd);
    EXPECT_EQ(text.DataString(), "caf\xe9 softend\r\n");
    EXPECT_FALSE(first.MsgEnd);
    ASSERT_TRUE(second);

    first.Decoder->SetSource(stream, false);
    second->SetSource(stream);
    second->ReadPartHeader();
    EXPECT_EQ(second->PartKind, TMxPartKind::pkAttachment);
    EXPECT_EQ(second->PartFileName, "a b.bin");
    TStringStream bin;
    bool end = false;
    auto third = second->DecodeBody(&bin, end);
    EXPECT_EQ(bin.DataString(), "ABCDEF");
    EXPECT_FALSE(third);
    EXPECT_EQ(msg.BoundaryStack()->Count(), 0);
}

TEST(MessageCodersReadingR, MimePartClassificationTable) {
    struct Case {
        const char* what;
        AnsiString header;
        TMxPartKind kind;
        AnsiString file;
    };
    const Case cases[] = {
        {"text", "Content-Type: text/html\r\n", TMxPartKind::pkText, ""},
        {"nested multipart", "Content-Type: multipart/alternative; boundary=\"in\"\r\n", TMxPartKind::pkText,
         ""},
        {"image", "Content-Type: image/png\r\n", TMxPartKind::pkAttachment, ""},
        {"upper-case type", "content-type: TEXT/Plain\r\n", TMxPartKind::pkText, ""},
        // A part without a content type is plain text by default.
        {"no type at all", "X-Other: 1\r\n", TMxPartKind::pkText, ""},
        {"disposition attachment", "Content-Type: text/plain\r\nContent-Disposition: attachment\r\n",
         TMxPartKind::pkAttachment, ""},
        {"file name wins over name",
         "Content-Type: text/plain; NAME=n.txt\r\nContent-Disposition: inline; filename=\"f;1.txt\"\r\n",
         TMxPartKind::pkAttachment, "f;1.txt"},
        {"unquoted name ends at semicolon", "Content-Type: text/plain; name= n.txt ; x=1\r\n",
         TMxPartKind::pkAttachment, "n.txt"},
        {"coded file name", "Content-Type: application/pdf; name=\"=?ISO-8859-1?Q?r=E9sum=E9.pdf?=\"\r\n",
         TMxPartKind::pkAttachment, "r\xe9sum\xe9.pdf"},
    };
    for (const Case& c : cases) {
        TMxMessage msg;
        msg.BoundaryStack()->Push("OUT");
        PartRun run = RunPart(msg, "--OUT", c.header + "\r\nbody\r\n--OUT--\r\n--in--\r\n");
        ASSERT_TRUE(run.Decoder) << c.what;
        EXPECT_EQ(run.Decoder->PartKind, c.kind) << c.what;
        EXPECT_EQ(run.Decoder->PartFileName, c.file) << c.what;
    }

    // A nested multipart's boundary goes on the stack and becomes the part's.
    TMxMessage msg;
    msg.BoundaryStack()->Push("OUT");
    auto decoder = TMxMessageDecoderList::CheckForStart(&msg, "--OUT");
    decoder->SetSource(new TStringStream("Content-Type: multipart/mixed; boundary=\"IN\"\r\n\r\n"));
    decoder->ReadPartHeader();
    EXPECT_EQ(msg.BoundaryStack()->Boundary(), "IN");
    EXPECT_EQ(static_cast<TMxMessageDecoderMIME*>(decoder.get())->Boundary, "IN");

    // The end line inside a part header leaves it unclassified.
    TMxMessage ended;
    ended.BoundaryStack()->Push("OUT");
    auto dot = TMxMessageDecoderList::CheckForStart(&ended, "--OUT");
    dot->SetSource(new TStringStream("Content-Type: image/png\r\n.\r\n"));
    dot->ReadPartHeader();
    EXPECT_EQ(dot->PartKind, TMxPartKind::pkUnclassified);
}

TEST(MessageCodersReadingR, WholeBodyCodedMessages) {
    struct Case {
        const char* what;
        AnsiString transfer;
        AnsiString contentType;
        AnsiString disposition;
        AnsiString first;
        AnsiString rest;
        AnsiString want;
        TMxPartKind kind;
        AnsiString file;
    };
    const Case cases[] = {
        {"base64 body", "base64", "application/pdf; name=x.pdf", "", "QUJD", "REVG\r\n.\r\n", "ABCDEF",
         TMxPartKind::pkAttachment, "x.pdf"},
        {"quoted body", "quoted-printable", "text/plain", "", "a=3Db", "c\r\n.\r\n", "a=b\r\nc\r\n",
         TMxPartKind::pkText, ""},
        {"disposition names the file", "BASE64", "text/plain", "attachment; filename=\"d.txt\"", "QUJD",
         ".\r\n", "ABC", TMxPartKind::pkAttachment, "d.txt"},
    };
    for (const Case& c : cases) {
        TMxMessage msg;
        msg.ContentTransferEncoding = c.transfer;
        msg.ContentType = c.contentType;
        msg.ContentDisposition = c.disposition;
        msg.BoundaryStack()->Push("NEVER");
        PartRun run = RunPart(msg, c.first, c.rest);
        ASSERT_TRUE(run.Decoder) << c.what;
        EXPECT_EQ(run.Decoder->PartKind, c.kind) << c.what;
        EXPECT_EQ(run.Decoder->PartFileName, c.file) << c.what;
        EXPECT_EQ(run.Data, c.want) << c.what;
        EXPECT_TRUE(run.MsgEnd) << c.what;
    }
}

TEST(MessageCodersReadingR, UncodedPartLinesLoseOneLeadingDot) {
    TMxMessage msg;
    msg.BoundaryStack()->Push("B");
    PartRun run = RunPart(msg, "--B", "Content-Type: text/plain\r\n\r\n..x\r\ny\r\n--B--\r\n");
    EXPECT_EQ(run.Data, ".x\r\ny\r\n");
}

TEST(MessageCodersReadingR, TruncatedSourcesEndWithAnError) {
    // A connection that closes mid-part must not spin or pass for a whole
    // part: the reader reports the end of the stream.
    TMxMessage msg;
    msg.BoundaryStack()->Push("B");
    EXPECT_THROW(RunPart(msg, "--B", "Content-Type: text/plain\r\n\r\nbody\r\n"), EMxException);
    TMxMessage uue;
    EXPECT_THROW(RunPart(uue, "begin 644 q", MxEncodeString<TMxEncoderUUE>(AnsiString(45, 'q')) + "\r\n",
                         false),
                 EMxException);
}

TEST(MessageCodersReadingR, PartBodyLinesTable) {
    struct Case {
        const char* what;
        AnsiString header;
        AnsiString body;
        AnsiString want;
        bool next;
    };
    const Case cases[] = {
        // A line that went out dot-stuffed comes back with one dot.
        {"quoted line stuffed with a dot", "Content-Transfer-Encoding: quoted-printable\r\n", "..b\r\n--B--\r\n",
         ".b\r\n", false},
        {"header without a blank after the colon", "Content-Transfer-Encoding:base64\r\n",
         "QUJD\r\n--B--\r\n", "ABC", false},
        {"boundary with trailing blanks", "Content-Type: text/plain\r\n", "x\r\n--B \t\r\n", "x\r\n", true},
        {"closing boundary with trailing blanks", "Content-Type: text/plain\r\n", "x\r\n--B-- \r\n", "x\r\n",
         false},
        {"base64 line with trailing blanks", "Content-Transfer-Encoding: BASE64\r\n", "QUJD  \r\n--B--\r\n",
         "ABC", false},
        {"base64 broken off mid-group", "Content-Transfer-Encoding: base64\r\n", "QUJDR\r\nEVG\r\n--B--\r\n",
         "ABCDEF", false},
        {"lower-case header name, padded value", "content-transfer-encoding:  base64 \r\n", "QUJD\r\n--B--\r\n",
         "ABC", false},
        {"continuation before any header line", " stray\r\nContent-Transfer-Encoding: base64\r\n",
         "QUJD\r\n--B--\r\n", "ABC", false},
    };
    for (const Case& c : cases) {
        TMxMessage msg;
        msg.BoundaryStack()->Push("B");
        PartRun run = RunPart(msg, "--B", c.header + "\r\n" + c.body);
        ASSERT_TRUE(run.Decoder) << c.what;
        EXPECT_EQ(run.Data, c.want) << c.what;
        EXPECT_EQ(run.Next != nullptr, c.next) << c.what;
        EXPECT_FALSE(run.MsgEnd) << c.what;
    }
}

TEST(MessageCodersReadingR, CutOffBase64GroupIsAnError) {
    TMxMessage msg;
    msg.BoundaryStack()->Push("B");
    EXPECT_EQ(ErrorMessageOf([&] {
                  RunPart(msg, "--B", "Content-Transfer-Encoding: base64\r\n\r\nQUJDR\r\n--B--\r\n");
              }),
              "Uneven size in DecodeToStream.");
}

TEST(MessageCodersReadingR, EndlessPartHeaderIsRefused) {
    TMxMessage msg;
    msg.BoundaryStack()->Push("B");
    AnsiString header;
    for (int i = 0; i <= MxMaxHeaderLines; ++i) header += "X-N: v\r\n";
    EXPECT_THROW(RunPart(msg, "--B", header + "\r\nbody\r\n--B--\r\n"), EMxException);
}

TEST(MessageCodersReadingR, AttachmentsAreCodedByTheMessagesEncoder) {
    char dir[] = "/tmp/mcrXXXXXX";
    ASSERT_TRUE(mkdtemp(dir));
    const AnsiString dataFile = AnsiString(dir) + "/data.tmp";
    {
        TFileStream out(dataFile, fmCreate);
        out.WriteBuffer("Cat", 3);
    }
    struct Case {
        AnsiString encoding;
        AnsiString want;
    };
    const Case cases[] = {
        {"UUE", "begin 660 report.pdf\r\n#0V%T\r\n`\r\nend\r\n"},
        {"XXE", "begin 660 report.pdf\r\n" + MxEncodeString<TMxEncoderXXE>("Cat") + "\r\n+\r\nend\r\n"},
        {"MIME", "Q2F0\r\n"},
    };
    for (const Case& c : cases) {
        TMxMessage msg;
        msg.SetAttachmentEncoding(c.encoding);
        auto* attachment = new TMxAttachment(msg.Parts(), dataFile);
        attachment->AttachmentName = "report.pdf";
        TStringStream dest;
        attachment->Encode(&dest);
        EXPECT_EQ(dest.DataString(), c.want) << c.encoding;
    }

    // A data file that cannot be read is an error, not an empty attachment.
    TMxMessage msg;
    auto* missing = new TMxAttachment(msg.Parts(), AnsiString(dir) + "/gone.bin");
    TStringStream dest;
    EXPECT_ANY_THROW(missing->Encode(&dest));
    std::remove(dataFile.c_str());
    rmdir(dir);
}

TEST(MessageCodersReadingR, RegistryAsksTheDecodersInOrder) {
    struct Case {
        const char* what;
        const char* transfer;
        const char* line;
        const char* kind; // the class that starts, or "" for none
    };
    const Case cases[] = {
        {"begin line in a plain body", "", "begin 644 x.bin", "TMxMessageDecoderUUE"},
        {"begin line in a coded body", "base64", "begin 644 x.bin", "TMxMessageDecoderMIME"},
        {"boundary line", "", "--B", "TMxMessageDecoderMIME"},
        {"ordinary line", "", "hello", ""},
    };
    for (const Case& c : cases) {
        TMxMessage msg;
        msg.ContentTransferEncoding = c.transfer;
        msg.BoundaryStack()->Push("B");
        auto decoder = TMxMessageDecoderList::CheckForStart(&msg, c.line);
        EXPECT_EQ(decoder ? decoder->ClassName() : AnsiString(), c.kind) << c.what;
    }
}
