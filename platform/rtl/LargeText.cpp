#include "platform/rtl/LargeText.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

void ReserveLargeText(AnsiString& Text, std::size_t Size) {
    Text.reserve(Size);
    // Only whole large pages inside the buffer can be given; a small one
    // has none, and an advice the system does not take changes nothing.
    constexpr std::uintptr_t LargePage = 2u << 20;
    const auto Start = reinterpret_cast<std::uintptr_t>(Text.data());
    const std::uintptr_t End = Start + Text.capacity();
    const std::uintptr_t From = (Start + LargePage - 1) & ~(LargePage - 1);
    const std::uintptr_t To = End & ~(LargePage - 1);
    if (To > From) madvise(reinterpret_cast<void*>(From), To - From, MADV_HUGEPAGE);
}
