#include "datamodules/DmodEmp.h"

#include "datamodules/DmodCommon.h"
#include "datamodules/DmodVelm.h"
#include "datamodules/format/DateSettings.h"
#include "datamodules/format/DateText.h"
#include "datamodules/format/RowSearch.h"
#include "platform/data/DataSource.h"
#include "platform/data/Query.h"
#include "platform/data/SqlDateText.h"
#include "platform/rtl/FloatFormat.h"

#include <cmath>

namespace {

// Hours of a number of minutes, rounded to two decimals through their text
// the way the exports show them; a NULL gives 0.
double HoursOf(const TField* Minutes) {
    if (Minutes->IsNull()) return 0.0;
    return StrToFloat(FloatToStrF(Minutes->AsFloat() / 60.0, ffFixed, 9, 2));
}

// "Tue Dec 8  2:05 PM" for a time stamp; empty for NULL.
AnsiString StartText(const TField* TimeOn) {
    if (TimeOn->IsNull()) return "";
    AnsiString day;
    FormatDateByCode(std::trunc(TimeOn->AsDateTime().Val), day, 6);
    AnsiString time;
    DateTimeTextToTimeText(TimeOn->AsString(), time);
    return day + "  " + time;
}

// "2:05 PM" for a time stamp; empty for NULL.
AnsiString TimeText(const TField* Stamp) {
    AnsiString time;
    if (!Stamp->IsNull()) DateTimeTextToTimeText(Stamp->AsString(), time);
    return time;
}

AnsiString MinutesText(int Mode, const TField* Minutes) {
    AnsiString text;
    FormatMinutes(Mode, static_cast<float>(Minutes->AsFloat()), text);
    return text;
}

// "OpCode - OpCdDescr" of an operation code; empty when there is not
// exactly one.
AnsiString OpCodeText(TVelmDmod& Velm, int OpCdNbr) {
    AnsiString code, descr;
    if (Velm.GetOpCode(OpCdNbr, code, descr) == -99) return "";
    return code + " - " + descr;
}

void SetHours(TDataSet& Row, std::initializer_list<std::pair<const char*, const char*>> Pairs) {
    for (const auto& [target, minutes] : Pairs)
        Row.FieldByName(target)->SetAsFloat(HoursOf(Row.FieldByName(minutes)));
}

} // namespace

TEmpDmod::TEmpDmod(TComponent* AOwner) : TComponent(AOwner) {
    SetName(DmodNames::Emp);
    CreateComponents();
    ExportStartDate = 0.0;
    ExportThruDate = 0.0;
}

void TEmpDmod::CreateComponents() {
    CommonSql = NewQuery(this, "CommonSql", {});
    CreateListQueries();
    CreateTimeQueries();
    CreateExportQueries();
    CreatePayrollQueries();

    // The name fields as SelectEmpQuery declares them, so both give the same
    // texts.
    SelectEmpNameQ = NewQuery(this, "SelectEmpNameQ",
                              {"select Fname, Lname from EMPLOYEE where EmpNbr = :a"});
    AddDataFields(this, SelectEmpNameQ, {{"Fname", ftString, 15}, {"Lname", ftString, 22}});
    AddCalcFields(this, SelectEmpNameQ, {{"FirstLast", ftString, 50}});
    SelectEmpNameQ->OnCalcFields = [this](TDataSet* DataSet) { EmpNamesCalcFields(DataSet); };
}

void TEmpDmod::CreateListQueries() {
    auto names = [this](TDataSet* DataSet) { EmpNamesCalcFields(DataSet); };
    auto nameList = [&](const char* Name, std::initializer_list<const char*> Lines,
                        bool LastFirst) {
        TQuery* query = NewQuery(this, Name, Lines);
        AddDataFields(this, query,
                      {{"EmpNbr", ftInteger},
                       {"Fname", ftString, 15},
                       {"Lname", ftString, 22},
                       {"EmpCode", ftString, 12},
                       {"DeptNbr", ftInteger}});
        AddCalcFields(this, query, {{"FirstLast", ftString, 50}});
        if (LastFirst) AddCalcFields(this, query, {{"LastFirst", ftString, 50}});
        query->OnCalcFields = names;
        return query;
    };

    ListEmpQuery = nameList("ListEmpQuery", {"Select * from EMPLOYEE"}, true);

    SelectEmpQuery = NewQuery(this, "SelectEmpQuery", {"select * from EMPLOYEE where EmpNbr = :a"});
    AddDataFields(this, SelectEmpQuery,
                  {{"EmpNbr", ftInteger},
                   {"EmpId", ftString, 4},
                   {"FringeCost", ftFloat},
                   {"Fname", ftString, 15},
                   {"Lname", ftString, 22}});
    AddCalcFields(this, SelectEmpQuery, {{"FirstLast", ftString, 50}});
    AddDataFields(this, SelectEmpQuery,
                  {{"DirectCost", ftFloat},
                   {"OverheadCost", ftFloat},
                   {"PayrollCost", ftFloat},
                   {"TotalCost", ftFloat},
                   {"UseTimeCard", ftInteger},
                   {"BuildingNbr", ftInteger},
                   {"UndevelopedCost", ftFloat},
                   {"MarkupPercent", ftFloat},
                   {"ShiftNbr", ftInteger},
                   {"DeptNbr", ftInteger},
                   {"EmpCode", ftString, 12},
                   {"ProductionEmp", ftInteger},
                   {"GLacct", ftInteger},
                   {"Dornwickuser", ftInteger},
                   {"Inactive", ftInteger},
                   {"HourlyEmployee", ftInteger},
                   {"ScheduleInd", ftInteger},
                   {"TempEmpInd", ftInteger}});
    SelectEmpQuery->OnCalcFields = names;

    ListEmpQ2 = nameList("ListEmpQ2",
                         {"select * from EMPLOYEE",
                          "where EmpNbr > 0 and Inactive = 0 and Dornwickuser = 1",
                          "order by Lname, Fname"},
                         true);
    ListEmpQ3 =
        nameList("ListEmpQ3",
                 {"select * from EMPLOYEE", "where EmpNbr > 0 and UseTimeCard = 1 and Inactive = 0",
                  "order by Lname, Fname"},
                 false);
    InactiveEmpListQ = nameList(
        "InactiveEmpListQ",
        {"select * from EMPLOYEE", "where EmpNbr > 0 and Inactive = 1", "order by Lname, Fname"},
        false);
    ActiveEmpQ = nameList(
        "ActiveEmpQ",
        {"select * from EMPLOYEE", "where EmpNbr > 0 and Inactive = 0", "order by Lname, Fname"},
        true);
}

void TEmpDmod::CreateTimeQueries() {
    EmpActualsQ = NewQuery(
        this, "EmpActualsQ",
        {"select WoNbr, EmpNbr, TimeOn, TimeOff, TotalTime, OtInd, FinInd, ApproveInd, OpCdNbr,",
         "WorkDt, QtyFinished, ApprovalEmpNbr, ActNbr, Source, PercentComplete,",
         "RemovedLunchTime, MultipleWorkOrders, LatLngOn, LatLngOff, Notes", "from ACTUALS",
         "where EmpNbr = 100 and WorkDt = '2010/01/08'", "order by TimeOn"});
    AddDataFields(this, EmpActualsQ,
                  {{"WoNbr", ftInteger},
                   {"EmpNbr", ftInteger},
                   {"TimeOn", ftDateTime},
                   {"TimeOff", ftDateTime},
                   {"TotalTime", ftFloat},
                   {"OtInd", ftInteger},
                   {"FinInd", ftInteger},
                   {"ApproveInd", ftInteger},
                   {"OpCdNbr", ftInteger},
                   {"WorkDt", ftDate},
                   {"QtyFinished", ftFloat},
                   {"ApprovalEmpNbr", ftInteger},
                   {"ActNbr", ftInteger},
                   {"Source", ftInteger},
                   {"PercentComplete", ftInteger},
                   {"RemovedLunchTime", ftFloat},
                   {"MultipleWorkOrders", ftInteger},
                   {"LatLngOn", ftString, 50},
                   {"LatLngOff", ftString, 50},
                   {"Notes", ftMemo}});
    AddCalcFields(this, EmpActualsQ,
                  {{"WoDescr", ftString, 60},
                   {"ItemNbr", ftInteger},
                   {"JobItemDescr", ftString, 60},
                   {"JobId", ftString, 20},
                   {"JobDescr", ftString, 60},
                   {"OpCode", ftString, 30},
                   {"Start", ftString, 25},
                   {"End", ftString, 10},
                   {"TimeWorked", ftString, 10},
                   {"JobNbr", ftInteger},
                   {"JobItemNbr", ftInteger},
                   {"WageType", ftString, 4},
                   {"SourceLiteral", ftString, 6},
                   {"GPSInd", ftInteger},
                   {"DisplayNotes", ftString, 255}});
    EmpActualsQ->OnCalcFields = [this](TDataSet* DataSet) { EmpActualsQCalcFields(DataSet); };

    // OpCd has no handler: the form declares it and nothing fills it.
    ManTimeQ = NewQuery(this, "ManTimeQ",
                        {"select WoNbr, TotalTime, FinInd, OpCdNbr", "from ACTUALS",
                         "where EmpNbr = 10 and WorkDt = '2000/12/12'", "order by TimeOn"});
    AddDataFields(this, ManTimeQ,
                  {{"WoNbr", ftInteger},
                   {"TotalTime", ftFloat},
                   {"FinInd", ftInteger},
                   {"OpCdNbr", ftInteger}});
    AddCalcFields(this, ManTimeQ, {{"OpCd", ftString, 30}});

    ClockQ = NewQuery(this, "ClockQ",
                      {"select TimeOn, TimeOff, TotalTime, RegTime, Ot1Time, Ot2Time, "
                       "TimeClockNbr, T.PayItemTypeToken,",
                       "RemovedLunchTime, ShortName, LatLngOn, LatLngOff",
                       "from TIMECLOCK T, PAY_ITEM_TYPE P",
                       "where T.PayItemTypeToken = P.PayItemTypeToken",
                       "and EmpNbr = :a and WorkDt = :b", "order by TimeOn"});
    AddDataFields(this, ClockQ,
                  {{"TimeOn", ftDateTime},
                   {"TimeOff", ftDateTime},
                   {"TotalTime", ftFloat},
                   {"RegTime", ftFloat},
                   {"Ot1Time", ftFloat},
                   {"Ot2Time", ftFloat},
                   {"TimeClockNbr", ftInteger},
                   {"PayItemTypeToken", ftInteger},
                   {"RemovedLunchTime", ftFloat},
                   {"ShortName", ftString, 20},
                   {"LatLngOn", ftString, 50},
                   {"LatLngOff", ftString, 50}});
    AddCalcFields(this, ClockQ,
                  {{"Start", ftString, 25},
                   {"End", ftString, 10},
                   {"TimeWorked", ftString, 10},
                   {"RegWorked", ftString, 10},
                   {"Ot1Worked", ftString, 10},
                   {"Ot2Worked", ftString, 10},
                   {"GPSInd", ftString, 3}});
    ClockQ->OnCalcFields = [this](TDataSet* DataSet) { ClockQCalcFields(DataSet); };

    EmpWageQ = NewQuery(this, "EmpWageQ", {"select * from Emp_Wage"});
    AddDataFields(this, EmpWageQ,
                  {{"EmpWageNbr", ftInteger},
                   {"EmpNbr", ftInteger},
                   {"StartDt", ftDate},
                   {"ThruDt", ftDate},
                   {"DirectCost", ftFloat},
                   {"PayrollCost", ftFloat},
                   {"FringeCost", ftFloat},
                   {"EmpClassToken", ftInteger}});
    AddCalcFields(
        this, EmpWageQ,
        {{"ShortStartDt", ftString, 8}, {"ShortThruDt", ftString, 8}, {"EmpClass", ftString, 40}});
    EmpWageQ->OnCalcFields = [this](TDataSet* DataSet) { EmpWageQCalcFields(DataSet); };
}

void TEmpDmod::CreateExportQueries() {
    const std::initializer_list<FieldSpec> threeHours = {
        {"RegHrs", ftFloat}, {"OT1Hrs", ftFloat}, {"OT2Hrs", ftFloat}};

    EmpHourExportQ = NewQuery(
        this, "EmpHourExportQ",
        {"select distinct E.EmpNbr, Lname, Fname, EmpCode, EmpId, DeptNbr, GLacct,",
         "W.DirectCost, W.PayrollCost, W.FringeCost, StartDt, ThruDt",
         "from TIMECLOCK T, EMPLOYEE E, EMP_WAGE W",
         "where T.EmpNbr = E.EmpNbr and W.EmpNbr = E.EmpNbr", "order by Lname, Fname, StartDt"});
    AddDataFields(this, EmpHourExportQ,
                  {{"EmpNbr", ftInteger},
                   {"Lname", ftString, 22},
                   {"Fname", ftString, 15},
                   {"EmpCode", ftString, 12},
                   {"EmpId", ftString, 4},
                   {"DeptNbr", ftInteger},
                   {"GLacct", ftInteger},
                   {"DirectCost", ftFloat},
                   {"PayrollCost", ftFloat},
                   {"FringeCost", ftFloat},
                   {"StartDt", ftDate},
                   {"ThruDt", ftDate}});
    AddCalcFields(this, EmpHourExportQ, {{"DeptName", ftString, 20}});
    AddCalcFields(this, EmpHourExportQ, threeHours);
    AddCalcFields(this, EmpHourExportQ,
                  {{"SickHrs", ftFloat},
                   {"VacHrs", ftFloat},
                   {"HolidayHrs", ftFloat},
                   {"CompHrs", ftFloat},
                   {"OtherHrs", ftFloat}});
    EmpHourExportQ->OnCalcFields = [this](TDataSet* DataSet) { EmpHourExportQCalcFields(DataSet); };

    auto byItemType = [this](TDataSet* DataSet) { EmpHourExportQ2CalcFields(DataSet); };
    EmpHourExportQ2 = NewQuery(
        this, "EmpHourExportQ2",
        {"select TimeClockNbr, T.EmpNbr, Lname, Fname, DeptNbr, RegTime, OT1Time, OT2Time,",
         "WorkDt, T.PayItemTypeToken, Item, ShortName, EmpCode, TimeOn, TimeOff",
         "from TIMECLOCK T, EMPLOYEE E, PAY_ITEM_TYPE P",
         "where T.EmpNbr = E.EmpNbr and T.PayItemTypeToken = P.PayItemTypeToken",
         "order by Lname, Fname, WorkDt, TimeOn"});
    AddDataFields(this, EmpHourExportQ2,
                  {{"TimeClockNbr", ftInteger},
                   {"EmpNbr", ftInteger},
                   {"Lname", ftString, 22},
                   {"Fname", ftString, 15},
                   {"DeptNbr", ftInteger},
                   {"RegTime", ftFloat},
                   {"OT1Time", ftFloat},
                   {"OT2Time", ftFloat},
                   {"WorkDt", ftDate},
                   {"PayItemTypeToken", ftInteger},
                   {"Item", ftString, 40},
                   {"ShortName", ftString, 20},
                   {"EmpCode", ftString, 12},
                   {"TimeOn", ftDateTime},
                   {"TimeOff", ftDateTime}});
    AddCalcFields(this, EmpHourExportQ2, {{"DeptName", ftString, 20}});
    AddCalcFields(this, EmpHourExportQ2, threeHours);
    AddCalcFields(this, EmpHourExportQ2, {{"DisplayType", ftString, 30}});
    EmpHourExportQ2->OnCalcFields = byItemType;

    EmpHourExportQ3 = NewQuery(
        this, "EmpHourExportQ3",
        {"select distinct T.EmpNbr, Lname, Fname, DeptNbr, EmpCode, HourlyEmployee",
         "from TIMECLOCK T, EMPLOYEE E", "where T.EmpNbr = E.EmpNbr", "order by Lname, Fname"});
    AddDataFields(this, EmpHourExportQ3,
                  {{"EmpNbr", ftInteger},
                   {"Lname", ftString, 22},
                   {"Fname", ftString, 15},
                   {"DeptNbr", ftInteger},
                   {"EmpCode", ftString, 12},
                   {"HourlyEmployee", ftInteger}});
    AddCalcFields(this, EmpHourExportQ3, {{"DeptName", ftString, 20}, {"WorkDt", ftString, 10}});
    AddCalcFields(this, EmpHourExportQ3, threeHours);
    AddCalcFields(this, EmpHourExportQ3,
                  {{"DisplayType", ftString, 30},
                   {"RegTime", ftFloat},
                   {"OT1Time", ftFloat},
                   {"OT2Time", ftFloat},
                   {"SickTime", ftFloat},
                   {"HolidayTime", ftFloat},
                   {"VacTime", ftFloat},
                   {"CompTime", ftFloat}});
    EmpHourExportQ3->OnCalcFields = [this](TDataSet* DataSet) {
        EmpHourExportQ3CalcFields(DataSet);
    };

    EmpHourExportQ1 = NewQuery(
        this, "EmpHourExportQ1",
        {"select A.EmpNbr, EmpCode, Lname, Fname, DeptNbr, TotalTime, A.WorkDt, OtInd,",
         "JobId, JobDescr, IndirectJob, OpCdNbr, ActNbr, W.DirectCost, J.JobNbr",
         "from ACTUALS A, EMPLOYEE E, WO, JOBS J, EMP_WAGE W",
         "where A.ApproveInd = 1 and A.WorkDt between '2007/02/10' and '2007/02/20'",
         "and A.EmpNbr = E.EmpNbr and A.WoNbr = WO.WoNbr and WO.JobNbr = J.JobNbr",
         "and W.EmpNbr = A.EmpNbr and A.WorkDt >= W.StartDt",
         "and (W.ThruDt is NULL or A.WorkDt <= W.ThruDt)", "order by Lname, Fname, A.WorkDt"});
    AddDataFields(this, EmpHourExportQ1,
                  {{"EmpNbr", ftInteger},
                   {"EmpCode", ftString, 12},
                   {"Lname", ftString, 22},
                   {"Fname", ftString, 15},
                   {"DeptNbr", ftInteger},
                   {"TotalTime", ftFloat},
                   {"WorkDt", ftDate},
                   {"OtInd", ftInteger},
                   {"JobId", ftString, 20},
                   {"JobDescr", ftString, 60},
                   {"IndirectJob", ftInteger},
                   {"OpCdNbr", ftInteger},
                   {"ActNbr", ftInteger},
                   {"DirectCost", ftFloat},
                   {"JobNbr", ftInteger}});
    AddCalcFields(this, EmpHourExportQ1,
                  {{"DisplayType", ftString, 30}, {"DeptName", ftString, 20}});
    AddCalcFields(this, EmpHourExportQ1, threeHours);
    EmpHourExportQ1->OnCalcFields = [this](TDataSet* DataSet) {
        EmpHourExportQ1CalcFields(DataSet);
    };

    EmpHourExportQ4 =
        NewQuery(this, "EmpHourExportQ4",
                 {"select T.EmpNbr, Lname, Fname, DeptNbr, RegTime, OT1Time, OT2Time, WorkDt,",
                  "PayItemTypeToken, EmpId, GLacct", "from TIMECLOCK T, EMPLOYEE E",
                  "where T.EmpNbr = E.EmpNbr", "order by Lname, Fname, WorkDt"});
    AddDataFields(this, EmpHourExportQ4,
                  {{"EmpNbr", ftInteger},
                   {"Lname", ftString, 22},
                   {"Fname", ftString, 15},
                   {"DeptNbr", ftInteger},
                   {"RegTime", ftFloat},
                   {"OT1Time", ftFloat},
                   {"OT2Time", ftFloat},
                   {"WorkDt", ftDate},
                   {"PayItemTypeToken", ftInteger},
                   {"EmpId", ftString, 4},
                   {"GLacct", ftInteger}});
    AddCalcFields(this, EmpHourExportQ4, threeHours);
    AddCalcFields(this, EmpHourExportQ4,
                  {{"DisplayType", ftString, 30},
                   {"DeptName", ftString, 20},
                   {"GLacctDescr", ftString, 40},
                   {"WorkDtString", ftString, 10}});
    EmpHourExportQ4->OnCalcFields = [this](TDataSet* DataSet) {
        EmpHourExportQ4CalcFields(DataSet);
    };

    CommonSql2 = NewQuery(this, "CommonSql2", {});
}

void TEmpDmod::CreatePayrollQueries() {
    PayItemTypeQ = NewQuery(this, "PayItemTypeQ",
                            {"select * from PAY_ITEM_TYPE", "order by PayItemTypeToken"});
    DsPayItemType = NewDataSource(this, "DsPayItemType", PayItemTypeQ);
    Payroll_ItemQ = NewQuery(this, "Payroll_ItemQ",
                             {"select * from PAYROLL_ITEM",
                              "where PayItemTypeToken = :PayItemTypeToken", "order by Item"});
    Payroll_ItemQ->SetDataSource(DsPayItemType);
    PayGradeQ = NewQuery(this, "PayGradeQ", {"select * from PAY_GRADE", "order by Descr"});
    PayMapQ = NewQuery(
        this, "PayMapQ",
        {"select M.PayGradeToken, M.PayItemTypeToken, M.PayrollItemToken, G.Descr,",
         "T.ShortName, P.Item",
         "from PAYROLL_ITEM_MAPPING M, PAY_GRADE G, PAY_ITEM_TYPE T, PAYROLL_ITEM P",
         "where M.PayGradeToken = G.PayGradeToken and M.PayItemTypeToken = T.PayItemTypeToken",
         "and M.PayrollItemToken = P.PayrollItemToken", "order by G.Descr, M.PayItemTypeToken"});
    CommonSql3 = NewQuery(this, "CommonSql3", {});
    CommonSql4 = NewQuery(this, "CommonSql4", {});

    EmpHourExportQ5 = NewQuery(
        this, "EmpHourExportQ5",
        {"select T.EmpNbr, EmpCode, RegTime, OT1Time, OT2Time, T.PayItemTypeToken, Item,",
         "ShortName, Lname, Fname, DeptNbr, WorkDt",
         "from TIMECLOCK T, EMPLOYEE E, PAY_ITEM_TYPE P",
         "where T.EmpNbr = E.EmpNbr and T.PayItemTypeToken = P.PayItemTypeToken",
         "and WorkDt between '2010/01/01' and '2011/01/01'", "order by Lname, Fname, WorkDt"});
    AddDataFields(this, EmpHourExportQ5,
                  {{"EmpNbr", ftInteger},
                   {"EmpCode", ftString, 12},
                   {"RegTime", ftFloat},
                   {"OT1Time", ftFloat},
                   {"OT2Time", ftFloat},
                   {"PayItemTypeToken", ftInteger},
                   {"Item", ftString, 40},
                   {"ShortName", ftString, 20},
                   {"Lname", ftString, 22},
                   {"Fname", ftString, 15},
                   {"DeptNbr", ftInteger},
                   {"WorkDt", ftDate}});
    AddCalcFields(this, EmpHourExportQ5, {{"DeptName", ftString, 20}});
    AddCalcFields(this, EmpHourExportQ5,
                  {{"RegHrs", ftFloat}, {"OT1Hrs", ftFloat}, {"OT2Hrs", ftFloat}});
    EmpHourExportQ5->OnCalcFields = [this](TDataSet* DataSet) {
        EmpHourExportQ2CalcFields(DataSet);
    };
}

void TEmpDmod::SelectEmployee(int EmpNbr) {
    SelectEmpQuery->Close();
    SelectEmpQuery->Prepare();
    SelectEmpQuery->Params()[0]->SetAsInteger(EmpNbr);
    SelectEmpQuery->Open();
}

void TEmpDmod::SelectEmployeeName(int EmpNbr) {
    SelectEmpNameQ->Close();
    SelectEmpNameQ->Prepare();
    SelectEmpNameQ->Params()[0]->SetAsInteger(EmpNbr);
    SelectEmpNameQ->Open();
}

void TEmpDmod::LoadPayGradeDescr(int PayGradeToken) {
    OpenLookup(*CommonSql3, {"select Descr from PAY_GRADE where PayGradeToken = :a"},
               {PayGradeToken});
}

void TEmpDmod::EmpNamesCalcFields(TDataSet* DataSet) {
    // A NULL name part reads as the empty text.
    const AnsiString first = DataSet->FieldByName("Fname")->AsString();
    const AnsiString last = DataSet->FieldByName("Lname")->AsString();
    DataSet->FieldByName("FirstLast")->SetAsString(first + " " + last);
    if (TField* lastFirst = DataSet->FindField("LastFirst"))
        lastFirst->SetAsString(last + ", " + first);
}

void TEmpDmod::EmpActualsQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *EmpActualsQ;

    const TField* opCdNbr = q.FieldByName("OpCdNbr");
    AnsiString opCode;
    if (!opCdNbr->IsNull() && opCdNbr->AsInteger() != -99)
        opCode = OpCodeText(PeerDmod<TVelmDmod>(*this, DmodNames::Velm), opCdNbr->AsInteger());
    q.FieldByName("OpCode")->SetAsString(opCode);

    ForceDateTimeSettings();
    q.FieldByName("Start")->SetAsString(StartText(q.FieldByName("TimeOn")));
    q.FieldByName("End")->SetAsString(TimeText(q.FieldByName("TimeOff")));
    q.FieldByName("TimeWorked")
        ->SetAsString(MinutesText(TimeDisplayMode, q.FieldByName("TotalTime")));

    static const char* const textFields[] = {"WoDescr", "JobItemDescr", "JobId", "JobDescr"};
    static const char* const numberFields[] = {"ItemNbr", "JobNbr", "JobItemNbr"};
    const TField* woNbr = q.FieldByName("WoNbr");
    if (woNbr->IsNull()) {
        for (const char* name : textFields)
            q.FieldByName(name)->SetAsString("");
        for (const char* name : numberFields)
            q.FieldByName(name)->SetAsInteger(-99);
    } else {
        OpenLookup(*CommonSql,
                   {AnsiString("Select WoDescr,ItemNbr,JobItemDescr,JobId,JobDescr,J.JobNbr,"
                               "WO.JobItemNbr") +
                    " from WO,JOBS J,JOB_ITEM I where WoNbr = :a and WO.JobNbr = J.JobNbr and "
                    "WO.JobItemNbr = I.JobItemNbr"},
                   {woNbr->AsInteger()});
        for (const char* name : textFields)
            q.FieldByName(name)->SetValue(CommonSql->FieldByName(name)->Value());
        for (const char* name : numberFields)
            q.FieldByName(name)->SetValue(CommonSql->FieldByName(name)->Value());
    }

    static const char* const wageTypes[] = {"Reg", "OT-1", "OT-2"};
    const int otInd = q.FieldByName("OtInd")->AsInteger();
    if (otInd >= 0 && otInd <= 2) q.FieldByName("WageType")->SetAsString(wageTypes[otInd]);

    static const char* const sources[] = {"Shop", "User", "OTCalc", "Mobile"};
    const int source = q.FieldByName("Source")->AsInteger();
    if (source >= 0 && source <= 3) q.FieldByName("SourceLiteral")->SetAsString(sources[source]);

    q.FieldByName("GPSInd")->SetAsInteger(q.FieldByName("LatLngOn")->IsNull() ? 0 : 1);
    q.FieldByName("DisplayNotes")->SetAsString(q.FieldByName("Notes")->AsString());
}

void TEmpDmod::ClockQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *ClockQ;
    ForceDateTimeSettings();
    q.FieldByName("Start")->SetAsString(StartText(q.FieldByName("TimeOn")));
    q.FieldByName("End")->SetAsString(TimeText(q.FieldByName("TimeOff")));
    q.FieldByName("TimeWorked")
        ->SetAsString(MinutesText(TimeDisplayMode, q.FieldByName("TotalTime")));
    static const std::pair<const char*, const char*> worked[] = {
        {"RegWorked", "RegTime"}, {"Ot1Worked", "Ot1Time"}, {"Ot2Worked", "Ot2Time"}};
    for (const auto& [target, minutes] : worked) {
        const TField* source = q.FieldByName(minutes);
        q.FieldByName(target)->SetAsString(source->IsNull() ? AnsiString()
                                                            : MinutesText(TimeDisplayMode, source));
    }
    if (!q.FieldByName("LatLngOn")->IsNull()) q.FieldByName("GPSInd")->SetAsString("Yes");
}

void TEmpDmod::EmpWageQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *EmpWageQ;
    AnsiString start, thru;
    DateTextByPreference(DatePreference, q.FieldByName("StartDt")->AsString(), start);
    DateTextByPreference(DatePreference, q.FieldByName("ThruDt")->AsString(), thru);
    q.FieldByName("ShortStartDt")->SetAsString(start);
    q.FieldByName("ShortThruDt")->SetAsString(thru);

    const TField* token = q.FieldByName("EmpClassToken");
    AnsiString empClass;
    if (!token->IsNull()) {
        LoadPayGradeDescr(token->AsInteger());
        empClass = CommonSql3->FieldByName("Descr")->AsString();
    }
    q.FieldByName("EmpClass")->SetAsString(empClass);
}

void TEmpDmod::OpenPeriodStatement(const AnsiString& Sql, int EmpNbr, const AnsiString& From,
                                   const AnsiString& Thru) {
    SetStatement(*CommonSql, {Sql});
    CommonSql->Prepare();
    CommonSql->Params()[0]->SetAsInteger(EmpNbr);
    CommonSql->Params()[1]->SetAsString(From);
    CommonSql->Params()[2]->SetAsString(Thru);
    CommonSql->Open();
}

void TEmpDmod::SetDeptName(TDataSet& Row) {
    const TField* deptNbr = Row.FieldByName("DeptNbr");
    AnsiString name;
    if (!deptNbr->IsNull())
        name = PeerDmod<TVelmDmod>(*this, DmodNames::Velm).GetDeptName(deptNbr->AsInteger());
    Row.FieldByName("DeptName")->SetAsString(name);
}

void TEmpDmod::EmpHourExportQCalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *EmpHourExportQ;
    SetDeptName(q);

    // The period goes into a statement: slashes whatever the date separator.
    AnsiString from = SqlDateText(ExportStartDate);
    AnsiString thru = SqlDateText(ExportThruDate);
    // The export period cut to the wage row's validity; an open ThruDt
    // keeps the period's end.
    const AnsiString startDt = q.FieldByName("StartDt")->AsString();
    if (from < startDt) from = startDt;
    const TField* thruDt = q.FieldByName("ThruDt");
    if (!thruDt->IsNull() && thru > thruDt->AsString()) thru = thruDt->AsString();

    OpenPeriodStatement(
        AnsiString("Select PayItemTypeToken,RegTime,OT1Time,OT2Time from TIMECLOCK ") +
            " where EmpNbr = :a and WorkDt between :b and :c ",
        q.FieldByName("EmpNbr")->AsInteger(), from, thru);

    // Regular time goes to the bucket of its pay item type.
    double byType[5] = {};
    double other = 0.0, ot1 = 0.0, ot2 = 0.0;
    for (CommonSql->First(); !CommonSql->Eof(); CommonSql->Next()) {
        const TField* token = CommonSql->FieldByName("PayItemTypeToken");
        if (!token->IsNull()) {
            const double hours = HoursOf(CommonSql->FieldByName("RegTime"));
            const int type = token->AsInteger();
            if (type >= 0 && type <= 4)
                byType[type] += hours;
            else
                other += hours;
        }
        ot1 += HoursOf(CommonSql->FieldByName("OT1Time"));
        ot2 += HoursOf(CommonSql->FieldByName("OT2Time"));
    }
    static const char* const buckets[] = {"RegHrs", "VacHrs", "SickHrs", "HolidayHrs", "CompHrs"};
    for (int type = 0; type < 5; ++type)
        q.FieldByName(buckets[type])->SetAsFloat(byType[type]);
    q.FieldByName("OtherHrs")->SetAsFloat(other);
    q.FieldByName("OT1Hrs")->SetAsFloat(ot1);
    q.FieldByName("OT2Hrs")->SetAsFloat(ot2);
}

void TEmpDmod::EmpHourExportQ3CalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *EmpHourExportQ3;
    SetDeptName(q);

    const int empNbr = q.FieldByName("EmpNbr")->AsInteger();
    const AnsiString from = SqlDateText(ExportStartDate);
    const AnsiString thru = SqlDateText(ExportThruDate);
    const AnsiString period = " where EmpNbr = :a and WorkDt between :b and :c";

    OpenPeriodStatement("Select sum(RegTime),sum(OT1Time),sum(OT2Time) from TIMECLOCK" + period,
                        empNbr, from, thru);
    const double reg = HoursOf(CommonSql->Fields()[0]);
    const double ot1 = HoursOf(CommonSql->Fields()[1]);
    const double ot2 = HoursOf(CommonSql->Fields()[2]);
    q.FieldByName("RegHrs")->SetAsFloat(reg);
    q.FieldByName("OT1Hrs")->SetAsFloat(ot1);
    q.FieldByName("OT1Time")->SetAsFloat(ot1);
    q.FieldByName("OT2Hrs")->SetAsFloat(ot2);
    q.FieldByName("OT2Time")->SetAsFloat(ot2);

    static const std::pair<const char*, const char*> byType[] = {
        {"RegTime", " and PayItemTypeToken = 0 "},
        {"SickTime", " and PayItemTypeToken = 2 "},
        {"VacTime", " and PayItemTypeToken = 1 "},
        {"CompTime", " and PayItemTypeToken = 4  "},
        {"HolidayTime", " and PayItemTypeToken = 3 "}};
    for (const auto& [target, selection] : byType) {
        OpenPeriodStatement("Select sum(RegTime) from TIMECLOCK" + period + selection, empNbr, from,
                            thru);
        q.FieldByName(target)->SetAsFloat(HoursOf(CommonSql->Fields()[0]));
    }

    AnsiString workDt;
    FormatDateByCode(ExportThruDate, workDt, 7);
    q.FieldByName("WorkDt")->SetAsString(workDt);
}

void TEmpDmod::EmpHourExportQ4CalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *EmpHourExportQ4;
    const TField* workDt = q.FieldByName("WorkDt");
    AnsiString workDtText = "  /  /    ";
    if (!workDt->IsNull()) {
        TDateTime date;
        ParseDateText(workDt->AsString(), date);
        FormatDateByCode(date, workDtText, 7);
    }
    q.FieldByName("WorkDtString")->SetAsString(workDtText);

    const TField* glAcct = q.FieldByName("GLacct");
    if (!glAcct->IsNull() && glAcct->AsInteger() > 0) {
        TQuery& accounts = *PeerDmod<TVelmDmod>(*this, DmodNames::Velm).GLacctQ;
        if (FindRowIndexByValue(&accounts, "ID", glAcct->AsInteger()) != -99)
            q.FieldByName("GLacctDescr")->SetAsString(accounts.FieldByName("ITEM")->AsString());
    }
    SetDeptName(q);
    SetHours(q, {{"RegHrs", "RegTime"}, {"OT1Hrs", "OT1Time"}, {"OT2Hrs", "OT2Time"}});
}

void TEmpDmod::EmpHourExportQ1CalcFields(TDataSet* /*DataSet*/) {
    TQuery& q = *EmpHourExportQ1;
    SetDeptName(q);

    const TField* opCdNbr = q.FieldByName("OpCdNbr");
    q.FieldByName("DisplayType")
        ->SetAsString(opCdNbr->IsNull() ? AnsiString()
                                        : OpCodeText(PeerDmod<TVelmDmod>(*this, DmodNames::Velm),
                                                     opCdNbr->AsInteger()));

    const double hours = HoursOf(q.FieldByName("TotalTime"));
    const int otInd = q.FieldByName("OtInd")->AsInteger();
    q.FieldByName("RegHrs")->SetAsFloat(otInd == 0 ? hours : 0.0);
    q.FieldByName("OT1Hrs")->SetAsFloat(otInd == 1 ? hours : 0.0);
    q.FieldByName("OT2Hrs")->SetAsFloat(otInd != 0 && otInd != 1 ? hours : 0.0);
}

void TEmpDmod::EmpHourExportQ2CalcFields(TDataSet* DataSet) {
    SetDeptName(*DataSet);
    SetHours(*DataSet, {{"RegHrs", "RegTime"}, {"OT1Hrs", "OT1Time"}, {"OT2Hrs", "OT2Time"}});
}
