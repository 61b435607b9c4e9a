// The byte coders read through their public calls: base64, UUE and XXE
// lines, quoted-printable, encoded-word headers and the ISO-2022-JP
// conversions.
#include <gtest/gtest.h>

#include "TextLines.h"
#include "mail/MxCoder3to4.h"
#include "mail/MxCoderQuotedPrintable.h"
#include "mail/MxExceptions.h"
#include "mail/MxHeaderCoder.h"
#include "mail/MxJis.h"
#include "platform/rtl/Streams.h"

#include <random>
#include <string>
#include <vector>

using namespace mail;
using mailtest::CrLfPieces;

namespace {

template <class E> std::string Enc(const std::string& s) { return MxEncodeString<E>(s); }
template <class D> std::string Dec(const std::string& s) { return MxDecodeString<D>(s); }

template <class E> std::string Refused(int count, TStream& src)
{
    E coder;
    try {
        coder.Encode(&src, count);
    } catch (const EMxException& e) {
        return e.what();
    }
    return "<no error>";
}

TEST(CodersText, ThreeToFourEncoding)
{
    const std::pair<std::string, std::string> mime[] = {
        {"", ""}, {"a", "YQ=="}, {"ab", "YWI="}, {"abc", "YWJj"}, {"\xFF\xFE\xFD", "//79"},
    };
    for (const auto& [in, out] : mime) {
        EXPECT_EQ(Enc<TMxEncoderMIME>(in), out);
        EXPECT_EQ(Dec<TMxDecoderMIME>(out), in);
    }
    EXPECT_EQ(Enc<TMxEncoderMIME>(std::string(57, 'x')).size(), 76u);
    EXPECT_EQ(Enc<TMxEncoderMIME>(std::string(300, 'x')).find_first_of("\r\n"), std::string::npos);

    const std::pair<std::string, std::string> uue[] = {
        {"abc", "#86)C"}, {"a", "!80``"}, {"ab", "\"86(`"},
    };
    for (const auto& [in, out] : uue) {
        EXPECT_EQ(Enc<TMxEncoderUUE>(in), out);
        EXPECT_EQ(Dec<TMxDecoderUUE>(out), in);
    }
    const std::pair<std::string, std::string> xxe[] = {
        {"abc", "1MK7X"}, {"a", "-ME++"},
    };
    for (const auto& [in, out] : xxe) {
        EXPECT_EQ(Enc<TMxEncoderXXE>(in), out);
        EXPECT_EQ(Dec<TMxDecoderXXE>(out), in);
    }
}

TEST(CodersText, EncodeTakesCountFromThePosition)
{
    TStringStream src("abcdefgh");
    src.Seek(2, TSeekOrigin::soBeginning);
    TMxEncoderMIME mime;
    EXPECT_EQ(mime.Encode(&src, 3), "Y2Rl"); // "cde"
    EXPECT_EQ(src.GetPosition(), 5);
    EXPECT_EQ(mime.Encode(&src, 6), "Zmdo"); // only "fgh" remain
    EXPECT_EQ(mime.Encode(&src, 3), "");

    for (int count : {1, 2, 4, 5}) {
        TStringStream s("abcdefgh");
        EXPECT_EQ(Refused<TMxEncoderMIME>(count, s), "Uneven size in Encode.") << count;
        EXPECT_EQ(Refused<TMxEncoderUUE>(count, s), "Uneven size in Encode.") << count;
        EXPECT_EQ(s.GetPosition(), 0) << count;
    }
}

TEST(CodersText, UueLineLongerThanItsCountCannotBeWritten)
{
    // The count character has 64 values: a line of more bytes cannot be
    // told apart from a shorter one, so it is refused whole.
    TStringStream src(std::string(90, 'q'));
    TMxEncoderUUE uue;
    EXPECT_THROW(uue.Encode(&src), EMxException);
    EXPECT_EQ(src.GetPosition(), 0);
    src.Seek(0, TSeekOrigin::soBeginning);
    EXPECT_EQ(Dec<TMxDecoderUUE>(uue.Encode(&src, 45)), std::string(45, 'q'));
}

TEST(CodersText, FourToThreeDecoding)
{
    for (const char* bad : {"a", "YQ=", "YWJjZ"}) {
        TStringStream out;
        TMxDecoderMIME d;
        try {
            d.DecodeToStream(bad, &out);
            FAIL() << bad;
        } catch (const EMxException& e) {
            EXPECT_STREQ(e.what(), "Uneven size in DecodeToStream.");
        }
    }
    TStringStream out("kept:");
    out.Seek(0, TSeekOrigin::soEnd);
    TMxDecoderMIME d;
    d.DecodeToStream("YWJj", &out);
    d.DecodeToStream("YQ==", &out);
    EXPECT_EQ(out.DataString(), "kept:abca");

    const std::pair<std::string, std::string> lines[] = {
        {"#86)C", "abc"},      // exact
        {"!80", "a"},          // short: padded
        {"!80``extra", "a"},   // long: cut
        {"#86)C   ", "abc"},   // trailing blanks
    };
    for (const auto& [line, bytes] : lines) {
        std::string got;
        EXPECT_NO_THROW(got = Dec<TMxDecoderUUE>(line)) << line;
        EXPECT_EQ(got, bytes) << line;
    }
}

TEST(CodersText, QuotedPrintableEncoding)
{
    const std::pair<std::string, std::string> cases[] = {
        {"plain text", "plain text"},
        {"a \r\nb", "a=20\r\nb"},
        {"a\t\r\n", "a=09\r\n"},
        {".abc", "=2Eabc"},
        {"a.b", "a.b"},
        {"a=b", "a=3Db"},
        {"caf\xE9", "caf=E9"},
        {"\x01~\x7F", "=01~=7F"},
        {"abc\r\n", "abc\r\n"},
        {"line1\r\nline2\r\n", "line1\r\nline2\r\n"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(Enc<TMxEncoderQuotedPrintable>(in), out) << in;

    const std::string hundred(100, 'x');
    EXPECT_EQ(Enc<TMxEncoderQuotedPrintable>(hundred + "\r\n"),
              std::string(72, 'x') + "=\r\n" + std::string(28, 'x') + "\r\n");
    EXPECT_EQ(Enc<TMxEncoderQuotedPrintable>(std::string(72, 'x') + ".y"),
              std::string(72, 'x') + "=\r\n=2Ey");
}

TEST(CodersText, QuotedPrintableDecoding)
{
    const std::pair<std::string, std::string> cases[] = {
        {"a=3Db", "a=b"},
        {"a=3db", "a=b"},
        {"a=\r\nb", "ab"},
        {"a=\nb", "ab"},
        {"a=20\r\nb", "a \r\nb"},
        {"caf=E9", "caf\xE9"},
        {"abc  \t", "abc"},
        {"abc\r\n", "abc\r\n"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(Dec<TMxDecoderQuotedPrintable>(in), out) << in;
}

TEST(CodersText, QuotedPrintableRoundTripsEveryByte)
{
    std::mt19937 rng(7);
    std::vector<std::string> inputs = {
        "ends with a space ", "ends with a tab\t", "space before break \r\nnext", " ", "\t\t",
        std::string(8191, 'a') + " \r\nb",   // a blank that closes a read block
        std::string(8191, 'a') + "\t\nb",
        std::string(71, 'a') + " " + std::string(10, 'b'),
        ".", "\r\n.\r\n", std::string(200, '='),
    };
    for (int n = 0; n < 20; ++n) {
        std::string s;
        const int len = static_cast<int>(rng() % 400);
        for (int i = 0; i < len; ++i) {
            const unsigned r = rng() % 10;
            s += r < 2 ? ' ' : r < 3 ? '\r' : r < 4 ? '\n' : static_cast<char>(rng() % 256);
        }
        inputs.push_back(s);
    }
    for (const auto& in : inputs) {
        const std::string coded = Enc<TMxEncoderQuotedPrintable>(in);
        // Lines of the coded text: at most 76 characters, no blank before a
        // line end (a mail relay may strip it).
        for (const std::string& line : CrLfPieces(coded)) {
            EXPECT_LE(line.size(), 76u);
            if (!line.empty()) EXPECT_TRUE(line.back() != ' ' && line.back() != '\t') << line;
        }
        // Bare CR and LF are not line ends for the coded text; only the
        // CR LF pairs of the input need to come back as they were.
        if (in.find_first_of("\r\n") == std::string::npos || in.find("\r\n") != std::string::npos) {
            bool bare = false;
            for (size_t i = 0; i < in.size(); ++i) {
                if (in[i] == '\r' && (i + 1 >= in.size() || in[i + 1] != '\n')) bare = true;
                if (in[i] == '\n' && (i == 0 || in[i - 1] != '\r')) bare = true;
            }
            if (!bare) EXPECT_EQ(Dec<TMxDecoderQuotedPrintable>(coded), in) << "[" << in.substr(0, 40) << "]";
        }
    }
}

TEST(CodersText, EncodeHeaderWords)
{
    struct Case {
        const char* text;
        char letter;
        const char* expected;
    };
    const Case cases[] = {
        {"plain words", 'Q', "plain words"},
        {"Gr\xFC\xDF" "e aus K\xF6ln", 'Q', "=?ISO-8859-1?Q?Gr=FC=DFe?= aus =?ISO-8859-1?Q?K=F6ln?="},
        {"K\xF6ln M\xFCnchen", 'Q', "=?ISO-8859-1?Q?K=F6ln_M=FCnchen?="},
        {"a=\xE9?_", 'Q', "=?ISO-8859-1?Q?a=3D=E9=3F=5F?="},
        {"\xE9t\xE9", 'B', "=?ISO-8859-1?B?6XTp?="},
        {"\xE9t", 'B', "=?ISO-8859-1?B?6XQ=?="},
        {"\xE9t\xE9 x", '8', "\xE9t\xE9 x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EncodeHeader(c.text, "", c.letter, "ISO-8859-1", TMxTransfer::bit8), c.expected) << c.text;

    std::string longText;
    for (int i = 0; i < 30; ++i) longText += "w\xF6rd ";
    const std::string coded = EncodeHeader(longText, "", 'Q', "ISO-8859-1", TMxTransfer::bit8);
    const std::vector<std::string> lines = CrLfPieces(coded);
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_LE(lines[i].size(), 76u) << lines[i];
        if (i > 0) EXPECT_TRUE(lines[i][0] == '\t' || lines[i][0] == ' ');
    }
    EXPECT_GT(lines.size(), 1u);
    EXPECT_EQ(DecodeHeader(coded), longText);
}

TEST(CodersText, EncodeAddresses)
{
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"joe@x.com", "joe@x.com"},
        {"Joe <joe@x.com>", "\"Joe\" <joe@x.com>"},
        {"\"Smith, Joe\" <joe@x.com>", "\"Smith, Joe\" <joe@x.com>"},
        {"\"a\\\\b\" <joe@x.com>", "\"a\\\\b\" <joe@x.com>"},
        {"\"J\xF6rg, S.\" <j@x>", "=?ISO-8859-1?Q?J=F6rg=2C_S=2E?= <j@x>"},
    };
    for (const auto& c : cases) {
        TMxEMailAddressItem item;
        item.SetText(c.text);
        EXPECT_EQ(EncodeAddressItem(item, 'Q', "ISO-8859-1", TMxTransfer::bit8), c.expected) << c.text;
    }
    TMxEMailAddressList list;
    list.SetAddressText("a@x, Ann <b@y>");
    EXPECT_EQ(EncodeAddressList(list, 'Q', "ISO-8859-1", TMxTransfer::bit8), "a@x, \"Ann\" <b@y>");
}

TEST(CodersText, DecodeHeaderWords)
{
    const std::pair<std::string, std::string> cases[] = {
        {"=?ISO-8859-1?Q?a_b=3D?=", "a b="},
        {"=?iso-8859-1?q?caf=E9?= time", "caf\xE9 time"},
        {"=?windows-1252?B?6XTp?=", "\xE9t\xE9"},
        {"=?ISO-8859-1?Q?a?= =?ISO-8859-1?Q?b?=", "ab"},
        {"=?ISO-8859-1?Q?a?=\r\n\t=?ISO-8859-1?Q?b?=", "ab"},
        {"=?ISO-8859-1?Q?a?= plain =?ISO-8859-1?Q?b?=", "a plain b"},
        {"x =?ISO-8859-1?Q?a=00b?= y", "x ab y"},
        {"=?ISO-8859-1?Q?broken", "=?ISO-8859-1?Q?broken"},
        {"=?ISO-8859-1?X", "=?ISO-8859-1?X"},
        {"=?KOI8-R?Q?x?=", "=?KOI8-R?Q?x?="},
        {"plain", "plain"},
        {"", ""},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(DecodeHeader(in), out) << in;
}

TEST(CodersText, Iso2022JpConversions)
{
    const std::pair<std::string, std::string> cases[] = {
        {"abc", "abc"},
        {"\x82\xA0", "\x1B$B$\"\x1B(B"},          // hiragana a
        {"a\x82\xA0z", "a\x1B$B$\"\x1B(Bz"},
        {"\xB1", "\x1B$B%\"\x1B(B"},              // half-width a -> full-width
        {"\xB6\xDE", "\x1B$B%,\x1B(B"},           // ka + voiced mark -> ga
    };
    for (const auto& [sjis, jis] : cases) EXPECT_EQ(ShiftJisToIso2022Jp(sjis), jis) << jis;
    EXPECT_EQ(Iso2022JpToShiftJis("a\x1B$B$\"%,\x1B(Bz"), "a\x82\xA0\x83\x4Bz");
    const std::string coded = EncodeHeader("\x82\xA0", "", 'B', "ISO-2022-JP", TMxTransfer::iso2022jp);
    EXPECT_EQ(coded.rfind("=?ISO-2022-JP?B?", 0), 0u) << coded;
    EXPECT_EQ(DecodeHeader(coded), "\x82\xA0");
}

TEST(CodersText, AnyInputDecodesOrIsRefusedCleanly)
{
    std::mt19937 rng(11);
    const std::string pieces[] = {"=", "?", "=?", "?=", "=?ISO-8859-1?Q?", "=?ISO-2022-JP?B?", "\x1B$B",
                                  "\x1B(B", "_", "=3", "=\r\n", "\r", "\n", " ", "\t", "A", "~", "`",
                                  "\x82", "\xFF", "\0", "M", "h", "#"};
    for (int n = 0; n < 400; ++n) {
        std::string s;
        const int len = static_cast<int>(rng() % 24);
        for (int i = 0; i < len; ++i) s += pieces[rng() % std::size(pieces)];
        EXPECT_NO_THROW(DecodeHeader(s));
        EXPECT_NO_THROW(Iso2022JpToShiftJis(s));
        EXPECT_NO_THROW(ShiftJisToIso2022Jp(s));
        EXPECT_NO_THROW(Dec<TMxDecoderQuotedPrintable>(s));
        for (auto decode : {&Dec<TMxDecoderMIME>, &Dec<TMxDecoderUUE>, &Dec<TMxDecoderXXE>}) {
            try {
                decode(s);
            } catch (const EMxException&) {
            }
        }
        EXPECT_NO_THROW(EncodeHeader(s, MxAddressSpecials, 'Q', "ISO-8859-1", TMxTransfer::bit8));
        EXPECT_NO_THROW(EncodeHeader(s, "", 'B', "ISO-2022-JP", TMxTransfer::iso2022jp));
    }
}

TEST(CodersText, ByteOutsideTheAlphabetIsNamed)
{
    TMxDecoderMIME d;
    TStringStream out;
    try {
        d.DecodeToStream("YW*j", &out);
        FAIL() << "no error";
    } catch (const EMxException& e) {
        EXPECT_NE(std::string(e.what()).find("42"), std::string::npos) << e.what();
    }
    EXPECT_EQ(out.DataString(), "");
}

} // namespace

namespace {

TEST(CodersText, QuotedPrintableCodesOnlyTheCountGiven)
{
    TStringStream src("a=cdef");
    TMxEncoderQuotedPrintable qp;
    EXPECT_EQ(qp.Encode(&src, 3), "a=3Dc");
    EXPECT_EQ(src.GetPosition(), 3);
    EXPECT_EQ(qp.Encode(&src), "def");
}

} // namespace

namespace {

TEST(CodersText, LongJapaneseHeaderSplitsOnlyBetweenWholeCharacters)
{
    std::string sjis;
    for (int i = 0; i < 70; ++i) {
        sjis += '\x82';
        sjis += static_cast<char>(0xA0 + i % 80);
    }
    const std::string coded = EncodeHeader(sjis, "", 'B', "ISO-2022-JP", TMxTransfer::iso2022jp, 9);
    EXPECT_EQ(DecodeHeader(coded), sjis);
    // Every encoded word stands alone: it leaves double-byte mode before it
    // ends and holds whole characters.
    size_t at = 0;
    int words = 0;
    while ((at = coded.find("=?ISO-2022-JP?B?", at)) != std::string::npos) {
        const size_t start = at + 16;
        const size_t end = coded.find("?=", start);
        ASSERT_NE(end, std::string::npos);
        EXPECT_LE(end + 2 - at, 75u);
        const std::string bytes = Dec<TMxDecoderMIME>(coded.substr(start, end - start));
        const size_t open = bytes.find("\x1B$B");
        const size_t close = bytes.rfind("\x1B(B");
        if (open != std::string::npos) {
            ASSERT_NE(close, std::string::npos) << words;
            EXPECT_EQ(close, bytes.size() - 3) << words;
            EXPECT_EQ((close - open - 3) % 2, 0u) << words;
        }
        ++words;
        at = end;
    }
    EXPECT_GT(words, 1);

    TMxEMailAddressItem item;
    item.SetName(sjis);
    item.SetAddress("j@x.jp");
    const std::string from = EncodeAddressItem(item, 'B', "ISO-2022-JP", TMxTransfer::iso2022jp, 6);
    EXPECT_EQ(DecodeHeader(from), sjis + " <j@x.jp>");
}

} // namespace

namespace {

TEST(CodersText, SoftBreakPaddedByARelayStillJoinsTheLines)
{
    const std::pair<std::string, std::string> cases[] = {
        {"abc= \r\ndef", "abcdef"},
        {"abc=\t \r\ndef", "abcdef"},
        {"abc= \ndef", "abcdef"},
        {"abc=  ", "abc"},
    };
    for (const auto& [in, out] : cases) EXPECT_EQ(Dec<TMxDecoderQuotedPrintable>(in), out) << in;
}

} // namespace
