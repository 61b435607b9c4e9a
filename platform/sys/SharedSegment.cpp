#include "platform/sys/SharedSegment.h"

#include "platform/rtl/Exceptions.h"
#include "platform/sys/KernelNames.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace sys_detail {

namespace {

constexpr std::uint32_t SegmentMagic = 0x42434d4b; // "KMCB"
// How long an opener gives a creator in another process to finish.
constexpr auto InitGrace = std::chrono::milliseconds(250);

[[noreturn]] void RaiseOS(const AnsiString& What, const AnsiString& Name, int Error) {
    throw EOSError(What + " '" + Name + "': " + std::strerror(Error));
}

} // namespace

SharedSegment::SharedSegment(const AnsiString& Name, std::uint32_t Kind, std::size_t Size,
                             const std::function<void(void*)>& Init)
    : FSize(sizeof(SegmentHeader) + Size) {
    const AnsiString path = KernelObjectName(Name);
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (TryCreate(path, Kind, Init) || TryOpen(path, Kind)) return;
    }
    throw EOSError("Kernel object '" + Name + "' cannot be opened or created");
}

SharedSegment::~SharedSegment() {
    if (FMap) munmap(FMap, FSize);
}

bool SharedSegment::TryCreate(const AnsiString& Path, std::uint32_t Kind,
                              const std::function<void(void*)>& Init) {
    const int fd = shm_open(Path.c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
        if (errno == EEXIST) return false;
        RaiseOS("Cannot create kernel object", Path, errno);
    }
    // The mode asked for passes through the umask; make sure it is 0600.
    fchmod(fd, 0600);
    if (ftruncate(fd, static_cast<off_t>(FSize)) != 0) {
        const int error = errno;
        close(fd);
        shm_unlink(Path.c_str());
        RaiseOS("Cannot size kernel object", Path, error);
    }
    void* map = mmap(nullptr, FSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    const int error = errno;
    close(fd);
    if (map == MAP_FAILED) {
        shm_unlink(Path.c_str());
        RaiseOS("Cannot map kernel object", Path, error);
    }
    FMap = map;
    auto* header = static_cast<SegmentHeader*>(FMap);
    header->Kind = Kind;
    header->Size = static_cast<std::uint32_t>(FSize);
    header->Layout = SegmentLayout;
    Init(Body());
    header->Magic.store(SegmentMagic, std::memory_order_release);
    FCreated = true;
    return true;
}

bool SharedSegment::TryOpen(const AnsiString& Path, std::uint32_t Kind) {
    const int fd = shm_open(Path.c_str(), O_RDWR, 0);
    if (fd < 0) {
        if (errno == ENOENT) return false; // gone again between the two calls: try creating it
        RaiseOS("Cannot open kernel object", Path, errno);
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || st.st_uid != geteuid() || (st.st_mode & 077) != 0) {
        // Someone else's object, or one others may write: never ours to use.
        close(fd);
        throw EOSError("Kernel object '" + Path + "' is not private to this user");
    }
    const auto giveUp = std::chrono::steady_clock::now() + InitGrace;
    // A creator in another process may still be sizing it.
    while (static_cast<std::size_t>(st.st_size) < FSize &&
           std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::yield();
        fstat(fd, &st);
    }
    bool stale = static_cast<std::size_t>(st.st_size) < FSize;
    if (!stale) {
        void* map = mmap(nullptr, FSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (map == MAP_FAILED) {
            const int error = errno;
            close(fd);
            RaiseOS("Cannot map kernel object", Path, error);
        }
        auto* header = static_cast<SegmentHeader*>(map);
        while (header->Magic.load(std::memory_order_acquire) != SegmentMagic &&
               std::chrono::steady_clock::now() < giveUp)
            std::this_thread::yield();
        if (header->Magic.load(std::memory_order_acquire) == SegmentMagic && header->Kind == Kind &&
            header->Size == FSize && header->Layout == SegmentLayout) {
            close(fd);
            FMap = map;
            return true;
        }
        munmap(map, FSize);
        stale = true;
    }
    close(fd);
    // Left half-made, or of another kind or layout: remove it and start over.
    shm_unlink(Path.c_str());
    return false;
}

int LockRobust(pthread_mutex_t* Mutex, const timespec* Deadline) {
    const int rc = Deadline ? pthread_mutex_clocklock(Mutex, CLOCK_MONOTONIC, Deadline)
                            : pthread_mutex_lock(Mutex);
    if (rc == EOWNERDEAD) pthread_mutex_consistent(Mutex);
    return rc;
}

void InitRobustMutex(pthread_mutex_t* Mutex, bool Recursive) {
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    pthread_mutexattr_setpshared(&attr, PTHREAD_PROCESS_SHARED);
    pthread_mutexattr_setrobust(&attr, PTHREAD_MUTEX_ROBUST);
    if (Recursive) pthread_mutexattr_settype(&attr, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(Mutex, &attr);
    pthread_mutexattr_destroy(&attr);
}

timespec DeadlineAfter(int TimeoutMs) {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const long long ns = now.tv_nsec + static_cast<long long>(TimeoutMs % 1000) * 1000000LL;
    now.tv_sec += TimeoutMs / 1000 + ns / 1000000000LL;
    now.tv_nsec = static_cast<long>(ns % 1000000000LL);
    return now;
}

} // namespace sys_detail
