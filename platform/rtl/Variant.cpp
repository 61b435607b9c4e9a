#include "platform/rtl/Variant.h"

#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StrUtils.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <utility>

// The elements of an array variant, stored row-major with the first index
// varying slowest.
class VarArrayData {
public:
    TVarType ElemType = varVariant;
    std::vector<std::pair<int, int>> Bounds;
    std::vector<Variant> Items;

    std::size_t Offset(const std::vector<int>& indices) const {
        if (indices.size() != Bounds.size())
            throw EVariantBadIndexError("Variant or safe array index out of bounds");
        std::size_t offset = 0;
        for (std::size_t d = 0; d < Bounds.size(); ++d) {
            auto [low, high] = Bounds[d];
            if (indices[d] < low || indices[d] > high)
                throw EVariantBadIndexError("Variant or safe array index out of bounds");
            offset = offset * static_cast<std::size_t>(high - low + 1) +
                     static_cast<std::size_t>(indices[d] - low);
        }
        return offset;
    }
};

namespace {

enum class Kind { Empty, Null, Integral, Floating, Currency, Date, String, Array, Other };

Kind KindOf(TVarType type) {
    if (type & varArray) return Kind::Array;
    switch (type) {
    case varEmpty:
        return Kind::Empty;
    case varNull:
        return Kind::Null;
    case varSmallint:
    case varInteger:
    case varBoolean:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
        return Kind::Integral;
    case varSingle:
    case varDouble:
        return Kind::Floating;
    case varCurrency:
        return Kind::Currency;
    case varDate:
        return Kind::Date;
    case varString:
    case varOleStr:
        return Kind::String;
    default:
        return Kind::Other;
    }
}

[[noreturn]] void CastError(TVarType from, TVarType to) {
    throw EVariantTypeCastError("Could not convert variant of type (" + VarTypeAsText(from) +
                                ") into type (" + VarTypeAsText(to) + ")");
}

[[noreturn]] void OverflowError(TVarType from, TVarType to) {
    throw EVariantOverflowError("Overflow while converting variant of type (" +
                                VarTypeAsText(from) + ") into type (" + VarTypeAsText(to) + ")");
}

[[noreturn]] void InvalidOp() {
    throw EVariantInvalidOpError("Invalid variant operation");
}

[[noreturn]] void NotAnArray() {
    throw EVariantError("Variant is not an array");
}

struct Range {
    std::int64_t Low, High;
};

Range RangeOf(TVarType type) {
    switch (type) {
    case varShortInt:
        return {INT8_MIN, INT8_MAX};
    case varByte:
        return {0, UINT8_MAX};
    case varSmallint:
        return {INT16_MIN, INT16_MAX};
    case varWord:
        return {0, UINT16_MAX};
    case varInteger:
        return {INT32_MIN, INT32_MAX};
    case varLongWord:
        return {0, UINT32_MAX};
    default:
        return {INT64_MIN, INT64_MAX};
    }
}

// Rounds halves to even, as the framework's conversions to integer do.
bool RoundToInt64(double value, std::int64_t& result) {
    double rounded = std::nearbyint(value);
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0)) return false;
    result = static_cast<std::int64_t>(rounded);
    return true;
}

std::int64_t RoundScaled(std::int64_t scaled) {
    std::int64_t whole = scaled / Currency::Scale;
    std::int64_t rest = scaled % Currency::Scale;
    std::int64_t twice = 2 * (rest < 0 ? -rest : rest);
    if (twice > Currency::Scale || (twice == Currency::Scale && whole % 2 != 0))
        whole += rest < 0 ? -1 : 1;
    return whole;
}

} // namespace

// ------------------------------------------------------------ life cycle

Variant::Variant(unsigned long value) : Variant(static_cast<unsigned long long>(value)) {}

Variant::Variant(unsigned long long value) : FType(varInt64) {
    if (value > static_cast<unsigned long long>(INT64_MAX))
        throw EVariantOverflowError("Overflow while converting variant of type (UInt64) into "
                                    "type (Int64)");
    FInt = static_cast<std::int64_t>(value);
}

Variant::Variant(const Variant& other)
    : FType(other.FType), FInt(other.FInt), FDouble(other.FDouble), FString(other.FString),
      FObject(other.FObject) {
    if (other.FArray) FArray.reset(new VarArrayData(*other.FArray));
}

Variant::Variant(Variant&& other) noexcept
    : FType(other.FType), FInt(other.FInt), FDouble(other.FDouble),
      FString(std::move(other.FString)), FArray(std::move(other.FArray)), FObject(other.FObject) {
    other.FType = varEmpty;
    other.FInt = 0;
    other.FObject = nullptr;
}

Variant& Variant::operator=(const Variant& other) {
    if (this != &other) *this = Variant(other);
    return *this;
}

Variant& Variant::operator=(Variant&& other) noexcept {
    if (this != &other) {
        FType = other.FType;
        FInt = other.FInt;
        FDouble = other.FDouble;
        FString = std::move(other.FString);
        FArray = std::move(other.FArray);
        FObject = other.FObject;
        other.FType = varEmpty;
        other.FInt = 0;
        other.FObject = nullptr;
    }
    return *this;
}

Variant::~Variant() = default;

void Variant::ArrayDeleter::operator()(VarArrayData* data) const {
    delete data;
}

// ----------------------------------------------------------- conversions

std::int64_t Variant::ToIntegral(TVarType target) const {
    std::int64_t value = 0;
    switch (KindOf(FType)) {
    case Kind::Empty:
        return 0;
    case Kind::Integral:
        value = FInt;
        break;
    case Kind::Floating:
    case Kind::Date:
        if (!RoundToInt64(FDouble, value)) OverflowError(FType, target);
        break;
    case Kind::Currency:
        value = RoundScaled(FInt);
        break;
    case Kind::String: {
        if (TryStrToInt64(FString, value)) break;
        double d;
        if (!TryStrToFloat(FString, d)) CastError(FType, target);
        if (!RoundToInt64(d, value)) OverflowError(FType, target);
        break;
    }
    default:
        CastError(FType, target);
    }
    Range range = RangeOf(target);
    if (value < range.Low || value > range.High) OverflowError(FType, target);
    return value;
}

std::int64_t Variant::AsInt64() const {
    return ToIntegral(varInt64);
}

double Variant::AsDouble() const {
    switch (KindOf(FType)) {
    case Kind::Empty:
        return 0.0;
    case Kind::Integral:
        return static_cast<double>(FInt);
    case Kind::Floating:
    case Kind::Date:
        return FDouble;
    case Kind::Currency:
        return Currency::FromScaled(FInt).ToDouble();
    case Kind::String: {
        double d;
        if (!TryStrToFloat(FString, d)) CastError(FType, varDouble);
        return d;
    }
    default:
        CastError(FType, varDouble);
    }
}

double Variant::AsSingle() const {
    double d;
    try {
        d = AsDouble();
    } catch (const EVariantTypeCastError&) {
        CastError(FType, varSingle);
    }
    if (std::isfinite(d) && std::fabs(d) > FLT_MAX) OverflowError(FType, varSingle);
    return d;
}

Currency Variant::AsCurrency() const {
    switch (KindOf(FType)) {
    case Kind::Empty:
        return Currency();
    case Kind::Currency:
        return Currency::FromScaled(FInt);
    case Kind::Integral:
        if (FInt > INT64_MAX / Currency::Scale || FInt < INT64_MIN / Currency::Scale)
            OverflowError(FType, varCurrency);
        return Currency::FromScaled(FInt * Currency::Scale);
    case Kind::Floating:
    case Kind::Date: {
        Currency result;
        if (!TryFloatToCurr(FDouble, result)) OverflowError(FType, varCurrency);
        return result;
    }
    case Kind::String: {
        double d;
        if (!TryStrToFloat(FString, d)) CastError(FType, varCurrency);
        Currency result;
        if (!TryFloatToCurr(d, result)) OverflowError(FType, varCurrency);
        return result;
    }
    default:
        CastError(FType, varCurrency);
    }
}

TDateTime Variant::AsDateTime() const {
    switch (KindOf(FType)) {
    case Kind::Empty:
        return TDateTime(0.0);
    case Kind::Integral:
    case Kind::Floating:
    case Kind::Date:
    case Kind::Currency:
        return TDateTime(AsDouble());
    case Kind::String: {
        TDateTime result;
        if (!TryStrToDateTime(FString, result)) CastError(FType, varDate);
        return result;
    }
    default:
        CastError(FType, varDate);
    }
}

bool Variant::AsBoolean() const {
    switch (KindOf(FType)) {
    case Kind::Empty:
        return false;
    case Kind::Integral:
    case Kind::Currency:
        return FInt != 0;
    case Kind::Floating:
    case Kind::Date:
        return FDouble != 0.0;
    case Kind::String: {
        if (SameText(FString, "True")) return true;
        if (SameText(FString, "False")) return false;
        double d;
        if (!TryStrToFloat(FString, d)) CastError(FType, varBoolean);
        return d != 0.0;
    }
    default:
        CastError(FType, varBoolean);
    }
}

AnsiString Variant::AsString() const {
    switch (KindOf(FType)) {
    case Kind::Empty:
        return AnsiString();
    case Kind::Integral:
        if (FType == varBoolean) return FInt != 0 ? "True" : "False";
        return IntToStr(FInt);
    case Kind::Floating:
        // A single holds about seven digits; more would show its binary noise.
        if (FType == varSingle) return FloatToStrF(FDouble, ffGeneral, 7, 0);
        return FloatToStr(FDouble);
    case Kind::Currency:
        return CurrToStr(Currency::FromScaled(FInt));
    case Kind::Date:
        return DateTimeToStr(TDateTime(FDouble));
    case Kind::String:
        return FString;
    default:
        CastError(FType, varString);
    }
}

// ------------------------------------------------------- free functions

Variant Unassigned() {
    return Variant();
}

Variant Null() {
    Variant v;
    v.FType = varNull;
    return v;
}

TVarType VarType(const Variant& V) {
    return V.Type();
}
bool VarIsEmpty(const Variant& V) {
    return V.IsEmpty();
}
bool VarIsNull(const Variant& V) {
    return V.IsNull();
}
bool VarIsClear(const Variant& V) {
    return V.IsEmpty();
}
bool VarIsArray(const Variant& V) {
    return V.IsArray();
}

AnsiString VarToStr(const Variant& V) {
    return V.IsNull() ? AnsiString() : V.AsString();
}

AnsiString VarTypeAsText(TVarType VarType) {
    if (VarType & varArray) return "Array " + VarTypeAsText(VarType & varTypeMask);
    switch (VarType) {
    case varEmpty:
        return "Empty";
    case varNull:
        return "Null";
    case varSmallint:
        return "Smallint";
    case varInteger:
        return "Integer";
    case varSingle:
        return "Single";
    case varDouble:
        return "Double";
    case varCurrency:
        return "Currency";
    case varDate:
        return "Date";
    case varOleStr:
        return "OleStr";
    case varBoolean:
        return "Boolean";
    case varVariant:
        return "Variant";
    case varShortInt:
        return "ShortInt";
    case varByte:
        return "Byte";
    case varWord:
        return "Word";
    case varLongWord:
        return "LongWord";
    case varInt64:
        return "Int64";
    case varString:
        return "String";
    default: {
        char text[8];
        std::snprintf(text, sizeof text, "$%04X", static_cast<unsigned>(VarType));
        return text;
    }
    }
}

Variant VarAsType(const Variant& V, TVarType VarType) {
    if (VarType == V.FType) return V;
    if (VarType == varEmpty) return Unassigned();
    if (VarType == varNull) return Null();
    if (V.IsNull()) CastError(varNull, VarType);
    Variant result;
    switch (KindOf(VarType)) {
    case Kind::Integral:
        if (VarType == varBoolean) return Variant(V.AsBoolean());
        result.FInt = V.ToIntegral(VarType);
        break;
    case Kind::Floating:
        if (VarType == varSingle) return Variant(static_cast<float>(V.AsSingle()));
        return Variant(V.AsDouble());
    case Kind::Currency:
        return Variant(V.AsCurrency());
    case Kind::Date:
        return Variant(V.AsDateTime());
    case Kind::String:
        result.FString = V.AsString();
        break;
    default:
        throw EVariantTypeCastError("Invalid variant type conversion");
    }
    result.FType = VarType;
    return result;
}

Variant VarFromObject(TObject* Object) {
    Variant v(static_cast<std::int64_t>(reinterpret_cast<std::intptr_t>(Object)));
    v.FType = varInteger;
    v.FObject = Object;
    return v;
}

TObject* VarToObject(const Variant& V) {
    if (V.ObjectRef() || V.IsEmpty() || V.IsNull()) return V.ObjectRef();
    if (KindOf(V.Type()) == Kind::Integral && V.Type() != varBoolean && V.AsInt64() == 0)
        return nullptr;
    throw EVariantTypeCastError("Could not convert variant of type (" + VarTypeAsText(V.Type()) +
                                ") into type (Object)");
}

// ---------------------------------------------------------------- arrays

Variant VarArrayCreate(const std::vector<int>& Bounds, TVarType VarType) {
    bool elementTypeOk = VarType == varVariant ||
                         (KindOf(VarType) != Kind::Other && KindOf(VarType) != Kind::Array &&
                          VarType != varEmpty && VarType != varNull);
    if (Bounds.empty() || Bounds.size() % 2 != 0 || !elementTypeOk)
        throw EVariantError("Error creating variant or safe array");
    std::unique_ptr<VarArrayData> data = std::make_unique<VarArrayData>();
    data->ElemType = VarType;
    std::size_t count = 1;
    for (std::size_t i = 0; i < Bounds.size(); i += 2) {
        int low = Bounds[i], high = Bounds[i + 1];
        if (high < low - 1) throw EVariantError("Error creating variant or safe array");
        data->Bounds.emplace_back(low, high);
        count *= static_cast<std::size_t>(static_cast<std::int64_t>(high) - low + 1);
    }
    Variant initial = VarType == varVariant ? Variant() : VarAsType(Variant(), VarType);
    data->Items.assign(count, initial);
    Variant result;
    result.FType = varArray | VarType;
    result.FArray.reset(data.release());
    return result;
}

Variant VarArrayOf(const std::vector<Variant>& Values) {
    Variant result = VarArrayCreate({0, static_cast<int>(Values.size()) - 1}, varVariant);
    for (std::size_t i = 0; i < Values.size(); ++i)
        VarArrayPut(result, Values[i], {int(i)});
    return result;
}

int VarArrayDimCount(const Variant& A) {
    return A.FArray ? static_cast<int>(A.FArray->Bounds.size()) : 0;
}

namespace {
const std::pair<int, int>& BoundsOf(const VarArrayData* data, int dim) {
    if (!data) NotAnArray();
    if (dim < 1 || dim > static_cast<int>(data->Bounds.size()))
        throw EVariantBadIndexError("Variant or safe array index out of bounds");
    return data->Bounds[static_cast<std::size_t>(dim - 1)];
}
} // namespace

int VarArrayLowBound(const Variant& A, int Dim) {
    return BoundsOf(A.FArray.get(), Dim).first;
}

int VarArrayHighBound(const Variant& A, int Dim) {
    return BoundsOf(A.FArray.get(), Dim).second;
}

Variant VarArrayGet(const Variant& A, const std::vector<int>& Indices) {
    if (!A.FArray) NotAnArray();
    return A.FArray->Items[A.FArray->Offset(Indices)];
}

void VarArrayPut(Variant& A, const Variant& Value, const std::vector<int>& Indices) {
    if (!A.FArray) NotAnArray();
    std::size_t offset = A.FArray->Offset(Indices);
    TVarType elemType = A.FArray->ElemType;
    A.FArray->Items[offset] = elemType == varVariant ? Value : VarAsType(Value, elemType);
}

// ------------------------------------------------- comparison, arithmetic

namespace {

// The zero of a type, standing in for an empty operand beside it.
Variant ZeroLike(const Variant& other) {
    return KindOf(other.Type()) == Kind::String ? Variant(AnsiString()) : Variant(0);
}

template <class T> std::partial_ordering Order(const T& a, const T& b) {
    return a <=> b;
}

std::partial_ordering CompareValues(const Variant& a, const Variant& b) {
    Kind ka = KindOf(a.Type()), kb = KindOf(b.Type());
    if (ka == Kind::Array || kb == Kind::Array || ka == Kind::Other || kb == Kind::Other)
        InvalidOp();
    if (ka == Kind::Null || kb == Kind::Null) {
        if (ka == kb) return std::partial_ordering::equivalent;
        return ka == Kind::Null ? std::partial_ordering::less : std::partial_ordering::greater;
    }
    if (ka == Kind::Empty && kb == Kind::Empty) return std::partial_ordering::equivalent;
    if (ka == Kind::Empty) return CompareValues(ZeroLike(b), b);
    if (kb == Kind::Empty) return CompareValues(a, ZeroLike(a));

    if (ka == Kind::String && kb == Kind::String) {
        int c = AnsiCompareStr(a.AsString(), b.AsString());
        return Order(c, 0);
    }
    if (ka == Kind::Date || kb == Kind::Date) return Order(a.AsDateTime().Val, b.AsDateTime().Val);
    if (ka == Kind::Integral && kb == Kind::Integral) return Order(a.AsInt64(), b.AsInt64());
    bool exact = (ka == Kind::Integral || ka == Kind::Currency) &&
                 (kb == Kind::Integral || kb == Kind::Currency);
    if (exact) {
        // Scaled to ten-thousandths without overflow.
        auto scaled = [](const Variant& v, Kind k) {
            return k == Kind::Currency ? static_cast<__int128>(v.AsCurrency().Val)
                                       : static_cast<__int128>(v.AsInt64()) * Currency::Scale;
        };
        return Order(scaled(a, ka), scaled(b, kb));
    }
    return Order(a.AsDouble(), b.AsDouble());
}

enum class Op { Add, Subtract };

Variant Arithmetic(const Variant& a0, const Variant& b0, Op op) {
    Kind ka = KindOf(a0.Type()), kb = KindOf(b0.Type());
    if (ka == Kind::Array || kb == Kind::Array || ka == Kind::Other || kb == Kind::Other)
        InvalidOp();
    if (ka == Kind::Null || kb == Kind::Null) return Null();
    if (ka == Kind::Empty && kb == Kind::Empty) return Variant();
    const Variant a = ka == Kind::Empty ? ZeroLike(b0) : a0;
    const Variant b = kb == Kind::Empty ? ZeroLike(a0) : b0;
    ka = KindOf(a.Type());
    kb = KindOf(b.Type());

    if (ka == Kind::String && kb == Kind::String && op == Op::Add) {
        TVarType type = a.Type() == varOleStr && b.Type() == varOleStr ? varOleStr : varString;
        return VarAsType(Variant(a.AsString() + b.AsString()), type);
    }
    auto combine = [op](auto x, auto y) { return op == Op::Add ? x + y : x - y; };

    if (ka == Kind::Date || kb == Kind::Date) {
        double value = combine(a.AsDouble(), b.AsDouble());
        // A date moved by a number of days is a date; two dates give days.
        if (ka == Kind::Date && kb == Kind::Date) return Variant(value);
        return Variant(TDateTime(value));
    }
    if (ka == Kind::Floating || kb == Kind::Floating || ka == Kind::String || kb == Kind::String)
        return Variant(combine(a.AsDouble(), b.AsDouble()));
    if (ka == Kind::Currency || kb == Kind::Currency) {
        __int128 value = combine(static_cast<__int128>(a.AsCurrency().Val),
                                 static_cast<__int128>(b.AsCurrency().Val));
        if (value > INT64_MAX || value < INT64_MIN) throw EVariantOverflowError("Variant overflow");
        return Variant(Currency::FromScaled(static_cast<std::int64_t>(value)));
    }
    __int128 value =
        combine(static_cast<__int128>(a.AsInt64()), static_cast<__int128>(b.AsInt64()));
    if (value > INT64_MAX || value < INT64_MIN) throw EVariantOverflowError("Variant overflow");
    bool wide =
        a.Type() == varInt64 || b.Type() == varInt64 || value > INT32_MAX || value < INT32_MIN;
    if (wide) return Variant(static_cast<long long>(value));
    return Variant(static_cast<int>(value));
}

} // namespace

bool Variant::Equals(const Variant& A, const Variant& B) {
    return CompareValues(A, B) == 0;
}

std::partial_ordering Variant::Compare(const Variant& A, const Variant& B) {
    return CompareValues(A, B);
}

Variant Variant::Add(const Variant& A, const Variant& B) {
    return Arithmetic(A, B, Op::Add);
}

Variant Variant::Subtract(const Variant& A, const Variant& B) {
    return Arithmetic(A, B, Op::Subtract);
}

bool VarTypeIsInteger(TVarType Type) {
    switch (Type & varTypeMask) {
    case varSmallint:
    case varInteger:
    case varShortInt:
    case varByte:
    case varWord:
    case varLongWord:
    case varInt64:
        return true;
    default:
        return false;
    }
}
