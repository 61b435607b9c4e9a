#pragma once
// TThread: a thread of its own running Execute. Terminate only asks; Execute
// looks at Terminated and leaves. A thread with FreeOnTerminate frees itself
// when Execute ends; any other is waited for with WaitFor (the destructor
// does that too). A descendant whose Execute uses members of its own ends the
// thread in its own destructor (Terminate, WaitFor): by the time this base's
// destructor runs, those members are gone.
//
// Synchronize hands a call to the main (GUI) thread and waits until it has
// run there. The main thread runs waiting calls in CheckSynchronize: the GUI
// layer calls it from its event loop after WakeMainThread told it there is
// work; code that waits on the main thread for a thread (and tests) call it
// by hand.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

using TThreadMethod = std::function<void()>;

class TThread {
public:
    // A suspended thread waits for Start (or Resume).
    explicit TThread(bool CreateSuspended);
    TThread(const TThread&) = delete;
    TThread& operator=(const TThread&) = delete;
    // Asks the thread to end and waits for it (a started thread that does
    // not free itself).
    virtual ~TThread();

    void Start();
    void Resume() { Start(); }
    void Terminate() { FTerminated = true; }
    bool Terminated() const { return FTerminated; }
    // Waits until Execute has ended; gives ReturnValue. Not for a thread
    // that frees itself.
    int WaitFor();
    bool Finished() const { return FFinished; }

    bool FreeOnTerminate() const { return FFreeOnTerminate; }
    void SetFreeOnTerminate(bool Value) { FFreeOnTerminate = Value; }

    // Runs Method on the main thread and waits for it; an exception it raises
    // is raised again here. Called on the main thread, it runs Method at once.
    static void Synchronize(const TThreadMethod& Method);

protected:
    virtual void Execute() = 0;
    int ReturnValue = 0;

private:
    void Run();

    std::thread FThread;
    std::mutex FStartLock;
    std::condition_variable FStartCond;
    bool FStarted = false;
    bool FHandleSet = false;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    std::atomic<bool> FFreeOnTerminate{false};
};

// The thread the program started on (the GUI thread).
bool InMainThread();

// Runs the calls other threads have handed over with Synchronize, waiting up
// to TimeoutMs for the first one when none is waiting. Main thread only; true
// when it ran any.
bool CheckSynchronize(int TimeoutMs = 0);

// Called (on the handing thread) whenever a call is queued, so that an event
// loop can wake up and run CheckSynchronize. Empty by default.
void SetWakeMainThread(std::function<void()> Wake);
