// The alert history: writing an alert, forwarding, selecting and marking the
// alerts a run e-mails, purging old alerts, deleting processed transactions.
#include "alert/store/MainDmod.h"

#include "datamodules/format/DateSettings.h"
#include "platform/data/Database.h"
#include "platform/data/Query.h"
#include "platform/data/SqlDateText.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Format.h"

#include <utility>

namespace {

// The e-mail frequency codes a run of the class e-mails and marks: a run
// also takes every code of a shorter interval. Empty for a class that
// e-mails nothing (2, the plain five-minute tick, and any unknown class).
AnsiString EmailCodesOfClass(std::uint8_t RunClass) {
    switch (RunClass) {
    case 1:
        return "1,3,4,5";
    case 3:
        return "3,4,5";
    case 4:
        return "4,5";
    case 5:
        return "5";
    default:
        return {};
    }
}

// The columns of a history row in the order of the statement's parameters.
constexpr const char* HistoryColumns[] = {
    "AlertNbr",      "AlertRecipientNbr",  "DateGenerated", "Priority",      "Descr",
    "SendEmail",     "EmpNbrTriggeredAlert", "JobNbr",      "PoNbr",         "JobItemNbr",
    "WoNbr",         "ProgressBillingNbr", "ShipTicketNbr", "InvNbr",        "EmpNbr",
    "WoProductNbr",  "DeptNbr",            "PoItemNbr",     "ActionItemNbr", "RFINbr",
    "QuoteNbr",
};

// "Insert into ALERT_HISTORY ( AlertNbr, ... ) values ( :AlertNbr, ... )":
// the values go in as parameters, so no text of theirs can reach the
// statement and every row runs the one compiled statement.
const AnsiString& InsertHistoryStatement() {
    static const AnsiString statement = [] {
        AnsiString names, values;
        for (const char* column : HistoryColumns) {
            if (!names.empty()) {
                names += ", ";
                values += ", ";
            }
            names += column;
            values += AnsiString(":") + column;
        }
        return "Insert into ALERT_HISTORY ( " + names + " ) values ( " + values + " )";
    }();
    return statement;
}

// A key column's number, or NULL for its "not set" sentinel.
void SetKey(TParam& Param, std::int32_t Value, std::int32_t NotSet) {
    if (Value == NotSet)
        Param.Clear();
    else
        Param.SetAsInteger(Value);
}

} // namespace

void TMainDmod::InsertAlertHistory(const AlertTransaction& Alert) {
    ForceDateTimeSettings();
    SetStatementText(*HistorySql, InsertHistoryStatement());
    TParams& params = HistorySql->Params();
    int next = 0;
    auto param = [&]() -> TParam& { return *params[next++]; };
    param().SetAsInteger(Alert.AlertNbr);
    param().SetAsInteger(Alert.RecipientNbr);
    // The time stamp always has the statement form (slashes and colons, the
    // date alone at midnight), whatever the separators are set to.
    param().SetAsString(SqlDateTimeTextShort(Alert.EventTimeStamp));
    param().SetAsInteger(static_cast<int>(Alert.Priority));
    param().SetAsString(Alert.MessageText);
    param().SetAsInteger(static_cast<int>(Alert.EmailCode));
    SetKey(param(), Alert.EmpNbrGeneratedTrans, -99);
    for (const std::int32_t key :
         {Alert.JobNbr, Alert.PoNbr, Alert.JobItemNbr, Alert.WoNbr, Alert.ProgressBillingNbr,
          Alert.ShipTicketNbr, Alert.InvNbr})
        SetKey(param(), key, 0);
    SetKey(param(), Alert.EmpNbr, -99);
    for (const std::int32_t key : {Alert.WoProductNbr, Alert.DeptNbr, Alert.PoItemNbr,
                                   Alert.ActionItemNbr, Alert.RFINbr, Alert.QuoteNbr})
        SetKey(param(), key, 0);
    HistorySql->ExecSQL();
}

int TMainDmod::GetForwardToEmpNbr(int EmpNbr) {
    SetStatementText(*ForwardSql,
                     "Select ForwardToEmpNbr from ALERT_USER_DEFAULTS where EmpNbr = :EmpNbr ");
    ForwardSql->Params()[0]->SetAsInteger(EmpNbr);
    // Asked once per alert: read where it is, without a data set.
    int forward = 0;
    bool first = true;
    ForwardSql->ReadRows([&](const TRowReader& Row) {
        if (first && !Row.IsNull(0)) forward = Row.AsInteger(0);
        first = false;
    });
    return forward;
}

void TMainDmod::OpenAlertsToEmail(std::uint8_t RunClass) {
    const AnsiString codes = EmailCodesOfClass(RunClass);
    if (codes.empty()) throw Exception("Looking up alerts to email using invalid type.");
    OpenStatement(
        *CommonSql,
        Format("Select AH.*, EMP.AlertEmail, JOBS.JobId, JOBS.JobDescr from ALERT_HISTORY "
               "AH left outer join EMPLOYEE EMP on AH.AlertRecipientNbr = EMP.EmpNbr left "
               "outer join JOBS on AH.JobNbr = JOBS.JobNbr where AH.SendEmail in (%s) and "
               "EMP.AlertEmail is NOT NULL order by AlertRecipientNbr, AH.JobNbr DESC, "
               "DateGenerated",
               codes));
}

void TMainDmod::MarkAlertsSent(std::uint8_t RunClass, const std::vector<std::int32_t>& KeepDue) {
    const AnsiString codes = EmailCodesOfClass(RunClass);
    if (codes.empty()) return;
    AnsiString kept;
    for (const std::int32_t recipient : KeepDue)
        kept += (kept.empty() ? "" : ",") + IntToStr(recipient);
    // A row without a recipient is never kept: "not in" alone would pass
    // over it for ever.
    const AnsiString except =
        kept.empty()
            ? AnsiString()
            : " and (AlertRecipientNbr is NULL or AlertRecipientNbr not in (" + kept + "))";
    ExecStatement(
        *CommonSql,
        Format("Update ALERT_HISTORY set SendEmail = 0 where SendEmail in (%s)%s", codes, except));
}

void TMainDmod::MarkRecipientAlertsSent(std::uint8_t RunClass, std::int32_t RecipientNbr) {
    const AnsiString codes = EmailCodesOfClass(RunClass);
    if (codes.empty()) return;
    const AnsiString statement =
        Format("Update ALERT_HISTORY set SendEmail = 0 where SendEmail in (%s) and "
               "AlertRecipientNbr = %d",
               codes, RecipientNbr);
    // Inside a transaction the caller opened, the caller's commit counts.
    if (MyDatabase->InTransaction()) {
        ExecStatement(*CommonSql, statement);
        return;
    }
    MyDatabase->StartTransaction();
    try {
        ExecStatement(*CommonSql, statement);
        MyDatabase->Commit();
    } catch (...) {
        try {
            MyDatabase->Rollback();
        } catch (...) {
            // The failure that matters is the one being passed on.
        }
        throw;
    }
}

void TMainDmod::PurgeAlertHistory() {
    // The shop server's "delete ... from ... from" join, said the SQLite way:
    // each recipient's rows older than that recipient's purge age go;
    // recipients without defaults keep everything.
    ExecStatement(*CommonSql,
                  "Delete from ALERT_HISTORY where exists (select 1 from ALERT_USER_DEFAULTS AD "
                  "where ALERT_HISTORY.AlertRecipientNbr = AD.EmpNbr and "
                  "ALERT_HISTORY.DateGenerated < add_days(now(), -AD.PurgeAfterNbrOfDays))");
}

void TMainDmod::DeleteAlertTransaction(int AlertTransToken) {
    SetStatementText(*CommonSql,
                     "Delete from ALERT_TRANSACTION where AlertTransToken = :AlertTransToken ");
    CommonSql->Params()[0]->SetAsInteger(AlertTransToken);
    CommonSql->ExecSQL();
}
