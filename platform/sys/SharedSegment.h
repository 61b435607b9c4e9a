#pragma once
// A named segment of shared memory that holds a kernel object's state: a
// header, filled in last by the process that creates the segment, and the
// object's body. Either side may be first: the segment is opened when it
// exists and created when it does not. A segment is trusted only when it
// belongs to this user, nobody else may use it, it is large enough and its
// header names the expected kind and the current layout; a segment left
// half-made by a process that died, or made by a build with another layout,
// is removed and made anew.
#include "platform/rtl/AnsiString.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <pthread.h>

namespace sys_detail {

// Raised whenever the header or any object body changes shape.
inline constexpr std::uint32_t SegmentLayout = 2;

struct alignas(64) SegmentHeader {
    std::atomic<std::uint32_t> Magic;
    std::uint32_t Kind;
    std::uint32_t Size;
    std::uint32_t Layout;
};

class SharedSegment {
public:
    // Opens or creates the segment of Name; Init fills in a new one's body
    // before anyone else sees it. Raises EOSError when neither works.
    SharedSegment(const AnsiString& Name, std::uint32_t Kind, std::size_t Size,
                  const std::function<void(void*)>& Init);
    ~SharedSegment();
    SharedSegment(const SharedSegment&) = delete;
    SharedSegment& operator=(const SharedSegment&) = delete;

    void* Body() const { return static_cast<char*>(FMap) + sizeof(SegmentHeader); }
    bool Created() const { return FCreated; }

private:
    bool TryCreate(const AnsiString& Path, std::uint32_t Kind,
                   const std::function<void(void*)>& Init);
    bool TryOpen(const AnsiString& Path, std::uint32_t Kind);

    void* FMap = nullptr;
    std::size_t FSize = 0;
    bool FCreated = false;
};

// Locks a robust, process-shared mutex; a mutex whose owner died is made
// consistent and taken (the state it guards is a few flags, always valid).
// With Deadline (CLOCK_MONOTONIC) gives up then. Returns 0, EOWNERDEAD (taken
// after its owner died), ETIMEDOUT or another error number.
int LockRobust(pthread_mutex_t* Mutex, const timespec* Deadline = nullptr);

void InitRobustMutex(pthread_mutex_t* Mutex, bool Recursive);

// The monotonic time TimeoutMs from now.
timespec DeadlineAfter(int TimeoutMs);

} // namespace sys_detail
