#pragma once
// One set of read and write calls over either kind of storage object: a
// registry key used as an INI file (TRegIniFile) or a real INI file
// (TCustomIniFile). Any other object (or none) reads as the defaults and
// ignores writes.
//
// A number text that is no number gives the default. A registry value of
// another type than text raises "Invalid data type for '%s'": a placement
// that cannot be read stops the restore, and the caller then leaves the
// stored values alone rather than save over what it could not read. Errors
// of the store itself (a damaged or unreadable file) and every write error
// reach the caller too.
#include "platform/rtl/AnsiString.h"

class TObject;
class TStrings;

namespace formstore {

AnsiString IniReadString(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident,
                         const AnsiString& Default);
// Into an INI file, a value wrapped in a pair of double quotes or a pair of
// apostrophes gets one more pair of double quotes, which the INI reader
// strips again, so it reads back as written. The registry keeps it as it is.
void IniWriteString(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident,
                    const AnsiString& Value);
// Decimal text; the default when the value is missing or no number.
int IniReadInteger(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident,
                   int Default);
void IniWriteInteger(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident,
                     int Value);
// "0" or "1"; any non-zero number reads as true.
bool IniReadBool(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident,
                 bool Default);
void IniWriteBool(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident, bool Value);
// Removes the section with its values (the registry: the section's subkey).
void IniEraseSection(TObject* IniFile, const AnsiString& Section);
void IniDeleteKey(TObject* IniFile, const AnsiString& Section, const AnsiString& Ident);
// The section names (the registry: the subkeys of the storage key).
void IniReadSections(TObject* IniFile, TStrings* Strings);

// One INI line for a text of several lines: each line break (CR LF, LF CR,
// CR or LF) becomes backslash and "n"; the text ends at its first NUL.
// More than 4096 characters raise "Line too long".
AnsiString StrToIniStr(const AnsiString& Str);
// The inverse: backslash and "n" become CR LF; the same length limit.
AnsiString IniStrToStr(const AnsiString& Str);

} // namespace formstore
