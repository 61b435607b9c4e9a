#include "mail/MxAntiFreeze.h"
#include "mail/MxExceptions.h"
#include "mail/MxIOHandler.h"
#include "mail/MxNetExceptions.h"
#include "mail/MxSocketHandle.h"
#include "mail/MxSocks.h"

#include <gtest/gtest.h>

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
