#include "grid/foundation/MaskCaseChanges.h"

#include "grid/foundation/TextChars.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace grid {

namespace {

bool IsAsciiLetter(char C) {
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z');
}

// The character in the case it is not in: its upper case form, or when it
// is that already, its lower case one.
AnsiString OtherCase(const AnsiString& C) {
    if (C.size() == 1 && IsAsciiLetter(C[0])) return AnsiString(1, static_cast<char>(C[0] ^ 0x20));
    AnsiString To = AnsiUpperCase(C);
    if (To == C) To = AnsiLowerCase(C);
    return To;
}

} // namespace

void TgxMaskCaseChanges::Start(const AnsiString& Text) {
    FText = &Text;
    FCount = 0;
    FOdd.clear();
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

// Whether Converted is the character at Pos in its other case, as a run of
// changes can hold it.
bool TgxMaskCaseChanges::IsOtherCase(int Pos, std::string_view Converted) const {
    const auto At = static_cast<std::size_t>(Pos - 1);
    const auto Len = static_cast<std::size_t>(CharCountAt(*FText, Pos));
    if (Converted.size() != Len) return false;
    if (Len == 1 && IsAsciiLetter((*FText)[At]))
        return Converted[0] == static_cast<char>((*FText)[At] ^ 0x20);
    const AnsiString To = OtherCase(FText->substr(At, Len));
    return To != FText->substr(At, Len) && std::string_view(To) == Converted;
}

TgxMaskCaseChanges::THistory TgxMaskCaseChanges::With(THistory History, int Pos,
                                                      std::string_view Converted) {
    const auto End = static_cast<std::int32_t>(Pos + static_cast<int>(Converted.size()));
    if (IsOtherCase(Pos, Converted)) {
        if (History.Last >= 0 && History.End == Pos) {
            // Going on with its run. Another way that shared the run may
            // have gone on with it already, over this same character.
            TRecord& Last = At(History.Last);
            if (Last.End == Pos) Last.End = End;
            if (Last.End == End) return {History.Last, End};
        }
        return Add({History.Last, History.End, Pos, End}, End);
    }
    TOdd Odd{{}, static_cast<std::uint8_t>(std::min<std::size_t>(Converted.size(), 4))};
    std::copy_n(Converted.begin(), Odd.Len, Odd.Bytes.begin());
    FOdd.push_back(Odd);
    return Add({History.Last, History.End, Pos, -static_cast<std::int32_t>(FOdd.size())}, End);
}

void TgxMaskCaseChanges::Apply(THistory History, int TypedPos, AnsiString& Typed) const {
    const auto Put = [&](int Pos, std::string_view Bytes) {
        const int Off = Pos - TypedPos;
        if (Off >= 0 && Off + static_cast<int>(Bytes.size()) <= static_cast<int>(Typed.size()))
            Typed.replace(static_cast<std::size_t>(Off), Bytes.size(), Bytes);
    };
    while (History.Last >= 0) {
        const TRecord& R = At(History.Last);
        if (R.End < 0) {
            const TOdd& Odd = FOdd[static_cast<std::size_t>(-R.End - 1)];
            Put(R.Start, std::string_view(Odd.Bytes.data(), Odd.Len));
        } else {
            for (int Pos = R.Start; Pos < History.End;) {
                const int Len = std::max(CharCountAt(*FText, Pos), 1);
                Put(Pos, OtherCase(FText->substr(static_cast<std::size_t>(Pos - 1),
                                                 static_cast<std::size_t>(Len))));
                Pos += Len;
            }
        }
        History = {R.Previous, R.PreviousEnd};
    }
}

} // namespace grid
