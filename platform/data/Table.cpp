#include "platform/data/Table.h"

#include "platform/data/DBExceptions.h"
#include "platform/rtl/StrUtils.h"

namespace {

// "A; B;;C" gives A, B, C.
std::vector<AnsiString> SplitFieldNames(const AnsiString& Names) {
    std::vector<AnsiString> Result;
    std::size_t Start = 0;
    while (Start <= Names.size()) {
        std::size_t End = Names.find(';', Start);
        if (End == AnsiString::npos) End = Names.size();
        const AnsiString Name = Trim(Names.substr(Start, End - Start));
        if (!Name.empty()) Result.push_back(Name);
        Start = End + 1;
    }
    return Result;
}

// A name as SQLite reads an identifier, whatever characters it holds.
AnsiString Identifier(const AnsiString& Name) {
    return AnsiQuotedStr(Name, '"');
}

AnsiString NameList(const std::vector<AnsiString>& Names, std::size_t Count) {
    AnsiString Text;
    for (std::size_t I = 0; I < Count; ++I)
        Text += (I ? ", " : "") + Identifier(Names[I]);
    return Text;
}

// "(A, B)" for several names, "A" for one: SQLite compares the first as a
// row, field by field, as an index orders them.
AnsiString ColumnList(const std::vector<AnsiString>& Names, std::size_t Count) {
    return Count > 1 ? "(" + NameList(Names, Count) + ")" : NameList(Names, Count);
}

AnsiString ParamList(const char* Prefix, std::size_t Count) {
    AnsiString Text;
    for (std::size_t I = 0; I < Count; ++I)
        Text += (I ? ", :" : ":") + AnsiString(Prefix) + std::to_string(I + 1);
    return Count > 1 ? "(" + Text + ")" : Text;
}

// Gives Param a value as Field's kind stores it in the database.
void SetParamFrom(TParam& Param, TFieldType Type, const Variant& Raw) {
    if (Raw.IsNull() || Raw.IsEmpty()) {
        Param.Clear();
        Param.SetDataType(Type);
        Param.SetBound(true);
    } else if ((Raw.Type() & varTypeMask) == varDate) {
        Type == ftDate ? Param.SetAsDate(Raw.AsDateTime()) : Param.SetAsDateTime(Raw.AsDateTime());
    } else {
        Param.SetValue(Raw);
    }
}

} // namespace

class TTable::TMasterLink : public TDataLink {
public:
    explicit TMasterLink(TTable& Table) : FTable(Table) {}

protected:
    void ActiveChanged() override { FTable.MasterChanged(); }
    void DataSetChanged() override { FTable.MasterChanged(); }

private:
    TTable& FTable;
};

void TTable::TKey::Clear(std::size_t Count) {
    Values.assign(Count, Null());
    Types.assign(Count, ftUnknown);
    Given.assign(Count, false);
}

std::size_t TTable::TKey::Leading() const {
    std::size_t Count = 0;
    while (Count < Given.size() && Given[Count])
        ++Count;
    return Count;
}

TTable::TTable(TComponent* AOwner)
    : TQuery(AOwner), FMasterLink(std::make_unique<TMasterLink>(*this)) {}

TTable::~TTable() {
    Destroying();
    FMasterLink.reset();
}

void TTable::SetTableName(const AnsiString& Value) {
    if (Value == FTableName) return;
    CheckInactive();
    FTableName = Value;
}

void TTable::SetIndexFieldNames(const AnsiString& Value) {
    if (Value == FIndexFieldNames) return;
    FIndexFieldNames = Value;
    FIndexFields = SplitFieldNames(Value);
    // A range's keys follow the index they were given for.
    FEditing = nullptr;
    FRangeApplied = false;
    FRangeStart.Clear(0);
    FRangeEnd.Clear(0);
    if (Active()) SetKeyState(false);
    Reread();
}

TDataSource* TTable::MasterSource() const {
    return FMasterLink->DataSource();
}

void TTable::SetMasterSource(TDataSource* Value) {
    if (Value && Value->DataSet() == this)
        DatabaseError(DisplayName() + ": Circular datalinks are not allowed");
    FMasterLink->SetDataSource(Value);
}

void TTable::SetMasterFields(const AnsiString& Value) {
    if (Value == FMasterFields) return;
    FMasterFields = Value;
    MasterChanged();
}

void TTable::SetRangeStart() {
    EditKey(FRangeStart);
}

void TTable::SetRangeEnd() {
    EditKey(FRangeEnd);
}

void TTable::EditKey(TKey& Key) {
    CheckActive();
    if (FIndexFields.empty()) DatabaseError(DisplayName() + ": No index fields are set");
    Key.Clear(FIndexFields.size());
    // The other key starts empty too when no range holds it yet.
    TKey& Other = &Key == &FRangeStart ? FRangeEnd : FRangeStart;
    if (Other.Given.size() != FIndexFields.size()) Other.Clear(FIndexFields.size());
    FEditing = &Key;
    SetKeyState(true);
}

void TTable::ApplyRange() {
    CheckActive();
    if (FRangeStart.Given.size() != FIndexFields.size()) FRangeStart.Clear(FIndexFields.size());
    if (FRangeEnd.Given.size() != FIndexFields.size()) FRangeEnd.Clear(FIndexFields.size());
    FEditing = nullptr;
    SetKeyState(false);
    FRangeApplied = true;
    Reread();
}

void TTable::CancelRange() {
    FEditing = nullptr;
    if (Active()) SetKeyState(false);
    const bool Had = FRangeApplied;
    FRangeApplied = false;
    FRangeStart.Clear(0);
    FRangeEnd.Clear(0);
    if (Had) Reread();
}

int TTable::IndexPosition(const TField* Field) const {
    for (std::size_t I = 0; I < FIndexFields.size(); ++I)
        if (SameText(FIndexFields[I], Field->FieldName())) return static_cast<int>(I);
    return -1;
}

bool TTable::GetKeyFieldData(const TField* Field, Variant& Raw) const {
    const int Position = IndexPosition(Field);
    if (!FEditing || Position < 0 || !FEditing->Given[static_cast<std::size_t>(Position)])
        return false;
    Raw = FEditing->Values[static_cast<std::size_t>(Position)];
    return !Raw.IsNull();
}

void TTable::SetKeyFieldData(TField* Field, Variant Raw) {
    const int Position = IndexPosition(Field);
    if (!FEditing || Position < 0)
        DatabaseError(DisplayName() + ": Field '" + Field->FieldName() +
                      "' is not an index field of '" + FIndexFieldNames + "'");
    FEditing->Values[static_cast<std::size_t>(Position)] = std::move(Raw);
    FEditing->Types[static_cast<std::size_t>(Position)] = Field->DataType();
    FEditing->Given[static_cast<std::size_t>(Position)] = true;
}

AnsiString TTable::BuildStatement() {
    if (Trim(FTableName).empty()) DatabaseError(DisplayName() + ": No TableName is set");
    std::vector<AnsiString> Conditions;
    const std::vector<AnsiString> Master = SplitFieldNames(FMasterFields);
    if (MasterSource() && !Master.empty()) {
        if (Master.size() > FIndexFields.size())
            DatabaseError(DisplayName() + ": MasterFields '" + FMasterFields +
                          "' has more fields than the index '" + FIndexFieldNames + "'");
        for (std::size_t I = 0; I < Master.size(); ++I)
            Conditions.push_back(Identifier(FIndexFields[I]) + " = :m" + std::to_string(I + 1));
    }
    if (FRangeApplied) {
        if (const std::size_t Count = FRangeStart.Leading())
            Conditions.push_back(ColumnList(FIndexFields, Count) + " >= " + ParamList("s", Count));
        if (const std::size_t Count = FRangeEnd.Leading())
            Conditions.push_back(ColumnList(FIndexFields, Count) + " <= " + ParamList("e", Count));
    }
    AnsiString Sql = "select * from " + Identifier(FTableName);
    for (std::size_t I = 0; I < Conditions.size(); ++I)
        Sql += (I ? " and " : " where ") + Conditions[I];
    if (!FIndexFields.empty()) Sql += " order by " + NameList(FIndexFields, FIndexFields.size());
    return Sql;
}

void TTable::BindKey(const TKey& Key, std::size_t Count, const char* Prefix) {
    for (std::size_t I = 0; I < Count; ++I)
        SetParamFrom(*ParamByName(Prefix + std::to_string(I + 1)), Key.Types[I], Key.Values[I]);
}

void TTable::InternalOpen(TResult& Result) {
    const AnsiString Sql = BuildStatement();
    if (SQL()->Text() != Sql + "\n") {
        SQL()->Clear();
        SQL()->Add(Sql);
    }
    const std::vector<AnsiString> Master = SplitFieldNames(FMasterFields);
    if (MasterSource() && !Master.empty()) {
        TDataSet* Source = MasterSource()->DataSet();
        // Without a current master record the detail has no rows.
        const bool HasRecord = Source && Source->Active() && !Source->IsEmpty();
        for (std::size_t I = 0; I < Master.size(); ++I) {
            TParam& Param = *ParamByName("m" + std::to_string(I + 1));
            if (!HasRecord) {
                SetParamFrom(Param, ftUnknown, Null());
                continue;
            }
            const TField* Field = Source->FieldByName(Master[I]);
            const TFieldType Type = Field->DataType();
            if (Field->IsNull())
                SetParamFrom(Param, Type, Null());
            else if (Type == ftDate || Type == ftDateTime || Type == ftTime)
                Param.SetAsString(Field->AsString());
            else
                SetParamFrom(Param, Type, Field->Value());
        }
    }
    if (FRangeApplied) {
        BindKey(FRangeStart, FRangeStart.Leading(), "s");
        BindKey(FRangeEnd, FRangeEnd.Leading(), "e");
    }
    TQuery::InternalOpen(Result);
}

void TTable::InternalClose() {
    // A range belongs to the open table, as its cursor does.
    FEditing = nullptr;
    if (!FRereading) {
        FRangeApplied = false;
        FRangeStart.Clear(0);
        FRangeEnd.Clear(0);
    }
    TQuery::InternalClose();
}

void TTable::MasterChanged() {
    if (FRereading || !Active()) return;
    TDataSet* Master = FMasterLink->DataSet();
    // A master that is closed (and not gone) changes nothing until it opens.
    if (Master && !Master->Active()) return;
    Reread();
}

void TTable::Reread() {
    if (!Active() || FRereading) return;
    FRereading = true;
    DisableControls();
    try {
        Close();
        Open();
    } catch (...) {
        FRereading = false;
        EnableControls();
        throw;
    }
    FRereading = false;
    EnableControls();
}
