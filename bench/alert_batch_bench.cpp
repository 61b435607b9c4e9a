// One batch of the alert engine over 10,000 pending transactions and 1,000
// settings, beside the same statements run bare on SQLite, so that the
// engine's own cost shows as the ratio of the two.
#include "alert/AlertContext.h"
#include "alert/AlertIntake.h"
#include "alert/AlertProcessing.h"
#include "alert/DataModuleLookups.h"
#include "alert/store/MainDmod.h"
#include "datamodules/DmodEmp.h"
#include "datamodules/DmodInventory.h"
#include "datamodules/DmodJobForm.h"
#include "datamodules/DmodJobStatus.h"
#include "datamodules/DmodJobType.h"
#include "datamodules/DmodPo.h"
#include "datamodules/DmodShip.h"
#include "datamodules/DmodVelm.h"
#include "datamodules/DmodWoType.h"
#include "platform/rtl/Format.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace {

constexpr int Transactions = 10000;
constexpr int Employees = 125;
// Event alerts without a condition whose texts name the job and the employee
// who caused the event; 8 ids x 125 employees = 1,000 settings.
constexpr int AlertIds[] = {26, 30, 37, 38, 39, 52, 59, 62};

class Host : public IAlertHost {
public:
    AlertSettingsCache& SettingsCache() override { return Cache; }
    TDateTime BatchStartTime() const override { return 0.0; }
    void AlertGenerated(const AlertTransaction&) override { ++Generated; }
    void LogLine(const AnsiString& Text) override { throw std::runtime_error(Text); }

    AlertSettingsCache Cache;
    long Generated = 0;
};

void Check(int Rc, sqlite3* Db) {
    if (Rc != SQLITE_OK && Rc != SQLITE_DONE && Rc != SQLITE_ROW)
        throw std::runtime_error(sqlite3_errmsg(Db));
}

// A shop database with the settings, and the program's data modules on it.
class Shop {
public:
    Shop() {
        char pattern[] = "/tmp/alert-bench-XXXXXX";
        if (!mkdtemp(pattern)) throw std::runtime_error("no temporary folder");
        Folder = pattern;
        setenv("BEACONMILL_CONFIG", Folder.c_str(), 1);
        std::ofstream(Folder / "aliases.ini")
            << "[Pellworth11]\nDriver=SQLITE\nPath=" << (Folder / "shop.db").string() << "\n";
        Check(sqlite3_open((Folder / "shop.db").c_str(), &Db), Db);
        std::ifstream schema(std::filesystem::path(__FILE__).parent_path().parent_path() / "db" /
                             "schema.sql");
        std::stringstream text;
        text << schema.rdbuf();
        Exec(text.str());

        Exec("begin");
        for (int emp = 1; emp <= Employees; ++emp) {
            Exec(
                Format("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (%d, 'First%d', "
                       "'Last%d');"
                       "insert into ALERT_USER_DEFAULTS (EmpNbr) values (%d);"
                       "insert into USER_LOGON (USERID, DORN_USER, DORN_ALERTS) values (%d, %d, 1);"
                       "insert into JOBS (JobNbr, JobId, JobDescr, ProjManagerId) values (%d, "
                       "'J-%d', 'Job number %d', %d);",
                       emp, emp, emp, emp, emp, emp, emp, emp, emp, emp));
            for (const int id : AlertIds)
                Exec(Format("insert into ALERT_SETTING (AlertId, EmpNbr, EmailFrequency, "
                            "Priority, Source) values (%d, %d, 1, 1, 1)",
                            id, emp));
        }
        Exec("commit");

        Owner = std::make_unique<TComponent>(nullptr);
        Main = new TMainDmod(Owner.get());
        auto* emp = new TEmpDmod(Owner.get());
        auto* inventory = new TInventoryDmod(Owner.get());
        auto* jobStatus = new TJobStatusDmod(Owner.get());
        auto* po = new TPoDmod(Owner.get());
        new TShipDmod(Owner.get());
        auto* jobForm = new TJobFormDmod(Owner.get());
        new TVelmDmod(Owner.get());
        new TWoTypeDmod(Owner.get());
        new TJobTypeDmod(Owner.get());
        Lookups = std::make_unique<DataModuleLookups>(*jobForm, *po, *emp, *inventory, *jobStatus);
    }
    ~Shop() {
        Lookups.reset();
        Owner.reset();
        sqlite3_close(Db);
        std::error_code ignored;
        std::filesystem::remove_all(Folder, ignored);
    }

    void Exec(const std::string& Sql) {
        Check(sqlite3_exec(Db, Sql.c_str(), nullptr, nullptr, nullptr), Db);
    }

    // A fresh set of pending transactions and an empty history.
    void Refill() {
        Exec("begin; delete from ALERT_HISTORY; delete from ALERT_TRANSACTION;");
        sqlite3_stmt* insert = nullptr;
        Check(
            sqlite3_prepare_v2(Db,
                               "insert into ALERT_TRANSACTION (AlertNbr, TransType, "
                               "EventTimeStamp, EmpNbrGeneratedTrans, JobNbr, PoNbr, Arg1, Arg2, "
                               "Arg3) values (?, 2, '2024/05/06 09:30:00', ?, ?, 7, 'a', 'b', 'c')",
                               -1, &insert, nullptr),
            Db);
        for (int i = 0; i < Transactions; ++i) {
            sqlite3_bind_int(insert, 1, AlertIds[i % std::size(AlertIds)]);
            sqlite3_bind_int(insert, 2, i % Employees + 1);
            sqlite3_bind_int(insert, 3, (i * 7) % Employees + 1);
            Check(sqlite3_step(insert), Db);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        Exec("commit");
    }

    std::filesystem::path Folder;
    sqlite3* Db = nullptr;
    std::unique_ptr<TComponent> Owner;
    TMainDmod* Main = nullptr;
    std::unique_ptr<DataModuleLookups> Lookups;
};

Shop& TheShop() {
    static Shop shop;
    return shop;
}

void BM_AlertBatch(benchmark::State& state) {
    Shop& shop = TheShop();
    for (auto _ : state) {
        state.PauseTiming();
        shop.Refill();
        Host host;
        AlertContext context(host, *shop.Main, *shop.Lookups);
        state.ResumeTiming();

        CheckAlertSettingMarkers(context);
        ScanAlertTransactions(context);

        if (host.Generated != Transactions) state.SkipWithError("not one alert per transaction");
    }
    state.SetItemsProcessed(state.iterations() * Transactions);
}
BENCHMARK(BM_AlertBatch)->Unit(benchmark::kMillisecond)->Iterations(3);

// What the batch asks of the database for the same work, without the engine:
// per transaction the job's manager (with its flag reset), the forwarding,
// the job and employee texts, the history row and the deletion, in one
// database transaction.
void BM_BareStatements(benchmark::State& state) {
    Shop& shop = TheShop();
    sqlite3* db = shop.Db;
    auto prepare = [db](const char* Sql) {
        sqlite3_stmt* statement = nullptr;
        Check(sqlite3_prepare_v2(db, Sql, -1, &statement, nullptr), db);
        return statement;
    };
    sqlite3_stmt* pending = prepare("Select * From ALERT_TRANSACTION");
    sqlite3_stmt* resetJob = prepare("Update JOBS set ChangedByScheduler = 0 where JobNbr = ?");
    sqlite3_stmt* job = prepare("Select * from JOBS where JobNbr = ?");
    sqlite3_stmt* forward =
        prepare("Select ForwardToEmpNbr from ALERT_USER_DEFAULTS where EmpNbr = ?");
    sqlite3_stmt* employee = prepare("Select * from EMPLOYEE where EmpNbr = ?");
    sqlite3_stmt* insert = prepare("Insert into ALERT_HISTORY (AlertNbr, AlertRecipientNbr, "
                                   "DateGenerated, Priority, Descr, SendEmail, JobNbr) values "
                                   "(?, ?, '2024/05/06 09:30:00', 1, ?, 1, ?)");
    sqlite3_stmt* remove = prepare("Delete from ALERT_TRANSACTION where AlertTransToken = ?");
    auto run = [db](sqlite3_stmt* Statement, std::initializer_list<int> Values) {
        int index = 0;
        for (const int value : Values)
            sqlite3_bind_int(Statement, ++index, value);
        int rc;
        while ((rc = sqlite3_step(Statement)) == SQLITE_ROW) {
        }
        Check(rc, db);
        sqlite3_reset(Statement);
    };

    for (auto _ : state) {
        state.PauseTiming();
        shop.Refill();
        state.ResumeTiming();

        std::vector<std::array<int, 4>> rows;
        while (sqlite3_step(pending) == SQLITE_ROW)
            rows.push_back({sqlite3_column_int(pending, 0), sqlite3_column_int(pending, 1),
                            sqlite3_column_int(pending, 4), sqlite3_column_int(pending, 5)});
        sqlite3_reset(pending);
        for (const auto& [token, alertId, byEmployee, jobNbr] : rows) {
            shop.Exec("begin");
            run(resetJob, {jobNbr});
            run(job, {jobNbr});
            run(forward, {jobNbr});
            run(resetJob, {jobNbr});
            run(job, {jobNbr});
            run(employee, {byEmployee});
            sqlite3_bind_int(insert, 1, alertId);
            sqlite3_bind_int(insert, 2, jobNbr);
            sqlite3_bind_text(insert, 3, "Job was archived.", -1, SQLITE_STATIC);
            sqlite3_bind_int(insert, 4, jobNbr);
            Check(sqlite3_step(insert), db);
            sqlite3_reset(insert);
            run(remove, {token});
            shop.Exec("commit");
        }
    }
    for (sqlite3_stmt* statement : {pending, resetJob, job, forward, employee, insert, remove})
        sqlite3_finalize(statement);
    state.SetItemsProcessed(state.iterations() * Transactions);
}
BENCHMARK(BM_BareStatements)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
