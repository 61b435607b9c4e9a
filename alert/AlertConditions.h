#pragma once
// The condition of an alert id, checked for a setting that passed its filter.
// Threshold alerts compare a live figure with the setting's values and fire
// only for a value the figure had not crossed at the last snapshot of the
// same record, so each crossing is reported once; they leave the figure in
// Alert.ValueText. Date-driven ids are the daily run's and give false here;
// ids without a condition give true.
#include "alert/AlertContext.h"

bool CheckAlertCondition(AlertContext& Context, AlertTransaction& Alert,
                         const AlertSetting& Setting);
