#include "platform/data/DatabaseFile.h"

#include "platform/data/DBExceptions.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

// The first bytes of every SQLite 3 database; its header is 100 bytes long.
constexpr char Magic[] = "SQLite format 3";
constexpr std::size_t HeaderSize = 100;

[[noreturn]] void Refuse(const AnsiString& File, const AnsiString& Reason) {
    DatabaseError("Database file '" + File + "' " + Reason);
}

} // namespace

AnsiString DatabaseHeaderProblem(const AnsiString& File) {
    std::ifstream In(File, std::ios::binary);
    if (!In) return AnsiString("cannot be read: ") + std::strerror(errno);
    char Header[HeaderSize] = {};
    In.read(Header, HeaderSize);
    const auto Got = static_cast<std::size_t>(In.gcount());
    if (Got == 0) return "is empty, not an SQLite database";
    // The magic text ends in a NUL, which sizeof counts.
    if (Got < HeaderSize || std::memcmp(Header, Magic, sizeof Magic) != 0)
        return "is not an SQLite database";
    return {};
}

void CheckDatabaseFile(const AnsiString& File, const std::vector<AnsiString>& Tables) {
    struct stat Info;
    if (stat(File.c_str(), &Info) != 0)
        Refuse(File, errno == ENOENT ? AnsiString("does not exist")
                                     : AnsiString("cannot be read: ") + std::strerror(errno));
    if (S_ISDIR(Info.st_mode)) Refuse(File, "is a directory");
    if (const AnsiString Problem = DatabaseHeaderProblem(File); !Problem.empty())
        Refuse(File, Problem);

    sqlite3* Db = nullptr;
    const int Rc = sqlite3_open_v2(File.c_str(), &Db, SQLITE_OPEN_READONLY, nullptr);
    auto Close = [&] { sqlite3_close_v2(Db); };
    if (Rc != SQLITE_OK) {
        const AnsiString Message = Db ? sqlite3_errmsg(Db) : "out of memory";
        Close();
        Refuse(File, "cannot be opened: " + Message);
    }
    // The shop product may be writing to it this moment.
    sqlite3_busy_timeout(Db, 5000);
    sqlite3_stmt* Stmt = nullptr;
    if (sqlite3_prepare_v2(Db,
                           "select 1 from sqlite_schema where type in ('table', 'view') "
                           "and name = ?1 collate nocase",
                           -1, &Stmt, nullptr) != SQLITE_OK) {
        const AnsiString Message = sqlite3_errmsg(Db);
        Close();
        Refuse(File, "cannot be read as a database: " + Message);
    }
    AnsiString Missing;
    AnsiString Error;
    for (const AnsiString& Table : Tables) {
        sqlite3_reset(Stmt);
        sqlite3_bind_text(Stmt, 1, Table.c_str(), static_cast<int>(Table.size()), SQLITE_TRANSIENT);
        const int Step = sqlite3_step(Stmt);
        if (Step == SQLITE_DONE) {
            Missing += (Missing.empty() ? "" : ", ") + Table;
        } else if (Step != SQLITE_ROW) {
            Error = sqlite3_errmsg(Db);
            break;
        }
    }
    sqlite3_finalize(Stmt);
    Close();
    if (!Error.empty()) Refuse(File, "cannot be read as a database: " + Error);
    if (!Missing.empty()) Refuse(File, "is not the expected database: it has no table " + Missing);
}
