// Whether an event concerns a setting's employee, the settings of an alert id
// as the cache serves them, and one transaction against all its settings.
#include "EngineTest.h"

#include "alert/AlertProcessing.h"
#include "platform/rtl/Exceptions.h"

namespace {

class FilterReading : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        // Jobs 10 (manager 3, no disposition), 12 (manager 4, disposition 2),
        // 14 (no manager, disposition NULL), 16 (manager 4); work orders 20
        // (employee 5) and 21 (none); order 30 (buyer 6, requester 7) whose
        // one item serves jobs 12, 10 and 16 and work orders 20 and 21.
        Exec("insert into JOBS (JobNbr, ProjManagerId, DispNbr) values (10, 3, 0), (12, 4, 2), "
             "(14, NULL, NULL), (16, 4, 1);"
             "insert into JOB_ITEM (JobItemNbr, JobNbr) values (100, 10), (120, 12), (160, 16);"
             "insert into WO (WoNbr, JobNbr, EmpNbr) values (20, 12, 5), (21, 10, NULL);"
             "insert into PURCHASE_ORDER (POnbr, EmpNbr, ReqByEmpNbr) values (30, 6, 7);"
             "insert into PO_ITEM (PoItemNbr, PoNbr) values (300, 30);"
             "insert into PO_ITEM_JOB (PoItemNbr, JobItemNbr, WoNbr) values (300, 120, 20), "
             "(300, 100, 21), (300, 160, NULL);"
             "insert into EMPLOYEE (EmpNbr, DeptNbr) values (50, 8), (51, NULL);"
             "insert into INVENTORY_ITEM (InvNbr, InvTypeNbr) values (60, 17);");
    }
    static AlertSetting Setting(int Source, int EmpNbr, std::vector<int> Ids = {}) {
        AlertSetting setting;
        setting.AlertSettingNbr = 77;
        setting.AlertId = 30;
        setting.Source = static_cast<std::uint8_t>(Source);
        setting.EmpNbr = EmpNbr;
        setting.SourceIds = std::move(Ids);
        return setting;
    }
};

TEST_F(FilterReading, EachSourceTypeMatchesItsOwnPeople) {
    struct Case {
        const char* What;
        AlertSetting Setting;
        AlertTransaction Alert;
        bool Matches;
        std::vector<std::int32_t> JobList, WoList;
    };
    const auto alert = [](auto&& Fill) {
        AlertTransaction a;
        a.AlertNbr = 30;
        a.AlertTransToken = 5;
        Fill(a);
        return a;
    };
    const auto job = [&](int Nbr) { return alert([&](AlertTransaction& a) { a.JobNbr = Nbr; }); };
    const auto wo = [&](int Nbr) { return alert([&](AlertTransaction& a) { a.WoNbr = Nbr; }); };
    const auto po = [&](int Nbr) { return alert([&](AlertTransaction& a) { a.PoNbr = Nbr; }); };
    const Case cases[] = {
        {"manager, stored ids ignored", Setting(1, 3, {99}), job(10), true},
        {"manager is someone else", Setting(1, 4, {3}), job(10), false},
        {"job without manager", Setting(1, 3), job(14), false},
        {"manager among the ids", Setting(7, 1, {5, 3}), job(10), true},
        {"manager not among the ids", Setting(7, 3, {5}), job(10), false},
        {"no manager, ids hold -99", Setting(7, 1, {-99}), job(14), false},
        {"work-order employee", Setting(2, 5), wo(20), true},
        {"work order without employee", Setting(8, 1, {-99}), wo(21), false},
        {"buyer", Setting(3, 6), po(30), true},
        {"buyer among ids", Setting(9, 1, {6}), po(30), true},
        {"requester", Setting(4, 7), po(30), true},
        {"buyer is no requester", Setting(4, 6), po(30), false},
        {"manager of two order jobs", Setting(5, 4), po(30), true, {12, 16}},
        {"manager of one order job", Setting(5, 3), po(30), true, {10}},
        {"manager of no order job", Setting(5, 9), po(30), false},
        {"employee of an order work order", Setting(6, 5), po(30), true, {}, {20}},
        {"department", Setting(11, 1, {8}), alert([](AlertTransaction& a) { a.EmpNbr = 50; }),
         true},
        {"employee without department", Setting(11, 1, {8, -99}),
         alert([](AlertTransaction& a) { a.EmpNbr = 51; }), false},
        {"no event employee", Setting(11, 1, {8}), alert([](AlertTransaction&) {}), false},
        {"inventory type", Setting(13, 1, {17}), alert([](AlertTransaction& a) { a.InvNbr = 60; }),
         true},
        {"disposition 2", Setting(16, 1), job(12), true},
        {"disposition 0", Setting(16, 1), job(10), false},
        {"disposition NULL", Setting(16, 1), job(14), false},
        {"deleted job: manager from Arg3", Setting(1, 3), alert([](AlertTransaction& a) {
             a.AlertNbr = 29;
             a.Arg3 = "3";
         }),
         true},
        {"deleted job: Arg3 empty", Setting(7, 1, {-99}),
         alert([](AlertTransaction& a) { a.AlertNbr = 29; }), false},
        {"deleted job: Arg3 no number", Setting(7, 1, {-99}), alert([](AlertTransaction& a) {
             a.AlertNbr = 29;
             a.Arg3 = "x";
         }),
         false},
        {"deleted item: type from Arg3", Setting(13, 1, {17}), alert([](AlertTransaction& a) {
             a.AlertNbr = 69;
             a.Arg3 = "17";
         }),
         true},
        {"no filter 10", Setting(10, 1), alert([](AlertTransaction&) {}), true},
        {"no filter 12", Setting(12, 1), alert([](AlertTransaction&) {}), true},
        {"no filter 14", Setting(14, 1), alert([](AlertTransaction&) {}), true},
        {"no filter 15", Setting(15, 1), alert([](AlertTransaction&) {}), true},
        {"source 0", Setting(0, 1), job(10), false},
        {"source 17", Setting(17, 3), job(10), false},
        {"source 20", Setting(20, 3), job(10), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        AlertTransaction a = c.Alert;
        const AlertSetting before = c.Setting;
        EXPECT_EQ(CheckAlertSettingFilter(*Context, a, c.Setting), c.Matches);
        EXPECT_EQ(a.JobList, c.JobList);
        EXPECT_EQ(a.WoList, c.WoList);
        EXPECT_EQ(c.Setting.SourceIds, before.SourceIds);
    }
}

TEST_F(FilterReading, MissingKeyNamesTheTransactionAndTheSetting) {
    struct Case {
        int Source;
        const char* Message;
    };
    const Case cases[] = {
        {1, "Looking up PM without Job info. Transaction (5), Setting (77). "},
        {7, "Looking up PM without Job info. Transaction (5), Setting (77). "},
        {2, "Looking up WO without record info. Transaction (5), Setting (77). "},
        {8, "Looking up WO without record info. Transaction (5), Setting (77). "},
        {3, "Looking up PO without record info. Transaction (5), Setting (77). "},
        {4, "Looking up PO without record info. Transaction (5), Setting (77). "},
        {5, "Looking up PO without record info. Transaction (5), Setting (77). "},
        {6, "Looking up PO without record info. Transaction (5), Setting (77). "},
        {9, "Looking up PO without record info. Transaction (5), Setting (77). "},
        {11, "Looking up Employee without record info. Transaction (5), Setting (77). "},
        {13, "Looking up Inventory without record info. Transaction (5), Setting (77). "},
        {16, "Looking up Job without record info. Transaction (5), Setting (77). "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Source);
        AlertTransaction a;
        a.AlertNbr = 30;
        a.AlertTransToken = 5;
        a.EmpNbr = 0;
        EXPECT_EQ(MessageOf<Exception>(
                      [&] { CheckAlertSettingFilter(*Context, a, Setting(c.Source, 1, {1})); }),
                  c.Message);
    }
    // A deleted inventory item whose type is no number: the conversion error.
    for (const char* type : {"x", ""}) {
        SCOPED_TRACE(type);
        AlertTransaction a;
        a.AlertNbr = 69;
        a.Arg3 = type;
        EXPECT_THROW(CheckAlertSettingFilter(*Context, a, Setting(13, 1, {17})), EConvertError);
    }
}

TEST_F(FilterReading, RelatedRecordsAreLookedUpOncePerTransaction) {
    AlertTransaction a;
    a.AlertNbr = 30;
    a.JobNbr = 10;
    a.PoNbr = 30;
    EXPECT_TRUE(CheckAlertSettingFilter(*Context, a, Setting(1, 3)));
    EXPECT_TRUE(CheckAlertSettingFilter(*Context, a, Setting(7, 1, {3})));
    EXPECT_EQ(Shop->Calls["SelectJob"], 1);
    // The requester's lookup caches the buyer as well.
    EXPECT_TRUE(CheckAlertSettingFilter(*Context, a, Setting(4, 7)));
    EXPECT_TRUE(CheckAlertSettingFilter(*Context, a, Setting(3, 6)));
    EXPECT_EQ(Shop->Calls["SelectPurchaseOrder"], 1);
    // The order's job managers: one walk serves every later setting.
    Shop->Calls.clear();
    EXPECT_TRUE(CheckAlertSettingFilter(*Context, a, Setting(5, 4)));
    EXPECT_TRUE(CheckAlertSettingFilter(*Context, a, Setting(5, 3)));
    EXPECT_EQ(a.JobList, (std::vector<std::int32_t>{10}));
    EXPECT_EQ(Shop->Calls["OpenPoJobs"], 1);
}

TEST_F(FilterReading, SettingsOfAnAlertIdAreReadOnceUntilTheMarkersChange) {
    CheckAlertSettingMarkers(*Context);
    EXPECT_TRUE(GetAlertSettings(*Context, 30).empty());
    // A setting added behind the cache's back is not seen...
    AddSetting({.AlertId = 30, .EmpNbr = 40});
    EXPECT_TRUE(GetAlertSettings(*Context, 30).empty());
    // ... until the next batch finds the table changed.
    CheckAlertSettingMarkers(*Context);
    ASSERT_EQ(GetAlertSettings(*Context, 30).size(), 1u);
    EXPECT_EQ(GetAlertSettings(*Context, 30)[0].EmpNbr, 40);
}

TEST_F(FilterReading, EveryPassingSettingGetsItsOwnAlert) {
    // Job status changes to "Open" (status 2): three settings, one of whom
    // manages no job of the event, one who asked for another status.
    Exec("insert into JOB_STATUS (JobStatusNbr, JobStatus) values (1, 'Closed'), (2, 'Open');"
         "insert into EMPLOYEE (EmpNbr, Fname, Lname) values (3, 'Al', 'Bo');");
    AddSetting({.AlertId = 27,
                .EmpNbr = 3,
                .Source = 1,
                .Groups = {{2}},
                .EmailFrequency = 4,
                .Priority = 3});
    AddSetting({.AlertId = 27, .EmpNbr = 4, .Source = 1, .Groups = {{2}}});
    AddSetting({.AlertId = 27, .EmpNbr = 41, .Groups = {{1}}});
    AddSetting({.AlertId = 27, .EmpNbr = 42, .Groups = {{2}}, .EmailFrequency = 5, .Priority = 1});
    CheckAlertSettingMarkers(*Context);
    AlertTransaction a;
    a.AlertNbr = 27;
    a.JobNbr = 10;
    a.Arg2 = "Open";
    ProcessAlertTransaction(*Context, a);
    EXPECT_EQ(Text("select group_concat(AlertRecipientNbr || ':' || Priority || ':' || SendEmail, "
                   "' ') from ALERT_HISTORY"),
              "3:3:4 42:1:5");
    // The condition is not asked for the setting whose filter failed.
    EXPECT_EQ(Shop->Calls["OpenJobStatusList"], 3);
}

TEST_F(FilterReading, AlertsComeInTheOrderOfTheSettings) {
    // Settings of several sources, interleaved; job 10's manager is 3.
    AddSetting({.AlertId = 30, .EmpNbr = 41});
    AddSetting({.AlertId = 30, .EmpNbr = 3, .Source = 1});
    AddSetting({.AlertId = 30, .EmpNbr = 42, .Source = 7, .SourceIds = {3}});
    AddSetting({.AlertId = 30, .EmpNbr = 2});
    AddSetting({.AlertId = 30, .EmpNbr = 4, .Source = 1});
    AddSetting({.AlertId = 30, .EmpNbr = 1, .Source = 1});
    CheckAlertSettingMarkers(*Context);
    std::vector<std::int32_t> listed;
    for (const AlertSetting& setting : GetAlertSettings(*Context, 30))
        if (setting.EmpNbr != 4 && setting.EmpNbr != 1) listed.push_back(setting.EmpNbr);
    AlertTransaction a;
    a.AlertNbr = 30;
    a.JobNbr = 10;
    ProcessAlertTransaction(*Context, a);
    std::vector<std::int32_t> written;
    for (const std::string& row : History())
        written.push_back(std::stoi(row));
    EXPECT_EQ(written, listed);
    EXPECT_EQ(written.size(), 4u);
}

TEST_F(FilterReading, OrderJobsOfAFailedSettingDoNotMultiplyTheNextOnesAlert) {
    // Setting of manager 4 passes the filter (jobs 12 and 16) but asks for
    // another status; the next setting, without filter, passes both.
    Exec("insert into JOB_STATUS (JobStatusNbr, JobStatus) values (2, 'Open');");
    AddSetting({.AlertId = 27, .EmpNbr = 4, .Source = 5, .Groups = {{9}}});
    AddSetting({.AlertId = 27, .EmpNbr = 42, .Groups = {{2}}});
    CheckAlertSettingMarkers(*Context);
    AlertTransaction a;
    a.AlertNbr = 27;
    a.PoNbr = 30;
    a.Arg2 = "Open";
    ProcessAlertTransaction(*Context, a);
    EXPECT_EQ(Text("select group_concat(AlertRecipientNbr || ':' || ifnull(JobNbr, '-'), ' ') "
                   "from ALERT_HISTORY"),
              "42:-");
}

} // namespace
