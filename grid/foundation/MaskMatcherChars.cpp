// The character-level checks of the mask matcher: literals, mask
// characters, ranges and the case rules that convert or judge letters.
#include "grid/foundation/MaskMatcher.h"

#include "grid/foundation/TextChars.h"
#include "grid/foundation/TextMask.h"
#include "platform/rtl/StrUtils.h"

namespace grid {

namespace {

bool IsUpperType(TgxMaskOption CaseType) {
    return CaseType == moUpper || CaseType == moOptUpper;
}

} // namespace

bool TgxMaskMatcher::TextExhausted() const {
    return FInput->Pos > static_cast<int>(FInput->Text.size());
}

AnsiString TgxMaskMatcher::CurrentChar() const {
    return FInput->Text.substr(FInput->Pos - 1, CharCountAt(FInput->Text, FInput->Pos));
}

void TgxMaskMatcher::ReplaceAt(int Pos, const AnsiString& Replacement) {
    AnsiString Old = FInput->Text.substr(Pos - 1, Replacement.size());
    if (Old == Replacement) return;
    FUndo.push_back({Pos, std::move(Old)});
    FInput->Text.replace(Pos - 1, Replacement.size(), Replacement);
}

std::string_view TgxMaskMatcher::LiteralOf(const TgxPictureNode* Node) const {
    // The literal without its escape.
    const int Skip = FPicture[Node->Pos - 1] == ';' ? 1 : 0;
    return std::string_view(FPicture).substr(Node->Pos - 1 + Skip, Node->Len - Skip);
}

bool TgxMaskMatcher::CheckLiteralChar(std::string_view Literal, bool& Typed,
                                      TgxMaskOptions Options) {
    TgxMaskInput& In = *FInput;
    const int Len = static_cast<int>(Literal.size());
    if (!Typed && In.Pos + Len - 1 <= static_cast<int>(In.Text.size())) {
        const std::string_view Here = std::string_view(In.Text).substr(In.Pos - 1, Len);
        const bool IgnoreCase = IsInputChar() && Options.Contains(moConvertInput);
        const bool Match =
            IgnoreCase ? AnsiUpperCase(AnsiString(Here)) == AnsiUpperCase(AnsiString(Literal))
                       : Here == Literal;
        if (Match) {
            ReplaceAt(In.Pos, AnsiString(Literal));
            In.Pos += Len;
            Typed = true;
            return true;
        }
    }
    if (CanInsertLiteral(Options)) {
        In.Literals += Literal;
        return true;
    }
    return false;
}

bool TgxMaskMatcher::CheckMaskChars(const TgxPictureNode* Node, TgxMaskOptions Options) {
    const bool Full = Options.Contains(moFullCompare);
    for (int P = Node->Pos; P < Node->Pos + Node->Len; ++P) {
        if (TextExhausted() && !Full) break;
        if (!CheckMaskChar(FPicture[P - 1], Options)) return false;
    }
    return true;
}

bool TgxMaskMatcher::CheckMaskChar(char PictureChar, TgxMaskOptions Options) {
    if (TextExhausted()) return false;
    const AnsiString C = CurrentChar();
    const bool Letter = IsLetterChar(C);
    switch (PictureChar) {
    case '#':
        if (C.size() != 1 || C[0] < '0' || C[0] > '9') return false;
        break;
    case '&':
    case '!':
        if (!Letter) {
            if (PictureChar == '&') return false;
            break;
        }
        {
            const TgxMaskOption T = GetCaseType(Options, PictureChar == '&' ? moUpper : moNone);
            if (!(CanConvertCase(Options, T) && ConvertCase(moUpper)) && !CheckCase(moUpper))
                return false;
        }
        break;
    case '?':
        if (!Letter || !CheckLetterCase(Options, GetCaseType(Options, moNone))) return false;
        break;
    case '@':
        if (Letter && !CheckLetterCase(Options, GetCaseType(Options, moNone))) return false;
        break;
    default:
        return false;
    }
    FInput->Pos += CharCountAt(FInput->Text, FInput->Pos);
    return true;
}

bool TgxMaskMatcher::CheckLetterCase(TgxMaskOptions Options, TgxMaskOption CaseType) {
    if (CanConvertCase(Options, CaseType) && ConvertCase(CaseType)) return true;
    switch (CaseType) {
    case moNone:
        return true;
    case moUpper:
    case moLower:
        return CheckCase(CaseType);
    default: // upper or lower where possible: binding on what is typed only
        return !IsInputChar() || CheckCase(CaseType);
    }
}

bool TgxMaskMatcher::CheckRange(const TgxPictureNode* Node, TgxMaskOptions Options) {
    if (TextExhausted()) return false;
    const AnsiString Low = FPicture.substr(Node->Pos - 1, CharCountAt(FPicture, Node->Pos));
    const AnsiString High =
        FPicture.substr(Node->RangeHigh - 1, CharCountAt(FPicture, Node->RangeHigh));
    // Byte order of UTF-8 sequences is the order of their code points.
    auto InRange = [&](const AnsiString& C) { return Low <= C && C <= High; };

    const AnsiString C = CurrentChar();
    bool In = InRange(C);
    if (!In && IsInputChar() && Options.Contains(moConvertInput) && !Node->Negate &&
        IsLetterChar(C)) {
        const AnsiString Flipped = AnsiUpperCase(C) == C ? AnsiLowerCase(C) : AnsiUpperCase(C);
        if (Flipped.size() == C.size() && InRange(Flipped)) {
            ReplaceAt(FInput->Pos, Flipped);
            In = true;
        }
    }
    if (Node->Negate) In = !In;
    if (In) FInput->Pos += CharCountAt(FInput->Text, FInput->Pos);
    return In;
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
    const TgxMaskInput& In = *FInput;
    return In.InputPos <= In.Pos && In.Pos <= In.InputPos + In.InputLen - 1;
}

bool TgxMaskMatcher::CanConvertCase(TgxMaskOptions Options, TgxMaskOption CaseType) const {
    return IsInputChar() && CaseType != moNone && Options.Contains(moConvertInput);
}

bool TgxMaskMatcher::CanInsertLiteral(TgxMaskOptions Options) const {
    return FInput->Pos == FInput->InputPos && Options.Contains(moInsertLiteral);
}

bool TgxMaskMatcher::IsWordStart() const {
    const int Prev = PrevCharPos(FInput->Text, FInput->Pos);
    return Prev == 0 || !IsTextCharAt(FInput->Text, Prev);
}

bool TgxMaskMatcher::IsSentenceStart() const {
    // The nearest text character before the position decides; with none
    // before it (only spaces), a sentence starts here as at position 1.
    int P = PrevCharPos(FInput->Text, FInput->Pos);
    while (P > 0 && !IsTextCharAt(FInput->Text, P))
        P = PrevCharPos(FInput->Text, P);
    return P == 0 || FInput->Text[P - 1] == '.';
}

bool TgxMaskMatcher::CheckCase(TgxMaskOption CaseType) const {
    const AnsiString C = CurrentChar();
    return (IsUpperType(CaseType) ? AnsiUpperCase(C) : AnsiLowerCase(C)) == C;
}

bool TgxMaskMatcher::ConvertCase(TgxMaskOption CaseType) {
    const AnsiString C = CurrentChar();
    const AnsiString Converted = IsUpperType(CaseType) ? AnsiUpperCase(C) : AnsiLowerCase(C);
    // A conversion that would change the byte length is left undone; the
    // character is then judged as it stands.
    if (Converted.size() != C.size()) return false;
    ReplaceAt(FInput->Pos, Converted);
    return true;
}

} // namespace grid
