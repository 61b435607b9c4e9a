#pragma once
// The case changes the mask matcher's ways make to a typed text, kept for
// every way at once. A way that turns characters to one case keeps them as
// one run, over the characters it took as they stand between them too when
// they are in that case already; and ways that went the same way share what
// they have in common. So a long text costs a record where a way begins
// converting or turns to the other case, not one per character.
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
    // Positions Start up to End (or as far as a history says) hold their
    // characters in upper case, or lower; or, with End negative, the one
    // character at Start became the bytes of FOdd[-End - 1].
    struct TRecord {
        std::int32_t Previous;
        std::int32_t PreviousEnd;
        std::uint32_t Start : 31;
        std::uint32_t Upper : 1;
        std::int32_t End;
    };
    struct TOdd {
        std::array<char, 4> Bytes;
        std::uint8_t Len;
    };
    // Small enough blocks to be kept by the heap when a run ends.
    static constexpr std::size_t BlockSize = 2048;
    enum class TKind { Lower, Upper, Odd };

    TRecord& At(std::int32_t Id) const;
    THistory Add(const TRecord& Record, std::int32_t End);
    TKind KindOf(int Pos, std::string_view Converted) const;
    bool InCaseBetween(bool Upper, int From, int To);

    const AnsiString* FText = nullptr;
    // Kept from run to run: a long text may hold millions of records.
    std::vector<std::unique_ptr<TRecord[]>> FBlocks;
    std::size_t FCount = 0;
    std::vector<TOdd> FOdd;
    // Of each case (lower, upper), when asked for: how many characters
    // before each position that case would change.
    std::array<std::vector<std::int32_t>, 2> FChanging;
    // The run begun last, and the history it went on from.
    struct TBegun {
        THistory From;
        int Pos = 0;
        bool Upper = false;
        std::int32_t Id = -1;
    } FBegun;
};

} // namespace grid
