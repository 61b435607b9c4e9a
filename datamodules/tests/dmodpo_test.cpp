#include "ProgramModulesTest.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace {

class PoDmodTest : public ProgramModulesTest {
protected:
    void SetUp() override {
        ProgramModulesTest::SetUp();
        Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME) values (1, 'P', 'Acme');"
             "insert into EMPLOYEE (EmpNbr, Fname, Lname) values (1, 'John', 'Smith'),"
             " (2, 'Ann', 'Lee');"
             "insert into MAINT_REF values (1, 3, 'Each');"
             "insert into INVENTORY_ITEM (InvNbr, Code) values (40, 'BOLT');"
             "insert into PO_STATUS values (1, 'Open');"
             "insert into PURCHASE_ORDER (POnbr, PoStatusNbr, CompanyNbr, CompanyPub, POdt,"
             " StatusChgInd, ReqByEmpNbr, ReqByDt) values"
             " (10, 1, 1, 'P', '2024/03/07', 1, 2, NULL), (11, 6, NULL, NULL, NULL, 1, NULL, NULL);"
             "insert into PO_ITEM (PoItemNbr, PoNbr, Seq, Descr, ExtDescr1, ExtDescr2, PoDest,"
             " PrintLabel, Notes, UnitPrice, QtyOrdered, UomRef, InvNbr) values"
             " (100, 10, 1, 'Bolt', 'e1', 'e2', 'Job', 1, NULL, 1.234, 2.6, 3, 40),"
             " (101, 10, 2, 'Nut', NULL, 'x', 'Stock', 1, 'n', 1, 1, 9, NULL);"
             "insert into PO_DOC values (10, 0, 1);"
             "insert into JOB_ITEM (JobItemNbr, JobNbr) values (5, 50), (6, 60);"
             "insert into PO_ITEM_JOB (PoItemJobNbr, PoItemNbr, JobItemNbr, WoNbr, QtyOrdered,"
             " UnitPrice, ShippingAmt, PrintLabel, JobCosting, ReserveInd) values"
             " (1, 100, 5, 7, 2, 1.5, 1, 0, 1, 0), (2, 100, 5, 8, 1, NULL, 0.25, 0, 1, 1),"
             " (3, 101, 6, 7, 4, 4, 4, 1, 0, 0);");
        Po->SetDecimals(0, 2);
    }

    // Puts Line in place of the statement's placeholder selection.
    static void ReplaceLine(TQuery& Query, const char* Placeholder, const char* Line) {
        const int index = Query.SQL()->IndexOf(Placeholder);
        ASSERT_GE(index, 0) << Placeholder;
        Query.SQL()->Put(index, Line);
    }

    static std::set<int> Column(TQuery& Query, const char* Field) {
        std::set<int> values;
        for (Query.First(); !Query.Eof(); Query.Next())
            values.insert(Query.FieldByName(Field)->AsInteger());
        return values;
    }
};

TEST_F(PoDmodTest, FixedQueriesRunOnTheSchema) {
    ExpectQueriesRun(*Po, {"ListTermsQuery", "ListFobQuery", "PoItemsQ", "JobAssignQ", "PoListQ",
                           "PriceHistQ", "ReceiverQ", "ReceiverItemQ", "ReceiverItemJobQ",
                           "InvReorderQ", "VendorInvoiceQ", "QuoteRequestListQ"});
}

TEST_F(PoDmodTest, SelectPurchaseOrderResetsTheStatusChangeFlagFirst) {
    Po->SelectPurchaseOrder(10);
    ASSERT_EQ(Po->CommonSql->RecordCount(), 1);
    EXPECT_EQ(Shown(*Po->CommonSql, "StatusChgInd"), "0");
    Po->SelectPurchaseOrder(11 + 100);
    EXPECT_TRUE(Po->CommonSql->IsEmpty());
    Po->SelectPurchaseOrder(11);
    EXPECT_EQ(Shown(*Po->CommonSql, "StatusChgInd"), "0");
}

TEST_F(PoDmodTest, ItemLookups) {
    Po->SelectPoItem(101);
    EXPECT_EQ(Shown(*Po->CommonSql, "Descr"), "Nut");
    EXPECT_EQ(Po->GetPoItemPoNbr(100), 10);
    EXPECT_EQ(Po->GetPoItemPoNbr(999), -99);
    EXPECT_TRUE(Po->CommonSql->IsEmpty());
}

struct LinkCase {
    const char* Name;
    void (TPoDmod::*Open)(int);
    int Key;
    const char* Field;
    std::set<int> Expected;
};

TEST_F(PoDmodTest, LinkListsGiveDistinctJobsAndWorkOrders) {
    const std::vector<LinkCase> cases{
        {"OpenPoJobs", &TPoDmod::OpenPoJobs, 10, "JobNbr", {50, 60}},
        {"OpenPoItemJobs", &TPoDmod::OpenPoItemJobs, 100, "JobNbr", {50}},
        {"OpenPoWorkOrders", &TPoDmod::OpenPoWorkOrders, 10, "WoNbr", {7, 8}},
        {"OpenPoItemWorkOrders", &TPoDmod::OpenPoItemWorkOrders, 101, "WoNbr", {7}},
        {"OpenPoJobs of an order without links", &TPoDmod::OpenPoJobs, 11, "JobNbr", {}},
    };
    for (const LinkCase& c : cases) {
        std::invoke(c.Open, *Po, c.Key);
        EXPECT_EQ(Column(*Po->CommonSql, c.Field), c.Expected) << c.Name;
    }
}

TEST_F(PoDmodTest, OrderItemFields) {
    TQuery& items = *Po->PoItemsQ;
    ReplaceLine(items, "and PI.PoNbr = 0", "and PI.PoNbr = 10");
    Locate(items, "PoItemNbr", 100);
    // 1.234 to two decimals times 2.6 to none: 1.23 x 3.
    EXPECT_EQ(items.FieldByName("Price")->AsCurrency(), Currency::FromScaled(36900));
    EXPECT_EQ(Shown(items, "PrintLabelInd"), "0") << "no job link prints a label";
    EXPECT_EQ(Shown(items, "PIDescr"), "Bolt / e2");
    EXPECT_EQ(Shown(items, "Code"), "BOLT");
    EXPECT_EQ(Shown(items, "UOM"), "Each");
    EXPECT_EQ(Shown(items, "NoteChk"), "0");

    Locate(items, "PoItemNbr", 101);
    EXPECT_EQ(Shown(items, "PrintLabelInd"), "1") << "the item's own flag";
    EXPECT_EQ(Shown(items, "PIDescr"), "Nut / x");
    EXPECT_EQ(Shown(items, "Code"), "");
    EXPECT_EQ(Shown(items, "UOM"), "");
    EXPECT_EQ(Shown(items, "NoteChk"), "1");

    Exec("update PO_ITEM_JOB set PrintLabel = 1 where PoItemJobNbr = 2");
    Locate(items, "PoItemNbr", 100);
    EXPECT_EQ(Shown(items, "PrintLabelInd"), "1");
}

TEST_F(PoDmodTest, OrderListsShowStatusCompanyAndDate) {
    TQuery& reorders = *Po->InvReorderQ;
    ReplaceLine(reorders,
                "select distinct P.POnbr,PoStatusNbr,CompanyNbr,CompanyPub, POdt from "
                "PURCHASE_ORDER P where P.POnbr >= 1444",
                "select distinct P.POnbr,PoStatusNbr,CompanyNbr,CompanyPub, POdt from "
                "PURCHASE_ORDER P");
    for (TQuery* list : {Po->PoListQ, &reorders}) {
        SCOPED_TRACE(list->Name());
        const bool reorder = list == &reorders;
        Locate(*list, "POnbr", 10);
        EXPECT_EQ(Shown(*list, "Status"), reorder ? "Pending" : "Open");
        EXPECT_EQ(Shown(*list, "Company"), "Acme");
        EXPECT_EQ(Shown(*list, "ShortDt"), "07/03/24");
        Locate(*list, "POnbr", 11);
        EXPECT_EQ(Shown(*list, "Status"), reorder ? "Pending" : "<null>");
        EXPECT_EQ(Shown(*list, "Company"), "");
        EXPECT_EQ(Shown(*list, "ShortDt"), "");
    }
}

TEST_F(PoDmodTest, JobItemOrderCostsByJobItemOrWorkOrder) {
    TQuery& list = *Po->JobItemPoListQ;
    list.SQL()->Add("select ReqByDt, ReqByEmpNbr, ReceivedDt, TotalAmt, POnbr, PoStatusNbr, "
                    "CompanyNbr, CompanyPub, POdt, 5 as JobItemNbr from PURCHASE_ORDER");
    const struct {
        int SelectedWoNbr;
        Currency Direct, Reserve;
    } cases[] = {
        {-99, Currency::FromScaled(40000), Currency::FromScaled(2500)}, // 2 x 1.5 + 1; 0 + 0.25
        {8, Currency(0), Currency::FromScaled(2500)},
        {9, Currency(0), Currency(0)},
    };
    for (const auto& c : cases) {
        Po->SelectedWoNbr = c.SelectedWoNbr;
        Locate(list, "POnbr", 10);
        EXPECT_EQ(list.FieldByName("JobItemDirectAmt")->AsCurrency(), c.Direct) << c.SelectedWoNbr;
        EXPECT_EQ(list.FieldByName("JobItemReserveAmt")->AsCurrency(), c.Reserve)
            << c.SelectedWoNbr;
    }
    EXPECT_EQ(Shown(list, "Emp"), "Ann Lee");
    EXPECT_EQ(Shown(list, "Status"), "Open");
    EXPECT_EQ(Shown(list, "ReqDt"), "");
    Locate(list, "POnbr", 11);
    EXPECT_EQ(Shown(list, "Emp"), "");
}

TEST_F(PoDmodTest, PriceHistory) {
    TQuery& prices = *Po->PriceHistQ;
    ReplaceLine(prices, "and PI.Descr = 'x'", "and PI.Descr = 'Bolt'");
    prices.Open();
    EXPECT_EQ(prices.FieldByName("Price")->AsCurrency(), Currency::FromScaled(32100)); // 3.2084
    EXPECT_EQ(Shown(prices, "UOM"), "Each");
    EXPECT_EQ(Shown(prices, "POdate"), "07/03/24");
}

TEST_F(PoDmodTest, ReceiverFields) {
    Exec("insert into RECEIVER (ReceiverNbr, PoNbr, ReceiptEmpNbr, ReconcileEmpNbr,"
         " ExportEmpNbr, RemitToNbr, RemitToPub, ReceivedDt, ExportDt, InvoiceTotalAmt) values"
         " (1, 10, 1, NULL, 99, 1, 'P', '2024/03/07', '2024/03/08 10:00:00', 12.34567);"
         "insert into RECEIVER_ITEM values (1, 1, 100, 2, 1.234, NULL, NULL),"
         " (2, 1, 101, 1, 0.005, 40, 'n');");
    TQuery& receivers = *Po->ReceiverQ;
    ReplaceLine(receivers, "where R.PoNbr = 0", "where R.PoNbr = 10");
    receivers.Open();
    EXPECT_EQ(Shown(receivers, "ReceiptEmployee"), "J.S.");
    EXPECT_EQ(Shown(receivers, "ReconcileEmployee"), "<null>");
    EXPECT_EQ(Shown(receivers, "ExportEmployee"), "..") << "an employee without a row";
    EXPECT_EQ(Shown(receivers, "RemitToName"), "Acme");
    EXPECT_EQ(Shown(receivers, "NoteChk"), "0");
    // 2 x 1.234 + 0.005 and 2.6 x 1.234 + 1, each to two decimals.
    EXPECT_EQ(receivers.FieldByName("ReceiverItemUnitSum")->AsCurrency(),
              Currency::FromScaled(24700));
    EXPECT_EQ(receivers.FieldByName("PoItemUnitSum")->AsCurrency(), Currency::FromScaled(42100));

    TQuery& items = *Po->ReceiverItemQ;
    ReplaceLine(items, "and RI.ReceiverNbr = 0", "and RI.ReceiverNbr = 1");
    Locate(items, "ReceiverItemNbr", 1);
    EXPECT_EQ(Shown(items, "UOM"), "Each");
    EXPECT_EQ(Shown(items, "InvCode"), "");
    Locate(items, "ReceiverItemNbr", 2);
    EXPECT_EQ(Shown(items, "UOM"), "") << "unit 9 is not in the unit list";
    EXPECT_EQ(Shown(items, "InvCode"), "BOLT");
    EXPECT_EQ(Shown(items, "NoteChk"), "1");

    TQuery& invoices = *Po->VendorInvoiceQ;
    invoices.Open();
    EXPECT_EQ(Shown(invoices, "ReceiveDtDisplay"), "07/03/24");
    EXPECT_EQ(Shown(invoices, "ExportDtDisplay"), "08/03/24");
    EXPECT_EQ(Shown(invoices, "InvoiceDtDisplay"), "");
    EXPECT_EQ(Shown(invoices, "PoDateDisplay"), "07/03/24");
    EXPECT_EQ(invoices.FieldByName("InvoiceAmtDisplay")->AsCurrency(),
              Currency::FromScaled(123457));
}

TEST_F(PoDmodTest, QuoteRequestList) {
    Exec("insert into QUOTE_REQUEST values (1, 'Q1', 1, '2024/03/07', '2024/01/02', NULL),"
         " (2, 'Q2', 5, NULL, NULL, NULL);"
         "insert into QUOTE_REQ_ITEM values (1, 'Steel', 'ST');"
         "insert into QUOTE_REQ_VENDOR_ITEM values (1, 1, 'P');");
    TQuery& quotes = *Po->QuoteRequestListQ;
    Locate(quotes, "QuoteNbr", 1);
    EXPECT_EQ(Shown(quotes, "Status"), "Sent");
    EXPECT_EQ(Shown(quotes, "sCreateDt"), "02/01/24");
    EXPECT_EQ(Shown(quotes, "sNeedPriceByDt"), "07/03/24");
    Locate(quotes, "QuoteNbr", 2);
    EXPECT_EQ(Shown(quotes, "Status"), "<null>");
    EXPECT_EQ(Shown(quotes, "sCreateDt"), "");
}

} // namespace
