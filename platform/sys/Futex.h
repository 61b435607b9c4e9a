#pragma once
// Sleeping and waking on a 32-bit word in shared memory. Unlike a
// process-shared condition variable, a futex keeps no waiter bookkeeping in
// the shared segment: a process that dies while it sleeps, or half-way
// through a wake, leaves nothing behind that could wedge the others.
#include <atomic>
#include <cstdint>
#include <ctime>

namespace sys_detail {

using FutexWord = std::atomic<std::uint32_t>;

static_assert(sizeof(FutexWord) == sizeof(std::uint32_t) && FutexWord::is_always_lock_free,
              "a futex word must be a plain lock-free 32-bit integer");

// Sleeps while Word still holds Expected, until a wake or the
// CLOCK_MONOTONIC Deadline (none: no limit). Returns 0 when the caller should
// look again (woken, the word had already moved, or a signal came in),
// ETIMEDOUT, or another error number.
int FutexWait(FutexWord& Word, std::uint32_t Expected, const timespec* Deadline);
// Wakes every sleeper on Word, in any process.
void FutexWakeAll(FutexWord& Word);

} // namespace sys_detail
