#include "Certificates.h"
#include "Peer.h"
#include "SmtpPeer.h"
#include "mail/MxEmailAddress.h"
#include "mail/MxExceptions.h"
#include "mail/MxHeaderList.h"
#include "mail/MxMessage.h"
#include "mail/MxNetExceptions.h"
#include "mail/MxSMTP.h"
#include "mail/MxSSLExceptions.h"
#include "mail/MxSSLIOHandler.h"
#include "platform/rtl/StringList.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace mail;
using mailtest::Certificates;
using mailtest::Expect;
using mailtest::ScriptedPeer;
using mailtest::Send;

namespace {

std::vector<AnsiString> Items(const TStringList& AList) {
    std::vector<AnsiString> items;
    for (int i = 0; i < AList.GetCount(); ++i)
        items.push_back(AList.Get(i));
    return items;
}

// A message whose bytes on the wire are fixed: its header lines and body
// go out as given.
void FillRaw(TMxMessage& AMsg, const std::vector<AnsiString>& ARecipients) {
    AMsg.NoEncode = true;
    AMsg.From()->SetAddress("alerts@shop.example");
    for (const AnsiString& address : ARecipients)
        AMsg.Recipients()->Add()->SetAddress(address);
    AMsg.RawHeaders()->Add("Subject: raw");
    AMsg.Body()->Add("hello");
}

const std::string RawData = "Subject: raw\r\n\r\nhello\r\n.\r\n";

} // namespace

TEST(MxSMTP, SettingsAreCoupledAndAssignCopiesTheConnectionSettings) {
    TMxSMTP smtp;
    EXPECT_EQ(smtp.Port(), 25);
    EXPECT_TRUE(smtp.UseEhlo());
    smtp.SetUseEhlo(false);
    smtp.SetAuthenticationType(TAuthenticationType::atLogin);
    EXPECT_TRUE(smtp.UseEhlo());
    smtp.SetUseEhlo(false);
    EXPECT_EQ(smtp.AuthenticationType(), TAuthenticationType::atNone);

    TMxSMTP source;
    source.SetAuthenticationType(TAuthenticationType::atLogin);
    source.SetHost("mail.shop.example");
    source.SetPort(587);
    source.MailAgent = "agent";
    source.Username = "user";
    source.Password = "secret";
    source.HeloName = "helo.example";
    TMxSMTP copy;
    copy.SetUseEhlo(false);
    copy.Assign(&source);
    EXPECT_EQ(copy.AuthenticationType(), TAuthenticationType::atLogin);
    EXPECT_TRUE(copy.UseEhlo()); // through the type's setter, not copied itself
    EXPECT_EQ(copy.Host(), "mail.shop.example");
    EXPECT_EQ(copy.Port(), 587);
    EXPECT_EQ(copy.MailAgent, "agent");
    EXPECT_EQ(copy.Username, "user");
    EXPECT_EQ(copy.Password, "secret");
    EXPECT_EQ(copy.HeloName, "");
}

TEST(MxSMTP, SendsWithLoginInTheClearUnderStartTlsAndUnderTls) {
    const Certificates& files = Certificates::Get();
    for (const std::string mode : {"plain", "starttls", "implicit"}) {
        mailtest::SmtpPeer server(mode, files.LocalhostCert(), files.LocalhostKey());
        TMxSSLIOHandlerSocket handler;
        handler.SSLOptions()->RootCertFile = files.CA();
        TMxSMTP smtp;
        smtp.SetHost("localhost");
        smtp.SetPort(server.Port());
        smtp.ReadTimeout = 5000;
        smtp.HeloName = "client.test";
        smtp.Username = "alerts";
        smtp.Password = "pa55word";
        smtp.MailAgent = "Beaconmill";
        smtp.SetAuthenticationType(TAuthenticationType::atLogin);
        if (mode != "plain") smtp.SetIOHandler(&handler);
        handler.SetBypassTls(mode == "starttls");

        smtp.Connect(5000);
        if (mode == "starttls") {
            // The server offers AUTH only under TLS: what it says then
            // must replace what it said in the clear.
            EXPECT_FALSE(smtp.IsAuthMechanismOffered(TAuthenticationType::atLogin));
            smtp.SendCommand("STARTTLS", 220);
            handler.SetBypassTls(false);
            smtp.SendCommand("EHLO client.test", 250);
        }
        EXPECT_TRUE(smtp.IsAuthMechanismOffered(TAuthenticationType::atLogin)) << mode;

        TMxMessage first;
        first.From()->SetAddress("alerts@shop.example");
        first.From()->SetName("Dornwick");
        first.Subject = "Dornwick Alerts";
        first.Recipients()->Add()->SetAddress("ops@shop.example");
        first.CCList()->Add()->SetAddress("boss@shop.example");
        first.BccList()->Add()->SetAddress("audit@shop.example");
        for (const char* line : {"Job 12 is late", ".", ".starts with a dot", ""})
            first.Body()->Add(line);
        smtp.Send(&first);
        TMxMessage second;
        second.From()->SetAddress("alerts@shop.example");
        second.Recipients()->Add()->SetAddress("buyer@shop.example");
        second.Body()->Add("PO 7 is due");
        smtp.Send(&second);
        EXPECT_TRUE(smtp.Authenticated()) << mode;
        smtp.Disconnect();
        EXPECT_FALSE(smtp.Authenticated()) << mode;

        const std::vector<mailtest::ReceivedMessage> got = server.Messages(2);
        ASSERT_EQ(got.size(), 2u) << mode;
        const mailtest::ReceivedMessage& a = got[0];
        EXPECT_EQ(a.Tls, mode != "plain") << mode;
        EXPECT_EQ(a.Login, "alerts") << mode;
        EXPECT_EQ(a.MailFrom, "alerts@shop.example") << mode;
        EXPECT_EQ(a.Recipients, (std::vector<std::string>{"ops@shop.example", "boss@shop.example",
                                                          "audit@shop.example"}))
            << mode;
        EXPECT_EQ(a.Header("Subject"), "Dornwick Alerts") << mode;
        EXPECT_EQ(a.Header("X-Mailer"), "Beaconmill") << mode;
        EXPECT_EQ(a.Header("Bcc"), "") << mode;
        EXPECT_EQ(a.Lines,
                  (std::vector<std::string>{"Job 12 is late", ".", ".starts with a dot", ""}))
            << mode;
        EXPECT_FALSE(a.BareLineFeed) << mode;
        EXPECT_EQ(got[1].Recipients, std::vector<std::string>{"buyer@shop.example"}) << mode;
        EXPECT_EQ(got[1].Lines, std::vector<std::string>{"PO 7 is due"}) << mode;
    }
}

TEST(MxSMTP, ServerCertificateMustBeTrustedAndCarryTheHostName) {
    const Certificates& files = Certificates::Get();
    struct Case {
        const char* Name;
        std::string Cert;
        std::string Key;
        bool GiveCA;
        bool Accepted;
    };
    const std::vector<Case> cases = {
        {"name does not match", files.WrongNameCert(), files.WrongNameKey(), true, false},
        {"issuer unknown", files.LocalhostCert(), files.LocalhostKey(), false, false},
        {"issuer given as root", files.LocalhostCert(), files.LocalhostKey(), true, true},
    };
    for (const Case& c : cases) {
        mailtest::SmtpPeer server("implicit", c.Cert, c.Key);
        TMxSSLIOHandlerSocket handler;
        if (c.GiveCA) handler.SSLOptions()->RootCertFile = files.CA();
        TMxSMTP smtp;
        smtp.SetIOHandler(&handler);
        smtp.SetHost("localhost");
        smtp.SetPort(server.Port());
        smtp.ReadTimeout = 5000;
        if (c.Accepted) {
            EXPECT_NO_THROW(smtp.Connect(5000)) << c.Name;
            EXPECT_EQ(smtp.SendCommand("NOOP", 250), 250) << c.Name;
            smtp.Disconnect();
            continue;
        }
        EXPECT_THROW(smtp.Connect(5000), EMxOSSLConnectError) << c.Name;
        EXPECT_FALSE(smtp.IsConnected()) << c.Name;
    }
}

TEST(MxSMTP, FollowsScriptedServers) {
    const std::string greeting = "220 mx.test ready\r\n";
    const std::string ehlo = "EHLO client.test\r\n";
    const std::string capabilities =
        "250-mx.test\r\n250-AUTH=LOGIN\r\n250-AUTH LOGIN PLAIN\r\n250 SIZE 1000\r\n";
    const std::vector<std::string> login = {
        Expect("AUTH LOGIN\r\n"),     Send("334 VXNlcm5hbWU6\r\n"), Expect("YWxlcnRz\r\n"),
        Send("334 UGFzc3dvcmQ6\r\n"), Expect("cGE1NXdvcmQ=\r\n"),   Send("235 ok\r\n")};
    struct Case {
        const char* Name;
        std::vector<std::string> Steps;
        std::function<void(TMxSMTP&)> Run;
    };
    auto concat = [](std::vector<std::vector<std::string>> AParts) {
        std::vector<std::string> all;
        for (auto& part : AParts)
            all.insert(all.end(), part.begin(), part.end());
        return all;
    };
    const std::vector<Case> cases = {
        {"EHLO refused, HELO accepted",
         {Send(greeting), Expect(ehlo), Send("500 what\r\n"), Expect("HELO client.test\r\n"),
          Send("250 hi\r\n"), Expect("QUIT\r\n")},
         [](TMxSMTP& s) {
             s.Connect(5000);
             EXPECT_EQ(s.OfferedAuthMechanisms()->GetCount(), 0);
             s.Disconnect();
         }},
        {"capabilities; login once; a refused recipient ends the transaction",
         concat({{Send(greeting), Expect(ehlo), Send(capabilities), Expect("RSET\r\n"),
                  Send("250 ok\r\n")},
                 login,
                 {Expect("MAIL FROM:<alerts@shop.example>\r\n"),
                  Send("250 ok\r\n"),
                  Expect("RCPT TO:<a@shop.example>\r\n"),
                  Send("251 forwarded\r\n"),
                  Expect("RCPT TO:<b@shop.example>\r\n"),
                  Send("550 no such user\r\n"),
                  Expect("RSET\r\n"),
                  Send("250 ok\r\n"),
                  Expect("MAIL FROM:<alerts@shop.example>\r\n"),
                  Send("250 ok\r\n"),
                  Expect("RCPT TO:<a@shop.example>\r\n"),
                  Send("250 ok\r\n"),
                  Expect("RCPT TO:<b@shop.example>\r\n"),
                  Send("250 ok\r\n"),
                  Expect("RCPT TO:<c@shop.example>\r\n"),
                  Send("250 ok\r\n"),
                  Expect("DATA\r\n"),
                  Send("354 go\r\n"),
                  Expect(RawData),
                  Send("250 queued\r\n"),
                  Expect("QUIT\r\n")}}),
         [](TMxSMTP& s) {
             s.SetAuthenticationType(TAuthenticationType::atLogin);
             s.Connect(5000);
             EXPECT_EQ(Items(*s.OfferedAuthMechanisms()),
                       (std::vector<AnsiString>{"LOGIN", "PLAIN"}));
             TMxMessage msg;
             FillRaw(msg, {"a@shop.example", "b@shop.example", "c@shop.example"});
             try {
                 s.Send(&msg);
                 ADD_FAILURE() << "550 accepted";
             } catch (const EMxProtocolReplyError& e) {
                 EXPECT_EQ(e.ReplyErrorCode, 550);
             }
             s.Send(&msg);
             s.Disconnect();
         }},
        {"421 after the message",
         {Send(greeting), Expect(ehlo), Send("250 mx.test\r\n"), Expect("RSET\r\n"),
          Send("250 ok\r\n"), Expect("MAIL FROM:<alerts@shop.example>\r\n"), Send("250 ok\r\n"),
          Expect("RCPT TO:<a@shop.example>\r\n"), Send("250 ok\r\n"), Expect("DATA\r\n"),
          Send("354 go\r\n"), Expect(RawData), Send("421 shutting down\r\n"), Expect("QUIT\r\n")},
         [](TMxSMTP& s) {
             s.Connect(5000);
             TMxMessage msg;
             FillRaw(msg, {"a@shop.example"});
             try {
                 s.Send(&msg);
                 ADD_FAILURE() << "421 accepted";
             } catch (const EMxProtocolReplyError& e) {
                 EXPECT_EQ(e.ReplyErrorCode, 421);
                 EXPECT_STREQ(e.what(), "shutting down\r\n");
             }
             s.Disconnect();
         }},
        {"8BITMIME announced: an 8-bit body says so in MAIL FROM",
         {Send(greeting), Expect(ehlo), Send("250-mx.test\r\n250 8BITMIME\r\n"), Expect("RSET\r\n"),
          Send("250 ok\r\n"), Expect("MAIL FROM:<alerts@shop.example> BODY=8BITMIME\r\n"),
          Send("250 ok\r\n"), Expect("RCPT TO:<a@shop.example>\r\n"), Send("250 ok\r\n"),
          Expect("DATA\r\n"), Send("354 go\r\n"),
          Expect("Subject: raw\r\n\r\nh\xc3\xa9llo\r\n.\r\n"), Send("250 queued\r\n"),
          Expect("QUIT\r\n")},
         [](TMxSMTP& s) {
             s.Connect(5000);
             EXPECT_TRUE(s.EightBitMime());
             TMxMessage msg;
             FillRaw(msg, {"a@shop.example"});
             msg.Body()->Put(0, "h\xc3\xa9llo");
             s.Send(&msg);
             s.Disconnect();
         }},
        {"greeting refused",
         {Send("554 go away\r\n"), Expect("QUIT\r\n")},
         [](TMxSMTP& s) {
             EXPECT_THROW(s.Connect(5000), EMxProtocolReplyError);
             EXPECT_FALSE(s.IsConnected());
         }},
        {"server stalls after the greeting",
         {Send(greeting), Expect(ehlo), "stall"},
         [](TMxSMTP& s) {
             s.ReadTimeout = 300;
             const auto start = std::chrono::steady_clock::now();
             EXPECT_THROW(s.Connect(5000), EMxReadTimeout);
             EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
             EXPECT_FALSE(s.IsConnected());
         }},
        {"STARTTLS discards what followed the go-ahead",
         {Send(greeting), Expect(ehlo), Send(capabilities), Expect("STARTTLS\r\n"),
          Send("220 go ahead\r\n250 injected\r\n"), Expect("QUIT\r\n")},
         [](TMxSMTP& s) {
             s.Connect(5000);
             s.SendCommand("STARTTLS", 220);
             EXPECT_EQ(s.InputBuffer().Size(), 0);
             EXPECT_EQ(s.OfferedAuthMechanisms()->GetCount(), 0);
             s.Disconnect();
         }},
        {"VRFY and EXPN",
         {Send(greeting), Expect(ehlo), Send("250 mx.test\r\n"), Expect("VRFY bob\r\n"),
          Send("250 Bob <bob@shop.example>\r\n"), Expect("EXPN staff\r\n"),
          Send("250-Ann <ann@shop.example>\r\n250 Bob <bob@shop.example>\r\n"),
          Expect("VRFY eve\r\n"), Send("252 cannot verify\r\n"), Expect("QUIT\r\n")},
         [](TMxSMTP& s) {
             s.Connect(5000);
             EXPECT_EQ(s.Verify("bob"), "Bob <bob@shop.example>");
             s.Expand("staff");
             EXPECT_EQ(s.LastCmdResult().Text().GetCount(), 2);
             EXPECT_THROW(s.Verify("eve"), EMxProtocolReplyError);
             // A value that would end the command line is never sent.
             EXPECT_THROW(s.Verify("bob\r\nRCPT TO:<x@y>"), EMxException);
             s.Disconnect();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        ScriptedPeer peer(c.Steps);
        TMxSMTP smtp;
        smtp.SetHost("127.0.0.1");
        smtp.SetPort(peer.Port());
        smtp.HeloName = "client.test";
        smtp.Username = "alerts";
        smtp.Password = "pa55word";
        smtp.ReadTimeout = 5000;
        c.Run(smtp);
        smtp.Disconnect();
        EXPECT_FALSE(smtp.Authenticated());
        EXPECT_EQ(peer.Finish(), std::vector<std::string>{"DONE"});
    }
}

TEST(MxSMTP, TheEnvelopeCarriesEachAddressInItsOwnFormAndNothingElse) {
    const std::string greeting = "220 mx.test ready\r\n";
    struct Case {
        AnsiString Address;  // the recipient's address as the item holds it
        AnsiString Envelope; // between the brackets of RCPT TO; empty: refused
    };
    const std::vector<Case> cases = {
        {"ann@shop.example", "ann@shop.example"},
        {"a.b+tag@mx-1.shop.example", "a.b+tag@mx-1.shop.example"},
        {"ann@[192.0.2.1]", "ann@[192.0.2.1]"},
        {"postmaster", "postmaster"},
        // A quoted local part that would add parameters to the command.
        {"a> NOTIFY=SUCCESS ORCPT=rfc822;spy@evil.example@shop.example",
         "\"a> NOTIFY=SUCCESS ORCPT=rfc822;spy@evil.example\"@shop.example"},
        {"x y@shop.example", "\"x y\"@shop.example"},
        {"say\"hi\"@shop.example", "\"say\\\"hi\\\"\"@shop.example"},
        {"back\\slash@shop.example", "\"back\\\\slash\"@shop.example"},
        {".lead..dots.@shop.example", "\".lead..dots.\"@shop.example"},
        {"a<b>@shop.example", "\"a<b>\"@shop.example"},
        // No envelope form at all: nothing of the message is sent.
        {"", ""},
        {"a@shop.example> NOTIFY=NEVER", ""},
        {"a@shop example", ""},
        {"a@", ""},
        {"@shop.example", ""},
        {"a@-shop.example", ""},
        {"j\xc3\xb6rg@shop.example", ""},
        {"tab\there@shop.example", ""},
        {"a@[1.2.3.4", ""},
    };
    // One connection a case, all on one scripted server.
    std::vector<std::string> steps;
    std::vector<std::string> expected;
    for (const Case& c : cases) {
        if (!steps.empty()) steps.push_back("--");
        steps.insert(steps.end(),
                     {Send(greeting), Expect("EHLO client.test\r\n"), Send("250 mx.test\r\n")});
        if (!c.Envelope.empty()) {
            // The RCPT line is captured whole, then refused to end the case.
            steps.insert(steps.end(), {Expect("RSET\r\n"), Send("250 ok\r\n"),
                                       Expect("MAIL FROM:<alerts@shop.example>\r\n"),
                                       Send("250 ok\r\n"), "recvline", Send("550 no\r\n")});
            expected.push_back("LINE " + mailtest::Hex("RCPT TO:<" + c.Envelope + ">\r\n"));
        }
        steps.push_back(Expect("QUIT\r\n"));
    }
    expected.push_back("DONE");
    ScriptedPeer peer(steps);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Address);
        TMxSMTP smtp;
        smtp.SetHost("127.0.0.1");
        smtp.SetPort(peer.Port());
        smtp.HeloName = "client.test";
        smtp.ReadTimeout = 5000;
        smtp.Connect(5000);
        TMxMessage msg;
        msg.From()->SetAddress("alerts@shop.example");
        msg.Recipients()->Add()->SetAddress(c.Address);
        msg.Body()->Add("hello");
        if (c.Envelope.empty()) {
            EXPECT_THROW(smtp.Send(&msg), EMxEmailParseError);
        } else {
            EXPECT_THROW(smtp.Send(&msg), EMxProtocolReplyError);
        }
        smtp.Disconnect();
    }
    EXPECT_EQ(peer.Finish(), expected);

    // The address as a recipient text gives it: the quotes are gone from
    // the item and come back in the envelope.
    TMxEMailAddressList list;
    list.SetAddressText("Spy <\"a> NOTIFY=SUCCESS ORCPT=rfc822;spy@evil.example\"@shop.example>");
    ASSERT_EQ(list.Count(), 1);
    EXPECT_EQ(EnvelopeAddress(list.Items(0)->Address()),
              "\"a> NOTIFY=SUCCESS ORCPT=rfc822;spy@evil.example\"@shop.example");
}

TEST(MxSMTP, RefusedLoginRaisesWithTheServersCode) {
    const Certificates& files = Certificates::Get();
    mailtest::SmtpPeer server("plain", files.LocalhostCert(), files.LocalhostKey());
    TMxSMTP smtp;
    smtp.SetHost("127.0.0.1");
    smtp.SetPort(server.Port());
    smtp.ReadTimeout = 5000;
    smtp.Username = "alerts";
    smtp.Password = "wrong";
    smtp.SetAuthenticationType(TAuthenticationType::atLogin);
    smtp.Connect(5000);
    try {
        smtp.Authenticate();
        ADD_FAILURE() << "a wrong password was accepted";
    } catch (const EMxProtocolReplyError& e) {
        EXPECT_EQ(e.ReplyErrorCode, 535);
    }
    EXPECT_FALSE(smtp.Authenticated());
    smtp.Disconnect();
}
