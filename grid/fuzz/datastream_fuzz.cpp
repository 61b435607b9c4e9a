// libFuzzer entry for the grid data stream reader (see datastream_target.cpp).
#include "grid/fuzz/FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    return grid::fuzz::DataStreamInput(Data, Size);
}
