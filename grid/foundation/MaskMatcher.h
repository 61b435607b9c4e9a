#pragma once
// The matcher of the edit-mask language: runs a candidate text against a
// parsed picture under a set of options, converting case and collecting the
// literals that must be inserted on the way.
//
// The picture's search is a depth-first one, alternatives in order and
// repetitions lazily, stopping at the first way the text fits. The matcher
// follows every way at once instead, one text position after the other,
// keeping the ways in the order the depth-first search would reach them,
// and dropping a way that arrives where an earlier one already stands (same
// place in the picture, same repetitions, same case rule, same literals):
// whatever it could still do, the earlier one does first. So the first way
// to reach the end of the text is the one the search would settle on, and
// the work is bounded by the picture's places times the text's length, for
// any nesting of repeats.
#include "grid/foundation/MaskCaseChanges.h"
#include "grid/foundation/MaskProgram.h"
#include "grid/foundation/PictureTree.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace grid {

class TgxTextCase;

class TgxMaskMatcher {
public:
    // Picture is the text the tree was parsed from; TextCase may be null.
    TgxMaskMatcher(const AnsiString& Picture, const TgxPictureList& List,
                   const TgxTextCase* TextCase);

    // One run. Succeeds when exactly one answer was settled on; Result is then
    // the inserted literals followed by the typed part as matched.
    bool CheckInput(TgxMaskInput& Input, TgxMaskOptions Options, AnsiString& Result);
    // The runs in turn on a copy of Record, until one succeeds (its Result
    // as above); they differ only in options that matter from the caret on.
    bool CheckRuns(const TgxMaskInput& Record, const std::vector<TgxMaskOptions>& Runs,
                   AnsiString& Result);

    // Literal insertions at the caret are followed as far as this many
    // different runs of literals; a picture that offers more (optional
    // literals one after the other, each taken or not) is taken as having
    // no single answer there.
    static constexpr std::size_t MaxLiteralChoices = 4096;

private:
    using THistory = TgxMaskCaseChanges::THistory;
    // What a way does when it next stands at a text position: go on with
    // the next character of a run of mask characters, or go on after the
    // item that consumed the last character.
    enum class TResume : std::uint8_t { MaskChar, AfterItem };
    struct TWay {
        TResume Resume;
        std::uint8_t Skip;   // bytes of a multibyte character still to pass
        std::uint16_t Options;
        std::int32_t Entry; // the entries the way stands in (innermost first)
        std::int32_t Offset; // MaskChar: the character of the run
        std::int32_t Literals;
        THistory Changes;
        // Not a way but a run of ways in flight (see TFlight), standing here
        // in the order of the ways.
        std::int32_t Flight = -1;
    };
    // Ways that passed a counted character at once, in the order they go
    // on, each until the position where it lands; they land in the order
    // they stand, so a run of them takes one place in the list of ways.
    struct TFlight {
        std::vector<std::pair<std::int32_t, TWay>> Ways; // landing position, way
        std::size_t Head = 0;
    };
    // One step of following the ways at a single text position.
    enum class TTask : std::uint8_t { Sub, Next, MaskChar };
    struct TPending {
        TTask Task;
        std::uint16_t Options;
        std::uint16_t Fresh; // innermost entries begun at this position
        std::int32_t Entry;  // Sub: the enclosing entry; else the item's own
        std::int32_t Step;
        std::int32_t Iteration;
        std::int32_t Literals;
        THistory Changes;
        // Sub: this alternative only, not the ones after it (they were
        // picked out already, by the character they can begin with).
        bool Alone = false;
    };
    // An entry: a step in an iteration, within an enclosing entry. Entries
    // are shared by every way that stands in them.
    struct TEntry {
        std::int32_t Parent;
        std::int32_t Step;
        std::int32_t Iteration;
        bool operator==(const TEntry&) const = default;
    };
    struct TKey {
        std::uint32_t A, B, C, D, E, F;
        bool operator==(const TKey&) const = default;
    };
    struct TSlot {
        TKey Key;
        std::uint32_t Stamp;
    };

    // The ways standing just past the caret in a run that found no answer,
    // by their place and options (the options of Ignored left out): a
    // later run whose ways there are all among them finds none either.
    struct TDeadEnd {
        std::int32_t Pos; // where the ways were
        std::vector<std::array<std::uint32_t, 3>> Places; // sorted
        std::uint16_t Ignored;
    };
    void GoOnPastCaret(std::vector<TDeadEnd>& DeadEnds, std::uint16_t Options);
    std::array<std::uint32_t, 3> PlaceOf(const TWay& W, std::uint16_t Ignored) const;
    bool Alike(TgxMaskOptions First, TgxMaskOptions Then) const;
    void StartFollowing(std::vector<TDeadEnd>& DeadEnds, TgxMaskInput& Input,
                        TgxMaskOptions Options);
    void Begin(const TgxMaskInput& Input);
    void Start(TgxMaskInput& Input, TgxMaskOptions Options);
    void Advance(int Stop);
    bool Finish(TgxMaskInput& Input, AnsiString& Result);
    bool Conclude(TgxMaskInput& Input, const TgxMaskInput& Record, TgxMaskOptions Options,
                  AnsiString& Result);
    void Follow(TPending Start);
    void Sub(const TPending& P);
    void Next(const TPending& P);
    void Literal(const TPending& P, int Entry, const TgxMaskStep& Step);
    bool TakenAsItStands(std::uint16_t Options) const;
    void MaskChar(const TPending& P);
    void Range(const TPending& P, const TgxMaskStep& Step);
    void Consumed(const TPending& P, TResume Resume, int Offset, int Bytes,
                  std::string_view Converted);
    void Accept(int Literals, THistory Changes);
    void Resume(const TWay& W);
    void Land(int Flight);
    bool Pass(const TPending& P, int Step, int Entry);
    void Schedule(const TWay& W, int Landing);
    const std::vector<std::int32_t>& RunsOf(int Step, std::uint16_t Options);
    bool FirstVisit(const TKey& Key, std::size_t Own);
    bool FirstVisitShared(const TKey& Key);
    std::size_t OwnSlot(int Entry, int Kind) const;
    int EntryOf(const TEntry& Entry);
    int Find(const TEntry& Entry);
    std::size_t SlotOf(const TEntry& Entry) const;
    int LiteralsWith(int Literals, std::string_view Added);
    bool Record(int Literals);
    static bool Weigh(int& State, TgxMaskInput& In, const AnsiString& Found, bool Unique);

    // The plain depth-first search over the parsed tree (MaskMatcherSearch.cpp).
    struct TSaved {
        std::int32_t Pos;
        std::size_t Undo;
        AnsiString Literals;
    };
    bool Search(const TgxMaskInput& Record, TgxMaskOptions Options, bool& Answer,
                AnsiString& Result);
    bool SearchSub(int Parent, const TgxPictureNode* Node, int Iteration, std::uint16_t Options);
    bool SearchNext(int K, std::uint16_t Options);
    bool SearchLiteral(int K, const TgxPictureNode* Node, std::uint16_t Options);
    bool LiteralThenOn(int K, std::string_view L, std::uint16_t Options, bool Typed,
                       bool& TookText);
    bool SearchChars(const TgxPictureNode* Node, TgxMaskOptions Options);
    bool SearchSettles(TgxMaskOptions Options);
    bool Affordable();
    void Overwrite(int Pos, std::string_view Bytes);
    TSaved SaveWork() const;
    void RestoreWork(const TSaved& Saved);
    AnsiString TypedPart(THistory Changes) const;

    // The character checks; each judges the character at FPos and, on a
    // conversion, returns what the character becomes in Converted.
    bool CheckMaskChar(char PictureChar, TgxMaskOptions Options, AnsiString& Converted) const;
    bool CheckLetterCase(TgxMaskOptions Options, TgxMaskOption CaseType, const AnsiString& C,
                         AnsiString& Converted) const;
    bool CheckRange(const TgxMaskStep& Step, TgxMaskOptions Options, AnsiString& Converted) const;
    bool LiteralMatches(std::string_view Literal, TgxMaskOptions Options) const;
    std::string_view LiteralOf(const TgxMaskStep& Step) const;
    TgxMaskOption GetCaseType(TgxMaskOptions Options, TgxMaskOption Default) const;
    bool CanConvertCase(TgxMaskOptions Options, TgxMaskOption CaseType) const;
    void NoteConversion(TgxMaskOptions Options, TgxMaskOption CaseType) const;
    bool CanInsertLiteral(TgxMaskOptions Options) const;
    bool IsInputChar() const;
    bool IsWordStart() const;
    bool IsSentenceStart() const;
    AnsiString CurrentChar() const;
    bool TextExhausted() const;

    const AnsiString& FPicture;
    const TgxPictureNode* FRoot;
    TgxMaskProgram FProgram;
    const TgxTextCase* FTextCase;
    bool FNegatedRange = false; // the picture has a range that is negated

    // The run under way.
    TgxMaskInput* FInput = nullptr;
    const AnsiString* FText = nullptr;
    int FState = 0;
    std::int32_t FPos = 1;
    std::int32_t FInputPos = 0;
    std::int32_t FInputLen = 0;
    bool FFull = false;
    bool FBeforeCaret = false; // following the ways up to the caret, for every run
    bool FUnique = false;
    bool FDone = false;
    bool FTooMany = false;
    bool FConversions = false; // a typed character passed only converted
    // Set when a check of a typed character would have come out otherwise
    // had the run converted case.
    mutable bool FConvertMatters = false;
    std::vector<TWay> FWays;     // the ways standing at FPos
    std::vector<TWay> FNextWays; // the ways that will stand at FPos + 1
    std::vector<TFlight> FFlights;
    std::vector<std::int32_t> FFreeFlights;
    // For a counted character under a case rule: how many characters
    // from each position fit it in a row (outside the typed part).
    std::unordered_map<std::uint64_t, std::vector<std::int32_t>> FRuns;
    std::vector<std::int32_t> FCharNumber; // of each position that begins a character
    std::vector<std::int32_t> FCharStart;  // position of each character, and the end
    std::vector<TPending> FPending;
    std::vector<TEntry> FEntries;
    std::vector<std::int32_t> FEntrySlots;
    std::vector<std::int32_t> FLastEntries; // by item and parity of iteration

    std::vector<AnsiString> FLiterals;
    std::unordered_map<AnsiString, std::int32_t> FLiteralIds;
    std::vector<bool> FAnswered; // by literals: an answer with them was taken in
    TgxMaskCaseChanges FChanges;
    // What has been reached at this position, stamped with it so that
    // moving on clears it at no cost.
    std::vector<TSlot> FDirect; // each place's own slot (see FirstVisit)
    std::vector<TSlot> FSeen;
    std::size_t FSeenCount = 0;
    std::uint32_t FStamp = 0;

    // The plain search's run: its record, the parse stack, the bytes its
    // conversions overwrote (to be put back on backtracking) and its cost.
    TgxMaskInput FWork;
    TgxParseStack FStack;
    std::vector<std::pair<std::int32_t, AnsiString>> FUndo;
    int FSearchState = 0;
    long FSteps = 0;
    int FDepth = 0;
    bool FAborted = false;

public:
    // What the plain search may spend before the matcher's own answer
    // stands instead: steps, and calls nested (each costs stack).
    static constexpr long SearchSteps = 200000;
    static constexpr int SearchDepth = 2000;
};

} // namespace grid
