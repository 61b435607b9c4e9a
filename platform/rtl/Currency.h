#pragma once
// A fixed-point money amount: a 64-bit integer holding the value times
// 10,000, so sums of amounts never drift. A floating-point value becomes a
// Currency rounded to the fourth decimal, halves to even, as the framework's
// floating-point unit stores it; arithmetic with floating-point operands is
// carried out in extended precision and rounded the same way. A result out
// of range raises EOverflow; NaN raises EInvalidOp; a division by zero
// raises EZeroDivide.
#include <compare>
#include <concepts>
#include <cstdint>
#include <limits>

class Currency {
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Currency() = default;
    Currency(double value);
    template <std::integral T>
    requires(!std::same_as<T, bool>) Currency(T value) {
        if constexpr (std::is_signed_v<T>)
            Val = FromWhole(static_cast<std::int64_t>(value), false);
        else
            Val =
                FromWhole(static_cast<std::int64_t>(value),
                          static_cast<std::uint64_t>(value) >
                              static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()));
    }

    // The amount with exactly this scaled value (1.5 is FromScaled(15000)).
    static constexpr Currency FromScaled(std::int64_t scaled) {
        Currency c;
        c.Val = scaled;
        return c;
    }

    double ToDouble() const;
    explicit operator double() const { return ToDouble(); }

    Currency operator-() const;
    Currency& operator+=(const Currency& rhs);
    Currency& operator-=(const Currency& rhs);
    Currency& operator*=(const Currency& rhs);
    Currency& operator/=(const Currency& rhs);

    friend Currency operator+(Currency lhs, const Currency& rhs) { return lhs += rhs; }
    friend Currency operator-(Currency lhs, const Currency& rhs) { return lhs -= rhs; }
    friend Currency operator*(Currency lhs, const Currency& rhs) { return lhs *= rhs; }
    friend Currency operator/(Currency lhs, const Currency& rhs) { return lhs /= rhs; }

    // A floating-point operand is not rounded to four decimals first: the
    // whole operation is computed in extended precision, then rounded.
    friend Currency operator+(const Currency& lhs, double rhs);
    friend Currency operator-(const Currency& lhs, double rhs);
    friend Currency operator*(const Currency& lhs, double rhs);
    friend Currency operator/(const Currency& lhs, double rhs);
    friend Currency operator+(double lhs, const Currency& rhs);
    friend Currency operator-(double lhs, const Currency& rhs);
    friend Currency operator*(double lhs, const Currency& rhs);
    friend Currency operator/(double lhs, const Currency& rhs);

    friend constexpr bool operator==(const Currency&, const Currency&) = default;
    friend constexpr auto operator<=>(const Currency&, const Currency&) = default;

    std::int64_t Val = 0;

private:
    static std::int64_t FromWhole(std::int64_t whole, bool tooLarge);
};
