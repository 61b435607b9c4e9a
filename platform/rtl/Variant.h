#pragma once
// A tagged value of one of the framework's variant types: empty (not yet
// assigned), null (no value, as a database NULL), the integer, floating
// point, currency, date, Boolean and string kinds, and arrays of variants.
// Conversions follow the framework: empty reads as 0, "" or False; null
// refuses every conversion except VarToStr, which gives "".
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/TDateTime.h"

#include <compare>
#include <concepts>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <type_traits>
#include <vector>

class TObject;
class VarArrayData;

using TVarType = std::uint16_t;

inline constexpr TVarType varEmpty = 0x0000;
inline constexpr TVarType varNull = 0x0001;
inline constexpr TVarType varSmallint = 0x0002;
inline constexpr TVarType varInteger = 0x0003;
inline constexpr TVarType varSingle = 0x0004;
inline constexpr TVarType varDouble = 0x0005;
inline constexpr TVarType varCurrency = 0x0006;
inline constexpr TVarType varDate = 0x0007;
inline constexpr TVarType varOleStr = 0x0008;
inline constexpr TVarType varBoolean = 0x000B;
inline constexpr TVarType varVariant = 0x000C;
inline constexpr TVarType varShortInt = 0x0010;
inline constexpr TVarType varByte = 0x0011;
inline constexpr TVarType varWord = 0x0012;
inline constexpr TVarType varLongWord = 0x0013;
inline constexpr TVarType varInt64 = 0x0014;
inline constexpr TVarType varString = 0x0100;
inline constexpr TVarType varTypeMask = 0x0FFF;
inline constexpr TVarType varArray = 0x2000;

class Variant;

// The types a Variant converts to implicitly. Char is left out on purpose:
// with it, assigning a Variant to a string would be ambiguous.
template <class T>
concept VariantTarget = std::same_as<T, bool> || std::same_as<T, signed char> ||
    std::same_as<T, unsigned char> || std::same_as<T, short> || std::same_as<T, unsigned short> ||
    std::same_as<T, int> || std::same_as<T, unsigned int> || std::same_as<T, long> ||
    std::same_as<T, long long> || std::same_as<T, float> || std::same_as<T, double> ||
    std::same_as<T, Currency> || std::same_as<T, TDateTime> || std::same_as<T, AnsiString>;

// Anything but a Variant that makes a Variant: the other side of a
// comparison or sum.
template <class T>
concept VariantOperand =
    !std::same_as<std::remove_cvref_t<T>, Variant> && std::constructible_from<Variant, const T&>;

class Variant {
public:
    Variant() noexcept {}
    Variant(bool value) : FType(varBoolean) { FInt = value ? -1 : 0; }
    Variant(signed char value) : FType(varShortInt) { FInt = value; }
    Variant(unsigned char value) : FType(varByte) { FInt = value; }
    Variant(short value) : FType(varSmallint) { FInt = value; }
    Variant(unsigned short value) : FType(varWord) { FInt = value; }
    Variant(int value) : FType(varInteger) { FInt = value; }
    Variant(unsigned int value) : FType(varLongWord) { FInt = value; }
    Variant(long value) : FType(varInt64) { FInt = value; }
    Variant(long long value) : FType(varInt64) { FInt = value; }
    Variant(unsigned long value);
    Variant(unsigned long long value);
    Variant(float value) : FType(varSingle) { FDouble = value; }
    Variant(double value) : FType(varDouble) { FDouble = value; }
    Variant(Currency value) : FType(varCurrency) { FInt = value.Val; }
    Variant(TDateTime value) : FType(varDate) { FDouble = value.Val; }
    Variant(char value) : FType(varString), FString(1, value) {}
    Variant(const char* value) : FType(varString), FString(value ? value : "") {}
    Variant(AnsiString value) : FType(varString), FString(std::move(value)) {}
    // A pointer is no value: without these it would quietly become a Boolean.
    Variant(const void*) = delete;
    Variant(std::nullptr_t) = delete;

    Variant(const Variant& other);
    Variant(Variant&& other) noexcept;
    Variant& operator=(const Variant& other);
    Variant& operator=(Variant&& other) noexcept;
    ~Variant();

    // The type code (with varArray set for an array).
    TVarType Type() const { return FType; }
    bool IsEmpty() const { return FType == varEmpty; }
    bool IsNull() const { return FType == varNull; }
    bool IsArray() const { return (FType & varArray) != 0; }

    // Conversions; each raises EVariantTypeCastError when the value has no
    // such form and EVariantOverflowError when it does not fit.
    int AsInteger() const {
        // An integer that fits is its own answer: grids read and write
        // these per cell, and the general conversion costs more than the cell.
        if (FType == varInteger && FInt >= INT32_MIN && FInt <= INT32_MAX) return static_cast<int>(FInt);
        return static_cast<int>(ToIntegral(varInteger));
    }
    std::int64_t AsInt64() const;
    double AsDouble() const;
    Currency AsCurrency() const;
    TDateTime AsDateTime() const;
    bool AsBoolean() const;
    AnsiString AsString() const;
    // A string value's text read where it lies, for a caller that only looks
    // at it; any other type gives an empty view, so ask Type() first.
    std::string_view StringView() const {
        return FType == varString ? std::string_view(FString) : std::string_view();
    }

    template <VariantTarget T> operator T() const { return To<T>(); }

    // Made from an object reference (VarFromObject): the object, else none.
    TObject* ObjectRef() const { return FObject; }

    // Comparison: null equals only null and orders below every other value;
    // empty compares as the other side's zero ("" or 0); two strings compare
    // as strings (case counts); a string against a number or date is
    // converted to it; numbers compare by value across their types. Arrays
    // cannot be compared (EVariantInvalidOpError).
    //
    // The operators are found only beside a Variant operand, so they never
    // turn two plain values (two dates, a date and an int) into variants.
    friend bool operator==(const Variant& A, const Variant& B) { return Equals(A, B); }
    friend std::partial_ordering operator<=>(const Variant& A, const Variant& B) {
        return Compare(A, B);
    }
    template <VariantOperand T> friend bool operator==(const Variant& A, const T& B) {
        return Equals(A, Variant(B));
    }
    template <VariantOperand T>
    friend std::partial_ordering operator<=>(const Variant& A, const T& B) {
        return Compare(A, Variant(B));
    }

    // Sum and difference: null in gives null out; two strings concatenate;
    // otherwise both sides are numbers (a string converted), the result of
    // the wider kind (Integer, Int64, Currency, Double; a date moved by a
    // number stays a date, two dates give a Double).
    friend Variant operator+(const Variant& A, const Variant& B) { return Add(A, B); }
    friend Variant operator-(const Variant& A, const Variant& B) { return Subtract(A, B); }
    template <VariantOperand T> friend Variant operator+(const Variant& A, const T& B) {
        return Add(A, Variant(B));
    }
    template <VariantOperand T> friend Variant operator+(const T& A, const Variant& B) {
        return Add(Variant(A), B);
    }
    template <VariantOperand T> friend Variant operator-(const Variant& A, const T& B) {
        return Subtract(A, Variant(B));
    }
    template <VariantOperand T> friend Variant operator-(const T& A, const Variant& B) {
        return Subtract(Variant(A), B);
    }

private:
    static bool Equals(const Variant& A, const Variant& B);
    static std::partial_ordering Compare(const Variant& A, const Variant& B);
    static Variant Add(const Variant& A, const Variant& B);
    static Variant Subtract(const Variant& A, const Variant& B);
    friend Variant Null();
    friend Variant VarAsType(const Variant& V, TVarType VarType);
    friend Variant VarFromObject(TObject* Object);
    friend Variant VarArrayCreate(const std::vector<int>& Bounds, TVarType VarType);
    friend Variant VarArrayGet(const Variant& A, const std::vector<int>& Indices);
    friend void VarArrayPut(Variant& A, const Variant& Value, const std::vector<int>& Indices);
    friend int VarArrayDimCount(const Variant& A);
    friend int VarArrayLowBound(const Variant& A, int Dim);
    friend int VarArrayHighBound(const Variant& A, int Dim);

    template <class T> T To() const {
        if constexpr (std::same_as<T, bool>)
            return AsBoolean();
        else if constexpr (std::same_as<T, float>)
            return static_cast<float>(AsSingle());
        else if constexpr (std::same_as<T, double>)
            return AsDouble();
        else if constexpr (std::same_as<T, Currency>)
            return AsCurrency();
        else if constexpr (std::same_as<T, TDateTime>)
            return AsDateTime();
        else if constexpr (std::same_as<T, AnsiString>)
            return AsString();
        else
            return static_cast<T>(ToIntegral(IntegralType<T>()));
    }
    template <class T> static constexpr TVarType IntegralType() {
        if constexpr (std::same_as<T, signed char>)
            return varShortInt;
        else if constexpr (std::same_as<T, unsigned char>)
            return varByte;
        else if constexpr (std::same_as<T, short>)
            return varSmallint;
        else if constexpr (std::same_as<T, unsigned short>)
            return varWord;
        else if constexpr (std::same_as<T, int>)
            return varInteger;
        else if constexpr (std::same_as<T, unsigned int>)
            return varLongWord;
        else
            return varInt64;
    }
    std::int64_t ToIntegral(TVarType target) const;
    double AsSingle() const;

    TVarType FType = varEmpty;
    std::int64_t FInt = 0; // integers, Booleans (-1 is True), currency (scaled)
    double FDouble = 0.0;  // single, double, date
    AnsiString FString;
    struct ArrayDeleter {
        void operator()(VarArrayData* data) const;
    };
    std::unique_ptr<VarArrayData, ArrayDeleter> FArray;
    TObject* FObject = nullptr;
};

// The two value-less variants.
Variant Unassigned();
Variant Null();

TVarType VarType(const Variant& V);
bool VarIsEmpty(const Variant& V);
bool VarIsNull(const Variant& V);
// Empty: nothing has been assigned.
bool VarIsClear(const Variant& V);
bool VarIsArray(const Variant& V);
// Whether Type (without its array bit) is one of the integer types.
bool VarTypeIsInteger(TVarType Type);

// The text of the value; null gives "" instead of raising.
AnsiString VarToStr(const Variant& V);
// The value converted to another type code (varEmpty and varNull included).
Variant VarAsType(const Variant& V, TVarType VarType);
// The name of a type code as conversion errors show it ("Integer", "Null").
AnsiString VarTypeAsText(TVarType VarType);

// An object reference carried as an integer variant. Only a variant made
// this way (or an integer 0, empty or null, which give none) turns back
// into an object; any other value raises EVariantTypeCastError.
Variant VarFromObject(TObject* Object);
TObject* VarToObject(const Variant& V);

// Arrays: Bounds holds a low and a high bound per dimension. Elements of a
// typed array are converted to the element type as they are stored.
Variant VarArrayCreate(const std::vector<int>& Bounds, TVarType VarType);
// A one-dimensional array of variants indexed from 0.
Variant VarArrayOf(const std::vector<Variant>& Values);
int VarArrayDimCount(const Variant& A);
int VarArrayLowBound(const Variant& A, int Dim);
int VarArrayHighBound(const Variant& A, int Dim);
Variant VarArrayGet(const Variant& A, const std::vector<int>& Indices);
void VarArrayPut(Variant& A, const Variant& Value, const std::vector<int>& Indices);
