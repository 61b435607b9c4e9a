// Connecting through a SOCKS proxy played by a scripted peer: the bytes of
// each handshake, the proxy's refusals, and what is left on the line after
// the proxy's reply.
#include "Peer.h"

#include "mail/MxIOHandler.h"
#include "mail/MxNetExceptions.h"
#include "mail/MxSocks.h"
#include "mail/MxTCPClient.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace mail;
using mailtest::Expect;
using mailtest::Send;

namespace {

std::string ByteString(std::initializer_list<int> AValues) {
    std::string bytes;
    for (int v : AValues) bytes += static_cast<char>(v);
    return bytes;
}

struct SocksRow {
    const char* name;
    TSocksVersion version;
    TSocksAuthentication auth;
    std::string username;
    std::string password;
    std::string host; // the target
    std::vector<std::string> steps;
    std::string error; // empty: the line "after" must come through
};

// The target port 4660 is 0x12 0x34 in network order.
constexpr int TargetPort = 4660;

void RunRows(const std::vector<SocksRow>& ARows) {
    std::vector<std::string> steps;
    for (const SocksRow& row : ARows) {
        if (!steps.empty()) steps.push_back("--");
        steps.insert(steps.end(), row.steps.begin(), row.steps.end());
        if (row.error.empty()) steps.push_back(Send("after\r\n"));
    }
    mailtest::ScriptedPeer peer(steps);
    for (const SocksRow& row : ARows) {
        SCOPED_TRACE(row.name);
        TMxTCPClient client;
        auto* handler = new TMxIOHandlerSocket(&client);
        client.SetIOHandler(handler);
        TMxSocksInfo* socks = handler->SocksInfo();
        socks->Version = row.version;
        socks->Authentication = row.auth;
        socks->Username = row.username;
        socks->Password = row.password;
        socks->Host = "127.0.0.1";
        socks->Port = peer.Port();
        socks->ReplyTimeout = 3000;
        client.ReadTimeout = 3000;
        client.SetHost(row.version == TSocksVersion::svNoSocks ? "127.0.0.1" : row.host);
        client.SetPort(row.version == TSocksVersion::svNoSocks ? peer.Port() : TargetPort);
        if (row.error.empty()) {
            client.Connect(3000);
            EXPECT_EQ(client.ReadLine(), "after");
        } else {
            try {
                client.Connect(3000);
                ADD_FAILURE() << "no exception";
            } catch (const EMxSocksError& e) {
                EXPECT_EQ(std::string(e.what()), row.error);
            }
            EXPECT_FALSE(client.IOHandler()->IsConnected());
        }
        client.Disconnect();
    }
    for (const std::string& line : peer.Finish())
        EXPECT_EQ(line.rfind("MISMATCH", 0), std::string::npos) << line;
}

const std::string Target = "target.example"; // 14 characters
const std::string Socks5NoAuth = Expect(ByteString({5, 1, 0}));
const std::string Socks5Request =
    Expect(ByteString({5, 1, 0, 3, 14}) + Target + ByteString({0x12, 0x34}));

} // namespace

TEST(SocksReading, Socks4HandshakesAndRefusals) {
    const std::string header = ByteString({4, 1, 0x12, 0x34, 127, 0, 0, 1});
    const std::string header4A = ByteString({4, 1, 0x12, 0x34, 0, 0, 0, 1});
    auto reply = [](int ACode) { return Send(ByteString({0, ACode, 0, 0, 0, 0, 0, 0})); };
    const std::vector<SocksRow> rows = {
        {"no socks", TSocksVersion::svNoSocks, TSocksAuthentication::saNoAuthentication, "", "",
         "", {}, ""},
        {"4, empty user", TSocksVersion::svSocks4, TSocksAuthentication::saNoAuthentication, "", "",
         "127.0.0.1", {Expect(header + std::string(1, '\0')), reply(90)}, ""},
        {"4, user", TSocksVersion::svSocks4, TSocksAuthentication::saNoAuthentication, "bob", "",
         "127.0.0.1", {Expect(header + "bob" + std::string(1, '\0')), reply(90)}, ""},
        {"4, named target", TSocksVersion::svSocks4, TSocksAuthentication::saNoAuthentication, "",
         "", "LocalHost", {Expect(header + std::string(1, '\0')), reply(90)}, ""},
        {"4A", TSocksVersion::svSocks4A, TSocksAuthentication::saNoAuthentication, "bob", "",
         Target,
         {Expect(header4A + "bob" + std::string(1, '\0') + Target + std::string(1, '\0')),
          reply(90)},
         ""},
        {"4, rejected", TSocksVersion::svSocks4, TSocksAuthentication::saNoAuthentication, "", "",
         "127.0.0.1", {Expect(header + std::string(1, '\0')), reply(91)},
         "Request rejected or failed."},
        {"4, server cannot connect", TSocksVersion::svSocks4,
         TSocksAuthentication::saNoAuthentication, "", "", "127.0.0.1",
         {Expect(header + std::string(1, '\0')), reply(92)},
         "Request rejected because SOCKS server cannot connect."},
        {"4, ident", TSocksVersion::svSocks4, TSocksAuthentication::saNoAuthentication, "", "",
         "127.0.0.1", {Expect(header + std::string(1, '\0')), reply(93)},
         "Request rejected because the client program and identd report different user-ids."},
        {"4, unknown", TSocksVersion::svSocks4, TSocksAuthentication::saNoAuthentication, "", "",
         "127.0.0.1", {Expect(header + std::string(1, '\0')), reply(7)}, "Unknown socks error."},
    };
    RunRows(rows);
}

TEST(SocksReading, Socks5HandshakesConsumeExactlyTheReply) {
    const std::string ok = ByteString({5, 0});
    const std::vector<SocksRow> rows = {
        {"domain reply", TSocksVersion::svSocks5, TSocksAuthentication::saNoAuthentication, "", "",
         Target,
         {Socks5NoAuth, Send(ok), Socks5Request,
          Send(ByteString({5, 0, 0, 3, 11}) + "bound.local" + ByteString({0, 80}))},
         ""},
        {"ipv4 reply", TSocksVersion::svSocks5, TSocksAuthentication::saNoAuthentication, "", "",
         Target,
         {Socks5NoAuth, Send(ok), Socks5Request, Send(ByteString({5, 0, 0, 1, 10, 0, 0, 1, 0, 80}))},
         ""},
        {"ipv6 reply", TSocksVersion::svSocks5, TSocksAuthentication::saNoAuthentication, "", "",
         Target,
         {Socks5NoAuth, Send(ok), Socks5Request,
          Send(ByteString({5, 0, 0, 4}) + std::string(16, '\1') + ByteString({0, 80}))},
         ""},
        {"user and password", TSocksVersion::svSocks5, TSocksAuthentication::saUsernamePassword,
         "bob", "pw", Target,
         {Expect(ByteString({5, 1, 2})), Send(ByteString({5, 2})), Expect(ByteString({1, 3}) + "bob" + ByteString({2}) + "pw"),
          Send(ByteString({1, 0})), Socks5Request, Send(ByteString({5, 0, 0, 1, 10, 0, 0, 1, 0, 80}))},
         ""},
        {"address text passed as a name", TSocksVersion::svSocks5,
         TSocksAuthentication::saNoAuthentication, "", "", "10.1.2.3",
         {Socks5NoAuth, Send(ok), Expect(ByteString({5, 1, 0, 3, 8}) + "10.1.2.3" + ByteString({0x12, 0x34})),
          Send(ByteString({5, 0, 0, 1, 10, 0, 0, 1, 0, 80}))},
         ""},
        {"method refused", TSocksVersion::svSocks5, TSocksAuthentication::saNoAuthentication, "",
         "", Target, {Socks5NoAuth, Send(ByteString({5, 2}))}, "Invalid socks authentication method."},
        {"no acceptable method", TSocksVersion::svSocks5, TSocksAuthentication::saUsernamePassword,
         "bob", "pw", Target, {Expect(ByteString({5, 1, 2})), Send(ByteString({5, 0xFF}))},
         "Invalid socks authentication method."},
        {"bad password", TSocksVersion::svSocks5, TSocksAuthentication::saUsernamePassword, "bob",
         "pw", Target,
         {Expect(ByteString({5, 1, 2})), Send(ByteString({5, 2})), Expect(ByteString({1, 3}) + "bob" + ByteString({2}) + "pw"),
          Send(ByteString({1, 1}))},
         "Authentication error to socks server."},
        {"silent after greeting", TSocksVersion::svSocks5, TSocksAuthentication::saNoAuthentication,
         "", "", Target, {Socks5NoAuth}, "Socks server did not respond."},
        {"short connect reply", TSocksVersion::svSocks5, TSocksAuthentication::saNoAuthentication,
         "", "", Target, {Socks5NoAuth, Send(ok), Socks5Request, Send(ByteString({5, 0, 0}))},
         "Socks server did not respond."},
    };
    RunRows(rows);
}

TEST(SocksReading, Socks5ReplyCodesNameTheirFailure) {
    const std::vector<std::string> texts = {
        "General SOCKS server failure.", "Connection not allowed by ruleset.",
        "Network unreachable.",          "Host unreachable.",
        "Connection refused.",           "TTL expired.",
        "Command not supported.",        "Address type not supported.",
        "Unknown socks error."};
    std::vector<SocksRow> rows;
    for (int code = 1; code <= 9; ++code)
        rows.push_back({"code", TSocksVersion::svSocks5, TSocksAuthentication::saNoAuthentication, "",
                        "", Target,
                        {Socks5NoAuth, Send(ByteString({5, 0})), Socks5Request,
                         Send(ByteString({5, code, 0, 1, 0}))},
                        texts[static_cast<std::size_t>(code - 1)]});
    RunRows(rows);
}

TEST(SocksReading, FieldsTheProxyCouldMisreadAreRefusedBeforeAnythingIsSent) {
    // A length byte cannot tell more than 255 and a NUL ends a SOCKS 4
    // field early: either would let the proxy read the rest as a request.
    const std::string longText(256, 'x');
    const std::string withNul = std::string("bo") + '\0' + "b";
    struct Case {
        const char* name;
        TSocksVersion version;
        TSocksAuthentication auth;
        std::string username;
        std::string password;
        std::string host;
    };
    const std::vector<Case> cases = {
        {"5, user", TSocksVersion::svSocks5, TSocksAuthentication::saUsernamePassword, longText,
         "pw", Target},
        {"5, password", TSocksVersion::svSocks5, TSocksAuthentication::saUsernamePassword, "bob",
         longText, Target},
        {"5, host", TSocksVersion::svSocks5, TSocksAuthentication::saNoAuthentication, "", "",
         longText},
        {"4, user", TSocksVersion::svSocks4, TSocksAuthentication::saNoAuthentication, longText, "",
         "127.0.0.1"},
        {"4A, user with NUL", TSocksVersion::svSocks4A, TSocksAuthentication::saNoAuthentication,
         withNul, "", Target},
    };
    std::vector<std::string> steps;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        if (i > 0) steps.push_back("--");
        steps.push_back("recv:1");
    }
    mailtest::ScriptedPeer peer(steps);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMxTCPClient client;
        auto* handler = new TMxIOHandlerSocket(&client);
        client.SetIOHandler(handler);
        TMxSocksInfo* socks = handler->SocksInfo();
        socks->Version = c.version;
        socks->Authentication = c.auth;
        socks->Username = c.username;
        socks->Password = c.password;
        socks->Host = "127.0.0.1";
        socks->Port = peer.Port();
        socks->ReplyTimeout = 3000;
        client.SetHost(c.host);
        client.SetPort(TargetPort);
        EXPECT_THROW(client.Connect(3000), EMxSocksError);
        EXPECT_FALSE(client.IOHandler()->IsConnected());
    }
    std::vector<std::string> received;
    for (const std::string& line : peer.Finish())
        if (line.rfind("RECV", 0) == 0) received.push_back(line);
    EXPECT_EQ(received, std::vector<std::string>(cases.size(), "RECV "));
}

TEST(SocksReading, AssignCopiesAllSixSettings) {
    TMxSocksInfo source;
    source.Authentication = TSocksAuthentication::saUsernamePassword;
    source.Host = "proxy.example";
    source.Password = "pw";
    source.Port = 9050;
    source.Username = "bob";
    source.Version = TSocksVersion::svSocks4A;
    TMxSocksInfo target;
    EXPECT_EQ(target.Port, 1080);
    EXPECT_EQ(target.Version, TSocksVersion::svNoSocks);
    EXPECT_EQ(target.Authentication, TSocksAuthentication::saNoAuthentication);
    target.Assign(&source);
    EXPECT_EQ(target.Authentication, source.Authentication);
    EXPECT_EQ(target.Host, source.Host);
    EXPECT_EQ(target.Password, source.Password);
    EXPECT_EQ(target.Port, source.Port);
    EXPECT_EQ(target.Username, source.Username);
    EXPECT_EQ(target.Version, source.Version);
}

TEST(SocksReading, Socks4TargetThatDoesNotResolveFailsWithTheLinkClosed) {
    mailtest::ScriptedPeer peer({"recv:1"});
    TMxTCPClient client;
    auto* handler = new TMxIOHandlerSocket(&client);
    client.SetIOHandler(handler);
    TMxSocksInfo* socks = handler->SocksInfo();
    socks->Version = TSocksVersion::svSocks4;
    socks->Host = "127.0.0.1";
    socks->Port = peer.Port();
    client.SetHost("no-such-host.invalid");
    client.SetPort(TargetPort);
    EXPECT_THROW(client.Connect(3000), EMxException);
    EXPECT_FALSE(client.IOHandler()->IsConnected());
    const std::vector<std::string> lines = peer.Finish();
    EXPECT_NE(std::find(lines.begin(), lines.end(), "RECV "), lines.end());
}
