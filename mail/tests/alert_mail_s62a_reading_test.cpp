// The mail services the alert program drives, taken the way it takes them:
// an SMTP client, a message and a TLS handler set up as its main window
// does, host and account set before each connection, then connect (in the
// clear, TLS from the start, or STARTTLS), send one message per recipient
// and disconnect, against a real SMTP server.
#include "Certificates.h"
#include "SmtpPeer.h"

#include "mail/MxComponent.h"
#include "mail/MxExceptions.h"
#include "mail/MxMessage.h"
#include "mail/MxNetExceptions.h"
#include "mail/MxSMTP.h"
#include "mail/MxSSLExceptions.h"
#include "mail/MxSSLIOHandler.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace mail;
using mailtest::Certificates;
using mailtest::SmtpPeer;

namespace {

enum class Encryption { None, FromStart, StartTls };

// The three components as the main window's form resource leaves them.
struct AlertMailer {
    TMxSMTP Smtp;
    TMxMessage Message;
    TMxSSLIOHandlerSocket Tls;

    AlertMailer() {
        Smtp.SetPort(25);
        Smtp.SetAuthenticationType(TAuthenticationType::atLogin);
        Smtp.MaxLineAction = TMxMaxLineAction::maException;
        Message.From()->SetName("Dornwick");
        Message.SetEncoding(TMxMessageEncoding::meMIME);
        Message.SetAttachmentEncoding("MIME");
        Message.Priority = TMxMessagePriority::mpHigh;
        Tls.SSLOptions()->Method = TMxSSLVersion::sslvSSLv3;
        Tls.SSLOptions()->Mode = TMxSSLMode::sslmUnassigned;
        Tls.SSLOptions()->VerifyDepth = 0;
    }

    void Configure(int APort, Encryption AEncryption, const AnsiString& APassword = "pa55word") {
        Smtp.SetHost("localhost");
        // The test server's certificate comes from a private authority.
        Tls.SSLOptions()->RootCertFile = Certificates::Get().CA();
        Smtp.SetPort(APort);
        Smtp.Username = "alerts";
        Smtp.Password = APassword;
        switch (AEncryption) {
        case Encryption::None:
            Smtp.SetIOHandler(nullptr);
            break;
        case Encryption::FromStart:
            Tls.SSLOptions()->Method = TMxSSLVersion::sslvSSLv3;
            Tls.SetBypassTls(false);
            Smtp.SetIOHandler(&Tls);
            break;
        case Encryption::StartTls:
            Tls.SSLOptions()->Method = TMxSSLVersion::sslvTLSv1;
            Tls.SetBypassTls(true);
            Smtp.SetIOHandler(&Tls);
            break;
        }
    }

    void Open(Encryption AEncryption) {
        Smtp.Connect(2000);
        if (AEncryption != Encryption::StartTls) return;
        Smtp.SendCommand("STARTTLS", 220);
        Tls.SetBypassTls(false);
        const AnsiString name =
            Smtp.HeloName.empty() ? TMxComponent::GetLocalHostName() : Smtp.HeloName;
        Smtp.SendCommand("EHLO " + name, 250);
    }

    void SendTo(const AnsiString& ARecipients, const AnsiString& ASubject) {
        Message.From()->SetAddress("alerts@shop.example");
        Message.Subject = ASubject;
        TStringList body;
        body.Add("Job alerts");
        body.Add("  Job 1001 is overdue");
        Message.SetBody(&body);
        Message.Recipients()->SetAddressText(ARecipients);
        Smtp.Send(&Message);
    }
};

int RefusingPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
    socklen_t len = sizeof addr;
    getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len);
    close(fd);
    return ntohs(addr.sin_port);
}

TEST(AlertMailReading, SendsOneMessagePerRecipientInEachTransport) {
    const Certificates& certs = Certificates::Get();
    const struct {
        const char* Mode;
        Encryption Kind;
        bool Tls;
    } cases[] = {
        {"plain", Encryption::None, false},
        {"implicit", Encryption::FromStart, true},
        {"starttls", Encryption::StartTls, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Mode);
        SmtpPeer peer(c.Mode, certs.LocalhostCert(), certs.LocalhostKey());
        AlertMailer mailer;
        mailer.Configure(peer.Port(), c.Kind);
        mailer.Open(c.Kind);
        EXPECT_TRUE(mailer.Smtp.IsConnected());
        mailer.SendTo("Ann <ann@shop.example>", "Dornwick Alerts for 2026/03/04");
        EXPECT_TRUE(mailer.Smtp.Authenticated());
        mailer.SendTo("bob@shop.example", "Dornwick Alerts");
        EXPECT_EQ(mailer.Message.Recipients()->GetAddressText(), "bob@shop.example");
        mailer.Smtp.Disconnect();
        EXPECT_FALSE(mailer.Smtp.IsConnected());
        EXPECT_FALSE(mailer.Smtp.Authenticated());

        const auto messages = peer.Messages(2);
        ASSERT_EQ(messages.size(), 2u);
        const char* to[] = {"ann@shop.example", "bob@shop.example"};
        const char* subject[] = {"Dornwick Alerts for 2026/03/04", "Dornwick Alerts"};
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(messages[i].Tls, c.Tls);
            EXPECT_EQ(messages[i].Login, "alerts");
            EXPECT_EQ(messages[i].MailFrom, "alerts@shop.example");
            ASSERT_EQ(messages[i].Recipients.size(), 1u);
            EXPECT_EQ(messages[i].Recipients[0], to[i]);
            EXPECT_EQ(messages[i].Header("Subject"), subject[i]);
            EXPECT_EQ(messages[i].Header("From"), "\"Dornwick\" <alerts@shop.example>");
            EXPECT_EQ(messages[i].Header("X-Priority"), "2");
            EXPECT_EQ(messages[i].Payload, "Job alerts\r\n  Job 1001 is overdue\r\n");
        }

        // The same components serve the next run, set up again as each run does.
        mailer.Configure(peer.Port(), c.Kind);
        mailer.Open(c.Kind);
        mailer.SendTo("cy@shop.example", "Dornwick Alerts");
        mailer.Smtp.Disconnect();
        ASSERT_EQ(peer.Messages(1).size(), 1u);
    }
}

TEST(AlertMailReading, FailuresRaiseErrorsWithTheirText) {
    const Certificates& certs = Certificates::Get();
    {
        AlertMailer mailer;
        mailer.Configure(RefusingPort(), Encryption::None);
        try {
            mailer.Open(Encryption::None);
            FAIL() << "no error";
        } catch (const EMxSocketError& e) {
            EXPECT_NE(e.LastError, 0);
            EXPECT_STRNE(e.what(), "");
        }
        EXPECT_FALSE(mailer.Smtp.IsConnected());
    }
    {
        // A listener that never accepts: a backlog of 0 holds one waiting
        // connection and the system drops the next attempts unanswered.
        const int listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        socklen_t len = sizeof addr;
        getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &len);
        ASSERT_EQ(listen(listener, 0), 0);
        const int filler = socket(AF_INET, SOCK_STREAM, 0);
        ASSERT_EQ(connect(filler, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
        for (Encryption kind : {Encryption::None, Encryption::FromStart}) {
            AlertMailer mailer;
            mailer.Configure(ntohs(addr.sin_port), kind);
            try {
                mailer.Smtp.Connect(400);
                ADD_FAILURE() << "connected";
            } catch (const EMxConnectTimeout& e) {
                EXPECT_STREQ(e.what(), "Connect timed out.");
            }
            EXPECT_FALSE(mailer.Smtp.IsConnected());
        }
        close(filler);
        close(listener);
    }
    {
        // A refused recipient raises the reply error; the connection is
        // still closed by the caller's disconnect.
        SmtpPeer peer("plain", certs.LocalhostCert(), certs.LocalhostKey());
        AlertMailer mailer;
        mailer.Configure(peer.Port(), Encryption::None);
        mailer.Open(Encryption::None);
        try {
            mailer.SendTo("refused@shop.example", "Dornwick Alerts");
            FAIL() << "no error";
        } catch (const EMxProtocolReplyError& e) {
            EXPECT_EQ(e.ReplyErrorCode, 550);
            EXPECT_STRNE(e.what(), "");
        }
        mailer.Smtp.Disconnect();
        EXPECT_FALSE(mailer.Smtp.IsConnected());
    }
    {
        SmtpPeer peer("plain", certs.LocalhostCert(), certs.LocalhostKey());
        AlertMailer mailer;
        mailer.Configure(peer.Port(), Encryption::None, "wrong");
        mailer.Open(Encryption::None);
        try {
            mailer.SendTo("ann@shop.example", "Dornwick Alerts");
            FAIL() << "no error";
        } catch (const EMxProtocolReplyError& e) {
            EXPECT_EQ(e.ReplyErrorCode / 100, 5);
        }
        EXPECT_FALSE(mailer.Smtp.Authenticated());
        mailer.Smtp.Disconnect();
        EXPECT_TRUE(peer.Messages(1).empty());
    }
    {
        // A server that cannot run STARTTLS refuses it with a reply error.
        SmtpPeer peer("plain", certs.LocalhostCert(), certs.LocalhostKey());
        AlertMailer mailer;
        mailer.Configure(peer.Port(), Encryption::StartTls);
        try {
            mailer.Open(Encryption::StartTls);
            FAIL() << "no error";
        } catch (const EMxProtocolReplyError& e) {
            EXPECT_STRNE(e.what(), "");
        }
        mailer.Smtp.Disconnect();
    }
    {
        // A TLS context that cannot be made (its trust file is missing)
        // fails the connect phase with a TLS error and leaves nothing open.
        SmtpPeer peer("starttls", certs.LocalhostCert(), certs.LocalhostKey());
        AlertMailer mailer;
        mailer.Configure(peer.Port(), Encryption::StartTls);
        mailer.Tls.SSLOptions()->RootCertFile = "/nonexistent/ca.crt";
        EXPECT_THROW(mailer.Open(Encryption::StartTls), EMxOpenSSLError);
        EXPECT_FALSE(mailer.Smtp.IsConnected());
        mailer.Smtp.Disconnect();
    }
    {
        // TLS from the start against a server that talks in the clear fails
        // within the time and leaves the client closed.
        SmtpPeer peer("plain", certs.LocalhostCert(), certs.LocalhostKey());
        AlertMailer mailer;
        mailer.Tls.HandshakeTimeout = 2000;
        mailer.Configure(peer.Port(), Encryption::FromStart);
        EXPECT_THROW(mailer.Open(Encryption::FromStart), EMxException);
        EXPECT_FALSE(mailer.Smtp.IsConnected());
    }
}

TEST(AlertMailReading, HandlerAndNames) {
    EXPECT_FALSE(TMxComponent::GetLocalHostName().empty());
    TMxSMTP smtp;
    EXPECT_EQ(smtp.HeloName, "");
    {
        TMxSSLIOHandlerSocket handler;
        smtp.SetIOHandler(&handler);
        EXPECT_EQ(smtp.IOHandler(), &handler);
    }
    // A freed handler is let go: the next connect uses a plain socket.
    EXPECT_EQ(smtp.IOHandler(), nullptr);
    smtp.SetHost("mail.shop.example");
    smtp.SetPort(587);
    EXPECT_EQ(smtp.Host(), "mail.shop.example");
    EXPECT_EQ(smtp.Port(), 587);
}

} // namespace
