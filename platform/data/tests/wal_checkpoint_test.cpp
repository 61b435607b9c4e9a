// The write-ahead log copied back into the database file while the program
// goes on committing.
#include "platform/data/testing/ShopDbTest.h"

#include "platform/data/Database.h"
#include "platform/data/Query.h"
#include "platform/data/WalCheckpointer.h"

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace {

class WalCheckpointTest : public ShopDbTest {
protected:
    void SetUp() override {
        ShopDbTest::SetUp();
        Exec("create table WAL_ROWS (Id integer primary key, Data blob)");
        Db = NewDatabase();
        Db->Open();
        Insert = new TQuery(Owner);
        Insert->SetDatabaseName("Shop");
        // Each row fills a page of its own: every commit writes a few frames.
        Insert->SQL()->SetText("insert into WAL_ROWS (Data) values (zeroblob(3000))");
    }

    // Commits Count rows, one transaction each, as a batch does.
    void CommitRows(int Count) {
        for (int i = 0; i < Count; ++i) {
            Db->StartTransaction();
            Insert->ExecSQL();
            Db->Commit();
        }
    }

    long RowsOnDisk() const {
        sqlite3* Other = nullptr;
        sqlite3_open_v2(DbFile.c_str(), &Other, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* Count = nullptr;
        sqlite3_prepare_v2(Other, "select count(*) from WAL_ROWS", -1, &Count, nullptr);
        const long Rows = sqlite3_step(Count) == SQLITE_ROW ? sqlite3_column_int64(Count, 0) : -1;
        sqlite3_finalize(Count);
        sqlite3_close(Other);
        return Rows;
    }

    std::filesystem::path WalFile() const { return DbFile.string() + "-wal"; }

    TDatabase* Db = nullptr;
    TQuery* Insert = nullptr;
};

TEST_F(WalCheckpointTest, AFullLogIsCopiedBackOffTheCommittingThreadAndNothingIsLost) {
    // Below the trigger nothing is started.
    CommitRows(100);
    EXPECT_EQ(Db->BackgroundCheckpoints(), 0);

    // Well past it, and past the backstop were nothing copied back: at least
    // one checkpoint completes on the thread (waited for here, not timed).
    CommitRows(2900);
    const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (Db->BackgroundCheckpoints() == 0 && std::chrono::steady_clock::now() < Deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_GE(Db->BackgroundCheckpoints(), 1);

    // The log never outgrows the backstop, however the thread keeps up, and
    // every commit is there for another connection.
    constexpr std::uintmax_t Frame = 4096 + 24;
    EXPECT_LT(std::filesystem::file_size(WalFile()),
              (TWalCheckpointer::Backstop + 64) * Frame + 32);
    CommitRows(50);
    EXPECT_EQ(RowsOnDisk(), 3050);

    // Closing waits for the thread, then copies the rest back and removes
    // the log: the file alone holds every row.
    Db->Close();
    EXPECT_FALSE(std::filesystem::exists(WalFile()));
    EXPECT_EQ(RowsOnDisk(), 3050);
    EXPECT_EQ(Db->BackgroundCheckpoints(), 0);
}

} // namespace
