// The shipping module as the program and the job-form module use it: the
// settings read at creation, the ship-via name lookup, and the display
// fields of the ship-ticket and billing lists.
#include "ShopModuleTest.h"
#include "datamodules/DmodShip.h"
#include "datamodules/DmodVelm.h"

#include <map>
#include <string>

namespace {

class ShipReading : public ShopModuleTest {
protected:
    void SetUp() override {
        ShopModuleTest::SetUp();
        Exec("update DORNWICK_OPTIONS set PcCntProduct = 11, PcCntHardware = 12, "
             "PcCntOther = 13, PcCntService = 14, PcCntMaterial = 15, "
             "AutoShipBOCalcInd = 16, UseBuiltFlagInd = 17");
        Exec("insert into SHIPVIA values (1, 'Truck'), (2, 'Courier'), (4, NULL)");
        Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME, FNAME) values "
             "(1, 'P', 'Acme', NULL), (2, 'P', 'Acme', 'Bob'), (3, 'Q', 'Dock', 'Ann'), "
             "(4, 'P', '" +
             std::string(60, 'N') + "', '" + std::string(40, 'F') + "')");
        Exec("insert into JOBS (JobNbr, JobId, CompanyNbr, CompanyPub, ShipToNbr, ShipToPub, "
             "ShipToAddr) values (10, 'J10', 1, 'P', NULL, NULL, '1 Quay St'), "
             "(20, 'J20', 2, 'P', 3, 'Q', NULL), (30, 'J30', 1, 'P', 9, 'Q', NULL), "
             "(40, 'J40', 4, 'P', 4, 'P', NULL)");
        Exec("insert into SHIP_TICKET values (100, 10, '2026/03/05', 0), (101, 10, NULL, 1), "
             "(102, 20, '2026/12/31', 2), (103, 20, NULL, 3), (104, 20, NULL, 4), "
             "(105, 30, NULL, 2), (106, 40, NULL, 0)");
        Exec("insert into BILLING (BillingNbr, JobNbr, InvoiceNbr, InvoiceDt) values "
             "(33, 20, 7, '2026/03/05'), (34, 10, 8, '2026/04/01')");
        new TVelmDmod(Owner);
    }
};

TEST_F(ShipReading, CreationReadsTheSevenSettingsInOrder) {
    auto* ship = new TShipDmod(Owner);
    const std::int32_t got[] = {ship->PcCntProduct,   ship->PcCntHardware, ship->PcCntOther,
                                ship->PcCntService,   ship->PcCntMaterial, ship->AutoShipBOCalcInd,
                                ship->UseBuiltFlagInd};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(got[i], 11 + i) << i;
    EXPECT_EQ(ship->DatePreference, 0);
}

TEST_F(ShipReading, CreationFailsWithoutAnOptionsRowOrColumn) {
    Exec("delete from DORNWICK_OPTIONS");
    EXPECT_THROW(new TShipDmod(Owner), Exception);
    Exec("insert into DORNWICK_OPTIONS (TokenKey) values (1)");
    Exec("alter table DORNWICK_OPTIONS drop column UseBuiltFlagInd");
    EXPECT_THROW(new TShipDmod(Owner), Exception);
}

TEST_F(ShipReading, CreationFailureNamesTheMissingSetting) {
    const struct {
        const char* Change;
        const char* Named;
    } cases[] = {{"update DORNWICK_OPTIONS set PcCntOther = NULL", "PcCntOther"},
                 {"update DORNWICK_OPTIONS set UseBuiltFlagInd = NULL", "UseBuiltFlagInd"},
                 {"delete from DORNWICK_OPTIONS", "has no row"}};
    for (const auto& c : cases) {
        Exec("delete from DORNWICK_OPTIONS");
        Exec("insert into DORNWICK_OPTIONS (TokenKey) values (1)");
        Exec(c.Change);
        const std::string message = MessageOf<EVariantError>([&] { new TShipDmod(Owner); });
        EXPECT_NE(message.find(c.Named), std::string::npos) << message;
        EXPECT_NE(message.find("DORNWICK_OPTIONS"), std::string::npos) << message;
    }
}

TEST_F(ShipReading, ShipViaNameByNumberIsTheRowsNameOrEmpty) {
    auto* ship = new TShipDmod(Owner);
    const struct {
        int Nbr;
        const char* Name;
    } cases[] = {{1, "Truck"}, {2, "Courier"}, {3, ""}, {0, ""}};
    for (const auto& c : cases) {
        AnsiString name = "stale";
        ship->GetShipViaName(c.Nbr, name);
        EXPECT_EQ(name, c.Name) << c.Nbr;
    }
    // A method row without a name is reported rather than shown as nameless.
    AnsiString name;
    EXPECT_THROW(ship->GetShipViaName(4, name), Exception);
}

TEST_F(ShipReading, ShipTicketListShowsCompanyDateStatusAndShipTo) {
    auto* ship = new TShipDmod(Owner);
    struct Row {
        std::string Company, ShortDt, Status, ShipCompany;
        bool StatusNull;
        bool operator==(const Row&) const = default;
    };
    const std::map<int, Row> want = {
        {100, {"Acme", "05/03/26", "Pending", "User Entered", false}},
        {101, {"Acme", "", "Check Load", "User Entered", false}},
        {102, {"Acme, Bob", "31/12/26", "Shipped", "Dock, Ann", false}},
        {103, {"Acme, Bob", "", "Shipped Incomplete", "Dock, Ann", false}},
        {104, {"Acme, Bob", "", "", "Dock, Ann", true}},
        // A ship-to company that is not on file names nobody.
        {105, {"Acme", "", "Shipped", "", false}},
        // The display texts are cut to their field sizes.
        {106,
         {std::string(55, 'N'), "", "Pending", std::string(60, 'N') + ", " + std::string(3, 'F'),
          false}},
    };
    TQuery& q = *ship->ShipListQ;
    q.Open();
    std::map<int, Row> got;
    for (q.First(); !q.Eof(); q.Next())
        got[q.FieldByName("ShipTicketNbr")->AsInteger()] = {
            q.FieldByName("Company")->AsString(), q.FieldByName("ShortDt")->AsString(),
            q.FieldByName("ShipStatus")->AsString(), q.FieldByName("ShipCompany")->AsString(),
            q.FieldByName("ShipStatus")->IsNull()};
    for (const auto& [nbr, row] : want) {
        EXPECT_EQ(got[nbr].Company, row.Company) << nbr;
        EXPECT_EQ(got[nbr].ShortDt, row.ShortDt) << nbr;
        EXPECT_EQ(got[nbr].Status, row.Status) << nbr;
        EXPECT_EQ(got[nbr].ShipCompany, row.ShipCompany) << nbr;
        EXPECT_EQ(got[nbr].StatusNull, row.StatusNull) << nbr;
    }
    EXPECT_EQ(got.size(), want.size());

    ship->DatePreference = 1;
    q.Close();
    q.Open();
    while (!q.Eof() && q.FieldByName("ShipTicketNbr")->AsInteger() != 100)
        q.Next();
    EXPECT_EQ(q.FieldByName("ShortDt")->AsString(), "03/05/26");
}

TEST_F(ShipReading, BillingListShowsCompanyAndShortDate) {
    auto* ship = new TShipDmod(Owner);
    TQuery& q = *ship->BillingQ;
    q.Open();
    ASSERT_EQ(q.RecordCount(), 1);
    EXPECT_EQ(q.FieldByName("Company")->AsString(), "Acme, Bob");
    EXPECT_EQ(q.FieldByName("sDate")->AsString(), "05/03/26");
    EXPECT_FALSE(ship->DsShipVia->AutoEdit());
    EXPECT_FALSE(ship->dsFilterProductsQ->AutoEdit());
    ExpectQueriesRun(*ship, {"ShipViaQ", "ShipListQ", "BillingQ", "FilterProductsQ"});
}

} // namespace
