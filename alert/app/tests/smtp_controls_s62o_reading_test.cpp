// The operator's SMTP controls on the shown main window: the e-mail switch,
// the settings edits and "Save settings", the connection test against a
// real SMTP server, and "Clear Results".
#include "ProgramWindowTest.h"
#include "StoredOptions.h"
#include "platform/gui/tests/GuiTestSupport.h"
#include "alert/app/CommandLine.h"
#include "alert/app/MainFormMailer.h"
#include "alert/app/tests/ClosedPort.h"
#include "components/PellworthGrid.h"
#include "mail/MxSSLIOHandler.h"
#include "mail/tests/Certificates.h"
#include "mail/tests/Peer.h"
#include "mail/tests/SmtpPeer.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/TimerService.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"

#include <QApplication>
#include <QRadioButton>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class SmtpControlsFreshReading : public ProgramWindowTest {
protected:
    void Open(const std::string& Options = "") {
        if (!Options.empty()) Exec("UPDATE DORNWICK_OPTIONS SET " + Options);
        CreateShopDataModules(Owner);
        Window = new TMainFormWindow(Owner);
        auto Mailer = CreateMainFormMailer(*Window);
        // The test server's certificate comes from a private authority.
        Mailer->Transport().TlsHandler().SSLOptions()->RootCertFile =
            mailtest::Certificates::Get().CA().c_str();
        Window->SetMailer(std::move(Mailer));
        ShowActive(*Window);
        QApplication::processEvents();
        rgEmailType = Window->rgEmailType;
    }

    // A fresh database and window for the next case of a table.
    void Restart() {
        TearDown();
        Window = nullptr;
        SetUp();
    }

    std::string Stored(const std::string& Column) const { return StoredOption(DbFile, Column); }

    // The operator empties the edit and types the text.
    static void TypeInto(TEdit* Edit, const std::string& Text) {
        QWidget* W = Edit->Widget();
        W->setFocus();
        TypeKey(W, Qt::Key_A, QString(), Qt::ControlModifier);
        TypeKey(W, Qt::Key_Delete);
        TypeText(W, QString::fromStdString(Text));
    }

    static void Press(TControl* Control) {
        Click(Control);
        QApplication::processEvents();
    }

    void ClickEmailItem(const QString& Text) {
        for (QRadioButton* Button : rgEmailType->Widget()->findChildren<QRadioButton*>())
            if (Button->text().remove('&') == Text) {
                ClickAt(Button, QPoint(6, Button->height() / 2));
                QApplication::processEvents();
                return;
            }
        ADD_FAILURE() << "no item " << Text.toStdString();
    }

    TRadioGroup* rgEmailType = nullptr;
};

TEST_F(SmtpControlsFreshReading, ChoosingAnItemShowsOrHidesTheBoxAndStoresTheTypeAtOnce) {
    Open("AlertsEmailType = 0");
    EXPECT_FALSE(Window->gbSMTP->Visible());
    struct Case {
        QString Item;
        bool Shown;
        const char* Type;
    };
    for (const Case& C : {Case{"SMTP", true, "1"}, Case{"Off", false, "0"}, Case{"SMTP", true, "1"}}) {
        ClickEmailItem(C.Item);
        EXPECT_EQ(Window->gbSMTP->Visible(), C.Shown) << C.Item.toStdString();
        EXPECT_EQ(Stored("AlertsEmailType"), C.Type) << C.Item.toStdString();
        EXPECT_FALSE(Window->btSaveSMTPSettings->Enabled());
    }
}

TEST_F(SmtpControlsFreshReading, ArrowKeysInTheEmailChoiceSwitchItAsAClickDoes) {
    Open("AlertsEmailType = 0");
    QWidget* Focus = QApplication::focusWidget();
    ASSERT_TRUE(Focus && rgEmailType->Widget()->isAncestorOf(Focus));
    struct Step {
        Qt::Key Key;
        int Index; // the item chosen after it, round the ends
    };
    for (const Step& S : {Step{Qt::Key_Down, 1}, Step{Qt::Key_Up, 0}, Step{Qt::Key_Up, 1},
                          Step{Qt::Key_Right, 0}, Step{Qt::Key_Left, 1}}) {
        TypeKey(QApplication::focusWidget(), S.Key);
        QApplication::processEvents();
        EXPECT_EQ(rgEmailType->ItemIndex(), S.Index);
        EXPECT_EQ(Window->gbSMTP->Visible(), S.Index == 1);
        EXPECT_EQ(Stored("AlertsEmailType"), std::to_string(S.Index));
        EXPECT_EQ(QApplication::focusWidget()->property("text").toString().remove('&'),
                  S.Index == 1 ? "SMTP" : "Off");
    }
}

TEST_F(SmtpControlsFreshReading, TabLeavesTheEmailChoiceAsOneStop) {
    Open("AlertsEmailType = 1");
    QWidget* Focus = QApplication::focusWidget();
    ASSERT_TRUE(Focus && rgEmailType->Widget()->isAncestorOf(Focus));
    EXPECT_EQ(Focus->property("text").toString().remove('&'), "SMTP");
    TypeKey(Focus, Qt::Key_Tab);
    QApplication::processEvents();
    Focus = QApplication::focusWidget();
    ASSERT_NE(Focus, nullptr);
    EXPECT_FALSE(rgEmailType->Widget()->isAncestorOf(Focus)) << Focus->metaObject()->className();
    EXPECT_EQ(rgEmailType->ItemIndex(), 1);
}

TEST_F(SmtpControlsFreshReading, ATickLeavesUnsavedEditsAloneAndRefreshesSavedOnes) {
    ManualClock Time(EncodeDate(2026, 3, 4) + EncodeTime(14, 1, 0, 0));
    ScopedClock UseTime(Time);
    FakeTimerService Timers(&Time);
    ScopedTimerService UseTimers(Timers);
    struct CloseBeforeTimers {
        TMainFormWindow*& Window;
        ~CloseBeforeTimers() {
            delete Window;
            Window = nullptr;
        }
    } Close{Window};
    Open("AlertsGenInd = 0");
    TypeInto(Window->eSMTPServer, "typed");
    Exec("UPDATE DORNWICK_OPTIONS SET SMTPserver = 'elsewhere', SMTPport = 2626");
    Timers.Advance(60000);
    EXPECT_EQ(Window->eSMTPServer->Text(), "typed");
    EXPECT_EQ(Window->eSMTPPort->Text(), "2525");
    EXPECT_TRUE(Window->btSaveSMTPSettings->Enabled());
    Press(Window->btSaveSMTPSettings);
    Exec("UPDATE DORNWICK_OPTIONS SET SMTPserver = 'elsewhere', SMTPport = 2626");
    Timers.Advance(300000);
    EXPECT_EQ(Window->eSMTPServer->Text(), "elsewhere");
    EXPECT_EQ(Window->eSMTPPort->Text(), "2626");
    EXPECT_FALSE(Window->btSaveSMTPSettings->Enabled());
}

TEST_F(SmtpControlsFreshReading, EveryEditAndTheEncryptionChoiceEnableSaveWithoutStoring) {
    Open();
    const std::string Before = Stored("SMTPserver || '|' || SMTPport || '|' || SMTPaccount || '|' || "
                                      "SMTPpassword || '|' || SMTPencryption");
    std::vector<std::pair<const char*, std::function<void()>>> Changes{
        {"server", [&] { TypeInto(Window->eSMTPServer, "x"); }},
        {"port", [&] { TypeInto(Window->eSMTPPort, "26"); }},
        {"account", [&] { TypeInto(Window->eSMTPAccount, "y"); }},
        {"password", [&] { TypeInto(Window->eSMTPPassword, "z"); }},
        {"encryption", [&] {
             Window->cboSMTPEncrypt->Widget()->setFocus();
             TypeKey(Window->cboSMTPEncrypt->Widget(), Qt::Key_Down);
         }},
    };
    for (auto& [Name, Change] : Changes) {
        Window->btSaveSMTPSettings->SetEnabled(false);
        Change();
        QApplication::processEvents();
        EXPECT_TRUE(Window->btSaveSMTPSettings->Enabled()) << Name;
    }
    EXPECT_EQ(Window->cboSMTPEncrypt->ItemIndex(), 1);
    EXPECT_EQ(Stored("SMTPserver || '|' || SMTPport || '|' || SMTPaccount || '|' || SMTPpassword || "
                     "'|' || SMTPencryption"),
              Before);
}

TEST_F(SmtpControlsFreshReading, SaveStoresTrimmedSettingsWithTheUntrimmedPasswordAndDisablesItself) {
    struct Case {
        const char* Server;
        const char* Port;
        const char* Account;
        const char* Password;
        const char* Expected; // server|port|account|password|encryption|type
    };
    for (const Case& C : {
             Case{"  mail.example.com  ", " 587 ", "  me@example.com ", " pa ss ",
                  "mail.example.com|587|me@example.com| pa ss |2|1"},
             Case{"h", "", "a", "p", "h|25|a|p|2|1"},
             Case{"h", "abc", "a", "p", "h|25|a|p|2|1"},
             Case{"h", "2.5", "a", "p", "h|25|a|p|2|1"},
         }) {
        Restart();
        Open("AlertsEmailType = 1, SMTPencryption = 0");
            TypeInto(Window->eSMTPServer, C.Server);
        TypeInto(Window->eSMTPPort, C.Port);
        TypeInto(Window->eSMTPAccount, C.Account);
        TypeInto(Window->eSMTPPassword, C.Password);
        Window->cboSMTPEncrypt->Widget()->setFocus();
        TypeKey(Window->cboSMTPEncrypt->Widget(), Qt::Key_Down);
        TypeKey(Window->cboSMTPEncrypt->Widget(), Qt::Key_Down);
        ASSERT_TRUE(Window->btSaveSMTPSettings->Enabled());
        Press(Window->btSaveSMTPSettings);
        EXPECT_EQ(Stored("SMTPserver || '|' || SMTPport || '|' || SMTPaccount || '|' || SMTPpassword "
                         "|| '|' || SMTPencryption || '|' || AlertsEmailType"),
                  C.Expected)
            << C.Server << "/" << C.Port;
        EXPECT_FALSE(Window->btSaveSMTPSettings->Enabled());
    }
}

TEST_F(SmtpControlsFreshReading, ASaveOrSwitchTheDatabaseRefusesIsShownAndStoresNothing) {
    Open("AlertsEmailType = 0");
    TypeInto(Window->eSMTPServer, "other");
    Exec("CREATE TRIGGER NoSave BEFORE UPDATE ON DORNWICK_OPTIONS "
         "BEGIN SELECT RAISE(ABORT, 'options are locked'); END");
    TMessageBoxRecorder Boxes;
    Press(Window->btSaveSMTPSettings);
    ASSERT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_NE(Boxes.Boxes[0].Text.find("options are locked"), std::string::npos)
        << Boxes.Boxes[0].Text.c_str();
    EXPECT_TRUE(Window->btSaveSMTPSettings->Enabled());
    EXPECT_EQ(Stored("SMTPserver"), "localhost");

    ClickEmailItem("SMTP");
    ASSERT_EQ(Boxes.Boxes.size(), 2u);
    EXPECT_NE(Boxes.Boxes[1].Text.find("options are locked"), std::string::npos)
        << Boxes.Boxes[1].Text.c_str();
    EXPECT_EQ(Stored("AlertsEmailType"), "0");
}

void ExpectBox(const TMessageBoxRecorder& Boxes, const std::string& Text, const std::string& Caption,
               unsigned Icon) {
    ASSERT_EQ(Boxes.Boxes.size(), 1u);
    const TMessageBoxRequest& Box = Boxes.Boxes[0];
    EXPECT_EQ(std::string(Box.Text.c_str()).substr(0, Text.size()), Text) << Box.Text.c_str();
    EXPECT_EQ(Box.Caption, Caption.c_str());
    EXPECT_EQ(Box.Flags & MB_ICONMASK, Icon);
    EXPECT_TRUE(Box.Flags & MB_TOPMOST);
    EXPECT_EQ(MessageBoxButtons(Box.Flags), std::vector<int>{IDOK});
}

TEST_F(SmtpControlsFreshReading, ATestWithoutServerPortOrAccountAsksForThemAndConnectsNowhere) {
    for (const char* Blank : {"server", "port", "account"}) {
        Restart();
        Open();
            const std::string Before = Stored("SMTPserver || SMTPport || SMTPaccount");
        TypeInto(Window->eSMTPServer, std::string(Blank) == "server" ? "  " : "127.0.0.1");
        TypeInto(Window->eSMTPPort, std::string(Blank) == "port" ? " " : std::to_string(ClosedPort()));
        TypeInto(Window->eSMTPAccount, std::string(Blank) == "account" ? "\t" : "a");
        TMessageBoxRecorder Boxes;
        Press(Window->btTestConnection);
        ExpectBox(Boxes, "Need an entry for server, port, and account name.", "Error", MB_ICONWARNING);
        EXPECT_EQ(Boxes.Boxes[0].Text, "Need an entry for server, port, and account name.");
        EXPECT_FALSE(Window->SmtpSettingsComplete()) << Blank;
        EXPECT_EQ(Stored("SMTPserver || SMTPport || SMTPaccount"), Before);
    }
}

TEST_F(SmtpControlsFreshReading, TheTestLogsInWithTheTypedSettingsAndReportsTheOutcome) {
    const auto& Certs = mailtest::Certificates::Get();
    struct Case {
        const char* Mode;
        int Encryption;
        const char* Server;
        const char* Password;
        bool Works;
    };
    for (const Case& C : {
             Case{"plain", 0, " 127.0.0.1 ", "pa55word", true},
             Case{"implicit", 1, "127.0.0.1", "pa55word", true},
             Case{"starttls", 2, "127.0.0.1", "pa55word", true},
             // The password goes as typed: blanks around it are part of it.
             Case{"plain", 0, "127.0.0.1", " pa55word", false},
             Case{"plain", 0, "127.0.0.1", "wrong", false},
             // TLS from the first byte against a plain server.
             Case{"plain", 1, "127.0.0.1", "pa55word", false},
         }) {
        Restart();
        mailtest::SmtpPeer Server(C.Mode, Certs.LocalhostCert(), Certs.LocalhostKey());
        Open("SMTPencryption = " + std::to_string(C.Encryption));
            TypeInto(Window->eSMTPServer, C.Server);
        TypeInto(Window->eSMTPPort, " " + std::to_string(Server.Port()) + " ");
        TypeInto(Window->eSMTPAccount, " alerts ");
        TypeInto(Window->eSMTPPassword, C.Password);
        const std::string Before = Stored("SMTPserver || SMTPport || SMTPaccount || SMTPpassword");
        TMessageBoxRecorder Boxes;
        Press(Window->btTestConnection);
        if (C.Works)
            ExpectBox(Boxes, "Connection attempt successful", "Notice", MB_ICONINFORMATION);
        else
            ExpectBox(Boxes, "Could not connect to server: ", "Warning", MB_ICONINFORMATION);
        SCOPED_TRACE(std::string(C.Mode) + " " + C.Password);
        EXPECT_EQ(Stored("SMTPserver || SMTPport || SMTPaccount || SMTPpassword"), Before);
        EXPECT_TRUE(Window->btSaveSMTPSettings->Enabled());
    }
}

TEST_F(SmtpControlsFreshReading, ARefusedConnectionOrStartTlsIsReportedWithTheReason) {
    using namespace mailtest;
    // A server that will not switch to TLS: its reply is the reason shown,
    // and the client still says goodbye.
    ScriptedPeer Peer({Send("220 hello\r\n"), "recvline", Send("250 ok\r\n"), "recvline",
                       Send("454 TLS not available now\r\n"), "recvline", Send("221 bye\r\n")});
    Open("SMTPencryption = 2");
    TypeInto(Window->eSMTPServer, "127.0.0.1");
    TypeInto(Window->eSMTPPort, std::to_string(Peer.Port()));
    TypeInto(Window->eSMTPAccount, "alerts");
    TMessageBoxRecorder Boxes;
    Press(Window->btTestConnection);
    ExpectBox(Boxes, "Could not connect to server: ", "Warning", MB_ICONINFORMATION);
    EXPECT_NE(Boxes.Boxes[0].Text.find("TLS not available now"), std::string::npos)
        << Boxes.Boxes[0].Text.c_str();
    const std::vector<std::string> Lines = Peer.Finish();
    ASSERT_GE(Lines.size(), 3u);
    EXPECT_EQ(Lines[1], "LINE " + Hex("STARTTLS\r\n"));
    EXPECT_EQ(Lines[2], "LINE " + Hex("QUIT\r\n"));

    // A server that never greets: the test gives up and says so.
    ScriptedPeer Silent({"stall"});
    TypeInto(Window->eSMTPPort, std::to_string(Silent.Port()));
    Boxes.Boxes.clear();
    Press(Window->btTestConnection);
    ExpectBox(Boxes, "Could not connect to server: ", "Warning", MB_ICONINFORMATION);

    // Nobody listening at all.
    TypeInto(Window->eSMTPPort, std::to_string(ClosedPort()));
    Boxes.Boxes.clear();
    Press(Window->btTestConnection);
    ExpectBox(Boxes, "Could not connect to server: ", "Warning", MB_ICONINFORMATION);
    EXPECT_GT(Boxes.Boxes[0].Text.size(), std::string("Could not connect to server: ").size());
}

TEST_F(SmtpControlsFreshReading, APortOutOfRangeReachesNoServer) {
    const auto& Certs = mailtest::Certificates::Get();
    mailtest::SmtpPeer Server("plain", Certs.LocalhostCert(), Certs.LocalhostKey());
    Open("SMTPencryption = 0");
    TypeInto(Window->eSMTPServer, "127.0.0.1");
    TypeInto(Window->eSMTPAccount, "alerts");
    TypeInto(Window->eSMTPPassword, "pa55word");
    for (const int Port : {Server.Port() + 65536, Server.Port() - 65536, 0}) {
        TypeInto(Window->eSMTPPort, std::to_string(Port));
        TMessageBoxRecorder Boxes;
        Press(Window->btTestConnection);
        ASSERT_EQ(Boxes.Boxes.size(), 1u) << Port;
        EXPECT_EQ(Boxes.Boxes[0].Text.find("successful"), std::string::npos)
            << Port << ": " << Boxes.Boxes[0].Text.c_str();
    }
}

TEST_F(SmtpControlsFreshReading, APortThatIsNoNumberStopsTheTestBeforeConnecting) {
    Open();
    TypeInto(Window->eSMTPServer, "127.0.0.1");
    TypeInto(Window->eSMTPPort, "25x");
    TypeInto(Window->eSMTPAccount, "alerts");
    TMessageBoxRecorder Boxes;
    Press(Window->btTestConnection);
    ASSERT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_EQ(Boxes.Boxes[0].Text.find("Could not connect"), std::string::npos);
    EXPECT_NE(Boxes.Boxes[0].Text.find("25x"), std::string::npos) << Boxes.Boxes[0].Text.c_str();
}

TEST_F(SmtpControlsFreshReading, ClearResultsEmptiesTheGeneratedAlertsGrid) {
    DebugMode = true;
    Open();
    DebugMode = false;
    ASSERT_TRUE(Window->gbDebug->Visible());
    Window->gridOutput->SetGridRowCount(3);
    ASSERT_EQ(Window->gridOutput->GetGridRowCount(), 3);
    Press(Window->btnClear);
    EXPECT_EQ(Window->gridOutput->GetGridRowCount(), 0);
}

} // namespace
