// The character-level checks of the mask matcher: literals, mask
// characters, ranges and the case rules that convert or judge letters.
// Each looks at the character at the current position of the text as it
// was given; a conversion comes back as the character's new form.
#include "grid/foundation/MaskMatcher.h"

#include "grid/foundation/TextChars.h"
#include "grid/foundation/TextMask.h"
#include "platform/rtl/StrUtils.h"

namespace grid {

namespace {

bool IsUpperType(TgxMaskOption CaseType) {
    return CaseType == moUpper || CaseType == moOptUpper;
}

AnsiString InCase(const AnsiString& C, TgxMaskOption CaseType) {
    return IsUpperType(CaseType) ? AnsiUpperCase(C) : AnsiLowerCase(C);
}

// The character in the case asked for; empty when that changes nothing or
// would change its byte length (it is then judged as it stands).
AnsiString Converted(const AnsiString& C, TgxMaskOption CaseType) {
    AnsiString To = InCase(C, CaseType);
    return To.size() == C.size() && To != C ? To : AnsiString();
}

char AsciiUpper(char C) {
    return C >= 'a' && C <= 'z' ? static_cast<char>(C - 'a' + 'A') : C;
}

// Alike but for case; a single ASCII character (the most common literal)
// without building upper case copies.
bool SameIgnoringCase(std::string_view A, std::string_view B) {
    if (A.size() == 1 && B.size() == 1 && static_cast<unsigned char>(A[0]) < 0x80 &&
        static_cast<unsigned char>(B[0]) < 0x80)
        return AsciiUpper(A[0]) == AsciiUpper(B[0]);
    return AnsiUpperCase(AnsiString(A)) == AnsiUpperCase(AnsiString(B));
}

} // namespace

bool TgxMaskMatcher::TextExhausted() const {
    return FPos > static_cast<int>(FText->size());
}

AnsiString TgxMaskMatcher::CurrentChar() const {
    return FText->substr(static_cast<std::size_t>(FPos - 1),
                         static_cast<std::size_t>(CharCountAt(*FText, FPos)));
}

std::string_view TgxMaskMatcher::LiteralOf(const TgxMaskStep& Step) const {
    // The literal without its escape.
    const int Skip = FPicture[static_cast<std::size_t>(Step.Pos - 1)] == ';' ? 1 : 0;
    return std::string_view(FPicture).substr(static_cast<std::size_t>(Step.Pos - 1 + Skip),
                                             static_cast<std::size_t>(Step.Len - Skip));
}

bool TgxMaskMatcher::LiteralMatches(std::string_view Literal, TgxMaskOptions Options) const {
    const std::string_view Here =
        std::string_view(*FText).substr(static_cast<std::size_t>(FPos - 1), Literal.size());
    if (!IsInputChar()) return Here == Literal;
    const bool Alike = Here == Literal;
    if (Options.Contains(moConvertInput)) return Alike || SameIgnoringCase(Here, Literal);
    if (!Alike && SameIgnoringCase(Here, Literal)) FConvertMatters = true;
    return Alike;
}

bool TgxMaskMatcher::CheckMaskChar(char PictureChar, TgxMaskOptions Options,
                                   AnsiString& Converted) const {
    Converted.clear();
    if (TextExhausted()) return false;
    const AnsiString C = CurrentChar();
    const bool Letter = IsLetterChar(C);
    switch (PictureChar) {
    case '#':
        return C.size() == 1 && C[0] >= '0' && C[0] <= '9';
    case '&':
    case '!': {
        if (!Letter) return PictureChar == '!';
        const TgxMaskOption T = GetCaseType(Options, PictureChar == '&' ? moUpper : moNone);
        const AnsiString Upper = AnsiUpperCase(C);
        if (Upper.size() == C.size() && Upper != C) NoteConversion(Options, T);
        if (CanConvertCase(Options, T) && Upper.size() == C.size()) {
            if (Upper != C) Converted = Upper;
            return true;
        }
        return Upper == C;
    }
    case '?':
        return Letter && CheckLetterCase(Options, GetCaseType(Options, moNone), C, Converted);
    case '@':
        return !Letter || CheckLetterCase(Options, GetCaseType(Options, moNone), C, Converted);
    default:
        return false;
    }
}

bool TgxMaskMatcher::CheckLetterCase(TgxMaskOptions Options, TgxMaskOption CaseType,
                                     const AnsiString& C, AnsiString& Converted) const {
    if (InCase(C, CaseType).size() == C.size() && InCase(C, CaseType) != C)
        NoteConversion(Options, CaseType);
    if (CanConvertCase(Options, CaseType) && InCase(C, CaseType).size() == C.size()) {
        Converted = grid::Converted(C, CaseType);
        return true;
    }
    switch (CaseType) {
    case moNone:
        return true;
    case moUpper:
    case moLower:
        return InCase(C, CaseType) == C;
    default: // upper or lower where possible: binding on what is typed only
        return !IsInputChar() || InCase(C, CaseType) == C;
    }
}

bool TgxMaskMatcher::CheckRange(const TgxMaskStep& Step, TgxMaskOptions Options,
                                AnsiString& Converted) const {
    Converted.clear();
    if (TextExhausted()) return false;
    const AnsiString Low = FPicture.substr(static_cast<std::size_t>(Step.Pos - 1),
                                           static_cast<std::size_t>(CharCountAt(FPicture, Step.Pos)));
    const AnsiString High =
        FPicture.substr(static_cast<std::size_t>(Step.RangeHigh - 1),
                        static_cast<std::size_t>(CharCountAt(FPicture, Step.RangeHigh)));
    // Byte order of UTF-8 sequences is the order of their code points.
    auto InRange = [&](const AnsiString& C) { return Low <= C && C <= High; };

    const AnsiString C = CurrentChar();
    bool In = InRange(C);
    if (!In && IsInputChar() && !Step.Negate && IsLetterChar(C)) {
        const AnsiString Flipped = AnsiUpperCase(C) == C ? AnsiLowerCase(C) : AnsiUpperCase(C);
        if (Flipped.size() == C.size() && InRange(Flipped)) {
            if (!Options.Contains(moConvertInput)) {
                FConvertMatters = true;
            } else {
                Converted = Flipped;
                In = true;
            }
        }
    }
    return Step.Negate ? !In : In;
}

TgxMaskOption TgxMaskMatcher::GetCaseType(TgxMaskOptions Options, TgxMaskOption Default) const {
    for (TgxMaskOption Rule : {moUpper, moLower, moOptUpper, moOptLower})
        if (Options.Contains(Rule)) return Rule;
    if (!FTextCase) return Default;
    const TgxMaskOption Upper = FTextCase->Optional() ? moOptUpper : moUpper;
    const TgxMaskOption Lower = FTextCase->Optional() ? moOptLower : moLower;
    switch (FTextCase->CaseType()) {
    case cstUpper:
        return Upper;
    case cstLower:
        return Lower;
    case cstSentence:
        return IsSentenceStart() ? Upper : Default;
    case cstTitle:
        return IsWordStart() ? Upper : Default;
    default:
        return Default;
    }
}

bool TgxMaskMatcher::IsInputChar() const {
    return FInputPos <= FPos && FPos <= FInputPos + FInputLen - 1;
}

bool TgxMaskMatcher::CanConvertCase(TgxMaskOptions Options, TgxMaskOption CaseType) const {
    return IsInputChar() && CaseType != moNone && Options.Contains(moConvertInput);
}

// A typed character that this case rule would convert: the answer may
// differ with conversion on.
void TgxMaskMatcher::NoteConversion(TgxMaskOptions Options, TgxMaskOption CaseType) const {
    if (IsInputChar() && CaseType != moNone && !Options.Contains(moConvertInput))
        FConvertMatters = true;
}

bool TgxMaskMatcher::CanInsertLiteral(TgxMaskOptions Options) const {
    return FPos == FInputPos && Options.Contains(moInsertLiteral);
}

bool TgxMaskMatcher::IsWordStart() const {
    const int Prev = PrevCharPos(*FText, FPos);
    return Prev == 0 || !IsTextCharAt(*FText, Prev);
}

bool TgxMaskMatcher::IsSentenceStart() const {
    // The nearest text character before the position decides; with none
    // before it (only spaces), a sentence starts here as at position 1.
    int P = PrevCharPos(*FText, FPos);
    while (P > 0 && !IsTextCharAt(*FText, P))
        P = PrevCharPos(*FText, P);
    return P == 0 || (*FText)[static_cast<std::size_t>(P - 1)] == '.';
}

} // namespace grid
