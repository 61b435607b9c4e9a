#include "platform/rtl/UserFolders.h"

#include "platform/rtl/Exceptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

AnsiString Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? AnsiString(value) : AnsiString();
}

AnsiString HomeFolder() {
    AnsiString home = Environment("HOME");
    if (!home.empty()) return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
    return "/";
}

} // namespace

// A relative XDG base directory is invalid and ignored, as the base-directory rules say.
AnsiString UnderXdg(const char* variable, const char* fallback) {
    AnsiString base = Environment(variable);
    if (base.empty() || base.front() != '/') base = HomeFolder() + "/" + fallback;
    return base + "/beaconmill";
}

AnsiString ConfigFolder() {
    if (AnsiString folder = Environment("BEACONMILL_CONFIG"); !folder.empty()) return folder;
    return UnderXdg("XDG_CONFIG_HOME", ".config");
}

AnsiString DataFolder() { return UnderXdg("XDG_DATA_HOME", ".local/share"); }

void ForceConfigFolder(const AnsiString& Folder) {
    AnsiString path;
    std::size_t start = 0;
    while (start <= Folder.size()) {
        std::size_t slash = Folder.find('/', start);
        if (slash == AnsiString::npos) slash = Folder.size();
        path = Folder.substr(0, slash);
        start = slash + 1;
        if (path.empty()) continue;
        if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
            throw EInOutError("Cannot create folder " + path + ": " + std::strerror(errno));
    }
    struct stat info {};
    if (stat(Folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        throw EInOutError("Cannot create folder " + Folder + ": not a folder");
}
