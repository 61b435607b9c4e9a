#include "grid/foundation/TextChars.h"

#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace grid {

bool gxIsFarEast = true;

namespace {

bool IsContinuation(unsigned char Byte) {
    return (Byte & 0xC0) == 0x80;
}

// The length a lead byte announces; 0 for a byte that cannot lead a sequence.
int SequenceLength(unsigned char Lead) {
    if (Lead < 0x80) return 1;
    if (Lead >= 0xC2 && Lead <= 0xDF) return 2;
    if (Lead >= 0xE0 && Lead <= 0xEF) return 3;
    if (Lead >= 0xF0 && Lead <= 0xF4) return 4;
    return 0;
}

unsigned char ByteOf(std::string_view S, int Offset) {
    return static_cast<unsigned char>(S[static_cast<std::size_t>(Offset)]);
}

// Bytes of the well-formed sequence at the 0-based Offset of S; 1 for a byte
// that does not begin one, 0 outside S.
int SequenceAt(std::string_view S, int Offset) {
    const int Len = static_cast<int>(S.size());
    if (Offset < 0 || Offset >= Len) return 0;
    const int Want = SequenceLength(ByteOf(S, Offset));
    if (Want <= 1 || Offset + Want > Len) return 1;
    for (int I = 1; I < Want; ++I)
        if (!IsContinuation(ByteOf(S, Offset + I))) return 1;
    return Want;
}

// Bytes of the sequence that ends just before the 0-based End; 0 at the start.
int SequenceBefore(std::string_view S, int End) {
    End = std::min(End, static_cast<int>(S.size()));
    if (End <= 0) return 0;
    if (!IsContinuation(ByteOf(S, End - 1))) return 1;
    // Step back over at most three continuation bytes to a lead that really
    // covers them; otherwise the byte before End stands alone.
    for (int Back = 2; Back <= 4 && End - Back >= 0; ++Back) {
        if (!IsContinuation(ByteOf(S, End - Back)))
            return SequenceAt(S, End - Back) == Back ? Back : 1;
    }
    return 1;
}

// The text proper: up to its first zero byte.
std::string_view Proper(std::string_view Text) {
    const auto Zero = Text.find('\0');
    return Zero == std::string_view::npos ? Text : Text.substr(0, Zero);
}

int LengthOf(std::string_view Text) {
    return static_cast<int>(Proper(Text).size());
}

// The byte at Pos, 0 at or past the end of the text proper.
char ByteAtPos(std::string_view Text, int Pos) {
    if (Pos < 0 || Pos >= static_cast<int>(Text.size())) return '\0';
    return Text[static_cast<std::size_t>(Pos)];
}

bool IsEolByte(char C) {
    return C == '\r' || C == '\n';
}

bool IsSpaceByte(char C) {
    return C == ' ' || C == '\t';
}

// A character's bytes without regard to line breaks.
int CharBytesAt(std::string_view Text, int Pos) {
    if (!gxIsFarEast) return Pos >= 0 && Pos < LengthOf(Text) ? 1 : 0;
    return SequenceAt(Proper(Text), Pos);
}

int CharBytesBefore(std::string_view Text, int Pos) {
    if (Pos <= 0) return 0;
    if (!gxIsFarEast) return 1;
    return SequenceBefore(Proper(Text), Pos);
}

} // namespace

// ---- 1-based steps ----------------------------------------------------------

int CharCountAt(const AnsiString& S, int Pos) {
    return SequenceAt(S, Pos - 1);
}

int PrevCharPos(const AnsiString& S, int Pos) {
    if (Pos <= 1) return 0;
    const int Last = std::min(Pos - 1, static_cast<int>(S.size())); // the byte before Pos
    return Last + 1 - SequenceBefore(S, Last);
}

bool IsTextCharAt(const AnsiString& S, int Pos) {
    if (Pos < 1 || Pos > static_cast<int>(S.size())) return false;
    const char C = S[Pos - 1];
    return !IsSpaceByte(C) && !IsEolByte(C) && C != '\0';
}

bool IsLetterChar(const AnsiString& Ch) {
    if (Ch.size() == 1) {
        const char C = Ch[0];
        return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z');
    }
    if (Ch.empty()) return false;
    return AnsiUpperCase(Ch) != AnsiLowerCase(Ch);
}

// ---- 0-based helpers --------------------------------------------------------

bool IsLeadByte(char C) {
    return SequenceLength(static_cast<unsigned char>(C)) > 1;
}

int CompareChar(std::string_view A, std::string_view B) {
    const std::string_view FirstA =
        Proper(A).substr(0, static_cast<std::size_t>(CharBytesAt(A, 0)));
    const std::string_view FirstB =
        Proper(B).substr(0, static_cast<std::size_t>(CharBytesAt(B, 0)));
    if (gxIsFarEast) {
        const int R = AnsiCompareStr(AnsiString(FirstA), AnsiString(FirstB));
        return R < 0 ? -1 : (R > 0 ? 1 : 0);
    }
    const auto ByteA = FirstA.empty() ? 0 : static_cast<unsigned char>(FirstA[0]);
    const auto ByteB = FirstB.empty() ? 0 : static_cast<unsigned char>(FirstB[0]);
    return ByteA < ByteB ? -1 : (ByteA > ByteB ? 1 : 0);
}

bool LargerChar(std::string_view A, std::string_view B) {
    return CompareChar(A, B) > 0;
}

bool SmallerChar(std::string_view A, std::string_view B) {
    return CompareChar(A, B) < 0;
}

bool EofLineChar(std::string_view Text, int Pos) {
    return IsEolByte(ByteAtPos(Text, Pos));
}

bool GetEofLine(std::string_view Text, int& Pos) {
    const char First = ByteAtPos(Text, Pos);
    if (!IsEolByte(First)) return false;
    const char Second = ByteAtPos(Text, Pos + 1);
    Pos += IsEolByte(Second) && Second != First ? 2 : 1;
    return true;
}

bool EndOfText(std::string_view Text, int Pos) {
    return ByteAtPos(Text, Pos) == '\0';
}

int NextCharCount(std::string_view Text, int Pos) {
    if (EndOfText(Text, Pos)) return 0;
    int After = Pos;
    if (GetEofLine(Text, After)) return After - Pos;
    return CharBytesAt(Text, Pos);
}

int PrevCharCount(std::string_view Text, int Pos) {
    if (Pos <= 0) return 0;
    if (Pos == 1) return 1;
    const char Before = ByteAtPos(Text, Pos - 1);
    const char Earlier = ByteAtPos(Text, Pos - 2);
    if (IsEolByte(Before) && IsEolByte(Earlier) && Before != Earlier) return 2;
    return CharBytesBefore(Text, Pos);
}

int StrNScanEol(std::string_view Text, int N) {
    const int Len = std::min(N, LengthOf(Text));
    for (int I = 0; I < Len; ++I)
        if (IsEolByte(Text[static_cast<std::size_t>(I)])) return I;
    return -1;
}

bool IsSpaceChar(std::string_view Text, int Pos) {
    return IsSpaceByte(ByteAtPos(Text, Pos));
}

bool IsTextChar(std::string_view Text, int Pos) {
    const char C = ByteAtPos(Text, Pos);
    return C != '\0' && !IsSpaceByte(C) && !IsEolByte(C);
}

int StrRNSpaceScan(std::string_view Text, int N) {
    for (int I = std::min(N, LengthOf(Text)) - 1; I >= 0; --I)
        if (IsSpaceByte(Text[static_cast<std::size_t>(I)])) return I;
    return -1;
}

int StrRNTextScan(std::string_view Text, int N) {
    int Pos = std::min(N, LengthOf(Text));
    while (Pos > 0) {
        Pos -= PrevCharCount(Text, Pos);
        if (IsTextChar(Text, Pos)) return Pos;
    }
    return -1;
}

int StrNSkipSpace(std::string_view Text, int N) {
    const int Len = std::min(N, LengthOf(Text));
    int Pos = 0;
    while (Pos < Len && IsSpaceByte(Text[static_cast<std::size_t>(Pos)]))
        ++Pos;
    return Pos;
}

int NextWordCount(std::string_view Text, int Pos) {
    int P = Pos;
    while (IsTextChar(Text, P))
        P += NextCharCount(Text, P);
    while (!EndOfText(Text, P) && !IsTextChar(Text, P))
        P += NextCharCount(Text, P);
    return P - Pos;
}

int PrevWordCount(std::string_view Text, int Pos) {
    int P = std::min(Pos, LengthOf(Text));
    while (P > 0 && !IsTextChar(Text, P - PrevCharCount(Text, P)))
        P -= PrevCharCount(Text, P);
    while (P > 0 && IsTextChar(Text, P - PrevCharCount(Text, P)))
        P -= PrevCharCount(Text, P);
    return Pos - P;
}

void PCountChars(std::string_view Text, int Chars, int Bytes, int& OutChars, int& OutBytes,
                 bool FromEnd) {
    OutChars = 0;
    OutBytes = 0;
    const std::string_view Part =
        Proper(Text).substr(0, static_cast<std::size_t>(std::clamp(Bytes, 0, LengthOf(Text))));
    const int Len = static_cast<int>(Part.size());
    // Part is already the text proper: stepping over it must not look for
    // its end again at every character, which made a line's guess quadratic.
    while (OutChars < Chars && OutBytes < Len) {
        if (!gxIsFarEast)
            ++OutBytes;
        else
            OutBytes += FromEnd ? SequenceBefore(Part, Len - OutBytes) : SequenceAt(Part, OutBytes);
        ++OutChars;
    }
}

int PCharToByteLen(std::string_view Text, int Chars, int Bytes, bool FromEnd) {
    if (Chars <= 0 || Bytes <= 0) return 0;
    if (!gxIsFarEast) return std::min(Chars, Bytes);
    int OutChars = 0;
    int OutBytes = 0;
    PCountChars(Text, Chars, Bytes, OutChars, OutBytes, FromEnd);
    return std::min(OutBytes, Bytes);
}

int PByteToCharLen(std::string_view Text, int Bytes, int Max) {
    const int N = std::min(Bytes, Max);
    if (N <= 0) return 0;
    if (!gxIsFarEast) return N;
    int OutChars = 0;
    int OutBytes = 0;
    PCountChars(Text, N, N, OutChars, OutBytes, false);
    return OutChars;
}

bool LastCharIsEofLine(std::string_view Text, int Pos) {
    return Pos > 0 && EofLineChar(Text, Pos - 1);
}

} // namespace grid
