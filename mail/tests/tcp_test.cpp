#include "Peer.h"
#include "mail/MxIntercept.h"
#include "mail/MxNetExceptions.h"
#include "mail/MxStreamLines.h"
#include "mail/MxTCPClient.h"
#include "mail/MxTCPStream.h"
#include "mail/MxTempFiles.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/testing/StringsLines.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>

using namespace mail;
using mailtest::Expect;
using mailtest::ScriptedPeer;
using mailtest::Send;

namespace {

// A client connected to a scripted peer.
struct Session {
    explicit Session(const std::vector<std::string>& ASteps) : Peer(ASteps) {
        Client.SetHost("127.0.0.1");
        Client.SetPort(Peer.Port());
        Client.Connect(5000);
    }
    ScriptedPeer Peer;
    TMxTCPClient Client;
};

} // namespace

TEST(MxTCPConnection, ReadsMultiLineReplies) {
    struct Case {
        std::string Sent;
        int Code;
        std::vector<AnsiString> Text;
    };
    const std::vector<Case> cases = {
        {"250-first\r\n\r\n250 last\r\n", 250, {"first", "last"}},
        {"250-first\r\n250-AUTH LOGIN\r\n250 SIZE\r\n", 250, {"first", "AUTH LOGIN", "SIZE"}},
        {"220-a\r\n220\r\n", 220, {"a", ""}},
        {"  \r\n\r\n421 bye\r\n", 421, {"bye"}},
        {"250-x\r\n  indented\r\n250 y\n", 250, {"x", "indented", "y"}},
    };
    std::string all;
    for (const Case& c : cases)
        all += c.Sent;
    Session session({Send(all)});
    for (const Case& c : cases) {
        EXPECT_EQ(session.Client.ReadReply({}), c.Code) << c.Sent;
        EXPECT_EQ(session.Client.LastCmdResult().NumericCode(), c.Code) << c.Sent;
        EXPECT_EQ(Lines(session.Client.LastCmdResult().Text()), c.Text) << c.Sent;
    }
}

TEST(MxTCPConnection, APeerSendingOnlyBlankLinesIsGivenUp) {
    // More blank lines than a reply may have, all at once.
    {
        std::string blanks;
        for (int i = 0; i < MxMaxReplyLines + 1; ++i)
            blanks += "\r\n";
        Session session({Send(blanks + "250 late\r\n")});
        session.Client.ReadTimeout = 5000;
        EXPECT_THROW(session.Client.ReadReply({}), EMxTCPConnectionError);
    }
    // A blank line every 100 ms: each arrives well within the read time-out,
    // the reply as a whole does not.
    std::vector<std::string> trickle;
    for (int i = 0; i < 20; ++i) {
        trickle.push_back(Send("\r\n"));
        trickle.push_back("pause:100");
    }
    trickle.push_back(Send("250-late\r\n250 reply\r\n"));
    Session session(trickle);
    session.Client.ReadTimeout = 500;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(session.Client.ReadReply({}), EMxReadTimeout);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
}

TEST(MxTCPConnection, SendCommandChecksTheReplyCode) {
    Session session({Expect("MAIL FROM:<a@b>\r\n"), Send("550 mailbox unavailable\r\n"),
                     Expect("QUIT\r\n"), Send("421 closing\r\n")});
    try {
        session.Client.SendCommand("MAIL FROM:<a@b>", 250);
        ADD_FAILURE() << "accepted 550";
    } catch (const EMxProtocolReplyError& e) {
        EXPECT_EQ(e.ReplyErrorCode, 550);
        EXPECT_STREQ(e.what(), "mailbox unavailable\r\n");
    }
    EXPECT_EQ(session.Client.SendCommand("QUIT", -1), 421);
    const auto report = session.Peer.Finish();
    EXPECT_EQ(report, std::vector<std::string>{"DONE"});
}

TEST(MxTCPConnection, LineEndings) {
    Session session({Send("one\r\ntwo\nab\rcd\nxx\r\nyyENDabcE"), "pause:150", Send("ND\n")});
    TMxTCPClient& c = session.Client;
    c.ReadTimeout = 5000; // a missed terminator must not hang the test
    EXPECT_EQ(c.ReadLine(), "one");
    EXPECT_EQ(c.ReadLine(), "two");
    EXPECT_EQ(c.ReadLine(), "ab\rcd"); // a CR alone ends no line
    EXPECT_EQ(c.ReadLine("END"), "xx\r\nyy");
    // The terminator arrives in two reads.
    EXPECT_EQ(c.ReadLine("END"), "abc");
    EXPECT_EQ(c.ReadLine(), "");
}

TEST(MxTCPConnection, OverlongLines) {
    const std::string longLine(20000, 'x');
    const std::string fullLine(16384, 'y');
    for (TMxMaxLineAction action : {TMxMaxLineAction::maException, TMxMaxLineAction::maSplit}) {
        Session session({Send(fullLine + "\r\n" + longLine + "\r\ntail\r\n")});
        TMxTCPClient& c = session.Client;
        c.MaxLineAction = action;
        // A line of exactly the maximum, ended by CR LF, is not too long.
        EXPECT_EQ(c.ReadLine(), fullLine);
        if (action == TMxMaxLineAction::maException) {
            try {
                c.ReadLine();
                ADD_FAILURE() << "no error";
            } catch (const EMxReadLnMaxLineLengthExceeded& e) {
                EXPECT_STREQ(e.what(), "Max line length exceeded.");
            }
        } else {
            EXPECT_EQ(c.ReadLine().size(), 16384u);
            EXPECT_TRUE(c.ReadLnSplit());
            EXPECT_EQ(c.ReadLine().size(), 3616u);
            EXPECT_FALSE(c.ReadLnSplit());
            EXPECT_EQ(c.ReadLine(), "tail");
        }
    }
}

TEST(MxTCPConnection, APeerThatClosesAfterTwoLines) {
    Session session({Send("one\r\ntwo\r\n")});
    int disconnects = 0;
    session.Client.OnDisconnected = [&](TObject*) { ++disconnects; };
    session.Peer.Finish(); // the peer has closed
    EXPECT_EQ(session.Client.ReadLine(), "one");
    EXPECT_EQ(session.Client.ReadLine(), "two");
    try {
        session.Client.ReadLine();
        ADD_FAILURE() << "no error";
    } catch (const EMxConnClosedGracefully& e) {
        EXPECT_STREQ(e.what(), "Connection Closed Gracefully.");
    }
    EXPECT_FALSE(session.Client.IsConnected());
    EXPECT_EQ(disconnects, 1);
}

TEST(MxTCPConnection, AStalledPeerTimesOut) {
    EXPECT_GT(TMxTCPConnection().ReadTimeout, 0); // never unlimited by default
    Session session({Send("partial"), "stall"});
    session.Client.ReadTimeout = 300;
    const auto start = std::chrono::steady_clock::now();
    try {
        session.Client.ReadLine();
        ADD_FAILURE() << "no error";
    } catch (const EMxReadTimeout& e) {
        EXPECT_STREQ(e.what(), "Read Timeout");
    }
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_GE(elapsed, std::chrono::milliseconds(290));
    EXPECT_LT(elapsed, std::chrono::milliseconds(3000));
    // An explicit time-out gives an empty line and says so.
    EXPECT_EQ(session.Client.ReadLine("\n", 100), "");
    EXPECT_TRUE(session.Client.ReadLnTimedOut());
    EXPECT_EQ(session.Client.InputBuffer().Size(), 7); // nothing was lost
}

TEST(MxTCPConnection, WritesTextNumbersStreamsAndFiles) {
    const std::string fileName = MakeTempFileName("");
    std::ofstream(fileName, std::ios::binary) << "file body";
    Session session({Expect("HELO x\r\n"), Expect(std::string("\0\0\0\x2a", 4)),
                     Expect(std::string("\0\0\0\x02", 4) + "a\r\nb\r\n"),
                     Expect(std::string("\0\0\0\x05", 4) + "12345"), Expect("file body"),
                     "recv:1"});
    TMxTCPClient& c = session.Client;
    std::vector<std::string> work;
    c.OnWorkBegin = [&](TObject*, TWorkMode, std::int32_t max) {
        work.push_back("begin " + std::to_string(max));
    };
    c.OnWorkEnd = [&](TObject*, TWorkMode) { work.push_back("end"); };
    c.SendBufferSize = 2; // stream data goes in small chunks
    c.WriteLine("HELO x");
    c.WriteInt32(42);
    TStringList lines;
    lines.Add("a");
    lines.Add("b");
    c.WriteLines(&lines, true);
    TStringStream stream("0123456789");
    stream.SetPosition(1);
    c.WriteStreamData(&stream, false, true, 5);
    EXPECT_EQ(c.WriteFileData(fileName), 9);
    std::remove(fileName.c_str());
    try {
        c.WriteFileData(fileName);
        ADD_FAILURE() << "no error";
    } catch (const EMxFileNotFound& e) {
        EXPECT_EQ(AnsiString(e.what()), "File \"" + fileName + "\" not found");
    }
    c.Disconnect();
    const auto report = session.Peer.Finish();
    EXPECT_EQ(report, (std::vector<std::string>{"RECV ", "DONE"})); // nothing more was sent
    EXPECT_EQ(work, (std::vector<std::string>{"begin 5", "end", "begin 9", "end"}));
}

TEST(MxTCPConnection, APeerThatResetsMidWriteRaisesTheConnectionError) {
    // The process must survive writing to a dead connection (no SIGPIPE).
    Session session({Expect("go\r\n"), "reset"});
    session.Client.WriteLine("go");
    session.Peer.Finish();
    const std::string block(65536, 'z');
    try {
        for (int i = 0; i < 100; ++i)
            session.Client.Write(block);
        ADD_FAILURE() << "every write succeeded";
    } catch (const EMxSocketError& e) {
        EXPECT_TRUE(e.LastError == 10054 || e.LastError == 10058) << e.what();
    }
    EXPECT_FALSE(session.Client.IsConnected());
    EXPECT_THROW(session.Client.Write("x"), EMxConnClosedGracefully);
}

TEST(MxTCPConnection, CaptureLines) {
    Session session({Send("a\r\n..b\r\n.\r\nc\r\n..d\r\n.\r\n")});
    TStringList strings;
    int count = -1;
    session.Client.CaptureLines(&strings, count, true, ".");
    EXPECT_EQ(Lines(strings), (std::vector<AnsiString>{"a", ".b"}));
    EXPECT_EQ(count, 2);
    TStringStream stream;
    session.Client.CaptureLines(&stream, count, false, ".");
    EXPECT_EQ(stream.DataString(), "c\r\n..d\r\n");
    TMxTCPConnection notADestination;
    try {
        session.Client.CaptureLines(&notADestination, count, true, ".");
        ADD_FAILURE() << "no error";
    } catch (const EMxObjectTypeNotSupported& e) {
        EXPECT_STREQ(e.what(), "Object type not supported.");
    }
}

TEST(MxTCPConnection, ReadsExactCountsAndStreamLines) {
    Session session({Send("abc"), "pause:100", Send("defline one\r\nline two\n")});
    TMxTCPStream stream(&session.Client);
    char bytes[6] = {};
    EXPECT_EQ(stream.Read(bytes, 6), 6); // across two receives
    EXPECT_EQ(std::string(bytes, 6), "abcdef");
    EXPECT_EQ(StreamReadLine(&stream), "line one");
    EXPECT_EQ(StreamReadLine(&stream), "line two");
    EXPECT_EQ(stream.Seek(0, soBeginning), -1);
}

TEST(MxTCPConnection, InterceptsSeeEveryBlock) {
    Session session({Expect("cmd\r\nAB"), Send("x")});
    TMxConnectionIntercept outer, inner;
    outer.SetIntercept(&inner);
    std::vector<std::string> events;
    auto appender = [&](const char* AMark) {
        return [&events, AMark](TObject*, TStream* AStream) {
            events.push_back(AMark);
            AStream->Seek(0, soEnd);
            AStream->WriteBuffer(AMark, 1);
        };
    };
    outer.OnSend = appender("A");
    inner.OnSend = appender("B");
    outer.OnReceive = appender("a");
    inner.OnReceive = appender("b");
    outer.OnDisconnect = [&](TObject*) { events.push_back("outer gone"); };
    session.Client.SetIntercept(&outer);
    session.Client.WriteLine("cmd");
    session.Client.ReadIntoBuffer();
    EXPECT_EQ(session.Client.TakeReadBuffer(), "xba");
    session.Client.Disconnect();
    EXPECT_EQ(events, (std::vector<std::string>{"A", "B", "b", "a", "outer gone"}));
}

TEST(MxTCPConnection, ConnectOnAConnectedClientChangesNothing) {
    Session session({Expect("still here\r\n")});
    try {
        session.Client.Connect();
        ADD_FAILURE() << "connected twice";
    } catch (const EMxAlreadyConnected& e) {
        EXPECT_STREQ(e.what(), "Already connected.");
    }
    session.Client.WriteLine("still here");
    session.Client.Disconnect();
    EXPECT_EQ(session.Peer.Finish(), std::vector<std::string>{"DONE"});
}

TEST(MxTCPConnection, ConnectReadAllDisconnect) {
    ScriptedPeer peer({Send("hello "), "pause:50", Send("world")});
    TMxTCPClient client;
    client.SetHost("127.0.0.1");
    client.SetPort(peer.Port());
    EXPECT_EQ(client.ConnectReadAllDisconnect(), "hello world");
    EXPECT_EQ(client.IOHandler(), nullptr);
}

TEST(MxBuffers, ManagedBufferConsumesByOffset) {
    TMxManagedBuffer buffer;
    int removed = 0;
    buffer.OnBytesRemoved = [&](int count) { removed += count; };
    const std::string block(40000, 'q');
    buffer.Append(block.data(), static_cast<int>(block.size()));
    buffer.Append("tail", 4);
    buffer.Remove(30000);
    EXPECT_EQ(buffer.Size(), 10004);
    EXPECT_EQ(buffer.GetSize(), 10004);
    const void* before = buffer.Memory();
    buffer.Remove(2767); // the offset reaches 32767: nothing moves yet
    EXPECT_EQ(buffer.Memory(), before);
    buffer.Remove(1); // 32768 consumed: the rest moves to the front
    EXPECT_EQ(buffer.Data(), buffer.Memory());
    EXPECT_EQ(buffer.Size(), 7236);
    EXPECT_EQ(buffer.Extract(7232), std::string(7232, 'q'));
    EXPECT_EQ(AnsiString(buffer.Data(), 4), "tail");
    try {
        buffer.Extract(5);
        ADD_FAILURE() << "no error";
    } catch (const EMxNotEnoughDataInBuffer& e) {
        EXPECT_STREQ(e.what(), "Not enough data in buffer.");
    }
    buffer.Append("!", 1);
    EXPECT_EQ(buffer.Extract(5), "tail!");
    EXPECT_EQ(removed, 40005);
}

TEST(MxRFCReply, CodeAndTextStayInStep) {
    TMxRFCReply reply;
    reply.SetTextCode("250");
    EXPECT_EQ(reply.NumericCode(), 250);
    reply.SetNumericCode(421);
    EXPECT_EQ(reply.TextCode(), "421");
    reply.SetTextCode("abc");
    EXPECT_EQ(reply.NumericCode(), 0);
    EXPECT_EQ(reply.GetDisplayName(), "abc");
    reply.Text().Add("first");
    reply.Text().Add("second");
    EXPECT_EQ(reply.GetDisplayName(), "abc first");
    TMxRFCReply copy;
    copy.Assign(&reply);
    EXPECT_EQ(copy.GetDisplayName(), "abc first");
    EXPECT_EQ(copy.Text().GetCount(), 2);
    copy.Clear();
    EXPECT_EQ(copy.GetDisplayName(), "");
    EXPECT_EQ(copy.NumericCode(), 0);
}
