#pragma once
// What the alert engine needs of the program that runs it (the main window):
// the alert-settings cache with its markers, the start time of the batch,
// the place where generated alerts are counted and shown, and the results
// log. The engine knows nothing else of the window.
#include "alert/store/AlertSetting.h"
#include "alert/store/AlertTransaction.h"
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/TDateTime.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <utility>
#include <vector>

// Where one alert id's settings stand in its list, by source: a transaction
// whose filter has found the job manager (or work-order employee, order
// employee, requester) goes straight to that person's settings of the
// source instead of walking everyone's.
struct AlertSettingOrder {
    std::size_t Count = 0;
    // Settings of the other sources, ascending.
    std::vector<std::uint32_t> Others;
    // For sources 1 to 4: every setting of the source, ascending, and the
    // same as (employee, position) pairs in ascending order.
    std::array<std::vector<std::uint32_t>, 4> OfSource;
    std::array<std::vector<std::pair<std::int32_t, std::uint32_t>>, 4> OfPerson;
};

// Settings per alert id, as the main data module returned them. An alert id
// without settings maps to an empty list once it has been asked for. The
// markers are the settings table's identity and row count seen by the last
// batch: a change of either empties the cache.
struct AlertSettingsCache {
    std::map<std::int32_t, std::vector<AlertSetting>> Settings;
    // Who receives alerts as the settings were loaded for: the lists hold
    // only recipients, so a change here empties the cache as well.
    std::optional<AlertRecipients> Recipients;
    // Every alert id's settings were loaded in one go since the cache was
    // last emptied; an alert id missing from Settings is loaded on its own.
    bool AllLoaded = false;
    // Made from Settings on an alert id's first transaction; emptied with it.
    std::map<std::int32_t, AlertSettingOrder> Orders;
    std::int32_t IdentityMarker = 0;
    std::int32_t CountMarker = 0;
};

class IAlertHost {
public:
    virtual ~IAlertHost() = default;

    virtual AlertSettingsCache& SettingsCache() = 0;
    // The moment the current batch began: the reference of the date checks.
    virtual TDateTime BatchStartTime() const = 0;
    // One alert history row was written and committed: count it (and show it
    // in the debug grid when that is on).
    virtual void AlertGenerated(const AlertTransaction& Alert) = 0;
    // A line for the results log; the host adds the time stamp and ": ".
    virtual void LogLine(const AnsiString& Text) = 0;
};
