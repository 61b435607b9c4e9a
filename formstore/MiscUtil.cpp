#include "formstore/MiscUtil.h"

#include "platform/rtl/Format.h"
#include "platform/rtl/StrUtils.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace formstore {

void RaiseWin32Error(int ErrorCode) {
    if (ErrorCode == 0) return;
    EWin32Error Error(Format("Win32 Error.  Code: %d.\n%s", ErrorCode, std::strerror(ErrorCode)));
    Error.ErrorCode = ErrorCode;
    throw Error;
}

void CheckWin32(bool OK) {
    if (OK) return;
    // A failure that left no error number is still a failure.
    if (errno == 0) throw EWin32Error("A call to an OS function failed");
    RaiseWin32Error(errno);
}

Variant MakeVariant(std::span<const Variant> Values) {
    if (Values.empty()) return Null();
    if (Values.size() == 1) return Values.front();
    return VarArrayOf(std::vector<Variant>(Values.begin(), Values.end()));
}

AnsiString GetEnvVar(const AnsiString& Name) {
    const char* Value = std::getenv(Name.c_str());
    return Value == nullptr ? AnsiString() : AnsiString(Value);
}

namespace {

bool IsBlank(char C) {
    return static_cast<unsigned char>(C) <= ' ';
}

// The next token from Pos, or empty text at the end of the line.
AnsiString NextToken(const AnsiString& Line, std::size_t& Pos) {
    for (;;) {
        while (Pos < Line.size() && IsBlank(Line[Pos]))
            ++Pos;
        if (Pos + 1 < Line.size() && Line[Pos] == '"' && Line[Pos + 1] == '"')
            Pos += 2;
        else
            break;
    }
    AnsiString Token;
    while (Pos < Line.size() && !IsBlank(Line[Pos])) {
        if (Line[Pos] == '"') {
            ++Pos;
            while (Pos < Line.size() && Line[Pos] != '"')
                Token += Line[Pos++];
            if (Pos < Line.size()) ++Pos;
        } else {
            Token += Line[Pos++];
        }
    }
    return Token;
}

} // namespace

void SplitCommandLine(const AnsiString& CmdLine, AnsiString& ExeName, AnsiString& Params) {
    std::size_t Pos = 0;
    ExeName = NextToken(CmdLine, Pos);
    Params.clear();
    for (AnsiString Token = NextToken(CmdLine, Pos); !Token.empty();
         Token = NextToken(CmdLine, Pos)) {
        if (!Params.empty()) Params += ' ';
        Params += Token.find(' ') != AnsiString::npos ? '"' + Token + '"' : Token;
    }
}

AnsiString AnsiUpperFirstChar(const AnsiString& S) {
    const AnsiString Lower = AnsiLowerCase(S);
    if (Lower.empty()) return Lower;
    const auto Lead = static_cast<unsigned char>(Lower[0]);
    const std::size_t Len = std::min<std::size_t>(Lead >= 0xF0   ? 4
                                                  : Lead >= 0xE0 ? 3
                                                  : Lead >= 0xC0 ? 2
                                                                 : 1,
                                                  Lower.size());
    return AnsiUpperCase(Lower.substr(0, Len)) + Lower.substr(Len);
}

AnsiString DropT(const AnsiString& S) {
    if (S.size() > 1 && (S[0] == 'T' || S[0] == 't')) return S.substr(1);
    return S;
}

} // namespace formstore
