#include "mail/MxCoder3to4.h"

#include "mail/MxExceptions.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <utility>
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

// For each 12 bits, the two alphabet characters that code them, as they lie
// in memory.
using PairTable = std::array<std::uint16_t, 4096>;

PairTable MakePairTable(const AnsiString& AAlphabet) {
    PairTable pairs{};
    for (std::size_t bits = 0; bits < pairs.size(); ++bits) {
        const char two[2] = {AAlphabet[bits >> 6], AAlphabet[bits & 63]};
        std::memcpy(&pairs[bits], two, 2);
    }
    return pairs;
}

const std::uint16_t* PairsOf(const AnsiString& AAlphabet) {
    static const PairTable base64 = MakePairTable(MxBase64Alphabet);
    static const PairTable uue = MakePairTable(MxUUEAlphabet);
    static const PairTable xxe = MakePairTable(MxXXEAlphabet);
    if (AAlphabet == MxBase64Alphabet) return base64.data();
    if (AAlphabet == MxUUEAlphabet) return uue.data();
    if (AAlphabet == MxXXEAlphabet) return xxe.data();
    return nullptr;
}

// Each character's value put in place for its position in a group of four,
// so that a group is four look-ups or-ed together; a character outside the
// alphabet sets the top bit.
struct ShiftedTables {
    std::array<std::uint32_t, 256> At[4];
};

ShiftedTables MakeShifted(const TMxDecodeTable& ATable) {
    ShiftedTables shifted;
    for (int c = 0; c < 256; ++c) {
        const std::uint32_t value = ATable[static_cast<std::size_t>(c)];
        for (int place = 0; place < 4; ++place)
            shifted.At[place][static_cast<std::size_t>(c)] =
                value < 64 ? value << (18 - 6 * place) : 0x80000000u;
    }
    return shifted;
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

// Up to ACount bytes from AStream's position without copying them when the
// stream is a block of memory (the strings the coders are given are); the
// position moves past them either way. AHeld keeps bytes read otherwise.
std::pair<const std::uint8_t*, std::size_t> BytesOf(TStream* AStream, int ACount,
                                                    std::vector<std::uint8_t>& AHeld) {
    if (auto* memory = dynamic_cast<TCustomMemoryStream*>(AStream)) {
        const std::int64_t position = memory->GetPosition();
        const std::int64_t left = std::max<std::int64_t>(memory->GetSize() - position, 0);
        const std::int64_t count = std::min<std::int64_t>(left, ACount);
        memory->Seek(count, soCurrent);
        return {static_cast<const std::uint8_t*>(memory->Memory()) + position,
                static_cast<std::size_t>(count)};
    }
    AHeld = ReadUpTo(AStream, ACount);
    return {AHeld.data(), AHeld.size()};
}

} // namespace

// --- encoders ---------------------------------------------------------------

TMxEncoder3to4::TMxEncoder3to4(TComponent* AOwner, AnsiString ACodingTable, char AFillChar)
    : TMxEncoder(AOwner), FCodingTable(std::move(ACodingTable)), FFillChar(AFillChar),
      FPairs(PairsOf(FCodingTable)) {}

AnsiString TMxEncoder3to4::EncodeString(const AnsiString& AIn) {
    return EncodeBytes(reinterpret_cast<const std::uint8_t*>(AIn.data()), AIn.size());
}

AnsiString TMxEncoder3to4::EncodeBytes(const std::uint8_t* AData, std::size_t ACount) const {
    AnsiString result((ACount + 2) / 3 * 4, FFillChar);
    const char* table = FCodingTable.data();
    char* out = result.data();
    std::size_t i = 0;
    // The table is read through a local: stores into the text could
    // otherwise be taken to change the member, which would be read again
    // for every group.
    if (const std::uint16_t* pairs = FPairs) {
        for (; i + 3 <= ACount; i += 3, out += 4) {
            const std::uint32_t group = (AData[i] << 16) | (AData[i + 1] << 8) | AData[i + 2];
            const std::uint16_t both[2] = {pairs[group >> 12], pairs[group & 0xFFF]};
            std::memcpy(out, both, 4);
        }
    }
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
    std::vector<std::uint8_t> held;
    const auto [data, count] = BytesOf(ASrcStream, ABytes, held);
    return EncodeBytes(data, count);
}

TMxEncoderMIME::TMxEncoderMIME(TComponent* AOwner)
    : TMxEncoder3to4(AOwner, MxBase64Alphabet, '=') {}

AnsiString TMxEncoderUUEBase::Encode(TStream* ASrcStream, int ABytes) {
    if (ABytes != MxAllBytes && ABytes % 3 != 0) throw EMxException("Uneven size in Encode.");
    // One line's count is one alphabet character, so a line holds at most 63
    // bytes; reading one more tells a longer source apart.
    std::vector<std::uint8_t> held;
    const auto [data, count] = BytesOf(ASrcStream, std::min(ABytes, 64), held);
    if (count == 0) return AnsiString();
    if (count > 63) {
        // Refused whole: the caller may still code the bytes in shorter lines.
        ASrcStream->Seek(-static_cast<std::int64_t>(count), soCurrent);
        throw EMxException("Too many bytes for one " + ClassName() +
                           " line in Encode: at most 63 are allowed.");
    }
    return FCodingTable[count] + EncodeBytes(data, count);
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

void TMxDecoder4to3::DecodeBytes(const AnsiString& AIn, AnsiString& AOut) const {
    if (AIn.size() % 4 != 0) throw EMxException("Uneven size in DecodeToStream.");
    // One byte more than the result: whole groups are stored four bytes at a time.
    AOut.resize(AIn.size() / 4 * 3 + 1);
    char* out = AOut.data();
    const std::uint8_t* in = reinterpret_cast<const std::uint8_t*>(AIn.data());
    const TMxDecodeTable& table = FDecodeTable;
    const char fill = FFillChar;
    const bool fillCodes = table[static_cast<std::uint8_t>(fill)] < 64;
    std::size_t i = 0;
    if (&table == &Base64Table()) {
        static const ShiftedTables shifted = MakeShifted(Base64Table());
        for (; i < AIn.size(); i += 4, out += 3) {
            const std::uint32_t bits = shifted.At[0][in[i]] | shifted.At[1][in[i + 1]] |
                                       shifted.At[2][in[i + 2]] | shifted.At[3][in[i + 3]];
            if (bits & 0x80000000u) break; // fill or a stranger: the careful way below
            const std::uint32_t bytes = std::endian::native == std::endian::little
                                            ? __builtin_bswap32(bits << 8)
                                            : bits << 8;
            std::memcpy(out, &bytes, 4);
        }
    }
    for (; i < AIn.size(); i += 4) {
        // The common group: four alphabet characters, no fill.
        const std::uint32_t a = table[in[i]], b = table[in[i + 1]], c = table[in[i + 2]],
                            d = table[in[i + 3]];
        if ((a | b | c | d) < 64 && (!fillCodes || (AIn[i + 2] != fill && AIn[i + 3] != fill))) {
            const std::uint32_t bits = (a << 18) | (b << 12) | (c << 6) | d;
            out[0] = static_cast<char>(bits >> 16);
            out[1] = static_cast<char>(bits >> 8);
            out[2] = static_cast<char>(bits);
            out += 3;
            continue;
        }
        const std::uint32_t v1 = ValueOf(AIn, i);
        const std::uint32_t v2 = ValueOf(AIn, i + 1);
        if (AIn[i + 2] == FFillChar) {
            *out++ = static_cast<char>((v1 << 2) | (v2 >> 4));
            continue;
        }
        const std::uint32_t v3 = ValueOf(AIn, i + 2);
        if (AIn[i + 3] == FFillChar) {
            *out++ = static_cast<char>((v1 << 2) | (v2 >> 4));
            *out++ = static_cast<char>(((v2 << 4) | (v3 >> 2)) & 0xFF);
            continue;
        }
        const std::uint32_t v4 = ValueOf(AIn, i + 3);
        const std::uint32_t group = (v1 << 18) | (v2 << 12) | (v3 << 6) | v4;
        *out++ = static_cast<char>(group >> 16);
        *out++ = static_cast<char>((group >> 8) & 0xFF);
        *out++ = static_cast<char>(group & 0xFF);
    }
    AOut.resize(static_cast<std::size_t>(out - AOut.data()));
}

void TMxDecoder4to3::DecodeToStream(const AnsiString& AIn, TStream* ADestStream) {
    AnsiString bytes;
    DecodeBytes(AIn, bytes);
    if (!bytes.empty()) ADestStream->WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
}

AnsiString TMxDecoder4to3::DecodeString(const AnsiString& AIn) {
    AnsiString bytes;
    DecodeBytes(AIn, bytes);
    return bytes;
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
