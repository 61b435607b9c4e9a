#include "mail/MxAntiFreeze.h"
#include "mail/MxExceptions.h"
#include "mail/MxIOHandler.h"
#include "mail/MxNetExceptions.h"
#include "mail/MxSocketHandle.h"
#include "mail/MxSocks.h"
#include "mail/MxIntercept.h"
#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace mail;

namespace {

struct HandlerReading : ::testing::Test {
    TMxComponent Keeper; // keeps the stack alive
    TMxStack& S = Stack();
};

} // namespace

// A handler that was never opened has no binding yet; connecting it must
// fail cleanly or work, never touch a missing binding.
TEST_F(HandlerReading, ConnectBeforeOpenDoesNotCrash) {
    TMxIOHandlerSocket handler;
    try {
        handler.ConnectTransport("127.0.0.1", 1, 0, 0, 0, 0, "");
    } catch (const Exception&) {
    }
    SUCCEED();
}

// Settings with an owner are referenced and dropped when their owner frees
// them; settings without an owner are copied, so later changes to the
// original do not reach the handler.
TEST_F(HandlerReading, SocksSettingsAreReferencedOrCopied) {
    TMxIOHandlerSocket handler;
    {
        TComponent owner(nullptr);
        auto* shared = new TMxSocksInfo(&owner);
        shared->Host = "proxy.example";
        handler.SetSocksInfo(shared);
        EXPECT_EQ(handler.SocksInfo(), shared);
        EXPECT_EQ(shared->IOHandler(), &handler);
    }
    // The owner freed the shared settings: the handler made fresh ones.
    ASSERT_NE(handler.SocksInfo(), nullptr);
    EXPECT_EQ(handler.SocksInfo()->Host, "");

    TMxSocksInfo loose;
    loose.Host = "first.example";
    loose.Version = TSocksVersion::svSocks5;
    handler.SetSocksInfo(&loose);
    EXPECT_NE(handler.SocksInfo(), &loose);
    loose.Host = "second.example";
    EXPECT_EQ(handler.SocksInfo()->Host, "first.example");
    EXPECT_EQ(handler.SocksInfo()->Version, TSocksVersion::svSocks5);
    EXPECT_EQ(handler.SocksInfo()->IOHandler(), &handler);
}

// Reallocating a handle that holds an open socket closes the old one.
TEST_F(HandlerReading, AllocateHandleClosesTheOldSocket) {
    TMxSocketHandle handle;
    handle.AllocateHandle(MxSockStream, 0);
    const TMxSocket first = handle.Handle();
    handle.IP = "127.0.0.1";
    handle.BindLocal();
    const int port = handle.Port;
    EXPECT_NE(port, 0);
    handle.AllocateHandle(MxSockStream, 0);
    EXPECT_TRUE(handle.SocketOpen());
    // The first socket is gone: its port can be bound again.
    TMxSocketHandle other;
    other.AllocateHandle(MxSockStream, 0);
    other.IP = "127.0.0.1";
    other.Port = port;
    EXPECT_TRUE(other.TryBindLocal()) << "old socket " << first << " still holds port " << port;
    handle.CloseSocketHandle();
    EXPECT_FALSE(handle.SocketOpen());
}

// Transfers and waits on a handler without a socket report the closed
// state instead of touching a dead handle.
TEST_F(HandlerReading, ClosedHandlerRefusesEveryCall) {
    TMxIOHandlerSocket handler;
    char buffer[4] = {};
    EXPECT_FALSE(handler.IsConnected());
    EXPECT_THROW(handler.ReceiveBytes(buffer, 4), EMxClosedSocket);
    handler.OpenTransport();
    EXPECT_TRUE(handler.TransportActive());
    EXPECT_FALSE(handler.IsConnected());
    EXPECT_THROW(handler.SendBytes(buffer, 4), EMxClosedSocket);
    EXPECT_THROW(handler.WaitReadable(10), EMxConnClosedGracefully);
    handler.CloseTransport();
    EXPECT_FALSE(handler.TransportActive());
}

// A design-time second anti-freeze is refused; at run time the newest one
// is in use and destroying it clears the reference.
namespace {
struct Freeze : TMxAntiFreezeBase {
    using TMxAntiFreezeBase::TMxAntiFreezeBase;
    int Steps = 0;
    void RunIdleStep() override { ++Steps; }
};
} // namespace

TEST_F(HandlerReading, AntiFreezeInstanceRules) {
    EXPECT_EQ(TMxAntiFreezeBase::Instance(), nullptr);
    {
        Freeze first;
        {
            Freeze second;
            EXPECT_EQ(TMxAntiFreezeBase::Instance(), &second);
        }
        EXPECT_EQ(TMxAntiFreezeBase::Instance(), nullptr);
        Freeze third;
        third.OnlyWhenIdle = true;
        TMxAntiFreezeBase::ProcessIfDue(false);
        EXPECT_EQ(third.Steps, 0);
        TMxAntiFreezeBase::ProcessIfDue(false, true);
        TMxAntiFreezeBase::ProcessIfDue(true);
        EXPECT_EQ(third.Steps, 2);
        third.Active = false;
        TMxAntiFreezeBase::ProcessIfDue(true);
        EXPECT_EQ(third.Steps, 2);
    }
    EXPECT_EQ(TMxAntiFreezeBase::Instance(), nullptr);
}

namespace {

// A loopback port nothing listens on: bound, then freed.
int FreePort(TMxStack& S) {
    const TMxSocket socket = S.AllocateSocket(MxSockStream, 0);
    S.SockBind(socket, MxAfInet, "127.0.0.1", 0);
    AnsiString ip;
    int family = 0;
    int port = 0;
    S.SockLocalName(socket, family, ip, port);
    S.SockClose(socket);
    return port;
}

} // namespace

// Every connect mode, with or without a worker thread and with time-outs
// shorter or longer than one slice, reports a refusal as the socket error.
TEST_F(HandlerReading, RefusedConnectIsASocketErrorInEveryMode) {
    for (int timeout : {0, -1, 50, 124, 125, 300, 2000}) {
        SCOPED_TRACE(timeout);
        TMxIOHandlerSocket handler;
        handler.OpenTransport();
        const int port = FreePort(S);
        try {
            handler.ConnectTransport("127.0.0.1", port, timeout, 0, 0, 0, "");
            ADD_FAILURE() << "no exception";
        } catch (const EMxSocketError& error) {
            EXPECT_EQ(error.LastError, 10061);
            EXPECT_NE(std::string(error.Message.c_str()).find("Connection refused."), std::string::npos)
                << error.Message.c_str();
        }
        EXPECT_FALSE(handler.IsConnected() && handler.SocketBinding()->RemotePort != port);
    }
}

// The name "LOCALHOST" connects to 127.0.0.1 without a look-up; a bound
// port wins over a port range; the status texts name host and peer.
TEST_F(HandlerReading, LocalhostConnectsAndReportsItsSteps) {
    const TMxSocket listener = S.AllocateSocket(MxSockStream, 0);
    ASSERT_EQ(S.SockBind(listener, MxAfInet, "127.0.0.1", 0), 0);
    ASSERT_EQ(S.SockListen(listener, 1), 0);
    AnsiString ip;
    int family = 0;
    int port = 0;
    S.SockLocalName(listener, family, ip, port);
    const int local = FreePort(S);

    for (int timeout : {0, 1000}) {
        SCOPED_TRACE(timeout);
        TMxIOHandlerSocket handler;
        std::vector<std::string> texts;
        handler.OnStatus = [&](TObject*, TMxStatus, const AnsiString& AText) {
            texts.emplace_back(AText.c_str());
        };
        handler.OpenTransport();
        handler.ConnectTransport("LOCALHOST", port, timeout, local + 5, local - 5,
                                 timeout == 0 ? local : 0, "127.0.0.1");
        EXPECT_TRUE(handler.IsConnected());
        EXPECT_EQ(handler.SocketBinding()->RemoteAddress, "127.0.0.1");
        EXPECT_EQ(handler.SocketBinding()->RemotePort, port);
        if (timeout == 0) EXPECT_EQ(handler.SocketBinding()->Port, local);
        else EXPECT_EQ(handler.SocketBinding()->Port, local + 5);
        ASSERT_FALSE(texts.empty());
        EXPECT_EQ(texts.front(), "Resolving hostname LOCALHOST.");
        EXPECT_EQ(texts.back(), "Connecting to 127.0.0.1.");
        handler.CloseTransport();
        EXPECT_FALSE(handler.IsConnected());
        AnsiString peer;
        int peerPort = 0;
        const TMxSocket accepted = S.SockAccept(listener, peer, peerPort);
        if (accepted != MxInvalidSocket) S.SockClose(accepted);
    }
    S.SockClose(listener);
}

// With an anti-freeze in use, a wait longer than its idle time-out is cut
// into a first check and idle-length checks, each followed by a turn.
TEST_F(HandlerReading, ReadinessWaitGivesTheAntiFreezeTurns) {
    Freeze freeze;
    freeze.IdleTimeOut = 20;
    TMxSocketHandle handle;
    handle.AllocateHandle(2 /* datagram */, 0);
    handle.IP = "127.0.0.1";
    handle.BindLocal();
    EXPECT_FALSE(handle.WaitReadable(100));
    EXPECT_EQ(freeze.Steps, 2);
    freeze.Steps = 0;
    EXPECT_FALSE(handle.WaitReadable(10));
    EXPECT_EQ(freeze.Steps, 1);
}

// Accepting fills both address pairs; a freed handler closes its socket so
// the peer reads the end of the stream; a closed listener gives false.
TEST_F(HandlerReading, AcceptAndDestroyCloseTheConversation) {
    TMxSocketHandle listener;
    listener.AllocateHandle(MxSockStream, 0);
    listener.IP = "127.0.0.1";
    listener.BindLocal();
    ASSERT_EQ(S.SockListen(listener.Handle(), 1), 0);

    auto handler = std::make_unique<TMxIOHandlerSocket>();
    handler->OpenTransport();
    handler->ConnectTransport("127.0.0.1", listener.Port, 1000, 0, 0, 0, "");

    TMxSocketHandle server;
    ASSERT_TRUE(server.AcceptFrom(listener.Handle()));
    EXPECT_EQ(server.IP, "127.0.0.1");
    EXPECT_EQ(server.Port, listener.Port);
    EXPECT_EQ(server.RemotePort, handler->SocketBinding()->Port);

    EXPECT_EQ(handler->SendBytes("ping", 4), 4);
    ASSERT_TRUE(server.WaitReadable(1000));
    char buffer[8] = {};
    EXPECT_EQ(server.ReceiveBytes(buffer, 8), 4);
    EXPECT_EQ(std::string(buffer, 4), "ping");

    handler.reset();
    ASSERT_TRUE(server.WaitReadable(1000));
    EXPECT_EQ(server.ReceiveBytes(buffer, 8), 0);

    // Assign copies the addresses only.
    TMxSocketHandle copy;
    copy.ClientPortMin = 7;
    copy.Assign(&server);
    EXPECT_EQ(copy.IP, server.IP);
    EXPECT_EQ(copy.Port, server.Port);
    EXPECT_EQ(copy.RemoteAddress, server.RemoteAddress);
    EXPECT_EQ(copy.RemotePort, server.RemotePort);
    EXPECT_EQ(copy.ClientPortMin, 7);
    EXPECT_FALSE(copy.HandleAllocated());

    const TMxSocket dead = listener.Handle();
    listener.CloseSocketHandle();
    TMxSocketHandle late;
    EXPECT_FALSE(late.AcceptFrom(dead));
}

// A time-out of -2 waits without limit; with an anti-freeze in use even an
// untimed connect waits in slices. Either way a peer that accepts is
// reached and a refusal is the socket error.
TEST_F(HandlerReading, UnlimitedAndAntiFreezeConnectsFinish) {
    TMxSocketHandle listener;
    listener.AllocateHandle(MxSockStream, 0);
    listener.IP = "127.0.0.1";
    listener.BindLocal();
    ASSERT_EQ(S.SockListen(listener.Handle(), 4), 0);

    struct Case {
        int Timeout;
        bool WithFreeze;
    };
    for (const Case& c : {Case{-2, false}, Case{-2, true}, Case{0, true}, Case{-1, true}}) {
        SCOPED_TRACE(c.Timeout);
        std::unique_ptr<Freeze> freeze;
        if (c.WithFreeze) {
            freeze = std::make_unique<Freeze>();
            freeze->IdleTimeOut = 10;
            freeze->OnlyWhenIdle = false;
        }
        TMxIOHandlerSocket handler;
        handler.OpenTransport();
        handler.ConnectTransport("127.0.0.1", listener.Port, c.Timeout, 0, 0, 0, "");
        EXPECT_TRUE(handler.IsConnected());

        TMxIOHandlerSocket refused;
        refused.OpenTransport();
        EXPECT_THROW(refused.ConnectTransport("127.0.0.1", FreePort(S), c.Timeout, 0, 0, 0, ""),
                     EMxSocketError);
        TMxSocketHandle accepted;
        accepted.AcceptFrom(listener.Handle());
    }
}

// Ports outside 0 to 65535, as the target, the bound port or a range end,
// are refused with an error naming the value, never wrapped onto another
// port.
TEST_F(HandlerReading, OutOfRangePortsAreRefused) {
    struct Case {
        int Port, BoundMax, BoundMin, Bound;
        const char* Named;
    };
    for (const Case& c : {Case{70000, 0, 0, 0, "70000"}, Case{-1, 0, 0, 0, "-1"},
                          Case{25, 0, 0, 65536, "65536"}, Case{25, -1, -3, 0, "-1"},
                          Case{25, 65537, 65536, 0, "65537"}}) {
        SCOPED_TRACE(c.Named);
        TMxIOHandlerSocket handler;
        handler.OpenTransport();
        try {
            handler.ConnectTransport("127.0.0.1", c.Port, 0, c.BoundMax, c.BoundMin, c.Bound, "");
            ADD_FAILURE() << "no exception";
        } catch (const Exception& e) {
            EXPECT_NE(std::string(e.Message.c_str()).find(c.Named), std::string::npos)
                << e.Message.c_str();
        }
    }
}

// Receives run the rest of the chain before this intercept's event, sends
// run this intercept's event first; the stream is rewound after the event
// either way, and connect and disconnect reach every link.
TEST(InterceptChainOrder, EventsRunInChainOrderAndRewind) {
    TMxConnectionIntercept first, second;
    first.SetIntercept(&second);
    std::vector<std::string> log;
    auto hook = [&](TMxConnectionIntercept& AIntercept, const std::string& AName) {
        AIntercept.OnConnect = [&log, AName](TObject*) { log.push_back(AName + " connect"); };
        AIntercept.OnDisconnect = [&log, AName](TObject*) { log.push_back(AName + " disconnect"); };
        AIntercept.OnReceive = [&log, AName](TObject*, TStream* AStream) {
            log.push_back(AName + " receive@" + std::to_string(AStream->GetPosition()));
            AStream->Seek(0, soEnd);
        };
        AIntercept.OnSend = [&log, AName](TObject*, TStream* AStream) {
            log.push_back(AName + " send@" + std::to_string(AStream->GetPosition()));
            AStream->Seek(0, soEnd);
        };
    };
    hook(first, "first");
    hook(second, "second");

    TComponent connection(nullptr);
    first.InterceptConnect(&connection);
    EXPECT_EQ(first.Connection(), &connection);
    TMemoryStream buffer;
    buffer.Write("abcd", 4);
    first.InterceptReceive(&buffer);
    EXPECT_EQ(buffer.GetPosition(), 0);
    buffer.Seek(0, soEnd);
    first.InterceptSend(&buffer);
    first.InterceptDisconnect();
    EXPECT_EQ(first.Connection(), nullptr);

    const std::vector<std::string> expected = {
        "first connect",  "second connect",  "second receive@4", "first receive@0",
        "first send@4",   "second send@0",   "second disconnect", "first disconnect"};
    EXPECT_EQ(log, expected);
}

// Freeing a linked intercept, or a handler that shared proxy settings
// served, leaves no pointer to the freed object behind.
TEST_F(HandlerReading, FreedPartnersAreForgotten) {
    TMxConnectionIntercept first;
    {
        TMxConnectionIntercept second;
        first.SetIntercept(&second);
    }
    EXPECT_EQ(first.Intercept(), nullptr);
    TMemoryStream buffer;
    first.InterceptSend(&buffer);

    TComponent owner(nullptr);
    auto* shared = new TMxSocksInfo(&owner);
    {
        TMxIOHandlerSocket handler;
        handler.SetSocksInfo(shared);
        EXPECT_EQ(shared->IOHandler(), &handler);
    }
    EXPECT_EQ(shared->IOHandler(), nullptr);
}

// A refused design-time anti-freeze leaves its owner with no half-made
// child.
TEST_F(HandlerReading, RefusedDesignTimeAntiFreezeLeavesNoChild) {
    struct Designer : TComponent {
        Designer() : TComponent(nullptr) { SetDesigning(true); }
    } designer;
    Freeze running;
    EXPECT_THROW(new Freeze(&designer), EMxException);
    EXPECT_EQ(designer.ComponentCount(), 0);
    EXPECT_EQ(TMxAntiFreezeBase::Instance(), &running);
}

// The Nagle setting can be changed before any socket exists and is then
// applied by the connect.
TEST_F(HandlerReading, NagleChangeWithoutSocketIsKept) {
    TMxSocketHandle listener;
    listener.AllocateHandle(MxSockStream, 0);
    listener.IP = "127.0.0.1";
    listener.BindLocal();
    ASSERT_EQ(S.SockListen(listener.Handle(), 1), 0);
    TMxIOHandlerSocket handler;
    handler.SetUseNagle(false);
    handler.OpenTransport();
    handler.SetUseNagle(true);
    handler.SetUseNagle(false);
    EXPECT_FALSE(handler.UseNagle());
    handler.ConnectTransport("127.0.0.1", listener.Port, 0, 0, 0, 0, "");
    std::int32_t value = 0;
    int length = sizeof value;
    ASSERT_EQ(S.SockGetOption(handler.SocketBinding()->Handle(), 6, 1, &value, length), 0);
    EXPECT_EQ(value, 1);
}

// A failing readiness check counts as not readable rather than raising.
TEST_F(HandlerReading, FailedReadinessCheckIsNotReadable) {
    TMxSocketHandle handle;
    handle.AllocateHandle(MxSockStream, 0);
    // The descriptor disappears under the handle.
    S.SockClose(handle.Handle());
    EXPECT_FALSE(handle.WaitReadable(10));
}

// Datagrams read with ReceiveFrom name their sender.
TEST_F(HandlerReading, ReceiveFromNamesTheSender) {
    TMxSocketHandle receiver, sender;
    for (TMxSocketHandle* handle : {&receiver, &sender}) {
        handle->AllocateHandle(2 /* datagram */, 0);
        handle->IP = "127.0.0.1";
        handle->BindLocal();
    }
    sender.SetPeer("127.0.0.1", receiver.Port);
    ASSERT_EQ(sender.ConnectPeer(MxAfInet), 0);
    EXPECT_EQ(sender.SendBytes("hey", 3), 3);
    ASSERT_TRUE(receiver.WaitReadable(1000));
    char buffer[8] = {};
    AnsiString ip;
    int port = 0;
    EXPECT_EQ(receiver.ReceiveFrom(buffer, 8, ip, port), 3);
    EXPECT_EQ(std::string(buffer, 3), "hey");
    EXPECT_EQ(ip, "127.0.0.1");
    EXPECT_EQ(port, sender.Port);
}
