#pragma once
// Turning a transaction that passed its setting's filter and condition into
// stored alerts, and the fan-out of a purchase-order alert to the jobs or
// work orders of the order that belong to the recipient.
#include "alert/AlertContext.h"

// Writes one alert history row for Alert (or, when its job or work-order list
// is filled, one per listed owner): applies the recipient's forwarding,
// composes the text, inserts the row. The host hears of the alert when the
// unit of work around it commits, or at once when there is none.
void CreateAlert(AlertContext& Context, AlertTransaction& Alert);

// One alert per job (source type 5) or work order (source type 6) of the
// transaction's lists, which it empties. Every alert starts from the
// setting's own recipient, and the keys it rewrites are put back afterwards.
void CreateOwnerAlerts(AlertContext& Context, AlertTransaction& Alert);

// For the order date alerts addressed to a job's manager (source 5) or a work
// order's employee (source 6): fills the job or work-order list with the
// order's (ids 31, 32) or order item's (ids 77, 78) jobs or work orders that
// belong to the setting's employee. Raises when there is none.
void FindPoOwner(AlertContext& Context, AlertTransaction& Alert, const AlertSetting& Setting);
