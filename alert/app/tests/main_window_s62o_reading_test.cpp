// The main window as the operator meets it: what it shows from the options
// when it opens, the alerts link, the run-time picker and the menu.
#include "ProgramWindowTest.h"
#include "StoredOptions.h"
#include "platform/gui/tests/GuiTestSupport.h"
#include "alert/app/CommandLine.h"
#include "components/PellworthGrid.h"
#include "grid/model/Columns.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/TimerService.h"
#include "platform/registry/Registry.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/StringList.h"

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <string>

namespace {

// Closes the window while the timers it runs on are still there.
struct CloseBeforeTimers {
    TMainFormWindow*& Window;
    ~CloseBeforeTimers() {
        delete Window;
        Window = nullptr;
    }
};

class MainWindowFreshReading : public ProgramWindowTest {
protected:
    void Open(const std::string& Options = "", int DatePreference = 1) {
        if (!Options.empty()) Exec("UPDATE DORNWICK_OPTIONS SET " + Options);
        Exec("UPDATE WU_DFLTS SET DT_PREF = " + std::to_string(DatePreference));
        CreateShopDataModules(Owner);
        Window = new TMainFormWindow(Owner);
        ShowActive(*Window);
        QApplication::processEvents();
    }
    void Restart() {
        TearDown();
        Window = nullptr;
        SetUp();
    }
    std::string Stored(const std::string& Column) const { return StoredOption(DbFile, Column); }
    std::string Memo() const {
        std::string Text;
        TStrings* Lines = Window->memoResults->Lines();
        for (int i = 0; i < Lines->Count(); ++i) Text += std::string((*Lines)[i].c_str()) + "\n";
        return Text;
    }
    void ClickLink() {
        Click(Window->lblOnOff);
        QApplication::processEvents();
    }

    // 2026-03-04 14:07, so month-first and day-first dates differ.
    ManualClock Fixed{EncodeDate(2026, 3, 4) + EncodeTime(14, 7, 0, 0)};
    ScopedClock UseFixed{Fixed};
};

TEST_F(MainWindowFreshReading, TheWindowOpensWithItsCaptionSizeAndIdleControls) {
    Open();
    EXPECT_EQ(Window->Caption(), "Beacon Mill");
    EXPECT_EQ(Window->Width(), 750);
    EXPECT_EQ(Window->Height(), 515);
    EXPECT_EQ(Window->Constraints()->MinWidth(), 750);
    EXPECT_EQ(Window->Constraints()->MinHeight(), 515);
    EXPECT_EQ(Window->lblOnOff->Cursor(), crHandPoint);
    EXPECT_FALSE(Window->gbDebug->Visible());
    EXPECT_FALSE(Window->btSaveSMTPSettings->Enabled());
    EXPECT_TRUE(Window->TimerAutoRun->Enabled());
    EXPECT_EQ(Window->TimerAutoRun->Interval(), 60000u);
    EXPECT_EQ(Window->eSMTPPassword->Widget()->property("echoMode").toInt(), 2 /* Password */);
    ASSERT_EQ(Window->cboSMTPEncrypt->Items()->Count(), 3);
    EXPECT_EQ((*Window->cboSMTPEncrypt->Items())[2], "SSL/TLS");
    QWidget* Focus = QApplication::focusWidget();
    ASSERT_NE(Focus, nullptr);
    EXPECT_TRUE(Focus == Window->rgEmailType->Widget() ||
                Window->rgEmailType->Widget()->isAncestorOf(Focus));
}

TEST_F(MainWindowFreshReading, TheGeneratedAlertsGridStartsEmptyWithItsSixColumns) {
    Open();
    components::TPellworthGrid* Grid = Window->gridOutput;
    EXPECT_EQ(Grid->GetGridRowCount(), 0);
    ASSERT_EQ(Grid->GetGridColCount(), 6);
    EXPECT_TRUE(Grid->StoreData());
    const std::vector<std::pair<const char*, int>> Columns{
        {"HistoryString", 221}, {"Alert Id", 46},         {"Date Triggered", 148},
        {"Triggered By", 102},  {"Alert Recipient", 103}, {"Priority", 39}};
    for (int I = 0; I < 6; ++I) {
        const grid::TgxCol* Col = Grid->GridCols()->Item(I + 1);
        EXPECT_EQ(Col->Heading(), Columns[static_cast<std::size_t>(I)].first) << I;
        EXPECT_EQ(Col->Width(), Columns[static_cast<std::size_t>(I)].second) << I;
    }
}

TEST_F(MainWindowFreshReading, OpeningShowsTheAlertSwitchAndLogsOnlyWhenOn) {
    struct Case {
        const char* Options;
        int DatePreference;
        char Separator;
        const char* Caption;
        const char* Memo;
    };
    for (const Case& C : {
             Case{"AlertsGenInd = 0", 1, '/', "Off", "Generated alerts: 0, Emailed alerts: 0\n"},
             Case{"AlertsGenInd = 1", 1, '/', "On",
                  "Generated alerts: 0, Emailed alerts: 0\n2:07 PM 03/04/26: Beacon mill on\n"},
             Case{"AlertsGenInd = 7", 0, '/', "On",
                  "Generated alerts: 0, Emailed alerts: 0\n2:07 PM 04/03/26: Beacon mill on\n"},
             Case{"AlertsGenInd = 1", 0, '.', "On",
                  "Generated alerts: 0, Emailed alerts: 0\n2:07 PM 04.03.26: Beacon mill on\n"},
         }) {
        Restart();
        FormatSettings().DateSeparator = C.Separator;
        Open(C.Options, C.DatePreference);
        EXPECT_EQ(Window->lblOnOff->Caption(), C.Caption) << C.Options;
        EXPECT_EQ(Memo(), C.Memo) << C.Options;
    }
}

TEST_F(MainWindowFreshReading, TheSmtpControlsShowTheStoredSettings) {
    struct Case {
        const char* Options;
        const char* Server;
        const char* Port;
        const char* Account;
        const char* Password;
        int Encryption;
        bool Shown;
    };
    for (const Case& C : {
             Case{"SMTPserver = '', SMTPport = 0, SMTPaccount = '', SMTPpassword = '', "
                  "SMTPencryption = 0, AlertsEmailType = 0",
                  "", "0", "", "", 0, false},
             Case{"SMTPserver = 'mx', SMTPport = 465, SMTPaccount = 'me', SMTPpassword = ' p ', "
                  "SMTPencryption = 1, AlertsEmailType = 1",
                  "mx", "465", "me", " p ", 1, true},
             Case{"SMTPport = NULL, SMTPencryption = 2", "localhost", "0", "alerts@example.com",
                  "demo", 2, true},
         }) {
        Restart();
        Open(C.Options);
        EXPECT_EQ(Window->eSMTPServer->Text(), C.Server) << C.Options;
        EXPECT_EQ(Window->eSMTPPort->Text(), C.Port) << C.Options;
        EXPECT_EQ(Window->eSMTPAccount->Text(), C.Account) << C.Options;
        EXPECT_EQ(Window->eSMTPPassword->Text(), C.Password) << C.Options;
        EXPECT_EQ(Window->cboSMTPEncrypt->ItemIndex(), C.Encryption) << C.Options;
        EXPECT_EQ(Window->gbSMTP->Visible(), C.Shown) << C.Options;
        EXPECT_EQ(Window->rgEmailType->ItemIndex(), C.Shown ? 1 : 0) << C.Options;
        EXPECT_FALSE(Window->btSaveSMTPSettings->Enabled()) << C.Options;
    }
}

TEST_F(MainWindowFreshReading, ThePickerShowsTheStoredRunTimeOnA24HourClock) {
    struct Case {
        int Hour, Minute, AmPm;
        const char* Shown;
    };
    for (const Case& C : {Case{6, 0, 0, "06:00:00"}, Case{12, 30, 0, "00:30:00"},
                          Case{12, 0, 1, "12:00:00"}, Case{1, 5, 1, "13:05:00"},
                          Case{11, 59, 1, "23:59:00"}}) {
        Restart();
        Open("AlertsProcessHour = " + std::to_string(C.Hour) + ", AlertsProcessMin = " +
             std::to_string(C.Minute) + ", AlertsProcessAmPm = " + std::to_string(C.AmPm));
        EXPECT_EQ(std::string(FormatDateTime("hh:nn:ss", Window->dtpTargetTime->Time()).c_str()),
                  C.Shown);
    }
}

TEST_F(MainWindowFreshReading, TheLinkTurnsAlertsOffAndOnAndLogsEachTurn) {
    Open("AlertsGenInd = 1");
    ClickLink();
    EXPECT_EQ(Window->lblOnOff->Caption(), "Off");
    EXPECT_EQ(Stored("AlertsGenInd"), "0");
    ClickLink();
    EXPECT_EQ(Window->lblOnOff->Caption(), "On");
    EXPECT_EQ(Stored("AlertsGenInd"), "1");
    EXPECT_EQ(Memo(), "Generated alerts: 0, Emailed alerts: 0\n"
                      "2:07 PM 03/04/26: Beacon mill on\n"
                      "2:07 PM 03/04/26: Beacon mill turned off\n"
                      "2:07 PM 03/04/26: Beacon mill turned on\n");
    // The options the window holds wait for the next tick.
    EXPECT_EQ(Window->Options().AlertsGenInd, 1);
}

TEST_F(MainWindowFreshReading, ALinkClickTheDatabaseRefusesChangesNothingOnScreen) {
    Open("AlertsGenInd = 1");
    const std::string Before = Memo();
    Exec("CREATE TRIGGER NoSave BEFORE UPDATE ON DORNWICK_OPTIONS "
         "BEGIN SELECT RAISE(ABORT, 'options are locked'); END");
    TMessageBoxRecorder Boxes;
    ClickLink();
    ASSERT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_NE(Boxes.Boxes[0].Text.find("options are locked"), std::string::npos);
    EXPECT_EQ(Window->lblOnOff->Caption(), "On");
    EXPECT_EQ(Memo(), Before);
    EXPECT_EQ(Stored("AlertsGenInd"), "1");
}

TEST_F(MainWindowFreshReading, StepsOfThePickerStoreTheRunTimeOnA12HourClock) {
    Open("AlertsProcessHour = 6, AlertsProcessMin = 0, AlertsProcessAmPm = 0");
    QWidget* Picker = Window->dtpTargetTime->Widget();
    Picker->setFocus();
    struct Case {
        double Start; // the time set in code, which stores nothing
        Qt::Key Key;
        const char* Stored; // hour|minute|AM/PM
    };
    for (const Case& C : {
             Case{EncodeTime(1, 30, 0, 0), Qt::Key_Down, "12|30|0"},
             Case{EncodeTime(11, 0, 0, 0), Qt::Key_Up, "12|0|1"},
             Case{EncodeTime(12, 5, 0, 0), Qt::Key_Up, "1|5|1"},
             Case{EncodeTime(22, 45, 30, 0), Qt::Key_Up, "11|45|1"},
         }) {
        Window->dtpTargetTime->SetTime(C.Start);
        ASSERT_EQ(Stored("AlertsProcessHour || '|' || AlertsProcessMin || '|' || AlertsProcessAmPm"),
                  "6|0|0");
        Window->TimerAutoRun->SetInterval(12345);
        TypeKey(Picker, C.Key);
        QApplication::processEvents();
        EXPECT_EQ(Stored("AlertsProcessHour || '|' || AlertsProcessMin || '|' || AlertsProcessAmPm"),
                  C.Stored)
            << FormatDateTime("hh:nn:ss", Window->dtpTargetTime->Time()).c_str();
        EXPECT_EQ(Window->TimerAutoRun->Interval(), 60000u);
        Exec("UPDATE DORNWICK_OPTIONS SET AlertsProcessHour = 6, AlertsProcessMin = 0, "
             "AlertsProcessAmPm = 0");
    }
}

TEST_F(MainWindowFreshReading, ANewRunTimeBringsTheNextTickWithinAMinute) {
    FakeTimerService Timers(&Fixed);
    ScopedTimerService UseTimers(Timers);
    CloseBeforeTimers Close{Window};
    Open("AlertsGenInd = 0");
    // The first tick comes a minute after the window is shown.
    EXPECT_EQ(Timers.NextTickIn(), 60000);
    QWidget* Picker = Window->dtpTargetTime->Widget();
    Picker->setFocus();
    // A change while the interval is a minute already lets the countdown run.
    Timers.Advance(20000);
    TypeKey(Picker, Qt::Key_Up);
    EXPECT_EQ(Timers.NextTickIn(), 40000);
    // Off the minute (the tick keeps the timer to the five-minute grid), a
    // change starts a fresh minute.
    Window->TimerAutoRun->SetInterval(150000);
    Timers.Advance(1000);
    TypeKey(Picker, Qt::Key_Up);
    EXPECT_EQ(Window->TimerAutoRun->Interval(), 60000u);
    EXPECT_EQ(Timers.NextTickIn(), 60000);
}

TEST_F(MainWindowFreshReading, ARunTimeTheDatabaseRefusesLeavesTheTimerAlone) {
    Open("AlertsProcessHour = 6, AlertsProcessMin = 0, AlertsProcessAmPm = 0");
    Exec("CREATE TRIGGER NoSave BEFORE UPDATE ON DORNWICK_OPTIONS "
         "BEGIN SELECT RAISE(ABORT, 'options are locked'); END");
    Window->TimerAutoRun->SetInterval(12345);
    QWidget* Picker = Window->dtpTargetTime->Widget();
    Picker->setFocus();
    TMessageBoxRecorder Boxes;
    TypeKey(Picker, Qt::Key_Up);
    QApplication::processEvents();
    ASSERT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_NE(Boxes.Boxes[0].Text.find("options are locked"), std::string::npos);
    EXPECT_EQ(Window->TimerAutoRun->Interval(), 12345u);
    EXPECT_EQ(Stored("AlertsProcessHour || '|' || AlertsProcessMin || '|' || AlertsProcessAmPm"),
              "6|0|0");
}

TEST_F(MainWindowFreshReading, TheMenuShowsTheAboutBoxModallyAndExitCloses) {
    Open();
    QAction* About = nullptr;
    QAction* Exit = nullptr;
    for (QAction* Action : Window->Widget()->findChildren<QAction*>()) {
        if (Action->text().remove('&') == "About...") About = Action;
        if (Action->text().remove('&') == "Exit") Exit = Action;
    }
    ASSERT_NE(About, nullptr);
    ASSERT_NE(Exit, nullptr);
    bool SawModal = false;
    QTimer::singleShot(0, [&] {
        QWidget* Box = QApplication::activeModalWidget();
        SawModal = Box != nullptr && Box != Window->Widget();
        if (Box) Box->close();
    });
    About->trigger();
    EXPECT_TRUE(SawModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(Window->Visible());
    Exit->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(Window->Visible());
}

TEST_F(MainWindowFreshReading, TheCloseBoxClosesTheWindowAndKeepsItsPlacement) {
    const auto Placement = [] {
        TRegistry Registry;
        TStringList Names;
        if (Registry.OpenKeyReadOnly("\\Software\\Pellworth\\Dornwick\\Beacon Mill"))
            Registry.GetValueNames(&Names);
        return Names.Count();
    };
    Open();
    ASSERT_EQ(Placement(), 0);
    Window->SetBounds(40, 30, 800, 560);
    QApplication::processEvents();
    Window->Widget()->close();
    QApplication::processEvents();
    EXPECT_FALSE(Window->Visible());
    EXPECT_GT(Placement(), 0);
}

} // namespace
