#include "grid/foundation/PackedTexts.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>

namespace grid {

namespace {

constexpr std::uint32_t PresentBit = 0x80000000u;
constexpr std::uint32_t EndMask = 0x7FFFFFFFu;
constexpr std::size_t BlockLimit = 0xFFFFFFF0u;

} // namespace

TPackedTexts::~TPackedTexts() {
    std::free(FBlock);
}

// Entry Index sits Index + 1 places below the end of the block.
char* TPackedTexts::EntryAt(int Index) const {
    return Data() + FBlock->Capacity - 4 * (static_cast<std::size_t>(Index) + 1);
}

std::uint32_t TPackedTexts::Entry(int Index) const {
    std::uint32_t Value;
    std::memcpy(&Value, EntryAt(Index), sizeof Value);
    return Value;
}

void TPackedTexts::SetEntry(int Index, std::uint32_t Value) {
    std::memcpy(EntryAt(Index), &Value, sizeof Value);
}

std::uint32_t TPackedTexts::Start(int Index) const {
    return Index == 0 ? 0 : Entry(Index - 1) & EndMask;
}

void TPackedTexts::ShiftEnds(int From, std::uint32_t Delta) {
    const int Len = Length();
    for (int I = From; I < Len; ++I) {
        const std::uint32_t E = Entry(I);
        SetEntry(I, (((E & EndMask) + Delta) & EndMask) | (E & PresentBit));
    }
}

bool TPackedTexts::Present(int Index) const {
    return Index < Length() && (Entry(Index) & PresentBit) != 0;
}

std::string_view TPackedTexts::Text(int Index) const {
    if (Index >= Length()) return {};
    const std::uint32_t S = Start(Index);
    return {Data() + S, (Entry(Index) & EndMask) - S};
}

void TPackedTexts::Reserve(std::size_t Extra) {
    const std::size_t Len = FBlock ? FBlock->Length : 0;
    const std::size_t TextBytes = FBlock ? FBlock->TextBytes : 0;
    const std::size_t Cap = FBlock ? FBlock->Capacity : 0;
    const std::size_t Need = TextBytes + 4 * Len + Extra;
    if (Need <= Cap) return;
    if (Need > BlockLimit || TextBytes + Extra > EndMask)
        throw std::length_error("A sparse string list cannot hold " + std::to_string(Need) +
                                " bytes of text");
    // A small growth step keeps the slack of a short list small; it is still
    // geometric, so appending stays amortised constant time.
    std::size_t NewCap = std::max(Need, Cap + Cap / 8 + 16);
    NewCap = std::min((NewCap + 3) & ~std::size_t(3), BlockLimit);
    auto* Block = static_cast<THeader*>(std::realloc(FBlock, sizeof(THeader) + NewCap));
    if (!Block) throw std::bad_alloc();
    if (!FBlock) {
        Block->Length = 0;
        Block->TextBytes = 0;
    }
    FBlock = Block;
    // The entries move to the new end of the block.
    char* D = Data();
    std::memmove(D + NewCap - 4 * Len, D + Cap - 4 * Len, 4 * Len);
    FBlock->Capacity = static_cast<std::uint32_t>(NewCap);
}

void TPackedTexts::TrimTail() {
    if (!FBlock) return;
    // An absent entry has no text, so the text bytes stay as they are.
    while (FBlock->Length > 0 && !(Entry(static_cast<int>(FBlock->Length) - 1) & PresentBit))
        --FBlock->Length;
    if (FBlock->Length == 0) Clear();
}

void TPackedTexts::Store(int Index, bool Present, std::string_view Text) {
    const int Len = Length();
    if (!Present) {
        if (Index >= Len) return;
        Text = {};
    }
    if (Index >= Len) {
        // Past the end: absent entries fill the gap, the text goes last.
        Reserve(4 * (static_cast<std::size_t>(Index) - Len + 1) + Text.size());
        const std::uint32_t End = FBlock->TextBytes;
        for (int I = Len; I < Index; ++I)
            SetEntry(I, End);
        if (!Text.empty()) std::memcpy(Data() + End, Text.data(), Text.size());
        FBlock->TextBytes = End + static_cast<std::uint32_t>(Text.size());
        SetEntry(Index, FBlock->TextBytes | PresentBit);
        FBlock->Length = static_cast<std::uint32_t>(Index) + 1;
        return;
    }
    const std::uint32_t S = Start(Index);
    const std::uint32_t OldSize = (Entry(Index) & EndMask) - S;
    if (Text.size() > OldSize) Reserve(Text.size() - OldSize);
    char* D = Data();
    const std::uint32_t OldEnd = S + OldSize;
    std::memmove(D + S + Text.size(), D + OldEnd, FBlock->TextBytes - OldEnd);
    if (!Text.empty()) std::memcpy(D + S, Text.data(), Text.size());
    const std::uint32_t Delta = static_cast<std::uint32_t>(Text.size()) - OldSize; // wraps when shrinking
    FBlock->TextBytes += Delta;
    SetEntry(Index, (S + static_cast<std::uint32_t>(Text.size())) | (Present ? PresentBit : 0));
    ShiftEnds(Index + 1, Delta);
    if (!Present) TrimTail();
}

void TPackedTexts::Insert(int Index, std::string_view Text, bool Present) {
    const int Len = Length();
    if (Index >= Len) {
        Store(Index, Present, Text);
        return;
    }
    if (!Present) Text = {};
    Reserve(4 + Text.size());
    // Entries Index..Len-1 move one place up, which is 4 bytes down.
    char* Low = EntryAt(Len - 1);
    std::memmove(Low - 4, Low, 4 * static_cast<std::size_t>(Len - Index));
    ++FBlock->Length;
    const std::uint32_t S = Start(Index);
    const auto Size = static_cast<std::uint32_t>(Text.size());
    char* D = Data();
    std::memmove(D + S + Size, D + S, FBlock->TextBytes - S);
    if (Size) std::memcpy(D + S, Text.data(), Size);
    FBlock->TextBytes += Size;
    SetEntry(Index, (S + Size) | (Present ? PresentBit : 0));
    ShiftEnds(Index + 1, Size);
}

void TPackedTexts::Erase(int Index) {
    const int Len = Length();
    if (Index >= Len) return;
    const std::uint32_t S = Start(Index);
    const std::uint32_t E = Entry(Index) & EndMask;
    char* D = Data();
    std::memmove(D + S, D + E, FBlock->TextBytes - E);
    FBlock->TextBytes -= E - S;
    // Entries Index+1..Len-1 move one place down, which is 4 bytes up.
    char* Low = EntryAt(Len - 1);
    std::memmove(Low + 4, Low, 4 * static_cast<std::size_t>(Len - 1 - Index));
    --FBlock->Length;
    ShiftEnds(Index, 0u - (E - S));
    TrimTail();
}

void TPackedTexts::Clear() {
    std::free(FBlock);
    FBlock = nullptr;
}

} // namespace grid
