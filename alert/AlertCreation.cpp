#include "alert/AlertCreation.h"

#include "alert/AlertText.h"
#include "alert/FieldReading.h"
#include "alert/store/MainDmod.h"
#include "platform/data/Database.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

void CreateAlert(AlertContext& Context, AlertTransaction& Alert) {
    if (!Alert.JobList.empty() || !Alert.WoList.empty()) {
        CreateOwnerAlerts(Context, Alert);
        return;
    }
    const int forwardTo = Context.Main.GetForwardToEmpNbr(Alert.RecipientNbr);
    if (forwardTo != 0) Alert.RecipientNbr = forwardTo;
    ExpandAlertText(Context, Alert);
    Context.Main.InsertAlertHistory(Alert);
    // Outside a unit of work the row is stored already: nothing would ever
    // tell the host of it, so it hears of it now.
    if (Context.Main.MyDatabase->InTransaction())
        Context.Uncommitted.push_back(Alert);
    else
        Context.Host.AlertGenerated(Alert);
}

void CreateOwnerAlerts(AlertContext& Context, AlertTransaction& Alert) {
    std::vector<std::int32_t> owners;
    owners.swap(Alert.JobList.empty() ? Alert.WoList : Alert.JobList);
    Alert.JobList.clear();
    Alert.WoList.clear();

    const std::int32_t recipient = Alert.RecipientNbr;
    const std::int32_t jobNbr = Alert.JobNbr;
    const std::int32_t jobItemNbr = Alert.JobItemNbr;
    const std::int32_t woNbr = Alert.WoNbr;
    for (const std::int32_t owner : owners) {
        // Forwarding applies to the setting's recipient, not to whoever the
        // previous alert of the fan-out was forwarded to.
        Alert.RecipientNbr = recipient;
        if (Alert.SourceType == 5) {
            Alert.JobNbr = owner;
        } else if (Alert.SourceType == 6) {
            Alert.WoNbr = owner;
            TDataSet& workOrder = Context.Shop.SelectWorkOrder(owner);
            Alert.JobItemNbr = FieldInt(workOrder, "JobItemNbr");
            Alert.JobNbr = FieldInt(workOrder, "JobNbr");
        } else {
            continue;
        }
        CreateAlert(Context, Alert);
    }
    Alert.RecipientNbr = recipient;
    Alert.JobNbr = jobNbr;
    Alert.JobItemNbr = jobItemNbr;
    Alert.WoNbr = woNbr;
}

void FindPoOwner(AlertContext& Context, AlertTransaction& Alert, const AlertSetting& Setting) {
    Alert.SourceType = Setting.Source;
    const bool wholeOrder = Alert.AlertNbr == 31 || Alert.AlertNbr == 32;
    const int key = wholeOrder ? Alert.PoNbr : Alert.PoItemNbr;
    IShopLookups& shop = Context.Shop;

    if (Setting.Source == 5) {
        TDataSet& jobs = wholeOrder ? shop.OpenPoJobs(key) : shop.OpenPoItemJobs(key);
        // The job lookups below may share the list's query: take the list first.
        std::vector<std::int32_t> jobNbrs;
        for (jobs.First(); !jobs.Eof(); jobs.Next())
            jobNbrs.push_back(FieldInt(jobs, "JobNbr"));
        for (const std::int32_t jobNbr : jobNbrs) {
            TDataSet& job = shop.SelectJob(jobNbr);
            if (!FieldIsNull(job, "ProjManagerId") &&
                FieldInt(job, "ProjManagerId") == Setting.EmpNbr)
                Alert.JobList.push_back(jobNbr);
        }
        if (Alert.JobList.empty())
            throw Exception(Format(wholeOrder ? "Unable to find referenced job for PO %d"
                                              : "Unable to find referenced job for PO item %d",
                                   key));
    } else if (Setting.Source == 6) {
        TDataSet& workOrders =
            wholeOrder ? shop.OpenPoWorkOrders(key) : shop.OpenPoItemWorkOrders(key);
        std::vector<std::int32_t> woNbrs;
        for (workOrders.First(); !workOrders.Eof(); workOrders.Next())
            if (!FieldIsNull(workOrders, "WoNbr")) woNbrs.push_back(FieldInt(workOrders, "WoNbr"));
        for (const std::int32_t woNbr : woNbrs) {
            TDataSet& workOrder = shop.SelectWorkOrder(woNbr);
            if (!FieldIsNull(workOrder, "EmpNbr") &&
                FieldInt(workOrder, "EmpNbr") == Setting.EmpNbr)
                Alert.WoList.push_back(woNbr);
        }
        if (Alert.WoList.empty())
            throw Exception(Format(wholeOrder ? "Unable to find referenced job/WO for PO %d"
                                              : "Unable to find referenced job/WO for PO item %d",
                                   key));
    }
}
