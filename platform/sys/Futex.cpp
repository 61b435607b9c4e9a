#include "platform/sys/Futex.h"

#include <cerrno>
#include <climits>
#include <linux/futex.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace sys_detail {

namespace {

// The word lives in memory other processes map too: no FUTEX_PRIVATE_FLAG.
long Futex(FutexWord& Word, int Op, std::uint32_t Value, const timespec* Timeout,
           std::uint32_t Bits) {
    return syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(&Word), Op, Value, Timeout, nullptr,
                   Bits);
}

} // namespace

int FutexWait(FutexWord& Word, std::uint32_t Expected, const timespec* Deadline) {
    // FUTEX_WAIT_BITSET takes an absolute CLOCK_MONOTONIC time, so a wait
    // resumed after a spurious wake keeps its original deadline.
    if (Futex(Word, FUTEX_WAIT_BITSET, Expected, Deadline, FUTEX_BITSET_MATCH_ANY) == 0) return 0;
    const int error = errno;
    return error == EAGAIN || error == EINTR ? 0 : error;
}

void FutexWakeAll(FutexWord& Word) {
    Futex(Word, FUTEX_WAKE, INT_MAX, nullptr, 0);
}

} // namespace sys_detail
