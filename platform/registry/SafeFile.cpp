#include "platform/registry/SafeFile.h"

#include "platform/rtl/Exceptions.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

[[noreturn]] void Fail(const AnsiString& what, const AnsiString& path, int error) {
    throw EInOutError(what + " " + path + ": " + std::strerror(error));
}

// Closes a descriptor on every way out of a scope.
class TDescriptor {
public:
    explicit TDescriptor(int handle) : Handle(handle) {}
    ~TDescriptor() {
        if (Handle >= 0) close(Handle);
    }
    TDescriptor(const TDescriptor&) = delete;
    TDescriptor& operator=(const TDescriptor&) = delete;
    int Handle;
};

AnsiString FolderOf(const AnsiString& path) {
    const auto slash = path.rfind('/');
    if (slash == AnsiString::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

AnsiString CompanionName(const AnsiString& path, const AnsiString& suffix) {
    const auto slash = path.rfind('/');
    const AnsiString folder = slash == AnsiString::npos ? AnsiString() : path.substr(0, slash + 1);
    const AnsiString name = slash == AnsiString::npos ? path : path.substr(slash + 1);
    return folder + "." + name + suffix;
}

void WriteAll(int handle, const AnsiString& data, const AnsiString& path) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t written = write(handle, data.data() + done, data.size() - done);
        if (written < 0) {
            if (errno == EINTR) continue;
            Fail("Cannot write", path, errno);
        }
        done += static_cast<std::size_t>(written);
    }
}

} // namespace

TFileSnapshot ReadWholeFile(const AnsiString& Path, std::size_t MaxSize) {
    TFileSnapshot snapshot;
    TDescriptor file(open(Path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Handle < 0) {
        if (errno == ENOENT) return snapshot;
        Fail("Cannot read", Path, errno);
    }
    struct stat info {};
    if (fstat(file.Handle, &info) != 0) Fail("Cannot read", Path, errno);
    if (!S_ISREG(info.st_mode)) throw EInOutError("Cannot read " + Path + ": not a regular file");
    snapshot.Exists = true;
    if (static_cast<unsigned long long>(info.st_size) > MaxSize)
        throw EInOutError("Cannot read " + Path + ": the file is larger than " +
                          std::to_string(MaxSize) + " bytes");
    // The size is a hint only: the file may change under a reader that holds no lock.
    snapshot.Data.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = read(file.Handle, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            Fail("Cannot read", Path, errno);
        }
        if (got == 0) break;
        if (snapshot.Data.size() + static_cast<std::size_t>(got) > MaxSize)
            throw EInOutError("Cannot read " + Path + ": the file is larger than " +
                              std::to_string(MaxSize) + " bytes");
        snapshot.Data.append(buffer, static_cast<std::size_t>(got));
    }
    return snapshot;
}

AnsiString WriteTarget(const AnsiString& Path) {
    struct stat info {};
    if (lstat(Path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return Path;
    char resolved[PATH_MAX];
    if (!realpath(Path.c_str(), resolved)) Fail("Cannot follow the link", Path, errno);
    return resolved;
}

TFileLock::TFileLock(const AnsiString& Path) {
    const AnsiString lockName = CompanionName(Path, ".lock");
    FHandle = open(lockName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (FHandle < 0) Fail("Cannot lock", Path, errno);
    while (flock(FHandle, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        const int error = errno;
        close(FHandle);
        Fail("Cannot lock", Path, error);
    }
}

TFileLock::~TFileLock() {
    // Closing the descriptor releases the lock.
    close(FHandle);
}

void ReplaceFile(const AnsiString& Path, const AnsiString& Data, mode_t NewFileMode) {
    static std::atomic<unsigned> serial{0};
    struct stat existing {};
    const bool exists = stat(Path.c_str(), &existing) == 0;

    const AnsiString temporary =
        CompanionName(Path, ".tmp." + std::to_string(getpid()) + "." + std::to_string(serial++));
    TDescriptor file(open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          exists ? 0600 : NewFileMode));
    if (file.Handle < 0) Fail("Cannot write", Path, errno);
    try {
        WriteAll(file.Handle, Data, Path);
        if (exists && fchmod(file.Handle, existing.st_mode & 07777) != 0)
            Fail("Cannot write", Path, errno);
        if (fsync(file.Handle) != 0) Fail("Cannot write", Path, errno);
        if (rename(temporary.c_str(), Path.c_str()) != 0) Fail("Cannot write", Path, errno);
    } catch (...) {
        unlink(temporary.c_str());
        throw;
    }
    // Make the rename itself durable; a failure here loses nothing already written.
    TDescriptor folder(open(FolderOf(Path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Handle >= 0) fsync(folder.Handle);
}
