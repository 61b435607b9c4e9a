// Message coders read through their public calls: the attachment encoders'
// line layout, the registries, the boundaries, the content type a MIME
// message gets, and the MIME and UUE readers over a line source.
#include "MessageCoding.h"
#include "TextLines.h"
#include "mail/MxExceptions.h"
#include "mail/MxMessage.h"
#include "mail/MxMessageCoder.h"
#include "mail/MxMessageCoderMIME.h"
#include "mail/MxMessageCoderUUE.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace mail;
using mailtest::EncodeAttachment;
using mailtest::TerminatedLines;

namespace {

struct TRead {
    AnsiString Out;
    bool MsgEnd = false;
    std::unique_ptr<TMxMessageDecoder> Next;
};

TRead Decode(TMxMessageDecoder& ADec, const AnsiString& ABody) {
    ADec.SetSource(new TStringStream(ABody));
    TRead r;
    TStringStream dst;
    r.Next = ADec.DecodeBody(&dst, r.MsgEnd);
    r.Out = dst.DataString();
    return r;
}

} // namespace

TEST(MessageCodersReadingV, EncodersLayOutWholeLines) {
    AnsiString hundred(100, 'x');
    auto mime = TerminatedLines(EncodeAttachment("mime", hundred));
    ASSERT_EQ(mime.size(), 2u);
    EXPECT_EQ(mime[0].size(), 76u);
    EXPECT_EQ(mime[1].size(), 60u);
    EXPECT_EQ(mime[1].substr(58), "==");

    struct TCase { const char* Name; const char* Fill; };
    for (TCase c : {TCase{"UUE", "`"}, TCase{"XXE", "+"}}) {
        SCOPED_TRACE(c.Name);
        auto empty = TerminatedLines(EncodeAttachment(c.Name, ""));
        EXPECT_EQ(empty, (std::vector<std::string>{"begin 660 f.bin", c.Fill, "end"}));
        auto full = TerminatedLines(EncodeAttachment(c.Name, AnsiString(90, 'q')));
        ASSERT_EQ(full.size(), 5u);
        EXPECT_EQ(full[1].size(), 61u);
        EXPECT_EQ(full[2].size(), 61u);
    }
}

TEST(MessageCodersReadingV, UnknownEncoderNamesItself) {
    try {
        TMxMessageEncoderList::FindEncoder("BinHex");
        FAIL() << "no error";
    } catch (const EMxException& e) {
        EXPECT_STREQ(e.what(), "Message encoder not found: BinHex");
    }
}

TEST(MessageCodersReadingV, BoundariesHoldTheMarkAndTheirLengths) {
    for (std::uint32_t seed : {0u, 1u, 7u, 12345u, 0xffffffffu}) {
        TMxBoundaries b = MakeMIMEBoundaries(seed);
        ASSERT_EQ(b.Base.size(), 34u);
        auto at = std::string(b.Base.c_str()).find("=_");
        ASSERT_NE(at, std::string::npos);
        EXPECT_LE(at, 32u);
        for (char ch : std::string(b.Base.c_str()))
            if (ch != '=' && ch != '_') EXPECT_TRUE(isalnum(static_cast<unsigned char>(ch)));
        EXPECT_EQ(b.Alternative.size(), 35u);
        EXPECT_TRUE(islower(static_cast<unsigned char>(b.Alternative[0])));
        EXPECT_EQ(std::string(b.Alternative.c_str() + 1), std::string(b.Base.c_str()));
        EXPECT_EQ(b.Related.size(), 36u);
        EXPECT_TRUE(isupper(static_cast<unsigned char>(b.Related[0])));
        EXPECT_EQ(std::string(b.Related.c_str() + 1), std::string(b.Alternative.c_str()));
    }
}

TEST(MessageCodersReadingV, PrepareHeadersFollowsThePartCounters) {
    const TMxBoundaries& b = MIMEBoundaries();
    auto* info = TMxMessageEncoderList::FindEncoder("MIME");
    struct TCase { int Attachments; bool WithId; int Texts; std::string Want; };
    std::vector<TCase> cases = {
        {1, true, 0, "multipart/related; type=\"multipart/alternative\"; boundary=\"" + std::string(b.Related.c_str()) + "\""},
        {2, false, 1, "multipart/mixed; boundary=\"" + std::string(b.Base.c_str()) + "\""},
        {0, false, 1, "multipart/alternative; boundary=\"" + std::string(b.Base.c_str()) + "\""},
        {0, false, 0, "text/plain"},
    };
    for (const TCase& c : cases) {
        TMxMessage msg;
        msg.ContentType = "text/plain";
        for (int i = 0; i < c.Attachments; ++i) {
            auto* a = new TMxAttachment(msg.Parts(), "/tmp/none.bin");
            if (c.WithId) a->SetContentID("<id1>");
        }
        for (int i = 0; i < c.Texts; ++i) new TMxText(msg.Parts());
        msg.RecountParts();
        info->PrepareHeaders(&msg);
        EXPECT_EQ(std::string(msg.ContentType.c_str()), c.Want);
    }
}

TEST(MessageCodersReadingV, MimeStartsPartOnBoundaryOrCodedBody) {
    struct TCase { const char* Boundary; const char* Cte; const char* Line; bool Starts; bool Pending; bool Whole; };
    const TCase cases[] = {
        {"", "base64", "--abc", false, false, false},
        {"abc", "", "--ABC", true, false, false},
        {"abc", "", "hello", false, false, false},
        {"abc", "BASE64", "aGk=", true, true, true},
        {"abc", "quoted-printable", "hi=3D", true, true, true},
        {"abc", "8bit", "--abc", true, false, false},
        {"abc", "x-custom", "--abc", true, false, true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Line);
        TMxMessage msg;
        if (*c.Boundary) msg.BoundaryStack()->Push(c.Boundary);
        msg.ContentTransferEncoding = c.Cte;
        auto dec = TMxMessageDecoderList::CheckForStart(&msg, c.Line);
        ASSERT_EQ(dec != nullptr, c.Starts);
        if (!dec) continue;
        auto* m = dynamic_cast<TMxMessageDecoderMIME*>(dec.get());
        ASSERT_NE(m, nullptr);
        EXPECT_EQ(m->Boundary, AnsiString(c.Boundary));
        EXPECT_EQ(m->WholeBodyCoded, c.Whole);
        EXPECT_EQ(m->HasPendingLine, c.Pending);
        if (c.Pending) EXPECT_EQ(m->PendingLine, AnsiString(c.Line));
    }
}

TEST(MessageCodersReadingV, MimePartHeaderIsReadAndClassified) {
    struct TCase { const char* Header; TMxPartKind Kind; const char* File; };
    const TCase cases[] = {
        {"Content-Type: text/plain\r\n\r\n", TMxPartKind::pkText, ""},
        {"Content-Type: image/png\r\n\r\n", TMxPartKind::pkAttachment, ""},
        {"Content-Type: text/plain;\r\n\tname=\"a b.txt\"\r\n\r\n", TMxPartKind::pkAttachment, "a b.txt"},
        {"Content-Type: multipart/mixed\r\nContent-Disposition: ATTACHMENT\r\n\r\n", TMxPartKind::pkAttachment, ""},
        {"Content-Type: text/html\r\nContent-Disposition: inline; FileName=x.htm; size=3\r\n\r\n", TMxPartKind::pkAttachment, "x.htm"},
        {"Content-Type: text/plain\r\n.\r\n", TMxPartKind::pkUnclassified, ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Header);
        TMxMessage msg;
        msg.BoundaryStack()->Push("abc");
        auto dec = TMxMessageDecoderList::CheckForStart(&msg, "--abc");
        ASSERT_NE(dec, nullptr);
        dec->SetSource(new TStringStream(c.Header));
        dec->ReadPartHeader();
        EXPECT_EQ(dec->PartKind, c.Kind);
        EXPECT_EQ(dec->PartFileName, AnsiString(c.File));
    }
}

TEST(MessageCodersReadingV, MimeNestedBoundaryIsPushedAndContinuationJoined) {
    TMxMessage msg;
    msg.BoundaryStack()->Push("outer");
    auto dec = TMxMessageDecoderList::CheckForStart(&msg, "--outer");
    ASSERT_NE(dec, nullptr);
    dec->SetSource(new TStringStream("Content-Type: multipart/alternative;\r\n boundary=\"inner\"\r\n\r\n"));
    dec->ReadPartHeader();
    EXPECT_EQ(msg.BoundaryStack()->Boundary(), AnsiString("inner"));
    EXPECT_EQ(static_cast<TMxMessageDecoderMIME*>(dec.get())->Boundary, AnsiString("inner"));
    ASSERT_EQ(dec->PartHeaderLines.Count(), 1);
    EXPECT_EQ(dec->PartHeaderLines[0], AnsiString("Content-Type=multipart/alternative; boundary=\"inner\""));
    EXPECT_EQ(dec->PartKind, TMxPartKind::pkText);
}

TEST(MessageCodersReadingV, MimeBodyEndsAtBoundaryOrMessageEnd) {
    struct TCase { const char* Cte; const char* Body; const char* Out; bool Next; bool End; int StackAfter; };
    const TCase cases[] = {
        {"Base64", "aGVs\r\n\r\nbG8=\r\n--b\r\nrest\r\n", "hello", true, false, 1},
        {"quoted-printable", "a=3Db\r\nc=\r\nd\r\n--b--\r\n", "a=b\r\ncd\r\n", false, false, 0},
        {"7bit", "..dot\r\nplain\r\n.\r\n", ".dot\r\nplain\r\n", false, true, 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Body);
        TMxMessage msg;
        msg.BoundaryStack()->Push("b");
        auto dec = TMxMessageDecoderList::CheckForStart(&msg, "--b");
        ASSERT_NE(dec, nullptr);
        dec->PartHeaderLines.Add(AnsiString("Content-Transfer-Encoding=") + c.Cte);
        TRead r = Decode(*dec, c.Body);
        EXPECT_EQ(std::string(r.Out.c_str(), r.Out.size()), std::string(c.Out));
        EXPECT_EQ(r.Next != nullptr, c.Next);
        EXPECT_EQ(r.MsgEnd, c.End);
        EXPECT_EQ(msg.BoundaryStack()->Count(), c.StackAfter);
    }
}

TEST(MessageCodersReadingV, UueStartsOnlyOnAFullBeginLine) {
    struct TCase { const char* Line; bool Starts; const char* File; };
    const TCase cases[] = {
        {"BEGIN 644 pic.gif", true, "pic.gif"},
        {"begin 600 a b", true, "a b"},
        {"begin 000 x", false, ""},
        {"begin 6440 x", false, ""},
        {"begin abc x", false, ""},
        {"begin 64", false, ""},
        {"began 644 x", false, ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Line);
        TMxMessage msg;
        auto dec = TMxMessageDecoderList::CheckForStart(&msg, c.Line);
        ASSERT_EQ(dec != nullptr, c.Starts);
        if (!dec) continue;
        EXPECT_EQ(dec->PartKind, TMxPartKind::pkAttachment);
        EXPECT_EQ(dec->PartFileName, AnsiString(c.File));
    }
}

TEST(MessageCodersReadingV, UueBlocksRoundTripAndRefuseAnUnknownScheme) {
    AnsiString data;
    for (int i = 0; i < 100; ++i) data += static_cast<char>(i * 7);
    for (auto [name, data] : {std::pair{"UUE", data}, std::pair{"XXE", data}, std::pair{"UUE", AnsiString("short")},
                              std::pair{"XXE", AnsiString("short")}, std::pair{"UUE", AnsiString()}, std::pair{"XXE", AnsiString()}}) {
        SCOPED_TRACE(std::string(name) + " of " + std::to_string(data.size()));
        auto lines = TerminatedLines(EncodeAttachment(name, data, "d.bin"));
        TMxMessage msg;
        auto dec = TMxMessageDecoderList::CheckForStart(&msg, lines[0].c_str());
        ASSERT_NE(dec, nullptr);
        AnsiString body;
        for (size_t i = 1; i < lines.size(); ++i) body += AnsiString((lines[i] == "end" ? "  END " : lines[i]).c_str()) + "\r\n";
        body += "after\r\n";
        TRead r = Decode(*dec, body);
        EXPECT_EQ(r.Out, data);
        EXPECT_EQ(r.Next, nullptr);
        EXPECT_FALSE(r.MsgEnd);
        EXPECT_EQ(dec->Source()->GetPosition(), dec->Source()->GetSize() - 7);
    }
    for (const char* first : {"", "#xyz", "!abcdefgh"}) {
        TMxMessage msg;
        auto dec = TMxMessageDecoderList::CheckForStart(&msg, "begin 644 x");
        ASSERT_NE(dec, nullptr);
        dec->SetSource(new TStringStream(AnsiString(first) + "\r\nend\r\n"));
        TStringStream dst;
        bool end = false;
        try {
            dec->DecodeBody(&dst, end);
            ADD_FAILURE() << "no error for first line '" << first << "'";
        } catch (const EMxException& e) {
            EXPECT_STREQ(e.what(), "Unrecognized UUE encoding scheme.");
        }
    }
}

TEST(MessageCodersReadingV, RegistrationOrderAndWholeBodyHeader) {
    // MIME is asked first: inside a coded body a "begin" line is body text.
    TMxMessage msg;
    msg.BoundaryStack()->Push("b");
    msg.ContentTransferEncoding = "base64";
    msg.ContentType = "application/pdf; name=\"r.pdf\"";
    auto dec = TMxMessageDecoderList::CheckForStart(&msg, "begin 644 x");
    ASSERT_NE(dynamic_cast<TMxMessageDecoderMIME*>(dec.get()), nullptr);
    dec->SetSource(new TStringStream("Content-Type: text/plain\r\n\r\n"));
    dec->ReadPartHeader();
    EXPECT_EQ(dec->PartKind, TMxPartKind::pkAttachment);
    EXPECT_EQ(dec->PartFileName, AnsiString("r.pdf"));
    EXPECT_EQ(dec->Source()->GetPosition(), 0); // the body's lines stay unread
}

TEST(MessageCodersReadingV, MimeEncoderLineCounts) {
    struct TCase { int Bytes; std::vector<size_t> Lengths; };
    const TCase cases[] = {{0, {}}, {1, {4}}, {57, {76}}, {58, {76, 4}}, {114, {76, 76}}};
    for (const TCase& c : cases) {
        std::vector<size_t> got;
        for (const auto& l : TerminatedLines(EncodeAttachment("MIME", AnsiString(c.Bytes, 'z')))) got.push_back(l.size());
        EXPECT_EQ(got, c.Lengths) << c.Bytes;
    }
}

TEST(MessageCodersReadingV, MimePartHeaderOddShapes) {
    struct TCase { std::string Header; TMxPartKind Kind; const char* File; int Lines; };
    const TCase cases[] = {
        // A folded line with nothing before it to join.
        {" stray fold\r\nContent-Type: text/plain\r\n\r\n", TMxPartKind::pkText, "", -1},
        {"Content-Type: application/x; name=\"a;b.txt\"; x=1\r\n\r\n", TMxPartKind::pkAttachment, "a;b.txt", 1},
        {"Content-Type: image/gif\r\nContent-Disposition: attachment; filename=\"=?UTF-8?B?w6kuZ2lm?=\"\r\n\r\n",
         TMxPartKind::pkAttachment, "\xC3\xA9.gif", 2},
        // No content type: the part is plain text, as MIME reads it.
        {"X-Plain:novalue\r\n\r\n", TMxPartKind::pkText, "", 1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Header);
        TMxMessage msg;
        msg.BoundaryStack()->Push("abc");
        auto dec = TMxMessageDecoderList::CheckForStart(&msg, "--abc");
        ASSERT_NE(dec, nullptr);
        dec->SetSource(new TStringStream(c.Header.c_str()));
        dec->ReadPartHeader();
        EXPECT_EQ(dec->PartKind, c.Kind);
        EXPECT_EQ(std::string(dec->PartFileName.c_str()), std::string(c.File));
        if (c.Lines >= 0) EXPECT_EQ(dec->PartHeaderLines.Count(), c.Lines);
    }
}

TEST(MessageCodersReadingV, MimePartHeaderWithoutEndIsRefused) {
    AnsiString header;
    for (int i = 0; i < MxMaxHeaderLines + 5; ++i) header += "X-H: v\r\n";
    TMxMessage msg;
    msg.BoundaryStack()->Push("abc");
    auto dec = TMxMessageDecoderList::CheckForStart(&msg, "--abc");
    ASSERT_NE(dec, nullptr);
    dec->SetSource(new TStringStream(header + "\r\n"));
    EXPECT_THROW(dec->ReadPartHeader(), EMxException);
    EXPECT_LE(dec->PartHeaderLines.Count(), MxMaxHeaderLines);
}

TEST(MessageCodersReadingV, MimeBodyLineShapes) {
    struct TCase { const char* Cte; const char* Body; const char* Out; bool Throws; };
    const TCase cases[] = {
        // Groups of four split over lines.
        {"base64", "aGVsb\r\nG8=\r\n--b--\r\n", "hello", false},
        // A group cut off by the boundary is an error, not bytes dropped.
        {"base64", "aGVsbG\r\n--b--\r\n", "", true},
        // A line the sender dot-stuffed comes back with its one dot.
        {"quoted-printable", "..x=3D\r\n--b--\r\n", ".x=\r\n", false},
        // The source ends without boundary or end line.
        {"7bit", "text\r\n", "text\r\n", true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Body);
        TMxMessage msg;
        msg.BoundaryStack()->Push("b");
        TMxMessageDecoderMIME dec(&msg);
        dec.PartHeaderLines.Add(AnsiString("Content-Transfer-Encoding=") + c.Cte);
        dec.SetSource(new TStringStream(c.Body));
        TStringStream dst;
        bool end = false;
        if (c.Throws) {
            EXPECT_THROW(dec.DecodeBody(&dst, end), EMxException);
            continue;
        }
        EXPECT_EQ(dec.DecodeBody(&dst, end), nullptr);
        EXPECT_EQ(std::string(dst.DataString().c_str()), std::string(c.Out));
    }
}

TEST(MessageCodersReadingV, MimeNextPartReadsOnFromTheSameLines) {
    TMxMessage msg;
    msg.BoundaryStack()->Push("b");
    TMxMessageDecoderMIME first(&msg);
    first.SetSource(new TStringStream("one\r\n--b\r\nContent-Type: image/png\r\n\r\nx\r\n--b--\r\n"));
    TStringStream dst;
    bool end = false;
    auto next = first.DecodeBody(&dst, end);
    ASSERT_NE(next, nullptr);
    // The reader of the connection hands each decoder its lines.
    next->SetSource(first.Source(), false);
    next->ReadPartHeader();
    EXPECT_EQ(next->PartKind, TMxPartKind::pkAttachment);
    TStringStream dst2;
    EXPECT_EQ(next->DecodeBody(&dst2, end), nullptr);
    EXPECT_EQ(dst2.DataString(), AnsiString("x\r\n"));
    EXPECT_EQ(msg.BoundaryStack()->Count(), 0);
}

TEST(MessageCodersReadingV, MimeBodyWithoutBoundaryStopsAtTheEndLine) {
    TMxMessage msg;
    TMxMessageDecoderMIME dec(&msg);
    dec.SetSource(new TStringStream("body\r\n--x\r\n.\r\nafter\r\n"));
    TStringStream dst;
    bool end = false;
    EXPECT_EQ(dec.DecodeBody(&dst, end), nullptr);
    EXPECT_TRUE(end);
    EXPECT_EQ(dec.Source()->GetPosition(), dec.Source()->GetSize() - 7);
}

TEST(MessageCodersReadingV, AttachmentCodesItsDataFileUnderTheChosenEncoder) {
    const std::string path = ::testing::TempDir() + "s62v attach.bin";
    {
        TFileStream f(path.c_str(), fmCreate);
        f.WriteBuffer("0123456789", 10);
    }
    for (const char* name : {"UUE", "XXE", "MIME"}) {
        SCOPED_TRACE(name);
        TMxMessage msg;
        msg.SetAttachmentEncoding(name);
        auto* a = new TMxAttachment(msg.Parts(), path.c_str());
        TStringStream dst;
        a->Encode(&dst);
        auto lines = TerminatedLines(dst.DataString());
        if (std::string(name) == "MIME") {
            EXPECT_EQ(lines, (std::vector<std::string>{"MDEyMzQ1Njc4OQ=="}));
            continue;
        }
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[0], "begin 660 s62v attach.bin");
        TMxMessage back;
        auto dec = TMxMessageDecoderList::CheckForStart(&back, lines[0].c_str());
        ASSERT_NE(dec, nullptr);
        EXPECT_EQ(dec->PartFileName, AnsiString("s62v attach.bin"));
        TRead r = Decode(*dec, dst.DataString().substr(lines[0].size() + 2));
        EXPECT_EQ(r.Out, AnsiString("0123456789"));
    }
    std::remove(path.c_str());
}

TEST(MessageCodersReadingV, RegisteredEncoderIsFoundWhateverTheCase) {
    auto info = std::make_unique<TMxMessageEncoderInfo>([] { return std::make_unique<TMxMessageEncoderMIME>(); });
    TMxMessageEncoderInfo* raw = info.get();
    TMxMessageEncoderList::RegisterEncoder("S62vCoder", std::move(info));
    EXPECT_EQ(TMxMessageEncoderList::FindEncoder("s62VCODER"), raw);
    TMxMessage msg;
    msg.SetAttachmentEncoding("s62vcoder");
    EXPECT_EQ(msg.Parts()->MessageEncoderInfo(), raw);
    EXPECT_NE(TMxMessageEncoderList::FindEncoder("MIME"), raw);
}
