// The daily run's checks: the statement of each source type, the date and
// status tests of the rows it selects, and the hours under a limit.
#include "EngineTest.h"

#include "alert/AlertProcessing.h"
#include "alert/DateAlerts.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"

namespace {

class DateAlertsReading : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        // Monday 10 June 2024, noon.
        Host.BatchStart = EncodeDate(2024, 6, 10) + EncodeTime(12, 0, 0, 0);
        Now.SetNow(Host.BatchStart);
        Exec("insert into JOBS (JobNbr, JobId, JobDescr, JobStatusNbr, ProjManagerId) values (1, "
             "'J1', 'First', 1, 4);");
    }
    static AlertSetting Setting(int AlertId, int Source, std::vector<Values> Groups,
                                std::vector<int> Ids = {}) {
        AlertSetting setting;
        setting.AlertSettingNbr = 9;
        setting.AlertId = AlertId;
        setting.EmpNbr = 40;
        setting.Source = static_cast<std::uint8_t>(Source);
        setting.Priority = 3;
        setting.EmailFrequency = 4;
        setting.SourceIds = std::move(Ids);
        setting.ValueGroups = ValueGroups(Groups);
        return setting;
    }
    std::vector<std::string> Scan(AlertSetting Setting) {
        Exec("delete from ALERT_HISTORY;");
        ScanDateAlerts(*Context, Setting);
        return History();
    }
    ManualClock Now;
    ScopedClock UseNow{Now};
};

TEST_F(DateAlertsReading, StatementOfEachSourceType) {
    struct Case {
        AlertSetting Setting;
        const char* Statement;
    };
    const char* wo =
        "Select WO.* From WO, JOBS Where WO.JobNbr = JOBS.JobNbr AND WO.ActualFinDt IS "
        "NULL AND WO.PercentComp != 100 AND WO.GenerateAlerts = 1 AND "
        "JOBS.JobStatusNbr != 0 ";
    const Case cases[] = {
        {Setting(13, 7, {}, {12, 15}),
         "Select WO.* From WO, JOBS Where WO.JobNbr = JOBS.JobNbr AND WO.ActualFinDt IS NULL AND "
         "WO.PercentComp != 100 AND WO.GenerateAlerts = 1 AND JOBS.JobStatusNbr != 0 AND ( "
         "JOBS.ProjManagerId = 12 OR JOBS.ProjManagerId = 15) "},
        {Setting(14, 2, {}, {40}),
         "Select WO.* From WO, JOBS Where WO.JobNbr = JOBS.JobNbr AND WO.ActualFinDt IS NULL AND "
         "WO.PercentComp != 100 AND WO.GenerateAlerts = 1 AND JOBS.JobStatusNbr != 0 AND ( "
         "WO.EmpNbr = 40) "},
        {Setting(14, 14, {}), wo},
        {Setting(81, 17, {}, {40}),
         "Select AI.* From ACTION_ITEM AI, JOBS Where AI.JobNbr = JOBS.JobNbr "
         "AND AI.FinishDt IS NULL AND JOBS.GenerateAlerts = 1 AND "
         "JOBS.JobStatusNbr != 0 AND ( AI.AssignedTo = 40) "},
        {Setting(31, 4, {}, {40}),
         "Select PO.* From PURCHASE_ORDER PO Where PO.GenerateAlerts = 1 AND "
         "PO.PoStatusNbr != 4 AND PO.PoStatusNbr != 5 AND ( PO.ReqByEmpNbr = "
         "40) "},
        {Setting(77, 15, {}), "Select PI.*, PO.PoStatusNbr From PO_ITEM PI Left Outer Join "
                              "PURCHASE_ORDER PO on PI.PoNbr = PO.PoNbr Where PO.GenerateAlerts = "
                              "1 AND PO.PoStatusNbr != 4 AND PO.PoStatusNbr != 5 "},
        {Setting(73, 12, {}), "Select * From INVENTORY_ITEM "},
        {Setting(73, 13, {}, {3, 5}),
         "Select * From INVENTORY_ITEM Where ( InvTypeNbr = 3 OR InvTypeNbr = 5) "},
        {Setting(86, 19, {}, {40}), "Select * From QUOTE_REQUEST Where ( EmpNbr = 40) "},
        {Setting(82, 18, {}, {40}),
         "Select RFI.* From RFI, JOBS, USER_LOGON UL Where RFI.DornJobNbr = JOBS.JobNbr AND "
         "RFI.CreatedByNbr = UL.ContactNbr AND RFI.ReceivedDt IS NULL AND JOBS.GenerateAlerts = 1 "
         "AND JOBS.JobStatusNbr != 0 AND ( UL.DORN_USER = 40) "},
        {Setting(78, 6, {}, {40}),
         "Select PI.*, PO.PoStatusNbr From PO_ITEM PI Left Outer Join PURCHASE_ORDER PO on "
         "PI.PoNbr = PO.PoNbr Where PO.GenerateAlerts = 1 AND PO.PoStatusNbr != 4 AND "
         "PO.PoStatusNbr != 5 AND PI.PoItemNbr in (Select distinct PIJ.PoItemNbr From "
         "PO_ITEM_JOB PIJ Left Outer Join WO on PIJ.WoNbr = WO.WoNbr Where ( WO.EmpNbr = 40) )"},
        {Setting(32, 5, {}, {40}),
         "Select PO.* From PURCHASE_ORDER PO Where PO.GenerateAlerts = 1 AND PO.PoStatusNbr != 4 "
         "AND PO.PoStatusNbr != 5 AND PO.POnbr in (Select distinct PI.PoNbr From PO_ITEM_JOB PIJ "
         "Left Outer Join PO_ITEM PI on PIJ.PoItemNbr = PI.PoItemNbr Left Outer Join JOB_ITEM JI "
         "on PIJ.JobItemNbr = JI.JobItemNbr Left Outer Join JOBS on JI.JobNbr = JOBS.JobNbr "
         "Where ( JOBS.ProjManagerId = 40) )"},
        {Setting(82, 14, {}),
         "Select RFI.* From RFI, JOBS Where RFI.DornJobNbr = JOBS.JobNbr AND RFI.ReceivedDt IS "
         "NULL AND JOBS.GenerateAlerts = 1 AND JOBS.JobStatusNbr != 0 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Statement);
        EXPECT_EQ(DateAlertStatement(c.Setting), c.Statement);
    }
    for (const int source : {0, 16, 20}) {
        SCOPED_TRACE(source);
        // The message names the setting as well, for the log of the run.
        EXPECT_EQ(MessageOf<Exception>([&] { DateAlertStatement(Setting(13, source, {})); })
                      .rfind("Only handling for WO / PO / Inv source types implemented for "
                             "date-generated alerts.",
                             0),
                  0u);
    }
}

TEST_F(DateAlertsReading, WorkOrderDueAndBehindItsStatus) {
    // Start 3 days ahead (2.5 days after the noon start) in status 3 and 4;
    // ten and a half days past (both groups pass: one alert); nine and a
    // half days ahead (the second group only).
    Exec("insert into WO (WoNbr, JobNbr, PercentComp, WorkOrdStatusNbr, SchedStartDt) values "
         "(1, 1, 0, 3, '2024/06/13'), (2, 1, 0, 4, '2024/06/13'), (3, 1, 0, 0, '2024/05/31'), "
         "(4, 1, 0, 0, '2024/06/20');");
    EXPECT_EQ(Scan(Setting(13, 14, {{5, 4}, {30, 1}})),
              (std::vector<std::string>{
                  "40|13|Work Order 1 scheduled start date is 3 days away but Work Order status "
                  "is Ready.\nJob: J1 - First. Job Item:  - .",
                  "40|13|Work Order 3 scheduled start date is 10 days ago but Work Order status "
                  "is Pending.\nJob: J1 - First. Job Item:  - .",
                  "40|13|Work Order 4 scheduled start date is 10 days away but Work Order status "
                  "is Pending.\nJob: J1 - First. Job Item:  - ."}));
    EXPECT_EQ(Text("select group_concat(Priority || ':' || SendEmail || ':' || "
                   "EmpNbrTriggeredAlert || ':' || JobNbr || ':' || WoNbr, ' ') from "
                   "ALERT_HISTORY"),
              "3:4:0:1:1 3:4:0:1:3 3:4:0:1:4");
    EXPECT_EQ(Host.Generated.size(), 3u);
    // A work-order employee's setting looks at the employee's own orders,
    // whatever ids it stores.
    Exec("update WO set EmpNbr = 40 where WoNbr = 1;");
    EXPECT_EQ(Scan(Setting(13, 2, {{5, 4}}, {99})).size(), 1u);
}

TEST_F(DateAlertsReading, ShipDateChecksStopAtCompletedWorkOrders) {
    Exec("insert into WO (WoNbr, JobNbr, PercentComp, WorkOrdStatusNbr, SchedFinDt, ShipDt) "
         "values (1, 1, 10, 6, '2024/06/11', '2024/06/11'), (2, 1, 10, 5, '2024/06/11', "
         "'2024/06/11'), (3, 1, NULL, 0, '2024/06/11', '2024/06/11');");
    const auto woNumbers = [&](int AlertId) {
        Scan(Setting(AlertId, 14, {{5, 50}}));
        return Text("select group_concat(WoNbr) from ALERT_HISTORY");
    };
    EXPECT_EQ(woNumbers(19), "2");
    EXPECT_EQ(woNumbers(17), "1,2");
}

TEST_F(DateAlertsReading, EachDateAlertTestsItsOwnDateAndLimit) {
    // Dates one day ahead are due within 5 days, dates 40 days ahead are not.
    Exec("insert into WO (WoNbr, JobNbr, WorkOrdStatusNbr, ActualStartDt, PercentComp, "
         "PercentBudget, SchedStartDt, SchedFinDt, ShipDt) values "
         "(1, 1, 2, NULL, 10, 10, '2024/06/11', '2024/06/11', '2024/06/11'),"
         "(2, 1, 0, NULL, 10, 10, '2024/07/20', '2024/07/20', '2024/07/20'),"
         "(3, 1, 6, '2024/06/01', 10, 90, '2024/06/11', '2024/06/11', '2024/06/11'),"
         "(4, 1, 5, '2024/06/01', 90, 10, '2024/06/11', '2024/06/11', '2024/06/11'),"
         "(5, 1, 0, NULL, 10, 10, '2024/07/20', '2024/07/20', '2024/06/11'),"
         "(6, 1, 0, NULL, 10, 10, '2024/06/11', '2024/07/20', '2024/07/20');"
         "insert into PURCHASE_ORDER (POnbr, PoStatusNbr, ReqByDt, GenerateAlerts) values "
         "(30, 1, '2024/06/11', 1), (31, 2, '2024/06/11', 1), (32, 1, '2024/07/20', 1), "
         "(33, 1, '2024/06/11', 0), (34, 4, '2024/06/11', 1);"
         "insert into PO_ITEM (PoItemNbr, PoNbr, Descr, ReqByDt) values (300, 30, 'Boards', "
         "'2024/06/11'), (301, 30, 'Glue', '2024/07/20'), (310, 31, 'Paint', '2024/06/11');"
         "insert into RFI (RFINbr, DornJobNbr, Descr, RequiredByDt, ReceivedDt) values (70, 1, "
         "'Beam', '2024/06/11', NULL), (71, 1, 'Sill', '2024/06/11', '2024/06/01'), (72, 1, "
         "'Post', NULL, NULL);");
    struct Case {
        int AlertId, Source;
        std::vector<Values> Groups;
        const char* Keys; // the history's WO, order, order item or RFI numbers
    };
    const Case cases[] = {
        {13, 14, {{5, 3}}, "1,6"},  {14, 14, {{5, 3}}, "1"},      {15, 14, {{5, 3}}, "1,5"},
        {16, 14, {{5}}, "1"},       {17, 14, {{5, 50}}, "1,3"},   {18, 14, {{5, 50}}, "1,4"},
        {19, 14, {{5, 50}}, "1,5"}, {20, 14, {{5, 50}}, "1,4,5"}, {31, 15, {{5}}, "30"},
        {32, 15, {{5}}, "31"},      {77, 15, {{5}}, "300"},       {78, 15, {{5}}, "310"},
        {82, 14, {{5}}, "70"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.AlertId);
        Scan(Setting(c.AlertId, c.Source, c.Groups));
        const char* column = c.AlertId < 30   ? "WoNbr"
                             : c.AlertId < 40 ? "PoNbr"
                             : c.AlertId < 80 ? "PoItemNbr"
                                              : "RFINbr";
        EXPECT_EQ(Text(std::string("select group_concat(") + column + ") from ALERT_HISTORY"),
                  c.Keys);
    }
    // The texts the rows give: the status name, the percent, the item and
    // the request.
    Scan(Setting(17, 14, {{5, 50}}));
    EXPECT_NE(History()[0].find("1 day away but Work Order % complete is 10%"), std::string::npos)
        << History()[0];
    EXPECT_EQ(Scan(Setting(78, 15, {{5}})),
              (std::vector<std::string>{"40|78|Backordered PO 31 has a PO Item with a request by "
                                        "date that is 1 day away.\nPO Item: Paint."}));
    EXPECT_EQ(
        Scan(Setting(82, 14, {{5}})),
        (std::vector<std::string>{
            "40|82|RFI's 'required by' date is 1 day away.\nJob: J1 - First. RFI: 70 - Beam."}));
}

TEST_F(DateAlertsReading, InventoryAtOrBelowItsReorderPoint) {
    Exec("insert into INVENTORY_ITEM (InvNbr, Code, Descr, InvTypeNbr, ReorderPoint, QtyOnOrder, "
         "QtyOnOrderReserved, QtyOnHand, QtyOnHandReserved) values (1, 'A', 'Equal', 3, 5, 4, 1, "
         "3, 1), (2, 'B', 'Above', 3, 5, 4, 1, 3, 0), (3, 'C', 'No point', 3, NULL, 0, 0, 0, 0), "
         "(4, 'D', 'Other type', 2, 5, 0, 0, 0, 0);");
    const std::vector<std::string> equal{
        "40|73|Inventory item available quantity at or below its reorder point.\nInventory "
        "Item: A - Equal. Available Qty: 5. Reorder point: 5."};
    EXPECT_EQ(Scan(Setting(73, 13, {}, {3})), equal);
    EXPECT_EQ(Scan(Setting(73, 12, {})).size(), 2u);
}

TEST_F(DateAlertsReading, DatedItemsWithoutADateArePassedOver) {
    Exec("insert into ACTION_ITEM (ActionItemNbr, JobNbr, Descr, NeedByDt, AssignedTo) values "
         "(1, 1, 'Call back', '2024/06/10', 40), (2, 1, 'Undated', NULL, 40);"
         "insert into QUOTE_REQUEST (QuoteNbr, Descr, NeedPricesByDt, EmpNbr) values (7, "
         "'Steel', '2024/06/12', 40), (8, 'Later', '2024/07/12', 40);");
    EXPECT_EQ(Scan(Setting(81, 17, {{1}})),
              (std::vector<std::string>{"40|81|Action Item's 'need by' date is today.\nJob: J1 - "
                                        "First. Action Item: Call back."}));
    EXPECT_EQ(Text("select ActionItemNbr from ALERT_HISTORY"), "1");
    EXPECT_EQ(
        Scan(Setting(86, 19, {{3}})),
        (std::vector<std::string>{
            "40|86|Quote Request's 'request by date' is 2 days away.\nQuote Request: 7 - Steel."}));
}

TEST_F(DateAlertsReading, DailyHoursLookAtYesterdayUntilThreeInTheAfternoon) {
    Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname, DeptNbr) values (8, 'Ann', 'Lee', 2), (9, "
         "'Bo', 'Ek', 2);"
         "insert into TIMECLOCK (EmpNbr, WorkDt, RegTime, Ot1Time) values (8, '2024/06/09', 300, "
         "60), (8, '2024/06/10', 120, NULL), (9, '2024/06/09', 0, 0);");
    struct Case {
        int Hour, Minute;
        std::vector<std::string> History;
    };
    const Case cases[] = {
        {14, 59, {"40|87|Ann Lee daily hours of 6.00 are under 8."}},
        {15, 0, {"40|87|Ann Lee daily hours of 2.00 are under 8."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Hour);
        Now.SetNow(EncodeDate(2024, 6, 10) + EncodeTime(c.Hour, c.Minute, 0, 0));
        EXPECT_EQ(Scan(Setting(87, 10, {{8}})), c.History);
    }
    // By department: employee 8's department is not among the ids.
    EXPECT_TRUE(Scan(Setting(87, 11, {{8}}, {3})).empty());
    EXPECT_EQ(Scan(Setting(87, 11, {{8}}, {3, 2})).size(), 1u);
}

TEST_F(DateAlertsReading, WeeklyHoursOnlyOnTheLastDayOfTheWeek) {
    // Sunday to Saturday weeks; 15 June 2024 is a Saturday.
    Exec("update DORNWICK_OPTIONS set FirstDayOfWeek = 1, LastDayOfWeek = 7;"
         "insert into EMPLOYEE (EmpNbr, Fname, Lname) values (8, 'Ann', 'Lee');"
         "insert into TIMECLOCK (EmpNbr, WorkDt, RegTime) values (8, '2024/06/09', 600), (8, "
         "'2024/06/12', 600), (8, '2024/06/15', 600), (8, '2024/06/08', 6000);");
    Now.SetNow(EncodeDate(2024, 6, 14) + EncodeTime(16, 0, 0, 0));
    EXPECT_TRUE(Scan(Setting(88, 10, {{40}})).empty());
    Now.SetNow(EncodeDate(2024, 6, 15) + EncodeTime(16, 0, 0, 0));
    EXPECT_EQ(Scan(Setting(88, 10, {{40}})),
              (std::vector<std::string>{"40|88|Ann Lee weekly hours of 30.00 are under 40."}));
}

TEST_F(DateAlertsReading, UncheckableSettingIsReportedAndTheRunGoesOn) {
    Exec("insert into WO (WoNbr, JobNbr, PercentComp, WorkOrdStatusNbr, SchedStartDt) values "
         "(1, 1, 0, 0, '2024/06/11');");
    AddSetting({.AlertId = 13, .EmpNbr = 40, .Source = 16, .Groups = {{5, 4}}});
    AddSetting({.AlertId = 13, .EmpNbr = 41, .Source = 14, .Groups = {{5, 4}}});
    CheckAlertSettingMarkers(*Context);
    RunDateAlerts(*Context);
    EXPECT_EQ(Text("select group_concat(AlertRecipientNbr) from ALERT_HISTORY"), "41");
    ASSERT_FALSE(Host.Log.empty());
    EXPECT_NE(Host.Log[0].find("Only handling for WO / PO / Inv source types implemented for "
                               "date-generated alerts."),
              std::string::npos)
        << Host.Log[0];
}

} // namespace
