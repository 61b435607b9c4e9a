#include "grid/foundation/TextChars.h"

#include "platform/rtl/StrUtils.h"

namespace grid {

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

} // namespace

int CharCountAt(const AnsiString& S, int Pos) {
    const int Len = static_cast<int>(S.size());
    if (Pos < 1 || Pos > Len) return 0;
    const int Want = SequenceLength(static_cast<unsigned char>(S[Pos - 1]));
    if (Want <= 1 || Pos - 1 + Want > Len) return 1;
    for (int I = 1; I < Want; ++I)
        if (!IsContinuation(static_cast<unsigned char>(S[Pos - 1 + I]))) return 1;
    return Want;
}

int PrevCharPos(const AnsiString& S, int Pos) {
    if (Pos <= 1) return 0;
    const int Len = static_cast<int>(S.size());
    const int Last = Pos - 1 > Len ? Len : Pos - 1; // the byte before Pos
    if (!IsContinuation(static_cast<unsigned char>(S[Last - 1]))) return Last;
    // Step back over at most three continuation bytes to a lead that really
    // covers them; otherwise the byte before Pos stands alone.
    for (int Back = 1; Back <= 3 && Last - Back >= 1; ++Back) {
        const int Start = Last - Back;
        if (!IsContinuation(static_cast<unsigned char>(S[Start - 1])))
            return CharCountAt(S, Start) == Back + 1 ? Start : Last;
    }
    return Last;
}

bool IsTextCharAt(const AnsiString& S, int Pos) {
    if (Pos < 1 || Pos > static_cast<int>(S.size())) return false;
    const char C = S[Pos - 1];
    return C != ' ' && C != '\t' && C != '\r' && C != '\n' && C != '\0';
}

bool IsLetterChar(const AnsiString& Ch) {
    if (Ch.size() == 1) {
        const char C = Ch[0];
        return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z');
    }
    if (Ch.empty()) return false;
    return AnsiUpperCase(Ch) != AnsiLowerCase(Ch);
}

} // namespace grid
