#pragma once
// The allocator gives freed memory back to the system once enough of it
// lies free at the top of the heap, and serves large blocks from fresh
// mappings; whether a run ends that way depends on what ran before, and the
// next run then pays a page fault for every page it touches. That swung the
// row-adding reference at 4,096 rows between 0.22 and 1.07 ms by the order
// the benchmarks ran in, and made the first debug-grid run slower than a
// later one with ten times the rows. The benchmarks that compare allocating
// work keep their freed memory for the next run instead, and may fault in
// a stretch of heap first, so that no side pays for being first.
#include <malloc.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace benchheap {

inline void SteadyHeap() {
    mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
}

// Touches Bytes of heap once per process and hands it back to the
// allocator, which keeps it.
inline void WarmHeap(std::size_t Bytes) {
    static bool Warmed = false;
    SteadyHeap();
    if (Warmed) return;
    Warmed = true;
    constexpr std::size_t Block = 1024 * 1024;
    std::vector<void*> Blocks;
    Blocks.reserve(Bytes / Block);
    for (std::size_t Done = 0; Done < Bytes; Done += Block) {
        void* P = std::malloc(Block);
        if (!P) break;
        std::memset(P, 1, Block);
        Blocks.push_back(P);
    }
    for (void* P : Blocks)
        std::free(P);
}

} // namespace benchheap
