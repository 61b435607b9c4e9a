#include "ConnectionTest.h"

#include "platform/data/Database.h"
#include "platform/data/Query.h"
#include "platform/sys/NamedEvent.h"
#include "platform/sys/NamedMutex.h"
#include "platform/sys/Thread.h"
#include "reportconn/DcDataSetConnection.h"

#include <chrono>
#include <cstring>
#include <thread>

using namespace reportconn;
using Lines = std::vector<std::string>;

namespace {

// A custom connection as a data module places one: a row of a customer (its
// name shown under an alias), a hidden column and a quantity.
TDcCustomConnection* JobConnection(TComponent* Owner) {
    auto* c = new TDcCustomConnection(Owner);
    c->SetName("Job");
    c->FieldAliasList()->Add("customer = Client ");
    c->FieldAliasList()->Add("Secret=");
    c->OnOpen = [](TDcCustomConnection* C) { C->SetRowCount(1); };
    c->OnGetCols = [](TDcCustomConnection* C) {
        C->DefineColumn("Customer", dtString, "", "Customer name", 50);
        C->DefineColumn("Secret", dtString, "", "", 30);
        C->DefineColumn("Qty", dtInteger, "Pieces", "", 0);
    };
    c->OnGetRow = [](TDcCustomConnection* C) {
        C->WriteStringValue("", "Acme");
        C->WriteStringValue("", "hidden");
        C->WriteIntegerValue("12 pcs", 12);
    };
    c->SetRuntimeVisibility(rtDeveloper);
    return c;
}

} // namespace

using ConversationTest = ConnectionTest;

TEST_F(ConversationTest, CustomConnectionServesAliasedColumnsAndOneRow) {
    JobConnection(Owner);
    EXPECT_EQ(Engine("Job", {"connect", "handshake", "open", "cols", "first", "eof", "next", "eof",
                             "sorts", "restore", "disconnect"}),
              (Lines{"handshake Job runtime=1 version=30003 visibility=1 identity=set",
                     "handshake Job runtime=1 version=30003 visibility=1 identity=set", "empty",
                     "cols 2 | N=Client W=50 L=Customer name | N=Qty T=dtInteger D=Pieces",
                     "row | \"Acme\" | \"12 pcs\" => 12", "eof 0", "end", "eof 1", "sorts \"\"",
                     "empty", "disconnected"}));
}

TEST_F(ConversationTest, AnIndependentReaderAgreesOnTheReplyByteForByte) {
    JobConnection(Owner);
    const Lines engine = Engine("Job", {"open", "cols", "first", "hex"});
    ASSERT_EQ(engine.size(), 4u);
    const Lines reader =
        RunAndPump({"/usr/bin/python3", BUFFER_READER, KernelObjectPath(RDCBuffer), "0,1"});
    EXPECT_EQ(reader, (Lines{engine[3], engine[2]}));
}

TEST_F(ConversationTest, LargeRepliesGoThroughTheOverflowBuffers) {
    struct Case {
        std::vector<int> Sizes;
        std::string Overflow;
        std::string Row;
    };
    const Case cases[] = {
        {{70000}, "overflow 1", "row | <70000 bytes>"},
        // The reply outgrows overflow buffer 1 as well and moves on to 2.
        {{100000, 100000}, "overflow 2", "row | <100000 bytes> | <100000 bytes>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Overflow);
        auto* conn = new TDcCustomConnection(Owner);
        conn->SetName("Big");
        conn->OnGetCols = [&](TDcCustomConnection* C) {
            for (std::size_t i = 0; i < c.Sizes.size(); ++i)
                C->DefineColumn("C" + std::to_string(i), dtString, "", "", 0);
        };
        conn->OnGetRow = [&](TDcCustomConnection* C) {
            for (int size : c.Sizes)
                C->WriteStringValue("", std::string(static_cast<std::size_t>(size), 'x'));
        };
        conn->SetRuntimeVisibility(rtEndUser);
        const Lines lines = Engine("Big", {"open", "cols", "first", "eof"});
        ASSERT_EQ(lines.size(), 5u) << ::testing::PrintToString(lines);
        EXPECT_EQ(lines[2], c.Overflow);
        EXPECT_EQ(lines[3], c.Row);
        EXPECT_EQ(lines[4], "eof 0") << "the next reply is in the main buffer again";
        delete conn;
    }
}

TEST_F(ConversationTest, QueryConnectionServesAFilteredSqliteQuery) {
    Exec("CREATE TABLE Parts (Code VARCHAR(10), Qty INTEGER, Status VARCHAR(10));"
         "INSERT INTO Parts VALUES ('A1', 5, 'Open'), ('B2', NULL, 'Shut'),"
         " ('C3', 7, NULL), ('D4', NULL, 'Open');");
    NewDatabase();
    // The same rows whether the connection filters them itself or has the
    // query filter them.
    for (const bool local : {true, false}) {
        SCOPED_TRACE(local ? "local filter" : "dataset filter");
        auto* query = new TQuery(Owner);
        query->SetDatabaseName("Shop");
        query->SQL()->Add("SELECT Code, Qty, Status FROM Parts ORDER BY Code");
        auto* conn = new TDcQueryConnection(Owner);
        conn->SetName("Parts");
        conn->SetQuery(query);
        conn->SetLocalFilter(local);
        conn->SetRuntimeVisibility(rtEndUser);
        EXPECT_EQ(Engine("Parts", {"open", "cols", "filter:Status|=|Open|0", "first", "next",
                                   "next", "restore"}),
                  (Lines{"empty", "cols 3 | N=Code W=11 | N=Qty T=dtInteger W=4 | N=Status W=11",
                         "empty", "row | \"A1\" | 5 | \"Open\"", "row | \"D4\" | null | \"Open\"",
                         "end", "empty"}));
        EXPECT_FALSE(query->Active()) << "restore closes what open opened";
        EXPECT_FALSE(query->Filtered());
        delete conn;
        delete query;
    }
}

TEST_F(ConversationTest, MalformedRequestsAreAnsweredEmptyAndServingGoesOn) {
    auto* conn = JobConnection(Owner);
    bool fail = false;
    auto row = conn->OnGetRow;
    conn->OnGetRow = [&](TDcCustomConnection* C) {
        if (fail) throw Exception("lost the record");
        row(C);
    };
    // A filter whose first item is sound and whose second runs past the end
    // of the buffer (or claims a negative length, or an unknown type): none
    // of it may take effect.
    const std::string sound = "06000000" + Str("Customer") + Str("=") + Str("Other") + Int(0);
    const std::string cases[] = {
        sound + Int(1) + "ffffff7f",
        sound + Int(1) + Int(-5),
        sound + Str("Qty") + Str("=") + Str("1") + Int(77),
    };
    for (const std::string& raw : cases) {
        SCOPED_TRACE(raw);
        EXPECT_EQ(
            Engine("Job", {"open", "cols", "raw:" + raw, "first", "raw:63000000"}),
            (Lines{"empty", "cols 2 | N=Client W=50 L=Customer name | N=Qty T=dtInteger D=Pieces",
                   "empty", "row | \"Acme\" | \"12 pcs\" => 12", "empty"}));
    }
    // A handler that fails leaves no stale reply behind.
    fail = true;
    EXPECT_EQ(Engine("Job", {"cols", "first", "eof"}),
              (Lines{"cols 2 | N=Client W=50 L=Customer name | N=Qty T=dtInteger D=Pieces", "empty",
                     "eof 0"}));
}

TEST_F(ConversationTest, DestroyingDuringACommandEndsWithinAboutASecond) {
    auto* conn = JobConnection(Owner);
    // The engine holds the controller mutex and has a command waiting for
    // the main thread when the connection goes.
    std::atomic<bool> queued{false};
    SetWakeMainThread([&] { queued = true; });
    std::atomic<bool> holding{false}, release{false};
    std::thread engine([&] {
        TNamedMutex controller(RDCControler);
        controller.WaitFor(INFINITE);
        holding = true;
        while (!release)
            std::this_thread::yield();
        controller.Release();
    });
    while (!holding)
        std::this_thread::yield();
    {
        TRPBuffer buffer;
        const std::int32_t command = cmdGetRow;
        std::memcpy(buffer.Data() + 8, &command, 4);
        TNamedEvent("RDCRTDATA_Job", false, false).SetEvent();
    }
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!queued && std::chrono::steady_clock::now() < giveUp)
        std::this_thread::yield();
    EXPECT_TRUE(queued);
    const auto start = std::chrono::steady_clock::now();
    delete conn;
    const auto took = std::chrono::steady_clock::now() - start;
    release = true;
    engine.join();
    SetWakeMainThread(nullptr);
    EXPECT_LT(took, std::chrono::milliseconds(1800));
    TNamedEvent completed(RDCCompleted, false, false);
    EXPECT_EQ(completed.WaitFor(0), TWaitResult::wrSignaled) << "the command was still answered";
}
