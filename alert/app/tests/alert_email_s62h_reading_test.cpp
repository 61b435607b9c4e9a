// The alert e-mails of a batch, end to end: due alert history rows in the
// shop database, the main window's SMTP edits pointing at a real SMTP
// server, a batch run, and the messages the server received.
#include "ProgramWindowTest.h"
#include "alert/app/MainFormMailer.h"
#include "alert/app/tests/ClosedPort.h"
#include "mail/MxSSLIOHandler.h"
#include "mail/tests/Certificates.h"
#include "mail/tests/SmtpPeer.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/StringList.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

namespace {

const std::string Dashes(31, '-');
const std::string Stars(31, '*');
const std::string GroupRule = Dashes + Dashes;

const mailtest::Certificates& EmailCerts() { return mailtest::Certificates::Get(); }

class AlertEmailReading : public ProgramWindowTest {
protected:
    void SetUp() override {
        ProgramWindowTest::SetUp();
        // Only the rows a test writes are due; nothing else runs in a batch,
        // and no purge age takes the test's old rows away.
        Exec("DELETE FROM ALERT_TRANSACTION; DELETE FROM ALERT_HISTORY; "
             "DELETE FROM ALERT_USER_DEFAULTS;");
    }

    void Open(int DatePreference = 0) {
        Exec("UPDATE WU_DFLTS SET DT_PREF = " + std::to_string(DatePreference) + ";");
        if (!ModulesMade) CreateShopDataModules(Owner);
        ModulesMade = true;
        Window = new TMainFormWindow(Owner);
        auto mailer = CreateMainFormMailer(*Window);
        Mailer = mailer.get();
        // The test server's certificate is signed by the tests' own CA.
        Mailer->Transport().TlsHandler().SSLOptions()->RootCertFile = EmailCerts().CA().c_str();
        Window->SetMailer(std::move(mailer));
        Window->Show();
    }

    void PointAt(int Port, const std::string& Server = "127.0.0.1") {
        Window->eSMTPServer->SetText(Server.c_str());
        Window->eSMTPPort->SetText(std::to_string(Port).c_str());
        Window->eSMTPAccount->SetText("alerts");
        Window->eSMTPPassword->SetText("pa55word");
        Window->cboSMTPEncrypt->SetItemIndex(0);
    }

    // One due alert history row of class 1 (daily), generated at 14:05 on
    // 2026-03-04 plus Minute minutes.
    void Due(int Recipient, int AlertNbr, int Priority, const std::string& Descr,
             const std::string& JobNbr = "NULL", int Minute = 0, int Class = 1) {
        Exec("INSERT INTO ALERT_HISTORY (AlertNbr, AlertRecipientNbr, DateGenerated, Priority, "
             "Descr, SendEmail, JobNbr) VALUES (" +
             std::to_string(AlertNbr) + ", " + std::to_string(Recipient) + ", '2026/03/04 14:" +
             (Minute < 10 ? "0" : "") + std::to_string(5 + Minute) + ":00', " +
             std::to_string(Priority) + ", '" + Descr + "', " + std::to_string(Class) + ", " +
             JobNbr + ");");
    }

    // The e-mail codes of the history rows still due, in row order.
    std::string DueCodes() const {
        sqlite3* db = nullptr;
        sqlite3_open(DbFile.string().c_str(), &db);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT group_concat(SendEmail) FROM (SELECT SendEmail FROM "
                           "ALERT_HISTORY WHERE SendEmail <> 0 ORDER BY rowid)",
                           -1, &st, nullptr);
        std::string codes;
        if (sqlite3_step(st) == SQLITE_ROW && sqlite3_column_text(st, 0))
            codes = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        sqlite3_finalize(st);
        sqlite3_close(db);
        return codes;
    }

    bool ModulesMade = false;
    SmtpAlertMailer* Mailer = nullptr;

    std::vector<std::string> MemoLines() const {
        std::vector<std::string> lines;
        for (int i = 0; i < Window->memoResults->Lines()->Count(); ++i)
            lines.push_back(Window->memoResults->Lines()->Strings(i).c_str());
        return lines;
    }

};


// The layout of one recipient's message, line by line, for the mixes of
// sections, priorities and job blocks a body can hold.
TEST_F(AlertEmailReading, BodyLayoutPerRecipient) {
    struct Alert {
        int AlertNbr;
        int Priority;
        std::string Descr;
        std::string JobNbr;
    };
    struct Case {
        const char* Name;
        std::vector<Alert> Alerts;
        std::vector<std::string> Body;
    };
    const std::vector<Case> cases = {
        {"job high and po medium",
         {{27, 2, "Job status changed.\nJob: x.", "1"}, {33, 1, "PO posted.", "NULL"}},
         {Stars, "Jobs", Stars, "", Dashes, "24-101 - Harbor View Hotel lobby", Dashes, "", "    High", GroupRule, "2:05 PM 04/03/26",
          "Job status changed.", "Job: x.", GroupRule, "", "", Stars, "Purchasing", Stars, "",
          "    Medium", GroupRule, "2:06 PM 04/03/26", "PO posted.", GroupRule, ""}},
        {"purchasing only",
         {{33, 0, "PO one.", "NULL"}, {34, 0, "PO two.", "NULL"}},
         {"", Stars, "Purchasing", Stars, "", "    Low", GroupRule, "2:05 PM 04/03/26", "PO one.", Dashes,
          "2:06 PM 04/03/26", "PO two.", GroupRule, ""}},
        {"one job high and low",
         {{27, 0, "Low one.", "1"}, {27, 2, "High one.", "1"}},
         {Stars, "Jobs", Stars, "", Dashes, "24-101 - Harbor View Hotel lobby", Dashes, "", "    High", GroupRule, "2:06 PM 04/03/26",
          "High one.", GroupRule, "", "    Low", GroupRule, "2:05 PM 04/03/26", "Low one.",
          GroupRule, ""}},
        {"deleted jobs open a block each",
         {{29, 2, "Job deleted.\nJob: J-9 - Gone. Deleted by: Tom.", "NULL"},
          {29, 2, "Job deleted.\nJob: J-9 - Gone. Deleted by: Tom.", "NULL"}},
         {Stars, "Jobs", Stars, "", Dashes, "J-9 - Gone", Dashes, "", "    High", GroupRule, "2:05 PM 04/03/26",
          "Job deleted.", "Job: J-9 - Gone. Deleted by: Tom.", GroupRule, "", Dashes, "J-9 - Gone",
          Dashes, "", "    High", GroupRule, "2:06 PM 04/03/26", "Job deleted.",
          "Job: J-9 - Gone. Deleted by: Tom.", GroupRule, ""}},
        {"employee and inventory",
         {{51, 1, "Hours changed.", "NULL"}, {68, 0, "Item added.", "NULL"}},
         {"", Stars, "Employee", Stars, "", "    Medium", GroupRule, "2:05 PM 04/03/26",
          "Hours changed.", GroupRule, "", "", Stars, "Inventory", Stars, "", "    Low", GroupRule,
          "2:06 PM 04/03/26", "Item added.", GroupRule, ""}},
    };
    Open();
    mailtest::SmtpPeer peer("plain", EmailCerts().LocalhostCert(), EmailCerts().LocalhostKey());
    PointAt(peer.Port());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Exec("DELETE FROM ALERT_HISTORY;");
        int minute = 0;
        for (const Alert& a : c.Alerts) Due(1, a.AlertNbr, a.Priority, a.Descr, a.JobNbr, minute++);
        Window->RunAlertBatch(1, false);
        const auto messages = peer.Messages(1);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].Lines, c.Body);
        EXPECT_EQ(messages[0].Recipients, std::vector<std::string>{"maria.garcia@example.com"});
        EXPECT_EQ(messages[0].Header("To"), "maria.garcia@example.com");
        EXPECT_NE(messages[0].Header("From").find("Dornwick"), std::string::npos);
        EXPECT_NE(messages[0].Header("From").find("alerts"), std::string::npos);
    }
}

// Subject by run class and date preference; two recipients make two
// messages and one counted run.
TEST_F(AlertEmailReading, SubjectsRecipientsAndTheCounter) {
    struct Case {
        int DatePreference;
        int Class;
        const char* Subject;
    };
    ManualClock clock(EncodeDate(2026, 3, 4) + EncodeTime(6, 0, 0, 0));
    ScopedClock useClock(clock);
    for (const Case& c : {Case{0, 1, "Dornwick Alerts for 04/03/26"},
                          Case{1, 1, "Dornwick Alerts for 03/04/26"},
                          Case{1, 3, "Dornwick Alerts"}, Case{0, 5, "Dornwick Alerts"}}) {
        SCOPED_TRACE(c.Subject);
        delete Window;
        Window = nullptr;
        Exec("DELETE FROM ALERT_HISTORY;");
        Open(c.DatePreference);
        mailtest::SmtpPeer peer("plain", EmailCerts().LocalhostCert(), EmailCerts().LocalhostKey());
        PointAt(peer.Port());
        Due(2, 33, 1, "For Tom.", "NULL", 0, c.Class);
        Due(1, 33, 1, "For Maria.", "NULL", 1, c.Class);
        const int before = Window->EmailedCount();
        Window->RunAlertBatch(static_cast<std::uint8_t>(c.Class), c.Class == 1);
        const auto messages = peer.Messages(2);
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[0].Header("Subject"), c.Subject);
        EXPECT_EQ(messages[0].Recipients, std::vector<std::string>{"maria.garcia@example.com"});
        EXPECT_EQ(messages[1].Recipients, std::vector<std::string>{"tom.becker@example.com"});
        EXPECT_EQ(Window->EmailedCount(), before + 1);
    }
}

// A run takes the rows of its own code and of every shorter interval.
TEST_F(AlertEmailReading, RunClassTakesShorterIntervals) {
    struct Case {
        int Class;
        std::vector<std::string> Texts;
    };
    Open();
    mailtest::SmtpPeer peer("plain", EmailCerts().LocalhostCert(), EmailCerts().LocalhostKey());
    PointAt(peer.Port());
    for (const Case& c : {Case{1, {"code 1", "code 3", "code 4", "code 5"}},
                          Case{3, {"code 3", "code 4", "code 5"}}, Case{4, {"code 4", "code 5"}},
                          Case{5, {"code 5"}}}) {
        SCOPED_TRACE(c.Class);
        Exec("DELETE FROM ALERT_HISTORY;");
        int minute = 0;
        for (int code : {1, 3, 4, 5})
            Due(1, 33, 1, "code " + std::to_string(code), "NULL", minute++, code);
        Window->RunAlertBatch(static_cast<std::uint8_t>(c.Class), false);
        const auto messages = peer.Messages(1);
        ASSERT_EQ(messages.size(), 1u);
        std::vector<std::string> texts;
        for (const std::string& line : messages[0].Lines)
            if (line.rfind("code ", 0) == 0) texts.push_back(line);
        EXPECT_EQ(texts, c.Texts);
    }
}

// No connection at all for a plain tick or a class with nothing due; a
// failing connection is reported in the log and the codes stay due.
TEST_F(AlertEmailReading, NothingDueOrNoServer) {
    Open();
    PointAt(ClosedPort());
    Due(1, 33, 1, "PO posted.", "NULL", 0, 3);
    Window->RunAlertBatch(2, false);
    Window->RunAlertBatch(4, false);
    for (const std::string& line : MemoLines())
        EXPECT_EQ(line.find("Unable to send"), std::string::npos) << line;

    Window->RunAlertBatch(3, false);
    bool reported = false;
    for (const std::string& line : MemoLines()) {
        if (line.find("Unable to send email") != std::string::npos) reported = true;
    }
    EXPECT_TRUE(reported);
    EXPECT_EQ(Window->EmailedCount(), 0);
    EXPECT_EQ(DueCodes(), "3");
}

// A quote-request alert has no section of the layout: it does not stop the
// recipient's other alerts, and its text is not lost.
TEST_F(AlertEmailReading, QuoteRequestAlertDoesNotStopTheRun) {
    Open();
    mailtest::SmtpPeer peer("plain", EmailCerts().LocalhostCert(), EmailCerts().LocalhostKey());
    PointAt(peer.Port());
    Due(1, 86, 2, "Quote request due today.", "NULL", 0);
    Due(1, 33, 1, "PO posted.", "NULL", 1);
    Due(2, 33, 1, "For Tom.", "NULL", 2);
    Window->RunAlertBatch(1, false);
    const auto messages = peer.Messages(2);
    ASSERT_EQ(messages.size(), 2u);
    std::string body;
    for (const std::string& line : messages[0].Lines) body += line + "\n";
    EXPECT_NE(body.find("Quote request due today."), std::string::npos) << body;
    EXPECT_NE(body.find("PO posted."), std::string::npos) << body;
}

// Rows the layout knows no place for (an alert id the program does not
// know, a priority outside the levels) still reach their recipient.
TEST_F(AlertEmailReading, UnplacedAlertsAreNotLost) {
    Open();
    mailtest::SmtpPeer peer("plain", EmailCerts().LocalhostCert(), EmailCerts().LocalhostKey());
    PointAt(peer.Port());
    Due(1, 28, 1, "Unknown alert id.", "NULL", 0);
    Due(1, 27, 2, "Job number zero.", "0", 4);
    Due(1, 27, 7, "Odd priority.", "1", 1);
    Due(1, 33, 1, "PO posted.", "NULL", 2);
    Due(2, 33, 1, "For Tom.", "NULL", 3);
    Window->RunAlertBatch(1, false);
    const auto messages = peer.Messages(2);
    ASSERT_EQ(messages.size(), 2u);
    std::string body;
    for (const std::string& line : messages[0].Lines) body += line + "\n";
    for (const char* text : {"Unknown alert id.", "Odd priority.", "PO posted.", "Job number zero."})
        EXPECT_NE(body.find(text), std::string::npos) << text << "\n" << body;
}

// A refused recipient keeps its alerts due; the others are marked sent.
TEST_F(AlertEmailReading, RefusedRecipientStaysDue) {
    Open();
    mailtest::SmtpPeer peer("plain", EmailCerts().LocalhostCert(), EmailCerts().LocalhostKey());
    PointAt(peer.Port());
    // Refused at RCPT TO, and refused at the end of its data.
    for (const char* address : {"refused@example.com", "bounce@example.com"}) {
        SCOPED_TRACE(address);
        Exec(std::string("UPDATE EMPLOYEE SET AlertEmail = '") + address +
             "' WHERE EmpNbr = 1; DELETE FROM ALERT_HISTORY;");
        Due(1, 33, 1, "For Maria.", "NULL", 0, 3);
        Due(2, 33, 1, "For Tom.", "NULL", 1, 3);
        Window->RunAlertBatch(3, false);
        const auto messages = peer.Messages(1);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].Recipients, std::vector<std::string>{"tom.becker@example.com"});
        // Maria's row is still due, Tom's is sent.
        EXPECT_EQ(DueCodes(), "3");
        bool reported = false;
        for (const std::string& line : MemoLines())
            if (line.find(address) != std::string::npos) reported = true;
        EXPECT_TRUE(reported);
    }
}

// A recipient the server answers by closing the connection ends that run:
// everybody stays due, and the next run serves the others first.
TEST_F(AlertEmailReading, ClosingServerKeepsEverybodyDue) {
    Exec("UPDATE EMPLOYEE SET AlertEmail = 'closing@example.com' WHERE EmpNbr = 1;");
    Open();
    mailtest::SmtpPeer peer("plain", EmailCerts().LocalhostCert(), EmailCerts().LocalhostKey());
    PointAt(peer.Port());
    Due(1, 33, 1, "For Maria.", "NULL", 0, 3);
    Due(2, 33, 1, "For Tom.", "NULL", 1, 3);
    Window->RunAlertBatch(3, false);
    EXPECT_EQ(DueCodes(), "3,3");
    EXPECT_EQ(Window->EmailedCount(), 0);
    Window->RunAlertBatch(3, false);
    const auto messages = peer.Messages(1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Recipients, std::vector<std::string>{"tom.becker@example.com"});
    EXPECT_EQ(DueCodes(), "3");
}

// Each encryption choice reaches the server its way: in the clear, TLS from
// the first byte, or STARTTLS on the open connection.
TEST_F(AlertEmailReading, EncryptionChoices) {
    struct Case {
        const char* Mode;
        int Choice;
        bool Tls;
    };
    Open();
    for (const Case& c : {Case{"plain", 0, false}, Case{"implicit", 1, true},
                          Case{"starttls", 2, true}}) {
        SCOPED_TRACE(c.Mode);
        mailtest::SmtpPeer peer(c.Mode, EmailCerts().LocalhostCert(), EmailCerts().LocalhostKey());
        PointAt(peer.Port(), "localhost");
        Window->cboSMTPEncrypt->SetItemIndex(c.Choice);
        Due(1, 33, 1, "PO posted.", "NULL", 0, 3);
        Window->RunAlertBatch(3, false);
        const auto messages = peer.Messages(1);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_EQ(messages[0].Tls, c.Tls);
        EXPECT_EQ(messages[0].Login, "alerts");
    }
}

// Addresses as the employee rows hold them: a list gets one message to all
// of its addresses, a blank one no message, and one with a line break in it
// is refused without reaching the server, the others still served.
TEST_F(AlertEmailReading, RecipientAddresses) {
    Exec("UPDATE EMPLOYEE SET AlertEmail = 'a@example.com, b@example.com' WHERE EmpNbr = 1;"
         "UPDATE EMPLOYEE SET AlertEmail = '   ' WHERE EmpNbr = 2;"
         "UPDATE EMPLOYEE SET AlertEmail = 'c@example.com' || char(13, 10) || "
         "'RCPT TO:<evil@example.com>' WHERE EmpNbr = 3;");
    Open();
    mailtest::SmtpPeer peer("plain", EmailCerts().LocalhostCert(), EmailCerts().LocalhostKey());
    PointAt(peer.Port());
    Due(1, 33, 1, "For Maria.", "NULL", 0, 3);
    Due(2, 33, 1, "For Tom.", "NULL", 1, 3);
    Due(3, 33, 1, "For Priya.", "NULL", 2, 3);
    Due(4, 33, 1, "For Daniel.", "NULL", 3, 3);
    Window->RunAlertBatch(3, false);
    const auto messages = peer.Messages(2);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].Recipients,
              (std::vector<std::string>{"a@example.com", "b@example.com"}));
    EXPECT_EQ(messages[1].Recipients, std::vector<std::string>{"daniel.okafor@example.com"});
    for (const auto& m : messages)
        for (const std::string& r : m.Recipients) EXPECT_NE(r, "evil@example.com");
    // The refusal is logged, the address's line break escaped.
    bool logged = false;
    for (const std::string& line : MemoLines()) {
        EXPECT_NE(line.rfind("RCPT TO", 0), 0u) << line;
        if (line.find("c@example.com") != std::string::npos) logged = true;
    }
    EXPECT_TRUE(logged);
}

// Alert texts the way the database can hold them: a line longer than SMTP
// allows, characters beyond ASCII, a line of a single dot. The recipient
// reads them as written.
TEST_F(AlertEmailReading, AlertTextsArriveWhole) {
    const std::string longLine(1500, 'x');
    const std::string accented = "Caf\xC3\xA9 cr\xC3\xA8me, 5\xE2\x82\xAC";
    Open();
    mailtest::SmtpPeer peer("plain", EmailCerts().LocalhostCert(), EmailCerts().LocalhostKey());
    PointAt(peer.Port());
    Due(1, 33, 1, longLine, "NULL", 0, 3);
    Due(1, 33, 1, accented, "NULL", 1, 3);
    Due(1, 33, 1, "first\n.\nlast", "NULL", 2, 3);
    Window->RunAlertBatch(3, false);
    const auto messages = peer.Messages(1);
    ASSERT_EQ(messages.size(), 1u);
    const std::string& payload = messages[0].Payload;
    EXPECT_NE(payload.find(longLine), std::string::npos);
    EXPECT_NE(payload.find(accented), std::string::npos) << payload;
    EXPECT_NE(payload.find("first\r\n.\r\nlast"), std::string::npos) << payload;
    EXPECT_FALSE(messages[0].BareLineFeed);
    for (const std::string& line : messages[0].Lines) EXPECT_LE(line.size(), 998u);
}

// Host trimmed, password as typed; a port that is no number is reported
// naming it, and nothing is sent.
TEST_F(AlertEmailReading, SettingsAsTyped) {
    Open();
    mailtest::SmtpPeer peer("plain", EmailCerts().LocalhostCert(), EmailCerts().LocalhostKey());
    PointAt(peer.Port(), "  127.0.0.1  ");
    Window->eSMTPAccount->SetText(" alerts ");
    Due(1, 33, 1, "PO posted.", "NULL", 0, 3);
    Window->RunAlertBatch(3, false);
    auto messages = peer.Messages(1);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].Login, "alerts");
    EXPECT_EQ(messages[0].MailFrom, "alerts");

    Due(1, 33, 1, "Again.", "NULL", 1, 3);
    Window->eSMTPPort->SetText("25x");
    Window->RunAlertBatch(3, false);
    bool named = false;
    for (const std::string& line : MemoLines())
        if (line.find("25x") != std::string::npos) named = true;
    EXPECT_TRUE(named);
}

} // namespace
