#pragma once
// Checks on a database file made before anything is written to it: opening
// a file of another kind in WAL mode would write a header into it, and an
// empty file would silently become a new database.
#include "platform/rtl/AnsiString.h"

#include <vector>

// Why File is not an SQLite database ("is empty", "is not an SQLite
// database"), or empty text when its header is one. Reads only the header.
AnsiString DatabaseHeaderProblem(const AnsiString& File);

// Raises EDatabaseError naming File unless it exists, is an SQLite database
// and holds every table of Tables (names compared without case). The file is
// opened read-only: nothing is written to it.
void CheckDatabaseFile(const AnsiString& File, const std::vector<AnsiString>& Tables);
