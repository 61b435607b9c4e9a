#pragma once
// Copies a connection's write-ahead log back into the database file on a
// thread of its own. SQLite's own checkpoint runs inside the commit that
// filled the log and makes it wait for two flushes to the disk; a batch that
// commits once per transaction spent a third of its time there. Here the
// commit only wakes the thread, which checkpoints on a connection of its own
// while the next transactions go on.
//
// The log starts over only when a transaction begins with all of it copied
// back, which a thread racing the commits seldom manages; nor is a thread
// that cannot open the file a reason to let the log grow without end. Past
// Backstop frames the commit checkpoints itself, as SQLite would have done at
// Trigger, after the thread's checkpoint under way.
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

struct sqlite3;

class TWalCheckpointer {
public:
    // Frames in the log that start a checkpoint (SQLite's own default).
    static constexpr int Trigger = 1000;
    static constexpr int Backstop = 4 * Trigger;

    // Watches the commits of Connection, open on File; the checkpoints are
    // flushed as the connection's Synchronous setting says (OFF, NORMAL...).
    TWalCheckpointer(sqlite3* Connection, std::string File, std::string Synchronous);
    // Stops watching and waits for a checkpoint under way: before the
    // connection closes, so that its close finds the log to itself.
    ~TWalCheckpointer();
    TWalCheckpointer(const TWalCheckpointer&) = delete;
    TWalCheckpointer& operator=(const TWalCheckpointer&) = delete;

    // Checkpoints the thread has completed so far.
    int Completed() const { return FCompleted.load(); }

private:
    static int CommitHook(void* Self, sqlite3* Connection, const char* Schema, int Frames);
    // Wakes the thread, starting it the first time; false when it cannot run.
    bool Request();
    // The commit's own checkpoint, once the thread's is over.
    void CheckpointHere(sqlite3* Connection, const char* Schema);
    void Run();

    sqlite3* FConnection;
    std::string FFile;
    std::string FSynchronous;
    std::mutex FLock;
    std::condition_variable FWake;
    std::condition_variable FIdle;
    bool FWanted = false;
    bool FStopping = false;
    bool FRunning = false; // the thread is inside a checkpoint
    bool FHeld = false;    // the commit checkpoints itself: the thread waits
    std::atomic<bool> FUnavailable{false};
    std::atomic<int> FCompleted{0};
    std::thread FThread;
};
