// The connection components through the engine: when they listen, what they
// serve by default, aliases, the local filter, the row events, failing
// handlers, and a query served as columns and rows.
#include "ConnectionTest.h"

#include "platform/data/DataSource.h"
#include "platform/data/Database.h"
#include "platform/data/Query.h"
#include "platform/sys/NamedMutex.h"
#include "reportconn/DataConnectManager.h"
#include "reportconn/DcDataSetConnection.h"
#include "reportconn/DcTableConnection.h"

#include <functional>
#include <future>
#include <stdexcept>
#include <thread>

using namespace reportconn;

namespace {

using Lines = std::vector<std::string>;

class ComponentsTest : public ConnectionTest {
protected:
    TDcCustomConnection* Listening(const AnsiString& Name) {
        auto* c = new TDcCustomConnection(Owner);
        c->SetName(Name);
        c->SetRuntimeVisibility(rtDeveloper);
        return c;
    }

    // Rows of (Name, Qty) with a null quantity in the third.
    TDcCustomConnection* Rows() {
        auto* c = Listening("Rows");
        c->OnOpen = [](TDcCustomConnection* C) {
            C->SetRowCount(4);
            C->SetRowIndex(0);
        };
        c->OnGetCols = [](TDcCustomConnection* C) {
            C->DefineColumn("Name", dtString, "", "", 10);
            C->DefineColumn("Qty", dtInteger, "", "", 0);
        };
        c->OnGetRow = [](TDcCustomConnection* C) {
            static const char* names[] = {"A", "B", "A", "A"};
            static const int qty[] = {1, 2, 0, 2};
            C->WriteStringValue("", names[C->RowIndex()]);
            if (C->RowIndex() == 2)
                C->WriteNullValue();
            else
                C->WriteIntegerValue("", qty[C->RowIndex()]);
        };
        return c;
    }
};

TEST_F(ComponentsTest, ListensFromTheFirstVisibilityThatShowsIt) {
    auto* c = new TDcCustomConnection(Owner);
    EXPECT_EQ(c->RuntimeVisibility(), rtDeveloper);
    EXPECT_TRUE(c->LocalFilter());
    EXPECT_TRUE(c->RunTime());
    EXPECT_EQ(c->Version(), "1.0.0");
    c->SetVersion("2.0");
    EXPECT_EQ(c->Version(), "1.0.0");
    struct Step {
        std::function<void()> Do;
        TRuntimeVisibility Visibility;
        bool Listening;
    };
    const std::vector<Step> steps = {
        {[&] { c->ReadVisible(false); }, rtDeveloper, false},
        {[&] { c->SetRuntimeVisibility(rtNone); }, rtNone, false},
        {[&] { c->ReadVisible(true); }, rtEndUser, true},
        {[&] { c->SetRuntimeVisibility(rtNone); }, rtNone, true},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        steps[i].Do();
        EXPECT_EQ(c->RuntimeVisibility(), steps[i].Visibility);
        EXPECT_EQ(c->Listening(), steps[i].Listening);
    }
    auto* designed = new TDcCustomConnection(new DesignedOwner(Owner));
    EXPECT_FALSE(designed->RunTime());
    EXPECT_TRUE(designed->Listening());
}

TEST_F(ComponentsTest, ServesItsPlaceholderWithoutEvents) {
    Listening("Plain");
    EXPECT_EQ(Engine("Plain", {"connect", "open", "cols", "first", "eof", "next", "eof", "sorts",
                               "first", "disconnect"}),
              (Lines{"handshake Plain runtime=1 version=30003 visibility=1 identity=set", "empty",
                     "cols 1 | N=FieldName W=30 L=FieldName", "row | -", "eof 0", "end", "eof 1",
                     "sorts \"\"", "row | -", "disconnected"}));
}

TEST_F(ComponentsTest, ListensUnderItsNewName) {
    auto* c = Listening("Before");
    c->SetName("After");
    EXPECT_EQ(Engine("After", {"handshake", "cols"}),
              (Lines{"handshake After runtime=1 version=30003 visibility=1 identity=set",
                     "cols 1 | N=FieldName W=30 L=FieldName"}));
}

// A name too long for the system's object names leaves that connection
// unserved; the others go on as before, and it still ends cleanly.
TEST_F(ComponentsTest, ANameTooLongForItsEventsServesNothing) {
    auto* lost = Listening(AnsiString("Long") + AnsiString(400, 'x'));
    Listening("Short");
    EXPECT_EQ(Engine("Short", {"handshake", "cols"}),
              (Lines{"handshake Short runtime=1 version=30003 visibility=1 identity=set",
                     "cols 1 | N=FieldName W=30 L=FieldName"}));
    delete lost;
}

TEST_F(ComponentsTest, AliasesRenameAndHideColumns) {
    auto* c = Listening("Alias");
    c->FieldAliasList()->Add("Qty");
    c->FieldAliasList()->Add(" job = Job No ");
    c->FieldAliasList()->Add("Job=Second");
    c->FieldAliasList()->Add("Secret=");
    c->OnOpen = [](TDcCustomConnection* C) { C->SetRowCount(1); };
    c->OnGetCols = [](TDcCustomConnection* C) {
        C->DefineColumn("JOB", dtString, "", "", 10);
        C->DefineColumn("Secret", dtInteger, "", "", 0);
        C->DefineColumn("Qty", dtInteger, "", "", 0);
    };
    c->OnGetRow = [](TDcCustomConnection* C) {
        C->WriteStringValue("", "J1");
        C->WriteIntegerValue("", 99);
        C->WriteIntegerValue("", 5);
    };
    EXPECT_EQ(Engine("Alias", {"open", "cols", "first"}),
              (Lines{"empty", "cols 2 | N=Job No W=10 | N=Qty T=dtInteger", "row | \"J1\" | 5"}));
}

// Each case sets one filter and reads every row First and Next give.
TEST_F(ComponentsTest, LocalFilterSkipsRowsThatDiffer) {
    Rows();
    struct Case {
        const char* What;
        std::string Filter;
        Lines Rows;
    };
    const std::vector<Case> cases = {
        {"string",
         "filter:Name|=|A|0",
         {"row | \"A\" | 1", "row | \"A\" | null", "row | \"A\" | 2"}},
        {"name without case", "filter:NAME|<>|B|0", {"row | \"B\" | 2"}},
        {"integer; null never matches", "filter:Qty|=|2|1", {"row | \"B\" | 2", "row | \"A\" | 2"}},
        {"two columns", "filter:Name|=|A|0;Qty|=|1|1", {"row | \"A\" | 1"}},
        {"type differs: dropped",
         "filter:Qty|=|B|0",
         {"row | \"A\" | 1", "row | \"B\" | 2", "row | \"A\" | null", "row | \"A\" | 2"}},
        {"unknown column: dropped",
         "filter:Other|=|B|0",
         {"row | \"A\" | 1", "row | \"B\" | 2", "row | \"A\" | null", "row | \"A\" | 2"}},
        {"no match", "filter:Name|=|C|0", {}},
        {"string case matters", "filter:Name|=|a|0", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        Lines expected{"cols 2 | N=Name W=10 | N=Qty T=dtInteger", "empty"};
        expected.insert(expected.end(), c.Rows.begin(), c.Rows.end());
        expected.push_back("end");
        Lines steps{"open", "cols", c.Filter, "first"};
        for (std::size_t i = 0; i < c.Rows.size(); ++i)
            steps.push_back("next");
        auto out = Engine("Rows", steps);
        out.erase(out.begin()); // open
        EXPECT_EQ(out, expected);
    }
}

// Typed filter values as the engine sends them, one column each.
TEST_F(ComponentsTest, LocalFilterComparesTypedValues) {
    auto* c = Listening("Typed");
    c->OnOpen = [](TDcCustomConnection* C) { C->SetRowCount(2); };
    c->OnGetCols = [](TDcCustomConnection* C) {
        C->DefineColumn("F", dtFloat, "", "", 0);
        C->DefineColumn("C", dtCurrency, "", "", 0);
        C->DefineColumn("D", dtDateTime, "", "", 0);
        C->DefineColumn("B", dtBoolean, "", "", 0);
        C->DefineColumn("L", dtInt64, "", "", 0);
        C->DefineColumn("M", dtMemo, "", "", 0);
    };
    c->OnGetRow = [](TDcCustomConnection* C) {
        const int r = C->RowIndex();
        C->WriteFloatValue("", r ? 1.5 : 2.0);
        C->WriteCurrencyValue("", Currency(r ? 1 : 3));
        C->WriteDateTimeValue("", TDateTime(r ? 2.0 : 3.0));
        C->WriteBooleanValue("", r == 1);
        C->WriteInt64Value("", r ? 10000 : 7);
        C->WriteBlobValue(r ? "x" : "y");
    };
    const std::string extended15 = "000000000000"
                                   "00c0"
                                   "ff3f";
    const std::string one = "1027000000000000", two = "0000000000000040";
    struct Case {
        const char* What;
        std::string Item;
    };
    const std::vector<Case> cases = {
        {"float", Str("F") + Str("=") + Str("1.5") + Int(3) + extended15},
        {"currency", Str("C") + Str("=") + Str("1") + Int(4) + one},
        {"date-time", Str("D") + Str("=") + Str("2") + Int(8) + two},
        {"boolean", Str("B") + Str("=") + Str("T") + Int(2) + "01"},
        {"int64", Str("L") + Str("=") + Str("1") + Int(12) + one},
        {"blob always matches, so the boolean decides",
         Str("M") + Str("=") + Str("z") + Int(10) + Str("B") + Str("=") + Str("T") + Int(2) + "01"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.What);
        const auto out =
            Engine("Typed", {"open", "cols", "raw:" + Int(6) + k.Item + Str(""), "first", "next"});
        ASSERT_EQ(out.size(), 5u);
        EXPECT_EQ(out[3], "row | 1.5 | 10000 | 2 | true | 10000 | blob:1");
        EXPECT_EQ(out[4], "end");
    }
}

TEST_F(ComponentsTest, RowEventsDecideWhatIsServed) {
    struct Case {
        const char* What;
        std::function<void(TDcCustomConnection*)> Bind;
        Lines Out;
    };
    const std::vector<Case> cases = {
        {"at its end at once",
         [](auto* C) { C->OnEOF = [](TDcCustomConnection*, bool& Eof) { Eof = true; }; },
         {"end", "end"}},
        {"odd rows only",
         [](auto* C) {
             C->OnValidateRow = [](TDcCustomConnection* Self, bool& Valid) {
                 Valid = Self->RowIndex() % 2 == 1;
             };
         },
         {"row | \"B\" | 2", "row | \"A\" | 2"}},
        {"own iteration",
         [](auto* C) {
             C->OnFirst = [](TDcCustomConnection* Self) { Self->SetRowIndex(3); };
             C->OnNext = [](TDcCustomConnection* Self) { Self->SetRowIndex(Self->RowIndex() + 5); };
         },
         {"row | \"A\" | 2", "end"}},
        {"odd rows without the local filter",
         [](auto* C) {
             C->SetLocalFilter(false);
             C->OnValidateRow = [](TDcCustomConnection* Self, bool& Valid) {
                 Valid = Self->RowIndex() % 2 == 1;
             };
         },
         {"row | \"B\" | 2", "row | \"A\" | 2"}},
        {"a failing row handler",
         [](auto* C) {
             C->OnGetRow = [](TDcCustomConnection*) { throw Exception("lost the row"); };
         },
         {"empty", "empty"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.What);
        auto* conn = Rows();
        c.Bind(conn);
        auto out = Engine("Rows", {"open", "cols", "first", "next"});
        ASSERT_EQ(out.size(), 4u);
        EXPECT_EQ(Lines(out.begin() + 2, out.end()), c.Out);
        delete conn;
    }
}

TEST_F(ComponentsTest, FailingHandlersStillComplete) {
    auto* c = Rows();
    c->OnOpen = [](TDcCustomConnection*) { throw Exception("no data"); };
    c->OnGetSorts = [](TDcCustomConnection*) { throw std::runtime_error("not ours"); };
    c->OnRestore = [](TDcCustomConnection*) { throw 42; };
    c->OnGetCols = [](TDcCustomConnection* C) {
        C->DefineColumn("Name", dtString, "", "", 10);
        throw Exception("half done");
    };
    EXPECT_EQ(Engine("Rows", {"open", "cols", "sorts", "restore", "eof"}),
              (Lines{"empty", "empty", "empty", "empty", "eof 1"}));
}

// Without the local filter the connection reads the items itself.
TEST_F(ComponentsTest, OwnFilterReadsEveryTypedItem) {
    auto* c = Listening("Own");
    c->SetLocalFilter(false);
    std::vector<std::string> seen;
    c->OnSetFilter = [&](TDcCustomConnection* C) {
        while (C->ReadFilterItem()) {
            const auto& v = C->FilterValue();
            seen.push_back(std::string(C->FilterFieldName().c_str()) + " " +
                           C->FilterOperator().c_str() + " " + C->FilterValueText().c_str() + " " +
                           std::to_string(static_cast<int>(C->FilterDataType())) + " " +
                           std::to_string(v.Whole) + " " + std::to_string(v.Real));
        }
    };
    // dtFloat 1.5 as an 80-bit extended: mantissa 0xC000000000000000, exponent 0x3FFF.
    const std::string extended = "000000000000"
                                 "00c0"
                                 "ff3f";
    const std::string currency = "1027000000000000"; // 10000: 1.0000
    const std::string date = "0000000000000040";     // 2.0
    const std::string request =
        Int(6) + Str("F") + Str(">") + Str("1.5") + Int(3) + extended + Str("C") + Str("=") +
        Str("1") + Int(4) + currency + Str("D") + Str("<") + Str("x") + Int(6) + date + Str("B") +
        Str("=") + Str("T") + Int(2) + "01" + Str("S") + Str("=") + Str("it's") + Int(0) + Str("");
    EXPECT_EQ(Engine("Own", {"raw:" + request}), (Lines{"empty"}));
    EXPECT_EQ(seen, (Lines{"F > 1.5 3 0 1.500000", "C = 1 4 10000 0.000000", "D < x 6 0 2.000000",
                           "B = T 2 1 0.000000", "S = it's 0 0 0.000000"}));
}

// The engine holding the controller mutex delays a connection's end by at
// most its wait for the mutex; the connection then still stops its thread.
TEST_F(ComponentsTest, EndsWhileTheEngineHoldsTheController) {
    auto* c = Listening("Held");
    std::promise<void> taken, ended;
    std::thread engine([&] {
        TNamedMutex controller(RDCControler);
        controller.WaitFor(1000);
        taken.set_value();
        ended.get_future().wait();
        controller.Release();
    });
    taken.get_future().wait();
    delete c;
    ended.set_value();
    engine.join();
    EXPECT_EQ(DataConnectManager().Count(), 0);
}

class QueryConnectionTest : public ComponentsTest {
protected:
    void SetUp() override {
        ComponentsTest::SetUp();
        Exec("CREATE TABLE RC_ITEM (ID INTEGER, NAME VARCHAR(12), PRICE MONEY, DUE DATE, "
             "NOTE TEXT)");
        Exec("INSERT INTO RC_ITEM VALUES (1, 'O''Brien', 2.5, '2024-01-31', 'n1')");
        Exec("INSERT INTO RC_ITEM VALUES (2, 'Smith', NULL, NULL, NULL)");
        NewDatabase();
        Query = new TQuery(Owner);
        Query->SetName("Items");
        Query->SetDatabaseName("Shop");
        Query->SQL()->Add("SELECT * FROM RC_ITEM ORDER BY ID");
        Connection = new TDcQueryConnection(Owner);
        Connection->SetName("ItemsConn");
        Connection->SetQuery(Query);
        Connection->SetRuntimeVisibility(rtEndUser);
    }
    TQuery* Query = nullptr;
    TDcQueryConnection* Connection = nullptr;
};

TEST_F(QueryConnectionTest, ServesFieldsAsColumnsAndRecordsAsRows) {
    EXPECT_FALSE(Connection->LocalFilter());
    const auto out = Engine("ItemsConn", {"open", "cols", "first", "next", "next", "restore"});
    ASSERT_EQ(out.size(), 6u);
    EXPECT_EQ(out[1], "cols 5 | N=ID T=dtInteger W=4 | N=NAME W=13 | N=PRICE T=dtCurrency W=8"
                      " | N=DUE T=dtDate W=4 | N=NOTE T=dtMemo");
    EXPECT_EQ(out[2],
              "row | 1 | \"O'Brien\" | \"$2.50\" => 25000 | \"2024/01/31\" => 45322 | blob:2");
    EXPECT_EQ(out[3], "row | 2 | \"Smith\" | null | null | null");
    EXPECT_EQ(out[4], "end");
    EXPECT_FALSE(Query->Active());
}

TEST_F(QueryConnectionTest, FilterBecomesTheQuerysFilterUntilRestored) {
    Query->Open();
    Query->Last();
    Query->SetFilter("ID > 0");
    Engine("ItemsConn", {"open", "cols", "filter:NAME|=|O'Brien|0;ID|>=|1|1"});
    EXPECT_EQ(Query->Filter(), "[NAME] = 'O''Brien' and [ID] >= '1'");
    EXPECT_TRUE(Query->Filtered());
    EXPECT_EQ(Query->FilterOptions(), TFilterOptions{TFilterOption::foNoPartialCompare});
    EXPECT_EQ(Engine("ItemsConn", {"first", "next", "restore"}).at(1), "end");
    EXPECT_EQ(Query->Filter(), "ID > 0");
    EXPECT_FALSE(Query->Filtered());
    EXPECT_TRUE(Query->Active());
    EXPECT_EQ(Query->FieldByName("ID")->AsInteger(), 2);
    EXPECT_FALSE(Query->ControlsDisabled());
    // An empty list of items turns filtering off.
    Engine("ItemsConn", {"open", "filter:"});
    EXPECT_EQ(Query->Filter(), "");
    EXPECT_FALSE(Query->Filtered());
    Engine("ItemsConn", {"restore"});
}

TEST_F(QueryConnectionTest, HiddenFieldsAreNotServed) {
    Connection->FieldAliasList()->Add("note=");
    Connection->FieldAliasList()->Add("PRICE=Price");
    const auto out = Engine("ItemsConn", {"open", "cols", "first", "restore"});
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[1], "cols 4 | N=ID T=dtInteger W=4 | N=NAME W=13 | N=Price T=dtCurrency W=8"
                      " | N=DUE T=dtDate W=4");
    EXPECT_EQ(out[2], "row | 1 | \"O'Brien\" | \"$2.50\" => 25000 | \"2024/01/31\" => 45322");
}

TEST_F(QueryConnectionTest, EndRightAfterOpenOnlyWhenEmpty) {
    Query->Open();
    Query->Last();
    Query->Next();
    ASSERT_TRUE(Query->Eof());
    EXPECT_EQ(Engine("ItemsConn", {"open", "eof", "restore"}), (Lines{"empty", "eof 0", "empty"}));
    Exec("DELETE FROM RC_ITEM");
    Query->Close();
    EXPECT_EQ(Engine("ItemsConn", {"open", "eof", "first", "restore"}),
              (Lines{"empty", "eof 1", "end", "empty"}));
}

TEST_F(QueryConnectionTest, LabelsAndHeldControlsWhileServing) {
    Query->Open();
    Query->FieldByName("NAME")->SetDisplayLabel("Name of item");
    Query->FieldByName("ID")->SetDisplayLabel("ID");
    const auto out = Engine("ItemsConn", {"open", "cols"});
    EXPECT_EQ(out.at(1), "cols 5 | N=ID T=dtInteger W=4 | N=NAME W=13 L=Name of item"
                         " | N=PRICE T=dtCurrency W=8 | N=DUE T=dtDate W=4 | N=NOTE T=dtMemo");
    EXPECT_TRUE(Query->ControlsDisabled());
    Engine("ItemsConn", {"restore"});
    EXPECT_FALSE(Query->ControlsDisabled());
}

// An open that fails half-way is undone by the restore that follows it.
TEST_F(QueryConnectionTest, RestoreUndoesAFailedOpen) {
    Query->SQL()->Clear();
    Query->SQL()->Add("SELECT * FROM NO_SUCH_TABLE");
    Query->SetFilter("ID > 1");
    EXPECT_EQ(Engine("ItemsConn", {"open", "filter:NAME|=|x|0", "restore"}),
              (Lines{"empty", "empty", "empty"}));
    EXPECT_FALSE(Query->Active());
    EXPECT_FALSE(Query->ControlsDisabled());
    EXPECT_EQ(Query->Filter(), "ID > 1");
    EXPECT_FALSE(Query->Filtered());
}

// An engine that opens twice before its restore still gets the user's query
// back as it was before the first open.
TEST_F(QueryConnectionTest, RestoreAfterTwoOpensPutsBackTheFirstState) {
    Query->SetFilter("ID > 1");
    EXPECT_EQ(Engine("ItemsConn", {"open", "filter:NAME|=|Smith|0", "open", "restore"}),
              (Lines{"empty", "empty", "empty", "empty"}));
    EXPECT_FALSE(Query->Active());
    EXPECT_FALSE(Query->ControlsDisabled());
    EXPECT_EQ(Query->Filter(), "ID > 1");
    EXPECT_FALSE(Query->Filtered());
}

// A restore without an open before it leaves the query as it is.
TEST_F(QueryConnectionTest, RestoreWithoutOpenChangesNothing) {
    Query->Open();
    Query->Last();
    Query->SetFilter("ID > 1");
    Query->SetFiltered(true);
    EXPECT_EQ(Engine("ItemsConn", {"restore"}), (Lines{"empty"}));
    EXPECT_TRUE(Query->Active());
    EXPECT_TRUE(Query->Filtered());
    EXPECT_EQ(Query->Filter(), "ID > 1");
    EXPECT_EQ(Query->FieldByName("ID")->AsInteger(), 2);
}

// Once its query is gone, the connection serves no columns and no rows.
TEST_F(QueryConnectionTest, QueryGoneServesNothing) {
    delete Query;
    EXPECT_EQ(Connection->Query(), nullptr);
    EXPECT_EQ(Engine("ItemsConn", {"open", "cols", "first", "next", "eof", "restore"}),
              (Lines{"empty", "cols 0", "end", "end", "eof 1", "empty"}));
}

TEST_F(QueryConnectionTest, TableTakesTheEnginesOrderAndRange) {
    Exec("INSERT INTO RC_ITEM VALUES (3, 'Adams', 1, NULL, NULL)");
    auto* table = new TTable(Owner);
    table->SetDatabaseName("Shop");
    table->SetTableName("RC_ITEM");
    auto* c = new TDcTableConnection(Owner);
    c->SetName("TableConn");
    c->SetTable(table);
    c->SetUseSetRange(true);
    c->SetRuntimeVisibility(rtEndUser);
    EXPECT_FALSE(c->LocalFilter());
    auto rows = [&](const std::string& Filter) {
        auto out = Engine("TableConn",
                          {"open", "cols", "raw:" + Int(8) + Str("NAME") + Str("ID") + Str(""),
                           Filter, "first", "next", "next", "next", "restore"});
        for (auto& line : out)
            line = line.substr(0, line.find(" | ", 6));
        return Lines(out.begin() + 4, out.end() - 1);
    };
    EXPECT_EQ(rows("filter:"), (Lines{"row | 3", "row | 1", "row | 2", "end"}));
    EXPECT_EQ(rows("filter:NAME|=|O'Brien|0"), (Lines{"row | 1", "end", "end", "end"}));
}

// While the engine reads a detail table it sees every row; restoring puts the
// master back, even after a second open.
TEST_F(QueryConnectionTest, DetailTableIsServedWhole) {
    Exec("INSERT INTO RC_ITEM VALUES (3, 'Adams', 1, NULL, NULL)");
    Query->SQL()->Clear();
    Query->SQL()->Add("SELECT ID FROM RC_ITEM WHERE ID = 2");
    Query->Open();
    auto* source = new TDataSource(Owner);
    source->SetDataSet(Query);
    auto* table = new TTable(Owner);
    table->SetDatabaseName("Shop");
    table->SetTableName("RC_ITEM");
    table->SetIndexFieldNames("ID");
    table->SetMasterSource(source);
    table->SetMasterFields("ID");
    table->Open();
    ASSERT_EQ(table->RecordCount(), 1);
    auto* c = new TDcTableConnection(Owner);
    c->SetName("Detail");
    c->SetTable(table);
    c->SetRuntimeVisibility(rtEndUser);
    auto out =
        Engine("Detail", {"open", "open", "cols", "first", "next", "next", "next", "restore"});
    out.erase(out.begin());
    for (auto& line : out)
        line = line.substr(0, line.find(" | ", 6));
    EXPECT_EQ(Lines(out.begin() + 2, out.end()),
              (Lines{"row | 1", "row | 2", "row | 3", "end", "empty"}));
    EXPECT_EQ(table->MasterSource(), source);
    EXPECT_EQ(table->MasterFields(), "ID");
    EXPECT_EQ(table->RecordCount(), 1);
}

TEST(FieldTypeToRPDataTypeTest, MapsEveryFieldType) {
    const std::vector<std::pair<TFieldType, TRPDataType>> cases = {
        {TFieldType::ftUnknown, dtString},   {TFieldType::ftString, dtString},
        {TFieldType::ftSmallint, dtInteger}, {TFieldType::ftWord, dtInteger},
        {TFieldType::ftAutoInc, dtInteger},  {TFieldType::ftBoolean, dtBoolean},
        {TFieldType::ftFloat, dtFloat},      {TFieldType::ftCurrency, dtCurrency},
        {TFieldType::ftBCD, dtBCD},          {TFieldType::ftDate, dtDate},
        {TFieldType::ftTime, dtTime},        {TFieldType::ftDateTime, dtDateTime},
        {TFieldType::ftMemo, dtMemo},        {TFieldType::ftGraphic, dtGraphic},
        {TFieldType::ftLargeint, dtInt64},   {TFieldType::ftBlob, dtBlob},
        {TFieldType::ftBytes, dtBlob},       {TFieldType::ftFmtMemo, dtBlob},
    };
    for (const auto& [field, rp] : cases)
        EXPECT_EQ(FieldTypeToRPDataType(field), rp) << static_cast<int>(field);
}

} // namespace
