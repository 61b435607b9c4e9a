// A pending alert transaction that disappears between the scan's read and
// its deletion has been processed by someone else: its alerts must not be
// written a second time.
#include "EngineTest.h"
#include "alert/AlertIntake.h"
#include "alert/AlertProcessing.h"

#include <gmock/gmock.h>

namespace {

class TakenTransactionTest : public EngineTest {};

TEST_F(TakenTransactionTest, ATransactionGoneBeforeItsDeletionIsRolledBack) {
    Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (8, 'Bob', 'Ray');"
         "insert into JOBS (JobNbr, JobId, JobDescr, CompanyNbr, JobStatusNbr, ProjManagerId) "
         "values (10, 'J-100', 'Tower', 1, 1, 3);"
         "insert into JOB_ITEM (JobItemNbr, JobNbr, ItemNbr, JobItemDescr) "
         "values (20, 10, '2', 'Lobby');"
         "insert into WO (WoNbr, JobNbr, JobItemNbr) values (30, 10, 20);");
    AddSetting({.AlertId = 21, .EmpNbr = 3, .Source = 10});
    for (const int Token : {1, 2, 3})
        Exec("insert into ALERT_TRANSACTION (AlertTransToken, AlertNbr, EventTimeStamp, "
             "EmpNbrGeneratedTrans, WoNbr) values (" +
             std::to_string(Token) + ", 21, '2024/05/06 09:30:00', 8, 30);");
    // Another instance takes transaction 2 while this one writes the alert
    // of transaction 1 (its deletion commits with that alert).
    Exec("create trigger TakenElsewhere after insert on ALERT_HISTORY "
         "when (select count(*) from ALERT_HISTORY) = 1 "
         "begin delete from ALERT_TRANSACTION where AlertTransToken = 2; end;");

    CheckAlertSettingMarkers(*Context);
    ScanAlertTransactions(*Context);

    EXPECT_EQ(Count("ALERT_TRANSACTION"), 0);
    // Transactions 1 and 3 each wrote their alert; 2's was rolled back.
    EXPECT_EQ(Count("ALERT_HISTORY"), 2);
    EXPECT_EQ(Host.Generated.size(), 2u);
    EXPECT_THAT(Host.Log, ::testing::ElementsAre(::testing::HasSubstr("transaction 2")));
}

} // namespace
