#include "platform/sys/Thread.h"

#include <chrono>
#include <deque>
#include <exception>
#include <memory>

namespace {

// Static initialisation runs on the thread that starts the program.
const std::thread::id MainThreadId = std::this_thread::get_id();

struct SyncCall {
    TThreadMethod Method;
    bool Done = false;
    std::exception_ptr Error;
};

struct SyncQueue {
    std::mutex Lock;
    std::condition_variable Queued; // the main thread waits for work
    std::condition_variable Ran;    // handing threads wait for their call
    std::deque<std::shared_ptr<SyncCall>> Calls;
    std::function<void()> Wake;
};

SyncQueue& Queue() {
    static SyncQueue queue;
    return queue;
}

} // namespace

bool InMainThread() {
    return std::this_thread::get_id() == MainThreadId;
}

void SetWakeMainThread(std::function<void()> Wake) {
    std::lock_guard guard(Queue().Lock);
    Queue().Wake = std::move(Wake);
}

void TThread::Synchronize(const TThreadMethod& Method) {
    if (InMainThread()) {
        Method();
        return;
    }
    auto& queue = Queue();
    auto call = std::make_shared<SyncCall>();
    call->Method = Method;
    std::function<void()> wake;
    {
        std::lock_guard guard(queue.Lock);
        queue.Calls.push_back(call);
        wake = queue.Wake;
    }
    queue.Queued.notify_all();
    if (wake) wake();
    std::unique_lock lock(queue.Lock);
    queue.Ran.wait(lock, [&] { return call->Done; });
    if (call->Error) std::rethrow_exception(call->Error);
}

bool CheckSynchronize(int TimeoutMs) {
    if (!InMainThread()) return false;
    auto& queue = Queue();
    std::unique_lock lock(queue.Lock);
    if (queue.Calls.empty() && TimeoutMs > 0)
        queue.Queued.wait_for(lock, std::chrono::milliseconds(TimeoutMs),
                              [&] { return !queue.Calls.empty(); });
    bool ran = false;
    while (!queue.Calls.empty()) {
        auto call = queue.Calls.front();
        queue.Calls.pop_front();
        lock.unlock();
        try {
            call->Method();
        } catch (...) {
            call->Error = std::current_exception();
        }
        lock.lock();
        call->Done = true;
        queue.Ran.notify_all();
        ran = true;
    }
    return ran;
}

TThread::TThread(bool CreateSuspended) {
    if (!CreateSuspended) Start();
}

TThread::~TThread() {
    if (FThread.joinable()) {
        Terminate();
        if (FThread.get_id() == std::this_thread::get_id())
            FThread.detach();
        else
            FThread.join();
    }
}

void TThread::Start() {
    std::lock_guard guard(FStartLock);
    if (FStarted) return;
    FStarted = true;
    FThread = std::thread([this] { Run(); });
    FHandleSet = true;
    FStartCond.notify_all();
}

void TThread::Run() {
    {
        // The handle must be stored before a thread that frees itself lets go of it.
        std::unique_lock lock(FStartLock);
        FStartCond.wait(lock, [this] { return FHandleSet; });
    }
    try {
        Execute();
    } catch (...) {
        // An exception leaving Execute ends the thread, not the program.
    }
    if (FFreeOnTerminate) {
        FThread.detach();
        FFinished = true;
        delete this;
        return;
    }
    FFinished = true;
}

int TThread::WaitFor() {
    if (FThread.joinable() && FThread.get_id() != std::this_thread::get_id()) FThread.join();
    return ReturnValue;
}
