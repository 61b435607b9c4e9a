// Socket handles and the plain socket handler through their public calls:
// local binding over a port range, readiness waits, the connect sequence
// with and without a time-out, the Nagle switch, the proxy settings'
// ownership, and the intercept chain on a real connection.
#include "Certificates.h"
#include "Peer.h"
#include "CountingAntiFreeze.h"
#include "mail/MxAntiFreeze.h"
#include "mail/MxIOHandler.h"
#include "mail/MxIntercept.h"
#include "mail/MxNetExceptions.h"
#include "mail/MxSSLIOHandler.h"
#include "mail/MxSocketHandle.h"
#include "mail/MxSocks.h"
#include "mail/MxTCPClient.h"
#include "platform/rtl/Streams.h"

#include <chrono>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using namespace mail;
using mailtest::CountingAntiFreeze;
using mailtest::Send;

namespace {

// A loopback socket bound to APort (0: the system's choice), listening
// with ABacklog when asked.
struct Occupied {
    TMxComponent StackKeeper; // the socket stack lives while a mail component does
    TMxSocketHandle Handle;
    explicit Occupied(int APort, int ABacklog = -1) {
        Handle.IP = "127.0.0.1";
        Handle.Port = APort;
        Handle.AllocateHandle(MxSockStream, 0);
        Handle.BindLocal();
        if (ABacklog >= 0) EXPECT_EQ(Stack().SockListen(Handle.Handle(), ABacklog), 0);
    }
};

// A free loopback port, found by binding and closing.
int UnusedPort() {
    Occupied probe(0);
    return probe.Handle.Port;
}

} // namespace

TEST(SocketReading, BindingTakesOnePortOrTheHighestFreeOfARange) {
    TMxComponent stackKeeper;
    Occupied taken(0);
    const int busy = taken.Handle.Port;
    // A range just below a busy port, whose top is taken too.
    const int top = busy;
    struct Case {
        const char* name;
        int port, min, max;
        int bound; // 0: any port the system picks; -1: raises
        const char* message;
    };
    const std::vector<Case> cases = {
        {"system's choice", 0, 0, 0, 0, nullptr},
        {"busy port", busy, 0, 0, -1,
         "Could not bind socket. Address and port are already in use."},
        {"port wins over range", busy, top - 3, top, -1,
         "Could not bind socket. Address and port are already in use."},
        {"half a range is none", 0, 0, top, 0, nullptr},
        {"highest free first", 0, top - 3, top, top - 1, nullptr},
        {"max below min", 0, top, top - 3, -1, nullptr},
        {"whole range busy", 0, top, top, -1, nullptr},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        TMxSocketHandle handle;
        handle.IP = "127.0.0.1";
        handle.Port = k.port;
        handle.ClientPortMin = k.min;
        handle.ClientPortMax = k.max;
        handle.AllocateHandle(MxSockStream, 0);
        if (k.bound >= 0) {
            handle.BindLocal();
            if (k.bound > 0)
                EXPECT_EQ(handle.Port, k.bound);
            else
                EXPECT_GT(handle.Port, 0);
            EXPECT_EQ(handle.IP, "127.0.0.1");
            continue;
        }
        try {
            handle.BindLocal();
            ADD_FAILURE() << "bound to " << handle.Port;
        } catch (const EMxCouldNotBindSocket& e) {
            EXPECT_STREQ(k.message, e.Message.c_str());
        } catch (const EMxInvalidPortRange& e) {
            EXPECT_EQ(e.Message, "Invalid Port Range (" + std::to_string(k.min) + " - " +
                                     std::to_string(k.max) + ")");
        } catch (const EMxCanNotBindPortInRange& e) {
            EXPECT_EQ(e.Message, "Can not bind in port range (" + std::to_string(k.min) + " - " +
                                     std::to_string(k.max) + ")");
        }
    }
}

TEST(SocketReading, HandleWithoutSocketAndHandlerWithoutConnection) {
    TMxSocketHandle handle;
    EXPECT_EQ(handle.Handle(), MxInvalidSocket);
    EXPECT_FALSE(handle.SocketOpen());
    try {
        handle.WaitReadable(10);
        ADD_FAILURE() << "waited";
    } catch (const EMxConnClosedGracefully& e) {
        EXPECT_EQ(e.Message, "Connection Closed Gracefully.");
    }
    TMxSocketHandle copy;
    handle.IP = "10.1.2.3";
    handle.Port = 25;
    handle.SetPeer("10.9.8.7", 587);
    copy.Assign(&handle);
    EXPECT_EQ(copy.IP, "10.1.2.3");
    EXPECT_EQ(copy.Port, 25);
    EXPECT_EQ(copy.RemoteAddress, "10.9.8.7");
    EXPECT_EQ(copy.RemotePort, 587);

    TMxIOHandlerSocket handler;
    EXPECT_FALSE(handler.TransportActive());
    EXPECT_FALSE(handler.IsConnected());
    char buffer[4] = {};
    for (int send = 0; send < 2; ++send) {
        try {
            send ? handler.SendBytes("x", 1) : handler.ReceiveBytes(buffer, 4);
            ADD_FAILURE() << "transferred";
        } catch (const EMxClosedSocket& e) {
            EXPECT_EQ(e.Message, "Disconnected.");
        }
    }
    handler.OpenTransport();
    EXPECT_TRUE(handler.TransportActive());
    ASSERT_NE(handler.SocketBinding(), nullptr);
    EXPECT_FALSE(handler.IsConnected());
    handler.CloseTransport();
    EXPECT_FALSE(handler.TransportActive());
}

// A refused connect raises the socket error with its code, with or
// without a time-out of its own; a name is resolved first, an address is
// used as it stands.
TEST(SocketReading, RefusedConnectRaisesTheSocketErrorAndReportsItsSteps) {
    TMxComponent stackKeeper;
    const int port = UnusedPort();
    struct Case {
        const char* host;
        int timeout;
        bool resolving;
    };
    for (const Case& k : {Case{"127.0.0.1", -1, false}, Case{"127.0.0.1", 0, false},
                          Case{"localhost", 2000, true}, Case{"LOCALHOST", 50, true}}) {
        SCOPED_TRACE(std::string(k.host) + " " + std::to_string(k.timeout));
        TMxIOHandlerSocket handler;
        std::vector<std::string> status;
        handler.OnStatus = [&](TObject*, TMxStatus, const AnsiString& AText) {
            status.push_back(AText);
        };
        handler.OpenTransport();
        try {
            handler.ConnectTransport(k.host, port, k.timeout, 0, 0, 0, "");
            ADD_FAILURE() << "connected";
        } catch (const EMxSocketError& e) {
            EXPECT_EQ(e.LastError, 10061);
            EXPECT_NE(e.Message.find("Socket Error # 10061"), std::string::npos) << e.Message;
            EXPECT_NE(e.Message.find("Connection refused."), std::string::npos) << e.Message;
        }
        std::vector<std::string> wanted;
        if (k.resolving) wanted.push_back(std::string("Resolving hostname ") + k.host + ".");
        wanted.push_back("Connecting to 127.0.0.1.");
        EXPECT_EQ(status, wanted);
        EXPECT_EQ(handler.SocketBinding()->RemoteAddress, "127.0.0.1");
        EXPECT_EQ(handler.SocketBinding()->RemotePort, port);
    }
}

// A listener that never accepts lets the first connections into its queue
// and leaves the next one hanging: the timed connect gives up after its
// time-out, rounded up to a slice, and leaves the handler closed.
TEST(SocketReading, TimedConnectGivesUpAndClosesTheHandler) {
    for (int timeout : {300, 60}) {
        SCOPED_TRACE(timeout);
        Occupied listener(0, 0);
        std::vector<std::unique_ptr<TMxIOHandlerSocket>> queued;
        bool timedOut = false;
        for (int i = 0; i < 8 && !timedOut; ++i) {
            auto handler = std::make_unique<TMxIOHandlerSocket>();
            handler->OpenTransport();
            const auto start = std::chrono::steady_clock::now();
            try {
                handler->ConnectTransport("127.0.0.1", listener.Handle.Port, timeout, 0, 0, 0, "");
                queued.push_back(std::move(handler));
            } catch (const EMxConnectTimeout& e) {
                timedOut = true;
                const auto waited = std::chrono::steady_clock::now() - start;
                EXPECT_EQ(e.Message, "Connect timed out.");
                EXPECT_GE(waited, std::chrono::milliseconds(timeout - 10));
                EXPECT_LT(waited, std::chrono::milliseconds(timeout + 1500));
                EXPECT_FALSE(handler->IsConnected());
                EXPECT_FALSE(handler->TransportActive());
            }
        }
        EXPECT_TRUE(timedOut);
    }
}

// A connect that succeeds binds where it was asked and takes the Nagle
// setting; a change on the open socket is applied at once.
TEST(SocketReading, ConnectBindsTheAskedPortAndAppliesNagle) {
    mailtest::ScriptedPeer peer({"stall", "--", "stall"});
    const int local = UnusedPort();
    TMxIOHandlerSocket handler;
    handler.SetUseNagle(false);
    handler.OpenTransport();
    handler.ConnectTransport("127.0.0.1", peer.Port(), 2000, 0, 0, local, "127.0.0.1");
    ASSERT_TRUE(handler.IsConnected());
    EXPECT_EQ(handler.SocketBinding()->Port, local);
    auto noDelay = [&] {
        int value = -1;
        int length = sizeof value;
        EXPECT_EQ(Stack().SockGetOption(handler.SocketBinding()->Handle(), MxIpProtoTcp,
                                        MxTcpNoDelay, &value, length),
                  0);
        return value != 0;
    };
    EXPECT_TRUE(noDelay());
    handler.SetUseNagle(true);
    EXPECT_FALSE(noDelay());
    handler.SetUseNagle(true);
    EXPECT_FALSE(noDelay());
    EXPECT_FALSE(handler.WaitReadable(50));
    handler.CloseTransport();
    EXPECT_FALSE(handler.IsConnected());

    // A range given to the connect (its top first) binds its highest port.
    const int top = UnusedPort();
    handler.OpenTransport();
    handler.ConnectTransport("127.0.0.1", peer.Port(), 2000, top, top - 2, 0, "");
    EXPECT_EQ(handler.SocketBinding()->Port, top);
    EXPECT_EQ(handler.SocketBinding()->ClientPortMax, top);
    EXPECT_EQ(handler.SocketBinding()->ClientPortMin, top - 2);
    handler.CloseTransport();
}

// Proxy settings with an owner are shared and forgotten when freed;
// settings without one are copied.
TEST(SocketReading, ProxySettingsAreSharedOrCopiedByOwnership) {
    TMxIOHandlerSocket handler;
    TMxSocksInfo* made = handler.SocksInfo();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->Version, TSocksVersion::svNoSocks);

    auto owner = std::make_unique<TComponent>(nullptr);
    auto* shared = new TMxSocksInfo(owner.get());
    shared->Host = "proxy.example";
    handler.SetSocksInfo(shared);
    EXPECT_EQ(handler.SocksInfo(), shared);
    EXPECT_EQ(shared->IOHandler(), &handler);
    owner.reset(); // frees the shared settings
    ASSERT_NE(handler.SocksInfo(), nullptr);
    EXPECT_EQ(handler.SocksInfo()->Host, "");

    TMxSocksInfo loose;
    loose.Host = "other.example";
    loose.Port = 1081;
    handler.SetSocksInfo(&loose);
    EXPECT_NE(handler.SocksInfo(), &loose);
    EXPECT_EQ(handler.SocksInfo()->Host, "other.example");
    EXPECT_EQ(handler.SocksInfo()->Port, 1081);
    EXPECT_EQ(handler.SocksInfo()->IOHandler(), &handler);
}

namespace {

// Appends AMark to the block an intercept sees.
void Mark(TStream* AStream, const std::string& AMark) {
    AStream->Seek(0, soEnd);
    AStream->Write(AMark.data(), static_cast<int>(AMark.size()));
}

} // namespace

TEST(SocketReading, InterceptChainSeesEveryBlockInOrder) {
    TMxConnectionIntercept first, second;
    try {
        second.SetIntercept(&first);
        first.SetIntercept(&second);
        ADD_FAILURE() << "circular chain accepted";
    } catch (const EMxInterceptCircularLink& e) {
        EXPECT_NE(e.Message.find("TMxConnectionIntercept"), std::string::npos) << e.Message;
    }
    EXPECT_THROW(first.SetIntercept(&first), EMxInterceptCircularLink);
    second.SetIntercept(nullptr);
    first.SetIntercept(&second);

    std::vector<std::string> events;
    first.OnConnect = [&](TObject*) { events.push_back("connect 1"); };
    second.OnConnect = [&](TObject*) { events.push_back("connect 2"); };
    first.OnDisconnect = [&](TObject*) { events.push_back("disconnect 1"); };
    second.OnDisconnect = [&](TObject*) { events.push_back("disconnect 2"); };
    first.OnReceive = [&](TObject*, TStream* s) { Mark(s, "<1"); };
    second.OnReceive = [&](TObject*, TStream* s) { Mark(s, "<2"); };
    first.OnSend = [&](TObject*, TStream* s) { Mark(s, ">1"); };
    second.OnSend = [&](TObject*, TStream* s) { Mark(s, ">2"); };

    mailtest::ScriptedPeer peer({mailtest::Expect("out>1>2"), Send("in")});
    {
        TMxTCPClient client;
        client.SetIntercept(&first);
        client.SetHost("127.0.0.1");
        client.SetPort(peer.Port());
        client.ReadTimeout = 5000;
        client.Connect(2000);
        EXPECT_EQ(first.Connection(), &client);
        client.Write("out");
        char got[6];
        client.ReadExact(got, 6);
        EXPECT_EQ(std::string(got, 6), "in<2<1");
        client.Disconnect();
        EXPECT_EQ(first.Connection(), nullptr);
    }
    EXPECT_EQ(events,
              (std::vector<std::string>{"connect 1", "connect 2", "disconnect 2", "disconnect 1"}));
    const std::vector<std::string> lines = peer.Finish();
    EXPECT_EQ(lines.back(), "DONE");
}

// While an anti-freeze component exists, waits on the main thread give
// it its turn; the newest instance is the one in use.
TEST(SocketReading, AntiFreezeGetsItsTurnWhileWaiting) {
    mailtest::ScriptedPeer peer({"pause:1500", Send("x"), "stall"});
    {
        CountingAntiFreeze older;
        CountingAntiFreeze freeze;
        EXPECT_EQ(TMxAntiFreezeBase::Instance(), &freeze);
        freeze.IdleTimeOut = 50;
        TMxIOHandlerSocket handler;
        handler.OpenTransport();
        handler.ConnectTransport("127.0.0.1", peer.Port(), -1, 0, 0, 0, "");
        // A first check for all but one idle slice, then one slice.
        EXPECT_FALSE(handler.WaitReadable(400));
        EXPECT_EQ(freeze.Steps, 2);
        EXPECT_EQ(older.Steps, 0);
        freeze.Active = false;
        const int before = freeze.Steps;
        EXPECT_FALSE(handler.WaitReadable(200));
        EXPECT_EQ(freeze.Steps, before);
        // Without a limit the wait goes on in idle slices until data comes.
        freeze.Active = true;
        EXPECT_TRUE(handler.WaitReadable(-2));
        EXPECT_GT(freeze.Steps, before);
    }
    EXPECT_EQ(TMxAntiFreezeBase::Instance(), nullptr);
}

// With a SOCKS version set, the TCP connection goes to the proxy, which is
// then asked for the real target; a reopened handler forgets the last
// binding.
TEST(SocketReading, ProxyGetsTheConnectionAndOpenTransportStartsAfresh) {
    mailtest::ScriptedPeer proxy(
        {mailtest::Expect(std::string("\x04\x01\x00\x19\x7f\x00\x00\x01\x00", 9)),
         Send(std::string("\x00\x5a\x00\x00\x00\x00\x00\x00", 8)), Send("220 via proxy\r\n")});
    TMxIOHandlerSocket handler;
    handler.SocksInfo()->Version = TSocksVersion::svSocks4;
    handler.SocksInfo()->Host = "127.0.0.1";
    handler.SocksInfo()->Port = proxy.Port();
    handler.OpenTransport();
    const int local = UnusedPort();
    handler.ConnectTransport("127.0.0.1", 25, 2000, 0, 0, local, "127.0.0.1");
    EXPECT_EQ(handler.SocketBinding()->RemotePort, proxy.Port());
    EXPECT_TRUE(handler.WaitReadable(3000));
    char got[32];
    const int n = handler.ReceiveBytes(got, sizeof got);
    EXPECT_EQ(std::string(got, n > 0 ? n : 0), "220 via proxy\r\n");
    handler.CloseTransport();
    handler.OpenTransport();
    EXPECT_EQ(handler.SocketBinding()->Port, 0);
    EXPECT_EQ(handler.SocketBinding()->IP, "");
    EXPECT_EQ(handler.SocketBinding()->RemoteAddress, "");
    EXPECT_EQ(handler.SocketBinding()->RemotePort, 0);
    EXPECT_FALSE(handler.SocketBinding()->HandleAllocated());
}

// Accepting on a listener that has been closed gives no connection, from
// a bare handle and from both server handlers.
TEST(SocketReading, AcceptOnAClosedListenerGivesNoConnection) {
    Occupied listener(0, 1);
    const TMxSocket closed = listener.Handle.Handle();
    listener.Handle.CloseSocketHandle();
    EXPECT_FALSE(listener.Handle.SocketOpen());
    TMxSocketHandle handle;
    EXPECT_FALSE(handle.AcceptFrom(closed));
    TMxServerIOHandler plain;
    plain.Init();
    EXPECT_EQ(plain.Accept(closed), nullptr);
    TMxServerIOHandlerSSL tls;
    tls.SSLOptions()->CertFile = mailtest::Certificates::Get().LocalhostCert();
    tls.SSLOptions()->KeyFile = mailtest::Certificates::Get().LocalhostKey();
    EXPECT_EQ(tls.Accept(closed), nullptr);
}
