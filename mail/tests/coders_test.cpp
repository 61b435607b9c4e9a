#include "Reference.h"
#include "TextLines.h"
#include "mail/MxCoder3to4.h"
#include "mail/MxCoderQuotedPrintable.h"
#include "mail/MxExceptions.h"
#include "mail/MxReadMemoryStream.h"

#include <gtest/gtest.h>

#include <random>

using namespace mail;
using mailtest::CrLfPieces;
using mailtest::FromHex;
using mailtest::Reference;
using mailtest::ToHex;

namespace {

AnsiString QP(const AnsiString& AText) {
    return MxEncodeString<TMxEncoderQuotedPrintable>(AText);
}
AnsiString UnQP(const AnsiString& AText) {
    return MxDecodeString<TMxDecoderQuotedPrintable>(AText);
}

// Every line within 76 characters and no CR or LF outside a CR LF pair.
void ExpectWellFormedQP(const AnsiString& ACoded) {
    for (const AnsiString& line : CrLfPieces(ACoded)) {
        EXPECT_LE(line.size(), 76u) << line;
        EXPECT_EQ(line.find_first_of("\r\n"), AnsiString::npos) << "bare line end in " << line;
    }
}

} // namespace

TEST(Base64, FillAndLineLength) {
    EXPECT_EQ(MxEncodeString<TMxEncoderMIME>("a"), "YQ==");
    EXPECT_EQ(MxEncodeString<TMxEncoderMIME>("ab"), "YWI=");
    EXPECT_EQ(MxEncodeString<TMxEncoderMIME>("abc"), "YWJj");
    EXPECT_EQ(MxEncodeString<TMxEncoderMIME>(AnsiString(57, 'x')).size(), 76u);
    EXPECT_EQ(MxEncodeString<TMxEncoderMIME>(""), "");
}

TEST(Base64, EncodeCodesOnlyTheCountGivenFromThePosition) {
    TMxReadMemoryStream stream;
    const AnsiString data = "0123456789";
    stream.SetBlock(data.data(), static_cast<std::int64_t>(data.size()));
    stream.Seek(1, soBeginning);
    TMxEncoderMIME encoder;
    EXPECT_EQ(encoder.Encode(&stream, 3), MxEncodeString<TMxEncoderMIME>("123"));
    EXPECT_EQ(encoder.Encode(&stream, 30), MxEncodeString<TMxEncoderMIME>("456789"));
    EXPECT_THROW(
        {
            try {
                encoder.Encode(&stream, 4);
            } catch (const EMxException& e) {
                EXPECT_STREQ(e.what(), "Uneven size in Encode.");
                throw;
            }
        },
        EMxException);
}

TEST(Base64, DecoderRejectsBadInputClearly) {
    struct Case {
        AnsiString Text;
        AnsiString Message;
    };
    const Case cases[] = {
        {"YWJ", "Uneven size in DecodeToStream."},
        {"YW*j", "Invalid character code 42 at position 3 in DecodeToStream."},
        {"=WJj", "Invalid character code 61 at position 1 in DecodeToStream."},
        {AnsiString("YW\xff"
                    "j"),
         "Invalid character code 255 at position 3 in DecodeToStream."},
    };
    for (const Case& c : cases) {
        try {
            MxDecodeString<TMxDecoderMIME>(c.Text);
            ADD_FAILURE() << "no error for " << c.Text;
        } catch (const EMxException& e) {
            EXPECT_EQ(AnsiString(e.what()), c.Message);
        }
    }
}

TEST(Base64, EveryByteValueIsHandledWithoutFault) {
    // Each byte in each place of a group: decoded or refused, never read
    // through a table out of range (the sanitizers watch).
    for (int b = 0; b < 256; ++b) {
        for (int place = 0; place < 4; ++place) {
            AnsiString text = "QUJD";
            text[place] = static_cast<char>(b);
            try {
                MxDecodeString<TMxDecoderMIME>(text);
            } catch (const EMxException&) {
            }
            try {
                MxDecodeString<TMxDecoderUUE>("#" + text);
            } catch (const EMxException&) {
            }
            try {
                MxDecodeString<TMxDecoderXXE>(AnsiString(1, static_cast<char>(b)) + text);
            } catch (const EMxException&) {
            }
        }
    }
}

TEST(Base64, MatchesPythonBothWays) {
    const auto rows = Reference("base64");
    ASSERT_GE(rows.size(), 300u);
    for (const auto& row : rows) {
        const AnsiString data = FromHex(row[0]);
        EXPECT_EQ(MxEncodeString<TMxEncoderMIME>(data), row[1]) << row[0];
        EXPECT_EQ(ToHex(MxDecodeString<TMxDecoderMIME>(row[1])), row[0]);
    }
}

TEST(UUE, MatchesPythonAndXXEIsTheSameCodeInItsOwnAlphabet) {
    const auto rows = Reference("uu");
    ASSERT_GE(rows.size(), 300u);
    for (const auto& row : rows) {
        const AnsiString data = FromHex(row[0]);
        EXPECT_EQ(MxEncodeString<TMxEncoderUUE>(data), data.empty() ? "" : row[1]) << row[0];
        EXPECT_EQ(ToHex(MxDecodeString<TMxDecoderUUE>(row[1])), row[0]);

        AnsiString xxe;
        for (char c : row[1])
            xxe += MxXXEAlphabet[MxUUEAlphabet.find(c)];
        if (!data.empty()) {
            EXPECT_EQ(MxEncodeString<TMxEncoderXXE>(data), xxe);
        }
        EXPECT_EQ(ToHex(MxDecodeString<TMxDecoderXXE>(xxe)), row[0]);
    }
}

TEST(UUE, LineRules) {
    // Spaces stand for the grave accent; a short line is padded to its count.
    EXPECT_EQ(MxDecodeString<TMxDecoderUUE>("#86)C"), "abc");
    EXPECT_EQ(MxDecodeString<TMxDecoderUUE>("!80  "), "a");
    EXPECT_EQ(MxDecodeString<TMxDecoderUUE>("#86"), AnsiString("a`\0", 3));
    EXPECT_EQ(MxDecodeString<TMxDecoderUUE>("`"), "");
    // The count is one character, so a line holds at most 63 bytes.
    EXPECT_NO_THROW(MxEncodeString<TMxEncoderUUE>(AnsiString(63, 'x')));
    EXPECT_THROW(MxEncodeString<TMxEncoderUUE>(AnsiString(64, 'x')), EMxException);
    EXPECT_THROW(MxDecodeString<TMxDecoderUUE>("~abc"), EMxException);
}

TEST(QuotedPrintable, EncodingExamples) {
    struct Case {
        AnsiString Input;
        AnsiString Coded;
    };
    const Case cases[] = {
        {AnsiString(100, 'a') + "\r\n",
         AnsiString(72, 'a') + "=\r\n" + AnsiString(28, 'a') + "\r\n"},
        {".start\r\n", "=2Estart\r\n"},
        {"a.b\r\n.c", "a.b\r\n=2Ec"},
        {"x=y", "x=3Dy"},
        {"end \r\nnext", "end=20\r\nnext"},
        {"tab\t\r\n", "tab=09\r\n"},
        {"last ", "last=20"},
        {"in side", "in side"},
        {"caf\xe9", "caf=E9"},
        {"one\ntwo\rthree", "one=0Atwo=0Dthree"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QP(c.Input), c.Coded) << c.Input;
}

TEST(QuotedPrintable, DecodingExamples) {
    struct Case {
        AnsiString Coded;
        AnsiString Output;
    };
    const Case cases[] = {
        {"a=3Db", "a=b"},
        {"joined=\r\nline", "joinedline"},
        {"kept=20\r\nnext", "kept \r\nnext"},
        {"kept=20\nnext", "kept \r\nnext"},
        {"lower=3d", "lower="},
        {"soft=\r\n\r\nblank line stays", "soft\r\nblank line stays"},
        {"trailing  \t", "trailing"},
        {"=E9t=E9", "\xe9t\xe9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UnQP(c.Coded), c.Output) << c.Coded;
}

TEST(QuotedPrintable, LongLinesBreakWithinLimitsAndNeverBetweenCRAndLF) {
    // Runs of coded bytes around the break point, and a CR LF right where a
    // soft break would fall.
    for (std::size_t prefix = 60; prefix < 80; ++prefix) {
        for (const AnsiString& tail : {AnsiString("\r\n"), AnsiString("\xff\xff\xff\r\nz"),
                                       AnsiString(" \r\n"), AnsiString("=\r\n.")}) {
            const AnsiString input = AnsiString(prefix, 'q') + tail + AnsiString(90, '\xe9');
            const AnsiString coded = QP(input);
            ExpectWellFormedQP(coded);
            EXPECT_EQ(UnQP(coded), input);
        }
    }
}

TEST(QuotedPrintable, AgreesWithPython) {
    // Python's coder breaks its lines elsewhere, so each side decodes the other.
    AnsiString ours;
    const auto rows = Reference("qp");
    ASSERT_GE(rows.size(), 300u);
    for (const auto& row : rows) {
        const AnsiString data = FromHex(row[0]);
        const AnsiString coded = QP(data);
        ExpectWellFormedQP(coded);
        EXPECT_EQ(UnQP(coded), data) << row[0];
        ours += row[0] + "\t" + ToHex(coded) + "\n";
        // Python leaves a lone CR or LF as it stands; ours codes it, so only
        // texts without one decode back byte for byte.
        const AnsiString python = FromHex(row[1]);
        if (data.find_first_of("\r\n") == AnsiString::npos) {
            EXPECT_EQ(ToHex(UnQP(python)), row[0]);
        }
    }
    const auto disagreements = Reference("check-qp", ours);
    EXPECT_TRUE(disagreements.empty()) << disagreements.front()[0];
}

TEST(Base64, AnyStreamCodesAsMemoryDoes) {
    // Memory is coded where it lies; other streams are read. Both take the
    // count from the position and move past what they coded.
    std::mt19937 random(3);
    AnsiString data(1000, '\0');
    for (char& c : data)
        c = static_cast<char>(random() & 0xFF);
    for (const int count : {0, 3, 57, 300, 999, MxAllBytes}) {
        TMxReadMemoryStream memory;
        memory.SetBlock(data.data(), static_cast<std::int64_t>(data.size()));
        memory.Seek(1, soBeginning);
        TStringStream text(data);
        text.Seek(1, soBeginning);
        TMxEncoderMIME encoder;
        const AnsiString fromMemory = encoder.Encode(&memory, count);
        EXPECT_EQ(fromMemory, encoder.Encode(&text, count)) << count;
        EXPECT_EQ(memory.GetPosition(), text.GetPosition()) << count;
        EXPECT_EQ(MxDecodeString<TMxDecoderMIME>(fromMemory),
                  data.substr(1, static_cast<std::size_t>(count)))
            << count;
    }
}

TEST(QuotedPrintable, DecodesAnyTextByTheCharacterRules) {
    // The rules one character at a time, beside the decoder on random text
    // full of escapes, broken escapes, soft breaks and trailing blanks.
    auto byRules = [](const AnsiString& in) {
        std::size_t n = in.size();
        while (n > 0 && (in[n - 1] == ' ' || in[n - 1] == '\t'))
            --n;
        auto hex = [](char c) {
            if (c >= '0' && c <= '9') return c - '0';
            if (c >= 'A' && c <= 'F') return c - 'A' + 10;
            if (c >= 'a' && c <= 'f') return c - 'a' + 10;
            return -1;
        };
        auto lineBreak = [&](std::size_t& i) {
            if (i < n && in[i] == '\r') {
                ++i;
                if (i < n && in[i] == '\n') ++i;
            } else if (i < n && in[i] == '\n') {
                ++i;
            }
        };
        AnsiString out;
        for (std::size_t i = 0; i < n;) {
            const char c = in[i++];
            if (c != '=') {
                out += c;
                continue;
            }
            int value = 0, digits = 0;
            while (digits < 2 && i < n && hex(in[i]) >= 0)
                value = value * 16 + hex(in[i++]), ++digits;
            if (digits == 0) {
                // Blanks between a soft break's "=" and the line end are a
                // relay's padding.
                std::size_t end = i;
                while (end < n && (in[end] == ' ' || in[end] == '\t'))
                    ++end;
                if (end == n || in[end] == '\r' || in[end] == '\n') i = end;
                lineBreak(i);
            } else if (value == ' ' && i < n && (in[i] == '\r' || in[i] == '\n')) {
                out += " \r\n";
                lineBreak(i);
            } else {
                out += static_cast<char>(value);
            }
        }
        return out;
    };
    const char alphabet[] = "==2003aFgx \t\r\n.";
    std::mt19937 random(11);
    for (int round = 0; round < 2000; ++round) {
        AnsiString text(random() % 40, ' ');
        for (char& c : text)
            c = alphabet[random() % (sizeof alphabet - 1)];
        EXPECT_EQ(UnQP(text), byRules(text)) << text;
    }
}
