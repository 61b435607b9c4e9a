// The alert history statements of the main data module over a real shop
// database: the written row, forwarding, the e-mail selection by run class,
// marking, purging and the transaction delete.
#include "StoreTest.h"

#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <functional>

namespace {

class HistoryReading : public StoreTest {
protected:
    void AddHistory(int AlertNbr, int Recipient, const char* Date, int Code, const char* Job = "NULL")
    {
        Db.Exec(Format("insert into ALERT_HISTORY (AlertNbr, AlertRecipientNbr, DateGenerated,"
                       " Priority, Descr, SendEmail, JobNbr) values (%d, %d, '%s', 1, 'd', %d, %s)",
                       AlertNbr, Recipient, Date, Code, Job));
    }
    // The alert numbers of the rows left with each code, "nbr:code" joined.
    AnsiString Codes()
    {
        AnsiString Text;
        for (const auto& Row : Db.Rows("select AlertNbr, SendEmail from ALERT_HISTORY order by AlertNbr"))
            Text += Row[0].AsString() + ":" + Row[1].AsString() + " ";
        return Text;
    }
};

const char* const KeyColumns =
    "EmpNbrTriggeredAlert, JobNbr, PoNbr, JobItemNbr, WoNbr, ProgressBillingNbr, ShipTicketNbr,"
    " InvNbr, EmpNbr, WoProductNbr, DeptNbr, PoItemNbr, ActionItemNbr, RFINbr, QuoteNbr";

AnsiString JoinRow(const std::vector<Variant>& Row)
{
    AnsiString Text;
    for (const Variant& V : Row)
        Text += (V.IsNull() ? AnsiString("NULL") : V.AsString()) + ",";
    return Text;
}

TEST_F(HistoryReading, WritesOneRowWithSentinelsAsNull)
{
    AlertTransaction Alert;
    Alert.AlertNbr = 17;
    Alert.RecipientNbr = 40;
    Alert.EventTimeStamp = EncodeDate(2024, 7, 1);
    Alert.Priority = 2;
    Alert.MessageText = "Job 'A': late";
    Alert.EmailCode = 3;
    Dmod->InsertAlertHistory(Alert); // every key at its sentinel

    Alert.AlertNbr = 18;
    // A workstation's own date separator never reaches the stored text.
    FormatSettings().DateSeparator = '-';
    Alert.EventTimeStamp = EncodeDate(2024, 7, 1) + EncodeTime(13, 5, 9, 0);
    Alert.EmpNbrGeneratedTrans = 0;
    Alert.EmpNbr = 0;
    Alert.JobNbr = -99;
    Alert.PoNbr = 2;
    Alert.JobItemNbr = 3;
    Alert.WoNbr = 4;
    Alert.ProgressBillingNbr = 5;
    Alert.ShipTicketNbr = 6;
    Alert.InvNbr = 7;
    Alert.WoProductNbr = 8;
    Alert.DeptNbr = 9;
    Alert.PoItemNbr = 10;
    Alert.ActionItemNbr = 11;
    Alert.RFINbr = 12;
    Alert.QuoteNbr = -5;
    FormatSettings().ShortDateFormat = "d.m.yy";
    Dmod->InsertAlertHistory(Alert);
    // The statement shapes stay set for the routines that rely on them.
    EXPECT_EQ(FormatSettings().ShortDateFormat, "yyyy/mm/dd");
    EXPECT_EQ(FormatSettings().LongTimeFormat, "hh:mm:ss");

    const auto Rows = Db.Rows(AnsiString("select AlertNbr, AlertRecipientNbr, DateGenerated, Priority,"
                                         " Descr, SendEmail, ") +
                              KeyColumns + " from ALERT_HISTORY order by AlertNbr");
    ASSERT_EQ(Rows.size(), 2u);
    EXPECT_EQ(JoinRow(Rows[0]), "17,40,2024/07/01,2,Job 'A': late,3,"
                                "NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,NULL,");
    EXPECT_EQ(JoinRow(Rows[1]), "18,40,2024/07/01 13:05:09,2,Job 'A': late,3,"
                                "0,-99,2,3,4,5,6,7,0,8,9,10,11,12,-5,");

    // The last instant of a day stays on that day.
    Alert.AlertNbr = 19;
    Alert.EventTimeStamp = EncodeDate(2024, 7, 1) + EncodeTime(23, 59, 59, 999);
    Dmod->InsertAlertHistory(Alert);
    EXPECT_EQ(Db.Scalar("select DateGenerated from ALERT_HISTORY where AlertNbr = 19").AsString(),
              "2024/07/01 23:59:59");
}

TEST_F(HistoryReading, ForwardingTargetOrZero)
{
    Db.Exec("insert into ALERT_USER_DEFAULTS (EmpNbr, ForwardToEmpNbr) values (40, 41), (42, NULL)");
    struct Case {
        int Emp;
        int Expected;
    };
    for (const Case& C : {Case{40, 41}, Case{42, 0}, Case{43, 0}})
        EXPECT_EQ(Dmod->GetForwardToEmpNbr(C.Emp), C.Expected) << C.Emp;
}

TEST_F(HistoryReading, EachRunClassSelectsAndMarksItsCodes)
{
    Db.Exec("insert into EMPLOYEE (EmpNbr, AlertEmail) values (40, 'a@x'), (41, NULL)");
    struct Case {
        std::uint8_t RunClass;
        const char* Selected; // alert numbers of recipient 40 selected
        const char* After;    // codes left after marking
    };
    const Case Cases[] = {
        {1, "101 103 104 105 ", "100:0 101:0 102:2 103:0 104:0 105:0 111:0 "},
        {3, "103 104 105 ", "100:0 101:1 102:2 103:0 104:0 105:0 111:0 "},
        {4, "104 105 ", "100:0 101:1 102:2 103:3 104:0 105:0 111:0 "},
        {5, "105 ", "100:0 101:1 102:2 103:3 104:4 105:0 111:0 "},
    };
    for (const Case& C : Cases) {
        Db.Exec("delete from ALERT_HISTORY");
        for (int Code = 0; Code <= 5; ++Code)
            AddHistory(100 + Code, 40, "2024/07/01", Code);
        AddHistory(111, 41, "2024/07/01", 5); // no address: never selected, still marked
        Dmod->OpenAlertsToEmail(C.RunClass);
        AnsiString Selected;
        for (Dmod->CommonSql->First(); !Dmod->CommonSql->Eof(); Dmod->CommonSql->Next()) {
            EXPECT_EQ(Dmod->CommonSql->FieldByName("AlertEmail")->AsString(), "a@x");
            Selected += Dmod->CommonSql->FieldByName("AlertNbr")->AsString() + " ";
        }
        EXPECT_EQ(Selected, C.Selected) << int(C.RunClass);
        Dmod->MarkAlertsSent(C.RunClass);
        EXPECT_EQ(Codes(), C.After) << int(C.RunClass);
    }
}

TEST_F(HistoryReading, OtherClassesRaiseOnSelectionAndMarkNothing)
{
    Db.Exec("insert into EMPLOYEE (EmpNbr, AlertEmail) values (40, 'a@x')");
    for (int Code = 1; Code <= 5; ++Code)
        AddHistory(100 + Code, 40, "2024/07/01", Code);
    for (std::uint8_t RunClass : {0, 2, 6, 255}) {
        try {
            Dmod->OpenAlertsToEmail(RunClass);
            ADD_FAILURE() << "class " << int(RunClass) << " selected";
        } catch (const Exception& E) {
            EXPECT_EQ(E.Message, "Looking up alerts to email using invalid type.");
        }
        EXPECT_NO_THROW(Dmod->MarkAlertsSent(RunClass));
    }
    EXPECT_EQ(Codes(), "101:1 102:2 103:3 104:4 105:5 ");
}

TEST_F(HistoryReading, RecipientsWhoseMessageWasRefusedStayDue)
{
    struct Case {
        std::function<void(TMainDmod&)> Mark;
        const char* After;
    };
    const Case Cases[] = {
        {[](TMainDmod& D) { D.MarkAlertsSent(3, {40}); }, "11:1 13:3 14:4 21:1 23:0 24:0 "},
        {[](TMainDmod& D) { D.MarkAlertsSent(1, {40, 41}); }, "11:1 13:3 14:4 21:1 23:3 24:4 "},
        {[](TMainDmod& D) { D.MarkRecipientAlertsSent(4, 40); }, "11:1 13:3 14:0 21:1 23:3 24:4 "},
        {[](TMainDmod& D) { D.MarkRecipientAlertsSent(1, 41); }, "11:1 13:3 14:4 21:0 23:0 24:0 "},
        {[](TMainDmod& D) { D.MarkRecipientAlertsSent(2, 41); }, "11:1 13:3 14:4 21:1 23:3 24:4 "},
    };
    for (const Case& C : Cases) {
        Db.Exec("delete from ALERT_HISTORY");
        for (int Recipient : {40, 41})
            for (int Code : {1, 3, 4})
                AddHistory((Recipient - 39) * 10 + Code, Recipient, "2024/07/01", Code);
        C.Mark(*Dmod);
        EXPECT_EQ(Codes(), C.After);
    }
}

TEST_F(HistoryReading, SelectionGroupsByRecipientThenJobDescendingThenOldestFirst)
{
    Db.Exec("insert into EMPLOYEE (EmpNbr, AlertEmail) values (40, 'a@x'), (39, 'b@x');"
            "insert into JOBS (JobNbr, JobId, JobDescr) values (7, 'J7', 'Seven')");
    AddHistory(1, 40, "2024/07/02", 5, "3");
    AddHistory(2, 40, "2024/07/01", 5, "7");
    AddHistory(3, 40, "2024/07/03", 5, "7");
    AddHistory(4, 39, "2024/07/05", 5, "1");
    Dmod->OpenAlertsToEmail(5);
    AnsiString Order;
    for (Dmod->CommonSql->First(); !Dmod->CommonSql->Eof(); Dmod->CommonSql->Next())
        Order += Dmod->CommonSql->FieldByName("AlertNbr")->AsString() +
                 Dmod->CommonSql->FieldByName("JobId")->AsString() + " ";
    EXPECT_EQ(Order, "4 2J7 3J7 1 ");
}

TEST_F(HistoryReading, PurgeDropsEachRecipientsRowsOlderThanItsAge)
{
    ManualClock Now(EncodeDate(2024, 7, 31) + EncodeTime(12, 0, 0, 0));
    ScopedClock Guard(Now);
    Db.Exec("insert into ALERT_USER_DEFAULTS (EmpNbr, PurgeAfterNbrOfDays) values (40, 30), (41, 1),"
            " (43, NULL), (44, 0)");
    AddHistory(1, 40, "2024/07/01 11:59:59", 0);
    AddHistory(2, 40, "2024/07/01 12:00:01", 5);
    AddHistory(3, 41, "2024/07/30", 0);
    AddHistory(4, 41, "2024/07/30 12:00:01", 0);
    AddHistory(5, 42, "2000/01/01", 0); // no defaults: kept
    AddHistory(6, 43, "2000/01/01", 0); // no age: kept
    AddHistory(7, 44, "2024/07/31 11:59:59", 0);
    AddHistory(8, 44, "2024/07/31 12:00:00", 0);
    Dmod->PurgeAlertHistory();
    EXPECT_EQ(Codes(), "2:5 4:0 5:0 6:0 8:0 ");
}

TEST_F(HistoryReading, DeletesTheProcessedTransactionOnly)
{
    Db.Exec("insert into ALERT_TRANSACTION (AlertTransToken, AlertNbr) values (5, 1), (6, 1)");
    Dmod->DeleteAlertTransaction(5);
    EXPECT_EQ(Db.Scalar("select group_concat(AlertTransToken) from ALERT_TRANSACTION").AsString(), "6");
}

} // namespace
