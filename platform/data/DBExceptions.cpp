#include "platform/data/DBExceptions.h"

#include <sqlite3.h>

void DatabaseError(const AnsiString& Message) {
    throw EDatabaseError(Message);
}

void SqliteError(const AnsiString& Message, int ResultCode) {
    switch (ResultCode & 0xFF) {
    case SQLITE_FULL:
    case SQLITE_READONLY:
    case SQLITE_IOERR:
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        throw EDatabaseUnusable(Message);
    default:
        throw EDatabaseError(Message);
    }
}
