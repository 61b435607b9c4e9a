#pragma once
// The employee data module: the employee lists, one selected employee,
// labour actuals and time-clock entries of an employee, wages and the
// payroll hour exports, each list with its calculated display fields.
//
// The alert engine and the other data modules use SelectEmployee, which
// leaves one employee on SelectEmpQuery for the caller to read by name
// (DeptNbr, Fname, Lname, FirstLast). The lists are opened by an application
// that shows employees and hours; their handlers compute their fields
// whenever one is open. The handlers share CommonSql: none may be in use by
// another operation while a handler runs.
#include "platform/classes/Component.h"
#include "platform/rtl/TDateTime.h"

#include <cstdint>

class TDataSet;
class TDataSource;
class TQuery;

class TEmpDmod : public TComponent {
public:
    explicit TEmpDmod(TComponent* AOwner);
    AnsiString ClassName() const override { return "TEmpDmod"; }

    // Leaves SelectEmpQuery open on the employee (empty when there is none;
    // the caller reads the fields by name).
    void SelectEmployee(int EmpNbr);
    // Leaves SelectEmpNameQ open on the employee's Fname, Lname and FirstLast
    // alone, read and computed as SelectEmpQuery has them: a fraction of the
    // work where the name is all the caller reads.
    void SelectEmployeeName(int EmpNbr);
    // Leaves CommonSql3 open on the pay grade's Descr.
    void LoadPayGradeDescr(int PayGradeToken);

    // FirstLast ("Ann Lee") and, where the query has it, LastFirst ("Lee, Ann")
    // of the employee lists and SelectEmpQuery.
    void EmpNamesCalcFields(TDataSet* DataSet);
    void EmpActualsQCalcFields(TDataSet* DataSet);
    void ClockQCalcFields(TDataSet* DataSet);
    void EmpWageQCalcFields(TDataSet* DataSet);
    void EmpHourExportQCalcFields(TDataSet* DataSet);
    void EmpHourExportQ1CalcFields(TDataSet* DataSet);
    // Shared by EmpHourExportQ2 and EmpHourExportQ5: works on the data set
    // whose row is being computed.
    void EmpHourExportQ2CalcFields(TDataSet* DataSet);
    void EmpHourExportQ3CalcFields(TDataSet* DataSet);
    void EmpHourExportQ4CalcFields(TDataSet* DataSet);

    // Display preferences and the export period; 0 unless a caller sets them.
    // TimeDisplayMode is the FormatMinutes mode of the worked-time texts,
    // DatePreference the date preference of the wage dates.
    std::int32_t TimeDisplayMode = 0;
    TDateTime ExportStartDate = 0.0;
    TDateTime ExportThruDate = 0.0;
    std::int32_t DatePreference = 0;

    // Components, owned by the module, in form order.
    TQuery* CommonSql = nullptr;
    TQuery* ListEmpQuery = nullptr;
    TQuery* SelectEmpQuery = nullptr;
    TQuery* EmpActualsQ = nullptr;
    TQuery* ManTimeQ = nullptr;
    TQuery* ClockQ = nullptr;
    TQuery* ListEmpQ2 = nullptr;
    TQuery* ListEmpQ3 = nullptr;
    TQuery* EmpWageQ = nullptr;
    TQuery* EmpHourExportQ = nullptr;
    TQuery* EmpHourExportQ2 = nullptr;
    TQuery* InactiveEmpListQ = nullptr;
    TQuery* ActiveEmpQ = nullptr;
    TQuery* EmpHourExportQ3 = nullptr;
    TQuery* EmpHourExportQ1 = nullptr;
    TQuery* EmpHourExportQ4 = nullptr;
    TQuery* CommonSql2 = nullptr;
    TQuery* PayItemTypeQ = nullptr;
    TDataSource* DsPayItemType = nullptr;
    TQuery* Payroll_ItemQ = nullptr;
    TQuery* PayGradeQ = nullptr;
    TQuery* PayMapQ = nullptr;
    TQuery* CommonSql3 = nullptr;
    TQuery* CommonSql4 = nullptr;
    TQuery* EmpHourExportQ5 = nullptr;
    TQuery* SelectEmpNameQ = nullptr;

private:
    void CreateComponents();
    void CreateListQueries();
    void CreateTimeQueries();
    void CreateExportQueries();
    void CreatePayrollQueries();
    // Opens CommonSql on Sql for the employee and the period's two date texts.
    void OpenPeriodStatement(const AnsiString& Sql, int EmpNbr, const AnsiString& From,
                             const AnsiString& Thru);
    // DeptName of an hour export row: the department's name, empty for none.
    void SetDeptName(TDataSet& Row);
};
