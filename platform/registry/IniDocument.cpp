#include "platform/registry/IniDocument.h"

#include "platform/rtl/StrUtils.h"
#include "platform/rtl/StringList.h"

namespace ini_file {

namespace {

AnsiString Blankless(const AnsiString& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == AnsiString::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

bool SameName(const AnsiString& a, const AnsiString& b) {
    return AnsiUpperCase(a) == AnsiUpperCase(b);
}

bool IsSectionHeader(const AnsiString& line, AnsiString& name) {
    const AnsiString text = Blankless(line);
    if (text.empty() || text.front() != '[') return false;
    const auto close = text.find(']');
    if (close == AnsiString::npos) return false;
    name = Blankless(text.substr(1, close - 1));
    return true;
}

bool IsEntry(const AnsiString& line, AnsiString& key, AnsiString& value) {
    const AnsiString text = Blankless(line);
    if (text.empty() || text.front() == ';' || text.front() == '[') return false;
    const auto equals = text.find('=');
    if (equals == AnsiString::npos) return false;
    key = Blankless(text.substr(0, equals));
    value = Blankless(text.substr(equals + 1));
    return true;
}

bool Contains(const TStrings* strings, const AnsiString& name) {
    for (int i = 0; i < strings->Count(); ++i)
        if (SameName(strings->Strings(i), name)) return true;
    return false;
}

} // namespace

TIniDocument TIniDocument::Parse(const AnsiString& Text) {
    TIniDocument document;
    const auto firstBreak = Text.find('\n');
    document.CRLF =
        firstBreak != AnsiString::npos && firstBreak > 0 && Text[firstBreak - 1] == '\r';
    std::size_t start = 0;
    while (start < Text.size()) {
        std::size_t end = Text.find('\n', start);
        if (end == AnsiString::npos) end = Text.size();
        AnsiString line = Text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        document.Lines.push_back(std::move(line));
        start = end + 1;
    }
    return document;
}

AnsiString TIniDocument::Text() const {
    const char* lineBreak = CRLF ? "\r\n" : "\n";
    AnsiString text;
    for (const AnsiString& line : Lines)
        text += line + lineBreak;
    return text;
}

std::vector<TIniDocument::TRange> TIniDocument::Sections(const AnsiString& Section) const {
    std::vector<TRange> ranges;
    bool inside = false;
    for (std::size_t i = 0; i < Lines.size(); ++i) {
        AnsiString name;
        if (!IsSectionHeader(Lines[i], name)) continue;
        if (inside) ranges.back().End = i;
        inside = SameName(name, Section);
        if (inside) ranges.push_back(TRange{i, Lines.size()});
    }
    return ranges;
}

bool TIniDocument::ReadValue(const AnsiString& Section, const AnsiString& Ident,
                             AnsiString& Value) const {
    const auto ranges = Sections(Section);
    if (ranges.empty()) return false;
    for (std::size_t i = ranges.front().Header + 1; i < ranges.front().End; ++i) {
        AnsiString key, value;
        if (IsEntry(Lines[i], key, value) && SameName(key, Ident)) {
            Value = value;
            return true;
        }
    }
    return false;
}

bool TIniDocument::WriteValue(const AnsiString& Section, const AnsiString& Ident,
                              const AnsiString& Value) {
    const auto ranges = Sections(Section);
    if (ranges.empty()) {
        if (!Lines.empty() && !Blankless(Lines.back()).empty()) Lines.emplace_back();
        Lines.push_back("[" + Section + "]");
        Lines.push_back(Ident + "=" + Value);
        return true;
    }
    const TRange range = ranges.front();
    std::size_t lastContent = range.Header;
    for (std::size_t i = range.Header + 1; i < range.End; ++i) {
        AnsiString key, value;
        if (IsEntry(Lines[i], key, value) && SameName(key, Ident)) {
            // The key keeps the spelling it has in the file.
            const AnsiString line = key + "=" + Value;
            if (Lines[i] == line) return false;
            Lines[i] = line;
            return true;
        }
        if (!Blankless(Lines[i]).empty()) lastContent = i;
    }
    Lines.insert(Lines.begin() + static_cast<long>(lastContent) + 1, Ident + "=" + Value);
    return true;
}

bool TIniDocument::EraseSection(const AnsiString& Section) {
    const auto ranges = Sections(Section);
    for (auto range = ranges.rbegin(); range != ranges.rend(); ++range)
        Lines.erase(Lines.begin() + static_cast<long>(range->Header),
                    Lines.begin() + static_cast<long>(range->End));
    return !ranges.empty();
}

bool TIniDocument::DeleteKey(const AnsiString& Section, const AnsiString& Ident) {
    // Every copy goes, so that no later duplicate shows through.
    bool changed = false;
    const auto ranges = Sections(Section);
    for (auto range = ranges.rbegin(); range != ranges.rend(); ++range)
        for (std::size_t i = range->End; i-- > range->Header + 1;) {
            AnsiString key, value;
            if (IsEntry(Lines[i], key, value) && SameName(key, Ident)) {
                Lines.erase(Lines.begin() + static_cast<long>(i));
                changed = true;
            }
        }
    return changed;
}

void TIniDocument::SectionNames(TStrings* Strings) const {
    for (const AnsiString& line : Lines) {
        AnsiString name;
        if (IsSectionHeader(line, name) && !Contains(Strings, name)) Strings->Add(name);
    }
}

void TIniDocument::KeyNames(const AnsiString& Section, TStrings* Strings) const {
    const auto ranges = Sections(Section);
    if (ranges.empty()) return;
    for (std::size_t i = ranges.front().Header + 1; i < ranges.front().End; ++i) {
        AnsiString key, value;
        if (IsEntry(Lines[i], key, value) && !Contains(Strings, key)) Strings->Add(key);
    }
}

} // namespace ini_file
