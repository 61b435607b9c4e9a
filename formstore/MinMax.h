#pragma once
// Minimum, maximum and swap helpers. The list forms start from the first
// value and take another only when it is strictly greater (smaller), so the
// first of equal values wins; an empty list raises ERangeError.
#include "platform/rtl/TDateTime.h"
#include "platform/rtl/Variant.h"

#include <cstdint>
#include <span>

namespace formstore {

inline int Max(int A, int B) {
    return A > B ? A : B;
}
inline int Min(int A, int B) {
    return A < B ? A : B;
}

inline void SwapInt(int& A, int& B) {
    const int T = A;
    A = B;
    B = T;
}
inline void SwapLong(std::int32_t& A, std::int32_t& B) {
    const std::int32_t T = A;
    A = B;
    B = T;
}
inline void SwapInt64(std::int64_t& A, std::int64_t& B) {
    const std::int64_t T = A;
    A = B;
    B = T;
}

namespace minmax_detail {
// Raises ERangeError naming the routine.
[[noreturn]] void EmptyList(const char* Routine);

template <class T, class Better>
T Pick(std::span<const T> Values, const char* Routine, Better IsBetter) {
    if (Values.empty()) EmptyList(Routine);
    T Result = Values.front();
    for (const T& Value : Values.subspan(1))
        if (IsBetter(Value, Result)) Result = Value;
    return Result;
}
} // namespace minmax_detail

inline int MaxInteger(std::span<const int> Values) {
    return minmax_detail::Pick(Values, "MaxInteger", [](int A, int B) { return A > B; });
}
inline int MinInteger(std::span<const int> Values) {
    return minmax_detail::Pick(Values, "MinInteger", [](int A, int B) { return A < B; });
}
inline std::int64_t MaxInt64(std::span<const std::int64_t> Values) {
    return minmax_detail::Pick(Values, "MaxInt64",
                               [](std::int64_t A, std::int64_t B) { return A > B; });
}
inline std::int64_t MinInt64(std::span<const std::int64_t> Values) {
    return minmax_detail::Pick(Values, "MinInt64",
                               [](std::int64_t A, std::int64_t B) { return A < B; });
}
inline long double MaxFloat(std::span<const long double> Values) {
    return minmax_detail::Pick(Values, "MaxFloat",
                               [](long double A, long double B) { return A > B; });
}
inline long double MinFloat(std::span<const long double> Values) {
    return minmax_detail::Pick(Values, "MinFloat",
                               [](long double A, long double B) { return A < B; });
}
inline TDateTime MaxDateTime(std::span<const TDateTime> Values) {
    return minmax_detail::Pick(Values, "MaxDateTime",
                               [](TDateTime A, TDateTime B) { return A > B; });
}
inline TDateTime MinDateTime(std::span<const TDateTime> Values) {
    return minmax_detail::Pick(Values, "MinDateTime",
                               [](TDateTime A, TDateTime B) { return A < B; });
}
// By the variant comparison: null orders below every other value.
inline Variant MaxOf(std::span<const Variant> Values) {
    return minmax_detail::Pick(Values, "MaxOf",
                               [](const Variant& A, const Variant& B) { return A > B; });
}
inline Variant MinOf(std::span<const Variant> Values) {
    return minmax_detail::Pick(Values, "MinOf",
                               [](const Variant& A, const Variant& B) { return A < B; });
}

} // namespace formstore
