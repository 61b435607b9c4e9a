#include "mail/MxCoderQuotedPrintable.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace mail {

namespace {

// A soft break follows once a line is longer than this; the longest piece
// (=XX) plus the break's "=" still keeps the line within 76 characters.
constexpr std::size_t SoftBreakAfter = 71;

// Writes "=XX" at AOut and returns the end.
char* PutCoded(char* AOut, unsigned char AByte) {
    static const char digits[] = "0123456789ABCDEF";
    AOut[0] = '=';
    AOut[1] = digits[AByte >> 4];
    AOut[2] = digits[AByte & 15];
    return AOut + 3;
}

constexpr std::array<signed char, 256> HexDigits = [] {
    std::array<signed char, 256> digits{};
    for (auto& digit : digits)
        digit = -1;
    for (int c = '0'; c <= '9'; ++c)
        digits[static_cast<std::size_t>(c)] = static_cast<signed char>(c - '0');
    for (int c = 'A'; c <= 'F'; ++c)
        digits[static_cast<std::size_t>(c)] = static_cast<signed char>(c - 'A' + 10);
    for (int c = 'a'; c <= 'f'; ++c)
        digits[static_cast<std::size_t>(c)] = static_cast<signed char>(c - 'a' + 10);
    return digits;
}();

int HexValue(char c) {
    return HexDigits[static_cast<unsigned char>(c)];
}

} // namespace

AnsiString TMxEncoderQuotedPrintable::Encode(TStream* ASrcStream, int ABytes) {
    // The bytes where they lie when the stream is memory, else read.
    std::vector<unsigned char> held;
    const unsigned char* data = nullptr;
    std::size_t n = 0;
    if (auto* memory = dynamic_cast<TCustomMemoryStream*>(ASrcStream)) {
        const std::int64_t position = memory->GetPosition();
        const std::int64_t count = std::min<std::int64_t>(
            std::max<std::int64_t>(memory->GetSize() - position, 0), ABytes);
        memory->Seek(count, soCurrent);
        data = static_cast<const unsigned char*>(memory->Memory()) + position;
        n = static_cast<std::size_t>(count);
    } else {
        unsigned char chunk[8192];
        while (static_cast<int>(held.size()) < ABytes) {
            const int want = std::min<int>(static_cast<int>(sizeof chunk),
                                           ABytes - static_cast<int>(held.size()));
            const int got = ASrcStream->Read(chunk, want);
            if (got <= 0) break;
            held.insert(held.end(), chunk, chunk + got);
        }
        data = held.data();
        n = held.size();
    }

    auto isLineBreak = [&](std::size_t i) {
        return i + 1 < n && data[i] == '\r' && data[i + 1] == '\n';
    };

    // Each byte gives at most three characters, and a soft break (three
    // more) comes after at least 72 of them.
    AnsiString out(3 * n + n / 8 + 8, '\0');
    char* const start = out.data();
    char* to = start;
    std::size_t lineLength = 0;
    bool atLineStart = true;
    for (std::size_t i = 0; i < n; ++i) {
        if (isLineBreak(i)) {
            *to++ = '\r';
            *to++ = '\n';
            ++i;
            lineLength = 0;
            atLineStart = true;
            continue;
        }
        const unsigned char b = data[i];
        char* const before = to;
        if (b == ' ' || b == '\t') {
            // White space at a line's end or the text's end would be lost to
            // the transport's trimming, so it is coded there.
            const bool atEnd = i + 1 == n || data[i + 1] == '\r' || data[i + 1] == '\n';
            if (atEnd)
                to = PutCoded(to, b);
            else
                *to++ = static_cast<char>(b);
        } else if (b == '.') {
            // A dot opening a line could read as the end of the message.
            if (atLineStart)
                to = PutCoded(to, b);
            else
                *to++ = '.';
        } else if (b != '=' && b >= '!' && b <= '~') {
            *to++ = static_cast<char>(b);
        } else {
            // Includes a CR or LF that is not part of a CR LF pair: left as it
            // stands it would be a bare line end on the wire.
            to = PutCoded(to, b);
        }
        lineLength += static_cast<std::size_t>(to - before);
        atLineStart = false;
        if (lineLength > SoftBreakAfter && i + 1 < n && !isLineBreak(i + 1)) {
            *to++ = '=';
            *to++ = '\r';
            *to++ = '\n';
            lineLength = 0;
            atLineStart = true;
        }
    }
    out.resize(static_cast<std::size_t>(to - start));
    return out;
}

namespace {

// The decoded bytes of AIn; never longer than AIn.
AnsiString DecodeQuotedPrintable(const AnsiString& AIn) {
    std::size_t n = AIn.size();
    while (n > 0 && (AIn[n - 1] == ' ' || AIn[n - 1] == '\t'))
        --n;
    const char* in = AIn.data();

    // Drops one line break (CR LF, CR or LF) at i.
    auto skipLineBreak = [&](std::size_t& i) {
        if (i < n && in[i] == '\r') {
            ++i;
            if (i < n && in[i] == '\n') ++i;
        } else if (i < n && in[i] == '\n') {
            ++i;
        }
    };

    // Eight bytes of slack: plain text is copied eight bytes at a time.
    AnsiString out(n + 8, '\0');
    char* to = out.data();
    std::size_t i = 0;
    while (i < n) {
        // Everything up to the next "=" stands as it is.
        while (i + 8 <= n) {
            std::uint64_t word;
            std::memcpy(&word, in + i, 8);
            std::memcpy(to, &word, 8);
            // A zero byte of word ^ "========" marks an "=".
            const std::uint64_t x = word ^ 0x3D3D3D3D3D3D3D3Dull;
            const std::uint64_t found = (x - 0x0101010101010101ull) & ~x & 0x8080808080808080ull;
            if (found == 0) {
                i += 8;
                to += 8;
                continue;
            }
            const std::size_t plain = static_cast<std::size_t>(
                (std::endian::native == std::endian::little ? std::countr_zero(found)
                                                            : std::countl_zero(found)) /
                8);
            i += plain;
            to += plain;
            break;
        }
        while (i < n && in[i] != '=')
            *to++ = in[i++];
        if (i == n) break;
        ++i;
        int value = 0;
        int digits = 0;
        for (int digit; digits < 2 && i < n && (digit = HexValue(in[i])) >= 0; ++i, ++digits)
            value = value * 16 + digit;
        if (digits == 0) {
            // A soft break joins the lines; blanks a relay left between its
            // "=" and the line end are padding, not text.
            std::size_t end = i;
            while (end < n && (in[end] == ' ' || in[end] == '\t'))
                ++end;
            if (end == n || in[end] == '\r' || in[end] == '\n') i = end;
            skipLineBreak(i);
        } else if (value == ' ' && i < n && (in[i] == '\r' || in[i] == '\n')) {
            *to++ = ' ';
            *to++ = '\r';
            *to++ = '\n';
            skipLineBreak(i);
        } else {
            *to++ = static_cast<char>(value);
        }
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
    return out;
}

} // namespace

void TMxDecoderQuotedPrintable::DecodeToStream(const AnsiString& AIn, TStream* ADestStream) {
    const AnsiString out = DecodeQuotedPrintable(AIn);
    if (!out.empty()) ADestStream->WriteBuffer(out.data(), static_cast<int>(out.size()));
}

AnsiString TMxDecoderQuotedPrintable::DecodeString(const AnsiString& AIn) {
    return DecodeQuotedPrintable(AIn);
}

} // namespace mail
