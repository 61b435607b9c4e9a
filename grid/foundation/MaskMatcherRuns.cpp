// Counted characters passed at once: a character counted n times (*n#,
// *n{a-z}, *n-) is n characters in a row that fit it, found from how many fit
// in a row at each position, so the ways that are at different counts of
// it are not followed one position at a time. Such ways fly to where they
// land, in the order they stand, taking one place together in the list of
// ways.
#include "grid/foundation/MaskMatcher.h"

#include "grid/foundation/TextChars.h"

namespace grid {

bool TgxMaskMatcher::Pass(const TPending& P, int StepIndex, int Entry) {
    const TgxMaskStep& Step = FProgram.At(StepIndex);
    const bool Literal = Step.Type == pntLiteralChars;
    if (!((Step.Type == pntMaskChars && Step.Len == 1) || Step.Type == pntRange || Literal))
        return false;
    if (TextExhausted()) return false;
    const std::vector<std::int32_t>& Runs = RunsOf(StepIndex, P.Options);
    if (Runs[static_cast<std::size_t>(FPos)] < Step.Count) return false;
    std::int32_t Landing = 0;
    if (Literal) {
        Landing = FPos + Step.Count * static_cast<std::int32_t>(LiteralOf(Step).size());
        // A literal counted over the caret may be inserted there instead.
        if ((FBeforeCaret || TgxMaskOptions::FromBits(P.Options).Contains(moInsertLiteral)) &&
            FPos <= FInputPos && FInputPos < Landing)
            return false;
    } else {
        const std::int32_t Number = FCharNumber[static_cast<std::size_t>(FPos)];
        Landing = FCharStart[static_cast<std::size_t>(Number + Step.Count)];
    }
    Schedule({TResume::AfterItem, 0, P.Options, Entry, 0, P.Literals, P.Changes}, Landing);
    return true;
}

void TgxMaskMatcher::Schedule(const TWay& W, int Landing) {
    if (!FNextWays.empty() && FNextWays.back().Flight >= 0) {
        TFlight& Last = FFlights[static_cast<std::size_t>(FNextWays.back().Flight)];
        if (Last.Ways.back().first <= Landing) {
            Last.Ways.push_back({Landing, W});
            return;
        }
    }
    int Id = 0;
    if (!FFreeFlights.empty()) {
        Id = FFreeFlights.back();
        FFreeFlights.pop_back();
    } else {
        Id = static_cast<int>(FFlights.size());
        FFlights.emplace_back();
    }
    FFlights[static_cast<std::size_t>(Id)].Ways.push_back({Landing, W});
    TWay Item{};
    Item.Flight = Id;
    FNextWays.push_back(Item);
}

void TgxMaskMatcher::Land(int Id) {
    const auto At = static_cast<std::size_t>(Id);
    // Resuming a way can start flights of its own (the list may move).
    while (!FDone && FFlights[At].Head < FFlights[At].Ways.size() &&
           FFlights[At].Ways[FFlights[At].Head].first == FPos) {
        const TWay W = FFlights[At].Ways[FFlights[At].Head++].second;
        Resume(W);
    }
    TFlight& F = FFlights[At];
    if (F.Head < F.Ways.size()) {
        if (F.Head >= 64 && 2 * F.Head >= F.Ways.size()) {
            F.Ways.erase(F.Ways.begin(), F.Ways.begin() + static_cast<std::ptrdiff_t>(F.Head));
            F.Head = 0;
        }
        TWay Item{};
        Item.Flight = Id;
        FNextWays.push_back(Item);
    } else {
        F.Ways.clear();
        F.Head = 0;
        FFreeFlights.push_back(Id);
    }
}

const std::vector<std::int32_t>& TgxMaskMatcher::RunsOf(int StepIndex, std::uint16_t Options) {
    // Outside the typed part only the case rule tells.
    const std::uint16_t CaseRule = static_cast<std::uint16_t>(
        Options & TgxMaskOptions{moUpper, moOptUpper, moLower, moOptLower}.Bits());
    const std::uint64_t Key = std::uint64_t(std::uint32_t(StepIndex)) << 16 | CaseRule;
    if (const auto Found = FRuns.find(Key); Found != FRuns.end()) return Found->second;
    const AnsiString& Text = *FText;
    const int Len = static_cast<int>(Text.size());
    if (FCharStart.empty()) {
        FCharNumber.assign(static_cast<std::size_t>(Len) + 2, -1);
        for (int P = 1; P <= Len; P += CharCountAt(Text, P)) {
            FCharNumber[static_cast<std::size_t>(P)] = static_cast<std::int32_t>(FCharStart.size());
            FCharStart.push_back(P);
        }
        FCharNumber[static_cast<std::size_t>(Len) + 1] = static_cast<std::int32_t>(FCharStart.size());
        FCharStart.push_back(Len + 1);
    }
    // The typed part is left to the ways one character at a time: a
    // character there may be converted.
    const TgxMaskStep& Step = FProgram.At(StepIndex);
    const TgxMaskOptions Rules = TgxMaskOptions::FromBits(CaseRule);
    std::vector<std::int32_t> Runs(static_cast<std::size_t>(Len) + 2, 0);
    const int Saved = FPos;
    const std::string_view Literal = Step.Type == pntLiteralChars ? LiteralOf(Step) : "";
    for (int P = Len; P >= 1; --P) {
        if (FInputPos <= P && P <= FInputPos + FInputLen - 1) continue;
        if (!Literal.empty()) {
            // Copies of the literal in a row, taken as they stand.
            const auto At = static_cast<std::size_t>(P - 1);
            if (At + Literal.size() <= Text.size() && Text.compare(At, Literal.size(), Literal) == 0)
                Runs[At + 1] = 1 + Runs[At + 1 + Literal.size()];
            continue;
        }
        if (FCharNumber[static_cast<std::size_t>(P)] < 0) continue;
        FPos = P;
        AnsiString Converted;
        const bool Fits = Step.Type == pntRange
                              ? CheckRange(Step, Rules, Converted)
                              : CheckMaskChar(FPicture[static_cast<std::size_t>(Step.Pos - 1)], Rules,
                                              Converted);
        if (Fits)
            Runs[static_cast<std::size_t>(P)] =
                1 + Runs[static_cast<std::size_t>(P + CharCountAt(Text, P))];
    }
    FPos = Saved;
    return FRuns.emplace(Key, std::move(Runs)).first->second;
}

} // namespace grid
