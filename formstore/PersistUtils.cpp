#include "formstore/PersistUtils.h"

#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cstddef>

namespace formstore {

AnsiString ResStr(const AnsiString& Ident) {
    return Ident;
}

AnsiString ReplaceStr(const AnsiString& S, const AnsiString& Srch, const AnsiString& Replace) {
    if (Srch.empty()) return S;
    AnsiString Result;
    std::size_t From = 0;
    for (std::size_t At = S.find(Srch); At != AnsiString::npos; At = S.find(Srch, From)) {
        Result.append(S, From, At - From);
        Result += Replace;
        From = At + Srch.size();
    }
    Result.append(S, From, AnsiString::npos);
    return Result;
}

namespace {

// Index (0-based) of the first character of the N-th word, or npos.
std::size_t WordStart(int N, const AnsiString& S, const TCharSet& WordDelims) {
    if (N < 1) return AnsiString::npos;
    int Count = 0;
    std::size_t I = 0;
    const std::size_t Len = S.size();
    while (I < Len) {
        while (I < Len && WordDelims.Contains(S[I]))
            ++I;
        if (I >= Len) break;
        if (++Count == N) return I;
        while (I < Len && !WordDelims.Contains(S[I]))
            ++I;
    }
    return AnsiString::npos;
}

} // namespace

int WordCount(const AnsiString& S, const TCharSet& WordDelims) {
    int Count = 0;
    std::size_t I = 0;
    const std::size_t Len = S.size();
    while (I < Len) {
        while (I < Len && WordDelims.Contains(S[I]))
            ++I;
        if (I < Len) ++Count;
        while (I < Len && !WordDelims.Contains(S[I]))
            ++I;
    }
    return Count;
}

int WordPosition(int N, const AnsiString& S, const TCharSet& WordDelims) {
    const std::size_t Start = WordStart(N, S, WordDelims);
    return Start == AnsiString::npos ? 0 : static_cast<int>(Start) + 1;
}

AnsiString ExtractWord(int N, const AnsiString& S, const TCharSet& WordDelims) {
    const std::size_t Start = WordStart(N, S, WordDelims);
    if (Start == AnsiString::npos) return {};
    std::size_t End = Start;
    while (End < S.size() && !WordDelims.Contains(S[End]))
        ++End;
    return S.substr(Start, End - Start);
}

int FindPart(const AnsiString& HelpWilds, const AnsiString& InputStr) {
    if (HelpWilds.find('?') == AnsiString::npos) {
        if (HelpWilds.empty()) return 0;
        const std::size_t At = InputStr.find(HelpWilds);
        return At == AnsiString::npos ? 0 : static_cast<int>(At) + 1;
    }
    if (HelpWilds.size() > InputStr.size()) return 0;
    for (std::size_t Start = 0; Start + HelpWilds.size() <= InputStr.size(); ++Start) {
        bool Match = true;
        for (std::size_t J = 0; J < HelpWilds.size() && Match; ++J)
            Match = HelpWilds[J] == '?' || HelpWilds[J] == InputStr[Start + J];
        if (Match) return static_cast<int>(Start) + 1;
    }
    return 0;
}

bool IsWild(AnsiString InputStr, AnsiString Wilds, bool IgnoreCase) {
    if (InputStr == Wilds) return true;
    for (std::size_t At = Wilds.find("**"); At != AnsiString::npos; At = Wilds.find("**"))
        Wilds.erase(At, 1);
    if (Wilds == "*") return true;
    if (IgnoreCase) {
        InputStr = AnsiUpperCase(InputStr);
        Wilds = AnsiUpperCase(Wilds);
    }
    const int MaxInput = static_cast<int>(InputStr.size());
    const int MaxWilds = static_cast<int>(Wilds.size());
    if (MaxInput == 0 || MaxWilds == 0) return false;
    // 1-based cursors, as the matching rules are stated.
    auto In = [&](int I) { return InputStr[static_cast<std::size_t>(I - 1)]; };
    auto Wild = [&](int I) { return Wilds[static_cast<std::size_t>(I - 1)]; };
    int CInput = 1;
    int CWild = 1;
    for (;;) {
        if (In(CInput) == Wild(CWild) || Wild(CWild) == '?') {
            ++CInput;
            ++CWild;
        } else if (Wild(CWild) == '*') {
            AnsiString Piece = Wilds.substr(static_cast<std::size_t>(CWild));
            const std::size_t NextStar = Piece.find('*');
            if (NextStar == AnsiString::npos) {
                // The rest of the pattern must end the input; it may reach
                // back over input already matched before the star.
                const int Len = static_cast<int>(Piece.size());
                if (Len > MaxInput) return false;
                for (int I = 0; I < Len; ++I) {
                    const char P = Piece[static_cast<std::size_t>(Len - 1 - I)];
                    if (P != '?' && P != In(MaxInput - I)) return false;
                }
                return true;
            }
            Piece.resize(NextStar);
            const int Len = static_cast<int>(Piece.size());
            CWild += 1 + Len;
            const int Found =
                FindPart(Piece, InputStr.substr(static_cast<std::size_t>(CInput - 1)));
            if (Found == 0) return false;
            CInput += Found - 1 + Len;
        } else {
            return false;
        }
        if (CInput > MaxInput || CWild > MaxWilds) break;
    }
    if (CInput <= MaxInput) return false;
    if (CWild <= MaxWilds && !(CWild == MaxWilds && Wild(MaxWilds) == '*')) return false;
    return true;
}

namespace {

constexpr std::size_t ShortStringMax = 255;
constexpr char HexDigits[] = "0123456789abcdef";

int HexValue(char C) {
    if (C >= '0' && C <= '9') return C - '0';
    if (C >= 'a' && C <= 'f') return C - 'a' + 10;
    if (C >= 'A' && C <= 'F') return C - 'A' + 10;
    return -1;
}

} // namespace

AnsiString XorString(const AnsiString& Key, const AnsiString& Src) {
    const AnsiString ShortKey = Key.substr(0, ShortStringMax);
    AnsiString Result = Src.substr(0, ShortStringMax);
    if (ShortKey.empty()) return Result;
    for (std::size_t I = 0; I < Result.size(); ++I)
        Result[I] = static_cast<char>(Result[I] ^ ShortKey[I % ShortKey.size()]);
    return Result;
}

AnsiString XorEncode(const AnsiString& Key, const AnsiString& Source) {
    AnsiString Result;
    Result.reserve(Source.size() * 2);
    for (std::size_t I = 0; I < Source.size(); ++I) {
        unsigned char B = static_cast<unsigned char>(Source[I]);
        if (!Key.empty()) B ^= static_cast<unsigned char>(Key[I % Key.size()]);
        Result += HexDigits[B >> 4];
        Result += HexDigits[B & 0x0F];
    }
    return Result;
}

AnsiString XorDecode(const AnsiString& Key, const AnsiString& Source) {
    AnsiString Result;
    const std::size_t Pairs = Source.size() / 2;
    Result.reserve(Pairs);
    for (std::size_t I = 0; I < Pairs; ++I) {
        const int Hi = HexValue(Source[2 * I]);
        const int Lo = HexValue(Source[2 * I + 1]);
        unsigned char B = (Hi < 0 || Lo < 0) ? ' ' : static_cast<unsigned char>(Hi * 16 + Lo);
        if (!Key.empty()) B ^= static_cast<unsigned char>(Key[I % Key.size()]);
        Result += static_cast<char>(B);
    }
    return Result;
}

AnsiString NormalDir(const AnsiString& DirName) {
    AnsiString Result = DirName;
    if (Result.empty()) return Result;
    // The last byte of a UTF-8 multibyte character is never ':' or '\'.
    const char Last = Result.back();
    if (Last == ':' || Last == '\\') return Result;
    const char First = Result[0];
    const bool DriveLetter = (First >= 'A' && First <= 'Z') || (First >= 'a' && First <= 'z');
    if (Result.size() == 1 && DriveLetter)
        Result += ":\\";
    else
        Result += '\\';
    return Result;
}

} // namespace formstore
