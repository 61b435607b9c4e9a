#include "formstore/StrUtil.h"

#include "platform/gui/Forms.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StrUtils.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace formstore {

namespace {

// Converts with iconv; each input character iconv cannot take is skipped
// (a whole UTF-8 sequence, or one stray byte) and written as '?'.
AnsiString Convert(const AnsiString& Text, const char* To, const char* From) {
    const iconv_t Cd = ::iconv_open(To, From);
    if (Cd == reinterpret_cast<iconv_t>(-1))
        throw EConvertError(Format("No conversion from %s to %s", From, To));
    AnsiString Result;
    char* In = const_cast<char*>(Text.data());
    std::size_t InLeft = Text.size();
    char Buffer[256];
    while (InLeft > 0) {
        char* Out = Buffer;
        std::size_t OutLeft = sizeof Buffer;
        const std::size_t Done = ::iconv(Cd, &In, &InLeft, &Out, &OutLeft);
        const int Error = errno;
        Result.append(Buffer, static_cast<std::size_t>(Out - Buffer));
        if (Done != static_cast<std::size_t>(-1) || Error == E2BIG) continue;
        // EILSEQ or EINVAL: an unconvertible character or a cut sequence.
        std::size_t Skip = 1;
        if (std::strcmp(From, "UTF-8") == 0) {
            const auto Lead = static_cast<unsigned char>(*In);
            const std::size_t Length = Lead >= 0xF0 ? 4 : Lead >= 0xE0 ? 3 : Lead >= 0xC0 ? 2 : 1;
            while (Skip < Length && Skip < InLeft &&
                   (static_cast<unsigned char>(In[Skip]) & 0xC0) == 0x80)
                ++Skip;
        }
        In += Skip;
        InLeft -= Skip;
        Result += '?';
        ::iconv(Cd, nullptr, nullptr, nullptr, nullptr);
    }
    ::iconv_close(Cd);
    return Result;
}

} // namespace

AnsiString StrToOem(const AnsiString& AnsiStr) {
    return Convert(AnsiStr, "CP437", "UTF-8");
}

AnsiString OemToAnsiStr(const AnsiString& OemStr) {
    return Convert(OemStr, "UTF-8", "CP437");
}

namespace {

// Bytes of the UTF-8 character that starts at S[I] (0-based), within S.
std::size_t CharLength(const AnsiString& S, std::size_t I) {
    const auto Lead = static_cast<unsigned char>(S[I]);
    std::size_t Len = 1;
    if (Lead >= 0xF0)
        Len = 4;
    else if (Lead >= 0xE0)
        Len = 3;
    else if (Lead >= 0xC0)
        Len = 2;
    return std::min(Len, S.size() - I);
}

// Walks the words of S; calls Visit(start, length) with 0-based offsets until
// it answers false.
template <class F> void ForEachWord(const AnsiString& S, const TCharSet& Delims, F Visit) {
    std::size_t I = 0;
    while (I < S.size()) {
        while (I < S.size() && Delims.Contains(S[I]))
            ++I;
        if (I >= S.size()) return;
        const std::size_t Start = I;
        while (I < S.size() && !Delims.Contains(S[I]))
            ++I;
        if (!Visit(Start, I - Start)) return;
    }
}

void RequireBase(std::uint8_t B) {
    if (B < 2)
        throw EConvertError(Format("Invalid number base %d: a base must be at least 2", int(B)));
}

// The program's parameters as the framework reports them (the program name
// left out), so that a command line the program replaced is the one read.
std::vector<AnsiString> ProgramParams() {
    std::vector<AnsiString> Args;
    for (int I = 1; I <= ParamCount(); ++I)
        Args.push_back(ParamStr(I));
    return Args;
}

} // namespace

bool IsEmptyStr(const AnsiString& S, const TCharSet& EmptyChars) {
    for (char C : S)
        if (!EmptyChars.Contains(C)) return false;
    return true;
}

AnsiString DelChars(const AnsiString& S, char Chr) {
    AnsiString Result;
    for (char C : S)
        if (C != Chr) Result += C;
    return Result;
}

AnsiString DelSpace(const AnsiString& S) {
    return DelChars(S, ' ');
}

AnsiString DelBSpace(const AnsiString& S) {
    const auto First = S.find_first_not_of(' ');
    return First == AnsiString::npos ? AnsiString() : S.substr(First);
}

AnsiString DelESpace(const AnsiString& S) {
    const auto Last = S.find_last_not_of(' ');
    return Last == AnsiString::npos ? AnsiString() : S.substr(0, Last + 1);
}

AnsiString DelRSpace(const AnsiString& S) {
    return DelBSpace(DelESpace(S));
}

AnsiString DelSpace1(const AnsiString& S) {
    AnsiString Result;
    for (char C : S)
        if (!(C == ' ' && !Result.empty() && Result.back() == ' ')) Result += C;
    return Result;
}

AnsiString Tab2Space(const AnsiString& S, std::uint8_t Numb) {
    AnsiString Result;
    for (char C : S)
        if (C == '\t')
            Result.append(Numb, ' ');
        else
            Result += C;
    return Result;
}

AnsiString MakeStr(char C, int N) {
    return N < 1 ? AnsiString() : AnsiString(N, C);
}

AnsiString MS(char C, int N) {
    return MakeStr(C, N);
}

AnsiString AddChar(char C, const AnsiString& S, int N) {
    const int Len = static_cast<int>(S.size());
    return Len < N ? MakeStr(C, N - Len) + S : S;
}

AnsiString AddCharR(char C, const AnsiString& S, int N) {
    const int Len = static_cast<int>(S.size());
    return Len < N ? S + MakeStr(C, N - Len) : S;
}

AnsiString LeftStr(const AnsiString& S, int N) {
    return AddCharR(' ', S, N);
}

AnsiString RightStr(const AnsiString& S, int N) {
    return AddChar(' ', S, N);
}

AnsiString CenterStr(const AnsiString& S, int Len) {
    const int Length = static_cast<int>(S.size());
    if (Length >= Len) return S;
    return AddCharR(' ', MakeStr(' ', Len / 2 - Length / 2) + S, Len);
}

int CompStr(const AnsiString& S1, const AnsiString& S2) {
    return AnsiCompareStrStringSort(S1, S2);
}

int CompText(const AnsiString& S1, const AnsiString& S2) {
    return AnsiCompareTextStringSort(S1, S2);
}

int NPos(const AnsiString& C, const AnsiString& S, int N) {
    if (N < 1) return 0;
    AnsiString Rest = S;
    int Sum = 0;
    for (int I = 1; I <= N; ++I) {
        const int P = Pos(C, Rest);
        if (P == 0) return 0;
        Sum += P;
        Rest.erase(0, static_cast<std::size_t>(P));
    }
    return Sum;
}

AnsiString Copy2Symb(const AnsiString& S, char Symb) {
    const auto P = S.find(Symb);
    return P == AnsiString::npos ? S : S.substr(0, P);
}

AnsiString Copy2SymbDel(AnsiString& S, char Symb) {
    AnsiString Result = Copy2Symb(S, Symb);
    S = DelBSpace(S.substr(Result.size()));
    return Result;
}

AnsiString Copy2Space(const AnsiString& S) {
    return Copy2Symb(S, ' ');
}

AnsiString Copy2SpaceDel(AnsiString& S) {
    return Copy2SymbDel(S, ' ');
}

AnsiString AnsiProperCase(const AnsiString& S, const TCharSet& WordDelims) {
    const AnsiString Lower = AnsiLowerCase(S);
    AnsiString Result;
    std::size_t Done = 0;
    ForEachWord(Lower, WordDelims, [&](std::size_t Start, std::size_t) {
        const std::size_t Len = CharLength(Lower, Start);
        Result += Lower.substr(Done, Start - Done);
        Result += AnsiUpperCase(Lower.substr(Start, Len));
        Done = Start + Len;
        return true;
    });
    return Result + Lower.substr(Done);
}

AnsiString ExtractWordPos(int N, const AnsiString& S, const TCharSet& WordDelims, int& Pos) {
    AnsiString Result;
    Pos = 0;
    int Count = 0;
    if (N < 1) return Result;
    ForEachWord(S, WordDelims, [&](std::size_t Start, std::size_t Len) {
        if (++Count < N) return true;
        Pos = static_cast<int>(Start) + 1;
        Result = S.substr(Start, Len);
        return false;
    });
    return Result;
}

AnsiString ExtractDelimited(int N, const AnsiString& S, const TCharSet& Delims) {
    AnsiString Result;
    if (N < 1) return Result;
    int Field = 1;
    for (char C : S) {
        if (Delims.Contains(C)) {
            if (++Field > N) break;
        } else if (Field == N) {
            Result += C;
        }
    }
    return Result;
}

AnsiString ExtractSubstr(const AnsiString& S, int& Pos, const TCharSet& Delims) {
    const int Length = static_cast<int>(S.size());
    const int Start = std::max(Pos, 1);
    int I = Start;
    while (I <= Length && !Delims.Contains(S[I - 1]))
        ++I;
    AnsiString Result = Copy(S, Start, I - Start);
    if (I <= Length) ++I;
    Pos = I;
    return Result;
}

bool IsWordPresent(const AnsiString& W, const AnsiString& S, const TCharSet& WordDelims) {
    bool Found = false;
    ForEachWord(S, WordDelims, [&](std::size_t Start, std::size_t Len) {
        Found = S.compare(Start, Len, W) == 0;
        return !Found;
    });
    return Found;
}

AnsiString QuotedString(const AnsiString& S, char Quote) {
    return AnsiQuotedStr(S, Quote);
}

AnsiString ExtractQuotedString(const AnsiString& S, char Quote) {
    if (S.empty() || S[0] != Quote) return S;
    const char* Src = S.c_str();
    return AnsiExtractQuotedStr(Src, Quote);
}

AnsiString GetCmdLineArg(const AnsiString& Switch, const TCharSet& SwitchChars) {
    return GetCmdLineArg(Switch, SwitchChars, ProgramParams());
}

AnsiString GetCmdLineArg(const AnsiString& Switch, const TCharSet& SwitchChars,
                         const std::vector<AnsiString>& Params) {
    for (std::size_t I = 0; I < Params.size(); ++I) {
        const AnsiString& S = Params[I];
        const bool Candidate = SwitchChars.Empty() || (S.size() > 1 && SwitchChars.Contains(S[0]));
        if (Candidate && AnsiSameText(S.substr(std::min<std::size_t>(1, S.size())), Switch))
            return I + 1 < Params.size() ? Params[I + 1] : AnsiString();
    }
    return AnsiString();
}

AnsiString Numb2USA(const AnsiString& S) {
    AnsiString Result;
    for (std::size_t I = 0; I < S.size(); ++I) {
        if (I > 0 && (S.size() - I) % 3 == 0) Result += ',';
        Result += S[I];
    }
    return Result;
}

AnsiString Dec2Hex(int N, std::uint8_t A) {
    return IntToHex(N, A);
}

AnsiString D2H(int N, std::uint8_t A) {
    return Dec2Hex(N, A);
}

int Hex2Dec(const AnsiString& S) {
    return StrToIntDef(S.find('$') != AnsiString::npos ? S : "$" + S, 0);
}

int H2D(const AnsiString& S) {
    return Hex2Dec(S);
}

AnsiString Dec2Numb(std::uint32_t N, std::uint8_t A, std::uint8_t B) {
    RequireBase(B);
    AnsiString Result;
    do {
        const auto Digit = static_cast<int>(N % B);
        Result.insert(Result.begin(),
                      static_cast<char>(Digit < 10 ? '0' + Digit : 'A' + Digit - 10));
        N /= B;
    } while (N != 0);
    return AddChar('0', Result, A);
}

int Numb2Dec(const AnsiString& S, std::uint8_t B) {
    RequireBase(B);
    // Unsigned arithmetic: an over-long text wraps as the 32-bit original did
    // instead of overflowing.
    std::uint32_t Result = 0;
    std::uint32_t Place = 1;
    const AnsiString Upper = UpperCase(S);
    for (auto It = Upper.rbegin(); It != Upper.rend(); ++It) {
        const int Code = static_cast<unsigned char>(*It);
        const int Digit = Code < 'A' ? Code - '0' : Code - 'A' + 10;
        Result += static_cast<std::uint32_t>(Digit) * Place;
        Place *= B;
    }
    return static_cast<int>(Result);
}

namespace {

int RomanValue(char C) {
    switch (std::toupper(static_cast<unsigned char>(C))) {
    case 'I':
        return 1;
    case 'V':
        return 5;
    case 'X':
        return 10;
    case 'L':
        return 50;
    case 'C':
        return 100;
    case 'D':
        return 500;
    case 'M':
        return 1000;
    default:
        return 0;
    }
}

// One decimal place of a Roman numeral: One, Five and Ten are that place's
// letters ("I", "V", "X" for the units).
void AppendRomanDigit(AnsiString& Result, int Digit, char One, char Five, char Ten) {
    if (Digit == 9) {
        Result += One;
        Result += Ten;
    } else if (Digit >= 5) {
        Result += Five;
        Result.append(static_cast<std::size_t>(Digit - 5), One);
    } else if (Digit == 4) {
        Result += One;
        Result += Five;
    } else {
        Result.append(static_cast<std::size_t>(Digit), One);
    }
}

} // namespace

int RomanToInt(const AnsiString& S) {
    std::size_t I = 0;
    const bool Negative = !S.empty() && S[0] == '-';
    if (Negative) I = 1;
    // Summed as 32 bits that wrap, so a numeral too long for an integer
    // gives a wrapped number instead of an overflow.
    std::uint32_t Result = 0;
    while (I < S.size()) {
        const int Current = RomanValue(S[I]);
        if (Current == 0) return 0;
        const int Next = I + 1 < S.size() ? RomanValue(S[I + 1]) : 0;
        if (Next > Current) {
            Result += static_cast<std::uint32_t>(Next - Current);
            I += 2;
        } else {
            Result += static_cast<std::uint32_t>(Current);
            ++I;
        }
    }
    return static_cast<int>(Negative ? 0u - Result : Result);
}

AnsiString IntToRoman(int Value) {
    AnsiString Result;
    if (Value <= 0) return Result;
    Result.append(static_cast<std::size_t>(Value / 1000), 'M');
    Value %= 1000;
    AppendRomanDigit(Result, Value / 100, 'C', 'D', 'M');
    AppendRomanDigit(Result, Value / 10 % 10, 'X', 'L', 'C');
    AppendRomanDigit(Result, Value % 10, 'I', 'V', 'X');
    return Result;
}

AnsiString IntToBin(int Value, int Digits, int Spaces) {
    if (Spaces < 1)
        throw EConvertError(
            Format("Invalid group size %d: a group must hold at least one digit", Spaces));
    AnsiString Result;
    const auto Bits = static_cast<std::uint32_t>(Value);
    for (int D = std::min(Digits, 32); D >= 1; --D) {
        if (D % Spaces == 0) Result += ' ';
        Result += ((Bits >> (D - 1)) & 1u) ? '1' : '0';
    }
    return Result;
}

} // namespace formstore
