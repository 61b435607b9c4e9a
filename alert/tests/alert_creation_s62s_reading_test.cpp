// Alert creation through the engine's public calls: forwarding, the count
// the host hears of, the fan-out over owners, and what a failing step leaves.
#include "EngineTest.h"

#include "alert/AlertCreation.h"
#include "platform/rtl/Format.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

class AlertCreationFreshReading : public EngineTest {
protected:
    AlertTransaction Alert(int Recipient) {
        AlertTransaction alert;
        alert.AlertNbr = 26;
        alert.RecipientNbr = Recipient;
        alert.EmpNbrGeneratedTrans = 4;
        alert.Priority = 3;
        alert.JobNbr = 1;
        return alert;
    }
    void Forward(int From, int To) {
        Exec(Format("insert or replace into ALERT_USER_DEFAULTS (EmpNbr, HaltAlertGeneration, "
                    "ForwardToEmpNbr) values (%d, 0, %d);",
                    From, To));
    }
};

TEST_F(AlertCreationFreshReading, ForwardingDecidesTheRecipientOfRowAndHost) {
    struct Case {
        const char* Name;
        int ForwardTo; // -1: no defaults row at all
        int Expected;
    };
    const Case cases[] = {
        {"no defaults row", -1, 7}, {"forward to 0", 0, 7}, {"forward to 9", 9, 9}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Exec("delete from ALERT_HISTORY; delete from ALERT_USER_DEFAULTS;");
        Host.Generated.clear();
        if (c.ForwardTo >= 0) Forward(7, c.ForwardTo);
        AlertTransaction alert = Alert(7);
        CreateAlert(*Context, alert);
        const std::vector<std::string> rows = History();
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].substr(0, rows[0].find('|')), std::to_string(c.Expected));
        ASSERT_EQ(Host.Generated.size(), 1u);
        EXPECT_EQ(Host.Generated[0].RecipientNbr, c.Expected);
        EXPECT_EQ(Host.Generated[0].AlertNbr, 26);
        EXPECT_EQ(Host.Generated[0].Priority, 3);
        EXPECT_EQ(Host.Generated[0].EmpNbrGeneratedTrans, 4);
    }
}

TEST_F(AlertCreationFreshReading, ForwardingFollowsOneStepOnly) {
    Forward(7, 9);
    Forward(9, 11);
    AlertTransaction alert = Alert(7);
    CreateAlert(*Context, alert);
    ASSERT_EQ(History().size(), 1u);
    EXPECT_EQ(History()[0].substr(0, 2), "9|");
}

TEST_F(AlertCreationFreshReading, TextIsComposedBeforeTheRowIsWritten) {
    AlertTransaction alert = Alert(7);
    alert.MessageText = "stale";
    CreateAlert(*Context, alert);
    ASSERT_EQ(Host.Generated.size(), 1u);
    EXPECT_NE(Host.Generated[0].MessageText, AnsiString("stale"));
    EXPECT_EQ("7|26|" + std::string(Host.Generated[0].MessageText.c_str()), History().at(0));
}

TEST_F(AlertCreationFreshReading, FailingStepLeavesNothingCounted) {
    struct Case {
        const char* Name;
        const char* Break;
    };
    const Case cases[] = {
        {"forward lookup", "drop table ALERT_USER_DEFAULTS;"},
        {"history insert", "drop table ALERT_HISTORY;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Exec(c.Break);
        AlertTransaction alert = Alert(7);
        EXPECT_ANY_THROW(CreateAlert(*Context, alert));
        EXPECT_TRUE(Host.Generated.empty());
        EXPECT_TRUE(Context->Uncommitted.empty());
        Exec("create table if not exists ALERT_USER_DEFAULTS (EmpNbr INTEGER PRIMARY KEY, "
             "HaltAlertGeneration INTEGER DEFAULT 0, ForwardToEmpNbr INTEGER, "
             "PurgeAfterNbrOfDays INTEGER);");
    }
}

TEST_F(AlertCreationFreshReading, UnknownAlertIdRaisesAndWritesNothing) {
    AlertTransaction alert = Alert(7);
    alert.AlertNbr = 99999;
    EXPECT_ANY_THROW(CreateAlert(*Context, alert));
    EXPECT_TRUE(History().empty());
    EXPECT_TRUE(Host.Generated.empty());
}

TEST_F(AlertCreationFreshReading, UnitOfWorkCountsOnlyOnCommit) {
    {
        AlertUnitOfWork work(*Context);
        AlertTransaction alert = Alert(7);
        CreateAlert(*Context, alert);
        EXPECT_TRUE(Host.Generated.empty());
    }
    EXPECT_TRUE(History().empty());
    EXPECT_TRUE(Host.Generated.empty());
    {
        AlertUnitOfWork work(*Context);
        AlertTransaction first = Alert(7);
        AlertTransaction second = Alert(8);
        CreateAlert(*Context, first);
        CreateAlert(*Context, second);
        work.Commit();
    }
    EXPECT_EQ(History().size(), 2u);
    ASSERT_EQ(Host.Generated.size(), 2u);
    EXPECT_EQ(Host.Generated[0].RecipientNbr, 7);
    EXPECT_EQ(Host.Generated[1].RecipientNbr, 8);
}

// A host that fails to take the alert of recipient 8.
class FailingRecipientHost : public RecordingHost {
public:
    void AlertGenerated(const AlertTransaction& Alert) override {
        if (Alert.RecipientNbr == 8) throw std::runtime_error("grid gone");
        RecordingHost::AlertGenerated(Alert);
    }
};

TEST_F(AlertCreationFreshReading, HostFailureOutsideUnitOfWorkKeepsTheRow) {
    FailingRecipientHost host;
    AlertContext context(host, *Main, *Shop);
    AlertTransaction first = Alert(8);
    AlertTransaction second = Alert(7);
    // Outside a unit of work the host's failure reaches the caller's batch,
    // but the row it was told of stays written.
    EXPECT_THROW(CreateAlert(context, first), std::runtime_error);
    EXPECT_EQ(History().size(), 1u);
    EXPECT_NO_THROW(CreateAlert(context, second));
    EXPECT_EQ(History().size(), 2u);
    ASSERT_EQ(host.Generated.size(), 1u);
    EXPECT_EQ(host.Generated[0].RecipientNbr, 7);
}

TEST_F(AlertCreationFreshReading, JobListGivesOneRowPerJobAndEmptiesTheList) {
    AlertTransaction alert = Alert(7);
    alert.SourceType = 5;
    alert.JobList = {1, 2};
    // A forwarding chain: every owner's alert forwards from the setting's
    // own recipient, never from where the previous alert went.
    Forward(7, 9);
    Forward(9, 11);
    CreateAlert(*Context, alert);
    const std::vector<std::string> rows = History();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].substr(0, 2), "9|");
    EXPECT_EQ(rows[1].substr(0, 2), "9|");
    ASSERT_EQ(Host.Generated.size(), 2u);
    EXPECT_EQ(Host.Generated[0].JobNbr, 1);
    EXPECT_EQ(Host.Generated[1].JobNbr, 2);
    EXPECT_TRUE(alert.JobList.empty());
    EXPECT_TRUE(alert.WoList.empty());
}

} // namespace
