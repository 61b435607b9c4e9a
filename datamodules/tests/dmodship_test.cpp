#include "ProgramModulesTest.h"

#include "platform/data/DBExceptions.h"

#include <gtest/gtest.h>

namespace {

class ShipDmodTest : public ProgramModulesTest {
protected:
    void SetUp() override {
        ProgramModulesTest::SetUp();
        Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME, FNAME) values (1, 'P', 'Acme', NULL),"
             " (2, 'P', 'Acme', 'Bob');"
             "insert into JOBS (JobNbr, JobId, JobDescr, CompanyNbr, CompanyPub, ShipToNbr,"
             " ShipToPub, ShipToAddr) values (10, 'J10', 'Ten', 1, 'P', NULL, NULL, '1 Main St'),"
             " (11, 'J11', 'Eleven', 2, 'P', 2, 'P', NULL);"
             "insert into SHIP_TICKET values (100, 10, '2024/03/07', 3), (101, 11, NULL, 4);"
             "insert into SHIPVIA values (4, 'Courier');"
             "insert into BILLING (BillingNbr, JobNbr, InvoiceNbr, InvoiceDt)"
             " values (33, 11, 7, '2024/12/08');");
    }
};

TEST_F(ShipDmodTest, FixedQueriesRunOnTheSchema) {
    ExpectQueriesRun(*Ship, {"ShipViaQ", "ShipListQ", "BillingQ", "FilterProductsQ"});
}

TEST_F(ShipDmodTest, ShipViaNameByNumber) {
    AnsiString name = "stale";
    Ship->GetShipViaName(4, name);
    EXPECT_EQ(name, "Courier");
    Ship->GetShipViaName(5, name);
    EXPECT_EQ(name, "");
}

TEST_F(ShipDmodTest, ShipTicketDisplayFields) {
    TQuery& list = *Ship->ShipListQ;
    Locate(list, "ShipTicketNbr", 100);
    EXPECT_EQ(Shown(list, "Company"), "Acme");
    EXPECT_EQ(Shown(list, "ShortDt"), "07/03/24"); // the module's preference 0: day first
    EXPECT_EQ(Shown(list, "ShipStatus"), "Shipped Incomplete");
    // No ship-to company: typed in by the user, whatever the address holds.
    EXPECT_EQ(Shown(list, "ShipCompany"), "User Entered");

    Locate(list, "ShipTicketNbr", 101);
    EXPECT_EQ(Shown(list, "Company"), "Acme, Bob");
    EXPECT_EQ(Shown(list, "ShortDt"), "");
    EXPECT_EQ(Shown(list, "ShipStatus"), "<null>");
    EXPECT_EQ(Shown(list, "ShipCompany"), "Acme, Bob");
}

TEST_F(ShipDmodTest, BillingDisplayFields) {
    Ship->BillingQ->Open();
    EXPECT_EQ(Shown(*Ship->BillingQ, "Company"), "Acme, Bob");
    EXPECT_EQ(Shown(*Ship->BillingQ, "sDate"), "08/12/24");
}

TEST_F(ShipDmodTest, ConstructorReadsTheShippingSettings) {
    Exec("update DORNWICK_OPTIONS set PcCntProduct = 1, PcCntHardware = 2, PcCntOther = 3,"
         " PcCntService = 4, PcCntMaterial = 5, AutoShipBOCalcInd = 6, UseBuiltFlagInd = 7");
    delete Ship;
    Ship = new TShipDmod(Owner);
    EXPECT_EQ((std::vector<int>{Ship->PcCntProduct, Ship->PcCntHardware, Ship->PcCntOther,
                                Ship->PcCntService, Ship->PcCntMaterial, Ship->AutoShipBOCalcInd,
                                Ship->UseBuiltFlagInd}),
              (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
}

// The main data module lets a failed connection pass; the shipping module is
// the first to run a statement, and its failure ends the start-up.
class ShipStartUpTest : public ShopDbTest {};

TEST_F(ShipStartUpTest, UnreachableDatabaseFailsTheConstructor) {
    WriteAliases("[Pellworth11]\nDriver=SQLITE\nPath=" + (Folder / "missing.db").string() + "\n");
    auto* main = new TMainDmod(Owner);
    EXPECT_FALSE(main->MyDatabase->Connected());
    EXPECT_THROW(new TShipDmod(Owner), EDatabaseError);
    EXPECT_EQ(Owner->FindComponent("ShipDmod"), nullptr);
}

TEST_F(ShipStartUpTest, OptionsTableWithoutRowsFailsTheConstructor) {
    Exec("delete from DORNWICK_OPTIONS");
    new TMainDmod(Owner);
    EXPECT_THROW(new TShipDmod(Owner), EVariantTypeCastError);
    EXPECT_EQ(Owner->FindComponent("ShipDmod"), nullptr);
}

} // namespace
