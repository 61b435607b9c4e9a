// Alert settings with their sources and values, the recipients of an alert
// id, and the markers that tell the batch its cached settings are stale.
#include "alert/store/MainDmod.h"

#include "platform/data/Query.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Format.h"

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

namespace {

// The first non-NULL of the five value columns, and which one it was.
bool ReadAlertValue(TDataSet& Row, AlertSettingValue& Value) {
    struct Column {
        const char* Name;
        AlertValueKind Kind;
    };
    static constexpr Column columns[] = {
        {"IntValue", AlertValueKind::IntValue},
        {"RealValue", AlertValueKind::RealValue},
        {"StringValue", AlertValueKind::StringValue},
        {"JobStatusNbr", AlertValueKind::JobStatusNbr},
        {"WoStatusNbr", AlertValueKind::WoStatusNbr},
    };
    for (const Column& column : columns) {
        TField* field = Row.FieldByName(column.Name);
        if (field->IsNull()) continue;
        Value.Kind = column.Kind;
        if (column.Kind == AlertValueKind::RealValue)
            Value.Value = field->AsFloat();
        else if (column.Kind == AlertValueKind::StringValue)
            Value.Value = field->AsString();
        else
            Value.Value = field->AsInteger();
        return true;
    }
    return false;
}

} // namespace

bool TMainDmod::LoadAlertSetting(int AlertId, int EmpNbr, AlertSetting& Setting) {
    OpenStatement(
        *CommonSql,
        Format("Select * from ALERT_SETTING where AlertId = %d and EmpNbr = %d", AlertId, EmpNbr));
    CommonSql->First();
    if (CommonSql->Eof()) return false;

    // Built apart and handed over whole: a failure part-way leaves the
    // caller's record as it was, and loading a record twice does not pile
    // up its sources and values.
    AlertSetting loaded;
    loaded.AlertSettingNbr = CommonSql->FieldByName("AlertSettingNbr")->AsInteger();
    loaded.AlertId = AlertId;
    loaded.EmpNbr = EmpNbr;
    loaded.EmailFrequency =
        static_cast<std::uint8_t>(CommonSql->FieldByName("EmailFrequency")->AsInteger());
    loaded.Priority = static_cast<std::uint8_t>(CommonSql->FieldByName("Priority")->AsInteger());
    loaded.Source = static_cast<std::uint8_t>(CommonSql->FieldByName("Source")->AsInteger());

    OpenStatement(*CommonSql2,
                  Format("Select * from ALERT_SETTING_SOURCE where AlertSettingNbr = %d ",
                         loaded.AlertSettingNbr));
    for (CommonSql2->First(); !CommonSql2->Eof(); CommonSql2->Next()) {
        for (const char* column : {"EmpNbr", "DeptNbr", "InvTypeNbr"}) {
            TField* field = CommonSql2->FieldByName(column);
            if (!field->IsNull()) {
                loaded.SourceIds.push_back(field->AsInteger());
                break;
            }
        }
    }

    OpenStatement(
        *CommonSql2,
        Format("Select ALERT_SUB_VALUE.*, ALERT_VALUE.* from ALERT_SUB_VALUE left outer "
               "join ALERT_VALUE on   ALERT_SUB_VALUE.AlertValueNbr = "
               "ALERT_VALUE.AlertValueNbr where ALERT_VALUE.AlertSettingNbr = %d order by "
               "ALERT_VALUE.AlertValueNbr, Sequence ",
               loaded.AlertSettingNbr));
    CommonSql2->First();
    if (!CommonSql2->Eof()) {
        // A row with Sequence 0 closes the group before it and opens the next.
        AlertValueGroup group;
        for (; !CommonSql2->Eof(); CommonSql2->Next()) {
            AlertSettingValue value;
            value.Sequence = CommonSql2->FieldByName("Sequence")->AsInteger();
            if (value.Sequence == 0 && !group.empty()) {
                loaded.ValueGroups.push_back(std::move(group));
                group.clear();
            }
            if (!ReadAlertValue(*CommonSql2, value))
                throw Exception(
                    Format("Null Alert Value encountered (setting: %d)", loaded.AlertSettingNbr));
            group.push_back(std::move(value));
        }
        loaded.ValueGroups.push_back(std::move(group));
    }

    Setting = std::move(loaded);
    return true;
}

namespace {

// One setting of the alert id as the joined reads give it: its own columns
// and sources, and its value rows, each NULL-checked only when the setting
// is handed out.
struct SettingRows {
    AlertSetting Setting;
    // (Sequence, value) per value row in order; false where every value
    // column was NULL.
    std::vector<std::pair<bool, AlertSettingValue>> Values;
    bool HasEmployee = false;
};

// The first non-NULL of the five value columns from First on (IntValue,
// RealValue, StringValue, JobStatusNbr, WoStatusNbr), and which one it was.
bool ReadAlertValue(const TRowReader& Row, int First, AlertSettingValue& Value) {
    static constexpr AlertValueKind kinds[] = {
        AlertValueKind::IntValue,     AlertValueKind::RealValue,   AlertValueKind::StringValue,
        AlertValueKind::JobStatusNbr, AlertValueKind::WoStatusNbr,
    };
    for (int k = 0; k < 5; ++k) {
        const int column = First + k;
        if (Row.IsNull(column)) continue;
        Value.Kind = kinds[k];
        if (Value.Kind == AlertValueKind::RealValue)
            Value.Value = Row.AsFloat(column);
        else if (Value.Kind == AlertValueKind::StringValue)
            Value.Value = Row.AsString(column);
        else
            Value.Value = Row.AsInteger(column);
        return true;
    }
    return false;
}

} // namespace

void TMainDmod::LoadAlertRecipients(AlertRecipients& Recipients) {
    // Joined in SQL this costs a temporary index (USER_LOGON has none on
    // DORN_USER) and a sort on every load; instead one read gives the
    // employees not halted (kind 0) and the receiving logons (kind 1), and
    // the settings read joins them. DORN_USER matches an employee number only
    // as an integer, as the join's comparison would.
    SetStatementText(*CommonSql3,
                     "Select 0, EmpNbr from ALERT_USER_DEFAULTS where HaltAlertGeneration != 1 "
                     "union all Select 1, DORN_USER from USER_LOGON where DORN_ALERTS > 0 and "
                     "typeof(DORN_USER) = 'integer' ");
    AlertRecipients read;
    CommonSql3->ReadRows([&](const TRowReader& Row) {
        (Row.AsInteger(0) == 0 ? read.NotHalted : read.Receiving).push_back(Row.AsInteger(1));
    });
    // Both sorted: an employee's receiving logons are a range.
    std::sort(read.NotHalted.begin(), read.NotHalted.end());
    std::sort(read.Receiving.begin(), read.Receiving.end());
    Recipients = std::move(read);
}

void TMainDmod::LoadAlertSettings(int AlertId, std::vector<AlertSetting>& Result) {
    AlertRecipients recipients;
    LoadAlertRecipients(recipients);
    LoadAlertSettings(AlertId, recipients, Result);
}

namespace {

// The settings as the joined reads give them, sorted by setting number.
class SettingTable {
public:
    void Reserve(std::size_t Count) { FRows.reserve(Count); }
    SettingRows& Add() { return FRows.emplace_back(); }
    void Sort() {
        const auto byNumber = [](const SettingRows& A, const SettingRows& B) {
            return A.Setting.AlertSettingNbr < B.Setting.AlertSettingNbr;
        };
        // The table's rows come in key order already, as a rule: checking
        // costs a fraction of sorting them again.
        if (!std::is_sorted(FRows.begin(), FRows.end(), byNumber))
            std::sort(FRows.begin(), FRows.end(), byNumber);
    }
    SettingRows* Find(int SettingNbr) {
        const auto at = std::lower_bound(
            FRows.begin(), FRows.end(), SettingNbr,
            [](const SettingRows& Rows, int Nbr) { return Rows.Setting.AlertSettingNbr < Nbr; });
        return at != FRows.end() && at->Setting.AlertSettingNbr == SettingNbr ? &*at : nullptr;
    }
    std::vector<SettingRows>& Rows() { return FRows; }

private:
    std::vector<SettingRows> FRows;
};

// The sources and the values of the settings in Table, read with
// Condition (an alert id's settings, or all) on Query.
void ReadSourcesAndValues(TQuery& Query, const AnsiString& Condition, int AlertId,
                          SettingTable& Table) {
    // Each setting's sources in the order of the rows; the index on the
    // setting number gives them in that order.
    SetStatementText(Query, "Select AlertSettingNbr, EmpNbr, DeptNbr, InvTypeNbr from "
                            "ALERT_SETTING_SOURCE " +
                                (Condition.empty() ? AnsiString()
                                                   : "where AlertSettingNbr in (Select "
                                                     "AlertSettingNbr from ALERT_SETTING where " +
                                                         Condition + ") ") +
                                "order by AlertSettingNbr, rowid ");
    if (!Condition.empty()) Query.Params()[0]->SetAsInteger(AlertId);
    Query.ReadRows([&](const TRowReader& Row) {
        SettingRows* rows = Table.Find(Row.AsInteger(0));
        if (!rows) return;
        for (int id = 1; id <= 3; ++id)
            if (!Row.IsNull(id)) {
                rows->Setting.SourceIds.push_back(Row.AsInteger(id));
                break;
            }
    });

    // Every value of those settings, in one read, in each setting's order.
    SetStatementText(Query,
                     "Select ALERT_VALUE.AlertSettingNbr, ALERT_SUB_VALUE.Sequence, "
                     "ALERT_SUB_VALUE.IntValue, ALERT_SUB_VALUE.RealValue, "
                     "ALERT_SUB_VALUE.StringValue, ALERT_SUB_VALUE.JobStatusNbr, "
                     "ALERT_SUB_VALUE.WoStatusNbr from ALERT_SUB_VALUE left outer join ALERT_VALUE "
                     "on ALERT_SUB_VALUE.AlertValueNbr = ALERT_VALUE.AlertValueNbr where "
                     "ALERT_VALUE.AlertSettingNbr " +
                         (Condition.empty() ? AnsiString("is not null ")
                                            : "in (Select AlertSettingNbr from ALERT_SETTING "
                                              "where " +
                                                  Condition + ") ") +
                         "order by ALERT_VALUE.AlertSettingNbr, ALERT_VALUE.AlertValueNbr, "
                         "ALERT_SUB_VALUE.Sequence, ALERT_SUB_VALUE.rowid ");
    if (!Condition.empty()) Query.Params()[0]->SetAsInteger(AlertId);
    Query.ReadRows([&](const TRowReader& Row) {
        SettingRows* rows = Table.Find(Row.AsInteger(0));
        if (!rows) return;
        AlertSettingValue value;
        value.Sequence = Row.AsInteger(1);
        const bool set = ReadAlertValue(Row, 2, value);
        rows->Values.emplace_back(set, std::move(value));
    });
}

// Moves At on to the first number not below Value: a step at a time while
// it is near, by halving the rest when it is far.
void SkipBelow(std::vector<std::int32_t>::const_iterator& At,
               std::vector<std::int32_t>::const_iterator End, std::int32_t Value) {
    if (End - At > 8 && At[8] < Value) At = std::lower_bound(At + 8, End, Value);
    while (At != End && *At < Value)
        ++At;
}

// Appends one setting per recipient of the alert id whose settings (in
// number order) are Settings: the employees with a setting whose alerts are
// not halted and whose logon receives alerts, once per setting and receiving
// logon they have, in the order of the employee numbers; an employee's first
// setting (the lowest number) is the one that counts.
void HandOutSettings(std::vector<SettingRows*>& Settings, const AlertRecipients& Recipients,
                     std::vector<AlertSetting>& Result) {
    const std::vector<std::int32_t>& notHalted = Recipients.NotHalted;
    const std::vector<std::int32_t>& receiving = Recipients.Receiving;
    if (notHalted.empty() || receiving.empty()) return;

    // Per employee: the first setting and how many there are.
    struct EmployeeSettings {
        std::int32_t EmpNbr;
        SettingRows* First;
        int Count;
    };
    std::vector<EmployeeSettings> ofEmployee;
    ofEmployee.reserve(Settings.size());
    for (SettingRows* rows : Settings)
        if (rows->HasEmployee) ofEmployee.push_back({rows->Setting.EmpNbr, rows, 1});
    // Stable: each employee's settings stay in number order. Settings made
    // employee by employee come in that order already.
    const auto byEmployee = [](const EmployeeSettings& A, const EmployeeSettings& B) {
        return A.EmpNbr < B.EmpNbr;
    };
    if (!std::is_sorted(ofEmployee.begin(), ofEmployee.end(), byEmployee))
        std::stable_sort(ofEmployee.begin(), ofEmployee.end(), byEmployee);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < ofEmployee.size(); ++i) {
        if (kept > 0 && ofEmployee[kept - 1].EmpNbr == ofEmployee[i].EmpNbr)
            ++ofEmployee[kept - 1].Count;
        else
            ofEmployee[kept++] = ofEmployee[i];
    }
    ofEmployee.resize(kept);

    // The employees come in ascending order, as both lists are: each list is
    // walked once, from one employee's place on to the next one's.
    auto notHaltedAt = notHalted.begin();
    auto receivingAt = receiving.begin();
    const auto logonsOf = [&](int EmpNbr) -> int {
        SkipBelow(notHaltedAt, notHalted.end(), EmpNbr);
        if (notHaltedAt == notHalted.end() || *notHaltedAt != EmpNbr) return 0;
        SkipBelow(receivingAt, receiving.end(), EmpNbr);
        int logons = 0;
        for (auto at = receivingAt; at != receiving.end() && *at == EmpNbr; ++at)
            ++logons;
        return logons;
    };

    // Value groups are made when a setting is first handed out, so that the
    // settings before one with a NULL value are in Result when it raises.
    Result.reserve(Result.size() + ofEmployee.size());
    for (const EmployeeSettings& employee : ofEmployee) {
        const int times = employee.Count * logonsOf(employee.EmpNbr);
        if (times == 0) continue;
        // Each setting is handed out once: its row is not read again.
        SettingRows& rows = *employee.First;
        AlertSetting setting = std::move(rows.Setting);
        {
            // A row with Sequence 0 closes the group before it and opens the next.
            AlertValueGroup group;
            for (const auto& [set, value] : rows.Values) {
                if (value.Sequence == 0 && !group.empty()) {
                    setting.ValueGroups.push_back(std::move(group));
                    group.clear();
                }
                if (!set)
                    throw Exception(Format("Null Alert Value encountered (setting: %d)",
                                           setting.AlertSettingNbr));
                group.push_back(value);
            }
            if (!group.empty()) setting.ValueGroups.push_back(std::move(group));
        }
        for (int copy = 1; copy < times; ++copy)
            Result.push_back(setting);
        Result.push_back(std::move(setting));
    }
}

// EmpNbr, EmailFrequency, Priority and Source of a setting, from column
// First on.
void ReadRecipientColumns(const TRowReader& Row, int First, SettingRows& Rows) {
    AlertSetting& setting = Rows.Setting;
    const std::optional<int> employee = Row.AsOptionalInteger(First);
    setting.EmpNbr = employee.value_or(0);
    setting.EmailFrequency = static_cast<std::uint8_t>(Row.AsInteger(First + 1));
    setting.Priority = static_cast<std::uint8_t>(Row.AsInteger(First + 2));
    setting.Source = static_cast<std::uint8_t>(Row.AsInteger(First + 3));
    // A setting without an employee reaches nobody.
    Rows.HasEmployee = employee.has_value();
}

} // namespace

void TMainDmod::LoadAlertSettings(int AlertId, const AlertRecipients& Recipients,
                                  std::vector<AlertSetting>& Result) {
    if (Recipients.NotHalted.empty() || Recipients.Receiving.empty()) return;
    SetStatementText(*CommonSql2, "Select AlertSettingNbr, EmpNbr, EmailFrequency, Priority, "
                                  "Source from ALERT_SETTING where AlertId = :AlertId ");
    CommonSql2->Params()[0]->SetAsInteger(AlertId);
    SettingTable table;
    CommonSql2->ReadRows([&](const TRowReader& Row) {
        SettingRows& rows = table.Add();
        AlertSetting& setting = rows.Setting;
        setting.AlertSettingNbr = Row.AsInteger(0);
        setting.AlertId = AlertId;
        ReadRecipientColumns(Row, 1, rows);
    });
    table.Sort();
    ReadSourcesAndValues(*CommonSql2, "AlertId = :AlertId", AlertId, table);
    std::vector<SettingRows*> settings;
    for (SettingRows& rows : table.Rows())
        settings.push_back(&rows);
    HandOutSettings(settings, Recipients, Result);
}

void TMainDmod::LoadAllAlertSettings(const AlertRecipients& Recipients,
                                     std::map<std::int32_t, std::vector<AlertSetting>>& Result) {
    SettingTable table;
    table.Reserve(CountRows(*CommonSql2, "ALERT_SETTING"));
    // A setting without an alert id belongs to none.
    SetStatementText(*CommonSql2, "Select AlertSettingNbr, AlertId, EmpNbr, EmailFrequency, "
                                  "Priority, Source from ALERT_SETTING where AlertId is not null ");
    CommonSql2->ReadRows([&](const TRowReader& Row) {
        SettingRows& rows = table.Add();
        AlertSetting& setting = rows.Setting;
        setting.AlertSettingNbr = Row.AsInteger(0);
        setting.AlertId = Row.AsInteger(1);
        ReadRecipientColumns(Row, 2, rows);
    });
    table.Sort();
    ReadSourcesAndValues(*CommonSql2, AnsiString(), 0, table);

    std::map<std::int32_t, std::vector<SettingRows*>> byAlert;
    for (SettingRows& rows : table.Rows())
        byAlert[rows.Setting.AlertId].push_back(&rows);
    for (auto& [alertId, settings] : byAlert) {
        std::vector<AlertSetting> list;
        try {
            HandOutSettings(settings, Recipients, list);
        } catch (const Exception&) {
            // Left out: loaded on its own, it raises where it is asked for.
            continue;
        }
        Result[alertId] = std::move(list);
    }
}

void TMainDmod::GetAlertSettingMarkers(int& Identity, int& Count) {
    OpenStatement(*CommonSql, "Select get_identity('ALERT_SETTING', 0) ");
    Identity = CommonSql->Fields()[0]->AsInteger();
    // The setting number is the row's key and never NULL: counting the rows
    // gives the same count, taken from the pages' cell counts instead of row by row.
    OpenStatement(*CommonSql, "Select count(*) From ALERT_SETTING ");
    Count = CommonSql->Fields()[0]->AsInteger();
}
