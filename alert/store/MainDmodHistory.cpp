// The alert history: writing an alert, forwarding, selecting and marking the
// alerts a run e-mails, purging old alerts, deleting processed transactions.
#include "alert/store/MainDmod.h"
#include "alert/store/SqlHelpers.h"

#include "datamodules/format/DateSettings.h"
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

// The value of a key column: its number, or NULL for the "not set" sentinel.
AnsiString KeyText(std::int32_t Value, std::int32_t NotSet) {
    return Value == NotSet ? AnsiString("NULL") : IntToStr(Value);
}

} // namespace

void TMainDmod::InsertAlertHistory(const AlertTransaction& Alert) {
    ForceDateTimeSettings();
    // The time stamp always has the statement form (slashes and colons, the
    // date alone at midnight), whatever the separators are set to.
    const AnsiString dateGenerated = SqlDateTimeTextShort(Alert.EventTimeStamp);

    const std::pair<const char*, AnsiString> columns[] = {
        {"AlertNbr", IntToStr(Alert.AlertNbr)},
        {"AlertRecipientNbr", IntToStr(Alert.RecipientNbr)},
        {"DateGenerated", QuoteSqlString(dateGenerated)},
        {"Priority", IntToStr(static_cast<int>(Alert.Priority))},
        {"Descr", QuoteSqlString(Alert.MessageText)},
        {"SendEmail", IntToStr(static_cast<int>(Alert.EmailCode))},
        {"EmpNbrTriggeredAlert", KeyText(Alert.EmpNbrGeneratedTrans, -99)},
        {"JobNbr", KeyText(Alert.JobNbr, 0)},
        {"PoNbr", KeyText(Alert.PoNbr, 0)},
        {"JobItemNbr", KeyText(Alert.JobItemNbr, 0)},
        {"WoNbr", KeyText(Alert.WoNbr, 0)},
        {"ProgressBillingNbr", KeyText(Alert.ProgressBillingNbr, 0)},
        {"ShipTicketNbr", KeyText(Alert.ShipTicketNbr, 0)},
        {"InvNbr", KeyText(Alert.InvNbr, 0)},
        {"EmpNbr", KeyText(Alert.EmpNbr, -99)},
        {"WoProductNbr", KeyText(Alert.WoProductNbr, 0)},
        {"DeptNbr", KeyText(Alert.DeptNbr, 0)},
        {"PoItemNbr", KeyText(Alert.PoItemNbr, 0)},
        {"ActionItemNbr", KeyText(Alert.ActionItemNbr, 0)},
        {"RFINbr", KeyText(Alert.RFINbr, 0)},
        {"QuoteNbr", KeyText(Alert.QuoteNbr, 0)},
    };
    AnsiString names, values;
    for (const auto& [name, value] : columns) {
        if (!names.empty()) {
            names += ", ";
            values += ", ";
        }
        names += name;
        values += value;
    }
    ExecStatement(*CommonSql,
                  Format("Insert into ALERT_HISTORY ( %s ) values ( %s )", names, values));
}

int TMainDmod::GetForwardToEmpNbr(int EmpNbr) {
    OpenStatement(
        *CommonSql,
        Format("Select ForwardToEmpNbr from ALERT_USER_DEFAULTS where EmpNbr = %d ", EmpNbr));
    TField* forward = CommonSql->Fields()[0];
    return CommonSql->IsEmpty() || forward->IsNull() ? 0 : forward->AsInteger();
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
    ExecStatement(*CommonSql, Format("Delete from ALERT_TRANSACTION where AlertTransToken = %d ",
                                     AlertTransToken));
}
