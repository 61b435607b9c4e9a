#pragma once
// One employee's setting for one alert id: how often the alerts are
// e-mailed, their priority, which sources (employees, departments or
// inventory types, by Source) concern the employee, and the threshold values.
#include "platform/rtl/Variant.h"

#include <cstdint>
#include <vector>

// Which value column of ALERT_SUB_VALUE gave a value.
enum class AlertValueKind : std::uint8_t {
    None = 0,
    IntValue = 1,
    RealValue = 2,
    StringValue = 3,
    WoStatusNbr = 5,
    JobStatusNbr = 6,
};

struct AlertSettingValue {
    Variant Value;
    AlertValueKind Kind = AlertValueKind::None;
    std::int32_t Sequence = 0;
};

// The values under one ALERT_VALUE row, in their Sequence order.
using AlertValueGroup = std::vector<AlertSettingValue>;

struct AlertSetting {
    std::int32_t AlertSettingNbr = 0;
    std::int32_t AlertId = 0;
    std::int32_t EmpNbr = 0; // the recipient
    std::uint8_t EmailFrequency = 0;
    std::uint8_t Priority = 0;
    std::uint8_t Source = 0;
    // One id per source row, in the order the rows come; the filter searches
    // them in this order.
    std::vector<std::int32_t> SourceIds;
    std::vector<AlertValueGroup> ValueGroups;
};

// Who receives alerts: the employees whose alert generation is not halted
// and the employee number of each logon that receives alerts, each sorted
// (an employee with two receiving logons is in Receiving twice).
struct AlertRecipients {
    std::vector<std::int32_t> NotHalted;
    std::vector<std::int32_t> Receiving;
};
