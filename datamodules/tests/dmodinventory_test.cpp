#include "datamodules/DmodEmp.h"
#include "datamodules/DmodInventory.h"
#include "datamodules/DmodPo.h"
#include "datamodules/DmodVelm.h"

#include "ShopModuleTest.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class InventoryDmodTest : public ShopModuleTest {
protected:
    void SetUp() override {
        ShopModuleTest::SetUp();
        // Locations: building A, zone 01, bin 02, and the -99 "none" rows of the schema.
        Exec("insert into BUILDING values (1, 'A', 'Main');"
             "insert into ZONE values (11, 1, '01', 'North');"
             "insert into BIN values (21, 11, '02', 'Top');"
             "insert into INV_LOC (InvLocNbr, InvNbr, BuildingNbr, ZoneNbr, BinNbr) values"
             " (100, 1, 1, 11, 21), (101, 1, 1, -99, -99), (102, 1, 5, 11, 21);"
             "insert into INVENTORY_ITEM (InvNbr, Code, Descr, IDescr2, LibDivRef, LibSubDivRef,"
             "  LibItemRef, Inactive, InvTypeNbr, InvConvNbr) values"
             " (1, 'BOLT', 'Hex bolt', NULL, 1, 2, 3, 0, 7, NULL),"
             " (2, 'NUT', 'Nut', 'own', 1, 2, 4, 0, 7, NULL),"
             " (3, 'NUT2', 'Nut two', NULL, 1, 2, 4, 0, 7, NULL),"
             " (4, 'OLD', 'Old', NULL, 1, 2, 5, 1, 7, NULL);"
             "insert into INV_CONV values (8, '*', 12, NULL, NULL, '*', 2, NULL, NULL);"
             "insert into MAINT_REF values (1, 6, 'EA');"
             "insert into COMPANY (COMPANY_NBR, PUB, NAME, FNAME, PHONE_NBR) values"
             " (3, 'P', 'Acme', 'Joe', '5551234567'), (4, 'P', 'Bolts Inc', NULL, NULL);"
             "insert into EMPLOYEE (EmpNbr, Fname, Lname) values (1, 'Ann', 'Lee'), (2, 'Bob', "
             "'Ray');"
             "insert into JOBS (JobNbr, JobId, JobDescr) values (10, 'J-10', 'Tower'),"
             "  (9, 'J-09', 'Shed');"
             "insert into JOB_ITEM (JobItemNbr, JobNbr, ItemNbr, JobItemDescr) values"
             " (20, 10, 2, 'Frame'), (19, 9, 1, 'Roof');"
             "insert into WO (WoNbr, JobNbr, JobItemNbr, WoDescr) values (30, 10, 20, 'Cut steel');"
             "insert into PURCHASE_ORDER (POnbr, CompanyNbr, CompanyPub, POdt, EmpNbr, ReqByEmpNbr)"
             " values (50, 3, 'P', '2006/11/20', 1, 2);"
             "insert into PO_ITEM (PoItemNbr, PoNbr) values (55, 50);"
             "insert into PO_ITEM_JOB (PoItemJobNbr, PoItemNbr, QtyOrdered, QtyReceived, UnitPrice,"
             "  ShippingAmt, Visible) values (60, 55, 4, 2.125, 3.333, 2, 1),"
             "  (61, 55, 4, 1, 1, 0, 0);"
             "insert into INV_PIECE_TYPE values (3, 'Plate');"
             "insert into INV_PIECE (InvPieceNbr, InvNbr, InvLocNbr, PoItemNbr, MnfrSeqNbr,"
             "  PieceDescription, UomRef, InvPieceTypeNbr) values"
             " (70, 1, 100, 55, 'S-1', 'Offcut  ', 6, 3), (71, 1, 101, NULL, NULL, NULL, NULL, "
             "NULL);");
        Velm = new TVelmDmod(Owner);
        Emp = new TEmpDmod(Owner);
        Po = new TPoDmod(Owner);
        Dmod = new TInventoryDmod(Owner);
    }

    static AnsiString Text(TDataSet& Data, const char* Name) {
        return Data.FieldByName(Name)->AsString();
    }
    static double Float(TDataSet& Data, const char* Name) {
        return Data.FieldByName(Name)->AsFloat();
    }
    // The reservations of item 1 (the list's fixed selection): one made by
    // the purchase-order line 60, one by hand.
    void AddReservations() {
        Exec("insert into INV_RESERV (ReservationNbr, InvNbr, JobNbr, JobItemNbr, WoNbr,"
             "  PoItemJobNbr, Type, Picks, Returns, InitReserveCnt, CreateDt) values"
             " (1, 1, 10, 20, 30, 60, 1, 1.234, 0.5, 10.456, '2006/11/16'),"
             " (2, 1, 9, 19, NULL, NULL, 0, 0, 0, 3, NULL);");
        Dmod->SetDecimals(2, 2);
    }

    TVelmDmod* Velm = nullptr;
    TEmpDmod* Emp = nullptr;
    TPoDmod* Po = nullptr;
    TInventoryDmod* Dmod = nullptr;
};

TEST_F(InventoryDmodTest, FixedQueriesRunOnTheSchema) {
    ExpectQueriesRun(*Dmod,
                     {"ListBldgQuery", "ListZoneQuery", "ListBinQuery", "InvReservQ", "InvTransQ",
                      "InvListQ", "InvLocQ", "MatCardDailyQ", "InvCostQ", "User1PickQ",
                      "User2PickQ", "InvCatQ", "InvPieceTypeQ", "InvSupplierQ", "ListPieceQ",
                      "ListNoLocQ", "ListNoLocQ2", "InvReservMatCardQ", "ListInvPieceQ"});
}

TEST_F(InventoryDmodTest, KeyedLookupsLeaveTheirRowOnTheScratchQuery) {
    Dmod->SelectInventoryItem(1);
    EXPECT_EQ(Text(*Dmod->CommonSql, "Code"), "BOLT");
    EXPECT_EQ(Dmod->CommonSql->FieldByName("InvTypeNbr")->AsInteger(), 7);
    Dmod->SelectInventoryItem(99);
    EXPECT_TRUE(Dmod->CommonSql->Active());
    EXPECT_TRUE(Dmod->CommonSql->IsEmpty());

    Dmod->SelectInvConv(8);
    EXPECT_EQ(Text(*Dmod->CommonSql2, "QtyOperator"), "*");
    EXPECT_EQ(Dmod->SelectInvPiece(70), 1);
    EXPECT_EQ(Text(*Dmod->CommonSql, "MnfrSeqNbr"), "S-1");
    EXPECT_EQ(Dmod->SelectInvPiece(79), 0);
    Dmod->SelectInvPieceType(3);
    EXPECT_EQ(Text(*Dmod->CommonSql2, "Type"), "Plate");
    Dmod->SelectWoJobInfo(30);
    EXPECT_EQ(Text(*Dmod->CommonSql, "JobId"), "J-10");
    EXPECT_EQ(Text(*Dmod->CommonSql, "JobItemDescr"), "Frame");
    Dmod->SelectWoDescr(30);
    EXPECT_EQ(Text(*Dmod->CommonSql, "WoDescr"), "Cut steel");

    EXPECT_TRUE(Dmod->SelectPoItemJob(60));
    EXPECT_EQ(Dmod->CommonSql->FieldByName("POnbr")->AsInteger(), 50);
    EXPECT_FALSE(Dmod->SelectPoItemJob(61)) << "a hidden line is no line";
}

TEST_F(InventoryDmodTest, LibraryReferenceFindsOnlyASingleActiveItem) {
    struct Case {
        std::int16_t Div, Section, Item;
        int Expected;
    };
    const Case cases[] = {
        {1, 2, 3, 1},   // one active item
        {1, 2, 4, -99}, // two active items
        {1, 2, 5, -99}, // an inactive item only
        {9, 9, 9, -99}, // none
    };
    for (const Case& c : cases)
        EXPECT_EQ(Dmod->FindInventoryItemByLibRef(c.Div, c.Section, c.Item), c.Expected)
            << c.Div << "/" << c.Section << "/" << c.Item;
}

TEST_F(InventoryDmodTest, LocationTexts) {
    EXPECT_EQ(Dmod->GetBuildingText(1), "A - Main");
    EXPECT_EQ(Dmod->GetZoneText(11), "01 - North");
    EXPECT_EQ(Dmod->GetBinText(21), "02 - Top");
    EXPECT_EQ(Dmod->GetBuildingText(77), " - ");

    struct Case {
        int InvLocNbr;
        const char* Text;
    };
    const Case cases[] = {
        {100, "A-01-02"}, // building, zone and bin
        {101, "A"},       // zone and bin are the -99 rows
        {102, ""},        // its building row is missing
        {999, ""},        // no such location
    };
    for (const Case& c : cases)
        EXPECT_EQ(Dmod->GetLocationText(c.InvLocNbr), c.Text) << c.InvLocNbr;
}

TEST_F(InventoryDmodTest, ListsShowTheirPairedAndFallbackTexts) {
    // Buildings, their zones and bins, through the master-detail chain.
    Dmod->ListBldgQuery->Open();
    Dmod->ListZoneQuery->Open();
    Dmod->ListBinQuery->Open();
    EXPECT_EQ(Text(*Dmod->ListBldgQuery, "BandD"), "A - Main");
    EXPECT_EQ(Text(*Dmod->ListZoneQuery, "ZandD"), "01 - North");
    EXPECT_EQ(Text(*Dmod->ListBinQuery, "BandD"), "02 - Top");

    TQuery& locations = *Dmod->InvLocQ;
    locations.Params()[0]->SetAsInteger(1);
    locations.Open();
    std::vector<std::vector<AnsiString>> shown;
    for (; !locations.Eof(); locations.Next())
        shown.push_back(
            {Text(locations, "Building"), Text(locations, "Zone"), Text(locations, "Bin")});
    const std::vector<std::vector<AnsiString>> expected = {{"A - Main", "01 - North", "02 - Top"},
                                                           {"A - Main", "", ""},
                                                           {" - ", "01 - North", "02 - Top"}};
    EXPECT_EQ(shown, expected);

    Exec("insert into DIVISION values (1, 'D1', 'Metals');"
         "insert into SECT values (2, 1, 'S2', 'Fasteners');"
         "insert into LIB_ITEM (DIV_NBR, SECTION_NBR, ITEM_NBR, DESCRIPTION, DESCR2) values"
         " (1, 2, 4, 'Library nut', 'lib two');");
    TQuery& items = *Dmod->InvListQ;
    items.Open();
    ASSERT_EQ(items.RecordCount(), 0) << "items without a location are not listed";
    Exec("insert into INV_LOC (InvLocNbr, InvNbr, BuildingNbr, ZoneNbr, BinNbr) values"
         " (103, 2, 1, -99, -99);");
    items.Close();
    items.Open();
    ASSERT_EQ(items.RecordCount(), 1);
    EXPECT_EQ(Text(items, "DispDesc"), "Nut");
    EXPECT_EQ(Text(items, "DispDesc2"), "own");
    EXPECT_EQ(Text(items, "DispDesc3"), "");
}

TEST_F(InventoryDmodTest, BalanceCostsAndDates) {
    Exec("insert into INV_BALANCE (InvNbr, UnitCost, TotalCost, MatCost, LaborCost, Ts) values"
         " (1, 12.5, 7, 0.1234, 1.5, '2006/11/16 10:00:00'), (1, 1, 1, 1, 1, NULL);");
    TQuery& q = *Dmod->InvCostQ;
    q.Params()[0]->SetAsInteger(1);

    struct Case {
        int CostDecimals;
        const char* Unit;
        const char* Total;
        const char* Mat;
    };
    const Case cases[] = {{3, "$12.50", "$7.00", "$0.123"}, {0, "$13.00", "$7.00", "$0.00"}};
    for (const Case& c : cases) {
        Dmod->SetDecimals(0, c.CostDecimals);
        q.Close();
        q.Open(); // a NULL time stamp sorts first
        EXPECT_EQ(Text(q, "Date"), "");
        q.Next();
        EXPECT_EQ(Text(q, "Date"), "16/11/06");
        EXPECT_EQ(Text(q, "UnitCostString"), c.Unit);
        EXPECT_EQ(Text(q, "TotalCostString"), c.Total);
        EXPECT_EQ(Text(q, "MatCostString"), c.Mat);
    }
}

TEST_F(InventoryDmodTest, TransactionsShowTheirContext) {
    Exec("insert into INVENTORY_TRANS (InvTransNbr, InvNbr, EmpNbr, InvTransTypeNbr, WoNbr,"
         "  PoItemNbr, InvLocNbr, InvPieceNbr, CompanyNbr, CompanyPub, TransDt, ItemValueBef,"
         "  ItemValueAft, Notes) values"
         " (1, 1, 1, 0, 30, 55, 100, 70, 3, 'P', '2006/11/16', 5, 10.25, 'first'),"
         " (2, 1, 1, 31, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 1, NULL, NULL),"
         " (3, 1, 1, 32, NULL, NULL, NULL, 71, 4, 'P', NULL, NULL, 1, NULL),"
         " (4, 1, 1, -1, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL);");
    Dmod->SetDecimals(0, 2);
    TQuery& q = *Dmod->InvTransQ;
    q.SQL()->Add("where I.EmpNbr = E.EmpNbr order by InvTransNbr");
    q.Open();
    ASSERT_EQ(q.RecordCount(), 4);

    EXPECT_EQ(Text(q, "TypeLiteral"), "PO Received");
    EXPECT_EQ(Text(q, "JobId"), "J-10");
    EXPECT_EQ(Text(q, "WoDescr"), "Cut steel");
    EXPECT_EQ(q.FieldByName("PoNbr")->AsInteger(), 50);
    EXPECT_EQ(Text(q, "Location"), "A-01-02");
    EXPECT_EQ(Text(q, "InvPieceDescr"), "S-1   Offcut  ");
    EXPECT_EQ(Text(q, "NAME"), "Joe Acme");
    EXPECT_EQ(Text(q, "TransDtString"), "16/11/06");
    EXPECT_EQ(Text(q, "NetEffectToShow"), "5.25");
    EXPECT_EQ(Text(q, "GridNotes"), "first");

    q.Next();
    EXPECT_EQ(Text(q, "TypeLiteral"), "Inventory item changed to active");
    EXPECT_EQ(Text(q, "TransDtString"), "  /  /  ");
    EXPECT_EQ(Text(q, "NetEffectToShow"), "unavailable");
    EXPECT_TRUE(q.FieldByName("PoNbr")->IsNull());
    EXPECT_TRUE(q.FieldByName("Location")->IsNull());

    q.Next(); // a piece with neither sequence nor description; a company without a first name
    EXPECT_EQ(Text(q, "TypeLiteral"), "Unknown Transaction");
    EXPECT_EQ(Text(q, "InvPieceDescr"), "");
    EXPECT_EQ(Text(q, "NAME"), "Bolts Inc");
    EXPECT_EQ(Text(q, "NetEffectToShow"), "1.00");
    q.Next();
    EXPECT_EQ(Text(q, "TypeLiteral"), "Unknown Transaction");
}

TEST_F(InventoryDmodTest, PurchaseOrderReservationShowsOrderVendorAndPeople) {
    AddReservations();
    TQuery& q = *Dmod->InvReservQ;
    q.Open();
    ASSERT_EQ(q.FieldByName("ReservationNbr")->AsInteger(), 1);
    EXPECT_EQ(Text(q, "ShowType"), "PO");
    EXPECT_DOUBLE_EQ(Float(q, "QtyOrdered"), 10.46);
    EXPECT_DOUBLE_EQ(Float(q, "QtyUsed"), 1.23);
    EXPECT_DOUBLE_EQ(Float(q, "ShowReturns"), 0.5);
    EXPECT_DOUBLE_EQ(Float(q, "QtyReceived"), 2.13);
    EXPECT_EQ(q.FieldByName("POnbr")->AsInteger(), 50);
    EXPECT_EQ(Text(q, "date"), "20/11/06");
    // 2.00 shipping over 4 ordered, plus 3.333 rounded to 3.33.
    EXPECT_DOUBLE_EQ(Float(q, "UnitPrice"), 3.83);
    EXPECT_EQ(q.FieldByName("CompanyNbr")->AsInteger(), 3);
    EXPECT_EQ(Text(q, "CompanyPub"), "P");
    EXPECT_EQ(Text(q, "Vendor"), "Joe Acme");
    EXPECT_EQ(Text(q, "EmpName"), "Ann Lee");
    EXPECT_EQ(Text(q, "ReqName"), "Bob Ray");
    EXPECT_EQ(q.FieldByName("ShowNbr")->AsInteger(), 2);
    EXPECT_EQ(Text(q, "ShowDescr"), "Frame");
    EXPECT_EQ(Text(q, "WoDescr"), "Cut steel");
    EXPECT_EQ(Text(q, "ShortCreateDt"), "16/11/06");
    // No conversion: whole quantities of the ordering unit.
    EXPECT_DOUBLE_EQ(Float(q, "ShowQtyOrdered"), 10.0);
    EXPECT_DOUBLE_EQ(Float(q, "ShowQtyReceived"), 2.0);
    EXPECT_DOUBLE_EQ(Float(q, "ShowUnitPrice"), 3.83);

    q.Next(); // by hand
    EXPECT_EQ(Text(q, "ShowType"), "Manual");
    EXPECT_EQ(Text(q, "date"), "  /  /  ");
    EXPECT_EQ(Text(q, "ShortCreateDt"), "  /  /  ");
    EXPECT_EQ(q.FieldByName("POnbr")->AsInteger(), 0);
    EXPECT_EQ(Text(q, "Vendor"), "");
    EXPECT_EQ(Text(q, "ReqName"), "");
    EXPECT_DOUBLE_EQ(Float(q, "UnitPrice"), 0.0);
    EXPECT_TRUE(q.FieldByName("WoDescr")->IsNull());
}

TEST_F(InventoryDmodTest, ReservationQuantitiesFollowTheItemsConversion) {
    AddReservations();
    Exec("update INVENTORY_ITEM set InvConvNbr = 8 where InvNbr = 1;"
         "update PO_ITEM_JOB set QtyOrdered = 0 where PoItemJobNbr = 60;");
    TQuery& q = *Dmod->InvReservQ;
    q.Open();
    // 10.46 x 12 = 125.52 and 2.13 x 12 = 25.56, whole; the price without a
    // quantity to spread the shipping over is the unit price alone, x 2.
    EXPECT_DOUBLE_EQ(Float(q, "ShowQtyOrdered"), 126.0);
    EXPECT_DOUBLE_EQ(Float(q, "ShowQtyReceived"), 26.0);
    EXPECT_DOUBLE_EQ(Float(q, "QtyUsed"), 15.0);
    EXPECT_DOUBLE_EQ(Float(q, "ShowReturns"), 6.0);
    EXPECT_DOUBLE_EQ(Float(q, "UnitPrice"), 3.33);
    EXPECT_DOUBLE_EQ(Float(q, "ShowUnitPrice"), 6.66);
    // The ordering-unit figures keep their decimals.
    EXPECT_DOUBLE_EQ(Float(q, "QtyOrdered"), 10.46);
}

TEST_F(InventoryDmodTest, PiecesSuppliersAndDailyCardTexts) {
    TQuery& pieces = *Dmod->ListPieceQ;
    pieces.SQL()->Add("order by InvPieceNbr");
    pieces.Open();
    EXPECT_EQ(Text(pieces, "uom"), "EA");
    EXPECT_EQ(Text(pieces, "Location"), "A-01-02");
    EXPECT_EQ(Text(pieces, "PieceType"), "Plate");
    EXPECT_EQ(pieces.FieldByName("PoNumber")->AsInteger(), 50);
    pieces.Next();
    EXPECT_EQ(Text(pieces, "uom"), "");
    EXPECT_EQ(Text(pieces, "Location"), "A");
    EXPECT_EQ(Text(pieces, "PieceType"), "");
    EXPECT_EQ(pieces.FieldByName("PoNumber")->AsInteger(), -99) << "no test for a NULL item";

    TQuery& allPieces = *Dmod->ListInvPieceQ;
    allPieces.SQL()->Add("where P.InvNbr = I.InvNbr order by InvPieceNbr");
    allPieces.Open();
    EXPECT_EQ(Text(allPieces, "MainDescr"), "Offcut,  Hex bolt");
    EXPECT_EQ(allPieces.FieldByName("PoNumber")->AsInteger(), 50);
    allPieces.Next();
    EXPECT_EQ(Text(allPieces, "MainDescr"), "Hex bolt");
    EXPECT_TRUE(allPieces.FieldByName("PoNumber")->IsNull());

    Exec("insert into INV_NEED_LOC (NeedLocNbr, InvNbr, InvPieceTypeNbr, UomRef) values"
         " (1, 1, 3, 6);"
         "insert into INV_SUPPLIER (InvNbr, COMPANY_NBR, COMPANY_PUB, QUOTE_DATE) values"
         " (1, 3, 'P', '2006/11/16'), (1, 4, 'P', NULL);"
         "insert into INVENTORY_TRANS (InvNbr, EmpNbr, InvTransTypeNbr, WoNbr, InvLocNbr,"
         "  TransDt, Ts) values (1, 6, 1, 30, 100, '2006/11/16', '2006/11/16 09:00:00'),"
         "  (1, 6, 2, 30, 100, '2006/11/16', '2006/11/16 10:00:00');"
         "update INVENTORY_ITEM set StockUomRef = 6 where InvNbr = 1;");
    Dmod->ListNoLocQ->Open();
    EXPECT_EQ(Text(*Dmod->ListNoLocQ, "piecetype"), "Plate");
    EXPECT_EQ(Text(*Dmod->ListNoLocQ, "uom"), "EA");
    Dmod->ListNoLocQ2->Open();
    EXPECT_EQ(Text(*Dmod->ListNoLocQ2, "uom"), "EA");

    TQuery& suppliers = *Dmod->InvSupplierQ;
    suppliers.Params()[0]->SetAsInteger(1);
    suppliers.Open(); // by name: Acme, then Bolts Inc
    EXPECT_EQ(Text(suppliers, "Qdate"), "16/11/06");
    EXPECT_EQ(Text(suppliers, "Phone"), "") << "phone preference 0 shows no phone";
    suppliers.Next();
    EXPECT_EQ(Text(suppliers, "Qdate"), "");

    TQuery& card = *Dmod->MatCardDailyQ;
    card.Open();
    ASSERT_EQ(card.RecordCount(), 2);
    EXPECT_EQ(Text(card, "Direction"), "Pick");
    EXPECT_EQ(Text(card, "UOM"), "EA");
    EXPECT_EQ(Text(card, "CodeDescr"), "BOLT - Hex bolt");
    card.Next();
    EXPECT_EQ(Text(card, "Direction"), "Return");
}

} // namespace
