#include "platform/rtl/Format.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StrUtils.h"

#include <charconv>
#include <climits>
#include <cstring>

namespace {

using Kind = TVarRec::Kind;

class Formatter {
public:
    Formatter(const AnsiString& fmt, std::span<const TVarRec> args) : Fmt(fmt), Args(args) {}

    AnsiString Run() {
        while (I < Fmt.size()) {
            const char c = Fmt[I++];
            if (c != '%') {
                Out += c;
            } else if (I < Fmt.size() && Fmt[I] == '%') {
                Out += '%';
                ++I;
            } else {
                Specifier();
            }
        }
        return Out;
    }

private:
    [[noreturn]] void Invalid() const {
        throw EConvertError("Format '" + Fmt + "' invalid or incompatible with argument");
    }

    const TVarRec& NextArg() {
        if (ArgIndex >= Args.size()) throw EConvertError("No argument for format '" + Fmt + "'");
        return Args[ArgIndex++];
    }

    bool AtDigit() const { return I < Fmt.size() && Fmt[I] >= '0' && Fmt[I] <= '9'; }

    int ReadDigits() {
        long long value = 0;
        while (AtDigit()) {
            value = value * 10 + (Fmt[I++] - '0');
            if (value > INT_MAX) Invalid();
        }
        return static_cast<int>(value);
    }

    // A width or precision from "*": the next argument, which must be an integer.
    int StarArg() {
        ++I;
        const TVarRec& arg = NextArg();
        if (arg.VType == Kind::Integer) return arg.VInteger;
        if (arg.VType == Kind::Int64 && arg.VInt64 >= INT_MIN && arg.VInt64 <= INT_MAX)
            return static_cast<int>(arg.VInt64);
        Invalid();
    }

    void Specifier() {
        bool left = false;
        int width = -1;
        int precision = -1;
        if (AtDigit()) {
            const int number = ReadDigits();
            if (I < Fmt.size() && Fmt[I] == ':') {
                ++I;
                ArgIndex = static_cast<std::size_t>(number);
            } else {
                width = number;
            }
        }
        if (width < 0) {
            if (I < Fmt.size() && Fmt[I] == '-') {
                left = true;
                ++I;
            }
            if (I < Fmt.size() && Fmt[I] == '*') {
                width = StarArg();
                // A negative width from an argument justifies to the left.
                if (width < 0) {
                    left = true;
                    width = width == INT_MIN ? INT_MAX : -width;
                }
            } else if (AtDigit()) {
                width = ReadDigits();
            }
        }
        if (I < Fmt.size() && Fmt[I] == '.') {
            ++I;
            if (I < Fmt.size() && Fmt[I] == '*')
                precision = StarArg();
            else
                precision = ReadDigits();
            if (precision < 0) precision = -1;
        }
        if (I >= Fmt.size()) Invalid();
        const char type = static_cast<char>(Fmt[I++] | 0x20);
        AnsiString text = Convert(type, precision);
        if (width > static_cast<int>(text.size())) {
            const std::size_t pad = static_cast<std::size_t>(width) - text.size();
            if (left)
                text.append(pad, ' ');
            else
                text.insert(0, pad, ' ');
        }
        Out += text;
    }

    AnsiString Convert(char type, int precision) {
        switch (type) {
        case 'd':
        case 'u':
        case 'x':
            return IntegerText(type, precision);
        case 'e':
        case 'f':
        case 'g':
        case 'n':
        case 'm':
            return FloatText(type, precision);
        case 's':
            return StringText(precision);
        case 'p':
            return PointerText();
        default:
            Invalid();
        }
    }

    AnsiString IntegerText(char type, int precision) {
        const TVarRec& arg = NextArg();
        std::int64_t value;
        bool wide;
        if (arg.VType == Kind::Integer) {
            value = arg.VInteger;
            wide = false;
        } else if (arg.VType == Kind::Int64) {
            value = arg.VInt64;
            wide = true;
        } else {
            Invalid();
        }
        AnsiString digits;
        bool negative = false;
        if (type == 'd') {
            negative = value < 0;
            digits = IntToStr(negative ? 0 - static_cast<std::uint64_t>(value)
                                       : static_cast<std::uint64_t>(value));
        } else {
            const std::uint64_t bits =
                wide ? static_cast<std::uint64_t>(value) : static_cast<std::uint32_t>(value);
            digits = type == 'u' ? IntToStr(bits) : IntToHex(bits, 0);
        }
        if (precision > static_cast<int>(digits.size()))
            digits.insert(0, static_cast<std::size_t>(precision) - digits.size(), '0');
        return negative ? "-" + digits : digits;
    }

    AnsiString FloatText(char type, int precision) {
        const TVarRec& arg = NextArg();
        if (arg.VType != Kind::Extended && arg.VType != Kind::Currency) Invalid();
        TFloatFormat format;
        int significant;
        int digits;
        switch (type) {
        case 'e':
        case 'g':
            format = type == 'e' ? ffExponent : ffGeneral;
            significant = precision < 0 ? 15 : precision;
            digits = 3;
            break;
        default:
            format = type == 'f' ? ffFixed : (type == 'n' ? ffNumber : ffCurrency);
            significant = 18;
            digits = precision >= 0 ? precision
                     : type == 'm'  ? FormatSettings().CurrencyDecimals
                                    : 2;
            break;
        }
        if (arg.VType == Kind::Currency) {
            if (significant == 18) significant = 19;
            return FloatToText(Currency::FromScaled(arg.VCurrency), format, significant, digits);
        }
        return FloatToStrF(static_cast<double>(arg.VExtended), format, significant, digits);
    }

    AnsiString StringText(int precision) {
        const TVarRec& arg = NextArg();
        std::string_view text;
        switch (arg.VType) {
        case Kind::AnsiString:
            text = arg.VString;
            break;
        case Kind::PChar:
            text = arg.VPChar != nullptr ? std::string_view(arg.VPChar) : std::string_view();
            break;
        case Kind::Char:
            text = std::string_view(&arg.VChar, 1);
            break;
        default:
            Invalid();
        }
        if (precision >= 0 && static_cast<std::size_t>(precision) < text.size())
            text = text.substr(0, static_cast<std::size_t>(precision));
        return AnsiString(text);
    }

    AnsiString PointerText() {
        const TVarRec& arg = NextArg();
        const void* pointer;
        if (arg.VType == Kind::Pointer)
            pointer = arg.VPointer;
        else if (arg.VType == Kind::PChar)
            pointer = arg.VPChar;
        else
            Invalid();
        return IntToHex(reinterpret_cast<std::uintptr_t>(pointer),
                        static_cast<int>(sizeof(void*) * 2));
    }

    const AnsiString& Fmt;
    std::span<const TVarRec> Args;
    std::size_t I = 0;
    std::size_t ArgIndex = 0;
    AnsiString Out;
};

} // namespace

AnsiString Format(const AnsiString& Fmt, std::span<const TVarRec> Args) {
    return Formatter(Fmt, Args).Run();
}
