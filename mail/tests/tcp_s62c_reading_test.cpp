// The line-oriented connection against a scripted peer: replies, lines and
// their limits and terminators, the peer's close, read time-outs, writes of
// text, counts, streams and files, captured lines and the connect rules.
#include "Peer.h"
#include "mail/MxIOHandler.h"
#include "mail/MxIntercept.h"
#include "mail/MxNetExceptions.h"
#include "mail/MxRFCReply.h"
#include "mail/MxSocketHandle.h"
#include "mail/MxTCPClient.h"
#include "mail/MxTCPStream.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/testing/StringsLines.h"

#include <chrono>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using namespace mail;
using mailtest::Expect;
using mailtest::ScriptedPeer;
using mailtest::Send;

namespace {

struct Connected {
    ScriptedPeer Peer;
    TMxTCPClient Client;
    explicit Connected(const std::vector<std::string>& ASteps) : Peer(ASteps) {
        Client.SetHost("127.0.0.1");
        Client.SetPort(Peer.Port());
        Client.ReadTimeout = 5000;
        Client.Connect(5000);
    }
    // Whether the peer ran its script to the end without a mismatch.
    bool PeerContent() {
        Client.Disconnect();
        const std::vector<std::string> lines = Peer.Finish();
        return !lines.empty() && lines.back() == "DONE" &&
               std::none_of(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.rfind("MISMATCH", 0) == 0; });
    }
};

} // namespace

TEST(TcpReading, RepliesAreParsedIntoCodeAndTextLines) {
    struct Case {
        const char* name;
        std::string wire;
        int code;
        std::vector<std::string> text;
    };
    const std::vector<Case> cases = {
        {"multi-line",
         "250-first\r\n250-AUTH LOGIN\r\n250 SIZE\r\n",
         250,
         {"first", "AUTH LOGIN", "SIZE"}},
        {"blank line inside", "250-first\r\n\r\n250 last\r\n", 250, {"first", "last"}},
        {"blank lines before", "\r\n  \r\n  220 ready  \r\n", 220, {"ready"}},
        {"bare code ends", "250-first\r\n250\r\n", 250, {"first", ""}},
        {"foreign line kept",
         "250-first\r\n   continued here\r\n250 end\r\n",
         250,
         {"first", "continued here", "end"}},
        {"end marker without case", "2aB-one\r\n2Ab two\r\n", 0, {"one", "two"}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Connected c({Expect("CMD\r\n"), Send(k.wire), Send("999 after\r\n")});
        EXPECT_EQ(c.Client.SendCommand("CMD", std::vector<int>{}), k.code);
        EXPECT_EQ(c.Client.LastCmdResult().NumericCode(), k.code);
        EXPECT_EQ(Lines(c.Client.LastCmdResult().Text()), k.text);
        // The reply ended where it should: the next line is the peer's next.
        EXPECT_EQ(c.Client.ReadLine(), "999 after");
        EXPECT_TRUE(c.PeerContent());
    }
}

TEST(TcpReading, ExpectedCodesDecideWhetherAReplyRaises) {
    {
        Connected c({Expect("RCPT\r\n"), Send("550 no such user\r\n")});
        try {
            c.Client.SendCommand("RCPT", 250);
            ADD_FAILURE() << "accepted";
        } catch (const EMxProtocolReplyError& e) {
            EXPECT_EQ(e.ReplyErrorCode, 550);
            EXPECT_EQ(e.Message, "no such user\r\n");
        }
    }
    {
        Connected c({Expect("DATA\r\n"), Send("554-first reason\r\n554 second reason\r\n")});
        try {
            c.Client.SendCommand("DATA", 354);
            ADD_FAILURE() << "accepted";
        } catch (const EMxProtocolReplyError& e) {
            EXPECT_EQ(e.ReplyErrorCode, 554);
            EXPECT_EQ(e.Message, "first reason\r\nsecond reason\r\n");
        }
    }
    {
        Connected c({Expect("NOOP\r\n"), Send("421 closing\r\n"), Expect("NOOP\r\n"),
                     Send("251 fine\r\n")});
        EXPECT_EQ(c.Client.SendCommand("NOOP", -1), 421);
        EXPECT_EQ(c.Client.SendCommand("NOOP", std::vector<int>{250, 251}), 251);
        EXPECT_TRUE(c.PeerContent());
    }
}

TEST(TcpReading, LinesHonourTheLimitAndTheTerminator) {
    const std::string longLine(20000, 'x');
    {
        Connected c({Send(longLine + "\r\nnext\r\n")});
        EXPECT_THROW(c.Client.ReadLine(), EMxReadLnMaxLineLengthExceeded);
    }
    {
        Connected c({Send(longLine + "\r\nnext\r\n")});
        c.Client.MaxLineAction = TMxMaxLineAction::maSplit;
        EXPECT_EQ(c.Client.ReadLine().size(), 16384u);
        EXPECT_TRUE(c.Client.ReadLnSplit());
        EXPECT_EQ(c.Client.ReadLine().size(), 3616u);
        EXPECT_FALSE(c.Client.ReadLnSplit());
        EXPECT_EQ(c.Client.ReadLine(), "next");
    }
    {
        // Exactly the maximum is still a line; no limit takes any length.
        Connected c({Send(std::string(16384, 'y') + "\n" + longLine + "\n")});
        EXPECT_EQ(c.Client.ReadLine().size(), 16384u);
        EXPECT_EQ(c.Client.ReadLine("\n", -1, 0).size(), 20000u);
    }
    {
        Connected c({Send("a\rb"), "pause:100", Send("\ncarry\r\rX|rest\r\n")});
        EXPECT_EQ(c.Client.ReadLine(), "a\rb");
        EXPECT_EQ(c.Client.ReadLine("X"), "carry\r\r");
        EXPECT_EQ(c.Client.ReadLine("|"), "");
        EXPECT_EQ(c.Client.ReadLine(""), "rest");
    }
    {
        // A terminator of several bytes that arrives split over two reads.
        Connected c({Send("line one\r"), "pause:150", Send("\nnext\r"), "pause:150", Send("\n")});
        EXPECT_EQ(c.Client.ReadLine("\r\n"), "line one");
        EXPECT_EQ(c.Client.ReadLine("\r\n"), "next");
    }
    {
        // An explicit maximum splits before the terminator is reached.
        Connected c({Send("abcdefgh\nij\n")});
        c.Client.MaxLineAction = TMxMaxLineAction::maSplit;
        EXPECT_EQ(c.Client.ReadLine("\n", -1, 5), "abcde");
        EXPECT_EQ(c.Client.ReadLine("\n", -1, 5), "fgh");
        EXPECT_EQ(c.Client.ReadLine("\n", -1, 5), "ij");
    }
}

TEST(TcpReading, BufferedLinesOutliveThePeersClose) {
    {
        Connected c({Send("one\r\ntwo\r\n")});
        EXPECT_EQ(c.Client.ReadLine(), "one");
        EXPECT_EQ(c.Client.ReadLine(), "two");
        EXPECT_THROW(c.Client.ReadLine(), EMxConnClosedGracefully);
        EXPECT_FALSE(c.Client.IsConnected());
    }
    {
        Connected c({Send("half a li")});
        EXPECT_THROW(c.Client.ReadLine(), EMxConnClosedGracefully);
    }
}

TEST(TcpReading, ReadTimeOutRaisesByDefaultAndFlagsAnExplicitWait) {
    Connected c({"stall"});
    c.Client.ReadTimeout = 300;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(c.Client.ReadLine(), EMxReadTimeout);
    EXPECT_EQ(c.Client.ReadLine("\n", 200), "");
    EXPECT_TRUE(c.Client.ReadLnTimedOut());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    EXPECT_TRUE(c.Client.IsConnected());
}

TEST(TcpReading, ConnectOnAConnectedClientLeavesItAsItWas) {
    Connected c({Send("hello\r\n")});
    try {
        c.Client.Connect(5000);
        ADD_FAILURE() << "connected twice";
    } catch (const EMxAlreadyConnected& e) {
        EXPECT_EQ(e.Message, "Already connected.");
    }
    EXPECT_TRUE(c.Client.IsConnected());
    EXPECT_EQ(c.Client.ReadLine(), "hello");
}

TEST(TcpReading, DisconnectFiresOnceAndFreesTheOwnedHandler) {
    Connected c({"stall"});
    int disconnected = 0;
    c.Client.OnDisconnected = [&](TObject*) { ++disconnected; };
    EXPECT_NE(c.Client.IOHandler(), nullptr);
    c.Client.Disconnect();
    EXPECT_EQ(disconnected, 1);
    EXPECT_EQ(c.Client.IOHandler(), nullptr);
    c.Client.Disconnect();
    EXPECT_EQ(disconnected, 1);
    try {
        c.Client.Write("late");
        ADD_FAILURE() << "written";
    } catch (const EMxNotConnected& e) {
        EXPECT_EQ(e.Message, "Not Connected");
    }
    EXPECT_THROW(c.Client.ReadLine(), EMxNotConnected);
    EXPECT_EQ(c.Client.ReadIntoBuffer(false), 0);
}

TEST(TcpReading, StreamOverTheConnectionReadsExactlyAndCannotSeek) {
    Connected c({Send("abc"), "pause:150", Send("defgh"), Expect("written")});
    TMxTCPStream stream(&c.Client);
    char got[6];
    EXPECT_EQ(stream.Read(got, 6), 6);
    EXPECT_EQ(std::string(got, 6), "abcdef");
    EXPECT_EQ(stream.Seek(0, soBeginning), -1);
    EXPECT_EQ(stream.Write("written", 7), 7);
    EXPECT_EQ(c.Client.TakeReadBuffer(), "gh");
    EXPECT_TRUE(c.PeerContent());
}

TEST(TcpReading, WritesGoOutAsTheyAreAsked) {
    const std::string payload = "0123456789abcdefghij";
    Connected c({Expect("text"), Expect("line\r\n"),
                 Expect(std::string("\x00\x00\x01\x02", 4) + std::string("\x04\x03\x02\x01", 4)),
                 Expect(std::string("\x00\x00\x00\x02", 4) + "a\r\nb\r\n"),
                 Expect(std::string("\x00\x00\x00\x14", 4) + payload), Expect("6789")});
    c.Client.SendBufferSize = 3; // the stream goes in several chunks
    c.Client.Write("");
    c.Client.Write("text");
    c.Client.WriteLine("line");
    c.Client.WriteInt32(0x0102);
    c.Client.WriteInt32(0x01020304, false);
    TStringList lines;
    lines.Add("a");
    lines.Add("b");
    c.Client.WriteLines(&lines, true);
    TMemoryStream stream;
    stream.Write(payload.data(), static_cast<int>(payload.size()));
    c.Client.WriteStreamData(&stream, true, true);
    stream.Seek(6, TSeekOrigin::soBeginning);
    c.Client.WriteStreamData(&stream, false, false, 4);
    EXPECT_TRUE(c.PeerContent());
}

// A stream that ends before the size it was said to have raises after
// sending what it had, and the work it began is finished.
TEST(TcpReading, StreamShorterThanItsSizeRaises) {
    Connected c({Expect("xyz"), "stall"});
    int begun = 0, ended = 0;
    c.Client.OnWorkBegin = [&](TObject*, TWorkMode, std::int32_t) { ++begun; };
    c.Client.OnWorkEnd = [&](TObject*, TWorkMode) { ++ended; };
    TMemoryStream stream;
    stream.Write("xyz", 3);
    try {
        c.Client.WriteStreamData(&stream, true, false, 10);
        ADD_FAILURE() << "sent";
    } catch (const EMxNoDataToRead& e) {
        EXPECT_EQ(e.Message, "No data to read.");
    }
    EXPECT_EQ(begun, 1);
    EXPECT_EQ(ended, 1);
}

TEST(TcpReading, FilesAreSentWholeAndAMissingOneIsNamed) {
    const std::string path = ::testing::TempDir() + "tcp_reading_file.txt";
    std::string content;
    for (int i = 0; i < 5000; ++i)
        content += static_cast<char>('A' + i % 26);
    {
        TMemoryStream file;
        file.Write(content.data(), static_cast<int>(content.size()));
        file.SaveToFile(path);
    }
    Connected c({Expect(content)});
    c.Client.SendBufferSize = 1000;
    EXPECT_EQ(c.Client.WriteFileData(path), 5000);
    std::remove(path.c_str());
    try {
        c.Client.WriteFileData("/nonexistent/file.txt");
        ADD_FAILURE() << "sent";
    } catch (const EMxFileNotFound& e) {
        EXPECT_EQ(e.Message, "File \"/nonexistent/file.txt\" not found");
    }
    EXPECT_TRUE(c.PeerContent());
}

TEST(TcpReading, CapturedLinesStopAtTheEndLineAndUndoDotStuffing) {
    const std::string wire = "one\r\n..dot\r\n.single\r\n.\r\nafter\r\n";
    {
        Connected c({Send(wire)});
        TStringList dest;
        int count = -1;
        c.Client.CaptureLines(&dest, count, true, ".");
        EXPECT_EQ(count, 3);
        EXPECT_EQ(Lines(dest), (std::vector<std::string>{"one", ".dot", ".single"}));
        EXPECT_EQ(c.Client.ReadLine(), "after");
    }
    {
        Connected c({Send(wire)});
        TMemoryStream dest;
        int count = -1;
        c.Client.CaptureLines(&dest, count, false, ".");
        EXPECT_EQ(count, 3);
        EXPECT_EQ(std::string(static_cast<const char*>(dest.Memory()), dest.GetSize()),
                  "one\r\n..dot\r\n.single\r\n");
    }
    {
        Connected c({Send(wire)});
        int count = -1;
        c.Client.CaptureLines(nullptr, count, false, ".");
        EXPECT_EQ(count, 3);
        TMxRFCReply wrong;
        EXPECT_THROW(c.Client.CaptureLines(&wrong, count, false, "."), EMxObjectTypeNotSupported);
    }
}

TEST(TcpReading, ExactReadsAndFilteredBytes) {
    Connected c({Send(std::string("\xC1\xE2z") + "abc"), "pause:100", Send("defg\n")});
    char head[3];
    c.Client.ReadExact(head, 3);
    EXPECT_EQ(std::string(head, 3), "\xC1\xE2z");
    c.Client.ASCIIFilter = true;
    char tail[7];
    c.Client.ReadExact(tail, 7);
    EXPECT_EQ(std::string(tail, 7), "abcdefg");
}

TEST(TcpReading, ConnectReadAllDisconnectReadsUntilThePeerCloses) {
    ScriptedPeer peer({Send("all of it\r\n"), "pause:100", Send("and more")});
    TMxTCPClient client;
    client.SetHost("127.0.0.1");
    client.SetPort(peer.Port());
    client.ReadTimeout = 5000;
    EXPECT_EQ(client.ConnectReadAllDisconnect(), "all of it\r\nand more");
    EXPECT_FALSE(client.IsConnected());
}

TEST(TcpReading, ReplyObjectKeepsCodeAndTextInStep) {
    TMxRFCReply reply;
    reply.SetNumericCode(354);
    EXPECT_EQ(reply.TextCode(), "354");
    reply.SetTextCode("abc");
    EXPECT_EQ(reply.NumericCode(), 0);
    reply.SetTextCode("221");
    EXPECT_EQ(reply.NumericCode(), 221);
    EXPECT_EQ(reply.GetDisplayName(), "221");
    reply.Text().Add("bye");
    reply.Text().Add("now");
    EXPECT_EQ(reply.GetDisplayName(), "221 bye");
    TMxRFCReply copy;
    copy.Text().Add("stale");
    copy.Assign(&reply);
    EXPECT_EQ(copy.NumericCode(), 221);
    EXPECT_EQ(copy.TextCode(), "221");
    EXPECT_EQ(Lines(copy.Text()), (std::vector<std::string>{"bye", "now"}));
    copy.Clear();
    EXPECT_EQ(copy.NumericCode(), 0);
    EXPECT_EQ(copy.TextCode(), "");
    EXPECT_EQ(copy.Text().Count(), 0);
}

TEST(TcpReading, HandlerFreedElsewhereIsForgottenAndConnectMakesItsOwn) {
    ScriptedPeer peer({Send("hi\r\n")});
    TMxTCPClient client;
    auto* handler = new TMxIOHandlerSocket();
    client.SetIOHandler(handler);
    EXPECT_EQ(client.IOHandler(), handler);
    delete handler;
    EXPECT_EQ(client.IOHandler(), nullptr);
    client.SetHost("127.0.0.1");
    client.SetPort(peer.Port());
    client.ReadTimeout = 5000;
    client.Connect(5000);
    ASSERT_NE(client.IOHandler(), nullptr);
    EXPECT_EQ(client.ReadLine(), "hi");
}

TEST(TcpReading, StatusAndWorkEventsFrameTheConversation) {
    ScriptedPeer peer({Send("l1\r\n.\r\n"), Expect("abcdefgh")});
    TMxTCPClient client;
    std::vector<std::string> events;
    client.OnStatus = [&](TObject*, TMxStatus AStatus, const AnsiString& AText) {
        events.push_back("status " + std::to_string(static_cast<int>(AStatus)) + " " + AText);
    };
    client.OnWorkBegin = [&](TObject*, TWorkMode AMode, std::int32_t AMax) {
        events.push_back("begin " + std::to_string(static_cast<int>(AMode)) + " " +
                         std::to_string(AMax));
    };
    client.OnWorkEnd = [&](TObject*, TWorkMode AMode) {
        events.push_back("end " + std::to_string(static_cast<int>(AMode)));
    };
    client.SetHost("127.0.0.1");
    client.SetPort(peer.Port());
    client.ReadTimeout = 5000;
    client.Connect(5000);
    int count = 0;
    TMxRFCReply wrong;
    EXPECT_THROW(client.CaptureLines(&wrong, count, false, "."), EMxObjectTypeNotSupported);
    // The refused destination consumed no line.
    client.CaptureLines(nullptr, count, false, ".");
    EXPECT_EQ(count, 1);
    TMemoryStream stream;
    stream.Write("abcdefgh", 8);
    client.WriteStreamData(&stream);
    client.Disconnect();
    std::vector<std::string> wanted = {"begin 0 0", "end 0", "begin 1 8", "end 1"};
    std::vector<std::string> work, status;
    for (const std::string& e : events)
        (e.rfind("status", 0) == 0 ? status : work).push_back(e);
    EXPECT_EQ(work, wanted);
    ASSERT_GE(status.size(), 3u);
    EXPECT_EQ(status[status.size() - 3].substr(0, 9), "status 2 ");
    EXPECT_EQ(status[status.size() - 2].substr(0, 8), "status 3");
    EXPECT_EQ(status[status.size() - 1].substr(0, 8), "status 4");
}

TEST(TcpReading, WritingToAGonePeerRaisesAndClosesTheTransport) {
    const std::vector<std::vector<std::string>> cases = {{"pause:200", "reset"}, {"pause:200"}};
    for (const auto& steps : cases) {
        SCOPED_TRACE(steps.size());
        Connected c(steps);
        const std::string chunk(65536, 'w');
        bool raised = false;
        for (int i = 0; i < 200 && !raised; ++i) {
            try {
                c.Client.Write(chunk);
            } catch (const EMxSocketError&) {
                raised = true;
            } catch (const EMxConnClosedGracefully&) {
                raised = true;
            }
        }
        EXPECT_TRUE(raised);
        EXPECT_FALSE(c.Client.IsConnected());
    }
}

TEST(TcpReading, AReplyThatNeverEndsIsRefused) {
    std::string wire;
    for (int i = 0; i < 1100; ++i)
        wire += "250-line " + std::to_string(i) + "\r\n";
    wire += "250 end\r\n";
    Connected c({Send(wire)});
    EXPECT_THROW(c.Client.ReadReply({}), EMxException);
}

// A wait that ends before the line does keeps what came so far.
TEST(TcpReading, TimedOutLineKeepsThePartAlreadyReceived) {
    Connected c({Send("par"), "pause:700", Send("tial\n")});
    EXPECT_EQ(c.Client.ReadLine("\n", 200), "");
    EXPECT_TRUE(c.Client.ReadLnTimedOut());
    EXPECT_EQ(c.Client.ReadLine(), "partial");
    EXPECT_FALSE(c.Client.ReadLnTimedOut());
}

// The peer's close, once noticed, closes the transport and tells
// OnDisconnected once; a later Disconnect does not tell it again.
TEST(TcpReading, PeersCloseIsToldOnce) {
    Connected c({Send("last\n")});
    int disconnected = 0;
    c.Client.OnDisconnected = [&](TObject*) { ++disconnected; };
    EXPECT_EQ(c.Client.ReadLine(), "last");
    EXPECT_THROW(c.Client.ReadLine(), EMxConnClosedGracefully);
    EXPECT_TRUE(c.Client.ClosedGracefully());
    EXPECT_EQ(disconnected, 1);
    c.Client.Disconnect();
    EXPECT_EQ(disconnected, 1);
}

TEST(TcpReading, InputBufferConsumesByOffsetAndPacksLate) {
    TMxManagedBuffer buffer;
    std::string data;
    for (int i = 0; i < 40000; ++i)
        data += static_cast<char>('a' + i % 26);
    buffer.Append(data.data(), static_cast<int>(data.size()));
    std::vector<int> removed;
    buffer.OnBytesRemoved = [&](int ACount) { removed.push_back(ACount); };
    struct Step {
        int remove;
        int offset; // where the visible data starts in the original
    };
    for (const Step& s : {Step{20000, 20000}, Step{15000, 35000}, Step{10, 35010}}) {
        SCOPED_TRACE(s.offset);
        buffer.Remove(s.remove);
        EXPECT_EQ(buffer.Size(), 40000 - s.offset);
        EXPECT_EQ(buffer.GetSize(), 40000 - s.offset);
        EXPECT_EQ(std::string(buffer.Data(), buffer.Size()), data.substr(s.offset));
    }
    EXPECT_EQ(removed, (std::vector<int>{20000, 15000, 10}));
    buffer.Append("XYZ", 3);
    EXPECT_THROW(buffer.Extract(4994), EMxNotEnoughDataInBuffer);
    EXPECT_THROW(buffer.Remove(4994), EMxNotEnoughDataInBuffer);
    EXPECT_EQ(buffer.Extract(4993), data.substr(35010) + "XYZ");
    EXPECT_EQ(buffer.Size(), 0);
    buffer.Append("next", 4);
    EXPECT_EQ(std::string(buffer.Data(), buffer.Size()), "next");
}

// A failed connect leaves the transport closed; the same client then
// connects once the peer is there.
TEST(TcpReading, FailedConnectLeavesTheClientReadyForAnother) {
    TMxTCPClient client;
    client.SetHost("127.0.0.1");
    client.ReadTimeout = 5000;
    {
        // A port that was free a moment ago, with nobody listening.
        TMxSocketHandle probe;
        probe.IP = "127.0.0.1";
        probe.AllocateHandle(MxSockStream, 0);
        probe.BindLocal();
        client.SetPort(probe.Port);
    }
    for (int timeout : {-1, 2000}) {
        SCOPED_TRACE(timeout);
        try {
            client.Connect(timeout);
            ADD_FAILURE() << "connected";
        } catch (const EMxSocketError& e) {
            EXPECT_EQ(e.LastError, 10061);
        }
        EXPECT_FALSE(client.IsConnected());
    }
    ScriptedPeer peer({Send("up\n")});
    client.SetPort(peer.Port());
    client.Connect(2000);
    EXPECT_EQ(client.ReadLine(), "up");
}

// No single receive takes more than RecvBufferSize bytes.
TEST(TcpReading, ReceivesAreBoundedByTheBufferSize) {
    TMxConnectionIntercept intercept;
    std::vector<std::int64_t> blocks;
    intercept.OnReceive = [&](TObject*, TStream* s) { blocks.push_back(s->GetSize()); };
    Connected c({"pause:200", Send("0123456789\n")});
    c.Client.SetIntercept(&intercept);
    c.Client.RecvBufferSize = 4;
    EXPECT_EQ(c.Client.ReadLine(), "0123456789");
    EXPECT_EQ(blocks, (std::vector<std::int64_t>{4, 4, 3}));
    c.Client.SetIntercept(nullptr);
}
