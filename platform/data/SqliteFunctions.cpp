#include "platform/data/SqliteFunctions.h"

#include "platform/data/SqlDateText.h"
#include "platform/rtl/DateTime.h"

#include <cmath>
#include <sqlite3.h>
#include <string>

namespace {

void ResultText(sqlite3_context* Context, const std::string& Text) {
    sqlite3_result_text(Context, Text.c_str(), static_cast<int>(Text.size()), SQLITE_TRANSIENT);
}

void ResultError(sqlite3_context* Context, const std::string& Message) {
    sqlite3_result_error(Context, Message.c_str(), static_cast<int>(Message.size()));
}

std::string ValueText(sqlite3_value* Value) {
    const auto* Text = reinterpret_cast<const char*>(sqlite3_value_text(Value));
    return Text ? std::string(Text, sqlite3_value_bytes(Value)) : std::string();
}

void Now(sqlite3_context* Context, int, sqlite3_value**) {
    ResultText(Context, SqlDateTimeText(::Now()));
}

void AddDays(sqlite3_context* Context, int, sqlite3_value** Args) {
    if (sqlite3_value_type(Args[0]) == SQLITE_NULL || sqlite3_value_type(Args[1]) == SQLITE_NULL) {
        sqlite3_result_null(Context);
        return;
    }
    const std::string Text = ValueText(Args[0]);
    TDateTime Value;
    if (!TryParseSqlDateTime(Text, Value)) {
        ResultError(Context, "add_days: '" + Text + "' is not a date");
        return;
    }
    const double Days = sqlite3_value_double(Args[1]);
    if (!std::isfinite(Days)) {
        ResultError(Context, "add_days: the day count is not a number");
        return;
    }
    // Whole days on the calendar; the time of day stays as it is.
    const double Moved = Value + std::trunc(Days);
    ResultText(Context, SqlTextHasTime(Text) ? SqlDateTimeText(Moved) : SqlDateText(Moved));
}

void GetIdentity(sqlite3_context* Context, int, sqlite3_value** Args) {
    sqlite3* Db = sqlite3_context_db_handle(Context);
    const std::string Table = ValueText(Args[0]);
    const sqlite3_int64 Count = sqlite3_value_int64(Args[1]);
    if (Count < 0) {
        ResultError(Context, "get_identity: the count must not be negative");
        return;
    }

    sqlite3_stmt* Stmt = nullptr;
    // The table must exist; its sequence row appears with its first insert.
    if (sqlite3_prepare_v2(Db,
                           "select name from sqlite_schema where type = 'table' and name = ?1 "
                           "collate nocase",
                           -1, &Stmt, nullptr) != SQLITE_OK) {
        ResultError(Context, sqlite3_errmsg(Db));
        return;
    }
    sqlite3_bind_text(Stmt, 1, Table.c_str(), static_cast<int>(Table.size()), SQLITE_TRANSIENT);
    const bool Exists = sqlite3_step(Stmt) == SQLITE_ROW;
    const std::string Name = Exists ? ValueText(sqlite3_column_value(Stmt, 0)) : std::string();
    sqlite3_finalize(Stmt);
    if (!Exists) {
        ResultError(Context, "get_identity: no table '" + Table + "'");
        return;
    }

    sqlite3_int64 Last = 0;
    bool HasRow = false;
    if (sqlite3_prepare_v2(Db, "select seq from sqlite_sequence where name = ?1", -1, &Stmt,
                           nullptr) == SQLITE_OK) {
        sqlite3_bind_text(Stmt, 1, Name.c_str(), static_cast<int>(Name.size()), SQLITE_TRANSIENT);
        if (sqlite3_step(Stmt) == SQLITE_ROW) {
            Last = sqlite3_column_int64(Stmt, 0);
            HasRow = true;
        }
        sqlite3_finalize(Stmt);
    }
    // Without a sequence (no AUTOINCREMENT, or none at all yet) the highest
    // key in use stands for the last number handed out.
    if (!HasRow) {
        const std::string Query = "select coalesce(max(rowid), 0) from \"" + Name + "\"";
        if (sqlite3_prepare_v2(Db, Query.c_str(), -1, &Stmt, nullptr) == SQLITE_OK) {
            if (sqlite3_step(Stmt) == SQLITE_ROW) Last = sqlite3_column_int64(Stmt, 0);
            sqlite3_finalize(Stmt);
        }
    }

    if (Count > 0) {
        const char* Sql = HasRow ? "update sqlite_sequence set seq = ?2 where name = ?1"
                                 : "insert into sqlite_sequence (name, seq) values (?1, ?2)";
        int Rc = sqlite3_prepare_v2(Db, Sql, -1, &Stmt, nullptr);
        if (Rc == SQLITE_OK) {
            sqlite3_bind_text(Stmt, 1, Name.c_str(), static_cast<int>(Name.size()),
                              SQLITE_TRANSIENT);
            sqlite3_bind_int64(Stmt, 2, Last + Count);
            Rc = sqlite3_step(Stmt);
            sqlite3_finalize(Stmt);
        }
        if (Rc != SQLITE_DONE) {
            ResultError(Context, std::string("get_identity: ") + sqlite3_errmsg(Db));
            return;
        }
    }
    sqlite3_result_int64(Context, Last + 1);
}

} // namespace

int RegisterSqlFunctions(sqlite3* Db) {
    struct Function {
        const char* Name;
        int Args;
        int Flags;
        void (*Call)(sqlite3_context*, int, sqlite3_value**);
    };
    const Function Functions[] = {
        {"now", 0, SQLITE_UTF8, Now},
        {"add_days", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, AddDays},
        {"get_identity", 2, SQLITE_UTF8, GetIdentity},
    };
    for (const Function& F : Functions) {
        const int Rc = sqlite3_create_function_v2(Db, F.Name, F.Args, F.Flags, nullptr, F.Call,
                                                  nullptr, nullptr, nullptr);
        if (Rc != SQLITE_OK) return Rc;
    }
    return SQLITE_OK;
}
