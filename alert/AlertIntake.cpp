#include "alert/AlertIntake.h"

#include "alert/AlertProcessing.h"
#include "alert/FieldReading.h"
#include "alert/store/MainDmod.h"
#include "platform/data/Query.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

#include <array>

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

using Fields = std::array<TField*, cColumnCount>;

void CopyIfSet(const TField* Field, std::int32_t& Member) {
    if (!Field->IsNull()) Member = Field->AsInteger();
}
void CopyIfSet(const TField* Field, AnsiString& Member) {
    if (!Field->IsNull()) Member = Field->AsString();
}

AlertTransaction ReadTransaction(const Fields& F) {
    AlertTransaction alert;
    alert.AlertTransToken = F[cToken]->AsInteger();
    alert.AlertNbr = F[cAlertNbr]->AsInteger();
    CopyIfSet(F[cTransType], alert.TransType);
    alert.EventTimeStamp = F[cEventTimeStamp]->AsDateTime();
    CopyIfSet(F[cEmpNbrGeneratedTrans], alert.EmpNbrGeneratedTrans);
    CopyIfSet(F[cJobNbr], alert.JobNbr);
    CopyIfSet(F[cJobItemNbr], alert.JobItemNbr);
    CopyIfSet(F[cWoNbr], alert.WoNbr);
    CopyIfSet(F[cPoNbr], alert.PoNbr);
    CopyIfSet(F[cPoItemNbr], alert.PoItemNbr);
    CopyIfSet(F[cBillingNbr], alert.BillingNbr);
    CopyIfSet(F[cProgressBillingNbr], alert.ProgressBillingNbr);
    CopyIfSet(F[cShipTicketNbr], alert.ShipTicketNbr);
    CopyIfSet(F[cInvNbr], alert.InvNbr);
    CopyIfSet(F[cEmpNbr], alert.EmpNbr);
    CopyIfSet(F[cWoProductNbr], alert.WoProductNbr);
    CopyIfSet(F[cDeptNbr], alert.DeptNbr);
    CopyIfSet(F[cTag1], alert.Tag1);
    CopyIfSet(F[cArg1], alert.Arg1);
    CopyIfSet(F[cTag2], alert.Tag2);
    CopyIfSet(F[cArg2], alert.Arg2);
    CopyIfSet(F[cTag3], alert.Tag3);
    CopyIfSet(F[cArg3], alert.Arg3);
    CopyIfSet(F[cTag4], alert.Tag4);
    CopyIfSet(F[cArg4], alert.Arg4);
    return alert;
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
    TQuery& pending = *Context.Main.AlertTransactionsQ;
    OpenStatement(pending, "Select * From ALERT_TRANSACTION ");
    Fields fields{};
    for (std::size_t column = 0; column < fields.size(); ++column)
        fields[column] = pending.FieldByName(ColumnNames[column]);

    for (pending.First(); !pending.Eof(); pending.Next()) {
        std::int32_t token = 0;
        try {
            token = fields[cToken]->AsInteger();
            AlertTransaction alert = ReadTransaction(fields);
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
        } catch (const Exception& error) {
            Context.Host.LogLine(
                Format("%s (alert transaction %d left for the next batch)", error.Message, token));
        }
    }
}
