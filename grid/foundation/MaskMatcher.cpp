#include "grid/foundation/MaskMatcher.h"

#include <algorithm>
#include <functional>

namespace grid {

namespace {

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

// Beyond its first, the iterations of an item without an upper bound are
// alike: nothing the search does depends on their number.
constexpr std::int32_t UnknownChain = -1;

int Alike(const TgxPictureNode* Node, int Iteration) {
    return Node->Count == -1 ? std::min(Iteration, 1) : Iteration;
}

// How deeply the picture's groups nest.
int NestingOf(const TgxPictureNode* Root) {
    int Deepest = 0;
    std::vector<std::pair<const TgxPictureNode*, int>> Pending{{Root, 0}};
    while (!Pending.empty()) {
        const auto [Node, Depth] = Pending.back();
        Pending.pop_back();
        if (!Node) continue;
        Deepest = std::max(Deepest, Depth);
        Pending.push_back({Node->Child.get(), Depth + 1});
        Pending.push_back({Node->Next.get(), Depth});
        Pending.push_back({Node->NextAlternative.get(), Depth});
    }
    return Deepest;
}

bool HasRepeatCount(const TgxPictureNode* Root) {
    std::vector<const TgxPictureNode*> Pending{Root};
    while (!Pending.empty()) {
        const TgxPictureNode* Node = Pending.back();
        Pending.pop_back();
        if (!Node) continue;
        if (Node->Count > 1) return true;
        Pending.push_back(Node->Child.get());
        Pending.push_back(Node->Next.get());
        Pending.push_back(Node->NextAlternative.get());
    }
    return false;
}

// A branch that failed within this many steps is cheaper to search again
// than to remember: only the costly ones are kept, so that a long text
// with many short alternatives at each place doesn't fill memory with
// them, while any search still passes each costly branch once.
constexpr std::uint32_t CostlyBranch = 64;

std::size_t Mix(std::size_t Seed, std::size_t Value) {
    return Seed ^ (Value + 0x9e3779b97f4a7c15ULL + (Seed << 6) + (Seed >> 2));
}

TgxMaskOptions OptionsOf(std::uint16_t Bits) {
    return TgxMaskOptions::FromBits(Bits);
}

std::uint16_t BitsOf(TgxMaskOptions Options) {
    return static_cast<std::uint16_t>(Options.Bits());
}

} // namespace

std::size_t TgxMaskMatcher::THash::operator()(const TBranch& B) const {
    std::size_t H = std::hash<const void*>()(B.Node);
    for (std::size_t Value : {std::size_t(B.Chain), std::size_t(B.Empty), std::size_t(B.Iteration),
                              std::size_t(B.Pos), std::size_t(B.Options), std::size_t(B.MayRepeat)})
        H = Mix(H, Value);
    return H;
}

std::size_t TgxMaskMatcher::THash::operator()(const TChainLink& L) const {
    return Mix(Mix(std::hash<const void*>()(L.Node), std::size_t(L.Parent)),
               std::size_t(L.Iteration));
}

TgxMaskMatcher::TgxMaskMatcher(const AnsiString& Picture, const TgxPictureList& List,
                               const TgxTextCase* TextCase, TgxParseStack& Stack)
    : FPicture(Picture), FList(List), FTextCase(TextCase), FStack(Stack),
      FNesting(NestingOf(List.Root())), FCounted(HasRepeatCount(List.Root())) {}

bool TgxMaskMatcher::CheckInput(TgxMaskInput& Input, TgxMaskOptions Options, AnsiString& Result) {
    FStack.Reset();
    FUndo.clear();
    FFrames.clear();
    FChains.assign(1, 0);
    FChainIds.clear();
    FDead.clear();
    FDeadCount = 0;
    FState = 0;
    FSettled = 0;
    FInput = &Input;
    FSteps = 0;
    // Without repeat counts the search is bounded by the branches it
    // remembers, and runs to its answer. Each repetition of a counted item
    // is a branch of its own, so even the counts the parser lets through
    // can ask for far more than the text accounts for (a group counted 500
    // times around a loop, on a long text); there the search is cut off
    // rather than let a short picture take all the time and memory there
    // is. Each text position may keep about two frames for each group
    // around the item that matched there (twice that is allowed), each
    // item that consumes nothing one more, and 65,536 frames whatever the
    // sizes; steps are allowed at 16 for each frame.
    FGaveUp = false;
    if (FCounted) {
        const std::size_t Positions = Input.Text.size() + 1;
        FMaxFrames = Positions * (4 * FNesting + 16) + 64 * (FPicture.size() + 1) + (1U << 16);
        FStepsLeft = 16 * FMaxFrames;
    } else {
        FMaxFrames = SIZE_MAX;
        FStepsLeft = SIZE_MAX;
    }
    Run(Options);
    FFrames.clear();
    FInput = nullptr;
    if (FGaveUp || FState != 1) return false;
    Result = Input.FoundLiterals + Input.FoundInput;
    return true;
}

TgxMaskMatcher::TSaved TgxMaskMatcher::Save() const {
    return {FInput->Pos, static_cast<std::uint32_t>(FInput->Literals.size()),
            static_cast<std::uint32_t>(FUndo.size())};
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

int TgxMaskMatcher::PushEntry(int Parent, const TgxPictureNode* Node, int Iteration) {
    const int K = FStack.Push(Parent, Node, Iteration, FInput->Pos);
    FChains.push_back(UnknownChain); // worked out only when a branch is remembered
    return K;
}

int TgxMaskMatcher::ChainOf(int K) {
    if (K == 0 || FChains[K] != UnknownChain) return FChains[K];
    const TgxParseEntry& Entry = FStack.Item(K);
    const TChainLink Link{ChainOf(Entry.Parent), Entry.Node, Alike(Entry.Node, Entry.Iteration)};
    const auto [It, Added] = FChainIds.try_emplace(Link, static_cast<int>(FChainIds.size()) + 1);
    FChains[K] = It->second;
    return It->second;
}

void TgxMaskMatcher::PopEntry() {
    FStack.Pop();
    FChains.pop_back();
}

// A branch's outcome depends on the node, its iteration and the position,
// the options, whether repetitions may still be tried, and what the
// enclosing entries will do once it is through: their nodes and iterations
// (the chain) and which of their iterations have consumed nothing so far.
// Those are always the innermost ones, as positions only grow inwards.
TgxMaskMatcher::TBranch TgxMaskMatcher::BranchOf(int Parent, TgxMaskOptions Options, int Iteration,
                                                 const TgxPictureNode* Node) {
    int Empty = 0;
    for (int K = Parent; K != 0 && FStack.Item(K).TextPos == FInput->Pos; K = FStack.Item(K).Parent)
        ++Empty;
    return {ChainOf(Parent), Empty,           Node,       Alike(Node, Iteration),
            FInput->Pos,     BitsOf(Options), FState <= 1};
}

bool TgxMaskMatcher::IsDead(const TBranch& Branch) const {
    if (FDead.empty()) return false;
    const std::size_t Mask = FDead.size() - 1;
    for (std::size_t At = THash()(Branch) & Mask;; At = (At + 1) & Mask) {
        if (!FDead[At].Node) return false;
        if (FDead[At] == Branch) return true;
    }
}

void TgxMaskMatcher::AddDead(const TBranch& Branch) {
    // At most half full, so a probe meets a free slot soon.
    if (2 * (FDeadCount + 1) > FDead.size()) {
        std::vector<TBranch> Old(std::max<std::size_t>(64, 2 * FDead.size()), TBranch{});
        Old.swap(FDead);
        FDeadCount = 0;
        for (const TBranch& B : Old)
            if (B.Node) AddDead(B);
    }
    const std::size_t Mask = FDead.size() - 1;
    std::size_t At = THash()(Branch) & Mask;
    while (FDead[At].Node) {
        if (FDead[At] == Branch) return;
        At = (At + 1) & Mask;
    }
    FDead[At] = Branch;
    ++FDeadCount;
}

// Whether every answer a branch from here could reach is one already taken
// in, so that searching it would change nothing: the literals can no longer
// grow once the position has passed the typed input.
bool TgxMaskMatcher::AnswersSettled(TgxMaskOptions Options) const {
    if (!Options.Contains(moCheckUnique) || FState < 1) return false;
    const TgxMaskInput& In = *FInput;
    if (Options.Contains(moInsertLiteral) && In.Pos <= In.InputPos) return false;
    if (FState >= 2 && In.CommonLiterals.empty()) return false;
    if (In.Literals == In.CommonLiterals) return FState == 1 && In.FoundLiterals == In.Literals;
    return !In.CommonLiterals.empty() && In.FoundLiterals == In.CommonLiterals &&
           CommonPrefix(In.CommonLiterals, In.Literals) == In.CommonLiterals.size();
}

void TgxMaskMatcher::TailCall(TStep Step, int KOrParent, TgxMaskOptions Options, int Iteration,
                              const TgxPictureNode* Node) {
    FFrames.pop_back();
    Call(Step, KOrParent, Options, Iteration, Node);
}

void TgxMaskMatcher::Call(TStep Step, int KOrParent, TgxMaskOptions Options, int Iteration,
                          const TgxPictureNode* Node) {
    TFrame F;
    F.Step = Step;
    F.Options = BitsOf(Options);
    if (Step == TStep::Sub)
        F.Parent = KOrParent;
    else
        F.K = KOrParent;
    F.Iteration = Iteration;
    F.Node = Node;
    if (FFrames.size() >= FMaxFrames) FGaveUp = true;
    FFrames.push_back(F);
}

bool TgxMaskMatcher::Run(TgxMaskOptions Options) {
    Call(TStep::Sub, 0, Options, 0, FList.Root());
    bool Ret = false;
    bool Returning = false;
    while (!FFrames.empty() && !FGaveUp) {
        if (FStepsLeft-- == 0) {
            FGaveUp = true;
            break;
        }
        ++FSteps;
        // A step either calls another (pushing its frame; the reference is
        // not used after that) or is done with a value for its caller.
        TFrame& F = FFrames.back();
        bool Done = false;
        bool Value = false;
        switch (F.Step) {
        case TStep::Sub:
            if (Returning)
                ResumeSub(F, Ret, Done, Value);
            else
                EnterSub(F, Done, Value);
            break;
        case TStep::Next:
            if (Returning)
                ResumeNext(F, Ret, Done, Value);
            else
                EnterNext(F, Done, Value);
            break;
        case TStep::Literal:
            if (Returning)
                ResumeLiteral(F, Ret, Done, Value);
            else
                EnterLiteral(F, Done, Value);
            break;
        }
        Returning = Done;
        if (Done) {
            FFrames.pop_back();
            Ret = Value;
        }
    }
    return Ret;
}

void TgxMaskMatcher::EnterSub(TFrame& F, bool& Done, bool& Value) {
    const TgxPictureNode* Node = F.Node;
    Done = true;
    Value = false;
    if (!Node) return;
    if (F.Iteration == 0 && !Node->Optional) F.Iteration = 1;
    if (Node->Count != -1 && F.Iteration > Node->Count) return;
    const TgxMaskOptions Options = OptionsOf(F.Options);
    if (FDeadCount > 0 && IsDead(BranchOf(F.Parent, Options, F.Iteration, Node))) return;
    if (AnswersSettled(Options)) {
        ++FSettled; // the branch was passed over, not found empty
        return;
    }

    F.Mark = FSettled;
    F.StepMark = static_cast<std::uint32_t>(FSteps);
    F.Saved = Save();
    F.K = PushEntry(F.Parent, Node, F.Iteration);
    F.Phase = 1;
    Done = false;
    const int K = F.K;
    if (F.Iteration == 0) { // an optional item skipped
        Call(TStep::Next, K, Options, 0, nullptr);
        return;
    }
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
        Call(TStep::Next, K, CaseRule, 0, nullptr);
        return;
    }
    case pntLiteralChars:
        Call(TStep::Literal, K, Options, 0, Node);
        return;
    case pntGroup:
        Call(TStep::Sub, K, Options, 0, Node->Child.get());
        return;
    case pntMaskChars:
    case pntRange: {
        const bool Full = Options.Contains(moFullCompare);
        bool Result = true;
        if (!TextExhausted() || Full) {
            Result = Node->NodeType == pntRange ? CheckRange(Node, Options)
                                                : CheckMaskChars(Node, Options);
            if (Result && (!TextExhausted() || Full)) {
                Call(TStep::Next, K, Options, 0, nullptr);
                return;
            }
        }
        ResumeSub(F, Result, Done, Value);
        return;
    }
    case pntNone:
        ResumeSub(F, false, Done, Value);
        return;
    }
}

void TgxMaskMatcher::ResumeSub(TFrame& F, bool Ret, bool& Done, bool& Value) {
    const TgxMaskOptions Options = OptionsOf(F.Options);
    Done = true;
    Value = Ret;
    if (F.Phase == 1) {
        if (Ret && CheckResult(Options)) return;
        PopEntry();
        Restore(F.Saved);
        if (F.Node->NextAlternative) {
            // The next alternative's answer is this step's: the frame is not
            // kept for it, so a group of many alternatives costs one frame.
            Done = false;
            TailCall(TStep::Sub, F.Parent, Options, 0, F.Node->NextAlternative.get());
            return;
        }
        Value = false;
    }
    if (!Value && FSettled == F.Mark && static_cast<std::uint32_t>(FSteps) - F.StepMark >= CostlyBranch)
        AddDead(BranchOf(F.Parent, Options, F.Iteration, F.Node));
}

void TgxMaskMatcher::EnterNext(TFrame& F, bool& Done, bool& Value) {
    Done = true;
    if (F.K == 0) {
        Value = TextExhausted();
        return;
    }
    const TgxParseEntry Entry = FStack.Item(F.K);
    const TgxPictureNode* Node = Entry.Node;
    const int I = Entry.Iteration;
    // An optional iteration that consumed nothing would repeat for ever.
    Value = false;
    if (Node->Optional && I > 0 && FInput->Pos == Entry.TextPos) return;

    const TgxMaskOptions Options = OptionsOf(F.Options);
    F.StateBefore = FState;
    F.Phase = 1;
    Done = false;
    if (!Node->Optional && I < Node->Count) {
        F.Flag = true;
        Call(TStep::Sub, Entry.Parent, Options, I + 1, Node);
    } else if (Node->Next) {
        Call(TStep::Sub, Entry.Parent, Options, 0, Node->Next.get());
    } else {
        Call(TStep::Next, Entry.Parent, Options, 0, nullptr);
    }
}

void TgxMaskMatcher::ResumeNext(TFrame& F, bool Ret, bool& Done, bool& Value) {
    Done = true;
    Value = Ret;
    if (F.Phase != 1) return;
    const TgxParseEntry Entry = FStack.Item(F.K);
    const int I = Entry.Iteration;
    // Lazy repetition: one more iteration only after what follows failed.
    // When the step before already was that iteration, trying it again could
    // only repeat the same search.
    if (!Ret && !F.Flag && FState <= 1 &&
        !(I > 0 && FState == F.StateBefore && FInput->Pos == Entry.TextPos)) {
        // Its answer is this step's: the frame is not kept for it.
        Done = false;
        TailCall(TStep::Sub, Entry.Parent, OptionsOf(F.Options), I + 1, Entry.Node);
    }
}

void TgxMaskMatcher::EnterLiteral(TFrame& F, bool& Done, bool& Value) {
    const TgxMaskOptions Options = OptionsOf(F.Options);
    const bool Full = Options.Contains(moFullCompare);
    Done = true;
    Value = true;
    if (TextExhausted() && !Full) return;
    F.Saved = Save();
    F.CouldInsert = CanInsertLiteral(Options);
    F.StateBefore = FState;
    bool Typed = false;
    Value = CheckLiteralChar(LiteralOf(F.Node), Typed, Options);
    F.Flag = Typed;
    if (!Value || (TextExhausted() && !Full)) return;
    F.Phase = 1;
    Done = false;
    Call(TStep::Next, F.K, Options, 0, nullptr);
}

void TgxMaskMatcher::ResumeLiteral(TFrame& F, bool Ret, bool& Done, bool& Value) {
    const TgxMaskOptions Options = OptionsOf(F.Options);
    const bool Full = Options.Contains(moFullCompare);
    Done = true;
    Value = Ret;
    if (Ret || F.Phase != 1) return;
    // The typed character that matched the literal may instead be the one
    // after it: insert the literal and go on from the same place.
    if (!(F.Flag && FState == F.StateBefore && F.CouldInsert)) return;
    Restore(F.Saved);
    bool Typed = true;
    Value = CheckLiteralChar(LiteralOf(F.Node), Typed, Options);
    if (!Value || (TextExhausted() && !Full)) return;
    Done = false;
    TailCall(TStep::Next, F.K, Options, 0, nullptr);
}

bool TgxMaskMatcher::CheckResult(TgxMaskOptions Options) {
    ++FSettled;
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

} // namespace grid
