#include "ProgramModulesTest.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

namespace {

class JobFormDmodTest : public ProgramModulesTest {
protected:
    // The first column of a statement's first row, read apart from the modules.
    int Scalar(const AnsiString& Sql) {
        TQuery query(nullptr);
        query.SetDatabaseName(ShopDatabaseName);
        query.SQL()->Add(Sql);
        query.Open();
        return query.Fields()[0]->AsInteger();
    }
};

TEST_F(JobFormDmodTest, FixedQueriesRunOnTheSchema) {
    ExpectQueriesRun(*JobForm, {"WoLaborQ", "MatItemsQ", "GrpWoListQ", "JobListQ", "WoDeptEstQ",
                                "EmpAssignQ", "OthCostQ", "JobItemWoListQ", "ListDeptTemplQ",
                                "ListDeptTmpItemsQ", "ProgBillingQ", "ContactListQ", "ListStatusQ",
                                "ListStatus2Q", "ListCompanyQ", "ListCompany2Q"});
}

TEST_F(JobFormDmodTest, LookupsResetTheChangeFlagsBeforeTheyRead) {
    Exec("insert into JOBS (JobNbr, JobId, ChangedByScheduler) values (1, 'A', 1), (2, 'B', 1);"
         "insert into JOB_ITEM (JobItemNbr, JobNbr, ChangedByScheduler) values (1, 1, 1),"
         " (2, 1, 1);"
         "insert into WO (WoNbr, WoDescr, StatusChgInd, ChangedByScheduler) values"
         " (1, 'Cut', 1, 1), (2, 'Weld', 1, 1);");
    struct Case {
        const char* Table;
        const char* Key;
        std::function<void(TJobFormDmod&, int)> Lookup;
        std::vector<const char*> Flags;
    };
    const Case cases[] = {
        {"JOBS", "JobNbr", &TJobFormDmod::SelectJob, {"ChangedByScheduler"}},
        {"JOB_ITEM", "JobItemNbr", &TJobFormDmod::SelectJobItem, {"ChangedByScheduler"}},
        {"WO", "WoNbr", &TJobFormDmod::SelectWorkOrder, {"StatusChgInd", "ChangedByScheduler"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Table);
        c.Lookup(*JobForm, 1);
        TQuery& row = *JobForm->CommonSql;
        ASSERT_EQ(row.RecordCount(), 1);
        EXPECT_EQ(row.FieldByName(c.Key)->AsInteger(), 1);
        for (const char* flag : c.Flags) {
            EXPECT_EQ(Shown(row, flag), "0") << flag;
            EXPECT_EQ(Scalar(AnsiString("select ") + flag + " from " + c.Table + " where " + c.Key +
                             " = 2"),
                      1)
                << "another row's " << flag << " was reset";
        }

        c.Lookup(*JobForm, 99);
        EXPECT_TRUE(row.Active());
        EXPECT_TRUE(row.IsEmpty());
        EXPECT_TRUE(row.FieldByName(c.Key)->IsNull());
    }
}

TEST_F(JobFormDmodTest, OnlyFlagsNotResetYetAreWritten) {
    // A NULL flag counts as set; a row with its flags at 0 is not rewritten.
    Exec("insert into JOBS (JobNbr, ChangedByScheduler) values (3, NULL), (4, 0);"
         "insert into WO (WoNbr, StatusChgInd, ChangedByScheduler) values (3, 0, 1),"
         " (4, NULL, 0), (5, 0, 0);");
    struct Case {
        std::function<void(TJobFormDmod&, int)> Lookup;
        int Key;
        const char* Flags; // the row's flags as read after the lookup
        int Written;
    };
    const Case cases[] = {
        {&TJobFormDmod::SelectJob, 3, "0", 1},        {&TJobFormDmod::SelectJob, 4, "0", 0},
        {&TJobFormDmod::SelectWorkOrder, 3, "00", 1}, {&TJobFormDmod::SelectWorkOrder, 4, "00", 1},
        {&TJobFormDmod::SelectWorkOrder, 5, "00", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Key);
        c.Lookup(*JobForm, c.Key);
        TQuery& row = *JobForm->CommonSql;
        AnsiString flags;
        for (const char* flag : {"StatusChgInd", "ChangedByScheduler"})
            if (row.FindField(flag)) flags += Shown(row, flag);
        EXPECT_EQ(flags, c.Flags);
        EXPECT_EQ(JobForm->ChangeFlagsSql->RowsAffected(), c.Written);
    }
}

TEST_F(JobFormDmodTest, ProductAndDepartmentEstimateLookups) {
    Exec("insert into WO_PRODUCTS values (5, 1, 3, 4);"
         "insert into DEPT_EST (WoNbr, DeptRef, EstHrs) values (1, 10, 2.5), (1, 20, 1),"
         " (1, 20, 2);");
    JobForm->SelectWoProduct(5);
    EXPECT_EQ(Shown(*JobForm->CommonSql, "MakeQty"), "4");
    JobForm->SelectWoProduct(6);
    EXPECT_TRUE(JobForm->CommonSql->IsEmpty());

    EXPECT_TRUE(JobForm->SelectDeptEstimate(1, 10));
    EXPECT_EQ(JobForm->CommonSql->FieldByName("EstHrs")->AsFloat(), 2.5);
    EXPECT_FALSE(JobForm->SelectDeptEstimate(1, 20)) << "two rows";
    EXPECT_FALSE(JobForm->SelectDeptEstimate(1, 30)) << "no row";
}

TEST_F(JobFormDmodTest, LastProgressBilling) {
    Exec("insert into PROGRESS_BILLING (ProgressBillingNbr, JobNbr, ApplicationNbr) values"
         " (1, 10, 1), (2, 10, 2)," // latest application 2
         " (3, 20, 4), (4, 20, 4)," // latest application shared by two rows
         " (5, 30, 0);");           // only application 0
    const struct {
        int JobNbr;
        int Expected;
    } cases[] = {{10, 2}, {20, -99}, {30, -99}, {40, -99}};
    for (const auto& c : cases)
        EXPECT_EQ(JobForm->GetLastProgressBillingNbr(c.JobNbr), c.Expected) << "job " << c.JobNbr;
}

TEST_F(JobFormDmodTest, BillingTotals) {
    Exec("insert into BILLING (BillingNbr, JobNbr, InvoiceNbr, TotalPrice, PostedInd) values"
         " (1, 10, 100, 250.5, 1), (2, 10, NULL, 1000, 1), (3, 10, 101, 1000, 0),"
         " (4, 10, 102, 49.5, 1);"
         "insert into PROGRESS_BILLING (ProgressBillingNbr, JobNbr, ApplicationNbr)"
         " values (7, 10, 1);"
         "insert into PROG_BILL_ITEM values (7, 10.25), (7, 5), (8, 99);");
    double total = -1;
    JobForm->GetJobInvoicedTotal(10, total);
    EXPECT_DOUBLE_EQ(total, 300);
    JobForm->GetJobInvoicedTotal(11, total);
    EXPECT_DOUBLE_EQ(total, 0);

    JobForm->GetProgressBillingStoredTotal(7, 10, total);
    EXPECT_DOUBLE_EQ(total, 15.25);
    JobForm->GetProgressBillingStoredTotal(7, 11, total);
    EXPECT_DOUBLE_EQ(total, 0) << "the billing belongs to another job";
}

TEST_F(JobFormDmodTest, WorkOrderListNamesStatusTypeAndDisposition) {
    Exec("insert into WO_TYPE (WorkOrdTypeNbr, WorkOrdType) values (5, 'Install');"
         "insert into WO (WoNbr, JobItemNbr, WorkOrdStatusNbr, WorkOrdTypeNbr, DispNbr) values"
         " (1, 7, 4, 5, 3), (2, 7, 10, -99, 7), (3, 7, 0, 6, 0);");
    TQuery& list = *JobForm->GrpWoListQ;
    list.Params()[0]->SetAsInteger(7);
    const struct {
        int WoNbr;
        const char* Status;
        const char* Type;
        const char* Disp;
    } cases[] = {
        {1, "Released", "Install", "Late"},
        {2, "Bad Status", "", ""}, // type -99: none; disposition 7 unknown
        {3, "Pending", "", ""},    // type 6 is not in the list
    };
    for (const auto& c : cases) {
        Locate(list, "WoNbr", c.WoNbr);
        EXPECT_EQ(Shown(list, "Status"), c.Status) << c.WoNbr;
        EXPECT_EQ(Shown(list, "Type"), c.Type) << c.WoNbr;
        EXPECT_EQ(Shown(list, "Disp"), c.Disp) << c.WoNbr;
    }
}

TEST_F(JobFormDmodTest, JobListShowsCompaniesStatusAndType) {
    Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME, FNAME) values (1, 'P', 'Acme', 'Bob'),"
         " (2, 'P', 'Shipco', NULL);"
         "insert into JOB_STATUS (JobStatusNbr, JobStatus) values (3, 'Active');"
         "insert into JOB_TYPE (JobTypeNbr, JobType) values (4, 'Retail');"
         "insert into JOBS (JobNbr, JobStatusNbr, JobTypeNbr, DispNbr, ShipToNbr, ShipToPub,"
         " ShipToAddr) values (1, 3, 4, 2, NULL, NULL, '1 Main St'),"
         " (2, NULL, NULL, 1, NULL, NULL, NULL), (3, 9, 8, 1, 2, 'P', NULL);");
    TQuery& list = *JobForm->JobListQ;
    list.SQL()->Add("where C.COMPANY_NBR = 1");
    const struct {
        int JobNbr;
        const char* Disp;
        const char* Status;
        const char* Type;
        const char* ShipTo;
    } cases[] = {
        {1, "On Time", "Active", "Retail", "User Entered"},
        {2, "Ready", "<null>", "<null>", "<null>"},
        {3, "Ready", "", "", "Shipco"}, // numbers without a row give empty names
    };
    for (const auto& c : cases) {
        Locate(list, "JobNbr", c.JobNbr);
        EXPECT_EQ(Shown(list, "Company"), "Acme, Bob");
        EXPECT_EQ(Shown(list, "Disp"), c.Disp) << c.JobNbr;
        EXPECT_EQ(Shown(list, "Status"), c.Status) << c.JobNbr;
        EXPECT_EQ(Shown(list, "Type"), c.Type) << c.JobNbr;
        EXPECT_EQ(Shown(list, "ShipToCompany"), c.ShipTo) << c.JobNbr;
    }
}

TEST_F(JobFormDmodTest, LabourAndMaterialLines) {
    Exec("insert into MAINT_REF values (1, 3, 'Each'), (0, 4, 'Only a status');"
         "insert into DEPT values (10, 'Shop', 1);"
         "insert into OPCODE values (1, 'CUT', 'Cutting', 10, 1), (2, 'XX', 'Other', 10, 5);"
         "insert into OPERATION (OpItemNbr, WoNbr, OpCdNbr, Seq, RtNotes, UomRef) values"
         " (1, 7, 1, 1, 'note', 3), (2, 7, 2, 2, NULL, NULL);"
         "insert into INVENTORY_ITEM (InvNbr, Code) values (40, 'BOLT');"
         "insert into WO_MAT values (1, 7, 40, 4, NULL), (2, 7, NULL, NULL, 'note');");
    TQuery& labour = *JobForm->WoLaborQ;
    labour.Params()[0]->SetAsInteger(7);
    Locate(labour, "OpItemNbr", 1);
    EXPECT_EQ(Shown(labour, "OpType"), "Direct");
    EXPECT_EQ(Shown(labour, "uom"), "Each");
    EXPECT_TRUE(labour.FieldByName("Notes")->AsBoolean());
    Locate(labour, "OpItemNbr", 2);
    EXPECT_EQ(Shown(labour, "OpType"), "<null>");
    EXPECT_EQ(Shown(labour, "uom"), "");
    EXPECT_FALSE(labour.FieldByName("Notes")->AsBoolean());

    TQuery& material = *JobForm->MatItemsQ;
    material.SQL()->Add("where M.WoNbr = 7");
    Locate(material, "WoMatNbr", 1);
    EXPECT_EQ(Shown(material, "Code"), "BOLT");
    EXPECT_EQ(Shown(material, "EstUom"), "") << "a unit of another type is no unit";
    EXPECT_FALSE(material.FieldByName("NoteChk")->AsBoolean());
    Locate(material, "WoMatNbr", 2);
    EXPECT_EQ(Shown(material, "Code"), "");
    EXPECT_TRUE(material.FieldByName("NoteChk")->AsBoolean());
}

TEST_F(JobFormDmodTest, OtherCostsTypeAndDayFirstDate) {
    Exec("insert into JOB_ITEM_OTH_COST values (1, 5, 1, '2024/03/07'), (2, 5, 3, NULL);");
    TQuery& costs = *JobForm->OthCostQ;
    costs.Open();
    Locate(costs, "OthCostNbr", 1);
    EXPECT_EQ(Shown(costs, "Stype"), "Freight");
    EXPECT_EQ(Shown(costs, "ShortDate"), "07/03/24");
    Locate(costs, "OthCostNbr", 2);
    EXPECT_EQ(Shown(costs, "Stype"), "<null>");
    EXPECT_EQ(Shown(costs, "ShortDate"), "");
}

TEST_F(JobFormDmodTest, AssignmentsNameTheAssigner) {
    Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (1, 'Ann', 'Lee'),"
         " (2, 'Bo', 'Ray');"
         "insert into ASSIGNMENT values (7, 10, 1, NULL, 50, 2), (7, 10, 2, NULL, 50, 99);");
    TQuery& assigned = *JobForm->EmpAssignQ;
    assigned.Params()[0]->SetAsInteger(7);
    assigned.Params()[1]->SetAsInteger(10);
    Locate(assigned, "EmpNbr", 1);
    EXPECT_EQ(Shown(assigned, "Name"), "Ann Lee");
    EXPECT_EQ(Shown(assigned, "AssignByName"), "Bo Ray");
    Locate(assigned, "EmpNbr", 2);
    EXPECT_EQ(Shown(assigned, "AssignByName"), " ") << "an assigner without a row";
}

TEST_F(JobFormDmodTest, TemplateDepartmentsCountTheirOperationCodes) {
    Exec("insert into DEPT values (10, 'Shop', 1), (20, 'Paint', 2);"
         "insert into DEPT_TEMPLATE values (1, 'Standard');"
         "insert into TEMPLATE_DEPT_ITEM values (100, 1, 10), (101, 1, 20);"
         "insert into TEMPLATE_OPCODE_ITEM values (100, 1), (100, 2), (101, 3);");
    JobForm->ListDeptTemplQ->Open();
    TQuery& items = *JobForm->ListDeptTmpItemsQ;
    items.Open(); // takes the template number from its master's row
    Locate(items, "DeptToken", 100);
    EXPECT_EQ(items.FieldByName("OpCdCount")->AsInteger(), 2);
    Locate(items, "DeptToken", 101);
    EXPECT_EQ(items.FieldByName("OpCdCount")->AsInteger(), 1);
}

TEST_F(JobFormDmodTest, ProgressBillingListNames) {
    Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME, FNAME) values (1, 'P', 'Acme', NULL);"
         "insert into SHIPVIA values (2, 'Truck');"
         "insert into JOBS (JobNbr, JobStatusNbr, JobTypeNbr, ShipViaNbr) values (1, NULL, NULL,"
         " 2), (2, 5, NULL, NULL);"
         "insert into PROGRESS_BILLING (ProgressBillingNbr, JobNbr, InvoiceNbr) values (1, 1, 9),"
         " (2, 2, 9);");
    TQuery& billings = *JobForm->ProgBillingQ;
    billings.SQL()->Add("and PB.JobNbr = J.JobNbr");
    Locate(billings, "ProgressBillingNbr", 1);
    EXPECT_EQ(Shown(billings, "Company"), "Acme");
    EXPECT_EQ(Shown(billings, "Status"), "");
    EXPECT_EQ(Shown(billings, "ShipVia"), "Truck");
    Locate(billings, "ProgressBillingNbr", 2);
    EXPECT_EQ(Shown(billings, "Status"), "") << "status 5 has no row";
    EXPECT_EQ(Shown(billings, "ShipVia"), "");
}

TEST(JobFormLabels, EveryEntryIsFilledIn) {
    auto filled = [](const auto& Labels) {
        return std::all_of(Labels.begin(), Labels.end(),
                           [](const char* Label) { return Label && *Label; });
    };
    EXPECT_TRUE(filled(TransmittalTypeLabels));
    EXPECT_TRUE(filled(TransmittalReasonLabels));
    EXPECT_TRUE(filled(RfiStatusLabels));
    EXPECT_TRUE(filled(RfiReasonLabels));
    EXPECT_TRUE(filled(CostImpactLabels));
    EXPECT_TRUE(filled(ScheduleImpactLabels));
    EXPECT_STREQ(TransmittalReasonLabels[7], "On Loan - Please Return Prints");
}

} // namespace
