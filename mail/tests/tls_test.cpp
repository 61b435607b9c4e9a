#include "Certificates.h"
#include "Peer.h"
#include "mail/MxNetExceptions.h"
#include "mail/MxSSLContext.h"
#include "mail/MxSSLExceptions.h"
#include "mail/MxSSLIOHandler.h"
#include "mail/MxSSLSocket.h"
#include "mail/MxSSLX509.h"
#include "mail/MxTCPClient.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <chrono>
#include <functional>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace mail;
using mailtest::Certificates;

namespace {

// Answers the password callback with a fixed text.
class PasswordParent : public TMxSSLParent {
public:
    explicit PasswordParent(std::string APassword) : FPassword(std::move(APassword)) {}
    void NotifyStatusInfo(const AnsiString&) override {}
    void AskPassword(AnsiString& APassword) override { APassword = FPassword; }
    bool VerifyPeer(TMxX509*) override { return true; }

private:
    std::string FPassword;
};

// A TLS server in a thread of its own on a loopback port: it accepts one
// connection with the server handler, runs the handshake (unless it starts
// in the clear) and hands a connection over it to the script.
class TlsServer {
public:
    using TScript = std::function<void(TMxTCPConnection&, TMxSSLIOHandlerSocket&)>;

    TlsServer(const std::string& ACert, const std::string& AKey, TScript AScript,
              bool AStartInClear = false) {
        FListener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(FListener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(FListener, 1) != 0 ||
            getsockname(FListener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("cannot listen");
        FPort = ntohs(address.sin_port);
        FThread = std::thread([=, this] { Serve(ACert, AKey, AScript, AStartInClear); });
    }

    ~TlsServer() {
        if (FThread.joinable()) FThread.join();
        close(FListener);
    }

    int Port() const { return FPort; }
    // Waits for the server to finish; what went wrong on its side.
    std::string Finish() {
        if (FThread.joinable()) FThread.join();
        return FError;
    }
    std::string ServerName; // the name the client sent for SNI

private:
    void Serve(const std::string& ACert, const std::string& AKey, const TScript& AScript,
               bool AStartInClear) {
        try {
            pollfd ready{FListener, POLLIN, 0};
            if (poll(&ready, 1, 5000) != 1) throw std::runtime_error("no client came");
            TMxServerIOHandlerSSL server;
            server.SSLOptions()->CertFile = ACert;
            server.SSLOptions()->KeyFile = AKey;
            server.HandshakeTimeout = 5000;
            std::unique_ptr<TMxIOHandler> handler(server.Accept(FListener));
            auto* peer = static_cast<TMxSSLIOHandlerSocket*>(handler.get());
            if (AStartInClear) {
                peer->SetBypassTls(true);
            } else {
                peer->OnAccepted();
                if (const char* name =
                        SSL_get_servername(peer->SSLSocket()->Session(), TLSEXT_NAMETYPE_host_name))
                    ServerName = name;
            }
            TMxTCPConnection connection;
            connection.ReadTimeout = 5000;
            connection.SetIOHandler(peer);
            AScript(connection, *peer);
        } catch (const std::exception& e) {
            FError = e.what();
        }
    }

    int FListener = -1;
    int FPort = 0;
    std::thread FThread;
    std::string FError;
};

// A client over the TLS handler, with the status texts it reported.
struct TlsClient {
    TlsClient() {
        Handler.HandshakeTimeout = 5000;
        Handler.OnStatusInfo = [this](const AnsiString& AMsg) { Status.push_back(AMsg); };
        Client.SetIOHandler(&Handler);
        Client.SetHost("localhost");
        Client.ReadTimeout = 5000;
    }
    bool StatusContains(const std::string& AText) const {
        for (const AnsiString& line : Status)
            if (line.find(AText) != AnsiString::npos) return true;
        return false;
    }
    std::vector<AnsiString> Status; // first: the handler reports until it goes
    TMxSSLIOHandlerSocket Handler;
    TMxTCPClient Client;
};

// Reads lines for the server until the client goes away.
void EchoUntilClosed(TMxTCPConnection& AConnection, TMxSSLIOHandlerSocket&) {
    try {
        while (true)
            AConnection.WriteLine("echo " + AConnection.ReadLine());
    } catch (const EMxException&) {
    }
}

} // namespace

TEST(MxSSLContext, SetUpFailuresNameTheirCause) {
    const Certificates& files = Certificates::Get();
    struct Case {
        const char* Name;
        std::function<void(TMxSSLContext&)> Setup;
        std::string Password;
        const char* Message; // nullptr: the set-up succeeds
    };
    const std::string longPassword(5000, 'x');
    const std::vector<Case> cases = {
        {"default cipher list", [](TMxSSLContext&) {}, "", nullptr},
        {"bad cipher list", [](TMxSSLContext& c) { c.CipherList = "NO-SUCH-CIPHER"; }, "",
         "SetCipher failed."},
        {"missing root", [&](TMxSSLContext& c) { c.RootCertFile = files.Path("none.crt"); }, "",
         "Could not load root certificate."},
        {"missing cert", [&](TMxSSLContext& c) { c.CertFile = files.Path("none.crt"); }, "",
         "Could not load certificate."},
        {"key of another cert",
         [&](TMxSSLContext& c) {
             c.CertFile = files.LocalhostCert();
             c.KeyFile = files.OtherKey();
         },
         "", "Could not load key, check password."},
        {"locked key, right password",
         [&](TMxSSLContext& c) {
             c.CertFile = files.LocalhostCert();
             c.KeyFile = files.LockedKey();
         },
         Certificates::LockedKeyPassword, nullptr},
        {"locked key, wrong password",
         [&](TMxSSLContext& c) {
             c.CertFile = files.LocalhostCert();
             c.KeyFile = files.LockedKey();
         },
         "wrong", "Could not load key, check password."},
        {"locked key, password longer than the buffer",
         [&](TMxSSLContext& c) {
             c.CertFile = files.LocalhostCert();
             c.KeyFile = files.LockedKey();
         },
         longPassword, "Could not load key, check password."},
    };
    for (const Case& c : cases) {
        PasswordParent parent(c.Password);
        TMxSSLContext context;
        context.Parent = &parent;
        c.Setup(context);
        if (!c.Message) {
            EXPECT_NO_THROW(context.SetUpContext(TMxSSLContextRole::ctxClient)) << c.Name;
            EXPECT_NE(context.Handle(), nullptr) << c.Name;
            continue;
        }
        try {
            context.SetUpContext(TMxSSLContextRole::ctxClient);
            ADD_FAILURE() << c.Name << ": no error";
        } catch (const EMxOpenSSLError& e) {
            EXPECT_STREQ(e.what(), c.Message) << c.Name;
        }
    }
}

TEST(MxSSLContext, EveryMethodNegotiatesTheCurrentProtocolForItsRole) {
    for (TMxSSLVersion method : {TMxSSLVersion::sslvSSLv2, TMxSSLVersion::sslvSSLv23,
                                 TMxSSLVersion::sslvSSLv3, TMxSSLVersion::sslvTLSv1}) {
        TMxSSLContext context;
        context.Method = method;
        EXPECT_THROW(context.SelectMethod(), EMxOSSLModeNotSet);
        context.Mode = TMxSSLMode::sslmClient;
        EXPECT_EQ(context.SelectMethod(), TLS_client_method());
        context.Mode = TMxSSLMode::sslmServer;
        EXPECT_EQ(context.SelectMethod(), TLS_server_method());
        context.Mode = TMxSSLMode::sslmBoth;
        EXPECT_EQ(context.SelectMethod(), TLS_method());
    }
    TMxSSLContext context;
    context.Method = static_cast<TMxSSLVersion>(9);
    context.Mode = TMxSSLMode::sslmClient;
    try {
        context.SelectMethod();
        ADD_FAILURE() << "an unknown method was accepted";
    } catch (const EMxOSSLGetMethodError& e) {
        EXPECT_STREQ(e.what(), "Error geting SSL method.");
    }
    // Set-up on a client gives an unassigned mode the client role.
    TMxSSLContext client;
    client.Method = TMxSSLVersion::sslvTLSv1;
    client.SetUpContext(TMxSSLContextRole::ctxClient);
    EXPECT_EQ(client.Mode, TMxSSLMode::sslmClient);
    EXPECT_EQ(SSL_CTX_get_ssl_method(client.Handle()), TLS_client_method());
}

TEST(MxSSLIOHandlerSocket, VerifiesTheServerCertificateAndName) {
    const Certificates& files = Certificates::Get();
    struct Case {
        const char* Name;
        std::string Cert;
        std::string Key;
        std::string Host;
        bool GiveCA;
        bool PeerAccepted;  // what OnVerifyPeer answers
        const char* Reason; // nullptr: the connection works
    };
    const std::vector<Case> cases = {
        {"name matches", files.LocalhostCert(), files.LocalhostKey(), "localhost", true, true,
         nullptr},
        {"address matches", files.LocalhostCert(), files.LocalhostKey(), "127.0.0.1", true, true,
         nullptr},
        {"issuer not trusted", files.LocalhostCert(), files.LocalhostKey(), "localhost", false,
         true, "certificate verify failed"},
        {"name does not match", files.WrongNameCert(), files.WrongNameKey(), "localhost", true,
         true, "hostname mismatch"},
        {"event refuses", files.LocalhostCert(), files.LocalhostKey(), "localhost", true, false,
         "certificate verify failed"},
    };
    for (const Case& c : cases) {
        TlsServer server(c.Cert, c.Key, EchoUntilClosed);
        TlsClient client;
        client.Client.SetHost(c.Host);
        client.Client.SetPort(server.Port());
        if (c.GiveCA) client.Handler.SSLOptions()->RootCertFile = files.CA();
        std::vector<AnsiString> subjects;
        client.Handler.OnVerifyPeer = [&](TMxX509* ACertificate) {
            subjects.push_back(ACertificate->Subject()->OneLine());
            return c.PeerAccepted;
        };
        if (c.Reason) {
            try {
                client.Client.Connect(5000);
                ADD_FAILURE() << c.Name << ": connected";
            } catch (const EMxOSSLConnectError& e) {
                EXPECT_STREQ(e.what(), "Error connecting with SSL.") << c.Name;
            }
            EXPECT_TRUE(client.StatusContains(c.Reason)) << c.Name;
            EXPECT_FALSE(client.Handler.IsConnected()) << c.Name;
            server.Finish();
            continue;
        }
        client.Client.Connect(5000);
        client.Client.WriteLine("hello");
        EXPECT_EQ(client.Client.ReadLine(), "echo hello") << c.Name;
        EXPECT_TRUE(client.StatusContains("Cipher: name = ")) << c.Name;
        EXPECT_TRUE(client.StatusContains("SSL status: \"")) << c.Name;
        ASSERT_FALSE(subjects.empty()) << c.Name;
        EXPECT_EQ(subjects.back(), "/CN=localhost") << c.Name;
        client.Client.Disconnect();
        EXPECT_EQ(server.Finish(), "") << c.Name;
        // SNI carries names only, never addresses.
        EXPECT_EQ(server.ServerName, c.Host == "localhost" ? "localhost" : "") << c.Name;
    }
}

TEST(MxSSLIOHandlerSocket, DataOpenSSLAlreadyHoldsIsReadWithoutWaiting) {
    const Certificates& files = Certificates::Get();
    // One record carries both lines; the client takes four bytes a read,
    // so most of it waits inside OpenSSL, not on the socket.
    TlsServer server(files.LocalhostCert(), files.LocalhostKey(),
                     [](TMxTCPConnection& AConnection, TMxSSLIOHandlerSocket&) {
                         AConnection.Write("first line\r\nsecond line\r\n");
                         EchoUntilClosed(AConnection, *static_cast<TMxSSLIOHandlerSocket*>(
                                                          AConnection.IOHandler()));
                     });
    TlsClient client;
    client.Handler.SSLOptions()->RootCertFile = files.CA();
    client.Client.SetPort(server.Port());
    client.Client.RecvBufferSize = 4;
    client.Client.ReadTimeout = 3000;
    client.Client.Connect(5000);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(client.Client.ReadLine(), "first line");
    EXPECT_EQ(client.Client.ReadLine(), "second line");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    client.Client.Disconnect();
    EXPECT_EQ(server.Finish(), "");
}

TEST(MxSSLIOHandlerSocket, PassThroughSwitchesToTlsOnTheOpenSocketOnce) {
    const Certificates& files = Certificates::Get();
    TlsServer server(
        files.LocalhostCert(), files.LocalhostKey(),
        [](TMxTCPConnection& AConnection, TMxSSLIOHandlerSocket& APeer) {
            AConnection.WriteLine("220 ready");
            if (AConnection.ReadLine() != "STARTTLS") throw std::runtime_error("no STARTTLS");
            AConnection.WriteLine("220 go ahead");
            APeer.OnAccepted();
            APeer.SetBypassTls(false);
            EchoUntilClosed(AConnection, APeer);
        },
        true);
    TlsClient client;
    client.Handler.SSLOptions()->RootCertFile = files.CA();
    client.Handler.SetBypassTls(true);
    client.Client.SetPort(server.Port());
    client.Client.Connect(5000);
    EXPECT_EQ(client.Handler.SSLSocket(), nullptr);
    EXPECT_EQ(client.Client.ReadReply({220}), 220);
    client.Client.SendCommand("STARTTLS", 220);
    client.Client.ResetConnectionState();
    client.Handler.SetBypassTls(false);
    TMxSSLSocket* session = client.Handler.SSLSocket();
    ASSERT_NE(session, nullptr);
    client.Handler.SetBypassTls(false);
    EXPECT_EQ(client.Handler.SSLSocket(), session);
    int handshakes = 0;
    for (const AnsiString& line : client.Status)
        handshakes += line.rfind("Cipher: ", 0) == 0;
    EXPECT_EQ(handshakes, 1);
    client.Client.WriteLine("over tls");
    EXPECT_EQ(client.Client.ReadLine(), "echo over tls");
    client.Client.Disconnect();
    EXPECT_EQ(server.Finish(), "");
}

TEST(MxSSLIOHandlerSocket, FailedHandshakesCloseTheConnection) {
    using mailtest::Expect;
    using mailtest::Send;
    struct Case {
        const char* Name;
        std::vector<std::string> Steps;
        bool StartTls;
    };
    const std::vector<Case> cases = {
        {"server stalls in the handshake", {"stall"}, false},
        {"server answers the handshake in the clear",
         {Send("220 ready\r\n"), Expect("STARTTLS\r\n"), Send("220 go ahead\r\n"),
          Send("this is not TLS\r\n"), "stall"},
         true},
    };
    for (const Case& c : cases) {
        mailtest::ScriptedPeer peer(c.Steps);
        TlsClient client;
        client.Handler.HandshakeTimeout = 300;
        client.Handler.SSLOptions()->RootCertFile = Certificates::Get().CA();
        client.Handler.SetBypassTls(c.StartTls);
        client.Client.SetPort(peer.Port());
        const auto start = std::chrono::steady_clock::now();
        try {
            client.Client.Connect(5000);
            if (c.StartTls) {
                client.Client.ReadReply({220});
                client.Client.SendCommand("STARTTLS", 220);
                client.Handler.SetBypassTls(false);
            }
            ADD_FAILURE() << c.Name << ": handshake succeeded";
        } catch (const EMxOSSLConnectError& e) {
            EXPECT_STREQ(e.what(), "Error connecting with SSL.") << c.Name;
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3)) << c.Name;
        EXPECT_FALSE(client.Handler.IsConnected()) << c.Name;
        // Nothing may go out in the clear after a failed switch.
        EXPECT_THROW(client.Client.WriteLine("AUTH LOGIN"), EMxException) << c.Name;
        EXPECT_EQ(client.Handler.SSLSocket(), nullptr) << c.Name;
        peer.Finish();
    }
}
