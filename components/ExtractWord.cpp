#include "components/ExtractWord.h"

namespace components {

namespace {

bool IsDelimiter(char c, const TSysCharSet& delims) {
    return static_cast<unsigned char>(c) < 128 && delims.Contains(c);
}

} // namespace

int GetWordPosition(int N, const AnsiString& S, const TSysCharSet& WordDelims) {
    if (N < 1) return 0;
    const std::size_t length = S.size();
    std::size_t i = 0;
    int count = 0;
    while (i < length) {
        while (i < length && IsDelimiter(S[i], WordDelims))
            ++i;
        if (i >= length) break;
        if (++count == N) return static_cast<int>(i) + 1;
        while (i < length && !IsDelimiter(S[i], WordDelims))
            ++i;
    }
    return 0;
}

AnsiString GetWord(int N, const AnsiString& S, const TSysCharSet& WordDelims) {
    const int position = GetWordPosition(N, S, WordDelims);
    if (position == 0) return {};
    std::size_t end = static_cast<std::size_t>(position) - 1;
    while (end < S.size() && !IsDelimiter(S[end], WordDelims))
        ++end;
    return S.substr(static_cast<std::size_t>(position) - 1, end - (position - 1));
}

} // namespace components
