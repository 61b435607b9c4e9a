#pragma once
// The buffer a connection answers in: the shared main buffer, and while a
// reply outgrows it, an overflow buffer that takes over. Positions count from
// the start of the buffer in use, so they stay valid when a reply moves to an
// overflow buffer. Requests are read from the main buffer, every read bounded
// by its size; a request that runs past the end raises EReadError.
#include "platform/sys/FileMapping.h"
#include "reportconn/RPTypes.h"

#include <cstdint>
#include <memory>

namespace reportconn {

class TRPBuffer {
public:
    // Opens or creates the main buffer. Raises EOSError when it cannot.
    TRPBuffer();
    ~TRPBuffer();

    // Back to the main buffer (an overflow buffer is released) at offset 8.
    void Rewind();
    void ReleaseOverflow();
    int OverflowNumber() const { return FOverflowNumber; }
    std::size_t Position() const { return FPosition; }
    std::size_t Size() const;
    std::uint8_t* Data() const;

    // Makes sure Count more bytes fit, moving the reply into an overflow
    // buffer when they do not.
    void MakeRoom(std::size_t Count);
    void WriteBytes(const void* Bytes, std::size_t Count);
    void WriteInt32(std::int32_t Value) { WriteBytes(&Value, 4); }
    void WriteByte(std::uint8_t Value) { WriteBytes(&Value, 1); }
    void WriteInt64(std::int64_t Value) { WriteBytes(&Value, 8); }
    void WriteDouble(double Value) { WriteBytes(&Value, 8); }
    void WriteExtended(double Value);
    void WriteString(const AnsiString& Value);
    void WriteBlob(const AnsiString& Bytes);
    // Overwrites an int32 written earlier at Offset of the buffer in use.
    void PatchInt32(std::size_t Offset, std::int32_t Value);
    // Finishes a reply: its length and overflow number go at the start of
    // the buffer in use.
    void WriteHeader();
    // A reply without data: 0 and 0 in the main buffer's header.
    void WriteEmptyHeader();

    // Reading a request from the main buffer at the read position.
    void Seek(std::size_t Offset) { FReadPos = Offset; }
    std::int32_t ReadInt32();
    std::uint8_t ReadByte();
    std::int64_t ReadInt64();
    double ReadDouble();
    double ReadExtended();
    AnsiString ReadString();

    // Bytes a string takes on the wire.
    static std::size_t StringSize(const AnsiString& Value) { return 12 + Value.size(); }

private:
    void ReadRaw(void* Into, std::size_t Count);

    std::unique_ptr<TFileMapping> FMain;
    std::unique_ptr<TFileMapping> FOverflow;
    int FOverflowNumber = 0;
    std::size_t FPosition = BufferDataStart;
    std::size_t FReadPos = BufferDataStart;
};

} // namespace reportconn
