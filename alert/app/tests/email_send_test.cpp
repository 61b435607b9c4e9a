// Sending the alert e-mails of a run to a real SMTP server (aiosmtpd) and
// to scripted servers on loopback, in the clear, under STARTTLS and over
// TLS from the first byte.
#include "alert/app/AlertEmail.h"
#include "alert/app/AlertMailTransport.h"
#include "alert/app/SmtpAlertMailer.h"
#include "alert/app/tests/ClosedPort.h"
#include "mail/MxSMTP.h"
#include "mail/MxSSLIOHandler.h"
#include "mail/tests/Certificates.h"
#include "mail/tests/Peer.h"
#include "mail/tests/SmtpPeer.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using mailtest::Certificates;
using mailtest::Expect;
using mailtest::Send;

AlertEmailRow Due(int Recipient, const AnsiString& Address, int AlertNbr, int Priority,
                  const AnsiString& Descr) {
    AlertEmailRow R;
    R.AlertRecipientNbr = Recipient;
    R.AlertEmail = Address;
    R.AlertNbr = AlertNbr;
    R.Priority = Priority;
    R.Descr = Descr;
    R.DateGenerated = EncodeDate(2024, 5, 6) + EncodeTime(9, 30, 0, 0);
    R.JobNbr = 12;
    R.JobId = "J-12";
    R.JobDescr = "Bridge deck";
    return R;
}

// Two recipients, the first with two alerts (one text of two lines, one
// line starting with a dot), rows ordered by recipient as the selection
// gives them.
const std::vector<AlertEmailRow> TwoRecipients = {
    Due(4, "ann@shop.example", 27, 2, "Job status changed to Active from Bid.\nJob: J-12."),
    Due(4, "ann@shop.example", 31, 1, ".PO 4410 is due tomorrow."),
    Due(9, "bob@shop.example", 49, 0, "Bob Hay daily hours of 13 exceed 12."),
};

SmtpControlValues Controls(int Port, int Encryption) {
    // Blanks around the server, port and account are the operator's typing.
    return {" localhost ", " " + std::to_string(Port) + " ", " alerts ", "pa55word", Encryption};
}

void Prepare(AlertMailTransport& Transport, const SmtpControlValues& Values) {
    Transport.TlsHandler().SSLOptions()->RootCertFile = Certificates::Get().CA();
    Transport.Smtp().ReadTimeout = 5000;
    Transport.Smtp().HeloName = "client.test";
    Transport.Configure(Values);
}

TEST(AlertEmailSend, OneMessagePerRecipientInTheClearUnderStartTlsAndOverTls) {
    ManualClock Clock(EncodeDate(2024, 5, 6) + EncodeTime(10, 0, 0, 0));
    ScopedClock Day(Clock);
    const Certificates& Files = Certificates::Get();
    struct Mode {
        const char* Server; // the server's mode
        int Encryption;     // the encryption box's choice
    };
    for (const Mode M : {Mode{"plain", 0}, Mode{"starttls", 2}, Mode{"implicit", 1}}) {
        mailtest::SmtpPeer Server(M.Server, Files.LocalhostCert(), Files.LocalhostKey());
        AlertMailTransport Transport;
        Prepare(Transport, Controls(Server.Port(), M.Encryption));
        AlertEmailRun Run;
        SendAlertEmailRun(Transport, TwoRecipients, 1, 1, Run);
        EXPECT_TRUE(Run.Completed()) << M.Server << ": " << Run.Error;
        EXPECT_TRUE(Run.Unsent().empty()) << M.Server;
        EXPECT_FALSE(Transport.Smtp().IsConnected()) << M.Server;

        const std::vector<mailtest::ReceivedMessage> Got = Server.Messages(2);
        ASSERT_EQ(Got.size(), 2u) << M.Server;
        const std::span<const AlertEmailRow> Rows(TwoRecipients);
        const std::vector<std::vector<AnsiString>> Bodies = {
            ComposeAlertEmailBody(Rows.subspan(0, 2), 1),
            ComposeAlertEmailBody(Rows.subspan(2), 1)};
        const char* To[] = {"ann@shop.example", "bob@shop.example"};
        for (std::size_t I = 0; I < Got.size(); ++I) {
            const mailtest::ReceivedMessage& Message = Got[I];
            EXPECT_EQ(Message.Tls, M.Encryption != 0) << M.Server;
            EXPECT_EQ(Message.Login, "alerts") << M.Server;
            EXPECT_EQ(Message.MailFrom, "alerts") << M.Server;
            EXPECT_EQ(Message.Recipients, std::vector<std::string>{To[I]}) << M.Server;
            EXPECT_EQ(Message.Header("Subject"), "Dornwick Alerts for 05/06/24") << M.Server;
            EXPECT_NE(Message.Header("From").find("Dornwick"), std::string::npos) << M.Server;
            EXPECT_NE(Message.Header("From").find("alerts"), std::string::npos) << M.Server;
            EXPECT_EQ(Message.Header("To"), To[I]) << M.Server;
            EXPECT_EQ(Message.Header("X-Priority"), "2") << M.Server;
            EXPECT_EQ(Message.Header("Content-Type"), "text/plain; charset=\"UTF-8\"") << M.Server;
            EXPECT_FALSE(Message.Header("Date").empty()) << M.Server;
            EXPECT_EQ(std::vector<AnsiString>(Message.Lines.begin(), Message.Lines.end()),
                      Bodies[I])
                << M.Server;
            EXPECT_FALSE(Message.BareLineFeed) << M.Server;
        }
    }
}

TEST(AlertEmailSend, AFailedConnectLeavesEveryRecipientUnsent) {
    const Certificates& Files = Certificates::Get();
    mailtest::SmtpPeer WrongName("implicit", Files.WrongNameCert(), Files.WrongNameKey());
    const std::string Greeting = "220 mx.test ready\r\n";
    mailtest::ScriptedPeer NoStartTls({Send(Greeting), Expect("EHLO client.test\r\n"),
                                       Send("250 mx.test\r\n"), Expect("STARTTLS\r\n"),
                                       Send("454 TLS not available\r\n"), Expect("QUIT\r\n")});
    mailtest::ScriptedPeer Refusing({Send("554 no service\r\n"), Expect("QUIT\r\n")});
    struct Case {
        const char* Name;
        SmtpControlValues Values;
        const char* Error; // a part of the error's message
    };
    const std::vector<Case> Cases = {
        {"connection refused", Controls(ClosedPort(), 0), ""},
        {"certificate for another name", Controls(WrongName.Port(), 1), ""},
        {"STARTTLS refused", Controls(NoStartTls.Port(), 2), "454 TLS not available"},
        {"greeting refused", Controls(Refusing.Port(), 0), "554 no service"},
    };
    for (const Case& C : Cases) {
        AlertMailTransport Transport;
        Prepare(Transport, C.Values);
        AlertEmailRun Run;
        SendAlertEmailRun(Transport, TwoRecipients, 3, 1, Run);
        EXPECT_TRUE(Run.Failed) << C.Name;
        EXPECT_FALSE(Run.Error.empty()) << C.Name;
        EXPECT_NE(Run.Error.find(C.Error), AnsiString::npos) << C.Name << ": " << Run.Error;
        // The connection failed, not anybody's message.
        EXPECT_EQ(Run.FailedRecipient, 0) << C.Name;
        EXPECT_EQ(Run.FailedAddress, "") << C.Name;
        EXPECT_EQ(Run.Unsent(), (std::vector<std::int32_t>{4, 9})) << C.Name;
        EXPECT_FALSE(Transport.Smtp().IsConnected()) << C.Name;
    }
    for (mailtest::ScriptedPeer* Peer : {&NoStartTls, &Refusing}) {
        const std::vector<std::string> Report = Peer->Finish();
        EXPECT_EQ(Report.back(), "DONE") << Report.front();
    }
}

// Connecting, the greeting, EHLO, STARTTLS with its handshake and the login
// share one bound: a server that accepts and then stays silent, greets late,
// stalls in the handshake or answers each step a little late is given up
// after ConnectTimeout in all, though every read alone may take 5 s.
TEST(AlertEmailSend, ConnectingHasOneDeadlineOverEveryStep) {
    const std::string Greeting = "220 mx.test ready\r\n";
    const std::string Ehlo = "EHLO client.test\r\n";
    struct Case {
        const char* Name;
        std::vector<std::string> Steps;
        int Encryption;
    };
    const std::vector<Case> Cases = {
        {"silent after the connect", {"stall"}, 0},
        {"greets after 3 s", {"pause:3000", Send(Greeting)}, 0},
        {"stalls in the TLS handshake",
         {Send(Greeting), Expect(Ehlo), Send("250-mx.test\r\n250 STARTTLS\r\n"),
          Expect("STARTTLS\r\n"), Send("220 go ahead\r\n"), "stall"},
         2},
        {"every step late, none past its own time-out",
         {"pause:900", Send(Greeting), Expect(Ehlo), "pause:900",
          Send("250-mx.test\r\n250 AUTH LOGIN\r\n"), Expect("AUTH LOGIN\r\n"), "pause:900",
          Send("334 VXNlcm5hbWU6\r\n"), "stall"},
         0},
    };
    for (const Case& C : Cases) {
        mailtest::ScriptedPeer Peer(C.Steps);
        AlertMailTransport Transport;
        Prepare(Transport, Controls(Peer.Port(), C.Encryption));
        AlertEmailRun Run;
        const auto Start = std::chrono::steady_clock::now();
        SendAlertEmailRun(Transport, TwoRecipients, 3, 1, Run);
        const auto Spent = std::chrono::steady_clock::now() - Start;
        EXPECT_TRUE(Run.Failed) << C.Name;
        EXPECT_NE(Run.Error.find("did not finish connecting within 2000 ms"), AnsiString::npos)
            << C.Name << ": " << Run.Error;
        EXPECT_GE(Spent, std::chrono::milliseconds(AlertMailTransport::ConnectTimeout - 100))
            << C.Name;
        EXPECT_LT(Spent, std::chrono::milliseconds(AlertMailTransport::ConnectTimeout + 900))
            << C.Name;
        EXPECT_EQ(Run.Unsent(), (std::vector<std::int32_t>{4, 9})) << C.Name;
        EXPECT_FALSE(Transport.Smtp().IsConnected()) << C.Name;
    }
}

TEST(AlertEmailSend, ARefusedMessageEndsThatMessageOnly) {
    const Certificates& Files = Certificates::Get();
    mailtest::SmtpPeer Server("plain", Files.LocalhostCert(), Files.LocalhostKey());
    // The server refuses one recipient and the data of another; one address
    // has no form an envelope can carry. Everybody else gets a message.
    const std::vector<AlertEmailRow> Rows = {
        Due(4, "ann@shop.example", 27, 2, "first"),
        Due(9, "refused-bob@shop.example", 27, 2, "second"),
        Due(11, "bounce-cy@shop.example", 27, 2, "third"),
        Due(12, "j\xc3\xb6rg@shop.example", 27, 2, "fourth"),
        Due(13, "dee@shop.example", 27, 2, "fifth"),
    };
    AlertMailTransport Transport;
    Prepare(Transport, Controls(Server.Port(), 0));
    AlertEmailRun Run;
    std::vector<std::int32_t> Accepted;
    std::vector<std::int32_t> Refused;
    SendAlertEmailRun(
        Transport, Rows, 3, 1, Run, [&](std::int32_t R) { Accepted.push_back(R); },
        [&](const AlertEmailRefusal& R) { Refused.push_back(R.Recipient); });
    EXPECT_FALSE(Run.Failed) << Run.Error;
    EXPECT_TRUE(Run.Completed());
    EXPECT_EQ(Run.Accepted, (std::vector<std::int32_t>{4, 13}));
    EXPECT_EQ(Accepted, Run.Accepted);
    EXPECT_EQ(Refused, (std::vector<std::int32_t>{9, 11, 12}));
    EXPECT_EQ(Run.Unsent(), (std::vector<std::int32_t>{9, 11, 12}));
    ASSERT_EQ(Run.Refused.size(), 3u);
    EXPECT_EQ(Run.Refused[0].Address, "refused-bob@shop.example");
    EXPECT_EQ(Run.Refused[0].Reason.rfind("550 ", 0), 0u) << Run.Refused[0].Reason;
    EXPECT_NE(Run.Refused[0].Reason.find("no such mailbox"), AnsiString::npos);
    EXPECT_EQ(Run.Refused[1].Reason.rfind("554 ", 0), 0u) << Run.Refused[1].Reason;
    EXPECT_NE(Run.Refused[2].Reason.find("cannot be used"), AnsiString::npos);
    EXPECT_FALSE(Transport.Smtp().IsConnected());
    const std::vector<mailtest::ReceivedMessage> Got = Server.Messages(2);
    ASSERT_EQ(Got.size(), 2u);
    EXPECT_EQ(Got[0].Recipients, std::vector<std::string>{"ann@shop.example"});
    EXPECT_EQ(Got[1].Recipients, std::vector<std::string>{"dee@shop.example"});
    EXPECT_TRUE(Got[1].Lines.size() > 0);
}

TEST(AlertEmailSend, ARefusedLoginEndsTheRun) {
    const Certificates& Files = Certificates::Get();
    mailtest::SmtpPeer Server("plain", Files.LocalhostCert(), Files.LocalhostKey());
    SmtpControlValues Values = Controls(Server.Port(), 0);
    Values.Password = "guess";
    AlertMailTransport Transport;
    Prepare(Transport, Values);
    AlertEmailRun Run;
    SendAlertEmailRun(Transport, TwoRecipients, 3, 1, Run);
    EXPECT_TRUE(Run.Failed);
    EXPECT_TRUE(Run.Refused.empty());
    // The login belongs to connecting.
    EXPECT_EQ(Run.FailedRecipient, 0);
    EXPECT_EQ(Run.Error.rfind("535 ", 0), 0u) << Run.Error;
    EXPECT_EQ(Run.Unsent(), (std::vector<std::int32_t>{4, 9}));
    EXPECT_FALSE(Transport.Smtp().IsConnected());
}

TEST(AlertEmailSend, AlertTextsAreCodedForTheWireAndArriveIntact) {
    const Certificates& Files = Certificates::Get();
    mailtest::SmtpPeer Server("plain", Files.LocalhostCert(), Files.LocalhostKey());
    // Raw UTF-8 (the server takes 8BITMIME), then a NUL byte and a line over
    // the limit, which must go quoted-printable. (The server reports what it
    // got through a pipe the test reads only afterwards: the line is kept
    // short enough for the pipe.)
    const std::vector<AlertEmailRow> Rows = {
        Due(4, "ann@shop.example", 27, 2,
            "Stra\xc3\x9f"
            "e gesperrt"),
        Due(9, "bob@shop.example", 27, 2, AnsiString("nul\0byte", 8) + AnsiString(2000, 'z')),
    };
    AlertMailTransport Transport;
    Prepare(Transport, Controls(Server.Port(), 0));
    AlertEmailRun Run;
    SendAlertEmailRun(Transport, Rows, 3, 1, Run);
    EXPECT_TRUE(Run.Completed()) << Run.Error;
    const std::vector<mailtest::ReceivedMessage> Got = Server.Messages(2);
    ASSERT_EQ(Got.size(), 2u);
    EXPECT_EQ(Got[0].MailOptions, "BODY=8BITMIME");
    EXPECT_EQ(Got[0].Header("Content-Transfer-Encoding"), "8bit");
    EXPECT_EQ(Got[1].MailOptions, "");
    EXPECT_EQ(Got[1].Header("Content-Transfer-Encoding"), "quoted-printable");
    for (std::size_t I = 0; I < Got.size(); ++I) {
        const mailtest::ReceivedMessage& Message = Got[I];
        std::string Text;
        for (const AnsiString& Line : ComposeAlertEmailBody(std::span(Rows).subspan(I, 1), 1))
            Text += Line + "\r\n";
        EXPECT_TRUE(Message.Payload == Text) << "message " << I;
        EXPECT_EQ(Message.Header("MIME-Version"), "1.0");
        EXPECT_EQ(Message.Header("Content-Type"), "text/plain; charset=\"UTF-8\"");
        for (const std::string& Line : Message.Lines)
            EXPECT_LE(Line.size(), 998u);
    }
}

} // namespace
