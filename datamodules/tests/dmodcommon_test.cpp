#include "datamodules/DmodShip.h"

#include "ShopModuleTest.h"

#include <gtest/gtest.h>

namespace {

// A module that needs another which was never created says so, rather than
// reading through a missing module.
class PeerDmodTest : public ShopModuleTest {};

TEST_F(PeerDmodTest, MissingModuleIsNamed) {
    Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME) values (1, 'P', 'Acme');"
         "insert into JOBS (JobNbr, CompanyNbr, CompanyPub, ShipToNbr, ShipToPub)"
         " values (1, 1, 'P', 1, 'P');"
         "insert into SHIP_TICKET values (1, 1, NULL, 0);");
    auto* ship = new TShipDmod(Owner);
    EXPECT_EQ(MessageOf<Exception>([&] { ship->ShipListQ->Open(); }),
              "The data module 'VelmDmod' has not been created");
}

} // namespace
