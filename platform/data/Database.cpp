#include "platform/data/Database.h"

#include "platform/data/AliasConfig.h"
#include "platform/rtl/UserFolders.h"
#include "platform/data/DBExceptions.h"
#include "platform/data/DatabaseFile.h"
#include "platform/data/Query.h"
#include "platform/data/SqlError.h"
#include "platform/data/SqliteFunctions.h"
#include "platform/data/StatementCache.h"
#include "platform/data/WalCheckpointer.h"
#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

// Every database component of the process, so a query can find its
// connection by name. Listener threads may create components too.
std::mutex RegistryLock;
std::vector<TDatabase*>& Registry() {
    static std::vector<TDatabase*> Databases;
    return Databases;
}

} // namespace

TDatabase* FindDatabase(const AnsiString& Name) {
    std::lock_guard<std::mutex> Guard(RegistryLock);
    for (TDatabase* Db : Registry())
        if (SameText(Db->DatabaseName(), Name)) return Db;
    return nullptr;
}

TDatabase::TDatabase(TComponent* AOwner)
    : TComponent(AOwner), FParams(std::make_unique<TStringList>()),
      FStatements(std::make_unique<TStatementCache>()) {
    std::lock_guard<std::mutex> Guard(RegistryLock);
    Registry().push_back(this);
}

TDatabase::~TDatabase() {
    Disconnect();
    for (TQuery* Query : std::vector<TQuery*>(FQueries))
        Query->DatabaseGone();
    std::lock_guard<std::mutex> Guard(RegistryLock);
    auto& Databases = Registry();
    Databases.erase(std::remove(Databases.begin(), Databases.end(), this), Databases.end());
}

void TDatabase::CheckInactive(const char* Property) const {
    if (Connected())
        DatabaseError(AnsiString("Cannot change ") + Property + " of database '" + FDatabaseName +
                      "' while it is connected");
}

void TDatabase::SetAliasName(const AnsiString& Value) {
    CheckInactive("AliasName");
    FAliasName = Value;
}

void TDatabase::SetDatabaseName(const AnsiString& Value) {
    CheckInactive("DatabaseName");
    FDatabaseName = Value;
}

void TDatabase::SetSessionName(const AnsiString& Value) {
    CheckInactive("SessionName");
    FSessionName = Value;
}

void TDatabase::SetBusyTimeout(int Milliseconds) {
    FBusyTimeout = Milliseconds;
    if (FHandle) sqlite3_busy_timeout(FHandle, FBusyTimeout);
}

void TDatabase::SetConnected(bool Value) {
    if (Value == Connected()) return;
    if (Value)
        Connect();
    else
        Disconnect();
}

void TDatabase::Connect() {
    if (FAliasName.empty()) DatabaseError("Database '" + FDatabaseName + "' has no AliasName");
    if (!FDatabaseName.empty()) {
        std::lock_guard<std::mutex> Guard(RegistryLock);
        for (TDatabase* Other : Registry())
            if (Other != this && Other->Connected() &&
                SameText(Other->FDatabaseName, FDatabaseName))
                DatabaseError("Duplicate database name '" + FDatabaseName + "'");
    }

    TAliasTarget Target;
    try {
        Target = ResolveAlias(FAliasName);
    } catch (const EDatabaseError& E) {
        DatabaseError("Cannot connect to alias '" + FAliasName + "': " + E.Message);
    }
    const AnsiString& File = Target.FileName;
    auto Fail = [&](const AnsiString& Reason) {
        DatabaseError("Cannot connect to alias '" + FAliasName + "': database file '" + File +
                      "' " + Reason);
    };

    // SQLite would report a missing file only as "unable to open"; say what it is.
    struct stat Info;
    if (stat(File.c_str(), &Info) != 0) {
        if (errno == ENOENT)
            Fail(Target.ConfigFile.empty()
                     ? AnsiString("does not exist (no entry for the alias in ") + ConfigFolder() +
                           "/aliases.ini)"
                     : AnsiString("does not exist (named in ") + Target.ConfigFile + ")");
        Fail(AnsiString("cannot be read: ") + std::strerror(errno));
    }
    if (S_ISDIR(Info.st_mode)) Fail("is a directory");
    // Refused before the journal mode is written into it.
    if (const AnsiString Problem = DatabaseHeaderProblem(File); !Problem.empty()) Fail(Problem);

    sqlite3* Db = nullptr;
    // Never SQLITE_OPEN_CREATE: a missing database is an error, not a new file.
    const int Rc =
        // No mutex of SQLite's own: a connection stays on the thread that uses it.
        sqlite3_open_v2(File.c_str(), &Db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    auto FailWithDb = [&](const AnsiString& What) {
        const AnsiString Message =
            Db ? AnsiString(sqlite3_errmsg(Db)) : AnsiString("out of memory");
        sqlite3_close_v2(Db);
        Fail(What + ": " + Message);
    };
    if (Rc != SQLITE_OK) FailWithDb("cannot be opened");
    sqlite3_busy_timeout(Db, FBusyTimeout);
    // Reading the schema proves the file is a database before anything relies on it.
    // In WAL mode a commit at synchronous NORMAL survives a crash of the
    // program; one lost to a power cut is lost whole, so a batch that wrote
    // it runs again. The alias may ask for more (FULL, EXTRA) or less.
    const AnsiString Synchronous =
        Target.Synchronous.empty() ? AnsiString("NORMAL") : Target.Synchronous;
    const AnsiString Setup = "PRAGMA foreign_keys = OFF; PRAGMA journal_mode = WAL; "
                             "PRAGMA synchronous = " +
                             Synchronous + "; SELECT count(*) FROM sqlite_schema;";
    if (sqlite3_exec(Db, Setup.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        FailWithDb("cannot be used");
    if (RegisterSqlFunctions(Db) != SQLITE_OK) FailWithDb("cannot take the program's functions");

    FHandle = Db;
    FFileName = File;
    FCheckpointer = std::make_unique<TWalCheckpointer>(Db, File, Synchronous);
}

void TDatabase::Disconnect() {
    if (!FHandle) return;
    // The queries hold statements of this connection: they go first.
    for (TQuery* Query : std::vector<TQuery*>(FQueries))
        Query->DatabaseClosing();
    FStatements->Clear();
    // Its connection goes first, so that the close can copy the whole log
    // back and remove it.
    FCheckpointer.reset();
    // An open transaction is rolled back by the close.
    sqlite3_close_v2(FHandle);
    FHandle = nullptr;
    FFileName.clear();
}

void TDatabase::AttachQuery(TQuery* Query) {
    if (std::find(FQueries.begin(), FQueries.end(), Query) == FQueries.end())
        FQueries.push_back(Query);
}

void TDatabase::DetachQuery(TQuery* Query) {
    FQueries.erase(std::remove(FQueries.begin(), FQueries.end(), Query), FQueries.end());
}

void TDatabase::Exec(const char* Sql) {
    // Compiled once per connection: a batch begins and commits thousands of times.
    std::unique_ptr<TPreparedStatement> Statement = FStatements->Take(Sql);
    if (!Statement) {
        sqlite3_stmt* Handle = nullptr;
        if (sqlite3_prepare_v2(FHandle, Sql, -1, &Handle, nullptr) != SQLITE_OK) {
            sqlite3_finalize(Handle);
            StatementError(FHandle, Sql);
        }
        Statement = std::make_unique<TPreparedStatement>(Handle, Sql);
    }
    const int Rc = sqlite3_step(Statement->Handle);
    // A failed statement is finalized as the error leaves.
    if (Rc != SQLITE_DONE && Rc != SQLITE_ROW) StatementError(FHandle, Sql);
    FStatements->Give(std::move(Statement));
}

void TDatabase::StartTransaction() {
    Open();
    if (InTransaction())
        DatabaseError("A transaction is already active on database '" + FDatabaseName + "'");
    Exec("BEGIN IMMEDIATE");
}

void TDatabase::Commit() {
    if (!InTransaction())
        DatabaseError("No transaction is active on database '" + FDatabaseName + "'");
    Exec("COMMIT");
}

void TDatabase::Rollback() {
    if (InTransaction()) Exec("ROLLBACK");
}

int TDatabase::BackgroundCheckpoints() const {
    return FCheckpointer ? FCheckpointer->Completed() : 0;
}

bool TDatabase::InTransaction() const {
    return FHandle && sqlite3_get_autocommit(FHandle) == 0;
}
