#include "EngineTest.h"
#include "alert/AlertText.h"
#include "platform/rtl/Exceptions.h"

namespace {

// The shop rows every token of the catalogue can name.
const char* const ShopRows =
    "insert into EMPLOYEE (EmpNbr, Fname, Lname, DeptNbr) values (7, 'Ann', 'Lee', 3), "
    "(8, 'Bob', 'Ray', 4), (0, 'System', 'User', NULL);"
    "insert into JOBS (JobNbr, JobId, JobDescr, PercentBudget, PercentComp) values "
    "(10, 'J-100', 'Tower', 60, 40), (11, 'J-110', 'Annex', 0, 0);"
    "insert into JOB_ITEM (JobItemNbr, JobNbr, ItemNbr, JobItemDescr, PercentBudget, PercentComp) "
    "values (20, 10, '2', 'Lobby', 55, 50);"
    "insert into WO (WoNbr, JobNbr, JobItemNbr, PercentBudget, PercentComp) values "
    "(30, 10, 20, 70, 65);"
    "insert into INVENTORY_ITEM (InvNbr, Code, Descr) values (70, 'INV-1', 'Bolt');"
    "insert into PO_ITEM (PoItemNbr, PoNbr, Descr) values (80, 40, 'Steel beam');";

AlertTransaction FixtureTransaction(int AlertId) {
    AlertTransaction alert;
    alert.AlertNbr = AlertId;
    alert.TransType = 1;
    alert.EmpNbrGeneratedTrans = 8;
    alert.EmpNbr = 7;
    alert.JobNbr = 10;
    alert.JobItemNbr = 20;
    alert.WoNbr = 30;
    alert.PoNbr = 40;
    alert.ShipTicketNbr = 50;
    alert.ProgressBillingNbr = 60;
    alert.InvNbr = 70;
    alert.PoItemNbr = 80;
    alert.Arg1 = "3";
    alert.Arg2 = "two";
    alert.Arg3 = "three";
    alert.Arg4 = "four";
    alert.ValueText = "50.00";
    return alert;
}

class AlertTextTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        Exec(ShopRows);
    }
    std::string Expand(AlertTransaction Alert) {
        ExpandAlertText(*Context, Alert);
        return Alert.MessageText;
    }
};

TEST_F(AlertTextTest, EveryTemplateExpandsAgainstTheShopRows) {
    const std::pair<int, const char*> expected[] = {
        {1, "Job % of labor budget is 60% which is 50.00% higher than percent complete of "
            "40.\nJob: J-100 - Tower."},
        {2, "Job item % of labor budget is 55% which is 50.00% higher than percent complete of "
            "50.\nJob: J-100 - Tower. Job Item: 2 - Lobby."},
        {3, "Work Order 30 % of labor budget is 70% which is 50.00% higher than percent complete "
            "of 65.\nJob: J-100 - Tower. Job Item: 2 - Lobby."},
        {4, "Job material cost is 50.00% of estimated material costs.\nJob: J-100 - Tower."},
        {5, "Job item material cost is 50.00% of estimated material costs.\nJob: J-100 - Tower. "
            "Job Item: 2 - Lobby."},
        {6, "Work Order 30 material cost is 50.00% of estimated material costs.\nJob: J-100 - "
            "Tower. Job Item: 2 - Lobby."},
        {7, "Job labor hours are 50.00% of estimated labor hours.\nJob: J-100 - Tower."},
        {8, "Job item labor hours are 50.00% of estimated labor hours.\nJob: J-100 - Tower. Job "
            "Item: 2 - Lobby."},
        {9, "Work Order 30 labor hours are 50.00% of estimated labor hours.\nJob: J-100 - Tower. "
            "Job Item: 2 - Lobby."},
        {10, "Job labor cost is 50.00% of estimated labor cost.\nJob: J-100 - Tower."},
        {11, "Job item labor cost is 50.00% of estimated labor cost.\nJob: J-100 - Tower. Job "
             "Item: 2 - Lobby."},
        {12, "Work Order 30 labor cost is 50.00% of estimated labor cost.\nJob: J-100 - Tower. Job "
             "Item: 2 - Lobby."},
        {13, "Work Order 30 scheduled start date is 3 days away but Work Order status is "
             "two.\nJob: J-100 - Tower. Job Item: 2 - Lobby."},
        {14, "Work Order 30 scheduled finish date is 3 days away but Work Order status is "
             "two.\nJob: J-100 - Tower. Job Item: 2 - Lobby."},
        {15, "Work Order 30 ship date is 3 days away but Work Order status is two.\nJob: J-100 - "
             "Tower. Job Item: 2 - Lobby."},
        {16, "Work Order 30 scheduled finish date is 3 days away but hasn't been started.\nJob: "
             "J-100 - Tower. Job Item: 2 - Lobby."},
        {17, "Work Order 30 scheduled finish date is 3 days away but Work Order % complete is "
             "50.00%.\nJob: J-100 - Tower. Job Item: 2 - Lobby."},
        {18, "Work Order 30 scheduled finish date is 3 days away but Work Order % of labor budget "
             "is 50.00%.\nJob: J-100 - Tower. Job Item: 2 - Lobby."},
        {19, "Work Order 30 ship date is 3 days away but Work Order % complete is 50.00%.\nJob: "
             "J-100 - Tower. Job Item: 2 - Lobby."},
        {20, "Work Order 30 ship date is 3 days away but Work Order % of labor budget is "
             "50.00%.\nJob: J-100 - Tower. Job Item: 2 - Lobby."},
        {21, "First time 3 labor reported for Work Order 30.\nJob: J-100 - Tower. Job Item: 2 - "
             "Lobby. Employee that did work: Ann Lee."},
        {22, "Unplanned work performed on Work Order 30.\nJob: J-100 - Tower. Job Item: 2 - Lobby. "
             "Employee that did work: Ann Lee.\nOperation: two - three. Department: 3."},
        {23, "Work Order 30 3 percent of labor budget is 50.00%.\nJob: J-100 - Tower. Job Item: 2 "
             "- Lobby."},
        {24, "First product built for Work Order 30.\nJob: J-100 - Tower. Job Item: 2 - "
             "Lobby.\nProduct: 3. Employee: Bob Ray."},
        {25, "50.00% of 3 is complete on Work Order 30.\nJob: J-100 - Tower. Job Item: 2 - "
             "Lobby.\nProduct: 3."},
        {26, "Archived job labor cost changed.\nJob: J-100 - Tower. WO 30. Changed by: Bob Ray. "
             "Labor transaction for Ann Lee on 3."},
        {27, "Job status changed to two from 3.\nJob: J-100 - Tower. Changed by: Bob Ray."},
        {29, "Job deleted.\nJob: 3 - two. Deleted by: Bob Ray."},
        {30, "Job was archived.\nJob: J-100 - Tower. Archived by: Bob Ray."},
        {31, "Open PO 40 request by date is 3 days away."},
        {32, "Backordered PO 40 request by date is 3 days away."},
        {33, "'Return to Vendor' PO 40 posted.\nVendor: 3. Posted by: Bob Ray."},
        {34, "Reconciled PO 40 has cost discrepancy.\nVendor: three. PO cost: 3. Vendor cost: two. "
             "Reconciled by: Bob Ray."},
        {35, "Reconciled PO 40 has freight discrepancy.\nVendor: three. PO freight cost: 3. Vendor "
             "freight cost: two. Reconciled by: Bob Ray."},
        {36, "Reconciled PO 40 has tax discrepancy.\nVendor: three. PO tax cost: 3. Vendor tax "
             "cost: two. Reconciled by: Bob Ray."},
        {37,
         "PO opened that has material for job.\nJob: J-100 - Tower. PO 40. Opened by: Bob Ray."},
        {38, "PO completely received for job.\nJob: J-100 - Tower. PO 40. Received by: Bob Ray. "
             "Vendor: 3."},
        {39, "PO has backordered item for job.\nJob: J-100 - Tower. PO 40. PO Item: three. Back "
             "Order Qty: two. Received by: Bob Ray. Vendor: 3."},
        {40, "PO opened that has material for job item.\nJob: J-100 - Tower. Job Item: 2 - Lobby. "
             "PO 40. Opened by: Bob Ray."},
        {41, "PO completely received for job item.\nJob: J-100 - Tower. Job Item: 2 - Lobby. PO "
             "40. Received by: Bob Ray. Vendor: 3."},
        {42, "PO has backordered item for job item.\nJob: J-100 - Tower. Job Item: 2 - Lobby. PO "
             "40. PO Item: three. Back Order Qty: two. Received by: Bob Ray. Vendor: 3."},
        {43, "PO opened that has material for Work Order 30.\nJob: J-100 - Tower. Job Item: 2 - "
             "Lobby. PO 40. Opened by: Bob Ray."},
        {44, "PO completely received for Work Order 30.\nJob: J-100 - Tower. Job Item: 2 - Lobby. "
             "PO 40. Received by: Bob Ray. Vendor: 3."},
        {45, "PO has backordered item for Work Order 30.\nJob: J-100 - Tower. Job Item: 2 - Lobby. "
             "PO 40. PO Item: three. Back Order Qty: two. Received by: Bob Ray. Vendor: 3."},
        {46, "All material received for Work Order 30.\nJob: J-100 - Tower. Job Item: 2 - Lobby. "
             "Last PO received: 40. Received by: Bob Ray. Vendor: 3."},
        {48, "Received damaged items on PO 40.\nItem 1: 3. Item 2: two. Item 3: three. Item 4: "
             "four. Received by: Bob Ray."},
        {49, "Ann Lee daily hours of 3 exceed 50.00.\nEdited by: Bob Ray."},
        {50, "Ann Lee weekly hours of 3 exceed 50.00.\nEdited by: Bob Ray."},
        {51, "Ann Lee Time & Attendance hours modified.\nCard Date: three. Changed by: Bob Ray."},
        {52,
         "Product shipped for a job.\nJob: J-100 - Tower. Ship Ticket 50. Shipped by: Bob Ray."},
        {53, "Product shipped for a job item.\nJob: J-100 - Tower. Job Item: 2 - Lobby. Ship "
             "Ticket 50. Shipped by: Bob Ray."},
        {54, "Product shipped for work order 30.\nJob: J-100 - Tower. Job Item: 2 - Lobby.\nShip "
             "Ticket 50. Shipped by: Bob Ray."},
        {55, "All products shipped for work order 30.\nJob: J-100 - Tower. Job Item: 2 - "
             "Lobby.\nShip Ticket 50. Shipped by: Bob Ray."},
        {56, "Product backordered on shipment for work order 30.\nJob: J-100 - Tower. Job Item: 2 "
             "- Lobby.\nShip Ticket 50. Shipped by: Bob Ray."},
        {57, "Product overage on shipment for work order 30.\nJob: J-100 - Tower. Job Item: 2 - "
             "Lobby.\nShip Ticket 50. Shipped by: Bob Ray."},
        {58, "Scan qty doesn't match ship qty on Ship Ticket 50.\nJob: J-100 - Tower. Job Item: 2 "
             "- Lobby. Work Order 30.\nProduct: 3. Shipping Employee: Bob Ray."},
        {59, "Regular invoice three posted.\nJob: J-100 - Tower. Invoice Amount: 3. Job Percent "
             "Billed: two%. Posted by Bob Ray."},
        {61,
         "All products are now built for work order 30.\nJob: J-100 - Tower. Job Item: 2 - Lobby."},
        {62, "Progress billing 60 created.\nJob: J-100 - Tower. Invoice Amount: 3. Job Percent "
             "Billed: two%. Created by Bob Ray."},
        {63, "Regular invoice deleted or un-posted from job.\nJob: J-100 - Tower. Invoice Number: "
             "three. Invoice Amount: 3. Job Percent Billed: two%. By Bob Ray."},
        {64, "Billings exceed direct and overhead cost by 50.00%.\nJob: J-100 - Tower."},
        {65, "Insufficient inventory to satisfy inventory pick.\nInventory Item: INV-1 - Bolt. "
             "Pick Qty: 3. On Hand: two."},
        {66, "Inventory pick borrowed from another job's reserved quantity.\nInventory Item: INV-1 "
             "- Bolt. Pick Qty: 3. Used from on hand: two. Borrowed from reserved: three."},
        {67, "Inventory item received that doesn't have an auto receive location.\nInventory Item: "
             "INV-1 - Bolt. PO: 40.\nPO Item: Steel beam. Qty Received: 3. Received by: Bob Ray."},
        {68, "New inventory item added.\nInventory Item: INV-1 - Bolt. Created by: Bob Ray."},
        {69, "Inventory item deleted.\nInventory Item: 3 - two. Deleted by: Bob Ray."},
        {70, "Inventory item location's quantity adjusted.\nInventory Item: INV-1 - Bolt. Adjusted "
             "by: Bob Ray."},
        {71, "Manual reservation placed for job.\nJob: J-100 - Tower. Inventory Item: INV-1 - "
             "Bolt. Qty reserved: 3. Reserved by: Bob Ray."},
        {72, "Manual reservation placed for Work Order 30.\nJob: J-100 - Tower. Job Item: 2 - "
             "Lobby. Inventory Item: INV-1 - Bolt. Qty reserved: 3. Reserved by: Bob Ray."},
        {73, "Inventory item available quantity at or below its reorder point.\nInventory Item: "
             "INV-1 - Bolt. Available Qty: 3. Reorder point: two."},
        {74, "Rework Work Order 30 created.\nJob: J-100 - Tower. Job Item: 2 - Lobby.\nCreated by: "
             "Bob Ray."},
        {83, "Change Order Work Order 30 created.\nJob: J-100 - Tower. Job Item: 2 - "
             "Lobby.\nCreated by: Bob Ray."},
        {75, "Rework Work Order 30 completed.\nJob: J-100 - Tower. Job Item: 2 - Lobby.\nCreated "
             "by: Bob Ray."},
        {77, "Open PO 40 has a PO Item with a request by date that is 3 days away.\nPO Item: two."},
        {78, "Backordered PO 40 has a PO Item with a request by date that is 3 days away.\nPO "
             "Item: two."},
        {79, "Work Order 30 target finish date was changed.\nJob: J-100 - Tower. Job Item: 2 - "
             "Lobby.\nChanged by: Bob Ray."},
        {80, "Work Order 30 'don't schedule before' date was changed.\nJob: J-100 - Tower. Job "
             "Item: 2 - Lobby.\nChanged by: Bob Ray."},
        {81, "Action Item's 'need by' date is 3 days away.\nJob: J-100 - Tower. Action Item: two."},
        {82, "RFI's 'required by' date is 3 days away.\nJob: J-100 - Tower. RFI: two."},
        {84, "Work Order 30 status changed to 3 from three.\nJob: J-100 - Tower. Job Item: 2 - "
             "Lobby.\nChanged by: Bob Ray."},
        {85, "Work Order 30 status changed to 3 from three.\nJob: J-100 - Tower. Job Item: 2 - "
             "Lobby.\nChanged by: Bob Ray."},
        {86, "Quote Request's 'request by date' is 3 days away.\nQuote Request: two."},
        {87, "Ann Lee daily hours of 3 are under 50.00."},
        {88, "Ann Lee weekly hours of 3 are under 50.00."},
    };
    ASSERT_EQ(std::size(expected), 84u);
    for (const auto& [id, text] : expected)
        EXPECT_EQ(Expand(FixtureTransaction(id)), text) << "alert id " << id;
}

TEST_F(AlertTextTest, DaysAwayWords) {
    const std::pair<const char*, const char*> cases[] = {
        {"2", "2 days away"}, {"1", "1 day away"},  {"0", "today"},
        {"-1", "1 day ago"},  {"-3", "3 days ago"}, {"-0", "today"},
    };
    for (const auto& [days, words] : cases)
        EXPECT_EQ(DaysAwayText(days), words) << days;
    EXPECT_THROW(DaysAwayText("soon"), EConvertError);
}

TEST_F(AlertTextTest, CustomTextsByTransactionType) {
    AlertTransaction alert = FixtureTransaction(48);
    alert.Arg2 = "";
    EXPECT_EQ(Expand(alert), "Received damaged items on PO 40.\nItem 1: 3. Received by: Bob Ray.");
    alert.Arg2 = "two";
    alert.Arg4 = "";
    EXPECT_EQ(Expand(alert),
              "Received damaged items on PO 40.\nItem 1: 3. Item 2: two. Item 3: three. Received "
              "by: Bob Ray.");

    alert = FixtureTransaction(26);
    alert.TransType = 6;
    EXPECT_EQ(Expand(alert), "UNKNOWN");
    alert = FixtureTransaction(63);
    alert.TransType = 3;
    EXPECT_EQ(Expand(alert).substr(0, 12), "UNKNOWN\nJob:");
    alert.TransType = 2;
    EXPECT_EQ(Expand(alert).substr(0, 35), "Progress Billing deleted from job.\n");
}

TEST_F(AlertTextTest, TokensAValueBringsInAreReplacedByTheTokensAfterIt) {
    // A value's tokens that come later in the replacement order are
    // replaced; its own token and earlier ones stay, so an argument naming
    // its own token cannot loop.
    Exec("update JOBS set JobDescr = 'Tower JOBIDDESC ARG1 WONBR' where JobNbr = 10;");
    AlertTransaction alert = FixtureTransaction(29);
    alert.Arg1 = "ARG1";
    alert.Arg2 = "EMPGEN and VAL";
    EXPECT_EQ(Expand(alert), "Job deleted.\nJob: ARG1 - EMPGEN and VAL. Deleted by: Bob Ray.");
    alert.Arg1 = "JOBIDDESC";
    alert.Arg2 = "PO PONBR, ARG2";
    EXPECT_EQ(Expand(alert), "Job deleted.\nJob: J-100 - Tower JOBIDDESC ARG1 30 - PO 40, ARG2. "
                             "Deleted by: Bob Ray.");
    EXPECT_EQ(Expand(FixtureTransaction(30)),
              "Job was archived.\nJob: J-100 - Tower JOBIDDESC ARG1 30. Archived by: Bob Ray.");
}

TEST_F(AlertTextTest, PeopleAndRecordsThatAreNotThere) {
    AlertTransaction alert = FixtureTransaction(68);
    alert.EmpNbrGeneratedTrans = 99; // no such employee
    alert.InvNbr = 71;               // no such item
    EXPECT_EQ(Expand(alert), "New inventory item added.\nInventory Item:  - . Created by: .");
    // The system's own number 0 signs with its first name.
    alert = FixtureTransaction(68);
    alert.EmpNbrGeneratedTrans = 0;
    EXPECT_EQ(Expand(alert),
              "New inventory item added.\nInventory Item: INV-1 - Bolt. Created by: System.");
}

TEST_F(AlertTextTest, ReferencedJobLineBySourceType) {
    AlertTransaction alert = FixtureTransaction(31);
    alert.SourceType = 5;
    EXPECT_EQ(Expand(alert),
              "Open PO 40 request by date is 3 days away.\nReferenced Job: J-100 - Tower.");
    alert.SourceType = 6;
    EXPECT_EQ(Expand(alert), "Open PO 40 request by date is 3 days away.\nReferenced Job: J-100 - "
                             "Tower. Job Item: 2 - Lobby. Work Order 30.");
}

TEST_F(AlertTextTest, UnknownAlertIdAndToken) {
    AlertTransaction alert = FixtureTransaction(28);
    EXPECT_EQ(MessageOf<Exception>([&] { ExpandAlertText(*Context, alert); }),
              "An invalid Alert Id ('28') was encountered.");
    EXPECT_EQ(AlertTokenValue(*Context, alert, "NOSUCHTOKEN"), "UNKNOWN");
}

} // namespace
