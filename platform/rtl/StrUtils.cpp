#include "platform/rtl/StrUtils.h"

#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstddef>

namespace {

unsigned char Byte(char c) {
    return static_cast<unsigned char>(c);
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

// --- UTF-8 ------------------------------------------------------------------

constexpr char32_t InvalidCodePoint = 0xFFFFFFFF;

// Decodes the code point at S[i]; a malformed sequence is one byte long and
// reported as InvalidCodePoint so the caller keeps that byte as it is.
char32_t DecodeAt(const AnsiString& S, std::size_t i, std::size_t& length) {
    const unsigned char lead = Byte(S[i]);
    length = 1;
    if (lead < 0x80) return lead;
    std::size_t extra;
    char32_t cp;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        return InvalidCodePoint;
    }
    if (i + extra >= S.size()) return InvalidCodePoint;
    for (std::size_t k = 1; k <= extra; ++k) {
        const unsigned char next = Byte(S[i + k]);
        if ((next & 0xC0) != 0x80) return InvalidCodePoint;
        cp = (cp << 6) | (next & 0x3F);
    }
    static constexpr std::array<char32_t, 4> minimum{0, 0x80, 0x800, 0x10000};
    if (cp < minimum[extra] || cp > 0x10FFFF) return InvalidCodePoint;
    length = extra + 1;
    return cp;
}

void Encode(char32_t cp, AnsiString& out) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Case pairs of the Latin, Greek and Cyrillic letters. Every pair has the
// same UTF-8 length, so case-blind searches keep byte positions.
char32_t ToUpper(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 32;
    if (c < 0xE0) return c;
    if (c <= 0xFE) return c == 0xF7 ? c : c - 0x20;
    if (c == 0xFF) return 0x178;
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
        return c & ~char32_t{1};
    if (((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) && c % 2 == 0) return c - 1;
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 0x20;
    if (c >= 0x430 && c <= 0x44F) return c - 0x20;
    if (c >= 0x450 && c <= 0x45F) return c - 0x50;
    return c;
}

char32_t ToLower(char32_t c) {
    if (c >= 'A' && c <= 'Z') return c + 32;
    if (c < 0xC0) return c;
    if (c <= 0xDE) return c == 0xD7 ? c : c + 0x20;
    if (c == 0x178) return 0xFF;
    if ((c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
        return c | 1;
    if (((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) && c % 2 == 1) return c + 1;
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
    if (c >= 0x410 && c <= 0x42F) return c + 0x20;
    if (c >= 0x400 && c <= 0x40F) return c + 0x50;
    return c;
}

template <typename Map> AnsiString MapCodePoints(const AnsiString& S, Map map) {
    AnsiString out;
    out.reserve(S.size());
    for (std::size_t i = 0; i < S.size();) {
        std::size_t length;
        const char32_t cp = DecodeAt(S, i, length);
        if (cp == InvalidCodePoint)
            out += S[i];
        else
            Encode(map(cp), out);
        i += length;
    }
    return out;
}

// --- Word-sort collation ------------------------------------------------------

// One character's weights: the letter itself (primary), its accent
// (secondary) and its case (tertiary). A primary of 0 marks a character that
// only breaks ties ('-', '\'', control characters).
struct Weight {
    std::uint32_t Primary = 0;
    std::uint32_t Secondary = 0;
    std::uint32_t Tertiary = 0;
};

constexpr std::uint32_t DigitBase = 100;
constexpr std::uint32_t LetterBase = 200;
constexpr std::uint32_t OtherBase = 0x1000;

// Punctuation and symbols in the order a word sort puts them, all before digits.
constexpr const char* SymbolOrder = " !\"#$%&()*,./:;?@[\\]^_`{|}~+<=>";
// A string sort ranks '\'' and '-' among them instead of only breaking ties.
constexpr const char* StringSortSymbolOrder = " !\"#$%&'()*,-./:;?@[\\]^_`{|}~+<=>";

std::uint32_t AsciiPrimary(unsigned char c, bool stringSort) {
    if (c < 0x20 || c == 0x7F) return 0;
    if (c >= '0' && c <= '9') return DigitBase + (c - '0');
    if (c >= 'a' && c <= 'z') return LetterBase + 2 * (c - 'a');
    if (c >= 'A' && c <= 'Z') return LetterBase + 2 * (c - 'A');
    const char* order = stringSort ? StringSortSymbolOrder : SymbolOrder;
    for (std::uint32_t k = 0; order[k] != 0; ++k)
        if (Byte(order[k]) == c) return 1 + k;
    return 0;
}

// The base letter of each Latin-1 letter from U+00C0 (0 where there is none).
constexpr const char* Latin1Base =
    "AAAAAAACEEEEIIIIDNOOOOO\0OUUUUY\0saaaaaaaceeeeiiiidnooooo\0ouuuuy\0y";

Weight WeightOf(char32_t cp, unsigned char rawByte, bool stringSort) {
    Weight w;
    if (cp == InvalidCodePoint) {
        w.Primary = 0x200000 + rawByte;
        return w;
    }
    if (cp < 0x80) {
        w.Primary = AsciiPrimary(static_cast<unsigned char>(cp), stringSort);
        w.Tertiary = (cp >= 'A' && cp <= 'Z') ? 1 : 0;
        return w;
    }
    if (cp >= 0xC0 && cp <= 0xFF && Latin1Base[cp - 0xC0] != 0) {
        const unsigned char base = Byte(Latin1Base[cp - 0xC0]);
        w.Primary = AsciiPrimary(base, stringSort);
        w.Secondary = ToLower(cp);
        w.Tertiary = (base >= 'A' && base <= 'Z') ? 1 : 0;
        return w;
    }
    const char32_t lower = ToLower(cp);
    w.Primary = OtherBase + lower;
    w.Tertiary = lower != cp ? 1 : 0;
    return w;
}

// Steps through the weighted characters of a text, skipping tie-break-only ones.
class WeightCursor {
public:
    WeightCursor(const AnsiString& s, bool stringSort) : S(s), StringSort(stringSort) {}

    bool Next(Weight& w) {
        while (I < S.size()) {
            std::size_t length;
            const char32_t cp = DecodeAt(S, I, length);
            w = WeightOf(cp, Byte(S[I]), StringSort);
            I += length;
            if (w.Primary != 0) return true;
        }
        return false;
    }

private:
    const AnsiString& S;
    std::size_t I = 0;
    bool StringSort;
};

// Compares the sequences of one weight level; shorter sequences first.
template <typename Level>
int CompareLevel(const AnsiString& a, const AnsiString& b, bool stringSort, Level level) {
    WeightCursor ca(a, stringSort), cb(b, stringSort);
    Weight wa, wb;
    for (;;) {
        const bool hasA = ca.Next(wa);
        const bool hasB = cb.Next(wb);
        if (!hasA || !hasB) return hasA ? 1 : (hasB ? -1 : 0);
        const std::uint32_t la = level(wa), lb = level(wb);
        if (la != lb) return la < lb ? -1 : 1;
    }
}

int CollatedCompare(const AnsiString& a, const AnsiString& b, bool caseSensitive,
                    bool stringSort = false) {
    if (int r = CompareLevel(a, b, stringSort, [](const Weight& w) { return w.Primary; })) return r;
    if (int r = CompareLevel(a, b, stringSort, [](const Weight& w) { return w.Secondary; }))
        return r;
    if (caseSensitive) {
        if (int r = CompareLevel(a, b, stringSort, [](const Weight& w) { return w.Tertiary; }))
            return r;
        return Sign(CompareStr(a, b));
    }
    return Sign(CompareStr(AnsiUpperCase(a), AnsiUpperCase(b)));
}

} // namespace

void AppendUtf8(AnsiString& Out, char32_t CodePoint) {
    Encode(CodePoint, Out);
}

int Pos(const AnsiString& SubStr, const AnsiString& S) {
    if (SubStr.empty()) return 0;
    const auto found = S.find(SubStr);
    return found == AnsiString::npos ? 0 : static_cast<int>(found) + 1;
}

int AnsiPos(const AnsiString& SubStr, const AnsiString& S) {
    return Pos(SubStr, S);
}

AnsiString Copy(const AnsiString& S, int Index, int Count) {
    if (Index < 1) Index = 1;
    const auto length = static_cast<long long>(S.size());
    if (Count <= 0 || Index > length) return {};
    const auto start = static_cast<std::size_t>(Index - 1);
    return S.substr(start, static_cast<std::size_t>(Count));
}

void Delete(AnsiString& S, int Index, int Count) {
    if (Index < 1 || Count <= 0 || static_cast<std::size_t>(Index) > S.size()) return;
    S.erase(static_cast<std::size_t>(Index - 1), static_cast<std::size_t>(Count));
}

void Insert(const AnsiString& Source, AnsiString& S, int Index) {
    if (Index < 1) Index = 1;
    const std::size_t at = std::min(static_cast<std::size_t>(Index - 1), S.size());
    S.insert(at, Source);
}

char CharAt(const AnsiString& S, int Index) {
    if (Index < 1 || static_cast<std::size_t>(Index) > S.size())
        throw ERangeError("String index " + std::to_string(Index) + " out of range (length " +
                          std::to_string(S.size()) + ")");
    return S[static_cast<std::size_t>(Index - 1)];
}

AnsiString TrimLeft(const AnsiString& S) {
    std::size_t i = 0;
    while (i < S.size() && Byte(S[i]) <= ' ')
        ++i;
    return S.substr(i);
}

AnsiString TrimRight(const AnsiString& S) {
    std::size_t end = S.size();
    while (end > 0 && Byte(S[end - 1]) <= ' ')
        --end;
    return S.substr(0, end);
}

AnsiString Trim(const AnsiString& S) {
    return TrimLeft(TrimRight(S));
}

AnsiString UpperCase(const AnsiString& S) {
    AnsiString out(S);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return out;
}

AnsiString LowerCase(const AnsiString& S) {
    AnsiString out(S);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return out;
}

AnsiString AnsiUpperCase(const AnsiString& S) {
    return MapCodePoints(S, ToUpper);
}
AnsiString AnsiLowerCase(const AnsiString& S) {
    return MapCodePoints(S, ToLower);
}

int CompareStr(const AnsiString& S1, const AnsiString& S2) {
    const std::size_t n = std::min(S1.size(), S2.size());
    for (std::size_t i = 0; i < n; ++i)
        if (S1[i] != S2[i]) return int{Byte(S1[i])} - int{Byte(S2[i])};
    return static_cast<int>(S1.size()) - static_cast<int>(S2.size());
}

int CompareText(const AnsiString& S1, const AnsiString& S2) {
    const std::size_t n = std::min(S1.size(), S2.size());
    for (std::size_t i = 0; i < n; ++i) {
        int a = Byte(S1[i]), b = Byte(S2[i]);
        if (a >= 'a' && a <= 'z') a -= 32;
        if (b >= 'a' && b <= 'z') b -= 32;
        if (a != b) return a - b;
    }
    return static_cast<int>(S1.size()) - static_cast<int>(S2.size());
}

bool SameText(const AnsiString& S1, const AnsiString& S2) {
    return CompareText(S1, S2) == 0;
}

int AnsiCompareStr(const AnsiString& S1, const AnsiString& S2) {
    return CollatedCompare(S1, S2, true);
}

int AnsiCompareText(const AnsiString& S1, const AnsiString& S2) {
    return CollatedCompare(S1, S2, false);
}

int AnsiCompareStrStringSort(const AnsiString& S1, const AnsiString& S2) {
    return CollatedCompare(S1, S2, true, true);
}

int AnsiCompareTextStringSort(const AnsiString& S1, const AnsiString& S2) {
    return CollatedCompare(S1, S2, false, true);
}

bool AnsiSameText(const AnsiString& S1, const AnsiString& S2) {
    return AnsiCompareText(S1, S2) == 0;
}

bool AnsiSameStr(const AnsiString& S1, const AnsiString& S2) {
    return S1 == S2;
}

AnsiString StringReplace(const AnsiString& S, const AnsiString& OldPattern,
                         const AnsiString& NewPattern, TReplaceFlags Flags) {
    if (OldPattern.empty()) return S;
    const bool ignoreCase = Flags.Contains(rfIgnoreCase);
    // Case pairs keep their byte length, so positions found in the folded
    // copies are positions in the originals.
    const AnsiString haystack = ignoreCase ? AnsiUpperCase(S) : S;
    const AnsiString needle = ignoreCase ? AnsiUpperCase(OldPattern) : OldPattern;
    AnsiString out;
    std::size_t from = 0;
    for (;;) {
        const std::size_t found = haystack.find(needle, from);
        if (found == AnsiString::npos) break;
        out.append(S, from, found - from);
        out += NewPattern;
        from = found + needle.size();
        if (!Flags.Contains(rfReplaceAll)) break;
    }
    out.append(S, from, AnsiString::npos);
    return out;
}

AnsiString QuotedStr(const AnsiString& S) {
    return AnsiQuotedStr(S, '\'');
}

AnsiString AnsiQuotedStr(const AnsiString& S, char Quote) {
    AnsiString out;
    out.reserve(S.size() + 2);
    out += Quote;
    for (char c : S) {
        out += c;
        if (c == Quote) out += Quote;
    }
    out += Quote;
    return out;
}

AnsiString AnsiExtractQuotedStr(const char*& Src, char Quote) {
    if (Src == nullptr || *Src != Quote) return {};
    AnsiString out;
    const char* p = Src + 1;
    while (*p != '\0') {
        if (*p == Quote) {
            if (p[1] != Quote) {
                ++p;
                break;
            }
            ++p;
        }
        out += *p++;
    }
    Src = p;
    return out;
}

AnsiString StringOfChar(char Ch, int Count) {
    return Count > 0 ? AnsiString(static_cast<std::size_t>(Count), Ch) : AnsiString();
}

namespace {

AnsiString HexDigits(unsigned long long value, int digits) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, 16);
    AnsiString text(buffer, result.ptr);
    for (char& c : text)
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 32);
    if (digits > static_cast<int>(text.size()))
        text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
    return text;
}

} // namespace

AnsiString IntToHex(int Value, int Digits) {
    return HexDigits(static_cast<unsigned>(Value), Digits);
}
AnsiString IntToHex(unsigned Value, int Digits) {
    return HexDigits(Value, Digits);
}
AnsiString IntToHex(long Value, int Digits) {
    return HexDigits(static_cast<unsigned long>(Value), Digits);
}
AnsiString IntToHex(unsigned long Value, int Digits) {
    return HexDigits(Value, Digits);
}
AnsiString IntToHex(long long Value, int Digits) {
    return HexDigits(static_cast<unsigned long long>(Value), Digits);
}
AnsiString IntToHex(unsigned long long Value, int Digits) {
    return HexDigits(Value, Digits);
}

int LastDelimiter(const AnsiString& Delimiters, const AnsiString& S) {
    const auto found = S.find_last_of(Delimiters);
    return found == AnsiString::npos ? 0 : static_cast<int>(found) + 1;
}

bool IsDelimiter(const AnsiString& Delimiters, const AnsiString& S, int Index) {
    if (Index < 1 || static_cast<std::size_t>(Index) > S.size()) return false;
    return Delimiters.find(S[static_cast<std::size_t>(Index - 1)]) != AnsiString::npos;
}

AnsiString AdjustLineBreaks(const AnsiString& S, TTextLineBreakStyle Style) {
    const char* lineBreak = Style == tlbsCRLF ? "\r\n" : "\n";
    AnsiString out;
    out.reserve(S.size() + S.size() / 16);
    for (std::size_t i = 0; i < S.size(); ++i) {
        const char c = S[i];
        if (c != '\r' && c != '\n') {
            out += c;
            continue;
        }
        // A CR LF or LF CR pair is one break.
        const char partner = c == '\r' ? '\n' : '\r';
        if (i + 1 < S.size() && S[i + 1] == partner) ++i;
        out += lineBreak;
    }
    return out;
}
