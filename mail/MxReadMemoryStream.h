#pragma once
// A read-only stream over a block of memory someone else owns; the coders
// read strings through it without copying them.
#include "platform/rtl/Streams.h"

#include <cstdint>

namespace mail {

class TMxReadMemoryStream : public TCustomMemoryStream {
public:
    AnsiString ClassName() const override { return "TMxReadMemoryStream"; }

    // Points the stream at ABlock and seeks to its start.
    void SetBlock(const void* ABlock, std::int64_t ASize);
    // Stores nothing.
    int Write(const void* Buffer, int Count) override;
};

} // namespace mail
