// Alert settings with their sources and values, the recipients of an alert
// id, and the markers that tell the batch its cached settings are stale.
#include "alert/store/MainDmod.h"

#include "platform/data/Query.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FloatFormat.h"
#include "platform/rtl/Format.h"

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

void TMainDmod::LoadAlertSettings(int AlertId, std::vector<AlertSetting>& Result) {
    OpenStatement(*CommonSql3,
                  Format("Select ALS.EmpNbr from ALERT_SETTING ALS left outer join "
                         "ALERT_USER_DEFAULTS ALD on ALS.EmpNbr = ALD.EmpNbr left outer join "
                         "USER_LOGON UL on ALS.EmpNbr = UL.DORN_USER where ALS.AlertId = %d AND "
                         "ALD.HaltAlertGeneration != 1 AND UL.DORN_ALERTS > 0 ",
                         AlertId));
    for (CommonSql3->First(); !CommonSql3->Eof(); CommonSql3->Next()) {
        AlertSetting setting;
        LoadAlertSetting(AlertId, CommonSql3->FieldByName("EmpNbr")->AsInteger(), setting);
        Result.push_back(std::move(setting));
    }
}

void TMainDmod::GetAlertSettingMarkers(int& Identity, int& Count) {
    OpenStatement(*CommonSql, "Select get_identity('ALERT_SETTING', 0) ");
    Identity = CommonSql->Fields()[0]->AsInteger();
    OpenStatement(*CommonSql, "Select count(AlertSettingNbr) From ALERT_SETTING ");
    Count = CommonSql->Fields()[0]->AsInteger();
}
