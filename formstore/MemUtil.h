#pragma once
// Zero-filled memory blocks that know their size, plain pointer arithmetic
// and byte moves, and zero-terminated copies of text.
#include "platform/rtl/AnsiString.h"

#include <cstdint>
#include <memory>

namespace formstore {

// A zero-filled block of Size bytes; nullptr for a Size of 0 or less.
void* AllocMemo(int Size);
// The block resized to Size bytes, bytes gained reading as zero; a null
// block is allocated, a Size of 0 or less frees the block and gives nullptr.
void* ReallocMemo(void* fpBlock, int Size);
// Frees the block and clears the pointer; nothing for nullptr.
void FreeMemo(void*& fpBlock);
// The block's size; 0 for nullptr.
int GetMemoSize(void* fpBlock);

// Whether the first Length bytes are equal (true for a Length below 1).
bool CompareMem(const void* fpBlock1, const void* fpBlock2, int Length);

inline void* HugeOffset(void* HugePtr, int Amount) {
    return static_cast<char*>(HugePtr) + Amount;
}
inline void HugeInc(void*& HugePtr, int Amount) {
    HugePtr = HugeOffset(HugePtr, Amount);
}
inline void HugeDec(void*& HugePtr, int Amount) {
    HugePtr = HugeOffset(HugePtr, -Amount);
}
// Byte copy; the areas may overlap.
void HMemCpy(void* DstPtr, const void* SrcPtr, int Amount);
// Moves Size 32-bit items of one array from index Src to index Dst.
void HugeMove(std::int32_t* Base, int Dst, int Src, int Size);

// A newly allocated zero-terminated copy of S.
std::unique_ptr<char[]> StrPAlloc(const AnsiString& S);
// S's own zero-terminated buffer.
char* StringToPChar(AnsiString& S);

} // namespace formstore
