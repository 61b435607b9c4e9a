#pragma once
// TQuery: a statement run on the connection of the TDatabase whose
// DatabaseName it names (the connection is opened on first use). Open reads
// the whole result into memory; ExecSQL runs a statement that returns none.
//
// Changing SQL closes the query and rebuilds Params from the text, keeping the
// values of parameters whose names stay. The query keeps the compiled
// statements of its last few texts, so that taking turns at them compiles
// each once; one it lets go of (UnPrepare, or a text long unused) goes back
// to its connection for the next query of the same text. Giving a query its
// own text again keeps its statement and its values. With a DataSource the query is a
// detail: each parameter that was not given a value takes the value of the
// master's field of the same name on its current record, and the query opens
// again whenever the master moves.
//
// A statement SQLite refuses raises EDatabaseError with the statement's first
// words and SQLite's message; a statement that waits longer than the busy
// time-out for another connection's lock fails the same way. A failed
// statement inside a transaction leaves the transaction to the caller.
#include "platform/data/DataSet.h"
#include "platform/data/DataSource.h"
#include "platform/data/Param.h"
#include "platform/data/RowReader.h"
#include "platform/rtl/StringList.h"

#include <functional>
#include <memory>
#include <vector>

class TDatabase;
struct TPreparedStatement;

class TQuery : public TDataSet {
public:
    explicit TQuery(TComponent* AOwner);
    ~TQuery() override;
    AnsiString ClassName() const override { return "TQuery"; }

    const AnsiString& DatabaseName() const { return FDatabaseName; }
    // Only while closed.
    void SetDatabaseName(const AnsiString& Value);
    // The database component in use; nullptr before the first statement.
    TDatabase* Database() const { return FDatabase; }

    TStringList* SQL() const { return FSQL.get(); }
    // The statement as SQLite gets it: ":name" turned into "?n".
    const AnsiString& Text() const {
        Parse();
        return FText;
    }

    TParams& Params() {
        Parse();
        return FParams;
    }
    const TParams& Params() const {
        Parse();
        return FParams;
    }
    int ParamCount() const { return Params().Count(); }
    // Raises EDatabaseError "Parameter '%s' not found".
    TParam* ParamByName(const AnsiString& Name) const { return Params().ParamByName(Name); }

    TDataSource* DataSource() const;
    // Raises EDatabaseError when Value's data set is this query.
    void SetDataSource(TDataSource* Value);

    // Compiles the statement (connecting first when needed), so that a
    // syntax error or a missing table shows before any value is bound.
    void Prepare();
    void UnPrepare();
    bool Prepared() const {
        Parse();
        return FPrepared != nullptr;
    }
    void SetPrepared(bool Value) { Value ? Prepare() : UnPrepare(); }

    // Runs the statement; the query must be closed. Rows it returns are dropped.
    void ExecSQL();
    // Rows changed by the last ExecSQL.
    int RowsAffected() const { return FRowsAffected; }

    // Runs the statement and hands each row to OnRow as the engine gives it,
    // keeping none: for reads that walk a result once. The query must be
    // closed and stays so; parameters are bound as for Open. OnRow must not
    // run another statement on this query.
    void ReadRows(const std::function<void(const TRowReader& Row)>& OnRow);

protected:
    void InternalOpen(TResult& Result) override;
    void InternalClose() override {}

private:
    friend class TDatabase;
    class TMasterLink;

    void SQLChanging();
    void SQLChanged();
    // Brings Params and Text up to the SQL lines. A change of the lines is
    // taken in when something asks, so that a statement given line by line
    // (or cleared and given again) is parsed once.
    void Parse() const;
    TDatabase* Connection();
    void SetParamsFromMaster();
    void BindParams();
    void MasterChanged();
    // Steps the prepared statement to its end, passing each row to OnRow;
    // resets it however it ends.
    template <class OnRow> void Run(OnRow&& Row);

    // Lets go of the compiled statements kept with the earlier texts.
    void ReleaseKeptStatements() const;
    static void GiveBack(TDatabase* Database, std::unique_ptr<TPreparedStatement> Statement);

    // TDatabase's side.
    void DatabaseClosing();
    void DatabaseGone();

    AnsiString FDatabaseName;
    TDatabase* FDatabase = nullptr;
    std::unique_ptr<TStringList> FSQL;
    mutable AnsiString FText;
    mutable TParams FParams;
    std::unique_ptr<TMasterLink> FMasterLink;
    mutable std::unique_ptr<TPreparedStatement> FPrepared;
    // The SQL text Params and FText were made from, whether the lines changed
    // since, and whether they were emptied on the way (which drops the
    // parameters' values).
    mutable AnsiString FParsedSql;
    mutable bool FSQLChanged = false;
    mutable bool FSQLEmptied = false;
    // The statements this query ran before, parsed, each with its compiled
    // statement while the connection is open: a query that takes turns at a
    // few statements parses and compiles each once, and switching between
    // them costs no look-up in the connection's cache.
    struct TParsed {
        AnsiString Sql;
        AnsiString Text;
        TParams Params;
        std::unique_ptr<TPreparedStatement> Prepared;
    };
    mutable std::vector<TParsed> FParsedBefore;
    int FRowsAffected = 0;
    bool FRefreshing = false;
};
