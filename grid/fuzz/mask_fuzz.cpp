// libFuzzer entry for the edit-mask language (see mask_target.cpp).
#include "grid/fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    return grid::fuzz::MaskInput(Data, Size);
}
