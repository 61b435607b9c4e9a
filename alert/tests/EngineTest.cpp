#include "EngineTest.h"

#include "datamodules/ShopDataModules.h"
#include "platform/rtl/Format.h"
#include "platform/sys/KernelNames.h"

#include <sqlite3.h>
#include <unistd.h>

void EngineTest::SetUp() {
    ShopDbTest::SetUp();
    // The job-form module's report connections listen from its creation:
    // their kernel objects go to a namespace of the test's own, so that test
    // programs running side by side never share (or wedge) them.
    KernelSpace = UniqueKernelNamespace("ae");
    SetKernelNamespace(KernelSpace);
    // Created in the program's order, so that the modules find each other.
    const TShopDataModules Made = CreateShopDataModules(Owner);
    Main = Made.Main;
    Modules = std::make_unique<DataModuleLookups>(*Made.JobForm, *Made.Po, *Made.Emp,
                                                  *Made.Inventory, *Made.JobStatus);
    Shop = std::make_unique<CountingLookups>(*Modules);
    Context = std::make_unique<AlertContext>(Host, *Main, *Shop);
}

void EngineTest::TearDown() {
    Context.reset();
    Shop.reset();
    Modules.reset();
    // The modules (and their listeners) go first.
    ShopDbTest::TearDown();
    RemoveKernelNamespace(KernelSpace);
}

int EngineTest::AddSetting(const SettingRow& Row) {
    Exec(Format("insert or ignore into ALERT_USER_DEFAULTS (EmpNbr, HaltAlertGeneration) values "
                "(%d, 0);"
                "insert into USER_LOGON (USERID, NAME, DORN_USER, DORN_ALERTS) select (select "
                "IFNULL(max(USERID),0) + 1 from USER_LOGON), 'u', %d, 1 where not exists (select 1 "
                "from USER_LOGON where DORN_USER = %d);"
                "insert into ALERT_SETTING (AlertId, EmpNbr, EmailFrequency, Priority, Source) "
                "values (%d, %d, %d, %d, %d);",
                Row.EmpNbr, Row.EmpNbr, Row.EmpNbr, Row.AlertId, Row.EmpNbr, Row.EmailFrequency,
                Row.Priority, Row.Source));
    const int number =
        static_cast<int>(std::stoll(Text("select max(AlertSettingNbr) from ALERT_SETTING")));
    for (const int id : Row.SourceIds)
        Exec(Format("insert into ALERT_SETTING_SOURCE (AlertSettingNbr, %s) values (%d, %d);",
                    Row.Source == 11   ? "DeptNbr"
                    : Row.Source == 13 ? "InvTypeNbr"
                                       : "EmpNbr",
                    number, id));
    for (const Values& group : Row.Groups) {
        Exec(Format("insert into ALERT_VALUE (AlertSettingNbr) values (%d);", number));
        for (std::size_t sequence = 0; sequence < group.size(); ++sequence) {
            const double value = group[sequence];
            const bool whole = value == static_cast<double>(static_cast<long long>(value));
            Exec(Format("insert into ALERT_SUB_VALUE (AlertValueNbr, Sequence, %s) select "
                        "max(AlertValueNbr), %d, %s from ALERT_VALUE;",
                        whole ? "IntValue" : "RealValue", static_cast<int>(sequence),
                        whole ? Format("%d", static_cast<long long>(value)) : Format("%g", value)));
        }
    }
    return number;
}

std::string EngineTest::Text(const std::string& Sql) {
    sqlite3* db = nullptr;
    sqlite3_open(DbFile.c_str(), &db);
    sqlite3_stmt* statement = nullptr;
    std::string result;
    if (sqlite3_prepare_v2(db, Sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        ADD_FAILURE() << sqlite3_errmsg(db) << " in " << Sql;
    else if (sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_text(statement, 0))
        result = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return result;
}

long long EngineTest::Count(const std::string& Table) {
    return std::stoll(Text("select count(*) from " + Table));
}

std::vector<std::string> EngineTest::History() {
    sqlite3* db = nullptr;
    sqlite3_open(DbFile.c_str(), &db);
    sqlite3_stmt* statement = nullptr;
    std::vector<std::string> rows;
    sqlite3_prepare_v2(db,
                       "select AlertRecipientNbr || '|' || AlertNbr || '|' || Descr from "
                       "ALERT_HISTORY order by rowid",
                       -1, &statement, nullptr);
    while (sqlite3_step(statement) == SQLITE_ROW)
        rows.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return rows;
}
