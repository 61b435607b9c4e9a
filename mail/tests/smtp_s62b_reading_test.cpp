// The SMTP client against a loopback peer that answers from a script: what
// goes on the wire for each server answer, and what the client keeps.
#include "MessagePeer.h"
#include "TextLines.h"

#include "mail/MxComponent.h"
#include "mail/MxEmailAddress.h"
#include "mail/MxExceptions.h"
#include "mail/MxHeaderList.h"
#include "mail/MxMessage.h"
#include "mail/MxSMTP.h"
#include "platform/rtl/StringList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace mail;
using mailtest::Lines;

namespace {

// The commands (lines) the client sent, in order, leaving out the message
// between DATA and the "." line.
std::vector<std::string> Commands(const std::string& AText) {
    std::vector<std::string> commands;
    bool inData = false;
    for (const std::string& line : Lines(AText)) {
        if (inData) {
            if (line == ".") {
                inData = false;
                commands.push_back(line);
            }
            continue;
        }
        commands.push_back(line);
        if (line == "DATA") inData = true;
    }
    return commands;
}

// The message lines between DATA and the "." line of the first transaction.
std::vector<std::string> MessageLines(const std::string& AText) {
    std::vector<std::string> lines;
    bool inData = false;
    for (const std::string& line : Lines(AText)) {
        if (inData && line == ".") break;
        if (inData) lines.push_back(line);
        if (line == "DATA") inData = true;
    }
    return lines;
}

const std::string Greeting = "220 mx.example ready\r\n";
const std::string EhloAuth = "250-mx.example\r\n250-AUTH=LOGIN\r\n250 AUTH LOGIN PLAIN\r\n";
const std::string EhloPlain = "250-mx.example\r\n250 SIZE 1000\r\n";
const std::string TransactionOk = "250 reset\r\n250 sender ok\r\n250 rcpt ok\r\n354 go\r\n250 queued\r\n";
const std::string LoginOk = "334 VXNlcm5hbWU6\r\n334 UGFzc3dvcmQ6\r\n235 ok\r\n";

struct Client {
    explicit Client(int APort) {
        smtp.SetHost("127.0.0.1");
        smtp.SetPort(APort);
        smtp.HeloName = "probe.example";
        smtp.ReadTimeout = 5000;
    }
    TMxSMTP smtp;
};

void OneRecipient(TMxMessage& AMsg) {
    AMsg.From()->SetText("Sender Name <from@example.com>");
    AMsg.Recipients()->Add()->SetText("Rcpt Name <to@example.com>");
    AMsg.Subject = "hello";
    AMsg.Body()->Add("line");
}

} // namespace

TEST(SmtpReading, ConnectOpensTheConversationForEachServerAnswer) {
    struct Case {
        const char* name;
        bool useEhlo;
        std::string replies;
        std::vector<std::string> commands;
        std::vector<std::string> offered;
    };
    const std::vector<Case> cases = {
        {"ehlo lists AUTH twice", true, Greeting + EhloAuth,
         {"EHLO probe.example", "QUIT"}, {"LOGIN", "PLAIN"}},
        {"ehlo refused falls back to helo", true, Greeting + "500 what\r\n250 hi\r\n",
         {"EHLO probe.example", "HELO probe.example", "QUIT"}, {}},
        {"ehlo off sends helo only", false, Greeting + "250 hi\r\n",
         {"HELO probe.example", "QUIT"}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mailtest::LoopbackPeer peer(c.replies);
        Client client(peer.Port());
        client.smtp.SetUseEhlo(c.useEhlo);
        client.smtp.Connect(2000);
        std::vector<std::string> offered;
        for (int i = 0; i < client.smtp.OfferedAuthMechanisms()->Count(); ++i)
            offered.push_back(client.smtp.OfferedAuthMechanisms()->Strings(i));
        EXPECT_EQ(offered, c.offered);
        client.smtp.Disconnect();
        EXPECT_EQ(Commands(peer.Received()), c.commands);
    }
}

TEST(SmtpReading, RefusedOpeningRaisesQuitsAndLeavesTheClientClosed) {
    struct Case {
        const char* name;
        bool useEhlo;
        std::string replies;
        int code;
        std::vector<std::string> commands;
    };
    const std::vector<Case> cases = {
        {"greeting refused", true, "554 go away\r\n", 554, {"QUIT"}},
        {"helo refused", false, Greeting + "501 bad name\r\n", 501, {"HELO probe.example", "QUIT"}},
        {"ehlo and helo refused", true, Greeting + "502 no\r\n503 no\r\n", 503,
         {"EHLO probe.example", "HELO probe.example", "QUIT"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mailtest::LoopbackPeer peer(c.replies);
        Client client(peer.Port());
        client.smtp.SetUseEhlo(c.useEhlo);
        try {
            client.smtp.Connect(2000);
            ADD_FAILURE() << "no exception";
        } catch (const EMxProtocolReplyError& e) {
            EXPECT_EQ(e.ReplyErrorCode, c.code);
        }
        EXPECT_FALSE(client.smtp.IsConnected());
        EXPECT_EQ(Commands(peer.Received()), c.commands);
    }
}

TEST(SmtpReading, EmptyHeloNameSendsTheLocalHostName) {
    mailtest::LoopbackPeer peer(Greeting + EhloPlain);
    Client client(peer.Port());
    client.smtp.HeloName.clear();
    client.smtp.Connect(2000);
    client.smtp.Disconnect();
    const std::vector<std::string> expected = {"EHLO " + TMxComponent::GetLocalHostName(), "QUIT"};
    EXPECT_FALSE(TMxComponent::GetLocalHostName().empty());
    EXPECT_EQ(Commands(peer.Received()), expected);
}

TEST(SmtpReading, SettingsAreCoupledAndAssignCopiesTheListedOnes) {
    TMxSMTP smtp;
    EXPECT_TRUE(smtp.UseEhlo());
    EXPECT_EQ(smtp.AuthenticationType(), TAuthenticationType::atNone);
    EXPECT_EQ(smtp.Port(), 25);
    smtp.SetUseEhlo(false);
    smtp.SetAuthenticationType(TAuthenticationType::atLogin);
    EXPECT_TRUE(smtp.UseEhlo());
    smtp.SetUseEhlo(false);
    EXPECT_EQ(smtp.AuthenticationType(), TAuthenticationType::atNone);

    TMxSMTP source;
    source.SetAuthenticationType(TAuthenticationType::atLogin);
    source.SetHost("mx.example");
    source.MailAgent = "agent";
    source.Password = "pw";
    source.SetPort(587);
    source.Username = "user";
    source.HeloName = "helo.example";
    TMxSMTP target;
    target.SetUseEhlo(false);
    target.HeloName = "mine";
    target.Assign(&source);
    EXPECT_EQ(target.AuthenticationType(), TAuthenticationType::atLogin);
    EXPECT_EQ(target.Host(), "mx.example");
    EXPECT_EQ(target.MailAgent, "agent");
    EXPECT_EQ(target.Password, "pw");
    EXPECT_EQ(target.Port(), 587);
    EXPECT_EQ(target.Username, "user");
    EXPECT_EQ(target.HeloName, "mine");
    // The setter of the authentication type turned EHLO on.
    EXPECT_TRUE(target.UseEhlo());
    // Anything else is refused by the framework and changes nothing.
    TMxMessage other;
    EXPECT_THROW(target.Assign(&other), Exception);
    EXPECT_EQ(target.Host(), "mx.example");
}

TEST(SmtpReading, SendAuthenticatesOnlyWhenOfferedAndOncePerConnection) {
    struct Case {
        const char* name;
        std::string ehlo;
        bool explicitAuthenticate;
        std::vector<std::string> commands;
    };
    const std::string login64 = "dXNlcg=="; // "user"
    const std::string pass64 = "c2VjcmV0"; // "secret"
    const std::vector<Case> cases = {
        {"offered", EhloAuth, false,
         {"EHLO probe.example", "RSET", "AUTH LOGIN", login64, pass64, "MAIL FROM:<from@example.com>",
          "RCPT TO:<to@example.com>", "DATA", ".", "RSET", "MAIL FROM:<from@example.com>",
          "RCPT TO:<to@example.com>", "DATA", ".", "QUIT"}},
        {"not offered", EhloPlain, false,
         {"EHLO probe.example", "RSET", "MAIL FROM:<from@example.com>", "RCPT TO:<to@example.com>",
          "DATA", ".", "RSET", "MAIL FROM:<from@example.com>", "RCPT TO:<to@example.com>", "DATA",
          ".", "QUIT"}},
        {"not offered, explicit", EhloPlain, true,
         {"EHLO probe.example", "AUTH LOGIN", login64, pass64, "RSET",
          "MAIL FROM:<from@example.com>", "RCPT TO:<to@example.com>", "DATA", ".", "RSET",
          "MAIL FROM:<from@example.com>", "RCPT TO:<to@example.com>", "DATA", ".", "QUIT"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool loginFirst = c.explicitAuthenticate || c.ehlo == EhloAuth;
        std::string replies = Greeting + c.ehlo;
        if (c.explicitAuthenticate) replies += LoginOk;
        replies += "250 reset\r\n";
        if (loginFirst && !c.explicitAuthenticate) replies += LoginOk;
        replies += "250 sender ok\r\n250 rcpt ok\r\n354 go\r\n250 queued\r\n" + TransactionOk;
        mailtest::LoopbackPeer peer(replies);
        Client client(peer.Port());
        client.smtp.SetAuthenticationType(TAuthenticationType::atLogin);
        client.smtp.Username = "user";
        client.smtp.Password = "secret";
        client.smtp.Connect(2000);
        if (c.explicitAuthenticate) {
            EXPECT_TRUE(client.smtp.Authenticate());
        }
        TMxMessage msg;
        OneRecipient(msg);
        client.smtp.Send(&msg);
        client.smtp.Send(&msg);
        EXPECT_EQ(client.smtp.Authenticated(), loginFirst);
        client.smtp.Disconnect();
        EXPECT_FALSE(client.smtp.Authenticated());
        EXPECT_EQ(Commands(peer.Received()), c.commands);
    }
}

TEST(SmtpReading, AuthenticateWithoutLoginSendsNothingButMarksAuthenticated) {
    mailtest::LoopbackPeer peer(Greeting + EhloAuth);
    Client client(peer.Port());
    client.smtp.Connect(2000);
    EXPECT_FALSE(client.smtp.Authenticate());
    EXPECT_TRUE(client.smtp.Authenticated());
    EXPECT_TRUE(client.smtp.IsAuthMechanismOffered(TAuthenticationType::atLogin));
    EXPECT_FALSE(client.smtp.IsAuthMechanismOffered(TAuthenticationType::atNone));
    client.smtp.Disconnect();
    EXPECT_FALSE(client.smtp.Authenticated());
    // Closed already: nothing is written and nothing raises.
    client.smtp.Disconnect();
    EXPECT_EQ(Commands(peer.Received()), (std::vector<std::string>{"EHLO probe.example", "QUIT"}));
}

TEST(SmtpReading, RecipientAnswersDecideWhetherTheTransactionGoesOn) {
    struct Case {
        const char* name;
        std::string rcptReplies;
        bool raises;
        std::vector<std::string> commands;
    };
    const std::vector<Case> cases = {
        {"251 accepted", "250 ok\r\n251 forwarded\r\n250 ok\r\n354 go\r\n250 queued\r\n", false,
         {"RSET", "MAIL FROM:<from@example.com>", "RCPT TO:<a@example.com>", "RCPT TO:<c@example.com>",
          "RCPT TO:<b@example.com>", "DATA", ".", "QUIT"}},
        {"550 ends", "250 ok\r\n550 no such user\r\n", true,
         {"RSET", "MAIL FROM:<from@example.com>", "RCPT TO:<a@example.com>", "RCPT TO:<c@example.com>",
          "QUIT"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mailtest::LoopbackPeer peer(Greeting + EhloPlain + "250 reset\r\n250 sender ok\r\n" +
                                    c.rcptReplies);
        Client client(peer.Port());
        client.smtp.Connect(2000);
        TMxMessage msg;
        msg.From()->SetText("Sender Name <from@example.com>");
        msg.Recipients()->Add()->SetText("A <a@example.com>");
        msg.CCList()->Add()->SetText("c@example.com");
        msg.BccList()->Add()->SetText("Hidden <b@example.com>");
        msg.Body()->Add("x");
        if (c.raises) {
            try {
                client.smtp.Send(&msg);
                ADD_FAILURE() << "no exception";
            } catch (const EMxProtocolReplyError& e) {
                EXPECT_EQ(e.ReplyErrorCode, 550);
            }
            EXPECT_TRUE(client.smtp.IsConnected());
        } else {
            client.smtp.Send(&msg);
        }
        client.smtp.Disconnect();
        std::vector<std::string> commands = Commands(peer.Received());
        commands.erase(commands.begin());
        EXPECT_EQ(commands, c.commands);
    }
}

TEST(SmtpReading, MessageCarriesTheMailAgentAndNoBlindCopies) {
    struct Case {
        const char* name;
        std::string agent;
        std::string preset; // an X-Mailer already in the message
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"agent set", "Beacon 1.0", "", "X-Mailer: Beacon 1.0"},
        {"agent replaces", "Beacon 1.0", "Other", "X-Mailer: Beacon 1.0"},
        {"empty agent removes", "", "Other", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mailtest::LoopbackPeer peer(Greeting + EhloPlain + "250 reset\r\n250 ok\r\n250 ok\r\n250 ok\r\n354 go\r\n250 queued\r\n");
        Client client(peer.Port());
        client.smtp.MailAgent = c.agent;
        client.smtp.Connect(2000);
        TMxMessage msg;
        msg.Recipients()->Add()->SetText("to@example.com");
        msg.BccList()->Add()->SetText("Hidden <hidden@example.com>");
        msg.Body()->Add(".");
        msg.Body()->Add(".dot");
        if (!c.preset.empty()) msg.ExtraHeaders()->SetValueOf("X-Mailer", c.preset);
        client.smtp.Send(&msg);
        client.smtp.Disconnect();
        const std::string received = peer.Received();
        const std::vector<std::string> commands = Commands(received);
        ASSERT_GE(commands.size(), 3u);
        // No From: the command still goes out, with nothing between the brackets.
        EXPECT_EQ(commands[2], "MAIL FROM:<>");
        std::vector<std::string> mailers;
        bool bodyDots = false;
        const std::vector<std::string> message = MessageLines(received);
        for (std::size_t i = 0; i < message.size(); ++i) {
            EXPECT_EQ(message[i].find("hidden@example.com"), std::string::npos) << message[i];
            if (message[i].rfind("X-Mailer:", 0) == 0) mailers.push_back(message[i]);
            if (i + 1 < message.size() && message[i] == ".." && message[i + 1] == "..dot")
                bodyDots = true;
        }
        EXPECT_TRUE(bodyDots);
        const std::vector<std::string> expected =
            c.expected.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.expected};
        EXPECT_EQ(mailers, expected);
    }
}

TEST(SmtpReading, ExpandAndVerifyAcceptTheirCodes) {
    mailtest::LoopbackPeer peer(Greeting + EhloPlain +
                                "250-first <a@example.com>\r\n250 second <b@example.com>\r\n"
                                "251 User not local <u@other.example>\r\n"
                                "550 unknown\r\n");
    Client client(peer.Port());
    client.smtp.Connect(2000);
    client.smtp.Expand("list");
    EXPECT_EQ(client.smtp.LastCmdResult().NumericCode(), 250);
    EXPECT_EQ(client.smtp.LastCmdResult().Text().Count(), 2);
    EXPECT_EQ(client.smtp.Verify("u"), "User not local <u@other.example>");
    EXPECT_THROW(client.smtp.Verify("nobody"), EMxProtocolReplyError);
    client.smtp.Disconnect();
    EXPECT_EQ(Commands(peer.Received()),
              (std::vector<std::string>{"EHLO probe.example", "EXPN list", "VRFY u", "VRFY nobody",
                                        "QUIT"}));
}

TEST(SmtpReading, ConnectingTwiceKeepsTheOpenConversation) {
    mailtest::LoopbackPeer peer(Greeting + "250-mx.example\r\n250 auth login\r\n250 v\r\n");
    Client client(peer.Port());
    client.smtp.Connect(2000);
    // A lower-case capability line counts as well.
    EXPECT_TRUE(client.smtp.IsAuthMechanismOffered(TAuthenticationType::atLogin));
    EXPECT_THROW(client.smtp.Connect(2000), EMxException);
    EXPECT_TRUE(client.smtp.IsConnected());
    EXPECT_EQ(client.smtp.Verify("x"), "v");
    client.smtp.Disconnect();
    EXPECT_EQ(Commands(peer.Received()),
              (std::vector<std::string>{"EHLO probe.example", "VRFY x", "QUIT"}));
}

TEST(SmtpReading, SendOnAClosedClientRaises) {
    TMxSMTP smtp;
    TMxMessage msg;
    OneRecipient(msg);
    EXPECT_THROW(smtp.Send(&msg), EMxException);
}

TEST(SmtpReading, RefusedLoginRaisesWithTheServersCode) {
    struct Case {
        const char* name;
        std::string replies;
        int code;
    };
    const std::vector<Case> cases = {
        {"mechanism refused", "504 no login\r\n", 504},
        {"user refused", "334 VXNlcm5hbWU6\r\n535 bad user\r\n", 535},
        {"password refused", "334 VXNlcm5hbWU6\r\n334 UGFzc3dvcmQ6\r\n535 bad password\r\n", 535},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mailtest::LoopbackPeer peer(Greeting + EhloAuth + c.replies);
        Client client(peer.Port());
        client.smtp.SetAuthenticationType(TAuthenticationType::atLogin);
        client.smtp.Connect(2000);
        try {
            client.smtp.Authenticate();
            ADD_FAILURE() << "no exception";
        } catch (const EMxProtocolReplyError& e) {
            EXPECT_EQ(e.ReplyErrorCode, c.code);
        }
        EXPECT_FALSE(client.smtp.Authenticated());
        client.smtp.Disconnect();
    }
}

TEST(SmtpReading, LineBreaksInCommandTextAreRefusedAndInTheMailAgentFolded) {
    struct Case {
        const char* name;
        std::string helo;
        std::string verify;
        std::string agent;
    };
    const std::vector<Case> cases = {
        {"verify", "probe.example", "u\r\nRSET", ""},
        {"verify bare LF", "probe.example", "u\nRSET", ""},
        {"helo", "probe.example\r\nRSET", "", ""},
        {"mail agent", "probe.example", "", "agent\r\nRSET"},
        {"mail agent bare LF", "probe.example", "", "agent\nRSET"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mailtest::LoopbackPeer peer(Greeting + EhloPlain + TransactionOk);
        Client client(peer.Port());
        client.smtp.HeloName = c.helo;
        client.smtp.MailAgent = c.agent;
        if (c.agent.empty()) {
            try {
                client.smtp.Connect(2000);
                client.smtp.Verify(c.verify);
                ADD_FAILURE() << "no exception";
            } catch (const EMxException& e) {
                EXPECT_NE(std::string(e.what()).find("Invalid character"), std::string::npos)
                    << e.what();
            }
        } else {
            client.smtp.Connect(2000);
            TMxMessage msg;
            OneRecipient(msg);
            client.smtp.Send(&msg);
        }
        client.smtp.Disconnect();
        const std::string received = peer.Received();
        // The text after the line break never stands as a command of its own.
        const std::vector<std::string> commands = Commands(received);
        EXPECT_EQ(std::count(commands.begin(), commands.end(), "RSET"), c.agent.empty() ? 0 : 1);
        if (!c.agent.empty()) {
            const std::vector<std::string> message = MessageLines(received);
            const auto at = std::find(message.begin(), message.end(), "X-Mailer: agent");
            ASSERT_NE(at, message.end());
            ASSERT_NE(at + 1, message.end());
            EXPECT_EQ(at[1], " RSET");
        }
    }
}

TEST(SmtpReading, AServerThatNeverGreetsEndsConnectWithTheLinkClosed) {
    mailtest::LoopbackPeer peer;
    Client client(peer.Port());
    client.smtp.ReadTimeout = 300;
    EXPECT_THROW(client.smtp.Connect(2000), EMxException);
    EXPECT_FALSE(client.smtp.IsConnected());
    EXPECT_EQ(peer.Received(), "QUIT\r\n");
}

TEST(SmtpReading, OnlyAuthLinesNameMechanismsAndTheListOutlivesTheConnection) {
    struct Case {
        const char* name;
        std::string ehlo;
        std::vector<std::string> offered;
    };
    const std::vector<Case> cases = {
        {"look-alike keywords", "250-mx\r\n250-AUTHX LOGIN\r\n250-X-AUTH LOGIN\r\n250 SIZE 1\r\n", {}},
        {"mixed case and extra blanks", "250-mx\r\n250-Auth=login\r\n250 auth  cram-md5   LOGIN \r\n",
         {"LOGIN", "CRAM-MD5"}},
        {"bare keyword", "250-mx\r\n250 AUTH\r\n", {}},
        {"equals inside the list", "250-mx\r\n250 AUTH=PLAIN=LOGIN\r\n", {"PLAIN", "LOGIN"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mailtest::LoopbackPeer peer(Greeting + c.ehlo);
        Client client(peer.Port());
        client.smtp.Connect(2000);
        client.smtp.Disconnect();
        // Kept until the next connection clears it.
        std::vector<std::string> offered;
        for (int i = 0; i < client.smtp.OfferedAuthMechanisms()->Count(); ++i)
            offered.push_back(client.smtp.OfferedAuthMechanisms()->Strings(i));
        EXPECT_EQ(offered, c.offered);
    }
    mailtest::LoopbackPeer first(Greeting + EhloAuth);
    Client client(first.Port());
    client.smtp.Connect(2000);
    client.smtp.Disconnect();
    EXPECT_TRUE(client.smtp.IsAuthMechanismOffered(TAuthenticationType::atLogin));
    mailtest::LoopbackPeer second(Greeting + "502 no\r\n250 hi\r\n");
    client.smtp.SetPort(second.Port());
    client.smtp.Connect(2000);
    EXPECT_EQ(client.smtp.OfferedAuthMechanisms()->Count(), 0);
    client.smtp.Disconnect();
}

TEST(SmtpReading, EveryRefusedStepOfATransactionRaisesAndTheNextSendStartsClean) {
    struct Case {
        const char* name;
        std::string replies; // for the first Send, after RSET
        int code;
        std::vector<std::string> commands; // of the first Send
    };
    const std::vector<Case> cases = {
        {"sender refused", "553 bad sender\r\n", 553, {"RSET", "MAIL FROM:<from@example.com>"}},
        {"data refused", "250 ok\r\n250 ok\r\n503 no\r\n", 503,
         {"RSET", "MAIL FROM:<from@example.com>", "RCPT TO:<to@example.com>", "DATA"}},
        {"message refused", "250 ok\r\n250 ok\r\n354 go\r\n554 spam\r\n", 554,
         {"RSET", "MAIL FROM:<from@example.com>", "RCPT TO:<to@example.com>", "DATA", "."}},
    };
    const std::vector<std::string> second = {
        "RSET", "MAIL FROM:<from@example.com>", "RCPT TO:<to@example.com>", "DATA", ".", "QUIT"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mailtest::LoopbackPeer peer(Greeting + EhloPlain + "250 reset\r\n" + c.replies +
                                    TransactionOk);
        Client client(peer.Port());
        client.smtp.Connect(2000);
        TMxMessage msg;
        OneRecipient(msg);
        try {
            client.smtp.Send(&msg);
            ADD_FAILURE() << "no exception";
        } catch (const EMxProtocolReplyError& e) {
            EXPECT_EQ(e.ReplyErrorCode, c.code);
        }
        client.smtp.Send(&msg);
        client.smtp.Disconnect();
        std::vector<std::string> expected = {"EHLO probe.example"};
        expected.insert(expected.end(), c.commands.begin(), c.commands.end());
        expected.insert(expected.end(), second.begin(), second.end());
        // After a refused DATA no message follows, so every line is a command.
        const std::string received = peer.Received();
        if (c.code == 503) {
            std::vector<std::string> lines = Lines(received);
            ASSERT_GE(lines.size(), expected.size());
            // Leave out the second message's own lines.
            lines.erase(lines.begin() + static_cast<long>(expected.size()) - 2, lines.end() - 2);
            EXPECT_EQ(lines, expected);
        } else {
            EXPECT_EQ(Commands(received), expected);
        }
    }
}

TEST(SmtpReading, LineBreaksInsideBodyLinesCannotEndTheDataEarly) {
    struct Case {
        const char* name;
        std::string line;
    };
    const std::vector<Case> cases = {
        {"LF dot LF", "first\n.\nMAIL FROM:<evil@example.com>"},
        {"CR LF dot CR LF", "first\r\n.\r\nMAIL FROM:<evil@example.com>"},
        {"bare CR", "first\r.\rMAIL FROM:<evil@example.com>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mailtest::LoopbackPeer peer(Greeting + EhloPlain + TransactionOk);
        Client client(peer.Port());
        client.smtp.Connect(2000);
        TMxMessage msg;
        OneRecipient(msg);
        msg.Body()->Clear();
        msg.Body()->Add(c.line);
        try {
            client.smtp.Send(&msg);
        } catch (const EMxException&) {
            // Refusing such a body is as good as sending it harmlessly.
        }
        client.smtp.Disconnect();
        const std::string received = peer.Received();
        const std::size_t data = received.find("DATA\r\n");
        ASSERT_NE(data, std::string::npos);
        const std::string after = received.substr(data + 6);
        // Only the closing line may be a lone dot, and every line break is CR LF.
        const std::size_t end = after.find("\r\n.\r\n");
        ASSERT_NE(end, std::string::npos);
        EXPECT_EQ(after.substr(end), "\r\n.\r\nQUIT\r\n");
        for (std::size_t i = 0; i < after.size(); ++i) {
            if (after[i] == '\n') {
                EXPECT_TRUE(i > 0 && after[i - 1] == '\r') << "bare LF at " << i;
            }
            if (after[i] == '\r') {
                EXPECT_TRUE(i + 1 < after.size() && after[i + 1] == '\n') << "bare CR at " << i;
            }
        }
    }
}
