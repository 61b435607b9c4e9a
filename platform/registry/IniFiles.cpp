#include "platform/registry/IniFiles.h"

#include "platform/rtl/UserFolders.h"
#include "platform/registry/IniDocument.h"
#include "platform/registry/SafeFile.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StringList.h"

namespace {

// An INI file is a small settings file; anything larger is not one.
constexpr std::size_t MaxIniSize = 16u << 20;

bool HasLineBreak(const AnsiString& text) {
    return text.find_first_of("\r\n") != AnsiString::npos;
}

} // namespace

bool TCustomIniFile::SectionExists(const AnsiString& Section) {
    TStringList names;
    ReadSection(Section, &names);
    return names.Count() > 0;
}

bool TCustomIniFile::ValueExists(const AnsiString& Section, const AnsiString& Ident) {
    TStringList names;
    ReadSection(Section, &names);
    return names.IndexOf(Ident) >= 0;
}

int TCustomIniFile::ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default) {
    AnsiString text = ReadString(Section, Ident, "");
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text = "$" + text.substr(2);
    return StrToIntDef(text, Default);
}

void TCustomIniFile::WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value) {
    WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default) {
    return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value) {
    WriteString(Section, Ident, Value ? "1" : "0");
}

double TCustomIniFile::ReadFloat(const AnsiString& Section, const AnsiString& Ident,
                                 double Default) {
    const AnsiString text = ReadString(Section, Ident, "");
    double value = Default;
    if (!text.empty() && TryStrToFloat(text, value)) return value;
    return Default;
}

void TCustomIniFile::WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value) {
    WriteString(Section, Ident, FloatToStr(Value));
}

TIniFile::TIniFile(const AnsiString& FileName)
    : TCustomIniFile(FileName),
      FPath(FileName.find('/') == AnsiString::npos ? ConfigFolder() + "/" + FileName : FileName) {}

TIniFile::~TIniFile() = default;

const ini_file::TIniDocument& TIniFile::Current() {
    try {
        FDocument = std::make_unique<ini_file::TIniDocument>(
            ini_file::TIniDocument::Parse(ReadWholeFile(FPath, MaxIniSize).Data));
    } catch (const EInOutError& error) {
        throw EIniFileException(error.Message);
    }
    return *FDocument;
}

template <typename Edit> void TIniFile::Change(Edit&& edit) {
    try {
        if (FileName().find('/') == AnsiString::npos) ForceConfigFolder(ConfigFolder());
        const AnsiString target = WriteTarget(FPath);
        TFileLock lock(target);
        ini_file::TIniDocument document =
            ini_file::TIniDocument::Parse(ReadWholeFile(target, MaxIniSize).Data);
        if (!edit(document)) return;
        ReplaceFile(target, document.Text(), 0666);
    } catch (const EInOutError& error) {
        throw EIniFileException(error.Message);
    }
}

AnsiString TIniFile::ReadString(const AnsiString& Section, const AnsiString& Ident,
                                const AnsiString& Default) {
    AnsiString value;
    if (!Current().ReadValue(Section, Ident, value)) return Default;
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

void TIniFile::WriteString(const AnsiString& Section, const AnsiString& Ident,
                           const AnsiString& Value) {
    const auto refuse = [&](const AnsiString& what) {
        throw EIniFileException("Cannot write [" + Section + "] " + Ident + " to " + FPath + ": " +
                                what);
    };
    if (HasLineBreak(Section) || Section.find(']') != AnsiString::npos)
        refuse("a section name cannot hold ']' or a line break");
    if (HasLineBreak(Ident) || Ident.find('=') != AnsiString::npos)
        refuse("a value name cannot hold '=' or a line break");
    if (HasLineBreak(Value)) refuse("a value cannot hold a line break");
    Change([&](ini_file::TIniDocument& document) {
        return document.WriteValue(Section, Ident, Value);
    });
}

void TIniFile::ReadSection(const AnsiString& Section, TStrings* Strings) {
    Strings->Clear();
    Current().KeyNames(Section, Strings);
}

void TIniFile::ReadSections(TStrings* Strings) {
    Strings->Clear();
    Current().SectionNames(Strings);
}

void TIniFile::ReadSectionValues(const AnsiString& Section, TStrings* Strings) {
    TStringList names;
    ReadSection(Section, &names);
    Strings->Clear();
    for (int i = 0; i < names.Count(); ++i)
        Strings->Add(names[i] + "=" + ReadString(Section, names[i], ""));
}

void TIniFile::EraseSection(const AnsiString& Section) {
    Change([&](ini_file::TIniDocument& document) { return document.EraseSection(Section); });
}

void TIniFile::DeleteKey(const AnsiString& Section, const AnsiString& Ident) {
    Change([&](ini_file::TIniDocument& document) { return document.DeleteKey(Section, Ident); });
}
