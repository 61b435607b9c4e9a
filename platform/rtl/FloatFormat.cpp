#include "platform/rtl/FloatFormat.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string_view>
#include <vector>

namespace {

// --- Integers ---------------------------------------------------------------

// Reads an integer of the given width. Decimal values must fit the signed
// range; hexadecimal ones may use the whole unsigned range and wrap.
bool ParseInteger(const AnsiString& S, int bits, std::int64_t& value) {
    std::size_t i = 0;
    while (i < S.size() && S[i] == ' ')
        ++i;
    bool negative = false;
    if (i < S.size() && (S[i] == '-' || S[i] == '+')) negative = S[i++] == '-';
    bool hex = false;
    if (i < S.size() && S[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < S.size() && S[i] == '0' && (S[i + 1] == 'x' || S[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == S.size()) return false;
    const std::uint64_t signedMax = bits == 32 ? 0x7FFFFFFFull : 0x7FFFFFFFFFFFFFFFull;
    const std::uint64_t limit =
        hex ? (bits == 32 ? 0xFFFFFFFFull : ~0ull) : signedMax + (negative ? 1 : 0);
    const unsigned base = hex ? 16 : 10;
    std::uint64_t magnitude = 0;
    for (; i < S.size(); ++i) {
        const char c = S[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<unsigned>(c - '0');
        else if (hex && c >= 'a' && c <= 'f')
            digit = static_cast<unsigned>(c - 'a' + 10);
        else if (hex && c >= 'A' && c <= 'F')
            digit = static_cast<unsigned>(c - 'A' + 10);
        else
            return false;
        if (magnitude > (limit - digit) / base) return false;
        magnitude = magnitude * base + digit;
    }
    if (negative) magnitude = 0 - magnitude;
    if (bits == 32)
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
    else
        value = static_cast<std::int64_t>(magnitude);
    return true;
}

[[noreturn]] void RaiseInteger(const AnsiString& S) {
    throw EConvertError("'" + S + "' is not a valid integer value");
}

// --- Decimal digits of a value --------------------------------------------------

// A value as significant decimal digits: 0.Digits x 10^Exponent. Zero has no
// digits; trailing zeros are never kept.
struct TFloatRec {
    int Exponent = 0;
    bool Negative = false;
    bool Nan = false;
    bool Infinite = false;
    std::string Digits;

    bool IsZero() const { return Digits.empty() && !Nan && !Infinite; }
    bool IsSpecial() const { return Nan || Infinite; }
};

void MakeZero(TFloatRec& rec) {
    rec.Digits.clear();
    rec.Exponent = 0;
    rec.Negative = false;
}

// Keeps at most Precision significant digits and at most Decimals digits
// after the point, rounding halves away from zero on the digit text.
void RoundDigits(TFloatRec& rec, int precision, int decimals) {
    const long long count =
        std::min<long long>(precision, static_cast<long long>(rec.Exponent) + decimals);
    if (count < 0) {
        MakeZero(rec);
        return;
    }
    const auto keep = static_cast<std::size_t>(count);
    if (keep < rec.Digits.size()) {
        const bool up = rec.Digits[keep] >= '5';
        rec.Digits.resize(keep);
        if (up) {
            std::size_t i = keep;
            while (i > 0 && rec.Digits[i - 1] == '9')
                rec.Digits[--i] = '0';
            if (i == 0) {
                rec.Digits.insert(rec.Digits.begin(), '1');
                ++rec.Exponent;
            } else {
                ++rec.Digits[i - 1];
            }
        }
    }
    while (!rec.Digits.empty() && rec.Digits.back() == '0')
        rec.Digits.pop_back();
    if (rec.Digits.empty()) MakeZero(rec);
}

constexpr int MaxDoublePrecision = 18;
constexpr int MaxCurrencyPrecision = 19;

TFloatRec Decimal(double value, int precision, int decimals) {
    TFloatRec rec;
    if (std::isnan(value)) {
        rec.Nan = true;
        return rec;
    }
    if (std::isinf(value)) {
        rec.Infinite = true;
        rec.Negative = value < 0;
        return rec;
    }
    if (value == 0.0) return rec;
    rec.Negative = value < 0;
    // 18 correctly rounded significant digits: "d.ddddddddddddddddde+XX".
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17e", std::fabs(value));
    rec.Digits.assign(1, buffer[0]);
    rec.Digits.append(buffer + 2, 17);
    rec.Exponent = std::atoi(buffer + 20) + 1;
    RoundDigits(rec, std::clamp(precision, 1, MaxDoublePrecision), decimals);
    return rec;
}

TFloatRec Decimal(const Currency& value, int precision, int decimals) {
    TFloatRec rec;
    if (value.Val == 0) return rec;
    rec.Negative = value.Val < 0;
    const std::uint64_t magnitude = rec.Negative ? 0 - static_cast<std::uint64_t>(value.Val)
                                                 : static_cast<std::uint64_t>(value.Val);
    rec.Digits = std::to_string(magnitude);
    rec.Exponent = static_cast<int>(rec.Digits.size()) - 4;
    RoundDigits(rec, std::clamp(precision, 1, MaxCurrencyPrecision), decimals);
    return rec;
}

// --- FloatToText ---------------------------------------------------------------

constexpr int NoDecimalLimit = 9999;

AnsiString SpecialText(const TFloatRec& rec) {
    if (rec.Nan) return "NAN";
    return rec.Negative ? "-INF" : "INF";
}

AnsiString ExponentText(int exponent, bool alwaysSign, int minDigits) {
    AnsiString text = "E";
    if (exponent < 0)
        text += '-';
    else if (alwaysSign)
        text += '+';
    AnsiString digits = std::to_string(std::abs(exponent));
    if (static_cast<int>(digits.size()) < minDigits)
        digits.insert(0, static_cast<std::size_t>(minDigits) - digits.size(), '0');
    return text + digits;
}

char DigitAt(const TFloatRec& rec, long long index) {
    return index >= 0 && index < static_cast<long long>(rec.Digits.size())
               ? rec.Digits[static_cast<std::size_t>(index)]
               : '0';
}

AnsiString GeneralText(const TFloatRec& rec, int precision, int expDigits) {
    if (rec.IsZero()) return "0";
    const char sep = FormatSettings().DecimalSeparator;
    AnsiString text = rec.Negative ? "-" : "";
    if (rec.Exponent > precision || rec.Exponent < -3) {
        text += rec.Digits[0];
        if (rec.Digits.size() > 1) {
            text += sep;
            text.append(rec.Digits, 1);
        }
        return text + ExponentText(rec.Exponent - 1, false, std::clamp(expDigits, 0, 4));
    }
    if (rec.Exponent <= 0) {
        text += '0';
        text += sep;
        text.append(static_cast<std::size_t>(-rec.Exponent), '0');
        return text + rec.Digits;
    }
    for (int i = 0; i < rec.Exponent; ++i)
        text += DigitAt(rec, i);
    if (static_cast<int>(rec.Digits.size()) > rec.Exponent) {
        text += sep;
        text.append(rec.Digits, static_cast<std::size_t>(rec.Exponent));
    }
    return text;
}

AnsiString ExponentFormText(const TFloatRec& rec, int precision, int expDigits) {
    AnsiString text = rec.Negative ? "-" : "";
    text += DigitAt(rec, 0);
    if (precision > 1) {
        text += FormatSettings().DecimalSeparator;
        for (int i = 1; i < precision; ++i)
            text += DigitAt(rec, i);
    }
    const int exponent = rec.IsZero() ? 0 : rec.Exponent - 1;
    return text + ExponentText(exponent, true, std::clamp(expDigits, 0, 4));
}

void InsertThousands(AnsiString& integerPart) {
    const char sep = FormatSettings().ThousandSeparator;
    if (sep == '\0') return;
    for (auto at = static_cast<long long>(integerPart.size()) - 3; at > 0; at -= 3)
        integerPart.insert(static_cast<std::size_t>(at), 1, sep);
}

AnsiString ApplyCurrencyLayout(const AnsiString& number, bool negative) {
    static constexpr std::array<const char*, 4> positive{"$1", "1$", "$ 1", "1 $"};
    static constexpr std::array<const char*, 16> negativeLayouts{
        "($1)", "-$1",  "$-1",  "$1-",  "(1$)", "-1$",  "1-$",   "1$-",
        "-1 $", "-$ 1", "1 $-", "$ 1-", "$ -1", "1- $", "($ 1)", "(1 $)"};
    const TFormatSettings& settings = FormatSettings();
    const char* layout =
        negative ? negativeLayouts[static_cast<unsigned char>(settings.NegCurrFormat) % 16]
                 : positive[static_cast<unsigned char>(settings.CurrencyFormat) % 4];
    AnsiString text;
    for (const char* p = layout; *p != '\0'; ++p) {
        if (*p == '$')
            text += settings.CurrencyString;
        else if (*p == '1')
            text += number;
        else
            text += *p;
    }
    return text;
}

AnsiString FixedText(const TFloatRec& rec, TFloatFormat format, int decimals) {
    AnsiString integerPart;
    if (rec.Exponent <= 0)
        integerPart = "0";
    else
        for (int i = 0; i < rec.Exponent; ++i)
            integerPart += DigitAt(rec, i);
    if (format != ffFixed) InsertThousands(integerPart);
    AnsiString number = integerPart;
    if (decimals > 0) {
        number += FormatSettings().DecimalSeparator;
        for (int j = 0; j < decimals; ++j)
            number += DigitAt(rec, static_cast<long long>(rec.Exponent) + j);
    }
    if (format == ffCurrency) return ApplyCurrencyLayout(number, rec.Negative);
    return rec.Negative ? "-" + number : number;
}

// Formats what `decimal(precision, decimals)` gives for a value.
template <typename Decimalize>
AnsiString FloatToTextOf(Decimalize decimal, TFloatFormat format, int precision, int digits,
                         int maxPrecision) {
    precision = std::clamp(precision, 1, maxPrecision);
    switch (format) {
    case TFloatFormat::ffGeneral: {
        const TFloatRec rec = decimal(precision, NoDecimalLimit);
        return rec.IsSpecial() ? SpecialText(rec) : GeneralText(rec, precision, digits);
    }
    case TFloatFormat::ffExponent: {
        const TFloatRec rec = decimal(precision, NoDecimalLimit);
        return rec.IsSpecial() ? SpecialText(rec) : ExponentFormText(rec, precision, digits);
    }
    case TFloatFormat::ffFixed:
    case TFloatFormat::ffNumber:
    case TFloatFormat::ffCurrency: {
        digits = std::clamp(digits, 0, 18);
        const TFloatRec rec = decimal(precision, digits);
        if (rec.IsSpecial()) return SpecialText(rec);
        if (rec.Exponent > precision)
            return GeneralText(decimal(precision, NoDecimalLimit), precision, 0);
        return FixedText(rec, format, digits);
    }
    }
    return {};
}

// --- FormatFloat -------------------------------------------------------------

// What one section of a format string asks for.
struct SectionLayout {
    int DigitCount = 0;    // all 0 and # placeholders
    int DecimalIndex = -1; // placeholders before the decimal point
    int FirstDigit = 0;    // forced integer digits (from the first 0 to the point)
    int LastDigit = 0;     // forced decimals (from the point to the last 0)
    bool ThousandSep = false;
    bool Scientific = false;
};

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

// Index of the closing quote of the literal opening at `open` (or the end).
std::size_t SkipLiteral(std::string_view s, std::size_t open) {
    const std::size_t close = s.find(s[open], open + 1);
    return close == std::string_view::npos ? s.size() : close;
}

bool IsExponentAt(std::string_view s, std::size_t i) {
    return (s[i] == 'E' || s[i] == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-');
}

// The sections "positive;negative;zero"; a ';' inside a literal is text.
std::vector<std::string_view> SplitSections(std::string_view format) {
    std::vector<std::string_view> sections;
    std::size_t start = 0;
    for (std::size_t i = 0; i < format.size() && sections.size() < 3; ++i) {
        if (IsQuote(format[i])) {
            i = SkipLiteral(format, i);
        } else if (format[i] == ';') {
            sections.push_back(format.substr(start, i - start));
            start = i + 1;
        }
    }
    if (sections.size() < 3) sections.push_back(format.substr(std::min(start, format.size())));
    return sections;
}

SectionLayout ScanSection(std::string_view section) {
    SectionLayout layout;
    int firstZero = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < section.size(); ++i) {
        const char c = section[i];
        if (IsQuote(c)) {
            i = SkipLiteral(section, i);
        } else if (c == '#') {
            ++layout.DigitCount;
        } else if (c == '0') {
            firstZero = std::min(firstZero, layout.DigitCount);
            ++layout.DigitCount;
            layout.LastDigit = layout.DigitCount;
        } else if (c == '.') {
            if (layout.DecimalIndex < 0) layout.DecimalIndex = layout.DigitCount;
        } else if (c == ',') {
            layout.ThousandSep = FormatSettings().ThousandSeparator != '\0';
        } else if (IsExponentAt(section, i)) {
            layout.Scientific = true;
            ++i;
            while (i + 1 < section.size() && section[i + 1] == '0')
                ++i;
        }
    }
    if (layout.DecimalIndex < 0) layout.DecimalIndex = layout.DigitCount;
    layout.LastDigit = std::max(0, layout.LastDigit - layout.DecimalIndex);
    layout.FirstDigit =
        firstZero == std::numeric_limits<int>::max() ? 0 : layout.DecimalIndex - firstZero;
    layout.FirstDigit = std::max(0, layout.FirstDigit);
    return layout;
}

// Writes one section with the digits of the value placed so that `intDigits`
// of them stand before the decimal point.
class SectionWriter {
public:
    SectionWriter(const SectionLayout& layout, const TFloatRec& rec, int intDigits, int exponent)
        : Layout(layout), Rec(rec), IntDigits(intDigits), Exponent(exponent) {}

    AnsiString Write(std::string_view section, bool sign) {
        if (sign) Out += '-';
        int placeholder = 0;
        for (std::size_t i = 0; i < section.size(); ++i) {
            const char c = section[i];
            if (IsQuote(c)) {
                const std::size_t close = SkipLiteral(section, i);
                Out.append(section.substr(i + 1, close - i - 1));
                i = close;
            } else if (c == '0' || c == '#') {
                PutPlaceholder(placeholder++);
            } else if (c == '.' || c == ',') {
                // The point is written with the first decimal shown; the
                // thousands flag was taken by the scan.
            } else if (IsExponentAt(section, i)) {
                const bool alwaysSign = section[i + 1] == '+';
                ++i;
                int zeros = 0;
                while (i + 1 < section.size() && section[i + 1] == '0') {
                    ++i;
                    ++zeros;
                }
                Out += c;
                Out.append(ExponentText(Exponent, alwaysSign, std::min(zeros, 4)), 1);
            } else {
                Out += c;
            }
        }
        return Out;
    }

private:
    void PutPlaceholder(int k) {
        if (k < Layout.DecimalIndex) {
            if (k == 0)
                for (int place = IntDigits; place > Layout.DecimalIndex; --place)
                    PutIntegerPlace(place);
            PutIntegerPlace(Layout.DecimalIndex - k);
        } else {
            PutDecimalPlace(k - Layout.DecimalIndex + 1);
        }
    }

    void PutIntegerPlace(int place) {
        if (place <= IntDigits)
            Out += DigitAt(Rec, IntDigits - place);
        else if (place <= Layout.FirstDigit)
            Out += '0';
        else
            return;
        if (Layout.ThousandSep && place > 1 && (place - 1) % 3 == 0)
            Out += FormatSettings().ThousandSeparator;
    }

    void PutDecimalPlace(int j) {
        const int significant = static_cast<int>(Rec.Digits.size()) - IntDigits;
        if (j > std::max(Layout.LastDigit, significant)) return;
        if (!PointWritten) {
            Out += FormatSettings().DecimalSeparator;
            PointWritten = true;
        }
        Out += DigitAt(Rec, static_cast<long long>(IntDigits) + j - 1);
    }

    const SectionLayout& Layout;
    const TFloatRec& Rec;
    int IntDigits;
    int Exponent;
    bool PointWritten = false;
    AnsiString Out;
};

template <typename Decimalize>
AnsiString FormatWithSections(std::string_view format, Decimalize decimal, int precision,
                              int maxPrecision) {
    const TFloatRec whole = decimal(precision, NoDecimalLimit);
    if (whole.IsSpecial()) return SpecialText(whole);
    const std::vector<std::string_view> sections = SplitSections(format);
    const auto pick = [&](std::size_t index) {
        return index < sections.size() && !sections[index].empty() ? index : 0;
    };
    std::size_t index = whole.IsZero() ? pick(2) : (whole.Negative ? pick(1) : 0);
    bool sign = whole.Negative && index == 0;
    for (;;) {
        const SectionLayout layout = ScanSection(sections[index]);
        TFloatRec rec;
        int intDigits;
        int exponent = 0;
        if (layout.Scientific) {
            rec = decimal(std::clamp(layout.DigitCount, 1, maxPrecision), NoDecimalLimit);
            intDigits = rec.IsZero() ? 0 : layout.DecimalIndex;
            exponent = rec.IsZero() ? 0 : rec.Exponent - layout.DecimalIndex;
        } else {
            rec = decimal(precision, layout.DigitCount - layout.DecimalIndex);
            // Past 18 integer digits a placeholder layout means nothing any more.
            if (rec.Exponent > MaxDoublePrecision)
                return GeneralText(decimal(precision, NoDecimalLimit), precision, 0);
            intDigits = std::max(rec.Exponent, 0);
        }
        // A value that rounds to zero is shown as zero: no minus sign, and
        // with the zero section when there is one.
        if (rec.IsZero() && !whole.IsZero()) {
            sign = false;
            if (pick(2) != index) {
                index = pick(2);
                continue;
            }
        }
        // The digits of a value below 1 start after leading zeros.
        if (!layout.Scientific && rec.Exponent < 0) {
            rec.Digits.insert(0, static_cast<std::size_t>(-rec.Exponent), '0');
            rec.Exponent = 0;
        }
        return SectionWriter(layout, rec, intDigits, exponent).Write(sections[index], sign);
    }
}

constexpr int FormatFloatPrecision = 15;

// --- Text to floating point ----------------------------------------------------

bool ParseFloat(const AnsiString& S, double& value) {
    const char sep = FormatSettings().DecimalSeparator;
    std::size_t i = 0;
    const std::size_t n = S.size();
    while (i < n && S[i] == ' ')
        ++i;
    std::string canonical;
    if (i < n && (S[i] == '-' || S[i] == '+')) {
        if (S[i] == '-') canonical += '-';
        ++i;
    }
    int mantissaDigits = 0;
    int integerDigits = 0;
    while (i < n && S[i] >= '0' && S[i] <= '9') {
        canonical += S[i++];
        ++mantissaDigits;
        ++integerDigits;
    }
    if (i < n && S[i] == sep) {
        canonical += '.';
        ++i;
        while (i < n && S[i] >= '0' && S[i] <= '9') {
            canonical += S[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) return false;
    long long exponent = 0;
    if (i < n && (S[i] == 'e' || S[i] == 'E')) {
        canonical += 'e';
        ++i;
        if (i < n && (S[i] == '-' || S[i] == '+')) canonical += S[i++];
        const std::size_t expStart = i;
        while (i < n && S[i] >= '0' && S[i] <= '9')
            canonical += S[i++];
        if (i == expStart) return false;
        exponent = std::strtoll(canonical.c_str() + canonical.find('e') + 1, nullptr, 10);
    }
    while (i < n && S[i] == ' ')
        ++i;
    if (i != n) return false;
    const auto result =
        std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too small to hold is zero; too large is no number at all.
        if (exponent + integerDigits >= 0) return false;
        value = canonical[0] == '-' ? -0.0 : 0.0;
        return true;
    }
    return result.ec == std::errc() && result.ptr == canonical.data() + canonical.size();
}

constexpr double CurrencyLimit = 922337203685477.5807;

} // namespace

int StrToInt(const AnsiString& S) {
    std::int64_t value;
    if (!ParseInteger(S, 32, value)) RaiseInteger(S);
    return static_cast<int>(value);
}

std::int64_t StrToInt64(const AnsiString& S) {
    std::int64_t value;
    if (!ParseInteger(S, 64, value)) RaiseInteger(S);
    return value;
}

int StrToIntDef(const AnsiString& S, int Default) {
    int value;
    return TryStrToInt(S, value) ? value : Default;
}

std::int64_t StrToInt64Def(const AnsiString& S, std::int64_t Default) {
    std::int64_t value;
    return TryStrToInt64(S, value) ? value : Default;
}

bool TryStrToInt(const AnsiString& S, int& Value) {
    std::int64_t value;
    if (!ParseInteger(S, 32, value)) return false;
    Value = static_cast<int>(value);
    return true;
}

bool TryStrToInt64(const AnsiString& S, std::int64_t& Value) {
    return ParseInteger(S, 64, Value);
}

double StrToFloat(const AnsiString& S) {
    double value;
    if (!ParseFloat(S, value))
        throw EConvertError("'" + S + "' is not a valid floating point value");
    return value;
}

double StrToFloatDef(const AnsiString& S, double Default) {
    double value;
    return ParseFloat(S, value) ? value : Default;
}

bool TryStrToFloat(const AnsiString& S, double& Value) {
    return ParseFloat(S, Value);
}

AnsiString FloatToStr(double Value) {
    return FloatToStrF(Value, ffGeneral, 15, 0);
}

AnsiString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits) {
    return FloatToTextOf([Value](int p, int d) { return Decimal(Value, p, d); }, Format, Precision,
                         Digits, MaxDoublePrecision);
}

AnsiString FloatToText(const Currency& Value, TFloatFormat Format, int Precision, int Digits) {
    return FloatToTextOf([Value](int p, int d) { return Decimal(Value, p, d); }, Format, Precision,
                         Digits, MaxCurrencyPrecision);
}

AnsiString FormatFloat(const AnsiString& Format, double Value) {
    if (Format.empty()) return FloatToStrF(Value, ffGeneral, 15, 0);
    return FormatWithSections(
        Format, [Value](int p, int d) { return Decimal(Value, p, d); }, FormatFloatPrecision,
        MaxDoublePrecision);
}

AnsiString FormatCurr(const AnsiString& Format, const Currency& Value) {
    if (Format.empty()) return CurrToStr(Value);
    return FormatWithSections(
        Format, [Value](int p, int d) { return Decimal(Value, p, d); }, MaxCurrencyPrecision,
        MaxCurrencyPrecision);
}

AnsiString CurrToStr(const Currency& Value) {
    return CurrToStrF(Value, ffGeneral, 0);
}

AnsiString CurrToStrF(const Currency& Value, TFloatFormat Format, int Digits) {
    return FloatToText(Value, Format, MaxCurrencyPrecision, Digits);
}

bool TryFloatToCurr(double Value, Currency& Result) {
    if (!(Value >= -CurrencyLimit && Value <= CurrencyLimit)) return false;
    Result = Currency(Value);
    return true;
}

Currency FloatToCurr(double Value) {
    Currency result;
    if (!TryFloatToCurr(Value, result))
        throw EConvertError("'" + FloatToStr(Value) + "' is not a valid currency value");
    return result;
}
