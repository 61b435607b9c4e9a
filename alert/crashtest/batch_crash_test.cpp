// A batch of pending transactions killed at random moments and run again to
// completion writes exactly the history of a batch that was never killed: no
// alert lost, none written twice. The batch runs in a child process (this
// program started again with --run-batch), which the test kills with SIGKILL.
//
// CI runs a few hundred rows in a few trials; the full run is
//   BEACONMILL_CRASH_ROWS=20000 BEACONMILL_CRASH_TRIALS=20 alertcrash_tests
#include "alert/AlertContext.h"
#include "alert/AlertIntake.h"
#include "alert/AlertProcessing.h"
#include "alert/DataModuleLookups.h"
#include "datamodules/ShopDataModules.h"
#include "platform/data/testing/ShopDatabase.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/sys/KernelNames.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

int Setting(const char* Name, int Default) {
    const char* text = std::getenv(Name);
    return text && *text ? std::atoi(text) : Default;
}

class LoggingHost : public IAlertHost {
public:
    AlertSettingsCache& SettingsCache() override { return Cache; }
    TDateTime BatchStartTime() const override { return 0.0; }
    void AlertGenerated(const AlertTransaction&) override {}
    void LogLine(const AnsiString& Text) override {
        std::cerr << Text << "\n";
        ++Failures;
    }

    AlertSettingsCache Cache;
    int Failures = 0;
};

// The child: one batch over the database the configuration names.
int RunBatch(const char* KernelSpace) {
    try {
        SetKernelNamespace(KernelSpace);
        auto owner = std::make_unique<TComponent>(nullptr);
        const TShopDataModules made = CreateShopDataModules(owner.get());
        DataModuleLookups lookups(*made.JobForm, *made.Po, *made.Emp, *made.Inventory,
                                  *made.JobStatus);
        LoggingHost host;
        AlertContext context(host, *made.Main, lookups);
        CheckAlertSettingMarkers(context);
        ScanAlertTransactions(context);
        return host.Failures == 0 ? 0 : 2;
    } catch (const Exception& error) {
        std::cerr << error.Message << "\n";
        return 3;
    }
}

pid_t StartBatch(const std::string& KernelSpace) {
    const pid_t child = fork();
    if (child == 0) {
        execl("/proc/self/exe", "alertcrash_tests", "--run-batch", KernelSpace.c_str(),
              static_cast<char*>(nullptr));
        _exit(127);
    }
    return child;
}

// The child's exit code, or -signal when a signal ended it.
int Wait(pid_t Child) {
    int status = 0;
    while (waitpid(Child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

class BatchCrashTest : public ::testing::Test {
protected:
    void SetUp() override {
        KernelSpace = UniqueKernelNamespace("ac");
        // Three job managers; alert 26 goes to the job's manager (one alert
        // per transaction), alert 21 to all three (three alerts, which
        // must commit together with the transaction's deletion).
        Db.Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (3, 'Ann', 'Lee'), "
                "(4, 'Bob', 'Hay'), (5, 'Cy', 'Orr'), (8, 'Dee', 'Ray');"
                "insert into JOBS (JobNbr, JobId, JobDescr, ProjManagerId) values "
                "(10, 'J-10', 'Tower', 3), (11, 'J-11', 'Annex', 4), (12, 'J-12', 'Depot', 5);"
                "insert into JOB_ITEM (JobItemNbr, JobNbr, ItemNbr, JobItemDescr) values "
                "(20, 10, '1', 'Lobby');");
        for (const int employee : {3, 4, 5}) {
            Db.Exec(Format("insert into ALERT_USER_DEFAULTS (EmpNbr, HaltAlertGeneration) values "
                           "(%d, 0);"
                           "insert into USER_LOGON (USERID, NAME, DORN_USER, DORN_ALERTS) values "
                           "(%d, 'u%d', %d, 1);"
                           "insert into ALERT_SETTING (AlertId, EmpNbr, EmailFrequency, Priority, "
                           "Source) values (26, %d, 1, 1, 1), (21, %d, 3, 2, 10);",
                           employee, employee, employee, employee, employee, employee));
        }
        // Each transaction has a time stamp of its own, so that every history
        // row tells which transaction wrote it.
        Db.Exec(Format(
            "create table PENDING_AT_START as with recursive n(i) as (select 1 union all select "
            "i + 1 from n where i < %d) select i as AlertTransToken, case when i %% 2 = 0 then 26 "
            "else 21 end as AlertNbr, 2 as TransType, strftime('%%Y/%%m/%%d %%H:%%M:%%S', "
            "'2024-05-06 00:00:00', '+' || i || ' seconds') as EventTimeStamp, 8 as "
            "EmpNbrGeneratedTrans, 10 + i %% 3 as JobNbr, 20 as JobItemNbr, 7 as PoNbr, i as "
            "WoNbr, 'V' || i as Arg1, 8 as EmpNbr from n;",
            Rows));
    }
    void TearDown() override { RemoveKernelNamespace(KernelSpace); }

    void Refill() {
        Db.Exec("delete from ALERT_HISTORY; delete from ALERT_TRANSACTION;"
                "insert into ALERT_TRANSACTION (AlertTransToken, AlertNbr, TransType, "
                "EventTimeStamp, EmpNbrGeneratedTrans, JobNbr, JobItemNbr, PoNbr, WoNbr, Arg1, "
                "EmpNbr) select * from PENDING_AT_START;");
    }

    int Pending() { return Db.Scalar("select count(*) from ALERT_TRANSACTION").AsInteger(); }

    // Every history row, in one order.
    std::vector<std::string> History() {
        std::vector<std::string> rows;
        for (const auto& row : Db.Rows("select DateGenerated, AlertNbr, AlertRecipientNbr, JobNbr, "
                                       "SendEmail, Descr from ALERT_HISTORY order by 1, 2, 3"))
            rows.push_back(Format("%s|%s|%s|%s|%s|%s", row[0].AsString(), row[1].AsString(),
                                  row[2].AsString(), row[3].AsString(), row[4].AsString(),
                                  row[5].AsString()));
        return rows;
    }

    // At any moment a transaction is either still pending with no alert
    // written, or gone with all of its alerts.
    void ExpectWholeTransactions() {
        const auto partial = Db.Scalar(
            "select count(*) from PENDING_AT_START P left join (select DateGenerated, count(*) as "
            "Written from ALERT_HISTORY group by DateGenerated) H on H.DateGenerated = "
            "P.EventTimeStamp where ifnull(H.Written, 0) != case when exists (select 1 from "
            "ALERT_TRANSACTION T where T.AlertTransToken = P.AlertTransToken) then 0 when "
            "P.AlertNbr = 26 then 1 else 3 end");
        EXPECT_EQ(partial.AsInteger(), 0);
    }

    const int Rows = Setting("BEACONMILL_CRASH_ROWS", 300);
    const int Trials = Setting("BEACONMILL_CRASH_TRIALS", 4);
    ShopDatabase Db;
    std::string KernelSpace;
};

TEST_F(BatchCrashTest, KilledBatchesRunAgainWriteTheHistoryOfAnUninterruptedOne) {
    Refill();
    ASSERT_EQ(Wait(StartBatch(KernelSpace)), 0);
    const std::vector<std::string> reference = History();
    ASSERT_EQ(reference.size(), static_cast<std::size_t>(Rows / 2 + (Rows - Rows / 2) * 3));
    EXPECT_EQ(Pending(), 0);

    std::mt19937 random(static_cast<unsigned>(
        Setting("BEACONMILL_CRASH_SEED", static_cast<int>(std::random_device()()))));
    int killedMidway = 0;
    for (int trial = 0; trial < Trials; ++trial) {
        Refill();
        // A random point of progress, then a random moment after it.
        const int leftWhenKilled = std::uniform_int_distribution<int>(1, Rows - 1)(random);
        const auto extra =
            std::chrono::microseconds(std::uniform_int_distribution<int>(0, 3000)(random));
        const pid_t child = StartBatch(KernelSpace);
        int status = 0;
        bool exited = false;
        while (!exited && Pending() > leftWhenKilled) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            exited = waitpid(child, &status, WNOHANG) == child;
        }
        if (!exited) {
            std::this_thread::sleep_for(extra);
            kill(child, SIGKILL);
            if (Wait(child) == -SIGKILL && Pending() > 0) ++killedMidway;
        }
        RemoveKernelNamespace(KernelSpace);
        ExpectWholeTransactions();

        ASSERT_EQ(Wait(StartBatch(KernelSpace)), 0) << "trial " << trial;
        EXPECT_EQ(Pending(), 0) << "trial " << trial;
        const std::vector<std::string> history = History();
        EXPECT_EQ(history.size(), reference.size()) << "trial " << trial;
        EXPECT_TRUE(history == reference) << "trial " << trial;
        std::cout << "trial " << trial + 1 << " of " << Trials << ": killed at about "
                  << leftWhenKilled << " of " << Rows << " pending, run again to the end" << std::endl;
    }
    // Nearly every trial must have caught the batch at work.
    EXPECT_GE(killedMidway, Trials / 2);
    std::cout << killedMidway << " of " << Trials << " batches of " << Rows
              << " transactions killed part-way\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--run-batch") == 0) return RunBatch(argv[2]);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
