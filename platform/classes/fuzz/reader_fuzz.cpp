// Feeds arbitrary bytes to the component-stream reader (into a fresh root
// and as a stream that names its own root class) and to the converters
// between the stream and its text form. Any outcome but a crash, a
// sanitizer report or a hang is acceptable: a malformed stream raises
// EReadError, an unknown class EClassNotFound, a malformed text EParserError.
// What loads must load the same once written: a value lost or changed on
// the way aborts with what changed.
#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/classes/fuzz/ComponentRoundTrip.h"
#include "platform/classes/fuzz/StreamFixture.h"
#include "platform/rtl/Streams.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    stream_fixture::RegisterStreamFixture();
    const std::string Bytes(reinterpret_cast<const char*>(Data), Size);
    try {
        TStringStream Input(Bytes);
        stream_fixture::TBoxForm Root(nullptr);
        ReadComponentRes(&Input, &Root);
    } catch (const EFilerError&) {
    } catch (const EReadError&) {
    }
    const std::string Fault = stream_fixture::ComponentRoundTripFault(Bytes);
    if (!Fault.empty()) {
        std::fprintf(stderr, "%s\n", Fault.c_str());
        std::abort();
    }
    try {
        TStringStream Input(Bytes);
        std::unique_ptr<TComponent> Made(ReadComponentRes(&Input, nullptr));
    } catch (const EFilerError&) {
    } catch (const EReadError&) {
    }
    try {
        TStringStream Input(Bytes);
        TStringStream Text;
        ObjectBinaryToText(&Input, &Text);
    } catch (const EReadError&) {
    }
    // The same bytes taken as a text form.
    try {
        TStringStream Input(Bytes);
        TStringStream Binary;
        ObjectTextToBinary(&Input, &Binary);
    } catch (const EParserError&) {
    }
    return 0;
}
