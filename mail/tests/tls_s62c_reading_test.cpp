// The TLS handler against the real SMTP server in its implicit-TLS and
// STARTTLS modes: option defaults, the context's file and cipher checks,
// the handshake's notifications, the pass-through switch and a reconnect.
#include "Certificates.h"
#include "Peer.h"
#include "SmtpPeer.h"
#include "mail/MxNetExceptions.h"
#include "mail/MxSSLExceptions.h"
#include "mail/MxSSLIOHandler.h"
#include "mail/MxSSLSocket.h"
#include "mail/MxSSLX509.h"
#include "mail/MxSocketHandle.h"
#include "mail/MxTCPClient.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace mail;
using mailtest::Certificates;
using mailtest::SmtpPeer;

namespace {

std::unique_ptr<SmtpPeer> StartServer(const std::string& AMode) {
    const Certificates& certs = Certificates::Get();
    return std::make_unique<SmtpPeer>(AMode, certs.LocalhostCert(), certs.LocalhostKey());
}

// A client on its own TLS handler, trusting the test CA.
struct TlsPortClient {
    std::unique_ptr<TMxSSLIOHandlerSocket> Handler = std::make_unique<TMxSSLIOHandlerSocket>();
    std::unique_ptr<TMxTCPClient> Client = std::make_unique<TMxTCPClient>();
    std::vector<AnsiString> Status;

    explicit TlsPortClient(int APort) {
        Handler->SSLOptions()->RootCertFile = Certificates::Get().CA();
        Handler->OnStatusInfo = [this](const AnsiString& AMsg) { Status.push_back(AMsg); };
        Client->SetIOHandler(Handler.get());
        Client->SetHost("localhost");
        Client->SetPort(APort);
        Client->ReadTimeout = 10000;
    }
    ~TlsPortClient() {
        Client.reset(); // the connection lets go of the handler first
    }

    bool StatusStartsWith(const std::string& APrefix) const {
        for (const AnsiString& s : Status)
            if (s.rfind(APrefix, 0) == 0) return true;
        return false;
    }
};

} // namespace

TEST(TlsReading, NewOptionsHoldZeroValuesAndAssignCopiesAllNine) {
    TMxSSLOptions fresh;
    EXPECT_EQ(fresh.Method, TMxSSLVersion::sslvSSLv2);
    EXPECT_EQ(fresh.Mode, TMxSSLMode::sslmUnassigned);
    EXPECT_EQ(fresh.VerifyMode, TMxSSLVerifyModeSet());
    EXPECT_EQ(fresh.VerifyDepth, 0);
    EXPECT_TRUE(fresh.RootCertFile.empty() && fresh.CertFile.empty() && fresh.KeyFile.empty() &&
                fresh.VerifyDirs.empty() && fresh.CipherList.empty());

    TMxSSLOptions source;
    source.RootCertFile = "root.pem";
    source.CertFile = "cert.pem";
    source.KeyFile = "key.pem";
    source.Method = TMxSSLVersion::sslvTLSv1;
    source.Mode = TMxSSLMode::sslmBoth;
    source.VerifyMode = {TMxSSLVerifyMode::sslvrfPeer, TMxSSLVerifyMode::sslvrfClientOnce};
    source.VerifyDepth = 7;
    source.VerifyDirs = "/dirs";
    source.CipherList = "HIGH";
    TMxSSLOptions copy;
    copy.Assign(&source);
    EXPECT_EQ(copy.RootCertFile, "root.pem");
    EXPECT_EQ(copy.CertFile, "cert.pem");
    EXPECT_EQ(copy.KeyFile, "key.pem");
    EXPECT_EQ(copy.Method, TMxSSLVersion::sslvTLSv1);
    EXPECT_EQ(copy.Mode, TMxSSLMode::sslmBoth);
    EXPECT_EQ(copy.VerifyMode, source.VerifyMode);
    EXPECT_EQ(copy.VerifyDepth, 7);
    EXPECT_EQ(copy.VerifyDirs, "/dirs");
    EXPECT_EQ(copy.CipherList, "HIGH");

    TMxSSLIOHandlerSocket handler;
    EXPECT_FALSE(handler.BypassTls());
    EXPECT_EQ(handler.SSLSocket(), nullptr);
}

// Every method value with an unassigned mode connects as a client; the
// status event hears the handshake's states and the cipher line.
TEST(TlsReading, ImplicitTlsConnectsForEveryMethodAndReportsTheCipher) {
    auto server = StartServer("implicit");
    for (TMxSSLVersion method : {TMxSSLVersion::sslvSSLv2, TMxSSLVersion::sslvSSLv23,
                                 TMxSSLVersion::sslvSSLv3, TMxSSLVersion::sslvTLSv1}) {
        SCOPED_TRACE(static_cast<int>(method));
        TlsPortClient c(server->Port());
        c.Handler->SSLOptions()->Method = method;
        c.Handler->OnBeforeConnect = [&](TObject*) { c.Status.push_back("(before connect)"); };
        c.Client->Connect(10000);
        // The plain connect is told of before any of the handshake.
        EXPECT_EQ(std::count(c.Status.begin(), c.Status.end(), "(before connect)"), 1);
        EXPECT_EQ(c.Status.front(), "(before connect)");
        ASSERT_NE(c.Handler->SSLSocket(), nullptr);
        EXPECT_EQ(c.Client->ReadLine().substr(0, 4), "220 ");
        EXPECT_TRUE(c.StatusStartsWith("SSL status: \""));
        for (const AnsiString& s : c.Status)
            if (s.rfind("Cipher: ", 0) != 0 && s != "(before connect)")
                EXPECT_TRUE(s.rfind("SSL status: \"", 0) == 0 && s.size() > 14 && s.back() == '"')
                    << s;
        EXPECT_TRUE(c.StatusStartsWith("Cipher: name = "));
        TMxSSLCipher* cipher = c.Handler->SSLSocket()->CurrentCipher();
        ASSERT_NE(cipher, nullptr);
        EXPECT_FALSE(cipher->CipherName().empty());
        EXPECT_GT(cipher->CipherBits(), 0);
        const std::string expected = "Cipher: name = " + cipher->CipherName() + "; " +
                                     "description = " + cipher->CipherDescription() + "; " +
                                     "bits = " + std::to_string(cipher->CipherBits()) + "; " +
                                     "version = " + cipher->CipherVersion() + "; ";
        bool found = false;
        for (const AnsiString& s : c.Status)
            found = found || s == expected;
        EXPECT_TRUE(found) << expected;
        c.Client->SendCommand("QUIT", 221);
        // The server's close after QUIT is a graceful close, not a failure.
        EXPECT_THROW(c.Client->ReadLine(), EMxConnClosedGracefully);
        c.Client->Disconnect();
    }
}

// Small receives leave decrypted bytes inside OpenSSL, where the socket
// cannot show them: they must still count as readable.
TEST(TlsReading, SmallReceivesStillReachDataHeldInsideTheSession) {
    auto server = StartServer("implicit");
    TlsPortClient c(server->Port());
    c.Client->RecvBufferSize = 7;
    c.Client->ReadTimeout = 3000;
    c.Client->Connect(10000);
    EXPECT_EQ(c.Client->ReadLine().substr(0, 4), "220 ");
    c.Client->SendCommand("EHLO reader", 250);
    EXPECT_GE(c.Client->LastCmdResult().Text().Count(), 2);
    c.Client->SendCommand("NOOP", 250);
    c.Client->Disconnect();
}

// A setting OpenSSL rejects fails the connect with its own error, and
// leaves the transport closed so a corrected setting can connect again.
TEST(TlsReading, RejectedContextSettingsRaiseTheirErrorAndCloseTheTransport) {
    auto server = StartServer("implicit");
    const Certificates& certs = Certificates::Get();
    struct Case {
        const char* name;
        std::function<void(TMxSSLOptions&)> set;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"missing root", [](TMxSSLOptions& o) { o.RootCertFile = "/nonexistent/ca.pem"; },
         "Could not load root certificate."},
        {"bad certificate", [](TMxSSLOptions& o) { o.CertFile = "/nonexistent/cert.pem"; },
         "Could not load certificate."},
        {"key not matching",
         [&](TMxSSLOptions& o) {
             o.CertFile = certs.LocalhostCert();
             o.KeyFile = certs.OtherKey();
         },
         "Could not load key, check password."},
        {"invalid cipher list", [](TMxSSLOptions& o) { o.CipherList = "NO-SUCH-CIPHER"; },
         "SetCipher failed."},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TlsPortClient c(server->Port());
        k.set(*c.Handler->SSLOptions());
        try {
            c.Client->Connect(10000);
            ADD_FAILURE() << "connected";
        } catch (const EMxOpenSSLError& e) {
            EXPECT_EQ(e.Message, k.message);
        }
        EXPECT_FALSE(c.Client->IsConnected());
        // The same client connects once the setting is put right.
        TMxSSLOptions good;
        good.RootCertFile = certs.CA();
        c.Handler->SSLOptions()->Assign(&good);
        c.Client->Connect(10000);
        EXPECT_EQ(c.Client->ReadLine().substr(0, 4), "220 ");
        c.Client->Disconnect();
    }
}

// A key locked with a password is opened with what OnGetPassword gives;
// a wrong or an over-long answer is a key error, never more.
TEST(TlsReading, LockedKeyTakesThePasswordFromTheEvent) {
    auto server = StartServer("implicit");
    const Certificates& certs = Certificates::Get();
    struct Case {
        std::string password;
        bool accepted;
        bool ask = true; // false: no event, so an empty password
    };
    const std::vector<Case> cases = {
        {Certificates::LockedKeyPassword, true},
        {"wrong", false},
        {std::string(100000, 'x'), false},
        {"", false, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.password.substr(0, 20));
        TlsPortClient c(server->Port());
        c.Handler->SSLOptions()->CertFile = certs.LocalhostCert();
        c.Handler->SSLOptions()->KeyFile = certs.LockedKey();
        int asked = 0;
        if (k.ask)
            c.Handler->OnGetPassword = [&](AnsiString& APassword) {
                ++asked;
                APassword = k.password;
            };
        if (k.accepted) {
            c.Client->Connect(10000);
            EXPECT_EQ(c.Client->ReadLine().substr(0, 4), "220 ");
            c.Client->Disconnect();
        } else {
            try {
                c.Client->Connect(10000);
                ADD_FAILURE() << "connected";
            } catch (const EMxOSSLLoadingKeyError& e) {
                EXPECT_EQ(e.Message, "Could not load key, check password.");
            }
        }
        EXPECT_EQ(asked >= 1, k.ask);
    }
}

// The verification event sees the certificates and can refuse them; with
// a verify mode its answer decides the handshake.
TEST(TlsReading, VerificationEventDecidesTheHandshake) {
    auto server = StartServer("implicit");
    struct Case {
        bool accept;
        int depth;
        bool connects;
    };
    for (const Case& k : {Case{true, 9, true}, Case{false, 9, false}, Case{true, 0, false}}) {
        SCOPED_TRACE(std::to_string(k.accept) + " " + std::to_string(k.depth));
        TlsPortClient c(server->Port());
        c.Handler->SSLOptions()->VerifyMode = {TMxSSLVerifyMode::sslvrfPeer};
        c.Handler->SSLOptions()->VerifyDepth = k.depth;
        std::vector<std::string> subjects;
        c.Handler->OnVerifyPeer = [&](TMxX509* ACert) {
            subjects.push_back(ACert->Subject()->OneLine());
            return k.accept;
        };
        if (k.connects) {
            c.Client->Connect(10000);
            EXPECT_EQ(c.Client->ReadLine().substr(0, 4), "220 ");
            bool leaf = false;
            for (const std::string& s : subjects)
                leaf = leaf || s.find("CN=localhost") != s.npos;
            EXPECT_TRUE(leaf);
            c.Client->Disconnect();
        } else {
            EXPECT_THROW(c.Client->Connect(10000), EMxOSSLConnectError);
            EXPECT_FALSE(c.Client->IsConnected());
        }
        EXPECT_FALSE(subjects.empty());
    }
}

// STARTTLS: plain until the switch is turned off on the open socket, which
// runs the handshake there once; a second switch does not repeat it; a
// later connect of the same handler runs with a new session.
TEST(TlsReading, StartTlsHandshakesOnceOnTheOpenSocketAndAgainAfterReconnect) {
    auto server = StartServer("starttls");
    TlsPortClient c(server->Port());
    c.Handler->SetBypassTls(true);
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        c.Status.clear();
        c.Client->Connect(10000);
        EXPECT_EQ(c.Handler->SSLSocket(), nullptr);
        EXPECT_EQ(c.Client->ReadLine().substr(0, 4), "220 ");
        c.Client->SendCommand("EHLO reader", 250);
        c.Client->SendCommand("STARTTLS", 220);
        c.Handler->SetBypassTls(false);
        TMxSSLSocket* session = c.Handler->SSLSocket();
        ASSERT_NE(session, nullptr);
        EXPECT_FALSE(c.Handler->BypassTls());
        c.Client->ResetConnectionState();
        c.Handler->SetBypassTls(false);
        EXPECT_EQ(c.Handler->SSLSocket(), session);
        c.Client->SendCommand("EHLO reader", 250);
        EXPECT_NE(c.Client->ReplyErrorText().find("AUTH"), std::string::npos);
        c.Client->SendCommand("QUIT", 221);
        // Back to pass-through: the session stays until the close.
        c.Handler->SetBypassTls(true);
        EXPECT_EQ(c.Handler->SSLSocket(), session);
        c.Client->Disconnect();
        EXPECT_EQ(c.Handler->SSLSocket(), nullptr);
    }
}

// The switch turned off with no connection only records the choice: the
// next connect encrypts from the first byte.
TEST(TlsReading, SwitchOffWhileClosedOnlyRecordsTheChoice) {
    auto server = StartServer("implicit");
    TlsPortClient c(server->Port());
    c.Handler->SetBypassTls(true);
    c.Handler->SetBypassTls(false);
    EXPECT_FALSE(c.Handler->BypassTls());
    EXPECT_EQ(c.Handler->SSLSocket(), nullptr);
    c.Client->Connect(10000);
    EXPECT_NE(c.Handler->SSLSocket(), nullptr);
    EXPECT_EQ(c.Client->ReadLine().substr(0, 4), "220 ");
    c.Client->Disconnect();
}

// A server whose certificate names another host, or is signed by nobody
// the client trusts, is refused, and the transport is closed.
TEST(TlsReading, UntrustedServerCertificateFailsTheConnect) {
    const Certificates& certs = Certificates::Get();
    struct Case {
        const char* name;
        std::string cert, key;
        bool trustCA;
    };
    const std::vector<Case> cases = {
        {"another name", certs.WrongNameCert(), certs.WrongNameKey(), true},
        {"unknown signer", certs.LocalhostCert(), certs.LocalhostKey(), false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        SmtpPeer server("implicit", k.cert, k.key);
        TlsPortClient c(server.Port());
        if (!k.trustCA) c.Handler->SSLOptions()->RootCertFile = "";
        EXPECT_THROW(c.Client->Connect(10000), EMxOSSLConnectError);
        EXPECT_FALSE(c.Client->IsConnected());
        EXPECT_EQ(c.Handler->SSLSocket(), nullptr);
    }
}

// A handshake the peer never answers, answers in the clear or cuts off
// fails the connect within the handshake time-out and closes the
// transport.
TEST(TlsReading, HandshakeThatCannotCompleteFailsWithinItsTimeOut) {
    struct Case {
        std::vector<std::string> steps;
        bool handshakeError; // a reset may already fail the TCP connect
    };
    const std::vector<Case> cases = {
        {{"stall"}, true},
        {{mailtest::Send("220 plain text greeting\r\n"), "stall"}, true},
        {{"reset"}, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.steps.front());
        mailtest::ScriptedPeer peer(k.steps);
        TlsPortClient c(peer.Port());
        c.Handler->HandshakeTimeout = 500;
        const auto start = std::chrono::steady_clock::now();
        if (k.handshakeError)
            EXPECT_THROW(c.Client->Connect(10000), EMxOSSLConnectError);
        else
            EXPECT_THROW(c.Client->Connect(10000), EMxException);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_FALSE(c.Client->IsConnected());
        EXPECT_EQ(c.Handler->SSLSocket(), nullptr);
    }
}

// STARTTLS against a server that goes on in the clear: the failed
// handshake closes the connection and raises; the handler still says
// pass-through and connects again.
TEST(TlsReading, FailedStartTlsClosesTheConnection) {
    auto server = StartServer("plain");
    TlsPortClient c(server->Port());
    c.Handler->HandshakeTimeout = 2000;
    c.Handler->SetBypassTls(true);
    c.Client->Connect(10000);
    EXPECT_EQ(c.Client->ReadLine().substr(0, 4), "220 ");
    EXPECT_THROW(c.Handler->SetBypassTls(false), EMxOSSLConnectError);
    EXPECT_FALSE(c.Client->IsConnected());
    EXPECT_TRUE(c.Handler->BypassTls());
    c.Client->Connect(10000);
    EXPECT_EQ(c.Client->ReadLine().substr(0, 4), "220 ");
    c.Client->SendCommand("QUIT", 221);
    c.Client->Disconnect();
}

namespace {

// A loopback listener on a port of the system's choosing.
struct TlsListener {
    TMxSocketHandle Handle;
    TlsListener() {
        Handle.IP = "127.0.0.1";
        Handle.AllocateHandle(MxSockStream, MxIpProtoTcp);
        Handle.BindLocal();
        EXPECT_EQ(Stack().SockListen(Handle.Handle(), 4), 0);
        int family = 0;
        Stack().SockLocalName(Handle.Handle(), family, Host, Port);
    }
    AnsiString Host;
    int Port = 0;
};

} // namespace

// The server handler hands out a peer handler per accepted socket; its
// handshake runs with OnAccepted, reports the cipher to the server's
// status event and carries data both ways. A client that speaks in the
// clear fails the handshake, which closes the peer handler.
TEST(TlsReading, ServerHandlerAcceptsAndRefusesHandshakes) {
    const Certificates& certs = Certificates::Get();
    TMxServerIOHandlerSSL server;
    server.SSLOptions()->CertFile = certs.LocalhostCert();
    server.SSLOptions()->KeyFile = certs.LocalhostKey();
    server.HandshakeTimeout = 3000;
    std::vector<AnsiString> serverStatus;
    server.OnStatusInfo = [&](const AnsiString& AMsg) { serverStatus.push_back(AMsg); };
    server.Init();
    TlsListener listener;

    for (bool tlsClient : {true, false}) {
        SCOPED_TRACE(tlsClient);
        serverStatus.clear();
        std::string clientError;
        std::thread client([&] {
            try {
                if (tlsClient) {
                    TlsPortClient c(listener.Port);
                    c.Client->Connect(10000);
                    c.Client->WriteLine("hello over tls");
                    EXPECT_EQ(c.Client->ReadLine(), "welcome");
                    c.Client->Disconnect();
                } else {
                    TMxTCPClient plain;
                    plain.SetHost("127.0.0.1");
                    plain.SetPort(listener.Port);
                    plain.ReadTimeout = 5000;
                    plain.Connect(10000);
                    plain.WriteLine("EHLO in the clear, not a client hello at all");
                    try {
                        plain.ReadLine();
                    } catch (const EMxException&) {
                    }
                    plain.Disconnect();
                }
            } catch (const std::exception& e) {
                clientError = e.what();
            }
        });
        std::unique_ptr<TMxIOHandler> peer(server.Accept(listener.Handle.Handle()));
        ASSERT_NE(peer, nullptr);
        if (tlsClient) {
            peer->OnAccepted();
            bool cipher = false;
            for (const AnsiString& s : serverStatus)
                cipher = cipher || s.rfind("Cipher: name = ", 0) == 0;
            EXPECT_TRUE(cipher);
            std::string got;
            char buffer[64];
            while (got.find('\n') == std::string::npos && peer->WaitReadable(5000)) {
                const int n = peer->ReceiveBytes(buffer, sizeof buffer);
                if (n <= 0) break;
                got.append(buffer, n);
            }
            EXPECT_EQ(got, "hello over tls\r\n");
            const std::string reply = "welcome\r\n";
            EXPECT_EQ(peer->SendBytes(reply.data(), static_cast<int>(reply.size())),
                      static_cast<int>(reply.size()));
            // The client's disconnect closes its session: the server reads
            // a close, not an error.
            EXPECT_TRUE(peer->WaitReadable(5000));
            EXPECT_EQ(peer->ReceiveBytes(buffer, sizeof buffer), 0);
        } else {
            try {
                peer->OnAccepted();
                ADD_FAILURE() << "accepted";
            } catch (const EMxOSSLAcceptError& e) {
                EXPECT_EQ(e.Message, "Error accepting connection with SSL.");
            }
            EXPECT_FALSE(peer->IsConnected());
        }
        client.join();
        EXPECT_EQ(clientError, "");
    }
}

// An event that raises inside one of OpenSSL's callbacks must not unwind
// through OpenSSL: the handshake or key load fails, the connect raises an
// exception of the mail tree and the transport is closed.
TEST(TlsReading, EventsThatRaiseInsideOpenSslCallbacksFailTheConnectCleanly) {
    auto server = StartServer("implicit");
    const Certificates& certs = Certificates::Get();
    struct Case {
        const char* name;
        std::function<void(TMxSSLIOHandlerSocket&)> set;
    };
    const std::vector<Case> cases = {
        {"verification",
         [](TMxSSLIOHandlerSocket& h) {
             h.SSLOptions()->VerifyMode = {TMxSSLVerifyMode::sslvrfPeer};
             h.SSLOptions()->VerifyDepth = 9;
             h.OnVerifyPeer = [](TMxX509*) -> bool { throw std::runtime_error("no"); };
         }},
        {"password",
         [&](TMxSSLIOHandlerSocket& h) {
             h.SSLOptions()->CertFile = certs.LocalhostCert();
             h.SSLOptions()->KeyFile = certs.LockedKey();
             h.OnGetPassword = [](AnsiString&) { throw EMxException("cancelled"); };
         }},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TlsPortClient c(server->Port());
        k.set(*c.Handler);
        EXPECT_THROW(c.Client->Connect(10000), EMxException);
        EXPECT_FALSE(c.Client->IsConnected());
    }
}

// A status event that raises is the caller's to hear of, but not from
// inside OpenSSL: the connection is either made or cleanly refused.
TEST(TlsReading, StatusEventThatRaisesLeavesNoHalfOpenConnection) {
    auto server = StartServer("implicit");
    TlsPortClient c(server->Port());
    c.Handler->OnStatusInfo = [](const AnsiString&) { throw EMxException("status"); };
    try {
        c.Client->Connect(10000);
        EXPECT_EQ(c.Client->ReadLine().substr(0, 4), "220 ");
    } catch (const EMxException&) {
        EXPECT_FALSE(c.Client->IsConnected());
    }
    c.Client->Disconnect();
}

// The handler freed while its connection is open is forgotten by the
// connection, which then reports itself closed.
TEST(TlsReading, HandlerFreedUnderAnOpenConnectionIsForgotten) {
    auto server = StartServer("implicit");
    TlsPortClient c(server->Port());
    c.Client->Connect(10000);
    c.Handler.reset();
    EXPECT_EQ(c.Client->IOHandler(), nullptr);
    EXPECT_FALSE(c.Client->IsConnected());
    EXPECT_THROW(c.Client->Write("NOOP\r\n"), EMxNotConnected);
}

// The client and general modes connect as a client; a client handler set
// to the server role cannot, and says so.
TEST(TlsReading, ModeDecidesWhetherAClientCanConnect) {
    auto server = StartServer("implicit");
    struct Case {
        TMxSSLMode mode;
        bool connects;
    };
    for (const Case& k : {Case{TMxSSLMode::sslmClient, true}, Case{TMxSSLMode::sslmBoth, true},
                          Case{TMxSSLMode::sslmServer, false}}) {
        SCOPED_TRACE(static_cast<int>(k.mode));
        TlsPortClient c(server->Port());
        c.Handler->SSLOptions()->Mode = k.mode;
        if (k.connects) {
            c.Client->Connect(10000);
            EXPECT_EQ(c.Client->ReadLine().substr(0, 4), "220 ");
            c.Client->Disconnect();
        } else {
            EXPECT_THROW(c.Client->Connect(10000), EMxOSSLConnectError);
            EXPECT_FALSE(c.Client->IsConnected());
        }
    }
}

// A body larger than the socket's buffers goes through the session whole,
// in the implicit and the STARTTLS form: writes wait for room instead of
// failing. (The recipient makes the server refuse the data once it has
// read all of it, so that it reports nothing.)
TEST(TlsReading, LargeBodyGoesThroughTheSessionWhole) {
    for (const char* mode : {"implicit", "starttls"}) {
        SCOPED_TRACE(mode);
        auto server = StartServer(mode);
        TlsPortClient c(server->Port());
        const bool startTls = std::string(mode) == "starttls";
        c.Handler->SetBypassTls(startTls);
        c.Client->Connect(10000);
        EXPECT_EQ(c.Client->ReadLine().substr(0, 4), "220 ");
        c.Client->SendCommand("EHLO reader", 250);
        if (startTls) {
            c.Client->SendCommand("STARTTLS", 220);
            c.Handler->SetBypassTls(false);
            c.Client->ResetConnectionState();
            c.Client->SendCommand("EHLO reader", 250);
        }
        c.Client->SendCommand("MAIL FROM:<alerts@example.com>", 250);
        c.Client->SendCommand("RCPT TO:<bounce@example.com>", 250);
        c.Client->SendCommand("DATA", 354);
        std::string body = "Subject: large\r\n\r\n";
        const std::string line = std::string(70, 'z') + "\r\n";
        for (int i = 0; i < 60000; ++i)
            body += line;
        c.Client->Write(body);
        c.Client->SendCommand(".", 554);
        c.Client->SendCommand("NOOP", 250);
        c.Client->SendCommand("QUIT", 221);
        c.Client->Disconnect();
    }
}

// A TLS peer that drops the TCP connection without closing the session:
// what it sent before is read, then the connection counts as closed.
TEST(TlsReading, PeerThatDropsTheSocketEndsTheConnection) {
    const Certificates& certs = Certificates::Get();
    TMxServerIOHandlerSSL server;
    server.SSLOptions()->CertFile = certs.LocalhostCert();
    server.SSLOptions()->KeyFile = certs.LocalhostKey();
    TlsListener listener;
    std::string clientError;
    std::vector<std::string> lines;
    bool gracefully = false;
    bool stillConnected = true;
    std::thread client([&] {
        try {
            TlsPortClient c(listener.Port);
            c.Client->ReadTimeout = 5000;
            c.Client->Connect(10000);
            lines.push_back(c.Client->ReadLine());
            try {
                lines.push_back(c.Client->ReadLine());
            } catch (const EMxConnClosedGracefully&) {
                gracefully = true;
            } catch (const EMxException& e) {
                clientError = std::string(e.ClassName()) + ": " + e.what();
            }
            stillConnected = c.Client->IsConnected();
            c.Client->Disconnect();
        } catch (const std::exception& e) {
            clientError = e.what();
        }
    });
    std::unique_ptr<TMxIOHandler> peer(server.Accept(listener.Handle.Handle()));
    ASSERT_NE(peer, nullptr);
    peer->OnAccepted();
    const std::string bye = "bye\r\n";
    peer->SendBytes(bye.data(), static_cast<int>(bye.size()));
    auto* socketPeer = dynamic_cast<TMxIOHandlerSocket*>(peer.get());
    ASSERT_NE(socketPeer, nullptr);
    Stack().SockShutdown(socketPeer->SocketBinding()->Handle(), 2);
    client.join();
    EXPECT_EQ(lines, std::vector<std::string>{"bye"});
    EXPECT_TRUE(gracefully) << clientError;
    EXPECT_FALSE(stillConnected);
}

// The switch to TLS on an open connection is bound by the handshake
// time-out too: a peer that goes silent after its go-ahead fails it.
TEST(TlsReading, StartTlsHandshakeIsBoundByItsTimeOut) {
    mailtest::ScriptedPeer peer({mailtest::Send("220 go ahead\r\n"), "stall"});
    TlsPortClient c(peer.Port());
    c.Handler->HandshakeTimeout = 300;
    c.Handler->SetBypassTls(true);
    c.Client->Connect(10000);
    EXPECT_EQ(c.Client->ReadLine(), "220 go ahead");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(c.Handler->SetBypassTls(false), EMxOSSLConnectError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_FALSE(c.Client->IsConnected());
}
