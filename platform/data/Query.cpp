#include "platform/data/Query.h"

#include "platform/data/DBExceptions.h"
#include "platform/data/Database.h"
#include "platform/data/SqlDateText.h"
#include "platform/data/SqlError.h"
#include "platform/data/StatementCache.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstring>
#include <sqlite3.h>

namespace {

// The field kind a column's declared type calls for; ftUnknown when the
// column has none (an expression) or one this table does not know.
TFieldType FromDeclaredType(const char* Declared, int& Size) {
    Size = 0;
    if (!Declared) return ftUnknown;
    const AnsiString Type = UpperCase(Declared);
    auto Has = [&](const char* Word) { return Type.find(Word) != AnsiString::npos; };
    if ((Has("LONG") && Has("CHAR")) || Has("TEXT") || Has("CLOB") || Has("MEMO")) return ftMemo;
    if (Has("CHAR")) {
        Size = 255;
        const auto Open = Type.find('(');
        if (Open != AnsiString::npos) {
            int Declared = 0;
            if (TryStrToInt(Trim(Type.substr(Open + 1, Type.find(')', Open) - Open - 1)),
                            Declared) &&
                Declared > 0)
                Size = Declared;
        }
        return ftString;
    }
    if (Has("SMALLINT") || Has("TINYINT")) return ftSmallint;
    if (Has("INT")) return ftInteger;
    if (Has("BOOL") || Has("BIT")) return ftBoolean;
    if (Has("MONEY") || Has("CURRENCY")) return ftCurrency;
    if (Has("TIMESTAMP") || Has("DATETIME")) return ftDateTime;
    if (Has("DATE")) return ftDate;
    if (Has("TIME")) return ftDateTime;
    if (Has("DOUB") || Has("REAL") || Has("FLOA") || Has("NUMERIC") || Has("DECIMAL"))
        return ftFloat;
    return ftUnknown;
}

// The kind of an expression column, from the values it holds.
TFieldType FromValues(const std::vector<std::vector<Variant>>& Rows, std::size_t Column,
                      int& Size) {
    bool Text = false, Real = false, Whole = false, Wide = false;
    std::size_t Longest = 0;
    for (const auto& Row : Rows) {
        const Variant& Cell = Row[Column];
        switch (Cell.Type()) {
        case varString:
            Text = true;
            Longest = std::max(Longest, Cell.AsString().size());
            break;
        case varDouble:
            Real = true;
            break;
        case varInteger:
            Whole = true;
            break;
        case varInt64: {
            Whole = true;
            const auto Value = Cell.AsInt64();
            Wide = Wide || Value < INT_MIN || Value > INT_MAX;
            break;
        }
        default:
            break;
        }
    }
    Size = 0;
    if (Text || (!Real && !Whole)) {
        Size = Text ? static_cast<int>(std::max<std::size_t>(Longest, 1)) : 20;
        return ftString;
    }
    return Real || Wide ? ftFloat : ftInteger;
}

// Appends the column's value to Row, made where it stays. The value is read
// through the column's value object: a connection stays on one thread, so
// the object needs none of the column calls' per-call checks.
void AppendCell(std::vector<Variant>& Row, sqlite3_stmt* Stmt, int Column) {
    sqlite3_value* Value = sqlite3_column_value(Stmt, Column);
    switch (sqlite3_value_type(Value)) {
    case SQLITE_INTEGER: {
        // An Integer where it fits: the form an integer field keeps.
        const sqlite3_int64 Whole = sqlite3_value_int64(Value);
        if (Whole >= INT_MIN && Whole <= INT_MAX)
            Row.emplace_back(static_cast<int>(Whole));
        else
            Row.emplace_back(static_cast<long long>(Whole));
        break;
    }
    case SQLITE_FLOAT:
        Row.emplace_back(sqlite3_value_double(Value));
        break;
    case SQLITE_NULL: {
        static const Variant NullCell = Null();
        Row.emplace_back(NullCell);
        break;
    }
    default: {
        const auto* Text = reinterpret_cast<const char*>(sqlite3_value_text(Value));
        Row.emplace_back(
            AnsiString(Text ? Text : "", static_cast<std::size_t>(sqlite3_value_bytes(Value))));
        break;
    }
    }
}

// True when Tail holds nothing but blanks, semicolons and comments.
bool OnlyTrailer(const char* Tail) {
    while (Tail && *Tail) {
        if (std::isspace(static_cast<unsigned char>(*Tail)) || *Tail == ';') {
            ++Tail;
        } else if (Tail[0] == '-' && Tail[1] == '-') {
            Tail = std::strchr(Tail, '\n');
        } else if (Tail[0] == '/' && Tail[1] == '*') {
            const char* End = std::strstr(Tail + 2, "*/");
            Tail = End ? End + 2 : nullptr;
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

class TQuery::TMasterLink : public TDataLink {
public:
    explicit TMasterLink(TQuery& Query) : FQuery(Query) {}

protected:
    void ActiveChanged() override { FQuery.MasterChanged(); }
    void DataSetChanged() override { FQuery.MasterChanged(); }

private:
    TQuery& FQuery;
};

TQuery::TQuery(TComponent* AOwner)
    : TDataSet(AOwner), FSQL(std::make_unique<TStringList>()),
      FMasterLink(std::make_unique<TMasterLink>(*this)) {
    FSQL->OnChanging = [this](TObject*) { SQLChanging(); };
    FSQL->OnChange = [this](TObject*) { SQLChanged(); };
}

TQuery::~TQuery() {
    Destroying();
    try {
        Close();
    } catch (...) {
        // Nothing can be reported from a destructor.
    }
    UnPrepare();
    ReleaseKeptStatements();
    FMasterLink.reset();
    if (FDatabase) FDatabase->DetachQuery(this);
    FSQL->OnChanging = nullptr;
    FSQL->OnChange = nullptr;
}

void TQuery::SetDatabaseName(const AnsiString& Value) {
    if (Value == FDatabaseName) return;
    CheckInactive();
    UnPrepare();
    ReleaseKeptStatements();
    if (FDatabase) FDatabase->DetachQuery(this);
    FDatabase = nullptr;
    FDatabaseName = Value;
}

TDataSource* TQuery::DataSource() const {
    return FMasterLink->DataSource();
}

void TQuery::SetDataSource(TDataSource* Value) {
    if (Value && Value->DataSet() == this)
        DatabaseError(DisplayName() + ": Circular datalinks are not allowed");
    FMasterLink->SetDataSource(Value);
}

void TQuery::SQLChanging() {
    Close();
}

void TQuery::SQLChanged() {
    FSQLChanged = true;
    if (FSQL->Count() == 0) FSQLEmptied = true;
}

void TQuery::Parse() const {
    if (!FSQLChanged) return;
    FSQLChanged = false;
    const bool Emptied = FSQLEmptied;
    FSQLEmptied = false;
    AnsiString Sql = FSQL->Text();
    if (Sql == FParsedSql) {
        // The same text again (a statement set anew before each run) keeps
        // its compiled form; values go only as they would have through an
        // empty statement.
        if (Emptied)
            for (int I = 0; I < FParams.Count(); ++I)
                FParams[I]->Reset();
        return;
    }
    TParsed Next{Sql, AnsiString(), TParams(), nullptr};
    const auto Before = std::find_if(FParsedBefore.begin(), FParsedBefore.end(),
                                     [&](const TParsed& P) { return P.Sql == Sql; });
    if (Before != FParsedBefore.end()) {
        Next = std::move(*Before);
        FParsedBefore.erase(Before);
        // As made anew: no value, no type.
        for (int I = 0; I < Next.Params.Count(); ++I)
            Next.Params[I]->Reset();
    } else {
        Next.Text = ParseSQL(Sql, &Next.Params);
    }
    if (!Emptied) Next.Params.AssignValues(FParams);
    if (!FParsedSql.empty()) {
        constexpr std::size_t Kept = 8;
        if (FParsedBefore.size() >= Kept) {
            GiveBack(FDatabase, std::move(FParsedBefore.front().Prepared));
            FParsedBefore.erase(FParsedBefore.begin());
        }
        FParsedBefore.push_back(
            {std::move(FParsedSql), std::move(FText), std::move(FParams), std::move(FPrepared)});
    }
    GiveBack(FDatabase, std::move(FPrepared));
    FParsedSql = std::move(Next.Sql);
    FText = std::move(Next.Text);
    FParams = std::move(Next.Params);
    FPrepared = std::move(Next.Prepared);
}

void TQuery::GiveBack(TDatabase* Database, std::unique_ptr<TPreparedStatement> Statement) {
    // Kept by the connection for the next query of the same text, while the
    // connection is open; otherwise finalized here.
    if (Statement && Database && Database->Connected())
        Database->Statements().Give(std::move(Statement));
}

void TQuery::ReleaseKeptStatements() const {
    for (TParsed& Parsed : FParsedBefore)
        GiveBack(FDatabase, std::move(Parsed.Prepared));
}

TDatabase* TQuery::Connection() {
    if (!FDatabase) {
        if (FDatabaseName.empty()) DatabaseError(DisplayName() + ": No DatabaseName is set");
        FDatabase = FindDatabase(FDatabaseName);
        if (!FDatabase)
            DatabaseError(DisplayName() + ": Database '" + FDatabaseName + "' not found");
        FDatabase->AttachQuery(this);
    }
    FDatabase->Open();
    return FDatabase;
}

void TQuery::Prepare() {
    Parse();
    if (FPrepared) return;
    TDatabase* Db = Connection();
    FPrepared = Db->Statements().Take(FText);
    if (FPrepared) return;
    if (Trim(FText).empty()) DatabaseError(DisplayName() + ": No SQL statement to run");
    const char* Tail = nullptr;
    sqlite3_stmt* Stmt = nullptr;
    if (sqlite3_prepare_v2(Db->Handle(), FText.c_str(), static_cast<int>(FText.size()), &Stmt,
                           &Tail) != SQLITE_OK) {
        sqlite3_finalize(Stmt);
        StatementError(Db->Handle(), FSQL->Text());
    }
    if (!Stmt) DatabaseError(DisplayName() + ": No SQL statement to run");
    if (!OnlyTrailer(Tail)) {
        sqlite3_finalize(Stmt);
        DatabaseError("Statement \"" + StatementHead(FSQL->Text()) +
                      "\" holds more than one statement");
    }
    FPrepared = std::make_unique<TPreparedStatement>(Stmt, FText);
}

void TQuery::UnPrepare() {
    GiveBack(FDatabase, std::move(FPrepared));
}

void TQuery::SetParamsFromMaster() {
    TDataSource* Source = FMasterLink->DataSource();
    TDataSet* Master = Source ? Source->DataSet() : nullptr;
    if (!Master) return;
    for (int I = 0; I < FParams.Count(); ++I) {
        TParam* Param = FParams[I];
        if (Param->Bound()) continue;
        // An unopened master has no current record: its values are missing.
        if (!Master->Active()) {
            Param->Clear();
        } else {
            const TField* Field = Master->FieldByName(Param->Name());
            const TFieldType Type = Field->DataType();
            if (Field->IsNull()) {
                Param->Clear();
                Param->SetDataType(Type);
            } else if (Type == ftDate || Type == ftDateTime || Type == ftTime) {
                TDateTime Value;
                if (TryParseSqlDateTime(Field->AsString(), Value))
                    Type == ftDate ? Param->SetAsDate(Value) : Param->SetAsDateTime(Value);
                else
                    Param->SetAsString(Field->AsString());
            } else {
                Param->SetValue(Field->Value());
                Param->SetDataType(Type);
            }
        }
        // A value from the master is taken afresh on every opening.
        Param->SetBound(false);
    }
}

void TQuery::BindParams() {
    sqlite3_stmt* Stmt = FPrepared->Handle;
    // Each of the statement's slots gets a value below when the parameters
    // are all it has: clearing them first would only repeat the work.
    if (sqlite3_bind_parameter_count(Stmt) != FParams.Count()) sqlite3_clear_bindings(Stmt);
    const bool FromMaster = FMasterLink->DataSet() != nullptr;
    for (int I = 0; I < FParams.Count(); ++I) {
        const TParam* Param = FParams[I];
        if (!Param->Bound() && !FromMaster)
            DatabaseError(DisplayName() + ": No value for parameter '" + Param->Name() + "'");
        const int Slot = I + 1;
        const Variant& Value = Param->ValueRef();
        int Rc = SQLITE_OK;
        if (Param->IsNull()) {
            Rc = sqlite3_bind_null(Stmt, Slot);
        } else {
            AnsiString Text;
            switch (Value.Type() & varTypeMask) {
            case varSmallint:
            case varShortInt:
            case varByte:
            case varWord:
            case varInteger:
            case varLongWord:
            case varInt64:
                Rc = sqlite3_bind_int64(Stmt, Slot, Value.AsInt64());
                break;
            case varBoolean:
                Rc = sqlite3_bind_int(Stmt, Slot, Value.AsBoolean() ? 1 : 0);
                break;
            case varSingle:
            case varDouble:
            case varCurrency:
                Rc = sqlite3_bind_double(Stmt, Slot, Value.AsDouble());
                break;
            case varDate:
                Text = Param->DataType() == ftDate ? SqlDateText(Value.AsDateTime())
                                                   : SqlDateTimeText(Value.AsDateTime());
                Rc = sqlite3_bind_text(Stmt, Slot, Text.c_str(), static_cast<int>(Text.size()),
                                       SQLITE_TRANSIENT);
                break;
            default:
                Text = Value.AsString();
                Rc = sqlite3_bind_text(Stmt, Slot, Text.c_str(), static_cast<int>(Text.size()),
                                       SQLITE_TRANSIENT);
                break;
            }
        }
        if (Rc != SQLITE_OK) StatementError(FDatabase->Handle(), FSQL->Text());
    }
}

template <class OnRow> void TQuery::Run(OnRow&& Row) {
    sqlite3_stmt* Stmt = FPrepared->Handle;
    sqlite3* Db = FDatabase->Handle();
    for (;;) {
        const int Rc = sqlite3_step(Stmt);
        if (Rc == SQLITE_ROW) {
            try {
                Row();
            } catch (...) {
                sqlite3_reset(Stmt);
                throw;
            }
            continue;
        }
        if (Rc == SQLITE_DONE) break;
        // The message is read before the reset, which may replace it.
        const AnsiString Message = sqlite3_errmsg(Db);
        const int Code = sqlite3_errcode(Db);
        sqlite3_reset(Stmt);
        SqliteError("Statement \"" + StatementHead(FSQL->Text()) + "\" failed: " + Message, Code);
    }
    sqlite3_reset(Stmt);
}

void TQuery::InternalOpen(TResult& Result) {
    Prepare();
    TPreparedStatement& Statement = *FPrepared;
    sqlite3_stmt* Stmt = Statement.Handle;
    // Checked before running, so that an UPDATE given to Open changes nothing.
    if (sqlite3_column_count(Stmt) == 0)
        DatabaseError("Statement \"" + StatementHead(FSQL->Text()) + "\" returns no result set");
    SetParamsFromMaster();
    BindParams();
    Run([&] {
        // Counted again: SQLite compiles the statement anew at its first
        // step when the schema changed since, and "*" may then mean more.
        const int Width = sqlite3_column_count(Stmt);
        std::vector<Variant> Row;
        Row.reserve(static_cast<std::size_t>(Width));
        for (int I = 0; I < Width; ++I)
            AppendCell(Row, Stmt, I);
        Result.Rows.push_back(std::move(Row));
    });
    const int Columns = sqlite3_column_count(Stmt);

    // The names and declared types of the columns are the statement's: they
    // are worked out once, and again only when SQLite had to compile the
    // statement anew (the schema changed under it).
    const int Compiles = sqlite3_stmt_status(Stmt, SQLITE_STMTSTATUS_REPREPARE, 0);
    if (!Statement.Layout || Statement.LayoutCompiles != Compiles ||
        static_cast<int>(Statement.Layout->size()) != Columns) {
        std::vector<TColumn> Layout;
        Layout.reserve(static_cast<std::size_t>(Columns));
        Statement.UntypedColumns = false;
        for (int I = 0; I < Columns; ++I) {
            TColumn Column;
            const char* Name = sqlite3_column_name(Stmt, I);
            Column.Name = Name ? Name : "";
            Column.DataType = FromDeclaredType(sqlite3_column_decltype(Stmt, I), Column.Size);
            Statement.UntypedColumns = Statement.UntypedColumns || Column.DataType == ftUnknown;
            Layout.push_back(std::move(Column));
        }
        MakeNamesUnique(Layout);
        Statement.Layout = std::make_shared<const TColumnLayout>(std::move(Layout));
        Statement.LayoutCompiles = Compiles;
    }
    if (!Statement.UntypedColumns) {
        Result.Layout = Statement.Layout;
        return;
    }
    // An expression column takes its kind from the values of this result.
    auto Layout = std::make_shared<TColumnLayout>(*Statement.Layout);
    for (std::size_t I = 0; I < Layout->size(); ++I) {
        TColumn& Column = (*Layout)[I];
        if (Column.DataType == ftUnknown) Column.DataType = FromValues(Result.Rows, I, Column.Size);
    }
    Result.Layout = std::move(Layout);
}

void TQuery::ReadRows(const std::function<void(const TRowReader& Row)>& OnRow) {
    CheckInactive();
    Prepare();
    SetParamsFromMaster();
    BindParams();
    const TRowReader Row(FPrepared->Handle);
    Run([&] { OnRow(Row); });
}

void TQuery::ExecSQL() {
    CheckInactive();
    Prepare();
    SetParamsFromMaster();
    BindParams();
    Run([] {});
    FRowsAffected = sqlite3_changes(FDatabase->Handle());
}

void TQuery::MasterChanged() {
    if (!Active() || FRefreshing) return;
    TDataSet* Master = FMasterLink->DataSet();
    if (!Master || !Master->Active()) return;
    FRefreshing = true;
    DisableControls();
    try {
        Close();
        Open();
    } catch (...) {
        FRefreshing = false;
        EnableControls();
        throw;
    }
    FRefreshing = false;
    EnableControls();
}

void TQuery::DatabaseClosing() {
    UnPrepare();
    ReleaseKeptStatements();
    try {
        Close();
    } catch (const EDatabaseError&) {
        // Closed from inside its own calculated fields: the records stay in
        // memory and need no connection; the next opening reconnects.
    }
}

void TQuery::DatabaseGone() {
    DatabaseClosing();
    FDatabase = nullptr;
}
