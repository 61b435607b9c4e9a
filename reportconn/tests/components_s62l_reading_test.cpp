// A report engine's conversations with custom, query and table connections:
// aliases, the local filter, the defaults, and what the user's dataset looks
// like once the engine has opened and restored it.
#include "ConnectionTest.h"

#include "platform/classes/Filer.h"
#include "platform/classes/ObjectText.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"
#include "platform/rtl/Streams.h"
#include "reportconn/DcDataSetConnection.h"
#include "reportconn/DcTableConnection.h"

#include "platform/sys/NamedMutex.h"
#include "reportconn/DataConnectManager.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace reportconn;

namespace {

using Lines = std::vector<std::string>;

class ComponentsReading : public ConnectionTest {
protected:
    TDcCustomConnection* Custom(const AnsiString& Name) {
        auto* c = new TDcCustomConnection(Owner);
        c->SetName(Name);
        return c;
    }

    // Three rows of a string, an integer and a string column.
    void ServeRows(TDcCustomConnection* C, std::vector<std::string> Names = {"a", "b", "c"}) {
        C->OnOpen = [](TDcCustomConnection* Cn) {
            Cn->SetRowCount(3);
            Cn->SetRowIndex(0);
        };
        C->OnGetCols = [Names](TDcCustomConnection* Cn) {
            Cn->DefineColumn(Names[0], dtString, "", "", 30);
            Cn->DefineColumn(Names[1], dtInteger, "", "", 0);
            Cn->DefineColumn(Names[2], dtString, "", "", 50);
        };
        C->OnGetRow = [](TDcCustomConnection* Cn) {
            const int i = Cn->RowIndex();
            Cn->WriteStringValue("", "r" + std::to_string(i));
            if (i == 1)
                Cn->WriteNullValue();
            else
                Cn->WriteIntegerValue("", i * 10);
            Cn->WriteStringValue("", "z" + std::to_string(i));
        };
    }
};

TEST_F(ComponentsReading, AliasesRenameHideAndSkipColumns) {
    struct Case {
        std::vector<std::string> Aliases;
        std::string Cols, First;
    };
    const Case cases[] = {
        {{}, "cols 3 | N=a W=30 | N=b T=dtInteger | N=c W=50", "row | \"r0\" | 0 | \"z0\""},
        // Name part trimmed and compared without case; the first line wins.
        {{" A = Alpha ", "a=Other"},
         "cols 3 | N=Alpha W=30 | N=b T=dtInteger | N=c W=50",
         "row | \"r0\" | 0 | \"z0\""},
        // An empty alias hides the column; its value is stepped over.
        {{"b="}, "cols 2 | N=a W=30 | N=c W=50", "row | \"r0\" | \"z0\""},
        {{"a= ", "c=Cee"}, "cols 2 | N=b T=dtInteger | N=Cee W=50", "row | 0 | \"z0\""},
    };
    int n = 0;
    for (const auto& k : cases) {
        const std::string name = "Alias" + std::to_string(++n);
        auto* c = Custom(name);
        ServeRows(c);
        for (const auto& line : k.Aliases)
            c->FieldAliasList()->Add(line);
        c->SetRuntimeVisibility(rtDeveloper);
        const Lines out = Engine(name, {"connect", "open", "cols", "first"});
        ASSERT_EQ(out.size(), 4u) << name;
        EXPECT_EQ(out[2], k.Cols) << name;
        EXPECT_EQ(out[3], k.First) << name;
        delete c;
    }
}

TEST_F(ComponentsReading, LocalFilterSkipsRowsThatDifferAndNulls) {
    struct Case {
        std::string Filter;
        Lines Rows; // first, next, next
    };
    const Case cases[] = {
        // The name matches without case; the operator plays no part.
        {"filter:A|<>|r2|0", {"row | \"r2\" | 20 | \"z2\"", "end", "end"}},
        // A null never matches a filter value on its column.
        {"filter:b|=|10|1", {"end", "end", "end"}},
        {"filter:b|=|20|1", {"row | \"r2\" | 20 | \"z2\"", "end", "end"}},
        // Items for an unknown column or of another type are dropped.
        // Strings compare with case.
        {"filter:a|=|R2|0", {"end", "end", "end"}},
        {"filter:c|=|z0|0;b|=|0|1", {"row | \"r0\" | 0 | \"z0\"", "end", "end"}},
        {"filter:nope|=|x|0;c|=|5|1",
         {"row | \"r0\" | 0 | \"z0\"", "row | \"r1\" | null | \"z1\"",
          "row | \"r2\" | 20 | \"z2\""}},
    };
    int n = 0;
    for (const auto& k : cases) {
        const std::string name = "Filter" + std::to_string(++n);
        auto* c = Custom(name);
        ServeRows(c);
        c->SetRuntimeVisibility(rtDeveloper);
        const Lines out =
            Engine(name, {"connect", "open", "cols", k.Filter, "first", "next", "next"});
        ASSERT_EQ(out.size(), 7u) << name;
        EXPECT_EQ(out[3], "empty") << name;
        EXPECT_EQ(Lines(out.begin() + 4, out.end()), k.Rows) << k.Filter;
        delete c;
    }
}

std::string Hex(const void* Bytes, std::size_t Count) {
    std::string hex;
    char b[3];
    for (std::size_t i = 0; i < Count; ++i) {
        std::snprintf(b, sizeof b, "%02x", static_cast<const unsigned char*>(Bytes)[i]);
        hex += b;
    }
    return hex;
}

TEST_F(ComponentsReading, LocalFilterOnTypedValues) {
    auto* c = Custom("Typed");
    c->OnOpen = [](TDcCustomConnection* Cn) { Cn->SetRowCount(3); };
    c->OnGetCols = [](TDcCustomConnection* Cn) {
        Cn->DefineColumn("f", dtFloat, "", "", 0);
        Cn->DefineColumn("d", dtDateTime, "", "", 0);
        Cn->DefineColumn("k", dtInt64, "", "", 0);
        Cn->DefineColumn("m", dtCurrency, "", "", 0);
        Cn->DefineColumn("t", dtBoolean, "", "", 0);
    };
    c->OnGetRow = [](TDcCustomConnection* Cn) {
        const int i = Cn->RowIndex();
        Cn->WriteFloatValue("", i * 1.5);
        Cn->WriteDateTimeValue("", TDateTime(45000.25 + i));
        Cn->WriteInt64Value("", i * 1000000000000LL);
        Cn->WriteCurrencyValue("", Currency(i));
        Cn->WriteBooleanValue("", i == 1);
    };
    c->SetRuntimeVisibility(rtDeveloper);
    auto item = [](const char* Name, int Type, const void* Value, std::size_t Size) {
        return Str(Name) + Str("=") + Str("") + Int(Type) + Hex(Value, Size);
    };
    std::uint8_t ext[10];
    DoubleToExtended(3.0, ext);
    const double date = 45002.25;
    const std::int64_t big = 2000000000000LL, money = 20000;
    const std::uint8_t yes = 1;
    const std::string filters[] = {
        item("f", 3, ext, 10),   item("d", 8, &date, 8), item("k", 12, &big, 8),
        item("m", 4, &money, 8), item("t", 2, &yes, 1),
    };
    const std::string rows[] = {"row | 3 | 45002.2 | 2000000000000 | 20000 | false",
                                "row | 3 | 45002.2 | 2000000000000 | 20000 | false",
                                "row | 3 | 45002.2 | 2000000000000 | 20000 | false",
                                "row | 3 | 45002.2 | 2000000000000 | 20000 | false",
                                "row | 1.5 | 45001.2 | 1000000000000 | 10000 | true"};
    for (int i = 0; i < 5; ++i) {
        const Lines out =
            Engine("Typed", {"connect", "open", "cols", "raw:" + Int(6) + filters[i] + Str(""),
                             "first", "next", "disconnect"});
        ASSERT_EQ(out.size(), 7u) << i;
        EXPECT_EQ(out[3], "empty") << i;
        EXPECT_EQ(out[4], rows[i]) << i;
        EXPECT_EQ(out[5], "end") << i;
    }
}

TEST_F(ComponentsReading, LaterFilterAndRowValidation) {
    auto* c = Custom("Valid");
    ServeRows(c);
    c->OnValidateRow = [](TDcCustomConnection* Cn, bool& Valid) { Valid = Cn->RowIndex() != 0; };
    c->SetRuntimeVisibility(rtDeveloper);
    const Lines out = Engine("Valid", {"connect", "open", "cols", "filter:a|=|r1|0", "first",
                                       "raw:" + Int(6) + Str(""), "first", "next", "next"});
    ASSERT_EQ(out.size(), 9u);
    EXPECT_EQ(out[4], "row | \"r1\" | null | \"z1\"");
    EXPECT_EQ(out[5], "empty");
    EXPECT_EQ(out[6], "row | \"r1\" | null | \"z1\"");
    EXPECT_EQ(out[7], "row | \"r2\" | 20 | \"z2\"");
    EXPECT_EQ(out[8], "end");
}

TEST_F(ComponentsReading, DisplayTextGoesAlongOnlyWhenItDiffers) {
    auto* c = Custom("Shown");
    c->OnGetCols = [](TDcCustomConnection* Cn) {
        Cn->DefineColumn("s1", dtString, "", "", 0);
        Cn->DefineColumn("s2", dtString, "", "", 0);
        Cn->DefineColumn("i1", dtInteger, "", "", 0);
        Cn->DefineColumn("i2", dtInteger, "", "", 0);
        Cn->DefineColumn("b", dtBoolean, "", "", 0);
        Cn->DefineColumn("n", dtInteger, "", "", 0);
    };
    c->OnGetRow = [](TDcCustomConnection* Cn) {
        Cn->WriteStringValue("x", "x");
        Cn->WriteStringValue("Ex", "x");
        Cn->WriteIntegerValue("5", 5);
        Cn->WriteIntegerValue("five", 5);
        Cn->WriteBooleanValue("", true);
        Cn->WriteNullValue();
    };
    c->SetRuntimeVisibility(rtDeveloper);
    const Lines out = Engine("Shown", {"connect", "open", "cols", "first"});
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[3], "row | \"x\" | \"Ex\" => \"x\" | 5 | \"five\" => 5 | true | null");
}

TEST_F(ComponentsReading, ARenamedConnectionAnswersUnderItsNewName) {
    auto* c = Custom("Before");
    c->SetRuntimeVisibility(rtDeveloper);
    c->SetName("After");
    const Lines out = Engine("After", {"connect", "handshake", "open", "eof"});
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[1], "handshake After runtime=1 version=30003 visibility=1 identity=set");
    EXPECT_EQ(out[3], "eof 0");
}

TEST_F(ComponentsReading, DestroyingWhileTheEngineHoldsTheMutexStillEnds) {
    auto* c = Custom("Held");
    c->SetRuntimeVisibility(rtDeveloper);
    std::atomic<bool> taken{false}, done{false};
    std::thread holder([&] {
        TNamedMutex m(RDCControler);
        m.WaitFor(1000);
        taken = true;
        while (!done)
            std::this_thread::yield();
        m.Release();
    });
    while (!taken)
        std::this_thread::yield();
    delete c;
    done = true;
    holder.join();
    EXPECT_EQ(DataConnectManager().Count(), 0);
}

TEST_F(ComponentsReading, DefaultsOfABareConnection) {
    auto* c = Custom("Bare");
    c->SetRuntimeVisibility(rtEndUser);
    const Lines out =
        Engine("Bare", {"connect", "open", "cols", "eof", "first", "hex", "sorts", "next", "eof"});
    ASSERT_EQ(out.size(), 9u);
    EXPECT_EQ(out[0], "handshake Bare runtime=1 version=30003 visibility=2 identity=set");
    EXPECT_EQ(out[2], "cols 1 | N=FieldName W=30 L=FieldName");
    EXPECT_EQ(out[3], "eof 0");
    // The row holds the text but no offset points at it.
    EXPECT_EQ(out[4], "row | -");
    const std::string text = "[Inactive at design-time]";
    std::string hex;
    for (unsigned char ch : text) {
        char b[3];
        std::snprintf(b, sizeof b, "%02x", ch);
        hex += b;
    }
    EXPECT_NE(out[5].find(hex), std::string::npos) << out[5];
    EXPECT_EQ(out[6], "sorts \"\"");
    EXPECT_EQ(out[7], "end");
    EXPECT_EQ(out[8], "eof 1");
}

TEST_F(ComponentsReading, EndAnsweredAtOnceSendsOnlyTheEndByte) {
    auto* c = Custom("AtEnd");
    ServeRows(c);
    int rows = 0;
    c->OnGetRow = [&rows](TDcCustomConnection*) { ++rows; };
    c->OnEOF = [](TDcCustomConnection*, bool& Eof) { Eof = true; };
    c->SetRuntimeVisibility(rtDeveloper);
    const Lines out = Engine("AtEnd", {"connect", "open", "cols", "first", "hex"});
    ASSERT_EQ(out.size(), 5u);
    EXPECT_EQ(out[3], "end");
    EXPECT_EQ(rows, 0);
}

TEST_F(ComponentsReading, VisibilityStartsListening) {
    struct Case {
        bool Visible;
        TRuntimeVisibility Set;
        bool Listens;
        TRuntimeVisibility Ends;
    };
    const Case cases[] = {
        {false, rtNone, false, rtNone},
        {false, rtDeveloper, true, rtDeveloper},
        {false, rtEndUser, true, rtEndUser},
        {true, rtNone, true, rtEndUser},
    };
    for (const auto& k : cases) {
        auto* c = Custom("Vis");
        EXPECT_EQ(c->RuntimeVisibility(), rtDeveloper);
        EXPECT_FALSE(c->Listening());
        if (k.Visible)
            c->ReadVisible(true);
        else
            c->SetRuntimeVisibility(k.Set);
        EXPECT_EQ(c->Listening(), k.Listens);
        EXPECT_EQ(c->RuntimeVisibility(), k.Ends);
        delete c;
    }
}

TEST_F(ComponentsReading, AtDesignTimeItListensAtOnce) {
    // A form the way the designer holds it.
    struct DesignedForm : TComponent {
        using TComponent::SetDesigning;
        using TComponent::TComponent;
    } form(nullptr);
    form.SetDesigning(true);
    auto* c = new TDcCustomConnection(&form);
    EXPECT_FALSE(c->RunTime());
    EXPECT_TRUE(c->Listening());
    EXPECT_EQ(c->RuntimeVisibility(), rtDeveloper);
    EXPECT_EQ(c->Version(), "1.0.0");
    c->SetVersion("9");
    EXPECT_EQ(c->Version(), "1.0.0");
}

TEST_F(ComponentsReading, WritersNameTheirFaults) {
    auto* c = Custom("Faults");
    std::vector<std::string> seen;
    int step = 0;
    c->OnGetCols = [](TDcCustomConnection* Cn) {
        Cn->DefineColumn("a", dtString, "", "", 0);
        Cn->DefineColumn("b", dtInteger, "", "", 0);
    };
    c->OnGetRow = [&](TDcCustomConnection* Cn) {
        try {
            if (step++ == 0) {
                Cn->WriteStringValue("", "x");
                Cn->WriteStringValue("", "y");
            } else {
                Cn->WriteStringValue("", "x");
                Cn->WriteIntegerValue("", 1);
                Cn->WriteIntegerValue("", 2);
            }
        } catch (const EReportPrinter& E) {
            seen.push_back(E.Message);
            throw;
        }
    };
    c->SetRuntimeVisibility(rtDeveloper);
    const Lines out = Engine("Faults", {"connect", "open", "cols", "row", "row", "eof"});
    ASSERT_EQ(out.size(), 6u);
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "Attempt to write different data type than defined (Column 2/2).",
                        "Attempt to write more fields than defined."}));
    // The failing commands were still answered and the next one served.
    EXPECT_EQ(out[5], "eof 0");
}

TEST(FieldTypeMapping, EveryFieldTypeHasAColumnType) {
    struct Case {
        TRPDataType To;
        std::vector<TFieldType> From;
    };
    const Case cases[] = {
        {dtString, {ftUnknown, ftString, ftFixedChar, ftWideString, ftGuid}},
        {dtInteger, {ftSmallint, ftInteger, ftWord, ftAutoInc}},
        {dtBoolean, {ftBoolean}},
        {dtFloat, {ftFloat}},
        {dtCurrency, {ftCurrency}},
        {dtBCD, {ftBCD}},
        {dtDate, {ftDate}},
        {dtTime, {ftTime}},
        {dtDateTime, {ftDateTime}},
        {dtMemo, {ftMemo}},
        {dtGraphic, {ftGraphic}},
        {dtInt64, {ftLargeint}},
        {dtBlob,
         {ftBytes, ftVarBytes, ftBlob, ftFmtMemo, ftParadoxOle, ftDBaseOle, ftTypedBinary, ftCursor,
          ftADT, ftArray, ftReference, ftDataSet, ftOraBlob, ftOraClob, ftVariant, ftInterface,
          ftIDispatch}},
    };
    for (const auto& k : cases)
        for (TFieldType t : k.From)
            EXPECT_EQ(FieldTypeToRPDataType(t), k.To) << static_cast<int>(t);
}

class DataSetReading : public ComponentsReading {
protected:
    void SetUp() override {
        ComponentsReading::SetUp();
        Exec("CREATE TABLE RC_ITEM (ID INTEGER PRIMARY KEY, NAME VARCHAR(20), QTY INTEGER)");
        Exec("INSERT INTO RC_ITEM VALUES (1, 'bolt', 5), (2, 'nut', NULL), (3, 'it''s', 7)");
        NewDatabase();
    }

    TQuery* NewQuery(const AnsiString& Sql) {
        auto* q = new TQuery(Owner);
        q->SetDatabaseName("Shop");
        q->SQL()->Add(Sql);
        return q;
    }

    TDcQueryConnection* ServeQuery(TQuery* Q, const AnsiString& Name) {
        auto* c = new TDcQueryConnection(Owner);
        c->SetName(Name);
        c->SetQuery(Q);
        c->SetRuntimeVisibility(rtDeveloper);
        return c;
    }
};

TEST_F(DataSetReading, QueryIsServedAndFilteredByTheEngine) {
    auto* q = NewQuery("SELECT ID, NAME, QTY FROM RC_ITEM ORDER BY ID");
    q->Open();
    q->FieldByName("QTY")->SetDisplayLabel("Quantity");
    q->FieldByName("ID")->SetDisplayLabel("ID");
    ServeQuery(q, "Items");
    const Lines out =
        Engine("Items", {"connect", "open", "cols", "first", "next", "next", "next",
                         "filter:NAME|=|it's|0;ID|=|3|1", "first", "next", "sorts", "restore"});
    ASSERT_EQ(out.size(), 12u);
    EXPECT_EQ(out[2],
              "cols 3 | N=ID T=dtInteger W=4 | N=NAME W=21 | N=QTY T=dtInteger W=4 L=Quantity");
    EXPECT_EQ(out[3], "row | 1 | \"bolt\" | 5");
    EXPECT_EQ(out[4], "row | 2 | \"nut\" | null");
    EXPECT_EQ(out[5], "row | 3 | \"it's\" | 7");
    EXPECT_EQ(out[6], "end");
    EXPECT_EQ(out[7], "empty");
    EXPECT_EQ(out[8], "row | 3 | \"it's\" | 7");
    EXPECT_EQ(out[9], "end");
    // A query lists no sorts.
    EXPECT_EQ(out[10], "sorts");
    EXPECT_EQ(out[11], "empty");
}

TEST_F(DataSetReading, EveryFieldKindIsServedWithItsDisplayText) {
    Exec("CREATE TABLE RC_KIND (S VARCHAR(5), N SMALLINT, B BIT, F DOUBLE, M MONEY, D DATE, "
         "T TIMESTAMP)");
    Exec("INSERT INTO RC_KIND VALUES ('ab', 7, 1, 2.5, 12.34, '2024/12/31', '2024/12/31 "
         "06:00:00')");
    auto* q = NewQuery("SELECT * FROM RC_KIND");
    q->Open();
    q->FieldByName("N")->OnGetText = [](TField*, AnsiString& Text, bool) { Text = "seven"; };
    auto* c = ServeQuery(q, "Kinds");
    c->FieldAliasList()->Add("B=");
    const Lines out = Engine("Kinds", {"connect", "open", "cols", "first", "restore"});
    ASSERT_EQ(out.size(), 5u);
    EXPECT_EQ(out[2], "cols 6 | N=S W=6 | N=N T=dtInteger W=2 | N=F T=dtFloat W=8 | N=M "
                      "T=dtCurrency W=8 | N=D T=dtDate W=4 | N=T T=dtDateTime W=8");
    // The hidden Boolean is stepped over; display texts go along where they
    // differ from the value's own text.
    EXPECT_EQ(out[3], "row | \"ab\" | \"seven\" => 7 | 2.5 | \"$12.34\" => 123400 | "
                      "\"2024/12/31\" => 45657 | \"2024/12/31 06:00:00\" => 45657.2");
}

TEST_F(DataSetReading, AFreedDataSetLeavesNothingBehind) {
    auto* q = NewQuery("SELECT ID FROM RC_ITEM");
    auto* c = ServeQuery(q, "Freed");
    delete q;
    EXPECT_EQ(c->Query(), nullptr);
    const Lines out = Engine("Freed", {"connect", "open", "cols", "first", "restore"});
    ASSERT_EQ(out.size(), 5u);
    // Nothing to serve: no columns, and the end at once.
    EXPECT_EQ(out[1], "empty");
    EXPECT_EQ(out[2], "cols 0");
    EXPECT_EQ(out[3], "end");
}

TEST_F(DataSetReading, EndRightAfterOpenOnlyWhenEmpty) {
    struct Case {
        std::string Where;
        bool UserOpenedAtEnd;
        std::string Eof, First;
    };
    const Case cases[] = {
        {"ID > 100", false, "eof 1", "end"},
        {"ID > 100", true, "eof 1", "end"},
        {"ID = 2", true, "eof 0", "row | 2 | \"nut\" | null"},
        {"ID >= 2", true, "eof 0", "row | 2 | \"nut\" | null"},
    };
    int n = 0;
    for (const auto& k : cases) {
        const std::string name = "End" + std::to_string(++n);
        auto* q = NewQuery(
            ("SELECT ID, NAME, QTY FROM RC_ITEM WHERE " + k.Where + " ORDER BY ID").c_str());
        if (k.UserOpenedAtEnd) {
            q->Open();
            q->Last();
            q->Next();
        }
        auto* c = ServeQuery(q, name.c_str());
        const Lines out = Engine(name, {"connect", "open", "cols", "eof", "first", "restore"});
        ASSERT_EQ(out.size(), 6u) << name;
        EXPECT_EQ(out[3], k.Eof) << name;
        EXPECT_EQ(out[4], k.First) << name;
        delete c;
        delete q;
    }
}

TEST_F(DataSetReading, RestoreGivesTheUserTheirDataSetBack) {
    struct Case {
        bool Active;
        Lines Steps;
    };
    const Case cases[] = {
        {true, {"open", "cols", "filter:NAME|=|bolt|0", "first", "restore"}},
        {false, {"open", "cols", "filter:NAME|=|bolt|0", "first", "restore"}},
        // A second open before the restore must not take the engine's state
        // for the user's.
        {true, {"open", "cols", "filter:NAME|=|bolt|0", "first", "open", "restore"}},
        {false, {"open", "filter:NAME|=|bolt|0", "open", "first", "restore"}},
        // A restore without an open changes nothing.
        {true, {"restore"}},
    };
    int n = 0;
    for (const auto& k : cases) {
        const std::string name = "Back" + std::to_string(++n);
        auto* q = NewQuery("SELECT ID, NAME, QTY FROM RC_ITEM ORDER BY ID");
        q->SetFilter("QTY > 0");
        q->SetFiltered(true);
        if (k.Active) {
            q->Open();
            q->Next();
        }
        auto* c = ServeQuery(q, name.c_str());
        Lines steps{"connect"};
        steps.insert(steps.end(), k.Steps.begin(), k.Steps.end());
        const Lines out = Engine(name, steps);
        ASSERT_EQ(out.size(), steps.size()) << name;
        EXPECT_EQ(q->Active(), k.Active) << name;
        EXPECT_EQ(q->Filter(), "QTY > 0") << name;
        EXPECT_TRUE(q->Filtered()) << name;
        EXPECT_FALSE(q->ControlsDisabled()) << name;
        if (k.Active) EXPECT_EQ(q->FieldByName("ID")->AsInteger(), 3) << name;
        delete c;
        delete q;
    }
}

TEST_F(DataSetReading, WhatOpenAndRestoreTouchFollowsTheSwitches) {
    struct Case {
        bool Disable, Restore;
        bool DisabledWhileOpen;
        std::string FilterAfter;
    };
    const Case cases[] = {
        {true, true, true, "QTY > 0"},
        {false, true, false, "QTY > 0"},
        {true, false, true, "[NAME] = 'bolt'"},
    };
    int n = 0;
    for (const auto& k : cases) {
        const std::string name = "Switch" + std::to_string(++n);
        SCOPED_TRACE(name);
        auto* q = NewQuery("SELECT ID, NAME, QTY FROM RC_ITEM ORDER BY ID");
        q->SetFilter("QTY > 0");
        q->Open();
        auto* c = ServeQuery(q, name.c_str());
        c->SetDisableDataSource(k.Disable);
        c->SetRestoreDataSet(k.Restore);
        EXPECT_EQ(Engine(name, {"connect", "open", "cols", "filter:NAME|=|bolt|0"}).size(), 4u);
        EXPECT_EQ(q->ControlsDisabled(), k.DisabledWhileOpen);
        EXPECT_EQ(Engine(name, {"restore"}), Lines{"empty"});
        EXPECT_FALSE(q->ControlsDisabled());
        EXPECT_TRUE(q->Active());
        EXPECT_EQ(q->Filter(), k.FilterAfter);
        delete c;
        delete q;
    }
}

TEST_F(DataSetReading, AnOpenThatFailsLeavesTheUsersDataSetAlone) {
    auto* q = NewQuery("SELECT NOPE FROM RC_ITEM");
    q->SetFilter("NOPE > 0");
    auto* c = ServeQuery(q, "Broken");
    const Lines out = Engine("Broken", {"connect", "open", "eof", "restore"});
    ASSERT_EQ(out.size(), 4u);
    EXPECT_FALSE(q->Active());
    EXPECT_FALSE(q->ControlsDisabled());
    EXPECT_EQ(q->Filter(), "NOPE > 0");
    EXPECT_FALSE(q->Filtered());
    delete c;
}

TEST_F(DataSetReading, TableSortAndRangeAndMaster) {
    auto* t = new TTable(Owner);
    t->SetDatabaseName("Shop");
    t->SetTableName("RC_ITEM");
    t->SetIndexFieldNames("ID");
    auto* c = new TDcTableConnection(Owner);
    c->SetName("Tab");
    c->SetTable(t);
    EXPECT_FALSE(c->LocalFilter());
    c->SetUseSetRange(true);
    c->SetRuntimeVisibility(rtDeveloper);
    const Lines out = Engine("Tab", {"connect", "open", "cols", "sorts",
                                     "raw:" + Int(8) + Str("NAME") + Str("ID") + Str(""), "first",
                                     "filter:NAME|=|nut|0", "first", "next", "restore"});
    ASSERT_EQ(out.size(), 10u);
    EXPECT_EQ(out[3], "sorts");
    EXPECT_EQ(out[5], "row | 1 | \"bolt\" | 5");
    EXPECT_EQ(out[7], "row | 2 | \"nut\" | null");
    EXPECT_EQ(out[8], "end");
    EXPECT_EQ(t->IndexFieldNames(), "ID");
    EXPECT_FALSE(t->Active());
}

TEST_F(DataSetReading, DetailTableIsServedWholeAndGetsItsMasterBack) {
    Exec("CREATE TABLE RC_LINE (ITEM_ID INTEGER, LINE INTEGER, NOTE TEXT)");
    Exec("INSERT INTO RC_LINE VALUES (1, 1, 'first note'), (2, 1, NULL), (1, 2, '')");
    auto* master = NewQuery("SELECT ID FROM RC_ITEM ORDER BY ID");
    master->Open();
    auto* source = new TDataSource(Owner);
    source->SetDataSet(master);
    auto* t = new TTable(Owner);
    t->SetDatabaseName("Shop");
    t->SetTableName("RC_LINE");
    t->SetIndexFieldNames("ITEM_ID;LINE");
    t->SetMasterSource(source);
    t->SetMasterFields("ID");
    t->Open();
    auto* c = new TDcTableConnection(Owner);
    c->SetName("Lines");
    c->SetTable(t);
    c->SetRuntimeVisibility(rtDeveloper);
    const Lines out =
        Engine("Lines", {"connect", "open", "cols", "first", "next", "next", "next", "restore"});
    ASSERT_EQ(out.size(), 8u);
    EXPECT_EQ(out[2],
              "cols 3 | N=ITEM_ID T=dtInteger W=4 | N=LINE T=dtInteger W=4 | N=NOTE T=dtMemo");
    EXPECT_EQ(out[3], "row | 1 | 1 | blob:10");
    EXPECT_EQ(out[4], "row | 1 | 2 | blob:0");
    EXPECT_EQ(out[5], "row | 2 | 1 | null");
    EXPECT_EQ(out[6], "end");
    EXPECT_EQ(t->MasterSource(), source);
    EXPECT_EQ(t->MasterFields(), "ID");
    ASSERT_TRUE(t->Active());
    int rows = 0;
    for (t->First(); !t->Eof(); t->Next())
        ++rows;
    EXPECT_EQ(rows, 2);
}

TEST_F(DataSetReading, AFormLoadsConnectionsAndStartsThem) {
    TComponent host(nullptr);
    host.SetName("Host");
    auto* items = new TQuery(&host);
    items->SetName("Items");
    items->SetDatabaseName("Shop");
    items->SQL()->Add("SELECT ID, NAME, QTY FROM RC_ITEM ORDER BY ID");
    const AnsiString form = "object Host: TComponent\n"
                            "  object Conn: TDcQueryConnection\n"
                            "    Query = Items\n"
                            "    RuntimeVisibility = rtEndUser\n"
                            "    FieldAliasList.Strings = (\n"
                            "      'NAME=Item')\n"
                            "  end\n"
                            "  object Old: TDcCustomConnection\n"
                            "    LocalFilter = False\n"
                            "    Visible = True\n"
                            "  end\n"
                            "  object Quiet: TDcTableConnection\n"
                            "    LocalFilter = True\n"
                            "    RuntimeVisibility = rtNone\n"
                            "  end\n"
                            "end\n";
    TStringStream text(form), binary;
    ObjectTextToBinary(&text, &binary);
    binary.SetPosition(0);
    ReadComponentRes(&binary, &host);

    auto* conn = dynamic_cast<TDcQueryConnection*>(host.FindComponent("Conn"));
    auto* old = dynamic_cast<TDcCustomConnection*>(host.FindComponent("Old"));
    auto* quiet = dynamic_cast<TDcTableConnection*>(host.FindComponent("Quiet"));
    ASSERT_TRUE(conn && old && quiet);
    EXPECT_EQ(conn->Query(), items);
    EXPECT_FALSE(conn->LocalFilter());
    ASSERT_EQ(conn->FieldAliasList()->Count(), 1);
    EXPECT_EQ(conn->FieldAliasList()->Strings(0), "NAME=Item");
    EXPECT_TRUE(conn->Listening());
    EXPECT_EQ(old->RuntimeVisibility(), rtEndUser);
    EXPECT_FALSE(old->LocalFilter());
    EXPECT_TRUE(old->Listening());
    EXPECT_EQ(quiet->RuntimeVisibility(), rtNone);
    EXPECT_TRUE(quiet->LocalFilter());
    EXPECT_FALSE(quiet->Listening());

    const Lines out = Engine("Conn", {"connect", "open", "cols", "first", "restore"});
    ASSERT_EQ(out.size(), 5u);
    // Any listener may take the connect signal; the commands go to Conn.
    EXPECT_EQ(out[2], "cols 3 | N=ID T=dtInteger W=4 | N=Item W=21 | N=QTY T=dtInteger W=4");
    EXPECT_EQ(out[3], "row | 1 | \"bolt\" | 5");

    // Written back: the visibility always, the rest where it differs from
    // what the class starts with; never the version.
    TStringStream written, back;
    WriteComponentRes(&written, &host);
    written.SetPosition(0);
    ObjectBinaryToText(&written, &back);
    const std::string saved = back.DataString();
    EXPECT_EQ(saved.find("Version"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("Visible ="), std::string::npos) << saved;
    EXPECT_NE(saved.find("RuntimeVisibility = rtEndUser"), std::string::npos) << saved;
    EXPECT_NE(saved.find("RuntimeVisibility = rtNone"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Query = Items"), std::string::npos) << saved;
    EXPECT_NE(saved.find("'NAME=Item'"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("DisableDataSource"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("UseSetRange"), std::string::npos) << saved;
    const auto lf = [&](const char* Name) {
        const auto at = saved.find(Name);
        const auto end = saved.find("end", at);
        return saved.substr(at, end - at).find("LocalFilter") != std::string::npos;
    };
    EXPECT_FALSE(lf("object Conn"));
    EXPECT_TRUE(lf("object Old"));
    EXPECT_TRUE(lf("object Quiet"));
}

} // namespace
