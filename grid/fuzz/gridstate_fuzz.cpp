// libFuzzer entry for the grid's saved-state loader (see gridstate_target.cpp).
#include "grid/fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    return grid::fuzz::GridStateInput(Data, Size);
}
