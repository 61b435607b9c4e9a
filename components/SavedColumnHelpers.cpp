#include "components/SavedColumnHelpers.h"

#include "components/ExtractWord.h"
#include "platform/rtl/FloatFormat.h"

namespace components {

std::vector<AnsiString> ListWords(const AnsiString& S) {
    const TSysCharSet delims{',', ' '};
    const auto isDelimiter = [&](char c) {
        return static_cast<unsigned char>(c) < 128 && delims.Contains(c);
    };
    // Word by word in one pass: asking for word 1, 2, 3 ... afresh would walk
    // a long stored list again for every word.
    std::vector<AnsiString> words;
    std::size_t i = 0;
    for (;;) {
        while (i < S.size() && isDelimiter(S[i]))
            ++i;
        if (i == S.size()) return words;
        const std::size_t start = i;
        while (i < S.size() && !isDelimiter(S[i]))
            ++i;
        words.push_back(S.substr(start, i - start));
    }
}

std::vector<int> ParseIntegerList(const AnsiString& S) {
    std::vector<int> numbers;
    // The first word that is no integer ends the list.
    for (const AnsiString& word : ListWords(S)) {
        int number = 0;
        if (!TryStrToInt(word, number)) break;
        numbers.push_back(number);
    }
    return numbers;
}

} // namespace components
