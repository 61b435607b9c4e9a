#include "alert/DateAlerts.h"

#include "alert/AlertCatalogue.h"
#include "alert/AlertCreation.h"
#include "alert/AlertProcessing.h"
#include "alert/FieldReading.h"
#include "alert/LogText.h"
#include "alert/store/MainDmod.h"
#include "platform/data/Query.h"
#include "platform/data/SqlDateText.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Format.h"

#include <cmath>
#include <map>
#include <optional>

namespace {

// A setting the daily run cannot check; it is skipped, not the run.
RTL_DECLARE_EXCEPTION(EDateAlertSkipped, Exception);

const char* const WorkOrderStatement =
    "Select WO.* From WO, JOBS Where WO.JobNbr = JOBS.JobNbr AND WO.ActualFinDt IS NULL AND "
    "WO.PercentComp != 100 AND WO.GenerateAlerts = 1 AND JOBS.JobStatusNbr != 0 ";
const char* const ActionItemStatement =
    "Select AI.* From ACTION_ITEM AI, JOBS Where AI.JobNbr = JOBS.JobNbr AND AI.FinishDt IS NULL "
    "AND JOBS.GenerateAlerts = 1 AND JOBS.JobStatusNbr != 0 ";
const char* const RfiStatement =
    "Select RFI.* From RFI, JOBS Where RFI.DornJobNbr = JOBS.JobNbr AND RFI.ReceivedDt IS NULL "
    "AND JOBS.GenerateAlerts = 1 AND JOBS.JobStatusNbr != 0 ";
const char* const OrderStatement =
    "Select PO.* From PURCHASE_ORDER PO Where PO.GenerateAlerts = 1 AND PO.PoStatusNbr != 4 AND "
    "PO.PoStatusNbr != 5 ";
const char* const OrderItemStatement =
    "Select PI.*, PO.PoStatusNbr From PO_ITEM PI Left Outer Join PURCHASE_ORDER PO on PI.PoNbr "
    "= PO.PoNbr Where PO.GenerateAlerts = 1 AND PO.PoStatusNbr != 4 AND PO.PoStatusNbr != 5 ";

// The hours of each employee with clock rows in the period, as "TotalHrs".
const char* const HoursStatement =
    "select distinct T1.EmpNbr, E.DeptNbr, ( SELECT ( IFNULL(sum(IFNULL(T2.RegTime,0)),0) + "
    "IFNULL(sum(IFNULL(T2.Ot1Time,0)),0) + IFNULL(sum(IFNULL(T2.Ot2Time,0)),0) ) / 60.0 as "
    "'TotalHrs' from TIMECLOCK T2 where T2.WorkDt %s and T2.EmpNbr = T1.EmpNbr ) as 'TotalHrs' "
    "from TIMECLOCK T1 left outer join EMPLOYEE E on E.EmpNbr = T1.EmpNbr where %s T1.WorkDt %s ";

bool IsOrderId(int AlertId) {
    return AlertId == 31 || AlertId == 32;
}

// The clause each source id adds to the filter; nullptr when the source type
// takes no filter.
const char* ClauseFormat(std::uint8_t Source) {
    switch (Source) {
    case 1:
    case 5:
    case 7:
        return "%s JOBS.ProjManagerId = %d";
    case 2:
    case 6:
    case 8:
        return "%s WO.EmpNbr = %d";
    case 3:
    case 9:
        return "%s PO.EmpNbr = %d";
    case 4:
        return "%s PO.ReqByEmpNbr = %d";
    case 11:
        return "%s DeptNbr = %d";
    case 13:
        return "%s InvTypeNbr = %d";
    case 17:
        return "%s AI.AssignedTo = %d";
    case 18:
        return "%s UL.DORN_USER = %d";
    case 19:
        return "%s EmpNbr = %d";
    default:
        return nullptr;
    }
}

AnsiString FilterText(const AlertSetting& Setting) {
    const char* clause = ClauseFormat(Setting.Source);
    if (!clause) return AnsiString();
    if (Setting.SourceIds.empty())
        throw EDateAlertSkipped(
            Format("Date alert setting (%d) for Alert Id (%d) with source type %d has no source "
                   "ids: skipped.",
                   Setting.AlertSettingNbr, Setting.AlertId, static_cast<int>(Setting.Source)));
    AnsiString text;
    for (const std::int32_t id : Setting.SourceIds)
        text += Format(clause, text.empty() ? "(" : " OR", id);
    text += Setting.Source == 11 ? ") AND " : ")";
    return text;
}

[[noreturn]] void NoStatement(const AlertSetting& Setting) {
    throw EDateAlertSkipped(Format(
        "Only handling for WO / PO / Inv source types implemented for date-generated alerts. "
        "Setting (%d), Alert Id (%d), source type %d: skipped.",
        Setting.AlertSettingNbr, Setting.AlertId, static_cast<int>(Setting.Source)));
}

AnsiString HoursStatementText(const AnsiString& Filter, const AnsiString& Period) {
    return Format(HoursStatement, Period, Filter, Period);
}

// The days from the batch start to Date, rounded up: 2.3 days ahead is 3,
// 1.7 days ago is -1.
AnsiString DaysText(TDateTime Date, TDateTime Start) {
    return FloatToStr(std::ceil(static_cast<double>(Date) - static_cast<double>(Start)));
}

AnsiString WorkOrderStatusText(int Status) {
    static const std::map<int, const char*> names = {
        {0, "Pending"},   {1, "Engineering"}, {2, "Purchasing"},   {3, "Ready"},    {4, "Released"},
        {5, "Completed"}, {6, "Shipped"},     {7, "Installation"}, {8, "Invoiced"}, {9, "Paid"},
    };
    const auto found = names.find(Status);
    return found == names.end() ? AnsiString() : AnsiString(found->second);
}

std::optional<double> GroupValue(const AlertValueGroup& Group, std::size_t Index) {
    if (Group.size() <= Index) return std::nullopt;
    return Group[Index].Value.AsDouble();
}

// The test of one row against one value group; when it passes it has set the
// row's texts on Alert.
class RowCheck {
public:
    RowCheck(const TDataSet& Row, TDateTime Start) : FRow(Row), FStart(Start) {}

    // Date column due within Days of the batch start (past dates included).
    bool Due(const char* Column, double Days) const {
        return !FieldIsNull(FRow, Column) &&
               static_cast<double>(FRow.FieldByName(Column)->AsDateTime()) <=
                   static_cast<double>(FStart) + Days;
    }
    AnsiString Days(const char* Column) const {
        return DaysText(FRow.FieldByName(Column)->AsDateTime(), FStart);
    }
    int Int(const char* Column) const { return FieldInt(FRow, Column); }
    bool Null(const char* Column) const { return FieldIsNull(FRow, Column); }

private:
    const TDataSet& FRow;
    TDateTime FStart;
};

bool CheckWorkOrderRow(int AlertId, const RowCheck& Row, const AlertValueGroup& Group,
                       AlertTransaction& Alert) {
    const auto v = GroupValue(Group, 0);
    const auto w = GroupValue(Group, 1);
    if (!v || (AlertId != 16 && !w)) return false;
    const int limit = w ? static_cast<int>(Group[1].Value.AsInteger()) : 0;
    switch (AlertId) {
    case 13:
    case 14:
    case 15: {
        const char* date = AlertId == 13 ? "SchedStartDt" : AlertId == 14 ? "SchedFinDt" : "ShipDt";
        if (!Row.Due(date, *v) || !(Row.Int("WorkOrdStatusNbr") < limit)) return false;
        Alert.Arg1 = Row.Days(date);
        Alert.Arg2 = WorkOrderStatusText(Row.Int("WorkOrdStatusNbr"));
        return true;
    }
    case 16:
        if (!Row.Due("SchedFinDt", *v) || !Row.Null("ActualStartDt")) return false;
        Alert.Arg1 = Row.Days("SchedFinDt");
        return true;
    default: {
        // 17, 18: by the finish date; 19, 20: by the ship date, and only
        // while the work order has not gone past Completed.
        const bool byShipDate = AlertId == 19 || AlertId == 20;
        const char* date = byShipDate ? "ShipDt" : "SchedFinDt";
        const char* figure = AlertId == 17 || AlertId == 19 ? "PercentComp" : "PercentBudget";
        if (!Row.Due(date, *v) || Row.Null(figure) || !(Row.Int(figure) < limit)) return false;
        if (byShipDate && Row.Int("WorkOrdStatusNbr") > 5) return false;
        Alert.Arg1 = Row.Days(date);
        Alert.ValueText = IntToStr(Row.Int(figure));
        return true;
    }
    }
}

void CheckRows(AlertContext& Context, AlertSetting& Setting, TQuery& Rows) {
    const int id = Setting.AlertId;
    const bool known = (id >= 13 && id <= 20) || id == 31 || id == 32 || id == 73 || id == 77 ||
                       id == 78 || id == 81 || id == 82 || id == 86 || id == 87 || id == 88;
    if (!known) throw Exception(Format("Unknown date alert encountered: (%d)", id));

    const TDateTime start = Context.Host.BatchStartTime();
    const RowCheck row(Rows, start);
    for (Rows.First(); !Rows.Eof(); Rows.Next()) {
        AlertTransaction alert;
        alert.AlertNbr = id;
        alert.EmpNbrGeneratedTrans = 0;
        alert.RecipientNbr = Setting.EmpNbr;
        alert.EventTimeStamp = Now();
        alert.Priority = static_cast<std::int8_t>(Setting.Priority);
        alert.EmailCode = Setting.EmailFrequency;

        // Keys and texts that belong to the row whatever the groups say.
        const char* dateColumn = nullptr;
        if (id <= 20) {
            alert.JobNbr = row.Int("JobNbr");
            alert.JobItemNbr = row.Int("JobItemNbr");
            alert.WoNbr = row.Int("WoNbr");
        } else if (IsOrderId(id)) {
            alert.PoNbr = row.Int("PoNbr");
            dateColumn = "ReqByDt";
        } else if (id == 77 || id == 78) {
            alert.PoNbr = row.Int("PoNbr");
            alert.PoItemNbr = row.Int("PoItemNbr");
            alert.Arg2 = FieldText(Rows, "Descr");
            dateColumn = "ReqByDt";
        } else if (id == 73) {
            alert.InvNbr = row.Int("InvNbr");
        } else if (id == 81) {
            alert.JobNbr = row.Int("JobNbr");
            alert.ActionItemNbr = row.Int("ActionItemNbr");
            alert.Arg2 = FieldText(Rows, "Descr");
            dateColumn = "NeedByDt";
        } else if (id == 82) {
            alert.JobNbr = row.Int("DornJobNbr");
            alert.RFINbr = row.Int("RFINbr");
            alert.Arg2 = IntToStr(alert.RFINbr) + " - " + FieldText(Rows, "Descr");
            dateColumn = "RequiredByDt";
        } else if (id == 86) {
            alert.QuoteNbr = row.Int("QuoteNbr");
            alert.Arg2 = IntToStr(alert.QuoteNbr) + " - " + FieldText(Rows, "Descr");
            dateColumn = "NeedPricesByDt";
        } else {
            alert.EmpNbr = row.Int("EmpNbr");
        }

        bool passed = false;
        if (id == 73) {
            // Once per row, whatever the groups.
            if (!row.Null("ReorderPoint")) {
                const double available =
                    (FieldFloat(Rows, "QtyOnOrder") - FieldFloat(Rows, "QtyOnOrderReserved")) +
                    (FieldFloat(Rows, "QtyOnHand") - FieldFloat(Rows, "QtyOnHandReserved"));
                const double reorderPoint = FieldFloat(Rows, "ReorderPoint");
                if (available <= reorderPoint) {
                    alert.Arg1 = FloatToStr(available);
                    alert.Arg2 = FloatToStr(reorderPoint);
                    passed = true;
                }
            }
        } else if ((id == 81 || id == 82 || id == 86) && row.Null(dateColumn)) {
            passed = false;
        } else {
            for (const AlertValueGroup& group : Setting.ValueGroups) {
                const auto v = GroupValue(group, 0);
                if (!v) continue;
                if (id <= 20) {
                    passed = CheckWorkOrderRow(id, row, group, alert);
                } else if (id == 87 || id == 88) {
                    if (!row.Null("TotalHrs")) {
                        const double hours = FieldFloat(Rows, "TotalHrs");
                        if (hours > 0 && *v > hours) {
                            alert.Arg1 = FloatToStrF(hours, ffFixed, 11, 2);
                            alert.ValueText = FloatToStr(*v);
                            passed = true;
                        }
                    }
                } else if (id == 81 || id == 82 || id == 86) {
                    if (row.Due(dateColumn, *v)) {
                        alert.Arg1 = row.Days(dateColumn);
                        passed = true;
                    }
                } else {
                    // Orders and order items: open (1) or back-ordered (2).
                    const int status = id == 31 || id == 77 ? 1 : 2;
                    if (row.Due(dateColumn, *v) && !row.Null("PoStatusNbr") &&
                        row.Int("PoStatusNbr") == status) {
                        alert.Arg1 = row.Days(dateColumn);
                        passed = true;
                    }
                }
                if (passed) break;
            }
        }
        if (!passed) continue;
        if ((id == 31 || id == 32 || id == 77 || id == 78) &&
            (Setting.Source == 5 || Setting.Source == 6))
            FindPoOwner(Context, alert, Setting);
        CreateAlert(Context, alert);
    }
}

// The hours checks: the work date is today from 15:00, yesterday before.
// Returns false when there is nothing to check (a weekly check on a day that
// is not the last of the week).
bool OpenHoursStatement(AlertContext& Context, const AlertSetting& Setting) {
    TQuery& query = *Context.Main.CommonSql3;
    const TDateTime now = Now();
    const double today = std::floor(static_cast<double>(now));
    const double timeOfDay = static_cast<double>(now) - today;
    const AnsiString workDate = SqlDateText(TDateTime(timeOfDay >= 0.625 ? today : today - 1));
    const AnsiString filter = FilterText(Setting);

    if (Setting.AlertId == 87) {
        OpenStatement(query, HoursStatementText(filter, Format("= '%s'", workDate)));
        return true;
    }
    if (Setting.AlertId != 88)
        throw EDateAlertSkipped(Format("Unhandled alert encountered. Setting (%d), Alert Id (%d): "
                                       "skipped.",
                                       Setting.AlertSettingNbr, Setting.AlertId));
    const AnsiString first = WeekFirstDayExpression(workDate);
    const AnsiString last = WeekLastDayExpression(workDate);
    OpenStatement(query, Format("select CASE WHEN '%s' = (%s) THEN 1 ELSE 0 END as 'AtEndOfWeek' ",
                                workDate, last));
    if (query.Fields()[0]->AsInteger() == 0) return false;
    OpenStatement(query, HoursStatementText(filter, Format("between %s and %s", first, last)));
    return true;
}

// The day of the week the way the shop server numbers it: Monday 1 to
// Sunday 7 (SQLite's own count starts at Sunday 0).
AnsiString WeekDayNumber(const AnsiString& IsoDate) {
    return Format("(((CAST(strftime('%%w', %s) AS INTEGER) + 6) %% 7) + 1)", IsoDate);
}

} // namespace

AnsiString WeekFirstDayExpression(const AnsiString& WorkDate) {
    // The Sunday on or before the work date, moved by the options' first
    // day of the week; a start after the work date belongs to the week before.
    const AnsiString iso = Format("replace('%s','/','-')", WorkDate);
    const AnsiString weekDay = WeekDayNumber(iso);
    const AnsiString first =
        Format("(julianday(%s) - (CASE WHEN %s = 7 THEN 0 ELSE %s END) + (select FirstDayOfWeek "
               "- 1 from DORNWICK_OPTIONS))",
               iso, weekDay, weekDay);
    return Format("replace(date(CASE WHEN %s > julianday(%s) THEN %s - 7 ELSE %s END),'-','/')",
                  first, iso, first, first);
}

AnsiString WeekLastDayExpression(const AnsiString& WorkDate) {
    const AnsiString iso = Format("replace('%s','/','-')", WorkDate);
    const AnsiString weekDay = WeekDayNumber(iso);
    const AnsiString last =
        Format("(julianday(%s) - (CASE WHEN %s = 7 THEN 0 ELSE %s END) + (select LastDayOfWeek "
               "- 1 from DORNWICK_OPTIONS))",
               iso, weekDay, weekDay);
    return Format("replace(date(CASE WHEN %s < julianday(%s) THEN %s + 7 ELSE %s END),'-','/')",
                  last, iso, last, last);
}

AnsiString DateAlertStatement(const AlertSetting& Setting) {
    const int id = Setting.AlertId;
    const std::uint8_t source = Setting.Source;
    switch (source) {
    case 1:
    case 7:
        return AnsiString(id == 81   ? ActionItemStatement
                          : id == 82 ? RfiStatement
                                     : WorkOrderStatement) +
               "AND " + FilterText(Setting) + " ";
    case 2:
    case 8:
        return AnsiString(WorkOrderStatement) + "AND " + FilterText(Setting) + " ";
    case 3:
    case 4:
    case 9:
        return AnsiString(IsOrderId(id) ? OrderStatement : OrderItemStatement) + "AND " +
               FilterText(Setting) + " ";
    case 5:
        if (IsOrderId(id))
            return AnsiString(OrderStatement) +
                   "AND PO.POnbr in (Select distinct PI.PoNbr From PO_ITEM_JOB PIJ Left Outer Join "
                   "PO_ITEM PI on PIJ.PoItemNbr = PI.PoItemNbr Left Outer Join JOB_ITEM JI on "
                   "PIJ.JobItemNbr = JI.JobItemNbr Left Outer Join JOBS on JI.JobNbr = JOBS.JobNbr "
                   "Where " +
                   FilterText(Setting) + " )";
        return AnsiString(OrderItemStatement) +
               "AND PI.PoItemNbr in (Select distinct PIJ.PoItemNbr From PO_ITEM_JOB PIJ Left Outer "
               "Join JOB_ITEM JI on PIJ.JobItemNbr = JI.JobItemNbr Left Outer Join JOBS on "
               "JI.JobNbr = JOBS.JobNbr Where " +
               FilterText(Setting) + " )";
    case 6:
        if (IsOrderId(id))
            return AnsiString(OrderStatement) +
                   "AND PO.POnbr in (Select distinct PI.PoNbr From PO_ITEM_JOB PIJ Left Outer Join "
                   "PO_ITEM PI on PIJ.PoItemNbr = PI.PoItemNbr Left Outer Join WO on PIJ.WoNbr = "
                   "WO.WoNbr Where " +
                   FilterText(Setting) + " )";
        return AnsiString(OrderItemStatement) +
               "AND PI.PoItemNbr in (Select distinct PIJ.PoItemNbr From PO_ITEM_JOB PIJ Left Outer "
               "Join WO on PIJ.WoNbr = WO.WoNbr Where " +
               FilterText(Setting) + " )";
    case 12:
        return "Select * From INVENTORY_ITEM ";
    case 13:
        return "Select * From INVENTORY_ITEM Where " + FilterText(Setting) + " ";
    case 14:
        return id == 81 ? ActionItemStatement : id == 82 ? RfiStatement : WorkOrderStatement;
    case 15:
        return IsOrderId(id) ? OrderStatement : OrderItemStatement;
    case 17:
        return AnsiString(ActionItemStatement) + "AND " + FilterText(Setting) + " ";
    case 18:
        return "Select RFI.* From RFI, JOBS, USER_LOGON UL Where RFI.DornJobNbr = JOBS.JobNbr AND "
               "RFI.CreatedByNbr = UL.ContactNbr AND RFI.ReceivedDt IS NULL AND "
               "JOBS.GenerateAlerts = 1 AND JOBS.JobStatusNbr != 0 AND " +
               FilterText(Setting) + " ";
    case 19:
        return "Select * From QUOTE_REQUEST Where " + FilterText(Setting) + " ";
    default:
        NoStatement(Setting);
    }
}

void RunDateAlerts(AlertContext& Context) {
    for (const AlertDefinition& definition : GetScheduledAlertDefinitions())
        for (AlertSetting setting : GetAlertSettings(Context, definition.AlertId))
            ScanDateAlerts(Context, setting);
}

void ScanDateAlerts(AlertContext& Context, AlertSetting& Setting) {
    const std::uint8_t source = Setting.Source;
    if ((source >= 1 && source <= 6) || (source >= 17 && source <= 19))
        Setting.SourceIds.assign(1, Setting.EmpNbr);
    try {
        TQuery& query = *Context.Main.CommonSql3;
        if (source == 10 || source == 11) {
            if (!OpenHoursStatement(Context, Setting)) return;
        } else {
            OpenStatement(query, DateAlertStatement(Setting));
        }
        AlertUnitOfWork work(Context);
        CheckRows(Context, Setting, query);
        work.Commit();
    } catch (const EDateAlertSkipped& skipped) {
        Context.Host.LogLine(EscapedLogText(skipped.Message));
    }
}
