#include "platform/data/testing/ShopDatabase.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace {

AnsiString ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

ShopDatabase::ShopDatabase() {
    char pattern[] = "/tmp/alertstore-XXXXXX";
    if (!mkdtemp(pattern)) throw std::runtime_error("cannot make a temporary folder");
    FFolder = pattern;
    FFile = FFolder / "shop.db";

    if (const char* previous = std::getenv("BEACONMILL_CONFIG")) {
        FHadConfig = true;
        FPreviousConfig = previous;
    }
    setenv("BEACONMILL_CONFIG", FFolder.c_str(), 1);
    std::ofstream(FFolder / "aliases.ini")
        << "[Pellworth11]\nDriver=SQLITE\nPath=" << FFile.string() << "\n";

    if (sqlite3_open(FFile.c_str(), &FDb) != SQLITE_OK)
        throw std::runtime_error("cannot create " + FFile.string());
    Exec(ReadFile(std::filesystem::path(BEACONMILL_SOURCE_DIR) / "db" / "schema.sql"));
}

ShopDatabase::~ShopDatabase() {
    sqlite3_close(FDb);
    if (FHadConfig)
        setenv("BEACONMILL_CONFIG", FPreviousConfig.c_str(), 1);
    else
        unsetenv("BEACONMILL_CONFIG");
    std::error_code ignored;
    std::filesystem::remove_all(FFolder, ignored);
}

void ShopDatabase::Exec(const AnsiString& Sql) {
    char* error = nullptr;
    if (sqlite3_exec(FDb, Sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        ADD_FAILURE() << (error ? error : "?") << "\n  in: " << Sql;
        sqlite3_free(error);
    }
}

std::vector<std::vector<Variant>> ShopDatabase::Rows(const AnsiString& Sql) {
    std::vector<std::vector<Variant>> rows;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(FDb, Sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sqlite3_errmsg(FDb) << "\n  in: " << Sql;
        return rows;
    }
    while (sqlite3_step(statement) == SQLITE_ROW) {
        std::vector<Variant> row;
        for (int column = 0; column < sqlite3_column_count(statement); ++column) {
            switch (sqlite3_column_type(statement, column)) {
            case SQLITE_NULL:
                row.push_back(Null());
                break;
            case SQLITE_INTEGER:
                row.push_back(static_cast<long long>(sqlite3_column_int64(statement, column)));
                break;
            case SQLITE_FLOAT:
                row.push_back(sqlite3_column_double(statement, column));
                break;
            default:
                row.push_back(AnsiString(
                    reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                    static_cast<std::size_t>(sqlite3_column_bytes(statement, column))));
                break;
            }
        }
        rows.push_back(std::move(row));
    }
    sqlite3_finalize(statement);
    return rows;
}

Variant ShopDatabase::Scalar(const AnsiString& Sql) {
    const auto rows = Rows(Sql);
    return rows.empty() || rows.front().empty() ? Null() : rows.front().front();
}
