#include "mail/MxCoderQuotedPrintable.h"

#include <vector>

namespace mail {

namespace {

// A soft break follows once a line is longer than this; the longest piece
// (=XX) plus the break's "=" still keeps the line within 76 characters.
constexpr std::size_t SoftBreakAfter = 71;

void AppendCoded(AnsiString& AOut, unsigned char AByte) {
    static const char digits[] = "0123456789ABCDEF";
    AOut += '=';
    AOut += digits[AByte >> 4];
    AOut += digits[AByte & 15];
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

} // namespace

AnsiString TMxEncoderQuotedPrintable::Encode(TStream* ASrcStream, int ABytes) {
    std::vector<unsigned char> data;
    unsigned char chunk[8192];
    while (static_cast<int>(data.size()) < ABytes) {
        const int want =
            std::min<int>(static_cast<int>(sizeof chunk), ABytes - static_cast<int>(data.size()));
        const int got = ASrcStream->Read(chunk, want);
        if (got <= 0) break;
        data.insert(data.end(), chunk, chunk + got);
    }

    const std::size_t n = data.size();
    auto isLineBreak = [&](std::size_t i) {
        return i + 1 < n && data[i] == '\r' && data[i + 1] == '\n';
    };

    AnsiString out;
    out.reserve(n + n / 8);
    std::size_t lineLength = 0;
    bool atLineStart = true;
    for (std::size_t i = 0; i < n; ++i) {
        if (isLineBreak(i)) {
            out += "\r\n";
            ++i;
            lineLength = 0;
            atLineStart = true;
            continue;
        }
        const unsigned char b = data[i];
        const std::size_t before = out.size();
        if (b == ' ' || b == '\t') {
            // White space at a line's end or the text's end would be lost to
            // the transport's trimming, so it is coded there.
            const bool atEnd = i + 1 == n || data[i + 1] == '\r' || data[i + 1] == '\n';
            if (atEnd) {
                AppendCoded(out, b);
            } else {
                out += static_cast<char>(b);
            }
        } else if (b == '.') {
            // A dot opening a line could read as the end of the message.
            if (atLineStart) {
                AppendCoded(out, b);
            } else {
                out += '.';
            }
        } else if (b != '=' && b >= '!' && b <= '~') {
            out += static_cast<char>(b);
        } else {
            // Includes a CR or LF that is not part of a CR LF pair: left as it
            // stands it would be a bare line end on the wire.
            AppendCoded(out, b);
        }
        lineLength += out.size() - before;
        atLineStart = false;
        if (lineLength > SoftBreakAfter && i + 1 < n && !isLineBreak(i + 1)) {
            out += "=\r\n";
            lineLength = 0;
            atLineStart = true;
        }
    }
    return out;
}

void TMxDecoderQuotedPrintable::DecodeToStream(const AnsiString& AIn, TStream* ADestStream) {
    std::size_t n = AIn.size();
    while (n > 0 && (AIn[n - 1] == ' ' || AIn[n - 1] == '\t'))
        --n;

    // Drops one line break (CR LF, CR or LF) at i.
    auto skipLineBreak = [&](std::size_t& i) {
        if (i < n && AIn[i] == '\r') {
            ++i;
            if (i < n && AIn[i] == '\n') ++i;
        } else if (i < n && AIn[i] == '\n') {
            ++i;
        }
    };

    AnsiString out;
    out.reserve(n);
    std::size_t i = 0;
    while (i < n) {
        const char c = AIn[i++];
        if (c != '=') {
            out += c;
            continue;
        }
        int value = 0;
        int digits = 0;
        while (digits < 2 && i < n && HexValue(AIn[i]) >= 0) {
            value = value * 16 + HexValue(AIn[i]);
            ++i;
            ++digits;
        }
        if (digits == 0) {
            skipLineBreak(i); // a soft break joins the lines
        } else if (value == ' ' && i < n && (AIn[i] == '\r' || AIn[i] == '\n')) {
            out += " \r\n";
            skipLineBreak(i);
        } else {
            out += static_cast<char>(value);
        }
    }
    if (!out.empty()) ADestStream->WriteBuffer(out.data(), static_cast<int>(out.size()));
}

} // namespace mail
