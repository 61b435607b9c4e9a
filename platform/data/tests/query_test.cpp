#include "platform/data/testing/ShopDbTest.h"

#include "platform/data/DBExceptions.h"
#include "platform/data/Database.h"
#include "platform/data/Query.h"

#include <gmock/gmock.h>

#include <optional>
#include <vector>

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

class QueryTest : public ShopDbTest {
protected:
    void SetUp() override {
        ShopDbTest::SetUp();
        NewDatabase();
        Exec("insert into DEPT (DeptNbr, Name, Seq) values (1, 'Saw', 3), (2, 'Glue', 1), "
             "(3, 'Sand', 2), (4, 'Finish', 5), (5, 'Ship', 4)");
    }

    TQuery* NewQuery(const std::string& Sql) {
        auto* Q = new TQuery(Owner);
        Q->SetDatabaseName("Shop");
        Q->SQL()->SetText(Sql);
        return Q;
    }

    static std::vector<std::string> Walk(TQuery* Q, const char* Field) {
        std::vector<std::string> Values;
        for (Q->First(); !Q->Eof(); Q->Next())
            Values.push_back(Q->FieldByName(Field)->AsString());
        return Values;
    }
};

TEST_F(QueryTest, WalksTheWholeResultBothWays) {
    TQuery* Q = NewQuery("select Name from DEPT where DeptNbr > 0 order by Seq");
    Q->Open();
    EXPECT_EQ(Q->RecordCount(), 5);
    EXPECT_TRUE(Q->Bof());
    EXPECT_EQ(Q->RecNo(), 1);
    EXPECT_THAT(Walk(Q, "Name"), ElementsAre("Glue", "Sand", "Saw", "Ship", "Finish"));
    EXPECT_TRUE(Q->Eof());
    EXPECT_EQ(Q->RecNo(), 5); // Next at the end stays on the last record
    Q->Prior();
    EXPECT_EQ(Q->FieldByName("name")->AsString(), "Ship");
    Q->First();
    Q->Prior();
    EXPECT_TRUE(Q->Bof());
    EXPECT_EQ(Q->FieldByName("Name")->AsString(), "Glue");
    Q->Last();
    EXPECT_TRUE(Q->Eof());
    Q->SetRecNo(3);
    EXPECT_EQ(Q->FieldByName("Name")->AsString(), "Saw");

    EXPECT_EQ(MessageOf<EDatabaseError>([&] { Q->FieldByName("Nope"); }), "Field 'Nope' not found");
    Q->Close();
    EXPECT_TRUE(Q->Eof());
    EXPECT_THROW(Q->Next(), EDatabaseError);
    EXPECT_THROW(Q->RecordCount(), EDatabaseError);
}

TEST_F(QueryTest, AnEmptyResultHasNoCurrentRecord) {
    TQuery* Q = NewQuery("select Name, DeptNbr from DEPT where DeptNbr = 77");
    Q->Open();
    EXPECT_TRUE(Q->Eof());
    EXPECT_TRUE(Q->Bof());
    EXPECT_TRUE(Q->IsEmpty());
    EXPECT_EQ(Q->RecordCount(), 0);
    EXPECT_EQ(Q->RecNo(), -1);
    EXPECT_TRUE(Q->FieldByName("DeptNbr")->IsNull());
    EXPECT_EQ(Q->FieldByName("DeptNbr")->AsInteger(), 0);
}

TEST_F(QueryTest, ParametersBindByNameAndPosition) {
    TQuery* Q = NewQuery("select Name from DEPT\nwhere (DeptNbr = :a or Seq = :A)\n"
                         "and Name <> ':b' -- :c\nand Seq <= :b order by Seq");
    ASSERT_EQ(Q->ParamCount(),
              2); // a repeated name is one parameter; quotes and comments hold none
    EXPECT_EQ(Q->Params()[0]->Name(), "a");
    EXPECT_EQ(Q->Params()[1]->Name(), "b");
    EXPECT_EQ(Q->Params()[0]->DataType(), ftUnknown);

    Q->Params()[0]->SetAsInteger(1); // DeptNbr 1 (Saw, Seq 3) or Seq 1 (Glue)
    Q->ParamByName("B")->SetAsSmallInt(5);
    Q->Open();
    EXPECT_THAT(Walk(Q, "Name"), ElementsAre("Glue", "Saw"));
    Q->Close();

    Q->ParamByName("b")->SetAsInteger(2);
    Q->Open();
    EXPECT_THAT(Walk(Q, "Name"), ElementsAre("Glue"));
    Q->Close();

    Q->ParamByName("a")->Clear(); // NULL matches nothing
    Q->Open();
    EXPECT_TRUE(Q->IsEmpty());

    EXPECT_THAT(MessageOf<EDatabaseError>([&] { Q->ParamByName("zz"); }), HasSubstr("'zz'"));
    TQuery* Unset = NewQuery("select * from DEPT where DeptNbr = :Dept");
    EXPECT_THAT(MessageOf<EDatabaseError>([&] { Unset->Open(); }), HasSubstr("'Dept'"));
}

TEST_F(QueryTest, ParametersOfEachKindReachTheDatabaseInItsForms) {
    TQuery* Q = NewQuery("select :i as I, :f as F, :s as S, :d as D, :t as T, :b as B, :c as C");
    Q->ParamByName("i")->SetAsInteger(-7);
    Q->ParamByName("f")->SetAsFloat(2.5);
    Q->ParamByName("s")->SetAsString("it's");
    Q->ParamByName("d")->SetAsDate(45356.75); // 2024/03/05 18:00, as a date
    Q->ParamByName("t")->SetAsDateTime(45356.0);
    Q->ParamByName("b")->SetAsBoolean(true);
    Q->ParamByName("c")->SetAsCurrency(Currency(12.34));
    Q->Open();
    EXPECT_EQ(Q->FieldByName("I")->AsString(), "-7");
    EXPECT_EQ(Q->FieldByName("F")->AsString(), "2.5");
    EXPECT_EQ(Q->FieldByName("S")->AsString(), "it's");
    EXPECT_EQ(Q->FieldByName("D")->AsString(), "2024/03/05");
    EXPECT_EQ(Q->FieldByName("T")->AsString(), "2024/03/05 00:00:00");
    EXPECT_EQ(Q->FieldByName("B")->AsInteger(), 1);
    EXPECT_DOUBLE_EQ(Q->FieldByName("C")->AsFloat(), 12.34);
}

TEST_F(QueryTest, ChangingTheStatementClosesAndRebuildsTheParameters) {
    TQuery* Q = NewQuery("select Name from DEPT where DeptNbr = :a");
    Q->ParamByName("a")->SetAsInteger(2);
    Q->Open();
    EXPECT_EQ(Q->FieldByName("Name")->AsString(), "Glue");

    Q->SQL()->SetText("select Seq from DEPT\nwhere DeptNbr = :a and Seq > :b");
    EXPECT_FALSE(Q->Active());
    ASSERT_EQ(Q->ParamCount(), 2);
    EXPECT_EQ(Q->ParamByName("a")->AsInteger(), 2); // a kept its value
    EXPECT_FALSE(Q->ParamByName("b")->Bound());
    Q->ParamByName("b")->SetAsInteger(0);
    Q->Open();
    EXPECT_EQ(Q->FieldByName("Seq")->AsInteger(), 1);
    EXPECT_EQ(Q->FindField("Name"), nullptr);

    // The lookups' pattern: close, clear, add the lines, prepare, set the parameters, open.
    Q->Close();
    Q->SQL()->Clear();
    EXPECT_EQ(Q->ParamCount(), 0);
    Q->SQL()->Add("select Name from DEPT");
    Q->SQL()->Add("where DeptNbr = :a");
    Q->Prepare();
    EXPECT_TRUE(Q->Prepared());
    Q->Params()[0]->SetAsInteger(5);
    Q->Open();
    EXPECT_EQ(Q->FieldByName("Name")->AsString(), "Ship");
    Q->SQL()->Add("and Seq > 100");
    EXPECT_FALSE(Q->Active());
    EXPECT_FALSE(Q->Prepared());
}

TEST_F(QueryTest, RefusedStatementsNameTheirFirstWordsAndSQLitesReason) {
    struct Case {
        std::string Sql;
        std::vector<std::string> Parts;
    };
    const Case Cases[] = {
        {"select * from NO_SUCH_TABLE where x = 1",
         {"select * from NO_SUCH_TABLE", "no such table"}},
        {"selec Name from DEPT", {"selec Name from DEPT", "syntax error"}},
        {"select Name from DEPT; delete from DEPT", {"select Name from DEPT", "more than one"}},
        {"update DEPT set Seq = 0", {"update DEPT set Seq = 0", "no result set"}},
    };
    for (const Case& C : Cases) {
        TQuery* Q = NewQuery(C.Sql);
        const std::string Message = MessageOf<EDatabaseError>([&] { Q->Open(); });
        for (const std::string& Part : C.Parts)
            EXPECT_THAT(Message, HasSubstr(Part)) << C.Sql;
        EXPECT_FALSE(Q->Active());
    }
    // Neither the refused UPDATE nor the DELETE after the first statement ran.
    TQuery* Check = NewQuery("select count(*) from DEPT where Seq = 0");
    Check->Open();
    EXPECT_EQ(Check->Fields()[0]->AsInteger(), 1); // the seed row only

    TQuery* Long = NewQuery("select Name, DeptNbr, Seq, Name, DeptNbr, Seq, Name, DeptNbr from "
                            "NOWHERE order by Name");
    const std::string Message = MessageOf<EDatabaseError>([&] { Long->Open(); });
    EXPECT_THAT(Message, HasSubstr("...\""));
    EXPECT_THAT(Message, ::testing::Not(HasSubstr("order by")));
}

TEST_F(QueryTest, AnOpenResultOutlivesDeletesOfItsTable) {
    TQuery* List = NewQuery("select DeptNbr, Name from DEPT where DeptNbr > 0 order by DeptNbr");
    List->Open();
    List->Next();
    TQuery* Delete = NewQuery("delete from DEPT where DeptNbr >= :n");
    Delete->ParamByName("n")->SetAsInteger(2);
    Delete->ExecSQL();
    EXPECT_EQ(Delete->RowsAffected(), 4);
    EXPECT_EQ(List->RecordCount(), 5);
    EXPECT_EQ(List->FieldByName("Name")->AsString(), "Glue");
    EXPECT_THAT(Walk(List, "Name"), ElementsAre("Saw", "Glue", "Sand", "Finish", "Ship"));
    List->Close();
    List->Open();
    EXPECT_EQ(List->RecordCount(), 1);
    EXPECT_THROW(Delete->Open(), EDatabaseError);
    List->Open();
    EXPECT_THROW(List->ExecSQL(), EDatabaseError); // only while closed
}

TEST_F(QueryTest, BookmarksReturnToTheirRecord) {
    TQuery* Q = NewQuery("select Name from DEPT where DeptNbr > 0 order by Name");
    Q->Open();
    Q->Next();
    Q->Next();
    const TBookmark Mark = Q->GetBookmark();
    const std::string There = Q->FieldByName("Name")->AsString();
    Q->Last();
    Q->GotoBookmark(Mark);
    EXPECT_EQ(Q->FieldByName("Name")->AsString(), There);
    EXPECT_EQ(Q->RecNo(), 3);

    // Filtered away, or from an earlier opening: refused.
    Q->SetFilter("Name = 'Glue'");
    Q->SetFiltered(true);
    EXPECT_FALSE(Q->BookmarkValid(Mark));
    EXPECT_THROW(Q->GotoBookmark(Mark), EDatabaseError);
    Q->SetFiltered(false);
    Q->GotoBookmark(Mark);
    Q->Close();
    Q->Open();
    EXPECT_FALSE(Q->BookmarkValid(Mark));
}

TEST_F(QueryTest, FiltersSelectRecordsByTheirFields) {
    TQuery* Q = NewQuery("select DeptNbr, Name, Seq, case when DeptNbr = 3 then null else Seq end "
                         "as MaybeSeq from DEPT where DeptNbr > 0 order by DeptNbr");
    Q->Open();
    struct Case {
        const char* Filter;
        TFilterOptions Options;
        std::vector<std::string> Names;
    };
    const Case Cases[] = {
        {"[Name] = 'Saw'", {}, {"Saw"}},
        {"Name = 'saw'", {}, {}},
        {"Name = 'saw'", {foCaseInsensitive}, {"Saw"}},
        {"Name = 'S*'", {}, {"Saw", "Sand", "Ship"}},
        {"Name = 'S*'", {foNoPartialCompare}, {}},
        {"Seq >= 3 and not (Name <> 'Finish' and Seq > 4)", {}, {"Saw", "Finish", "Ship"}},
        {"DeptNbr = 1 or DeptNbr = 2.0", {}, {"Saw", "Glue"}},
        {"MaybeSeq = NULL", {}, {"Sand"}},
        {"MaybeSeq is not null and Seq < 3", {}, {"Glue"}},
        {"MaybeSeq > 0", {}, {"Saw", "Glue", "Finish", "Ship"}},
        {"", {}, {"Saw", "Glue", "Sand", "Finish", "Ship"}},
    };
    for (const Case& C : Cases) {
        Q->SetFilterOptions(C.Options);
        Q->SetFilter(C.Filter);
        Q->SetFiltered(true);
        EXPECT_EQ(Walk(Q, "Name"), C.Names) << C.Filter;
        EXPECT_EQ(Q->RecordCount(), static_cast<int>(C.Names.size())) << C.Filter;
        Q->SetFiltered(false);
    }
    EXPECT_EQ(Q->RecordCount(), 5);

    for (const char* Bad : {"Name = ", "Name 'Saw'", "(Seq = 1", "Nope = 1", "Seq > NULL"}) {
        Q->SetFilter(Bad);
        EXPECT_THROW(Q->SetFiltered(true), EDatabaseError) << Bad;
        Q->SetFiltered(false);
    }
}

} // namespace

namespace {

TEST_F(QueryTest, ReadRowsHandsOverEachRowWithoutOpeningAndReadsValuesAsFieldsDo) {
    TQuery* Q = NewQuery("select Name, DeptNbr from DEPT where Seq > :s order by Seq");
    Q->ParamByName("s")->SetAsInteger(2);
    std::vector<std::string> Names;
    Q->ReadRows([&](const TRowReader& Row) {
        EXPECT_EQ(Row.ColumnCount(), 2);
        Names.push_back(Row.AsString(0) + "/" + std::to_string(Row.AsInteger(1)));
    });
    EXPECT_THAT(Names, ElementsAre("Saw/1", "Ship/5", "Finish/4"));
    EXPECT_FALSE(Q->Active());

    struct Case {
        const char* Value;
        int Integer;
        double Float;
        const char* Text;
        bool Null;
    };
    const Case Cases[] = {
        {"NULL", 0, 0.0, "", true},
        {"42", 42, 42.0, "42", false},
        {"2.5", 2, 2.5, "2.5", false}, // halves go to the even neighbour
        {"3.5", 4, 3.5, "3.5", false},
        {"' 17 '", 17, 17.0, " 17 ", false},
        {"'-1.5e1'", -15, -15.0, "-1.5e1", false},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.Value);
        TQuery* V = NewQuery(std::string("select ") + C.Value + " as V");
        V->ReadRows([&](const TRowReader& Row) {
            EXPECT_EQ(Row.IsNull(0), C.Null);
            EXPECT_EQ(Row.AsInteger(0), C.Integer);
            EXPECT_EQ(Row.AsOptionalInteger(0),
                      C.Null ? std::nullopt : std::optional<int>(C.Integer));
            EXPECT_DOUBLE_EQ(Row.AsFloat(0), C.Float);
            EXPECT_EQ(Row.AsString(0), C.Text);
        });
    }

    // Text that is no number, and a number beyond the integer range, are
    // refused naming the value and the column; the statement is left reset.
    TQuery* Bad = NewQuery("select 'abc' as Code, 5000000000 as Big");
    auto Read = [&](int Column) {
        Bad->ReadRows([&](const TRowReader& Row) { Row.AsInteger(Column); });
    };
    EXPECT_THAT(MessageOf<EDatabaseError>([&] { Read(0); }),
                AllOf(HasSubstr("'abc'"), HasSubstr("'Code'"), HasSubstr("not an integer")));
    EXPECT_THAT(MessageOf<EDatabaseError>([&] { Read(1); }),
                AllOf(HasSubstr("'5000000000'"), HasSubstr("'Big'")));
    EXPECT_THROW(Bad->ReadRows([&](const TRowReader& Row) { Row.AsOptionalInteger(1); }),
                 EDatabaseError);
    Bad->ReadRows([&](const TRowReader& Row) { EXPECT_EQ(Row.AsInt64(1), 5000000000LL); });

    // An open query is refused: its rows are in use.
    Q->Open();
    EXPECT_THROW(Q->ReadRows([](const TRowReader&) {}), EDatabaseError);
}

} // namespace
