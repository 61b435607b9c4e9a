#include "alert/store/SqlHelpers.h"

#include <array>
#include <utility>

AnsiString ReplaceAll(const AnsiString& Source, const AnsiString& Pattern,
                      const AnsiString& Replacement) {
    if (Pattern.empty()) return Source;
    AnsiString result;
    result.reserve(Source.size());
    std::size_t from = 0;
    for (std::size_t at = Source.find(Pattern); at != AnsiString::npos;
         at = Source.find(Pattern, from)) {
        result.append(Source, from, at - from);
        result += Replacement;
        from = at + Pattern.size();
    }
    result.append(Source, from, AnsiString::npos);
    return result;
}

AnsiString QuoteSqlString(const AnsiString& Value) {
    // Each of these closes the literal, concatenates the character by its
    // code and opens a new literal; the apostrophes put in here are the
    // literal's own and must not be doubled, so they come after the doubling.
    static const std::array<std::pair<AnsiString, AnsiString>, 4> spelt{{
        {":", "'||CHAR(58)||'"},
        {"\r", "'||CHAR(13)||'"},
        {"\n", "'||CHAR(10)||'"},
        {AnsiString(1, '\0'), "'||CHAR(0)||'"},
    }};
    AnsiString text = ReplaceAll(Value, "'", "''");
    for (const auto& [character, spelling] : spelt)
        text = ReplaceAll(text, character, spelling);
    return "'" + text + "'";
}
