#include "ProgramModulesTest.h"

#include <gtest/gtest.h>

namespace {

class VelmDmodTest : public ProgramModulesTest {
protected:
    void SetUp() override {
        ProgramModulesTest::SetUp();
        Exec("insert into MAINT_REF values (1, 3, 'Each'), (1, 4, 'Box'), (1, 5, 'Case'),"
             " (0, 6, 'Bid'), (0, 7, 'Won');"
             "insert into DEPT values (10, 'Shop', 1);"
             "insert into OPCODE values (1, 'CUT', 'Cutting', 10, 1);");
    }
};

TEST_F(VelmDmodTest, FixedQueriesRunOnTheSchema) {
    ExpectQueriesRun(*Velm, {"WorkGrpNamesQ", "UserLineTypeQ", "ListLibVendorsQ", "DeptListQ",
                             "OpCodeQ1", "UOMlistQ", "LibDivQ", "LibSubDivQ", "LibItemListQ",
                             "ListLibVendorsQ2", "ListEstimatesQ", "AllOpCodesQ", "GetVendorInfoQ",
                             "GetVendorInfoQ2", "GLacctQ"});
}

TEST_F(VelmDmodTest, NameLookups) {
    EXPECT_EQ(Velm->GetUomName(3), "Each");
    EXPECT_EQ(Velm->GetUomName(9), "");
    EXPECT_EQ(Velm->GetUomName(6), "") << "a status is no unit";
    EXPECT_EQ(Velm->GetEstimateStatusName(7), "Won");
    EXPECT_EQ(Velm->GetEstimateStatusName(3), "");
    EXPECT_EQ(Velm->GetDeptName(10), "Shop");
    EXPECT_EQ(Velm->GetDeptName(11), "");

    AnsiString code = "old", descr = "old";
    EXPECT_EQ(Velm->GetOpCode(2, code, descr), -99);
    EXPECT_EQ(code + "/" + descr, "old/old");
    EXPECT_EQ(Velm->GetOpCode(1, code, descr), 1);
    EXPECT_EQ(code + "/" + descr, "CUT/Cutting");

    Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME) values (1, 'P', 'Acme'), (1, 'Q', 'Other')");
    Velm->SelectCompany(1, "Q");
    EXPECT_EQ(Shown(*Velm->CommonSql, "NAME"), "Other");
}

TEST_F(VelmDmodTest, LibraryItemInfo) {
    Exec(
        "insert into LIB_ITEM (DIV_NBR, SECTION_NBR, ITEM_NBR, SEQ_CODE, UNIT_REF_ID, UNIT_COST,"
        " LINETAG) values (1, 2, 3, 'S-1', 4, 12.3456, 'Tag'), (1, 2, 4, NULL, NULL, NULL, NULL);");
    struct Info {
        AnsiString Unit, Seq, Tag;
        double Cost = 0;
        std::int16_t Ref = 0;
    };
    auto info = [&](std::int16_t Item) {
        Info i{"x", "x", "x"};
        Velm->GetLibItemInfo(1, 2, Item, i.Unit, i.Seq, i.Cost, i.Ref, i.Tag);
        return i;
    };
    const Info full = info(3);
    EXPECT_EQ(full.Unit + "|" + full.Seq + "|" + full.Tag, "Box|S-1|Tag");
    EXPECT_DOUBLE_EQ(full.Cost, 12.346);
    EXPECT_EQ(full.Ref, 4);
    for (std::int16_t item : {4, 5}) { // NULL columns, no row
        const Info none = info(item);
        EXPECT_EQ(none.Unit + "|" + none.Seq + "|" + none.Tag, "||") << item;
        EXPECT_EQ(none.Cost, -99) << item;
        EXPECT_EQ(none.Ref, -99) << item;
    }
}

TEST_F(VelmDmodTest, LibraryItemListFields) {
    Exec("insert into DIVISION values (1, 'D', 'Div');"
         "insert into SECT values (2, 1, 'S', 'Sect');"
         "insert into LIB_ITEM (DIV_NBR, SECTION_NBR, ITEM_NBR, UNIT_REF_ID, DEPT_REF, OP_CD_REF,"
         " NOTES) values (1, 2, 1, 3, 10, 1, 'one' || char(13) || char(10) || 'two'),"
         " (1, 2, 2, NULL, NULL, 99, NULL);");
    Velm->LibDivQ->Open();
    Velm->LibSubDivQ->Open();
    TQuery& items = *Velm->LibItemListQ;
    items.Open();
    Locate(items, "ITEM_NBR", 1);
    EXPECT_EQ(Shown(items, "Unit"), "Each");
    EXPECT_EQ(Shown(items, "Dept"), "Shop");
    EXPECT_EQ(Shown(items, "OpCode") + " " + Shown(items, "OpCdDescr"), "CUT Cutting");
    EXPECT_EQ(Shown(items, "DisplayNotes"), "one  two");
    Locate(items, "ITEM_NBR", 2);
    EXPECT_EQ(Shown(items, "Unit"), "");
    EXPECT_EQ(Shown(items, "Dept"), "");
    EXPECT_EQ(Shown(items, "OpCode") + "|" + Shown(items, "OpCdDescr"), "|")
        << "an unknown operation code shows nothing";
    EXPECT_EQ(Shown(items, "DisplayNotes"), "<null>");
}

TEST_F(VelmDmodTest, EstimateListFields) {
    Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME, FNAME) values (5, 'P', 'Acme', 'Bob'),"
         " (6, 'P', 'Solo', NULL);"
         "insert into JOB values (1, 'P', 'T', 'One', NULL, 7, 5, 'P'),"
         " (2, 'P', 'T', 'Two', NULL, NULL, 6, 'P');"
         "insert into WRITEUP values (1, 'P'), (2, 'P');");
    TQuery& estimates = *Velm->ListEstimatesQ;
    estimates.SQL()->Delete(estimates.SQL()->Count() - 1); // the placeholder selection
    Locate(estimates, "JOB_NBR", 1);
    EXPECT_EQ(Shown(estimates, "Customer"), "Bob Acme");
    EXPECT_EQ(Shown(estimates, "Status"), "Won");
    Locate(estimates, "JOB_NBR", 2);
    EXPECT_EQ(Shown(estimates, "Customer"), "Solo");
    EXPECT_EQ(Shown(estimates, "Status"), "");
}

// Units: 3 Each, 4 Box, 5 Case. The library item (1, 2, 3) is kept in boxes.
class VendorCostTest : public VelmDmodTest {
protected:
    void SetUp() override {
        VelmDmodTest::SetUp();
        Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME, PHONE_NBR) values"
             " (1, 'P', 'Lib Vendor', '5551234567'), (2, 'P', 'Inv Vendor', NULL);"
             "insert into LIB_ITEM (DIV_NBR, SECTION_NBR, ITEM_NBR, UNIT_REF_ID) values"
             " (1, 2, 3, 4), (1, 2, 9, NULL);"
             "insert into SUPPLIER values (1, 2, 3, 1, 'P', 'L-1', 10.0, 1),"
             " (1, 2, 9, 1, 'P', 'L-9', 7.5, 0);"
             // Box to Each: twelve to a box; the cost divides by 12.
             "insert into UNIT_CONV values (1, 4, 3, '*', 12, '', 4, '/', 12, '', 4);"
             // Stock in boxes, ordered in cases of four boxes.
             "insert into INV_CONV values (1, '/', 4, '', 4, '*', 4, '', 4);"
             "insert into INVENTORY_ITEM (InvNbr, Code, LibDivRef, LibSubDivRef, LibItemRef,"
             " Inactive, InvConvNbr, StockUomRef, OrdUomRef) values"
             " (50, 'BOX', 7, 7, 7, 0, 1, 4, 5);"
             "insert into INV_SUPPLIER values (1, 50, 2, 'P', 3.0, NULL, 'I-1', 0);");
    }

    // Opens ListLibVendorsQ2 for library item (1, 2, Item) and inventory item 50.
    TQuery& Vendors(int Item) {
        TQuery& q = *Velm->ListLibVendorsQ2;
        q.Close();
        for (int i = 0; i < 3; ++i)
            q.Params()[i]->SetAsSmallInt(i == 0 ? 1 : i == 1 ? 2 : Item);
        q.Params()[3]->SetAsInteger(50);
        q.Open();
        return q;
    }

    static AnsiString Costs(const TDataSet& Row) {
        return Row.FieldByName("StkUOMCost")->AsString() + " " + Shown(Row, "StkUOMLiteral") +
               " / " + Row.FieldByName("OrdUOMCost")->AsString() + " " +
               Shown(Row, "OrdUOMLiteral");
    }
};

TEST_F(VendorCostTest, SameUnitsKeepTheCost) {
    TQuery& q = Vendors(9);
    Locate(q, "COMPANY_NBR", 1);
    EXPECT_EQ(Costs(q), "7.5  / 7.5 ");
}

TEST_F(VendorCostTest, LibraryCostWithoutInventoryItemGoesThroughTheUnitConverter) {
    Velm->CostDecimals = 2;
    TQuery& q = Vendors(3);
    Locate(q, "COMPANY_NBR", 1);
    EXPECT_EQ(Costs(q), "10 Box / 0.83 Each");

    Velm->CostDecimals = 0;
    q.First(); // recomputes the row
    Locate(q, "COMPANY_NBR", 1);
    EXPECT_EQ(Costs(q), "10 Box / 1 Each");
}

TEST_F(VendorCostTest, LibraryCostOfAStockedItemConvertsBackByItsConversion) {
    Exec("update INVENTORY_ITEM set LibDivRef = 1, LibSubDivRef = 2, LibItemRef = 3");
    Velm->CostDecimals = 2;
    TQuery& q = Vendors(3);
    Locate(q, "COMPANY_NBR", 1);
    // The cost per box, back into cases: 10 / 4.
    EXPECT_EQ(Costs(q), "10 Box / 2.5 Case");
}

TEST_F(VendorCostTest, InventorySupplierCostConvertsIntoTheStockUnit) {
    Velm->CostDecimals = 2;
    TQuery& q = Vendors(3);
    Locate(q, "COMPANY_NBR", 2);
    EXPECT_EQ(Shown(q, "Source"), "Inv");
    // The cost per case, into boxes: 3 x 4.
    EXPECT_EQ(Costs(q), "12 Box / 3 Case");
}

TEST_F(VendorCostTest, PhoneFollowsThePreference) {
    TQuery& q = Vendors(3);
    Locate(q, "COMPANY_NBR", 1);
    EXPECT_EQ(Shown(q, "Phone"), "") << "preference 0 leaves the text empty";
    Velm->PhonePreference = 1;
    q.First();
    Locate(q, "COMPANY_NBR", 1);
    EXPECT_EQ(Shown(q, "Phone"), "(555) 123-4567");
}

} // namespace
