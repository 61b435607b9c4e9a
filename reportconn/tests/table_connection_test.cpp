#include "ConnectionTest.h"

#include "platform/data/DataSource.h"
#include "platform/data/Database.h"
#include "reportconn/DcTableConnection.h"

using namespace reportconn;
using Lines = std::vector<std::string>;

namespace {

// Parts kept in bins: a detail table that a form shows for the current bin.
class TableConnectionTest : public ConnectionTest {
protected:
    void SetUp() override {
        ConnectionTest::SetUp();
        Exec("create table Bins (BinNbr integer);"
             "insert into Bins values (1), (2);"
             "create table Parts (Code varchar(10) collate nocase, BinNbr integer, Qty integer);"
             "insert into Parts values ('c1', 1, 5), ('A2', 2, 1), ('b3', 1, 9), ('d4', 2, 2),"
             " ('E5', 1, 3)");
        NewDatabase();
        Bins = NewTable("Bins", "BinNbr");
        BinSource = new TDataSource(Owner);
        BinSource->SetDataSet(Bins);
        Parts = NewTable("Parts", "BinNbr;Code");
        Parts->SetMasterSource(BinSource);
        Parts->SetMasterFields("BinNbr");
        Bins->Open();
        Parts->Open();
    }

    TTable* NewTable(const char* Name, const char* Index) {
        auto* table = new TTable(Owner);
        table->SetDatabaseName("Shop");
        table->SetTableName(Name);
        table->SetIndexFieldNames(Index);
        return table;
    }

    Lines Codes() {
        Lines codes;
        for (Parts->First(); !Parts->Eof(); Parts->Next())
            codes.push_back(Parts->FieldByName("Code")->AsString());
        return codes;
    }

    TTable* Bins = nullptr;
    TDataSource* BinSource = nullptr;
    TTable* Parts = nullptr;
};

// The set-sort request with these index field names.
std::string SortBy(std::initializer_list<const char*> Names) {
    std::string raw = Int(8);
    for (const char* name : Names)
        raw += Str(name);
    return "raw:" + raw + Str("");
}

TEST_F(TableConnectionTest, ServesTheWholeTableInTheEnginesOrderAndRestoresTheForm) {
    struct Case {
        const char* Name;
        bool UseSetRange;
        std::vector<std::string> Steps;
        Lines Rows;
    };
    const Case cases[] = {
        // The range is on the leading index field, over the rows of every bin.
        {"range",
         true,
         {SortBy({"BinNbr", "Code"}), "filter:BinNbr|=|2|1"},
         {"row | \"A2\" | 2 | 1", "row | \"d4\" | 2 | 2"}},
        {"filter",
         false,
         {SortBy({"Qty"}), "filter:BinNbr|=|1|1"},
         {"row | \"E5\" | 1 | 3", "row | \"c1\" | 1 | 5", "row | \"b3\" | 1 | 9"}},
        // A range on a field the index does not lead with fails as a whole.
        {"bad range",
         true,
         {SortBy({"Code"}), "filter:Qty|=|1|1"},
         {"row | \"A2\" | 2 | 1", "row | \"b3\" | 1 | 9", "row | \"c1\" | 1 | 5",
          "row | \"d4\" | 2 | 2", "row | \"E5\" | 1 | 3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        auto* conn = new TDcTableConnection(Owner);
        conn->SetName("Parts");
        conn->SetTable(Parts);
        conn->SetUseSetRange(c.UseSetRange);
        conn->SetRuntimeVisibility(rtEndUser);
        std::vector<std::string> steps{"open", "cols", "sorts"};
        steps.insert(steps.end(), c.Steps.begin(), c.Steps.end());
        for (std::size_t i = 0; i <= c.Rows.size(); ++i)
            steps.push_back(i == 0 ? "first" : "next");
        steps.push_back("restore");
        Lines expected{"empty",
                       "cols 3 | N=Code W=11 | N=BinNbr T=dtInteger W=4 | N=Qty T=dtInteger W=4",
                       "sorts", "empty", "empty"}; // a table offers no sorts
        expected.insert(expected.end(), c.Rows.begin(), c.Rows.end());
        expected.insert(expected.end(), {"end", "empty"});
        EXPECT_EQ(Engine("Parts", steps), expected);

        // The form's detail is as it was: on its master, in its order, unranged.
        EXPECT_EQ(Parts->State(), dsBrowse);
        EXPECT_EQ(Parts->MasterSource(), BinSource);
        EXPECT_EQ(Parts->IndexFieldNames(), "BinNbr;Code");
        EXPECT_FALSE(Parts->RangeApplied());
        EXPECT_FALSE(Parts->Filtered());
        EXPECT_EQ(Codes(), (Lines{"b3", "c1", "E5"}));
        delete conn;
    }
}

TEST_F(TableConnectionTest, ForgetsATableOrMasterThatIsFreed) {
    auto* conn = new TDcTableConnection(Owner);
    conn->SetName("Parts");
    conn->SetTable(Parts);
    conn->SetRuntimeVisibility(rtEndUser);
    EXPECT_EQ(Engine("Parts", {"open"}), (Lines{"empty"}));
    delete BinSource; // while the connection holds the detached master
    EXPECT_EQ(Engine("Parts", {"restore"}), (Lines{"empty"}));
    EXPECT_EQ(Parts->MasterSource(), nullptr);
    delete Parts;
    EXPECT_EQ(conn->Table(), nullptr);
    EXPECT_EQ(Engine("Parts", {"open", "cols", "first", "restore"}),
              (Lines{"empty", "cols 0", "end", "empty"}));
}

} // namespace
