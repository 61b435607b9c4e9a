// The main window's side of creating alerts: each alert of a batch counted,
// and, under "/DEBUG", one debug-grid row for it.
#include "ProgramWindowTest.h"

#include "alert/app/CommandLine.h"
#include "alert/app/GeneratedAlertsView.h"
#include "components/PellworthGrid.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Format.h"

#include <sqlite3.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace {

class CreationWindow : public ProgramWindowTest {
protected:
    void TearDown() override {
        DebugMode = false;
        ProgramWindowTest::TearDown();
    }

    // Only our own setting and transactions: employee 7 takes every "job
    // deleted" alert; employee 12 is whom 7 forwards to when asked.
    void Prepare(int DtPref, bool Forward) {
        Exec(Format("delete from ALERT_TRANSACTION; delete from ALERT_SETTING; delete from "
                    "ALERT_HISTORY; update WU_DFLTS set DT_PREF = %d;"
                    "insert or replace into ALERT_USER_DEFAULTS (EmpNbr, HaltAlertGeneration, "
                    "ForwardToEmpNbr, PurgeAfterNbrOfDays) values (7, 0, %d, 100000);"
                    "insert into USER_LOGON (USERID, NAME, DORN_USER, DORN_ALERTS) values "
                    "(9001, 'u7', 7, 1);"
                    "insert into ALERT_SETTING (AlertId, EmpNbr, EmailFrequency, Priority, Source) "
                    "values (29, 7, 2, 3, 10);",
                    DtPref, Forward ? 12 : 0));
    }

    void AddDeletedJob(const std::string& Tag, const std::string& When) {
        Exec("insert into ALERT_TRANSACTION (AlertNbr, TransType, EventTimeStamp, "
             "EmpNbrGeneratedTrans, Arg1, Arg2) values (29, 1, '" +
             When + "', 4, '" + Tag + "', 'Deck')");
    }

    void OpenWindow(bool Debug) {
        DebugMode = Debug;
        CreateShopDataModules(Owner);
        Window = new TMainFormWindow(Owner);
        Window->Show();
    }

    long long Count(const std::string& Table) {
        sqlite3* db = nullptr;
        sqlite3_open(DbFile.c_str(), &db);
        sqlite3_stmt* statement = nullptr;
        long long n = -1;
        if (sqlite3_prepare_v2(db, ("select count(*) from " + Table).c_str(), -1, &statement,
                               nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            n = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return n;
    }

    std::string Cell(int Col, int Row) {
        return VarToStr(Window->gridOutput->GetCellValue(Col, Row)).c_str();
    }
};

struct GridCase {
    int DtPref;
    bool Forward;
    std::string Date, Recipient;
};

class CreationGrid : public CreationWindow, public ::testing::WithParamInterface<GridCase> {};

TEST_P(CreationGrid, OneRowPerAlert) {
    const GridCase& k = GetParam();
    Prepare(k.DtPref, k.Forward);
    AddDeletedJob("J1", "2024/12/31 09:05:00");
    AddDeletedJob("J2\nX\nY", "2024/12/31 09:05:00");
    OpenWindow(true);
    Window->RunAlertBatch(2, false);
    EXPECT_EQ(Window->GeneratedCount(), 2);
    auto* grid = Window->gridOutput;
    ASSERT_EQ(grid->GetGridRowCount(), 2);
    EXPECT_EQ(Cell(1, 1), "Job deleted.\nJob: J1 - Deck. Deleted by: Daniel Okafor.");
    EXPECT_EQ(Cell(2, 1), "29");
    EXPECT_EQ(Cell(3, 1), k.Date);
    EXPECT_EQ(Cell(4, 1), "4");
    EXPECT_EQ(Cell(5, 1), k.Recipient);
    EXPECT_EQ(Cell(6, 1), "3");
    // As high as the text's lines at its column's width: the first one's
    // long line wraps; the second's four short lines each fit.
    for (int row : {1, 2})
        EXPECT_EQ(grid->GetRowHeight(row), grid->GetCellTextLines(1, row) * 14) << row;
    EXPECT_GE(grid->GetRowHeight(1), 42);
    EXPECT_EQ(grid->GetRowHeight(2), 56);
}

INSTANTIATE_TEST_SUITE_P(DatesAndForwarding, CreationGrid,
                         ::testing::Values(GridCase{1, false, "9:05 AM 12/31/24", "7"},
                                           GridCase{2, true, "9:05 AM 31/12/24", "12"},
                                           GridCase{0, false, "9:05 AM 31/12/24", "7"}));

TEST_F(CreationWindow, WithoutDebugAlertsAreOnlyCounted) {
    Prepare(1, false);
    AddDeletedJob("J1", "2024/12/31 09:05:00");
    OpenWindow(false);
    Window->RunAlertBatch(2, false);
    EXPECT_EQ(Window->GeneratedCount(), 1);
    EXPECT_EQ(Window->gridOutput->GetGridRowCount(), 0);
}

// A view that cannot take the first alert it is shown.
class BrokenView : public IGeneratedAlertsView {
public:
    void AddAlert(const AlertTransaction&) override {
        if (++Calls == 1) throw std::length_error("no room");
    }
    void Clear() override {}
    int Calls = 0;
};

TEST_F(CreationWindow, AlertsTheViewFailsOnAreStillCounted) {
    Prepare(1, false);
    AddDeletedJob("J1", "2024/12/31 09:05:00");
    AddDeletedJob("J2", "2024/12/31 09:06:00");
    OpenWindow(true);
    Window->SetGeneratedAlertsView(std::make_unique<BrokenView>());
    Window->RunAlertBatch(2, false);
    EXPECT_EQ(Window->GeneratedCount(), 2);
    EXPECT_EQ(Count("ALERT_HISTORY"), 2);
    EXPECT_EQ(Count("ALERT_TRANSACTION"), 0);
}

} // namespace
