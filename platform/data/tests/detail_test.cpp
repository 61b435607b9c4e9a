#include "platform/data/testing/ShopDbTest.h"

#include "platform/data/DBExceptions.h"
#include "platform/data/DataSource.h"
#include "platform/data/Database.h"
#include "platform/data/Query.h"

#include <gmock/gmock.h>

#include <vector>

using ::testing::ElementsAre;

namespace {

// The inventory module's location chain: buildings, their zones, their bins.
class DetailTest : public ShopDbTest {
protected:
    void SetUp() override {
        ShopDbTest::SetUp();
        NewDatabase();
        Exec("insert into BUILDING (BuildingNbr, Building, Descr) values (1, 'A', 'Main'), "
             "(2, 'B', 'Yard');"
             "insert into ZONE (ZoneNbr, BuildingNbr, Zone, Descr) values (10, 1, '01', ''), "
             "(11, 1, '02', ''), (20, 2, '07', '');"
             "insert into BIN (BinNbr, ZoneNbr, Bin, Descr) values (100, 10, 'a', ''), "
             "(101, 10, 'b', ''), (110, 11, 'c', '')");
        Bldg = Query("select BuildingNbr, Building, Descr\nfrom BUILDING\n"
                     "where BuildingNbr != -99\norder by Building");
        DsBldg = new TDataSource(Owner);
        DsBldg->SetDataSet(Bldg);
        Zone = Query("select * from ZONE\nwhere BuildingNbr = :BuildingNbr\n"
                     "and ZoneNbr != -99\norder by Zone");
        Zone->SetDataSource(DsBldg);
        DsZone = new TDataSource(Owner);
        DsZone->SetDataSet(Zone);
        Bin = Query("Select * from BIN\nwhere ZoneNbr = :ZoneNbr\nand BinNbr != -99\norder by Bin");
        Bin->SetDataSource(DsZone);
    }

    TQuery* Query(const std::string& Sql) {
        auto* Q = new TQuery(Owner);
        Q->SetDatabaseName("Shop");
        Q->SQL()->SetText(Sql);
        return Q;
    }

    static std::vector<std::string> Column(TQuery* Q, const char* Field) {
        std::vector<std::string> Values;
        if (!Q->Active()) return Values;
        const TBookmark Here = Q->GetBookmark();
        Q->DisableControls();
        for (Q->First(); !Q->Eof(); Q->Next())
            Values.push_back(Q->FieldByName(Field)->AsString());
        if (!Here.Empty()) Q->GotoBookmark(Here);
        Q->EnableControls();
        return Values;
    }

    TQuery* Bldg = nullptr;
    TQuery* Zone = nullptr;
    TQuery* Bin = nullptr;
    TDataSource* DsBldg = nullptr;
    TDataSource* DsZone = nullptr;
};

TEST_F(DetailTest, DetailsFollowTheirMastersCurrentRecord) {
    Bldg->Open();
    Zone->Open();
    Bin->Open();
    EXPECT_THAT(Column(Zone, "Zone"), ElementsAre("01", "02"));
    EXPECT_THAT(Column(Bin, "Bin"), ElementsAre("a", "b"));
    EXPECT_EQ(Zone->ParamByName("BuildingNbr")->DataType(), ftInteger);

    Zone->Next(); // the bins follow the zone
    EXPECT_THAT(Column(Bin, "Bin"), ElementsAre("c"));

    Bldg->Next(); // the zones follow the building, and the bins the new zone
    EXPECT_THAT(Column(Zone, "Zone"), ElementsAre("07"));
    EXPECT_TRUE(Bin->IsEmpty());
    EXPECT_TRUE(Bin->Active());

    Bldg->First();
    EXPECT_THAT(Column(Zone, "Zone"), ElementsAre("01", "02"));
    EXPECT_THAT(Column(Bin, "Bin"), ElementsAre("a", "b"));
}

TEST_F(DetailTest, ControlsHeldBackRefreshDetailsOnceWhenEnabled) {
    Bldg->Open();
    Zone->Open();
    Bldg->DisableControls();
    Bldg->Next();
    EXPECT_THAT(Column(Zone, "Zone"), ElementsAre("01", "02")); // not yet told
    Bldg->EnableControls();
    EXPECT_THAT(Column(Zone, "Zone"), ElementsAre("07"));
}

TEST_F(DetailTest, AnExplicitValueOrAClosedMasterDecidesTheParameter) {
    // Opened before its master: the master's values are missing, so nothing matches.
    Zone->Open();
    EXPECT_TRUE(Zone->IsEmpty());
    Zone->Close();

    Zone->ParamByName("BuildingNbr")->SetAsInteger(2);
    Bldg->Open();
    Zone->Open();
    EXPECT_THAT(Column(Zone, "Zone"), ElementsAre("07"));
    Bldg->Next();
    EXPECT_THAT(Column(Zone, "Zone"), ElementsAre("07"));

    // A master without the parameter's field is an error naming the field.
    auto* Other = Query("select ZoneNbr from ZONE where BuildingNbr = :Missing");
    Other->SetDataSource(DsBldg);
    EXPECT_THROW(Other->Open(), EDatabaseError);
    EXPECT_THROW(Bldg->SetDataSource(DsBldg), EDatabaseError);

    delete DsBldg; // the detail lets go of a source that goes away
    EXPECT_EQ(Zone->DataSource(), nullptr);
}

} // namespace
