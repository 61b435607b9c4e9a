// What the batch asks of the database per transaction: the job that the
// filter read serves the text, and nothing read is carried into the next
// transaction.
#include "EngineTest.h"
#include "alert/AlertIntake.h"
#include "alert/AlertProcessing.h"
#include "platform/data/Database.h"
#include "platform/rtl/Format.h"

#include <sqlite3.h>

#include <cctype>
#include <map>
#include <string>

namespace {

class BatchReadsTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (8, 'Bob', 'Ray');"
             "insert into JOBS (JobNbr, JobId, JobDescr, ProjManagerId, ChangedByScheduler) "
             "values (10, 'J-100', 'Tower', 3, 1);");
        // Archived-job cost changes for the job's manager: the filter reads
        // the job, the text names it and the employee who changed it.
        AddSetting({.AlertId = 26, .EmpNbr = 3, .Source = 1});
        AddSetting({.AlertId = 26, .EmpNbr = 4, .Source = 1});
    }

    void AddTransaction(int Token) {
        Exec(Format("insert into ALERT_TRANSACTION (AlertTransToken, AlertNbr, TransType, "
                    "EventTimeStamp, EmpNbrGeneratedTrans, JobNbr, PoNbr, Arg1) values (%d, 26, 2, "
                    "'2024/05/06 09:30:00', 8, 10, 7, 'Acme');",
                    Token));
    }

    // Runs a batch, counting each statement the program's connection runs.
    std::map<std::string, int> Batch() {
        std::map<std::string, int> runs;
        sqlite3_trace_v2(
            Main->MyDatabase->Handle(), SQLITE_TRACE_STMT,
            [](unsigned, void* Runs, void*, void* Sql) {
                std::string text = static_cast<const char*>(Sql);
                while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
                    text.pop_back();
                ++(*static_cast<std::map<std::string, int>*>(Runs))[text];
                return 0;
            },
            &runs);
        CheckAlertSettingMarkers(*Context);
        ScanAlertTransactions(*Context);
        sqlite3_trace_v2(Main->MyDatabase->Handle(), 0, nullptr, nullptr);
        return runs;
    }
};

TEST_F(BatchReadsTest, OneJobReadPerTransactionServesFilterAndText) {
    AddTransaction(1);
    AddTransaction(2);
    std::map<std::string, int> runs = Batch();
    EXPECT_EQ(runs["Select * from JOBS where JobNbr = ?1"], 2);
    EXPECT_EQ(runs["Update JOBS set ChangedByScheduler = 0 where JobNbr = ?1 and "
                   "ChangedByScheduler is not 0"],
              2);
    const std::string text = "3|26|Archived job material cost changed.\nJob: J-100 - Tower. PO 7. "
                             "Vendor: Acme. Changed by: Bob Ray.";
    EXPECT_EQ(History(), (std::vector<std::string>{text, text}));
    EXPECT_EQ(Text("select ChangedByScheduler from JOBS"), "0");

    // The next transaction reads the job again: it may have changed between.
    Exec("update JOBS set JobDescr = 'Spire', ChangedByScheduler = 1");
    AddTransaction(3);
    runs = Batch();
    EXPECT_EQ(runs["Select * from JOBS where JobNbr = ?1"], 1);
    EXPECT_EQ(History().back(), "3|26|Archived job material cost changed.\nJob: J-100 - Spire. PO "
                                "7. Vendor: Acme. Changed by: Bob Ray.");
    EXPECT_EQ(Text("select ChangedByScheduler from JOBS"), "0");
}

TEST_F(BatchReadsTest, OtherPeoplesSettingsArePassedOverInTheirOrder) {
    // Besides 3 (the manager) and 4 from the fixture: 5 without a filter and
    // 6 for jobs it does not manage.
    AddSetting({.AlertId = 26, .EmpNbr = 5, .Source = 10});
    AddSetting({.AlertId = 26, .EmpNbr = 6, .Source = 1});
    AddTransaction(1);
    Batch();
    std::vector<std::string> recipients;
    for (const std::string& row : History())
        recipients.push_back(row.substr(0, row.find('|')));
    EXPECT_EQ(recipients, (std::vector<std::string>{"3", "5"}));
    EXPECT_TRUE(Host.Log.empty());
}

} // namespace
