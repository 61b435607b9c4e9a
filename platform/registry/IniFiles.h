#pragma once
// TCustomIniFile: the INI interface shared by the file kinds, with the typed
// reads and writes built on the string ones. TIniFile: a real INI file,
// "[Section]" headers and "Ident=Value" lines. A file name without a folder
// lives in the configuration folder. Every write goes to the file at once,
// replacing it whole under its lock after a fresh read, so the file is never
// left half written and two processes keep each other's changes; everything
// else in the file (comments, other lines) stays as it was.
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Object.h"

#include <memory>

class TStrings;
namespace ini_file {
class TIniDocument;
}

RTL_DECLARE_EXCEPTION(EIniFileException, Exception);

class TCustomIniFile : public TObject {
public:
    explicit TCustomIniFile(const AnsiString& FileName) : FFileName(FileName) {}
    AnsiString ClassName() const override { return "TCustomIniFile"; }

    AnsiString FileName() const { return FFileName; }

    // A section exists while it holds at least one value.
    virtual bool SectionExists(const AnsiString& Section);
    virtual bool ValueExists(const AnsiString& Section, const AnsiString& Ident);

    virtual AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident,
                                  const AnsiString& Default) = 0;
    virtual void WriteString(const AnsiString& Section, const AnsiString& Ident,
                             const AnsiString& Value) = 0;
    // Decimal, "$" or "0x" hexadecimal; Default for a missing or malformed value.
    virtual int ReadInteger(const AnsiString& Section, const AnsiString& Ident, int Default);
    virtual void WriteInteger(const AnsiString& Section, const AnsiString& Ident, int Value);
    // Any non-zero integer is true; written as "0" or "1".
    virtual bool ReadBool(const AnsiString& Section, const AnsiString& Ident, bool Default);
    virtual void WriteBool(const AnsiString& Section, const AnsiString& Ident, bool Value);
    // In the process's number format; Default for a missing or malformed value.
    virtual double ReadFloat(const AnsiString& Section, const AnsiString& Ident, double Default);
    virtual void WriteFloat(const AnsiString& Section, const AnsiString& Ident, double Value);

    // Fill Strings (cleared first) with the names of a section's values / the
    // section names / "Ident=Value" lines of a section.
    virtual void ReadSection(const AnsiString& Section, TStrings* Strings) = 0;
    virtual void ReadSections(TStrings* Strings) = 0;
    virtual void ReadSectionValues(const AnsiString& Section, TStrings* Strings) = 0;
    virtual void EraseSection(const AnsiString& Section) = 0;
    virtual void DeleteKey(const AnsiString& Section, const AnsiString& Ident) = 0;
    // Brings the file up to date with every write made.
    virtual void UpdateFile() = 0;

private:
    AnsiString FFileName;
};

class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(const AnsiString& FileName);
    ~TIniFile() override;
    AnsiString ClassName() const override { return "TIniFile"; }

    // A value in one pair of matching quotes ("..." or '...') reads without them.
    AnsiString ReadString(const AnsiString& Section, const AnsiString& Ident,
                          const AnsiString& Default) override;
    // A section name with ']' or a line break, a name with '=' or a line
    // break, or a value with a line break would change the file's structure:
    // they raise EIniFileException and nothing is written.
    void WriteString(const AnsiString& Section, const AnsiString& Ident,
                     const AnsiString& Value) override;
    void ReadSection(const AnsiString& Section, TStrings* Strings) override;
    void ReadSections(TStrings* Strings) override;
    void ReadSectionValues(const AnsiString& Section, TStrings* Strings) override;
    void EraseSection(const AnsiString& Section) override;
    void DeleteKey(const AnsiString& Section, const AnsiString& Ident) override;
    // Writes are made at once, so there is nothing left to write.
    void UpdateFile() override {}

    // The file the object reads and writes.
    AnsiString Path() const { return FPath; }

private:
    // The file as it stands now, read afresh (another process may have changed it).
    const ini_file::TIniDocument& Current();
    template <typename Edit> void Change(Edit&& edit);

    AnsiString FPath;
    std::unique_ptr<ini_file::TIniDocument> FDocument;
};
