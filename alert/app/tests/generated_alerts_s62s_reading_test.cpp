// The window's side of alert creation: every alert written is counted, and
// under "/DEBUG" shown as one row of the debug grid with the date order of
// the options.
#include "ProgramWindowTest.h"
#include "alert/app/CommandLine.h"
#include "alert/app/GeneratedAlertsView.h"
#include "alert/app/MainFormWindow.h"
#include "components/PellworthGrid.h"
#include "datamodules/ShopDataModules.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Format.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>

namespace {

class DebugGridFreshReading : public ProgramWindowTest {
protected:
    void TearDown() override {
        DebugMode = false;
        ProgramWindowTest::TearDown();
    }
    void Open(bool Debug, int DtPref) {
        Exec(Format("update WU_DFLTS set DT_PREF = %d;", DtPref));
        DebugMode = Debug;
        CreateShopDataModules(Owner);
        Window = new TMainFormWindow(Owner);
        Window->Show();
    }
    static AlertTransaction Alert(const char* Text, TDateTime When) {
        AlertTransaction alert;
        alert.AlertNbr = 26;
        alert.MessageText = Text;
        alert.EventTimeStamp = When;
        alert.EmpNbrGeneratedTrans = 4;
        alert.RecipientNbr = 9;
        alert.Priority = -2;
        return alert;
    }
    std::string Cell(int Col, int Row) {
        return Window->gridOutput->GetCellValue(Col, Row).AsString().c_str();
    }
};

struct DateCase {
    int DtPref;
    int Hour;
    const char* Expected;
};

class DebugGridDateFreshReading : public DebugGridFreshReading,
                                  public ::testing::WithParamInterface<DateCase> {};

TEST_P(DebugGridDateFreshReading, RowShowsTheAlertWithTheOptionsDateOrder) {
    const DateCase& c = GetParam();
    Open(true, c.DtPref);
    Window->AlertGenerated(
        Alert("one line", EncodeDate(2024, 12, 31) + EncodeTime(c.Hour, 5, 0, 0)));
    ASSERT_EQ(Window->gridOutput->GetGridRowCount(), 1);
    EXPECT_EQ(Cell(1, 1), "one line");
    EXPECT_EQ(Cell(3, 1), c.Expected);
    EXPECT_EQ(Cell(2, 1), "26");
    EXPECT_EQ(Cell(4, 1), "4");
    EXPECT_EQ(Cell(5, 1), "9");
    EXPECT_EQ(Cell(6, 1), "-2");
    EXPECT_EQ(Window->GeneratedCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(DateOrders, DebugGridDateFreshReading,
                         ::testing::Values(DateCase{1, 9, "9:05 AM 12/31/24"},
                                           DateCase{2, 9, "9:05 AM 31/12/24"},
                                           DateCase{0, 21, "9:05 PM 31/12/24"},
                                           DateCase{1, 0, "12:05 AM 12/31/24"}));

TEST_F(DebugGridFreshReading, RowHeightIsFourteenPerTextLine) {
    Open(true, 1);
    const struct {
        const char* Text;
        int Height;
    } cases[] = {{"one", 14}, {"one\ntwo\nthree", 42}, {"a\nb", 28}};
    int row = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        Window->AlertGenerated(Alert(c.Text, EncodeDate(2024, 1, 2)));
        ++row;
        ASSERT_EQ(Window->gridOutput->GetGridRowCount(), row);
        EXPECT_EQ(Cell(1, row), c.Text);
        EXPECT_EQ(Window->gridOutput->GetRowHeight(row), c.Height);
    }
    // A line longer than the column is wide wraps, and the row grows with it.
    Window->AlertGenerated(Alert("Job material cost is 95% of estimated job material cost on "
                                 "the archived job of the east warehouse.",
                                 EncodeDate(2024, 1, 2)));
    ++row;
    const int lines = Window->gridOutput->GetCellTextLines(1, row);
    EXPECT_GT(lines, 1);
    EXPECT_EQ(Window->gridOutput->GetRowHeight(row), lines * 14);
    EXPECT_EQ(Window->GeneratedCount(), 4);
}

TEST_F(DebugGridFreshReading, WithoutDebugTheGridStaysEmptyButTheCountRises) {
    Open(false, 1);
    Window->AlertGenerated(Alert("x", EncodeDate(2024, 1, 2)));
    Window->AlertGenerated(Alert("y", EncodeDate(2024, 1, 2)));
    EXPECT_EQ(Window->GeneratedCount(), 2);
    EXPECT_EQ(Window->gridOutput->GetGridRowCount(), 0);
}

// A view that fails: the alert it was given is written, so it still counts.
class FailingView : public IGeneratedAlertsView {
public:
    void AddAlert(const AlertTransaction&) override { throw std::runtime_error("view gone"); }
    void Clear() override {}
};

TEST_F(DebugGridFreshReading, FailingViewStillCountsTheAlert) {
    Open(true, 1);
    Window->SetGeneratedAlertsView(std::make_unique<FailingView>());
    try {
        Window->AlertGenerated(Alert("x", EncodeDate(2024, 1, 2)));
    } catch (const std::exception&) {
    }
    EXPECT_EQ(Window->GeneratedCount(), 1);
}

// A transaction of the shop, through the operator's batch: the history row
// goes to the forwarded recipient, and the grid shows it with that recipient.
TEST_F(DebugGridFreshReading, BatchAlertReachesTheGridForwarded) {
    Exec("insert into ALERT_SETTING (AlertId, EmpNbr, EmailFrequency, Priority, Source) values "
         "(26, 2, 1, 3, 10);"
         "update ALERT_USER_DEFAULTS set ForwardToEmpNbr = 3 where EmpNbr = 2;"
         "insert into ALERT_TRANSACTION (AlertNbr, TransType, EventTimeStamp, "
         "EmpNbrGeneratedTrans, JobNbr, Arg1) values (26, 1, '2024/12/31 09:05:00', 4, 1, 'c');");
    Open(true, 1);
    const int before = Window->GeneratedCount();
    Window->RunAlertBatch(1, false);
    const int added = Window->GeneratedCount() - before;
    ASSERT_GE(added, 1) << Window->memoResults->Lines()->Text().c_str();
    ASSERT_EQ(Window->gridOutput->GetGridRowCount(), added);
    bool found = false;
    for (int row = 1; row <= added; ++row)
        if (Cell(2, row) == "26") {
            found = true;
            EXPECT_EQ(Cell(5, row), "3");
            EXPECT_EQ(Cell(4, row), "4");
            EXPECT_EQ(Cell(6, row), "3");
            EXPECT_EQ(Cell(3, row), "9:05 AM 12/31/24");
        }
    EXPECT_TRUE(found);
}

} // namespace
