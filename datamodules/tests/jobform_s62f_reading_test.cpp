// The job-form data module read through its alert lookups, billing totals and
// list queries on a real shop database.
#include "datamodules/DmodJobForm.h"
#include "datamodules/ShopDataModules.h"
#include "ShopModuleTest.h"

#include "platform/data/Field.h"
#include "platform/rtl/StringList.h"

#include <functional>
#include <string>
#include <vector>

namespace {

class JobFormFreshReading : public ShopModuleTest {
protected:
    void SetUp() override {
        ShopModuleTest::SetUp();
        JobForm = CreateShopDataModules(Owner).JobForm;
    }
    static std::string Text(const TQuery* Q, const char* Name) {
        return Q->FieldByName(Name)->AsString().c_str();
    }
    static void Append(TQuery* Q, const char* Line) {
        Q->Close();
        Q->SQL()->Add(Line);
        Q->Open();
    }
    // One integer read on the test's own connection.
    int Scalar(const std::string& Sql) {
        TQuery probe(Owner);
        probe.SetDatabaseName(ShopDatabaseName);
        probe.SQL()->Add(Sql.c_str());
        probe.Open();
        return probe.Fields()[0]->AsInteger();
    }
    TJobFormDmod* JobForm = nullptr;
};

TEST_F(JobFormFreshReading, LookupsResetTheChangeFlagsOfTheirRowOnly) {
    Exec("insert into JOBS (JobNbr, JobId, ChangedByScheduler) values (40, 'J1', 1), (41, 'J2', 1)");
    Exec("insert into JOB_ITEM (JobItemNbr, JobNbr, ChangedByScheduler) values (50, 40, 1), (51, 40, 1)");
    Exec("insert into WO (WoNbr, JobNbr, StatusChgInd, ChangedByScheduler) values (60, 40, 1, 1), (61, 40, 1, 1)");
    struct Case {
        const char* What;
        std::function<void()> Select;
        const char* Flags;  // the flags of the selected row and of its neighbour
        const char* Key;
        int Nbr;
    };
    const std::vector<Case> Cases = {
        {"job", [&] { JobForm->SelectJob(40); }, "ChangedByScheduler from JOBS", "JobNbr", 40},
        {"item", [&] { JobForm->SelectJobItem(50); }, "ChangedByScheduler from JOB_ITEM", "JobItemNbr", 50},
        {"wo", [&] { JobForm->SelectWorkOrder(60); }, "StatusChgInd + ChangedByScheduler from WO", "WoNbr", 60},
    };
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.What);
        c.Select();
        auto* q = JobForm->CommonSql;
        ASSERT_EQ(q->RecordCount(), 1);
        EXPECT_EQ(q->FieldByName(c.Key)->AsInteger(), c.Nbr);
        EXPECT_EQ(q->FieldByName("ChangedByScheduler")->AsInteger(), 0);
        const std::string flags = std::string("select ") + c.Flags + " where " + c.Key + " = ";
        EXPECT_EQ(Scalar(flags + std::to_string(c.Nbr)), 0);
        EXPECT_GT(Scalar(flags + std::to_string(c.Nbr + 1)), 0);
    }
    EXPECT_EQ(JobForm->CommonSql->FieldByName("StatusChgInd")->AsInteger(), 0);

    JobForm->SelectWorkOrder(99);
    EXPECT_TRUE(JobForm->CommonSql->Active());
    EXPECT_EQ(JobForm->CommonSql->RecordCount(), 0);
    EXPECT_TRUE(JobForm->CommonSql->FieldByName("WoNbr")->IsNull());
    JobForm->SelectJob(99);
    EXPECT_EQ(JobForm->CommonSql->RecordCount(), 0);

    Exec("insert into WO_PRODUCTS (WoProductNbr, WoNbr, MakeQty) values (70, 60, 5)");
    JobForm->SelectWoProduct(70);
    EXPECT_EQ(JobForm->CommonSql->FieldByName("MakeQty")->AsInteger(), 5);

    Exec("insert into DEPT_EST (WoNbr, DeptRef, EstHrs) values (60, 1, 3), (60, 2, 1), (60, 2, 2)");
    struct Est {
        int Dept;
        bool Found;
    };
    for (const Est& e : std::vector<Est>{{1, true}, {2, false}, {3, false}}) {
        SCOPED_TRACE(e.Dept);
        EXPECT_EQ(JobForm->SelectDeptEstimate(60, e.Dept), e.Found);
    }
    JobForm->SelectDeptEstimate(60, 1);
    EXPECT_DOUBLE_EQ(JobForm->CommonSql->FieldByName("EstHrs")->AsFloat(), 3);
}

TEST_F(JobFormFreshReading, BillingTotals) {
    Exec("insert into BILLING (BillingNbr, JobNbr, InvoiceNbr, TotalPrice, PostedInd) values"
         " (1, 40, 100, 10.5, 1), (2, 40, NULL, 20, 1), (3, 40, 101, 40, 0), (4, 40, 102, 1.25, 1)");
    struct Inv {
        int Job;
        double Total;
    };
    for (const Inv& c : std::vector<Inv>{{40, 11.75}, {41, 0}}) {
        SCOPED_TRACE(c.Job);
        double total = -1;
        JobForm->GetJobInvoicedTotal(c.Job, total);
        EXPECT_DOUBLE_EQ(total, c.Total);
    }

    Exec("insert into PROGRESS_BILLING (ProgressBillingNbr, JobNbr, ApplicationNbr) values"
         " (1, 40, 1), (2, 40, 2), (3, 41, 3), (4, 41, 3), (5, 42, 0), (6, 43, NULL)");
    struct Last {
        int Job, Nbr;
    };
    for (const Last& c : std::vector<Last>{{40, 2}, {41, -99}, {42, -99}, {43, -99}, {44, -99}}) {
        SCOPED_TRACE(c.Job);
        EXPECT_EQ(JobForm->GetLastProgressBillingNbr(c.Job), c.Nbr);
    }

    Exec("insert into PROG_BILL_ITEM (ProgressBillingNbr, TotComplStoredAmt) values (2, 5), (2, 2.5), (1, 100)");
    struct Stored {
        int Billing, Job;
        double Total;
    };
    for (const Stored& c : std::vector<Stored>{{2, 40, 7.5}, {2, 41, 0}, {5, 42, 0}}) {
        SCOPED_TRACE(c.Billing);
        double total = -1;
        JobForm->GetProgressBillingStoredTotal(c.Billing, c.Job, total);
        EXPECT_DOUBLE_EQ(total, c.Total);
    }
}

TEST_F(JobFormFreshReading, WorkOrderAndJobListTexts) {
    Exec("insert into WO_TYPE (WorkOrdTypeNbr, WorkOrdType) values (1, 'Fab'), (2, 'Assembly')");
    Exec("insert into WO (WoNbr, JobItemNbr, WorkOrdStatusNbr, WorkOrdTypeNbr, DispNbr) values"
         " (1, 50, 0, 2, 3), (2, 50, 9, -99, 99), (3, 50, 42, 7, NULL)");
    JobForm->GrpWoListQ->ParamByName("a")->SetAsInteger(50);
    JobForm->GrpWoListQ->Open();
    struct Wo {
        const char *Status, *Type, *Disp;
    };
    auto* g = JobForm->GrpWoListQ;
    ASSERT_EQ(g->RecordCount(), 3);
    for (const Wo& w : std::vector<Wo>{{"Pending", "Assembly", "Late"}, {"Paid", "", ""}, {"Bad Status", "", ""}}) {
        SCOPED_TRACE(g->FieldByName("WoNbr")->AsInteger());
        EXPECT_EQ(Text(g, "Status"), w.Status);
        EXPECT_EQ(Text(g, "Type"), w.Type);
        EXPECT_EQ(Text(g, "Disp"), w.Disp);
        g->Next();
    }

    Exec("insert into JOB_STATUS (JobStatusNbr, JobStatus) values (1, 'Open')");
    Exec("insert into JOB_TYPE (JobTypeNbr, JobType) values (1, 'Repair')");
    Exec("insert into SHIPVIA (ShipViaNbr, ShipVia) values (1, 'Truck')");
    Exec("insert into COMPANY (COMPANY_NBR, PUB, NAME, FNAME) values (5, 'P', 'Acme', NULL), (6, 'P', 'Best', 'Bob')");
    Exec("insert into JOBS (JobNbr, CompanyNbr, CompanyPub, JobStatusNbr, JobTypeNbr, DispNbr, ShipToNbr,"
         " ShipToPub, ShipToAddr, ShipViaNbr) values"
         " (40, 5, 'P', 1, 1, 2, NULL, NULL, 'Dock 4', 1),"
         " (41, 6, 'P', NULL, NULL, NULL, 6, 'P', NULL, NULL),"
         " (42, 5, 'P', 9, 9, NULL, NULL, NULL, NULL, 9)");
    Append(JobForm->JobListQ, " where J.CompanyNbr = C.COMPANY_NBR and J.CompanyPub = C.PUB order by JobNbr");
    struct Job {
        const char *Company, *Disp, *Status, *Type, *ShipTo;
        bool StatusNull, ShipToNull;
    };
    auto* j = JobForm->JobListQ;
    ASSERT_EQ(j->RecordCount(), 3);
    for (const Job& r : std::vector<Job>{{"Acme", "On Time", "Open", "Repair", "User Entered", false, false},
                                         {"Best, Bob", "", "", "", "Best, Bob", true, false},
                                         {"Acme", "", "", "", "", false, true}}) {
        SCOPED_TRACE(j->FieldByName("JobNbr")->AsInteger());
        EXPECT_EQ(Text(j, "Company"), r.Company);
        EXPECT_EQ(Text(j, "Disp"), r.Disp);
        EXPECT_EQ(Text(j, "Status"), r.Status);
        EXPECT_EQ(j->FieldByName("Status")->IsNull(), r.StatusNull);
        EXPECT_EQ(Text(j, "Type"), r.Type);
        EXPECT_EQ(Text(j, "ShipToCompany"), r.ShipTo);
        EXPECT_EQ(j->FieldByName("ShipToCompany")->IsNull(), r.ShipToNull);
        j->Next();
    }

    Exec("insert into PROGRESS_BILLING (ProgressBillingNbr, JobNbr, InvoiceNbr) values (1, 40, 7), (2, 41, 8), (3, 42, NULL)");
    Append(JobForm->ProgBillingQ, " and PB.JobNbr = J.JobNbr and J.CompanyNbr = C.COMPANY_NBR"
                                  " and J.CompanyPub = C.PUB order by PB.JobNbr");
    auto* p = JobForm->ProgBillingQ;
    ASSERT_EQ(p->RecordCount(), 2);
    EXPECT_EQ(Text(p, "Company"), "Acme");
    EXPECT_EQ(Text(p, "Status"), "Open");
    EXPECT_EQ(Text(p, "Type"), "Repair");
    EXPECT_EQ(Text(p, "ShipVia"), "Truck");
    p->Next();
    EXPECT_EQ(Text(p, "Company"), "Best, Bob");
    EXPECT_EQ(Text(p, "Status"), "");
    EXPECT_EQ(Text(p, "ShipVia"), "");
}

TEST_F(JobFormFreshReading, OperationMaterialCostAndAssignmentTexts) {
    Exec("insert into MAINT_REF (TYPE, ID, ITEM) values (1, 3, 'Each')");
    Exec("insert into DEPT (DeptNbr, Name) values (1, 'Weld')");
    Exec("insert into OPCODE (OpCdNbr, OpCode, DeptNbr, OpCdCat) values (1, 'A', 1, 0), (2, 'B', 1, 1),"
         " (3, 'C', 1, 2), (4, 'D', 1, 5)");
    Exec("insert into OPERATION (OpItemNbr, WoNbr, OpCdNbr, Seq, RtNotes, UomRef) values"
         " (1, 60, 1, 1, 'n', 3), (2, 60, 2, 2, NULL, NULL), (3, 60, 3, 3, NULL, 8), (4, 60, 4, 4, NULL, NULL)");
    JobForm->WoLaborQ->ParamByName("a")->SetAsInteger(60);
    JobForm->WoLaborQ->Open();
    struct Op {
        const char *Type, *Uom;
        bool Notes;
    };
    auto* l = JobForm->WoLaborQ;
    ASSERT_EQ(l->RecordCount(), 4);
    for (const Op& o : std::vector<Op>{{"Setup", "Each", true}, {"Direct", "", false}, {"Indirect", "", false}, {"", "", false}}) {
        SCOPED_TRACE(l->FieldByName("Seq")->AsInteger());
        EXPECT_EQ(Text(l, "OpType"), o.Type);
        EXPECT_EQ(Text(l, "uom"), o.Uom);
        EXPECT_EQ(l->FieldByName("Notes")->AsBoolean(), o.Notes);
        l->Next();
    }

    Exec("insert into INVENTORY_ITEM (InvNbr, Code) values (9, 'BOLT')");
    Exec("insert into WO_MAT (WoMatNbr, WoNbr, InvNbr, EstUomRef, Notes) values (1, 60, 9, 3, 'n'), (2, 60, NULL, NULL, NULL)");
    Append(JobForm->MatItemsQ, "where WoNbr = 60 order by WoMatNbr");
    auto* m = JobForm->MatItemsQ;
    EXPECT_EQ(Text(m, "Code"), "BOLT");
    EXPECT_EQ(Text(m, "EstUom"), "Each");
    EXPECT_TRUE(m->FieldByName("NoteChk")->AsBoolean());
    m->Next();
    EXPECT_EQ(Text(m, "Code"), "");
    EXPECT_EQ(Text(m, "EstUom"), "");
    EXPECT_FALSE(m->FieldByName("NoteChk")->AsBoolean());

    Exec("insert into JOB_ITEM_OTH_COST (OthCostNbr, JobItemNbr, Type, OthCostDt) values"
         " (1, 50, 0, '2006/11/16'), (2, 50, 1, NULL), (3, 50, 2, NULL), (4, 50, 3, NULL)");
    Append(JobForm->OthCostQ, "where JobItemNbr = 50 order by OthCostNbr");
    auto* o = JobForm->OthCostQ;
    EXPECT_EQ(Text(o, "ShortDate"), "16/11/06");
    for (const char* type : {"Travel", "Freight", "Misc", ""}) {
        EXPECT_EQ(Text(o, "Stype"), type);
        o->Next();
    }
    JobForm->DatePreference = 1;
    o->Close();
    o->Open();
    EXPECT_EQ(Text(o, "ShortDate"), "11/16/06");

    Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (7, 'Ann', 'Lee'), (8, 'Bo', 'Ma')");
    Exec("insert into ASSIGNMENT (WoNbr, DeptRef, EmpNbr, AssignBy) values (60, 1, 7, 8), (60, 1, 8, 99)");
    JobForm->EmpAssignQ->ParamByName("a")->SetAsInteger(60);
    JobForm->EmpAssignQ->ParamByName("b")->SetAsInteger(1);
    JobForm->EmpAssignQ->Open();
    auto* a = JobForm->EmpAssignQ;
    EXPECT_EQ(Text(a, "Name"), "Ann Lee");
    EXPECT_EQ(Text(a, "AssignByName"), "Bo Ma");
    a->Next();
    EXPECT_EQ(Text(a, "Name"), "Bo Ma");
    EXPECT_EQ(Text(a, "AssignByName"), " ");

    Exec("insert into DEPT_TEMPLATE (DeptTemplNbr, DeptTemplName) values (1, 'T')");
    Exec("insert into TEMPLATE_DEPT_ITEM (DeptToken, DeptTemplNbr, DeptRef) values (11, 1, 1)");
    Exec("insert into TEMPLATE_OPCODE_ITEM (DeptToken, OpCdNbr) values (11, 1), (11, 2), (12, 3)");
    JobForm->ListDeptTemplQ->Open();
    JobForm->ListDeptTmpItemsQ->Open();
    ASSERT_EQ(JobForm->ListDeptTmpItemsQ->RecordCount(), 1);
    EXPECT_EQ(JobForm->ListDeptTmpItemsQ->FieldByName("OpCdCount")->AsInteger(), 2);
}

TEST_F(JobFormFreshReading, ContactListShowsLastAndFirstName) {
    Exec("insert into CONTACT (CONTACT_NBR, PUB, LAST_NAME, FIRST_NAME, COMPANY_NBR, COMPANY_PUB) values"
         " (1, 'P', 'Lee', 'Ann', 5, 'P')");
    JobForm->ContactListQ->ParamByName("a")->SetAsInteger(5);
    JobForm->ContactListQ->ParamByName("b")->SetAsString("P");
    JobForm->ContactListQ->Open();
    ASSERT_EQ(JobForm->ContactListQ->RecordCount(), 1);
    EXPECT_EQ(Text(JobForm->ContactListQ, "LastFirst"), "Lee, Ann");
}

} // namespace
