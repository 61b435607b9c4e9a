#include "platform/data/testing/ShopDbTest.h"

#include "platform/classes/Component.h"
#include "platform/data/Database.h"

#include <cstdlib>
#include <fstream>
#include <sqlite3.h>
#include <sstream>

namespace {

std::string ReadFile(const std::filesystem::path& Path) {
    std::ifstream In(Path);
    std::stringstream Content;
    Content << In.rdbuf();
    return Content.str();
}

void SaveEnv(const char* Name, std::string& Value, bool& Had) {
    const char* Current = std::getenv(Name);
    Had = Current != nullptr;
    Value = Current ? Current : "";
}

void RestoreEnv(const char* Name, const std::string& Value, bool Had) {
    if (Had)
        setenv(Name, Value.c_str(), 1);
    else
        unsetenv(Name);
}

} // namespace

void ShopDbTest::SetUp() {
    std::string Template =
        (std::filesystem::temp_directory_path() / "beaconmill-data-XXXXXX").string();
    ASSERT_NE(mkdtemp(Template.data()), nullptr);
    Folder = Template;
    ConfigFolder = Folder / "config";
    DataFolder = Folder / "data";
    std::filesystem::create_directories(ConfigFolder);
    std::filesystem::create_directories(DataFolder / "beaconmill");
    DbFile = Folder / "shop.db";

    SaveEnv("BEACONMILL_CONFIG", SavedConfig, HadConfig);
    SaveEnv("XDG_DATA_HOME", SavedData, HadData);
    setenv("BEACONMILL_CONFIG", ConfigFolder.c_str(), 1);
    setenv("XDG_DATA_HOME", DataFolder.c_str(), 1);

    sqlite3* Db = nullptr;
    ASSERT_EQ(sqlite3_open(DbFile.c_str(), &Db), SQLITE_OK);
    const std::string Schema =
        ReadFile(std::filesystem::path(BEACONMILL_SOURCE_DIR) / "db" / "schema.sql");
    ASSERT_FALSE(Schema.empty()) << "db/schema.sql is missing";
    char* Error = nullptr;
    const int Rc = sqlite3_exec(Db, Schema.c_str(), nullptr, nullptr, &Error);
    const std::string Message = Error ? Error : "";
    sqlite3_free(Error);
    sqlite3_close(Db);
    ASSERT_EQ(Rc, SQLITE_OK) << Message;

    // "Shop" for the data-access tests; the program's own alias for the
    // libraries above, which open the database the way the program does.
    WriteAliases("[Shop]\nDriver=SQLITE\nPath=" + DbFile.string() + "\n[Pellworth11]\nDriver=SQLITE\nPath=" +
                 DbFile.string() + "\n");
    Owner = new TComponent(nullptr);
}

void ShopDbTest::TearDown() {
    delete Owner;
    RestoreEnv("BEACONMILL_CONFIG", SavedConfig, HadConfig);
    RestoreEnv("XDG_DATA_HOME", SavedData, HadData);
    std::error_code Ignored;
    std::filesystem::remove_all(Folder, Ignored);
}

void ShopDbTest::Exec(const std::string& Sql) const {
    sqlite3* Db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(DbFile.c_str(), &Db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    sqlite3_busy_timeout(Db, 5000);
    char* Error = nullptr;
    const int Rc = sqlite3_exec(Db, Sql.c_str(), nullptr, nullptr, &Error);
    const std::string Message = Error ? Error : "";
    sqlite3_free(Error);
    sqlite3_close(Db);
    ASSERT_EQ(Rc, SQLITE_OK) << Message << "\n" << Sql;
}

void ShopDbTest::WriteAliases(const std::string& Text) const {
    std::ofstream Out(ConfigFolder / "aliases.ini", std::ios::trunc);
    Out << Text;
}

TDatabase* ShopDbTest::NewDatabase(const AnsiString& DatabaseName) {
    auto* Db = new TDatabase(Owner);
    Db->SetAliasName("Shop");
    Db->SetDatabaseName(DatabaseName);
    Db->SetLoginPrompt(false);
    return Db;
}
