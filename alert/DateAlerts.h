#pragma once
// The daily run's checks: alerts raised not by a transaction but by the state
// of the shop data on the day (work orders, orders and order items, action
// items, requests for information and quote requests whose dates come near;
// inventory at its reorder point; employees whose hours stay under a limit).
// Every date is measured against the host's batch start time.
#include "alert/AlertContext.h"

// Runs ScanDateAlerts for every setting of every scheduled alert definition.
void RunDateAlerts(AlertContext& Context);

// Selects the candidate rows of one setting and creates an alert for each row
// that passes one of the setting's value groups. The setting's alerts are
// committed together. A setting that cannot be checked (a source type that
// has no statement for date alerts, or no source ids where its statement
// needs them) is skipped with a line in the host's log.
void ScanDateAlerts(AlertContext& Context, AlertSetting& Setting);

// The statement that selects the candidate rows of the setting for its alert
// id (the hours statements excepted), with the filter of its source ids.
// Raises when the pair has no statement or the filter would be empty.
AnsiString DateAlertStatement(const AlertSetting& Setting);

// The week of the work date as the options' first and last day of the week
// define it: SQL expressions giving its first and last day as "yyyy/mm/dd".
AnsiString WeekFirstDayExpression(const AnsiString& WorkDate);
AnsiString WeekLastDayExpression(const AnsiString& WorkDate);
