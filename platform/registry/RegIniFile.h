#pragma once
// TRegIniFile: a registry key used the way an INI file is. The file name is a
// key path, opened (and created when missing) under the current user's root
// at construction; a section is a subkey of that key, created on the first
// write; every value is written as a string (integers as decimal text,
// booleans as "0" or "1").
#include "platform/registry/Registry.h"

class TRegIniFile : public TRegistry {
public:
    explicit TRegIniFile(const AnsiString& FileName);
    TRegIniFile(const AnsiString& FileName, REGSAM AAccess);
    AnsiString ClassName() const override { return "TRegIniFile"; }

    AnsiString FileName() const { return FFileName; }

    using TRegistry::DeleteKey;
    using TRegistry::ReadBool;
    using TRegistry::ReadInteger;
    using TRegistry::ReadString;
    using TRegistry::WriteBool;
    using TRegistry::WriteInteger;
    using TRegistry::WriteString;

    // The string value, or Default when the section or value is missing; a
    // value of another type raises "Invalid data type for '%s'".
    AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident,
                          const AnsiString& Default);
    void WriteString(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value);
    // A string value is read as a decimal number, Default when it is not one;
    // an integer value is taken as it is.
    int ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default);
    void WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value);
    bool ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default);
    void WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value);

    // Fill Strings (cleared first) with the value names of Section / the
    // section names / "name=value" lines of Section.
    void ReadSection(const AnsiString& Section, TStrings* Strings);
    void ReadSections(TStrings* Strings);
    void ReadSectionValues(const AnsiString& Section, TStrings* Strings);
    // Removes the section's key with everything in it.
    void EraseSection(const AnsiString& Section);
    // Removes one value of a section.
    void DeleteKey(const AnsiString& Section, const AnsiString& Ident);

private:
    // Runs Action with Section open as the current key and returns to the
    // file's key afterwards; false (Action not run) when the section cannot be opened.
    template <typename Action>
    bool InSection(const AnsiString& Section, bool CanCreate, Action&& action);

    AnsiString FFileName;
};
