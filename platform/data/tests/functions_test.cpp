#include "platform/data/testing/ShopDbTest.h"

#include "platform/data/DBExceptions.h"
#include "platform/data/Database.h"
#include "platform/data/Query.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"

#include <gmock/gmock.h>

using ::testing::HasSubstr;

namespace {

class FunctionsTest : public ShopDbTest {
protected:
    void SetUp() override {
        ShopDbTest::SetUp();
        NewDatabase();
        Q = new TQuery(Owner);
        Q->SetDatabaseName("Shop");
    }

    AnsiString Scalar(const std::string& Sql) {
        Q->SQL()->SetText(Sql);
        Q->Open();
        AnsiString Value = Q->Fields()[0]->IsNull() ? "NULL" : Q->Fields()[0]->AsString();
        Q->Close();
        return Value;
    }

    TQuery* Q = nullptr;
};

TEST_F(FunctionsTest, NowAndAddDaysWorkInTheStatementForm) {
    ManualClock Fixed(EncodeDate(2024, 3, 5) + EncodeTime(14, 7, 9, 0));
    ScopedClock Use(Fixed);
    struct Case {
        const char* Expression;
        const char* Expected;
    };
    const Case Cases[] = {
        {"now()", "2024/03/05 14:07:09"},
        {"add_days(now(), -30)", "2024/02/04 14:07:09"},
        {"add_days('2024/02/28', 1)", "2024/02/29"},
        {"add_days('2024-12-31', 1)", "2025/01/01"},
        {"add_days('2024/03/05 00:00:00', 0)", "2024/03/05 00:00:00"},
        {"add_days('2024/03/05', 2.9)", "2024/03/07"},
        {"add_days(NULL, 1)", "NULL"},
        {"add_days('2024/03/05', NULL)", "NULL"},
    };
    for (const Case& C : Cases)
        EXPECT_EQ(Scalar(std::string("select ") + C.Expression), C.Expected) << C.Expression;
    EXPECT_THAT(MessageOf<EDatabaseError>([&] { Scalar("select add_days('someday', 1)"); }),
                HasSubstr("'someday'"));
}

TEST_F(FunctionsTest, GetIdentityGivesTheNextNumberOfATable) {
    EXPECT_EQ(Scalar("Select get_identity('ALERT_SETTING', 0) "), "1");
    Exec("insert into ALERT_SETTING (AlertId, EmpNbr) values (1, 1), (2, 1)");
    EXPECT_EQ(Scalar("Select get_identity('alert_setting', 0)"), "3");
    Exec("delete from ALERT_SETTING");
    EXPECT_EQ(Scalar("Select get_identity('ALERT_SETTING', 0)"), "3"); // numbers are not reused
    // Reserving numbers moves the next insert past them.
    EXPECT_EQ(Scalar("Select get_identity('ALERT_SETTING', 5)"), "3");
    Exec("insert into ALERT_SETTING (AlertId, EmpNbr) values (1, 1)");
    EXPECT_EQ(Scalar("select max(AlertSettingNbr) from ALERT_SETTING"), "8");
    EXPECT_THAT(MessageOf<EDatabaseError>([&] { Scalar("select get_identity('NOPE', 0)"); }),
                HasSubstr("'NOPE'"));
}

TEST_F(FunctionsTest, ThePurgeStatementDeletesHistoryPastEachUsersDays) {
    ManualClock Fixed(EncodeDate(2024, 3, 5) + EncodeTime(12, 0, 0, 0));
    ScopedClock Use(Fixed);
    Exec("insert into ALERT_USER_DEFAULTS (EmpNbr, PurgeAfterNbrOfDays) values (1, 10), (2, 100);"
         "insert into ALERT_HISTORY (AlertNbr, AlertRecipientNbr, DateGenerated) values "
         "(1, 1, '2024/02/20'), (2, 1, '2024/02/26'), (3, 2, '2024/02/20'), (4, 3, '2000/01/01')");
    Q->SQL()->SetText(
        "Delete from ALERT_HISTORY where exists (select 1 from ALERT_USER_DEFAULTS AD "
        "where ALERT_HISTORY.AlertRecipientNbr = AD.EmpNbr and "
        "ALERT_HISTORY.DateGenerated < add_days(now(), -AD.PurgeAfterNbrOfDays));");
    Q->ExecSQL();
    EXPECT_EQ(Q->RowsAffected(), 1);
    EXPECT_EQ(Scalar("select group_concat(AlertNbr) from (select AlertNbr from ALERT_HISTORY "
                     "order by AlertNbr)"),
              "2,3,4");
}

} // namespace
