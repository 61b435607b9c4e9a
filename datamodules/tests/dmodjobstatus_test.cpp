#include "datamodules/DmodJobStatus.h"

#include "ShopModuleTest.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

class JobStatusDmodTest : public ShopModuleTest {
protected:
    void SetUp() override {
        ShopModuleTest::SetUp();
        // Status 0 ("Closed") comes with the schema.
        Exec("insert into JOB_STATUS (JobStatusNbr, JobStatus) values (2, 'Active');"
             "insert into JOB_STATUS (JobStatusNbr, JobStatus) values (3, 'Bidding');"
             "insert into JOB_STATUS (JobStatusNbr, JobStatus) values (4, NULL);");
        Dmod = new TJobStatusDmod(Owner);
    }

    static std::vector<std::pair<int, AnsiString>> Rows(TQuery& Query) {
        std::vector<std::pair<int, AnsiString>> rows;
        for (Query.First(); !Query.Eof(); Query.Next())
            rows.emplace_back(Query.FieldByName("JobStatusNbr")->AsInteger(),
                              Query.FieldByName("JobStatus")->AsString());
        return rows;
    }

    TJobStatusDmod* Dmod = nullptr;
};

TEST_F(JobStatusDmodTest, FixedQueriesRunOnTheSchema) {
    ExpectQueriesRun(*Dmod, {"SelectAllQuery", "UpdateJobStatusSql", "InsertJobStatusSql",
                             "DeleteJobStatusSql"});
}

TEST_F(JobStatusDmodTest, TheAlertListKeepsStatusZeroAndTheEditingListDoesNot) {
    Dmod->OpenJobStatusList();
    const std::vector<std::pair<int, AnsiString>> alertList = {
        {4, ""}, {2, "Active"}, {3, "Bidding"}, {0, "Closed"}};
    EXPECT_EQ(Rows(*Dmod->SelectAllQ2), alertList);

    Dmod->SelectAllQuery->Open();
    const std::vector<std::pair<int, AnsiString>> editingList = {
        {4, ""}, {2, "Active"}, {3, "Bidding"}};
    EXPECT_EQ(Rows(*Dmod->SelectAllQuery), editingList);
}

TEST_F(JobStatusDmodTest, StatusNameByNumber) {
    AnsiString name = "stale";
    Dmod->GetJobStatusName(3, name);
    EXPECT_EQ(name, "Bidding");
    Dmod->GetJobStatusName(0, name);
    EXPECT_EQ(name, "Closed");
    Dmod->GetJobStatusName(99, name);
    EXPECT_EQ(name, "");
    // The name is required: a status row without one is reported, not shown
    // as an unnamed status.
    EXPECT_THROW(Dmod->GetJobStatusName(4, name), Exception);
}

} // namespace
