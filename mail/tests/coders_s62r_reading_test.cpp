// The byte coders read afresh: base64/UUE/XXE, quoted-printable and the
// header coder, each through its public calls.
#include "ErrorMessage.h"
#include "TextLines.h"
#include "mail/MxCoder3to4.h"
#include "mail/MxCoderQuotedPrintable.h"
#include "mail/MxExceptions.h"
#include "mail/MxHeaderCoder.h"
#include "mail/MxJis.h"
#include "mail/MxReadMemoryStream.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace mail;
using mailtest::CrLfPieces;
using mailtest::ErrorMessageOf;

namespace {

template <class T> AnsiString EncodeCount(const AnsiString& AIn, int ACount, int ASkip = 0) {
    TStringStream src(AIn);
    src.Seek(ASkip, soBeginning);
    T coder;
    return coder.Encode(&src, ACount);
}

template <class T> AnsiString DecodeAppended(const AnsiString& AIn) {
    TStringStream dest("xy");
    dest.Seek(0, soEnd);
    T coder;
    coder.DecodeToStream(AIn, &dest);
    return dest.DataString();
}

} // namespace

TEST(CodersReadingR, ThreeToFourEncodingTable) {
    struct Case {
        const char* what;
        AnsiString got;
        AnsiString want;
    };
    const AnsiString b57(57, 'z');
    const Case cases[] = {
        {"base64 one byte", MxEncodeString<TMxEncoderMIME>("A"), "QQ=="},
        {"base64 two bytes", MxEncodeString<TMxEncoderMIME>("AB"), "QUI="},
        {"base64 three bytes", MxEncodeString<TMxEncoderMIME>("ABC"), "QUJD"},
        {"base64 empty", MxEncodeString<TMxEncoderMIME>(""), ""},
        {"base64 high bytes", MxEncodeString<TMxEncoderMIME>(AnsiString("\xff\xfe\x00\x00", 4)),
         "//4AAA=="},
        {"count past the end codes what remains", EncodeCount<TMxEncoderMIME>("ABCD", 6), "QUJDRA=="},
        {"count from the position", EncodeCount<TMxEncoderMIME>("xABC", 3, 1), "QUJD"},
        {"nothing remains", EncodeCount<TMxEncoderMIME>("ABC", 3, 3), ""},
        {"zero count", EncodeCount<TMxEncoderMIME>("ABC", 0), ""},
        {"negative count", EncodeCount<TMxEncoderMIME>("ABC", -3), ""},
        {"negative count, quoted-printable", EncodeCount<TMxEncoderQuotedPrintable>("ABC", -1), ""},
        {"uue line", MxEncodeString<TMxEncoderUUE>("Cat"), "#0V%T"},
        {"uue one byte", MxEncodeString<TMxEncoderUUE>("C"), "!0P``"},
        {"xxe one byte", MxEncodeString<TMxEncoderXXE>("C"), "-Ek++"},
        {"uue zero bits use the grave accent", MxEncodeString<TMxEncoderUUE>(AnsiString(3, '\0')),
         "#````"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;

    const AnsiString line57 = MxEncodeString<TMxEncoderMIME>(b57);
    EXPECT_EQ(line57.size(), 76u);
    EXPECT_EQ(MxDecodeString<TMxDecoderMIME>(line57), b57);

    const AnsiString uue45 = MxEncodeString<TMxEncoderUUE>(AnsiString(45, 'q'));
    ASSERT_EQ(uue45.size(), 61u);
    EXPECT_EQ(uue45[0], 'M');
    const AnsiString xxe45 = MxEncodeString<TMxEncoderXXE>(AnsiString(45, 'q'));
    ASSERT_EQ(xxe45.size(), 61u);
    EXPECT_EQ(xxe45[0], 'h');
}

TEST(CodersReadingR, UnevenSizesAreRefusedByName) {
    EXPECT_EQ(ErrorMessageOf([] { EncodeCount<TMxEncoderMIME>("ABCD", 4); }), "Uneven size in Encode.");
    EXPECT_EQ(ErrorMessageOf([] { MxDecodeString<TMxDecoderMIME>("QUJ"); }),
              "Uneven size in DecodeToStream.");
}

TEST(CodersReadingR, FourToThreeDecodingTable) {
    struct Case {
        const char* what;
        AnsiString got;
        AnsiString want;
    };
    const Case cases[] = {
        {"two fills", DecodeAppended<TMxDecoderMIME>("QQ=="), "xyA"},
        {"one fill", DecodeAppended<TMxDecoderMIME>("QUI="), "xyAB"},
        {"no fill", DecodeAppended<TMxDecoderMIME>("QUJD"), "xyABC"},
        {"empty", DecodeAppended<TMxDecoderMIME>(""), "xy"},
        {"uue line", DecodeAppended<TMxDecoderUUE>("#0V%T"), "xyCat"},
        {"uue one byte", DecodeAppended<TMxDecoderUUE>("!0P``"), "xyC"},
        {"uue short line padded", DecodeAppended<TMxDecoderUUE>("!0P"), "xyC"},
        {"uue long line cut", DecodeAppended<TMxDecoderUUE>("!0P``#0V%T"), "xyC"},
        {"uue spaces read as grave accents", DecodeAppended<TMxDecoderUUE>("#    "),
         AnsiString("xy") + AnsiString(3, '\0')},
        {"uue zero count", DecodeAppended<TMxDecoderUUE>("`"), "xy"},
        {"xxe one byte", DecodeAppended<TMxDecoderXXE>("-Ek++"), "xyC"},
        {"xxe two bytes", DecodeAppended<TMxDecoderXXE>(MxEncodeString<TMxEncoderXXE>("Ca")), "xyCa"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.got, c.want) << c.what;

    // Every length of line round-trips through both line coders.
    for (int n = 0; n <= 63; ++n) {
        AnsiString bytes;
        for (int i = 0; i < n; ++i) bytes += static_cast<char>(i * 37 + n);
        EXPECT_EQ(MxDecodeString<TMxDecoderUUE>(MxEncodeString<TMxEncoderUUE>(bytes)), bytes) << n;
        EXPECT_EQ(MxDecodeString<TMxDecoderXXE>(MxEncodeString<TMxEncoderXXE>(bytes)), bytes) << n;
    }
}

TEST(CodersReadingR, QuotedPrintableEncodingTable) {
    struct Case {
        const char* what;
        AnsiString in;
        AnsiString want;
    };
    const AnsiString l72(72, 'a');
    const Case cases[] = {
        {"plain", "Hello, world!", "Hello, world!"},
        {"leading dot", ".abc\r\n", "=2Eabc\r\n"},
        {"dot inside", "a.b", "a.b"},
        {"equals sign", "a=b", "a=3Db"},
        {"space before CR LF", "a \r\nb", "a=20\r\nb"},
        // A bare CR or LF is coded: sent as it stands it would become a
        // line break on the way.
        {"tab before a bare LF", "a\t\nb", "a=09=0Ab"},
        {"bare CR", "a\rb", "a=0Db"},
        // A blank at the very end is coded, since the decoder drops blanks
        // there.
        {"space at the end", "a ", "a=20"},
        {"hard breaks restart the line", AnsiString(40, 'a') + "\r\n" + AnsiString(40, 'b'),
         AnsiString(40, 'a') + "\r\n" + AnsiString(40, 'b')},
        {"tab inside", "a\tb", "a\tb"},
        {"high byte", "caf\xe9", "caf=E9"},
        {"DEL", "a\x7f", "a=7F"},
        {"control byte", AnsiString("a\x01", 2), "a=01"},
        {"tilde and bang", "!~<>", "!~<>"},
        {"ends with CR LF", "abc\r\n", "abc\r\n"},
        {"empty", "", ""},
        {"100 letters", AnsiString(100, 'a') + "\r\n", l72 + "=\r\n" + AnsiString(28, 'a') + "\r\n"},
        {"dot after a soft break", l72 + ".b", l72 + "=\r\n=2Eb"},
    };
    for (const Case& c : cases) EXPECT_EQ(MxEncodeString<TMxEncoderQuotedPrintable>(c.in), c.want) << c.what;
}

TEST(CodersReadingR, QuotedPrintableDecodingTable) {
    struct Case {
        const char* what;
        AnsiString in;
        AnsiString want;
    };
    const Case cases[] = {
        {"equals coded", "a=3Db", "a=b"},
        {"lower-case hex", "caf=e9", "caf\xe9"},
        {"soft break CR LF", "ab=\r\ncd", "abcd"},
        {"soft break LF", "ab=\ncd", "abcd"},
        {"soft break with blanks after it", "ab= \t\r\ncd", "abcd"},
        {"coded line ends", "a=0D=0Ab", "a\r\nb"},
        {"coded space before CR LF", "a=20\r\nb", "a \r\nb"},
        {"trailing blanks at the end", "abc \t ", "abc"},
        {"hard break kept", "a\r\nb\r\n", "a\r\nb\r\n"},
        {"one hex digit at the end", "a=4", "a\x04"},
        {"equals at the very end", "ab=", "ab"},
    };
    for (const Case& c : cases) EXPECT_EQ(MxDecodeString<TMxDecoderQuotedPrintable>(c.in), c.want) << c.what;

    // And the decoder appends to what the stream holds.
    EXPECT_EQ(DecodeAppended<TMxDecoderQuotedPrintable>("=41"), "xyA");

    // Any bytes survive a round trip.
    AnsiString all;
    for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
    all += " \r\n.x\t\r\n" + AnsiString(200, 'w') + " ";
    // A blank that ends one read block before a line break in the next.
    all += AnsiString(8192 - all.size() % 8192 - 1, 'k') + " \r\nend";
    EXPECT_EQ(MxDecodeString<TMxDecoderQuotedPrintable>(MxEncodeString<TMxEncoderQuotedPrintable>(all)), all);
}

TEST(CodersReadingR, EncodeHeaderTable) {
    struct Case {
        const char* what;
        AnsiString in;
        char letter;
        AnsiString want;
    };
    const Case cases[] = {
        {"ascii stays", "Hello world", 'Q', "Hello world"},
        {"no coding", "caf\xe9 ol\xe9", '8', "caf\xe9 ol\xe9"},
        {"two words one run", "\xe9t\xe9 ol\xe9", 'Q', "=?ISO-8859-1?Q?=E9t=E9_ol=E9?="},
        {"run between plain words", "Hi caf\xe9 now", 'Q', "Hi =?ISO-8859-1?Q?caf=E9?= now"},
        {"specials in a run", "\xe9=?_", 'Q', "=?ISO-8859-1?Q?=E9=3D=3F=5F?="},
        {"base64 run", "\xe9", 'B', "=?ISO-8859-1?B?6Q==?="},
    };
    for (const Case& c : cases)
        EXPECT_EQ(EncodeHeader(c.in, "", c.letter, "ISO-8859-1", TMxTransfer::bit8), c.want) << c.what;

    // A long run folds into several encoded words, each line within 76.
    const AnsiString longText(120, '\xe9');
    const AnsiString folded = EncodeHeader(longText, "", 'Q', "ISO-8859-1", TMxTransfer::bit8);
    const std::vector<std::string> lines = CrLfPieces(folded);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_LE(lines[i].size(), 76u) << lines[i];
        if (i > 0) EXPECT_EQ(lines[i][0], '\t');
    }
    EXPECT_GT(lines.size(), 1u);
    EXPECT_EQ(DecodeHeader(folded), longText);
}

TEST(CodersReadingR, DecodeHeaderTable) {
    struct Case {
        const char* what;
        AnsiString in;
        AnsiString want;
    };
    const Case cases[] = {
        {"q word", "=?ISO-8859-1?Q?a_b=3D?=", "a b="},
        {"lower case word", "=?iso-8859-1?q?caf=e9?=", "caf\xe9"},
        {"b word", "x =?ISO-8859-1?B?QUJD?= y", "x ABC y"},
        {"windows set", "=?WINDOWS-1252?Q?=80?=", "\x80"},
        {"other set left", "=?KOI8-R?Q?a?=", "=?KOI8-R?Q?a?="},
        {"unclosed left", "=?ISO-8859-1?Q?abc", "=?ISO-8859-1?Q?abc"},
        {"missing question marks", "=?ISO-8859-1?Q=", "=?ISO-8859-1?Q="},
        {"nul removed", "=?ISO-8859-1?Q?a=00b?=", "ab"},
        {"plain", "Hello", "Hello"},
    };
    for (const Case& c : cases) EXPECT_EQ(DecodeHeader(c.in), c.want) << c.what;
}

TEST(CodersReadingR, Iso2022JpConversions) {
    struct Case {
        const char* what;
        AnsiString sjis;
        AnsiString jis;
    };
    const Case cases[] = {
        {"hiragana a", "\x82\xa0", "\x1b$B$\"\x1b(B"},
        {"ascii around", "a\x82\xa0z", "a\x1b$B$\"\x1b(Bz"},
        {"ascii only", "abc", "abc"},
        {"first kanji", "\x88\x9f", "\x1b$B0!\x1b(B"},
        {"second-half lead byte", "\xe0\x40", "\x1b$B_!\x1b(B"},
        {"last row", "\xea\xa4", "\x1b$Bt&\x1b(B"},
        {"odd trail byte", "\x81\x9e", "\x1b$B!~\x1b(B"},
        {"even trail byte", "\x81\x9f", "\x1b$B\"!\x1b(B"},
        {"run closed before ascii, reopened", "\x82\xa0-\x82\xa0", "\x1b$B$\"\x1b(B-\x1b$B$\"\x1b(B"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShiftJisToIso2022Jp(c.sjis), c.jis) << c.what;
        EXPECT_EQ(Iso2022JpToShiftJis(c.jis), c.sjis) << c.what;
    }
    // Half-width katakana become full-width, joined with a voiced mark.
    EXPECT_EQ(ShiftJisToIso2022Jp("\xb6\xde"), "\x1b$B%,\x1b(B");
    struct Kana {
        const char* what;
        AnsiString half;
        AnsiString full;
    };
    const Kana kana[] = {
        {"a", "\xb1", "%\""},
        {"ka voiced", "\xb6\xde", "%,"},
        {"ha semi-voiced", "\xca\xdf", "%Q"},
        {"u voiced", "\xb3\xde", "%t"},
        {"a with a voiced mark it cannot take", "\xb1\xde", "%\"!+"},
        {"full stop", "\xa1", "!#"},
        {"long vowel", "\xb0", "!<"},
    };
    for (const Kana& k : kana)
        EXPECT_EQ(ShiftJisToIso2022Jp(k.half), "\x1b$B" + k.full + "\x1b(B") << k.what;
    // The older escapes are read as well.
    EXPECT_EQ(Iso2022JpToShiftJis("\x1b$@$\"\x1b(Jx"), "\x82\xa0x");

    // Without coding, the Japanese mode still sends the converted text.
    EXPECT_EQ(EncodeHeader("\x82\xa0", "", '8', "ISO-2022-JP", TMxTransfer::iso2022jp), "\x1b$B$\"\x1b(B");

    // A coded subject goes out in ISO-2022-JP and reads back in Shift_JIS.
    const AnsiString coded = EncodeHeader("\x82\xa0", "", 'B', "ISO-2022-JP", TMxTransfer::iso2022jp);
    EXPECT_EQ(coded.rfind("=?ISO-2022-JP?B?", 0), 0u) << coded;
    EXPECT_EQ(DecodeHeader(coded), "\x82\xa0");
}

TEST(CodersReadingR, AddressItems) {
    struct Case {
        const char* what;
        AnsiString name;
        AnsiString want;
    };
    const Case cases[] = {
        {"no name", "", "a@b.c"},
        {"plain name quoted", "John", "\"John\" <a@b.c>"},
        {"specials quoted", "Smith, John (x)", "\"Smith, John (x)\" <a@b.c>"},
        {"quote and backslash escaped", "A \"B\" \\C", "\"A \\\"B\\\" \\\\C\" <a@b.c>"},
        {"coded name", "Jos\xe9", "=?ISO-8859-1?Q?Jos=E9?= <a@b.c>"},
        {"coded name with a comma", "M\xfcller, Hans", "=?ISO-8859-1?Q?M=FCller=2C?= Hans <a@b.c>"},
        {"coded name in quotes", "\"Jos\xe9\"", "=?ISO-8859-1?Q?=22Jos=E9=22?= <a@b.c>"},
    };
    for (const Case& c : cases) {
        TMxEMailAddressItem item(nullptr);
        item.SetAddress("a@b.c");
        item.SetName(c.name);
        EXPECT_EQ(EncodeAddressItem(item, 'Q', "ISO-8859-1", TMxTransfer::bit8), c.want) << c.what;
    }
}

TEST(CodersReadingR, MalformedInputIsRefusedOrPassedSafely) {
    // Each input either decodes or raises EMxException; none reads past its
    // end or lets another error through.
    const AnsiString inputs[] = {"====", "QQ==QUJD", "QUJ\xe9", AnsiString("QU\0D", 4), "~abc", "M", "`", " ",
                                 "\xff\xff\xff\xff", "=", "==", "=\r", "=4", "=G", "=\r\n\r\n", ""};
    for (const AnsiString& in : inputs) {
        for (int coder = 0; coder < 4; ++coder) {
            try {
                switch (coder) {
                case 0: MxDecodeString<TMxDecoderMIME>(in); break;
                case 1: MxDecodeString<TMxDecoderUUE>(in); break;
                case 2: MxDecodeString<TMxDecoderXXE>(in); break;
                default: MxDecodeString<TMxDecoderQuotedPrintable>(in); break;
                }
            } catch (const EMxException&) {
            }
        }
    }
    // A character outside the alphabet is named, not decoded as garbage.
    EXPECT_NE(ErrorMessageOf([] { MxDecodeString<TMxDecoderMIME>("QU*D"); }), "(no error)");
    EXPECT_NE(ErrorMessageOf([] { MxDecodeString<TMxDecoderUUE>("~abc"); }), "(no error)");

    const AnsiString headers[] = {"=?", "=?ISO-8859-1?", "=?ISO-8859-1?Q?", "=?ISO-8859-1?Q??=",
                                  "=?ISO-8859-1?B?QUJ?=", "=?ISO-8859-1?Q?a=4?=", "=?ISO-8859-1?B?*?=",
                                  "=?ISO-2022-JP?B?GyRC?=", "=?ISO-8859-1?X?abc?= tail", "=?=?ISO-8859-1?Q?a?="};
    for (const AnsiString& in : headers) DecodeHeader(in);
    EXPECT_NE(DecodeHeader("=?ISO-8859-1?X?abc?= tail").find(" tail"), AnsiString::npos);
}

TEST(CodersReadingR, HeaderCodingNeverBreaksTheLine) {
    // Line breaks in a value are coded, so it cannot add a header line.
    const AnsiString coded = EncodeHeader("a\r\nBcc: x@y.z", "", 'Q', "ISO-8859-1", TMxTransfer::bit8);
    for (std::size_t at = coded.find("\r\n"); at != AnsiString::npos; at = coded.find("\r\n", at + 2))
        EXPECT_EQ(coded[at + 2], '\t') << coded;
    EXPECT_EQ(DecodeHeader(coded), "a\r\nBcc: x@y.z");

    // A long Japanese subject is folded into encoded words that each leave
    // double-byte mode before they close.
    AnsiString japanese;
    for (int i = 0; i < 40; ++i) japanese += "\x82\xa0\x82\xa2";
    const AnsiString folded = EncodeHeader(japanese, "", 'B', "ISO-2022-JP", TMxTransfer::iso2022jp);
    std::size_t words = 0;
    for (std::size_t at = folded.find("=?"); at != AnsiString::npos; at = folded.find("=?", at + 2)) {
        const std::size_t close = folded.find("?=", at + 16);
        ASSERT_NE(close, AnsiString::npos);
        const AnsiString bytes = MxDecodeString<TMxDecoderMIME>(folded.substr(at + 16, close - at - 16));
        EXPECT_EQ(bytes.substr(0, 3), "\x1b$B") << words;
        EXPECT_EQ(bytes.substr(bytes.size() - 3), "\x1b(B") << words;
        EXPECT_EQ((bytes.size() - 6) % 2, 0u) << words;
        ++words;
        at = close;
    }
    EXPECT_GT(words, 1u);
    EXPECT_EQ(DecodeHeader(folded), japanese);
}

TEST(CodersReadingR, AddressListAndCountedQuotedPrintable) {
    TMxEMailAddressList list;
    list.Add()->SetAddress("a@b.c");
    TMxEMailAddressItem* second = list.Add();
    second->SetAddress("d@e.f");
    second->SetName("D E");
    EXPECT_EQ(EncodeAddressList(list, 'Q', "ISO-8859-1", TMxTransfer::bit8), "a@b.c, \"D E\" <d@e.f>");

    // Quoted-printable codes only the bytes asked for and leaves the rest.
    TStringStream src("ab=cdef");
    TMxEncoderQuotedPrintable coder;
    EXPECT_EQ(coder.Encode(&src, 3), "ab=3D");
    EXPECT_EQ(coder.Encode(&src), "cdef");
}

TEST(CodersReadingR, RandomTextsRoundTripWithinLineLimits) {
    std::mt19937 rng(62);
    const char pool[] = {'a', ' ', '\t', '\r', '\n', '.', '=', '?', '_', '\xe9', '\0', 'Z'};
    for (int round = 0; round < 300; ++round) {
        AnsiString text;
        const int length = static_cast<int>(rng() % 300);
        for (int i = 0; i < length; ++i) text += pool[rng() % sizeof(pool)];
        const AnsiString qp = MxEncodeString<TMxEncoderQuotedPrintable>(text);
        EXPECT_EQ(MxDecodeString<TMxDecoderQuotedPrintable>(qp), text) << round;
        for (const std::string& line : CrLfPieces(qp)) EXPECT_LE(line.size(), 76u) << round;
        for (char letter : {'Q', 'B'}) {
            const AnsiString header = EncodeHeader(text, "", letter, "ISO-8859-1", TMxTransfer::bit8);
            AnsiString want = text;
            EXPECT_EQ(DecodeHeader(header), AnsiString(want.begin(), std::remove(want.begin(), want.end(), '\0')))
                << round << letter;
        }
    }
}

TEST(CodersReadingR, LineCodersNeverWriteACountOutsideTheAlphabet) {
    // A UUE or XXE line holds at most 63 bytes: more is refused, never coded
    // with a count character that reads back as something else.
    EXPECT_NE(ErrorMessageOf([] { MxEncodeString<TMxEncoderUUE>(AnsiString(100, 'x')); }), "(no error)");
    EXPECT_NE(ErrorMessageOf([] { MxEncodeString<TMxEncoderXXE>(AnsiString(66, 'x')); }), "(no error)");
    EXPECT_EQ(MxEncodeString<TMxEncoderUUE>(AnsiString(63, 'x'))[0], '_');
}
