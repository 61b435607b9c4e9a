// Alert creation as the engine runs it: forwarding, the stored row, the
// count the host hears of inside and outside a unit of work, and the
// fan-out to owning jobs.
#include "EngineTest.h"

#include "alert/AlertCreation.h"
#include "platform/rtl/Format.h"

namespace {

using CreatingOneAlert = EngineTest;

AlertTransaction Deleted(int Recipient) {
    AlertTransaction a;
    a.AlertNbr = 29;
    a.RecipientNbr = Recipient;
    a.Arg1 = "J-1";
    a.Arg2 = "Shop fit";
    a.Priority = -3;
    a.EventTimeStamp = TDateTime(45000.5);
    return a;
}

// The recipient's forward-to number decides who gets the alert.
TEST_F(CreatingOneAlert, ForwardingPicksTheRecipient) {
    struct Case {
        const char* Defaults; // the recipient's defaults row, or none
        int Expected;
    };
    const Case cases[] = {
        {nullptr, 5},
        {"(5, 0, NULL)", 5},
        {"(5, 0, 0)", 5},
        {"(5, 0, 9)", 9},
    };
    for (const Case& c : cases) {
        Exec("delete from ALERT_USER_DEFAULTS; delete from ALERT_HISTORY;");
        if (c.Defaults)
            Exec(std::string("insert into ALERT_USER_DEFAULTS (EmpNbr, HaltAlertGeneration, "
                             "ForwardToEmpNbr) values ") +
                 c.Defaults + ";");
        Host.Generated.clear();
        AlertTransaction a = Deleted(5);
        {
            AlertUnitOfWork work(*Context);
            CreateAlert(*Context, a);
            work.Commit();
        }
        const auto rows = History();
        ASSERT_EQ(rows.size(), 1u) << (c.Defaults ? c.Defaults : "none");
        EXPECT_EQ(rows[0].substr(0, rows[0].find('|')), std::to_string(c.Expected));
        ASSERT_EQ(Host.Generated.size(), 1u);
        EXPECT_EQ(Host.Generated[0].RecipientNbr, c.Expected);
        EXPECT_EQ(Text("select Priority from ALERT_HISTORY"), "-3");
    }
}

// Rolled back, the alert is neither stored nor counted; committed, it is
// both, once.
TEST_F(CreatingOneAlert, OnlyCommittedAlertsAreCounted) {
    AlertTransaction a = Deleted(5);
    {
        AlertUnitOfWork work(*Context);
        CreateAlert(*Context, a);
    }
    EXPECT_EQ(Count("ALERT_HISTORY"), 0);
    EXPECT_TRUE(Host.Generated.empty());
    AlertTransaction b = Deleted(5);
    {
        AlertUnitOfWork work(*Context);
        CreateAlert(*Context, b);
        EXPECT_TRUE(Host.Generated.empty());
        work.Commit();
    }
    EXPECT_EQ(Count("ALERT_HISTORY"), 1);
    EXPECT_EQ(Host.Generated.size(), 1u);
}

// Outside any unit of work the row is written at once, so the host must
// hear of it at once too.
TEST_F(CreatingOneAlert, AnAlertWrittenOutsideAUnitOfWorkIsCounted) {
    AlertTransaction a = Deleted(5);
    CreateAlert(*Context, a);
    EXPECT_EQ(Count("ALERT_HISTORY"), 1);
    EXPECT_EQ(Host.Generated.size(), 1u);
}

// A failing text composition leaves no row and no count.
TEST_F(CreatingOneAlert, AnAlertIdTheCatalogueLacksWritesNothing) {
    AlertTransaction a = Deleted(5);
    a.AlertNbr = 9999;
    {
        AlertUnitOfWork work(*Context);
        EXPECT_ANY_THROW(CreateAlert(*Context, a));
    }
    EXPECT_EQ(Count("ALERT_HISTORY"), 0);
    EXPECT_TRUE(Host.Generated.empty());
}

// An order alert for two of the recipient's jobs or work orders: one row
// per owner with the owner's keys, each counted, forwarded from the
// setting's own recipient, and the transaction's keys and lists as they were.
TEST_F(CreatingOneAlert, OwnerListsGiveOneAlertPerOwner) {
    Exec("insert into ALERT_USER_DEFAULTS (EmpNbr, HaltAlertGeneration, ForwardToEmpNbr) values "
         "(5, 0, 9), (9, 0, 11);"
         "insert into WO (WoNbr, JobNbr, JobItemNbr) values (201, 81, 811), (202, 82, 821);");
    struct Case {
        std::uint8_t Source;
        std::vector<std::int32_t> Jobs, WorkOrders;
        const char* Expected; // JobNbr:JobItemNbr:WoNbr:recipient per row
    };
    const Case cases[] = {
        {5, {71, 72}, {}, "71:70:60:9 72:70:60:9"},
        {6, {}, {201, 202}, "81:811:201:9 82:821:202:9"},
    };
    for (const Case& c : cases) {
        Exec("delete from ALERT_HISTORY;");
        Host.Generated.clear();
        AlertTransaction a = Deleted(5);
        a.AlertNbr = 31;
        a.Arg1 = "2";
        a.SourceType = c.Source;
        a.JobNbr = 70;
        a.JobItemNbr = 70;
        a.WoNbr = 60;
        a.JobList = c.Jobs;
        a.WoList = c.WorkOrders;
        {
            AlertUnitOfWork work(*Context);
            CreateAlert(*Context, a);
            work.Commit();
        }
        EXPECT_EQ(Text("select group_concat(JobNbr || ':' || JobItemNbr || ':' || WoNbr || ':' || "
                       "AlertRecipientNbr, ' ') from ALERT_HISTORY"),
                  c.Expected);
        EXPECT_EQ(Host.Generated.size(), 2u);
        EXPECT_EQ(a.JobNbr, 70);
        EXPECT_EQ(a.JobItemNbr, 70);
        EXPECT_EQ(a.WoNbr, 60);
        EXPECT_EQ(a.RecipientNbr, 5);
        EXPECT_TRUE(a.JobList.empty() && a.WoList.empty());
    }
}

} // namespace
