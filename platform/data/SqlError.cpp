#include "platform/data/SqlError.h"

#include "platform/data/DBExceptions.h"

#include <cctype>
#include <sqlite3.h>

namespace {
constexpr std::size_t MaxHead = 60;
}

AnsiString StatementHead(const AnsiString& Sql) {
    AnsiString Head;
    bool Blank = false;
    for (char C : Sql) {
        if (std::isspace(static_cast<unsigned char>(C))) {
            Blank = !Head.empty();
            continue;
        }
        if (Blank) Head += ' ';
        Blank = false;
        Head += C;
        if (Head.size() >= MaxHead) {
            // Do not leave a UTF-8 sequence half cut.
            while (!Head.empty() && (static_cast<unsigned char>(Head.back()) & 0xC0) == 0x80)
                Head.pop_back();
            if (!Head.empty() && static_cast<unsigned char>(Head.back()) >= 0xC0) Head.pop_back();
            return Head + "...";
        }
    }
    return Head;
}

void StatementError(sqlite3* Db, const AnsiString& Sql) {
    SqliteError("Statement \"" + StatementHead(Sql) + "\" failed: " + sqlite3_errmsg(Db),
                sqlite3_errcode(Db));
}
