#include "grid/foundation/MaskMatcher.h"

#include "grid/foundation/TextChars.h"
#include "grid/foundation/TextMask.h"
#include "platform/rtl/StrUtils.h"

namespace grid {

namespace {

std::uintptr_t StackPosition() {
    return reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
}

bool IsUpperType(TgxMaskOption CaseType) {
    return CaseType == moUpper || CaseType == moOptUpper;
}

const TgxMaskOptions CaseOptions{moUpper, moOptUpper, moLower, moOptLower};

// The common beginning of two texts, not splitting a multibyte character.
std::size_t CommonPrefix(const AnsiString& A, const AnsiString& B) {
    std::size_t F = 0;
    while (F < A.size() && F < B.size() && A[F] == B[F])
        ++F;
    while (F > 0 && F < A.size() && (static_cast<unsigned char>(A[F]) & 0xC0) == 0x80)
        --F;
    return F;
}

} // namespace

TgxMaskMatcher::TgxMaskMatcher(const AnsiString& Picture, const TgxPictureList& List,
                               const TgxTextCase* TextCase, TgxParseStack& Stack,
                               TgxMatchBudget& Budget)
    : FPicture(Picture), FList(List), FTextCase(TextCase), FStack(Stack), FBudget(Budget) {}

bool TgxMaskMatcher::CheckInput(TgxMaskInput& Input, TgxMaskOptions Options, AnsiString& Result) {
    FStack.Reset();
    FUndo.clear();
    FState = 0;
    FStackBase = StackPosition();
    FInput = &Input;
    CheckSubItems(0, Options, 0, FList.Root());
    FInput = nullptr;
    if (FBudget.Exhausted || FState != 1) return false;
    Result = Input.FoundLiterals + Input.FoundInput;
    return true;
}

bool TgxMaskMatcher::Spend() {
    if (FBudget.Exhausted) return false;
    // The stack grows downwards on every platform this runs on.
    const std::uintptr_t Here = StackPosition();
    const std::size_t Used = Here < FStackBase ? FStackBase - Here : 0;
    if (++FBudget.Steps > MaxMatchSteps || Used > MaxMatchStackBytes) FBudget.Exhausted = true;
    return !FBudget.Exhausted;
}

TgxMaskMatcher::TSaved TgxMaskMatcher::Save() const {
    return {FInput->Pos, FInput->Literals.size(), FUndo.size()};
}

void TgxMaskMatcher::Restore(const TSaved& Saved) {
    while (FUndo.size() > Saved.UndoMark) {
        const TChange& Change = FUndo.back();
        FInput->Text.replace(Change.Pos - 1, Change.Old.size(), Change.Old);
        FUndo.pop_back();
    }
    FInput->Pos = Saved.Pos;
    FInput->Literals.resize(Saved.LiteralsLen);
}

void TgxMaskMatcher::ReplaceAt(int Pos, const AnsiString& Replacement) {
    AnsiString Old = FInput->Text.substr(Pos - 1, Replacement.size());
    if (Old == Replacement) return;
    FUndo.push_back({Pos, std::move(Old)});
    FInput->Text.replace(Pos - 1, Replacement.size(), Replacement);
}

bool TgxMaskMatcher::TextExhausted() const {
    return FInput->Pos > static_cast<int>(FInput->Text.size());
}

AnsiString TgxMaskMatcher::CurrentChar() const {
    return FInput->Text.substr(FInput->Pos - 1, CharCountAt(FInput->Text, FInput->Pos));
}

bool TgxMaskMatcher::CheckSubItems(int Parent, TgxMaskOptions Options, int Iteration,
                                   const TgxPictureNode* Node) {
    if (!Spend() || !Node) return false;
    if (Iteration == 0 && !Node->Optional) Iteration = 1;
    if (Node->Count != -1 && Iteration > Node->Count) return false;

    const TSaved Saved = Save();
    const int K = FStack.Push(Parent, Node, Iteration, FInput->Pos);
    bool Result = false;
    if (Iteration == 0) {
        Result = CheckNextItems(K, Options);
    } else {
        switch (Node->NodeType) {
        case pntCase: {
            TgxMaskOptions CaseRule = Options - CaseOptions;
            const AnsiString Directive = FPicture.substr(Node->Pos - 1, Node->Len);
            if (Directive == ">")
                CaseRule << moOptUpper;
            else if (Directive == ">>")
                CaseRule << moUpper;
            else if (Directive == "<")
                CaseRule << moOptLower;
            else if (Directive == "<<")
                CaseRule << moLower;
            Result = CheckNextItems(K, CaseRule);
            break;
        }
        case pntLiteralChars:
            Result = CheckLiterals(K, Node, Options);
            break;
        case pntGroup:
            Result = CheckSubItems(K, Options, 0, Node->Child.get());
            break;
        case pntMaskChars:
        case pntRange:
            Result = CheckItem(K, Node, Options);
            break;
        case pntNone:
            break;
        }
    }
    if (Result && CheckResult(Options)) return true;

    FStack.Pop();
    Restore(Saved);
    if (Node->NextAlternative)
        return CheckSubItems(Parent, Options, 0, Node->NextAlternative.get());
    return false;
}

bool TgxMaskMatcher::CheckNextItems(int K, TgxMaskOptions Options) {
    if (!Spend()) return false;
    if (K == 0) return TextExhausted();

    const TgxParseEntry Entry = FStack.Item(K);
    const TgxPictureNode* Node = Entry.Node;
    const int I = Entry.Iteration;
    // An optional iteration that consumed nothing would repeat for ever.
    if (Node->Optional && I > 0 && FInput->Pos == Entry.TextPos) return false;

    const int StateBefore = FState;
    bool Result;
    bool TriedNextIteration = false;
    if (!Node->Optional && I < Node->Count) {
        Result = CheckSubItems(Entry.Parent, Options, I + 1, Node);
        TriedNextIteration = true;
    } else if (Node->Next) {
        Result = CheckSubItems(Entry.Parent, Options, 0, Node->Next.get());
    } else {
        Result = CheckNextItems(Entry.Parent, Options);
    }
    // Lazy repetition: one more iteration only after what follows failed.
    // When the step above already was that iteration, trying it again could
    // only repeat the same search.
    if (!Result && !TriedNextIteration && FState <= 1 &&
        !(I > 0 && FState == StateBefore && FInput->Pos == Entry.TextPos))
        Result = CheckSubItems(Entry.Parent, Options, I + 1, Node);
    return Result;
}

bool TgxMaskMatcher::CheckResult(TgxMaskOptions Options) {
    TgxMaskInput& In = *FInput;
    auto TypedPart = [&In] {
        if (In.InputPos < 1 || In.InputLen <= 0) return AnsiString();
        return In.Text.substr(In.InputPos - 1, In.InputLen);
    };
    if (!Options.Contains(moCheckUnique)) {
        if (FState == 0) {
            FState = 1;
            In.FoundLiterals = In.Literals;
            In.FoundInput = TypedPart();
        }
        return true;
    }
    if (!(FState < 2 || !In.CommonLiterals.empty())) return true;
    if (FState == 0) {
        FState = 1;
        In.FoundLiterals = In.Literals;
        In.CommonLiterals = In.Literals;
        In.FoundInput = TypedPart();
        return false;
    }
    if (In.Literals == In.CommonLiterals) {
        FState = 1;
        In.FoundLiterals = In.Literals;
        return false;
    }
    const std::size_t F = CommonPrefix(In.CommonLiterals, In.Literals);
    if (F == 0) {
        ++FState;
        In.CommonLiterals.clear();
        return true;
    }
    if (In.FoundLiterals != In.CommonLiterals) ++FState;
    In.CommonLiterals.resize(F);
    if (In.Literals == In.CommonLiterals) {
        FState = 1;
        In.FoundLiterals = In.Literals;
    }
    return false;
}

bool TgxMaskMatcher::CheckItem(int K, const TgxPictureNode* Node, TgxMaskOptions Options) {
    const bool Full = Options.Contains(moFullCompare);
    if (TextExhausted() && !Full) return true;
    const bool Matched =
        Node->NodeType == pntRange ? CheckRange(Node, Options) : CheckMaskChars(Node, Options);
    if (!Matched) return false;
    if (TextExhausted() && !Full) return true;
    return CheckNextItems(K, Options);
}

bool TgxMaskMatcher::CheckLiterals(int K, const TgxPictureNode* Node, TgxMaskOptions Options) {
    const bool Full = Options.Contains(moFullCompare);
    if (TextExhausted() && !Full) return true;
    // The literal without its escape.
    const int Skip = FPicture[Node->Pos - 1] == ';' ? 1 : 0;
    const std::string_view Literal =
        std::string_view(FPicture).substr(Node->Pos - 1 + Skip, Node->Len - Skip);

    const TSaved Before = Save();
    const bool CouldInsert = CanInsertLiteral(Options);
    const int StateBefore = FState;
    bool Typed = false;
    if (!CheckLiteralChar(Literal, Typed, Options)) return false;
    if (TextExhausted() && !Full) return true;
    if (CheckNextItems(K, Options)) return true;
    // The typed character that matched the literal may instead be the one
    // after it: insert the literal and go on from the same place.
    if (Typed && FState == StateBefore && CouldInsert) {
        Restore(Before);
        if (!CheckLiteralChar(Literal, Typed, Options)) return false;
        if (TextExhausted() && !Full) return true;
        return CheckNextItems(K, Options);
    }
    return false;
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
