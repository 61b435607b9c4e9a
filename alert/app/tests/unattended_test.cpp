// The program run unattended, as a child process on Qt's offscreen platform
// against the demo database: its exit status, the signals that stop it, the
// set-ups it refuses and the one instance per database.
#include "ProgramProcess.h"
#include "platform/data/testing/ShopDbTest.h"
#include "platform/sys/KernelNames.h"

#include <gmock/gmock.h>
#include <sqlite3.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <string>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

std::string ReadFile(const std::filesystem::path& Path) {
    std::ifstream In(Path, std::ios::binary);
    std::stringstream Content;
    Content << In.rdbuf();
    return Content.str();
}

void WriteFile(const std::filesystem::path& Path, const std::string& Text) {
    std::ofstream(Path, std::ios::binary | std::ios::trunc) << Text;
}

bool ExitedWith(int Status, int Code) {
    return WIFEXITED(Status) && WEXITSTATUS(Status) == Code;
}

class UnattendedTest : public ShopDbTest {
protected:
    void SetUp() override {
        ShopDbTest::SetUp();
        Exec(ReadFile(std::filesystem::path(BEACONMILL_SOURCE_DIR) / "db" / "demo.sql"));
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        // The job-form module's report listeners of the children keep to a
        // namespace of the test's own.
        KernelSpace = UniqueKernelNamespace("prog");
        setenv("BEACONMILL_KERNEL_NAMESPACE", KernelSpace.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("BEACONMILL_KERNEL_NAMESPACE");
        RemoveKernelNamespace(KernelSpace);
        ShopDbTest::TearDown();
    }

    std::filesystem::path PlacementFile() const { return ConfigFolder / "HKEY_CURRENT_USER.reg"; }
    void PointAliasAt(const std::filesystem::path& File) const {
        WriteAliases("[Pellworth11]\nDriver=SQLITE\nPath=" + File.string() + "\n");
    }

    std::string KernelSpace;
};

TEST_F(UnattendedTest, ASignalClosesTheWindowWhichSavesItsPlacementAndExitsCleanly) {
    for (const auto& [Signal, Name] : {std::pair{SIGTERM, "SIGTERM"}, std::pair{SIGINT, "SIGINT"},
                                       std::pair{SIGHUP, "SIGHUP"}}) {
        SCOPED_TRACE(Name);
        std::filesystem::remove(PlacementFile());
        ProgramProcess Program;
        // The database line comes once the window is up and waiting.
        ASSERT_TRUE(Program.WaitForLine("Database " + DbFile.string())) << Program.Output;
        Program.Signal(Signal);
        const int Status = Program.Finish();
        EXPECT_TRUE(ExitedWith(Status, 0)) << Status << "\n" << Program.Output;
        EXPECT_THAT(Program.Output, HasSubstr(std::string("Beacon mill closing: ") + Name));
        EXPECT_THAT(ReadFile(PlacementFile()), HasSubstr("Beacon Mill")) << Program.Output;
    }
}

TEST_F(UnattendedTest, AnAliasFileWithoutTheAliasFallsBackToTheDataFolderAndSaysSo) {
    const auto Default = DataFolder / "beaconmill" / "Pellworth11.db";
    std::filesystem::copy_file(DbFile, Default);
    for (const char* Aliases : {"", "; nothing for this program\n[Other]\nPath=/elsewhere.db\n"}) {
        SCOPED_TRACE(Aliases);
        WriteAliases(Aliases);
        ProgramProcess Program;
        EXPECT_TRUE(Program.WaitForLine("Database " + Default.string())) << Program.Output;
        Program.Signal(SIGTERM);
        EXPECT_TRUE(ExitedWith(Program.Finish(), 0)) << Program.Output;
    }
}

TEST_F(UnattendedTest, AStartUpThatFailsExitsWithOneAndNamesTheCause) {
    const auto Named = Folder / "named.db";
    struct Case {
        const char* Name;
        std::function<void()> Arrange;
        std::vector<std::string> Said;
    };
    const auto Foreign = [&] {
        sqlite3* Db = nullptr;
        sqlite3_open(Named.c_str(), &Db);
        sqlite3_exec(Db, "create table NOTES (Line text); insert into NOTES values ('x');", nullptr,
                     nullptr, nullptr);
        sqlite3_close(Db);
        PointAliasAt(Named);
    };
    const Case Cases[] = {
        {"missing database", [&] { PointAliasAt(Named); }, {Named.string(), "does not exist"}},
        {"empty file",
         [&] {
             WriteFile(Named, "");
             PointAliasAt(Named);
         },
         {Named.string(), "empty"}},
        {"text file",
         [&] {
             WriteFile(Named, "just some notes, nothing like a database\n" + std::string(300, '-'));
             PointAliasAt(Named);
         },
         {Named.string(), "not an SQLite database"}},
        {"corrupt database",
         [&] {
             WriteFile(Named, std::string("SQLite format 3\0", 16) + std::string(4080, '\x5a'));
             PointAliasAt(Named);
         },
         {Named.string()}},
        {"another program's database", Foreign, {Named.string(), "DORNWICK_OPTIONS"}},
        {"wrong driver",
         [&] { WriteAliases("[Pellworth11]\nDriver=ODBC\nPath=" + DbFile.string() + "\n"); },
         {"aliases.ini", "'ODBC'"}},
        {"alias file of random bytes",
         [&] { WriteFile(ConfigFolder / "aliases.ini", std::string("\x9c\x01\xfe\x00zz\n", 7)); },
         {(ConfigFolder / "aliases.ini").string() + ", line 1"}},
        {"alias file with a stray line",
         [&] {
             WriteAliases("[Pellworth11]\nDriver=SQLITE\nPath=" + DbFile.string() +
                          "\nthis line is no entry\n");
         },
         {"aliases.ini, line 4"}},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Name);
        std::filesystem::remove(Named);
        C.Arrange();
        const bool Existed = std::filesystem::exists(Named);
        const std::string Before = ReadFile(Named);
        ProgramProcess Program;
        EXPECT_TRUE(ExitedWith(Program.Finish(), 1)) << Program.Output;
        for (const std::string& Text : C.Said)
            EXPECT_THAT(Program.Output, HasSubstr(Text));
        // Nothing was written into the file named, nor a file made.
        EXPECT_EQ(ReadFile(Named), Before);
        EXPECT_EQ(std::filesystem::exists(Named), Existed);
        EXPECT_FALSE(std::filesystem::exists(Named.string() + "-wal"));
    }
}

TEST_F(UnattendedTest, ASecondInstanceOnTheSameDatabaseExitsNamingTheFirst) {
    ProgramProcess First;
    ASSERT_TRUE(First.WaitForLine("Database " + DbFile.string())) << First.Output;

    // The second reaches the same file by another path.
    const auto Link = Folder / "link.db";
    std::filesystem::create_symlink(DbFile, Link);
    PointAliasAt(Link);
    ProgramProcess Second;
    EXPECT_TRUE(ExitedWith(Second.Finish(), 1)) << Second.Output;
    EXPECT_THAT(Second.Output, HasSubstr("process " + std::to_string(First.Pid())));
    EXPECT_THAT(Second.Output, HasSubstr(DbFile.string()));
    EXPECT_THAT(Second.Output, Not(HasSubstr("Beacon mill on")));

    First.Signal(SIGTERM);
    EXPECT_TRUE(ExitedWith(First.Finish(), 0)) << First.Output;
    // Once the first has gone, the database is free again.
    ProgramProcess Third;
    EXPECT_TRUE(Third.WaitForLine("Database " + Link.string())) << Third.Output;
    Third.Signal(SIGTERM);
    EXPECT_TRUE(ExitedWith(Third.Finish(), 0)) << Third.Output;
}

} // namespace
