// The filter that decides whether an event concerns a setting's employee,
// and the settings cache behind the processing, through the engine's calls.
#include "EngineTest.h"

#include "alert/AlertProcessing.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class FilterFreshReading : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        // Job 10 managed by 3, job 12 by 4, job 14 without a manager; order
        // 20 bought by 5 for requester 6, with items on items of jobs 10 and 12.
        Exec("insert into JOBS (JobNbr, JobId, ProjManagerId, DispNbr) values "
             "(10, 'J10', 3, 0), (12, 'J12', 4, 2), (14, 'J14', NULL, NULL);"
             "insert into PURCHASE_ORDER (POnbr, EmpNbr, ReqByEmpNbr) values (20, 5, 6);"
             "insert into PO_ITEM (PoItemNbr, PoNbr) values (200, 20), (201, 20);"
             "insert into JOB_ITEM (JobItemNbr, JobNbr) values (100, 10), (120, 12);"
             "insert into PO_ITEM_JOB (PoItemNbr, JobNbr, JobItemNbr) values (200, 10, 100), "
             "(201, 12, 120);");
    }
    // The recipients of the alerts the host heard of, in order.
    std::vector<int> Recipients() const {
        std::vector<int> recipients;
        for (const AlertTransaction& generated : Host.Generated)
            recipients.push_back(generated.RecipientNbr);
        return recipients;
    }
    static AlertSetting Setting(int Source, int EmpNbr, std::vector<int> Ids = {}) {
        AlertSetting setting;
        setting.AlertSettingNbr = 77;
        setting.AlertId = 26;
        setting.EmpNbr = EmpNbr;
        setting.Source = static_cast<std::uint8_t>(Source);
        setting.SourceIds.assign(Ids.begin(), Ids.end());
        return setting;
    }
};

TEST_F(FilterFreshReading, SourceTypesMatchTheirOwnPerson) {
    struct Case {
        const char* Name;
        int JobNbr;
        int PoNbr;
        int Source;
        int EmpNbr;
        std::vector<int> Ids;
        bool Match;
    };
    const Case cases[] = {
        {"1 manager is the employee", 10, 0, 1, 3, {99}, true},
        {"1 manager is someone else", 10, 0, 1, 4, {3}, false},
        {"1 job without manager", 14, 0, 1, 3, {}, false},
        {"7 manager among the ids", 12, 0, 7, 1, {5, 4}, true},
        {"7 manager not among the ids", 12, 0, 7, 4, {5, 9}, false},
        {"7 job without manager", 14, 0, 7, 1, {-99}, false},
        {"3 order employee", 0, 20, 3, 5, {}, true},
        {"9 order employee among ids", 0, 20, 9, 1, {5}, true},
        {"4 requester", 0, 20, 4, 6, {}, true},
        {"4 buyer is not the requester", 0, 20, 4, 5, {}, false},
        {"5 a job of the order", 0, 20, 5, 4, {}, true},
        {"5 no job of the employee", 0, 20, 5, 9, {}, false},
        {"16 disposition 2", 12, 0, 16, 1, {}, true},
        {"16 disposition 0", 10, 0, 16, 1, {}, false},
        {"16 disposition NULL", 14, 0, 16, 1, {}, false},
        {"10 no filter", 0, 0, 10, 1, {}, true},
        {"12 no filter", 0, 0, 12, 1, {}, true},
        {"14 no filter", 0, 0, 14, 1, {}, true},
        {"15 no filter", 0, 0, 15, 1, {}, true},
        {"0 never", 10, 20, 0, 3, {3}, false},
        {"17 never", 10, 20, 17, 3, {3}, false},
        {"20 never", 10, 20, 20, 3, {3}, false},
        {"255 never", 10, 20, 255, 3, {3}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        AlertTransaction alert;
        alert.AlertNbr = 26;
        alert.JobNbr = c.JobNbr;
        alert.PoNbr = c.PoNbr;
        const AlertSetting setting = Setting(c.Source, c.EmpNbr, c.Ids);
        EXPECT_EQ(CheckAlertSettingFilter(*Context, alert, setting), c.Match);
    }
}

TEST_F(FilterFreshReading, WorkOrderDepartmentAndInventorySources) {
    // Work order 30 of employee 8, 31 without one; order 22 links both and
    // an item without a work order. Employee 8 is in department 40, 9 in
    // none; item 50 is of type 17, 51 of none.
    Exec("insert into WO (WoNbr, JobNbr, EmpNbr) values (30, 10, 8), (31, 10, NULL);"
         "insert into PURCHASE_ORDER (POnbr, EmpNbr, ReqByEmpNbr) values (22, NULL, NULL);"
         "insert into PO_ITEM (PoItemNbr, PoNbr) values (220, 22), (221, 22), (222, 22);"
         "insert into PO_ITEM_JOB (PoItemNbr, WoNbr) values (220, 30), (221, 31), (222, NULL);"
         "insert into EMPLOYEE (EmpNbr, DeptNbr) values (8, 40), (9, NULL);"
         "insert into INVENTORY_ITEM (InvNbr, InvTypeNbr) values (50, 17), (51, NULL);");
    struct Case {
        const char* Name;
        int WoNbr, PoNbr, EmpNbr, InvNbr;
        int Source;
        int SettingEmp;
        std::vector<int> Ids;
        bool Match;
    };
    const Case cases[] = {
        {"2 work-order employee", 30, 0, 0, 0, 2, 8, {}, true},
        {"2 someone else", 30, 0, 0, 0, 2, 9, {8}, false},
        {"8 among ids", 30, 0, 0, 0, 8, 1, {7, 8}, true},
        {"8 work order without employee", 31, 0, 0, 0, 8, 1, {-99}, false},
        {"6 a work order of the order", 0, 22, 0, 0, 6, 8, {}, true},
        {"6 none of the employee", 0, 22, 0, 0, 6, 9, {}, false},
        {"3 order without buyer", 0, 22, 0, 0, 3, 1, {}, false},
        {"9 order without buyer", 0, 22, 0, 0, 9, 1, {-99}, false},
        {"4 order without requester", 0, 22, 0, 0, 4, 1, {}, false},
        {"11 department among ids", 0, 0, 8, 0, 11, 1, {39, 40}, true},
        {"11 department not among ids", 0, 0, 8, 0, 11, 1, {41}, false},
        {"11 employee without department", 0, 0, 9, 0, 11, 1, {-99}, false},
        {"13 type among ids", 0, 0, 0, 50, 13, 1, {17}, true},
        {"13 item without type", 0, 0, 0, 51, 13, 1, {-99}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        AlertTransaction alert;
        alert.AlertNbr = 26;
        alert.WoNbr = c.WoNbr;
        alert.PoNbr = c.PoNbr;
        alert.EmpNbr = c.EmpNbr;
        alert.InvNbr = c.InvNbr;
        EXPECT_EQ(CheckAlertSettingFilter(*Context, alert, Setting(c.Source, c.SettingEmp, c.Ids)),
                  c.Match);
        if (c.Source == 6 && c.Match) EXPECT_EQ(alert.WoList, std::vector<std::int32_t>{30});
    }
}

TEST_F(FilterFreshReading, OrderWithoutOwnersIsAskedAgainPerSetting) {
    Exec("insert into PURCHASE_ORDER (POnbr, EmpNbr) values (23, 1);");
    AlertTransaction alert;
    alert.AlertNbr = 26;
    alert.PoNbr = 23;
    EXPECT_FALSE(CheckAlertSettingFilter(*Context, alert, Setting(5, 1)));
    EXPECT_FALSE(CheckAlertSettingFilter(*Context, alert, Setting(5, 2)));
    EXPECT_EQ(Shop->Calls["OpenPoJobs"], 2);
    EXPECT_TRUE(alert.JobList.empty());
}

TEST_F(FilterFreshReading, RelatedRecordsAreLookedUpOncePerTransaction) {
    AlertTransaction alert;
    alert.AlertNbr = 26;
    alert.JobNbr = 10;
    alert.PoNbr = 20;
    EXPECT_TRUE(CheckAlertSettingFilter(*Context, alert, Setting(1, 3)));
    EXPECT_TRUE(CheckAlertSettingFilter(*Context, alert, Setting(7, 1, {5, 3})));
    EXPECT_TRUE(CheckAlertSettingFilter(*Context, alert, Setting(4, 6)));
    EXPECT_TRUE(CheckAlertSettingFilter(*Context, alert, Setting(3, 5)));
    EXPECT_EQ(Shop->Calls["SelectJob"], 1);
    EXPECT_EQ(Shop->Calls["SelectPurchaseOrder"], 1);
    EXPECT_EQ(alert.JobManager, 3);
    EXPECT_EQ(alert.PoEmployee, 5);
    EXPECT_EQ(alert.PoRequester, 6);
}

TEST_F(FilterFreshReading, OrderJobListHoldsTheEmployeesJobs) {
    AlertTransaction alert;
    alert.AlertNbr = 26;
    alert.PoNbr = 20;
    EXPECT_TRUE(CheckAlertSettingFilter(*Context, alert, Setting(5, 4)));
    EXPECT_EQ(alert.JobList, std::vector<std::int32_t>{12});
    EXPECT_TRUE(CheckAlertSettingFilter(*Context, alert, Setting(5, 3)));
    EXPECT_EQ(alert.JobList, std::vector<std::int32_t>{10});
}

TEST_F(FilterFreshReading, MissingKeyRaisesWithTokenAndSetting) {
    struct Case {
        int Source;
        const char* Message;
    };
    const Case cases[] = {
        {1, "Looking up PM without Job info. Transaction (41), Setting (77). "},
        {7, "Looking up PM without Job info. Transaction (41), Setting (77). "},
        {2, "Looking up WO without record info. Transaction (41), Setting (77). "},
        {8, "Looking up WO without record info. Transaction (41), Setting (77). "},
        {3, "Looking up PO without record info. Transaction (41), Setting (77). "},
        {4, "Looking up PO without record info. Transaction (41), Setting (77). "},
        {5, "Looking up PO without record info. Transaction (41), Setting (77). "},
        {6, "Looking up PO without record info. Transaction (41), Setting (77). "},
        {9, "Looking up PO without record info. Transaction (41), Setting (77). "},
        {11, "Looking up Employee without record info. Transaction (41), Setting (77). "},
        {13, "Looking up Inventory without record info. Transaction (41), Setting (77). "},
        {16, "Looking up Job without record info. Transaction (41), Setting (77). "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Source);
        AlertTransaction alert;
        alert.AlertTransToken = 41;
        alert.AlertNbr = 26;
        alert.EmpNbr = 0;
        try {
            CheckAlertSettingFilter(*Context, alert, Setting(c.Source, 1, {1}));
            ADD_FAILURE() << "no error";
        } catch (const Exception& e) {
            EXPECT_EQ(std::string(e.Message.c_str()), c.Message);
        }
    }
}

TEST_F(FilterFreshReading, DeletedRecordsTakeTheirKeyFromTheThirdArgument) {
    struct Case {
        int AlertId;
        int Source;
        const char* Arg3;
        int EmpNbr;
        std::vector<int> Ids;
        bool Match;
    };
    const Case cases[] = {
        {29, 1, "3", 3, {}, true},  {29, 7, "3", 1, {3}, true},    {29, 1, "", 3, {}, false},
        {29, 1, "x", 3, {}, false}, {69, 13, "17", 1, {17}, true}, {69, 13, "17", 1, {18}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.AlertId) + " '" + c.Arg3 + "'");
        AlertTransaction alert;
        alert.AlertNbr = c.AlertId;
        alert.Arg3 = c.Arg3;
        const int jobs = Shop->Calls["SelectJob"];
        const int items = Shop->Calls["SelectInventoryItem"];
        EXPECT_EQ(CheckAlertSettingFilter(*Context, alert, Setting(c.Source, c.EmpNbr, c.Ids)),
                  c.Match);
        EXPECT_EQ(Shop->Calls["SelectJob"], jobs);
        EXPECT_EQ(Shop->Calls["SelectInventoryItem"], items);
    }
    AlertTransaction bad;
    bad.AlertNbr = 69;
    bad.Arg3 = "x";
    EXPECT_ANY_THROW(CheckAlertSettingFilter(*Context, bad, Setting(13, 1, {17})));
}

TEST_F(FilterFreshReading, UnsetEventEmployeeGivesNoDepartment) {
    AlertTransaction alert;
    alert.AlertNbr = 26;
    alert.EmpNbr = -99;
    EXPECT_FALSE(CheckAlertSettingFilter(*Context, alert, Setting(11, 1, {-99})));
    EXPECT_EQ(alert.EmpDeptNbr, -99);
}

TEST_F(FilterFreshReading, EmptySettingsListIsCachedUntilTheMarkersChange) {
    EXPECT_TRUE(GetAlertSettings(*Context, 26).empty());
    AddSetting({26, 1, 10});
    EXPECT_TRUE(GetAlertSettings(*Context, 26).empty());
    AlertTransaction alert;
    alert.AlertNbr = 26;
    ProcessAlertTransaction(*Context, alert);
    EXPECT_TRUE(History().empty());
    CheckAlertSettingMarkers(*Context);
    EXPECT_EQ(GetAlertSettings(*Context, 26).size(), 1u);
}

TEST_F(FilterFreshReading, ProcessingSetsTheSettingsFieldsPerAlert) {
    AddSetting({26, 3, 1, {}, {}, 4, 1});
    AddSetting({26, 4, 7, {4}, {}, 3, 2});
    AddSetting({26, 5, 20});
    CheckAlertSettingMarkers(*Context);
    AlertTransaction alert;
    alert.AlertNbr = 26;
    alert.JobNbr = 12;
    ProcessAlertTransaction(*Context, alert);
    ASSERT_EQ(Host.Generated.size(), 1u);
    EXPECT_EQ(Host.Generated[0].RecipientNbr, 4);
    EXPECT_EQ(Host.Generated[0].Priority, 2);
    EXPECT_EQ(Host.Generated[0].SourceType, 7);
    EXPECT_EQ(Host.Generated[0].EmailCode, 3);
    EXPECT_EQ(Shop->Calls["SelectJob"], 1);
}

// The jobs an order-jobs setting found belong to that setting alone: when
// its condition fails, the next passing setting still gets its one alert,
// about the transaction's own job, not one per job of the other employee.
TEST_F(FilterFreshReading, JobsOfASettingWhoseConditionFailedDoNotReachTheNext) {
    Exec("insert into JOB_STATUS (JobStatusNbr, JobStatus) values (5, 'In Production');");
    AddSetting({27, 3, 5, {}, {{9}}});
    AddSetting({27, 7, 14, {}, {{5}}});
    CheckAlertSettingMarkers(*Context);
    AlertTransaction alert;
    alert.AlertNbr = 27;
    alert.PoNbr = 20;
    alert.JobNbr = 12;
    alert.Arg2 = "In Production";
    ProcessAlertTransaction(*Context, alert);
    ASSERT_EQ(Host.Generated.size(), 1u);
    EXPECT_EQ(Host.Generated[0].RecipientNbr, 7);
    EXPECT_EQ(Host.Generated[0].JobNbr, 12);
    EXPECT_EQ(History().size(), 1u);
}

// Every setting of the list is weighed in list order, whichever person a
// transaction turns out to concern; a second transaction of the same alert
// id, about another person, is weighed against the same list afresh.
TEST_F(FilterFreshReading, ProcessingWeighsEverySettingInListOrder) {
    // One setting per employee (the list comes by employee): a setting is
    // read back by alert id and employee.
    AddSetting({26, 26, 5});
    AddSetting({26, 25, 4});
    AddSetting({26, 24, 7, {4, 3}});
    AddSetting({26, 23, 9, {5}});
    AddSetting({26, 22, 7, {3}});
    AddSetting({26, 21, 10});
    AddSetting({26, 6, 4});
    AddSetting({26, 5, 3});
    AddSetting({26, 4, 5});
    AddSetting({26, 3, 1});
    CheckAlertSettingMarkers(*Context);
    struct Case {
        int JobNbr;
        std::vector<int> Recipients;
    };
    const Case cases[] = {
        {10, {3, 4, 5, 6, 21, 22, 23, 24}}, {12, {4, 5, 6, 21, 23, 24}}, {14, {4, 5, 6, 21, 23}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.JobNbr);
        Host.Generated.clear();
        AlertTransaction alert;
        alert.AlertNbr = 26;
        alert.JobNbr = c.JobNbr;
        alert.PoNbr = 20;
        ProcessAlertTransaction(*Context, alert);
        std::vector<int> recipients;
        for (const AlertTransaction& generated : Host.Generated) {
            recipients.push_back(generated.RecipientNbr);
            // The order-jobs alert is about employee 4's job; the settings
            // after it see the transaction's own job again.
            EXPECT_EQ(generated.JobNbr, generated.RecipientNbr == 4 ? 12 : c.JobNbr)
                << generated.RecipientNbr;
        }
        EXPECT_EQ(recipients, c.Recipients);
    }
}

TEST_F(FilterFreshReading, ReplacedSettingOfTheSameCountIsSeenByTheNextBatch) {
    const int first = AddSetting({26, 3, 10});
    CheckAlertSettingMarkers(*Context);
    ASSERT_EQ(GetAlertSettings(*Context, 26).size(), 1u);
    Exec(Format("delete from ALERT_SETTING where AlertSettingNbr = %d;", first));
    AddSetting({26, 4, 10});
    CheckAlertSettingMarkers(*Context);
    const std::vector<AlertSetting>& settings = GetAlertSettings(*Context, 26);
    ASSERT_EQ(settings.size(), 1u);
    EXPECT_EQ(settings[0].EmpNbr, 4);
}

TEST_F(FilterFreshReading, MissingJobEndsTheTransactionsProcessing) {
    AddSetting({26, 21, 10});
    AddSetting({26, 3, 1});
    CheckAlertSettingMarkers(*Context);
    AlertTransaction alert;
    alert.AlertTransToken = 41;
    alert.AlertNbr = 26;
    try {
        ProcessAlertTransaction(*Context, alert);
        ADD_FAILURE() << "no error";
    } catch (const Exception& e) {
        EXPECT_NE(std::string(e.Message.c_str()).find("Looking up PM without Job info"),
                  std::string::npos)
            << e.Message.c_str();
    }
}

// A deleted job names its manager in the third argument, for every setting.
TEST_F(FilterFreshReading, DeletedJobReachesItsManagerFromTheArgument) {
    AddSetting({29, 3, 1});
    AddSetting({29, 4, 1});
    AddSetting({29, 22, 7, {3}});
    AddSetting({29, 23, 7, {4}});
    CheckAlertSettingMarkers(*Context);
    const struct {
        const char* Arg3;
        std::vector<int> Recipients;
    } cases[] = {{"3", {3, 22}}, {"4", {4, 23}}, {"", {}}, {"x", {}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Arg3);
        Host.Generated.clear();
        AlertTransaction alert;
        alert.AlertNbr = 29;
        alert.Arg3 = c.Arg3;
        ProcessAlertTransaction(*Context, alert);
        EXPECT_EQ(Recipients(), c.Recipients);
    }
}

TEST_F(FilterFreshReading, WorkOrderSettingsAreWeighedInProcessing) {
    Exec("insert into WO (WoNbr, JobNbr, EmpNbr) values (30, 10, 8), (31, 10, 9);");
    AddSetting({26, 8, 2});
    AddSetting({26, 9, 2});
    AddSetting({26, 21, 8, {8}});
    AddSetting({26, 22, 8, {9, 8}});
    CheckAlertSettingMarkers(*Context);
    const struct {
        int WoNbr;
        std::vector<int> Recipients;
    } cases[] = {{30, {8, 21, 22}}, {31, {9, 22}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.WoNbr);
        Host.Generated.clear();
        AlertTransaction alert;
        alert.AlertNbr = 26;
        alert.WoNbr = c.WoNbr;
        ProcessAlertTransaction(*Context, alert);
        EXPECT_EQ(Recipients(), c.Recipients);
    }
}

} // namespace
