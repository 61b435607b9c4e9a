#include "platform/rtl/Streams.h"

#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The largest slice CopyFrom moves at a time.
constexpr int MaxBufSize = 0xF000;

AnsiString SystemMessage(int error) {
    char buffer[256];
    // The GNU variant may return a static string instead of filling buffer.
    return strerror_r(error, buffer, sizeof buffer);
}

[[noreturn]] void RaiseCreateError(const AnsiString& fileName, int error) {
    throw EFCreateError("Cannot create file \"" + fileName + "\". " + SystemMessage(error));
}

[[noreturn]] void RaiseOpenError(const AnsiString& fileName, int error) {
    throw EFOpenError("Cannot open file \"" + fileName + "\". " + SystemMessage(error));
}

// Writes all of [data, data + size) or reports the failing errno.
int WriteAll(int fd, const unsigned char* data, std::size_t size) {
    while (size > 0) {
        ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

// Creates a fresh temporary file beside fileName; returns its descriptor
// and name, raising EFCreateError for the target when that is impossible.
int CreateTemporaryBeside(const AnsiString& fileName, AnsiString& tempName) {
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[48];
        std::snprintf(suffix, sizeof suffix, ".~%d.%u", static_cast<int>(::getpid()),
                      counter.fetch_add(1));
        tempName = fileName + suffix;
        int fd = ::open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) return fd;
        if (errno != EEXIST) RaiseCreateError(fileName, errno);
    }
    RaiseCreateError(fileName, EEXIST);
}

} // namespace

// ---------------------------------------------------------------- TStream

std::int64_t TStream::GetSize() {
    std::int64_t pos = Seek(0, soCurrent);
    std::int64_t result = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return result;
}

void TStream::SetSize(std::int64_t) {}

void TStream::ReadBuffer(void* Buffer, int Count) {
    if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int Count) {
    if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream* Source, std::int64_t Count) {
    if (Count == 0) {
        Source->SetPosition(0);
        Count = Source->GetSize();
    }
    if (Count < 0) throw EReadError("Stream read error");
    const std::int64_t result = Count;
    std::vector<unsigned char> buffer(static_cast<std::size_t>(
        std::min<std::int64_t>(std::max<std::int64_t>(Count, 1), MaxBufSize)));
    while (Count != 0) {
        int n = static_cast<int>(std::min<std::int64_t>(Count, MaxBufSize));
        Source->ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        Count -= n;
    }
    return result;
}

// ---------------------------------------------------- TCustomMemoryStream

void TCustomMemoryStream::SetPointer(void* Ptr, std::int64_t Size) {
    FMemory = Ptr;
    FSize = Size;
}

int TCustomMemoryStream::Read(void* Buffer, int Count) {
    if (FPosition < 0 || Count <= 0) return 0;
    std::int64_t available = FSize - FPosition;
    if (available <= 0) return 0;
    int n = static_cast<int>(std::min<std::int64_t>(available, Count));
    std::memcpy(Buffer, static_cast<const unsigned char*>(FMemory) + FPosition,
                static_cast<std::size_t>(n));
    FPosition += n;
    return n;
}

std::int64_t TCustomMemoryStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    // A position outside the block is allowed; reads and writes there move
    // nothing (before the start) or read nothing (past the end).
    switch (Origin) {
    case soBeginning:
        FPosition = Offset;
        break;
    case soCurrent:
        FPosition += Offset;
        break;
    case soEnd:
        FPosition = FSize + Offset;
        break;
    }
    return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream) {
    const auto* data = static_cast<const unsigned char*>(FMemory);
    std::int64_t left = FSize;
    while (left > 0) {
        int n = static_cast<int>(std::min<std::int64_t>(left, std::numeric_limits<int>::max()));
        Stream->WriteBuffer(data, n);
        data += n;
        left -= n;
    }
}

void TCustomMemoryStream::SaveToFile(const AnsiString& FileName) {
    AnsiString tempName;
    int fd = CreateTemporaryBeside(FileName, tempName);
    // Keep the permissions of the file being replaced.
    struct stat previous {};
    if (::stat(FileName.c_str(), &previous) == 0) ::fchmod(fd, previous.st_mode & 07777);

    int error =
        WriteAll(fd, static_cast<const unsigned char*>(FMemory), static_cast<std::size_t>(FSize));
    if (error == 0 && ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error != 0) {
        ::unlink(tempName.c_str());
        throw EWriteError("Stream write error");
    }
    if (::rename(tempName.c_str(), FileName.c_str()) != 0) {
        error = errno;
        ::unlink(tempName.c_str());
        RaiseCreateError(FileName, error);
    }
}

// ---------------------------------------------------------- TMemoryStream

int TMemoryStream::Write(const void* Buffer, int Count) {
    if (FPosition < 0 || Count <= 0) return 0;
    std::int64_t end = FPosition + Count;
    if (end > GetSize()) {
        FData.resize(static_cast<std::size_t>(end));
        SetPointer(FData.data(), end);
    }
    std::memcpy(FData.data() + FPosition, Buffer, static_cast<std::size_t>(Count));
    FPosition = end;
    return Count;
}

void TMemoryStream::SetSize(std::int64_t NewSize) {
    if (NewSize < 0) NewSize = 0;
    FData.resize(static_cast<std::size_t>(NewSize));
    SetPointer(NewSize == 0 ? nullptr : FData.data(), NewSize);
    if (FPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::Clear() {
    std::vector<unsigned char>().swap(FData);
    SetPointer(nullptr, 0);
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
    Stream->SetPosition(0);
    std::int64_t count = Stream->GetSize();
    if (count < 0) throw EReadError("Stream read error");
    std::vector<unsigned char> data(static_cast<std::size_t>(count));
    std::int64_t done = 0;
    while (done < count) {
        int n =
            static_cast<int>(std::min<std::int64_t>(count - done, std::numeric_limits<int>::max()));
        Stream->ReadBuffer(data.data() + done, n);
        done += n;
    }
    FData.swap(data);
    SetPointer(count == 0 ? nullptr : FData.data(), count);
    if (FPosition > count) FPosition = count;
}

void TMemoryStream::LoadFromFile(const AnsiString& FileName) {
    TFileStream stream(FileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(&stream);
}

// ---------------------------------------------------------- THandleStream

int THandleStream::Read(void* Buffer, int Count) {
    if (Count <= 0) return 0;
    ssize_t n;
    do {
        n = ::read(FHandle, Buffer, static_cast<std::size_t>(Count));
    } while (n < 0 && errno == EINTR);
    return n < 0 ? 0 : static_cast<int>(n);
}

int THandleStream::Write(const void* Buffer, int Count) {
    if (Count <= 0) return 0;
    const auto* data = static_cast<const unsigned char*>(Buffer);
    int done = 0;
    while (done < Count) {
        ssize_t n = ::write(FHandle, data + done, static_cast<std::size_t>(Count - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<int>(n);
    }
    return done;
}

std::int64_t THandleStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
    return ::lseek(FHandle, static_cast<off_t>(Offset), whence);
}

void THandleStream::SetSize(std::int64_t NewSize) {
    if (Seek(NewSize, soBeginning) < 0 || ::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0) {
        int error = errno;
        throw EOSError("System Error. Code: " + std::to_string(error) + ".\n" +
                       SystemMessage(error));
    }
}

// ------------------------------------------------------------ TFileStream

TFileStream::TFileStream(const AnsiString& FileName, unsigned short Mode)
    : THandleStream(-1), FFileName(FileName) {
    if ((Mode & 0xFF00) == 0xFF00) {
        FHandle = ::open(FileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
        if (FHandle < 0) RaiseCreateError(FileName, errno);
        return;
    }
    int access = Mode & 0x000F;
    int flags = access == fmOpenWrite ? O_WRONLY : access == fmOpenReadWrite ? O_RDWR : O_RDONLY;
    FHandle = ::open(FileName.c_str(), flags | O_CLOEXEC);
    if (FHandle < 0) RaiseOpenError(FileName, errno);
    // A directory opens for reading here but is no file to stream.
    struct stat info {};
    if (::fstat(FHandle, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(FHandle);
        FHandle = -1;
        RaiseOpenError(FileName, EISDIR);
    }
}

TFileStream::~TFileStream() {
    if (FHandle >= 0) ::close(FHandle);
}

// ---------------------------------------------------------- TStringStream

int TStringStream::Read(void* Buffer, int Count) {
    if (Count <= 0) return 0;
    std::int64_t available = GetSize() - FPosition;
    if (available <= 0) return 0;
    int n = static_cast<int>(std::min<std::int64_t>(available, Count));
    std::memcpy(Buffer, FDataString.data() + FPosition, static_cast<std::size_t>(n));
    FPosition += n;
    return n;
}

int TStringStream::Write(const void* Buffer, int Count) {
    if (Count <= 0) return 0;
    std::int64_t end = FPosition + Count;
    if (end > GetSize()) FDataString.resize(static_cast<std::size_t>(end));
    std::memcpy(FDataString.data() + FPosition, Buffer, static_cast<std::size_t>(Count));
    FPosition = end;
    return Count;
}

std::int64_t TStringStream::Seek(std::int64_t Offset, TSeekOrigin Origin) {
    switch (Origin) {
    case soBeginning:
        FPosition = Offset;
        break;
    case soCurrent:
        FPosition += Offset;
        break;
    case soEnd:
        FPosition = GetSize() + Offset;
        break;
    }
    FPosition = std::clamp<std::int64_t>(FPosition, 0, GetSize());
    return FPosition;
}

void TStringStream::SetSize(std::int64_t NewSize) {
    FDataString.resize(static_cast<std::size_t>(std::max<std::int64_t>(NewSize, 0)));
    if (FPosition > GetSize()) FPosition = GetSize();
}

AnsiString TStringStream::ReadString(int Count) {
    std::int64_t available = GetSize() - FPosition;
    std::int64_t n = std::clamp<std::int64_t>(Count, 0, std::max<std::int64_t>(available, 0));
    AnsiString result =
        FDataString.substr(static_cast<std::size_t>(FPosition), static_cast<std::size_t>(n));
    FPosition += n;
    return result;
}

void TStringStream::WriteString(const AnsiString& AString) {
    std::size_t done = 0;
    while (done < AString.size()) {
        auto n = static_cast<int>(
            std::min<std::size_t>(AString.size() - done, std::numeric_limits<int>::max()));
        done += static_cast<std::size_t>(Write(AString.data() + done, n));
    }
}
