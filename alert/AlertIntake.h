#pragma once
// The pending alert transactions the shop product wrote: each is read into an
// AlertTransaction, its missing parent keys are completed, it is processed
// against the settings of its alert id and deleted.
#include "alert/AlertContext.h"

// Processes and deletes every pending transaction. A transaction's alerts and
// its deletion are committed together. One whose processing fails is rolled
// back and left in its table for the next batch, the failure goes to the
// host's log with the transaction's token, and the scan goes on with the
// next one.
void ScanAlertTransactions(AlertContext& Context);
