// The work-order type and job type lists as the job-form module reads them:
// a work-order type found in the list by number, a job type's name looked up.
#include "ProgramModulesTest.h"
#include "ShopModuleTest.h"
#include "datamodules/DmodJobType.h"
#include "datamodules/DmodWoType.h"
#include "datamodules/format/RowSearch.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

class TypesReading : public ShopModuleTest {
protected:
    void SetUp() override {
        ShopModuleTest::SetUp();
        Exec("insert into WO_TYPE values (1, 'Shop'), (2, 'field'), (7, 'Assembly')");
        Exec("insert into JOB_TYPE values (1, 'Repair'), (3, 'New build')");
        WoType = new TWoTypeDmod(Owner);
        JobType = new TJobTypeDmod(Owner);
    }
    TWoTypeDmod* WoType = nullptr;
    TJobTypeDmod* JobType = nullptr;
};

TEST_F(TypesReading, JobTypeNameByNumberIsTheRowsNameOrEmpty) {
    const struct {
        int Nbr;
        const char* Name;
    } cases[] = {{1, "Repair"}, {3, "New build"}, {2, ""}, {0, ""}};
    for (const auto& c : cases) {
        AnsiString name = "stale";
        JobType->GetJobTypeName(c.Nbr, name);
        EXPECT_EQ(name, c.Name) << c.Nbr;
    }
}

TEST_F(TypesReading, WorkOrderTypeFoundInTheListByNumber) {
    TQuery& list = *WoType->SelectAllQuery;
    EXPECT_FALSE(list.Active());
    const struct {
        int Nbr;
        int Index;
        const char* Name;
    } cases[] = {
        {7, 0, "Assembly"}, {2, 1, "field"}, {1, 2, "Shop"}, {5, -99, nullptr}, {7, 0, "Assembly"}};
    for (const auto& c : cases) {
        EXPECT_EQ(FindRowIndexByValue(&list, "WorkOrdTypeNbr", c.Nbr), c.Index) << c.Nbr;
        EXPECT_TRUE(list.Active());
        if (c.Name)
            EXPECT_EQ(list.FieldByName("WorkOrdType")->AsString(), c.Name);
        else
            EXPECT_TRUE(list.Eof());
    }
}

TEST_F(TypesReading, ListsAndStatementsRunOnTheShopDatabase) {
    EXPECT_FALSE(WoType->DsWoType->AutoEdit());
    EXPECT_TRUE(JobType->DsJobType->AutoEdit());
    EXPECT_EQ(WoType->DsWoType->DataSet(), WoType->SelectAllQuery);
    EXPECT_EQ(JobType->DsJobType->DataSet(), JobType->SelectAllQuery);
    for (TQuery* q : {WoType->SelectAllQuery, WoType->InsertWoTypeSql, JobType->SelectAllQuery,
                      JobType->CommonSql, JobType->DeleteJobTypeSql})
        EXPECT_EQ(q->DatabaseName(), ShopDatabaseName) << q->Name();
    EXPECT_EQ(WoType->SelectAllQuery->FieldByName("WorkOrdType")->Size(), 25);
    EXPECT_EQ(JobType->SelectAllQuery->FieldByName("JobType")->Size(), 25);
    ExpectQueriesRun(*WoType,
                     {"SelectAllQuery", "UpdateWoTypeSql", "InsertWoTypeSql", "DeleteWoTypeSql"});
    ExpectQueriesRun(
        *JobType, {"SelectAllQuery", "InsertJobTypeSql", "UpdateJobTypeSql", "DeleteJobTypeSql"});
    // The editing statements take the name as "typex" and the number as "id".
    for (TQuery* q : {WoType->UpdateWoTypeSql, JobType->UpdateJobTypeSql}) {
        EXPECT_NE(q->ParamByName("typex"), nullptr);
        EXPECT_NE(q->ParamByName("id"), nullptr);
    }
}

TEST_F(TypesReading, DatabaseErrorsReachTheCaller) {
    Exec("drop table JOB_TYPE");
    Exec("drop table WO_TYPE");
    AnsiString name;
    EXPECT_THROW(JobType->GetJobTypeName(1, name), Exception);
    EXPECT_THROW(FindRowIndexByValue(WoType->SelectAllQuery, "WorkOrdTypeNbr", 1), Exception);
}

using TypesInProgram = ProgramModulesTest;

// The type modules come last, work-order types first; the shipping module
// comes after the main module whose connection it reads through.
TEST_F(TypesInProgram, TypeModulesAreMadeLastWorkOrderTypesFirst) {
    std::vector<std::string> names;
    for (int i = 0; i < Owner->ComponentCount(); ++i) {
        const std::string name = Owner->Components(i)->Name();
        if (name.size() > 4 && name.substr(name.size() - 4) == "Dmod") names.push_back(name);
    }
    ASSERT_GE(names.size(), 3u);
    EXPECT_EQ(names[names.size() - 2], DmodNames::WoType);
    EXPECT_EQ(names.back(), DmodNames::JobType);
    const auto at = [&](const char* n) {
        return std::find(names.begin(), names.end(), n) - names.begin();
    };
    EXPECT_LT(at(DmodNames::Main), at(DmodNames::Ship));
}

} // namespace
