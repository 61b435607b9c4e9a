#include "grid/foundation/MaskCaseChanges.h"

#include "grid/foundation/TextChars.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace grid {

namespace {

// The character in upper or lower case; empty where that changes nothing or
// changes its length (a conversion then leaves it as it stands).
AnsiString InCase(std::string_view C, bool Upper) {
    if (C.size() == 1) {
        const char B = C[0];
        if (Upper ? B >= 'a' && B <= 'z' : B >= 'A' && B <= 'Z')
            return AnsiString(1, static_cast<char>(B ^ 0x20));
        if (static_cast<unsigned char>(B) < 0x80) return AnsiString();
    }
    const AnsiString Same(C);
    AnsiString To = Upper ? AnsiUpperCase(Same) : AnsiLowerCase(Same);
    return To.size() == C.size() && To != Same ? To : AnsiString();
}

} // namespace

void TgxMaskCaseChanges::Start(const AnsiString& Text) {
    FText = &Text;
    FCount = 0;
    FOdd.clear();
    FBegun.Id = -1;
    for (std::vector<std::int32_t>& Changing : FChanging)
        Changing.clear();
}

TgxMaskCaseChanges::TRecord& TgxMaskCaseChanges::At(std::int32_t Id) const {
    const auto I = static_cast<std::size_t>(Id);
    return FBlocks[I / BlockSize][I % BlockSize];
}

TgxMaskCaseChanges::THistory TgxMaskCaseChanges::Add(const TRecord& Record, std::int32_t End) {
    if (FCount == FBlocks.size() * BlockSize)
        FBlocks.push_back(std::make_unique_for_overwrite<TRecord[]>(BlockSize));
    const auto Id = static_cast<std::int32_t>(FCount++);
    At(Id) = Record;
    return {Id, End};
}

// Which case Converted is of the character at Pos, as a run can hold it.
TgxMaskCaseChanges::TKind TgxMaskCaseChanges::KindOf(int Pos, std::string_view Converted) const {
    const auto Len = static_cast<std::size_t>(CharCountAt(*FText, Pos));
    if (Converted.size() != Len) return TKind::Odd;
    const std::string_view C =
        std::string_view(*FText).substr(static_cast<std::size_t>(Pos - 1), Len);
    for (const bool Upper : {false, true}) {
        const AnsiString To = InCase(C, Upper);
        if (!To.empty() && std::string_view(To) == Converted)
            return Upper ? TKind::Upper : TKind::Lower;
    }
    return TKind::Odd;
}

// Whether the characters from From up to To are in the case already.
bool TgxMaskCaseChanges::InCaseBetween(bool Upper, int From, int To) {
    if (From == To) return true;
    std::vector<std::int32_t>& Changing = FChanging[Upper ? 1 : 0];
    if (Changing.empty()) {
        const int Len = static_cast<int>(FText->size());
        Changing.assign(static_cast<std::size_t>(Len) + 2, 0);
        for (int Pos = 1; Pos <= Len;) {
            const int Count = std::max(CharCountAt(*FText, Pos), 1);
            const bool Changes =
                !InCase(std::string_view(*FText).substr(static_cast<std::size_t>(Pos - 1),
                                                        static_cast<std::size_t>(Count)),
                        Upper)
                     .empty();
            for (int I = 1; I <= Count; ++I)
                Changing[static_cast<std::size_t>(Pos + I)] =
                    Changing[static_cast<std::size_t>(Pos)] + (Changes ? 1 : 0);
            Pos += Count;
        }
    }
    return Changing[static_cast<std::size_t>(To)] == Changing[static_cast<std::size_t>(From)];
}

TgxMaskCaseChanges::THistory TgxMaskCaseChanges::With(THistory History, int Pos,
                                                      std::string_view Converted) {
    const auto End = static_cast<std::int32_t>(Pos + static_cast<int>(Converted.size()));
    const TKind Kind = KindOf(Pos, Converted);
    if (Kind == TKind::Odd) {
        TOdd Odd{{}, static_cast<std::uint8_t>(std::min<std::size_t>(Converted.size(), 4))};
        std::copy_n(Converted.begin(), Odd.Len, Odd.Bytes.begin());
        FOdd.push_back(Odd);
        return Add({History.Last, History.End, static_cast<std::uint32_t>(Pos), 0,
                    -static_cast<std::int32_t>(FOdd.size())},
                   End);
    }
    const bool Upper = Kind == TKind::Upper;
    if (History.Last >= 0) {
        // Going on with its run, when what it took since is in that case.
        // Ways that share the run may have taken it further already: only
        // over characters in that case, and at most up to this one,
        // converted alike.
        TRecord& Last = At(History.Last);
        if (Last.End > 0 && (Last.Upper != 0) == Upper && InCaseBetween(Upper, History.End, Pos)) {
            if (Last.End <= Pos) Last.End = End;
            if (Last.End == End) return {History.Last, End};
        }
    }
    // Ways that stood alike and convert this character alike (several
    // items that can take it) share the run they begin.
    if (FBegun.Id >= 0 && FBegun.Pos == Pos && FBegun.Upper == Upper &&
        FBegun.From.Last == History.Last && FBegun.From.End == History.End)
        return {FBegun.Id, End};
    const THistory Begun = Add(
        {History.Last, History.End, static_cast<std::uint32_t>(Pos), Upper ? 1U : 0U, End}, End);
    FBegun = {History, Pos, Upper, Begun.Last};
    return Begun;
}

void TgxMaskCaseChanges::Apply(THistory History, int TypedPos, AnsiString& Typed) const {
    const auto Put = [&](int Pos, std::string_view Bytes) {
        const int Off = Pos - TypedPos;
        if (!Bytes.empty() && Off >= 0 &&
            Off + static_cast<int>(Bytes.size()) <= static_cast<int>(Typed.size()))
            Typed.replace(static_cast<std::size_t>(Off), Bytes.size(), Bytes);
    };
    while (History.Last >= 0) {
        const TRecord& R = At(History.Last);
        const int Start = static_cast<int>(R.Start);
        if (R.End < 0) {
            const TOdd& Odd = FOdd[static_cast<std::size_t>(-R.End - 1)];
            Put(Start, std::string_view(Odd.Bytes.data(), Odd.Len));
        } else {
            for (int Pos = Start; Pos < History.End;) {
                const int Len = std::max(CharCountAt(*FText, Pos), 1);
                Put(Pos, InCase(std::string_view(*FText).substr(static_cast<std::size_t>(Pos - 1),
                                                                static_cast<std::size_t>(Len)),
                                R.Upper != 0));
                Pos += Len;
            }
        }
        History = {R.Previous, R.PreviousEnd};
    }
}

} // namespace grid
