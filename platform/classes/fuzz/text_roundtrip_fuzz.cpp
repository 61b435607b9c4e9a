// Feeds arbitrary bytes to the text form's reader and holds every text it
// takes to the round trip: text to stream, stream back to text, and that
// text to the same stream. A broken round trip aborts with what broke.
#include "platform/classes/fuzz/TextRoundTrip.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string Fault =
        stream_fixture::TextRoundTripFault(std::string(reinterpret_cast<const char*>(Data), Size));
    if (!Fault.empty()) {
        std::fprintf(stderr, "%s\n", Fault.c_str());
        std::abort();
    }
    return 0;
}
