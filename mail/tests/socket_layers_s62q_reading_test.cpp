// The socket stack, socket handles, the plain socket handler, intercepts and
// the anti-freeze component, driven through their public calls against real
// loopback sockets.
#include "CountingAntiFreeze.h"
#include "mail/MxAntiFreeze.h"
#include "mail/MxIOHandler.h"
#include "mail/MxIntercept.h"
#include "mail/MxNetExceptions.h"
#include "mail/MxSocketHandle.h"
#include "mail/MxSocks.h"
#include "mail/MxStack.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"

#include <gtest/gtest.h>

#include <functional>

#include <string>
#include <thread>
#include <vector>

using namespace mail;
using mailtest::CountingAntiFreeze;

namespace {

// Keeps the process-wide stack alive for a test.
struct StackKeeper {
    TMxComponent Keep;
};

// A listening loopback socket made through the stack; closed at the end.
struct Listener {
    TMxSocket Socket = MxInvalidSocket;
    int Port = 0;
    explicit Listener(int ABacklog = 5) {
        Socket = Stack().AllocateSocket(MxSockStream, 0);
        Stack().CheckSocketResult(Stack().SockBind(Socket, MxAfInet, "127.0.0.1", 0));
        Stack().CheckSocketResult(Stack().SockListen(Socket, ABacklog));
        int family = 0;
        AnsiString ip;
        Stack().SockLocalName(Socket, family, ip, Port);
    }
    ~Listener() { Close(); }
    void Close() {
        if (Socket != MxInvalidSocket) Stack().SockClose(Socket);
        Socket = MxInvalidSocket;
    }
};

// Opens AHandle as a stream socket and connects it to the loopback APort;
// gives the connect's result.
int ConnectToLoopback(TMxSocketHandle& AHandle, int APort) {
    AHandle.AllocateHandle(MxSockStream, 0);
    AHandle.SetPeer("127.0.0.1", APort);
    return AHandle.ConnectPeer(MxAfInet);
}

// A loopback port nothing listens on.
int ClosedPort() {
    Listener l;
    return l.Port;
}

template <class E, class F> std::string MessageOf(F&& AFunction) {
    try {
        AFunction();
    } catch (const E& e) {
        return e.Message.c_str();
    }
    return "<no exception>";
}

} // namespace

TEST(SocketStackReading, AddressTextParsesTheShortAndLongForms) {
    struct Case {
        const char* Text;
        bool Valid;
        TMxAddressBytes Bytes;
        int Kind;
        int Class;
    };
    const std::vector<Case> cases = {
        {"10.1", true, {10, 0, 0, 1}, 1, 1},
        {"10.1.2", true, {10, 1, 0, 2}, 1, 2},
        {"3232235777", true, {192, 168, 1, 1}, 2, 0},
        {"127.0.0.1", true, {127, 0, 0, 1}, 1, 1},
        {"128.0.0.1", true, {128, 0, 0, 1}, 1, 2},
        {"192.168.0.1", true, {192, 168, 0, 1}, 1, 3},
        {"224.0.0.1", true, {224, 0, 0, 1}, 1, 4},
        {"240.0.0.1", true, {240, 0, 0, 1}, 1, 5},
        {"4294967295", true, {255, 255, 255, 255}, 2, 0},
        {"4294967296", false, {}, 0, 0},
        {"10.16777216", false, {}, 0, 0},
        {"1.2.65536", false, {}, 0, 0},
        {"256.1.1.1", false, {}, 0, 0},
        {"1.2.3.4.5", false, {}, 0, 0},
        {"1.2.3.", false, {}, 0, 0},
        {"1..2", false, {}, 0, 0},
        {"-1.2.3.4", false, {}, 0, 0},
        {"abc", false, {}, 0, 0},
        {"", false, {}, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        const TMxParsedAddress parsed = ParseAddressText(c.Text);
        EXPECT_EQ(parsed.Valid, c.Valid);
        EXPECT_EQ(parsed.Kind, c.Kind);
        if (!c.Valid) continue;
        EXPECT_EQ(parsed.Bytes, c.Bytes);
        if (c.Kind == 1) EXPECT_EQ(parsed.Class, c.Class);
    }
}

TEST(SocketStackReading, AddressConversionsAndResolution) {
    StackKeeper keep;
    TMxStack& stack = Stack();
    EXPECT_EQ(stack.AddressBytesToText({192, 168, 1, 1}), "192.168.1.1");
    EXPECT_EQ(stack.AddressTextToNumber("10.0.0.1"), 0x0A000001u);
    EXPECT_EQ(MessageOf<EMxInvalidIPAddress>([&] { stack.TextToAddressBytes("abc"); }),
              "abc is not a valid IP address.");
    for (const char* host : {"localhost", "LOCALHOST", "LocalHost"})
        EXPECT_EQ(stack.ResolveHostAddress(host), "127.0.0.1") << host;
    EXPECT_EQ(stack.ResolveHostAddress("10.1.2.3"), "10.1.2.3");
    EXPECT_TRUE(stack.IsAddressText("10.1"));
    EXPECT_FALSE(stack.IsAddressText("mail.example"));
    EXPECT_FALSE(stack.SockHostName().empty());
}

TEST(SocketStackReading, ServicesByNameAndNumber) {
    StackKeeper keep;
    TMxStack& stack = Stack();
    EXPECT_EQ(stack.SockServiceByName("25"), 25);
    EXPECT_EQ(stack.SockServiceByName("smtp"), 25);
    for (const char* bad : {"no-such-service", "", "2x5"})
        EXPECT_EQ(MessageOf<EMxInvalidServiceName>([&] { stack.SockServiceByName(bad); }),
                  std::string(bad) + " is not a valid service.");
    auto names = stack.SockServiceByPort(25);
    ASSERT_TRUE(names);
    EXPECT_GE(names->IndexOf("smtp"), 0);
}

TEST(SocketStackReading, ErrorTextsFollowTheTable) {
    StackKeeper keep;
    struct Case {
        int Code;
        const char* Text;
    };
    const std::vector<Case> cases = {
        {10004, "Interrupted system call."},
        {10035, "Operation would block. "},
        {10048, "Address already in use."},
        {10061, "Connection refused."},
        {10066, "Directory not empty"},
        {11001, "Host not found."},
        {99999, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Stack().ErrorText(c.Code),
                  "Socket Error # " + std::to_string(c.Code) + "\r\n" + c.Text);
}

TEST(SocketStackReading, ResultCheckRaisesUnlessTheCodeIsIgnored) {
    StackKeeper keep;
    TMxStack& stack = Stack();
    EXPECT_FALSE(stack.CheckSocketResult(0));
    // A refused connect fails with a code the check either raises or, when
    // told to, ignores.
    const int port = ClosedPort();
    const TMxSocket s = stack.AllocateSocket(MxSockStream, 0);
    const int result = stack.SockConnect(s, MxAfInet, "127.0.0.1", port);
    ASSERT_EQ(result, -1);
    EXPECT_TRUE(stack.CheckSocketResult(result, {10061}));
    EXPECT_EQ(stack.LastError, 10061);
    try {
        stack.CheckSocketResult(stack.SockConnect(s, MxAfInet, "127.0.0.1", port));
        ADD_FAILURE() << "no exception";
    } catch (const EMxSocketError& e) {
        EXPECT_NE(e.LastError, 0);
        EXPECT_EQ(std::string(e.Message.c_str()),
                  std::string(stack.ErrorText(e.LastError).c_str()));
    }
    stack.SockClose(s);
}

TEST(SocketStackReading, UnknownHostRaisesHostNotFound) {
    StackKeeper keep;
    try {
        Stack().ResolveHostAddress("no-such-host.invalid");
        ADD_FAILURE() << "no exception";
    } catch (const EMxSocketError& e) {
        EXPECT_EQ(e.LastError, 11001);
        EXPECT_NE(std::string(e.Message.c_str()).find("Host not found."), std::string::npos);
    }
}

TEST(SocketStackReading, SocketListIsBoundedAndRemovalMovesTheLast) {
    auto list = CreateSocketList();
    for (int i = 0; i < 64; ++i) list->AddSocket(100 + i);
    EXPECT_EQ(MessageOf<EMxStackSetSizeExceeded>([&] { list->AddSocket(5); }),
              "Set Size Exceeded.");
    EXPECT_EQ(list->SocketCount(), 64);
    list->RemoveSocket(101);
    EXPECT_EQ(list->SocketCount(), 63);
    EXPECT_EQ(list->SocketAt(1), 163);
    for (int index : {-1, 63, 64})
        EXPECT_EQ(MessageOf<EMxStackSetSizeExceeded>([&] { list->SocketAt(index); }),
                  "Set Size Exceeded.")
            << index;
}

TEST(SocketStackReading, SelectLeavesOnlyTheReadySockets) {
    StackKeeper keep;
    TMxStack& stack = Stack();
    Listener quiet;
    Listener busy;
    const TMxSocket client = stack.AllocateSocket(MxSockStream, 0);
    ASSERT_EQ(stack.SockConnect(client, MxAfInet, "127.0.0.1", busy.Port), 0);
    auto list = CreateSocketList();
    list->AddSocket(quiet.Socket);
    list->AddSocket(busy.Socket);
    EXPECT_EQ(stack.SockSelect(list.get(), nullptr, nullptr, 2000), 1);
    ASSERT_EQ(list->SocketCount(), 1);
    EXPECT_EQ(list->SocketAt(0), busy.Socket);
    AnsiString ip;
    int port = 0;
    const TMxSocket accepted = stack.SockAccept(busy.Socket, ip, port);
    EXPECT_NE(accepted, MxInvalidSocket);
    EXPECT_EQ(ip, "127.0.0.1");
    int family = 0;
    AnsiString localIp;
    int localPort = 0;
    stack.SockLocalName(client, family, localIp, localPort);
    EXPECT_EQ(port, localPort);
    stack.SockClose(accepted);
    stack.SockClose(client);
}

TEST(SocketStackReading, DatagramsCarryTheSenderAddress) {
    StackKeeper keep;
    TMxStack& stack = Stack();
    const TMxSocket a = stack.AllocateSocket(2, 0);
    const TMxSocket b = stack.AllocateSocket(2, 0);
    ASSERT_EQ(stack.SockBind(a, MxAfInet, "127.0.0.1", 0), 0);
    ASSERT_EQ(stack.SockBind(b, MxAfInet, "127.0.0.1", 0), 0);
    int family = 0, portA = 0, portB = 0;
    AnsiString ip;
    stack.SockLocalName(a, family, ip, portA);
    stack.SockLocalName(b, family, ip, portB);
    EXPECT_EQ(stack.SockSendTo(a, "ping", 4, 0, "127.0.0.1", portB), 4);
    char buffer[8] = {};
    AnsiString from;
    int fromPort = 0;
    EXPECT_EQ(stack.SockRecvFrom(b, buffer, sizeof buffer, 0, from, fromPort), 4);
    EXPECT_EQ(std::string(buffer, 4), "ping");
    EXPECT_EQ(from, "127.0.0.1");
    EXPECT_EQ(fromPort, portA);
    stack.SockClose(a);
    stack.SockClose(b);
}

TEST(SocketStackReading, PeerNameOfAnUnconnectedSocketRaises) {
    StackKeeper keep;
    const TMxSocket s = Stack().AllocateSocket(MxSockStream, 0);
    int family = 0, port = 0;
    AnsiString ip;
    EXPECT_THROW(Stack().SockPeerName(s, family, ip, port), EMxSocketError);
    Stack().SockClose(s);
}

// --- socket handles ---

TEST(SocketHandleReading, BindingErrorsNameTheirPorts) {
    StackKeeper keep;
    Listener taken;
    TMxSocketHandle handle;
    handle.AllocateHandle(MxSockStream, 0);
    handle.IP = "127.0.0.1";
    handle.Port = taken.Port;
    EXPECT_EQ(MessageOf<EMxCouldNotBindSocket>([&] { handle.BindLocal(); }),
              "Could not bind socket. Address and port are already in use.");
    handle.Port = 0;
    handle.ClientPortMin = 1030;
    handle.ClientPortMax = 1024;
    EXPECT_EQ(MessageOf<EMxInvalidPortRange>([&] { handle.BindLocal(); }),
              "Invalid Port Range (1030 - 1024)");
    handle.ClientPortMin = taken.Port;
    handle.ClientPortMax = taken.Port;
    EXPECT_EQ(MessageOf<EMxCanNotBindPortInRange>([&] { handle.BindLocal(); }),
              "Can not bind in port range (" + std::to_string(taken.Port) + " - " +
                  std::to_string(taken.Port) + ")");
}

TEST(SocketHandleReading, PortRangeTakesTheHighestFreePort) {
    StackKeeper keep;
    Listener blocker;
    // The range ends on a port in use, so the one below it is taken.
    const int top = blocker.Port;
    TMxSocketHandle handle;
    handle.AllocateHandle(MxSockStream, 0);
    handle.IP = "127.0.0.1";
    handle.ClientPortMin = top - 3;
    handle.ClientPortMax = top;
    handle.BindLocal();
    EXPECT_LT(handle.Port, top);
    EXPECT_GE(handle.Port, top - 3);
    int family = 0, port = 0;
    AnsiString ip;
    Stack().SockLocalName(handle.Handle(), family, ip, port);
    EXPECT_EQ(port, handle.Port);
}

TEST(SocketHandleReading, ConnectRefreshesBothSidesAndTransfers) {
    StackKeeper keep;
    Listener listener;
    TMxSocketHandle client;
    EXPECT_EQ(MessageOf<EMxConnClosedGracefully>([&] { client.WaitReadable(0); }),
              "Connection Closed Gracefully.");
    ASSERT_EQ(ConnectToLoopback(client, listener.Port), 0);
    EXPECT_EQ(client.IP, "127.0.0.1");
    EXPECT_NE(client.Port, 0);
    EXPECT_EQ(client.RemotePort, listener.Port);

    TMxSocketHandle server;
    ASSERT_TRUE(server.AcceptFrom(listener.Socket));
    EXPECT_EQ(server.RemotePort, client.Port);
    EXPECT_EQ(server.Port, listener.Port);
    EXPECT_FALSE(server.WaitReadable(0));
    EXPECT_EQ(client.SendBytes("abc", 3), 3);
    EXPECT_TRUE(server.WaitReadable(2000));
    char buffer[4] = {};
    EXPECT_EQ(server.ReceiveBytes(buffer, 4), 3);
    EXPECT_EQ(std::string(buffer, 3), "abc");

    // Closing stops the sends first: the peer reads its end.
    client.CloseSocketHandle();
    EXPECT_FALSE(client.SocketOpen());
    EXPECT_TRUE(server.WaitReadable(2000));
    EXPECT_EQ(server.ReceiveBytes(buffer, 4), 0);

    TMxSocketHandle copy;
    copy.Assign(&server);
    EXPECT_EQ(copy.IP, server.IP);
    EXPECT_EQ(copy.Port, server.Port);
    EXPECT_EQ(copy.RemoteAddress, server.RemoteAddress);
    EXPECT_EQ(copy.RemotePort, server.RemotePort);
    EXPECT_FALSE(copy.HandleAllocated());

    server.ResetHandle(false);
    EXPECT_FALSE(server.HandleAllocated());
    EXPECT_EQ(server.Port, listener.Port);
    EXPECT_TRUE(server.RemoteAddress.empty());
    server.ResetHandle();
    EXPECT_EQ(server.Port, 0);
}

TEST(SocketHandleReading, AllocatingAgainClosesTheOldSocket) {
    StackKeeper keep;
    Listener listener;
    TMxSocketHandle client;
    ASSERT_EQ(ConnectToLoopback(client, listener.Port), 0);
    TMxSocketHandle server;
    ASSERT_TRUE(server.AcceptFrom(listener.Socket));
    client.AllocateHandle(MxSockStream, 0);
    EXPECT_TRUE(client.HandleAllocated());
    EXPECT_TRUE(client.RemoteAddress.empty());
    // The old connection is gone: the peer reads its end.
    ASSERT_TRUE(server.WaitReadable(2000));
    char c;
    EXPECT_LE(server.ReceiveBytes(&c, 1), 0);
}

// --- the plain socket handler ---

namespace {

struct StatusLog {
    std::vector<std::pair<TMxStatus, std::string>> Entries;
    void Attach(TMxComponent& AComponent) {
        AComponent.OnStatus = [this](TObject*, TMxStatus AStatus, const AnsiString& AText) {
            Entries.emplace_back(AStatus, AText.c_str());
        };
    }
};

int NoDelayOf(TMxIOHandlerSocket& AHandler) {
    int value = -1;
    int length = sizeof value;
    Stack().SockGetOption(AHandler.SocketBinding()->Handle(), MxIpProtoTcp, MxTcpNoDelay, &value,
                          length);
    return value;
}

} // namespace

TEST(SocketHandlerReading, UnconnectedTransfersRaiseDisconnected) {
    TMxIOHandlerSocket handler;
    EXPECT_FALSE(handler.IsConnected());
    EXPECT_FALSE(handler.TransportActive());
    char c = 0;
    EXPECT_EQ(MessageOf<EMxClosedSocket>([&] { handler.ReceiveBytes(&c, 1); }), "Disconnected.");
    EXPECT_EQ(MessageOf<EMxClosedSocket>([&] { handler.SendBytes(&c, 1); }), "Disconnected.");
    handler.OpenTransport();
    EXPECT_TRUE(handler.TransportActive());
    EXPECT_NE(handler.SocketBinding(), nullptr);
    EXPECT_FALSE(handler.IsConnected());
    EXPECT_EQ(MessageOf<EMxClosedSocket>([&] { handler.SendBytes(&c, 1); }), "Disconnected.");
    handler.CloseTransport();
    EXPECT_FALSE(handler.TransportActive());
}

TEST(SocketHandlerReading, ConnectReportsItsStepsAndAppliesNagle) {
    StackKeeper keep;
    Listener listener;
    struct Case {
        const char* Host;
        int Timeout;
        bool Resolves;
    };
    for (const Case c : {Case{"127.0.0.1", 0, false}, Case{"localhost", -1, true},
                         Case{"LOCALHOST", 2000, true}}) {
        SCOPED_TRACE(c.Host);
        TMxIOHandlerSocket handler;
        StatusLog log;
        log.Attach(handler);
        handler.OpenTransport();
        handler.ConnectTransport(c.Host, listener.Port, c.Timeout, 0, 0, 0, "");
        EXPECT_TRUE(handler.IsConnected());
        std::vector<std::pair<TMxStatus, std::string>> want;
        if (c.Resolves)
            want.emplace_back(TMxStatus::stResolving,
                              std::string("Resolving hostname ") + c.Host + ".");
        want.emplace_back(TMxStatus::stConnecting, "Connecting to 127.0.0.1.");
        EXPECT_EQ(log.Entries, want);
        EXPECT_EQ(handler.SocketBinding()->RemotePort, listener.Port);
        EXPECT_EQ(NoDelayOf(handler), 0);
        handler.SetUseNagle(false);
        EXPECT_NE(NoDelayOf(handler), 0);
        handler.SetUseNagle(true);
        EXPECT_EQ(NoDelayOf(handler), 0);
        TMxSocketHandle accepted;
        ASSERT_TRUE(accepted.AcceptFrom(listener.Socket));
        EXPECT_EQ(handler.SendBytes("x", 1), 1);
        ASSERT_TRUE(accepted.WaitReadable(2000));
        char c1 = 0;
        EXPECT_EQ(accepted.ReceiveBytes(&c1, 1), 1);
        handler.CloseTransport();
        EXPECT_FALSE(handler.IsConnected());
    }
}

TEST(SocketHandlerReading, NagleOffBeforeTheConnectIsApplied) {
    StackKeeper keep;
    Listener listener;
    TMxIOHandlerSocket handler;
    handler.SetUseNagle(false);
    handler.OpenTransport();
    handler.ConnectTransport("127.0.0.1", listener.Port, 0, 0, 0, 0, "");
    EXPECT_NE(NoDelayOf(handler), 0);
}

TEST(SocketHandlerReading, BoundPortAndIpAreUsed) {
    StackKeeper keep;
    Listener listener;
    const int local = ClosedPort();
    TMxIOHandlerSocket handler;
    handler.OpenTransport();
    handler.ConnectTransport("127.0.0.1", listener.Port, 0, 0, 0, local, "127.0.0.1");
    EXPECT_EQ(handler.SocketBinding()->Port, local);
    EXPECT_EQ(handler.SocketBinding()->IP, "127.0.0.1");
}

TEST(SocketHandlerReading, RefusedConnectsRaiseTheSocketError) {
    StackKeeper keep;
    const int port = ClosedPort();
    for (int timeout : {0, -1, 2000, 50}) {
        SCOPED_TRACE(timeout);
        TMxIOHandlerSocket handler;
        handler.OpenTransport();
        try {
            handler.ConnectTransport("127.0.0.1", port, timeout, 0, 0, 0, "");
            ADD_FAILURE() << "no exception";
        } catch (const EMxSocketError& e) {
            EXPECT_EQ(e.LastError, 10061);
            EXPECT_EQ(std::string(e.Message.c_str()),
                      "Socket Error # 10061\r\nConnection refused.");
        }
    }
}

namespace {

// A listener whose queue is full: it drops further connection requests, so
// a connect to it neither succeeds nor fails.
struct HangingPeer {
    Listener Full{0};
    std::vector<std::unique_ptr<TMxSocketHandle>> Fillers;
    HangingPeer() {
        for (int i = 0; i < 4; ++i) {
            auto h = std::make_unique<TMxSocketHandle>();
            h->AllocateHandle(MxSockStream, 0);
            Stack().SockSetNonBlocking(h->Handle(), true);
            h->SetPeer("127.0.0.1", Full.Port);
            h->ConnectPeer(MxAfInet);
            Fillers.push_back(std::move(h));
        }
    }
};

} // namespace

TEST(SocketHandlerReading, ConnectThatHangsTimesOutAndClosesTheHandler) {
    StackKeeper keep;
    HangingPeer peer;
    Listener& listener = peer.Full;
    TMxIOHandlerSocket handler;
    handler.OpenTransport();
    EXPECT_EQ(MessageOf<EMxConnectTimeout>([&] {
                  handler.ConnectTransport("127.0.0.1", listener.Port, 300, 0, 0, 0, "");
              }),
              "Connect timed out.");
    EXPECT_FALSE(handler.IsConnected());
    EXPECT_FALSE(handler.TransportActive());
}

TEST(SocketHandlerReading, CallsBeforeTheTransportIsOpenDoNotCrash) {
    StackKeeper keep;
    Listener listener;
    {
        TMxIOHandlerSocket handler;
        EXPECT_THROW(handler.WaitReadable(0), EMxException);
        handler.SetUseNagle(false);
        handler.CloseTransport();
        EXPECT_FALSE(handler.IsConnected());
    }
    TMxIOHandlerSocket handler;
    try {
        handler.ConnectTransport("127.0.0.1", listener.Port, 0, 0, 0, 0, "");
        EXPECT_TRUE(handler.IsConnected());
    } catch (const EMxException&) {
        EXPECT_FALSE(handler.IsConnected());
    }
}

TEST(SocketHandlerReading, PortsOutsideTheirRangeAreRefused) {
    StackKeeper keep;
    Listener listener;
    struct Case {
        int Port, BoundPort, Min, Max;
    };
    for (const Case c : {Case{listener.Port + 65536, 0, 0, 0}, Case{-1, 0, 0, 0},
                         Case{listener.Port, 65536 + 2000, 0, 0},
                         Case{listener.Port, -3, 0, 0},
                         Case{listener.Port, 0, 65530, 65540},
                         Case{listener.Port, 0, -10, -5}}) {
        SCOPED_TRACE(std::to_string(c.Port) + " " + std::to_string(c.BoundPort) + " " +
                     std::to_string(c.Min) + "-" + std::to_string(c.Max));
        TMxIOHandlerSocket handler;
        handler.OpenTransport();
        EXPECT_THROW(
            handler.ConnectTransport("127.0.0.1", c.Port, 0, c.Max, c.Min, c.BoundPort, ""),
            EMxException);
    }
}

TEST(SocketHandlerReading, UnlimitedTimedConnectAndFreeingClosesTheSocket) {
    StackKeeper keep;
    Listener listener;
    auto handler = std::make_unique<TMxIOHandlerSocket>();
    handler->OpenTransport();
    handler->ConnectTransport("127.0.0.1", listener.Port, MxTimeoutInfinite, 0, 0, 0, "");
    ASSERT_TRUE(handler->IsConnected());
    TMxSocketHandle accepted;
    ASSERT_TRUE(accepted.AcceptFrom(listener.Socket));
    handler.reset();
    ASSERT_TRUE(accepted.WaitReadable(2000));
    char c;
    EXPECT_EQ(accepted.ReceiveBytes(&c, 1), 0);
}

TEST(SocketHandleReading, ClosedOrBadSocketsGiveErrorsNotCrashes) {
    StackKeeper keep;
    TMxSocketHandle handle;
    const TMxSocket s = Stack().AllocateSocket(MxSockStream, 0);
    Stack().SockClose(s);
    EXPECT_FALSE(handle.AcceptFrom(s));
    char buffer[4];
    handle.AllocateHandle(MxSockStream, 0);
    // A negative length fails as a bad argument instead of overrunning.
    EXPECT_EQ(handle.ReceiveBytes(buffer, -1), -1);
    EXPECT_EQ(Stack().SockLastError(), 10022);
    EXPECT_EQ(handle.SendBytes(buffer, -1), -1);
    EXPECT_EQ(Stack().SockLastError(), 10022);
    handle.SetPeer("not-an-address", 25);
    bool failed = false;
    try {
        failed = handle.ConnectPeer(MxAfInet) == -1;
    } catch (const EMxException&) {
        failed = true;
    }
    EXPECT_TRUE(failed);
    EXPECT_THROW(Stack().AddressTextToNumber("1.2.3.4.5"), EMxInvalidIPAddress);
}

TEST(SocketHandlerReading, WithAProxyTheConnectGoesToTheProxy) {
    StackKeeper keep;
    Listener proxy;
    Listener target;
    TMxIOHandlerSocket handler;
    handler.SocksInfo()->Version = TSocksVersion::svSocks5;
    handler.SocksInfo()->Host = "127.0.0.1";
    handler.SocksInfo()->Port = proxy.Port;
    handler.SocksInfo()->ReplyTimeout = 200;
    handler.OpenTransport();
    // The proxy stays silent, so the handshake fails; the connection went
    // to the proxy, and nothing reached the target.
    EXPECT_THROW(handler.ConnectTransport("127.0.0.1", target.Port, 0, 0, 0, 0, ""),
                 EMxSocksError);
    TMxSocketHandle atProxy;
    ASSERT_TRUE(atProxy.AcceptFrom(proxy.Socket));
    EXPECT_EQ(atProxy.RemotePort, handler.SocketBinding()->Port);
    auto list = CreateSocketList();
    list->AddSocket(target.Socket);
    EXPECT_EQ(Stack().SockSelect(list.get(), nullptr, nullptr, 0), 0);
}

TEST(SocketHandlerReading, SocksSettingsAreReferencedOrCopied) {
    TMxIOHandlerSocket handler;
    TMxSocksInfo* made = handler.SocksInfo();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->IOHandler(), &handler);

    TMxSocksInfo loose;
    loose.Host = "proxy.example";
    handler.SetSocksInfo(&loose);
    EXPECT_NE(handler.SocksInfo(), &loose);
    EXPECT_EQ(handler.SocksInfo()->Host, "proxy.example");
    EXPECT_EQ(handler.SocksInfo()->IOHandler(), &handler);

    TComponent owner(nullptr);
    auto* owned = new TMxSocksInfo(&owner);
    handler.SetSocksInfo(owned);
    EXPECT_EQ(handler.SocksInfo(), owned);
    EXPECT_EQ(owned->IOHandler(), &handler);
    delete owned;
    TMxSocksInfo* after = handler.SocksInfo();
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, owned);
}

TEST(SocketHandlerReading, ServerHandlerAcceptsNothing) {
    TMxServerIOHandler server;
    server.Init();
    EXPECT_EQ(server.Accept(MxInvalidSocket), nullptr);
}

// --- intercepts ---

TEST(InterceptReading, CircularChainsAreRefused) {
    TMxConnectionIntercept a, b, c;
    const std::string message = "TMxConnectionIntercept: Circular links are not allowed";
    EXPECT_THROW(a.SetIntercept(&a), EMxInterceptCircularLink);
    b.SetIntercept(&c);
    a.SetIntercept(&b);
    EXPECT_THROW(c.SetIntercept(&a), EMxInterceptCircularLink);
    EXPECT_EQ(c.Intercept(), nullptr);
    const std::string text = MessageOf<EMxInterceptCircularLink>([&] { c.SetIntercept(&a); });
    EXPECT_NE(text.find("TMxConnectionIntercept"), std::string::npos) << text;
    EXPECT_NE(text.find("ircular"), std::string::npos) << text;
}

TEST(InterceptReading, ChainOrderAndRewinds) {
    TMxConnectionIntercept first, second;
    first.SetIntercept(&second);
    std::vector<std::string> calls;
    TComponent connection(nullptr);
    for (auto* i : {&first, &second}) {
        const std::string name = i == &first ? "first" : "second";
        i->OnConnect = [&calls, name](TObject*) { calls.push_back(name + " connect"); };
        i->OnDisconnect = [&calls, name](TObject*) { calls.push_back(name + " disconnect"); };
        i->OnReceive = [&calls, name](TObject*, TStream* s) {
            calls.push_back(name + " receive@" + std::to_string(s->GetPosition()));
            s->Seek(0, soEnd);
        };
        i->OnSend = [&calls, name](TObject*, TStream* s) {
            calls.push_back(name + " send@" + std::to_string(s->GetPosition()));
            s->Seek(0, soEnd);
        };
    }
    TMemoryStream stream;
    stream.Write("data", 4);
    first.InterceptConnect(&connection);
    EXPECT_EQ(first.Connection(), &connection);
    EXPECT_EQ(second.Connection(), &connection);
    first.InterceptReceive(&stream);
    EXPECT_EQ(stream.GetPosition(), 0);
    stream.Seek(0, soEnd);
    first.InterceptSend(&stream);
    EXPECT_EQ(stream.GetPosition(), 0);
    first.InterceptDisconnect();
    EXPECT_EQ(first.Connection(), nullptr);
    EXPECT_EQ(second.Connection(), nullptr);
    const std::vector<std::string> want = {
        "first connect",    "second connect",    "second receive@4", "first receive@0",
        "first send@4",     "second send@0",     "second disconnect", "first disconnect"};
    EXPECT_EQ(calls, want);
}

TEST(InterceptReading, FreedNextInterceptIsForgotten) {
    TMxConnectionIntercept first;
    auto* next = new TMxConnectionIntercept;
    first.SetIntercept(next);
    delete next;
    EXPECT_EQ(first.Intercept(), nullptr);
    TMemoryStream stream;
    first.InterceptSend(&stream);
}

// --- anti-freeze ---

namespace {

// A form being designed.
struct DesignOwner : TComponent {
    DesignOwner() : TComponent(nullptr) {}
    void Design() { SetDesigning(true); }
};

} // namespace

TEST(AntiFreezeReading, IdleStepRunsOnlyWhenDue) {
    EXPECT_FALSE(TMxAntiFreezeBase::ShouldProcess());
    TMxAntiFreezeBase::ProcessIfDue(true, true); // nothing to run, no crash
    CountingAntiFreeze freeze;
    EXPECT_EQ(TMxAntiFreezeBase::Instance(), &freeze);
    EXPECT_TRUE(freeze.Active);
    EXPECT_TRUE(freeze.ApplicationHasPriority);
    EXPECT_EQ(freeze.IdleTimeOut, 250);
    EXPECT_TRUE(freeze.OnlyWhenIdle);
    EXPECT_TRUE(TMxAntiFreezeBase::ShouldProcess());
    struct Case {
        bool Active, OnlyWhenIdle, Idle, Override;
        int Runs;
    };
    const std::vector<Case> cases = {
        {true, true, false, false, 0}, {true, true, true, false, 1},
        {true, true, false, true, 1},  {true, false, false, false, 1},
        {false, false, true, true, 0},
    };
    for (const auto& c : cases) {
        freeze.Active = c.Active;
        freeze.OnlyWhenIdle = c.OnlyWhenIdle;
        freeze.Steps = 0;
        TMxAntiFreezeBase::ProcessIfDue(c.Idle, c.Override);
        EXPECT_EQ(freeze.Steps, c.Runs) << c.Active << c.OnlyWhenIdle << c.Idle << c.Override;
    }
    freeze.Active = true;
    {
        CountingAntiFreeze newer;
        EXPECT_EQ(TMxAntiFreezeBase::Instance(), &newer);
    }
    EXPECT_EQ(TMxAntiFreezeBase::Instance(), nullptr);
}

TEST(AntiFreezeReading, SecondInstanceAtDesignTimeIsRefused) {
    CountingAntiFreeze first;
    DesignOwner designer;
    designer.Design();
    EXPECT_EQ(MessageOf<EMxException>([&] { CountingAntiFreeze second(&designer); }),
              "Only one TMxAntiFreeze can exist per application.");
    EXPECT_EQ(TMxAntiFreezeBase::Instance(), &first);
}

TEST(AntiFreezeReading, WaitsStillAnswerWithAnAntiFreeze) {
    StackKeeper keep;
    // With an anti-freeze in use, a wait is cut into idle slices; data that
    // is there is still seen, and a connect still completes.
    CountingAntiFreeze freeze;
    freeze.IdleTimeOut = 20;
    Listener listener;
    TMxIOHandlerSocket handler;
    handler.OpenTransport();
    handler.ConnectTransport("127.0.0.1", listener.Port, -1, 0, 0, 0, "");
    ASSERT_TRUE(handler.IsConnected());
    TMxSocketHandle accepted;
    ASSERT_TRUE(accepted.AcceptFrom(listener.Socket));
    EXPECT_FALSE(handler.WaitReadable(60));
    EXPECT_GT(freeze.Steps, 0);
    EXPECT_EQ(accepted.SendBytes("y", 1), 1);
    EXPECT_TRUE(handler.WaitReadable(2000));
    EXPECT_TRUE(handler.WaitReadable(MxTimeoutInfinite));
    bool elsewhere = true;
    std::thread([&] { elsewhere = TMxAntiFreezeBase::ShouldProcess(); }).join();
    EXPECT_FALSE(elsewhere);
}

TEST(SocketStackReading, LookUpsOfOddInputAnswerOrRaise) {
    StackKeeper keep;
    TMxStack& stack = Stack();
    EXPECT_FALSE(stack.SockHostByAddress("127.0.0.1").empty());
    EXPECT_THROW(stack.SockHostByAddress("abc"), EMxException);
    for (int port : {0, -1, 65536, 99999}) EXPECT_EQ(stack.SockServiceByPort(port), nullptr) << port;
    for (const char* text : {"70000", "-1", "65536"})
        EXPECT_THROW(stack.SockServiceByName(text), EMxInvalidServiceName) << text;
    TStrings* first = stack.GetLocalAddresses();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(stack.GetLocalAddresses(), first);
    for (int i = 0; i < first->Count(); ++i) EXPECT_TRUE(stack.IsAddressText((*first)[i]));
    if (first->Count() > 0) EXPECT_EQ(stack.GetLocalAddress(), (*first)[0]);
    auto list = CreateSocketList();
    list->AddSocket(7);
    list->RemoveSocket(8);
    EXPECT_EQ(list->SocketCount(), 1);
    list->RemoveSocket(7);
    EXPECT_EQ(list->SocketCount(), 0);
}

TEST(SocketHandleReading, AClosedHandleNeverTouchesTheNextSocketOfTheSameNumber) {
    StackKeeper keep;
    Listener listener;
    struct Step {
        const char* Name;
        std::function<void(TMxSocketHandle&)> Run;
    };
    const std::vector<Step> steps = {
        {"close again", [](TMxSocketHandle& h) { h.CloseSocketHandle(); }},
        {"allocate", [](TMxSocketHandle& h) { h.AllocateHandle(MxSockStream, 0); }},
        {"wait", [](TMxSocketHandle& h) { try { h.WaitReadable(0); } catch (const EMxException&) {} }},
        {"free", [](TMxSocketHandle& h) { delete &h; }},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.Name);
        auto* handle = new TMxSocketHandle;
        handle->AllocateHandle(MxSockStream, 0);
        const TMxSocket old = handle->Handle();
        handle->CloseSocketHandle();
        // The system hands the same number to the next socket.
        const TMxSocket other = Stack().AllocateSocket(MxSockStream, 0);
        ASSERT_EQ(other, old);
        step.Run(*handle);
        if (std::string(step.Name) != "free") delete handle;
        // The other socket is still open and works.
        EXPECT_EQ(Stack().SockConnect(other, MxAfInet, "127.0.0.1", listener.Port), 0);
        AnsiString ip;
        int port = 0;
        const TMxSocket accepted = Stack().SockAccept(listener.Socket, ip, port);
        EXPECT_NE(accepted, MxInvalidSocket);
        Stack().SockClose(accepted);
        Stack().SockClose(other);
    }
}

TEST(SocketHandlerReading, ReopeningStartsFromAFreshBinding) {
    StackKeeper keep;
    Listener listener;
    TMxIOHandlerSocket handler;
    handler.OpenTransport();
    handler.ConnectTransport("127.0.0.1", listener.Port, 0, 0, 0, 0, "");
    TMxSocketHandle accepted;
    ASSERT_TRUE(accepted.AcceptFrom(listener.Socket));
    TMxSocketHandle* binding = handler.SocketBinding();
    handler.OpenTransport();
    EXPECT_EQ(handler.SocketBinding(), binding);
    EXPECT_FALSE(handler.IsConnected());
    EXPECT_EQ(binding->Port, 0);
    EXPECT_TRUE(binding->IP.empty());
    EXPECT_TRUE(binding->RemoteAddress.empty());
    EXPECT_EQ(binding->RemotePort, 0);
    // The socket it forgot is not left open behind it.
    ASSERT_TRUE(accepted.WaitReadable(2000));
    char c;
    EXPECT_EQ(accepted.ReceiveBytes(&c, 1), 0);
}

TEST(SocketHandlerReading, NagleChangeAfterCloseTouchesNoOtherSocket) {
    StackKeeper keep;
    Listener listener;
    TMxIOHandlerSocket handler;
    handler.OpenTransport();
    handler.ConnectTransport("127.0.0.1", listener.Port, 0, 0, 0, 0, "");
    const TMxSocket old = handler.SocketBinding()->Handle();
    handler.CloseTransport();
    const TMxSocket other = Stack().AllocateSocket(MxSockStream, 0);
    ASSERT_EQ(other, old);
    EXPECT_NO_THROW(handler.SetUseNagle(false));
    int value = -1;
    int length = sizeof value;
    Stack().SockGetOption(other, MxIpProtoTcp, MxTcpNoDelay, &value, length);
    EXPECT_EQ(value, 0);
    Stack().SockClose(other);
}

TEST(InterceptReading, FreedConnectionIsForgotten) {
    TMxConnectionIntercept intercept;
    auto* connection = new TComponent(nullptr);
    intercept.InterceptConnect(connection);
    EXPECT_EQ(intercept.Connection(), connection);
    delete connection;
    EXPECT_EQ(intercept.Connection(), nullptr);
    intercept.InterceptDisconnect();
}

TEST(SocketHandlerReading, BadHostsAndBoundAddressesRaise) {
    StackKeeper keep;
    Listener listener;
    struct Case {
        const char* Host;
        const char* BoundIP;
        int Code; // the socket error expected, 0 for any mail error
    };
    for (const Case c : {Case{"no-such-host.invalid", "", 11001}, Case{"", "", 0},
                         Case{"127.0.0.1", "192.0.2.77", 10049},
                         Case{"127.0.0.1", "abc", 0}}) {
        SCOPED_TRACE(std::string(c.Host) + " / " + c.BoundIP);
        TMxIOHandlerSocket handler;
        handler.OpenTransport();
        try {
            handler.ConnectTransport(c.Host, listener.Port, 0, 0, 0, 0, c.BoundIP);
            ADD_FAILURE() << "no exception";
        } catch (const EMxSocketError& e) {
            if (c.Code) EXPECT_EQ(e.LastError, c.Code);
        } catch (const EMxException& e) {
            EXPECT_EQ(c.Code, 0) << e.Message;
        }
    }
}

TEST(SocketStackReading, TheStackLivesWithTheMailComponents) {
    if (MxComponentCount() != 0) GTEST_SKIP() << "another test keeps a mail component";
    EXPECT_EQ(GStack(), nullptr);
    EXPECT_THROW(Stack(), EMxException);
    {
        StackKeeper first;
        ASSERT_NE(GStack(), nullptr);
        TMxStack* stack = GStack();
        {
            StackKeeper second;
            EXPECT_EQ(GStack(), stack);
        }
        EXPECT_EQ(GStack(), stack);
    }
    EXPECT_EQ(GStack(), nullptr);
    StackKeeper again;
    EXPECT_EQ(Stack().ResolveHostAddress("localhost"), "127.0.0.1");
}

TEST(AntiFreezeReading, TimedConnectRunsIdleStepsWhileItWaits) {
    StackKeeper keep;
    CountingAntiFreeze freeze;
    freeze.IdleTimeOut = 20;
    HangingPeer peer;
    TMxIOHandlerSocket handler;
    handler.OpenTransport();
    EXPECT_THROW(handler.ConnectTransport("127.0.0.1", peer.Full.Port, 200, 0, 0, 0, ""),
                 EMxConnectTimeout);
    EXPECT_GT(freeze.Steps, 2);
    EXPECT_FALSE(handler.IsConnected());
}

TEST(SocketHandlerReading, SharedProxySettingsHandshakeOverTheConnectingHandler) {
    StackKeeper keep;
    for (const bool freeOther : {false, true}) {
        SCOPED_TRACE(freeOther ? "other handler freed" : "other handler alive");
        Listener proxy;
        TComponent owner(nullptr);
        auto* settings = new TMxSocksInfo(&owner);
        settings->Version = TSocksVersion::svSocks5;
        settings->Host = "127.0.0.1";
        settings->Port = proxy.Port;
        settings->ReplyTimeout = 200;
        TMxIOHandlerSocket handler;
        handler.SetSocksInfo(settings);
        auto other = std::make_unique<TMxIOHandlerSocket>();
        other->SetSocksInfo(settings);
        if (freeOther) other.reset();
        handler.OpenTransport();
        // The silent proxy fails the handshake; the greeting went out over
        // this handler's own connection.
        EXPECT_THROW(handler.ConnectTransport("127.0.0.1", 25, 0, 0, 0, 0, ""), EMxSocksError);
        TMxSocketHandle atProxy;
        ASSERT_TRUE(atProxy.AcceptFrom(proxy.Socket));
        ASSERT_TRUE(atProxy.WaitReadable(2000));
        char greeting[8];
        EXPECT_GT(atProxy.ReceiveBytes(greeting, sizeof greeting), 0);
        EXPECT_EQ(greeting[0], 5);
    }
}

TEST(SocketStackReading, BadSocketsFailTheirCalls) {
    StackKeeper keep;
    TMxStack& stack = Stack();
    EXPECT_EQ(MessageOf<EMxInvalidSocket>([&] { stack.AllocateSocket(MxSockStream, 9999); }),
              "Cannot allocate socket.");
    for (TMxSocket bad : {MxInvalidSocket, 19999}) {
        SCOPED_TRACE(bad);
        auto list = CreateSocketList();
        list->AddSocket(bad);
        EXPECT_EQ(stack.SockSelect(list.get(), nullptr, nullptr, 0), -1);
        EXPECT_EQ(stack.SockLastError(), 10038);
    }
}

TEST(InterceptReading, RelinkingAndUnlinking) {
    TMxConnectionIntercept intercept, next;
    intercept.SetIntercept(&next);
    intercept.SetIntercept(&next);
    intercept.SetIntercept(nullptr);
    EXPECT_EQ(intercept.Intercept(), nullptr);
}

TEST(SocketHandleReading, AcceptingIntoAnOpenHandleClosesItsOldSocket) {
    StackKeeper keep;
    Listener listener;
    TMxSocketHandle client;
    ASSERT_EQ(ConnectToLoopback(client, listener.Port), 0);
    TMxSocketHandle server;
    ASSERT_TRUE(server.AcceptFrom(listener.Socket));
    TMxSocketHandle second;
    ASSERT_EQ(ConnectToLoopback(second, listener.Port), 0);
    ASSERT_TRUE(server.AcceptFrom(listener.Socket));
    EXPECT_EQ(server.RemotePort, second.Port);
    ASSERT_TRUE(client.WaitReadable(2000));
    char c;
    EXPECT_EQ(client.ReceiveBytes(&c, 1), 0);
}

TEST(SocketHandlerReading, APassedDeadlineEndsABlockingConnectAtOnce) {
    StackKeeper keep;
    HangingPeer peer;
    for (int timeout : {0, -1, 5000}) {
        SCOPED_TRACE(timeout);
        TMxIOHandlerSocket handler;
        handler.SetDeadline(std::chrono::steady_clock::now() + std::chrono::milliseconds(100));
        handler.OpenTransport();
        // Without the deadline, 0 and -1 would wait until the system gives up.
        EXPECT_THROW(handler.ConnectTransport("127.0.0.1", peer.Full.Port, timeout, 0, 0, 0, ""),
                     EMxConnectTimeout);
        EXPECT_FALSE(handler.IsConnected());
    }
}
