#include "formstore/FileLink.h"

#include "formstore/FileUtil.h"
#include "formstore/TemporaryName.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace formstore {

namespace {

AnsiString Env(const char* Name, const AnsiString& Default) {
    const char* Value = std::getenv(Name);
    return Value && *Value ? AnsiString(Value) : Default;
}

AnsiString Home() {
    return Env("HOME", "/");
}

bool IsEntryFolder(int Folder) {
    return Folder == CSIDL_PROGRAMS || Folder == CSIDL_STARTMENU || Folder == CSIDL_STARTUP;
}

AnsiString LinkPath(const AnsiString& DisplayName, int Folder) {
    if (DisplayName.empty() || DisplayName == "." || DisplayName == ".." ||
        DisplayName.find('/') != AnsiString::npos ||
        std::any_of(DisplayName.begin(), DisplayName.end(),
                    [](char C) { return static_cast<unsigned char>(C) < 0x20; }))
        throw EInOutError(Format("Invalid link name '%s'", DisplayName));
    return SpecialFolderPath(Folder) + "/" + DisplayName +
           (IsEntryFolder(Folder) ? ".desktop" : "");
}

// A value of a desktop entry: backslash and line breaks escaped.
AnsiString EntryValue(const AnsiString& Text) {
    AnsiString Result;
    for (char C : Text) {
        if (C == '\\')
            Result += "\\\\";
        else if (C == '\n')
            Result += "\\n";
        else if (C == '\r')
            Result += "\\r";
        else
            Result += C;
    }
    return Result;
}

// The target as one argument of an Exec line: in double quotes, with ", `,
// $ and \ escaped, and % doubled so that it is no field code.
AnsiString ExecArgument(const AnsiString& Target) {
    AnsiString Quoted = "\"";
    for (char C : Target) {
        if (C == '"' || C == '`' || C == '$' || C == '\\')
            Quoted += '\\';
        else if (C == '%')
            Quoted += '%';
        Quoted += C;
    }
    return Quoted + "\"";
}

AnsiString FileUrl(const AnsiString& Path) {
    static const char Hex[] = "0123456789ABCDEF";
    AnsiString Url = "file://";
    for (char C : Path) {
        const auto U = static_cast<unsigned char>(C);
        if (std::isalnum(U) || std::strchr("/-._~", C) != nullptr) {
            Url += C;
        } else {
            Url += '%';
            Url += Hex[U >> 4];
            Url += Hex[U & 15];
        }
    }
    return Url;
}

// The line that marks a desktop entry as one this unit made.
constexpr char OwnEntryMark[] = "X-Beaconmill-Link=true";

// Whether the desktop entry at Path is a regular file holding the mark.
bool IsOwnEntry(const AnsiString& Path) {
    struct stat Info;
    if (::lstat(Path.c_str(), &Info) != 0 || !S_ISREG(Info.st_mode) || Info.st_size > 65536)
        return false;
    std::ifstream In(Path.c_str(), std::ios::binary);
    std::string Line;
    while (std::getline(In, Line))
        if (Line == OwnEntryMark) return true;
    return false;
}

// Whether something is at Path. A link may only replace or remove a link:
// on the desktop and in the documents folder a symbolic link, elsewhere a
// desktop entry this unit made. Anything else there is the user's and
// raises EInOutError naming it.
bool CheckIsOwnLink(const AnsiString& Path, int Folder, const char* Action) {
    struct stat Info;
    if (::lstat(Path.c_str(), &Info) != 0) return false;
    if (IsEntryFolder(Folder) ? IsOwnEntry(Path) : S_ISLNK(Info.st_mode)) return true;
    throw EInOutError(Format("Cannot %s link %s: a file that is no link of this program is there",
                             Action, Path));
}

// Makes a new file beside Path under a name no one else uses; Make gives
// 1 when it made the file at the name, 0 when the name was taken, and -1
// when it failed (errno saying why). False when no file was made.
bool MakeTemporary(const AnsiString& Path, AnsiString& Temp,
                   const std::function<int(const AnsiString&)>& Make) {
    for (int Attempt = 0; Attempt < 100; ++Attempt) {
        const AnsiString Name = TemporaryNameBeside(Path);
        const int Result = Make(Name);
        if (Result == 1) {
            Temp = Name;
            return true;
        }
        if (Result < 0) return false;
    }
    errno = EEXIST;
    return false;
}

// Writes Text into a new file Name; the 1, 0 or -1 of MakeTemporary.
int WriteNewFile(const AnsiString& Name, const AnsiString& Text) {
    const int Fd = ::open(Name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (Fd < 0) return errno == EEXIST ? 0 : -1;
    const ssize_t Written = ::write(Fd, Text.data(), Text.size());
    const int Error = Written < 0 ? errno : ENOSPC;
    if (::close(Fd) == 0 && Written == static_cast<ssize_t>(Text.size())) return 1;
    ::unlink(Name.c_str());
    errno = Error;
    return -1;
}

// Gives the file Temp the name Path where nothing has that name: what
// took the name since it was checked is not replaced.
bool PlaceNew(const AnsiString& Temp, const AnsiString& Path) {
    if (::renameat2(AT_FDCWD, Temp.c_str(), AT_FDCWD, Path.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    // A file system that cannot rename so: a second name, then the first
    // one goes (link never follows a symbolic link).
    if (errno != EINVAL && errno != ENOSYS) return false;
    if (::link(Temp.c_str(), Path.c_str()) != 0) return false;
    ::unlink(Temp.c_str());
    return true;
}

} // namespace

AnsiString SpecialFolderPath(int Folder) {
    switch (Folder) {
    case CSIDL_DESKTOP:
    case CSIDL_DESKTOPDIRECTORY:
        return Env("XDG_DESKTOP_DIR", Home() + "/Desktop");
    case CSIDL_PERSONAL:
        return Env("XDG_DOCUMENTS_DIR", Home() + "/Documents");
    case CSIDL_PROGRAMS:
    case CSIDL_STARTMENU:
        return Env("XDG_DATA_HOME", Home() + "/.local/share") + "/applications";
    case CSIDL_STARTUP:
        return Env("XDG_CONFIG_HOME", Home() + "/.config") + "/autostart";
    default:
        throw EInOutError(Format("No folder for special folder %d", Folder));
    }
}

void CreateFileLink(const AnsiString& Target, const AnsiString& DisplayName, int Folder) {
    const AnsiString Path = LinkPath(DisplayName, Folder);
    // A link is followed from wherever it lies, so it names its target from
    // the root.
    const AnsiString Absolute =
        Target.empty() ? Target : AnsiString(std::filesystem::absolute(Target.c_str()).string());
    const bool Existed = CheckIsOwnLink(Path, Folder, "create");
    ForceDirectories(SpecialFolderPath(Folder));
    // Made under a temporary name of its own and renamed over an older link
    // of ours, or into a place where nothing is.
    AnsiString Temp;
    bool Made;
    if (IsEntryFolder(Folder)) {
        AnsiString Entry = "[Desktop Entry]\nName=" + EntryValue(DisplayName) + "\n";
        if (::access(Absolute.c_str(), X_OK) == 0 && !DirExists(Absolute))
            Entry += "Type=Application\nExec=" + EntryValue(ExecArgument(Absolute)) + "\n";
        else
            Entry += "Type=Link\nURL=" + FileUrl(Absolute) + "\n";
        Entry += "Icon=" + EntryValue(Absolute) + "\n" + OwnEntryMark + "\n";
        Made = MakeTemporary(Path, Temp,
                             [&Entry](const AnsiString& Name) { return WriteNewFile(Name, Entry); });
    } else {
        Made = MakeTemporary(Path, Temp, [&Absolute](const AnsiString& Name) {
            if (::symlink(Absolute.c_str(), Name.c_str()) == 0) return 1;
            return errno == EEXIST ? 0 : -1;
        });
    }
    if (!Made || !(Existed ? ::rename(Temp.c_str(), Path.c_str()) == 0 : PlaceNew(Temp, Path))) {
        const int Error = errno;
        if (!Temp.empty()) ::unlink(Temp.c_str());
        throw EInOutError(Format("Cannot create link %s: %s", Path, std::strerror(Error)));
    }
}

void DeleteFileLink(const AnsiString& DisplayName, int Folder) {
    const AnsiString Path = LinkPath(DisplayName, Folder);
    if (CheckIsOwnLink(Path, Folder, "delete") && ::unlink(Path.c_str()) != 0 && errno != ENOENT)
        throw EInOutError(Format("Cannot delete link %s: %s", Path, std::strerror(errno)));
}

} // namespace formstore
