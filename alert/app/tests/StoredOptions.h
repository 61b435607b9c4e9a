#pragma once
// The options row as it stands in the database file, read on a connection
// of the test's own, apart from the program.
#include <sqlite3.h>

#include <filesystem>
#include <string>

// An expression over DORNWICK_OPTIONS (a column, or columns joined with
// ||) as text: "<null>" for NULL, "<none>" when there is no row.
inline std::string StoredOption(const std::filesystem::path& DbFile, const std::string& Expression) {
    sqlite3* Db = nullptr;
    sqlite3_open(DbFile.string().c_str(), &Db);
    sqlite3_stmt* Stmt = nullptr;
    sqlite3_prepare_v2(Db, ("SELECT " + Expression + " FROM DORNWICK_OPTIONS").c_str(), -1, &Stmt,
                       nullptr);
    std::string Value = "<none>";
    if (sqlite3_step(Stmt) == SQLITE_ROW) {
        const auto* Text = sqlite3_column_text(Stmt, 0);
        Value = Text ? reinterpret_cast<const char*>(Text) : "<null>";
    }
    sqlite3_finalize(Stmt);
    sqlite3_close(Db);
    return Value;
}
