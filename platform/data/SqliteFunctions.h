#pragma once
// The functions the program's statements call that SQLite does not have,
// registered on every connection:
//   now()                 the current date and time ("yyyy/mm/dd hh:mm:ss"),
//                         from the program's clock
//   add_days(ts, n)       ts moved by n days, in ts's own form (a date stays a
//                         date); NULL in gives NULL out
//   get_identity(tbl, n)  the next number the table's AUTOINCREMENT column
//                         will hand out; n > 0 also reserves n numbers
struct sqlite3;

// Returns SQLite's result code; SQLITE_OK when all were registered.
int RegisterSqlFunctions(sqlite3* Db);
