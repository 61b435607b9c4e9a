// libFuzzer entry for the walk of operations on a shown grid (see
// gridwalk_target.cpp).
#include "grid/fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    return grid::fuzz::GridWalkInput(Data, Size);
}
