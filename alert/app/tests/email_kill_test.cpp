// The mail step killed after the k-th accepted message and run again: every
// recipient whose message the server had accepted before the kill gets no
// second one. The step runs in a child process (this test program started
// again for the Child test alone), which the test kills with SIGKILL while
// the server holds back its answer to the next message.
#include "alert/app/SmtpAlertMailer.h"
#include "alert/store/MainDmod.h"
#include "mail/tests/Certificates.h"
#include "mail/tests/ChildProcess.h"
#include "mail/tests/SmtpPeer.h"
#include "platform/data/testing/ShopDbTest.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace {

constexpr const char* PortVariable = "BEACONMILL_MAILKILL_PORT";
constexpr int Recipients = 4;

class ServerHost : public IAlertMailHost {
public:
    explicit ServerHost(std::string Port) : FPort(std::move(Port)) {}
    SmtpControlValues SmtpControls() const override {
        return {"localhost", FPort, "alerts", "pa55word", 0};
    }
    int DatePreference() const override { return 1; }
    void LogLine(const AnsiString& Text) override { Lines.push_back(Text); }
    void ShowMessageBox(const AnsiString&, const AnsiString&, unsigned) override {}

    std::vector<AnsiString> Lines;

private:
    std::string FPort;
};

// The child: one mail step of the hourly class against the server on the
// port the environment names.
TEST(AlertEmailKill, Child) {
    const char* Port = std::getenv(PortVariable);
    if (!Port) GTEST_SKIP() << "run by AlertEmailKillTest in a process of its own";
    TMainDmod Main(nullptr);
    SmtpAlertMailer Mailer(Main, std::make_unique<ServerHost>(Port));
    Mailer.SendAlertEmails(3);
}

class AlertEmailKillTest : public ShopDbTest {
protected:
    void SetUp() override {
        ShopDbTest::SetUp();
        for (int E = 1; E <= Recipients; ++E)
            Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname, AlertEmail) values (" +
                 std::to_string(E) + ", 'E', 'E', 'r" + std::to_string(E) + "@shop.example');");
    }

    // One due hourly alert for every recipient.
    void Refill() const {
        Exec("delete from ALERT_HISTORY;");
        for (int E = 1; E <= Recipients; ++E)
            Exec("insert into ALERT_HISTORY (AlertNbr, AlertRecipientNbr, DateGenerated, "
                 "Priority, Descr, SendEmail) values (31, " +
                 std::to_string(E) + ", '2024/05/06 09:30:00', 1, 'alert " + std::to_string(E) +
                 "', 3);");
    }

    // The e-mail code of each recipient's alert, by recipient.
    std::string Codes() const {
        sqlite3* Db = nullptr;
        sqlite3_open(DbFile.c_str(), &Db);
        sqlite3_stmt* Stmt = nullptr;
        std::string Result;
        sqlite3_prepare_v2(Db, "select SendEmail from ALERT_HISTORY order by AlertRecipientNbr", -1,
                           &Stmt, nullptr);
        while (sqlite3_step(Stmt) == SQLITE_ROW)
            Result += std::to_string(sqlite3_column_int(Stmt, 0));
        sqlite3_finalize(Stmt);
        sqlite3_close(Db);
        return Result;
    }
};

TEST_F(AlertEmailKillTest, AKilledRunSendsNoAcceptedMessageAgain) {
    const mailtest::Certificates& Files = mailtest::Certificates::Get();
    for (const int K : {0, 1, 3}) {
        SCOPED_TRACE("killed after " + std::to_string(K) + " accepted messages");
        Refill();
        std::map<std::string, int> Received; // messages per recipient
        {
            mailtest::SmtpPeer Server("plain:hold=" + std::to_string(K), Files.LocalhostCert(),
                                      Files.LocalhostKey());
            setenv(PortVariable, std::to_string(Server.Port()).c_str(), 1);
            std::optional<mailtest::ChildProcess> Child;
            Child.emplace(
                std::vector<std::string>{"/proc/self/exe", "--gtest_filter=AlertEmailKill.Child"},
                "the mail step");
            unsetenv(PortVariable);
            // The server holds back its answer to the next message: the
            // step is killed while that one is in flight.
            for (const mailtest::ReceivedMessage& M : Server.Messages(Recipients, true))
                ++Received[M.Recipients.at(0)];
            ASSERT_TRUE(Server.Held());
            Child.reset();
        }
        std::string Expected(static_cast<std::size_t>(K), '0');
        Expected += std::string(static_cast<std::size_t>(Recipients - K), '3');
        EXPECT_EQ(Codes(), Expected);

        mailtest::SmtpPeer Server("plain", Files.LocalhostCert(), Files.LocalhostKey());
        {
            TMainDmod Main(nullptr);
            auto Host = std::make_unique<ServerHost>(std::to_string(Server.Port()));
            ServerHost& Log = *Host;
            SmtpAlertMailer Mailer(Main, std::move(Host));
            EXPECT_TRUE(Mailer.SendAlertEmails(3));
            EXPECT_TRUE(Log.Lines.empty()) << Log.Lines.front();
        }
        for (const mailtest::ReceivedMessage& M :
             Server.Messages(static_cast<std::size_t>(Recipients - K)))
            ++Received[M.Recipients.at(0)];
        EXPECT_EQ(Codes(), std::string(Recipients, '0'));
        for (int E = 1; E <= Recipients; ++E)
            EXPECT_EQ(Received["r" + std::to_string(E) + "@shop.example"], 1) << "recipient " << E;
    }
}

} // namespace
