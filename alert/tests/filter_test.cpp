#include "EngineTest.h"
#include "alert/AlertProcessing.h"
#include "platform/rtl/Exceptions.h"

#include <iterator>
#include <random>
#include <string>

namespace {

// Job 10 is managed by 3, job 12 by 4, job 11 by nobody; work order 30 is
// employee 5's; order 40 is employee 6's, requested by 4; order 41's items
// serve jobs 10 and 12 and work orders 30 and 31; employee 7 is in
// department 3; item 70 is of type 17.
const char* const FilterRows =
    "insert into JOBS (JobNbr, JobId, ProjManagerId, DispNbr) values (10, 'J10', 3, 1), "
    "(11, 'J11', NULL, NULL), (12, 'J12', 4, 0);"
    "insert into JOB_ITEM (JobItemNbr, JobNbr) values (20, 10), (22, 12);"
    "insert into WO (WoNbr, JobNbr, JobItemNbr, EmpNbr) values (30, 10, 20, 5), (31, 12, 22, 4);"
    "insert into PURCHASE_ORDER (POnbr, EmpNbr, ReqByEmpNbr) values (40, 6, 4), (41, NULL, NULL);"
    "insert into PO_ITEM (PoItemNbr, PoNbr) values (81, 41), (82, 41);"
    "insert into PO_ITEM_JOB (PoItemNbr, JobItemNbr, WoNbr) values (81, 20, 30), (82, 22, 31), "
    "(82, 22, NULL);"
    "insert into EMPLOYEE (EmpNbr, DeptNbr) values (7, 3);"
    "insert into INVENTORY_ITEM (InvNbr, InvTypeNbr) values (70, 17);";

class FilterTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        Exec(FilterRows);
    }
};

struct FilterCase {
    const char* Name;
    int Source;
    int EmpNbr;
    std::vector<int> SourceIds;
    AlertTransaction Alert;
    bool Expected;
};

AlertTransaction On(int JobNbr, int WoNbr, int PoNbr, int EmpNbr = -99, int InvNbr = 0) {
    AlertTransaction alert;
    alert.AlertNbr = 21;
    alert.JobNbr = JobNbr;
    alert.WoNbr = WoNbr;
    alert.PoNbr = PoNbr;
    alert.EmpNbr = EmpNbr;
    alert.InvNbr = InvNbr;
    return alert;
}

AlertSetting Setting(int EmpNbr, int Source, std::vector<int> SourceIds = {}) {
    AlertSetting setting;
    setting.EmpNbr = EmpNbr;
    setting.Source = static_cast<std::uint8_t>(Source);
    setting.SourceIds = std::move(SourceIds);
    return setting;
}

TEST_F(FilterTest, SourceTypes) {
    const FilterCase cases[] = {
        {"job manager is the employee", 1, 3, {9}, On(10, 0, 0), true},
        {"job manager is someone else", 1, 9, {3}, On(10, 0, 0), false},
        {"job without manager", 1, 3, {}, On(11, 0, 0), false},
        {"job manager among the ids", 7, 1, {5, 3}, On(10, 0, 0), true},
        {"job manager not among the ids", 7, 3, {5, 9}, On(10, 0, 0), false},
        {"job without manager, by ids", 7, 1, {-99}, On(11, 0, 0), false},
        {"work-order employee", 2, 5, {}, On(0, 30, 0), true},
        {"work-order employee among the ids", 8, 1, {5}, On(0, 30, 0), true},
        {"order employee", 3, 6, {}, On(0, 0, 40), true},
        {"order employee among the ids", 9, 1, {6}, On(0, 0, 40), true},
        {"order without employee", 9, 1, {-99}, On(0, 0, 41), false},
        {"order requester", 4, 4, {}, On(0, 0, 40), true},
        {"order employee is not the requester", 4, 6, {}, On(0, 0, 40), false},
        {"a job of the order", 5, 4, {}, On(0, 0, 41), true},
        {"no job of the order", 5, 6, {}, On(0, 0, 41), false},
        {"a work order of the order", 6, 5, {}, On(0, 0, 41), true},
        {"no work order of the order", 6, 3, {}, On(0, 0, 41), false},
        {"event employee's department", 11, 1, {2, 3}, On(0, 0, 0, 7), true},
        {"another department", 11, 1, {4}, On(0, 0, 0, 7), false},
        {"no event employee", 11, 1, {-99}, On(0, 0, 0, -99), false},
        {"inventory type", 13, 1, {17}, On(0, 0, 0, -99, 70), true},
        {"another inventory type", 13, 1, {18}, On(0, 0, 0, -99, 70), false},
        {"job with a disposition", 16, 1, {}, On(10, 0, 0), true},
        {"job with disposition 0", 16, 1, {}, On(12, 0, 0), false},
        {"job without disposition", 16, 1, {}, On(11, 0, 0), false},
        {"no filter 10", 10, 1, {}, On(0, 0, 0), true},
        {"no filter 12", 12, 1, {}, On(0, 0, 0), true},
        {"no filter 14", 14, 1, {}, On(0, 0, 0), true},
        {"no filter 15", 15, 1, {}, On(0, 0, 0), true},
        {"source 0", 0, 1, {1}, On(10, 30, 40), false},
        {"source 17", 17, 1, {1}, On(10, 30, 40), false},
        {"source 20", 20, 1, {1}, On(10, 30, 40), false},
    };
    for (const FilterCase& c : cases) {
        AlertTransaction alert = c.Alert;
        AlertSetting setting = Setting(c.EmpNbr, c.Source, c.SourceIds);
        EXPECT_EQ(CheckAlertSettingFilter(*Context, alert, setting), c.Expected) << c.Name;
        // The cached setting is handed out as it is and never changed.
        EXPECT_EQ(setting.SourceIds, c.SourceIds) << c.Name;
    }
}

TEST_F(FilterTest, ProcessingReachesEverySettingWhoseFilterPassesInListOrder) {
    // Random lists of the person-matching sources (1 to 4), one matching by
    // ids (7) and one without a filter (10), for transactions whose people
    // are someone, or nobody (job 11, order 41). Once a person is known the
    // settings of others are not visited; which alerts come out, and in what
    // order, must be as if every setting were asked.
    std::mt19937 random(7);
    const int sources[] = {1, 2, 3, 4, 7, 10};
    for (int round = 0; round < 20; ++round) {
        Exec("delete from ALERT_SETTING_SOURCE; delete from ALERT_SETTING; delete from "
             "ALERT_HISTORY;");
        Host.Cache = AlertSettingsCache();
        const int count = 1 + static_cast<int>(random() % 30);
        for (int i = 0; i < count; ++i) {
            SettingRow row{.AlertId = 26,
                           .EmpNbr = 1 + static_cast<int>(random() % 7),
                           .Source = sources[random() % std::size(sources)]};
            if (row.Source == 7) row.SourceIds = {random() % 2 ? 3 : 9};
            AddSetting(row);
        }
        const bool managed = random() % 2, ownOrder = random() % 2, ownWo = random() % 2;
        AlertTransaction alert = On(managed ? 10 : 11, ownWo ? 30 : 31, ownOrder ? 40 : 41);
        alert.AlertNbr = 26;
        alert.TransType = 2;
        const int nobody = -1;
        const int manager = managed ? 3 : nobody, woEmployee = ownWo ? 5 : 4;
        const int orderEmployee = ownOrder ? 6 : nobody, requester = ownOrder ? 4 : nobody;

        std::vector<std::string> expected;
        for (const AlertSetting& setting : GetAlertSettings(*Context, 26)) {
            const int emp = setting.EmpNbr;
            const bool passes =
                (setting.Source == 1 && emp == manager) ||
                (setting.Source == 2 && emp == woEmployee) ||
                (setting.Source == 3 && emp == orderEmployee) ||
                (setting.Source == 4 && emp == requester) ||
                (setting.Source == 7 && manager == 3 && setting.SourceIds == std::vector<int>{3}) ||
                setting.Source == 10;
            if (passes) expected.push_back(std::to_string(emp));
        }
        {
            AlertUnitOfWork work(*Context);
            ProcessAlertTransaction(*Context, alert);
            work.Commit();
        }
        std::vector<std::string> recipients;
        for (const std::string& row : History())
            recipients.push_back(row.substr(0, row.find('|')));
        EXPECT_EQ(recipients, expected) << "round " << round;
    }
    EXPECT_TRUE(Host.Log.empty());
}

TEST_F(FilterTest, OrderOwnersListTheEmployeesJobsAndWorkOrders) {
    AlertTransaction alert = On(0, 0, 41);
    AlertSetting setting;
    setting.Source = 5;
    setting.EmpNbr = 4;
    ASSERT_TRUE(CheckAlertSettingFilter(*Context, alert, setting));
    EXPECT_EQ(alert.JobList, std::vector<int>{12});
    EXPECT_EQ(alert.PoJobManagers, (std::map<int, int>{{10, 3}, {12, 4}}));

    setting.Source = 6;
    ASSERT_TRUE(CheckAlertSettingFilter(*Context, alert, setting));
    EXPECT_EQ(alert.WoList, std::vector<int>{31});
}

TEST_F(FilterTest, RelatedRecordsAreLookedUpOncePerTransaction) {
    AlertTransaction alert = On(10, 0, 40);
    AlertSetting byManager = Setting(3, 1);
    AlertSetting byIds = Setting(8, 7, {3});
    AlertSetting requester = Setting(4, 4);
    AlertSetting orderEmployee = Setting(6, 3);
    EXPECT_TRUE(CheckAlertSettingFilter(*Context, alert, byManager));
    EXPECT_TRUE(CheckAlertSettingFilter(*Context, alert, byIds));
    EXPECT_TRUE(CheckAlertSettingFilter(*Context, alert, requester));
    // The requester's lookup brought the order employee along.
    EXPECT_EQ(alert.PoEmployee, 6);
    EXPECT_TRUE(CheckAlertSettingFilter(*Context, alert, orderEmployee));
    EXPECT_EQ(Shop->Calls["SelectJob"], 1);
    EXPECT_EQ(Shop->Calls["SelectPurchaseOrder"], 1);
}

TEST_F(FilterTest, DeletedRecordsCarryTheirValuesInTheThirdArgument) {
    // A deleted job's manager comes from Arg3; text that is no number is nobody.
    const std::pair<const char*, bool> managers[] = {{"3", true}, {"", false}, {"x3", false}};
    for (const auto& [arg3, expected] : managers) {
        AlertTransaction alert = On(0, 0, 0);
        alert.AlertNbr = 29;
        alert.Arg3 = arg3;
        AlertSetting setting = Setting(3, 1);
        EXPECT_EQ(CheckAlertSettingFilter(*Context, alert, setting), expected) << arg3;
    }
    AlertTransaction alert = On(0, 0, 0);
    alert.AlertNbr = 69;
    alert.Arg3 = "17";
    AlertSetting setting = Setting(1, 13, {17});
    EXPECT_TRUE(CheckAlertSettingFilter(*Context, alert, setting));
    EXPECT_EQ(Shop->Calls["SelectInventoryItem"], 0);
    alert.Arg3 = "type 17";
    EXPECT_THROW(CheckAlertSettingFilter(*Context, alert, setting), EConvertError);
}

TEST_F(FilterTest, LookupsWithoutTheirKeyNameTheTransactionAndSetting) {
    struct Case {
        int Source;
        const char* Message;
    };
    const Case cases[] = {
        {1, "Looking up PM without Job info. Transaction (5), Setting (9). "},
        {2, "Looking up WO without record info. Transaction (5), Setting (9). "},
        {4, "Looking up PO without record info. Transaction (5), Setting (9). "},
        {6, "Looking up PO without record info. Transaction (5), Setting (9). "},
        {11, "Looking up Employee without record info. Transaction (5), Setting (9). "},
        {13, "Looking up Inventory without record info. Transaction (5), Setting (9). "},
        {16, "Looking up Job without record info. Transaction (5), Setting (9). "},
    };
    for (const Case& c : cases) {
        AlertTransaction alert = On(0, 0, 0, 0);
        alert.AlertTransToken = 5;
        AlertSetting setting = Setting(1, c.Source);
        setting.AlertSettingNbr = 9;
        EXPECT_EQ(MessageOf<Exception>([&] { CheckAlertSettingFilter(*Context, alert, setting); }),
                  c.Message);
    }
}

} // namespace
