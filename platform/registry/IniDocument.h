#pragma once
// The lines of an INI file and the edits made on them. Every line the file
// had is kept (comments, blank lines, lines that are not entries); an edit
// touches only the lines it changes. Section and key names compare without
// case. Lines before the first section header belong to no section.
#include "platform/rtl/AnsiString.h"

#include <vector>

class TStrings;

namespace ini_file {

class TIniDocument {
public:
    static TIniDocument Parse(const AnsiString& Text);
    // Every line with its line break, in the break style the file used.
    AnsiString Text() const;

    // The text after '=' with the blanks around it removed, from the first
    // matching entry of the first matching section.
    bool ReadValue(const AnsiString& Section, const AnsiString& Ident, AnsiString& Value) const;
    // These give true when the text changed.
    bool WriteValue(const AnsiString& Section, const AnsiString& Ident, const AnsiString& Value);
    bool EraseSection(const AnsiString& Section);
    bool DeleteKey(const AnsiString& Section, const AnsiString& Ident);

    // Each name once, in file order; Strings is not cleared.
    void SectionNames(TStrings* Strings) const;
    void KeyNames(const AnsiString& Section, TStrings* Strings) const;

private:
    struct TRange {
        std::size_t Header, End; // header line, and one past the section's last line
    };
    std::vector<TRange> Sections(const AnsiString& Section) const;

    std::vector<AnsiString> Lines;
    bool CRLF = false;
};

} // namespace ini_file
