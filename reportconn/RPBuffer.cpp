#include "reportconn/RPBuffer.h"

#include <cstring>
#include <limits>

namespace reportconn {

TRPBuffer::TRPBuffer() : FMain(TFileMapping::OpenOrCreate(RDCBuffer, MainBufferSize)) {}

TRPBuffer::~TRPBuffer() = default;

std::size_t TRPBuffer::Size() const {
    // Never more than the main buffer's nominal size, however large another
    // process made the mapping: the engine reads only that much.
    return FOverflow ? FOverflow->Size() : std::min(FMain->Size(), MainBufferSize);
}

std::uint8_t* TRPBuffer::Data() const {
    return FOverflow ? FOverflow->Data() : FMain->Data();
}

void TRPBuffer::ReleaseOverflow() {
    FOverflow.reset();
    FOverflowNumber = 0;
}

void TRPBuffer::Rewind() {
    ReleaseOverflow();
    FPosition = BufferDataStart;
    FReadPos = BufferDataStart;
}

void TRPBuffer::MakeRoom(std::size_t Count) {
    const std::size_t needed = FPosition + Count;
    if (needed <= Size()) return;
    if (needed >
        static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) - MainBufferSize)
        throw EReportPrinter("Reply too large for the report buffer");
    const int number = FOverflowNumber == 1 ? 2 : 1;
    auto next =
        TFileMapping::OpenOrCreate(RDCBufferAlt + std::to_string(number), needed + MainBufferSize);
    std::memcpy(next->Data(), Data(), FPosition);
    FOverflow = std::move(next);
    FOverflowNumber = number;
    const std::int32_t header[2] = {0, number};
    std::memcpy(FMain->Data(), header, sizeof header);
}

void TRPBuffer::WriteBytes(const void* Bytes, std::size_t Count) {
    MakeRoom(Count);
    if (Count) std::memcpy(Data() + FPosition, Bytes, Count);
    FPosition += Count;
}

void TRPBuffer::WriteExtended(double Value) {
    std::uint8_t bytes[10];
    DoubleToExtended(Value, bytes);
    WriteBytes(bytes, sizeof bytes);
}

void TRPBuffer::WriteString(const AnsiString& Value) {
    MakeRoom(StringSize(Value));
    WriteInt32(1);
    WriteInt32(static_cast<std::int32_t>(Value.size()));
    WriteBytes(Value.data(), Value.size());
    WriteInt32(0);
}

void TRPBuffer::WriteBlob(const AnsiString& Bytes) {
    MakeRoom(4 + Bytes.size());
    WriteInt32(static_cast<std::int32_t>(Bytes.size()));
    WriteBytes(Bytes.data(), Bytes.size());
}

void TRPBuffer::PatchInt32(std::size_t Offset, std::int32_t Value) {
    if (Offset + 4 <= Size()) std::memcpy(Data() + Offset, &Value, 4);
}

void TRPBuffer::WriteHeader() {
    const std::int32_t header[2] = {static_cast<std::int32_t>(FPosition), FOverflowNumber};
    std::memcpy(Data(), header, sizeof header);
}

void TRPBuffer::WriteEmptyHeader() {
    const std::int32_t header[2] = {0, 0};
    std::memcpy(FMain->Data(), header, sizeof header);
}

void TRPBuffer::ReadRaw(void* Into, std::size_t Count) {
    const std::size_t size = std::min(FMain->Size(), MainBufferSize);
    if (FReadPos > size || Count > size - FReadPos)
        throw EReadError("Report request runs past the end of the buffer");
    std::memcpy(Into, FMain->Data() + FReadPos, Count);
    FReadPos += Count;
}

std::int32_t TRPBuffer::ReadInt32() {
    std::int32_t value;
    ReadRaw(&value, 4);
    return value;
}

std::uint8_t TRPBuffer::ReadByte() {
    std::uint8_t value;
    ReadRaw(&value, 1);
    return value;
}

std::int64_t TRPBuffer::ReadInt64() {
    std::int64_t value;
    ReadRaw(&value, 8);
    return value;
}

double TRPBuffer::ReadDouble() {
    double value;
    ReadRaw(&value, 8);
    return value;
}

double TRPBuffer::ReadExtended() {
    std::uint8_t bytes[10];
    ReadRaw(bytes, sizeof bytes);
    return ExtendedToDouble(bytes);
}

AnsiString TRPBuffer::ReadString() {
    AnsiString result;
    for (;;) {
        const std::int32_t kind = ReadInt32();
        if (kind == 0) return result;
        const std::int32_t length = ReadInt32();
        if (length < 0)
            throw EReadError("Report request holds a string of negative length " +
                             std::to_string(length));
        // Checked before anything is allocated for it.
        const std::size_t size = std::min(FMain->Size(), MainBufferSize);
        if (FReadPos > size || static_cast<std::size_t>(length) > size - FReadPos)
            throw EReadError("Report request holds a string of " + std::to_string(length) +
                             " bytes that runs past the end of the buffer");
        AnsiString bytes(static_cast<std::size_t>(length), '\0');
        ReadRaw(bytes.data(), bytes.size());
        if (kind == 1) result = std::move(bytes);
    }
}

} // namespace reportconn
