#pragma once
// The byte buffers of a connection. TMxSimpleBuffer is a memory stream that
// can drop bytes from its front and says how many it dropped. The input
// buffer, TMxManagedBuffer, drops bytes by advancing a read offset and moves
// what remains to the front only once 32768 bytes have been consumed, so
// reading a long reply line by line does not move the buffer every time.
#include "platform/rtl/Streams.h"

#include <cstdint>
#include <functional>

namespace mail {

using TMxBytesRemovedEvent = std::function<void(int ACount)>;

class TMxSimpleBuffer : public TMemoryStream {
public:
    AnsiString ClassName() const override { return "TMxSimpleBuffer"; }

    // The buffered bytes and their number.
    virtual const char* Data();
    virtual int Size();
    // Appends at the end, whatever the position.
    void Append(const void* ABytes, int ACount);
    // The first ACount bytes as text, removed from the buffer;
    // EMxNotEnoughDataInBuffer when fewer are buffered.
    AnsiString Extract(int ACount);
    // Drops the first ACount bytes; EMxNotEnoughDataInBuffer when fewer
    // are buffered.
    virtual void Remove(int ACount);
    virtual void ClearBuffer();

    TMxBytesRemovedEvent OnBytesRemoved;

protected:
    void CheckAvailable(int ACount);
};

class TMxManagedBuffer : public TMxSimpleBuffer {
public:
    static constexpr std::int64_t PackThreshold = 32768;
    AnsiString ClassName() const override { return "TMxManagedBuffer"; }

    const char* Data() override;
    int Size() override;
    void Remove(int ACount) override;
    void ClearBuffer() override;

    // As a stream, sizes and positions count from the read offset.
    std::int64_t GetSize() override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    void SetSize(std::int64_t NewSize) override;
    int Write(const void* Buffer, int Count) override;

private:
    std::int64_t FReadOffset = 0;
};

} // namespace mail
