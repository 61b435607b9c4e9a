// The main window e-mailing through its SMTP mailer: batches against a real
// SMTP server on loopback with the demo database, what stays due after a
// failed run, and the "Test connection" button.
#include "ProgramWindowTest.h"
#include "alert/app/MainFormMailer.h"
#include "alert/app/MainFormWindow.h"
#include "alert/app/ServedLastStore.h"
#include "alert/app/tests/ClosedPort.h"
#include "alert/store/MainDmod.h"
#include "mail/MxSMTP.h"
#include "mail/MxSSLIOHandler.h"
#include "mail/tests/Certificates.h"
#include "mail/tests/Peer.h"
#include "mail/tests/SmtpPeer.h"
#include "platform/data/testing/ShopDbTest.h"
#include "platform/gui/Dialogs.h"
#include "platform/registry/Registry.h"
#include "platform/rtl/StringList.h"
#include "platform/gui/StdCtrls.h"
#include "platform/gui/TimerService.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/DateTimeFormat.h"
#include "platform/rtl/FormatSettings.h"

#include "platform/sys/KernelNames.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>
#include <sstream>

namespace {

using mailtest::Certificates;

bool Holds(const std::vector<std::string>& Lines, const std::string& Text) {
    for (const std::string& Line : Lines)
        if (Line.find(Text) != std::string::npos) return true;
    return false;
}

class EmailWindowTest : public ProgramWindowTest {
protected:
    void SetUp() override {
        ProgramWindowTest::SetUp();
        // Only the alerts a test puts in are due.
        Exec("delete from ALERT_TRANSACTION; delete from ALERT_HISTORY;");
    }

    void Open() {
        CreateShopDataModules(Owner);
        Window = new TMainFormWindow(Owner);
        std::unique_ptr<SmtpAlertMailer> Made = CreateMainFormMailer(*Window);
        Mailer = Made.get();
        Mailer->Transport().TlsHandler().SSLOptions()->RootCertFile = Certificates::Get().CA();
        Mailer->Transport().Smtp().ReadTimeout = 5000;
        Mailer->Transport().Smtp().HeloName = "client.test";
        Window->SetMailer(std::move(Made));
        Window->Show();
    }

    void UseServer(const AnsiString& Port, int Encryption = 0,
                   const AnsiString& Password = "pa55word") {
        Window->eSMTPServer->SetText("localhost");
        Window->eSMTPPort->SetText(Port);
        Window->eSMTPAccount->SetText("alerts");
        Window->eSMTPPassword->SetText(Password);
        Window->cboSMTPEncrypt->SetItemIndex(Encryption);
    }

    // An alert of the e-mail frequency code for the demo's employee
    // (1 Maria Garcia, 3 Priya Shah).
    void AddDue(int Recipient, int Code, const std::string& Text) {
        Exec("insert into ALERT_HISTORY (AlertNbr, AlertRecipientNbr, DateGenerated, Priority, "
             "Descr, SendEmail) values (31, " +
             std::to_string(Recipient) + ", '" +
             FormatDateTime("yyyy/mm/dd hh:nn:ss", Clock.Now()) + "', 1, '" + Text + "', " +
             std::to_string(Code) + ");");
    }

    // The e-mail codes of the alerts, in the order they were added.
    std::string Codes() const {
        sqlite3* Db = nullptr;
        sqlite3_open(DbFile.c_str(), &Db);
        sqlite3_stmt* Stmt = nullptr;
        std::string Result;
        sqlite3_prepare_v2(Db, "select SendEmail from ALERT_HISTORY order by rowid", -1, &Stmt,
                           nullptr);
        while (sqlite3_step(Stmt) == SQLITE_ROW)
            Result += (Result.empty() ? "" : ",") + std::to_string(sqlite3_column_int(Stmt, 0));
        sqlite3_finalize(Stmt);
        sqlite3_close(Db);
        return Result;
    }

    // Maria's address makes the test server close the connection; Tom and
    // Priya are served normally. All three are due hourly.
    void DueForMariaWhoseMessageClosesTheConnection() {
        Exec("update EMPLOYEE set AlertEmail = 'closing-maria@example.com' where EmpNbr = 1;"
             "update EMPLOYEE set AlertEmail = 'tom@example.com' where EmpNbr = 2;");
        AddDue(1, 3, "Maria hourly");
        AddDue(2, 3, "Tom hourly");
        AddDue(3, 3, "Priya hourly");
    }

    // The run after Maria closed the connection serves Tom and then Priya
    // and leaves Maria due.
    void ExpectTomAndPriyaServedFirst(mailtest::SmtpPeer& Server) {
        const std::vector<mailtest::ReceivedMessage> Got = Server.Messages(2);
        ASSERT_EQ(Got.size(), 2u);
        EXPECT_EQ(Got[0].Recipients, std::vector<std::string>{"tom@example.com"});
        EXPECT_EQ(Got[1].Recipients, std::vector<std::string>{"priya.shah@example.com"});
        EXPECT_EQ(Codes(), "3,0,0");
    }

    std::string MemoText() const { return Window->memoResults->Lines()->Text(); }
    std::vector<AnsiString> LogLines() const {
        std::vector<AnsiString> Lines;
        for (int I = 0; I < Window->memoResults->Lines()->Count(); ++I)
            Lines.push_back(Window->memoResults->Lines()->Strings(I));
        return Lines;
    }

    ManualClock Clock{static_cast<double>(static_cast<int>(SystemClock().Now())) +
                      EncodeTime(10, 0, 0, 0)};
    ScopedClock ClockScope{Clock};
    FakeTimerService Timers{&Clock};
    ScopedTimerService TimerScope{Timers};
    TMessageBoxRecorder Boxes;
    SmtpAlertMailer* Mailer = nullptr;
};

TEST_F(EmailWindowTest, AFailedRunLeavesItsAlertsForTheNextRunOfTheirClass) {
    Open();
    AddDue(1, 3, "Maria hourly");
    AddDue(3, 5, "Priya quarter-hourly");
    AddDue(3, 3, "Priya hourly");
    // An alert without a recipient can be mailed to nobody: a run of its
    // class that kept others due is done with it all the same.
    AddDue(6, 3, "Sam has no address");
    Exec("update ALERT_HISTORY set AlertRecipientNbr = NULL where Descr = 'Sam has no address'");

    // A port that is no number, then a server that is not there.
    UseServer("x25");
    Window->RunAlertBatch(3, false);
    EXPECT_EQ(Codes(), "3,5,3,3");
    EXPECT_NE(MemoText().find("x25"), std::string::npos) << MemoText();
    UseServer(std::to_string(ClosedPort()));
    Window->RunAlertBatch(3, false);
    EXPECT_EQ(Codes(), "3,5,3,0");
    EXPECT_NE(MemoText().find("\nUnable to send email to maria.garcia@example.com"),
              std::string::npos)
        << MemoText();
    EXPECT_EQ(Window->EmailedCount(), 0);
    EXPECT_EQ(Window->memoResults->Lines()->Strings(0), "Generated alerts: 0, Emailed alerts: 0");

    const Certificates& Files = Certificates::Get();
    mailtest::SmtpPeer Server("plain", Files.LocalhostCert(), Files.LocalhostKey());
    UseServer(std::to_string(Server.Port()));
    Window->RunAlertBatch(5, false); // the quarter-hourly alert alone
    std::vector<mailtest::ReceivedMessage> Got = Server.Messages(1);
    ASSERT_EQ(Got.size(), 1u);
    EXPECT_EQ(Got[0].Recipients, std::vector<std::string>{"priya.shah@example.com"});
    EXPECT_TRUE(Holds(Got[0].Lines, "Priya quarter-hourly"));
    EXPECT_FALSE(Holds(Got[0].Lines, "Priya hourly"));
    EXPECT_EQ(Codes(), "3,0,3,0");

    Window->RunAlertBatch(3, false); // the hourly ones, still due
    Got = Server.Messages(2);
    ASSERT_EQ(Got.size(), 2u);
    EXPECT_EQ(Got[0].Recipients, std::vector<std::string>{"maria.garcia@example.com"});
    EXPECT_TRUE(Holds(Got[0].Lines, "Maria hourly"));
    EXPECT_EQ(Got[1].Recipients, std::vector<std::string>{"priya.shah@example.com"});
    EXPECT_TRUE(Holds(Got[1].Lines, "Priya hourly"));
    EXPECT_EQ(Codes(), "0,0,0,0");
    EXPECT_EQ(Window->EmailedCount(), 2);

    // Sent alerts are not sent again: the next message holds the new alert
    // only, and it is the first the server sees.
    AddDue(3, 3, "Priya later");
    Window->RunAlertBatch(3, false);
    Got = Server.Messages(1);
    ASSERT_EQ(Got.size(), 1u);
    EXPECT_EQ(Got[0].Recipients, std::vector<std::string>{"priya.shah@example.com"});
    EXPECT_TRUE(Holds(Got[0].Lines, "Priya later"));
    EXPECT_FALSE(Holds(Got[0].Lines, "Priya hourly"));
    EXPECT_EQ(Codes(), "0,0,0,0,0");
    EXPECT_EQ(Window->memoResults->Lines()->Strings(0), "Generated alerts: 0, Emailed alerts: 3");
    EXPECT_TRUE(Boxes.Boxes.empty());
}

TEST_F(EmailWindowTest, ARefusedRecipientStaysDueWhileTheOthersAreSent) {
    Open();
    Exec("update EMPLOYEE set AlertEmail = 'refused-tom@example.com' where EmpNbr = 2");
    AddDue(1, 3, "Maria hourly");
    AddDue(2, 3, "Tom hourly");
    AddDue(3, 3, "Priya hourly");
    const Certificates& Files = Certificates::Get();
    mailtest::SmtpPeer Server("plain", Files.LocalhostCert(), Files.LocalhostKey());
    UseServer(std::to_string(Server.Port()));
    Window->RunAlertBatch(3, false);
    const std::vector<mailtest::ReceivedMessage> Got = Server.Messages(2);
    ASSERT_EQ(Got.size(), 2u);
    EXPECT_EQ(Got[0].Recipients, std::vector<std::string>{"maria.garcia@example.com"});
    EXPECT_EQ(Got[1].Recipients, std::vector<std::string>{"priya.shah@example.com"});
    EXPECT_EQ(Codes(), "0,3,0");
    // The next run tries Tom again, and him alone.
    Window->RunAlertBatch(3, false);
    EXPECT_EQ(Codes(), "0,3,0");
    // One line a refusal, naming the address, the employee and the reply.
    const std::string Memo = MemoText();
    std::size_t Lines = 0;
    for (std::size_t At = Memo.find("Unable to send email to refused-tom@example.com (employee 2)");
         At != std::string::npos; At = Memo.find("Unable to send email to", At + 1))
        ++Lines;
    EXPECT_EQ(Lines, 2u) << Memo;
    EXPECT_NE(Memo.find("550 5.1.1 <refused-tom@example.com>: no such mailbox"), std::string::npos)
        << Memo;
}

// A 421 to one recipient ends the run at the connection level; the log
// names the connection with the server's reply and everybody still due.
// That recipient goes last in the next run, so the others are served then.
TEST_F(EmailWindowTest, ARecipientWhoseMessageEndsTheRunGoesLastInTheNext) {
    Open();
    DueForMariaWhoseMessageClosesTheConnection();
    const Certificates& Files = Certificates::Get();
    mailtest::SmtpPeer Server("plain", Files.LocalhostCert(), Files.LocalhostKey());
    UseServer(std::to_string(Server.Port()));
    const std::string Connection =
        "Connection to the SMTP server localhost:" + std::to_string(Server.Port()) +
        " failed: 421 4.7.0 <closing-maria@example.com>: too many errors, closing the connection"
        "\r\nUnable to send email to closing-maria@example.com (employee 1)";

    Window->RunAlertBatch(3, false);
    EXPECT_EQ(Codes(), "3,3,3");
    EXPECT_NE(MemoText().find(Connection + ", tom@example.com (employee 2), "
                                           "priya.shah@example.com (employee 3)\r\n"),
              std::string::npos)
        << MemoText();

    Window->RunAlertBatch(3, false);
    ExpectTomAndPriyaServedFirst(Server);
    EXPECT_NE(MemoText().find(Connection + "\r\n"), std::string::npos) << MemoText();
    EXPECT_EQ(Window->EmailedCount(), 0);
}

// The order that puts such a recipient last outlives the program: after a
// restart between two runs, the others are still served first.
TEST_F(EmailWindowTest, ARecipientWhoseMessageEndsTheRunStaysLastAfterARestart) {
    Open();
    DueForMariaWhoseMessageClosesTheConnection();
    const Certificates& Files = Certificates::Get();
    mailtest::SmtpPeer Server("plain", Files.LocalhostCert(), Files.LocalhostKey());
    UseServer(std::to_string(Server.Port()));
    Window->RunAlertBatch(3, false);
    EXPECT_EQ(Codes(), "3,3,3");

    // A new window and mailer, as a new start of the program makes them.
    delete Window;
    Window = new TMainFormWindow(Owner);
    Window->SetMailer(CreateMainFormMailer(*Window));
    Window->Show();
    UseServer(std::to_string(Server.Port()));
    Window->RunAlertBatch(3, false);
    ExpectTomAndPriyaServedFirst(Server);

    // Once she is served, she leaves the order, also in the store.
    Exec("update EMPLOYEE set AlertEmail = 'maria.garcia@example.com' where EmpNbr = 1;");
    Window->RunAlertBatch(3, false);
    EXPECT_EQ(Codes(), "0,0,0");
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey(ServedLastStore::Key, false));
    TStringList Names;
    Reg.GetValueNames(&Names);
    EXPECT_EQ(Names.Count(), 0) << Names.Text();
}

// Addresses come from the database: a line break or a TAB in one is shown
// escaped, and never starts a log line of its own.
TEST_F(EmailWindowTest, AnAddressCannotForgeALogLine) {
    Open();
    Exec("update EMPLOYEE set AlertEmail = 'refused-tom@example.com' || char(13) || char(10) || "
         "'Bcc:' || char(9) || 'evil@example.com' where EmpNbr = 2;");
    AddDue(1, 3, "Maria hourly");
    AddDue(2, 3, "Tom hourly");
    const Certificates& Files = Certificates::Get();
    mailtest::SmtpPeer Server("plain", Files.LocalhostCert(), Files.LocalhostKey());
    UseServer(std::to_string(Server.Port()));
    Window->RunAlertBatch(3, false);
    const std::string Memo = MemoText();
    EXPECT_NE(Memo.find("refused-tom@example.com\\r\\nBcc:\\tevil@example.com (employee 2)"),
              std::string::npos)
        << Memo;
    for (const AnsiString& Line : LogLines()) {
        EXPECT_EQ(Line.find('\t'), AnsiString::npos) << Line;
        EXPECT_NE(Line.rfind("Bcc:", 0), 0u) << Line;
    }
}

// The Unicode line and block breaks, and NEL: the window's text document,
// a terminal or a file viewer would start a line at each. Whether in an
// address from the database or in the text of a 550 or a 421 from the
// server, every one is shown escaped and none starts a log line.
TEST_F(EmailWindowTest, NoUnicodeBreakCanForgeALogLine) {
    Open();
    Exec("update EMPLOYEE set AlertEmail = 'tom@example.com' where EmpNbr = 2;");
    const std::pair<const char*, const char*> Breaks[] = {
        {"\xE2\x80\xA9", "\\u2029"}, {"\xE2\x80\xA8", "\\u2028"}, {"\xC2\x85", "\\u0085"},
        {"\xEF\xB7\x90", "\\uFDD0"}, {"\xEF\xB7\x91", "\\uFDD1"},
    };
    const auto RunWith = [this](const std::string& Address, const AnsiString& Port) {
        Exec("delete from ALERT_HISTORY;"
             "update EMPLOYEE set AlertEmail = '" +
             Address + "' where EmpNbr = 2;");
        AddDue(2, 3, "Tom hourly");
        UseServer(Port);
        Window->RunAlertBatch(3, false);
    };
    const auto ExpectNoForgedLine = [this, &Breaks](const std::string& Shown) {
        EXPECT_NE(MemoText().find(Shown), std::string::npos) << MemoText();
        const std::vector<AnsiString> Lines = LogLines();
        EXPECT_GE(Lines.size(), 2u);
        for (const AnsiString& Line : Lines) {
            EXPECT_NE(Line.rfind("Beacon mill turned off", 0), 0u) << Line;
            for (const auto& Break : Breaks)
                EXPECT_EQ(Line.find(Break.first), AnsiString::npos) << Line;
        }
        std::istringstream Plain(MemoText());
        for (std::string Line; std::getline(Plain, Line);)
            EXPECT_NE(Line.rfind("Beacon mill turned off", 0), 0u) << Line;
    };
    const Certificates& Files = Certificates::Get();
    mailtest::SmtpPeer Server("plain", Files.LocalhostCert(), Files.LocalhostKey());
    for (const auto& [Break, Shown] : Breaks) {
        SCOPED_TRACE(Shown);
        RunWith(std::string("refused@example.com") + Break + "Beacon mill turned off",
                std::to_string(Server.Port()));
        ExpectNoForgedLine(std::string("refused@example.com") + Shown +
                           "Beacon mill turned off (employee 2)");
    }
    // One reply with every break in it, each before the forged text.
    std::string Reply = " no such mailbox", Shown = Reply;
    for (const auto& Break : Breaks) {
        Reply += Break.first + std::string("Beacon mill turned off");
        Shown += Break.second + std::string("Beacon mill turned off");
    }
    for (const char* Code : {"550", "421"}) {
        SCOPED_TRACE(Code);
        // EHLO, RSET, MAIL FROM, RCPT TO (the reply), then RSET or QUIT.
        mailtest::ScriptedPeer Peer(
            {mailtest::Send("220 mx.test ready\r\n"), "recvline", mailtest::Send("250 mx.test\r\n"),
             "recvline", mailtest::Send("250 OK\r\n"), "recvline", mailtest::Send("250 OK\r\n"),
             "recvline", mailtest::Send(Code + Reply + "\r\n"), "recvline",
             mailtest::Send("250 OK\r\n"), "recvline", mailtest::Send("221 bye\r\n")});
        RunWith("tom@example.com", std::to_string(Peer.Port()));
        ExpectNoForgedLine(Code + Shown);
        Peer.Finish();
    }
}

TEST_F(EmailWindowTest, AnAddressThatNamesNobodyIsNoAddress) {
    Open();
    Exec("update EMPLOYEE set AlertEmail = '<>' where EmpNbr = 2;"
         "update EMPLOYEE set AlertEmail = '   ' where EmpNbr = 3;"
         "update EMPLOYEE set AlertEmail = '' where EmpNbr = 4;");
    for (const int Employee : {1, 2, 3, 4})
        AddDue(Employee, 3, "hourly " + std::to_string(Employee));
    const Certificates& Files = Certificates::Get();
    mailtest::SmtpPeer Server("plain", Files.LocalhostCert(), Files.LocalhostKey());
    UseServer(std::to_string(Server.Port()));
    Window->RunAlertBatch(3, false);
    // Only Maria gets a message; the others' alerts are settled as those
    // of an employee without an address are.
    const std::vector<mailtest::ReceivedMessage> Got = Server.Messages(1);
    ASSERT_EQ(Got.size(), 1u);
    EXPECT_EQ(Got[0].Recipients, std::vector<std::string>{"maria.garcia@example.com"});
    EXPECT_EQ(Codes(), "0,0,0,0");
    EXPECT_EQ(MemoText().find("Unable to send email"), std::string::npos) << MemoText();
}

TEST_F(EmailWindowTest, IncompleteSettingsSayWhatIsMissingAndMarkNothingSent) {
    Open();
    AddDue(1, 3, "Maria hourly");
    AddDue(3, 5, "Priya quarter-hourly");
    struct Case {
        const char* Server;
        const char* Port;
        const char* Account;
        const char* Line;
    };
    const Case Cases[] = {
        {"", "25", "alerts", "Unable to send email: the SMTP server is missing."},
        {"localhost", " ", "alerts", "Unable to send email: the SMTP port is missing."},
        {" ", "25", "", "Unable to send email: the SMTP server and account name are missing."},
        {"", "", "", "Unable to send email: the SMTP server, port and account name are missing."},
    };
    // Each run says it once.
    const auto Said = [this](const std::string& Text) {
        const std::string Memo = MemoText();
        int Count = 0;
        for (std::size_t At = Memo.find(Text); At != std::string::npos;
             At = Memo.find(Text, At + 1))
            ++Count;
        return Count;
    };
    int Runs = 0;
    for (const Case& C : Cases) {
        Window->eSMTPServer->SetText(C.Server);
        Window->eSMTPPort->SetText(C.Port);
        Window->eSMTPAccount->SetText(C.Account);
        Window->RunAlertBatch(3, false);
        ++Runs;
        EXPECT_EQ(Codes(), "3,5") << C.Line;
        EXPECT_EQ(Said(C.Line), 1) << MemoText();
        EXPECT_EQ(Said("Unable to send email"), Runs) << MemoText();
    }
    // Nothing due for the class: nothing to say.
    Exec("update ALERT_HISTORY set SendEmail = 0");
    Window->RunAlertBatch(3, false);
    EXPECT_EQ(Said("Unable to send email"), Runs) << MemoText();
}

TEST_F(EmailWindowTest, TestConnectionReportsWhatTheServerSaid) {
    Open();
    const Certificates& Files = Certificates::Get();
    mailtest::SmtpPeer Plain("plain", Files.LocalhostCert(), Files.LocalhostKey());
    mailtest::SmtpPeer Tls("implicit", Files.LocalhostCert(), Files.LocalhostKey());
    mailtest::ScriptedPeer NoStartTls(
        {mailtest::Send("220 mx.test ready\r\n"), mailtest::Expect("EHLO client.test\r\n"),
         mailtest::Send("250 mx.test\r\n"), mailtest::Expect("STARTTLS\r\n"),
         mailtest::Send("454 TLS not available\r\n"), mailtest::Expect("QUIT\r\n")});
    // Accepts and never greets: the test gives up after the connect bound,
    // not after the 5 s read time-out.
    mailtest::ScriptedPeer Silent({"stall"});
    struct Case {
        const char* Name;
        int Port;
        int Encryption;
        const char* Password;
        const char* Text;
        const char* Caption;
    };
    const std::vector<Case> Cases = {
        {"plain", Plain.Port(), 0, "pa55word", "Connection attempt successful", "Notice"},
        {"TLS from the start", Tls.Port(), 1, "pa55word", "Connection attempt successful",
         "Notice"},
        {"wrong password", Plain.Port(), 0, "guess", "Could not connect to server: ", "Warning"},
        {"STARTTLS refused", NoStartTls.Port(), 2, "pa55word",
         "Could not connect to server: TLS not available", "Warning"},
        {"silent server", Silent.Port(), 0, "pa55word",
         "Could not connect to server: The server localhost:", "Warning"},
    };
    // While the result is up, a scheduled run must find the connection free.
    int ConnectedWhileOpen = 0;
    Boxes.WhileOpen = [&](const TMessageBoxRequest&) {
        if (Mailer->Transport().Smtp().IsConnected()) ++ConnectedWhileOpen;
    };
    for (const Case& C : Cases) {
        UseServer(std::to_string(C.Port), C.Encryption, C.Password);
        Boxes.Boxes.clear();
        Window->btTestConnection->Click();
        ASSERT_EQ(Boxes.Boxes.size(), 1u) << C.Name;
        EXPECT_EQ(Boxes.Boxes[0].Text.rfind(C.Text, 0), 0u)
            << C.Name << ": " << Boxes.Boxes[0].Text;
        EXPECT_EQ(Boxes.Boxes[0].Caption, C.Caption) << C.Name;
        EXPECT_EQ(Boxes.Boxes[0].Flags, MB_OK | MB_ICONINFORMATION | MB_TOPMOST) << C.Name;
        EXPECT_FALSE(Mailer->Transport().Smtp().IsConnected()) << C.Name;
    }
    EXPECT_EQ(ConnectedWhileOpen, 0);
    EXPECT_EQ(NoStartTls.Finish().back(), "DONE");
}

} // namespace
