// A call another thread hands over with Synchronize runs in the GUI's event
// loop, without anyone calling CheckSynchronize by hand.
#include "platform/gui/Forms.h"
#include "platform/sys/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

class SyncThread : public TThread {
public:
    SyncThread() : TThread(true) {}
    ~SyncThread() override {
        // Never leave the thread waiting for a call nobody runs.
        if (!Ran) CheckSynchronize(1000);
        WaitFor();
    }
    std::atomic<bool> Ran{false};
    std::atomic<bool> RanOnMain{false};

protected:
    void Execute() override {
        Synchronize([this] {
            RanOnMain = InMainThread();
            Ran = true;
        });
    }
};

TEST(Synchronize, AThreadsCallRunsWhileTheApplicationProcessesMessages) {
    Application->Initialize();
    SyncThread Thread;
    Thread.Start();
    // The deadline only keeps a broken wake-up from hanging the run.
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!Thread.Ran && std::chrono::steady_clock::now() < Deadline) {
        Application->ProcessMessages();
        std::this_thread::yield();
    }
    EXPECT_TRUE(Thread.Ran);
    EXPECT_TRUE(Thread.RanOnMain);
}

} // namespace
