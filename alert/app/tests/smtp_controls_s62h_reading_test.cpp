// The SMTP controls of the main window: the e-mail choice, saving what was
// typed, and the operator's connection test against a real SMTP server.
#include "ProgramWindowTest.h"
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

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

namespace {

const mailtest::Certificates& Certs() { return mailtest::Certificates::Get(); }

class SmtpControlsReading : public ProgramWindowTest {
protected:
    void SetUp() override {
        ProgramWindowTest::SetUp();
        Exec("DELETE FROM ALERT_TRANSACTION;");
        CreateShopDataModules(Owner);
        Window = new TMainFormWindow(Owner);
        auto mailer = CreateMainFormMailer(*Window);
        mailer->Transport().TlsHandler().SSLOptions()->RootCertFile = Certs().CA().c_str();
        Window->SetMailer(std::move(mailer));
        Window->Show();
    }

    std::string Options(const std::string& Columns) const {
        sqlite3* db = nullptr;
        sqlite3_open(DbFile.string().c_str(), &db);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, ("SELECT " + Columns + " FROM DORNWICK_OPTIONS").c_str(), -1, &st,
                           nullptr);
        std::string value;
        if (sqlite3_step(st) == SQLITE_ROW && sqlite3_column_text(st, 0))
            value = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        sqlite3_finalize(st);
        sqlite3_close(db);
        return value;
    }

    void Fill(const char* Server, const char* Port, const char* Account, const char* Password,
              int Encryption) {
        Window->eSMTPServer->SetText(Server);
        Window->eSMTPPort->SetText(Port);
        Window->eSMTPAccount->SetText(Account);
        Window->eSMTPPassword->SetText(Password);
        Window->cboSMTPEncrypt->SetItemIndex(Encryption);
    }

    static const char* const Stored;
};

const char* const SmtpControlsReading::Stored =
    "SMTPserver || '|' || SMTPencryption || '|' || SMTPport || '|' || SMTPaccount || '|' || "
    "SMTPpassword || '|' || AlertsEmailType";

// Choosing "Off" or "SMTP" shows or hides the SMTP box and is stored at once.
TEST_F(SmtpControlsReading, EmailChoiceIsStoredAtOnce) {
    Window->rgEmailType->SetItemIndex(0);
    EXPECT_FALSE(Window->gbSMTP->Visible());
    EXPECT_EQ(Options("AlertsEmailType"), "0");
    EXPECT_FALSE(Window->btSaveSMTPSettings->Enabled());
    Window->rgEmailType->SetItemIndex(1);
    EXPECT_TRUE(Window->gbSMTP->Visible());
    EXPECT_EQ(Options("AlertsEmailType"), "1");
}

// Any edit, and the operator's change of the encryption choice, enables
// "Save settings" and stores nothing; the save stores what was typed.
TEST_F(SmtpControlsReading, EditsWaitForSave) {
    const std::string before = Options(Stored);
    QWidget* combo = Window->cboSMTPEncrypt->Widget();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(combo, &down);
    EXPECT_EQ(Window->cboSMTPEncrypt->ItemIndex(), 1);
    EXPECT_TRUE(Window->btSaveSMTPSettings->Enabled());
    EXPECT_EQ(Options(Stored), before);

    struct Case {
        const char *Server, *Port, *Account, *Password;
        int Encryption;
        const char* Saved;
    };
    for (const Case& c :
         {Case{"  mail.example.com ", " 587 ", " me@example.com ", " pw with blanks ", 2,
               "mail.example.com|2|587|me@example.com| pw with blanks |1"},
          Case{"mail.example.com", "", "me", "pw", 0, "mail.example.com|0|25|me|pw|1"},
          Case{"mail.example.com", "25x", "me", "pw", 1, "mail.example.com|1|25|me|pw|1"}}) {
        SCOPED_TRACE(c.Saved);
        Fill(c.Server, c.Port, c.Account, c.Password, c.Encryption);
        EXPECT_TRUE(Window->btSaveSMTPSettings->Enabled());
        Window->btSaveSMTPSettings->Click();
        EXPECT_EQ(Options(Stored), c.Saved);
        EXPECT_FALSE(Window->btSaveSMTPSettings->Enabled());
    }
}

// The connection test: its box by the outcome, and the options row left
// alone.
TEST_F(SmtpControlsReading, ConnectionTest) {
    mailtest::SmtpPeer plain("plain", Certs().LocalhostCert(), Certs().LocalhostKey());
    mailtest::SmtpPeer starttls("starttls", Certs().LocalhostCert(), Certs().LocalhostKey());
    const std::string plainPort = std::to_string(plain.Port());
    const std::string tlsPort = std::to_string(starttls.Port());
    const std::string closedPort = std::to_string(ClosedPort());
    struct Case {
        const char* Name;
        const char *Server, *Port, *Account, *Password;
        int Encryption;
        const char* Text; // the start of the box's text
        const char* Caption;
        unsigned Icon;
    };
    const std::vector<Case> cases = {
        {"plain", "localhost", plainPort.c_str(), "alerts", "pa55word", 0,
         "Connection attempt successful", "Notice", MB_ICONINFORMATION},
        {"starttls", " localhost ", tlsPort.c_str(), " alerts ", "pa55word", 2,
         "Connection attempt successful", "Notice", MB_ICONINFORMATION},
        {"no server", "", plainPort.c_str(), "alerts", "pa55word", 0,
         "Need an entry for server, port, and account name.", "Error", MB_ICONWARNING},
        {"blank port", "localhost", "  ", "alerts", "pa55word", 0,
         "Need an entry for server, port, and account name.", "Error", MB_ICONWARNING},
        {"no account", "localhost", plainPort.c_str(), " ", "pa55word", 0,
         "Need an entry for server, port, and account name.", "Error", MB_ICONWARNING},
        {"refused connection", "127.0.0.1", closedPort.c_str(), "alerts", "pa55word", 0,
         "Could not connect to server: ", "Warning", MB_ICONINFORMATION},
        {"no starttls offered", "localhost", plainPort.c_str(), "alerts", "pa55word", 2,
         "Could not connect to server: ", "Warning", MB_ICONINFORMATION},
        {"wrong password", "localhost", plainPort.c_str(), "alerts", "wrong", 0,
         "Could not connect to server: ", "Warning", MB_ICONINFORMATION},
        {"password with blanks", "localhost", plainPort.c_str(), "alerts", " pa55word", 0,
         "Could not connect to server: ", "Warning", MB_ICONINFORMATION},
    };
    const std::string before = Options(Stored);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Fill(c.Server, c.Port, c.Account, c.Password, c.Encryption);
        TMessageBoxRecorder boxes;
        Window->btTestConnection->Click();
        ASSERT_EQ(boxes.Boxes.size(), 1u);
        EXPECT_EQ(std::string(boxes.Boxes[0].Text.c_str()).rfind(c.Text, 0), 0u)
            << boxes.Boxes[0].Text.c_str();
        EXPECT_EQ(boxes.Boxes[0].Caption, c.Caption);
        EXPECT_EQ(boxes.Boxes[0].Flags & (MB_ICONWARNING | MB_ICONINFORMATION | MB_TOPMOST),
                  c.Icon | MB_TOPMOST);
    }
    EXPECT_EQ(Options(Stored), before);
}

// With no encryption chosen the transport stays as the last connection
// left it.
TEST_F(SmtpControlsReading, NoEncryptionChosenKeepsTheLastTransport) {
    mailtest::SmtpPeer implicit("implicit", Certs().LocalhostCert(), Certs().LocalhostKey());
    for (int choice : {1, -1}) {
        SCOPED_TRACE(choice);
        Fill("localhost", std::to_string(implicit.Port()).c_str(), "alerts", "pa55word", choice);
        TMessageBoxRecorder boxes;
        Window->btTestConnection->Click();
        ASSERT_EQ(boxes.Boxes.size(), 1u);
        EXPECT_EQ(boxes.Boxes[0].Text, "Connection attempt successful");
    }
}

// Servers that misbehave while the connection is made: each ends in the
// "Could not connect" box, none hangs the window.
TEST_F(SmtpControlsReading, MisbehavingServers) {
    using namespace mailtest;
    struct Case {
        const char* Name;
        std::vector<std::string> Steps;
        int Encryption;
    };
    const std::string ehloReply = "250-localhost\r\n250-STARTTLS\r\n250 AUTH LOGIN\r\n";
    const std::vector<Case> cases = {
        {"no greeting", {"stall"}, 0},
        {"refusing greeting", {Send("554 go away\r\n"), "recvline", "stall"}, 0},
        {"STARTTLS then no handshake",
         {Send("220 hi\r\n"), "recvline", Send(ehloReply), "recvline", Send("220 go\r\n"),
          "stall"},
         2},
        {"endless reply line", {Send("220 " + std::string(60000, 'x')), "stall"}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ScriptedPeer peer(c.Steps);
        Fill("127.0.0.1", std::to_string(peer.Port()).c_str(), "alerts", "pa55word",
             c.Encryption);
        TMessageBoxRecorder boxes;
        Window->btTestConnection->Click();
        ASSERT_EQ(boxes.Boxes.size(), 1u);
        EXPECT_EQ(std::string(boxes.Boxes[0].Text.c_str()).rfind("Could not connect to server: ", 0),
                  0u)
            << boxes.Boxes[0].Text.c_str();
    }
}

// A server that takes mail without a login (a relay on the local network):
// the test asks it for one anyway, reports its refusal, and still says QUIT.
TEST_F(SmtpControlsReading, ServerWithoutLogin) {
    using namespace mailtest;
    ScriptedPeer peer({Send("220 relay\r\n"), "recvline", Send("250 relay\r\n"), "recvline",
                       Send("502 5.5.1 Command not implemented\r\n"), "recvline",
                       Send("221 bye\r\n")});
    Fill("127.0.0.1", std::to_string(peer.Port()).c_str(), "alerts", "pa55word", 0);
    TMessageBoxRecorder boxes;
    Window->btTestConnection->Click();
    ASSERT_EQ(boxes.Boxes.size(), 1u);
    EXPECT_EQ(std::string(boxes.Boxes[0].Text.c_str())
                  .rfind("Could not connect to server: 5.5.1 Command not implemented", 0),
              0u);
    const std::vector<std::string> lines = peer.Finish();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], "LINE " + Hex("AUTH LOGIN\r\n"));
    EXPECT_EQ(lines[2], "LINE " + Hex("QUIT\r\n"));
}

// A save the database refuses leaves "Save settings" enabled, the edits
// still pending.
TEST_F(SmtpControlsReading, FailedSaveStaysPending) {
    Fill("mail.example.com", "25", "me", "pw", 0);
    Exec("DROP TABLE DORNWICK_OPTIONS;");
    TMessageBoxRecorder boxes;
    try {
        Window->btSaveSMTPSettings->Click();
    } catch (const Exception&) {
    }
    EXPECT_TRUE(Window->btSaveSMTPSettings->Enabled());
}

// A port that is no number stops the test before any connection.
TEST_F(SmtpControlsReading, ConnectionTestWithPortNoNumber) {
    Fill("localhost", "25x", "alerts", "pa55word", 0);
    TMessageBoxRecorder boxes;
    const std::string message = MessageOf<Exception>([this] { Window->btTestConnection->Click(); });
    EXPECT_NE(message.find("25x"), std::string::npos) << message;
}

} // namespace
