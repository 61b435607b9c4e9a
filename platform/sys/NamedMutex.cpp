#include "platform/sys/NamedMutex.h"

#include "platform/sys/SharedSegment.h"

#include <cerrno>
#include <pthread.h>

using namespace sys_detail;

namespace {

constexpr std::uint32_t MutexKind = 3;

pthread_mutex_t* Lock(const SharedSegment& Segment) {
    return static_cast<pthread_mutex_t*>(Segment.Body());
}

} // namespace

TNamedMutex::TNamedMutex(const AnsiString& Name)
    : FName(Name), FSegment(std::make_unique<SharedSegment>(
                       Name, MutexKind, sizeof(pthread_mutex_t), [](void* Raw) {
                           InitRobustMutex(static_cast<pthread_mutex_t*>(Raw), true);
                       })) {}

TNamedMutex::~TNamedMutex() {
    // Unmapping a mutex still held would leave it locked for good: the
    // system can only recover a dead owner's mutex while it is mapped.
    while (FHeld > 0 && pthread_mutex_unlock(Lock(*FSegment)) == 0)
        --FHeld;
}

TWaitResult TNamedMutex::WaitFor(int TimeoutMs) {
    const timespec deadline = DeadlineAfter(TimeoutMs < 0 ? 0 : TimeoutMs);
    switch (LockRobust(Lock(*FSegment), TimeoutMs < 0 ? nullptr : &deadline)) {
    case 0:
        ++FHeld;
        return TWaitResult::wrSignaled;
    case EOWNERDEAD:
        ++FHeld;
        return TWaitResult::wrAbandoned;
    case ETIMEDOUT:
        return TWaitResult::wrTimeout;
    default:
        return TWaitResult::wrError;
    }
}

void TNamedMutex::Release() {
    pthread_mutex_unlock(Lock(*FSegment));
}
