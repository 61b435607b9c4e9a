// The main window on Qt's offscreen platform against the demo database, with
// the clock, the timers and the message boxes in the test's hands.
#include "ProgramWindowTest.h"
#include "alert/app/AlertMailer.h"
#include "alert/app/CommandLine.h"
#include "alert/app/MainFormWindow.h"
#include "alert/store/MainDmod.h"
#include "datamodules/DmodCommon.h"
#include "platform/data/Query.h"
#include "platform/data/testing/ShopDbTest.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/TimerService.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/StrUtils.h"
#include "platform/sys/KernelNames.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

// Records the runs it is asked to mail; a run with alerts due reports its
// last message sent.
class RecordingMailer : public IAlertMailer {
public:
    explicit RecordingMailer(std::vector<int>& Runs) : FRuns(Runs) {}
    bool SendAlertEmails(std::uint8_t RunClass) override {
        FRuns.push_back(RunClass);
        return RunClass != 2;
    }
    void TestConnection() override {}

private:
    std::vector<int>& FRuns;
};

// The day the demo's dates were written for, at a time of the test's choice.
TDateTime Today(int Hour, int Minute, int Second = 0) {
    return static_cast<double>(static_cast<int>(SystemClock().Now())) +
           EncodeTime(Hour, Minute, Second, 0);
}

class MainWindowTest : public ProgramWindowTest {
protected:
    void SetUp() override {
        ProgramWindowTest::SetUp();
        DebugMode = false;
    }

    // The data modules in the program's order, then the window, shown.
    void Open() {
        CreateShopDataModules(Owner);
        Window = new TMainFormWindow(Owner);
        Window->SetMailer(std::make_unique<RecordingMailer>(MailedRuns));
        Window->Show();
    }

    std::string Text(const std::string& Sql) const {
        sqlite3* Db = nullptr;
        sqlite3_open(DbFile.c_str(), &Db);
        sqlite3_stmt* Stmt = nullptr;
        std::string Result;
        if (sqlite3_prepare_v2(Db, Sql.c_str(), -1, &Stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(Stmt) == SQLITE_ROW && sqlite3_column_text(Stmt, 0))
            Result = reinterpret_cast<const char*>(sqlite3_column_text(Stmt, 0));
        sqlite3_finalize(Stmt);
        sqlite3_close(Db);
        return Result;
    }
    int Count(const std::string& Table) const {
        return std::stoi(Text("select count(*) from " + Table));
    }
    std::vector<AnsiString> Memo() const {
        std::vector<AnsiString> Lines;
        for (int I = 0; I < Window->memoResults->Lines()->Count(); ++I)
            Lines.push_back(Window->memoResults->Lines()->Strings(I));
        return Lines;
    }
    // The log lines without their time stamps.
    std::vector<AnsiString> LogTexts() const {
        std::vector<AnsiString> Texts;
        const auto Lines = Memo();
        for (std::size_t I = 1; I < Lines.size(); ++I)
            Texts.push_back(Lines[I].substr(Lines[I].find(": ") + 2));
        return Texts;
    }

    ManualClock Clock{Today(5, 58, 30)};
    ScopedClock ClockScope{Clock};
    FakeTimerService Timers{&Clock};
    ScopedTimerService TimerScope{Timers};
    TMessageBoxRecorder Boxes;
    std::vector<int> MailedRuns;
};

TEST_F(MainWindowTest, ShowsTheOptionsInItsControls) {
    Open();
    EXPECT_EQ(Window->Caption(), "Beacon Mill");
    EXPECT_EQ(Window->lblOnOff->Caption(), "On");
    EXPECT_DOUBLE_EQ(Window->dtpTargetTime->Time(), EncodeTime(6, 0, 0, 0));
    EXPECT_EQ(Window->rgEmailType->ItemIndex(), 1);
    EXPECT_TRUE(Window->gbSMTP->Visible());
    EXPECT_EQ(Window->eSMTPServer->Text(), "localhost");
    EXPECT_EQ(Window->eSMTPPort->Text(), "2525");
    EXPECT_EQ(Window->cboSMTPEncrypt->ItemIndex(), 0);
    EXPECT_EQ(Window->eSMTPAccount->Text(), "alerts@example.com");
    EXPECT_EQ(Window->eSMTPPassword->Text(), "demo");
    EXPECT_FALSE(Window->btSaveSMTPSettings->Enabled());
    EXPECT_FALSE(Window->gbDebug->Visible());
    EXPECT_TRUE(Window->TimerAutoRun->Enabled());
    EXPECT_EQ(Window->TimerAutoRun->Interval(), 60000u);
    const auto Lines = Memo();
    ASSERT_EQ(Lines.size(), 2u);
    EXPECT_EQ(Lines[0], "Generated alerts: 0, Emailed alerts: 0");
    // The demo's user defaults ask for month-first dates.
    EXPECT_EQ(Lines[1], FormatDateTime("h:nn AM/PM mm/dd/yy", Clock.Now()) + ": Beacon mill on");

    const QImage Shot = Window->Widget()->grab().toImage();
    const std::string File = std::string(BEACONMILL_SCREENSHOT_DIR) + "/main_window.png";
    ASSERT_TRUE(Shot.save(QString::fromStdString(File), "PNG"));
    EXPECT_GE(Shot.width(), 750);
    EXPECT_GT(std::filesystem::file_size(File), 0u);
}

TEST_F(MainWindowTest, OptionsWithoutGenerationOrMailShowSo) {
    Exec("update DORNWICK_OPTIONS set AlertsGenInd = 0, AlertsEmailType = 0, SMTPserver = '', "
         "SMTPport = 0, SMTPaccount = NULL; update WU_DFLTS set DT_PREF = 0;");
    DebugMode = true;
    Open();
    EXPECT_EQ(Window->lblOnOff->Caption(), "Off");
    EXPECT_EQ(Memo(), std::vector<AnsiString>{"Generated alerts: 0, Emailed alerts: 0"});
    EXPECT_FALSE(Window->gbSMTP->Visible());
    EXPECT_EQ(Window->eSMTPServer->Text(), "");
    EXPECT_EQ(Window->eSMTPPort->Text(), "0");
    EXPECT_TRUE(Window->gbDebug->Visible());
    // Day-first log stamps.
    Window->LogLine("x");
    EXPECT_EQ(Memo().back(), FormatDateTime("h:nn AM/PM dd/mm/yy", Clock.Now()) + ": x");
}

TEST_F(MainWindowTest, TheOnOffLinkWritesTheOptionsRowAndLogs) {
    Open();
    Window->lblOnOff->Click();
    EXPECT_EQ(Text("select AlertsGenInd from DORNWICK_OPTIONS"), "0");
    EXPECT_EQ(Window->lblOnOff->Caption(), "Off");
    Window->lblOnOff->Click();
    EXPECT_EQ(Text("select AlertsGenInd from DORNWICK_OPTIONS"), "1");
    EXPECT_EQ(Window->lblOnOff->Caption(), "On");
    EXPECT_EQ(LogTexts(), (std::vector<AnsiString>{"Beacon mill on", "Beacon mill turned off",
                                                   "Beacon mill turned on"}));
}

TEST_F(MainWindowTest, TheResultsLogKeepsItsNewestLinesUnderTheCounters) {
    Open();
    Boxes.Answers = {IDYES};
    Window->btnRun->Click();
    ASSERT_GT(Window->GeneratedCount(), 0);
    const int Lines = TMainFormWindow::MaxResultLines;
    for (int I = 1; I <= Lines + 20; ++I)
        Window->LogLine("entry " + std::to_string(I));
    // A tick that finds generation off rewrites the counter line.
    Exec("update DORNWICK_OPTIONS set AlertsGenInd = 0;");
    Timers.Advance(60000);
    const std::vector<AnsiString> All = Memo();
    ASSERT_EQ(All.size(), static_cast<std::size_t>(Lines));
    EXPECT_EQ(All.front(), "Generated alerts: 0, Emailed alerts: 0");
    // Whatever was logged before the entries went first, then the oldest
    // entries: the log keeps Lines - 1 of them under the counters.
    const std::vector<AnsiString> Texts = LogTexts();
    EXPECT_EQ(Texts.front(), "entry 22");
    EXPECT_EQ(Texts.back(), "entry " + std::to_string(Lines + 20));
}

// With the disk full every transaction would fail the same way: the batch
// says so once and ends; with space back, the next batch writes exactly
// what an uninterrupted one would have.
TEST_F(MainWindowTest, AFullDatabaseEndsTheBatchWithOneLineAndLosesNothing) {
    const char* Columns =
        "AlertNbr, TransType, EventTimeStamp, EmpNbrGeneratedTrans, JobNbr, JobItemNbr, WoNbr, "
        "PoNbr, PoItemNbr, BillingNbr, ProgressBillingNbr, ShipTicketNbr, InvNbr, EmpNbr, "
        "WoProductNbr, DeptNbr, Tag1, Arg1, Tag2, Arg2, Tag3, Arg3, Tag4, Arg4";
    // The demo's transactions, queued again as many times as a test asks.
    Exec("create table DEMO_TRANSACTIONS as select * from ALERT_TRANSACTION;");
    Open();
    Window->RunAlertBatch(2, false); // the demo's own transactions
    const auto Queue = [&](int Copies) {
        Exec(std::string("insert into ALERT_TRANSACTION (") + Columns + ") " +
             "with recursive N(I) as (select 1 union all select I + 1 from N where I < " +
             std::to_string(Copies) + ") select " + Columns + " from N, DEMO_TRANSACTIONS;");
    };
    // What one transaction writes.
    const int Before = Count("ALERT_HISTORY");
    Queue(1);
    Window->RunAlertBatch(2, false);
    const int PerTransaction = Count("ALERT_HISTORY") - Before;
    ASSERT_GT(PerTransaction, 0);

    const int Copies = 100;
    Queue(Copies);
    const int Start = Count("ALERT_HISTORY");
    // The program's own connection may grow the file by no page at all.
    TQuery& Sql = *PeerDmod<TMainDmod>(*Window, DmodNames::Main).CommonSql;
    const auto Pragma = [&Sql](const char* Text) {
        Sql.SQL()->SetText(Text);
        Sql.ExecSQL();
    };
    Pragma("pragma max_page_count = 1");
    const std::size_t LogBefore = LogTexts().size();
    Window->RunAlertBatch(2, false);
    std::vector<AnsiString> Logged = LogTexts();
    Logged.erase(Logged.begin(), Logged.begin() + static_cast<std::ptrdiff_t>(LogBefore));
    ASSERT_EQ(Logged.size(), 1u) << (Logged.empty() ? AnsiString() : Logged.back());
    EXPECT_NE(Logged[0].find("database or disk is full"), AnsiString::npos) << Logged[0];
    EXPECT_NE(Logged[0].find("left for the next batch"), AnsiString::npos) << Logged[0];
    EXPECT_GT(Count("ALERT_TRANSACTION"), 0);

    Pragma("pragma max_page_count = 1073741823");
    Window->RunAlertBatch(2, false);
    EXPECT_EQ(Count("ALERT_TRANSACTION"), 0);
    EXPECT_EQ(Count("ALERT_HISTORY") - Start, Copies * PerTransaction);
}

TEST_F(MainWindowTest, ThePickerStoresTheTimeOnATwelveHourClock) {
    Open();
    struct Case {
        int Hour, Minute;
        const char* Stored; // hour/minute/AM-PM
    };
    for (const Case& C : {Case{0, 30, "12/30/0"}, Case{12, 0, "12/0/1"}, Case{13, 45, "1/45/1"},
                          Case{11, 59, "11/59/0"}}) {
        Window->TimerAutoRun->SetInterval(300000);
        Window->dtpTargetTime->SetTime(EncodeTime(C.Hour, C.Minute, 25, 0));
        Window->dtpTargetTime->OnChange(Window->dtpTargetTime);
        EXPECT_EQ(Text("select AlertsProcessHour || '/' || AlertsProcessMin || '/' || "
                       "AlertsProcessAmPm from DORNWICK_OPTIONS"),
                  C.Stored);
        EXPECT_EQ(Window->TimerAutoRun->Interval(), 60000u);
    }
}

TEST_F(MainWindowTest, RunDailyAlertsNowAskedAndAnsweredYes) {
    Open();
    Boxes.Answers = {IDNO};
    Window->btnRun->Click();
    ASSERT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_EQ(Boxes.Boxes[0].Text, "Check the daily alerts batch ahead of scheduled run time?");
    EXPECT_EQ(Boxes.Boxes[0].Caption, "Confirm");
    EXPECT_EQ(Boxes.Boxes[0].Flags, MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2 | MB_TOPMOST);
    EXPECT_EQ(Count("ALERT_HISTORY"), 0);

    Boxes.Answers = {IDYES};
    Window->btnRun->Click();
    const int Written = Count("ALERT_HISTORY");
    // The demo's event alerts and its date-driven ones.
    EXPECT_GT(Written, 8);
    EXPECT_EQ(Count("ALERT_TRANSACTION"), 0);
    EXPECT_EQ(Text("select count(*) from ALERT_HISTORY where SendEmail in (1, 3, 4, 5)"), "0");
    EXPECT_EQ(MailedRuns, std::vector<int>{1});
    EXPECT_EQ(Memo()[0], Format("Generated alerts: %d, Emailed alerts: 1", Written));
    EXPECT_TRUE(Window->TimerAutoRun->Enabled());
}

TEST_F(MainWindowTest, TicksAlignToTheGridAndMakeTheDailyRunOnce) {
    Open();                // 05:58:30, the first tick a minute later
    Timers.Advance(60000); // 05:59:30: aligning, and 30 s before the run time
    EXPECT_EQ(Window->TimerAutoRun->Interval(), 30100u);
    EXPECT_EQ(Count("ALERT_TRANSACTION"), 0);
    const int EventAlerts = Count("ALERT_HISTORY");
    EXPECT_GT(EventAlerts, 0);
    EXPECT_EQ(MailedRuns, std::vector<int>{2});

    Timers.Advance(30100); // 06:00:00.100: the daily run
    EXPECT_EQ(MailedRuns, (std::vector<int>{2, 1}));
    EXPECT_GT(Count("ALERT_HISTORY"), EventAlerts);
    EXPECT_EQ(Window->TimerAutoRun->Interval(), 300000u);

    Timers.Advance(15 * 60000); // 06:05, 06:10 plain, 06:15 quarter-hourly
    EXPECT_EQ(MailedRuns, (std::vector<int>{2, 1, 2, 2, 5}));
    EXPECT_EQ(Memo()[0], Format("Generated alerts: %d, Emailed alerts: 2",
                                std::stoi(Text("select count(*) from ALERT_HISTORY"))));
    EXPECT_TRUE(Boxes.Boxes.empty());
}

TEST_F(MainWindowTest, MovingTheRunTimeLaterOnTheDayOfTheRunDoesNotRunItAgain) {
    Open();
    Timers.Advance(60000 + 30100); // the daily run at 06:00:00.100
    ASSERT_EQ(MailedRuns, (std::vector<int>{2, 1}));
    const int DailyAlerts = Count("ALERT_HISTORY");

    // The operator moves the time to 06:12 at 06:01.
    Timers.Advance(60000 - 100);
    Window->dtpTargetTime->SetTime(EncodeTime(6, 12, 0, 0));
    Window->dtpTargetTime->OnChange(Window->dtpTargetTime);
    Timers.Advance(30 * 60000);
    EXPECT_EQ(std::count(MailedRuns.begin(), MailedRuns.end(), 1), 1);
    EXPECT_EQ(Count("ALERT_HISTORY"), DailyAlerts);

    // "Run Daily Alerts Now" still runs it on purpose.
    Boxes.Answers = {IDYES};
    Window->btnRun->Click();
    EXPECT_EQ(MailedRuns.back(), 1);
}

TEST_F(MainWindowTest, GenerationOffStopsTheTickAndZeroesTheCounters) {
    Open();
    Boxes.Answers = {IDYES};
    Window->btnRun->Click();
    ASSERT_GT(Window->GeneratedCount(), 0);
    Exec("update DORNWICK_OPTIONS set AlertsGenInd = 0;"
         "insert into ALERT_TRANSACTION (AlertNbr, EventTimeStamp) values (27, '2024/05/06');");
    Timers.Advance(60000);
    EXPECT_EQ(Window->lblOnOff->Caption(), "Off");
    EXPECT_EQ(Window->GeneratedCount(), 0);
    EXPECT_EQ(Window->EmailedCount(), 0);
    EXPECT_EQ(Memo()[0], "Generated alerts: 0, Emailed alerts: 0");
    EXPECT_EQ(Window->TimerAutoRun->Interval(), 60000u);
    EXPECT_EQ(Count("ALERT_TRANSACTION"), 1);
}

TEST_F(MainWindowTest, ASettingsChangeEmptiesTheCache) {
    Open();
    Window->RunAlertBatch(2, false);
    ASSERT_FALSE(Window->SettingsCache().Settings.empty());
    const auto Identity = Window->SettingsCache().IdentityMarker;

    Window->RunAlertBatch(2, false); // nothing changed: the cache stays
    EXPECT_FALSE(Window->SettingsCache().Settings.empty());

    Exec("delete from ALERT_SETTING where AlertSettingNbr = 19;");
    Window->RunAlertBatch(2, false); // no transactions to fill it again
    EXPECT_TRUE(Window->SettingsCache().Settings.empty());
    EXPECT_EQ(Window->SettingsCache().IdentityMarker, Identity);
    EXPECT_EQ(Window->SettingsCache().CountMarker, 18);
}

TEST_F(MainWindowTest, ATickThatFailsLogsAndTheTimerGoesOn) {
    Open();
    Exec("insert into ALERT_USER_DEFAULTS (EmpNbr, PurgeAfterNbrOfDays) values (990, 30);"
         "insert into ALERT_HISTORY (AlertRecipientNbr, AlertNbr, DateGenerated) values "
         "(990, 21, '2001/01/01');"
         "alter table ALERT_TRANSACTION rename to ALERT_TRANSACTION_AWAY;");
    Timers.Advance(60000);
    const auto Failed = LogTexts();
    // The intake fails, and so does the threshold refresh, which cannot see
    // which records still have transactions pending.
    ASSERT_EQ(Failed.size(), 3u);
    EXPECT_NE(Failed[1].find("ALERT_TRANSACTION"), AnsiString::npos) << Failed[1];
    EXPECT_NE(Failed[2].find("ALERT_TRANSACTION"), AnsiString::npos) << Failed[2];
    // The steps after the failing one still ran: the purge, for one.
    EXPECT_EQ(Count("ALERT_HISTORY where AlertRecipientNbr = 990"), 0);

    Exec("alter table DORNWICK_OPTIONS rename to OPTIONS_AWAY;");
    Timers.Advance(Window->TimerAutoRun->Interval());
    EXPECT_EQ(LogTexts().size(), 4u);
    EXPECT_TRUE(Window->TimerAutoRun->Enabled());
    EXPECT_TRUE(Boxes.Boxes.empty());
}

TEST_F(MainWindowTest, SmtpSettingsAreSavedAsTyped) {
    Open();
    Window->cboSMTPEncrypt->SetItemIndex(2);
    Window->cboSMTPEncrypt->OnChange(Window->cboSMTPEncrypt);
    EXPECT_TRUE(Window->btSaveSMTPSettings->Enabled());
    EXPECT_EQ(Text("select SMTPencryption from DORNWICK_OPTIONS"), "0");

    Window->eSMTPServer->SetText("  mail.example.com ");
    Window->eSMTPPort->SetText("none");
    Window->eSMTPAccount->SetText(" me@example.com ");
    Window->eSMTPPassword->SetText(" secret ");
    Window->btSaveSMTPSettings->Click();
    EXPECT_EQ(Text("select SMTPserver || '|' || SMTPport || '|' || SMTPencryption || '|' || "
                   "SMTPaccount || '|' || SMTPpassword || '|' || AlertsEmailType "
                   "from DORNWICK_OPTIONS"),
              "mail.example.com|25|2|me@example.com| secret |1");
    EXPECT_FALSE(Window->btSaveSMTPSettings->Enabled());

    // While edits are pending, a tick leaves them as typed.
    Window->eSMTPServer->SetText("typed");
    Timers.Advance(60000);
    EXPECT_EQ(Window->eSMTPServer->Text(), "typed");

    Window->rgEmailType->SetItemIndex(0);
    EXPECT_FALSE(Window->gbSMTP->Visible());
    EXPECT_EQ(Text("select AlertsEmailType from DORNWICK_OPTIONS"), "0");
}

TEST_F(MainWindowTest, TestConnectionNeedsServerPortAndAccount) {
    Open();
    Window->eSMTPPort->SetText("  ");
    Window->btTestConnection->Click();
    ASSERT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_EQ(Boxes.Boxes[0].Text, "Need an entry for server, port, and account name.");
    EXPECT_EQ(Boxes.Boxes[0].Caption, "Error");
    EXPECT_EQ(Boxes.Boxes[0].Flags, MB_OK | MB_ICONWARNING | MB_TOPMOST);
}

} // namespace
