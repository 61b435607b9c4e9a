#include "platform/data/testing/ShopDbTest.h"

#include "platform/data/AliasConfig.h"
#include "platform/data/DBExceptions.h"
#include "platform/data/Database.h"
#include "platform/data/Query.h"

#include <gmock/gmock.h>

#include <fstream>

using ::testing::AllOf;
using ::testing::HasSubstr;

namespace {

class ConnectionTest : public ShopDbTest {};

TEST_F(ConnectionTest, AliasesResolveThroughTheIniOrToTheDataFolder) {
    struct Case {
        const char* Ini;
        const char* Alias;
        std::string Expected; // relative to the test folder
    };
    const Case Cases[] = {
        {"", "Pellworth11", "data/beaconmill/Pellworth11.db"},
        {"[Other]\nPath=/elsewhere.db\n", "Pellworth11", "data/beaconmill/Pellworth11.db"},
        {"; comment\n[ pellworth11 ]\r\ndriver = sqlite\r\nPATH = shops/main.db\r\n", "Pellworth11",
         "config/shops/main.db"},
        {"[A]\nDriver=SQLITE\nPath=a.db\n[B]\nDriver=SQLITE\nPath=b.db\n", "b", "config/b.db"},
    };
    for (const Case& C : Cases) {
        WriteAliases(C.Ini);
        EXPECT_EQ(ResolveAlias(C.Alias).FileName, (Folder / C.Expected).string()) << C.Ini;
    }
    WriteAliases("[Shop]\nDriver=SQLITE\nPath=" + DbFile.string() + "\n");
    EXPECT_EQ(ResolveAlias("Shop").FileName, DbFile.string());
}

TEST_F(ConnectionTest, BadAliasEntriesAreRefusedByName) {
    WriteAliases("[Shop]\nDriver=ODBC\nPath=x.db\n");
    EXPECT_THAT(MessageOf<EDatabaseError>([] { ResolveAlias("Shop"); }),
                AllOf(HasSubstr("'Shop'"), HasSubstr("'ODBC'")));
    WriteAliases("[Shop]\nDriver=SQLITE\n");
    EXPECT_THAT(MessageOf<EDatabaseError>([] { ResolveAlias("Shop"); }),
                AllOf(HasSubstr("'Shop'"), HasSubstr("no Path")));
}

TEST_F(ConnectionTest, AMissingDatabaseIsAnErrorNamingAliasAndFileAndIsNotCreated) {
    const auto Missing = Folder / "gone.db";
    WriteAliases("[Shop]\nDriver=SQLITE\nPath=" + Missing.string() + "\n");
    TDatabase* Db = NewDatabase();
    EXPECT_THAT(MessageOf<EDatabaseError>([&] { Db->SetConnected(true); }),
                AllOf(HasSubstr("'Shop'"), HasSubstr(Missing.string())));
    EXPECT_FALSE(Db->Connected());
    EXPECT_FALSE(std::filesystem::exists(Missing));

    // An alias with no entry names a file in the data folder, which is not there either.
    Db->SetAliasName("Nowhere");
    EXPECT_THAT(MessageOf<EDatabaseError>([&] { Db->Open(); }),
                AllOf(HasSubstr("'Nowhere'"), HasSubstr("Nowhere.db")));
    EXPECT_FALSE(std::filesystem::exists(DataFolder / "beaconmill" / "Nowhere.db"));
}

TEST_F(ConnectionTest, AFileThatIsNoDatabaseFailsAtConnect) {
    const auto Text = Folder / "notes.db";
    std::ofstream(Text) << "this is not a database, just enough text to fill a page header\n"
                        << std::string(200, 'x');
    WriteAliases("[Shop]\nDriver=SQLITE\nPath=" + Text.string() + "\n");
    TDatabase* Db = NewDatabase();
    EXPECT_THAT(MessageOf<EDatabaseError>([&] { Db->Open(); }), HasSubstr(Text.string()));
    EXPECT_FALSE(Db->Connected());
}

TEST_F(ConnectionTest, ConnectsInWalModeAndReconnectClosesItsQueries) {
    TDatabase* Db = NewDatabase();
    Db->SetConnected(true);
    ASSERT_TRUE(Db->Connected());
    EXPECT_EQ(Db->FileName(), DbFile.string());

    auto* Q = new TQuery(Owner);
    Q->SetDatabaseName("shop"); // names are found without case
    Q->SQL()->Add("PRAGMA journal_mode");
    Q->Open();
    EXPECT_EQ(Q->Fields()[0]->AsString(), "wal");
    EXPECT_EQ(Q->Database(), Db);

    Db->SetConnected(false);
    EXPECT_FALSE(Q->Active());
    Db->SetConnected(true);
    Q->Open();
    EXPECT_TRUE(Q->Active());
}

TEST_F(ConnectionTest, AQueryOpensItsDatabaseByNameAndFailsWithoutOne) {
    TDatabase* Db = NewDatabase("Dornwickdbms");
    EXPECT_EQ(FindDatabase("DORNWICKDBMS"), Db);
    auto* Q = new TQuery(Owner);
    Q->SetDatabaseName("Dornwickdbms");
    Q->SQL()->Add("select count(*) from DORNWICK_OPTIONS");
    Q->Open(); // connects the database on the way
    EXPECT_TRUE(Db->Connected());
    EXPECT_EQ(Q->Fields()[0]->AsInteger(), 1);

    auto* Lost = new TQuery(Owner);
    Lost->SetDatabaseName("NoSuchDb");
    Lost->SQL()->Add("select 1");
    EXPECT_THAT(MessageOf<EDatabaseError>([&] { Lost->Open(); }), HasSubstr("'NoSuchDb'"));

    delete Db;
    EXPECT_EQ(FindDatabase("Dornwickdbms"), nullptr);
    EXPECT_FALSE(Q->Active());
}

TEST_F(ConnectionTest, TwoConnectionsToOneFileReadWhileTheOtherWrites) {
    TDatabase* Writer = NewDatabase("Writer");
    TDatabase* Reader = NewDatabase("Reader");
    auto* Insert = new TQuery(Owner);
    Insert->SetDatabaseName("Writer");
    Insert->SQL()->Add("insert into PAY_ITEM_TYPE (PayItemTypeToken, ShortName) values (:n, 'x')");
    auto* Count = new TQuery(Owner);
    Count->SetDatabaseName("Reader");
    Count->SQL()->Add("select count(*) as N from PAY_ITEM_TYPE");

    Writer->StartTransaction();
    Insert->ParamByName("n")->SetAsInteger(1);
    Insert->ExecSQL();
    // The reader is not held up by the open write transaction and sees what was committed.
    Count->Open();
    EXPECT_EQ(Count->FieldByName("N")->AsInteger(), 0);
    Count->Close();
    Writer->Commit();
    Count->Open();
    EXPECT_EQ(Count->FieldByName("N")->AsInteger(), 1);
    Count->Close();

    // A second writer waits for the lock and then fails, naming the statement.
    Reader->SetBusyTimeout(50);
    auto* Blocked = new TQuery(Owner);
    Blocked->SetDatabaseName("Reader");
    Blocked->SQL()->Add("delete from PAY_ITEM_TYPE");
    Writer->StartTransaction();
    EXPECT_THAT(MessageOf<EDatabaseError>([&] { Blocked->ExecSQL(); }),
                AllOf(HasSubstr("delete from PAY_ITEM_TYPE"), HasSubstr("locked")));
    Writer->Rollback();
    Blocked->ExecSQL();
    EXPECT_EQ(Blocked->RowsAffected(), 1);
}

TEST_F(ConnectionTest, AFailedStatementLeavesTheTransactionToTheCaller) {
    TDatabase* Db = NewDatabase();
    auto* Q = new TQuery(Owner);
    Q->SetDatabaseName("Shop");
    Db->StartTransaction();
    EXPECT_TRUE(Db->InTransaction());
    EXPECT_THROW(Db->StartTransaction(), EDatabaseError);
    Q->SQL()->SetText("insert into PAY_ITEM_TYPE (PayItemTypeToken, ShortName) values (7, 'kept')");
    Q->ExecSQL();
    Q->SQL()->SetText("insert into PAY_ITEM_TYPE (PayItemTypeToken) values (7)"); // duplicate key
    EXPECT_THROW(Q->ExecSQL(), EDatabaseError);
    ASSERT_TRUE(Db->InTransaction());
    Db->Commit();
    EXPECT_THROW(Db->Commit(), EDatabaseError); // none is active any more
    Db->Rollback();                             // nothing to roll back: no error

    Q->SQL()->SetText("select ShortName from PAY_ITEM_TYPE where PayItemTypeToken = 7");
    Q->Open();
    EXPECT_EQ(Q->FieldByName("ShortName")->AsString(), "kept");

    Q->Close();
    Db->StartTransaction();
    Q->SQL()->SetText("delete from PAY_ITEM_TYPE");
    Q->ExecSQL();
    Db->Rollback();
    Q->SQL()->SetText("select count(*) from PAY_ITEM_TYPE");
    Q->Open();
    EXPECT_EQ(Q->Fields()[0]->AsInteger(), 1);
}

} // namespace
