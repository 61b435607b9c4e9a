#include "platform/data/Param.h"

#include "platform/data/DBExceptions.h"
#include "platform/rtl/StrUtils.h"

#include <cctype>

int TParam::AsInteger() const {
    return IsNull() ? 0 : FValue.AsInteger();
}

AnsiString TParam::AsString() const {
    return IsNull() ? AnsiString() : FValue.AsString();
}

double TParam::AsFloat() const {
    return IsNull() ? 0.0 : FValue.AsDouble();
}

TDateTime TParam::AsDateTime() const {
    return IsNull() ? TDateTime(0.0) : FValue.AsDateTime();
}

bool TParam::AsBoolean() const {
    return IsNull() ? false : FValue.AsBoolean();
}

Currency TParam::AsCurrency() const {
    return IsNull() ? Currency() : FValue.AsCurrency();
}

void TParam::Set(Variant Value, TFieldType DataType) {
    FValue = std::move(Value);
    FDataType = DataType;
    FBound = true;
}

void TParam::SetValue(const Variant& Value) {
    TFieldType Type = FDataType;
    switch (Value.Type() & varTypeMask) {
    case varSmallint:
    case varShortInt:
    case varByte:
        Type = ftSmallint;
        break;
    case varInteger:
    case varWord:
    case varLongWord:
    case varInt64:
        Type = ftInteger;
        break;
    case varSingle:
    case varDouble:
        Type = ftFloat;
        break;
    case varCurrency:
        Type = ftCurrency;
        break;
    case varDate:
        Type = ftDateTime;
        break;
    case varBoolean:
        Type = ftBoolean;
        break;
    case varString:
    case varOleStr:
        Type = ftString;
        break;
    default:
        break;
    }
    Set(Value, Type);
}

void TParam::SetAsInteger(int Value) {
    Set(Variant(Value), ftInteger);
}

void TParam::SetAsSmallInt(int Value) {
    Set(Variant(Value), ftSmallint);
}

void TParam::SetAsString(const AnsiString& Value) {
    Set(Variant(Value), ftString);
}

void TParam::SetAsFloat(double Value) {
    Set(Variant(Value), ftFloat);
}

void TParam::SetAsCurrency(const Currency& Value) {
    Set(Variant(Value), ftCurrency);
}

void TParam::SetAsBoolean(bool Value) {
    Set(Variant(Value), ftBoolean);
}

void TParam::SetAsDate(TDateTime Value) {
    Set(Variant(Value), ftDate);
}

void TParam::SetAsDateTime(TDateTime Value) {
    Set(Variant(Value), ftDateTime);
}

void TParam::Clear() {
    // A statement run row after row clears the same parameters each time.
    if (FBound && FValue.IsNull()) return;
    Set(Null(), FDataType);
}

void TParam::Assign(const TParam& Source) {
    FValue = Source.FValue;
    FDataType = Source.FDataType;
    FBound = Source.FBound;
}

TParam* TParams::Items(int Index) const {
    if (Index < 0 || Index >= Count())
        DatabaseError("Parameter index out of range (" + std::to_string(Index) + ")");
    return FItems[static_cast<std::size_t>(Index)].get();
}

TParam* TParams::FindParam(const AnsiString& Name) const {
    for (const auto& Item : FItems)
        if (SameText(Item->Name(), Name)) return Item.get();
    return nullptr;
}

TParam* TParams::ParamByName(const AnsiString& Name) const {
    TParam* Param = FindParam(Name);
    if (!Param) DatabaseError("Parameter '" + Name + "' not found");
    return Param;
}

TParam* TParams::CreateParam(const AnsiString& Name) {
    if (TParam* Existing = FindParam(Name)) return Existing;
    FItems.push_back(std::make_unique<TParam>(Name));
    return FItems.back().get();
}

void TParams::AssignValues(const TParams& Source) {
    for (const auto& Item : Source.FItems)
        if (TParam* Mine = FindParam(Item->Name())) Mine->Assign(*Item);
}

AnsiString ParseSQL(const AnsiString& Sql, TParams* Params) {
    TParams Local;
    TParams& List = Params ? *Params : Local;
    AnsiString Out;
    Out.reserve(Sql.size());
    auto IsNameChar = [](char C) {
        return std::isalnum(static_cast<unsigned char>(C)) || C == '_';
    };
    std::size_t I = 0;
    const std::size_t N = Sql.size();
    while (I < N) {
        const char C = Sql[I];
        // Quoted text and names, and comments, are copied untouched.
        if (C == '\'' || C == '"' || C == '`' || C == '[') {
            const char Close = C == '[' ? ']' : C;
            std::size_t End = I + 1;
            while (End < N && Sql[End] != Close)
                ++End;
            End = End < N ? End + 1 : N;
            Out.append(Sql, I, End - I);
            I = End;
        } else if (C == '-' && I + 1 < N && Sql[I + 1] == '-') {
            std::size_t End = Sql.find('\n', I);
            End = End == AnsiString::npos ? N : End;
            Out.append(Sql, I, End - I);
            I = End;
        } else if (C == '/' && I + 1 < N && Sql[I + 1] == '*') {
            std::size_t End = Sql.find("*/", I + 2);
            End = End == AnsiString::npos ? N : End + 2;
            Out.append(Sql, I, End - I);
            I = End;
        } else if (C == ':' && I + 1 < N && Sql[I + 1] == ':') {
            Out += ':';
            I += 2;
        } else if (C == ':' && I + 1 < N && IsNameChar(Sql[I + 1])) {
            std::size_t End = I + 1;
            while (End < N && IsNameChar(Sql[End]))
                ++End;
            const AnsiString Name = Sql.substr(I + 1, End - I - 1);
            TParam* Param = List.CreateParam(Name);
            int Position = 0;
            while (List.Items(Position) != Param)
                ++Position;
            Out += "?" + std::to_string(Position + 1);
            I = End;
        } else {
            Out += C;
            ++I;
        }
    }
    return Out;
}
