#include "platform/sys/CriticalSection.h"
#include "platform/sys/Thread.h"

#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <stdexcept>

namespace {

class LambdaThread : public TThread {
public:
    explicit LambdaThread(std::function<void(LambdaThread&)> Body,
                          std::atomic<bool>* Freed = nullptr)
        : TThread(true), FBody(std::move(Body)), FFreed(Freed) {}
    ~LambdaThread() override {
        if (!FreeOnTerminate()) {
            Terminate();
            WaitFor();
        }
        if (FFreed) *FFreed = true;
    }
    using TThread::Terminated;

protected:
    void Execute() override { FBody(*this); }

private:
    std::function<void(LambdaThread&)> FBody;
    std::atomic<bool>* FFreed;
};

// Pumps the main thread's queue until Done holds.
void PumpUntil(const std::function<bool()>& Done) {
    for (int i = 0; i < 2000 && !Done(); ++i)
        CheckSynchronize(5);
}

} // namespace

TEST(ThreadTest, SynchronizeRunsOnTheMainThreadAndCarriesExceptionsBack) {
    std::atomic<bool> ranOnMain{false};
    std::atomic<bool> caught{false};
    std::atomic<bool> done{false};
    LambdaThread thread([&](LambdaThread&) {
        TThread::Synchronize([&] { ranOnMain = InMainThread(); });
        try {
            TThread::Synchronize([] { throw EAbort("stop"); });
        } catch (const EAbort&) {
            caught = true;
        }
        done = true;
    });
    thread.Start();
    PumpUntil([&] { return done.load(); });
    thread.WaitFor();
    EXPECT_TRUE(ranOnMain);
    EXPECT_TRUE(caught);
    EXPECT_FALSE(CheckSynchronize(0)) << "nothing is left queued";
}

TEST(ThreadTest, WakeHookHearsOfEachQueuedCall) {
    std::atomic<int> wakes{0};
    SetWakeMainThread([&] { ++wakes; });
    LambdaThread thread([](LambdaThread&) { TThread::Synchronize([] {}); });
    thread.Start();
    PumpUntil([&] { return thread.Finished(); });
    thread.WaitFor();
    SetWakeMainThread(nullptr);
    EXPECT_EQ(wakes, 1);
}

TEST(ThreadTest, TerminateEndsTheLoopAndFreeOnTerminateFrees) {
    std::atomic<bool> freed{false};
    std::atomic<bool> looping{false};
    auto* thread = new LambdaThread(
        [&](LambdaThread& self) {
            while (!self.Terminated())
                looping = true;
        },
        &freed);
    thread->SetFreeOnTerminate(true);
    thread->Start();
    while (!looping)
        std::this_thread::yield();
    thread->Terminate();
    while (!freed)
        std::this_thread::yield();
    SUCCEED();

    // Without FreeOnTerminate the destructor asks the thread to end and waits.
    auto owned = std::make_unique<LambdaThread>([](LambdaThread& self) {
        while (!self.Terminated())
            std::this_thread::yield();
    });
    owned->Start();
    owned.reset();
}

TEST(ThreadTest, CriticalSectionIsRecursive) {
    TCriticalSection section;
    section.Enter();
    EXPECT_TRUE(section.TryEnter());
    section.Leave();
    section.Leave();
}
