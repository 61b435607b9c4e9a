#include "formstore/MemUtil.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

namespace formstore {

namespace {

// Each block starts with its size, padded so the caller's bytes keep the
// strictest alignment.
constexpr std::size_t HeaderSize = alignof(std::max_align_t);

std::size_t& SizeOf(void* Block) {
    return *reinterpret_cast<std::size_t*>(static_cast<char*>(Block) - HeaderSize);
}

void* Base(void* Block) {
    return static_cast<char*>(Block) - HeaderSize;
}

} // namespace

void* AllocMemo(int Size) {
    if (Size <= 0) return nullptr;
    void* Raw = std::calloc(1, HeaderSize + static_cast<std::size_t>(Size));
    if (Raw == nullptr) throw std::bad_alloc();
    void* Block = static_cast<char*>(Raw) + HeaderSize;
    SizeOf(Block) = static_cast<std::size_t>(Size);
    return Block;
}

void* ReallocMemo(void* fpBlock, int Size) {
    if (fpBlock == nullptr) return AllocMemo(Size);
    if (Size <= 0) {
        FreeMemo(fpBlock);
        return nullptr;
    }
    const std::size_t OldSize = SizeOf(fpBlock);
    void* Raw = std::realloc(Base(fpBlock), HeaderSize + static_cast<std::size_t>(Size));
    if (Raw == nullptr) throw std::bad_alloc();
    void* Block = static_cast<char*>(Raw) + HeaderSize;
    if (static_cast<std::size_t>(Size) > OldSize)
        std::memset(static_cast<char*>(Block) + OldSize, 0, Size - OldSize);
    SizeOf(Block) = static_cast<std::size_t>(Size);
    return Block;
}

void FreeMemo(void*& fpBlock) {
    if (fpBlock == nullptr) return;
    std::free(Base(fpBlock));
    fpBlock = nullptr;
}

int GetMemoSize(void* fpBlock) {
    return fpBlock == nullptr ? 0 : static_cast<int>(SizeOf(fpBlock));
}

bool CompareMem(const void* fpBlock1, const void* fpBlock2, int Length) {
    return Length < 1 || std::memcmp(fpBlock1, fpBlock2, static_cast<std::size_t>(Length)) == 0;
}

void HMemCpy(void* DstPtr, const void* SrcPtr, int Amount) {
    if (Amount > 0) std::memmove(DstPtr, SrcPtr, static_cast<std::size_t>(Amount));
}

void HugeMove(std::int32_t* Base, int Dst, int Src, int Size) {
    if (Size > 0)
        std::memmove(Base + Dst, Base + Src, static_cast<std::size_t>(Size) * sizeof(std::int32_t));
}

std::unique_ptr<char[]> StrPAlloc(const AnsiString& S) {
    auto Result = std::make_unique<char[]>(S.size() + 1);
    std::memcpy(Result.get(), S.c_str(), S.size() + 1);
    return Result;
}

char* StringToPChar(AnsiString& S) {
    return S.data();
}

} // namespace formstore
