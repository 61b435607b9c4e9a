// The inventory data module read through its lookups and list queries on a
// real shop database: keyed lookups and location texts, the reservation
// figures with and without a unit conversion, the transaction texts and the
// balance cost texts.
#include "datamodules/DmodInventory.h"
#include "datamodules/ShopDataModules.h"
#include "ShopModuleTest.h"

#include "platform/data/Field.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

class InvReading : public ShopModuleTest {
protected:
    void SetUp() override {
        ShopModuleTest::SetUp();
        Inv = CreateShopDataModules(Owner).Inventory;
    }
    static std::string Text(const TQuery* Q, const char* Name) {
        return Q->FieldByName(Name)->AsString().c_str();
    }
    static double Num(const TQuery* Q, const char* Name) { return Q->FieldByName(Name)->AsFloat(); }
    TInventoryDmod* Inv = nullptr;
};

TEST_F(InvReading, LookupsByKey) {
    Exec("insert into INVENTORY_ITEM (InvNbr, LibDivRef, LibSubDivRef, LibItemRef, Inactive) values"
         " (1, 1, 1, 1, 0), (2, 1, 1, 2, 0), (3, 1, 1, 2, 0), (4, 1, 1, 3, 1), (5, 1, 1, 3, 0)");
    struct Lib {
        int Item, Expected;
    };
    for (const Lib& c : std::vector<Lib>{{1, 1}, {2, -99}, {3, 5}, {9, -99}}) {
        SCOPED_TRACE(c.Item);
        EXPECT_EQ(Inv->FindInventoryItemByLibRef(1, 1, c.Item), c.Expected);
    }

    Exec("insert into BUILDING (BuildingNbr, Building, Descr) values (1, 'A', 'Main')");
    Exec("insert into ZONE (ZoneNbr, BuildingNbr, Zone, Descr) values (2, 1, '01', 'North')");
    Exec("insert into BIN (BinNbr, ZoneNbr, Bin, Descr) values (3, 2, '02', 'Top')");
    // The "none" rows carry texts that must not show.
    Exec("update ZONE set Zone = 'X' where ZoneNbr = -99");
    Exec("update BIN set Bin = 'Y' where BinNbr = -99");
    Exec("insert into INV_LOC (InvLocNbr, InvNbr, BuildingNbr, ZoneNbr, BinNbr) values"
         " (10, 1, 1, 2, 3), (11, 1, 1, -99, -99), (12, 1, 1, 2, 77), (13, 1, 1, 2, -99)");
    struct Loc {
        int InvLocNbr;
        const char* Text;
    };
    for (const Loc& c : std::vector<Loc>{{10, "A-01-02"}, {11, "A"}, {12, ""}, {13, "A-01"}, {99, ""}}) {
        SCOPED_TRACE(c.InvLocNbr);
        EXPECT_EQ(std::string(Inv->GetLocationText(c.InvLocNbr).c_str()), c.Text);
    }
    EXPECT_EQ(std::string(Inv->GetBuildingText(1).c_str()), "A - Main");
    EXPECT_EQ(std::string(Inv->GetZoneText(2).c_str()), "01 - North");
    EXPECT_EQ(std::string(Inv->GetBinText(3).c_str()), "02 - Top");
    EXPECT_EQ(std::string(Inv->GetBinText(55).c_str()), " - ");

    Exec("insert into INV_PIECE (InvPieceNbr, InvNbr) values (8, 1)");
    EXPECT_EQ(Inv->SelectInvPiece(8), 1);
    EXPECT_EQ(Inv->SelectInvPiece(9), 0);
    Exec("insert into PO_ITEM_JOB (PoItemJobNbr, PoItemNbr, Visible) values (1, 2, 1), (2, 2, 0)");
    Exec("insert into PO_ITEM (PoItemNbr, PoNbr) values (2, 3)");
    Exec("insert into PURCHASE_ORDER (POnbr) values (3)");
    EXPECT_TRUE(Inv->SelectPoItemJob(1));
    EXPECT_FALSE(Inv->SelectPoItemJob(2));
    Inv->SelectInventoryItem(99);
    EXPECT_TRUE(Inv->CommonSql->Active());
    EXPECT_EQ(Inv->CommonSql->RecordCount(), 0);
}

TEST_F(InvReading, ReservationFiguresFromTheOrderAndTheStockUnit) {
    Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (7, 'Ann', 'Lee'), (8, 'Bo', 'Ma')");
    Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME, FNAME) values (5, 'P', 'Acme', 'Bob')");
    Exec("insert into JOBS (JobNbr, JobId) values (40, 'J2'), (50, 'J1')");
    Exec("insert into JOB_ITEM (JobItemNbr, JobNbr, ItemNbr, JobItemDescr) values (41, 40, 3, 'Lid'), (51, 50, 4, 'Box')");
    Exec("insert into WO (WoNbr, JobNbr, JobItemNbr, WoDescr) values (42, 40, 41, 'Weld lid')");
    Exec("insert into PURCHASE_ORDER (POnbr, POdt, CompanyNbr, CompanyPub, EmpNbr, ReqByEmpNbr) values"
         " (30, '2006/11/16', 5, 'P', 7, 8)");
    Exec("insert into PO_ITEM (PoItemNbr, PoNbr) values (20, 30)");
    Exec("insert into PO_ITEM_JOB (PoItemJobNbr, PoItemNbr, QtyOrdered, QtyReceived, UnitPrice,"
         " ShippingAmt, Visible) values (10, 20, 4, 1.236, 2.3456, 1, 1)");
    Exec("insert into INVENTORY_ITEM (InvNbr, Code) values (1, 'BOLT')");
    Exec("insert into INV_RESERV (ReservationNbr, InvNbr, JobNbr, JobItemNbr, WoNbr, PoItemJobNbr, Type,"
         " Picks, Returns, InitReserveCnt, CreateDt) values"
         " (1, 1, 40, 41, 42, 10, 1, 1.004, 0.5, 2.456, '2006/11/16'),"
         " (2, 1, 50, 51, NULL, NULL, 0, 0, 0, 3, NULL)");
    Inv->SetDecimals(2, 2);
    auto* q = Inv->InvReservQ;
    q->Open();
    ASSERT_EQ(q->RecordCount(), 2);
    EXPECT_EQ(Text(q, "ShowType"), "PO");
    EXPECT_DOUBLE_EQ(Num(q, "QtyOrdered"), 2.46);
    EXPECT_DOUBLE_EQ(Num(q, "ShowQtyOrdered"), 2);
    EXPECT_DOUBLE_EQ(Num(q, "QtyUsed"), 1.0);
    EXPECT_DOUBLE_EQ(Num(q, "ShowReturns"), 0.5);
    EXPECT_DOUBLE_EQ(Num(q, "QtyReceived"), 1.24);
    EXPECT_DOUBLE_EQ(Num(q, "ShowQtyReceived"), 1);
    EXPECT_DOUBLE_EQ(Num(q, "UnitPrice"), 2.6);
    EXPECT_DOUBLE_EQ(Num(q, "ShowUnitPrice"), 2.6);
    EXPECT_EQ(q->FieldByName("POnbr")->AsInteger(), 30);
    EXPECT_EQ(Text(q, "date"), "16/11/06");
    EXPECT_EQ(Text(q, "ShortCreateDt"), "16/11/06");
    EXPECT_EQ(q->FieldByName("CompanyNbr")->AsInteger(), 5);
    EXPECT_EQ(Text(q, "CompanyPub"), "P");
    EXPECT_EQ(Text(q, "Vendor"), "Bob Acme");
    EXPECT_EQ(Text(q, "EmpName"), "Ann Lee");
    EXPECT_EQ(Text(q, "ReqName"), "Bo Ma");
    EXPECT_EQ(q->FieldByName("ShowNbr")->AsInteger(), 3);
    EXPECT_EQ(Text(q, "ShowDescr"), "Lid");
    EXPECT_EQ(Text(q, "WoDescr"), "Weld lid");
    q->Next();
    EXPECT_EQ(Text(q, "ShowType"), "Manual");
    EXPECT_EQ(Text(q, "date"), "  /  /  ");
    EXPECT_EQ(Text(q, "ShortCreateDt"), "  /  /  ");
    EXPECT_DOUBLE_EQ(Num(q, "ShowUnitPrice"), 0);
    EXPECT_EQ(q->FieldByName("POnbr")->AsInteger(), 0);
    EXPECT_EQ(Text(q, "Vendor"), "");
    EXPECT_EQ(Text(q, "EmpName"), "");
    EXPECT_EQ(Text(q, "WoDescr"), "");

    // In the item's stock unit: twelve per ordering unit.
    Exec("insert into INV_CONV (InvConvNbr, QtyOperator, QtyFactor, QtyRounding, QtyPrecision,"
         " CostOperator, CostFactor, CostRounding, CostPrecision) values (1, '*', 12, '', 2, '/', 12, '', 2)");
    Exec("update INVENTORY_ITEM set InvConvNbr = 1");
    q->Close();
    q->Open();
    EXPECT_DOUBLE_EQ(Num(q, "ShowQtyOrdered"), 30);
    EXPECT_DOUBLE_EQ(Num(q, "QtyOrdered"), 2.46);
    EXPECT_DOUBLE_EQ(Num(q, "ShowQtyReceived"), 15);
    EXPECT_DOUBLE_EQ(Num(q, "QtyUsed"), 12);
    EXPECT_DOUBLE_EQ(Num(q, "ShowReturns"), 6);
    EXPECT_DOUBLE_EQ(Num(q, "ShowUnitPrice"), 0.22);
}

TEST_F(InvReading, ReservationOfAnOrderWithoutQuantityHasAFinitePrice) {
    Exec("insert into JOBS (JobNbr, JobId) values (40, 'J2')");
    Exec("insert into JOB_ITEM (JobItemNbr, JobNbr, ItemNbr) values (41, 40, 3)");
    Exec("insert into PURCHASE_ORDER (POnbr) values (30)");
    Exec("insert into PO_ITEM (PoItemNbr, PoNbr) values (20, 30)");
    Exec("insert into PO_ITEM_JOB (PoItemJobNbr, PoItemNbr, QtyOrdered, UnitPrice, ShippingAmt, Visible)"
         " values (10, 20, 0, 2.5, 1, 1)");
    Exec("insert into INVENTORY_ITEM (InvNbr) values (1)");
    Exec("insert into INV_RESERV (ReservationNbr, InvNbr, JobNbr, JobItemNbr, PoItemJobNbr, Type)"
         " values (1, 1, 40, 41, 10, 1), (2, 1, 40, 41, 99, 1)");
    Inv->SetDecimals(2, 2);
    Inv->InvReservQ->Open();
    for (int row = 0; row < 2; ++row) {
        SCOPED_TRACE(row);
        EXPECT_TRUE(std::isfinite(Num(Inv->InvReservQ, "UnitPrice")));
        EXPECT_TRUE(std::isfinite(Num(Inv->InvReservQ, "ShowUnitPrice")));
        Inv->InvReservQ->Next();
    }
}

TEST_F(InvReading, TransactionTexts) {
    Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (7, 'Ann', 'Lee')");
    Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME, FNAME) values (5, 'P', 'Acme', NULL)");
    Exec("insert into BUILDING (BuildingNbr, Building, Descr) values (1, 'A', 'Main')");
    Exec("insert into INV_LOC (InvLocNbr, BuildingNbr, ZoneNbr, BinNbr) values (10, 1, -99, -99)");
    Exec("insert into INV_PIECE (InvPieceNbr, MnfrSeqNbr, PieceDescription) values (8, 'S1', 'Red'), (9, NULL, 'Blue')");
    Exec("insert into PURCHASE_ORDER (POnbr) values (30)");
    Exec("insert into PO_ITEM (PoItemNbr, PoNbr) values (20, 30)");
    Exec("insert into JOBS (JobNbr, JobId, JobDescr) values (40, 'J2', 'Tank')");
    Exec("insert into JOB_ITEM (JobItemNbr, JobNbr, ItemNbr, JobItemDescr) values (41, 40, 3, 'Lid')");
    Exec("insert into WO (WoNbr, JobNbr, JobItemNbr, WoDescr) values (42, 40, 41, 'Weld lid')");
    Exec("insert into INVENTORY_TRANS (InvTransNbr, InvTransTypeNbr, TransDt, ItemValueBef, ItemValueAft,"
         " WoNbr, PoItemNbr, InvLocNbr, InvPieceNbr, CompanyNbr, CompanyPub, Notes) values"
         " (1, 0, '2006/11/16', 10, 12.345, 42, 20, 10, 8, 5, 'P', 'note'),"
         " (2, 16, NULL, 10, NULL, NULL, NULL, NULL, 9, NULL, NULL, NULL),"
         " (3, 31, NULL, NULL, 1.5, 0, 99, NULL, NULL, NULL, NULL, NULL),"
         " (4, 32, NULL, 1, 1, NULL, NULL, NULL, NULL, NULL, NULL, NULL),"
         " (5, -1, NULL, 0, 0, NULL, NULL, NULL, NULL, NULL, NULL, NULL)");
    Inv->SetDecimals(2, 2);
    struct Row {
        const char *Type, *Date, *Net, *JobId, *WoDescr, *Location, *Piece, *Name;
        int PoNbr;
    };
    const std::vector<Row> Expected = {
        {"PO Received", "16/11/06", "2.35", "J2", "Weld lid", "A", "S1   Red", "Acme", 30},
        {"Reservation Reassign/Reduced/Increased", "  /  /  ", "unavailable", "", "", "", "Blue", "", 0},
        {"Inventory item changed to active", "  /  /  ", "1.50", "", "", "", "", "", 0},
        {"Unknown Transaction", "  /  /  ", "0.00", "", "", "", "", "", 0},
        {"Unknown Transaction", "  /  /  ", "0.00", "", "", "", "", "", 0},
    };
    auto* q = Inv->InvTransQ;
    q->Open();
    ASSERT_EQ(q->RecordCount(), 5);
    for (const Row& r : Expected) {
        SCOPED_TRACE(q->FieldByName("InvTransNbr")->AsInteger());
        EXPECT_EQ(Text(q, "TypeLiteral"), r.Type);
        EXPECT_EQ(Text(q, "TransDtString"), r.Date);
        EXPECT_EQ(Text(q, "NetEffectToShow"), r.Net);
        EXPECT_EQ(Text(q, "JobId"), r.JobId);
        EXPECT_EQ(Text(q, "WoDescr"), r.WoDescr);
        EXPECT_EQ(Text(q, "Location"), r.Location);
        EXPECT_EQ(Text(q, "InvPieceDescr"), r.Piece);
        EXPECT_EQ(Text(q, "NAME"), r.Name);
        EXPECT_EQ(q->FieldByName("PoNbr")->AsInteger(), r.PoNbr);
        q->Next();
    }
}

TEST_F(InvReading, BalanceAndSupplierTexts) {
    Exec("insert into INV_BALANCE (InvBalNbr, InvNbr, UnitCost, TotalCost, MatCost, LaborCost, Ts) values"
         " (1, 1, 12.5, 7, 0.125, NULL, '2006/11/16 10:00:00')");
    struct Case {
        int Decimals;
        const char *Unit, *Total;
    };
    for (const Case& c : std::vector<Case>{{3, "$12.50", "$7.00"}, {0, "$13.00", "$7.00"}, {2, "$12.50", "$7.00"}}) {
        SCOPED_TRACE(c.Decimals);
        Inv->SetDecimals(0, c.Decimals);
        Inv->InvCostQ->Close();
        Inv->InvCostQ->ParamByName("a")->SetAsInteger(1);
        Inv->InvCostQ->Open();
        EXPECT_EQ(Text(Inv->InvCostQ, "UnitCostString"), c.Unit);
        EXPECT_EQ(Text(Inv->InvCostQ, "TotalCostString"), c.Total);
        EXPECT_EQ(Text(Inv->InvCostQ, "Date"), "16/11/06");
    }

    Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME, PHONE_NBR) values (5, 'P', 'Acme', '5551234567')");
    Exec("insert into INV_SUPPLIER (InvSupplierNbr, InvNbr, COMPANY_NBR, COMPANY_PUB, QUOTE_DATE) values"
         " (1, 1, 5, 'P', NULL)");
    Inv->InvSupplierQ->ParamByName("a")->SetAsInteger(1);
    Inv->InvSupplierQ->Open();
    EXPECT_EQ(Text(Inv->InvSupplierQ, "Qdate"), "");
    EXPECT_EQ(Text(Inv->InvSupplierQ, "Phone"), "");
}

TEST_F(InvReading, PieceListTexts) {
    Exec("insert into INVENTORY_ITEM (InvNbr, Descr) values (1, 'Plate  ')");
    Exec("insert into INV_PIECE_TYPE (InvPieceTypeNbr, Type) values (2, 'Offcut')");
    Exec("insert into PURCHASE_ORDER (POnbr) values (30)");
    Exec("insert into PO_ITEM (PoItemNbr, PoNbr) values (20, 30)");
    Exec("insert into INV_PIECE (InvPieceNbr, InvNbr, PieceDescription, InvPieceTypeNbr, PoItemNbr) values"
         " (8, 1, 'Red  ', 2, 20), (9, 1, NULL, NULL, NULL), (10, 1, NULL, NULL, 99)");
    auto* q = Inv->ListInvPieceQ;
    q->Open();
    ASSERT_EQ(q->RecordCount(), 3);
    EXPECT_EQ(Text(q, "MainDescr"), "Red,  Plate");
    EXPECT_EQ(Text(q, "PieceType"), "Offcut");
    EXPECT_EQ(q->FieldByName("PoNumber")->AsInteger(), 30);
    q->Next();
    EXPECT_EQ(Text(q, "MainDescr"), "Plate  ");
    EXPECT_EQ(Text(q, "PieceType"), "");
    EXPECT_TRUE(q->FieldByName("PoNumber")->IsNull());
    q->Next();
    EXPECT_TRUE(q->FieldByName("PoNumber")->IsNull());

    Inv->ListPieceQ->Open();
    Inv->ListPieceQ->Last();
    EXPECT_EQ(Inv->ListPieceQ->FieldByName("PoNumber")->AsInteger(), -99);
}

TEST_F(InvReading, LocationAndItemListTexts) {
    Exec("insert into BUILDING (BuildingNbr, Building, Descr) values (1, 'A', 'Main')");
    Exec("insert into ZONE (ZoneNbr, BuildingNbr, Zone, Descr) values (2, 1, '01', 'North')");
    Exec("insert into INV_LOC (InvLocNbr, InvNbr, BuildingNbr, ZoneNbr, BinNbr) values"
         " (10, 1, 1, 2, -99), (11, 1, 1, NULL, NULL)");
    auto* loc = Inv->InvLocQ;
    loc->ParamByName("a")->SetAsInteger(1);
    loc->Open();
    ASSERT_EQ(loc->RecordCount(), 2);
    for (const char* zone : {"01 - North", ""}) {
        EXPECT_EQ(Text(loc, "Building"), "A - Main");
        EXPECT_EQ(Text(loc, "Zone"), zone);
        EXPECT_EQ(Text(loc, "Bin"), "");
        loc->Next();
    }

    Exec("insert into DIVISION (DIV_NBR, CODE, HEADING) values (1, 'D', 'Div')");
    Exec("insert into SECT (DIV_NBR, SECTION_NBR, CODE, HEADING) values (1, 1, 'S', 'Sect')");
    Exec("insert into LIB_ITEM (DIV_NBR, SECTION_NBR, ITEM_NBR, DESCRIPTION, DESCR2) values"
         " (1, 1, 1, 'Lib one', 'Lib two')");
    Exec("insert into INVENTORY_ITEM (InvNbr, LibDivRef, LibSubDivRef, LibItemRef, Descr, IDescr2)"
         " values (1, 1, 1, 1, NULL, 'Own two')");
    Inv->InvListQ->Open();
    ASSERT_GE(Inv->InvListQ->RecordCount(), 1);
    EXPECT_EQ(Text(Inv->InvListQ, "DispDesc"), "Lib one");
    EXPECT_EQ(Text(Inv->InvListQ, "DispDesc2"), "Own two");
}

TEST_F(InvReading, BalanceWithoutATimeOpens) {
    Exec("insert into INV_BALANCE (InvBalNbr, InvNbr, UnitCost, Ts) values (1, 1, 1, NULL)");
    Inv->InvCostQ->ParamByName("a")->SetAsInteger(1);
    Inv->InvCostQ->Open();
    EXPECT_EQ(Inv->InvCostQ->RecordCount(), 1);
    EXPECT_EQ(Text(Inv->InvCostQ, "UnitCostString"), "$1.00");
}

TEST_F(InvReading, EveryTransactionTypeHasItsText) {
    const std::vector<const char*> Names = {
        "PO Received", "Pick From Inventory", "Return To Inventory", "Return To Supplier",
        "Finished Product Added", "Finished Product Shipped", "Finished Product Returned",
        "Transfer In", "Transfer Out", "Adjustment", "Initial Inventory Add", "PO Cut", "Cancel PO",
        "Manual adjustment OH, New Piece Item", "Manual Reservation Created", "Reservation Deleted",
        "Reservation Reassign/Reduced/Increased", "Modify On Order Reserve Qty",
        "Post Receive Adjustment", "PO Status moved to Pending", "PO Deleted after Post, in Open status",
        "Auto Pick generated", "Auto Pick failure", "Material Shipped", "PCDC Pick failure",
        "PCDC Return failure", "Piece Item Qty/Cost adjustment", "Cost adjustment to Balance record",
        "UOM modified", "PO Reconciliation Cost Ajustment", "Inventory item changed to inactive",
        "Inventory item changed to active"};
    Exec("insert into EMPLOYEE (EmpNbr) values (7)");
    for (int code = 0; code < 32; ++code)
        Exec("insert into INVENTORY_TRANS (InvTransNbr, InvTransTypeNbr) values (" +
             std::to_string(code + 1) + ", " + std::to_string(code) + ")");
    auto* q = Inv->InvTransQ;
    q->Close();
    q->SQL()->Add("order by InvTransNbr");
    q->Open();
    ASSERT_EQ(q->RecordCount(), 32);
    for (const char* name : Names) {
        EXPECT_EQ(Text(q, "TypeLiteral"), name);
        q->Next();
    }
}

TEST_F(InvReading, NetEffectIsTheSinglePrecisionDifference) {
    Exec("insert into EMPLOYEE (EmpNbr) values (7)");
    Exec("insert into INVENTORY_TRANS (InvTransNbr, ItemValueBef, ItemValueAft, Notes) values (1, 0.1, 0.3, '" +
         std::string(300, 'n') + "')");
    Inv->SetDecimals(0, 9);
    Inv->InvTransQ->Open();
    EXPECT_EQ(Text(Inv->InvTransQ, "NetEffectToShow"), "0.200000003");
    EXPECT_EQ(Text(Inv->InvTransQ, "GridNotes"), std::string(255, 'n'));
}

TEST_F(InvReading, LongTextsAreCutToTheirFieldSizes) {
    Exec("insert into EMPLOYEE (EmpNbr) values (7)");
    Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME, FNAME) values (5, 'P', '" + std::string(60, 'N') +
         "', '" + std::string(40, 'F') + "')");
    Exec("insert into BUILDING (BuildingNbr, Building) values (1, 'ABCD')");
    Exec("insert into ZONE (ZoneNbr, Zone) values (2, '01')");
    Exec("insert into BIN (BinNbr, Bin) values (3, '02')");
    Exec("insert into INV_LOC (InvLocNbr, BuildingNbr, ZoneNbr, BinNbr) values (10, 1, 2, 3)");
    Exec("insert into INV_PIECE (InvPieceNbr, MnfrSeqNbr, PieceDescription) values (8, '" + std::string(30, 'S') +
         "', '" + std::string(80, 'D') + "')");
    Exec("insert into INVENTORY_TRANS (InvTransNbr, InvLocNbr, InvPieceNbr, CompanyNbr, CompanyPub) values"
         " (1, 10, 8, 5, 'P')");
    EXPECT_EQ(std::string(Inv->GetLocationText(10).c_str()), "ABCD-01-02");
    Inv->InvTransQ->Open();
    auto* q = Inv->InvTransQ;
    EXPECT_EQ(Text(q, "Location"), "ABCD-01");
    EXPECT_EQ(Text(q, "InvPieceDescr"), (std::string(30, 'S') + "   " + std::string(80, 'D')).substr(0, 80));
    EXPECT_EQ(Text(q, "NAME"), std::string(40, 'F'));
}

TEST_F(InvReading, DailyMaterialCardTexts) {
    Exec("insert into MAINT_REF (TYPE, ID, ITEM) values (1, 3, 'Each')");
    Exec("insert into INVENTORY_ITEM (InvNbr, Code, Descr, StockUomRef) values (1, 'BOLT', 'Hex bolt', 3),"
         " (2, 'NUT', 'Nut', NULL)");
    Exec("insert into JOBS (JobNbr, JobId) values (40, 'J1')");
    Exec("insert into JOB_ITEM (JobItemNbr, JobNbr) values (41, 40)");
    Exec("insert into WO (WoNbr, JobNbr, JobItemNbr) values (42, 40, 41)");
    Exec("insert into INV_LOC (InvLocNbr, InvNbr) values (10, 1)");
    Exec("insert into INVENTORY_TRANS (InvTransNbr, InvNbr, InvLocNbr, WoNbr, EmpNbr, TransDt, Ts,"
         " InvTransTypeNbr, Notes) values"
         " (1, 1, 10, 42, 6, '2006/11/16', '2006/11/16 08:00:00', 1, 'first'),"
         " (2, 2, 10, 42, 6, '2006/11/16', '2006/11/16 09:00:00', 2, NULL),"
         " (3, 2, 10, 42, 6, '2006/11/16', '2006/11/16 10:00:00', 0, NULL)");
    auto* q = Inv->MatCardDailyQ;
    q->Open();
    ASSERT_EQ(q->RecordCount(), 2);
    EXPECT_EQ(Text(q, "Direction"), "Pick");
    EXPECT_EQ(Text(q, "UOM"), "Each");
    EXPECT_EQ(Text(q, "CodeDescr"), "BOLT - Hex bolt");
    EXPECT_EQ(Text(q, "GridNotes"), "first");
    q->Next();
    EXPECT_EQ(Text(q, "Direction"), "Return");
    EXPECT_EQ(Text(q, "UOM"), "");
    EXPECT_EQ(Text(q, "GridNotes"), "");
}

TEST_F(InvReading, StockLocationListsLeaveOutTheNoneRows) {
    Exec("insert into BUILDING (BuildingNbr, Building, Descr) values (2, 'B', 'Yard'), (1, 'A', NULL)");
    Exec("insert into ZONE (ZoneNbr, BuildingNbr, Zone, Descr) values (5, 1, '02', 'South'), (4, 1, '01', 'North')");
    Exec("insert into BIN (BinNbr, ZoneNbr, Bin, Descr) values (7, 4, '09', 'Top')");
    Inv->ListBldgQuery->Open();
    Inv->ListZoneQuery->Open();
    Inv->ListBinQuery->Open();
    ASSERT_EQ(Inv->ListBldgQuery->RecordCount(), 2);
    EXPECT_EQ(Text(Inv->ListBldgQuery, "BandD"), "A - ");
    ASSERT_EQ(Inv->ListZoneQuery->RecordCount(), 2);
    EXPECT_EQ(Text(Inv->ListZoneQuery, "ZandD"), "01 - North");
    ASSERT_EQ(Inv->ListBinQuery->RecordCount(), 1);
    EXPECT_EQ(Text(Inv->ListBinQuery, "BandD"), "09 - Top");
    // Moving the building moves its zones and their bins.
    Inv->ListBldgQuery->Next();
    EXPECT_EQ(Text(Inv->ListBldgQuery, "BandD"), "B - Yard");
    EXPECT_EQ(Inv->ListZoneQuery->RecordCount(), 0);
    EXPECT_EQ(Inv->ListBinQuery->RecordCount(), 0);

    Exec("insert into INV_LOC (InvLocNbr, InvNbr, BuildingNbr, ZoneNbr, BinNbr) values (10, 3, -99, -99, 7)");
    Inv->InvLocQ->ParamByName("a")->SetAsInteger(3);
    Inv->InvLocQ->Open();
    EXPECT_EQ(Text(Inv->InvLocQ, "Building"), "");
    EXPECT_EQ(Text(Inv->InvLocQ, "Zone"), "");
    EXPECT_EQ(Text(Inv->InvLocQ, "Bin"), "09 - Top");
}

TEST_F(InvReading, GoodsWithoutALocationAndSupplierDates) {
    Exec("insert into MAINT_REF (TYPE, ID, ITEM) values (1, 3, 'Each')");
    Exec("insert into INV_PIECE_TYPE (InvPieceTypeNbr, Type) values (2, 'Offcut')");
    Exec("insert into INVENTORY_ITEM (InvNbr, Code) values (1, 'BOLT')");
    Exec("insert into INV_NEED_LOC (NeedLocNbr, InvNbr, UomRef, InvPieceTypeNbr) values (1, 1, 3, 2), (2, 1, NULL, NULL)");
    for (TQuery* q : {Inv->ListNoLocQ, Inv->ListNoLocQ2}) {
        SCOPED_TRACE(q->Name().c_str());
        q->Close();
        q->SQL()->Add("order by NeedLocNbr");
        q->Open();
        ASSERT_EQ(q->RecordCount(), 2);
        EXPECT_EQ(Text(q, "uom"), "Each");
        if (q == Inv->ListNoLocQ) EXPECT_EQ(Text(q, "piecetype"), "Offcut");
        q->Next();
        EXPECT_EQ(Text(q, "uom"), "");
        if (q == Inv->ListNoLocQ) EXPECT_EQ(Text(q, "piecetype"), "");
    }

    Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME) values (5, 'P', 'Acme')");
    Exec("insert into INV_SUPPLIER (InvSupplierNbr, InvNbr, COMPANY_NBR, COMPANY_PUB, QUOTE_DATE) values"
         " (1, 1, 5, 'P', '2006/11/16')");
    Inv->InvSupplierQ->ParamByName("a")->SetAsInteger(1);
    Inv->InvSupplierQ->Open();
    EXPECT_EQ(Text(Inv->InvSupplierQ, "Qdate"), "16/11/06");
}

} // namespace
