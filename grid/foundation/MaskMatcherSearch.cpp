// The plain depth-first search over the parsed picture: alternatives in
// order, repetitions lazily, every way met as often as the search reaches
// it. It settles the answers of a unique check (see Conclude); being
// exhaustive there, it runs on a budget of steps and of nesting.
//
// Only the typed part of the text can change on the way (a converted
// letter, a literal taken without regard to case), so the bytes a change
// overwrote are kept in an undo list and put back on backtracking instead
// of copying the text at every step.
#include "grid/foundation/MaskMatcher.h"

#include "grid/foundation/CountScope.h"
#include "grid/foundation/TextChars.h"

namespace grid {

namespace {

const TgxMaskOptions CaseOptions{moUpper, moOptUpper, moLower, moOptLower};

// A node as the character checks take it.
TgxMaskStep StepOf(const TgxPictureNode& Node) {
    TgxMaskStep Step;
    Step.Type = Node.NodeType;
    Step.Negate = Node.Negate;
    Step.Pos = Node.Pos;
    Step.RangeHigh = Node.RangeHigh;
    Step.Len = Node.Len;
    return Step;
}

} // namespace

// One run of the search on a copy of Record; false when it ran out of
// budget (nothing is then known), else Answer and Result are its outcome.
bool TgxMaskMatcher::Search(const TgxMaskInput& Record, TgxMaskOptions Options, bool& Answer,
                            AnsiString& Result) {
    FWork = TgxMaskInput{};
    FWork.Text = Record.Text;
    FWork.InputPos = Record.InputPos;
    FWork.InputLen = Record.InputLen;
    FText = &FWork.Text;
    FInputPos = Record.InputPos;
    FInputLen = Record.InputLen;
    FPos = 1;
    FFull = Options.Contains(moFullCompare);
    FStack.Reset();
    FUndo.clear();
    FSearchState = 0;
    FSteps = 0;
    FDepth = 0;
    FAborted = false;
    SearchSub(0, FRoot, 0, static_cast<std::uint16_t>(Options.Bits()));
    FText = nullptr;
    if (FAborted) return false;
    Answer = FSearchState == 1;
    if (Answer) Result = FWork.FoundLiterals + FWork.FoundInput;
    return true;
}

bool TgxMaskMatcher::Affordable() {
    if (!FAborted && (++FSteps > SearchSteps || FDepth > SearchDepth)) FAborted = true;
    return !FAborted;
}

TgxMaskMatcher::TSaved TgxMaskMatcher::SaveWork() const {
    return {FPos, FUndo.size(), FWork.Literals};
}

void TgxMaskMatcher::RestoreWork(const TSaved& Saved) {
    FPos = Saved.Pos;
    FWork.Literals = Saved.Literals;
    while (FUndo.size() > Saved.Undo) {
        const auto& [Pos, Bytes] = FUndo.back();
        FWork.Text.replace(static_cast<std::size_t>(Pos - 1), Bytes.size(), Bytes);
        FUndo.pop_back();
    }
}

// Bytes of the same length in place of those at Pos.
void TgxMaskMatcher::Overwrite(int Pos, std::string_view Bytes) {
    const auto At = static_cast<std::size_t>(Pos - 1);
    if (std::string_view(FWork.Text).substr(At, Bytes.size()) == Bytes) return;
    FUndo.emplace_back(Pos, FWork.Text.substr(At, Bytes.size()));
    FWork.Text.replace(At, Bytes.size(), Bytes);
}

bool TgxMaskMatcher::SearchSub(int Parent, const TgxPictureNode* Node, int Iteration,
                               std::uint16_t Bits) {
    const TCountScope Nested(FDepth);
    // Failing one alternative, the next is tried from the same place.
    for (; Node; Node = Node->NextAlternative.get(), Iteration = 0) {
        if (!Affordable()) return false;
        if (Iteration == 0 && !Node->Optional) Iteration = 1;
        if (Node->Count != -1 && Iteration > Node->Count) return false;
        const TSaved Saved = SaveWork();
        const int K = FStack.Push(Parent, Node, Iteration, FPos);
        const TgxMaskOptions Options = TgxMaskOptions::FromBits(Bits);
        bool Ok = false;
        if (Iteration == 0) {
            Ok = SearchNext(K, Bits); // an optional item skipped
        } else {
            switch (Node->NodeType) {
            case pntCase: {
                const TgxMaskOptions Rule = TgxMaskOptions::FromBits(
                    CaseRuleOf(FPicture.substr(static_cast<std::size_t>(Node->Pos - 1),
                                               static_cast<std::size_t>(Node->Len))));
                Ok = SearchNext(K, static_cast<std::uint16_t>(((Options - CaseOptions) + Rule).Bits()));
                break;
            }
            case pntLiteralChars:
                Ok = SearchLiteral(K, Node, Bits);
                break;
            case pntGroup:
                Ok = SearchSub(K, Node->Child.get(), 0, Bits);
                break;
            case pntMaskChars:
            case pntRange:
                if (TextExhausted() && !FFull) {
                    Ok = true;
                } else {
                    Ok = SearchChars(Node, Options);
                    if (Ok && !(TextExhausted() && !FFull)) Ok = SearchNext(K, Bits);
                }
                break;
            case pntNone:
                break;
            }
        }
        if (Ok && SearchSettles(Options)) return true;
        FStack.Pop();
        RestoreWork(Saved);
    }
    return false;
}

// What comes after entry K matched.
bool TgxMaskMatcher::SearchNext(int K, std::uint16_t Bits) {
    const TCountScope Nested(FDepth);
    if (!Affordable()) return false;
    if (K == 0) return TextExhausted();
    const TgxParseEntry E = FStack.Item(K);
    const TgxPictureNode* Node = E.Node;
    // An optional iteration that consumed nothing would repeat for ever.
    if (Node->Optional && E.Iteration > 0 && FPos == E.TextPos) return false;
    const int StartState = FSearchState;
    bool Ok = false;
    if (!Node->Optional && E.Iteration < Node->Count)
        Ok = SearchSub(E.Parent, Node, E.Iteration + 1, Bits);
    else if (Node->Next)
        Ok = SearchSub(E.Parent, Node->Next.get(), 0, Bits);
    else
        Ok = SearchNext(E.Parent, Bits);
    // Failing that, one more repetition: never once answers disagree, nor
    // after one that consumed nothing and changed nothing.
    if (!Ok && FSearchState <= 1 &&
        !(E.Iteration > 0 && FSearchState == StartState && FPos == E.TextPos))
        Ok = SearchSub(E.Parent, Node, E.Iteration + 1, Bits);
    return Ok;
}

bool TgxMaskMatcher::SearchLiteral(int K, const TgxPictureNode* Node, std::uint16_t Bits) {
    if (TextExhausted() && !FFull) return true;
    const std::string_view L = LiteralOf(StepOf(*Node));
    const bool CouldInsert = CanInsertLiteral(TgxMaskOptions::FromBits(Bits));
    const TSaved Before = SaveWork();
    const int StartState = FSearchState;
    bool TookText = false;
    if (LiteralThenOn(K, L, Bits, false, TookText)) return true;
    // A typed character equal to the literal, taken as the literal, led
    // nowhere: it may be the character after the literal inserted.
    if (!TookText || FSearchState != StartState || !CouldInsert) return false;
    RestoreWork(Before);
    bool Ignored = false;
    return LiteralThenOn(K, L, Bits, true, Ignored);
}

bool TgxMaskMatcher::LiteralThenOn(int K, std::string_view L, std::uint16_t Bits, bool Typed,
                                   bool& TookText) {
    TookText = false;
    const TgxMaskOptions Options = TgxMaskOptions::FromBits(Bits);
    const int Len = static_cast<int>(L.size());
    if (!Typed && FPos + Len - 1 <= static_cast<int>(FText->size()) && LiteralMatches(L, Options)) {
        Overwrite(FPos, L);
        FPos += Len;
        TookText = true;
    } else if (CanInsertLiteral(Options)) {
        FWork.Literals += AnsiString(L);
    } else {
        return false;
    }
    if (TextExhausted() && !FFull) return true;
    return SearchNext(K, Bits);
}

// A run of mask characters, or a range: each character checked and, when
// the check converts it, converted in place.
bool TgxMaskMatcher::SearchChars(const TgxPictureNode* Node, TgxMaskOptions Options) {
    AnsiString Converted;
    if (Node->NodeType == pntRange) {
        if (!CheckRange(StepOf(*Node), Options, Converted)) return false;
        const int Bytes = CharCountAt(*FText, FPos);
        if (!Converted.empty()) Overwrite(FPos, Converted);
        FPos += Bytes;
        return true;
    }
    for (int P = Node->Pos; P < Node->Pos + Node->Len; ++P) {
        if (TextExhausted() && !FFull) break;
        if (!CheckMaskChar(FPicture[static_cast<std::size_t>(P - 1)], Options, Converted))
            return false;
        const int Bytes = CharCountAt(*FText, FPos);
        if (!Converted.empty()) Overwrite(FPos, Converted);
        FPos += Bytes;
    }
    return true;
}

// The bookkeeping of a success; true when the success stands.
bool TgxMaskMatcher::SearchSettles(TgxMaskOptions Options) {
    if (FSearchState == 0 && FInputPos >= 1 && FInputLen > 0)
        FWork.FoundInput = FWork.Text.substr(static_cast<std::size_t>(FInputPos - 1),
                                             static_cast<std::size_t>(FInputLen));
    return Weigh(FSearchState, FWork, FWork.Literals, Options.Contains(moCheckUnique));
}

} // namespace grid
