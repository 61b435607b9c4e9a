#include "StoreTest.h"

#include "platform/data/DBExceptions.h"
#include "platform/data/Database.h"
#include "platform/data/Query.h"
#include "platform/data/StdFields.h"

#include <fstream>

namespace {

using MainDmodTest = StoreTest;

TEST_F(MainDmodTest, ConnectsInItsConstructorAndReconnects) {
    EXPECT_TRUE(Dmod->MyDatabase->Connected());
    EXPECT_EQ(Dmod->ConnectDatabase(), 1);
    EXPECT_EQ(Dmod->ConnectDatabase(), 1);
    EXPECT_TRUE(Dmod->MyDatabase->Connected());
}

TEST_F(MainDmodTest, UnreachableDatabaseLeavesTheModuleUnconnected) {
    Dmod.reset();
    std::ofstream(Db.File().parent_path() / "aliases.ini")
        << "[Pellworth11]\nDriver=SQLITE\nPath=" << (Db.File().parent_path() / "gone.db").string()
        << "\n";
    Dmod = std::make_unique<TMainDmod>(nullptr);
    EXPECT_FALSE(Dmod->MyDatabase->Connected());
    EXPECT_EQ(Dmod->ConnectDatabase(), -99);
    // The next statement tries again and reports why it failed.
    ShopOptions options;
    EXPECT_THROW(Dmod->LoadOptions(options), EDatabaseError);
}

TEST_F(MainDmodTest, ActiveUsersShowTheirLogonTime) {
    Db.Exec("insert into EMPLOYEE (EmpNbr, Fname, Lname) values (7, 'Ann', 'Lee');"
            "insert into USER_LOGON (USERID, NAME, DORN_USER) values (3, 'ann', 7);"
            "insert into CURRENT_USERS (UserId, TimeOn, VElmCount, DOrnCount)"
            " values (3, '2024/03/05 14:07:00', 1, 2);");
    FormatSettings().DateSeparator = '-';
    Dmod->ActiveUsersQ->Open();
    ASSERT_EQ(Dmod->ActiveUsersQ->RecordCount(), 1);
    EXPECT_EQ(Dmod->ActiveUsersQShowTimeOn->AsString(), "Tue Mar 5 2:07pm");
    EXPECT_EQ(Dmod->ActiveUsersQFname->AsString(), "Ann");
    EXPECT_EQ(Dmod->StringField1->DisplayLabel(), "User Id");
    EXPECT_FALSE(Dmod->ActiveUsersQTimeOn->Visible());
}

TEST_F(MainDmodTest, ListQueriesOpen) {
    Db.Exec("insert into USER_LOGON (USERID, NAME, DORN_USER) values (2, 'bob', 5), (-1, 'sys', 0);"
            "insert into PC_DATA_COLLECTION_SETUP values (4, 'Floor');"
            "insert into MDC_PROFILE values (9, 'Saw');");
    Dmod->UserLogonQ->Open();
    EXPECT_EQ(Dmod->UserLogonQ->RecordCount(), 1);
    EXPECT_EQ(Dmod->UserLogonQNAME->AsString(), "bob");
    Dmod->PcProfileListQ->Open();
    EXPECT_EQ(Dmod->PcProfileListQPcToken->AsInteger(), 4);
    Dmod->MDCProfileListQ->Open();
    EXPECT_EQ(Dmod->MDCProfileListQName->AsString(), "Saw");
}

} // namespace
