#include "EngineTest.h"
#include "alert/AlertCreation.h"
#include "alert/DateAlerts.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"

namespace {

AlertSetting DateSetting(int AlertId, int Source, std::vector<std::vector<double>> Groups,
                         std::vector<int> SourceIds = {}, int EmpNbr = 3) {
    AlertSetting setting;
    setting.AlertSettingNbr = 5;
    setting.AlertId = AlertId;
    setting.EmpNbr = EmpNbr;
    setting.Source = static_cast<std::uint8_t>(Source);
    setting.SourceIds = std::move(SourceIds);
    setting.ValueGroups = ValueGroups(Groups);
    return setting;
}

// The batch starts on Monday 2024/05/06 at 09:00; the clock reads the same.
class DateAlertsTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        Start = EncodeDate(2024, 5, 6) + EncodeTime(9, 0, 0, 0);
        Host.BatchStart = Start;
        Clock.SetNow(Start);
        Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname, DeptNbr) values (3, 'Cy', 'Dunn', 1), "
             "(6, 'Eve', 'Fox', 2);"
             "insert into JOBS (JobNbr, JobId, JobDescr, GenerateAlerts, JobStatusNbr, "
             "ProjManagerId) values (10, 'J-100', 'Tower', 1, 1, 3), (12, 'J-120', 'Annex', 1, 1, "
             "4), (13, 'J-130', 'Depot', 1, 1, 4);"
             "insert into JOB_ITEM (JobItemNbr, JobNbr, ItemNbr, JobItemDescr) values "
             "(20, 10, '2', 'Lobby'), (22, 12, '1', 'Hall'), (23, 13, '1', 'Yard');"
             "insert into WO (WoNbr, JobNbr, JobItemNbr, GenerateAlerts, PercentComp, "
             "PercentBudget, WorkOrdStatusNbr, EmpNbr) values (30, 10, 20, 1, 50, 40, 3, 6);");
    }
    void Scan(AlertSetting Setting) { ScanDateAlerts(*Context, Setting); }

    TDateTime Start = 0.0;
    ManualClock Clock;
    ScopedClock Installed{Clock};
};

TEST_F(DateAlertsTest, WorkOrderDates) {
    struct Case {
        const char* Name;
        int AlertId;
        const char* Row; // assignments for WO 30
        std::vector<std::vector<double>> Groups;
        std::vector<std::string> Expected;
    };
    const std::string job = "\nJob: J-100 - Tower. Job Item: 2 - Lobby.";
    const Case cases[] = {
        {"start 3 days ahead, status below",
         13,
         "SchedStartDt = '2024/05/09', WorkOrdStatusNbr = 3",
         {{5, 4}},
         {"3|13|Work Order 30 scheduled start date is 3 days away but Work Order status is Ready." +
          job}},
        {"status reached", 13, "SchedStartDt = '2024/05/09', WorkOrdStatusNbr = 4", {{5, 4}}, {}},
        {"not due yet", 13, "SchedStartDt = '2024/05/19', WorkOrdStatusNbr = 0", {{5, 4}}, {}},
        {"ten days past is still due",
         13,
         "SchedStartDt = '2024/04/26', WorkOrdStatusNbr = 0",
         {{5, 4}},
         {"3|13|Work Order 30 scheduled start date is 10 days ago but Work Order status is "
          "Pending." +
          job}},
        {"two passing groups, one alert",
         14,
         "SchedFinDt = '2024/05/07', WorkOrdStatusNbr = 1",
         {{3, 4}, {9, 9}},
         {"3|14|Work Order 30 scheduled finish date is 1 day away but Work Order status is "
          "Engineering." +
          job}},
        {"ship date",
         15,
         "ShipDt = '2024/05/06', WorkOrdStatusNbr = 2",
         {{0, 3}},
         {"3|15|Work Order 30 ship date is today but Work Order status is Purchasing." + job}},
        {"not started",
         16,
         "SchedFinDt = '2024/05/08', ActualStartDt = NULL",
         {{2}},
         {"3|16|Work Order 30 scheduled finish date is 2 days away but hasn't been started." +
          job}},
        {"started", 16, "SchedFinDt = '2024/05/08', ActualStartDt = '2024/05/01'", {{2}}, {}},
        {"completion below",
         17,
         "SchedFinDt = '2024/05/08', WorkOrdStatusNbr = 6",
         {{2, 60}},
         {"3|17|Work Order 30 scheduled finish date is 2 days away but Work Order % complete is "
          "50%." +
          job}},
        {"budget below", 18, "SchedFinDt = '2024/05/08', PercentBudget = NULL", {{2, 60}}, {}},
        {"shipped work orders are past their ship check",
         19,
         "ShipDt = '2024/05/08', WorkOrdStatusNbr = 6",
         {{2, 60}},
         {}},
        {"budget below by ship date",
         20,
         "ShipDt = '2024/05/08', WorkOrdStatusNbr = 5",
         {{2, 60}},
         {"3|20|Work Order 30 ship date is 2 days away but Work Order % of labor budget is 40%." +
          job}},
    };
    for (const Case& c : cases) {
        Exec("delete from ALERT_HISTORY; update WO set SchedStartDt = NULL, SchedFinDt = NULL, "
             "ShipDt = NULL, ActualStartDt = NULL, PercentBudget = 40, WorkOrdStatusNbr = 3;");
        Exec(std::string("update WO set ") + c.Row + " where WoNbr = 30;");
        Scan(DateSetting(c.AlertId, 1, c.Groups));
        EXPECT_EQ(History(), c.Expected) << c.Name;
    }
    EXPECT_TRUE(Host.Log.empty());
}

TEST_F(DateAlertsTest, OrdersAndOrderItems) {
    Exec("insert into PURCHASE_ORDER (POnbr, PoStatusNbr, GenerateAlerts, EmpNbr, ReqByDt) values "
         "(40, 1, 1, 3, '2024/05/08'), (41, 2, 1, 3, '2024/05/07'), (42, 4, 1, 3, '2024/05/07');"
         "insert into PO_ITEM (PoItemNbr, PoNbr, Descr, ReqByDt) values (80, 40, 'Steel beam', "
         "'2024/05/07'), (81, 41, 'Glass', '2024/05/07'), (82, 41, 'Paint', '2024/06/30');");
    Scan(DateSetting(31, 3, {{3}}));
    Scan(DateSetting(32, 9, {{3}}, {3}));
    Scan(DateSetting(77, 15, {{3}}));
    Scan(DateSetting(78, 4, {{3}}, {}, 6)); // requester: no order of 6's
    EXPECT_EQ(History(),
              (std::vector<std::string>{
                  "3|31|Open PO 40 request by date is 2 days away.",
                  "3|32|Backordered PO 41 request by date is 1 day away.",
                  "3|77|Open PO 40 has a PO Item with a request by date that is 1 day away.\nPO "
                  "Item: Steel beam."}));
}

TEST_F(DateAlertsTest, OrderAlertsOfAJobsManagerGoToEachOfTheManagersJobs) {
    Exec("insert into PURCHASE_ORDER (POnbr, PoStatusNbr, GenerateAlerts, ReqByDt) values "
         "(41, 1, 1, '2024/05/07');"
         "insert into PO_ITEM (PoItemNbr, PoNbr, Descr, ReqByDt) values (81, 41, 'a', NULL), "
         "(82, 41, 'b', NULL), (83, 41, 'c', '2024/05/07');"
         "insert into PO_ITEM_JOB (PoItemNbr, JobItemNbr, WoNbr) values (81, 20, NULL), "
         "(82, 22, NULL), (83, 23, NULL);");
    Scan(DateSetting(31, 5, {{3}}, {}, 4));
    EXPECT_EQ(
        History(),
        (std::vector<std::string>{
            "4|31|Open PO 41 request by date is 1 day away.\nReferenced Job: J-120 - Annex.",
            "4|31|Open PO 41 request by date is 1 day away.\nReferenced Job: J-130 - Depot."}));
    EXPECT_EQ(Host.Generated.size(), 2u);
    // An order item whose links carry no work order has no owner for source 6.
    AlertTransaction alert;
    alert.AlertNbr = 77;
    alert.PoItemNbr = 83;
    EXPECT_EQ(
        MessageOf<Exception>([&] { FindPoOwner(*Context, alert, DateSetting(77, 6, {}, {}, 4)); }),
        "Unable to find referenced job/WO for PO item 83");
    alert.AlertNbr = 31;
    alert.PoNbr = 41;
    EXPECT_EQ(
        MessageOf<Exception>([&] { FindPoOwner(*Context, alert, DateSetting(31, 5, {}, {}, 9)); }),
        "Unable to find referenced job for PO 41");
}

TEST_F(DateAlertsTest, InventoryActionItemsRfisAndQuotes) {
    Exec("insert into INVENTORY_ITEM (InvNbr, Code, Descr, InvTypeNbr, ReorderPoint, QtyOnHand, "
         "QtyOnHandReserved, QtyOnOrder, QtyOnOrderReserved) values "
         "(70, 'INV-1', 'Bolt', 17, 10, 8, 2, 5, 1), (71, 'INV-2', 'Nut', 17, NULL, 0, 0, 0, 0), "
         "(72, 'INV-3', 'Pin', 18, 1, 5, 0, 0, 0);"
         "insert into ACTION_ITEM (ActionItemNbr, JobNbr, Descr, NeedByDt, AssignedTo) values "
         "(1, 10, 'Call architect', '2024/05/07', 3), (2, 10, 'Order glass', NULL, 3);"
         "insert into USER_LOGON (USERID, DORN_USER, ContactNbr) values (1, 3, 500);"
         "insert into RFI (RFINbr, DornJobNbr, Descr, RequiredByDt, CreatedByNbr) values "
         "(7, 10, 'Door width', '2024/05/05', 500), (8, 10, 'Sill', NULL, 500);"
         "insert into QUOTE_REQUEST (QuoteNbr, Descr, NeedPricesByDt, EmpNbr) values "
         "(9, 'Hinges', '2024/05/06', 3);");
    Scan(DateSetting(73, 13, {}, {17}));
    Scan(DateSetting(81, 17, {{1}}));
    Scan(DateSetting(82, 18, {{1}}));
    Scan(DateSetting(86, 19, {{1}}));
    EXPECT_EQ(History(),
              (std::vector<std::string>{
                  "3|73|Inventory item available quantity at or below its reorder point.\n"
                  "Inventory Item: INV-1 - Bolt. Available Qty: 10. Reorder point: 10.",
                  "3|81|Action Item's 'need by' date is 1 day away.\nJob: J-100 - Tower. Action "
                  "Item: Call architect.",
                  "3|82|RFI's 'required by' date is 1 day ago.\nJob: J-100 - Tower. RFI: 7 - Door "
                  "width.",
                  "3|86|Quote Request's 'request by date' is today.\nQuote Request: 9 - Hinges."}));
}

TEST_F(DateAlertsTest, DailyHoursLookAtYesterdayUntilThreeInTheAfternoon) {
    // Employee 3 worked 6 hours on Sunday and 9 on Monday; 6 worked 0 hours
    // on Monday. The limit is 8.
    Exec("insert into TIMECLOCK (TimeClockNbr, EmpNbr, WorkDt, RegTime, Ot1Time, Ot2Time) values "
         "(1, 3, '2024/05/05', 360, NULL, 0), (2, 3, '2024/05/06', 480, 60, 0), "
         "(3, 6, '2024/05/06', 0, 0, 0);");
    Clock.SetNow(EncodeDate(2024, 5, 6) + EncodeTime(14, 59, 0, 0));
    Scan(DateSetting(87, 10, {{8}}));
    Clock.SetNow(EncodeDate(2024, 5, 6) + EncodeTime(15, 0, 0, 0));
    Scan(DateSetting(87, 10, {{10}}));
    Scan(DateSetting(87, 11, {{10}}, {2}));
    EXPECT_EQ(History(),
              (std::vector<std::string>{"3|87|Cy Dunn daily hours of 6.00 are under 8.",
                                        "3|87|Cy Dunn daily hours of 9.00 are under 10."}));
}

TEST_F(DateAlertsTest, WeeklyHoursOnlyOnTheLastDayOfTheWeek) {
    // With the options' first and last days at their defaults, 1 and 7, weeks
    // run Sunday to Saturday: Saturday the 4th belongs to the week before.
    EXPECT_EQ(Text("select FirstDayOfWeek || '-' || LastDayOfWeek from DORNWICK_OPTIONS"), "1-7");
    Exec("insert into TIMECLOCK (TimeClockNbr, EmpNbr, WorkDt, RegTime) values "
         "(1, 3, '2024/05/04', 600), (2, 3, '2024/05/05', 600), (3, 3, '2024/05/11', 1200);");
    Clock.SetNow(EncodeDate(2024, 5, 10) + EncodeTime(16, 0, 0, 0)); // Friday
    Scan(DateSetting(88, 10, {{40}}));
    EXPECT_TRUE(History().empty());
    Clock.SetNow(EncodeDate(2024, 5, 11) + EncodeTime(16, 0, 0, 0)); // Saturday
    Scan(DateSetting(88, 10, {{40}}));
    EXPECT_EQ(History(),
              std::vector<std::string>{"3|88|Cy Dunn weekly hours of 30.00 are under 40."});
}

TEST_F(DateAlertsTest, SettingsThatCannotBeCheckedAreSkippedWithALogLine) {
    Scan(DateSetting(13, 16, {{5, 4}}));
    Scan(DateSetting(13, 7, {{5, 4}}));
    Scan(DateSetting(13, 10, {{5, 4}}));
    ASSERT_EQ(Host.Log.size(), 3u);
    EXPECT_EQ(Host.Log[0].substr(0, 83), "Only handling for WO / PO / Inv source types implemented "
                                         "for date-generated alerts.");
    EXPECT_NE(Host.Log[1].find("has no source ids"), std::string::npos);
    EXPECT_EQ(Host.Log[2].substr(0, 27), "Unhandled alert encountered");
}

TEST_F(DateAlertsTest, FilterOfTheSourceIds) {
    EXPECT_EQ(DateAlertStatement(DateSetting(81, 7, {}, {12, 15})),
              "Select AI.* From ACTION_ITEM AI, JOBS Where AI.JobNbr = JOBS.JobNbr AND AI.FinishDt "
              "IS NULL AND JOBS.GenerateAlerts = 1 AND JOBS.JobStatusNbr != 0 AND ( "
              "JOBS.ProjManagerId = 12 OR JOBS.ProjManagerId = 15) ");
    EXPECT_EQ(DateAlertStatement(DateSetting(73, 12, {})), "Select * From INVENTORY_ITEM ");
}

TEST_F(DateAlertsTest, TheDailyRunChecksEveryScheduledAlertsSettings) {
    Exec(
        "update WO set SchedStartDt = '2024/05/07', WorkOrdStatusNbr = 0 where WoNbr = 30;"
        "insert into INVENTORY_ITEM (InvNbr, Code, Descr, ReorderPoint) values (70, 'I', 'D', 1);");
    AddSetting({.AlertId = 13, .EmpNbr = 3, .Source = 14, .Groups = {{5, 4}}});
    AddSetting({.AlertId = 73, .EmpNbr = 3, .Source = 12});
    AddSetting({.AlertId = 21, .EmpNbr = 3, .Source = 10});
    RunDateAlerts(*Context);
    EXPECT_EQ(Text("select group_concat(AlertNbr) from ALERT_HISTORY"), "13,73");
}

} // namespace
