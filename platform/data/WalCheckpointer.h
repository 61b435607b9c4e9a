#pragma once
// Copies a connection's write-ahead log back into the database file on a
// thread of its own. SQLite's own checkpoint runs inside the commit that
// filled the log and makes it wait for two flushes to the disk; a batch that
// commits once per transaction spent a third of its time there. Here the
// commit only wakes the thread, which checkpoints on a connection of its own
// while the next transactions go on.
//
// A checkpoint that cannot keep up (another process reading an old
// snapshot, a thread that could not open the file) is no reason to let the
// log grow without end: past Backstop frames the commit checkpoints itself,
// as SQLite would have done at Trigger.
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
    void Run();

    sqlite3* FConnection;
    std::string FFile;
    std::string FSynchronous;
    std::mutex FLock;
    std::condition_variable FWake;
    bool FWanted = false;
    bool FStopping = false;
    std::atomic<bool> FUnavailable{false};
    std::atomic<int> FCompleted{0};
    std::thread FThread;
};
