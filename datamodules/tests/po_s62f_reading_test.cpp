// The purchase-order data module read through its lookups and list queries
// on a real shop database: the alert processor's order and link lookups, and
// the display texts and totals of the order, item and receiver lists.
#include "datamodules/DmodPo.h"
#include "datamodules/ShopDataModules.h"
#include "ShopModuleTest.h"

#include "platform/data/Field.h"
#include "platform/rtl/StringList.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

class PoReading : public ShopModuleTest {
protected:
    void SetUp() override {
        ShopModuleTest::SetUp();
        Po = CreateShopDataModules(Owner).Po;
    }
    static std::string Text(const TQuery* Q, const char* Name) {
        return Q->FieldByName(Name)->AsString().c_str();
    }
    static double Num(const TQuery* Q, const char* Name) { return Q->FieldByName(Name)->AsFloat(); }
    static void Reselect(TQuery* Q, const char* Sql) {
        Q->Close();
        Q->SQL()->Clear();
        Q->SQL()->Add(Sql);
        Q->Open();
    }
    // The integers of the named column over the query's rows, sorted.
    static std::vector<int> Column(TQuery* Q, const char* Name) {
        std::vector<int> out;
        for (Q->First(); !Q->Eof(); Q->Next()) out.push_back(Q->FieldByName(Name)->AsInteger());
        std::sort(out.begin(), out.end());
        return out;
    }
    TPoDmod* Po = nullptr;
};

TEST_F(PoReading, AlertLookups) {
    Exec("insert into PURCHASE_ORDER (POnbr, StatusChgInd, EmpNbr) values (30, 1, 7), (31, 1, 8)");
    Po->SelectPurchaseOrder(30);
    EXPECT_EQ(Po->CommonSql->FieldByName("StatusChgInd")->AsInteger(), 0);
    EXPECT_EQ(Po->CommonSql->FieldByName("EmpNbr")->AsInteger(), 7);
    // Only the selected order is reset.
    Po->SelectPurchaseOrder(31);
    EXPECT_EQ(Po->CommonSql->FieldByName("StatusChgInd")->AsInteger(), 0);
    Po->SelectPurchaseOrder(99);
    EXPECT_TRUE(Po->CommonSql->Active());
    EXPECT_EQ(Po->CommonSql->RecordCount(), 0);

    Exec("insert into JOB_ITEM (JobItemNbr, JobNbr) values (41, 40), (42, 40), (51, 50)");
    Exec("insert into PO_ITEM (PoItemNbr, PoNbr, Descr) values (20, 30, 'Bolts'), (21, 30, 'Nuts'), (22, 31, 'X')");
    Exec("insert into PO_ITEM_JOB (PoItemJobNbr, PoItemNbr, JobItemNbr, WoNbr) values"
         " (1, 20, 41, 100), (2, 20, 42, 101), (3, 21, 51, 100), (4, 22, 51, 102)");
    Po->SelectPoItem(21);
    EXPECT_EQ(Text(Po->CommonSql, "Descr"), "Nuts");
    Po->OpenPoJobs(30);
    EXPECT_EQ(Column(Po->CommonSql, "JobNbr"), (std::vector<int>{40, 50}));
    Po->OpenPoItemJobs(20);
    EXPECT_EQ(Column(Po->CommonSql, "JobNbr"), (std::vector<int>{40}));
    Po->OpenPoWorkOrders(30);
    EXPECT_EQ(Column(Po->CommonSql, "WoNbr"), (std::vector<int>{100, 101}));
    Po->OpenPoItemWorkOrders(21);
    EXPECT_EQ(Column(Po->CommonSql, "WoNbr"), (std::vector<int>{100}));

    EXPECT_EQ(Po->GetPoItemPoNbr(22), 31);
    EXPECT_EQ(Po->GetPoItemPoNbr(99), -99);
}

TEST_F(PoReading, OrderListTexts) {
    Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME) values (5, 'P', 'Acme')");
    Exec("insert into PURCHASE_ORDER (POnbr, PoStatusNbr, CompanyNbr, CompanyPub, POdt) values"
         " (1, 0, 5, 'P', '2006/11/16'), (2, 1, NULL, NULL, NULL), (3, 2, 5, 'P', NULL),"
         " (4, 3, 5, 'P', NULL), (5, 4, 5, 'P', NULL), (6, 5, 5, 'P', NULL), (7, 6, 9, 'Q', NULL)");
    struct Row {
        const char *Status, *Company, *Date;
        bool StatusNull;
    };
    const std::vector<Row> Expected = {
        {"Pending", "Acme", "16/11/06", false}, {"Open", "", "", false},
        {"Back Order", "Acme", "", false},     {"Received", "Acme", "", false},
        {"Closed", "Acme", "", false},         {"Cancel", "Acme", "", false},
        {"", "", "", true},
    };
    Reselect(Po->PoListQ, "select P.POnbr,PoStatusNbr,CompanyNbr,CompanyPub,POdt, UserEditingPo,"
                          "TabWherePoOpen from PURCHASE_ORDER P order by POnbr");
    auto* q = Po->PoListQ;
    ASSERT_EQ(q->RecordCount(), 7);
    for (const Row& r : Expected) {
        SCOPED_TRACE(q->FieldByName("POnbr")->AsInteger());
        EXPECT_EQ(Text(q, "Status"), r.Status);
        EXPECT_EQ(q->FieldByName("Status")->IsNull(), r.StatusNull);
        EXPECT_EQ(Text(q, "Company"), r.Company);
        EXPECT_EQ(Text(q, "ShortDt"), r.Date);
        q->Next();
    }

    Po->DatePreference = 1;
    Reselect(Po->InvReorderQ, "select distinct P.POnbr,PoStatusNbr,CompanyNbr,CompanyPub, POdt"
                              " from PURCHASE_ORDER P where P.POnbr = 1");
    EXPECT_EQ(Text(Po->InvReorderQ, "Status"), "Pending");
    EXPECT_EQ(Text(Po->InvReorderQ, "ShortDt"), "11/16/06");
    EXPECT_EQ(Text(Po->InvReorderQ, "Company"), "Acme");
}

TEST_F(PoReading, OrderItemTexts) {
    Exec("insert into MAINT_REF (TYPE, ID, ITEM) values (1, 3, 'Each')");
    Exec("insert into INVENTORY_ITEM (InvNbr, Code) values (9, 'BOLT')");
    Exec("insert into PO_DOC (PoNbr, PrintExtDescr1, PrintExtDescr2) values (30, 0, 1)");
    Exec("insert into PO_ITEM (PoItemNbr, PoNbr, Seq, Descr, ExtDescr1, ExtDescr2, PoDest, PrintLabel,"
         " Notes, UnitPrice, QtyOrdered, UomRef, InvNbr) values"
         " (20, 30, 1, 'Bolts', 'one', 'two', 'Job', 1, 'n', 1.234, 2.6, 3, 9),"
         " (21, 30, 2, 'Nuts', NULL, NULL, 'Reserve', 0, NULL, 1, 1, NULL, NULL),"
         " (22, 30, 3, 'Pins', NULL, NULL, 'Stock', 1, NULL, 0, 0, NULL, NULL),"
         " (23, 30, 4, 'Rods', NULL, NULL, 'job', 1, NULL, 0, 0, NULL, NULL)");
    Exec("insert into PO_ITEM_JOB (PoItemJobNbr, PoItemNbr, PrintLabel) values (1, 20, 0), (2, 21, 1)");
    Po->SetDecimals(0, 2);
    Reselect(Po->PoItemsQ, "select PI.*, PD.PrintExtDescr1, PD.PrintExtDescr2 from PO_ITEM PI, PO_DOC PD"
                           " where PI.PoNbr = PD.PoNbr and PI.PoNbr = 30 order by Seq");
    struct Row {
        int Label, Note;
        double Price;
        const char *Code, *Uom, *Descr;
    };
    const std::vector<Row> Expected = {
        {0, 1, 3.69, "BOLT", "Each", "Bolts / two"},
        {1, 0, 1.0, "", "", "Nuts"},
        {1, 0, 0, "", "", "Pins"},
        // The destinations are compared as written.
        {1, 0, 0, "", "", "Rods"},
    };
    auto* q = Po->PoItemsQ;
    ASSERT_EQ(q->RecordCount(), 4);
    for (const Row& r : Expected) {
        SCOPED_TRACE(q->FieldByName("PoItemNbr")->AsInteger());
        EXPECT_EQ(q->FieldByName("PrintLabelInd")->AsInteger(), r.Label);
        EXPECT_EQ(q->FieldByName("NoteChk")->AsInteger(), r.Note);
        EXPECT_DOUBLE_EQ(Num(q, "Price"), r.Price);
        EXPECT_EQ(Text(q, "Code"), r.Code);
        EXPECT_EQ(Text(q, "UOM"), r.Uom);
        EXPECT_EQ(Text(q, "PIDescr"), r.Descr);
        q->Next();
    }

    Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME) values (5, 'P', 'Acme')");
    Exec("insert into PURCHASE_ORDER (POnbr, CompanyNbr, CompanyPub, POdt) values (30, 5, 'P', '2006/11/16')");
    Reselect(Po->PriceHistQ, "select P.POnbr, NAME, POdt, QtyOrdered, UnitPrice, UomRef"
                             " from PURCHASE_ORDER P, PO_ITEM PI, COMPANY C where PI.PoNbr = P.POnbr"
                             " and P.CompanyNbr = C.COMPANY_NBR and P.CompanyPub = C.PUB and PI.Descr = 'Bolts'");
    EXPECT_DOUBLE_EQ(Num(Po->PriceHistQ, "Price"), 3.21);
    EXPECT_EQ(Text(Po->PriceHistQ, "UOM"), "Each");
    EXPECT_EQ(Text(Po->PriceHistQ, "POdate"), "16/11/06");
}

TEST_F(PoReading, JobItemOrderTotals) {
    Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (8, 'Bo', 'Ma')");
    Exec("insert into PURCHASE_ORDER (POnbr, PoStatusNbr, ReqByEmpNbr, ReqByDt, ReceivedDt, POdt) values"
         " (30, 3, 8, '2006/11/16', NULL, '2006/11/15')");
    Exec("insert into JOB_ITEM (JobItemNbr, JobNbr) values (41, 40)");
    Exec("insert into PO_ITEM (PoItemNbr, PoNbr) values (20, 30), (21, 30)");
    Exec("insert into PO_ITEM_JOB (PoItemJobNbr, PoItemNbr, JobItemNbr, WoNbr, QtyOrdered, UnitPrice,"
         " ShippingAmt, JobCosting, ReserveInd) values"
         " (1, 20, 41, 100, 2, 1.5, 1, 1, 0),"    // direct: 2 x 1.5 + 1
         " (2, 21, 41, 100, 3, NULL, 0.5, 1, 0),"  // direct, no price: the shipping alone
         " (3, 20, 41, 101, 4, 2, 0, 1, 1),"     // reserved
         " (4, 20, 41, 100, 9, 9, 9, 0, 0)");    // not costed
    struct Case {
        int SelectedWo;
        double Direct, Reserve;
    };
    for (const Case& c : std::vector<Case>{{-99, 4.5, 8}, {100, 4.5, 0}, {101, 0, 8}}) {
        SCOPED_TRACE(c.SelectedWo);
        Po->SelectedWoNbr = c.SelectedWo;
        Reselect(Po->JobItemPoListQ,
                 "select ReqByDt, ReqByEmpNbr, ReceivedDt, TotalAmt, POnbr, PoStatusNbr, CompanyNbr,"
                 " CompanyPub, POdt, 41 as JobItemNbr from PURCHASE_ORDER");
        auto* q = Po->JobItemPoListQ;
        EXPECT_DOUBLE_EQ(Num(q, "JobItemDirectAmt"), c.Direct);
        EXPECT_DOUBLE_EQ(Num(q, "JobItemReserveAmt"), c.Reserve);
        EXPECT_EQ(Text(q, "Emp"), "Bo Ma");
        EXPECT_EQ(Text(q, "ReqDt"), "16/11/06");
        EXPECT_EQ(Text(q, "RecDt"), "");
        EXPECT_EQ(Text(q, "ShortDt"), "15/11/06");
        EXPECT_EQ(Text(q, "Status"), "Received");
        EXPECT_EQ(Text(q, "Company"), "");
    }
}

TEST_F(PoReading, ReceiverTexts) {
    Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (7, 'John', 'Smith')");
    Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME) values (5, 'P', 'Acme')");
    Exec("insert into PO_ITEM (PoItemNbr, PoNbr, QtyOrdered, UnitPrice, UomRef) values"
         " (20, 30, 2, 1.005, 3), (21, 30, 1, 1, NULL)");
    Exec("insert into RECEIVER (ReceiverNbr, PoNbr, ReceiptEmpNbr, ReconcileEmpNbr, ExportEmpNbr,"
         " RemitToNbr, RemitToPub, Notes) values (1, 30, 7, NULL, 99, 5, 'P', 'n'), (2, 31, NULL, NULL, NULL, NULL, NULL, NULL)");
    Exec("insert into RECEIVER_ITEM (ReceiverItemNbr, ReceiverNbr, PoItemNbr, QtyReceived, UnitPrice, InvNbr)"
         " values (1, 1, 20, 1, 1.234, NULL), (2, 1, 21, 3, 0.5, 9)");
    Exec("insert into INVENTORY_ITEM (InvNbr, Code) values (9, 'BOLT')");
    Exec("insert into MAINT_REF (TYPE, ID, ITEM) values (1, 3, 'Each')");
    Po->SetDecimals(0, 2);
    Reselect(Po->ReceiverQ, "select ReceiverNbr, PoNbr, ReceivedDt, ReceiptEmpNbr, ReconcileDt, ReconcileEmpNbr,"
                            " InvoiceDt, ExportDt, ExportEmpNbr, RemitToNbr, RemitToPub, InvoiceTotalAmt, DueDt,"
                            " Notes from RECEIVER R order by ReceiverNbr");
    auto* q = Po->ReceiverQ;
    EXPECT_EQ(q->FieldByName("NoteChk")->AsInteger(), 1);
    EXPECT_EQ(Text(q, "ReceiptEmployee"), "J.S.");
    EXPECT_TRUE(q->FieldByName("ReconcileEmployee")->IsNull());
    EXPECT_EQ(Text(q, "ExportEmployee"), "..");
    EXPECT_EQ(Text(q, "RemitToName"), "Acme");
    EXPECT_DOUBLE_EQ(Num(q, "ReceiverItemUnitSum"), 2.73);  // 1.234 + 1.5
    EXPECT_DOUBLE_EQ(Num(q, "PoItemUnitSum"), 3.01);        // 2.01 + 1
    q->Next();
    EXPECT_EQ(q->FieldByName("NoteChk")->AsInteger(), 0);
    EXPECT_TRUE(q->FieldByName("ReceiptEmployee")->IsNull());
    EXPECT_EQ(Text(q, "RemitToName"), "");
    EXPECT_DOUBLE_EQ(Num(q, "ReceiverItemUnitSum"), 0);
    EXPECT_DOUBLE_EQ(Num(q, "PoItemUnitSum"), 0);

    Reselect(Po->ReceiverItemQ, "select RI.ReceiverItemNbr, RI.ReceiverNbr, RI.PoItemNbr, RI.QtyReceived,"
                                " RI.UnitPrice, RI.InvNbr, RI.Notes, PI.Descr, PI.UomRef, PI.TaxInd, PI.PoDest,"
                                " PI.OverheadMarkup, PI.VendStockNbr, PI.DamageInd, PI.PoNbr, PI.QtyOrdered,"
                                " PI.GLacct from RECEIVER_ITEM RI, PO_ITEM PI where RI.PoItemNbr = PI.PoItemNbr"
                                " order by ReceiverItemNbr");
    auto* i = Po->ReceiverItemQ;
    EXPECT_EQ(Text(i, "UOM"), "Each");
    EXPECT_EQ(Text(i, "InvCode"), "");
    i->Next();
    EXPECT_EQ(Text(i, "UOM"), "");
    EXPECT_EQ(Text(i, "InvCode"), "BOLT");
}

TEST_F(PoReading, InvoiceAndQuoteTexts) {
    Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME) values (5, 'P', 'Acme')");
    Exec("insert into PO_STATUS (PoStatusNbr, PoStatus) values (1, 'Open')");
    Exec("insert into PURCHASE_ORDER (POnbr, PoStatusNbr, CompanyNbr, CompanyPub, POdt) values (30, 1, 5, 'P', '2006/11/16')");
    Exec("insert into RECEIVER (ReceiverNbr, PoNbr, ReceivedDt, InvoiceDt, ExportDt, InvoiceTotalAmt) values"
         " (1, 30, '2006/11/17', NULL, '2006/11/18 10:00:00', 12.345)");
    Po->VendorInvoiceQ->Open();
    auto* v = Po->VendorInvoiceQ;
    ASSERT_EQ(v->RecordCount(), 1);
    EXPECT_EQ(Text(v, "ReceiveDtDisplay"), "17/11/06");
    EXPECT_EQ(Text(v, "ReconcileDtDisplay"), "");
    EXPECT_EQ(Text(v, "InvoiceDtDisplay"), "");
    EXPECT_EQ(Text(v, "ExportDtDisplay"), "18/11/06");
    EXPECT_EQ(Text(v, "PoDateDisplay"), "16/11/06");
    EXPECT_DOUBLE_EQ(Num(v, "InvoiceAmtDisplay"), 12.345);

    Exec("insert into QUOTE_REQUEST (QuoteNbr, QuoteStatusNbr, CreateDt, NeedPricesByDt) values"
         " (1, 0, '2006/11/16', NULL), (2, 1, NULL, NULL), (3, 2, NULL, NULL), (4, 3, NULL, NULL)");
    Reselect(Po->QuoteRequestListQ, "select QR.QuoteNbr, QR.Descr, QuoteStatusNbr, NeedPricesByDt, QR.CreateDt,"
                                    " 0 as CompanyNbr, '' as CompanyPub, '' as Material, '' as MatCode, '' as NAME"
                                    " from QUOTE_REQUEST QR order by QuoteNbr");
    auto* r = Po->QuoteRequestListQ;
    EXPECT_EQ(Text(r, "sCreateDt"), "16/11/06");
    EXPECT_EQ(Text(r, "sNeedPriceByDt"), "");
    for (const char* status : {"Pending", "Sent", "Received", ""}) {
        EXPECT_EQ(Text(r, "Status"), status);
        r->Next();
    }
}

TEST_F(PoReading, HelpersOfTheCalculatedFields) {
    Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (7, 'John', 'Smith')");
    AnsiString last = "x", first = "y";
    Po->GetEmployeeNames(7, last, first);
    EXPECT_EQ(std::string(last.c_str()) + "," + first.c_str(), "Smith,John");
    Po->GetEmployeeNames(8, last, first);
    EXPECT_EQ(std::string(last.c_str()) + "," + first.c_str(), ",");
    Exec("insert into PO_ITEM_JOB (PoItemJobNbr, PoItemNbr, PrintLabel) values (1, 20, 1), (2, 20, 1), (3, 20, 0)");
    EXPECT_EQ(Po->CountPrintLabelJobs(20), 2);
    EXPECT_EQ(Po->CountPrintLabelJobs(21), 0);
}

TEST_F(PoReading, ItemPriceKeepsTwoDecimalsWhateverTheCostDecimals) {
    Exec("insert into PO_DOC (PoNbr) values (30)");
    Exec("insert into PO_ITEM (PoItemNbr, PoNbr, Seq, Descr, UnitPrice, QtyOrdered) values (20, 30, 1, 'B', 1.234, 3)");
    Po->SetDecimals(0, 3);
    Reselect(Po->PoItemsQ, "select PI.*, PD.PrintExtDescr1, PD.PrintExtDescr2 from PO_ITEM PI, PO_DOC PD"
                           " where PI.PoNbr = PD.PoNbr and PI.PoNbr = 30 order by Seq");
    EXPECT_DOUBLE_EQ(Num(Po->PoItemsQ, "Price"), 3.7);
}

} // namespace
