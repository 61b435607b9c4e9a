// Compiled statements and field bindings kept from one run to the next, and
// the durability level of the connection.
#include "platform/data/testing/ShopDbTest.h"

#include "platform/data/DBExceptions.h"
#include "platform/data/Database.h"
#include "platform/data/Query.h"
#include "platform/data/StdFields.h"

#include <gmock/gmock.h>

#include <sqlite3.h>

#include <string>
#include <vector>

using ::testing::AllOf;
using ::testing::HasSubstr;

namespace {

class StatementReuseTest : public ShopDbTest {
protected:
    void SetUp() override {
        ShopDbTest::SetUp();
        Db = NewDatabase();
        Exec("delete from DEPT; insert into DEPT (DeptNbr, Name, Seq) values (1, 'Saw', 3), (2, "
             "'Glue', 1)");
    }

    TQuery* NewQuery(const std::string& Sql) {
        auto* Q = new TQuery(Owner);
        Q->SetDatabaseName("Shop");
        Q->SQL()->SetText(Sql);
        return Q;
    }

    // The statements the connection holds compiled (kept or in use).
    int LiveStatements() const {
        int Count = 0;
        for (sqlite3_stmt* S = sqlite3_next_stmt(Db->Handle(), nullptr); S;
             S = sqlite3_next_stmt(Db->Handle(), S))
            ++Count;
        return Count;
    }

    static std::vector<std::string> Names(TQuery* Q) {
        std::vector<std::string> Values;
        for (Q->First(); !Q->Eof(); Q->Next())
            Values.push_back(Q->FieldByName("Name")->AsString());
        return Values;
    }

    TDatabase* Db = nullptr;
};

TEST_F(StatementReuseTest, OneCompiledStatementServesEveryRunOfItsText) {
    const std::string Sql = "select Name from DEPT where DeptNbr = :a";
    TQuery* Q = NewQuery(Sql);
    Q->ParamByName("a")->SetAsInteger(2);
    Q->Open();
    EXPECT_EQ(Names(Q), std::vector<std::string>{"Glue"});
    const int Compiled = LiveStatements();

    // The same text again: still prepared, the value kept.
    Q->SQL()->SetText(Sql);
    EXPECT_TRUE(Q->Prepared());
    EXPECT_EQ(Q->ParamByName("a")->AsInteger(), 2);
    // The way the lookups give it before each run: cleared, added, bound.
    Q->Close();
    Q->SQL()->Clear();
    Q->SQL()->Add(Sql);
    Q->ParamByName("a")->SetAsInteger(2);
    Q->Open();
    EXPECT_EQ(Names(Q), std::vector<std::string>{"Glue"});
    EXPECT_EQ(LiveStatements(), Compiled);

    // Another text and back, and a second query of the first text: the
    // connection compiles the other text once and hands the first one on.
    Q->SQL()->SetText("select Name from DEPT order by Seq");
    Q->Open();
    EXPECT_EQ(Names(Q), (std::vector<std::string>{"Glue", "Saw"}));
    Q->SQL()->SetText(Sql);
    Q->ParamByName("a")->SetAsInteger(1);
    Q->Open();
    EXPECT_EQ(Names(Q), std::vector<std::string>{"Saw"});
    Q->Close();
    Q->UnPrepare();
    TQuery* Other = NewQuery(Sql);
    Other->ParamByName("a")->SetAsInteger(2);
    Other->Open();
    EXPECT_EQ(Names(Other), std::vector<std::string>{"Glue"});
    EXPECT_EQ(LiveStatements(), Compiled + 1);

    // Two queries of one text at once each have their own.
    Q->Prepare();
    EXPECT_EQ(LiveStatements(), Compiled + 2);
    Q->ParamByName("a")->SetAsInteger(1);
    Q->Open();
    EXPECT_EQ(Names(Q), std::vector<std::string>{"Saw"});
    EXPECT_EQ(Names(Other), std::vector<std::string>{"Glue"});

    // Closing the connection lets go of them all; reopening compiles anew.
    Db->Close();
    Db->Open();
    EXPECT_EQ(LiveStatements(), 0);
    Q->Open();
    EXPECT_EQ(Names(Q), std::vector<std::string>{"Saw"});
}

TEST_F(StatementReuseTest, TakingTurnsAtStatementsKeepsOnlyTheValuesOfNamesThatStay) {
    const std::string Both = "select Name from DEPT where DeptNbr = :a and Seq > :x";
    const std::string One = "select Name from DEPT where DeptNbr = :a";
    TQuery* Q = NewQuery(Both);
    Q->ParamByName("a")->SetAsInteger(1);
    Q->ParamByName("x")->SetAsInteger(0);
    Q->Open();
    EXPECT_EQ(Names(Q), std::vector<std::string>{"Saw"});
    for (int Turn = 0; Turn < 3; ++Turn) {
        Q->SQL()->SetText(One);
        EXPECT_EQ(Q->ParamCount(), 1);
        Q->ParamByName("a")->SetAsInteger(2);
        Q->Open();
        EXPECT_EQ(Names(Q), std::vector<std::string>{"Glue"});
        // Back: a carries over, x is as new again.
        Q->SQL()->SetText(Both);
        ASSERT_EQ(Q->ParamCount(), 2);
        EXPECT_EQ(Q->ParamByName("a")->AsInteger(), 2);
        EXPECT_FALSE(Q->ParamByName("x")->Bound());
        EXPECT_THAT(MessageOf<EDatabaseError>([&] { Q->Open(); }), HasSubstr("'x'"));
        Q->ParamByName("x")->SetAsInteger(5);
        Q->Open();
        EXPECT_TRUE(Names(Q).empty());
        // Emptied on the way: nothing carries over.
        Q->SQL()->Clear();
        Q->SQL()->Add(Both);
        EXPECT_FALSE(Q->ParamByName("a")->Bound());
        Q->ParamByName("a")->SetAsInteger(1);
        Q->ParamByName("x")->SetAsInteger(0);
    }
}

TEST_F(StatementReuseTest, AQueryTakingTurnsAtTextsCompilesEachOnceAndLetsGoOfThemAll) {
    const std::string ByNbr = "select Name from DEPT where DeptNbr = :a";
    const std::string BySeq = "select Name from DEPT where Seq = :s";
    TQuery* Q = NewQuery(ByNbr);
    Db->Open();
    const int Before = LiveStatements();
    for (int Turn = 0; Turn < 3; ++Turn) {
        Q->SQL()->SetText(ByNbr);
        Q->ParamByName("a")->SetAsInteger(1);
        Q->Open();
        EXPECT_EQ(Names(Q), std::vector<std::string>{"Saw"});
        Q->SQL()->SetText(BySeq);
        Q->ParamByName("s")->SetAsInteger(1);
        Q->Open();
        EXPECT_EQ(Names(Q), std::vector<std::string>{"Glue"});
        EXPECT_EQ(LiveStatements(), Before + 2);
    }
    // Another query of the text the first one holds aside compiles its own;
    // once the first goes, its statements serve the next queries.
    TQuery* Other = NewQuery(ByNbr);
    Other->Prepare();
    EXPECT_EQ(LiveStatements(), Before + 3);
    delete Other;
    delete Q;
    EXPECT_EQ(LiveStatements(), Before + 3);
    TQuery* Next = NewQuery(BySeq);
    Next->ParamByName("s")->SetAsInteger(3);
    Next->Open();
    EXPECT_EQ(Names(Next), std::vector<std::string>{"Saw"});
    EXPECT_EQ(LiveStatements(), Before + 3);
}

TEST_F(StatementReuseTest, ColumnsFollowTheSchemaAndExpressionsFollowTheirValues) {
    TQuery* Q = NewQuery("select * from DEPT where DeptNbr = 1");
    Q->Open();
    const int Before = Q->FieldCount();
    EXPECT_EQ(Q->FindField("Extra"), nullptr);
    Q->Close();
    Exec("alter table DEPT add column Extra VARCHAR(8); update DEPT set Extra = 'x'");
    Q->Open();
    EXPECT_EQ(Q->FieldCount(), Before + 1);
    ASSERT_NE(Q->FindField("Extra"), nullptr);
    EXPECT_EQ(Q->FieldByName("Extra")->AsString(), "x");
    EXPECT_EQ(Q->FieldByName("Extra")->DataType(), ftString);

    // An expression column takes its kind from each opening's values.
    TQuery* E = NewQuery("select :v as V, Name, Name from DEPT where DeptNbr = 2");
    E->ParamByName("v")->SetAsInteger(7);
    E->Open();
    EXPECT_EQ(E->FieldByName("V")->DataType(), ftInteger);
    EXPECT_EQ(E->Fields()[2]->FieldName(), "Name_1");
    E->Close();
    E->ParamByName("v")->SetAsString("seven");
    E->Open();
    EXPECT_EQ(E->FieldByName("V")->DataType(), ftString);
    EXPECT_EQ(E->FieldByName("V")->AsString(), "seven");
    EXPECT_EQ(E->FieldByName("Name_1")->AsString(), "Glue");
}

TEST_F(StatementReuseTest, FieldsBoundOnceStayRightAsFieldsAndColumnsChange) {
    TQuery* Q = NewQuery("select Name, Seq from DEPT order by DeptNbr");
    Q->Open();
    TField* Name = Q->FieldByName("Name");
    Q->Close();
    EXPECT_EQ(Q->FieldCount(), 0); // default fields go with the closing
    Q->Open();
    EXPECT_EQ(Q->FieldByName("Name"), Name); // ... and serve the same columns again
    EXPECT_EQ(Names(Q), (std::vector<std::string>{"Saw", "Glue"}));

    // Other columns: fields of their own.
    Q->SQL()->SetText("select Seq, Name, DeptNbr from DEPT order by DeptNbr");
    Q->Open();
    EXPECT_EQ(Q->FieldCount(), 3);
    EXPECT_EQ(Names(Q), (std::vector<std::string>{"Saw", "Glue"}));
    Q->First();
    EXPECT_EQ(Q->Fields()[0]->AsInteger(), 3);
    Q->Close();

    // Persistent fields: bound by name, again when one is added or moved.
    auto* Seq = new TIntegerField(Owner);
    Seq->SetFieldName("Seq");
    Seq->SetDataSet(Q);
    Q->Open();
    EXPECT_EQ(Q->FieldCount(), 1);
    EXPECT_EQ(Seq->AsInteger(), 3);
    Q->Close();
    auto* Dept = new TIntegerField(Owner);
    Dept->SetFieldName("DeptNbr");
    Dept->SetDataSet(Q);
    Dept->SetIndex(0);
    Q->Open();
    Q->Last();
    EXPECT_EQ(Dept->AsInteger(), 2);
    EXPECT_EQ(Seq->AsInteger(), 1);
    Q->Close();
    Seq->SetFieldName("DeptNbr");
    Dept->SetFieldName("Seq");
    Q->Open();
    EXPECT_EQ(Seq->AsInteger(), 1);
    EXPECT_EQ(Dept->AsInteger(), 3);
}

TEST_F(StatementReuseTest, CommitsAreDurableAtNormalUnlessTheAliasAsksOtherwise) {
    auto Level = [&] {
        TQuery* Q = NewQuery("PRAGMA synchronous");
        Q->Open();
        const int Value = Q->Fields()[0]->AsInteger();
        delete Q;
        Db->Close();
        return Value;
    };
    EXPECT_EQ(Level(), 1); // NORMAL
    WriteAliases("[Shop]\nDriver=SQLITE\nPath=" + DbFile.string() + "\nSynchronous=full\n");
    EXPECT_EQ(Level(), 2);
    WriteAliases("[Shop]\nDriver=SQLITE\nPath=" + DbFile.string() + "\nSynchronous=Sometimes\n");
    EXPECT_THAT(MessageOf<EDatabaseError>([&] { Db->Open(); }),
                AllOf(HasSubstr("'Shop'"), HasSubstr("'Sometimes'")));
    EXPECT_FALSE(Db->Connected());
}

} // namespace
