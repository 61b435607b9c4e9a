#include "KernelTestNamespace.h"

#include "platform/rtl/Exceptions.h"
#include "platform/sys/FileMapping.h"
#include "platform/sys/NamedEvent.h"
#include "platform/sys/NamedMutex.h"
#include "platform/sys/SharedSegment.h"

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sched.h>
#include <string>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs Child in a forked process and returns its exit status.
template <class Fn> pid_t Spawn(Fn&& Child) {
    const pid_t pid = fork();
    if (pid == 0) {
        int code = 0;
        try {
            code = Child();
        } catch (...) {
            code = 99;
        }
        _exit(code);
    }
    return pid;
}

int Reap(pid_t Pid) {
    int status = 0;
    waitpid(Pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

using NamedObjectsTest = KernelTest;

TEST_F(NamedObjectsTest, AutoResetLetsOneWaiterThroughManualResetStays) {
    struct Case {
        bool Manual;
        TWaitResult Second;
    };
    for (const Case c :
         {Case{false, TWaitResult::wrTimeout}, Case{true, TWaitResult::wrSignaled}}) {
        SCOPED_TRACE(c.Manual ? "manual" : "auto");
        TNamedEvent event(c.Manual ? "Manual" : "Auto", c.Manual, false);
        EXPECT_EQ(event.WaitFor(0), TWaitResult::wrTimeout);
        event.SetEvent();
        EXPECT_EQ(event.WaitFor(0), TWaitResult::wrSignaled);
        EXPECT_EQ(event.WaitFor(0), c.Second);
        event.ResetEvent();
        EXPECT_EQ(event.WaitFor(0), TWaitResult::wrTimeout);
    }
}

TEST_F(NamedObjectsTest, OpeningKeepsTheKindAndStateOfTheExistingEvent) {
    TNamedEvent first("Shared", true, true);
    TNamedEvent second("Shared", false, false);
    EXPECT_TRUE(second.ManualReset());
    EXPECT_EQ(second.WaitFor(0), TWaitResult::wrSignaled);
    EXPECT_EQ(first.WaitFor(0), TWaitResult::wrSignaled);
}

TEST_F(NamedObjectsTest, WaitOnTwoWakesForTheOneAnotherProcessSignals) {
    TNamedEvent a("A", false, false);
    TNamedEvent b("B", false, false);
    TNamedEvent ready("Ready", false, false);
    const pid_t pid = Spawn([] {
        TNamedEvent other("B", false, false);
        TNamedEvent go("Ready", false, false);
        if (go.WaitFor(5000) != TWaitResult::wrSignaled) return 1;
        other.SetEvent();
        return 0;
    });
    ready.SetEvent();
    EXPECT_EQ(WaitForEvents(&a, &b, 5000), 1);
    EXPECT_EQ(Reap(pid), 0);
    // The signal was taken: nothing is left for a second wait.
    EXPECT_EQ(WaitForEvents(&a, &b, 20), WaitTimedOut);
    EXPECT_EQ(WaitForEvents(nullptr, nullptr, 1000), WaitFailed);
    a.SetEvent();
    EXPECT_EQ(WaitForEvents(nullptr, &a, 0), 1);
}

TEST_F(NamedObjectsTest, MutexOfADeadOwnerIsRecoveredAndAHeldOneTimesOut) {
    TNamedMutex mutex("Controller");
    TNamedEvent held("Held", false, false);
    TNamedEvent leave("Leave", false, false);
    const pid_t pid = Spawn([] {
        TNamedMutex m("Controller");
        TNamedEvent h("Held", false, false);
        TNamedEvent l("Leave", false, false);
        if (m.WaitFor(5000) != TWaitResult::wrSignaled) return 1;
        h.SetEvent();
        l.WaitFor(5000);
        _exit(0); // dies holding the mutex, its mapping still in place
        return 0;
    });
    ASSERT_EQ(held.WaitFor(5000), TWaitResult::wrSignaled);
    EXPECT_EQ(mutex.WaitFor(30), TWaitResult::wrTimeout);
    leave.SetEvent();
    EXPECT_EQ(Reap(pid), 0);
    EXPECT_EQ(mutex.WaitFor(5000), TWaitResult::wrAbandoned);
    mutex.Release();
    EXPECT_EQ(mutex.WaitFor(0), TWaitResult::wrSignaled);
    EXPECT_EQ(mutex.WaitFor(0), TWaitResult::wrSignaled) << "the owner may take it again";
    mutex.Release();
    mutex.Release();
}

TEST_F(NamedObjectsTest, StaleOrForeignSegmentsAreNotTrusted) {
    // A segment of the right name holding junk (a creator that died half-way,
    // or an older layout) is replaced by a working event.
    {
        const int fd = shm_open(KernelObjectName("Junk").c_str(), O_RDWR | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(ftruncate(fd, 16), 0);
        ASSERT_EQ(write(fd, "garbagegarbage!!", 16), 16);
        close(fd);
        TNamedEvent event("Junk", false, false);
        event.SetEvent();
        EXPECT_EQ(event.WaitFor(0), TWaitResult::wrSignaled);
    }
    // One a build with another layout made is not read as ours.
    {
        TNamedEvent older("Older", false, true);
        const int fd = shm_open(KernelObjectName("Older").c_str(), O_RDWR, 0);
        ASSERT_GE(fd, 0);
        void* map = mmap(nullptr, sizeof(sys_detail::SegmentHeader), PROT_READ | PROT_WRITE,
                         MAP_SHARED, fd, 0);
        close(fd);
        ASSERT_NE(map, MAP_FAILED);
        static_cast<sys_detail::SegmentHeader*>(map)->Layout = sys_detail::SegmentLayout - 1;
        munmap(map, sizeof(sys_detail::SegmentHeader));
        TNamedEvent current("Older", false, false);
        EXPECT_EQ(current.WaitFor(0), TWaitResult::wrTimeout);
    }
    // One that others may write to is refused, not used and not removed.
    const AnsiString name = KernelObjectName("Open");
    const int fd = shm_open(name.c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    fchmod(fd, 0666);
    close(fd);
    EXPECT_THROW(TNamedEvent("Open", false, false), EOSError);
    EXPECT_THROW(TFileMapping::OpenOrCreate("Open", 64), EOSError);
    struct stat st {};
    EXPECT_EQ(stat(KernelObjectPath("Open").c_str(), &st), 0);
}

TEST_F(NamedObjectsTest, MappingsArePrivateGrowAndShowTheirRealSize) {
    auto mapping = TFileMapping::OpenOrCreate("Buffer", 100);
    ASSERT_EQ(mapping->Size(), 100u);
    std::memcpy(mapping->Data(), "hello", 5);
    struct stat st {};
    ASSERT_EQ(stat(KernelObjectPath("Buffer").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    auto other = TFileMapping::OpenOrCreate("Buffer", 10);
    EXPECT_EQ(other->Size(), 100u) << "an existing larger mapping keeps its size";
    other->Grow(70000);
    EXPECT_EQ(other->Size(), 70000u);
    EXPECT_EQ(std::memcmp(other->Data(), "hello", 5), 0);
    EXPECT_EQ(other->Data()[69999], 0);
    EXPECT_EQ(TFileMapping::Open("Buffer")->Size(), 70000u);
    EXPECT_EQ(TFileMapping::Open("Missing"), nullptr);
}

TEST_F(NamedObjectsTest, NamesAreEscapedPerUserAndBounded) {
    const AnsiString name = KernelObjectName("RDC/../x y");
    EXPECT_EQ(name.find('/', 1), AnsiString::npos);
    EXPECT_NE(name.find("-" + std::to_string(geteuid()) + "-"), AnsiString::npos);
    EXPECT_NE(KernelObjectName("a-b"), KernelObjectName("a") + "-b");
    EXPECT_THROW(KernelObjectName(AnsiString(300, 'x')), EOSError);
}

namespace {

// Fails the test program (instead of letting it hang for ever) when the
// guarded section does not finish in time, killing the children it watches
// so that none is left behind holding the test's output open.
class HangGuard {
public:
    explicit HangGuard(unsigned Seconds) {
        struct sigaction action {};
        action.sa_handler = [](int) {
            for (const auto& child : Children)
                if (const pid_t pid = child.load(); pid > 0) kill(pid, SIGKILL);
            static const char text[] = "named objects wedged: the guarded section hung\n";
            (void)!write(STDERR_FILENO, text, sizeof text - 1);
            _exit(3);
        };
        sigaction(SIGALRM, &action, &FPrevious);
        alarm(Seconds);
    }
    // A child still running (the test stopped early) is killed and reaped.
    ~HangGuard() {
        alarm(0);
        sigaction(SIGALRM, &FPrevious, nullptr);
        for (auto& child : Children) {
            const pid_t pid = child.exchange(0);
            if (pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0) {
                kill(pid, SIGKILL);
                waitpid(pid, nullptr, 0);
            }
        }
    }
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;

    pid_t Watch(pid_t Pid) {
        for (auto& child : Children) {
            pid_t empty = 0;
            if (child.compare_exchange_strong(empty, Pid)) break;
        }
        return Pid;
    }

private:
    static inline std::atomic<pid_t> Children[4];
    struct sigaction FPrevious {};
};

// True once the (single-threaded) process Pid sleeps in a futex call, that
// is, inside the wait itself rather than on its way there.
bool BlocksInFutex(pid_t Pid) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    const std::string path = "/proc/" + std::to_string(Pid) + "/syscall";
    while (std::chrono::steady_clock::now() < giveUp) {
        std::ifstream in(path);
        long number = -1;
        if (in >> number && number == SYS_futex) return true;
        sched_yield();
    }
    return false;
}

} // namespace

TEST_F(NamedObjectsTest, AWaiterKilledMidWaitLeavesTheEventsUsable) {
    HangGuard guard(30);
    TNamedEvent solo("Solo", false, false);
    TNamedEvent a("PairA", false, false);
    TNamedEvent b("PairB", true, false);
    // One child waits on one event, the other on two; both die in the wait.
    const pid_t waiters[] = {
        guard.Watch(Spawn([] {
            TNamedEvent event("Solo", false, false);
            event.WaitFor(INFINITE);
            return 1;
        })),
        guard.Watch(Spawn([] {
            TNamedEvent first("PairA", false, false);
            TNamedEvent second("PairB", true, false);
            WaitForEvents(&first, &second, INFINITE);
            return 1;
        })),
    };
    for (const pid_t pid : waiters) {
        ASSERT_TRUE(BlocksInFutex(pid));
        kill(pid, SIGKILL);
        Reap(pid);
    }

    for (TNamedEvent* event : {&solo, &a, &b}) {
        SCOPED_TRACE(event->Name());
        event->SetEvent();
        EXPECT_EQ(event->WaitFor(1000), TWaitResult::wrSignaled);
        event->ResetEvent();
        EXPECT_EQ(event->WaitFor(20), TWaitResult::wrTimeout);
    }
    EXPECT_EQ(WaitForEvents(&a, &b, 20), WaitTimedOut);
    b.SetEvent();
    EXPECT_EQ(WaitForEvents(&a, &b, 1000), 1);

    // A new waiter in another process is still woken by this one's signal.
    TNamedEvent ready("Ready", false, false);
    const pid_t pid = guard.Watch(Spawn([] {
        TNamedEvent first("PairA", false, false);
        TNamedEvent second("Solo", false, false);
        TNamedEvent go("Ready", false, false);
        go.SetEvent();
        return WaitForEvents(&first, &second, 10000) == 1 ? 0 : 1;
    }));
    ASSERT_EQ(ready.WaitFor(10000), TWaitResult::wrSignaled);
    ASSERT_TRUE(BlocksInFutex(pid));
    solo.SetEvent();
    EXPECT_EQ(Reap(pid), 0);
}
