#include "alert/AlertConditions.h"

#include "alert/FieldReading.h"
#include "alert/store/MainDmod.h"
#include "platform/data/Query.h"
#include "platform/rtl/FloatFormat.h"

#include <functional>
#include <optional>

namespace {

// The first value of a group as a number; nothing for an empty group.
std::optional<double> FirstValue(const AlertValueGroup& Group) {
    if (Group.empty()) return std::nullopt;
    return Group[0].Value.AsDouble();
}
std::optional<int> FirstValueAsInteger(const AlertValueGroup& Group) {
    if (Group.empty()) return std::nullopt;
    return Group[0].Value.AsInteger();
}

AnsiString FigureText(double Figure) {
    return FloatToStrF(Figure, ffFixed, 11, 2);
}

enum class Record { Job, JobItem, WorkOrder };

TDataSet& LiveRow(AlertContext& Context, const AlertTransaction& Alert, Record Kind) {
    switch (Kind) {
    case Record::Job:
        return Context.Shop.SelectJob(Alert.JobNbr);
    case Record::JobItem:
        return Context.Shop.SelectJobItem(Alert.JobItemNbr);
    case Record::WorkOrder:
        break;
    }
    return Context.Shop.SelectWorkOrder(Alert.WoNbr);
}

TDataSet& SnapshotRow(AlertContext& Context, const AlertTransaction& Alert, Record Kind) {
    TMainDmod& main = Context.Main;
    switch (Kind) {
    case Record::Job:
        main.SelectJobThreshold(Alert.JobNbr);
        break;
    case Record::JobItem:
        main.SelectJobItemThreshold(Alert.JobItemNbr);
        break;
    case Record::WorkOrder:
        main.SelectWoThreshold(Alert.WoNbr);
        break;
    }
    return *main.CommonSql;
}

// The snapshot's own figure for ids 1-12, and whether the snapshot lets every
// crossing through (its divisor is 0).
struct SnapshotFigure {
    bool FiresAtOnce = false;
    double Figure = 0.0;
};

SnapshotFigure RatioOf(const TDataSet& Row, const char* Part, const char* Whole, double Scale) {
    const double whole = FieldFloat(Row, Whole);
    if (whole == 0) return {true, 0.0};
    return {false, Scale * FieldFloat(Row, Part) / whole};
}

// Ids 1-12: the figure of the live job, job item or work order against the
// snapshot of the same record.
bool CheckRecordThreshold(AlertContext& Context, AlertTransaction& Alert,
                          const AlertSetting& Setting) {
    const int id = Alert.AlertNbr;
    const Record kind = id % 3 == 1   ? Record::Job
                        : id % 3 == 2 ? Record::JobItem
                                      : Record::WorkOrder;
    const int measure = (id - 1) / 3; // 0 budget, 1 material, 2 hours, 3 labour cost

    TDataSet& live = LiveRow(Context, Alert, kind);
    double figure = 0.0;
    switch (measure) {
    case 0: {
        const int budget = FieldInt(live, "PercentBudget");
        const int complete = FieldInt(live, "PercentComp");
        if (complete == 0) return false;
        figure = (static_cast<double>(budget) - complete) * 100 / complete;
        break;
    }
    case 1: {
        const double estimate = FieldFloat(live, "EstMatCost");
        if (estimate == 0) return false;
        double actual = FieldFloat(live, "ActMatCost") + FieldFloat(live, "ActPoCost");
        if (kind != Record::WorkOrder) actual += FieldFloat(live, "ActFinInvMatCost");
        figure = 100 * actual / estimate;
        break;
    }
    case 2: {
        const double estimate = FieldFloat(live, "EstLaborHrs") + FieldFloat(live, "EstSetupHrs");
        if (estimate == 0) return false;
        figure =
            100 * (FieldFloat(live, "ActLaborHrs") + FieldFloat(live, "ActSetupHrs")) / estimate;
        break;
    }
    default: {
        const double estimate = FieldFloat(live, "EstLaborCost") + FieldFloat(live, "EstSetupCost");
        if (estimate == 0) return false;
        double actual = FieldFloat(live, "ActLaborCost") + FieldFloat(live, "ActSetupCost");
        if (kind != Record::WorkOrder) actual += FieldFloat(live, "ActFinInvLabCost");
        figure = 100 * actual / estimate;
        break;
    }
    }

    TDataSet& snapshot = SnapshotRow(Context, Alert, kind);
    const bool noSnapshot = snapshot.Eof();
    SnapshotFigure before;
    if (!noSnapshot) {
        switch (measure) {
        case 0: {
            const int complete = FieldInt(snapshot, "PercentComp");
            before = complete == 0
                         ? SnapshotFigure{true, 0.0}
                         : SnapshotFigure{
                               false, (static_cast<double>(FieldInt(snapshot, "PercentBudget")) -
                                       complete) *
                                          100 / complete};
            break;
        }
        case 1:
            before = RatioOf(snapshot, "MaterialCost", "EstMatCost", 100);
            break;
        case 2:
            before = RatioOf(snapshot, "LaborHours", "EstLaborHours", 100);
            break;
        default:
            before = RatioOf(snapshot, "LaborCost", "EstLaborCost", 100);
            break;
        }
    }

    for (const AlertValueGroup& group : Setting.ValueGroups) {
        const auto v = FirstValue(group);
        if (!v || !(*v < figure)) continue;
        if (noSnapshot || before.FiresAtOnce || *v >= before.Figure) {
            Alert.ValueText = FigureText(figure);
            return true;
        }
    }
    return false;
}

// Ids 23, 25 and 64: the snapshot is read again for each value group that
// reaches it. SnapshotTest answers whether that group fires.
bool WalkGroups(const AlertSetting& Setting, const std::function<bool(double)>& CrossedNow,
                const std::function<bool(double)>& SnapshotTest) {
    for (const AlertValueGroup& group : Setting.ValueGroups) {
        const auto v = FirstValue(group);
        if (!v || !CrossedNow(*v)) continue;
        if (SnapshotTest(*v)) return true;
    }
    return false;
}

bool CheckDepartmentBudget(AlertContext& Context, AlertTransaction& Alert,
                           const AlertSetting& Setting) {
    TDataSet* estimate = Context.Shop.SelectDeptEstimate(Alert.WoNbr, Alert.DeptNbr);
    if (!estimate || FieldIsNull(*estimate, "PercentBudget")) return false;
    const int figure = FieldInt(*estimate, "PercentBudget");
    for (const AlertValueGroup& group : Setting.ValueGroups) {
        const auto v = FirstValueAsInteger(group);
        if (!v || !(*v < figure)) continue;
        Context.Main.SelectWoDeptThreshold(Alert.WoNbr, Alert.DeptNbr);
        const TDataSet& snapshot = *Context.Main.CommonSql;
        if (snapshot.Eof() || FieldIsNull(snapshot, "PercentBudget") ||
            *v >= FieldInt(snapshot, "PercentBudget")) {
            Alert.ValueText = FigureText(figure);
            return true;
        }
    }
    return false;
}

bool CheckProductBuilt(AlertContext& Context, AlertTransaction& Alert,
                       const AlertSetting& Setting) {
    TDataSet& product = Context.Shop.SelectWoProduct(Alert.WoProductNbr);
    if (FieldIsNull(product, "ScanQty") || FieldIsNull(product, "MakeQty")) return false;
    const int make = FieldInt(product, "MakeQty");
    if (make == 0) return false;
    const double figure = 100.0 * FieldInt(product, "ScanQty") / make;
    const bool fires = WalkGroups(
        Setting, [&](double v) { return v <= figure; },
        [&](double v) {
            Context.Main.SelectProductThreshold(Alert.WoProductNbr);
            const TDataSet& snapshot = *Context.Main.CommonSql;
            if (snapshot.Eof() || FieldIsNull(snapshot, "ScanQty") ||
                FieldIsNull(snapshot, "MakeQty") || FieldInt(snapshot, "MakeQty") == 0)
                return true;
            return v > 100.0 * FieldInt(snapshot, "ScanQty") / FieldInt(snapshot, "MakeQty");
        });
    if (fires) Alert.ValueText = FigureText(figure);
    return fires;
}

bool CheckBillingMargin(AlertContext& Context, AlertTransaction& Alert,
                        const AlertSetting& Setting) {
    IShopLookups& shop = Context.Shop;
    const int billing = shop.GetLastProgressBillingNbr(Alert.JobNbr);
    if (billing == -99) return false;
    const double billed = shop.GetProgressBillingStoredTotal(billing, Alert.JobNbr) +
                          shop.GetJobInvoicedTotal(Alert.JobNbr);
    TDataSet& job = shop.SelectJob(Alert.JobNbr);
    double cost = 0.0;
    for (const char* column :
         {"ActLaborCost", "ActSetupCost", "ActSubCost", "ActMatCost", "ActPoCost",
          "ActFinInvMatCost", "OverheadAmt", "MatOverheadAmt", "ActFreightCost", "ActMiscCost",
          "ActTravelCost", "ActFinInvLabCost", "FinInvOverheadAmt", "PoMatOverheadAmt"})
        cost += FieldFloat(job, column);
    if (cost == 0) return false;
    const double margin = (billed - cost) * 100 / cost;
    const bool fires = WalkGroups(
        Setting, [&](double v) { return v > margin; },
        [&](double v) {
            Context.Main.SelectJobThreshold(Alert.JobNbr);
            const TDataSet& snapshot = *Context.Main.CommonSql;
            if (snapshot.Eof()) return true;
            const double costs = FieldFloat(snapshot, "TotalCosts");
            if (costs == 0) return true;
            return v <= (FieldFloat(snapshot, "TotalBilled") - costs) * 100 / costs;
        });
    if (fires) Alert.ValueText = FigureText(margin);
    return fires;
}

bool AnyGroupEquals(const AlertSetting& Setting, int Value) {
    for (const AlertValueGroup& group : Setting.ValueGroups) {
        const auto v = FirstValueAsInteger(group);
        if (v && *v == Value) return true;
    }
    return false;
}

bool CheckJobStatus(AlertContext& Context, const AlertTransaction& Alert,
                    const AlertSetting& Setting) {
    TDataSet& statuses = Context.Shop.OpenJobStatusList();
    for (statuses.First(); !statuses.Eof(); statuses.Next())
        if (FieldText(statuses, "JobStatus") == Alert.Arg2)
            return AnyGroupEquals(Setting, FieldInt(statuses, "JobStatusNbr"));
    return false;
}

bool CheckHoursOver(AlertTransaction& Alert, const AlertSetting& Setting) {
    const double hours = StrToFloat(Alert.Arg1);
    for (const AlertValueGroup& group : Setting.ValueGroups) {
        const auto v = FirstValue(group);
        if (v && *v < hours) {
            Alert.ValueText = FloatToStr(*v);
            return true;
        }
    }
    return false;
}

bool CheckStatusChange(const AlertTransaction& Alert, const AlertSetting& Setting) {
    const int from = StrToInt(Alert.Arg4);
    const int to = StrToInt(Alert.Arg2);
    for (const AlertValueGroup& group : Setting.ValueGroups) {
        // A group needs both statuses; one with a single value never matches.
        if (group.size() < 2) continue;
        if (group[0].Value.AsInteger() == from && group[1].Value.AsInteger() == to) return true;
    }
    return false;
}

} // namespace

bool CheckAlertCondition(AlertContext& Context, AlertTransaction& Alert,
                         const AlertSetting& Setting) {
    const int id = Alert.AlertNbr;
    if (id >= 1 && id <= 12) return CheckRecordThreshold(Context, Alert, Setting);
    switch (id) {
    case 23:
        return CheckDepartmentBudget(Context, Alert, Setting);
    case 25:
        return CheckProductBuilt(Context, Alert, Setting);
    case 64:
        return CheckBillingMargin(Context, Alert, Setting);
    case 27:
        return CheckJobStatus(Context, Alert, Setting);
    case 49:
    case 50:
        return CheckHoursOver(Alert, Setting);
    case 84:
        return AnyGroupEquals(Setting, StrToInt(Alert.Arg2));
    case 85:
        return CheckStatusChange(Alert, Setting);
    case 13:
    case 14:
    case 15:
    case 16:
    case 17:
    case 18:
    case 19:
    case 20:
    case 31:
    case 32:
    case 73:
    case 77:
    case 78:
    case 81:
    case 82:
    case 86:
    case 87:
    case 88:
        return false;
    default:
        return true;
    }
}
