#include "StoreTest.h"

#include "platform/data/Database.h"
#include "platform/data/Query.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"

#include <map>
#include <set>

namespace {

using HistoryTest = StoreTest;
using Rows = std::vector<std::vector<Variant>>;

constexpr const char* HistoryKeyColumns =
    "EmpNbrTriggeredAlert, JobNbr, PoNbr, JobItemNbr, WoNbr, ProgressBillingNbr, ShipTicketNbr,"
    " InvNbr, EmpNbr, WoProductNbr, DeptNbr, PoItemNbr, ActionItemNbr, RFINbr, QuoteNbr";

AlertTransaction Alert(TDateTime When) {
    AlertTransaction alert;
    alert.AlertNbr = 31;
    alert.RecipientNbr = 7;
    alert.EventTimeStamp = When;
    alert.Priority = 2;
    alert.MessageText = "Job 12 is late";
    alert.EmailCode = 3;
    return alert;
}

TEST_F(HistoryTest, UnsetKeysAreWrittenAsNull) {
    Dmod->InsertAlertHistory(Alert(EncodeDate(2024, 7, 1) + EncodeTime(8, 15, 0, 0)));
    EXPECT_EQ(
        Db.Rows("select AlertNbr, AlertRecipientNbr, DateGenerated, Priority, Descr, SendEmail"
                " from ALERT_HISTORY"),
        (Rows{{Variant(31), Variant(7), Variant("2024/07/01 08:15:00"), Variant(2),
               Variant("Job 12 is late"), Variant(3)}}));
    EXPECT_EQ(Db.Rows(AnsiString("select ") + HistoryKeyColumns + " from ALERT_HISTORY"),
              Rows{std::vector<Variant>(15, Null())});
}

TEST_F(HistoryTest, KeysAreWrittenUnlessTheyAreTheirSentinel) {
    AlertTransaction alert = Alert(EncodeDate(2024, 7, 1));
    // Employee numbers: 0 is a value, -99 the sentinel; other keys: -99 is a value.
    alert.EmpNbrGeneratedTrans = 0;
    alert.EmpNbr = 0;
    alert.JobNbr = -99;
    alert.PoNbr = 2;
    alert.JobItemNbr = 3;
    alert.WoNbr = 4;
    alert.ProgressBillingNbr = 5;
    alert.ShipTicketNbr = 6;
    alert.InvNbr = 7;
    alert.WoProductNbr = 8;
    alert.DeptNbr = 9;
    alert.PoItemNbr = 10;
    alert.ActionItemNbr = 11;
    alert.RFINbr = 12;
    alert.QuoteNbr = 13;
    alert.BillingNbr = 99; // carried, not written
    Dmod->InsertAlertHistory(alert);
    const std::vector<int> expected{0, -99, 2, 3, 4, 5, 6, 7, 0, 8, 9, 10, 11, 12, 13};
    std::vector<Variant> row;
    for (int value : expected)
        row.emplace_back(value);
    EXPECT_EQ(Db.Rows(AnsiString("select ") + HistoryKeyColumns + " from ALERT_HISTORY"), Rows{row});
}

TEST_F(HistoryTest, TextAndTimeStampCannotChangeTheStatement) {
    FormatSettings().DateSeparator = '-';
    FormatSettings().TimeSeparator = '.';
    AlertTransaction alert = Alert(EncodeDate(2024, 7, 1));
    alert.MessageText = "PO 'A-1': due\r\nnow; drop table ALERT_HISTORY --";
    Dmod->InsertAlertHistory(alert);
    // The values travel beside the statement, never in its text.
    EXPECT_EQ(LastStatement().find("drop table"), AnsiString::npos);
    EXPECT_EQ(LastStatement().find("2024"), AnsiString::npos);
    EXPECT_EQ(Db.Rows("select DateGenerated, Descr from ALERT_HISTORY"),
              (Rows{{Variant("2024/07/01"), Variant(alert.MessageText)}}));
    // The time separator is forced back for the rest of the program.
    EXPECT_EQ(FormatSettings().TimeSeparator, ':');
    EXPECT_EQ(FormatSettings().DateSeparator, '-');
}

TEST_F(HistoryTest, ForwardingTarget) {
    Db.Exec("insert into ALERT_USER_DEFAULTS (EmpNbr, ForwardToEmpNbr) values (1, 44), (2, NULL)");
    for (const auto& [employee, target] : {std::pair{1, 44}, {2, 0}, {3, 0}})
        EXPECT_EQ(Dmod->GetForwardToEmpNbr(employee), target) << employee;
}

class EmailRunTest : public HistoryTest {
protected:
    void SetUp() override {
        HistoryTest::SetUp();
        // Recipient 1 has an address, 2 has none. Each has one row per code.
        Db.Exec("insert into EMPLOYEE (EmpNbr, AlertEmail) values (1, 'a@example.com'), (2, NULL);"
                "insert into JOBS (JobNbr, JobId, JobDescr) values (5, 'J5', 'Five'), (9, 'J9', "
                "'Nine');");
        for (int code = 0; code <= 5; ++code)
            for (int recipient : {1, 2})
                Db.Exec("insert into ALERT_HISTORY (AlertNbr, AlertRecipientNbr, DateGenerated, "
                        "SendEmail,"
                        " JobNbr) values (" +
                        std::to_string(code) + ", " + std::to_string(recipient) + ", '2024/07/0" +
                        std::to_string(code + 1) + "', " + std::to_string(code) + ", " +
                        (code % 2    ? "9"
                         : code == 2 ? "NULL"
                                     : "5") +
                        ")");
    }

    std::set<int> CodesLeft() {
        std::set<int> codes;
        for (const auto& row : Db.Rows("select distinct SendEmail from ALERT_HISTORY"))
            codes.insert(row[0].AsInteger());
        return codes;
    }
};

TEST_F(EmailRunTest, EachClassTakesItsCodesAndTheShorterOnes) {
    const std::map<int, std::vector<int>> classes{
        {1, {1, 3, 5, 4}}, {3, {3, 5, 4}}, {4, {5, 4}}, {5, {5}}};
    for (const auto& [runClass, expected] : classes) {
        Dmod->OpenAlertsToEmail(static_cast<std::uint8_t>(runClass));
        // Only the recipient with an address; highest job first, then oldest.
        std::vector<int> codes;
        for (TQuery* q = Dmod->CommonSql; !q->Eof(); q->Next()) {
            EXPECT_EQ(q->FieldByName("AlertRecipientNbr")->AsInteger(), 1);
            EXPECT_EQ(q->FieldByName("AlertEmail")->AsString(), "a@example.com");
            codes.push_back(q->FieldByName("SendEmail")->AsInteger());
        }
        EXPECT_EQ(codes, expected) << "class " << runClass;
    }
    Dmod->OpenAlertsToEmail(1);
    EXPECT_EQ(Dmod->CommonSql->FieldByName("JobId")->AsString(), "J9");
}

TEST_F(EmailRunTest, OnlyRealClassesSelect) {
    for (int runClass : {0, 2, 6}) {
        try {
            Dmod->OpenAlertsToEmail(static_cast<std::uint8_t>(runClass));
            ADD_FAILURE() << "class " << runClass << " selected";
        } catch (const Exception& error) {
            EXPECT_EQ(error.Message, "Looking up alerts to email using invalid type.");
        }
    }
}

TEST_F(EmailRunTest, MarkingClearsTheClassCodesForEveryRecipient) {
    Dmod->MarkAlertsSent(2);
    EXPECT_EQ(CodesLeft(), (std::set<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(LastStatement(), "");
    const std::pair<int, std::set<int>> steps[] = {
        {5, {0, 1, 2, 3, 4}}, {4, {0, 1, 2, 3}}, {3, {0, 1, 2}}, {1, {0, 2}}};
    for (const auto& [runClass, left] : steps) {
        Dmod->MarkAlertsSent(static_cast<std::uint8_t>(runClass));
        EXPECT_EQ(CodesLeft(), left) << "class " << runClass;
    }
    EXPECT_EQ(Db.Scalar("select count(*) from ALERT_HISTORY where SendEmail = 0"), 10);
}

TEST_F(EmailRunTest, MarkingOneRecipientLeavesEveryOtherRowDue) {
    // Each row's code by recipient, then AlertNbr (which is its first code).
    const auto Codes = [this](int ARecipient) {
        std::vector<int> codes;
        for (const auto& row : Db.Rows("select SendEmail from ALERT_HISTORY where "
                                       "AlertRecipientNbr = " +
                                       std::to_string(ARecipient) + " order by AlertNbr"))
            codes.push_back(row[0].AsInteger());
        return codes;
    };
    Dmod->MarkRecipientAlertsSent(4, 1);
    EXPECT_EQ(Codes(1), (std::vector<int>{0, 1, 2, 3, 0, 0}));
    EXPECT_EQ(Codes(2), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    Dmod->MarkRecipientAlertsSent(2, 1); // a class that e-mails nothing
    Dmod->MarkRecipientAlertsSent(1, 1);
    EXPECT_EQ(Codes(1), (std::vector<int>{0, 0, 2, 0, 0, 0}));
    EXPECT_EQ(Codes(2), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    // Committed at once: another connection sees it.
    EXPECT_FALSE(Dmod->MyDatabase->InTransaction());
}

TEST_F(HistoryTest, PurgeGoesByEachRecipientsAge) {
    ManualClock clock(EncodeDate(2024, 7, 10) + EncodeTime(12, 0, 0, 0));
    ScopedClock installed(clock);
    Db.Exec("insert into ALERT_USER_DEFAULTS (EmpNbr, PurgeAfterNbrOfDays) values (1, 5), (2, 30);"
            "insert into ALERT_HISTORY (AlertNbr, AlertRecipientNbr, DateGenerated) values"
            " (1, 1, '2024/07/05 11:59:59'), (2, 1, '2024/07/05 12:00:01'), (3, 1, '2024/07/09'),"
            " (4, 2, '2024/06/10'), (5, 2, '2024/06/11'),"
            " (6, 3, '2020/01/01');");
    Dmod->PurgeAlertHistory();
    std::vector<int> kept;
    for (const auto& row : Db.Rows("select AlertNbr from ALERT_HISTORY order by AlertNbr"))
        kept.push_back(row[0].AsInteger());
    EXPECT_EQ(kept, (std::vector<int>{2, 3, 5, 6}));
}

TEST_F(HistoryTest, DeleteTransaction) {
    Db.Exec("insert into ALERT_TRANSACTION (AlertTransToken, AlertNbr) values (1, 5), (2, 6)");
    Dmod->DeleteAlertTransaction(1);
    EXPECT_EQ(Db.Rows("select AlertTransToken from ALERT_TRANSACTION"), Rows{{Variant(2)}});
}

} // namespace
