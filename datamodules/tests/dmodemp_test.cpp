#include "datamodules/DmodEmp.h"
#include "datamodules/DmodVelm.h"

#include "ShopModuleTest.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/FormatSettings.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class EmpDmodTest : public ShopModuleTest {
protected:
    void SetUp() override {
        ShopModuleTest::SetUp();
        Exec("insert into DEPT values (3, 'Paint', 1);"
             "insert into OPCODE values (5, 'WLD', 'Welding', 3, 1);"
             "insert into MAINT_REF values (5, 40, 'Shop labour');"
             "insert into JOBS (JobNbr, JobId, JobDescr) values (10, 'J-10', 'Tower');"
             "insert into JOB_ITEM (JobItemNbr, JobNbr, ItemNbr, JobItemDescr) "
             "  values (20, 10, 2, 'Frame');"
             "insert into WO (WoNbr, JobNbr, JobItemNbr, WoDescr) values (30, 10, 20, 'Cut steel');"
             "insert into EMPLOYEE (EmpNbr, Fname, Lname, DeptNbr, Inactive, Dornwickuser,"
             "  UseTimeCard, GLacct) values"
             "  (1, 'Ann', 'Lee', 3, 0, 1, 1, 40), (2, NULL, 'Zed', NULL, 1, 0, 0, NULL),"
             "  (100, 'Bob', 'Ray', 3, 0, 0, 1, 41), (0, 'No', 'One', NULL, 0, 1, 1, NULL);"
             "insert into PAY_ITEM_TYPE values (0, 'REG', 'Regular'), (2, 'SICK', 'Sick'),"
             "  (9, 'BONUS', 'Bonus');"
             "insert into PAY_GRADE values (4, 'Journeyman');");
        Velm = new TVelmDmod(Owner);
        Dmod = new TEmpDmod(Owner);
    }

    // The employee's time clock in January 2010, with one row on each side of
    // the month. Minutes: regular by pay item type, overtime apart.
    void AddJanuaryClock() {
        Exec("insert into TIMECLOCK (EmpNbr, WorkDt, RegTime, Ot1Time, Ot2Time, PayItemTypeToken)"
             " values (1, '2009/12/31', 100, NULL, NULL, 0),"
             "  (1, '2010/01/05', 600, NULL, NULL, 0),"
             "  (1, '2010/01/12', 90, NULL, NULL, 2),"
             "  (1, '2010/01/15', 480, 30, NULL, 0),"
             "  (1, '2010/01/20', 45, NULL, 15, 9),"
             "  (1, '2010/01/25', 60, 20, NULL, NULL),"
             "  (1, '2010/02/01', 100, NULL, NULL, 0);");
        Dmod->ExportStartDate = EncodeDate(2010, 1, 1);
        Dmod->ExportThruDate = EncodeDate(2010, 1, 31);
    }

    static double Float(TDataSet& Data, const char* Name) {
        return Data.FieldByName(Name)->AsFloat();
    }
    static AnsiString Text(TDataSet& Data, const char* Name) {
        return Data.FieldByName(Name)->AsString();
    }

    TVelmDmod* Velm = nullptr;
    TEmpDmod* Dmod = nullptr;
};

TEST_F(EmpDmodTest, FixedQueriesRunOnTheSchema) {
    ExpectQueriesRun(*Dmod,
                     {"ListEmpQuery",    "SelectEmpQuery",  "EmpActualsQ",      "ManTimeQ",
                      "ClockQ",          "ListEmpQ2",       "ListEmpQ3",        "EmpWageQ",
                      "EmpHourExportQ",  "EmpHourExportQ2", "InactiveEmpListQ", "ActiveEmpQ",
                      "EmpHourExportQ3", "EmpHourExportQ1", "EmpHourExportQ4",  "PayItemTypeQ",
                      "Payroll_ItemQ",   "PayGradeQ",       "PayMapQ",          "EmpHourExportQ5",
                      "SelectEmpNameQ"});
}

TEST_F(EmpDmodTest, SelectEmployeeLeavesTheRowOnSelectEmpQuery) {
    Dmod->SelectEmployee(1);
    TQuery& q = *Dmod->SelectEmpQuery;
    ASSERT_EQ(q.RecordCount(), 1);
    EXPECT_EQ(q.FieldByName("DeptNbr")->AsInteger(), 3);
    EXPECT_EQ(Text(q, "FirstLast"), "Ann Lee");

    Dmod->SelectEmployee(2);
    EXPECT_EQ(Text(q, "FirstLast"), " Zed");
    EXPECT_TRUE(q.FieldByName("DeptNbr")->IsNull());

    Dmod->SelectEmployee(77);
    EXPECT_TRUE(q.Active());
    EXPECT_TRUE(q.IsEmpty());
    EXPECT_TRUE(q.FieldByName("DeptNbr")->IsNull());
    EXPECT_EQ(Text(q, "FirstLast"), "");
}

TEST_F(EmpDmodTest, SelectEmployeeNameGivesTheNamesAsSelectEmployeeDoes) {
    // Names as the shop may have stored them: NULL or empty parts, numbers
    // and bytes in the text columns, and parts whose FirstLast passes its 50
    // bytes and is cut inside a two-byte character.
    Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (31, 12, 2.5), (32, NULL, NULL),"
         "  (33, '', x'41420043'), (34, 'ÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄÄ', 'ÖÖÖÖÖÖÖÖÖÖÖÖÖÖÖÖÖÖÖÖÖÖÖÖ'),"
         "  (35, 'Anne-Marie Josephine', 'Lee-Wellington-Smythe Jr.'), (36, 1e300, -0.0);");
    for (const int emp : {1, 2, 0, 31, 32, 33, 34, 35, 36, 77, -99}) {
        Dmod->SelectEmployee(emp);
        TQuery& whole = *Dmod->SelectEmpQuery;
        const std::vector<AnsiString> expected = {
            Text(whole, "Fname"), Text(whole, "Lname"), Text(whole, "FirstLast"),
            whole.FieldByName("Fname")->IsNull() ? "null" : "set",
            whole.FieldByName("Lname")->IsNull() ? "null" : "set",
            IntToStr(whole.RecordCount())};
        Dmod->SelectEmployeeName(emp);
        TQuery& name = *Dmod->SelectEmpNameQ;
        EXPECT_EQ((std::vector<AnsiString>{Text(name, "Fname"), Text(name, "Lname"),
                                           Text(name, "FirstLast"),
                                           name.FieldByName("Fname")->IsNull() ? "null" : "set",
                                           name.FieldByName("Lname")->IsNull() ? "null" : "set",
                                           IntToStr(name.RecordCount())}),
                  expected)
            << "employee " << emp;
    }
    Dmod->SelectEmployeeName(34);
    EXPECT_EQ(Text(*Dmod->SelectEmpNameQ, "FirstLast").size(), 49u);
}

TEST_F(EmpDmodTest, NameListsSelectTheirEmployeesWithBothNameForms) {
    struct Case {
        TQuery* Query;
        std::vector<AnsiString> FirstLast;
        std::vector<AnsiString> LastFirst; // empty where the list has none
    };
    const Case cases[] = {
        {Dmod->ListEmpQ2, {"Ann Lee"}, {"Lee, Ann"}},
        {Dmod->ListEmpQ3, {"Ann Lee", "Bob Ray"}, {}},
        {Dmod->InactiveEmpListQ, {" Zed"}, {}},
        {Dmod->ActiveEmpQ, {"Ann Lee", "Bob Ray"}, {"Lee, Ann", "Ray, Bob"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Query->Name());
        c.Query->Open();
        std::vector<AnsiString> firstLast, lastFirst;
        for (; !c.Query->Eof(); c.Query->Next()) {
            firstLast.push_back(Text(*c.Query, "FirstLast"));
            if (TField* field = c.Query->FindField("LastFirst"))
                lastFirst.push_back(field->AsString());
        }
        EXPECT_EQ(firstLast, c.FirstLast);
        EXPECT_EQ(lastFirst, c.LastFirst);
    }
}

TEST_F(EmpDmodTest, ActualsShowWorkOrderOperationTimesAndLiterals) {
    Exec("insert into ACTUALS (EmpNbr, WorkDt, WoNbr, OpCdNbr, TimeOn, TimeOff, TotalTime,"
         "  OtInd, Source, LatLngOn, Notes) values"
         " (100, '2010/01/08', 30, 5, '2010/01/08 14:05:00', '2010/01/08 16:35:00', 150, 1, 3,"
         "  '1,2', 'Gate'),"
         " (100, '2010/01/08', NULL, -99, '2010/01/08 07:00:00', NULL, 75, 7, 9, NULL, NULL),"
         " (100, '2010/01/08', 31, 77, '2010/01/08 18:00:00', NULL, 0, 0, 0, NULL, NULL);");
    Dmod->TimeDisplayMode = 1;
    TQuery& q = *Dmod->EmpActualsQ;
    q.Open();

    // 07:00: no work order, the placeholder operation, unknown codes.
    EXPECT_EQ(Text(q, "OpCode"), "");
    EXPECT_EQ(Text(q, "Start"), "Fri Jan 8  7:00 AM");
    EXPECT_EQ(Text(q, "End"), "");
    EXPECT_EQ(Text(q, "TimeWorked"), "01:15");
    for (const char* number : {"ItemNbr", "JobNbr", "JobItemNbr"})
        EXPECT_EQ(q.FieldByName(number)->AsInteger(), -99) << number;
    EXPECT_EQ(Text(q, "WoDescr"), "");
    EXPECT_TRUE(q.FieldByName("WageType")->IsNull());
    EXPECT_TRUE(q.FieldByName("SourceLiteral")->IsNull());
    EXPECT_EQ(q.FieldByName("GPSInd")->AsInteger(), 0);
    EXPECT_EQ(Text(q, "DisplayNotes"), "");

    q.Next(); // 14:05: everything known
    EXPECT_EQ(Text(q, "OpCode"), "WLD - Welding");
    EXPECT_EQ(Text(q, "Start"), "Fri Jan 8  2:05 PM");
    EXPECT_EQ(Text(q, "End"), "4:35 PM");
    EXPECT_EQ(Text(q, "TimeWorked"), "02:30");
    EXPECT_EQ(Text(q, "WoDescr"), "Cut steel");
    EXPECT_EQ(Text(q, "JobId"), "J-10");
    EXPECT_EQ(Text(q, "JobDescr"), "Tower");
    EXPECT_EQ(Text(q, "JobItemDescr"), "Frame");
    EXPECT_EQ(q.FieldByName("ItemNbr")->AsInteger(), 2);
    EXPECT_EQ(q.FieldByName("JobNbr")->AsInteger(), 10);
    EXPECT_EQ(q.FieldByName("JobItemNbr")->AsInteger(), 20);
    EXPECT_EQ(Text(q, "WageType"), "OT-1");
    EXPECT_EQ(Text(q, "SourceLiteral"), "Mobile");
    EXPECT_EQ(q.FieldByName("GPSInd")->AsInteger(), 1);
    EXPECT_EQ(Text(q, "DisplayNotes"), "Gate");

    q.Next(); // 18:00: an operation code and a work order that are gone
    EXPECT_EQ(Text(q, "OpCode"), "");
    EXPECT_TRUE(q.FieldByName("JobNbr")->IsNull());
    EXPECT_EQ(Text(q, "WageType"), "Reg");
    EXPECT_EQ(Text(q, "SourceLiteral"), "Shop");
}

TEST_F(EmpDmodTest, ClockEntriesShowTheirTimes) {
    Exec("insert into TIMECLOCK (EmpNbr, WorkDt, TimeOn, TimeOff, TotalTime, RegTime, Ot1Time,"
         "  Ot2Time, PayItemTypeToken, LatLngOn) values"
         " (1, '2010/02/01', '2010/02/01 08:00:00', '2010/02/01 17:30:00', 570, 480, 90, NULL, 0,"
         "  '5,5'),"
         " (1, '2010/02/01', '2010/02/01 18:00:00', NULL, 0, NULL, NULL, NULL, 2, NULL),"
         " (1, '2010/02/02', '2010/02/02 08:00:00', NULL, 60, 60, NULL, NULL, 0, NULL);");
    TQuery& q = *Dmod->ClockQ;
    q.Params()[0]->SetAsInteger(1);
    q.Params()[1]->SetAsString("2010/02/01");
    q.Open();
    ASSERT_EQ(q.RecordCount(), 2);
    EXPECT_EQ(Text(q, "Start"), "Mon Feb 1  8:00 AM");
    EXPECT_EQ(Text(q, "End"), "5:30 PM");
    EXPECT_EQ(Text(q, "TimeWorked"), "570");
    EXPECT_EQ(Text(q, "RegWorked"), "480");
    EXPECT_EQ(Text(q, "Ot1Worked"), "90");
    EXPECT_EQ(Text(q, "Ot2Worked"), "");
    EXPECT_EQ(Text(q, "GPSInd"), "Yes");
    q.Next();
    EXPECT_EQ(Text(q, "RegWorked"), "");
    EXPECT_TRUE(q.FieldByName("GPSInd")->IsNull());
}

TEST_F(EmpDmodTest, WageRowsShowDayFirstDatesAndTheirPayGrade) {
    Exec("insert into EMP_WAGE (EmpNbr, StartDt, ThruDt, EmpClassToken) values"
         " (1, '2006/11/16', NULL, 4), (1, '2005/01/02', '2006/11/15', NULL);");
    TQuery& q = *Dmod->EmpWageQ;
    q.Open();
    EXPECT_EQ(Text(q, "ShortStartDt"), "16/11/06");
    EXPECT_EQ(Text(q, "ShortThruDt"), "");
    EXPECT_EQ(Text(q, "EmpClass"), "Journeyman");
    q.Next();
    EXPECT_EQ(Text(q, "ShortStartDt"), "02/01/05");
    EXPECT_EQ(Text(q, "ShortThruDt"), "15/11/06");
    EXPECT_EQ(Text(q, "EmpClass"), "");
}

TEST_F(EmpDmodTest, HourExportCutsThePeriodToEachWageRowAndSumsByPayItemType) {
    AddJanuaryClock();
    // An old wage row ending on the 9th and the current one from the 10th.
    Exec("insert into EMP_WAGE (EmpNbr, StartDt, ThruDt) values"
         " (1, '2009/01/01', '2010/01/09'), (1, '2010/01/10', NULL);");
    TQuery& q = *Dmod->EmpHourExportQ;
    q.Open();
    ASSERT_EQ(q.RecordCount(), 2);
    EXPECT_EQ(Text(q, "DeptName"), "Paint");
    // 2010/01/01 .. 2010/01/09: the 600 minutes of the 5th only.
    EXPECT_DOUBLE_EQ(Float(q, "RegHrs"), 10.0);
    EXPECT_DOUBLE_EQ(Float(q, "SickHrs"), 0.0);

    q.Next(); // 2010/01/10 .. the export's end, the 31st
    struct Case {
        const char* Field;
        double Hours;
    };
    const Case expected[] = {
        {"RegHrs", 8.0},     {"SickHrs", 1.5}, {"OtherHrs", 0.75}, {"VacHrs", 0.0},
        {"HolidayHrs", 0.0}, {"CompHrs", 0.0}, {"OT1Hrs", 0.83},   {"OT2Hrs", 0.25},
    };
    for (const Case& c : expected)
        EXPECT_DOUBLE_EQ(Float(q, c.Field), c.Hours) << c.Field;
}

TEST_F(EmpDmodTest, HourExportByEmployeeSumsThePeriod) {
    AddJanuaryClock();
    TQuery& q = *Dmod->EmpHourExportQ3;
    q.Open();
    ASSERT_EQ(q.RecordCount(), 1);
    struct Case {
        const char* Field;
        double Hours;
    };
    // Regular minutes in January: 600 + 90 + 480 + 45 + 60.
    const Case expected[] = {
        {"RegHrs", 21.25}, {"OT1Hrs", 0.83},     {"OT1Time", 0.83}, {"OT2Hrs", 0.25},
        {"OT2Time", 0.25}, {"RegTime", 18.0},    {"SickTime", 1.5}, {"VacTime", 0.0},
        {"CompTime", 0.0}, {"HolidayTime", 0.0},
    };
    for (const Case& c : expected)
        EXPECT_DOUBLE_EQ(Float(q, c.Field), c.Hours) << c.Field;
    EXPECT_EQ(Text(q, "WorkDt"), "01/31/2010");
    EXPECT_EQ(Text(q, "DeptName"), "Paint");
}

TEST_F(EmpDmodTest, HourExportPeriodKeepsSlashesWhileItsDateShowsTheSeparator) {
    AddJanuaryClock();
    struct DashSeparator {
        DashSeparator() { FormatSettings().DateSeparator = '-'; }
        ~DashSeparator() { ResetFormatSettings(); }
    } dashes;
    TQuery& q = *Dmod->EmpHourExportQ3;
    q.Open();
    EXPECT_DOUBLE_EQ(Float(q, "RegHrs"), 21.25); // the period still finds January's rows
    EXPECT_EQ(Text(q, "WorkDt"), "01-31-2010");
}

TEST_F(EmpDmodTest, HourExportRowsShowDateAccountAndHours) {
    Exec("insert into TIMECLOCK (EmpNbr, WorkDt, RegTime, Ot1Time, Ot2Time, PayItemTypeToken)"
         " values (1, '2010/01/12', 90, 10, NULL, 2), (100, NULL, 30, NULL, NULL, 0);");
    TQuery& q = *Dmod->EmpHourExportQ4;
    q.Open();
    ASSERT_EQ(q.RecordCount(), 2);
    EXPECT_EQ(Text(q, "WorkDtString"), "01/12/2010");
    EXPECT_EQ(Text(q, "GLacctDescr"), "Shop labour");
    EXPECT_EQ(Text(q, "DeptName"), "Paint");
    EXPECT_DOUBLE_EQ(Float(q, "RegHrs"), 1.5);
    EXPECT_DOUBLE_EQ(Float(q, "OT1Hrs"), 0.17);
    EXPECT_DOUBLE_EQ(Float(q, "OT2Hrs"), 0.0);
    q.Next(); // Bob: no date, an account that is not in the list
    EXPECT_EQ(Text(q, "WorkDtString"), "  /  /    ");
    EXPECT_TRUE(q.FieldByName("GLacctDescr")->IsNull());
    EXPECT_DOUBLE_EQ(Float(q, "RegHrs"), 0.5);

    Dmod->EmpHourExportQ2->Open();
    EXPECT_DOUBLE_EQ(Float(*Dmod->EmpHourExportQ2, "RegHrs"), 1.5);
    EXPECT_EQ(Text(*Dmod->EmpHourExportQ2, "DeptName"), "Paint");
}

TEST_F(EmpDmodTest, ApprovedActualsGoToTheHoursOfTheirOvertimeKind) {
    Exec("insert into EMP_WAGE (EmpNbr, StartDt, ThruDt) values (1, '2007/01/01', NULL);"
         "insert into ACTUALS (EmpNbr, WoNbr, WorkDt, TotalTime, OtInd, OpCdNbr, ApproveInd)"
         " values (1, 30, '2007/02/11', 90, 0, 5, 1), (1, 30, '2007/02/12', 30, 1, NULL, 1),"
         "  (1, 30, '2007/02/13', 60, 2, 77, 1), (1, 30, '2007/02/14', 60, 0, 5, 0);");
    TQuery& q = *Dmod->EmpHourExportQ1;
    q.Open();
    ASSERT_EQ(q.RecordCount(), 3);
    struct Row {
        const char* DisplayType;
        double Reg, Ot1, Ot2;
    };
    const Row expected[] = {{"WLD - Welding", 1.5, 0, 0}, {"", 0, 0.5, 0}, {"", 0, 0, 1.0}};
    for (const Row& row : expected) {
        EXPECT_EQ(Text(q, "DisplayType"), row.DisplayType);
        EXPECT_DOUBLE_EQ(Float(q, "RegHrs"), row.Reg);
        EXPECT_DOUBLE_EQ(Float(q, "OT1Hrs"), row.Ot1);
        EXPECT_DOUBLE_EQ(Float(q, "OT2Hrs"), row.Ot2);
        q.Next();
    }
}

} // namespace

namespace {

TEST(CurrencyFromDoubleTest, RoundsToTheFourthDecimalHalvesToEven) {
    struct Case {
        double Value;
        std::int64_t Scaled;
    };
    const Case cases[] = {
        {1.23456, 12346},  {-1.23456, -12346}, {0.03125, 312}, // 312.5 goes down to even
        {0.09375, 938},                                        // 937.5 goes up to even
        {0.0, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CurrencyFromDouble(c.Value).Val, c.Scaled) << c.Value;
    EXPECT_THROW(CurrencyFromDouble(1e300), Exception);
}

} // namespace
