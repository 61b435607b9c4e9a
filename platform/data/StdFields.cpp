#include "platform/data/StdFields.h"

#include "platform/data/DBExceptions.h"
#include "platform/data/SqlDateText.h"
#include "platform/data/SqlNumberText.h"
#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StrUtils.h"

#include <charconv>
#include <climits>
#include <cmath>

namespace {

bool IsText(const Variant& V) {
    return V.Type() == varString;
}

// The framework's Round: halves go to the even neighbour.
long long RoundEven(double Value) {
    return std::llrint(Value);
}

int ToInt(double Value) {
    if (!std::isfinite(Value) || Value < INT_MIN - 0.5 || Value > INT_MAX + 0.5)
        throw ERangeError("Value " + FloatToStr(Value) + " is out of the integer range");
    return static_cast<int>(RoundEven(Value));
}

AnsiString CutToSize(AnsiString Text, int Size) {
    if (Size <= 0 || Text.size() <= static_cast<std::size_t>(Size)) return Text;
    std::size_t End = static_cast<std::size_t>(Size);
    // Back up to the first byte of a UTF-8 character cut through.
    while (End > 0 && (static_cast<unsigned char>(Text[End]) & 0xC0) == 0x80)
        --End;
    Text.resize(End);
    return Text;
}

} // namespace

// --- TStringField ---------------------------------------------------------

Variant TStringField::ImportValue(const Variant& Cell) const {
    if (Cell.Type() == varDouble) return Variant(FloatToStr(Cell.AsDouble()));
    return Variant(Cell.AsString());
}

AnsiString TStringField::GetAsString(const Variant& Raw) const {
    return Raw.AsString();
}

int TStringField::GetAsInteger(const Variant& Raw) const {
    return StrToInt(Raw.AsString());
}

double TStringField::GetAsFloat(const Variant& Raw) const {
    return StrToFloat(Raw.AsString());
}

TDateTime TStringField::GetAsDateTime(const Variant& Raw) const {
    TDateTime Value;
    if (TryParseSqlDateTime(Raw.AsString(), Value)) return Value;
    return StrToDateTime(Raw.AsString());
}

bool TStringField::GetAsBoolean(const Variant& Raw) const {
    const AnsiString S = Raw.AsString();
    return !S.empty() && (S[0] == 'T' || S[0] == 't' || S[0] == 'Y' || S[0] == 'y');
}

Variant TStringField::FromString(const AnsiString& Value) const {
    return Variant(CutToSize(Value, Size()));
}

Variant TStringField::FromInteger(int Value) const {
    return FromString(IntToStr(Value));
}

Variant TStringField::FromFloat(double Value) const {
    return FromString(FloatToStr(Value));
}

Variant TStringField::FromBoolean(bool Value) const {
    return FromString(Value ? "True" : "False");
}

// --- TMemoField -----------------------------------------------------------

Variant TMemoField::ImportValue(const Variant& Cell) const {
    if (Cell.Type() == varDouble) return Variant(FloatToStr(Cell.AsDouble()));
    return Variant(Cell.AsString());
}

AnsiString TMemoField::GetAsString(const Variant& Raw) const {
    return Raw.AsString();
}

AnsiString TMemoField::GetText(const Variant& Raw, bool DisplayText) const {
    if (!DisplayText) return Raw.AsString();
    return Raw.AsString().empty() ? "(Memo)" : "(MEMO)";
}

Variant TMemoField::FromString(const AnsiString& Value) const {
    return Variant(Value);
}

// --- TIntegerField --------------------------------------------------------

Variant TIntegerField::ImportValue(const Variant& Cell) const {
    long long Value;
    if (IsText(Cell)) {
        std::int64_t Whole = 0;
        if (!TryParseSqlInteger(Cell.AsString(), Whole)) ImportError(Cell, "an integer");
        Value = Whole;
    } else if (Cell.Type() == varDouble) {
        const double Real = Cell.AsDouble();
        if (!std::isfinite(Real) || std::fabs(Real) > 9.2e18) ImportError(Cell, "an integer");
        Value = RoundEven(Real);
    } else {
        Value = Cell.AsInt64();
    }
    if (Value < INT_MIN || Value > INT_MAX) ImportError(Cell, "within the integer range");
    return Variant(static_cast<int>(Value));
}

AnsiString TIntegerField::GetAsString(const Variant& Raw) const {
    return IntToStr(Raw.AsInteger());
}

int TIntegerField::GetAsInteger(const Variant& Raw) const {
    return Raw.AsInteger();
}

double TIntegerField::GetAsFloat(const Variant& Raw) const {
    return Raw.AsInteger();
}

bool TIntegerField::GetAsBoolean(const Variant& Raw) const {
    return Raw.AsInteger() != 0;
}

AnsiString TIntegerField::GetText(const Variant& Raw, bool DisplayText) const {
    if (DisplayText && !DisplayFormat().empty())
        return FormatFloat(DisplayFormat(), Raw.AsInteger());
    return IntToStr(Raw.AsInteger());
}

void TIntegerField::CheckRange(long long) const {}

void TSmallintField::CheckRange(long long Value) const {
    if (Value < -32768 || Value > 32767)
        throw ERangeError(std::to_string(Value) + " is not a valid value for field '" +
                          FieldName() + "'. The allowed range is -32768 to 32767");
}

Variant TIntegerField::FromString(const AnsiString& Value) const {
    if (Trim(Value).empty()) return Null();
    return FromInteger(StrToInt(Value));
}

Variant TIntegerField::FromInteger(int Value) const {
    CheckRange(Value);
    return Variant(Value);
}

Variant TIntegerField::FromFloat(double Value) const {
    return FromInteger(ToInt(Value));
}

Variant TIntegerField::FromVariant(const Variant& Value) const {
    if (IsText(Value)) return FromString(Value.AsString());
    return FromInteger(Value.AsInteger());
}

// --- TFloatField ----------------------------------------------------------

Variant TFloatField::ImportValue(const Variant& Cell) const {
    if (IsText(Cell)) {
        double Value;
        if (!TryParseSqlNumber(Cell.AsString(), Value)) ImportError(Cell, "a number");
        return Variant(Value);
    }
    return Variant(Cell.AsDouble());
}

AnsiString TFloatField::GetAsString(const Variant& Raw) const {
    return FloatToStr(Raw.AsDouble());
}

int TFloatField::GetAsInteger(const Variant& Raw) const {
    return ToInt(Raw.AsDouble());
}

double TFloatField::GetAsFloat(const Variant& Raw) const {
    return Raw.AsDouble();
}

TDateTime TFloatField::GetAsDateTime(const Variant& Raw) const {
    return Raw.AsDouble();
}

bool TFloatField::GetAsBoolean(const Variant& Raw) const {
    return Raw.AsDouble() != 0.0;
}

AnsiString TFloatField::GetText(const Variant& Raw, bool DisplayText) const {
    const double Value = Raw.AsDouble();
    if (DisplayText && !DisplayFormat().empty()) return FormatFloat(DisplayFormat(), Value);
    if (DisplayText && FCurrency)
        return FloatToStrF(Value, ffCurrency, FPrecision, FormatSettings().CurrencyDecimals);
    return FloatToStrF(Value, ffGeneral, FPrecision, 0);
}

Variant TFloatField::FromString(const AnsiString& Value) const {
    if (Trim(Value).empty()) return Null();
    return Variant(StrToFloat(Value));
}

Variant TFloatField::FromInteger(int Value) const {
    return Variant(static_cast<double>(Value));
}

Variant TFloatField::FromFloat(double Value) const {
    return Variant(Value);
}

Variant TFloatField::FromDateTime(TDateTime Value) const {
    return Variant(Value.Val);
}

Variant TFloatField::FromVariant(const Variant& Value) const {
    if (IsText(Value)) return FromString(Value.AsString());
    return Variant(Value.AsDouble());
}

// --- TBooleanField --------------------------------------------------------

Variant TBooleanField::ImportValue(const Variant& Cell) const {
    if (IsText(Cell)) {
        const AnsiString S = LowerCase(Trim(Cell.AsString()));
        if (S == "1" || S == "true" || S == "t" || S == "yes" || S == "y") return Variant(true);
        if (S == "0" || S == "false" || S == "f" || S == "no" || S == "n") return Variant(false);
        ImportError(Cell, "a truth value");
    }
    return Variant(Cell.AsDouble() != 0.0);
}

AnsiString TBooleanField::GetAsString(const Variant& Raw) const {
    return Raw.AsBoolean() ? "True" : "False";
}

bool TBooleanField::GetAsBoolean(const Variant& Raw) const {
    return Raw.AsBoolean();
}

Variant TBooleanField::FromString(const AnsiString& Value) const {
    const AnsiString S = Trim(Value);
    if (S.empty()) return Null();
    if (SameText(S, "True") || SameText(S, "T") || SameText(S, "Yes") || SameText(S, "Y"))
        return Variant(true);
    if (SameText(S, "False") || SameText(S, "F") || SameText(S, "No") || SameText(S, "N"))
        return Variant(false);
    DatabaseError("'" + Value + "' is not a valid boolean value for field '" + FieldName() + "'");
}

Variant TBooleanField::FromBoolean(bool Value) const {
    return Variant(Value);
}

Variant TBooleanField::FromVariant(const Variant& Value) const {
    if (IsText(Value)) return FromString(Value.AsString());
    return Variant(Value.AsBoolean());
}

// --- TDateTimeField, TDateField -------------------------------------------

AnsiString TDateTimeField::StatementText(TDateTime Value) const {
    return SqlDateTimeTextShort(Value);
}

AnsiString TDateField::StatementText(TDateTime Value) const {
    return SqlDateText(Value);
}

TDateTime TDateTimeField::Decode(const Variant& Raw) const {
    if (!IsText(Raw)) return Raw.AsDateTime();
    TDateTime Value;
    if (!TryParseSqlDateTime(Raw.AsString(), Value))
        throw EConvertError("'" + Raw.AsString() + "' is not a valid date and time");
    return Value;
}

Variant TDateTimeField::ImportValue(const Variant& Cell) const {
    // Kept as the database's text; it is read when asked for.
    return Variant(Cell.AsString());
}

Variant TDateTimeField::GetAsVariant(const Variant& Raw) const {
    return Variant(Decode(Raw));
}

AnsiString TDateTimeField::GetAsString(const Variant& Raw) const {
    TDateTime Value;
    if (IsText(Raw) && !TryParseSqlDateTime(Raw.AsString(), Value)) return Raw.AsString();
    return StatementText(Decode(Raw));
}

double TDateTimeField::GetAsFloat(const Variant& Raw) const {
    return Decode(Raw);
}

TDateTime TDateTimeField::GetAsDateTime(const Variant& Raw) const {
    return Decode(Raw);
}

AnsiString TDateTimeField::GetText(const Variant& Raw, bool DisplayText) const {
    TDateTime Value;
    if (!DisplayText || FDisplayFormat.empty() ||
        (IsText(Raw) && !TryParseSqlDateTime(Raw.AsString(), Value)))
        return GetAsString(Raw);
    return FormatDateTime(FDisplayFormat, Decode(Raw));
}

Variant TDateTimeField::FromString(const AnsiString& Value) const {
    if (Trim(Value).empty()) return Null();
    TDateTime Parsed;
    if (!TryParseSqlDateTime(Value, Parsed)) Parsed = StrToDateTime(Value);
    return FromDateTime(Parsed);
}

Variant TDateTimeField::FromFloat(double Value) const {
    return FromDateTime(Value);
}

Variant TDateTimeField::FromDateTime(TDateTime Value) const {
    return Variant(Value);
}

Variant TDateField::FromDateTime(TDateTime Value) const {
    return Variant(TDateTime(std::trunc(Value.Val)));
}

Variant TDateTimeField::FromVariant(const Variant& Value) const {
    if (IsText(Value)) return FromString(Value.AsString());
    return FromDateTime(Value.AsDateTime());
}

TField* CreateField(TComponent* Owner, TFieldType DataType, int Size) {
    switch (DataType) {
    case ftSmallint:
        return new TSmallintField(Owner);
    case ftInteger:
        return new TIntegerField(Owner);
    case ftFloat:
        return new TFloatField(Owner);
    case ftCurrency:
        return new TCurrencyField(Owner);
    case ftBoolean:
        return new TBooleanField(Owner);
    case ftDate:
        return new TDateField(Owner);
    case ftDateTime:
        return new TDateTimeField(Owner);
    case ftMemo:
        return new TMemoField(Owner);
    case ftString:
        return new TStringField(Owner, Size);
    default:
        DatabaseError("No field class holds data of type " +
                      std::to_string(static_cast<int>(DataType)));
    }
}
