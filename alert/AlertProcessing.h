#pragma once
// One alert transaction against the settings of its alert id: the settings
// cache, the filter that decides whether the event concerns a setting's
// employee, and the processing that creates an alert for every setting whose
// filter and condition hold.
#include "alert/AlertContext.h"

// Empties the settings cache when the settings table's identity or row count
// differs from what the last batch saw, and keeps the new markers.
void CheckAlertSettingMarkers(AlertContext& Context);

// The settings of the alert id as the cache holds them, loaded on a miss.
// They stay valid until the cache is emptied (the next batch's marker check).
const std::vector<AlertSetting>& GetAlertSettings(AlertContext& Context, int AlertId);

void ProcessAlertTransaction(AlertContext& Context, AlertTransaction& Alert);

// True when the event concerns the setting's employee. Looks the related
// records up at most once per transaction (the results stay on Alert). For
// source types 1 to 6 the setting's own employee stands for its source ids;
// the setting itself is never changed. Raises when a lookup needs a key the
// transaction does not carry.
bool CheckAlertSettingFilter(AlertContext& Context, AlertTransaction& Alert,
                             const AlertSetting& Setting);
