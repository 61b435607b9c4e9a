// The wire as the report engine sees it: handshakes, column definitions, row
// replies with their encodings, overflow buffers, odd requests, and the
// writers' errors.
#include "ConnectionTest.h"

#include "platform/sys/FileMapping.h"
#include "platform/sys/NamedEvent.h"
#include "platform/sys/Thread.h"
#include "reportconn/DcCustomConnection.h"

#include <cstring>

#include <functional>

using namespace reportconn;

namespace {

struct Column {
    const char* Name;
    TRPDataType Type;
    const char* Description;
    const char* FullName;
    int Width;
};

class ProtocolTest : public ConnectionTest {
protected:
    TDcCustomConnection* Make(const std::vector<Column>& Columns,
                              std::function<void(TDcCustomConnection*)> Row) {
        auto* c = new TDcCustomConnection(Owner);
        c->SetName("Wire");
        c->OnGetCols = [Columns](TDcCustomConnection* C) {
            for (const auto& col : Columns)
                C->DefineColumn(col.Name, col.Type, col.Description, col.FullName, col.Width);
        };
        c->OnGetRow = [Row](TDcCustomConnection* C) { Row(C); };
        c->SetRowCount(2);
        c->SetRuntimeVisibility(rtEndUser);
        return c;
    }
};

TEST_F(ProtocolTest, HandshakeOnConnectAndOnRequest) {
    auto* c = Make({}, [](TDcCustomConnection*) {});
    auto* other = new TDcCustomConnection(Owner);
    EXPECT_GT(c->Identity(), 0);
    EXPECT_NE(c->Identity(), other->Identity());
    const auto out = Engine("Wire", {"connect", "handshake", "disconnect"});
    const std::string line = "handshake Wire runtime=1 version=30003 visibility=2 identity=set";
    EXPECT_EQ(out, (std::vector<std::string>{line, line, "disconnected"}));
}

// A connection being designed listens on the design-time events; the engine
// here is the test itself.
TEST_F(ProtocolTest, DesignTimeConnectionsUseTheirOwnEvents) {
    auto* c = new TDcCustomConnection(new DesignedOwner(Owner));
    c->SetName("Des");
    TNamedEvent data("RDCDTDATA_Des", false, false), ack("RDCDTACK_Des", false, false),
        completed(RDCCompleted, false, false);
    auto main = TFileMapping::OpenOrCreate(RDCBuffer, MainBufferSize);
    auto send = [&](std::int32_t Command, TNamedEvent& Done) {
        std::memcpy(main->Data() + 8, &Command, 4);
        data.SetEvent();
        for (int i = 0; i < 400; ++i) {
            CheckSynchronize(0);
            if (Done.WaitFor(25) == TWaitResult::wrSignaled) return true;
        }
        return false;
    };
    ASSERT_TRUE(send(cmdHandshake, ack));
    const std::uint8_t* reply = main->Data() + 8;
    std::int32_t kind, length;
    std::memcpy(&kind, reply, 4);
    std::memcpy(&length, reply + 4, 4);
    ASSERT_EQ(kind, 1);
    ASSERT_EQ(length, 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(reply + 8), 3), "Des");
    EXPECT_EQ(reply[8 + 3 + 4], 0); // not a run-time connection
    std::int32_t version, visibility;
    std::memcpy(&version, reply + 16 + 8, 4);
    std::memcpy(&visibility, reply + 16 + 12, 4);
    EXPECT_EQ(version, ProtocolVersion);
    EXPECT_EQ(visibility, 1);
    ASSERT_TRUE(send(cmdEOF, completed));
    std::int32_t header[2];
    std::memcpy(header, main->Data(), 8);
    EXPECT_EQ(header[0], 9);
    EXPECT_EQ(header[1], 0);
    EXPECT_EQ(main->Data()[8], 1); // RowCount 0: at the end
}

TEST_F(ProtocolTest, ColumnDefinitionsLeaveOutEmptyItems) {
    Make({{"Job", dtString, "", "", 30},
          {"Qty", dtInteger, "Quantity", "Job.Qty", 0},
          {"Due", dtDate, "", "Due date", -4}},
         [](TDcCustomConnection*) {});
    const auto out = Engine("Wire", {"cols"});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0], "cols 3 | N=Job W=30 | N=Qty T=dtInteger L=Job.Qty D=Quantity"
                      " | N=Due T=dtDate L=Due date");
}

// One row reply per case, decoded by the engine's side.
TEST_F(ProtocolTest, RowRepliesEncodeEachType) {
    struct Case {
        const char* What;
        Column Col;
        std::function<void(TDcCustomConnection*)> Write;
        const char* Row;
    };
    const std::vector<Case> cases = {
        {"string with display",
         {"S", dtString, "", "", 10},
         [](auto* C) { C->WriteStringValue("Shown", "abc"); },
         "row | \"Shown\" => \"abc\""},
        {"display equal to value",
         {"S", dtString, "", "", 10},
         [](auto* C) { C->WriteStringValue("abc", "abc"); },
         "row | \"abc\""},
        {"integer",
         {"I", dtInteger, "", "", 0},
         [](auto* C) { C->WriteIntegerValue("", -7); },
         "row | -7"},
        {"integer display",
         {"I", dtInteger, "", "", 0},
         [](auto* C) { C->WriteIntegerValue("7", 7); },
         "row | 7"},
        {"boolean",
         {"B", dtBoolean, "", "", 0},
         [](auto* C) { C->WriteBooleanValue("Yes", true); },
         "row | \"Yes\" => true"},
        {"float",
         {"F", dtFloat, "", "", 0},
         [](auto* C) { C->WriteFloatValue("", 2.5); },
         "row | 2.5"},
        {"currency",
         {"C", dtCurrency, "", "", 0},
         [](auto* C) { C->WriteCurrencyValue("", Currency(12.34)); },
         "row | 123400"},
        {"bcd",
         {"D", dtBCD, "", "", 0},
         [](auto* C) { C->WriteBCDValue("", Currency(-1)); },
         "row | -10000"},
        {"int64",
         {"L", dtInt64, "", "", 0},
         [](auto* C) { C->WriteInt64Value("", 5000000000LL); },
         "row | 5000000000"},
        {"date",
         {"T", dtDate, "", "", 0},
         [](auto* C) { C->WriteDateTimeValue("", TDateTime(2.25)); },
         "row | 2.25"},
        {"boolean display equal to its text",
         {"B", dtBoolean, "", "", 0},
         [](auto* C) { C->WriteBooleanValue("True", true); },
         "row | true"},
        {"float display equal to its text",
         {"F", dtFloat, "", "", 0},
         [](auto* C) { C->WriteFloatValue("2.5", 2.5); },
         "row | 2.5"},
        {"currency display equal to its text",
         {"C", dtCurrency, "", "", 0},
         [](auto* C) { C->WriteCurrencyValue("12.34", Currency(12.34)); },
         "row | 123400"},
        {"memo",
         {"M", dtMemo, "", "", 0},
         [](auto* C) { C->WriteBlobValue("hello"); },
         "row | blob:5"},
        {"null", {"N", dtInteger, "", "", 0}, [](auto* C) { C->WriteNullValue(); }, "row | null"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        auto* conn = Make({c.Col}, c.Write);
        EXPECT_EQ(Engine("Wire", {"cols", "row"}).at(1), c.Row);
        delete conn;
    }
}

TEST_F(ProtocolTest, EmptyStringAndNullBytes) {
    Make({{"S", dtString, "", "", 10}, {"N", dtInteger, "", "", 0}}, [](TDcCustomConnection* C) {
        C->WriteStringValue("", "");
        C->WriteNullValue();
    });
    const auto out = Engine("Wire", {"cols", "row", "hex"});
    ASSERT_EQ(out.size(), 3u);
    // header 41/0, not at end, row length 28, offsets (16, 0) and (-1, 0),
    // then the empty string as 1, 0, 0.
    EXPECT_EQ(out[2], "hex 2900000000000000"
                      "00"
                      "1c000000"
                      "10000000"
                      "00000000"
                      "ffffffff"
                      "00000000"
                      "010000000000000000000000");
}

TEST_F(ProtocolTest, LongRepliesMoveToOverflowBuffers) {
    const std::string big(70000, 'x');
    const std::string bigger(140000, 'y');
    const std::string huge(300000, 'z');
    Make({{"A", dtString, "", "", 10}, {"B", dtString, "", "", 10}}, [&](TDcCustomConnection* C) {
        C->WriteStringValue("", C->RowIndex() < 2 ? big : "");
        C->WriteStringValue("", C->RowIndex() == 0 ? "" : C->RowIndex() == 1 ? bigger : huge);
    })->SetRowCount(3);
    // The first row outgrows the main buffer once, the second also outgrows
    // its first overflow buffer; after a release (which has no reply of its
    // own) a short reply is in the main buffer again, and a reply larger
    // than any before takes the first overflow buffer again.
    auto out = Engine("Wire", {"cols", "first", "next", "release", "cols", "next"});
    ASSERT_EQ(out.size(), 10u);
    out.erase(out.begin() + 5, out.begin() + 7);
    EXPECT_EQ(out, (std::vector<std::string>{"cols 2 | N=A W=10 | N=B W=10", "overflow 1",
                                             "row | <70000 bytes> | \"\"", "overflow 2",
                                             "row | <70000 bytes> | <140000 bytes>",
                                             "cols 2 | N=A W=10 | N=B W=10", "overflow 1",
                                             "row | \"\" | <300000 bytes>"}));
}

// Thousands of columns: the definitions and the offset table themselves
// outgrow the main buffer and then each overflow buffer in turn.
TEST_F(ProtocolTest, WideRowsMoveWhileTheOffsetTableIsWritten) {
    constexpr int count = 9000;
    std::vector<Column> columns;
    std::vector<std::string> names;
    names.reserve(count);
    for (int i = 0; i < count; ++i)
        names.push_back("Column" + std::to_string(i));
    for (int i = 0; i < count; ++i)
        columns.push_back({names[i].c_str(), dtInteger, "", "", 0});
    Make(columns, [](TDcCustomConnection* C) {
        for (int i = 0; i < count; ++i)
            C->WriteIntegerValue("", i * 3);
    });
    const auto out = Engine("Wire", {"cols", "first"});
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[0].substr(0, 9), "overflow ");
    EXPECT_EQ(out[1].substr(0, 10), "cols 9000 ");
    EXPECT_NE(out[1].find("| N=Column8999 T=dtInteger"), std::string::npos);
    EXPECT_EQ(out[2].substr(0, 9), "overflow ");
    std::string row = "row";
    for (int i = 0; i < count; ++i)
        row += " | " + std::to_string(i * 3);
    EXPECT_EQ(out[3], row);
}

TEST_F(ProtocolTest, OddRequestsAreAnsweredWithoutData) {
    Make({{"S", dtString, "", "", 10}},
         [](TDcCustomConnection* C) { C->WriteStringValue("", "v"); });
    struct Case {
        const char* What;
        std::string Step;
        const char* Reply;
    };
    const std::vector<Case> cases = {
        {"unknown command", "raw:" + Int(99), "empty"},
        {"negative command", "raw:" + Int(-1), "empty"},
        {"open", "open", "empty"},
        {"restore", "restore", "empty"},
        {"sort", "raw:" + Int(8) + Str("S") + Str(""), "empty"},
        {"sorts", "sorts", "sorts \"\""},
        {"filter with a string length past the buffer", "raw:" + Int(6) + Int(1) + Int(0x7fffffff),
         "empty"},
        {"filter with a negative string length", "raw:" + Int(6) + Int(1) + Int(-5), "empty"},
        {"filter of an unknown type",
         "raw:" + Int(6) + Str("S") + Str("=") + Str("v") + Int(99) + Str(""), "empty"},
        {"filter of a negative type",
         "raw:" + Int(6) + Str("S") + Str("=") + Str("v") + Int(-1) + Str(""), "empty"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(Engine("Wire", {"cols", c.Step, "row"}),
                  (std::vector<std::string>{"cols 1 | N=S W=10", c.Reply, "row | \"v\""}));
    }
}

// A string item skips segments of other kinds, and a later text segment
// replaces an earlier one.
TEST_F(ProtocolTest, StringSegmentsOfOtherKindsAreSkipped) {
    auto* c = Make({{"S", dtString, "", "", 10}}, [](TDcCustomConnection* C) {
        C->WriteStringValue("", C->RowIndex() ? "b" : "a");
    });
    c->OnOpen = [](TDcCustomConnection* C) { C->SetRowCount(2); };
    const std::string name =
        Int(2) + Int(3) + "787878" + Int(1) + Int(1) + "41" + Int(1) + Int(1) + "53" + Int(0);
    const auto out =
        Engine("Wire", {"open", "cols",
                        "raw:" + Int(6) + name + Str("=") + Str("b") + Int(0) + Str(""), "first"});
    EXPECT_EQ(out.back(), "row | \"b\"");
}

TEST_F(ProtocolTest, WritersRefuseExtraValuesAndWrongTypes) {
    std::vector<std::string> messages;
    Make({{"A", dtString, "", "", 10}, {"B", dtInteger, "", "", 0}}, [&](TDcCustomConnection* C) {
        auto attempt = [&](const std::function<void()>& Write) {
            try {
                Write();
                messages.push_back("written");
            } catch (const EReportPrinter& E) {
                messages.push_back(E.Message.c_str());
            }
        };
        attempt([&] { C->WriteStringValue("", "a"); });
        attempt([&] { C->WriteStringValue("", "b"); });
        attempt([&] { C->WriteIntegerValue("", 1); });
        attempt([&] { C->WriteIntegerValue("", 2); });
        attempt([&] { C->WriteNullValue(); });
        attempt([&] { C->WriteStringValue("", "c"); });
    });
    Engine("Wire", {"cols", "row"});
    EXPECT_EQ(messages,
              (std::vector<std::string>{
                  "written", "Attempt to write different data type than defined (Column 2/2).",
                  "written", "Attempt to write more fields than defined.",
                  "Attempt to write more fields than defined.",
                  "Attempt to write more fields than defined."}));
}

} // namespace
