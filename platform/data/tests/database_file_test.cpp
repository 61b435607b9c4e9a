// What is refused before anything is written: an alias file that is not an
// ini file, and a database file that is not an SQLite database or lacks the
// tables its user needs.
#include "platform/data/testing/ShopDbTest.h"

#include "platform/data/AliasConfig.h"
#include "platform/data/DBExceptions.h"
#include "platform/data/Database.h"
#include "platform/data/DatabaseFile.h"

#include <gmock/gmock.h>
#include <sqlite3.h>

#include <fstream>

using ::testing::AllOf;
using ::testing::HasSubstr;

namespace {

class DatabaseFileTest : public ShopDbTest {
protected:
    std::string Aliases() const { return (ConfigFolder / "aliases.ini").string(); }
};

TEST_F(DatabaseFileTest, AnAliasFileThatIsNoIniFileIsAnErrorNamingFileAndLine) {
    struct Case {
        std::string Text;
        int Line;
    };
    const Case Cases[] = {
        {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), 1},
        {"[Pellworth11]\nDriver=SQLITE\nPath=shop.db\nnot an entry\n", 4},
        {"; settings\n\n[Pellworth11\nDriver=SQLITE\n", 3},
        {"[]\n", 1},
        {"[Other]\n=no name\n", 2},
        // A stray line after the alias's section counts as well.
        {"[Pellworth11]\nDriver=SQLITE\nPath=shop.db\n[Other]\n{\"json\": true}\n", 5},
    };
    for (const Case& C : Cases) {
        WriteAliases(C.Text);
        EXPECT_THAT(MessageOf<EDatabaseError>([] { ResolveAlias("Pellworth11"); }),
                    HasSubstr(Aliases() + ", line " + std::to_string(C.Line) + ":"))
            << C.Text;
    }
}

TEST_F(DatabaseFileTest, AReadableAliasFileWithoutTheAliasNamesTheDefaultFile) {
    const std::string Default = (DataFolder / "beaconmill" / "Pellworth11.db").string();
    for (const char* Text : {"", "\n\n", "; only a comment\n# and another\n",
                             "Loose=entry before any section\n[Other]\nPath=x.db\n"}) {
        WriteAliases(Text);
        EXPECT_EQ(ResolveAlias("Pellworth11").FileName, Default) << Text;
    }
}

TEST_F(DatabaseFileTest, AFileThatIsNoDatabaseIsRefusedUnchangedAtConnect) {
    for (const std::string& Content :
         {std::string(), std::string("SQLite format 2\0", 16) + std::string(200, '\0')}) {
        const auto File = Folder / "odd.db";
        std::ofstream(File, std::ios::binary | std::ios::trunc) << Content;
        WriteAliases("[Shop]\nDriver=SQLITE\nPath=" + File.string() + "\n");
        TDatabase* Db = NewDatabase();
        EXPECT_THAT(MessageOf<EDatabaseError>([&] { Db->Open(); }),
                    AllOf(HasSubstr(File.string()), HasSubstr("not an SQLite database")));
        EXPECT_FALSE(Db->Connected());
        EXPECT_EQ(std::filesystem::file_size(File), Content.size());
        EXPECT_FALSE(std::filesystem::exists(File.string() + "-wal"));
        delete Db;
    }
}

TEST_F(DatabaseFileTest, TheCheckNamesTheTablesADatabaseLacksAndWritesNothing) {
    EXPECT_NO_THROW(CheckDatabaseFile(DbFile.string(), {"dornwick_options", "ALERT_HISTORY"}));

    const auto Other = Folder / "other.db";
    sqlite3* Db = nullptr;
    ASSERT_EQ(sqlite3_open(Other.c_str(), &Db), SQLITE_OK);
    sqlite3_exec(Db, "create table ALERT_HISTORY (X);", nullptr, nullptr, nullptr);
    sqlite3_close(Db);
    const auto Size = std::filesystem::file_size(Other);
    EXPECT_THAT(MessageOf<EDatabaseError>([&] {
                    CheckDatabaseFile(Other.string(),
                                      {"DORNWICK_OPTIONS", "ALERT_HISTORY", "ALERT_TRANSACTION"});
                }),
                AllOf(HasSubstr(Other.string()),
                      HasSubstr("no table DORNWICK_OPTIONS, ALERT_TRANSACTION")));
    EXPECT_EQ(std::filesystem::file_size(Other), Size);
    EXPECT_FALSE(std::filesystem::exists(Other.string() + "-wal"));

    EXPECT_THAT(
        MessageOf<EDatabaseError>([&] { CheckDatabaseFile((Folder / "none.db").string(), {}); }),
        AllOf(HasSubstr("none.db"), HasSubstr("does not exist")));
}

} // namespace
