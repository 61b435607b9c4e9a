#pragma once
// Bytes the heap has handed out and not yet taken back, for tests that
// check what a structure holds. Under the address sanitizer its own
// allocator keeps the count; otherwise the C library's.
#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
#define BEACONMILL_ASAN_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define BEACONMILL_ASAN_HEAP 1
#endif
#endif

#ifdef BEACONMILL_ASAN_HEAP
// Provided by the sanitizer's run-time library.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace gridtest {

inline std::size_t HeapBytes() {
#ifdef BEACONMILL_ASAN_HEAP
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 Info = mallinfo2();
    return Info.uordblks + Info.hblkhd;
#endif
}

} // namespace gridtest
