#include "mail/MxBuffers.h"

#include "mail/MxNetExceptions.h"

#include <cstring>

namespace mail {

// --------------------------------------------------------- TMxSimpleBuffer

const char* TMxSimpleBuffer::Data() {
    return static_cast<const char*>(Memory());
}

int TMxSimpleBuffer::Size() {
    return static_cast<int>(GetSize());
}

void TMxSimpleBuffer::Append(const void* ABytes, int ACount) {
    if (ACount <= 0) return;
    Seek(0, soEnd);
    WriteBuffer(ABytes, ACount);
}

void TMxSimpleBuffer::CheckAvailable(int ACount) {
    if (ACount > Size()) throw EMxNotEnoughDataInBuffer("Not enough data in buffer.");
}

AnsiString TMxSimpleBuffer::Extract(int ACount) {
    CheckAvailable(ACount);
    AnsiString text(Data(), static_cast<std::size_t>(ACount));
    Remove(ACount);
    return text;
}

void TMxSimpleBuffer::Remove(int ACount) {
    if (ACount <= 0) return;
    CheckAvailable(ACount);
    const int left = Size() - ACount;
    char* memory = static_cast<char*>(Memory());
    std::memmove(memory, memory + ACount, static_cast<std::size_t>(left));
    TMemoryStream::SetSize(left);
    if (OnBytesRemoved) OnBytesRemoved(ACount);
}

void TMxSimpleBuffer::ClearBuffer() {
    Clear();
}

// -------------------------------------------------------- TMxManagedBuffer

const char* TMxManagedBuffer::Data() {
    return static_cast<const char*>(Memory()) + FReadOffset;
}

int TMxManagedBuffer::Size() {
    return static_cast<int>(GetSize());
}

std::int64_t TMxManagedBuffer::GetSize() {
    return TMxSimpleBuffer::GetSize() - FReadOffset;
}

std::int64_t TMxManagedBuffer::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    if (Origin == soBeginning) Offset += FReadOffset;
    return TMxSimpleBuffer::Seek(Offset, Origin) - FReadOffset;
}

void TMxManagedBuffer::SetSize(std::int64_t NewSize) {
    TMxSimpleBuffer::SetSize(FReadOffset + (NewSize < 0 ? 0 : NewSize));
}

int TMxManagedBuffer::Write(const void* Buffer, int Count) {
    // The base write compares against GetSize, which here leaves out the
    // consumed bytes: grow the block through the base's own size instead.
    if (FPosition < FReadOffset || Count <= 0) return 0;
    const std::int64_t end = FPosition + Count;
    if (end > TCustomMemoryStream::GetSize()) TMemoryStream::SetSize(end);
    std::memcpy(static_cast<char*>(Memory()) + FPosition, Buffer, static_cast<std::size_t>(Count));
    FPosition = end;
    return Count;
}

void TMxManagedBuffer::Remove(int ACount) {
    if (ACount <= 0) return;
    CheckAvailable(ACount);
    if (ACount == Size()) {
        Clear();
        FReadOffset = 0;
    } else {
        FReadOffset += ACount;
        if (FReadOffset >= PackThreshold) {
            const std::int64_t left = GetSize();
            char* memory = static_cast<char*>(Memory());
            std::memmove(memory, memory + FReadOffset, static_cast<std::size_t>(left));
            FReadOffset = 0;
            TMemoryStream::SetSize(left);
        }
    }
    if (FPosition < FReadOffset) FPosition = FReadOffset;
    if (OnBytesRemoved) OnBytesRemoved(ACount);
}

void TMxManagedBuffer::ClearBuffer() {
    Clear();
    FReadOffset = 0;
}

} // namespace mail
