#include "platform/rtl/Currency.h"

#include "platform/rtl/Exceptions.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr std::int64_t MaxVal = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t MinVal = std::numeric_limits<std::int64_t>::min();

[[noreturn]] void RaiseOverflow(long double scaled) {
    char text[64];
    std::snprintf(text, sizeof text, "%.4Lf", scaled / Currency::Scale);
    throw EOverflow(std::string("Currency value ") + text + " is out of range");
}

// Rounds a scaled value to the nearest integer, halves to even, as the
// floating-point unit's store does in its default rounding mode.
std::int64_t RoundScaled(long double scaled) {
    if (std::isnan(scaled)) throw EInvalidOp("Invalid floating point operation");
    // 2^63 is exactly representable; everything at or above it overflows.
    constexpr long double limit = 9223372036854775808.0L;
    const long double rounded = std::nearbyint(scaled);
    if (rounded >= limit || rounded < -limit) RaiseOverflow(scaled);
    return static_cast<std::int64_t>(rounded);
}

// Divides an exact 128-bit quotient numerator by a denominator, rounding
// halves to even, and checks that the result fits.
std::int64_t DivideRounded(__int128 numerator, __int128 denominator) {
    if (denominator < 0) {
        numerator = -numerator;
        denominator = -denominator;
    }
    __int128 quotient = numerator / denominator;
    __int128 remainder = numerator % denominator;
    if (remainder < 0) {
        remainder = -remainder;
        const __int128 twice = 2 * remainder;
        if (twice > denominator || (twice == denominator && quotient % 2 != 0)) --quotient;
    } else {
        const __int128 twice = 2 * remainder;
        if (twice > denominator || (twice == denominator && quotient % 2 != 0)) ++quotient;
    }
    if (quotient > MaxVal || quotient < MinVal) RaiseOverflow(static_cast<long double>(quotient));
    return static_cast<std::int64_t>(quotient);
}

long double Extended(const Currency& c) {
    return static_cast<long double>(c.Val) / Currency::Scale;
}

} // namespace

Currency::Currency(double value) : Val(RoundScaled(static_cast<long double>(value) * Scale)) {}

std::int64_t Currency::FromWhole(std::int64_t whole, bool tooLarge) {
    if (tooLarge || whole > MaxVal / Scale || whole < MinVal / Scale)
        throw EOverflow("Currency value " + std::to_string(whole) + " is out of range");
    return whole * Scale;
}

double Currency::ToDouble() const {
    return static_cast<double>(Extended(*this));
}

Currency Currency::operator-() const {
    if (Val == MinVal) RaiseOverflow(-static_cast<long double>(Val));
    return FromScaled(-Val);
}

Currency& Currency::operator+=(const Currency& rhs) {
    std::int64_t sum;
    if (__builtin_add_overflow(Val, rhs.Val, &sum))
        RaiseOverflow(static_cast<long double>(Val) + rhs.Val);
    Val = sum;
    return *this;
}

Currency& Currency::operator-=(const Currency& rhs) {
    std::int64_t difference;
    if (__builtin_sub_overflow(Val, rhs.Val, &difference))
        RaiseOverflow(static_cast<long double>(Val) - rhs.Val);
    Val = difference;
    return *this;
}

Currency& Currency::operator*=(const Currency& rhs) {
    Val = DivideRounded(static_cast<__int128>(Val) * rhs.Val, Scale);
    return *this;
}

Currency& Currency::operator/=(const Currency& rhs) {
    if (rhs.Val == 0) throw EZeroDivide("Floating point division by zero");
    Val = DivideRounded(static_cast<__int128>(Val) * Scale, rhs.Val);
    return *this;
}

// The scaled integer takes part as it is, so each operation is one rounding.
Currency operator+(const Currency& lhs, double rhs) {
    return Currency::FromScaled(
        RoundScaled(lhs.Val + static_cast<long double>(rhs) * Currency::Scale));
}
Currency operator-(const Currency& lhs, double rhs) {
    return Currency::FromScaled(
        RoundScaled(lhs.Val - static_cast<long double>(rhs) * Currency::Scale));
}
Currency operator*(const Currency& lhs, double rhs) {
    return Currency::FromScaled(RoundScaled(lhs.Val * static_cast<long double>(rhs)));
}
Currency operator/(const Currency& lhs, double rhs) {
    if (rhs == 0.0) throw EZeroDivide("Floating point division by zero");
    return Currency::FromScaled(RoundScaled(lhs.Val / static_cast<long double>(rhs)));
}
Currency operator+(double lhs, const Currency& rhs) {
    return rhs + lhs;
}
Currency operator-(double lhs, const Currency& rhs) {
    return Currency::FromScaled(
        RoundScaled(static_cast<long double>(lhs) * Currency::Scale - rhs.Val));
}
Currency operator*(double lhs, const Currency& rhs) {
    return rhs * lhs;
}
Currency operator/(double lhs, const Currency& rhs) {
    if (rhs.Val == 0) throw EZeroDivide("Floating point division by zero");
    constexpr long double squared = static_cast<long double>(Currency::Scale) * Currency::Scale;
    return Currency::FromScaled(RoundScaled(lhs * squared / rhs.Val));
}
