// The text of an alert from its template and the records it names, and the
// purchase-order alerts that go to the owners of the order's jobs or work
// orders.
#include "EngineTest.h"

#include "alert/AlertCreation.h"
#include "alert/AlertText.h"
#include "alert/DateAlerts.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"

namespace {

class AlertTextReading : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (0, 'Sys', 'Tem'), (8, 'Ann', "
             "'Lee'), (9, 'Bo', 'Ek');"
             "insert into JOBS (JobNbr, JobId, JobDescr, PercentBudget, PercentComp, "
             "ProjManagerId) values (1, 'J1', 'Shed', 60, 40, 4), (2, 'J2', 'Barn', 0, 0, 4), "
             "(3, 'J3', 'Mill', 0, 0, 5);"
             "insert into JOB_ITEM (JobItemNbr, JobNbr, ItemNbr, JobItemDescr, PercentBudget, "
             "PercentComp) values (11, 1, 2, 'Roof', 30, 20), (21, 2, 1, 'Door', 0, 0), (31, 3, "
             "1, 'Wheel', 0, 0);"
             "insert into WO (WoNbr, JobNbr, JobItemNbr, PercentBudget, PercentComp, EmpNbr) "
             "values (5, 1, 11, 70, 65, 9), (6, 2, 21, 0, 0, 9), (7, 3, 31, 0, 0, 8);"
             "insert into INVENTORY_ITEM (InvNbr, Code, Descr) values (4, 'NAIL', 'Nails');"
             "insert into PURCHASE_ORDER (POnbr, PoStatusNbr, EmpNbr) values (30, 1, 8), (31, 1, "
             "8);"
             "insert into PO_ITEM (PoItemNbr, PoNbr, Descr) values (300, 30, 'Boards'), (301, 30, "
             "'Glue'), (310, 31, 'Paint');"
             "insert into PO_ITEM_JOB (PoItemNbr, JobItemNbr, WoNbr) values (300, 11, 5), (300, "
             "31, 7), (301, 21, 6), (310, 11, NULL);");
    }
    static AlertTransaction Alert(int AlertId) {
        AlertTransaction alert;
        alert.AlertNbr = AlertId;
        alert.EmpNbrGeneratedTrans = 8;
        alert.EmpNbr = 9;
        alert.JobNbr = 1;
        alert.JobItemNbr = 11;
        alert.WoNbr = 5;
        alert.PoNbr = 30;
        alert.PoItemNbr = 300;
        alert.InvNbr = 4;
        alert.ShipTicketNbr = 12;
        alert.ValueText = "50.00";
        alert.Arg1 = "a1";
        alert.Arg2 = "a2";
        alert.Arg3 = "a3";
        alert.Arg4 = "a4";
        return alert;
    }
};

TEST_F(AlertTextReading, EachTokenHasItsValue) {
    struct Case {
        const char* Token;
        const char* Value;
        void (*Change)(AlertTransaction&) = nullptr;
    };
    const Case cases[] = {
        {"VAL", "50.00"},
        {"EMPGEN", "Ann Lee"},
        {"EMPGEN", "Sys", [](AlertTransaction& a) { a.EmpNbrGeneratedTrans = 0; }},
        {"EMPGEN", "", [](AlertTransaction& a) { a.EmpNbrGeneratedTrans = 77; }},
        {"ARG1", "a1"},
        {"ARG4", "a4"},
        {"JOBIDDESC", "J1 - Shed"},
        {"JINBRDESC", "2 - Roof"},
        {"WONBR", "5"},
        {"PONBR", "30"},
        {"STNBR", "12"},
        {"PBNBR", "0"},
        {"EMPNAME", "Bo Ek"},
        {"JOB%BUDGET", "60"},
        {"JOB%COMPLETE", "40"},
        {"JI%BUDGET", "30"},
        {"JI%COMPLETE", "20"},
        {"WO%BUDGET", "70"},
        {"WO%COMPLETE", "65"},
        {"INVCODEDESC", "NAIL - Nails"},
        {"PIDESC", "Boards"},
        {"JOBIDDESC", " - ", [](AlertTransaction& a) { a.JobNbr = 99; }},
        {"DAYSAWAY", "1 day away", [](AlertTransaction& a) { a.Arg1 = "1"; }},
        {"BOGUS", "UNKNOWN"},
        {"CUSTOM", "UNKNOWN"},
        {"CUSTOM", "Regular invoice deleted or un-posted from job.",
         [](AlertTransaction& a) {
             a.AlertNbr = 63;
             a.TransType = 1;
         }},
        {"CUSTOM", "Progress Billing deleted from job.",
         [](AlertTransaction& a) {
             a.AlertNbr = 63;
             a.TransType = 2;
         }},
        {"CUSTOM",
         "Archived job labor cost changed.\nJob: JOBIDDESC. WO WONBR. Changed by: EMPGEN. Labor "
         "transaction for EMPNAME on ARG1.",
         [](AlertTransaction& a) {
             a.AlertNbr = 26;
             a.TransType = 1;
         }},
        {"CUSTOM",
         "Archived job material cost changed.\nJob: JOBIDDESC. PO PONBR. Vendor: ARG1. Changed "
         "by: EMPGEN.",
         [](AlertTransaction& a) {
             a.AlertNbr = 26;
             a.TransType = 2;
         }},
        {"CUSTOM",
         "Archived job inventory cost changed.\nJob: JOBIDDESC. WO WONBR. Inventory Item: ARG1 - "
         "ARG2. Changed by: EMPGEN.\nInventory transaction for EMPNAME on ARG3.",
         [](AlertTransaction& a) {
             a.AlertNbr = 26;
             a.TransType = 3;
         }},
        {"CUSTOM",
         "Archived job sub contractor cost changed.\nJob: JOBIDDESC. PO PONBR. Sub Contractor: "
         "ARG1. Changed by: EMPGEN.",
         [](AlertTransaction& a) {
             a.AlertNbr = 26;
             a.TransType = 4;
         }},
        {"CUSTOM", "UNKNOWN",
         [](AlertTransaction& a) {
             a.AlertNbr = 63;
             a.TransType = 3;
         }},
        {"CUSTOM", "UNKNOWN",
         [](AlertTransaction& a) {
             a.AlertNbr = 26;
             a.TransType = 6;
         }},
        {"CUSTOM", "Item 1: ARG1. Item 2: ARG2. Item 3: ARG3. Item 4: ARG4.",
         [](AlertTransaction& a) { a.AlertNbr = 48; }},
        {"CUSTOM", "Item 1: ARG1.",
         [](AlertTransaction& a) {
             a.AlertNbr = 48;
             a.Arg2 = "";
         }},
        {"CUSTOM", "Item 1: ARG1. Item 2: ARG2.",
         [](AlertTransaction& a) {
             a.AlertNbr = 48;
             a.Arg3 = "";
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Token);
        AlertTransaction alert = Alert(30);
        if (c.Change) c.Change(alert);
        EXPECT_EQ(AlertTokenValue(*Context, alert, c.Token), c.Value);
    }
}

TEST_F(AlertTextReading, DayCountInWords) {
    const std::pair<const char*, const char*> cases[] = {
        {"2", "2 days away"}, {"1", "1 day away"},  {"0", "today"},
        {"-1", "1 day ago"},  {"-3", "3 days ago"},
    };
    for (const auto& [count, words] : cases)
        EXPECT_EQ(DaysAwayText(count), words) << count;
    EXPECT_THROW(DaysAwayText("soon"), EConvertError);
}

TEST_F(AlertTextReading, TemplatesAreExpandedWithWhatTheirValuesBringIn) {
    struct Case {
        const char* What;
        int AlertId;
        void (*Change)(AlertTransaction&);
        const char* Text;
    };
    const Case cases[] = {
        {"percent sign after a token", 1, [](AlertTransaction&) {},
         "Job % of labor budget is 60% which is 50.00% higher than percent complete of 40.\nJob: "
         "J1 - Shed."},
        {"custom text of an archived job", 26, [](AlertTransaction& a) { a.TransType = 5; },
         "Archived job miscellaneous cost changed.\nJob: J1 - Shed. Job Item: 2 - Roof.\nPrev "
         "Cost: a1. New Cost: a2. Changed by: Ann Lee."},
        {"damaged items up to the first empty argument", 48,
         [](AlertTransaction& a) { a.Arg2 = ""; },
         "Received damaged items on PO 30.\nItem 1: a1. Received by: Ann Lee."},
        {"an argument holding later tokens, twice", 29,
         [](AlertTransaction& a) { a.Arg1 = "JOBIDDESC/JOBIDDESC"; },
         "Job deleted.\nJob: J1 - Shed/J1 - Shed - a2. Deleted by: Ann Lee."},
        {"an argument holding its own token", 29, [](AlertTransaction& a) { a.Arg1 = "ARG1"; },
         "Job deleted.\nJob: ARG1 - a2. Deleted by: Ann Lee."},
        {"referenced job of a job manager's alert", 30,
         [](AlertTransaction& a) { a.SourceType = 5; },
         "Job was archived.\nJob: J1 - Shed. Archived by: Ann Lee.\nReferenced Job: J1 - Shed."},
        {"referenced work order of its employee's alert", 30,
         [](AlertTransaction& a) { a.SourceType = 6; },
         "Job was archived.\nJob: J1 - Shed. Archived by: Ann Lee.\nReferenced Job: J1 - Shed. "
         "Job Item: 2 - Roof. Work Order 5."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        AlertTransaction alert = Alert(c.AlertId);
        c.Change(alert);
        ExpandAlertText(*Context, alert);
        EXPECT_EQ(alert.MessageText, c.Text);
    }
    AlertTransaction unknown = Alert(200);
    EXPECT_EQ(MessageOf<Exception>([&] { ExpandAlertText(*Context, unknown); }),
              "An invalid Alert Id ('200') was encountered.");
}

TEST_F(AlertTextReading, OrderAlertGoesOncePerJobOrWorkOrderOfTheRecipient) {
    struct Case {
        const char* What;
        int AlertId, Source, EmpNbr;
        std::vector<std::string> History;
    };
    const Case cases[] = {
        // Order 30 serves jobs 1 and 2 (manager 4) and 3 (manager 5).
        {"jobs of the order",
         31,
         5,
         4,
         {"4|31|Open PO 30 request by date is today.\nReferenced Job: J1 - Shed.",
          "4|31|Open PO 30 request by date is today.\nReferenced Job: J2 - Barn."}},
        // Item 300 serves work orders 5 (employee 9) and 7 (employee 8).
        {"work orders of the item",
         77,
         6,
         9,
         {"9|77|Open PO 30 has a PO Item with a request by date that is today.\nPO Item: "
          "Boards.\nReferenced Job: J1 - Shed. Job Item: 2 - Roof. Work Order 5."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.What);
        Exec("delete from ALERT_HISTORY;");
        AlertSetting setting;
        setting.AlertId = c.AlertId;
        setting.Source = static_cast<std::uint8_t>(c.Source);
        setting.EmpNbr = c.EmpNbr;
        AlertTransaction alert;
        alert.AlertNbr = c.AlertId;
        alert.RecipientNbr = c.EmpNbr;
        alert.PoNbr = 30;
        alert.PoItemNbr = 300;
        alert.Arg1 = "0";
        alert.Arg2 = "Boards";
        FindPoOwner(*Context, alert, setting);
        {
            AlertUnitOfWork work(*Context);
            CreateAlert(*Context, alert);
            work.Commit();
        }
        EXPECT_EQ(History(), c.History);
        EXPECT_EQ(Host.Generated.size(), c.History.size());
        Host.Generated.clear();
        EXPECT_TRUE(alert.JobList.empty());
        EXPECT_TRUE(alert.WoList.empty());
    }
}

TEST_F(AlertTextReading, DailyOrderCheckGoesToTheOwnersOfEachDueOrder) {
    Host.BatchStart = EncodeDate(2024, 6, 10) + EncodeTime(12, 0, 0, 0);
    Exec("update PURCHASE_ORDER set ReqByDt = '2024/06/11';");
    AlertSetting setting;
    setting.AlertId = 31;
    setting.Source = 5;
    setting.EmpNbr = 4;
    setting.ValueGroups = ValueGroups({{3}});
    ScanDateAlerts(*Context, setting);
    EXPECT_EQ(History(),
              (std::vector<std::string>{
                  "4|31|Open PO 30 request by date is 1 day away.\nReferenced Job: J1 - Shed.",
                  "4|31|Open PO 30 request by date is 1 day away.\nReferenced Job: J2 - Barn.",
                  "4|31|Open PO 31 request by date is 1 day away.\nReferenced Job: J1 - Shed."}));
}

TEST_F(AlertTextReading, OrderWithoutAnOwnerOfTheRecipientRaises) {
    struct Case {
        int AlertId, Source, PoNbr, PoItemNbr;
        const char* Message;
    };
    const Case cases[] = {
        {31, 5, 30, 0, "Unable to find referenced job for PO 30"},
        {32, 6, 31, 0, "Unable to find referenced job/WO for PO 31"},
        {78, 5, 0, 301, "Unable to find referenced job for PO item 301"},
        // Its one line has no work order.
        {77, 6, 0, 310, "Unable to find referenced job/WO for PO item 310"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Message);
        AlertSetting setting;
        setting.AlertId = c.AlertId;
        setting.Source = static_cast<std::uint8_t>(c.Source);
        setting.EmpNbr = 1;
        AlertTransaction alert;
        alert.AlertNbr = c.AlertId;
        alert.PoNbr = c.PoNbr;
        alert.PoItemNbr = c.PoItemNbr;
        EXPECT_EQ(MessageOf<Exception>([&] { FindPoOwner(*Context, alert, setting); }), c.Message);
    }
}

} // namespace
