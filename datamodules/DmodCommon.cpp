#include "datamodules/DmodCommon.h"

#include "platform/data/DataSource.h"
#include "platform/data/Query.h"
#include "platform/data/StdFields.h"

#include <cctype>

namespace {

// A component name from the query's name and the column's: characters that
// cannot stand in an identifier (a blank in "GCJob Nbr") are left out.
AnsiString FieldComponentName(const TQuery& Query, const char* Column) {
    AnsiString name = Query.Name();
    for (const char* c = Column; *c; ++c)
        if (std::isalnum(static_cast<unsigned char>(*c)) || *c == '_') name += *c;
    return name;
}

void AddFields(TComponent* Owner, TQuery* Query, std::initializer_list<FieldSpec> Fields,
               TFieldKind Kind) {
    for (const FieldSpec& wanted : Fields) {
        const int size = wanted.Type == ftString ? (wanted.Size > 0 ? wanted.Size : 20) : 0;
        TField* field = CreateField(Owner, wanted.Type, size);
        field->SetName(FieldComponentName(*Query, wanted.Column));
        field->SetFieldName(wanted.Column);
        field->SetFieldKind(Kind);
        if (wanted.Label) field->SetDisplayLabel(wanted.Label);
        if (wanted.DisplayFormat) {
            if (auto* numeric = dynamic_cast<TNumericField*>(field))
                numeric->SetDisplayFormat(wanted.DisplayFormat);
        }
        field->SetDataSet(Query);
    }
}

void PrepareAndBind(TQuery& Query, std::initializer_list<AnsiString> Lines,
                    std::initializer_list<int> Params) {
    SetStatement(Query, Lines);
    Query.Prepare();
    int index = 0;
    for (int value : Params)
        Query.Params()[index++]->SetAsInteger(value);
}

} // namespace

TQuery* NewQuery(TComponent* Owner, const char* Name, std::initializer_list<const char*> Lines) {
    auto* query = new TQuery(Owner);
    query->SetName(Name);
    query->SetDatabaseName(ShopDatabaseName);
    for (const char* line : Lines)
        query->SQL()->Add(line);
    return query;
}

TDataSource* NewDataSource(TComponent* Owner, const char* Name, TDataSet* DataSet, bool AutoEdit) {
    auto* source = new TDataSource(Owner);
    source->SetName(Name);
    source->SetDataSet(DataSet);
    source->SetAutoEdit(AutoEdit);
    return source;
}

void AddDataFields(TComponent* Owner, TQuery* Query, std::initializer_list<FieldSpec> Fields) {
    AddFields(Owner, Query, Fields, fkData);
}

void AddCalcFields(TComponent* Owner, TQuery* Query, std::initializer_list<FieldSpec> Fields) {
    AddFields(Owner, Query, Fields, fkCalculated);
}

void SetStatement(TQuery& Query, std::initializer_list<AnsiString> Lines) {
    Query.Close();
    TStringList& sql = *Query.SQL();
    // The same lines again keep the compiled statement; the parameters lose
    // their values, as they would through an emptied statement.
    bool same = sql.Count() == static_cast<int>(Lines.size());
    int index = 0;
    for (auto line = Lines.begin(); same && line != Lines.end(); ++line)
        same = sql.Strings(index++) == *line;
    if (same) {
        for (int param = 0; param < Query.Params().Count(); ++param)
            Query.Params()[param]->Reset();
        return;
    }
    Query.SQL()->Clear();
    for (const AnsiString& line : Lines)
        Query.SQL()->Add(line);
}

void OpenLookup(TQuery& Query, std::initializer_list<AnsiString> Lines,
                std::initializer_list<int> Params) {
    PrepareAndBind(Query, Lines, Params);
    Query.Open();
}

void ExecLookup(TQuery& Query, std::initializer_list<AnsiString> Lines,
                std::initializer_list<int> Params) {
    PrepareAndBind(Query, Lines, Params);
    Query.ExecSQL();
}

double FirstColumnAsDouble(const TQuery& Query) {
    if (Query.IsEmpty()) return 0.0;
    return Query.Fields()[0]->AsFloat();
}

Currency CurrencyFromDouble(double Value) {
    // Currency's own conversion rounds to the fourth decimal the way the
    // processor does (halves to even) and refuses what does not fit.
    return Currency(Value);
}

AnsiString CompanyDisplayText(const TDataSet& Row) {
    const TField* fname = Row.FieldByName("FNAME");
    AnsiString text = Row.FieldByName("NAME")->AsString();
    if (!fname->IsNull()) text += ", " + fname->AsString();
    return text;
}
