#include "formstore/FileLink.h"

#include "formstore/FileUtil.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
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
    ForceDirectories(SpecialFolderPath(Folder));
    // Made under a temporary name and renamed over an older link.
    const AnsiString Temp = Path + ".new";
    ::unlink(Temp.c_str());
    bool Made;
    if (IsEntryFolder(Folder)) {
        AnsiString Entry = "[Desktop Entry]\nName=" + EntryValue(DisplayName) + "\n";
        if (::access(Target.c_str(), X_OK) == 0 && !DirExists(Target))
            Entry += "Type=Application\nExec=" + EntryValue(ExecArgument(Target)) + "\n";
        else
            Entry += "Type=Link\nURL=" + FileUrl(Target) + "\n";
        Entry += "Icon=" + EntryValue(Target) + "\n";
        std::ofstream Out(Temp.c_str(), std::ios::binary | std::ios::trunc);
        Out << Entry;
        Out.close();
        Made = Out.good();
    } else {
        Made = ::symlink(Target.c_str(), Temp.c_str()) == 0;
    }
    if (!Made || ::rename(Temp.c_str(), Path.c_str()) != 0) {
        const int Error = errno;
        ::unlink(Temp.c_str());
        throw EInOutError(Format("Cannot create link %s: %s", Path, std::strerror(Error)));
    }
}

void DeleteFileLink(const AnsiString& DisplayName, int Folder) {
    ::unlink(LinkPath(DisplayName, Folder).c_str());
}

} // namespace formstore
