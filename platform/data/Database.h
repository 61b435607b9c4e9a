#pragma once
// TDatabase: one connection to the shop database, found by every query
// through its DatabaseName. The connection is an SQLite file named by the
// alias (see AliasConfig.h); it is opened in WAL mode with a busy time-out,
// since the shop product writes the same file, and never created when it is
// missing.
//
// A connection belongs to the thread that uses it: its queries and their
// statements are never shared with another thread.
#include "platform/classes/Component.h"
#include "platform/rtl/StringList.h"

#include <memory>
#include <vector>

struct sqlite3;
class TQuery;
class TStatementCache;
class TWalCheckpointer;

class TDatabase : public TComponent {
public:
    explicit TDatabase(TComponent* AOwner);
    ~TDatabase() override;
    AnsiString ClassName() const override { return "TDatabase"; }

    // These four can only change while the database is closed.
    const AnsiString& AliasName() const { return FAliasName; }
    void SetAliasName(const AnsiString& Value);
    const AnsiString& DatabaseName() const { return FDatabaseName; }
    void SetDatabaseName(const AnsiString& Value);
    const AnsiString& SessionName() const { return FSessionName; }
    void SetSessionName(const AnsiString& Value);
    // The engine's connection parameters; SQLite needs none of them.
    TStringList* Params() const { return FParams.get(); }

    // No user name or password is asked for: the file's permissions guard it.
    bool LoginPrompt() const { return FLoginPrompt; }
    void SetLoginPrompt(bool Value) { FLoginPrompt = Value; }

    bool Connected() const { return FHandle != nullptr; }
    // False closes the connection and every query on it; true opens it.
    // A failure raises EDatabaseError naming the alias and the file.
    void SetConnected(bool Value);
    void Open() { SetConnected(true); }
    void Close() { SetConnected(false); }

    // Milliseconds a statement waits for another connection's lock before
    // it fails; 5000 unless changed.
    int BusyTimeout() const { return FBusyTimeout; }
    void SetBusyTimeout(int Milliseconds);

    // Checkpoints of the write-ahead log completed off the committing thread
    // since the connection opened.
    int BackgroundCheckpoints() const;

    // The file of the open connection; empty while closed.
    const AnsiString& FileName() const { return FFileName; }
    sqlite3* Handle() const { return FHandle; }

    // Starts a transaction that takes the write lock at once (waiting up to
    // the busy time-out), so that it cannot fail half-way for want of it.
    void StartTransaction();
    // Raises when no transaction is active: SQLite may have rolled one back
    // after a failed statement, and that must not pass for a commit.
    void Commit();
    // Does nothing when no transaction is active.
    void Rollback();
    bool InTransaction() const;

    // The queries that have used this connection.
    int DataSetCount() const { return static_cast<int>(FQueries.size()); }
    TQuery* DataSets(int Index) const { return FQueries.at(static_cast<std::size_t>(Index)); }

private:
    friend class TQuery;
    void AttachQuery(TQuery* Query);
    void DetachQuery(TQuery* Query);
    void CheckInactive(const char* Property) const;
    void Connect();
    void Disconnect();
    void Exec(const char* Sql);
    // The connection's prepared statements kept for reuse (TQuery's side).
    TStatementCache& Statements() { return *FStatements; }

    AnsiString FAliasName;
    AnsiString FDatabaseName;
    AnsiString FSessionName;
    std::unique_ptr<TStringList> FParams;
    bool FLoginPrompt = true;
    int FBusyTimeout = 5000;
    AnsiString FFileName;
    sqlite3* FHandle = nullptr;
    std::vector<TQuery*> FQueries;
    std::unique_ptr<TStatementCache> FStatements;
    std::unique_ptr<TWalCheckpointer> FCheckpointer;
};

// The database component whose DatabaseName is Name (compared without case),
// or nullptr.
TDatabase* FindDatabase(const AnsiString& Name);
