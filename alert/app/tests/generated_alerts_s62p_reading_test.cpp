// The main window hearing of generated alerts: counted always, and one grid
// row each in the date order of the options only under "/DEBUG".
#include "ProgramWindowTest.h"

#include "alert/app/CommandLine.h"
#include "components/PellworthGrid.h"
#include "datamodules/ShopDataModules.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/DateTime.h"

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
    const std::pair<int, const char*> cases[] = {{1, "9:05 AM 12/31/24"}, {2, "9:05 AM 31/12/24"}};
    for (const auto& [pref, date] : cases) {
        Exec("update WU_DFLTS set DT_PREF = " + std::to_string(pref) + ";");
        Open(true);
        Window->AlertGenerated(Generated());
        Window->AlertGenerated(Generated());
        auto& grid = *Window->gridOutput;
        ASSERT_TRUE(Window->gbDebug->Visible());
        ASSERT_EQ(grid.GetGridRowCount(), 2) << pref;
        EXPECT_EQ(Window->GeneratedCount(), 2);
        EXPECT_EQ(grid.GetCellValue(1, 2).AsString(), Generated().MessageText);
        EXPECT_EQ(grid.GetCellValue(3, 2).AsString(), date) << pref;
        const std::pair<int, const char*> numbers[] = {{2, "29"}, {4, "4"}, {5, "9"}, {6, "-2"}};
        for (const auto& [col, value] : numbers)
            EXPECT_EQ(grid.GetCellValue(col, 2).AsString(), value) << col;
        EXPECT_EQ(grid.GetRowHeight(2), 42);
        delete Window;
        Window = nullptr;
    }
}

TEST_F(GeneratedAlertsReading, WithoutTheSwitchAlertsAreOnlyCounted) {
    Open(false);
    Window->AlertGenerated(Generated());
    EXPECT_FALSE(Window->gbDebug->Visible());
    EXPECT_EQ(Window->gridOutput->GetGridRowCount(), 0);
    EXPECT_EQ(Window->GeneratedCount(), 1);
}

} // namespace
