#include "mail/MxComponent.h"
#include "mail/MxNetExceptions.h"
#include "mail/MxStackPosix.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <netdb.h>

using namespace mail;

namespace {

// Keeps the process-wide stack alive for a test.
struct StackTest : ::testing::Test {
    TMxComponent Keeper;
    TMxStack& S = Stack();
};

} // namespace

TEST(MxStackAddress, ParsesTheAddressForms) {
    struct Case {
        const char* Text;
        TMxAddressBytes Bytes;
        int Kind;
        int Class;
    };
    const Case cases[] = {
        {"10.1", {10, 0, 0, 1}, 1, 1},
        {"10.1.2", {10, 1, 0, 2}, 1, 2},
        {"3232235777", {192, 168, 1, 1}, 2, 0},
        {"0", {0, 0, 0, 0}, 2, 0},
        {"4294967295", {255, 255, 255, 255}, 2, 0},
        {"1.16777215", {1, 255, 255, 255}, 1, 1},
        {"1.2.65535", {1, 2, 255, 255}, 1, 2},
        {"127.0.0.1", {127, 0, 0, 1}, 1, 1},
        {"128.0.0.1", {128, 0, 0, 1}, 1, 2},
        {"192.168.1.1", {192, 168, 1, 1}, 1, 3},
        {"224.0.0.1", {224, 0, 0, 1}, 1, 4},
        {"240.1.2.3", {240, 1, 2, 3}, 1, 5},
    };
    for (const Case& c : cases) {
        const TMxParsedAddress parsed = ParseAddressText(c.Text);
        EXPECT_TRUE(parsed.Valid) << c.Text;
        EXPECT_EQ(parsed.Bytes, c.Bytes) << c.Text;
        EXPECT_EQ(parsed.Kind, c.Kind) << c.Text;
        EXPECT_EQ(parsed.Class, c.Class) << c.Text;
    }
}

TEST(MxStackAddress, RefusesTextThatIsNoAddress) {
    for (const char* text :
         {"256.1.1.1", "1.2.3.4.5", "abc", "", "1..2", "4294967296", "1.16777216", "1.2.65536",
          "1.2.3.-4", " 1.2.3.4", "1.2.3.4 ", "0x7f.1", "1.2.3."}) {
        EXPECT_FALSE(ParseAddressText(text).Valid) << text;
        EXPECT_EQ(ParseAddressText(text).Kind, 0) << text;
    }
}

TEST_F(StackTest, AddressTextConversions) {
    EXPECT_EQ(S.AddressTextToNumber("10.1"), 0x0A000001u);
    EXPECT_EQ(S.AddressBytesToText({192, 168, 0, 255}), "192.168.0.255");
    try {
        S.TextToAddressBytes("1.2.3.4.5");
        ADD_FAILURE() << "no error";
    } catch (const EMxInvalidIPAddress& e) {
        EXPECT_STREQ(e.what(), "1.2.3.4.5 is not a valid IP address.");
    }
    // localhost needs no look-up; address text is kept as written.
    EXPECT_EQ(S.ResolveHostAddress("LocalHost"), "127.0.0.1");
    EXPECT_EQ(S.ResolveHostAddress("10.1"), "10.1");
}

TEST_F(StackTest, ErrorTexts) {
    const std::pair<int, const char*> cases[] = {
        {10061, "Socket Error # 10061\r\nConnection refused."},
        {10060, "Socket Error # 10060\r\nConnection timed out."},
        {10035, "Socket Error # 10035\r\nOperation would block. "},
        {10066, "Socket Error # 10066\r\nDirectory not empty"},
        {11001, "Socket Error # 11001\r\nHost not found."},
        {12345, "Socket Error # 12345\r\n"},
    };
    for (const auto& [code, text] : cases)
        EXPECT_EQ(S.ErrorText(code), text) << code;
}

TEST(MxStackPosixErrors, SystemErrorsBecomeWinsockCodes) {
    const std::pair<int, int> cases[] = {
        {ECONNREFUSED, 10061}, {ETIMEDOUT, 10060},  {ECONNRESET, 10054},   {EPIPE, 10058},
        {ECONNABORTED, 10053}, {EADDRINUSE, 10048}, {EINPROGRESS, 10036},  {EAGAIN, 10035},
        {EBADF, 10009},        {ENOTSOCK, 10038},   {EHOSTUNREACH, 10065},
    };
    for (const auto& [error, code] : cases)
        EXPECT_EQ(WinsockCodeOfErrno(error), code) << error;
    EXPECT_EQ(WinsockCodeOfResolverError(EAI_NONAME, 0), 11001);
    EXPECT_EQ(WinsockCodeOfResolverError(EAI_SYSTEM, ECONNREFUSED), 10061);
}

TEST_F(StackTest, CheckSocketResultRaisesUnlessTheCodeIsIgnored) {
    EXPECT_FALSE(S.CheckSocketResult(0));
    EXPECT_TRUE(S.CheckSocketResult(S.SockClose(-1), {WSAEBADF}));
    EXPECT_EQ(S.LastError, WSAEBADF);
    try {
        S.CheckSocketResult(S.SockClose(-1), {WSAECONNRESET});
        ADD_FAILURE() << "no error";
    } catch (const EMxSocketError& e) {
        EXPECT_EQ(e.LastError, 10009);
        EXPECT_STREQ(e.what(), "Socket Error # 10009\r\nBad file number.");
    }
}

TEST_F(StackTest, ServiceLookUp) {
    EXPECT_EQ(S.SockServiceByName("25"), 25);
    try {
        S.SockServiceByName("no-such-service");
        ADD_FAILURE() << "no error";
    } catch (const EMxInvalidServiceName& e) {
        EXPECT_STREQ(e.what(), "no-such-service is not a valid service.");
    }
}

TEST(MxSocketList, HoldsAtMost64SocketsAndFillsGaps) {
    TMxSocketListPosix list;
    for (int i = 0; i < 64; ++i)
        list.AddSocket(100 + i);
    EXPECT_THROW(list.AddSocket(7), EMxStackSetSizeExceeded);
    EXPECT_THROW(list.SocketAt(64), EMxStackSetSizeExceeded);
    EXPECT_THROW(list.SocketAt(-1), EMxStackSetSizeExceeded);
    list.RemoveSocket(101);
    EXPECT_EQ(list.SocketCount(), 63);
    EXPECT_EQ(list.SocketAt(1), 163); // the last entry took its place
    try {
        list.SocketAt(63);
        ADD_FAILURE() << "no error";
    } catch (const EMxStackSetSizeExceeded& e) {
        EXPECT_STREQ(e.what(), "Set Size Exceeded.");
    }
}

TEST_F(StackTest, SelectLeavesOnlyTheReadySockets) {
    // A loopback pair made through the stack itself.
    const TMxSocket listener = S.AllocateSocket(MxSockStream, 0);
    ASSERT_EQ(S.SockBind(listener, MxAfInet, "127.0.0.1", 0), 0);
    ASSERT_EQ(S.SockListen(listener, 1), 0);
    int family = 0, port = 0;
    AnsiString ip;
    S.SockLocalName(listener, family, ip, port);
    EXPECT_EQ(ip, "127.0.0.1");
    const TMxSocket client = S.AllocateSocket(MxSockStream, 0);
    ASSERT_EQ(S.SockConnect(client, MxAfInet, "127.0.0.1", port), 0);
    AnsiString peerIP;
    int peerPort = 0;
    const TMxSocket server = S.SockAccept(listener, peerIP, peerPort);
    ASSERT_NE(server, MxInvalidSocket);
    EXPECT_EQ(peerIP, "127.0.0.1");

    TMxSocketListPosix read;
    read.AddSocket(client);
    read.AddSocket(server);
    EXPECT_EQ(S.SockSelect(&read, nullptr, nullptr, 0), 0);
    EXPECT_EQ(read.SocketCount(), 0);

    ASSERT_EQ(S.SockSend(server, "x", 1, 0), 1);
    read.AddSocket(server);
    read.AddSocket(client);
    EXPECT_EQ(S.SockSelect(&read, nullptr, nullptr, 5000), 1);
    ASSERT_EQ(read.SocketCount(), 1);
    EXPECT_EQ(read.SocketAt(0), client);

    for (TMxSocket socket : {client, server, listener})
        S.SockClose(socket);
}
