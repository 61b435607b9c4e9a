#include "platform/data/Field.h"

#include "platform/data/DBExceptions.h"
#include "platform/data/DataSet.h"
#include "platform/rtl/StrUtils.h"

TField::TField(TComponent* AOwner, TFieldType DataType, int Size)
    : TComponent(AOwner), FDataType(DataType), FSize(Size) {}

TField::~TField() {
    if (FDataSet) FDataSet->RemoveField(this);
}

void TField::SetDataSet(TDataSet* Value) {
    if (Value == FDataSet) return;
    if (FDataSet) FDataSet->CheckInactive();
    if (Value) Value->CheckInactive();
    if (FDataSet) FDataSet->RemoveField(this);
    if (Value) Value->AddField(this);
}

void TField::SetFieldName(const AnsiString& Value) {
    if (FDataSet) FDataSet->CheckInactive();
    FFieldName = Value;
}

void TField::SetFieldKind(TFieldKind Value) {
    if (FDataSet) FDataSet->CheckInactive();
    FFieldKind = Value;
}

void TField::SetSize(int Value) {
    if (FDataSet) FDataSet->CheckInactive();
    FSize = Value;
}

int TField::Index() const {
    return FDataSet ? FDataSet->Fields().IndexOf(this) : -1;
}

void TField::SetIndex(int Value) {
    if (FDataSet) FDataSet->MoveField(this, Value);
}

bool TField::GetData(Variant& Raw) const {
    return FDataSet && FDataSet->GetFieldData(this, Raw);
}

const Variant* TField::Data(Variant& Spare) const {
    return FDataSet ? FDataSet->FieldData(this, Spare) : nullptr;
}

void TField::SetData(Variant Raw) {
    if (!FDataSet) DatabaseError("Field '" + FFieldName + "' has no data set");
    FDataSet->SetFieldData(this, std::move(Raw));
}

bool TField::IsNull() const {
    Variant Spare;
    return !Data(Spare);
}

Variant TField::Value() const {
    Variant Spare;
    const Variant* Raw = Data(Spare);
    return Raw ? GetAsVariant(*Raw) : Null();
}

AnsiString TField::AsString() const {
    Variant Spare;
    const Variant* Raw = Data(Spare);
    return Raw ? GetAsString(*Raw) : AnsiString();
}

int TField::AsInteger() const {
    Variant Spare;
    const Variant* Raw = Data(Spare);
    return Raw ? GetAsInteger(*Raw) : 0;
}

double TField::AsFloat() const {
    Variant Spare;
    const Variant* Raw = Data(Spare);
    return Raw ? GetAsFloat(*Raw) : 0.0;
}

TDateTime TField::AsDateTime() const {
    Variant Spare;
    const Variant* Raw = Data(Spare);
    return Raw ? GetAsDateTime(*Raw) : TDateTime(0.0);
}

bool TField::AsBoolean() const {
    Variant Spare;
    const Variant* Raw = Data(Spare);
    return Raw ? GetAsBoolean(*Raw) : false;
}

Currency TField::AsCurrency() const {
    Variant Spare;
    const Variant* Raw = Data(Spare);
    return Raw ? GetAsCurrency(*Raw) : Currency();
}

AnsiString TField::DisplayText() const {
    Variant Raw;
    const bool HasValue = GetData(Raw);
    if (OnGetText) {
        AnsiString Text;
        OnGetText(const_cast<TField*>(this), Text, true);
        return Text;
    }
    return HasValue ? GetText(Raw, true) : AnsiString();
}

AnsiString TField::Text() const {
    Variant Raw;
    const bool HasValue = GetData(Raw);
    if (OnGetText) {
        AnsiString Text;
        OnGetText(const_cast<TField*>(this), Text, false);
        return Text;
    }
    return HasValue ? GetText(Raw, false) : AnsiString();
}

void TField::SetValue(const Variant& Value) {
    if (Value.IsNull() || Value.IsEmpty())
        SetData(Null());
    else
        SetData(FromVariant(Value));
}

void TField::SetAsString(const AnsiString& Value) {
    SetData(FromString(Value));
}

void TField::SetAsInteger(int Value) {
    SetData(FromInteger(Value));
}

void TField::SetAsFloat(double Value) {
    SetData(FromFloat(Value));
}

void TField::SetAsDateTime(TDateTime Value) {
    SetData(FromDateTime(Value));
}

void TField::SetAsBoolean(bool Value) {
    SetData(FromBoolean(Value));
}

void TField::SetAsCurrency(const Currency& Value) {
    SetData(FromCurrency(Value));
}

void TField::Clear() {
    SetData(Null());
}

void TField::AccessError(const char* TypeName) const {
    DatabaseError("Cannot access field '" + FFieldName + "' as type " + TypeName);
}

void TField::ImportError(const Variant& Value, const char* Kind) const {
    DatabaseError("Value '" + VarToStr(Value) + "' of field '" + FFieldName + "' is not " + Kind);
}

AnsiString TField::GetAsString(const Variant&) const {
    AccessError("String");
}
int TField::GetAsInteger(const Variant&) const {
    AccessError("Integer");
}
double TField::GetAsFloat(const Variant&) const {
    AccessError("Float");
}
TDateTime TField::GetAsDateTime(const Variant&) const {
    AccessError("DateTime");
}
bool TField::GetAsBoolean(const Variant&) const {
    AccessError("Boolean");
}
Currency TField::GetAsCurrency(const Variant& Raw) const {
    return Currency(GetAsFloat(Raw));
}
AnsiString TField::GetText(const Variant& Raw, bool) const {
    return GetAsString(Raw);
}

Variant TField::FromString(const AnsiString&) const {
    AccessError("String");
}
Variant TField::FromInteger(int) const {
    AccessError("Integer");
}
Variant TField::FromFloat(double) const {
    AccessError("Float");
}
Variant TField::FromDateTime(TDateTime) const {
    AccessError("DateTime");
}
Variant TField::FromBoolean(bool) const {
    AccessError("Boolean");
}
Variant TField::FromCurrency(const Currency& Value) const {
    return FromFloat(Value.ToDouble());
}
Variant TField::FromVariant(const Variant& Value) const {
    return FromString(Value.AsString());
}

TField* TFields::Fields(int Index) const {
    if (Index < 0 || Index >= Count())
        DatabaseError("Field index out of range (" + std::to_string(Index) + ")");
    return FList[static_cast<std::size_t>(Index)];
}

int TFields::IndexOf(const TField* Field) const {
    for (std::size_t I = 0; I < FList.size(); ++I)
        if (FList[I] == Field) return static_cast<int>(I);
    return -1;
}

TField* TFields::FindField(const AnsiString& FieldName) const {
    for (TField* Field : FList)
        if (Field->FieldName().size() == FieldName.size() &&
            SameText(Field->FieldName(), FieldName))
            return Field;
    return nullptr;
}

TField* TFields::FieldByName(const AnsiString& FieldName) const {
    TField* Field = FindField(FieldName);
    if (!Field) DatabaseError("Field '" + FieldName + "' not found");
    return Field;
}
