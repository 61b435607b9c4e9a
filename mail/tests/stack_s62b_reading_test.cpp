// The socket stack through its own calls: address text, services, error
// texts, the socket list, and sockets talking to each other on loopback.
#include "mail/MxComponent.h"
#include "mail/MxNetExceptions.h"
#include "mail/MxStack.h"
#include "mail/MxIOHandler.h"
#include "mail/MxTCPClient.h"
#include "platform/rtl/StringList.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace mail;

namespace {

// Keeps the process-wide stack alive for a test.
struct StackHold {
    TMxComponent component;
    TMxStack& stack = Stack();
};

} // namespace

TEST(StackReading, AddressTextParsesInEveryForm) {
    struct Case {
        const char* text;
        bool valid;
        TMxAddressBytes bytes;
        int kind;
        int klass;
    };
    const std::vector<Case> cases = {
        {"10.1", true, {10, 0, 0, 1}, 1, 1},
        {"10.1.2", true, {10, 1, 0, 2}, 1, 2},
        {"3232235777", true, {192, 168, 1, 1}, 2, 0},
        {"0", true, {0, 0, 0, 0}, 2, 0},
        {"4294967295", true, {255, 255, 255, 255}, 2, 0},
        {"1.16777215", true, {1, 255, 255, 255}, 1, 1},
        {"1.2.65535", true, {1, 2, 255, 255}, 1, 2},
        {"127.0.0.1", true, {127, 0, 0, 1}, 1, 1},
        {"128.1.2.3", true, {128, 1, 2, 3}, 1, 2},
        {"192.168.0.1", true, {192, 168, 0, 1}, 1, 3},
        {"224.0.0.1", true, {224, 0, 0, 1}, 1, 4},
        {"240.0.0.1", true, {240, 0, 0, 1}, 1, 5},
        {"255.255.255.255", true, {255, 255, 255, 255}, 1, 5},
        {"256.1.1.1", false, {}, 0, 0},
        {"1.2.3.4.5", false, {}, 0, 0},
        {"abc", false, {}, 0, 0},
        {"", false, {}, 0, 0},
        {"4294967296", false, {}, 0, 0},
        {"1.16777216", false, {}, 0, 0},
        {"1.2.65536", false, {}, 0, 0},
        {"256.1", false, {}, 0, 0},
        {"1..2", false, {}, 0, 0},
        {"-1", false, {}, 0, 0},
        {"1.2.3.x", false, {}, 0, 0},
        {"99999999999999999999", false, {}, 0, 0},
        // Decimal throughout: a leading zero is not octal, "0x" is not hex.
        {"010.0.0.1", true, {10, 0, 0, 1}, 1, 1},
        {"0x10.0.0.1", false, {}, 0, 0},
        {"1.2.3.4 ", false, {}, 0, 0},
        {"1.2.3.", false, {}, 0, 0},
    };
    StackHold hold;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const TMxParsedAddress parsed = ParseAddressText(c.text);
        EXPECT_EQ(parsed.Valid, c.valid);
        EXPECT_EQ(parsed.Kind, c.kind);
        EXPECT_EQ(hold.stack.IsAddressText(c.text), c.valid);
        if (c.valid) {
            EXPECT_EQ(parsed.Bytes, c.bytes);
            if (c.kind == 1) {
                EXPECT_EQ(parsed.Class, c.klass);
            }
            EXPECT_EQ(hold.stack.TextToAddressBytes(c.text), c.bytes);
        } else {
            try {
                hold.stack.TextToAddressBytes(c.text);
                ADD_FAILURE() << "no exception";
            } catch (const EMxInvalidIPAddress& e) {
                EXPECT_EQ(std::string(e.what()), std::string(c.text) + " is not a valid IP address.");
            }
        }
    }
    EXPECT_EQ(hold.stack.AddressBytesToText({192, 168, 0, 255}), "192.168.0.255");
    EXPECT_EQ(hold.stack.AddressBytesToText({0, 0, 0, 0}), "0.0.0.0");
}

TEST(StackReading, HostsAndServicesResolve) {
    StackHold hold;
    for (const char* name : {"localhost", "LOCALHOST", "LocalHost"})
        EXPECT_EQ(hold.stack.ResolveHostAddress(name), "127.0.0.1") << name;
    EXPECT_EQ(hold.stack.ResolveHostAddress("10.1.2.3"), "10.1.2.3");
    EXPECT_EQ(hold.stack.ResolveHostAddress("10.1"), "10.1");
    EXPECT_FALSE(hold.stack.SockHostName().empty());
    EXPECT_EQ(hold.stack.GetLocalAddress(), hold.stack.GetLocalAddresses()->Strings(0));
    for (int i = 0; i < hold.stack.GetLocalAddresses()->Count(); ++i)
        EXPECT_TRUE(hold.stack.IsAddressText(hold.stack.GetLocalAddresses()->Strings(i)));
    try {
        hold.stack.ResolveHostAddress("no-such-host.invalid");
        ADD_FAILURE() << "no exception";
    } catch (const EMxSocketError& e) {
        EXPECT_EQ(e.LastError, WSAHOST_NOT_FOUND);
        EXPECT_EQ(std::string(e.what()), "Socket Error # 11001\r\nHost not found.");
        EXPECT_EQ(hold.stack.LastError, WSAHOST_NOT_FOUND);
    }

    struct Service {
        const char* text;
        int port; // -1: refused
    };
    const std::vector<Service> services = {
        {"smtp", 25}, {"25", 25}, {"8025", 8025}, {"no-such-service", -1}, {"", -1}, {"25x", -1},
        {"65535", 65535},
    };
    for (const Service& s : services) {
        SCOPED_TRACE(s.text);
        if (s.port >= 0) {
            EXPECT_EQ(hold.stack.SockServiceByName(s.text), s.port);
        } else {
            try {
                hold.stack.SockServiceByName(s.text);
                ADD_FAILURE() << "no exception";
            } catch (const EMxInvalidServiceName& e) {
                EXPECT_EQ(std::string(e.what()), std::string(s.text) + " is not a valid service.");
            }
        }
    }
    const std::unique_ptr<TStringList> smtp = hold.stack.SockServiceByPort(25);
    ASSERT_NE(smtp, nullptr);
    EXPECT_EQ(smtp->Strings(0), "smtp");
    // The aliases follow the name.
    EXPECT_GE(smtp->IndexOf("mail"), 1);
    EXPECT_EQ(hold.stack.SockHostByAddress("127.0.0.1").rfind("localhost", 0), 0u);
    EXPECT_THROW(hold.stack.SockHostByAddress("not.an.address"), EMxInvalidIPAddress);
    EXPECT_EQ(hold.stack.SockServiceByPort(3), nullptr);
}

TEST(StackReading, ErrorTextsNameTheCodeAndItsMessage) {
    struct Case {
        int code;
        const char* message;
    };
    const std::vector<Case> cases = {
        {10004, "Interrupted system call."},
        {10035, "Operation would block. "},
        {10048, "Address already in use."},
        {10054, "Connection reset by peer."},
        {10061, "Connection refused."},
        {10066, "Directory not empty"},
        {11001, "Host not found."},
        {12345, ""},
    };
    StackHold hold;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(hold.stack.ErrorText(c.code),
                  "Socket Error # " + std::to_string(c.code) + "\r\n" + c.message);
        try {
            hold.stack.RaiseLastSocketError(c.code);
        } catch (const EMxSocketError& e) {
            EXPECT_EQ(e.LastError, c.code);
            EXPECT_EQ(std::string(e.what()), hold.stack.ErrorText(c.code));
        }
    }
}

TEST(StackReading, SocketListHoldsSixtyFourAndFillsGapsFromTheEnd) {
    std::unique_ptr<TMxSocketList> list = CreateSocketList();
    for (int i = 0; i < 64; ++i) list->AddSocket(100 + i);
    EXPECT_EQ(list->SocketCount(), 64);
    try {
        list->AddSocket(999);
        ADD_FAILURE() << "no exception";
    } catch (const EMxStackSetSizeExceeded& e) {
        EXPECT_STREQ(e.what(), "Set Size Exceeded.");
    }
    list->RemoveSocket(101);
    EXPECT_EQ(list->SocketCount(), 63);
    EXPECT_EQ(list->SocketAt(1), 163);
    EXPECT_EQ(list->SocketAt(62), 162);
    list->RemoveSocket(12345); // not in the list: nothing changes
    EXPECT_EQ(list->SocketCount(), 63);
    for (int index : {-1, 63, 64}) EXPECT_THROW(list->SocketAt(index), EMxStackSetSizeExceeded);
    list->ClearSockets();
    EXPECT_EQ(list->SocketCount(), 0);
    EXPECT_THROW(list->SocketAt(0), EMxStackSetSizeExceeded);
}

TEST(StackReading, SocketsConnectSelectAndTalkOnLoopback) {
    StackHold hold;
    TMxStack& s = hold.stack;
    const TMxSocket listener = s.AllocateSocket(MxSockStream, MxIpProtoTcp);
    ASSERT_NE(listener, MxInvalidSocket);
    EXPECT_FALSE(s.CheckSocketResult(s.SockBind(listener, MxAfInet, "127.0.0.1", 0)));
    EXPECT_FALSE(s.CheckSocketResult(s.SockListen(listener, 1)));
    int family = 0;
    AnsiString ip;
    int port = 0;
    s.SockLocalName(listener, family, ip, port);
    EXPECT_EQ(family, MxAfInet);
    EXPECT_EQ(ip, "127.0.0.1");
    ASSERT_GT(port, 0);

    const TMxSocket client = s.AllocateSocket(MxSockStream, MxIpProtoTcp);
    // Unconnected: asking for the peer raises with the system's code.
    EXPECT_THROW(s.SockPeerName(client, family, ip, port), EMxSocketError);
    // Names are not looked up here: the connect takes address text only.
    EXPECT_THROW(s.SockConnect(client, MxAfInet, "localhost", port), EMxInvalidIPAddress);
    EXPECT_FALSE(s.CheckSocketResult(s.SockConnect(client, MxAfInet, "127.0.0.1", port)));

    std::unique_ptr<TMxSocketList> readable = CreateSocketList();
    readable->AddSocket(listener);
    EXPECT_EQ(s.SockSelect(readable.get(), nullptr, nullptr, 2000), 1);
    EXPECT_EQ(readable->SocketCount(), 1);
    AnsiString peerIp;
    int peerPort = 0;
    const TMxSocket accepted = s.SockAccept(listener, peerIp, peerPort);
    ASSERT_NE(accepted, MxInvalidSocket);
    EXPECT_EQ(peerIp, "127.0.0.1");
    s.SockLocalName(client, family, ip, port);
    EXPECT_EQ(peerPort, port);

    // Nothing to read yet: a short wait ends empty and empties the list.
    readable->ClearSockets();
    readable->AddSocket(accepted);
    readable->AddSocket(client);
    EXPECT_EQ(s.SockSelect(readable.get(), nullptr, nullptr, 50), 0);
    EXPECT_EQ(readable->SocketCount(), 0);

    EXPECT_EQ(s.SockSend(client, "ping", 4, 0), 4);
    readable->AddSocket(client);
    readable->AddSocket(accepted);
    EXPECT_EQ(s.SockSelect(readable.get(), nullptr, nullptr, MxTimeoutInfinite), 1);
    ASSERT_EQ(readable->SocketCount(), 1);
    EXPECT_EQ(readable->SocketAt(0), accepted);
    char buffer[8] = {};
    EXPECT_EQ(s.SockRecv(accepted, buffer, sizeof buffer, 0), 4);
    EXPECT_STREQ(buffer, "ping");

    EXPECT_FALSE(s.CheckSocketResult(s.SockShutdown(client, MxShutdownSend)));
    EXPECT_EQ(s.SockRecv(accepted, buffer, sizeof buffer, 0), 0);
    s.SockClose(client);
    s.SockClose(accepted);
    s.SockClose(listener);
    // A closed socket: the failure carries its code, unless the caller
    // said to ignore that code.
    EXPECT_THROW(s.CheckSocketResult(s.SockSend(client, "x", 1, 0)), EMxSocketError);
    EXPECT_TRUE(s.CheckSocketResult(s.SockSend(client, "x", 1, 0), {WSAENOTSOCK, WSAEBADF}));
    EXPECT_TRUE(s.LastError == WSAENOTSOCK || s.LastError == WSAEBADF) << s.LastError;
}

TEST(StackReading, DatagramsCarryTheirSender) {
    StackHold hold;
    TMxStack& s = hold.stack;
    constexpr int dgram = 2;
    const TMxSocket receiver = s.AllocateSocket(dgram, 0);
    const TMxSocket sender = s.AllocateSocket(dgram, 0);
    s.CheckSocketResult(s.SockBind(receiver, MxAfInet, "127.0.0.1", 0));
    s.CheckSocketResult(s.SockBind(sender, MxAfInet, "", 0));
    int family = 0;
    AnsiString ip;
    int port = 0;
    s.SockLocalName(receiver, family, ip, port);
    EXPECT_EQ(s.SockSendTo(sender, "dgram", 5, 0, "127.0.0.1", port), 5);
    char buffer[16] = {};
    AnsiString fromIp;
    int fromPort = 0;
    EXPECT_EQ(s.SockRecvFrom(receiver, buffer, sizeof buffer, 0, fromIp, fromPort), 5);
    EXPECT_STREQ(buffer, "dgram");
    EXPECT_EQ(fromIp, "127.0.0.1");
    AnsiString senderIp;
    int senderPort = 0;
    s.SockLocalName(sender, family, senderIp, senderPort);
    EXPECT_EQ(fromPort, senderPort);
    s.SockClose(sender);
    s.SockClose(receiver);
    EXPECT_EQ(s.SockHostToNetShort(0x1234), s.SockNetToHostShort(0x1234));
    EXPECT_EQ(s.SockNetToHostShort(s.SockHostToNetShort(0x1234)), 0x1234);
    EXPECT_EQ(s.SockNetToHostLong(s.SockHostToNetLong(0x12345678u)), 0x12345678u);
}

TEST(StackReading, PortsOutsideTheirRangeAreRefusedRatherThanWrapped) {
    StackHold hold;
    TMxStack& s = hold.stack;
    const TMxSocket listener = s.AllocateSocket(MxSockStream, MxIpProtoTcp);
    s.CheckSocketResult(s.SockBind(listener, MxAfInet, "127.0.0.1", 0));
    s.CheckSocketResult(s.SockListen(listener, 4));
    int family = 0;
    AnsiString ip;
    int port = 0;
    s.SockLocalName(listener, family, ip, port);

    // A port past 65535 must not reach the listener by wrapping round.
    struct Case {
        const char* name;
        int port;
        int boundPort;
    };
    const std::vector<Case> cases = {
        {"connect past the top", port + 65536, 0},
        {"connect below zero", port - 65536, 0},
        {"bind past the top", port, 65536 + 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMxTCPClient client;
        client.SetHost("127.0.0.1");
        client.SetPort(c.port);
        client.BoundPort = c.boundPort;
        try {
            client.Connect(2000);
            ADD_FAILURE() << "no exception";
        } catch (const EMxException& e) {
            const int shown = c.boundPort ? c.boundPort : c.port;
            EXPECT_NE(std::string(e.what()).find(std::to_string(shown)), std::string::npos)
                << e.what();
        }
        EXPECT_FALSE(client.IOHandler() && client.IOHandler()->IsConnected());
    }
    std::unique_ptr<TMxSocketList> readable = CreateSocketList();
    readable->AddSocket(listener);
    EXPECT_EQ(s.SockSelect(readable.get(), nullptr, nullptr, 100), 0);
    s.SockClose(listener);

    const TMxSocket datagram = s.AllocateSocket(2, 0);
    EXPECT_THROW(s.SockSendTo(datagram, "x", 1, 0, "127.0.0.1", 70000), EMxSocketError);
    s.SockClose(datagram);

    for (const char* text : {"65536", "-1", "99999"}) {
        try {
            s.SockServiceByName(text);
            ADD_FAILURE() << "no exception for " << text;
        } catch (const EMxInvalidServiceName& e) {
            EXPECT_EQ(std::string(e.what()), std::string(text) + " is not a valid service.");
        }
    }
}
