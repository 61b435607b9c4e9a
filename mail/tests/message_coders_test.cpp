#include "MessageCheck.h"
#include "Reference.h"
#include "mail/MxCoder3to4.h"
#include "mail/MxMessage.h"
#include "mail/MxMessageCoderMIME.h"
#include "mail/MxMessageCoderUUE.h"
#include "platform/rtl/StringList.h"

#include <gtest/gtest.h>

#include <random>

using namespace mail;
using mailtest::CheckMessage;
using mailtest::ToHex;

namespace {

std::string RandomBytes(std::size_t ACount, unsigned ASeed = 7) {
    std::mt19937 random(ASeed);
    std::string data;
    for (std::size_t i = 0; i < ACount; ++i)
        data += static_cast<char>(random() & 0xFF);
    return data;
}

std::vector<AnsiString> ListLines(const AnsiString& AText) {
    TStringList list;
    list.SetText(AText);
    std::vector<AnsiString> lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.push_back(list[i]);
    return lines;
}

AnsiString Encode(TMxMessageEncoder& AEncoder, const std::string& AData) {
    TStringStream source(AData), dest;
    source.Seek(0, soEnd); // the encoder starts from the beginning itself
    AEncoder.EncodeStream(&source, &dest);
    return dest.DataString();
}

// A decoder reading from a text, as the message client gives it the
// connection.
template <class D> struct Reading {
    Reading(TMxMessage& AMsg, const AnsiString& AText) : Decoder(&AMsg) {
        Decoder.SetSource(new TStringStream(AText));
    }
    D Decoder;
};

} // namespace

TEST(MxMessageEncoderMIME, FiftySevenBytesALine) {
    TMxMessageEncoderMIME encoder;
    const std::vector<AnsiString> lines = ListLines(Encode(encoder, RandomBytes(100)));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 76u);
    EXPECT_EQ(lines[1].size(), 60u);
    EXPECT_EQ(lines[1].substr(58), "==");
    EXPECT_EQ(lines[0] + lines[1], MxEncodeString<TMxEncoderMIME>(RandomBytes(100)));
    EXPECT_EQ(Encode(encoder, ""), "");
}

TEST(MxMessageEncoderUUE, BlocksAsPythonReadsThem) {
    TMxMessageEncoderUUE uue;
    uue.PartFileName = "empty.bin";
    EXPECT_EQ(Encode(uue, ""), "begin 660 empty.bin\r\n`\r\nend\r\n");
    TMxMessageEncoderXXE xxe;
    xxe.PartFileName = "empty.bin";
    xxe.ModeNumber = 644;
    EXPECT_EQ(Encode(xxe, ""), "begin 644 empty.bin\r\n+\r\nend\r\n");

    const std::vector<std::size_t> sizes = {1, 14, 45, 46, 100, 1000};
    AnsiString blocks;
    for (const std::size_t size : sizes) {
        const AnsiString block = Encode(uue, RandomBytes(size, static_cast<unsigned>(size)));
        // Full lines carry 45 bytes: "M" and 60 characters.
        const std::vector<AnsiString> lines = ListLines(block);
        for (std::size_t i = 1; i <= size / 45; ++i) {
            EXPECT_EQ(lines[i][0], 'M') << size;
            EXPECT_EQ(lines[i].size(), 61u) << size;
        }
        blocks += block;
    }
    const auto rows = CheckMessage(blocks, "uu");
    ASSERT_EQ(rows.size(), sizes.size());
    for (std::size_t i = 0; i < sizes.size(); ++i)
        EXPECT_EQ(rows[i][0], ToHex(RandomBytes(sizes[i], static_cast<unsigned>(sizes[i])))) << sizes[i];
}

TEST(MxMessageDecoderList, WhichDecoderALineStarts) {
    struct Case {
        AnsiString Line;
        AnsiString Boundary;
        AnsiString Transfer;
        AnsiString Decoder; // class name, empty for none
        AnsiString FileName;
    };
    const std::vector<Case> cases = {
        {"begin 644 a.txt", "", "", "TMxMessageDecoderUUE", "a.txt"},
        {"BEGIN 600 b c.txt", "", "", "TMxMessageDecoderUUE", "b c.txt"},
        {"begin 000 a.txt", "", "", "", ""},
        {"begin 64 a.txt", "", "", "", ""},
        {"begin 644", "", "", "", ""},
        {"--Outer=_1", "", "", "", ""},
        {"--Outer=_1", "Outer=_1", "", "TMxMessageDecoderMIME", ""},
        {"--OUTER=_1", "Outer=_1", "", "TMxMessageDecoderMIME", ""},
        {"text", "Outer=_1", "", "", ""},
        {"text", "Outer=_1", "Base64", "TMxMessageDecoderMIME", ""},
        {"text", "", "base64", "", ""},
    };
    for (const Case& c : cases) {
        TMxMessage msg;
        msg.BoundaryStack()->Push(c.Boundary);
        msg.ContentTransferEncoding = c.Transfer;
        const auto decoder = TMxMessageDecoderList::CheckForStart(&msg, c.Line);
        EXPECT_EQ(decoder ? decoder->ClassName() : AnsiString(), c.Decoder) << c.Line;
        if (!decoder) continue;
        EXPECT_EQ(decoder->PartFileName, c.FileName) << c.Line;
    }
}

TEST(MxMessageDecoderMIME, PartHeaderClassifiesThePart) {
    struct Case {
        AnsiString Header;
        TMxPartKind Kind;
        AnsiString FileName;
        AnsiString Boundary;
    };
    const std::vector<Case> cases = {
        {"Content-Type: text/plain\r\n\r\n", TMxPartKind::pkText, "", "Outer"},
        {"Content-Type:text/html\r\n\r\n", TMxPartKind::pkText, "", "Outer"},
        {"\r\n", TMxPartKind::pkText, "", "Outer"},
        {"Content-Type: image/png\r\n\r\n", TMxPartKind::pkAttachment, "", "Outer"},
        {"Content-Type: text/plain\r\nContent-Disposition: attachment\r\n\r\n",
         TMxPartKind::pkAttachment, "", "Outer"},
        {"Content-Type: application/pdf;\r\n\tname=\"r.pdf\"\r\n\r\n", TMxPartKind::pkAttachment,
         "r.pdf", "Outer"},
        {"Content-Type: text/plain; name=x.txt\r\n"
         "Content-Disposition: inline; filename=\"=?UTF-8?B?w6kudHh0?=\"\r\n\r\n",
         TMxPartKind::pkAttachment, "\xc3\xa9.txt", "Outer"},
        {"Content-Type: multipart/alternative;\r\n boundary=\"In=_ner\"\r\n\r\n",
         TMxPartKind::pkText, "", "In=_ner"},
        {".\r\n", TMxPartKind::pkUnclassified, "", "Outer"},
    };
    for (const Case& c : cases) {
        TMxMessage msg;
        msg.BoundaryStack()->Push("Outer");
        Reading<TMxMessageDecoderMIME> reading(msg, c.Header);
        reading.Decoder.ReadPartHeader();
        EXPECT_EQ(reading.Decoder.PartKind, c.Kind) << c.Header;
        EXPECT_EQ(reading.Decoder.PartFileName, c.FileName) << c.Header;
        EXPECT_EQ(reading.Decoder.Boundary, c.Boundary) << c.Header;
        EXPECT_EQ(msg.BoundaryStack()->Boundary(), c.Boundary) << c.Header;
    }
}

TEST(MxMessageDecoderMIME, BodyDecodingAndWhereItEnds) {
    struct Case {
        AnsiString Transfer;
        AnsiString Body;
        AnsiString Decoded;
        AnsiString Next; // class name of the next decoder, empty for none
        bool MsgEnd;
        int StackAfter;
    };
    const std::vector<Case> cases = {
        {"quoted-printable", "a=3Db=\r\nc\r\n..d =20\r\n--B=_1\r\n", "a=bc\r\n.d  \r\n",
         "TMxMessageDecoderMIME", false, 1},
        {"base64", "aGVs\r\n\r\nbG8=\r\n--B=_1--\r\n", "hello", "", false, 0},
        {"7bit", "one\r\n..two\r\n.\r\n", "one\r\n.two\r\n", "", true, 1},
        {"", "x\r\n--b=_1\r\n", "x\r\n", "TMxMessageDecoderMIME", false, 1},
    };
    for (const Case& c : cases) {
        TMxMessage msg;
        msg.BoundaryStack()->Push("B=_1");
        Reading<TMxMessageDecoderMIME> reading(msg, c.Body);
        reading.Decoder.PartHeaderLines.Add("Content-Transfer-Encoding=" + c.Transfer);
        TStringStream dest;
        bool msgEnd = false;
        const auto next = reading.Decoder.DecodeBody(&dest, msgEnd);
        EXPECT_EQ(dest.DataString(), c.Decoded) << c.Body;
        EXPECT_EQ(next ? next->ClassName() : AnsiString(), c.Next) << c.Body;
        EXPECT_EQ(msgEnd, c.MsgEnd) << c.Body;
        EXPECT_EQ(msg.BoundaryStack()->Count(), c.StackAfter) << c.Body;
    }
}

TEST(MxMessageDecoderMIME, ReadersStopAtWhatTheyHave) {
    TMxMessage msg;
    msg.BoundaryStack()->Push("B");
    AnsiString header;
    for (int i = 0; i <= MxMaxHeaderLines; ++i)
        header += "X-Line-" + std::to_string(i) + ": v\r\n";
    Reading<TMxMessageDecoderMIME> tooLong(msg, header + "\r\n");
    EXPECT_THROW(tooLong.Decoder.ReadPartHeader(), EMxMessageException);

    // A body cut off before its end line raises instead of reading on.
    Reading<TMxMessageDecoderMIME> cut(msg, "no end");
    TStringStream dest;
    bool msgEnd = false;
    EXPECT_THROW(cut.Decoder.DecodeBody(&dest, msgEnd), EMxEndOfStream);
}

TEST(MxMessageDecoderUUE, DecodesUUEAndXXEBlocks) {
    const std::string data = RandomBytes(100);
    TMxMessageEncoderUUE uue;
    TMxMessageEncoderXXE xxe;
    for (TMxMessageEncoder* encoder :
         {static_cast<TMxMessageEncoder*>(&uue), static_cast<TMxMessageEncoder*>(&xxe)}) {
        AnsiString block = Encode(*encoder, data);
        block.erase(0, block.find("\r\n") + 2); // the begin line starts the decoder
        TMxMessage msg;
        Reading<TMxMessageDecoderUUE> reading(msg, block + "after\r\n");
        TStringStream dest;
        bool msgEnd = true;
        EXPECT_EQ(reading.Decoder.DecodeBody(&dest, msgEnd), nullptr);
        EXPECT_FALSE(msgEnd);
        EXPECT_EQ(dest.DataString(), data) << encoder->ClassName();
    }

    const std::vector<std::pair<AnsiString, AnsiString>> refused = {
        // A count its line's length does not bear out (the zero line of an
        // empty file, "`", is a block of no bytes and is read).
        {"*abc\r\nend\r\n", "Unrecognized UUE encoding scheme."},
        {"\r\nend\r\n", "Unrecognized UUE encoding scheme."},
    };
    for (const auto& [block, message] : refused) {
        TMxMessage msg;
        Reading<TMxMessageDecoderUUE> reading(msg, block);
        TStringStream dest;
        bool msgEnd = false;
        try {
            reading.Decoder.DecodeBody(&dest, msgEnd);
            ADD_FAILURE() << "decoded " << block;
        } catch (const EMxException& e) {
            EXPECT_STREQ(e.what(), message.c_str());
        }
    }

    // The message's end inside the block ends the message.
    TMxMessage msg;
    Reading<TMxMessageDecoderUUE> reading(msg, "M" + AnsiString(60, '`') + "\r\n.\r\n");
    TStringStream dest;
    bool msgEnd = false;
    reading.Decoder.DecodeBody(&dest, msgEnd);
    EXPECT_TRUE(msgEnd);
}
