// The job-status module as the alert checks and the job-form module use it:
// the full list (status 0 included) and a name looked up by number.
#include "ShopModuleTest.h"
#include "datamodules/DmodJobStatus.h"

#include <string>
#include <utility>
#include <vector>

namespace {

class JobStatusReading : public ShopModuleTest {
protected:
    void SetUp() override {
        ShopModuleTest::SetUp();
        Exec("delete from JOB_STATUS");
        Exec("insert into JOB_STATUS values (0, 'None'), (1, 'Open'), (2, 'closed'), "
             "(3, 'Billed'), (4, 'Open')");
        Module = new TJobStatusDmod(Owner);
    }
    static std::vector<std::pair<int, std::string>> Walk(TQuery& Q, const char* NbrName) {
        std::vector<std::pair<int, std::string>> rows;
        for (Q.First(); !Q.Eof(); Q.Next())
            rows.emplace_back(Q.FieldByName(NbrName)->AsInteger(),
                              Q.FieldByName("JobStatus")->AsString());
        return rows;
    }
    TJobStatusDmod* Module = nullptr;
};

TEST_F(JobStatusReading, NameByNumberIsTheRowsNameOrEmpty) {
    const struct {
        int Nbr;
        const char* Name;
    } cases[] = {{0, "None"}, {2, "closed"}, {4, "Open"}, {99, ""}, {-1, ""}};
    for (const auto& c : cases) {
        AnsiString name = "stale";
        Module->GetJobStatusName(c.Nbr, name);
        EXPECT_EQ(name, c.Name) << c.Nbr;
    }
}

TEST_F(JobStatusReading, ListKeepsStatusZeroInNameOrderAndReopensFresh) {
    Module->OpenJobStatusList();
    const std::vector<std::pair<int, std::string>> want = {
        {3, "Billed"}, {2, "closed"}, {0, "None"}, {1, "Open"}, {4, "Open"}};
    EXPECT_EQ(Walk(*Module->SelectAllQ2, "JobStatusNbr"), want);

    // The caller's walk stops at the first of two equal names.
    Module->SelectAllQ2->First();
    while (!Module->SelectAllQ2->Eof() &&
           Module->SelectAllQ2->FieldByName("JobStatus")->AsString() != "Open")
        Module->SelectAllQ2->Next();
    EXPECT_EQ(Module->SelectAllQ2->FieldByName("JobStatusNbr")->AsInteger(), 1);

    Exec("insert into JOB_STATUS values (5, 'Active')");
    Module->OpenJobStatusList();
    EXPECT_EQ(Walk(*Module->SelectAllQ2, "JobStatusNbr").front(),
              std::make_pair(5, std::string("Active")));
}

TEST_F(JobStatusReading, EditorListLeavesOutStatusZero) {
    TQuery& q = *Module->SelectAllQuery;
    q.Open();
    for (const auto& row : Walk(q, "JobStatusNbr"))
        EXPECT_NE(row.first, 0);
    EXPECT_EQ(q.RecordCount(), 4);
    EXPECT_EQ(q.DatabaseName(), ShopDatabaseName);
    EXPECT_FALSE(Module->DsJobStatus->AutoEdit());
    EXPECT_EQ(Module->DsJobStatus->DataSet(), &q);
    TField* nbr = q.FieldByName("JobStatusNbr");
    EXPECT_TRUE(nbr->ReadOnly() && nbr->Required() && !nbr->Visible());
    TField* status = q.FieldByName("JobStatus");
    EXPECT_EQ(status->DisplayLabel(), "Job Status");
    EXPECT_EQ(status->DisplayWidth(), 40);
    EXPECT_EQ(status->Size(), 25);
    EXPECT_TRUE(status->Required());
    ExpectQueriesRun(*Module, {"SelectAllQuery", "UpdateJobStatusSql", "InsertJobStatusSql",
                               "DeleteJobStatusSql"});
}

TEST_F(JobStatusReading, DatabaseErrorsReachTheCaller) {
    Exec("drop table JOB_STATUS");
    AnsiString name = "kept";
    EXPECT_THROW(Module->GetJobStatusName(1, name), Exception);
    EXPECT_THROW(Module->OpenJobStatusList(), Exception);
}

} // namespace
