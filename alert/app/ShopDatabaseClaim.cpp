#include "alert/app/ShopDatabaseClaim.h"

#include "platform/data/AliasConfig.h"
#include "platform/data/DBExceptions.h"
#include "platform/data/DatabaseFile.h"
#include "platform/sys/InstanceLock.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <vector>

namespace {

// The tables every shop database has and the program cannot run without.
const std::vector<AnsiString> ShopTables = {"DORNWICK_OPTIONS", "ALERT_SETTING",
                                            "ALERT_TRANSACTION", "ALERT_HISTORY"};

} // namespace

std::unique_ptr<TInstanceLock> ClaimShopDatabase(const AnsiString& AliasName) {
    TAliasTarget Target;
    try {
        Target = ResolveAlias(AliasName);
    } catch (const EDatabaseError& E) {
        DatabaseError("Cannot connect to alias '" + AliasName + "': " + E.Message);
    }
    // One file reached by two paths (a link, "..") is one database.
    char Real[PATH_MAX];
    if (!realpath(Target.FileName.c_str(), Real)) {
        if (errno == ENOENT) return nullptr;
        DatabaseError("Database file '" + Target.FileName +
                      "' cannot be reached: " + std::strerror(errno));
    }
    const AnsiString File = Real;
    CheckDatabaseFile(File, ShopTables);
    // Whoever may write the database may take its lock.
    struct stat Info {};
    const mode_t Mode = stat(File.c_str(), &Info) == 0 ? (Info.st_mode & 0666) | 0600 : 0644;
    try {
        return std::make_unique<TInstanceLock>(File + ".lock", File, Mode);
    } catch (const EInstanceLocked& E) {
        throw Exception("Another instance of the program works on this database: " + E.Message);
    }
}
