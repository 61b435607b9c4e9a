#pragma once
// The text of a failed statement's error: the statement's first words and
// what SQLite said, so a person can tell which statement failed and why.
#include "platform/rtl/AnsiString.h"

struct sqlite3;

// The first words of Sql on one line (blanks collapsed), cut with "..." when long.
AnsiString StatementHead(const AnsiString& Sql);

// Raises EDatabaseError 'Statement "<head>" failed: <SQLite's message>'
// (EDatabaseUnusable when the database as a whole failed).
[[noreturn]] void StatementError(sqlite3* Db, const AnsiString& Sql);
