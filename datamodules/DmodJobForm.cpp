#include "datamodules/DmodJobForm.h"

#include "platform/data/DataSource.h"
#include "platform/data/Query.h"

TJobFormDmod::TJobFormDmod(TComponent* AOwner) : TComponent(AOwner) {
    SetName(DmodNames::JobForm);
    CreateComponents();
    FilterOneFromDate = 0;
    FilterOneToDate = 0;
    FilterTwoFromDate = 0;
    FilterTwoToDate = 0;
    FilterOneText = "";
    FilterTwoText = "";
}

void TJobFormDmod::CreateComponents() {
    CreateWorkOrderQueries();
    CreateJobQueries();

    ContactListQ = NewQuery(
        this, "ContactListQ",
        // The contact's name is joined with ||: SQLite's + adds numbers.
        {"select contact_nbr,pub,last_name || ', ' || first_name as LastFirst from CONTACT where "
         "company_nbr = :a and COMPANY_PUB = :b order by last_name"});

    CreateDocumentComponents();

    const char* statusList = "SELECT JobStatusNbr, JobStatus FROM JOB_STATUS ORDER BY JobStatus";
    ListStatusQ = NewQuery(this, "ListStatusQ", {statusList});
    ListStatus2Q = NewQuery(this, "ListStatus2Q", {statusList});
    const char* companyList = "Select NAME, COMPANY_NBR, PUB from COMPANY ";
    ListCompanyQ = NewQuery(this, "ListCompanyQ", {companyList});
    ListCompany2Q = NewQuery(this, "ListCompany2Q", {companyList});

    CreateListReportComponents();
}

void TJobFormDmod::CreateWorkOrderQueries() {
    WoLaborQ = NewQuery(
        this, "WoLaborQ",
        {"SELECT  D.Name, D.DeptNbr, O.OpCode, O.OpCdNbr, O.OpCdCat, R.EstQty, R.EstCost, R.Seq, "
         "R.RtNotes, R.LineType, R.UomRef, R.OpItemNbr, O.OpCdDescr, R.SchedStartDt, R.SchedFinDt, "
         "R.ActualStartDt, R.ActualFinDt, PercentComp, R.ActualHrs,R.VelmQty,R.VelmCost , "
         "CreatedBy,CreateDt,ChangedBy,ChangeDt FROM OPERATION R, OPCODE O,  DEPT D WHERE R.WoNbr "
         "= :a AND R.OpCdNbr = O.OpCdNbr AND O.DeptNbr = D.DeptNbr ORDER BY R.Seq"});
    AddDataFields(
        this, WoLaborQ,
        {{"Name", ftString, 20},      {"DeptNbr", ftInteger},   {"OpCode", ftString, 3},
         {"OpCdNbr", ftInteger},      {"OpCdCat", ftInteger},   {"EstQty", ftFloat},
         {"EstCost", ftFloat},        {"Seq", ftInteger},       {"RtNotes", ftMemo},
         {"LineType", ftInteger},     {"UomRef", ftSmallint},   {"OpItemNbr", ftInteger},
         {"OpCdDescr", ftString, 22}, {"SchedStartDt", ftDate}, {"SchedFinDt", ftDate},
         {"ActualStartDt", ftDate},   {"ActualFinDt", ftDate},  {"PercentComp", ftInteger},
         {"ActualHrs", ftFloat},      {"VelmQty", ftFloat},     {"VelmCost", ftFloat},
         {"CreatedBy", ftString},     {"CreateDt", ftDateTime}, {"ChangedBy", ftString},
         {"ChangeDt", ftDateTime}});
    AddCalcFields(this, WoLaborQ,
                  {{"OpType", ftString, 9, "Op Code~Type"},
                   {"uom", ftString, 14, "UOM"},
                   {"Notes", ftBoolean}});
    WoLaborQ->OnCalcFields = [this](TDataSet* DataSet) { WoLaborQCalcFields(DataSet); };

    // The user appends the selection of the material lines.
    MatItemsQ = NewQuery(this, "MatItemsQ", {"SELECT * FROM WO_MAT M "});
    AddDataFields(this, MatItemsQ,
                  {{"WoMatNbr", ftInteger},
                   {"WoNbr", ftInteger},
                   {"InvNbr", ftInteger},
                   {"EstUomRef", ftSmallint},
                   {"Notes", ftMemo}});
    AddCalcFields(this, MatItemsQ,
                  {{"Code", ftString, 15},
                   {"EstUom", ftString, 8, "UOM"},
                   {"NoteChk", ftBoolean, 0, "Notes"}});
    MatItemsQ->OnCalcFields = [this](TDataSet* DataSet) { MatItemsQCalcFields(DataSet); };

    GrpWoList = NewDataSource(this, "GrpWoList", nullptr);
    GrpWoListQ =
        NewQuery(this, "GrpWoListQ", {"select * from WO where JobItemNbr = :a order by WoNbr"});
    AddDataFields(this, GrpWoListQ,
                  {{"WoNbr", ftInteger},
                   {"JobNbr", ftInteger},
                   {"JobItemNbr", ftInteger},
                   {"GrpNbr", ftInteger},
                   {"WoDescr", ftString, 60},
                   {"WorkOrdStatusNbr", ftInteger},
                   {"WorkOrdTypeNbr", ftInteger},
                   {"DispNbr", ftInteger},
                   {"WoTotalSellPrice", ftFloat},
                   {"PercentComp", ftInteger},
                   {"EmpNbr", ftInteger},
                   {"SchedStartDt", ftDate},
                   {"SchedFinDt", ftDate},
                   {"ShipDt", ftDate},
                   {"ActualStartDt", ftDate},
                   {"ActualFinDt", ftDate}});
    AddCalcFields(this, GrpWoListQ,
                  {{"Status", ftString, 20}, {"Type", ftString, 20}, {"Disp", ftString, 20}});
    GrpWoListQ->OnCalcFields = [this](TDataSet* DataSet) { GrpWoListQCalcFields(DataSet); };
    GrpWoList->SetDataSet(GrpWoListQ);

    CommonSql = NewQuery(this, "CommonSql", {});
    ChangeFlagsSql = NewQuery(this, "ChangeFlagsSql", {});
}

void TJobFormDmod::CreateJobQueries() {
    JobList = NewDataSource(this, "JobList", nullptr);
    // The user appends the joins and the selection of the jobs.
    JobListQ = NewQuery(this, "JobListQ",
                        {"select JobNbr,JobDescr,JobId,JobStatusNbr,JobTypeNbr,DispNbr, "
                         "NAME,FNAME,ShipToNbr,ShipToPub,ShipToAddr,BillProjectNbrs from JOBS J, "
                         "COMPANY C"});
    AddDataFields(this, JobListQ,
                  {{"JobNbr", ftInteger},
                   {"JobDescr", ftString, 60},
                   {"JobId", ftString, 20},
                   {"JobStatusNbr", ftInteger},
                   {"JobTypeNbr", ftInteger},
                   {"DispNbr", ftInteger},
                   {"NAME", ftString, 60},
                   {"FNAME", ftString, 40},
                   {"ShipToNbr", ftInteger},
                   {"ShipToPub", ftString, 10},
                   {"ShipToAddr", ftMemo},
                   {"BillProjectNbrs", ftString, 255}});
    AddCalcFields(this, JobListQ,
                  {{"Company", ftString, 60},
                   {"Disp", ftString, 18},
                   {"Status", ftString, 25},
                   {"Type", ftString, 25},
                   {"ShipToCompany", ftString, 65}});
    JobListQ->OnCalcFields = [this](TDataSet* DataSet) { JobListQCalcFields(DataSet); };
    JobList->SetDataSet(JobListQ);

    CommonSql2 = NewQuery(this, "CommonSql2", {});
    WoDeptEstQ = NewQuery(
        this, "WoDeptEstQ",
        {"select WoNbr, DeptRef, Name, EstHrs, ActualHrs, PercentComp, SchedStartDt, SchedFinDt, "
         "NbrOfResources,DeptActLaborCost,PercentBudget, ActualStartDt, "
         "ActualFinDt,VelmHrs,DurationInDays,CreatedBy,CreateDt, ChangedBy,ChangeDt,TargetFinDt "
         "from DEPT_EST, DEPT where WoNbr = :a and DEPT_EST.DeptRef = DEPT.DeptNbr order by Seq"});

    EmpAssign = NewDataSource(this, "EmpAssign", nullptr);
    EmpAssignQ = NewQuery(this, "EmpAssignQ",
                          {"select E.EmpNbr, Fname, Lname, AssignDt, PercentAssign, AssignBy from "
                           "ASSIGNMENT A, EMPLOYEE E where WoNbr = :a and DeptRef = :b and "
                           "A.EmpNbr = E.EmpNbr order by Lname"});
    AddDataFields(this, EmpAssignQ,
                  {{"EmpNbr", ftInteger},
                   {"Fname", ftString, 15},
                   {"Lname", ftString, 22},
                   {"AssignDt", ftDate},
                   {"PercentAssign", ftFloat},
                   {"AssignBy", ftInteger}});
    AddCalcFields(this, EmpAssignQ, {{"Name", ftString, 38}, {"AssignByName", ftString, 38}});
    EmpAssignQ->OnCalcFields = [this](TDataSet* DataSet) { EmpAssignQCalcFields(DataSet); };
    EmpAssign->SetDataSet(EmpAssignQ);

    WoListByStatusQ = NewQuery(this, "WoListByStatusQ", {});
    // The user appends the selection of the other costs.
    OthCostQ = NewQuery(this, "OthCostQ", {"select * from JOB_ITEM_OTH_COST "});
    AddDataFields(this, OthCostQ,
                  {{"OthCostNbr", ftInteger},
                   {"JobItemNbr", ftInteger},
                   {"Type", ftInteger},
                   {"OthCostDt", ftDate}});
    AddCalcFields(this, OthCostQ, {{"Stype", ftString, 8}, {"ShortDate", ftString, 8}});
    OthCostQ->OnCalcFields = [this](TDataSet* DataSet) { OthCostQCalcFields(DataSet); };
    DsOthCost = NewDataSource(this, "DsOthCost", OthCostQ);
    WoListByStatusQ2 = NewQuery(this, "WoListByStatusQ2", {});

    JobItemWoList = NewDataSource(this, "JobItemWoList", nullptr);
    JobItemWoListQ = NewQuery(this, "JobItemWoListQ",
                              {"Select WoNbr,WoDescr,PercentComp, WoTotalSellPrice from WO where "
                               "JobItemNbr = :a order by WoNbr"});
    JobItemWoList->SetDataSet(JobItemWoListQ);

    ListDeptTemplQ =
        NewQuery(this, "ListDeptTemplQ", {"select * from DEPT_TEMPLATE order by DeptTemplName"});
    DsDeptTemplate = NewDataSource(this, "DsDeptTemplate", ListDeptTemplQ);
    ListDeptTmpItemsQ = NewQuery(this, "ListDeptTmpItemsQ",
                                 {"select DeptToken, DeptTemplNbr, DeptRef , Name from "
                                  "TEMPLATE_DEPT_ITEM , DEPT where DeptTemplNbr = :DeptTemplNbr "
                                  "and DeptRef = DeptNbr order by Seq"});
    AddDataFields(this, ListDeptTmpItemsQ,
                  {{"DeptToken", ftInteger},
                   {"DeptTemplNbr", ftInteger},
                   {"DeptRef", ftInteger},
                   {"Name", ftString, 20}});
    AddCalcFields(this, ListDeptTmpItemsQ, {{"OpCdCount", ftInteger}});
    ListDeptTmpItemsQ->OnCalcFields = [this](TDataSet* DataSet) {
        ListDeptTmpItemsQCalcFields(DataSet);
    };
    ListDeptTmpItemsQ->SetDataSource(DsDeptTemplate);
    DsDeptTItems = NewDataSource(this, "DsDeptTItems", ListDeptTmpItemsQ);

    CommonSql3 = NewQuery(this, "CommonSql3", {});

    // The user appends the joins and the selection of the billings.
    ProgBillingQ = NewQuery(
        this, "ProgBillingQ",
        {"select ProgressBillingNbr,PB.JobNbr,InvoiceNbr,InvoiceFromDt,InvoiceToDt, "
         "ApplicationNbr,JobDescr,JobId,JobStatusNbr,JobTypeNbr,NAME,FNAME, "
         "CompanyNbr,CompanyPub,ShipToNbr,ShipToPub,ShipToAddr,PoNbr, "
         "ShipViaNbr,VelmJobNbr,VelmJobPub,DueDt from PROGRESS_BILLING PB, JOBS J, COMPANY C "
         "where InvoiceNbr is not NULL "});
    AddDataFields(this, ProgBillingQ,
                  {{"ProgressBillingNbr", ftInteger},
                   {"JobNbr", ftInteger},
                   {"InvoiceNbr", ftInteger},
                   {"InvoiceFromDt", ftDate},
                   {"InvoiceToDt", ftDate},
                   {"ApplicationNbr", ftInteger},
                   {"JobDescr", ftString, 60},
                   {"JobId", ftString, 20},
                   {"JobStatusNbr", ftInteger},
                   {"JobTypeNbr", ftInteger},
                   {"NAME", ftString, 60},
                   {"FNAME", ftString, 40},
                   {"CompanyNbr", ftInteger},
                   {"CompanyPub", ftString, 10},
                   {"ShipToNbr", ftInteger},
                   {"ShipToPub", ftString, 10},
                   {"ShipToAddr", ftMemo},
                   {"PoNbr", ftString, 30},
                   {"ShipViaNbr", ftInteger},
                   {"VelmJobNbr", ftInteger},
                   {"VelmJobPub", ftString, 10},
                   {"DueDt", ftDate}});
    AddCalcFields(this, ProgBillingQ,
                  {{"Company", ftString, 65},
                   {"Status", ftString, 20},
                   {"Type", ftString, 25},
                   {"ShipVia", ftString, 25}});
    ProgBillingQ->OnCalcFields = [this](TDataSet* DataSet) { ProgBillingQCalcFields(DataSet); };
    DsProgBilling = NewDataSource(this, "DsProgBilling", ProgBillingQ);

    CommonSql4 = NewQuery(this, "CommonSql4", {});
    CommonSql5 = NewQuery(this, "CommonSql5", {});
    MyCompanyContactListQ = NewQuery(this, "MyCompanyContactListQ", {});
}
