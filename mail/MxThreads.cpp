#include "mail/MxThreads.h"

#include <chrono>
#include <sys/syscall.h>
#include <thread>
#include <unistd.h>

namespace mail {

void SleepMs(std::uint32_t AMilliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(AMilliseconds));
}

std::uint64_t CurrentThreadId() {
    return static_cast<std::uint64_t>(syscall(SYS_gettid));
}

// The main thread's id equals the process id.
bool InMainThread() {
    return CurrentThreadId() == static_cast<std::uint64_t>(getpid());
}

} // namespace mail
