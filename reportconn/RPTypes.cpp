#include "reportconn/RPTypes.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace reportconn {

AnsiString RPDataTypeName(TRPDataType Type) {
    static const char* const names[RPDataTypeCount] = {
        "dtString", "dtInteger",  "dtBoolean", "dtFloat", "dtCurrency", "dtBCD",  "dtDate",
        "dtTime",   "dtDateTime", "dtBlob",    "dtMemo",  "dtGraphic",  "dtInt64"};
    const auto index = static_cast<unsigned>(Type);
    return index < RPDataTypeCount ? names[index] : "";
}

int RPFilterValueSize(TRPDataType Type) {
    static const int sizes[RPDataTypeCount] = {4, 4, 1, 10, 8, 8, 8, 8, 8, 0, 0, 0, 8};
    const auto index = static_cast<unsigned>(Type);
    return index < RPDataTypeCount ? sizes[index] : 0;
}

// Sign and 15-bit exponent (bias 16383) in the top two bytes, then a 64-bit
// mantissa with its integer bit shown.
void DoubleToExtended(double Value, std::uint8_t (&Bytes)[10]) {
    std::memset(Bytes, 0, sizeof Bytes);
    std::uint16_t signExp = std::signbit(Value) ? 0x8000 : 0;
    std::uint64_t mantissa = 0;
    const double magnitude = std::fabs(Value);
    if (std::isnan(Value)) {
        signExp |= 0x7fff;
        mantissa = 0xc000000000000000ULL;
    } else if (std::isinf(Value)) {
        signExp |= 0x7fff;
        mantissa = 0x8000000000000000ULL;
    } else if (magnitude != 0.0) {
        int exponent = 0;
        const double fraction = std::frexp(magnitude, &exponent); // [0.5, 1)
        mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
        signExp |= static_cast<std::uint16_t>(exponent - 1 + 16383);
    }
    for (int i = 0; i < 8; ++i)
        Bytes[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    Bytes[8] = static_cast<std::uint8_t>(signExp);
    Bytes[9] = static_cast<std::uint8_t>(signExp >> 8);
}

double ExtendedToDouble(const std::uint8_t (&Bytes)[10]) {
    std::uint64_t mantissa = 0;
    for (int i = 0; i < 8; ++i)
        mantissa |= static_cast<std::uint64_t>(Bytes[i]) << (8 * i);
    const std::uint16_t signExp = static_cast<std::uint16_t>(Bytes[8] | (Bytes[9] << 8));
    const bool negative = (signExp & 0x8000) != 0;
    const int exponent = signExp & 0x7fff;
    double value;
    if (exponent == 0x7fff)
        value = (mantissa << 1) == 0 ? std::numeric_limits<double>::infinity()
                                     : std::numeric_limits<double>::quiet_NaN();
    else
        value = std::ldexp(static_cast<double>(mantissa), exponent - 16383 - 63);
    return negative ? -value : value;
}

} // namespace reportconn
