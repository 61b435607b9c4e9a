#include "Peer.h"
#include "mail/MxIOHandler.h"
#include "mail/MxNetExceptions.h"
#include "mail/MxSocks.h"
#include "mail/MxTCPClient.h"

#include <gtest/gtest.h>

#include <initializer_list>

using namespace mail;
using mailtest::Expect;
using mailtest::ScriptedPeer;
using mailtest::Send;

namespace {

std::string Bytes(std::initializer_list<int> AValues) {
    std::string bytes;
    for (int value : AValues)
        bytes += static_cast<char>(value);
    return bytes;
}

const std::string Port25 = Bytes({0, 25});

// A client that reaches AHost:25 through the proxy at APeerPort.
struct ProxiedClient {
    ProxiedClient(int APeerPort, TSocksVersion AVersion, const AnsiString& AHost) {
        Client.SetIOHandler(Handler);
        TMxSocksInfo* socks = Handler->SocksInfo();
        socks->Version = AVersion;
        socks->Host = "127.0.0.1";
        socks->Port = APeerPort;
        Client.SetHost(AHost);
        Client.SetPort(25);
        Client.ReadTimeout = 5000;
    }
    TMxSocksInfo& Socks() { return *Handler->SocksInfo(); }

    TMxTCPClient Client;
    TMxIOHandlerSocket* Handler = new TMxIOHandlerSocket(&Client);
};

} // namespace

TEST(MxSocks, Socks5WithoutAuthentication) {
    // The success reply names an 11-character domain: 18 bytes in all, and
    // the target's greeting follows at once.
    const std::string name = Bytes({11}) + "example.com";
    ScriptedPeer peer({Expect(Bytes({5, 1, 0})), Send(Bytes({5, 0})),
                       Expect(Bytes({5, 1, 0, 3}) + name + Port25),
                       Send(Bytes({5, 0, 0, 3}) + name + Port25 + "220 ready\r\n")});
    ProxiedClient proxied(peer.Port(), TSocksVersion::svSocks5, "example.com");
    proxied.Client.Connect(5000);
    EXPECT_EQ(proxied.Client.ReadLine(), "220 ready");
}

TEST(MxSocks, Socks5WithUserAndPassword) {
    ScriptedPeer peer({Expect(Bytes({5, 1, 2})), Send(Bytes({5, 2})),
                       Expect(Bytes({1, 4}) + "user" + Bytes({6}) + "secret"), Send(Bytes({1, 0})),
                       Expect(Bytes({5, 1, 0, 3, 9}) + "mail.test" + Port25),
                       Send(Bytes({5, 0, 0, 1, 127, 0, 0, 1, 4, 0}) + "220 ok\r\n")});
    ProxiedClient proxied(peer.Port(), TSocksVersion::svSocks5, "mail.test");
    proxied.Socks().Authentication = TSocksAuthentication::saUsernamePassword;
    proxied.Socks().Username = "user";
    proxied.Socks().Password = "secret";
    proxied.Client.Connect(5000);
    EXPECT_EQ(proxied.Client.ReadLine(), "220 ok");
}

TEST(MxSocks, Socks4AAndSocks4) {
    ScriptedPeer peer(
        {Expect(Bytes({4, 1, 0, 25, 0, 0, 0, 1}) + "user" + Bytes({0}) + "mail.test" + Bytes({0})),
         Send(Bytes({0, 90, 0, 0, 0, 0, 0, 0}) + "220 4a\r\n"), "--",
         // An empty user id: the 8-byte header and the NUL.
         Expect(Bytes({4, 1, 0, 25, 127, 0, 0, 1, 0})),
         Send(Bytes({0, 90, 0, 0, 0, 0, 0, 0}) + "220 4\r\n")});
    ProxiedClient with4A(peer.Port(), TSocksVersion::svSocks4A, "mail.test");
    with4A.Socks().Username = "user";
    with4A.Client.Connect(5000);
    EXPECT_EQ(with4A.Client.ReadLine(), "220 4a");
    ProxiedClient with4(peer.Port(), TSocksVersion::svSocks4, "localhost");
    with4.Client.Connect(5000);
    EXPECT_EQ(with4.Client.ReadLine(), "220 4");
}

TEST(MxSocks, ProxyFailures) {
    struct Case {
        TSocksVersion Version;
        bool Login;
        std::vector<std::string> Steps;
        const char* Class;
        std::string Message;
    };
    const std::string greeting = Bytes({5, 1, 0});
    const std::string request = "recv:16"; // 5, 1, 0, 3, 9, "mail.test", port
    auto socks5 = [&](int ACode, const char* AClass, const char* AMessage) {
        return Case{TSocksVersion::svSocks5,
                    false,
                    {Expect(greeting), Send(Bytes({5, 0})), request,
                     Send(Bytes({5, ACode, 0, 1, 127, 0, 0, 1, 0, 25}))},
                    AClass,
                    AMessage};
    };
    auto socks4 = [&](int ACode, const char* AClass, const char* AMessage) {
        return Case{TSocksVersion::svSocks4,
                    false,
                    {"recv:9", Send(Bytes({0, ACode, 0, 0, 0, 0, 0, 0}))},
                    AClass,
                    AMessage};
    };
    const std::vector<Case> cases = {
        socks5(1, "EMxSocksServerGeneralError", "General SOCKS server failure."),
        socks5(2, "EMxSocksServerPermissionError", "Connection not allowed by ruleset."),
        socks5(3, "EMxSocksServerNetUnreachableError", "Network unreachable."),
        socks5(4, "EMxSocksServerHostUnreachableError", "Host unreachable."),
        socks5(5, "EMxSocksServerConnectionRefusedError", "Connection refused."),
        socks5(6, "EMxSocksServerTTLExpiredError", "TTL expired."),
        socks5(7, "EMxSocksServerCommandError", "Command not supported."),
        socks5(8, "EMxSocksServerAddressError", "Address type not supported."),
        socks5(9, "EMxSocksUnknownError", "Unknown socks error."),
        socks4(91, "EMxSocksRequestFailed", "Request rejected or failed."),
        socks4(92, "EMxSocksRequestServerFailed",
               "Request rejected because SOCKS server cannot connect."),
        socks4(93, "EMxSocksRequestIdentFailed",
               "Request rejected because the client program and identd report different "
               "user-ids."),
        socks4(16, "EMxSocksUnknownError", "Unknown socks error."),
        {TSocksVersion::svSocks5,
         false,
         {Expect(greeting), Send(Bytes({5, 2}))},
         "EMxSocksAuthMethodError",
         "Invalid socks authentication method."},
        {TSocksVersion::svSocks5,
         true,
         {Expect(Bytes({5, 1, 2})), Send(Bytes({5, 2})),
          Expect(Bytes({1, 1}) + "u" + Bytes({1}) + "p"), Send(Bytes({1, 1}))},
         "EMxSocksAuthError",
         "Authentication error to socks server."},
        {TSocksVersion::svSocks5,
         false,
         {Expect(greeting), Send(Bytes({5}))},
         "EMxSocksServerRespondError",
         "Socks server did not respond."},
        {TSocksVersion::svSocks5,
         false,
         {Expect(greeting), "stall"},
         "EMxSocksServerRespondError",
         "Socks server did not respond."},
        {TSocksVersion::svSocks5,
         false,
         {Expect(greeting), Send(Bytes({5, 0})), request, Send(Bytes({5, 0, 0, 7, 1}))},
         "EMxSocksUnknownError",
         "Unknown socks error."},
    };
    std::vector<std::string> steps;
    for (const Case& c : cases) {
        if (!steps.empty()) steps.push_back("--");
        steps.insert(steps.end(), c.Steps.begin(), c.Steps.end());
    }
    ScriptedPeer peer(steps);
    for (const Case& c : cases) {
        ProxiedClient proxied(peer.Port(), c.Version,
                              c.Version == TSocksVersion::svSocks4 ? "127.0.0.1" : "mail.test");
        proxied.Socks().ReplyTimeout = 300;
        if (c.Login) {
            proxied.Socks().Authentication = TSocksAuthentication::saUsernamePassword;
            proxied.Socks().Username = "u";
            proxied.Socks().Password = "p";
        }
        try {
            proxied.Client.Connect(5000);
            ADD_FAILURE() << "connected: " << c.Message;
        } catch (const EMxSocksError& e) {
            EXPECT_STREQ(e.ClassName(), c.Class);
            EXPECT_EQ(e.what(), c.Message);
        }
        // A failed handshake leaves no connection behind.
        EXPECT_FALSE(proxied.Client.IsConnected()) << c.Message;
    }
    for (const std::string& line : peer.Finish())
        EXPECT_EQ(line.find("MISMATCH"), std::string::npos);
}

TEST(MxSocks, OverlongFieldsAreRefusedBeforeAnythingIsSent) {
    ScriptedPeer peer({"recv:1", "--", "recv:1"});
    ProxiedClient longUser(peer.Port(), TSocksVersion::svSocks5, "mail.test");
    longUser.Socks().Authentication = TSocksAuthentication::saUsernamePassword;
    longUser.Socks().Username = std::string(256, 'u');
    try {
        longUser.Client.Connect(5000);
        ADD_FAILURE() << "connected";
    } catch (const EMxSocksError& e) {
        EXPECT_STREQ(e.what(), "The SOCKS user name is longer than 255 bytes");
    }
    const std::string longHost(256, 'h');
    ProxiedClient longTarget(peer.Port(), TSocksVersion::svSocks4A, longHost);
    try {
        longTarget.Client.Connect(5000);
        ADD_FAILURE() << "connected";
    } catch (const EMxSocksError& e) {
        EXPECT_EQ(AnsiString(e.what()),
                  "The SOCKS target host name is longer than 255 bytes: " + longHost);
    }
    EXPECT_EQ(peer.Finish(), (std::vector<std::string>{"RECV ", "RECV ", "DONE"}));
}

TEST(MxSocks, SettingsWithoutOwnerAreCopiedAndOwnedOnesReferenced) {
    TMxIOHandlerSocket handler;
    EXPECT_EQ(handler.SocksInfo()->Version, TSocksVersion::svNoSocks);
    EXPECT_EQ(handler.SocksInfo()->Port, 1080);

    TMxSocksInfo loose;
    loose.Version = TSocksVersion::svSocks4A;
    loose.Host = "proxy";
    loose.Username = "me";
    handler.SetSocksInfo(&loose);
    EXPECT_NE(handler.SocksInfo(), &loose);
    EXPECT_EQ(handler.SocksInfo()->Version, TSocksVersion::svSocks4A);
    EXPECT_EQ(handler.SocksInfo()->Host, "proxy");
    EXPECT_EQ(handler.SocksInfo()->Username, "me");
    EXPECT_EQ(handler.SocksInfo()->IOHandler(), &handler);

    TComponent owner(nullptr);
    auto* shared = new TMxSocksInfo(&owner);
    handler.SetSocksInfo(shared);
    EXPECT_EQ(handler.SocksInfo(), shared);
    EXPECT_EQ(shared->IOHandler(), &handler);
    delete shared; // the handler forgets it and makes fresh settings on demand
    EXPECT_EQ(handler.SocksInfo()->Version, TSocksVersion::svNoSocks);
}
