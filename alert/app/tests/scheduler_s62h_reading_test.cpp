// The main window's timer on a fake clock: which ticks run which frequency
// class, when the daily run falls, how the timer keeps to the five-minute
// grid, generation switched off, and the operator's "run now".
#include "ProgramWindowTest.h"
#include "alert/app/AlertMailer.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/StringList.h"
#include "platform/gui/TimerService.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>

#include <memory>
#include <string>
#include <vector>

namespace {

// Records the class of every batch that came to its e-mail step.
class ClassRecorder : public IAlertMailer {
public:
    explicit ClassRecorder(std::vector<int>& Classes) : FClasses(Classes) {}
    bool SendAlertEmails(std::uint8_t RunClass) override {
        FClasses.push_back(RunClass);
        return true;
    }
    void TestConnection() override {}

private:
    std::vector<int>& FClasses;
};

TDateTime TimeAt(int Hour, int Minute, int Second, int Ms = 0) {
    return EncodeDate(2026, 3, 4) + EncodeTime(Hour, Minute, Second, Ms);
}

class SchedulerReading : public ProgramWindowTest {
protected:
    void SetUp() override {
        ProgramWindowTest::SetUp();
        Exec("DELETE FROM ALERT_TRANSACTION;");
    }

    // The window shown at Shown with the daily run at Hour:Minute (24-hour).
    void Open(TDateTime Shown, int Hour, int Minute) {
        const int amPm = Hour >= 12 ? 1 : 0;
        int hour12 = Hour % 12;
        if (hour12 == 0) hour12 = 12;
        Exec("UPDATE DORNWICK_OPTIONS SET AlertsProcessHour = " + std::to_string(hour12) +
             ", AlertsProcessMin = " + std::to_string(Minute) +
             ", AlertsProcessAmPm = " + std::to_string(amPm) + ";");
        Clock.SetNow(Shown);
        CreateShopDataModules(Owner);
        Window = new TMainFormWindow(Owner);
        Window->SetMailer(std::make_unique<ClassRecorder>(Classes));
        Window->Show();
    }

    // Runs the timer until Moment; returns the classes of the batches run.
    std::vector<int> RunUntil(TDateTime Moment) {
        Classes.clear();
        const std::int64_t ms = static_cast<std::int64_t>(
            std::llround((Moment - Clock.Now()) * 86400000.0));
        Timers.Advance(ms);
        return Classes;
    }

    std::string Scalar(const std::string& Sql) const {
        sqlite3* db = nullptr;
        sqlite3_open(DbFile.string().c_str(), &db);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, Sql.c_str(), -1, &st, nullptr);
        std::string value;
        if (sqlite3_step(st) == SQLITE_ROW && sqlite3_column_text(st, 0))
            value = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        sqlite3_finalize(st);
        sqlite3_close(db);
        return value;
    }
    std::vector<int> Codes() const {
        std::vector<int> codes;
        const std::string text =
            Scalar("SELECT group_concat(SendEmail) FROM (SELECT SendEmail FROM ALERT_HISTORY "
                   "WHERE SendEmail <> 0 ORDER BY SendEmail)");
        for (char ch : text)
            if (ch != ',') codes.push_back(ch - '0');
        return codes;
    }

    ManualClock Clock;
    FakeTimerService Timers{&Clock};
    ScopedClock UseClock{Clock};
    ScopedTimerService UseTimers{Timers};
    std::vector<int> Classes;
};

TEST_F(SchedulerReading, TickClassesAndGridAlignment) {
    struct Case {
        const char* Name;
        TDateTime Shown;
        int Hour, Minute; // the daily run
        TDateTime Until;
        std::vector<int> Classes;
        unsigned IntervalAfter;
    };
    const std::vector<Case> cases = {
        // First tick 10:00:00.3: within 20 s of the grid, minute 0.
        {"on the hour", TimeAt(9, 59, 0, 300), 6, 0, TimeAt(10, 0, 1), {3}, 300000},
        // First tick 10:02:30 aligns (plain), the next at 10:05 is a quarter.
        {"aligning", TimeAt(10, 1, 30), 6, 0, TimeAt(10, 2, 31), {2}, 150000},
        {"aligned quarter", TimeAt(10, 1, 30), 6, 0, TimeAt(10, 5, 1), {2, 2}, 300000},
        {"quarter past", TimeAt(10, 1, 30), 6, 0, TimeAt(10, 15, 1), {2, 2, 2, 5}, 300000},
        {"half and hour", TimeAt(10, 26, 0), 6, 0, TimeAt(11, 0, 1),
         {2, 4, 2, 2, 5, 2, 2, 3}, 300000},
        // 10:04:50: 10 s before a grid point, the rounded minute is 5.
        {"just before the grid", TimeAt(10, 3, 50), 6, 0, TimeAt(10, 4, 51), {2}, 300000},
        // Daily at 06:03: the 06:00 tick looks ahead, 06:03:00.1 is the
        // daily run, 06:05 realigned and not a second daily run.
        {"daily off the grid", TimeAt(5, 59, 0), 6, 3, TimeAt(6, 5, 1), {3, 1, 2}, 300000},
        // Daily at midnight: a tick at 23:58 looks two minutes ahead.
        {"daily at midnight", TimeAt(23, 57, 0), 0, 0, TimeAt(23, 58, 1), {2}, 120100},
        // A tick exactly five minutes after the daily time is its run.
        {"five minutes late", TimeAt(6, 4, 0), 6, 0, TimeAt(6, 5, 1), {1}, 300000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Open(c.Shown, c.Hour, c.Minute);
        EXPECT_EQ(RunUntil(c.Until), c.Classes);
        EXPECT_EQ(Window->TimerAutoRun->Interval(), c.IntervalAfter);
        delete Window;
        Window = nullptr;
        Owner->DestroyComponents();
    }
}

// While the confirmation is open the timer goes on ticking; the manual
// batch follows once it is answered.
TEST_F(SchedulerReading, TicksWhileTheConfirmationIsOpen) {
    Open(TimeAt(10, 0, 30), 6, 0);
    TMessageBoxRecorder boxes;
    boxes.Answers = {IDYES};
    boxes.WhileOpen = [this](const TMessageBoxRequest&) { Timers.Advance(61000); };
    Window->btnRun->Click();
    EXPECT_EQ(Classes, (std::vector<int>{2, 1}));
    EXPECT_TRUE(Window->TimerAutoRun->Enabled());
    EXPECT_EQ(Timers.Count(), 1);
}

// A manual batch that fails tells the operator in a box and leaves the
// timer running.
TEST_F(SchedulerReading, FailedRunNowIsShownAndTheTimerRuns) {
    Open(TimeAt(10, 0, 30), 6, 0);
    Exec("ALTER TABLE ALERT_HISTORY RENAME TO HISTORY_AWAY;");
    TMessageBoxRecorder boxes;
    boxes.Answers = {IDYES};
    try {
        Window->btnRun->Click();
    } catch (const Exception& E) {
        boxes.Boxes.push_back({E.Message, "", 0});
    }
    ASSERT_GE(boxes.Boxes.size(), 2u);
    bool named = false;
    for (const auto& box : boxes.Boxes)
        if (std::string(box.Text.c_str()).find("ALERT_HISTORY") != std::string::npos) named = true;
    EXPECT_TRUE(named);
    EXPECT_TRUE(Window->TimerAutoRun->Enabled());
    EXPECT_EQ(Timers.Count(), 1);
    Exec("ALTER TABLE HISTORY_AWAY RENAME TO ALERT_HISTORY;");
}

// One daily run a day: not again on the ticks after it, nor when the time is
// moved later on the same day; the next day's run still comes.
TEST_F(SchedulerReading, DailyRunOncePerDay) {
    Open(TimeAt(5, 59, 0), 6, 0);
    const std::vector<int> first = RunUntil(TimeAt(6, 10, 1));
    EXPECT_EQ(std::count(first.begin(), first.end(), 1), 1);
    Exec("UPDATE DORNWICK_OPTIONS SET AlertsProcessHour = 7;");
    const std::vector<int> moved = RunUntil(TimeAt(7, 10, 1));
    EXPECT_EQ(std::count(moved.begin(), moved.end(), 1), 0);
    const std::vector<int> day = RunUntil(TimeAt(7, 10, 1) + 1.0);
    EXPECT_EQ(std::count(day.begin(), day.end(), 1), 1);
}

// A daily time just before midnight: its run is made once, not again on the
// first ticks of the next day, and the next day's comes at its time.
TEST_F(SchedulerReading, DailyRunJustBeforeMidnight) {
    Open(TimeAt(23, 54, 0), 23, 58);
    const std::vector<int> night = RunUntil(TimeAt(0, 10, 1) + 1.0);
    EXPECT_EQ(std::count(night.begin(), night.end(), 1), 1);
    const std::vector<int> nextDay = RunUntil(TimeAt(0, 10, 1) + 2.0);
    EXPECT_EQ(std::count(nextDay.begin(), nextDay.end(), 1), 1);
}

// Moved later on a day whose run is made, the time neither runs again nor
// pulls the timer off the grid.
TEST_F(SchedulerReading, MovedLaterAfterTheDailyRun) {
    Open(TimeAt(5, 59, 0), 6, 3);
    RunUntil(TimeAt(6, 4, 0));
    Window->dtpTargetTime->SetTime(EncodeTime(6, 8, 0, 0));
    Window->dtpTargetTimeChange(Window->dtpTargetTime);
    EXPECT_EQ(RunUntil(TimeAt(6, 20, 1)), (std::vector<int>{2, 2, 5, 2}));
    EXPECT_EQ(Window->TimerAutoRun->Interval(), 300000u);
}

// Switched off (by the shop product, say): the tick shows "Off", zeroes the
// counters and leaves the transactions; switched on again, it runs.
TEST_F(SchedulerReading, GenerationOffRunsNothing) {
    Exec("INSERT INTO ALERT_SETTING (AlertId, EmpNbr, EmailFrequency, Priority, Source) "
         "VALUES (29, 1, 3, 1, 10);");
    const auto transaction = [this] {
        Exec("INSERT INTO ALERT_TRANSACTION (AlertNbr, TransType, EventTimeStamp, "
             "EmpNbrGeneratedTrans, Tag1, Arg1, Tag2, Arg2) VALUES (29, 1, "
             "'2026/03/04 09:00:00', 2, 'JobId', '24-900', 'JobDescr', 'Gone');");
    };
    transaction();
    Open(TimeAt(10, 0, 0), 6, 0);
    RunUntil(TimeAt(10, 1, 1));
    ASSERT_EQ(Window->GeneratedCount(), 1);
    ASSERT_EQ(Window->EmailedCount(), 1);
    Exec("UPDATE DORNWICK_OPTIONS SET AlertsGenInd = 0;");
    transaction();
    Window->TimerAutoRun->SetInterval(60000);
    EXPECT_TRUE(RunUntil(TimeAt(10, 20, 0)).empty());
    EXPECT_EQ(Window->GeneratedCount(), 0);
    EXPECT_EQ(Window->EmailedCount(), 0);
    EXPECT_EQ(Window->lblOnOff->Caption(), "Off");
    EXPECT_EQ(Window->memoResults->Lines()->Strings(0), "Generated alerts: 0, Emailed alerts: 0");
    EXPECT_EQ(Window->TimerAutoRun->Interval(), 60000u);
    EXPECT_EQ(Scalar("SELECT count(*) FROM ALERT_TRANSACTION"), "1");
    Exec("UPDATE DORNWICK_OPTIONS SET AlertsGenInd = 1;");
    EXPECT_FALSE(RunUntil(TimeAt(10, 21, 0)).empty());
    EXPECT_EQ(Window->lblOnOff->Caption(), "On");
    EXPECT_EQ(Scalar("SELECT count(*) FROM ALERT_TRANSACTION"), "0");
}

// A tick whose options cannot be read says so in the log (no box waits on
// an unattended machine) and the timer goes on; the next tick runs once
// the options are back.
TEST_F(SchedulerReading, FailedTickIsRetried) {
    Open(TimeAt(10, 0, 30), 6, 0);
    TMessageBoxRecorder boxes;
    Exec("ALTER TABLE DORNWICK_OPTIONS RENAME TO OPTIONS_AWAY;");
    EXPECT_TRUE(RunUntil(TimeAt(10, 1, 31)).empty());
    EXPECT_TRUE(boxes.Boxes.empty());
    const TStrings& log = *Window->memoResults->Lines();
    EXPECT_NE(std::string(log.Strings(log.Count() - 1).c_str()).find("DORNWICK_OPTIONS"),
              std::string::npos);
    EXPECT_TRUE(Window->TimerAutoRun->Enabled());
    Exec("ALTER TABLE OPTIONS_AWAY RENAME TO DORNWICK_OPTIONS;");
    EXPECT_EQ(RunUntil(TimeAt(10, 2, 31)), std::vector<int>{2});
}

// "Run Daily Alerts Now": asked first; No does nothing, Yes runs a daily
// batch and leaves the timer running.
TEST_F(SchedulerReading, RunNowAsksFirst) {
    Open(TimeAt(10, 0, 30), 6, 0);
    TMessageBoxRecorder boxes;
    boxes.Answers = {IDNO, IDYES};
    Window->btnRun->Click();
    EXPECT_TRUE(Classes.empty());
    Window->btnRun->Click();
    EXPECT_EQ(Classes, std::vector<int>{1});
    ASSERT_EQ(boxes.Boxes.size(), 2u);
    EXPECT_EQ(boxes.Boxes[0].Text, "Check the daily alerts batch ahead of scheduled run time?");
    EXPECT_EQ(boxes.Boxes[0].Caption, "Confirm");
    EXPECT_EQ(boxes.Boxes[0].Flags & (MB_YESNO | MB_DEFBUTTON2), unsigned(MB_YESNO | MB_DEFBUTTON2));
    EXPECT_TRUE(Window->TimerAutoRun->Enabled());
    EXPECT_EQ(Timers.Count(), 1);
    // The day's scheduled run still comes after a manual one.
    Exec("UPDATE DORNWICK_OPTIONS SET AlertsProcessHour = 11;");
    const std::vector<int> later = RunUntil(TimeAt(11, 0, 1));
    EXPECT_EQ(std::count(later.begin(), later.end(), 1), 1);
}

// The codes a batch clears, by its class, whatever the e-mail step did.
TEST_F(SchedulerReading, BatchClearsTheCodesOfItsClass) {
    struct Case {
        int Class;
        std::vector<int> Left; // the codes still due afterwards, of 1, 3, 4, 5
    };
    Open(TimeAt(10, 0, 30), 6, 0);
    for (const Case& c : {Case{1, {}}, Case{2, {1, 3, 4, 5}}, Case{3, {1}}, Case{4, {1, 3}},
                          Case{5, {1, 3, 4}}}) {
        SCOPED_TRACE(c.Class);
        Exec("DELETE FROM ALERT_HISTORY; DELETE FROM ALERT_USER_DEFAULTS;");
        for (int code : {1, 3, 4, 5})
            Exec("INSERT INTO ALERT_HISTORY (AlertNbr, AlertRecipientNbr, DateGenerated, "
                 "Priority, Descr, SendEmail) VALUES (33, 1, '2026/03/04', 1, 'x', " +
                 std::to_string(code) + ");");
        Window->RunAlertBatch(static_cast<std::uint8_t>(c.Class), false);
        EXPECT_EQ(Codes(), c.Left);
    }
}

// A transaction that cannot be processed stays in its table and is named in
// the log; the batch goes on with the next one, and the timer keeps running.
TEST_F(SchedulerReading, FailingTransactionIsReportedAndTheBatchGoesOn) {
    // Somebody asked for alert id 28, which the program does not know.
    Exec("INSERT INTO ALERT_SETTING (AlertId, EmpNbr, EmailFrequency, Priority, Source) "
         "VALUES (28, 1, 3, 1, 10);");
    Exec("INSERT INTO ALERT_TRANSACTION (AlertNbr, TransType, EventTimeStamp, "
         "EmpNbrGeneratedTrans, JobNbr, Tag1, Arg1, Tag2, Arg2) VALUES "
         "(28, 1, '2026/03/04 09:00:00', 2, 1, NULL, NULL, NULL, NULL), "
         "(27, 1, '2026/03/04 09:00:00', 2, 1, 'OldStatus', 'Open', 'NewStatus', "
         "'In Production');");
    Open(TimeAt(10, 0, 30), 6, 0);
    TMessageBoxRecorder boxes;
    RunUntil(TimeAt(10, 5, 1));
    EXPECT_TRUE(boxes.Boxes.empty());
    EXPECT_EQ(Window->GeneratedCount(), 1);
    EXPECT_EQ(Scalar("SELECT group_concat(AlertNbr) FROM ALERT_TRANSACTION"), "28");
    bool named = false;
    for (int i = 0; i < Window->memoResults->Lines()->Count(); ++i)
        if (std::string(Window->memoResults->Lines()->Strings(i).c_str())
                .find("An invalid Alert Id ('28') was encountered.") != std::string::npos)
            named = true;
    EXPECT_TRUE(named);
    EXPECT_TRUE(Window->TimerAutoRun->Enabled());
    EXPECT_EQ(Window->memoResults->Lines()->Strings(0),
              "Generated alerts: 1, Emailed alerts: 2");
}

// Settings changed between two batches are read again: a deleted one makes
// no more alerts, one put in its place under a new identity (the count as
// before) makes them for its own employee.
TEST_F(SchedulerReading, ChangedSettingsAreReloaded) {
    Open(TimeAt(10, 0, 30), 6, 0);
    const auto setting = [this](int Employee) {
        Exec("INSERT INTO ALERT_SETTING (AlertId, EmpNbr, EmailFrequency, Priority, Source) "
             "VALUES (29, " + std::to_string(Employee) + ", 3, 1, 10);");
    };
    const auto batch = [this] {
        Exec("INSERT INTO ALERT_TRANSACTION (AlertNbr, TransType, EventTimeStamp, "
             "EmpNbrGeneratedTrans, Tag1, Arg1, Tag2, Arg2) VALUES (29, 1, "
             "'2026/03/04 09:00:00', 2, 'JobId', '24-900', 'JobDescr', 'Gone');");
        Window->RunAlertBatch(2, false);
        const std::string recipients = Scalar(
            "SELECT group_concat(AlertRecipientNbr) FROM ALERT_HISTORY WHERE AlertNbr = 29");
        Exec("DELETE FROM ALERT_HISTORY WHERE AlertNbr = 29;");
        return recipients;
    };
    setting(1);
    EXPECT_EQ(batch(), "1");
    Exec("DELETE FROM ALERT_SETTING WHERE AlertId = 29;");
    EXPECT_EQ(batch(), "");
    setting(1);
    EXPECT_EQ(batch(), "1");
    Exec("DELETE FROM ALERT_SETTING WHERE AlertId = 29;");
    setting(3);
    EXPECT_EQ(batch(), "3");
}

// Each tick reloads the options into the run-time picker and the SMTP
// controls, unless the operator has SMTP edits not yet saved.
TEST_F(SchedulerReading, TickRefreshesControlsUnlessEditsArePending) {
    Open(TimeAt(10, 0, 30), 6, 0);
    Exec("UPDATE DORNWICK_OPTIONS SET SMTPserver = 'mail.example.com', AlertsProcessHour = 7;");
    RunUntil(TimeAt(10, 1, 31));
    EXPECT_EQ(Window->eSMTPServer->Text(), "mail.example.com");
    EXPECT_NEAR(Window->dtpTargetTime->Time(), EncodeTime(7, 0, 0, 0), 1e-6);
    EXPECT_FALSE(Window->btSaveSMTPSettings->Enabled());

    Window->eSMTPServer->SetText("typed.example.com");
    EXPECT_TRUE(Window->btSaveSMTPSettings->Enabled());
    Exec("UPDATE DORNWICK_OPTIONS SET SMTPserver = 'other.example.com';");
    RunUntil(TimeAt(10, 5, 1));
    EXPECT_EQ(Window->eSMTPServer->Text(), "typed.example.com");
    EXPECT_TRUE(Window->btSaveSMTPSettings->Enabled());
}

} // namespace
