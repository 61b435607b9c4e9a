#include "platform/data/AliasConfig.h"

#include "platform/data/DBExceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StrUtils.h"
#include "platform/rtl/UserFolders.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

// The keys of one section of an ini file, read without the registry library:
// section and key names compare without case, values are trimmed, lines
// starting with ';' or '#' are comments.
struct Section {
    bool Found = false;
    AnsiString Driver;
    AnsiString Path;
    bool HasPath = false;
    AnsiString Synchronous;
};

// A byte no text file holds: the file is binary, not an ini file.
bool HasBinaryByte(const AnsiString& Line) {
    for (const char C : Line) {
        const auto Byte = static_cast<unsigned char>(C);
        if (Byte < 0x20 && Byte != '\t' && Byte != '\r') return true;
        if (Byte == 0x7F) return true;
    }
    return false;
}

Section ReadSection(const AnsiString& FileName, const AnsiString& Name) {
    Section Result;
    std::ifstream In(FileName, std::ios::binary);
    if (!In) {
        if (errno == ENOENT) return Result;
        DatabaseError("Cannot read " + FileName + ": " + std::strerror(errno));
    }
    std::stringstream Content;
    Content << In.rdbuf();
    if (In.bad()) DatabaseError("Cannot read " + FileName);

    // A line that is none of the forms below means the file is not an ini
    // file at all (a binary file, a file of another kind): taking it for one
    // without the alias would quietly open another database.
    auto NotIni = [&](int LineNumber) {
        DatabaseError(FileName + ", line " + IntToStr(LineNumber) +
                      ": not an ini file (expected [section], name=value or a ; comment)");
    };
    std::istringstream Lines(Content.str());
    AnsiString Line;
    bool InSection = false;
    bool Done = false;
    int LineNumber = 0;
    while (std::getline(Lines, Line)) {
        ++LineNumber;
        if (LineNumber == 1 && Line.rfind("\xEF\xBB\xBF", 0) == 0) Line.erase(0, 3);
        if (HasBinaryByte(Line)) NotIni(LineNumber);
        Line = Trim(Line);
        if (Line.empty() || Line[0] == ';' || Line[0] == '#') continue;
        if (Line.front() == '[') {
            if (Line.back() != ']' || Trim(Line.substr(1, Line.size() - 2)).empty())
                NotIni(LineNumber);
            // The first section of the name counts, as the framework's ini reader does.
            if (Result.Found && InSection) Done = true;
            InSection = !Done && SameText(Trim(Line.substr(1, Line.size() - 2)), Name);
            Result.Found = Result.Found || InSection;
            continue;
        }
        const auto Equals = Line.find('=');
        if (Equals == AnsiString::npos || Equals == 0) NotIni(LineNumber);
        if (!InSection) continue;
        const AnsiString Key = Trim(Line.substr(0, Equals));
        const AnsiString Value = Trim(Line.substr(Equals + 1));
        if (SameText(Key, "Driver"))
            Result.Driver = Value;
        else if (SameText(Key, "Path")) {
            Result.Path = Value;
            Result.HasPath = true;
        } else if (SameText(Key, "Synchronous"))
            Result.Synchronous = Value;
    }
    return Result;
}

} // namespace

TAliasTarget ResolveAlias(const AnsiString& AliasName) {
    const AnsiString Folder = ConfigFolder();
    const AnsiString IniFile = Folder + "/aliases.ini";
    const Section Entry = ReadSection(IniFile, AliasName);
    if (!Entry.Found) return {DataFolder() + "/" + AliasName + ".db", AnsiString()};
    if (!SameText(Entry.Driver, "SQLITE"))
        DatabaseError("Alias '" + AliasName + "' in " + IniFile + " has Driver '" + Entry.Driver +
                      "'; only SQLITE is supported");
    if (!Entry.HasPath || Entry.Path.empty())
        DatabaseError("Alias '" + AliasName + "' in " + IniFile + " has no Path");
    AnsiString Synchronous = UpperCase(Entry.Synchronous);
    if (!Synchronous.empty() && Synchronous != "OFF" && Synchronous != "NORMAL" &&
        Synchronous != "FULL" && Synchronous != "EXTRA")
        DatabaseError("Alias '" + AliasName + "' in " + IniFile + " has Synchronous '" +
                      Entry.Synchronous + "'; use OFF, NORMAL, FULL or EXTRA");
    AnsiString FileName = Entry.Path;
    if (FileName[0] != '/') FileName = Folder + "/" + FileName;
    return {FileName, IniFile, Synchronous};
}
