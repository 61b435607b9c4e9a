#pragma once
// The case changes the mask matcher's ways make to a typed text, kept for
// every way at once. A way that converts one character after another keeps
// them as one run, and ways that went the same way share what they have in
// common: most ways that convert convert each character as the one before,
// so a long text costs a record per run, not per character.
#include "platform/rtl/AnsiString.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace grid {

class TgxMaskCaseChanges {
public:
    // The changes of one way: its last record, and how much of it is the
    // way's own (other ways may have made a shared run longer since).
    struct THistory {
        std::int32_t Last = -1;
        std::int32_t End = 0;
    };

    // Forgets every record; the text is the one the positions refer to.
    void Start(const AnsiString& Text);
    // History with the character at the 1-based Pos converted to Converted.
    THistory With(THistory History, int Pos, std::string_view Converted);
    // Puts the changes of History into Typed, the part of the text that
    // begins at TypedPos.
    void Apply(THistory History, int TypedPos, AnsiString& Typed) const;

private:
    // Positions Start up to End (or as far as a history says) each hold a
    // character converted to its other case; or, with End negative, the one
    // character at Start became the bytes of FOdd[-End - 1].
    struct TRecord {
        std::int32_t Previous;
        std::int32_t PreviousEnd;
        std::int32_t Start;
        std::int32_t End;
    };
    struct TOdd {
        std::array<char, 4> Bytes;
        std::uint8_t Len;
    };
    static constexpr std::size_t BlockSize = 8192;

    TRecord& At(std::int32_t Id) const;
    THistory Add(const TRecord& Record, std::int32_t End);
    bool IsOtherCase(int Pos, std::string_view Converted) const;

    const AnsiString* FText = nullptr;
    // Kept from run to run: a long text may hold millions of records.
    std::vector<std::unique_ptr<TRecord[]>> FBlocks;
    std::size_t FCount = 0;
    std::vector<TOdd> FOdd;
};

} // namespace grid
