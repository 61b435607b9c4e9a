#include "Peer.h"
#include "CountingAntiFreeze.h"
#include "mail/MxAntiFreeze.h"
#include "mail/MxIOHandler.h"
#include "mail/MxIntercept.h"
#include "mail/MxNetExceptions.h"
#include "mail/MxSocketHandle.h"
#include "mail/MxTCPClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

using namespace mail;
using mailtest::CountingAntiFreeze;
using mailtest::ScriptedPeer;

namespace {

struct SocketTest : ::testing::Test {
    TMxComponent Keeper; // keeps the stack alive
    TMxStack& S = Stack();
    std::vector<TMxSocket> Sockets;

    ~SocketTest() override {
        for (TMxSocket socket : Sockets)
            S.SockClose(socket);
    }

    // A loopback socket bound to APort (0: any free one), not listening;
    // its port in APort.
    TMxSocket Bound(int& APort) {
        const TMxSocket socket = S.AllocateSocket(MxSockStream, 0);
        Sockets.push_back(socket);
        if (S.SockBind(socket, MxAfInet, "127.0.0.1", APort) != 0) return MxInvalidSocket;
        AnsiString ip;
        int family = 0;
        S.SockLocalName(socket, family, ip, APort);
        return socket;
    }
};

} // namespace

TEST_F(SocketTest, ARefusedPortGivesCode10061) {
    // A bound socket that does not listen refuses connections.
    int port = 0;
    Bound(port);
    for (int timeout : {-1, 2000}) {
        TMxTCPClient client;
        client.SetHost("127.0.0.1");
        client.SetPort(port);
        try {
            client.Connect(timeout);
            ADD_FAILURE() << "connected with time-out " << timeout;
        } catch (const EMxSocketError& e) {
            EXPECT_EQ(e.LastError, 10061) << timeout;
            EXPECT_STREQ(e.what(), "Socket Error # 10061\r\nConnection refused.") << timeout;
        }
        EXPECT_FALSE(client.IsConnected());
    }
}

TEST_F(SocketTest, AListenerThatNeverAcceptsTimesOut) {
    // A listener with a backlog of 0 holds one unaccepted connection; the
    // system then drops further attempts without an answer.
    int port = 0;
    const TMxSocket listener = Bound(port);
    ASSERT_EQ(S.SockListen(listener, 0), 0);
    const TMxSocket filler = S.AllocateSocket(MxSockStream, 0);
    Sockets.push_back(filler);
    ASSERT_EQ(S.SockConnect(filler, MxAfInet, "127.0.0.1", port), 0);

    TMxTCPClient client;
    client.SetHost("127.0.0.1");
    client.SetPort(port);
    const auto start = std::chrono::steady_clock::now();
    try {
        client.Connect(400);
        ADD_FAILURE() << "connected";
    } catch (const EMxConnectTimeout& e) {
        EXPECT_STREQ(e.what(), "Connect timed out.");
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(390));
    EXPECT_LT(elapsed, std::chrono::milliseconds(3000));
    EXPECT_FALSE(client.IsConnected());
    EXPECT_FALSE(client.IOHandler()->IsConnected());
}

TEST_F(SocketTest, ConnectReportsItsStepsAndFillsTheAddresses) {
    ScriptedPeer peer({});
    TMxTCPClient client;
    std::vector<AnsiString> statuses;
    client.OnStatus = [&](TObject*, TMxStatus, const AnsiString& text) {
        statuses.push_back(text);
    };
    client.SetHost("LOCALHOST");
    client.SetPort(peer.Port());
    client.Connect(2000);
    auto* handler = dynamic_cast<TMxIOHandlerSocket*>(client.IOHandler());
    ASSERT_NE(handler, nullptr);
    const TMxSocketHandle* binding = handler->SocketBinding();
    EXPECT_EQ(binding->RemoteAddress, "127.0.0.1");
    EXPECT_EQ(binding->RemotePort, peer.Port());
    EXPECT_EQ(binding->IP, "127.0.0.1");
    EXPECT_NE(binding->Port, 0);
    client.Disconnect();
    EXPECT_EQ(client.IOHandler(), nullptr); // the client's own handler is freed
    const std::vector<AnsiString> expected{"Resolving hostname LOCALHOST.",
                                           "Connecting to 127.0.0.1.", "Connected.",
                                           "Disconnecting.", "Disconnected."};
    EXPECT_EQ(statuses, expected);
}

TEST_F(SocketTest, BindsTheHighestFreePortOfARange) {
    // Two free neighbouring ports.
    int low = 0;
    for (int attempt = 0; attempt < 50 && low == 0; ++attempt) {
        int candidate = 0;
        const TMxSocket probe = Bound(candidate);
        S.SockClose(probe);
        Sockets.pop_back();
        int next = candidate + 1;
        const TMxSocket probe2 = Bound(next);
        Sockets.pop_back();
        const bool free = probe2 != MxInvalidSocket;
        S.SockClose(probe2);
        if (free && candidate < 65535) low = candidate;
    }
    ASSERT_NE(low, 0);

    auto bindRange = [&](int AMin, int AMax) {
        TMxSocketHandle handle;
        handle.AllocateHandle(MxSockStream, 0);
        handle.IP = "127.0.0.1";
        handle.ClientPortMin = AMin;
        handle.ClientPortMax = AMax;
        handle.BindLocal();
        return handle.Port;
    };
    EXPECT_EQ(bindRange(low, low + 1), low + 1);
    int high = low + 1;
    Bound(high);
    EXPECT_EQ(bindRange(low, low + 1), low);
    int lowPort = low;
    Bound(lowPort);
    const AnsiString range = "(" + std::to_string(low) + " - " + std::to_string(low + 1) + ")";
    try {
        bindRange(low, low + 1);
        ADD_FAILURE() << "bound";
    } catch (const EMxCanNotBindPortInRange& e) {
        EXPECT_EQ(AnsiString(e.what()), "Can not bind in port range " + range);
    }
    try {
        bindRange(5, 4);
        ADD_FAILURE() << "bound";
    } catch (const EMxInvalidPortRange& e) {
        EXPECT_STREQ(e.what(), "Invalid Port Range (5 - 4)");
    }
    TMxSocketHandle single;
    single.AllocateHandle(MxSockStream, 0);
    single.IP = "127.0.0.1";
    single.Port = low;
    try {
        single.BindLocal();
        ADD_FAILURE() << "bound";
    } catch (const EMxCouldNotBindSocket& e) {
        EXPECT_STREQ(e.what(), "Could not bind socket. Address and port are already in use.");
    }
}

TEST_F(SocketTest, NagleSettingIsAppliedOnConnectAndOnChange) {
    ScriptedPeer peer({"stall"});
    TMxTCPClient client;
    auto* handler = new TMxIOHandlerSocket(&client);
    client.SetIOHandler(handler);
    handler->SetUseNagle(false);
    client.SetHost("127.0.0.1");
    client.SetPort(peer.Port());
    client.Connect();
    auto noDelay = [&] {
        std::int32_t value = -1;
        int length = sizeof value;
        S.SockGetOption(handler->SocketBinding()->Handle(), MxIpProtoTcp, MxTcpNoDelay, &value,
                        length);
        return value != 0;
    };
    EXPECT_TRUE(noDelay());
    handler->SetUseNagle(true);
    EXPECT_FALSE(noDelay());
}

TEST_F(SocketTest, ClosedHandlersRefuseTransfer) {
    TMxIOHandlerSocket handler;
    char byte = 0;
    try {
        handler.ReceiveBytes(&byte, 1);
        ADD_FAILURE() << "received";
    } catch (const EMxClosedSocket& e) {
        EXPECT_STREQ(e.what(), "Disconnected.");
    }
    EXPECT_THROW(handler.SendBytes(&byte, 1), EMxClosedSocket);
    TMxSocketHandle handle;
    EXPECT_THROW(handle.WaitReadable(0), EMxConnClosedGracefully);
}

TEST(MxIntercept, CircularChainsAreRefused) {
    TMxConnectionIntercept a, b, c;
    a.SetIntercept(&b);
    b.SetIntercept(&c);
    const std::pair<TMxConnectionIntercept*, TMxConnectionIntercept*> links[] = {{&c, &a},
                                                                                 {&a, &a}};
    for (const auto& [from, to] : links) {
        try {
            from->SetIntercept(to);
            ADD_FAILURE() << "linked";
        } catch (const EMxInterceptCircularLink& e) {
            EXPECT_NE(AnsiString(e.what()).find("TMxConnectionIntercept"), AnsiString::npos);
            EXPECT_NE(AnsiString(e.what()).find("Circular links are not allowed"),
                      AnsiString::npos);
        }
    }
    EXPECT_EQ(a.Intercept(), &b); // a refused link leaves the chain as it was
    EXPECT_EQ(c.Intercept(), nullptr);
    {
        TMxConnectionIntercept d;
        c.SetIntercept(&d);
    }
    EXPECT_EQ(c.Intercept(), nullptr); // a freed intercept leaves the chain
}

TEST(MxAntiFreeze, WaitsOnTheMainThreadGiveItTurns) {
    ScriptedPeer peer({"stall"});
    TMxTCPClient client;
    client.SetHost("127.0.0.1");
    client.SetPort(peer.Port());
    client.Connect(2000);
    {
        CountingAntiFreeze antiFreeze;
        antiFreeze.IdleTimeOut = 50;
        EXPECT_TRUE(TMxAntiFreezeBase::ShouldProcess());
        // 200 ms: one wait of 150 ms, then one of the idle time-out.
        EXPECT_EQ(client.ReadLine("\n", 200), "");
        EXPECT_EQ(antiFreeze.Steps, 2);
        antiFreeze.Active = false;
        EXPECT_EQ(client.ReadLine("\n", 50), "");
        EXPECT_EQ(antiFreeze.Steps, 2);
    }
    EXPECT_FALSE(TMxAntiFreezeBase::ShouldProcess());
}
