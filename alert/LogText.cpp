#include "alert/LogText.h"

#include <cstddef>
#include <cstdint>

namespace {

const char Hex[] = "0123456789ABCDEF";

void AppendByteEscape(AnsiString& Result, unsigned char Byte) {
    Result += "\\x";
    Result += Hex[Byte >> 4];
    Result += Hex[Byte & 15];
}

// The length of the well-formed UTF-8 sequence of two or more bytes at At,
// and its code point; 0 when the bytes there are none (a stray continuation
// byte, a sequence cut short, an overlong form, a surrogate, or past
// U+10FFFF).
std::size_t Utf8Sequence(const AnsiString& Text, std::size_t At, std::uint32_t& Code) {
    const auto Lead = static_cast<unsigned char>(Text[At]);
    std::size_t Length = 0;
    std::uint32_t Min = 0;
    if (Lead >= 0xC2 && Lead <= 0xDF) {
        Length = 2;
        Code = Lead & 0x1F;
        Min = 0x80;
    } else if (Lead >= 0xE0 && Lead <= 0xEF) {
        Length = 3;
        Code = Lead & 0x0F;
        Min = 0x800;
    } else if (Lead >= 0xF0 && Lead <= 0xF4) {
        Length = 4;
        Code = Lead & 0x07;
        Min = 0x10000;
    } else {
        return 0;
    }
    if (At + Length > Text.size()) return 0;
    for (std::size_t I = 1; I < Length; ++I) {
        const auto Next = static_cast<unsigned char>(Text[At + I]);
        if ((Next & 0xC0) != 0x80) return 0;
        Code = (Code << 6) | (Next & 0x3F);
    }
    if (Code < Min || Code > 0x10FFFF || (Code >= 0xD800 && Code <= 0xDFFF)) return 0;
    return Length;
}

bool IsBreakToSomeReader(std::uint32_t Code) {
    return (Code >= 0x80 && Code <= 0x9F) || Code == 0x2028 || Code == 0x2029 ||
           (Code >= 0xFDD0 && Code <= 0xFDEF);
}

} // namespace

AnsiString EscapedLogText(const AnsiString& Text) {
    AnsiString Result;
    Result.reserve(Text.size());
    for (std::size_t At = 0; At < Text.size();) {
        const char C = Text[At];
        const auto Byte = static_cast<unsigned char>(C);
        if (Byte >= 0x80) {
            std::uint32_t Code = 0;
            const std::size_t Length = Utf8Sequence(Text, At, Code);
            if (Length == 0) {
                AppendByteEscape(Result, Byte);
                ++At;
            } else if (IsBreakToSomeReader(Code)) {
                Result += "\\u";
                for (int Shift = 12; Shift >= 0; Shift -= 4)
                    Result += Hex[(Code >> Shift) & 15];
                At += Length;
            } else {
                Result.append(Text, At, Length);
                At += Length;
            }
            continue;
        }
        ++At;
        switch (C) {
        case '\\':
            Result += "\\\\";
            continue;
        case '\r':
            Result += "\\r";
            continue;
        case '\n':
            Result += "\\n";
            continue;
        case '\t':
            Result += "\\t";
            continue;
        case '\0':
            Result += "\\0";
            continue;
        default:
            break;
        }
        if (Byte < 0x20 || Byte == 0x7F)
            AppendByteEscape(Result, Byte);
        else
            Result += C;
    }
    return Result;
}
