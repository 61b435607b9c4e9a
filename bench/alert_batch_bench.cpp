// One batch of the alert engine beside the same work reduced to its bare
// statements, each on its own copy of the same generated rows, in the same
// run:
//   floor      Python's sqlite3 module running the statements
//              (alert_batch_floor.py beside this file);
//   bare       a C++ loop of the same statements on the same connection
//              settings (the log copied back on a thread of its own, as
//              the program's connections do): the physical limit.
// Each runs BEACONMILL_BENCH_REPEATS times (5 unless set), taking turns, and
// counts by its median: the disk's flush times move single runs by 15%,
// and medians of three still differed by up to a tenth between identical
// runs. The benchmark's time is the engine's; the counters
// give the rows per second of all three, the engine's ratio to each
// (vs_floor, vs_bare: above 1 is faster) and its cost per row.
//
// Pending rows x subscribers (employees with a setting for each of the 8
// alert ids; each transaction alerts its job's manager): 1k and 10k rows at
// 100, and 1k rows at 10 and 1,000. BEACONMILL_BENCH_LARGE=1 adds 100k rows
// at 100 and 10k at 1,000.
#include "alert/AlertContext.h"
#include "alert/AlertIntake.h"
#include "alert/AlertProcessing.h"
#include "alert/DataModuleLookups.h"
#include "datamodules/ShopDataModules.h"
#include "platform/data/WalCheckpointer.h"
#include "platform/rtl/Format.h"
#include "platform/sys/KernelNames.h"

#include "SteadyHeap.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <fcntl.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// Event alerts without a condition whose texts name the job and the
// employee who caused the event.
constexpr int AlertIds[] = {26, 30, 37, 38, 39, 52, 59, 62};

const fs::path SourceFolder = fs::path(__FILE__).parent_path().parent_path();

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

void Exec(sqlite3* Db, const std::string& Sql) {
    Check(sqlite3_exec(Db, Sql.c_str(), nullptr, nullptr, nullptr), Db);
}

double Seconds(std::chrono::steady_clock::duration Elapsed) {
    return std::chrono::duration<double>(Elapsed).count();
}

// A folder with the generated shop database and aliases.ini naming the
// working copy "shop.db" under the program's alias.
class ShopFiles {
public:
    ShopFiles(int Rows, int Subscribers) {
        char pattern[] = "/tmp/alert-batch-bench-XXXXXX";
        if (!mkdtemp(pattern)) throw std::runtime_error("no temporary folder");
        Folder = pattern;
        std::ofstream(Folder / "aliases.ini")
            << "[Pellworth11]\nDriver=SQLITE\nPath=" << Work().string() << "\n";
        Generate(Rows, Subscribers);
    }
    ~ShopFiles() {
        std::error_code ignored;
        fs::remove_all(Folder, ignored);
    }

    fs::path Work() const { return Folder / "shop.db"; }

    // A working copy of the generated rows, as they were before any run,
    // on the disk already: no run pays for writing out the copy (or the
    // generated rows) in its first checkpoint.
    void Fresh() const {
        for (const char* suffix : {"-wal", "-shm"})
            fs::remove(Work().string() + suffix);
        fs::copy_file(Folder / "template.db", Work(), fs::copy_options::overwrite_existing);
        const int fd = open(Work().c_str(), O_RDONLY);
        if (fd >= 0) {
            fsync(fd);
            close(fd);
        }
    }

    fs::path Folder;

private:
    void Generate(int Rows, int Subscribers) {
        sqlite3* db = nullptr;
        Check(sqlite3_open((Folder / "template.db").c_str(), &db), db);
        std::ifstream schema(SourceFolder / "db" / "schema.sql");
        std::stringstream text;
        text << schema.rdbuf();
        Exec(db, text.str());
        Exec(db, "begin");
        for (int emp = 1; emp <= Subscribers; ++emp) {
            Exec(db, Format("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (%d, 'First%d', "
                            "'Last%d');"
                            "insert into ALERT_USER_DEFAULTS (EmpNbr) values (%d);"
                            "insert into USER_LOGON (USERID, DORN_USER, DORN_ALERTS) values "
                            "(%d, %d, 1);"
                            "insert into JOBS (JobNbr, JobId, JobDescr, ProjManagerId, "
                            "ChangedByScheduler) values (%d, 'J-%d', 'Job number %d', %d, 1);",
                            emp, emp, emp, emp, emp, emp, emp, emp, emp, emp));
            for (const int id : AlertIds)
                Exec(db, Format("insert into ALERT_SETTING (AlertId, EmpNbr, EmailFrequency, "
                                "Priority, Source) values (%d, %d, 1, 1, 1)",
                                id, emp));
        }
        sqlite3_stmt* insert = nullptr;
        Check(sqlite3_prepare_v2(db,
                                 "insert into ALERT_TRANSACTION (AlertNbr, TransType, "
                                 "EventTimeStamp, EmpNbrGeneratedTrans, JobNbr, PoNbr, Arg1, "
                                 "Arg2, Arg3) values (?, 2, '2024/05/06 09:30:00', ?, ?, 7, "
                                 "'Acme', 'b', 'c')",
                                 -1, &insert, nullptr),
              db);
        for (int i = 0; i < Rows; ++i) {
            sqlite3_bind_int(insert, 1, AlertIds[i % std::size(AlertIds)]);
            sqlite3_bind_int(insert, 2, i % Subscribers + 1);
            sqlite3_bind_int(insert, 3, (i * 7) % Subscribers + 1);
            Check(sqlite3_step(insert), db);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        Exec(db, "commit");
        sqlite3_close(db);
    }
};

// Counts the rows of a table in the working copy.
long Count(const fs::path& File, const char* Table) {
    sqlite3* db = nullptr;
    Check(sqlite3_open(File.c_str(), &db), db);
    sqlite3_stmt* statement = nullptr;
    Check(sqlite3_prepare_v2(db, (std::string("select count(*) from ") + Table).c_str(), -1,
                             &statement, nullptr),
          db);
    sqlite3_step(statement);
    const long count = sqlite3_column_int64(statement, 0);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return count;
}

// The engine over the program's data modules; seconds of the batch alone.
double RunEngine(const ShopFiles& Files, long& Generated) {
    Files.Fresh();
    setenv("BEACONMILL_CONFIG", Files.Folder.c_str(), 1);
    const AnsiString space = UniqueKernelNamespace("ab");
    SetKernelNamespace(space);
    double seconds = 0;
    {
        auto owner = std::make_unique<TComponent>(nullptr);
        const TShopDataModules made = CreateShopDataModules(owner.get());
        DataModuleLookups lookups(*made.JobForm, *made.Po, *made.Emp, *made.Inventory,
                                  *made.JobStatus);
        Host host;
        AlertContext context(host, *made.Main, lookups);
        const auto started = std::chrono::steady_clock::now();
        CheckAlertSettingMarkers(context);
        ScanAlertTransactions(context);
        seconds = Seconds(std::chrono::steady_clock::now() - started);
        Generated = host.Generated;
    }
    RemoveKernelNamespace(space);
    return seconds;
}

// The floor's statements in C++ on a connection set up as the program's.
double RunBare(const ShopFiles& Files) {
    Files.Fresh();
    sqlite3* db = nullptr;
    Check(sqlite3_open_v2(Files.Work().c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), db);
    Exec(db, "pragma journal_mode = WAL; pragma synchronous = NORMAL;");
    // The program's connections copy the log back on a thread of their own.
    std::optional<TWalCheckpointer> checkpointer;
    checkpointer.emplace(db, Files.Work().string(), "NORMAL");
    auto prepare = [db](const char* Sql) {
        sqlite3_stmt* statement = nullptr;
        Check(sqlite3_prepare_v2(db, Sql, -1, &statement, nullptr), db);
        return statement;
    };
    const auto started = std::chrono::steady_clock::now();
    sqlite3_stmt* pending =
        prepare("select AlertTransToken, AlertNbr, EventTimeStamp, EmpNbrGeneratedTrans, JobNbr, "
                "PoNbr, Arg1 from ALERT_TRANSACTION");
    sqlite3_stmt* begin = prepare("begin");
    sqlite3_stmt* commit = prepare("commit");
    sqlite3_stmt* job = prepare("select * from JOBS where JobNbr = ?");
    sqlite3_stmt* reset = prepare("update JOBS set ChangedByScheduler = 0 where JobNbr = ?");
    sqlite3_stmt* insert =
        prepare("insert into ALERT_HISTORY (AlertNbr, AlertRecipientNbr, DateGenerated, "
                "Priority, Descr, SendEmail, EmpNbrTriggeredAlert, JobNbr, PoNbr) values (?, ?, "
                "?, 1, ?, 1, ?, ?, ?)");
    sqlite3_stmt* remove = prepare("delete from ALERT_TRANSACTION where AlertTransToken = ?");
    struct Row {
        int Token, AlertNbr, By, JobNbr, PoNbr;
        std::string Stamp, Arg1;
    };
    std::vector<Row> rows;
    while (sqlite3_step(pending) == SQLITE_ROW)
        rows.push_back({sqlite3_column_int(pending, 0), sqlite3_column_int(pending, 1),
                        sqlite3_column_int(pending, 3), sqlite3_column_int(pending, 4),
                        sqlite3_column_int(pending, 5),
                        reinterpret_cast<const char*>(sqlite3_column_text(pending, 2)),
                        reinterpret_cast<const char*>(sqlite3_column_text(pending, 6))});
    int jobId = -1, jobDescr = -1, manager = -1;
    for (int i = 0; i < sqlite3_column_count(job); ++i) {
        const std::string name = sqlite3_column_name(job, i);
        if (name == "JobId") jobId = i;
        if (name == "JobDescr") jobDescr = i;
        if (name == "ProjManagerId") manager = i;
    }
    auto step = [db](sqlite3_stmt* Statement) {
        Check(sqlite3_step(Statement), db);
        sqlite3_reset(Statement);
    };
    for (const Row& row : rows) {
        step(begin);
        sqlite3_bind_int(job, 1, row.JobNbr);
        Check(sqlite3_step(job), db);
        // Every column read, as a data set does.
        for (int i = 0; i < sqlite3_column_count(job); ++i)
            benchmark::DoNotOptimize(sqlite3_column_text(job, i));
        const std::string text =
            "Archived job material cost changed.\nJob: " +
            std::string(reinterpret_cast<const char*>(sqlite3_column_text(job, jobId))) + " - " +
            reinterpret_cast<const char*>(sqlite3_column_text(job, jobDescr)) + ". PO " +
            std::to_string(row.PoNbr) + ". Vendor: " + row.Arg1 + ".";
        const int recipient = sqlite3_column_int(job, manager);
        sqlite3_reset(job);
        sqlite3_bind_int(reset, 1, row.JobNbr);
        step(reset);
        sqlite3_bind_int(insert, 1, row.AlertNbr);
        sqlite3_bind_int(insert, 2, recipient);
        sqlite3_bind_text(insert, 3, row.Stamp.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 4, text.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_int(insert, 5, row.By);
        sqlite3_bind_int(insert, 6, row.JobNbr);
        sqlite3_bind_int(insert, 7, row.PoNbr);
        step(insert);
        sqlite3_bind_int(remove, 1, row.Token);
        step(remove);
        step(commit);
    }
    const double seconds = Seconds(std::chrono::steady_clock::now() - started);
    checkpointer.reset();
    for (sqlite3_stmt* statement : {pending, begin, commit, job, reset, insert, remove})
        sqlite3_finalize(statement);
    sqlite3_close(db);
    return seconds;
}

// The floor: the Python script's own time of its loop.
double RunFloor(const ShopFiles& Files) {
    Files.Fresh();
    const std::string command = "python3 " +
                                (SourceFolder / "bench" / "alert_batch_floor.py").string() + " " +
                                Files.Work().string();
    FILE* output = popen(command.c_str(), "r");
    if (!output) throw std::runtime_error("cannot start python3");
    char line[128] = {};
    const bool read = fgets(line, sizeof line, output) != nullptr;
    if (pclose(output) != 0 || !read) throw std::runtime_error("the Python floor failed");
    return std::strtod(line, nullptr);
}

double Median(std::vector<double> Values) {
    std::sort(Values.begin(), Values.end());
    return Values[Values.size() / 2];
}

void BM_AlertBatch(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const int subscribers = static_cast<int>(state.range(1));
    // The disk's flush times wander: the three take turns, several times,
    // and each is read by its median.
    const char* repeatsText = std::getenv("BEACONMILL_BENCH_REPEATS");
    const int repeats = std::max(1, repeatsText ? std::atoi(repeatsText) : 5);
    // Each engine run makes and frees its data modules: without this the
    // next run found the freed memory handed back and faulted it in again,
    // as a program that keeps its modules does not.
    benchheap::WarmHeap(64 * 1024 * 1024);
    try {
        ShopFiles files(rows, subscribers);
        for (auto _ : state) {
            std::vector<double> engineTimes, bareTimes, floorTimes;
            for (int turn = 0; turn < repeats; ++turn) {
                long generated = 0;
                engineTimes.push_back(RunEngine(files, generated));
                if (generated != rows || Count(files.Work(), "ALERT_TRANSACTION") != 0)
                    throw std::runtime_error("the batch did not make one alert per transaction");
                bareTimes.push_back(RunBare(files));
                floorTimes.push_back(RunFloor(files));
                if (Count(files.Work(), "ALERT_HISTORY") != rows)
                    throw std::runtime_error("the floor did not write every row");
            }
            const double engine = Median(engineTimes);
            const double bare = Median(bareTimes);
            const double floor = Median(floorTimes);
            state.SetIterationTime(engine);
            state.counters["engine_per_s"] = rows / engine;
            state.counters["floor_per_s"] = rows / floor;
            state.counters["bare_per_s"] = rows / bare;
            state.counters["vs_floor"] = floor / engine;
            state.counters["vs_bare"] = bare / engine;
            state.counters["us_per_row"] = engine * 1e6 / rows;
        }
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
    }
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->ArgNames({"rows", "subscribers"});
    b->Args({1000, 10})->Args({1000, 100})->Args({1000, 1000})->Args({10000, 100});
    const char* large = std::getenv("BEACONMILL_BENCH_LARGE");
    if (large && *large && *large != '0') b->Args({10000, 1000})->Args({100000, 100});
}
BENCHMARK(BM_AlertBatch)
    ->Apply(Sizes)
    ->UseManualTime()
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
