#pragma once
// Byte streams: the abstract stream with its buffer and copy helpers, streams
// over memory (owned or borrowed), over a file and over a string. Positions
// and sizes are 64-bit; a single read or write moves at most an int's worth.
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Object.h"

#include <cstdint>
#include <vector>

// Where a seek offset counts from. Unscoped so callers keep the short names.
enum TSeekOrigin : std::uint8_t { soBeginning = 0, soCurrent = 1, soEnd = 2 };
inline constexpr TSeekOrigin soFromBeginning = soBeginning;
inline constexpr TSeekOrigin soFromCurrent = soCurrent;
inline constexpr TSeekOrigin soFromEnd = soEnd;

// File stream modes: one access mode or'ed with one share mode. Share modes
// are accepted and ignored (there is no mandatory locking to ask for).
inline constexpr unsigned short fmCreate = 0xFFFF;
inline constexpr unsigned short fmOpenRead = 0x0000;
inline constexpr unsigned short fmOpenWrite = 0x0001;
inline constexpr unsigned short fmOpenReadWrite = 0x0002;
inline constexpr unsigned short fmShareCompat = 0x0000;
inline constexpr unsigned short fmShareExclusive = 0x0010;
inline constexpr unsigned short fmShareDenyWrite = 0x0020;
inline constexpr unsigned short fmShareDenyRead = 0x0030;
inline constexpr unsigned short fmShareDenyNone = 0x0040;

class TStream : public TObject {
public:
    AnsiString ClassName() const override { return "TStream"; }

    // Move up to Count bytes; the result is the number actually moved.
    virtual int Read(void* Buffer, int Count) = 0;
    virtual int Write(const void* Buffer, int Count) = 0;
    // Returns the new position, or -1 where the stream cannot seek.
    virtual std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) = 0;

    std::int64_t GetPosition() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t Pos) { Seek(Pos, soBeginning); }
    virtual std::int64_t GetSize();
    // A stream that cannot change its size ignores the request.
    virtual void SetSize(std::int64_t NewSize);

    // Exactly Count bytes or EReadError / EWriteError.
    void ReadBuffer(void* Buffer, int Count);
    void WriteBuffer(const void* Buffer, int Count);

    // Copies Count bytes from Source's position; 0 copies the whole of
    // Source from its start. Returns the number copied.
    std::int64_t CopyFrom(TStream* Source, std::int64_t Count);
};

// A stream over a block of memory it does not manage; descendants say where
// the block is (SetPointer) and whether writing may change it.
class TCustomMemoryStream : public TStream {
public:
    AnsiString ClassName() const override { return "TCustomMemoryStream"; }

    int Read(void* Buffer, int Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t GetSize() override { return FSize; }

    void SaveToStream(TStream* Stream);
    // Writes a temporary file beside FileName and renames it over, so a
    // failed save leaves the previous file as it was.
    void SaveToFile(const AnsiString& FileName);

    void* Memory() const { return FMemory; }

protected:
    void SetPointer(void* Ptr, std::int64_t Size);
    std::int64_t FPosition = 0;

private:
    void* FMemory = nullptr;
    std::int64_t FSize = 0;
};

class TMemoryStream : public TCustomMemoryStream {
public:
    TMemoryStream() = default;
    AnsiString ClassName() const override { return "TMemoryStream"; }

    int Write(const void* Buffer, int Count) override;
    // Bytes gained by growing read as zero.
    void SetSize(std::int64_t NewSize) override;
    void Clear();

    // Replace the contents with the whole of Stream / of the file. On a
    // failed read the previous contents stay.
    void LoadFromStream(TStream* Stream);
    void LoadFromFile(const AnsiString& FileName);

private:
    std::vector<unsigned char> FData;
};

// A stream over an open file descriptor.
class THandleStream : public TStream {
public:
    explicit THandleStream(int AHandle) : FHandle(AHandle) {}
    AnsiString ClassName() const override { return "THandleStream"; }

    int Read(void* Buffer, int Count) override;
    int Write(const void* Buffer, int Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    // Truncates or extends the file; the position moves to NewSize.
    void SetSize(std::int64_t NewSize) override;

    int Handle() const { return FHandle; }

protected:
    int FHandle;
};

class TFileStream : public THandleStream {
public:
    // fmCreate creates the file or empties an existing one, opened for
    // reading and writing; otherwise the file must exist. Failures raise
    // EFCreateError / EFOpenError naming the file and the system's reason.
    TFileStream(const AnsiString& FileName, unsigned short Mode);
    ~TFileStream() override;
    AnsiString ClassName() const override { return "TFileStream"; }

    const AnsiString& FileName() const { return FFileName; }

private:
    AnsiString FFileName;
};

// A stream whose bytes are a string. Seeks stay within the string.
class TStringStream : public TStream {
public:
    explicit TStringStream(const AnsiString& AString = AnsiString()) : FDataString(AString) {}
    AnsiString ClassName() const override { return "TStringStream"; }

    int Read(void* Buffer, int Count) override;
    // Overwrites from the position and extends the string past its end.
    int Write(const void* Buffer, int Count) override;
    std::int64_t Seek(std::int64_t Offset, TSeekOrigin Origin) override;
    std::int64_t GetSize() override { return static_cast<std::int64_t>(FDataString.size()); }
    void SetSize(std::int64_t NewSize) override;

    // Up to Count characters from the position.
    AnsiString ReadString(int Count);
    void WriteString(const AnsiString& AString);

    const AnsiString& DataString() const { return FDataString; }

private:
    AnsiString FDataString;
    std::int64_t FPosition = 0;
};
