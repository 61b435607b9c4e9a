#include "platform/data/DataSet.h"

#include "platform/data/DBExceptions.h"
#include "platform/data/DataSource.h"
#include "platform/data/FilterExpression.h"
#include "platform/data/StdFields.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>

namespace {

// Puts the data set's state back however the handler leaves.
class StateGuard {
public:
    StateGuard(TDataSetState& State, TDataSetState Temporary, int& Depth)
        : FState(State), FSaved(State), FDepth(Depth) {
        FState = Temporary;
        ++FDepth;
    }
    ~StateGuard() {
        FState = FSaved;
        --FDepth;
    }
    StateGuard(const StateGuard&) = delete;
    StateGuard& operator=(const StateGuard&) = delete;

private:
    TDataSetState& FState;
    TDataSetState FSaved;
    int& FDepth;
};

} // namespace

TDataSet::TDataSet(TComponent* AOwner) : TComponent(AOwner) {}

TDataSet::~TDataSet() {
    Destroying();
    FCalcDepth = 0;
    try {
        Close();
    } catch (...) {
        // A data set that is going away cannot report anything.
    }
    for (TDataSource* Source : std::vector<TDataSource*>(FDataSources))
        Source->SetDataSet(nullptr);
    // Persistent fields go with their data set, as the framework's do.
    while (!FFields.FList.empty())
        delete FFields.FList.back();
    for (TField* Field : FSpareFields)
        delete Field;
}

AnsiString TDataSet::DisplayName() const {
    return Name().empty() ? ClassName() : Name();
}

void TDataSet::CheckActive() const {
    if (!Active())
        DatabaseError(DisplayName() + ": Cannot perform this operation on a closed dataset");
}

void TDataSet::CheckInactive() const {
    if (Active())
        DatabaseError(DisplayName() + ": Cannot perform this operation on an open dataset");
}

void TDataSet::SetActive(bool Value) {
    if (Value)
        Open();
    else
        Close();
}

void TDataSet::MakeNamesUnique(std::vector<TColumn>& Columns) {
    // Repeated column names get "_1", "_2", ... as their fields must differ.
    for (std::size_t I = 0; I < Columns.size(); ++I) {
        auto Taken = [&](const AnsiString& Name) {
            for (std::size_t J = 0; J < I; ++J)
                if (SameText(Columns[J].Name, Name)) return true;
            return false;
        };
        AnsiString& Name = Columns[I].Name;
        if (!Taken(Name)) continue;
        for (int Suffix = 1;; ++Suffix) {
            const AnsiString Candidate = Name + "_" + std::to_string(Suffix);
            if (!Taken(Candidate)) {
                Name = Candidate;
                break;
            }
        }
    }
}

void TDataSet::Open() {
    if (Active()) return;
    TResult Result;
    InternalOpen(Result);

    std::shared_ptr<const TColumnLayout> Layout = Result.Layout;
    if (!Layout) {
        MakeNamesUnique(Result.Columns);
        Layout = std::make_shared<const TColumnLayout>(std::move(Result.Columns));
    }

    try {
        BindFields(Layout);
        ImportRecords(Result, FColumnOf);
        FCalcValues.assign(static_cast<std::size_t>(FCalcFieldCount), Null());
        FState = dsBrowse;
        ++FGeneration;
        BuildView();
    } catch (...) {
        FState = dsInactive;
        FRecords.clear();
        FView.clear();
        DestroyDefaultFields();
        InternalClose();
        throw;
    }
    FCurrent = FView.empty() ? -1 : 0;
    FBof = true;
    FEof = FView.empty();
    try {
        CalculateFields();
    } catch (...) {
        Notify(Pending::Active);
        throw;
    }
    Notify(Pending::Active);
}

void TDataSet::BindFields(const std::shared_ptr<const TColumnLayout>& Layout) {
    const TColumnLayout& Columns = *Layout;
    const bool SameColumns = FBoundLayout && (FBoundLayout == Layout || *FBoundLayout == Columns);
    FDefaultFields = FFields.FList.empty();
    if (FDefaultFields) {
        FCalcFieldCount = 0;
        if (SameColumns && FSpareFields.size() == Columns.size()) {
            // The fields of the last opening fit these columns: no new ones.
            for (TField* Field : FSpareFields)
                FFields.FList.push_back(Field);
            FSpareFields.clear();
            FBoundLayout = Layout;
            return;
        }
        for (TField* Field : FSpareFields)
            delete Field;
        FSpareFields.clear();
        FColumnOf.clear();
        FBoundNames.clear();
        FBoundLayout.reset();
        for (std::size_t I = 0; I < Columns.size(); ++I) {
            const TColumn& Column = Columns[I];
            TField* Field = CreateField(this, Column.DataType, Column.Size);
            Field->FFieldName = Column.Name;
            AddField(Field);
            Field->FSlot = static_cast<int>(I);
            FColumnOf.push_back(static_cast<int>(I));
        }
        FBoundLayout = Layout;
        return;
    }
    for (TField* Field : FSpareFields)
        delete Field;
    FSpareFields.clear();

    // Persistent fields: the binding stands while the columns and the
    // fields' names are those it was made for.
    bool Same = SameColumns && FBoundNames.size() == FFields.FList.size();
    int DataSlot = 0;
    int CalcSlot = 0;
    for (std::size_t K = 0; Same && K < FFields.FList.size(); ++K) {
        const TField* Field = FFields.FList[K];
        const int Expected = Field->Calculated() ? CalcSlot++ : DataSlot++;
        Same = Field->FieldName() == FBoundNames[K] && Field->FSlot == Expected;
    }
    if (Same && CalcSlot == FCalcFieldCount) {
        FBoundLayout = Layout;
        return;
    }
    FBoundLayout.reset();
    FColumnOf.clear();
    FBoundNames.clear();
    FCalcFieldCount = 0;
    for (TField* Field : FFields.FList) {
        if (Field->Calculated()) {
            Field->FSlot = FCalcFieldCount++;
            continue;
        }
        int Found = -1;
        for (std::size_t I = 0; I < Columns.size() && Found < 0; ++I)
            if (SameText(Columns[I].Name, Field->FieldName())) Found = static_cast<int>(I);
        if (Found < 0) DatabaseError("Field '" + Field->FieldName() + "' not found");
        Field->FSlot = static_cast<int>(FColumnOf.size());
        FColumnOf.push_back(Found);
    }
    for (TField* Field : FFields.FList)
        FBoundNames.push_back(Field->FieldName());
    FBoundLayout = Layout;
}

void TDataSet::ImportRecords(TResult& Result, const std::vector<int>& ColumnOf) {
    std::vector<TField*>& DataFields = FImportFields;
    DataFields.clear();
    for (TField* Field : FFields.FList)
        if (!Field->Calculated()) DataFields.push_back(Field);

    // A string or memo field keeps text as it comes, and a number field a
    // number of its own form: such a value moves across unconverted.
    std::vector<char>& MovesText = FImportMovesText;
    MovesText.assign(DataFields.size(), 0);
    for (std::size_t K = 0; K < DataFields.size(); ++K) {
        const TFieldType Type = DataFields[K]->DataType();
        MovesText[K] = Type == ftString || Type == ftMemo;
    }
    std::vector<TVarType>& KeptAs = FImportKeptAs;
    KeptAs.assign(DataFields.size(), varEmpty);
    for (std::size_t K = 0; K < DataFields.size(); ++K) {
        const TFieldType Type = DataFields[K]->DataType();
        if (Type == ftInteger || Type == ftSmallint)
            KeptAs[K] = varInteger;
        else if (Type == ftFloat)
            KeptAs[K] = varDouble;
    }
    FRecords.clear();
    FRecords.reserve(Result.Rows.size());
    // Fields made for the columns take each row as it came, converting
    // only the values their kind changes: no second record per row.
    bool InPlace = FDefaultFields;
    for (std::size_t K = 0; InPlace && K < DataFields.size(); ++K)
        InPlace = ColumnOf[K] == static_cast<int>(K);
    for (auto& Row : Result.Rows) {
        if (!InPlace || Row.size() != DataFields.size()) break;
        for (std::size_t K = 0; K < DataFields.size(); ++K) {
            Variant& Cell = Row[K];
            if (Cell.IsNull() || Cell.Type() == KeptAs[K] ||
                (MovesText[K] && Cell.Type() == varString))
                continue;
            Cell = DataFields[K]->ImportValue(Cell);
        }
        FRecords.push_back(std::move(Row));
    }
    if (FRecords.size() == Result.Rows.size()) return;
    // A column that serves one field only moves across.
    std::vector<char>& Shared = FImportShared;
    Shared.assign(DataFields.size(), 0);
    for (std::size_t K = 0; K < DataFields.size(); ++K)
        for (std::size_t J = 0; J < K; ++J)
            if (ColumnOf[J] == ColumnOf[K]) Shared[J] = Shared[K] = 1;
    for (std::size_t R = FRecords.size(); R < Result.Rows.size(); ++R) {
        auto& Row = Result.Rows[R];
        std::vector<Variant> Record(DataFields.size());
        for (std::size_t K = 0; K < DataFields.size(); ++K) {
            Variant& Cell = Row[static_cast<std::size_t>(ColumnOf[K])];
            if (Cell.IsNull())
                Record[K] = Null();
            else if ((MovesText[K] && Cell.Type() == varString) || Cell.Type() == KeptAs[K]) {
                if (Shared[K])
                    Record[K] = Cell;
                else
                    Record[K] = std::move(Cell);
            } else
                Record[K] = DataFields[K]->ImportValue(Cell);
        }
        FRecords.push_back(std::move(Record));
        Row.clear();
    }
}

void TDataSet::Close() {
    if (!Active()) return;
    if (FCalcDepth > 0)
        DatabaseError(DisplayName() +
                      ": Cannot close a dataset while its calculated fields are being computed");
    FState = dsInactive;
    FRecords.clear();
    FView.clear();
    FCalcValues.clear();
    FCurrent = -1;
    FEof = FBof = true;
    FFilterExpr.reset();
    DestroyDefaultFields();
    InternalClose();
    Notify(Pending::Active);
}

void TDataSet::DestroyDefaultFields() {
    if (!FDefaultFields) return;
    FDefaultFields = false;
    if (FBoundLayout && FSpareFields.empty()) {
        // Kept aside for the next opening of the same columns.
        FSpareFields.swap(FFields.FList);
        return;
    }
    while (!FFields.FList.empty())
        delete FFields.FList.back();
    FBoundLayout.reset();
}

void TDataSet::BuildView() {
    FView.clear();
    FFilterExpr.reset();
    if (!FFiltered || Trim(FFilterText).empty()) {
        FView.resize(FRecords.size());
        for (std::size_t I = 0; I < FRecords.size(); ++I)
            FView[I] = static_cast<std::int64_t>(I);
        return;
    }
    FFilterExpr = std::make_unique<TFilterExpression>(FFilterText, FFields, FFilterOptions);
    const bool NeedsCalc = FFilterExpr->UsesCalculatedFields();
    struct RecordGuard {
        std::int64_t& Record;
        ~RecordGuard() { Record = -1; }
    } Guard{FFilterRecord};
    for (std::size_t I = 0; I < FRecords.size(); ++I) {
        FFilterRecord = static_cast<std::int64_t>(I);
        if (NeedsCalc) CalculateFields();
        StateGuard Filtering(FState, dsFilter, FCalcDepth);
        if (FFilterExpr->Evaluate()) FView.push_back(FFilterRecord);
    }
}

std::int64_t TDataSet::CurrentRecord() const {
    if (FFilterRecord >= 0) return FFilterRecord;
    return FCurrent >= 0 ? FView[static_cast<std::size_t>(FCurrent)] : -1;
}

void TDataSet::CalculateFields() {
    std::fill(FCalcValues.begin(), FCalcValues.end(), Null());
    if (FCalcFieldCount == 0 || !OnCalcFields || CurrentRecord() < 0) return;
    StateGuard Calculating(FState, dsCalcFields, FCalcDepth);
    OnCalcFields(this);
}

void TDataSet::MoveTo(int Position) {
    FCurrent = Position;
    FBof = FEof = false;
    CalculateFields();
    Notify(Pending::Changed);
}

void TDataSet::First() {
    CheckActive();
    if (!FView.empty()) MoveTo(0);
    FBof = true;
    FEof = FView.empty();
}

void TDataSet::Last() {
    CheckActive();
    if (!FView.empty()) MoveTo(static_cast<int>(FView.size()) - 1);
    FEof = true;
    FBof = FView.empty();
}

void TDataSet::Next() {
    CheckActive();
    if (FCurrent + 1 < static_cast<int>(FView.size()))
        MoveTo(FCurrent + 1);
    else
        FEof = true;
}

void TDataSet::Prior() {
    CheckActive();
    if (FCurrent > 0)
        MoveTo(FCurrent - 1);
    else
        FBof = true;
}

int TDataSet::RecordCount() const {
    CheckActive();
    return static_cast<int>(FView.size());
}

int TDataSet::RecNo() const {
    return Active() && FCurrent >= 0 ? FCurrent + 1 : -1;
}

void TDataSet::SetRecNo(int Value) {
    CheckActive();
    if (Value < 1 || Value > static_cast<int>(FView.size()))
        DatabaseError(DisplayName() + ": Record number " + std::to_string(Value) +
                      " is out of range");
    MoveTo(Value - 1);
}

TBookmark TDataSet::GetBookmark() const {
    if (!Active() || FCurrent < 0) return TBookmark();
    return TBookmark{CurrentRecord(), FGeneration};
}

bool TDataSet::BookmarkValid(const TBookmark& Bookmark) const {
    return Active() && !Bookmark.Empty() && Bookmark.Generation == FGeneration &&
           std::binary_search(FView.begin(), FView.end(), Bookmark.Record);
}

void TDataSet::GotoBookmark(const TBookmark& Bookmark) {
    CheckActive();
    if (!BookmarkValid(Bookmark)) DatabaseError(DisplayName() + ": Record not found");
    const auto Found = std::lower_bound(FView.begin(), FView.end(), Bookmark.Record);
    MoveTo(static_cast<int>(Found - FView.begin()));
}

void TDataSet::DisableControls() {
    ++FDisableCount;
}

void TDataSet::EnableControls() {
    if (FDisableCount == 0) return;
    if (--FDisableCount > 0) return;
    const Pending Held = FPending;
    FPending = Pending::None;
    if (Held != Pending::None) Notify(Held);
}

void TDataSet::Notify(Pending Event) {
    if (FDisableCount > 0) {
        FPending = std::max(FPending, Event);
        return;
    }
    for (TDataSource* Source : std::vector<TDataSource*>(FDataSources)) {
        if (std::find(FDataSources.begin(), FDataSources.end(), Source) == FDataSources.end())
            continue;
        Source->NotifyLinks(Event == Pending::Active ? TDataSource::Event::ActiveChanged
                                                     : TDataSource::Event::Scrolled);
    }
}

void TDataSet::SetFilter(const AnsiString& Value) {
    if (Value == FFilterText) return;
    const AnsiString Old = FFilterText;
    FFilterText = Value;
    if (FFiltered) Refilter([&] { FFilterText = Old; });
}

void TDataSet::SetFiltered(bool Value) {
    if (Value == FFiltered) return;
    FFiltered = Value;
    Refilter([&] { FFiltered = !Value; });
}

void TDataSet::SetFilterOptions(TFilterOptions Value) {
    if (Value == FFilterOptions) return;
    const TFilterOptions Old = FFilterOptions;
    FFilterOptions = Value;
    if (FFiltered) Refilter([&] { FFilterOptions = Old; });
}

void TDataSet::Refilter(const std::function<void()>& Undo) {
    if (!Active()) return;
    try {
        BuildView();
    } catch (...) {
        // A filter that cannot be applied leaves the data set as it was.
        Undo();
        BuildView();
        throw;
    }
    FCurrent = FView.empty() ? -1 : 0;
    First();
    if (FView.empty()) CalculateFields();
    Notify(Pending::Changed);
}

void TDataSet::SetKeyState(bool Editing) {
    CheckActive();
    FState = Editing ? dsSetKey : dsBrowse;
}

bool TDataSet::GetKeyFieldData(const TField*, Variant&) const {
    return false;
}

void TDataSet::SetKeyFieldData(TField* Field, Variant) {
    DatabaseError(DisplayName() + ": Field '" + Field->FieldName() + "' is no key field");
}

bool TDataSet::GetFieldData(const TField* Field, Variant& Raw) const {
    Variant Spare;
    const Variant* Kept = FieldData(Field, Spare);
    if (!Kept) {
        Raw = Null();
        return false;
    }
    Raw = Kept == &Spare ? std::move(Spare) : *Kept;
    return true;
}

const Variant* TDataSet::FieldData(const TField* Field, Variant& Spare) const {
    if (FState == dsSetKey) return GetKeyFieldData(Field, Spare) ? &Spare : nullptr;
    if (!Active() || Field->FSlot < 0) return nullptr;
    const Variant* Kept = nullptr;
    if (Field->Calculated()) {
        if (static_cast<std::size_t>(Field->FSlot) >= FCalcValues.size() || CurrentRecord() < 0)
            return nullptr;
        Kept = &FCalcValues[static_cast<std::size_t>(Field->FSlot)];
    } else {
        const std::int64_t Record = CurrentRecord();
        if (Record < 0) return nullptr;
        Kept = &FRecords[static_cast<std::size_t>(Record)][static_cast<std::size_t>(Field->FSlot)];
    }
    return Kept->IsNull() ? nullptr : Kept;
}

void TDataSet::SetFieldData(TField* Field, Variant Raw) {
    if (FState == dsSetKey) {
        SetKeyFieldData(Field, std::move(Raw));
        return;
    }
    if (!Field->Calculated() || FState != dsCalcFields)
        DatabaseError(DisplayName() + ": Field '" + Field->FieldName() +
                      "' cannot be modified: the dataset is not in edit mode");
    FCalcValues[static_cast<std::size_t>(Field->FSlot)] = std::move(Raw);
}

void TDataSet::AddField(TField* Field) {
    FFields.FList.push_back(Field);
    Field->FDataSet = this;
    Field->FSlot = -1;
}

void TDataSet::RemoveField(TField* Field) {
    // A field leaving an open data set would shift the places of the others.
    if (Active() && !FDefaultFields) Close();
    auto& List = FFields.FList;
    List.erase(std::remove(List.begin(), List.end(), Field), List.end());
    Field->FDataSet = nullptr;
    Field->FSlot = -1;
}

void TDataSet::MoveField(TField* Field, int Index) {
    auto& List = FFields.FList;
    const auto Where = std::find(List.begin(), List.end(), Field);
    if (Where == List.end()) return;
    List.erase(Where);
    Index = std::clamp(Index, 0, static_cast<int>(List.size()));
    List.insert(List.begin() + Index, Field);
}

void TDataSet::AttachDataSource(TDataSource* Source) {
    FDataSources.push_back(Source);
}

void TDataSet::DetachDataSource(TDataSource* Source) {
    FDataSources.erase(std::remove(FDataSources.begin(), FDataSources.end(), Source),
                       FDataSources.end());
}
