#include "platform/data/WalCheckpointer.h"

#include <cstring>
#include <exception>
#include <sqlite3.h>

TWalCheckpointer::TWalCheckpointer(sqlite3* Connection, std::string File, std::string Synchronous)
    : FConnection(Connection), FFile(std::move(File)), FSynchronous(std::move(Synchronous)) {
    // Replaces SQLite's automatic checkpoint: the hook decides instead.
    sqlite3_wal_hook(FConnection, &TWalCheckpointer::CommitHook, this);
}

TWalCheckpointer::~TWalCheckpointer() {
    sqlite3_wal_hook(FConnection, nullptr, nullptr);
    {
        std::lock_guard<std::mutex> guard(FLock);
        FStopping = true;
    }
    FWake.notify_one();
    if (FThread.joinable()) FThread.join();
}

int TWalCheckpointer::CommitHook(void* Self, sqlite3* Connection, const char* Schema, int Frames) {
    auto& self = *static_cast<TWalCheckpointer*>(Self);
    if (Frames < Trigger) return SQLITE_OK;
    // The thread's connection sees only the main file; an attached one is
    // checkpointed here, as SQLite would.
    const bool main = std::strcmp(Schema, "main") == 0;
    if (main && !self.FUnavailable.load() && Frames < Backstop && self.Request()) return SQLITE_OK;
    self.CheckpointHere(Connection, Schema);
    return SQLITE_OK;
}

void TWalCheckpointer::CheckpointHere(sqlite3* Connection, const char* Schema) {
    // The thread's checkpoint under way holds the checkpoint lock: this one
    // would only be refused. It waits for that one, and keeps the thread from
    // starting another meanwhile; with no commit in between, it copies the
    // whole log, which the next transaction then starts over.
    std::unique_lock<std::mutex> lock(FLock);
    FHeld = true;
    FIdle.wait(lock, [this] { return !FRunning; });
    lock.unlock();
    // A busy (another process checkpoints) or failed checkpoint leaves the
    // log for the next try; the commit itself has succeeded.
    sqlite3_wal_checkpoint_v2(Connection, Schema, SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
    lock.lock();
    FHeld = false;
    lock.unlock();
    FWake.notify_one();
}

bool TWalCheckpointer::Request() {
    {
        std::lock_guard<std::mutex> guard(FLock);
        FWanted = true;
        if (!FThread.joinable()) {
            // Called from inside SQLite: nothing may be thrown through it.
            try {
                FThread = std::thread([this] { Run(); });
            } catch (const std::exception&) {
                FUnavailable.store(true);
                return false;
            }
        }
    }
    FWake.notify_one();
    return true;
}

void TWalCheckpointer::Run() {
    // The thread's own connection: a connection belongs to one thread.
    sqlite3* db = nullptr;
    const std::string setup =
        "PRAGMA synchronous = " + FSynchronous + "; SELECT count(*) FROM sqlite_schema;";
    const bool opened = sqlite3_open_v2(FFile.c_str(), &db,
                                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                                        nullptr) == SQLITE_OK;
    // Reading the schema waits, as the program's connections do, for a
    // lock another process holds a moment; a passive checkpoint never does.
    if (opened) sqlite3_busy_timeout(db, 5000);
    if (!opened || sqlite3_exec(db, setup.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        sqlite3_close_v2(db);
        // The commits checkpoint for themselves from now on.
        FUnavailable.store(true);
        return;
    }
    std::unique_lock<std::mutex> lock(FLock);
    for (;;) {
        FWake.wait(lock, [this] { return (FWanted && !FHeld) || FStopping; });
        if (FStopping) break;
        FWanted = false;
        FRunning = true;
        lock.unlock();
        // Passive: never waits for the writer or for readers; what it cannot
        // copy yet is copied by the next one.
        const int rc =
            sqlite3_wal_checkpoint_v2(db, "main", SQLITE_CHECKPOINT_PASSIVE, nullptr, nullptr);
        lock.lock();
        FRunning = false;
        if (rc == SQLITE_OK) ++FCompleted;
        FIdle.notify_all();
    }
    lock.unlock();
    sqlite3_close_v2(db);
}
