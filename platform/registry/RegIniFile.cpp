#include "platform/registry/RegIniFile.h"

#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StringList.h"

TRegIniFile::TRegIniFile(const AnsiString& FileName) : TRegIniFile(FileName, KEY_ALL_ACCESS) {}

TRegIniFile::TRegIniFile(const AnsiString& FileName, REGSAM AAccess)
    : TRegistry(AAccess), FFileName(FileName) {
    OpenKey(FileName, true);
}

template <typename Action>
bool TRegIniFile::InSection(const AnsiString& Section, bool CanCreate, Action&& action) {
    // Without the file's key open a section would be looked up from the root.
    const TOpenKey fileKey = SaveOpenKey();
    if (!fileKey.Open) return false;
    if (!OpenKey(Section, CanCreate)) {
        RestoreOpenKey(fileKey);
        return false;
    }
    try {
        action();
    } catch (...) {
        RestoreOpenKey(fileKey);
        throw;
    }
    RestoreOpenKey(fileKey);
    return true;
}

AnsiString TRegIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident,
                                   const AnsiString& Default) {
    AnsiString result = Default;
    InSection(Section, false, [&] {
        if (ValueExists(Ident)) result = TRegistry::ReadString(Ident);
    });
    return result;
}

void TRegIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident,
                              const AnsiString& Value) {
    // Refuse before a section key is made for a write that cannot happen.
    if (!(Access() & KEY_SET_VALUE) || !SaveOpenKey().Open)
        throw ERegistryException(Format("Failed to set data for '%s'", Ident));
    if (!InSection(Section, true, [&] { TRegistry::WriteString(Ident, Value); }))
        throw ERegistryException(Format("Failed to create key %s", Section));
}

int TRegIniFile::ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default) {
    int result = Default;
    InSection(Section, false, [&] {
        if (!ValueExists(Ident)) return;
        if (GetDataType(Ident) == rdString)
            result = StrToIntDef(TRegistry::ReadString(Ident), Default);
        else
            result = TRegistry::ReadInteger(Ident);
    });
    return result;
}

void TRegIniFile::WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value) {
    WriteString(Section, Ident, IntToStr(Value));
}

bool TRegIniFile::ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default) {
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TRegIniFile::WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value) {
    WriteString(Section, Ident, Value ? "1" : "0");
}

void TRegIniFile::ReadSection(const AnsiString& Section, TStrings* Strings) {
    Strings->Clear();
    InSection(Section, false, [&] { GetValueNames(Strings); });
}

void TRegIniFile::ReadSections(TStrings* Strings) {
    GetKeyNames(Strings);
}

void TRegIniFile::ReadSectionValues(const AnsiString& Section, TStrings* Strings) {
    Strings->Clear();
    InSection(Section, false, [&] {
        TStringList names;
        GetValueNames(&names);
        for (int i = 0; i < names.Count(); ++i)
            Strings->Add(names[i] + "=" + TRegistry::ReadString(names[i]));
    });
}

void TRegIniFile::EraseSection(const AnsiString& Section) {
    if (SaveOpenKey().Open) TRegistry::DeleteKey(Section);
}

void TRegIniFile::DeleteKey(const AnsiString& Section, const AnsiString& Ident) {
    InSection(Section, false, [&] { DeleteValue(Ident); });
}
