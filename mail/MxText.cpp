#include "mail/MxText.h"

#include "platform/rtl/StrUtils.h"
#include "platform/rtl/StringList.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace mail {

AnsiString FetchText(AnsiString& AInput, const AnsiString& ADelim, bool ADelete,
                     bool ACaseSensitive) {
    // The system code page is UTF-8, which never matches a character in the
    // middle of another one, so a byte search is also the multibyte search.
    std::size_t pos = AnsiString::npos;
    if (!ADelim.empty()) {
        pos = ACaseSensitive ? AInput.find(ADelim) : UpperCase(AInput).find(UpperCase(ADelim));
    }
    if (pos == AnsiString::npos) {
        AnsiString result = AInput;
        if (ADelete) AInput.clear();
        return result;
    }
    AnsiString result = AInput.substr(0, pos);
    if (ADelete) AInput.erase(0, pos + ADelim.size());
    return result;
}

int IndexInTextArray(const AnsiString& AText, std::span<const AnsiString> AArray,
                     bool ACaseSensitive) {
    for (std::size_t i = 0; i < AArray.size(); ++i) {
        const bool equal = ACaseSensitive ? AArray[i] == AText : SameText(AArray[i], AText);
        if (equal) return static_cast<int>(i);
    }
    return -1;
}

void SplitCommaList(TStrings* AStrings, const AnsiString& AText) {
    AStrings->Clear();
    AnsiString piece;
    bool inQuotes = false;
    auto flush = [&] {
        AnsiString trimmed = Trim(piece);
        if (!trimmed.empty()) AStrings->Add(trimmed);
        piece.clear();
        inQuotes = false;
    };
    for (char c : AText) {
        if (c == ',' && !inQuotes) {
            flush();
            continue;
        }
        if (c == '"') inQuotes = !inQuotes;
        piece += c;
    }
    flush();
}

int MemoryPos(const AnsiString& ASubText, const void* ABlock, std::size_t ASize) {
    if (ASubText.empty() || ASubText.size() > ASize) return 0;
    const char* begin = static_cast<const char*>(ABlock);
    const char* end = begin + ASize;
    const char* hit = std::search(begin, end, ASubText.begin(), ASubText.end());
    return hit == end ? 0 : static_cast<int>(hit - begin) + 1;
}

int PosFrom(const AnsiString& ASubText, const AnsiString& AText, int AStart) {
    if (ASubText.empty()) return 0;
    const std::size_t from = AStart < 2 ? 0 : static_cast<std::size_t>(AStart - 1);
    if (from >= AText.size()) return 0;
    const std::size_t pos = AText.find(ASubText, from);
    return pos == AnsiString::npos ? 0 : static_cast<int>(pos) + 1;
}

int MinInt(int A, int B) {
    return A < B ? A : B;
}

int LocaleCharsetCodeOf(const AnsiString& ALocaleName) {
    const AnsiString name = LowerCase(ALocaleName);
    const AnsiString language = name.substr(0, name.find_first_of("_.@"));
    if (language == "zh") {
        // Simplified Chinese is the mainland's locale; the other Chinese
        // locales (Taiwan, Hong Kong, Singapore, Macau) form the second family.
        const AnsiString territory = name.size() > 3 && name[2] == '_' ? name.substr(3, 2) : "";
        return territory == "cn" ? 0 : 1;
    }
    if (language == "ja") return 2;
    if (language == "ko") return 3;
    return 4;
}

int LocaleCharsetCode() {
    // The environment's precedence for the character-type category.
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return LocaleCharsetCodeOf(value);
    }
    return 4;
}

} // namespace mail
