#pragma once
// Format: the framework's formatted text. Each specifier reads
//   % [index ":"] ["-"] [width] ["." precision] type
// where width and precision may be "*" (taken from the next argument), and
// type is one of d u x e f g n m s p ("%%" is a percent sign). An index
// moves the argument position; later plain specifiers continue after it.
// A specifier that does not suit its argument raises EConvertError
// "Format '%s' invalid or incompatible with argument"; one without an
// argument left raises EConvertError "No argument for format '%s'".
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Currency.h"

#include <array>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

// One argument of Format, tagged by its kind. It refers to string arguments
// rather than copying them, so it lives only as long as the call.
class TVarRec {
public:
    enum class Kind { Integer, Int64, Char, Extended, Currency, PChar, AnsiString, Pointer };

    template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>) TVarRec(T value) {
        if constexpr (sizeof(T) < sizeof(int) ||
                      (sizeof(T) == sizeof(int) && std::is_signed_v<T>)) {
            VType = Kind::Integer;
            VInteger = static_cast<int>(value);
        } else {
            VType = Kind::Int64;
            VInt64 = static_cast<std::int64_t>(value);
        }
    }
    // A truth value has no place in a formatted text: the caller says how it reads.
    TVarRec(bool) = delete;
    TVarRec(char value) : VType(Kind::Char), VChar(value) {}
    TVarRec(double value) : VType(Kind::Extended), VExtended(value) {}
    TVarRec(long double value) : VType(Kind::Extended), VExtended(value) {}
    TVarRec(const ::Currency& value) : VType(Kind::Currency), VCurrency(value.Val) {}
    TVarRec(const char* value) : VType(Kind::PChar), VPChar(value) {}
    TVarRec(const ::AnsiString& value) : VType(Kind::AnsiString), VString(value) {}
    TVarRec(std::string_view value) : VType(Kind::AnsiString), VString(value) {}
    TVarRec(const void* value) : VType(Kind::Pointer), VPointer(value) {}
    TVarRec(std::nullptr_t) : VType(Kind::Pointer), VPointer(nullptr) {}

    Kind VType;
    union {
        int VInteger;
        std::int64_t VInt64;
        char VChar;
        long double VExtended;
        std::int64_t VCurrency;
        const char* VPChar;
        const void* VPointer;
    };
    std::string_view VString;
};

AnsiString Format(const AnsiString& Fmt, std::span<const TVarRec> Args);

template <typename... Args>
requires(std::is_constructible_v<TVarRec, const Args&>&&...) AnsiString
    Format(const AnsiString& Fmt, const Args&... args) {
    const std::array<TVarRec, sizeof...(Args)> records{TVarRec(args)...};
    return Format(Fmt, std::span<const TVarRec>(records));
}
