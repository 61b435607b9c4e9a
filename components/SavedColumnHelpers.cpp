#include "components/SavedColumnHelpers.h"

#include "components/ExtractWord.h"
#include "platform/rtl/FloatFormat.h"

namespace components {

std::vector<int> ParseIntegerList(const AnsiString& S) {
    const TSysCharSet delims{',', ' '};
    const auto isDelimiter = [&](char c) {
        return static_cast<unsigned char>(c) < 128 && delims.Contains(c);
    };
    std::vector<int> numbers;
    // Word by word in one pass: asking for word 1, 2, 3 ... afresh would walk
    // a long stored list again for every number.
    std::size_t i = 0;
    for (;;) {
        while (i < S.size() && isDelimiter(S[i]))
            ++i;
        const std::size_t start = i;
        while (i < S.size() && !isDelimiter(S[i]))
            ++i;
        int number = 0;
        // The empty word after the last one ends the list as a bad word does.
        if (!TryStrToInt(S.substr(start, i - start), number)) return numbers;
        numbers.push_back(number);
    }
}

} // namespace components
