#include "mail/MxCoder3to4.h"

#include "mail/MxExceptions.h"

#include <vector>

namespace mail {

const AnsiString MxBase64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const AnsiString MxUUEAlphabet =
    "`!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_";
const AnsiString MxXXEAlphabet = "+-0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

namespace {

TMxDecodeTable MakeDecodeTable(const AnsiString& AAlphabet) {
    TMxDecodeTable table;
    table.fill(255);
    for (std::size_t i = 0; i < AAlphabet.size(); ++i) {
        table[static_cast<std::uint8_t>(AAlphabet[i])] = static_cast<std::uint8_t>(i);
    }
    return table;
}

const TMxDecodeTable& Base64Table() {
    static const TMxDecodeTable table = MakeDecodeTable(MxBase64Alphabet);
    return table;
}
const TMxDecodeTable& UUETable() {
    static const TMxDecodeTable table = MakeDecodeTable(MxUUEAlphabet);
    return table;
}
const TMxDecodeTable& XXETable() {
    static const TMxDecodeTable table = MakeDecodeTable(MxXXEAlphabet);
    return table;
}

std::vector<std::uint8_t> ReadUpTo(TStream* AStream, int ACount) {
    std::vector<std::uint8_t> data;
    std::uint8_t chunk[8192];
    while (static_cast<int>(data.size()) < ACount) {
        const int want =
            std::min<int>(static_cast<int>(sizeof chunk), ACount - static_cast<int>(data.size()));
        const int got = AStream->Read(chunk, want);
        if (got <= 0) break;
        data.insert(data.end(), chunk, chunk + got);
    }
    return data;
}

} // namespace

// --- encoders ---------------------------------------------------------------

TMxEncoder3to4::TMxEncoder3to4(TComponent* AOwner, AnsiString ACodingTable, char AFillChar)
    : TMxEncoder(AOwner), FCodingTable(std::move(ACodingTable)), FFillChar(AFillChar) {}

AnsiString TMxEncoder3to4::EncodeBytes(const std::uint8_t* AData, std::size_t ACount) const {
    AnsiString result((ACount + 2) / 3 * 4, FFillChar);
    const char* table = FCodingTable.data();
    char* out = result.data();
    std::size_t i = 0;
    for (; i + 3 <= ACount; i += 3, out += 4) {
        const std::uint32_t group = (AData[i] << 16) | (AData[i + 1] << 8) | AData[i + 2];
        out[0] = table[group >> 18];
        out[1] = table[(group >> 12) & 63];
        out[2] = table[(group >> 6) & 63];
        out[3] = table[group & 63];
    }
    // A last group of one or two bytes keeps one or two fill characters.
    if (ACount - i == 1) {
        out[0] = table[AData[i] >> 2];
        out[1] = table[(AData[i] << 4) & 63];
    } else if (ACount - i == 2) {
        out[0] = table[AData[i] >> 2];
        out[1] = table[((AData[i] << 4) & 63) | (AData[i + 1] >> 4)];
        out[2] = table[(AData[i + 1] << 2) & 63];
    }
    return result;
}

AnsiString TMxEncoder3to4::Encode(TStream* ASrcStream, int ABytes) {
    if (ABytes != MxAllBytes && ABytes % 3 != 0) throw EMxException("Uneven size in Encode.");
    const std::vector<std::uint8_t> data = ReadUpTo(ASrcStream, ABytes);
    return EncodeBytes(data.data(), data.size());
}

TMxEncoderMIME::TMxEncoderMIME(TComponent* AOwner)
    : TMxEncoder3to4(AOwner, MxBase64Alphabet, '=') {}

AnsiString TMxEncoderUUEBase::Encode(TStream* ASrcStream, int ABytes) {
    if (ABytes != MxAllBytes && ABytes % 3 != 0) throw EMxException("Uneven size in Encode.");
    // One line's count is one alphabet character, so a line holds at most 63
    // bytes; reading one more tells a longer source apart.
    const std::vector<std::uint8_t> data = ReadUpTo(ASrcStream, std::min(ABytes, 64));
    if (data.empty()) return AnsiString();
    if (data.size() > 63) {
        throw EMxException("Too many bytes for one " + ClassName() +
                           " line in Encode: at most 63 are allowed.");
    }
    return FCodingTable[data.size()] + EncodeBytes(data.data(), data.size());
}

TMxEncoderUUE::TMxEncoderUUE(TComponent* AOwner) : TMxEncoderUUEBase(AOwner, MxUUEAlphabet, '`') {}

TMxEncoderXXE::TMxEncoderXXE(TComponent* AOwner) : TMxEncoderUUEBase(AOwner, MxXXEAlphabet, '+') {}

// --- decoders ---------------------------------------------------------------

TMxDecoder4to3::TMxDecoder4to3(TComponent* AOwner, const TMxDecodeTable& ADecodeTable,
                               char AFillChar)
    : TMxDecoder(AOwner), FDecodeTable(ADecodeTable), FFillChar(AFillChar) {}

std::uint8_t TMxDecoder4to3::ValueOf(const AnsiString& AIn, std::size_t AIndex) const {
    const std::uint8_t c = static_cast<std::uint8_t>(AIn[AIndex]);
    const std::uint8_t value = FDecodeTable[c];
    if (value == 255 || AIn[AIndex] == FFillChar) {
        throw EMxException("Invalid character code " + std::to_string(c) + " at position " +
                           std::to_string(AIndex + 1) + " in DecodeToStream.");
    }
    return value;
}

void TMxDecoder4to3::DecodeToStream(const AnsiString& AIn, TStream* ADestStream) {
    if (AIn.size() % 4 != 0) throw EMxException("Uneven size in DecodeToStream.");
    AnsiString bytes;
    bytes.reserve(AIn.size() / 4 * 3);
    for (std::size_t i = 0; i < AIn.size(); i += 4) {
        // The common group: four alphabet characters, no fill.
        const std::uint8_t* quad = reinterpret_cast<const std::uint8_t*>(AIn.data() + i);
        const std::uint32_t a = FDecodeTable[quad[0]], b = FDecodeTable[quad[1]],
                            c = FDecodeTable[quad[2]], d = FDecodeTable[quad[3]];
        if ((a | b | c | d) < 64 && AIn[i + 2] != FFillChar && AIn[i + 3] != FFillChar) {
            const std::uint32_t bits = (a << 18) | (b << 12) | (c << 6) | d;
            const char three[3] = {static_cast<char>(bits >> 16),
                                   static_cast<char>((bits >> 8) & 0xFF),
                                   static_cast<char>(bits & 0xFF)};
            bytes.append(three, 3);
            continue;
        }
        const std::uint32_t v1 = ValueOf(AIn, i);
        const std::uint32_t v2 = ValueOf(AIn, i + 1);
        if (AIn[i + 2] == FFillChar) {
            bytes += static_cast<char>((v1 << 2) | (v2 >> 4));
            continue;
        }
        const std::uint32_t v3 = ValueOf(AIn, i + 2);
        if (AIn[i + 3] == FFillChar) {
            bytes += static_cast<char>((v1 << 2) | (v2 >> 4));
            bytes += static_cast<char>(((v2 << 4) | (v3 >> 2)) & 0xFF);
            continue;
        }
        const std::uint32_t v4 = ValueOf(AIn, i + 3);
        const std::uint32_t group = (v1 << 18) | (v2 << 12) | (v3 << 6) | v4;
        bytes += static_cast<char>(group >> 16);
        bytes += static_cast<char>((group >> 8) & 0xFF);
        bytes += static_cast<char>(group & 0xFF);
    }
    if (!bytes.empty()) ADestStream->WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
}

TMxDecoderMIME::TMxDecoderMIME(TComponent* AOwner) : TMxDecoder4to3(AOwner, Base64Table(), '=') {}

TMxDecoderUUEBase::TMxDecoderUUEBase(TComponent* AOwner, const TMxDecodeTable& ADecodeTable,
                                     char AZeroChar)
    : TMxDecoder4to3(AOwner, ADecodeTable, '~'), FZeroChar(AZeroChar) {}

void TMxDecoderUUEBase::DecodeToStream(const AnsiString& AIn, TStream* ADestStream) {
    if (AIn.empty()) return;
    AnsiString line = PrepareLine(AIn);
    const std::uint8_t count = FDecodeTable[static_cast<std::uint8_t>(line[0])];
    if (count == 255) {
        throw EMxException("Invalid line length character code " +
                           std::to_string(static_cast<std::uint8_t>(line[0])) +
                           " in DecodeToStream.");
    }
    line.erase(0, 1);
    const std::size_t whole = count / 3 * 4;
    const std::size_t rest = count % 3;
    line.resize(rest == 0 ? whole : whole + 4, FZeroChar);
    if (rest == 1) {
        line[line.size() - 2] = FFillChar;
        line[line.size() - 1] = FFillChar;
    } else if (rest == 2) {
        line[line.size() - 1] = FFillChar;
    }
    TMxDecoder4to3::DecodeToStream(line, ADestStream);
}

TMxDecoderUUE::TMxDecoderUUE(TComponent* AOwner) : TMxDecoderUUEBase(AOwner, UUETable(), '`') {}

AnsiString TMxDecoderUUE::PrepareLine(const AnsiString& AIn) const {
    AnsiString line = AIn;
    for (char& c : line) {
        if (c == ' ') c = '`';
    }
    return line;
}

TMxDecoderXXE::TMxDecoderXXE(TComponent* AOwner) : TMxDecoderUUEBase(AOwner, XXETable(), '+') {}

} // namespace mail
