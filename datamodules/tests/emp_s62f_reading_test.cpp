// The employee data module read through its public queries on a real shop
// database: the selected employee, the name fields, the labour-actuals texts
// and the hour-export sums with the wage row's period.
#include "datamodules/DmodEmp.h"
#include "datamodules/ShopDataModules.h"
#include "ShopModuleTest.h"

#include "platform/data/Field.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FormatSettings.h"

#include <string>
#include <vector>

namespace {

class EmpReading : public ShopModuleTest {
protected:
    void SetUp() override {
        ShopModuleTest::SetUp();
        Modules = CreateShopDataModules(Owner);
        Emp = Modules.Emp;
    }
    static std::string Text(const TQuery* Q, const char* Name) {
        return Q->FieldByName(Name)->AsString().c_str();
    }
    TShopDataModules Modules;
    TEmpDmod* Emp = nullptr;
};

TEST_F(EmpReading, SelectEmployeeLeavesTheRowOrAnEmptyQuery) {
    Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname, DeptNbr) values (7, 'Ann', 'Lee', 3)");
    Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (8, NULL, 'Lee')");
    Emp->SelectEmployee(7);
    EXPECT_EQ(Text(Emp->SelectEmpQuery, "FirstLast"), "Ann Lee");
    EXPECT_EQ(Emp->SelectEmpQuery->FieldByName("DeptNbr")->AsInteger(), 3);
    Emp->SelectEmployee(8);
    EXPECT_EQ(Text(Emp->SelectEmpQuery, "FirstLast"), " Lee");
    EXPECT_TRUE(Emp->SelectEmpQuery->FieldByName("DeptNbr")->IsNull());
    Emp->SelectEmployee(99);
    EXPECT_TRUE(Emp->SelectEmpQuery->Active());
    EXPECT_EQ(Emp->SelectEmpQuery->RecordCount(), 0);
    EXPECT_TRUE(Emp->SelectEmpQuery->FieldByName("DeptNbr")->IsNull());

    Emp->ListEmpQuery->Open();
    EXPECT_EQ(Text(Emp->ListEmpQuery, "LastFirst"), "Lee, Ann");
}

TEST_F(EmpReading, ActualsRowsGetTheirDisplayTexts) {
    Exec("insert into OPCODE (OpCdNbr, OpCode, OpCdDescr) values (5, 'WLD', 'Welding')");
    Exec("insert into JOBS (JobNbr, JobId, JobDescr) values (40, 'J-40', 'Tank')");
    Exec("insert into JOB_ITEM (JobItemNbr, JobNbr, ItemNbr, JobItemDescr) values (41, 40, 2, 'Lid')");
    Exec("insert into WO (WoNbr, JobNbr, JobItemNbr, WoDescr) values (42, 40, 41, 'Weld lid')");
    // ActNbr, WoNbr, OpCdNbr, OtInd, Source, LatLngOn, Notes
    Exec("insert into ACTUALS (ActNbr, EmpNbr, WorkDt, TimeOn, TimeOff, TotalTime, WoNbr, OpCdNbr,"
         " OtInd, Source, LatLngOn, Notes) values"
         " (1, 100, '2010/01/08', '2010/01/08 14:05:00', '2010/01/08 15:35:00', 90, 42, 5, 0, 0, '1,2', 'n1'),"
         " (2, 100, '2010/01/08', '2010/01/08 15:00:00', NULL, 30, NULL, -99, 1, 1, NULL, NULL),"
         " (3, 100, '2010/01/08', '2010/01/08 16:00:00', NULL, 30, NULL, NULL, 2, 2, NULL, NULL),"
         " (4, 100, '2010/01/08', '2010/01/08 17:00:00', NULL, 30, NULL, 77, 2, 3, NULL, NULL)");
    struct Row {
        const char *OpCode, *WoDescr, *JobId;
        int ItemNbr, JobNbr, JobItemNbr;
        const char *WageType, *Source, *Notes;
        int Gps;
    };
    const std::vector<Row> Expected = {
        {"WLD - Welding", "Weld lid", "J-40", 2, 40, 41, "Reg", "Shop", "n1", 1},
        {"", "", "", -99, -99, -99, "OT-1", "User", "", 0},
        {"", "", "", -99, -99, -99, "OT-2", "OTCalc", "", 0},
        {"", "", "", -99, -99, -99, "OT-2", "Mobile", "", 0},
    };
    Emp->EmpActualsQ->Open();
    ASSERT_EQ(Emp->EmpActualsQ->RecordCount(), 4);
    for (const Row& r : Expected) {
        SCOPED_TRACE(Emp->EmpActualsQ->FieldByName("ActNbr")->AsInteger());
        auto* q = Emp->EmpActualsQ;
        EXPECT_EQ(Text(q, "OpCode"), r.OpCode);
        EXPECT_EQ(Text(q, "WoDescr"), r.WoDescr);
        EXPECT_EQ(Text(q, "JobId"), r.JobId);
        EXPECT_EQ(q->FieldByName("ItemNbr")->AsInteger(), r.ItemNbr);
        EXPECT_EQ(q->FieldByName("JobNbr")->AsInteger(), r.JobNbr);
        EXPECT_EQ(q->FieldByName("JobItemNbr")->AsInteger(), r.JobItemNbr);
        EXPECT_EQ(Text(q, "WageType"), r.WageType);
        EXPECT_EQ(Text(q, "SourceLiteral"), r.Source);
        EXPECT_EQ(Text(q, "DisplayNotes"), r.Notes);
        EXPECT_EQ(q->FieldByName("GPSInd")->AsInteger(), r.Gps);
        q->Next();
    }
    Emp->EmpActualsQ->First();
    EXPECT_EQ(Text(Emp->EmpActualsQ, "Start"), "Fri Jan 8  2:05 PM");
    EXPECT_EQ(Text(Emp->EmpActualsQ, "End"), "3:35 PM");
    EXPECT_EQ(Text(Emp->EmpActualsQ, "TimeWorked"), "90");
    Emp->EmpActualsQ->Next();
    EXPECT_EQ(Text(Emp->EmpActualsQ, "End"), "");
}

TEST_F(EmpReading, HourExportSumsTheWageRowsPeriod) {
    Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname, DeptNbr) values (7, 'Ann', 'Lee', 3)");
    Exec("insert into DEPT (DeptNbr, Name) values (3, 'Shop')");
    // One wage row open-ended, the other closed before the export ends.
    Exec("insert into EMP_WAGE (EmpWageNbr, EmpNbr, StartDt, ThruDt) values"
         " (1, 7, '2020/01/01', '2020/01/15'), (2, 7, '2020/01/16', NULL)");
    Exec("insert into TIMECLOCK (TimeClockNbr, EmpNbr, WorkDt, RegTime, Ot1Time, Ot2Time,"
         " PayItemTypeToken) values"
         " (1, 7, '2020/01/10', 90, NULL, NULL, 2),"   // sick, first wage row
         " (2, 7, '2020/01/10', 60, 20, NULL, 0),"     // regular with overtime
         " (3, 7, '2020/01/20', 61, NULL, 30, 1),"     // vacation, second wage row
         " (4, 7, '2020/01/21', 45, NULL, NULL, 9),"   // other
         " (5, 7, '2020/01/22', 100, NULL, NULL, NULL)," // no token: no regular hours
         " (6, 7, '2019/12/31', 600, NULL, NULL, 0),"  // before the export
         " (7, 7, '2020/02/02', 600, NULL, NULL, 0)"); // after the export
    Emp->ExportStartDate = EncodeDate(2020, 1, 5);
    Emp->ExportThruDate = EncodeDate(2020, 1, 31);
    Emp->EmpHourExportQ->Open();
    ASSERT_EQ(Emp->EmpHourExportQ->RecordCount(), 2);
    struct Sums {
        double Reg, Vac, Sick, Holiday, Comp, Other, Ot1, Ot2;
    };
    const std::vector<Sums> Expected = {{1.0, 0, 1.5, 0, 0, 0, 0.33, 0},
                                        {0, 1.02, 0, 0, 0, 0.75, 0, 0.5}};
    auto* q = Emp->EmpHourExportQ;
    for (const Sums& s : Expected) {
        SCOPED_TRACE(Text(q, "StartDt"));
        EXPECT_EQ(Text(q, "DeptName"), "Shop");
        EXPECT_DOUBLE_EQ(q->FieldByName("RegHrs")->AsFloat(), s.Reg);
        EXPECT_DOUBLE_EQ(q->FieldByName("VacHrs")->AsFloat(), s.Vac);
        EXPECT_DOUBLE_EQ(q->FieldByName("SickHrs")->AsFloat(), s.Sick);
        EXPECT_DOUBLE_EQ(q->FieldByName("HolidayHrs")->AsFloat(), s.Holiday);
        EXPECT_DOUBLE_EQ(q->FieldByName("CompHrs")->AsFloat(), s.Comp);
        EXPECT_DOUBLE_EQ(q->FieldByName("OtherHrs")->AsFloat(), s.Other);
        EXPECT_DOUBLE_EQ(q->FieldByName("OT1Hrs")->AsFloat(), s.Ot1);
        EXPECT_DOUBLE_EQ(q->FieldByName("OT2Hrs")->AsFloat(), s.Ot2);
        q->Next();
    }

    Emp->EmpHourExportQ3->Open();
    auto* q3 = Emp->EmpHourExportQ3;
    EXPECT_DOUBLE_EQ(q3->FieldByName("RegHrs")->AsFloat(), 5.93);
    EXPECT_DOUBLE_EQ(q3->FieldByName("OT1Hrs")->AsFloat(), 0.33);
    EXPECT_DOUBLE_EQ(q3->FieldByName("OT2Time")->AsFloat(), 0.5);
    EXPECT_DOUBLE_EQ(q3->FieldByName("SickTime")->AsFloat(), 1.5);
    EXPECT_DOUBLE_EQ(q3->FieldByName("VacTime")->AsFloat(), 1.02);
    EXPECT_DOUBLE_EQ(q3->FieldByName("RegTime")->AsFloat(), 1.0);
    EXPECT_DOUBLE_EQ(q3->FieldByName("CompTime")->AsFloat(), 0);
    EXPECT_EQ(Text(q3, "WorkDt"), "01/31/2020");
    EXPECT_EQ(Text(q3, "DeptName"), "Shop");
}

TEST_F(EmpReading, ExportRowsWithMissingValues) {
    Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname, DeptNbr, GLacct) values"
         " (7, 'Ann', 'Lee', NULL, 12), (8, 'Bo', 'Ma', NULL, NULL)");
    Exec("insert into MAINT_REF (TYPE, ID, ITEM) values (5, 12, 'Labour'), (1, 13, 'Each')");
    Exec("insert into TIMECLOCK (TimeClockNbr, EmpNbr, WorkDt, RegTime, Ot1Time, Ot2Time,"
         " PayItemTypeToken) values (1, 7, '2020/01/10', 90, NULL, 31, 0), (2, 8, NULL, NULL, NULL, NULL, 0)");
    Emp->EmpHourExportQ4->Open();
    auto* q = Emp->EmpHourExportQ4;
    ASSERT_EQ(q->RecordCount(), 2);
    EXPECT_EQ(Text(q, "WorkDtString"), "01/10/2020");
    EXPECT_EQ(Text(q, "GLacctDescr"), "Labour");
    EXPECT_EQ(Text(q, "DeptName"), "");
    EXPECT_DOUBLE_EQ(q->FieldByName("RegHrs")->AsFloat(), 1.5);
    EXPECT_DOUBLE_EQ(q->FieldByName("OT2Hrs")->AsFloat(), 0.52);
    q->Next();
    EXPECT_EQ(Text(q, "WorkDtString"), "  /  /    ");
    EXPECT_EQ(Text(q, "GLacctDescr"), "");
    EXPECT_DOUBLE_EQ(q->FieldByName("RegHrs")->AsFloat(), 0);
}

TEST_F(EmpReading, WageDatesAndClass) {
    Exec("insert into PAY_GRADE (PayGradeToken, Descr) values (4, 'Journeyman')");
    Exec("insert into EMP_WAGE (EmpWageNbr, EmpNbr, StartDt, ThruDt, EmpClassToken) values"
         " (1, 7, '2020/01/02', NULL, 4), (2, 7, '2020/03/04', '2020/05/06', NULL)");
    Emp->EmpWageQ->Open();
    auto* q = Emp->EmpWageQ;
    EXPECT_EQ(Text(q, "ShortStartDt"), "02/01/20");
    EXPECT_EQ(Text(q, "ShortThruDt"), "");
    EXPECT_EQ(Text(q, "EmpClass"), "Journeyman");
    q->Next();
    EXPECT_EQ(Text(q, "ShortThruDt"), "06/05/20");
    EXPECT_EQ(Text(q, "EmpClass"), "");
}

TEST_F(EmpReading, ClockAndApprovedActualsRows) {
    Exec("insert into PAY_ITEM_TYPE (PayItemTypeToken, ShortName) values (0, 'Reg')");
    Exec("insert into TIMECLOCK (TimeClockNbr, EmpNbr, WorkDt, TimeOn, TotalTime, RegTime, Ot1Time,"
         " Ot2Time, PayItemTypeToken, LatLngOn) values"
         " (1, 7, '2020/01/10', '2020/01/10 08:00:00', 75, 75, NULL, NULL, 0, '1,2'),"
         " (2, 7, '2020/01/10', '2020/01/10 09:00:00', 15, NULL, 15, NULL, 0, NULL)");
    Emp->TimeDisplayMode = 1;
    Emp->ClockQ->ParamByName("a")->SetAsInteger(7);
    Emp->ClockQ->ParamByName("b")->SetAsString("2020/01/10");
    Emp->ClockQ->Open();
    auto* c = Emp->ClockQ;
    ASSERT_EQ(c->RecordCount(), 2);
    EXPECT_EQ(Text(c, "Start"), "Fri Jan 10  8:00 AM");
    EXPECT_EQ(Text(c, "TimeWorked"), "01:15");
    EXPECT_EQ(Text(c, "RegWorked"), "01:15");
    EXPECT_EQ(Text(c, "Ot1Worked"), "");
    EXPECT_EQ(Text(c, "GPSInd"), "Yes");
    c->Next();
    EXPECT_EQ(Text(c, "RegWorked"), "");
    EXPECT_EQ(Text(c, "Ot1Worked"), "00:15");
    EXPECT_EQ(Text(c, "GPSInd"), "");

    Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (7, 'Ann', 'Lee')");
    Exec("insert into EMP_WAGE (EmpWageNbr, EmpNbr, StartDt, ThruDt) values (1, 7, '2007/01/01', NULL)");
    Exec("insert into JOBS (JobNbr, JobId) values (40, 'J-40')");
    Exec("insert into WO (WoNbr, JobNbr) values (42, 40)");
    Exec("insert into OPCODE (OpCdNbr, OpCode, OpCdDescr) values (5, 'WLD', 'Welding')");
    Exec("insert into ACTUALS (ActNbr, EmpNbr, WoNbr, WorkDt, TotalTime, OtInd, OpCdNbr, ApproveInd)"
         " values (1, 7, 42, '2007/02/11', 90, 0, 5, 1), (2, 7, 42, '2007/02/12', 30, 1, NULL, 1),"
         " (3, 7, 42, '2007/02/13', 45, 7, 66, 1),"
         // Left out: not approved, outside the form's dates, outside every wage row.
         " (4, 7, 42, '2007/02/14', 60, 0, NULL, 0), (5, 7, 42, '2007/02/21', 60, 0, NULL, 1),"
         " (6, 8, 42, '2007/02/15', 60, 0, NULL, 1)");
    Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (8, 'Bo', 'Ma')");
    Exec("insert into EMP_WAGE (EmpWageNbr, EmpNbr, StartDt, ThruDt) values (2, 8, '2007/01/01', '2007/02/14')");
    Emp->EmpHourExportQ1->Open();
    auto* a = Emp->EmpHourExportQ1;
    ASSERT_EQ(a->RecordCount(), 3);
    struct Row {
        const char* Type;
        double Reg, Ot1, Ot2;
    };
    for (const Row& r : std::vector<Row>{{"WLD - Welding", 1.5, 0, 0}, {"", 0, 0.5, 0}, {"", 0, 0, 0.75}}) {
        SCOPED_TRACE(Text(a, "WorkDt"));
        EXPECT_EQ(Text(a, "DisplayType"), r.Type);
        EXPECT_DOUBLE_EQ(a->FieldByName("RegHrs")->AsFloat(), r.Reg);
        EXPECT_DOUBLE_EQ(a->FieldByName("OT1Hrs")->AsFloat(), r.Ot1);
        EXPECT_DOUBLE_EQ(a->FieldByName("OT2Hrs")->AsFloat(), r.Ot2);
        a->Next();
    }
}

TEST_F(EmpReading, HoursAreRoundedPerRowAndHalvesGoUp) {
    Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (7, 'Ann', 'Lee')");
    Exec("insert into EMP_WAGE (EmpWageNbr, EmpNbr, StartDt, ThruDt) values (1, 7, '2020/01/01', NULL)");
    // 61 minutes are 1.02 hours each: two rows sum to 2.04, not 2.03.
    // 7.5 minutes are 0.125 hours, shown as 0.13.
    Exec("insert into TIMECLOCK (TimeClockNbr, EmpNbr, WorkDt, RegTime, Ot1Time, Ot2Time, PayItemTypeToken)"
         " values (1, 7, '2020/01/10', 61, 7.5, 37.5, 1), (2, 7, '2020/01/11', 61, NULL, NULL, 1)");
    Emp->ExportStartDate = EncodeDate(2020, 1, 1);
    Emp->ExportThruDate = EncodeDate(2020, 1, 31);
    Emp->EmpHourExportQ->Open();
    EXPECT_DOUBLE_EQ(Emp->EmpHourExportQ->FieldByName("VacHrs")->AsFloat(), 2.04);
    EXPECT_DOUBLE_EQ(Emp->EmpHourExportQ->FieldByName("OT1Hrs")->AsFloat(), 0.13);
    EXPECT_DOUBLE_EQ(Emp->EmpHourExportQ->FieldByName("OT2Hrs")->AsFloat(), 0.63);
    Emp->EmpHourExportQ4->Open();
    EXPECT_DOUBLE_EQ(Emp->EmpHourExportQ4->FieldByName("OT1Hrs")->AsFloat(), 0.13);
    EXPECT_DOUBLE_EQ(Emp->EmpHourExportQ4->FieldByName("OT2Hrs")->AsFloat(), 0.63);
}

TEST_F(EmpReading, UnknownWageAndSourceCodesLeaveTheirTextsUnset) {
    Exec("insert into ACTUALS (ActNbr, EmpNbr, WorkDt, TimeOn, TotalTime, OtInd, Source) values"
         " (1, 100, '2010/01/08', '2010/01/08 08:00:00', 10, 5, 9), (2, 100, '2010/01/08', NULL, 10, 3, -1)");
    Emp->EmpActualsQ->Open();
    for (int row = 0; row < 2; ++row) {
        SCOPED_TRACE(row);
        EXPECT_TRUE(Emp->EmpActualsQ->FieldByName("WageType")->IsNull());
        EXPECT_TRUE(Emp->EmpActualsQ->FieldByName("SourceLiteral")->IsNull());
        Emp->EmpActualsQ->Next();
    }
    Emp->EmpActualsQ->First();
    EXPECT_EQ(Emp->EmpActualsQ->FieldByName("ActNbr")->AsInteger(), 2);
    EXPECT_EQ(Text(Emp->EmpActualsQ, "Start"), "");
}

TEST_F(EmpReading, PayItemExportsShareOneHandler) {
    Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname, DeptNbr) values (7, 'Ann', 'Lee', 3)");
    Exec("insert into DEPT (DeptNbr, Name) values (3, 'Shop')");
    Exec("insert into PAY_ITEM_TYPE (PayItemTypeToken, ShortName, Item) values (0, 'Reg', 'Regular')");
    Exec("insert into TIMECLOCK (TimeClockNbr, EmpNbr, WorkDt, RegTime, Ot1Time, Ot2Time, PayItemTypeToken)"
         " values (1, 7, '2010/06/01', 90, 30, NULL, 0)");
    for (TQuery* q : {Emp->EmpHourExportQ2, Emp->EmpHourExportQ5}) {
        SCOPED_TRACE(q->Name().c_str());
        q->Open();
        ASSERT_EQ(q->RecordCount(), 1);
        EXPECT_EQ(Text(q, "DeptName"), "Shop");
        EXPECT_DOUBLE_EQ(q->FieldByName("RegHrs")->AsFloat(), 1.5);
        EXPECT_DOUBLE_EQ(q->FieldByName("OT1Hrs")->AsFloat(), 0.5);
        EXPECT_DOUBLE_EQ(q->FieldByName("OT2Hrs")->AsFloat(), 0);
    }
}

TEST_F(EmpReading, EmployeeListsSelectAndOrderTheirEmployees) {
    // EmpNbr, Fname, Lname, Inactive, Dornwickuser, UseTimeCard
    Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname, Inactive, Dornwickuser, UseTimeCard) values"
         " (1, 'Cy', 'Bo', 0, 1, 1), (2, 'Al', 'Bo', 0, 0, 0), (3, 'Di', 'Ax', 1, 1, 1),"
         " (4, 'Ed', 'Ax', 0, 1, 0), (0, 'Zero', 'Zz', 0, 1, 1), (-5, 'Neg', 'Aa', 1, 1, 1)");
    struct Case {
        TQuery* List;
        std::vector<int> Order;
        const char* FirstLast;
    };
    const std::vector<Case> Cases = {
        {Emp->ListEmpQ2, {4, 1}, "Ed Ax"},
        {Emp->ListEmpQ3, {1}, "Cy Bo"},
        {Emp->InactiveEmpListQ, {3}, "Di Ax"},
        {Emp->ActiveEmpQ, {4, 2, 1}, "Ed Ax"},
    };
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.List->Name().c_str());
        c.List->Open();
        std::vector<int> order;
        for (; !c.List->Eof(); c.List->Next()) order.push_back(c.List->FieldByName("EmpNbr")->AsInteger());
        EXPECT_EQ(order, c.Order);
        c.List->First();
        EXPECT_EQ(Text(c.List, "FirstLast"), c.FirstLast);
    }
    Emp->ActiveEmpQ->First();
    EXPECT_EQ(Text(Emp->ActiveEmpQ, "LastFirst"), "Ax, Ed");

    Exec("insert into PAY_GRADE (PayGradeToken, Descr) values (4, 'Journeyman')");
    Emp->LoadPayGradeDescr(4);
    EXPECT_EQ(Text(Emp->CommonSql3, "Descr"), "Journeyman");
    Emp->LoadPayGradeDescr(5);
    EXPECT_EQ(Emp->CommonSql3->RecordCount(), 0);
}

TEST_F(EmpReading, RowsPointingAtMissingRowsShowEmptyTexts) {
    Exec("insert into ACTUALS (ActNbr, EmpNbr, WorkDt, TimeOn, TotalTime, WoNbr, OpCdNbr) values"
         " (1, 100, '2010/01/08', '2010/01/08 08:00:00', 10, 999, 999)");
    Emp->EmpActualsQ->Open();
    ASSERT_EQ(Emp->EmpActualsQ->RecordCount(), 1);
    EXPECT_EQ(Text(Emp->EmpActualsQ, "WoDescr"), "");
    EXPECT_EQ(Text(Emp->EmpActualsQ, "JobId"), "");
    EXPECT_EQ(Text(Emp->EmpActualsQ, "OpCode"), "");

    Exec("insert into EMP_WAGE (EmpWageNbr, EmpNbr, StartDt, EmpClassToken) values (1, 7, '2020/01/02', 44)");
    Emp->EmpWageQ->Open();
    EXPECT_EQ(Text(Emp->EmpWageQ, "EmpClass"), "");
}

TEST_F(EmpReading, ExportsReadTheirPeriodUnderAnotherDateSeparator) {
    struct Restore {
        ~Restore() { ResetFormatSettings(); }
    } restore;
    FormatSettings().DateSeparator = '-';
    Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (7, 'Ann', 'Lee')");
    Exec("insert into EMP_WAGE (EmpWageNbr, EmpNbr, StartDt, ThruDt) values (1, 7, '2020/01/01', NULL)");
    Exec("insert into TIMECLOCK (TimeClockNbr, EmpNbr, WorkDt, RegTime, PayItemTypeToken) values"
         " (1, 7, '2020/01/10', 90, 0)");
    Emp->ExportStartDate = EncodeDate(2020, 1, 1);
    Emp->ExportThruDate = EncodeDate(2020, 1, 31);
    Emp->EmpHourExportQ->Open();
    EXPECT_DOUBLE_EQ(Emp->EmpHourExportQ->FieldByName("RegHrs")->AsFloat(), 1.5);
    Emp->EmpHourExportQ3->Open();
    EXPECT_DOUBLE_EQ(Emp->EmpHourExportQ3->FieldByName("RegHrs")->AsFloat(), 1.5);
    Emp->EmpHourExportQ4->Open();
    EXPECT_EQ(Text(Emp->EmpHourExportQ4, "WorkDtString"), "01-10-2020");
    EXPECT_EQ(FormatSettings().DateSeparator, '-');
}

TEST(EmpCurrency, CurrencyFromDoubleKeepsFourDecimals) {
    struct Case {
        double In;
        long long Raw;
    };
    for (const Case& c : std::vector<Case>{{1.23456, 12346}, {-1.23456, -12346}, {2.00004, 20000}, {0, 0}}) {
        SCOPED_TRACE(c.In);
        EXPECT_TRUE(CurrencyFromDouble(c.In) == Currency::FromScaled(c.Raw));
    }
}

} // namespace
