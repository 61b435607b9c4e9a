#include "platform/sys/InstanceLock.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

flock WholeFile(short Type) {
    flock Lock{};
    Lock.l_type = Type;
    Lock.l_whence = SEEK_SET;
    Lock.l_start = 0;
    Lock.l_len = 0;
    return Lock;
}

// The holder of Fd's lock as the kernel reports it; a holder in another
// process namespace shows as 0, so the id written in the file stands in.
pid_t HolderOf(int Fd) {
    flock Lock = WholeFile(F_WRLCK);
    if (fcntl(Fd, F_GETLK, &Lock) != 0 || Lock.l_type == F_UNLCK) return 0;
    if (Lock.l_pid > 0) return Lock.l_pid;
    char Text[32] = {};
    const ssize_t Got = pread(Fd, Text, sizeof Text - 1, 0);
    const long Written = Got > 0 ? std::strtol(Text, nullptr, 10) : 0;
    return Written > 0 ? static_cast<pid_t>(Written) : -1;
}

[[noreturn]] void Fail(const AnsiString& LockFile, const char* What) {
    throw EInOutError("Cannot " + AnsiString(What) + " the lock file '" + LockFile +
                      "': " + std::strerror(errno));
}

} // namespace

TInstanceLock::TInstanceLock(const AnsiString& LockFile, const AnsiString& Resource, mode_t Mode)
    : FLockFile(LockFile) {
    FFd = open(LockFile.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, Mode);
    if (FFd >= 0) {
        // The umask must not keep out someone who may write the resource.
        [[maybe_unused]] const int Changed = fchmod(FFd, Mode);
    } else if (errno == EEXIST) {
        FFd = open(LockFile.c_str(), O_RDWR | O_CLOEXEC);
    }
    if (FFd < 0) Fail(LockFile, "open");
    flock Lock = WholeFile(F_WRLCK);
    if (fcntl(FFd, F_SETLK, &Lock) != 0) {
        const int Error = errno;
        if (Error != EACCES && Error != EAGAIN) {
            close(FFd);
            errno = Error;
            Fail(LockFile, "lock");
        }
        const pid_t Holder = HolderOf(FFd);
        close(FFd);
        FFd = -1;
        const AnsiString Who =
            Holder > 0 ? "process " + std::to_string(Holder) : AnsiString("another process");
        throw EInstanceLocked("'" + Resource + "' is in use by " + Who +
                                  " (it holds the lock on '" + LockFile + "')",
                              Holder);
    }
    const std::string Pid = std::to_string(getpid()) + "\n";
    if (ftruncate(FFd, 0) == 0 && pwrite(FFd, Pid.data(), Pid.size(), 0) < 0) {
        // The id in the file is for people; the lock itself is what counts.
    }
}

TInstanceLock::~TInstanceLock() {
    // Closing the file releases the lock.
    if (FFd >= 0) close(FFd);
}
