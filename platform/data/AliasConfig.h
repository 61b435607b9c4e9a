#pragma once
// Where a database alias points. aliases.ini in the configuration folder has
// a section per alias:
//
//   [Pellworth11]
//   Driver=SQLITE
//   Path=/home/me/.local/share/beaconmill/Pellworth11.db
//
// An alias without a section names <data folder>/beaconmill/<alias>.db.
#include "platform/rtl/AnsiString.h"

struct TAliasTarget {
    AnsiString FileName;   // the database file the alias names
    AnsiString ConfigFile; // the aliases.ini that named it; empty for the default
    // The section's Synchronous key (OFF, NORMAL, FULL or EXTRA, upper
    // case); empty for the default, NORMAL.
    AnsiString Synchronous;
};

// Resolves AliasName (compared without case). The environment is read on
// every call. Raises EDatabaseError when the alias's section names another
// driver than SQLITE, has no Path or an unknown Synchronous level, or
// aliases.ini cannot be read or is not an ini file (the error names the file
// and the first line that is neither a section header, a name=value entry, a
// comment nor blank). An empty file, or one without the alias's section,
// names the default file. A relative Path is taken from the configuration
// folder.
TAliasTarget ResolveAlias(const AnsiString& AliasName);
