#pragma once
// The backtracking matcher of the edit-mask language: runs a candidate text
// against a parsed picture under a set of options, converting case and
// collecting the literals that must be inserted on the way.
//
// The search keeps its own frames on the heap, so a long text costs memory
// in proportion to its length and never the thread's stack. It remembers
// every branch that ended without reaching the end of the picture, keyed by
// everything that branch's outcome depends on, and never searches such a
// branch twice: nested repeats cost time in proportion to the text and the
// picture, not exponential time, and a search without repeat counts always
// runs to its answer. A group's alternatives take one frame between them,
// so the frames follow the text and the groups' nesting. Repeat counts
// multiply the branches (each repetition of a counted item is one of its
// own): the parser refuses a picture whose counts add up to too many, and
// a search under counts that still asks for more than the text and the
// picture account for is given up and answered as not fitting.
#include "grid/foundation/PictureTree.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace grid {

class TgxTextCase;

class TgxMaskMatcher {
public:
    // Picture is the text the tree was parsed from; TextCase may be null.
    TgxMaskMatcher(const AnsiString& Picture, const TgxPictureList& List,
                   const TgxTextCase* TextCase, TgxParseStack& Stack);

    // One run. Succeeds when exactly one answer was settled on; Result is then
    // the inserted literals followed by the typed part as matched.
    bool CheckInput(TgxMaskInput& Input, TgxMaskOptions Options, AnsiString& Result);

private:
    // What a failed branch must put back: the position, the literals
    // gathered so far and the characters changed in place.
    struct TSaved {
        std::int32_t Pos;
        std::uint32_t LiteralsLen;
        std::uint32_t UndoMark;
    };
    struct TChange {
        int Pos;
        AnsiString Old;
    };

    // One pending step of the search: matching a node in an iteration
    // (Sub), going on after an entry matched (Next), or a literal (Literal).
    enum class TStep : std::uint8_t { Sub, Next, Literal };
    struct TFrame {
        TStep Step;
        std::uint8_t Phase = 0;
        bool Flag = false; // Next: the next iteration was the first try; Literal: typed
        bool CouldInsert = false;
        std::uint16_t Options = 0;
        std::int32_t K = 0;      // the entry this frame pushed or goes on from
        std::int32_t Parent = 0; // Sub: the enclosing entry
        std::int32_t Iteration = 0;
        std::int32_t StateBefore = 0;
        const TgxPictureNode* Node = nullptr;
        TSaved Saved{};
        std::uint32_t StepMark = 0; // steps taken before the step began (their low bits)
        std::uint64_t Mark = 0;     // answers settled before the step began
    };

    // Everything the outcome of matching a node from a position depends on.
    struct TBranch {
        std::int32_t Chain;
        std::int32_t Empty; // enclosing iterations that have consumed nothing yet
        const TgxPictureNode* Node;
        std::int32_t Iteration;
        std::int32_t Pos;
        std::uint16_t Options;
        bool MayRepeat;
        bool operator==(const TBranch&) const = default;
    };
    struct TChainLink {
        std::int32_t Parent;
        const TgxPictureNode* Node;
        std::int32_t Iteration;
        bool operator==(const TChainLink&) const = default;
    };
    struct THash {
        std::size_t operator()(const TBranch& B) const;
        std::size_t operator()(const TChainLink& L) const;
    };

    bool Run(TgxMaskOptions Options);
    void EnterSub(TFrame& F, bool& Done, bool& Value);
    void ResumeSub(TFrame& F, bool Ret, bool& Done, bool& Value);
    void EnterNext(TFrame& F, bool& Done, bool& Value);
    void ResumeNext(TFrame& F, bool Ret, bool& Done, bool& Value);
    void EnterLiteral(TFrame& F, bool& Done, bool& Value);
    void ResumeLiteral(TFrame& F, bool Ret, bool& Done, bool& Value);
    void Call(TStep Step, int KOrParent, TgxMaskOptions Options, int Iteration,
              const TgxPictureNode* Node);

    void TailCall(TStep Step, int KOrParent, TgxMaskOptions Options, int Iteration,
                  const TgxPictureNode* Node);

    TBranch BranchOf(int Parent, TgxMaskOptions Options, int Iteration, const TgxPictureNode* Node);
    int ChainOf(int K);
    int PushEntry(int Parent, const TgxPictureNode* Node, int Iteration);
    void PopEntry();
    bool AnswersSettled(TgxMaskOptions Options) const;
    bool IsDead(const TBranch& Branch) const;
    void AddDead(const TBranch& Branch);

    bool CheckLiteralChar(std::string_view Literal, bool& Typed, TgxMaskOptions Options);
    std::string_view LiteralOf(const TgxPictureNode* Node) const;
    bool CheckMaskChars(const TgxPictureNode* Node, TgxMaskOptions Options);
    bool CheckMaskChar(char PictureChar, TgxMaskOptions Options);
    bool CheckLetterCase(TgxMaskOptions Options, TgxMaskOption CaseType);
    bool CheckRange(const TgxPictureNode* Node, TgxMaskOptions Options);
    bool CheckResult(TgxMaskOptions Options);

    TgxMaskOption GetCaseType(TgxMaskOptions Options, TgxMaskOption Default) const;
    bool CanConvertCase(TgxMaskOptions Options, TgxMaskOption CaseType) const;
    bool CanInsertLiteral(TgxMaskOptions Options) const;
    bool IsInputChar() const;
    bool IsWordStart() const;
    bool IsSentenceStart() const;
    bool CheckCase(TgxMaskOption CaseType) const;
    bool ConvertCase(TgxMaskOption CaseType);
    AnsiString CurrentChar() const;
    void ReplaceAt(int Pos, const AnsiString& Replacement);
    bool TextExhausted() const;

    TSaved Save() const;
    void Restore(const TSaved& Saved);

    const AnsiString& FPicture;
    const TgxPictureList& FList;
    const TgxTextCase* FTextCase;
    TgxParseStack& FStack;
    TgxMaskInput* FInput = nullptr;
    int FState = 0;
    std::uint64_t FSettled = 0; // answers looked at so far (CheckResult)
    std::uint64_t FSteps = 0;
    const int FNesting;
    // Whether the picture has a repeat count other than * alone; only such
    // a search has a budget, and gives up once it is spent.
    const bool FCounted;
    std::size_t FMaxFrames = 0;
    std::size_t FStepsLeft = 0;
    bool FGaveUp = false;
    std::vector<TChange> FUndo;
    // Grown a block at a time, never copied: a search as deep as a long
    // text holds its frames once, not twice while they move.
    std::deque<TFrame> FFrames;
    std::vector<std::int32_t> FChains; // chain of each stack entry, [0] for none
    std::unordered_map<TChainLink, std::int32_t, THash> FChainIds;
    // The branches known to fail, in open addressing (a free slot has no
    // node): one block of memory, probed in place, as the search asks it at
    // every step.
    std::vector<TBranch> FDead;
    std::size_t FDeadCount = 0;
};

} // namespace grid
