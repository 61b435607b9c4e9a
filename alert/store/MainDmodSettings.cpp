// Alert settings with their sources and values, the recipients of an alert
// id, and the markers that tell the batch its cached settings are stale.
#include "alert/store/MainDmod.h"

#include "platform/data/Query.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Format.h"

#include <algorithm>
#include <map>
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

} // namespace

void TMainDmod::LoadAlertSettings(int AlertId, std::vector<AlertSetting>& Result) {
    // The recipients are the employees with a setting of the alert id whose
    // alerts are not halted and whose logon receives alerts, once per
    // setting and receiving logon they have. Joined in SQL this costs a
    // temporary index (USER_LOGON has none on DORN_USER) and a sort on every
    // load; instead one read gives the employees not halted (kind 0) and the
    // receiving logons (kind 1), and the settings read below joins them.
    // DORN_USER matches an employee number only as an integer, as the join's
    // comparison would.
    SetStatementText(*CommonSql3,
                     "Select 0, EmpNbr from ALERT_USER_DEFAULTS where HaltAlertGeneration != 1 "
                     "union all Select 1, DORN_USER from USER_LOGON where DORN_ALERTS > 0 and "
                     "typeof(DORN_USER) = 'integer' ");
    CommonSql3->Open();
    // Both sorted: an employee's receiving logons are a range.
    std::vector<int> notHalted, receiving;
    {
        TField* kind = CommonSql3->Fields()[0];
        TField* empNbr = CommonSql3->Fields()[1];
        for (; !CommonSql3->Eof(); CommonSql3->Next())
            (kind->AsInteger() == 0 ? notHalted : receiving).push_back(empNbr->AsInteger());
    }
    if (notHalted.empty() || receiving.empty()) return;
    std::sort(notHalted.begin(), notHalted.end());
    std::sort(receiving.begin(), receiving.end());
    const auto logonsOf = [&](int EmpNbr) -> int {
        if (!std::binary_search(notHalted.begin(), notHalted.end(), EmpNbr)) return 0;
        const auto logons = std::equal_range(receiving.begin(), receiving.end(), EmpNbr);
        return static_cast<int>(logons.second - logons.first);
    };

    // Every setting of the alert id; an employee's first setting (the
    // lowest number) is the one that counts. The map puts them in order, so
    // the read needs no sort.
    SetStatementText(*CommonSql2, "Select AlertSettingNbr, EmpNbr, EmailFrequency, Priority, "
                                  "Source from ALERT_SETTING where AlertId = :AlertId ");
    CommonSql2->Params()[0]->SetAsInteger(AlertId);
    CommonSql2->Open();
    std::map<int, SettingRows> settings; // by setting number
    {
        TField* number = CommonSql2->Fields()[0];
        TField* employee = CommonSql2->Fields()[1];
        TField* frequency = CommonSql2->Fields()[2];
        TField* priority = CommonSql2->Fields()[3];
        TField* source = CommonSql2->Fields()[4];
        for (; !CommonSql2->Eof(); CommonSql2->Next()) {
            const int settingNbr = number->AsInteger();
            auto [entry, added] = settings.try_emplace(settingNbr);
            if (!added) continue;
            AlertSetting& setting = entry->second.Setting;
            setting.AlertSettingNbr = settingNbr;
            setting.AlertId = AlertId;
            setting.EmpNbr = employee->AsInteger();
            setting.EmailFrequency = static_cast<std::uint8_t>(frequency->AsInteger());
            setting.Priority = static_cast<std::uint8_t>(priority->AsInteger());
            setting.Source = static_cast<std::uint8_t>(source->AsInteger());
            // A setting without an employee reaches nobody.
            entry->second.HasEmployee = !employee->IsNull();
        }
    }
    // Per employee: the first setting's number and how many there are.
    std::map<int, std::pair<int, int>> ofEmployee;
    for (const auto& [settingNbr, rows] : settings)
        if (rows.HasEmployee)
            ++ofEmployee.try_emplace(rows.Setting.EmpNbr, settingNbr, 0).first->second.second;

    // Their sources, each setting's in the order of the rows; the index on
    // the setting number gives them in that order.
    SetStatementText(*CommonSql2,
                     "Select AlertSettingNbr, EmpNbr, DeptNbr, InvTypeNbr from "
                     "ALERT_SETTING_SOURCE where AlertSettingNbr in (Select AlertSettingNbr from "
                     "ALERT_SETTING where AlertId = :AlertId) order by AlertSettingNbr, rowid ");
    CommonSql2->Params()[0]->SetAsInteger(AlertId);
    CommonSql2->Open();
    {
        TField* number = CommonSql2->Fields()[0];
        TField* const sourceIds[] = {CommonSql2->Fields()[1], CommonSql2->Fields()[2],
                                     CommonSql2->Fields()[3]};
        for (; !CommonSql2->Eof(); CommonSql2->Next()) {
            const auto entry = settings.find(number->AsInteger());
            if (entry == settings.end()) continue;
            for (TField* id : sourceIds)
                if (!id->IsNull()) {
                    entry->second.Setting.SourceIds.push_back(id->AsInteger());
                    break;
                }
        }
    }

    // Every value of those settings, in one read, in each setting's order.
    SetStatementText(*CommonSql2,
                     "Select ALERT_VALUE.AlertSettingNbr, ALERT_SUB_VALUE.* from ALERT_SUB_VALUE "
                     "left outer join ALERT_VALUE on ALERT_SUB_VALUE.AlertValueNbr = "
                     "ALERT_VALUE.AlertValueNbr where ALERT_VALUE.AlertSettingNbr in (Select "
                     "AlertSettingNbr from ALERT_SETTING where AlertId = :AlertId) order by "
                     "ALERT_VALUE.AlertSettingNbr, ALERT_VALUE.AlertValueNbr, Sequence, "
                     "ALERT_SUB_VALUE.rowid ");
    CommonSql2->Params()[0]->SetAsInteger(AlertId);
    CommonSql2->Open();
    {
        TField* number = CommonSql2->Fields()[0];
        TField* sequence = CommonSql2->FieldByName("Sequence");
        for (; !CommonSql2->Eof(); CommonSql2->Next()) {
            const auto entry = settings.find(number->AsInteger());
            if (entry == settings.end()) continue;
            AlertSettingValue value;
            value.Sequence = sequence->AsInteger();
            const bool set = ReadAlertValue(*CommonSql2, value);
            entry->second.Values.emplace_back(set, std::move(value));
        }
    }

    // Each recipient as often as it has settings of the alert id times
    // receiving logons, in the order of the employee numbers. Value groups
    // are made when a setting is first handed out, so that the settings
    // before one with a NULL value are in Result when it raises.
    for (const auto& [empNbr, first] : ofEmployee) {
        const int times = first.second * logonsOf(empNbr);
        if (times == 0) continue;
        SettingRows& rows = settings.at(first.first);
        AlertSetting& setting = rows.Setting;
        {
            // A row with Sequence 0 closes the group before it and opens the next.
            AlertValueGroup group;
            for (auto& [set, value] : rows.Values) {
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

void TMainDmod::GetAlertSettingMarkers(int& Identity, int& Count) {
    OpenStatement(*CommonSql, "Select get_identity('ALERT_SETTING', 0) ");
    Identity = CommonSql->Fields()[0]->AsInteger();
    OpenStatement(*CommonSql, "Select count(AlertSettingNbr) From ALERT_SETTING ");
    Count = CommonSql->Fields()[0]->AsInteger();
}
