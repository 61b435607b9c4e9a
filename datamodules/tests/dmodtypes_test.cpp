#include "datamodules/DmodJobType.h"
#include "datamodules/DmodWoType.h"
#include "datamodules/format/RowSearch.h"

#include "ShopModuleTest.h"

#include <gtest/gtest.h>

namespace {

class TypeDmodTest : public ShopModuleTest {
protected:
    void SetUp() override {
        ShopModuleTest::SetUp();
        Exec("insert into WO_TYPE (WorkOrdTypeNbr, WorkOrdType) values (5, 'Install');"
             "insert into WO_TYPE (WorkOrdTypeNbr, WorkOrdType) values (7, 'Fabricate');"
             "insert into JOB_TYPE (JobTypeNbr, JobType) values (3, 'Retail');");
        WoTypes = new TWoTypeDmod(Owner);
        JobTypes = new TJobTypeDmod(Owner);
    }

    TWoTypeDmod* WoTypes = nullptr;
    TJobTypeDmod* JobTypes = nullptr;
};

TEST_F(TypeDmodTest, FixedQueriesRunOnTheSchema) {
    ExpectQueriesRun(*WoTypes,
                     {"SelectAllQuery", "UpdateWoTypeSql", "InsertWoTypeSql", "DeleteWoTypeSql"});
    ExpectQueriesRun(
        *JobTypes, {"SelectAllQuery", "InsertJobTypeSql", "UpdateJobTypeSql", "DeleteJobTypeSql"});
}

TEST_F(TypeDmodTest, WorkOrderTypeListIsSearchedByNumber) {
    TQuery& list = *WoTypes->SelectAllQuery;
    ASSERT_FALSE(list.Active());
    // Ordered by name: Fabricate (7) before Install (5).
    EXPECT_EQ(FindRowIndexByValue(&list, "WorkOrdTypeNbr", 5), 1);
    EXPECT_EQ(list.FieldByName("WorkOrdType")->AsString(), "Install");

    EXPECT_EQ(FindRowIndexByValue(&list, "WorkOrdTypeNbr", -99), -99);
    EXPECT_TRUE(list.Eof());
    EXPECT_TRUE(list.Active());
}

TEST_F(TypeDmodTest, JobTypeNameByNumber) {
    AnsiString name = "stale";
    JobTypes->GetJobTypeName(3, name);
    EXPECT_EQ(name, "Retail");
    JobTypes->GetJobTypeName(4, name);
    EXPECT_EQ(name, "");
}

} // namespace
