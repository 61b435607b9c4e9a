// The socket stack through its public calls: address text, host and
// service look-up, error texts and the result check, socket lists and
// select.
#include "mail/MxExceptions.h"
#include "mail/MxIOHandler.h"
#include "mail/MxNetExceptions.h"
#include "mail/MxStack.h"
#include "platform/rtl/StringList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace mail;

namespace {

// Any mail component keeps the process-wide stack alive.
class StackFreshReading : public ::testing::Test {
protected:
    TMxIOHandlerSocket FKeeper;
};

std::string Dotted(const TMxAddressBytes& ABytes) {
    return std::to_string(ABytes[0]) + "." + std::to_string(ABytes[1]) + "." +
           std::to_string(ABytes[2]) + "." + std::to_string(ABytes[3]);
}

} // namespace

TEST_F(StackFreshReading, AddressTextParses) {
    struct Case {
        std::string Text;
        bool Valid;
        std::string Address;
        int Kind;
        int Class;
    };
    const std::vector<Case> cases = {
        {"10.1", true, "10.0.0.1", 1, 1},
        {"10.16777215", true, "10.255.255.255", 1, 1},
        {"10.16777216", false, "", 0, 0},
        {"10.1.2", true, "10.1.0.2", 1, 2},
        {"1.2.65535", true, "1.2.255.255", 1, 2},
        {"1.2.65536", false, "", 0, 0},
        {"3232235777", true, "192.168.1.1", 2, 0},
        {"4294967295", true, "255.255.255.255", 2, 0},
        {"4294967296", false, "", 0, 0},
        {"127.0.0.1", true, "127.0.0.1", 1, 1},
        {"128.0.0.1", true, "128.0.0.1", 1, 2},
        {"191.255.0.1", true, "191.255.0.1", 1, 2},
        {"192.0.0.1", true, "192.0.0.1", 1, 3},
        {"223.0.0.1", true, "223.0.0.1", 1, 3},
        {"224.0.0.1", true, "224.0.0.1", 1, 4},
        {"239.0.0.1", true, "239.0.0.1", 1, 4},
        {"240.0.0.1", true, "240.0.0.1", 1, 5},
        {"256.1.1.1", false, "", 0, 0},
        {"1.2.3.4.5", false, "", 0, 0},
        {"abc", false, "", 0, 0},
        {"", false, "", 0, 0},
        {"1..2", false, "", 0, 0},
        {"1.2.3.", false, "", 0, 0},
        {"-1", false, "", 0, 0},
        {"0x10.1.1.1", false, "", 0, 0},
        {"1.2.3.4 ", false, "", 0, 0},
        {"1.2.3.4\r\n", false, "", 0, 0},
        {"1.2.3.4x", false, "", 0, 0},
        {"$10.1.1.1", false, "", 0, 0},
        {"01.02.03.010", true, "1.2.3.10", 1, 1},
    };
    for (const Case& c : cases) {
        const TMxParsedAddress parsed = ParseAddressText(c.Text);
        EXPECT_EQ(parsed.Valid, c.Valid) << c.Text;
        EXPECT_EQ(parsed.Kind, c.Kind) << c.Text;
        EXPECT_EQ(Stack().IsAddressText(c.Text), c.Valid) << c.Text;
        if (!c.Valid) {
            try {
                Stack().TextToAddressBytes(c.Text);
                ADD_FAILURE() << "no exception for " << c.Text;
            } catch (const EMxInvalidIPAddress& e) {
                EXPECT_EQ(std::string(e.what()), c.Text + " is not a valid IP address.");
            }
            continue;
        }
        if (c.Kind == 1) {
            EXPECT_EQ(parsed.Class, c.Class) << c.Text;
        }
        EXPECT_EQ(Dotted(parsed.Bytes), c.Address) << c.Text;
        EXPECT_EQ(Stack().AddressBytesToText(Stack().TextToAddressBytes(c.Text)), c.Address);
    }
}

TEST_F(StackFreshReading, HostResolution) {
    for (const char* host : {"localhost", "LOCALHOST", "LocalHost"})
        EXPECT_EQ(Stack().ResolveHostAddress(host), "127.0.0.1") << host;
    EXPECT_EQ(Stack().ResolveHostAddress("10.1"), "10.1");
    EXPECT_EQ(Stack().SockHostByName("127.0.0.1"), "127.0.0.1");
    try {
        Stack().ResolveHostAddress("no-such-host.invalid");
        FAIL() << "no exception";
    } catch (const EMxSocketError& e) {
        EXPECT_EQ(e.LastError, 11001);
        EXPECT_EQ(std::string(e.what()), "Socket Error # 11001\r\nHost not found.");
    }
    EXPECT_THROW(Stack().ResolveHostAddress(""), EMxException);
    EXPECT_FALSE(Stack().SockHostName().empty());
    TStrings* locals = Stack().GetLocalAddresses();
    ASSERT_NE(locals, nullptr);
    if (locals->Count() > 0) {
        EXPECT_EQ(Stack().GetLocalAddress(), locals->Strings(0));
        EXPECT_TRUE(Stack().IsAddressText(locals->Strings(0)));
    }
}

TEST_F(StackFreshReading, ServiceLookUp) {
    EXPECT_EQ(Stack().SockServiceByName("smtp"), 25);
    EXPECT_EQ(Stack().SockServiceByName("25"), 25);
    EXPECT_EQ(Stack().SockServiceByName("2525"), 2525);
    for (const std::string bad : {"nosuchservice", "25x", "", "70000"}) {
        try {
            Stack().SockServiceByName(bad);
            ADD_FAILURE() << "no exception for " << bad;
        } catch (const EMxInvalidServiceName& e) {
            EXPECT_EQ(std::string(e.what()), bad + " is not a valid service.");
        }
    }
    auto names = Stack().SockServiceByPort(25);
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(names->Strings(0), "smtp");
    // 65561 would wrap round to 25.
    EXPECT_EQ(Stack().SockServiceByPort(65536 + 25), nullptr);
}

TEST_F(StackFreshReading, ErrorTexts) {
    const std::vector<std::pair<int, std::string>> table = {
        {10004, "Interrupted system call."},
        {10009, "Bad file number."},
        {10013, "Access denied."},
        {10014, "Bad address."},
        {10022, "Invalid argument."},
        {10024, "Too many open files."},
        {10035, "Operation would block. "},
        {10036, "Operation now in progress."},
        {10037, "Operation already in progress."},
        {10038, "Socket operation on non-socket."},
        {10039, "Destination address required."},
        {10040, "Message too long."},
        {10041, "Protocol wrong type for socket."},
        {10042, "Bad protocol option."},
        {10043, "Protocol not supported."},
        {10044, "Socket type not supported."},
        {10045, "Operation not supported on socket."},
        {10046, "Protocol family not supported."},
        {10047, "Address family not supported by protocol family."},
        {10048, "Address already in use."},
        {10049, "Cannot assign requested address."},
        {10050, "Network is down."},
        {10051, "Network is unreachable."},
        {10052, "Net dropped connection or reset."},
        {10053, "Software caused connection abort."},
        {10054, "Connection reset by peer."},
        {10055, "No buffer space available."},
        {10056, "Socket is already connected."},
        {10057, "Socket is not connected."},
        {10058, "Cannot send or receive after socket is closed."},
        {10059, "Too many references, cannot splice."},
        {10060, "Connection timed out."},
        {10061, "Connection refused."},
        {10062, "Too many levels of symbolic links."},
        {10063, "File name too long."},
        {10064, "Host is down."},
        {10065, "No route to host."},
        {10066, "Directory not empty"},
        {11001, "Host not found."},
        {12345, ""},
    };
    for (const auto& [code, text] : table)
        EXPECT_EQ(Stack().ErrorText(code), "Socket Error # " + std::to_string(code) + "\r\n" + text);
}

TEST_F(StackFreshReading, ResultCheck) {
    EXPECT_FALSE(Stack().CheckSocketResult(0));
    EXPECT_FALSE(Stack().CheckSocketResult(5));
    // Closing no socket fails with "bad file number".
    EXPECT_TRUE(Stack().CheckSocketResult(Stack().SockClose(-1), {10038, 10009}));
    EXPECT_EQ(Stack().LastError, 10009);
    try {
        Stack().CheckSocketResult(Stack().SockClose(-1));
        FAIL() << "no exception";
    } catch (const EMxSocketError& e) {
        EXPECT_EQ(e.LastError, 10009);
        EXPECT_EQ(std::string(e.what()), "Socket Error # 10009\r\nBad file number.");
    }
    const TMxSocket s = Stack().AllocateSocket(MxSockStream, 0);
    int family = 0, port = 0;
    AnsiString ip;
    EXPECT_THROW(Stack().SockPeerName(s, family, ip, port), EMxSocketError);
    Stack().SockLocalName(s, family, ip, port);
    EXPECT_EQ(family, MxAfInet);
    // Ports that would wrap to another port are refused.
    for (const int bad : {-1, 65536, 70000}) {
        EXPECT_ANY_THROW(Stack().CheckSocketResult(Stack().SockBind(s, MxAfInet, "", bad))) << bad;
    }
    EXPECT_EQ(Stack().SockBind(s, MxAfInet, "", 0), 0);
    Stack().SockLocalName(s, family, ip, port);
    EXPECT_EQ(ip, "0.0.0.0");
    EXPECT_GT(port, 0);
    Stack().SockClose(s);
}

TEST_F(StackFreshReading, SocketListBounds) {
    TMxSocketListPosix list;
    for (int i = 0; i < 64; ++i) list.AddSocket(100 + i);
    try {
        list.AddSocket(999);
        FAIL() << "no exception";
    } catch (const EMxStackSetSizeExceeded& e) {
        EXPECT_STREQ(e.what(), "Set Size Exceeded.");
    }
    EXPECT_EQ(list.SocketCount(), 64);
    for (const int index : {-1, 64}) EXPECT_THROW(list.SocketAt(index), EMxStackSetSizeExceeded);
    list.RemoveSocket(5000); // not in the list
    EXPECT_EQ(list.SocketCount(), 64);
    list.RemoveSocket(101);
    EXPECT_EQ(list.SocketCount(), 63);
    EXPECT_EQ(list.SocketAt(1), 163);
    EXPECT_THROW(list.SocketAt(63), EMxStackSetSizeExceeded);
}

TEST_F(StackFreshReading, SelectKeepsOnlyReadySockets) {
    const TMxSocket listener = Stack().AllocateSocket(MxSockStream, 0);
    ASSERT_EQ(Stack().SockBind(listener, MxAfInet, "127.0.0.1", 0), 0);
    ASSERT_EQ(Stack().SockListen(listener, 1), 0);
    int family = 0, port = 0;
    AnsiString ip;
    Stack().SockLocalName(listener, family, ip, port);
    const TMxSocket client = Stack().AllocateSocket(MxSockStream, 0);
    ASSERT_EQ(Stack().SockConnect(client, MxAfInet, "127.0.0.1", port), 0);

    // Nothing to read on the client yet; the listener has a connection.
    auto read = CreateSocketList();
    read->AddSocket(client);
    read->AddSocket(listener);
    EXPECT_EQ(Stack().SockSelect(read.get(), nullptr, nullptr, 1500), 1);
    ASSERT_EQ(read->SocketCount(), 1);
    EXPECT_EQ(read->SocketAt(0), listener);

    AnsiString peerIp;
    int peerPort = 0;
    const TMxSocket served = Stack().SockAccept(listener, peerIp, peerPort);
    EXPECT_EQ(peerIp, "127.0.0.1");
    read->ClearSockets();
    read->AddSocket(client);
    EXPECT_EQ(Stack().SockSelect(read.get(), nullptr, nullptr, 20), 0);
    EXPECT_EQ(read->SocketCount(), 0);
    ASSERT_EQ(Stack().SockSend(served, "x", 1, 0), 1);
    read->AddSocket(client);
    EXPECT_EQ(Stack().SockSelect(read.get(), nullptr, nullptr, MxTimeoutInfinite), 1);
    char byte = 0;
    EXPECT_EQ(Stack().SockRecv(client, &byte, 1, 0), 1);
    EXPECT_EQ(byte, 'x');
    for (const TMxSocket s : {served, client, listener}) Stack().SockClose(s);
}

TEST_F(StackFreshReading, DatagramsAndNameLookUps) {
    const TMxSocket receiver = Stack().SockCreate(MxAfInet, 2, 0);
    const TMxSocket sender = Stack().SockCreate(MxAfInet, 2, 0);
    ASSERT_NE(receiver, MxInvalidSocket);
    ASSERT_EQ(Stack().SockBind(receiver, MxAfInet, "127.0.0.1", 0), 0);
    ASSERT_EQ(Stack().SockBind(sender, MxAfInet, "127.0.0.1", 0), 0);
    int family = 0, port = 0, senderPort = 0;
    AnsiString ip;
    Stack().SockLocalName(receiver, family, ip, port);
    Stack().SockLocalName(sender, family, ip, senderPort);
    EXPECT_EQ(Stack().SockSendTo(sender, "abc", 3, 0, "127.0.0.1", port), 3);
    // A port that would wrap round to this one is refused, naming it.
    try {
        Stack().SockSendTo(sender, "abc", 3, 0, "127.0.0.1", port + 65536);
        ADD_FAILURE() << "no exception";
    } catch (const EMxSocketError& e) {
        EXPECT_NE(std::string(e.what()).find(std::to_string(port + 65536)), std::string::npos);
    }
    char buffer[8] = {};
    AnsiString from;
    int fromPort = 0;
    EXPECT_EQ(Stack().SockRecvFrom(receiver, buffer, sizeof buffer, 0, from, fromPort), 3);
    EXPECT_EQ(std::string(buffer, 3), "abc");
    EXPECT_EQ(from, "127.0.0.1");
    EXPECT_EQ(fromPort, senderPort);
    Stack().SockClose(receiver);
    Stack().SockClose(sender);

    // The connect takes address text only; a name is not looked up.
    const TMxSocket s = Stack().AllocateSocket(MxSockStream, 0);
    EXPECT_THROW(Stack().SockConnect(s, MxAfInet, "localhost", port), EMxInvalidIPAddress);
    Stack().SockClose(s);

    EXPECT_FALSE(Stack().SockHostByAddress("127.0.0.1").empty());
    EXPECT_THROW(Stack().SockHostByAddress("abc"), EMxException);
    EXPECT_EQ(Stack().SockNetToHostShort(Stack().SockHostToNetShort(0x1234)), 0x1234);
    // The number is the one-number form of the same address.
    EXPECT_EQ(Stack().AddressTextToNumber("192.168.1.1"), 3232235777u);
}

TEST(StackFreshLifetime, StackLivesWithTheMailComponents) {
    if (MxComponentCount() != 0) GTEST_SKIP() << "another test keeps a mail component";
    EXPECT_EQ(GStack(), nullptr);
    EXPECT_THROW(Stack(), EMxException);
    {
        TMxIOHandlerSocket first;
        TMxStack* stack = GStack();
        ASSERT_NE(stack, nullptr);
        {
            TMxIOHandlerSocket second;
            EXPECT_EQ(GStack(), stack);
        }
        EXPECT_EQ(GStack(), stack);
    }
    EXPECT_EQ(GStack(), nullptr);
    TMxIOHandlerSocket again;
    EXPECT_NE(GStack(), nullptr);
    EXPECT_EQ(Stack().ResolveHostAddress("localhost"), "127.0.0.1");
}

TEST_F(StackFreshReading, NegativeLengthsAreRefusedWithoutTouchingTheBuffer) {
    const TMxSocket listener = Stack().AllocateSocket(MxSockStream, 0);
    ASSERT_EQ(Stack().SockBind(listener, MxAfInet, "127.0.0.1", 0), 0);
    ASSERT_EQ(Stack().SockListen(listener, 1), 0);
    int family = 0, port = 0;
    AnsiString ip;
    Stack().SockLocalName(listener, family, ip, port);
    const TMxSocket client = Stack().AllocateSocket(MxSockStream, 0);
    ASSERT_EQ(Stack().SockConnect(client, MxAfInet, "127.0.0.1", port), 0);
    const TMxSocket served = Stack().SockAccept(listener, ip, port);
    ASSERT_EQ(Stack().SockSend(served, "12345678", 8, 0), 8);

    char small[4] = {'a', 'b', 'c', 'd'};
    for (const int length : {-1, -100}) {
        EXPECT_EQ(Stack().SockRecv(client, small, length, 0), -1) << length;
        EXPECT_EQ(Stack().SockLastError(), 10022);
        EXPECT_EQ(Stack().SockRecvFrom(client, small, length, 0, ip, port), -1) << length;
        EXPECT_EQ(Stack().SockSend(client, small, length, 0), -1) << length;
        EXPECT_EQ(Stack().SockSendTo(client, small, length, 0, "127.0.0.1", port), -1) << length;
        EXPECT_EQ(Stack().SockLastError(), 10022);
    }
    EXPECT_EQ(std::string(small, 4), "abcd");
    EXPECT_EQ(Stack().SockRecv(client, small, 4, 0), 4);
    EXPECT_EQ(std::string(small, 4), "1234");
    for (const TMxSocket s : {served, client, listener}) Stack().SockClose(s);
}

TEST_F(StackFreshReading, SelectOnAClosedOrNoSocketFails) {
    const TMxSocket s = Stack().AllocateSocket(MxSockStream, 0);
    Stack().SockClose(s);
    for (const TMxSocket bad : {s, MxInvalidSocket}) {
        auto read = CreateSocketList();
        read->AddSocket(bad);
        EXPECT_EQ(Stack().SockSelect(read.get(), nullptr, nullptr, 10), -1) << bad;
        EXPECT_EQ(Stack().SockLastError(), 10038);
        EXPECT_EQ(read->SocketCount(), 1);
    }
}
