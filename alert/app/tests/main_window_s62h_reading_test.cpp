// The main window as the operator finds it after start and as its own
// controls change the options row: the alert switch, the run time, the
// SMTP controls filled from the options, and the debug group.
#include "ProgramWindowTest.h"
#include "alert/app/CommandLine.h"
#include "components/PellworthGrid.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Colors.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/Menus.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/StringList.h"
#include "platform/gui/TimerService.h"
#include "platform/registry/Registry.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QMouseEvent>
#include <QRadioButton>
#include <QWidget>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

class MainWindowReading : public ProgramWindowTest {
protected:
    void SetUp() override {
        ProgramWindowTest::SetUp();
        Exec("DELETE FROM ALERT_TRANSACTION;");
    }
    void TearDown() override {
        DebugMode = false;
        ProgramWindowTest::TearDown();
    }

    void Open() {
        CreateShopDataModules(Owner);
        Window = new TMainFormWindow(Owner);
        Window->Show();
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

    std::vector<std::string> MemoLines() const {
        std::vector<std::string> lines;
        for (int i = 0; i < Window->memoResults->Lines()->Count(); ++i)
            lines.push_back(Window->memoResults->Lines()->Strings(i).c_str());
        return lines;
    }

    ManualClock Clock{EncodeDate(2026, 3, 4) + EncodeTime(14, 5, 0, 0)};
    FakeTimerService Timers{&Clock};
    ScopedClock UseClock{Clock};
    ScopedTimerService UseTimers{Timers};
};

// What the window shows once it is up, by the options row.
TEST_F(MainWindowReading, ShownFromTheOptions) {
    struct Case {
        const char* Name;
        const char* Options; // SET clause of DORNWICK_OPTIONS
        int DatePreference;
        bool Debug;
        const char* OnOff;
        std::vector<std::string> Memo;
        const char *Server, *Port, *Account, *Password;
        int EmailType, Encryption;
    };
    const std::vector<Case> cases = {
        {"on, smtp", "AlertsGenInd = 1", 0, false, "On",
         {"Generated alerts: 0, Emailed alerts: 0", "2:05 PM 04/03/26: Beacon mill on"},
         "localhost", "2525", "alerts@example.com", "demo", 1, 0},
        {"off, month first, nothing stored",
         "AlertsGenInd = 0, SMTPserver = '', SMTPaccount = '', SMTPpassword = '', "
         "SMTPport = 0, AlertsEmailType = 0, SMTPencryption = 2",
         1, true, "Off", {"Generated alerts: 0, Emailed alerts: 0"}, "", "0", "", "", 0, 2},
        {"on, month first",
         "AlertsGenInd = 2, SMTPserver = 'localhost', SMTPaccount = 'alerts@example.com', "
         "SMTPpassword = 'demo', SMTPport = 2525, AlertsEmailType = 1, SMTPencryption = 0",
         1, false, "On",
         {"Generated alerts: 0, Emailed alerts: 0", "2:05 PM 03/04/26: Beacon mill on"},
         "localhost", "2525", "alerts@example.com", "demo", 1, 0},
    };
    bool modulesMade = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Exec(std::string("UPDATE DORNWICK_OPTIONS SET ") + c.Options + ";");
        Exec("UPDATE WU_DFLTS SET DT_PREF = " + std::to_string(c.DatePreference) + ";");
        DebugMode = c.Debug;
        if (!modulesMade) CreateShopDataModules(Owner);
        modulesMade = true;
        Window = new TMainFormWindow(Owner);
        Window->Show();
        EXPECT_EQ(Window->Caption(), "Beacon Mill");
        EXPECT_EQ(Window->Constraints()->MinWidth(), 750);
        EXPECT_EQ(Window->Constraints()->MinHeight(), 515);
        EXPECT_EQ(Window->gbDebug->Visible(), c.Debug);
        EXPECT_EQ(Window->lblOnOff->Caption(), c.OnOff);
        EXPECT_EQ(MemoLines(), c.Memo);
        EXPECT_EQ(Window->TimerAutoRun->Interval(), 60000u);
        EXPECT_TRUE(Window->TimerAutoRun->Enabled());
        EXPECT_EQ(Window->eSMTPServer->Text(), c.Server);
        EXPECT_EQ(Window->eSMTPPort->Text(), c.Port);
        EXPECT_EQ(Window->eSMTPAccount->Text(), c.Account);
        EXPECT_EQ(Window->eSMTPPassword->Text(), c.Password);
        EXPECT_EQ(Window->rgEmailType->ItemIndex(), c.EmailType);
        EXPECT_EQ(Window->gbSMTP->Visible(), c.EmailType == 1);
        EXPECT_EQ(Window->cboSMTPEncrypt->ItemIndex(), c.Encryption);
        EXPECT_EQ(Window->cboSMTPEncrypt->Items()->Count(), 3);
        EXPECT_FALSE(Window->btSaveSMTPSettings->Enabled());
        EXPECT_EQ(Window->ActiveControl(), Window->rgEmailType);
        EXPECT_NEAR(Window->dtpTargetTime->Time(), EncodeTime(6, 0, 0, 0), 1e-6);
        delete Window;
        Window = nullptr;
    }
}

// The label works as a switch: it looks like a link, writes the options row
// at once and says so in the log.
TEST_F(MainWindowReading, OnOffLabelSwitchesGeneration) {
    Open();
    EXPECT_EQ(Window->lblOnOff->Font()->Color(), clBlue);
    EXPECT_TRUE(Window->lblOnOff->Font()->Style().Contains(TFontStyle::fsUnderline));
    EXPECT_EQ(Window->lblOnOff->Cursor(), crHandPoint);
    EXPECT_FALSE(Window->lblOnOff->AutoSize());
    Window->lblOnOff->Click();
    EXPECT_EQ(Window->lblOnOff->Caption(), "Off");
    EXPECT_EQ(Scalar("SELECT AlertsGenInd FROM DORNWICK_OPTIONS"), "0");
    EXPECT_EQ(MemoLines().back(), "2:05 PM 03/04/26: Beacon mill turned off");
    Window->lblOnOff->Click();
    EXPECT_EQ(Window->lblOnOff->Caption(), "On");
    EXPECT_EQ(Scalar("SELECT AlertsGenInd FROM DORNWICK_OPTIONS"), "1");
    EXPECT_EQ(MemoLines().back(), "2:05 PM 03/04/26: Beacon mill turned on");
}

// A failed statement leaves the label and the log as they were.
TEST_F(MainWindowReading, OnOffLabelFailureChangesNothing) {
    Open();
    const std::size_t lines = MemoLines().size();
    Exec("DROP TABLE DORNWICK_OPTIONS;");
    TMessageBoxRecorder boxes;
    try {
        Window->lblOnOff->Click();
    } catch (const Exception&) {
    }
    EXPECT_EQ(Window->lblOnOff->Caption(), "On");
    EXPECT_EQ(MemoLines().size(), lines);
}

// The run time the operator picks is stored on the 12-hour clock and the
// timer starts over towards the grid.
TEST_F(MainWindowReading, RunTimeIsStored) {
    struct Case {
        int Hour, Minute, Second;
        const char* Stored; // hour, minute, AM/PM
    };
    Open();
    for (const Case& c : {Case{0, 30, 0, "12,30,0"}, Case{12, 0, 0, "12,0,1"},
                          Case{13, 45, 0, "1,45,1"}, Case{11, 59, 59, "11,59,0"},
                          Case{23, 5, 30, "11,5,1"}}) {
        SCOPED_TRACE(c.Stored);
        Window->TimerAutoRun->SetInterval(300000);
        Window->dtpTargetTime->SetTime(EncodeTime(c.Hour, c.Minute, c.Second, 0));
        Window->dtpTargetTimeChange(Window->dtpTargetTime);
        EXPECT_EQ(Scalar("SELECT AlertsProcessHour || ',' || AlertsProcessMin || ',' || "
                         "AlertsProcessAmPm FROM DORNWICK_OPTIONS"),
                  c.Stored);
        EXPECT_EQ(Window->TimerAutoRun->Interval(), 60000u);
    }
}

// A run-time change restarts a countdown that is not at a minute yet, and
// leaves one that is alone.
TEST_F(MainWindowReading, RunTimeChangeAndTheCountdown) {
    Open();
    Timers.Advance(30000);
    EXPECT_EQ(Timers.NextTickIn(), 30000);
    Window->dtpTargetTime->SetTime(EncodeTime(7, 0, 0, 0));
    Window->dtpTargetTimeChange(Window->dtpTargetTime);
    EXPECT_EQ(Timers.NextTickIn(), 30000);
    Window->TimerAutoRun->SetInterval(300000);
    Window->dtpTargetTimeChange(Window->dtpTargetTime);
    EXPECT_EQ(Timers.NextTickIn(), 60000);
}

// The operator's step of the picker's minute reaches the options row.
TEST_F(MainWindowReading, PickerStepByKeyIsStored) {
    Open();
    Window->dtpTargetTime->SetTime(EncodeTime(6, 0, 0, 0));
    QWidget* picker = Window->dtpTargetTime->Widget();
    picker->setFocus();
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(picker, &up);
    EXPECT_NE(Scalar("SELECT AlertsProcessHour || ',' || AlertsProcessMin || ',' || "
                     "AlertsProcessAmPm FROM DORNWICK_OPTIONS"),
              "6,0,0");
}

// Without the debug switch the grid receives no rows; with it, one per alert.
TEST_F(MainWindowReading, DebugGridRowsPerAlert) {
    Exec("INSERT INTO ALERT_SETTING (AlertId, EmpNbr, EmailFrequency, Priority, Source) "
         "VALUES (29, 1, 3, 1, 10);");
    for (bool debug : {false, true}) {
        SCOPED_TRACE(debug);
        DebugMode = debug;
        Exec("INSERT INTO ALERT_TRANSACTION (AlertNbr, TransType, EventTimeStamp, "
             "EmpNbrGeneratedTrans, Tag1, Arg1, Tag2, Arg2) VALUES (29, 1, "
             "'2026/03/04 09:00:00', 2, 'JobId', '24-900', 'JobDescr', 'Gone');");
        Open();
        const int rows = Window->gridOutput->RowCount();
        Window->RunAlertBatch(2, false);
        EXPECT_EQ(Window->GeneratedCount(), 1);
        EXPECT_EQ(Window->gridOutput->RowCount() - rows, debug ? 1 : 0);
        delete Window;
        Window = nullptr;
        Owner->DestroyComponents();
    }
}

// Another date separator shows in the log; statements keep '/'.
TEST_F(MainWindowReading, DateSeparatorForPeopleOnly) {
    FormatSettings().DateSeparator = '-';
    Exec("INSERT INTO ALERT_SETTING (AlertId, EmpNbr, EmailFrequency, Priority, Source) "
         "VALUES (29, 1, 3, 1, 10);");
    Exec("INSERT INTO ALERT_TRANSACTION (AlertNbr, TransType, EventTimeStamp, "
         "EmpNbrGeneratedTrans, Tag1, Arg1, Tag2, Arg2) VALUES (29, 1, "
         "'2026/03/04 09:00:00', 2, 'JobId', '24-900', 'JobDescr', 'Gone');");
    Open();
    EXPECT_EQ(MemoLines().at(1), "2:05 PM 03-04-26: Beacon mill on");
    Window->RunAlertBatch(2, false);
    EXPECT_EQ(Scalar("SELECT DateGenerated FROM ALERT_HISTORY WHERE AlertNbr = 29").substr(0, 10),
              "2026/03/04");
}

// The log keeps its counter line on top and a bounded number of lines.
TEST_F(MainWindowReading, ResultsLogIsBounded) {
    Open();
    for (int i = 0; i < TMainFormWindow::MaxResultLines + 50; ++i)
        Window->LogLine(("entry " + std::to_string(i)).c_str());
    const std::vector<std::string> after = MemoLines();
    EXPECT_EQ(after.size(), std::size_t(TMainFormWindow::MaxResultLines));
    EXPECT_EQ(after.front(), "Generated alerts: 0, Emailed alerts: 0");
    EXPECT_EQ(after.back(), "2:05 PM 03/04/26: entry " +
                                std::to_string(TMainFormWindow::MaxResultLines + 49));
}

// "Clear Results" empties the debug grid.
TEST_F(MainWindowReading, ClearEmptiesTheDebugGrid) {
    DebugMode = true;
    Exec("INSERT INTO ALERT_SETTING (AlertId, EmpNbr, EmailFrequency, Priority, Source) "
         "VALUES (29, 1, 3, 1, 10);");
    Exec("INSERT INTO ALERT_TRANSACTION (AlertNbr, TransType, EventTimeStamp, "
         "EmpNbrGeneratedTrans, Tag1, Arg1, Tag2, Arg2) VALUES (29, 1, "
         "'2026/03/04 09:00:00', 2, 'JobId', '24-900', 'JobDescr', 'Gone');");
    Open();
    Window->RunAlertBatch(2, false);
    ASSERT_EQ(Window->gridOutput->GetGridRowCount(), 1);
    Window->btnClear->Click();
    EXPECT_EQ(Window->gridOutput->GetGridRowCount(), 0);
}

// "About..." shows the about box modally and frees it once it is closed;
// "Exit" closes the window.
TEST_F(MainWindowReading, AboutAndExit) {
    Open();
    const int components = Window->ComponentCount();
    bool shown = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* top : QApplication::topLevelWidgets())
            if (auto* form = dynamic_cast<TForm*>(TControl::FromWidget(top));
                form && form->ClassName() == "TAboutDlg" && form->Visible()) {
                shown = true;
                EXPECT_EQ(form->Owner(), Window);
                form->SetModalResult(mrOk);
            }
    });
    Window->mnuAbout->Click();
    EXPECT_TRUE(shown);
    EXPECT_EQ(Window->ComponentCount(), components);
    Window->mnuExit->Click();
    EXPECT_FALSE(Window->Visible());
    // Closing kept the placement in the registry.
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly("Software\\Pellworth\\Dornwick\\Beacon Mill"));
    TStringList names;
    registry.GetValueNames(&names);
    EXPECT_GT(names.Count(), 0);
}

// The operator's own mouse and keys on the shown window.
TEST_F(MainWindowReading, OperatorMouseAndKeys) {
    Open();
    // Near the left end, where a radio button's mark is.
    const auto click = [](QWidget* Widget) {
        ASSERT_NE(Widget, nullptr);
        const QPointF at(std::min(8, Widget->width() / 2), Widget->height() / 2.0);
        const QPointF global = Widget->mapToGlobal(at);
        QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(Widget, &press);
        QApplication::sendEvent(Widget, &release);
    };
    click(Window->lblOnOff->Widget());
    EXPECT_EQ(Window->lblOnOff->Caption(), "Off");
    EXPECT_EQ(Scalar("SELECT AlertsGenInd FROM DORNWICK_OPTIONS"), "0");

    QWidget* server = Window->eSMTPServer->Widget();
    server->setFocus();
    QKeyEvent end(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(server, &end);
    QKeyEvent x(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(server, &x);
    EXPECT_EQ(Window->eSMTPServer->Text(), "localhostx");
    EXPECT_TRUE(Window->btSaveSMTPSettings->Enabled());
    click(Window->btSaveSMTPSettings->Widget());
    EXPECT_EQ(Scalar("SELECT SMTPserver FROM DORNWICK_OPTIONS"), "localhostx");
    EXPECT_FALSE(Window->btSaveSMTPSettings->Enabled());

    QWidget* off = nullptr;
    for (QRadioButton* b : Window->rgEmailType->Widget()->findChildren<QRadioButton*>())
        if (b->text().remove('&') == "Off") off = b;
    click(off);
    EXPECT_EQ(Window->rgEmailType->ItemIndex(), 0);
    EXPECT_FALSE(Window->gbSMTP->Visible());
    EXPECT_EQ(Scalar("SELECT AlertsEmailType FROM DORNWICK_OPTIONS"), "0");

    TMessageBoxRecorder boxes;
    click(Window->btnRun->Widget());
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(boxes.Boxes[0].Text, "Check the daily alerts batch ahead of scheduled run time?");
}

} // namespace
