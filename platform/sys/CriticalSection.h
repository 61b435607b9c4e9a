#pragma once
// A lock for the threads of one process. Recursive, as the system's critical
// sections are: the thread that holds it may enter again.
#include <mutex>

class TCriticalSection {
public:
    TCriticalSection() = default;
    TCriticalSection(const TCriticalSection&) = delete;
    TCriticalSection& operator=(const TCriticalSection&) = delete;

    void Acquire() { FLock.lock(); }
    void Release() { FLock.unlock(); }
    void Enter() { Acquire(); }
    void Leave() { Release(); }
    bool TryEnter() { return FLock.try_lock(); }

    // For std::lock_guard and friends.
    void lock() { Acquire(); }
    void unlock() { Release(); }

private:
    std::recursive_mutex FLock;
};
