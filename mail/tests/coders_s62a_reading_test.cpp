// The content coders read through their public calls: base64, UUE and XXE,
// quoted-printable, encoded-word headers and the ISO-2022-JP conversions.
#include "TextLines.h"
#include "mail/MxCoder3to4.h"
#include "mail/MxCoderQuotedPrintable.h"
#include "mail/MxExceptions.h"
#include "mail/MxHeaderCoder.h"
#include "mail/MxJis.h"

#include <gtest/gtest.h>

#include <vector>

using namespace mail;
using mailtest::CrLfPieces;

namespace {

AnsiString AllBytes() {
    AnsiString s;
    for (int i = 0; i < 256; ++i)
        s += static_cast<char>(i);
    return s;
}

template <class E> AnsiString EncodeFrom(TStream& src, int count) {
    E coder;
    return coder.Encode(&src, count);
}

TEST(CodersReading, Base64) {
    const struct {
        AnsiString Plain;
        AnsiString Coded;
    } cases[] = {{"", ""},
                 {"a", "YQ=="},
                 {"ab", "YWI="},
                 {"abc", "YWJj"},
                 {AnsiString("\xFF\xFE\xFD\0", 4), "//79AA=="}};
    for (const auto& c : cases) {
        EXPECT_EQ(MxEncodeString<TMxEncoderMIME>(c.Plain), c.Coded) << c.Coded;
        EXPECT_EQ(MxDecodeString<TMxDecoderMIME>(c.Coded), c.Plain) << c.Coded;
    }
    EXPECT_EQ(MxEncodeString<TMxEncoderMIME>(AnsiString(57, 'x')).size(), 76u);
    const AnsiString all = AllBytes();
    EXPECT_EQ(MxDecodeString<TMxDecoderMIME>(MxEncodeString<TMxEncoderMIME>(all)), all);

    // Counted encoding takes whole groups from the stream's position.
    TStringStream src("abcde");
    EXPECT_EQ(EncodeFrom<TMxEncoderMIME>(src, 3), "YWJj");
    EXPECT_EQ(EncodeFrom<TMxEncoderMIME>(src, 3), "ZGU=");
    EXPECT_EQ(EncodeFrom<TMxEncoderMIME>(src, 3), "");
    src.SetPosition(0);
    try {
        EncodeFrom<TMxEncoderMIME>(src, 4);
        FAIL() << "no error";
    } catch (const EMxException& e) {
        EXPECT_STREQ(e.what(), "Uneven size in Encode.");
    }

    // Decoding appends to what the stream holds.
    TStringStream dest("kept:");
    dest.SetPosition(5);
    TMxDecoderMIME decoder;
    decoder.DecodeToStream("YWJj", &dest);
    EXPECT_EQ(dest.DataString(), "kept:abc");
    try {
        decoder.DecodeToStream("YWJ", &dest);
        FAIL() << "no error";
    } catch (const EMxException& e) {
        EXPECT_STREQ(e.what(), "Uneven size in DecodeToStream.");
    }
    EXPECT_THROW(decoder.DecodeToStream("YW*j", &dest), EMxException);
    EXPECT_EQ(dest.DataString(), "kept:abc");
}

TEST(CodersReading, UueAndXxeLines) {
    EXPECT_EQ(MxEncodeString<TMxEncoderUUE>("abc"), "#86)C");
    EXPECT_EQ(MxEncodeString<TMxEncoderUUE>("a"), "!80``");
    EXPECT_EQ(MxEncodeString<TMxEncoderXXE>("abc"), "1MK7X");
    EXPECT_EQ(MxEncodeString<TMxEncoderXXE>("a"), "-ME++");
    const struct {
        const char* Line;
        const char* Plain;
    } uue[] = {{"#86)C", "abc"}, {"!80``", "a"}, {"!80  ", "a"},      {"!80", "a"},
               {"\"86(`", "ab"}, {"`", ""},      {"#86)Cjunk", "abc"}};
    for (const auto& c : uue)
        EXPECT_EQ(MxDecodeString<TMxDecoderUUE>(c.Line), c.Plain) << c.Line;
    EXPECT_EQ(MxDecodeString<TMxDecoderXXE>("1MK7X"), "abc");
    EXPECT_EQ(MxDecodeString<TMxDecoderXXE>("-ME"), "a");

    // A full 45-byte line of every byte value goes and comes back.
    const AnsiString all = AllBytes();
    for (std::size_t at = 0; at < all.size(); at += 45) {
        const AnsiString chunk = all.substr(at, 45);
        const AnsiString line = MxEncodeString<TMxEncoderUUE>(chunk);
        EXPECT_EQ(line.size(), 1 + (chunk.size() + 2) / 3 * 4);
        EXPECT_EQ(MxDecodeString<TMxDecoderUUE>(line), chunk);
        EXPECT_EQ(MxDecodeString<TMxDecoderXXE>(MxEncodeString<TMxEncoderXXE>(chunk)), chunk);
    }
}

TEST(CodersReading, QuotedPrintableEncoding) {
    const struct {
        AnsiString Plain;
        AnsiString Coded;
    } cases[] = {
        {AnsiString(100, 'a') + "\r\n",
         AnsiString(72, 'a') + "=\r\n" + AnsiString(28, 'a') + "\r\n"},
        {".abc\r\n", "=2Eabc\r\n"},
        {"a=b", "a=3Db"},
        {"a \r\nb\t\r\n", "a=20\r\nb=09\r\n"},
        // A blank that ends the text is coded, or a decoder would drop it.
        {"a b\tc ", "a b\tc=20"},
        {"Caf\xE9", "Caf=E9"},
        {"!<>?~_", "!<>?~_"},
        {AnsiString("a\0b\x7F", 4), "a=00b=7F"},
        {"x\r\n.y", "x\r\n=2Ey"},
        {AnsiString(72, 'a') + ".", AnsiString(72, 'a') + "=\r\n=2E"},
        {"", ""},
        // A hard line break starts the count again.
        {AnsiString(50, 'a') + "\r\n" + AnsiString(50, 'b') + "\r\n",
         AnsiString(50, 'a') + "\r\n" + AnsiString(50, 'b') + "\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MxEncodeString<TMxEncoderQuotedPrintable>(c.Plain), c.Coded) << c.Plain;
        EXPECT_EQ(MxDecodeString<TMxDecoderQuotedPrintable>(c.Coded), c.Plain) << c.Coded;
    }
}

// The source is read in blocks; a blank at the end of one block before a
// line break at the start of the next is still a blank at a line's end.
TEST(CodersReading, QuotedPrintableBlankBeforeBreakAcrossBlocks) {
    AnsiString plain;
    while (plain.size() < 8191)
        plain += AnsiString(40, 'a') + "\r\n";
    plain.resize(8191 - 1);
    plain += " \r\nnext\r\n";
    ASSERT_EQ(plain[8191 - 1], ' ');
    TStringStream src(plain);
    TMxEncoderQuotedPrintable coder;
    const AnsiString coded = coder.Encode(&src, MxAllBytes);
    EXPECT_EQ(coded.find(" \r\n"), AnsiString::npos);
    EXPECT_EQ(MxDecodeString<TMxDecoderQuotedPrintable>(coded), plain);
}

TEST(CodersReading, QuotedPrintableDecoding) {
    const struct {
        AnsiString Coded;
        AnsiString Plain;
    } cases[] = {
        {"=3D", "="},
        {"=3d=e9", "=\xE9"},
        {"a=\r\nb", "ab"},
        {"a=\nb", "ab"},
        {"a=20\r\nb", "a \r\nb"},
        {"abc \t ", "abc"},
        {"abc\r\n", "abc\r\n"},
        {"a=", "a"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MxDecodeString<TMxDecoderQuotedPrintable>(c.Coded), c.Plain) << c.Coded;
}

TEST(CodersReading, EncodedWordHeaders) {
    const struct {
        const char* Text;
        char Letter;
        const char* Coded;
    } cases[] = {
        {"plain words", 'Q', "plain words"},
        {"Caf\xE9 No\xEBl", 'Q', "=?ISO-8859-1?Q?Caf=E9_No=EBl?="},
        {"Le Caf\xE9 ferm\xE9 ici", 'Q', "Le =?ISO-8859-1?Q?Caf=E9_ferm=E9?= ici"},
        {"Caf\xE9=?", 'Q', "=?ISO-8859-1?Q?Caf=E9=3D=3F?="},
        {"Caf\xE9", 'B', "=?ISO-8859-1?B?Q2Fm6Q==?="},
        {"Caf\xE9", '8', "Caf\xE9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeHeader(c.Text, "", c.Letter, "ISO-8859-1", TMxTransfer::bit8), c.Coded)
            << c.Text;
        EXPECT_EQ(DecodeHeader(c.Coded), c.Text) << c.Coded;
    }
    // Extra specials force coding of their word.
    EXPECT_EQ(EncodeHeader("a (b)", "()", 'Q', "ISO-8859-1", TMxTransfer::bit8),
              "a =?ISO-8859-1?Q?=28b=29?=");

    // A long run is cut into encoded words on lines that stay short.
    AnsiString longText;
    for (int i = 0; i < 12; ++i)
        longText += "Caf\xE9 ";
    longText += "fin";
    const AnsiString coded = EncodeHeader(longText, "", 'Q', "ISO-8859-1", TMxTransfer::bit8);
    const std::vector<std::string> lines = CrLfPieces(coded);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_LE(lines[i].size(), 76u) << lines[i];
        if (i > 0) EXPECT_EQ(lines[i][0], '\t') << lines[i];
    }
    EXPECT_GT(lines.size(), 1u);
    EXPECT_EQ(DecodeHeader(coded), longText);
}

TEST(CodersReading, DecodesHeaderWords) {
    const struct {
        const char* Coded;
        const char* Text;
    } cases[] = {
        {"=?iso-8859-1?b?Q2Fm6Q==?=", "Caf\xE9"},
        {"=?windows-1252?Q?=80?= and more", "\x80 and more"},
        {"=?ISO-8859-1?Q?a?= =?ISO-8859-1?Q?b?=", "ab"},
        {"=?ISO-8859-1?Q?a=00b?=", "ab"},
        {"=?ISO-8859-1?Q?abc", "=?ISO-8859-1?Q?abc"},
        {"=?KOI8-R?Q?abc?=", "=?KOI8-R?Q?abc?="},
        {"no words", "no words"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeHeader(c.Coded), c.Text) << c.Coded;
}

TEST(CodersReading, MalformedInputIsHandledSafely) {
    // Counts below zero code nothing rather than reading before the data.
    TStringStream src("abcdef");
    EXPECT_EQ(EncodeFrom<TMxEncoderMIME>(src, -3), "");
    EXPECT_EQ(src.GetPosition(), 0);
    // More bytes than one UUE line can count are refused, nothing read.
    TStringStream uueSrc(AnsiString(100, 'q'));
    try {
        EncodeFrom<TMxEncoderUUE>(uueSrc, MxAllBytes);
        FAIL() << "no error";
    } catch (const EMxException& e) {
        EXPECT_NE(AnsiString(e.what()).find("63"), AnsiString::npos) << e.what();
    }
    EXPECT_EQ(uueSrc.GetPosition(), 0);
    // A count character outside the alphabet or a line shorter than its
    // count decodes what is there without reading past it.
    for (const char* line : {"M", "M86", "\x7F" "86)C", "~86)C", ""}) {
        EXPECT_NO_FATAL_FAILURE({
            try {
                MxDecodeString<TMxDecoderUUE>(line);
            } catch (const EMxException&) {
            }
        }) << line;
    }
    for (const char* word : {"=?ISO-8859-1?Q?a=E?=", "=?ISO-8859-1?B?QQ?=", "=?ISO-8859-1?B?Q*==?=",
                             "=?ISO-8859-1??x?=", "=?ISO-8859-1?Q?=", "=?ISO"})
        EXPECT_NO_THROW(DecodeHeader(word)) << word;
    for (const char* coded : {"=", "==", "=4", "a=4", "=\r", "=2"})
        EXPECT_NO_THROW(MxDecodeString<TMxDecoderQuotedPrintable>(coded)) << coded;
}

TEST(CodersReading, AddressItemsAndLists) {
    TMxEMailAddressList list;
    list.Add()->SetAddress("a@x.example");
    auto* bob = list.Add();
    bob->SetName("Bob \"B\"");
    bob->SetAddress("b@x.example");
    auto* jose = list.Add();
    jose->SetName("Jos\xE9");
    jose->SetAddress("j@x.example");
    EXPECT_EQ(EncodeAddressItem(*list.Items(0), 'Q', "ISO-8859-1", TMxTransfer::bit8),
              "a@x.example");
    EXPECT_EQ(EncodeAddressItem(*bob, 'Q', "ISO-8859-1", TMxTransfer::bit8),
              "\"Bob \\\"B\\\"\" <b@x.example>");
    EXPECT_EQ(EncodeAddressItem(*jose, 'Q', "ISO-8859-1", TMxTransfer::bit8),
              "=?ISO-8859-1?Q?Jos=E9?= <j@x.example>");
    // The joined list is folded where a line with an encoded word grows too long.
    EXPECT_EQ(
        EncodeAddressList(list, 'Q', "ISO-8859-1", TMxTransfer::bit8),
        "a@x.example, \"Bob \\\"B\\\"\" <b@x.example>, =?ISO-8859-1?Q?Jos=E9?=\r\n <j@x.example>");
}

TEST(CodersReading, Iso2022Jp) {
    const struct {
        AnsiString ShiftJis;
        AnsiString Jis;
    } cases[] = {
        {"a\x82\xA0"
         "b",
         "a\x1B$B$\"\x1B(Bb"},
        {"\x82\xA0", "\x1B$B$\"\x1B(B"},
        {"plain", "plain"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShiftJisToIso2022Jp(c.ShiftJis), c.Jis);
        EXPECT_EQ(Iso2022JpToShiftJis(c.Jis), c.ShiftJis);
    }
    // Half-width KA with the voiced mark becomes full-width GA.
    EXPECT_EQ(ShiftJisToIso2022Jp("\xB6\xDE"), "\x1B$B%,\x1B(B");
    EXPECT_EQ(Iso2022JpToShiftJis("\x1B$B%,\x1B(B"), "\x83K");

    const AnsiString coded =
        EncodeHeader("\x82\xA0", "", 'B', "ISO-2022-JP", TMxTransfer::iso2022jp);
    EXPECT_EQ(coded, "=?ISO-2022-JP?B?GyRCJCIbKEI=?=");
    EXPECT_EQ(DecodeHeader(coded), "\x82\xA0");
}

} // namespace
