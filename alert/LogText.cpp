#include "alert/LogText.h"

AnsiString EscapedLogText(const AnsiString& Text) {
    static const char Hex[] = "0123456789ABCDEF";
    AnsiString Result;
    Result.reserve(Text.size());
    for (const char C : Text) {
        const auto Byte = static_cast<unsigned char>(C);
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
        if (Byte < 0x20 || Byte == 0x7F) {
            Result += "\\x";
            Result += Hex[Byte >> 4];
            Result += Hex[Byte & 15];
        } else {
            Result += C;
        }
    }
    return Result;
}
