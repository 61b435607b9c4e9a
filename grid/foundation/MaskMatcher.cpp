#include "grid/foundation/MaskMatcher.h"

#include "grid/foundation/TextChars.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <climits>

namespace grid {

namespace {

const TgxMaskOptions CaseOptions{moUpper, moOptUpper, moLower, moOptLower};

enum TKeyTag : std::uint32_t { SubKey, NextKey, WayKey };

// The common beginning of two texts, not splitting a multibyte character.
std::size_t CommonPrefix(const AnsiString& A, const AnsiString& B) {
    std::size_t F = 0;
    while (F < A.size() && F < B.size() && A[F] == B[F])
        ++F;
    while (F > 0 && F < A.size() && (static_cast<unsigned char>(A[F]) & 0xC0) == 0x80)
        --F;
    return F;
}

// The pairs of words multiplied apart, then mixed once: the keys are
// small numbers, hashed millions of times over a long text.
std::size_t HashOf(const std::uint32_t* Words, int Count) {
    static constexpr std::uint64_t Factors[] = {0x9e3779b97f4a7c15ULL, 0xc2b2ae3d27d4eb4fULL,
                                                0x165667b19e3779f9ULL};
    std::uint64_t H = 0;
    for (int I = 0; I < Count; I += 2) {
        const std::uint64_t Pair =
            std::uint64_t(Words[I]) << 32 | (I + 1 < Count ? Words[I + 1] : 0U);
        H ^= Pair * Factors[I / 2];
    }
    H ^= H >> 32;
    H *= 0xbf58476d1ce4e5b9ULL;
    H ^= H >> 29;
    return static_cast<std::size_t>(H);
}

TgxMaskOptions OptionsOf(std::uint16_t Bits) {
    return TgxMaskOptions::FromBits(Bits);
}

std::uint16_t BitsOf(TgxMaskOptions Options) {
    return static_cast<std::uint16_t>(Options.Bits());
}

} // namespace

TgxMaskMatcher::TgxMaskMatcher(const AnsiString& Picture, const TgxPictureList& List,
                               const TgxTextCase* TextCase)
    : FPicture(Picture), FRoot(List.Root()), FProgram(Picture, List), FTextCase(TextCase) {
    FDirect.assign(OwnSlot(64, 0), TSlot{{}, 0});
    for (int I = 0; I < FProgram.Size(); ++I)
        if (FProgram.At(I).Type == pntRange && FProgram.At(I).Negate) FNegatedRange = true;
}

bool TgxMaskMatcher::CheckInput(TgxMaskInput& Input, TgxMaskOptions Options, AnsiString& Result) {
    Begin(Input);
    Start(Input, Options);
    Follow({TTask::Sub, BitsOf(Options), 0, 0, FProgram.Root(), 0, 0, {}});
    Advance(INT_MAX);
    return Finish(Input, Result);
}

// The runs differ only at the caret and after it: where literals may be
// inserted, which characters may be converted, and how answers are
// weighed. So the ways up to the caret are followed once, and each run
// goes on from there.
bool TgxMaskMatcher::CheckRuns(const TgxMaskInput& Record, const std::vector<TgxMaskOptions>& Runs,
                               AnsiString& Result) {
    TgxMaskInput Input = Record;
    if (Runs.empty()) return false;
    std::vector<TDeadEnd> DeadEnds;
    if (Record.InputPos <= 1) {
        Begin(Input);
        for (std::size_t R = 0; R < Runs.size(); ++R) {
            if (R + 1 < Runs.size() && Alike(Runs[R], Runs[R + 1])) {
                // The converted run first: when it finds no answer the
                // other finds none either, and when it converted nothing
                // the other goes the same way to the same answer.
                Input = Record;
                StartFollowing(DeadEnds, Input, Runs[R + 1]);
                const bool Converted = FConversions;
                AnsiString Answer;
                const bool Answered = Finish(Input, Answer);
                if (!Answered) {
                    ++R;
                    continue;
                }
                if (Converted) {
                    TgxMaskInput AsItStands = Record;
                    StartFollowing(DeadEnds, AsItStands, Runs[R]);
                    if (Finish(AsItStands, Result)) return true;
                }
                Result = Answer;
                return true;
            }
            Input = Record;
            StartFollowing(DeadEnds, Input, Runs[R]);
            if (Conclude(Input, Record, Runs[R], Result)) return true;
        }
        return false;
    }
    Begin(Input);
    FBeforeCaret = true;
    Start(Input, Runs[0]);
    Follow({TTask::Sub, BitsOf(Runs[0]), 0, 0, FProgram.Root(), 0, 0, {}});
    Advance(Record.InputPos);
    FBeforeCaret = false;
    const std::vector<TWay> Ways = FNextWays;
    const std::vector<TFlight> Flights = FFlights;
    const std::vector<std::int32_t> FreeFlights = FFreeFlights;
    const int Pos = FPos;
    const std::uint16_t First = BitsOf(Runs[0]);
    for (const TgxMaskOptions Options : Runs) {
        Input = Record;
        Start(Input, Options);
        // The run's own options in place of the first run's.
        const auto Own = [&](TWay W) {
            W.Options = static_cast<std::uint16_t>((W.Options & ~First) | BitsOf(Options));
            return W;
        };
        FNextWays.clear();
        for (const TWay& W : Ways)
            FNextWays.push_back(W.Flight >= 0 ? W : Own(W));
        FFlights = Flights;
        for (TFlight& F : FFlights)
            for (auto& [Landing, W] : F.Ways)
                W = Own(W);
        FFreeFlights = FreeFlights;
        FPos = Pos;
        Advance(Record.InputPos + 1);
        GoOnPastCaret(DeadEnds, BitsOf(Options));
        if (Conclude(Input, Record, Options, Result)) return true;
    }
    return false;
}

// Past the caret the runs' options that tell them apart no longer matter:
// literals are inserted at the caret only, and how answers are weighed
// matters only where there is one. Nor does converting case matter where
// no typed character would come out otherwise. So a run whose ways just
// past the caret all stand where those of a run that found no answer
// stood (whatever their literals) finds none either, and is not followed
// through the rest of the text.
void TgxMaskMatcher::GoOnPastCaret(std::vector<TDeadEnd>& DeadEnds, std::uint16_t Options) {
    if (FState != 0 || FDone) {
        Advance(INT_MAX);
        return;
    }
    const bool Flying = std::any_of(FNextWays.begin(), FNextWays.end(),
                                    [](const TWay& W) { return W.Flight >= 0; });
    for (const TDeadEnd& Dead : DeadEnds) {
        if (Flying || Dead.Pos != FPos) continue;
        const bool Covered = std::all_of(FNextWays.begin(), FNextWays.end(), [&](const TWay& W) {
            return std::binary_search(Dead.Places.begin(), Dead.Places.end(),
                                      PlaceOf(W, Dead.Ignored));
        });
        if (Covered) {
            FNextWays.clear();
            return;
        }
    }
    const std::vector<TWay> Ways = FNextWays;
    const int Pos = FPos;
    FConvertMatters = false;
    Advance(INT_MAX);
    if (FState != 0 || FTooMany) return;
    TDeadEnd Dead{Pos, {}, BitsOf(TgxMaskOptions{moInsertLiteral, moCheckUnique})};
    // A converted run that found no answer covers the ways of one as it
    // stands too (see Alike).
    if (OptionsOf(Options).Contains(moConvertInput) ? !FNegatedRange : !FConvertMatters)
        Dead.Ignored = static_cast<std::uint16_t>(Dead.Ignored | BitsOf(TgxMaskOptions{moConvertInput}));
    for (const TWay& W : Ways)
        if (W.Flight < 0) Dead.Places.push_back(PlaceOf(W, Dead.Ignored));
    std::sort(Dead.Places.begin(), Dead.Places.end());
    DeadEnds.push_back(std::move(Dead));
}

std::array<std::uint32_t, 3> TgxMaskMatcher::PlaceOf(const TWay& W, std::uint16_t Ignored) const {
    const std::uint16_t Options = static_cast<std::uint16_t>(W.Options & ~Ignored);
    return {std::uint32_t(W.Resume) | std::uint32_t(W.Skip) << 8 | std::uint32_t(Options) << 16,
            std::uint32_t(W.Entry), std::uint32_t(W.Offset)};
}

// What holds for the text whatever the run.
void TgxMaskMatcher::Begin(const TgxMaskInput& Input) {
    FText = &Input.Text;
    FInputPos = Input.InputPos;
    FInputLen = Input.InputLen;
    FBeforeCaret = false;
    FRuns.clear();
    FCharNumber.clear();
    FCharStart.clear();
    FEntries.assign(1, TEntry{0, -1, 0}); // entry 0: outside the root
    FLastEntries.assign(2 * static_cast<std::size_t>(FProgram.Size()), 0);
    FEntrySlots.assign(256, 0);
}

// Two runs that differ only in converting case, neither weighing answers
// (one with several answers fails where one with fewer need not).
// Converting lets a typed character pass where it would not as it stands,
// and never the other way round (but for a range that is negated, where a
// converted letter may fall inside): so what the first run takes, the
// second takes too, and where the second changed nothing, the first goes
// the same way.
bool TgxMaskMatcher::Alike(TgxMaskOptions First, TgxMaskOptions Then) const {
    return !FNegatedRange && !First.Contains(moConvertInput) && !First.Contains(moCheckUnique) &&
           Then == First + TgxMaskOptions{moConvertInput};
}

void TgxMaskMatcher::StartFollowing(std::vector<TDeadEnd>& DeadEnds, TgxMaskInput& Input,
                                    TgxMaskOptions Options) {
    Start(Input, Options);
    Follow({TTask::Sub, BitsOf(Options), 0, 0, FProgram.Root(), 0, 0, {}});
    if (FInputPos == 1)
        GoOnPastCaret(DeadEnds, BitsOf(Options));
    else
        Advance(INT_MAX);
}

void TgxMaskMatcher::Start(TgxMaskInput& Input, TgxMaskOptions Options) {
    FConversions = false;
    FInput = &Input;
    FText = &Input.Text;
    FFull = Options.Contains(moFullCompare);
    FUnique = Options.Contains(moCheckUnique);
    FDone = false;
    FTooMany = false;
    FState = 0;
    FWays.clear();
    FNextWays.clear();
    FPending.clear();
    FFlights.clear();
    FFreeFlights.clear();
    FLiterals.assign(1, AnsiString());
    FLiteralIds.clear();
    FLiteralIds.emplace(AnsiString(), 0);
    FAnswered.assign(1, false);
    FChanges.Start(Input.Text);
    FPos = 1;
    ++FStamp;
    FSeenCount = 0;
}

// Moves the ways on, position by position, until they stand at Stop (or
// are through the text).
void TgxMaskMatcher::Advance(int Stop) {
    const int Len = static_cast<int>(FText->size());
    while (!FDone && FPos <= Len && FPos + 1 < Stop && !FNextWays.empty()) {
        ++FPos;
        ++FStamp;
        FSeenCount = 0;
        FWays.swap(FNextWays);
        FNextWays.clear();
        for (std::size_t I = 0; I < FWays.size() && !FDone; ++I) {
            if (FWays[I].Flight >= 0)
                Land(FWays[I].Flight);
            else
                Resume(FWays[I]);
        }
    }
}

bool TgxMaskMatcher::Finish(TgxMaskInput& Input, AnsiString& Result) {
    FWays.clear();
    FNextWays.clear();
    FInput = nullptr;
    if (FTooMany || FState != 1) return false;
    Result = Input.FoundLiterals + Input.FoundInput;
    return true;
}

// Under the unique check every meeting of an answer counts, in the order
// the depth-first search meets it: meeting one way twice (as the search
// does where a counted item is tried again on backtracking) can refuse
// an input whose literals were agreed on at the first meeting. The
// matcher meets each way once, so where it found an answer the search
// itself settles it, within its budget; past that the matcher's answer
// stands. Where the matcher found none, there is none to find.
bool TgxMaskMatcher::Conclude(TgxMaskInput& Input, const TgxMaskInput& Record,
                              TgxMaskOptions Options, AnsiString& Result) {
    const bool Answered = Finish(Input, Result);
    if (!Options.Contains(moCheckUnique) || (FState == 0 && !FTooMany)) return Answered;
    bool Answer = false;
    AnsiString Searched;
    if (!Search(Record, Options, Answer, Searched)) return Answered;
    if (Answer) Result = Searched;
    return Answer;
}

// A way goes on at the position it stands at.
void TgxMaskMatcher::Resume(const TWay& W) {
    TPending P{TTask::Next, W.Options, 0, W.Entry, W.Offset, 0, W.Literals, W.Changes};
    if (W.Skip > 0) {
        TWay Carried = W;
        --Carried.Skip;
        const TKey Key{WayKey | std::uint32_t(W.Resume) << 2 | std::uint32_t(Carried.Skip) << 4,
                       W.Options, std::uint32_t(W.Entry), std::uint32_t(W.Offset), 0,
                       std::uint32_t(W.Literals)};
        if (FirstVisit(Key, OwnSlot(W.Entry, 1))) FNextWays.push_back(Carried);
    } else if (W.Resume == TResume::MaskChar) {
        P.Task = TTask::MaskChar;
        Follow(P);
    } else if (TextExhausted() && !FFull) {
        Accept(W.Literals, W.Changes);
    } else {
        Follow(P);
    }
}

// Follows the ways from one place, at this text position, in the order the
// depth-first search would take them: what a step tries first is taken
// first, so it is pushed last.
void TgxMaskMatcher::Follow(TPending Start) {
    FPending.push_back(Start);
    while (!FPending.empty() && !FDone) {
        const TPending P = FPending.back();
        FPending.pop_back();
        switch (P.Task) {
        case TTask::Sub:
            Sub(P);
            break;
        case TTask::Next:
            Next(P);
            break;
        case TTask::MaskChar:
            MaskChar(P);
            break;
        }
    }
    FPending.clear();
}

// Most places are reached by one key at a position: the place's own slot
// settles those, the shared table the others. A key goes to the shared
// table only while its own slot holds another key of this position, which
// it then does until the position is left: so a key whose own slot is free
// was not met yet.
bool TgxMaskMatcher::FirstVisit(const TKey& Key, std::size_t Own) {
    TSlot& S = FDirect[Own];
    if (S.Stamp != FStamp) {
        S = {Key, FStamp};
        return true;
    }
    return !(S.Key == Key) && FirstVisitShared(Key);
}

bool TgxMaskMatcher::FirstVisitShared(const TKey& Key) {
    // At most half full, so a probe meets a free slot soon.
    if (2 * (FSeenCount + 1) > FSeen.size()) {
        std::vector<TSlot> Old(std::max<std::size_t>(256, 2 * FSeen.size()), TSlot{{}, 0});
        Old.swap(FSeen);
        const std::uint32_t Stamp = FStamp;
        FSeenCount = 0;
        for (const TSlot& S : Old)
            if (S.Stamp == Stamp) FirstVisitShared(S.Key);
    }
    const std::size_t Mask = FSeen.size() - 1;
    for (std::size_t At = HashOf(&Key.A, 6) & Mask;; At = (At + 1) & Mask) {
        TSlot& S = FSeen[At];
        if (S.Stamp != FStamp) {
            S.Key = Key;
            S.Stamp = FStamp;
            ++FSeenCount;
            return true;
        }
        if (S.Key == Key) return false;
    }
}

int TgxMaskMatcher::EntryOf(const TEntry& Entry) {
    // An item is mostly entered from the one entry: the last entry of each
    // item and parity of iteration is kept at hand.
    std::int32_t& Last = FLastEntries[2 * static_cast<std::size_t>(Entry.Step) +
                                      static_cast<std::size_t>(Entry.Iteration & 1)];
    if (FEntries[static_cast<std::size_t>(Last)] == Entry) return Last;
    Last = Find(Entry);
    return Last;
}

int TgxMaskMatcher::Find(const TEntry& Entry) {
    // Open addressing over the entries' numbers (0: a free slot, as entry
    // 0 is never looked up), at most half full.
    if (2 * FEntries.size() + 2 > FEntrySlots.size()) {
        FEntrySlots.assign(std::max<std::size_t>(256, 4 * FEntries.size()), 0);
        for (std::size_t Id = 1; Id < FEntries.size(); ++Id)
            FEntrySlots[SlotOf(FEntries[Id])] = static_cast<std::int32_t>(Id);
    }
    const std::size_t At = SlotOf(Entry);
    if (FEntrySlots[At] != 0) return FEntrySlots[At];
    FEntries.push_back(Entry);
    if (FDirect.size() < OwnSlot(static_cast<int>(FEntries.size()), 0))
        FDirect.resize(std::max(OwnSlot(static_cast<int>(FEntries.size()), 0), 2 * FDirect.size()),
                       TSlot{{}, 0});
    FEntrySlots[At] = static_cast<std::int32_t>(FEntries.size()) - 1;
    return FEntrySlots[At];
}

// The own slot of what a way does in an entry: 0 going on after it, 1
// standing in it; those of the items' entering come first.
std::size_t TgxMaskMatcher::OwnSlot(int Entry, int Kind) const {
    return 2 * static_cast<std::size_t>(FProgram.Size()) + 2 * static_cast<std::size_t>(Entry) +
           static_cast<std::size_t>(Kind);
}

// The slot holding Entry, or the free one where it belongs.
std::size_t TgxMaskMatcher::SlotOf(const TEntry& Entry) const {
    const std::uint32_t Words[3] = {std::uint32_t(Entry.Parent), std::uint32_t(Entry.Step),
                                    std::uint32_t(Entry.Iteration)};
    const std::size_t Mask = FEntrySlots.size() - 1;
    for (std::size_t At = HashOf(Words, 3) & Mask;; At = (At + 1) & Mask) {
        const std::int32_t Id = FEntrySlots[At];
        if (Id == 0 || FEntries[static_cast<std::size_t>(Id)] == Entry) return At;
    }
}

int TgxMaskMatcher::LiteralsWith(int Literals, std::string_view Added) {
    AnsiString Joined = FLiterals[static_cast<std::size_t>(Literals)] + AnsiString(Added);
    const auto It = FLiteralIds.find(Joined);
    if (It != FLiteralIds.end()) return It->second;
    if (FLiterals.size() >= MaxLiteralChoices) {
        FTooMany = true;
        FDone = true;
        return Literals;
    }
    const int Id = static_cast<int>(FLiterals.size());
    FLiteralIds.emplace(Joined, Id);
    FLiterals.push_back(std::move(Joined));
    FAnswered.push_back(false);
    return Id;
}

void TgxMaskMatcher::Sub(const TPending& P) {
    if (P.Step < 0) return;
    const TgxMaskStep& Step = FProgram.At(P.Step);
    int Iteration = P.Iteration;
    if (Iteration == 0 && !Step.Optional) Iteration = 1;
    if (Step.Count != -1 && Iteration > Step.Count) return;
    // Beyond its first, the iterations of an item without an upper bound
    // are alike: nothing depends on their number.
    if (Step.Count == -1) Iteration = std::min(Iteration, 1);
    const TKey Key{SubKey | std::uint32_t(P.Fresh) << 4, P.Options, std::uint32_t(P.Entry),
                   std::uint32_t(P.Step), std::uint32_t(Iteration), std::uint32_t(P.Literals)};
    if (!FirstVisit(Key, 2 * static_cast<std::size_t>(P.Step) + (Iteration & 1))) return;

    // Failing this alternative, the next one, from the same place.
    if (Step.NextAlternative >= 0 && !P.Alone)
        FPending.push_back({TTask::Sub, P.Options, P.Fresh, P.Entry, Step.NextAlternative, 0,
                            P.Literals, P.Changes});
    const int K = EntryOf({P.Entry, P.Step, Iteration});
    TPending In{TTask::Next, P.Options, static_cast<std::uint16_t>(P.Fresh + 1), K, 0, 0,
                P.Literals, P.Changes};
    if (Iteration == 0) { // an optional item skipped
        FPending.push_back(In);
        return;
    }
    // A character counted n times, entered: n characters at once when
    // they are there.
    if (Step.Count >= 2 && Iteration == 1 && Step.NextAlternative < 0 &&
        Pass(P, P.Step, EntryOf({P.Entry, P.Step, Step.Count})))
        return;
    switch (Step.Type) {
    case pntCase:
        In.Options = BitsOf((OptionsOf(P.Options) - CaseOptions) + TgxMaskOptions::FromBits(Step.CaseRule));
        FPending.push_back(In);
        return;
    case pntLiteralChars:
        Literal(In, K, Step);
        return;
    case pntGroup:
        In.Task = TTask::Sub;
        if (Step.FirstChars >= 0 && TakenAsItStands(P.Options)) {
            // Only the alternatives that can begin with this character,
            // the first of them tried first.
            const auto [Begin, End] = FProgram.Candidates(
                Step, static_cast<unsigned char>((*FText)[static_cast<std::size_t>(FPos - 1)]));
            In.Alone = true;
            for (const std::int32_t* Alt = End; Alt != Begin;) {
                In.Step = *--Alt;
                FPending.push_back(In);
            }
            return;
        }
        In.Step = Step.Child;
        FPending.push_back(In);
        return;
    case pntMaskChars:
        In.Task = TTask::MaskChar;
        In.Step = 0; // the first character of the run
        MaskChar(In);
        return;
    case pntRange:
        Range(In, Step);
        return;
    case pntNone:
        return;
    }
}

void TgxMaskMatcher::Next(const TPending& P) {
    if (P.Entry == 0) {
        if (TextExhausted()) Accept(P.Literals, P.Changes);
        return;
    }
    const TKey Key{NextKey | std::uint32_t(P.Fresh) << 4, P.Options, std::uint32_t(P.Entry), 0, 0,
                   std::uint32_t(P.Literals)};
    if (!FirstVisit(Key, OwnSlot(P.Entry, 0))) return;
    const TEntry Entry = FEntries[static_cast<std::size_t>(P.Entry)];
    const TgxMaskStep& Step = FProgram.At(Entry.Step);
    const int I = Entry.Iteration;
    // An entry begun at this position has consumed nothing.
    const bool Empty = P.Fresh >= 1;
    // An optional iteration that consumed nothing would repeat for ever.
    if (Step.Optional && I > 0 && Empty) return;
    const auto ParentFresh = static_cast<std::uint16_t>(Empty ? P.Fresh - 1 : 0);
    TPending Then{TTask::Sub, P.Options, ParentFresh, Entry.Parent, Entry.Step, I + 1,
                  P.Literals, P.Changes};
    const bool Required = !Step.Optional && I < Step.Count;
    // Lazy repetition: one more iteration only after what follows failed,
    // and never after an iteration that consumed no text: it could only
    // repeat the same search (or the same literals once more at the caret).
    if (!Required && !(I > 0 && Empty)) FPending.push_back(Then);
    if (Required) {
        FPending.push_back(Then);
    } else if (Step.Next >= 0) {
        Then.Step = Step.Next;
        Then.Iteration = 0;
        FPending.push_back(Then);
    } else {
        Then.Task = TTask::Next;
        FPending.push_back(Then);
    }
}

// Whether the character at this position can only be taken as it stands:
// there is one, no literal may be inserted before it and its case may not
// be converted.
bool TgxMaskMatcher::TakenAsItStands(std::uint16_t Options) const {
    const TgxMaskOptions O = OptionsOf(Options);
    if (TextExhausted() || CanInsertLiteral(O)) return false;
    if (!IsInputChar()) return true;
    if (O.Contains(moConvertInput)) return false;
    // Converted, a letter might begin other alternatives.
    const AnsiString C = CurrentChar();
    if (AnsiUpperCase(C) != C || AnsiLowerCase(C) != C) FConvertMatters = true;
    return true;
}

void TgxMaskMatcher::Literal(const TPending& P, int Entry, const TgxMaskStep& Step) {
    if (TextExhausted() && !FFull) {
        Accept(P.Literals, P.Changes);
        return;
    }
    const TgxMaskOptions Options = OptionsOf(P.Options);
    const std::string_view L = LiteralOf(Step);
    const int Len = static_cast<int>(L.size());
    // Taken from the text first; failing that (or when the text has
    // something else there), inserted at the caret.
    if (FPos + Len - 1 <= static_cast<int>(FText->size()) && LiteralMatches(L, Options)) {
        const bool Same = std::string_view(*FText).substr(FPos - 1, L.size()) == L;
        TPending Taken = P;
        Taken.Entry = Entry;
        Consumed(Taken, TResume::AfterItem, 0, Len, Same ? std::string_view() : L);
    }
    if (CanInsertLiteral(Options)) {
        TPending Inserted = P;
        Inserted.Task = TTask::Next;
        Inserted.Entry = Entry;
        Inserted.Literals = LiteralsWith(P.Literals, L);
        if (!FDone) FPending.push_back(Inserted);
    }
}

void TgxMaskMatcher::MaskChar(const TPending& P) {
    if (TextExhausted()) {
        if (!FFull) Accept(P.Literals, P.Changes);
        return;
    }
    const TgxMaskStep& Step = FProgram.At(FEntries[static_cast<std::size_t>(P.Entry)].Step);
    const int Offset = P.Step;
    AnsiString Converted;
    if (!CheckMaskChar(FPicture[static_cast<std::size_t>(Step.Pos - 1 + Offset)],
                       OptionsOf(P.Options), Converted))
        return;
    if (Offset + 1 < Step.Len)
        Consumed(P, TResume::MaskChar, Offset + 1, CharCountAt(*FText, FPos), Converted);
    else
        Consumed(P, TResume::AfterItem, 0, CharCountAt(*FText, FPos), Converted);
}

void TgxMaskMatcher::Range(const TPending& P, const TgxMaskStep& Step) {
    if (TextExhausted()) {
        if (!FFull) Accept(P.Literals, P.Changes);
        return;
    }
    AnsiString Converted;
    if (!CheckRange(Step, OptionsOf(P.Options), Converted)) return;
    Consumed(P, TResume::AfterItem, 0, CharCountAt(*FText, FPos), Converted);
}

// Converted: what the character becomes, when the way converted it; noted
// only for a way that goes on (most arrive where another already stands).
void TgxMaskMatcher::Consumed(const TPending& P, TResume Resume, int Offset, int Bytes,
                              std::string_view Converted) {
    if (!Converted.empty()) FConversions = true;
    const auto Skip = static_cast<std::uint8_t>(std::max(Bytes, 1) - 1);
    const TKey Key{WayKey | std::uint32_t(Resume) << 2 | std::uint32_t(Skip) << 4, P.Options,
                   std::uint32_t(P.Entry), std::uint32_t(Offset), 0, std::uint32_t(P.Literals)};
    if (!FirstVisit(Key, OwnSlot(P.Entry, 1))) return;
    const THistory Changes =
        Converted.empty() ? P.Changes : FChanges.With(P.Changes, FPos, Converted);
    FNextWays.push_back({Resume, Skip, P.Options, P.Entry, Offset, P.Literals, Changes});
}

// A way reached the end of the picture with the text. Without a search for
// every answer the first ends the run; with one, each different run of
// inserted literals is weighed once, in the order found.
void TgxMaskMatcher::Accept(int Literals, THistory Changes) {
    TgxMaskInput& In = *FInput;
    if (FState == 0) In.FoundInput = TypedPart(Changes);
    if (FUnique) {
        if (FAnswered[static_cast<std::size_t>(Literals)]) return;
        FAnswered[static_cast<std::size_t>(Literals)] = true;
    }
    if (Record(Literals)) FDone = true;
}

AnsiString TgxMaskMatcher::TypedPart(THistory Changes) const {
    if (FInputPos < 1 || FInputLen <= 0) return AnsiString();
    AnsiString Typed = FText->substr(static_cast<std::size_t>(FInputPos - 1),
                                     static_cast<std::size_t>(FInputLen));
    FChanges.Apply(Changes, FInputPos, Typed);
    return Typed;
}

// The bookkeeping of the answers; true when the search ends with it.
bool TgxMaskMatcher::Record(int Literals) {
    return Weigh(FState, *FInput, FLiterals[static_cast<std::size_t>(Literals)], FUnique);
}

// An answer with the literals Found, weighed against those before it.
bool TgxMaskMatcher::Weigh(int& State, TgxMaskInput& In, const AnsiString& Found, bool Unique) {
    if (!Unique) {
        if (State == 0) {
            State = 1;
            In.FoundLiterals = Found;
        }
        return true;
    }
    if (!(State < 2 || !In.CommonLiterals.empty())) return true;
    if (State == 0) {
        State = 1;
        In.FoundLiterals = Found;
        In.CommonLiterals = Found;
        return false;
    }
    if (Found == In.CommonLiterals) {
        State = 1;
        In.FoundLiterals = Found;
        return false;
    }
    const std::size_t F = CommonPrefix(In.CommonLiterals, Found);
    if (F == 0) {
        ++State;
        In.CommonLiterals.clear();
        return true;
    }
    if (In.FoundLiterals != In.CommonLiterals) ++State;
    In.CommonLiterals.resize(F);
    if (Found == In.CommonLiterals) {
        State = 1;
        In.FoundLiterals = Found;
    }
    return false;
}

} // namespace grid
