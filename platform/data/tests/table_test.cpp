#include "platform/data/testing/ShopDbTest.h"

#include "platform/data/DBExceptions.h"
#include "platform/data/DataSource.h"
#include "platform/data/Database.h"
#include "platform/data/Table.h"

#include <gmock/gmock.h>

#include <functional>
#include <vector>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::HasSubstr;
using Codes = std::vector<std::string>;

namespace {

// Parts kept in bins; the codes are mixed case as users type them.
class TableTest : public ShopDbTest {
protected:
    void SetUp() override {
        ShopDbTest::SetUp();
        NewDatabase();
        Exec("create table Bins (BinNbr integer, Label varchar(10));"
             "insert into Bins values (1, 'front'), (2, 'back'), (3, 'empty');"
             "create table Parts (Code varchar(10) collate nocase, BinNbr integer, Made date,"
             " Qty integer);"
             "insert into Parts values ('c1', 1, '2024/03/07', 5), ('A2', 2, '2024/01/15', 1),"
             " ('b3', 1, '2023/12/31', 9), ('d4', 2, '2024/03/07', 2), ('E5', 1, NULL, 3)");
        Parts = new TTable(Owner);
        Parts->SetName("Parts");
        Parts->SetDatabaseName("Shop");
        Parts->SetTableName("Parts");
    }

    static Codes Column(TDataSet* Data, const char* Field = "Code") {
        Codes Values;
        for (Data->First(); !Data->Eof(); Data->Next())
            Values.push_back(Data->FieldByName(Field)->AsString());
        return Values;
    }

    TTable* Parts = nullptr;
};

TEST_F(TableTest, RowsComeInTheOrderOfTheIndexFields) {
    Parts->Open();
    EXPECT_EQ(Column(Parts).size(), 5u);
    // An open table takes a new order at once, starting from its first row.
    Parts->SetIndexFieldNames("Code");
    EXPECT_EQ(Parts->RecNo(), 1);
    EXPECT_THAT(Column(Parts), ElementsAre("A2", "b3", "c1", "d4", "E5"));
    Parts->SetIndexFieldNames("BinNbr; Made ;Code");
    EXPECT_EQ(Parts->IndexFieldCount(), 3);
    EXPECT_THAT(Column(Parts), ElementsAre("E5", "b3", "c1", "A2", "d4"));
}

TEST_F(TableTest, RangesKeepTheRowsBetweenTheirKeys) {
    // Each key lists the values written as text to the leading index fields.
    struct Case {
        std::vector<const char*> Index;
        std::vector<const char*> Start, End;
        Codes Expected;
    };
    const Case cases[] = {
        {{"BinNbr", "Code"}, {"1"}, {"1"}, {"b3", "c1", "E5"}},
        // Text compares as the column does: without case.
        {{"Code"}, {"B"}, {"D4"}, {"b3", "c1", "d4"}},
        {{"Made", "Code"}, {"2024/03/07"}, {"2024/03/07"}, {"c1", "d4"}},
        // A key field by field, in index order: (1, c1) up to (2, A2).
        {{"BinNbr", "Code"}, {"1", "c1"}, {"2", "A2"}, {"c1", "E5", "A2"}},
        // A side without a key is open.
        {{"Qty"}, {"3"}, {}, {"E5", "c1", "b3"}},
        {{"Qty"}, {}, {"2"}, {"A2", "d4"}},
        {{"Code"}, {"x"}, {}, {}},
    };
    for (const Case& c : cases) {
        AnsiString index;
        for (const char* name : c.Index)
            index += (index.empty() ? "" : ";") + AnsiString(name);
        SCOPED_TRACE(index);
        Parts->SetIndexFieldNames(index);
        Parts->Open();
        Parts->SetRangeStart();
        for (std::size_t i = 0; i < c.Start.size(); ++i)
            Parts->FieldByName(c.Index[i])->SetAsString(c.Start[i]);
        Parts->SetRangeEnd();
        for (std::size_t i = 0; i < c.End.size(); ++i)
            Parts->FieldByName(c.Index[i])->SetAsString(c.End[i]);
        Parts->ApplyRange();
        EXPECT_EQ(Parts->State(), dsBrowse);
        EXPECT_THAT(Column(Parts), ElementsAreArray(c.Expected));
        Parts->Close();
    }
}

TEST_F(TableTest, KeyEditingReadsBackItsOwnValuesOnly) {
    Parts->SetIndexFieldNames("BinNbr;Code");
    Parts->Open();
    Parts->SetRangeStart();
    EXPECT_EQ(Parts->State(), dsSetKey);
    EXPECT_TRUE(Parts->FieldByName("BinNbr")->IsNull()) << "the record's value does not show";
    Parts->FieldByName("BinNbr")->SetAsString("2");
    EXPECT_EQ(Parts->FieldByName("BinNbr")->AsInteger(), 2);
    EXPECT_THAT(MessageOf<EDatabaseError>([&] { Parts->FieldByName("Qty")->SetAsInteger(1); }),
                HasSubstr("'Qty' is not an index field"));
    // Text that is no value of the field's kind is refused and names itself.
    EXPECT_THAT(MessageOf<Exception>([&] { Parts->FieldByName("BinNbr")->SetAsString("two"); }),
                HasSubstr("two"));
    Parts->ApplyRange();
    EXPECT_EQ(Parts->FieldByName("BinNbr")->AsInteger(), 2) << "the record shows again";
}

TEST_F(TableTest, ARangeEndsWithCancelCloseOrAnotherIndex) {
    const std::function<void()> endings[] = {
        [&] { Parts->CancelRange(); },
        [&] {
            Parts->Close();
            Parts->Open();
        },
        [&] { Parts->SetIndexFieldNames("Code"); },
    };
    for (const auto& end : endings) {
        Parts->SetIndexFieldNames("BinNbr");
        Parts->Open();
        Parts->SetRangeStart();
        Parts->FieldByName("BinNbr")->SetAsInteger(2);
        Parts->SetRangeEnd();
        Parts->FieldByName("BinNbr")->SetAsInteger(2);
        Parts->ApplyRange();
        ASSERT_EQ(Parts->RecordCount(), 2);
        end();
        EXPECT_FALSE(Parts->RangeApplied());
        EXPECT_EQ(Parts->RecordCount(), 5);
        Parts->Close();
    }
}

TEST_F(TableTest, MisuseIsRefusedWithTheTablesName) {
    struct Case {
        std::function<void()> Call;
        const char* Message;
    };
    auto* source = new TDataSource(Owner);
    source->SetDataSet(Parts);
    const Case cases[] = {
        {[&] { Parts->SetRangeStart(); },
         "Parts: Cannot perform this operation on a closed dataset"},
        {[&] {
             Parts->SetTableName("");
             Parts->Open();
         },
         "Parts: No TableName is set"},
        {[&] { Parts->SetMasterSource(source); }, "Parts: Circular datalinks are not allowed"},
        {[&] {
             Parts->Open();
             Parts->SetTableName("Bins");
         },
         "Parts: Cannot perform this operation on an open dataset"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MessageOf<EDatabaseError>(c.Call), c.Message);
        Parts->Close();
        Parts->SetTableName("Parts");
    }
}

TEST_F(TableTest, DetailTableFollowsItsMastersRecord) {
    auto* bins = new TTable(Owner);
    bins->SetDatabaseName("Shop");
    bins->SetTableName("Bins");
    bins->SetIndexFieldNames("BinNbr");
    auto* source = new TDataSource(Owner);
    source->SetDataSet(bins);
    Parts->SetIndexFieldNames("BinNbr;Code");
    Parts->SetMasterSource(source);
    Parts->SetMasterFields("BinNbr");
    bins->Open();
    Parts->Open();
    EXPECT_THAT(Column(Parts), ElementsAre("b3", "c1", "E5"));
    bins->Next();
    EXPECT_THAT(Column(Parts), ElementsAre("A2", "d4"));
    bins->Next();
    EXPECT_TRUE(Parts->IsEmpty());

    // A master without records leaves the detail without rows.
    bins->SetRangeStart();
    bins->FieldByName("BinNbr")->SetAsInteger(9);
    bins->ApplyRange();
    EXPECT_TRUE(Parts->IsEmpty());

    // Detached, the detail shows every row; attached again, it follows again.
    Parts->SetMasterSource(nullptr);
    EXPECT_EQ(Parts->RecordCount(), 5);
    bins->CancelRange();
    Parts->SetMasterSource(source);
    EXPECT_THAT(Column(Parts), ElementsAre("b3", "c1", "E5"));
    Parts->SetMasterFields("");
    EXPECT_EQ(Parts->RecordCount(), 5);

    Parts->Close();
    Parts->SetMasterFields("BinNbr;Code;Qty");
    EXPECT_THAT(MessageOf<EDatabaseError>([&] { Parts->Open(); }),
                HasSubstr("MasterFields 'BinNbr;Code;Qty' has more fields than the index"));
}

} // namespace
