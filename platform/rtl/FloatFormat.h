#pragma once
// Number to text and back, following the framework's rules and the
// process-wide FormatSettings() (decimal and thousand separators, currency
// string and layouts); never the C locale.
//
// Floating-point values are first turned into up to 18 significant decimal
// digits and then rounded on that decimal text, halves away from zero, so
// 0.125 shown with two decimals is 0.13. A value that rounds to zero is shown
// without a minus sign. NaN and infinities are "NAN", "INF" and "-INF".
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Currency.h"

#include <charconv>
#include <concepts>
#include <cstdint>
#include <type_traits>

enum class TFloatFormat { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };
inline constexpr TFloatFormat ffGeneral = TFloatFormat::ffGeneral;
inline constexpr TFloatFormat ffExponent = TFloatFormat::ffExponent;
inline constexpr TFloatFormat ffFixed = TFloatFormat::ffFixed;
inline constexpr TFloatFormat ffNumber = TFloatFormat::ffNumber;
inline constexpr TFloatFormat ffCurrency = TFloatFormat::ffCurrency;

// Decimal text of any integer type (not bool or char).
template <std::integral T>
requires(!std::same_as<T, bool> && !std::same_as<T, char>) AnsiString IntToStr(T Value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, Value);
    return AnsiString(buffer, result.ptr);
}

// Text to integer: leading blanks are skipped, then an optional sign and
// decimal digits, or hexadecimal after "$" or "0x". Anything else, nothing,
// or a value out of range raises EConvertError "'%s' is not a valid integer
// value". Hexadecimal may use the full unsigned width ("$FFFFFFFF" is -1).
int StrToInt(const AnsiString& S);
std::int64_t StrToInt64(const AnsiString& S);
int StrToIntDef(const AnsiString& S, int Default);
std::int64_t StrToInt64Def(const AnsiString& S, std::int64_t Default);
bool TryStrToInt(const AnsiString& S, int& Value);
bool TryStrToInt64(const AnsiString& S, std::int64_t& Value);

// Text to floating point: optional blanks around, sign, digits with
// DecimalSeparator, optional exponent. No thousand separators. A bad or
// out-of-range text raises EConvertError "'%s' is not a valid floating point
// value".
double StrToFloat(const AnsiString& S);
double StrToFloatDef(const AnsiString& S, double Default);
bool TryStrToFloat(const AnsiString& S, double& Value);

// The general form with 15 significant digits: 75, 7.5, 1E15, 1E-5.
AnsiString FloatToStr(double Value);

// Precision is the count of significant digits (1..18); Digits is the
// minimum exponent width for ffGeneral/ffExponent (0..4) and the count of
// decimals for ffFixed/ffNumber/ffCurrency (0..18). A fixed form whose
// integer part needs more digits than Precision falls back to ffGeneral.
AnsiString FloatToStrF(double Value, TFloatFormat Format, int Precision, int Digits);
// The same over an exact Currency amount (up to 19 significant digits).
AnsiString FloatToText(const Currency& Value, TFloatFormat Format, int Precision, int Digits);

// The format-string language: 0 # . , E+ E- e+ e- 'literal' "literal", and up
// to three sections "positive;negative;zero". An empty format gives the
// general form.
AnsiString FormatFloat(const AnsiString& Format, double Value);
AnsiString FormatCurr(const AnsiString& Format, const Currency& Value);

AnsiString CurrToStr(const Currency& Value);
AnsiString CurrToStrF(const Currency& Value, TFloatFormat Format, int Digits);
// Raises EConvertError "'%s' is not a valid currency value" for NaN,
// infinities and values out of the Currency range.
Currency FloatToCurr(double Value);
bool TryFloatToCurr(double Value, Currency& Result);
