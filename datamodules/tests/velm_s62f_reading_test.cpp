// The project-product data module read through its lookups and list queries
// on a real shop database: unit, department, operation-code and library-item
// lookups, the library list texts, and the vendor cost rule of the supplier
// lists over library and inventory suppliers.
#include "datamodules/DmodVelm.h"
#include "datamodules/ShopDataModules.h"
#include "ShopModuleTest.h"

#include "platform/data/Field.h"
#include "platform/rtl/StringList.h"

#include <map>
#include <string>
#include <vector>

namespace {

class VelmFreshReading : public ShopModuleTest {
protected:
    void SetUp() override {
        ShopModuleTest::SetUp();
        Velm = CreateShopDataModules(Owner).Velm;
    }
    static std::string Text(const TQuery* Q, const char* Name) {
        return Q->FieldByName(Name)->AsString().c_str();
    }
    TVelmDmod* Velm = nullptr;
};

TEST_F(VelmFreshReading, Lookups) {
    Exec("insert into MAINT_REF (TYPE, ID, ITEM) values (1, 3, 'Each'), (0, 4, 'Open'), (1, 5, NULL)");
    struct Uom {
        int Ref;
        const char* Name;
    };
    for (const Uom& c : std::vector<Uom>{{3, "Each"}, {4, ""}, {5, ""}, {9, ""}}) {
        SCOPED_TRACE(c.Ref);
        EXPECT_EQ(std::string(Velm->GetUomName(c.Ref).c_str()), c.Name);
    }
    EXPECT_EQ(std::string(Velm->GetEstimateStatusName(4).c_str()), "Open");
    EXPECT_EQ(std::string(Velm->GetEstimateStatusName(3).c_str()), "");

    Exec("insert into DEPT (DeptNbr, Name) values (2, 'Weld')");
    EXPECT_EQ(std::string(Velm->GetDeptName(2).c_str()), "Weld");
    EXPECT_EQ(std::string(Velm->GetDeptName(8).c_str()), "");

    Exec("insert into OPCODE (OpCdNbr, OpCode, OpCdDescr) values (5, 'WLD', 'Welding')");
    AnsiString code = "c", descr = "d";
    EXPECT_EQ(Velm->GetOpCode(77, code, descr), -99);
    EXPECT_EQ(std::string(code.c_str()) + descr.c_str(), "cd");
    EXPECT_EQ(Velm->GetOpCode(5, code, descr), 5);
    EXPECT_EQ(std::string(code.c_str()) + "|" + descr.c_str(), "WLD|Welding");

    Exec("insert into LIB_ITEM (DIV_NBR, SECTION_NBR, ITEM_NBR, SEQ_CODE, UNIT_COST, UNIT_REF_ID, LINETAG) values"
         " (1, 1, 1, 'S1', 12.3456, 3, 'T'), (1, 1, 2, NULL, NULL, NULL, NULL), (1, 1, 3, 'S3', 7, 9, NULL)");
    struct Lib {
        int Item;
        const char *Unit, *Seq, *Tag;
        double Cost;
        int Ref;
    };
    for (const Lib& c : std::vector<Lib>{{1, "Each", "S1", "T", 12.346, 3},
                                         {2, "", "", "", -99, -99},
                                         {3, "", "S3", "", 7, 9},
                                         {4, "", "", "", -99, -99}}) {
        SCOPED_TRACE(c.Item);
        AnsiString unit = "u", seq = "s", tag = "t";
        double cost = 1;
        std::int16_t ref = 1;
        Velm->GetLibItemInfo(1, 1, c.Item, unit, seq, cost, ref, tag);
        EXPECT_EQ(std::string(unit.c_str()), c.Unit);
        EXPECT_EQ(std::string(seq.c_str()), c.Seq);
        EXPECT_EQ(std::string(tag.c_str()), c.Tag);
        EXPECT_DOUBLE_EQ(cost, c.Cost);
        EXPECT_EQ(ref, c.Ref);
    }
}

TEST_F(VelmFreshReading, ListTexts) {
    Exec("insert into MAINT_REF (TYPE, ID, ITEM) values (1, 3, 'Each'), (0, 4, 'Open')");
    Exec("insert into DEPT (DeptNbr, Name) values (2, 'Weld')");
    Exec("insert into OPCODE (OpCdNbr, OpCode, OpCdDescr) values (5, 'WLD', 'Welding')");
    Exec("insert into DIVISION (DIV_NBR, CODE) values (1, 'D')");
    Exec("insert into SECT (DIV_NBR, SECTION_NBR, CODE) values (1, 1, 'S')");
    Exec("insert into LIB_ITEM (DIV_NBR, SECTION_NBR, ITEM_NBR, UNIT_REF_ID, DEPT_REF, OP_CD_REF, NOTES) values"
         " (1, 1, 1, 3, 2, 5, 'one' || char(13) || char(10) || 'two'),"
         " (1, 1, 2, NULL, NULL, 77, NULL), (1, 1, 3, NULL, 9, NULL, NULL)");
    Velm->LibDivQ->Open();
    Velm->LibSubDivQ->Open();
    auto* q = Velm->LibItemListQ;
    q->Open();
    ASSERT_EQ(q->RecordCount(), 3);
    struct Row {
        const char *Unit, *Dept, *Code, *Descr, *Notes;
        bool NotesNull;
    };
    std::map<int, Row> expected = {{1, {"Each", "Weld", "WLD", "Welding", "one  two", false}},
                                   {2, {"", "", "", "", "", true}},
                                   {3, {"", "", "", "", "", true}}};
    for (q->First(); !q->Eof(); q->Next()) {
        const Row& r = expected.at(q->FieldByName("ITEM_NBR")->AsInteger());
        SCOPED_TRACE(q->FieldByName("ITEM_NBR")->AsInteger());
        EXPECT_EQ(Text(q, "Unit"), r.Unit);
        EXPECT_EQ(Text(q, "Dept"), r.Dept);
        EXPECT_EQ(Text(q, "OpCode"), r.Code);
        EXPECT_EQ(Text(q, "OpCdDescr"), r.Descr);
        EXPECT_EQ(Text(q, "DisplayNotes"), r.Notes);
        EXPECT_EQ(q->FieldByName("DisplayNotes")->IsNull(), r.NotesNull);
    }

    Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME, FNAME) values (5, 'P', 'Acme', NULL), (6, 'P', 'Acme', 'Bob')");
    auto* c = Velm->CompanyListQ;
    c->SQL()->Add("select COMPANY_NBR, PUB, NAME, FNAME from COMPANY order by COMPANY_NBR");
    c->Open();
    EXPECT_EQ(Text(c, "Company"), "Acme");
    c->Next();
    EXPECT_EQ(Text(c, "Company"), "Acme, Bob");

    Exec("insert into JOB (JOB_NBR, PUB, COMPANY_NBR, COMPANY_PUB, STATUS_REF_ID) values (1, 'P', 6, 'P', 4)");
    Exec("insert into WRITEUP (WRITEUP_NBR, JOB_PUB) values (1, 'P')");
    Velm->ListEstimatesQ->Open();
    ASSERT_EQ(Velm->ListEstimatesQ->RecordCount(), 1);
    EXPECT_EQ(Text(Velm->ListEstimatesQ, "Customer"), "Bob Acme");
    EXPECT_EQ(Text(Velm->ListEstimatesQ, "Status"), "Open");
}

TEST_F(VelmFreshReading, VendorCostRule) {
    // Units: 3 the library's stock unit (each), 4 the ordering unit (box).
    Exec("insert into MAINT_REF (TYPE, ID, ITEM) values (1, 3, 'Each'), (1, 4, 'Box'), (1, 6, 'Pack')");
    Exec("insert into UNIT_CONV (UnitConvNbr, VelmUomRef, DornUomRef, QtyOperator, QtyFactor, QtyRounding,"
         " QtyPrecision, CostOperator, CostFactor, CostRounding, CostPrecision) values"
         " (1, 3, 6, '/', 10, '', 2, '*', 10, '', 3)");
    // Twelve each to a box: the ordered cost is twelve times the stock cost.
    Exec("insert into INV_CONV (InvConvNbr, QtyOperator, QtyFactor, QtyRounding, QtyPrecision, CostOperator,"
         " CostFactor, CostRounding, CostPrecision) values (1, '/', 12, '', 2, '*', 12, '', 3)");
    Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME) values (5, 'P', 'Acme'), (6, 'P', 'Best')");
    Exec("insert into LIB_ITEM (DIV_NBR, SECTION_NBR, ITEM_NBR, UNIT_REF_ID) values"
         " (1, 1, 1, 3), (1, 1, 2, 3), (1, 1, 3, NULL), (1, 1, 4, 3), (1, 1, 5, 3), (1, 1, 6, 4), (1, 1, 7, 3)");
    Exec("insert into SUPPLIER (DIV_NBR, SECTION_NBR, ITEM_NBR, COMPANY_NBR, COMPANY_PUB, COST) values"
         " (1, 1, 1, 5, 'P', 1.25), (1, 1, 2, 5, 'P', 2.5), (1, 1, 3, 5, 'P', 4), (1, 1, 4, 5, 'P', 3),"
         " (1, 1, 5, 5, 'P', 1.5), (1, 1, 6, 5, 'P', 6), (1, 1, 7, 5, 'P', 7)");
    // Item 2 of the library has an inventory item stocked in each and ordered
    // by the box; item 4 one ordered in its stock unit.
    Exec("insert into INVENTORY_ITEM (InvNbr, LibDivRef, LibSubDivRef, LibItemRef, Inactive, StockUomRef,"
         " OrdUomRef, InvConvNbr) values (1, 1, 1, 2, 0, 3, 4, 1), (2, 1, 1, 4, 0, 4, 3, NULL),"
         " (3, 1, 1, 5, 0, 6, 4, 1), (4, 1, 1, 7, 0, 3, 4, NULL), (5, 1, 1, 7, 1, 3, 6, 1)");
    Exec("insert into INV_SUPPLIER (InvSupplierNbr, InvNbr, COMPANY_NBR, COMPANY_PUB, COST) values (1, 1, 6, 'P', 2.5)");

    struct Case {
        int Item, InvNbr;
        const char* Source;
        double StkCost, OrdCost;
        const char *StkUom, *OrdUom;
    };
    const std::vector<Case> Cases = {
        // No inventory item: the unit converter's cost in its target unit.
        {1, 0, "Lib", 1.25, 12.5, "Each", "Pack"},
        // Stocked in the library's unit: the cost back through the item's conversion.
        {2, 0, "Lib", 2.5, 0.21, "Each", "Box"},
        // No stock unit: both costs are the supplier's.
        {3, 0, "Lib", 4, 4, "", ""},
        // Ordered in the library's unit: nothing more.
        {4, 0, "Lib", 3, 3, "Each", "Each"},
        // An item in other units: as without an item.
        {5, 0, "Lib", 1.5, 15, "Each", "Pack"},
        // A unit without a conversion row keeps the supplier's cost and unit.
        {6, 0, "Lib", 6, 6, "Box", "Box"},
        // Stocked in the library's unit without a conversion (the inactive
        // item does not count): the item's ordering unit, the cost as it is.
        {7, 0, "Lib", 7, 7, "Each", "Box"},
        // An inventory supplier: the stock cost through the item's conversion.
        {9, 1, "Inv", 30, 2.5, "Each", "Box"},
    };
    Velm->CostDecimals = 2;
    auto* q = Velm->ListLibVendorsQ2;
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.Item);
        q->Close();
        q->ParamByName("a")->SetAsInteger(1);
        q->ParamByName("b")->SetAsInteger(1);
        q->ParamByName("c")->SetAsInteger(c.Item);
        q->ParamByName("d")->SetAsInteger(c.InvNbr);
        q->Open();
        ASSERT_EQ(q->RecordCount(), 1);
        EXPECT_EQ(Text(q, "Source"), c.Source);
        EXPECT_DOUBLE_EQ(q->FieldByName("StkUOMCost")->AsFloat(), c.StkCost);
        EXPECT_DOUBLE_EQ(q->FieldByName("OrdUOMCost")->AsFloat(), c.OrdCost);
        EXPECT_EQ(Text(q, "StkUOMLiteral"), c.StkUom);
        EXPECT_EQ(Text(q, "OrdUOMLiteral"), c.OrdUom);
        EXPECT_EQ(Text(q, "Phone"), "");
    }

    // Whole numbers under no cost decimals.
    Velm->CostDecimals = 0;
    Velm->GetVendorInfoQ2->Open();
    auto* all = Velm->GetVendorInfoQ2;
    ASSERT_EQ(all->RecordCount(), 7);
    for (all->First(); !all->Eof(); all->Next())
        if (all->FieldByName("ItemRef")->AsInteger() == 1)
            EXPECT_DOUBLE_EQ(all->FieldByName("OrdUOMCost")->AsFloat(), 13);
}

TEST_F(VelmFreshReading, SupplierListsOfALibraryItem) {
    Exec("insert into MAINT_REF (TYPE, ID, ITEM) values (1, 3, 'Each')");
    Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME, PHONE_NBR) values (5, 'P', 'Acme', '5551234567')");
    Exec("insert into LIB_ITEM (DIV_NBR, SECTION_NBR, ITEM_NBR, UNIT_REF_ID) values (1, 2, 3, 3)");
    Exec("insert into SUPPLIER (DIV_NBR, SECTION_NBR, ITEM_NBR, COMPANY_NBR, COMPANY_PUB, COST) values"
         " (1, 2, 3, 5, 'P', 1)");
    Velm->LibDivNbr = 1;
    Velm->LibSectionNbr = 2;
    Velm->LibItemNbr = 3;
    auto* q = Velm->ListLibVendorsQ;
    q->ParamByName("a")->SetAsInteger(1);
    q->ParamByName("b")->SetAsInteger(2);
    q->ParamByName("c")->SetAsInteger(3);
    q->Open();
    ASSERT_EQ(q->RecordCount(), 1);
    EXPECT_EQ(Text(q, "LibItemUom"), "Each");
    EXPECT_EQ(Text(q, "Phone"), "");
    Velm->GetVendorInfoQ->ParamByName("a")->SetAsInteger(5);
    Velm->GetVendorInfoQ->ParamByName("b")->SetAsString("P");
    Velm->GetVendorInfoQ->Open();
    ASSERT_EQ(Velm->GetVendorInfoQ->RecordCount(), 1);
    EXPECT_EQ(Text(Velm->GetVendorInfoQ, "Phone"), "");
    // The module's lists that other modules search.
    Exec("insert into MAINT_REF (TYPE, ID, ITEM) values (5, 12, 'Labour')");
    Velm->GLacctQ->Open();
    EXPECT_EQ(Text(Velm->GLacctQ, "ITEM"), "Labour");
}

} // namespace
