// The main window hearing of generated alerts: counted always, and one grid
// row each in the date order of the options only under "/DEBUG".
#include "ProgramWindowTest.h"

#include "alert/app/CommandLine.h"
#include "alert/app/GeneratedAlertsView.h"
#include "components/PellworthGrid.h"
#include "datamodules/ShopDataModules.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/DateTime.h"

#include <sqlite3.h>

namespace {

class GeneratedAlertsReading : public ProgramWindowTest {
protected:
    void Open(bool Debug) {
        DebugMode = Debug;
        if (!Modules) {
            CreateShopDataModules(Owner);
            Modules = true;
        }
        Window = new TMainFormWindow(Owner);
        Window->Show();
    }
    void TearDown() override {
        DebugMode = false;
        ProgramWindowTest::TearDown();
    }
    // The first column of the first row of a query on the database file.
    std::string Text(const std::string& Sql) const {
        sqlite3* db = nullptr;
        sqlite3_open(DbFile.c_str(), &db);
        sqlite3_stmt* statement = nullptr;
        std::string result;
        if (sqlite3_prepare_v2(db, Sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_text(statement, 0))
            result = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return result;
    }
    bool Modules = false;
};

AlertTransaction Generated() {
    AlertTransaction a;
    a.AlertNbr = 29;
    a.MessageText = "Job deleted.\nJob: J-1 - Fit.\nDeleted by: Ann.";
    // 31 December 2024, 9:05 in the morning.
    a.EventTimeStamp = EncodeDate(2024, 12, 31) + EncodeTime(9, 5, 0, 0);
    a.EmpNbrGeneratedTrans = 4;
    a.RecipientNbr = 9;
    a.Priority = -2;
    return a;
}

TEST_F(GeneratedAlertsReading, DebugRowsFollowTheDatePreference) {
    struct Case {
        int Pref, Hour, Minute;
        const char* Date;
    };
    const Case cases[] = {{1, 9, 5, "9:05 AM 12/31/24"},
                          {2, 9, 5, "9:05 AM 31/12/24"},
                          {0, 0, 5, "12:05 AM 31/12/24"},
                          {1, 13, 30, "1:30 PM 12/31/24"}};
    for (const Case& c : cases) {
        Exec("update WU_DFLTS set DT_PREF = " + std::to_string(c.Pref) + ";");
        Open(true);
        AlertTransaction alert = Generated();
        alert.EventTimeStamp = EncodeDate(2024, 12, 31) + EncodeTime(c.Hour, c.Minute, 0, 0);
        Window->AlertGenerated(Generated());
        Window->AlertGenerated(alert);
        auto& grid = *Window->gridOutput;
        ASSERT_TRUE(Window->gbDebug->Visible());
        ASSERT_EQ(grid.GetGridRowCount(), 2) << c.Date;
        EXPECT_EQ(Window->GeneratedCount(), 2);
        EXPECT_EQ(grid.GetCellValue(1, 2).AsString(), Generated().MessageText);
        EXPECT_EQ(grid.GetCellValue(3, 2).AsString(), c.Date);
        const std::pair<int, const char*> numbers[] = {{2, "29"}, {4, "4"}, {5, "9"}, {6, "-2"}};
        for (const auto& [col, value] : numbers)
            EXPECT_EQ(grid.GetCellValue(col, 2).AsString(), value) << col;
        EXPECT_EQ(grid.GetRowHeight(2), 42);
        delete Window;
        Window = nullptr;
    }
}

// A long line wraps at the text column's width: the row is as many lines
// high as the wrapped text needs.
TEST_F(GeneratedAlertsReading, LongTextRowsGrowByWholeLines) {
    Open(true);
    AlertTransaction alert = Generated();
    alert.MessageText = "Job deleted";
    for (int i = 0; i < 12; ++i)
        alert.MessageText += " and a few more words";
    Window->AlertGenerated(alert);
    auto& grid = *Window->gridOutput;
    const int lines = grid.GetCellTextLines(1, 1);
    EXPECT_GT(lines, 1);
    EXPECT_EQ(grid.GetRowHeight(1), lines * 14);
}

TEST_F(GeneratedAlertsReading, WithoutTheSwitchAlertsAreOnlyCounted) {
    Open(false);
    Window->AlertGenerated(Generated());
    EXPECT_FALSE(Window->gbDebug->Visible());
    EXPECT_EQ(Window->gridOutput->GetGridRowCount(), 0);
    EXPECT_EQ(Window->GeneratedCount(), 1);
}

// A batch over the demo transactions: every history row it writes is one
// grid row and one count, the forwarded ones under the forward-to number.
TEST_F(GeneratedAlertsReading, BatchRowsMatchTheHistoryWritten) {
    Exec("update ALERT_USER_DEFAULTS set ForwardToEmpNbr = 5 where EmpNbr = 1;"
         "delete from ALERT_HISTORY;");
    Open(true);
    Window->RunAlertBatch(2, false);
    auto& grid = *Window->gridOutput;
    std::vector<std::string> shown;
    for (int r = 1; r <= grid.GetGridRowCount(); ++r)
        shown.push_back(std::string(grid.GetCellValue(2, r).AsString()) + ":" +
                        std::string(grid.GetCellValue(5, r).AsString()));
    std::vector<std::string> stored;
    std::string all = Text("select group_concat(AlertNbr || ':' || AlertRecipientNbr, ' ') from "
                           "(select * from ALERT_HISTORY order by rowid)");
    for (std::size_t at = 0; !all.empty();) {
        const std::size_t blank = all.find(' ', at);
        stored.push_back(all.substr(at, blank - at));
        if (blank == std::string::npos) break;
        at = blank + 1;
    }
    ASSERT_FALSE(stored.empty());
    EXPECT_EQ(shown, stored);
    EXPECT_EQ(Window->GeneratedCount(), static_cast<int>(stored.size()));
    EXPECT_EQ(Text("select count(*) from ALERT_HISTORY where AlertRecipientNbr = 1"), "0");
}

// A view that cannot show the alerts costs neither the count nor the rest of
// the batch; its failure is in the results.
TEST_F(GeneratedAlertsReading, AFailingViewStillCountsEveryStoredAlert) {
    struct FailingView : IGeneratedAlertsView {
        void AddAlert(const AlertTransaction&) override { throw Exception("view is gone"); }
        void Clear() override {}
    };
    Exec("delete from ALERT_HISTORY;");
    Open(true);
    Window->SetGeneratedAlertsView(std::make_unique<FailingView>());
    Window->RunAlertBatch(2, false);
    const int stored = std::stoi(Text("select count(*) from ALERT_HISTORY"));
    EXPECT_GT(stored, 0);
    EXPECT_EQ(Window->GeneratedCount(), stored);
    EXPECT_EQ(Text("select count(*) from ALERT_TRANSACTION"), "0");
    const AnsiString results = Window->memoResults->Lines()->Text();
    EXPECT_NE(results.find("view is gone"), AnsiString::npos) << results;
    EXPECT_EQ(Window->memoResults->Lines()->Strings(0),
              "Generated alerts: " + std::to_string(stored) + ", Emailed alerts: 0");
}

} // namespace
