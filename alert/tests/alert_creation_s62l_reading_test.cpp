// Creating alerts: forwarding, one alert per listed owner, and what the host
// hears when a step fails.
#include "EngineTest.h"

#include "alert/AlertCreation.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace {

class CreatingAlerts : public EngineTest {
protected:
    // A "job deleted" alert for employee 7.
    static AlertTransaction JobDeleted() {
        AlertTransaction t;
        t.AlertNbr = 29;
        t.RecipientNbr = 7;
        t.Priority = 3;
        t.Arg1 = "J1";
        t.Arg2 = "Deck";
        t.EventTimeStamp = TDateTime(45657.378);
        return t;
    }

    void Create(AlertTransaction& Alert) {
        AlertUnitOfWork work(*Context);
        CreateAlert(*Context, Alert);
        work.Commit();
    }

    static std::vector<int> Recipients(const std::vector<AlertTransaction>& Alerts) {
        std::vector<int> r;
        for (const auto& a : Alerts)
            r.push_back(a.RecipientNbr);
        return r;
    }
};

TEST_F(CreatingAlerts, ForwardingDecidesTheRecipient) {
    struct Case {
        const char* ForwardTo; // the recipient's ForwardToEmpNbr, or no defaults row
        int Recipient;
    };
    const Case cases[] = {{nullptr, 7}, {"NULL", 7}, {"0", 7}, {"12", 12}};
    for (const auto& k : cases) {
        Exec("delete from ALERT_USER_DEFAULTS; delete from ALERT_HISTORY;");
        if (k.ForwardTo)
            Exec(Format("insert into ALERT_USER_DEFAULTS (EmpNbr, ForwardToEmpNbr) values (7, %s)",
                        k.ForwardTo));
        Host.Generated.clear();
        AlertTransaction t = JobDeleted();
        Create(t);
        const std::string who = k.ForwardTo ? k.ForwardTo : "none";
        ASSERT_EQ(History().size(), 1u) << who;
        EXPECT_EQ(History()[0].substr(0, History()[0].find('|')), std::to_string(k.Recipient))
            << who;
        EXPECT_NE(History()[0].find("|29|Job deleted."), std::string::npos) << History()[0];
        EXPECT_EQ(Recipients(Host.Generated), std::vector<int>{k.Recipient}) << who;
    }
}

TEST_F(CreatingAlerts, EachOwnersAlertForwardsFromTheSettingsRecipient) {
    Exec("insert into JOB (JOB_NBR, JOB_TAG, DESCRIPTION) values (501, 'A-1', 'one'), (502, "
         "'A-2', 'two');"
         "insert into ALERT_USER_DEFAULTS (EmpNbr, ForwardToEmpNbr) values (7, 12), (12, 13)");
    AlertTransaction t = JobDeleted();
    t.SourceType = 5;
    t.JobList = {501, 502};
    Create(t);
    EXPECT_EQ(Recipients(Host.Generated), (std::vector<int>{12, 12}));
    EXPECT_EQ(Count("ALERT_HISTORY where AlertRecipientNbr = 12"), 2);
}

TEST_F(CreatingAlerts, EveryListedJobGetsItsOwnAlert) {
    Exec("insert into JOB (JOB_NBR, JOB_TAG, DESCRIPTION) values (501, 'A-1', 'one'), (502, 'A-2', "
         "'two')");
    AlertTransaction t = JobDeleted();
    t.SourceType = 5;
    t.JobList = {501, 502};
    Create(t);
    EXPECT_EQ(History().size(), 2u);
    EXPECT_EQ(Host.Generated.size(), 2u);
    EXPECT_EQ(Count("ALERT_HISTORY where JobNbr in (501, 502)"), 2);
}

TEST_F(CreatingAlerts, AFailingStepWritesAndCountsNothing) {
    struct Case {
        const char* Name;
        const char* Breaks;
        int AlertNbr = 29;
    };
    const Case cases[] = {
        {"forward lookup", "drop table ALERT_USER_DEFAULTS"},
        {"text of an unknown alert id", "select 1", 999},
        {"history insert", "create trigger refuse before insert on ALERT_HISTORY begin select "
                           "raise(abort, 'refused'); end"},
        // The first owner's row is not kept without the second's.
        {"second owner's insert",
         "create trigger refuse before insert on ALERT_HISTORY when NEW.JobNbr = 502 begin "
         "select raise(abort, 'refused'); end"},
    };
    Exec("insert into JOB (JOB_NBR, JOB_TAG, DESCRIPTION) values (501, 'A-1', 'one'), (502, "
         "'A-2', 'two')");
    for (const auto& k : cases) {
        SCOPED_TRACE(k.Name);
        Exec("create table if not exists ALERT_USER_DEFAULTS (EmpNbr INTEGER PRIMARY KEY, "
             "HaltAlertGeneration INTEGER DEFAULT 0, ForwardToEmpNbr INTEGER, "
             "PurgeAfterNbrOfDays INTEGER DEFAULT 30); drop trigger if exists refuse;");
        Exec(k.Breaks);
        Host.Generated.clear();
        AlertTransaction t = JobDeleted();
        t.AlertNbr = k.AlertNbr;
        t.SourceType = 5;
        t.JobList = {501, 502};
        EXPECT_ANY_THROW(Create(t));
        EXPECT_EQ(Count("ALERT_HISTORY"), 0);
        EXPECT_TRUE(Host.Generated.empty());
    }
}

// A host whose count or grid fails for one alert.
class FailingHost : public RecordingHost {
public:
    void AlertGenerated(const AlertTransaction& Alert) override {
        if (++Calls == 1) {
            if (Library) throw Exception("grid gone");
            throw std::runtime_error("grid gone");
        }
        RecordingHost::AlertGenerated(Alert);
    }
    bool Library = false;
    int Calls = 0;
};

TEST_F(CreatingAlerts, AHostFailingForOneAlertStillHearsOfTheOthers) {
    Exec("insert into JOB (JOB_NBR, JOB_TAG, DESCRIPTION) values (501, 'A-1', 'one'), (502, 'A-2', "
         "'two'), "
         "(503, 'A-3', 'three')");
    // The library's own error, and one of the standard library's (a grid
    // that cannot grow).
    for (const bool library : {true, false}) {
        SCOPED_TRACE(library);
        Exec("delete from ALERT_HISTORY");
        FailingHost host;
        host.Library = library;
        AlertContext context(host, *Main, *Shop);
        AlertTransaction t = JobDeleted();
        t.SourceType = 5;
        t.JobList = {501, 502, 503};
        {
            AlertUnitOfWork work(context);
            CreateAlert(context, t);
            EXPECT_NO_THROW(work.Commit());
        }
        EXPECT_EQ(Count("ALERT_HISTORY"), 3);
        EXPECT_EQ(host.Calls, 3);
        EXPECT_EQ(host.Generated.size(), 2u);
        ASSERT_EQ(host.Log.size(), 1u);
        EXPECT_NE(host.Log[0].find("grid gone"), AnsiString::npos) << host.Log[0];
    }
}

} // namespace
