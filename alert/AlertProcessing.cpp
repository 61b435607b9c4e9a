#include "alert/AlertProcessing.h"

#include "alert/AlertConditions.h"
#include "alert/AlertCreation.h"
#include "alert/FieldReading.h"
#include "alert/store/MainDmod.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Format.h"

#include <algorithm>

namespace {

[[noreturn]] void MissingKey(const char* What, const AlertTransaction& Alert,
                             const AlertSetting& Setting) {
    throw Exception(Format("Looking up %s. Transaction (%d), Setting (%d). ", What,
                           Alert.AlertTransToken, Setting.AlertSettingNbr));
}

// False for "none" (-99); else whether the looked-up value is one of the
// setting's source ids. For source types 1 to 6 the setting's own employee
// is its only source id, whatever ids it has stored.
bool IsSourceId(std::int32_t Value, const AlertSetting& Setting) {
    if (Value == -99) return false;
    if (Setting.Source >= 1 && Setting.Source <= 6) return Value == Setting.EmpNbr;
    return std::find(Setting.SourceIds.begin(), Setting.SourceIds.end(), Value) !=
           Setting.SourceIds.end();
}

void LookUpJobManager(AlertContext& Context, AlertTransaction& Alert, const AlertSetting& Setting) {
    if (Alert.JobManager != 0) return;
    if (Alert.JobNbr == 0) MissingKey("PM without Job info", Alert, Setting);
    Alert.JobManager = FieldIntOr(Context.Shop.SelectJob(Alert.JobNbr), "ProjManagerId", -99);
}

void LookUpWoEmployee(AlertContext& Context, AlertTransaction& Alert, const AlertSetting& Setting) {
    if (Alert.WoEmployee != 0) return;
    if (Alert.WoNbr == 0) MissingKey("WO without record info", Alert, Setting);
    Alert.WoEmployee = FieldIntOr(Context.Shop.SelectWorkOrder(Alert.WoNbr), "EmpNbr", -99);
}

// Both people of the order come from the one row; only those not known yet
// are taken from it.
void LookUpOrderPeople(AlertContext& Context, AlertTransaction& Alert,
                       const AlertSetting& Setting) {
    if (Alert.PoNbr == 0) MissingKey("PO without record info", Alert, Setting);
    TDataSet& order = Context.Shop.SelectPurchaseOrder(Alert.PoNbr);
    if (Alert.PoEmployee == 0) Alert.PoEmployee = FieldIntOr(order, "EmpNbr", -99);
    if (Alert.PoRequester == 0) Alert.PoRequester = FieldIntOr(order, "ReqByEmpNbr", -99);
}

bool OrderJobsOfEmployee(AlertContext& Context, AlertTransaction& Alert,
                         const AlertSetting& Setting) {
    if (Alert.PoJobManagers.empty()) {
        if (Alert.PoNbr == 0) MissingKey("PO without record info", Alert, Setting);
        TDataSet& links = Context.Shop.OpenPoJobs(Alert.PoNbr);
        std::vector<std::int32_t> jobs;
        for (links.First(); !links.Eof(); links.Next())
            jobs.push_back(FieldInt(links, "JobNbr"));
        for (const std::int32_t job : jobs) {
            TDataSet& row = Context.Shop.SelectJob(job);
            if (!FieldIsNull(row, "ProjManagerId"))
                Alert.PoJobManagers[job] = FieldInt(row, "ProjManagerId");
        }
    }
    Alert.JobList.clear();
    for (const auto& [job, manager] : Alert.PoJobManagers)
        if (manager == Setting.EmpNbr) Alert.JobList.push_back(job);
    return !Alert.JobList.empty();
}

bool OrderWorkOrdersOfEmployee(AlertContext& Context, AlertTransaction& Alert,
                               const AlertSetting& Setting) {
    if (Alert.PoWoEmployees.empty()) {
        if (Alert.PoNbr == 0) MissingKey("PO without record info", Alert, Setting);
        TDataSet& links = Context.Shop.OpenPoWorkOrders(Alert.PoNbr);
        std::vector<std::int32_t> workOrders;
        for (links.First(); !links.Eof(); links.Next())
            if (!FieldIsNull(links, "WoNbr")) workOrders.push_back(FieldInt(links, "WoNbr"));
        for (const std::int32_t wo : workOrders) {
            TDataSet& row = Context.Shop.SelectWorkOrder(wo);
            if (!FieldIsNull(row, "EmpNbr")) Alert.PoWoEmployees[wo] = FieldInt(row, "EmpNbr");
        }
    }
    Alert.WoList.clear();
    for (const auto& [wo, employee] : Alert.PoWoEmployees)
        if (employee == Setting.EmpNbr) Alert.WoList.push_back(wo);
    return !Alert.WoList.empty();
}

} // namespace

void CheckAlertSettingMarkers(AlertContext& Context) {
    int identity = 0;
    int count = 0;
    Context.Main.GetAlertSettingMarkers(identity, count);
    // Halting an employee's alerts or changing who logs on to receive them
    // leaves the settings table as it is: the recipients are read on each
    // batch and compared as a third marker.
    AlertRecipients recipients;
    Context.Main.LoadAlertRecipients(recipients);
    AlertSettingsCache& cache = Context.Host.SettingsCache();
    const bool sameRecipients = cache.Recipients &&
                                cache.Recipients->NotHalted == recipients.NotHalted &&
                                cache.Recipients->Receiving == recipients.Receiving;
    if (identity != cache.IdentityMarker || count != cache.CountMarker || !sameRecipients) {
        cache.Settings.clear();
        cache.Orders.clear();
        cache.AllLoaded = false;
        cache.IdentityMarker = identity;
        cache.CountMarker = count;
    }
    cache.Recipients = std::move(recipients);
}

const std::vector<AlertSetting>& GetAlertSettings(AlertContext& Context, int AlertId) {
    AlertSettingsCache& cache = Context.Host.SettingsCache();
    auto& settings = cache.Settings;
    auto found = settings.find(AlertId);
    if (found != settings.end()) return found->second;
    if (!cache.Recipients) {
        AlertRecipients recipients;
        Context.Main.LoadAlertRecipients(recipients);
        cache.Recipients = std::move(recipients);
    }
    // The first miss loads every alert id's settings: one read of each
    // table costs less than a search per alert id.
    if (!cache.AllLoaded) {
        std::map<std::int32_t, std::vector<AlertSetting>> all;
        Context.Main.LoadAllAlertSettings(*cache.Recipients, all);
        for (auto& [alertId, list] : all)
            settings.try_emplace(alertId, std::move(list));
        cache.AllLoaded = true;
        found = settings.find(AlertId);
        if (found != settings.end()) return found->second;
    }
    // An alert id without settings, or one whose settings raise: its own
    // load gives the empty list, or raises.
    std::vector<AlertSetting> loaded;
    Context.Main.LoadAlertSettings(AlertId, *cache.Recipients, loaded);
    return settings.emplace(AlertId, std::move(loaded)).first->second;
}

namespace {

// The person the filter of sources 1 to 4 matches the setting's own
// employee against, once it is looked up (0 before).
std::int32_t KnownPerson(const AlertTransaction& Alert, std::uint8_t Source) {
    switch (Source) {
    case 1:
        return Alert.JobManager;
    case 2:
        return Alert.WoEmployee;
    case 3:
        return Alert.PoEmployee;
    case 4:
        return Alert.PoRequester;
    default:
        return 0;
    }
}

const AlertSettingOrder& SettingOrder(AlertContext& Context, std::int32_t AlertId,
                                      const std::vector<AlertSetting>& Settings) {
    AlertSettingOrder& order = Context.Host.SettingsCache().Orders[AlertId];
    if (order.Count == Settings.size()) return order;
    order = AlertSettingOrder();
    order.Count = Settings.size();
    for (std::uint32_t at = 0; at < Settings.size(); ++at) {
        const AlertSetting& setting = Settings[at];
        if (setting.Source >= 1 && setting.Source <= 4) {
            order.OfSource[setting.Source - 1].push_back(at);
            order.OfPerson[setting.Source - 1].emplace_back(setting.EmpNbr, at);
        } else {
            order.Others.push_back(at);
        }
    }
    // The settings come employee by employee as a rule, and the pairs in
    // order already.
    for (auto& people : order.OfPerson)
        if (!std::is_sorted(people.begin(), people.end())) std::sort(people.begin(), people.end());
    return order;
}

// The first setting from From on that the transaction's filter may pass:
// one of another source, or one of sources 1 to 4 whose person is not known
// yet or is the setting's own employee. Settings.size() when none is left.
std::size_t NextSetting(const AlertSettingOrder& Order, const AlertTransaction& Alert,
                        std::uint32_t From) {
    std::size_t next = Order.Count;
    auto first = [&](const std::vector<std::uint32_t>& Positions) {
        const auto found = std::lower_bound(Positions.begin(), Positions.end(), From);
        if (found != Positions.end()) next = std::min<std::size_t>(next, *found);
    };
    first(Order.Others);
    for (std::uint8_t source = 1; source <= 4; ++source) {
        const std::int32_t known = KnownPerson(Alert, source);
        if (known == 0) {
            first(Order.OfSource[source - 1]);
            continue;
        }
        const auto& people = Order.OfPerson[source - 1];
        const auto found = std::lower_bound(people.begin(), people.end(), std::pair(known, From));
        if (found != people.end() && found->first == known)
            next = std::min<std::size_t>(next, found->second);
    }
    return next;
}

void ProcessSetting(AlertContext& Context, AlertTransaction& Alert, const AlertSetting& Setting) {
    // The owner lists belong to the setting that filled them: a setting
    // that passed the filter but not the condition must not hand its jobs
    // to the next one.
    Alert.JobList.clear();
    Alert.WoList.clear();
    if (!CheckAlertSettingFilter(Context, Alert, Setting) ||
        !CheckAlertCondition(Context, Alert, Setting))
        return;
    Alert.RecipientNbr = Setting.EmpNbr;
    Alert.Priority = static_cast<std::int8_t>(Setting.Priority);
    Alert.SourceType = Setting.Source;
    Alert.EmailCode = Setting.EmailFrequency;
    CreateAlert(Context, Alert);
}

} // namespace

void ProcessAlertTransaction(AlertContext& Context, AlertTransaction& Alert) {
    const std::vector<AlertSetting>& settings = GetAlertSettings(Context, Alert.AlertNbr);
    if (Alert.AlertNbr == 29) {
        // A deleted job's filter takes its manager from the transaction
        // anew for every setting: none is passed over.
        for (const AlertSetting& setting : settings)
            ProcessSetting(Context, Alert, setting);
    } else {
        // Most settings of an alert id are other people's: once the person
        // is known, theirs fail the filter without asking it (which would
        // give the same answer and change nothing), and are not visited.
        const AlertSettingOrder& order = SettingOrder(Context, Alert.AlertNbr, settings);
        for (std::size_t at = NextSetting(order, Alert, 0); at < settings.size();
             at = NextSetting(order, Alert, static_cast<std::uint32_t>(at + 1)))
            ProcessSetting(Context, Alert, settings[at]);
    }
    Alert.JobList.clear();
    Alert.WoList.clear();
}

bool CheckAlertSettingFilter(AlertContext& Context, AlertTransaction& Alert,
                             const AlertSetting& Setting) {
    const std::uint8_t source = Setting.Source;

    if (Alert.AlertNbr == 29) {
        // The job is deleted and cannot be looked up: its manager came along
        // in the transaction.
        int manager = 0;
        Alert.JobManager = !Alert.Arg3.empty() && TryStrToInt(Alert.Arg3, manager) ? manager : -99;
    }
    if (Alert.AlertNbr == 69) Alert.InvTypeNbr = StrToInt(Alert.Arg3);

    switch (source) {
    case 1:
    case 7:
        LookUpJobManager(Context, Alert, Setting);
        return IsSourceId(Alert.JobManager, Setting);
    case 2:
    case 8:
        LookUpWoEmployee(Context, Alert, Setting);
        return IsSourceId(Alert.WoEmployee, Setting);
    case 3:
    case 9:
        if (Alert.PoEmployee == 0) LookUpOrderPeople(Context, Alert, Setting);
        return IsSourceId(Alert.PoEmployee, Setting);
    case 4:
        if (Alert.PoRequester == 0) LookUpOrderPeople(Context, Alert, Setting);
        return Alert.PoRequester == Setting.EmpNbr;
    case 5:
        return OrderJobsOfEmployee(Context, Alert, Setting);
    case 6:
        return OrderWorkOrdersOfEmployee(Context, Alert, Setting);
    case 11:
        if (Alert.EmpDeptNbr == 0) {
            if (Alert.EmpNbr == 0) MissingKey("Employee without record info", Alert, Setting);
            Alert.EmpDeptNbr =
                FieldIntOr(Context.Shop.SelectEmployee(Alert.EmpNbr), "DeptNbr", -99);
        }
        return IsSourceId(Alert.EmpDeptNbr, Setting);
    case 13:
        if (Alert.InvTypeNbr == -1) {
            if (Alert.InvNbr == 0) MissingKey("Inventory without record info", Alert, Setting);
            Alert.InvTypeNbr =
                FieldIntOr(Context.Shop.SelectInventoryItem(Alert.InvNbr), "InvTypeNbr", -99);
        }
        return IsSourceId(Alert.InvTypeNbr, Setting);
    case 16:
        if (Alert.JobDispNbr == -1) {
            if (Alert.JobNbr == 0) MissingKey("Job without record info", Alert, Setting);
            Alert.JobDispNbr = FieldInt(Context.Shop.SelectJob(Alert.JobNbr), "DispNbr");
        }
        return Alert.JobDispNbr > 0;
    case 10:
    case 12:
    case 14:
    case 15:
        return true;
    default:
        return false;
    }
}
