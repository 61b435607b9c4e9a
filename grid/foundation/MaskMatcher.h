#pragma once
// The backtracking matcher of the edit-mask language: runs a candidate text
// against a parsed picture under a set of options, converting case and
// collecting the literals that must be inserted on the way.
#include "grid/foundation/PictureTree.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace grid {

class TgxTextCase;

// Work allowed to one question put to a mask (all its runs together). A
// picture that needs more steps, or more stack for the nesting of its
// search, than this is answered as not matching rather than left to run for
// ages or to overflow the stack. The stack is measured, not the depth, so
// the limit holds whatever a frame costs in the build at hand.
inline constexpr long MaxMatchSteps = 50000;
inline constexpr std::size_t MaxMatchStackBytes = 4 * 1024 * 1024;

struct TgxMatchBudget {
    long Steps = 0;
    bool Exhausted = false;
};

class TgxMaskMatcher {
public:
    // Picture is the text the tree was parsed from; TextCase may be null.
    TgxMaskMatcher(const AnsiString& Picture, const TgxPictureList& List,
                   const TgxTextCase* TextCase, TgxParseStack& Stack, TgxMatchBudget& Budget);

    // One run. Succeeds when exactly one answer was settled on; Result is then
    // the inserted literals followed by the typed part as matched.
    bool CheckInput(TgxMaskInput& Input, TgxMaskOptions Options, AnsiString& Result);

private:
    // What a failed branch must put back: the position, the literals
    // gathered so far and the characters changed in place.
    struct TSaved {
        int Pos;
        std::size_t LiteralsLen;
        std::size_t UndoMark;
    };
    struct TChange {
        int Pos;
        AnsiString Old;
    };

    bool CheckSubItems(int Parent, TgxMaskOptions Options, int Iteration,
                       const TgxPictureNode* Node);
    bool CheckNextItems(int K, TgxMaskOptions Options);
    bool CheckItem(int K, const TgxPictureNode* Node, TgxMaskOptions Options);
    bool CheckLiterals(int K, const TgxPictureNode* Node, TgxMaskOptions Options);
    bool CheckLiteralChar(std::string_view Literal, bool& Typed, TgxMaskOptions Options);
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
    bool Spend();

    TSaved Save() const;
    void Restore(const TSaved& Saved);

    const AnsiString& FPicture;
    const TgxPictureList& FList;
    const TgxTextCase* FTextCase;
    TgxParseStack& FStack;
    TgxMatchBudget& FBudget;
    TgxMaskInput* FInput = nullptr;
    int FState = 0;
    std::uintptr_t FStackBase = 0;
    std::vector<TChange> FUndo;
};

} // namespace grid
