#include "Reference.h"
#include "TextLines.h"
#include "mail/MxEmailAddress.h"
#include "mail/MxHeaderCoder.h"
#include "mail/MxHeaderList.h"
#include "mail/MxJis.h"
#include "mail/MxMessage.h"

#include <gtest/gtest.h>

#include <random>

using namespace mail;
using mailtest::CrLfPieces;
using mailtest::FromHex;
using mailtest::Reference;
using mailtest::ToHex;

namespace {

AnsiString Repeat(const AnsiString& AText, int ACount) {
    AnsiString result;
    for (int i = 0; i < ACount; ++i)
        result += AText;
    return result;
}

} // namespace

TEST(EncodeHeader, CodesOnlyTheWordsThatNeedIt) {
    struct Case {
        AnsiString Text;
        char Encoding;
        AnsiString Coded;
    };
    const Case cases[] = {
        {"plain text", 'Q', "plain text"},
        {"caf\xe9 cr\xe8me", 'Q', "=?ISO-8859-1?Q?caf=E9_cr=E8me?="},
        {"Re: caf\xe9 au lait", 'Q', "Re: =?ISO-8859-1?Q?caf=E9?= au lait"},
        {"a=b caf\xe9?", 'Q', "a=b =?ISO-8859-1?Q?caf=E9=3F?="},
        {"caf\xe9", 'B', "=?ISO-8859-1?B?Y2Fm6Q==?="},
        {"caf\xe9", '8', "caf\xe9"},
        // A line end is coded, never passed on to start a header line.
        {"Hello\r\nBcc: x@y", 'Q', "=?ISO-8859-1?Q?Hello=0D=0ABcc:?= x@y"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EncodeHeader(c.Text, "", c.Encoding, "ISO-8859-1", TMxTransfer::bit8), c.Coded);
    }
}

TEST(EncodeHeader, LongRunsContinueOnLinesOfTheirOwnAndDecodeBack) {
    for (char encoding : {'Q', 'B'}) {
        AnsiString text;
        for (int i = 0; i < 40; ++i)
            text += "\xe9t\xe9 ";
        text += "\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9";
        const AnsiString coded = EncodeHeader(text, "", encoding, "ISO-8859-1", TMxTransfer::bit8);
        const auto lines = CrLfPieces(coded);
        EXPECT_GT(lines.size(), 3u);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_LE(lines[i].size(), 76u) << lines[i];
            if (i > 0) {
                EXPECT_EQ(lines[i][0], '\t');
            }
        }
        EXPECT_EQ(DecodeHeader(coded), text) << coded;
    }
}

TEST(DecodeHeader, Examples) {
    struct Case {
        AnsiString Text;
        AnsiString Decoded;
    };
    const Case cases[] = {
        {"=?iso-8859-1?q?caf=E9_cr=e8me?=", "caf\xe9 cr\xe8me"},
        {"Re: =?ISO-8859-1?B?Y2Fm6Q==?= ok", "Re: caf\xe9 ok"},
        {"=?ISO-8859-1?Q?a?= \r\n\t=?ISO-8859-1?Q?b?=", "ab"},
        {"=?ISO-8859-1?Q?a?= and =?ISO-8859-1?Q?b?=", "a and b"},
        {"=?windows-1252?Q?x=80?=", "x\x80"},
        {"=?UTF-8?Q?caf=C3=A9?=", "=?UTF-8?Q?caf=C3=A9?="},
        {"=?ISO-8859-1?Q?unterminated", "=?ISO-8859-1?Q?unterminated"},
        {"=?ISO-8859-1?B?bad*base64?= x", "=?ISO-8859-1?B?bad*base64?= x"},
        {"=?ISO-8859-1?Q?nul=00byte?=", "nulbyte"},
        {"=?ISO-2022-JP?B?GyRCRnxLXBsoQg==?=", "\x93\xfa\x96\x7b"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeHeader(c.Text), c.Decoded) << c.Text;
}

TEST(HeaderCoding, AgreesWithPythonsEmailHeader) {
    const auto rows = Reference("header");
    ASSERT_GE(rows.size(), 200u);
    AnsiString ours;
    for (const auto& row : rows) {
        const AnsiString text = FromHex(row[0]);
        EXPECT_EQ(ToHex(DecodeHeader(FromHex(row[1]))), row[0]) << FromHex(row[1]);
        for (char encoding : {'Q', 'B'}) {
            const AnsiString coded =
                EncodeHeader(text, "", encoding, "ISO-8859-1", TMxTransfer::bit8);
            EXPECT_EQ(DecodeHeader(coded), text) << coded;
            ours += row[0] + "\t" + ToHex(coded) + "\n";
        }
    }
    const auto disagreements = Reference("check-header", ours);
    EXPECT_TRUE(disagreements.empty()) << disagreements.front()[0];
}

TEST(HeaderCoding, FoldedLinesStayWithinTheLimitsAndPythonDecodesThemBack) {
    // Words of one, two, three and four bytes a character, mixed at random
    // with plain ones, under header names short and long, through the
    // header list as a message writes them.
    const std::vector<AnsiString> pool = {
        "Re:",
        "plain",
        "Auftrag",
        "x",
        "\xc3\x84",
        "\xc3\x84\xc3\x84\xc3\x84",
        "\xc3\x9f\xc3\x9f",
        "Gr\xc3\xbc\xc3\x9f"
        "e",
        "\xe6\x97\xa5\xe6\x9c\xac",
        "\xf0\x9f\x94\x94",
        "a=?b",
        "under_score?",
        "verylongplainwordwithoutanybreakinsideitatall",
    };
    const std::vector<AnsiString> names = {"Subject", "Organization",
                                           "X-A-Rather-Long-Header-Name"};
    std::mt19937 random(20240506);
    std::vector<std::pair<AnsiString, AnsiString>> texts; // header name, text
    // The reported case: a plain word between two long coded runs.
    texts.push_back({"Subject", Repeat("\xc3\x84", 40) + " plain " + Repeat("\xc3\x9f", 30)});
    for (int i = 0; i < 300; ++i) {
        AnsiString text;
        const int words = 1 + static_cast<int>(random() % 25);
        for (int w = 0; w < words; ++w) {
            AnsiString word = pool[random() % pool.size()];
            // Now and then a long run of one character, coded or not.
            if (random() % 6 == 0) word = Repeat(word, 1 + static_cast<int>(random() % 30));
            text += (w > 0 ? " " : "") + word;
        }
        texts.push_back({names[random() % names.size()], text});
    }

    AnsiString checks;
    for (const auto& [name, text] : texts) {
        for (char encoding : {'Q', 'B'}) {
            const AnsiString coded =
                EncodeHeader(text, "", encoding, "UTF-8", TMxTransfer::bit8, name.size() + 2);
            TMxHeaderList headers;
            headers.SetValueOf(name, coded);
            for (int i = 0; i < headers.Count(); ++i) {
                const AnsiString line = headers[i];
                if (line.find("=?") != AnsiString::npos) {
                    EXPECT_LE(line.size(), 76u) << line;
                }
                for (std::size_t at = line.find("=?"); at != AnsiString::npos;
                     at = line.find("=?", at + 2)) {
                    const std::size_t end =
                        line.find("?=", line.find('?', line.find('?', at + 2) + 1) + 1);
                    ASSERT_NE(end, AnsiString::npos) << line;
                    EXPECT_LE(end + 2 - at, 75u) << line;
                    at = end;
                }
            }
            EXPECT_EQ(DecodeMessageHeader(headers.ValueOf(name)), text) << coded;
            checks += ToHex(text) + "\t" + ToHex(coded) + "\n";
        }
    }
    const auto disagreements = Reference("check-header-utf8", checks);
    EXPECT_TRUE(disagreements.empty()) << disagreements.front()[0];
}

TEST(EncodeAddressItem, QuotesPrintableNamesAndCodesOthers) {
    TMxEMailAddressList list;
    struct Case {
        AnsiString Name;
        AnsiString Address;
        AnsiString Coded;
    };
    const Case cases[] = {
        {"", "a@b.com", "a@b.com"},
        {"Plain Name", "a@b.com", "\"Plain Name\" <a@b.com>"},
        {"Say \"hi\"", "a@b.com", "\"Say \\\"hi\\\"\" <a@b.com>"},
        {"Jos\xe9, Jr.", "a@b.com", "=?ISO-8859-1?Q?Jos=E9=2C_Jr=2E?= <a@b.com>"},
    };
    for (const Case& c : cases) {
        TMxEMailAddressItem* item = list.Add();
        item->SetName(c.Name);
        item->SetAddress(c.Address);
        EXPECT_EQ(EncodeAddressItem(*item, 'Q', "ISO-8859-1", TMxTransfer::bit8), c.Coded);
    }
    // Folded before the coded name, which does not fit the end of the line.
    EXPECT_EQ(EncodeAddressList(list, 'Q', "ISO-8859-1", TMxTransfer::bit8),
              cases[0].Coded + ", " + cases[1].Coded + ", " + cases[2].Coded + ",\r\n " +
                  cases[3].Coded);
}

TEST(Iso2022Jp, Examples) {
    struct Case {
        AnsiString ShiftJis;
        AnsiString Jis;
    };
    const Case cases[] = {
        {"abc", "abc"},
        {"\x93\xfa\x96\x7b", "\x1b$BF|K\\\x1b(B"},
        {"a\x93\xfa"
         "b",
         "a\x1b$BF|\x1b(Bb"},
        // Half-width ka + voiced mark is one full-width ga; ha + semi-voiced is pa.
        {"\xb6\xde\xca\xdf", "\x1b$B%,%Q\x1b(B"},
        // A mark after a kana that takes none stays a mark of its own.
        {"\xb1\xde", "\x1b$B%\"!+\x1b(B"},
        // A lead byte at the end has no partner and passes.
        {"x\x93", "x\x93"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShiftJisToIso2022Jp(c.ShiftJis), c.Jis) << ToHex(c.ShiftJis);
    }
    EXPECT_EQ(Iso2022JpToShiftJis("\x1b$BF|K\\\x1b(Bx"), "\x93\xfa\x96\x7bx");
    // Bytes outside the double-byte range pass instead of being mapped.
    EXPECT_EQ(Iso2022JpToShiftJis("\x1b$B\x01\x02"), "\x01\x02");
}

TEST(Iso2022Jp, AgreesWithPythonsCodecs) {
    const auto rows = Reference("jis");
    ASSERT_GE(rows.size(), 200u);
    for (const auto& row : rows) {
        const AnsiString jis = ShiftJisToIso2022Jp(FromHex(row[0]));
        EXPECT_EQ(ToHex(jis), row[1]) << row[0];
        // Back again gives the text with full-width kana, which Python's
        // Shift_JIS writes the same way.
        EXPECT_EQ(ShiftJisToIso2022Jp(Iso2022JpToShiftJis(jis)), jis);
    }
}
