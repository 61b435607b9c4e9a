// A report engine in another process reading connections: columns with
// aliases, the local filter, the end of the data, failing handlers, the
// defaults of an unbound connection and a query served row by row.
#include "ConnectionTest.h"

#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/data/Query.h"
#include "platform/rtl/Streams.h"
#include "platform/sys/NamedMutex.h"
#include "reportconn/DcDataSetConnection.h"
#include "reportconn/DcTableConnection.h"

#include <future>
#include <stdexcept>
#include <thread>

using namespace reportconn;

namespace {

class ReadingTest : public ConnectionTest {
protected:
    template <class T = TDcCustomConnection> T* Listening(const AnsiString& Name) {
        auto* c = new T(Owner);
        c->SetName(Name);
        c->SetRuntimeVisibility(rtEndUser);
        return c;
    }
};

// An unbound connection answers every command with its own defaults.
TEST_F(ReadingTest, UnboundConnectionAnswersWithItsDefaults) {
    Listening("Plain");
    const auto out =
        Engine("Plain", {"connect", "cols", "open", "first", "next", "eof", "sorts", "restore"});
    ASSERT_EQ(out.size(), 8u) << ::testing::PrintToString(out);
    EXPECT_EQ(out[0], "handshake Plain runtime=1 version=30003 visibility=2 identity=set");
    EXPECT_EQ(out[1], "cols 1 | N=FieldName W=30 L=FieldName");
    EXPECT_EQ(out[2], "empty");
    // The row's text goes in without an offset entry: the column shows none.
    EXPECT_EQ(out[3], "row | -");
    EXPECT_EQ(out[4], "end");
    EXPECT_EQ(out[5], "eof 1");
    EXPECT_EQ(out[6], "sorts \"\"");
    EXPECT_EQ(out[7], "empty");
}

// The first matching alias line names the column; an empty alias hides it,
// and its values are stepped over.
TEST_F(ReadingTest, AliasesRenameAndHideColumns) {
    auto* c = Listening("Aliased");
    c->FieldAliasList()->SetText(" alpha = First \nBeta=\nALPHA=Second\ngamma=Third");
    c->OnOpen = [](TDcCustomConnection* C) { C->SetRowCount(1); };
    c->OnGetCols = [](TDcCustomConnection* C) {
        C->DefineColumn("Alpha", dtString, "", "", 10);
        C->DefineColumn("Beta", dtInteger, "", "", 0);
        C->DefineColumn("Gamma", dtInteger, "desc", "Full", 4);
        C->DefineColumn("Delta", dtBoolean, "", "", 0);
    };
    c->OnGetRow = [](TDcCustomConnection* C) {
        C->WriteStringValue("", "a");
        // The hidden column takes any value unchecked.
        C->WriteStringValue("", "hidden");
        C->WriteIntegerValue("seven", 8);
        C->WriteBooleanValue("True", true);
    };
    const auto out = Engine("Aliased", {"connect", "cols", "open", "first", "next"});
    ASSERT_EQ(out.size(), 5u) << ::testing::PrintToString(out);
    EXPECT_EQ(out[1], "cols 3 | N=First W=10 | N=Third T=dtInteger W=4 L=Full D=desc | N=Delta "
                      "T=dtBoolean");
    // "True" is the value's own text, so no display text goes with it.
    EXPECT_EQ(out[3], "row | \"a\" | \"seven\" => 8 | true");
    EXPECT_EQ(out[4], "end");
}

struct FilterCase {
    const char* Filter;
    std::vector<std::string> Expected; // first, next, next
};

// Rows of (Name, N) where N is null in the third row; the engine filters.
class LocalFilterTest : public ReadingTest, public ::testing::WithParamInterface<FilterCase> {};

TEST_P(LocalFilterTest, FirstAndNextSkipRowsThatDoNotMatch) {
    auto* c = Listening("Filtered");
    c->OnOpen = [](TDcCustomConnection* C) { C->SetRowCount(4); };
    c->OnGetCols = [](TDcCustomConnection* C) {
        C->DefineColumn("Name", dtString, "", "", 0);
        C->DefineColumn("N", dtInteger, "", "", 0);
    };
    c->OnGetRow = [](TDcCustomConnection* C) {
        static const char* names[] = {"a", "b", "c", "b"};
        C->WriteStringValue("", names[C->RowIndex()]);
        if (C->RowIndex() == 2)
            C->WriteNullValue();
        else
            C->WriteIntegerValue("", C->RowIndex() % 2);
    };
    auto out =
        Engine("Filtered", {"connect", "cols", "open", GetParam().Filter, "first", "next", "next"});
    ASSERT_EQ(out.size(), 7u) << ::testing::PrintToString(out);
    out.erase(out.begin(), out.begin() + 4);
    EXPECT_EQ(out, GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LocalFilterTest,
    ::testing::Values(
        // A string filter, the name compared without regard to case.
        FilterCase{"filter:NAME|=|b|0", {"row | \"b\" | 1", "row | \"b\" | 1", "end"}},
        // An integer filter: the null row never matches.
        FilterCase{"filter:N|=|0|1", {"row | \"a\" | 0", "end", "end"}},
        // An item whose type differs from the column's is dropped.
        FilterCase{"filter:N|=|b|0", {"row | \"a\" | 0", "row | \"b\" | 1", "row | \"c\" | null"}},
        // An item for no column is dropped; the operator plays no part.
        FilterCase{"filter:Other|<>|x|0;Name|<>|c|0", {"row | \"c\" | null", "end", "end"}}));

// The end reported at once: First answers the end byte only.
TEST_F(ReadingTest, EndAtOnceGivesTheEndByteOnly) {
    auto* c = Listening("Ended");
    int rows = 0;
    c->OnEOF = [](TDcCustomConnection*, bool& Eof) { Eof = true; };
    c->OnGetRow = [&rows](TDcCustomConnection* C) {
        ++rows;
        C->WriteStringValue("", "x");
    };
    const auto out = Engine("Ended", {"connect", "cols", "first", "hex", "eof"});
    ASSERT_EQ(out.size(), 5u) << ::testing::PrintToString(out);
    EXPECT_EQ(out[2], "end");
    EXPECT_EQ(out[3], "hex 0900000000000000"
                      "01");
    EXPECT_EQ(out[4], "eof 1");
    EXPECT_EQ(rows, 0);
}

// A handler that fails still completes the command; the conversation goes on.
TEST_F(ReadingTest, FailingHandlersStillCompleteTheCommand) {
    auto* c = Listening("Failing");
    c->OnOpen = [](TDcCustomConnection* C) { C->SetRowCount(2); };
    c->OnGetCols = [](TDcCustomConnection* C) { C->DefineColumn("N", dtInteger, "", "", 0); };
    c->OnGetRow = [](TDcCustomConnection* C) {
        if (C->RowIndex() == 0) {
            // Too many values, then the wrong type: both are refused.
            C->WriteIntegerValue("", 1);
            C->WriteIntegerValue("", 2);
        } else {
            C->WriteStringValue("", "x");
        }
    };
    c->OnSetSort = [](TDcCustomConnection*) { throw std::runtime_error("not ours"); };
    const auto out =
        Engine("Failing", {"connect", "cols", "open", "first", "next", "raw:08000000", "row"});
    ASSERT_EQ(out.size(), 7u) << ::testing::PrintToString(out);
    EXPECT_EQ(out[3], "empty");
    EXPECT_EQ(out[4], "empty");
    EXPECT_EQ(out[5], "empty");
    EXPECT_EQ(out[6], "empty");
}

// A query's records as rows: the end after the last one, display names as
// full names, and a filter the engine sets becomes the query's own.
TEST_F(ReadingTest, QueryConnectionServesItsRecords) {
    Exec("CREATE TABLE Parts (Code VARCHAR(8), Qty INTEGER);"
         "INSERT INTO Parts VALUES ('p1', 3), ('p''2', NULL), ('p3', 5);");
    NewDatabase();
    auto* q = new TQuery(Owner);
    q->SetName("PartsQuery");
    q->SetDatabaseName("Shop");
    q->SQL()->SetText("SELECT Code, Qty FROM Parts ORDER BY Code");
    q->Open();
    q->FieldByName("Qty")->SetDisplayLabel("Quantity");
    q->SetFilter("Qty > 0");
    q->SetFiltered(true);
    q->Last();
    auto* c = Listening<TDcQueryConnection>("PartsConn");
    c->SetQuery(q);
    // A restore before any open leaves the query alone.
    ASSERT_EQ(Engine("PartsConn", {"connect", "restore"}).at(1), "empty");
    EXPECT_TRUE(q->Filtered());
    auto out = Engine("PartsConn", {"handshake", "open", "cols", "filter:|||0", "first", "next",
                                    "next", "next", "filter:Code|=|p'2|0", "first",
                                    "filter:Code|=|p*|0", "first", "sorts", "restore"});
    ASSERT_EQ(out.size(), 14u) << ::testing::PrintToString(out);
    // An empty filter list lifts the query's own filter while the engine reads.
    out.erase(out.begin() + 3);
    // A string field's data size holds its terminating zero.
    EXPECT_EQ(out[2], "cols 2 | N=Code W=9 | N=Qty T=dtInteger W=4 L=Quantity");
    EXPECT_EQ(out[3], "row | \"p'2\" | null");
    EXPECT_EQ(out[4], "row | \"p1\" | 3");
    EXPECT_EQ(out[5], "row | \"p3\" | 5");
    EXPECT_EQ(out[6], "end");
    EXPECT_EQ(out[8], "row | \"p'2\" | null");
    // Values are compared whole: no wildcard.
    EXPECT_EQ(out[10], "end");
    EXPECT_EQ(out[11], "sorts");
    // Restoring puts back the query's own filter and its record.
    EXPECT_TRUE(q->Filtered());
    EXPECT_EQ(q->Filter(), "Qty > 0");
    EXPECT_EQ(q->FieldByName("Code")->AsString(), "p3");
}

// Right after open, the end counts only for a dataset that is empty too.
TEST_F(ReadingTest, EndRightAfterOpenCountsOnlyForAnEmptyDataSet) {
    Exec("CREATE TABLE Few (Code VARCHAR(8)); INSERT INTO Few VALUES ('a'), ('b');");
    NewDatabase();
    const std::pair<const char*, const char*> cases[] = {{"SELECT Code FROM Few", "eof 0"},
                                                         {"SELECT Code FROM Few WHERE 0", "eof 1"}};
    int serial = 0;
    for (const auto& [sql, expected] : cases) {
        const AnsiString name = "Few" + std::to_string(++serial);
        auto* q = new TQuery(Owner);
        q->SetDatabaseName("Shop");
        q->SQL()->SetText(sql);
        q->Open();
        q->Last();
        auto* c = Listening<TDcQueryConnection>(name);
        c->SetQuery(q);
        const auto out = Engine(name, {"connect", "open", "eof"});
        ASSERT_EQ(out.size(), 3u) << ::testing::PrintToString(out);
        EXPECT_EQ(out[2], expected) << sql;
    }
}

// A connection renamed while it listens answers under its new name.
TEST_F(ReadingTest, RenamedConnectionListensUnderItsNewName) {
    auto* c = Listening("Before");
    ASSERT_EQ(Engine("Before", {"connect"}).at(0).rfind("handshake Before ", 0), 0u);
    c->SetName("After");
    const auto out = Engine("After", {"handshake", "cols"});
    ASSERT_EQ(out.size(), 2u) << ::testing::PrintToString(out);
    EXPECT_EQ(out[0].rfind("handshake After ", 0), 0u) << out[0];
    EXPECT_EQ(out[1], "cols 1 | N=FieldName W=30 L=FieldName");
}

// A form read from its stream listens as its stored visibility says; an old
// form's Visible counts as end-user.
TEST_F(ReadingTest, FormStreamStartsTheListener) {
    const std::pair<const char*, const char*> cases[] = {
        {"Visible = True", "visibility=2"},
        {"RuntimeVisibility = rtDeveloper", "visibility=1"},
    };
    int serial = 0;
    for (const auto& [line, expected] : cases) {
        const std::string name = "Streamed" + std::to_string(++serial);
        TStringStream text(
            AnsiString("object " + name + ": TDcCustomConnection\n  " + line +
                       "\n  FieldAliasList.Strings = (\n    'FieldName=Shown')\nend\n"));
        TMemoryStream binary;
        ObjectTextToBinary(&text, &binary);
        binary.SetPosition(0);
        std::unique_ptr<TComponent> read(ReadComponentRes(&binary, nullptr));
        const auto out = Engine(name, {"connect", "cols"});
        ASSERT_EQ(out.size(), 2u) << line << ::testing::PrintToString(out);
        EXPECT_NE(out[0].find(expected), std::string::npos) << out[0];
        EXPECT_EQ(out[1], "cols 1 | N=Shown W=30 L=FieldName");
        read.reset();
    }
}

// Destroying a connection while someone else holds the controller mutex
// still stops its thread, and leaves the mutex free once the holder lets go.
TEST_F(ReadingTest, DestroyingWhileTheControllerIsHeldStillStops) {
    for (bool held : {true, false}) {
        auto* c = Listening("Held");
        ASSERT_EQ(Engine("Held", {"connect"}).size(), 1u);
        std::promise<void> taken, done;
        std::thread holder;
        if (held) {
            holder = std::thread([&] {
                TNamedMutex m(RDCControler);
                m.WaitFor(1000);
                taken.set_value();
                done.get_future().wait();
                m.Release();
            });
            taken.get_future().wait();
        }
        delete c;
        if (held) {
            done.set_value();
            holder.join();
        }
        TNamedMutex mine(RDCControler);
        EXPECT_NE(mine.WaitFor(0), TWaitResult::wrTimeout) << held;
        mine.Release();
    }
}

template <class T> std::string ValueHex(const T& Value) {
    std::string hex;
    char buf[3];
    const auto* bytes = reinterpret_cast<const unsigned char*>(&Value);
    for (std::size_t i = 0; i < sizeof(T); ++i) {
        std::snprintf(buf, sizeof buf, "%02x", bytes[i]);
        hex += buf;
    }
    return hex;
}

// A set-filter request of one typed item.
std::string TypedFilter(const std::string& Name, TRPDataType Type, const std::string& ValueHex) {
    return "raw:" + Int(cmdSetFilter) + Str(Name) + Str("=") + Str("v") +
           Int(static_cast<std::int32_t>(Type)) + ValueHex + Str("");
}

// Typed filter values match only the row that holds the same value.
TEST_F(ReadingTest, TypedFilterValuesMatchTheirRowOnly) {
    auto* c = Listening("Typed");
    c->OnOpen = [](TDcCustomConnection* C) { C->SetRowCount(3); };
    c->OnGetCols = [](TDcCustomConnection* C) {
        C->DefineColumn("B", dtBoolean, "", "", 0);
        C->DefineColumn("F", dtFloat, "", "", 0);
        C->DefineColumn("C", dtCurrency, "", "", 0);
        C->DefineColumn("D", dtDate, "", "", 0);
        C->DefineColumn("L", dtInt64, "", "", 0);
        C->DefineColumn("K", dtBCD, "", "", 0);
    };
    c->OnGetRow = [](TDcCustomConnection* C) {
        const int i = C->RowIndex();
        C->WriteBooleanValue("", i == 1);
        C->WriteFloatValue("", 1.5 * i);
        C->WriteCurrencyValue("", Currency::FromScaled(12345 * i));
        C->WriteDateTimeValue("", TDateTime(45000.0 + i));
        C->WriteInt64Value("", 1000000000000LL + i);
        C->WriteBCDValue("", Currency::FromScaled(7 * i));
    };
    std::uint8_t extended[10];
    DoubleToExtended(1.5, extended);
    std::string extendedHex;
    for (std::uint8_t b : extended) {
        char buf[3];
        std::snprintf(buf, sizeof buf, "%02x", b);
        extendedHex += buf;
    }
    const std::string expected = "row | true | 1.5 | 12345 | 45001 | 1000000000001 | 7";
    const std::string filters[] = {
        TypedFilter("B", dtBoolean, "01"),
        TypedFilter("F", dtFloat, extendedHex),
        TypedFilter("C", dtCurrency, ValueHex<std::int64_t>(12345)),
        TypedFilter("D", dtDate, ValueHex<double>(45001.0)),
        TypedFilter("L", dtInt64, ValueHex<std::int64_t>(1000000000001LL)),
        TypedFilter("K", dtBCD, ValueHex<std::int64_t>(7)),
    };
    for (const std::string& filter : filters) {
        const auto out =
            Engine("Typed", {"connect", "cols", "open", filter, "first", "next", "disconnect"});
        ASSERT_EQ(out.size(), 7u) << filter << ::testing::PrintToString(out);
        EXPECT_EQ(out[4], expected) << filter;
        EXPECT_EQ(out[5], "end") << filter;
    }
}

// A row larger than the main buffer goes out in an overflow buffer; the
// next reply is back in the main one.
TEST_F(ReadingTest, LargeRowGoesOutInAnOverflowBuffer) {
    auto* c = Listening("Large");
    c->OnOpen = [](TDcCustomConnection* C) { C->SetRowCount(2); };
    c->OnGetCols = [](TDcCustomConnection* C) {
        C->DefineColumn("Text", dtString, "", "", 0);
        C->DefineColumn("N", dtInteger, "", "", 0);
    };
    c->OnGetRow = [](TDcCustomConnection* C) {
        const int i = C->RowIndex();
        C->WriteStringValue("", AnsiString(i == 0 ? 100000 : 3, 'x'));
        C->WriteIntegerValue("", i);
    };
    const auto out = Engine("Large", {"connect", "cols", "open", "first", "release", "next"});
    ASSERT_EQ(out.size(), 8u) << ::testing::PrintToString(out);
    EXPECT_EQ(out[3].rfind("overflow ", 0), 0u) << ::testing::PrintToString(out);
    EXPECT_EQ(out[4], "row | <100000 bytes> | 0");
    // The release has no reply of its own; the next row is in the main buffer.
    EXPECT_EQ(out[7], "row | \"xxx\" | 1") << ::testing::PrintToString(out);
}

// A connection placed on a form being designed listens from its creation,
// as a design-time connection.
TEST_F(ReadingTest, DesignTimeConnectionListensAtOnce) {
    struct DesignedForm : TComponent {
        DesignedForm() : TComponent(nullptr) { SetDesigning(true); }
    } form;
    auto* c = new TDcCustomConnection(&form);
    c->SetName("Designed");
    EXPECT_TRUE(c->Listening());
    const auto out = Engine("Designed", {"connect"});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].rfind("handshake Designed runtime=0 ", 0), 0u) << out[0];
    delete c;
}

// A closed query is opened for the engine, is not at its end right after
// the open, and is closed again on restore.
TEST_F(ReadingTest, ClosedQueryIsOpenedForTheEngineOnly) {
    Exec("CREATE TABLE One (Code VARCHAR(8)); INSERT INTO One VALUES ('z');");
    NewDatabase();
    auto* q = new TQuery(Owner);
    q->SetDatabaseName("Shop");
    q->SQL()->SetText("SELECT Code FROM One");
    auto* c = Listening<TDcQueryConnection>("Closed");
    c->SetQuery(q);
    auto out = Engine("Closed", {"connect", "open", "eof", "cols", "first", "next", "restore"});
    ASSERT_EQ(out.size(), 7u) << ::testing::PrintToString(out);
    EXPECT_EQ(out[2], "eof 0");
    EXPECT_EQ(out[4], "row | \"z\"");
    EXPECT_EQ(out[5], "end");
    EXPECT_FALSE(q->Active());
}

// Each filter request replaces the one before; an empty one lifts it.
TEST_F(ReadingTest, LaterFilterRequestsReplaceEarlierOnes) {
    auto* c = Listening("Refiltered");
    c->OnOpen = [](TDcCustomConnection* C) { C->SetRowCount(3); };
    c->OnGetCols = [](TDcCustomConnection* C) { C->DefineColumn("N", dtInteger, "", "", 0); };
    c->OnGetRow = [](TDcCustomConnection* C) { C->WriteIntegerValue("", C->RowIndex()); };
    const auto out =
        Engine("Refiltered", {"connect", "cols", "open", "filter:N|=|2|1", "first",
                              "filter:N|=|1|1", "first", "next", "filter:|||0", "first", "next"});
    ASSERT_EQ(out.size(), 11u) << ::testing::PrintToString(out);
    EXPECT_EQ(out[4], "row | 2");
    EXPECT_EQ(out[6], "row | 1");
    EXPECT_EQ(out[7], "end");
    EXPECT_EQ(out[9], "row | 0");
    EXPECT_EQ(out[10], "row | 1");
}

// At run time a connection listens only once it is given a visibility other
// than none.
TEST_F(ReadingTest, RunTimeConnectionListensFromItsVisibility) {
    auto* c = new TDcCustomConnection(Owner);
    c->SetName("Later");
    EXPECT_FALSE(c->Listening());
    c->SetRuntimeVisibility(rtNone);
    EXPECT_FALSE(c->Listening());
    c->SetRuntimeVisibility(rtDeveloper);
    EXPECT_TRUE(c->Listening());
    const auto out = Engine("Later", {"connect"});
    ASSERT_EQ(out.size(), 1u);
    EXPECT_NE(out[0].find("visibility=1"), std::string::npos) << out[0];
}

// Several filter items become one filter text of the query, each value
// quoted, with partial matching off.
TEST_F(ReadingTest, FilterItemsBecomeTheQueryFilter) {
    Exec("CREATE TABLE Stock (Code VARCHAR(8), Qty INTEGER);"
         "INSERT INTO Stock VALUES ('p1', 3), ('p1', 4), ('p2', 3);");
    NewDatabase();
    auto* q = new TQuery(Owner);
    q->SetDatabaseName("Shop");
    q->SQL()->SetText("SELECT Code, Qty FROM Stock ORDER BY Qty");
    q->SetFilterOptions(TFilterOptions{TFilterOption::foCaseInsensitive});
    auto* c = Listening<TDcQueryConnection>("Stocked");
    c->SetQuery(q);
    ASSERT_EQ(
        Engine("Stocked", {"connect", "open", "cols", "filter:Code|=|p1|0;Qty|>=|3|1"}).size(), 4u);
    EXPECT_EQ(q->Filter(), "[Code] = 'p1' and [Qty] >= '3'");
    EXPECT_TRUE(q->Filtered());
    EXPECT_TRUE(q->FilterOptions() == TFilterOptions{TFilterOption::foNoPartialCompare});
    const auto out = Engine("Stocked", {"handshake", "cols", "first", "next", "next", "restore"});
    ASSERT_EQ(out.size(), 6u) << ::testing::PrintToString(out);
    EXPECT_EQ(out[2], "row | \"p1\" | 3");
    EXPECT_EQ(out[3], "row | \"p1\" | 4");
    EXPECT_EQ(out[4], "end");
    EXPECT_FALSE(q->Active());
    EXPECT_TRUE(q->FilterOptions() == TFilterOptions{TFilterOption::foCaseInsensitive});
}

// A detail table is read whole, in the order and the range the engine asks
// for; afterwards it is a detail of its master again.
TEST_F(ReadingTest, DetailTableIsReadWholeInTheEnginesOrderAndRange) {
    Exec("CREATE TABLE Head (H INTEGER); INSERT INTO Head VALUES (1);"
         "CREATE TABLE Line (H INTEGER, N INTEGER, Code VARCHAR(4));"
         "INSERT INTO Line VALUES (1, 1, 'b'), (1, 2, 'a'), (2, 3, 'a'), (2, 4, 'c');");
    NewDatabase();
    auto* head = new TTable(Owner);
    head->SetDatabaseName("Shop");
    head->SetTableName("Head");
    auto* source = new TDataSource(Owner);
    source->SetDataSet(head);
    auto* lines = new TTable(Owner);
    lines->SetDatabaseName("Shop");
    lines->SetTableName("Line");
    lines->SetIndexFieldNames("H;N");
    lines->SetMasterSource(source);
    lines->SetMasterFields("H");
    head->Open();
    lines->Open();
    ASSERT_EQ(lines->RecordCount(), 2);
    auto* c = Listening<TDcTableConnection>("Lines");
    c->SetTable(lines);
    const auto out = Engine("Lines", {"connect", "open", "cols",
                                      "raw:" + Int(cmdSetSort) + Str("Code") + Str("N") + Str(""),
                                      "first", "next", "next", "next", "next", "restore"});
    ASSERT_EQ(out.size(), 10u) << ::testing::PrintToString(out);
    EXPECT_EQ(out[4], "row | 1 | 2 | \"a\"");
    EXPECT_EQ(out[5], "row | 2 | 3 | \"a\"");
    EXPECT_EQ(out[6], "row | 1 | 1 | \"b\"");
    EXPECT_EQ(out[7], "row | 2 | 4 | \"c\"");
    EXPECT_EQ(out[8], "end");
    EXPECT_EQ(lines->MasterSource(), source);
    EXPECT_EQ(lines->RecordCount(), 2);

    c->SetUseSetRange(true);
    const auto ranged = Engine("Lines", {"handshake", "open", "cols", "filter:H|=|2|1", "first",
                                         "next", "next", "restore"});
    ASSERT_EQ(ranged.size(), 8u) << ::testing::PrintToString(ranged);
    EXPECT_EQ(ranged[4], "row | 2 | 3 | \"a\"");
    EXPECT_EQ(ranged[5], "row | 2 | 4 | \"c\"");
    EXPECT_EQ(ranged[6], "end");
    EXPECT_EQ(lines->MasterSource(), source);
    EXPECT_EQ(lines->RecordCount(), 2);
}

} // namespace
