#include "alert/AlertIntake.h"

#include "alert/AlertProcessing.h"
#include "alert/FieldReading.h"
#include "alert/LogText.h"
#include "alert/store/MainDmod.h"
#include "platform/data/DBExceptions.h"
#include "platform/data/Query.h"
#include "platform/data/SqlDateText.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StrUtils.h"

#include <array>
#include <vector>

namespace {

enum Column {
    cToken,
    cAlertNbr,
    cTransType,
    cEventTimeStamp,
    cEmpNbrGeneratedTrans,
    cJobNbr,
    cPoNbr,
    cJobItemNbr,
    cWoNbr,
    cBillingNbr,
    cProgressBillingNbr,
    cShipTicketNbr,
    cInvNbr,
    cEmpNbr,
    cWoProductNbr,
    cDeptNbr,
    cPoItemNbr,
    cTag1,
    cArg1,
    cTag2,
    cArg2,
    cTag3,
    cArg3,
    cTag4,
    cArg4,
    cColumnCount
};

constexpr std::array<const char*, cColumnCount> ColumnNames = {
    "AlertTransToken",
    "AlertNbr",
    "TransType",
    "EventTimeStamp",
    "EmpNbrGeneratedTrans",
    "JobNbr",
    "PoNbr",
    "JobItemNbr",
    "WoNbr",
    "BillingNbr",
    "ProgressBillingNbr",
    "ShipTicketNbr",
    "InvNbr",
    "EmpNbr",
    "WoProductNbr",
    "DeptNbr",
    "PoItemNbr",
    "Tag1",
    "Arg1",
    "Tag2",
    "Arg2",
    "Tag3",
    "Arg3",
    "Tag4",
    "Arg4",
};

// Where each column is in the result, found by name as a field would be.
using Columns = std::array<int, cColumnCount>;

Columns LocateColumns(const TRowReader& Row) {
    Columns at{};
    for (std::size_t column = 0; column < at.size(); ++column) {
        at[column] = -1;
        for (int i = 0; i < Row.ColumnCount() && at[column] < 0; ++i)
            if (SameText(Row.ColumnName(i), ColumnNames[column])) at[column] = i;
        if (at[column] < 0)
            DatabaseError(AnsiString("Field '") + ColumnNames[column] + "' not found");
    }
    return at;
}

// A pending row as the scan read it. The time stamp stays the database's
// text until its transaction is processed: a bad one fails only that one.
struct PendingRow {
    AlertTransaction Alert;
    AnsiString EventTimeStamp;
    bool HasEventTimeStamp = false;
};

void CopyIfSet(const TRowReader& Row, int Column, std::int32_t& Member) {
    if (!Row.IsNull(Column)) Member = Row.AsInteger(Column);
}
void CopyIfSet(const TRowReader& Row, int Column, AnsiString& Member) {
    if (!Row.IsNull(Column)) Member = Row.AsString(Column);
}

PendingRow ReadTransaction(const TRowReader& Row, const Columns& At) {
    PendingRow read;
    AlertTransaction& alert = read.Alert;
    alert.AlertTransToken = Row.AsInteger(At[cToken]);
    alert.AlertNbr = Row.AsInteger(At[cAlertNbr]);
    CopyIfSet(Row, At[cTransType], alert.TransType);
    read.HasEventTimeStamp = !Row.IsNull(At[cEventTimeStamp]);
    if (read.HasEventTimeStamp) read.EventTimeStamp = Row.AsString(At[cEventTimeStamp]);
    CopyIfSet(Row, At[cEmpNbrGeneratedTrans], alert.EmpNbrGeneratedTrans);
    CopyIfSet(Row, At[cJobNbr], alert.JobNbr);
    CopyIfSet(Row, At[cJobItemNbr], alert.JobItemNbr);
    CopyIfSet(Row, At[cWoNbr], alert.WoNbr);
    CopyIfSet(Row, At[cPoNbr], alert.PoNbr);
    CopyIfSet(Row, At[cPoItemNbr], alert.PoItemNbr);
    CopyIfSet(Row, At[cBillingNbr], alert.BillingNbr);
    CopyIfSet(Row, At[cProgressBillingNbr], alert.ProgressBillingNbr);
    CopyIfSet(Row, At[cShipTicketNbr], alert.ShipTicketNbr);
    CopyIfSet(Row, At[cInvNbr], alert.InvNbr);
    CopyIfSet(Row, At[cEmpNbr], alert.EmpNbr);
    CopyIfSet(Row, At[cWoProductNbr], alert.WoProductNbr);
    CopyIfSet(Row, At[cDeptNbr], alert.DeptNbr);
    CopyIfSet(Row, At[cTag1], alert.Tag1);
    CopyIfSet(Row, At[cArg1], alert.Arg1);
    CopyIfSet(Row, At[cTag2], alert.Tag2);
    CopyIfSet(Row, At[cArg2], alert.Arg2);
    CopyIfSet(Row, At[cTag3], alert.Tag3);
    CopyIfSet(Row, At[cArg3], alert.Arg3);
    CopyIfSet(Row, At[cTag4], alert.Tag4);
    CopyIfSet(Row, At[cArg4], alert.Arg4);
    return read;
}

// The time stamp as a date-time field gives it: none is 0, a text must be
// a statement date and time.
TDateTime EventTime(const PendingRow& Row) {
    if (!Row.HasEventTimeStamp) return TDateTime(0.0);
    TDateTime value;
    if (!TryParseSqlDateTime(Row.EventTimeStamp, value))
        throw EConvertError("'" + Row.EventTimeStamp + "' is not a valid date and time");
    return value;
}

// The job of a job item, and the job item and job of a work order, when the
// shop product left them out.
void CompleteParents(AlertContext& Context, AlertTransaction& Alert) {
    if (Alert.JobItemNbr != 0 && Alert.JobNbr == 0)
        Alert.JobNbr = FieldInt(Context.Shop.SelectJobItem(Alert.JobItemNbr), "JobNbr");
    if (Alert.WoNbr == 0) return;
    if (Alert.JobItemNbr == 0) {
        TDataSet& workOrder = Context.Shop.SelectWorkOrder(Alert.WoNbr);
        Alert.JobItemNbr = FieldInt(workOrder, "JobItemNbr");
        if (Alert.JobNbr == 0) Alert.JobNbr = FieldInt(workOrder, "JobNbr");
    }
    if (Alert.JobNbr == 0)
        Alert.JobNbr = FieldInt(Context.Shop.SelectWorkOrder(Alert.WoNbr), "JobNbr");
}

} // namespace

void ScanAlertTransactions(AlertContext& Context) {
    // Every pending row is read before the first is processed: the batch
    // works on the transactions as they were when it began.
    TQuery& pending = *Context.Main.AlertTransactionsQ;
    std::vector<PendingRow> rows;
    rows.reserve(CountRows(pending, "ALERT_TRANSACTION"));
    SetStatementText(pending, "Select * From ALERT_TRANSACTION ");
    Columns at{};
    bool located = false;
    pending.ReadRows([&](const TRowReader& Row) {
        if (!located) at = LocateColumns(Row);
        located = true;
        rows.push_back(ReadTransaction(Row, at));
    });

    for (PendingRow& row : rows) {
        const std::int32_t token = row.Alert.AlertTransToken;
        try {
            AlertTransaction alert = std::move(row.Alert);
            alert.EventTimeStamp = EventTime(row);
            AlertUnitOfWork work(Context);
            CompleteParents(Context, alert);
            ProcessAlertTransaction(Context, alert);
            Context.Main.DeleteAlertTransaction(alert.AlertTransToken);
            // Gone since the scan read it: someone else processed it, and
            // its alerts exist already. Leaving the block rolls ours back.
            if (Context.Main.CommonSql->RowsAffected() == 0) {
                Context.Host.LogLine(
                    Format("Alert transaction %d was already processed elsewhere; its alerts were "
                           "not written again",
                           token));
                continue;
            }
            work.Commit();
        } catch (const EDatabaseUnusable& error) {
            // Every transaction after it would fail the same way (a full
            // disk, a read-only file): the step ends here, with one line
            // for them all, and they stay for the next batch.
            const auto left = static_cast<int>(rows.data() + rows.size() - &row);
            throw EDatabaseUnusable(Format("%s (alert transaction %d and the %d after it left for "
                                           "the next batch)",
                                           EscapedLogText(error.Message), token, left - 1));
        } catch (const Exception& error) {
            Context.Host.LogLine(Format("%s (alert transaction %d left for the next batch)",
                                        EscapedLogText(error.Message), token));
        }
    }
}
