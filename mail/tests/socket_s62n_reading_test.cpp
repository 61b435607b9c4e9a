// Socket handles, the plain socket handler's connect sequence and timed
// connect, intercept chains and the anti-freeze component, through their
// public calls against loopback listeners.
#include "CountingAntiFreeze.h"
#include "mail/MxAntiFreeze.h"
#include "mail/MxExceptions.h"
#include "mail/MxIOHandler.h"
#include "mail/MxIntercept.h"
#include "mail/MxNetExceptions.h"
#include "mail/MxSocketHandle.h"
#include "mail/MxSocks.h"
#include "mail/MxStack.h"
#include "mail/MxTCPClient.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace mail;
using mailtest::CountingAntiFreeze;

namespace {

// A listening socket on loopback, made through the stack.
struct StackListener {
    explicit StackListener(int ABacklog = 4) {
        Socket = Stack().AllocateSocket(MxSockStream, 0);
        EXPECT_EQ(Stack().SockBind(Socket, MxAfInet, "127.0.0.1", 0), 0);
        EXPECT_EQ(Stack().SockListen(Socket, ABacklog), 0);
        int family = 0;
        AnsiString ip;
        Stack().SockLocalName(Socket, family, ip, Port);
    }
    ~StackListener() { Close(); }
    void Close() {
        if (Socket != MxInvalidSocket) Stack().SockClose(Socket);
        Socket = MxInvalidSocket;
    }
    TMxSocket Socket = MxInvalidSocket;
    int Port = 0;
};

class SocketFreshReading : public ::testing::Test {
protected:
    TMxIOHandlerSocket FKeeper; // keeps the stack alive
};

// A port nobody listens on.
int ClosedStackPort() {
    StackListener l;
    return l.Port;
}

bool NoDelay(TMxSocketHandle* AHandle) {
    int value = -1;
    int length = sizeof value;
    Stack().SockGetOption(AHandle->Handle(), MxIpProtoTcp, MxTcpNoDelay, &value, length);
    return value != 0;
}

} // namespace

TEST_F(SocketFreshReading, HandleBindsOnePortOrARangeHighestFirst) {
    StackListener busy;
    struct Case {
        std::string Name;
        int Port, Min, Max;
        std::string Error; // empty: binds
    };
    const int p = busy.Port;
    const std::vector<Case> cases = {
        {"busy port", p, 0, 0, "Could not bind socket. Address and port are already in use."},
        {"port wins over range", p, 1024, 1030,
         "Could not bind socket. Address and port are already in use."},
        {"range upside down", 0, 1030, 1024, "Invalid Port Range (1030 - 1024)"},
        {"range all busy", 0, p, p, "Can not bind in port range (" + std::to_string(p) + " - " +
                                         std::to_string(p) + ")"},
        {"half a range is no range", 0, 0, p, ""},
    };
    for (const Case& c : cases) {
        TMxSocketHandle handle;
        handle.AllocateHandle(MxSockStream, 0);
        handle.IP = "127.0.0.1";
        handle.Port = c.Port;
        handle.ClientPortMin = c.Min;
        handle.ClientPortMax = c.Max;
        try {
            handle.BindLocal();
            EXPECT_EQ(c.Error, "") << c.Name;
            EXPECT_GT(handle.Port, 0) << c.Name;
        } catch (const EMxSocketHandleError& e) {
            EXPECT_EQ(std::string(e.what()), c.Error) << c.Name;
        }
    }
    // The range's top port is busy: the next one down is taken.
    TMxSocketHandle ranged;
    ranged.AllocateHandle(MxSockStream, 0);
    ranged.IP = "127.0.0.1";
    ranged.ClientPortMin = p - 3;
    ranged.ClientPortMax = p;
    ranged.BindLocal();
    EXPECT_EQ(ranged.Port, p - 1);
    EXPECT_EQ(ranged.IP, "127.0.0.1");
    // An address that is not ours is an error, not a busy port.
    TMxSocketHandle foreign;
    foreign.AllocateHandle(MxSockStream, 0);
    foreign.IP = "192.0.2.1";
    EXPECT_THROW(foreign.TryBindLocal(), EMxSocketError);
}

TEST_F(SocketFreshReading, HandleConnectsAcceptsAndWaits) {
    StackListener listener;
    TMxSocketHandle client;
    EXPECT_FALSE(client.HandleAllocated());
    try {
        client.WaitReadable(10);
        FAIL() << "no exception";
    } catch (const EMxConnClosedGracefully& e) {
        EXPECT_STREQ(e.what(), "Connection Closed Gracefully.");
    }
    client.AllocateHandle(MxSockStream, 0);
    client.SetPeer("127.0.0.1", listener.Port);
    ASSERT_EQ(client.ConnectPeer(MxAfInet), 0);
    EXPECT_EQ(client.IP, "127.0.0.1");
    EXPECT_GT(client.Port, 0);

    TMxSocketHandle served;
    ASSERT_TRUE(served.AcceptFrom(listener.Socket));
    EXPECT_EQ(served.RemoteAddress, "127.0.0.1");
    EXPECT_EQ(served.RemotePort, client.Port);
    EXPECT_EQ(served.Port, listener.Port);

    EXPECT_FALSE(client.WaitReadable(20));
    ASSERT_EQ(served.SendBytes("hi", 2), 2);
    EXPECT_TRUE(client.WaitReadable(MxTimeoutInfinite));
    char buffer[4] = {};
    EXPECT_EQ(client.ReceiveBytes(buffer, 4), 2);

    // A close stops sending first: the peer reads its end.
    served.CloseSocketHandle();
    EXPECT_FALSE(served.SocketOpen());
    EXPECT_TRUE(client.WaitReadable(1000));
    EXPECT_EQ(client.ReceiveBytes(buffer, 4), 0);

    TMxSocketHandle copy;
    copy.Assign(&client);
    EXPECT_EQ(copy.IP, client.IP);
    EXPECT_EQ(copy.Port, client.Port);
    EXPECT_EQ(copy.RemoteAddress, "127.0.0.1");
    EXPECT_EQ(copy.RemotePort, listener.Port);
    EXPECT_FALSE(copy.HandleAllocated());

    client.ResetHandle(false);
    EXPECT_EQ(client.RemoteAddress, "");
    EXPECT_EQ(client.IP, "127.0.0.1");
    client.ResetHandle();
    EXPECT_EQ(client.IP, "");
    EXPECT_EQ(client.Port, 0);

    // A listener closed under the accept gives no connection; a socket
    // that does not listen is an error.
    const TMxSocket closed = listener.Socket;
    listener.Close();
    TMxSocketHandle none;
    EXPECT_FALSE(none.AcceptFrom(closed));
    EXPECT_FALSE(none.HandleAllocated());
    TMxSocketHandle quiet;
    quiet.AllocateHandle(MxSockStream, 0);
    EXPECT_THROW(none.AcceptFrom(quiet.Handle()), EMxSocketError);
}

TEST_F(SocketFreshReading, DestroyingAHandlerClosesItsSocket) {
    StackListener listener;
    TMxSocketHandle served;
    {
        TMxIOHandlerSocket handler;
        handler.OpenTransport();
        handler.ConnectTransport("127.0.0.1", listener.Port, -1, 0, 0, 0, "");
        ASSERT_TRUE(served.AcceptFrom(listener.Socket));
    }
    ASSERT_TRUE(served.WaitReadable(2000));
    char byte = 0;
    EXPECT_EQ(served.ReceiveBytes(&byte, 1), 0);
}

TEST_F(SocketFreshReading, HandlerStateAndTransfersWhileClosed) {
    TMxIOHandlerSocket handler;
    EXPECT_FALSE(handler.TransportActive());
    EXPECT_EQ(handler.SocketBinding(), nullptr);
    char byte = 0;
    for (int step = 0; step < 2; ++step) {
        try {
            handler.SendBytes(&byte, 1);
            ADD_FAILURE() << "no exception";
        } catch (const EMxClosedSocket& e) {
            EXPECT_STREQ(e.what(), "Disconnected.");
        }
        EXPECT_THROW(handler.ReceiveBytes(&byte, 1), EMxClosedSocket);
        handler.OpenTransport();
        EXPECT_TRUE(handler.TransportActive());
        EXPECT_NE(handler.SocketBinding(), nullptr);
        EXPECT_FALSE(handler.IsConnected());
    }
    handler.CloseTransport();
    EXPECT_FALSE(handler.TransportActive());
    TMxServerIOHandler server;
    EXPECT_EQ(server.Accept(MxInvalidSocket), nullptr);
}

TEST_F(SocketFreshReading, ConnectSequenceReportsAndConnects) {
    struct Case {
        std::string Host;
        int Timeout;
        std::vector<std::string> Statuses;
    };
    const std::vector<Case> cases = {
        {"127.0.0.1", -1, {"Connecting to 127.0.0.1."}},
        {"LocalHost", 0, {"Resolving hostname LocalHost.", "Connecting to 127.0.0.1."}},
        {"127.0.0.1", 2000, {"Connecting to 127.0.0.1."}},
        {"127.0.0.1", MxTimeoutInfinite, {"Connecting to 127.0.0.1."}},
    };
    for (const Case& c : cases) {
        StackListener listener;
        TMxIOHandlerSocket handler;
        std::vector<std::string> statuses;
        handler.OnStatus = [&](TObject*, TMxStatus, const AnsiString& AText) {
            statuses.push_back(AText);
        };
        handler.OpenTransport();
        handler.ConnectTransport(c.Host, listener.Port, c.Timeout, 0, 0, 0, "");
        EXPECT_TRUE(handler.IsConnected()) << c.Host << c.Timeout;
        EXPECT_EQ(statuses, c.Statuses) << c.Timeout;
        EXPECT_EQ(handler.SocketBinding()->RemoteAddress, "127.0.0.1");
        EXPECT_EQ(handler.SocketBinding()->RemotePort, listener.Port);
        EXPECT_FALSE(NoDelay(handler.SocketBinding()));
        EXPECT_EQ(handler.SendBytes("ok", 2), 2);
    }
}

TEST_F(SocketFreshReading, ConnectBindsTheGivenLocalSide) {
    StackListener listener;
    StackListener busy; // its port is the range's top
    TMxIOHandlerSocket handler;
    handler.OpenTransport();
    handler.ConnectTransport("127.0.0.1", listener.Port, -1, busy.Port, busy.Port - 2, 0,
                             "127.0.0.1");
    EXPECT_EQ(handler.SocketBinding()->Port, busy.Port - 1);
    EXPECT_EQ(handler.SocketBinding()->IP, "127.0.0.1");
}

TEST_F(SocketFreshReading, RefusedConnectsCarryTheCode) {
    const int port = ClosedStackPort();
    for (const int timeout : {-1, 0, 2000}) {
        TMxIOHandlerSocket handler;
        handler.OpenTransport();
        try {
            handler.ConnectTransport("127.0.0.1", port, timeout, 0, 0, 0, "");
            ADD_FAILURE() << "no exception at " << timeout;
        } catch (const EMxSocketError& e) {
            EXPECT_EQ(e.LastError, WSAECONNREFUSED) << timeout;
            EXPECT_NE(std::string(e.what()).find("Connection refused."), std::string::npos);
        }
    }
}

TEST_F(SocketFreshReading, TimedConnectGivesUpAndClosesTheHandler) {
    // A listener whose queue is full takes no more connections, so a
    // further connect hangs until its time-out.
    StackListener full(0);
    std::vector<TMxSocket> fillers;
    for (int i = 0; i < 4; ++i) {
        fillers.push_back(Stack().AllocateSocket(MxSockStream, 0));
        Stack().SockSetNonBlocking(fillers.back(), true);
        Stack().SockConnect(fillers.back(), MxAfInet, "127.0.0.1", full.Port);
    }
    // Below one slice the wait is the whole time-out.
    for (const int timeout : {60, 300}) {
        TMxIOHandlerSocket handler;
        handler.OpenTransport();
        const auto start = std::chrono::steady_clock::now();
        try {
            handler.ConnectTransport("127.0.0.1", full.Port, timeout, 0, 0, 0, "");
            ADD_FAILURE() << "no exception at " << timeout;
        } catch (const EMxConnectTimeout& e) {
            EXPECT_STREQ(e.what(), "Connect timed out.");
        }
        const auto took = std::chrono::steady_clock::now() - start;
        EXPECT_GE(took, std::chrono::milliseconds(timeout - 10)) << timeout;
        EXPECT_LT(took, std::chrono::milliseconds(timeout + 2000)) << timeout;
        EXPECT_FALSE(handler.IsConnected());
        EXPECT_FALSE(handler.TransportActive());
        // The handler connects again afterwards.
        StackListener open;
        handler.OpenTransport();
        handler.ConnectTransport("127.0.0.1", open.Port, timeout, 0, 0, 0, "");
        EXPECT_TRUE(handler.IsConnected());
    }
    for (const TMxSocket filler : fillers) Stack().SockClose(filler);
}

TEST_F(SocketFreshReading, NagleSettingFollowsTheProperty) {
    StackListener listener;
    TMxIOHandlerSocket handler;
    handler.SetUseNagle(false);
    handler.OpenTransport();
    handler.ConnectTransport("127.0.0.1", listener.Port, -1, 0, 0, 0, "");
    EXPECT_TRUE(NoDelay(handler.SocketBinding()));
    handler.SetUseNagle(true);
    EXPECT_FALSE(NoDelay(handler.SocketBinding()));
    handler.SetUseNagle(true);
    EXPECT_FALSE(NoDelay(handler.SocketBinding()));
    handler.CloseTransport();
    // Closed: the value is kept for the next connect.
    handler.SetUseNagle(false);
    EXPECT_FALSE(handler.UseNagle());
}

TEST_F(SocketFreshReading, InterceptChainOrderAndCircularLinks) {
    TMxConnectionIntercept first, second, third;
    first.SetIntercept(&second);
    second.SetIntercept(&third);
    for (TMxConnectionIntercept* loop : {&first, &second}) {
        try {
            third.SetIntercept(loop);
            ADD_FAILURE() << "no exception";
        } catch (const EMxInterceptCircularLink& e) {
            EXPECT_NE(std::string(e.what()).find("TMxConnectionIntercept"), std::string::npos);
        }
    }
    EXPECT_THROW(first.SetIntercept(&first), EMxInterceptCircularLink);
    EXPECT_EQ(third.Intercept(), nullptr);

    std::vector<std::string> events;
    auto listen = [&](TMxConnectionIntercept& AIntercept, const std::string& AName) {
        AIntercept.OnConnect = [&events, AName](TObject*) { events.push_back(AName + " connect"); };
        AIntercept.OnDisconnect = [&events, AName](TObject*) {
            events.push_back(AName + " disconnect");
        };
        AIntercept.OnReceive = [&events, AName](TObject*, TStream* AStream) {
            events.push_back(AName + " receive");
            AStream->Seek(0, soEnd);
        };
        AIntercept.OnSend = [&events, AName](TObject*, TStream* AStream) {
            events.push_back(AName + " send");
            AStream->Seek(0, soEnd);
        };
    };
    listen(first, "1");
    listen(second, "2");
    listen(third, "3");
    TComponent connection(nullptr);
    first.InterceptConnect(&connection);
    EXPECT_EQ(first.Connection(), &connection);
    EXPECT_EQ(third.Connection(), &connection);
    TMemoryStream buffer;
    buffer.Write("abc", 3);
    first.InterceptReceive(&buffer);
    EXPECT_EQ(buffer.GetPosition(), 0);
    first.InterceptSend(&buffer);
    first.InterceptDisconnect();
    EXPECT_EQ(first.Connection(), nullptr);
    EXPECT_EQ(events, std::vector<std::string>({"1 connect", "2 connect", "3 connect",
                                                "3 receive", "2 receive", "1 receive", "1 send",
                                                "2 send", "3 send", "3 disconnect",
                                                "2 disconnect", "1 disconnect"}));
}

TEST_F(SocketFreshReading, AntiFreezeRunsBetweenWaitSlices) {
    EXPECT_FALSE(TMxAntiFreezeBase::ShouldProcess());
    {
        CountingAntiFreeze freeze;
        EXPECT_EQ(TMxAntiFreezeBase::Instance(), &freeze);
        EXPECT_TRUE(TMxAntiFreezeBase::ShouldProcess());
        TMxAntiFreezeBase::ProcessIfDue(false);
        EXPECT_EQ(freeze.Steps, 0);
        TMxAntiFreezeBase::ProcessIfDue(false, true);
        TMxAntiFreezeBase::ProcessIfDue(true);
        EXPECT_EQ(freeze.Steps, 2);
        freeze.Active = false;
        TMxAntiFreezeBase::ProcessIfDue(true, true);
        EXPECT_EQ(freeze.Steps, 2);
        freeze.Active = true;

        // A wait longer than the idle time-out runs the idle step.
        freeze.IdleTimeOut = 30;
        StackListener listener;
        TMxIOHandlerSocket handler;
        handler.OpenTransport();
        handler.ConnectTransport("127.0.0.1", listener.Port, -1, 0, 0, 0, "");
        EXPECT_FALSE(handler.WaitReadable(100));
        EXPECT_GE(freeze.Steps, 3);
        {
            CountingAntiFreeze newer;
            EXPECT_EQ(TMxAntiFreezeBase::Instance(), &newer);
        }
        EXPECT_EQ(TMxAntiFreezeBase::Instance(), nullptr);
    }
    EXPECT_EQ(TMxAntiFreezeBase::Instance(), nullptr);
}

TEST_F(SocketFreshReading, ConnectWithoutOpeningFirst) {
    StackListener listener;
    TMxIOHandlerSocket handler;
    handler.ConnectTransport("127.0.0.1", listener.Port, -1, 0, 0, 0, "");
    EXPECT_TRUE(handler.IsConnected());
}

TEST_F(SocketFreshReading, ProxySettingsOutliveOrYieldToTheHandler) {
    // Settings owned by another component are referenced and dropped when
    // that component goes; settings without an owner are copied.
    auto owner = std::make_unique<TComponent>(nullptr);
    auto* shared = new TMxSocksInfo(owner.get());
    shared->Host = "proxy.example";
    TMxIOHandlerSocket handler;
    handler.SetSocksInfo(shared);
    EXPECT_EQ(handler.SocksInfo(), shared);
    EXPECT_EQ(shared->IOHandler(), &handler);
    owner.reset();
    ASSERT_NE(handler.SocksInfo(), nullptr);
    EXPECT_EQ(handler.SocksInfo()->Host, "");

    TMxSocksInfo loose;
    loose.Host = "loose.example";
    handler.SetSocksInfo(&loose);
    EXPECT_NE(handler.SocksInfo(), &loose);
    EXPECT_EQ(handler.SocksInfo()->Host, "loose.example");

    // The settings forget a handler that goes first.
    TComponent keeper(nullptr);
    auto* kept = new TMxSocksInfo(&keeper);
    {
        TMxIOHandlerSocket shortLived;
        shortLived.SetSocksInfo(kept);
    }
    EXPECT_EQ(kept->IOHandler(), nullptr);
}

TEST_F(SocketFreshReading, InterceptsForgetWhatIsDestroyed) {
    TMxConnectionIntercept first;
    std::vector<std::string> events;
    {
        TMxConnectionIntercept second;
        second.OnReceive = [&](TObject*, TStream*) { events.push_back("second"); };
        first.SetIntercept(&second);
    }
    EXPECT_EQ(first.Intercept(), nullptr);
    {
        TComponent connection(nullptr);
        first.InterceptConnect(&connection);
    }
    EXPECT_EQ(first.Connection(), nullptr);
    TMemoryStream buffer;
    first.InterceptReceive(&buffer);
    EXPECT_TRUE(events.empty());
}

TEST_F(SocketFreshReading, UnlimitedWaitWithAntiFreezeEndsWhenDataComes) {
    CountingAntiFreeze freeze;
    freeze.IdleTimeOut = 20;
    StackListener listener;
    TMxIOHandlerSocket handler;
    handler.OpenTransport();
    handler.ConnectTransport("127.0.0.1", listener.Port, -1, 0, 0, 0, "");
    TMxSocketHandle served;
    ASSERT_TRUE(served.AcceptFrom(listener.Socket));
    // The data comes while the third idle step runs.
    freeze.OnStep = [&](int AStep) {
        if (AStep == 3) served.SendBytes("x", 1);
    };
    EXPECT_TRUE(handler.WaitReadable(MxTimeoutInfinite));
    EXPECT_GE(freeze.Steps, 3);
}

TEST_F(SocketFreshReading, ReconnectAndUnknownHosts) {
    StackListener first, second;
    TMxIOHandlerSocket handler;
    handler.OpenTransport();
    handler.ConnectTransport("127.0.0.1", first.Port, -1, 0, 0, 0, "");
    TMxSocketHandle servedFirst;
    ASSERT_TRUE(servedFirst.AcceptFrom(first.Socket));
    // A second connect replaces the socket; the first peer sees the close.
    handler.ConnectTransport("127.0.0.1", second.Port, -1, 0, 0, 0, "");
    EXPECT_EQ(handler.SocketBinding()->RemotePort, second.Port);
    ASSERT_TRUE(servedFirst.WaitReadable(2000));
    char byte = 0;
    EXPECT_EQ(servedFirst.ReceiveBytes(&byte, 1), 0);

    std::vector<std::string> statuses;
    handler.OnStatus = [&](TObject*, TMxStatus, const AnsiString& AText) {
        statuses.push_back(AText);
    };
    for (const int timeout : {-1, 2000}) {
        statuses.clear();
        try {
            handler.ConnectTransport("no-such-host.invalid", 25, timeout, 0, 0, 0, "");
            ADD_FAILURE() << "no exception";
        } catch (const EMxSocketError& e) {
            EXPECT_EQ(e.LastError, WSAHOST_NOT_FOUND);
        }
        EXPECT_EQ(statuses, std::vector<std::string>({"Resolving hostname no-such-host.invalid."}));
    }
}

TEST_F(SocketFreshReading, AntiFreezeAtDesignTimeAndOffTheMainThread) {
    // A form open in a designer.
    struct DesignedForm : TComponent {
        DesignedForm() : TComponent(nullptr) { SetDesigning(true); }
    } form;
    CountingAntiFreeze first(&form);
    EXPECT_EQ(TMxAntiFreezeBase::Instance(), nullptr); // design-time ones never run
    CountingAntiFreeze running;
    try {
        CountingAntiFreeze second(&form);
        ADD_FAILURE() << "no exception";
    } catch (const EMxException& e) {
        EXPECT_STREQ(e.what(), "Only one TMxAntiFreeze can exist per application.");
    }
    EXPECT_EQ(TMxAntiFreezeBase::Instance(), &running);
    bool elsewhere = true;
    std::thread other([&] {
        elsewhere = TMxAntiFreezeBase::ShouldProcess();
        TMxAntiFreezeBase::ProcessIfDue(true, true);
    });
    other.join();
    EXPECT_FALSE(elsewhere);
    EXPECT_EQ(running.Steps, 0);
}

TEST_F(SocketFreshReading, AProxyVersionSendsTheConnectToTheProxy) {
    for (const TSocksVersion version :
         {TSocksVersion::svSocks4, TSocksVersion::svSocks4A, TSocksVersion::svSocks5}) {
        StackListener proxy;
        TMxIOHandlerSocket handler;
        handler.SocksInfo()->Version = version;
        handler.SocksInfo()->Host = "127.0.0.1";
        handler.SocksInfo()->Port = proxy.Port;
        std::vector<std::string> statuses;
        handler.OnStatus = [&](TObject*, TMxStatus, const AnsiString& AText) {
            statuses.push_back(AText);
        };
        // The proxy takes the connection and hangs up at once.
        bool accepted = false;
        std::thread server([&] {
            TMxSocketHandle served;
            accepted = served.AcceptFrom(proxy.Socket);
        });
        handler.OpenTransport();
        EXPECT_THROW(handler.ConnectTransport("192.0.2.7", 25, -1, 0, 0, 0, ""), EMxException);
        server.join();
        EXPECT_TRUE(accepted);
        ASSERT_FALSE(statuses.empty());
        EXPECT_EQ(statuses.front(), "Connecting to 127.0.0.1.");
    }
}

TEST_F(SocketFreshReading, CallsOnAHandlerOrHandleWithoutSocket) {
    TMxIOHandlerSocket never;
    EXPECT_THROW(never.WaitReadable(10), EMxConnClosedGracefully);
    never.SetUseNagle(false); // nothing to apply it to yet
    never.CloseTransport();

    TMxSocketHandle handle;
    const int on = 1;
    EXPECT_THROW(handle.SetOption(MxIpProtoTcp, MxTcpNoDelay, &on, sizeof on), EMxSocketError);
    handle.CloseSocketHandle();
    EXPECT_FALSE(handle.HandleAllocated());
}

TEST_F(SocketFreshReading, InterceptAndConnectionMayGoInEitherOrder) {
    StackListener listener;
    TMxConnectionIntercept intercept;
    {
        TMxTCPClient client;
        client.SetIntercept(&intercept);
        client.SetHost("127.0.0.1");
        client.SetPort(listener.Port);
        client.Connect();
        EXPECT_EQ(intercept.Connection(), &client);
    }
    EXPECT_EQ(intercept.Connection(), nullptr);

    TMxTCPClient client;
    {
        TMxConnectionIntercept shortLived;
        client.SetIntercept(&shortLived);
        client.SetHost("127.0.0.1");
        client.SetPort(listener.Port);
        client.Connect();
    }
    EXPECT_EQ(client.Intercept(), nullptr);
    client.Disconnect();
}

TEST_F(SocketFreshReading, ConnectRefusesALocalSideItCannotTake) {
    StackListener listener;
    StackListener busy;
    struct Case {
        std::string Name;
        int Port;
        std::string IP;
        int Code; // 0: EMxCouldNotBindSocket
    };
    const std::vector<Case> cases = {
        {"busy port", busy.Port, "127.0.0.1", 0},
        {"foreign address", 0, "192.0.2.1", 10049},
    };
    for (const Case& c : cases) {
        TMxIOHandlerSocket handler;
        handler.OpenTransport();
        try {
            handler.ConnectTransport("127.0.0.1", listener.Port, -1, 0, 0, c.Port, c.IP);
            ADD_FAILURE() << "no exception for " << c.Name;
        } catch (const EMxCouldNotBindSocket& e) {
            EXPECT_EQ(c.Code, 0) << c.Name;
            EXPECT_STREQ(e.what(), "Could not bind socket. Address and port are already in use.");
        } catch (const EMxSocketError& e) {
            EXPECT_EQ(e.LastError, c.Code) << c.Name;
        }
    }
}
