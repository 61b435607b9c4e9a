#include "formstore/StorageDispatch.h"

#include "platform/registry/IniFiles.h"
#include "platform/registry/RegIniFile.h"
#include "platform/rtl/FloatFormat.h"

namespace formstore {

namespace {

constexpr std::size_t MaxIniLine = 4096;

TRegIniFile* AsRegistry(TObject* IniFile) {
    return dynamic_cast<TRegIniFile*>(IniFile);
}
TCustomIniFile* AsIniFile(TObject* IniFile) {
    return dynamic_cast<TCustomIniFile*>(IniFile);
}

bool Quoted(const AnsiString& S, char Quote) {
    return !S.empty() && S.front() == Quote && S.back() == Quote;
}

void CheckLineLength(const AnsiString& Str) {
    if (Str.size() > MaxIniLine) throw Exception("Line too long");
}

} // namespace

AnsiString IniReadString(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident,
                         const AnsiString& Default) {
    if (TRegIniFile* Reg = AsRegistry(IniFile)) return Reg->ReadString(Section, Ident, Default);
    if (TCustomIniFile* Ini = AsIniFile(IniFile)) return Ini->ReadString(Section, Ident, Default);
    return Default;
}

void IniWriteString(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident,
                    const AnsiString& Value) {
    if (TRegIniFile* Reg = AsRegistry(IniFile)) {
        Reg->WriteString(Section, Ident, Value);
    } else if (TCustomIniFile* Ini = AsIniFile(IniFile)) {
        if (Quoted(Value, '"') || Quoted(Value, '\''))
            Ini->WriteString(Section, Ident, '"' + Value + '"');
        else
            Ini->WriteString(Section, Ident, Value);
    }
}

int IniReadInteger(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident,
                   int Default) {
    if (TRegIniFile* Reg = AsRegistry(IniFile))
        return StrToIntDef(Reg->ReadString(Section, Ident, AnsiString()), Default);
    if (TCustomIniFile* Ini = AsIniFile(IniFile)) return Ini->ReadInteger(Section, Ident, Default);
    return Default;
}

void IniWriteInteger(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident,
                     int Value) {
    if (TRegIniFile* Reg = AsRegistry(IniFile))
        Reg->WriteString(Section, Ident, IntToStr(Value));
    else if (TCustomIniFile* Ini = AsIniFile(IniFile))
        Ini->WriteString(Section, Ident, IntToStr(Value));
}

bool IniReadBool(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident,
                 bool Default) {
    return IniReadInteger(IniFile, Section, Ident, Default ? 1 : 0) != 0;
}

void IniWriteBool(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident,
                  bool Value) {
    IniWriteInteger(IniFile, Section, Ident, Value ? 1 : 0);
}

void IniEraseSection(TObject* IniFile, const AnsiString& Section) {
    if (TRegIniFile* Reg = AsRegistry(IniFile))
        Reg->EraseSection(Section);
    else if (TCustomIniFile* Ini = AsIniFile(IniFile))
        Ini->EraseSection(Section);
}

void IniDeleteKey(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident) {
    if (TRegIniFile* Reg = AsRegistry(IniFile))
        Reg->DeleteKey(Section, Ident);
    else if (TCustomIniFile* Ini = AsIniFile(IniFile))
        Ini->DeleteKey(Section, Ident);
}

void IniReadSections(TObject* IniFile, TStrings* Strings) {
    if (TRegIniFile* Reg = AsRegistry(IniFile))
        Reg->ReadSections(Strings);
    else if (TCustomIniFile* Ini = AsIniFile(IniFile))
        Ini->ReadSections(Strings);
}

AnsiString StrToIniStr(const AnsiString& Str) {
    CheckLineLength(Str);
    AnsiString Result;
    Result.reserve(Str.size());
    for (std::size_t I = 0; I < Str.size(); ++I) {
        const char C = Str[I];
        if (C == '\0') break;
        if (C == '\r' || C == '\n') {
            // CR LF and LF CR are one line break.
            const char Pair = C == '\r' ? '\n' : '\r';
            if (I + 1 < Str.size() && Str[I + 1] == Pair) ++I;
            Result += "\\n";
        } else {
            Result += C;
        }
    }
    return Result;
}

AnsiString IniStrToStr(const AnsiString& Str) {
    CheckLineLength(Str);
    AnsiString Result;
    Result.reserve(Str.size());
    for (std::size_t I = 0; I < Str.size(); ++I) {
        if (Str[I] == '\\' && I + 1 < Str.size() && Str[I + 1] == 'n') {
            Result += "\r\n";
            ++I;
        } else {
            Result += Str[I];
        }
    }
    return Result;
}

} // namespace formstore
