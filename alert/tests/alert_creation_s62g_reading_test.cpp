// Writing the alerts of a transaction that passed: forwarding, the fan-out to
// the owners of an order, the count the host keeps, and a write that fails.
#include "EngineTest.h"

#include "alert/AlertCreation.h"
#include "alert/AlertIntake.h"
#include "alert/AlertProcessing.h"
#include "platform/rtl/Exceptions.h"

namespace {

class AlertCreationReading : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        // Employee 4 forwards to 5, who forwards to 6; 7 and 9 forward
        // nowhere (0 and NULL), 8 has no defaults at all.
        Exec("insert into ALERT_USER_DEFAULTS (EmpNbr, ForwardToEmpNbr) values (4, 5), (5, 6), "
             "(7, 0), (9, NULL);"
             "insert into JOBS (JobNbr, JobId, JobDescr) values (1, 'J1', 'Shed'), (2, 'J2', "
             "'Barn');");
    }
    // Creates the alert inside a unit of work, as the engine's callers do.
    void Create(AlertTransaction& Alert) {
        AlertUnitOfWork work(*Context);
        CreateAlert(*Context, Alert);
        work.Commit();
    }
    static AlertTransaction Alert(int Recipient) {
        AlertTransaction alert;
        alert.AlertNbr = 30;
        alert.RecipientNbr = Recipient;
        alert.JobNbr = 1;
        alert.Priority = 2;
        return alert;
    }
};

TEST_F(AlertCreationReading, RecipientGetsTheAlertOrTheOneItIsForwardedTo) {
    const std::pair<int, int> cases[] = {{7, 7}, {8, 8}, {9, 9}, {4, 5}};
    for (const auto& [recipient, receiver] : cases) {
        SCOPED_TRACE(recipient);
        Exec("delete from ALERT_HISTORY;");
        Host.Generated.clear();
        AlertTransaction alert = Alert(recipient);
        Create(alert);
        const std::string row = std::to_string(receiver) + "|30|Job was archived.\nJob: J1 - "
                                                           "Shed. Archived by: .";
        EXPECT_EQ(History(), std::vector<std::string>{row});
        ASSERT_EQ(Host.Generated.size(), 1u);
        EXPECT_EQ(Host.Generated[0].RecipientNbr, receiver);
        EXPECT_EQ(Host.Generated[0].MessageText, row.substr(row.find('|', 3) + 1));
    }
}

TEST_F(AlertCreationReading, JobListGivesOneAlertPerJobEachFromTheSettingsRecipient) {
    AlertTransaction alert = Alert(4);
    alert.SourceType = 5;
    alert.JobList = {1, 2};
    Create(alert);
    EXPECT_EQ(History(), (std::vector<std::string>{
                             "5|30|Job was archived.\nJob: J1 - Shed. Archived by: .\nReferenced "
                             "Job: J1 - Shed.",
                             "5|30|Job was archived.\nJob: J2 - Barn. Archived by: .\nReferenced "
                             "Job: J2 - Barn."}));
    EXPECT_EQ(Host.Generated.size(), 2u);
    EXPECT_TRUE(alert.JobList.empty());
}

TEST_F(AlertCreationReading, FailedWriteIsNotCounted) {
    // The second job's row cannot be written.
    Exec("create trigger NoBarn before insert on ALERT_HISTORY when NEW.JobNbr = 2 begin select "
         "raise(abort, 'history is full'); end;");
    struct Case {
        const char* What;
        void (*Change)(AlertTransaction&);
    };
    const Case cases[] = {
        {"the only alert", [](AlertTransaction& a) { a.JobNbr = 2; }},
        {"the second of a fan-out",
         [](AlertTransaction& a) {
             a.SourceType = 5;
             a.JobList = {1, 2};
         }},
        {"an alert id the catalogue lacks", [](AlertTransaction& a) { a.AlertNbr = 200; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        AlertTransaction alert = Alert(7);
        c.Change(alert);
        EXPECT_ANY_THROW(Create(alert));
        EXPECT_EQ(Count("ALERT_HISTORY"), 0);
        EXPECT_TRUE(Host.Generated.empty());
    }
}

TEST_F(AlertCreationReading, TransactionWhoseAlertCannotBeWrittenStaysForTheNextBatch) {
    AddSetting({.AlertId = 30, .EmpNbr = 7});
    AddSetting({.AlertId = 30, .EmpNbr = 8});
    Exec("create trigger NoEight before insert on ALERT_HISTORY when NEW.AlertRecipientNbr = 8 "
         "begin select raise(abort, 'history is full'); end;"
         "insert into ALERT_TRANSACTION (AlertTransToken, AlertNbr, JobNbr) values (3, 30, 1), "
         "(4, 29, 1);");
    CheckAlertSettingMarkers(*Context);
    ScanAlertTransactions(*Context);
    // Neither of the first transaction's alerts is kept or counted.
    EXPECT_EQ(Count("ALERT_HISTORY"), 0);
    EXPECT_TRUE(Host.Generated.empty());
    EXPECT_EQ(Text("select group_concat(AlertTransToken) from ALERT_TRANSACTION"), "3");
    ASSERT_EQ(Host.Log.size(), 1u);
    EXPECT_NE(Host.Log[0].find("history is full"), std::string::npos) << Host.Log[0];
    // Once the history takes it, the next batch writes both.
    Exec("drop trigger NoEight;");
    ScanAlertTransactions(*Context);
    EXPECT_EQ(Text("select group_concat(AlertRecipientNbr) from ALERT_HISTORY"), "7,8");
    EXPECT_EQ(Host.Generated.size(), 2u);
    EXPECT_EQ(Count("ALERT_TRANSACTION"), 0);
}

// A host that counts every alert and then fails to show the first one.
class FailingDisplayHost : public RecordingHost {
public:
    void AlertGenerated(const AlertTransaction& Alert) override {
        RecordingHost::AlertGenerated(Alert);
        if (Generated.size() == 1) throw Exception("the grid has no room");
    }
};

TEST_F(AlertCreationReading, AlertWrittenIsCountedEvenWhenShowingAnotherFails) {
    AddSetting({.AlertId = 30, .EmpNbr = 7});
    AddSetting({.AlertId = 30, .EmpNbr = 8});
    Exec("insert into ALERT_TRANSACTION (AlertTransToken, AlertNbr, JobNbr) values (3, 30, 1);");
    FailingDisplayHost host;
    AlertContext context(host, *Main, *Shop);
    CheckAlertSettingMarkers(context);
    ScanAlertTransactions(context);
    EXPECT_EQ(Text("select group_concat(AlertRecipientNbr) from ALERT_HISTORY"), "7,8");
    EXPECT_EQ(Count("ALERT_TRANSACTION"), 0);
    // Both written alerts are counted; the log tells of the display's
    // failure, not of a transaction left behind.
    EXPECT_EQ(host.Generated.size(), 2u);
    ASSERT_EQ(host.Log.size(), 1u);
    EXPECT_NE(host.Log[0].find("the grid has no room"), std::string::npos) << host.Log[0];
    EXPECT_EQ(host.Log[0].find("left for the next batch"), std::string::npos) << host.Log[0];
}

} // namespace
